// The serial rhythm comparison's record pop-up, run through the modal driver
// from a double-click typed on the comparison view.
#include <gtest/gtest.h>

#include "core/DataItem.h"
#include "dialogs/DlgEnlargedWave.h"
#include "documents/MFERViewDoc.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/ModalScript.h"
#include "waveviews/ViewEnlargedWave.h"
#include "waveviews/ViewSerialComRhy.h"

using platform::ui::Desktop;

namespace {

class SerialPopupTest : public resttest::RestDocFixture {
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
        ASSERT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 600), nullptr, 0));
        CCreateContext context;
        context.m_pCurrentDoc = &m_doc;
        m_view = new CViewSerialComRhy;
        ASSERT_TRUE(m_view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 600), &m_pane, 1, &context));
        m_view->SetRestViewDoc(&m_doc);
        m_view->SetMFERViewDoc(&m_mfer);
        m_view->SetBaseECGDoc(&m_base);
        m_view->SetDocType(DOC_TYPE_REST);
        m_view->SetSerialIndex(0);
        CViewSerialComRhy::SetPopupRunner(&CDlgEnlargedWave::RunSerialPopup);
    }
    void TearDown() override
    {
        CViewSerialComRhy::SetPopupRunner(nullptr);
        m_pane.DestroyWindow();
        Desktop::Reset();
        resttest::RestDocFixture::TearDown();
    }
    void Show(int style)
    {
        m_view->SetWaveStyle(style, TRUE);
        m_view->OnUpdate(nullptr, 0, nullptr);
        m_view->UpdateWindow();
        Desktop::MoveMouse(m_view->GetSafeHwnd(), 1, 1);
        Desktop::PumpMessages();
    }
    void DoubleClick(CPoint p)
    {
        Desktop::DoubleClick(m_view->GetSafeHwnd(), p.x, p.y);
        Desktop::PumpMessages();
    }

    CMFERViewDoc m_mfer;
    CTavrionDoc m_base;
    CWnd m_pane;
    CViewSerialComRhy* m_view = nullptr;   // deleted with its window
    int m_itemID = 0;
};

}  // namespace

TEST_F(SerialPopupTest, ADoubleClickOnALeadOpensItsPopupWhichThePaneCanClose)
{
    Show(29);
    m_doc.SetCurDataIndex(-1);
    testsupport::ModalScript script;
    bool ran = false;
    script.On(CDlgEnlargedWave::IDD, [&](CDialog& dialog) {
        auto& wave = static_cast<CDlgEnlargedWave&>(dialog);
        ASSERT_NE(nullptr, wave.GetWaveView());
        // The shown record is current in its document while the pop-up runs.
        EXPECT_EQ(m_itemID, m_doc.GetCurDataIndex());
        EXPECT_EQ(1, m_view->IsPopupOpen());
        m_view->CloseAllPopupDlg();
        ran = true;
    });
    // Row three of six: lead III.
    DoubleClick(CPoint(300, 250));
    EXPECT_TRUE(ran);
    EXPECT_EQ(0, m_view->IsPopupOpen());
    EXPECT_EQ(-1, m_doc.GetCurDataIndex());
}

TEST_F(SerialPopupTest, ADoubleClickInTheOneLeadStyleOrOnThePulseOpensNothing)
{
    testsupport::ModalScript script;
    Show(29);
    DoubleClick(CPoint(20, 250));
    Show(13);
    Desktop::AdvanceClock(1000);
    DoubleClick(CPoint(300, 100));
    EXPECT_TRUE(script.Seen().empty());
}
