#include <gtest/gtest.h>

#include <algorithm>

#include "core/TavrionDoc.h"
#include "dialogs/DlgCtrl.h"
#include "platform/gdi/Gdi.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/ModuleHandles.h"
#include "platform/ui/windowing/ResourceScript.h"
#include "tests/support/ModalScript.h"

namespace {

constexpr UINT kPanel = 9240;
constexpr int kEdit = 9241;
constexpr int kLabel = 9242;
constexpr int kList = 9243;
constexpr int kCombo = 9244;
constexpr int kPress = 9245;

const char kPanelScript[] = R"rc(
9240 DIALOGEX 0, 0, 200, 110
STYLE DS_SETFONT | WS_CHILD | WS_VISIBLE
FONT 9, "ＭＳ ゴシック"
BEGIN
    EDITTEXT        9241,5,5,80,12
    LTEXT           "label",9242,5,22,80,10
    LISTBOX         9243,5,36,80,40
    LTEXT           "I",3571,100,5,60,10
    LTEXT           "II",3572,100,18,60,10
    LTEXT           "III",3573,100,31,60,10
    COMBOBOX        9244,100,50,80,60,CBS_DROPDOWN | WS_TABSTOP
    PUSHBUTTON      "Press",9245,100,80,50,14
END
)rc";

void RegisterPanelTemplate()
{
    static const bool once = [] {
        platform::ui::ResourceTable table;
        const auto result = platform::ui::CompileResourceScript(kPanelScript, table);
        EXPECT_TRUE(result.ok) << result.line << ":" << result.column << " " << result.message;
        platform::ui::RegisterResources(platform::ui::ExecutableModule(), table);
        return true;
    }();
    (void)once;
}

// A pane that logs the commands its panel forwards.
class CLoggingPane : public CWnd {
public:
    std::vector<WPARAM> commands;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        commands.push_back(wParam);
        return TRUE;
    }
};

class Panel : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::ui::Desktop::Reset();
        RegisterPanelTemplate();
        ASSERT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 500, 300), nullptr, 0));
        m_doc.SetWaveColor(26, RGB(10, 60, 120));
        m_doc.SetWaveColor(27, RGB(250, 240, 10));
    }
    void TearDown() override
    {
        if (m_panel.m_hWnd) m_panel.DestroyWindow();
        m_pane.DestroyWindow();
    }

    // The colours the panel gives a control of `kind`, as a paint would ask.
    struct Asked {
        COLORREF text;
        COLORREF back;
        int mode;
        COLORREF brush;
    };
    Asked Ask(UINT message, int id)
    {
        HDC dc = ::CreateCompatibleDC(nullptr);
        ::SetTextColor(dc, RGB(1, 2, 3));
        ::SetBkColor(dc, RGB(4, 5, 6));
        HWND control = id ? m_panel.GetDlgItem(id)->m_hWnd : m_panel.m_hWnd;
        auto brush = reinterpret_cast<HBRUSH>(
            m_panel.SendMessage(message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
        LOGBRUSH logBrush{};
        ::GetObject(brush, sizeof(logBrush), &logBrush);
        Asked asked{::GetTextColor(dc), ::GetBkColor(dc), ::GetBkMode(dc), logBrush.lbColor};
        ::DeleteDC(dc);
        return asked;
    }

    CLoggingPane m_pane;
    CDlgCtrl m_panel{static_cast<int>(kPanel), nullptr};
    CTavrionDoc m_doc;
};

COLORREF PixelOf(CWnd& control, int x, int y)
{
    control.UpdateWindow();
    HDC dc = ::GetDC(control.m_hWnd);
    const COLORREF pixel = ::GetPixel(dc, x, y);
    ::ReleaseDC(control.m_hWnd, dc);
    return pixel;
}

}  // namespace

TEST_F(Panel, PaintsEditsStaticsAndListsInTheDocumentsFrameColours)
{
    ASSERT_TRUE(m_panel.Create(kPanel, &m_pane));
    m_panel.SetECGDoc(&m_doc);
    m_panel.Invalidate();
    for (int id : {kEdit, kLabel, kList}) m_panel.GetDlgItem(id)->Invalidate();

    const COLORREF frame = RGB(10, 60, 120);
    const COLORREF frameText = RGB(250, 240, 10);
    for (auto [message, id] : {std::pair{WM_CTLCOLOREDIT, kEdit}, std::pair{WM_CTLCOLORSTATIC, kLabel},
                               std::pair{WM_CTLCOLORLISTBOX, kList}, std::pair{WM_CTLCOLORDLG, 0}}) {
        SCOPED_TRACE(id);
        const Asked asked = Ask(message, id);
        EXPECT_EQ(asked.text, frameText);
        EXPECT_EQ(asked.brush, frame);
        EXPECT_EQ(asked.mode, TRANSPARENT);
    }
    // Pixel probes at the right end of each control, clear of any text.
    CRect rect;
    for (int id : {kLabel, kList}) {
        CWnd* control = m_panel.GetDlgItem(id);
        control->GetClientRect(&rect);
        EXPECT_EQ(PixelOf(*control, rect.right - 3, rect.bottom / 2), frame) << id;
    }
}

TEST_F(Panel, DividerLabelsTakeTheirDividersColours)
{
    ASSERT_TRUE(m_panel.Create(kPanel, &m_pane));
    m_panel.SetECGDoc(&m_doc);
    EXPECT_EQ(Ask(WM_CTLCOLORSTATIC, 3571).text, RGB(0, 0, 255));
    EXPECT_EQ(Ask(WM_CTLCOLORSTATIC, 3572).text, RGB(46, 139, 87));
    EXPECT_EQ(Ask(WM_CTLCOLORSTATIC, 3573).text, RGB(255, 0, 0));
}

TEST_F(Panel, WithoutADocumentEverythingKeepsTheDefaults)
{
    ASSERT_TRUE(m_panel.Create(kPanel, &m_pane));
    const Asked label = Ask(WM_CTLCOLORSTATIC, 3571);
    EXPECT_EQ(label.text, Ask(WM_CTLCOLORSTATIC, kLabel).text);   // the divider label too
    EXPECT_NE(label.text, RGB(0, 0, 255));
    EXPECT_EQ(label.mode, TRANSPARENT);
    const Asked edit = Ask(WM_CTLCOLOREDIT, kEdit);
    EXPECT_EQ(edit.text, ::GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(edit.back, ::GetSysColor(COLOR_WINDOW));
    EXPECT_NE(edit.brush, RGB(10, 60, 120));
    CRect rect;
    CWnd* list = m_panel.GetDlgItem(kList);
    list->GetClientRect(&rect);
    EXPECT_NE(PixelOf(*list, rect.right - 3, rect.bottom / 2), RGB(10, 60, 120));
}

TEST_F(Panel, ButtonsKeepThePanelBackgroundBrush)
{
    ASSERT_TRUE(m_panel.Create(kPanel, &m_pane));
    m_panel.SetECGDoc(&m_doc);
    m_panel.CreateBrush(RGB(7, 8, 9));
    m_panel.CreateBrush(RGB(70, 80, 90));   // the first brush is freed
    const Asked button = Ask(WM_CTLCOLORBTN, kPress);
    EXPECT_EQ(button.brush, RGB(70, 80, 90));
    EXPECT_NE(button.text, RGB(250, 240, 10));
}

TEST_F(Panel, ColourMessagesLeaveNoGdiObjectBehind)
{
    ASSERT_TRUE(m_panel.Create(kPanel, &m_pane));
    m_panel.SetECGDoc(&m_doc);
    Ask(WM_CTLCOLOREDIT, kEdit);   // the control brush exists from here on
    const int live = platform::gdi::LiveObjectCount();
    for (int i = 0; i < 1000; ++i) Ask(i % 2 ? WM_CTLCOLORSTATIC : WM_CTLCOLORLISTBOX, i % 2 ? kLabel : kList);
    EXPECT_EQ(platform::gdi::LiveObjectCount(), live);
    const int beforeCreate = platform::gdi::LiveObjectCount();
    m_panel.CreateBrush(RGB(1, 1, 1));
    EXPECT_EQ(platform::gdi::LiveObjectCount(), beforeCreate);
}

TEST_F(Panel, EachFrameColourHasOneBrushForTheLifeOfThePanel)
{
    const int beforePanel = platform::gdi::LiveObjectCount();
    {
        CDlgCtrl panel{static_cast<int>(kPanel), nullptr};
        ASSERT_TRUE(panel.Create(kPanel, &m_pane));
        panel.SetECGDoc(&m_doc);
        auto brushOf = [&panel](UINT message, int id) {
            HDC dc = ::CreateCompatibleDC(nullptr);
            const auto brush = reinterpret_cast<HBRUSH>(panel.SendMessage(
                message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(panel.GetDlgItem(id)->m_hWnd)));
            ::DeleteDC(dc);
            return brush;
        };
        const HBRUSH first = brushOf(WM_CTLCOLOREDIT, kEdit);
        const int withOneColour = platform::gdi::LiveObjectCount();
        // Every message of any kind gets the very same brush: none is made again.
        for (int i = 0; i < 200; ++i) {
            EXPECT_EQ(brushOf(i % 2 ? WM_CTLCOLORSTATIC : WM_CTLCOLORLISTBOX, i % 2 ? kLabel : kList), first);
        }
        EXPECT_EQ(platform::gdi::LiveObjectCount(), withOneColour);

        // A second frame colour adds one brush; going back and forth adds none.
        m_doc.SetWaveColor(26, RGB(200, 30, 30));
        const HBRUSH second = brushOf(WM_CTLCOLOREDIT, kEdit);
        EXPECT_NE(second, first);
        EXPECT_EQ(platform::gdi::LiveObjectCount(), withOneColour + 1);
        for (COLORREF frame : {RGB(10, 60, 120), RGB(200, 30, 30), RGB(10, 60, 120)}) {
            m_doc.SetWaveColor(26, frame);
            EXPECT_EQ(brushOf(WM_CTLCOLOREDIT, kEdit), frame == RGB(10, 60, 120) ? first : second);
        }
        EXPECT_EQ(platform::gdi::LiveObjectCount(), withOneColour + 1);
        panel.DestroyWindow();
        // The first brush is gone with the window: its handle names nothing now.
        LOGBRUSH logBrush{};
        EXPECT_EQ(::GetObject(first, sizeof(logBrush), &logBrush), 0);
    }
    EXPECT_EQ(platform::gdi::LiveObjectCount(), beforePanel);
}

TEST_F(Panel, CommandsReachThePaneFirstAndEnterNeverClosesThePanel)
{
    ASSERT_TRUE(m_panel.Create(kPanel, &m_pane));
    testsupport::ClickControl(m_panel, kPress);
    ASSERT_FALSE(m_pane.commands.empty());
    EXPECT_EQ(LOWORD(m_pane.commands.back()), kPress);

    // A command that Enter makes while held reaches the pane; the panel stays.
    m_pane.commands.clear();
    m_panel.GetDlgItem(kCombo)->SetFocus();
    platform::ui::Desktop::KeyDown(VK_RETURN);
    m_panel.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    platform::ui::Desktop::KeyUp(VK_RETURN);
    platform::ui::Desktop::PumpMessages();
    EXPECT_NE(std::find(m_pane.commands.begin(), m_pane.commands.end(), MAKEWPARAM(IDOK, BN_CLICKED)),
              m_pane.commands.end());
    EXPECT_TRUE(::IsWindow(m_panel.m_hWnd));
    EXPECT_TRUE(m_panel.IsWindowVisible());

    // The same command with no key held runs the panel's own handling.
    m_panel.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(::IsWindow(m_panel.m_hWnd) && m_panel.IsWindowVisible());
}
