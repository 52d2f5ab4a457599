// The extra-lead comment pages on extra-lead and MFER records written by
// the record maker: every page row on records of every layout, rows whose
// layout code does not match, the Extra1/Extra2 strip clicked on the desktop
// (the item's choice and the caption's sensitivity follow), the three
// layouts with and without the patient strip, a missing font, and the
// comment pages' own focus rule.
#include <gtest/gtest.h>

#include <string>

#include "controls/CheckEdit.h"
#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "forms/FormEx.h"
#include "panes/PaneKit.h"
#include "panes/WndExtraCommentRhythmWave.h"
#include "panes/WndExtraCommentWave.h"
#include "tests/documents/ExtraViewDocFixture.h"
#include "tests/documents/MFERViewDocFixture.h"
#include "tests/panes/PaneTestSupport.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

using morvelance::ExtraLayout;
using panetest::Box;
using platform::ui::Desktop;

namespace {

// The pane that counts the focus it takes.
class CFocusCountingComment : public CWndExtraCommentWave {
public:
    int focusTaken = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SETFOCUS) ++focusTaken;
        return CWndExtraCommentWave::WindowProc(message, wParam, lParam);
    }
};

// A document whose screen fonts are gone.
class CFontlessExtraDoc : public CExtraViewDoc {
public:
    void DropFonts()
    {
        for (CFont*& font : m_pDocFont) {
            delete font;
            font = nullptr;
        }
    }
};

std::wstring CaptionText(CDlgCtrl* strip, int id)
{
    CString text;
    strip->GetDlgItem(id)->GetWindowText(text);
    return text.GetString();
}

LRESULT Checked(CDlgCtrl* strip, int id) { return strip->GetDlgItem(id)->SendMessage(BM_GETCHECK, 0, 0); }

class ExtraCommentPaneTest : public extratest::ExtraDocTest {
protected:
    void SetUp() override
    {
        ExtraDocTest::SetUp();
        m_screen.Fresh(m_doc, 1920, 1080);
    }
    void TearDown() override
    {
        m_comment.Close();
        m_rhythm.Close();
        ExtraDocTest::TearDown();
    }
    // loadTime: the time after the load that a record taken after one keeps
    // (a resting record keeps none).
    _EXTRADATAITEM* Record(ExtraLayout layout, const morvelance::ExtraXmlSettings& settings = {},
                           const CString& loadTime = CString())
    {
        morvelance::ExtraRecordOptions options;
        options.layout = layout;
        const auto afterLoad = [&loadTime](CECGXMLParser& xml) {
            xml.SetDataToXMLDOM(loadTime, L"/Rawdata/Tavrion/Record/Mstep_section/Load_time", 4, CString());
        };
        const extratest::RecordFiles files = Write("c" + std::to_string(m_records++), options, settings, nullptr,
                                                   loadTime.IsEmpty() ? nullptr : std::function<void(CECGXMLParser&)>(afterLoad));
        _EXTRADATAITEM* item = Load(m_doc, files, morvelance::ExtraLeadType(layout));
        EXPECT_NE(nullptr, item);
        m_doc.UpDateReferenceInfo(CString());   // the host's next step: the record's display settings
        m_doc.SetCtrlContent(nullptr);
        m_doc.UpdateCtrlStatus();
        return item;
    }
    CFocusCountingComment* Comment(int width = 1020, int height = 664, BOOL showPatient = TRUE)
    {
        return m_comment.Open([this](CFocusCountingComment& p) { p.SetExtraViewDoc(&m_doc); }, showPatient, width,
                              height);
    }
    CWndExtraCommentRhythmWave* Rhythm(int width = 1020, int height = 664)
    {
        return m_rhythm.Open([this](CWndExtraCommentRhythmWave& p) { p.SetExtraViewDoc(&m_doc); }, TRUE, width,
                             height);
    }
    void Press(CWnd* control)
    {
        CRect rect;
        control->GetWindowRect(&rect);
        Desktop::Click(rect.CenterPoint());
        Desktop::PumpMessages();
    }

    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CFocusCountingComment> m_comment;
    panetest::PaneHost<CWndExtraCommentRhythmWave> m_rhythm;
    int m_records = 0;
};

TEST_F(ExtraCommentPaneTest, EveryPageRowTakesTheRecordsOfItsLayoutOnly)
{
    struct Case {
        ExtraLayout layout;
        int style;
        int waveStyle;   // 0: the page is refused
        BOOL offered;
    };
    const Case cases[] = {
        {ExtraLayout::Three, 17, 23, FALSE},     {ExtraLayout::Three, 18, 23, FALSE},
        {ExtraLayout::Three, 19, 23, FALSE},     {ExtraLayout::Three, 23, 0, FALSE},
        {ExtraLayout::Six, 23, 25, FALSE},       {ExtraLayout::Six, 24, 25, FALSE},
        {ExtraLayout::Six, 25, 25, FALSE},       {ExtraLayout::SixTwoSets, 23, 27, TRUE},
        {ExtraLayout::SixTwoSets, 24, 27, TRUE}, {ExtraLayout::SixTwoSets, 25, 27, TRUE},
        {ExtraLayout::SixRhythm, 24, 0, FALSE},  {ExtraLayout::ThreeRhythm, 17, 23, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.layout)) + " page " + std::to_string(c.style));
        Record(c.layout);
        m_doc.SetRhythmWaveStyle(0);
        CWndExtraCommentWave* pane = Comment();
        pane->ShowExtraPageStyle(c.style);
        EXPECT_EQ(c.waveStyle, m_doc.GetRhythmWaveStyle());
        EXPECT_EQ(c.waveStyle ? c.style : 24, pane->GetPageStyle());
        EXPECT_EQ(c.offered, pane->IsSetChoiceOffered());
        EXPECT_EQ(c.offered, pane->GetSelectionStrip()->IsWindowVisible());
        EXPECT_EQ(c.waveStyle ? c.waveStyle : 24, pane->GetRhythmView()->GetWaveStyle());
    }
    // The rhythm twin: its own pages, and layout codes 11 and 13 only.
    Record(ExtraLayout::SixRhythm);
    CWndExtraCommentRhythmWave* rhythm = Rhythm();
    for (int style : {17, 24, 29}) rhythm->ShowExtraPageStyle(style);
    EXPECT_EQ(0, rhythm->GetPageStyle());
    rhythm->ShowExtraPageStyle(27);
    EXPECT_EQ(27, rhythm->GetRhythmView()->GetWaveStyle());
    EXPECT_TRUE(rhythm->IsSetChoiceOffered());
    rhythm->ShowExtraPageStyle(20);
    EXPECT_EQ(23, rhythm->GetRhythmView()->GetWaveStyle());
    EXPECT_FALSE(rhythm->GetSelectionStrip()->IsWindowVisible());
    EXPECT_EQ(6, rhythm->GetRhythmStrip()->GetRhythm1LeadID());
}

TEST_F(ExtraCommentPaneTest, TwoSetPagesOfferTheChoiceBesideTheCaptionWithTheStoredButtonMarked)
{
    _EXTRADATAITEM* item = Record(ExtraLayout::SixTwoSets);
    item->bSelectExtra1 = 0;
    CWndExtraCommentWave* pane = Comment();
    pane->ShowExtraPageStyle(24);
    CDlgCtrl* sets = pane->GetSelectionStrip();
    EXPECT_EQ(Box(490, 55, 340, 20), m_comment.Rect(pane->GetDisplayStrip()));
    EXPECT_EQ(Box(830, 55, 170, 20), m_comment.Rect(sets));
    EXPECT_EQ(std::wstring(L"Extra1"), CaptionText(sets, 3481));
    EXPECT_EQ(std::wstring(L"Extra2"), CaptionText(sets, 3482));
    EXPECT_EQ(BST_UNCHECKED, Checked(sets, 3481));
    EXPECT_EQ(BST_CHECKED, Checked(sets, 3482));
    EXPECT_FALSE(pane->IsSelectExtra1());
    EXPECT_FALSE(pane->GetRhythmView()->IsShowExtra1Lead());
    // The form at the left, the waves at the right from the caption down.
    EXPECT_EQ(Box(15, 75, 470, 580), m_comment.Rect(pane->GetCommentFrame()));
    const CRect view = m_comment.Rect(pane->GetRhythmView());
    EXPECT_EQ(490, view.left);
    EXPECT_EQ(514, view.Width());
    EXPECT_EQ(75, view.top);
    EXPECT_LE(view.bottom, m_comment.Rect(pane->GetRhythmStrip()).top);
}

TEST_F(ExtraCommentPaneTest, ClickingExtra2StoresTheChoiceAndTheCaptionSwitchesToTheSecondSensitivity)
{
    morvelance::ExtraXmlSettings settings;
    settings.extra1 = "10.00";
    settings.extra2 = "20.00";
    _EXTRADATAITEM* item = Record(ExtraLayout::SixTwoSets, settings, L"03:00");
    CWndExtraCommentWave* pane = Comment();
    pane->ShowExtraPageStyle(24);
    Desktop::PumpMessages();
    CDlgCtrl* caption = pane->GetDisplayStrip();
    EXPECT_EQ(std::wstring(L"10.00 mm/mV  25.0 mm/s  100 Hz  負荷後 03:00"), CaptionText(caption, 3478));
    EXPECT_TRUE(caption->GetDlgItem(3478)->IsWindowVisible());
    EXPECT_FALSE(caption->GetDlgItem(3499)->IsWindowVisible());

    Press(pane->GetSelectionStrip()->GetDlgItem(3482));
    pane->GetRhythmView()->UpdateWindow();   // the view writes the caption as it draws
    EXPECT_EQ(0, item->bSelectExtra1);
    EXPECT_FALSE(pane->IsSelectExtra1());
    EXPECT_FALSE(pane->GetRhythmView()->IsShowExtra1Lead());
    EXPECT_EQ(std::wstring(L"20.00 mm/mV  25.0 mm/s  100 Hz  負荷後 03:00"), CaptionText(caption, 3478));
    EXPECT_EQ(BST_CHECKED, Checked(pane->GetSelectionStrip(), 3482));
    EXPECT_EQ(BST_UNCHECKED, Checked(pane->GetSelectionStrip(), 3481));

    // A second click on the chosen button keeps it chosen and marked.
    Press(pane->GetSelectionStrip()->GetDlgItem(3482));
    EXPECT_EQ(BST_CHECKED, Checked(pane->GetSelectionStrip(), 3482));
    Press(pane->GetSelectionStrip()->GetDlgItem(3481));
    pane->GetRhythmView()->UpdateWindow();
    EXPECT_EQ(1, item->bSelectExtra1);
    EXPECT_EQ(std::wstring(L"10.00 mm/mV  25.0 mm/s  100 Hz  負荷後 03:00"), CaptionText(caption, 3478));
    // The choice lives in the item: another page of the record starts from it.
    item->bSelectExtra1 = 0;
    pane->ShowExtraPageStyle(23);
    EXPECT_FALSE(pane->IsSelectExtra1());
}

TEST_F(ExtraCommentPaneTest, TheFormOnlyPageKeepsTheWaveStyleAndEmptiesTheWaves)
{
    Record(ExtraLayout::Six);
    CWndExtraCommentWave* pane = Comment();
    pane->ShowExtraPageStyle(24);
    pane->ShowExtraPageStyle(29);
    EXPECT_EQ(25, pane->GetRhythmView()->GetWaveStyle());
    EXPECT_EQ(Box(16, 55, 990, 604), m_comment.Rect(pane->GetCommentFrame()));
    EXPECT_TRUE(m_comment.Rect(pane->GetRhythmView()).IsRectEmpty());
    EXPECT_TRUE(m_comment.Rect(pane->GetRhythmStrip()).IsRectEmpty());
    EXPECT_TRUE(m_comment.Rect(pane->GetDisplayStrip()).IsRectEmpty());
}

TEST_F(ExtraCommentPaneTest, TheWavesOnlyPageSpansTheWidthAndWithoutThePatientStripStartsFiveUnitsDown)
{
    Record(ExtraLayout::SixTwoSets);
    CWndExtraCommentWave* pane = Comment(1020, 614, FALSE);
    pane->ShowExtraPageStyle(23);
    EXPECT_EQ(Box(15, 5, 650, 20), m_comment.Rect(pane->GetDisplayStrip()));
    EXPECT_EQ(Box(665, 5, 340, 20), m_comment.Rect(pane->GetSelectionStrip()));
    EXPECT_TRUE(m_comment.Rect(pane->GetCommentFrame()).IsRectEmpty());
    const CRect view = m_comment.Rect(pane->GetRhythmView());
    EXPECT_EQ(Box(15, 25, 994, view.Height()), view);
    int columns = 0, rows = 0;
    pane->GetRhythmView()->GetGridCount(columns, rows);
    EXPECT_EQ(0, rows % 5);
    EXPECT_EQ(static_cast<int>(rows * 994.0 / columns) + 1, view.Height());
}

TEST_F(ExtraCommentPaneTest, WithoutBothFontsOnlyTheCommentTwinSkipsTheWavesOnlyLayout)
{
    Record(ExtraLayout::Three);
    CFontlessExtraDoc bare;
    bare.m_bAutoDelete = FALSE;
    bare.DropFonts();
    CWndExtraCommentWave* pane =
        m_comment.Open([&](CFocusCountingComment& p) { p.SetExtraViewDoc(&bare); }, TRUE, 1020, 664);
    pane->SendMessage(WM_SIZE, 0, 0);   // page 24 until one is shown: the form beside the waves
    EXPECT_EQ(Box(490, 55, 340, 20), m_comment.Rect(pane->GetDisplayStrip()));
    CWndExtraCommentRhythmWave* rhythm =
        m_rhythm.Open([&](CWndExtraCommentRhythmWave& p) { p.SetExtraViewDoc(&bare); }, TRUE, 1020, 664);
    rhythm->SendMessage(WM_SIZE, 0, 0);   // no page yet: only the patient strip
    EXPECT_TRUE(m_rhythm.Rect(rhythm->GetDisplayStrip()).IsRectEmpty());
    m_comment.Close();
    m_rhythm.Close();
}

TEST_F(ExtraCommentPaneTest, TheHostsFocusJumpIsRefusedAndThePatientFormHandsOnWithoutThePaneTakingTheFocus)
{
    Record(ExtraLayout::Three);
    CFocusCountingComment* pane = Comment();
    pane->ShowExtraPageStyle(18);
    int fromHost[3] = {panes::kFromHost, panes::kForward, 0};
    EXPECT_EQ(0, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromHost), 0));
    int fromUS[3] = {panes::kFromUSInterpretation, panes::kForward, 0};
    EXPECT_EQ(0, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromUS), 0));

    // A read-only edit first in the comment form still takes the focus.
    CFormEx* form = panes::FrameForm(pane->GetCommentFrame());
    ASSERT_NE(nullptr, form);
    CWnd* first = nullptr;
    for (CWnd* child = form->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
        if (child->IsWindowVisible() && child->IsWindowEnabled() && child->IsKindOf(RUNTIME_CLASS(CCheckEdit))) {
            first = child;
            break;
        }
    ASSERT_NE(nullptr, first);
    first->ModifyStyle(0, ES_READONLY);
    for (CWnd* child = form->GetWindow(GW_CHILD); child && child != first; child = child->GetWindow(GW_HWNDNEXT))
        child->ShowWindow(SW_HIDE);
    pane->focusTaken = 0;
    int fromPatient[3] = {panes::kFromPatientForm, panes::kForward, 0};
    EXPECT_EQ(1, pane->SendMessage(WM_FORM_TAB_END, reinterpret_cast<WPARAM>(fromPatient), 0));
    EXPECT_EQ(first->GetSafeHwnd(), CWnd::GetFocus() ? CWnd::GetFocus()->GetSafeHwnd() : nullptr);
    EXPECT_EQ(0, pane->focusTaken);
}

// ---- MFER records --------------------------------------------------------------------------

class ExtraCommentMferTest : public mfertest::MferDocTest {
protected:
    void SetUp() override
    {
        MferDocTest::SetUp();
        m_screen.Fresh(*m_doc, 1920, 1080);
    }
    void TearDown() override
    {
        m_comment.Close();
        m_rhythm.Close();
        MferDocTest::TearDown();
    }
    _MFERDATAITEM* Open(morvelance::MferKind kind, int leads, unsigned code)
    {
        _MFERDATAITEM* item = OpenKind(kind, leads, code, CMFERViewDoc::GetLeadLayoutBySystemCode(int(code)));
        EXPECT_NE(nullptr, item);
        return item;
    }

    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CWndExtraCommentWave> m_comment;
    panetest::PaneHost<CWndExtraCommentRhythmWave> m_rhythm;
};

TEST_F(ExtraCommentMferTest, MferPagesFollowTheItemsLayoutCodeAndSetChoice)
{
    _MFERDATAITEM* twoSets = Open(morvelance::MferKind::Extra6x3x2, 6, 0x7006);
    twoSets->nPaneWritten = 0;
    CWndExtraCommentWave* pane =
        m_comment.Open([this](CWndExtraCommentWave& p) { p.SetMFERViewDoc(m_doc.get()); }, TRUE, 1020, 664);
    pane->ShowExtraPageStyle(24);   // an extra-lead page: not for an MFER record
    EXPECT_EQ(24, pane->GetRhythmView()->GetWaveStyle());
    pane->ShowMFERPageStyle(75);
    EXPECT_EQ(27, m_doc->GetRhythmWaveStyle());
    EXPECT_TRUE(pane->IsSetChoiceOffered());
    EXPECT_FALSE(pane->IsSelectExtra1());
    CString caption;
    caption.Format(L"%.2f mm/mV  %.1f mm/s  %s  %s  ", m_doc->GetSense(5, 0), m_doc->GetSpeed(),
                   m_doc->GetMFERFilter().GetString(), twoSets->strMasterStep.GetString());
    EXPECT_EQ(std::wstring(caption.GetString()), CaptionText(pane->GetDisplayStrip(), 3478));
    pane->SendMessage(WM_COMMAND, MAKEWPARAM(3481, BN_CLICKED), 0);
    EXPECT_EQ(1, twoSets->nPaneWritten);

    Open(morvelance::MferKind::Extra6x1, 6, 0x7006);   // layout 56: one set
    pane->ShowMFERPageStyle(74);
    EXPECT_EQ(25, m_doc->GetRhythmWaveStyle());
    EXPECT_FALSE(pane->IsSetChoiceOffered());
    EXPECT_TRUE(pane->IsSelectExtra1());

    Open(morvelance::MferKind::Extra3, 3, 0x7003);   // layout 52: neither
    m_doc->SetRhythmWaveStyle(0);
    pane->ShowMFERPageStyle(76);
    EXPECT_EQ(0, m_doc->GetRhythmWaveStyle());
    EXPECT_EQ(23, pane->GetPageStyle());

    Open(morvelance::MferKind::Extra7, 7, 0x7007);   // layout 64: the rhythm twin's two sets
    CWndExtraCommentRhythmWave* rhythm =
        m_rhythm.Open([this](CWndExtraCommentRhythmWave& p) { p.SetMFERViewDoc(m_doc.get()); }, TRUE, 1020, 664);
    rhythm->ShowMFERPageStyle(77);
    EXPECT_EQ(27, rhythm->GetRhythmView()->GetWaveStyle());
    EXPECT_TRUE(rhythm->IsSetChoiceOffered());
}

}  // namespace
