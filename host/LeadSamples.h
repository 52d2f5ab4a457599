// A lead's samples as the document gives them to a view, read whole.
#pragma once

#include <new>
#include <vector>

#include "core/TavrionDoc.h"

namespace host {

// The lead's samples at the document's own filter; empty when the document
// has none for it, or when there is no memory for them: a long record on a
// machine short of memory loses the lead, not the program.
inline std::vector<short> ReadLeadSamples(CTavrionDoc& doc, int lead)
{
    const int bytes = doc.GetRhythmWaveData(lead, nullptr, -1);
    if (bytes <= 1) return {};
    try {
        std::vector<short> samples(static_cast<size_t>(bytes) / 2);
        if (doc.GetRhythmWaveData(lead, samples.data(), -1) > 0) return samples;
    } catch (const std::bad_alloc&) {
    }
    return {};
}

}  // namespace host
