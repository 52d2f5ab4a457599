#include "dialogs/DlgDetailUpdate.h"

#include "dialogs/PanelButtons.h"

IMPLEMENT_DYNAMIC(CDlgDetailUpdate, CDlgCtrl)

namespace {
const int kButtons[2] = {3503, 3504};
}  // namespace

CDlgDetailUpdate::CDlgDetailUpdate(CWnd* pParent) : CDlgCtrl(IDD, pParent) {}

CDlgDetailUpdate::~CDlgDetailUpdate() = default;

BOOL CDlgDetailUpdate::OnInitDialog()
{
    CDlgCtrl::OnInitDialog();
    ColourPanelButtons(*this, m_pDoc, m_btn, kButtons, 2);
    return TRUE;
}
