// Resting records for the rest document's tests and benchmarks: a synthetic
// 12- or 15-lead record with its record XML, and the pacemaker-spike items of
// model-8000 records (4077 count, 4078/4079 per spike, 4072 per-lead
// extremes, 4080 the lead map of the extremes).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/RecordBuilder.h"
#include "tools/RecordTags.h"
#include "tools/RecordXml.h"

namespace morvelance {

constexpr uint32_t kTagSpikeCount = 4077;     // index 0: i16, pacemaker spikes
constexpr uint32_t kTagSpikePosition = 4078;  // index i: u16, sample of spike i
constexpr uint32_t kTagSpikeLead = 4079;      // index i: u8, lead code of spike i
constexpr uint32_t kTagSpikeExtremes = 4072;  // index = lead: i16 maximum, i16 minimum
constexpr uint32_t kTagSpikeLeadMap = 4080;   // index 0: present when 4072 is indexed by record lead
// The fiducial points of the average beats (index 0, i16 sample of the beat);
// the QRS onset is 3727, the base-line index.
constexpr uint32_t kTagAveragePBegin = 3725;
constexpr uint32_t kTagAveragePEnd = 3726;
constexpr uint32_t kTagAverageQrsEnd = 3728;
constexpr uint32_t kTagAverageTEnd = 3729;

struct RestSpike {
    uint16_t position = 0;   // sample index at 500 Hz
    uint8_t leadCode = 0;
};

struct RestRecordShape {
    rec::RecordKind kind = rec::RecordKind::Rest12;
    int systemCode = -1;           // -1: the kind's default; low byte 8: lead III stored inverted
    bool olderReader = false;      // a model-8000 record (libzarn80)
    double heartRate = 72.0;
    double seconds = 10.0;
    bool pacemaker = false;        // spikes in the signal and, with olderReader, their items
    RecordXmlOptions xml;          // how its record XML is written
};

struct RestRecordFiles {
    std::string record;
    std::string xml;
};

// Items of the spikes at the synthetic model's beats (one per beat, a few
// samples before the R peak) and extremes for every record lead 0..11.
void AddRestSpikes(RecordBuilder& builder, const std::vector<RestSpike>& spikes);
void AddRestSpikeExtremes(RecordBuilder& builder, const std::vector<int16_t>& maxima,
                          const std::vector<int16_t>& minima, bool withLeadMap);

// The fiducial points measured on a set of average beats (samples of the beat).
struct AverageFiducials {
    int pBegin = 0;
    int pEnd = 0;
    int qrsBegin = 0;
    int qrsEnd = 0;
    int tEnd = 0;
};
// Measures them on the beats (all of one length): the QRS where the summed
// slope of every lead is steep around its steepest point, P and T where the
// summed deviation from the QRS onset rises before and after it.
AverageFiducials MeasureAverageFiducials(const std::vector<std::vector<double>>& beats);
// Writes 3725, 3726, 3728 and 3729 measured on the builder's average beats
// (3730 + lead); nothing when it holds none.
void AddAverageFiducials(RecordBuilder& builder);

// Builds the record's items (before the file is written the caller may edit
// them through `tweak`-style access to the returned builder).
RecordBuilder MakeRestRecord(const RestRecordShape& shape);
// Writes the record as `dir/name` and its record XML beside it (named by
// RecordXmlPathFor); throws std::runtime_error on failure.
RestRecordFiles WriteRestRecord(const std::string& dir, const std::string& name, const RestRecordShape& shape);
RestRecordFiles WriteRestRecord(const std::string& dir, const std::string& name, const RestRecordShape& shape,
                                const RecordBuilder& items);

}  // namespace morvelance
