#include "tools/MasterStepRecord.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "tools/DeviceRecord.h"
#include "tools/EcgModel.h"
#include "tools/Wfdb.h"

namespace morvelance {

namespace {

using rec::kAverageBeatSamples;
using rec::kRestLeadCount;

// Sample of the average beat where the ST level is taken: 60 ms past a J
// point 50 ms after the R peak at sample 250.
const int kStPoint = rec::kAverageBeatRPosition + 55;
// The ST segment and T wave that a post-load depression lowers, with ramps.
const int kDepressionFirst = 275;
const int kDepressionLast = 420;
const int kDepressionRamp = 15;
// Record leads of II, V4, V5, V6, III and aVF: where exercise shows it.
const int kDepressedLeads[] = {1, 5, 6, 7, 8, 11};

std::string Num(long value) { return std::to_string(value); }

std::vector<int16_t> AverageBlock(const RecordBuilder& items)
{
    std::vector<int16_t> block(rec::kMasterAverageBlockSamples, 0);
    for (int lead = 0; lead < kRestLeadCount; ++lead) {
        const std::vector<uint8_t>* item = items.Find(rec::kTagAverageLeadBase + static_cast<uint32_t>(lead), 0);
        if (!item) continue;
        std::vector<int16_t> samples = ItemSamples(*item);
        samples.resize(kAverageBeatSamples, samples.empty() ? 0 : samples.back());
        std::copy(samples.begin(), samples.end(), block.begin() + lead * kAverageBeatSamples);
    }
    return block;
}

// The heart rate the device wrote into its working blob (bytes 14 and 15).
int BlobHeartRate(const RecordBuilder& items)
{
    const std::vector<uint8_t>* blob = items.Find(rec::kTagBlob1, 0);
    if (!blob || blob->size() < 16) return 0;
    return (*blob)[14] | ((*blob)[15] << 8);
}

void Depress(std::vector<int16_t>& block, double microvolts)
{
    const double units = microvolts / rec::kAverageMicrovoltsPerUnit;
    for (int lead : kDepressedLeads) {
        for (int i = kDepressionFirst; i <= kDepressionLast; ++i) {
            const int edge = std::min(i - kDepressionFirst, kDepressionLast - i);
            const double weight = edge >= kDepressionRamp ? 1.0 : 0.5 - 0.5 * std::cos(M_PI * edge / kDepressionRamp);
            int16_t& s = block[static_cast<size_t>(lead * kAverageBeatSamples + i)];
            s = static_cast<int16_t>(std::clamp<long>(std::lround(s - units * weight), -32768, 32767));
        }
    }
}

std::array<int, 12> StLevels(const std::vector<int16_t>& block, int baseline)
{
    std::array<int, 12> st{};
    for (int lead = 0; lead < kRestLeadCount; ++lead) {
        const int16_t* beat = block.data() + lead * kAverageBeatSamples;
        st[static_cast<size_t>(lead)] =
            static_cast<int>(std::lround((beat[kStPoint] - beat[baseline]) * rec::kAverageMicrovoltsPerUnit));
    }
    return st;
}

std::vector<uint8_t> MinuteSecond(int minute, int second)
{
    return {static_cast<uint8_t>(static_cast<int8_t>(minute)), static_cast<uint8_t>(static_cast<int8_t>(second))};
}

template <class T> T At(const std::vector<T>& values, size_t index, T fallback)
{
    return index < values.size() ? values[index] : fallback;
}

}  // namespace

MasterStepRecord MakeMasterStepRecord(const EcgRecord& rest, const std::vector<EcgRecord>& loads,
                                      const MasterStepOptions& options)
{
    const unsigned low = options.systemCode & 0xFF;
    if (low != 243 && low != 244) throw std::invalid_argument("a master-step record needs a code of low byte 243 or 244");

    MasterStepRecord record;
    record.options = options;
    record.systemCode = options.systemCode;
    DeviceRecordOptions device;
    device.kind = rec::RecordKind::Rest12;
    device.systemCode = options.systemCode;
    device.startSeconds = options.restStartSeconds;
    record.items = MakeDeviceRecord(rest, device);
    record.restBlock = AverageBlock(record.items);
    int16_t baseline = 0;
    if (const std::vector<uint8_t>* item = record.items.Find(rec::kTagAverageBaseline, 0)) ItemInt16(*item, &baseline);
    record.baseline = std::clamp<int>(baseline, 0, kAverageBeatSamples - 1);
    record.restST = StLevels(record.restBlock, record.baseline);
    record.restHeartRate = BlobHeartRate(record.items);

    for (size_t k = 0; k < loads.size(); ++k) {
        device.startSeconds = At(options.loadStartSeconds, k, 0.0);
        const RecordBuilder loadItems = MakeDeviceRecord(loads[k], device);
        std::vector<int16_t> block = AverageBlock(loadItems);
        Depress(block, At(options.stDepression, k, 0.0));
        record.loadST.push_back(StLevels(block, record.baseline));
        record.loadHeartRates.push_back(BlobHeartRate(loadItems));
        record.items.SetSamples(rec::kTagMasterLoadAverage, static_cast<uint32_t>(k), block);
        record.items.SetRaw(rec::kTagMasterLoadTime, static_cast<uint32_t>(k),
                            MinuteSecond(At(options.loadMinutes, k, static_cast<int>(k) * 2 + 1), 0));
        record.loadBlocks.push_back(std::move(block));
    }

    record.items.SetSamples(rec::kTagMasterRestAverage, 0, record.restBlock);
    const int descent = options.descentTable;
    if (descent >= 1 && static_cast<size_t>(descent) <= record.loadBlocks.size()) {
        record.items.SetSamples(rec::kTagMasterDescentAverage, 0, record.loadBlocks[static_cast<size_t>(descent - 1)]);
        record.items.SetRaw(rec::kTagMasterDescentTime, 0,
                            MinuteSecond(At(options.loadMinutes, static_cast<size_t>(descent - 1), descent * 2 - 1), 0));
    }
    std::vector<uint8_t> filter(64, 0);
    filter[0] = options.filterFixed ? 1 : 0;
    record.items.SetRaw(rec::kTagMasterFilterFixed, 0, std::move(filter));
    record.items.SetInt16(rec::kTagAdditionsPresent, 0, 1);
    return record;
}

// ---- the record XML ----------------------------------------------------------------------------

namespace {

const std::string kReport = "/Rawdata/Tavrion/Report/";

void AppendStm(XmlElement& parent, const std::array<int, 12>& st)
{
    XmlElement& stm = parent.Append("Stm");
    for (int value : st) stm.Append("Stm_element").SetAttribute("data", Num(value));
}

void WriteRestComparison(XmlElement& root, const MasterStepRecord& r)
{
    XmlElement& rest = root.At(kReport + "Cmp_rest");
    rest.Append("Start").SetText("80");
    rest.Append("End").SetText("480");
    rest.Append("Qrs_onset").SetText(Num(r.baseline + 8));
    AppendStm(rest, r.restST);
    rest.Append("Status").SetText("1");
    rest.Append("Hr").SetText(Num(r.restHeartRate));
}

void WriteLoadComparisons(XmlElement& root, const MasterStepRecord& r, const DateTime& time)
{
    const MasterStepOptions& o = r.options;
    XmlElement& load = root.At(kReport + "Cmp_load");
    const long count = o.declaredLoadCount >= 0 ? o.declaredLoadCount : static_cast<long>(r.loadBlocks.size());
    load.SetAttribute("count", Num(count));
    load.SetAttribute("descent_table", Num(o.descentTable));
    load.SetAttribute("descent_lead", Num(o.descentLead));
    for (size_t k = 0; k < r.loadBlocks.size(); ++k) {
        XmlElement& e = load.Append("Cmp_load_element");
        e.Append("Start").SetText("80");
        e.Append("End").SetText("480");
        e.Append("Qrs_onset").SetText(Num(r.baseline + 8));
        AppendStm(e, r.loadST[k]);
        XmlElement& pec = e.Append("Pec_time");
        pec.SetAttribute("style", "Date");
        pec.SetAttribute("year", Num(time.year));
        pec.SetAttribute("month", Num(time.month));
        pec.SetAttribute("day", Num(time.day));
        pec.SetAttribute("hour", Num(time.hour));
        pec.SetAttribute("minute", Num(At(o.loadMinutes, k, static_cast<int>(k) * 2 + 1)));
        pec.SetAttribute("second", "0");
        e.Append("Status").SetText("1");
        e.Append("Hr").SetText(Num(r.loadHeartRates[k]));
    }
}

// The heart rate and ST of every lead over the examination: rest, the peak
// right after the load (the first comparison), then back towards rest.
void WriteSummaryTrend(XmlElement& root, const MasterStepRecord& r)
{
    const int points = std::max(0, r.options.trendPoints);
    XmlElement& trend = root.At(kReport + "Summary_trend");
    trend.SetAttribute("count", Num(points));
    XmlElement& status = trend.Append("Status");
    XmlElement& times = trend.Append("Trend_time");
    XmlElement& hrs = trend.Append("Trend_hr");
    XmlElement& values = trend.Append("Trend");
    const int peakHr = r.loadHeartRates.empty() ? r.restHeartRate : r.loadHeartRates.front();
    const std::array<int, 12>& peakSt = r.loadST.empty() ? r.restST : r.loadST.front();
    for (int i = 0; i < points; ++i) {
        // 0 at rest, 1 at the peak, decaying by half every further point.
        const double f = i == 0 ? 0.0 : std::pow(0.5, i - 1);
        status.Append("Status_element").SetAttribute("data", i == r.options.clearedTrendPoint ? "0" : "1");
        times.Append("Trend_time_element").SetText(Num(static_cast<long>(r.options.trendStepSeconds) * i));
        hrs.Append("Trend_hr_element").SetText(Num(std::lround(r.restHeartRate + (peakHr - r.restHeartRate) * f)));
        XmlElement& point = values.Append("Trend_element");
        const bool missing = i == r.options.missingStTrendPoint;
        for (size_t lead = 0; lead < 12; ++lead)
            point.Append("Trend_value")
                .SetAttribute("data", missing ? std::string("-32768")
                                              : Num(std::lround(r.restST[lead] + (peakSt[lead] - r.restST[lead]) * f)));
    }
}

}  // namespace

std::unique_ptr<XmlElement> MakeMasterStepXml(const MasterStepRecord& record, const RecordXmlOptions& options)
{
    const RecordXmlSource source = SourceFromRecordItems(record.items.Items(), false);
    RecordXmlOptions own = options;
    const bool report = std::find(options.omit.begin(), options.omit.end(), XmlSection::Report) == options.omit.end();
    if (report) own.omit.push_back(XmlSection::Report);
    std::unique_ptr<XmlElement> root = MakeRecordXml(source, own);
    if (!report) return root;
    WriteRestComparison(*root, record);
    WriteLoadComparisons(*root, record, source.time);
    WriteSummaryTrend(*root, record);
    return root;
}

void WriteMasterStepXml(const std::string& path, const MasterStepRecord& record, const RecordXmlOptions& options)
{
    WriteXmlFile(path, *MakeMasterStepXml(record, options), options.encoding);
}

namespace {

EcgRecord SampleBeats(double heartRate, uint64_t seed)
{
    SynthOptions synth;
    synth.heartRate = heartRate;
    synth.noise = true;
    synth.seed = seed;
    EcgRecord ecg = Synthesize(synth);
    ecg.patient.id = "MS-0001";
    ecg.patient.name = "高橋 健一";
    ecg.patient.sex = "M";
    ecg.patient.age = "58";
    ecg.patient.department = "CAR";
    return ecg;
}

std::string WriteSample(const std::string& dir, const std::string& stem, const MasterStepRecord& record)
{
    const std::string path = dir + "/" + stem + ".ecg";
    record.items.WriteFile(path, zarn::Flavour::Newer90);
    const RecordXmlSource source = SourceFromRecordItems(record.items.Items(), false);
    WriteMasterStepXml(RecordXmlPathFor(path, source.time), record);
    return path;
}

}  // namespace

std::vector<std::string> WriteMasterStepSamples(const std::string& dir, const std::string& wfdbRecord)
{
    std::vector<std::string> paths;
    const MasterStepRecord synthetic = MakeMasterStepRecord(
        SampleBeats(64, 11), {SampleBeats(118, 12), SampleBeats(102, 13), SampleBeats(84, 14)}, MasterStepOptions());
    paths.push_back(WriteSample(dir, "mstep243", synthetic));
    if (wfdbRecord.empty()) return paths;

    WfdbRecord wfdb;
    std::string error;
    if (!ReadWfdbRecord(wfdbRecord, &wfdb, &error)) throw std::runtime_error(error);
    const EcgRecord ecg = WfdbToEcg(wfdb, wfdbRecord);
    MasterStepOptions options;
    options.systemCode = 244;
    // Three further 10-second stretches of the one recording stand for the
    // post-load recordings; the depression marks them as post-load beats.
    const double seconds = static_cast<double>(ecg.SampleCount()) / ecg.sampleRate;
    for (int k = 1; k <= 3; ++k) options.loadStartSeconds.push_back(std::max(0.0, std::min(k * 10.0, seconds - 10.0)));
    paths.push_back(WriteSample(dir, "mstep244", MakeMasterStepRecord(ecg, {ecg, ecg, ecg}, options)));
    return paths;
}

}  // namespace morvelance
