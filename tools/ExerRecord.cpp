#include "tools/ExerRecord.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "tools/DeviceRecord.h"
#include "tools/EcgModel.h"
#include "tools/SignalOps.h"
#include "tools/Wfdb.h"
#include "tools/XmlTree.h"

namespace morvelance {

namespace {

// Items of the exercise record (see platform/zarn/README.md for the others).
constexpr uint32_t kTagRestBeat = 3026;        // + stored lead, index 0
constexpr uint32_t kTagAverageExer = 3038;     // + stored lead, index block
constexpr uint32_t kTagStripExer = 3050;       // + stored lead, index strip
constexpr uint32_t kTagAverageRecovery = 3062;
constexpr uint32_t kTagMaxStBeat = 3074;       // + stored lead, index 0: the beat of the deepest ST
constexpr uint32_t kTagExerAverages = 3282;
constexpr uint32_t kTagRecoveryAverages = 3283;
constexpr uint32_t kTagSampleRate = 3284;
constexpr uint32_t kTagInterval = 3285;
constexpr uint32_t kTagAverageTime = 3290;     // + series
constexpr uint32_t kTagExerStrips = 3292;
constexpr uint32_t kTagRecoveryStrips = 3293;
constexpr uint32_t kTagStripTime = 3298;       // + series
constexpr uint32_t kTagVo2Max = 3304;
constexpr uint32_t kTagStripRecovery = 3450;
constexpr uint32_t kTagStSeries = 3086;        // + stored lead 0-11, + 12 in recovery
constexpr uint32_t kTagMeasOffsetSeries = 3182;
constexpr uint32_t kTagRestMeasOffset = 3375;
constexpr uint32_t kTagBeatRefExer = 3478;     // index block: the block's beat record
constexpr uint32_t kTagBeatRefRecovery = 3475;
constexpr uint32_t kTagBeatRefMaxSt = 3479;
constexpr int kSeriesLeads = 12;
constexpr uint32_t kTagRAmplitude = 3110;      // + lead, + 12 in recovery: 0.01 mV
constexpr uint32_t kTagStIndex = 3134;         // 0.1 units
constexpr uint32_t kTagStSlope = 3158;         // 0.1 mm/s
constexpr uint32_t kTagTargetHr = 3385;        // the two reference heart rates of the METs-HR graph
constexpr uint32_t kTagPeakHr = 3024;
constexpr uint32_t kTagStripFifthOffset = 3480;   // index strip number: shared by both phases
constexpr uint32_t kTagStripReference = 3482;     // + series, index strip
constexpr uint32_t kTagStripEvent = 3688;         // + series, index strip
constexpr uint32_t kTagStripAverageExer = 3484;
constexpr uint32_t kTagStripAverageRecovery = 3496;

constexpr int kStoredLeads = 8;                // I, II, V1-V6: the rest record's slots 0-7
constexpr int kStageSeconds = 180;
constexpr int kRestSeconds = 60;               // trend points before the load
constexpr int kTrendSeconds = 15;
constexpr int kRPeak = kExerciseTestPoints.reference;   // R of the average beats
constexpr double kAverageUnit = 2.5;           // microvolts per unit of an average beat
constexpr double kRawUnit = 1.25;              // microvolts per unit of a strip
constexpr int kStripSeconds = 10;

// How much of the ST depression each stored lead shows.
const double kStLeadShare[kStoredLeads] = {0.35, 0.8, 0.0, 0.25, 0.6, 1.0, 1.0, 0.8};
const LeadId kStoredLeadIds[kStoredLeads] = {LeadId::I,  LeadId::II, LeadId::V1, LeadId::V2,
                                             LeadId::V3, LeadId::V4, LeadId::V5, LeadId::V6};

std::vector<uint8_t> BlockTime(int seconds)
{
    std::vector<uint8_t> bytes(4, 0);
    bytes[0] = static_cast<uint8_t>(seconds / 60);
    bytes[1] = static_cast<uint8_t>(seconds % 60);
    return bytes;
}

void PutInt16(std::vector<uint8_t>& bytes, int value)
{
    bytes.push_back(static_cast<uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

// A beat record: the block's heart rate, 350, the reference position, 0.
std::vector<uint8_t> BeatRecord(int bpm)
{
    std::vector<uint8_t> bytes;
    for (int word : {bpm, 350, kExerciseTestPoints.reference, 0}) PutInt16(bytes, word);
    return bytes;
}

// How much of the depression a derived limb lead shows, from I and II as
// the document derives the lead: III = II - I, aVR = -(I + II) / 2,
// aVL = I - II / 2, aVF = II - I / 2.
double StShare(int lead)
{
    const double one = kStLeadShare[0];
    const double two = kStLeadShare[1];
    switch (lead) {
    case 8: return two - one;
    case 9: return -(one + two) / 2;
    case 10: return one - two / 2;
    case 11: return two - one / 2;
    default: return lead >= 0 && lead < kStoredLeads ? kStLeadShare[lead] : 0.0;
    }
}

void PutInt32(std::vector<uint8_t>& bytes, int32_t value)
{
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF));
}

// The load fraction of a time: 0 at rest, 1 at the end of the load, then
// falling off with a time constant of a minute.
double LoadFraction(const ExerciseRecordOptions& o, int series, int seconds)
{
    const int load = o.stages * kStageSeconds;
    if (series == 0) return load > 0 ? std::min(1.0, static_cast<double>(seconds) / load) : 0.0;
    return std::exp(-seconds / 60.0);
}

EcgRecord RestingSignals(const ExerciseRecordOptions& o)
{
    if (!o.ptbRecord.empty()) {
        WfdbRecord record;
        std::string error;
        if (!ReadWfdbRecord(o.ptbRecord, &record, &error, 12000)) throw std::runtime_error(error);
        EcgRecord ecg = WfdbToEcg(record, o.ptbRecord);
        ecg.patient = o.patient;
        ecg.time = o.time;
        return ecg;
    }
    SynthOptions synth;
    synth.leads = StandardLeads();
    synth.heartRate = o.restHr;
    synth.seconds = 10.0;
    EcgRecord ecg = Synthesize(synth);
    ecg.patient = o.patient;
    ecg.time = o.time;
    return ecg;
}

// The resting average beat of a lead, shortened to the heart rate and with
// its ST segment lowered by `depression` microvolts.
std::vector<int16_t> ExerciseBeat(const std::vector<int16_t>& rest, int restHr, int hr, double depression)
{
    std::vector<int16_t> beat(rest.size(), 0);
    const int n = static_cast<int>(rest.size());
    const int jPoint = kRPeak + 25;
    // Past the J point the repolarisation shortens with the heart rate.
    const double squeeze = hr > restHr ? std::sqrt(static_cast<double>(restHr) / hr) : 1.0;
    const double shift = depression / kAverageUnit;
    for (int i = 0; i < n; ++i) {
        double value = rest[static_cast<size_t>(i)];
        double st = 0.0;
        if (i > jPoint) {
            const double source = jPoint + (i - jPoint) / squeeze;
            const int s = std::min(n - 1, static_cast<int>(source));
            value = rest[static_cast<size_t>(s)];
            // Full depression over the ST segment, easing out through the T wave.
            const int plateau = jPoint + 60;
            st = i < plateau ? 1.0 : std::max(0.0, 1.0 - (i - plateau) / 120.0);
        }
        beat[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(value - shift * st));
    }
    return beat;
}

std::vector<int16_t> StripSamples(const std::vector<float>& microvolts)
{
    return ToUnits(microvolts, kRawUnit);
}

XmlElement& Setting(XmlElement& root, const std::string& path)
{
    return root.At("/Rawdata/Assist_info/Reference/Setting/" + path);
}

std::string Int(long value)
{
    return std::to_string(value);
}

// One beat record per average block of either series, and the record of
// the maximum-ST-depression beat (the end of the load).
void AddBeatRecords(RecordBuilder& items, const ExerciseRecordOptions& o, const ExerciseTimeline& t)
{
    const uint32_t tags[2] = {kTagBeatRefExer, kTagBeatRefRecovery};
    for (int series = 0; series < 2; ++series)
        for (size_t i = 0; i < t.averageTimes[series].size(); ++i)
            items.SetRaw(tags[series], static_cast<uint32_t>(i),
                         BeatRecord(ExerciseHeartRate(o, series, t.averageTimes[series][i])));
    items.SetRaw(kTagBeatRefMaxSt, 0, BeatRecord(o.peakHr));
}

// The ST level and measuring offset series of every lead. The recorder lost
// the last recovery word of V1: it reads as missing.
void AddSeries(RecordBuilder& items, const ExerciseRecordOptions& o)
{
    for (int series = 0; series < 2; ++series) {
        const int length = ExerciseSeriesLength(o, series);
        const uint32_t at = static_cast<uint32_t>(series * kSeriesLeads);
        for (int lead = 0; lead < kSeriesLeads; ++lead) {
            std::vector<uint8_t> st, offsets, amplitude, index, slope;
            for (int i = 0; i < length; ++i) {
                const bool lost = series == 1 && lead == 2 && i == length - 1;
                const int seconds = std::max(0, ExerciseSeriesSeconds(series, i));
                const int level = ExerciseStLevel(o, lead, series, seconds);
                const int rise = ExerciseHeartRate(o, series, seconds) - o.restHr;
                PutInt16(st, lost ? -32768 : level);
                PutInt16(offsets, ExerciseMeasOffset(lead));
                PutInt16(amplitude, 150 - rise / 2);
                // ST/HR index in 0.1 units: microvolts of depression per bpm of rise.
                PutInt16(index, rise > 0 ? level * 100 / rise : 0);
                PutInt16(slope, 10 * level / 4 + 5);
            }
            const uint32_t tag = at + static_cast<uint32_t>(lead);
            items.SetRaw(kTagStSeries + tag, 0, st);
            items.SetRaw(kTagMeasOffsetSeries + tag, 0, offsets);
            items.SetRaw(kTagRAmplitude + tag, 0, amplitude);
            items.SetRaw(kTagStIndex + tag, 0, index);
            items.SetRaw(kTagStSlope + tag, 0, slope);
        }
    }
    items.SetInt16(kTagRestMeasOffset, 0, static_cast<int16_t>(kExerciseTestPoints.restMeasOffset));
}

// Per stored strip: its beat's reference position and event mark, and per
// strip number the fifth measuring offset. The patient marked an event at
// the second strip of the load.
void AddStripRecords(RecordBuilder& items, const ExerciseTimeline& t)
{
    size_t most = 0;
    for (int series = 0; series < 2; ++series) {
        most = std::max(most, t.stripTimes[series].size());
        for (size_t k = 0; k < t.stripTimes[series].size(); ++k) {
            const uint32_t index = static_cast<uint32_t>(k);
            items.SetInt16(kTagStripReference + static_cast<uint32_t>(series), index,
                           static_cast<int16_t>(kExerciseTestPoints.reference));
            items.SetInt16(kTagStripEvent + static_cast<uint32_t>(series), index, series == 0 && k == 1 ? 1 : 0);
        }
    }
    for (size_t k = 0; k < most; ++k)
        items.SetInt16(kTagStripFifthOffset, static_cast<uint32_t>(k),
                       static_cast<int16_t>(ExerciseStripFifthOffset()));
}

// The trends of styles 1 to 9, each array twice its words.
void AddTrends(RecordBuilder& items, const ExerciseRecordOptions& o)
{
    struct Tag {
        ExerciseTrend trend;
        uint32_t tag;
    };
    const Tag tags[] = {{ExerciseTrend::Hr, 3320},        {ExerciseTrend::Systolic, 3324},
                        {ExerciseTrend::Diastolic, 3326}, {ExerciseTrend::DoubleProduct, 3328},
                        {ExerciseTrend::Load, 3330},      {ExerciseTrend::Mets, 3334},
                        {ExerciseTrend::Kcal, 3338},      {ExerciseTrend::Irregular, 3340},
                        {ExerciseTrend::Speed, 3342},     {ExerciseTrend::Elevation, 3344}};
    for (const Tag& t : tags)
        for (int series = 0; series < 2; ++series) {
            const int length = ExerciseSeriesLength(o, series);
            std::vector<int> words;
            for (int i = 0; i < length; ++i)
                words.push_back(ExerciseTrendValue(o, t.trend, series, ExerciseSeriesSeconds(series, i)));
            if (series == 0 && ExerciseLostTrendWord(t.trend) >= 0 && ExerciseLostTrendWord(t.trend) < length)
                words[static_cast<size_t>(ExerciseLostTrendWord(t.trend))] =
                    t.trend == ExerciseTrend::Hr ? 65535 : 32768;
            std::vector<uint8_t> bytes;
            for (int copy = 0; copy < 2; ++copy)
                for (int word : words) PutInt16(bytes, word);
            items.SetRaw(t.tag + static_cast<uint32_t>(series), 0, bytes);
        }
    const int age = o.patient.age.empty() ? 40 : std::atoi(o.patient.age.c_str());
    items.SetInt16(kTagTargetHr, 0, static_cast<int16_t>((220 - age) * 85 / 100));
    items.SetInt16(kTagPeakHr, 0, static_cast<int16_t>(o.peakHr));
}

}  // namespace

int ExerciseLostTrendWord(ExerciseTrend trend)
{
    return trend == ExerciseTrend::Hr ? 3 : trend == ExerciseTrend::Systolic ? 5 : -1;
}

int ExerciseTrendValue(const ExerciseRecordOptions& o, ExerciseTrend trend, int series, int seconds)
{
    static const int kSpeed[] = {0, 27, 40, 55, 68, 80, 88, 96};   // Bruce, 0.1 km/h
    // The rest word (a negative time) is taken before the load starts.
    const bool rest = series == 0 && seconds < 0;
    seconds = std::max(0, seconds);
    const int load = o.stages * kStageSeconds;
    const int stage = series == 0 && !rest ? std::min(o.stages, seconds / kStageSeconds + 1) : 0;
    const int minute = seconds / 60 * 60;   // pressures are taken once a minute
    const double f = LoadFraction(o, series, minute);
    const int hr = ExerciseHeartRate(o, series, seconds);
    const int systolic = static_cast<int>(std::lround(120 + 60 * f));
    switch (trend) {
    case ExerciseTrend::Hr: return hr;
    case ExerciseTrend::Systolic: return systolic;
    case ExerciseTrend::Diastolic: return static_cast<int>(std::lround(80 + 6 * f));
    case ExerciseTrend::DoubleProduct: return hr * systolic;
    case ExerciseTrend::Load: return stage * 50;
    case ExerciseTrend::Mets: return BruceMetsTenths(stage);
    case ExerciseTrend::Kcal: {
        // 70 kg at the METs of each stage so far, one kcal per kg an hour a MET.
        double kcal = 0;
        for (int s = 0; s < std::min(seconds, load) && series == 0; s += kTrendSeconds)
            kcal += BruceMetsTenths(s / kStageSeconds + 1) / 10.0 * 70 * kTrendSeconds / 3600;
        return static_cast<int>(kcal);
    }
    case ExerciseTrend::Irregular: return series == 0 && stage >= 3 && minute % 120 == 0 ? 2 : 0;
    case ExerciseTrend::Speed: return kSpeed[stage];
    case ExerciseTrend::Elevation: return stage > 0 ? (10 + 2 * stage) * 10 : 0;
    }
    return 0;
}

int ExerciseStLevel(const ExerciseRecordOptions& o, int lead, int series, int seconds)
{
    // 10 microvolts are 0.1 mm at 10 mm/mV.
    const double depression = o.maxStDepression * StShare(lead) * LoadFraction(o, series, seconds);
    return -static_cast<int>(std::lround(depression / 10.0));
}

int ExerciseStripFifthOffset()
{
    return 24;
}

int ExerciseMeasOffset(int lead)
{
    return 20 + lead;
}

int ExerciseSeriesSeconds(int series, int index)
{
    return series == 0 ? (index - 1) * kTrendSeconds : index * kTrendSeconds;
}

int ExerciseSeriesLength(const ExerciseRecordOptions& o, int series)
{
    return series == 0 ? o.stages * kStageSeconds / kTrendSeconds + 1 : o.recoverySeconds / kTrendSeconds + 1;
}

int BruceMetsTenths(int stage)
{
    static const int kMets[] = {46, 70, 101, 129, 150, 170, 190};
    if (stage < 1) return 10;
    return kMets[std::min(stage, 7) - 1];
}

int ExerciseHeartRate(const ExerciseRecordOptions& o, int series, int seconds)
{
    const double f = LoadFraction(o, series, seconds);
    return static_cast<int>(std::lround(o.restHr + (o.peakHr - o.restHr) * f));
}

ExerciseTimeline MakeExerciseTimeline(const ExerciseRecordOptions& o)
{
    ExerciseTimeline t;
    t.intervalSeconds = o.intervalCode == 1 ? 60 : o.intervalCode == 2 ? 120 : 15;
    t.exerciseSeconds = o.stages * kStageSeconds;
    for (int s = 0; s < t.exerciseSeconds; s += t.intervalSeconds) t.averageTimes[0].push_back(s);
    for (int s = 0; s <= o.recoverySeconds; s += t.intervalSeconds) t.averageTimes[1].push_back(s);
    for (int k = 1; k <= o.exerciseStrips; ++k)
        t.stripTimes[0].push_back(std::max(0, t.exerciseSeconds * k / o.exerciseStrips - kStripSeconds));
    for (int k = 1; k <= o.recoveryStrips; ++k) t.stripTimes[1].push_back(60 * k);
    return t;
}

RecordBuilder MakeExerciseRecord(const ExerciseRecordOptions& o)
{
    if (o.stages < 1 || o.stages > 7) throw std::invalid_argument("an exercise test has 1 to 7 stages");
    DeviceRecordOptions device;
    device.kind = rec::RecordKind::Rest12;
    device.systemCode = o.systemCode;
    device.allowAnyCode = true;
    RecordBuilder items = MakeDeviceRecord(RestingSignals(o), device);

    std::vector<int16_t> rest[kStoredLeads];
    for (int lead = 0; lead < kStoredLeads; ++lead) {
        const std::vector<uint8_t>* average = items.Find(rec::kTagAverageLeadBase + static_cast<uint32_t>(lead), 0);
        if (!average)
            throw std::runtime_error("the resting record has no average beat of lead " + std::to_string(lead));
        rest[lead] = ItemSamples(*average);
        items.SetSamples(kTagRestBeat + static_cast<uint32_t>(lead), 0, rest[lead]);
    }

    const ExerciseTimeline t = MakeExerciseTimeline(o);
    auto beatAt = [&](int lead, int series, int seconds) {
        const double depression = o.maxStDepression * kStLeadShare[lead] * LoadFraction(o, series, seconds);
        return ExerciseBeat(rest[lead], o.restHr, ExerciseHeartRate(o, series, seconds), depression);
    };

    const uint32_t averageTags[2] = {kTagAverageExer, kTagAverageRecovery};
    for (int series = 0; series < 2; ++series) {
        const std::vector<int>& times = t.averageTimes[series];
        for (size_t i = 0; i < times.size(); ++i) {
            items.SetRaw(kTagAverageTime + static_cast<uint32_t>(series), static_cast<uint32_t>(i),
                         BlockTime(times[i]));
            for (int lead = 0; lead < kStoredLeads; ++lead)
                items.SetSamples(averageTags[series] + static_cast<uint32_t>(lead), static_cast<uint32_t>(i),
                                 beatAt(lead, series, times[i]));
        }
    }
    for (int lead = 0; lead < kStoredLeads; ++lead)
        items.SetSamples(kTagMaxStBeat + static_cast<uint32_t>(lead), 0, beatAt(lead, 0, t.exerciseSeconds));

    AddStripRecords(items, t);
    const uint32_t stripTags[2] = {kTagStripExer, kTagStripRecovery};
    const uint32_t stripAverageTags[2] = {kTagStripAverageExer, kTagStripAverageRecovery};
    for (int series = 0; series < 2; ++series) {
        const std::vector<int>& times = t.stripTimes[series];
        for (size_t k = 0; k < times.size(); ++k) {
            const uint32_t index = static_cast<uint32_t>(k);
            items.SetRaw(kTagStripTime + static_cast<uint32_t>(series), index, BlockTime(times[k]));
            SynthOptions synth;
            synth.leads.assign(std::begin(kStoredLeadIds), std::end(kStoredLeadIds));
            synth.heartRate = ExerciseHeartRate(o, series, times[k]);
            synth.seconds = kStripSeconds;
            synth.noise = true;
            synth.seed = 100 + 10 * static_cast<uint64_t>(series) + k;
            const EcgRecord strip = Synthesize(synth);
            for (int lead = 0; lead < kStoredLeads; ++lead) {
                items.SetSamples(stripTags[series] + static_cast<uint32_t>(lead), index,
                                 StripSamples(strip.leads[static_cast<size_t>(lead)].microvolts));
                items.SetSamples(stripAverageTags[series] + static_cast<uint32_t>(lead), index,
                                 beatAt(lead, series, times[k]));
            }
        }
    }

    items.SetInt16(kTagExerAverages, 0, static_cast<int16_t>(t.averageTimes[0].size()));
    items.SetInt16(kTagRecoveryAverages, 0, static_cast<int16_t>(t.averageTimes[1].size()));
    items.SetInt16(kTagSampleRate, 0, 500);
    items.SetInt16(kTagInterval, 0, static_cast<int16_t>(o.intervalCode));
    items.SetInt16(kTagExerStrips, 0, static_cast<int16_t>(t.stripTimes[0].size()));
    items.SetInt16(kTagRecoveryStrips, 0, static_cast<int16_t>(t.stripTimes[1].size()));
    AddBeatRecords(items, o, t);
    AddSeries(items, o);
    AddTrends(items, o);

    // VO2max in tenths of ml/kg/min from the METs of the last stage.
    const int mets = BruceMetsTenths(o.stages);
    std::vector<uint8_t> vo2;
    PutInt32(vo2, static_cast<int32_t>(std::lround(mets * 3.5)));
    PutInt32(vo2, mets);
    PutInt32(vo2, o.peakHr);
    items.SetRaw(kTagVo2Max, 0, vo2);
    return items;
}

void WriteExerciseRecordXml(const std::string& path, const RecordBuilder& items, const ExerciseRecordOptions& o,
                            const RecordXmlOptions& xmlOptions)
{
    RecordXmlOptions options = xmlOptions;
    const bool settings =
        std::find(options.omit.begin(), options.omit.end(), XmlSection::Settings) == options.omit.end();
    const bool report = std::find(options.omit.begin(), options.omit.end(), XmlSection::Report) == options.omit.end();
    options.omit.push_back(XmlSection::Settings);
    RecordXmlSource source = SourceFromRecordItems(items.Items(), false);
    std::unique_ptr<XmlElement> root = MakeRecordXml(source, options);
    const ExerciseTimeline t = MakeExerciseTimeline(o);

    if (report) {
        const std::string ex = "/Rawdata/Tavrion/Report/Exercise_section/";
        const int age = o.patient.age.empty() ? 40 : std::atoi(o.patient.age.c_str());
        const int predicted = 220 - age;
        root->At(ex + "Hr/Hr_calculate").SetText(Int(o.hrCalculate));
        root->At(ex + "Hr/Max_hr_calculate").SetText(Int(o.maxHrCalculate));
        root->At(ex + "Hr/Rest_hr").SetText(Int(o.restHr));
        root->At(ex + "Hr/Hr_100percent").SetText(Int(predicted));
        root->At(ex + "Hr/Max_hr").SetText(Int(o.peakHr));
        root->At(ex + "Hr/Target_hr").SetText(Int(std::lround(predicted * 0.85)));
        root->At(ex + "Load/Protocol").SetText("Bruce");
        root->At(ex + "Load/Load_time")
            .SetAttribute("minute", Int(t.exerciseSeconds / 60))
            .SetAttribute("second", Int(t.exerciseSeconds % 60));
        root->At(ex + "Load/End_mets").SetText(Int(BruceMetsTenths(o.stages)));
        root->At(ex + "Lead_info/Sport").SetText(Int(o.sport));
        root->At(ex + "Extra3/Hr/End_hr").SetText(Int(o.peakHr));
        root->At(ex + "Extra3/Hr/Max_st_hr").SetText(Int(o.peakHr));
        // The deepest ST lies at the end of the load, in the exercise series.
        root->At(ex + "Extra3/Max_st_mode").SetText("0");
        root->At(ex + "Extra3/Max_st_time").SetText(Int(t.exerciseSeconds));
        for (int n = 1; n <= 3; ++n) {
            const int lead = kSummaryLeads[n - 1];
            const std::string e = ex + "Extra3/Extra3_element[@number='" + Int(n) + "']/";
            root->At(e + "Lead_code").SetText(Int(lead));
            root->At(e + "St_level_rest").SetText(Int(ExerciseStLevel(o, lead, 0, 0)));
            root->At(e + "St_level_end").SetText(Int(ExerciseStLevel(o, lead, 1, 0)));
            root->At(e + "St_level_max").SetText(Int(ExerciseStLevel(o, lead, 0, t.exerciseSeconds)));
            root->At(e + "St_slope2_end").SetText(Int(ExerciseMeasOffset(lead)));
            root->At(e + "St_slope2_max").SetText(Int(ExerciseMeasOffset(lead)));
        }
        const ExerciseTestPoints& p = kExerciseTestPoints;
        root->At(ex + "Test_point/St_meas_condition").SetText("0");
        root->At(ex + "Test_point/Onset").SetText(Int(p.onset));
        root->At(ex + "Test_point/Offset").SetText(Int(p.offset));
        root->At(ex + "Test_point/St_level_point").SetText(Int(p.stLevel));
        root->At(ex + "Test_point/St_slope1").SetText(Int(p.slope1));
        root->At(ex + "Vo2_max").SetText(Int(std::lround(BruceMetsTenths(o.stages) * 3.5)));

        // The trend, one point every 15 s: a minute at rest, the stages, the
        // recovery. Mets holds the load's points in its first half.
        std::vector<int> hr, states, mets;
        for (int s = 0; s < kRestSeconds; s += kTrendSeconds) {
            hr.push_back(o.restHr);
            states.push_back(0);
            mets.push_back(10);
        }
        for (int s = kTrendSeconds; s <= t.exerciseSeconds; s += kTrendSeconds) {
            const int stage = (s - 1) / kStageSeconds + 1;
            hr.push_back(ExerciseHeartRate(o, 0, s));
            states.push_back(stage);
            mets.push_back(BruceMetsTenths(stage));
        }
        const size_t loadPoints = hr.size();
        for (int s = kTrendSeconds; s <= o.recoverySeconds; s += kTrendSeconds) {
            hr.push_back(ExerciseHeartRate(o, 1, s));
            states.push_back(9);
        }
        mets.resize(2 * loadPoints, 10);
        std::vector<int> stages;
        for (int k = 1; k <= o.stages; ++k) {
            stages.push_back(kStageSeconds / 60);
            stages.push_back(10 + 2 * k);   // grade, percent
        }
        const std::pair<const char*, const std::vector<int>*> trends[] = {
            {"Rest_hr", &hr}, {"Stage_info", &stages}, {"Hr_states", &states}, {"Mets", &mets}};
        for (const auto& trend : trends) {
            const std::string base = ex + "Trend/" + trend.first;
            root->At(base + "/Size").SetText(Int(static_cast<long>(trend.second->size())));
            for (size_t i = 0; i < trend.second->size(); ++i)
                root->At(base + "/" + trend.first + "_element[@number='" + Int(static_cast<long>(i + 1)) + "']")
                    .SetText(Int((*trend.second)[i]));
        }
    }

    if (settings) {
        XmlElement& rest = Setting(*root, "Draw_setting/Color_setting/Wave_color/Rest_wave");
        rest.SetAttribute("r", "0").SetAttribute("g", "128").SetAttribute("b", "0");
        Setting(*root, "Draw_setting/Grid_type").SetText("0");
        Setting(*root, "Page_style").SetText("2");
        Setting(*root, "Sensitivity").SetAttribute("mode", "1").SetText("10.00");
        Setting(*root, "Measure_point").SetText("1");
        Setting(*root, "Lead_selection/Lead_6ch").SetText(Int(0xFC0));   // V1-V6
        Setting(*root, "Lead_selection/Lead_1ch").SetText(Int(1 << 6));   // V1
    }
    WriteXmlFile(path, *root, options.encoding);
}

std::string WriteExerciseRecordFiles(const std::string& recordPath, const ExerciseRecordOptions& options,
                                     zarn::Flavour flavour)
{
    const RecordBuilder items = MakeExerciseRecord(options);
    items.WriteFile(recordPath, flavour);
    const std::string xmlPath = RecordXmlPathFor(recordPath, options.time);
    WriteExerciseRecordXml(xmlPath, items, options);
    return xmlPath;
}

}  // namespace morvelance
