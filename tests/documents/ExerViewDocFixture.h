// The exercise document's test fixture: exercise records made by the record
// maker in a temporary folder, opened through the document as the host does.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "documents/ExerViewDoc.h"
#include "platform/base/CodePage.h"
#include "tests/support/TestSupport.h"
#include "tools/ExerRecord.h"
#include "tools/RecordBuilder.h"

namespace exertest {

using namespace morvelance;
using testsupport::TempDir;
using testsupport::Wide;


struct ExerFiles {
    std::string ecg;
    std::string xml;
};

inline ExerciseRecordOptions DefaultOptions()
{
    ExerciseRecordOptions o;
    o.patient.id = "EX-0047";
    o.patient.name = "山田 太郎";
    o.patient.sex = "M";
    o.patient.age = "47";
    return o;
}

inline std::string Utf8(const CString& text)
{
    return platform::ToUtf8(text.str());
}

class ExerDocument : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDefCtrlPos();
        m_savedWorkDir = g_pWorkDir;
        const CString path = Wide(testsupport::WorkDir());
        m_workDir.assign(path.GetString(), path.GetString() + path.GetLength() + 1);
        g_pWorkDir = m_workDir.data();
    }
    void TearDown() override
    {
        g_pWorkDir = m_savedWorkDir;
        ResetDefCtrlPos();
    }

    ExerFiles Write(const ExerciseRecordOptions& o, const std::function<void(RecordBuilder&)>& tweak = nullptr,
                    const RecordXmlOptions& xmlOptions = RecordXmlOptions(), const std::string& name = "exer")
    {
        RecordBuilder items = MakeExerciseRecord(o);
        ExerFiles files{m_dir.File(name + ".ecg"), m_dir.File(name + ".xml")};
        WriteExerciseRecordXml(files.xml, items, o, xmlOptions);
        if (tweak) tweak(items);
        items.WriteFile(files.ecg, zarn::Flavour::Newer90);
        return files;
    }

    // Adds the item as the host does and opens it; the item stays current.
    static int Open(CExerViewDoc& doc, const ExerFiles& files)
    {
        _EXERDATAITEM* item = new _EXERDATAITEM;
        item->strFilePath = Wide(files.ecg);
        item->strXMLPath = Wide(files.xml);
        doc.GetExerDataManager().AppendItem(item);
        doc.SetCurDataIndex(item->nID);
        CString xml = Wide(files.xml);
        CString ecg = Wide(files.ecg);
        return doc.OpenFile(xml, ecg);
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

    TempDir m_dir;
    std::vector<wchar_t> m_workDir;
    wchar_t* m_savedWorkDir = nullptr;
};

}  // namespace exertest
