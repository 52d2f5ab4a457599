// CEnlargedViewFrame: the frame, readout and buttons of the enlarged dialogs.
#include "dialogs/EnlargedViewFrame.h"

#include <algorithm>

#include "core/Globals.h"
#include "platform/ui/framework/Button.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/View.h"
#include "platform/ui/windowing/Resources.h"
#include "resources/ButtonIconIds.h"

CView* CEnlargedViewFrame::Create(CWnd& dialog, CRuntimeClass* viewClass, CDocument* doc)
{
    CScrollBar* across = Bar(dialog, true);
    CScrollBar* down = Bar(dialog, false);
    if (!across || !down) return nullptr;
    CRect bottom;
    CRect side;
    across->GetWindowRect(&bottom);
    down->GetWindowRect(&side);
    dialog.ScreenToClient(&bottom);
    dialog.ScreenToClient(&side);
    // As tall as the vertical bar beside it, whatever gap the dialog leaves above the horizontal one.
    const CRect area(bottom.left, side.top, side.left, std::min(side.bottom, bottom.top - 1));
    return CreateAt(dialog, area, viewClass, doc);
}

CView* CEnlargedViewFrame::CreateAt(CWnd& dialog, const CRect& area, CRuntimeClass* viewClass, CDocument* doc)
{
    auto* frame = new CFrameWnd;   // deletes itself and its view with its window
    if (!frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, area, &dialog)) return nullptr;
    CCreateContext context;
    context.m_pNewViewClass = viewClass;
    context.m_pCurrentDoc = doc;
    auto* view = DYNAMIC_DOWNCAST(CView, frame->CreateView(&context, AFX_IDW_PANE_FIRST));
    if (!view) {
        frame->DestroyWindow();
        return nullptr;
    }
    view->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_NOACTIVATE | SWP_FRAMECHANGED);
    frame->SetActiveView(view, FALSE);
    frame->RecalcLayout();
    return view;
}

void CEnlargedViewFrame::SetUpButtons(CWnd& dialog)
{
    const std::pair<int, int> icons[] = {{m_ids.rulerButton, IDI_BUTTON_RULER},
                                         {m_ids.dragButton, IDI_BUTTON_DRAG},
                                         {m_ids.zoomInButton, IDI_BUTTON_ZOOM_IN},
                                         {m_ids.zoomOutButton, IDI_BUTTON_ZOOM_OUT}};
    for (const auto& [id, icon] : icons) {
        // The dialog's items are plain windows here, not CButton objects: talk to them by message.
        HICON image = ::LoadIconW(AfxFindResourceHandle(MAKEINTRESOURCE(icon), RT_GROUP_ICON), MAKEINTRESOURCE(icon));
        if (dialog.GetDlgItem(id) && image)
            dialog.SendDlgItemMessage(id, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(image));
    }
    PressMode(dialog, FALSE);
    dialog.SetDlgItemText(m_ids.readout, L"");
}

void CEnlargedViewFrame::ShowReading(CWnd& dialog, WPARAM milliseconds, LPARAM microvolts)
{
    dialog.SetDlgItemText(m_ids.readout, FormatReading(static_cast<int>(milliseconds), static_cast<int>(microvolts)));
}

CString CEnlargedViewFrame::FormatReading(int milliseconds, int microvolts)
{
    CString text;
    text.Format(L"%d%s   %5.3f%s", milliseconds, L"[mS]", microvolts * 0.001, L"[mV]");
    return text;
}

void CEnlargedViewFrame::PressMode(CWnd& dialog, BOOL ruler)
{
    if (dialog.GetDlgItem(m_ids.rulerButton)) dialog.SendDlgItemMessage(m_ids.rulerButton, BM_SETCHECK, ruler ? 1 : 0);
    if (dialog.GetDlgItem(m_ids.dragButton)) dialog.SendDlgItemMessage(m_ids.dragButton, BM_SETCHECK, ruler ? 0 : 1);
}

void CEnlargedViewFrame::EnableBars(CWnd& dialog, BOOL enable)
{
    for (bool horizontal : {true, false})
        if (CScrollBar* bar = Bar(dialog, horizontal)) bar->EnableWindow(enable);
}

CScrollBar* CEnlargedViewFrame::Bar(CWnd& dialog, bool horizontal) const
{
    return static_cast<CScrollBar*>(dialog.GetDlgItem(horizontal ? m_ids.horizontalBar : m_ids.verticalBar));
}

int CEnlargedViewFrame::MoveBar(CWnd& dialog, bool horizontal, int position)
{
    CScrollBar* bar = Bar(dialog, horizontal);
    if (!bar) return position;
    bar->SetScrollPos(position);
    return bar->GetScrollPos();
}

std::optional<int> CEnlargedViewFrame::Scroll(CWnd&, CScrollBar* bar, UINT code, int page)
{
    if (!bar) return std::nullopt;
    int lowest = 0;
    int highest = 0;
    bar->GetScrollRange(&lowest, &highest);
    // The thumb's position in full: the message's carries 16 bits only.
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    bar->GetScrollInfo(&info, SIF_TRACKPOS);
    int position = bar->GetScrollPos();
    switch (code) {
    case SB_LINELEFT: position -= 1; break;
    case SB_LINERIGHT: position += 1; break;
    case SB_PAGELEFT: position -= page; break;
    case SB_PAGERIGHT: position += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: position = info.nTrackPos; break;
    case SB_LEFT: position = lowest; break;
    case SB_RIGHT: position = highest; break;
    default: return std::nullopt;   // the end of a scroll moves nothing
    }
    position = std::max(lowest, std::min(position, highest));
    bar->SetScrollPos(position);
    return position;
}

HCURSOR CEnlargedViewFrame::HandCursor()
{
    return g_hCursorHand ? g_hCursorHand : ::LoadCursor(nullptr, IDC_ARROW);
}

HCURSOR CEnlargedViewFrame::RulerCursor()
{
    return ::LoadCursor(nullptr, IDC_SIZEALL);
}
