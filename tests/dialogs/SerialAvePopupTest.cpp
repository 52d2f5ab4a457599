// The average beat comparison's dialogs, run through the modal driver from
// double-clicks typed on the comparison view.
#include <gtest/gtest.h>

#include "core/DataItem.h"
#include "dialogs/DlgEnlargedOverlap.h"
#include "dialogs/DlgEnlargedWave.h"
#include "dialogs/SerialAvePopup.h"
#include "documents/MFERViewDoc.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/ModalScript.h"

using platform::ui::Desktop;

namespace {

class SerialAvePopupTest : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        Desktop::SetScreenSize(1920, 1080);
        m_doc.m_bAutoDelete = m_mfer.m_bAutoDelete = m_base.m_bAutoDelete = FALSE;
        m_doc.SetSpeed(25.0f);
        morvelance::RestRecordShape shape;
        _RESTDATAITEM* item = AddRecord("serial", shape);
        ASSERT_EQ(0, Open(item));
        m_itemID = item->nID;
        auto* listed = new _DATAITEM;
        listed->uSystemCode = item->uSystemCode;
        listed->strXMLPath = item->strXMLPath;
        listed->strFilePath = item->strFilePath;
        m_base.GetDataManager().AppendItem(listed);
        ASSERT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1300, 640), nullptr, 0));
        CCreateContext context;
        context.m_pCurrentDoc = &m_doc;
        m_view = new CViewSerialComAve;
        ASSERT_TRUE(m_view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1300, 640), &m_pane, 1, &context));
        m_view->SetRestViewDoc(&m_doc);
        m_view->SetMFERViewDoc(&m_mfer);
        m_view->SetBaseECGDoc(&m_base);
        m_view->SetDocType(DOC_TYPE_REST);
        m_view->SetPageStyle(41);
        m_view->SetSerialIndex(0, 0);
        CSerialAvePopup::Install();
    }
    void TearDown() override
    {
        CViewSerialComAve::SetPopupRunner(nullptr);
        m_pane.DestroyWindow();
        Desktop::Reset();
        resttest::RestDocFixture::TearDown();
    }
    void DoubleClick(BOOL overlap, int column)
    {
        m_view->SetShowOverlappedWave(overlap);
        m_view->OnUpdate(nullptr, 0, nullptr);
        m_view->UpdateWindow();
        const int x = 50 + 125 * column + 62;
        Desktop::DoubleClick(m_view->GetSafeHwnd(), x, 640 / 12);
        Desktop::PumpMessages();
    }

    CMFERViewDoc m_mfer;
    CTavrionDoc m_base;
    CWnd m_pane;
    CViewSerialComAve* m_view = nullptr;   // deleted with its window
    int m_itemID = 0;
};

}  // namespace

TEST_F(SerialAvePopupTest, ARecordColumnOpensTheEnlargedBeatWithTheRecordCurrent)
{
    m_doc.SetCurDataIndex(-1);
    testsupport::ModalScript script;
    bool ran = false;
    script.On(CDlgEnlargedWave::IDD, [&](CDialog&) {
        EXPECT_EQ(m_itemID, m_doc.GetCurDataIndex());
        EXPECT_EQ(1, m_view->IsPopupOpen());
        m_view->CloseAllPopupDlg();
        ran = true;
    });
    DoubleClick(FALSE, 0);
    EXPECT_TRUE(ran);
    EXPECT_EQ(0, m_view->IsPopupOpen());
    EXPECT_EQ(-1, m_doc.GetCurDataIndex());
}

TEST_F(SerialAvePopupTest, TheOverlapColumnOpensTheEnlargedOverlap)
{
    testsupport::ModalScript script;
    bool ran = false;
    script.On(CDlgEnlargedOverlap::IDD, [&](CDialog&) {
        m_view->CloseAllPopupDlg();
        ran = true;
    });
    DoubleClick(TRUE, 9);
    EXPECT_TRUE(ran);
    EXPECT_EQ(0, m_view->IsPopupOpen());
}

// The enlarged overlap compares the records of every record column, the
// first one as much as the others; the overlap column's own slot holds none.
TEST_F(SerialAvePopupTest, TheOverlapPopUpComparesEveryRecordTheFirstOneIncluded)
{
    for (const char* name : {"second", "third"}) {
        morvelance::RestRecordShape shape;
        _RESTDATAITEM* item = AddRecord(name, shape);
        ASSERT_EQ(0, Open(item));
        auto* listed = new _DATAITEM;
        listed->uSystemCode = item->uSystemCode;
        listed->strXMLPath = item->strXMLPath;
        listed->strFilePath = item->strFilePath;
        m_base.GetDataManager().AppendItem(listed);
    }
    m_view->SetSerialIndex(1, 1);
    m_view->SetSerialIndex(2, 2);
    testsupport::ModalScript script;
    std::vector<bool> compared;
    script.On(CDlgEnlargedOverlap::IDD, [&](CDialog& dialog) {
        CViewEnlargedOverlap* view = static_cast<CDlgEnlargedOverlap&>(dialog).GetOverlapView();
        ASSERT_NE(nullptr, view);
        for (int slot = 0; slot < ENLARGED_OVERLAP_SLOTS; ++slot)
            compared.push_back(view->HasSamples(slot) && view->GetWindowLength(slot) > 0);
        m_view->CloseAllPopupDlg();
    });
    DoubleClick(TRUE, 9);
    const std::vector<bool> expected{true, true, true, false, false, false, false, false, false};
    EXPECT_EQ(expected, compared);
}
