// DrawText: line breaking, alignment in the rectangle, DT_CALCRECT against
// the font's metrics, prefixes, clipping and ellipses; CharNextW.
#include <string>
#include <vector>

#include "tests/platform/gdi/GdiTestSupport.h"

using namespace gditest;
using platform::gdi::DrawOp;
using platform::gdi::DrawRecord;
using DrawTextTest = LeakCheckedTest;

namespace {

// A recording DC with a 16-pixel Gothic font selected.
class TextDC {
public:
    TextDC() : m_dc(platform::gdi::CreateRecordingDC(400, 300)), m_font(CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0,
                                                                                  SHIFTJIS_CHARSET, 0, 0, 0, 0, L"Gothic"))
    {
        m_old = SelectObject(m_dc, m_font);
        GetTextMetricsW(m_dc, &m_metrics);
    }
    ~TextDC()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_font);
        DeleteDC(m_dc);
    }
    TextDC(const TextDC&) = delete;
    TextDC& operator=(const TextDC&) = delete;
    operator HDC() const { return m_dc; }
    int LineHeight() const { return m_metrics.tmHeight; }
    int Width(const wchar_t* text) const
    {
        SIZE size = {0, 0};
        GetTextExtentPoint32W(m_dc, text, (int)std::wcslen(text), &size);
        return size.cx;
    }
    // The text runs drawn since the last call.
    std::vector<DrawRecord> Runs()
    {
        std::vector<DrawRecord> runs;
        for (const DrawRecord& r : platform::gdi::GetRecording(m_dc))
            if (r.op == DrawOp::Text) runs.push_back(r);
        platform::gdi::ClearRecording(m_dc);
        return runs;
    }

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_old;
    TEXTMETRICW m_metrics = {};
};

}  // namespace

// One line in a 200 x 60 rectangle at (10, 20): where its cell goes.
TEST_F(DrawTextTest, SingleLinesArePlacedByTheirAlignment)
{
    TextDC dc;
    const wchar_t* text = L"ECG 12";
    const int w = dc.Width(text), h = dc.LineHeight();
    struct Case {
        UINT format;
        int left, top;
    };
    const Case kCases[] = {
        {DT_SINGLELINE | DT_LEFT, 10, 20},
        {DT_SINGLELINE | DT_CENTER, 10 + (200 - w) / 2, 20},
        {DT_SINGLELINE | DT_RIGHT, 210 - w, 20},
        {DT_SINGLELINE | DT_VCENTER, 10, (20 + 80 - h) / 2},
        {DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, 210 - w, 80 - h},
        {DT_VCENTER, 10, 20},   // vertical placement needs DT_SINGLELINE
    };
    for (const Case& c : kCases) {
        RECT rc = {10, 20, 210, 80};
        const int height = DrawTextW(dc, text, -1, &rc, c.format);
        const std::vector<DrawRecord> runs = dc.Runs();
        ASSERT_EQ(1u, runs.size()) << std::hex << c.format;
        EXPECT_EQ(c.left, runs[0].rect.left) << std::hex << c.format;
        EXPECT_EQ(c.top, runs[0].rect.top) << std::hex << c.format;
        const bool offset = (c.format & DT_SINGLELINE) && (c.format & (DT_VCENTER | DT_BOTTOM));
        EXPECT_EQ(offset ? c.top + h - 20 : h, height) << std::hex << c.format;
    }
}

TEST_F(DrawTextTest, DrawTextIgnoresTheDcTextAlignment)
{
    TextDC dc;
    SetTextAlign(dc, TA_RIGHT | TA_BOTTOM | TA_UPDATECP);
    RECT rc = {10, 20, 210, 80};
    DrawTextW(dc, L"abc", 3, &rc, DT_SINGLELINE);
    const std::vector<DrawRecord> runs = dc.Runs();
    ASSERT_EQ(1u, runs.size());
    EXPECT_EQ(10, runs[0].rect.left);
    EXPECT_EQ(20, runs[0].rect.top);
    EXPECT_EQ((UINT)(TA_RIGHT | TA_BOTTOM | TA_UPDATECP), GetTextAlign(dc)) << "and leaves it as it was";
}

TEST_F(DrawTextTest, LinesBreakAtLineEndsAndWrapAtBlanks)
{
    TextDC dc;
    const int h = dc.LineHeight();
    RECT rc = {0, 0, 300, 200};
    EXPECT_EQ(3 * h, DrawTextW(dc, L"one\r\ntwo\nthree", -1, &rc, DT_LEFT));
    std::vector<DrawRecord> runs = dc.Runs();
    ASSERT_EQ(3u, runs.size());
    EXPECT_EQ(L"two", runs[1].text);
    EXPECT_EQ(2 * h, runs[2].rect.top);

    // Wrapped at blanks: the rectangle takes "aaa bbb" but not "aaa bbb ccc".
    const int width = dc.Width(L"aaa bbb") + 2;
    RECT narrow = {5, 0, 5 + width, 200};
    EXPECT_EQ(2 * h, DrawTextW(dc, L"aaa bbb ccc", -1, &narrow, DT_WORDBREAK | DT_CENTER));
    runs = dc.Runs();
    ASSERT_EQ(2u, runs.size());
    EXPECT_EQ(L"aaa bbb", runs[0].text);
    EXPECT_EQ(L"ccc", runs[1].text);
    EXPECT_EQ(5 + (width - dc.Width(L"ccc")) / 2, runs[1].rect.left) << "each line is centred on its own";

    // A word longer than the line overhangs, unless DT_EDITCONTROL breaks it.
    RECT tiny = {0, 0, dc.Width(L"abc"), 200};
    DrawTextW(dc, L"abcdefgh ij", -1, &tiny, DT_WORDBREAK);
    runs = dc.Runs();
    ASSERT_EQ(2u, runs.size());
    EXPECT_EQ(L"abcdefgh", runs[0].text);
    DrawTextW(dc, L"abcdefgh", -1, &tiny, DT_WORDBREAK | DT_EDITCONTROL);
    runs = dc.Runs();
    ASSERT_EQ(3u, runs.size());
    EXPECT_EQ(L"abc", runs[0].text);
    EXPECT_EQ(L"gh", runs[2].text);
}

TEST_F(DrawTextTest, JapaneseWrapsBetweenCharactersButNotBeforeClosingMarks)
{
    TextDC dc;
    const wchar_t* text = L"心電図の検査。結果";
    // Room for six characters, but 。 may not start a line, so 査 goes down with it.
    RECT rc = {0, 0, dc.Width(L"心電図の検査"), 200};
    DrawTextW(dc, text, -1, &rc, DT_WORDBREAK);
    const std::vector<DrawRecord> runs = dc.Runs();
    ASSERT_EQ(2u, runs.size());
    EXPECT_EQ(L"心電図の検", runs[0].text);
    EXPECT_EQ(L"査。結果", runs[1].text);
}

TEST_F(DrawTextTest, CalcRectMeasuresWithoutDrawing)
{
    TextDC dc;
    RECT rc = {7, 9, 500, 500};
    const int height = DrawTextW(dc, L"short\nthe longest line\nmid", -1, &rc, DT_CALCRECT);
    EXPECT_TRUE(dc.Runs().empty());
    EXPECT_EQ(3 * dc.LineHeight(), height);
    EXPECT_RECT(rc, 7, 9, 7 + dc.Width(L"the longest line"), 9 + 3 * dc.LineHeight());
    // With DT_WORDBREAK the width given decides the lines, as the button captions use it.
    RECT caption = {0, 0, dc.Width(L"aaa bbb"), 0};
    DrawTextW(dc, L"aaa bbb ccc ddd", -1, &caption, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    EXPECT_EQ(2 * dc.LineHeight(), caption.bottom);
    EXPECT_LE(caption.right, dc.Width(L"aaa bbb"));
    RECT empty = {0, 0, 50, 50};
    EXPECT_EQ(0, DrawTextW(dc, L"", 0, &empty, DT_CALCRECT));
    EXPECT_RECT(empty, 0, 0, 0, 0);
}

TEST_F(DrawTextTest, PrefixesUnderlineTheirCharacter)
{
    TextDC dc;
    RECT rc = {0, 0, 300, 50};
    DrawTextW(dc, L"&File && Print", -1, &rc, DT_SINGLELINE);
    std::vector<DrawRecord> all = platform::gdi::GetRecording(dc);
    std::vector<DrawRecord> runs = dc.Runs();
    ASSERT_EQ(1u, runs.size());
    EXPECT_EQ(L"File & Print", runs[0].text);
    ASSERT_EQ(2u, all.size()) << "the text and its underline";
    EXPECT_EQ(DrawOp::PatBlt, all[1].op);
    EXPECT_EQ(0, all[1].rect.left);
    EXPECT_EQ(dc.Width(L"F"), all[1].rect.right);
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    EXPECT_EQ(tm.tmAscent + 1, all[1].rect.top);

    DrawTextW(dc, L"&File", -1, &rc, DT_SINGLELINE | DT_NOPREFIX);
    all = platform::gdi::GetRecording(dc);
    runs = dc.Runs();
    ASSERT_EQ(1u, all.size());
    EXPECT_EQ(L"&File", runs[0].text);
}

TEST_F(DrawTextTest, TextIsClippedUnlessToldAndAnEllipsisCutsIt)
{
    ScopedImageDC dc(200, 40);
    RECT rc = {10, 5, 30, 35};
    DrawTextW(dc, L"WWWWWWWW", -1, &rc, DT_SINGLELINE);
    RECT ink = InkBox(dc, 200, 40);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 30) << "clipped to the rectangle";
    FillWith(dc, 200, 40, kWhite);
    DrawTextW(dc, L"WWWWWWWW", -1, &rc, DT_SINGLELINE | DT_NOCLIP);
    ink = InkBox(dc, 200, 40);
    EXPECT_GT(ink.right, 40) << "DT_NOCLIP lets it run on";

    TextDC rec;
    RECT box = {0, 0, rec.Width(L"abcdef"), 30};
    DrawTextW(rec, L"abcdefghijkl", -1, &box, DT_SINGLELINE | DT_END_ELLIPSIS);
    const std::vector<DrawRecord> runs = rec.Runs();
    ASSERT_EQ(1u, runs.size());
    ASSERT_GE(runs[0].text.size(), 3u);
    EXPECT_EQ(L"...", runs[0].text.substr(runs[0].text.size() - 3));
    EXPECT_LE(rec.Width(runs[0].text.c_str()), box.right);
    EXPECT_EQ(0u, runs[0].text.find(L"abc"));
}

TEST_F(DrawTextTest, BadArgumentsDrawNothing)
{
    TextDC dc;
    RECT rc = {0, 0, 10, 10};
    EXPECT_EQ(0, DrawTextW(dc, L"x", 1, nullptr, 0));
    EXPECT_EQ(0, DrawTextW(dc, nullptr, 3, &rc, 0));
    EXPECT_EQ(0, DrawTextW(dc, L"x", -2, &rc, 0));
    HDC stale = CreateCompatibleDC(nullptr);
    DeleteDC(stale);
    EXPECT_EQ(0, DrawTextW(stale, L"x", 1, &rc, 0));
}

TEST_F(DrawTextTest, CharNextStepsOverCombiningMarks)
{
    const wchar_t text[] = L"e\x0301x\x304B\x3099";   // é (decomposed), x, が (decomposed)
    const wchar_t* p = text;
    p = CharNextW(p);
    EXPECT_EQ(text + 2, p);
    p = CharNextW(p);
    EXPECT_EQ(text + 3, p);
    p = CharNextW(p);
    EXPECT_EQ(text + 5, p);
    EXPECT_EQ(text + 5, CharNextW(p)) << "the end stays the end";
    EXPECT_EQ(text + 3, CharPrevW(text, text + 5));
    EXPECT_EQ(text, CharPrevW(text, text + 2));
    EXPECT_EQ(text, CharPrevW(text, text));
    EXPECT_EQ(nullptr, CharNextW(nullptr));
}
