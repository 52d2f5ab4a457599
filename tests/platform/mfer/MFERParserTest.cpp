// The MFER reader on hand-built files: each test spells out the bytes it
// feeds, so the encoding rules it relies on are visible in the test.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/mfer/MFERParser.h"
#include "tests/support/TestSupport.h"

namespace {

using Bytes = std::vector<BYTE>;

Bytes Def(BYTE tag, const Bytes& value)
{
    Bytes out{tag};
    if (value.size() < 0x80) {
        out.push_back(BYTE(value.size()));
    } else {
        out.push_back(0x82);
        out.push_back(BYTE(value.size() >> 8));
        out.push_back(BYTE(value.size()));
    }
    out.insert(out.end(), value.begin(), value.end());
    return out;
}

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Text(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// Two channels of three int16 samples each, in one block per channel.
Bytes TwoChannelBody(bool littleEndian)
{
    Bytes data;
    const short values[] = {1, -2, 300, -400, 5, 32767};
    for (short v : values) {
        BYTE hi = BYTE(unsigned(v) >> 8), lo = BYTE(v);
        if (littleEndian) data.insert(data.end(), {lo, hi});
        else data.insert(data.end(), {hi, lo});
    }
    return Cat({Def(0x01, {BYTE(littleEndian ? 1 : 0)}), Def(0x05, {2}), Def(0x04, {3}),
                Def(0x0A, {0}), Def(0x1E, data)});
}

std::vector<short> Lead(CMFERParser& parser, int lead)
{
    std::vector<short> samples(size_t(parser.GetWaveLength(0) / 2));
    if (!parser.GetWaveData(0, lead, samples.data())) return {};
    return samples;
}

bool Open(CMFERParser& parser, const Bytes& bytes)
{
    return parser.OpenMFERFromMemory(bytes.data(), bytes.size()) != 0;
}

TEST(MFERParser, RootFieldsSitAtTheOffsetsTheSystemReads)
{
    Bytes file = Cat({Def(0x40, Text("MFR Extra 4 leads ECG")), Def(0x81, Text("YAMADA")), Def(0x82, Text("ID-7")),
                      Def(0x85, {0x07, 0xD4, 2, 29, 13, 5, 9, 0, 0, 0, 0}), TwoChannelBody(false)});
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, file));
    const BYTE* root = reinterpret_cast<const BYTE*>(parser.GetMFERRoot());
    EXPECT_STREQ(reinterpret_cast<const char*>(root + 566), "MFR Extra 4 leads ECG");
    EXPECT_STREQ(reinterpret_cast<const char*>(root + 40162), "YAMADA");
    EXPECT_STREQ(reinterpret_cast<const char*>(root + 40290), "ID-7");
    short year;
    std::memcpy(&year, root + 40355, 2);
    EXPECT_EQ(2004, year);
    EXPECT_EQ(2, root[40357]);
    EXPECT_EQ(29, root[40358]);
    EXPECT_EQ(9, root[40361]);
    DWORD samples, name, id, time;
    std::memcpy(&samples, root + 40373, 4);
    std::memcpy(&name, root + 40377, 4);
    std::memcpy(&id, root + 40381, 4);
    std::memcpy(&time, root + 40393, 4);
    EXPECT_EQ(3u, samples);
    EXPECT_NE(0u, name);
    EXPECT_NE(0u, id);
    EXPECT_NE(0u, time);
}

TEST(MFERParser, AbsentOptionalFieldsLeaveTheirFlagsClear)
{
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, TwoChannelBody(false)));
    MFER_ROOT* root = parser.GetMFERRoot();
    EXPECT_EQ(0u, DWORD(root->dwPatientNamePresent));
    EXPECT_EQ(0u, DWORD(root->dwPatientIdPresent));
    EXPECT_EQ(0u, DWORD(root->dwTimePresent));
    EXPECT_STREQ("", root->szDescription);
    EXPECT_EQ(L"", std::wstring(parser.GetFilter().GetString()));
}

TEST(MFERParser, ByteOrderChangesValuesButNotTagsOrLengths)
{
    for (bool little : {false, true}) {
        CMFERParser parser;
        ASSERT_TRUE(Open(parser, TwoChannelBody(little))) << little;
        ASSERT_EQ(2, parser.GetLeadCount());
        EXPECT_EQ((std::vector<short>{1, -2, 300}), Lead(parser, 0));
        EXPECT_EQ((std::vector<short>{-400, 5, 32767}), Lead(parser, 1));
    }
}

TEST(MFERParser, InterleavedBlocksOfMixedTypesGoToTheirOwnLeads)
{
    // Three channels in blocks of two per sequence, four sequences: int16,
    // then int8 (type 5), then int16 again with an offset, in both byte
    // orders; every lead gets its samples back in order.
    for (bool little : {false, true}) {
        Bytes data;
        for (int s = 0; s < 4; ++s) {
            for (int i = 0; i < 2; ++i) {
                const short v = short(-1000 * s + 7 * i - 3);
                const BYTE hi = BYTE(unsigned(v) >> 8), lo = BYTE(v);
                if (little) data.insert(data.end(), {lo, hi});
                else data.insert(data.end(), {hi, lo});
            }
            data.insert(data.end(), {BYTE(int8_t(-s)), BYTE(int8_t(10 * s))});
            for (int i = 0; i < 2; ++i) {
                const short v = short(s * 100 + i);
                const BYTE hi = BYTE(unsigned(v) >> 8), lo = BYTE(v);
                if (little) data.insert(data.end(), {lo, hi});
                else data.insert(data.end(), {hi, lo});
            }
        }
        // The third channel's offset of +5 in the file's byte order.
        const Bytes offset = Def(0x0D, little ? Bytes{5, 0} : Bytes{0, 5});
        const Bytes eightBit = Def(0x0A, {5});
        // Channel attributes: tag 3F, the channel number, the length, then its definitions.
        const Bytes file = Cat({Def(0x01, {BYTE(little ? 1 : 0)}), Def(0x05, {3}), Def(0x04, {2}), Def(0x0A, {0}),
                                Bytes{0x3F, 0x01, BYTE(eightBit.size())}, eightBit,
                                Bytes{0x3F, 0x02, BYTE(offset.size())}, offset, Def(0x1E, data)});
        CMFERParser parser;
        ASSERT_TRUE(Open(parser, file)) << little;
        ASSERT_EQ(3, parser.GetLeadCount());
        EXPECT_EQ((std::vector<short>{-3, 4, -1003, -996, -2003, -1996, -3003, -2996}), Lead(parser, 0)) << little;
        EXPECT_EQ((std::vector<short>{0, 0, -1, 10, -2, 20, -3, 30}), Lead(parser, 1)) << little;
        EXPECT_EQ((std::vector<short>{5, 6, 105, 106, 205, 206, 305, 306}), Lead(parser, 2)) << little;
    }
}

TEST(MFERParser, LongBlocksOfSixteenBitSamplesReadInEitherByteOrder)
{
    // Two channels of 150 samples a block, two sequences: long runs go
    // through the grouped copy, the tail of each run sample by sample.
    for (bool little : {false, true}) {
        std::vector<short> expected[2];
        Bytes data;
        for (int s = 0; s < 2; ++s) {
            for (int c = 0; c < 2; ++c) {
                for (int i = 0; i < 150; ++i) {
                    const short v = short((s * 150 + i) * 211 * (c ? -1 : 1) - 20000 * c);
                    expected[c].push_back(v);
                    const BYTE hi = BYTE(unsigned(v) >> 8), lo = BYTE(v);
                    if (little) data.insert(data.end(), {lo, hi});
                    else data.insert(data.end(), {hi, lo});
                }
            }
        }
        const Bytes file = Cat({Def(0x01, {BYTE(little ? 1 : 0)}), Def(0x05, {2}), Def(0x04, {150}), Def(0x0A, {0}),
                                Def(0x1E, data)});
        CMFERParser parser;
        ASSERT_TRUE(Open(parser, file)) << little;
        EXPECT_EQ(expected[0], Lead(parser, 0)) << little;
        EXPECT_EQ(expected[1], Lead(parser, 1)) << little;
    }
}

TEST(MFERParser, LongLengthFormsAndMissingEndAreRead)
{
    Bytes data(400);
    for (size_t i = 0; i < data.size(); i += 2) data[i + 1] = BYTE(i / 2);
    // Waveform with a four-byte length, no end tag, no preamble.
    Bytes wave{0x1E, 0x84, 0, 0, 0x01, 0x90};
    wave.insert(wave.end(), data.begin(), data.end());
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, Cat({Def(0x04, {200}), wave})));
    std::vector<short> lead = Lead(parser, 0);
    ASSERT_EQ(200u, lead.size());
    EXPECT_EQ(199, lead[199]);
}

TEST(MFERParser, ZeroLengthResetsAndLaterDefinitionsWin)
{
    Bytes data{0, 0, 0, 7};   // one int32 sample would be 7; as int16 it is two samples 0 and 7
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, Cat({Def(0x0A, {2}), Def(0x0A, {}), Def(0x0C, {0, BYTE(-6), 1}),
                                  Def(0x0C, {0, BYTE(-7), 5}), Def(0x1E, data)})));
    EXPECT_EQ((std::vector<short>{0, 7}), Lead(parser, 0));
    EXPECT_DOUBLE_EQ(0.5, parser.GetMeasureSense());
}

TEST(MFERParser, ChannelAttributesReadLongChannelNumbersAndOpenLengths)
{
    Bytes ldnSecond = Def(0x09, {0, 62, 'a', 'V', 'R'});
    // Channel 1 written as two bytes (0x80 0x01), open length ended by 00 00.
    Bytes att1{0x3F, 0x80, 0x01, 0x80};
    att1.insert(att1.end(), ldnSecond.begin(), ldnSecond.end());
    att1.insert(att1.end(), {0, 0});
    Bytes att0 = Cat({Bytes{0x3F, 0x00, 4}, Def(0x09, {0, 3})});
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, Cat({att0, att1, TwoChannelBody(false)})));
    EXPECT_EQ(3, parser.GetLeadCode(0));
    EXPECT_EQ(L"V1", std::wstring(parser.GetLeadName(0).GetString()));
    EXPECT_EQ(62, parser.GetLeadCode(1));
    EXPECT_EQ(L"aVR", std::wstring(parser.GetLeadName(1).GetString()));
    EXPECT_EQ(0, parser.GetLeadCode(2));
    EXPECT_EQ(L"", std::wstring(parser.GetLeadName(-1).GetString()));
}

TEST(MFERParser, SeveralFramesFollowEachOther)
{
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, Cat({Def(0x0A, {5}), Def(0x1E, {1, 2}), Def(0x1E, {0xFF}), Bytes{0x80, 0}})));
    EXPECT_EQ((std::vector<short>{1, 2, -1}), Lead(parser, 0));
}

TEST(MFERParser, PerChannelResolutionIsBroughtToTheFirstChannels)
{
    Bytes att1 = Cat({Bytes{0x3F, 0x01, 5}, Def(0x0C, {0, BYTE(-6), 2})});
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, Cat({Def(0x05, {2}), att1, Def(0x1E, {0, 10, 0, 10})})));
    EXPECT_DOUBLE_EQ(1.0, parser.GetMeasureSense());
    EXPECT_EQ((std::vector<short>{10}), Lead(parser, 0));
    EXPECT_EQ((std::vector<short>{20}), Lead(parser, 1));
}

TEST(MFERParser, SamplingIsReadAsFrequencyOrInterval)
{
    struct Case { Bytes ivl; double hz; } cases[] = {
        {{0, 0, 0x03, 0xE8}, 1000.0},          // 1000 Hz
        {{1, BYTE(-3), 2}, 500.0},              // 2 ms
        {{0, 0, 0}, 0.0},                       // zero: unknown rate, not a division by zero
        {{2, 0, 1}, 0.0},                       // a distance: no time base
    };
    for (const Case& c : cases) {
        CMFERParser parser;
        ASSERT_TRUE(Open(parser, Cat({Def(0x0B, c.ivl), Def(0x1E, {0, 1})})));
        EXPECT_NEAR(c.hz, parser.GetSamplingFrequency(), 1e-9);
    }
}

TEST(MFERParser, DataTypesAreConvertedWithOffsetAndClamping)
{
    struct Case { BYTE type; Bytes data; Bytes offset; short expected; } cases[] = {
        {1, {0x80, 0x05}, {0xFF, 0xFF, 0x80, 0x00}, 5},     // uint16 with offset -32768
        {2, {0x00, 0x01, 0x00, 0x00}, {}, 32767},          // int32 beyond int16: clamped
        {3, {0x7F}, {0xFF, 0x80}, -1},                      // uint8 with offset -128
        {6, {0xFF, 0xFF, 0xFF, 0xFF}, {}, 32767},           // uint32
        {7, {0xC0, 0x20, 0x00, 0x00}, {}, -2},              // float32 -2.5: halves round to even
        {8, {0x40, 0x59, 0x00, 0, 0, 0, 0, 0}, {}, 100},    // float64 100.0
    };
    for (const Case& c : cases) {
        Bytes file = Def(0x0A, {c.type});
        if (!c.offset.empty()) file = Cat({file, Def(0x0D, c.offset)});
        file = Cat({file, Def(0x1E, c.data)});
        CMFERParser parser;
        ASSERT_TRUE(Open(parser, file)) << int(c.type);
        EXPECT_EQ((std::vector<short>{c.expected}), Lead(parser, 0)) << int(c.type);
    }
}

TEST(MFERParser, EightLeadsOfAStandardTwelveLeadRecordGiveTwelve)
{
    Bytes file = Cat({Def(0x08, {0, 1}), Def(0x05, {8})});
    for (BYTE c = 0; c < 8; ++c) file = Cat({file, Bytes{0x3F, c, 4}, Def(0x09, {0, BYTE(c + 1)})});
    Bytes data;
    for (int c = 0; c < 8; ++c) data.insert(data.end(), {0, BYTE(c == 0 ? 100 : c == 1 ? 31 : 9)});
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, Cat({file, Def(0x1E, data)})));
    ASSERT_EQ(12, parser.GetLeadCount());
    const wchar_t* names[] = {L"I", L"II", L"III", L"aVR", L"aVL", L"aVF", L"V1", L"V2", L"V3", L"V4", L"V5", L"V6"};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(names[i], std::wstring(parser.GetLeadName(i).GetString()));
    EXPECT_EQ(-69, Lead(parser, 2)[0]);              // III = II - I
    EXPECT_EQ(-65, Lead(parser, 3)[0]);              // aVR = -(I + II) / 2
    EXPECT_EQ((200 - 31) / 2, Lead(parser, 4)[0]);  // aVL = I - II / 2
    EXPECT_EQ((62 - 100) / 2, Lead(parser, 5)[0]);  // aVF = II - I / 2
    EXPECT_EQ(9, Lead(parser, 6)[0]);
}

// The file list opens files for their header only: the samples are converted
// on the first read of a lead, from bytes the reader kept (the caller's buffer
// may be gone by then).
TEST(MFERParser, SamplesAreConvertedOnlyWhenALeadIsRead)
{
    Bytes file = TwoChannelBody(false);
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, file));
    EXPECT_FALSE(parser.AreSamplesDecoded());
    ASSERT_NE(nullptr, parser.GetMFERRoot());
    const DWORD samples = parser.GetMFERRoot()->dwSampleCount;   // the root is packed: copy, do not bind
    EXPECT_EQ(3u, samples);
    EXPECT_EQ(2, parser.GetLeadCount());
    EXPECT_EQ(6, parser.GetWaveLength(0));
    EXPECT_FALSE(parser.AreSamplesDecoded());
    std::fill(file.begin(), file.end(), BYTE(0xEE));
    EXPECT_EQ((std::vector<short>{-400, 5, 32767}), Lead(parser, 1));
    EXPECT_TRUE(parser.AreSamplesDecoded());
    EXPECT_EQ((std::vector<short>{1, -2, 300}), Lead(parser, 0));
    ASSERT_TRUE(Open(parser, TwoChannelBody(true)));
    EXPECT_FALSE(parser.AreSamplesDecoded());
}

TEST(MFERParser, TextsDeclaredUtf8ReachTheRootInCodePage932)
{
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, Cat({Def(0x03, Text("UTF-8")), Def(0x81, Text("山田")), Def(0x11, Text("Hum 50Hz")),
                                  Def(0x1E, {0, 1})})));
    EXPECT_STREQ("\x8E\x52\x93\x63", parser.GetMFERRoot()->szPatientName);
    EXPECT_EQ(L"Hum 50Hz", std::wstring(parser.GetFilter().GetString()));
}

TEST(MFERParser, CallsOutsideTheFileFail)
{
    CMFERParser parser;
    EXPECT_EQ(nullptr, parser.GetMFERRoot());
    EXPECT_EQ(0, parser.GetWaveLength(0));
    short buffer[4];
    EXPECT_EQ(0, parser.GetWaveData(0, 0, buffer));
    EXPECT_EQ(0, parser.OpenMFER(nullptr));
    EXPECT_EQ(0, parser.OpenMFER(L"/nonexistent/file.mwf"));
    ASSERT_TRUE(Open(parser, TwoChannelBody(false)));
    EXPECT_EQ(0, parser.GetWaveLength(2));
    EXPECT_EQ(0, parser.GetWaveData(2, 0, buffer));
    EXPECT_EQ(0, parser.GetWaveData(0, 2, buffer));
    EXPECT_EQ(0, parser.GetWaveData(0, -1, buffer));
    EXPECT_EQ(0, parser.GetWaveData(0, 0, static_cast<BYTE*>(nullptr)));
}

TEST(MFERParser, OpensAFileByWidePath)
{
    testsupport::TempDir dir;
    Bytes file = TwoChannelBody(true);
    std::string path = dir.Write("a.mwf", std::string(file.begin(), file.end()));
    CMFERParser parser;
    EXPECT_EQ(1, parser.OpenMFER(std::wstring(path.begin(), path.end()).c_str()));
    EXPECT_EQ(2, parser.GetLeadCount());
}

// Malformed files, each refused with the reason and the byte where it went wrong.
TEST(MFERParser, MalformedFilesAreRefusedWithThePosition)
{
    struct Case { const char* what; Bytes bytes; MferStatus status; size_t position; } cases[] = {
        {"empty", {}, MferStatus::NoWaveform, 0},
        {"no waveform", Def(0x05, {1}), MferStatus::NoWaveform, 3},
        {"tag without length", {0x05}, MferStatus::Truncated, 0},
        {"length past the end", {0x01, 0x01, 0x00, 0x1E, 0x05, 1, 2}, MferStatus::Truncated, 3},
        {"five length bytes", {0x1E, 0x85, 0, 0, 0, 0, 2, 1, 2}, MferStatus::BadLength, 0},
        {"long length cut", {0x1E, 0x84, 0, 0}, MferStatus::Truncated, 0},
        {"zero channels", Cat({Def(0x01, {0}), Def(0x05, {0})}), MferStatus::BadValue, 3},
        {"huge channel count", Def(0x05, {0x7F, 0xFF, 0xFF, 0xFF}), MferStatus::TooManyChannels, 0},
        {"unknown data type", Def(0x0A, {42}), MferStatus::BadValue, 0},
        {"zero block", Def(0x04, {0}), MferStatus::BadValue, 0},
        {"zero resolution", Def(0x0C, {0, 0, 0}), MferStatus::BadValue, 0},
        {"channel number too big", {0x3F, 0x40, 0x00}, MferStatus::TooManyChannels, 0},
        {"channel number cut", {0x3F, 0x81}, MferStatus::Truncated, 0},
        {"open length without 00 00", {0x3F, 0x00, 0x80, 0x0A, 0x01, 0x00}, MferStatus::Truncated, 6},
        {"open-length waveform", {0x1E, 0x80, 1, 2, 0, 0}, MferStatus::BadLength, 0},
        {"nested attributes", {0x3F, 0x00, 0x03, 0x3F, 0x01, 0x00}, MferStatus::BadValue, 3},
        {"bad byte order", Def(0x01, {7}), MferStatus::BadValue, 0},
        {"compressed", Def(0x0E, {0, 1}), MferStatus::BadValue, 0},
    };
    for (const Case& c : cases) {
        CMFERParser parser;
        EXPECT_FALSE(Open(parser, c.bytes)) << c.what;
        EXPECT_EQ(c.status, parser.GetStatus()) << c.what;
        EXPECT_EQ(c.position, parser.GetErrorPosition()) << c.what;
        EXPECT_EQ(nullptr, parser.GetMFERRoot()) << c.what;
        EXPECT_EQ(0, parser.GetLeadCount()) << c.what;
    }
}

TEST(MFERParser, UnknownTagsAreSkippedAndHugeSequenceCountsStayWithinTheData)
{
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, Cat({Def(0x77, {1, 2, 3}), Def(0x06, {0xFF, 0xFF, 0xFF, 0xFF}), Def(0x1E, {0, 1, 0, 2})})));
    EXPECT_EQ(4, parser.GetWaveLength(0));
}

TEST(MFERParser, EveryTruncationIsReadWithinBoundsOrRefused)
{
    Bytes file = Cat({Def(0x40, Text("MFR Extra 3 leads ECG")), Bytes{0x3F, 0x01, 0x80}, Def(0x09, {0, 2}),
                      Bytes{0, 0}, Def(0x85, {7, 0xE8, 1, 2, 3, 4, 5}), TwoChannelBody(true), Bytes{0x80, 0}});
    for (size_t n = 0; n <= file.size(); ++n) {
        Bytes cut(file.begin(), file.begin() + long(n));
        CMFERParser parser;
        if (!Open(parser, cut)) {
            EXPECT_LE(parser.GetErrorPosition(), n);
            continue;
        }
        std::vector<BYTE> buffer(size_t(parser.GetWaveLength(0)) + 1);
        for (int lead = 0; lead < parser.GetLeadCount(); ++lead) EXPECT_EQ(1, parser.GetWaveData(0, lead, buffer.data()));
    }
}

}  // namespace
