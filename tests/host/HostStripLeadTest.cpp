// The one-lead strip under a record's page shows the lead the record XML's
// display settings name (Rhythm_1lead), whichever record kind it is: the
// strip's trace is measured against the leads `open` lists, in millivolts
// of the strip's own calibration pulse.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "tests/host/HostPdf.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/PngImage.h"

using namespace hosttest;
using testsupport::PngImage;

namespace {

// A lead's extent in millivolts, as `open` lists it ("#3:5000 [-1.20..0.20 mV]").
struct LeadExtent {
    double low = 0.0;
    double high = 0.0;
};

std::vector<LeadExtent> OpenedExtents(const std::string& out)
{
    std::vector<LeadExtent> leads;
    const std::regex lead("#(\\d+):\\d+ \\[(-?[0-9.]+)\\.\\.(-?[0-9.]+) mV\\]");
    for (auto it = std::sregex_iterator(out.begin(), out.end(), lead); it != std::sregex_iterator(); ++it) {
        const size_t index = static_cast<size_t>(std::stoi((*it)[1]));
        if (leads.size() <= index) leads.resize(index + 1);
        leads[index] = {std::stod((*it)[2]), std::stod((*it)[3])};
    }
    return leads;
}

// The strip's trace in millivolts: how far its ink reaches above and below
// the baseline, measured with the height of the calibration pulse at its
// left end (1 mV) and the pulse's foot as the baseline; within the columns
// `left` to `right` and the rows `stripTop` to `stripBottom` when given.
struct StripTrace {
    bool ok = false;
    LeadExtent extent;
};

StripTrace MeasureStrip(const std::string& png, int stripTop, int left = 0, int right = -1, int stripBottom = -1)
{
    StripTrace trace;
    PngImage image(png);
    if (!image.Ok()) return trace;
    const int width = right < 0 ? image.Width() : std::min(right, image.Width());
    const int bottom = stripBottom < 0 ? image.Height() : std::min(stripBottom, image.Height());
    auto darkRun = [&](int x, int& first, int& last) {
        first = last = -1;
        for (int y = stripTop; y < bottom; ++y)
            if (image.Dark(x, y)) {
                if (first < 0) first = y;
                last = y;
            }
        return first >= 0;
    };
    // The pulse: the first columns with ink, its rising edge the tallest run.
    int x = left, first = -1, last = -1;
    while (x < width && !darkRun(x, first, last)) ++x;
    int pulseTop = bottom, pulseFoot = -1;
    for (; x < width && darkRun(x, first, last); ++x) {
        pulseTop = std::min(pulseTop, first);
        pulseFoot = std::max(pulseFoot, last);
    }
    // Paper between the pulse and the trace.
    while (x < width && !darkRun(x, first, last)) ++x;
    if (pulseFoot - pulseTop < 10 || x >= width) return trace;
    int high = bottom, low = -1;
    for (; x < width; ++x)
        if (darkRun(x, first, last)) {
            high = std::min(high, first);
            low = std::max(low, last);
        }
    const double mv = pulseFoot - pulseTop;
    trace.ok = true;
    trace.extent = {(pulseFoot - low) / mv, (pulseFoot - high) / mv};
    return trace;
}

// The lead whose listed extent the strip's trace comes nearest, -1 for none.
int NearestLead(const StripTrace& trace, const std::vector<LeadExtent>& leads)
{
    int nearest = -1;
    double best = 1e9;
    for (size_t i = 0; i < leads.size(); ++i) {
        const double d = std::max(std::fabs(leads[i].low - trace.extent.low), std::fabs(leads[i].high - trace.extent.high));
        if (d < best) {
            best = d;
            nearest = static_cast<int>(i);
        }
    }
    return nearest;
}

// The record XML's strip lead set to `lead`.
void NameStripLead(const std::string& xml, int lead)
{
    std::string text = testsupport::ReadFileBytes(xml);
    const std::regex element("<Rhythm_1lead>[^<]*</Rhythm_1lead>");
    ASSERT_TRUE(std::regex_search(text, element)) << xml;
    text = std::regex_replace(text, element, "<Rhythm_1lead>" + std::to_string(lead) + "</Rhythm_1lead>");
    std::ofstream(xml, std::ios::binary | std::ios::trunc) << text;
}

class HostStripLeadTest : public HostSamplesTest {
protected:
    // The strip of `record` as `view` shows it under its page (the frame's
    // lowest 160 of 1080 pixels), its trace measured.
    StripTrace ViewedStrip(const std::string& record)
    {
        const std::string png = m_dir.File("strip.png");
        const HostRun run = Host({"view", record, "--view", "CViewScroll1LeadWave", "--png", png});
        EXPECT_EQ(0, run.status) << run.err;
        return MeasureStrip(png, 1080 - 160);
    }
    // What `open` lists of the record's leads.
    std::vector<LeadExtent> Leads(const std::string& record)
    {
        const HostRun run = Host({"open", record});
        EXPECT_EQ(0, run.status) << run.err;
        return OpenedExtents(run.out);
    }
    // For each lead: the record XML names it, and the viewed strip draws it.
    void ExpectStripShows(const std::string& record, const std::string& xml, std::initializer_list<int> named)
    {
        const std::vector<LeadExtent> leads = Leads(record);
        for (int lead : named) {
            NameStripLead(xml, lead);
            const StripTrace trace = ViewedStrip(record);
            ASSERT_TRUE(trace.ok) << "no pulse and trace in the strip";
            EXPECT_EQ(lead, NearestLead(trace, leads))
                << "Rhythm_1lead " << lead << ": the strip reaches " << trace.extent.low << " to "
                << trace.extent.high << " mV";
        }
    }
    // An MFER file of the record maker with its record XML beside it.
    void MakeMfer(const std::string& leads)
    {
        MakeRecords({"mfer", "--kind", "plain", "--leads", leads, "--out", m_mfer, "--xml-out", m_mferXml});
    }

    const std::string m_mfer = m_dir.File("m.mwf");
    const std::string m_mferXml = m_dir.File("Raw_m20240401093000.xml");
};

}  // namespace

TEST_F(HostStripLeadTest, TheStripOfATwelveLeadMferFileShowsTheLeadItsRecordXmlNames)
{
    MakeMfer("12");
    ExpectStripShows(m_mfer, m_mferXml, {1, 2, 3, 9});
    // Without its record XML the file shows its first lead, and stays alone.
    ASSERT_EQ(0, std::remove(m_mferXml.c_str()));
    const StripTrace first = ViewedStrip(m_mfer);
    ASSERT_TRUE(first.ok);
    EXPECT_EQ(0, NearestLead(first, Leads(m_mfer)));
    EXPECT_NE(0, ::access(m_mferXml.c_str(), F_OK));
}

TEST_F(HostStripLeadTest, TheStripsOfFifteenAndThreeLeadMferFilesShowTheNamedLead)
{
    MakeMfer("15");
    ExpectStripShows(m_mfer, m_mferXml, {12, 4});
    MakeMfer("3");
    ExpectStripShows(m_mfer, m_mferXml, {2, 1});
}

TEST_F(HostStripLeadTest, TheStripOfAFifteenLeadRestingRecordShowsTheExtraLeadNamed)
{
    const std::string record = SamplePath("rest15_90.ecg");
    ExpectStripShows(record, SamplePath("rest15_9020240401093000.xml"), {12, 14, 7});
}

TEST_F(HostStripLeadTest, ThePrintedStripNamesTheLeadTheRecordXmlNames)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    MakeMfer("12");
    NameStripLead(m_mferXml, 5);
    const std::string pdf = HostPdf({"print", m_mfer, "--view", "CViewScroll1LeadWave"}, m_dir.File("strip.pdf"));
    std::vector<std::string> words;
    for (const PdfWord& word : PdfWords(pdf)) words.push_back(word.text);
    EXPECT_NE(words.end(), std::find(words.begin(), words.end(), "aVF"));
    EXPECT_EQ(words.end(), std::find(words.begin(), words.end(), "I"));
}

namespace {

// How often each word stands on the first page of a printed PDF.
std::map<std::string, int> FirstPageWords(const std::string& pdf)
{
    std::map<std::string, int> counts;
    for (const PdfWord& word : PdfWords(pdf))
        if (word.page == 1) ++counts[word.text];
    return counts;
}

}  // namespace

// The reports print the strip the page shows: the lead the record XML names,
// on the resting pages and the rhythm page alike.
TEST_F(HostStripLeadTest, TheReportsPrintTheStripOfTheLeadTheRecordXmlNames)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    // V4R: a lead only the strip of the interpretation page names.
    NameStripLead(SamplePath("rest15_9020240401093000.xml"), 13);
    std::map<std::string, int> words = FirstPageWords(
        HostPdf({"print", SamplePath("rest15_90.ecg"), "--report", "rest-interpre"}, m_dir.File("interpre.pdf")));
    EXPECT_EQ(1, words["V4R"]);
    // Every lead is named once on the waves' page; the strip names aVF again, not II.
    NameStripLead(SamplePath("rest12_9020240401093000.xml"), 5);
    words = FirstPageWords(
        HostPdf({"print", SamplePath("rest12_90.ecg"), "--report", "rest-wave", "--strip"}, m_dir.File("wave.pdf")));
    EXPECT_EQ(2, words["aVF"]);
    EXPECT_EQ(1, words["II"]);
    // The rhythm page names its rows' first lead (II); its strip V1, the third lead.
    NameStripLead(SamplePath("rhythm_9020240401093000.xml"), 2);
    words = FirstPageWords(
        HostPdf({"print", SamplePath("rhythm_90.ecg"), "--report", "rhythm-wave", "--strip"}, m_dir.File("rhythm.pdf")));
    EXPECT_EQ(1, words["V1"]);
    EXPECT_EQ(0, words["V5"]);
}

// A rhythm record's strip drawn by the multi-lead view (the one-lead style
// of the rhythm pages) shows and names the lead the record XML names.
TEST_F(HostStripLeadTest, TheMultiLeadViewsOneLeadStylesShowAndNameTheRecordsStripLead)
{
    const std::string rhythm = SamplePath("rhythm_90.ecg");
    const std::vector<LeadExtent> leads = Leads(rhythm);
    NameStripLead(SamplePath("rhythm_9020240401093000.xml"), 2);
    const std::string png = m_dir.File("one-lead.png");
    const HostRun run = Host({"view", rhythm, "--view", "CViewRhythmWave", "--style", "18", "--png", png});
    ASSERT_EQ(0, run.status) << run.err;
    const StripTrace trace = MeasureStrip(png, 0);
    ASSERT_TRUE(trace.ok);
    EXPECT_EQ(2, NearestLead(trace, leads)) << trace.extent.low << " to " << trace.extent.high << " mV";
    // A resting record's one-lead style as well.
    const std::string rest = SamplePath("rest12_90.ecg");
    NameStripLead(SamplePath("rest12_9020240401093000.xml"), 3);
    const HostRun restRun = Host({"view", rest, "--view", "CViewRhythmWave", "--style", "13", "--png", png});
    ASSERT_EQ(0, restRun.status) << restRun.err;
    const StripTrace restTrace = MeasureStrip(png, 0);
    ASSERT_TRUE(restTrace.ok);
    EXPECT_EQ(3, NearestLead(restTrace, Leads(rest)));
    if (!HavePoppler()) return;
    // Printed, the strip of the rhythm record is named after the lead it draws.
    const std::map<std::string, int> words =
        FirstPageWords(HostPdf({"print", rhythm, "--view", "CViewScroll1LeadWave"}, m_dir.File("one-lead.pdf")));
    EXPECT_EQ(1, words.count("V1"));
    EXPECT_EQ(0, words.count("II"));
    // The rhythm one-lead style's row runs at the paper speed, and its label
    // gives that speed, not the fitted strip's 2.50 mm/s.
    const std::map<std::string, int> styled = FirstPageWords(
        HostPdf({"print", rhythm, "--view", "CViewRhythmWave", "--style", "18"}, m_dir.File("style18.pdf")));
    EXPECT_EQ(1, styled.count("25.00"));
    EXPECT_EQ(0, styled.count("2.50"));
}

// The serial comparison opens its records as the host opens a record: its
// strips show the lead the current record's XML names, and an MFER file's
// leads are named as the file names them.
TEST_F(HostStripLeadTest, TheSerialComparisonsStripsShowTheLeadTheRecordXmlNames)
{
    if (!HavePoppler()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    NameStripLead(SamplePath("rest12_9020240401093000.xml"), 5);
    std::map<std::string, int> words =
        FirstPageWords(HostPdf({"print", SamplePath("rest12_90.ecg"), SamplePath("rest12_80.ecg"), "--report",
                                "serial-rhy"},
                               m_dir.File("serial.pdf")));
    // The limb page names each lead once a column; the two strips name aVF.
    EXPECT_EQ(4, words["aVF"]);
    EXPECT_EQ(2, words["I"]);
    MakeMfer("12");
    NameStripLead(m_mferXml, 7);
    const std::string second = m_dir.File("second.mwf");
    MakeRecords({"mfer", "--kind", "plain", "--leads", "12", "--out", second});
    words = FirstPageWords(HostPdf({"print", m_mfer, second, "--report", "serial-rhy"}, m_dir.File("mfer.pdf")));
    EXPECT_EQ(2, words["V2"]);
    EXPECT_EQ(2, words["aVF"]);
}

// The serial comparison view shows the lead the current record's XML names
// in the strips under its records and in its one-lead style, as the
// comparison pane and its report do, not lead II whatever the XML says.
TEST_F(HostStripLeadTest, TheSerialComparisonViewsStripsAndOneLeadStyleShowTheLeadTheRecordXmlNames)
{
    const std::string a = SamplePath("rest12_90.ecg");
    const std::string b = SamplePath("rest12_80.ecg");
    // aVR: inverted, told apart from II by its trace alone.
    NameStripLead(SamplePath("rest12_9020240401093000.xml"), 3);
    NameStripLead(SamplePath("rest12_8020240401093000.xml"), 3);
    const std::vector<LeadExtent> leads = Leads(a);
    const std::string png = m_dir.File("serial.png");
    for (const char* style : {"29", "13"}) {
        const HostRun run = Host({"view", a, b, "--view", "CViewSerialComRhy", "--style", style, "--png", png});
        ASSERT_EQ(0, run.status) << run.err;
        // Each record's column is half of the 1920 pixels; its strip's own
        // part (before the dark overview) the first half of the column.
        for (int column = 0; column < 2; ++column) {
            const StripTrace strip = MeasureStrip(png, 1080 - 160, column * 960, column * 960 + 480);
            ASSERT_TRUE(strip.ok) << "style " << style << ", column " << column;
            EXPECT_EQ(3, NearestLead(strip, leads))
                << "style " << style << ", column " << column << ": " << strip.extent.low << " to " << strip.extent.high;
        }
    }
    // The one-lead style's page above the strips draws that lead too.
    const StripTrace page = MeasureStrip(png, 0, 0, 960, 1080 - 160);
    ASSERT_TRUE(page.ok);
    EXPECT_EQ(3, NearestLead(page, leads)) << page.extent.low << " to " << page.extent.high;
    if (!HavePoppler()) return;
    // Printed, the one-lead style names that lead.
    const std::map<std::string, int> words = FirstPageWords(
        HostPdf({"print", a, "--view", "CViewSerialComRhy", "--style", "13"}, m_dir.File("serial.pdf")));
    EXPECT_EQ(1, words.count("aVR"));
    EXPECT_EQ(0, words.count("II"));
}
