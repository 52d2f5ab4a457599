// The page-turning keys of the general patient sheet on a screen of the
// test's own: with the keyboard in a field of the first page, Ctrl+Tab
// brings up the additional-information page (付帯情報) and Ctrl+Shift+Tab
// takes the sheet back, as the tabs would. The pages are told apart by their
// captions on the screen; the keys go through XTEST.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdi/Font.h"
#include "tests/host/HostSamples.h"
#include "tests/host/display/HostShowFixture.h"
#include "tests/host/display/ScreenText.h"
#include "tests/support/XvfbTest.h"

using displaytest::WaitFor;
using displaytest::XvfbServer;
using showtest::FindText;
using showtest::Picture;

namespace {

class HostShowSheetPageKeysTest : public showtest::HostShowFixture {
protected:
    void SetUp() override
    {
        HostSamplesTest::SetUp();
        hosttest::MakeRecords({"examinations", m_dir.File("examinations")});
        START_XVFB(m_server, showtest::kWidth, showtest::kHeight);
        // The pages' font on a screen this wide.
        m_font.CreateFont(16, 0, 0, 0, 400, FALSE, FALSE, FALSE, 134, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          PROOF_QUALITY, 18, L"simsun");
    }
    // The sheet's pixels.
    Picture Grab()
    {
        Picture picture;
        const std::vector<xcb_window_t> windows = m_server.MappedWindows();
        if (windows.empty()) return picture;
        int x = 0, y = 0;
        if (!m_server.Geometry(windows.front(), x, y, picture.width, picture.height)) return picture;
        picture.pixels = m_server.Grab(x, y, picture.width, picture.height);
        return picture;
    }
    // Where the caption stands whole on the sheet, in the sheet's pixels; {-1, -1} when not.
    POINT Caption(const wchar_t* text) { return FindText(Grab(), showtest::DrawnText(text, m_font)); }
    // Waits while show runs until the caption shows (or, with `shown` false, is gone).
    bool WaitForCaption(const wchar_t* text, bool shown = true)
    {
        return WaitWhileShowing([&] { return (Caption(text).x >= 0) == shown; });
    }

    XvfbServer m_server;
    CFont m_font;
};

// A caption of the first page (情報編集) and one of the additional-information page.
const wchar_t* const kFirstPageCaption = L"カナ氏名";
const wchar_t* const kAdditionCaption = L"ログイン者名:";

}  // namespace

TEST_F(HostShowSheetPageKeysTest, CtrlTabInAFieldOfTheFirstPageBringsUpTheAdditionalInformationPage)
{
    ASSERT_TRUE(StartShow(m_server, {m_dir.File("examinations/mstep243.ecg"), "--dialog", "CDlgInfoCommentGeneral"}));
    ASSERT_TRUE(WaitForWindows(m_server, 1)) << ShowErrors();
    ASSERT_TRUE(WaitForCaption(kFirstPageCaption)) << "the first page did not show " << ShowErrors();
    EXPECT_LT(Caption(kAdditionCaption).x, 0);

    // The keyboard into the field after the caption: a click a few
    // characters to the right of the caption's end.
    int left = 0, top = 0;
    ASSERT_TRUE(m_server.Origin(m_server.MappedWindows().front(), left, top));
    const POINT caption = Caption(kFirstPageCaption);
    const Picture text = showtest::DrawnText(kFirstPageCaption, m_font);
    const int fieldX = left + caption.x + text.width + 3 * text.height;
    const int fieldY = top + caption.y + text.height / 2;
    ASSERT_TRUE(m_server.Input({"mousemove", std::to_string(fieldX), std::to_string(fieldY), "click", "1"}));

    ASSERT_TRUE(m_server.Input({"key", "ctrl+Tab"}));
    ASSERT_TRUE(WaitForCaption(kAdditionCaption)) << "Ctrl+Tab did not turn to 付帯情報 " << ShowErrors();
    EXPECT_TRUE(WaitForCaption(kFirstPageCaption, false)) << "the first page stayed on the screen";

    // Back to the first page, round from the last.
    ASSERT_TRUE(m_server.Input({"key", "ctrl+shift+Tab"}));
    EXPECT_TRUE(WaitForCaption(kFirstPageCaption)) << "Ctrl+Shift+Tab did not turn back " << ShowErrors();
    EXPECT_TRUE(WaitForCaption(kAdditionCaption, false));

    ASSERT_TRUE(m_server.Input({"key", "Escape"}));
    EXPECT_EQ(0, m_show.Wait(displaytest::kPatience)) << ShowErrors();
    EXPECT_NE(std::string::npos, ShowOutput().find("closed")) << ShowOutput();
}

// Right after the sheet opens the keyboard is on its buttons (更新 and the
// others): Ctrl+Tab there turns the pages too, and does not walk the
// buttons as a Tab would.
TEST_F(HostShowSheetPageKeysTest, CtrlTabRightAfterTheSheetOpensTurnsItsPage)
{
    ASSERT_TRUE(StartShow(m_server, {m_dir.File("examinations/mstep243.ecg"), "--dialog", "CDlgInfoCommentGeneral"}));
    ASSERT_TRUE(WaitForWindows(m_server, 1)) << ShowErrors();
    ASSERT_TRUE(WaitForCaption(kFirstPageCaption)) << "the first page did not show " << ShowErrors();

    ASSERT_TRUE(m_server.Input({"key", "ctrl+Tab"}));
    ASSERT_TRUE(WaitForCaption(kAdditionCaption)) << "Ctrl+Tab did not turn to 付帯情報 " << ShowErrors();
    EXPECT_TRUE(WaitForCaption(kFirstPageCaption, false)) << "the first page stayed on the screen";
    ASSERT_TRUE(m_server.Input({"key", "ctrl+Next"}));   // round to the first
    EXPECT_TRUE(WaitForCaption(kFirstPageCaption)) << "Ctrl+Page Down did not turn on " << ShowErrors();

    ASSERT_TRUE(m_server.Input({"key", "Escape"}));
    EXPECT_EQ(0, m_show.Wait(displaytest::kPatience)) << ShowErrors();
    EXPECT_NE(std::string::npos, ShowOutput().find("closed")) << ShowOutput();
}
