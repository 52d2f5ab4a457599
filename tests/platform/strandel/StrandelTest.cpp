// The line renderer, probed pixel by pixel on a memory DC as the trace
// renderer uses it: create, set scale, width, DC, colours and pen, draw.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "platform/strandel/Strandel.h"
#include "tests/platform/gdi/GdiTestSupport.h"
#include "tests/support/DCStateCheck.h"

using namespace gditest;

namespace {

const int kWidth = 120;
const int kHeight = 100;
const COLORREF kPaper = RGB(20, 240, 60);
const COLORREF kTrace = RGB(200, 30, 90);

// A memory DC over a colour bitmap painted with the paper colour.
class Canvas {
public:
    Canvas()
    {
        // Compatible with a display DC, as a view's off-screen bitmap is.
        m_screen.Attach(platform::gdi::CreateImageDC(1, 1));
        m_dc.CreateCompatibleDC(&m_screen);
        m_bitmap.CreateCompatibleBitmap(&m_screen, kWidth, kHeight);
        m_old = m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, kWidth, kHeight, kPaper);
    }
    ~Canvas() { m_dc.SelectObject(m_old); }
    CDC* dc() { return &m_dc; }
    COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }
    bool Painted(int x, int y) { return At(x, y) != kPaper; }

private:
    CDC m_screen;
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_old = nullptr;
};

struct Settings {
    double pixelPerSample = 1.0;
    float xWidth = 1.0f;
    float yWidth = 1.0f;
    int power = 3;
    float gamma = 1.0f;
};

BOOL Draw(Canvas& canvas, int left, int top, int outPixels, std::vector<short> samples, const Settings& s = {})
{
    CStrandel line;
    line.SetPixelPerSample(s.pixelPerSample);
    line.SetOutPixels(outPixels);
    line.SetDC(canvas.dc());
    line.SetColor(s.power, kTrace, kPaper, s.gamma);
    line.SetLineWidth(s.xWidth, s.yWidth);
    return line.SmoothLine(left, top, samples.empty() ? nullptr : samples.data(), static_cast<int>(samples.size()));
}

bool Between(int value, int a, int b)
{
    return value >= std::min(a, b) && value <= std::max(a, b);
}

}  // namespace

class StrandelTest : public LeakCheckedTest {};

TEST_F(StrandelTest, AFlatTraceLiesOnItsRowInTheTraceColourAcrossExactlyTheWidth)
{
    Canvas canvas;
    ASSERT_TRUE(Draw(canvas, 10, 60, 80, std::vector<short>(300, 20)));
    for (int x = 10; x < 90; ++x) {
        EXPECT_EQ(ColorText(kTrace), ColorText(canvas.At(x, 40))) << "column " << x;
        EXPECT_FALSE(canvas.Painted(x, 39)) << "a one-pixel pen paints one row, column " << x;
        EXPECT_FALSE(canvas.Painted(x, 41)) << "column " << x;
    }
    for (int y = 0; y < kHeight; ++y) {
        EXPECT_FALSE(canvas.Painted(9, y)) << "left of the line, row " << y;
        EXPECT_FALSE(canvas.Painted(90, y)) << "right of the line, row " << y;
    }
}

TEST_F(StrandelTest, EachSampleLiesInItsColumnAtItsHeight)
{
    // Sparse: ten samples over a hundred columns, sample i at column 10 i.
    Canvas sparse;
    std::vector<short> ramp;
    for (int i = 0; i < 10; ++i) ramp.push_back(static_cast<short>(i * 3));
    ASSERT_TRUE(Draw(sparse, 5, 70, 100, ramp));
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(ColorText(kTrace), ColorText(sparse.At(5 + 10 * i, 70 - 3 * i))) << "sample " << i;

    // Dense: a one-sample spike of 30 at sample 203 of 400 on 100 columns
    // lands in column 50 and reaches row top - 30, and nowhere else does.
    Canvas dense;
    std::vector<short> spike(400, 0);
    spike[203] = 30;
    ASSERT_TRUE(Draw(dense, 10, 80, 100, spike, Settings{1.0, 1.5f, 1.0f, 3, 1.0f}));
    EXPECT_EQ(ColorText(kTrace), ColorText(dense.At(60, 50)));
    for (int x = 0; x < kWidth; ++x) EXPECT_FALSE(dense.Painted(x, 49)) << "above the spike, column " << x;
    EXPECT_FALSE(dense.Painted(58, 50));
    EXPECT_FALSE(dense.Painted(62, 50));
}

TEST_F(StrandelTest, NegativeSamplesGoBelowTheBaselineAndTheScaleStretchesThem)
{
    Canvas canvas;
    ASSERT_TRUE(Draw(canvas, 0, 30, 100, std::vector<short>(50, -8), Settings{2.5, 1.0f, 1.0f, 3, 1.0f}));
    EXPECT_EQ(ColorText(kTrace), ColorText(canvas.At(50, 50)));
    EXPECT_FALSE(canvas.Painted(50, 30));
}

TEST_F(StrandelTest, StaysInsideItsRectangleForAnySetting)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const float nanf = std::numeric_limits<float>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    static const Settings kSettings[] = {
        // pixels/sample  x width  y width  power  gamma
        {1.0, 1.5f, 1.5f, 3, 1.0f},      // the record's defaults
        {0.3, 0.0f, 0.0f, 0, 0.0f},      // all zero
        {-0.7, -4.0f, -9.0f, -3, -2.0f}, // all negative
        {0.5, 1e9f, 1e9f, 1000, 100.0f}, // all huge
        {nan, nanf, nanf, 1, nanf},      // not numbers
        {inf, 3.0f, 7.0f, 16, 2.2f},
        {1e12, 2.0f, 2.0f, 2, 0.5f},
        {0.0, 16.0f, 16.0f, 8, 0.1f},
    };
    std::vector<short> wave;
    for (int i = 0; i < 700; ++i) wave.push_back(static_cast<short>(25 * std::sin(i / 9.0) + (i % 97 == 0 ? 30 : 0)));
    const int left = 20, top = 50, outPixels = 70;
    for (const Settings& s : kSettings) {
        for (size_t count : {size_t(1), size_t(2), size_t(9), size_t(30), wave.size()}) {
            Canvas canvas;
            std::vector<short> samples(wave.begin(), wave.begin() + static_cast<long>(count));
            ASSERT_TRUE(Draw(canvas, left, top, outPixels, samples, s));
            // Rows: the samples' extent plus at most half the widest pen.
            double pps = std::isfinite(s.pixelPerSample) ? s.pixelPerSample : 0.0;
            const auto [lo, hi] = std::minmax_element(samples.begin(), samples.end());
            const double yA = top - *lo * pps, yB = top - *hi * pps;
            const bool rowsKnown = std::abs(pps) < 1e6;
            int paintedCount = 0;
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x) {
                    if (!canvas.Painted(x, y)) continue;
                    ++paintedCount;
                    EXPECT_TRUE(x >= left && x < left + outPixels)
                        << "column " << x << " with " << count << " samples, power " << s.power;
                    if (rowsKnown) {
                        EXPECT_TRUE(y >= std::min(yA, yB) - 9 && y <= std::max(yA, yB) + 9)
                            << "row " << y << " with " << count << " samples, power " << s.power;
                    }
                }
            if (rowsKnown) {
                EXPECT_GE(paintedCount, outPixels) << "every column shows the line";
            }
        }
    }
}

TEST_F(StrandelTest, PaintsOnlyColoursBetweenBackgroundAndTrace)
{
    std::vector<short> wave;
    for (int i = 0; i < 333; ++i) wave.push_back(static_cast<short>(30 * std::sin(i / 5.0)));
    for (int power : {1, 3, 9}) {
        for (float gamma : {0.4f, 1.0f, 2.2f, 6.0f}) {
            Canvas canvas;
            ASSERT_TRUE(Draw(canvas, 0, 50, kWidth, wave, Settings{1.0, 2.5f, 2.5f, power, gamma}));
            int painted = 0;
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x) {
                    const COLORREF c = canvas.At(x, y);
                    if (c == kPaper) continue;
                    ++painted;
                    EXPECT_TRUE(Between(GetRValue(c), GetRValue(kPaper), GetRValue(kTrace)) &&
                                Between(GetGValue(c), GetGValue(kPaper), GetGValue(kTrace)) &&
                                Between(GetBValue(c), GetBValue(kPaper), GetBValue(kTrace)))
                        << ColorText(c) << " at (" << x << ", " << y << "), power " << power << ", gamma " << gamma;
                }
            EXPECT_GT(painted, kWidth);
        }
    }
}

TEST_F(StrandelTest, EdgesAreShadedBetweenTheColours)
{
    // A 1.5-pixel pen on a flat trace covers the rows beside it a quarter.
    Canvas canvas;
    ASSERT_TRUE(Draw(canvas, 0, 50, 60, std::vector<short>(60, 0), Settings{1.0, 1.5f, 1.5f, 1, 1.0f}));
    const COLORREF edge = canvas.At(30, 49);
    EXPECT_EQ(edge, canvas.At(30, 51)) << "both sides alike";
    EXPECT_NE(kPaper, edge);
    EXPECT_NE(kTrace, edge);
    EXPECT_EQ(ColorText(kTrace), ColorText(canvas.At(30, 50)));
}

TEST_F(StrandelTest, MorePowerDarkensPartlyCoveredPixels)
{
    auto edgeRed = [](int power) {
        Canvas canvas;
        Draw(canvas, 0, 50, 60, std::vector<short>(60, 0), Settings{1.0, 1.5f, 1.5f, power, 1.0f});
        return static_cast<int>(GetRValue(canvas.At(30, 49)));
    };
    // Red grows from the paper's 20 towards the trace's 200.
    EXPECT_LT(edgeRed(1), edgeRed(3));
    EXPECT_LT(edgeRed(3), edgeRed(8));
}

TEST_F(StrandelTest, AWiderPenCoversMoreRowsInTheTraceColour)
{
    Canvas canvas;
    ASSERT_TRUE(Draw(canvas, 0, 50, 60, std::vector<short>(60, 0), Settings{1.0, 1.0f, 5.0f, 3, 1.0f}));
    for (int y = 48; y <= 52; ++y) EXPECT_EQ(ColorText(kTrace), ColorText(canvas.At(20, y))) << "row " << y;
    EXPECT_FALSE(canvas.Painted(20, 47));
    EXPECT_FALSE(canvas.Painted(20, 53));
}

TEST_F(StrandelTest, ZeroOrNegativeWidthsDrawAsTheThinnestPen)
{
    std::vector<short> wave;
    for (int i = 0; i < 90; ++i) wave.push_back(static_cast<short>((i % 30) - 15));
    Canvas thinnest;
    ASSERT_TRUE(Draw(thinnest, 0, 50, 100, wave, Settings{1.0, 1.0f, 1.0f, 3, 1.0f}));
    const std::vector<COLORREF> expected = Snapshot(thinnest.dc()->GetSafeHdc(), kWidth, kHeight);
    for (float width : {0.0f, -1.0f, -1000.0f, 0.4f}) {
        Canvas canvas;
        ASSERT_TRUE(Draw(canvas, 0, 50, 100, wave, Settings{1.0, width, width, 3, 1.0f}));
        EXPECT_EQ(expected, Snapshot(canvas.dc()->GetSafeHdc(), kWidth, kHeight)) << "width " << width;
    }
}

TEST_F(StrandelTest, DrawsNothingWithoutDCSamplesOrWidth)
{
    std::vector<short> wave(50, 10);
    Canvas canvas;
    const std::vector<COLORREF> before = Snapshot(canvas.dc()->GetSafeHdc(), kWidth, kHeight);
    EXPECT_FALSE(Draw(canvas, 0, 50, 0, wave));
    EXPECT_FALSE(Draw(canvas, 0, 50, -20, wave));
    EXPECT_FALSE(Draw(canvas, 0, 50, 100, {}));
    CStrandel noDC;
    noDC.SetOutPixels(100);
    EXPECT_FALSE(noDC.SmoothLine(0, 50, wave.data(), 50));
    EXPECT_EQ(before, Snapshot(canvas.dc()->GetSafeHdc(), kWidth, kHeight));
}

// A handle that no longer names a DC is not somewhere to draw: the caller
// must learn the line is missing. An empty clip only hides the line.
TEST_F(StrandelTest, ADeletedDCIsAFailureAndAnEmptyClipIsNot)
{
    std::vector<short> wave(50, 10);
    CDC stale;
    ASSERT_TRUE(stale.Attach(platform::gdi::CreateImageDC(60, 60)));
    DeleteDC(stale.GetSafeHdc());
    CStrandel line;
    line.SetOutPixels(50);
    line.SetDC(&stale);
    EXPECT_FALSE(line.SmoothLine(0, 30, wave.data(), 50));
    stale.Detach();

    Canvas canvas;
    canvas.dc()->IntersectClipRect(0, 0, 0, 0);
    EXPECT_TRUE(Draw(canvas, 0, 50, 100, wave));
    canvas.dc()->SelectClipRgn(nullptr);
    EXPECT_FALSE(canvas.Painted(50, 40));
}

TEST_F(StrandelTest, KeepsToTheClipAndLeavesTheDCAsFound)
{
    Canvas canvas;
    canvas.dc()->IntersectClipRect(30, 0, 60, kHeight);
    std::vector<short> wave(200, 5);
    EXPECT_LEAVES_DC_AS_FOUND(canvas.dc()->GetSafeHdc(), Draw(canvas, 0, 50, 100, wave));
    canvas.dc()->SelectClipRgn(nullptr);   // GetPixel reads only inside the clip
    EXPECT_FALSE(canvas.Painted(29, 45));
    EXPECT_TRUE(canvas.Painted(30, 45));
    EXPECT_TRUE(canvas.Painted(59, 45));
    EXPECT_FALSE(canvas.Painted(60, 45));
}

TEST_F(StrandelTest, AHugeWidthOrAFarPositionDrawsOnlyWhatTheSurfaceShows)
{
    std::vector<short> wave(5000, 0);
    Canvas wide;
    ASSERT_TRUE(Draw(wide, -1000000000, 50, 2000000000, wave));
    for (int x = 0; x < kWidth; x += 17) EXPECT_TRUE(wide.Painted(x, 50)) << "column " << x;
    Canvas far;
    const std::vector<COLORREF> before = Snapshot(far.dc()->GetSafeHdc(), kWidth, kHeight);
    EXPECT_TRUE(Draw(far, 2147483000, 50, 100000, wave));
    EXPECT_TRUE(Draw(far, -2147483000, 50, 1000, wave));
    EXPECT_EQ(before, Snapshot(far.dc()->GetSafeHdc(), kWidth, kHeight));
}
