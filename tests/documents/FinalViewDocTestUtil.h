// Master-step records made in-process by the record maker and opened through
// the master-step document, as the host opens them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "documents/FinalViewDoc.h"
#include "tests/support/TestSupport.h"
#include "tools/EcgModel.h"
#include "tools/MasterStepRecord.h"

namespace finaltest {

using testsupport::TempDir;
using testsupport::Wide;

inline morvelance::EcgRecord Synth(double heartRate, uint64_t seed)
{
    morvelance::SynthOptions synth;
    synth.leads = morvelance::StandardLeads();
    synth.seconds = 10.0;
    synth.heartRate = heartRate;
    synth.seed = seed;
    morvelance::EcgRecord ecg = morvelance::Synthesize(synth);
    ecg.patient.id = "MS-0243";
    ecg.patient.name = "鈴木 一郎";
    ecg.patient.department = "CAR";
    return ecg;
}

// A synthetic master-step record: rest at 65 bpm, three post-load recordings
// at 110, 95 and 80 bpm.
inline morvelance::MasterStepRecord SynthRecord(const morvelance::MasterStepOptions& options = {})
{
    return morvelance::MakeMasterStepRecord(Synth(65, 1), {Synth(110, 2), Synth(95, 3), Synth(80, 4)}, options);
}

// Points the work directory at the build's (layout stylesheet, masters) and
// starts every test with unloaded layout tables.
class FinalDocTest : public ::testing::Test {
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

    // Writes the record and its XML; returns the record path, the XML path in *xml.
    std::string Write(const morvelance::MasterStepRecord& record, std::string* xml, const std::string& stem = "ms",
                      const morvelance::RecordXmlOptions& xmlOptions = {})
    {
        const std::string path = m_dir.File(stem + ".ecg");
        record.items.WriteFile(path, zarn::Flavour::Newer90);
        *xml = m_dir.File(stem + ".xml");
        morvelance::WriteMasterStepXml(*xml, record, xmlOptions);
        return path;
    }

    // Adds an item for the file as the host does and opens it; the result of OpenFile.
    static int Open(CFinalViewDoc& doc, const std::string& path, const std::string& xml)
    {
        auto* item = new _FINALDATAITEM;
        item->strFilePath = Wide(path);
        item->strXMLPath = Wide(xml);
        doc.GetFinalDataManager().AppendItem(item);
        doc.SetCurDataIndex(item->nID);
        CString xmlPath = Wide(xml);
        CString filePath = Wide(path);
        return doc.OpenFile(xmlPath, filePath);
    }

    static CString ReadXml(const std::string& xml, const wchar_t* xpath, const wchar_t* attrib = nullptr)
    {
        CECGXMLParser parser(Wide(xml), 0, CString());
        CString value;
        if (attrib)
            parser.GetDataFromXMLDOM(value, xpath, 2, attrib);
        else
            parser.GetDataFromXMLDOM(value, xpath, 4, CString());
        return value;
    }

    static void WriteXml(const std::string& xml, const wchar_t* xpath, const CString& value,
                         const wchar_t* attrib = nullptr)
    {
        CECGXMLParser parser(Wide(xml), 0, CString());
        if (attrib)
            parser.SetDataToXMLDOM(value, xpath, 2, attrib);
        else
            parser.SetDataToXMLDOM(value, xpath, 4, CString());
        parser.SaveToXMLFile();
    }

    TempDir m_dir;
    std::vector<wchar_t> m_workDir;
    wchar_t* m_savedWorkDir = nullptr;
};

}  // namespace finaltest
