// The two-point scale of the multi-lead view on an extra-lead record of six
// leads and a rhythm strip (whose two gains are its own), used through the
// desktop: on the one-group extra pages the voltage is read at the extra
// leads' gain, the first while the strip is shown, the second while hidden;
// on the two-group pages at the gain of the column the points lie in.
#include <gtest/gtest.h>

#include <utility>

#include "tests/documents/ExtraViewDocFixture.h"
#include "tests/waveviews/MeasureViewTestSupport.h"
#include "waveviews/EnlargedRuler.h"

namespace {

constexpr float kFirstGain = 20.0f;    // the shown strip's pages
constexpr float kSecondGain = 5.0f;    // the pages without it

class ExtraScaleTest : public measuretest::MeasureWindowFixture<extratest::ExtraDocTest, DOC_TYPE_EXTRA> {
protected:
    void Arm(int style, BOOL strip)
    {
        morvelance::ExtraRecordOptions options;
        options.layout = morvelance::ExtraLayout::SixRhythm;
        const extratest::RecordFiles files = Write("scale", options);
        ASSERT_NE(nullptr, Load(m_doc, files, morvelance::ExtraLeadType(options.layout)));
        m_doc.SetSenseMode(1);
        m_doc.SetSense(4, kFirstGain, 0);
        m_doc.SetSense(5, kSecondGain, 0);
        m_doc.SetScaleShow(1);
        MakeView(style);
        m_view->SetShowExtra1Lead(strip);
        ShowScaleOnPage();
    }
    // The reading of two points 120 px apart, one under the other.
    int MicrovoltsOfADrop()
    {
        ClickAt(400, 200);
        ClickAt(400, 320);
        EXPECT_EQ(RULER_STATUS_BOTH, m_view->GetScaleStatus());
        Paint();
        return m_view->GetScaleMicrovolts();
    }
    // What 120 px are at a gain on the view's paper.
    int MicrovoltsAt(float gain)
    {
        CRect client;
        m_view->GetClientRect(&client);
        int gridX = 0, gridY = 0;
        m_view->GetGridCount(gridX, gridY);
        return static_cast<int>(gridY / gain * 120 * 1000.0 / client.Height());
    }
};

// (page style, strip shown)
class ExtraScaleByPageTest : public ExtraScaleTest, public ::testing::WithParamInterface<std::pair<int, bool>> {};

TEST_P(ExtraScaleByPageTest, TheOneGroupPagesReadTheVoltageAtTheExtraLeadsGainOfTheShownStrip)
{
    const int style = GetParam().first;
    const bool strip = GetParam().second;
    Arm(style, strip ? TRUE : FALSE);
    const float gain = strip ? kFirstGain : kSecondGain;
    ASSERT_GT(MicrovoltsAt(gain), 0);
    EXPECT_EQ(MicrovoltsAt(gain), MicrovoltsOfADrop());
}

// The two-group pages (26, 28) show the first set in the left column, the
// second in the right, each at its own gain; the reading follows the column.
class ExtraScaleTwoGroupTest : public ExtraScaleTest, public ::testing::WithParamInterface<int> {};

TEST_P(ExtraScaleTwoGroupTest, TheTwoGroupPagesReadTheVoltageAtTheGainOfTheColumnPointedAt)
{
    Arm(GetParam(), TRUE);
    ASSERT_GT(MicrovoltsAt(kSecondGain), MicrovoltsAt(kFirstGain));
    EXPECT_EQ(MicrovoltsAt(kFirstGain), MicrovoltsOfADrop());   // x 400 of 1040: the left column
    ShowScaleOnPage();   // a fresh measurement
    ClickAt(800, 200);
    ClickAt(800, 320);
    Paint();
    EXPECT_EQ(MicrovoltsAt(kSecondGain), m_view->GetScaleMicrovolts());
}

INSTANTIATE_TEST_SUITE_P(TwoGroupPages, ExtraScaleTwoGroupTest, ::testing::Values(26, 28));

INSTANTIATE_TEST_SUITE_P(OneGroupPages, ExtraScaleByPageTest,
                         ::testing::Values(std::make_pair(22, true), std::make_pair(22, false),
                                           std::make_pair(24, true), std::make_pair(24, false)));

}  // namespace
