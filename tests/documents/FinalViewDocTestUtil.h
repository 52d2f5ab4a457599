// Master-step records made in-process by the record maker and opened through
// the master-step document, as the host opens them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "documents/FinalViewDoc.h"
#include "tests/support/DocumentTestSupport.h"
#include "tools/EcgModel.h"
#include "tools/MasterStepRecord.h"

namespace finaltest {

using testsupport::ReadXmlValue;
using testsupport::RhythmWave;
using testsupport::StoredText;
using testsupport::Wide;
using testsupport::WriteXmlValue;

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

class FinalDocTest : public testsupport::DocumentTest {
protected:
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
        auto* item = testsupport::NewRecordItem<_FINALDATAITEM>(path, xml);
        doc.GetFinalDataManager().AppendItem(item);
        doc.SetCurDataIndex(item->nID);
        return testsupport::OpenRecord(doc, {path, xml});
    }
};

}  // namespace finaltest
