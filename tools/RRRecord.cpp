#include "tools/RRRecord.h"

#include <cstdio>
#include <exception>
#include <vector>

#include "tools/Wfdb.h"

namespace morvelance {

namespace {
// int16 1: the record carries additions (the readers take them from the record XML only then).
constexpr uint32_t kTagAdditionsFlag = 4108;
}  // namespace

int AddRRStripItems(RecordBuilder& builder)
{
    std::vector<std::pair<uint32_t, std::vector<uint8_t>>> strips;
    for (const auto& item : builder.Items().Items()) {
        if (item.first.first == rec::kTagLeadSamples) strips.emplace_back(item.first.second, item.second);
    }
    for (auto& strip : strips) builder.SetRaw(rec::kTagRrStripSamples, strip.first, std::move(strip.second));
    return static_cast<int>(strips.size());
}

RecordBuilder MakeRRDeviceRecord(const EcgRecord& ecg, const DeviceRecordOptions& options)
{
    DeviceRecordOptions rr = options;
    rr.kind = rec::RecordKind::Rr;
    RecordBuilder builder = MakeDeviceRecord(ecg, rr);
    AddRRStripItems(builder);
    builder.SetInt16(kTagAdditionsFlag, 0, 1);
    return builder;
}

std::string WriteRRRecordFiles(const std::string& recordPath, const RecordBuilder& record,
                               const RecordXmlOptions& xmlOptions, const std::string& xmlPath)
{
    record.WriteFile(recordPath, zarn::Flavour::Newer90);
    const RecordXmlSource source = SourceFromRecordItems(record.Items(), false);
    const std::string path = xmlPath.empty() ? RecordXmlPathFor(recordPath, source.time) : xmlPath;
    WriteRecordXml(path, source, xmlOptions);
    return path;
}

bool MakeRRRecordFromWfdb(const std::string& recordPath, double seconds, int leads, RecordBuilder* out,
                          std::string* error)
{
    WfdbRecord wfdb;
    if (!ReadWfdbRecord(recordPath, &wfdb, error)) return false;
    std::vector<WfdbAnnotation> annotations;
    if (!ReadWfdbAnnotations(recordPath + ".atr", &annotations, error)) return false;
    EcgRecord ecg = WfdbToEcg(wfdb, wfdb.header.recordName);
    ecg.beats = BeatPositions(annotations);
    if (leads > 0 && ecg.leads.size() > static_cast<size_t>(leads)) ecg.leads.resize(static_cast<size_t>(leads));
    ecg.patient.id = wfdb.header.recordName;
    ecg.patient.name = "PhysioNet " + wfdb.header.recordName;
    DeviceRecordOptions options;
    options.seconds = seconds;
    try {
        *out = MakeRRDeviceRecord(ecg, options);
    } catch (const std::exception& e) {
        if (error) *error = e.what();
        return false;
    }
    return true;
}

}  // namespace morvelance
