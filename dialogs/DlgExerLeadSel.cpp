#include "dialogs/DlgExerLeadSel.h"

#include "dialogs/PanelButtons.h"

IMPLEMENT_DYNAMIC(CDlgExerLeadSel, CDlgCtrl)

namespace {
const int kButtons[1] = {4191};
}  // namespace

CDlgExerLeadSel::CDlgExerLeadSel(CWnd* pParent) : CDlgCtrl(IDD, pParent) {}

CDlgExerLeadSel::~CDlgExerLeadSel() = default;

BOOL CDlgExerLeadSel::OnInitDialog()
{
    CDlgCtrl::OnInitDialog();
    ColourPanelButtons(*this, m_pDoc, &m_btn, kButtons, 1);
    return TRUE;
}
