#include "dialogs/DlgLimbChest.h"

#include "dialogs/PanelButtons.h"

IMPLEMENT_DYNAMIC(CDlgLimbChest, CDlgCtrl)

namespace {
const int kButtons[2] = {3481, 3482};
}  // namespace

CDlgLimbChest::CDlgLimbChest(CWnd* pParent) : CDlgCtrl(IDD, pParent) {}

CDlgLimbChest::~CDlgLimbChest() = default;

BOOL CDlgLimbChest::OnInitDialog()
{
    CDlgCtrl::OnInitDialog();
    for (int id : kButtons) CheckDlgButton(id, BST_UNCHECKED);
    ColourPanelButtons(*this, m_pDoc, m_btn, kButtons, 2);
    return TRUE;
}
