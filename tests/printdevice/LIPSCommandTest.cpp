// The LIPS IV number encoding: the low 4 bits on a sign base ('0' for
// v >= 0, blank below), the bits above in 6-bit groups from '@', most
// significant group first.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/base/CodePage.h"
#include "printdevice/LIPSCommand.h"

namespace {

std::string Bytes(const CString& text)
{
    std::string bytes;
    for (int i = 0; i < text.GetLength(); ++i) bytes.push_back((char)(unsigned char)text[i]);
    return bytes;
}

struct NumberCase {
    int value;
    const char* encoded;
};

// value, its encoding worked out by hand from the rule above
const NumberCase kNumbers[] = {
    {0, "0"},           {5, "5"},         {15, "?"},       {-5, "%"},        {-1, "!"},
    {-12, ","},         {-15, "/"},       {16, "A0"},      {-16, "A "},      {600, "e8"},
    {1023, "\x7f?"},    {1024, "A@0"},    {4840, "Dn8"},   {6894, "Fn>"},    {60000, "zf0"},
    {INT_MIN, "H@@@@ "}, {INT_MAX, "G\x7f\x7f\x7f\x7f?"},
};

TEST(LIPSNumber, EncodesEveryRangeOfMagnitudeAndSign)
{
    for (const NumberCase& c : kNumbers) {
        EXPECT_EQ(std::string(c.encoded), Bytes(CLIPSCommand::Number(c.value))) << "value " << c.value;
    }
}

TEST(LIPSNumber, EveryCharacterStaysInItsRange)
{
    // The leading groups lie in 0x40-0x7F, the last character in 0x20-0x3F.
    for (int v = -5000; v <= 5000; v += 7) {
        const std::string bytes = Bytes(CLIPSCommand::Number(v));
        ASSERT_FALSE(bytes.empty());
        for (size_t i = 0; i + 1 < bytes.size(); ++i) {
            EXPECT_GE((unsigned char)bytes[i], 0x40);
            EXPECT_LE((unsigned char)bytes[i], 0x7F);
        }
        const unsigned char last = (unsigned char)bytes.back();
        EXPECT_EQ(v < 0 ? 0x20 : 0x30, last & 0xF0) << v;
    }
}

// Reads back the numbers of a command with the encoding rule above.
std::vector<long long> Numbers(const std::string& bytes, size_t from)
{
    std::vector<long long> numbers;
    unsigned long long magnitude = 0;
    for (size_t i = from; i < bytes.size(); ++i) {
        const unsigned char c = (unsigned char)bytes[i];
        if (c >= 0x40 && c <= 0x7F) {
            magnitude = (magnitude << 6) | (c & 0x3F);
        } else if (c >= 0x20 && c <= 0x3F) {
            magnitude = (magnitude << 4) | (c & 0x0F);
            numbers.push_back(c < 0x30 ? -(long long)magnitude : (long long)magnitude);
            magnitude = 0;
        } else {
            break;
        }
    }
    return numbers;
}

TEST(LIPSGeometry, CoordinatesAtTheEndsOfTheRangeKeepTheirDirectionAndCentre)
{
    // A step or a centre worked out in int would wrap and send the pen the other way.
    EXPECT_EQ((std::vector<long long>{INT_MIN, 0, 4294967295LL, -5}),
              Numbers(Bytes(CLIPSCommand::Line(INT_MIN, 0, INT_MAX, -5)), 1));
    EXPECT_EQ((std::vector<long long>{0, 0, 2147483647LL, 2, 0}),
              Numbers(Bytes(CLIPSCommand::Ellipse(INT_MIN, -3, INT_MAX, 2)), 2));
    const std::string text = Bytes(CLIPSCommand::Text(INT_MIN + 10, INT_MAX, TA_RIGHT | TA_TOP, CString(L"AB")));
    EXPECT_EQ((std::vector<long long>{(long long)INT_MIN + 10 - 84, (long long)INT_MAX + 84}), Numbers(text, 2));
}

TEST(LIPSText, KatakanaGoesOutInCodePage932)
{
    // Half-width katakana are single bytes of code page 932 (0xB1 for ｱ), not
    // the low byte of their Unicode value.
    const std::string bytes = Bytes(CLIPSCommand::Text(0, 0, 0, CString(L"ｱ")));
    EXPECT_NE(std::string::npos, bytes.find(std::string("\x0f\xb1\x1b[&}")));
}

}  // namespace
