// Alt+F4 on the patient sheets on a screen of the test's own, at the large
// and the small screen size, with the keyboard focus in a combo box: it
// closes the dialog the combo box stands in (the sheet, or the editor prompt
// over it) and opens no list. The pointer and the keys go through XTEST.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/host/HostSamples.h"
#include "tests/host/display/HostShowFixture.h"
#include "tests/support/XvfbTest.h"

using displaytest::WaitFor;
using displaytest::XvfbServer;

namespace {

struct ScreenSize {
    int width, height;
};

// Points of the resting sheet from its top left (the sheet's controls stand
// in units of its template's font, alike on both screens): the sex drop
// list (性別) and the name field.
const int kSexX = 140, kSexY = 216;
const int kNameX = 194, kNameY = 151;

class HostShowSheetKeysTest : public showtest::HostShowFixture, public ::testing::WithParamInterface<ScreenSize> {
protected:
    void SetUp() override
    {
        HostSamplesTest::SetUp();
        m_xml = SamplePath("rest12_9020240401093000.xml");
        m_before = testsupport::ReadFileBytes(m_xml);
        START_XVFB(m_server, GetParam().width, GetParam().height);
    }
    // The resting sheet, without a user: saving asks who edits.
    void StartSheet()
    {
        ASSERT_TRUE(StartShow(m_server, {SamplePath("rest12_90.ecg"), "--dialog", "CDlgPatientInfoComment"}));
        ASSERT_TRUE(WaitForWindows(m_server, 1)) << ShowErrors();
        ASSERT_TRUE(m_server.Origin(m_server.MappedWindows().front(), m_left, m_top));
    }
    void Click(int x, int y)
    {
        ASSERT_TRUE(m_server.Input(
            {"mousemove", std::to_string(m_left + x), std::to_string(m_top + y), "click", "1"}));
    }
    // For a while, the windows on the screen stay `count` (a list dropped
    // would be one more).
    bool StaysAt(size_t count)
    {
        return !WaitFor([&] { return m_server.MappedWindows().size() != count; }, 1.0);
    }
    // Show ended by the sheet's closing, the record untouched.
    void ExpectClosedUnsaved()
    {
        EXPECT_EQ(0, m_show.Wait(displaytest::kPatience)) << "the sheet stayed open " << ShowErrors();
        EXPECT_NE(std::string::npos, ShowOutput().find("closed")) << ShowOutput();
        EXPECT_EQ(m_before, testsupport::ReadFileBytes(m_xml));
    }

    XvfbServer m_server;
    int m_left = 0, m_top = 0;
    std::string m_xml;
    std::string m_before;
};

}  // namespace

TEST_P(HostShowSheetKeysTest, AltF4InTheSexListClosesTheSheetWithoutOpeningTheList)
{
    StartSheet();
    if (HasFatalFailure()) return;
    // A click drops the list and gives it the keyboard; Escape takes the list up again.
    Click(kSexX, kSexY);
    ASSERT_TRUE(WaitForWindows(m_server, 2)) << "the sex list did not drop";
    ASSERT_TRUE(m_server.Input({"key", "Escape"}));
    ASSERT_TRUE(WaitForWindows(m_server, 1));
    ASSERT_TRUE(m_server.Input({"key", "alt+F4"}));
    ExpectClosedUnsaved();
}

TEST_P(HostShowSheetKeysTest, AltF4InTheEditorPromptsListClosesThePromptAndThenTheSheet)
{
    StartSheet();
    if (HasFatalFailure()) return;
    // A name typed, then 更新 (Return): the prompt asks who edits, the
    // keyboard in its editor list.
    Click(kNameX, kNameY);
    ASSERT_TRUE(m_server.Input({"type", "X"}));
    ASSERT_TRUE(m_server.Input({"key", "Return"}));
    ASSERT_TRUE(WaitForWindows(m_server, 2)) << ShowErrors();
    const xcb_window_t prompt = m_server.MappedWindows().back();
    ASSERT_TRUE(WaitFor([&] { return m_server.InputFocus() == prompt; }));
    ASSERT_TRUE(m_server.Input({"key", "alt+F4"}));
    EXPECT_TRUE(WaitForWindows(m_server, 1)) << "Alt+F4 left the prompt open";
    EXPECT_TRUE(StaysAt(1)) << "a list dropped";
    // The sheet runs on; Alt+F4 closes it too, wherever its focus is.
    ASSERT_TRUE(m_server.Input({"key", "alt+F4"}));
    ExpectClosedUnsaved();
}

INSTANTIATE_TEST_SUITE_P(LargeAndSmallScreen, HostShowSheetKeysTest,
                         ::testing::Values(ScreenSize{1920, 1080}, ScreenSize{1024, 768}),
                         [](const ::testing::TestParamInfo<ScreenSize>& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });
