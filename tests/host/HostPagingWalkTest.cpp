// The panes turn their pages with 次へ and 戻る: each press shows another
// stretch of the record, 次へ stops at the record's end, and 戻る brings the
// page before back, in every pane and page style, at either paper speed.
#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <future>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tests/host/HostRun.h"
#include "tests/host/HostSamples.h"

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
