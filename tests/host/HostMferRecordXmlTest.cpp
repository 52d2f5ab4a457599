// The record XML of an MFER file as the host opens it: a file alone in its
// folder opens with the record XML the library names for it (named, not
// written), so the document reads the file's own lead names and the views
// name every lead; info names the record XML open uses, the one beside the
// file when there is one.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/TavrionDoc.h"
#include "documents/MFERViewDoc.h"
#include "host/RecordOpening.h"
#include "platform/base/CodePage.h"
#include "tests/host/HostPdf.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/DocumentTestSupport.h"

using namespace hosttest;
using testsupport::TempDir;

namespace {

// The path on a section's "record XML" line, without what follows it.
std::string RecordXmlLine(const std::string& section)
{
    const std::string label = "  record XML      ";
    const size_t at = section.find(label);
    if (at == std::string::npos) return std::string();
    const size_t end = section.find('\n', at);
    return section.substr(at + label.size(), end == std::string::npos ? std::string::npos : end - at - label.size());
}

const std::vector<std::string> kTwelveLeads = {"I",  "II", "III", "aVR", "aVL", "aVF",
                                               "V1", "V2", "V3",  "V4",  "V5",  "V6"};

class HostMferRecordXmlTest : public testsupport::DocumentTest {
protected:
    void SetUp() override
    {
        testsupport::DocumentTest::SetUp();
        m_folder = m_dir.File("alone");
        ASSERT_EQ(0, ::mkdir(m_folder.c_str(), 0755));
        m_record = m_folder + "/p.mwf";
        MakeRecords({"mfer", "--kind", "plain", "--out", m_record});
        ASSERT_EQ(std::vector<std::string>{"p.mwf"}, testsupport::FolderEntries(m_folder));
    }

    std::string m_folder;
    std::string m_record;
};

TEST_F(HostMferRecordXmlTest, AFileWithoutItsRecordXmlOpensWithTheNamedOneAndReadsItsLeadNames)
{
    std::unique_ptr<CTavrionDoc> doc;
    ASSERT_TRUE(host::OpenForViews(m_record, doc));
    auto* mfer = dynamic_cast<CMFERViewDoc*>(doc.get());
    ASSERT_NE(nullptr, mfer);
    const _MFERDATAITEM* item = mfer->GetCurrentDataItem();
    ASSERT_NE(nullptr, item);
    // Named in the file's folder after it, "Raw_" first; not written.
    const std::string xml = platform::ToUtf8(item->strXMLPath.GetString());
    EXPECT_EQ(0u, xml.find(m_folder + "/Raw_p")) << xml;
    for (size_t lead = 0; lead < kTwelveLeads.size(); ++lead)
        EXPECT_EQ(kTwelveLeads[lead], platform::ToUtf8(item->stLeadName.strDispName[lead].GetString())) << lead;
    doc.reset();
    EXPECT_EQ(std::vector<std::string>{"p.mwf"}, testsupport::FolderEntries(m_folder));
}

TEST_F(HostMferRecordXmlTest, TheAverageAndMultiLeadViewsOfAFileWithoutItsRecordXmlNameEveryLead)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    for (const char* view : {"CViewAverageWave", "CViewRhythmWave"}) {
        SCOPED_TRACE(view);
        const std::string pdf = m_dir.File(std::string(view) + ".pdf");
        const HostRun run = Host({"print", m_record, "--view", view, "--pdf", pdf});
        ASSERT_EQ(0, run.status) << run.err;
        std::set<std::string> words;
        for (const PdfWord& word : PdfWords(pdf)) words.insert(word.text);
        for (const std::string& lead : kTwelveLeads) EXPECT_EQ(1u, words.count(lead)) << lead;
    }
    // Opening named the record XML and wrote none.
    EXPECT_EQ(std::vector<std::string>{"p.mwf"}, testsupport::FolderEntries(m_folder));
}

TEST_F(HostMferRecordXmlTest, InfoNamesTheRecordXmlOpenUses)
{
    // Without one beside the file, both name the one a save would make.
    HostRun info = Host({"info", m_record});
    HostRun open = Host({"open", m_record});
    ASSERT_EQ(0, info.status) << info.err;
    ASSERT_EQ(0, open.status) << open.err;
    std::string listed = RecordXmlLine(Sections(info.out)[m_record]);
    std::string opened = RecordXmlLine(Sections(open.out)[m_record]);
    EXPECT_EQ(0u, listed.find(m_folder + "/Raw_p")) << listed;
    EXPECT_NE(std::string::npos, listed.find(" (to be made)")) << listed;
    EXPECT_EQ(0u, opened.find(m_folder + "/Raw_p")) << opened;

    // With one beside it, both name that one, and it is not to be made.
    const std::string xml = m_folder + "/Raw_mfer1220240401093000.xml";
    const std::string record = m_folder + "/mfer12.mwf";
    MakeRecords({"mfer", "--kind", "plain", "--out", record, "--xml-out", xml});
    info = Host({"info", record});
    open = Host({"open", record});
    ASSERT_EQ(0, info.status) << info.err;
    ASSERT_EQ(0, open.status) << open.err;
    listed = RecordXmlLine(Sections(info.out)[record]);
    opened = RecordXmlLine(Sections(open.out)[record]);
    EXPECT_EQ(xml, listed);
    EXPECT_EQ(xml, opened);
}

}  // namespace
