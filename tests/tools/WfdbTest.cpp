// The WFDB reader on files made here: header syntax, formats 16 and 212,
// multi-file records, annotations (SKIP, NUM, SUB, CHN, AUX).
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/platform/zarn/ZarnTestUtil.h"
#include "tools/Wfdb.h"

using namespace morvelance;

namespace {

// Packs samples in format 212 (independent of the reader's decoder).
std::vector<uint8_t> Pack212(const std::vector<int>& s) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i < s.size(); i += 2) {
        const unsigned a = static_cast<unsigned>(s[i]) & 0xFFF;
        const unsigned b = i + 1 < s.size() ? static_cast<unsigned>(s[i + 1]) & 0xFFF : 0;
        out.push_back(static_cast<uint8_t>(a & 0xFF));
        out.push_back(static_cast<uint8_t>(((a >> 8) & 0x0F) | ((b >> 8) << 4)));
        if (i + 1 < s.size()) out.push_back(static_cast<uint8_t>(b & 0xFF));
    }
    return out;
}

std::vector<uint8_t> Pack16(const std::vector<int>& s) {
    std::vector<uint8_t> out;
    for (int v : s) {
        out.push_back(static_cast<uint8_t>(v & 0xFF));
        out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
    return out;
}

void Word(std::vector<uint8_t>& b, int code, int i) {
    unsigned w = (static_cast<unsigned>(code) << 10) | (static_cast<unsigned>(i) & 0x3FF);
    b.push_back(static_cast<uint8_t>(w & 0xFF));
    b.push_back(static_cast<uint8_t>(w >> 8));
}

}  // namespace

TEST(Wfdb, Format212DecodesEveryTwelveBitValue) {
    // Hand-packed: -1 and 2047, then -2048+1 and 0x123.
    const uint8_t bytes[] = {0xFF, 0x7F, 0xFF, 0x01, 0x18, 0x23};
    std::vector<int> out;
    ASSERT_TRUE(DecodeFormat212(bytes, sizeof bytes, 4, &out));
    EXPECT_EQ(out, (std::vector<int>{-1, 2047, -2047, 0x123}));
    // Every 12-bit value round-trips through an independent packer.
    std::vector<int> all;
    for (int v = -2048; v < 2048; ++v) all.push_back(v);
    all.push_back(5);  // an odd count: the last pair is half used
    std::vector<uint8_t> packed = Pack212(all);
    EXPECT_EQ(packed.size(), (all.size() / 2) * 3 + 2);
    out.clear();
    ASSERT_TRUE(DecodeFormat212(packed.data(), packed.size(), all.size(), &out));
    EXPECT_EQ(out, all);
    out.clear();
    EXPECT_FALSE(DecodeFormat212(packed.data(), 4, 4, &out));  // runs out
}

TEST(Wfdb, Format16DecodesAndRefusesShortData) {
    std::vector<int> s = {0, 1, -1, 32767, -32768, 1234, -4321};
    std::vector<uint8_t> b = Pack16(s);
    std::vector<int> out;
    ASSERT_TRUE(DecodeFormat16(b.data(), b.size(), s.size(), &out));
    EXPECT_EQ(out, s);
    out.clear();
    EXPECT_FALSE(DecodeFormat16(b.data(), 5, 3, &out));
}

TEST(Wfdb, HeaderParsesCommentsBlankLinesAndOptionalFields) {
    const std::string text =
        "# a comment before the record line\n"
        "\n"
        "rec1 3 360/720(0) 1000 10:00:00 01/01/2000\n"
        "rec1.dat 212 200 11 1024 995 -22131 0 MLII\n"
        "\n"
        "rec1.dat 212+0 1000.0(-5)/uV 12 0 7 0 0 V5 lead\n"
        "rec1.xyz 16 0\n"
        "# age: 81\n"
        "# sex: female\n";
    WfdbHeader h;
    std::string error;
    ASSERT_TRUE(ParseWfdbHeader(text, &h, &error)) << error;
    EXPECT_EQ(h.recordName, "rec1");
    EXPECT_EQ(h.signalCount, 3);
    EXPECT_DOUBLE_EQ(h.samplingFrequency, 360.0);
    EXPECT_EQ(h.samplesPerSignal, 1000);
    ASSERT_EQ(h.signals.size(), 3u);
    EXPECT_EQ(h.signals[0].format, 212);
    EXPECT_DOUBLE_EQ(h.signals[0].gain, 200.0);
    EXPECT_EQ(h.signals[0].baseline, 1024);  // no baseline given: ADC zero
    EXPECT_EQ(h.signals[0].adcZero, 1024);
    EXPECT_EQ(h.signals[0].units, "mV");
    EXPECT_EQ(h.signals[0].description, "MLII");
    EXPECT_DOUBLE_EQ(h.signals[1].gain, 1000.0);
    EXPECT_EQ(h.signals[1].baseline, -5);
    EXPECT_EQ(h.signals[1].units, "uV");
    EXPECT_EQ(h.signals[1].description, "V5 lead");
    EXPECT_DOUBLE_EQ(h.signals[2].gain, 200.0);  // 0 means uncalibrated: the default
    EXPECT_EQ(h.signals[2].description, "");
    ASSERT_EQ(h.comments.size(), 3u);
    EXPECT_EQ(h.comments[1], "age: 81");

    EXPECT_FALSE(ParseWfdbHeader("", &h, &error));
    EXPECT_FALSE(ParseWfdbHeader("r x 250\n", &h, &error));
    EXPECT_FALSE(ParseWfdbHeader("r 2 250 10\nr.dat 16\n", &h, &error));
    EXPECT_NE(error.find("2 signals"), std::string::npos) << error;
    EXPECT_FALSE(ParseWfdbHeader("r 1 250 10\nr.dat 16x4\n", &h, &error));
    EXPECT_FALSE(ParseWfdbHeader("r 1 250 10\nr.dat sixteen\n", &h, &error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
}

TEST(Wfdb, ReadsARecordWithTwoFiles) {
    const std::string dir = zarntest::MakeTempDir("wfdb");
    // Three signals in a 212 file (pairs cross frame boundaries), one in a 16 file.
    const int n = 7;
    std::vector<int> a, b, c, d, flat;
    for (int i = 0; i < n; ++i) {
        a.push_back(100 * i - 300);
        b.push_back(-7 * i);
        c.push_back(2047 - i);
        d.push_back(1000 * i - 30000);
        flat.insert(flat.end(), {a.back(), b.back(), c.back()});
    }
    zarntest::WriteFile(dir + "/r.dat", Pack212(flat));
    zarntest::WriteFile(dir + "/r.xyz", Pack16(d));
    zarntest::WriteFile(dir + "/r.hea",
                        std::vector<uint8_t>{});  // replaced below
    const std::string hea =
        "r 4 250 7\n"
        "r.dat 212 200 12 0 0 0 0 I\n"
        "r.dat 212 100(10)/mV 12 0 0 0 0 ii\n"
        "r.dat 212 200 12 0 0 0 0 V1\n"
        "r.xyz 16 2000/uV 16 0 0 0 0 vx\n";
    zarntest::WriteFile(dir + "/r.hea", std::vector<uint8_t>(hea.begin(), hea.end()));
    WfdbRecord rec;
    std::string error;
    ASSERT_TRUE(ReadWfdbRecord(dir + "/r", &rec, &error)) << error;
    ASSERT_EQ(rec.samples.size(), 4u);
    EXPECT_EQ(rec.samples[0], a);
    EXPECT_EQ(rec.samples[1], b);
    EXPECT_EQ(rec.samples[2], c);
    EXPECT_EQ(rec.samples[3], d);
    EXPECT_DOUBLE_EQ(rec.Microvolts(0, 6), 300.0 / 200.0 * 1000.0);
    EXPECT_DOUBLE_EQ(rec.Microvolts(1, 2), (-14 - 10) / 100.0 * 1000.0);
    EXPECT_DOUBLE_EQ(rec.Microvolts(3, 0), -30000 / 2000.0);
    EcgRecord ecg = WfdbToEcg(rec, "test");
    EXPECT_EQ(ecg.leads[0].id, LeadId::I);
    EXPECT_EQ(ecg.leads[1].id, LeadId::II);
    EXPECT_EQ(ecg.leads[2].id, LeadId::V1);
    EXPECT_EQ(ecg.leads[3].id, LeadId::X);
    EXPECT_DOUBLE_EQ(ecg.sampleRate, 250.0);

    ASSERT_TRUE(ReadWfdbRecord(dir + "/r", &rec, &error, 3)) << error;
    EXPECT_EQ(rec.samples[3].size(), 3u);

    // A header asking for more samples than the file holds.
    const std::string longer = "r 4 250 8\n" + hea.substr(hea.find('\n') + 1);
    zarntest::WriteFile(dir + "/r.hea", std::vector<uint8_t>(longer.begin(), longer.end()));
    EXPECT_FALSE(ReadWfdbRecord(dir + "/r", &rec, &error));
    EXPECT_NE(error.find("holds 7"), std::string::npos) << error;
    EXPECT_FALSE(ReadWfdbRecord(dir + "/missing", &rec, &error));
    EXPECT_NE(error.find("missing.hea"), std::string::npos) << error;
}

TEST(Wfdb, AnnotationsDecodeWithTheirSkipAndModifierCodes) {
    std::vector<uint8_t> b;
    Word(b, 28, 0);         // '+' rhythm at 0
    Word(b, 63, 3);         // AUX "(N" + NUL (3 bytes, padded to 4)
    b.insert(b.end(), {'(', 'N', 0, 0});
    Word(b, 1, 100);        // N at 100
    Word(b, 59, 0);         // SKIP 0x00012345
    b.insert(b.end(), {0x01, 0x00, 0x45, 0x23});
    Word(b, 5, 5);          // V at 100 + 0x12345 + 5
    Word(b, 61, 2);         // SUB 2 for that V
    Word(b, 60, 3);         // NUM 3 from here on
    Word(b, 62, 1);         // CHN 1 from here on
    Word(b, 8, 1023);       // A, 1023 later
    Word(b, 14, 10);        // noise, not a beat
    Word(b, 0, 0);          // end
    Word(b, 1, 1);          // ignored after the end
    std::vector<WfdbAnnotation> ann;
    std::string error;
    ASSERT_TRUE(ParseWfdbAnnotations(b.data(), b.size(), &ann, &error)) << error;
    ASSERT_EQ(ann.size(), 5u);
    EXPECT_EQ(ann[0].code, 28);
    EXPECT_EQ(ann[0].aux, "(N");
    EXPECT_EQ(ann[1].sample, 100);
    const int64_t v = 100 + 0x12345 + 5;
    EXPECT_EQ(ann[2].sample, v);
    EXPECT_EQ(ann[2].code, 5);
    EXPECT_EQ(ann[2].subtype, 2);
    EXPECT_EQ(ann[2].num, 3);
    EXPECT_EQ(ann[2].chan, 1);
    EXPECT_EQ(ann[3].sample, v + 1023);
    EXPECT_EQ(ann[3].num, 3);
    EXPECT_EQ(ann[3].chan, 1);
    EXPECT_EQ(ann[3].subtype, 0);
    EXPECT_EQ(BeatPositions(ann), (std::vector<int64_t>{100, v, v + 1023}));
    EXPECT_TRUE(IsBeatCode(1));
    EXPECT_FALSE(IsBeatCode(28));

    // Truncated SKIP and AUX are errors, a missing end marker is not.
    std::vector<uint8_t> t;
    Word(t, 59, 0);
    t.push_back(0);
    EXPECT_FALSE(ParseWfdbAnnotations(t.data(), t.size(), &ann, &error));
    t.clear();
    Word(t, 1, 10);
    Word(t, 63, 9);
    t.insert(t.end(), {'a', 'b'});
    EXPECT_FALSE(ParseWfdbAnnotations(t.data(), t.size(), &ann, &error));
    t.clear();
    Word(t, 1, 10);
    ASSERT_TRUE(ParseWfdbAnnotations(t.data(), t.size(), &ann, &error));
    EXPECT_EQ(ann.size(), 1u);
}
