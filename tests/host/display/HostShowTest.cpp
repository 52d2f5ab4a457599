// The host's "show" command on an X server of the test's own: the pane on
// the screen as its headless image, the pointer and keyboard through XTEST,
// the window manager's close, and a server that goes away.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/host/display/HostShowFixture.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/support/InputMethodServer.h"
#include "tests/support/XvfbTest.h"
#include "tests/support/PngImage.h"

using namespace hosttest;
using displaytest::kPatience;
using displaytest::WaitFor;
using displaytest::XvfbServer;
using showtest::kHeight;
using showtest::kWidth;

namespace {

class HostShowTest : public showtest::HostShowFixture {
protected:
    void SetUp() override
    {
        HostSamplesTest::SetUp();
        m_record = SamplePath("rest12_90.ecg");
    }
    // Starts show on the test's server with the resting wave page (and
    // the options given).
    bool StartWavePage(XvfbServer& server, const std::vector<std::string>& more = {})
    {
        std::vector<std::string> args = {m_record, "--pane", "CWndRestRhythmWave", "--style", "1"};
        args.insert(args.end(), more.begin(), more.end());
        return StartShow(server, args);
    }
    // Starts show with the magnifier and waits for its two windows.
    void StartShowWithMagnifier(XvfbServer& server)
    {
        ASSERT_TRUE(StartWavePage(server, {"--magnifier"}));
        ASSERT_TRUE(WaitForWindows(server, 2)) << ShowErrors();
    }
    // The screen's pixels that differ from the PNG's (the PNG at left, top).
    static int Differences(XvfbServer& server, const testsupport::PngImage& png, int left = 0, int top = 0)
    {
        const std::vector<uint32_t> screen = server.Grab(left, top, png.Width(), png.Height());
        if (screen.size() != static_cast<size_t>(png.Width()) * png.Height()) return -1;
        int differ = 0;
        for (int y = 0; y < png.Height(); ++y)
            for (int x = 0; x < png.Width(); ++x)
                differ += screen[static_cast<size_t>(y) * png.Width() + x] != png.Pixel(x, y) ? 1 : 0;
        return differ;
    }
    // The pixels in which two pictures of the same size differ.
    static int Differences(const testsupport::PngImage& a, const testsupport::PngImage& b)
    {
        if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
        int differ = 0;
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x) differ += a.Pixel(x, y) != b.Pixel(x, y) ? 1 : 0;
        return differ;
    }

    std::string m_record;
};

}  // namespace

TEST_F(HostShowTest, ThePaneOnTheScreenIsItsHeadlessImageAndTheManagersCloseEndsShowWithZero)
{
    const std::string png = m_dir.File("headless.png");
    WriteHeadlessPane({m_record, "--pane", "CWndRestRhythmWave", "--style", "1"}, png);
    if (HasFatalFailure()) return;
    const testsupport::PngImage image(png);

    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    ASSERT_TRUE(StartWavePage(server));
    // Byte for byte: the same image reaches the screen, no font is drawn apart.
    int differ = -1;
    EXPECT_TRUE(WaitFor([&] { return (differ = Differences(server, image)) == 0; })) << differ << " pixels differ";

    CloseShow(server);
}

// The RR comment page with a comment stored past the comment box's 255
// columns (130 wide Hangul, 260 columns): a click into the box, Ctrl+End,
// one Backspace and a click into another field leave 129 characters on the
// screen, drawn as the headless page draws a comment of 129. The box once
// cut the whole comment to 127 at that Backspace.
TEST_F(HostShowTest, OneBackspaceInTheRRCommentStoredPastItsLimitTakesOneCharacterOnTheScreen)
{
    // The record with comments of 130, 129 and 127 characters, each in a folder of its own.
    auto withComment = [&](int count) {
        const std::string folder = m_dir.File("comment" + std::to_string(count));
        EXPECT_EQ(0, ::mkdir(folder.c_str(), 0755));
        std::string hangul;
        for (int i = 0; i < count; ++i) hangul += "한";
        const std::string xml = std::regex_replace(
            testsupport::ReadFileBytes(SamplePath("rr_9020240401093000.xml")),
            std::regex("<Comment_content>[^<]*</Comment_content>"), "<Comment_content>" + hangul + "</Comment_content>",
            std::regex_constants::format_first_only);
        std::ofstream(folder + "/rr_9020240401093000.xml", std::ios::binary) << xml;
        std::ofstream(folder + "/rr_90.ecg", std::ios::binary) << testsupport::ReadFileBytes(SamplePath("rr_90.ecg"));
        const std::string png = m_dir.File("headless" + std::to_string(count) + ".png");
        WriteHeadlessPane({folder + "/rr_90.ecg", "--pane", "CWndRRComment", "--style", "6"}, png);
        return folder + "/rr_90.ecg";
    };
    const std::string record = withComment(130);
    withComment(129);
    withComment(127);
    if (HasFatalFailure()) return;
    const testsupport::PngImage stored(m_dir.File("headless130.png")), kept(m_dir.File("headless129.png")),
        cut(m_dir.File("headless127.png"));
    // Where the end of the comment is drawn: the pixels the three pictures do not share.
    int left = kWidth, top = kHeight, right = 0, bottom = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (stored.Pixel(x, y) != cut.Pixel(x, y)) {
                left = std::min(left, x), top = std::min(top, y);
                right = std::max(right, x + 1), bottom = std::max(bottom, y + 1);
            }
    ASSERT_LT(left, right);
    // The screen's pixels there that differ from the picture's.
    auto differences = [&](XvfbServer& server, const testsupport::PngImage& png) {
        const std::vector<uint32_t> screen = server.Grab(left, top, right - left, bottom - top);
        int differ = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                differ += screen[static_cast<size_t>(y - top) * (right - left) + (x - left)] != png.Pixel(x, y);
        return differ;
    };

    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    ASSERT_TRUE(StartShow(server, {record, "--pane", "CWndRRComment", "--style", "6"}));
    ASSERT_TRUE(WaitForWindows(server, 1)) << ShowErrors();
    int differ = -1;
    ASSERT_TRUE(WaitFor([&] { return (differ = differences(server, stored)) == 0; })) << differ << " pixels differ";
    ASSERT_TRUE(server.Input({"mousemove", std::to_string((left + right) / 2), std::to_string((top + bottom) / 2),
                              "click", "1", "key",
                              "ctrl+End", "key", "BackSpace"}));
    // The patient ID field at the top left of the page.
    ASSERT_TRUE(server.Input({"mousemove", "230", "24", "click", "1"}));
    EXPECT_TRUE(WaitFor([&] { return (differ = differences(server, kept)) == 0; }))
        << differ << " pixels differ from the comment of 129; " << differences(server, cut)
        << " from the comment cut to 127";
    CloseShow(server);
}

TEST_F(HostShowTest, TheSerialRhythmPageShowsTheSeriesAndItsChestButtonClickedOnTheScreenShowsTheChestLeads)
{
    // Two resting records compared, as the pane command draws them: first
    // as shown, then with 胸部 pressed.
    const std::vector<std::string> series = {m_record, SamplePath("rest12_80.ecg")};
    auto headless = [&](const std::string& png, const std::vector<std::string>& more) {
        std::vector<std::string> args = {"pane"};
        args.insert(args.end(), series.begin(), series.end());
        args.insert(args.end(), {"--pane", "CWndRestSerialComRhy", "--png", png});
        args.insert(args.end(), more.begin(), more.end());
        return Host(args);
    };
    const std::string limbPng = m_dir.File("limb.png");
    const std::string chestPng = m_dir.File("chest.png");
    HostRun run = headless(limbPng, {});
    ASSERT_EQ(0, run.status) << run.err;
    run = headless(chestPng, {"--click", "3482"});
    ASSERT_EQ(0, run.status) << run.err;
    const testsupport::PngImage limb(limbPng);
    const testsupport::PngImage chest(chestPng);
    ASSERT_TRUE(limb.Ok() && chest.Ok());
    ASSERT_GT(Differences(limb, chest), 1000) << "the chest leads are a page of their own";

    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    std::vector<std::string> args = series;
    args.insert(args.end(), {"--pane", "CWndRestSerialComRhy"});
    ASSERT_TRUE(StartShow(server, args));
    int differ = -1;
    ASSERT_TRUE(WaitWhileShowing([&] { return (differ = Differences(server, limb)) == 0; }))
        << differ << " pixels differ; " << ShowErrors();
    // 胸部, at the middle of the page's top.
    ASSERT_TRUE(server.Input({"mousemove", "806", "30", "click", "1"}));
    EXPECT_TRUE(WaitWhileShowing([&] { return (differ = Differences(server, chest)) == 0; }))
        << differ << " pixels differ";
    CloseShow(server);
}

TEST_F(HostShowTest, ASeriesHoldingARecordThatIsNeitherRestingNorMferIsRefusedAndNothingIsShown)
{
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    const std::string rhythm = SamplePath("rhythm_90.ecg");
    ASSERT_TRUE(StartShow(server, {m_record, rhythm, "--pane", "CWndRestSerialComAve"}));
    EXPECT_EQ(1, m_show.Wait(kPatience));
    EXPECT_NE(std::string::npos, ShowErrors().find(rhythm + " is neither a resting nor an MFER record")) << ShowErrors();
    EXPECT_TRUE(server.MappedWindows().empty());
}

TEST_F(HostShowTest, ASeriesOfOnlyRecordsTheComparisonLeavesOutEndsOneNamingThemAndNothingIsShown)
{
    const std::string threeLeads = m_dir.File("three.mwf");
    MakeRecords({"mfer", "--kind", "plain", "--leads", "3", "--out", threeLeads});
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    ASSERT_TRUE(StartShow(server, {threeLeads, "--pane", "CWndRestSerialComRhy"}));
    EXPECT_EQ(1, m_show.Wait(kPatience));
    EXPECT_NE(std::string::npos, ShowErrors().find(threeLeads + ": left out of the serial comparison")) << ShowErrors();
    EXPECT_TRUE(server.MappedWindows().empty());
}

// Without its record XML an RR record has no RR analysis: its result page,
// made of nothing else, is refused as the pane command refuses it, and its
// comment page shows on the screen as the pane command draws it, without the
// empty interval list.
TEST_F(HostShowTest, APageARecordWithoutItsRecordXmlHasNothingForIsRefusedAndAnotherShownWithoutItsEmptyViews)
{
    ASSERT_EQ(0, ::mkdir(m_dir.File("alone").c_str(), 0755));
    const std::string alone = m_dir.Write("alone/rr_90.ecg", testsupport::ReadFileBytes(SamplePath("rr_90.ecg")));
    const std::string png = m_dir.File("comment.png");
    WriteHeadlessPane({alone, "--pane", "CWndRRComment"}, png);
    if (HasFatalFailure()) return;
    const testsupport::PngImage image(png);

    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    ASSERT_TRUE(StartShow(server, {alone, "--pane", "CWndRRResult"}));
    EXPECT_EQ(1, m_show.Wait(kPatience));
    EXPECT_NE(std::string::npos, ShowErrors().find(alone + ": CWndRRResult has nothing of this record to show"))
        << ShowErrors();
    EXPECT_NE(std::string::npos, ShowErrors().find("record XML")) << ShowErrors();
    EXPECT_TRUE(server.MappedWindows().empty());

    ASSERT_TRUE(StartShow(server, {alone, "--pane", "CWndRRComment"}));
    int differ = -1;
    EXPECT_TRUE(WaitWhileShowing([&] { return (differ = Differences(server, image)) == 0; }))
        << differ << " pixels differ";
    CloseShow(server);
}

// A sheet that cannot edit the record would open with no page at all, as if
// the record held no patient data: the host names the reason instead.
TEST_F(HostShowTest, APatientSheetThatDoesNotTakeTheRecordEndsOneSayingWhyAndNothingIsShown)
{
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    ASSERT_TRUE(StartShow(server, {m_record, "--dialog", "CDlgInfoCommentGeneral"}));
    EXPECT_EQ(1, m_show.Wait(kPatience));
    EXPECT_NE(std::string::npos, ShowErrors().find("CDlgInfoCommentGeneral does not take this record")) << ShowErrors();
    EXPECT_TRUE(server.MappedWindows().empty());
}

TEST_F(HostShowTest, ADoubleClickOnTheStripOpensItsDialogAsASecondWindowThatEscapeCloses)
{
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    ASSERT_TRUE(StartWavePage(server));
    ASSERT_TRUE(WaitForWindows(server, 1));
    // The one-lead strip across the foot of the page.
    ASSERT_TRUE(server.Input({"mousemove", "960", "960", "click", "--repeat", "2", "--delay", "60", "1"}));
    EXPECT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 2; })) << ShowErrors();
    ASSERT_TRUE(server.Input({"key", "Escape"}));
    EXPECT_TRUE(WaitFor([&] { return server.MappedWindows().size() == 1; }));
    // The page still runs: its frame closes it as before.
    CloseShow(server);
}

TEST_F(HostShowTest, TheMagnifiersPictureFollowsThePointerOverTheLeads)
{
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    StartShowWithMagnifier(server);
    if (HasFatalFailure()) return;
    // The magnifier stands at the top right, 400 x 200.
    auto picture = [&] { return server.Grab(kWidth - 400, 0, 400, 200); };
    auto inked = [](const std::vector<uint32_t>& pixels) {
        int n = 0;
        for (uint32_t rgb : pixels) n += testsupport::PngImage::IsDark(rgb) ? 1 : 0;
        return n;
    };
    const std::vector<uint32_t> before = picture();
    // Over lead II, then over lead V2 of the page.
    ASSERT_TRUE(server.Input({"mousemove", "300", "450"}));
    std::vector<uint32_t> first;
    EXPECT_TRUE(WaitFor([&] { return (first = picture()) != before && inked(first) > 200; })) << inked(first);
    ASSERT_TRUE(server.Input({"mousemove", "1200", "450"}));
    std::vector<uint32_t> second;
    EXPECT_TRUE(WaitFor([&] { return (second = picture()) != first && inked(second) > 200; })) << inked(second);
    server.AskToClose(server.MappedWindows().front());
    EXPECT_EQ(0, m_show.Wait(kPatience)) << ShowErrors();
}

TEST_F(HostShowTest, TheMagnifierIsDraggedByThePointerAndStaysOnTheScreen)
{
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    StartShowWithMagnifier(server);
    if (HasFatalFailure()) return;
    const xcb_window_t magnifier = server.MappedWindows().back();
    int x = 0;
    int y = 0;
    auto at = [&](int wantX, int wantY) { return server.Origin(magnifier, x, y) && x == wantX && y == wantY; };
    ASSERT_TRUE(at(kWidth - 400, 0));
    // Held at a point of its picture and moved 720 left and 400 down, in
    // steps faster than the window follows: the capture keeps the moves.
    ASSERT_TRUE(server.Input({"mousemove", "1720", "100", "mousedown", "1", "mousemove", "1500", "200", "mousemove",
                              "1200", "400", "mousemove", "1000", "500", "mouseup", "1"}));
    EXPECT_TRUE(WaitFor([&] { return at(kWidth - 400 - 720, 400); })) << x << "," << y;
    // Pulled against the right edge it stops with its edge on the screen's.
    ASSERT_TRUE(server.Input({"mousedown", "1", "mousemove", "1919", "500", "mouseup", "1"}));
    EXPECT_TRUE(WaitFor([&] { return at(kWidth - 400, 400); })) << x << "," << y;
    server.AskToClose(server.MappedWindows().front());
    EXPECT_EQ(0, m_show.Wait(kPatience)) << ShowErrors();
}

TEST_F(HostShowTest, TheServerGoingAwayEndsShowWithOneAndWritesNoRecord)
{
    const std::vector<std::string> before = testsupport::FolderEntries(m_dir.File("samples"));
    const std::string xml = SamplePath("rest12_9020240401093000.xml");
    const std::string xmlBefore = testsupport::ReadFileBytes(xml);
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    ASSERT_TRUE(StartWavePage(server));
    ASSERT_TRUE(WaitForWindows(server, 1));
    server.Stop();
    EXPECT_EQ(1, m_show.Wait(kPatience));
    EXPECT_NE(std::string::npos, ShowErrors().find("display was lost")) << ShowErrors();
    EXPECT_EQ(before, testsupport::FolderEntries(m_dir.File("samples")));
    EXPECT_EQ(xmlBefore, testsupport::ReadFileBytes(xml));
}

TEST_F(HostShowTest, WithoutAReachableDisplayShowSaysSoAndEndsWithOne)
{
    const HostRun run = Host({"show", m_record, "--pane", "CWndRestRhythmWave", "--display", ":4093"});
    EXPECT_EQ(1, run.status);
    EXPECT_NE(std::string::npos, run.err.find("cannot open the display :4093")) << run.err;
}

namespace {

// A point of the patient sheet at 1920 x 1080, from its top left: the name
// field (氏名) and the 取消 button.
const int kNameFieldX = 194;
const int kNameFieldY = 151;
const int kCancelX = 616;
const int kCancelY = 616;

// Inside the name field, from the sheet's top left: where its text goes.
const int kNameTextLeft = 110;
const int kNameTextTop = 143;
const int kNameTextWidth = 170;
const int kNameTextHeight = 17;
// An empty field shows at most its caret, a bar of one pixel.
const int kCaretInk = kNameTextHeight;

class HostShowSheetTest : public HostShowTest {
protected:
    // The dark pixels of the name field's text (and caret) on the screen.
    static int NameInk(XvfbServer& server, int left, int top)
    {
        int ink = 0;
        for (uint32_t rgb :
             server.Grab(left + kNameTextLeft, top + kNameTextTop, kNameTextWidth, kNameTextHeight))
            ink += testsupport::PngImage::IsDark(rgb) ? 1 : 0;
        return ink;
    }
    // The sheet on the test's server, its name field clicked and emptied.
    void ClearName(XvfbServer& server, int& left, int& top)
    {
        ASSERT_TRUE(StartShow(server, {m_record, "--dialog", "CDlgPatientInfoComment", "--user", "編集者"}));
        ASSERT_TRUE(WaitForWindows(server, 1)) << ShowErrors();
        ASSERT_TRUE(server.Origin(server.MappedWindows().front(), left, top));
        ASSERT_TRUE(server.Input({"mousemove", std::to_string(left + kNameFieldX), std::to_string(top + kNameFieldY),
                                  "click", "1", "key", "End", "key", "--repeat", "10", "BackSpace"}));
    }
    // The sheet, a name typed into its name field.
    void TypeName(XvfbServer& server, int& left, int& top)
    {
        ClearName(server, left, top);
        if (HasFatalFailure()) return;
        ASSERT_TRUE(server.Input({"type", "Suzuki Ichiro"}));
    }
};

}  // namespace

TEST_F(HostShowSheetTest, ANameTypedIntoThePatientSheetIsSavedWithItsUpdateButton)
{
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    int left = 0;
    int top = 0;
    TypeName(server, left, top);
    // Return presses the default button, 更新; the editor prompt that
    // follows takes its preselected name with Return too.
    ASSERT_TRUE(server.Input({"key", "Return"}));
    ASSERT_TRUE(WaitForWindows(server, 2)) << ShowErrors();
    ASSERT_TRUE(server.Input({"key", "Return"}));
    EXPECT_EQ(0, m_show.Wait(kPatience)) << ShowErrors();
    EXPECT_NE(std::string::npos, ShowOutput().find("saved"));
    EXPECT_NE(std::string::npos, testsupport::ReadFileBytes(SamplePath("rest12_9020240401093000.xml"))
                                     .find("<Patient_name>Suzuki Ichiro</Patient_name>"));
}

TEST_F(HostShowSheetTest, ANameComposedThroughTheInputMethodIsSavedInJapanese)
{
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    displaytest::InputMethodServer method;
    START_INPUT_METHOD(method, server);
    displaytest::InputMethodServer::Named named;
    int left = 0;
    int top = 0;
    ClearName(server, left, top);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(WaitFor([&] { return NameInk(server, left, top) <= kCaretInk; })) << "the name field never emptied";
    // The method composes once Ctrl+Space turned it on: its window shows
    // the romaji typed, and the field nothing yet. Until the sheet is
    // talking to it the key passes by it into the field, and the method is
    // still off: it is taken back and the two keys tried again.
    auto composing = [&] { return server.MappedWindows().size() == 2; };
    bool composed = false;
    for (int attempt = 0; attempt < 20 && !composed; ++attempt) {
        ASSERT_TRUE(server.Input({"key", "ctrl+space", "type", "s"}));
        ASSERT_TRUE(WaitFor([&] { return composing() || NameInk(server, left, top) > kCaretInk; }))
            << "the key neither composed nor reached the field" << ShowErrors();
        composed = composing();
        if (!composed) {
            ASSERT_TRUE(server.Input({"key", "BackSpace"}));
            ASSERT_TRUE(WaitFor([&] { return NameInk(server, left, top) <= kCaretInk; }));
        }
    }
    ASSERT_TRUE(composed) << "the input method never composed" << ShowErrors();
    // Return commits the composition into the field; the next presses
    // 更新, and the one after takes the editor prompt's preselected name.
    ASSERT_TRUE(server.Input({"type", "uzuki"}));
    ASSERT_TRUE(server.Input({"key", "Return"}));
    ASSERT_TRUE(WaitFor([&] { return !composing() && NameInk(server, left, top) > kCaretInk; }))
        << "the composition was not committed into the field";
    ASSERT_TRUE(server.Input({"key", "Return"}));
    ASSERT_TRUE(WaitFor([&] { return server.MappedWindows(true).size() == 2; })) << ShowErrors();
    ASSERT_TRUE(server.Input({"key", "Return"}));
    EXPECT_EQ(0, m_show.Wait(kPatience)) << ShowErrors();
    EXPECT_NE(std::string::npos, testsupport::ReadFileBytes(SamplePath("rest12_9020240401093000.xml"))
                                     .find("<Patient_name>すずき</Patient_name>"));
}

TEST_F(HostShowSheetTest, AKeyTheServerStillSendsToTheSheetWhenItsPromptIsUpReachesThePromptThroughTheInputMethod)
{
    // Capitals typed through the method: Shift is let go of long before
    // the method hands the letters back. Then the server moves its focus to
    // a pop-up a moment after the pop-up came up; a key typed meanwhile
    // arrives at the sheet, whose input context the method has already been
    // told lost the focus.
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    displaytest::InputMethodServer method;
    START_INPUT_METHOD(method, server);
    displaytest::InputMethodServer::Named named;
    int left = 0;
    int top = 0;
    TypeName(server, left, top);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(WaitFor([&] { return NameInk(server, left, top) > kCaretInk; })) << ShowErrors();
    const xcb_window_t sheet = server.MappedWindows().front();
    ASSERT_TRUE(server.Input({"key", "Return"}));
    ASSERT_TRUE(WaitFor([&] { return server.MappedWindows(true).size() == 2; })) << ShowErrors();
    // The focus is put back on the sheet and Return typed in one go, before
    // the host can move the focus on again.
    ASSERT_TRUE(server.Input({"windowfocus", std::to_string(sheet), "key", "Return"}));
    EXPECT_EQ(0, m_show.Wait(kPatience)) << ShowErrors();
    EXPECT_NE(std::string::npos, testsupport::ReadFileBytes(SamplePath("rest12_9020240401093000.xml"))
                                     .find("<Patient_name>Suzuki Ichiro</Patient_name>"));
}

TEST_F(HostShowSheetTest, CancellingThePatientSheetLeavesTheRecordXmlByteForByte)
{
    const std::string xml = SamplePath("rest12_9020240401093000.xml");
    const std::string before = testsupport::ReadFileBytes(xml);
    XvfbServer server;
    START_XVFB(server, kWidth, kHeight);
    int left = 0;
    int top = 0;
    TypeName(server, left, top);
    ASSERT_TRUE(server.Input({"mousemove", std::to_string(left + kCancelX), std::to_string(top + kCancelY), "click",
                              "1"}));
    EXPECT_EQ(0, m_show.Wait(kPatience)) << ShowErrors();
    EXPECT_NE(std::string::npos, ShowOutput().find("closed"));
    EXPECT_EQ(before, testsupport::ReadFileBytes(xml));
}

// The measurement page's update asks who edits, listing the user show acts
// for; its OK stamps the measurements with that name. Without the user the
// prompt listed nobody, and the OK stamped an empty name over the stored one.
TEST_F(HostShowTest, TheMeasurementPagesUpdateStampsTheEditWithTheUserShowActsFor)
{
    const std::string xml = SamplePath("rest12_9020240401093000.xml");
    const CString editor = L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Editor_name";
    ASSERT_EQ(CString(L"高橋 誠"), testsupport::ReadXmlValue(xml, editor));
    XvfbServer server;
    START_XVFB(server, 1024, 768);
    ASSERT_TRUE(StartShow(server, {m_record, "--pane", "CWndRestDetailMeas", "--user", "編集者"}));
    ASSERT_TRUE(WaitForWindows(server, 1)) << ShowErrors();
    // The P amplitude of lead I, emptied and typed anew; then 更新.
    ASSERT_TRUE(server.Input({"mousemove", "460", "57", "click", "1", "key", "End", "key", "--repeat", "4",
                              "BackSpace", "type", "95"}));
    ASSERT_TRUE(server.Input({"mousemove", "883", "491", "click", "1"}));
    ASSERT_TRUE(WaitForWindows(server, 2)) << ShowErrors();
    // The prompt's entry 0, taken with Return, is the one name it lists.
    ASSERT_TRUE(server.Input({"key", "Return"}));
    ASSERT_TRUE(WaitForWindows(server, 1)) << ShowErrors();
    CloseShow(server);
    EXPECT_EQ(CString(L"編集者"), testsupport::ReadXmlValue(xml, editor));
}

namespace {

// A dialog class of the dialog command, how show is ended, and the pixels
// that may differ from its headless image: the phrase editor's comment box
// has the focus, and its caret blinks on the real clock (a 1 x 16 bar, shown
// or not when the screen is read).
struct ShownDialog {
    const char* name;
    bool escape;   // Escape, else the window manager's close
    int caret;
};

}  // namespace

TEST_F(HostShowTest, DialogsOfTheDialogCommandShowOnTheScreenAsTheirHeadlessImagesUntilClosed)
{
    // The dialogs size themselves to the screen: the headless desktop's.
    XvfbServer server;
    START_XVFB(server, 1024, 768);
    for (const ShownDialog& dialog : {ShownDialog{"CDlgEnlargedWave", true, 0}, ShownDialog{"CDlgDivider", false, 0},
                                      ShownDialog{"CDlgEditComment", true, 16}}) {
        SCOPED_TRACE(dialog.name);
        const std::string png = m_dir.File(std::string(dialog.name) + ".png");
        const HostRun headless = Host({"dialog", m_record, "--dialog", dialog.name, "--png", png});
        ASSERT_EQ(0, headless.status) << headless.err;
        const testsupport::PngImage image(png);
        ASSERT_TRUE(image.Ok());

        ASSERT_TRUE(StartShow(server, {m_record, "--dialog", dialog.name}));
        ASSERT_TRUE(WaitForWindows(server, 1)) << ShowErrors();
        const xcb_window_t window = server.MappedWindows().front();
        int left = 0;
        int top = 0;
        ASSERT_TRUE(server.Origin(window, left, top));
        int differ = -1;
        EXPECT_TRUE(WaitFor([&] {
            differ = Differences(server, image, left, top);
            return differ >= 0 && differ <= dialog.caret;
        })) << differ << " pixels differ";
        if (dialog.escape)
            ASSERT_TRUE(server.Input({"key", "Escape"}));
        else
            server.AskToClose(window);
        EXPECT_EQ(0, m_show.Wait(kPatience)) << ShowErrors();
        EXPECT_TRUE(WaitFor([&] { return server.MappedWindows().empty(); }));
    }
}

TEST_F(HostShowTest, ShowRefusesADialogClassTheDialogCommandDoesNotKnow)
{
    const HostRun run = Host({"show", m_record, "--dialog", "CDlgNoSuchThing", "--display", ":4093"});
    EXPECT_EQ(2, run.status);
    EXPECT_NE(std::string::npos, run.err.find("no dialog class CDlgNoSuchThing")) << run.err;
}
