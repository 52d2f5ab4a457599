#include "dialogs/DlgEditCommentItem.h"

#include "core/Globals.h"
#include "dialogs/PromptText.h"
#include "dialogs/TextLengthGuard.h"
#include "platform/ui/windowing/SystemSettings.h"

IMPLEMENT_DYNAMIC(CDlgEditCommentItem, CDlgModal)

BEGIN_MESSAGE_MAP(CDlgEditCommentItem, CDlgModal)
    ON_COMMAND(IDOK, OnOK)
END_MESSAGE_MAP()

namespace {
constexpr int kPhrase = 3770;
constexpr int kLimit = 60;
}  // namespace

CDlgEditCommentItem::CDlgEditCommentItem(CWnd* pParent) : CDlgModal(IDD, pParent), m_bAdd(0)
{
}

CDlgEditCommentItem::~CDlgEditCommentItem() = default;

BOOL CDlgEditCommentItem::OnInitDialog()
{
    CDlgModal::OnInitDialog();
    SetWindowText(m_bAdd ? L"定型文の追加" : L"定型文の編集");
    SendDlgItemMessage(kPhrase, EM_LIMITTEXT, kLimit);
    SetPromptText(*this, kPhrase, m_strPhrase);
    SetPromptText(*this, IDOK, L"OK");
    SetPromptText(*this, IDCANCEL, L"取消");
    return TRUE;
}

void CDlgEditCommentItem::OnOK()
{
    CString phrase;
    GetDlgItemText(kPhrase, phrase);
    phrase.Trim();
    if (phrase.IsEmpty()) {
        ::MessageBeep(MB_OK);
        return;
    }
    m_strPhrase = phrase;
    EndDialog(IDOK);
}

BOOL CDlgEditCommentItem::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == kPhrase && HIWORD(wParam) == EN_UPDATE) {
        if (CWnd* edit = GetDlgItem(kPhrase)) GuardTextLength(*edit, kLimit);
        return TRUE;
    }
    return CDlgModal::OnCommand(wParam, lParam);
}
