#include "dialogs/DlgPreNext.h"

#include "dialogs/PanelButtons.h"

IMPLEMENT_DYNAMIC(CDlgPreNext, CDlgCtrl)

namespace {
const int kButtons[2] = {3497, 3498};
}  // namespace

CDlgPreNext::CDlgPreNext(CWnd* pParent) : CDlgCtrl(IDD, pParent) {}

CDlgPreNext::~CDlgPreNext() = default;

BOOL CDlgPreNext::OnInitDialog()
{
    CDlgCtrl::OnInitDialog();
    ColourPanelButtons(*this, m_pDoc, m_btn, kButtons, 2);
    return TRUE;
}
