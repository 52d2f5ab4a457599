// The rhythm page's row styles turn their pages with 次へ and 戻る: each press
// shows another stretch of the record, 次へ stops at the record's end, and 戻る
// brings the first page back. The full and the half-width rows pages alike.
#include <gtest/gtest.h>

#include <cairo.h>

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
    void SetUp() override { MakeRecords({"samples", m_dir.Path()}); }

    // The rhythm page of a style after the presses (none when empty): the
    // PNG, or an empty name when the host refused a press (a disabled button).
    std::string Page(int style, const std::string& clicks)
    {
        const std::string png = m_dir.File("p" + std::to_string(style) + "_" + std::to_string(m_count++) + ".png");
        std::vector<std::string> args = {"pane",    m_dir.File("rhythm_90.ecg"), "--pane", "CWndRhythmWave",
                                         "--style", std::to_string(style)};
        if (!clicks.empty()) {
            args.push_back("--click");
            args.push_back(clicks);
        }
        args.push_back("--png");
        args.push_back(png);
        return Host(args).status == 0 ? png : std::string();
    }

    testsupport::TempDir m_dir;
    int m_count = 0;
};

TEST_F(HostPagingWalk, NextTurnsEveryRowsPageToTheRecordsEndAndBackReturnsToTheFirst)
{
    // The 60 s record is more than one page in these styles at 25 mm/s.
    for (int style : {22, 23, 24, 25}) {
        SCOPED_TRACE("style " + std::to_string(style));
        const std::string firstPng = Page(style, "");
        ASSERT_FALSE(firstPng.empty());
        const PagePng first(firstPng);
        ASSERT_TRUE(first.Ok());
        std::string clicks, previous = firstPng;
        int pages = 1;
        for (; pages < 12; ++pages) {
            clicks += clicks.empty() ? "3498" : ",3498";
            const std::string png = Page(style, clicks);
            if (png.empty()) break;   // 次へ is disabled: the last page was the record's end
            const PagePng before(previous), after(png);
            EXPECT_GT(before.TraceDifferences(after), 5000) << "press " << pages;
            // 戻る after this press brings back the page before it.
            const std::string backPng = Page(style, clicks + ",3497");
            ASSERT_FALSE(backPng.empty());
            EXPECT_EQ(0, PagePng(backPng).TraceDifferences(before)) << "press " << pages;
            previous = png;
        }
        EXPECT_GE(pages, 2);
        EXPECT_LT(pages, 12);
    }
}

}  // namespace
