// The detailed-measurement page on resting records written by the record
// maker: its fixed page at two screen sizes, beat paging clicked on the
// desktop to both ends, the update strip's rules, and edits typed into the
// measurement table then stored or cancelled through the strip.
#include <gtest/gtest.h>

#include "analysisviews/ViewDetailedMeas.h"
#include "analysisviews/ViewQRSNo.h"
#include "analysisviews/ViewQRSType.h"
#include "core/UserMessages.h"
#include "dialogs/DlgDetailUpdate.h"
#include "dialogs/DlgEditor.h"
#include "dialogs/DlgPreNext.h"
#include "panes/PageButtons.h"
#include "panes/PaneKit.h"
#include "panes/WndRestDetailMeas.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/panes/PaneTestSupport.h"
#include "tests/support/ModalScript.h"

using panetest::Box;
using platform::ui::Desktop;
using RecordKind = morvelance::rec::RecordKind;

namespace {

constexpr auto kEditors = static_cast<_EDITABLE_PARAM_INDEX>(10);
constexpr int kRa = 6;

class DetailMeasPaneTest : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_screen.Fresh(m_doc, 1920, 1080);
        ASSERT_TRUE(m_notify.CreateEx(0, nullptr, L"notify", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_doc.SetNotifyWnd(&m_notify);
        m_doc.InsertEditableParam(kEditors, L"編集者一");
    }
    void TearDown() override
    {
        m_host.Close();
        m_doc.SetNotifyWnd(nullptr);
        m_notify.DestroyWindow();
        resttest::RestDocFixture::TearDown();
    }
    CWndRestDetailMeas* Show(double seconds, int width = 1020, int height = 664)
    {
        morvelance::RestRecordShape shape = resttest::Shape(RecordKind::Rest12);
        shape.seconds = seconds;
        EXPECT_EQ(0, Open(AddRecord("meas.ecg", shape)));
        CWndRestDetailMeas* pane = m_host.Open([this](CWndRestDetailMeas& p) { p.SetRestViewDoc(&m_doc); }, TRUE,
                                               width, height);
        pane->SendMessage(WM_SIZE, 0, 0);
        pane->OnUpdate();
        Desktop::PumpMessages();
        return pane;
    }
    CWnd* Button(CDlgCtrl* strip, int id) { return strip->GetDlgItem(id); }
    void Press(CWnd* control)
    {
        CRect rect;
        control->GetWindowRect(&rect);
        Desktop::Click(rect.CenterPoint());
        Desktop::PumpMessages();
    }
    void TypeOver(CViewDetailedMeas* table, int row, int lead, LPCWSTR text)
    {
        CDoubleEdit* cell = table->GetCell(row, lead);
        cell->SetFocus();
        Desktop::PumpMessages();
        cell->SetSel(0, -1);
        Desktop::KeyPress(VK_DELETE);
        Desktop::TypeText(text);
        Desktop::PumpMessages();
    }
    CString CellText(CViewDetailedMeas* table, int row, int lead)
    {
        CString text;
        table->GetCell(row, lead)->GetWindowText(text);
        return text;
    }

    panetest::ScopedScreen m_screen;
    panetest::CNotifyLog m_notify;
    panetest::PaneHost<CWndRestDetailMeas> m_host;
};

TEST_F(DetailMeasPaneTest, TablesAndStripsStandOnTheFixedPage)
{
    CWndRestDetailMeas* pane = Show(20.0);
    EXPECT_EQ(Box(10, 10, 1000, 395), m_host.Rect(pane->GetMeasFrame()));
    EXPECT_EQ(Box(10, 415, 800, 130), m_host.Rect(pane->GetQRSTypeView()));
    EXPECT_EQ(Box(10, 555, 800, 100), m_host.Rect(pane->GetQRSNoView()));
    EXPECT_EQ(Box(850, 575 + 40, 50, 30), m_host.Rect(Button(pane->GetPreNextStrip(), panes::kNextButton)));
    EXPECT_EQ(Box(850 + 60, 415, 60, 20), m_host.Rect(Button(pane->GetUpdateStrip(), 3504)));
}

TEST_F(DetailMeasPaneTest, OnALargeScreenThePageScalesToTheClient)
{
    CWndRestDetailMeas* pane = Show(20.0, 1920, 1080);
    const panes::VirtualPage page(1920, 1080, 664);
    EXPECT_EQ(page.Rect({10, 555, 800, 100}), m_host.Rect(pane->GetQRSNoView()));
    EXPECT_EQ(page.Rect({850, 415, 140, 80}), m_host.Rect(pane->GetUpdateStrip()));
    CString text;
    Button(pane->GetPreNextStrip(), panes::kBackButton)->GetWindowText(text);
    EXPECT_STREQ(L"<<", static_cast<LPCWSTR>(text));
}

TEST_F(DetailMeasPaneTest, PagingBeatsToBothEndsMovesTheFocusIntoTheTable)
{
    CWndRestDetailMeas* pane = Show(20.0);   // some 24 beats: four pages of six
    CWnd* back = Button(pane->GetPreNextStrip(), panes::kBackButton);
    CWnd* next = Button(pane->GetPreNextStrip(), panes::kNextButton);
    EXPECT_FALSE(back->IsWindowEnabled());
    ASSERT_TRUE(next->IsWindowEnabled());
    Press(next);
    EXPECT_TRUE(back->IsWindowEnabled());
    for (int i = 0; i < 40 && next->IsWindowEnabled(); ++i) Press(next);
    EXPECT_TRUE(pane->GetQRSNoView()->IsEnd());
    EXPECT_FALSE(next->IsWindowEnabled());
    CWnd* focus = CWnd::GetFocus();
    ASSERT_NE(nullptr, focus);
    EXPECT_EQ(pane->GetMeasView()->GetSafeHwnd(), focus->GetParent()->GetSafeHwnd());
    for (int i = 0; i < 40 && back->IsWindowEnabled(); ++i) Press(back);
    EXPECT_TRUE(pane->GetQRSNoView()->IsBegin());
    EXPECT_TRUE(next->IsWindowEnabled());
    EXPECT_GE(m_notify.Count(WM_SETFOCUS), 2);   // once at each end
}

// The measurement table paints its ground only when it is erased: an
// update that had it painted again without it drew its headings on
// themselves.
TEST_F(DetailMeasPaneTest, UpdatingThePageAgainLeavesTheTableAsDrawn)
{
    CWndRestDetailMeas* pane = Show(20.0);
    const std::vector<COLORREF> table = panetest::Shown(pane->GetMeasView());
    pane->OnUpdate();
    EXPECT_EQ(0, panetest::Differing(table, panetest::Shown(pane->GetMeasView())));
}

TEST_F(DetailMeasPaneTest, SixBeatsOrFewerDisableBothPagingButtons)
{
    CWndRestDetailMeas* pane = Show(5.0);
    ASSERT_TRUE(pane->GetQRSNoView()->IsEnd());
    EXPECT_FALSE(Button(pane->GetPreNextStrip(), panes::kBackButton)->IsWindowEnabled());
    EXPECT_FALSE(Button(pane->GetPreNextStrip(), panes::kNextButton)->IsWindowEnabled());
}

TEST_F(DetailMeasPaneTest, AReadOnlyDocumentNeverShowsTheUpdateStrip)
{
    CWndRestDetailMeas* pane = Show(10.0);
    EXPECT_TRUE(pane->GetUpdateStrip()->IsWindowVisible());
    m_doc.SetReadOnly(1);
    pane->OnUpdate();
    EXPECT_FALSE(pane->GetUpdateStrip()->IsWindowVisible());
}

TEST_F(DetailMeasPaneTest, WithoutEditorSavingTheUpdateButtonsAreDisabled)
{
    m_doc.SetDoctorAndEditorStatus(0, 0);
    CWndRestDetailMeas* pane = Show(10.0);
    EXPECT_TRUE(pane->GetUpdateStrip()->IsWindowVisible());
    EXPECT_FALSE(Button(pane->GetUpdateStrip(), 3503)->IsWindowEnabled());
    EXPECT_FALSE(Button(pane->GetUpdateStrip(), 3504)->IsWindowEnabled());
}

TEST_F(DetailMeasPaneTest, CancelClickedRestoresTheTypedCellAndUpdateWithoutEditsStoresNothing)
{
    m_doc.SetDoctorAndEditorStatus(0, 1);
    CWndRestDetailMeas* pane = Show(10.0);
    CViewDetailedMeas* table = pane->GetMeasView();
    const CString stored = CellText(table, kRa, 2);
    Press(Button(pane->GetUpdateStrip(), 3503));
    EXPECT_EQ(0, m_notify.Count(WM_EDIT_STORED));
    TypeOver(table, kRa, 2, L"999");
    ASSERT_TRUE(table->IsEditChange());
    Press(Button(pane->GetUpdateStrip(), 3504));
    EXPECT_EQ(stored, CellText(table, kRa, 2));
    EXPECT_FALSE(table->IsEditChange());
}

TEST_F(DetailMeasPaneTest, UpdateClickedStoresTheEditsAndTellsTheHostAndTheFrame)
{
    m_doc.SetDoctorAndEditorStatus(0, 1);
    CWndRestDetailMeas* pane = Show(10.0);
    CViewDetailedMeas* table = pane->GetMeasView();
    TypeOver(table, kRa, 0, L"1234");
    Desktop::KeyPress(VK_TAB);
    Desktop::PumpMessages();
    ASSERT_TRUE(table->IsEditChange());
    testsupport::ModalScript script;
    script.On(CDlgEditor::IDD, [](CDialog& dialog) {
        testsupport::ChooseListEntry(dialog, 3485, 0);
        testsupport::ClickControl(dialog, IDOK);
    });
    Press(Button(pane->GetUpdateStrip(), 3503));
    EXPECT_EQ(1, m_notify.Count(WM_EDIT_STORED));
    EXPECT_FALSE(table->IsEditChange());
    EXPECT_EQ(L"1234", CellText(table, kRa, 0));
}

}  // namespace
