#include "core/Helpers.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include <emmintrin.h>

namespace {

// ---- HiCutFilter -------------------------------------------------------------

// Saturates instead of wrapping.
short SaturateToShort(double value)
{
    if (value >= SHRT_MAX)
        return SHRT_MAX;
    if (value <= SHRT_MIN)
        return SHRT_MIN;
    return static_cast<short>(value);
}

// Back to the sample scale: through float as the filter always went,
// saturating instead of wrapping (the 100 Hz filter overshoots a full-scale
// step) and cutting toward zero.
inline short ToSample(double value)
{
    float scaled = static_cast<float>(value) * 0.0625f;
    scaled = scaled < -32768.0f ? -32768.0f : scaled;
    scaled = scaled > 32767.0f ? 32767.0f : scaled;
    return static_cast<short>(static_cast<int>(scaled));
}

// The recursion works on the samples scaled by 16, the scale the taps were
// designed in, and starts as if the lead had always stood at its first value,
// so that a lead with a baseline offset does not ring in from zero.
//
// The lead goes through in place, in chunks of a fixed length (the last one
// padded), so that the taps' sums and the conversion back are plain loops
// of a known count over local arrays, which the compiler vectorises at -O2.
// The feedback runs sample by sample; its factor is a power of two (1/2,
// -1/16), so a * y[n-1] is exactly a * s[n-1] + a^2 * y[n-2] rounded once,
// which lets two samples share one step of the chain. Every sum is formed
// and rounded as one sample at a time would, so the result does not change.
template <int N>
void RunHiCut(const double (&taps)[N], double feedback, short* samples, int count)
{
    constexpr int kChunk = 2048;
    double scaled[N];
    for (int k = 0; k < N; ++k)
        scaled[k] = taps[k] * 16.0;
    short input[N - 1 + kChunk];
    double sum[kChunk];
    short output[kChunk];
    for (int k = 0; k < N - 1; ++k)
        input[k] = samples[0];
    double previous = 16.0 * samples[0];
    const double a = feedback, a2 = feedback * feedback;

    for (int start = 0; start < count; start += kChunk) {
        const int n = std::min(kChunk, count - start);
        short* out = samples + start;
        std::memcpy(input + N - 1, out, sizeof(short) * static_cast<size_t>(n));
        if (n < kChunk)
            std::memset(input + N - 1 + n, 0, sizeof(short) * static_cast<size_t>(kChunk - n));
        for (int j = 0; j < kChunk; ++j)
            sum[j] = 0.0;
        for (int k = 0; k < N; ++k) {
            const double tap = scaled[k];
            const short* x = input + N - 1 - k;
            for (int j = 0; j < kChunk; ++j)
                sum[j] += tap * x[j];
        }
        if (feedback != 0.0) {
            int j = 0;
            for (; j + 1 < n; j += 2) {
                const double first = sum[j] + a * previous;
                previous = sum[j + 1] + (a * sum[j] + a2 * previous);
                out[j] = ToSample(first);
                out[j + 1] = ToSample(previous);
            }
            for (; j < n; ++j) {
                previous = sum[j] + a * previous;
                out[j] = ToSample(previous);
            }
        } else {
            for (int j = 0; j < kChunk; ++j)
                output[j] = ToSample(sum[j]);
            std::memcpy(out, output, sizeof(short) * static_cast<size_t>(n));
        }
        for (int k = 0; k < N - 1; ++k)
            input[k] = input[n + k];
    }
}

// ---- recursions run in lanes ----------------------------------------------------

// The bit-noise step: out[i] from in[i] and out[i - 1].
inline int WithoutBitNoise(int previous, int current)
{
    const short difference = static_cast<short>(current - previous);
    int filtered;
    if (difference >= 16)
        filtered = current - 12;
    else if (difference <= -16)
        filtered = current + 12;
    else
        filtered = (3 * previous + current) / 4;
    return static_cast<short>(filtered);
}

// A filter of the chain: integer taps, and the factor that takes their sum
// to the taps the filter was designed with (scaled by 16). Every product and
// partial sum of those taps over shorts is exact in a double, so the sum
// taken in integers and converted once is the very value the double sum was.
struct ChainTaps {
    int taps[8];
    double scale;
    double feedback;
};

// One sample of the filter chain, as the lead has always been filtered: the
// taps' sum (N taps over x[0], x[-1], ..., none for no hi-cut), the feedback
// on the previous unrounded value, the way back to a sample, then the
// bit-noise step on the previous output.
template <int N, bool Feedback, bool Noise>
inline int ChainStep(const ChainTaps& f, const short* x, double& y, int& previous)
{
    int current;
    if (N == 0) {
        current = x[0];
    } else {
        int taps = 0;
        for (int k = 0; k < N; ++k)
            taps += f.taps[k] * x[-k];
        double sum = taps * f.scale;
        if (Feedback) {
            y = sum + f.feedback * y;
            sum = y;
        }
        current = ToSample(sum);
    }
    if (Noise) {
        current = WithoutBitNoise(previous, current);
        previous = current;
    }
    return current;
}

// Eight lanes: the integers and floats of a 256-bit vector; the doubles go
// in two halves, each a vector of its own, so that the chain's state stays
// in registers.
constexpr int kLanes = 8;
typedef short LaneShort __attribute__((vector_size(kLanes * sizeof(short))));
typedef float LaneFloat __attribute__((vector_size(kLanes * sizeof(float))));
typedef int LaneInt __attribute__((vector_size(kLanes * sizeof(int))));
typedef unsigned LaneUnsigned __attribute__((vector_size(kLanes * sizeof(unsigned))));
typedef double HalfDouble __attribute__((vector_size(kLanes / 2 * sizeof(double))));
typedef float HalfFloat __attribute__((vector_size(kLanes / 2 * sizeof(float))));
typedef int HalfInt __attribute__((vector_size(kLanes / 2 * sizeof(int))));
struct LaneDouble {
    HalfDouble low;
    HalfDouble high;
    double operator[](int j) const { return j < kLanes / 2 ? low[j] : high[j - kLanes / 2]; }
};

// The value as a short would hold it, sign and all (no vector is passed to a
// function: without AVX that would change how it is passed).
#define LANE_LOW_SHORT(value) (reinterpret_cast<LaneInt>(reinterpret_cast<LaneUnsigned>(value) << 16) >> 16)
// mask ? a : b per lane, spelt out as bit operations.
#define LANE_SELECT(mask, a, b) (((mask) & (a)) | (~(mask) & (b)))

// Eight rows of eight shorts (row r at from + r * fromStride) written as
// eight columns (column c at to + c * toStride).
inline void Transpose8(const short* from, size_t fromStride, short* to, size_t toStride)
{
    __m128i a[8];
    for (int r = 0; r < 8; ++r)
        a[r] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + r * fromStride));
    const __m128i b0 = _mm_unpacklo_epi16(a[0], a[1]), b1 = _mm_unpackhi_epi16(a[0], a[1]);
    const __m128i b2 = _mm_unpacklo_epi16(a[2], a[3]), b3 = _mm_unpackhi_epi16(a[2], a[3]);
    const __m128i b4 = _mm_unpacklo_epi16(a[4], a[5]), b5 = _mm_unpackhi_epi16(a[4], a[5]);
    const __m128i b6 = _mm_unpacklo_epi16(a[6], a[7]), b7 = _mm_unpackhi_epi16(a[6], a[7]);
    const __m128i c0 = _mm_unpacklo_epi32(b0, b2), c1 = _mm_unpackhi_epi32(b0, b2);
    const __m128i c2 = _mm_unpacklo_epi32(b1, b3), c3 = _mm_unpackhi_epi32(b1, b3);
    const __m128i c4 = _mm_unpacklo_epi32(b4, b6), c5 = _mm_unpackhi_epi32(b4, b6);
    const __m128i c6 = _mm_unpacklo_epi32(b5, b7), c7 = _mm_unpackhi_epi32(b5, b7);
    const __m128i d[8] = {_mm_unpacklo_epi64(c0, c4), _mm_unpackhi_epi64(c0, c4), _mm_unpacklo_epi64(c1, c5),
                          _mm_unpackhi_epi64(c1, c5), _mm_unpacklo_epi64(c2, c6), _mm_unpackhi_epi64(c2, c6),
                          _mm_unpacklo_epi64(c3, c7), _mm_unpackhi_epi64(c3, c7)};
    for (int c = 0; c < 8; ++c)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + c * toStride), d[c]);
}

// Both recursions (the feedback of the 35 and 100 Hz filters, the bit-noise
// step) carry one sample's state to the next, which keeps a lead on one
// serial chain. The lead is therefore cut into blocks, each block into
// kLanes spans run side by side in vector lanes, every span started a
// little early (warmUp samples) from a guessed state. Both recursions forget
// their start: within a few samples a guessed chain and the true one hold
// the very same state, and from there on the same outputs. Each span is then
// checked in order: the true chain is carried on from the end of the span
// before, sample by sample, until its state equals, bit for bit, the one the
// lane held at the same sample; what the lane wrote from there on stands.
// A span that never meets the true chain is simply written by it, so the
// result is that of the one-sample-at-a-time chain in every case.
template <int N, bool Feedback, bool Noise>
struct LaneChain {
    static constexpr int kSpan = 1024;
    static constexpr size_t kBlock = static_cast<size_t>(kSpan) * kLanes;

    // Returns false when the working buffers cannot be had.
    static inline __attribute__((always_inline)) bool Run(const ChainTaps& f, int warmUp, short* samples,
                                                          size_t count)
    {
        const int history = warmUp + (N > 0 ? N - 1 : 0);
        std::unique_ptr<short[]> raw(new (std::nothrow) short[history + kBlock]);
        std::unique_ptr<LaneShort[]> across(new (std::nothrow) LaneShort[history + kSpan]);
        std::unique_ptr<LaneShort[]> out(new (std::nothrow) LaneShort[kSpan]);
        std::unique_ptr<LaneDouble[]> held(Feedback ? new (std::nothrow) LaneDouble[kSpan] : nullptr);
        if (!raw || !across || !out || (Feedback && !held))
            return false;

        // The first sample: the chain starts as if the lead had always stood
        // at it, and the bit-noise step leaves it alone.
        short* r = raw.get();
        std::fill(r, r + history + 1, samples[0]);
        double y = 16.0 * samples[0];
        int previous = 0;
        previous = samples[0] = static_cast<short>(ChainStep<N, Feedback, false>(f, r + history, y, previous));

        size_t b = 1;
        for (; count - b >= kBlock; b += kBlock) {
            std::memcpy(r + history, samples + b, kBlock * sizeof(short));
            RunBlock(f, history, r, across.get(), out.get(), held.get());
            Settle(f, history, r, out.get(), held.get(), y, previous);
            for (int t = 0; t < kSpan; t += kLanes)
                Transpose8(reinterpret_cast<const short*>(out.get() + t), kLanes, samples + b + t, kSpan);
            std::memmove(r, r + kBlock, history * sizeof(short));
        }
        const size_t rest = count - b;
        std::memcpy(r + history, samples + b, rest * sizeof(short));
        for (size_t i = 0; i < rest; ++i)
            samples[b + i] = static_cast<short>(ChainStep<N, Feedback, Noise>(f, r + history + i, y, previous));
        return true;
    }

    // Runs the block's spans side by side from guessed states; lane j's
    // samples are r[history + j * kSpan ...], the history before them included.
    static inline __attribute__((always_inline)) void RunBlock(const ChainTaps& f, int history, const short* r,
                                                               LaneShort* across, LaneShort* out, LaneDouble* held)
    {
        int u = 0;
        for (; u + kLanes <= history + kSpan; u += kLanes)
            Transpose8(r + u, kSpan, reinterpret_cast<short*>(across + u), kLanes);
        for (; u < history + kSpan; ++u)
            for (int j = 0; j < kLanes; ++j)
                across[u][j] = r[static_cast<size_t>(j) * kSpan + u];
        const int first = N > 0 ? N - 1 : 0;
        LaneInt previous = __builtin_convertvector(across[first], LaneInt);
        HalfDouble yLow = __builtin_convertvector(__builtin_shufflevector(previous, previous, 0, 1, 2, 3), HalfDouble) * 16.0;
        HalfDouble yHigh = __builtin_convertvector(__builtin_shufflevector(previous, previous, 4, 5, 6, 7), HalfDouble) * 16.0;
        const LaneInt low = LaneInt{} - 32768, high = LaneInt{} + 32767;
        for (int u = first; u < history + kSpan; ++u) {
            LaneInt current;
            if (N == 0) {
                current = __builtin_convertvector(across[u], LaneInt);
            } else {
                LaneInt taps = __builtin_convertvector(across[u], LaneInt) * f.taps[0];
                for (int k = 1; k < N; ++k)
                    taps += __builtin_convertvector(across[u - k], LaneInt) * f.taps[k];
                HalfDouble sumLow = __builtin_convertvector(__builtin_shufflevector(taps, taps, 0, 1, 2, 3), HalfDouble) * f.scale;
                HalfDouble sumHigh = __builtin_convertvector(__builtin_shufflevector(taps, taps, 4, 5, 6, 7), HalfDouble) * f.scale;
                if (Feedback) {
                    yLow = sumLow + f.feedback * yLow;
                    yHigh = sumHigh + f.feedback * yHigh;
                    sumLow = yLow;
                    sumHigh = yHigh;
                }
                const HalfFloat floatLow = __builtin_convertvector(sumLow, HalfFloat);
                const HalfFloat floatHigh = __builtin_convertvector(sumHigh, HalfFloat);
                const LaneFloat scaled = __builtin_shufflevector(floatLow, floatHigh, 0, 1, 2, 3, 4, 5, 6, 7) * 0.0625f;
                // Cut toward zero, then held to a short: the same as holding
                // the scaled value first (it stays far inside an int).
                const LaneInt cut = __builtin_convertvector(scaled, LaneInt);
                const LaneInt raised = LANE_SELECT(cut < low, low, cut);
                current = LANE_SELECT(raised > high, high, raised);
            }
            if (Noise) {
                const LaneInt step = current - previous;
                const LaneInt difference = LANE_LOW_SHORT(step);
                const LaneInt sum = previous + previous + previous + current;
                const LaneInt damped = (sum + ((sum >> 31) & 3)) >> 2;
                const LaneInt passed = LANE_SELECT(difference >= 16, current - 12, current + 12);
                const LaneInt filtered = LANE_SELECT((difference >= 16) | (difference <= -16), passed, damped);
                current = LANE_LOW_SHORT(filtered);
                previous = current;
            }
            const int t = u - history;
            if (t >= 0) {
                out[t] = __builtin_convertvector(current, LaneShort);
                if (Feedback)
                    held[t] = LaneDouble{yLow, yHigh};
            }
        }
    }

    // Carries the true chain through the block's spans in order, replacing
    // each lane's samples until the lane's state is the true one.
    static inline __attribute__((always_inline)) void Settle(const ChainTaps& f, int history, const short* r,
                                                             LaneShort* out, const LaneDouble* held, double& y,
                                                             int& previous)
    {
        for (int j = 0; j < kLanes; ++j) {
            const short* x = r + history + static_cast<size_t>(j) * kSpan;
            int t = 0;
            for (; t < kSpan; ++t) {
                const int current = ChainStep<N, Feedback, Noise>(f, x + t, y, previous);
                bool met = true;
                if (Feedback) {
                    const double lane = held[t][j];
                    met = std::memcmp(&lane, &y, sizeof y) == 0;
                }
                if (Noise)
                    met = met && previous == out[t][j];
                if (met)
                    break;
                out[t][j] = static_cast<short>(current);
            }
            if (t < kSpan) {
                if (Feedback)
                    y = held[kSpan - 1][j];
                if (Noise)
                    previous = out[kSpan - 1][j];
            }
        }
    }
};

const ChainTaps kTaps25 = {{2, 2, 2, 2, 2, 2, 2, 2}, 1.0, 0.0};
const ChainTaps kTaps35 = {{2, 2, 2, 2}, 1.0, 0.5};
const ChainTaps kTaps75 = {{4, 8, 4}, 1.0, 0.0};
const ChainTaps kTaps100 = {{17, 17}, 0.5, -0.0625};
const ChainTaps kNoTaps = {{}, 1.0, 0.0};

// Samples run ahead of each span: enough for a guessed state to have met the
// true one almost always (the 35 Hz feedback halves a difference per sample,
// the 100 Hz one divides it by 16).
constexpr int kWarmUp35 = 72;
constexpr int kWarmUp = 16;

// The lanes are built for processors with 256-bit vectors; with narrower
// ones they cost more than the chain they replace, which stays then.
__attribute__((target("avx2"), flatten)) bool FilterChainWide(short cutoff, bool noise, short* samples, size_t count)
{
    switch (cutoff) {
    case 35:
        return noise ? LaneChain<4, true, true>::Run(kTaps35, kWarmUp35, samples, count)
                     : LaneChain<4, true, false>::Run(kTaps35, kWarmUp35, samples, count);
    case 100:
        return noise ? LaneChain<2, true, true>::Run(kTaps100, kWarmUp, samples, count)
                     : LaneChain<2, true, false>::Run(kTaps100, kWarmUp, samples, count);
    case 25: return noise && LaneChain<8, false, true>::Run(kTaps25, kWarmUp, samples, count);
    case 75: return noise && LaneChain<3, false, true>::Run(kTaps75, kWarmUp, samples, count);
    case 150: return noise && LaneChain<0, false, true>::Run(kNoTaps, kWarmUp, samples, count);
    default: return false;
    }
}

// The hi-cut filter of the given cut-off and, when noise is set, the
// bit-noise step after it, in one pass over the lead. False when that pass
// is not to be had here (no wide vectors, no buffers, a short lead, or a
// filter without feedback on its own, whose chunks vectorise already): the
// caller then runs the steps one after the other.
bool FilterChain(short cutoff, bool noise, short* samples, size_t count)
{
    // A lead of one block or less gains nothing from the lanes.
    if (count <= LaneChain<0, false, true>::kBlock)
        return false;
    static const bool wide = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
    return wide && FilterChainWide(cutoff, noise, samples, count);
}

// ---- SmoothFilter --------------------------------------------------------------

constexpr int kMaxSmoothLevels = 16;

size_t AlignUp(size_t n, size_t alignment)
{
    return (n + alignment - 1) / alignment * alignment;
}

// Byte offsets inside the table block. With 4-byte pointers no padding is
// needed and the total is ((levels + 2) * columns + levels) * 4 + 16, the size
// the 32-bit callers were written against; with 8-byte pointers the header is
// 24 bytes and the ramp is padded so that the column array stays aligned.
struct SmoothLayout {
    size_t colors;
    size_t columns;
    size_t edges;
    size_t total;
};

SmoothLayout LayoutSmoothTable(size_t columns, size_t levels)
{
    SmoothLayout layout;
    layout.colors = sizeof(_SMOOTH_TABLE);
    layout.columns = AlignUp(layout.colors + levels * sizeof(COLORREF), alignof(_SMOOTH_COLUMN));
    layout.edges = layout.columns + columns * sizeof(_SMOOTH_COLUMN);
    layout.total = layout.edges + columns * levels * 2 * sizeof(short);
    return layout;
}

int DefaultLineWidth(int lineWidth)
{
    switch (lineWidth) {
    case 0:
        return 2;
    case 1:
        return 3;
    case 2:
        return 4;
    default:
        return 3;
    }
}

// Blends in the squared (roughly linear-light) domain so the faint levels do
// not look muddy; integer quotients as the original ramp had them.
BYTE RampChannel(int index, int levels, int waveChannel, int backChannel)
{
    const int backPart = ((levels - 1 - index) * backChannel * backChannel) / levels;
    const int wavePart = ((index + 1) * waveChannel * waveChannel) / levels;
    return static_cast<BYTE>(static_cast<int>(std::sqrt(static_cast<double>(backPart + wavePart))));
}

void FillColorRamp(COLORREF* colors, int levels, COLORREF wave, COLORREF back)
{
    for (int i = 0; i < levels; ++i) {
        colors[i] = RGB(RampChannel(i, levels, GetRValue(wave), GetRValue(back)),
                        RampChannel(i, levels, GetGValue(wave), GetGValue(back)),
                        RampChannel(i, levels, GetBValue(wave), GetBValue(back)));
    }
    colors[levels - 1] = wave;
}

// Keeps the peaks of every stretch so that a QRS never vanishes between two
// columns: alternately emits the lowest and the highest value seen.
void DecimateMinMax(const short* in, int n, double* out, int m, double scale)
{
    const float step = static_cast<float>(n) / static_cast<float>(m);
    int maximum = in[0];
    int minimum = in[0];
    bool lastWasMinimum = false;
    for (int j = 0; j < m; ++j) {
        int index = std::min(static_cast<int>(static_cast<float>(j) * step), n - 1);
        int last = in[index];
        for (int scanned = 0; scanned < step && index < n; ++scanned, ++index) {
            last = in[index];
            if (last > maximum) {
                maximum = last;
                lastWasMinimum = false;
            } else if (last < minimum) {
                minimum = last;
                lastWasMinimum = true;
            }
        }
        double value;
        if (!lastWasMinimum) {
            value = minimum;
            minimum = last;
            lastWasMinimum = true;
        } else {
            value = maximum;
            maximum = last;
            lastWasMinimum = false;
        }
        out[j] = value * scale;
    }
}

void InterpolateLinear(const short* in, int n, double* out, int m, double scale)
{
    const float step = static_cast<float>(n) / static_cast<float>(m);
    for (int j = 0; j < m; ++j) {
        const float position = static_cast<float>(j) * step;
        // Float rounding can put the last position on n itself.
        const int i = std::min(static_cast<int>(position), n - 1);
        const int next = (i == n - 1) ? i : i + 1;
        const float fraction = position - static_cast<float>(i);
        out[j] = (in[i] * (1.0 - fraction) + in[next] * static_cast<double>(fraction)) * scale;
    }
}

short ToRow(int y0, double value)
{
    if (std::isnan(value))
        return 0;
    return SaturateToShort(static_cast<double>(y0) - std::trunc(value));
}

double LevelOffset(int type, int lineWidth, int levels, int level)
{
    const double half = lineWidth * 0.5;
    if (type == 2)
        return half + (levels - 1 - level) * 0.25;
    if (type == 0)
        return half - level * 0.25;
    return half - (levels - 1 - level) * 0.25;
}

struct EdgeParams {
    int y0;
    int levels;
    int lineWidth;
    int type;
};

// Each level's band covers the values around the border between this column
// and the next, the window narrowing by one value on each side per level.
// lastIndex clips the window (only a lone column needs it).
void ComputeColumnEdges(const double* v, int lastIndex, const EdgeParams& p, _SMOOTH_COLUMN& column)
{
    const int levels = p.levels;
    const double widen = static_cast<double>(p.lineWidth) - 1.0;
    for (int k = 0; k < levels; ++k) {
        double upper = v[k] - widen;
        double lower = v[k] + widen;
        const int end = std::min(2 * levels - 1 - k, lastIndex);
        for (int i = k; i <= end; ++i) {
            upper = std::max(upper, v[i]);
            lower = std::min(lower, v[i]);
        }
        const double offset = LevelOffset(p.type, p.lineWidth, levels, k);
        column.pLower[k] = ToRow(p.y0, lower - offset);
        column.pUpper[k] = ToRow(p.y0, upper + offset);
    }
}

}  // namespace

namespace {

// The hi-cut filter on its own, a pass per step (and the way when the lanes'
// buffers cannot be had).
void HiCutInChunks(short cutoff, short* samples, int count)
{
    switch (cutoff) {
    case 25: {
        static const double taps[8] = {0.125, 0.125, 0.125, 0.125, 0.125, 0.125, 0.125, 0.125};
        RunHiCut(taps, 0.0, samples, count);
        break;
    }
    case 35: {
        static const double taps[4] = {0.125, 0.125, 0.125, 0.125};
        RunHiCut(taps, 0.5, samples, count);
        break;
    }
    case 75: {
        static const double taps[3] = {0.25, 0.5, 0.25};
        RunHiCut(taps, 0.0, samples, count);
        break;
    }
    case 100: {
        static const double taps[2] = {0.53125, 0.53125};
        RunHiCut(taps, -0.0625, samples, count);
        break;
    }
    default: break;
    }
}

void BitNoiseOneByOne(short* samples, size_t count)
{
    // In place is safe: out[i] needs only in[i] and out[i - 1].
    for (size_t i = 1; i < count; ++i)
        samples[i] = static_cast<short>(WithoutBitNoise(samples[i - 1], samples[i]));
}

bool KnownCutoff(short cutoff)
{
    return cutoff == 25 || cutoff == 35 || cutoff == 75 || cutoff == 100 || cutoff == 150;
}

}  // namespace

int HiCutFilter(short cutoff, short* samples, int count)
{
    if (samples == nullptr || count < 1 || !KnownCutoff(cutoff))
        return 0;
    if (cutoff == 150)
        return 1;
    // The filters without feedback have no chain: their chunks vectorise as they are.
    if (!FilterChain(cutoff, false, samples, static_cast<size_t>(count)))
        HiCutInChunks(cutoff, samples, count);
    return 1;
}

int DeleteBitNoise(short* samples, unsigned count)
{
    if (samples == nullptr || count == 0)
        return 0;
    if (!FilterChain(150, true, samples, count))
        BitNoiseOneByOne(samples, count);
    return 1;
}

int HiCutDeleteBitNoise(short cutoff, int deleteBitNoise, short* samples, int count)
{
    if (samples == nullptr || count < 1 || !KnownCutoff(cutoff))
        return 0;
    if (!deleteBitNoise)
        return HiCutFilter(cutoff, samples, count);
    if (!FilterChain(cutoff, true, samples, static_cast<size_t>(count))) {
        HiCutInChunks(cutoff, samples, count);
        BitNoiseOneByOne(samples, static_cast<size_t>(count));
    }
    return 1;
}

int SmoothFilter(const short* samples, int count, void* table, int x0, int y0, int x1, int y1,
                 double gain, COLORREF wave, COLORREF back, int levels, int lineWidth, int type,
                 int widthAsGiven)
{
    const long long columns = static_cast<long long>(x1) - x0;
    if (columns < 1)
        return 0;
    if (widthAsGiven == 0)
        lineWidth = DefaultLineWidth(lineWidth);
    // Levels are checked before the size query too: a size for a table that
    // the second call would refuse only makes the caller allocate for nothing.
    if (levels < 1 || levels > kMaxSmoothLevels)
        return 0;
    const SmoothLayout layout = LayoutSmoothTable(static_cast<size_t>(columns), levels);
    if (layout.total > static_cast<size_t>(INT_MAX))
        return 0;
    if (table == nullptr)
        return static_cast<int>(layout.total);
    if (samples == nullptr || count < 1)
        return 0;

    const int nColumns = static_cast<int>(columns);
    const long long valueCount = columns * levels;
    double* values = new (std::nothrow) double[valueCount];
    if (values == nullptr)
        return 0;
    const double scale = gain * (static_cast<double>(y1) - y0);
    if (valueCount <= count)
        DecimateMinMax(samples, count, values, static_cast<int>(valueCount), scale);
    else
        InterpolateLinear(samples, count, values, static_cast<int>(valueCount), scale);

    BYTE* block = static_cast<BYTE*>(table);
    _SMOOTH_TABLE* header = static_cast<_SMOOTH_TABLE*>(table);
    header->nColumns = nColumns;
    header->nLevels = levels;
    header->pColors = reinterpret_cast<COLORREF*>(block + layout.colors);
    header->pColumns = reinterpret_cast<_SMOOTH_COLUMN*>(block + layout.columns);
    FillColorRamp(header->pColors, levels, wave, back);

    short* edges = reinterpret_cast<short*>(block + layout.edges);
    for (int c = 0; c < nColumns; ++c) {
        header->pColumns[c].pLower = edges + static_cast<size_t>(c) * 2 * levels;
        header->pColumns[c].pUpper = header->pColumns[c].pLower + levels;
    }

    const EdgeParams params = {y0, levels, lineWidth, type};
    if (nColumns == 1) {
        ComputeColumnEdges(values, levels - 1, params, header->pColumns[0]);
    } else {
        for (int c = 0; c + 1 < nColumns; ++c)
            ComputeColumnEdges(values + static_cast<size_t>(c) * levels, 2 * levels - 1, params,
                               header->pColumns[c]);
        // The last column has no right neighbour to blend with.
        const _SMOOTH_COLUMN& before = header->pColumns[nColumns - 2];
        _SMOOTH_COLUMN& last = header->pColumns[nColumns - 1];
        std::memcpy(last.pLower, before.pLower, levels * sizeof(short));
        std::memcpy(last.pUpper, before.pUpper, levels * sizeof(short));
    }

    delete[] values;
    return static_cast<int>(layout.total);
}

void RGBToHSV(BYTE r, BYTE g, BYTE b, double& h, double& s, double& v)
{
    const double red = r / 255.0;
    const double green = g / 255.0;
    const double blue = b / 255.0;
    const double largest = std::max({red, green, blue});
    const double smallest = std::min({red, green, blue});

    v = largest;
    s = (largest != 0.0) ? (largest - smallest) / largest : 0.0;
    if (s == 0.0) {
        h = -1.0;
        return;
    }
    const double delta = largest - smallest;
    const double rc = (largest - red) / delta;
    const double gc = (largest - green) / delta;
    const double bc = (largest - blue) / delta;
    if (red == largest)
        h = (bc - gc) * 60.0;
    else if (green == largest)
        h = (2.0 + rc - bc) * 60.0;
    else
        h = (4.0 + gc - rc) * 60.0;
    // Reds leaning to magenta come out negative; HSVToRGB expects 0..360.
    if (h < 0.0)
        h += 360.0;
}

namespace {

BYTE UnitToByte(double x)
{
    const double scaled = std::floor(x * 255.0 + 0.5);
    if (!(scaled > 0.0))
        return 0;
    if (scaled >= 255.0)
        return 255;
    return static_cast<BYTE>(scaled);
}

}  // namespace

void HSVToRGB(double h, double s, double v, BYTE& r, BYTE& g, BYTE& b)
{
    if (h == -1.0 || s == 0.0) {
        r = g = b = UnitToByte(v);
        return;
    }
    if (h == 360.0)
        h = 0.0;
    const double sectorPosition = h / 60.0;
    const double sectorFloor = std::floor(sectorPosition);
    const double f = sectorPosition - sectorFloor;
    const double p = v * (1.0 - s);
    const double q = v * (1.0 - s * f);
    const double t = v * (1.0 - s * (1.0 - f));
    // Out-of-range hues (or NaN) fall into the red sector instead of a bad cast.
    const int sector = (sectorFloor >= 1.0 && sectorFloor <= 5.0) ? static_cast<int>(sectorFloor) : 0;

    double red, green, blue;
    switch (sector) {
    case 1:
        red = q, green = v, blue = p;
        break;
    case 2:
        red = p, green = v, blue = t;
        break;
    case 3:
        red = p, green = q, blue = v;
        break;
    case 4:
        red = t, green = p, blue = v;
        break;
    case 5:
        red = v, green = p, blue = q;
        break;
    default:
        red = v, green = t, blue = p;
        break;
    }
    r = UnitToByte(red);
    g = UnitToByte(green);
    b = UnitToByte(blue);
}

namespace {

struct PaperSize {
    short width;   // mm, portrait
    short height;  // mm, portrait
};

// Indexed by DMPAPER_* code - 1. Inch sizes are x 25.4 and truncated, as the
// print layouts were measured against whole millimetres.
const PaperSize kPaperSizes[] = {
    {215, 279},   // 1 Letter
    {215, 279},   // 2 Letter Small
    {279, 431},   // 3 Tabloid
    {431, 279},   // 4 Ledger
    {215, 355},   // 5 Legal
    {139, 215},   // 6 Statement
    {184, 266},   // 7 Executive
    {297, 420},   // 8 A3
    {210, 297},   // 9 A4
    {210, 297},   // 10 A4 Small
    {148, 210},   // 11 A5
    {250, 354},   // 12 B4 (JIS)
    {182, 257},   // 13 B5 (JIS)
    {215, 330},   // 14 Folio
    {215, 275},   // 15 Quarto
    {254, 355},   // 16 10x14
    {279, 431},   // 17 11x17
    {215, 279},   // 18 Note
    {98, 225},    // 19 Envelope #9
    {104, 241},   // 20 Envelope #10
    {114, 263},   // 21 Envelope #11
    {120, 279},   // 22 Envelope #12
    {127, 292},   // 23 Envelope #14
    {431, 558},   // 24 C size sheet
    {558, 863},   // 25 D size sheet
    {863, 1117},  // 26 E size sheet
    {110, 220},   // 27 Envelope DL
    {162, 229},   // 28 Envelope C5
    {324, 458},   // 29 Envelope C3
    {229, 324},   // 30 Envelope C4
    {114, 162},   // 31 Envelope C6
    {114, 229},   // 32 Envelope C65
    {250, 353},   // 33 Envelope B4
    {176, 250},   // 34 Envelope B5
    {176, 125},   // 35 Envelope B6
    {110, 230},   // 36 Envelope Italy
    {98, 190},    // 37 Envelope Monarch
    {92, 165},    // 38 6 3/4 Envelope
    {377, 279},   // 39 US Std Fanfold
    {215, 304},   // 40 German Std Fanfold
    {215, 330},   // 41 German Legal Fanfold
};

constexpr UINT kPaperCodeCount = sizeof(kPaperSizes) / sizeof(kPaperSizes[0]);
constexpr int kLandscape = 2;

}  // namespace

CSize GetPrinterSize(UINT paper, int orientation)
{
    if (paper < 1 || paper > kPaperCodeCount)
        return CSize(0, 0);
    const PaperSize& size = kPaperSizes[paper - 1];
    if (orientation == kLandscape)
        return CSize(size.height, size.width);
    return CSize(size.width, size.height);
}

int GetNumberSign(LPCTSTR text)
{
    if (text == nullptr || text[0] == L'\0')
        return 0;
    int dots = 0;
    for (LPCTSTR p = text + 1; *p != L'\0'; ++p) {
        if (*p == L'.') {
            if (++dots > 1)
                return 0;
        } else if (*p < L'0' || *p > L'9') {
            return 0;
        }
    }
    const wchar_t first = text[0];
    if ((first >= L'0' && first <= L'9') || first == L'+')
        return 1;
    if (first == L'-')
        return -1;
    if (first == L'.')
        return dots == 0 ? 1 : 0;
    return 0;
}
