// A closed combo box drawn from a template that gives it the scroll styles
// meant for its list: the field and its arrow look exactly as without them,
// with no bar beside the arrow, and the edit of a drop-down combo box as
// wide as without them.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/Window.h"
#include "tests/platform/ui/UiTestSupport.h"

using platform::ui::Desktop;

namespace {

const int kWidth = 150;

class ComboBoxClosedPaintTest : public uitest::WindowLeakCheck {
protected:
    void SetUp() override
    {
        WindowLeakCheck::SetUp();
        m_parent = uitest::CreateLogged(m_log, WS_POPUP | WS_VISIBLE, 0, 0, 400, 200);
        ASSERT_NE(nullptr, m_parent);
    }
    void TearDown() override
    {
        DestroyWindow(m_parent);
        WindowLeakCheck::TearDown();
    }
    HWND MakeCombo(DWORD style, int y)
    {
        HWND combo = CreateWindowExW(0, WC_COMBOBOX, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_HASSTRINGS | style,
                                     20, y, kWidth, 120, m_parent, nullptr, nullptr, nullptr);
        for (const wchar_t* item : {L"不明", L"男", L"女", L"a", L"b", L"c", L"d", L"e", L"f", L"g", L"h", L"i"})
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendMessageW(combo, CB_SETCURSEL, 1, 0);
        return combo;
    }
    // Every pixel of the combo box's window as it stands drawn.
    static std::vector<COLORREF> Pixels(HWND combo)
    {
        RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RECT window = {};
        GetWindowRect(combo, &window);
        std::vector<COLORREF> pixels;
        HDC hdc = GetWindowDC(combo);
        for (int y = 0; y < window.bottom - window.top; ++y)
            for (int x = 0; x < window.right - window.left; ++x) pixels.push_back(GetPixel(hdc, x, y));
        ReleaseDC(combo, hdc);
        return pixels;
    }
    static int Differing(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b)
    {
        if (a.size() != b.size()) return -1;
        int differ = 0;
        for (size_t i = 0; i < a.size(); ++i) differ += a[i] != b[i] ? 1 : 0;
        return differ;
    }

    uitest::MessageLog m_log;
    HWND m_parent = nullptr;
};

}  // namespace

TEST_F(ComboBoxClosedPaintTest, ADropDownListWithTheScrollStylesDrawsAsOneWithout)
{
    HWND plain = MakeCombo(CBS_DROPDOWNLIST, 10);
    HWND scrolled = MakeCombo(CBS_DROPDOWNLIST | WS_VSCROLL | WS_HSCROLL, 60);
    ASSERT_NE(nullptr, plain);
    ASSERT_NE(nullptr, scrolled);
    const std::vector<COLORREF> expected = Pixels(plain);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(0, Differing(expected, Pixels(scrolled)));
    // The arrow's button ends at the box's own right edge, where a bar would stand.
    RECT client = {};
    GetClientRect(scrolled, &client);
    RECT window = {};
    GetWindowRect(scrolled, &window);
    EXPECT_EQ(window.right - window.left, client.right);
}

TEST_F(ComboBoxClosedPaintTest, ADropDownComboWithTheScrollStyleDrawsAsOneWithoutAndItsEditKeepsItsWidth)
{
    HWND plain = MakeCombo(CBS_DROPDOWN | CBS_AUTOHSCROLL, 10);
    HWND scrolled = MakeCombo(CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 60);
    const std::vector<COLORREF> expected = Pixels(plain);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(0, Differing(expected, Pixels(scrolled)));
    // The edit inside spans the same width in both.
    HWND plainEdit = GetWindow(plain, GW_CHILD);
    HWND scrolledEdit = GetWindow(scrolled, GW_CHILD);
    ASSERT_NE(nullptr, plainEdit);
    ASSERT_NE(nullptr, scrolledEdit);
    RECT a = {}, b = {};
    GetWindowRect(plainEdit, &a);
    GetWindowRect(scrolledEdit, &b);
    EXPECT_EQ(a.right - a.left, b.right - b.left);
}
