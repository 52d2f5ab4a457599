// The one-line prompt that adds or changes one stock addition phrase: a
// title (template 151, 32 columns) or a content (template 152, 255 columns).
#pragma once

#include "dialogs/DlgModal.h"

class CDlgEditAdditionItem : public CDlgModal {
    DECLARE_DYNAMIC(CDlgEditAdditionItem)

public:
    enum { IDD_TITLE = 151, IDD_CONTENT = 152 };
    explicit CDlgEditAdditionItem(UINT nIDTemplate, CWnd* pParent = nullptr);
    ~CDlgEditAdditionItem() override;

    void SetPhrase(const CString& phrase) { m_strPhrase = phrase; }
    CString GetPhrase() const { return m_strPhrase; }
    void SetEditMode(int bEdit) { m_bEditMode = bEdit; }
    void SetTitle(int bTitle) { m_bTitle = bTitle; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    int Limit() const { return m_bTitle ? 32 : 255; }

    DECLARE_MESSAGE_MAP()

    CString m_strPhrase;
    int m_bEditMode;   // 1 edit an existing phrase, 0 add a new one
    int m_bTitle;      // 1 title, 0 content
};
