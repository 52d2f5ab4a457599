// A printed comment wraps by the width its characters take on paper, read
// back from the PDF with the boxes of its words: a character Shift-JIS
// cannot hold is drawn as wide as a kanji and must wrap as one; so is the
// layout suffix after the patient's name cut.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/host/HostPdf.h"
#include "tests/host/HostPdfBoxes.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"

using namespace hosttest;

namespace {

// The lines of the comment: the words made of `ch` (UTF-8) only, perhaps
// ending in the ellipsis.
struct CommentLines {
    int lines = 0;
    size_t characters = 0;
    double left = 1e9, right = 0;
    std::vector<size_t> perLine;   // the characters of each line, in order
};

CommentLines Lines(const std::vector<WordBox>& words, const std::string& ch)
{
    CommentLines found;
    for (const WordBox& word : words) {
        std::string text = word.text;
        if (text.size() >= 3 && text.compare(text.size() - 3, 3, "...") == 0) text.erase(text.size() - 3);
        if (text.empty() || text.size() % ch.size() != 0) continue;
        bool only = true;
        for (size_t i = 0; i < text.size(); i += ch.size()) only = only && text.compare(i, ch.size(), ch) == 0;
        if (!only) continue;
        ++found.lines;
        found.characters += text.size() / ch.size();
        found.perLine.push_back(text.size() / ch.size());
        found.left = std::min(found.left, word.left);
        found.right = std::max(found.right, word.right);
    }
    return found;
}

class HostCommentWidthTest : public HostSamplesTest {
protected:
    // The report `report` of the sample record `stem` with `comment` as its
    // comment.
    std::vector<WordBox> PrintWithComment(const std::string& comment, const std::string& name,
                                          const std::string& stem = "rest12_90",
                                          const std::string& report = "rest-interpre")
    {
        const std::string xml = SamplePath(stem + "20240401093000.xml");
        std::string text = testsupport::ReadFileBytes(xml);
        const std::string open = "<Comment_content>", close = "</Comment_content>";
        const size_t start = text.find(open);
        const size_t end = text.find(close);
        if (start == std::string::npos || end == std::string::npos) return {};
        text.replace(start + open.size(), end - start - open.size(), comment);
        std::ofstream(xml, std::ios::binary | std::ios::trunc) << text;
        return WordBoxes(HostPdf({"print", SamplePath(stem + ".ecg"), "--report", report}, m_dir.File(name + ".pdf")));
    }
};

std::string Repeat(const std::string& ch, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) text += ch;
    return text;
}

}  // namespace

TEST_F(HostCommentWidthTest, ACommentOfCharactersShiftJisLacksWrapsInsideItsBlockAsKanjiDo)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string kanji = "漢", chinese = "这";
    const CommentLines reference = Lines(PrintWithComment(Repeat(kanji, 80), "kanji"), kanji);
    ASSERT_GE(reference.lines, 2);
    ASSERT_EQ(reference.characters, 80u);
    const CommentLines wrapped = Lines(PrintWithComment(Repeat(chinese, 80), "chinese"), chinese);
    EXPECT_EQ(wrapped.characters, 80u);
    EXPECT_EQ(wrapped.lines, reference.lines);
    EXPECT_NEAR(wrapped.left, reference.left, 1.0);
    // Both end within the comment block: the same columns, the same glyph width.
    EXPECT_LE(wrapped.right, reference.right + 1.0);
}

// A character neither Shift-JIS nor code page 936 holds (Hangul, an emoji)
// is drawn full width too: 80 of them wrap as 80 kanji do, on the resting
// interpretation page and on the rhythm comment page (which prints its
// comment twice).
TEST_F(HostCommentWidthTest, ACommentOfCharactersNeitherCodePageHoldsWrapsInsideItsBlockAsKanjiDo)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string kanji = "漢";
    for (const auto& page : {std::make_pair(std::string("rest12_90"), std::string("rest-interpre")),
                             std::make_pair(std::string("rhythm_90"), std::string("rhythm-comment"))}) {
        SCOPED_TRACE(page.second);
        const CommentLines reference =
            Lines(PrintWithComment(Repeat(kanji, 80), page.second + "-kanji", page.first, page.second), kanji);
        ASSERT_GE(reference.lines, 2);
        ASSERT_EQ(reference.characters % 80, 0u);
        for (const std::string wide : {"한", "😀"}) {
            SCOPED_TRACE(wide);
            const CommentLines wrapped = Lines(
                PrintWithComment(Repeat(wide, 80), page.second + "-wide" + std::to_string(wide.size()), page.first,
                                 page.second),
                wide);
            EXPECT_EQ(wrapped.perLine, reference.perLine);
            EXPECT_NEAR(wrapped.left, reference.left, 1.0);
            // Hangul is drawn exactly two columns wide. The face that draws
            // the emoji makes each a little wider than two columns: its lines
            // break where the kanji lines do and end a few points later.
            if (wide == "한") {
                EXPECT_LE(wrapped.right, reference.right + 1.0);
            }
        }
    }
}

// The layout suffix after the patient's name takes at most four columns on
// paper, whichever code page holds its characters.
TEST_F(HostCommentWidthTest, TheLayoutSuffixIsCutToTheFourColumnsItPrintsIn)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    const std::string work = m_dir.File("work");
    std::filesystem::copy(testsupport::WorkDir(), work, std::filesystem::copy_options::recursive);
    const std::string xsl = work + "/Tavrion.xsl";
    const std::string stylesheet = testsupport::ReadFileBytes(xsl);
    const std::string shipped = "suffix=\"様\"";
    const size_t at = stylesheet.find(shipped);
    ASSERT_NE(at, std::string::npos);
    for (const std::string wide : {"漢", "这", "한"}) {
        SCOPED_TRACE(wide);
        std::string changed = stylesheet;
        changed.replace(at, shipped.size(), "suffix=\"" + Repeat(wide, 4) + "\"");
        std::ofstream(xsl, std::ios::binary | std::ios::trunc) << changed;
        testsupport::UseRegistryWithWorkDir(work);
        const HostRun run = Host({"print", SamplePath("rest12_90.ecg"), "--report", "rest-interpre", "--pdf",
                                  m_dir.File("suffix.pdf")});
        testsupport::UseRegistryWithWorkDir(testsupport::WorkDir());
        ASSERT_EQ(run.status, 0) << run.err;
        // The name and its suffix, though the patient block draws the
        // suffix as a word of its own: the words read as one text.
        std::string text;
        for (const WordBox& word : WordBoxes(m_dir.File("suffix.pdf"))) text += word.text;
        int named = 0;
        for (size_t at = text.find("太郎"); at != std::string::npos; at = text.find("太郎", at + 1)) {
            ++named;
            size_t kept = 0;
            for (size_t next = at + std::string("太郎").size(); text.compare(next, wide.size(), wide) == 0;
                 next += wide.size())
                ++kept;
            EXPECT_EQ(kept, 2u);
        }
        EXPECT_GE(named, 1);
    }
}
