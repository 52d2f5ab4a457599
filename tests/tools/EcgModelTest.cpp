// The synthetic ECG model: limb-lead relations, heart rate, determinism,
// morphology, pacing; and the signal helpers.
#include <algorithm>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "tools/EcgModel.h"
#include "tools/RecordTags.h"
#include "tools/SignalOps.h"

using namespace morvelance;

namespace {

const std::vector<float>& LeadOf(const EcgRecord& r, LeadId id) {
    const EcgLead* l = r.Find(id);
    EXPECT_NE(l, nullptr) << LeadName(id);
    static const std::vector<float> none;
    return l ? l->microvolts : none;
}

// An independent R-peak finder for the tests: local maxima of lead II above
// half its maximum, at least 200 ms apart.
std::vector<size_t> RPeaks(const std::vector<float>& x, double fs) {
    const float top = *std::max_element(x.begin(), x.end());
    const size_t gap = static_cast<size_t>(0.2 * fs);
    std::vector<size_t> peaks;
    for (size_t i = 1; i + 1 < x.size(); ++i) {
        if (x[i] < top / 2 || x[i] < x[i - 1] || x[i] < x[i + 1]) continue;
        if (!peaks.empty() && i - peaks.back() < gap) {
            if (x[i] > x[peaks.back()]) peaks.back() = i;
            continue;
        }
        peaks.push_back(i);
    }
    return peaks;
}

}  // namespace

TEST(EcgModel, EinthovenAndGoldbergerRelationsHold) {
    SynthOptions o;
    o.noise = true;  // the relations hold with noise too
    o.seed = 7;
    EcgRecord r = Synthesize(o);
    ASSERT_EQ(r.leads.size(), 12u);
    const auto& I = LeadOf(r, LeadId::I);
    const auto& II = LeadOf(r, LeadId::II);
    const auto& III = LeadOf(r, LeadId::III);
    const auto& aVR = LeadOf(r, LeadId::aVR);
    const auto& aVL = LeadOf(r, LeadId::aVL);
    const auto& aVF = LeadOf(r, LeadId::aVF);
    for (size_t i = 0; i < I.size(); ++i) {
        ASSERT_NEAR(III[i], II[i] - I[i], 1e-2);
        ASSERT_NEAR(aVR[i], -(I[i] + II[i]) / 2, 1e-2);
        ASSERT_NEAR(aVL[i], I[i] - II[i] / 2, 1e-2);
        ASSERT_NEAR(aVF[i], II[i] - I[i] / 2, 1e-2);
        ASSERT_NEAR(aVR[i] + aVL[i] + aVF[i], 0.0, 1e-2);
    }
    // In record units (1.25 uV), after rounding: within one unit.
    std::vector<int16_t> uI = ToUnits(I, rec::kRawMicrovoltsPerUnit), uII = ToUnits(II, rec::kRawMicrovoltsPerUnit);
    std::vector<int16_t> uIII = ToUnits(III, rec::kRawMicrovoltsPerUnit), uaVR = ToUnits(aVR, rec::kRawMicrovoltsPerUnit);
    for (size_t i = 0; i < uI.size(); ++i) {
        ASSERT_LE(std::abs(uIII[i] - (uII[i] - uI[i])), 1);
        ASSERT_LE(std::abs(2 * uaVR[i] + (uI[i] + uII[i])), 2);
    }
}

TEST(EcgModel, HeartRateIsTheChosenOne) {
    for (double hr : {45.0, 60.0, 72.0, 100.0, 150.0}) {
        SynthOptions o;
        o.heartRate = hr;
        o.seconds = 30;
        EcgRecord r = Synthesize(o);
        std::vector<size_t> peaks = RPeaks(LeadOf(r, LeadId::II), r.sampleRate);
        ASSERT_GE(peaks.size(), 10u) << hr;
        double mean = static_cast<double>(peaks.back() - peaks.front()) / static_cast<double>(peaks.size() - 1);
        EXPECT_NEAR(60.0 * r.sampleRate / mean, hr, hr * 0.005) << hr;
        for (size_t k = 1; k < peaks.size(); ++k)
            EXPECT_NEAR(static_cast<double>(peaks[k] - peaks[k - 1]), 60.0 * r.sampleRate / hr, 1.01) << hr;
        // The model's own beat list agrees with the peaks.
        ASSERT_EQ(r.beats.size(), peaks.size()) << hr;
        for (size_t k = 0; k < peaks.size(); ++k) EXPECT_NEAR(static_cast<double>(r.beats[k]), peaks[k], 1.0);
        // So does the library's detector.
        std::vector<int64_t> detected = DetectBeats({&LeadOf(r, LeadId::II), &LeadOf(r, LeadId::V5)}, r.sampleRate);
        EXPECT_NEAR(HeartRateOf(detected, r.sampleRate), hr, hr * 0.01) << hr;
    }
}

TEST(EcgModel, DeterministicWithASeed) {
    SynthOptions o;
    o.noise = true;
    o.irregularity = 0.1;
    o.seed = 42;
    o.seconds = 20;
    EcgRecord a = Synthesize(o), b = Synthesize(o);
    ASSERT_EQ(a.leads.size(), b.leads.size());
    for (size_t k = 0; k < a.leads.size(); ++k) EXPECT_EQ(a.leads[k].microvolts, b.leads[k].microvolts);
    EXPECT_EQ(a.beats, b.beats);
    o.seed = 43;
    EcgRecord c = Synthesize(o);
    EXPECT_NE(a.leads[0].microvolts, c.leads[0].microvolts);
    EXPECT_NE(a.beats, c.beats);
}

TEST(EcgModel, IrregularRhythmVariesTheRrIntervals) {
    SynthOptions o;
    o.heartRate = 80;
    o.seconds = 60;
    o.irregularity = 0.2;
    EcgRecord r = Synthesize(o);
    std::vector<int64_t> rr;
    for (size_t k = 1; k < r.beats.size(); ++k) rr.push_back(r.beats[k] - r.beats[k - 1]);
    auto mm = std::minmax_element(rr.begin(), rr.end());
    const double nominal = 60.0 * 500 / 80;
    EXPECT_LT(*mm.first, nominal * 0.9);
    EXPECT_GT(*mm.second, nominal * 1.1);
    EXPECT_GE(*mm.first, nominal * 0.8 - 1);
    EXPECT_LE(*mm.second, nominal * 1.2 + 1);
}

TEST(EcgModel, LeadsHaveTheirTypicalMorphology) {
    SynthOptions o;
    o.heartRate = 60;
    EcgRecord r = Synthesize(o);
    const int64_t beat = r.beats[3];
    auto at = [&](LeadId id, double seconds) {
        return LeadOf(r, id)[static_cast<size_t>(beat + static_cast<int64_t>(std::lround(seconds * 500)))];
    };
    // Upright R in I, II, V5, V6; negative QRS in aVR and V1 (rS); upright T in II.
    EXPECT_GT(at(LeadId::II, 0), 800);
    EXPECT_GT(at(LeadId::I, 0), 500);
    EXPECT_GT(at(LeadId::V5, 0), 500);
    EXPECT_GT(at(LeadId::V6, 0), 500);
    EXPECT_LT(at(LeadId::aVR, 0), -500);
    EXPECT_LT(at(LeadId::V1, 0), -300);
    EXPECT_GT(at(LeadId::V1, -0.03), 50);  // the small septal r
    EXPECT_GT(at(LeadId::II, 0.26), 150);  // T wave
    EXPECT_GT(at(LeadId::II, -0.165), 100);  // P wave
    // Iso-electric between T and the next P.
    EXPECT_NEAR(at(LeadId::II, 0.6), 0, 30);
}

TEST(EcgModel, FifteenAndExtraLeadSetsAreSynthesized) {
    SynthOptions o;
    o.leads = FifteenLeads();
    EcgRecord r = Synthesize(o);
    ASSERT_EQ(r.leads.size(), 15u);
    EXPECT_EQ(r.leads[12].id, LeadId::V3R);
    EXPECT_EQ(r.leads[14].id, LeadId::V7);
    o.leads = ExtraLeadSet();
    EXPECT_EQ(Synthesize(o).leads.size(), 18u);
    o.leads = {LeadId::X, LeadId::Y, LeadId::Z};
    EXPECT_EQ(Synthesize(o).leads.size(), 3u);
}

TEST(EcgModel, PacemakerSpikesPrecedeEveryQrs) {
    SynthOptions o;
    o.heartRate = 60;
    o.pacemaker = true;
    EcgRecord r = Synthesize(o);
    const auto& II = LeadOf(r, LeadId::II);
    for (size_t k = 1; k + 1 < r.beats.size(); ++k) {
        // A narrow spike far above the QRS, about 45 ms before the R peak,
        // one sample wide at 500 Hz.
        const size_t from = static_cast<size_t>(r.beats[k] - 30), to = static_cast<size_t>(r.beats[k] - 15);
        size_t spike = from;
        for (size_t i = from; i <= to; ++i)
            if (II[i] > II[spike]) spike = i;
        EXPECT_GT(II[spike], 2500) << k;
        EXPECT_NEAR(static_cast<double>(r.beats[k]) - static_cast<double>(spike), 0.045 * 500, 1.0) << k;
        EXPECT_LT(II[spike - 2], 500) << k;
        EXPECT_LT(II[spike + 2], 500) << k;
    }
    o.pacemaker = false;
    EcgRecord plain = Synthesize(o);
    EXPECT_LT(*std::max_element(plain.leads[1].microvolts.begin(), plain.leads[1].microvolts.end()), 2000);
}

TEST(EcgModel, RejectsBadOptions) {
    SynthOptions o;
    o.heartRate = 0;
    EXPECT_THROW(Synthesize(o), std::invalid_argument);
    o = SynthOptions();
    o.seconds = -1;
    EXPECT_THROW(Synthesize(o), std::invalid_argument);
    o = SynthOptions();
    o.leads = {LeadId::Unknown};
    EXPECT_THROW(Synthesize(o), std::invalid_argument);
}

TEST(SignalOps, LinearResamplingInterpolatesAndRoundTrips) {
    std::vector<float> x = {0, 10, 20, 30};
    std::vector<float> up = ResampleLinear(x, 100, 200);
    ASSERT_EQ(up.size(), 7u);
    for (size_t i = 0; i < up.size(); ++i) EXPECT_FLOAT_EQ(up[i], 5.0f * static_cast<float>(i));
    std::vector<float> down = ResampleLinear(up, 200, 100);
    EXPECT_EQ(down, x);
    std::vector<float> odd = ResampleLinear(std::vector<float>(361, 1.0f), 360, 500);
    EXPECT_EQ(odd.size(), 501u);
    EXPECT_EQ(ConvertPosition(360, 360, 500), 500);
}

TEST(SignalOps, ToUnitsRoundsAndClamps) {
    EXPECT_EQ(ToUnit(1000.0, 1.25), 800);
    EXPECT_EQ(ToUnit(-1000.0, 2.5), -400);
    EXPECT_EQ(ToUnit(1e9, 1.25), 32767);
    EXPECT_EQ(ToUnit(-1e9, 1.25), -32768);
    EXPECT_EQ(ToUnit(0.6, 1.25), 0);
    EXPECT_EQ(ToUnit(0.7, 1.25), 1);
}

TEST(SignalOps, AverageBeatAveragesTheWindowsInsideTheSignal) {
    std::vector<float> x(100, 0.0f);
    x[20] = 10;
    x[60] = 20;
    int first = 0, last = 0;
    std::vector<float> avg = AverageBeat(x, {20, 60, 95}, 5, 10, &first, &last);
    ASSERT_EQ(avg.size(), 15u);
    EXPECT_FLOAT_EQ(avg[5], 10.0f);  // (10 + 20 + 0) / 3
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 14);
    avg = AverageBeat(x, {2}, 5, 10, &first, &last);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(last, 14);
}
