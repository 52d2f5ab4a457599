// Opening a record when the memory for it cannot be had fails the open with
// the open's own failure value and a message that the record is too large;
// the document stays empty and opens the next record as usual.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "documents/RestViewDoc.h"
#include "platform/base/Kernel.h"
#include "platform/base/MessageBox.h"
#include "tests/support/DocumentTestSupport.h"
#include "tools/RestRecord.h"

namespace {

class OpenUnderTightMemory : public testsupport::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        m_previous = SetMessageBoxHandler([this](const MessageBoxRequest& request) {
            m_messages.push_back(request.text);
            return IDOK;
        });
    }
    void TearDown() override
    {
        platform::SetHeapFailureCountdown(0);
        SetMessageBoxHandler(m_previous);
        DocumentTest::TearDown();
    }

    _RESTDATAITEM* Add(CRestViewDoc& doc, const morvelance::RestRecordFiles& files)
    {
        return doc.GetRestDataManager().AppendItem(testsupport::NewRecordItem<_RESTDATAITEM>(files.record, files.xml));
    }

    MessageBoxHandler m_previous;
    std::vector<CString> m_messages;
};

TEST_F(OpenUnderTightMemory, RecordImageWithoutMemoryFailsTheOpenAsTooLarge)
{
    const morvelance::RestRecordFiles files = morvelance::WriteRestRecord(m_dir.Path(), "r.ecg", morvelance::RestRecordShape());
    CRestViewDoc doc;
    const int id = Add(doc, files)->nID;
    // The record image is the first block the open takes from the heap.
    platform::SetHeapFailureCountdown(1);
    EXPECT_EQ(testsupport::OpenRecord(doc, testsupport::RecordPaths{files.record, files.xml}), 255);
    platform::SetHeapFailureCountdown(0);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].Find(L"too large"), -1) << testsupport::Utf8(m_messages[0]);
    EXPECT_EQ(doc.GetRestDataManager().GetItem(id), nullptr) << "the failed record stays listed";

    // The document is empty and usable: the same record opens once there is memory.
    _RESTDATAITEM* again = Add(doc, files);
    ASSERT_EQ(testsupport::OpenRecord(doc, testsupport::RecordPaths{files.record, files.xml}), 0);
    doc.SetCurDataIndex(again->nID);
    EXPECT_FALSE(testsupport::RhythmWave(doc, 0).empty());
}

TEST_F(OpenUnderTightMemory, FileListEntryOfARecordWithoutMemoryIsUnreadable)
{
    const morvelance::RestRecordFiles files = morvelance::WriteRestRecord(m_dir.Path(), "r.ecg", morvelance::RestRecordShape());
    CTavrionDoc doc;
    auto* item = new _DATAITEM;
    item->strFilePath = testsupport::Wide(files.record);
    doc.GetDataManager().AppendItem(item);
    CString xml;
    CString record = testsupport::Wide(files.record);
    platform::SetHeapFailureCountdown(1);
    EXPECT_EQ(doc.OpenFile(xml, record), 1);
    platform::SetHeapFailureCountdown(0);
    EXPECT_NE(doc.OpenFile(xml, record), 1);
}

}  // namespace
