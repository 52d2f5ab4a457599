// The caliper dialog and the rhythm/RR enlarged dialog run modally on a
// maker record: what they show from their setters, the scroll bar of a long
// record, the heart-rate row only where the record keeps a heart rate, and
// the caliper dialog wholly on its monitor's work area, wide screens and low
// ones alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "dialogs/DlgDivider.h"
#include "platform/base/Kernel.h"
#include "dialogs/DlgDoctor.h"
#include "dialogs/DlgEditor.h"
#include "dialogs/EditingOk.h"
#include "tests/support/DocumentTestSupport.h"
#include "waveviews/WaveItemRef.h"
#include "dialogs/DlgEnlargedRhyRR.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Monitors.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tests/support/ViewProbes.h"
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
    // The dialog lies wholly on `area` (screen coordinates) and every control
    // it shows lies wholly inside its client area, where a click reaches it.
    static void ExpectWhollyShown(CWnd& dialog, const CRect& area)
    {
        CRect window;
        dialog.GetWindowRect(&window);
        CRect on;
        ::IntersectRect(&on, &window, &area);
        EXPECT_TRUE(::EqualRect(&on, &window)) << "the dialog at " << window.left << "," << window.top << " "
                                               << window.Width() << "x" << window.Height();
        CRect client;
        dialog.GetClientRect(&client);
        dialog.ClientToScreen(&client);
        int shown = 0;
        for (CWnd* child = dialog.GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
            if (!(child->GetStyle() & WS_VISIBLE)) continue;
            ++shown;
            CRect rect;
            child->GetWindowRect(&rect);
            CRect inside;
            ::IntersectRect(&inside, &rect, &client);
            EXPECT_TRUE(::EqualRect(&inside, &rect))
                << "control " << child->GetDlgCtrlID() << " reaches " << rect.bottom << ", the client area " << client.bottom;
        }
        EXPECT_GE(shown, 10);
    }
    // Opens the dialog on a ten-second resting record and checks it as shown.
    void OpenAndCheck(const std::function<void(CDlgDivider&)>& check)
    {
        CDlgDivider dialog(nullptr);
        dialog.SetDoc(&m_doc, DOC_TYPE_REST);
        dialog.SetLeadID(1);
        dialog.SetWaveParam(260, 30, Length(), 500, 0);
        testsupport::ModalScript script;
        script.On(CDlgDivider::IDD, [&](CDialog&) { check(dialog); });
        dialog.DoModal();
        EXPECT_EQ(1u, script.Seen().size());
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

TEST_F(DlgDividerTest, TheRhythmEnlargedDialogShowsNoViewOfARestingRecordAndOnlyCloses)
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
        // Resting records open the enlarged beat with its table instead.
        EXPECT_EQ(nullptr, dialog.GetWaveView());
        EXPECT_EQ(1, dialog.GetLead());
        EXPECT_EQ(6, dialog.GetSenseID());
    });
    dialog.DoModal();
    EXPECT_EQ(1u, script.Seen().size());
}

TEST_F(DlgDividerTest, TheDialogSpansTheScreenAboveItsBottomWithTheStripInThePapersProportions)
{
    OpenRecord(10.0);
    ASSERT_TRUE(Desktop::SetScreenSize(1280, 800));
    CDlgDivider dialog(nullptr);
    dialog.SetDoc(&m_doc, DOC_TYPE_REST);
    dialog.SetWaveParam(260, 30, 5001, 500, 0);
    testsupport::ModalScript script;
    script.On(CDlgDivider::IDD, [&](CDialog&) {
        CRect window;
        dialog.GetWindowRect(&window);
        EXPECT_EQ(0, window.left);
        EXPECT_EQ(1280, window.Width());
        EXPECT_EQ(800, window.bottom);
        // At least the design's height; on a screen wider than the design's
        // shape the strip is taller, and the dialog grows to hold what is under it.
        const int caption = ::GetSystemMetrics(SM_CYCAPTION);
        EXPECT_LE(MulDiv(800, 230, 768) + caption, window.Height());
        ExpectWhollyShown(dialog, CRect(0, 0, 1280, 800));
        ASSERT_NE(nullptr, dialog.GetWaveView());
        CRect strip;
        dialog.GetWaveView()->GetParent()->GetWindowRect(&strip);
        dialog.ScreenToClient(&strip);
        const int margin = MulDiv(1280, 8, 1024);
        EXPECT_EQ(margin, strip.left);
        EXPECT_EQ(1280 - 2 * (::GetSystemMetrics(SM_CXDLGFRAME) + margin), strip.Width());
        EXPECT_EQ(30 * strip.Width() / 260, strip.Height());
        // A sample past ten seconds: the bar shows under the strip and scrolls by one.
        auto* bar = static_cast<CScrollBar*>(dialog.GetDlgItem(CDlgDivider::IDC_STRIP_BAR));
        ASSERT_TRUE(Visible(dialog, CDlgDivider::IDC_STRIP_BAR));
        CRect under;
        bar->GetWindowRect(&under);
        dialog.ScreenToClient(&under);
        EXPECT_EQ(strip.bottom, under.top);
        EXPECT_EQ(strip.Width(), under.Width());
        int lowest = -1, highest = -1;
        bar->GetScrollRange(&lowest, &highest);
        EXPECT_EQ(0, lowest);
        EXPECT_EQ(1, highest);
        // The first row of readouts under the bar, the second thirty units lower.
        CRect first, second;
        dialog.GetDlgItem(CDlgDivider::IDC_READOUT_1)->GetWindowRect(&first);
        dialog.GetDlgItem(CDlgDivider::IDC_READOUT_2)->GetWindowRect(&second);
        dialog.ScreenToClient(&first);
        dialog.ScreenToClient(&second);
        EXPECT_EQ(under.bottom + MulDiv(800, 10, 768), first.top);
        EXPECT_EQ(first.top + MulDiv(800, 30, 768), second.top);
        EXPECT_EQ(MulDiv(1280, 50, 1024), first.left);
    });
    dialog.DoModal();
    EXPECT_EQ(1u, script.Seen().size());
}

TEST_F(DlgDividerTest, OnAWideScreenTheDialogHoldsItsRowsAndButtonsUnderTheStripAndStaysOnTheScreen)
{
    OpenRecord(10.0);
    ASSERT_TRUE(Desktop::SetScreenSize(1920, 1080));
    OpenAndCheck([](CDlgDivider& dialog) {
        CRect window;
        dialog.GetWindowRect(&window);
        EXPECT_EQ(1080, window.bottom);
        EXPECT_EQ(1920, window.Width());
        ExpectWhollyShown(dialog, CRect(0, 0, 1920, 1080));
        // The strip keeps the paper's proportions across the whole width.
        CRect strip;
        dialog.GetWaveView()->GetParent()->GetWindowRect(&strip);
        EXPECT_EQ(30 * strip.Width() / 260, strip.Height());
    });
}

TEST_F(DlgDividerTest, TheDialogStandsOnTheMonitorsWorkAreaAboveAPanel)
{
    OpenRecord(10.0);
    ASSERT_TRUE(Desktop::SetScreenSize(1920, 1080));
    platform::ui::SetWorkArea(RECT{0, 0, 1920, 1040});
    OpenAndCheck([](CDlgDivider& dialog) {
        CRect window;
        dialog.GetWindowRect(&window);
        EXPECT_EQ(1040, window.bottom);
        ExpectWhollyShown(dialog, CRect(0, 0, 1920, 1040));
    });
}

TEST_F(DlgDividerTest, OnAMonitorTooLowForTheStripTheStripGivesWayAndTheDialogStaysWhole)
{
    OpenRecord(10.0);
    ASSERT_TRUE(Desktop::SetScreenSize(2560, 320));
    OpenAndCheck([](CDlgDivider& dialog) {
        CRect window;
        dialog.GetWindowRect(&window);
        EXPECT_EQ(0, window.top);
        EXPECT_EQ(320, window.bottom);
        ExpectWhollyShown(dialog, CRect(0, 0, 2560, 320));
        CRect strip;
        dialog.GetWaveView()->GetParent()->GetWindowRect(&strip);
        EXPECT_LT(strip.Height(), 30 * strip.Width() / 260);
        EXPECT_GT(strip.Height(), 100);
    });
}

// The update on a resting record: the typed heart rate reaches the record
// XML and the item, and the document's own saves keep it.
class DlgDividerUpdateTest : public DlgDividerTest {
protected:
    static constexpr const wchar_t* kHeartRate = L"/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate";
    void SetUp() override
    {
        DlgDividerTest::SetUp();
        OpenRecord(10.0);
        m_item = CWaveItemRef::Of(&m_doc, DOC_TYPE_REST).Rest();
        ASSERT_NE(nullptr, m_item);
    }
    INT_PTR Update(const wchar_t* typed)
    {
        CDlgDivider dialog(nullptr);
        dialog.SetDoc(&m_doc, DOC_TYPE_REST);
        dialog.SetWaveParam(260, 30, Length(), 500, 0);
        m_script.On(CDlgDivider::IDD, [&](CDialog&) {
            dialog.SetDlgItemText(CDlgDivider::IDC_RATE_EDIT, L"");   // the user clears the record's rate
            testsupport::TypeInto(dialog, CDlgDivider::IDC_RATE_EDIT, typed);
            testsupport::ClickControl(dialog, IDOK);
        });
        return dialog.DoModal();
    }
    CString XmlHeartRate() const
    {
        return testsupport::ReadXmlValue(std::string(CStringA(m_item->strXMLPath).GetString()), kHeartRate);
    }
    _EDIT_STAMP_FIELDS Fields()
    {
        _EDIT_STAMP_FIELDS fields;
        EXPECT_TRUE(CurrentEditStampFields(&m_doc, DOC_TYPE_REST, fields));
        return fields;
    }
    testsupport::ModalScript m_script;
    _RESTDATAITEM* m_item = nullptr;
};

TEST_F(DlgDividerUpdateTest, TheTypedRateReachesTheFileAndTheItemAndSurvivesTheNextSaves)
{
    m_script.On(CDlgEditor::IDD, [](CDialog& prompt) {
        testsupport::ChooseListEntry(prompt, 3485, 1);
        testsupport::ClickControl(prompt, IDOK);
    });
    EXPECT_EQ(IDOK, Update(L"72"));
    EXPECT_EQ(std::vector<UINT>({CDlgDivider::IDD, CDlgEditor::IDD}), m_script.Seen());
    EXPECT_EQ(CString(L"72"), XmlHeartRate());
    EXPECT_EQ(CString(L"72"), m_item->strHeartRate);
    EXPECT_EQ(CString(L"72"), m_item->stMeasure.strGlobal[0]);
    // The measurement store writes the item's values: the new rate stays.
    ASSERT_EQ(0, m_doc.SaveMsuDataToXML(m_item, MEASURE_LEADS, TRUE));
    EXPECT_EQ(CString(L"72"), XmlHeartRate());
}

// The host's notification window, which redraws from the document's store
// and leaves its own text in the heart-rate field while it does.
class CStoreTouchingHost : public CWnd {
public:
    CTavrionDoc* doc = nullptr;
    int told = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER + 0x16 && doc) {
            ++told;
            doc->SetCtrlData(3169, L"host", 0, -1);
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST_F(DlgDividerUpdateTest, AfterTellingTheHostTheStoreIsFilledFromTheItemOnceMore)
{
    CStoreTouchingHost host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"host", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    host.doc = &m_doc;
    m_doc.SetNotifyWnd(&host);
    m_script.On(CDlgEditor::IDD, [](CDialog& prompt) {
        testsupport::ChooseListEntry(prompt, 3485, 1);
        testsupport::ClickControl(prompt, IDOK);
    });
    EXPECT_EQ(IDOK, Update(L"84"));
    m_doc.SetNotifyWnd(nullptr);
    host.DestroyWindow();
    EXPECT_EQ(1, host.told);
    CString shown;
    m_doc.GetCtrlData(3169, shown);
    EXPECT_EQ(CString(L"84"), shown);
}

TEST_F(DlgDividerUpdateTest, TheConfirmingDoctorLeavesTheRecordConfirmed)
{
    m_item->bDoctorConfirm = 1;
    m_script.On(CDlgDoctor::IDD, [](CDialog& prompt) { testsupport::ClickControl(prompt, IDOK); });
    EXPECT_EQ(IDOK, Update(L"58"));
    const _EDIT_STAMP_FIELDS fields = Fields();
    ASSERT_NE(nullptr, fields.pConfirmed);
    EXPECT_EQ(1, *fields.pConfirmed);
    EXPECT_EQ(0, *fields.pEditedAfterConfirm);
    EXPECT_EQ(CString(L"58"), XmlHeartRate());
}

TEST_F(DlgDividerUpdateTest, ACancelledPromptStoresNothingAndAnEmptyEditStoresZero)
{
    const CString before = XmlHeartRate();
    m_script.On(CDlgEditor::IDD, [](CDialog& prompt) { testsupport::ClickControl(prompt, IDCANCEL); });
    EXPECT_EQ(IDCANCEL, Update(L"99"));   // the dialog stayed open; the driver closed it
    EXPECT_EQ(before, XmlHeartRate());
    EXPECT_EQ(CString(L"66"), m_item->strHeartRate);
    m_script.On(CDlgEditor::IDD, [](CDialog& prompt) {
        testsupport::ChooseListEntry(prompt, 3485, 1);
        testsupport::ClickControl(prompt, IDOK);
    });
    EXPECT_EQ(IDOK, Update(L""));
    EXPECT_EQ(CString(L"0"), XmlHeartRate());
}

// The update pressed with the rate left as the edit showed it: the record
// keeps its own text, in whatever form, and a rate it marks as not measured
// (shown empty) stays so; only the stamps are written.
TEST_F(DlgDividerTest, AnUpdateWithTheRateLeftAsShownKeepsTheRecordsOwnText)
{
    static constexpr const wchar_t* kHeartRate = L"/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate";
    int n = 0;
    for (const wchar_t* stored : {L"075", L"***", L" 66"}) {
        SCOPED_TRACE(testsupport::Utf8(stored));
        morvelance::RestRecordShape shape;
        shape.seconds = 10.0;
        _RESTDATAITEM* item = AddRecord("rate" + std::to_string(++n), shape);
        SetXmlText(kHeartRate, stored);
        ASSERT_EQ(0, Open(item));
        CDlgDivider dialog(nullptr);
        dialog.SetDoc(&m_doc, DOC_TYPE_REST);
        dialog.SetWaveParam(260, 30, Length(), 500, 0);
        testsupport::ModalScript script;
        script.On(CDlgDivider::IDD, [&](CDialog&) { testsupport::ClickControl(dialog, IDOK); });
        script.On(CDlgEditor::IDD, [](CDialog& prompt) {
            testsupport::ChooseListEntry(prompt, 3485, 1);
            testsupport::ClickControl(prompt, IDOK);
        });
        EXPECT_EQ(IDOK, dialog.DoModal());
        EXPECT_EQ(std::vector<UINT>({CDlgDivider::IDD, CDlgEditor::IDD}), script.Seen());
        EXPECT_EQ(CString(stored), XmlText(kHeartRate));
        EXPECT_EQ(CString(stored), item->stMeasure.strGlobal[0]);
    }
}

TEST_F(DlgDividerTest, EachCaliperReadoutIsDrawnInItsOwnColour)
{
    OpenRecord(10.0);
    CDlgDivider dialog(nullptr);
    dialog.SetDoc(&m_doc, DOC_TYPE_REST);
    dialog.SetWaveParam(260, 30, Length(), 500, 0);
    testsupport::ModalScript script;
    script.On(CDlgDivider::IDD, [&](CDialog&) {
        const struct {
            int caliper;
            int id;
            COLORREF colour;
        } readouts[] = {{0, CDlgDivider::IDC_READOUT_1, RGB(0, 0, 255)},
                        {1, CDlgDivider::IDC_READOUT_2, RGB(46, 139, 87)},
                        {2, CDlgDivider::IDC_READOUT_3, RGB(255, 0, 0)}};
        for (const auto& readout : readouts) {
            dialog.SendMessage(WM_DIVIDER_DROPPED, 750, readout.caliper);
            CWnd* control = dialog.GetDlgItem(readout.id);
            ASSERT_NE(nullptr, control);
            testsupport::Repaint(*control);
            const std::vector<COLORREF> pixels = testsupport::ClientSnapshot(*control);
            // The text is smoothed: count the strokes near the colour.
            const auto near = [&](COLORREF pixel) {
                return std::abs(GetRValue(pixel) - GetRValue(readout.colour)) +
                           std::abs(GetGValue(pixel) - GetGValue(readout.colour)) +
                           std::abs(GetBValue(pixel) - GetBValue(readout.colour)) <
                       90;
            };
            EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), near), 10) << readout.id;
        }
    });
    dialog.DoModal();
    EXPECT_EQ(1u, script.Seen().size());
}

TEST_F(DlgDividerUpdateTest, AReadOnlyRecordShowsItsRateWithoutUpdate)
{
    m_doc.SetReadOnly(1);
    CDlgDivider dialog(nullptr);
    dialog.SetDoc(&m_doc, DOC_TYPE_REST);
    dialog.SetWaveParam(260, 30, Length(), 500, 0);
    m_script.On(CDlgDivider::IDD, [&](CDialog&) {
        EXPECT_FALSE(Visible(dialog, IDOK));
        CWnd* edit = dialog.GetDlgItem(CDlgDivider::IDC_RATE_EDIT);
        ASSERT_NE(nullptr, edit);
        EXPECT_FALSE(edit->IsWindowEnabled());
        EXPECT_TRUE(edit->GetStyle() & ES_READONLY);
        EXPECT_EQ(CString(L"66"), ControlText(dialog, CDlgDivider::IDC_RATE_EDIT));
    });
    dialog.DoModal();
    EXPECT_EQ(std::vector<UINT>({CDlgDivider::IDD}), m_script.Seen());
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

// A page is a fiftieth of the bar's range, truncated: a record only a little longer than the
// strip has a range under fifty samples, and a page click there leaves the strip where it is.
TEST_F(DlgDividerRhythmTest, APageOfARangeUnderFiftySamplesMovesNothingWhileALineMovesOne)
{
    m_dialog.SetWaveParam(260, 30, 5030, 500, 0);
    testsupport::ModalScript script;
    script.On(CDlgDivider::IDD, [&](CDialog&) {
        auto* bar = static_cast<CScrollBar*>(m_dialog.GetDlgItem(CDlgDivider::IDC_STRIP_BAR));
        ASSERT_NE(nullptr, bar);
        int lowest = 0, highest = 0;
        bar->GetScrollRange(&lowest, &highest);
        ASSERT_EQ(30, highest - lowest);
        const LPARAM handle = reinterpret_cast<LPARAM>(bar->GetSafeHwnd());
        m_dialog.SendMessage(WM_HSCROLL, SB_PAGERIGHT, handle);
        EXPECT_EQ(0, m_dialog.GetWaveView()->GetStripStart());
        m_dialog.SendMessage(WM_HSCROLL, SB_LINERIGHT, handle);
        EXPECT_EQ(1, m_dialog.GetWaveView()->GetStripStart());
    });
    m_dialog.DoModal();
    EXPECT_EQ(1u, script.Seen().size());
}

}  // namespace
