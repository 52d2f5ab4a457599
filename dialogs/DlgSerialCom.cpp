#include "core/UserMessages.h"
#include "dialogs/DlgSerialCom.h"

IMPLEMENT_DYNAMIC(CDlgSerialCom, CDlgCtrl)

namespace {
constexpr int kChooser = 3500;
}  // namespace

BEGIN_MESSAGE_MAP(CDlgSerialCom, CDlgCtrl)
    ON_CBN_CLOSEUP(kChooser, OnCloseUp)
    ON_CBN_SELCHANGE(kChooser, OnSelChange)
END_MESSAGE_MAP()

CDlgSerialCom::CDlgSerialCom(CWnd* pParent) : CDlgCtrl(IDD, pParent) {}

CDlgSerialCom::~CDlgSerialCom() = default;

void CDlgSerialCom::OnCloseUp()
{
    if (CWnd* pane = GetParent()) pane->SendMessage(WM_SERIAL_CHOOSER_SHOWN, static_cast<WPARAM>(m_nIndex), 0);
}

void CDlgSerialCom::OnSelChange()
{
    CWnd* pane = GetParent();
    if (!pane) return;
    const LRESULT selected = SendDlgItemMessage(kChooser, CB_GETCURSEL);
    pane->SendMessage(WM_SERIAL_RECORD_CHOSEN, static_cast<WPARAM>(m_nIndex), selected);
    pane->SendMessage(WM_SERIAL_CHOICE_VALIDATE, 0, 0);
}
