#include "dialogs/EnlargedWaveLayout.h"

#include "core/TavrionDoc.h"
#include "platform/base/Kernel.h"
#include "platform/ui/windowing/Monitors.h"
#include "platform/ui/windowing/SystemSettings.h"

namespace {

const int kLandscapeWidth = 1024;
const int kLandscapeHeight = 768;
const int kFrameLeft = 10;
const int kFrameTop = 10;
const int kFrameHeight = 380;
const int kBar = 16;
const int kButton = 24;
const int kButtonHeight = 20;
const int kReadoutHeight = 20;
const int kReadoutGap = 100;
const int kCommandTop = 683;
const int kCommandWidth = 210;
const int kCommandHeight = 24;
const int kTableLabelsLandscape = 432;
const int kTableLabelsPortrait = 422;

void Place(CWnd& dialog, int id, const CRect& rect)
{
    if (CWnd* control = dialog.GetDlgItem(id)) control->MoveWindow(&rect, FALSE);
}

}  // namespace

CEnlargedWaveLayout::CEnlargedWaveLayout(int width, int height) : CEnlargedWaveLayout(width, height, height > width) {}

CEnlargedWaveLayout::CEnlargedWaveLayout(int width, int height, bool portrait)
    : m_nWidth(width),
      m_nHeight(height),
      m_bPortrait(portrait)
{
    m_nDesignWidth = m_bPortrait ? kLandscapeHeight : kLandscapeWidth;
    m_nDesignHeight = m_bPortrait ? kLandscapeWidth : kLandscapeHeight;
}

CEnlargedWaveLayout CEnlargedWaveLayout::ForWindow(HWND window, const CTavrionDoc* doc)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    CSize monitor(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
        monitor = CSize(info.rcMonitor.right - info.rcMonitor.left, info.rcMonitor.bottom - info.rcMonitor.top);
    if (!doc) return CEnlargedWaveLayout(monitor.cx, monitor.cy);
    return CEnlargedWaveLayout(monitor.cx, monitor.cy, doc->IsTurnedScreen() != 0);
}

CRect CEnlargedWaveLayout::WorkArea(HWND window)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
        return CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    return CRect(info.rcWork);
}

int CEnlargedWaveLayout::X(int units) const
{
    return MulDiv(m_nWidth, units, m_nDesignWidth);
}

int CEnlargedWaveLayout::Y(int units) const
{
    return MulDiv(m_nHeight, units, m_nDesignHeight);
}

CRect CEnlargedWaveLayout::Rect(int x, int y, int cx, int cy) const
{
    return CRect(X(x), Y(y), X(x + cx), Y(y + cy));
}

CSize CEnlargedWaveLayout::DialogSize() const
{
    return CSize(X(m_bPortrait ? 768 : 960), Y(715) + ::GetSystemMetrics(SM_CYCAPTION));
}

int CEnlargedWaveLayout::TableTop() const
{
    return Y(m_bPortrait ? kTableLabelsPortrait : kTableLabelsLandscape);
}

CRect CEnlargedWaveLayout::OverlapFrame() const
{
    return m_bPortrait ? Rect(kFrameLeft, 430, 180, 234) : Rect(kFrameLeft, 420, 200, 260);
}

void CEnlargedWaveLayout::Apply(CWnd& dialog, const CEnlargedViewFrame::Controls& ids, bool update) const
{
    const CSize size = DialogSize();
    dialog.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    dialog.CenterWindow();
    PlaceFrameControls(dialog, ids);
    PlaceGroups(dialog);
    PlaceButtons(dialog, update);
}

// The record's values in one group, the lead's in the other, under the view.
void CEnlargedWaveLayout::PlaceGroups(CWnd& dialog) const
{
    const int top = 420;
    if (m_bPortrait) {
        Place(dialog, IDC_GLOBAL_GROUP, Rect(195, top, 138, 245));
        Place(dialog, IDC_LEAD_GROUP, Rect(335, top, 422, 245));
        return;
    }
    Place(dialog, IDC_GLOBAL_GROUP, Rect(215, top, 200, 260));
    Place(dialog, IDC_LEAD_GROUP, Rect(420, top, 520, 260));
}

// The bars, the readout and the four buttons around the wave frame; the
// frame itself fills the room the bars leave.
void CEnlargedWaveLayout::PlaceFrameControls(CWnd& dialog, const CEnlargedViewFrame::Controls& ids) const
{
    const int frameWidth = m_bPortrait ? 724 : 914;
    const int below = kFrameTop + kFrameHeight + 1;
    const int third = frameWidth / 3;
    Place(dialog, ids.verticalBar, Rect(kFrameLeft + frameWidth, kFrameTop, kBar, kFrameHeight));
    Place(dialog, ids.horizontalBar, Rect(kFrameLeft, below, third, kBar));
    Place(dialog, ids.readout, Rect(kFrameLeft + third + kReadoutGap, below, third, kReadoutHeight));
    const int buttons[4] = {ids.rulerButton, ids.dragButton, ids.zoomInButton, ids.zoomOutButton};
    for (int i = 0; i < 4; ++i)
        Place(dialog, buttons[i], Rect(kFrameLeft + frameWidth - (4 - i) * kButton, below, kButton, kButtonHeight));
}

void CEnlargedWaveLayout::PlaceButtons(CWnd& dialog, bool update) const
{
    const int left = m_bPortrait ? 330 : 450;
    const int gap = m_bPortrait ? 10 : 50;
    Place(dialog, IDOK, update ? Rect(left, kCommandTop, kCommandWidth, kCommandHeight) : CRect(0, 0, 0, 0));
    Place(dialog, IDCANCEL, Rect(left + kCommandWidth + gap, kCommandTop, kCommandWidth, kCommandHeight));
}

void CEnlargedWaveLayout::ApplySingleView(CWnd& dialog, const CEnlargedViewFrame::Controls& ids, int barWidth) const
{
    const int width = m_bPortrait ? 768 : 800;
    const int height = 600;
    const int frameWidth = m_bPortrait ? 724 : 756;
    const int frameHeight = 500;
    const int gapUnderFrame = 10;
    const int readoutGap = 30;
    const int readoutWidth = m_bPortrait ? 368 : 400;
    const int closeLeft = 300;
    const int closeGap = 15;
    const int closeWidth = 200;
    const int closeHeight = 25;
    dialog.SetWindowPos(nullptr, 0, 0, X(width), Y(height) + ::GetSystemMetrics(SM_CYCAPTION),
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    dialog.CenterWindow();
    const int below = kFrameTop + frameHeight + gapUnderFrame;
    Place(dialog, ids.verticalBar, Rect(kFrameLeft + frameWidth, kFrameTop, kBar, frameHeight));
    Place(dialog, ids.horizontalBar, Rect(kFrameLeft, below, barWidth, kBar));
    Place(dialog, ids.readout, Rect(kFrameLeft + barWidth + readoutGap, below, readoutWidth, kReadoutHeight));
    const int buttons[4] = {ids.rulerButton, ids.dragButton, ids.zoomInButton, ids.zoomOutButton};
    for (int i = 0; i < 4; ++i)
        Place(dialog, buttons[i], Rect(kFrameLeft + frameWidth - (4 - i) * kButton, below, kButton, kButtonHeight));
    Place(dialog, IDOK, Rect(closeLeft, below + kButtonHeight + closeGap, closeWidth, closeHeight));
}
