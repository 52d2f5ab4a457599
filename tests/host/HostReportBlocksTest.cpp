// The interpretation blocks of the report pages read back from the PDF as a
// reader sees them, word by word with its box (pdftotext -bbox): every word
// of a block lies inside the rectangle its page gives the block and none
// over the waves, and the medications print by name.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "tests/host/HostPdf.h"
#include "tests/host/HostSamples.h"

using namespace hosttest;

namespace {

constexpr double kSlack = 1.0;   // points: a glyph box may stand this far off its rectangle

struct Box {
    double left, top, right, bottom;   // points from the page's top left
    bool Holds(const Box& b) const
    {
        return b.left >= left - kSlack && b.right <= right + kSlack && b.top >= top - kSlack &&
               b.bottom <= bottom + kSlack;
    }
    bool Meets(const Box& b) const { return b.left < right && b.right > left && b.top < bottom && b.bottom > top; }
};

struct BoxedWord {
    int page;   // from 1
    std::string text;
    Box box;
};

std::vector<BoxedWord> BoxedWords(const std::string& pdf)
{
    const std::string html = CommandOutput("pdftotext -bbox " + Quoted(pdf) + " - 2>/dev/null");
    const std::regex item("<page |<word xMin=\"([-0-9.]+)\" yMin=\"([-0-9.]+)\" xMax=\"([-0-9.]+)\" "
                          "yMax=\"([-0-9.]+)\">([^<]*)</word>");
    std::vector<BoxedWord> words;
    int page = 0;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), item); it != std::sregex_iterator(); ++it) {
        if (!(*it)[1].matched) {
            ++page;
            continue;
        }
        words.push_back({page, (*it)[5].str(),
                         {std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), std::stod((*it)[4])}});
    }
    return words;
}

// What the waves print: lead names, times, numbers and their units.
bool IsWaveText(const std::string& text)
{
    static const std::regex wave("I|II|III|aV[RLF]|V[1-9]R?|[0-9]+:[0-9]{2}|[0-9.]+|mm/mV|mm/s|Hz");
    return std::regex_match(text, wave);
}

// One printed page measured from its own lines: the title's first word
// stands at the printable rectangle's top left, its last word ends at the
// right edge, the version line sits on the bottom edge.
class ReportPage {
public:
    ReportPage(const std::vector<BoxedWord>& all, int page)
    {
        for (const BoxedWord& word : all)
            if (word.page == page) m_words.push_back(word);
        if (m_words.empty()) return;
        const Box& first = m_words.front().box;
        L = first.left;
        T = first.top;
        for (const BoxedWord& word : m_words) {
            if (word.box.top < T + 1) R = std::max(R, word.box.right);
            B = std::max(B, word.box.bottom);
        }
    }
    bool Empty() const { return m_words.empty(); }
    double PerMille(double n) const { return (B - T) * n / 1000; }
    double HalfWidth() const { return (R - L) / 2; }
    static double Mm(double mm) { return mm * kPointsPerMm; }

    // Every word between the title and the version line that is not in
    // `others` (blocks of their own, the waves' captions) lies in the block,
    // and no word of the block over a wave area.
    void ExpectBlockIn(const Box& block, const std::vector<Box>& waves, const std::vector<Box>& others = {}) const
    {
        for (const BoxedWord& word : m_words) {
            const Box& b = word.box;
            if (b.bottom <= T + PerMille(20) + kSlack || b.top >= B - PerMille(20) - kSlack) continue;
            bool over = false, caption = false, other = false;
            for (const Box& wave : waves) {
                over = over || wave.Meets(b);
                // a wave caption stands on the grid's top edge
                caption = caption || (b.bottom <= wave.top + kSlack && b.top >= wave.top - PerMille(40) &&
                                      b.left >= wave.left - kSlack && b.left < wave.right);
            }
            for (const Box& box : others) other = other || box.Holds(b);
            if (over) {
                EXPECT_TRUE(IsWaveText(word.text)) << "over the waves: " << word.text << " at " << b.left / Mm(1)
                                                   << ", " << b.top / Mm(1) << " mm";
            } else if (!caption && !other) {
                EXPECT_TRUE(block.Holds(b)) << "outside its block: " << word.text << " at " << b.left / Mm(1) << ", "
                                            << b.top / Mm(1) << " mm";
            }
        }
    }
    // Whether `text` is printed inside the box.
    bool Prints(const std::string& text, const Box& box) const
    {
        for (const BoxedWord& word : m_words)
            if (word.text == text && box.Holds(word.box)) return true;
        return false;
    }
    std::string Texts() const
    {
        std::string texts;
        for (const BoxedWord& word : m_words) texts += word.text + " ";
        return texts;
    }

    double L = 0, T = 0, R = 0, B = 0;

private:
    std::vector<BoxedWord> m_words;
};

class HostReportBlocks : public HostSamplesTest {
protected:
    void SetUp() override
    {
        if (!HavePoppler()) GTEST_SKIP() << "pdftotext and pdftoppm (poppler-utils) are not installed";
        HostSamplesTest::SetUp();
    }
    std::vector<BoxedWord> Print(const std::string& record, const std::vector<std::string>& options)
    {
        const std::string pdf = m_dir.File(record + "-" + options[0] + ".pdf");
        std::vector<std::string> args = {"print", SamplePath(record + ".ecg"), "--report"};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), {"--pdf", pdf});
        const HostRun run = Host(args);
        EXPECT_EQ(0, run.status) << run.err;
        return BoxedWords(pdf);
    }
};

}  // namespace

TEST_F(HostReportBlocks, TheRestingBlocksStayInTheirRectanglesAndOffTheWaves)
{
    {
        SCOPED_TRACE("rest-ame: the band above the twelve leads");
        const ReportPage page(Print("rest12_90", {"rest-ame"}), 1);
        ASSERT_FALSE(page.Empty());
        const double y0 = page.T + page.PerMille(330);
        page.ExpectBlockIn({page.L, page.T + page.PerMille(20), page.R, page.T + page.PerMille(310)},
                           {{page.L, y0 + page.PerMille(5), page.L + page.Mm(260), page.B - page.PerMille(20)}});
        EXPECT_NE(std::string::npos, page.Texts().find("医師による確認が必要です"));
    }
    {
        // A rhythm record's own kind brings only the rhythm print table; the
        // US-style block needs the resting one, or it prints its captions
        // and the patient's data nowhere.
        SCOPED_TRACE("rest-ame of a rhythm record");
        const ReportPage page(Print("rhythm_90", {"rest-ame"}), 1);
        ASSERT_FALSE(page.Empty());
        const Box band = {page.L, page.T + page.PerMille(20), page.R, page.T + page.PerMille(310)};
        for (const char* text : {"患者ID", "MV-1003", "心拍数(bpm)", "ﾐﾈｿﾀｺｰﾄﾞ"})
            EXPECT_TRUE(page.Prints(text, band)) << text;
    }
    {
        SCOPED_TRACE("rest-interpre: the left half beside the average beats");
        const ReportPage page(Print("rest12_90", {"rest-interpre"}), 1);
        ASSERT_FALSE(page.Empty());
        const double top = page.T + page.PerMille(40);
        const double x2 = page.L + page.HalfWidth() + page.Mm(2);
        const Box block = {page.L, top, page.L + page.HalfWidth(), top + page.PerMille(500)};
        page.ExpectBlockIn(block, {{x2, top, x2 + page.Mm(130), page.T + page.PerMille(740)},
                                   {page.L, page.T + page.PerMille(745), page.L + page.Mm(260), page.B}});
        for (const char* caption : {"QT/QTc", "ﾐﾈｿﾀｺｰﾄﾞ", "IVRELｺｰﾄﾞ", "降圧剤", "抗血小板薬"})
            EXPECT_TRUE(page.Prints(caption, block)) << caption;
    }
}

TEST_F(HostReportBlocks, TheRhythmAndExtraLeadBlocksStayInTheLeftHalfAndPrintTheMedicationsByName)
{
    {
        SCOPED_TRACE("rhythm-comment");
        const std::vector<BoxedWord> words = Print("rhythm_90", {"rhythm-comment"});
        for (int number = 1; number <= 2; ++number) {
            SCOPED_TRACE(number);
            const ReportPage page(words, number);
            ASSERT_FALSE(page.Empty());
            const double y = page.T + page.PerMille(number == 1 ? 90 : 40);
            const Box block = {page.L, y, page.L + page.HalfWidth(), page.B - page.PerMille(20)};
            const Box patient = {page.L, page.T + page.PerMille(20), page.R, page.T + page.PerMille(70)};
            page.ExpectBlockIn(block, {{page.L + page.HalfWidth(), y + page.PerMille(5),
                                        page.L + page.HalfWidth() + page.Mm(135), page.B - page.PerMille(20)}},
                               {patient});
            if (number == 1) {
                for (const char* name : {"降圧剤", "抗血小板薬"}) EXPECT_TRUE(page.Prints(name, block)) << name;
            }
        }
    }
    {
        SCOPED_TRACE("rest-interpre of a rhythm record");
        const ReportPage page(Print("rhythm_90", {"rest-interpre"}), 1);
        ASSERT_FALSE(page.Empty());
        const Box block = {page.L, page.T + page.PerMille(125), page.L + page.HalfWidth(), page.B - page.PerMille(30)};
        const double x2 = page.L + page.HalfWidth() + page.Mm(2);
        page.ExpectBlockIn(block, {{x2, page.T + page.PerMille(110), x2 + page.Mm(130), page.B - page.PerMille(30)}},
                           {{page.L, page.T + page.PerMille(40), page.R, page.T + page.PerMille(100)}});
        for (const char* name : {"降圧剤", "抗血小板薬"}) EXPECT_TRUE(page.Prints(name, block)) << name;
    }
    {
        SCOPED_TRACE("extra-comment with the strip");
        const std::vector<BoxedWord> words = Print("extra_90", {"extra-comment", "--strip"});
        for (int number = 1; number <= 2; ++number) {
            SCOPED_TRACE(number);
            const ReportPage page(words, number);
            ASSERT_FALSE(page.Empty());
            const double top = page.T + page.PerMille(40);
            const Box block = {page.L, top, page.L + page.HalfWidth(), top + page.PerMille(940)};
            page.ExpectBlockIn(block, {{page.L + page.HalfWidth(), top + page.PerMille(5),
                                        page.L + page.HalfWidth() + page.Mm(135), page.B - page.PerMille(20)}});
            // The medication row prints the names, not their pick-list indices.
            for (const char* name : {"降圧剤", "抗血小板薬"}) EXPECT_TRUE(page.Prints(name, block)) << name;
        }
    }
}

TEST_F(HostReportBlocks, TheRRBlockEndsLeftOfTheResultTableAndAboveTheGraphs)
{
    const ReportPage page(Print("rr_90", {"rr-result"}), 1);
    ASSERT_FALSE(page.Empty());
    const Box block = {page.L, page.T + page.PerMille(80), page.L + page.HalfWidth(), page.T + page.PerMille(515)};
    const Box patient = {page.L, page.T + page.PerMille(20), page.R, page.T + page.PerMille(70)};
    // The result table from 520/1000 across, the histogram and the trend
    // from 515/1000 down: each a view with texts of its own.
    const double W = page.R - page.L;
    const Box table = {page.L + W * 0.52, page.T + page.PerMille(150), page.R, page.T + page.PerMille(480)};
    const Box graphs = {page.L, page.T + page.PerMille(515), page.R, page.B - page.PerMille(20)};
    page.ExpectBlockIn(block, {}, {patient, table, graphs});
    for (const char* caption : {"依頼医師", "検査技師", "総心拍数", "CV(%)"})
        EXPECT_TRUE(page.Prints(caption, block)) << caption;
}
