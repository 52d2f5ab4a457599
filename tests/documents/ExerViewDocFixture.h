// The exercise document's test fixture: exercise records made by the record
// maker in a temporary folder, opened through the document as the host does.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "documents/ExerViewDoc.h"
#include "platform/base/CodePage.h"
#include "tests/support/DocumentTestSupport.h"
#include "tools/ExerRecord.h"
#include "tools/RecordBuilder.h"

namespace exertest {

using namespace morvelance;
using testsupport::StoredText;
using testsupport::Utf8;
using testsupport::Wide;
using testsupport::WriteXmlValue;

using ExerFiles = testsupport::RecordPaths;

inline ExerciseRecordOptions DefaultOptions()
{
    ExerciseRecordOptions o;
    o.patient.id = "EX-0047";
    o.patient.name = "山田 太郎";
    o.patient.sex = "M";
    o.patient.age = "47";
    return o;
}

class ExerDocument : public testsupport::DocumentTest {
protected:

    ExerFiles Write(const ExerciseRecordOptions& o, const std::function<void(RecordBuilder&)>& tweak = nullptr,
                    const RecordXmlOptions& xmlOptions = RecordXmlOptions(), const std::string& name = "exer")
    {
        RecordBuilder items = MakeExerciseRecord(o);
        ExerFiles files{m_dir.File(name + ".ecg"), m_dir.File(name + ".xml")};
        WriteExerciseRecordXml(files.xml, items, o, xmlOptions);
        if (tweak) tweak(items);
        items.WriteFile(files.record, zarn::Flavour::Newer90);
        return files;
    }

    // Adds the item as the host does and opens it; the item stays current.
    static int Open(CExerViewDoc& doc, const ExerFiles& files)
    {
        _EXERDATAITEM* item = testsupport::NewRecordItem<_EXERDATAITEM>(files.record, files.xml);
        doc.GetExerDataManager().AppendItem(item);
        doc.SetCurDataIndex(item->nID);
        return testsupport::OpenRecord(doc, files);
    }

    static std::vector<short> Wave(const std::function<int(short*)>& get)
    {
        const int size = get(nullptr);
        std::vector<short> samples(size > 0 ? static_cast<size_t>(size / 2) : 0);
        if (size > 0) {
            EXPECT_EQ(get(samples.data()), size);
        }
        return samples;
    }
};

}  // namespace exertest
