// The LIPS IV number encoding: the low 4 bits on a sign base ('0' for
// v >= 0, blank below), the bits above in 6-bit groups from '@', most
// significant group first.
#include <gtest/gtest.h>

#include <climits>
#include <string>

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

TEST(LIPSText, KatakanaGoesOutInCodePage932)
{
    // Half-width katakana are single bytes of code page 932 (0xB1 for ｱ), not
    // the low byte of their Unicode value.
    const std::string bytes = Bytes(CLIPSCommand::Text(0, 0, 0, CString(L"ｱ")));
    EXPECT_NE(std::string::npos, bytes.find(std::string("\x0f\xb1\x1b[&}")));
}

}  // namespace
