// The one-line prompt that adds or changes one stock comment phrase.
#pragma once

#include "dialogs/DlgModal.h"

class CDlgEditCommentItem : public CDlgModal {
    DECLARE_DYNAMIC(CDlgEditCommentItem)

public:
    enum { IDD = 141 };
    explicit CDlgEditCommentItem(CWnd* pParent = nullptr);
    ~CDlgEditCommentItem() override;

    void SetPhrase(const CString& phrase) { m_strPhrase = phrase; }
    CString GetPhrase() const { return m_strPhrase; }
    void SetAddMode(int bAdd) { m_bAdd = bAdd; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

    CString m_strPhrase;
    int m_bAdd;   // 1 add ("定型文の追加"), 0 edit ("定型文の編集")
};
