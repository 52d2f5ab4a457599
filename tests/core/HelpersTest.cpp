#include "core/Helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

std::vector<short> Filtered(short cutoff, std::vector<short> samples)
{
    EXPECT_EQ(1, HiCutFilter(cutoff, samples.data(), static_cast<int>(samples.size())));
    return samples;
}

std::vector<short> Impulse(size_t length, size_t at, short height)
{
    std::vector<short> samples(length, 0);
    samples[at] = height;
    return samples;
}

}  // namespace

// ---- HiCutFilter ------------------------------------------------------------------

TEST(HiCutFilterTest, ALongLeadBeginsAsItsOwnBeginningFilteredAlone)
{
    // The filter looks only back: the first n samples of a filtered long
    // lead are the n samples filtered on their own, at every length.
    std::vector<short> lead(9000);
    uint32_t state = 12345;
    for (short& v : lead) {
        state = state * 1103515245u + 12345u;
        v = static_cast<short>(static_cast<int>((state >> 8) % 4001) - 2000);
    }
    for (short cutoff : {25, 35, 75, 100}) {
        const std::vector<short> whole = Filtered(cutoff, lead);
        for (size_t n : {1u, 2u, 7u, 2047u, 2048u, 2049u, 4100u, 8999u}) {
            const std::vector<short> part = Filtered(cutoff, std::vector<short>(lead.begin(), lead.begin() + n));
            EXPECT_TRUE(std::equal(part.begin(), part.end(), whole.begin())) << cutoff << " " << n;
        }
    }
}

TEST(HiCutFilterTest, ConstantLeadStaysConstantForEveryCutoff)
{
    for (short cutoff : {25, 35, 75, 100, 150}) {
        for (short level : {0, 1, -1, 1234, -777, SHRT_MAX, SHRT_MIN}) {
            const std::vector<short> flat(5000, level);
            EXPECT_EQ(flat, Filtered(cutoff, flat)) << "cutoff " << cutoff << " level " << level;
        }
    }
}

TEST(HiCutFilterTest, EachCutoffSpreadsAnImpulseOverItsOwnKernel)
{
    EXPECT_EQ((std::vector<short>{0, 0, 10, 10, 10, 10, 10, 10, 10, 10, 0, 0}),
              Filtered(25, Impulse(12, 2, 80)));
    EXPECT_EQ((std::vector<short>{0, 0, 20, 30, 35, 37, 18, 9, 4, 2, 1, 0}),
              Filtered(35, Impulse(12, 2, 160)));
    EXPECT_EQ((std::vector<short>{0, 0, 0, 25, 50, 25, 0}), Filtered(75, Impulse(7, 3, 100)));
}

TEST(HiCutFilterTest, OutputTruncatesTowardZero)
{
    // -2.5, -5, -2.5 before truncation.
    EXPECT_EQ((std::vector<short>{0, 0, -2, -5, -2, 0}), Filtered(75, Impulse(6, 2, -10)));
}

TEST(HiCutFilterTest, StepResponseOf100SettlesAfterRinging)
{
    std::vector<short> step(40, 100);
    step[0] = step[1] = 0;
    const std::vector<short> out = Filtered(100, step);
    const std::vector<short> head(out.begin(), out.begin() + 8);
    EXPECT_EQ((std::vector<short>{0, 0, 53, 102, 99, 100, 99, 100}), head);
    for (size_t i = 8; i < out.size(); ++i)
        EXPECT_EQ(100, out[i]) << i;
}

TEST(HiCutFilterTest, HistoryBeforeTheStartIsTheFirstSample)
{
    // With zero history the output would be 25, 50, 25, 0.
    EXPECT_EQ((std::vector<short>{100, 75, 25, 0}), Filtered(75, {100, 0, 0, 0}));
}

TEST(HiCutFilterTest, OvershootSaturatesInsteadOfWrapping)
{
    std::vector<short> step(10, SHRT_MAX);
    step[0] = step[1] = SHRT_MIN;
    const std::vector<short> out = Filtered(100, step);
    EXPECT_EQ(SHRT_MAX, out[3]);
    for (size_t i = 2; i < out.size(); ++i)
        EXPECT_GT(out[i], 0) << i;
}

TEST(HiCutFilterTest, RejectsBadArgumentsWithoutTouchingTheSamples)
{
    std::vector<short> samples{5, -3, 8};
    const std::vector<short> before = samples;
    EXPECT_EQ(0, HiCutFilter(40, samples.data(), 3));
    EXPECT_EQ(0, HiCutFilter(0, samples.data(), 3));
    EXPECT_EQ(0, HiCutFilter(25, samples.data(), 0));
    EXPECT_EQ(0, HiCutFilter(25, samples.data(), -1));
    EXPECT_EQ(0, HiCutFilter(25, nullptr, 3));
    EXPECT_EQ(0, HiCutFilter(150, nullptr, 3));
    EXPECT_EQ(before, samples);
    EXPECT_EQ(1, HiCutFilter(150, samples.data(), 3));
    EXPECT_EQ(before, samples);
}

TEST(HiCutFilterTest, SingleSampleIsItsOwnHistory)
{
    for (short cutoff : {25, 35, 75, 100})
        EXPECT_EQ((std::vector<short>{-42}), Filtered(cutoff, {-42})) << cutoff;
}

// ---- DeleteBitNoise -----------------------------------------------------------------

namespace {

std::vector<short> Denoised(std::vector<short> samples)
{
    EXPECT_EQ(1, DeleteBitNoise(samples.data(), static_cast<unsigned>(samples.size())));
    return samples;
}

}  // namespace

TEST(DeleteBitNoiseTest, SmallStepsAreDampedLargeOnesPassReduced)
{
    EXPECT_EQ((std::vector<short>{100, 100, 118}), Denoised({100, 100, 130}));
    EXPECT_EQ((std::vector<short>{100, 101}), Denoised({100, 104}));
    EXPECT_EQ((std::vector<short>{100, 62}), Denoised({100, 50}));
}

TEST(DeleteBitNoiseTest, ThresholdIsSixteen)
{
    EXPECT_EQ((std::vector<short>{100, 103}), Denoised({100, 115}));    // +15 damped
    EXPECT_EQ((std::vector<short>{100, 104}), Denoised({100, 116}));    // +16 passes
    EXPECT_EQ((std::vector<short>{-100, -103}), Denoised({-100, -115}));  // -15 damped
    EXPECT_EQ((std::vector<short>{-100, -104}), Denoised({-100, -116}));  // -16 passes
}

TEST(DeleteBitNoiseTest, DampingTruncatesTowardZero)
{
    EXPECT_EQ((std::vector<short>{-100, -100}), Denoised({-100, -101}));  // -100.25
}

TEST(DeleteBitNoiseTest, DifferenceWrapsLikeAShort)
{
    // 32767 - (-32768) wraps to -1: damped, not passed through.
    EXPECT_EQ((std::vector<short>{SHRT_MIN, -16384}), Denoised({SHRT_MIN, SHRT_MAX}));
}

TEST(DeleteBitNoiseTest, WorksOnTheFilteredPreviousValue)
{
    // The third sample is compared with the damped second one (100), not with 110.
    EXPECT_EQ((std::vector<short>{100, 102, 104}), Denoised({100, 110, 110}));
}

TEST(DeleteBitNoiseTest, RejectsEmptyInput)
{
    short one = 7;
    EXPECT_EQ(0, DeleteBitNoise(nullptr, 4));
    EXPECT_EQ(0, DeleteBitNoise(&one, 0));
    EXPECT_EQ(1, DeleteBitNoise(&one, 1));
    EXPECT_EQ(7, one);
}

// ---- SmoothFilter ------------------------------------------------------------------

namespace {

struct SmoothResult {
    int size = 0;
    std::vector<std::uint64_t> storage;  // 8-byte aligned, like the caller's heap block
    const _SMOOTH_TABLE* table() const { return reinterpret_cast<const _SMOOTH_TABLE*>(storage.data()); }
};

struct SmoothArgs {
    int x0 = 0, y0 = 100, x1 = 2, y1 = 101;
    double gain = 1.0;
    COLORREF wave = RGB(255, 0, 0);
    COLORREF back = RGB(255, 255, 255);
    int levels = 2, lineWidth = 1, type = 1, widthAsGiven = 1;
};

SmoothResult RunSmooth(const std::vector<short>& samples, const SmoothArgs& a)
{
    SmoothResult r;
    const int size = SmoothFilter(samples.data(), static_cast<int>(samples.size()), nullptr, a.x0, a.y0,
                                  a.x1, a.y1, a.gain, a.wave, a.back, a.levels, a.lineWidth, a.type,
                                  a.widthAsGiven);
    if (size <= 0)
        return r;
    r.storage.assign((size + 7) / 8, 0xA5A5A5A5A5A5A5A5ull);
    r.size = SmoothFilter(samples.data(), static_cast<int>(samples.size()), r.storage.data(), a.x0,
                          a.y0, a.x1, a.y1, a.gain, a.wave, a.back, a.levels, a.lineWidth, a.type,
                          a.widthAsGiven);
    EXPECT_EQ(size, r.size);
    return r;
}

std::vector<short> Lower(const SmoothResult& r, int column)
{
    const _SMOOTH_COLUMN& c = r.table()->pColumns[column];
    return std::vector<short>(c.pLower, c.pLower + r.table()->nLevels);
}

std::vector<short> Upper(const SmoothResult& r, int column)
{
    const _SMOOTH_COLUMN& c = r.table()->pColumns[column];
    return std::vector<short>(c.pUpper, c.pUpper + r.table()->nLevels);
}

std::vector<short> Sine(int count, double amplitude, double cycles)
{
    std::vector<short> samples(count);
    for (int i = 0; i < count; ++i)
        samples[i] = static_cast<short>(amplitude * std::sin(2 * 3.14159265358979 * cycles * i / count));
    return samples;
}

}  // namespace

TEST(SmoothFilterTest, SizeQueryMatchesTheBlockLayout)
{
    const short sample = 0;
    // 32-bit: ((levels + 2) * columns + levels) * 4 + 16.
    const int expected = sizeof(void*) == 4 ? 272 : 360;
    EXPECT_EQ(expected, SmoothFilter(&sample, 1, nullptr, 0, 0, 10, 0, 1.0, 0, 0, 4, 0, 0, 0));
    // The size query does not need the samples.
    EXPECT_EQ(expected, SmoothFilter(nullptr, 0, nullptr, 5, 0, 15, 0, 1.0, 0, 0, 4, 0, 0, 0));
    if (sizeof(void*) == 8) {
        // Odd level counts pad the ramp so the column pointers stay aligned.
        EXPECT_EQ(24 + 16 + 160 + 120, SmoothFilter(nullptr, 0, nullptr, 0, 0, 10, 0, 1.0, 0, 0, 3, 0, 0, 0));
    }
}

TEST(SmoothFilterTest, RejectsBadArguments)
{
    const std::vector<short> s = Sine(100, 1000, 1);
    std::vector<std::uint64_t> block(1024);
    EXPECT_EQ(0, SmoothFilter(s.data(), 100, nullptr, 10, 0, 10, 0, 1.0, 0, 0, 4, 0, 0, 0));
    EXPECT_EQ(0, SmoothFilter(s.data(), 100, nullptr, 10, 0, 9, 0, 1.0, 0, 0, 4, 0, 0, 0));
    EXPECT_EQ(0, SmoothFilter(s.data(), 100, nullptr, INT_MIN, 0, INT_MAX, 0, 1.0, 0, 0, 4, 0, 0, 0));
    // Levels outside 1..16 are refused already by the size query.
    EXPECT_EQ(0, SmoothFilter(s.data(), 100, nullptr, 0, 0, 10, 0, 1.0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(0, SmoothFilter(s.data(), 100, nullptr, 0, 0, 10, 0, 1.0, 0, 0, 17, 0, 0, 0));
    EXPECT_EQ(0, SmoothFilter(s.data(), 100, block.data(), 0, 0, 10, 0, 1.0, 0, 0, 17, 0, 0, 0));
    EXPECT_EQ(0, SmoothFilter(s.data(), 100, block.data(), 0, 0, 10, 0, 1.0, 0, 0, -1, 0, 0, 0));
    EXPECT_EQ(0, SmoothFilter(s.data(), 0, block.data(), 0, 0, 10, 0, 1.0, 0, 0, 4, 0, 0, 0));
    EXPECT_EQ(0, SmoothFilter(nullptr, 100, block.data(), 0, 0, 10, 0, 1.0, 0, 0, 4, 0, 0, 0));
}

TEST(SmoothFilterTest, PointersStayInsideTheBlockAndAligned)
{
    SmoothArgs a;
    a.x1 = 37;
    a.levels = 5;
    const SmoothResult r = RunSmooth(Sine(1000, 500, 3), a);
    ASSERT_GT(r.size, 0);
    const auto* begin = reinterpret_cast<const char*>(r.storage.data());
    const auto* end = begin + r.size;
    const _SMOOTH_TABLE* t = r.table();
    EXPECT_EQ(37, t->nColumns);
    EXPECT_EQ(5, t->nLevels);
    EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(t->pColumns) % alignof(_SMOOTH_COLUMN));
    EXPECT_GE(reinterpret_cast<const char*>(t->pColors), begin);
    for (int c = 0; c < t->nColumns; ++c) {
        EXPECT_GE(reinterpret_cast<const char*>(t->pColumns[c].pLower), begin);
        EXPECT_LE(reinterpret_cast<const char*>(t->pColumns[c].pUpper + t->nLevels), end);
    }
}

TEST(SmoothFilterTest, ColorRampBlendsFromBackToWave)
{
    SmoothArgs a;
    a.levels = 4;
    const SmoothResult r = RunSmooth(Sine(100, 500, 1), a);
    ASSERT_GT(r.size, 0);
    const COLORREF* ramp = r.table()->pColors;
    // red: sqrt(3*255^2/4 + 255^2/4) = sqrt(48768 + 16256) -> 254; green: sqrt(48768) -> 220.
    EXPECT_EQ(RGB(254, 220, 220), ramp[0]);
    EXPECT_EQ(a.wave, ramp[3]);
    for (int i = 1; i < 4; ++i)
        EXPECT_LE(GetGValue(ramp[i]), GetGValue(ramp[i - 1]));
}

TEST(SmoothFilterTest, DecimationAlternatesMinimumAndMaximum)
{
    // 4 samples to 4 values: the alternation lags one value, giving 0, 0, 10, 20.
    const SmoothResult r = RunSmooth({0, 10, 20, 30}, SmoothArgs());
    ASSERT_GT(r.size, 0);
    EXPECT_EQ((std::vector<short>{100, 100}), Lower(r, 0));
    EXPECT_EQ((std::vector<short>{80, 90}), Upper(r, 0));
    EXPECT_EQ(Lower(r, 0), Lower(r, 1));
    EXPECT_EQ(Upper(r, 0), Upper(r, 1));
}

// 16 samples to 8 columns of one level, two samples a value. Only stretch 2
// brings a new extreme; through the others the alternation goes on, each
// output resetting its running extreme to the stretch's last sample (not its
// first), and a sample equal to an extreme is no new one. By hand:
//   stretch  samples  new extreme  flag at output  out     reset
//   0        5 5      -            clear           min 5   min 5, set
//   1        5 5      -            set             max 5   max 5, clear
//   2        30 5     max 30       clear           min 5   min 5, set
//   3        10 30    -            set             max 30  max 30, clear
//   4        5 5      -            clear           min 5   min 5, set
//   5        10 20    -            set             max 30  max 20, clear
//   6        20 5     -            clear           min 5   min 5, set
//   7        20 20    -            set             max 20  max 20, clear
// Column c spans the values c and c + 1: its upper edge is 100 − the larger,
// its lower edge 100 − (the smaller − 1) (half a pixel of pen each side,
// truncated); the last column repeats the one before.
TEST(SmoothFilterTest, DecimationKeepsAlternatingThroughStretchesWithoutANewExtreme)
{
    const std::vector<short> samples = {5, 5, 5, 5, 30, 5, 10, 30, 5, 5, 10, 20, 20, 5, 20, 20};
    SmoothArgs a;
    a.x1 = 8;
    a.levels = 1;
    const SmoothResult r = RunSmooth(samples, a);
    ASSERT_GT(r.size, 0);
    // values: 5, 5, 5, 30, 5, 30, 5, 20
    const std::vector<short> upper = {95, 95, 70, 70, 70, 70, 80, 80};
    const std::vector<short> lower = {96, 96, 96, 96, 96, 96, 96, 96};
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(upper[c], Upper(r, c)[0]) << "column " << c;
        EXPECT_EQ(lower[c], Lower(r, c)[0]) << "column " << c;
    }
}

TEST(SmoothFilterTest, ShortLeadIsInterpolated)
{
    // 2 samples to 4 values: 0, 50, 100, 100.
    const SmoothResult r = RunSmooth({0, 100}, SmoothArgs());
    ASSERT_GT(r.size, 0);
    EXPECT_EQ((std::vector<short>{100, 51}), Lower(r, 0));
    EXPECT_EQ((std::vector<short>{0, 0}), Upper(r, 0));
}

TEST(SmoothFilterTest, GainAndHeightScaleTheValues)
{
    SmoothArgs a;
    a.gain = 0.5;
    a.y1 = 98;  // height -2: positive samples go down the screen
    const SmoothResult r = RunSmooth({0, 100}, a);
    ASSERT_GT(r.size, 0);
    EXPECT_EQ((std::vector<short>{200, 200}), Lower(r, 0));
    EXPECT_EQ((std::vector<short>{100, 149}), Upper(r, 0));
}

TEST(SmoothFilterTest, TypeChoosesHowLevelsWiden)
{
    const std::vector<short> flat(64, 0);
    SmoothArgs a;
    a.levels = 16;
    a.lineWidth = 2;
    a.type = 2;  // faint levels wider
    SmoothResult r = RunSmooth(flat, a);
    EXPECT_EQ(96, Upper(r, 0)[0]);
    EXPECT_EQ(99, Upper(r, 0)[15]);
    EXPECT_EQ(104, Lower(r, 0)[0]);
    a.type = 0;  // strong levels narrower
    r = RunSmooth(flat, a);
    EXPECT_EQ(99, Upper(r, 0)[0]);
    EXPECT_EQ(102, Upper(r, 0)[15]);
    a.type = 1;  // faint levels narrower
    r = RunSmooth(flat, a);
    EXPECT_EQ(102, Upper(r, 0)[0]);
    EXPECT_EQ(99, Upper(r, 0)[15]);
}

TEST(SmoothFilterTest, LineWidthCodesUnlessGivenAsIs)
{
    const std::vector<short> flat(16, 0);
    SmoothArgs a;
    a.levels = 1;
    // A width of 0 as given has no offset, but its band starts one row outside the value.
    const struct {
        int lineWidth, asGiven, halfRows;
    } cases[] = {{0, 0, 1}, {1, 0, 1}, {2, 0, 2}, {9, 0, 1}, {0, 1, 1}, {5, 1, 2}};
    for (const auto& c : cases) {
        a.lineWidth = c.lineWidth;
        a.widthAsGiven = c.asGiven;
        const SmoothResult r = RunSmooth(flat, a);
        EXPECT_EQ(100 + c.halfRows, Lower(r, 0)[0]) << c.lineWidth << "/" << c.asGiven;
        EXPECT_EQ(100 - c.halfRows, Upper(r, 0)[0]) << c.lineWidth << "/" << c.asGiven;
    }
}

TEST(SmoothFilterTest, EveryLowerEdgeIsBelowItsUpperEdge)
{
    for (int columns : {1, 2, 7, 300}) {
        for (int count : {1, 3, 500, 5000}) {
            SmoothArgs a;
            a.x0 = 10;
            a.x1 = 10 + columns;
            a.y0 = 200;
            a.y1 = 150;
            a.gain = 0.05;
            a.levels = 8;
            a.lineWidth = 1;
            a.type = 2;
            a.widthAsGiven = 0;
            const SmoothResult r = RunSmooth(Sine(count, 2000, 2.5), a);
            ASSERT_GT(r.size, 0) << columns << "/" << count;
            for (int c = 0; c < columns; ++c)
                for (int k = 0; k < a.levels; ++k)
                    EXPECT_GE(Lower(r, c)[k], Upper(r, c)[k]) << columns << "/" << count << " c" << c;
        }
    }
}

TEST(SmoothFilterTest, HugeGainSaturatesRows)
{
    SmoothArgs a;
    a.gain = 1e12;
    const SmoothResult r = RunSmooth({-30000, 30000, -30000, 30000}, a);
    ASSERT_GT(r.size, 0);
    EXPECT_EQ(SHRT_MAX, Lower(r, 0)[0]);
    EXPECT_EQ(SHRT_MIN, Upper(r, 0)[0]);
}

// A width taken as given can be anything the caller holds; the band then
// covers the whole row range instead of wrapping.
TEST(SmoothFilterTest, ExtremeGivenLineWidthsSaturateTheRows)
{
    for (int lineWidth : {INT_MIN, INT_MAX}) {
        SmoothArgs a;
        a.levels = 1;
        a.lineWidth = lineWidth;
        a.widthAsGiven = 1;
        const SmoothResult r = RunSmooth(std::vector<short>(8, 0), a);
        ASSERT_GT(r.size, 0) << lineWidth;
        EXPECT_EQ(SHRT_MAX, Lower(r, 0)[0]) << lineWidth;
        EXPECT_EQ(SHRT_MIN, Upper(r, 0)[0]) << lineWidth;
    }
}

// ---- RGBToHSV / HSVToRGB -------------------------------------------------------------

TEST(ColorSpaceTest, PrimariesGetTheirHuesAndGreysNone)
{
    double h, s, v;
    RGBToHSV(255, 0, 0, h, s, v);
    EXPECT_DOUBLE_EQ(0.0, h);
    EXPECT_DOUBLE_EQ(1.0, s);
    EXPECT_DOUBLE_EQ(1.0, v);
    RGBToHSV(0, 255, 0, h, s, v);
    EXPECT_DOUBLE_EQ(120.0, h);
    RGBToHSV(0, 0, 255, h, s, v);
    EXPECT_DOUBLE_EQ(240.0, h);
    RGBToHSV(128, 128, 128, h, s, v);
    EXPECT_DOUBLE_EQ(-1.0, h);
    EXPECT_DOUBLE_EQ(0.0, s);
    EXPECT_DOUBLE_EQ(128 / 255.0, v);
    RGBToHSV(0, 0, 0, h, s, v);
    EXPECT_DOUBLE_EQ(-1.0, h);
    EXPECT_DOUBLE_EQ(0.0, s);
}

TEST(ColorSpaceTest, RedsLeaningToMagentaGetAHueBelow360)
{
    double h, s, v;
    RGBToHSV(255, 0, 128, h, s, v);
    EXPECT_GT(h, 300.0);
    EXPECT_LT(h, 360.0);
    BYTE r, g, b;
    HSVToRGB(h, s, v, r, g, b);
    EXPECT_EQ(255, r);
    EXPECT_EQ(0, g);
    EXPECT_EQ(128, b);
}

TEST(ColorSpaceTest, Hue360IsHue0)
{
    BYTE r0, g0, b0, r1, g1, b1;
    HSVToRGB(0.0, 0.6, 0.8, r0, g0, b0);
    HSVToRGB(360.0, 0.6, 0.8, r1, g1, b1);
    EXPECT_EQ(r0, r1);
    EXPECT_EQ(g0, g1);
    EXPECT_EQ(b0, b1);
}

TEST(ColorSpaceTest, NoHueGivesGrey)
{
    BYTE r, g, b;
    HSVToRGB(-1.0, 0.7, 0.5, r, g, b);
    EXPECT_EQ(128, r);
    EXPECT_EQ(128, g);
    EXPECT_EQ(128, b);
    HSVToRGB(200.0, 0.0, 1.0, r, g, b);
    EXPECT_EQ(255, r);
    EXPECT_EQ(255, b);
}

TEST(ColorSpaceTest, RoundTripIsExact)
{
    int mismatches = 0;
    for (int r = 0; r < 256; r += 3) {
        for (int g = 0; g < 256; g += 3) {
            for (int b = 0; b < 256; b += 3) {
                double h, s, v;
                RGBToHSV(r, g, b, h, s, v);
                BYTE r2, g2, b2;
                HSVToRGB(h, s, v, r2, g2, b2);
                mismatches += (r2 != r || g2 != g || b2 != b);
            }
        }
    }
    EXPECT_EQ(0, mismatches);
}

TEST(ColorSpaceTest, OutOfRangeInputsAreClamped)
{
    BYTE r, g, b;
    HSVToRGB(30.0, 0.5, 2.0, r, g, b);
    EXPECT_EQ(255, r);
    HSVToRGB(NAN, 0.5, 0.5, r, g, b);  // must not crash; any colour will do
    HSVToRGB(-30.0, 0.5, -1.0, r, g, b);
    EXPECT_EQ(0, r);
    EXPECT_EQ(0, g);
    EXPECT_EQ(0, b);
}

// ---- GetPrinterSize --------------------------------------------------------------

TEST(GetPrinterSizeTest, LandscapeSwapsOnlyForOrientation2)
{
    EXPECT_EQ(CSize(297, 210), GetPrinterSize(9, 2));
    EXPECT_EQ(CSize(210, 297), GetPrinterSize(9, 0));
    EXPECT_EQ(CSize(210, 297), GetPrinterSize(9, 3));
}

TEST(GetPrinterSizeTest, EveryCodeHasASizeAndUnknownCodesNone)
{
    for (UINT paper = 1; paper <= 41; ++paper) {
        const CSize size = GetPrinterSize(paper, 1);
        EXPECT_GT(size.cx, 0) << paper;
        EXPECT_GT(size.cy, 0) << paper;
    }
    EXPECT_EQ(CSize(0, 0), GetPrinterSize(0, 1));
    EXPECT_EQ(CSize(0, 0), GetPrinterSize(42, 2));
    EXPECT_EQ(CSize(0, 0), GetPrinterSize(0xFFFFFFFFu, 1));
}

// ---- GetNumberSign ------------------------------------------------------------

TEST(GetNumberSignTest, SignedDecimalsGiveTheirSignAndOtherTextsZero)
{
    EXPECT_EQ(1, GetNumberSign(L"12.5"));
    EXPECT_EQ(-1, GetNumberSign(L"-3"));
    EXPECT_EQ(0, GetNumberSign(L"1.2.3"));
    EXPECT_EQ(0, GetNumberSign(L"12a"));
    EXPECT_EQ(1, GetNumberSign(L"+7"));
    EXPECT_EQ(-1, GetNumberSign(L"-0.25"));
}

TEST(GetNumberSignTest, LoneSignsAndPointsCountButBlanksAndRepeatsDoNot)
{
    EXPECT_EQ(0, GetNumberSign(nullptr));
    EXPECT_EQ(0, GetNumberSign(L""));
    EXPECT_EQ(-1, GetNumberSign(L"-"));
    EXPECT_EQ(1, GetNumberSign(L"+"));
    EXPECT_EQ(1, GetNumberSign(L"."));
    EXPECT_EQ(1, GetNumberSign(L".5"));
    EXPECT_EQ(0, GetNumberSign(L"..5"));
    EXPECT_EQ(0, GetNumberSign(L".5."));
    EXPECT_EQ(1, GetNumberSign(L"5."));
    EXPECT_EQ(0, GetNumberSign(L"-1.5."));
    EXPECT_EQ(0, GetNumberSign(L" 1"));
    EXPECT_EQ(0, GetNumberSign(L"1 "));
    EXPECT_EQ(0, GetNumberSign(L"a1"));
    EXPECT_EQ(0, GetNumberSign(L"--1"));
    EXPECT_EQ(0, GetNumberSign(L"１２"));  // full-width digits are not digits here
}
