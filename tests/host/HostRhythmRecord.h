// A rhythm record of the record maker with leads of the test's own making,
// for pictures whose trace tells where in the record, or which lead, is shown.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/host/HostSamples.h"
#include "tools/RecordTags.h"
#include "tools/RhythmRecord.h"

namespace hosttest {

// Writes `record`, 30 s of II, V5 and V1, with its record XML beside it
// (which names the leads). `replaced` gives, from the number of samples a
// lead holds, the samples of each lead (0 II, 1 V5, 2 V1) it changes.
inline void WriteThreeLeadRhythm(const std::string& record,
                                 const std::function<std::map<uint32_t, std::vector<int16_t>>(size_t)>& replaced)
{
    morvelance::RhythmRecordShape shape;
    shape.leads = 3;
    shape.seconds = 30;
    morvelance::RecordBuilder builder = morvelance::MakeRhythmRecord(shape, nullptr);
    const std::vector<uint8_t>* lead = builder.Find(morvelance::rec::kTagLeadSamples, 0);
    EXPECT_NE(nullptr, lead);
    for (const auto& samples : replaced(lead ? lead->size() / 2 : 0))
        builder.SetSamples(morvelance::rec::kTagLeadSamples, samples.first, samples.second);
    builder.WriteFile(record, zarn::Flavour::Newer90);
    MakeRecords({"xml", "--for", record});
}

}  // namespace hosttest
