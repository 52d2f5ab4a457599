// Printed texts that must not lie over one another: the start time over the
// first lead name of the continuous extra-lead pages, and the two captions
// over the average beats of the interpretation page, read back from the PDF
// with the boxes of its words.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/HostPdf.h"
#include "tests/host/HostPdfBoxes.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"

using namespace hosttest;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

class HostTextOverlapTest : public HostSamplesTest {
protected:
    std::string Print(const std::vector<std::string>& args, const std::string& name)
    {
        return HostPdf(args, m_dir.File(name + ".pdf"));
    }
};

}  // namespace

TEST_F(HostTextOverlapTest, TheContinuousExtraPagesPrintTheStartTimeClearOfTheFirstLeadName)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    for (const char* style : {"22", "24", "26"}) {
        SCOPED_TRACE(style);
        const std::string pdf = Print({"print", SamplePath("extra_90.ecg"), "--view", "CViewRhythmWave", "--style",
                                       style},
                                      std::string("extra") + style);
        const std::vector<WordBox> words = WordBoxes(pdf);
        const std::regex startTime("[0-9]+:[0-9]{2}");
        bool time = false, name = false;
        for (const WordBox& word : words) {
            time = time || std::regex_match(word.text, startTime);
            name = name || word.text == "V3R";
        }
        EXPECT_TRUE(time);
        EXPECT_TRUE(name);
        EXPECT_EQ(std::vector<std::string>(), OverlappingWords(words));
    }
}

TEST_F(HostTextOverlapTest, TheAverageBeatCaptionsOfTheInterpretationPageStandApart)
{
    if (!HavePoppler()) GTEST_SKIP() << "poppler-utils are not installed";
    // A record with a time after the load: its first caption ends in that
    // time and is wider than the second caption's usual place.
    const std::string record = SamplePath("rest12_90.ecg");
    const std::string xml = SamplePath("rest12_9020240401093000.xml");
    std::string text = ReadFile(xml);
    ASSERT_FALSE(text.empty());
    if (text.find("<Load_time>") == std::string::npos) {
        const size_t section = text.find("<Mstep_section>");
        if (section != std::string::npos)
            text.insert(section + std::strlen("<Mstep_section>"), "<Load_time>03:00</Load_time>");
        else
            text.insert(text.find("</Record>"), "<Mstep_section><Load_time>03:00</Load_time></Mstep_section>");
        WriteFile(xml, text);
    }
    const std::string pdf = Print({"print", record, "--report", "rest-interpre"}, "interpre");
    const std::vector<WordBox> words = WordBoxes(pdf);
    const WordBox* load = nullptr;
    for (const WordBox& word : words)
        if (word.text == "負荷後") load = &word;
    ASSERT_NE(nullptr, load);
    // The captions' line: the words standing on the same line as the load.
    std::vector<WordBox> line;
    for (const WordBox& word : words)
        if (word.page == load->page && std::abs(word.top - load->top) < 1.0) line.push_back(word);
    const std::regex runTogether("[0-9]{2}:[0-9]{2}[0-9]");
    bool second = false;
    for (const WordBox& word : line) {
        EXPECT_FALSE(std::regex_search(word.text, runTogether)) << word.text;
        second = second || (word.text == "mm/mV" && word.left > load->right);
    }
    EXPECT_TRUE(second);
    EXPECT_EQ(std::vector<std::string>(), OverlappingWords(line));
}
