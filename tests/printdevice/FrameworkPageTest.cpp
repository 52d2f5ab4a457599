// What views draw on the framework context of an HP-GL/2 or LIPS job reaches
// the raw stream in drawing order, between the context's own commands,
// with the caller's pen, fill and position put back afterwards. Expected
// bytes are written out from the printer languages' command tables.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "printdevice/ECGDC.h"
#include "tests/printdevice/PrintDeviceTestSupport.h"

namespace {

using namespace printdevicetest;

const _PRINT_TYPE kPCL = 3;
const _PRINT_TYPE kEscP = 4;
const _PRINT_TYPE kLIPS = 5;

class FrameworkPage : public RawJobTest {
protected:
    CDC m_frame;
};

TEST_F(FrameworkPage, HpglLinesDrawnOnTheFrameworkContextComeInDrawingOrder)
{
    const std::string bytes = RunJob(
        kPCL,
        [this](CECGDC& dc) {
            ASSERT_EQ(&m_frame, dc.GetDC());
            ASSERT_NE(nullptr, m_frame.GetSafeHdc());
            dc.MoveTo(10, 20);
            dc.LineTo(30, 40);
            CPen trace(PS_SOLID, 3, RGB(0, 0, 0));
            CPen* old = m_frame.SelectObject(&trace);
            m_frame.MoveTo(100, 100);
            m_frame.LineTo(200, 100);
            m_frame.SelectObject(old);
            // The context's line goes on from where the context left its pen.
            dc.LineTo(50, 60);
        },
        1, &m_frame);
    EXPECT_STREAM(std::string("PU10,20;PD30,40;") + "LTPW0.126900;PU100,100;PD200,100;" + "LTPW0.042300;PU30,40;" +
                      "PD50,60;",
                  bytes);
}

TEST_F(FrameworkPage, HpglOutlinesFiguresAndDropsTexts)
{
    const std::string bytes = RunJob(
        kPCL,
        [this](CECGDC& dc) {
            CGdiObject* old = m_frame.SelectStockObject(NULL_BRUSH);
            m_frame.Rectangle(10, 20, 51, 61);
            m_frame.SelectObject(static_cast<CBrush*>(old));
            m_frame.TextOut(100, 200, CString(L"V1"));
            dc.MoveTo(0, 0);
        },
        1, &m_frame);
    EXPECT_STREAM(std::string("LTPW0.042300;PU10,20;PD50,20,50,60,10,60,10,20;") + "LTPW0.042300;PU0,0;" + "PU0,0;",
                  bytes);
}

TEST_F(FrameworkPage, AHollowCircleIsAClosedStrokeRoundItsBox)
{
    const std::string bytes = RunJob(
        kPCL,
        [this](CECGDC& dc) {
            CGdiObject* old = m_frame.SelectStockObject(NULL_BRUSH);
            m_frame.Ellipse(100, 100, 201, 201);
            m_frame.SelectObject(static_cast<CBrush*>(old));
            dc.MoveTo(0, 0);
        },
        1, &m_frame);
    // Starts and ends at the right-hand point of the circle (centre 150, radius 50).
    const size_t pd = bytes.find("PD");
    ASSERT_NE(std::string::npos, pd) << Visible(bytes);
    EXPECT_NE(std::string::npos, bytes.find("PU200,150;PD"));
    const std::string stroke = bytes.substr(pd + 2, bytes.find(';', pd) - pd - 2);
    EXPECT_EQ("200,150", stroke.substr(stroke.size() - 7));
    int far = 0;
    for (size_t at = 0; at < stroke.size();) {
        const int x = std::atoi(stroke.c_str() + at);
        const size_t comma = stroke.find(',', at);
        const int y = std::atoi(stroke.c_str() + comma + 1);
        const double r = std::hypot(x - 150.0, y - 150.0);
        if (r < 49.0 || r > 51.0) ++far;
        const size_t next = stroke.find(',', comma + 1);
        at = next == std::string::npos ? stroke.size() : next + 1;
    }
    EXPECT_EQ(0, far) << stroke;
}

TEST_F(FrameworkPage, LipsFillsInkedRectanglesAndPrintsTextsByTheirCell)
{
    const std::string bytes = RunJob(
        kLIPS,
        [this](CECGDC& dc) {
            CBrush white(RGB(255, 255, 255));
            CBrush black(RGB(0, 0, 0));
            m_frame.FillRect(CRect(0, 0, 400, 300), &white);   // paper: no ink
            m_frame.FillRect(CRect(10, 20, 51, 61), &black);
            m_frame.SetTextAlign(TA_LEFT | TA_TOP);
            m_frame.TextOut(100, 200, CString(L"V1"));
            dc.MoveTo(1, 2);
            dc.LineTo(3, 4);
        },
        1, &m_frame);
    // Black fill, the rectangle 10..50 x 20..60, the text with its baseline
    // one raw character height (84) under the cell's top, the context's
    // white fill back, then the context's line.
    const std::string expected = "I11" + RS + "}::C2A4C<" + RS + "}pF4Q<" + RS + ESC + "[0t" + SI + "V1" + ESC +
                                 "[&}" + "I)1" + RS + "11222" + RS;
    EXPECT_STREAM(expected, bytes);
}

TEST_F(FrameworkPage, LipsTextsFromTheFrameworkContextGoOutInShiftJis)
{
    const std::string bytes = RunJob(
        kLIPS,
        [this](CECGDC& dc) {
            m_frame.TextOut(0, 0, CString(L"山田"));
            dc.SetBkMode(TRANSPARENT);
        },
        1, &m_frame);
    EXPECT_NE(std::string::npos, bytes.find(SI + "\x8eR\x93\x63" + ESC + "[&}")) << Visible(bytes);
}

TEST_F(FrameworkPage, DrawingRefusedByACancelIsNotSentByALaterWrite)
{
    const std::string bytes = RunJob(
        kLIPS,
        [this](CECGDC& dc) {
            m_frame.MoveTo(0, 0);
            m_frame.LineTo(100, 0);
            m_doc.SetPrintCancel(1);
            EXPECT_FALSE(dc.LineTo(10, 10));
            m_doc.SetPrintCancel(0);
            EXPECT_TRUE(dc.SetBkMode(OPAQUE));
        },
        1, &m_frame);
    EXPECT_STREAM("}H0" + RS, bytes);
}

TEST_F(FrameworkPage, ThePageLeavesTheFrameworkContextWhenThePrinterCloses)
{
    RunJob(kLIPS, [this](CECGDC& dc) { EXPECT_NE(nullptr, dc.GetDC()->GetSafeHdc()); }, 1, &m_frame);
    // The fixture's tear-down finds no GDI object left behind.
    EXPECT_EQ(nullptr, m_frame.GetSafeHdc());
}

TEST_F(FrameworkPage, AFrameworkContextWithADeviceContextOrAPagePrinterJobIsLeftAlone)
{
    ASSERT_TRUE(m_frame.Attach(platform::gdi::CreateImageDC(20, 20)));
    const HDC own = m_frame.GetSafeHdc();
    const std::string bytes = RunJob(
        kPCL,
        [&](CECGDC& dc) {
            EXPECT_EQ(own, dc.GetDC()->GetSafeHdc());
            m_frame.Rectangle(1, 1, 10, 10);
            dc.MoveTo(0, 0);
        },
        1, &m_frame);
    EXPECT_STREAM("PU0,0;", bytes);
    EXPECT_EQ(own, m_frame.GetSafeHdc());
    m_frame.DeleteDC();

    CDC pagePrinter;
    RunJob(kEscP, [](CECGDC& dc) { EXPECT_EQ(nullptr, dc.GetDC()->GetSafeHdc()); }, 1, &pagePrinter);
}

}  // namespace
