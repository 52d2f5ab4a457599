// Extra-lead records and their record XMLs written by the record maker into
// a temporary folder, and an extra-lead document with the installation's
// work directory (readers, layout stylesheet) that opens them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "documents/ExtraViewDoc.h"
#include "tests/support/DocumentTestSupport.h"
#include "tools/ExtraRecord.h"

namespace extratest {

using morvelance::ExtraLayout;
using morvelance::ExtraLeadRecord;
using morvelance::ExtraRecordOptions;
using morvelance::ExtraXmlSettings;
using testsupport::ReadXmlValue;
using testsupport::RhythmWave;
using testsupport::StoredText;
using testsupport::Wide;

struct RecordFiles : testsupport::RecordPaths {
    ExtraLeadRecord made;
};

class ExtraDocTest : public testsupport::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        m_doc.GetCtrlPosFromXSL(LOAD_POS_EXTRA);
    }

    // Writes a record and its record XML; the tweaks change the items before
    // the record is written and the XML file after it is.
    RecordFiles Write(const std::string& stem, const ExtraRecordOptions& options,
                      const ExtraXmlSettings& settings = ExtraXmlSettings(),
                      const std::function<void(morvelance::RecordBuilder&)>& tweakRecord = nullptr,
                      const std::function<void(CECGXMLParser&)>& tweakXml = nullptr)
    {
        const double seconds = std::max(options.seconds, options.rhythmSeconds) + 1.0;
        if (m_signalSeconds < seconds) {
            m_signals = morvelance::SynthesizeExtraSignals(seconds);
            m_signalSeconds = seconds;
        }
        RecordFiles files;
        files.made = morvelance::MakeExtraLeadRecord(m_signals, options);
        if (tweakRecord) tweakRecord(files.made.items);
        files.record = m_dir.File(stem + ".ecg");
        files.xml = m_dir.File(stem + ".xml");
        files.made.items.WriteFile(files.record, zarn::Flavour::Newer90);
        morvelance::WriteXmlFile(files.xml, *morvelance::MakeExtraRecordXml(files.made, options, {}, settings),
                                 morvelance::XmlEncoding::Utf8);
        if (tweakXml) {
            CECGXMLParser xml(Wide(files.xml), 0, CString());
            tweakXml(xml);
            xml.SaveToXMLFile();
        }
        return files;
    }

    // Adds the item the host adds before opening, with its lead-count type.
    _EXTRADATAITEM* Add(CExtraViewDoc& doc, const RecordFiles& files, int leadType)
    {
        _EXTRADATAITEM* item =
            doc.GetExtraDataManager()->AppendItem(testsupport::NewRecordItem<_EXTRADATAITEM>(files.record, files.xml));
        item->nLeadType = leadType;
        return item;
    }

    static int Open(CExtraViewDoc& doc, const RecordFiles& files) { return testsupport::OpenRecord(doc, files); }

    // Adds, opens and makes current; the item, or null when opening failed.
    _EXTRADATAITEM* Load(CExtraViewDoc& doc, const RecordFiles& files, int leadType)
    {
        _EXTRADATAITEM* item = Add(doc, files, leadType);
        if (Open(doc, files) != 0) return nullptr;
        doc.SetCurDataIndex(item->nID);
        return item;
    }

    CExtraViewDoc m_doc;
    morvelance::EcgRecord m_signals;
    double m_signalSeconds = 0.0;
};

}  // namespace extratest
