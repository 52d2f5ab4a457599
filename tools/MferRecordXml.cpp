#include "tools/MferRecordXml.h"

#include <cmath>

namespace morvelance {

RecordXmlSource MferRecordXmlSource(MferKind kind, int leadCount, const EcgRecord* record)
{
    RecordXmlSource source;
    const bool full = kind == MferKind::Plain || kind == MferKind::Rhythm12 || kind == MferKind::Rhythm15;
    if (full && leadCount == 15) {
        source.kind = rec::RecordKind::Rest15;
        source.systemCode = 11;
    } else if (full && leadCount == 12) {
        source.kind = rec::RecordKind::Rest12;
        source.systemCode = 0;
    } else if (full) {
        source.kind = rec::RecordKind::Rhythm;
        source.systemCode = 10;
    } else {
        source.kind = rec::RecordKind::ExtraLeads;
        source.systemCode = 26;
    }
    source.patient.id = "MF-0042";
    source.patient.name = "山田 花子";
    source.seconds = 10.0;
    source.heartRate = 72;
    if (!record) return source;
    source.patient = record->patient;
    source.time = record->time;
    source.seconds = record->sampleRate > 0 ? double(record->SampleCount()) / record->sampleRate : 0.0;
    if (record->beats.size() > 1 && record->sampleRate > 0) {
        const double span = double(record->beats.back() - record->beats.front()) / record->sampleRate;
        if (span > 0) source.heartRate = std::round(60.0 * double(record->beats.size() - 1) / span);
    }
    return source;
}

void WriteMferRecordXml(const std::string& path, MferKind kind, int leadCount, const EcgRecord* record,
                        const RecordXmlOptions& options)
{
    WriteRecordXml(path, MferRecordXmlSource(kind, leadCount, record), options);
}

std::string MferDescriptionForLeads(int leadCount)
{
    if (leadCount == 1 || leadCount == 3 || leadCount == 12 || leadCount == 15)
        return MferDescription(MferKind::Plain);
    if (leadCount >= 1 && leadCount <= 6) return MferDescription(MferKind::Freeze);
    return std::string();
}

}  // namespace morvelance
