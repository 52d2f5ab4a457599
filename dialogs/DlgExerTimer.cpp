#include "dialogs/DlgExerTimer.h"

#include "dialogs/PanelButtons.h"
#include "resources/ButtonIconIds.h"

IMPLEMENT_DYNAMIC(CDlgExerTimer, CDlgCtrl)

namespace {
const int kButtons[3] = {4174, 4175, 4177};
const int kIcons[3] = {IDI_BUTTON_PLAY_BACKWARD, IDI_BUTTON_STOP, IDI_BUTTON_PLAY_FORWARD};
}  // namespace

CDlgExerTimer::CDlgExerTimer(CWnd* pParent) : CDlgCtrl(IDD, pParent) {}

CDlgExerTimer::~CDlgExerTimer() = default;

BOOL CDlgExerTimer::OnInitDialog()
{
    CDlgCtrl::OnInitDialog();
    ColourPanelButtons(*this, m_pDoc, m_btn, kButtons, 3, kIcons);
    return TRUE;
}
