// The multi-lead view as a pane holds it, for the measuring tools, the mouse
// and the pop-ups: a view in a frame that records what the view reports to
// its parent (divider intervals) under a pane window that records what goes
// to the grandparent, on a record of any document (a resting record written
// by the record maker as the common case). Input goes through the desktop's
// message path.
#pragma once

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/base/Kernel.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "waveviews/ViewRhythmWave.h"

namespace measuretest {

using Message = std::pair<int, int>;

// A window that keeps the WPARAM and LPARAM of one message it receives.
template <class Base> class CRecording : public Base {
public:
    explicit CRecording(UINT message = 0) : m_nMessage(message) {}
    std::vector<Message> m_messages;
    UINT m_nMessage;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == m_nMessage) m_messages.emplace_back(static_cast<int>(wParam), static_cast<int>(lParam));
        return Base::WindowProc(message, wParam, lParam);
    }
};

const COLORREF kPaper = RGB(255, 255, 255);
const COLORREF kTrace = RGB(0, 0, 0);

// The view of class View on the document the fixture Base holds as m_doc
// (of the kind `docType`), as a pane holds it.
template <class Base, int docType, class View = CViewRhythmWave> class MeasureWindowFixture : public Base {
protected:
    void SetUp() override
    {
        Base::SetUp();
        auto& doc = this->m_doc;
        doc.m_bAutoDelete = FALSE;
        doc.SetWaveColor(0, kTrace);
        doc.SetWaveColor(1, RGB(255, 200, 200));
        doc.SetWaveColor(2, kPaper);
        doc.SetWaveColor(4, RGB(0, 160, 0));
        for (int slot = 5; slot <= 14; ++slot) doc.SetWaveColor(slot, kTrace);
        doc.SetSmoothFilterMode(0);
        doc.SetBaseLineWidth(1);
        doc.SetSpeed(25.0f);
        doc.SetMouseMode(1);
    }
    void TearDown() override
    {
        if (m_frame) m_frame->DestroyWindow();
        m_pane.DestroyWindow();
        platform::ui::Desktop::Reset();
        Base::TearDown();
    }

    // The view of `style` in a width x height frame under the pane.
    void MakeView(int style, int width = 1040, int height = 600)
    {
        const CRect size(0, 0, width, height);
        ASSERT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, size, nullptr, 0));
        m_frame = new CRecording<CFrameWnd>(WM_DIVIDER_DROPPED);
        ASSERT_TRUE(m_frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &m_pane));
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(View);
        context.m_pCurrentDoc = &this->m_doc;
        m_view = DYNAMIC_DOWNCAST(View, m_frame->CreateView(&context, AFX_IDW_PANE_FIRST));
        ASSERT_NE(nullptr, m_view);
        m_view->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_NOACTIVATE | SWP_FRAMECHANGED);
        m_frame->RecalcLayout();
        m_view->SetDocType(docType);
        m_view->SetWaveStyle(style, TRUE);
        m_view->OnUpdate(nullptr, 0, nullptr);
    }
    void Paint()
    {
        m_view->Invalidate(FALSE);
        m_view->UpdateWindow();
    }
    COLORREF Pixel(int x, int y)
    {
        CClientDC dc(m_view);
        return dc.GetPixel(x, y);
    }
    // Pixels per small square across.
    double SquareX()
    {
        CRect client;
        m_view->GetClientRect(&client);
        int gridX = 0;
        int gridY = 0;
        m_view->GetGridCount(gridX, gridY);
        return static_cast<double>(client.Width()) / gridX;
    }
    HWND Hwnd() const { return m_view->GetSafeHwnd(); }
    static int CentreX(const CRect& r) { return (r.left + r.right) / 2; }
    // The measuring tools out with the scale armed, on the painted page.
    void ShowScaleOnPage()
    {
        m_view->ShowDivider(TRUE);
        m_view->ShowScale(TRUE);
        Paint();
    }
    // The mouse moved to a point and clicked there, apart from the last click.
    void ClickAt(int x, int y)
    {
        platform::ui::Desktop::MoveMouse(Hwnd(), x, y);
        platform::ui::Desktop::Click(Hwnd(), x, y);
        platform::ui::Desktop::PumpMessages();
        platform::ui::Desktop::AdvanceClock(1000);   // no double-click
    }

    CRecording<CWnd> m_pane{WM_VIEW_RESULT};
    CRecording<CFrameWnd>* m_frame = nullptr;   // deletes itself and the view with its window
    View* m_view = nullptr;
};

// On a resting record of the record maker.
template <class View = CViewRhythmWave>
class MeasureViewFixture : public MeasureWindowFixture<resttest::RestDocFixture, DOC_TYPE_REST, View> {
protected:
    void OpenRecord(double heartRate = 75.0, double seconds = 10.0)
    {
        morvelance::RestRecordShape shape;
        shape.heartRate = heartRate;
        shape.seconds = seconds;
        ASSERT_EQ(0, this->Open(this->AddRecord("measure", shape)));
        this->m_doc.SetSenseMode(1);
    }
};

}  // namespace measuretest
