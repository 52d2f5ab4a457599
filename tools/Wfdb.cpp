#include "tools/Wfdb.h"

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>


namespace morvelance {

namespace {

std::string Trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
    return s.substr(a, b - a);
}

std::vector<std::string> Split(const std::string& s) {
    std::vector<std::string> out;
    std::istringstream in(s);
    std::string t;
    while (in >> t) out.push_back(t);
    return out;
}

bool ParseDouble(const std::string& s, double* v) {
    if (s.empty()) return false;
    char* end = nullptr;
    *v = std::strtod(s.c_str(), &end);
    return end && *end == 0;
}

bool ParseLong(const std::string& s, long long* v) {
    if (s.empty()) return false;
    char* end = nullptr;
    *v = std::strtoll(s.c_str(), &end, 10);
    return end && *end == 0;
}

std::string Folder(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

bool ReadBytes(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
    bytes->clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return Fail(error, "cannot open " + path + ": " + std::strerror(errno));
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes->insert(bytes->end(), buf, buf + n);
    const bool bad = std::ferror(f) != 0;
    std::fclose(f);
    return bad ? Fail(error, "cannot read " + path) : true;
}

}  // namespace

bool ParseWfdbHeader(const std::string& text, WfdbHeader* header, std::string* error) {
    *header = WfdbHeader();
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    bool haveRecordLine = false;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string t = Trim(line);
        if (t.empty()) continue;
        if (t[0] == '#') {
            header->comments.push_back(Trim(t.substr(1)));
            continue;
        }
        const std::string where = "header line " + std::to_string(lineNo) + ": ";
        std::vector<std::string> f = Split(t);
        if (!haveRecordLine) {
            // name[/segments] nsig [fs[/counterfreq[(base)]] [nsamp [time [date]]]]
            haveRecordLine = true;
            header->recordName = f[0].substr(0, f[0].find('/'));
            long long nsig = 0;
            if (f.size() < 2 || !ParseLong(f[1], &nsig) || nsig < 0 || nsig > 4096)
                return Fail(error, where + "bad number of signals");
            header->signalCount = static_cast<int>(nsig);
            if (f.size() >= 3) {
                std::string fs = f[2].substr(0, f[2].find_first_of("/("));
                double v = 0;
                if (!ParseDouble(fs, &v) || !(v > 0)) return Fail(error, where + "bad sampling frequency '" + f[2] + "'");
                header->samplingFrequency = v;
            }
            if (f.size() >= 4) {
                long long ns = 0;
                if (!ParseLong(f[3], &ns) || ns < 0) return Fail(error, where + "bad number of samples '" + f[3] + "'");
                header->samplesPerSignal = ns;
            }
            continue;
        }
        if (static_cast<int>(header->signals.size()) >= header->signalCount)
            continue;  // e.g. info strings after the signal lines
        // file format[xspf][:skew][+offset] [gain[(baseline)][/units] [adcres [adczero [init [checksum [blocksize [desc]]]]]]]
        WfdbSignal s;
        s.fileName = f[0];
        if (f.size() < 2) return Fail(error, where + "signal line without a format");
        {
            const std::string& fmt = f[1];
            size_t end = fmt.find_first_of("x:+");
            long long v = 0;
            if (!ParseLong(fmt.substr(0, end), &v)) return Fail(error, where + "bad format '" + fmt + "'");
            s.format = static_cast<int>(v);
            size_t x = fmt.find('x');
            if (x != std::string::npos) {
                long long spf = 0;
                std::string spfText = fmt.substr(x + 1, fmt.find_first_of(":+", x) - x - 1);
                if (!ParseLong(spfText, &spf) || spf != 1)
                    return Fail(error, where + "multi-frequency signals (format '" + fmt + "') are not supported");
            }
            size_t plus = fmt.find('+');
            if (plus != std::string::npos) {
                long long off = 0;
                if (!ParseLong(fmt.substr(plus + 1), &off) || off < 0) return Fail(error, where + "bad byte offset in '" + fmt + "'");
                s.byteOffset = static_cast<long>(off);
            }
        }
        bool baselineGiven = false;
        if (f.size() >= 3) {
            std::string g = f[2];
            size_t slash = g.find('/');
            if (slash != std::string::npos) {
                s.units = g.substr(slash + 1);
                g = g.substr(0, slash);
            }
            size_t paren = g.find('(');
            if (paren != std::string::npos) {
                size_t close = g.find(')', paren);
                long long b = 0;
                if (close == std::string::npos || !ParseLong(g.substr(paren + 1, close - paren - 1), &b))
                    return Fail(error, where + "bad baseline in '" + f[2] + "'");
                s.baseline = static_cast<int>(b);
                baselineGiven = true;
                g = g.substr(0, paren);
            }
            double gain = 0;
            if (!ParseDouble(g, &gain) || gain < 0) return Fail(error, where + "bad gain '" + f[2] + "'");
            s.gain = gain == 0 ? 200.0 : gain;
        }
        long long v = 0;
        if (f.size() >= 4) {
            if (!ParseLong(f[3], &v)) return Fail(error, where + "bad ADC resolution '" + f[3] + "'");
            s.adcResolution = static_cast<int>(v);
        }
        if (f.size() >= 5) {
            if (!ParseLong(f[4], &v)) return Fail(error, where + "bad ADC zero '" + f[4] + "'");
            s.adcZero = static_cast<int>(v);
        }
        if (f.size() >= 6) {
            if (!ParseLong(f[5], &v)) return Fail(error, where + "bad initial value '" + f[5] + "'");
            s.initialValue = static_cast<int>(v);
        }
        if (!baselineGiven) s.baseline = s.adcZero;
        // The description is the rest of the line after the 8th field.
        if (f.size() >= 9) {
            std::istringstream rest(t);
            std::string skip;
            for (int k = 0; k < 8; ++k) rest >> skip;
            std::string desc;
            std::getline(rest, desc);
            s.description = Trim(desc);
        }
        header->signals.push_back(s);
    }
    if (!haveRecordLine) return Fail(error, "header has no record line");
    if (static_cast<int>(header->signals.size()) != header->signalCount)
        return Fail(error, "header announces " + std::to_string(header->signalCount) + " signals but lists " +
                               std::to_string(header->signals.size()));
    return true;
}

// ---- decoders ---------------------------------------------------------------------

bool DecodeFormat16(const uint8_t* data, size_t size, size_t count, std::vector<int>* out) {
    size_t n = std::min(count, size / 2);
    for (size_t i = 0; i < n; ++i) out->push_back(static_cast<int16_t>(data[2 * i] | (data[2 * i + 1] << 8)));
    return n == count;
}

bool DecodeFormat61(const uint8_t* data, size_t size, size_t count, std::vector<int>* out) {
    size_t n = std::min(count, size / 2);
    for (size_t i = 0; i < n; ++i) out->push_back(static_cast<int16_t>((data[2 * i] << 8) | data[2 * i + 1]));
    return n == count;
}

bool DecodeFormat80(const uint8_t* data, size_t size, size_t count, std::vector<int>* out) {
    size_t n = std::min(count, size);
    for (size_t i = 0; i < n; ++i) out->push_back(static_cast<int>(data[i]) - 128);
    return n == count;
}

bool DecodeFormat212(const uint8_t* data, size_t size, size_t count, std::vector<int>* out) {
    // Each pair of samples is packed in 3 bytes: the first sample's low 8 bits
    // in byte 0 and its high 4 bits in the low nibble of byte 1; the second
    // sample's high 4 bits in the high nibble of byte 1 and low 8 bits in byte 2.
    size_t produced = 0;
    for (size_t p = 0; produced < count; p += 3) {
        if (p + 1 >= size) break;
        int a = data[p] | ((data[p + 1] & 0x0F) << 8);
        if (a & 0x800) a -= 0x1000;
        out->push_back(a);
        if (++produced == count) break;
        if (p + 2 >= size) break;
        int b = data[p + 2] | ((data[p + 1] & 0xF0) << 4);
        if (b & 0x800) b -= 0x1000;
        out->push_back(b);
        ++produced;
    }
    return produced == count;
}

double WfdbRecord::Microvolts(size_t signal, size_t index) const {
    const WfdbSignal& s = header.signals[signal];
    double physical = (samples[signal][index] - s.baseline) / s.gain;
    std::string u = s.units;
    std::transform(u.begin(), u.end(), u.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (u == "uv" || u == "\xc2\xb5v" || u == "microvolt" || u == "microvolts") return physical;
    if (u == "v") return physical * 1e6;
    return physical * 1000.0;  // mV and anything unnamed
}

std::vector<float> WfdbRecord::MicrovoltsOf(size_t signal) const {
    std::vector<float> out(samples[signal].size());
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<float>(Microvolts(signal, i));
    return out;
}

bool ReadWfdbRecord(const std::string& recordPath, WfdbRecord* record, std::string* error, int64_t maxSamples) {
    *record = WfdbRecord();
    std::vector<uint8_t> bytes;
    std::string err;
    if (!ReadBytes(recordPath + ".hea", &bytes, &err)) return Fail(error, err);
    std::string text(bytes.begin(), bytes.end());
    if (!ParseWfdbHeader(text, &record->header, &err)) return Fail(error, recordPath + ".hea: " + err);
    const WfdbHeader& h = record->header;
    record->samples.assign(h.signals.size(), {});
    const std::string folder = Folder(recordPath);

    // Signals sharing a file are interleaved in frames, in header order.
    std::vector<std::string> files;
    std::map<std::string, std::vector<size_t>> members;
    for (size_t i = 0; i < h.signals.size(); ++i) {
        const std::string& f = h.signals[i].fileName;
        if (!members.count(f)) files.push_back(f);
        members[f].push_back(i);
    }
    for (const std::string& file : files) {
        const std::vector<size_t>& sigs = members[file];
        const WfdbSignal& first = h.signals[sigs[0]];
        for (size_t i : sigs)
            if (h.signals[i].format != first.format || h.signals[i].byteOffset != first.byteOffset)
                return Fail(error, file + ": signals in one file must share format and offset");
        if (first.format != 16 && first.format != 212 && first.format != 61 && first.format != 80)
            return Fail(error, file + ": WFDB format " + std::to_string(first.format) + " is not supported (16, 212, 61, 80 are)");
        std::vector<uint8_t> data;
        if (!ReadBytes(folder + file, &data, &err)) return Fail(error, err);
        if (static_cast<size_t>(first.byteOffset) > data.size()) return Fail(error, file + ": byte offset past the end");
        const uint8_t* p = data.data() + first.byteOffset;
        const size_t size = data.size() - static_cast<size_t>(first.byteOffset);
        const size_t perFrame = sigs.size();
        const double bytesPerSample = first.format == 212 ? 1.5 : first.format == 80 ? 1.0 : 2.0;
        size_t framesInFile = static_cast<size_t>(static_cast<double>(size) / (bytesPerSample * perFrame));
        size_t frames = h.samplesPerSignal > 0 ? static_cast<size_t>(h.samplesPerSignal) : framesInFile;
        if (frames > framesInFile)
            return Fail(error, file + ": holds " + std::to_string(framesInFile) + " samples per signal, the header says " +
                                   std::to_string(frames));
        if (maxSamples >= 0 && frames > static_cast<size_t>(maxSamples)) frames = static_cast<size_t>(maxSamples);
        std::vector<int> flat;
        flat.reserve(frames * perFrame);
        const size_t count = frames * perFrame;
        bool ok = first.format == 16    ? DecodeFormat16(p, size, count, &flat)
                  : first.format == 212 ? DecodeFormat212(p, size, count, &flat)
                  : first.format == 61  ? DecodeFormat61(p, size, count, &flat)
                                        : DecodeFormat80(p, size, count, &flat);
        if (!ok) return Fail(error, file + ": ends early");
        // Invalid-sample markers hold the previous valid value.
        const int invalid = first.format == 212 ? -2048 : first.format == 80 ? -128 : -32768;
        for (size_t k = 0; k < perFrame; ++k) {
            std::vector<int>& dst = record->samples[sigs[k]];
            dst.resize(frames);
            int last = h.signals[sigs[k]].baseline;
            for (size_t j = 0; j < frames; ++j) {
                int v = flat[j * perFrame + k];
                if (v == invalid) v = last;
                dst[j] = last = v;
            }
        }
    }
    return true;
}

// ---- annotations ---------------------------------------------------------------------

bool ParseWfdbAnnotations(const uint8_t* data, size_t size, std::vector<WfdbAnnotation>* out, std::string* error) {
    out->clear();
    enum { SKIP = 59, NUM = 60, SUB = 61, CHN = 62, AUX = 63 };
    int64_t time = 0;
    int num = 0, chan = 0;
    size_t pos = 0;
    while (pos + 2 <= size) {
        const unsigned word = data[pos] | (data[pos + 1] << 8);
        const size_t at = pos;
        pos += 2;
        const int a = static_cast<int>(word >> 10);
        const int i = static_cast<int>(word & 0x3FF);
        if (a == 0 && i == 0) return true;  // end of file
        switch (a) {
            case SKIP: {
                if (pos + 4 > size) return Fail(error, "annotation SKIP at byte " + std::to_string(at) + " is truncated");
                const uint32_t hi = data[pos] | (data[pos + 1] << 8);
                const uint32_t lo = data[pos + 2] | (data[pos + 3] << 8);
                time += static_cast<int32_t>((hi << 16) | lo);
                pos += 4;
                break;
            }
            case NUM:
                num = i >= 512 ? i - 1024 : i;
                if (!out->empty()) out->back().num = num;
                break;
            case SUB:
                if (!out->empty()) out->back().subtype = i >= 512 ? i - 1024 : i;
                break;
            case CHN:
                chan = i;
                if (!out->empty()) out->back().chan = chan;
                break;
            case AUX: {
                const size_t padded = static_cast<size_t>(i + (i & 1));
                if (pos + padded > size) return Fail(error, "annotation AUX at byte " + std::to_string(at) + " is truncated");
                if (!out->empty()) {
                    std::string aux(reinterpret_cast<const char*>(data + pos), static_cast<size_t>(i));
                    size_t nul = aux.find('\0');
                    if (nul != std::string::npos) aux.resize(nul);
                    out->back().aux = aux;
                }
                pos += padded;
                break;
            }
            default: {
                time += i;
                WfdbAnnotation ann;
                ann.sample = time;
                ann.code = a;
                ann.num = num;
                ann.chan = chan;
                out->push_back(ann);
                break;
            }
        }
    }
    return true;  // no end marker: the bytes ran out
}

bool ReadWfdbAnnotations(const std::string& path, std::vector<WfdbAnnotation>* out, std::string* error) {
    std::vector<uint8_t> bytes;
    std::string err;
    if (!ReadBytes(path, &bytes, &err)) return Fail(error, err);
    if (!ParseWfdbAnnotations(bytes.data(), bytes.size(), out, &err)) return Fail(error, path + ": " + err);
    return true;
}

bool IsBeatCode(int code) {
    switch (code) {
        case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9: case 10: case 11:  // N L R a V F J A S E j
        case 12: case 13:                                                                         // / Q
        case 25: case 30: case 34: case 35: case 37: case 38: case 41:                          // B ? e n x f r
            return true;
        default:
            return false;
    }
}

std::vector<int64_t> BeatPositions(const std::vector<WfdbAnnotation>& annotations) {
    std::vector<int64_t> beats;
    for (const auto& a : annotations)
        if (IsBeatCode(a.code)) beats.push_back(a.sample);
    return beats;
}

// ---- conversion ---------------------------------------------------------------------------

EcgRecord WfdbToEcg(const WfdbRecord& record, const std::string& source) {
    EcgRecord ecg;
    ecg.source = source;
    ecg.sampleRate = record.header.samplingFrequency;
    for (size_t i = 0; i < record.header.signals.size(); ++i) {
        EcgLead lead;
        lead.label = record.header.signals[i].description;
        lead.id = ParseLeadName(lead.label);
        lead.microvolts = record.MicrovoltsOf(i);
        ecg.leads.push_back(std::move(lead));
    }
    for (const std::string& c : record.header.comments) {
        size_t colon = c.find(':');
        if (colon == std::string::npos) continue;
        std::string key = Trim(c.substr(0, colon)), value = Trim(c.substr(colon + 1));
        std::transform(key.begin(), key.end(), key.begin(), [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
        if (key == "age" && !value.empty() && value != "n/a") ecg.patient.age = value;
        else if (key == "sex") ecg.patient.sex = (value == "female" || value == "F") ? "F" : (value == "male" || value == "M") ? "M" : "";
        else if (key == "ecg date") {
            int d = 0, m = 0, y = 0;
            if (std::sscanf(value.c_str(), "%d/%d/%d", &d, &m, &y) == 3 && m >= 1 && m <= 12 && d >= 1 && d <= 31) {
                ecg.time.year = y;
                ecg.time.month = m;
                ecg.time.day = d;
                ecg.time.hour = ecg.time.minute = ecg.time.second = 0;
            }
        }
    }
    return ecg;
}

}  // namespace morvelance
