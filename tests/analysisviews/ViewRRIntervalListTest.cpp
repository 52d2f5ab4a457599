// The RR interval list over record-maker reports: paging results and the
// wrap, the page kept across updates, printed pages with their marks, and
// lists longer than the 16-bit count.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "analysisviews/ViewRRIntervalList.h"
#include "tests/analysisviews/RRViewTestSupport.h"

namespace {

using morvelance::RRInterval;
using rrviewtest::Same;

class RRIntervalListTest : public rrviewtest::RRViewTest {
protected:
    CViewRRIntervalList* ShowList(int intervals)
    {
        OpenIntervals(Same(intervals, 800));
        return Show<CViewRRIntervalList>(800, 600);
    }
    // Makes a new record current and tells the views, as the pane does.
    void SwitchTo(const std::vector<RRInterval>& intervals, const std::string& name, bool update = true)
    {
        OpenIntervals(intervals, name);
        if (update) m_doc.UpdateAllViews(nullptr);
    }
    // The texts of the screen page and of printed page 1, each with whether it is the print.
    static std::vector<std::pair<bool, std::vector<platform::gdi::DrawRecord>>> ShownAndPrinted(
        CViewRRIntervalList& view)
    {
        rrviewtest::RecordedPrint screen(800, 600);
        view.OnDraw(&screen.DC());
        rrviewtest::RecordedPrint print(1200, 1000);
        EXPECT_TRUE(view.Print(print.Device(), print.Rect(), 1));
        return {{false, screen.Texts()}, {true, print.Texts()}};
    }
    static int CountText(const std::vector<platform::gdi::DrawRecord>& texts, const std::wstring& text)
    {
        return static_cast<int>(std::count_if(texts.begin(), texts.end(), [&](const auto& r) { return r.text == text; }));
    }
};

TEST_F(RRIntervalListTest, PagingReportsTheEndsAndWrapsForwardToTheFirstPage)
{
    CViewRRIntervalList* one = ShowList(240);
    ASSERT_NE(nullptr, one);
    EXPECT_EQ(3, one->ChangePage(0));
    EXPECT_EQ(3, one->ChangePage(1));
    EXPECT_EQ(0, one->GetCurrentPage());

    SwitchTo(Same(241, 800), "two");
    EXPECT_EQ(1, one->ChangePage(0));
    EXPECT_EQ(2, one->ChangePage(1));
    EXPECT_EQ(1, one->GetCurrentPage());
    EXPECT_EQ(1, one->ChangePage(1));   // past the last page: the first again
    EXPECT_EQ(0, one->GetCurrentPage());
    EXPECT_EQ(1, one->ChangePage(-1));  // before the first: stays
    EXPECT_EQ(0, one->GetCurrentPage());

    SwitchTo(Same(600, 800), "three");
    EXPECT_EQ(0, one->ChangePage(1));
    EXPECT_EQ(2, one->ChangePage(1));
    EXPECT_EQ(1, one->ChangePage(1));
}

TEST_F(RRIntervalListTest, AnUpdateKeepsThePageOnlyWhileTheNewListStillHasIt)
{
    CViewRRIntervalList* view = ShowList(600);
    ASSERT_NE(nullptr, view);
    view->ChangePage(2);
    ASSERT_EQ(2, view->GetCurrentPage());
    SwitchTo(Same(500, 800), "shorter");
    EXPECT_EQ(2, view->GetCurrentPage());
    SwitchTo(Same(300, 800), "two-pages");
    EXPECT_EQ(0, view->GetCurrentPage());
    // Without a current record the update changes nothing.
    view->ChangePage(1);
    m_doc.SetCurDataIndex(-1);
    m_doc.UpdateAllViews(nullptr);
    EXPECT_EQ(1, view->GetCurrentPage());
    EXPECT_EQ(300, view->GetIntervalCount());
}

TEST_F(RRIntervalListTest, PrintedPagesAreCountedByFourHundred)
{
    struct Case {
        int intervals;
        int pages;
    };
    static const Case kCases[] = {{0, 0}, {400, 1}, {401, 2}};
    CViewRRIntervalList* view = ShowList(0);
    ASSERT_NE(nullptr, view);
    for (const Case& c : kCases) {
        SwitchTo(Same(c.intervals, 800), "n" + std::to_string(c.intervals));
        EXPECT_EQ(c.pages, view->GetTotalPage(10, 40)) << c.intervals;
        EXPECT_EQ(0, view->GetTotalPage(0, 40));
    }
}

TEST_F(RRIntervalListTest, APrintedPageHoldsItsFourHundredWithMarksAndLongLengths)
{
    std::vector<RRInterval> list = Same(450, 800);
    list[400].marked = true;
    list[401].ms = -1;        // no length in the record
    list[402].ms = 40000;     // past the signed 16-bit lengths
    SwitchTo(list, "marks", false);
    CViewRRIntervalList* view = Show<CViewRRIntervalList>(800, 600);
    ASSERT_NE(nullptr, view);
    rrviewtest::RecordedPrint print(1200, 1000);
    ASSERT_TRUE(view->Print(print.Device(), print.Rect(), 2));
    const auto texts = print.Texts();
    EXPECT_EQ(2, CountText(texts, L"No. :"));
    EXPECT_EQ(0, CountText(texts, L"400 :"));
    ASSERT_TRUE(print.HasText(L"401 :") && print.HasText(L"450 :"));
    const platform::gdi::DrawRecord first = print.TextRecord(L"401 :");
    const platform::gdi::DrawRecord last = print.TextRecord(L"450 :");
    // 401 heads the first column three rows down; 450 is row 9 of the second.
    const int cw = 1200 / 12, rh = 1000 / 50;
    EXPECT_EQ(3 * rh, first.rect.top);
    EXPECT_EQ(12 * rh, last.rect.top);
    EXPECT_EQ(1, CountText(texts, L"800 *"));
    EXPECT_EQ(1, CountText(texts, L"-1"));
    EXPECT_EQ(1, CountText(texts, L"40000"));
    EXPECT_GT(last.rect.right, first.rect.right + cw / 2);

    // Page 3 starts at the count: only the first header is printed.
    rrviewtest::RecordedPrint empty(1200, 1000);
    SwitchTo(Same(400, 800), "full");
    ASSERT_TRUE(view->Print(empty.Device(), empty.Rect(), 2));
    EXPECT_EQ(1, CountText(empty.Texts(), L"No. :"));
    EXPECT_EQ(1u, empty.Texts().size());
    EXPECT_FALSE(view->Print(nullptr, empty.Rect(), 1));
}

TEST_F(RRIntervalListTest, PrintingAfterTheRecordChangedReadsMarksOnlyInsideItsList)
{
    // Every tenth interval of the first record is marked; the view keeps its
    // copy of 450 while the document moves to a record of 10 without telling it.
    CViewRRIntervalList* view = Show<CViewRRIntervalList>(800, 600);
    ASSERT_NE(nullptr, view);
    SwitchTo(morvelance::MakeRRIntervals(450, 800, 50), "marked");
    SwitchTo(Same(10, 800), "short", false);
    rrviewtest::RecordedPrint print(1200, 1000);
    ASSERT_TRUE(view->Print(print.Device(), print.Rect(), 1));
    for (const auto& r : print.Texts()) EXPECT_EQ(std::wstring::npos, r.text.find(L'*')) << r.Describe();
    EXPECT_EQ(400 * 2 + 10, static_cast<int>(print.Texts().size()));
}

TEST_F(RRIntervalListTest, TheScreenPageListsItsEntriesUnderTheTitleWithoutMarks)
{
    SwitchTo(morvelance::MakeRRIntervals(241, 800, 50), "screen", false);
    CViewRRIntervalList* view = Show<CViewRRIntervalList>(800, 600);
    ASSERT_NE(nullptr, view);
    view->ChangePage(1);
    rrviewtest::RecordedPrint screen(800, 600);
    view->OnDraw(&screen.DC());
    const auto texts = screen.Texts();
    ASSERT_EQ(4u, texts.size());   // title, header, number, length
    EXPECT_EQ(L"ＲＲ間隔リスト(ms)", texts[0].text);
    EXPECT_EQ(L"No. :", texts[1].text);
    EXPECT_EQ(L"241 :", texts[2].text);
    EXPECT_GT(texts[2].rect.top, texts[1].rect.top);
    for (const auto& r : texts) EXPECT_EQ(std::wstring::npos, r.text.find(L'*'));
    // The first page holds six full columns.
    view->ChangePage(1);
    rrviewtest::RecordedPrint first(800, 600);
    view->OnDraw(&first.DC());
    EXPECT_EQ(6, CountText(first.Texts(), L"No. :"));
    EXPECT_EQ(1 + 6 + 2 * 240, static_cast<int>(first.Texts().size()));
}

// Long pauses are shown and printed as their lengths, up to 65,535 ms; a
// length the record does not give stays -1.
TEST_F(RRIntervalListTest, LengthsPast32767MillisecondsAreShownAndPrintedAsTheirValues)
{
    std::vector<RRInterval> list = Same(6, 800);
    list[0].ms = 32767;
    list[1].ms = 32768;
    list[2].ms = 40000;
    list[3].ms = 65535;
    list[4].ms = -1;
    list[5].marked = true;
    list[5].ms = 50000;
    SwitchTo(list, "long", false);
    CViewRRIntervalList* view = Show<CViewRRIntervalList>(800, 600);
    ASSERT_NE(nullptr, view);

    for (const auto& [printed, texts] : ShownAndPrinted(*view)) {
        SCOPED_TRACE(printed ? "printed" : "screen");
        for (const char* length : {"32767", "32768", "40000", "65535", "-1"})
            EXPECT_EQ(1, CountText(texts, std::wstring(length, length + std::strlen(length)))) << length;
        EXPECT_EQ(1, CountText(texts, printed ? L"50000 *" : L"50000"));
        for (const auto& r : texts) {
            if (r.text.empty() || r.text[0] != L'-') continue;
            EXPECT_EQ(L"-1", r.text) << r.Describe();
        }
    }
}

// A length past what 16 bits hold never turns into another, plausible
// length: 70,000 ms is not shown as 4464, nor -40,000 as 25536.
TEST_F(RRIntervalListTest, LengthsPastSixteenBitsAreShownAndPrintedAsTheirValuesNotAsOthers)
{
    std::vector<RRInterval> list = Same(5, 800);
    list[0].ms = 70000;
    list[2].ms = 65536;
    list[3].ms = 131072 + 800;
    list[3].marked = true;
    _RRDATAITEM* item = OpenIntervals(list, "wide");
    ASSERT_NE(nullptr, item);
    ASSERT_NE(nullptr, item->pRRList);
    item->pRRList[1].nValue = -40000;   // a record XML may say data="-40000"; the record maker writes none
    CViewRRIntervalList* view = Show<CViewRRIntervalList>(800, 600);
    ASSERT_NE(nullptr, view);

    for (const auto& [printed, texts] : ShownAndPrinted(*view)) {
        SCOPED_TRACE(printed ? "printed" : "screen");
        EXPECT_EQ(1, CountText(texts, L"70000"));
        EXPECT_EQ(1, CountText(texts, L"-40000"));
        EXPECT_EQ(1, CountText(texts, L"65536"));
        EXPECT_EQ(1, CountText(texts, printed ? L"131872 *" : L"131872"));
        // The fifth, plain one and nothing else reads as a length of 800 or a wrapped one.
        EXPECT_EQ(1, CountText(texts, L"800"));
        for (const wchar_t* wrapped : {L"4464", L"25536", L"0", L"800 *"})
            EXPECT_EQ(0, CountText(texts, wrapped)) << std::wstring(wrapped);
    }
}

TEST_F(RRIntervalListTest, AListLongerThanTheSixteenBitCountShowsItsFirst32767)
{
    CViewRRIntervalList* view = ShowList(40000);
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(32767, view->GetIntervalCount());
    EXPECT_EQ(137, view->GetTotalPage(6, 40));
    EXPECT_EQ(82, view->GetTotalPage(10, 40));
    rrviewtest::RecordedPrint print(1200, 1000);
    ASSERT_TRUE(view->Print(print.Device(), print.Rect(), 82));
    EXPECT_TRUE(print.HasText(L"32767 :"));
    EXPECT_FALSE(print.HasText(L"32768 :"));
}

}  // namespace
