#include "tools/RhythmRecord.h"

#include <stdexcept>

#include "tools/DeviceRecord.h"
#include "tools/EcgModel.h"
#include "tools/SampleRecords.h"

namespace morvelance {

namespace {

uint16_t SystemCodeOf(const RecordBuilder& builder)
{
    uint16_t code = 0;
    const std::vector<uint8_t>* item = builder.Find(rec::kTagSystemCode, 0);
    if (!item || !ItemUInt16(*item, &code)) throw std::invalid_argument("the record has no system code");
    return code;
}

uint32_t EventTag(uint16_t code)
{
    return rec::IsRhythm38Code(code) ? rec::kTagEvents38 : rec::kTagEvents;
}

// Moves every index of one tag to another, in index order.
void MoveItems(RecordBuilder& builder, uint32_t from, uint32_t to)
{
    for (uint32_t index = 0;; ++index) {
        const std::vector<uint8_t>* item = builder.Find(from, index);
        if (!item) break;
        std::vector<uint8_t> bytes = *item;
        builder.Remove(from, index);
        builder.SetRaw(to, index, std::move(bytes));
    }
}

}  // namespace

RecordBuilder MakeRhythmRecord(const RhythmRecordShape& shape, RecordXmlSource* source)
{
    rec::RecordKind kind = rec::RecordKind::Rest12;
    if (!rec::KindOfSystemCode(shape.systemCode, &kind) || kind != rec::RecordKind::Rhythm)
        throw std::invalid_argument("not a rhythm system code");
    SynthOptions synth;
    synth.seconds = shape.seconds;
    synth.heartRate = shape.heartRate;
    synth.noise = shape.noise;
    synth.seed = shape.seed;
    EcgRecord ecg;
    if (shape.leads == 12 || shape.leads == 15) {
        synth.leads = shape.leads == 12 ? StandardLeads() : FifteenLeads();
        ecg = Synthesize(synth);
    } else {
        ecg = SynthFor(rec::RecordKind::Rhythm, synth, shape.leads);
    }
    ecg.patient.id = "R-0100";
    ecg.patient.name = "鈴木 一郎";
    ecg.patient.department = "ABC";
    DeviceRecordOptions options;
    options.kind = rec::RecordKind::Rhythm;
    options.systemCode = shape.systemCode;
    options.seconds = shape.seconds;
    RecordBuilder builder = MakeDeviceRecord(ecg, options);
    if (source) *source = SourceFromRecordItems(builder.Items(), false);
    ApplyRhythmFamily(builder);
    SetRhythmStartTime(builder, shape.startMinute, shape.startSecond);
    return builder;
}

void ApplyRhythmFamily(RecordBuilder& builder)
{
    if (!rec::IsRhythm38Code(SystemCodeOf(builder))) return;
    MoveItems(builder, rec::kTagLeadSamples, rec::kTagRhythmSamples38);
    MoveItems(builder, rec::kTagEvents, rec::kTagEvents38);
}

void SetRhythmStartTime(RecordBuilder& builder, int minute, int second)
{
    const uint32_t tag = rec::IsRhythm38Code(SystemCodeOf(builder)) ? rec::kTagRhythmStart38 : rec::kTagRhythmStart10;
    if (minute < 0) {
        builder.Remove(tag, 0);
        return;
    }
    builder.SetRaw(tag, 0, {static_cast<uint8_t>(minute), static_cast<uint8_t>(second)});
}

void SetRhythmEvents(RecordBuilder& builder, const std::vector<int32_t>& positions, int32_t statedCount)
{
    const uint32_t tag = EventTag(SystemCodeOf(builder));
    for (uint32_t index = 0; builder.Remove(tag, index); ++index) {
    }
    builder.SetInt32(tag, 0, statedCount < 0 ? static_cast<int32_t>(positions.size()) : statedCount);
    for (size_t k = 0; k < positions.size(); ++k) builder.SetInt32(tag, static_cast<uint32_t>(k + 1), positions[k]);
}

}  // namespace morvelance
