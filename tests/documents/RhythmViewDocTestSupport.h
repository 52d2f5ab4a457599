// Rhythm records written by the record maker into a temporary folder and
// opened through the rhythm document, as the host does: it lists the item,
// opens it and makes it current.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "documents/RhythmViewDoc.h"
#include "tests/support/DocumentTestSupport.h"
#include "tools/RecordXml.h"
#include "tools/RhythmRecord.h"

namespace rhythmtest {

using RhythmFiles = testsupport::RecordPaths;
using testsupport::ReadXmlValue;
using testsupport::RhythmWave;
using testsupport::StoredText;
using testsupport::WriteXmlValue;

inline RhythmFiles WriteRhythm(const testsupport::TempDir& dir, const std::string& stem,
                               const morvelance::RhythmRecordShape& shape,
                               const std::function<void(morvelance::RecordBuilder&)>& tweak = nullptr,
                               const morvelance::RecordXmlOptions& xmlOptions = morvelance::RecordXmlOptions())
{
    morvelance::RecordXmlSource source;
    morvelance::RecordBuilder builder = morvelance::MakeRhythmRecord(shape, &source);
    if (tweak) tweak(builder);
    RhythmFiles files{dir.File(stem + ".ecg"), dir.File(stem + ".xml")};
    builder.WriteFile(files.record, zarn::Flavour::Newer90);
    morvelance::WriteRecordXml(files.xml, source, xmlOptions);
    return files;
}

// One document with the rhythm screen table loaded and items listed by the test.
class RhythmDocTest : public testsupport::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        m_doc.reset(new CRhythmViewDoc);
        // The patient strip's table comes with the first rest load.
        m_doc->GetCtrlPosFromXSL(LOAD_POS_REST);
        m_doc->GetCtrlPosFromXSL(LOAD_POS_RHYTHM);
    }

    _RHYTHMDATAITEM* AddItem(CRhythmViewDoc& doc, const RhythmFiles& files, int leads)
    {
        auto* item = testsupport::NewRecordItem<_RHYTHMDATAITEM>(files.record, files.xml);
        item->nLeadCount = leads;
        return doc.GetRhythmDataManager()->AppendItem(item);
    }
    // Lists, opens and selects the record; the result of OpenFile.
    int Open(CRhythmViewDoc& doc, const RhythmFiles& files, int leads)
    {
        AddItem(doc, files, leads);
        const int result = testsupport::OpenRecord(doc, files);
        doc.SetCurDataIndex(0);
        return result;
    }
    int Open(const RhythmFiles& files, int leads) { return Open(*m_doc, files, leads); }
    _RHYTHMDATAITEM* Item() { return m_doc->GetCurrentDataItem(); }

    std::unique_ptr<CRhythmViewDoc> m_doc;
};

}  // namespace rhythmtest
