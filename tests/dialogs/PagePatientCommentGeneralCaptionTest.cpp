// The general sheet's captions in the fonts its pages give them: on a large
// screen and a small one every label and button text of the general patient
// page and of the additional-information page fits its control and keeps
// clear of the fields beside it, so that none is cut at an edge or wraps a
// character below, where it would be lost.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "dialogs/PageAdditionalInfor.h"
#include "dialogs/PagePatientCommentGeneral.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/dialogs/CaptionFit.h"
#include "tests/dialogs/GeneralPageFixture.h"
#include "tests/dialogs/PageInSheet.h"
#include "tests/documents/FinalViewDocTestUtil.h"

namespace {

using dialogtest::CrowdingCaptions;
using dialogtest::CutCaptions;

const std::vector<std::pair<int, int>> kScreens = {{1920, 1080}, {1024, 768}};

// The general patient page's labels: the left column with its units, the
// right column, the comment's; the trip row and the overall judgement show
// on master-step records only. The separators ("/") between two fields only
// have to fit.
const std::vector<int> kGeneralLabels = {3700, 3707, 3708, 3709, 3710, 3712, 3716, 3717, 3723, 3725,
                                         3726, 3728, 3729, 3733, 3738, 3748, 3749, 3750, 3751, 3752,
                                         3753, 3754, 3755, 3756, 3759};
const std::vector<int> kMasterStepLabels = {3734, 3757};
const std::vector<int> kSeparators = {3719, 3721, 3731};
const int kTripSeparator = 3736;
const int kPhraseButton = 3760;

// The additional-information page's row numbers and its login captions.
const std::vector<int> kAdditionLabels = {3844, 3845, 3846, 3847, 3848, 3849, 3850, 3851, 3852,
                                          3853, 3854, 3855, 3856, 3857, 3858, 3859, 3910, 3911};
const int kAdditionPhraseButton = 3909;

// A button's border and a blank of room either side of its text.
int ButtonMargin()
{
    return 2 * ::GetSystemMetrics(SM_CXEDGE) + 4;
}

std::vector<int> Joined(std::vector<int> a, const std::vector<int>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class GeneralPageCaptions : public dialogtest::GeneralPageFixture {
protected:
    void TearDown() override
    {
        m_additions.Close();
        GeneralPageFixture::TearDown();
        platform::ui::Desktop::Reset();
    }
    dialogtest::CPageInSheet<CPageAdditionalInfor> m_additions;
};

class MasterStepPageCaptions : public finaltest::FinalDocTest {
protected:
    void SetUp() override
    {
        FinalDocTest::SetUp();
        m_doc.GetCtrlPosFromXSL(LOAD_POS_REST);
        m_doc.GetCtrlPosFromXSL(LOAD_POS_FINAL);
        std::string xml;
        ASSERT_EQ(Open(m_doc, Write(finaltest::SynthRecord(), &xml), xml), 0);
        ASSERT_NE(m_doc.GetCurrentDataItem(), nullptr);
    }
    void TearDown() override
    {
        m_host.Close();
        platform::ui::Desktop::Reset();
        FinalDocTest::TearDown();
    }
    CFinalViewDoc m_doc;
    dialogtest::CPageInSheet<CPagePatientCommentGeneral> m_host;
};

}  // namespace

TEST_F(GeneralPageCaptions, EveryLabelOfARhythmRecordsPageIsWholeOnALargeAndASmallScreen)
{
    for (const auto& [width, height] : kScreens) {
        SCOPED_TRACE(width);
        CPagePatientCommentGeneral& page = m_host.Show(m_doc.get(), DOC_TYPE_RHYTHM, L"情報編集", width, height);
        // The rows shown as painted text (no request section: the sub-ID and
        // the requesting department) draw their captions in the hidden
        // labels' rectangles.
        EXPECT_EQ(std::vector<std::string>(), CutCaptions(page, Joined(kGeneralLabels, kSeparators), 0, true));
        EXPECT_EQ(std::vector<std::string>(), CutCaptions(page, {kPhraseButton}, ButtonMargin()));
        EXPECT_EQ(std::vector<std::string>(), CrowdingCaptions(page, kGeneralLabels));
    }
}

TEST_F(MasterStepPageCaptions, TheTripAndJudgementCaptionsAreWholeOnALargeAndASmallScreen)
{
    for (const auto& [width, height] : kScreens) {
        SCOPED_TRACE(width);
        CPagePatientCommentGeneral& page = m_host.Show(&m_doc, DOC_TYPE_FINAL, L"情報編集", width, height);
        ASSERT_TRUE(m_host.Shown(3734)) << "the record's trips are counted";
        const std::vector<int> labels = Joined(kGeneralLabels, kMasterStepLabels);
        EXPECT_EQ(std::vector<std::string>(), CutCaptions(page, Joined(labels, {kTripSeparator}), 0, true));
        EXPECT_EQ(std::vector<std::string>(), CrowdingCaptions(page, labels));
    }
}

TEST_F(GeneralPageCaptions, TheAdditionPagesLoginCaptionsAreWholeOnALargeAndASmallScreen)
{
    for (const auto& [width, height] : kScreens) {
        SCOPED_TRACE(width);
        CPageAdditionalInfor& page = m_additions.Show(m_doc.get(), DOC_TYPE_RHYTHM, L"付帯情報", width, height);
        EXPECT_EQ(std::vector<std::string>(), CutCaptions(page, kAdditionLabels, 0));
        EXPECT_EQ(std::vector<std::string>(), CutCaptions(page, {kAdditionPhraseButton}, ButtonMargin()));
        EXPECT_EQ(std::vector<std::string>(), CrowdingCaptions(page, kAdditionLabels));
    }
}
