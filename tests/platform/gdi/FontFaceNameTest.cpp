// A font's face name of 32 characters or more, as LOGFONT holds at most 31
// and their terminator: however the font is made, its record keeps the first
// 31 characters, ended, and zeros after them, never a 32nd character.
#include <cstring>
#include <cwchar>
#include <string>

#include "tests/platform/gdi/GdiTestSupport.h"

using namespace gditest;
using FontFaceNameTest = LeakCheckedTest;

namespace {

// The font's LOGFONT as GetObject gives it, and what a caller's buffer
// holds just past it (GetObject writes nothing there).
struct Given {
    LOGFONTW log;
    wchar_t after[8];
};

void ExpectCutTo31AndEnded(HFONT font, const std::wstring& face)
{
    ASSERT_NE(nullptr, font);
    Given given;
    std::memset(&given, 0x5A, sizeof given);
    ASSERT_EQ((int)sizeof(LOGFONTW), GetObject(font, sizeof given, &given));
    EXPECT_EQ(face.substr(0, LF_FACESIZE - 1), std::wstring(given.log.lfFaceName, LF_FACESIZE - 1));
    EXPECT_EQ(0, given.log.lfFaceName[LF_FACESIZE - 1]);
    for (wchar_t c : given.after) EXPECT_EQ(0x5A5A5A5A, (unsigned)c);
}

}  // namespace

TEST_F(FontFaceNameTest, AFaceNameOf32CharactersOrMoreIsCutTo31AndEnded)
{
    const std::wstring longFace = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij";   // 36 characters
    // A LOGFONT whose face fills all 32 places, no terminator among them.
    LOGFONTW full = {};
    full.lfHeight = -12;
    std::wmemcpy(full.lfFaceName, longFace.c_str(), LF_FACESIZE);
    {
        SCOPED_TRACE("CreateFontIndirect");
        ScopedObject<HFONT> font(CreateFontIndirectW(&full));
        ExpectCutTo31AndEnded(font.get(), longFace);
    }
    {
        SCOPED_TRACE("CreateFont");
        ScopedObject<HFONT> font(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH,
                                             longFace.c_str()));
        ExpectCutTo31AndEnded(font.get(), longFace);
    }
    // A short face is kept to its terminator; what a caller left after it is not.
    LOGFONTW stale = full;
    stale.lfFaceName[5] = 0;
    {
        ScopedObject<HFONT> font(CreateFontIndirectW(&stale));
        LOGFONTW out;
        ASSERT_EQ((int)sizeof out, GetObject(font.get(), sizeof out, &out));
        EXPECT_EQ(std::wstring(L"ABCDE"), out.lfFaceName);
        for (int i = 5; i < LF_FACESIZE; ++i) EXPECT_EQ(0, out.lfFaceName[i]) << i;
    }
    // Exactly 31 characters are kept whole.
    LOGFONTW fits = {};
    std::wmemcpy(fits.lfFaceName, longFace.c_str(), LF_FACESIZE - 1);
    ScopedObject<HFONT> font(CreateFontIndirectW(&fits));
    LOGFONTW out;
    ASSERT_EQ((int)sizeof out, GetObject(font.get(), sizeof out, &out));
    EXPECT_EQ(longFace.substr(0, LF_FACESIZE - 1), std::wstring(out.lfFaceName));
}
