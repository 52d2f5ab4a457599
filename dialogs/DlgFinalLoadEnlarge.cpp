#include "dialogs/DlgFinalLoadEnlarge.h"

IMPLEMENT_DYNAMIC(CDlgFinalLoadEnlarge, CDlgModal)

CDlgFinalLoadEnlarge::CDlgFinalLoadEnlarge(CWnd* pParent) : CDlgModal(IDD, pParent) {}
