// The HL7 aECG header that accompanies an MFER record as its companion file:
// only the parts the file list reads (acquisition time, patient id and name).
#pragma once

#include <string>

#include "tools/EcgRecord.h"

namespace morvelance {

struct Hl7HeaderOptions {
    bool time = true;        // performer/time/@value
    bool patientId = true;   // patientPatient/id/@extension
    bool patientName = true; // patientPatient/name[@use='IDE']/family
    std::string rawTime;     // used as the time value as is when not empty (e.g. "00000000000000")
};

// The document text (UTF-8) with the root ECGObservation in the HL7 v3 namespace.
std::string Hl7HeaderText(const PatientInfo& patient, const DateTime& time, const Hl7HeaderOptions& options);
bool WriteHl7Header(const std::string& path, const PatientInfo& patient, const DateTime& time,
                    const Hl7HeaderOptions& options, std::string* error);

}  // namespace morvelance
