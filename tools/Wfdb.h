// A reader for PhysioNet WFDB records: the .hea header, signal files in
// formats 16, 212, 61 and 80, and MIT-format annotation files (.atr).
// Independent of the device-record writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/EcgRecord.h"

namespace morvelance {

struct WfdbSignal {
    std::string fileName;     // relative to the header's folder
    int format = 16;          // 16, 212, 61 or 80
    long byteOffset = 0;      // the "+offset" of the format field
    double gain = 200.0;      // ADC units per physical unit (0 in the file means 200)
    int baseline = 0;         // ADC value of 0 physical units (defaults to adcZero)
    std::string units = "mV";
    int adcResolution = 0;
    int adcZero = 0;
    int initialValue = 0;
    std::string description;  // the lead name, e.g. "MLII", "v5", "AVR"
};

struct WfdbHeader {
    std::string recordName;
    int signalCount = 0;
    double samplingFrequency = 250.0;
    int64_t samplesPerSignal = 0;   // 0 when the header does not say
    std::vector<WfdbSignal> signals;
    std::vector<std::string> comments;  // the text of "#" lines, without the "#"
};

// Parses header text. Returns false with a message naming the line on error.
bool ParseWfdbHeader(const std::string& text, WfdbHeader* header, std::string* error);

struct WfdbRecord {
    WfdbHeader header;
    std::vector<std::vector<int>> samples;  // per signal, raw ADC values

    // Physical value of a sample in microvolts.
    double Microvolts(size_t signal, size_t index) const;
    std::vector<float> MicrovoltsOf(size_t signal) const;
};

// Reads PATH.hea and its signal files (PATH without extension). maxSamples
// (>= 0) stops reading after that many samples per signal.
bool ReadWfdbRecord(const std::string& recordPath, WfdbRecord* record, std::string* error, int64_t maxSamples = -1);

// Decoders, exposed for tests. Each appends `count` samples (or fewer when the
// bytes run out; returns false then).
bool DecodeFormat16(const uint8_t* data, size_t size, size_t count, std::vector<int>* out);
bool DecodeFormat212(const uint8_t* data, size_t size, size_t count, std::vector<int>* out);
bool DecodeFormat61(const uint8_t* data, size_t size, size_t count, std::vector<int>* out);
bool DecodeFormat80(const uint8_t* data, size_t size, size_t count, std::vector<int>* out);

// ---- annotations ----------------------------------------------------------------

struct WfdbAnnotation {
    int64_t sample = 0;
    int code = 0;      // anntyp: 1 NORMAL, 5 PVC, 8 APC, 28 RHYTHM, ...
    int subtype = 0;
    int chan = 0;
    int num = 0;
    std::string aux;
};

// Parses MIT-format annotation bytes.
bool ParseWfdbAnnotations(const uint8_t* data, size_t size, std::vector<WfdbAnnotation>* out, std::string* error);
bool ReadWfdbAnnotations(const std::string& path, std::vector<WfdbAnnotation>* out, std::string* error);

// True for the annotation codes that mark a beat (WFDB's isqrs).
bool IsBeatCode(int code);
// The sample positions of the beat annotations.
std::vector<int64_t> BeatPositions(const std::vector<WfdbAnnotation>& annotations);

// ---- conversion -------------------------------------------------------------------

// The record as ECG signals (microvolts, the record's own rate); leads named
// from the signal descriptions. Patient age/sex/date are taken from PTB-style
// header comments ("age: 81", "sex: female", "ECG date: 01/10/1990") when present.
EcgRecord WfdbToEcg(const WfdbRecord& record, const std::string& source);

}  // namespace morvelance
