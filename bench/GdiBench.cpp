// Drawing one 12-lead, 10-second page as the waveform pages draw it: the
// 1 mm / 5 mm grid as lines, then each lead as one polyline of its 5,000
// samples at 25 mm/s and 10 mm/mV, one lead per row. Into a 1920 x 1080
// image DC (target: under 20 ms), and onto an A4 landscape PDF page at
// 600 dpi, document written and closed (target: under 100 ms). The counters
// give the size of what comes out: the page as PNG, and the PDF file; the
// PNG file's own writing time is measured apart.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Image.h"
#include "platform/gdi/PrintSurface.h"
#include "printdevice/PrintGrid.h"
#include "tools/EcgModel.h"

namespace {

const double kMmPerSecond = 25.0;
const double kMmPerMillivolt = 10.0;
const double kPaperMm = 250.0;   // 10 s at 25 mm/s

const std::vector<morvelance::EcgLead>& Leads()
{
    static const std::vector<morvelance::EcgLead> leads = [] {
        morvelance::SynthOptions options;
        options.seconds = 10.0;
        options.sampleRate = 500.0;
        options.noise = true;
        return morvelance::Synthesize(options).leads;
    }();
    return leads;
}

std::string TempPath(const std::string& name)
{
    return "/tmp/morvelance-bench-" + std::to_string(getpid()) + "-" + name;
}

// Lines every millimetre, bolder every fifth, across a width x height area.
void DrawGrid(HDC dc, double pxPerMm, int width, int height)
{
    HPEN thin = CreatePen(PS_SOLID, 1, RGB(255, 200, 200));
    HPEN bold = CreatePen(PS_SOLID, 1, RGB(240, 120, 120));
    HGDIOBJ old = SelectObject(dc, thin);
    for (int k = 0; k * pxPerMm < width; ++k) {
        SelectObject(dc, k % 5 ? thin : bold);
        const int x = (int)(k * pxPerMm);
        MoveToEx(dc, x, 0, nullptr);
        LineTo(dc, x, height);
    }
    for (int k = 0; k * pxPerMm < height; ++k) {
        SelectObject(dc, k % 5 ? thin : bold);
        const int y = (int)(k * pxPerMm);
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, width, y);
    }
    SelectObject(dc, old);
    DeleteObject(thin);
    DeleteObject(bold);
}

void DrawTraces(HDC dc, double pxPerMm, int height, int penWidth)
{
    const std::vector<morvelance::EcgLead>& leads = Leads();
    const double rowHeight = (double)height / leads.size();
    const double pxPerSample = kMmPerSecond / 500.0 * pxPerMm;
    const double pxPerMicrovolt = kMmPerMillivolt / 1000.0 * pxPerMm;
    HPEN pen = CreatePen(PS_SOLID, penWidth, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(dc, pen);
    std::vector<POINT> points;
    for (size_t row = 0; row < leads.size(); ++row) {
        const std::vector<float>& samples = leads[row].microvolts;
        const double baseline = (row + 0.5) * rowHeight;
        points.resize(samples.size());
        for (size_t i = 0; i < samples.size(); ++i)
            points[i] = POINT{(LONG)(i * pxPerSample), (LONG)(baseline - samples[i] * pxPerMicrovolt)};
        Polyline(dc, points.data(), (int)points.size());
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

void DrawPage(HDC dc, int width, int height, int penWidth)
{
    const double pxPerMm = width / kPaperMm;
    PatBlt(dc, 0, 0, width, height, WHITENESS);
    DrawGrid(dc, pxPerMm, width, height);
    DrawTraces(dc, pxPerMm, height, penWidth);
}

void BM_PageToImage(benchmark::State& state)
{
    const int width = 1920, height = 1080;
    HDC dc = platform::gdi::CreateImageDC(width, height);
    Leads();
    for (auto _ : state) {
        DrawPage(dc, width, height, 1);
        benchmark::ClobberMemory();
    }
    const std::string png = TempPath("page.png");
    platform::gdi::SaveImagePng(dc, png.c_str());
    std::error_code ec;
    state.counters["png_bytes"] = benchmark::Counter((double)std::filesystem::file_size(png, ec));
    std::remove(png.c_str());
    DeleteDC(dc);
}
BENCHMARK(BM_PageToImage)->Unit(benchmark::kMillisecond);

// The drawn page written as a PNG file, as the host writes its page images.
void BM_PageToPngFile(benchmark::State& state)
{
    const int width = 1920, height = 1080;
    HDC dc = platform::gdi::CreateImageDC(width, height);
    DrawPage(dc, width, height, 1);
    const std::string png = TempPath("page-file.png");
    for (auto _ : state) {
        if (!platform::gdi::SaveImagePng(dc, png.c_str())) state.SkipWithError("the PNG could not be written");
    }
    std::error_code ec;
    state.counters["png_bytes"] = benchmark::Counter((double)std::filesystem::file_size(png, ec));
    std::remove(png.c_str());
    DeleteDC(dc);
}
BENCHMARK(BM_PageToPngFile)->Unit(benchmark::kMillisecond);

void BM_PageToPdf(benchmark::State& state)
{
    platform::gdi::PrintSurfaceSpec job;
    job.pdfPath = TempPath("page.pdf");
    job.paperWidthTenthMm = 2100;
    job.paperHeightTenthMm = 2970;
    job.landscape = true;
    Leads();
    for (auto _ : state) {
        HDC dc = platform::gdi::CreatePrintSurfaceDC(job);
        const int height = GetDeviceCaps(dc, VERTRES);
        platform::gdi::PrintSurfaceStartPage(dc);
        // 250 mm of the 297 mm page, traces 0.2 mm wide as printed.
        DrawPage(dc, (int)(kPaperMm * job.dpi / 25.4), height, 5);
        platform::gdi::PrintSurfaceEndPage(dc);
        if (!platform::gdi::PrintSurfaceFinish(dc)) state.SkipWithError("the PDF could not be written");
        DeleteDC(dc);
    }
    std::error_code ec;
    state.counters["pdf_bytes"] = benchmark::Counter((double)std::filesystem::file_size(job.pdfPath, ec));
    std::remove(job.pdfPath.c_str());
}
BENCHMARK(BM_PageToPdf)->Unit(benchmark::kMillisecond);

// The printed sheet's dotted grid alone, as the print grid painters set it
// (one pixel a dot, a column of dots after another), over 277 x 190 mm of an
// A4 landscape page at 600 dpi, document written and closed.
void BM_DottedGridToPdf(benchmark::State& state)
{
    platform::gdi::PrintSurfaceSpec job;
    job.pdfPath = TempPath("dots.pdf");
    job.paperWidthTenthMm = 2100;
    job.paperHeightTenthMm = 2970;
    job.landscape = true;
    _PRINT_GRID_AREA area;
    GetPrintGridArea(277, 190, job.dpi / 25.4, area);
    long dots = 0;
    for (auto _ : state) {
        HDC dc = platform::gdi::CreatePrintSurfaceDC(job);
        platform::gdi::PrintSurfaceStartPage(dc);
        dots = 0;
        ForEachGridDot(area, 0, 0, [&](int x, int y) {
            SetPixel(dc, x, y, RGB(0, 0, 0));
            ++dots;
        });
        platform::gdi::PrintSurfaceEndPage(dc);
        if (!platform::gdi::PrintSurfaceFinish(dc)) state.SkipWithError("the PDF could not be written");
        DeleteDC(dc);
    }
    std::error_code ec;
    state.counters["dots"] = benchmark::Counter((double)dots);
    state.counters["pdf_bytes"] = benchmark::Counter((double)std::filesystem::file_size(job.pdfPath, ec));
    std::remove(job.pdfPath.c_str());
}
BENCHMARK(BM_DottedGridToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
