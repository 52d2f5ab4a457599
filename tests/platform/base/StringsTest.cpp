#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <string>

#include "platform/base/CodePage.h"
#include "platform/base/Object.h"
#include "platform/base/Strings.h"

namespace {

CString Fmt(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    CString s;
    s.FormatV(format, args);
    va_end(args);
    return s;
}

}  // namespace

// %s and %c take wide arguments in the wide string, %S/%hs/%hc narrow ones:
// the system's format strings are written for that convention.
TEST(CStringFormat, StringsAndCharactersFollowTheWindowsWidthConventions)
{
    EXPECT_EQ(Fmt(L"%s|%S|%hs|%ls", L"wide", "narrow", "h", L"l"), L"wide|narrow|h|l");
    EXPECT_EQ(Fmt(L"%c%C%hc%lc", L'ア', 'b', 'c', L'd'), L"アbcd");
    EXPECT_EQ(Fmt(L"ECGファイル%sを開けません。", L"C:\\a\\b.ecg"), L"ECGファイルC:\\a\\b.ecgを開けません。");
    // Narrow arguments are Shift-JIS on this system.
    EXPECT_EQ(Fmt(L"%S", "\x83\x65\x83\x58\x83\x67"), L"テスト");
}

TEST(CStringFormat, NumbersTakeWidthsPrecisionsAndLengthModifiers)
{
    EXPECT_EQ(Fmt(L"%04d/%02d/%02d %02d:%02d:%02d", 2024, 3, 5, 14, 7, 9), L"2024/03/05 14:07:09");
    EXPECT_EQ(Fmt(L"%5.3f|%-6d|%+d|%x|%X|%o", 1.23456, 42, 7, 255, 255, 8), L"1.235|42    |+7|ff|FF|10");
    EXPECT_EQ(Fmt(L"%*d|%-*d|%.*f", 4, 7, 3, 1, 2, 3.14159), L"   7|1  |3.14");
    EXPECT_EQ(Fmt(L"%I64d|%I64u|%lld|%hd|%hhu", (long long)-5000000000LL, 6000000000ULL, 7LL, 70000, 300),
              L"-5000000000|6000000000|7|4464|44");
    EXPECT_EQ(Fmt(L"%5s|%-5s|%.2s", L"ab", L"ab", L"abcdef"), L"   ab|ab   |ab");
    EXPECT_EQ(Fmt(L"100%%"), L"100%");
    EXPECT_EQ(Fmt(L"%s", (const wchar_t*)nullptr), L"(null)");
}

TEST(CStringFormat, AppendFormatKeepsText)
{
    CString s(L"a");
    s.AppendFormat(L"%d", 1);
    s.AppendFormat(L"-%s", L"b");
    EXPECT_EQ(s, L"a1-b");
}

// A conversion that takes an argument but prints nothing must still take
// it, or every later argument is read one place off.
TEST(CStringFormat, SkippedAndUnknownConversionsKeepTheArgumentsInStep)
{
    int count = 0;
    EXPECT_EQ(Fmt(L"%d%n|%d", 1, &count, 2), L"1|2");
    EXPECT_EQ(count, 0) << "%n never writes through the caller's pointer";
    EXPECT_EQ(Fmt(L"%y|%d", 5), L"%y|5");
    EXPECT_EQ(Fmt(L"%*.*f|%s", 7, 2, 3.14159, L"next"), L"   3.14|next");
    EXPECT_EQ(Fmt(L"%c%s%d", L'x', L"y", 3), L"xy3");
}

TEST(CStringFormat, NegativeStarWidthAlignsLeftAndNegativeStarPrecisionIsNone)
{
    EXPECT_EQ(Fmt(L"[%*d]", -4, 7), L"[7   ]");
    EXPECT_EQ(Fmt(L"[%*s]", -4, L"ab"), L"[ab  ]");
    EXPECT_EQ(Fmt(L"[%.*s]", -1, L"abcdef"), L"[abcdef]");
    EXPECT_EQ(Fmt(L"[%.*f]", -1, 0.5), L"[0.500000]");
}

TEST(CStringFormat, LengthModifiersNarrowOrWidenTheArgument)
{
    EXPECT_EQ(Fmt(L"%hhd|%hd|%hu|%hhx", 0x1FF, 0x18000, 0x1FFFF, 0x1AB), L"-1|-32768|65535|ab");
    EXPECT_EQ(Fmt(L"%ld|%lu|%lx", -7L, 7UL, 255UL), L"-7|7|ff");
    EXPECT_EQ(Fmt(L"%zu|%Iu|%Id|%I32d", static_cast<size_t>(5000000000ULL), static_cast<size_t>(6),
                  static_cast<intptr_t>(-6), 32),
              L"5000000000|6|-6|32");
    EXPECT_EQ(Fmt(L"%jd|%qd", static_cast<intmax_t>(-9000000000LL), -1LL), L"-9000000000|-1");
    EXPECT_EQ(Fmt(L"%Lf|%.1Le", static_cast<long double>(1.5), static_cast<long double>(12345.0)), L"1.500000|1.2e+04");
}

TEST(CStringFormat, FloatsFollowTheirConversionAndFlags)
{
    EXPECT_EQ(Fmt(L"%e|%E|%g|%G", 1234.5, 0.000125, 0.0001, 1e20), L"1.234500e+03|1.250000E-04|0.0001|1E+20");
    EXPECT_EQ(Fmt(L"%+.2f|% .1f|%08.3f|%-8.1f|", 2.0, 3.0, -1.5, 2.25), L"+2.00| 3.0|-001.500|2.2     |");
    EXPECT_EQ(Fmt(L"%#.0f|%#x|%#o", 3.0, 255, 8), L"3.|0xff|010");
}

// Numbers go through the C library one conversion at a time, so for them
// the whole format must agree with the library's own.
TEST(CStringFormat, NumbersAgreeWithTheCLibraryForEveryFlagWidthAndPrecision)
{
    const char* flagSets[] = {"", "-", "+", " ", "#", "0", "-+", "+0", " 0", "#0", "-#"};
    const char conversions[] = {'d', 'i', 'u', 'x', 'X', 'o', 'f', 'e', 'E', 'g', 'G'};
    const long long integers[] = {0, 7, -7, 255, -32768, 2147483647LL, -2147483647LL - 1};
    const double reals[] = {0.0, 0.5, -1.25, 1234.5678, 1e-5, -6.02e23};
    int compared = 0;
    for (const char* flags : flagSets) {
        for (int width : {-1, 0, 1, 6, 14}) {
            for (int precision : {-1, 0, 1, 3, 9}) {
                for (char conversion : conversions) {
                    std::string spec = std::string("%") + flags;
                    if (width >= 0) spec += std::to_string(width);
                    if (precision >= 0) spec += "." + std::to_string(precision);
                    spec += conversion;
                    const std::wstring format(spec.begin(), spec.end());
                    const bool isReal = std::strchr("feEgG", conversion) != nullptr;
                    for (size_t k = 0; k < (isReal ? std::size(reals) : std::size(integers)); ++k) {
                        wchar_t expected[128];
                        CString actual;
                        if (isReal) {
                            std::swprintf(expected, 128, format.c_str(), reals[k]);
                            actual = Fmt(format.c_str(), reals[k]);
                        } else {
                            const int value = static_cast<int>(integers[k]);
                            std::swprintf(expected, 128, format.c_str(), value);
                            actual = Fmt(format.c_str(), value);
                        }
                        ASSERT_EQ(actual, CString(expected)) << spec << " of value " << k;
                        ++compared;
                    }
                }
            }
        }
    }
    EXPECT_GT(compared, 10000);
}

TEST(CStringFormat, PointersPrintEveryHexDigitInUpperCase)
{
    const void* pointer = reinterpret_cast<const void*>(static_cast<uintptr_t>(0xABCDEFu));
    const CString text = Fmt(L"%p", pointer);
    EXPECT_EQ(text.GetLength(), static_cast<int>(sizeof(void*) * 2));
    EXPECT_EQ(text.Right(6), L"ABCDEF");
    EXPECT_EQ(text.SpanIncluding(L"0"), CString(L'0', text.GetLength() - 6));
}

TEST(CStringFormat, CharactersAndStringsArePaddedToTheirWidth)
{
    EXPECT_EQ(Fmt(L"[%3c|%-3c]", L'a', L'b'), L"[  a|b  ]");
    EXPECT_EQ(Fmt(L"[%4S]", "ab"), L"[  ab]");
    EXPECT_EQ(Fmt(L"[%.3S]", "\x83\x65\x83\x58\x83\x67\x83\x65"), L"[テスト]") << "the precision counts characters";
    EXPECT_EQ(Fmt(L"[%hc]", '\x41'), L"[A]");
    EXPECT_EQ(Fmt(L"%S", static_cast<const char*>(nullptr)), L"(null)");
}

TEST(CStringFormat, AFormatEndingInsideAConversionStopsThere)
{
    EXPECT_EQ(Fmt(L"50%"), L"50");
    EXPECT_EQ(Fmt(L"a%-5"), L"a");
    EXPECT_EQ(Fmt(L"a%l"), L"a");
    EXPECT_EQ(Fmt(L"%%%d%%", 5), L"%5%");
    // A width or precision no int can hold is as broken as a cut-off conversion.
    EXPECT_EQ(Fmt(L"a%99999999999d|%d", 5, 6), L"a");
    EXPECT_EQ(Fmt(L"a%.99999999999f|%d", 0.5, 6), L"a");
    EXPECT_EQ(Fmt(L"a%*d|%d", INT_MIN, 5, 6), L"a");
    EXPECT_EQ(Fmt(L"[%.2147483647s]", L"ab"), L"[ab]") << "the largest precision still parses";
    CString s(L"kept");
    s.Format(nullptr);
    EXPECT_EQ(s, L"");
}

TEST(CStringAFormat, WideArgumentsAreNarrowedToCodePage932)
{
    CStringA s;
    s.Format("[%5s|%-4c|%lc|%.2ls]", "ab", 'x', L'テ', L"テスト");
    EXPECT_EQ(s, CStringA("[   ab|x   |\x83\x65|\x83\x65\x83\x58]"));
    s.Format("%.2s|%hs|%ws|%d%%", "abcdef", "h", L"w", 9);
    EXPECT_EQ(s, CStringA("ab|h|w|9%"));
}

TEST(CStringAFormat, NarrowConventionsAreMirrored)
{
    CStringA s;
    s.Format("%s|%S|%ls|%c|%C", "n", L"w", L"テ", 'x', L'y');
    EXPECT_EQ(s, CStringA("n|w|\x83\x65|x|y"));
}

TEST(CString, ExtractionClampsLikeTheFramework)
{
    CString s(L"abcdef");
    EXPECT_EQ(s.Mid(2), L"cdef");
    EXPECT_EQ(s.Mid(2, 2), L"cd");
    EXPECT_EQ(s.Mid(-3, 2), L"ab");
    EXPECT_EQ(s.Mid(10), L"");
    EXPECT_EQ(s.Mid(4, 100), L"ef");
    EXPECT_EQ(s.Left(-1), L"");
    EXPECT_EQ(s.Left(100), L"abcdef");
    EXPECT_EQ(s.Right(2), L"ef");
    EXPECT_EQ(s.Right(100), L"abcdef");
    EXPECT_EQ(s.GetAt(99), L'\0');
}

TEST(CString, SearchesGiveIndexesOrMinusOne)
{
    CString path(L"C:\\Prog\\Viewer\\x.ocx");
    int slash = path.ReverseFind(L'\\');
    EXPECT_EQ(path.Left(slash), L"C:\\Prog\\Viewer");
    EXPECT_EQ(path.Find(L"Viewer"), 8);
    EXPECT_EQ(path.Find(L'\\', 3), 7);
    EXPECT_EQ(path.Find(L'z'), -1);
    EXPECT_EQ(path.Find(L'C', 100), -1);
    EXPECT_EQ(path.FindOneOf(L".:"), 1);
    EXPECT_EQ(CString(L"abc").ReverseFind(L'\\'), -1);
}

TEST(CString, TrimReplaceInsertAndDeleteEditInPlace)
{
    CString s(L"  VER.1.2-3 BUILD  ");
    s.Trim();
    EXPECT_EQ(s, L"VER.1.2-3 BUILD");
    EXPECT_EQ(s.Replace(L"VER.", L""), 1);
    EXPECT_EQ(s.Remove(L'-'), 1);
    EXPECT_EQ(s.Replace(L"BUILD", L""), 1);
    EXPECT_EQ(s, L"1.23 ");
    s.TrimRight();
    s.Insert(0, L'x');
    s.Insert(100, L"yz");
    EXPECT_EQ(s, L"x1.23yz");
    s.Delete(1, 2);
    EXPECT_EQ(s, L"x23yz");
    s.MakeUpper();
    EXPECT_EQ(s, L"X23YZ");
    CString t(L"**ab**");
    t.Trim(L'*');
    EXPECT_EQ(t, L"ab");
    CString u(L"xyabyx");
    u.Trim(L"xy");
    EXPECT_EQ(u, L"ab");
}

TEST(CString, CompareNoCaseFoldsCaseAndCompareDoesNot)
{
    EXPECT_EQ(CString(L"abc").CompareNoCase(L"ABC"), 0);
    EXPECT_LT(CString(L"abc").CompareNoCase(L"ABD"), 0);
    EXPECT_GT(CString(L"abcd").CompareNoCase(L"ABC"), 0);
    EXPECT_LT(CString(L"ab").CompareNoCase(L"abc"), 0);
    EXPECT_NE(CString(L"abc").Compare(L"ABC"), 0);
    EXPECT_TRUE(CString(L"a") < CString(L"b"));
    EXPECT_TRUE(CString() == L"");
    EXPECT_EQ(CString(L"D:\\REC\\A.ECG").CompareNoCase(L"d:\\rec\\a.ecg"), 0);
}

TEST(CString, BufferWritesAreVisibleAfterRelease)
{
    CString s;
    wchar_t* p = s.GetBuffer(10);
    wcscpy(p, L"hello");
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 5);
    EXPECT_EQ(s, L"hello");
    p = s.GetBuffer(2);
    p[1] = L'a';
    s.ReleaseBuffer(3);
    EXPECT_EQ(s, L"hal");
}

TEST(CString, TokenizeWalksAllTokens)
{
    CString s(L"a,,b;c");
    int pos = 0;
    std::vector<CString> tokens;
    for (CString t = s.Tokenize(L",;", pos); pos != -1; t = s.Tokenize(L",;", pos)) tokens.push_back(t);
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[0], L"a");
    EXPECT_EQ(tokens[1], L"b");
    EXPECT_EQ(tokens[2], L"c");
}

TEST(CodePage, ShiftJisRoundTripsAndCountsItsBytes)
{
    const CString text(L"山田 太郎ｱｲｳ①Ⅰ");
    CStringA sjis(text);
    // Kanji 2 bytes each, half-width katakana 1 byte, NEC specials 2 bytes.
    EXPECT_EQ(sjis.GetLength(), 2 * 4 + 1 + 3 + 2 + 2);
    EXPECT_EQ(CString(sjis), text);
    int need = MultiByteToWideChar(932, 0, sjis, -1, nullptr, 0);
    EXPECT_EQ(need, text.GetLength() + 1);
    std::vector<wchar_t> out(need);
    EXPECT_EQ(MultiByteToWideChar(932, 0, sjis, -1, out.data(), need), need);
    EXPECT_STREQ(out.data(), text);
    EXPECT_EQ(MultiByteToWideChar(932, 0, sjis, -1, out.data(), need - 1), 0);
}

TEST(CodePage, UnmappableCharactersAndBrokenBytesGetStandIns)
{
    BOOL usedDefault = FALSE;
    char buf[16] = {};
    // A character code page 932 cannot hold becomes the default character.
    int n = WideCharToMultiByte(932, 0, L"a\x00E9" L"b", 3, buf, sizeof(buf), nullptr, &usedDefault);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(std::string(buf, 3), "a?b");
    EXPECT_TRUE(usedDefault);
    // A lone lead byte at the end decodes to the replacement, never past the end.
    std::wstring w = platform::DecodeCodePage(932, "ab\x82", 3);
    EXPECT_EQ(w, L"ab\x30FB");
    EXPECT_EQ(platform::DecodeCodePage(936, "\xC1\xAC\xD0\xF8", 4), L"连续");
    EXPECT_EQ(MultiByteToWideChar(12345, 0, "a", 1, nullptr, 0), 0);
}

TEST(CodePage, Utf8RoundTripsAndBrokenSequencesBecomeReplacements)
{
    std::wstring text = L"a\x00E9\x4E2D\x1F600";
    EXPECT_EQ(platform::FromUtf8(platform::ToUtf8(text)), text);
    EXPECT_EQ(platform::FromUtf8("\xE4\xB8"), L"\xFFFD\xFFFD");
}

class CShape : public CObject {
    DECLARE_DYNCREATE(CShape)
};
IMPLEMENT_DYNCREATE(CShape, CObject)

class CCircle : public CShape {
    DECLARE_DYNCREATE(CCircle)
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

class CAbstractThing : public CObject {
    DECLARE_DYNAMIC(CAbstractThing)
};
IMPLEMENT_DYNAMIC(CAbstractThing, CObject)

TEST(RuntimeClass, ClassesAreCreatedByNameAndKnowTheirBases)
{
    CObject* obj = CRuntimeClass::CreateObject("CCircle");
    ASSERT_NE(obj, nullptr);
    EXPECT_TRUE(obj->IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(obj->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(obj->IsKindOf(RUNTIME_CLASS(CAbstractThing)));
    EXPECT_NE(DYNAMIC_DOWNCAST(CCircle, obj), nullptr);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CAbstractThing, obj), nullptr);
    EXPECT_STREQ(obj->GetRuntimeClass()->m_lpszClassName, "CCircle");
    delete obj;
    EXPECT_EQ(CRuntimeClass::CreateObject("CAbstractThing"), nullptr);
    EXPECT_EQ(CRuntimeClass::CreateObject("NoSuchClass"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(L"CShape"), RUNTIME_CLASS(CShape));
}
