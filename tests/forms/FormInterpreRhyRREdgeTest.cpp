// The rhythm/RR comment form on an extra-lead record the record maker
// wrote, with rows the layout hides: every request row hidden, and the
// comment field hidden after it grew.
#include <gtest/gtest.h>

#include "controls/MultiEdit.h"
#include "core/PositionCtrl.h"
#include "forms/FormInterpreRhyRR.h"
#include "tests/documents/ExtraViewDocFixture.h"
#include "tests/forms/FormTestSupport.h"

namespace {

// Rows of the extra-mode table.
constexpr int kLastRequestRow = 19, kInfoRow = 20, kHeartRateRow = 48, kCommentRow = 39, kBelowCommentRow = 40;
constexpr UINT kInfoLabel = 3656, kInfoDate = 3658, kHeartRate = 4012, kCommentEditor = 3662, kFirstRequestCombo = 3637;

class RhyRRFormEdge : public extratest::ExtraDocTest {
protected:
    void SetUp() override
    {
        extratest::ExtraDocTest::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        platform::ui::Desktop::Reset();
        m_screen.Use(m_doc, 1024, 768);
        ASSERT_NE(Load(m_doc, Write("extra", morvelance::ExtraRecordOptions()), 3), nullptr);
    }
    void TearDown() override
    {
        m_host.Close();
        extratest::ExtraDocTest::TearDown();
    }
    CFormInterpreRhyRR& Show()
    {
        auto* form = m_host.Show(m_doc, DOC_TYPE_EXTRA, RUNTIME_CLASS(CFormInterpreRhyRR), 540, 640);
        EXPECT_NE(form, nullptr);
        return *form;
    }
    CWnd* Ctrl(UINT id) { return m_host.form->GetDlgItem(id); }
    CRect Placed(UINT id) { return formtest::PlacedRect(*m_host.form, *Ctrl(id)); }
    _POSITION_CTRL* Table() { return m_doc.GetDefCtrlPos()->stExtra; }

    formtest::ScopedScreen m_screen;
    formtest::FormHost<CFormInterpreRhyRR> m_host;
};

}  // namespace

TEST_F(RhyRRFormEdge, WithEveryRequestRowHiddenTheInformationLineStartsBelowTheHeartRate)
{
    _POSITION_CTRL* t = Table();
    t[kHeartRateRow].bVisible = 1;
    for (int row = 0; row <= kLastRequestRow; ++row) t[row].bVisible = 0;
    Show();
    ASSERT_TRUE(formtest::IsShown(Ctrl(kHeartRate)));
    EXPECT_FALSE(formtest::IsShown(Ctrl(kFirstRequestCombo)));
    // The rows close up to the first request row's place, then give way to the heart-rate line.
    EXPECT_EQ(Placed(kInfoLabel).top, t[0].nTop + t[kHeartRateRow].nHeight);
    // The information date, which shares the heart rate's columns, no longer runs into it.
    CRect overlap;
    EXPECT_FALSE(overlap.IntersectRect(Placed(kInfoDate), Placed(kHeartRate)));
    EXPECT_GE(Placed(kInfoDate).top, Placed(kHeartRate).bottom);

    // One request row shown: the rows close up to it without the heart-rate step.
    m_host.Close();
    t[kLastRequestRow - 1].bVisible = 1;
    t[kLastRequestRow].bVisible = 1;
    Show();
    EXPECT_EQ(Placed(kInfoLabel).top, t[0].nTop + (t[kInfoRow].nTop - t[kLastRequestRow - 1].nTop));
}

TEST_F(RhyRRFormEdge, AHiddenCommentTakesItsGrownHeightAwayFromEverythingBelow)
{
    CFormInterpreRhyRR& form = Show();
    // Eight lines: the comment grows by two.
    CMultiEdit* comment = form.GetCommentEdit();
    ASSERT_NE(comment, nullptr);
    comment->SetFocus();
    platform::ui::Desktop::PumpMessages();
    ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
    for (int i = 0; i < 8; ++i) {
        if (i) {
            platform::ui::Desktop::KeyPress(VK_RETURN);
            platform::ui::Desktop::PumpMessages();
        }
        platform::ui::Desktop::TypeText(L"所見");
    }
    Ctrl(kFirstRequestCombo)->SetFocus();
    platform::ui::Desktop::PumpMessages();
    const int extra = form.GetCommentExtraHeight();
    ASSERT_GT(extra, 0);
    const int commentTop = formtest::PlacedRect(form, *comment).top;
    const int belowShown = Placed(kCommentEditor).top;
    EXPECT_EQ(belowShown - commentTop, Table()[kBelowCommentRow].nTop - Table()[kCommentRow].nTop + extra);

    // Hidden by the layout, the grown comment leaves no gap: the row below takes its place.
    Table()[kCommentRow].bVisible = 0;
    form.MoveCtrl(1);
    EXPECT_FALSE(formtest::IsShown(comment));
    EXPECT_EQ(Placed(kCommentEditor).top, commentTop);
}
