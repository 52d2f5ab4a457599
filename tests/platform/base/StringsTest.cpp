#include <gtest/gtest.h>

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
TEST(CStringFormat, WindowsWidthConventions)
{
    EXPECT_EQ(Fmt(L"%s|%S|%hs|%ls", L"wide", "narrow", "h", L"l"), L"wide|narrow|h|l");
    EXPECT_EQ(Fmt(L"%c%C%hc%lc", L'ア', 'b', 'c', L'd'), L"アbcd");
    EXPECT_EQ(Fmt(L"ECGファイル%sを開けません。", L"C:\\a\\b.ecg"), L"ECGファイルC:\\a\\b.ecgを開けません。");
    // Narrow arguments are Shift-JIS on this system.
    EXPECT_EQ(Fmt(L"%S", "\x83\x65\x83\x58\x83\x67"), L"テスト");
}

TEST(CStringFormat, NumbersWidthsAndPrecision)
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

TEST(CString, SearchingAndPathSplitting)
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

TEST(CString, EditingInPlace)
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

TEST(CString, ComparisonsAndCaseFolding)
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

TEST(CodePage, ShiftJisRoundTripAndCounting)
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

TEST(CodePage, UnmappableAndInvalidBytes)
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

TEST(CodePage, Utf8RoundTrip)
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

TEST(RuntimeClass, DynamicCreationAndKinds)
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
