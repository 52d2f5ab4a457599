#include "dialogs/DlgEditAdditionItem.h"

#include "dialogs/PromptText.h"
#include "dialogs/TextLengthGuard.h"
#include "platform/ui/windowing/SystemSettings.h"

IMPLEMENT_DYNAMIC(CDlgEditAdditionItem, CDlgModal)

BEGIN_MESSAGE_MAP(CDlgEditAdditionItem, CDlgModal)
    ON_COMMAND(IDOK, OnOK)
END_MESSAGE_MAP()

namespace {
constexpr int kPhrase = 4218;
}  // namespace

CDlgEditAdditionItem::CDlgEditAdditionItem(UINT nIDTemplate, CWnd* pParent)
    : CDlgModal(nIDTemplate, pParent), m_bEditMode(0), m_bTitle(nIDTemplate == IDD_TITLE ? 1 : 0)
{
}

CDlgEditAdditionItem::~CDlgEditAdditionItem() = default;

BOOL CDlgEditAdditionItem::OnInitDialog()
{
    CDlgModal::OnInitDialog();
    SetWindowText(m_bEditMode ? L"定型文の編集" : L"定型文の追加");
    SendDlgItemMessage(kPhrase, EM_LIMITTEXT, Limit());
    SetPromptText(*this, kPhrase, m_strPhrase);
    SetPromptText(*this, IDOK, L"OK");
    SetPromptText(*this, IDCANCEL, L"取消");
    return TRUE;
}

void CDlgEditAdditionItem::OnOK()
{
    CString phrase;
    GetDlgItemText(kPhrase, phrase);
    if (phrase.IsEmpty()) {
        ::MessageBeep(MB_OK);
        return;
    }
    m_strPhrase = phrase;
    EndDialog(IDOK);
}

BOOL CDlgEditAdditionItem::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == kPhrase && HIWORD(wParam) == EN_UPDATE) {
        if (CWnd* edit = GetDlgItem(kPhrase)) GuardTextLength(*edit, Limit());
        return TRUE;
    }
    return CDlgModal::OnCommand(wParam, lParam);
}
