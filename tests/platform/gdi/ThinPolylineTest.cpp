// Thinning of printed polylines: what is left is a subset of the points in
// order, ends kept, and no point left out lies farther from the segment that
// replaces it than the tolerance, on noisy traces as on straight lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "platform/gdi/ThinPolyline.h"

using platform::gdi::ThinPolyline;

namespace {

double DistanceToSegment(const POINT& p, const POINT& a, const POINT& b)
{
    const double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
    t = std::max(0.0, std::min(1.0, t));
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Checks the thinned line against the original; returns the largest
// distance of a left-out point from the segment that replaced it.
double WorstDeviation(const std::vector<POINT>& original, const std::vector<POINT>& thinned)
{
    EXPECT_GE(thinned.size(), 2u);
    EXPECT_EQ(original.front().x, thinned.front().x);
    EXPECT_EQ(original.back().x, thinned.back().x);
    EXPECT_EQ(original.back().y, thinned.back().y);
    double worst = 0.0;
    size_t k = 0;   // thinned[k] is original[i] at the start of each segment
    size_t i = 0;
    for (size_t s = 1; s < thinned.size(); ++s) {
        size_t j = i + 1;
        while (j < original.size() && (original[j].x != thinned[s].x || original[j].y != thinned[s].y)) ++j;
        EXPECT_LT(j, original.size()) << "a thinned point that is not an original one, in order";
        if (j >= original.size()) return 1e9;
        for (size_t m = i + 1; m < j; ++m)
            worst = std::max(worst, DistanceToSegment(original[m], thinned[k], thinned[s]));
        i = j;
        k = s;
    }
    return worst;
}

std::vector<POINT> Thinned(const std::vector<POINT>& points, double tolerance)
{
    std::vector<POINT> out;
    ThinPolyline(points.data(), points.size(), tolerance, &out);
    return out;
}

}  // namespace

TEST(ThinPolylineTest, NoisyTracesStayWithinTheToleranceAndLoseTheirFlatStretches)
{
    std::mt19937 random(36);
    std::normal_distribution<double> noise(0.0, 1.5);
    for (double tolerance : {0.5, 1.0, 2.0}) {
        std::vector<POINT> trace;
        for (int i = 0; i < 6000; ++i) {
            // A beat every 500 points: a tall narrow spike over a slow wave and noise.
            const int phase = i % 500;
            const double spike = phase < 20 ? 400.0 * (1.0 - std::fabs(phase - 10) / 10.0) : 0.0;
            const double y = 1000 - spike - 30.0 * std::sin(i / 80.0) + (i > 3000 ? noise(random) : 0.0);
            trace.push_back(POINT{(LONG)(i * 1.18), (LONG)std::lround(y)});
        }
        const std::vector<POINT> thinned = Thinned(trace, tolerance);
        EXPECT_LE(WorstDeviation(trace, thinned), tolerance + 1e-9) << tolerance;
        EXPECT_LT(thinned.size(), trace.size() * 3 / 4) << tolerance;
        const std::vector<POINT> clean(trace.begin(), trace.begin() + 3000);
        EXPECT_LT(Thinned(clean, tolerance).size(), clean.size() / 2) << "without noise, " << tolerance;
        // Every spike's peak is still there within the tolerance.
        for (int beat = 0; beat < 12; ++beat) {
            const LONG peakX = (LONG)((beat * 500 + 10) * 1.18);
            double nearest = 1e9;
            for (size_t s = 1; s < thinned.size(); ++s)
                nearest = std::min(nearest, DistanceToSegment(POINT{peakX, trace[beat * 500 + 10].y}, thinned[s - 1],
                                                              thinned[s]));
            EXPECT_LE(nearest, tolerance + 1e-9) << "beat " << beat;
        }
    }
}

TEST(ThinPolylineTest, StraightRunsBecomeOneSegmentAndTurnsStay)
{
    std::vector<POINT> line;
    for (int i = 0; i <= 100; ++i) line.push_back(POINT{i, 2 * i});
    for (int i = 1; i <= 100; ++i) line.push_back(POINT{100 + i, 200});
    const std::vector<POINT> thinned = Thinned(line, 0.5);
    ASSERT_EQ(3u, thinned.size());
    EXPECT_EQ(100, thinned[1].x);
    EXPECT_EQ(200, thinned[1].y);
}

TEST(ThinPolylineTest, LinesThatTurnBackKeepTheirFarthestPoint)
{
    // Out and back along the same line: dropping the turn would cut the line short.
    const std::vector<POINT> there = {{0, 0}, {50, 0}, {100, 0}, {60, 0}, {10, 0}};
    const std::vector<POINT> thinned = Thinned(there, 1.0);
    EXPECT_LE(WorstDeviation(there, thinned), 1.0);
    EXPECT_TRUE(std::any_of(thinned.begin(), thinned.end(), [](const POINT& p) { return p.x == 100; }));
}

TEST(ThinPolylineTest, ShortAndRepeatedPointsAreKeptAsGiven)
{
    EXPECT_TRUE(Thinned({}, 1.0).empty());
    EXPECT_EQ(1u, Thinned({{5, 5}}, 1.0).size());
    const std::vector<POINT> still = Thinned({{5, 5}, {5, 5}, {5, 5}}, 1.0);
    ASSERT_EQ(2u, still.size());
    EXPECT_EQ(5, still.back().x);
}
