// The caliper dialog and the rhythm/RR enlarged dialog run modally on a
// maker record: what they show from their setters, the scroll bar of a long
// record, and the heart-rate row only where the record keeps a heart rate.
#include <gtest/gtest.h>

#include "dialogs/DlgDivider.h"
#include "dialogs/DlgEnlargedRhyRR.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/ModalScript.h"
#include "waveviews/ViewDividerWave.h"
#include "waveviews/ViewEnlargedWave.h"

using platform::ui::Desktop;
using testsupport::ControlText;

namespace {

class DlgDividerTest : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_doc.m_bAutoDelete = FALSE;
    }
    void TearDown() override
    {
        Desktop::Reset();
        resttest::RestDocFixture::TearDown();
    }
    void OpenRecord(double seconds)
    {
        morvelance::RestRecordShape shape;
        shape.heartRate = 66.0;
        shape.seconds = seconds;
        ASSERT_EQ(0, Open(AddRecord("dialog", shape)));
    }
    int Length() { return m_doc.GetRhythmWaveData(1, nullptr, -1) / 2; }
public:
    static bool Visible(CWnd& dialog, int id)
    {
        CWnd* control = dialog.GetDlgItem(id);
        return control && (control->GetStyle() & WS_VISIBLE);
    }
};

TEST_F(DlgDividerTest, TheDialogShowsTheRestRecordsHeartRateAndHidesTheBarOfATenSecondRecord)
{
    OpenRecord(10.0);
    CDlgDivider dialog(nullptr);
    dialog.SetDoc(&m_doc, DOC_TYPE_REST);
    dialog.SetLeadID(1);
    dialog.SetWaveParam(260, 30, Length(), 500, 4000);
    testsupport::ModalScript script;
    script.On(CDlgDivider::IDD, [&](CDialog&) {
        EXPECT_EQ(CString(L"66"), ControlText(dialog, CDlgDivider::IDC_RATE_EDIT));
        EXPECT_FALSE(Visible(dialog, CDlgDivider::IDC_STRIP_BAR));
        // A start past what fits is pulled back so that the strip ends with the record.
        EXPECT_EQ(0, dialog.GetStart());
        EXPECT_EQ(5000, dialog.GetScreenSamples());
        ASSERT_NE(nullptr, dialog.GetWaveView());
        EXPECT_EQ(14, dialog.GetWaveView()->GetWaveStyle());
    });
    dialog.DoModal();
    EXPECT_EQ(1u, script.Seen().size());
}

TEST_F(DlgDividerTest, TheRhythmEnlargedDialogCentresItsViewOnTheClickAndOnlyCloses)
{
    OpenRecord(10.0);
    CDlgEnlargedRhyRR dialog(nullptr);
    dialog.SetDoc(&m_doc, DOC_TYPE_REST);
    dialog.SetSenseID(6);
    dialog.SetClickInfo(1, 1234, 0, Length(), 0);
    dialog.SetDotsPerMM(2.0, 2.0);
    testsupport::ModalScript script;
    script.On(CDlgEnlargedRhyRR::IDD, [&](CDialog&) {
        EXPECT_EQ(CString(L"关闭"), ControlText(dialog, IDOK));
        EXPECT_EQ(nullptr, dialog.GetDlgItem(IDCANCEL));
        ASSERT_NE(nullptr, dialog.GetWaveView());
        EXPECT_EQ(1, dialog.GetLead());
        EXPECT_EQ(6, dialog.GetSenseID());
    });
    dialog.DoModal();
    EXPECT_EQ(1u, script.Seen().size());
}

// A minute of rhythm: the strip scrolls over it.
class DlgDividerRhythmTest : public rhythmtest::RhythmDocTest {
protected:
    void SetUp() override
    {
        rhythmtest::RhythmDocTest::SetUp();
        morvelance::RhythmRecordShape shape;
        shape.seconds = 60.0;
        ASSERT_EQ(0, Open(rhythmtest::WriteRhythm(m_dir, "minute", shape), 1));
        m_doc->m_bAutoDelete = FALSE;
        m_nLength = m_doc->GetRhythmWaveData(0, nullptr, -1) / 2;
        m_dialog.SetDoc(m_doc.get(), DOC_TYPE_RHYTHM);
        m_dialog.SetWaveParam(260, 30, m_nLength, 500, 0);
    }
    void TearDown() override
    {
        Desktop::Reset();
        rhythmtest::RhythmDocTest::TearDown();
    }
    CDlgDivider m_dialog{nullptr};
    int m_nLength = 0;
};

TEST_F(DlgDividerRhythmTest, ALongRecordScrollsTheStripByTheBarAndKeepsTheRateRowHidden)
{
    testsupport::ModalScript script;
    script.On(CDlgDivider::IDD, [&](CDialog&) {
        // A rhythm record keeps no heart rate the dialog could update.
        EXPECT_FALSE(DlgDividerTest::Visible(m_dialog, CDlgDivider::IDC_RATE_EDIT));
        EXPECT_FALSE(DlgDividerTest::Visible(m_dialog, IDOK));
        EXPECT_TRUE(DlgDividerTest::Visible(m_dialog, IDCANCEL));
        auto* bar = static_cast<CScrollBar*>(m_dialog.GetDlgItem(CDlgDivider::IDC_STRIP_BAR));
        ASSERT_NE(nullptr, bar);
        EXPECT_TRUE(bar->GetStyle() & WS_VISIBLE);
        const LPARAM handle = reinterpret_cast<LPARAM>(bar->GetSafeHwnd());
        m_dialog.SendMessage(WM_HSCROLL, SB_PAGERIGHT, handle);
        const int page = (m_nLength - 5000) / 50;
        ASSERT_GT(page, 1);
        EXPECT_EQ(page, m_dialog.GetWaveView()->GetStripStart());
        m_dialog.SendMessage(WM_HSCROLL, SB_LINELEFT, handle);
        EXPECT_EQ(page - 1, m_dialog.GetWaveView()->GetStripStart());
        m_dialog.SendMessage(WM_HSCROLL, SB_RIGHT, handle);
        EXPECT_EQ(m_nLength - 5000, m_dialog.GetWaveView()->GetStripStart());
        EXPECT_EQ(19, m_dialog.GetWaveView()->GetWaveStyle());
    });
    m_dialog.DoModal();
    EXPECT_EQ(1u, script.Seen().size());
}

}  // namespace
