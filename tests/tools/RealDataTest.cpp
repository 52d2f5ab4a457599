// Real PhysioNet records from the shared data folder beside the repository
// (MORVELANCE_SHARED_DATA/physionet). Each test skips when its files are absent.
#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/platform/zarn/ZarnTestUtil.h"
#include "tools/DeviceRecord.h"
#include "tools/Mkrecord.h"
#include "tools/RecordTags.h"
#include "tools/SignalOps.h"
#include "tools/Wfdb.h"

using namespace morvelance;
using namespace morvelance::rec;
using zarntest::AsInt16;
using zarntest::AsInt32;

namespace {

std::string Physionet(const std::string& rel) { return zarntest::SharedData() + "/physionet/" + rel; }

#define REQUIRE_RECORD(rel)                                                                        \
    if (!zarntest::FileExists(Physionet(rel) + ".hea"))                                            \
    GTEST_SKIP() << "PhysioNet record " << Physionet(rel) << " is absent (shared data not present)"

int RunCli(const std::vector<std::string>& args, std::string* err) {
    std::ostringstream o, e;
    int rc = RunMkrecord(args, o, e);
    *err = e.str();
    return rc;
}

}  // namespace

TEST(RealData, MitBih100HeaderParses) {
    REQUIRE_RECORD("mitdb/100");
    WfdbHeader h;
    std::vector<uint8_t> text = zarntest::ReadFile(Physionet("mitdb/100.hea"));
    std::string error;
    ASSERT_TRUE(ParseWfdbHeader(std::string(text.begin(), text.end()), &h, &error)) << error;
    EXPECT_EQ(h.recordName, "100");
    EXPECT_EQ(h.signalCount, 2);
    EXPECT_DOUBLE_EQ(h.samplingFrequency, 360);
    EXPECT_EQ(h.samplesPerSignal, 650000);
    EXPECT_EQ(h.signals[0].format, 212);
    EXPECT_EQ(h.signals[0].adcZero, 1024);
    EXPECT_EQ(h.signals[0].description, "MLII");
    EXPECT_EQ(h.signals[1].description, "V5");
}

TEST(RealData, MitBih100SamplesMatchTheHeaderChecksums) {
    REQUIRE_RECORD("mitdb/100");
    WfdbRecord rec;
    std::string error;
    ASSERT_TRUE(ReadWfdbRecord(Physionet("mitdb/100"), &rec, &error)) << error;
    ASSERT_EQ(rec.samples.size(), 2u);
    ASSERT_EQ(rec.samples[0].size(), 650000u);
    // The header's initial values are the first samples.
    EXPECT_EQ(rec.samples[0][0], 995);
    EXPECT_EQ(rec.samples[1][0], 1011);
    // And its checksums (16-bit sums of all samples) match.
    for (size_t s = 0; s < 2; ++s) {
        int64_t sum = 0;
        for (int v : rec.samples[s]) sum += v;
        EXPECT_EQ(static_cast<int16_t>(sum & 0xFFFF), s == 0 ? -22131 : 20052) << s;
    }
    std::vector<WfdbAnnotation> ann;
    ASSERT_TRUE(ReadWfdbAnnotations(Physionet("mitdb/100.atr"), &ann, &error)) << error;
    std::vector<int64_t> beats = BeatPositions(ann);
    EXPECT_EQ(beats.size(), 2273u);
    EXPECT_TRUE(std::is_sorted(beats.begin(), beats.end()));
    EXPECT_LT(beats.back(), 650000);
    // The annotated beats sit on R peaks of MLII: the beat sample is a local
    // extreme within 40 ms for nearly all beats.
    int onPeak = 0;
    for (int64_t b : beats) {
        const auto& x = rec.samples[0];
        int64_t lo = std::max<int64_t>(0, b - 15), hi = std::min<int64_t>(649999, b + 15);
        auto mx = std::max_element(x.begin() + lo, x.begin() + hi + 1);
        if (std::abs((mx - x.begin()) - b) <= 14) ++onPeak;
    }
    EXPECT_GT(onPeak, 2200);
}

TEST(RealData, MitBih100BecomesARhythmRecordOfTheSameLength) {
    REQUIRE_RECORD("mitdb/100");
    ZARN_LOAD_READERS(r90, r80);
    const std::string dir = zarntest::MakeTempDir("mit");
    std::string err;
    ASSERT_EQ(RunCli({"wfdb", "--record", Physionet("mitdb/100"), "--kind", "rhythm", "--out", dir + "/100.ecg"}, &err), 0)
        << err;
    zarntest::Image img = zarntest::ImageOfFile(dir + "/100.ecg");
    ZarnImage* im = img.image();
    ASSERT_NE(r90.Probe(im), 0);
    // Two signals become a one-lead record of the first (MLII): the system
    // opens no two-lead rhythm record.
    EXPECT_EQ(AsInt32(r90.Item(im, kTagRhythmLeadCount10, 0)), 1);
    // 30 min 5.6 s at 500 Hz: the same duration.
    const long samples = 902778;  // round(650000 * 500 / 360)
    EXPECT_EQ(r90.Get(im, kTagLeadSamples, 0, nullptr, 0), samples * 2);
    EXPECT_EQ(r90.Get(im, kTagLeadSamples, 1, nullptr, 0), 0);
    EXPECT_EQ(AsInt32(r90.Item(im, kTagEvents, 0)), 2273);
    // Events at the annotated beats, converted to 500 Hz; the MLII signal
    // in record units at the first beat matches the source.
    WfdbRecord rec;
    std::string error;
    ASSERT_TRUE(ReadWfdbRecord(Physionet("mitdb/100"), &rec, &error)) << error;
    std::vector<WfdbAnnotation> ann;
    ASSERT_TRUE(ReadWfdbAnnotations(Physionet("mitdb/100.atr"), &ann, &error));
    std::vector<int64_t> beats = BeatPositions(ann);
    std::vector<int16_t> mlii = AsInt16(r90.Item(im, kTagLeadSamples, 0));
    for (size_t k : {size_t(0), size_t(1000), size_t(2272)}) {
        const int32_t e = AsInt32(r90.Item(im, kTagEvents, static_cast<unsigned>(k + 1)));
        EXPECT_EQ(e, ConvertPosition(beats[k], 360, 500));
    }
    // 1 mV = 800 units: sample 0 is (995 - 1024) / 200 mV.
    EXPECT_EQ(mlii[0], ToUnit((995 - 1024) / 200.0 * 1000.0, 1.25));
    // Output sample 25k falls on input sample 18k (500 Hz * 18/25 = 360 Hz).
    for (size_t k = 0; k < 1000; ++k)
        ASSERT_EQ(mlii[25 * k], ToUnit(rec.Microvolts(0, 18 * k), 1.25)) << k;
}

TEST(RealData, PtbToFifteenLeadRecordRoundTrips) {
    REQUIRE_RECORD("ptb/s0010_re");
    ZARN_LOAD_READERS(r90, r80);
    WfdbRecord rec;
    std::string error;
    ASSERT_TRUE(ReadWfdbRecord(Physionet("ptb/s0010_re"), &rec, &error)) << error;
    ASSERT_EQ(rec.header.signals.size(), 15u);
    EXPECT_EQ(rec.header.signals[12].fileName, "s0010_re.xyz");
    EXPECT_EQ(rec.samples[0][0], -489);   // initial values of the header
    EXPECT_EQ(rec.samples[12][0], -3);
    EXPECT_EQ(rec.samples[14][0], -18);
    EcgRecord ecg = WfdbToEcg(rec, "ptb/s0010_re");
    EXPECT_EQ(ecg.patient.age, "81");
    EXPECT_EQ(ecg.patient.sex, "F");
    EXPECT_EQ(ecg.time.year, 1990);
    EXPECT_EQ(ecg.time.month, 10);

    const std::string dir = zarntest::MakeTempDir("ptb");
    std::string err;
    ASSERT_EQ(RunCli({"wfdb", "--record", Physionet("ptb/s0010_re"), "--kind", "rest15", "--code", "227", "--flavour", "80",
                   "--out", dir + "/s0010.ecg"},
                  &err),
              0)
        << err;
    zarntest::Image img = zarntest::ImageOfFile(dir + "/s0010.ecg");
    ZarnImage* im = img.image();
    ASSERT_EQ(r90.Probe(im), 0);
    ASSERT_NE(r80.Probe(im), 0);
    EXPECT_EQ(r80.Get(im, kTagBlob2, 0, nullptr, 0), static_cast<long>(kBlob2Size));
    // The first 10 s, 1000 Hz -> 500 Hz: every second source sample, gain 2000/mV.
    for (int recordLead = 0; recordLead < 15; ++recordLead) {
        SCOPED_TRACE(recordLead);
        std::vector<int16_t> s = recordLead < 12
                                     ? AsInt16(r80.Item(im, kTagRestLeadBase + static_cast<unsigned>(recordLead), 0))
                                     : AsInt16(r80.Item(im, kTagLeadSamples, static_cast<unsigned>(recordLead - 12)));
        ASSERT_EQ(s.size(), 5000u);
        // The source signal of this record lead.
        size_t src = 0;
        if (recordLead < 12) {
            LeadId want = RestSlotLead(recordLead);
            while (src < 15 && ecg.leads[src].id != want) ++src;
        } else {
            src = static_cast<size_t>(recordLead);  // vx, vy, vz
        }
        ASSERT_LT(src, 15u);
        for (size_t i = 0; i < 5000; ++i) {
            const double mv = (rec.samples[src][2 * i] - rec.header.signals[src].baseline) / 2000.0;
            ASSERT_EQ(s[i], ToUnit(mv * 1000.0, 1.25)) << i;
        }
    }
    // Electrode codes of the Frank leads.
    EXPECT_EQ(AsInt16(r80.Item(im, kTagElectrodeCode, 12)), (std::vector<int16_t>{16}));
    EXPECT_EQ(AsInt16(r80.Item(im, kTagElectrodeCode, 14)), (std::vector<int16_t>{18}));
    // Average beats exist for all 15 leads, and the detected heart rate is plausible.
    for (unsigned lead = 0; lead < 15; ++lead) EXPECT_EQ(r80.Get(im, kTagAverageLeadBase + lead, 0, nullptr, 0), 1200);
    std::vector<uint8_t> blob = r80.Item(im, kTagBlob1, 0);
    const int hr = blob[14] | (blob[15] << 8);
    EXPECT_GT(hr, 40);
    EXPECT_LT(hr, 120);
}

TEST(RealData, PtbXlBecomesATwelveLeadRecord) {
    REQUIRE_RECORD("ptbxl/00001_lr");
    ZARN_LOAD_READERS(r90, r80);
    WfdbRecord rec;
    std::string error;
    ASSERT_TRUE(ReadWfdbRecord(Physionet("ptbxl/00001_lr"), &rec, &error)) << error;
    EXPECT_DOUBLE_EQ(rec.header.signals[0].gain, 1000.0);
    EXPECT_EQ(rec.header.signals[0].baseline, 0);
    EXPECT_EQ(rec.samples[0][0], -119);
    const std::string dir = zarntest::MakeTempDir("ptbxl");
    std::string err;
    ASSERT_EQ(RunCli({"wfdb", "--record", Physionet("ptbxl/00001_lr"), "--out", dir + "/x.ecg"}, &err), 0) << err;
    zarntest::Image img = zarntest::ImageOfFile(dir + "/x.ecg");
    ZarnImage* im = img.image();
    ASSERT_NE(r90.Probe(im), 0);
    EXPECT_EQ(r90.Item(im, kTagRecordKind, 0), (std::vector<uint8_t>{0}));
    // 100 Hz -> 500 Hz: 10 s = 5000 samples; every fifth is a source sample.
    std::vector<int16_t> v1 = AsInt16(r90.Item(im, kTagRestLeadBase + 2, 0));
    ASSERT_EQ(v1.size(), 5000u);
    EXPECT_EQ(v1[4999], v1[4995]);  // past the last source sample: held
    for (size_t i = 0; i < 1000; ++i) ASSERT_EQ(v1[5 * i], ToUnit(rec.samples[6][i] / 1000.0 * 1000.0, 1.25)) << i;
    // Linear in between.
    EXPECT_NEAR(v1[2], (3 * v1[0] + 2 * v1[5]) / 5.0, 1.0);
}
