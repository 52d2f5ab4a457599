#include <gtest/gtest.h>

#include "controls/MenuMemDC.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Image.h"

namespace {

class MenuMemDCTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HDC hdc = platform::gdi::CreateImageDC(100, 50);
        ASSERT_NE(nullptr, hdc);
        m_target.Attach(hdc);
    }
    void TearDown() override { ::DeleteDC(m_target.Detach()); }

    CDC m_target;
};

}  // namespace

TEST_F(MenuMemDCTest, DrawingAtTargetCoordinatesLandsOnlyAtDestruction)
{
    const CRect rcItem(10, 10, 40, 30);
    {
        CMenuMemDC dc(&m_target, rcItem);
        dc.FillSolidRect(&rcItem, RGB(200, 0, 0));
        dc.FillSolidRect(rcItem.left, rcItem.top, 5, 5, RGB(0, 0, 200));
        EXPECT_EQ(RGB(255, 255, 255), m_target.GetPixel(20, 20));
    }
    EXPECT_EQ(RGB(0, 0, 200), m_target.GetPixel(10, 10));
    EXPECT_EQ(RGB(200, 0, 0), m_target.GetPixel(39, 29));
    EXPECT_EQ(RGB(255, 255, 255), m_target.GetPixel(40, 30));
    EXPECT_EQ(RGB(255, 255, 255), m_target.GetPixel(9, 9));
}

TEST_F(MenuMemDCTest, DrawingOutsideTheItemIsClippedByTheBitmap)
{
    const CRect rcItem(50, 20, 60, 30);
    {
        CMenuMemDC dc(&m_target, rcItem);
        dc.FillSolidRect(0, 0, 100, 50, RGB(0, 150, 0));
    }
    EXPECT_EQ(RGB(0, 150, 0), m_target.GetPixel(55, 25));
    EXPECT_EQ(RGB(255, 255, 255), m_target.GetPixel(45, 25));
    EXPECT_EQ(RGB(255, 255, 255), m_target.GetPixel(65, 25));
}

TEST(MenuMemDC, WithoutTargetNothingHappens)
{
    CMenuMemDC dc(nullptr, CRect(0, 0, 10, 10));
    EXPECT_EQ(nullptr, dc.GetSafeHdc());
}
