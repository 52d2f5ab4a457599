// A printed comment wraps by the width its characters take on paper, read
// back from the PDF with the boxes of its words: a character Shift-JIS
// cannot hold is drawn as wide as a kanji and must wrap as one.
#include <gtest/gtest.h>

#include <algorithm>
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
        found.left = std::min(found.left, word.left);
        found.right = std::max(found.right, word.right);
    }
    return found;
}

class HostCommentWidthTest : public HostSamplesTest {
protected:
    // The interpretation page of rest12_90 with `comment` as its comment.
    std::vector<WordBox> PrintWithComment(const std::string& comment, const std::string& name)
    {
        const std::string xml = SamplePath("rest12_9020240401093000.xml");
        std::string text = testsupport::ReadFileBytes(xml);
        const std::string open = "<Comment_content>", close = "</Comment_content>";
        const size_t start = text.find(open);
        const size_t end = text.find(close);
        if (start == std::string::npos || end == std::string::npos) return {};
        text.replace(start + open.size(), end - start - open.size(), comment);
        std::ofstream(xml, std::ios::binary | std::ios::trunc) << text;
        return WordBoxes(HostPdf({"print", SamplePath("rest12_90.ecg"), "--report", "rest-interpre"},
                                 m_dir.File(name + ".pdf")));
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
