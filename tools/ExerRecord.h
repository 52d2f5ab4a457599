// Exercise (stress) test records: a resting ECG followed by a load of
// three-minute stages and a recovery, as an exercise recorder stores them:
// the resting beat, the average beats of every block (heart rate rising with
// the load and falling in recovery, the ST segment sinking with the load in
// the lateral and inferior leads), the stored rhythm strips with their
// average beats, the block and strip clocks, heart rates and VO2max; and the
// record XML with its exercise report (heart rates, load, ST points and
// levels, the trend that gives the METs line, the heart-rate table switches)
// and its exercise display settings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/EcgRecord.h"
#include "tools/RecordBuilder.h"
#include "tools/RecordXml.h"

namespace morvelance {

struct ExerciseRecordOptions {
    uint16_t systemCode = 0xFFFC;   // 0xFFFA, 0xFFFC or 0xFFFD
    int intervalCode = 0;           // item 3285: 0 averages every 15 s, 1 every 60 s, 2 every 120 s
    int stages = 3;                 // three-minute load stages (Bruce)
    int recoverySeconds = 180;
    int exerciseStrips = 3;         // stored strips during the load, one at the end of each stage
    int recoveryStrips = 2;         // and in recovery, one a minute
    int restHr = 62;                // bpm
    int peakHr = 150;               // bpm at the end of the load
    double maxStDepression = 150;   // microvolts, in V4/V5 at peak load
    std::string ptbRecord;          // WFDB record (path without extension) for the beats; empty: synthetic
    // The patient, as every kind of sample record names one (the age is the
    // one the target rates count from when none is given).
    PatientInfo patient = {"EX-0021", "中村 和也", "M", "40", "CAR", ""};
    DateTime time;
    int hrCalculate = 0;            // record XML Hr_calculate: 0 share of the maximum, 1 of the reserve
    int maxHrCalculate = 0;         // record XML Max_hr_calculate: non-zero uses the age tables
    int sport = 0;                  // record XML Sport: the age table (0 A, else B)
};

// The block clock of a record made with the options, in seconds.
struct ExerciseTimeline {
    int intervalSeconds = 15;
    int exerciseSeconds = 0;               // the load time; recovery times count from here
    std::vector<int> averageTimes[2];      // per series, seconds within the series
    std::vector<int> stripTimes[2];
};

ExerciseTimeline MakeExerciseTimeline(const ExerciseRecordOptions& options);

// The measuring points of every average beat, in samples at 500 Hz: the
// beat's reference position (its R peak, the third word of the per-block
// beat records 3478/3475/3479) and the record XML's Test_point offsets from
// it (Onset before it, Offset to the J point, St_level_point and St_slope1
// after the J point).
struct ExerciseTestPoints {
    int reference = 250;
    int onset = 40;
    int offset = 25;
    int stLevel = 40;
    int slope1 = 20;
    int restMeasOffset = 30;   // item 3375: the rest beats' last measuring offset
};
constexpr ExerciseTestPoints kExerciseTestPoints{};
// The summary leads of the record XML (Extra3 Lead_code), stored lead ids:
// II, V5 and aVF.
constexpr int kSummaryLeads[3] = {1, 6, 11};

// The ST level (0.1 mm at 10 mm/mV) of a lead (stored lead id 0-11: I, II,
// V1-V6, III, aVR, aVL, aVF) at a time, as the series 3086/3098 + lead hold
// it; recovery times count from the end of the load.
int ExerciseStLevel(const ExerciseRecordOptions& options, int lead, int series, int seconds);
// The lead's last measuring offset, as the series 3182/3194 + lead hold it.
int ExerciseMeasOffset(int lead);
// The fifth measuring offset of the stored strips' beats (item 3480, one per
// strip number, shared by the strips of both phases). Items 3482/3483 give
// each strip's reference position and 3688/3689 its event mark (the second
// strip of the load has one).
int ExerciseStripFifthOffset();
// The words of the ST (and offset) series: the exercise series has its rest
// word first, then one word per 15 s of the load; the recovery series one per
// 15 s from the end of the load. The time of word `index`, -1 for the rest word.
int ExerciseSeriesSeconds(int series, int index);
int ExerciseSeriesLength(const ExerciseRecordOptions& options, int series);

// The trend words of the exercise record (tags 3320-3345, exercise and
// recovery): the first half of each array is laid as the ST series (the
// rest word first in the exercise phase), the second half repeats it.
// Values at a time: heart rate (bpm), systolic and diastolic pressure
// (mmHg, measured once a minute), double product, load (W), METs x 10,
// energy (kcal, summed), irregular beats a minute, speed (0.1 km/h) and
// elevation (0.1 %). The recorder lost heart-rate word 3 of the exercise
// (65535) and systolic word 5 (32768).
enum class ExerciseTrend { Hr, Systolic, Diastolic, DoubleProduct, Load, Mets, Kcal, Irregular, Speed, Elevation };
// A negative time is the rest word.
int ExerciseTrendValue(const ExerciseRecordOptions& options, ExerciseTrend trend, int series, int seconds);
// The exercise word of a trend the recorder lost, -1 for none.
int ExerciseLostTrendWord(ExerciseTrend trend);
// The heart rate the model gives at a time of the test (recovery times count
// from the end of the load).
int ExerciseHeartRate(const ExerciseRecordOptions& options, int series, int seconds);
// METs in tenths of the Bruce stages 1 to 7.
int BruceMetsTenths(int stage);

// Every item of the record. Throws std::runtime_error when the signals
// cannot be had (a missing WFDB record, say).
RecordBuilder MakeExerciseRecord(const ExerciseRecordOptions& options);

// The record XML of the record made from the items (the exercise report and
// settings come from the options). Throws std::runtime_error on failure.
void WriteExerciseRecordXml(const std::string& path, const RecordBuilder& items, const ExerciseRecordOptions& options,
                            const RecordXmlOptions& xmlOptions = RecordXmlOptions());

// The record and, beside it, its record XML named as the system names it
// (RecordXmlPathFor); returns the XML's path. The XML keeps the limits of
// the newer recorders whatever the flavour. Throws std::runtime_error.
std::string WriteExerciseRecordFiles(const std::string& recordPath, const ExerciseRecordOptions& options,
                                     zarn::Flavour flavour = zarn::Flavour::Newer90);

}  // namespace morvelance
