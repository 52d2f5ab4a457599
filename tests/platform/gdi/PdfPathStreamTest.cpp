// The update that adds our path streams to cairo's finished file: refused,
// with nothing to append, when the file is not what it expects.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gdi/Dc.h"
#include "platform/gdi/PdfPathStream.h"
#include "platform/gdi/PrintSurface.h"
#include "tests/support/TestSupport.h"

using platform::gdi::PdfPathStream;

namespace {

// A one-page document of cairo's with nothing of ours on it.
std::string CairoDocument(const testsupport::TempDir& dir)
{
    platform::gdi::PrintSurfaceSpec job;
    job.pdfPath = dir.File("plain.pdf");
    job.paperWidthTenthMm = 2100;
    job.paperHeightTenthMm = 2970;
    HDC dc = platform::gdi::CreatePrintSurfaceDC(job);
    platform::gdi::PrintSurfaceStartPage(dc);
    platform::gdi::PrintSurfaceFinish(dc);
    DeleteDC(dc);
    std::ifstream in(job.pdfPath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(PdfPathStream, AnUnexpectedFileGetsNoUpdate)
{
    testsupport::TempDir dir;
    const std::string pdf = CairoDocument(dir);
    ASSERT_NE(std::string::npos, pdf.find("startxref"));
    std::string update = "stale";
    EXPECT_FALSE(PdfPathStream::PageUpdate("%PDF-1.5\nnot a document\n", {"0 0 m 1 1 l S\n"}, update));
    EXPECT_TRUE(update.empty());
    EXPECT_FALSE(PdfPathStream::PageUpdate(pdf, {"0 0 m 1 1 l S\n", "0 0 m 1 1 l S\n"}, update))
        << "more pages of ours than the file has";
    EXPECT_FALSE(PdfPathStream::PageUpdate(pdf.substr(0, pdf.size() / 2), {"0 0 m 1 1 l S\n"}, update))
        << "a file cut short";
    ASSERT_TRUE(PdfPathStream::PageUpdate(pdf, {"0 0 m 1 1 l S\n"}, update));
    EXPECT_NE(std::string::npos, update.find("/Prev ")) << "the update points back to cairo's table";
    EXPECT_EQ(0u, update.rfind("%%EOF\n") + 6 - update.size());
}
