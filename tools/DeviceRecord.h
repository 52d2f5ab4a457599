// Turns ECG signals (synthetic or from WFDB) into the items of a device record.
#pragma once

#include <cstdint>
#include <string>

#include "tools/EcgRecord.h"
#include "tools/RecordBuilder.h"
#include "tools/RecordTags.h"

namespace morvelance {

struct DeviceRecordOptions {
    rec::RecordKind kind = rec::RecordKind::Rest12;
    int systemCode = -1;        // -1: the kind's default; otherwise 0..65535
    bool allowAnyCode = false;  // accept a code whose low byte belongs to another kind
    double startSeconds = 0;    // where in the signals the record starts
    double seconds = 0;         // 0: rest kinds 10 s, rhythm/RR the whole signal
    int averageSamples = rec::kAverageBeatSamples;  // length of the average beats (R at 250, or at 5/12 when shorter)
};

// The record's system code for these options; throws std::invalid_argument
// when the code does not belong to the kind (unless allowAnyCode).
uint16_t ResolveSystemCode(const DeviceRecordOptions& options);

// Builds every item of the record (see platform/zarn/README.md for the list).
// Signals are resampled to 500 Hz and scaled (1.25 uV/unit raw, 2.5 uV/unit
// averages). Rest kinds need I, II and V1..V6 (III, aVR, aVL, aVF are derived
// when absent); 15-lead takes the first three other leads as 12..14; extra-lead
// records take every other lead. Throws std::runtime_error / std::invalid_argument.
RecordBuilder MakeDeviceRecord(const EcgRecord& ecg, const DeviceRecordOptions& options);

// The kind's name ("rest12", ...) and back; false when unknown.
const char* KindName(rec::RecordKind kind);
bool ParseKind(const std::string& name, rec::RecordKind* kind);

// The LeadId stored in each record lead slot 0..11 of a rest record.
LeadId RestSlotLead(int recordLead);

}  // namespace morvelance
