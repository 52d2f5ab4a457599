// Rhythm records written by the record maker into a temporary folder and
// opened through the rhythm document, as the host does: it lists the item,
// opens it and makes it current.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "core/ECGXMLParser.h"
#include "core/PositionCtrl.h"
#include "documents/RhythmViewDoc.h"
#include "tests/support/TestSupport.h"
#include "tools/RecordXml.h"
#include "tools/RhythmRecord.h"

namespace rhythmtest {

struct RhythmFiles {
    std::string record;
    std::string xml;
};

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
class RhythmDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDefCtrlPos();
        m_doc.reset(new CRhythmViewDoc);
        // The patient strip's table comes with the first rest load.
        m_doc->GetCtrlPosFromXSL(LOAD_POS_REST);
        m_doc->GetCtrlPosFromXSL(LOAD_POS_RHYTHM);
    }
    void TearDown() override { ResetDefCtrlPos(); }

    _RHYTHMDATAITEM* AddItem(CRhythmViewDoc& doc, const RhythmFiles& files, int leads)
    {
        auto* item = new _RHYTHMDATAITEM;
        item->strFilePath = testsupport::Wide(files.record);
        item->strXMLPath = testsupport::Wide(files.xml);
        item->nLeadCount = leads;
        return doc.GetRhythmDataManager()->AppendItem(item);
    }
    // Lists, opens and selects the record; the result of OpenFile.
    int Open(CRhythmViewDoc& doc, const RhythmFiles& files, int leads)
    {
        AddItem(doc, files, leads);
        CString xml = testsupport::Wide(files.xml);
        CString record = testsupport::Wide(files.record);
        const int result = doc.OpenFile(xml, record);
        doc.SetCurDataIndex(0);
        return result;
    }
    int Open(const RhythmFiles& files, int leads) { return Open(*m_doc, files, leads); }
    _RHYTHMDATAITEM* Item() { return m_doc->GetCurrentDataItem(); }

    // One value of the record XML on disk.
    static CString ReadXml(const std::string& path, const CString& xpath, int type = 4,
                           const CString& attrib = CString())
    {
        CECGXMLParser xml(testsupport::Wide(path), 0, CString());
        CString value;
        xml.GetDataFromXMLDOM(value, xpath, type, attrib);
        return value;
    }
    static void WriteXml(const std::string& path, const CString& xpath, const CString& value, int type = 4,
                         const CString& attrib = CString())
    {
        CECGXMLParser xml(testsupport::Wide(path), 0, CString());
        xml.SetDataToXMLDOM(value, xpath, type, attrib);
        xml.SaveToXMLFile();
    }

    testsupport::TempDir m_dir;
    std::unique_ptr<CRhythmViewDoc> m_doc;
};

}  // namespace rhythmtest
