// The confirmation lines of the master-step and MFER records: the
// master-step line from its own record, and an MFER record's line and dates
// printed on the extra-lead interpretation block.
#include <gtest/gtest.h>

#include "core/PositionCtrl.h"
#include "documents/FinalViewDoc.h"
#include "tests/documents/FinalViewDocTestUtil.h"
#include "tests/documents/MFERViewDocFixture.h"
#include "tests/reports/ReportTestSupport.h"

namespace {

using reporttest::RecordingPage;

class CConfirmReport : public reporttest::CTestReport {
public:
    using CECGPrintBase::GetFinalConfirmInfo;
    using CECGPrintBase::GetMFERConfirmInfo;
};

const wchar_t kDoctorLine[] = L"判読日時  : 2024/05/06 07:08 判読医師  : 判読 一郎";

void Confirmable(_PATIENT_INFO& patient)
{
    patient.strConfirmDate = L"2024/05/06 07:08:09";
    patient.strConfirmDoctor = L"判読 一郎";
    patient.strConfirmation = L"未判読";
}

class MasterStepConfirm : public finaltest::FinalDocTest {};
class MferConfirm : public mfertest::MferDocTest {};

}  // namespace

TEST_F(MasterStepConfirm, TheLineNamesTheDoctorOnceTheRecordIsConfirmedForEveryKindAsked)
{
    std::string xml;
    const std::string path = Write(finaltest::SynthRecord(), &xml);
    CFinalViewDoc doc;
    doc.m_bAutoDelete = FALSE;
    ASSERT_EQ(Open(doc, path, xml), 0);
    _FINALDATAITEM* item = doc.GetCurrentDataItem();
    ASSERT_NE(nullptr, item);
    Confirmable(item->stPatient);

    CConfirmReport report;
    report.m_pDoc = &doc;
    report.m_DocType = 1;
    item->stPatient.bConfirmed = 0;
    EXPECT_EQ(report.GetFinalConfirmInfo(DATA_TIME_CONFIRM), L"未判読");
    item->stPatient.bConfirmed = 1;
    for (_DATA_TIME_INFO kind : {DATA_TIME_CONFIRM, DATA_TIME_1, DATA_TIME_2, DATA_TIME_3})
        EXPECT_EQ(report.GetFinalConfirmInfo(kind), kDoctorLine) << int(kind);
    // Another kind of report, or no current record: no line.
    report.m_DocType = 0;
    EXPECT_EQ(report.GetFinalConfirmInfo(DATA_TIME_CONFIRM), L"");
    report.m_DocType = 1;
    doc.SetCurDataIndex(-1);
    EXPECT_EQ(report.GetFinalConfirmInfo(DATA_TIME_CONFIRM), L"");
}

TEST_F(MferConfirm, AnMferRecordsLineAndDatesPrintOnTheExtraBlock)
{
    _MFERDATAITEM* item = OpenKind(morvelance::MferKind::Plain, 3, 0x8003, 3);
    ASSERT_NE(nullptr, item);
    Confirmable(item->stPatient);
    item->stInterpre.strInfoEditDate = L"2024/04/01 09:40:00";
    item->stInterpre.strAnaEditDate = L"2024/04/02 10:41:00";
    item->stInterpre.strCommentEditDate = L"2024/04/03 11:42:00";
    m_doc->GetCtrlPosFromXSL(LOAD_POS_EXTRA_PRINT);

    CConfirmReport report;
    report.m_pDoc = m_doc.get();
    report.m_DocType = 6;
    // Asked as an extra-lead record, the MFER record answers with its own.
    item->stPatient.bConfirmed = 0;
    EXPECT_EQ(report.GetExtraConfirmInfo(DATA_TIME_CONFIRM), L"未判読");
    item->stPatient.bConfirmed = 1;
    EXPECT_EQ(report.GetExtraConfirmInfo(DATA_TIME_CONFIRM), kDoctorLine);
    EXPECT_EQ(report.GetExtraConfirmInfo(DATA_TIME_1), L"2024/04/01 09:40");
    EXPECT_EQ(report.GetExtraConfirmInfo(DATA_TIME_2), L"2024/04/02 10:41");
    EXPECT_EQ(report.GetExtraConfirmInfo(DATA_TIME_3), L"2024/04/03 11:42");
    EXPECT_EQ(report.GetMFERConfirmInfo(DATA_TIME_1), L"2024/04/01 09:40");

    // On paper: the block prints the line and the dates it shows.
    RecordingPage page;
    page.Attach(report);
    report.OpenXml(item->strXMLPath);
    const CRect block(report.m_rcPrint.left, report.m_rcPrint.top, report.m_rcPrint.right, report.m_rcPrint.bottom);
    ASSERT_EQ(report.PrintExtraInterpreInfo(block), 1);
    bool line = false, infoDate = false, commentDate = false;
    for (const auto& text : page.Texts()) {
        line = line || text.text == kDoctorLine;
        infoDate = infoDate || text.text == L"2024/04/01 09:40";
        commentDate = commentDate || text.text == L"2024/04/03 11:42";
    }
    EXPECT_TRUE(line);
    EXPECT_TRUE(infoDate);
    EXPECT_TRUE(commentDate);

    // A report of another kind gets nothing from the MFER record.
    report.m_DocType = 4;
    EXPECT_EQ(report.GetExtraConfirmInfo(DATA_TIME_CONFIRM), L"");
    EXPECT_EQ(report.GetMFERConfirmInfo(DATA_TIME_CONFIRM), L"");
}
