// The measurement views as a page pane shows them: a resting record written
// by the record maker, opened in its document, and a view made from its
// runtime class in a frame inside a pane inside a logging owner window, on
// the desktop. The owner and the document's notification window log the
// messages they receive.
#pragma once

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/Globals.h"
#include "platform/base/Kernel.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/Edit.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/ViewInFrame.h"

namespace measviewtest {

// Keeps the WM_USER messages it receives.
class CLoggingWnd : public CWnd {
public:
    std::vector<std::pair<UINT, WPARAM>> log;
    int Count(UINT message) const
    {
        int n = 0;
        for (const auto& m : log) n += m.first == message ? 1 : 0;
        return n;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER && message < WM_USER + 0x100) log.emplace_back(message, wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

template <class View> class MeasViewFixture : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        platform::ui::Desktop::Reset();
        m_doc.m_bAutoDelete = FALSE;
        m_doc.InitGlobalData();
        ASSERT_TRUE(m_owner.CreateEx(0, nullptr, L"owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr, 0));
        ASSERT_TRUE(m_notify.CreateEx(0, nullptr, L"notify", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_doc.SetNotifyWnd(&m_notify);
    }
    void TearDown() override
    {
        DestroyView();
        m_doc.SetNotifyWnd(nullptr);
        m_notify.DestroyWindow();
        m_owner.DestroyWindow();
        resttest::RestDocFixture::TearDown();
    }

    // Writes and opens a resting record of that shape.
    _RESTDATAITEM* OpenShape(const morvelance::RestRecordShape& shape)
    {
        _RESTDATAITEM* item = AddRecord("meas.ecg", shape);
        EXPECT_EQ(Open(item), 0);
        return item;
    }

    // The view in its frame, first update done, as the pane shows it.
    View* ShowView(int width = kWidth, int height = kHeight)
    {
        DestroyView();
        m_pane.CreateEx(0, nullptr, L"pane", WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &m_owner, 1);
        m_frame = new CFrameWnd;
        m_view = static_cast<View*>(testsupport::CreateViewInFrame(*m_frame, m_pane, RUNTIME_CLASS(View), m_doc, width,
                                                                   height, testsupport::ViewEdge::Kept));
        if (!m_view) return nullptr;
        m_view->SetDocType(DOC_TYPE_REST);
        m_view->SendMessage(WM_INITIALUPDATE, 0, 0);
        platform::ui::Desktop::PumpMessages();
        return m_view;
    }
    void DestroyView()
    {
        if (m_frame && m_frame->m_hWnd) m_frame->DestroyWindow();
        m_frame = nullptr;
        m_view = nullptr;
        if (m_pane.m_hWnd) m_pane.DestroyWindow();
    }

    // The view's own drawing (OnDraw) into a white surface of its client size.
    void DrawInto(CDC& dc)
    {
        CRect client;
        m_view->GetClientRect(&client);
        ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(client.Width(), client.Height())));
        dc.FillSolidRect(0, 0, client.Width(), client.Height(), RGB(255, 255, 255));
        m_view->OnDraw(&dc);
    }

    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 720;
    CLoggingWnd m_owner;
    CWnd m_pane;
    CLoggingWnd m_notify;
    CFrameWnd* m_frame = nullptr;   // deletes itself and the view with its window
    View* m_view = nullptr;
};

// Pixels in `box` of `dc` that are neither white nor the band green: ink.
// The user clicks a cell, selects its text and types over it.
inline void TypeOverCell(CEdit& cell, LPCWSTR text)
{
    cell.SetFocus();
    platform::ui::Desktop::PumpMessages();
    cell.SetSel(0, -1);
    platform::ui::Desktop::KeyPress(VK_DELETE);
    platform::ui::Desktop::TypeText(text);
    platform::ui::Desktop::PumpMessages();
}

inline int InkIn(CDC& dc, const CRect& box, COLORREF ignore = RGB(255, 255, 255))
{
    int n = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) {
            const COLORREF c = dc.GetPixel(x, y);
            if (c != ignore && c != RGB(220, 255, 220) && c != CLR_INVALID) ++n;
        }
    return n;
}

// Pixels in `box` of a neutral grey (equal channels, lighter than black
// text's core): the placeholders' grey.
inline int GreyIn(CDC& dc, const CRect& box)
{
    int n = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) {
            const COLORREF c = dc.GetPixel(x, y);
            if (GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c) && GetRValue(c) >= 100 &&
                GetRValue(c) <= 160)
                ++n;
        }
    return n;
}

// A white paper surface (2400 × 400 pixels unless asked) with a 30-pixel font selected, as a
// report hands its table rectangle over.
class Paper {
public:
    explicit Paper(int width = kWidth, int height = kHeight) : m_width(width)
    {
        EXPECT_TRUE(m_dc.Attach(platform::gdi::CreateImageDC(width, height)));
        m_dc.FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
        m_font.CreateFont(-kFont, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, L"simsun");
        m_saved = m_dc.SelectObject(&m_font);
        m_rect = CRect(0, 0, width, height);
    }
    ~Paper() { m_dc.SelectObject(m_saved); }
    CDC& Dc() { return m_dc; }
    CRect Rect() const { return m_rect; }
    // Ink in the column right-aligned at x (one text width to its left), rows y0..y1.
    int InkLeftOf(int x, int y0, int y1) { return InkIn(m_dc, CRect(x - m_width / 30, y0, x, y1)); }

    static constexpr int kWidth = 2400;
    static constexpr int kHeight = 400;
    static constexpr int kFont = 30;

private:
    CDC m_dc;
    CFont m_font;
    CFont* m_saved = nullptr;
    int m_width;
    CRect m_rect;
};

}  // namespace measviewtest
