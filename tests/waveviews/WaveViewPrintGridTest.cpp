// The printed grid and frame by print type: on a Windows-printer page (the
// bitmap grid's picture, or the grid drawn directly) and as the vector
// stream of a raw printer.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "printdevice/ECGDC.h"
#include "tests/printdevice/PrintDeviceTestSupport.h"
#include "waveviews/WaveView.h"

namespace {

class PrintGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc.m_bAutoDelete = FALSE;
        m_doc.SetGridType(1);
        m_doc.SetShadeGrid(1);
        m_doc.AddView(&m_view);
        ASSERT_TRUE(m_cdc.Attach(platform::gdi::CreateImageDC(400, 300)));
        m_cdc.FillSolidRect(0, 0, 400, 300, RGB(255, 255, 255));
    }
    void TearDown() override { m_doc.RemoveView(&m_view); }
    bool Ink(int x, int y) { return m_cdc.GetPixel(x, y) != RGB(255, 255, 255); }

    CTavrionDoc m_doc;
    CWaveView m_view;
    CDC m_cdc;
};

}  // namespace

TEST_F(PrintGridTest, AWindowsPrinterGetsTheBitmapGridsPictureAndTheFrameSetsThePrintBottom)
{
    CECGDC dc(&m_cdc, 1);
    // 20 x 10 mm at 10 px/mm from (30, 40).
    EXPECT_TRUE(m_view.PrintWaveGrid(&dc, CRect(30, 40, 0, 0), 20, 10, 10.0, TRUE, TRUE, FALSE));
    EXPECT_EQ(140, m_view.GetCurPrintBottom());
    EXPECT_TRUE(Ink(30 + 50, 40 + 5));     // a 5 mm line inside
    EXPECT_TRUE(Ink(30 + 100, 140));       // the bottom of the frame
    EXPECT_TRUE(Ink(230, 40 + 50));        // its right side
    EXPECT_FALSE(Ink(30 + 105, 40 + 55) && Ink(30 + 104, 40 + 54) && Ink(30 + 106, 40 + 56));
    EXPECT_FALSE(Ink(300, 200));           // outside the area
}

// A printer's page gets the grid as lines and dots, whatever its print type:
// never an image of the whole grid area (at 600 dpi tens of millions of
// pixels the job would carry and hold in memory).
TEST_F(PrintGridTest, NoPrintTypeCopiesAnImageOfTheGridOntoThePage)
{
    for (UINT gridType : {0u, 1u}) {
        m_doc.SetGridType(static_cast<int>(gridType));
        for (_PRINT_TYPE type : {1, 2, 4, 7}) {
            SCOPED_TRACE(testing::Message() << "print type " << type << ", grid type " << gridType);
            CDC page;
            ASSERT_TRUE(page.Attach(platform::gdi::CreateRecordingDC(400, 300)));
            CECGDC dc(&page, type);
            EXPECT_TRUE(m_view.PrintWaveGrid(&dc, CRect(30, 40, 0, 0), 20, 10, 10.0, TRUE, TRUE, FALSE));
            const std::vector<platform::gdi::DrawRecord> drawn = platform::gdi::GetRecording(page.GetSafeHdc());
            size_t lines = 0, images = 0;
            for (const platform::gdi::DrawRecord& record : drawn) {
                if (record.op == platform::gdi::DrawOp::Polyline || record.op == platform::gdi::DrawOp::SetPixel)
                    ++lines;
                if (record.op == platform::gdi::DrawOp::BitBlt || record.op == platform::gdi::DrawOp::StretchBlt ||
                    record.op == platform::gdi::DrawOp::Image)
                    ++images;
            }
            EXPECT_EQ(0u, images);
            EXPECT_GT(lines, 10u);   // the grid, then the frame
            page.DeleteDC();
        }
    }
}

TEST_F(PrintGridTest, DirectDrawingDrawsTheGridOnTheDevice)
{
    CECGDC dc(&m_cdc, 1);
    EXPECT_TRUE(m_view.PrintWaveGrid(&dc, CRect(30, 40, 0, 0), 20, 10, 10.0, TRUE, FALSE, TRUE));
    EXPECT_TRUE(Ink(30 + 50, 40 + 5));
    EXPECT_FALSE(Ink(300, 200));
}

TEST_F(PrintGridTest, WithoutTheFrameThePrintBottomStaysAsItWas)
{
    CECGDC dc(&m_cdc, 1);
    m_view.SetCurPrintBottom(77);
    EXPECT_TRUE(m_view.PrintWaveGrid(&dc, CRect(30, 40, 0, 0), 20, 10, 10.0, FALSE, FALSE, FALSE));
    EXPECT_EQ(77, m_view.GetCurPrintBottom());
    for (int x = 0; x < 400; x += 7)
        for (int y = 0; y < 300; y += 7) ASSERT_FALSE(Ink(x, y));
    EXPECT_FALSE(m_view.PrintWaveGrid(nullptr, CRect(30, 40, 0, 0), 20, 10, 10.0, TRUE, TRUE, FALSE));
}

class RawPrintGridTest : public printdevicetest::RawJobTest {
protected:
    CWaveView view;   // made before the fixture counts the live GDI objects
};

TEST_F(RawPrintGridTest, AnHpglPrinterGetsTheVectorGridAndTheFrame)
{
    m_doc.m_bAutoDelete = FALSE;
    m_doc.SetGridType(1);
    m_doc.SetShadeGrid(1);
    m_doc.AddView(&view);
    const std::string gridOnly = RunJob(3, [&](CECGDC& dc) {
        EXPECT_TRUE(view.PrintWaveGrid(&dc, CRect(100, 100, 0, 0), 10, 10, 10.0, TRUE, FALSE, FALSE));
    });
    const std::string framed = RunJob(3, [&](CECGDC& dc) {
        EXPECT_TRUE(view.PrintWaveGrid(&dc, CRect(100, 100, 0, 0), 10, 10, 10.0, TRUE, TRUE, FALSE));
    });
    const std::string frameOnly = RunJob(3, [&](CECGDC& dc) {
        EXPECT_TRUE(view.PrintWaveGrid(&dc, CRect(100, 100, 0, 0), 10, 10, 10.0, FALSE, TRUE, FALSE));
    });
    m_doc.RemoveView(&view);
    EXPECT_NE(std::string::npos, gridOnly.find("PD"));
    EXPECT_GT(framed.size(), gridOnly.size());
    EXPECT_LT(frameOnly.size(), gridOnly.size());
    EXPECT_NE(std::string::npos, frameOnly.find("PD"));
}
