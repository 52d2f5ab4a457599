// What the RR document tests share: RR records and their record XMLs written
// by the record maker into a temporary folder, items added to the document's
// list as the host adds them, and the shipped layout stylesheet loaded.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "documents/RRViewDoc.h"
#include "tests/support/DocumentTestSupport.h"
#include "tools/EcgModel.h"
#include "tools/RRRecord.h"

namespace rrtest {

using testsupport::ReadXmlValue;
using testsupport::RhythmWave;
using testsupport::StoredText;
using testsupport::Wide;

// Gives the tests the document's working state.
class CTestRRDoc : public CRRViewDoc {
public:
    using CTavrionDoc::GetCurrentLeadCount;
    UINT WorkingSenseMode() const { return m_uSenseMode; }
    int DocFilter() const { return m_nFilter; }
};

using RRFiles = testsupport::RecordPaths;

struct RRRecordPlan {
    double seconds = 20.0;
    int leads = 1;
    double heartRate = 75.0;
    std::function<void(morvelance::RecordBuilder&)> tweak;   // runs before the files are written
    morvelance::RecordXmlOptions xml;
};

class RRDocTest : public testsupport::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        m_doc.GetCtrlPosFromXSL(LOAD_POS_RR);
    }

    RRFiles Write(const std::string& name, const RRRecordPlan& plan = RRRecordPlan())
    {
        morvelance::SynthOptions synth;
        const morvelance::LeadId leads[] = {morvelance::LeadId::II, morvelance::LeadId::V5, morvelance::LeadId::V1};
        synth.leads.assign(leads, leads + plan.leads);
        synth.seconds = plan.seconds;
        synth.heartRate = plan.heartRate;
        synth.irregularity = 0.1;
        morvelance::EcgRecord ecg = morvelance::Synthesize(synth);
        ecg.patient.id = "RR-0042";
        ecg.patient.name = "田中 美咲";
        morvelance::RecordBuilder record = morvelance::MakeRRDeviceRecord(ecg, morvelance::DeviceRecordOptions());
        if (plan.tweak) plan.tweak(record);
        RRFiles files;
        files.record = m_dir.File(name + ".ecg");
        files.xml = morvelance::WriteRRRecordFiles(files.record, record, plan.xml, m_dir.File(name + ".xml"));
        return files;
    }

    // Lists the record as the host does and makes it current.
    _RRDATAITEM* Add(const RRFiles& files, CTestRRDoc& doc)
    {
        auto* item = testsupport::NewRecordItem<_RRDATAITEM>(files.record, files.xml);
        doc.GetRRDataManager()->AppendItem(item);
        doc.SetCurDataIndex(item->nID);
        return item;
    }
    _RRDATAITEM* Add(const RRFiles& files) { return Add(files, m_doc); }

    static int Open(CRRViewDoc& doc, const RRFiles& files) { return testsupport::OpenRecord(doc, files); }
    int Open(const RRFiles& files) { return Open(m_doc, files); }

    // A fresh document that opens the files again, as the next session would.
    _RRDATAITEM* Reopen(CTestRRDoc& doc, const RRFiles& files)
    {
        _RRDATAITEM* item = Add(files, doc);
        return Open(doc, files) == 0 ? item : nullptr;
    }

    // Replaces the record XML with a document of the given body under Tavrion.
    void WriteXml(const RRFiles& files, const std::string& tavrion, const std::string& assist = std::string())
    {
        const std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Rawdata><Tavrion>" + tavrion +
                                 "</Tavrion><Assist_info><Reference><Setting>" + assist +
                                 "</Setting></Reference></Assist_info></Rawdata>";
        m_dir.Write(files.xml.substr(m_dir.Path().size() + 1), text);
    }

    CTestRRDoc m_doc;
};

}  // namespace rrtest
