#include "dialogs/WndShowComment.h"

#include "platform/gdi/Brush.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Font.h"
#include "platform/ui/framework/PaintDC.h"
#include "platform/ui/framework/RegisterWndClass.h"
#include "platform/ui/windowing/Resources.h"

IMPLEMENT_DYNAMIC(CWndShowComment, CWnd)

BEGIN_MESSAGE_MAP(CWndShowComment, CWnd)
    ON_WM_PAINT()
    ON_WM_KILLFOCUS()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CWndShowComment::CWndShowComment() = default;

CWndShowComment::~CWndShowComment()
{
    if (m_hWnd) DestroyWindow();
}

BOOL CWndShowComment::Create(CWnd* pOwner)
{
    if (m_strClassName.IsEmpty()) m_strClassName = AfxRegisterWndClass(0);
    m_hOwner = pOwner ? pOwner->m_hWnd : nullptr;
    return CreateEx(0, m_strClassName, L"", WS_POPUP, 0, 0, 0, 0, m_hOwner, nullptr);
}

void CWndShowComment::OnPaint()
{
    CPaintDC dc(this);
    CDCStateSaver saved(dc);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, m_crBack);
    CBrush frame(m_crText);
    dc.FrameRect(&client, &frame);
    CDCObjectSelector<CFont> font(dc);
    if (m_pFont) font.Select(m_pFont);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_crText);
    CRect text = client;
    text.OffsetRect(2, 2);
    dc.DrawText(m_strText, &text, DT_WORDBREAK | DT_EDITCONTROL);
}

void CWndShowComment::OnKillFocus(CWnd* pNewWnd)
{
    CWnd::OnKillFocus(pNewWnd);
    ShowWindow(SW_HIDE);
}

BOOL CWndShowComment::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
}
