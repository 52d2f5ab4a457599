// Rhythm records of both families as the rhythm recorders write them: the
// extended family (system codes 38, 217, 218) keeps its strips in 3860 and its
// events in 5005, both families carry a start time (3854 or 3856), and events
// may come unordered or repeated. Builds on MakeDeviceRecord, which writes
// every rhythm record in the standard family's items.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/RecordBuilder.h"
#include "tools/RecordXml.h"

namespace morvelance {
namespace rec {

constexpr uint32_t kTagRhythmStart10 = 3854;    // 2 bytes: start minute, start second (codes 10, 245, 246)
constexpr uint32_t kTagRhythmStart38 = 3856;    // the same for codes 38, 218, 217
constexpr uint32_t kTagRhythmSamples38 = 3860;  // index = lead: int16 samples (codes 38, 218, 217)
constexpr uint32_t kTagEvents38 = 5005;         // index 0: i32 count; 1..count: i32 sample position

}  // namespace rec

struct RhythmRecordShape {
    int leads = 1;                 // 1 to 3 (II, V5, V1), 12 or 15 (the standard and fifteen-lead sets)
    double seconds = 60.0;
    uint16_t systemCode = 10;      // its low byte must be a rhythm code
    double heartRate = 70.0;
    int startMinute = -1;          // -1: no start-time item
    int startSecond = 0;
    bool noise = false;
    uint64_t seed = 1;
};

// The record's items in the family of its system code, with the start time;
// `source` (may be null) receives what its record XML is written from.
// Throws std::invalid_argument for a lead count or code no rhythm record has.
RecordBuilder MakeRhythmRecord(const RhythmRecordShape& shape, RecordXmlSource* source);

// Moves strips and events of a standard-family record to the items of the
// family its system code (item 3346) names; nothing for the standard family.
void ApplyRhythmFamily(RecordBuilder& builder);
// Writes (or, with a negative minute, removes) the start-time item.
void SetRhythmStartTime(RecordBuilder& builder, int minute, int second);
// Replaces the events: `statedCount` in index 0 (the list's size when
// negative), then the positions as given, in order.
void SetRhythmEvents(RecordBuilder& builder, const std::vector<int32_t>& positions, int32_t statedCount = -1);

}  // namespace morvelance
