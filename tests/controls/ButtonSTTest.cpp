#include <gtest/gtest.h>

#include <cairo.h>

#include <string>
#include <vector>

#include "controls/ButtonST.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Icon.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/DataExchange.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/framework/Dialog.h"
#include "platform/ui/framework/Edit.h"
#include "platform/ui/windowing/MenuFunctions.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "platform/ui/windowing/ResourceScript.h"
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/windowing/WindowManager.h"
#include "resources/ButtonIconIds.h"
#include "tests/support/StandInOpener.h"
#include "tests/support/TestSupport.h"

using platform::ui::Desktop;

namespace {

const UINT IDD_BUTTONS = 9252, IDR_DROP_MENU = 9253, IDI_SOLID = 9254;
const UINT IDC_LIMB = 9281, IDC_TIMER = 9282, IDC_NOTE = 9283, ID_SECOND = 9291;

const char kScript[] = R"rc(
9252 DIALOGEX 0, 0, 200, 80
STYLE DS_SETFONT | WS_POPUP | WS_VISIBLE
FONT 9, "MS Shell Dlg"
BEGIN
    DEFPUSHBUTTON   "OK",       1, 10, 10, 50, 14
    PUSHBUTTON      "Cancel",   2, 70, 10, 50, 14
    AUTORADIOBUTTON "Limb",  9281, 10, 40, 50, 14
    CHECKBOX        "Timer", 9282, 70, 40, 50, 14, BS_ICON
    EDITTEXT                 9283, 130, 40, 50, 14
END

9253 MENU
BEGIN
    POPUP "Drop"
    BEGIN
        MENUITEM "&First",  9290
        MENUITEM "&Second", 9291
    END
END
)rc";

const int kLibraryIcons[] = {IDI_BUTTON_RULER, IDI_BUTTON_DRAG, IDI_BUTTON_ZOOM_OUT, IDI_BUTTON_ZOOM_IN,
                             IDI_BUTTON_DELETE, IDI_BUTTON_EDIT, IDI_BUTTON_UP, IDI_BUTTON_DOWN};

const COLORREF kFaceIn = RGB(200, 0, 0), kTextIn = RGB(255, 255, 0);
const COLORREF kFaceOut = RGB(0, 160, 0), kTextOut = RGB(0, 0, 255), kFaceFocus = RGB(0, 0, 160);
const COLORREF kIconColour = RGB(255, 0, 255);

HINSTANCE TestModule()
{
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x7B000201u));
}

// A 16 x 16 icon of one colour with a black top row.
platform::ui::ResourceImage SolidImage(COLORREF cr)
{
    platform::ui::ResourceImage image;
    image.width = image.height = 16;
    image.hotX = image.hotY = 8;
    image.argb.assign(16 * 16, 0xFF000000u | (GetRValue(cr) << 16) | (GetGValue(cr) << 8) | GetBValue(cr));
    std::fill(image.argb.begin(), image.argb.begin() + 16, 0xFF000000u);
    return image;
}

HICON NewSolidIcon(COLORREF cr)
{
    const platform::ui::ResourceImage image = SolidImage(cr);
    return platform::gdi::CreateIconFromPixels(16, 16, image.argb.data(), 8, 8);
}

// The pixels of a window and its children as SaveWindowImage writes them.
class CPicture {
public:
    explicit CPicture(HWND hWnd)
    {
        testsupport::TempDir dir;
        const std::string path = dir.File("window.png");
        if (Desktop::SaveWindowImage(hWnd, path.c_str())) m_surface = cairo_image_surface_create_from_png(path.c_str());
    }
    ~CPicture() { cairo_surface_destroy(m_surface); }
    CPicture(const CPicture&) = delete;
    CPicture& operator=(const CPicture&) = delete;

    COLORREF At(int x, int y) const
    {
        if (!m_surface || cairo_surface_status(m_surface) != CAIRO_STATUS_SUCCESS || x < 0 || y < 0 ||
            x >= cairo_image_surface_get_width(m_surface) || y >= cairo_image_surface_get_height(m_surface))
            return CLR_INVALID;
        const int stride = cairo_image_surface_get_stride(m_surface);
        const unsigned char* row = cairo_image_surface_get_data(m_surface) + y * stride;
        const uint32_t px = reinterpret_cast<const uint32_t*>(row)[x];
        return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
    }
    template <class Test> int Count(const RECT& rc, Test test) const
    {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x) n += test(At(x, y));
        return n;
    }
    int Count(const RECT& rc, COLORREF cr) const
    {
        return Count(rc, [cr](COLORREF at) { return at == cr; });
    }
    // The leftmost column holding the colour, or -1.
    int LeftmostOf(const RECT& rc, COLORREF cr) const
    {
        for (int x = rc.left; x < rc.right; ++x)
            if (Count(RECT{x, rc.top, x + 1, rc.bottom}, cr)) return x;
        return -1;
    }

private:
    cairo_surface_t* m_surface = nullptr;
};

// A parent that records the clicks its buttons report and the commands of menus.
class CClickParent : public CWnd {
public:
    std::vector<UINT> m_clicks, m_commands;

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        (lParam ? m_clicks : m_commands).push_back(LOWORD(wParam));
        return CWnd::OnCommand(wParam, lParam);
    }
};

// Every test leaves as many windows and GDI objects as it found.
class ButtonSTTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Desktop::Reset();
        platform::ui::ResourceTable table;
        ASSERT_TRUE(platform::ui::CompileResourceScript(kScript, table).ok);
        table.icons[IDI_SOLID] = SolidImage(kIconColour);
        platform::ui::RegisterResources(TestModule(), table);
        // Stock cursors and the library's icons load on first use and stay: load them before counting.
        for (LPCWSTR cursor : {IDC_ARROW, IDC_IBEAM, IDC_HAND}) ::LoadCursorW(nullptr, cursor);
        for (int id : kLibraryIcons)
            ::LoadIconW(AfxFindResourceHandle(MAKEINTRESOURCE(id), RT_GROUP_ICON), MAKEINTRESOURCE(id));
        CWnd::DeleteTempMap();
        CDC::DeleteTempMap();
        m_nWindowsBefore = platform::ui::WindowManager::Instance().WindowCount();
        m_nGdiBefore = platform::gdi::LiveObjectCount();
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
        Desktop::PumpMessages();
        m_button.SetIcon(nullptr, nullptr);
        m_button.SetMenu(0, nullptr);
        CWnd::DeleteTempMap();
        CDC::DeleteTempMap();
        EXPECT_EQ(m_nWindowsBefore, platform::ui::WindowManager::Instance().WindowCount());
        platform::ui::UnregisterResources(TestModule());
        EXPECT_EQ(m_nGdiBefore, platform::gdi::LiveObjectCount());
    }
    // The button at (20, 20)-(120, 60) in distinct colours, a second one beside it.
    void CreateButton(LPCWSTR text, DWORD style = BS_PUSHBUTTON, BOOL bFlat = FALSE)
    {
        ASSERT_TRUE(m_button.Create(text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, CRect(20, 20, 120, 60), &m_parent,
                                    100));
        ASSERT_TRUE(
            m_other.Create(L"Next", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(150, 20, 250, 60), &m_parent, 101));
        m_button.SetFlat(bFlat);
        const COLORREF colours[] = {kFaceIn, kTextIn, kFaceOut, kTextOut, kFaceFocus};
        for (BYTE i = 0; i < 5; ++i) EXPECT_EQ(0u, m_button.SetColor(i, colours[i]));
        Desktop::PumpMessages();
    }
    COLORREF Face() { return CPicture(m_parent).At(24, 24); }

    CClickParent m_parent;
    CButtonST m_button;
    CButtonST m_other;
    int m_nWindowsBefore = 0;
    int m_nGdiBefore = 0;
};

}  // namespace

TEST_F(ButtonSTTest, EdgeIsRaisedAtRestAndSunkenWithTheCaptionShiftedWhilePressed)
{
    CreateButton(L"MM");
    const RECT rcInside = {22, 22, 118, 58};
    int nRestLeft = -1;
    {
        CPicture rest(m_parent);
        EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), rest.At(20, 20));
        EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), rest.At(20, 58));
        EXPECT_EQ(::GetSysColor(COLOR_3DLIGHT), rest.At(21, 21));
        EXPECT_EQ(::GetSysColor(COLOR_3DDKSHADOW), rest.At(119, 59));
        EXPECT_EQ(::GetSysColor(COLOR_3DDKSHADOW), rest.At(119, 20));
        EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), rest.At(118, 58));
        EXPECT_EQ(kFaceOut, rest.At(24, 24));
        nRestLeft = rest.LeftmostOf(rcInside, kTextOut);
        ASSERT_GT(nRestLeft, 0);
    }
    Desktop::MouseDown(POINT{70, 40});
    Desktop::PumpMessages();
    {
        CPicture pressed(m_parent);
        EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), pressed.At(20, 20));
        EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), pressed.At(119, 59));
        EXPECT_EQ(kFaceIn, pressed.At(24, 24));
        EXPECT_EQ(nRestLeft + 1, pressed.LeftmostOf(rcInside, kTextIn));
    }
    Desktop::MouseUp(POINT{70, 40});
    EXPECT_EQ(std::vector<UINT>{100}, m_parent.m_clicks);
    EXPECT_EQ(m_button.m_hWnd, ::GetFocus());
    // A fast second click presses the button again.
    Desktop::DoubleClick(POINT{60, 40});
    EXPECT_EQ(3u, m_parent.m_clicks.size());
}

TEST_F(ButtonSTTest, FocusUsesItsFaceAndADottedRectangleThreePixelsInUnlessFlat)
{
    CreateButton(L"");
    m_button.SetFocus();
    Desktop::PumpMessages();
    {
        CPicture picture(m_parent);
        EXPECT_EQ(kFaceFocus, picture.At(30, 30));
        EXPECT_GT(picture.Count(RECT{24, 23, 116, 24}, [](COLORREF cr) { return cr != kFaceFocus; }), 20);
        EXPECT_EQ(kFaceFocus, picture.At(60, 24));
    }
    m_button.SetFlat(TRUE);
    Desktop::PumpMessages();
    CPicture flat(m_parent);
    EXPECT_EQ(kFaceFocus, flat.At(60, 23));
    EXPECT_EQ(kFaceFocus, flat.At(20, 20));
    EXPECT_EQ(3u, m_button.SetColor(7, RGB(1, 2, 3)));
}

TEST_F(ButtonSTTest, FlatButtonLightsUpWhileHoveredAndEveryWayOutEndsIt)
{
    CreateButton(L"OK", BS_PUSHBUTTON, TRUE);
    EXPECT_EQ(kFaceOut, CPicture(m_parent).At(20, 20));
    // Dragging onto it with the button held does not light it up.
    Desktop::MouseDown(POINT{200, 150});
    Desktop::MoveMouse(POINT{60, 40});
    Desktop::PumpMessages();
    EXPECT_EQ(kFaceOut, Face());
    Desktop::MouseUp(POINT{60, 40});

    const auto hover = [&] {
        Desktop::MoveMouse(POINT{200, 150});
        Desktop::MoveMouse(POINT{60, 40});
        Desktop::PumpMessages();
        CPicture picture(m_parent);
        return picture.At(24, 24) == kFaceIn && picture.At(20, 20) == ::GetSysColor(COLOR_BTNHIGHLIGHT) &&
               picture.At(119, 59) == ::GetSysColor(COLOR_BTNSHADOW);
    };
    const auto atRest = [&] {
        Desktop::PumpMessages();
        const COLORREF cr = Face();
        return cr == kFaceOut || cr == kFaceFocus;
    };
    ASSERT_TRUE(hover());
    Desktop::MoveMouse(POINT{200, 150});
    EXPECT_TRUE(atRest());
    ASSERT_TRUE(hover());
    m_button.SendMessage(WM_CANCELMODE);
    EXPECT_TRUE(atRest());
    ASSERT_TRUE(hover());
    m_button.SendMessage(WM_ACTIVATE, WA_INACTIVE);
    EXPECT_TRUE(atRest());
    m_button.SetFocus();
    ASSERT_TRUE(hover());
    m_other.SetFocus();
    EXPECT_TRUE(atRest());
    ASSERT_TRUE(hover());
    m_button.EnableWindow(FALSE);
    EXPECT_TRUE(atRest());
}

TEST_F(ButtonSTTest, CheckStyleButtonPaintsPressedWhileCheckedAndLeavesTheStateToItsOwner)
{
    CreateButton(L"Limb", BS_AUTORADIOBUTTON);
    m_button.SetCheck(1, TRUE);
    Desktop::PumpMessages();
    EXPECT_EQ(kFaceIn, Face());
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), CPicture(m_parent).At(20, 20));
    Desktop::Click(POINT{60, 40});
    EXPECT_EQ(1u, m_parent.m_clicks.size());
    EXPECT_EQ(BST_CHECKED, m_button.GetCheck());
    m_button.SendMessage(BM_SETCHECK, BST_UNCHECKED);
    EXPECT_EQ(BST_UNCHECKED, m_button.GetCheck());
    m_button.SendMessage(BM_SETCHECK, BST_INDETERMINATE);
    EXPECT_EQ(BST_CHECKED, m_button.GetCheck());
}

TEST(ButtonSTStyles, CheckModeAndDefaultFlagComeFromTheButtonType)
{
    // style, check-box mode, default button
    static const struct {
        DWORD style;
        bool check, def;
    } kCases[] = {
        {BS_PUSHBUTTON, false, false},           {BS_DEFPUSHBUTTON, false, true},
        {BS_PUSHBUTTON | BS_ICON, false, false},   {BS_CHECKBOX | BS_ICON, true, false},
        {BS_AUTOCHECKBOX, true, false},          {BS_RADIOBUTTON, false, false},
        {BS_AUTORADIOBUTTON, true, false},       {BS_AUTORADIOBUTTON | BS_ICON, false, false},
        {BS_AUTO3STATE, true, false},            {BS_GROUPBOX, true, false},
    };
    Desktop::Reset();
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
    const auto defaultCode = [](CButtonST& button) {
        return button.SendMessage(WM_GETDLGCODE) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
    };
    for (const auto& c : kCases) {
        CButtonST button;
        ASSERT_TRUE(button.Create(L"x", WS_CHILD | c.style, CRect(0, 0, 50, 20), &parent, 7));
        EXPECT_EQ(BS_OWNERDRAW, button.GetStyle() & 0x1F) << std::hex << c.style;
        button.SetCheck(1, FALSE);
        EXPECT_EQ(c.check ? BST_CHECKED : BST_UNCHECKED, button.GetCheck()) << std::hex << c.style;
        EXPECT_EQ(c.def ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON, defaultCode(button)) << std::hex << c.style;
        // The dialog manager moves the default; the button stays owner-drawn.
        button.SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON | BS_ICON, TRUE);
        EXPECT_EQ(DLGC_DEFPUSHBUTTON, defaultCode(button));
        button.SendMessage(BM_SETSTYLE, BS_CHECKBOX, TRUE);
        EXPECT_EQ(DLGC_DEFPUSHBUTTON, defaultCode(button));
        button.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        EXPECT_EQ(DLGC_UNDEFPUSHBUTTON, defaultCode(button));
        EXPECT_EQ(BS_OWNERDRAW, button.GetStyle() & 0x1F);
        button.DestroyWindow();
    }
    parent.DestroyWindow();
}

TEST_F(ButtonSTTest, IconSitsLeftOfTheCaptionWithItsGreyCopyAtRest)
{
    CreateButton(L"Edit", BS_PUSHBUTTON, TRUE);
    ASSERT_EQ(0u, m_button.SetIcon(IDI_SOLID, -2));
    Desktop::PumpMessages();
    // 16 x 16 at (20 + 3, 20 + (40 - 16) / 2); its top row is black.
    const int x = 23, y = 32, g = static_cast<int>(0.299 * 255 + 0.114 * 255);
    {
        CPicture rest(m_parent);
        EXPECT_EQ(RGB(g, g, g), rest.At(x + 8, y + 8));
        EXPECT_EQ(RGB(0, 0, 0), rest.At(x + 8, y));
        EXPECT_EQ(kFaceOut, rest.At(x - 1, y + 8));
        EXPECT_EQ(kFaceOut, rest.At(x + 8, y - 1));
        EXPECT_GT(rest.LeftmostOf(RECT{x + 16, 22, 118, 58}, kTextOut), x + 16 + 3);
    }
    Desktop::MoveMouse(POINT{70, 40});
    Desktop::PumpMessages();
    EXPECT_EQ(kIconColour, CPicture(m_parent).At(x + 8, y + 8));
    // Pressed: the in icon one pixel right and down.
    Desktop::MouseDown(POINT{70, 40});
    Desktop::PumpMessages();
    {
        CPicture pressed(m_parent);
        EXPECT_EQ(kIconColour, pressed.At(x + 16, y + 16));
        EXPECT_EQ(RGB(0, 0, 0), pressed.At(x + 8, y + 1));
    }
    Desktop::MouseUp(POINT{70, 40});
}

TEST_F(ButtonSTTest, IconWithoutCaptionIsCentredAndUnreadableIconsAreRefused)
{
    CreateButton(L"");
    HICON hIcon = NewSolidIcon(kIconColour);
    ASSERT_EQ(0u, m_button.SetIcon(hIcon, nullptr));
    ASSERT_EQ(0u, m_button.SetIcon(hIcon, nullptr));   // given again, it stays alive
    Desktop::PumpMessages();
    {
        CPicture picture(m_parent);   // at (20 + (100 - 16) / 2, 20 + (40 - 16) / 2)
        EXPECT_EQ(kIconColour, picture.At(62, 33));
        EXPECT_EQ(kIconColour, picture.At(77, 47));
        EXPECT_EQ(kFaceOut, picture.At(61, 40));
        EXPECT_EQ(kFaceOut, picture.At(78, 40));
    }
    HICON hGone = NewSolidIcon(kIconColour);
    ::DestroyIcon(hGone);
    EXPECT_EQ(1u, m_button.SetIcon(hGone, nullptr));
    EXPECT_FALSE(platform::gdi::GetIconMetrics(hIcon, nullptr, nullptr));   // released with the failure
    Desktop::PumpMessages();
    EXPECT_EQ(kFaceOut, CPicture(m_parent).At(70, 40));

    // The grey copy keeps black pixels and the shape.
    hIcon = NewSolidIcon(RGB(30, 200, 90));
    HICON hGrey = CButtonST::MakeGreyIcon(hIcon);
    ASSERT_NE(nullptr, hGrey);
    HDC hDC = platform::gdi::CreateImageDC(16, 16);
    ::DrawIconEx(hDC, 0, 0, hGrey, 0, 0, 0, nullptr, 0x0003);
    const int g = static_cast<int>(0.299 * 30 + 0.587 * 200 + 0.114 * 90);
    EXPECT_EQ(RGB(g, g, g), ::GetPixel(hDC, 8, 8));
    EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(hDC, 8, 0));
    ::DeleteDC(hDC);
    ::DestroyIcon(hGrey);
    ::DestroyIcon(hIcon);
    EXPECT_EQ(nullptr, CButtonST::MakeGreyIcon(hIcon));
}

TEST_F(ButtonSTTest, LibraryIconsReachButtonsById)
{
    CreateButton(L"");
    for (int id : kLibraryIcons) {
        ASSERT_EQ(0u, m_button.SetIcon(id, 0)) << id;
        Desktop::PumpMessages();
        EXPECT_GT(CPicture(m_parent).Count(RECT{62, 32, 78, 48}, [](COLORREF cr) { return cr != kFaceOut; }), 20)
            << id;
    }
}

TEST_F(ButtonSTTest, DisabledCaptionIsEngravedAndOnlyItsOwnFocusMovesOn)
{
    CreateButton(L"Delete");
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(20, 100, 120, 120), &m_parent, 102));
    edit.SetFocus();
    m_other.EnableWindow(FALSE);
    EXPECT_EQ(edit.m_hWnd, ::GetFocus());   // another control keeps its focus
    m_other.EnableWindow(TRUE);

    m_button.SetFocus();
    m_button.EnableWindow(FALSE);
    EXPECT_EQ(m_other.m_hWnd, ::GetFocus());
    Desktop::PumpMessages();
    CPicture picture(m_parent);
    const RECT rc = {22, 22, 118, 58};
    // The highlight copy shows as a light fringe below and right of the shadow copy.
    const auto light = [](COLORREF cr) { return GetRValue(cr) > 200 && GetGValue(cr) > 200 && GetBValue(cr) > 200; };
    EXPECT_GT(picture.Count(rc, light), 5);
    EXPECT_GT(picture.Count(rc, ::GetSysColor(COLOR_3DSHADOW)), 5);
    EXPECT_EQ(0, picture.Count(rc, kTextOut));
}

TEST_F(ButtonSTTest, LongCaptionWrapsAndIsCentredAsABlock)
{
    CreateButton(L"Stock phrase entry for the comment");
    CPicture picture(m_parent);
    int nTop = -1, nBottom = -1;
    for (int y = 20; y < 60; ++y)
        if (picture.Count(RECT{22, y, 118, y + 1}, kTextOut) > 0) {
            if (nTop < 0) nTop = y;
            nBottom = y;
        }
    ASSERT_GT(nTop, 0);
    EXPECT_GT(nBottom - nTop, 15);                          // more than one line
    EXPECT_LE(std::abs((nTop - 20) - (59 - nBottom)), 6);   // as much room above as below
}

TEST_F(ButtonSTTest, DropDownMenuOpensBelowTheButtonAndPostsTheChoice)
{
    CreateButton(L"Menu");
    int nShown = 0;
    HMENU hTracked = nullptr;
    RECT rcMenu = {};
    COLORREF crItem = CLR_INVALID, crFaceWhileOpen = CLR_INVALID;
    auto previous = platform::ui::SetMenuDriver([&](HMENU hMenu) -> UINT {
        ++nShown;
        HWND hMenuWnd = platform::ui::TrackingMenuWindow();
        ::GetWindowRect(hMenuWnd, &rcMenu);
        crItem = CPicture(hMenuWnd).At(10, 6);
        crFaceWhileOpen = Face();
        hTracked = hMenu;
        return ID_SECOND;
    });
    Desktop::Click(POINT{60, 40});   // no menu yet: only the notification
    EXPECT_FALSE(m_button.SetMenu(9299, m_parent.m_hWnd));
    Desktop::Click(POINT{60, 40});
    EXPECT_EQ(0, nShown);
    ASSERT_TRUE(m_button.SetMenu(IDR_DROP_MENU, m_parent.m_hWnd));
    m_button.SetDropDownMark(TRUE);
    Desktop::PumpMessages();
    {
        // The mark in the button's font: 2/5 of its height tall, two average widths from the right.
        HDC hDC = ::CreateCompatibleDC(nullptr);
        TEXTMETRICW tm = {};
        ::GetTextMetricsW(hDC, &tm);
        ::DeleteDC(hDC);
        const int a = 2 * tm.tmHeight / 5;
        EXPECT_EQ(RGB(0, 0, 0), CPicture(m_parent).At(20 + 100 - 2 * tm.tmAveCharWidth, 20 + (40 - a) / 2 + a / 2));
    }
    Desktop::Click(POINT{60, 40});
    platform::ui::SetMenuDriver(previous);
    Desktop::PumpMessages();
    EXPECT_EQ(1, nShown);
    EXPECT_TRUE(CButtonMenu::IsButtonMenu(hTracked));
    EXPECT_EQ(kFaceIn, crFaceWhileOpen);   // pressed while its menu is open
    EXPECT_EQ(kFaceFocus, Face());         // released, and focused by the click
    EXPECT_EQ(20, rcMenu.left);
    EXPECT_EQ(60, rcMenu.top);
    EXPECT_EQ(::GetSysColor(COLOR_MENU), crItem);   // items painted by the owner-drawn menu
    EXPECT_EQ(std::vector<UINT>{ID_SECOND}, m_parent.m_commands);
    EXPECT_EQ(3u, m_parent.m_clicks.size());
    EXPECT_EQ(1 | (MNC_EXECUTE << 16),
              m_button.SendMessage(WM_MENUCHAR, MAKEWPARAM(L'S', MF_POPUP), reinterpret_cast<LPARAM>(hTracked)));
}

namespace {

// A panel bound the way the dialogs bind their buttons.
class CButtonPanel : public CDialog {
public:
    CButtonPanel() : CDialog(IDD_BUTTONS) {}
    CButtonST m_btnOK, m_btnCancel, m_btnLimb, m_btnTimer;
    std::vector<UINT> m_clicks;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDOK, m_btnOK);
        DDX_Control(pDX, IDCANCEL, m_btnCancel);
        DDX_Control(pDX, IDC_LIMB, m_btnLimb);
        DDX_Control(pDX, IDC_TIMER, m_btnTimer);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (lParam && HIWORD(wParam) == BN_CLICKED) m_clicks.push_back(LOWORD(wParam));
        return TRUE;   // the panel stays open
    }
};

}  // namespace

TEST_F(ButtonSTTest, DialogControlsBoundByDataExchangeKeepTheirRoles)
{
    CButtonPanel panel;
    ASSERT_TRUE(panel.Create(IDD_BUTTONS, &m_parent));
    EXPECT_TRUE(panel.m_btnOK.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    for (CButtonST* pButton : {&panel.m_btnCancel, &panel.m_btnLimb, &panel.m_btnTimer}) pButton->SetCheck(1);
    EXPECT_EQ(BST_UNCHECKED, panel.m_btnCancel.GetCheck());
    EXPECT_EQ(BST_CHECKED, panel.m_btnLimb.GetCheck());
    EXPECT_EQ(BST_CHECKED, panel.m_btnTimer.GetCheck());
    // Return in the note field presses the default button; Space presses the focused one.
    ::SetFocus(panel.GetDlgItem(IDC_NOTE)->m_hWnd);
    Desktop::KeyPress(VK_RETURN);
    panel.m_btnCancel.SetFocus();
    Desktop::KeyPress(VK_SPACE);
    EXPECT_EQ((std::vector<UINT>{IDOK, IDCANCEL}), panel.m_clicks);
    panel.DestroyWindow();
}

TEST_F(ButtonSTTest, LinkIsOpenedWithTheShellOnAClickWhenNoMenuIsAttached)
{
    testsupport::StandInOpener opener;
    CreateButton(L"Help");
    const std::wstring link = L"https://example.com/manual?page=3&x=$(id)";
    EXPECT_EQ(0u, m_button.SetURL(link.c_str()));
    Desktop::Click(POINT{60, 40});
    EXPECT_EQ(std::vector<std::string>{testsupport::Utf8(link.c_str())}, opener.Arguments());
    EXPECT_EQ(std::vector<UINT>{100}, m_parent.m_clicks);   // the parent hears of it as well

    // A link longer than the field keeps its first 259 characters.
    const std::wstring longLink = L"https://example.com/" + std::wstring(300, L'a');
    m_button.SetURL(longLink.c_str());
    Desktop::Click(POINT{60, 40});
    ASSERT_EQ(1u, opener.Arguments().size());
    EXPECT_EQ(259u, opener.Arguments().front().size());

    // With a menu the click opens the menu; without a link nothing is opened.
    opener.Forget();
    auto previous = platform::ui::SetMenuDriver([](HMENU) -> UINT { return 0; });
    ASSERT_TRUE(m_button.SetMenu(IDR_DROP_MENU, m_parent.m_hWnd));
    Desktop::Click(POINT{60, 40});
    platform::ui::SetMenuDriver(previous);
    m_button.SetMenu(0, nullptr);
    m_button.SetURL(nullptr);
    Desktop::Click(POINT{60, 40});
    EXPECT_FALSE(opener.Ran());
    EXPECT_EQ(4u, m_parent.m_clicks.size());
}

TEST_F(ButtonSTTest, LinkThatCannotBeOpenedHasNoFurtherEffect)
{
    testsupport::StandInOpener opener(testsupport::OpenerBehaviour::FailsToOpen);
    platform::ui::MessageBoxRecorder boxes;
    CreateButton(L"Help");
    m_button.SetURL(L"https://example.com/manual");
    Desktop::Click(POINT{60, 40});
    EXPECT_TRUE(opener.Ran());
    EXPECT_EQ(0, boxes.Count());
    EXPECT_EQ(std::vector<UINT>{100}, m_parent.m_clicks);
}
