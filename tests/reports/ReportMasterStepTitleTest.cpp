#include <gtest/gtest.h>

#include "documents/FinalViewDoc.h"
#include "tests/documents/FinalViewDocTestUtil.h"
#include "tests/reports/ReportTestSupport.h"
#include "tools/MasterStepRecord.h"

namespace {

using reporttest::CTestReport;
using reporttest::RecordingPage;

// The title line of a master-step page without the patient fields: the
// time after the load and the trip figures of a record the maker wrote.
class ReportMasterStepTitle : public finaltest::FinalDocTest {
protected:
    std::wstring TitleHead(morvelance::MasterStepRecord record)
    {
        std::string xml;
        const std::string path = Write(record, &xml, "ms" + std::to_string(++m_made));
        CFinalViewDoc doc;
        doc.m_bAutoDelete = FALSE;
        EXPECT_EQ(Open(doc, path, xml), 0);
        CTestReport report;
        report.m_pDoc = &doc;
        report.m_DocType = 1;
        RecordingPage page;
        page.Attach(report);
        report.OpenXml(finaltest::Wide(xml));
        EXPECT_TRUE(report.PrintTitle(L"マスタ", 1, 1, 1, 0));
        const auto texts = page.Texts();
        return texts.empty() ? std::wstring() : texts.front().text;
    }
    int m_made = 0;
};

}  // namespace

TEST_F(ReportMasterStepTitle, TheTitleStatesTheTimeAfterTheLoadAndTheTrip)
{
    morvelance::MasterStepOptions options;
    options.loadMinutes = {2, 4, 6};
    const std::wstring head = TitleHead(morvelance::MakeMasterStepRecord(
        finaltest::Synth(65, 1), {finaltest::Synth(110, 2), finaltest::Synth(95, 3), finaltest::Synth(80, 4)}, options));
    EXPECT_NE(head.find(L"負荷後 2’00”"), std::wstring::npos) << testsupport::Utf8(CString(head.c_str()));
    // A trip record of the newer recorder names its trip and the mode.
    EXPECT_NE(head.find(L" ( "), std::wstring::npos);
    EXPECT_NE(head.find(L"])"), std::wstring::npos);
    // No patient fields on this page.
    EXPECT_EQ(head.find(L"MS-0243"), std::wstring::npos);
}

TEST_F(ReportMasterStepTitle, ATimeShorterThanItsTwoBytesIsNoTime)
{
    morvelance::MasterStepRecord record = finaltest::SynthRecord();
    record.items.SetRaw(morvelance::rec::kTagMasterDescentTime, 0, {7});
    const std::wstring head = TitleHead(std::move(record));
    EXPECT_EQ(head.find(L"負荷後"), std::wstring::npos);
    EXPECT_EQ(head.rfind(L"****** Report ****** マスタ **********", 0), 0u);
}
