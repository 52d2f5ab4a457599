// The grid painters and the raw image path draw on contexts the report code
// goes on using: each hands its context back as it found it.
#include <gtest/gtest.h>

#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "printdevice/ECGDC.h"
#include "printdevice/PrintWaveBK.h"
#include "printdevice/PrintWaveBKGround.h"
#include "printdevice/PrintWaveBKGroundNew.h"
#include "tests/printdevice/PrintDeviceTestSupport.h"
#include "tests/support/DCStateCheck.h"

namespace {

using namespace printdevicetest;

// A Windows-printer (type 1) and a PDF (type 2) context on one image page.
class GridDrawingState : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_live = platform::gdi::LiveObjectCount();
        ASSERT_TRUE(m_cdc.Attach(platform::gdi::CreateImageDC(300, 200)));
        m_printer.SetDC(&m_cdc);
        m_pdf.SetDC(&m_cdc);
    }
    void TearDown() override
    {
        m_cdc.DeleteDC();
        EXPECT_EQ(m_live, platform::gdi::LiveObjectCount());
    }

    CDC m_cdc;
    CECGDC m_printer{1};
    CECGDC m_pdf{2};
    int m_live = 0;
};

TEST_F(GridDrawingState, EveryGridOfEveryLevelAndTypeLeavesTheContextAsFound)
{
    for (UINT level = 0; level <= 3; ++level) {
        for (UINT type = 0; type <= 2; ++type) {
            CPrintWaveBK pdfGrid;
            pdfGrid.SetShadeGrid(level);
            pdfGrid.SetGridType(type);
            pdfGrid.SetOrigin(CPoint(5, 5));
            CPrintWaveBKGroundNew printerGrid;
            printerGrid.SetShadeGrid(level);
            printerGrid.SetGridType(type);
            printerGrid.SetOrigin(CPoint(5, 5));
            EXPECT_LEAVES_DC_AS_FOUND(m_cdc.GetSafeHdc(), pdfGrid.CreatePrintBKGround(20, 15, 8.0, &m_pdf))
                << "level " << level << ", type " << type;
            EXPECT_LEAVES_DC_AS_FOUND(m_cdc.GetSafeHdc(), pdfGrid.CreatePCLBKGround(20, 15, 8.0, &m_pdf))
                << "level " << level << ", type " << type;
            EXPECT_LEAVES_DC_AS_FOUND(m_cdc.GetSafeHdc(), printerGrid.CreatePrintBKGround(20, 15, 8.0, &m_printer))
                << "level " << level << ", type " << type;
            CPrintWaveBKGround bitmapGrid;
            bitmapGrid.SetShadeGrid(level);
            bitmapGrid.SetGridType(type);
            EXPECT_LEAVES_DC_AS_FOUND(m_cdc.GetSafeHdc(),
                                      bitmapGrid.PrintBKGround(20, 15, 8.0, &m_printer, CPoint(5, 5)))
                << "level " << level << ", type " << type;
        }
    }
}

class RawImageState : public RawJobTest {};

TEST_F(RawImageState, RawImageLeavesTheSourceItsBitmapAndState)
{
    for (_PRINT_TYPE type : {3, 5}) {
        CDC source;
        ASSERT_TRUE(source.CreateCompatibleDC(nullptr));
        CBitmap image;
        ASSERT_TRUE(image.CreateBitmap(16, 2, 1, 1, nullptr));
        CBitmap* pOriginal = source.SelectObject(&image);
        const std::string bytes = RunJob(type, [&](CECGDC& dc) {
            EXPECT_LEAVES_DC_AS_FOUND(source.GetSafeHdc(),
                                      EXPECT_TRUE(dc.BitBlt(10, 10, 16, 2, &source, 0, 0, SRCCOPY)));
        });
        EXPECT_FALSE(bytes.empty()) << "type " << type;
        EXPECT_EQ(image.GetSafeHandle(), source.GetCurrentBitmap()->GetSafeHandle()) << "type " << type;
        source.SelectObject(pOriginal);
    }
}

}  // namespace
