// The panes turn their pages with 次へ and 戻る: each press shows another
// stretch of the record, 次へ stops at the record's end, and 戻る brings the
// page before back, in every pane and page style, at either paper speed.
// Records of the record maker's other shapes (lead counts, lengths that are
// no whole number of pages, real records) page to their end the same way on
// screen, in the view and on paper.
#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <future>
#include <fstream>
#include <iostream>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "tests/host/HostPdf.h"
#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"
#include "tests/support/PngImage.h"

using namespace hosttest;

namespace {

// A PNG read into memory; empty when it cannot be read.
class PagePng {
public:
    explicit PagePng(const std::string& path) : m_surface(cairo_image_surface_create_from_png(path.c_str()))
    {
        if (cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS) cairo_surface_flush(m_surface);
    }
    ~PagePng() { cairo_surface_destroy(m_surface); }
    PagePng(const PagePng&) = delete;
    PagePng& operator=(const PagePng&) = delete;

    bool Ok() const { return cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS; }
    uint32_t At(int x, int y) const
    {
        const unsigned char* row =
            cairo_image_surface_get_data(m_surface) + y * cairo_image_surface_get_stride(m_surface);
        return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
    }
    // Pixels of the traces' box that differ from the other page.
    int TraceDifferences(const PagePng& other) const
    {
        int count = 0;
        for (int y = 125; y < 820; ++y)
            for (int x = 100; x < 1890; ++x) count += At(x, y) != other.At(x, y);
        return count;
    }

private:
    cairo_surface_t* m_surface;
};

class HostPagingWalk : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeRecords({"samples", m_dir.Path()});
        MakeRecords({"examinations", m_dir.Path()});
    }

    // The pane in a page style after the presses (none when empty): the PNG,
    // or an empty name when the host refused a press (a disabled button).
    std::string Page(const std::string& record, const std::string& pane, const std::string& style,
                     const std::string& clicks)
    {
        const std::string png = m_dir.File("p" + std::to_string(m_count.fetch_add(1)) + ".png");
        std::vector<std::string> args = {"pane", record, "--pane", pane};
        if (!style.empty()) args.insert(args.end(), {"--style", style});
        if (!clicks.empty()) args.insert(args.end(), {"--click", clicks});
        args.insert(args.end(), {"--png", png});
        return Host(args).status == 0 ? png : std::string();
    }

    // Every pane and page style the host shows the record in ("CLASS-STYLE",
    // or "CLASS" for a pane of one style).
    std::vector<std::pair<std::string, std::string>> PanesOf(const std::string& record)
    {
        const std::string all = m_dir.File("all" + std::to_string(m_count.fetch_add(1)));
        EXPECT_EQ(0, Host({"pane", record, "--pane", "all", "--out", all}).status);
        std::vector<std::pair<std::string, std::string>> panes;
        for (const std::string& file : testsupport::FolderEntries(all)) {
            const std::string name = file.substr(0, file.rfind('.'));
            const size_t dash = name.rfind('-');
            if (dash == std::string::npos)
                panes.emplace_back(name, "");
            else
                panes.emplace_back(name.substr(0, dash), name.substr(dash + 1));
        }
        return panes;
    }

    struct Walked {
        int pages = 0;
        std::string problems;   // what went wrong, one line each
    };

    // Presses 次へ until it is disabled, each press showing another page and
    // 戻る after it the page before.
    Walked Walk(const std::string& record, const std::string& pane, const std::string& style)
    {
        Walked walked;
        const std::string firstPng = Page(record, pane, style, "");
        if (firstPng.empty()) return walked;
        auto problem = [&](int press, const std::string& what) {
            walked.problems += "\n  press " + std::to_string(press) + ": " + what;
        };
        std::string clicks, previous = firstPng;
        int pages = 1;
        for (; pages < kMostPages; ++pages) {
            clicks += clicks.empty() ? "3498" : ",3498";
            const std::string png = Page(record, pane, style, clicks);
            if (png.empty()) break;   // 次へ is disabled: the last page was the record's end
            const PagePng before(previous), after(png);
            if (before.TraceDifferences(after) <= 5000) problem(pages, "次へ left the page as it was");
            const std::string backPng = Page(record, pane, style, clicks + ",3497");
            if (backPng.empty())
                problem(pages, "戻る is disabled");
            else if (PagePng(backPng).TraceDifferences(before) != 0)
                problem(pages, "戻る did not bring back the page before");
            previous = png;
        }
        if (pages == kMostPages) problem(pages, "次へ never stopped");
        walked.pages = pages;
        return walked;
    }

    static constexpr int kMostPages = 16;
    testsupport::TempDir m_dir;
    std::atomic<int> m_count{0};
};

// Every pane of every record longer than a page, in every page style:
// 次へ until it is disabled, 戻る after each press. (The exercise panes'
// 戻る and 次へ step through the stored blocks and stay enabled at either
// end; they are no pages.)
TEST_F(HostPagingWalk, InEveryPaneAndStyleNextTurnsToTheRecordsEndAndBackReturnsEachPage)
{
    int paged = 0;
    for (const char* file : {"rr_90.ecg", "rhythm38_90.ecg", "mstep243.ecg"}) {
        const std::string record = m_dir.File(file);
        const auto panes = PanesOf(record);
        // Four panes walked at a time, each by runs of its own.
        for (size_t first = 0; first < panes.size(); first += 4) {
            std::vector<std::future<Walked>> walks;
            for (size_t i = first; i < std::min(first + 4, panes.size()); ++i)
                walks.push_back(std::async(std::launch::async,
                                           [&, i] { return Walk(record, panes[i].first, panes[i].second); }));
            for (size_t i = first; i < first + walks.size(); ++i) {
                const Walked walked = walks[i - first].get();
                EXPECT_EQ("", walked.problems) << file << " " << panes[i].first << " " << panes[i].second;
                paged += walked.pages > 1;
            }
        }
    }
    EXPECT_GE(paged, 10);
}

// At 50 mm/s a page holds half the record it holds at 25: the rows turn
// twice as many pages, and the one-lead strips, drawn at their own speed,
// still show the record on one.
TEST_F(HostPagingWalk, AtFiftyMillimetresASecondTheRowsTurnTwiceAsManyPagesAndTheStripsStillNone)
{
    const std::string record = m_dir.File("rhythm_90.ecg");
    std::map<std::string, int> at25;
    for (const char* style : {"22", "24"}) {
        const Walked walked = Walk(record, "CWndRhythmWave", style);
        EXPECT_EQ("", walked.problems) << style;
        at25[style] = walked.pages;
    }
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path())) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("rhythm_90", 0) != 0 || entry.path().extension() != ".xml") continue;
        std::string xml = testsupport::ReadFileBytes(entry.path().string());
        const size_t speed = xml.find("<Speed>25.0</Speed>");
        ASSERT_NE(speed, std::string::npos);
        xml.replace(speed, 19, "<Speed>50.0</Speed>");
        std::ofstream(entry.path(), std::ios::binary) << xml;
    }
    for (const char* style : {"22", "24"}) {
        SCOPED_TRACE(style);
        const Walked walked = Walk(record, "CWndRhythmWave", style);
        EXPECT_EQ("", walked.problems);
        const int pages = walked.pages;
        EXPECT_GE(pages, 2 * at25[style] - 1);
        EXPECT_LE(pages, 2 * at25[style]);
    }
    // The one-lead strips fit the record whatever the paper speed: no second page.
    for (const char* style : {"13", "14", "15"}) {
        SCOPED_TRACE(std::string("strip style ") + style);
        const std::string png = m_dir.File("strip.png");
        EXPECT_EQ(0, Host({"view", record, "--view", "CViewRhythmWave", "--style", style, "--png", png}).status);
        const HostRun second =
            Host({"view", record, "--view", "CViewRhythmWave", "--style", style, "--page", "2", "--png", png});
        EXPECT_EQ(1, second.status);
        EXPECT_NE(second.err.find("--page 2 is past the record's end (1 page)"), std::string::npos) << second.err;
    }
}

}  // namespace

// ---- records shaped unlike the samples --------------------------------------------

namespace {

// The pixels that differ between two pictures of one size; -1 when either
// cannot be read or their sizes differ.
int PixelDifferences(const std::string& a, const std::string& b)
{
    const testsupport::PngImage first(a), second(b);
    if (!first.Ok() || !second.Ok() || first.Width() != second.Width() || first.Height() != second.Height()) return -1;
    int count = 0;
    for (int y = 0; y < first.Height(); ++y)
        for (int x = 0; x < first.Width(); ++x) count += first.Pixel(x, y) != second.Pixel(x, y);
    return count;
}

// A record of the record maker and its twin, whose last second is the
// mirror image of the second before it: a page that shows the record's end
// differs between the two, any other page is the same.
struct ShapedRecord {
    std::string record;
    std::string twin;
    double seconds = 0.0;
    // The names the pages label the leads with, where each is to stand once
    // a page (empty: not looked at).
    std::vector<std::string> leads;
};

// What a walk found: the pages it turned (or printed), one line a problem.
struct Walked {
    int pages = 0;
    std::string problems;
};

// One walk and what it is of, for the message.
struct Walk {
    std::string what;
    std::function<Walked()> run;
};

class HostPagingShapesWalk : public ::testing::Test {
protected:
    // `maker` are the record maker's arguments without the output: an MFER
    // file (.mwf) gets its record XML by name, a device record beside it.
    ShapedRecord Make(const std::string& name, const std::string& extension, std::vector<std::string> maker,
                      double seconds, std::vector<std::string> leads = {})
    {
        ShapedRecord shape;
        shape.record = m_dir.File(name + extension);
        shape.twin = m_dir.File(name + "_end" + extension);
        shape.seconds = seconds;
        shape.leads = std::move(leads);
        for (const bool twin : {false, true}) {
            std::vector<std::string> args = maker;
            const std::string stem = twin ? name + "_end" : name;
            args.insert(args.end(), {"--out", twin ? shape.twin : shape.record});
            if (extension == ".mwf")
                args.insert(args.end(), {"--xml-out", m_dir.File("Raw_" + stem + "20240401093000.xml")});
            else
                args.push_back("--xml");
            if (twin) args.insert(args.end(), {"--mirrored-end", "1"});
            MakeRecords(args);
        }
        return shape;
    }

    // The pane after `presses` presses of 次へ (and 戻る after them with
    // `back`): the PNG, or "" when the host refused a press (a disabled button).
    std::string PanePicture(const std::string& record, const std::string& pane, const std::string& style, int presses,
                            bool back)
    {
        std::string clicks;
        for (int i = 0; i < presses; ++i) clicks += i ? ",3498" : "3498";
        if (back) clicks += ",3497";
        const std::string png = m_dir.File("p" + std::to_string(m_count.fetch_add(1)) + ".png");
        std::vector<std::string> args = {"pane", record, "--pane", pane, "--style", style, "--size", "800x600"};
        if (!clicks.empty()) args.insert(args.end(), {"--click", clicks});
        args.insert(args.end(), {"--png", png});
        return Host(args).status == 0 ? png : std::string();
    }

    // 次へ until it is disabled: the first paint comes back after 次へ and
    // 戻る, each press shows another page, and the last page shows the
    // record's end (the twin's last page differs from it).
    Walked TurnPages(const ShapedRecord& shape, const std::string& pane, const std::string& style)
    {
        Walked walked;
        auto problem = [&](const std::string& what) { walked.problems += "\n  " + what; };
        const std::string first = PanePicture(shape.record, pane, style, 0, false);
        if (first.empty()) {
            problem("the pane does not show the record");
            return walked;
        }
        std::string previous = first;
        int presses = 0;
        for (; presses < kMostPages; ++presses) {
            const std::string next = PanePicture(shape.record, pane, style, presses + 1, false);
            if (next.empty()) break;   // 次へ is disabled
            if (presses == 0) {
                const std::string back = PanePicture(shape.record, pane, style, 1, true);
                if (back.empty())
                    problem("戻る is disabled after 次へ");
                else if (PixelDifferences(back, first) != 0)
                    problem("次へ then 戻る shows the first page otherwise than its first paint");
            }
            if (PixelDifferences(previous, next) < kTurnedPixels)
                problem("press " + std::to_string(presses + 1) + " of 次へ left the page as it was");
            previous = next;
        }
        if (presses == kMostPages) problem("次へ never stopped");
        walked.pages = presses + 1;
        EndShown(walked, first, PanePicture(shape.twin, pane, style, 0, false), previous,
                 PanePicture(shape.twin, pane, style, presses, false));
        return walked;
    }

    // The twin's pictures differ from the record's on the last page, and on
    // the first only when that is the last: the pages show the record's end
    // there and nowhere else (no picture of the whole record beside them).
    static void EndShown(Walked& walked, const std::string& first, const std::string& twinFirst,
                         const std::string& last, const std::string& twinLast)
    {
        if (walked.pages > 1 && !first.empty() && PixelDifferences(first, twinFirst) != 0)
            walked.problems += "\n  the first page shows the record's end";
        if (PixelDifferences(last, twinLast) <= 0)
            walked.problems += "\n  the last page (" + std::to_string(walked.pages) + ") does not show the record's end";
    }

    // The multi-lead view in a wave style, page by page as the view command
    // shows it (the rest layouts page so, by the strip and on paper): the
    // pages it counts turn to the record's end, the last one showing it.
    Walked TurnViewPages(const ShapedRecord& shape, const std::string& style, bool checkFirst)
    {
        Walked walked;
        auto picture = [&](const std::string& record, int page, HostRun* run = nullptr) {
            const std::string png = m_dir.File("v" + std::to_string(m_count.fetch_add(1)) + ".png");
            const HostRun done = Host({"view", record, "--view", "CViewRhythmWave", "--style", style, "--size",
                                       "800x600", "--page", std::to_string(page), "--png", png});
            if (run) *run = done;
            return done.status == 0 ? png : std::string();
        };
        HostRun past;
        picture(shape.record, kMostViewPages, &past);
        std::smatch counted;
        if (past.status != 1 || !std::regex_search(past.err, counted, std::regex("past the record's end \\(([0-9]+) page"))) {
            walked.problems += "\n  no page count: " + past.err;
            return walked;
        }
        walked.pages = std::stoi(counted[1]);
        const std::string last = picture(shape.record, walked.pages);
        if (walked.pages > 1 && PixelDifferences(picture(shape.record, walked.pages - 1), last) < kTurnedPixels)
            walked.problems += "\n  the last page shows the page before it again";
        // The first pages of the record and its twin are compared once a record.
        const bool first = walked.pages > 1 && checkFirst;
        EndShown(walked, first ? picture(shape.record, 1) : "", first ? picture(shape.twin, 1) : "", last,
                 picture(shape.twin, walked.pages));
        return walked;
    }

    static int PdfPages(const std::string& pdf)
    {
        std::smatch match;
        const std::string info = CommandOutput("pdfinfo " + Quoted(pdf) + " 2>/dev/null");
        return std::regex_search(info, match, std::regex("Pages: +([0-9]+)")) ? std::stoi(match[1]) : 0;
    }

    // Page `page` of a PDF at a low resolution, enough to tell two pages apart.
    std::string PdfPicture(const std::string& pdf, int page)
    {
        const std::string stem = m_dir.File("r" + std::to_string(m_count.fetch_add(1)));
        const std::string command = "pdftoppm -r 30 -f " + std::to_string(page) + " -l " + std::to_string(page) +
                                    " -png -singlefile " + Quoted(pdf) + " " + Quoted(stem);
        return std::system(command.c_str()) == 0 ? stem + ".png" : std::string();
    }

    // Every page the report prints of the record: as many as the twin's, the
    // last showing the record's end; the start times the pages print follow
    // one another by one step from 0:00 to the stretch that holds the end;
    // no page names a lead twice.
    Walked PrintPages(const ShapedRecord& shape, const std::string& report, const std::string& style)
    {
        Walked walked;
        auto problem = [&](const std::string& what) { walked.problems += "\n  " + what; };
        const std::string pdf = m_dir.File("r" + std::to_string(m_count.fetch_add(1)) + ".pdf");
        const std::string twinPdf = m_dir.File("r" + std::to_string(m_count.fetch_add(1)) + ".pdf");
        for (const auto& [record, out] : {std::pair(shape.record, pdf), std::pair(shape.twin, twinPdf)}) {
            const HostRun run = Host({"print", record, "--report", report, "--style", style, "--pdf", out});
            if (run.status != 0) {
                problem("the report is not printed: " + run.err);
                return walked;
            }
        }
        const std::vector<PdfWord> words = PdfWords(pdf);
        walked.pages = PdfPages(pdf);
        const int twinPages = PdfPages(twinPdf);
        if (walked.pages < 1 || twinPages != walked.pages) {
            problem("the twin prints " + std::to_string(twinPages) + " pages, the record " +
                    std::to_string(walked.pages));
            return walked;
        }
        // A printed page holds no picture of the whole record: only the last
        // page is looked at.
        if (PixelDifferences(PdfPicture(pdf, walked.pages), PdfPicture(twinPdf, walked.pages)) <= 0)
            problem("the last page (" + std::to_string(walked.pages) + ") does not show the record's end");

        const std::regex time("([0-9]):([0-5][0-9])");
        std::vector<int> times;
        std::map<std::pair<int, std::string>, int> named;
        for (const PdfWord& word : words) {
            std::smatch m;
            if (std::regex_match(word.text, m, time)) times.push_back(std::stoi(m[1]) * 60 + std::stoi(m[2]));
            if (std::find(shape.leads.begin(), shape.leads.end(), word.text) != shape.leads.end())
                ++named[{word.page, word.text}];
        }
        for (const auto& [where, count] : named)
            if (count > 1)
                problem("page " + std::to_string(where.first) + " names " + where.second + " " +
                        std::to_string(count) + " times");
        if (!times.empty()) {
            std::string printed;
            for (int t : times) printed += " " + std::to_string(t);
            const int step = times.size() > 1 ? times[1] - times[0] : 0;
            bool even = times[0] == 0 && (times.size() == 1 || step > 0);
            for (size_t i = 1; i < times.size(); ++i) even = even && times[i] - times[i - 1] == step;
            const double last = times.back();
            if (!even || last >= shape.seconds || (times.size() > 1 && last + step < shape.seconds))
                problem("the pages start their stretches at" + printed + " s of a record of " +
                        std::to_string(shape.seconds) + " s");
        }
        return walked;
    }

    // Runs the walks four at a time; each one's problems are a failure.
    void RunAll(std::vector<Walk> walks)
    {
        if (!HavePoppler()) {
            // The printed pages are read with poppler-utils.
            std::cout << "poppler-utils are not installed: the reports are not walked\n";
            walks.erase(std::remove_if(walks.begin(), walks.end(),
                                       [](const Walk& walk) { return walk.what.find(" --report ") != std::string::npos; }),
                        walks.end());
        }
        std::atomic<size_t> next{0};
        std::vector<Walked> found(walks.size());
        std::vector<std::future<void>> workers;
        for (int w = 0; w < 4; ++w)
            workers.push_back(std::async(std::launch::async, [&] {
                for (size_t i = next++; i < walks.size(); i = next++) found[i] = walks[i].run();
            }));
        for (auto& worker : workers) worker.get();
        for (size_t i = 0; i < walks.size(); ++i) EXPECT_EQ("", found[i].problems) << walks[i].what;
    }

    Walk PaneWalk(const ShapedRecord& shape, const std::string& pane, const std::string& style)
    {
        return {shape.record + " " + pane + " " + style,
                [this, shape, pane, style] { return TurnPages(shape, pane, style); }};
    }
    // `checkFirst`: the walk that compares the record's first page with its twin's.
    Walk ViewWalk(const ShapedRecord& shape, const std::string& style, bool checkFirst = false)
    {
        return {shape.record + " CViewRhythmWave --style " + style,
                [this, shape, style, checkFirst] { return TurnViewPages(shape, style, checkFirst); }};
    }
    Walk ReportWalk(const ShapedRecord& shape, const std::string& report, const std::string& style)
    {
        return {shape.record + " --report " + report + " --style " + style,
                [this, shape, report, style] { return PrintPages(shape, report, style); }};
    }

    static constexpr int kMostPages = 16;
    static constexpr int kMostViewPages = 99;
    // A turned page: at 800x600, the traces of a page are some thousands of pixels.
    static constexpr int kTurnedPixels = 500;
    testsupport::TempDir m_dir;
    std::atomic<int> m_count{0};
};

// Records of one, two, three, twelve and fifteen leads, none a whole number of
// pages long, where their lead count or length decides the page: the rhythm
// and RR rows of three leads a group (fewer leads than rows) in their panes,
// the rest and extra layouts of records other than the standard twelve
// (continuous, synchronous, half-width; columns the record has no leads for)
// in the view, and the reports, whose half-width layouts print on the
// full-width page. Each walk turns a page at each step
// up to the page that shows the record's end, and the first page looks the
// same however it was reached.
TEST_F(HostPagingShapesWalk, RecordsOfEveryLeadCountPageToTheirEndAlikeOnScreenAndOnPaper)
{
    const ShapedRecord one = Make("rhythm1", ".ecg", {"synth", "--kind", "rhythm", "--leads", "1", "--seconds", "45"},
                                  45, {"II"});
    const ShapedRecord three = Make("rhythm3", ".ecg", {"synth", "--kind", "rhythm", "--leads", "3", "--seconds", "61"},
                                    61, {"II", "V5", "V1"});
    const ShapedRecord twelve = Make("rhythm12", ".mwf", {"mfer", "--kind", "rhythm12", "--seconds", "45"}, 45);
    const ShapedRecord fifteen = Make("rhythm15", ".mwf", {"mfer", "--kind", "rhythm15", "--seconds", "61"}, 61);
    const ShapedRecord rr = Make("rr2", ".ecg", {"synth", "--kind", "rr", "--leads", "2", "--seconds", "45"}, 45);
    const ShapedRecord rest = Make("rest12", ".ecg", {"synth", "--kind", "rest12"}, 10);
    const ShapedRecord freeze = Make("freeze2", ".mwf", {"mfer", "--kind", "freeze", "--leads", "2", "--seconds", "45"},
                                     45, {"I", "II"});
    // The panes walked are those with 次へ whose rows the record does not
    // fill; a view walk of each other record compares its first page with its
    // twin's (a pane walk does for the records it pages).
    std::vector<Walk> walks = {
        PaneWalk(one, "CWndRhythmWave", "23"),     PaneWalk(one, "CWndRhythmComment", "25"),
        PaneWalk(rr, "CWndRRWave", "3"),           ViewWalk(one, "1"),
        ViewWalk(one, "5"),                        ViewWalk(three, "5", true),
        ViewWalk(twelve, "3", true),               ViewWalk(fifteen, "5", true),
        ViewWalk(fifteen, "10"),                   ViewWalk(freeze, "26", true),
        ReportWalk(one, "rhythm-wave", "17"),      ReportWalk(three, "rhythm-comment", "25"),
        ReportWalk(fifteen, "rest-wave", "5"),     ReportWalk(freeze, "extra-wave", "23"),
        ReportWalk(freeze, "extra-comment", "25"),
    };
    for (const char* style : {"4", "6"}) walks.push_back(ReportWalk(rest, "rest-wave", style));
    RunAll(walks);
}

// The real records: MIT-BIH's two leads (an extra-lead MFER file, 45 s of
// it) and PTB's fifteen (38.4 s).
TEST_F(HostPagingShapesWalk, TheMitBihAndPtbRecordsPageToTheirEndAlikeOnScreenAndOnPaper)
{
    REQUIRE_SHARED_DATA(mitdb, "physionet/mitdb/100.hea");
    REQUIRE_SHARED_DATA(ptb, "physionet/ptb/s0010_re.hea");
    const auto stem = [](const std::string& hea) { return hea.substr(0, hea.size() - 4); };
    const ShapedRecord two = Make("mitdb100", ".mwf", {"wfdb", "--mfer", "--record", stem(mitdb), "--seconds", "45"},
                                  45, {"MLII", "V5"});
    const ShapedRecord ptbRecord = Make("ptb", ".mwf", {"wfdb", "--mfer", "--record", stem(ptb)}, 38.4);
    RunAll({
        PaneWalk(two, "CWndRhythmWave", "38"),
        ViewWalk(two, "5"),
        ViewWalk(ptbRecord, "6", true),
        ReportWalk(two, "rhythm-wave", "17"),
        ReportWalk(ptbRecord, "rest-wave", "6"),
    });
}

}  // namespace
