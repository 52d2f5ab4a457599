// The enlarged views as their hosts see them: the runtime class chain that
// IsKindOf and DYNAMIC_DOWNCAST walk, and the multi-lead view's mouse (its
// double-click pop-ups, calibration-column presses and magnifier cursor)
// kept out of the enlarged wave view even when its base is set up to use
// them, with the input going through the desktop.
#include <gtest/gtest.h>

#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Resources.h"
#include "tests/support/ModalScript.h"
#include "tests/waveviews/EnlargedViewTestSupport.h"
#include "tests/waveviews/MeasureViewTestSupport.h"
#include "tools/RestRecord.h"
#include "waveviews/ViewEnlargedOverlap.h"
#include "waveviews/ViewEnlargedWave.h"

using platform::ui::Desktop;

namespace {

const int kWidth = 400;
const int kHeight = 200;

// The chain of a class from itself up to CObject.
std::vector<CRuntimeClass*> ClassChain(CRuntimeClass* runtime)
{
    std::vector<CRuntimeClass*> chain;
    for (; runtime; runtime = runtime->GetBaseClass()) chain.push_back(runtime);
    return chain;
}

TEST(EnlargedViewClasses, TheWaveViewIsAMultiLeadViewAndTheOverlapViewAWaveViewOnly)
{
    const std::vector<CRuntimeClass*> wave = ClassChain(RUNTIME_CLASS(CViewEnlargedWave));
    ASSERT_GE(wave.size(), 4u);
    EXPECT_EQ(RUNTIME_CLASS(CViewRhythmWave), wave[1]);
    EXPECT_EQ(RUNTIME_CLASS(CWaveView), wave[2]);
    EXPECT_EQ(RUNTIME_CLASS(CView), wave[3]);
    const std::vector<CRuntimeClass*> overlap = ClassChain(RUNTIME_CLASS(CViewEnlargedOverlap));
    ASSERT_GE(overlap.size(), 3u);
    EXPECT_EQ(RUNTIME_CLASS(CWaveView), overlap[1]);
    EXPECT_EQ(RUNTIME_CLASS(CView), overlap[2]);

    // Made by name, as the dialogs and the host make them.
    std::unique_ptr<CObject> made(CRuntimeClass::CreateObject("CViewEnlargedWave"));
    ASSERT_NE(nullptr, made);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CViewRhythmWave)));
    EXPECT_NE(nullptr, DYNAMIC_DOWNCAST(CViewRhythmWave, made.get()));
    EXPECT_NE(nullptr, DYNAMIC_DOWNCAST(CViewEnlargedWave, made.get()));
    std::unique_ptr<CObject> other(CRuntimeClass::CreateObject("CViewEnlargedOverlap"));
    ASSERT_NE(nullptr, other);
    EXPECT_TRUE(other->IsKindOf(RUNTIME_CLASS(CWaveView)));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CViewRhythmWave, other.get()));
}

TEST(EnlargedViewClasses, TheDocumentKindsAreTheBaseViewsOwn)
{
    CViewEnlargedWave wave;
    CWaveView& waveBase = wave;
    wave.SetDocType(DOC_TYPE_RHYTHM);
    EXPECT_EQ(DOC_TYPE_RHYTHM, waveBase.GetDocType());

    CViewEnlargedOverlap overlap;
    CWaveView& overlapBase = overlap;
    overlap.SetBaseECGDoc(nullptr, DOC_TYPE_MFER);
    EXPECT_EQ(DOC_TYPE_MFER, overlapBase.GetDocType());
}

// ---- the multi-lead view's mouse stays out -----------------------------------------------------

template <class View> class EnlargedInputTest : public enlargedtest::EnlargedViewFixture<View> {
protected:
    using Fixture = enlargedtest::EnlargedViewFixture<View>;
    void OpenRecord()
    {
        morvelance::RestRecordShape shape;
        morvelance::RecordBuilder items = morvelance::MakeRestRecord(shape);
        this->m_files = morvelance::WriteRestRecord(this->m_dir.Path(), "base", shape, items);
        ASSERT_EQ(0, this->Open(this->AddItem(this->m_files, false)));
    }
    void DoubleClickAt(int x, int y)
    {
        Desktop::AdvanceClock(1000);
        Desktop::MoveMouse(this->Hwnd(), x, y);
        Desktop::DoubleClick(this->Hwnd(), x, y);
        Desktop::PumpMessages();
    }
};

class EnlargedWaveInputTest : public EnlargedInputTest<CViewEnlargedWave> {
protected:
    void SetUp() override
    {
        EnlargedInputTest::SetUp();
        ASSERT_TRUE(m_owner.CreateEx(0, nullptr, L"owner", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_doc.SetNotifyWnd(&m_owner);
    }
    void TearDown() override
    {
        m_doc.SetNotifyWnd(nullptr);
        m_owner.DestroyWindow();
        EnlargedInputTest::TearDown();
    }
    // Lead II's average beat, as the dialog shows it, with the multi-lead
    // part of the view given a twelve-lead page of its own samples: the
    // state in which that view's mouse would open pop-ups and report pulses.
    void ShowLeadOverAMultiLeadPage()
    {
        OpenRecord();
        MakeView(kWidth, kHeight);
        m_view->SetDocType(DOC_TYPE_REST);
        m_view->SetBackGridSize(4.0, 4.0, 1.0);
        m_view->SetWaveInfo(m_doc.GetCurrentDataItem()->pECGData, 0, 25.0f, 10.0f, 100, 5000);
        m_view->SetCenterPos(0, 1, TRUE);
        m_view->SendMessage(WM_INITIALUPDATE, 0, 0);
        CViewRhythmWave& multiLead = *m_view;
        multiLead.SetWaveStyle(11, TRUE);
        multiLead.OnUpdate(nullptr, 0, nullptr);
        ASSERT_GT(multiLead.GetLeadSampleCount(0), 0);
        Move(kWidth - 1, kHeight - 1);
        Paint();
    }

    measuretest::CRecording<CWnd> m_owner{WM_CAL_PULSE_CLICKED};
};

TEST_F(EnlargedWaveInputTest, ADoubleClickOpensNoPopupAndIsTheRulersSecondPress)
{
    ShowLeadOverAMultiLeadPage();
    testsupport::ModalScript script;
    m_view->SetRulerStatus(RULER_STATUS_ARMED);
    DoubleClickAt(200, 20);
    EXPECT_TRUE(script.Seen().empty());
    EXPECT_FALSE(m_view->IsPopupOpen());
    EXPECT_EQ(nullptr, m_view->GetStoredPopup());
    // The first press set mark 0, the second fixed mark 1.
    EXPECT_EQ(RULER_STATUS_BOTH, m_view->GetRulerStatus());
    EXPECT_EQ(CPoint(200, 20), m_view->GetRuler().GetPoint(0));
}

TEST_F(EnlargedWaveInputTest, ADoubleClickWithTheRulerOffOpensNothingAndLeavesTheDragToThePan)
{
    ShowLeadOverAMultiLeadPage();
    testsupport::ModalScript script;
    DoubleClickAt(200, 100);
    EXPECT_TRUE(script.Seen().empty());
    // Nor did the multi-lead view's dividers or scale take the mouse: a drag pans.
    Drag(CPoint(200, 100), CPoint(230, 110), 1);
    ASSERT_FALSE(m_recorder.m_pans.empty());
    EXPECT_EQ(std::make_pair(-30, -10), m_recorder.m_pans.back());
    EXPECT_TRUE(script.Seen().empty());
}

TEST_F(EnlargedWaveInputTest, APressWhereThePulseColumnWouldBeReportsNoPulse)
{
    ShowLeadOverAMultiLeadPage();
    for (int x : {2, 10, 20}) Click(x, 100);
    EXPECT_TRUE(m_owner.m_messages.empty());
}

TEST_F(EnlargedWaveInputTest, TheCursorStaysTheOneTheDialogGaveWhileTheMouseMoves)
{
    ShowLeadOverAMultiLeadPage();
    const HCURSOR hand = ::LoadCursor(nullptr, IDC_HAND);
    ASSERT_NE(nullptr, hand);
    m_view->SetCurrentCursor(hand);
    Move(100, 100);
    Move(120, 110);
    EXPECT_EQ(hand, m_view->GetCurrentCursor());
    EXPECT_EQ(hand, ::GetCursor());
}

TEST_F(EnlargedWaveInputTest, ArrowKeysTypedIntoTheViewMoveOnlyTheSelectedMark)
{
    ShowLeadOverAMultiLeadPage();
    SetMarks(CPoint(100, 50), CPoint(150, 90));
    Click(150, 90);   // selects mark 1
    m_view->SetFocus();
    Desktop::KeyPress(VK_LEFT);
    Desktop::KeyPress(VK_UP);
    Desktop::PumpMessages();
    EXPECT_EQ(CPoint(149, 89), m_view->GetRuler().GetPoint(1));
    EXPECT_EQ(CPoint(100, 50), m_view->GetRuler().GetPoint(0));
    ASSERT_FALSE(m_recorder.m_readings.empty());
    EXPECT_TRUE(m_owner.m_messages.empty());
}

class EnlargedOverlapInputTest : public EnlargedInputTest<CViewEnlargedOverlap> {};

TEST_F(EnlargedOverlapInputTest, ADoubleClickIsTheRulersSecondPressAndOpensNothing)
{
    OpenRecord();
    MakeView(kWidth, kHeight);
    m_view->SetBaseECGDoc(&m_doc, DOC_TYPE_REST);
    m_view->SetBackGridSize(4.0, 4.0, 1.0);
    m_view->SendMessage(WM_INITIALUPDATE, 0, 0);
    Move(kWidth - 1, kHeight - 1);
    Paint();
    testsupport::ModalScript script;
    m_view->SetRulerStatus(RULER_STATUS_ARMED);
    DoubleClickAt(120, 40);
    EXPECT_TRUE(script.Seen().empty());
    EXPECT_EQ(RULER_STATUS_BOTH, m_view->GetRulerStatus());
    EXPECT_EQ(CPoint(120, 40), m_view->GetRuler().GetPoint(0));
}

}  // namespace
