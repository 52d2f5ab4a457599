// The lead selection of the exercise average-beat screen: six of the twelve
// standard leads (template 172), one lead (173) or one of three chest leads
// (174), stored as a bit set in the record XML's display settings.
#pragma once

#include <memory>

#include "dialogs/DlgModal.h"

class CECGXMLParser;
struct _EXERDATAITEM;

class CDlgExerLeadSelection : public CDlgModal {
    DECLARE_DYNAMIC(CDlgExerLeadSelection)

public:
    CDlgExerLeadSelection(UINT nIDTemplate, _EXERDATAITEM* pItem, CWnd* pParent = nullptr);
    ~CDlgExerLeadSelection() override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    DECLARE_MESSAGE_MAP()

private:
    // The form's buttons by bit (0 for a bit the form has none for), its setting and its default.
    struct Form {
        int buttons[12];
        const wchar_t* xpath;
        int defaultValue;
    };
    const Form& GetForm() const;
    bool OpenXml();
    void ShowWarning(const wchar_t* text);

    std::unique_ptr<CECGXMLParser> m_pXml;   // the record XML, opened when first needed
    _EXERDATAITEM* m_pItem;                  // not owned; may be null
    UINT m_nTemplate;                        // 172, 173 or 174
};
