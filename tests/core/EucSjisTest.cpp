#include "core/EucSjis.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// Converts in a heap buffer of exactly `capacity` bytes so that ASan sees any
// access past it.
std::string EucToSjisIn(const std::string& euc, size_t capacity, int* length = nullptr)
{
    std::unique_ptr<char[]> buffer(new char[capacity]);
    std::memcpy(buffer.get(), euc.data(), std::min(capacity, euc.size() + 1));
    const int n = EucToSjis(buffer.get(), capacity);
    if (length != nullptr)
        *length = n;
    EXPECT_EQ(static_cast<size_t>(n), std::strlen(buffer.get()));
    return std::string(buffer.get(), n);
}

std::string EucToSjisRoomy(const std::string& euc)
{
    return EucToSjisIn(euc, euc.size() * 2 + 1);
}

// Returns the whole text, blank padding included.
std::string SjisToEucExact(const std::string& sjis, int* length = nullptr)
{
    std::unique_ptr<char[]> buffer(new char[sjis.size() + 1]);
    std::memcpy(buffer.get(), sjis.c_str(), sjis.size() + 1);
    const int n = SjisToEuc(buffer.get());
    if (length != nullptr)
        *length = n;
    return std::string(buffer.get());
}

// The conversion written out plainly, into a separate buffer: the in-place
// version must give the same bytes for any input and capacity.
std::string ReferenceEucToSjis(const std::string& in, size_t capacity)
{
    std::string out;
    const size_t limit = capacity - 1;
    for (size_t i = 0; i < in.size();) {
        const unsigned char c = in[i];
        std::string unit;
        size_t used = 1;
        if (c > 0x80) {
            if (i + 1 >= in.size())
                break;
            const unsigned jis = (c * 256u + static_cast<unsigned char>(in[i + 1]) + 0x7F80u) & 0xFFFF;
            const int j1 = jis >> 8, j2 = jis & 0xFF;
            int s2 = (j1 % 2) ? j2 + 0x1F : j2 + 0x7D;
            s2 += s2 >= 0x7F;
            int s1 = ((j1 - 0x21) >> 1) + 0x81;
            s1 += (s1 > 0x9F) ? 0x40 : 0;
            unit = {static_cast<char>(s1), static_cast<char>(s2)};
            used = 2;
        } else if (c == '\n') {
            unit = "\r\n";
        } else if (c == '\r' && i + 1 < in.size() && in[i + 1] == '\n') {
            unit = "\r\n";
            used = 2;
        } else {
            unit = std::string(1, static_cast<char>(c));
        }
        if (out.size() + unit.size() > limit)
            break;
        out += unit;
        i += used;
    }
    return out;
}

std::string Iconv(const char* to, const char* from, const void* data, size_t bytes, bool* ok)
{
    *ok = false;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string();
    std::string out(bytes * 4 + 16, '\0');
    char* in = const_cast<char*>(static_cast<const char*>(data));
    size_t inLeft = bytes;
    char* outPtr = &out[0];
    size_t outLeft = out.size();
    const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || inLeft != 0)
        return std::string();
    out.resize(out.size() - outLeft);
    *ok = true;
    return out;
}

std::string FromWide(const char* charset, const std::wstring& text, bool* ok)
{
    return Iconv(charset, "WCHAR_T", text.data(), text.size() * sizeof(wchar_t), ok);
}

}  // namespace

// ---- the IBM extension table ---------------------------------------------------

TEST(IbmExtTableTest, EveryValidCodeButFifteenHasATarget)
{
    int nonZero = 0;
    for (int i = 0; i < kIbmExtCount; ++i) {
        const WORD target = g_wIbmExtToNec[i];
        if (target == 0)
            continue;
        ++nonZero;
        EXPECT_GE(target, 0xED40) << i;
        EXPECT_LE(target, 0xEEFC) << i;
    }
    EXPECT_EQ(388 - 15, nonZero);
}

// ---- EUC -> Shift-JIS -----------------------------------------------------------

TEST(EucToSjisTest, LineBreaksBecomeCrLf)
{
    int n = 0;
    EXPECT_EQ("A\r\nB", EucToSjisIn("A\nB", 16, &n));
    EXPECT_EQ(4, n);
    EXPECT_EQ("A\r\nB", EucToSjisRoomy("A\r\nB"));
    EXPECT_EQ("A\rB", EucToSjisRoomy("A\rB"));
    EXPECT_EQ("\r\n\r\n\r", EucToSjisRoomy("\n\r\n\r"));
    EXPECT_EQ("", EucToSjisRoomy(""));
}

TEST(EucToSjisTest, PairsFollowTheJisRule)
{
    EXPECT_EQ("\x82\xA0", EucToSjisRoomy("\xA4\xA2"));  // hiragana a
    EXPECT_EQ("\x81\x40", EucToSjisRoomy("\xA1\xA1"));  // ideographic space
    EXPECT_EQ("\xEA\xA4", EucToSjisRoomy("\xF4\xA6"));  // last JIS X 0208 kanji
    EXPECT_EQ("\x77\xAF", EucToSjisRoomy("\x8E\xB1"));  // single shift: converted like any pair
    EXPECT_EQ("\x80", EucToSjisRoomy("\x80"));  // 0x80 is no lead byte
    EXPECT_EQ("\x82\xAA", EucToSjisRoomy("\xA4\n"));  // a trail byte LF is no line break
}

TEST(EucToSjisTest, TrailingLeadByteIsDropped)
{
    int n = -1;
    EXPECT_EQ("A", EucToSjisIn("A\xA4", 3, &n));
    EXPECT_EQ(1, n);
    EXPECT_EQ("", EucToSjisIn("\xA4", 2));
}

TEST(EucToSjisTest, OutputStopsAtTheCapacityOnAWholeUnit)
{
    EXPECT_EQ("\r\n\r\n", EucToSjisIn("\n\n\n", 6));
    EXPECT_EQ("\r\n\r\n", EucToSjisIn("\n\n\n", 5));
    EXPECT_EQ("\r\n", EucToSjisIn("\n\n\n", 4));
    EXPECT_EQ("A\r\n", EucToSjisIn("A\n\xA4\xA2", 5));  // the pair does not fit whole
    EXPECT_EQ("A\r\n", EucToSjisIn("A\r\n\n", 4));  // neither does CR LF after it
    EXPECT_EQ("\x82\xA0\x82\xA0", EucToSjisIn("\xA4\xA2\xA4\xA2", 5));
}

TEST(EucToSjisTest, UnterminatedBufferIsNotReadPastItsCapacity)
{
    std::unique_ptr<char[]> buffer(new char[4]);
    std::memcpy(buffer.get(), "ABCD", 4);
    EXPECT_EQ(3, EucToSjis(buffer.get(), 4));
    EXPECT_STREQ("ABC", buffer.get());
}

TEST(EucToSjisTest, RejectsNullAndZeroCapacity)
{
    char text[] = "A\n";
    EXPECT_EQ(0, EucToSjis(nullptr, 10));
    EXPECT_EQ(0, EucToSjis(text, 0));
    EXPECT_STREQ("A\n", text);
    EXPECT_EQ(0, EucToSjis(text, 1));
    EXPECT_STREQ("", text);
}

TEST(EucToSjisTest, InPlaceMatchesAPlainConversionForAnyBytesAndCapacity)
{
    std::mt19937 random(20240611);
    const unsigned char alphabet[] = {'A', '\n', '\r', 0x80, 0x8E, 0xA4, 0xB0, 0xFE, 0xFF, 0x7F};
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 24, 'x');
        for (char& c : text)
            c = static_cast<char>(alphabet[random() % sizeof(alphabet)]);
        const size_t capacity = 1 + random() % (2 * text.size() + 2);
        const std::string expected = ReferenceEucToSjis(text.substr(0, capacity), capacity);
        ASSERT_EQ(expected, EucToSjisIn(text, capacity)) << "round " << round;
    }
}

// ---- Shift-JIS -> EUC -----------------------------------------------------------

TEST(SjisToEucTest, HalfWidthKanaAreDroppedAndTheLengthKept)
{
    int n = -1;
    EXPECT_EQ("A\xA4\xA2" "B   ", SjisToEucExact("A\xB1\x82\xA0\xDF" "B\xA1", &n));
    EXPECT_EQ(4, n);
}

TEST(SjisToEucTest, IbmExtensionGoesThroughTheNecCodes)
{
    // 0xFA5C -> 0xED40, which is JIS 0x7921.
    EXPECT_EQ("\xF9\xA1", SjisToEucExact("\xFA\x5C"));
    EXPECT_EQ("\x80\x80", SjisToEucExact("\xFA\x4A"));  // Roman numeral one: no NEC-selected code
    EXPECT_EQ("\x80\x80", SjisToEucExact("\xFC\x4C"));  // past the extension
    EXPECT_EQ("\x80\x80", SjisToEucExact("\xF0\x40"));  // user-defined area
}

TEST(SjisToEucTest, InvalidTrailGivesZeroCode)
{
    EXPECT_EQ("\x80\x80" "A", SjisToEucExact("\x82\x7F" "A"));
    EXPECT_EQ("\x80\x80" "A", SjisToEucExact("\x82\n" "A"));  // the LF is taken as the trail byte
}

TEST(SjisToEucTest, NonLeadBytesAreCopied)
{
    EXPECT_EQ("\x80\xA0\xFD\xFE\xFF\r\n", SjisToEucExact("\x80\xA0\xFD\xFE\xFF\r\n"));
}

TEST(SjisToEucTest, TrailingLeadByteIsDroppedWithoutReadingPastTheEnd)
{
    int n = -1;
    EXPECT_EQ("A ", SjisToEucExact("A\x82", &n));
    EXPECT_EQ(1, n);
    EXPECT_EQ(" ", SjisToEucExact("\xE0"));
}

TEST(SjisToEucTest, RejectsNullAndHandlesEmpty)
{
    EXPECT_EQ(0, SjisToEuc(nullptr));
    EXPECT_EQ("", SjisToEucExact(""));
}

TEST(SjisToEucTest, EveryJisX0208CodeRoundTrips)
{
    for (int lead = 0x81; lead <= 0xEF; ++lead) {
        if (lead > 0x9F && lead < 0xE0)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            const std::string sjis{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string euc = SjisToEucExact(sjis);
            ASSERT_EQ(2u, euc.size());
            const unsigned char e1 = euc[0], e2 = euc[1];
            ASSERT_TRUE(e1 >= 0xA1 && e1 <= 0xFE && e2 >= 0xA1 && e2 <= 0xFE)
                << std::hex << lead << " " << trail;
            ASSERT_EQ(sjis, EucToSjisRoomy(euc)) << std::hex << lead << " " << trail;
        }
    }
}

TEST(SjisToEucTest, AgreesWithIconvOnJapaneseText)
{
    const std::wstring text = L"心電図の解析結果\n患者　山田太郎（ヤマダ）ＡＢＣ１２３、Ｒ波。";
    bool okSjis = false, okEuc = false;
    const std::string sjis = FromWide("SHIFT_JIS", text, &okSjis);
    const std::string euc = FromWide("EUC-JP", text, &okEuc);
    if (!okSjis || !okEuc)
        GTEST_SKIP() << "iconv has no SHIFT_JIS/EUC-JP";
    EXPECT_EQ(euc, SjisToEucExact(sjis));
    std::string crlf;
    for (char c : sjis)
        crlf += (c == '\n') ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(crlf, EucToSjisRoomy(euc));
}

TEST(SjisToEucTest, AgreesWithIconvOnEveryDoubleByteCode)
{
    int compared = 0;
    for (int lead = 0x81; lead <= 0xEF; ++lead) {
        if (lead > 0x9F && lead < 0xE0)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const char sjis[] = {static_cast<char>(lead), static_cast<char>(trail)};
            bool ok = false;
            const std::string euc = Iconv("EUC-JP", "SHIFT_JIS", sjis, 2, &ok);
            if (!ok)
                continue;  // unassigned in JIS X 0208
            ++compared;
            ASSERT_EQ(euc, SjisToEucExact(std::string(sjis, 2))) << std::hex << lead << " " << trail;
        }
    }
    if (compared == 0)
        GTEST_SKIP() << "iconv has no SHIFT_JIS/EUC-JP";
    EXPECT_GT(compared, 6800);
}
