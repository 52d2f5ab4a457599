#include "dialogs/DlgSerialText.h"

#include "core/UserMessages.h"
#include "core/TavrionDoc.h"

IMPLEMENT_DYNAMIC(CDlgSerialText, CDlgCtrl)

BEGIN_MESSAGE_MAP(CDlgSerialText, CDlgCtrl)
    ON_WM_CTLCOLOR()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

namespace {
constexpr int kTextBackSlot = 20;   // Text_color/Back_ground
}  // namespace

CDlgSerialText::CDlgSerialText(CWnd* pParent) : CDlgCtrl(IDD, pParent) {}

CDlgSerialText::~CDlgSerialText() = default;

HBRUSH CDlgSerialText::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = CDlgCtrl::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor != CTLCOLOR_STATIC || !m_pDoc) return brush;
    const COLORREF back = m_pDoc->GetWaveColor(kTextBackSlot);
    pDC->SetBkColor(back);
    m_pStaticBrush = std::make_unique<CBrush>(back);
    return static_cast<HBRUSH>(*m_pStaticBrush);
}

void CDlgSerialText::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (CWnd* pane = GetParent()) pane->SendMessage(WM_SERIAL_CHOOSER_SHOWN, static_cast<WPARAM>(m_nIndex), 1);
    CDlgCtrl::OnLButtonDown(nFlags, point);
}
