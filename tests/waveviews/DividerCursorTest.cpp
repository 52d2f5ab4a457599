// The divider cursor the waveform views show over a measuring divider: the
// library's module gives it as its own cursor, apart from the hand.
#include <gtest/gtest.h>

#include "core/MorvelanceApp.h"
#include "platform/ui/windowing/Resources.h"
#include "resources/ResourceIds.h"

TEST(DividerCursor, TheModuleGivesTheDividerCursorApartFromTheHand)
{
    const HINSTANCE module = GetMorvelanceModule();
    const HCURSOR divider = ::LoadCursorW(module, MAKEINTRESOURCE(IDC_CURSOR_DIVIDER));
    ASSERT_NE(nullptr, divider);
    EXPECT_NE(::LoadCursorW(module, MAKEINTRESOURCE(IDC_CURSOR_HAND)), divider);
    // Loaded once: the same handle comes back.
    EXPECT_EQ(divider, ::LoadCursorW(module, MAKEINTRESOURCE(IDC_CURSOR_DIVIDER)));
}
