// The one-lead strip's event marks as the screen keeps them: drawn in runs
// of one call a pen (also where the DC's raster operation is not a copy, so
// that a pixel drawn twice is not the pixel drawn once), and drawn again
// over a part of the strip that a repaint asks for. Each is compared pixel
// for pixel with the marks drawn one by one over the whole strip.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/gdi/Image.h"
#include "tests/waveviews/Scroll1LeadWaveTestSupport.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace {

const COLORREF kText = RGB(0, 0, 220);
const COLORREF kDimText = RGB(0, 200, 0);
const COLORREF kPaper = RGB(255, 255, 255);

// The strip with its mark drawing within a test's reach.
class CMarkProbe : public CViewScroll1LeadWave {
public:
    void DrawAllMarksOneByOne(CDC* pDC, const CRect& strip) { DrawEventMarks(pDC, strip, FALSE, kAsWindow); }
    void DrawAllMarksInRuns(CDC* pDC, const CRect& strip)
    {
        _RHYTHMDATAITEM* item = CurrentItem().Rhythm();
        std::vector<int> events;
        for (INT_PTR i = 0; item && i < item->arrEvent.GetSize(); ++i) events.push_back(static_cast<int>(i));
        DrawMarkRuns(pDC, strip, Geometry(strip.Width(), Get1LeadWaveSpeed(FALSE), m_nGridColumns), events,
                     kAsWindow);
    }
    void KeepMarksOf(const CRect& strip) { KeepMarks(strip); }
    void RedrawOver(CDC* pDC, const CRect& strip, const CRect& area) { RedrawMarksOver(pDC, strip, area); }
    // Where the mark of sample `sample` stands on the strip.
    CPoint MarkAt(const CRect& strip, int sample)
    {
        const int w = strip.Width();
        const CStripGeometry g = Geometry(w, Get1LeadWaveSpeed(FALSE), m_nGridColumns);
        const long long x = static_cast<long long>(sample) * g.total / LeadCount(0);
        return CPoint(strip.left + static_cast<int>(x % w), MarkY(strip, static_cast<int>(x / w)));
    }
    int MarkHeightOn(const CRect& strip) const { return MarkHeight(strip.Width()); }
};

// 1300 × 120 pixels on 260 × 30 squares: the strip proper from x = 51.
using striptest::kHeight;
using striptest::kWidth;
const CRect kStrip(51, 0, kWidth, kHeight);

class StripMarks : public striptest::StripTest<CMarkProbe> {
protected:
    // A one-lead rhythm record of 300 s with the events, its strip under a
    // page of 16 at 25 mm/s shown once (three rows, the window over the first).
    void Show(const std::vector<int32_t>& events)
    {
        ASSERT_NO_FATAL_FAILURE(OpenStripRecord("marks", 300.0, 10, events));
        m_doc->SetWaveColor(3, kText);
        m_doc->SetWaveColor(19, kDimText);
        ASSERT_NO_FATAL_FAILURE(CreateStrip(16, 18));
        ASSERT_EQ(3, m_strip->GetRowCount());
    }
    static std::unique_ptr<CDC> Blank(int rop)
    {
        auto dc = std::make_unique<CDC>();
        dc->Attach(platform::gdi::CreateImageDC(kWidth + 1, kHeight + 1));
        dc->FillSolidRect(0, 0, kWidth + 1, kHeight + 1, kPaper);
        dc->SetROP2(rop);
        return dc;
    }
    // Pixels of `box` where the two pictures differ; the first of them in `first`.
    static int Differing(CDC& a, CDC& b, const CRect& box, CPoint* first = nullptr)
    {
        int n = 0;
        for (int y = std::max(0, static_cast<int>(box.top)); y < std::min(kHeight + 1, static_cast<int>(box.bottom)); ++y)
            for (int x = std::max(0, static_cast<int>(box.left)); x < std::min(kWidth + 1, static_cast<int>(box.right));
                 ++x)
                if (a.GetPixel(x, y) != b.GetPixel(x, y) && n++ == 0 && first) *first = CPoint(x, y);
        return n;
    }
    static int Inked(CDC& dc, const CRect& box)
    {
        int n = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) n += dc.GetPixel(x, y) != kPaper ? 1 : 0;
        return n;
    }
};

// Events a sample, a pixel or a few apart, so that marks lie over one
// another in every way, inside and outside the window and on its edges.
std::vector<int32_t> CrowdedEvents()
{
    std::vector<int32_t> events;
    for (int32_t base : {2000, 29950, 50000, 75000, 100000, 149000})
        for (int32_t step : {0, 1, 40, 80, 120, 200, 400}) events.push_back(base + step);
    return events;
}

}  // namespace

TEST_F(StripMarks, MarksDrawnInRunsUnderAnExclusiveOrLookAsDrawnOneByOne)
{
    Show(CrowdedEvents());
    for (int rop : {R2_XORPEN, R2_NOTXORPEN}) {
        SCOPED_TRACE(rop);
        std::unique_ptr<CDC> one = Blank(rop);
        std::unique_ptr<CDC> runs = Blank(rop);
        m_strip->DrawAllMarksOneByOne(one.get(), kStrip);
        m_strip->DrawAllMarksInRuns(runs.get(), kStrip);
        CPoint first(-1, -1);
        EXPECT_EQ(0, Differing(*one, *runs, CRect(0, 0, kWidth + 1, kHeight + 1), &first))
            << "first at " << first.x << ", " << first.y;
        EXPECT_GT(Inked(*one, kStrip), 0);
    }
    // Over a picture already there, as the kept rows are.
    std::unique_ptr<CDC> one = Blank(R2_COPYPEN);
    std::unique_ptr<CDC> runs = Blank(R2_COPYPEN);
    for (CDC* dc : {one.get(), runs.get()}) {
        dc->FillSolidRect(kStrip.left, 30, kStrip.Width(), 60, RGB(90, 40, 160));
        dc->SetROP2(R2_XORPEN);
    }
    m_strip->DrawAllMarksOneByOne(one.get(), kStrip);
    m_strip->DrawAllMarksInRuns(runs.get(), kStrip);
    EXPECT_EQ(0, Differing(*one, *runs, CRect(0, 0, kWidth + 1, kHeight + 1)));
}

TEST_F(StripMarks, ARepaintWhoseSpanCutsAMarkDrawsItsPartAsTheWholeStripDoes)
{
    const int32_t lone = 100000;   // in the dimmed third row
    const int32_t edge = 30000;    // on the window's right edge
    Show({2000, 2040, edge, edge + 40, 60000, lone, 149000});
    std::unique_ptr<CDC> whole = Blank(R2_COPYPEN);
    m_strip->DrawAllMarksOneByOne(whole.get(), kStrip);
    m_strip->KeepMarksOf(kStrip);
    const int reach = m_strip->MarkHeightOn(kStrip) + 4;
    int cuts = 0;
    for (int32_t sample : {lone, edge, static_cast<int32_t>(2000)}) {
        const CPoint mark = m_strip->MarkAt(kStrip, sample);
        ASSERT_GT(Inked(*whole, CRect(mark.x - reach, mark.y - reach, mark.x + reach, mark.y + reach)), 0);
        std::vector<CRect> areas;
        for (int d = -reach; d <= reach; ++d) {
            areas.emplace_back(mark.x + d, mark.y - 20, mark.x + d + 40, mark.y + 20);   // left edge through it
            areas.emplace_back(mark.x + d - 40, mark.y - 20, mark.x + d, mark.y + 20);   // right edge
            areas.emplace_back(mark.x - 20, mark.y + d, mark.x + 20, mark.y + d + 30);   // top edge
            areas.emplace_back(mark.x - 20, mark.y + d - 30, mark.x + 20, mark.y + d);   // bottom edge
            areas.emplace_back(mark.x + d, mark.y + d, mark.x + d + 2, mark.y + d + 2);  // a sliver
        }
        for (const CRect& area : areas) {
            std::unique_ptr<CDC> part = Blank(R2_COPYPEN);
            m_strip->RedrawOver(part.get(), kStrip, area);
            CRect inside;
            inside.IntersectRect(&area, &kStrip);
            CPoint first(-1, -1);
            const int differing = Differing(*whole, *part, inside, &first);
            EXPECT_EQ(0, differing) << "sample " << sample << ", area " << area.left << "," << area.top << " - "
                                    << area.right << "," << area.bottom << ", first at " << first.x << ","
                                    << first.y;
            // Nothing outside the area is touched.
            EXPECT_EQ(0, Inked(*part, CRect(0, 0, kWidth + 1, kHeight + 1)) - Inked(*part, inside));
            cuts += Inked(*whole, inside) > 0 && Inked(*whole, inside) < Inked(*whole, CRect(mark.x - reach, mark.y - reach,
                                                                                            mark.x + reach, mark.y + reach))
                        ? 1
                        : 0;
        }
    }
    // Many of the areas cut a mark through rather than hold it whole or miss it.
    EXPECT_GT(cuts, 20);
}
