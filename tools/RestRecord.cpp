#include "tools/RestRecord.h"

#include <algorithm>
#include <cmath>

#include "tools/DeviceRecord.h"
#include "tools/EcgModel.h"

namespace morvelance {

void AddRestSpikes(RecordBuilder& builder, const std::vector<RestSpike>& spikes)
{
    builder.SetInt16(kTagSpikeCount, 0, static_cast<int16_t>(spikes.size()));
    for (size_t i = 0; i < spikes.size(); ++i) {
        builder.SetUInt16(kTagSpikePosition, static_cast<uint32_t>(i), spikes[i].position);
        builder.SetRaw(kTagSpikeLead, static_cast<uint32_t>(i), {spikes[i].leadCode});
    }
}

void AddRestSpikeExtremes(RecordBuilder& builder, const std::vector<int16_t>& maxima,
                          const std::vector<int16_t>& minima, bool withLeadMap)
{
    const size_t count = maxima.size() < minima.size() ? maxima.size() : minima.size();
    for (size_t lead = 0; lead < count; ++lead) {
        const uint16_t hi = static_cast<uint16_t>(maxima[lead]);
        const uint16_t lo = static_cast<uint16_t>(minima[lead]);
        builder.SetRaw(kTagSpikeExtremes, static_cast<uint32_t>(lead),
                       {static_cast<uint8_t>(hi & 0xFF), static_cast<uint8_t>(hi >> 8), static_cast<uint8_t>(lo & 0xFF),
                        static_cast<uint8_t>(lo >> 8)});
    }
    if (withLeadMap) builder.SetInt16(kTagSpikeLeadMap, 0, 1);
}

namespace {

// The sample of the largest value in [from, to], or `from` for an empty range.
int PeakIn(const std::vector<double>& curve, int from, int to)
{
    int peak = from;
    for (int i = from; i <= to; ++i)
        if (curve[static_cast<size_t>(i)] > curve[static_cast<size_t>(peak)]) peak = i;
    return peak;
}

// From `start`, the last sample (stepping by `step`, within [low, high])
// that is still above `level`.
int EdgeAbove(const std::vector<double>& curve, int start, int step, double level, int low, int high)
{
    int i = start;
    while (i + step >= low && i + step <= high && curve[static_cast<size_t>(i + step)] > level) i += step;
    return i;
}

// The same along one wave's flank: the walk also stops where the curve
// starts to rise into a neighbouring wave.
int FlankEnd(const std::vector<double>& curve, int start, int step, double level, int low, int high)
{
    int i = start;
    while (i + step >= low && i + step <= high) {
        const double next = curve[static_cast<size_t>(i + step)];
        if (next <= level || next > curve[static_cast<size_t>(i)]) break;
        i += step;
    }
    return i;
}

// The level `fraction` of the way from the curve's lowest value in
// [from, to] up to its value at `peak`: a wave's edge measured from the
// floor it stands on, which need not be the QRS onset's.
double LevelAbove(const std::vector<double>& curve, int from, int to, int peak, double fraction)
{
    double floor = curve[static_cast<size_t>(peak)];
    for (int i = from; i <= to; ++i) floor = std::min(floor, curve[static_cast<size_t>(i)]);
    return floor + fraction * (curve[static_cast<size_t>(peak)] - floor);
}

// The mean of the 11 samples around each sample: noise makes no flank of its own.
std::vector<double> Smoothed(const std::vector<double>& curve)
{
    const int n = static_cast<int>(curve.size());
    const int half = 5;
    std::vector<double> smooth(curve.size(), 0.0);
    for (int i = 0; i < n; ++i) {
        const int from = std::max(0, i - half);
        const int to = std::min(n - 1, i + half);
        for (int k = from; k <= to; ++k) smooth[static_cast<size_t>(i)] += curve[static_cast<size_t>(k)];
        smooth[static_cast<size_t>(i)] /= to - from + 1;
    }
    return smooth;
}

// Summed absolute slope of every lead, smoothed: the QRS makes one hump of
// it, with no dip at its peaks.
std::vector<double> SlopeCurve(const std::vector<std::vector<double>>& beats, int n)
{
    std::vector<double> slope(static_cast<size_t>(n), 0.0);
    for (const auto& beat : beats)
        for (int i = 1; i < n; ++i)
            slope[static_cast<size_t>(i)] += std::fabs(beat[static_cast<size_t>(i)] - beat[static_cast<size_t>(i - 1)]);
    return Smoothed(slope);
}

// Summed absolute deviation of every lead from its value at `reference`.
std::vector<double> DeviationCurve(const std::vector<std::vector<double>>& beats, int n, int reference)
{
    std::vector<double> deviation(static_cast<size_t>(n), 0.0);
    for (const auto& beat : beats)
        for (int i = 0; i < n; ++i)
            deviation[static_cast<size_t>(i)] += std::fabs(beat[static_cast<size_t>(i)] - beat[static_cast<size_t>(reference)]);
    return Smoothed(deviation);
}

}  // namespace

AverageFiducials MeasureAverageFiducials(const std::vector<std::vector<double>>& beats)
{
    AverageFiducials f;
    size_t length = beats.empty() ? 0 : beats.front().size();
    for (const auto& beat : beats) length = std::min(length, beat.size());
    const int n = static_cast<int>(length);
    if (n < 8) return f;
    const int last = n - 1;

    const std::vector<double> slope = SlopeCurve(beats, n);
    const int steepest = PeakIn(slope, 0, last);
    const double qrsLevel = slope[static_cast<size_t>(steepest)] * 0.1;
    f.qrsBegin = EdgeAbove(slope, steepest, -1, qrsLevel, 0, last);
    f.qrsEnd = EdgeAbove(slope, steepest, 1, qrsLevel, 0, last);

    const std::vector<double> deviation = DeviationCurve(beats, n, f.qrsBegin);
    const int pHigh = std::max(0, f.qrsBegin - 10);
    // The P wave's peak lies 20 to 180 ms before the QRS.
    const int pPeak = PeakIn(deviation, std::max(0, f.qrsBegin - 90), pHigh);
    const double pLevel = LevelAbove(deviation, std::max(0, f.qrsBegin - 90), f.qrsBegin, pPeak, 0.2);
    f.pBegin = FlankEnd(deviation, pPeak, -1, pLevel, 0, pHigh);
    f.pEnd = FlankEnd(deviation, pPeak, 1, pLevel, 0, pHigh);

    const int tLow = std::min(last, f.qrsEnd + 30);
    const int tHigh = std::min(last, f.qrsEnd + 250);
    const int tPeak = PeakIn(deviation, tLow, tHigh);
    f.tEnd = FlankEnd(deviation, tPeak, 1, LevelAbove(deviation, tPeak, tHigh, tPeak, 0.15), tLow, tHigh);
    return f;
}

void AddAverageFiducials(RecordBuilder& builder)
{
    std::vector<std::vector<double>> beats;
    for (int lead = 0; lead < rec::kRestLeadCount; ++lead) {
        const std::vector<uint8_t>* item = builder.Find(rec::kTagAverageLeadBase + static_cast<uint32_t>(lead), 0);
        if (!item) continue;
        const std::vector<int16_t> samples = ItemSamples(*item);
        beats.emplace_back(samples.begin(), samples.end());
    }
    if (beats.empty()) return;
    const AverageFiducials f = MeasureAverageFiducials(beats);
    builder.SetInt16(kTagAveragePBegin, 0, static_cast<int16_t>(f.pBegin));
    builder.SetInt16(kTagAveragePEnd, 0, static_cast<int16_t>(f.pEnd));
    builder.SetInt16(kTagAverageQrsEnd, 0, static_cast<int16_t>(f.qrsEnd));
    builder.SetInt16(kTagAverageTEnd, 0, static_cast<int16_t>(f.tEnd));
}

RecordBuilder MakeRestRecord(const RestRecordShape& shape)
{
    SynthOptions synth;
    synth.leads = shape.kind == rec::RecordKind::Rest15 ? FifteenLeads() : StandardLeads();
    synth.seconds = shape.seconds;
    synth.heartRate = shape.heartRate;
    synth.pacemaker = shape.pacemaker;
    EcgRecord ecg = Synthesize(synth);
    ecg.patient.id = "R-0001";
    ecg.patient.name = "山田 太郎";
    ecg.patient.sex = "M";
    ecg.patient.age = "63";
    ecg.patient.department = "CARD";
    DeviceRecordOptions options;
    options.kind = shape.kind;
    options.systemCode = shape.systemCode;
    // Low byte 8: a resting record whose lead III the recorder stored inverted.
    options.allowAnyCode = shape.systemCode >= 0 && (shape.systemCode & 0xFF) == 8;
    RecordBuilder builder = MakeDeviceRecord(ecg, options);
    if (shape.pacemaker && shape.olderReader) {
        std::vector<RestSpike> spikes;
        for (double t : SynthBeatTimes(synth)) {
            const long sample = std::lround(t * rec::kRecordSampleRate) - 20;
            if (sample >= 0 && sample < 0xFFFF) spikes.push_back({static_cast<uint16_t>(sample), 2});
        }
        AddRestSpikes(builder, spikes);
        std::vector<int16_t> maxima, minima;
        for (int lead = 0; lead < rec::kRestLeadCount; ++lead) {
            maxima.push_back(static_cast<int16_t>(1000 + lead));
            minima.push_back(static_cast<int16_t>(-1000 - lead));
        }
        AddRestSpikeExtremes(builder, maxima, minima, true);
    }
    return builder;
}

RestRecordFiles WriteRestRecord(const std::string& dir, const std::string& name, const RestRecordShape& shape)
{
    return WriteRestRecord(dir, name, shape, MakeRestRecord(shape));
}

RestRecordFiles WriteRestRecord(const std::string& dir, const std::string& name, const RestRecordShape& shape,
                                const RecordBuilder& items)
{
    RestRecordFiles files;
    files.record = dir + "/" + name;
    items.WriteFile(files.record, shape.olderReader ? zarn::Flavour::Older80 : zarn::Flavour::Newer90);
    const RecordXmlSource source = SourceFromRecordItems(items.Items(), shape.olderReader);
    files.xml = RecordXmlPathFor(files.record, source.time);
    WriteRecordXml(files.xml, source, shape.xml);
    return files;
}

}  // namespace morvelance
