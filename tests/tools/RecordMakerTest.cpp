// The device-record writer and the morvelance-mkrecord command line: every
// kind's items, read back through the real reader libraries.
#include <cmath>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/zarn/ZarnBuilder.h"
#include "tests/platform/zarn/ZarnTestUtil.h"
#include "tools/DeviceRecord.h"
#include "tools/EcgModel.h"
#include "tools/Mkrecord.h"
#include "tools/RecordTags.h"
#include "tools/SignalOps.h"
#include "tools/TextCodec.h"

using namespace morvelance;
using namespace morvelance::rec;
using zarntest::AsInt16;
using zarntest::AsInt32;

namespace {

int RunCli(const std::vector<std::string>& args, std::string* out = nullptr, std::string* err = nullptr) {
    std::ostringstream o, e;
    int rc = RunMkrecord(args, o, e);
    if (out) *out = o.str();
    if (err) *err = e.str();
    return rc;
}

EcgRecord Synth(RecordKind kind, double hr = 70, double seconds = 10) {
    SynthOptions s;
    s.heartRate = hr;
    s.seconds = seconds;
    s.leads = kind == RecordKind::Rest15      ? FifteenLeads()
              : kind == RecordKind::ExtraLeads ? ExtraLeadSet()
              : kind == RecordKind::Rest12     ? StandardLeads()
                                               : std::vector<LeadId>{LeadId::II, LeadId::V5};
    EcgRecord e = Synthesize(s);
    e.patient.id = "P-42";
    e.patient.name = "山田 太郎";
    e.patient.sex = "M";
    e.patient.age = "65";
    e.patient.department = "ABC";
    e.patient.comment = "洞調律";
    e.time = DateTime{2023, 12, 24, 18, 5, 9};
    return e;
}

std::string EucJp(const std::string& utf8) {
    std::string out, error;
    EXPECT_TRUE(EncodeText(utf8, TextEncoding::EucJp, &out, &error)) << error;
    return out;
}

}  // namespace

TEST(RecordMaker, TextsEncodeAndAreCutOnWholeCharacters) {
    EXPECT_EQ(EucJp("山田 太郎"), "\xBB\xB3\xC5\xC4 \xC2\xC0\xCF\xBA");
    std::string out, error;
    EXPECT_FALSE(EncodeText("\xF0\x9F\x98\x80", TextEncoding::EucJp, &out, &error));  // an emoji
    EXPECT_FALSE(error.empty());
    ASSERT_TRUE(EncodeText("山田", TextEncoding::Cp932, &out, &error));
    EXPECT_EQ(out, "\x8E\x52\x93\x63");
    std::string back;
    ASSERT_TRUE(DecodeText(EucJp("検査 ABC") + std::string(3, '\0'), TextEncoding::EucJp, &back, &error));
    EXPECT_EQ(back, "検査 ABC");
    // Whole characters only when cut.
    ASSERT_TRUE(EncodeTextLimited("山田太郎", TextEncoding::EucJp, 5, &out, &error));
    EXPECT_EQ(out.size(), 4u);
}

TEST(RecordMaker, BuilderWritesItemsInTheirDeviceLayouts) {
    RecordBuilder b;
    b.SetText(3002, 0, "山田 太郎", TextEncoding::EucJp, 16);
    b.SetText(3025, 0, "ABC", TextEncoding::EucJp, 6, ' ');
    b.SetText(3001, 0, "X1");
    b.SetText(4081, 0, "山田太郎", TextEncoding::EucJp, 6);  // 5 bytes of room: two characters
    b.SetSamples(3849, 3, {1, -1, 32767, -32768});
    b.SetInt32(5004, 0, -2);
    b.SetDateTime(3009, 0, DateTime{2024, 4, 1, 9, 30, 5});
    std::vector<uint8_t> name(16, 0);
    std::string e = EucJp("山田 太郎");
    std::memcpy(name.data(), e.data(), e.size());
    EXPECT_EQ(*b.Find(3002, 0), name);
    EXPECT_EQ(*b.Find(3025, 0), (std::vector<uint8_t>{'A', 'B', 'C', ' ', ' ', ' '}));
    EXPECT_EQ(*b.Find(3001, 0), (std::vector<uint8_t>{'X', '1', 0}));
    EXPECT_EQ(b.Find(4081, 0)->size(), 6u);
    EXPECT_EQ((*b.Find(4081, 0))[4], 0);
    EXPECT_EQ(*b.Find(3849, 3), (std::vector<uint8_t>{1, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x80}));
    EXPECT_EQ(*b.Find(5004, 0), (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(*b.Find(3009, 0), (std::vector<uint8_t>{0xE8, 0x07, 4, 1, 9, 30, 5}));
    EXPECT_THROW(b.SetText(3002, 0, "\xF0\x9F\x98\x80"), std::runtime_error);
}

TEST(RecordMaker, SystemCodesBelongToKinds) {
    DeviceRecordOptions o;
    o.kind = RecordKind::Rest12;
    EXPECT_EQ(ResolveSystemCode(o), 0);
    for (int code : {0, 254, 255, 243, 244, 0x1200}) {
        o.systemCode = code;
        EXPECT_EQ(ResolveSystemCode(o), code);
    }
    o.systemCode = 11;
    EXPECT_THROW(ResolveSystemCode(o), std::invalid_argument);
    o.allowAnyCode = true;
    EXPECT_EQ(ResolveSystemCode(o), 11);
    o.allowAnyCode = false;
    o.systemCode = 70000;
    EXPECT_THROW(ResolveSystemCode(o), std::invalid_argument);
    RecordKind k;
    for (int c : {11, 226, 227}) {
        ASSERT_TRUE(KindOfSystemCode(static_cast<uint16_t>(c), &k));
        EXPECT_EQ(k, RecordKind::Rest15);
    }
    for (int c : {10, 245, 246, 38, 218, 217}) {
        ASSERT_TRUE(KindOfSystemCode(static_cast<uint16_t>(c), &k));
        EXPECT_EQ(k, RecordKind::Rhythm);
    }
    for (int c : {26, 229, 230, 28}) {
        ASSERT_TRUE(KindOfSystemCode(static_cast<uint16_t>(c), &k));
        EXPECT_EQ(k, RecordKind::ExtraLeads);
    }
    ASSERT_TRUE(KindOfSystemCode(5, &k));
    EXPECT_EQ(k, RecordKind::Rr);
    EXPECT_FALSE(KindOfSystemCode(99, &k));
}

TEST(RecordMaker, Rest12RecordReadsBackThroughTheOlderReader) {
    ZARN_LOAD_READERS(r90, r80);
    EcgRecord ecg = Synth(RecordKind::Rest12, 75);
    DeviceRecordOptions o;
    o.kind = RecordKind::Rest12;
    o.systemCode = 254;
    RecordBuilder b = MakeDeviceRecord(ecg, o);
    const std::string dir = zarntest::MakeTempDir("rest12");
    b.WriteFile(dir + "/r.ecg", zarn::Flavour::Older80);
    zarntest::Image img = zarntest::ImageOfFile(dir + "/r.ecg");
    ZarnImage* im = img.image();
    ASSERT_EQ(r90.Probe(im), 0);
    ASSERT_NE(r80.Probe(im), 0);

    EXPECT_EQ(r80.Item(im, kTagRecordKind, 0), (std::vector<uint8_t>{0}));
    EXPECT_EQ(r80.Item(im, kTagSystemCode, 0), (std::vector<uint8_t>{254, 0}));
    EXPECT_EQ(r80.Get(im, kTagBlob1, 0, nullptr, 0), static_cast<long>(kBlob1Size));
    EXPECT_EQ(r80.Get(im, kTagBlob2, 0, nullptr, 0), 0);  // 12-lead: no second blob
    std::vector<uint8_t> blob = r80.Item(im, kTagBlob1, 0);
    EXPECT_EQ(std::memcmp(blob.data(), "MVSUM1", 6), 0);
    EXPECT_EQ(blob[11], 12);
    EXPECT_EQ(blob[14] | (blob[15] << 8), 75);  // heart rate

    // Texts.
    std::vector<uint8_t> name = r80.Item(im, kTagPatientName, 0);
    ASSERT_EQ(name.size(), kPatientNameSize);
    std::string e = EucJp("山田 太郎");
    EXPECT_EQ(std::string(name.begin(), name.begin() + static_cast<long>(e.size())), e);
    EXPECT_EQ(name[e.size()], 0);
    std::vector<uint8_t> id = r80.Item(im, kTagPatientId, 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(id.data())), "P-42");
    std::vector<uint8_t> dept = r80.Item(im, kTagDepartment, 0);
    EXPECT_EQ(std::string(dept.begin(), dept.end()), "ABC         ");
    std::vector<uint8_t> comment = r80.Item(im, kTagComment, 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(comment.data())), EucJp("洞調律"));
    EXPECT_EQ(r80.Item(im, kTagAcquisitionTime, 0), (std::vector<uint8_t>{0xE7, 0x07, 12, 24, 18, 5, 9}));

    // Samples: 10 s at 500 Hz per record lead, in record-lead order.
    for (int lead = 0; lead < kRestLeadCount; ++lead) {
        std::vector<int16_t> s = AsInt16(r80.Item(im, kTagRestLeadBase + static_cast<unsigned>(lead), 0));
        ASSERT_EQ(s.size(), 5000u) << lead;
        const EcgLead* src = ecg.Find(RestSlotLead(lead));
        ASSERT_NE(src, nullptr);
        for (size_t i = 0; i < s.size(); i += 97) ASSERT_EQ(s[i], ToUnit(src->microvolts[i], 1.25)) << lead << " " << i;
        EXPECT_EQ(r80.Item(im, kTagElectrodeCode, static_cast<unsigned>(lead)),
                  (std::vector<uint8_t>{static_cast<uint8_t>(ElectrodeCode(RestSlotLead(lead))), 0}));
    }
    EXPECT_EQ(r80.Get(im, kTagRestLeadBase + 12, 0, nullptr, 0), 0);
    EXPECT_EQ(r80.Get(im, kTagLeadSamples, 12, nullptr, 0), 0);
    // Display order -> record lead: III sits at record lead 8.
    std::vector<int16_t> I = AsInt16(r80.Item(im, kTagRestLeadBase + kRecordLeadOfDisplay[0], 0));
    std::vector<int16_t> II = AsInt16(r80.Item(im, kTagRestLeadBase + kRecordLeadOfDisplay[1], 0));
    std::vector<int16_t> III = AsInt16(r80.Item(im, kTagRestLeadBase + kRecordLeadOfDisplay[2], 0));
    std::vector<int16_t> aVF = AsInt16(r80.Item(im, kTagRestLeadBase + kRecordLeadOfDisplay[5], 0));
    for (size_t i = 0; i < I.size(); ++i) {
        ASSERT_LE(std::abs(III[i] - (II[i] - I[i])), 1) << i;
        ASSERT_LE(std::abs(2 * aVF[i] - (2 * II[i] - I[i])), 2) << i;
    }

    // Average beats: 600 samples at 2.5 uV/unit, R at 250, window and baseline.
    std::vector<int16_t> avgII = AsInt16(r80.Item(im, kTagAverageLeadBase + 1, 0));
    ASSERT_EQ(avgII.size(), static_cast<size_t>(kAverageBeatSamples));
    size_t peak = static_cast<size_t>(std::max_element(avgII.begin(), avgII.end()) - avgII.begin());
    EXPECT_NEAR(static_cast<double>(peak), kAverageBeatRPosition, 1);
    const EcgLead* srcII = ecg.Find(LeadId::II);
    EXPECT_NEAR(avgII[peak], srcII->microvolts[static_cast<size_t>(ecg.beats[2])] / 2.5, 3);
    EXPECT_EQ(AsInt16(r80.Item(im, kTagAverageFirst, 0)), (std::vector<int16_t>{0}));
    EXPECT_EQ(AsInt16(r80.Item(im, kTagAverageLast, 0)), (std::vector<int16_t>{599}));
    std::vector<int16_t> baseline = AsInt16(r80.Item(im, kTagAverageBaseline, 0));
    ASSERT_EQ(baseline.size(), 1u);
    // In the PR segment: after the P wave (R - 82 samples), before the QRS (R - 20).
    EXPECT_GT(baseline[0], kAverageBeatRPosition - 60);
    EXPECT_LT(baseline[0], kAverageBeatRPosition - 15);
    EXPECT_LT(std::abs(avgII[static_cast<size_t>(baseline[0])]), 20);
    // No rhythm items.
    EXPECT_EQ(r80.Get(im, kTagEvents, 0, nullptr, 0), 0);
}

TEST(RecordMaker, Rest15RecordHasTheExtraLeadsAndSecondBlob) {
    ZARN_LOAD_READERS(r90, r80);
    for (int code : {11, 226, 227}) {
        EcgRecord ecg = Synth(RecordKind::Rest15);
        DeviceRecordOptions o;
        o.kind = RecordKind::Rest15;
        o.systemCode = code;
        zarntest::Image img(MakeDeviceRecord(ecg, o).Serialize(zarn::Flavour::Newer90));
        ZarnImage* im = img.image();
        ASSERT_NE(r90.Probe(im), 0);
        EXPECT_EQ(r90.Item(im, kTagRecordKind, 0), (std::vector<uint8_t>{1}));
        EXPECT_EQ(r90.Get(im, kTagBlob2, 0, nullptr, 0), static_cast<long>(kBlob2Size));
        for (unsigned lead = 12; lead < 15; ++lead) {
            // The extra leads are stored by their data ids 0..2.
            std::vector<int16_t> s = AsInt16(r90.Item(im, kTagLeadSamples, lead - 12));
            ASSERT_EQ(s.size(), 5000u);
            EXPECT_EQ(s[1234], ToUnit(ecg.leads[lead].microvolts[1234], 1.25));
            EXPECT_EQ(r90.Get(im, kTagAverageLeadBase + lead, 0, nullptr, 0), 1200);
            EXPECT_EQ(r90.Item(im, kTagElectrodeCode, lead),
                      (std::vector<uint8_t>{static_cast<uint8_t>(ElectrodeCode(ecg.leads[lead].id)), 0}));
        }
        EXPECT_EQ(r90.Get(im, kTagLeadSamples, 3, nullptr, 0), 0);
        EXPECT_EQ(r90.Get(im, kTagLeadSamples, 12, nullptr, 0), 0);
    }
    // Rest 12-lead codes never carry 3855.
    EcgRecord ecg = Synth(RecordKind::Rest12);
    DeviceRecordOptions o;
    o.kind = RecordKind::Rest12;
    EXPECT_FALSE(MakeDeviceRecord(ecg, o).Has(kTagBlob2, 0));
    // A 12-lead signal set cannot make a 15-lead record.
    o.kind = RecordKind::Rest15;
    EXPECT_THROW(MakeDeviceRecord(ecg, o), std::runtime_error);
}

TEST(RecordMaker, RhythmRecordsStoreTheirLeadCountUnderTheirKindsTag) {
    ZARN_LOAD_READERS(r90, r80);
    EcgRecord ecg = Synth(RecordKind::Rhythm, 90, 120);
    for (int code : {10, 245, 246, 38, 218, 217}) {
        DeviceRecordOptions o;
        o.kind = RecordKind::Rhythm;
        o.systemCode = code;
        zarntest::Image img(MakeDeviceRecord(ecg, o).Serialize(zarn::Flavour::Newer90));
        ZarnImage* im = img.image();
        ASSERT_NE(r90.Probe(im), 0);
        const bool is38 = code == 38 || code == 218 || code == 217;
        EXPECT_EQ(AsInt32(r90.Item(im, is38 ? kTagRhythmLeadCount38 : kTagRhythmLeadCount10, 0)), 2) << code;
        EXPECT_EQ(r90.Get(im, is38 ? kTagRhythmLeadCount10 : kTagRhythmLeadCount38, 0, nullptr, 0), 0) << code;
        EXPECT_EQ(r90.Get(im, kTagLeadSamples, 0, nullptr, 0), 120 * 500 * 2);
        EXPECT_EQ(r90.Get(im, kTagLeadSamples, 1, nullptr, 0), 120 * 500 * 2);
        EXPECT_EQ(r90.Get(im, kTagLeadSamples, 2, nullptr, 0), 0);
        EXPECT_EQ(r90.Get(im, kTagRestLeadBase, 0, nullptr, 0), 0);
        const int32_t events = AsInt32(r90.Item(im, kTagEvents, 0));
        ASSERT_EQ(events, static_cast<int32_t>(ecg.beats.size()));
        EXPECT_NEAR(events, 180, 1);
        for (int32_t k = 1; k <= events; ++k)
            EXPECT_EQ(AsInt32(r90.Item(im, kTagEvents, static_cast<unsigned>(k))), ecg.beats[static_cast<size_t>(k - 1)]);
        EXPECT_EQ(r90.Get(im, kTagEvents, static_cast<unsigned>(events + 1), nullptr, 0), 0);
    }
}

TEST(RecordMaker, RrAndExtraRecordsCarryTheirLeadCountsAndEvents) {
    EcgRecord rr = Synth(RecordKind::Rr, 60, 30);
    DeviceRecordOptions o;
    o.kind = RecordKind::Rr;
    RecordBuilder b = MakeDeviceRecord(rr, o);
    int16_t n = 0;
    ASSERT_TRUE(ItemInt16(*b.Find(kTagRrLeadCount, 0), &n));
    EXPECT_EQ(n, 2);
    EXPECT_EQ(ItemSamples(*b.Find(kTagSystemCode, 0))[0], 5);
    int32_t events = 0;
    ASSERT_TRUE(ItemInt32(*b.Find(kTagEvents, 0), &events));
    EXPECT_EQ(events, 30);

    EcgRecord ex = Synth(RecordKind::ExtraLeads);
    o = DeviceRecordOptions();
    o.kind = RecordKind::ExtraLeads;
    o.systemCode = 28;
    b = MakeDeviceRecord(ex, o);
    for (unsigned lead = 0; lead < 18; ++lead) {
        uint16_t code = 0;
        ASSERT_TRUE(ItemUInt16(*b.Find(kTagElectrodeCode, lead), &code)) << lead;
        EXPECT_EQ(code, ElectrodeCode(lead < 12 ? RestSlotLead(static_cast<int>(lead)) : ex.leads[lead].id));
    }
    EXPECT_EQ(b.Find(kTagLeadSamples, 17)->size(), 10000u);
    EXPECT_FALSE(b.Has(kTagLeadSamples, 18));
    EXPECT_FALSE(b.Has(kTagBlob2, 0));
}

TEST(RecordMaker, DerivesMissingLimbLeads) {
    SynthOptions s;
    s.leads = {LeadId::I, LeadId::II, LeadId::V1, LeadId::V2, LeadId::V3, LeadId::V4, LeadId::V5, LeadId::V6};
    EcgRecord ecg = Synthesize(s);
    DeviceRecordOptions o;
    RecordBuilder b = MakeDeviceRecord(ecg, o);
    std::vector<int16_t> I = ItemSamples(*b.Find(kTagRestLeadBase + 0, 0));
    std::vector<int16_t> II = ItemSamples(*b.Find(kTagRestLeadBase + 1, 0));
    std::vector<int16_t> aVR = ItemSamples(*b.Find(kTagRestLeadBase + 9, 0));
    for (size_t i = 0; i < I.size(); ++i) ASSERT_LE(std::abs(2 * aVR[i] + I[i] + II[i]), 3);
    s.leads = {LeadId::I, LeadId::II};
    EXPECT_THROW(MakeDeviceRecord(Synthesize(s), o), std::runtime_error);
}

TEST(RecordMaker, ResamplesToFiveHundredHertz) {
    SynthOptions s;
    s.sampleRate = 1000;
    EcgRecord ecg = Synthesize(s);
    DeviceRecordOptions o;
    RecordBuilder b = MakeDeviceRecord(ecg, o);
    std::vector<int16_t> II = ItemSamples(*b.Find(kTagRestLeadBase + 1, 0));
    ASSERT_EQ(II.size(), 5000u);
    for (size_t i = 0; i < II.size(); i += 13) ASSERT_EQ(II[i], ToUnit(ecg.leads[1].microvolts[2 * i], 1.25));
}

TEST(RecordMakerCli, SynthWritesARecordPerKindAndFlavour) {
    ZARN_LOAD_READERS(r90, r80);
    const std::string dir = zarntest::MakeTempDir("cli");
    struct Case {
        const char* kind;
        const char* flavour;
        const char* code;
    };
    for (const Case& c : {Case{"rest12", "90", "255"}, Case{"rest15", "80", "226"}, Case{"rhythm", "90", "218"},
                          Case{"rr", "80", "5"}, Case{"extra", "90", "229"}}) {
        SCOPED_TRACE(c.kind);
        const std::string path = dir + "/" + c.kind + ".ecg";
        std::string out, err;
        ASSERT_EQ(RunCli({"synth", "--kind", c.kind, "--out", path, "--hr", "80", "--seconds", "10", "--code", c.code,
                       "--flavour", c.flavour, "--name", "佐藤 花子", "--id", "X-9", "--seed", "3", "--noise", "--pace"},
                      &out, &err),
                  0)
            << err;
        EXPECT_NE(out.find("wrote"), std::string::npos);
        zarntest::Image img = zarntest::ImageOfFile(path);
        const zarntest::ReaderLib& lib = std::string(c.flavour) == "90" ? r90 : r80;
        const zarntest::ReaderLib& other = std::string(c.flavour) == "90" ? r80 : r90;
        ASSERT_EQ(other.Probe(img.image()), 0);
        ASSERT_NE(lib.Probe(img.image()), 0);
        std::vector<uint8_t> code = lib.Item(img.image(), kTagSystemCode, 0);
        ASSERT_EQ(code.size(), 2u);
        EXPECT_EQ(code[0] | (code[1] << 8), std::atoi(c.code));
        std::vector<uint8_t> name = lib.Item(img.image(), kTagPatientName, 0);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(name.data())), EucJp("佐藤 花子"));
    }
    // Deterministic: the same command twice gives the same bytes.
    ASSERT_EQ(RunCli({"synth", "--kind", "rest12", "--out", dir + "/a.ecg", "--noise", "--seed", "9"}), 0);
    ASSERT_EQ(RunCli({"synth", "--kind", "rest12", "--out", dir + "/b.ecg", "--noise", "--seed", "9"}), 0);
    EXPECT_EQ(zarntest::ReadFile(dir + "/a.ecg"), zarntest::ReadFile(dir + "/b.ecg"));
    std::string out;
    ASSERT_EQ(RunCli({"dump", dir + "/a.ecg"}, &out), 0);
    EXPECT_NE(out.find("3836"), std::string::npos);
}

TEST(RecordMakerCli, BadCommandLinesNameTheirMistake) {
    const std::string dir = zarntest::MakeTempDir("clierr");
    std::string out, err;
    EXPECT_NE(RunCli({}, &out, &err), 0);
    EXPECT_NE(err.find("usage"), std::string::npos);
    EXPECT_EQ(RunCli({"--help"}, &out, &err), 0);
    EXPECT_NE(out.find("synth"), std::string::npos);
    EXPECT_NE(RunCli({"frobnicate"}, &out, &err), 0);
    EXPECT_NE(err.find("unknown command"), std::string::npos);
    EXPECT_NE(RunCli({"synth", "--out", dir + "/x.ecg"}, &out, &err), 0);
    EXPECT_NE(err.find("--kind"), std::string::npos);
    EXPECT_NE(RunCli({"synth", "--kind", "rest99", "--out", dir + "/x.ecg"}, &out, &err), 0);
    EXPECT_NE(err.find("rest99"), std::string::npos);
    EXPECT_NE(RunCli({"synth", "--kind", "rest12", "--out", dir + "/x.ecg", "--code", "10"}, &out, &err), 0);
    EXPECT_NE(err.find("rhythm code"), std::string::npos) << err;
    EXPECT_EQ(RunCli({"synth", "--kind", "rest12", "--out", dir + "/x.ecg", "--code", "10", "--any-code"}, &out, &err), 0)
        << err;
    EXPECT_NE(RunCli({"synth", "--kind", "rest12", "--out", dir + "/x.ecg", "--hr", "fast"}, &out, &err), 0);
    EXPECT_NE(err.find("--hr"), std::string::npos);
    EXPECT_NE(RunCli({"synth", "--kind", "rest12", "--out", dir + "/x.ecg", "--flavour", "70"}, &out, &err), 0);
    EXPECT_NE(RunCli({"synth", "--kind", "rest12", "--out", dir + "/x.ecg", "--bogus", "1"}, &out, &err), 0);
    EXPECT_NE(err.find("--bogus"), std::string::npos);
    EXPECT_NE(RunCli({"synth", "--kind", "rest12", "--out", dir + "/no/such/dir/x.ecg"}, &out, &err), 0);
    EXPECT_NE(err.find("cannot create"), std::string::npos) << err;
    EXPECT_NE(RunCli({"wfdb", "--record", dir + "/missing", "--out", dir + "/y.ecg"}, &out, &err), 0);
    EXPECT_NE(err.find("missing.hea"), std::string::npos) << err;
    zarntest::WriteFile(dir + "/junk.ecg", {1, 2, 3});
    EXPECT_NE(RunCli({"dump", dir + "/junk.ecg"}, &out, &err), 0);
    EXPECT_NE(err.find("bad magic at byte 0"), std::string::npos) << err;
}

TEST(RecordMakerCli, EachSeedSuitsOneReaderAtMostAndEverySampleProbes) {
    ZARN_LOAD_READERS(r90, r80);
    const std::string dir = zarntest::MakeTempDir("seeds");
    std::vector<std::string> seeds = WriteSeedCorpus(dir + "/seeds");
    ASSERT_GE(seeds.size(), 15u);
    int accepted90 = 0, accepted80 = 0, refused = 0;
    for (const std::string& path : seeds) {
        std::vector<uint8_t> bytes = zarntest::ReadFile(path);
        EXPECT_LT(bytes.size(), 4096u) << path;
        zarntest::Image a(bytes), b(bytes);
        const bool ok90 = r90.Probe(a.image()) != 0, ok80 = r80.Probe(b.image()) != 0;
        EXPECT_FALSE(ok90 && ok80) << path;
        accepted90 += ok90;
        accepted80 += ok80;
        refused += !ok90 && !ok80;
    }
    EXPECT_GE(accepted90, 4);
    EXPECT_GE(accepted80, 4);
    EXPECT_GE(refused, 5);

    std::vector<std::string> samples = WriteSampleRecords(dir + "/samples");
    ASSERT_GE(samples.size(), 8u);
    for (const std::string& path : samples) {
        zarntest::Image img = zarntest::ImageOfFile(path);
        const bool is90 = path.find("_90.") != std::string::npos;
        const zarntest::ReaderLib& lib = is90 ? r90 : r80;
        ASSERT_NE(lib.Probe(img.image()), 0) << path;
        EXPECT_GT(lib.Get(img.image(), kTagBlob1, 0, nullptr, 0), 0) << path;
    }
    std::string out;
    EXPECT_EQ(RunCli({"seeds", dir + "/seeds2"}, &out), 0);
    EXPECT_NE(out.find("wrote"), std::string::npos);
}
