// The record XML that goes with an MFER file: the system keeps everything
// the user edits about an MFER record there. Written with the record XML
// writer, as the record XML of the device-record kind whose form shows the
// MFER kind (resting for 12 and 15 leads, rhythm for strips, extra leads for
// the named extra and freeze files).
#pragma once

#include <string>

#include "tools/MferWriter.h"
#include "tools/RecordXml.h"

namespace morvelance {

// The source for an MFER file of a kind and lead count; patient, time,
// length and heart rate come from the record when one is given.
RecordXmlSource MferRecordXmlSource(MferKind kind, int leadCount, const EcgRecord* record = nullptr);
// Throws std::runtime_error when the file cannot be written.
void WriteMferRecordXml(const std::string& path, MferKind kind, int leadCount, const EcgRecord* record = nullptr,
                        const RecordXmlOptions& options = RecordXmlOptions());

// The preamble an MFER file of a WFDB record needs for the system to open
// it: the standard description for 1, 3, 12 and 15 leads, the freeze
// description for the other counts up to 6 (a two-channel Holter record
// such as MIT-BIH 100), empty when no kind takes the count.
std::string MferDescriptionForLeads(int leadCount);

}  // namespace morvelance
