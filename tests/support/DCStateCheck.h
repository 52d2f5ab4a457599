// Checks that a drawing routine leaves a device context as it found it: the
// selected pen, brush and font, the ROP2, the background mode and the text
// colour. The context is first given a state of the check's own (objects no
// drawing code selects, unusual modes), so that a routine which "restores"
// to the defaults instead of to what it found is caught too.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "platform/gdi/Gdi.h"

namespace testsupport {

struct DCState {
    HGDIOBJ hPen = nullptr;
    HGDIOBJ hBrush = nullptr;
    HGDIOBJ hFont = nullptr;
    int nROP2 = 0;
    int nBkMode = 0;
    COLORREF crText = 0;
};

DCState ReadDCState(HDC hDC);

// Success when `draw` left hDC in the state it was given; the failure names
// every attribute that changed. hDC gets its own state back afterwards.
::testing::AssertionResult LeavesDCAsFound(HDC hDC, const std::function<void()>& draw);

}  // namespace testsupport

#define EXPECT_LEAVES_DC_AS_FOUND(hDC, statement) EXPECT_TRUE(testsupport::LeavesDCAsFound((hDC), [&] { statement; }))
