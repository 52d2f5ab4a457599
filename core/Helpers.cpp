#include "core/Helpers.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <new>

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

int HiCutFilter(short cutoff, short* samples, int count)
{
    if (samples == nullptr || count < 1)
        return 0;
    if (cutoff == 150)
        return 1;
    if (cutoff != 25 && cutoff != 35 && cutoff != 75 && cutoff != 100)
        return 0;

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
    default: {
        static const double taps[2] = {0.53125, 0.53125};
        RunHiCut(taps, -0.0625, samples, count);
        break;
    }
    }

    return 1;
}

int DeleteBitNoise(short* samples, unsigned count)
{
    if (samples == nullptr || count == 0)
        return 0;
    // In place is safe: out[i] needs only in[i] and out[i - 1].
    for (unsigned i = 1; i < count; ++i) {
        const int previous = samples[i - 1];
        const int current = samples[i];
        const short difference = static_cast<short>(current - previous);
        int filtered;
        if (difference >= 16)
            filtered = current - 12;
        else if (difference <= -16)
            filtered = current + 12;
        else
            filtered = (3 * previous + current) / 4;
        samples[i] = static_cast<short>(filtered);
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
