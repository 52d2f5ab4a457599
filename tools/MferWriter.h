// An MFER writer for tests and the example host (the system itself never
// writes MFER): ECG signals into tag-length-value definitions as the
// published encoding rules lay them out, with knobs for every variant the
// reader must take (byte order, data type, resolution, optional fields,
// several frames, long length forms).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/EcgRecord.h"

namespace morvelance {

// The record kinds the system tells apart by preamble text and lead count;
// Rhythm12 and Rhythm15 are 12- and 15-lead files marked as rhythm recordings.
enum class MferKind { Extra3, Extra4, Extra6x1, Extra6x3x2, Extra7, Freeze, Plain, Rhythm12, Rhythm15 };

// Which files carry averaged beats (a group of waveform type 9 after the
// recording, one beat per lead written): FullLeads those of 12 or 15 leads,
// whose pages show average beats.
enum class MferBeats { None, FullLeads, Always };

// The longest block, in samples of one channel, the system's MFER reader takes.
constexpr size_t kMferMaxBlock = size_t(1) << 20;

struct MferOptions {
    std::string description;       // preamble text, e.g. "MFR Extra 4 leads ECG"; empty: "MFR"
    bool preamble = true;          // without it the text goes into the waveform type only
    bool bigEndian = true;
    bool endTag = true;
    bool fourByteWaveLength = false;   // 0x84 length form on the waveform even when shorter would do
    bool indefiniteAttributes = false; // channel attributes with open length, ended by 00 00
    bool wideChannelNumbers = false;   // channel numbers in two bytes (0x80 | high, low)
    int dataType = 0;              // MFER data type code 0..8
    int senseExponent = -6;        // resolution = senseMantissa * 10^senseExponent volts per unit
    int senseMantissa = 1;
    bool intervalAsSeconds = false;    // the rate as an interval in seconds instead of a frequency
    int block = 0;                 // samples per block and channel (at most kMferMaxBlock); 0: the
                                   // whole lead, in blocks of kMferMaxBlock when it is longer
    int frames = 1;                // waveform split into this many waveform definitions
    int waveformType = 1;          // 1 standard 12-lead, 2 long-term ECG
    bool onlyIndependentLeads = false; // a 12-lead record as I, II, V1-V6 (the reader derives the rest)
    bool patient = true;           // patient name and id
    bool time = true;              // measurement time
    std::string filter = "0.05-150Hz"; // empty: no filter definition
    bool utf8 = false;             // texts in UTF-8 (declared), else code page 932
    MferBeats beats = MferBeats::FullLeads;
    int beatSamples = 0;           // length of an averaged beat; 0: 1.2 s at the record's rate
    bool openGroup = false;        // the beats' group with open length, ended by 00 00
};

// The preamble text of a kind ("MFR Extra 3 leads ECG", ...); "MFR Standard ECG" for Plain.
std::string MferDescription(MferKind kind);
// A synthetic record of a kind: the extra kinds their own lead counts, Freeze
// and Plain `leadCount` leads (Plain 12 and 15 the standard sets).
EcgRecord MferKindRecord(MferKind kind, int leadCount, double seconds = 10.0, double rate = 500.0);
// Parses "extra3", "extra4", "extra6x1", "extra6x3x2", "extra7", "freeze", "plain", "rhythm12",
// "rhythm15"; false when unknown.
bool ParseMferKind(const std::string& text, MferKind* kind);

// The file bytes; an empty vector when the options cannot be written (bad data type, no leads).
std::vector<uint8_t> EncodeMfer(const EcgRecord& record, const MferOptions& options);
bool WriteMferFile(const std::string& path, const EcgRecord& record, const MferOptions& options,
                   std::string* error);

// The averaged beat of each lead the file holds, in microvolts: the R peak
// at 5/12 of the beat, averaged over the record's beats (detected when it
// lists none). Empty when the options ask for none or no beat is found.
std::vector<std::vector<float>> MferAveragedBeats(const EcgRecord& record, const MferOptions& options);

// The raw value a microvolt sample becomes under the options (what the reader
// returns for it at the writer's resolution, before its 16-bit clamping).
double MferRawValue(double microvolts, const MferOptions& options);

// Resolution of a WFDB signal (microvolts per ADC unit) as mantissa and
// power of ten in volts, exact for the gains PhysioNet uses (200, 1000, 2000).
void MferSenseFor(double microvoltsPerUnit, MferOptions* options);

// Writes the fuzz seed corpus of the MFER reader into dir (which must exist):
// every kind, both byte orders, each data type, averaged beats in groups of
// both length forms, and a few damaged files.
// Returns the paths; throws std::runtime_error on failure.
std::vector<std::string> WriteMferSeedCorpus(const std::string& dir);

}  // namespace morvelance
