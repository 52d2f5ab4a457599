// Exercise records made by the record maker, opened in the exercise
// document and shown in an exercise view inside a frame on the desktop, as
// the exercise panes show them; pixel probes at positions computed from the
// record and the view's millimetre grid.
#pragma once

#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

#include "platform/base/Kernel.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/ExerViewDocFixture.h"
#include "waveviews/WaveView.h"

namespace exerviewtest {

using namespace exertest;

const COLORREF kPaper = RGB(255, 255, 255);
const COLORREF kTrace = RGB(0, 0, 255);      // slot 0: current beats, ticks
const COLORREF kRestTrace = RGB(0, 160, 0);  // slot 15: rest beats
const COLORREF kText = RGB(0, 0, 0);

// A window that logs the messages sent to it, as a pane or the document's
// notification window receives them.
class LoggingWnd : public CWnd {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Message> log;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER) log.push_back({message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

template <class View> class ExerViewFixture : public ExerDocument {
protected:
    void SetUp() override
    {
        ExerDocument::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        m_doc.SetWaveColor(0, kTrace);
        m_doc.SetWaveColor(15, kRestTrace);
        m_doc.SetWaveColor(3, kText);
        // Paper without grid lines, so that every inked pixel is the view's.
        m_doc.SetWaveColor(1, kPaper);
        m_doc.SetWaveColor(2, kPaper);
        m_doc.SetSmoothFilterMode(0);
        m_doc.SetBaseLineWidth(1);
    }
    void TearDown() override
    {
        if (m_frame) m_frame->DestroyWindow();
        m_pane.DestroyWindow();
        m_notify.DestroyWindow();
        ExerDocument::TearDown();
    }

    // The record made with the options, opened and current.
    void OpenRecord(const ExerciseRecordOptions& o, const std::function<void(RecordBuilder&)>& tweak = nullptr)
    {
        m_options = o;
        ASSERT_EQ(Open(m_doc, Write(o, tweak)), 0);
        m_doc.SetMeasurePoint(1);
    }
    _EXERDATAITEM& Item() { return *m_doc.GetCurrentDataItem(); }

    // The view in a frame in a pane of width x height on the document.
    void ShowView(int width, int height)
    {
        ASSERT_TRUE(
            m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0));
        m_frame = new CFrameWnd;
        ASSERT_TRUE(m_frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &m_pane));
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(View);
        context.m_pCurrentDoc = &m_doc;
        m_view = DYNAMIC_DOWNCAST(View, m_frame->CreateView(&context, AFX_IDW_PANE_FIRST));
        ASSERT_NE(nullptr, m_view);
        m_view->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_NOACTIVATE | SWP_FRAMECHANGED);
        m_frame->RecalcLayout();
        m_view->SendMessage(WM_INITIALUPDATE, 0, 0);
        if constexpr (std::is_base_of_v<CWaveView, View>) m_view->GetGridCount(m_across, m_down);
        m_view->GetClientRect(&m_client);
        ASSERT_TRUE(m_notify.CreateEx(0, nullptr, L"notify", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_doc.SetNotifyWnd(&m_notify);
    }
    // Paints the view through its window and keeps the picture.
    void Paint()
    {
        m_view->Invalidate(TRUE);
        m_view->UpdateWindow();
        Capture();
    }
    // Keeps the window's picture as it stands.
    void Capture()
    {
        CRect client;
        m_view->GetClientRect(&client);
        m_client = client;
        m_image.DeleteDC();
        ASSERT_TRUE(m_image.Attach(platform::gdi::CreateImageDC(client.Width(), client.Height())));
        CClientDC screen(m_view);
        m_image.BitBlt(0, 0, client.Width(), client.Height(), &screen, 0, 0, SRCCOPY);
    }
    COLORREF Pixel(int x, int y) { return m_image.GetPixel(x, y); }
    // Pixels of the colour in the box of the last picture.
    int CountIn(const CRect& box, COLORREF colour)
    {
        int n = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) n += Pixel(x, y) == colour ? 1 : 0;
        return n;
    }
    static bool HasText(const std::vector<platform::gdi::DrawRecord>& texts, const std::wstring& text)
    {
        for (const auto& r : texts)
            if (r.text == text) return true;
        return false;
    }
    // Millimetres of the view's grid as pixels of the client area.
    int MmX(int mm) const { return MulDiv(m_client.Width(), mm, m_across); }
    int MmY(int mm) const { return MulDiv(m_client.Height(), mm, m_down); }
    // The trace point of sample i of a beat drawn in `cell` (top the baseline, height 1 mV).
    static CPoint TracePoint(const CRect& cell, const short* samples, int count, int i)
    {
        return CPoint(cell.left + (cell.Width() * i) / count,
                      cell.top - static_cast<int>(samples[i] * cell.Height() * 0.0025));
    }

    CExerViewDoc m_doc;
    ExerciseRecordOptions m_options;
    LoggingWnd m_pane;   // the pane: the parent of the view's frame
    LoggingWnd m_notify;
    CFrameWnd* m_frame = nullptr;
    View* m_view = nullptr;
    CDC m_image;
    CRect m_client;
    int m_across = 0;
    int m_down = 0;
};

}  // namespace exerviewtest
