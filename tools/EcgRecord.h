// ECG signals independent of any file format: what the synthetic model and the
// WFDB reader produce, and what the device-record writer (and later an MFER
// writer) consumes. Samples are in microvolts at the record's own rate.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvelance {

enum class LeadId : uint8_t {
    Unknown = 0,
    I, II, III, aVR, aVL, aVF,
    V1, V2, V3, V4, V5, V6,
    V7, V8, V9, V3R, V4R, V5R,
    X, Y, Z,
};

// "I", "aVR", "V3R", "X", ...; "?" for Unknown.
const char* LeadName(LeadId lead);
// Case-insensitive; knows the PhysioNet spellings ("i", "avr", "vx", "MLII" = II,
// "MLI"/"MLIII" likewise). Unknown when not recognised.
LeadId ParseLeadName(const std::string& name);
// The 16-bit electrode code written in item 4097 (our table, numbered like the
// MFER lead codes): I 1, II 2, V1..V6 3..8, V7 9, V3R 11, V4R 12, V5R 13,
// X 16, Y 17, Z 18, III 61, aVR 62, aVL 63, aVF 64, V8 66, V9 67; Unknown 0.
uint16_t ElectrodeCode(LeadId lead);

struct EcgLead {
    LeadId id = LeadId::Unknown;
    std::string label;                 // as the source named it
    std::vector<float> microvolts;
};

struct DateTime {
    int year = 2024, month = 4, day = 1, hour = 9, minute = 30, second = 0;
};

struct PatientInfo {
    std::string id;          // UTF-8
    std::string name;        // UTF-8, Japanese allowed
    std::string sex;         // "M", "F" or ""
    std::string age;         // decimal years or ""
    std::string department;  // short code, e.g. "ABC"
    std::string comment;     // free text
};

struct EcgRecord {
    std::string source;           // e.g. "synthetic rest12" or "ptb/s0010_re"
    double sampleRate = 500.0;    // Hz
    std::vector<EcgLead> leads;
    std::vector<int64_t> beats;   // beat (R peak) sample positions, ascending; may be empty
    bool pacemaker = false;
    PatientInfo patient;
    DateTime time;

    size_t SampleCount() const;   // the shortest lead's length (0 without leads)
    const EcgLead* Find(LeadId id) const;
    int IndexOf(LeadId id) const; // -1 when absent
};

// Makes the last `seconds` of every lead (at most half the record) the mirror
// image of the stretch before them, and the beats there with them: a twin of
// the record that differs from it only at its end, within the samples' range.
void MirrorEnd(EcgRecord* record, double seconds);

}  // namespace morvelance
