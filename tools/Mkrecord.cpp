#include "tools/Mkrecord.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cmath>
#include <iomanip>
#include <map>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "platform/zarn/ZarnBuilder.h"
#include "tools/DeviceRecord.h"
#include "tools/EcgModel.h"
#include "tools/Hl7Header.h"
#include "tools/MferWriter.h"
#include "tools/MasterFiles.h"
#include "tools/RecordTags.h"
#include "tools/ExtraRecord.h"
#include "tools/RRRecord.h"
#include "tools/RecordXml.h"
#include "tools/RhythmRecord.h"
#include "tools/SampleRecords.h"
#include "tools/SerialSeries.h"
#include "tools/ExaminationSamples.h"
#include "tools/ExerRecord.h"
#include "tools/MferRecordXml.h"
#include "tools/Wfdb.h"

namespace morvelance {

namespace {

const char kUsage[] =
    "usage: morvelance-mkrecord COMMAND [OPTIONS]\n"
    "\n"
    "Writes device record files (the zarn container read by libzarn90/libzarn80), their\n"
    "record XML, and the master files of the installation's work directory.\n"
    "\n"
    "commands:\n"
    "  synth --kind KIND --out FILE [options]   a record from the synthetic ECG model\n"
    "  wfdb --record PATH --out FILE [options]  a record from a PhysioNet WFDB record\n"
    "                                           (PATH without extension; PATH.atr is used\n"
    "                                           for beats when present)\n"
    "  seeds DIR                                the fuzz seed corpus\n"
    "  samples DIR                              the bundled sample records, each with its record XML\n"
    "  examinations DIR [--ptb PATH]            pacemaker, extended rhythm, extra-lead, freeze, master-step\n"
    "                                           (and with --ptb a PTB record's beats) records with their XML\n"
    "  xml --for RECORD [--out FILE] [options]  the record XML of a record (default name: beside\n"
    "                                           the record, stem + acquisition time + .xml)\n"
    "  xml --kind KIND --out FILE [options]     the record XML of the bundled sample of a kind\n"
    "  masters DIR                              the work directory's master files and quarnel.ini\n"
    "  dump FILE                                list a record's items\n"
    "  mfer --kind MKIND --out F.mwf [options]  an MFER file from the synthetic model\n"
    "  wfdb --mfer --record PATH --out F.mwf    an MFER file from a WFDB record (its own rate\n"
    "                                           and resolution)\n"
    "  mfer-seeds DIR                           the fuzz seed corpus of the MFER reader\n"
    "  series DIR                               a serial comparison: ten resting records of one patient\n"
    "                                           at increasing dates, another patient's, 12/15-lead MFER\n"
    "\n"
    "Every record and MFER file the maker writes is one the system opens (--any-code\n"
    "aside); options that would give another are refused with a message.\n"
    "\n"
    "record options:\n"
    "  --kind rest12|rest15|rhythm|rr|extra     record kind (wfdb: guessed from the lead count)\n"
    "  --code N          system code 0..65535 (default: 0, 11, 10, 5, 26 by kind)\n"
    "  --any-code        accept a code whose low byte belongs to another kind: the one option\n"
    "                    that writes a record the system may refuse, for trying how it does\n"
    "  --flavour 90|80   container flavour: 90 = newer reader, 80 = older reader (default 90)\n"
    "  --seconds S       duration (rest: 10; synth rhythm/rr: 60; wfdb rhythm/rr: whole record)\n"
    "  --start S         wfdb (also with --mfer): start time in the record (default 0)\n"
    "  --mirrored-end S  synth, mfer, wfdb --mfer: the last S seconds of every lead the mirror\n"
    "                    image of the S seconds before them: a twin of the record without the\n"
    "                    option that differs from it only where the record ends\n"
    "lead counts: a rhythm record holds 1, 3, 12 or 15 leads and an RR record 1, 2 or 3, the\n"
    "  counts the system opens; an extra-lead record three or six extra leads beside the\n"
    "  standard twelve (six when the signals have them). wfdb: a record of two signals\n"
    "  (MIT-BIH) becomes a one-lead record of its first signal; a rhythm or RR record of\n"
    "  another count keeps its first 3 signals (rhythm: 12 or 15 when it has exactly that many)\n"
    "  --id TEXT --name TEXT --sex M|F --age N --department TEXT --comment TEXT\n"
    "  --time 'YYYY-MM-DD hh:mm:ss'             acquisition time\n"
    "synth options:\n"
    "  --hr BPM          heart rate (default 70)\n"
    "  --rate HZ         model sampling rate before conversion (default 500)\n"
    "  --leads N         rhythm/rr: number of leads, 1 (II) or 3 (II, V5, V1); default rhythm 3, rr 1\n"
    "  --irregular F     RR jitter as a fraction of the RR interval, 0..0.5 (default 0)\n"
    "  --noise           add baseline wander and white noise\n"
    "  --seed N          random seed for noise and jitter (default 1)\n"
    "  --pace            add pacemaker spikes\n"
    "synth --kind exer options: --stages N (1-7, default 3), --recovery S (default 180),\n"
    "                    --every 15|60|120 (average-block seconds), --leads 3|12, --hr REST, --peak BPM\n"
    "  --xml             synth/wfdb: also write the record XML beside the record\n"
    "xml options:\n"
    "  --flavour 90|80   with --kind: the newer reader's record or a model-8000 one\n"
    "  --sjis            write Shift_JIS (code page 932) instead of UTF-8\n"
    "  --every-section   also every other kind's sections (measurements, interpretation\n"
    "                    rows, RR, master-step and exercise reports): a node for every\n"
    "                    path the layout stylesheet binds\n"
    "  --refused         beside the values the readers take, values they refuse: a\n"
    "                    Minnesota code of no valid form, IVREL rows of an unknown code and\n"
    "                    of an older wording, the judgement in an older wording, an empty\n"
    "                    analysis date beside the older one, a birthday of the year only, a\n"
    "                    medication without its index, dates that do not exist, ...\n"
    "  --bad-date feb29|month13  dates that do not exist (2003-02-29, month 13) in every\n"
    "                    date element but Analysis/Analysis_edit/Edit_date\n"
    "  --at-limit        every limited value exactly at its limit (ids 20 bytes, 12 for\n"
    "                    model-8000 records; trip counts 999, 255 / 256 there; ...)\n"
    "  --out-of-range    every limited value one past its limit, and the fields a\n"
    "                    model-8000 record lacks written into one\n"
    "  --omit LIST       leave sections out, comma-separated: patient, interpretation,\n"
    "                    additions, comment, measurements, analysis, record, wave, report,\n"
    "                    system, settings, annotations\n"
    "  --annotations N --additions N --minnesota N --ivrel N   element counts; with --for,\n"
    "                    --additions N (N > 0) also marks RECORD as carrying additions (item\n"
    "                    4108, rewritten in place, every other item kept) when it does not,\n"
    "                    since the system reads additions only from a record so marked\n"
    "  --trip N[/T]      the trip count and total as written (for instance '*': not counted)\n"
    "  --confirmation confirmed|edited|none  the doctor's confirmation: after every edit\n"
    "                    (default), before the edits (edited after it), or none\n"
    "mfer options (mfer, wfdb --mfer):\n"
    "  --kind extra3|extra4|extra6x1|extra6x3x2|extra7|freeze|plain|rhythm12|rhythm15   (mfer only)\n"
    "  --leads N         freeze: lead count 1..6 (default 6); plain: 1, 3, 12 or 15 (default 12)\n"
    "  --rate HZ         mfer: sampling rate (default 500)\n"
    "  --big-endian | --little-endian   byte order of values (default big)\n"
    "  --no-preamble --no-end --no-patient --no-time   leave those definitions out\n"
    "  --filter TEXT     filter text (default 0.05-150Hz; empty: none)\n"
    "  --dtype N         MFER data type 0..8 (default 0, 16-bit signed)\n"
    "  --frames N        split the waveform into N definitions; --block N samples per block,\n"
    "                    1..1048576 (default: the whole lead, in blocks of 1048576 when longer);\n"
    "                    what does not fill a whole block goes into a short last block\n"
    "  --four-byte-length  four-byte length form on the waveform\n"
    "  --derive          a 12-lead record as I, II, V1-V6 only\n"
    "  --utf8 --indefinite --wide-channels --interval   texts in UTF-8, open-length channel\n"
    "                    attributes, two-byte channel numbers, rate as an interval\n"
    "  --hl7 FILE        also write an HL7 aECG header for the record\n"
    "  --xml-out FILE    also write the record XML the system keeps beside the file; with\n"
    "                    --every-section, --refused, --additions N, --minnesota N, --ivrel N\n"
    "                    as for xml\n"
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
            if (a == "--pace" || a == "--noise" || a == "--any-code" || a == "--help" || a == "--xml" || a == "--sjis" ||
                a == "--at-limit" || a == "--out-of-range" || a == "--every-section" || a == "--refused" || a == "--mfer" ||
                a == "--big-endian" || a == "--little-endian" || a == "--no-preamble" || a == "--no-end" ||
                a == "--no-patient" || a == "--no-time" || a == "--four-byte-length" || a == "--derive" ||
                a == "--utf8" || a == "--indefinite" || a == "--wide-channels" || a == "--interval") {
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
                                                 "--comment", "--time", "--help", "--xml"};

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

void EnsureDir(const std::string& dir) {
    if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST)
        throw std::runtime_error("cannot create folder " + dir + ": " + std::strerror(errno));
}

std::string Join(const std::string& dir, const std::string& name) {
    return (!dir.empty() && dir.back() == '/') ? dir + name : dir + "/" + name;
}

// --xml of synth and wfdb: the record XML beside the record just written.
void WriteXmlBeside(const Args& a, const RecordBuilder& b, const std::string& recordPath, std::ostream& out) {
    if (!a.Has("--xml")) return;
    const RecordXmlSource source = SourceFromRecordItems(b.Items(), ParseFlavour(a) == zarn::Flavour::Older80);
    const std::string xmlPath = RecordXmlPathFor(recordPath, source.time);
    WriteRecordXml(xmlPath, source, RecordXmlOptions());
    out << "wrote " << xmlPath << "\n";
}

// The device record of the kind: rhythm records in the items of their code's
// family, RR records with their strip items, extra-lead records with their
// leads by lead index and the layout items that count them.
RecordBuilder MakeKindRecord(const EcgRecord& ecg, const DeviceRecordOptions& o) {
    switch (o.kind) {
        case rec::RecordKind::Rr: return MakeRRDeviceRecord(ecg, o);
        case rec::RecordKind::ExtraLeads: return MakeExtraDeviceRecord(ecg, o).items;
        case rec::RecordKind::Rhythm: {
            RecordBuilder b = MakeDeviceRecord(ecg, o);
            ApplyRhythmFamily(b);
            return b;
        }
        default: return MakeDeviceRecord(ecg, o);
    }
}

RecordXmlOptions ParseXmlOptions(const Args& a) {
    RecordXmlOptions o;
    if (a.Has("--sjis")) o.encoding = XmlEncoding::ShiftJis;
    if (a.Has("--every-section")) o.coverage = Coverage::EveryKind;
    o.refused = a.Has("--refused");
    if (a.Has("--bad-date")) {
        const std::string d = a.Get("--bad-date");
        if (d == "feb29") o.badDate = BadDate::Feb29;
        else if (d == "month13") o.badDate = BadDate::Month13;
        else throw std::invalid_argument("--bad-date must be feb29 or month13");
    }
    if (a.Has("--at-limit") && a.Has("--out-of-range"))
        throw std::invalid_argument("--at-limit and --out-of-range exclude each other");
    if (a.Has("--at-limit")) o.range = ValueRange::AtLimit;
    if (a.Has("--out-of-range")) o.range = ValueRange::OverLimit;
    if (a.Has("--omit")) {
        std::stringstream list(a.Get("--omit"));
        std::string name;
        while (std::getline(list, name, ',')) {
            XmlSection section;
            if (!ParseSection(name, &section)) throw std::invalid_argument("unknown section '" + name + "' in --omit");
            o.omit.push_back(section);
        }
    }
    auto count = [&](const char* option) {
        const long n = a.Integer(option, -1);
        if (a.Has(option) && (n < 0 || n > 100000)) throw std::invalid_argument(std::string(option) + " must be 0..100000");
        return static_cast<int>(n);
    };
    o.annotations = count("--annotations");
    o.additions = count("--additions");
    o.minnesotaRows = count("--minnesota");
    o.ivrelRows = count("--ivrel");
    if (a.Has("--trip")) {
        // N, N/T or "*" (not counted)
        const std::string trip = a.Get("--trip");
        const size_t slash = trip.find('/');
        o.trip = trip.substr(0, slash);
        if (slash != std::string::npos) o.tripTotal = trip.substr(slash + 1);
        if (o.trip.empty() || (slash != std::string::npos && o.tripTotal.empty()))
            throw std::invalid_argument("--trip takes N, N/T or '*'");
    }
    if (a.Has("--confirmation") && !ParseConfirmation(a.Get("--confirmation"), &o.confirmation))
        throw std::invalid_argument("--confirmation must be confirmed, edited or none");
    return o;
}

// The readers take a record's additions from its record XML only when the
// record says it carries them (item 4108), which resting records of the
// maker do not. When xml --for writes additions, the record is marked as
// carrying them: reloaded and written again by the container writer with
// that one item added, every other item as it was. Written beside and moved
// over the record, so that a failed write leaves the record whole.
// Returns whether the record was changed.
bool MarkCarriesAdditions(const std::string& recordPath) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!zarn::ReadWholeFile(recordPath, &bytes, &error)) throw std::runtime_error(error);
    zarn::ContainerBuilder items;
    uint8_t flavour = 0;
    const zarn::ParseResult r = zarn::LoadContainer(bytes.data(), bytes.size(), &items, &flavour);
    if (!r.ok()) throw std::runtime_error(recordPath + ": not a valid record: " + zarn::StatusName(r.status));
    if (items.Has(rec::kTagAdditionsPresent, 0)) return false;
    items.Set(rec::kTagAdditionsPresent, 0, std::vector<uint8_t>{1, 0});  // int16 1
    const std::string temporary = recordPath + ".additions";
    if (!zarn::WriteWholeFile(temporary, items.Serialize(static_cast<zarn::Flavour>(flavour)), &error)) {
        std::remove(temporary.c_str());
        throw std::runtime_error(error);
    }
    if (std::rename(temporary.c_str(), recordPath.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot replace " + recordPath + ": " + why);
    }
    return true;
}

int CmdXml(const Args& a, std::ostream& out) {
    a.CheckKnown({"--for", "--kind", "--flavour", "--out", "--sjis", "--every-section", "--refused", "--bad-date", "--at-limit",
                  "--out-of-range", "--omit", "--annotations", "--additions", "--minnesota", "--ivrel", "--trip", "--confirmation"});
    if (a.Has("--for") == a.Has("--kind")) throw std::invalid_argument("xml needs either --for RECORD or --kind KIND");
    const RecordXmlOptions options = ParseXmlOptions(a);
    RecordXmlSource source;
    std::string path = a.Get("--out");
    if (a.Has("--for")) {
        if (a.Has("--flavour")) throw std::invalid_argument("--flavour goes with --kind; --for reads it from the record");
        std::string error;
        if (!ReadRecordXmlSource(a.Get("--for"), &source, &error)) throw std::runtime_error(error);
        if (path.empty()) path = RecordXmlPathFor(a.Get("--for"), source.time);
    } else {
        rec::RecordKind kind;
        if (!ParseKind(a.Get("--kind"), &kind)) throw std::invalid_argument("unknown --kind '" + a.Get("--kind") + "'");
        if (path.empty()) throw std::invalid_argument("xml --kind needs --out FILE");
        source = SampleRecordXmlSource(kind, ParseFlavour(a) == zarn::Flavour::Older80);
    }
    WriteRecordXml(path, source, options);
    out << "wrote " << path << " (" << KindName(source.kind) << ", code " << source.systemCode
        << (source.olderReader ? ", model 8000" : "") << ")\n";
    const bool additionsWritten =
        options.additions > 0 &&
        std::find(options.omit.begin(), options.omit.end(), XmlSection::Additions) == options.omit.end();
    if (a.Has("--for") && additionsWritten && MarkCarriesAdditions(a.Get("--for")))
        out << "marked " << a.Get("--for") << " as carrying additions (item 4108), so that the system reads them\n";
    return 0;
}

// An exercise test and its record XML: the load stages, the recovery, the
// average-block interval and the twelve- or three-lead recorder.
int CmdSynthExercise(const Args& a, std::ostream& out) {
    a.CheckKnown({"--kind", "--out", "--stages", "--recovery", "--every", "--leads", "--hr", "--peak"});
    if (!a.Has("--out")) throw std::invalid_argument("synth needs --out FILE");
    ExerciseRecordOptions o;
    o.stages = static_cast<int>(a.Integer("--stages", o.stages));
    o.recoverySeconds = static_cast<int>(a.Integer("--recovery", o.recoverySeconds));
    const long every = a.Integer("--every", 15);
    if (every != 15 && every != 60 && every != 120) throw std::invalid_argument("--every takes 15, 60 or 120 seconds");
    o.intervalCode = every == 60 ? 1 : every == 120 ? 2 : 0;
    const long leads = a.Integer("--leads", 12);
    if (leads != 3 && leads != 12) throw std::invalid_argument("an exercise recorder keeps 3 or 12 leads");
    if (leads == 3) o.systemCode = 0xFFFA;
    o.restHr = static_cast<int>(a.Integer("--hr", o.restHr));
    o.peakHr = static_cast<int>(a.Integer("--peak", o.peakHr));
    if (o.recoverySeconds < 0 || o.restHr < 30 || o.peakHr <= o.restHr)
        throw std::invalid_argument("an exercise test needs a recovery of 0 s or more and a peak above the rest rate");
    const std::string xml = WriteExerciseRecordFiles(a.Get("--out"), o);
    out << "wrote " << a.Get("--out") << " and " << xml << " (" << o.stages << " stages, a block every " << every
        << " s, " << leads << " leads)\n";
    return 0;
}

// --mirrored-end S: the record's last S seconds mirrored (MirrorEnd).
void ApplyMirroredEnd(const Args& a, EcgRecord* ecg) {
    if (!a.Has("--mirrored-end")) return;
    const double seconds = a.Number("--mirrored-end", 0);
    if (!(seconds > 0)) throw std::invalid_argument("--mirrored-end takes seconds above 0");
    MirrorEnd(ecg, seconds);
}

int CmdSynth(const Args& a, std::ostream& out) {
    if (a.Get("--kind") == "exer") return CmdSynthExercise(a, out);
    std::vector<std::string> known = kRecordOptions;
    known.insert(known.end(), {"--hr", "--rate", "--leads", "--irregular", "--noise", "--seed", "--pace", "--mirrored-end"});
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
    const int leads = static_cast<int>(a.Integer("--leads", kind == rec::RecordKind::Rr ? 1 : 3));
    if (a.Has("--leads") && kind != rec::RecordKind::Rhythm && kind != rec::RecordKind::Rr)
        throw std::invalid_argument("--leads goes with --kind rhythm or rr");
    // The file list takes an RR record's lead count as the record states it
    // (three strip leads at most), a rhythm record's only when it is 1, 3, 12 or 15.
    const bool rr = kind == rec::RecordKind::Rr;
    if (rr ? leads < 1 || leads > 3 : leads != 1 && leads != 3)
        throw std::invalid_argument(std::string(rr ? "--leads must be 1, 2 or 3" : "--leads must be 1 or 3") +
                                    ": the system opens no " + (rr ? "RR" : "rhythm") + " record of " +
                                    std::to_string(leads) + " leads");

    DeviceRecordOptions o;
    o.kind = kind;
    o.systemCode = static_cast<int>(a.Integer("--code", -1));
    o.allowAnyCode = a.Has("--any-code");
    o.seconds = s.seconds;
    ResolveSystemCode(o);  // report a bad code before the work

    EcgRecord ecg = SynthFor(kind, s, leads);
    ApplyMirroredEnd(a, &ecg);
    ecg.patient = DefaultPatient();
    ApplyPatient(a, &ecg.patient, &ecg.time);
    RecordBuilder b = MakeKindRecord(ecg, o);
    const std::string path = a.Get("--out");
    b.WriteFile(path, ParseFlavour(a));
    out << "wrote " << path << " (" << KindName(kind) << ", code " << ResolveSystemCode(o) << ", "
        << b.Items().ItemCount() << " items)\n";
    WriteXmlBeside(a, b, path, out);
    return 0;
}

MferOptions MferOptionsFrom(const Args& a) {
    MferOptions o;
    o.bigEndian = !a.Has("--little-endian");
    o.preamble = !a.Has("--no-preamble");
    o.endTag = !a.Has("--no-end");
    o.patient = !a.Has("--no-patient");
    o.time = !a.Has("--no-time");
    o.filter = a.Get("--filter", o.filter);
    o.dataType = static_cast<int>(a.Integer("--dtype", 0));
    if (o.dataType < 0 || o.dataType > 8) throw std::invalid_argument("--dtype must be 0..8");
    const long frames = a.Integer("--frames", 1);
    if (frames < 1 || frames > 1000000) throw std::invalid_argument("--frames must be 1..1000000");
    o.frames = static_cast<int>(frames);
    const long block = a.Integer("--block", 0);
    if (a.Has("--block") && (block < 1 || static_cast<unsigned long>(block) > kMferMaxBlock))
        throw std::invalid_argument("--block must be 1.." + std::to_string(kMferMaxBlock) +
                                    " samples: the system reads no longer block");
    o.block = static_cast<int>(block);
    o.fourByteWaveLength = a.Has("--four-byte-length");
    o.onlyIndependentLeads = a.Has("--derive");
    o.utf8 = a.Has("--utf8");
    o.indefiniteAttributes = a.Has("--indefinite");
    o.wideChannelNumbers = a.Has("--wide-channels");
    o.intervalAsSeconds = a.Has("--interval");
    return o;
}

const std::vector<std::string> kMferOptions = {
    "--mfer", "--big-endian", "--little-endian", "--no-preamble", "--no-end", "--no-patient", "--no-time",
    "--filter", "--dtype", "--frames", "--block", "--four-byte-length", "--derive", "--utf8", "--indefinite",
    "--wide-channels", "--interval", "--hl7", "--xml-out", "--out", "--seconds", "--id", "--name", "--time",
    "--every-section", "--refused", "--additions", "--minnesota", "--ivrel", "--mirrored-end"};

int WriteMferOutput(const Args& a, const EcgRecord& ecg, const MferOptions& o, std::ostream& out,
                    MferKind kind = MferKind::Plain) {
    const std::string outPath = a.Get("--out");
    if (o.onlyIndependentLeads && ecg.leads.size() != 12)
        throw std::invalid_argument("--derive goes with a 12-lead file; this one has " + std::to_string(ecg.leads.size()) +
                                    " leads");
    std::string error;
    if (!WriteMferFile(outPath, ecg, o, &error)) throw std::runtime_error(error);
    out << "wrote " << outPath << " (MFER \"" << o.description << "\", " << ecg.leads.size() << " leads, "
        << ecg.SampleCount() << " samples at " << ecg.sampleRate << " Hz)\n";
    if (a.Has("--hl7")) {
        if (!WriteHl7Header(a.Get("--hl7"), ecg.patient, ecg.time, Hl7HeaderOptions(), &error))
            throw std::runtime_error(error);
        out << "wrote " << a.Get("--hl7") << "\n";
    }
    for (const char* option : {"--every-section", "--refused", "--additions", "--minnesota", "--ivrel"})
        if (a.Has(option) && !a.Has("--xml-out"))
            throw std::invalid_argument(std::string(option) + " goes with --xml-out");
    if (a.Has("--xml-out")) {
        WriteMferRecordXml(a.Get("--xml-out"), kind, static_cast<int>(ecg.leads.size()), &ecg, ParseXmlOptions(a));
        out << "wrote " << a.Get("--xml-out") << "\n";
    }
    return 0;
}

int CmdMfer(const Args& a, std::ostream& out) {
    std::vector<std::string> known = kMferOptions;
    known.insert(known.end(), {"--kind", "--leads", "--rate"});
    a.CheckKnown(known);
    MferKind kind;
    if (!ParseMferKind(a.Get("--kind", "plain"), &kind)) throw std::invalid_argument("unknown --kind '" + a.Get("--kind") + "'");
    if (!a.Has("--out")) throw std::invalid_argument("mfer needs --out FILE");
    const bool freeze = kind == MferKind::Freeze;
    if (a.Has("--leads") && !freeze && kind != MferKind::Plain)
        throw std::invalid_argument("--leads goes with --kind freeze or plain; the other kinds have their own");
    const long leads = a.Integer("--leads", freeze ? 6 : 12);
    if (freeze && (leads < 1 || leads > 6))
        throw std::invalid_argument("--leads of a freeze file must be 1..6: the system opens no other");
    if (kind == MferKind::Plain && leads != 1 && leads != 3 && leads != 12 && leads != 15)
        throw std::invalid_argument("--leads of a plain file must be 1, 3, 12 or 15: the system opens no other");
    EcgRecord ecg = MferKindRecord(kind, static_cast<int>(leads), a.Number("--seconds", 10), a.Number("--rate", 500));
    ApplyMirroredEnd(a, &ecg);
    ApplyPatient(a, &ecg.patient, &ecg.time);
    MferOptions o = MferOptionsFrom(a);
    o.description = MferDescription(kind);
    return WriteMferOutput(a, ecg, o, out, kind);
}

int CmdWfdbMfer(const Args& a, std::ostream& out) {
    std::vector<std::string> known = kMferOptions;
    known.insert(known.end(), {"--record", "--start"});
    a.CheckKnown(known);
    if (!a.Has("--record") || !a.Has("--out")) throw std::invalid_argument("wfdb --mfer needs --record PATH and --out FILE");
    std::string path = a.Get("--record");
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".hea") == 0) path.resize(path.size() - 4);
    WfdbRecord wf;
    std::string error;
    const double seconds = a.Number("--seconds", 0);
    const double start = a.Number("--start", 0);
    if (start < 0) throw std::invalid_argument("--start must not be negative");
    if (!ReadWfdbRecord(path, &wf, &error, -1)) throw std::runtime_error(error);
    EcgRecord ecg = WfdbToEcg(wf, wf.header.recordName);
    const size_t first = static_cast<size_t>(std::llround(start * ecg.sampleRate));
    if (first > 0 && first >= ecg.SampleCount()) throw std::runtime_error("the start lies past the end of the signals");
    for (EcgLead& lead : ecg.leads) {
        lead.microvolts.erase(lead.microvolts.begin(),
                              lead.microvolts.begin() + static_cast<long>(std::min(first, lead.microvolts.size())));
        if (seconds > 0) {
            const size_t keep = static_cast<size_t>(std::llround(seconds * ecg.sampleRate));
            if (lead.microvolts.size() > keep) lead.microvolts.resize(keep);
        }
    }
    ApplyMirroredEnd(a, &ecg);
    ecg.patient.id = wf.header.recordName;
    ecg.patient.name = "PhysioNet " + wf.header.recordName;
    ApplyPatient(a, &ecg.patient, &ecg.time);
    MferOptions o = MferOptionsFrom(a);
    const double gain = wf.header.signals.empty() ? 200.0 : wf.header.signals[0].gain;
    MferSenseFor(1000.0 / (gain > 0 ? gain : 200.0), &o);
    // A description the system's kind table takes for the record's lead count.
    const int leads = static_cast<int>(ecg.leads.size());
    o.description = MferDescriptionForLeads(leads);
    if (o.description.empty())
        throw std::runtime_error("the record has " + std::to_string(leads) +
                                 " signals; the system opens MFER files of 1 to 6, 12 or 15 leads");
    o.waveformType = leads <= 3 ? 2 : 1;
    const bool plain = leads == 1 || leads == 3 || leads == 12 || leads == 15;
    return WriteMferOutput(a, ecg, o, out, plain ? MferKind::Plain : MferKind::Freeze);
}

// The signals a rhythm or RR record keeps of a record with `signals` of
// them, so that the system opens it: two become one, 1 and 3 stay, rhythm
// records keep 12 or 15, any other count keeps the first three.
size_t RhythmLeadsToKeep(rec::RecordKind kind, size_t signals) {
    if (signals <= 2) return 1;
    if (kind == rec::RecordKind::Rhythm && (signals == 12 || signals == 15)) return signals;
    return 3;
}

int CmdWfdb(const Args& a, std::ostream& out) {
    if (a.Has("--mfer")) return CmdWfdbMfer(a, out);
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
    if (kind == rec::RecordKind::Rhythm || kind == rec::RecordKind::Rr) {
        const size_t keep = RhythmLeadsToKeep(kind, ecg.leads.size());
        if (keep < ecg.leads.size()) {
            out << "keeping " << keep << " of the record's " << ecg.leads.size() << " signals (a " << KindName(kind)
                << " record holds " << (kind == rec::RecordKind::Rr ? "1 or 3" : "1, 3, 12 or 15") << " leads)\n";
            ecg.leads.resize(keep);
        }
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
    RecordBuilder b = MakeKindRecord(ecg, o);
    const std::string outPath = a.Get("--out");
    b.WriteFile(outPath, ParseFlavour(a));
    out << "wrote " << outPath << " (" << KindName(kind) << " from " << path << ", " << ecg.leads.size()
        << " leads, " << b.Items().ItemCount() << " items)\n";
    WriteXmlBeside(a, b, outPath, out);
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

std::vector<std::string> WriteSampleRecords(const std::string& dir, std::vector<std::string>* recordXmls) {
    EnsureDir(dir);
    std::vector<std::string> files;
    for (rec::RecordKind kind : {rec::RecordKind::Rest12, rec::RecordKind::Rest15, rec::RecordKind::Rhythm,
                                 rec::RecordKind::Rr, rec::RecordKind::ExtraLeads}) {
        const RecordBuilder b = MakeSampleRecord(kind);
        for (zarn::Flavour f : {zarn::Flavour::Newer90, zarn::Flavour::Older80}) {
            if (f == zarn::Flavour::Older80 && !SampleHasOlderFlavour(kind)) continue;
            const std::string path =
                Join(dir, std::string(SampleStem(kind)) + (f == zarn::Flavour::Newer90 ? "_90.ecg" : "_80.ecg"));
            b.WriteFile(path, f);
            files.push_back(path);
            const RecordXmlSource source = SourceFromRecordItems(b.Items(), f == zarn::Flavour::Older80);
            const std::string xml = RecordXmlPathFor(path, source.time);
            WriteRecordXml(xml, source, RecordXmlOptions());
            if (recordXmls) recordXmls->push_back(xml);
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
        if (cmd == "xml") return CmdXml(a, out);
        if (cmd == "mfer") return CmdMfer(a, out);
        if (cmd == "examinations") {
            a.CheckKnown({"--ptb"});
            if (a.Positional().size() != 1) throw std::invalid_argument(cmd + " needs one DIR");
            const std::vector<std::string> files = WriteExaminationSamples(a.Positional()[0], a.Get("--ptb"));
            out << "wrote " << files.size() << " records (each with its record XML) to " << a.Positional()[0] << "\n";
            return 0;
        }
        if (cmd == "series") {
            a.CheckKnown({});
            if (a.Positional().size() != 1) throw std::invalid_argument(cmd + " needs one DIR");
            const std::vector<std::string> files = WriteSerialSeries(a.Positional()[0]);
            out << "wrote " << files.size() << " records to " << a.Positional()[0] << "\n";
            return 0;
        }
        if (cmd == "mfer-seeds") {
            a.CheckKnown({});
            if (a.Positional().size() != 1) throw std::invalid_argument(cmd + " needs one DIR");
            EnsureDir(a.Positional()[0]);
            const std::vector<std::string> files = WriteMferSeedCorpus(a.Positional()[0]);
            out << "wrote " << files.size() << " files to " << a.Positional()[0] << "\n";
            return 0;
        }
        if (cmd == "seeds" || cmd == "samples" || cmd == "masters") {
            a.CheckKnown({});
            if (a.Positional().size() != 1) throw std::invalid_argument(cmd + " needs one DIR");
            const std::string& dir = a.Positional()[0];
            std::vector<std::string> files, xmls;
            if (cmd == "seeds") files = WriteSeedCorpus(dir);
            else if (cmd == "masters") files = WriteMasterFiles(dir);
            else files = WriteSampleRecords(dir, &xmls);
            out << "wrote " << files.size() + xmls.size() << " files to " << dir << "\n";
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
