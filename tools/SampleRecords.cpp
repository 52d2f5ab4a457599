#include "tools/SampleRecords.h"

#include <sstream>
#include <stdexcept>

#include "tools/ExtraRecord.h"
#include "tools/RRRecord.h"

namespace morvelance {

namespace {

struct Sample {
    rec::RecordKind kind;
    double hr;
    double seconds;
    double irregular;
    int leads;
    uint64_t seed;
    const char* id;
    const char* name;
    const char* sex;
    const char* age;
    const char* comment;
    const char* stem;
};

const Sample kSamples[] = {
    {rec::RecordKind::Rest12, 70, 10, 0, 2, 11, "MV-1001", "山田 太郎", "M", "65", "洞調律", "rest12"},
    {rec::RecordKind::Rest15, 62, 10, 0, 2, 12, "MV-1002", "佐藤 花子", "F", "72", "洞徐脈", "rest15"},
    {rec::RecordKind::Rhythm, 85, 60, 0.08, 3, 13, "MV-1003", "鈴木 一郎", "M", "58", "リズム記録", "rhythm"},
    {rec::RecordKind::Rr, 75, 60, 0.05, 1, 14, "MV-1004", "田中 美咲", "F", "44", "RR間隔", "rr"},
    {rec::RecordKind::ExtraLeads, 68, 10, 0, 2, 15, "MV-1005", "高橋 健", "M", "80", "追加誘導", "extra"},
};

const Sample& SampleOf(rec::RecordKind kind) {
    for (const Sample& s : kSamples)
        if (s.kind == kind) return s;
    throw std::invalid_argument("no sample record of this kind");
}

std::vector<LeadId> RhythmLeads(int n) {
    std::vector<LeadId> all = {LeadId::II, LeadId::V5, LeadId::V1};
    if (n < 1 || n > 3) throw std::invalid_argument("--leads must be 1..3");
    all.resize(static_cast<size_t>(n));
    return all;
}

}  // namespace

EcgRecord SynthFor(rec::RecordKind kind, const SynthOptions& base, int rhythmLeads) {
    SynthOptions s = base;
    switch (kind) {
        case rec::RecordKind::Rest12: s.leads = StandardLeads(); break;
        case rec::RecordKind::Rest15: s.leads = FifteenLeads(); break;
        case rec::RecordKind::ExtraLeads: s.leads = ExtraLeadSet(); break;
        case rec::RecordKind::Rhythm:
        case rec::RecordKind::Rr: s.leads = RhythmLeads(rhythmLeads); break;
    }
    EcgRecord ecg = Synthesize(s);
    std::ostringstream src;
    src << "synthetic " << KindName(kind) << " " << s.heartRate << "bpm";
    ecg.source = src.str();
    return ecg;
}

RecordBuilder MakeSampleRecord(rec::RecordKind kind) {
    const Sample& sm = SampleOf(kind);
    SynthOptions s;
    s.heartRate = sm.hr;
    s.seconds = sm.seconds;
    s.irregularity = sm.irregular;
    s.noise = true;
    s.seed = sm.seed;
    EcgRecord ecg = SynthFor(sm.kind, s, sm.leads);
    ecg.patient.id = sm.id;
    ecg.patient.name = sm.name;
    ecg.patient.sex = sm.sex;
    ecg.patient.age = sm.age;
    ecg.patient.department = "ABC";
    ecg.patient.comment = sm.comment;
    DeviceRecordOptions o;
    o.kind = sm.kind;
    o.seconds = sm.seconds;
    if (sm.kind == rec::RecordKind::Rr) return MakeRRDeviceRecord(ecg, o);
    if (sm.kind == rec::RecordKind::ExtraLeads) return MakeExtraDeviceRecord(ecg, o).items;
    return MakeDeviceRecord(ecg, o);
}

const char* SampleStem(rec::RecordKind kind) { return SampleOf(kind).stem; }

bool SampleHasOlderFlavour(rec::RecordKind kind) { return kind != rec::RecordKind::ExtraLeads; }

}  // namespace morvelance
