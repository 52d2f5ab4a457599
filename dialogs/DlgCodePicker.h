// What the IVREL and Minnesota code pickers share: a group tree filled from
// a master's first-letter section, a code tree filled with the codes of the
// chosen group, and the chosen code returned on OK or a double-click. The
// two pickers differ only in the style they give.
#pragma once

#include <memory>

#include "dialogs/DlgModal.h"
#include "platform/ui/framework/TreeCtrl.h"

class CECGXMLParser;
class CTavrionDoc;

struct _CODE_PICKER_STYLE {
    UINT nTemplate;
    const wchar_t* pszMaster;        // file name in the work directory
    const wchar_t* pszCaption;
    int nLabel;
    const wchar_t* pszLabel;
    int nGroupTree;
    int nCodeTree;
    const wchar_t* pszGroupPath;     // Code elements of the first letters
    const wchar_t* pszCodePath;      // Code elements of the codes
    int nAcronymLabel;
    int nAcronymEdit;
    int nAcronymAdd;
    int nAcronymList;
    bool bAcronymShown;              // shown disabled (IVREL) or hidden (Minnesota)
    bool bIndentLongGroups;          // "  %s- %s" for a group of more than one letter
    bool bGroupByPrefix;             // membership: prefix (IVREL) or the part before the first "-"
    const wchar_t* pszCodeFormat;    // "%5s %s" or "%-5s %s"
    const wchar_t* pszNoCode;        // the message when no code is chosen
};

class CDlgCodePicker : public CDlgModal {
    DECLARE_DYNAMIC(CDlgCodePicker)

public:
    CDlgCodePicker(const _CODE_PICKER_STYLE& style, CWnd* pParent);
    ~CDlgCodePicker() override;

    // Must be called before DoModal; the kind is kept only.
    void SetDoc(CTavrionDoc* pDoc, int nDocType);
    // After IDOK, the chosen code.
    CString GetCode() const { return m_strCode; }

    // Whether a code of the master belongs to the group letters.
    static bool BelongsToGroup(const CString& code, const CString& group, bool byPrefix);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    void FillGroups();
    void FillCodes(const CString& groupItemText);
    bool ChooseCode();   // false when no code is selected (the message was shown)

    DECLARE_MESSAGE_MAP()

    const _CODE_PICKER_STYLE& m_style;
    CTavrionDoc* m_pDoc;                     // not owned
    int m_nDocType;
    std::unique_ptr<CECGXMLParser> m_pXml;   // the master, open while the dialog is
    CString m_strCode;
    CTreeCtrl m_treeGroup;
    CTreeCtrl m_treeCode;
};
