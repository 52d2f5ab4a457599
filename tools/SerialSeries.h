// The records of a serial comparison: one patient's resting examinations at
// increasing dates (rest, after the master step, after the load, in 12 and
// 15 leads), one record of another patient, and a 12- and a 15-lead MFER file
// of the first patient, each device record with its record XML beside it.
#pragma once

#include <string>
#include <vector>

namespace morvelance {

// The patient whose series it is, and the other one.
constexpr const char* kSeriesPatient = "S-2024";
constexpr const char* kSeriesOtherPatient = "S-9999";

// Writes them into dir (created when missing), the patient's ten resting
// records first in date order, then the other patient's, then the MFER
// files. Returns the record paths in that order; recordXmls, when given,
// receives each record's XML path in the same order (empty for the MFER
// files). Throws std::runtime_error.
std::vector<std::string> WriteSerialSeries(const std::string& dir, std::vector<std::string>* recordXmls = nullptr);

}  // namespace morvelance
