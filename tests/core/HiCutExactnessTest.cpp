// The hi-cut filter works in fixed-length chunks whose tap sums the compiler
// vectorises. These tests hold it to the plain one-sample-at-a-time form of
// the same filter, sample for sample, on real records and on random
// full-scale signals of lengths that end part-way through a chunk.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "core/Helpers.h"
#include "tests/support/TestSupport.h"
#include "tools/Wfdb.h"

namespace {

// The filter as a direct recursion: per sample, the taps' sum over the
// inputs scaled by 16 (inputs before the start taken as the first sample),
// plus the feedback times the previous unrounded output; the result kept as
// a float, then scaled back by 1/16, truncated and held to a short.
std::vector<short> Reference(short cutoff, const std::vector<short>& x)
{
    std::vector<double> taps;
    double feedback = 0.0;
    switch (cutoff) {
    case 25: taps.assign(8, 0.125); break;
    case 35: taps.assign(4, 0.125); feedback = 0.5; break;
    case 75: taps = {0.25, 0.5, 0.25}; break;
    default: taps = {0.53125, 0.53125}; feedback = -0.0625; break;
    }
    std::vector<short> y(x.size());
    double previous = 16.0 * x[0];
    for (size_t i = 0; i < x.size(); ++i) {
        double sum = 0.0;
        for (size_t k = 0; k < taps.size(); ++k) sum += taps[k] * 16.0 * (i < k ? x[0] : x[i - k]);
        previous = sum + feedback * previous;
        const float scaled = std::trunc(static_cast<float>(previous) * 0.0625f);
        y[i] = scaled >= SHRT_MAX ? SHRT_MAX : scaled <= SHRT_MIN ? SHRT_MIN : static_cast<short>(scaled);
    }
    return y;
}

// The first sample where the filter and the reference part, or -1.
long FirstDifference(short cutoff, const std::vector<short>& samples)
{
    std::vector<short> filtered = samples;
    EXPECT_EQ(1, HiCutFilter(cutoff, filtered.data(), static_cast<int>(filtered.size())));
    const std::vector<short> expected = Reference(cutoff, samples);
    for (size_t i = 0; i < samples.size(); ++i)
        if (filtered[i] != expected[i]) return static_cast<long>(i);
    return -1;
}

const short kCutoffs[] = {25, 35, 75, 100};

}  // namespace

TEST(HiCutExactnessTest, RandomFullScaleSignalsFilterAsTheDirectRecursionDoes)
{
    std::mt19937 random(36);
    std::uniform_int_distribution<int> full(SHRT_MIN, SHRT_MAX);
    for (size_t length : {1u, 2u, 7u, 2047u, 2048u, 2049u, 10007u}) {
        std::vector<short> noise(length), steps(length);
        for (size_t i = 0; i < length; ++i) {
            noise[i] = static_cast<short>(full(random));
            steps[i] = (i / 5) % 2 ? SHRT_MAX : SHRT_MIN;   // full-scale steps: the 100 Hz filter overshoots
        }
        for (short cutoff : kCutoffs) {
            EXPECT_EQ(-1, FirstDifference(cutoff, noise)) << cutoff << " Hz, noise of " << length;
            EXPECT_EQ(-1, FirstDifference(cutoff, steps)) << cutoff << " Hz, steps of " << length;
        }
    }
}

TEST(HiCutExactnessTest, PhysioNetRecordsFilterAsTheDirectRecursionDoes)
{
    REQUIRE_SHARED_DATA(mitdb, "physionet/mitdb/100.hea");
    const std::string records[] = {mitdb.substr(0, mitdb.size() - 4),
                                   testsupport::SharedData("physionet/ptb/s0010_re.hea")};
    for (std::string path : records) {
        if (path.empty()) continue;
        if (path.size() > 4 && path.compare(path.size() - 4, 4, ".hea") == 0) path.resize(path.size() - 4);
        morvelance::WfdbRecord record;
        std::string error;
        ASSERT_TRUE(morvelance::ReadWfdbRecord(path, &record, &error)) << error;
        for (const std::vector<int>& signal : record.samples) {
            // The ADC values scaled up to reach across most of a short.
            std::vector<short> lead(signal.begin(), signal.end());
            for (short& s : lead) s = static_cast<short>(s * 16);
            for (short cutoff : kCutoffs) EXPECT_EQ(-1, FirstDifference(cutoff, lead)) << path << ", " << cutoff << " Hz";
        }
    }
}
