// The morvelance-mkrecord command line, as a library function so that tests
// can run it in-process.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/zarn/ZarnContainer.h"

namespace morvelance {

// args excludes the program name. Returns the process exit code (0 on success).
int RunMkrecord(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Writes the fuzz seed corpus into dir (created if needed): small records of
// both flavours plus a few deliberately damaged ones. Returns the file paths.
// Throws std::runtime_error on failure.
std::vector<std::string> WriteSeedCorpus(const std::string& dir);

// Writes the bundled sample records (rest 12-lead, rest 15-lead, rhythm, RR,
// extra leads; both flavours) into dir, each with its record XML beside it
// (RecordXmlPathFor). Returns the record paths; recordXmls, when given,
// receives the record XML paths in the same order. Throws std::runtime_error.
std::vector<std::string> WriteSampleRecords(const std::string& dir, std::vector<std::string>* recordXmls = nullptr);

}  // namespace morvelance
