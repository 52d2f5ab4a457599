// The enlarged views' ruler over a freshly painted picture: the first mark
// alone while the second is being placed, both marks with the chosen mark's
// corner squares once placed. Each mark is a small ring with lines out to
// the client's edges, drawn in exclusive-or over the picture.
#include <gtest/gtest.h>

#include "platform/gdi/Image.h"
#include "waveviews/EnlargedRuler.h"

namespace {

const COLORREF kPaper = RGB(255, 255, 255);
const COLORREF kRuler = RGB(0, 200, 60);
// White under an exclusive-or with the ruler's colour.
const COLORREF kDrawn = RGB(255 ^ 0, 255 ^ 200, 255 ^ 60);
const CRect kClient(0, 0, 200, 120);

class RulerPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dc.Attach(platform::gdi::CreateImageDC(kClient.Width(), kClient.Height())));
        m_dc.FillSolidRect(&kClient, kPaper);
    }
    bool Drawn(int x, int y) { return m_dc.GetPixel(x, y) == kDrawn; }
    // The mark's lines: along its row and its column, out to the edges.
    void ExpectMarkAt(CPoint p)
    {
        EXPECT_TRUE(Drawn(1, p.y)) << p.x << "," << p.y;
        EXPECT_TRUE(Drawn(kClient.right - 2, p.y)) << p.x << "," << p.y;
        EXPECT_TRUE(Drawn(p.x, 1)) << p.x << "," << p.y;
        EXPECT_TRUE(Drawn(p.x, kClient.bottom - 2)) << p.x << "," << p.y;
        // The ring around it.
        EXPECT_TRUE(Drawn(p.x, p.y - 2) || Drawn(p.x - 2, p.y)) << p.x << "," << p.y;
    }
    void ExpectNoMarkAt(CPoint p)
    {
        EXPECT_FALSE(Drawn(1, p.y));
        EXPECT_FALSE(Drawn(p.x, kClient.bottom - 2));
    }

    CDC m_dc;
    CEnlargedRuler m_ruler;
};

}  // namespace

TEST_F(RulerPaint, WhileTheSecondMarkIsPlacedTheFirstIsDrawn)
{
    const CPoint first(50, 40);
    m_ruler.SetMark(0, first);
    m_ruler.SetStatus(RULER_STATUS_FIRST);
    m_ruler.Paint(&m_dc, kClient, kRuler);
    ExpectMarkAt(first);
    // Nothing of a second mark yet.
    EXPECT_FALSE(Drawn(kClient.right - 2, 90));
    // The moving crosshair is not on the picture: the next move draws it afresh.
    EXPECT_TRUE(m_ruler.IsClear());
}

TEST_F(RulerPaint, WithBothMarksPlacedBothAreDrawnAndTheChosenOnesCornerSquares)
{
    const CPoint first(50, 40);
    const CPoint second(150, 90);
    m_ruler.SetMark(0, first);
    m_ruler.SetMark(1, second);
    m_ruler.SetMarkRect(1);
    m_ruler.SetStatus(RULER_STATUS_BOTH);
    m_ruler.Paint(&m_dc, kClient, kRuler);
    ExpectMarkAt(first);
    ExpectMarkAt(second);
    const CRect corner = m_ruler.GetCornerSquare(3);
    ASSERT_FALSE(corner.IsRectEmpty());
    EXPECT_TRUE(Drawn(corner.left, corner.top));
    EXPECT_FALSE(m_ruler.IsClear());
}

TEST_F(RulerPaint, AnArmedOrOffRulerDrawsNothing)
{
    const CPoint first(50, 40);
    m_ruler.SetMark(0, first);
    for (_RULER_STATUS status : {RULER_STATUS_OFF, RULER_STATUS_ARMED}) {
        m_ruler.SetStatus(status);
        m_ruler.Paint(&m_dc, kClient, kRuler);
        ExpectNoMarkAt(first);
    }
}
