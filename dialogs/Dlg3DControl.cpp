#include "dialogs/Dlg3DControl.h"

#include "dialogs/PanelButtons.h"
#include "resources/ButtonIconIds.h"

IMPLEMENT_DYNAMIC(CDlg3DControl, CDlgCtrl)

namespace {
const int kButtons[6] = {4184, 4186, 4182, 4183, 4185, 4189};
const int kIcons[6] = {IDI_BUTTON_TURN_LEFT, IDI_BUTTON_TURN_RIGHT, IDI_BUTTON_TILT_UP,
                       IDI_BUTTON_TILT_DOWN, IDI_BUTTON_STOP,      IDI_BUTTON_SWING};
}  // namespace

CDlg3DControl::CDlg3DControl(CWnd* pParent) : CDlgCtrl(IDD, pParent) {}

CDlg3DControl::~CDlg3DControl() = default;

BOOL CDlg3DControl::OnInitDialog()
{
    CDlgCtrl::OnInitDialog();
    ColourPanelButtons(*this, m_pDoc, m_btn, kButtons, 6, kIcons);
    return TRUE;
}
