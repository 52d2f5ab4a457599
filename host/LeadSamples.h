// A lead's samples as the document gives them to a view, read whole.
#pragma once

#include "core/TavrionDoc.h"

namespace host {

// The lead's samples at the document's own filter, shared with the document
// where it keeps them; empty when the document has none for it, or when there
// is no memory for them: a long record on a machine short of memory loses the
// lead, not the program.
inline SharedSamples ReadLeadSamples(CTavrionDoc& doc, int lead)
{
    return doc.GetWholeRhythmWave(lead);
}

}  // namespace host
