#include <gtest/gtest.h>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "dialogs/DlgPrintStatus.h"
#include "tests/support/ModalScript.h"

namespace {

// The print job's order: create the box, then give it the document.
struct PrintJobBox {
    explicit PrintJobBox(CTavrionDoc* doc)
    {
        EXPECT_TRUE(box.Create(CDlgPrintStatus::IDD, nullptr));
        box.SetECGDoc(doc);
        box.ShowWindow(SW_SHOW);
    }
    ~PrintJobBox()
    {
        if (box.m_hWnd) box.DestroyWindow();
    }
    CDlgPrintStatus box;
};

class PrintStatus : public ::testing::Test {
protected:
    void TearDown() override { g_bPrintAbort = 0; }
    CTavrionDoc m_doc;
};

}  // namespace

TEST_F(PrintStatus, CancelSetsTheDocumentFlagAndTheModuleFlag)
{
    PrintJobBox job(&m_doc);
    CString caption;
    job.box.GetWindowText(caption);
    EXPECT_EQ(caption, L"ﾚﾎﾟｰﾄ印刷");
    EXPECT_EQ(testsupport::ControlText(job.box, IDCANCEL), L"取消");
    job.box.SetStatusText(L"2/5 ページ");
    EXPECT_EQ(testsupport::ControlText(job.box, 3771), L"2/5 ページ");

    testsupport::ClickControl(job.box, IDCANCEL);
    EXPECT_EQ(m_doc.IsPrintCancel(), 1);
    EXPECT_EQ(g_bPrintAbort, 1);
}

TEST_F(PrintStatus, TheBoxOfTheNextJobClearsBothFlagsThoughItGetsTheDocumentLate)
{
    {
        PrintJobBox first(&m_doc);
        testsupport::ClickControl(first.box, IDCANCEL);
    }
    ASSERT_EQ(m_doc.IsPrintCancel(), 1);
    ASSERT_EQ(g_bPrintAbort, 1);
    PrintJobBox next(&m_doc);
    EXPECT_EQ(m_doc.IsPrintCancel(), 0);
    EXPECT_EQ(g_bPrintAbort, 0);
}

TEST_F(PrintStatus, CancelBeforeTheDocumentIsGivenTouchesNoFlag)
{
    m_doc.SetPrintCancel(0);
    CDlgPrintStatus box(nullptr);
    ASSERT_TRUE(box.Create(CDlgPrintStatus::IDD, nullptr));
    box.ShowWindow(SW_SHOW);
    testsupport::ClickControl(box, IDCANCEL);
    EXPECT_EQ(m_doc.IsPrintCancel(), 0);
    EXPECT_EQ(g_bPrintAbort, 0);
    if (box.m_hWnd) box.DestroyWindow();
}
