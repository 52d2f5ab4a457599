// The host knows the examination documents only by their class names: each
// must be creatable by name, be a CTavrionDoc of its own kind, and answer
// the base's calls safely before any record is listed.
#include <gtest/gtest.h>

#include <memory>

#include "core/TavrionDoc.h"

namespace {

// class name, examination kind
const struct {
    const char* name;
    int docType;
} kDocuments[] = {
    {"CRestViewDoc", DOC_TYPE_REST},   {"CFinalViewDoc", DOC_TYPE_FINAL}, {"CRhythmViewDoc", DOC_TYPE_RHYTHM},
    {"CRRViewDoc", DOC_TYPE_RR},       {"CExtraViewDoc", DOC_TYPE_EXTRA}, {"CExerViewDoc", DOC_TYPE_EXER},
    {"CMFERViewDoc", DOC_TYPE_MFER},
};

}  // namespace

TEST(DocumentClasses, CreatedByNameAndSafeWithoutARecord)
{
    for (const auto& d : kDocuments) {
        SCOPED_TRACE(d.name);
        std::unique_ptr<CObject> object(CRuntimeClass::CreateObject(d.name));
        ASSERT_NE(object, nullptr);
        auto* doc = DYNAMIC_DOWNCAST(CTavrionDoc, object.get());
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(doc->GetDocType(), d.docType);
        EXPECT_EQ(doc->GetCurItemLeadCount(), 255);
        EXPECT_EQ(doc->GetRhythmWaveData(0, nullptr, -1), 0);
        EXPECT_EQ(doc->GetAverageWaveData(0, nullptr, -1), 0);
        EXPECT_EQ(doc->GetRhythmWaveTotalPage(200, 2), 0);
        EXPECT_NE(doc->SaveDataToXML(0), 0);
    }
}
