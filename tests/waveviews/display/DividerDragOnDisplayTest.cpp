// The multi-lead view's divider on an X server of the test's own, dragged
// with the pointer through XTEST: it lands and reads as the same drag
// through the desktop's headless path.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Window.h"
#include "tests/support/XvfbTest.h"
#include "tests/waveviews/MeasureViewTestSupport.h"

using platform::ui::Desktop;

namespace {

class DividerDragOnDisplayTest : public measuretest::MeasureViewFixture<> {
protected:
    void TearDown() override
    {
        if (m_frame) m_frame->DestroyWindow();
        m_frame = nullptr;
        m_pane.DestroyWindow();
        Desktop::DetachDisplay();
        MeasureViewFixture::TearDown();
    }
    // The view with the first pair of dividers shown, painted.
    void MakeMeasuringView()
    {
        MakeView(1);
        m_view->ShowDivider(TRUE);
        m_view->SetDividerCheck(TRUE, 1);
        Paint();
    }
    void DropView()
    {
        m_frame->DestroyWindow();
        m_frame = nullptr;
        m_pane.DestroyWindow();
    }
    POINT OnScreen(POINT client) const
    {
        ::ClientToScreen(Hwnd(), &client);
        return client;
    }
};

}  // namespace

TEST_F(DividerDragOnDisplayTest, ADividerDraggedWithThePointerLandsAndReadsAsTheHeadlessDrag)
{
    OpenRecord();
    MakeMeasuringView();
    const CRect start = m_view->GetDividerHandle(0, 0);
    const POINT grip = start.CenterPoint();
    const POINT to = {grip.x + 150, grip.y};
    Desktop::MoveMouse(Hwnd(), grip.x, grip.y);
    Desktop::Drag(Hwnd(), grip, to);
    Desktop::PumpMessages();
    const CRect headless = m_view->GetDividerHandle(0, 0);
    const std::vector<measuretest::Message> headlessReadings = m_frame->m_messages;
    ASSERT_NE(start, headless);
    ASSERT_FALSE(headlessReadings.empty());
    DropView();

    displaytest::XvfbServer server;
    START_XVFB(server, 1280, 720);
    std::string why;
    ASSERT_TRUE(Desktop::AttachDisplay(server.Display().c_str(), &why)) << why;
    MakeMeasuringView();
    ASSERT_EQ(start, m_view->GetDividerHandle(0, 0));
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(displaytest::kPatience);
    auto runUntil = [&](const std::function<bool()>& ready) {
        Desktop::RunDisplay([&] { return ready() || std::chrono::steady_clock::now() > until; });
        return ready();
    };
    ASSERT_TRUE(runUntil([&] { return server.MappedWindows().size() == 1; }));
    const POINT from = OnScreen(grip);
    const POINT end = OnScreen(to);
    ASSERT_TRUE(server.Input({"mousemove", std::to_string(from.x), std::to_string(from.y), "mousedown", "1",
                              "mousemove", std::to_string((from.x + end.x) / 2), std::to_string(from.y), "mousemove",
                              std::to_string(end.x), std::to_string(end.y), "mouseup", "1"}));
    // The readings on the way depend on the moves between; where the drag
    // ends, the place and the reading are the same.
    EXPECT_TRUE(runUntil([&] {
        return m_view->GetDividerHandle(0, 0) == headless && !(GetKeyState(VK_LBUTTON) & 0x8000) &&
               !m_frame->m_messages.empty() && m_frame->m_messages.back() == headlessReadings.back();
    }));
    EXPECT_EQ(headless, m_view->GetDividerHandle(0, 0));
    ASSERT_FALSE(m_frame->m_messages.empty());
    EXPECT_EQ(headlessReadings.back(), m_frame->m_messages.back());
}
