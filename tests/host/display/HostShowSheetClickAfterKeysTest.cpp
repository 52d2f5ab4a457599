// A sub ID typed into the general sheet of a rhythm record through a slow
// input method, and a click into the name field at once: the sub ID's keys
// are with the method when the click comes, and must still reach the sub ID
// field, not the name field the click moves to, however late the method
// answers. The host's "show" runs on an X server of the test's own with
// fcitx5 and Anthy; the pointer and keyboard go through XTEST, and the method
// is held still while the click is given. A method stopped for longer than the
// display waits for it leaves the field clicked into with its own keys only.
#include <gtest/gtest.h>

#include <xcb/xcb.h>
// The XKB header names a member `explicit`, which C++ reserves.
#define explicit xkb_explicit
#include <xcb/xkb.h>
#undef explicit

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/ui/display/MethodKeys.h"
#include "tests/host/HostSamples.h"
#include "tests/host/display/HostShowFixture.h"
#include "tests/support/InputMethodServer.h"
#include "tests/support/PngImage.h"
#include "tests/support/XvfbTest.h"

using displaytest::kPatience;
using platform::ui::display::MethodKeys;
using displaytest::WaitFor;
using displaytest::XvfbServer;

namespace {

// Points of the general sheet at 1920 x 1080, from its top left: inside the
// sub ID field (サブＩＤ) and the name field (氏名), and where their text goes.
const int kSubIdX = 194, kSubIdY = 108;
const int kNameX = 194, kNameY = 139;
const int kTextLeft = 120, kSubIdTextTop = 100, kNameTextTop = 131, kTextWidth = 145, kTextHeight = 18;
// An empty field shows at most its caret, a bar of one pixel.
const int kCaretInk = kTextHeight;
// The colour of selected text's ground.
const uint32_t kHighlight = 0x0A246A;

// The display's bell, as XKB tells a client of the server of its own.
class Bell {
public:
    explicit Bell(const std::string& display) : m_connection(xcb_connect(display.c_str(), nullptr))
    {
        if (xcb_connection_has_error(m_connection)) return;
        const xcb_query_extension_reply_t* xkb = xcb_get_extension_data(m_connection, &xcb_xkb_id);
        xcb_xkb_use_extension_reply_t* used =
            xcb_xkb_use_extension_reply(m_connection, xcb_xkb_use_extension(m_connection, 1, 0), nullptr);
        m_ready = xkb && xkb->present && used && used->supported;
        std::free(used);
        if (!m_ready) return;
        m_eventBase = xkb->first_event;
        xcb_xkb_select_events(m_connection, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_EVENT_TYPE_BELL_NOTIFY, 0,
                              XCB_XKB_EVENT_TYPE_BELL_NOTIFY, 0, 0, nullptr);
        xcb_flush(m_connection);
    }
    ~Bell() { xcb_disconnect(m_connection); }
    Bell(const Bell&) = delete;
    Bell& operator=(const Bell&) = delete;
    bool Ready() const { return m_ready; }
    // True when it rang since it was last asked.
    bool Rang()
    {
        bool rang = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            const auto* xkb = reinterpret_cast<const xcb_xkb_bell_notify_event_t*>(event);
            rang = rang || ((event->response_type & 0x7F) == m_eventBase && xkb->xkbType == XCB_XKB_BELL_NOTIFY);
            std::free(event);
        }
        return rang;
    }

private:
    xcb_connection_t* m_connection;
    bool m_ready = false;
    uint8_t m_eventBase = 0;
};

// The text of the record XML's element `name`; "(none)" where it has none.
std::string Element(const std::string& xml, const std::string& name)
{
    if (xml.find("<" + name + "/>") != std::string::npos) return "";
    const size_t open = xml.find("<" + name + ">");
    const size_t close = xml.find("</" + name + ">");
    if (open == std::string::npos || close == std::string::npos || close < open) return "(none)";
    return xml.substr(open + name.size() + 2, close - open - name.size() - 2);
}

class HostShowSheetClickAfterKeysTest : public showtest::HostShowFixture {
protected:
    // The pixels of the field's text at `top` on the screen that `count` counts.
    int Count(XvfbServer& server, int top, const std::function<bool(uint32_t)>& count) const
    {
        int counted = 0;
        for (uint32_t rgb : server.Grab(m_left + kTextLeft, m_top + top, kTextWidth, kTextHeight))
            counted += count(rgb) ? 1 : 0;
        return counted;
    }
    // The dark pixels of the sub ID field's text (and caret) on the screen.
    int SubIdInk(XvfbServer& server) const { return Count(server, kSubIdTextTop, testsupport::PngImage::IsDark); }
    // The dark pixels of the name field's text (and caret) on the screen.
    int NameInk(XvfbServer& server) const { return Count(server, kNameTextTop, testsupport::PngImage::IsDark); }
    // Whether a word of the name field shows selected.
    bool NameSelected(XvfbServer& server) const
    {
        return Count(server, kNameTextTop, [](uint32_t rgb) { return rgb == kHighlight; }) > kTextHeight * 8;
    }

    // Show of the general sheet of rhythm_90 with the method, its sub ID
    // field emptied and talking to the method: a key typed while the method
    // is held still stays with it and comes back into the field when it is
    // let go of. Until then a key passes by into the field, and the first
    // keys the method is given may come back only with later ones; they are
    // taken back and tried again. "78" is in the field then.
    void StartTypingSubId(XvfbServer& server, displaytest::InputMethodServer& method)
    {
        ASSERT_TRUE(StartShow(server, {SamplePath("rhythm_90.ecg"), "--dialog", "CDlgInfoCommentGeneral", "--user",
                                       "高橋"}));
        ASSERT_TRUE(WaitForOurWindows(server, 1)) << ShowErrors();
        ASSERT_TRUE(server.Origin(server.WindowsOfClass("morvelance").front(), m_left, m_top));
        ASSERT_TRUE(server.Input({"mousemove", std::to_string(m_left + kSubIdX), std::to_string(m_top + kSubIdY),
                                  "click", "1", "key", "End", "key", "--repeat", "12", "BackSpace"}));
        ASSERT_TRUE(WaitFor([&] { return SubIdInk(server) <= kCaretInk; })) << "the sub ID field never emptied";
        bool answering = false;
        // Tried for as long as a loaded machine takes to connect the sheet
        // and the method.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(static_cast<int>(kPatience));
        while (!answering && std::chrono::steady_clock::now() < until) {
            ASSERT_TRUE(method.Hold());
            ASSERT_TRUE(server.Input({"type", "78"}));
            const bool withMethod = !WaitFor([&] { return SubIdInk(server) > kCaretInk; }, 0.3);
            ASSERT_TRUE(method.LetGo());
            answering = withMethod && WaitFor([&] { return SubIdInk(server) > kCaretInk; }, 2);
            if (!answering) {
                ASSERT_TRUE(server.Input({"key", "End", "key", "--repeat", "3", "BackSpace"}));
                ASSERT_TRUE(WaitFor([&] { return SubIdInk(server) <= kCaretInk; }));
            }
        }
        ASSERT_TRUE(answering) << "the keys never went to the input method and back" << ShowErrors();
    }
    // Waits while show runs until `count` of its windows are on the screen.
    // The method's own windows (the mode it switches to, what it composes)
    // come and go meanwhile, and are not counted.
    bool WaitForOurWindows(XvfbServer& server, size_t count)
    {
        return WaitWhileShowing([&] { return server.WindowsOfClass("morvelance").size() == count; });
    }
    // The name typed over the old one.
    void TypeName(XvfbServer& server)
    {
        EXPECT_TRUE(server.Input({"key", "End", "key", "--repeat", "10", "BackSpace"}));
        EXPECT_TRUE(server.Input({"type", "Sato"}));
    }
    // 更新 (Return) and the editor prompt's preselected user (Return): the
    // record XML saved.
    std::string Save(XvfbServer& server)
    {
        EXPECT_TRUE(server.Input({"key", "Return"}));
        EXPECT_TRUE(WaitForOurWindows(server, 2)) << ShowErrors();
        EXPECT_TRUE(server.Input({"key", "Return"}));
        EXPECT_EQ(0, m_show.Wait(kPatience)) << ShowErrors();
        EXPECT_NE(std::string::npos, ShowOutput().find("saved")) << ShowOutput();
        return testsupport::ReadFileBytes(SamplePath("rhythm_9020240401093000.xml"));
    }

    int m_left = 0, m_top = 0;
};

}  // namespace

TEST_F(HostShowSheetClickAfterKeysTest, ASubIdTypedRightBeforeAClickIntoTheNameFieldIsSavedWhole)
{
    XvfbServer server;
    START_XVFB(server, showtest::kWidth, showtest::kHeight);
    displaytest::InputMethodServer method;
    START_INPUT_METHOD(method, server);
    displaytest::InputMethodServer::Named named;
    StartTypingSubId(server, method);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(method.Hold());
    // The rest of the sub ID, and the click into the name field at once;
    // the click has time to reach the sheet before the method answers.
    ASSERT_TRUE(server.Input({"type", "54321"}));
    ASSERT_TRUE(server.Input({"mousemove", std::to_string(m_left + kNameX), std::to_string(m_top + kNameY), "click",
                              "1"}));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_TRUE(method.LetGo());
    TypeName(server);
    const std::string after = Save(server);
    EXPECT_NE(std::string::npos, after.find("<Sub_id>7854321</Sub_id>")) << after.substr(0, 2000);
    EXPECT_NE(std::string::npos, after.find("<Patient_name>Sato</Patient_name>"));
}

// The method stopped while the last two characters are typed, past the time
// the click waits for it: the click goes to the name field, the name is typed
// there, and the method answers only then, the sub ID's keys first.
TEST_F(HostShowSheetClickAfterKeysTest, ASubIdWhoseLastKeysTheMethodAnswersOnlyAfterTheClickWasReadIsSavedWhole)
{
    XvfbServer server;
    START_XVFB(server, showtest::kWidth, showtest::kHeight);
    displaytest::InputMethodServer method;
    START_INPUT_METHOD(method, server);
    displaytest::InputMethodServer::Named named;
    StartTypingSubId(server, method);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(server.Input({"type", "543"}));
    ASSERT_TRUE(method.Hold());
    ASSERT_TRUE(server.Input({"type", "21"}));
    // A double click selects a word of the name: the sheet shows it once the
    // click is read, the method still stopped.
    ASSERT_TRUE(server.Input({"mousemove", std::to_string(m_left + kNameX), std::to_string(m_top + kNameY), "click",
                              "--repeat", "2", "--delay", "50", "1"}));
    const bool read = WaitFor([&] { return NameSelected(server); }, 30);
    if (read) TypeName(server);
    ASSERT_TRUE(method.LetGo());
    ASSERT_TRUE(read) << "the click was never read while the method was stopped";
    const std::string after = Save(server);
    EXPECT_NE(std::string::npos, after.find("<Sub_id>7854321</Sub_id>")) << after.substr(0, 2000);
    EXPECT_NE(std::string::npos, after.find("<Patient_name>Sato</Patient_name>"));
}

// The name composed in Japanese, the method stopped, the name's last kana
// typed and a click into the sub ID field: the method answers none of the
// keys the display sends it at the click in the time they are waited for.
// The display's bell rings, the name field keeps what it had (emptied), and
// what the method commits of the name's keys when it goes on lands in
// neither field: the sub ID is saved with its own keys only.
TEST_F(HostShowSheetClickAfterKeysTest, ANameAStoppedMethodNeverAnsweredBeforeAClickRingsTheBellAndLandsInNoField)
{
    XvfbServer server;
    START_XVFB(server, showtest::kWidth, showtest::kHeight);
    displaytest::InputMethodServer method;
    START_INPUT_METHOD(method, server);
    displaytest::InputMethodServer::Named named;
    StartTypingSubId(server, method);
    if (HasFatalFailure()) return;
    // The name emptied, and the method's Japanese turned on. The method
    // hands the keys back one by one, on a loaded machine long after they
    // were typed: the field shows empty only once it has answered every
    // one of them. Those it had not answered when it is stopped below
    // would be given up with the rest at the click into the sub ID.
    ASSERT_TRUE(server.Input({"mousemove", std::to_string(m_left + kNameX), std::to_string(m_top + kNameY), "click",
                              "1", "key", "End", "key", "--repeat", "10", "BackSpace"}));
    ASSERT_TRUE(WaitFor([&] { return NameInk(server) <= kCaretInk; })) << "the name field never emptied";
    ASSERT_TRUE(server.Input({"key", "ctrl+space"}));
    Bell bell(server.Display());
    ASSERT_TRUE(bell.Ready()) << "the server has no XKB";
    ASSERT_TRUE(server.Input({"type", "suzuki"}));
    ASSERT_TRUE(method.Hold());
    ASSERT_TRUE(server.Input({"type", "ko"}));
    ASSERT_TRUE(server.Input({"mousemove", std::to_string(m_left + kSubIdX), std::to_string(m_top + kSubIdY),
                              "click", "1"}));
    // However slowly the machine goes, the method is still stopped when
    // the display gives up.
    const bool rang = WaitFor([&] { return bell.Rang(); }, 3.0 * MethodKeys::kGiveUpMs / 1000);
    ASSERT_TRUE(method.LetGo());
    EXPECT_TRUE(rang) << "the bell never rang for the keys given up";
    // Japanese off again, and the sub ID's last digit.
    ASSERT_TRUE(server.Input({"key", "ctrl+space", "type", "9"}));
    const std::string after = Save(server);
    EXPECT_EQ("789", Element(after, "Sub_id")) << after.substr(0, 2000);
    EXPECT_EQ("", Element(after, "Patient_name"));
}
