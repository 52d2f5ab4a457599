// The measurements of every record XML the record maker writes, as the
// enlarged beat's measurement table takes them: each lead of every sample,
// examination, serial series and PhysioNet conversion is read by the resting
// document's reader, loaded into the table and stored by the table's own
// check without a value being touched.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "dialogs/MeasureTableCells.h"
#include "documents/RestViewDoc.h"
#include "tests/support/DocumentTestSupport.h"
#include "tools/ExaminationSamples.h"
#include "tools/Mkrecord.h"
#include "tools/RecordXml.h"
#include "tools/SerialSeries.h"

namespace {

const int kAVR = 3;

// A record XML and what its record says of the record.
struct WrittenXml {
    std::string xml;
    unsigned systemCode = 0;
    bool older = false;
};

std::string Physionet(const std::string& rel) { return testsupport::SharedDataDir() + "/physionet/" + rel; }

bool Exists(const std::string& path) { return !testsupport::ReadFileBytes(path).empty(); }

class MakerMeasurementTableTest : public testsupport::DocumentTest {
protected:
    // The record XML the maker wrote beside a record: the record's stem, the
    // acquisition time's 14 digits and ".xml".
    static std::string XmlBeside(const std::string& record)
    {
        const std::string folder = record.substr(0, record.rfind('/'));
        const std::string name = record.substr(folder.size() + 1);
        const std::string stem = name.substr(0, name.rfind('.'));
        for (const std::string& entry : testsupport::FolderEntries(folder)) {
            if (entry.size() != stem.size() + 18 || entry.compare(0, stem.size(), stem) != 0 ||
                entry.compare(entry.size() - 4, 4, ".xml") != 0)
                continue;
            if (entry.find_first_not_of("0123456789", stem.size()) == entry.size() - 4) return folder + "/" + entry;
        }
        return std::string();
    }

    // A device record and the XML beside it.
    static WrittenXml Beside(const std::string& record)
    {
        WrittenXml written;
        morvelance::RecordXmlSource source;
        std::string error;
        EXPECT_TRUE(morvelance::ReadRecordXmlSource(record, &source, &error)) << record << ": " << error;
        written.xml = XmlBeside(record);
        written.systemCode = source.systemCode;
        written.older = source.olderReader;
        EXPECT_FALSE(written.xml.empty()) << "no record XML beside " << record;
        return written;
    }

    static int Make(const std::vector<std::string>& args)
    {
        std::ostringstream out, err;
        const int rc = morvelance::RunMkrecord(args, out, err);
        EXPECT_EQ(rc, 0) << err.str();
        return rc;
    }

    // Loads every lead of the XML's measurements into the table as the
    // enlarged beat does and has the table store them. Returns the leads that
    // hold measured values (not the "****" of a value the recorder lacks).
    int CheckEveryLead(const WrittenXml& written, _MEASURE_INFO* read = nullptr)
    {
        SCOPED_TRACE(written.xml);
        CRestViewDoc doc;
        _RESTDATAITEM* item =
            doc.GetRestDataManager().AppendItem(testsupport::NewRecordItem<_RESTDATAITEM>(std::string(), written.xml));
        item->uSystemCode = written.systemCode;
        item->b8000File = written.older ? 1 : 0;
        EXPECT_EQ(0, doc.GetDataInfoFromXMLFile(item));
        const _MEASURE_INFO& measure = item->stMeasure;
        if (read) *read = measure;
        int measured = 0;
        for (int lead = 0; lead < MEASURE_LEADS; ++lead) {
            CMeasureTableCells cells;
            cells.Load(measure, lead, item->nKind);
            // Each value as if typed anew: the table leaves a value it loaded
            // as stored, so only a typed one is checked and put in its form.
            for (int cell = 0; cell < CMeasureTableCells::kCellCount; ++cell) cells.At(cell).strShown.Empty();
            const int refused = cells.FindOutOfRange();
            EXPECT_EQ(-1, refused) << "lead " << lead << ": "
                                   << testsupport::Utf8(CMeasureTableCells::RangeMessage(refused)) << " ("
                                   << testsupport::Utf8(cells.At(refused < 0 ? 0 : refused).strText) << ")";
            _MEASURE_INFO stored = measure;
            EXPECT_TRUE(cells.Store(stored)) << "lead " << lead;
            for (int i = 0; i < MEASURE_ITEMS; ++i)
                EXPECT_EQ(stored.At(i, lead), measure.At(i, lead)) << "lead " << lead << ", item " << i;
            if (measure.At(0, lead).Find(L'*') < 0) ++measured;
        }
        return measured;
    }
};

TEST_F(MakerMeasurementTableTest, EveryLeadOfTheSamplesAndExaminationsIsStoredByTheTableUntouched)
{
    std::vector<std::string> records = morvelance::WriteSampleRecords(m_dir.File("samples"));
    const std::vector<std::string> more = morvelance::WriteExaminationSamples(m_dir.File("examinations"));
    records.insert(records.end(), more.begin(), more.end());
    ASSERT_GE(records.size(), 15u);
    int measured = 0;
    for (const std::string& record : records) measured += CheckEveryLead(Beside(record));
    // The resting samples of both flavours (12 and 15 leads), the pacemaker
    // record and the master-step record carry twelve measured leads each.
    EXPECT_GE(measured, 6 * 12);
}

TEST_F(MakerMeasurementTableTest, TheInvertedPOfAVRIsWrittenAsItsNegativeDeflection)
{
    const std::vector<std::string> records = morvelance::WriteSampleRecords(m_dir.File("samples"));
    _MEASURE_INFO measure;
    ASSERT_EQ(12, CheckEveryLead(Beside(records.front()), &measure));   // rest12_90
    EXPECT_EQ(measure.At(0, kAVR), CString(L"0"));     // "P amp.": no upward deflection
    EXPECT_EQ(measure.At(1, kAVR), CString(L"-90"));   // "P'amp."
}

TEST_F(MakerMeasurementTableTest, EveryLeadOfTheSerialSeriesIsStoredByTheTableUntouched)
{
    std::vector<std::string> xmls;
    const std::vector<std::string> files = morvelance::WriteSerialSeries(m_dir.File("series"), &xmls);
    ASSERT_EQ(files.size(), xmls.size());
    int measured = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        if (xmls[i].empty()) continue;   // the MFER files of the series keep no record XML
        WrittenXml written = Beside(files[i]);
        EXPECT_EQ(written.xml, xmls[i]);
        measured += CheckEveryLead(written);
    }
    EXPECT_GE(measured, 11 * 12);
}

TEST_F(MakerMeasurementTableTest, EveryLeadOfThePhysionetConversionsIsStoredByTheTableUntouched)
{
    const struct {
        const char* record;
        std::vector<std::string> options;
    } kRecords[] = {
        {"ptb/s0010_re", {"--kind", "rest15"}},
        {"ptbxl/00001_lr", {}},
        {"mitdb/100", {"--seconds", "60"}},
    };
    int converted = 0, measured = 0;
    for (const auto& r : kRecords) {
        const std::string source = Physionet(r.record);
        if (!Exists(source + ".hea")) {
            std::cout << "[ SKIPPED  ] PhysioNet record " << source << " is absent (shared data not present)\n";
            continue;
        }
        SCOPED_TRACE(r.record);
        const std::string stem = m_dir.File("conv" + std::to_string(converted++));
        std::vector<std::string> device = {"wfdb", "--record", source, "--out", stem + ".ecg", "--xml"};
        device.insert(device.end(), r.options.begin(), r.options.end());
        if (Make(device) != 0) continue;
        measured += CheckEveryLead(Beside(stem + ".ecg"));
        std::vector<std::string> mfer = {"wfdb", "--mfer", "--record", source, "--out", stem + ".mwf",
                                         "--xml-out", stem + "_mfer.xml"};
        if (r.options.size() == 2 && r.options[0] == "--seconds") mfer.insert(mfer.end(), r.options.begin(), r.options.end());
        if (Make(mfer) != 0) continue;
        WrittenXml written;
        written.xml = stem + "_mfer.xml";
        measured += CheckEveryLead(written);
    }
    if (converted == 0) GTEST_SKIP() << "no PhysioNet record in " << Physionet("");
    // The 15- and 12-lead records are resting records with measured leads.
    if (Exists(Physionet("ptb/s0010_re.hea"))) {
        EXPECT_GE(measured, 12);
    }
}

}  // namespace
