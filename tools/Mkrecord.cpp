#include "tools/Mkrecord.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <map>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "platform/zarn/ZarnBuilder.h"
#include "tools/DeviceRecord.h"
#include "tools/EcgModel.h"
#include "tools/RecordTags.h"
#include "tools/Wfdb.h"

namespace morvelance {

namespace {

const char kUsage[] =
    "usage: morvelance-mkrecord COMMAND [OPTIONS]\n"
    "\n"
    "Writes device record files (the zarn container read by libzarn90/libzarn80).\n"
    "\n"
    "commands:\n"
    "  synth --kind KIND --out FILE [options]   a record from the synthetic ECG model\n"
    "  wfdb --record PATH --out FILE [options]  a record from a PhysioNet WFDB record\n"
    "                                           (PATH without extension; PATH.atr is used\n"
    "                                           for beats when present)\n"
    "  seeds DIR                                the fuzz seed corpus\n"
    "  samples DIR                              the bundled sample records\n"
    "  dump FILE                                list a record's items\n"
    "\n"
    "record options:\n"
    "  --kind rest12|rest15|rhythm|rr|extra     record kind (wfdb: guessed from the lead count)\n"
    "  --code N          system code 0..65535 (default: 0, 11, 10, 5, 26 by kind)\n"
    "  --any-code        accept a code whose low byte belongs to another kind\n"
    "  --flavour 90|80   container flavour: 90 = newer reader, 80 = older reader (default 90)\n"
    "  --seconds S       duration (rest: 10; synth rhythm/rr: 60; wfdb rhythm/rr: whole record)\n"
    "  --start S         wfdb: start time in the record (default 0)\n"
    "  --id TEXT --name TEXT --sex M|F --age N --department TEXT --comment TEXT\n"
    "  --time 'YYYY-MM-DD hh:mm:ss'             acquisition time\n"
    "synth options:\n"
    "  --hr BPM          heart rate (default 70)\n"
    "  --rate HZ         model sampling rate before conversion (default 500)\n"
    "  --leads N         rhythm/rr: number of leads, 1..3 (II, V5, V1; default rhythm 2, rr 1)\n"
    "  --irregular F     RR jitter as a fraction of the RR interval, 0..0.5 (default 0)\n"
    "  --noise           add baseline wander and white noise\n"
    "  --seed N          random seed for noise and jitter (default 1)\n"
    "  --pace            add pacemaker spikes\n"
    "  --help            this text\n";

class Args {
public:
    Args(const std::vector<std::string>& args, size_t from) {
        for (size_t i = from; i < args.size(); ++i) {
            const std::string& a = args[i];
            if (a.rfind("--", 0) != 0) {
                positional_.push_back(a);
                continue;
            }
            if (a == "--pace" || a == "--noise" || a == "--any-code" || a == "--help") {
                flags_[a] = "1";
                continue;
            }
            if (i + 1 >= args.size()) throw std::invalid_argument("option " + a + " needs a value");
            flags_[a] = args[++i];
        }
    }
    bool Has(const std::string& name) const { return flags_.count(name) != 0; }
    std::string Get(const std::string& name, const std::string& fallback = "") const {
        auto it = flags_.find(name);
        return it == flags_.end() ? fallback : it->second;
    }
    double Number(const std::string& name, double fallback) const {
        if (!Has(name)) return fallback;
        const std::string v = Get(name);
        char* end = nullptr;
        double d = std::strtod(v.c_str(), &end);
        if (v.empty() || *end != 0) throw std::invalid_argument("option " + name + " needs a number, not '" + v + "'");
        return d;
    }
    long Integer(const std::string& name, long fallback) const {
        if (!Has(name)) return fallback;
        const std::string v = Get(name);
        char* end = nullptr;
        long d = std::strtol(v.c_str(), &end, 0);
        if (v.empty() || *end != 0) throw std::invalid_argument("option " + name + " needs an integer, not '" + v + "'");
        return d;
    }
    const std::vector<std::string>& Positional() const { return positional_; }
    void CheckKnown(const std::vector<std::string>& known) const {
        for (const auto& kv : flags_) {
            bool ok = false;
            for (const auto& k : known) ok = ok || k == kv.first;
            if (!ok) throw std::invalid_argument("unknown option " + kv.first);
        }
    }

private:
    std::map<std::string, std::string> flags_;
    std::vector<std::string> positional_;
};

const std::vector<std::string> kRecordOptions = {"--kind", "--code",  "--any-code", "--flavour", "--seconds", "--out",
                                                 "--id",   "--name",  "--sex",      "--age",     "--department",
                                                 "--comment", "--time", "--help"};

zarn::Flavour ParseFlavour(const Args& a) {
    long f = a.Integer("--flavour", 90);
    if (f == 90 || f == 9) return zarn::Flavour::Newer90;
    if (f == 80 || f == 8) return zarn::Flavour::Older80;
    throw std::invalid_argument("--flavour must be 90 or 80");
}

void ApplyPatient(const Args& a, PatientInfo* p, DateTime* t) {
    if (a.Has("--id")) p->id = a.Get("--id");
    if (a.Has("--name")) p->name = a.Get("--name");
    if (a.Has("--sex")) {
        std::string s = a.Get("--sex");
        if (s != "M" && s != "F" && !s.empty()) throw std::invalid_argument("--sex must be M or F");
        p->sex = s;
    }
    if (a.Has("--age")) p->age = a.Get("--age");
    if (a.Has("--department")) p->department = a.Get("--department");
    if (a.Has("--comment")) p->comment = a.Get("--comment");
    if (a.Has("--time")) {
        DateTime d;
        if (std::sscanf(a.Get("--time").c_str(), "%d-%d-%d %d:%d:%d", &d.year, &d.month, &d.day, &d.hour, &d.minute,
                        &d.second) != 6 ||
            d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31 || d.hour < 0 || d.hour > 23 || d.minute < 0 ||
            d.minute > 59 || d.second < 0 || d.second > 59 || d.year < 0 || d.year > 65535)
            throw std::invalid_argument("--time must look like '2024-04-01 09:30:00'");
        *t = d;
    }
}

PatientInfo DefaultPatient() {
    PatientInfo p;
    p.id = "MV-0001";
    p.name = "山田 太郎";
    p.sex = "M";
    p.age = "65";
    p.department = "ABC";
    p.comment = "洞調律（合成波形）";
    return p;
}

std::vector<LeadId> RhythmLeads(int n) {
    std::vector<LeadId> all = {LeadId::II, LeadId::V5, LeadId::V1};
    if (n < 1 || n > 3) throw std::invalid_argument("--leads must be 1..3");
    all.resize(static_cast<size_t>(n));
    return all;
}

// The synthetic signals and record options for a kind.
EcgRecord SynthFor(rec::RecordKind kind, const SynthOptions& base, int rhythmLeads) {
    SynthOptions s = base;
    switch (kind) {
        case rec::RecordKind::Rest12: s.leads = StandardLeads(); break;
        case rec::RecordKind::Rest15: s.leads = FifteenLeads(); break;
        case rec::RecordKind::ExtraLeads: s.leads = ExtraLeadSet(); break;
        case rec::RecordKind::Rhythm:
        case rec::RecordKind::Rr: s.leads = RhythmLeads(rhythmLeads); break;
    }
    EcgRecord ecg = Synthesize(s);
    std::ostringstream src;
    src << "synthetic " << KindName(kind) << " " << s.heartRate << "bpm";
    ecg.source = src.str();
    return ecg;
}

void EnsureDir(const std::string& dir) {
    if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST)
        throw std::runtime_error("cannot create folder " + dir + ": " + std::strerror(errno));
}

std::string Join(const std::string& dir, const std::string& name) {
    return (!dir.empty() && dir.back() == '/') ? dir + name : dir + "/" + name;
}

int CmdSynth(const Args& a, std::ostream& out) {
    std::vector<std::string> known = kRecordOptions;
    known.insert(known.end(), {"--hr", "--rate", "--leads", "--irregular", "--noise", "--seed", "--pace"});
    a.CheckKnown(known);
    if (!a.Has("--kind")) throw std::invalid_argument("synth needs --kind (rest12, rest15, rhythm, rr or extra)");
    if (!a.Has("--out")) throw std::invalid_argument("synth needs --out FILE");
    rec::RecordKind kind;
    if (!ParseKind(a.Get("--kind"), &kind)) throw std::invalid_argument("unknown --kind '" + a.Get("--kind") + "'");
    const bool rest = kind == rec::RecordKind::Rest12 || kind == rec::RecordKind::Rest15 || kind == rec::RecordKind::ExtraLeads;

    SynthOptions s;
    s.heartRate = a.Number("--hr", 70);
    s.seconds = a.Number("--seconds", rest ? rec::kRestSeconds : 60);
    s.sampleRate = a.Number("--rate", 500);
    s.irregularity = a.Number("--irregular", 0);
    s.noise = a.Has("--noise");
    s.pacemaker = a.Has("--pace");
    s.seed = static_cast<uint64_t>(a.Integer("--seed", 1));
    const int leads = static_cast<int>(a.Integer("--leads", kind == rec::RecordKind::Rr ? 1 : 2));

    DeviceRecordOptions o;
    o.kind = kind;
    o.systemCode = static_cast<int>(a.Integer("--code", -1));
    o.allowAnyCode = a.Has("--any-code");
    o.seconds = s.seconds;
    ResolveSystemCode(o);  // report a bad code before the work

    EcgRecord ecg = SynthFor(kind, s, leads);
    ecg.patient = DefaultPatient();
    ApplyPatient(a, &ecg.patient, &ecg.time);
    RecordBuilder b = MakeDeviceRecord(ecg, o);
    const std::string path = a.Get("--out");
    b.WriteFile(path, ParseFlavour(a));
    out << "wrote " << path << " (" << KindName(kind) << ", code " << ResolveSystemCode(o) << ", "
        << b.Items().ItemCount() << " items)\n";
    return 0;
}

int CmdWfdb(const Args& a, std::ostream& out) {
    std::vector<std::string> known = kRecordOptions;
    known.insert(known.end(), {"--record", "--start"});
    a.CheckKnown(known);
    if (!a.Has("--record")) throw std::invalid_argument("wfdb needs --record PATH (without extension)");
    if (!a.Has("--out")) throw std::invalid_argument("wfdb needs --out FILE");
    std::string path = a.Get("--record");
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".hea") == 0) path.resize(path.size() - 4);

    WfdbRecord wf;
    std::string error;
    if (!ReadWfdbRecord(path, &wf, &error)) throw std::runtime_error(error);
    EcgRecord ecg = WfdbToEcg(wf, wf.header.recordName);
    std::vector<WfdbAnnotation> annotations;
    std::FILE* atr = std::fopen((path + ".atr").c_str(), "rb");
    if (atr) {
        std::fclose(atr);
        if (!ReadWfdbAnnotations(path + ".atr", &annotations, &error)) throw std::runtime_error(error);
        ecg.beats = BeatPositions(annotations);
    }

    rec::RecordKind kind;
    if (a.Has("--kind")) {
        if (!ParseKind(a.Get("--kind"), &kind)) throw std::invalid_argument("unknown --kind '" + a.Get("--kind") + "'");
    } else {
        kind = ecg.leads.size() <= 3 ? rec::RecordKind::Rhythm
               : ecg.leads.size() >= 15 ? rec::RecordKind::Rest15
                                        : rec::RecordKind::Rest12;
    }
    DeviceRecordOptions o;
    o.kind = kind;
    o.systemCode = static_cast<int>(a.Integer("--code", -1));
    o.allowAnyCode = a.Has("--any-code");
    o.seconds = a.Number("--seconds", 0);
    o.startSeconds = a.Number("--start", 0);

    ecg.patient.id = wf.header.recordName;
    ecg.patient.name = "PhysioNet " + wf.header.recordName;
    ecg.patient.department = "PHYSIONET";
    ecg.patient.comment = "converted from WFDB record " + wf.header.recordName;
    ApplyPatient(a, &ecg.patient, &ecg.time);
    RecordBuilder b = MakeDeviceRecord(ecg, o);
    const std::string outPath = a.Get("--out");
    b.WriteFile(outPath, ParseFlavour(a));
    out << "wrote " << outPath << " (" << KindName(kind) << " from " << path << ", " << ecg.leads.size()
        << " leads, " << b.Items().ItemCount() << " items)\n";
    return 0;
}

int CmdDump(const Args& a, std::ostream& out) {
    a.CheckKnown({});
    if (a.Positional().size() != 1) throw std::invalid_argument("dump needs one FILE");
    std::vector<uint8_t> bytes;
    std::string error;
    if (!zarn::ReadWholeFile(a.Positional()[0], &bytes, &error)) throw std::runtime_error(error);
    zarn::ContainerBuilder items;
    uint8_t flavour = 0;
    zarn::ParseResult r = zarn::LoadContainer(bytes.data(), bytes.size(), &items, &flavour);
    if (!r.ok()) {
        std::ostringstream m;
        m << a.Positional()[0] << ": not a valid record: " << zarn::StatusName(r.status) << " at byte " << r.errorOffset;
        throw std::runtime_error(m.str());
    }
    out << a.Positional()[0] << ": flavour " << int(flavour) << "0, " << items.ItemCount() << " items, " << bytes.size()
        << " bytes\n";
    for (const auto& kv : items.Items()) {
        out << std::setw(6) << kv.first.first << " [" << kv.first.second << "] " << kv.second.size() << " bytes:";
        for (size_t i = 0; i < kv.second.size() && i < 16; ++i)
            out << " " << std::hex << std::setw(2) << std::setfill('0') << int(kv.second[i]) << std::dec << std::setfill(' ');
        if (kv.second.size() > 16) out << " ...";
        out << "\n";
    }
    return 0;
}

}  // namespace

std::vector<std::string> WriteSeedCorpus(const std::string& dir) {
    EnsureDir(dir);
    std::vector<std::string> files;
    auto write = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
        std::string path = Join(dir, name), error;
        if (!zarn::WriteWholeFile(path, bytes, &error)) throw std::runtime_error(error);
        files.push_back(path);
    };
    const zarn::Flavour f90 = zarn::Flavour::Newer90, f80 = zarn::Flavour::Older80;
    zarn::ContainerBuilder empty;
    write("empty_90.zrc", empty.Serialize(f90));
    write("empty_80.zrc", empty.Serialize(f80));

    // Small records of every kind: 0.1-0.6 s of signal, short average beats.
    SynthOptions s;
    s.heartRate = 120;
    s.firstBeatSeconds = 0.05;
    std::vector<uint8_t> rest12;
    struct Seed {
        rec::RecordKind kind;
        int code;
        double seconds;
        zarn::Flavour flavour;
        const char* name;
    };
    const Seed seeds[] = {
        {rec::RecordKind::Rest12, 0, 0.1, f90, "rest12_90.zrc"},  {rec::RecordKind::Rest12, 254, 0.1, f80, "rest12_80.zrc"},
        {rec::RecordKind::Rest15, 11, 0.1, f90, "rest15_90.zrc"}, {rec::RecordKind::Rest15, 227, 0.1, f80, "rest15_80.zrc"},
        {rec::RecordKind::Rhythm, 10, 0.6, f90, "rhythm_90.zrc"}, {rec::RecordKind::Rhythm, 218, 0.6, f80, "rhythm_80.zrc"},
        {rec::RecordKind::Rr, 5, 0.6, f90, "rr_90.zrc"},          {rec::RecordKind::ExtraLeads, 26, 0.1, f80, "extra_80.zrc"},
    };
    for (const Seed& seed : seeds) {
        s.seconds = seed.seconds;
        EcgRecord ecg = SynthFor(seed.kind, s, 1);
        ecg.patient = DefaultPatient();
        DeviceRecordOptions o;
        o.kind = seed.kind;
        o.systemCode = seed.code;
        o.seconds = seed.seconds;
        o.averageSamples = 12;
        std::vector<uint8_t> bytes = MakeDeviceRecord(ecg, o).Serialize(seed.flavour);
        if (seed.kind == rec::RecordKind::Rest12 && seed.flavour == f90) rest12 = bytes;
        write(seed.name, bytes);
    }

    // Damaged variants of the 12-lead seed.
    using namespace zarn;
    std::vector<uint8_t> m = rest12;
    m[m.size() / 2] ^= 0x55;  // checksum mismatch
    write("bad_checksum.zrc", m);
    write("truncated.zrc", std::vector<uint8_t>(rest12.begin(), rest12.begin() + static_cast<long>(rest12.size() * 2 / 3)));
    m = rest12;
    m[kOffsetVersion] = 2;
    UpdateChecksum(m.data(), m.size());
    write("bad_version.zrc", m);
    m = rest12;
    m[kOffsetFlavour] = 7;
    UpdateChecksum(m.data(), m.size());
    write("unknown_flavour.zrc", m);
    m = rest12;
    WriteU32(m.data() + kHeaderSize + 8, 0x7FFFFFF0u);  // first item's length runs out of the file
    UpdateChecksum(m.data(), m.size());
    write("item_out_of_range.zrc", m);
    m = rest12;
    WriteU32(m.data() + kHeaderSize, 60000u);  // first item's tag above the second's
    UpdateChecksum(m.data(), m.size());
    write("out_of_order.zrc", m);
    m = rest12;
    m.insert(m.end(), {1, 2, 3, 4, 5});
    WriteU32(m.data() + kOffsetTotalLength, static_cast<uint32_t>(m.size()));
    UpdateChecksum(m.data(), m.size());
    write("trailing_bytes.zrc", m);
    return files;
}

std::vector<std::string> WriteSampleRecords(const std::string& dir) {
    EnsureDir(dir);
    std::vector<std::string> files;
    struct Sample {
        rec::RecordKind kind;
        double hr;
        double seconds;
        double irregular;
        int leads;
        const char* id;
        const char* name;
        const char* sex;
        const char* age;
        const char* comment;
        const char* stem;
    };
    const Sample samples[] = {
        {rec::RecordKind::Rest12, 70, 10, 0, 2, "MV-1001", "山田 太郎", "M", "65", "洞調律", "rest12"},
        {rec::RecordKind::Rest15, 62, 10, 0, 2, "MV-1002", "佐藤 花子", "F", "72", "洞徐脈", "rest15"},
        {rec::RecordKind::Rhythm, 85, 60, 0.08, 2, "MV-1003", "鈴木 一郎", "M", "58", "リズム記録", "rhythm"},
        {rec::RecordKind::Rr, 75, 60, 0.05, 1, "MV-1004", "田中 美咲", "F", "44", "RR間隔", "rr"},
        {rec::RecordKind::ExtraLeads, 68, 10, 0, 2, "MV-1005", "高橋 健", "M", "80", "追加誘導", "extra"},
    };
    int seed = 11;
    for (const Sample& sm : samples) {
        SynthOptions s;
        s.heartRate = sm.hr;
        s.seconds = sm.seconds;
        s.irregularity = sm.irregular;
        s.noise = true;
        s.seed = static_cast<uint64_t>(seed++);
        EcgRecord ecg = SynthFor(sm.kind, s, sm.leads);
        ecg.patient.id = sm.id;
        ecg.patient.name = sm.name;
        ecg.patient.sex = sm.sex;
        ecg.patient.age = sm.age;
        ecg.patient.department = "ABC";
        ecg.patient.comment = sm.comment;
        DeviceRecordOptions o;
        o.kind = sm.kind;
        o.seconds = sm.seconds;
        RecordBuilder b = MakeDeviceRecord(ecg, o);
        for (zarn::Flavour f : {zarn::Flavour::Newer90, zarn::Flavour::Older80}) {
            if (sm.kind == rec::RecordKind::ExtraLeads && f == zarn::Flavour::Older80) continue;
            std::string path = Join(dir, std::string(sm.stem) + (f == zarn::Flavour::Newer90 ? "_90.ecg" : "_80.ecg"));
            b.WriteFile(path, f);
            files.push_back(path);
        }
    }
    return files;
}

int RunMkrecord(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        if (args.empty()) {
            err << kUsage;
            return 2;
        }
        const std::string& cmd = args[0];
        if (cmd == "--help" || cmd == "-h" || cmd == "help") {
            out << kUsage;
            return 0;
        }
        Args a(args, 1);
        if (a.Has("--help")) {
            out << kUsage;
            return 0;
        }
        if (cmd == "synth") return CmdSynth(a, out);
        if (cmd == "wfdb") return CmdWfdb(a, out);
        if (cmd == "dump") return CmdDump(a, out);
        if (cmd == "seeds" || cmd == "samples") {
            a.CheckKnown({});
            if (a.Positional().size() != 1) throw std::invalid_argument(cmd + " needs one DIR");
            auto files = cmd == "seeds" ? WriteSeedCorpus(a.Positional()[0]) : WriteSampleRecords(a.Positional()[0]);
            out << "wrote " << files.size() << " files to " << a.Positional()[0] << "\n";
            return 0;
        }
        err << "morvelance-mkrecord: unknown command '" << cmd << "' (try --help)\n";
        return 2;
    } catch (const std::invalid_argument& e) {
        err << "morvelance-mkrecord: " << e.what() << " (try --help)\n";
        return 2;
    } catch (const std::exception& e) {
        err << "morvelance-mkrecord: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace morvelance
