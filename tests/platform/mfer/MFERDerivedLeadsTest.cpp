// A standard 12-lead MFER file that carries only its eight independent leads,
// with leads I and II of different lengths: the four limb leads derived from
// them run to the longer of the two, the shorter one counted at its baseline
// past its end, as every lead that ends early is padded.
#include <gtest/gtest.h>

#include <vector>

#include "platform/mfer/MFERParser.h"

namespace {

using Bytes = std::vector<BYTE>;

Bytes Def(BYTE tag, const Bytes& value)
{
    Bytes out{tag, BYTE(value.size())};
    out.insert(out.end(), value.begin(), value.end());
    return out;
}

void Append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

// Channels 0..7 with the lead codes I, II, V1-V6; channels 0 and 1 with
// blocks of their own length, the others one sample a block.
Bytes EightLeads(const std::vector<short>& one, const std::vector<short>& two)
{
    Bytes file;
    Append(file, Def(0x08, {0, 1}));   // standard 12-lead waveform
    Append(file, Def(0x05, {8}));
    for (BYTE c = 0; c < 8; ++c) {
        Bytes attributes = Def(0x09, {0, BYTE(c + 1)});
        if (c < 2) Append(attributes, Def(0x04, {BYTE((c == 0 ? one : two).size())}));
        Append(file, Bytes{0x3F, c, BYTE(attributes.size())});
        Append(file, attributes);
    }
    Bytes data;
    auto put = [&data](short v) { Append(data, {BYTE(unsigned(v) >> 8), BYTE(v)}); };
    for (short v : one) put(v);
    for (short v : two) put(v);
    for (int c = 2; c < 8; ++c) put(short(9 * c));
    Append(file, Def(0x1E, data));
    return file;
}

std::vector<short> Lead(CMFERParser& parser, int lead)
{
    std::vector<short> samples(size_t(parser.GetWaveLength(0) / 2));
    if (!parser.GetWaveData(0, lead, reinterpret_cast<BYTE*>(samples.data()))) return {};
    return samples;
}

struct Limb {
    std::vector<short> iii, avr, avl, avf;
};

// Einthoven's and Goldberger's relations, I and II taken as 0 past their ends.
Limb Expected(const std::vector<short>& one, const std::vector<short>& two, size_t n)
{
    Limb limb;
    for (size_t i = 0; i < n; ++i) {
        const int a = i < one.size() ? one[i] : 0;
        const int b = i < two.size() ? two[i] : 0;
        limb.iii.push_back(short(b - a));
        limb.avr.push_back(short(-(a + b) / 2));
        limb.avl.push_back(short((2 * a - b) / 2));
        limb.avf.push_back(short((2 * b - a) / 2));
    }
    return limb;
}

}  // namespace

TEST(MFERDerivedLeads, LimbLeadsFromIAndIIOfDifferentLengthsRunToTheLongerOne)
{
    struct Case {
        const char* what;
        std::vector<short> one, two;
    } cases[] = {
        {"lead II shorter", {100, 200, 300, 400}, {31, 62}},
        {"lead I shorter", {100, 200}, {31, 62, 93, 124}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes file = EightLeads(c.one, c.two);
        CMFERParser parser;
        ASSERT_NE(0, parser.OpenMFERFromMemory(file.data(), file.size()));
        ASSERT_EQ(12, parser.GetLeadCount());
        ASSERT_EQ(4 * 2, parser.GetWaveLength(0));
        const Limb limb = Expected(c.one, c.two, 4);
        EXPECT_EQ(limb.iii, Lead(parser, 2));
        EXPECT_EQ(limb.avr, Lead(parser, 3));
        EXPECT_EQ(limb.avl, Lead(parser, 4));
        EXPECT_EQ(limb.avf, Lead(parser, 5));
        // The recorded leads keep their own samples, the shorter one padded.
        std::vector<short> one = c.one, two = c.two;
        one.resize(4);
        two.resize(4);
        EXPECT_EQ(one, Lead(parser, 0));
        EXPECT_EQ(two, Lead(parser, 1));
        EXPECT_EQ((std::vector<short>{9 * 2, 0, 0, 0}), Lead(parser, 6));
    }
}
