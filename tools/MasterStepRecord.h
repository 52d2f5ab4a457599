// Master-step records (system codes with low byte 243 or 244): a rest
// recording and a series of post-load recordings, each reduced to its average
// beat, with the device items the master-step document reads and the
// comparison and trend sections of the record XML.
//
// Items added to those of a 12-lead rest record (MakeDeviceRecord):
//   4046 / 0     rest average beats: 12 leads x 600 int16 samples, record-lead
//                order (I, II, V1..V6, III, aVR, aVL, aVF), 2.5 uV/unit
//   4055 / k     post-load comparison k (0-based), the same layout
//   4064 / 0     the post-load block of the ST-descent comparison
//   4056 / k     recording time of comparison k after the load: minutes, seconds (int8 each)
//   3839 / 0     time of the ST descent after the load: minutes, seconds (int8 each)
//   4073 / 0     64 bytes; the first int16 is non-zero when the device fixed the acquisition filter
//   4108 / 0     int16 1: the record carries additions
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/EcgRecord.h"
#include "tools/RecordBuilder.h"
#include "tools/RecordXml.h"

namespace morvelance {

namespace rec {
constexpr uint32_t kTagMasterRestAverage = 4046;
constexpr uint32_t kTagMasterLoadAverage = 4055;
constexpr uint32_t kTagMasterLoadTime = 4056;
constexpr uint32_t kTagMasterDescentAverage = 4064;
constexpr uint32_t kTagMasterDescentTime = 3839;
constexpr uint32_t kTagMasterFilterFixed = 4073;
constexpr int kMasterAverageBlockSamples = kAverageBeatSamples * kRestLeadCount;
}  // namespace rec

struct MasterStepOptions {
    uint16_t systemCode = 243;                // low byte 243 (with trip information) or 244
    double restStartSeconds = 0;              // where in the rest signals the 10 s to average start
    std::vector<double> loadStartSeconds;     // per post-load recording; missing entries start at 0
    // ST depression (uV) laid on the post-load beats of II, III, aVF and
    // V4..V6 after averaging, per comparison; missing entries add none.
    std::vector<double> stDepression{150, 90, 40};
    std::vector<int> loadMinutes{1, 3, 5};    // recording time after the load, per comparison
    int descentTable = 1;                     // 1-based comparison of the deepest ST; 0 none
    int descentLead = 10;                     // display lead of the deepest ST
    bool filterFixed = false;
    int trendPoints = 7;                      // Summary_trend points written (more than 31 allowed)
    int trendStepSeconds = 30;                // seconds between trend points
    int clearedTrendPoint = -1;               // a trend point written with Status 0 (not plotted); -1 none
    int missingStTrendPoint = -1;             // a trend point whose ST is -32768 in every lead; -1 none
    int declaredLoadCount = -1;               // Cmp_load/@count written; -1: the comparisons made
};

// What a master-step record holds besides its items, for the XML and for tests.
struct MasterStepRecord {
    RecordBuilder items;
    uint16_t systemCode = 0;
    std::vector<int16_t> restBlock;                 // kMasterAverageBlockSamples
    std::vector<std::vector<int16_t>> loadBlocks;   // one per comparison
    int baseline = 0;                               // base-line sample index (item 3727)
    std::array<int, 12> restST{};                   // 0.01 mm (uV at 10 mm/mV), record-lead order
    std::vector<std::array<int, 12>> loadST;
    int restHeartRate = 0;                          // bpm
    std::vector<int> loadHeartRates;
    MasterStepOptions options;
};

// The rest record's first 10 s from restStartSeconds and each post-load
// record's 10 s from its start give the beats; a record without post-load
// recordings has the rest beat only. Throws std::runtime_error or
// std::invalid_argument (a code whose low byte is not 243 or 244).
MasterStepRecord MakeMasterStepRecord(const EcgRecord& rest, const std::vector<EcgRecord>& loads,
                                      const MasterStepOptions& options);

// The record XML: every section of a rest record, the step-test section, and
// Report/Cmp_rest, Report/Cmp_load and Report/Summary_trend from the record's
// beats. Throws std::runtime_error when the file cannot be written.
std::unique_ptr<XmlElement> MakeMasterStepXml(const MasterStepRecord& record, const RecordXmlOptions& options);
void WriteMasterStepXml(const std::string& path, const MasterStepRecord& record,
                        const RecordXmlOptions& options = RecordXmlOptions());

// The demo's master-step records, written into dir with their record XMLs
// beside them (RecordXmlPathFor): a synthetic record of code 243 (rest at
// 64 bpm, post-load recordings at 118, 102 and 84 bpm) and, when a WFDB
// record path (without extension) is given, one of code 244 from its beats.
// Returns the record paths. Throws std::runtime_error on failure.
std::vector<std::string> WriteMasterStepSamples(const std::string& dir, const std::string& wfdbRecord = std::string());

}  // namespace morvelance
