// The comment phrase editor: the comment of a record in a multi-line box
// beside the stock phrases of its examination kind (Comment.xml); phrases
// are inserted at the caret, and the list is edited and written back on OK.
#pragma once

#include <memory>

#include "dialogs/DlgModal.h"

class CECGXMLParser;

class CDlgEditComment : public CDlgModal {
    DECLARE_DYNAMIC(CDlgEditComment)

public:
    enum { IDD = 138 };
    CDlgEditComment(int nMode, CWnd* pParent = nullptr);
    ~CDlgEditComment() override;

    // The examination kind (_DOC_TYPE) and the current item's system code.
    void SetDoc(int nDocType, UINT uDataKind);
    void SetComment(const CString& text);
    CString GetComment() const { return m_strComment; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

private:
    bool IsShortComment() const;
    // Whether the comment box takes the whole text.
    bool Fits(const CString& text) const;
    // The box's character limit: for the exercise comment its three lines of
    // 60 and the two breaks between them (Fits then holds it to the lines).
    int Limit() const;
    void UpdateButtons();
    void Apply();
    void EditPhrase();
    void AddPhrase();
    void DeletePhrase();
    void MovePhrase(int step);

    int m_nDocType;
    UINT m_uDataKind;
    CString m_strComment;
    CString m_strSection;                    // the kind's section of Comment.xml
    int m_bApplyArmed;
    int m_bBoxFocused;
    int m_bListFocused;
    int m_nMode;                             // the document's Is8000File, handed to the parser
    std::unique_ptr<CECGXMLParser> m_pXml;   // Comment.xml, open while the dialog is
};
