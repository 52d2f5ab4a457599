#include "tools/DeviceRecord.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "tools/RestRecord.h"
#include "tools/SignalOps.h"

namespace morvelance {

using namespace rec;

namespace {

const LeadId kRestSlots[kRestLeadCount] = {LeadId::I,  LeadId::II, LeadId::V1,  LeadId::V2,
                                           LeadId::V3, LeadId::V4, LeadId::V5,  LeadId::V6,
                                           LeadId::III, LeadId::aVR, LeadId::aVL, LeadId::aVF};

struct OutLead {
    int recordLead;
    LeadId id;
    std::string label;
    std::vector<float> microvolts;  // 500 Hz
};

bool IsStandard(LeadId id) {
    for (LeadId s : kRestSlots)
        if (s == id) return true;
    return false;
}

void PutU16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k) b[at + static_cast<size_t>(k)] = static_cast<uint8_t>(v >> (8 * k));
}
void PutAscii(std::vector<uint8_t>& b, size_t at, size_t size, const std::string& s) {
    for (size_t i = 0; i + 1 < size && i < s.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        b[at + i] = (c >= 0x20 && c < 0x7F) ? c : '?';
    }
}

}  // namespace

const char* KindName(RecordKind kind) {
    switch (kind) {
        case RecordKind::Rest12: return "rest12";
        case RecordKind::Rest15: return "rest15";
        case RecordKind::Rhythm: return "rhythm";
        case RecordKind::Rr: return "rr";
        case RecordKind::ExtraLeads: return "extra";
    }
    return "?";
}

bool ParseKind(const std::string& name, RecordKind* kind) {
    for (RecordKind k : {RecordKind::Rest12, RecordKind::Rest15, RecordKind::Rhythm, RecordKind::Rr, RecordKind::ExtraLeads}) {
        if (name == KindName(k)) {
            *kind = k;
            return true;
        }
    }
    return false;
}

LeadId RestSlotLead(int recordLead) {
    return recordLead >= 0 && recordLead < kRestLeadCount ? kRestSlots[recordLead] : LeadId::Unknown;
}

uint16_t ResolveSystemCode(const DeviceRecordOptions& o) {
    if (o.systemCode < 0) return DefaultSystemCode(o.kind);
    if (o.systemCode > 0xFFFF) throw std::invalid_argument("system code must be 0..65535");
    const uint16_t code = static_cast<uint16_t>(o.systemCode);
    RecordKind k;
    if (!o.allowAnyCode) {
        if (!KindOfSystemCode(code, &k))
            throw std::invalid_argument("system code " + std::to_string(code) + " (low byte " + std::to_string(code & 0xFF) +
                                        ") is not a known record kind");
        if (k != o.kind)
            throw std::invalid_argument("system code " + std::to_string(code) + " is a " + KindName(k) + " code, not " +
                                        KindName(o.kind));
    }
    return code;
}

RecordBuilder MakeDeviceRecord(const EcgRecord& ecg, const DeviceRecordOptions& o) {
    const uint16_t code = ResolveSystemCode(o);
    if (ecg.leads.empty()) throw std::runtime_error("the signals have no leads");
    if (!(ecg.sampleRate > 0)) throw std::runtime_error("the signals have no sampling rate");
    const double fs = kRecordSampleRate;
    const bool rest = o.kind == RecordKind::Rest12 || o.kind == RecordKind::Rest15 || o.kind == RecordKind::ExtraLeads;

    // The time window, in 500 Hz samples.
    const size_t sourceCount = ecg.SampleCount();
    if (sourceCount == 0) throw std::runtime_error("the signals have no samples");
    // The same duration at 500 Hz (samples past the last source sample hold its value).
    const size_t total = std::max<size_t>(
        1, static_cast<size_t>(std::llround(static_cast<double>(sourceCount) * fs / ecg.sampleRate)));
    const double seconds = o.seconds > 0 ? o.seconds : (rest ? kRestSeconds : 0);
    const size_t start = static_cast<size_t>(std::llround(std::max(0.0, o.startSeconds) * fs));
    if (start >= total) throw std::runtime_error("the start lies past the end of the signals");
    size_t count = total - start;
    if (seconds > 0) count = std::min(count, static_cast<size_t>(std::llround(seconds * fs)));

    auto take = [&](const std::vector<float>& x) {
        std::vector<float> r = ResampleLinear(x, ecg.sampleRate, fs);
        r.resize(total, r.empty() ? 0.0f : r.back());
        return std::vector<float>(r.begin() + static_cast<long>(start), r.begin() + static_cast<long>(start + count));
    };

    // ---- lead layout ----
    std::vector<OutLead> leads;
    if (rest) {
        const EcgLead* lI = ecg.Find(LeadId::I);
        const EcgLead* lII = ecg.Find(LeadId::II);
        for (int r = 0; r < kRestLeadCount; ++r) {
            OutLead out{r, kRestSlots[r], LeadName(kRestSlots[r]), {}};
            if (const EcgLead* src = ecg.Find(kRestSlots[r])) {
                out.microvolts = take(src->microvolts);
            } else if (r >= 8 && lI && lII) {
                std::vector<float> a = take(lI->microvolts), b = take(lII->microvolts);
                out.microvolts.resize(count);
                for (size_t i = 0; i < count; ++i) {
                    switch (kRestSlots[r]) {
                        case LeadId::III: out.microvolts[i] = b[i] - a[i]; break;
                        case LeadId::aVR: out.microvolts[i] = -(a[i] + b[i]) / 2; break;
                        case LeadId::aVL: out.microvolts[i] = a[i] - b[i] / 2; break;
                        default: out.microvolts[i] = b[i] - a[i] / 2; break;
                    }
                }
            } else {
                throw std::runtime_error(std::string("a ") + KindName(o.kind) + " record needs lead " +
                                         LeadName(kRestSlots[r]) + ", which the signals lack");
            }
            leads.push_back(std::move(out));
        }
        std::vector<const EcgLead*> others;
        for (const auto& l : ecg.leads)
            if (!IsStandard(l.id)) others.push_back(&l);
        if (o.kind == RecordKind::Rest15) {
            if (others.size() < 3)
                throw std::runtime_error("a rest15 record needs three leads beyond the standard twelve; the signals have " +
                                         std::to_string(others.size()));
            others.resize(3);
        } else if (o.kind == RecordKind::ExtraLeads) {
            if (others.empty()) throw std::runtime_error("an extra-lead record needs leads beyond the standard twelve");
        } else {
            others.clear();
        }
        for (size_t k = 0; k < others.size(); ++k)
            leads.push_back(OutLead{kRestLeadCount + static_cast<int>(k), others[k]->id,
                                    others[k]->label.empty() ? LeadName(others[k]->id) : others[k]->label,
                                    take(others[k]->microvolts)});
    } else {
        for (size_t k = 0; k < ecg.leads.size(); ++k)
            leads.push_back(OutLead{static_cast<int>(k), ecg.leads[k].id,
                                    ecg.leads[k].label.empty() ? LeadName(ecg.leads[k].id) : ecg.leads[k].label,
                                    take(ecg.leads[k].microvolts)});
    }

    // ---- beats in the window (500 Hz, relative to the start) ----
    std::vector<int64_t> beats;
    if (!ecg.beats.empty()) {
        for (int64_t b : ecg.beats) {
            int64_t p = ConvertPosition(b, ecg.sampleRate, fs) - static_cast<int64_t>(start);
            if (p >= 0 && p < static_cast<int64_t>(count)) beats.push_back(p);
        }
    } else {
        std::vector<const std::vector<float>*> det;
        for (const auto& l : leads)
            if (l.recordLead < 8 || !rest) det.push_back(&l.microvolts);  // measured leads, not the derived ones
        beats = DetectBeats(det, fs);
    }

    RecordBuilder b;
    const PatientInfo& p = ecg.patient;
    b.SetInt8(kTagRecordKind, 0, static_cast<int8_t>(o.kind));
    b.SetUInt16(kTagSystemCode, 0, code);
    b.SetText(kTagPatientId, 0, p.id, TextEncoding::EucJp, kPatientIdSize);
    b.SetText(kTagPatientName, 0, p.name, TextEncoding::EucJp, kPatientNameSize);
    b.SetText(kTagPatientSex, 0, p.sex, TextEncoding::EucJp, kPatientSexSize);
    b.SetText(kTagPatientAge, 0, p.age, TextEncoding::EucJp, kPatientAgeSize);
    b.SetText(kTagDepartment, 0, p.department, TextEncoding::EucJp, kDepartmentSize, ' ');
    b.SetText(kTagComment, 0, p.comment, TextEncoding::EucJp, kCommentSize);
    b.SetDateTime(kTagAcquisitionTime, 0, ecg.time);
    for (const auto& l : leads) b.SetUInt16(kTagElectrodeCode, static_cast<uint32_t>(l.recordLead), ElectrodeCode(l.id));

    for (const auto& l : leads) {
        std::vector<int16_t> units = ToUnits(l.microvolts, kRawMicrovoltsPerUnit);
        if (rest && l.recordLead < kRestLeadCount) b.SetSamples(kTagRestLeadBase + static_cast<uint32_t>(l.recordLead), 0, units);
        else b.SetSamples(kTagLeadSamples, LeadSampleIndex(o.kind, l.recordLead), units);
    }

    if (rest) {
        const int avgLen = std::max(2, o.averageSamples);
        const int before = std::min(kAverageBeatRPosition, avgLen * 5 / 12), after = avgLen - before;
        std::vector<std::vector<float>> averages;
        int first = -1, last = -1;
        for (const auto& l : leads) {
            averages.push_back(AverageBeat(l.microvolts, beats, before, after, &first, &last));
            b.SetSamples(kTagAverageLeadBase + static_cast<uint32_t>(l.recordLead), 0,
                         ToUnits(averages.back(), kAverageMicrovoltsPerUnit));
        }
        if (first < 0) first = last = 0;
        b.SetInt16(kTagAverageFirst, 0, static_cast<int16_t>(first));
        b.SetInt16(kTagAverageLast, 0, static_cast<int16_t>(last));
        b.SetInt16(kTagAverageBaseline, 0, static_cast<int16_t>(AverageBaselineIndex(averages, before)));
        AddAverageFiducials(b);
    } else {
        const int32_t n = static_cast<int32_t>(leads.size());
        if (o.kind == RecordKind::Rr) b.SetInt16(kTagRrLeadCount, 0, static_cast<int16_t>(n));
        else if (IsRhythm38Code(code)) b.SetInt32(kTagRhythmLeadCount38, 0, n);
        else b.SetInt32(kTagRhythmLeadCount10, 0, n);
        b.SetInt32(kTagEvents, 0, static_cast<int32_t>(beats.size()));
        for (size_t k = 0; k < beats.size(); ++k)
            b.SetInt32(kTagEvents, static_cast<uint32_t>(k + 1), static_cast<int32_t>(beats[k]));
    }

    // ---- the reader's working blobs ----
    {
        std::vector<uint8_t> blob(kBlob1Size, 0);
        std::memcpy(blob.data(), "MVSUM1\0\0", 8);
        PutU16(blob, 8, code);
        blob[10] = static_cast<uint8_t>(static_cast<int8_t>(o.kind));
        blob[11] = static_cast<uint8_t>(leads.size());
        PutU16(blob, 12, static_cast<uint16_t>(kRecordSampleRate));
        PutU16(blob, 14, static_cast<uint16_t>(std::lround(std::min(65535.0, HeartRateOf(beats, fs)))));
        PutU32(blob, 16, static_cast<uint32_t>(count));
        PutU32(blob, 20, static_cast<uint32_t>(beats.size()));
        PutAscii(blob, 24, 32, ecg.source);
        for (const auto& l : leads)
            if (l.recordLead < 32) PutU16(blob, 56 + 2 * static_cast<size_t>(l.recordLead), ElectrodeCode(l.id));
        b.SetRaw(kTagBlob1, 0, std::move(blob));
    }
    if (IsFifteenLeadCode(code)) {
        std::vector<uint8_t> blob(kBlob2Size, 0);
        std::memcpy(blob.data(), "MVX15\0\0\0", 8);
        std::vector<const OutLead*> extra;
        for (const auto& l : leads)
            if (l.recordLead >= kRestLeadCount && extra.size() < 3) extra.push_back(&l);
        PutU16(blob, 8, static_cast<uint16_t>(extra.size()));
        for (size_t k = 0; k < extra.size(); ++k) {
            PutU16(blob, 10 + 2 * k, ElectrodeCode(extra[k]->id));
            PutAscii(blob, 16 + 8 * k, 8, extra[k]->label);
        }
        b.SetRaw(kTagBlob2, 0, std::move(blob));
    }
    return b;
}

}  // namespace morvelance
