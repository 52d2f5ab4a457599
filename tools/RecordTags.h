// The data items of a device record: tag numbers, system codes, units and
// field sizes, as the record maker writes them and the readers hand them out.
// The full list with the byte layout of each item is in platform/zarn/README.md.
#pragma once

#include <cstdint>

namespace morvelance {
namespace rec {

// ---- tags ---------------------------------------------------------------------
// Values are little-endian. "text" items are EUC-JP, NUL-padded to their field
// size (see the k*Size constants below) unless noted.

constexpr uint32_t kTagPatientId = 3001;        // text, 20 bytes
constexpr uint32_t kTagPatientName = 3002;      // text, 40 bytes (Japanese allowed)
constexpr uint32_t kTagPatientSex = 3003;       // text, 4 bytes: "M", "F" or ""
constexpr uint32_t kTagPatientAge = 3004;       // text, 4 bytes: decimal years, e.g. "81"
constexpr uint32_t kTagAcquisitionTime = 3009;  // 7 bytes: year u16, month, day, hour, minute, second (i8 each)
constexpr uint32_t kTagDepartment = 3025;       // text, 12 bytes, SPACE-padded (no NUL), e.g. "ABC         "
constexpr uint32_t kTagComment = 4081;          // text, 64 bytes: free comment / interpretation
constexpr uint32_t kTagSystemCode = 3346;       // u16: the record's system code (kind in the low byte)
constexpr uint32_t kTagRecordKind = 3381;       // i8: RecordKind below

constexpr uint32_t kTagRestLeadBase = 3700;     // 3700 + record lead (0..11), index 0: 10 s of int16 samples
constexpr uint32_t kTagAverageFirst = 3723;     // index 0: i16, first sample of the average-beat window
constexpr uint32_t kTagAverageLast = 3724;      // index 0: i16, last sample of the average-beat window
constexpr uint32_t kTagAverageBaseline = 3727;  // index 0: i16, base-line sample index of the average beats
constexpr uint32_t kTagAverageLeadBase = 3730;  // 3730 + record lead, index 0: average beat, int16, 2.5 uV/unit
constexpr uint32_t kTagRrLeadCount = 3815;      // index 0: i16, lead count of an RR record
constexpr uint32_t kTagBlob1 = 3836;            // index 0: the reader's first working blob (256 bytes)
constexpr uint32_t kTagRhythmLeadCount10 = 3847;  // index 0: i32, lead count (rhythm codes 10, 245, 246)
constexpr uint32_t kTagLeadSamples = 3849;      // index = record lead (15-lead records: record lead - 12): int16 samples
constexpr uint32_t kTagBlob2 = 3855;            // index 0: second blob (128 bytes), 15-lead codes only
constexpr uint32_t kTagRhythmLeadCount38 = 3858;  // index 0: i32, lead count (rhythm codes 38, 218, 217)
constexpr uint32_t kTagElectrodeCode = 4097;    // index = record lead: u16 electrode code (ElectrodeCode)
constexpr uint32_t kTagAdditionsPresent = 4108;  // index 0: i16 1 when the record carries additions (the
                                                 // readers take them from the record XML only then)
constexpr uint32_t kTagEvents = 5004;           // index 0: i32 event count; index 1..n: i32 sample position

// Tags the readers keep for themselves (never stored in a record).
constexpr uint32_t kTagProbe = 5000;
constexpr uint32_t kTagCommit = 5001;
constexpr uint32_t kTagBuildText = 5003;

// ---- field sizes of the text items -------------------------------------------
constexpr uint32_t kPatientIdSize = 20;
constexpr uint32_t kPatientNameSize = 40;
constexpr uint32_t kPatientSexSize = 4;
constexpr uint32_t kPatientAgeSize = 4;
constexpr uint32_t kDepartmentSize = 12;
constexpr uint32_t kCommentSize = 64;
constexpr uint32_t kAcquisitionTimeSize = 7;
constexpr uint32_t kBlob1Size = 256;
constexpr uint32_t kBlob2Size = 128;

// ---- sampling and units -----------------------------------------------------
constexpr int kRecordSampleRate = 500;        // Hz, every sample item
constexpr double kRawMicrovoltsPerUnit = 1.25;     // 3700+lead, 3849: 1 mV = 800 units
constexpr double kAverageMicrovoltsPerUnit = 2.5;  // 3730+lead: 1 mV = 400 units
constexpr int kRestSeconds = 10;              // 3700+lead hold 10 s = 5000 samples
constexpr int kAverageBeatSamples = 600;      // 1.2 s at 500 Hz
constexpr int kAverageBeatRPosition = 250;    // the R peak sits at sample 250 of the average beat

// ---- record leads ---------------------------------------------------------------
// Record lead numbers of a rest record (3700 + lead, 3730 + lead, 3849 index):
//   0 I, 1 II, 2 V1, 3 V2, 4 V3, 5 V4, 6 V5, 7 V6, 8 III, 9 aVR, 10 aVL, 11 aVF,
//   12.. the extra leads (15-lead: 12, 13, 14, stored at 3849 index 0, 1, 2,
//   their data ids; extra-lead records: 12..17 at their record lead).
constexpr int kRestLeadCount = 12;
// Display position (I, II, III, aVR, aVL, aVF, V1..V6) -> record lead.
constexpr int kRecordLeadOfDisplay[12] = {0, 1, 8, 9, 10, 11, 2, 3, 4, 5, 6, 7};

// ---- kinds and system codes ------------------------------------------------------
enum class RecordKind : int8_t {
    Rest12 = 0,
    Rest15 = 1,
    Rhythm = 2,
    Rr = 3,
    ExtraLeads = 4,
};

// The 3849 index of a record lead past the twelve standard ones: a 15-lead
// record numbers its three extra leads by their data ids 0..2.
constexpr uint32_t LeadSampleIndex(RecordKind kind, int recordLead)
{
    return static_cast<uint32_t>(kind == RecordKind::Rest15 && recordLead >= kRestLeadCount ? recordLead - kRestLeadCount
                                                                                            : recordLead);
}

// The kind a system code stands for, from its low byte; false when unknown.
//   rest 12-lead : 0, 254, 255, 243, 244
//   rest 15-lead : 11, 226, 227             (3855 written)
//   rhythm       : 10, 245, 246 (3847)  and 38, 218, 217 (3858)
//   RR           : 5
//   extra leads  : 26, 229, 230, 28 (freeze)
inline bool KindOfSystemCode(uint16_t code, RecordKind* kind) {
    switch (code & 0xFF) {
        case 0: case 254: case 255: case 243: case 244: *kind = RecordKind::Rest12; return true;
        case 11: case 226: case 227: *kind = RecordKind::Rest15; return true;
        case 10: case 245: case 246: case 38: case 218: case 217: *kind = RecordKind::Rhythm; return true;
        case 5: *kind = RecordKind::Rr; return true;
        case 26: case 229: case 230: case 28: *kind = RecordKind::ExtraLeads; return true;
        default: return false;
    }
}
inline bool IsFifteenLeadCode(uint16_t code) {
    uint8_t low = code & 0xFF;
    return low == 11 || low == 226 || low == 227;
}
// Rhythm codes whose lead count goes into 3858 (the others use 3847).
inline bool IsRhythm38Code(uint16_t code) {
    uint8_t low = code & 0xFF;
    return low == 38 || low == 218 || low == 217;
}
inline uint16_t DefaultSystemCode(RecordKind kind) {
    switch (kind) {
        case RecordKind::Rest12: return 0;
        case RecordKind::Rest15: return 11;
        case RecordKind::Rhythm: return 10;
        case RecordKind::Rr: return 5;
        case RecordKind::ExtraLeads: return 26;
    }
    return 0;
}

}  // namespace rec
}  // namespace morvelance
