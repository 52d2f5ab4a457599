// The hi-cut filter works in fixed-length chunks whose tap sums the compiler
// vectorises, and its feedback and the bit-noise step run in vector lanes
// started from guessed states. These tests hold them to the plain
// one-sample-at-a-time form of the same steps, sample for sample, on real
// records and on random full-scale signals of lengths that end part-way
// through a chunk or a block of lanes.
#include <gtest/gtest.h>

#include <algorithm>
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

// The bit-noise step as a direct recursion on the previous output.
std::vector<short> BitNoiseReference(std::vector<short> x)
{
    for (size_t i = 1; i < x.size(); ++i) {
        const int previous = x[i - 1], current = x[i];
        const short difference = static_cast<short>(current - previous);
        const int filtered = difference >= 16 ? current - 12 : difference <= -16 ? current + 12 : (3 * previous + current) / 4;
        x[i] = static_cast<short>(filtered);
    }
    return x;
}

long FirstDifference(const std::vector<short>& a, const std::vector<short>& b)
{
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i]) return static_cast<long>(i);
    return a.size() == b.size() ? -1 : static_cast<long>(std::min(a.size(), b.size()));
}

// The first sample where the filter followed by the bit-noise step, in one
// pass, and the two references part, or -1; the separate bit-noise call is
// held to its reference too.
long FirstDifferenceWithBitNoise(short cutoff, const std::vector<short>& samples)
{
    std::vector<short> fused = samples, alone = samples;
    EXPECT_EQ(1, HiCutDeleteBitNoise(cutoff, 1, fused.data(), static_cast<int>(fused.size())));
    EXPECT_EQ(1, DeleteBitNoise(alone.data(), static_cast<unsigned>(alone.size())));
    EXPECT_EQ(-1, FirstDifference(alone, BitNoiseReference(samples))) << "bit noise alone";
    return FirstDifference(fused, BitNoiseReference(cutoff == 150 ? samples : Reference(cutoff, samples)));
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
const short kCutoffsWithNone[] = {25, 35, 75, 100, 150};

}  // namespace

TEST(HiCutExactnessTest, RandomFullScaleSignalsFilterAsTheDirectRecursionDoes)
{
    std::mt19937 random(36);
    std::uniform_int_distribution<int> full(SHRT_MIN, SHRT_MAX);
    for (size_t length : {1u, 2u, 7u, 2047u, 2048u, 2049u, 8192u, 8193u, 8194u, 10007u, 3u * 8192u + 1u, 100003u}) {
        std::vector<short> noise(length), steps(length), quiet(length);
        int level = 0;
        for (size_t i = 0; i < length; ++i) {
            level = std::max(SHRT_MIN + 40, std::min(SHRT_MAX - 40, level + full(random) % 24));   // small steps
            quiet[i] = static_cast<short>(level + full(random) % 17);
            noise[i] = static_cast<short>(full(random));
            steps[i] = (i / 5) % 2 ? SHRT_MAX : SHRT_MIN;   // full-scale steps: the 100 Hz filter overshoots
        }
        for (short cutoff : kCutoffs) {
            EXPECT_EQ(-1, FirstDifference(cutoff, noise)) << cutoff << " Hz, noise of " << length;
            EXPECT_EQ(-1, FirstDifference(cutoff, steps)) << cutoff << " Hz, steps of " << length;
        }
        for (short cutoff : kCutoffsWithNone) {
            EXPECT_EQ(-1, FirstDifferenceWithBitNoise(cutoff, noise)) << cutoff << " Hz and bit noise, noise of " << length;
            EXPECT_EQ(-1, FirstDifferenceWithBitNoise(cutoff, steps)) << cutoff << " Hz and bit noise, steps of " << length;
            EXPECT_EQ(-1, FirstDifferenceWithBitNoise(cutoff, quiet)) << cutoff << " Hz and bit noise, small steps of " << length;
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
            // The bit-noise step damps small steps: the unscaled values take that branch most.
            const std::vector<short> unscaled(signal.begin(), signal.end());
            for (short cutoff : kCutoffsWithNone) {
                EXPECT_EQ(-1, FirstDifferenceWithBitNoise(cutoff, lead)) << path << ", " << cutoff << " Hz and bit noise";
                EXPECT_EQ(-1, FirstDifferenceWithBitNoise(cutoff, unscaled)) << path << ", unscaled, " << cutoff << " Hz";
            }
        }
    }
}
