// The enlarged beat as an average-beat view opens it, through its opener:
// the dialog comes up on the whole beat of the clicked lead, editable, with
// the document's settings of that lead and the lead's measurement table,
// as the dialog made by hand with the same request does.
#include <gtest/gtest.h>

#include "analysisviews/EnlargedBeatOpener.h"
#include "analysisviews/ViewAveOverlappedWave.h"
#include "dialogs/DlgEnlargedWave.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/ModalScript.h"
#include "waveviews/ViewEnlargedWave.h"

namespace {

const UINT kPAmp = 5600;
const UINT kRAmp = 5606;

// What a running enlarged-beat dialog holds.
struct Shown {
    int lead = -1, center = -1, value = -1, length = -1, limb = -1;
    bool editable = false;
    bool wholeBeat = false;
    int columns = 0, rows = 0;
    int overlapSense = -1;
    CString pAmp, rAmp;
};

Shown Read(CDlgEnlargedWave& dialog)
{
    Shown s;
    s.lead = dialog.GetClickLead();
    s.center = dialog.GetCenter();
    s.value = dialog.GetClickValue();
    s.length = dialog.GetWaveLength();
    s.limb = dialog.GetLimbLead();
    s.editable = dialog.GetMeasureTable().IsEditable();
    if (CViewEnlargedWave* view = dialog.GetWaveView()) {
        s.wholeBeat = view->IsAverageMode() != FALSE;
        view->GetGridCount(s.columns, s.rows);
    }
    if (CViewAveOverlappedWave* overlap = dialog.GetOverlapView()) s.overlapSense = overlap->GetSenseID();
    dialog.GetDlgItem(kPAmp)->GetWindowText(s.pAmp);
    dialog.GetDlgItem(kRAmp)->GetWindowText(s.rAmp);
    return s;
}

class EnlargedBeatOpenerTest : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        m_item = AddRecord("beat", morvelance::RestRecordShape());
        ASSERT_EQ(0, Open(m_item));
        // Limb and chest leads at sensitivities apart, to tell which was taken.
        m_doc.SetSense(1, 20.0f, 0);
        m_doc.SetSense(0, 5.0f, 0);
    }
    void TearDown() override
    {
        platform::ui::Desktop::Reset();
        resttest::RestDocFixture::TearDown();
    }
    _ENLARGED_BEAT_REQUEST Request(double dots = 3.0)
    {
        _ENLARGED_BEAT_REQUEST request;
        request.pDoc = &m_doc;
        request.nDocType = DOC_TYPE_REST;
        request.dDotsPerMMX = dots;
        request.dDotsPerMMY = dots;
        request.nLead = 1;   // II
        request.nSample = 300;
        request.nWindowStart = 150;
        request.nSampleCount = 600;
        request.bLimbLead = TRUE;
        return request;
    }
    // What the opener's dialog shows; it is then closed.
    Shown OpenThroughOpener(const _ENLARGED_BEAT_REQUEST& request)
    {
        Shown shown;
        testsupport::ModalScript script;
        script.On(CDlgEnlargedWave::IDD, [&](CDialog& dialog) {
            auto* wave = dynamic_cast<CDlgEnlargedWave*>(&dialog);
            ASSERT_NE(wave, nullptr);
            shown = Read(*wave);
            dialog.EndDialog(IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, CEnlargedBeatOpener::Open(request));
        EXPECT_EQ(script.Seen(), std::vector<UINT>{CDlgEnlargedWave::IDD});
        return shown;
    }
    // The same request given by hand to an editable whole-beat dialog.
    Shown OpenByHand(const _ENLARGED_BEAT_REQUEST& request)
    {
        Shown shown;
        CDlgEnlargedWave dialog(1, 0, nullptr);
        dialog.SetDoc(request.pDoc, request.nDocType);
        dialog.SetDotsPerMM(request.dDotsPerMMX, request.dDotsPerMMY);
        dialog.SetClickInfo(request.nLead, request.nSample, request.nWindowStart, request.nSampleCount);
        dialog.SetLimbLead(request.bLimbLead);
        testsupport::ModalScript script;
        script.On(CDlgEnlargedWave::IDD, [&](CDialog&) {
            shown = Read(dialog);
            dialog.EndDialog(IDCANCEL);
        });
        dialog.DoModal();
        return shown;
    }

    _RESTDATAITEM* m_item = nullptr;
};

}  // namespace

TEST_F(EnlargedBeatOpenerTest, TheOpenersDialogComesUpEditableOnTheWholeBeatOfTheClickedLead)
{
    const Shown shown = OpenThroughOpener(Request());
    EXPECT_EQ(shown.lead, 1);
    EXPECT_EQ(shown.center, 300);
    EXPECT_EQ(shown.value, 150);
    EXPECT_EQ(shown.length, 600);
    EXPECT_EQ(shown.limb, 1);
    EXPECT_TRUE(shown.editable) << "the table came up read-only";
    EXPECT_TRUE(shown.wholeBeat) << "the dialog came up on a strip, not the whole beat";
    EXPECT_EQ(shown.overlapSense, 1);
    // The clicked lead's measurements.
    EXPECT_EQ(shown.pAmp, m_item->stMeasure.At(0, 1));
    EXPECT_EQ(shown.rAmp, m_item->stMeasure.At(6, 1));
}

TEST_F(EnlargedBeatOpenerTest, TheOpenersDialogIsTheDialogTheRequestDescribes)
{
    for (double dots : {3.0, 1.5}) {
        SCOPED_TRACE(dots);
        const Shown opened = OpenThroughOpener(Request(dots));
        const Shown made = OpenByHand(Request(dots));
        EXPECT_GT(opened.columns, 0);
        EXPECT_EQ(opened.columns, made.columns);
        EXPECT_EQ(opened.rows, made.rows);
        EXPECT_EQ(opened.editable, made.editable);
        EXPECT_EQ(opened.wholeBeat, made.wholeBeat);
        EXPECT_EQ(opened.pAmp, made.pAmp);
    }
    // The grid follows the dots per millimetre handed over.
    EXPECT_NE(OpenThroughOpener(Request(3.0)).columns, OpenThroughOpener(Request(1.5)).columns);
}

TEST_F(EnlargedBeatOpenerTest, AReadOnlyDocumentsBeatComesUpWithItsTableReadOnly)
{
    m_doc.SetReadOnly(1);
    const Shown shown = OpenThroughOpener(Request());
    EXPECT_FALSE(shown.editable);
    EXPECT_EQ(shown.pAmp, m_item->stMeasure.At(0, 1));
}
