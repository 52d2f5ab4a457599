// The bundled sample records: one synthetic record per kind, each with its
// own patient, the same bytes every time.
#pragma once

#include "tools/DeviceRecord.h"
#include "tools/EcgModel.h"
#include "tools/RecordBuilder.h"
#include "tools/RecordTags.h"

namespace morvelance {

// The synthetic signals for a kind: the standard, fifteen or extra-lead set
// for the rest kinds, `rhythmLeads` (1..3: II, V5, V1) for rhythm and RR.
// Throws std::invalid_argument for a lead count outside 1..3.
EcgRecord SynthFor(rec::RecordKind kind, const SynthOptions& base, int rhythmLeads);

// The sample record of a kind (all its items). Throws on failure.
RecordBuilder MakeSampleRecord(rec::RecordKind kind);
// "rest12", "rest15", "rhythm", "rr", "extra": the file stem before "_90"/"_80".
const char* SampleStem(rec::RecordKind kind);
// The extra-lead sample exists only for the newer reader.
bool SampleHasOlderFlavour(rec::RecordKind kind);

}  // namespace morvelance
