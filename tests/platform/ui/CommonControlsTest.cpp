// The scroll bar control, the up-down (spin) control, the tree view and the
// tooltip: what the parent hears and in which order, through real mouse and
// keyboard input and on the desktop's clock; ranges and their edges; buddy
// windows; tree navigation, selection and stale item handles; tips that
// come and go with the hover delay.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/ui/framework/ScrollBar.h"
#include "platform/ui/framework/SpinButtonCtrl.h"
#include "platform/ui/framework/ToolTipCtrl.h"
#include "platform/ui/framework/TreeCtrl.h"
#include "platform/ui/windowing/ControlRecords.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "tests/platform/ui/UiTestSupport.h"
#include "tests/support/TestSupport.h"

using platform::ui::Desktop;

namespace {

// A framework object attached to an existing control for the life of a test.
template <class T> struct Attached {
    explicit Attached(HWND hwnd) { object.Attach(hwnd); }
    ~Attached() { object.Detach(); }
    Attached(const Attached&) = delete;
    Attached& operator=(const Attached&) = delete;
    T object;
};

// A parent that records scroll requests and notifications, and answers
// UDN_DELTAPOS, TVN_SELCHANGING and TVN_ITEMEXPANDING as a test tells it.
struct Heard {
    UINT message;    // WM_HSCROLL, WM_VSCROLL or WM_NOTIFY
    UINT code;       // the scroll request, or the notification code
    int position;    // the scroll position; for UDN_DELTAPOS iPos; for tree notifications the action
    int delta;       // UDN_DELTAPOS iDelta
    HWND from;
    HTREEITEM oldItem;
    HTREEITEM newItem;
};

std::vector<Heard> g_heard;
LRESULT g_deltaAnswer = 0;    // what UDN_DELTAPOS is answered
int g_newDelta = 0;           // nonzero: the step the parent puts in place of the proposed one
LRESULT g_selChangingAnswer = 0;
LRESULT g_expandingAnswer = 0;
HWND g_tip = nullptr;         // a tooltip the parent relays its mouse messages to
const wchar_t* g_tipText = L"from the parent";

LRESULT RecordingParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
        g_heard.push_back(Heard{message, LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam)), 0,
                                reinterpret_cast<HWND>(lParam), nullptr, nullptr});
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        Heard heard = {message, header->code, 0, 0, header->hwndFrom, nullptr, nullptr};
        if (header->code == UDN_DELTAPOS) {
            auto* change = reinterpret_cast<NMUPDOWN*>(lParam);
            heard.position = change->iPos;
            heard.delta = change->iDelta;
            if (g_newDelta) change->iDelta = g_newDelta;
            g_heard.push_back(heard);
            return g_deltaAnswer;
        }
        if (header->code == TVN_SELCHANGINGW || header->code == TVN_SELCHANGEDW || header->code == TVN_ITEMEXPANDINGW ||
            header->code == TVN_ITEMEXPANDEDW || header->code == TVN_DELETEITEMW) {
            auto* tree = reinterpret_cast<NMTREEVIEWW*>(lParam);
            heard.position = static_cast<int>(tree->action);
            heard.oldItem = tree->itemOld.hItem;
            heard.newItem = tree->itemNew.hItem;
        }
        if (header->code == TVN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMTVDISPINFOW*>(lParam);
            wcscpy(info->item.pszText, L"callback");
        }
        if (header->code == TTN_GETDISPINFOW)
            reinterpret_cast<NMTTDISPINFOW*>(lParam)->lpszText = const_cast<wchar_t*>(g_tipText);
        g_heard.push_back(heard);
        if (header->code == TVN_SELCHANGINGW) return g_selChangingAnswer;
        if (header->code == TVN_ITEMEXPANDINGW) return g_expandingAnswer;
        return 0;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
        if (g_tip) {
            MSG msg = {hwnd, message, wParam, lParam, 0, {0, 0}};
            SendMessageW(g_tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
        }
        return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

const wchar_t kParentClass[] = L"CommonControlsParent";

class CommonControlsTest : public uitest::WindowLeakCheck {
protected:
    void SetUp() override
    {
        WindowLeakCheck::SetUp();
        WNDCLASSW wc = {CS_DBLCLKS, &RecordingParent, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, kParentClass};
        RegisterClassW(&wc);
        g_heard.clear();
        g_deltaAnswer = 0;
        g_newDelta = 0;
        g_selChangingAnswer = 0;
        g_expandingAnswer = 0;
        g_tip = nullptr;
        m_parent = CreateWindowExW(0, kParentClass, L"", WS_POPUP | WS_VISIBLE, 40, 40, 400, 300, nullptr, nullptr,
                                   nullptr, nullptr);
        ASSERT_NE(nullptr, m_parent);
    }
    void TearDown() override
    {
        DestroyWindow(m_parent);
        UnregisterClassW(kParentClass, nullptr);
        WindowLeakCheck::TearDown();
    }

    HWND Make(LPCWSTR className, DWORD style, int x, int y, int width, int height, UINT id = 10)
    {
        return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, x, y, width, height, m_parent,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    }

    // What the parent heard, as (message, code) pairs.
    static std::vector<std::pair<UINT, UINT>> Codes()
    {
        std::vector<std::pair<UINT, UINT>> codes;
        for (const Heard& heard : g_heard) codes.emplace_back(heard.message, heard.code);
        return codes;
    }

    HWND m_parent = nullptr;
};

}  // namespace

// ---- scroll bar ------------------------------------------------------------------------------

TEST_F(CommonControlsTest, ScrollBarControlStartsEmptyAndKeepsItsPositionInRange)
{
    HWND bar = Make(WC_SCROLLBAR, SBS_VERT, 10, 10, 16, 200);
    int min = -1, max = -1;
    GetScrollRange(bar, SB_CTL, &min, &max);
    EXPECT_EQ(0, min);
    EXPECT_EQ(0, max);
    SCROLLINFO info = {sizeof(SCROLLINFO), SIF_ALL, 0, 99, 10, 95, 0};
    EXPECT_EQ(90, SetScrollInfo(bar, SB_CTL, &info, TRUE)) << "the position stops a page before the end";
    EXPECT_EQ(90, SetScrollPos(bar, SB_CTL, -5, TRUE));
    EXPECT_EQ(0, GetScrollPos(bar, SB_CTL));
    SCROLLINFO page = {sizeof(SCROLLINFO), SIF_PAGE, 0, 0, 500, 0, 0};
    SetScrollInfo(bar, SB_CTL, &page, FALSE);
    SCROLLINFO out = {sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    EXPECT_TRUE(GetScrollInfo(bar, SB_CTL, &out));
    EXPECT_EQ(100u, out.nPage) << "a page is never longer than the range";
    SCROLLINFO reversed = {sizeof(SCROLLINFO), SIF_RANGE, 50, 10, 0, 0, 0};
    SetScrollInfo(bar, SB_CTL, &reversed, FALSE);
    GetScrollRange(bar, SB_CTL, &min, &max);
    EXPECT_EQ(0, min) << "a reversed range is refused";
    EXPECT_EQ(99, max);
    Attached<CScrollBar> attached(bar);
    CScrollBar* wrapper = &attached.object;
    EXPECT_EQ(0, wrapper->GetScrollLimit());
    wrapper->SetScrollRange(0, 20);
    SCROLLINFO small = {sizeof(SCROLLINFO), SIF_PAGE, 0, 0, 5, 0, 0};
    wrapper->SetScrollInfo(&small);
    EXPECT_EQ(16, wrapper->GetScrollLimit());
}

TEST_F(CommonControlsTest, HeldArrowRepeatsOnTheClockAndEndsWithEndScroll)
{
    HWND bar = Make(WC_SCROLLBAR, SBS_VERT, 10, 10, 16, 200);
    SetScrollRange(bar, SB_CTL, 0, 100, TRUE);
    POINT down = {8, 195};
    ClientToScreen(bar, &down);
    Desktop::MouseDown(down);
    EXPECT_EQ(1u, g_heard.size());
    Desktop::AdvanceClock(199);
    EXPECT_EQ(1u, g_heard.size()) << "no repeat before the delay";
    Desktop::AdvanceClock(1 + 50 * 3);
    Desktop::MouseUp(down);
    ASSERT_GE(g_heard.size(), 4u);
    for (size_t i = 0; i + 1 < g_heard.size(); ++i) {
        EXPECT_EQ(static_cast<UINT>(WM_VSCROLL), g_heard[i].message);
        EXPECT_EQ(static_cast<UINT>(SB_LINEDOWN), g_heard[i].code);
        EXPECT_EQ(bar, g_heard[i].from);
    }
    EXPECT_EQ(static_cast<UINT>(SB_ENDSCROLL), g_heard.back().code);
}

TEST_F(CommonControlsTest, ClickInTheTroughPagesAndDraggingTheThumbTracks)
{
    HWND bar = Make(WC_SCROLLBAR, SBS_HORZ, 10, 10, 216, 16);
    SCROLLINFO info = {sizeof(SCROLLINFO), SIF_ALL, 0, 100, 10, 0, 0};
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
    Desktop::Click(bar, 150, 8);
    const std::vector<std::pair<UINT, UINT>> paged = {{WM_HSCROLL, SB_PAGEDOWN}, {WM_HSCROLL, SB_ENDSCROLL}};
    EXPECT_EQ(paged, Codes());
    g_heard.clear();
    // The thumb sits at the track's start (position 0), just after the left arrow.
    Desktop::Drag(bar, POINT{20, 8}, POINT{120, 8}, 4);
    ASSERT_GE(g_heard.size(), 3u);
    EXPECT_EQ(static_cast<UINT>(SB_THUMBTRACK), g_heard.front().code);
    const Heard& last = g_heard[g_heard.size() - 2];
    EXPECT_EQ(static_cast<UINT>(SB_THUMBPOSITION), last.code);
    EXPECT_GT(last.position, 40);
    EXPECT_LE(last.position, 91);
    EXPECT_EQ(static_cast<UINT>(SB_ENDSCROLL), g_heard.back().code);
    EXPECT_EQ(0, GetScrollPos(bar, SB_CTL)) << "the parent moves the thumb, not the bar";
}

TEST_F(CommonControlsTest, ScrollBarWithTheFocusTakesTheArrowKeys)
{
    HWND bar = Make(WC_SCROLLBAR, SBS_VERT | WS_TABSTOP, 10, 10, 16, 200);
    SetScrollRange(bar, SB_CTL, 0, 10, TRUE);
    SetFocus(bar);
    Desktop::KeyPress(VK_DOWN);
    Desktop::KeyPress(VK_HOME);
    const std::vector<std::pair<UINT, UINT>> expected = {
        {WM_VSCROLL, SB_LINEDOWN}, {WM_VSCROLL, SB_ENDSCROLL}, {WM_VSCROLL, SB_TOP}, {WM_VSCROLL, SB_ENDSCROLL}};
    EXPECT_EQ(expected, Codes());
}

TEST_F(CommonControlsTest, ScrollBarArrowsPointAwayFromTheTrack)
{
    HWND bar = Make(WC_SCROLLBAR, SBS_VERT, 10, 10, 16, 100);
    SetScrollRange(bar, SB_CTL, 0, 10, TRUE);
    const testsupport::TempDir folder;
    const std::string path = folder.File("scrollbar.png");
    ASSERT_TRUE(Desktop::SaveWindowImage(m_parent, path.c_str()));
    uitest::SavedImage image(path);
    const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    // The up arrow's triangle (centre 8, 8 of the bar) is one pixel wide at its top and seven at its bottom.
    EXPECT_EQ(ink, image.At(10 + 8, 10 + 6));
    EXPECT_NE(ink, image.At(10 + 5, 10 + 6));
    EXPECT_EQ(ink, image.At(10 + 5, 10 + 9));
    // The down arrow (centre 8, 92) the other way round.
    EXPECT_EQ(ink, image.At(10 + 8, 10 + 93));
    EXPECT_NE(ink, image.At(10 + 5, 10 + 93));
    EXPECT_EQ(ink, image.At(10 + 5, 10 + 90));
}

// ---- spin ------------------------------------------------------------------------------------

TEST_F(CommonControlsTest, FreshSpinCountsDownFromItsUpArrow)
{
    HWND spin = Make(UPDOWN_CLASSW, 0, 10, 10, 16, 30);
    EXPECT_EQ(MAKELONG(0, 100), SendMessageW(spin, UDM_GETRANGE, 0, 0)) << "upper 0, lower 100";
    SendMessageW(spin, UDM_SETPOS, 0, MAKELPARAM(50, 0));
    Desktop::Click(spin, 8, 3);
    ASSERT_FALSE(g_heard.empty());
    EXPECT_EQ(static_cast<UINT>(UDN_DELTAPOS), g_heard.front().code);
    EXPECT_EQ(-1, g_heard.front().delta);
    EXPECT_EQ(49, LOWORD(SendMessageW(spin, UDM_GETPOS, 0, 0)));
}

TEST_F(CommonControlsTest, ArrowAsksTheParentThenMovesAndReports)
{
    HWND spin = Make(UPDOWN_CLASSW, 0, 10, 10, 16, 30, 3908);
    SendMessageW(spin, UDM_SETRANGE, 0, MAKELPARAM(16, 1));
    SendMessageW(spin, UDM_SETPOS, 0, MAKELPARAM(5, 0));
    Desktop::Click(spin, 8, 3);
    const std::vector<std::pair<UINT, UINT>> expected = {
        {WM_NOTIFY, UDN_DELTAPOS}, {WM_VSCROLL, SB_THUMBPOSITION}, {WM_VSCROLL, SB_ENDSCROLL}};
    EXPECT_EQ(expected, Codes());
    EXPECT_EQ(5, g_heard[0].position);
    EXPECT_EQ(1, g_heard[0].delta);
    EXPECT_EQ(6, g_heard[1].position);
    EXPECT_EQ(spin, g_heard[1].from);
    // A refusal keeps the position; the scroll message still comes.
    g_heard.clear();
    g_deltaAnswer = 1;
    Desktop::Click(spin, 8, 27);
    EXPECT_EQ(6, LOWORD(SendMessageW(spin, UDM_GETPOS, 0, 0)));
    EXPECT_EQ(static_cast<UINT>(SB_THUMBPOSITION), g_heard[1].code);
    // The parent may change the step.
    g_deltaAnswer = 0;
    g_newDelta = 5;
    Desktop::AdvanceClock(1000);
    Desktop::Click(spin, 8, 3);
    EXPECT_EQ(11, LOWORD(SendMessageW(spin, UDM_GETPOS, 0, 0)));
}

TEST_F(CommonControlsTest, SpinStopsAtTheEndsUnlessItWraps)
{
    HWND spin = Make(UPDOWN_CLASSW, 0, 10, 10, 16, 30);
    SendMessageW(spin, UDM_SETRANGE32, 1, 3);
    SendMessageW(spin, UDM_SETPOS32, 0, 3);
    Desktop::Click(spin, 8, 3);
    EXPECT_EQ(3, SendMessageW(spin, UDM_GETPOS32, 0, 0));
    ASSERT_FALSE(g_heard.empty());
    EXPECT_EQ(static_cast<UINT>(UDN_DELTAPOS), g_heard[0].code) << "the parent is asked even at the end";
    HWND wrapping = Make(UPDOWN_CLASSW, UDS_WRAP, 40, 10, 16, 30, 11);
    SendMessageW(wrapping, UDM_SETRANGE32, 1, 3);
    SendMessageW(wrapping, UDM_SETPOS32, 0, 3);
    Desktop::AdvanceClock(1000);
    Desktop::Click(wrapping, 8, 3);
    EXPECT_EQ(1, SendMessageW(wrapping, UDM_GETPOS32, 0, 0));
    EXPECT_EQ(3, SendMessageW(spin, UDM_SETPOS32, 0, 99)) << "the previous position";
    EXPECT_EQ(3, SendMessageW(spin, UDM_GETPOS32, 0, 0)) << "kept in the range";
}

TEST_F(CommonControlsTest, HeldArrowRepeatsOnTheClock)
{
    HWND spin = Make(UPDOWN_CLASSW, 0, 10, 10, 16, 30);
    SendMessageW(spin, UDM_SETRANGE32, 0, 100);
    POINT up = {8, 3};
    ClientToScreen(spin, &up);
    Desktop::MouseDown(up);
    Desktop::AdvanceClock(500 + 100 * 4);
    Desktop::MouseUp(up);
    EXPECT_EQ(6, SendMessageW(spin, UDM_GETPOS32, 0, 0));
}

TEST_F(CommonControlsTest, BuddyShowsAndGivesThePosition)
{
    HWND edit = Make(WC_EDIT, ES_AUTOHSCROLL, 10, 10, 100, 20, 20);
    HWND spin = Make(UPDOWN_CLASSW, UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 16, 20, 21);
    EXPECT_EQ(edit, reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)));
    RECT buddy = {0, 0, 0, 0}, own = {0, 0, 0, 0};
    GetWindowRect(edit, &buddy);
    GetWindowRect(spin, &own);
    EXPECT_EQ(84, buddy.right - buddy.left) << "the buddy makes room";
    EXPECT_EQ(buddy.right, own.left);
    SendMessageW(spin, UDM_SETRANGE32, 0, 5000);
    SendMessageW(spin, UDM_SETPOS32, 0, 1234);
    wchar_t text[16] = {0};
    GetWindowTextW(edit, text, 16);
    EXPECT_EQ(L"1,234", std::wstring(text));
    SetWindowTextW(edit, L"42");
    EXPECT_EQ(MAKELONG(42, 0), SendMessageW(spin, UDM_GETPOS, 0, 0));
    SetWindowTextW(edit, L"4x");
    BOOL error = FALSE;
    EXPECT_EQ(42, SendMessageW(spin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)));
    EXPECT_TRUE(error);
    SetWindowTextW(edit, L"7");
    SetFocus(edit);
    Desktop::KeyPress(VK_UP);   // the buddy's arrow keys step the control
    GetWindowTextW(edit, text, 16);
    EXPECT_EQ(L"8", std::wstring(text));
    Attached<CSpinButtonCtrl> attached(spin);
    CSpinButtonCtrl* wrapper = &attached.object;
    int lower = 0, upper = 0;
    wrapper->GetRange32(lower, upper);
    EXPECT_EQ(0, lower);
    EXPECT_EQ(5000, upper);
    EXPECT_EQ(10, wrapper->SetBase(16));
    GetWindowTextW(edit, text, 16);
    EXPECT_EQ(L"0x0008", std::wstring(text));
    DestroyWindow(spin);
    SetFocus(edit);
    Desktop::KeyPress(VK_UP);   // with the control gone the buddy has its keys back
    GetWindowTextW(edit, text, 16);
    EXPECT_EQ(L"0x0008", std::wstring(text));
}

// ---- tree --------------------------------------------------------------------------------------

namespace {

HTREEITEM Insert(HWND tree, const wchar_t* text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST,
                 LPARAM param = 0) {
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(text);
    insert.item.lParam = param;
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

HTREEITEM Next(HWND tree, HTREEITEM item, UINT code)
{
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

TEST_F(CommonControlsTest, TreeNavigationFollowsInsertionPlaces)
{
    HWND tree = Make(WC_TREEVIEWW, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 10, 10, 200, 200);
    Attached<CTreeCtrl> attached(tree);
    CTreeCtrl* ctrl = &attached.object;
    HTREEITEM b = Insert(tree, L"B");
    HTREEITEM a = Insert(tree, L"A", TVI_ROOT, TVI_FIRST);
    HTREEITEM c = Insert(tree, L"c", TVI_ROOT, TVI_SORT);
    HTREEITEM b1 = Insert(tree, L"b1", b, TVI_LAST, 11);
    HTREEITEM b2 = Insert(tree, L"b2", b, TVI_LAST, 12);
    HTREEITEM b15 = Insert(tree, L"b1.5", b, b1);
    EXPECT_EQ(a, ctrl->GetRootItem());
    EXPECT_EQ(b, ctrl->GetNextSiblingItem(a));
    EXPECT_EQ(c, ctrl->GetNextSiblingItem(b));
    EXPECT_EQ(nullptr, ctrl->GetNextSiblingItem(c));
    EXPECT_EQ(b, ctrl->GetPrevSiblingItem(c));
    EXPECT_EQ(b1, ctrl->GetChildItem(b));
    EXPECT_EQ(b15, ctrl->GetNextSiblingItem(b1));
    EXPECT_EQ(b2, ctrl->GetNextSiblingItem(b15));
    EXPECT_EQ(b, ctrl->GetParentItem(b2));
    EXPECT_EQ(nullptr, ctrl->GetParentItem(b));
    EXPECT_EQ(a, Next(tree, nullptr, TVGN_CHILD)) << "the child of no item is the first root";
    EXPECT_EQ(6u, ctrl->GetCount());
    EXPECT_STREQ(L"b1.5", ctrl->GetItemText(b15).GetString());
    EXPECT_EQ(12u, ctrl->GetItemData(b2));
    EXPECT_TRUE(ctrl->ItemHasChildren(b));
    EXPECT_FALSE(ctrl->ItemHasChildren(c));
    // Collapsed children are not visible rows.
    EXPECT_EQ(c, ctrl->GetNextVisibleItem(b));
    ctrl->Expand(b, TVE_EXPAND);
    EXPECT_EQ(b1, ctrl->GetNextVisibleItem(b));
    EXPECT_TRUE(ctrl->SetItemText(a, L"Alpha"));
    EXPECT_STREQ(L"Alpha", ctrl->GetItemText(a).GetString());
}

TEST_F(CommonControlsTest, SelectionIsAskedForThenReported)
{
    HWND tree = Make(WC_TREEVIEWW, TVS_HASBUTTONS, 10, 10, 200, 200);
    HTREEITEM a = Insert(tree, L"A");
    HTREEITEM b = Insert(tree, L"B");
    EXPECT_TRUE(SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a)));
    const std::vector<std::pair<UINT, UINT>> expected = {{WM_NOTIFY, TVN_SELCHANGINGW}, {WM_NOTIFY, TVN_SELCHANGEDW}};
    EXPECT_EQ(expected, Codes());
    EXPECT_EQ(static_cast<int>(TVC_UNKNOWN), g_heard[1].position);
    EXPECT_EQ(nullptr, g_heard[1].oldItem);
    EXPECT_EQ(a, g_heard[1].newItem);
    g_heard.clear();
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a));
    EXPECT_TRUE(g_heard.empty()) << "selecting the selected item says nothing";
    g_selChangingAnswer = TRUE;
    EXPECT_FALSE(SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b)));
    EXPECT_EQ(a, Next(tree, nullptr, TVGN_CARET)) << "the parent refused";
    TVITEMW item = {};
    item.mask = TVIF_STATE;
    item.hItem = a;
    item.stateMask = TVIS_SELECTED;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(static_cast<UINT>(TVIS_SELECTED), item.state);
}

TEST_F(CommonControlsTest, ClickNotifiesBeforeItSelectsAndKeysSelectByKeyboard)
{
    HWND tree = Make(WC_TREEVIEWW, 0, 10, 10, 200, 200);
    HTREEITEM a = Insert(tree, L"A");
    HTREEITEM b = Insert(tree, L"B");
    RECT label = {0, 0, 0, 0};
    std::memcpy(&label, &b, sizeof(b));
    ASSERT_TRUE(SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label)));
    Desktop::Click(tree, (label.left + label.right) / 2, (label.top + label.bottom) / 2);
    std::vector<std::pair<UINT, UINT>> codes = Codes();
    codes.erase(std::remove(codes.begin(), codes.end(), std::make_pair(static_cast<UINT>(WM_NOTIFY), NM_SETFOCUS)),
                codes.end());
    const std::vector<std::pair<UINT, UINT>> expected = {
        {WM_NOTIFY, NM_CLICK}, {WM_NOTIFY, TVN_SELCHANGINGW}, {WM_NOTIFY, TVN_SELCHANGEDW}};
    EXPECT_EQ(expected, codes);
    EXPECT_EQ(static_cast<int>(TVC_BYMOUSE), g_heard.back().position);
    EXPECT_EQ(b, Next(tree, nullptr, TVGN_CARET));
    g_heard.clear();
    Desktop::KeyPress(VK_UP);
    EXPECT_EQ(a, Next(tree, nullptr, TVGN_CARET));
    EXPECT_EQ(static_cast<int>(TVC_BYKEYBOARD), g_heard.back().position);
}

TEST_F(CommonControlsTest, ExpandNotifiesTheFirstTimeAndCollapseTakesTheSelectionUp)
{
    HWND tree = Make(WC_TREEVIEWW, TVS_HASBUTTONS, 10, 10, 200, 200);
    HTREEITEM parent = Insert(tree, L"parent");
    HTREEITEM child = Insert(tree, L"child", parent);
    EXPECT_TRUE(SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent)));
    const std::vector<std::pair<UINT, UINT>> once = {{WM_NOTIFY, TVN_ITEMEXPANDINGW}, {WM_NOTIFY, TVN_ITEMEXPANDEDW}};
    EXPECT_EQ(once, Codes());
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(child));
    g_heard.clear();
    EXPECT_TRUE(SendMessageW(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(parent)));
    EXPECT_EQ(parent, Next(tree, nullptr, TVGN_CARET));
    EXPECT_FALSE(SendMessageW(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(parent))) << "already collapsed";
    g_heard.clear();
    EXPECT_TRUE(SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent)));
    EXPECT_TRUE(g_heard.empty()) << "expanded once: the message no longer notifies";
    EXPECT_FALSE(SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(child))) << "nothing to open";
}

TEST_F(CommonControlsTest, SelectingAHiddenItemOpensItsParents)
{
    HWND tree = Make(WC_TREEVIEWW, 0, 10, 10, 200, 200);
    HTREEITEM top = Insert(tree, L"top");
    HTREEITEM middle = Insert(tree, L"middle", top);
    HTREEITEM leaf = Insert(tree, L"leaf", middle);
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(leaf));
    EXPECT_TRUE(SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(top), TVIS_EXPANDED));
    EXPECT_TRUE(SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(middle), TVIS_EXPANDED));
    EXPECT_EQ(leaf, Next(tree, middle, TVGN_NEXTVISIBLE));
}

TEST_F(CommonControlsTest, DeletedItemsAreGoneAndTheirHandlesStale)
{
    HWND tree = Make(WC_TREEVIEWW, 0, 10, 10, 200, 200);
    HTREEITEM a = Insert(tree, L"A");
    HTREEITEM b = Insert(tree, L"B");
    HTREEITEM b1 = Insert(tree, L"b1", b);
    HTREEITEM b2 = Insert(tree, L"b2", b);
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b1));
    g_heard.clear();
    EXPECT_TRUE(SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(b)));
    int deletions = 0;
    for (const Heard& heard : g_heard) deletions += heard.code == TVN_DELETEITEMW;
    EXPECT_EQ(3, deletions);
    EXPECT_EQ(a, Next(tree, nullptr, TVGN_CARET)) << "the selection moved off the deleted branch";
    EXPECT_EQ(1, SendMessageW(tree, TVM_GETCOUNT, 0, 0));
    for (HTREEITEM stale : {b, b1, b2}) {
        TVITEMW item = {};
        item.mask = TVIF_PARAM;
        item.hItem = stale;
        EXPECT_FALSE(SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        EXPECT_EQ(nullptr, Next(tree, stale, TVGN_NEXT));
        EXPECT_FALSE(SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(stale)));
        EXPECT_EQ(nullptr, Insert(tree, L"under a stale parent", stale));
    }
    HTREEITEM reused = Insert(tree, L"new");
    EXPECT_NE(b, reused);
    EXPECT_NE(b1, reused);
    EXPECT_NE(b2, reused);
    EXPECT_TRUE(SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)));
    EXPECT_EQ(0, SendMessageW(tree, TVM_GETCOUNT, 0, 0));
    EXPECT_EQ(nullptr, Next(tree, nullptr, TVGN_CARET));
}

TEST_F(CommonControlsTest, TreeAsksTheParentForCallbackTexts)
{
    HWND tree = Make(WC_TREEVIEWW, 0, 10, 10, 200, 200);
    HTREEITEM item = Insert(tree, LPSTR_TEXTCALLBACKW);
    Attached<CTreeCtrl> attached(tree);
    CTreeCtrl* ctrl = &attached.object;
    EXPECT_STREQ(L"callback", ctrl->GetItemText(item).GetString());
}

// ---- tooltip -----------------------------------------------------------------------------------

TEST_F(CommonControlsTest, TipShowsAfterTheHoverDelayAndPopsAfterTheAutopopDelay)
{
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, m_parent, nullptr, nullptr, nullptr);
    g_tip = tip;
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = m_parent;
    tool.uId = 1;
    tool.rect = RECT{10, 10, 110, 60};
    tool.lpszText = const_cast<wchar_t*>(L"心電図");
    ASSERT_TRUE(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
    const int initial = static_cast<int>(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    EXPECT_EQ(static_cast<int>(GetDoubleClickTime()), initial);
    Desktop::MoveMouse(m_parent, 50, 30);
    Desktop::AdvanceClock(static_cast<DWORD>(initial - 1));
    EXPECT_FALSE(IsWindowVisible(tip));
    Desktop::AdvanceClock(1);
    EXPECT_TRUE(IsWindowVisible(tip));
    wchar_t text[16] = {0};
    GetWindowTextW(tip, text, 16);
    EXPECT_EQ(L"心電図", std::wstring(text));
    RECT placed = {0, 0, 0, 0};
    GetWindowRect(tip, &placed);
    EXPECT_GT(placed.top, 40 + 30) << "below the cursor";
    EXPECT_EQ(std::make_pair(static_cast<UINT>(WM_NOTIFY), TTN_SHOW), Codes().back());
    Desktop::AdvanceClock(static_cast<DWORD>(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0)));
    EXPECT_FALSE(IsWindowVisible(tip));
    EXPECT_EQ(std::make_pair(static_cast<UINT>(WM_NOTIFY), TTN_POP), Codes().back());
    DestroyWindow(tip);
}

TEST_F(CommonControlsTest, LeavingTheToolOrClickingPutsTheTipAway)
{
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 10, 10, m_parent, nullptr,
                               nullptr, nullptr);
    g_tip = tip;
    TOOLINFOW tool = {sizeof(TOOLINFOW),   0, m_parent, 1, RECT{10, 10, 110, 60}, nullptr,
                      LPSTR_TEXTCALLBACKW, 0, nullptr};
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    Desktop::MoveMouse(m_parent, 50, 30);
    Desktop::AdvanceClock(1000);
    ASSERT_TRUE(IsWindowVisible(tip));
    wchar_t text[32] = {0};
    GetWindowTextW(tip, text, 32);
    EXPECT_EQ(std::wstring(g_tipText), text) << "the callback text";
    Desktop::MoveMouse(m_parent, 200, 200);
    EXPECT_FALSE(IsWindowVisible(tip));
    Desktop::MoveMouse(m_parent, 50, 30);
    Desktop::AdvanceClock(1000);
    ASSERT_TRUE(IsWindowVisible(tip));
    Desktop::Click(m_parent, 50, 30);
    EXPECT_FALSE(IsWindowVisible(tip));
    SendMessageW(tip, TTM_ACTIVATE, FALSE, 0);
    Desktop::MoveMouse(m_parent, 200, 200);
    Desktop::MoveMouse(m_parent, 50, 30);
    Desktop::AdvanceClock(5000);
    EXPECT_FALSE(IsWindowVisible(tip)) << "an inactive tooltip shows nothing";
    DestroyWindow(tip);
}

TEST_F(CommonControlsTest, ToolTipCtrlToolsAreWholeWindowsOrRectangles)
{
    CWnd* parent = CWnd::FromHandle(m_parent);
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(parent));
    g_tip = tip.GetSafeHwnd();
    HWND child = Make(WC_STATIC, SS_NOTIFY, 200, 100, 80, 30, 50);
    EXPECT_TRUE(tip.AddTool(CWnd::FromHandle(child), L"the child"));
    const RECT area = {0, 0, 40, 40};
    EXPECT_TRUE(tip.AddTool(parent, L"the corner", &area, 7));
    EXPECT_EQ(2, tip.GetToolCount());
    CString text;
    tip.GetText(text, parent, 7);
    EXPECT_STREQ(L"the corner", text.GetString());
    tip.UpdateTipText(L"new corner", parent, 7);
    tip.GetText(text, parent, 7);
    EXPECT_STREQ(L"new corner", text.GetString());
    // The child's own mouse messages relayed by hand, as a control's PreTranslateMessage does.
    MSG move = {child, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), 0, {0, 0}};
    tip.RelayEvent(&move);
    tip.SetDelayTime(100);
    tip.RelayEvent(&move);
    Desktop::AdvanceClock(1000);
    EXPECT_TRUE(tip.IsWindowVisible());
    wchar_t shown[32] = {0};
    ::GetWindowTextW(tip.GetSafeHwnd(), shown, 32);
    EXPECT_EQ(std::wstring(L"the child"), shown);
    tip.DelTool(CWnd::FromHandle(child));
    EXPECT_FALSE(tip.IsWindowVisible()) << "deleting the shown tool puts its tip away";
    EXPECT_EQ(1, tip.GetToolCount());
    g_tip = nullptr;
    tip.DestroyWindow();
}
