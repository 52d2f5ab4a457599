// The demo's records of the examinations beyond the basic samples: a
// model-8000 resting record with pacemaker spikes, a rhythm record of the
// extended family, extra-lead records of three layouts and two freeze
// records (one of free leads only, one whose leads carry every kind of
// electrode code), the master-step records and the exercise test, each with its record
// XML beside it.
#pragma once

#include <string>
#include <vector>

namespace morvelance {

// Writes them into dir (created when missing). ptbRecord, when not empty, is
// a PTB WFDB record path (without extension) whose beats the master-step
// record of code 244 uses. Returns the record paths. Throws
// std::runtime_error on failure.
std::vector<std::string> WriteExaminationSamples(const std::string& dir, const std::string& ptbRecord = std::string());

}  // namespace morvelance
