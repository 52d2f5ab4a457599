// A record whose record XML holds thousands of annotations, as a busy ward's
// records come to hold: the host lists them all, opens the record with every
// one of them in the order stored, and a save of the annotations writes the
// section back element for element as it was read.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>
#include <string>

#include "core/AnnoManager.h"
#include "core/TavrionDoc.h"
#include "documents/RestViewDoc.h"
#include "host/RecordOpening.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/dialogs/RecordXmlChanges.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/DocumentTestSupport.h"

using namespace hosttest;

namespace {

const int kAnnotations = 5000;

// The entries of the annotation section alone.
xmlchanges::Entries AnnotationSection(const std::string& xml)
{
    bool ok = false;
    xmlchanges::Entries all = xmlchanges::Read(testsupport::ReadFileBytes(xml), &ok);
    EXPECT_TRUE(ok) << xml;
    xmlchanges::Entries section;
    const std::string prefix = "/Rawdata[1]/Annotation[1]";
    for (const auto& entry : all)
        if (entry.first.compare(0, prefix.size(), prefix) == 0) section.insert(entry);
    return section;
}

class HostManyAnnotations : public testsupport::DocumentTest {
protected:
    void TearDown() override
    {
        platform::ui::Desktop::Reset();
        testsupport::DocumentTest::TearDown();
    }
};

}  // namespace

TEST_F(HostManyAnnotations, EveryAnnotationIsListedReadInOrderAndSavedBackAsStored)
{
    const std::string folder = m_dir.File("ward");
    ASSERT_EQ(0, ::mkdir(folder.c_str(), 0755));
    const std::string record = folder + "/rest.ecg";
    MakeRecords({"synth", "--kind", "rest12", "--out", record});
    MakeRecords({"xml", "--for", record, "--annotations", std::to_string(kAnnotations)});
    const std::string xml = host::FindRecordXml(record);
    ASSERT_FALSE(xml.empty());
    const xmlchanges::Entries stored = AnnotationSection(xml);
    ASSERT_EQ(1u, stored.count("/Rawdata[1]/Annotation[1]/Anno[" + std::to_string(kAnnotations) + "]"));

    const HostRun info = Host({"info", record});
    ASSERT_EQ(0, info.status) << info.err;
    EXPECT_NE(std::string::npos, info.out.find("  annotations     " + std::to_string(kAnnotations) + "\n")) << info.out;
    EXPECT_NE(std::string::npos, info.out.find(", " + std::to_string(kAnnotations) + " annotations")) << info.out;

    std::unique_ptr<CTavrionDoc> doc;
    ASSERT_TRUE(host::OpenForViews(record, doc));
    auto* rest = dynamic_cast<CRestViewDoc*>(doc.get());
    ASSERT_NE(nullptr, rest);
    ASSERT_NE(nullptr, rest->GetCurrentDataItem());
    CAnnoManager chain;
    chain.SetListHeader(rest->GetCurrentDataItem()->pAnnoHead);
    ASSERT_EQ(kAnnotations + 1, chain.GetItemCount()) << "the head and every annotation";
    // Each annotation was drawn a little after the one before: read in the
    // order stored, their edit times rise one by one.
    CString previous;
    for (_ANNOTATION_INFO* anno = chain.GetListHeader()->pNext; anno; anno = anno->pNext) {
        ASSERT_GT(anno->strEditTime, previous);
        previous = anno->strEditTime;
    }
    // Written back, the section holds every element, attribute and text it held.
    ASSERT_EQ(0, rest->SaveAnnotationToXML(rest->GetCurDataIndex()));
    EXPECT_TRUE(stored == AnnotationSection(xml)) << "the saved annotation section differs from the one read";
}
