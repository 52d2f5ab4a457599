#include "dialogs/DlgEnlargedRhyRR.h"

IMPLEMENT_DYNAMIC(CDlgEnlargedRhyRR, CDlgEnlargedWave)

CDlgEnlargedRhyRR::CDlgEnlargedRhyRR(CWnd* pParent) : CDlgEnlargedWave(IDD, 0, 0, pParent) {}

CDlgEnlargedRhyRR::~CDlgEnlargedRhyRR() = default;

void CDlgEnlargedRhyRR::SetClickInfo(int nLead, int nSample, int nPageStart, int nLength, int)
{
    CDlgEnlargedWave::SetClickInfo(nLead, nSample, nPageStart, nLength);
}

BOOL CDlgEnlargedRhyRR::OnInitDialog()
{
    CDlgEnlargedWave::OnInitDialog();
    // Its one button only closes.
    SetDlgItemText(IDOK, L"关闭");
    return TRUE;
}
