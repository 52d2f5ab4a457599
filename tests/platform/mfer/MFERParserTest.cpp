// The MFER reader on hand-built files: each test spells out the bytes it
// feeds, so the encoding rules it relies on are visible in the test.
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/mfer/MFERParser.h"
#include "tests/support/MemoryLimit.h"
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

// Big-endian 16-bit samples.
Bytes Be16(std::initializer_list<short> values)
{
    Bytes out;
    for (short v : values) out.insert(out.end(), {BYTE(unsigned(v) >> 8), BYTE(v)});
    return out;
}

// Channel attributes giving channels 0..7 the lead codes I, II, V1-V6.
Bytes IndependentLeadAttributes()
{
    Bytes out;
    for (BYTE c = 0; c < 8; ++c) out = Cat({out, Bytes{0x3F, c, 4}, Def(0x09, {0, BYTE(c + 1)})});
    return out;
}

// A group of averaged beats: waveform type 9 (dominant beat), the channel
// count, one block per channel, what `extra` defines, then the beats.
Bytes BeatGroup(BYTE channels, BYTE block, const Bytes& data, const Bytes& extra = {})
{
    return Def(0x67, Cat({Def(0x08, {0, 9}), Def(0x05, {channels}), Def(0x04, {block}), extra, Def(0x1E, data)}));
}

std::vector<short> Wave(CMFERParser& parser, int waveform, int lead)
{
    std::vector<short> samples(size_t(parser.GetWaveLength(waveform) / 2));
    if (!parser.GetWaveData(waveform, lead, samples.data())) return {};
    return samples;
}

std::vector<short> Lead(CMFERParser& parser, int lead)
{
    return Wave(parser, 0, lead);
}

std::vector<short> Beat(CMFERParser& parser, int lead)
{
    return Wave(parser, 2, lead);
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
    Bytes file = Cat({Def(0x08, {0, 1}), Def(0x05, {8}), IndependentLeadAttributes()});
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

// A lead is converted from the file's bytes into the caller's buffer: in any
// order, as often as asked, through a buffer of bytes at any address, and a
// lead that ends early is padded with the baseline whatever the buffer held.
TEST(MFERParser, EveryWayOfReadingALeadGivesTheSameSamples)
{
    // Two channels of two samples, then one channel of two: lead 1 ends early.
    const Bytes file = Cat({Def(0x05, {2}), Def(0x04, {2}), Def(0x1E, Be16({1, 2, 3, 4})), Def(0x05, {1}),
                            Def(0x1E, Be16({5, 6})), Bytes{0x80, 0}});
    const std::vector<short> expected[2] = {{1, 2, 5, 6}, {3, 4, 0, 0}};
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, file));
    ASSERT_EQ(8, parser.GetWaveLength(0));
    for (int round = 0; round < 2; ++round) {
        for (int lead : {1, 0}) {
            std::vector<short> shorts(4, short(0x7777));
            ASSERT_TRUE(parser.GetWaveData(0, lead, shorts.data()));
            EXPECT_EQ(expected[lead], shorts) << lead;
            Bytes bytes(9, 0xEE);
            ASSERT_TRUE(parser.GetWaveData(0, lead, bytes.data() + 1));   // an odd address
            std::vector<short> unaligned(4);
            std::memcpy(unaligned.data(), bytes.data() + 1, 8);
            EXPECT_EQ(expected[lead], unaligned) << lead;
        }
    }
    EXPECT_EQ(0, parser.GetWaveData(0, 2, std::vector<short>(4).data()));
}

// A block length is held to the bytes the file has after it. Reading a lead
// goes over the file again, up to the end of its last waveform: a block
// defined just before that end, longer than the bytes up to it but not than
// the file, was accepted by the open and must not fail the read.
TEST(MFERParser, ABlockLongerThanTheBytesUpToTheLastWaveformStillReads)
{
    const Bytes file = Cat({Def(0x05, {2}), Def(0x04, {2}), Def(0x1E, Be16({1, 2, 3, 4})), Def(0x04, {100}),
                            Def(0x1E, {}), Bytes{0x80, 0}, Bytes(200, 0)});
    const std::vector<short> expected[2] = {{1, 2}, {3, 4}};
    for (int lead : {0, 1}) {
        CMFERParser parser;
        ASSERT_TRUE(Open(parser, file));
        ASSERT_EQ(4, parser.GetWaveLength(0));
        EXPECT_EQ(expected[lead], Lead(parser, lead)) << lead;
    }
}

// Reading a lead needs no memory the size of the record beyond the
// caller's buffer: a machine short of memory still shows a long record
// that opened.
TEST(MFERParser, ALeadIsReadIntoTheCallersBufferWithoutMemoryOfItsOwn)
{
    if (!testsupport::MemoryLimitsCanBeTested()) GTEST_SKIP() << "the sanitizer needs more address space than the limit leaves";
    const size_t samples = size_t(4) << 20;   // two leads of 8 MB each
    Bytes data(samples * 4);
    for (size_t i = 0; i < samples; ++i) {
        data[4 * i + 1] = BYTE(i);
        data[4 * i + 3] = BYTE(i * 3);
    }
    const Bytes file = Cat({Def(0x01, {1}), Def(0x05, {2}), Def(0x04, {1}),
                            Bytes{0x1E, 0x84, BYTE(data.size() >> 24), BYTE(data.size() >> 16), BYTE(data.size() >> 8),
                                  BYTE(data.size())}, data});
    const int status = testsupport::RunInChild([&]() {
        CMFERParser parser;
        if (!Open(parser, file)) return 2;
        std::vector<short> first(samples), second(samples);
        testsupport::ShortOfMemory limit(4);
        if (!limit.Limited()) return 4;
        if (!parser.GetWaveData(0, 0, first.data()) || !parser.GetWaveData(0, 1, second.data())) return 3;
        return first[samples - 1] == short(BYTE(samples - 1) << 8) && second[7] == short(21 << 8) ? 0 : 5;
    });
    EXPECT_EQ(0, status) << "2: not opened, 3: a lead not read, 4: no limit, 5: wrong samples";
}

// The reader keeps the file it opened (mapped, not copied): another program
// may cut it short or write it anew before a lead is read.
class MFERParserFileChanged : public ::testing::Test {
protected:
    std::string WriteFile(const Bytes& bytes)
    {
        return m_dir.Write("record.mwf", std::string(bytes.begin(), bytes.end()));
    }
    static bool OpenPath(CMFERParser& parser, const std::string& path)
    {
        const std::wstring wide(path.begin(), path.end());
        return parser.OpenMFER(wide.c_str()) != 0;
    }

    testsupport::TempDir m_dir;
};

TEST_F(MFERParserFileChanged, AFileCutShortAfterOpeningFailsTheReadNotTheProgram)
{
    // Long enough that the lead's samples lie on pages past the cut.
    const Bytes data(32000, 0x01);
    const std::string path = WriteFile(Cat({Def(0x1E, data)}));
    CMFERParser parser;
    ASSERT_TRUE(OpenPath(parser, path));
    ASSERT_EQ(0, ::truncate(path.c_str(), 16));
    std::vector<short> lead(data.size() / 2);
    EXPECT_EQ(0, parser.GetWaveData(0, 0, lead.data()));
    EXPECT_EQ(MferStatus::Ok, parser.GetStatus());
}

TEST_F(MFERParserFileChanged, AFileWrittenAnewIsHeldToTheLengthsItHadWhenOpened)
{
    // Two leads of three samples, then in as many bytes one lead of six:
    // the buffer the caller sized by the open takes three.
    const std::string path = WriteFile(TwoChannelBody(false));
    CMFERParser parser;
    ASSERT_TRUE(OpenPath(parser, path));
    ASSERT_EQ(6, parser.GetWaveLength(0));
    Bytes longer = TwoChannelBody(false);
    const Bytes oneChannel = Cat({Def(0x05, {1}), Def(0x04, {6})});
    const Bytes twoChannels = Cat({Def(0x05, {2}), Def(0x04, {3})});
    const auto at = std::search(longer.begin(), longer.end(), twoChannels.begin(), twoChannels.end());
    ASSERT_NE(longer.end(), at);
    std::copy(oneChannel.begin(), oneChannel.end(), at);
    WriteFile(longer);
    std::vector<short> lead(4, short(0x5555));
    EXPECT_EQ(0, parser.GetWaveData(0, 0, lead.data()));
    EXPECT_EQ(short(0x5555), lead[3]) << "written past the lead's length";
}

TEST(MFERParser, TextsDeclaredUtf8ReachTheRootInCodePage932)
{
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, Cat({Def(0x03, Text("UTF-8")), Def(0x81, Text("山田")), Def(0x11, Text("Hum 50Hz")),
                                  Def(0x1E, {0, 1})})));
    EXPECT_STREQ("\x8E\x52\x93\x63", parser.GetMFERRoot()->szPatientName);
    EXPECT_EQ(L"Hum 50Hz", std::wstring(parser.GetFilter().GetString()));
}

TEST(MFERParser, ShiftJisTextsReadAsTextWithOrWithoutJapanese)
{
    // Plain ASCII, backslash and tilde included, is the same text in code page 932.
    CMFERParser ascii;
    ASSERT_TRUE(Open(ascii, Cat({Def(0x11, Text("Hum\\~60Hz")), Def(0x1E, {0, 1})})));
    EXPECT_EQ(L"Hum\\~60Hz", std::wstring(ascii.GetFilter().GetString()));
    // "ハム 50Hz" in Shift-JIS.
    CMFERParser japanese;
    ASSERT_TRUE(Open(japanese, Cat({Def(0x11, Text("\x83\x6E\x83\x80 50Hz")), Def(0x1E, {0, 1})})));
    EXPECT_EQ(L"\u30CF\u30E0 50Hz", std::wstring(japanese.GetFilter().GetString()));
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

TEST(MFERParser, ACutRecordingIsRefusedNotReadAsWhole)
{
    // Two channels, blocks of two int16 samples: a sequence is 8 bytes.
    const Bytes head = Cat({Def(0x05, {2}), Def(0x04, {2}), Def(0x0A, {0})});
    const Bytes twoBlocks = Be16({1, 2, 10, 20, 3, 4, 30, 40});
    const Bytes whole = Cat({head, Def(0x1E, twoBlocks), Bytes{0x80, 0}});
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, whole));
    EXPECT_EQ((std::vector<short>{1, 2, 3, 4}), Lead(parser, 0));
    EXPECT_EQ((std::vector<short>{10, 20, 30, 40}), Lead(parser, 1));

    const size_t wave = head.size();
    struct Case {
        const char* what;
        Bytes file;
        size_t position;
    } cases[] = {
        // The last block one byte short (its definition's length says so):
        // channel 0 would have its samples and channel 1 not.
        {"short last block", Cat({head, Def(0x1E, Bytes(twoBlocks.begin(), twoBlocks.end() - 1)), Bytes{0x80, 0}}), wave},
        {"last block with channel 0 only", Cat({head, Def(0x1E, Bytes(twoBlocks.begin(), twoBlocks.begin() + 12))}), wave},
        // The file one byte short: the end lost its length byte.
        {"end without its length", Bytes(whole.begin(), whole.end() - 1), whole.size() - 2},
        // Cut inside the waveform: its length runs past the file's end.
        {"cut inside the waveform", Bytes(whole.begin(), whole.end() - 3), wave},
    };
    for (const Case& c : cases) {
        CMFERParser cut;
        EXPECT_FALSE(Open(cut, c.file)) << c.what;
        EXPECT_EQ(MferStatus::Truncated, cut.GetStatus()) << c.what;
        EXPECT_EQ(c.position, cut.GetErrorPosition()) << c.what;
    }
    // A sequences definition that stops before the broken block reads the
    // whole ones, and a file without an end is read to its last byte.
    CMFERParser limited;
    ASSERT_TRUE(Open(limited, Cat({head, Def(0x06, {1}), Def(0x1E, Bytes(twoBlocks.begin(), twoBlocks.end() - 1))})));
    EXPECT_EQ((std::vector<short>{1, 2}), Lead(limited, 0));
    CMFERParser endless;
    ASSERT_TRUE(Open(endless, Bytes(whole.begin(), whole.end() - 2)));
    EXPECT_EQ((std::vector<short>{10, 20, 30, 40}), Lead(endless, 1));
}

// ---- averaged beats: a group of waveform type 9 --------------------------------

TEST(MFERParser, AveragedBeatsOfADominantBeatGroupAreWaveformTwo)
{
    Bytes file = Cat({TwoChannelBody(false), BeatGroup(2, 4, Be16({10, 20, 30, 40, -1, -2, -3, -4}))});
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, file));
    EXPECT_EQ(8, parser.GetWaveLength(2));
    EXPECT_EQ((std::vector<short>{10, 20, 30, 40}), Beat(parser, 0));
    EXPECT_EQ((std::vector<short>{-1, -2, -3, -4}), Beat(parser, 1));
    short buffer[4];
    EXPECT_EQ(0, parser.GetWaveData(2, 2, buffer));
    EXPECT_EQ(0, parser.GetWaveData(2, -1, buffer));
    EXPECT_EQ(0, parser.GetWaveData(1, 0, buffer));
    // The beats are read with the file; the recording still waits for its first read.
    EXPECT_FALSE(parser.AreSamplesDecoded());
    EXPECT_EQ(6, parser.GetWaveLength(0));
    EXPECT_EQ((std::vector<short>{-400, 5, 32767}), Lead(parser, 1));
}

TEST(MFERParser, WhatAGroupDefinesEndsWithIt)
{
    // The recording: long-term type, two channels of three-sample blocks; the
    // group defines one channel of two-sample blocks and its own type; the
    // waveform after the group is read with the file's definitions again.
    Bytes group = Def(0x67, Cat({Def(0x08, {0, 9, 'A', 'v', 'g'}), Def(0x01, {1}), Def(0x05, {1}), Def(0x04, {2}),
                                 Def(0x1E, {7, 0, 8, 0})}));
    Bytes file = Cat({Def(0x08, {0, 2, 'L', 'T'}), TwoChannelBody(false), group,
                      Def(0x1E, Be16({11, 12, 13, 21, 22, 23}))});
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, file));
    EXPECT_EQ(2, parser.GetWaveformType());
    EXPECT_STREQ("LT", parser.GetMFERRoot()->szDescription);
    EXPECT_EQ((std::vector<short>{7, 8}), Beat(parser, 0));
    EXPECT_EQ((std::vector<short>{1, -2, 300, 11, 12, 13}), Lead(parser, 0));
    EXPECT_EQ((std::vector<short>{-400, 5, 32767, 21, 22, 23}), Lead(parser, 1));
}

TEST(MFERParser, BeatsTakeTheFilesByteOrderTypeAndResolution)
{
    // Little-endian int8 at 2 uV; the beat's channel says 4 uV, so its values
    // are brought to the file's 2 uV.
    Bytes attribute = Cat({Bytes{0x3F, 0x00, 5}, Def(0x0C, {0, BYTE(-6), 4})});
    Bytes group = Def(0x67, Cat({Def(0x08, {9, 0}), Def(0x04, {2}), attribute, Def(0x1E, {3, 0xFF})}));
    Bytes file = Cat({Def(0x01, {1}), Def(0x0A, {5}), Def(0x0C, {0, BYTE(-6), 2}), Def(0x1E, {5}), group});
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, file));
    EXPECT_DOUBLE_EQ(2.0, parser.GetMeasureSense());
    EXPECT_EQ((std::vector<short>{6, -2}), Beat(parser, 0));
    EXPECT_EQ((std::vector<short>{5}), Lead(parser, 0));
}

TEST(MFERParser, BeatsOfTheEightIndependentLeadsGiveTwelve)
{
    Bytes record;
    for (int c = 0; c < 8; ++c) record.insert(record.end(), {0, 1});
    Bytes beats = Be16({100, 31, 9, 9, 9, 9, 9, 9});
    Bytes file = Cat({Def(0x08, {0, 1}), Def(0x05, {8}), IndependentLeadAttributes(), Def(0x1E, record),
                      BeatGroup(8, 1, beats, IndependentLeadAttributes())});
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, file));
    ASSERT_EQ(12, parser.GetLeadCount());
    EXPECT_EQ(2, parser.GetWaveLength(2));
    EXPECT_EQ((std::vector<short>{100}), Beat(parser, 0));
    EXPECT_EQ((std::vector<short>{-69}), Beat(parser, 2));   // III = II - I
    EXPECT_EQ((std::vector<short>{-65}), Beat(parser, 3));   // aVR
    EXPECT_EQ((std::vector<short>{9}), Beat(parser, 11));
}

TEST(MFERParser, BeatGroupsFollowEachOtherAndShortBeatsEndOnTheBaseline)
{
    // Two channels of two samples, then channel 0 alone goes on for three more.
    Bytes file = Cat({TwoChannelBody(false), BeatGroup(2, 2, Be16({1, 2, 3, 4})), BeatGroup(1, 3, Be16({5, 6, 7}))});
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, file));
    EXPECT_EQ(10, parser.GetWaveLength(2));
    EXPECT_EQ((std::vector<short>{1, 2, 5, 6, 7}), Beat(parser, 0));
    EXPECT_EQ((std::vector<short>{3, 4, 0, 0, 0}), Beat(parser, 1));
}

TEST(MFERParser, OpenLengthGroupEndsAtTwoZeroBytes)
{
    Bytes content = Cat({Def(0x08, {0, 9}), Def(0x04, {2}), Def(0x1E, Be16({0, 0, 4, 0}))});
    Bytes file = Cat({TwoChannelBody(false), Bytes{0x67, 0x80}, content, Bytes{0, 0}, Def(0x1E, Be16({1, 2, 3, 4, 5, 6})),
                      Bytes{0x80, 0}});
    CMFERParser parser;
    ASSERT_TRUE(Open(parser, file));
    EXPECT_EQ((std::vector<short>{0, 0}), Beat(parser, 0));
    EXPECT_EQ((std::vector<short>{4, 0}), Beat(parser, 1));
    EXPECT_EQ((std::vector<short>{1, -2, 300, 1, 2, 3}), Lead(parser, 0));
}

TEST(MFERParser, DamagedBeatGroupsAreRefusedWithThePosition)
{
    const Bytes body = TwoChannelBody(false);
    const size_t group = body.size();
    // Where the waveform of BeatGroup stands: the group's tag and length,
    // then the type (4 bytes), channels and block (3 each) and `extra`.
    auto wave = [group](size_t extra) { return group + 2 + 10 + extra; };
    const Bytes eight = Be16({1, 2, 3, 4, 5, 6, 7, 8});
    struct Case { const char* what; Bytes bytes; MferStatus status; size_t position; } cases[] = {
        {"beat longer than its data", Cat({body, BeatGroup(2, 4, Be16({1, 2, 3}))}), MferStatus::BlockTooLong, wave(0)},
        {"data ending inside a beat", Cat({body, BeatGroup(2, 4, Cat({eight, Be16({9})}))}), MferStatus::Truncated,
         wave(0)},
        {"fewer beats than declared", Cat({body, BeatGroup(2, 4, eight, Def(0x06, {2}))}), MferStatus::Truncated, wave(3)},
        {"no beat declared", Cat({body, BeatGroup(2, 4, eight, Def(0x06, {0}))}), MferStatus::BadValue, wave(3)},
        {"block past the file's end", Cat({body, Def(0x67, Def(0x04, {0x7F, 0xFF, 0xFF, 0xFF}))}),
         MferStatus::BlockTooLong, group + 2},
        {"group past the file's end", Cat({body, Bytes{0x67, 0x10, 0x08, 0x02, 0, 9}}), MferStatus::Truncated, group},
        {"open group without 00 00", Cat({body, Bytes{0x67, 0x80, 0x08, 0x02, 0, 9}}), MferStatus::Truncated, group + 6},
        {"group in a group", Cat({body, Def(0x67, Def(0x67, {}))}), MferStatus::BadValue, group + 2},
        {"end inside a group", Cat({body, Def(0x67, {0x80, 0})}), MferStatus::BadValue, group + 2},
        {"group in a channel attribute", Cat({body, Bytes{0x3F, 0x00, 0x02, 0x67, 0x00}}), MferStatus::BadValue,
         group + 3},
        {"open group in a channel attribute", Cat({body, Bytes{0x3F, 0x00, 0x80, 0x67, 0x80, 0, 0, 0, 0}}),
         MferStatus::BadLength, group + 3},
    };
    for (const Case& c : cases) {
        CMFERParser parser;
        EXPECT_FALSE(Open(parser, c.bytes)) << c.what;
        EXPECT_EQ(c.status, parser.GetStatus()) << c.what;
        EXPECT_EQ(c.position, parser.GetErrorPosition()) << c.what;
        EXPECT_EQ(nullptr, parser.GetMFERRoot()) << c.what;
        EXPECT_EQ(0, parser.GetWaveLength(2)) << c.what;
    }
}

TEST(MFERParser, EveryTruncationOfABeatGroupIsReadWhole)
{
    Bytes file = Cat({TwoChannelBody(true), BeatGroup(2, 3, Be16({1, 2, 3, 4, 5, 6}), Def(0x01, {0})), Bytes{0x80, 0}});
    for (size_t n = 0; n <= file.size(); ++n) {
        Bytes cut(file.begin(), file.begin() + long(n));
        CMFERParser parser;
        if (!Open(parser, cut)) {
            EXPECT_LE(parser.GetErrorPosition(), n);
            continue;
        }
        // Either the whole group was read, or none of it was there.
        if (parser.GetWaveLength(2) == 0) continue;
        EXPECT_EQ((std::vector<short>{1, 2, 3}), Beat(parser, 0)) << n;
        EXPECT_EQ((std::vector<short>{4, 5, 6}), Beat(parser, 1)) << n;
        EXPECT_EQ((std::vector<short>{1, -2, 300}), Lead(parser, 0)) << n;
    }
}

}  // namespace
