// Round trips: the MFER writer's files read back through the reader.
#include <algorithm>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include "platform/mfer/MFERParser.h"
#include "tests/support/TestSupport.h"
#include "tools/Hl7Header.h"
#include "tools/MferWriter.h"
#include "tools/Mkrecord.h"
#include "tools/Wfdb.h"

namespace morvelance {
namespace {

struct Opened {
    std::unique_ptr<CMFERParser> parser{new CMFERParser()};
    bool ok = false;
};

Opened Read(const std::vector<uint8_t>& bytes)
{
    Opened o;
    o.ok = o.parser->OpenMFERFromMemory(bytes.data(), bytes.size()) != 0;
    return o;
}

std::vector<short> Lead(CMFERParser& parser, int lead)
{
    std::vector<short> samples(size_t(parser.GetWaveLength(0) / 2));
    parser.GetWaveData(0, lead, samples.data());
    return samples;
}

std::string Trimmed(const char* text)
{
    std::string s(text);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// Every sample of every lead equals what the writer meant to store.
void ExpectSamples(const EcgRecord& record, const MferOptions& options, CMFERParser& parser)
{
    ASSERT_EQ(int(record.leads.size()), parser.GetLeadCount());
    for (size_t c = 0; c < record.leads.size(); ++c) {
        std::vector<short> got = Lead(parser, int(c));
        ASSERT_EQ(record.SampleCount(), got.size());
        for (size_t i = 0; i < got.size(); ++i) {
            double want = std::clamp(std::nearbyint(MferRawValue(record.leads[c].microvolts[i], options)), -32768.0, 32767.0);
            ASSERT_EQ(short(want), got[i]) << "lead " << c << " sample " << i;
        }
    }
}

TEST(MferWriter, EveryKindReadsBackWithItsDescriptionAndLeads)
{
    struct Case { MferKind kind; int leads; int expectedLeads; } cases[] = {
        {MferKind::Extra3, 0, 3}, {MferKind::Extra4, 0, 4}, {MferKind::Extra6x1, 0, 6},
        {MferKind::Extra6x3x2, 0, 6}, {MferKind::Extra7, 0, 7}, {MferKind::Freeze, 5, 5},
        {MferKind::Plain, 1, 1}, {MferKind::Plain, 3, 3}, {MferKind::Plain, 12, 12}, {MferKind::Plain, 15, 15},
    };
    for (const Case& c : cases) {
        for (bool big : {true, false}) {
            EcgRecord record = MferKindRecord(c.kind, c.leads, 1.0, 500.0);
            MferOptions o;
            o.description = MferDescription(c.kind);
            o.bigEndian = big;
            Opened r = Read(EncodeMfer(record, o));
            ASSERT_TRUE(r.ok) << o.description;
            EXPECT_STREQ(o.description.c_str(), std::string(r.parser->GetMFERRoot()->szDescription).substr(0, o.description.size()).c_str());
            EXPECT_EQ(c.expectedLeads, r.parser->GetLeadCount());
            EXPECT_DOUBLE_EQ(500.0, r.parser->GetSamplingFrequency());
            EXPECT_EQ(std::wstring(CString(LeadName(record.leads[0].id)).GetString()),
                      std::wstring(r.parser->GetLeadName(0).GetString()));
            EXPECT_EQ(int(ElectrodeCode(record.leads.back().id)), r.parser->GetLeadCode(c.expectedLeads - 1));
            ExpectSamples(record, o, *r.parser);
        }
    }
}

TEST(MferWriter, EachDataTypeAndResolutionRoundTrips)
{
    EcgRecord record = MferKindRecord(MferKind::Plain, 3, 0.5, 250.0);
    for (int type = 0; type <= 8; ++type) {
        for (int exponent : {-6, -7}) {
            MferOptions o;
            o.dataType = type;
            o.senseExponent = exponent;
            o.senseMantissa = exponent == -7 ? 5 : 2;
            o.bigEndian = type % 2 == 0;
            Opened r = Read(EncodeMfer(record, o));
            ASSERT_TRUE(r.ok) << type;
            EXPECT_NEAR(exponent == -7 ? 0.5 : 2.0, r.parser->GetMeasureSense(), 1e-12);
            ExpectSamples(record, o, *r.parser);
        }
    }
}

TEST(MferWriter, VariantsOfTheEncodingReadAlike)
{
    EcgRecord record = MferKindRecord(MferKind::Extra4, 0, 1.0, 500.0);
    MferOptions plain;
    plain.description = MferDescription(MferKind::Extra4);
    Opened reference = Read(EncodeMfer(record, plain));
    ASSERT_TRUE(reference.ok);
    struct Variant { const char* what; void (*apply)(MferOptions&); } variants[] = {
        {"no preamble", [](MferOptions& o) { o.preamble = false; }},
        {"no end", [](MferOptions& o) { o.endTag = false; }},
        {"four-byte length", [](MferOptions& o) { o.fourByteWaveLength = true; }},
        {"open-length attributes", [](MferOptions& o) { o.indefiniteAttributes = true; }},
        {"two-byte channel numbers", [](MferOptions& o) { o.wideChannelNumbers = true; }},
        {"interval in seconds", [](MferOptions& o) { o.intervalAsSeconds = true; }},
        {"blocks and frames", [](MferOptions& o) { o.block = 50; o.frames = 3; }},
        // 500 samples a lead: three blocks of 150 and a short last one of 50.
        {"a short last block", [](MferOptions& o) { o.block = 150; }},
        {"a short last block after frames", [](MferOptions& o) { o.block = 150; o.frames = 2; }},
        {"a block longer than the record", [](MferOptions& o) { o.block = 5000; }},
        {"little endian", [](MferOptions& o) { o.bigEndian = false; }},
    };
    for (const Variant& v : variants) {
        MferOptions o = plain;
        v.apply(o);
        Opened r = Read(EncodeMfer(record, o));
        ASSERT_TRUE(r.ok) << v.what;
        // The preamble is padded to its 32 bytes; the system trims it anyway.
        EXPECT_EQ(Trimmed(reference.parser->GetMFERRoot()->szDescription), Trimmed(r.parser->GetMFERRoot()->szDescription)) << v.what;
        EXPECT_NEAR(500.0, r.parser->GetSamplingFrequency(), 1e-9) << v.what;
        for (int c = 0; c < 4; ++c) EXPECT_EQ(Lead(*reference.parser, c), Lead(*r.parser, c)) << v.what;
    }
}

TEST(MferWriter, OptionalFieldsAreWrittenOnlyWhenAsked)
{
    EcgRecord record = MferKindRecord(MferKind::Plain, 1, 0.2, 500.0);
    MferOptions with;
    Opened r = Read(EncodeMfer(record, with));
    ASSERT_TRUE(r.ok);
    const MFER_ROOT* root = r.parser->GetMFERRoot();
    EXPECT_STREQ("\x8E\x52\x93\x63\x20\x89\xD4\x8E\x71", root->szPatientName);   // 山田 花子 in code page 932
    EXPECT_STREQ("MF-0042", root->szPatientId);
    EXPECT_EQ(2024, int(root->nYear));
    EXPECT_EQ(29, int(root->byDay));
    EXPECT_NE(0u, DWORD(root->dwTimePresent));
    EXPECT_EQ(L"0.05-150Hz", std::wstring(r.parser->GetFilter().GetString()));

    MferOptions without;
    without.patient = false;
    without.time = false;
    without.filter.clear();
    Opened bare = Read(EncodeMfer(record, without));
    ASSERT_TRUE(bare.ok);
    root = bare.parser->GetMFERRoot();
    EXPECT_EQ(0u, DWORD(root->dwPatientNamePresent));
    EXPECT_EQ(0u, DWORD(root->dwPatientIdPresent));
    EXPECT_EQ(0u, DWORD(root->dwTimePresent));
    EXPECT_EQ(L"", std::wstring(bare.parser->GetFilter().GetString()));

    MferOptions utf8;
    utf8.utf8 = true;
    Opened u = Read(EncodeMfer(record, utf8));
    ASSERT_TRUE(u.ok);
    EXPECT_STREQ("\x8E\x52\x93\x63\x20\x89\xD4\x8E\x71", u.parser->GetMFERRoot()->szPatientName);
}

TEST(MferWriter, DerivedLimbLeadsFollowFromIAndII)
{
    EcgRecord record = MferKindRecord(MferKind::Plain, 12, 1.0, 500.0);
    MferOptions o;
    o.onlyIndependentLeads = true;
    Opened r = Read(EncodeMfer(record, o));
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(12, r.parser->GetLeadCount());
    std::vector<short> one = Lead(*r.parser, 0), two = Lead(*r.parser, 1);
    std::vector<short> iii = Lead(*r.parser, 2), avr = Lead(*r.parser, 3), avl = Lead(*r.parser, 4),
                       avf = Lead(*r.parser, 5);
    for (size_t i = 0; i < one.size(); ++i) {
        ASSERT_EQ(two[i] - one[i], iii[i]);
        ASSERT_EQ(-(one[i] + two[i]) / 2, avr[i]);
        ASSERT_EQ((2 * one[i] - two[i]) / 2, avl[i]);
        ASSERT_EQ((2 * two[i] - one[i]) / 2, avf[i]);
        // The model's own limb leads agree to the rounding of the halves.
        ASSERT_NEAR(record.leads[2].microvolts[i], iii[i], 1.01);
    }
    EXPECT_EQ(L"aVF", std::wstring(r.parser->GetLeadName(5).GetString()));
}

TEST(MferWriter, PtbRecordKeepsItsRateResolutionAndSamples)
{
    REQUIRE_SHARED_DATA(hea, "physionet/ptb/s0010_re.hea");
    const std::string path = hea.substr(0, hea.size() - 4);
    WfdbRecord wf;
    std::string error;
    ASSERT_TRUE(ReadWfdbRecord(path, &wf, &error, 5000)) << error;
    EcgRecord record = WfdbToEcg(wf, "ptb");
    MferOptions o;
    MferSenseFor(1000.0 / wf.header.signals[0].gain, &o);
    testsupport::TempDir dir;
    ASSERT_TRUE(WriteMferFile(dir.File("ptb.mwf"), record, o, &error)) << error;
    CMFERParser parser;
    const std::string file = dir.File("ptb.mwf");
    ASSERT_EQ(1, parser.OpenMFER(std::wstring(file.begin(), file.end()).c_str()));
    EXPECT_DOUBLE_EQ(1000.0, parser.GetSamplingFrequency());
    EXPECT_DOUBLE_EQ(0.5, parser.GetMeasureSense());
    ASSERT_EQ(15, parser.GetLeadCount());
    for (int c = 0; c < 15; ++c) {
        std::vector<short> got = Lead(parser, c);
        ASSERT_EQ(5000u, got.size());
        for (size_t i = 0; i < got.size(); i += 7)
            ASSERT_EQ(wf.samples[size_t(c)][i] - wf.header.signals[size_t(c)].baseline, got[i]) << c << " " << i;
    }
}

TEST(MferWriter, Hl7HeaderCarriesThePathsTheFileListReads)
{
    PatientInfo patient;
    patient.id = "P<1>&2";
    patient.name = "山田";
    const std::string text = Hl7HeaderText(patient, DateTime{2004, 2, 29, 13, 5, 9}, Hl7HeaderOptions());
    xmlDocPtr doc = xmlReadMemory(text.data(), int(text.size()), "hl7.xml", nullptr, XML_PARSE_NONET);
    ASSERT_NE(nullptr, doc);
    xmlXPathContextPtr ctx = xmlXPathNewContext(doc);
    xmlXPathRegisterNs(ctx, BAD_CAST "hl7", BAD_CAST "urn:hl7-org:v3");
    std::vector<xmlXPathObjectPtr> objects;
    auto eval = [&](const char* xpath) {
        xmlXPathObjectPtr obj = xmlXPathEvalExpression(BAD_CAST xpath, ctx);
        objects.push_back(obj);
        xmlChar* s = xmlXPathCastToString(obj);
        std::string out(reinterpret_cast<char*>(s));
        xmlFree(s);
        return out;
    };
    EXPECT_EQ("20040229130509", eval("/hl7:ECGObservation/hl7:performer/hl7:time/@value"));
    EXPECT_EQ("P<1>&2", eval("/hl7:ECGObservation/hl7:recordTarget/hl7:patientRole/hl7:patientPatient/hl7:id/@extension"));
    EXPECT_EQ("山田", eval("/hl7:ECGObservation/hl7:recordTarget/hl7:patientRole/hl7:patientPatient/hl7:name[@use='IDE']/hl7:family"));
    for (xmlXPathObjectPtr obj : objects) xmlXPathFreeObject(obj);
    xmlXPathFreeContext(ctx);
    xmlFreeDoc(doc);

    Hl7HeaderOptions none;
    none.patientId = false;
    none.rawTime = "00000000000000";
    const std::string bare = Hl7HeaderText(patient, DateTime{}, none);
    EXPECT_EQ(std::string::npos, bare.find("extension="));
    EXPECT_NE(std::string::npos, bare.find("value=\"00000000000000\""));
}

// The command line's WFDB conversion keeps each record's rate and resolution.
TEST(MferWriter, WfdbRecordsConvertThroughTheCommandLine)
{
    struct Case { const char* record; int leads; double hz; double sense; } cases[] = {
        {"physionet/mitdb/100", 2, 360.0, 5.0},
        {"physionet/ptbxl/00001_lr", 12, 100.0, 1.0},
    };
    for (const Case& c : cases) {
        REQUIRE_SHARED_DATA(hea, std::string(c.record) + ".hea");
        const std::string path = hea.substr(0, hea.size() - 4);
        testsupport::TempDir dir;
        const std::string mwf = dir.File("w.mwf");
        std::ostringstream out, err;
        ASSERT_EQ(0, RunMkrecord({"wfdb", "--mfer", "--record", path, "--out", mwf, "--little-endian", "--seconds", "5"},
                                 out, err))
            << err.str();
        WfdbRecord wf;
        std::string error;
        ASSERT_TRUE(ReadWfdbRecord(path, &wf, &error, -1)) << error;
        CMFERParser parser;
        ASSERT_EQ(1, parser.OpenMFER(std::wstring(mwf.begin(), mwf.end()).c_str())) << c.record;
        EXPECT_EQ(c.leads, parser.GetLeadCount());
        EXPECT_DOUBLE_EQ(c.hz, parser.GetSamplingFrequency());
        EXPECT_DOUBLE_EQ(c.sense, parser.GetMeasureSense());
        for (int lead = 0; lead < c.leads; ++lead) {
            std::vector<short> got = Lead(parser, lead);
            ASSERT_EQ(size_t(5 * c.hz), got.size());
            for (size_t i = 0; i < got.size(); i += 11)
                ASSERT_EQ(wf.samples[size_t(lead)][i] - wf.header.signals[size_t(lead)].baseline, got[i]) << c.record;
        }
    }
}

TEST(MferWriter, CommandLineWritesTheFileAndItsHeader)
{
    testsupport::TempDir dir;
    const std::string mwf = dir.File("f.mwf"), hl7 = dir.File("f.xml");
    std::ostringstream out, err;
    ASSERT_EQ(0, RunMkrecord({"mfer", "--kind", "freeze", "--leads", "2", "--seconds", "1", "--out", mwf,
                              "--little-endian", "--no-preamble", "--no-end", "--dtype", "2", "--hl7", hl7},
                             out, err))
        << err.str();
    CMFERParser parser;
    ASSERT_EQ(1, parser.OpenMFER(std::wstring(mwf.begin(), mwf.end()).c_str()));
    EXPECT_STREQ("MFR Extra Freeze ECG", parser.GetMFERRoot()->szDescription);
    EXPECT_EQ(2, parser.GetLeadCount());
    EXPECT_EQ(1000, parser.GetWaveLength(0));
    EXPECT_NE(std::string::npos, testsupport::ReadFileBytes(hl7).find("ECGObservation"));
    EXPECT_EQ(2, RunMkrecord({"mfer", "--kind", "extra9", "--out", mwf}, out, err));
    EXPECT_EQ(2, RunMkrecord({"mfer", "--dtype", "9", "--out", mwf}, out, err));
}

// ---- averaged beats ---------------------------------------------------------------

// What each written lead's averaged beat should read as: the writer's beat at
// the file's resolution, clamped to 16 bits.
std::vector<std::vector<short>> ExpectedBeats(const EcgRecord& record, const MferOptions& options)
{
    std::vector<std::vector<short>> beats;
    for (const std::vector<float>& beat : MferAveragedBeats(record, options)) {
        std::vector<short> samples;
        for (float v : beat) samples.push_back(short(std::clamp(std::nearbyint(MferRawValue(v, options)), -32768.0, 32767.0)));
        beats.push_back(samples);
    }
    return beats;
}

std::vector<short> Beat(CMFERParser& parser, int lead)
{
    std::vector<short> samples(size_t(parser.GetWaveLength(2) / 2));
    if (!parser.GetWaveData(2, lead, samples.data())) return {};
    return samples;
}

size_t PeakIndex(const std::vector<short>& beat)
{
    return size_t(std::max_element(beat.begin(), beat.end(), [](short a, short b) { return std::abs(a) < std::abs(b); }) -
                  beat.begin());
}

// The demo's MFER samples, as the record maker writes them from the command line.
TEST(MferWriter, CommandLineSamplesOfTwelveAndFifteenLeadsCarryBeats)
{
    testsupport::TempDir dir;
    struct Case { std::vector<std::string> kind; int beatLeads; } cases[] = {
        {{"--kind", "plain", "--leads", "12"}, 12},
        {{"--kind", "rhythm15", "--seconds", "30"}, 15},
        {{"--kind", "extra4", "--little-endian"}, 0},
    };
    for (const Case& c : cases) {
        const std::string mwf = dir.File("sample.mwf");
        std::vector<std::string> args = {"mfer", "--out", mwf};
        args.insert(args.end(), c.kind.begin(), c.kind.end());
        std::ostringstream out, err;
        ASSERT_EQ(0, RunMkrecord(args, out, err)) << err.str();
        CMFERParser parser;
        ASSERT_EQ(1, parser.OpenMFER(std::wstring(mwf.begin(), mwf.end()).c_str())) << c.kind[1];
        EXPECT_EQ(c.beatLeads ? 1200 : 0, parser.GetWaveLength(2)) << c.kind[1];
        EXPECT_EQ(c.beatLeads > 0, !Beat(parser, c.beatLeads - 1).empty()) << c.kind[1];
        EXPECT_TRUE(Beat(parser, c.beatLeads).empty()) << c.kind[1];
    }
}

TEST(MferWriter, AveragedBeatsRoundTripWithTheirLengthSenseAndFilter)
{
    struct Variant { const char* what; int leads; double sense; void (*apply)(MferOptions&); } variants[] = {
        {"12 leads", 12, 1.0, [](MferOptions&) {}},
        {"15 leads", 15, 1.0, [](MferOptions&) {}},
        {"little-endian uint16 at 0.5 uV", 12, 0.5,
         [](MferOptions& o) { o.bigEndian = false; o.dataType = 1; o.senseExponent = -7; o.senseMantissa = 5; }},
        {"float32", 15, 1.0, [](MferOptions& o) { o.dataType = 7; }},
        {"open lengths, long forms, wide channels", 12, 1.0,
         [](MferOptions& o) { o.openGroup = o.indefiniteAttributes = o.fourByteWaveLength = o.wideChannelNumbers = true; }},
        {"frames and a short last block before the beats", 12, 1.0, [](MferOptions& o) { o.block = 400; o.frames = 2; }},
    };
    for (const Variant& v : variants) {
        const EcgRecord record = MferKindRecord(MferKind::Plain, v.leads, 3.0, 500.0);
        MferOptions o;
        v.apply(o);
        Opened r = Read(EncodeMfer(record, o));
        ASSERT_TRUE(r.ok) << v.what;
        const std::vector<std::vector<short>> expected = ExpectedBeats(record, o);
        ASSERT_EQ(size_t(v.leads), expected.size()) << v.what;
        ASSERT_EQ(600u, expected[0].size()) << v.what;   // 1.2 s at 500 Hz
        EXPECT_EQ(1200, r.parser->GetWaveLength(2)) << v.what;
        for (int c = 0; c < v.leads; ++c) ASSERT_EQ(expected[size_t(c)], Beat(*r.parser, c)) << v.what << " lead " << c;
        EXPECT_TRUE(Beat(*r.parser, v.leads).empty()) << v.what;
        // A real average: lead II's R peak stands at 5/12 of the beat.
        EXPECT_NEAR(250.0, double(PeakIndex(Beat(*r.parser, 1))), 10.0) << v.what;
        EXPECT_DOUBLE_EQ(v.sense, r.parser->GetMeasureSense()) << v.what;
        EXPECT_EQ(L"0.05-150Hz", std::wstring(r.parser->GetFilter().GetString())) << v.what;
        ExpectSamples(record, o, *r.parser);
    }
}

TEST(MferWriter, FullLeadFilesCarryBeatsAndOthersOnlyWhenAsked)
{
    struct Case { const char* what; MferKind kind; int leads; MferBeats beats; int beatSamples; double rate; int length; }
    cases[] = {
        {"extra 4 leads", MferKind::Extra4, 0, MferBeats::FullLeads, 0, 500.0, 0},
        {"3-lead strip", MferKind::Plain, 3, MferBeats::FullLeads, 0, 500.0, 0},
        {"12 leads, none asked", MferKind::Plain, 12, MferBeats::None, 0, 500.0, 0},
        {"extra 4 leads, asked", MferKind::Extra4, 0, MferBeats::Always, 0, 500.0, 600},
        {"rhythm 15 at 250 Hz", MferKind::Rhythm15, 0, MferBeats::FullLeads, 0, 250.0, 300},
        {"12 leads, short beats", MferKind::Plain, 12, MferBeats::FullLeads, 100, 500.0, 100},
    };
    for (const Case& c : cases) {
        const EcgRecord record = MferKindRecord(c.kind, c.leads, 3.0, c.rate);
        MferOptions o;
        o.description = MferDescription(c.kind);
        o.beats = c.beats;
        o.beatSamples = c.beatSamples;
        Opened r = Read(EncodeMfer(record, o));
        ASSERT_TRUE(r.ok) << c.what;
        EXPECT_EQ(2 * c.length, r.parser->GetWaveLength(2)) << c.what;
        EXPECT_EQ(c.length > 0, !Beat(*r.parser, int(record.leads.size()) - 1).empty()) << c.what;
    }
    // A record with no beat to average gets no group.
    EcgRecord flat = MferKindRecord(MferKind::Plain, 12, 3.0, 500.0);
    for (EcgLead& lead : flat.leads) std::fill(lead.microvolts.begin(), lead.microvolts.end(), 0.0f);
    flat.beats.clear();
    EXPECT_TRUE(MferAveragedBeats(flat, MferOptions()).empty());
    Opened r = Read(EncodeMfer(flat, MferOptions()));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(0, r.parser->GetWaveLength(2));
}

TEST(MferWriter, BeatsOfTheIndependentLeadsAreReadAsTwelve)
{
    const EcgRecord record = MferKindRecord(MferKind::Plain, 12, 3.0, 500.0);
    MferOptions o;
    o.onlyIndependentLeads = true;
    Opened r = Read(EncodeMfer(record, o));
    ASSERT_TRUE(r.ok);
    const std::vector<std::vector<short>> written = ExpectedBeats(record, o);
    ASSERT_EQ(8u, written.size());
    EXPECT_EQ(written[0], Beat(*r.parser, 0));
    EXPECT_EQ(written[1], Beat(*r.parser, 1));
    for (int c = 2; c < 8; ++c) EXPECT_EQ(written[size_t(c)], Beat(*r.parser, c + 4)) << c;
    const std::vector<short> iii = Beat(*r.parser, 2);
    ASSERT_EQ(written[0].size(), iii.size());
    for (size_t i = 0; i < iii.size(); ++i) ASSERT_EQ(written[1][i] - written[0][i], iii[i]);
}

TEST(MferWriter, DamagedBeatGroupIsRefusedWithItsPosition)
{
    const EcgRecord record = MferKindRecord(MferKind::Plain, 12, 3.0, 500.0);
    MferOptions without;
    without.beats = MferBeats::None;
    const std::vector<uint8_t> bytes = EncodeMfer(record, MferOptions());
    // The beats stand between the recording and the end tag; their waveform
    // (tag, 0x82 and two length bytes) is the group's last definition.
    const size_t group = EncodeMfer(record, without).size() - 2;
    const size_t wave = bytes.size() - 2 - 12 * 600 * 2 - 4;
    ASSERT_EQ(0x67, bytes[group]);
    ASSERT_EQ(0x1E, bytes[wave]);
    const uint8_t block[] = {0x04, 0x04, 0, 0, 0x02, 0x58};   // 600 samples
    const size_t blockAt = size_t(std::search(bytes.begin() + long(group), bytes.end(), std::begin(block), std::end(block)) -
                                  bytes.begin());
    ASSERT_LT(blockAt, wave);

    std::vector<uint8_t> longer = bytes;
    longer[blockAt + 5] = 0x59;   // 601 samples: one more than the data holds
    std::vector<uint8_t> huge = bytes;
    huge[blockAt + 2] = 0x7F;     // far past the file's end
    struct Case { const char* what; std::vector<uint8_t> file; MferStatus status; size_t position; } cases[] = {
        {"beat longer than its data", longer, MferStatus::BlockTooLong, wave},
        {"beat block past the file's end", huge, MferStatus::BlockTooLong, blockAt},
        {"file cut inside the beats", std::vector<uint8_t>(bytes.begin(), bytes.end() - 100), MferStatus::Truncated, group},
    };
    for (const Case& c : cases) {
        Opened r = Read(c.file);
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_EQ(c.status, r.parser->GetStatus()) << c.what;
        EXPECT_EQ(c.position, r.parser->GetErrorPosition()) << c.what;
    }
}

}  // namespace
}  // namespace morvelance
