#include "tools/RestRecord.h"

#include <cmath>

#include "tools/DeviceRecord.h"
#include "tools/EcgModel.h"

namespace morvelance {

void AddRestSpikes(RecordBuilder& builder, const std::vector<RestSpike>& spikes)
{
    builder.SetInt16(kTagSpikeCount, 0, static_cast<int16_t>(spikes.size()));
    for (size_t i = 0; i < spikes.size(); ++i) {
        builder.SetUInt16(kTagSpikePosition, static_cast<uint32_t>(i), spikes[i].position);
        builder.SetRaw(kTagSpikeLead, static_cast<uint32_t>(i), {spikes[i].leadCode});
    }
}

void AddRestSpikeExtremes(RecordBuilder& builder, const std::vector<int16_t>& maxima,
                          const std::vector<int16_t>& minima, bool withLeadMap)
{
    const size_t count = maxima.size() < minima.size() ? maxima.size() : minima.size();
    for (size_t lead = 0; lead < count; ++lead) {
        const uint16_t hi = static_cast<uint16_t>(maxima[lead]);
        const uint16_t lo = static_cast<uint16_t>(minima[lead]);
        builder.SetRaw(kTagSpikeExtremes, static_cast<uint32_t>(lead),
                       {static_cast<uint8_t>(hi & 0xFF), static_cast<uint8_t>(hi >> 8), static_cast<uint8_t>(lo & 0xFF),
                        static_cast<uint8_t>(lo >> 8)});
    }
    if (withLeadMap) builder.SetInt16(kTagSpikeLeadMap, 0, 1);
}

RecordBuilder MakeRestRecord(const RestRecordShape& shape)
{
    SynthOptions synth;
    synth.leads = shape.kind == rec::RecordKind::Rest15 ? FifteenLeads() : StandardLeads();
    synth.seconds = shape.seconds;
    synth.heartRate = shape.heartRate;
    synth.pacemaker = shape.pacemaker;
    EcgRecord ecg = Synthesize(synth);
    ecg.patient.id = "R-0001";
    ecg.patient.name = "山田 太郎";
    ecg.patient.sex = "M";
    ecg.patient.age = "63";
    ecg.patient.department = "CARD";
    DeviceRecordOptions options;
    options.kind = shape.kind;
    options.systemCode = shape.systemCode;
    // Low byte 8: a resting record whose lead III the recorder stored inverted.
    options.allowAnyCode = shape.systemCode >= 0 && (shape.systemCode & 0xFF) == 8;
    RecordBuilder builder = MakeDeviceRecord(ecg, options);
    if (shape.pacemaker && shape.olderReader) {
        std::vector<RestSpike> spikes;
        for (double t : SynthBeatTimes(synth)) {
            const long sample = std::lround(t * rec::kRecordSampleRate) - 20;
            if (sample >= 0 && sample < 0xFFFF) spikes.push_back({static_cast<uint16_t>(sample), 2});
        }
        AddRestSpikes(builder, spikes);
        std::vector<int16_t> maxima, minima;
        for (int lead = 0; lead < rec::kRestLeadCount; ++lead) {
            maxima.push_back(static_cast<int16_t>(1000 + lead));
            minima.push_back(static_cast<int16_t>(-1000 - lead));
        }
        AddRestSpikeExtremes(builder, maxima, minima, true);
    }
    return builder;
}

RestRecordFiles WriteRestRecord(const std::string& dir, const std::string& name, const RestRecordShape& shape)
{
    return WriteRestRecord(dir, name, shape, MakeRestRecord(shape));
}

RestRecordFiles WriteRestRecord(const std::string& dir, const std::string& name, const RestRecordShape& shape,
                                const RecordBuilder& items)
{
    RestRecordFiles files;
    files.record = dir + "/" + name;
    items.WriteFile(files.record, shape.olderReader ? zarn::Flavour::Older80 : zarn::Flavour::Newer90);
    const RecordXmlSource source = SourceFromRecordItems(items.Items(), shape.olderReader);
    files.xml = RecordXmlPathFor(files.record, source.time);
    WriteRecordXml(files.xml, source, shape.xml);
    return files;
}

}  // namespace morvelance
