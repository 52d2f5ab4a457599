// The steps both enlarged views share: a pan never takes the picture wholly
// out of the view, and the ruler's height reads in microvolts at the
// document's sense (none without a sense, so no division by zero).
#include <gtest/gtest.h>

#include "waveviews/EnlargedRuler.h"

TEST(EnlargedRulerSteps, PanOffsetIsHeldWithinTheViewEitherWay)
{
    EXPECT_EQ(EnlargedPanOffset(10, 25, 200), 35);
    EXPECT_EQ(EnlargedPanOffset(190, 40, 200), 200);
    EXPECT_EQ(EnlargedPanOffset(-190, -40, 200), -200);
    EXPECT_EQ(EnlargedPanOffset(200, -30, 200), 170);
}

TEST(EnlargedRulerSteps, RulerHeightReadsInMicrovoltsAndNothingWithoutASense)
{
    // 50 px of a 200 px view split in 4 squares is one square: a millivolt at sense 1.
    EXPECT_EQ(EnlargedRulerMicrovolts(4, 50, 200, 1.0f), 1000);
    EXPECT_EQ(EnlargedRulerMicrovolts(4, 50, 200, 2.0f), 500);
    EXPECT_EQ(EnlargedRulerMicrovolts(4, 50, 200, 0.0f), 0);
}
