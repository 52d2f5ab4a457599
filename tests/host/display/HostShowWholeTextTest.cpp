// Texts of the patient sheets on a screen of the test's own, at the large
// and the small screen size: every caption of the general sheet's two pages
// stands whole on its line (no character cut or wrapped below) with a blank
// before the field it names, and the box that refuses a value shows its
// whole text, and a stored ID past its limit is saved whole after a
// person's undo. The pointer and the keys go through XTEST.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>
#include <utility>
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

struct ScreenSize {
    int width, height;
};

// The patient pages' font on a screen of the width, as the pages choose it
// (the larger one from 1281 pixels across).
void PageFont(CFont& font, int screenWidth)
{
    font.CreateFont(screenWidth >= 1281 ? 16 : 14, 0, 0, 0, 400, FALSE, FALSE, FALSE, 134, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, PROOF_QUALITY, 18, L"simsun");
}

// The general patient page's captions that name a field, as a master-step
// record with counted trips and a request section shows them all.
const wchar_t* const kGeneralCaptions[] = {
    L"ID",       L"サブＩＤ", L"氏名",     L"カナ氏名", L"性別",     L"年齢",     L"生年月日", L"身長",
    L"体重",     L"血圧",     L"トリップ数", L"投薬情報1", L"投薬情報2", L"自覚症状", L"既往症",   L"病棟",
    L"所属科",   L"依頼科",   L"依頼医師", L"検査技師", L"部屋番号", L"総合判定", L"コメント",
};
// The additional-information page's captions before the login's name and time.
const wchar_t* const kAdditionCaptions[] = {L"ログイン者名:", L"ログイン日時:"};

class HostShowWholeTextTest : public showtest::HostShowFixture,
                              public ::testing::WithParamInterface<ScreenSize> {
protected:
    // Shows the sheet and waits for it; its place on the screen.
    void StartSheet(XvfbServer& server, const std::vector<std::string>& args, int& left, int& top)
    {
        ASSERT_TRUE(StartShow(server, args));
        ASSERT_TRUE(WaitForWindows(server, 1)) << ShowErrors();
        ASSERT_TRUE(server.Origin(server.MappedWindows().front(), left, top));
    }
    // The captions that do not stand whole in the window's picture, or
    // that run into what follows them: their text then has no blank of a
    // narrow character after it.
    static std::vector<std::string> CaptionsNotWhole(const Picture& window, CFont& font,
                                                     const std::vector<const wchar_t*>& captions, bool clearAfter)
    {
        CDC dc;
        dc.Attach(platform::gdi::CreateImageDC(8, 8));
        TEXTMETRICW metrics = {};
        {
            CDCObjectSelector<CFont> selected(dc, &font);
            dc.GetTextMetrics(&metrics);
        }
        std::vector<std::string> missing;
        for (const wchar_t* caption : captions) {
            const Picture text = showtest::DrawnText(caption, font);
            const POINT at = FindText(window, text);
            if (at.x < 0) {
                missing.push_back(testsupport::Utf8(caption) + " not found whole");
            } else if (clearAfter && showtest::InkIn(window, at.x + text.width,
                                                     at.y, at.x + text.width + metrics.tmAveCharWidth,
                                                     at.y + text.height)) {
                missing.push_back(testsupport::Utf8(caption) + " runs into what follows it");
            }
        }
        return missing;
    }
    // Waits until every caption stands whole (the sheet may still be
    // painting), then says which did not.
    std::vector<std::string> WaitForCaptions(XvfbServer& server, CFont& font,
                                             const std::vector<const wchar_t*>& captions, bool clearAfter)
    {
        std::vector<std::string> missing;
        WaitWhileShowing([&] {
            missing = CaptionsNotWhole(showtest::GrabWindow(server, server.MappedWindows().front()), font, captions, clearAfter);
            return missing.empty();
        });
        return missing;
    }
};

class HostShowWholeIdTest : public showtest::HostShowFixture {};

}  // namespace

TEST_P(HostShowWholeTextTest, EveryCaptionOfTheGeneralSheetsPagesStandsWholeBeforeItsField)
{
    const ScreenSize size = GetParam();
    hosttest::MakeRecords({"examinations", m_dir.File("examinations")});
    XvfbServer server;
    START_XVFB(server, size.width, size.height);
    int left = 0, top = 0;
    StartSheet(server, {m_dir.File("examinations/mstep243.ecg"), "--dialog", "CDlgInfoCommentGeneral"}, left, top);
    if (HasFatalFailure()) return;
    CFont font;
    PageFont(font, size.width);
    const std::vector<const wchar_t*> general(std::begin(kGeneralCaptions), std::end(kGeneralCaptions));
    EXPECT_EQ(std::vector<std::string>(), WaitForCaptions(server, font, general, true));
    EXPECT_EQ(std::vector<std::string>(), WaitForCaptions(server, font, {L"定型文入力"}, false));

    // The additional-information page's tab, from the sheet's top left (the
    // sheet's controls stand in units of its template's font, alike on both
    // screens).
    ASSERT_TRUE(server.Input({"mousemove", std::to_string(left + 125), std::to_string(top + 45), "click", "1"}));
    const std::vector<const wchar_t*> additions(std::begin(kAdditionCaptions), std::end(kAdditionCaptions));
    EXPECT_EQ(std::vector<std::string>(), WaitForCaptions(server, font, additions, true));
    EXPECT_EQ(std::vector<std::string>(), WaitForCaptions(server, font, {L"定型文入力"}, false));

    ASSERT_TRUE(server.Input({"key", "Escape"}));
    EXPECT_EQ(0, m_show.Wait(displaytest::kPatience)) << ShowErrors();
}

TEST_P(HostShowWholeTextTest, TheBoxRefusingABirthMonthShowsItsWholeText)
{
    const ScreenSize size = GetParam();
    XvfbServer server;
    START_XVFB(server, size.width, size.height);
    int left = 0, top = 0;
    StartSheet(server, {SamplePath("rest12_90.ecg"), "--dialog", "CDlgPatientInfoComment", "--user", "編集者"},
               left, top);
    if (HasFatalFailure()) return;
    // The birth month's field, from the sheet's top left (the sheet's
    // controls stand in units of its template's font, alike on both screens).
    ASSERT_TRUE(server.Input({"mousemove", std::to_string(left + 178), std::to_string(top + 281), "click", "1",
                              "key", "End", "key", "--repeat", "2", "BackSpace"}));
    ASSERT_TRUE(server.Input({"type", "13"}));
    ASSERT_TRUE(server.Input({"key", "Return"}));
    ASSERT_TRUE(WaitForWindows(server, 2)) << ShowErrors();
    const xcb_window_t box = server.MappedWindows().back();
    CFont font;
    showtest::MessageBoxFont(font);
    const Picture text = showtest::DrawnText(L"生年月日 月 must be between 1 and 12 !", font);
    POINT at = {-1, -1};
    EXPECT_TRUE(WaitFor([&] { return (at = FindText(showtest::GrabWindow(server, box), text)).x >= 0; }))
        << "the refusal's text is not whole in its box";
    // Return answers the box; Escape then closes the sheet unsaved.
    ASSERT_TRUE(server.Input({"key", "Return"}));
    ASSERT_TRUE(WaitForWindows(server, 1)) << ShowErrors();
    ASSERT_TRUE(server.Input({"key", "Escape"}));
    EXPECT_EQ(0, m_show.Wait(displaytest::kPatience)) << ShowErrors();
    EXPECT_NE(std::string::npos, ShowOutput().find("closed"));
}

// A patient ID stored past its field's 20 characters, corrected by a
// person as one is: four letters typed over with one, then Ctrl+Z. The
// save (of a new name) keeps the ID whole, as stored (the undo was once
// taken as typed and cut to "HO-2024-000123456789").
TEST_F(HostShowWholeIdTest, AnIdStoredPastItsLimitIsSavedWholeAfterATypeOverIsUndone)
{
    const std::string xml = SamplePath("rest12_9020240401093000.xml");
    const std::string stored = "HOSP-2024-000123456789";
    const std::string text = std::regex_replace(testsupport::ReadFileBytes(xml),
                                                std::regex("<Patient_id>[^<]*</Patient_id>"),
                                                "<Patient_id>" + stored + "</Patient_id>");
    std::ofstream(xml, std::ios::binary) << text;
    XvfbServer server;
    START_XVFB(server, showtest::kWidth, showtest::kHeight);
    ASSERT_TRUE(StartShow(server, {SamplePath("rest12_90.ecg"), "--dialog", "CDlgPatientInfoComment", "--user",
                                   "高橋"}));
    ASSERT_TRUE(WaitForWindows(server, 1)) << ShowErrors();
    int left = 0, top = 0;
    ASSERT_TRUE(server.Origin(server.MappedWindows().front(), left, top));
    // The ID's field and the name's, from the sheet's top left.
    ASSERT_TRUE(server.Input({"mousemove", std::to_string(left + 194), std::to_string(top + 86), "click", "1",
                              "key", "Home", "key", "--repeat", "4", "shift+Right", "type", "Q"}));
    ASSERT_TRUE(server.Input({"key", "ctrl+z"}));
    ASSERT_TRUE(server.Input({"mousemove", std::to_string(left + 194), std::to_string(top + 151), "click", "1",
                              "key", "End", "key", "--repeat", "10", "BackSpace", "type", "Suzuki Ichiro"}));
    // Return on the default button (更新), and again in the editor prompt.
    ASSERT_TRUE(server.Input({"key", "Return"}));
    ASSERT_TRUE(WaitForWindows(server, 2)) << ShowErrors();
    ASSERT_TRUE(server.Input({"key", "Return"}));
    EXPECT_EQ(0, m_show.Wait(displaytest::kPatience)) << ShowErrors();
    const std::string saved = testsupport::ReadFileBytes(xml);
    EXPECT_NE(std::string::npos, saved.find("<Patient_name>Suzuki Ichiro</Patient_name>")) << ShowOutput();
    EXPECT_NE(std::string::npos, saved.find("<Patient_id>" + stored + "</Patient_id>"))
        << std::regex_replace(saved, std::regex("[\\s\\S]*(<Patient_id>[^<]*</Patient_id>)[\\s\\S]*"), "$1");
}

INSTANTIATE_TEST_SUITE_P(LargeAndSmallScreen, HostShowWholeTextTest,
                         ::testing::Values(ScreenSize{1920, 1080}, ScreenSize{1024, 768}),
                         [](const ::testing::TestParamInfo<ScreenSize>& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });
