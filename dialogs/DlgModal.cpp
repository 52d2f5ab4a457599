#include "dialogs/DlgModal.h"

#include "core/Globals.h"

IMPLEMENT_DYNAMIC(CDlgModal, CDialog)

CDlgModal::CDlgModal(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent)
{
    ++g_uDlgCount;
}

CDlgModal::~CDlgModal()
{
    DecrementDlgCount();
}
