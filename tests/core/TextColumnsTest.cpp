// The columns a text takes where it is drawn: what the wraps, the cuts to
// fit and the field limits count.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

#include "core/MemoryHelpers.h"
#include "core/TextColumns.h"

// A Shift-JIS character counts its bytes, as the stored files count it; any
// other counts as it is drawn. (The count once took GBK's bytes for what
// only GBK holds, which made ü and é two columns though drawn half width.)
TEST(TextColumns, AShiftJisCharacterCountsItsBytesAndAnyOtherTheWidthItIsDrawnWith)
{
    // 这 has no Shift-JIS code: one default byte for GetCharLength, yet it
    // is drawn as wide as 漢.
    EXPECT_EQ(GetCharLength(L"这"), 1);
    EXPECT_EQ(GetTextColumns(L"这"), 2);
    EXPECT_EQ(GetTextColumns(L"漢"), 2);
    EXPECT_EQ(GetTextColumns(L"a"), 1);
    EXPECT_EQ(GetTextColumns(L"ｱ"), 1);   // half-width katakana stays one column
    EXPECT_EQ(GetTextColumns(L"€"), 1);
    // Letters GBK holds in two bytes but a font draws half width.
    EXPECT_EQ(GetTextColumns(L"ü"), 1);
    EXPECT_EQ(GetTextColumns(L"é"), 1);
    EXPECT_EQ(GetTextColumns(L"Müller-Lüdenscheidt"), 19);
    EXPECT_EQ(CutToColumns(L"Müller-Lüdenscheidt", 20), L"Müller-Lüdenscheidt");
    // Greek and Cyrillic keep their two Shift-JIS bytes.
    EXPECT_EQ(GetTextColumns(L"αЖ"), 4);
    EXPECT_EQ(GetTextColumns(L"a这ｱ漢这"), 8);
    EXPECT_EQ(GetTextColumns(L""), 0);
    EXPECT_EQ(GetTextColumns(nullptr), 0);
}

TEST(TextColumns, ACharacterNeitherCodePageHoldsCountsTheWidthItIsDrawnWith)
{
    // Hangul, a CJK extension A and B ideograph, an emoji, a fullwidth won
    // sign: drawn full width, two columns each.
    for (const char32_t wide : {U'한', U'\x3400', U'\x2000B', U'\x1F600', U'\xFFE6'}) {
        SCOPED_TRACE(static_cast<unsigned>(wide));
        EXPECT_TRUE(IsDrawnFullWidth(wide));
        EXPECT_EQ(GetCharColumns(wide), 2);
        const wchar_t text[] = {static_cast<wchar_t>(wide), static_cast<wchar_t>(wide), 0};
        EXPECT_EQ(GetTextColumns(text), 4);
    }
    // Narrow or ambiguous ones stay one column: an accented letter, Hangul
    // jamo that join a syllable, a Thai letter.
    for (const char32_t narrow : {U'Ä', U'\x1160', U'ก'}) {
        SCOPED_TRACE(static_cast<unsigned>(narrow));
        EXPECT_FALSE(IsDrawnFullWidth(narrow));
        EXPECT_EQ(GetCharColumns(narrow), 1);
    }
    EXPECT_EQ(GetTextColumns(L"a한😀Ä漢"), 1 + 2 + 2 + 1 + 2);
}

TEST(TextColumns, TheWideRangesEndWhereUnicodeEndsThem)
{
    EXPECT_FALSE(IsDrawnFullWidth(0x10FF));
    EXPECT_TRUE(IsDrawnFullWidth(0x1100));    // the first Hangul jamo
    EXPECT_TRUE(IsDrawnFullWidth(0xAC00));    // the Hangul syllables
    EXPECT_TRUE(IsDrawnFullWidth(0xD7A3));
    EXPECT_FALSE(IsDrawnFullWidth(0xD7A4));
    EXPECT_TRUE(IsDrawnFullWidth(0x3FFFD));   // the last of plane 3
    EXPECT_FALSE(IsDrawnFullWidth(0x3FFFE));
    EXPECT_FALSE(IsDrawnFullWidth(0x10FFFF));
}

// An independent reading of the same property: every character glibc's
// UTF-8 character map gives two columns is drawn full width here too, but
// for the two blocks glibc widens of its own accord (Unicode makes the
// circled numbers on black squares ambiguous and the hexagrams neutral).
TEST(TextColumns, EveryCharacterGlibcGivesTwoColumnsIsDrawnFullWidth)
{
    FILE* charmap = popen("zcat /usr/share/i18n/charmaps/UTF-8.gz 2>/dev/null", "r");
    ASSERT_NE(charmap, nullptr);
    std::string text;
    char buffer[65536];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, charmap)) > 0;) text.append(buffer, n);
    pclose(charmap);
    const size_t start = text.find("\nWIDTH\n"), end = text.find("\nEND WIDTH");
    if (start == std::string::npos || end == std::string::npos) GTEST_SKIP() << "no glibc UTF-8 character map";
    const std::string widths = text.substr(start, end - start);
    const std::regex line("<U([0-9A-F]+)>(?:\\.\\.\\.<U([0-9A-F]+)>)?\t2\n");
    int checked = 0;
    for (auto it = std::sregex_iterator(widths.begin(), widths.end(), line); it != std::sregex_iterator(); ++it) {
        const char32_t first = static_cast<char32_t>(std::stoul((*it)[1], nullptr, 16));
        const char32_t last = (*it)[2].matched ? static_cast<char32_t>(std::stoul((*it)[2], nullptr, 16)) : first;
        for (char32_t c = first; c <= last; ++c) {
            if ((c >= 0x3248 && c <= 0x324F) || (c >= 0x4DC0 && c <= 0x4DFF)) continue;
            ++checked;
            if (!IsDrawnFullWidth(c)) ADD_FAILURE() << std::hex << static_cast<unsigned>(c);
        }
    }
    EXPECT_GT(checked, 100000);
}

TEST(TextColumns, ASurrogatePairCountsAsTheOneCharacterItIs)
{
    // U+1D11E, a narrow musical symbol: its two halves would count two.
    const wchar_t clef[] = {0xD834, 0xDD1E, 0};
    EXPECT_EQ(GetTextColumns(clef), 1);
    const wchar_t smile[] = {0xD83D, 0xDE00, L'a', 0};   // U+1F600, then a letter
    EXPECT_EQ(GetTextColumns(smile), 3);
    // A cut never keeps half of a pair.
    EXPECT_EQ(CutToColumns(smile, 1), CString());
    EXPECT_EQ(CutToColumns(smile, 2).GetLength(), 2);
}

TEST(TextColumns, ACutKeepsTheLongestLeadingPartWithinTheColumns)
{
    EXPECT_EQ(CutToColumns(L"abc", 3), L"abc");
    EXPECT_EQ(CutToColumns(L"abcd", 3), L"abc");
    EXPECT_EQ(CutToColumns(L"a心電図", 4), L"a心");   // 1 + 2 fits, the next would make 5
    EXPECT_EQ(CutToColumns(L"心", 1), L"");
    EXPECT_EQ(CutToColumns(L"a这한😀", 6), L"a这한");
    EXPECT_EQ(CutToColumns(L"a这한😀", 4), L"a这");
    EXPECT_EQ(CutToColumns(L"한한한", 5), L"한한");
    EXPECT_EQ(CutToColumns(L"", 4), L"");
}
