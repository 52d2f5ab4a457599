#include "tools/RRRecord.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <vector>

#include "tools/Wfdb.h"
#include "tools/XmlTree.h"

namespace morvelance {

namespace {
// int16 1: the record carries additions (the readers take them from the record XML only then).
constexpr uint32_t kTagAdditionsFlag = 4108;
const char kReport[] = "/Rawdata/Tavrion/Report/";
const int kRR50RowMax = 10;

std::string Text(const char* format, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

// The statistics of a run of lengths (ms), those without a length left out.
struct RRStats {
    int count = 0;
    double max = 0, min = 0, mean = 0, sd = 0;
    int rr50 = 0;   // successive differences over 50 ms
};

RRStats StatsOf(const std::vector<RRInterval>& list, size_t from, size_t to)
{
    RRStats s;
    double sum = 0, squares = 0;
    int previous = -1;
    for (size_t i = from; i < to; ++i) {
        const int v = list[i].ms;
        if (v < 0) continue;
        s.max = s.count ? std::max(s.max, static_cast<double>(v)) : v;
        s.min = s.count ? std::min(s.min, static_cast<double>(v)) : v;
        sum += v;
        squares += static_cast<double>(v) * v;
        if (previous >= 0 && std::abs(v - previous) > 50) ++s.rr50;
        previous = v;
        ++s.count;
    }
    if (s.count == 0) return s;
    s.mean = sum / s.count;
    s.sd = std::sqrt(std::max(0.0, squares / s.count - s.mean * s.mean));
    return s;
}

// The first interval of each minute of running time, then the end of the list.
std::vector<size_t> MinuteBounds(const std::vector<RRInterval>& list)
{
    std::vector<size_t> bounds;
    if (list.empty()) return {0};
    bounds.push_back(0);
    long long t = 0;
    for (size_t i = 0; i + 1 < list.size(); ++i) {
        t += std::max(0, list[i].ms);
        if (t >= 60000LL * static_cast<long long>(bounds.size())) bounds.push_back(i + 1);
    }
    bounds.push_back(list.size());
    return bounds;
}

void AppendTotals(XmlElement& root, const std::vector<RRInterval>& list)
{
    const RRStats all = StatsOf(list, 0, list.size());
    long long total = 0;
    for (const RRInterval& v : list) total += std::max(0, v.ms);
    const long long seconds = total / 1000;
    char time[32];
    std::snprintf(time, sizeof time, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    const std::string r = std::string(kReport) + "Rr_total/";
    root.At(r + "Measure_time").SetText(time);
    root.At(r + "Total_beat").SetText(std::to_string(list.size() + 1));
    root.At(r + "Heart_rate").SetText(Text("%.0f", all.mean > 0 ? 60000.0 / all.mean : 0.0));
    root.At(r + "Mean_duration").SetText(Text("%.3f", all.mean / 1000));
    root.At(r + "Max_duration").SetText(Text("%.3f", all.max / 1000));
    root.At(r + "Min_duration").SetText(Text("%.3f", all.min / 1000));
    root.At(r + "Max_min_duration").SetText(Text("%.2f", all.min > 0 ? all.max / all.min : 0.0));
    root.At(r + "Sd").SetText(Text("%.3f", all.sd / 1000));
    root.At(r + "Cv").SetText(Text("%.1f", all.mean > 0 ? 100.0 * all.sd / all.mean : 0.0));
}

}  // namespace

void AppendRR50Table(XmlElement& root, const std::vector<RRInterval>& list, int rows)
{
    const std::vector<size_t> starts = MinuteBounds(list);
    const size_t minutes = starts.size() - 1;
    const size_t count = rows < 0 ? std::min<size_t>(kRR50RowMax, minutes) : std::min<size_t>(rows, minutes);
    XmlElement& rr50 = root.At(std::string(kReport) + "Rr50_info");
    rr50.SetAttribute("count", std::to_string(count));
    const char* const columns[] = {"Rr50_max", "Rr50_min", "Rr50_avg", "Rr50_hr",
                                   "Rr50_sd", "Rr50_rr_hr", "Rr50_radio", "Rr50_cv"};
    XmlElement* elements[8];
    for (int c = 0; c < 8; ++c) elements[c] = &rr50.Append(columns[c]);
    for (size_t r = 0; r < count; ++r) {
        const RRStats s = StatsOf(list, starts[r], starts[r + 1]);
        const int pairs = std::max(1, s.count - 1);
        const std::string values[8] = {Text("%.3f", s.max / 1000),
                                       Text("%.3f", s.min / 1000),
                                       Text("%.3f", s.mean / 1000),
                                       Text("%.0f", s.mean > 0 ? 60000.0 / s.mean : 0.0),
                                       Text("%.3f", s.sd / 1000),
                                       std::to_string(s.rr50),
                                       Text("%.1f", 100.0 * s.rr50 / pairs),
                                       Text("%.1f", s.mean > 0 ? 100.0 * s.sd / s.mean : 0.0)};
        for (int c = 0; c < 8; ++c)
            elements[c]->Append(std::string(columns[c]) + "_element").SetAttribute("data", values[c]);
    }
}

void AppendRRList(XmlElement& root, const std::vector<RRInterval>& list)
{
    XmlElement& element = root.At(std::string(kReport) + "Rr_list");
    element.SetAttribute("count", std::to_string(list.size()));
    for (const RRInterval& v : list) {
        XmlElement& entry = element.Append("List_time");
        entry.SetAttribute("flag", v.marked ? "true" : "false");
        if (v.ms >= 0) entry.SetAttribute("data", std::to_string(v.ms));
    }
}

std::vector<RRInterval> MakeRRIntervals(int count, int meanMs, int spreadMs, unsigned seed)
{
    std::vector<RRInterval> list(static_cast<size_t>(std::max(0, count)));
    unsigned state = seed ? seed : 1;
    for (size_t i = 0; i < list.size(); ++i) {
        state = state * 1103515245u + 12345u;   // a fixed sequence, the same on every machine
        const int offset = spreadMs > 0 ? static_cast<int>((state >> 8) % (2u * spreadMs + 1)) - spreadMs : 0;
        list[i].ms = meanMs + offset;
        list[i].marked = i % 10 == 9;
    }
    return list;
}

std::string WriteRRRecordFilesWithReport(const std::string& recordPath, const RecordBuilder& record,
                                         const RRReport& report, const RecordXmlOptions& xmlOptions,
                                         const std::string& xmlPath)
{
    record.WriteFile(recordPath, zarn::Flavour::Newer90);
    const RecordXmlSource source = SourceFromRecordItems(record.Items(), false);
    const std::string path = xmlPath.empty() ? RecordXmlPathFor(recordPath, source.time) : xmlPath;
    RecordXmlOptions options = xmlOptions;
    options.omit.push_back(XmlSection::Report);
    std::unique_ptr<XmlElement> root = MakeRecordXml(source, options);
    AppendTotals(*root, report.intervals);
    AppendRR50Table(*root, report.intervals, report.rr50Rows);
    AppendRRList(*root, report.intervals);
    WriteXmlFile(path, *root, options.encoding);
    return path;
}

int AddRRStripItems(RecordBuilder& builder)
{
    std::vector<std::pair<uint32_t, std::vector<uint8_t>>> strips;
    for (const auto& item : builder.Items().Items()) {
        if (item.first.first == rec::kTagLeadSamples) strips.emplace_back(item.first.second, item.second);
    }
    for (auto& strip : strips) builder.SetRaw(rec::kTagRrStripSamples, strip.first, std::move(strip.second));
    return static_cast<int>(strips.size());
}

RecordBuilder MakeRRDeviceRecord(const EcgRecord& ecg, const DeviceRecordOptions& options)
{
    DeviceRecordOptions rr = options;
    rr.kind = rec::RecordKind::Rr;
    RecordBuilder builder = MakeDeviceRecord(ecg, rr);
    AddRRStripItems(builder);
    builder.SetInt16(kTagAdditionsFlag, 0, 1);
    return builder;
}

std::string WriteRRRecordFiles(const std::string& recordPath, const RecordBuilder& record,
                               const RecordXmlOptions& xmlOptions, const std::string& xmlPath)
{
    record.WriteFile(recordPath, zarn::Flavour::Newer90);
    const RecordXmlSource source = SourceFromRecordItems(record.Items(), false);
    const std::string path = xmlPath.empty() ? RecordXmlPathFor(recordPath, source.time) : xmlPath;
    WriteRecordXml(path, source, xmlOptions);
    return path;
}

bool MakeRRRecordFromWfdb(const std::string& recordPath, double seconds, int leads, RecordBuilder* out,
                          std::string* error)
{
    WfdbRecord wfdb;
    if (!ReadWfdbRecord(recordPath, &wfdb, error)) return false;
    std::vector<WfdbAnnotation> annotations;
    if (!ReadWfdbAnnotations(recordPath + ".atr", &annotations, error)) return false;
    EcgRecord ecg = WfdbToEcg(wfdb, wfdb.header.recordName);
    ecg.beats = BeatPositions(annotations);
    if (leads > 0 && ecg.leads.size() > static_cast<size_t>(leads)) ecg.leads.resize(static_cast<size_t>(leads));
    ecg.patient.id = wfdb.header.recordName;
    ecg.patient.name = "PhysioNet " + wfdb.header.recordName;
    DeviceRecordOptions options;
    options.seconds = seconds;
    try {
        *out = MakeRRDeviceRecord(ecg, options);
    } catch (const std::exception& e) {
        if (error) *error = e.what();
        return false;
    }
    return true;
}

}  // namespace morvelance
