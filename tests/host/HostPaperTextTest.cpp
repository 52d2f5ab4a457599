// Printed texts that must stand on lines of their own and clear of what is
// drawn beside them, read back from the PDF with the boxes of its words.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "tests/host/HostPdf.h"
#include "tests/host/HostPdfBoxes.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"

using namespace hosttest;

namespace {

class HostPaperTextTest : public ::testing::Test {
protected:
    std::string Print(const std::vector<std::string>& args, const std::string& name)
    {
        return HostPdf(args, m_dir.File(name + ".pdf"));
    }
    static const WordBox* Find(const std::vector<WordBox>& words, const std::string& text)
    {
        for (const WordBox& word : words)
            if (word.text == text) return &word;
        return nullptr;
    }

    testsupport::TempDir m_dir;
};

}  // namespace

TEST_F(HostPaperTextTest, TheMasterStepProtocolPrintsItsThreeLinesOneBelowAnother)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    MakeRecords({"examinations", m_dir.Path()});
    const std::string pdf =
        Print({"print", m_dir.File("mstep243.ecg"), "--view", "CViewSummaryProtocol"}, "protocol");
    const std::vector<WordBox> words = WordBoxes(pdf);
    // The three labels begin the three lines.
    const WordBox* step = Find(words, "ｽﾃｯﾌﾟ");
    const WordBox* load = Find(words, "負荷後");
    const WordBox* trip = Find(words, "ﾄﾘｯﾌﾟｶｳﾝﾄ");
    ASSERT_TRUE(step && load && trip);
    EXPECT_GE(load->top, step->bottom - 0.1);
    EXPECT_GE(trip->top, load->bottom - 0.1);
    // A line, not a page: the block stays together.
    EXPECT_LT(trip->top - step->top, 3 * (step->bottom - step->top));
    EXPECT_EQ(std::vector<std::string>(), OverlappingWords(words));
}

// Every row's time stays at its row's start on the printed rhythm and RR
// pages: moved clear of a beat, it moves by a few of its own widths, never
// half a row on, where it would read as the time of the beat beside it.
TEST_F(HostPaperTextTest, EveryPrintedRowsTimeStaysAtItsRowsStart)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    MakeRecords({"samples", m_dir.Path()});
    // The rows' times of a record of minutes ("0:10"), not the header's clock times ("09:30").
    const std::regex time("[0-9]:[0-9]{2}");
    for (const auto& [record, report] : {std::pair<std::string, std::string>{"rhythm_90.ecg", "rhythm-wave"},
                                         std::pair<std::string, std::string>{"rr_90.ecg", "rr-wave"}}) {
        SCOPED_TRACE(report);
        const std::vector<WordBox> words =
            WordBoxes(Print({"print", m_dir.File(record), "--report", report}, report));
        std::vector<const WordBox*> times;
        for (const WordBox& word : words)
            if (word.page == 1 && std::regex_match(word.text, time)) times.push_back(&word);
        ASSERT_GE(times.size(), 3u);
        double leftmost = times.front()->left;
        for (const WordBox* word : times) leftmost = std::min(leftmost, word->left);
        for (const WordBox* word : times)
            EXPECT_LE(word->left - leftmost, 6 * (word->right - word->left)) << word->text;
    }
}
