// The fiducial points the record maker measures on the average beats of a
// resting record: placed on beats of known shape, written as the record's
// items, and bounded for beats without any wave.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "tools/RecordBuilder.h"
#include "tools/RecordTags.h"
#include "tools/RestRecord.h"

using namespace morvelance;

namespace {

double Bump(int i, double centre, double width, double amplitude)
{
    const double t = (i - centre) / width;
    return amplitude * std::exp(-t * t);
}

// A beat of 600 samples: P at 150, a narrow QRS at 250, T at 400.
std::vector<double> ShapedBeat(double scale)
{
    std::vector<double> beat(600, 0.0);
    for (int i = 0; i < 600; ++i)
        beat[size_t(i)] = scale * (Bump(i, 150, 12, 60) + Bump(i, 250, 5, 800) - Bump(i, 262, 4, 200) + Bump(i, 400, 30, 180));
    return beat;
}

int16_t Tag(const RecordBuilder& items, uint32_t tag)
{
    int16_t value = -1;
    const std::vector<uint8_t>* item = items.Find(tag, 0);
    EXPECT_NE(nullptr, item) << tag;
    if (item) ItemInt16(*item, &value);
    return value;
}

}  // namespace

TEST(AverageFiducials, WavesOfKnownShapeAreBracketedByTheirPoints)
{
    const AverageFiducials f = MeasureAverageFiducials({ShapedBeat(1.0), ShapedBeat(-0.5), ShapedBeat(0.8)});
    EXPECT_GE(f.pBegin, 120);
    EXPECT_LT(f.pBegin, 150);
    EXPECT_GT(f.pEnd, 150);
    EXPECT_LE(f.pEnd, 180);
    EXPECT_GE(f.qrsBegin, 225);
    EXPECT_LT(f.qrsBegin, 250);
    EXPECT_GT(f.qrsEnd, 262);
    EXPECT_LE(f.qrsEnd, 285);
    EXPECT_GT(f.tEnd, 430);
    EXPECT_LE(f.tEnd, 500);
}

TEST(AverageFiducials, FlatOrShortBeatsGivePointsInsideTheBeat)
{
    const std::vector<std::vector<double>> cases[] = {
        {std::vector<double>(600, 0.0)}, {std::vector<double>(5, 1.0)}, {}, {ShapedBeat(1.0), std::vector<double>(300, 0.0)},
    };
    for (const auto& beats : cases) {
        const AverageFiducials f = MeasureAverageFiducials(beats);
        for (int point : {f.pBegin, f.pEnd, f.qrsBegin, f.qrsEnd, f.tEnd}) {
            EXPECT_GE(point, 0);
            EXPECT_LT(point, 600);
        }
        EXPECT_LE(f.pBegin, f.pEnd);
        EXPECT_LE(f.qrsEnd, f.tEnd);
    }
}

TEST(AverageFiducials, RestingRecordsCarryThePointsOfTheirAverageBeats)
{
    for (rec::RecordKind kind : {rec::RecordKind::Rest12, rec::RecordKind::Rest15}) {
        RestRecordShape shape;
        shape.kind = kind;
        const RecordBuilder items = MakeRestRecord(shape);
        const int pBegin = Tag(items, kTagAveragePBegin);
        const int pEnd = Tag(items, kTagAveragePEnd);
        const int qrsEnd = Tag(items, kTagAverageQrsEnd);
        const int tEnd = Tag(items, kTagAverageTEnd);
        // The model's R peak stands at sample 250 of the beat.
        EXPECT_LT(0, pBegin);
        EXPECT_LT(pBegin, pEnd);
        EXPECT_LT(pEnd, rec::kAverageBeatRPosition);
        EXPECT_LT(rec::kAverageBeatRPosition, qrsEnd);
        EXPECT_LT(qrsEnd + 30, tEnd);
        EXPECT_LT(tEnd, rec::kAverageBeatSamples);
    }
}
