// What the patient-sheet tests share: pressing and typing as a user does,
// a record file's bytes, and the host's notification window.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/support/TestSupport.h"

namespace sheettest {

// Clicks button `id` of `dialog` and lets what it started run.
inline void Press(CWnd& dialog, int id)
{
    CWnd* button = dialog.GetDlgItem(id);
    ASSERT_NE(button, nullptr) << id;
    button->SendMessage(BM_CLICK);
    platform::ui::Desktop::PumpMessages();
}

// Selects the whole text of field `id` and types over it.
inline void Retype(CWnd& page, int id, LPCWSTR text)
{
    CWnd* control = page.GetDlgItem(id);
    ASSERT_NE(control, nullptr) << id;
    control->SetFocus();
    control->SendMessage(EM_SETSEL, 0, -1);
    platform::ui::Desktop::TypeText(text);
    platform::ui::Desktop::PumpMessages();
}

// Moves the focus to field `id`, so that the field before it hears it left.
inline void FocusOn(CWnd& page, int id)
{
    CWnd* control = page.GetDlgItem(id);
    ASSERT_NE(control, nullptr) << id;
    control->SetFocus();
    platform::ui::Desktop::PumpMessages();
}

// Whether button `id` of `dialog` shows whole: visible, and no other shown child of the
// dialog (the sheet above all) lies over any part of it.
inline ::testing::AssertionResult ShowsWhole(CWnd& dialog, int id)
{
    CWnd* button = dialog.GetDlgItem(id);
    if (!button || !button->IsWindowVisible()) return ::testing::AssertionFailure() << id << " is not shown";
    CRect place;
    button->GetWindowRect(&place);
    for (CWnd* child = dialog.GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
        if (child == button || !child->IsWindowVisible()) continue;
        CRect other, overlap;
        child->GetWindowRect(&other);
        if (overlap.IntersectRect(&place, &other))
            return ::testing::AssertionFailure() << id << " lies under child " << child->GetDlgCtrlID() << " from y "
                                                 << overlap.top << " to " << overlap.bottom;
    }
    return ::testing::AssertionSuccess();
}

// Clicks the middle of button `id` where it stands on the screen: the window under the
// pointer takes the click, as under a user's hand.
inline void ClickOnScreen(CWnd& dialog, int id)
{
    CWnd* button = dialog.GetDlgItem(id);
    ASSERT_NE(button, nullptr) << id;
    CRect place;
    button->GetWindowRect(&place);
    platform::ui::Desktop::Click(place.CenterPoint());
    platform::ui::Desktop::PumpMessages();
}

// The host's notification window: counts WM_USER+0x16.
class CNotifyCount : public CWnd {
public:
    int count = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER + 0x16) ++count;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

}  // namespace sheettest
