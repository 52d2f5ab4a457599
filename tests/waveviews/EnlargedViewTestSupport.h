// The enlarged views as their dialogs hold them: a view in a frame under a
// window that records what the view reports (rulers and pans), on a resting
// document with records written by the record maker.
#pragma once

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/gdi/Image.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/ViewProbes.h"
#include "waveviews/EnlargedRuler.h"

namespace enlargedtest {

const COLORREF kPaper = RGB(255, 255, 255);
const COLORREF kTrace = RGB(0, 0, 0);
const COLORREF kText = RGB(0, 0, 200);
const COLORREF kGrid = RGB(230, 230, 230);

// Stands in for the dialog: the parent of the view's frame.
class CReportRecorder : public CWnd {
public:
    std::vector<std::pair<int, int>> m_readings;   // milliseconds, microvolts
    std::vector<std::pair<int, int>> m_pans;       // wParam, lParam as signed values

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        const std::pair<int, int> values(static_cast<int>(wParam), static_cast<int>(lParam));
        if (message == WM_ENLARGED_RULER_READING) m_readings.push_back(values);
        if (message == WM_ENLARGED_PAN) m_pans.push_back(values);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A view of class View in a width x height frame under the recorder.
template <class View> class EnlargedViewFixture : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        m_doc.SetWaveColor(0, kTrace);
        m_doc.SetWaveColor(1, kGrid);
        m_doc.SetWaveColor(2, kPaper);
        m_doc.SetWaveColor(3, kText);
        m_doc.SetWaveColor(4, RGB(0, 0, 0));   // XOR white paper: the ruler inverts
        for (int slot = 5; slot <= 14; ++slot) m_doc.SetWaveColor(slot, kTrace);
        m_doc.SetSmoothFilterMode(0);
        m_doc.SetBaseLineWidth(1);
        m_doc.SetGridType(1);
    }
    void TearDown() override
    {
        if (m_frame) m_frame->DestroyWindow();
        m_recorder.DestroyWindow();
        platform::ui::Desktop::Reset();
        resttest::RestDocFixture::TearDown();
    }

    void MakeView(int width, int height)
    {
        ASSERT_TRUE(
            m_recorder.CreateEx(0, nullptr, L"dialog", WS_POPUP | WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0));
        m_frame = new CFrameWnd;
        ASSERT_TRUE(m_frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &m_recorder));
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(View);
        context.m_pCurrentDoc = &m_doc;
        m_view = DYNAMIC_DOWNCAST(View, m_frame->CreateView(&context, AFX_IDW_PANE_FIRST));
        ASSERT_NE(nullptr, m_view);
        m_view->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_NOACTIVATE | SWP_FRAMECHANGED);
        m_frame->RecalcLayout();
    }

    HWND Hwnd() const { return m_view->GetSafeHwnd(); }
    void Paint() { testsupport::Repaint(*m_view); }
    // The view's client pixels as they are on screen.
    std::vector<COLORREF> Snapshot() { return testsupport::ClientSnapshot(*m_view); }
    COLORREF Pixel(int x, int y) { return testsupport::ClientPixel(*m_view, x, y); }
    // Rows of column x in the trace colour.
    std::vector<int> TraceRows(int x)
    {
        CRect client;
        m_view->GetClientRect(&client);
        std::vector<int> rows;
        CClientDC dc(m_view);
        for (int y = 0; y < client.Height(); ++y)
            if (dc.GetPixel(x, y) == kTrace) rows.push_back(y);
        return rows;
    }
    // First and last column with trace ink; (-1, -1) without any.
    std::pair<int, int> TraceColumns()
    {
        CRect client;
        m_view->GetClientRect(&client);
        int first = -1;
        int last = -1;
        for (int x = 0; x < client.Width(); ++x) {
            if (TraceRows(x).empty()) continue;
            if (first < 0) first = x;
            last = x;
        }
        return {first, last};
    }
    void Drag(CPoint from, CPoint to, int steps)
    {
        platform::ui::Desktop::AdvanceClock(1000);
        platform::ui::Desktop::Drag(Hwnd(), from, to, steps);
        platform::ui::Desktop::PumpMessages();
    }
    void Move(int x, int y) { testsupport::MoveMouseOver(Hwnd(), x, y); }
    void Click(int x, int y) { testsupport::ClickOn(Hwnd(), x, y); }
    // Two marks: the first at a, the second following the mouse to b.
    void SetMarks(CPoint a, CPoint b)
    {
        m_view->SetRulerStatus(RULER_STATUS_ARMED);
        Move(a.x, a.y);
        Click(a.x, a.y);
        Move(b.x, b.y);
        Click(b.x, b.y);
    }

    CReportRecorder m_recorder;
    CFrameWnd* m_frame = nullptr;   // deletes itself and the view with its window
    View* m_view = nullptr;
};

}  // namespace enlargedtest
