// The list box: sorted insertion, searches, single, multiple and extended
// selection by mouse and keyboard with the notifications LBS_NOTIFY asks
// for, silent selection by message, type-ahead, scrolling, owner-drawn
// items without strings, and error answers for bad indexes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/ui/framework/ListBox.h"
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

const UINT kListId = 300;

class ListBoxTest : public uitest::WindowLeakCheck {
protected:
    void SetUp() override
    {
        WindowLeakCheck::SetUp();
        m_parent = uitest::CreateLogged(m_log, WS_POPUP | WS_VISIBLE, 50, 50, 400, 300);
        ASSERT_NE(nullptr, m_parent);
    }
    void TearDown() override
    {
        DestroyWindow(m_parent);
        WindowLeakCheck::TearDown();
    }

    HWND MakeList(DWORD style, std::initializer_list<const wchar_t*> items = {}, int height = 120)
    {
        HWND list = CreateWindowExW(0, WC_LISTBOX, L"", WS_CHILD | WS_VISIBLE | style, 20, 20, 150, height, m_parent,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kListId)), nullptr, nullptr);
        for (const wchar_t* item : items) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        m_log.Clear();
        return list;
    }

    std::vector<UINT> Notifications() const
    {
        std::vector<UINT> codes;
        for (const uitest::LoggedMsg& entry : m_log.Entries())
            if (entry.message == WM_COMMAND && LOWORD(entry.wParam) == kListId) codes.push_back(HIWORD(entry.wParam));
        return codes;
    }

    // Clicks the middle of an item.
    static void ClickItem(HWND list, int index, UINT modifiers = platform::ui::kNoModifiers)
    {
        RECT item = {0, 0, 0, 0};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        if (modifiers & platform::ui::kShift) Desktop::KeyDown(VK_SHIFT);
        if (modifiers & platform::ui::kControl) Desktop::KeyDown(VK_CONTROL);
        Desktop::Click(list, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
        if (modifiers & platform::ui::kControl) Desktop::KeyUp(VK_CONTROL);
        if (modifiers & platform::ui::kShift) Desktop::KeyUp(VK_SHIFT);
    }

    static std::vector<int> Selected(HWND list)
    {
        int items[32] = {0};
        const int count = static_cast<int>(SendMessageW(list, LB_GETSELITEMS, 32, reinterpret_cast<LPARAM>(items)));
        return count < 0 ? std::vector<int>() : std::vector<int>(items, items + count);
    }

    uitest::MessageLog m_log;
    HWND m_parent = nullptr;
};

}  // namespace

TEST_F(ListBoxTest, SortedListAndSearchesIgnoreCase)
{
    HWND list = MakeList(LBS_SORT | LBS_NOTIFY, {L"delta", L"Alpha", L"charlie", L"Bravo"});
    Attached<CListBox> attached(list);
    CListBox* box = &attached.object;
    CString text;
    box->GetText(0, text);
    EXPECT_STREQ(L"Alpha", text.GetString());
    box->GetText(3, text);
    EXPECT_STREQ(L"delta", text.GetString());
    EXPECT_EQ(1, box->FindString(-1, L"b"));
    EXPECT_EQ(2, box->FindString(1, L"C"));
    EXPECT_EQ(0, box->FindString(3, L"a"));   // round to the top
    EXPECT_EQ(LB_ERR, box->FindStringExact(-1, L"delt"));
    EXPECT_EQ(3, box->FindStringExact(-1, L"DELTA"));
    EXPECT_EQ(2, box->SelectString(-1, L"char"));
    EXPECT_EQ(2, box->GetCurSel());
    EXPECT_TRUE(Notifications().empty()) << "selecting by message is silent";
}

TEST_F(ListBoxTest, BadIndexesAnswerLbErr)
{
    HWND list = MakeList(0, {L"one"});
    wchar_t buffer[16] = {0};
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(-1), 0));
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_DELETESTRING, 5, 0));
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_SETCURSEL, 5, 0));
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETITEMDATA, 5, 0));
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETSELCOUNT, 0, 0)) << "a single-selection list has no count";
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_SETSEL, TRUE, 0));
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0)) << "-1 clears and answers LB_ERR";
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETCURSEL, 0, 0));
}

TEST_F(ListBoxTest, ClickSelectsAndNotifiesOnlyWithLbsNotify)
{
    HWND quiet = MakeList(0, {L"one", L"two"});
    ClickItem(quiet, 1);
    EXPECT_EQ(1, SendMessageW(quiet, LB_GETCURSEL, 0, 0));
    EXPECT_TRUE(Notifications().empty());
    DestroyWindow(quiet);

    HWND list = MakeList(LBS_NOTIFY, {L"one", L"two", L"three"});
    ClickItem(list, 2);
    Desktop::AdvanceClock(1000);   // not a double click
    ClickItem(list, 2);            // the same item again changes nothing
    const std::vector<UINT> expected = {LBN_SETFOCUS, LBN_SELCHANGE};
    EXPECT_EQ(expected, Notifications());
    EXPECT_EQ(2, SendMessageW(list, LB_GETCURSEL, 0, 0));
}

TEST_F(ListBoxTest, DoubleClickSelectsThenNotifiesDoubleClick)
{
    HWND list = MakeList(LBS_NOTIFY, {L"one", L"two"});
    SetFocus(list);
    m_log.Clear();
    RECT item = {0, 0, 0, 0};
    SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    Desktop::DoubleClick(list, 10, (item.top + item.bottom) / 2);
    const std::vector<UINT> expected = {LBN_SELCHANGE, LBN_DBLCLK};
    EXPECT_EQ(expected, Notifications());
}

TEST_F(ListBoxTest, MultipleSelectionTogglesEachClickedItem)
{
    HWND list = MakeList(LBS_MULTIPLESEL | LBS_NOTIFY, {L"a", L"b", L"c", L"d"});
    ClickItem(list, 0);
    ClickItem(list, 2);
    EXPECT_EQ((std::vector<int>{0, 2}), Selected(list));
    ClickItem(list, 0);
    EXPECT_EQ((std::vector<int>{2}), Selected(list));
    EXPECT_EQ(1, SendMessageW(list, LB_GETSELCOUNT, 0, 0));
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_SETCURSEL, 1, 0)) << "LB_SETCURSEL is for single selection";
    SendMessageW(list, LB_SETSEL, TRUE, -1);
    EXPECT_EQ(4, SendMessageW(list, LB_GETSELCOUNT, 0, 0));
    SetFocus(list);
    Desktop::KeyPress(VK_SPACE);   // the item with the focus rectangle toggles
    EXPECT_EQ(3, SendMessageW(list, LB_GETSELCOUNT, 0, 0));
}

TEST_F(ListBoxTest, ExtendedSelectionTakesShiftRangesAndControlToggles)
{
    HWND list = MakeList(LBS_EXTENDEDSEL | LBS_NOTIFY, {L"a", L"b", L"c", L"d", L"e"});
    ClickItem(list, 1);
    ClickItem(list, 3, platform::ui::kShift);
    EXPECT_EQ((std::vector<int>{1, 2, 3}), Selected(list));
    ClickItem(list, 2, platform::ui::kControl);
    EXPECT_EQ((std::vector<int>{1, 3}), Selected(list));
    ClickItem(list, 4);
    EXPECT_EQ((std::vector<int>{4}), Selected(list));
    Desktop::KeyPress(VK_UP, platform::ui::kShift);
    EXPECT_EQ((std::vector<int>{3, 4}), Selected(list));
}

TEST_F(ListBoxTest, KeysMoveTheSelectionAndTypingFindsItems)
{
    HWND list = MakeList(LBS_NOTIFY, {L"Apple", L"banana", L"Blueberry", L"cherry"});
    SetFocus(list);
    m_log.Clear();
    Desktop::KeyPress(VK_DOWN);
    EXPECT_EQ(0, SendMessageW(list, LB_GETCURSEL, 0, 0));
    Desktop::KeyPress(VK_END);
    EXPECT_EQ(3, SendMessageW(list, LB_GETCURSEL, 0, 0));
    Desktop::TypeText(L"b");
    EXPECT_EQ(1, SendMessageW(list, LB_GETCURSEL, 0, 0));
    Desktop::TypeText(L"l");   // "bl" together
    EXPECT_EQ(2, SendMessageW(list, LB_GETCURSEL, 0, 0));
    const std::vector<UINT> codes = Notifications();
    EXPECT_EQ(4, std::count(codes.begin(), codes.end(), static_cast<UINT>(LBN_SELCHANGE)));
}

TEST_F(ListBoxTest, DeletingItemsMovesTheSelectionWithThem)
{
    HWND list = MakeList(0, {L"a", L"b", L"c"});
    SendMessageW(list, LB_SETCURSEL, 2, 0);
    EXPECT_EQ(2, SendMessageW(list, LB_DELETESTRING, 0, 0));
    EXPECT_EQ(1, SendMessageW(list, LB_GETCURSEL, 0, 0));
    SendMessageW(list, LB_DELETESTRING, 1, 0);
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETCURSEL, 0, 0));
    SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"end"));
    EXPECT_EQ(2, SendMessageW(list, LB_GETCOUNT, 0, 0));
}

TEST_F(ListBoxTest, KeyboardScrollsTheCaretItemIntoView)
{
    HWND list = MakeList(LBS_NOTIFY | WS_VSCROLL, {}, 60);
    for (int i = 0; i < 20; ++i) {
        const std::wstring text = L"item " + std::to_wstring(i);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
    SetFocus(list);
    Desktop::KeyPress(VK_END);
    const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    EXPECT_GT(top, 10);
    RECT last = {0, 0, 0, 0};
    SendMessageW(list, LB_GETITEMRECT, 19, reinterpret_cast<LPARAM>(&last));
    RECT client = {0, 0, 0, 0};
    GetClientRect(list, &client);
    EXPECT_LE(last.bottom, client.bottom);
    EXPECT_EQ(0, SendMessageW(list, LB_SETTOPINDEX, 0, 0));
    EXPECT_EQ(0, SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    // A list that needs no scrolling shows no bar.
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    EXPECT_FALSE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
}

namespace {

std::vector<ULONG_PTR> g_deleted;

LRESULT DeleteLoggingParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DELETEITEM) {
        g_deleted.push_back(reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->itemData);
        return TRUE;
    }
    if (message == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 18;
        return TRUE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

TEST_F(ListBoxTest, OwnerDrawnItemsWithoutStringsAreTheirData)
{
    WNDCLASSW wc = {0, &DeleteLoggingParent, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"ListOwner"};
    RegisterClassW(&wc);
    g_deleted.clear();
    HWND parent = CreateWindowExW(0, L"ListOwner", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND list = CreateWindowExW(0, WC_LISTBOX, L"", WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED, 0, 0, 100, 100, parent,
                                nullptr, nullptr, nullptr);
    EXPECT_EQ(18, SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    SendMessageW(list, LB_ADDSTRING, 0, 111);
    SendMessageW(list, LB_ADDSTRING, 0, 222);
    EXPECT_EQ(222, SendMessageW(list, LB_GETITEMDATA, 1, 0));
    EXPECT_EQ(1, SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), 222));
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), 333));
    SendMessageW(list, LB_DELETESTRING, 0, 0);
    EXPECT_EQ(std::vector<ULONG_PTR>{111}, g_deleted);
    DestroyWindow(parent);
    EXPECT_EQ((std::vector<ULONG_PTR>{111, 222}), g_deleted) << "destroying the list deletes its items";
    UnregisterClassW(L"ListOwner", nullptr);
}

TEST_F(ListBoxTest, SelectedItemIsPaintedHighlighted)
{
    HWND list = MakeList(0, {L"one", L"two", L"three"});
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    RECT item = {0, 0, 0, 0};
    SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    const testsupport::TempDir folder;
    const std::string path = folder.File("listbox.png");
    ASSERT_TRUE(Desktop::SaveWindowImage(m_parent, path.c_str()));
    uitest::SavedImage image(path);
    // The list is at (20, 20) of the parent; the right end of the item is free of text.
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), image.At(20 + item.right - 3, 20 + item.top + 1));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), image.At(20 + item.right - 3, 20 + item.bottom + 2));
}
