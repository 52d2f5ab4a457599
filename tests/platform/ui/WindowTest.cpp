// Headless windows: handles that go stale, the tree, text, and the framework
// objects attached to windows.
#include <gtest/gtest.h>

#include <cwchar>

#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/Window.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

class WindowTest : public uitest::WindowLeakCheck {};

HWND MakeTopLevel(LPCWSTR text = L"top", HWND owner = nullptr)
{
    return CreateWindowExW(0, uitest::kLoggedClass, text, WS_OVERLAPPEDWINDOW, 10, 20, 300, 200, owner, nullptr, nullptr,
                           nullptr);
}

HWND MakeChild(HWND parent, UINT id)
{
    return CreateWindowExW(0, L"Static", L"child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

// A framework object that deletes itself when its window goes, as frames and views do.
class CSelfDeletingWnd : public CWnd {
public:
    explicit CSelfDeletingWnd(int& deletions) : m_deletions(deletions) {}
    ~CSelfDeletingWnd() override { ++m_deletions; }

protected:
    void PostNcDestroy() override { delete this; }

private:
    int& m_deletions;
};

}  // namespace

TEST_F(WindowTest, DestroyedHandleStaysInvalidWhenItsSlotIsReused)
{
    HWND first = MakeTopLevel(L"first");
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(IsWindow(first));
    EXPECT_TRUE(DestroyWindow(first));
    EXPECT_FALSE(IsWindow(first));

    HWND second = MakeTopLevel(L"second");   // takes the freed slot
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(first) & 0xFFFF, reinterpret_cast<uintptr_t>(second) & 0xFFFF);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(second));

    // Every call through the stale handle fails and leaves the new window alone.
    EXPECT_FALSE(SetWindowTextW(first, L"overwritten"));
    EXPECT_EQ(0, GetWindowTextLengthW(first));
    EXPECT_FALSE(DestroyWindow(first));
    EXPECT_EQ(nullptr, CWnd::FromHandle(first));
    wchar_t text[16];
    EXPECT_EQ(6, GetWindowTextW(second, text, 16));
    EXPECT_STREQ(L"second", text);
    EXPECT_TRUE(DestroyWindow(second));
}

TEST_F(WindowTest, ForeignHandlesAreNoWindows)
{
    EXPECT_FALSE(IsWindow(nullptr));
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x12345678))));
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(static_cast<uintptr_t>(0xFFFF0000))));
    int notAWindow = 0;
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(&notAWindow)));
    EXPECT_EQ(nullptr, GetParent(nullptr));
}

TEST_F(WindowTest, ChildNeedsALiveParent)
{
    EXPECT_EQ(nullptr, MakeChild(nullptr, 1));
    HWND parent = MakeTopLevel();
    DestroyWindow(parent);
    EXPECT_EQ(nullptr, MakeChild(parent, 1));
    EXPECT_EQ(nullptr, MakeTopLevel(L"owned by a ghost", parent));
    EXPECT_EQ(nullptr, CreateWindowExW(0, nullptr, L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(nullptr, CreateWindowExW(0, L"", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
}

TEST_F(WindowTest, DestroyingAParentTakesItsDescendantsAndOwnedWindows)
{
    HWND top = MakeTopLevel();
    HWND child = MakeChild(top, 100);
    HWND grandChild = MakeChild(child, 200);
    HWND owned = MakeTopLevel(L"owned", child);   // owned by the top-level window of the one given
    HWND unrelated = MakeTopLevel(L"unrelated");

    EXPECT_EQ(top, GetParent(child));
    EXPECT_EQ(child, GetParent(grandChild));
    EXPECT_EQ(top, GetParent(owned));
    EXPECT_EQ(nullptr, GetParent(top));
    EXPECT_TRUE(IsChild(top, grandChild));
    EXPECT_FALSE(IsChild(top, owned));
    EXPECT_EQ(200, GetDlgCtrlID(grandChild));
    EXPECT_EQ(0, GetDlgCtrlID(top));

    EXPECT_TRUE(DestroyWindow(top));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(grandChild));
    EXPECT_FALSE(IsWindow(owned));
    EXPECT_TRUE(IsWindow(unrelated));
    DestroyWindow(unrelated);
}

TEST_F(WindowTest, DestroyingAChildUnlinksItFromItsParent)
{
    HWND top = MakeTopLevel();
    HWND first = MakeChild(top, 1);
    HWND second = MakeChild(top, 2);
    EXPECT_TRUE(DestroyWindow(first));
    EXPECT_TRUE(IsWindow(second));
    EXPECT_EQ(top, GetParent(second));
    EXPECT_TRUE(DestroyWindow(top));
    EXPECT_FALSE(IsWindow(second));
}

TEST_F(WindowTest, WindowTextFollowsTheWin32Contract)
{
    HWND hwnd = MakeTopLevel(L"心電図 viewer");
    wchar_t buffer[8];
    EXPECT_EQ(10, GetWindowTextLengthW(hwnd));
    EXPECT_EQ(7, GetWindowTextW(hwnd, buffer, 8));
    EXPECT_STREQ(L"心電図 vie", buffer);
    EXPECT_EQ(0, GetWindowTextW(hwnd, buffer, 1));
    EXPECT_STREQ(L"", buffer);
    wcscpy(buffer, L"old");
    EXPECT_EQ(0, GetWindowTextW(hwnd, buffer, 0));
    EXPECT_STREQ(L"old", buffer);
    EXPECT_TRUE(SetWindowTextW(hwnd, nullptr));
    EXPECT_EQ(0, GetWindowTextLengthW(hwnd));

    CWnd* wnd = CWnd::FromHandle(hwnd);
    wnd->SetWindowText(L"新しい");
    CString text;
    wnd->GetWindowText(text);
    EXPECT_EQ(CString(L"新しい"), text);
    DestroyWindow(hwnd);
}

TEST_F(WindowTest, EnableWindowReportsThePreviousState)
{
    HWND hwnd = MakeTopLevel();
    EXPECT_TRUE(IsWindowEnabled(hwnd));
    EXPECT_FALSE(EnableWindow(hwnd, FALSE));   // was enabled
    EXPECT_FALSE(IsWindowEnabled(hwnd));
    EXPECT_TRUE(EnableWindow(hwnd, FALSE));    // was disabled
    EXPECT_TRUE(EnableWindow(hwnd, TRUE));
    EXPECT_TRUE(IsWindowEnabled(hwnd));
    EXPECT_EQ(0, GetWindowLongW(hwnd, GWL_STYLE) & static_cast<LONG>(WS_DISABLED));
    DestroyWindow(hwnd);
    EXPECT_FALSE(IsWindowEnabled(hwnd));
    EXPECT_FALSE(EnableWindow(hwnd, TRUE));
}

TEST_F(WindowTest, ObjectIsAttachedFromCreationToDestruction)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, uitest::kLoggedClass, L"framework", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    HWND hwnd = wnd.GetSafeHwnd();
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(hwnd));
    EXPECT_EQ(&wnd, CWnd::FromHandle(hwnd));
    EXPECT_FALSE(wnd.CreateEx(0, uitest::kLoggedClass, L"again", 0, 0, 0, 1, 1, nullptr, nullptr));   // one window per object

    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(wnd.DestroyWindow());
}

TEST_F(WindowTest, ChildObjectsNeedAParentWindow)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, uitest::kLoggedClass, L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    CWnd child;
    EXPECT_FALSE(child.Create(L"Static", L"orphan", WS_VISIBLE, CRect(0, 0, 10, 10), nullptr, 5));
    EXPECT_FALSE(child.Create(L"Static", L"pop-up", WS_POPUP, CRect(0, 0, 10, 10), &parent, 5));
    ASSERT_TRUE(child.Create(L"Static", L"label", WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 5));
    EXPECT_EQ(&parent, child.GetParent());
    EXPECT_EQ(5, child.GetDlgCtrlID());
    EXPECT_TRUE(child.GetStyle() & WS_CHILD);
    // The parent's destruction detaches the child object too.
    parent.DestroyWindow();
    EXPECT_EQ(nullptr, child.m_hWnd);
}

TEST_F(WindowTest, SelfDeletingObjectGoesWithItsWindow)
{
    int deletions = 0;
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, uitest::kLoggedClass, L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    auto* view = new CSelfDeletingWnd(deletions);
    ASSERT_TRUE(view->Create(nullptr, L"", WS_VISIBLE, CRect(0, 0, 50, 50), &parent, 0xE900));
    parent.DestroyWindow();
    EXPECT_EQ(1, deletions);
}

TEST_F(WindowTest, ObjectGoingFirstTakesItsWindow)
{
    HWND hwnd;
    {
        CWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, uitest::kLoggedClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        hwnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(WindowTest, TemporaryObjectWrapsAWindowWithoutOne)
{
    HWND hwnd = MakeTopLevel();
    CWnd* temporary = CWnd::FromHandle(hwnd);
    ASSERT_NE(nullptr, temporary);
    EXPECT_EQ(hwnd, temporary->m_hWnd);
    EXPECT_EQ(temporary, CWnd::FromHandle(hwnd));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hwnd));

    // Destroying through the temporary object is safe: it outlives the call.
    EXPECT_TRUE(temporary->DestroyWindow());
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(nullptr, temporary->m_hWnd);
}

TEST_F(WindowTest, ObjectsOfAGoneWindowAreNotFoundThroughAHandleThatReusesItsSlot)
{
    CWnd object;
    ASSERT_TRUE(object.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    const HWND first = object.m_hWnd;
    EXPECT_TRUE(::DestroyWindow(first));
    EXPECT_EQ(nullptr, object.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(first));
    EXPECT_EQ(nullptr, CWnd::FromHandle(first));
    // The next window takes the freed slot; it has no object of its own.
    HWND second = MakeTopLevel();
    EXPECT_NE(first, second);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(second));
    CWnd* temporary = CWnd::FromHandle(second);
    ASSERT_NE(nullptr, temporary);
    EXPECT_NE(&object, temporary);
    EXPECT_EQ(second, temporary->m_hWnd);
    CWnd::DeleteTempMap();
    EXPECT_TRUE(::DestroyWindow(second));
}

TEST_F(WindowTest, AttachAndDetachMoveOwnership)
{
    HWND hwnd = MakeTopLevel();
    CWnd first;
    CWnd second;
    EXPECT_TRUE(first.Attach(hwnd));
    EXPECT_FALSE(second.Attach(hwnd));   // one permanent object per window
    EXPECT_FALSE(first.Attach(hwnd));
    EXPECT_EQ(hwnd, first.Detach());
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hwnd));
    EXPECT_TRUE(second.Attach(hwnd));
    HWND other = MakeTopLevel();
    EXPECT_FALSE(second.Attach(other));   // already holds one
    EXPECT_FALSE(first.Attach(nullptr));
    DestroyWindow(hwnd);
    EXPECT_EQ(nullptr, second.m_hWnd);
    DestroyWindow(other);
}
