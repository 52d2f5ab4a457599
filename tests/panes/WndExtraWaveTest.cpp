// The extra-lead wave pages on extra-lead and MFER records written by the
// record maker: the wave style of every page row on records of every
// layout, the rows each twin leaves alone, where the view and the strip
// stand, the caption lines per wave style and lead set and where they stand,
// the rhythm twin's strip placed by auto gain, the divider bits,
// a missing screen font, and a pane sized to nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/DlgCtrl.h"
#include "panes/WndExtraRhythmWave.h"
#include "panes/WndExtraWave.h"
#include "tests/documents/ExtraViewDocFixture.h"
#include "tests/documents/MFERViewDocFixture.h"
#include "tests/panes/PaneTestSupport.h"
#include "tests/support/TextBoxes.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

using morvelance::ExtraLayout;
using panetest::Box;
using platform::ui::Desktop;

namespace {

// The pane with its protected divider call open to the test.
class CProbeExtraWave : public CWndExtraWave {
public:
    using CWndExtraWave::SetDividerCheck;
};

// A document whose screen fonts were never made or are gone.
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

struct PageRow {
    int style;
    int waveStyle;
};
const PageRow kWaveRows[] = {{1, 22}, {2, 22}, {5, 24}, {6, 24}, {7, 26}, {8, 26}, {9, 28}, {10, 28}};
const PageRow kRhythmRows[] = {{3, 22}, {4, 22}, {11, 24}, {12, 24}, {13, 26}, {14, 26}, {15, 28}, {16, 28}};
const ExtraLayout kLayouts[] = {ExtraLayout::Three, ExtraLayout::ThreeRhythm, ExtraLayout::Six, ExtraLayout::SixRhythm,
                                ExtraLayout::SixTwoSets};

std::wstring CaptionText(CDlgCtrl* strip, int id)
{
    CString text;
    strip->GetDlgItem(id)->GetWindowText(text);
    return text.GetString();
}

BOOL Shown(CDlgCtrl* strip, int id) { return strip->GetDlgItem(id)->IsWindowVisible(); }

class ExtraWavePaneTest : public extratest::ExtraDocTest {
protected:
    void SetUp() override
    {
        ExtraDocTest::SetUp();
        m_screen.Fresh(m_doc, 1920, 1080);
    }
    void TearDown() override
    {
        m_wave.Close();
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
        const extratest::RecordFiles files = Write("x" + std::to_string(m_records++), options, settings, nullptr,
                                                   loadTime.IsEmpty() ? nullptr : std::function<void(CECGXMLParser&)>(afterLoad));
        _EXTRADATAITEM* item = Load(m_doc, files, morvelance::ExtraLeadType(layout));
        EXPECT_NE(nullptr, item);
        m_doc.UpDateReferenceInfo(CString());   // the host's next step: the record's display settings
        return item;
    }
    CProbeExtraWave* Wave(int width = 1020, int height = 664, BOOL showPatient = TRUE)
    {
        return m_wave.Open([this](CProbeExtraWave& p) { p.SetExtraViewDoc(&m_doc); }, showPatient, width, height);
    }
    CWndExtraRhythmWave* Rhythm(int width = 1020, int height = 664)
    {
        return m_rhythm.Open([this](CWndExtraRhythmWave& p) { p.SetExtraViewDoc(&m_doc); }, TRUE, width, height);
    }
    static int Rows(CViewRhythmWave* view)
    {
        int columns = 0, rows = 0;
        view->GetGridCount(columns, rows);
        return rows;
    }

    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CProbeExtraWave> m_wave;
    panetest::PaneHost<CWndExtraRhythmWave> m_rhythm;
    int m_records = 0;
};

TEST_F(ExtraWavePaneTest, EveryPageRowSetsItsWaveStyleOnRecordsOfEveryLayout)
{
    for (ExtraLayout layout : kLayouts) {
        SCOPED_TRACE(static_cast<int>(layout));
        Record(layout);
        CWndExtraWave* wave = Wave();
        for (const PageRow& row : kWaveRows) {
            m_doc.SetRhythmWaveStyle(0);
            wave->ShowExtraPageStyle(row.style);
            EXPECT_EQ(row.waveStyle, m_doc.GetRhythmWaveStyle()) << row.style;
            EXPECT_EQ(row.waveStyle, wave->GetRhythmView()->GetWaveStyle()) << row.style;
        }
        CWndExtraRhythmWave* rhythm = Rhythm();
        for (const PageRow& row : kRhythmRows) {
            rhythm->ShowExtraPageStyle(row.style);
            EXPECT_EQ(row.waveStyle, m_doc.GetRhythmWaveStyle()) << row.style;
            EXPECT_EQ(row.waveStyle, rhythm->GetRhythmView()->GetWaveStyle()) << row.style;
        }
    }
}

TEST_F(ExtraWavePaneTest, TheStartTimeAndTheLeadNamesOfTheContinuousPagesStandApartOnScreen)
{
    Record(ExtraLayout::Six);
    CWndExtraWave* wave = Wave(1920, 1080);
    // Pages 1, 5 and 7: wave styles 22, 24 and 26.
    for (int style : {1, 5, 7}) {
        SCOPED_TRACE(style);
        wave->ShowExtraPageStyle(style);
        CViewRhythmWave* view = wave->GetRhythmView();
        CRect client;
        view->GetClientRect(&client);
        testsupport::CTextBoxDC dc(client.Width(), client.Height());
        panetest::DrawPage(view, dc, m_doc.GetDocFont(1), client, 0);
        int times = 0;
        for (const testsupport::TextBox& text : dc.Boxes()) times += text.text.Find(L':') > 0 ? 1 : 0;
        EXPECT_EQ(1, times);
        EXPECT_FALSE(dc.BoxesOf(L"V3R").empty());
        EXPECT_EQ(std::vector<std::string>(), testsupport::OverlappingTexts(dc.Boxes()));
    }
}

TEST_F(ExtraWavePaneTest, EachTwinLeavesTheOthersPagesAlone)
{
    Record(ExtraLayout::SixRhythm);
    CWndExtraWave* wave = Wave();
    wave->ShowExtraPageStyle(9);
    const CRect view = m_wave.Rect(wave->GetRhythmView());
    for (int style : {0, 3, 4, 11, 16, 17, 54, 55}) {
        wave->ShowExtraPageStyle(style);
        EXPECT_EQ(28, m_doc.GetRhythmWaveStyle()) << style;
        EXPECT_EQ(28, wave->GetRhythmView()->GetWaveStyle()) << style;
    }
    EXPECT_EQ(view, m_wave.Rect(wave->GetRhythmView()));
    CWndExtraRhythmWave* rhythm = Rhythm();
    rhythm->ShowExtraPageStyle(13);
    for (int style : {1, 2, 5, 7, 10, 17, 20})
        rhythm->ShowExtraPageStyle(style);
    EXPECT_EQ(26, rhythm->GetRhythmView()->GetWaveStyle());
    EXPECT_EQ(26, m_doc.GetRhythmWaveStyle());
}

TEST_F(ExtraWavePaneTest, TheViewFitsWholeBlocksOfRowsAboveTheCentredStrip)
{
    Record(ExtraLayout::Three);
    CWndExtraWave* wave = Wave();
    wave->ShowExtraPageStyle(1);
    EXPECT_EQ(Box(16, 7, 989, 50), m_wave.Rect(wave->GetPatientFrame()));
    EXPECT_EQ(Box(56, 57, 949, 20), m_wave.Rect(wave->GetDisplayStrip()));
    const CRect view = m_wave.Rect(wave->GetRhythmView());
    const CRect strip = m_wave.Rect(wave->GetRhythmStrip());
    int columns = 0, rows = 0;
    wave->GetRhythmView()->GetGridCount(columns, rows);
    EXPECT_EQ(Box(16, 77, 989, static_cast<int>(rows * 989.0 / columns) + 1), view);
    EXPECT_EQ(0, rows % 5);
    EXPECT_GT(rows, 0);
    EXPECT_EQ(15, strip.left);
    EXPECT_EQ(990, strip.Width());
    // The strip is centred in the room under the view, which keeps 5 units above and below it.
    EXPECT_LE(std::abs((strip.top - view.bottom) - (664 - strip.bottom)), 1);
    EXPECT_GE(strip.top - view.bottom, 5);
}

TEST_F(ExtraWavePaneTest, WithoutThePatientStripTheCaptionStandsSevenUnitsDown)
{
    Record(ExtraLayout::Six);
    CWndExtraWave* wave = Wave(1020, 614, FALSE);
    wave->ShowExtraPageStyle(5);
    EXPECT_FALSE(wave->GetPatientFrame()->IsWindowVisible());
    EXPECT_EQ(Box(56, 7, 949, 20), m_wave.Rect(wave->GetDisplayStrip()));
    EXPECT_EQ(27, m_wave.Rect(wave->GetRhythmView()).top);
}

TEST_F(ExtraWavePaneTest, ThreeLeadCaptionFollowsTheItemsLeadSet)
{
    morvelance::ExtraXmlSettings settings;
    settings.extra1 = "10.00";
    settings.extra2 = "20.00";
    _EXTRADATAITEM* item = Record(ExtraLayout::Six, settings, L"03:00");
    EXPECT_EQ(CString(L"03:00"), item->strPostLoadTime);
    CWndExtraWave* wave = Wave();
    wave->ShowExtraPageStyle(1);
    CDlgCtrl* strip = wave->GetDisplayStrip();
    EXPECT_TRUE(Shown(strip, 3479));
    EXPECT_FALSE(Shown(strip, 3480));
    EXPECT_FALSE(Shown(strip, 3499));   // the rest pages' ST line would cover the caption
    EXPECT_EQ(std::wstring(L"10.00 mm/mV  25.0 mm/s  100 Hz  波形連続型(3chx1)  負荷後 03:00"), CaptionText(strip, 3479));

    item->stExtraInfo.nExtraSet = 5;
    wave->OnUpdate();
    EXPECT_FALSE(wave->GetRhythmView()->IsShowExtra1Lead());
    EXPECT_FALSE(Shown(strip, 3479));
    EXPECT_TRUE(Shown(strip, 3480));
    EXPECT_EQ(std::wstring(L"20.00 mm/mV  25.0 mm/s  100 Hz  波形連続型(3chx1)  負荷後 03:00"), CaptionText(strip, 3480));
}

TEST_F(ExtraWavePaneTest, ARestingRecordsCaptionStatesNoTimeAfterALoad)
{
    _EXTRADATAITEM* item = Record(ExtraLayout::Six);
    EXPECT_TRUE(item->strPostLoadTime.IsEmpty());
    CWndExtraWave* wave = Wave();
    wave->ShowExtraPageStyle(1);
    EXPECT_EQ(std::wstring(L"10.00 mm/mV  25.0 mm/s  100 Hz  波形連続型(3chx1)  "), CaptionText(wave->GetDisplayStrip(), 3479));
}

TEST_F(ExtraWavePaneTest, TwoColumnCaptionsSplitTheStripAndTheRhythmTwinShowsThePlainTime)
{
    morvelance::ExtraXmlSettings settings;
    settings.extra2 = "5.00";
    Record(ExtraLayout::SixRhythm, settings, L"03:00");
    CWndExtraRhythmWave* rhythm = Rhythm();
    rhythm->ShowExtraPageStyle(15);
    CDlgCtrl* strip = rhythm->GetDisplayStrip();
    EXPECT_EQ(std::wstring(L"10.00 mm/mV  25.0 mm/s  100 Hz  波形同期型(3chx2)  03:00"), CaptionText(strip, 3479));
    EXPECT_EQ(std::wstring(L"5.00 mm/mV  25.0 mm/s  100 Hz    "), CaptionText(strip, 3480));
    EXPECT_TRUE(Shown(strip, 3479));
    EXPECT_TRUE(Shown(strip, 3480));
    EXPECT_EQ(Box(0, 3, 474, 15), panetest::RectIn(strip, strip->GetDlgItem(3479)));
    EXPECT_EQ(Box(474, 3, 474, 15), panetest::RectIn(strip, strip->GetDlgItem(3480)));
    // The strip shows the record's rhythm lead, after the six extra leads.
    EXPECT_EQ(6, rhythm->GetRhythmStrip()->GetRhythm1LeadID());
}

TEST_F(ExtraWavePaneTest, OnTheOneColumnPagesTheRightCaptionStandsAcrossTheStripInTheLeftOnesPlace)
{
    _EXTRADATAITEM* item = Record(ExtraLayout::SixRhythm);
    item->stExtraInfo.nExtraSet = 5;   // the second set shown: style 22 shows its caption in 3480
    CWndExtraWave* wave = Wave();
    CWndExtraRhythmWave* rhythm = Rhythm();
    const struct {
        CWndExtraWavePane* pane;
        int page;
    } pages[] = {{wave, 1}, {wave, 5}, {rhythm, 3}, {rhythm, 11}};
    for (const auto& shown : pages) {
        SCOPED_TRACE(shown.page);
        shown.pane->ShowExtraPageStyle(shown.page);
        shown.pane->OnUpdate();
        CDlgCtrl* strip = shown.pane->GetDisplayStrip();
        EXPECT_EQ(Box(0, 3, 949, 15), panetest::RectIn(strip, strip->GetDlgItem(3479)));
        EXPECT_EQ(Box(0, 3, 949, 15), panetest::RectIn(strip, strip->GetDlgItem(3480)));
    }
    // In style 22 the right caption is the one shown, and its text is the record's.
    wave->ShowExtraPageStyle(1);
    wave->OnUpdate();
    CDlgCtrl* strip = wave->GetDisplayStrip();
    EXPECT_TRUE(Shown(strip, 3480));
    EXPECT_FALSE(Shown(strip, 3479));
    EXPECT_NE(std::wstring::npos, CaptionText(strip, 3480).find(L"波形連続型(3chx1)"));
}

TEST_F(ExtraWavePaneTest, InAnAutomaticSenseModeOnlyTheRhythmTwinsStripIsPlacedByAutoGain)
{
    Record(ExtraLayout::SixRhythm);
    const auto stripBaseline = [this](CWndExtraWavePane* pane, UINT mode) {
        m_doc.SetSenseMode(mode);
        pane->ShowExtraPageStyle(pane == m_rhythm.pane ? 11 : 5);
        pane->OnUpdate();
        pane->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Desktop::PumpMessages();
        CRect client;
        pane->GetRhythmStrip()->GetClientRect(&client);
        // Where the trace's zero line stands, from the strip's middle.
        return pane->GetRhythmStrip()->GetScreenBaseline(0) - client.Height() / 2;
    };
    CWndExtraRhythmWave* rhythm = Rhythm();
    EXPECT_EQ(0, stripBaseline(rhythm, 0));   // fixed placement: the strip's middle
    EXPECT_NE(0, stripBaseline(rhythm, 2));   // moved to fit the rhythm lead's own trace
    CWndExtraWave* wave = Wave();
    EXPECT_EQ(0, stripBaseline(wave, 2));     // the plain twin's overview keeps the middle
}

TEST_F(ExtraWavePaneTest, AnUnknownWaveStyleHidesBothCaptions)
{
    Record(ExtraLayout::Six);
    CWndExtraWave* wave = Wave();
    wave->ShowExtraPageStyle(5);
    EXPECT_EQ(1, wave->SendMessage(WM_DISPLAY_INFO_CHANGED, 24, 0));
    EXPECT_EQ(0, wave->SendMessage(WM_DISPLAY_INFO_CHANGED, 23, 0));
    EXPECT_FALSE(Shown(wave->GetDisplayStrip(), 3479));
    EXPECT_FALSE(Shown(wave->GetDisplayStrip(), 3480));
}

TEST_F(ExtraWavePaneTest, DividerBitsCheckTheirPairsAndNegativeHidesThem)
{
    Record(ExtraLayout::Three);
    CProbeExtraWave* wave = Wave();
    wave->ShowExtraPageStyle(1);
    CViewRhythmWave* view = wave->GetRhythmView();
    wave->SetDividerCheck(5);
    EXPECT_TRUE(view->IsDividerCheck(1));
    EXPECT_FALSE(view->IsDividerCheck(2));
    EXPECT_TRUE(view->IsDividerCheck(3));
    EXPECT_TRUE(view->IsShowDivider());
    wave->SetDividerCheck(8 | 2);   // bits above pair III are not looked at
    EXPECT_FALSE(view->IsDividerCheck(1));
    EXPECT_TRUE(view->IsDividerCheck(2));
    wave->SetDividerCheck(-1);
    EXPECT_FALSE(view->IsShowDivider());
    m_doc.SetDividerCheck(4);
    wave->OnUpdate();
    EXPECT_TRUE(view->IsDividerCheck(3));
    EXPECT_FALSE(view->IsDividerCheck(2));
}

TEST_F(ExtraWavePaneTest, WithoutTheScreenFontOnlyTheRhythmTwinStopsLayingOut)
{
    Record(ExtraLayout::ThreeRhythm);
    CFontlessExtraDoc bare;
    bare.m_bAutoDelete = FALSE;
    bare.DropFonts();
    CWndExtraWave* wave = m_wave.Open([&](CProbeExtraWave& p) { p.SetExtraViewDoc(&bare); }, TRUE, 1020, 664);
    ASSERT_EQ(nullptr, bare.GetDocFont(0));
    wave->GetRhythmView()->SetWaveStyle(22, TRUE);
    wave->SendMessage(WM_SIZE, 0, 0);
    EXPECT_EQ(Box(56, 57, 949, 20), m_wave.Rect(wave->GetDisplayStrip()));
    CWndExtraRhythmWave* rhythm =
        m_rhythm.Open([&](CWndExtraRhythmWave& p) { p.SetExtraViewDoc(&bare); }, TRUE, 1020, 664);
    rhythm->SendMessage(WM_SIZE, 0, 0);
    EXPECT_TRUE(m_rhythm.Rect(rhythm->GetDisplayStrip()).IsRectEmpty());
    EXPECT_TRUE(m_rhythm.Rect(rhythm->GetRhythmView()).IsRectEmpty());
    m_wave.Close();
    m_rhythm.Close();
}

TEST_F(ExtraWavePaneTest, APaneSizedToNothingShowsAnEmptyViewWithNoRows)
{
    Record(ExtraLayout::Three);
    CWndExtraWave* wave = Wave(0, 0);
    wave->ShowExtraPageStyle(1);
    EXPECT_EQ(0, Rows(wave->GetRhythmView()));
    EXPECT_TRUE(m_wave.Rect(wave->GetRhythmView()).IsRectEmpty());
    // Room for less than five rows under the caption and over the strip: no rows, one line.
    wave->MoveWindow(0, 0, 1020, 40, TRUE);
    int columns = 0, rows = 0;
    wave->GetRhythmView()->GetGridCount(columns, rows);
    const int room = 40 - m_wave.Rect(wave->GetRhythmStrip()).Height() - m_wave.Rect(wave->GetRhythmView()).top;
    ASSERT_LT(room, 5 * 989.0 / columns);
    EXPECT_EQ(0, Rows(wave->GetRhythmView()));
    EXPECT_EQ(1, m_wave.Rect(wave->GetRhythmView()).Height());
}

// ---- MFER records --------------------------------------------------------------------------

class ExtraWaveMferTest : public mfertest::MferDocTest {
protected:
    void SetUp() override
    {
        MferDocTest::SetUp();
        m_screen.Fresh(*m_doc, 1920, 1080);
    }
    void TearDown() override
    {
        m_wave.Close();
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
    panetest::PaneHost<CProbeExtraWave> m_wave;
    panetest::PaneHost<CWndExtraRhythmWave> m_rhythm;
};

TEST_F(ExtraWaveMferTest, EveryMferPageIsTheExtraPagePlusFiftyOneOnEveryKind)
{
    struct Kind {
        morvelance::MferKind kind;
        int leads;
        unsigned code;
    };
    const Kind kinds[] = {{morvelance::MferKind::Extra3, 3, 0x7003},
                          {morvelance::MferKind::Extra4, 4, 0x7004},
                          {morvelance::MferKind::Extra6x1, 6, 0x7006},
                          {morvelance::MferKind::Extra6x3x2, 6, 0x7006},
                          {morvelance::MferKind::Extra7, 7, 0x7007}};
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.leads);
        Open(k.kind, k.leads, k.code);
        CWndExtraWave* wave = m_wave.Open([this](CProbeExtraWave& p) { p.SetMFERViewDoc(m_doc.get()); }, TRUE, 1020, 664);
        for (const PageRow& row : kWaveRows) {
            wave->ShowMFERPageStyle(row.style + 51);
            EXPECT_EQ(row.waveStyle, m_doc->GetRhythmWaveStyle()) << row.style;
            EXPECT_EQ(row.waveStyle, wave->GetRhythmView()->GetWaveStyle()) << row.style;
        }
        // The extra-lead numbers are not MFER pages, nor are the other twin's.
        wave->ShowMFERPageStyle(9);
        wave->ShowMFERPageStyle(54);
        EXPECT_EQ(28, m_doc->GetRhythmWaveStyle());
        CWndExtraRhythmWave* rhythm =
            m_rhythm.Open([this](CWndExtraRhythmWave& p) { p.SetMFERViewDoc(m_doc.get()); }, TRUE, 1020, 664);
        for (const PageRow& row : kRhythmRows) {
            rhythm->ShowMFERPageStyle(row.style + 51);
            EXPECT_EQ(row.waveStyle, rhythm->GetRhythmView()->GetWaveStyle()) << row.style;
        }
        rhythm->ShowMFERPageStyle(60);
        EXPECT_EQ(28, rhythm->GetRhythmView()->GetWaveStyle());
    }
}

TEST_F(ExtraWaveMferTest, TwoColumnMferCaptionsPutTheStyleWhereTheFilterWas)
{
    _MFERDATAITEM* item = Open(morvelance::MferKind::Extra6x3x2, 6, 0x7006);
    CWndExtraWave* wave = m_wave.Open([this](CProbeExtraWave& p) { p.SetMFERViewDoc(m_doc.get()); }, TRUE, 1020, 664);
    wave->ShowMFERPageStyle(58);
    const CString filter = m_doc->GetMFERFilter();
    ASSERT_FALSE(item->strMasterStep.IsEmpty());
    CString left, right;
    left.Format(L"%.2f mm/mV  %.1f mm/s  波形連続型(3chx2)  %s  ", m_doc->GetSense(4, 0), m_doc->GetSpeed(),
                item->strMasterStep.GetString());
    right.Format(L"%.2f mm/mV  %.1f mm/s  %s    ", m_doc->GetSense(5, 0), m_doc->GetSpeed(), filter.GetString());
    EXPECT_EQ(std::wstring(left.GetString()), CaptionText(wave->GetDisplayStrip(), 3479));
    EXPECT_EQ(std::wstring(right.GetString()), CaptionText(wave->GetDisplayStrip(), 3480));
}

}  // namespace
