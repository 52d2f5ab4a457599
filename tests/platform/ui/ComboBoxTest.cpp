// The combo box: its searches (prefix and exact, without case, from the item
// after the start and round to the top), sorted lists, the selection and
// the field, the inner edit and its notifications, the dropped list with
// the mouse and the keyboard and the order of what the parent hears,
// typing in a drop-down list, owner-drawn items, and the dropped height.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/ui/framework/ComboBox.h"
#include "platform/ui/windowing/ControlRecords.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "tests/platform/ui/UiTestSupport.h"

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

const UINT kComboId = 200;

class ComboBoxTest : public uitest::WindowLeakCheck {
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

    HWND MakeCombo(DWORD style, std::initializer_list<const wchar_t*> items = {}, int height = 200)
    {
        HWND combo =
            CreateWindowExW(0, WC_COMBOBOX, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 20, 20, 150, height,
                            m_parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kComboId)), nullptr, nullptr);
        for (const wchar_t* item : items) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        m_log.Clear();
        return combo;
    }

    std::vector<UINT> Notifications() const
    {
        std::vector<UINT> codes;
        for (const uitest::LoggedMsg& entry : m_log.Entries())
            if (entry.message == WM_COMMAND && LOWORD(entry.wParam) == kComboId) codes.push_back(HIWORD(entry.wParam));
        return codes;
    }

    static int Find(HWND combo, int start, const wchar_t* text, bool exact = false)
    {
        return static_cast<int>(SendMessageW(combo, exact ? CB_FINDSTRINGEXACT : CB_FINDSTRING,
                                             static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text)));
    }

    static int Selection(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

    static std::wstring Text(HWND hwnd)
    {
        wchar_t buffer[256] = {0};
        GetWindowTextW(hwnd, buffer, 256);
        return buffer;
    }

    static HWND EditOf(HWND combo) { return GetWindow(combo, GW_CHILD); }

    // The dropped list's screen point at the middle of an item.
    static POINT ItemPoint(HWND combo, int index)
    {
        HWND list = nullptr;
        for (HWND top : platform::ui::WindowManager::Instance().TopLevelWindows()) {
            wchar_t name[32] = {0};
            GetClassNameW(top, name, 32);
            if (std::wstring(name) == WC_COMBOLBOX && IsWindowVisible(top)) list = top;
        }
        EXPECT_NE(nullptr, list) << "no list is dropped";
        (void)combo;
        RECT item = {0, 0, 0, 0};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        POINT point = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        ClientToScreen(list, &point);
        return point;
    }

    // The screen point of the drop button.
    static POINT ButtonPoint(HWND combo)
    {
        RECT window = {0, 0, 0, 0};
        GetWindowRect(combo, &window);
        return POINT{window.right - 8, (window.top + window.bottom) / 2};
    }

    uitest::MessageLog m_log;
    HWND m_parent = nullptr;
};

}  // namespace

// ---- searches ------------------------------------------------------------------------------

// CB_FINDSTRING: start index, text, expected index.
struct FindCase {
    int start;
    const wchar_t* text;
    int expected;
};
static const FindCase kPrefixSearches[] = {
    {-1, L"b", 1},        // from the top
    {1, L"b", 2},         // from the item after the start
    {2, L"b", 1},         // round to the top
    {-1, L"BLUE", 2},     // case does not matter
    {-1, L"Blueberry", 2},
    {-1, L"blueberryx", CB_ERR},
    {-1, L"x", CB_ERR},
    {99, L"a", 0},        // a start beyond the list searches it all
    {0, L"a", 0},         // the start item itself is searched last
};

TEST_F(ComboBoxTest, FindStringIsACaseInsensitivePrefixSearchThatWraps)
{
    HWND combo = MakeCombo(CBS_DROPDOWN, {L"Apple", L"banana", L"Blueberry", L"cherry"});
    for (const FindCase& c : kPrefixSearches)
        EXPECT_EQ(c.expected, Find(combo, c.start, c.text))
            << "start " << c.start << " text " << testing::PrintToString(std::wstring(c.text));
    HWND empty = MakeCombo(CBS_DROPDOWNLIST);
    EXPECT_EQ(CB_ERR, Find(empty, -1, L""));
    DestroyWindow(empty);
}

TEST_F(ComboBoxTest, FindStringExactMatchesTheWholeTextWithoutCase)
{
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, {L"男", L"女", L"Unknown", L"unknown2"});
    EXPECT_EQ(2, Find(combo, -1, L"UNKNOWN", true));
    EXPECT_EQ(CB_ERR, Find(combo, -1, L"Unk", true));
    EXPECT_EQ(1, Find(combo, -1, L"女", true));
    EXPECT_EQ(2, Find(combo, 3, L"unknown", true));   // wraps
    EXPECT_EQ(0, Find(combo, -1, L"男"));
}

TEST_F(ComboBoxTest, SelectStringSelectsThePrefixMatchSilently)
{
    HWND combo = MakeCombo(CBS_DROPDOWN, {L"Apple", L"banana", L"Blueberry"});
    EXPECT_EQ(1, SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"BAN")));
    EXPECT_EQ(1, Selection(combo));
    EXPECT_EQ(L"banana", Text(combo));
    EXPECT_EQ(L"banana", Text(EditOf(combo)));
    EXPECT_EQ(CB_ERR, SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"zzz")));
    EXPECT_EQ(1, Selection(combo)) << "a failed search leaves the selection";
    EXPECT_TRUE(Notifications().empty());
}

TEST_F(ComboBoxTest, SortedListInsertsInOrderWithoutCase)
{
    HWND combo = MakeCombo(CBS_DROPDOWNLIST | CBS_SORT);
    Attached<CComboBox> attached(combo);
    CComboBox* box = &attached.object;
    EXPECT_EQ(0, box->AddString(L"pear"));
    EXPECT_EQ(0, box->AddString(L"Apple"));
    EXPECT_EQ(1, box->AddString(L"banana"));
    EXPECT_EQ(3, box->AddString(L"Zebra"));
    EXPECT_EQ(0, box->InsertString(0, L"zz first"));   // InsertString does not sort
    CString text;
    box->GetLBText(0, text);
    EXPECT_STREQ(L"zz first", text.GetString());
    box->GetLBText(2, text);
    EXPECT_STREQ(L"banana", text.GetString());
    EXPECT_EQ(5, box->GetCount());
    EXPECT_EQ(4, box->DeleteString(0));
    EXPECT_EQ(CB_ERR, box->DeleteString(9));
}

TEST_F(ComboBoxTest, SetCurSelOutsideTheListClearsTheSelection)
{
    HWND combo = MakeCombo(CBS_DROPDOWN, {L"one", L"two"});
    EXPECT_EQ(1, SendMessageW(combo, CB_SETCURSEL, 1, 0));
    EXPECT_EQ(L"two", Text(combo));
    EXPECT_EQ(CB_ERR, SendMessageW(combo, CB_SETCURSEL, 5, 0));
    EXPECT_EQ(CB_ERR, Selection(combo));
    EXPECT_EQ(L"", Text(combo));
    EXPECT_TRUE(Notifications().empty());
}

TEST_F(ComboBoxTest, ItemTextAndDataAnswerErrorsForBadIndexes)
{
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, {L"one", L"two"});
    wchar_t buffer[16] = {0};
    EXPECT_EQ(3, SendMessageW(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_EQ(L"two", std::wstring(buffer));
    EXPECT_EQ(CB_ERR, SendMessageW(combo, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_EQ(CB_ERR, SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(-1), 0));
    EXPECT_NE(CB_ERR, SendMessageW(combo, CB_SETITEMDATA, 0, 4242));
    EXPECT_EQ(4242, SendMessageW(combo, CB_GETITEMDATA, 0, 0));
    EXPECT_EQ(CB_ERR, SendMessageW(combo, CB_SETITEMDATA, 7, 1));
    EXPECT_EQ(CB_ERR, SendMessageW(combo, CB_GETITEMDATA, 7, 0));
}

// ---- the edit of a drop-down combo box ---------------------------------------------------------

TEST_F(ComboBoxTest, DropDownComboBoxHasAnEditWithTheWindowsId)
{
    HWND combo = MakeCombo(CBS_DROPDOWN, {L"one"});
    HWND edit = EditOf(combo);
    ASSERT_NE(nullptr, edit);
    EXPECT_EQ(1001, GetDlgCtrlID(edit));
    wchar_t name[16] = {0};
    GetClassNameW(edit, name, 16);
    EXPECT_EQ(std::wstring(WC_EDIT), name);
    HWND list = MakeCombo(CBS_DROPDOWNLIST);
    EXPECT_EQ(nullptr, GetWindow(list, GW_CHILD));
    DestroyWindow(list);
}

TEST_F(ComboBoxTest, TypingInTheEditNotifiesEditUpdateThenEditChange)
{
    HWND combo = MakeCombo(CBS_DROPDOWN | CBS_AUTOHSCROLL, {L"Apple", L"banana"});
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    SetFocus(combo);
    EXPECT_EQ(EditOf(combo), GetFocus());
    m_log.Clear();
    Desktop::TypeText(L"ba");
    const std::vector<UINT> expected = {CBN_EDITUPDATE, CBN_EDITCHANGE, CBN_EDITUPDATE, CBN_EDITCHANGE};
    EXPECT_EQ(expected, Notifications());
    EXPECT_EQ(L"ba", Text(combo));
    EXPECT_EQ(CB_ERR, Selection(combo)) << "typed text leaves no item selected while the list is up";
}

TEST_F(ComboBoxTest, LimitTextAndEditSelectionWorkOnTheEdit)
{
    HWND combo = MakeCombo(CBS_DROPDOWN | CBS_AUTOHSCROLL);
    Attached<CComboBox> attached(combo);
    CComboBox* box = &attached.object;
    EXPECT_TRUE(box->LimitText(3));
    EXPECT_EQ(3, SendMessageW(EditOf(combo), EM_GETLIMITTEXT, 0, 0));
    SetFocus(combo);
    Desktop::TypeText(L"abcdef");
    EXPECT_EQ(L"abc", Text(combo));
    EXPECT_TRUE(box->SetEditSel(1, 2));
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(1, 2)), box->GetEditSel());
    HWND list = MakeCombo(CBS_DROPDOWNLIST);
    EXPECT_EQ(CB_ERR, SendMessageW(list, CB_SETEDITSEL, 0, MAKELPARAM(0, 1)));
    EXPECT_EQ(CB_ERR, SendMessageW(list, CB_GETEDITSEL, 0, 0));
    DestroyWindow(list);
}

TEST_F(ComboBoxTest, FocusIsReportedForTheComboBoxAsAWhole)
{
    HWND combo = MakeCombo(CBS_DROPDOWN, {L"one"});
    HWND other =
        CreateWindowExW(0, WC_EDIT, L"", WS_CHILD | WS_VISIBLE, 20, 100, 100, 20, m_parent, nullptr, nullptr, nullptr);
    SetFocus(combo);
    SetFocus(EditOf(combo));   // already there: nothing more
    SetFocus(other);
    const std::vector<UINT> expected = {CBN_SETFOCUS, CBN_KILLFOCUS};
    EXPECT_EQ(expected, Notifications());
    DestroyWindow(other);
}

// ---- the dropped list ------------------------------------------------------------------------------

TEST_F(ComboBoxTest, ChoosingWithTheMouseNotifiesSelChangeSelEndOkAndCloseUp)
{
    HWND combo = MakeCombo(CBS_DROPDOWN, {L"one", L"two", L"three"});
    Desktop::Click(ButtonPoint(combo));
    EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    const std::vector<UINT> dropped = {CBN_SETFOCUS, CBN_DROPDOWN};
    EXPECT_EQ(dropped, Notifications());
    m_log.Clear();
    Desktop::MoveMouse(ItemPoint(combo, 1));
    EXPECT_TRUE(Notifications().empty()) << "hovering over the list chooses nothing";
    Desktop::Click(ItemPoint(combo, 2));
    const std::vector<UINT> chosen = {CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP};
    EXPECT_EQ(chosen, Notifications());
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(2, Selection(combo));
    EXPECT_EQ(L"three", Text(combo));
    EXPECT_EQ(EditOf(combo), GetFocus()) << "the list never takes the focus";
}

TEST_F(ComboBoxTest, EscapeAndAClickOutsideCloseTheListWithoutAChoice)
{
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, {L"one", L"two"});
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    SetFocus(combo);
    Desktop::KeyPress(VK_F4);
    EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    m_log.Clear();
    Desktop::KeyPress(VK_ESCAPE);
    const std::vector<UINT> cancelled = {CBN_SELENDCANCEL, CBN_CLOSEUP};
    EXPECT_EQ(cancelled, Notifications());
    EXPECT_EQ(0, Selection(combo));

    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    m_log.Clear();
    Desktop::Click(POINT{380, 280});   // on the parent, far from the combo box
    EXPECT_EQ(cancelled, Notifications());
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
}

TEST_F(ComboBoxTest, ArrowsInTheDroppedListChooseAndReturnAccepts)
{
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, {L"one", L"two", L"three"});
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    SetFocus(combo);
    Desktop::KeyPress(VK_DOWN, platform::ui::kAlt);
    EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    m_log.Clear();
    Desktop::KeyPress(VK_DOWN);
    Desktop::KeyPress(VK_RETURN);
    const std::vector<UINT> expected = {CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP};
    EXPECT_EQ(expected, Notifications());
    EXPECT_EQ(1, Selection(combo));
}

TEST_F(ComboBoxTest, ArrowsOnAClosedListChangeTheSelectionAtOnce)
{
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, {L"one", L"two"});
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    SetFocus(combo);
    m_log.Clear();
    Desktop::KeyPress(VK_DOWN);
    Desktop::KeyPress(VK_DOWN);   // already at the end: nothing changes
    Desktop::KeyPress(VK_UP);
    const std::vector<UINT> expected = {CBN_SELCHANGE, CBN_SELCHANGE};
    EXPECT_EQ(expected, Notifications());
    EXPECT_EQ(0, Selection(combo));
}

TEST_F(ComboBoxTest, TypingInADropDownListSelectsByPrefix)
{
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, {L"Apple", L"banana", L"Blueberry", L"cherry", L"Bluebell"});
    SetFocus(combo);
    m_log.Clear();
    Desktop::TypeText(L"b");
    EXPECT_EQ(1, Selection(combo));
    Desktop::TypeText(L"b");   // the same letter again moves on to the next item with it
    EXPECT_EQ(2, Selection(combo));
    Desktop::AdvanceClock(2000);
    Desktop::TypeText(L"C");
    EXPECT_EQ(3, Selection(combo));
    Desktop::AdvanceClock(2000);
    Desktop::TypeText(L"bluebe");   // typed quickly: one prefix
    EXPECT_EQ(4, Selection(combo));
    EXPECT_EQ(L"Bluebell", Text(combo));
    const std::vector<UINT> codes = Notifications();
    EXPECT_EQ(4, std::count(codes.begin(), codes.end(), static_cast<UINT>(CBN_SELCHANGE)));
}

TEST_F(ComboBoxTest, DropListSetTextSelectsTheMatchingItemOnly)
{
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, {L"男", L"女"});
    EXPECT_TRUE(SetWindowTextW(combo, L"女"));
    EXPECT_EQ(1, Selection(combo));
    EXPECT_EQ(L"女", Text(combo));
    EXPECT_EQ(CB_ERR, SendMessageW(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"不明")));
    EXPECT_EQ(1, Selection(combo));
}

TEST_F(ComboBoxTest, WindowIsAsHighAsItsFieldAndRemembersTheDroppedHeight)
{
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, {L"one"}, 180);
    RECT window = {0, 0, 0, 0};
    GetWindowRect(combo, &window);
    EXPECT_LT(window.bottom - window.top, 40);
    RECT dropped = {0, 0, 0, 0};
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(window.top, dropped.top);
    EXPECT_EQ(180, dropped.bottom - dropped.top);
    MoveWindow(combo, 20, 20, 150, 120, TRUE);
    RECT moved = {0, 0, 0, 0};
    GetWindowRect(combo, &moved);
    EXPECT_EQ(window.bottom - window.top, moved.bottom - moved.top);
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(120, dropped.bottom - dropped.top);
}

// ---- owner-drawn items ------------------------------------------------------------------------------

namespace {

struct OwnerLog {
    std::vector<UINT> measured;   // itemID of each WM_MEASUREITEM
    std::vector<DRAWITEMSTRUCT> drawn;
};
OwnerLog* g_owner = nullptr;

LRESULT OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MEASUREITEM && g_owner) {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        g_owner->measured.push_back(measure->itemID);
        measure->itemHeight = 20;
        return TRUE;
    }
    if (message == WM_DRAWITEM && g_owner) {
        g_owner->drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

TEST_F(ComboBoxTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheParent)
{
    WNDCLASSW wc = {0, &OwnerProc, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"ComboOwner"};
    RegisterClassW(&wc);
    OwnerLog log;
    g_owner = &log;
    HWND parent = CreateWindowExW(0, L"ComboOwner", L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND combo =
        CreateWindowExW(0, WC_COMBOBOX, L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 10, 10, 120,
                        150, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(7)), nullptr, nullptr);
    ASSERT_EQ(2u, log.measured.size());
    EXPECT_EQ(static_cast<UINT>(-1), log.measured[0]);   // the selection field
    EXPECT_EQ(0u, log.measured[1]);                      // the list's items
    EXPECT_EQ(20, SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    SendMessageW(combo, CB_ADDSTRING, 0, 77);
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    UpdateWindow(parent);
    ASSERT_FALSE(log.drawn.empty());
    const DRAWITEMSTRUCT& field = log.drawn.back();
    EXPECT_EQ(static_cast<UINT>(ODT_COMBOBOX), field.CtlType);
    EXPECT_EQ(7u, field.CtlID);
    EXPECT_EQ(0u, field.itemID);
    EXPECT_EQ(combo, field.hwndItem);
    EXPECT_TRUE(field.itemState & ODS_COMBOBOXEDIT);
    EXPECT_EQ(77u, field.itemData);
    DestroyWindow(parent);
    g_owner = nullptr;
    UnregisterClassW(L"ComboOwner", nullptr);
}

TEST_F(ComboBoxTest, DestroyedComboBoxTakesItsListAlong)
{
    const int before = platform::ui::WindowManager::Instance().WindowCount();
    HWND combo = MakeCombo(CBS_DROPDOWN, {L"one"});
    EXPECT_EQ(before + 3, platform::ui::WindowManager::Instance().WindowCount());   // combo box, edit, list
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    DestroyWindow(combo);
    EXPECT_EQ(before, platform::ui::WindowManager::Instance().WindowCount());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(0, SendMessageW(combo, CB_GETCOUNT, 0, 0)) << "a destroyed combo box answers nothing";
}

// Tab order: the focus inside a drop-down combo's edit stands for the combo,
// so the next tab stop is the control after the combo.
TEST_F(ComboBoxTest, TabFromTheInnerEditMovesPastTheCombo)
{
    HWND before = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 20, 0, 100, 18, m_parent,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(10)), nullptr, nullptr);
    HWND combo = MakeCombo(CBS_DROPDOWN, {L"one"});
    HWND after = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 20, 60, 100, 18, m_parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(11)), nullptr, nullptr);
    HWND inner = GetDlgItem(combo, 1001);
    ASSERT_NE(nullptr, inner);
    EXPECT_EQ(after, GetNextDlgTabItem(m_parent, inner, FALSE));
    EXPECT_EQ(before, GetNextDlgTabItem(m_parent, inner, TRUE));
    EXPECT_EQ(combo, GetNextDlgTabItem(m_parent, before, FALSE));
}
