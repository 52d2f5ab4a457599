#include "tools/MferWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "tools/EcgModel.h"
#include "tools/SignalOps.h"
#include "tools/TextCodec.h"

namespace morvelance {

namespace {

enum : uint8_t {
    kByteOrder = 0x01, kVersion = 0x02, kCharset = 0x03, kBlock = 0x04, kChannels = 0x05,
    kSequences = 0x06, kWaveformType = 0x08, kLead = 0x09, kDataType = 0x0A, kInterval = 0x0B,
    kSense = 0x0C, kOffset = 0x0D, kFilter = 0x11, kWave = 0x1E, kAttribute = 0x3F,
    kPreamble = 0x40, kGroup = 0x67, kEnd = 0x80, kPatientName = 0x81, kPatientId = 0x82, kTime = 0x85,
};

using Bytes = std::vector<uint8_t>;

const int kDominantBeat = 9;          // waveform type of averaged (dominant) beats
const double kBeatSeconds = 1.2;      // the device records' average beat: 600 samples at 500 Hz

void PutLength(Bytes& out, size_t length, bool fourBytes)
{
    if (length < 0x80 && !fourBytes) {
        out.push_back(uint8_t(length));
        return;
    }
    int count = fourBytes ? 4 : length <= 0xFF ? 1 : length <= 0xFFFF ? 2 : length <= 0xFFFFFF ? 3 : 4;
    out.push_back(uint8_t(0x80 | count));
    for (int i = count - 1; i >= 0; --i) out.push_back(uint8_t(length >> (8 * i)));
}

void PutDefinition(Bytes& out, uint8_t tag, const Bytes& value, bool fourBytes = false)
{
    out.push_back(tag);
    PutLength(out, value.size(), fourBytes);
    out.insert(out.end(), value.begin(), value.end());
}

void PutNumber(Bytes& out, uint64_t value, int bytes, bool bigEndian)
{
    for (int i = 0; i < bytes; ++i) {
        int shift = bigEndian ? 8 * (bytes - 1 - i) : 8 * i;
        out.push_back(uint8_t(value >> shift));
    }
}

Bytes Number(uint64_t value, int bytes, bool bigEndian)
{
    Bytes b;
    PutNumber(b, value, bytes, bigEndian);
    return b;
}

Bytes Text(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// Raw values of unsigned data types are shifted by this offset, written
// as the offset definition, so that negative voltages fit.
int64_t OffsetOf(int dataType)
{
    switch (dataType) {
    case 1: case 4: return -32768;
    case 3: return -128;
    case 6: return -2147483648LL;
    default: return 0;
    }
}

void RangeOf(int dataType, double* low, double* high)
{
    switch (dataType) {
    case 0: case 1: case 4: *low = -32768; *high = 32767; break;
    case 2: case 6: *low = -2147483648.0; *high = 2147483647.0; break;
    case 3: case 5: *low = -128; *high = 127; break;
    default: *low = -1e300; *high = 1e300; break;
    }
}

int SizeOf(int dataType)
{
    static const int kSizes[] = {2, 2, 4, 1, 2, 1, 4, 4, 8};
    return dataType >= 0 && dataType <= 8 ? kSizes[dataType] : 0;
}

void PutSample(Bytes& out, double microvolts, const MferOptions& o)
{
    double raw = MferRawValue(microvolts, o);
    const bool be = o.bigEndian;
    if (o.dataType == 7) {
        float f = float(raw);
        uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        PutNumber(out, bits, 4, be);
        return;
    }
    if (o.dataType == 8) {
        uint64_t bits;
        std::memcpy(&bits, &raw, sizeof bits);
        PutNumber(out, bits, 8, be);
        return;
    }
    int64_t stored = int64_t(raw) - OffsetOf(o.dataType);
    PutNumber(out, uint64_t(stored), SizeOf(o.dataType), be);
}

std::string EncodedText(const std::string& utf8, bool keepUtf8)
{
    if (keepUtf8) return utf8;
    std::string out, error;
    if (!EncodeText(utf8, TextEncoding::Cp932, &out, &error)) return utf8;
    return out;
}

Bytes ChannelNumber(int channel, bool wide)
{
    if (!wide) return Bytes{uint8_t(channel)};
    return Bytes{uint8_t(0x80 | (channel >> 7)), uint8_t(channel & 0x7F)};
}

std::vector<const EcgLead*> LeadsToWrite(const EcgRecord& record, const MferOptions& o)
{
    std::vector<const EcgLead*> leads;
    if (!o.onlyIndependentLeads) {
        for (const EcgLead& lead : record.leads) leads.push_back(&lead);
        return leads;
    }
    const LeadId kIndependent[] = {LeadId::I, LeadId::II, LeadId::V1, LeadId::V2,
                                   LeadId::V3, LeadId::V4, LeadId::V5, LeadId::V6};
    for (LeadId id : kIndependent) {
        const EcgLead* lead = record.Find(id);
        if (!lead) return {};
        leads.push_back(lead);
    }
    return leads;
}

void PutHeader(Bytes& out, const EcgRecord& record, const MferOptions& o, size_t channels, size_t block,
               size_t sequences)
{
    const bool be = o.bigEndian;
    const std::string description = o.description.empty() ? std::string("MFR") : o.description;
    if (o.preamble) {
        std::string text = description.substr(0, 32);
        text.resize(32, ' ');
        PutDefinition(out, kPreamble, Text(text));
    }
    PutDefinition(out, kByteOrder, Bytes{uint8_t(be ? 0 : 1)});
    PutDefinition(out, kVersion, Bytes{2, 0, 0});
    if (o.utf8) PutDefinition(out, kCharset, Text("UTF-8"));
    Bytes waveformType = Number(uint64_t(o.waveformType), 2, be);
    Bytes descriptionText = Text(description);
    waveformType.insert(waveformType.end(), descriptionText.begin(), descriptionText.end());
    PutDefinition(out, kWaveformType, waveformType);
    PutDefinition(out, kChannels, Number(channels, channels > 255 ? 2 : 1, be));
    PutDefinition(out, kBlock, Number(block, 4, be));
    if (o.frames <= 1) PutDefinition(out, kSequences, Number(sequences, 4, be));
    PutDefinition(out, kDataType, Bytes{uint8_t(o.dataType)});
    if (o.intervalAsSeconds) {
        Bytes v{1, uint8_t(int8_t(-6))};
        PutNumber(v, uint64_t(std::llround(1e6 / record.sampleRate)), 4, be);
        PutDefinition(out, kInterval, v);
    } else {
        Bytes v{0, 0};
        PutNumber(v, uint64_t(std::llround(record.sampleRate)), 4, be);
        PutDefinition(out, kInterval, v);
    }
    Bytes sense{0, uint8_t(int8_t(o.senseExponent))};
    PutNumber(sense, uint64_t(int64_t(o.senseMantissa)), 4, be);
    PutDefinition(out, kSense, sense);
    if (OffsetOf(o.dataType) != 0) PutDefinition(out, kOffset, Number(uint64_t(OffsetOf(o.dataType)), 8, be));
    if (!o.filter.empty()) PutDefinition(out, kFilter, Text(o.filter));
    if (o.patient) {
        PutDefinition(out, kPatientName, Text(EncodedText(record.patient.name, o.utf8)));
        PutDefinition(out, kPatientId, Text(EncodedText(record.patient.id, o.utf8)));
    }
    if (o.time) {
        const DateTime& t = record.time;
        Bytes v = Number(uint64_t(t.year), 2, be);
        v.insert(v.end(), {uint8_t(t.month), uint8_t(t.day), uint8_t(t.hour), uint8_t(t.minute), uint8_t(t.second)});
        PutNumber(v, 0, 2, be);
        PutNumber(v, 0, 2, be);
        PutDefinition(out, kTime, v);
    }
}

void PutAttributes(Bytes& out, const std::vector<const EcgLead*>& leads, const MferOptions& o)
{
    for (size_t c = 0; c < leads.size(); ++c) {
        Bytes lead = Number(ElectrodeCode(leads[c]->id), 2, o.bigEndian);
        Bytes name = Text(leads[c]->label.empty() ? LeadName(leads[c]->id) : leads[c]->label);
        lead.insert(lead.end(), name.begin(), name.end());
        Bytes content;
        PutDefinition(content, kLead, lead);
        out.push_back(kAttribute);
        Bytes number = ChannelNumber(int(c), o.wideChannelNumbers);
        out.insert(out.end(), number.begin(), number.end());
        if (o.indefiniteAttributes) {
            out.push_back(0x80);
            out.insert(out.end(), content.begin(), content.end());
            out.insert(out.end(), {0, 0});
        } else {
            PutLength(out, content.size(), false);
            out.insert(out.end(), content.begin(), content.end());
        }
    }
}

bool WantsBeats(const EcgRecord& record, const MferOptions& o)
{
    const size_t leads = record.leads.size();
    return o.beats == MferBeats::Always || (o.beats == MferBeats::FullLeads && (leads == 12 || leads == 15));
}

std::vector<std::vector<float>> AveragedBeatsOf(const EcgRecord& record, const std::vector<const EcgLead*>& leads,
                                                const MferOptions& o)
{
    if (leads.empty() || !WantsBeats(record, o) || record.sampleRate <= 0) return {};
    std::vector<int64_t> beats = record.beats;
    if (beats.empty()) {
        std::vector<const std::vector<float>*> signals;
        for (const EcgLead* lead : leads) signals.push_back(&lead->microvolts);
        beats = DetectBeats(signals, record.sampleRate);
    }
    if (beats.empty()) return {};
    const int length = o.beatSamples > 0 ? o.beatSamples : std::max(2, int(std::lround(kBeatSeconds * record.sampleRate)));
    const int before = length * 5 / 12;
    std::vector<std::vector<float>> averages;
    for (const EcgLead* lead : leads) averages.push_back(AverageBeat(lead->microvolts, beats, before, length - before));
    return averages;
}

// The beats in a group of their own: readers that do not know groups skip
// it whole, and what it defines (type, channels, block) ends with it. The
// data type, byte order, resolution and rate are the recording's.
void PutBeats(Bytes& out, const std::vector<const EcgLead*>& leads, const std::vector<std::vector<float>>& beats,
              const MferOptions& o)
{
    const bool be = o.bigEndian;
    Bytes group;
    Bytes type = Number(kDominantBeat, 2, be);
    const Bytes text = Text("Averaged beats");
    type.insert(type.end(), text.begin(), text.end());
    PutDefinition(group, kWaveformType, type);
    PutDefinition(group, kChannels, Number(leads.size(), 1, be));
    PutDefinition(group, kBlock, Number(beats.front().size(), 4, be));
    PutDefinition(group, kSequences, Number(1, 4, be));
    PutAttributes(group, leads, o);
    Bytes data;
    for (const std::vector<float>& beat : beats)
        for (float microvolts : beat) PutSample(data, microvolts, o);
    PutDefinition(group, kWave, data, o.fourByteWaveLength);
    if (!o.openGroup) {
        PutDefinition(out, kGroup, group);
        return;
    }
    out.insert(out.end(), {kGroup, 0x80});
    out.insert(out.end(), group.begin(), group.end());
    out.insert(out.end(), {0, 0});
}

}  // namespace

std::vector<std::vector<float>> MferAveragedBeats(const EcgRecord& record, const MferOptions& options)
{
    return AveragedBeatsOf(record, LeadsToWrite(record, options), options);
}

std::string MferDescription(MferKind kind)
{
    switch (kind) {
    case MferKind::Extra3: return "MFR Extra 3 leads ECG";
    case MferKind::Extra4: return "MFR Extra 4 leads ECG";
    case MferKind::Extra6x1: return "MFR Extra 6 leads ECG (6x1)";
    case MferKind::Extra6x3x2: return "MFR Extra 6 leads ECG (3x2)";
    case MferKind::Extra7: return "MFR Extra 7 leads ECG";
    case MferKind::Freeze: return "MFR Extra Freeze ECG";
    case MferKind::Rhythm12: return "MFR Rhythm 12 leads ECG";
    case MferKind::Rhythm15: return "MFR Rhythm 15 leads ECG";
    case MferKind::Plain: break;
    }
    return "MFR Standard ECG";
}

bool ParseMferKind(const std::string& text, MferKind* kind)
{
    static const struct { const char* name; MferKind kind; } kKinds[] = {
        {"extra3", MferKind::Extra3}, {"extra4", MferKind::Extra4}, {"extra6x1", MferKind::Extra6x1},
        {"extra6x3x2", MferKind::Extra6x3x2}, {"extra7", MferKind::Extra7}, {"freeze", MferKind::Freeze},
        {"plain", MferKind::Plain}, {"rhythm12", MferKind::Rhythm12}, {"rhythm15", MferKind::Rhythm15},
    };
    for (const auto& k : kKinds) {
        if (text == k.name) {
            *kind = k.kind;
            return true;
        }
    }
    return false;
}

EcgRecord MferKindRecord(MferKind kind, int leadCount, double seconds, double rate)
{
    const std::vector<LeadId> extra = {LeadId::V3R, LeadId::V4R, LeadId::V5R, LeadId::V7,
                                       LeadId::V8, LeadId::V9, LeadId::V6};
    std::vector<LeadId> leads;
    switch (kind) {
    case MferKind::Extra3: leads.assign(extra.begin(), extra.begin() + 3); break;
    case MferKind::Extra4: leads.assign(extra.begin(), extra.begin() + 4); break;
    case MferKind::Extra6x1:
    case MferKind::Extra6x3x2: leads.assign(extra.begin(), extra.begin() + 6); break;
    case MferKind::Extra7: leads = extra; break;
    case MferKind::Rhythm12: leads = StandardLeads(); break;
    case MferKind::Rhythm15: leads = FifteenLeads(); break;
    case MferKind::Freeze:
    case MferKind::Plain:
        if (leadCount == 15) leads = FifteenLeads();
        else if (leadCount == 3) leads = {LeadId::II, LeadId::V5, LeadId::V1};
        else if (leadCount == 1) leads = {LeadId::II};
        else {
            leads = StandardLeads();
            leads.resize(size_t(std::clamp(leadCount, 1, 12)));
        }
        break;
    }
    SynthOptions options;
    options.leads = leads;
    options.seconds = seconds;
    options.sampleRate = rate;
    EcgRecord record = Synthesize(options);
    record.patient.id = "MF-0042";
    record.patient.name = "山田 花子";
    record.time = DateTime{2024, 2, 29, 13, 5, 9};
    return record;
}

double MferRawValue(double microvolts, const MferOptions& o)
{
    double unit = double(o.senseMantissa) * std::pow(10.0, o.senseExponent) * 1e6;
    double raw = unit > 0 ? microvolts / unit : 0;
    if (o.dataType == 7) return double(float(raw));
    if (o.dataType == 8) return raw;
    double low, high;
    RangeOf(o.dataType, &low, &high);
    return std::clamp(std::nearbyint(raw), low, high);
}

std::vector<uint8_t> EncodeMfer(const EcgRecord& record, const MferOptions& o)
{
    if (SizeOf(o.dataType) == 0) return {};
    const std::vector<const EcgLead*> leads = LeadsToWrite(record, o);
    if (leads.empty()) return {};
    size_t samples = record.SampleCount();
    for (const EcgLead* lead : leads) samples = std::min(samples, lead->microvolts.size());
    // Blocks of the asked length (a long lead in blocks of the longest the
    // readers take), every sample kept: what does not fill a whole block goes
    // into a short last block of its own definition.
    size_t block = o.block > 0 ? size_t(o.block) : std::min(samples, kMferMaxBlock);
    block = std::max<size_t>(std::min(block, samples), 1);
    const size_t sequences = samples / block;
    const size_t tail = samples % block;
    Bytes out;
    PutHeader(out, record, o, leads.size(), block, sequences);
    PutAttributes(out, leads, o);
    const size_t frames = size_t(std::max(o.frames, 1));
    const size_t perFrame = (sequences + frames - 1) / frames;
    for (size_t first = 0; first < sequences || (first == 0 && sequences == 0); first += perFrame) {
        Bytes data;
        const size_t last = std::min(sequences, first + perFrame);
        for (size_t s = first; s < last; ++s)
            for (const EcgLead* lead : leads)
                for (size_t i = 0; i < block; ++i) PutSample(data, lead->microvolts[s * block + i], o);
        PutDefinition(out, kWave, data, o.fourByteWaveLength);
        if (perFrame == 0) break;
    }
    if (tail > 0) {
        const bool be = o.bigEndian;
        PutDefinition(out, kBlock, Number(tail, 4, be));
        PutDefinition(out, kSequences, Number(1, 4, be));
        Bytes data;
        for (const EcgLead* lead : leads)
            for (size_t i = 0; i < tail; ++i) PutSample(data, lead->microvolts[sequences * block + i], o);
        PutDefinition(out, kWave, data, o.fourByteWaveLength);
    }
    const std::vector<std::vector<float>> beats = AveragedBeatsOf(record, leads, o);
    if (!beats.empty()) PutBeats(out, leads, beats, o);
    if (o.endTag) out.insert(out.end(), {kEnd, 0});
    return out;
}

bool WriteMferFile(const std::string& path, const EcgRecord& record, const MferOptions& options,
                   std::string* error)
{
    const std::vector<uint8_t> bytes = EncodeMfer(record, options);
    if (bytes.empty()) {
        if (error) *error = "nothing to write (no leads, missing leads or a bad data type)";
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        if (error) *error = "cannot create " + path;
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok && error) *error = "cannot write " + path;
    return ok;
}

void MferSenseFor(double microvoltsPerUnit, MferOptions* options)
{
    const double volts = microvoltsPerUnit * 1e-6;
    for (int exponent = -3; exponent >= -12; --exponent) {
        const double mantissa = volts / std::pow(10.0, exponent);
        if (mantissa >= 1 && mantissa < 1e9 && std::fabs(mantissa - std::nearbyint(mantissa)) < 1e-6 * mantissa) {
            options->senseExponent = exponent;
            options->senseMantissa = int(std::nearbyint(mantissa));
            return;
        }
    }
    options->senseExponent = -9;   // nanovolts: near enough for any gain
    options->senseMantissa = int(std::max(1.0, std::nearbyint(volts * 1e9)));
}

std::vector<std::string> WriteMferSeedCorpus(const std::string& dir)
{
    std::vector<std::string> files;
    auto write = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = dir + "/" + name;
        FILE* file = std::fopen(path.c_str(), "wb");
        if (!file) throw std::runtime_error("cannot create " + path);
        bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        if (std::fclose(file) != 0 || !ok) throw std::runtime_error("cannot write " + path);
        files.push_back(path);
    };
    const MferKind kinds[] = {MferKind::Extra3, MferKind::Extra4, MferKind::Extra6x1, MferKind::Extra6x3x2,
                              MferKind::Extra7, MferKind::Freeze, MferKind::Plain};
    int n = 0;
    for (MferKind kind : kinds) {
        EcgRecord record = MferKindRecord(kind, kind == MferKind::Freeze ? 2 : 3, 0.2, 250.0);
        record.beats = {int64_t(record.SampleCount() / 2)};
        MferOptions o;
        o.beats = MferBeats::Always;
        o.beatSamples = 12;
        o.openGroup = n % 2 == 1;
        o.description = MferDescription(kind);
        o.bigEndian = n % 2 == 0;
        o.dataType = n % 9;
        o.block = 10;
        o.frames = 1 + n % 3;
        o.indefiniteAttributes = n % 2 == 1;
        o.wideChannelNumbers = n % 3 == 1;
        o.preamble = n != 4;
        o.endTag = n != 5;
        write("mfer_seed_" + std::to_string(n++) + ".mwf", EncodeMfer(record, o));
    }
    EcgRecord twelve = MferKindRecord(MferKind::Plain, 12, 0.1, 250.0);
    twelve.beats = {12};
    MferOptions derive;
    derive.beatSamples = 10;
    derive.onlyIndependentLeads = true;
    derive.fourByteWaveLength = true;
    std::vector<uint8_t> bytes = EncodeMfer(twelve, derive);
    write("mfer_seed_derive.mwf", bytes);
    // Damaged: cut in the middle of the waveform, and a length past the end.
    write("mfer_seed_cut.mwf", std::vector<uint8_t>(bytes.begin(), bytes.begin() + bytes.size() / 2));
    std::vector<uint8_t> longer = bytes;
    for (size_t i = 0; i + 5 < longer.size(); ++i) {
        if (longer[i] == 0x1E && longer[i + 1] == 0x84) {
            longer[i + 2] = 0x7F;
            break;
        }
    }
    write("mfer_seed_overlong.mwf", longer);
    // The averaged beats' group cut inside its waveform.
    write("mfer_seed_beat_cut.mwf", std::vector<uint8_t>(bytes.begin(), bytes.end() - 12));
    return files;
}

}  // namespace morvelance
