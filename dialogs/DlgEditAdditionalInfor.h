// The addition phrase editor: composes one addition (a title and a content)
// from the stock phrases of Addition.xml, whose two lists it edits and
// writes back on OK.
#pragma once

#include <memory>

#include "dialogs/DlgModal.h"

class CECGXMLParser;

class CDlgEditAdditionalInfor : public CDlgModal {
    DECLARE_DYNAMIC(CDlgEditAdditionalInfor)

public:
    enum { IDD = 150 };
    CDlgEditAdditionalInfor(int nMode, CWnd* pParent = nullptr);
    ~CDlgEditAdditionalInfor() override;

    // Before DoModal: the boxes' starting texts, line breaks removed.
    void SetAdditionText(const CString& title, const CString& content);
    // After IDOK: the boxes' texts, line breaks removed.
    CString GetAdditionTitle() const { return m_strTitle; }
    CString GetAdditionContent() const { return m_strContent; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

private:
    // The controls of one side: the title side (even ids) or the content side.
    struct Side {
        int list, box, apply, edit, remove, add, up, down;
        int limit;       // characters of the box
        UINT itemTemplate;
        const wchar_t* section;
        const wchar_t* defaultPhrase;
    };
    static const Side& TitleSide();
    static const Side& ContentSide();

    void UpdateMoveButtons(const Side& side);
    void Apply(const Side& side);
    void EditPhrase(const Side& side);
    void AddPhrase(const Side& side);
    void DeletePhrase(const Side& side);
    void MovePhrase(const Side& side, int step);
    bool HandleSide(const Side& side, int id, int code);

    std::unique_ptr<CECGXMLParser> m_pXml;   // Addition.xml, open while the dialog is
    CString m_strContent;
    CString m_strTitle;
    int m_bApplyArmed;
    int m_bContentListFocused;
    int m_bTitleListFocused;
    int m_bContentBoxFocused;
    int m_bTitleBoxFocused;
    int m_nMode;                             // the document's Is8000File, handed to the parser
};
