// Printed texts of the multi-lead view measured on a 300 dpi page: lead names
// are drawn in the font the caller selected into the print DC, and never at a
// screen font's pixel height.
#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>

#include "printdevice/ECGDC.h"
#include "tests/waveviews/ViewRhythmWaveTestSupport.h"

namespace {

const double kPxPerMm = 300.0 / 25.4;

class RhythmViewPrintTextTest : public rhythmviewtest::RestPageFixture<> {
protected:
    // Prints style 9's page at 300 dpi on a white page of 260 × 120 mm.
    void PrintPage()
    {
        m_view.SetWaveStyle(9, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
        const int width = static_cast<int>(260 * kPxPerMm);
        const int height = static_cast<int>(120 * kPxPerMm);
        if (!m_dc.GetSafeHdc()) MakeSurface(width, height);
        CECGDC printer(&m_dc, 2);
        ASSERT_EQ(1, m_view.Print(&printer, CRect(0, 0, width, height), 260, 120, kPxPerMm, 0, 0, 1));
    }
    // The ink height in millimetres of the first lead's name: it stands
    // bottom-aligned three squares above its zero line, five squares into
    // the trace area.
    double FirstNameHeightMm()
    {
        const int zero = m_view.GetPrintBaseline(0);
        const int bottom = zero - static_cast<int>(3 * kPxPerMm);
        const int left = static_cast<int>(13 * kPxPerMm);
        int top = -1;
        int last = -1;
        for (int y = 0; y <= bottom; ++y)
            for (int x = left; x < left + static_cast<int>(8 * kPxPerMm); ++x)
                if (Inked(x, y)) {
                    if (top < 0) top = y;
                    last = y;
                }
        return top < 0 ? 0.0 : (last - top + 1) / kPxPerMm;
    }
    // A font of `mm` character height on this page, as a report makes one.
    static void MakeFont(CFont& font, double mm)
    {
        LOGFONT lf{};
        lf.lfHeight = -static_cast<LONG>(std::lround(mm * kPxPerMm));
        lf.lfCharSet = SHIFTJIS_CHARSET;
        std::wcsncpy(lf.lfFaceName, L"ＭＳ ゴシック", LF_FACESIZE - 1);
        ASSERT_TRUE(font.CreateFontIndirect(&lf));
    }
};

TEST_F(RhythmViewPrintTextTest, LeadNamesPrintedWithoutAPaperFontAreAtLeastTwoMillimetresTall)
{
    OpenRecord();
    // The page DC's own font is a screen size: a few pixels at 300 dpi.
    PrintPage();
    EXPECT_GE(FirstNameHeightMm(), 2.0);
}

TEST_F(RhythmViewPrintTextTest, LeadNamesArePrintedInTheFontTheCallerSelected)
{
    OpenRecord();
    const int width = static_cast<int>(260 * kPxPerMm);
    const int height = static_cast<int>(120 * kPxPerMm);
    MakeSurface(width, height);
    CFont large;
    MakeFont(large, 6.0);
    CFont* before = m_dc.SelectObject(&large);
    PrintPage();
    // A capital of a 6 mm font stands over 4 mm; the view's own would not.
    EXPECT_GE(FirstNameHeightMm(), 4.0);
    // The caller's font is still the DC's.
    EXPECT_EQ(&large, m_dc.GetCurrentFont());
    m_dc.SelectObject(before);
}

}  // namespace
