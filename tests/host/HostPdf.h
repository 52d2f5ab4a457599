// A PDF the host printed, read back as a person reads paper: its pages, its
// words with their boxes (pdftotext -bbox) and a page's pixels at 300 dpi
// (pdftoppm), measured in millimetres.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "tests/host/HostRun.h"
#include "tests/support/PngImage.h"

namespace hosttest {

constexpr double kPointsPerMm = 72.0 / 25.4;
constexpr int kDpi = 300;
constexpr double kPixelsPerMm = kDpi / 25.4;

inline bool HavePoppler()
{
    return std::system("command -v pdftotext >/dev/null 2>&1 && command -v pdftoppm >/dev/null 2>&1") == 0;
}

inline std::string CommandOutput(const std::string& command)
{
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

struct PdfWord {
    int page;          // from 1
    std::string text;
    double heightMm;
};

// Every word on every page, in reading order.
inline std::vector<PdfWord> PdfWords(const std::string& pdf)
{
    const std::string html = CommandOutput("pdftotext -bbox " + Quoted(pdf) + " - 2>/dev/null");
    std::vector<PdfWord> words;
    const std::regex item("<page |<word xMin=\"[-0-9.]+\" yMin=\"([-0-9.]+)\" xMax=\"[-0-9.]+\" yMax=\"([-0-9.]+)\">([^<]*)</word>");
    int page = 0;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), item); it != std::sregex_iterator(); ++it) {
        if (!(*it)[1].matched) {
            ++page;
            continue;
        }
        words.push_back({page, (*it)[3].str(), (std::stod((*it)[2]) - std::stod((*it)[1])) / kPointsPerMm});
    }
    return words;
}

inline int PdfPageCount(const std::string& pdf)
{
    int pages = 0;
    for (const PdfWord& word : PdfWords(pdf)) pages = word.page > pages ? word.page : pages;
    const std::string info = CommandOutput("pdfinfo " + Quoted(pdf) + " 2>/dev/null");
    std::smatch match;
    return std::regex_search(info, match, std::regex("Pages: +(\\d+)")) ? std::stoi(match[1]) : pages;
}

// Page `page` of the PDF rendered at 300 dpi into STEM.png; the PNG's path,
// "" when it could not be rendered.
inline std::string RenderPdfPage(const std::string& pdf, int page, const std::string& stem)
{
    const std::string command = "pdftoppm -r " + std::to_string(kDpi) + " -f " + std::to_string(page) + " -l " +
                                std::to_string(page) + " -png -singlefile " + Quoted(pdf) + " " + Quoted(stem);
    return std::system(command.c_str()) == 0 ? stem + ".png" : std::string();
}

// One page at 300 dpi, measured as paper is; Dark() is black ink: traces,
// pulses, texts and the frame (the grid is coloured).
class PdfPage : public testsupport::PngImage {
public:
    PdfPage(const std::string& pdf, int page, const std::string& folder)
        : PngImage(RenderPdfPage(pdf, page, folder + "/page" + std::to_string(page)))
    {
    }

    // The widest stretch of columns inked in the rows from top to bottom
    // (fractions of the page), gaps under half a millimetre bridged: a
    // trace across the page, in millimetres.
    double WidestInkedSpanMm(double top, double bottom) const
    {
        std::vector<bool> inked(static_cast<size_t>(Width()), false);
        for (int y = static_cast<int>(Height() * top); y < static_cast<int>(Height() * bottom); ++y)
            for (int x = 0; x < Width(); ++x)
                if (Dark(x, y)) inked[static_cast<size_t>(x)] = true;
        const int bridge = static_cast<int>(kPixelsPerMm / 2);
        int widest = 0, start = -1, last = -1;
        for (int x = 0; x < Width(); ++x) {
            if (!inked[static_cast<size_t>(x)]) continue;
            if (start < 0 || x - last > bridge) start = x;
            last = x;
            widest = std::max(widest, last - start + 1);
        }
        return widest / kPixelsPerMm;
    }

    // Grid ink: neither paper nor trace.
    bool GridInk(int x, int y) const { return Pixel(x, y) != 0xFFFFFF && !Dark(x, y); }

    // The longest run of dark pixels down one column, over the columns given.
    int LongestDarkColumnRun(int left, int right) const
    {
        int best = 0;
        for (int x = left; x < right; ++x) {
            int run = 0;
            for (int y = 0; y < Height(); ++y) {
                run = Dark(x, y) ? run + 1 : 0;
                best = std::max(best, run);
            }
        }
        return best;
    }

    // The commonest distance between the starts of grid lines 40 px or more
    // apart, along rows from `top` to `bottom`. A dotted grid is grey at 300
    // dpi; a ruled grid's bold lines are black as the traces are (`ruled`).
    int CommonGridPitch(int top, int bottom, bool ruled = false) const
    {
        auto ink = [&](int x, int y) { return ruled ? Pixel(x, y) != 0xFFFFFF : GridInk(x, y); };
        std::map<int, int> counts;
        for (int y = top; y < bottom; y += 7) {
            int last = -1;
            for (int x = 1; x < Width(); ++x) {
                if (!ink(x, y) || ink(x - 1, y)) continue;
                if (last >= 0 && x - last >= 40) ++counts[x - last];
                last = x;
            }
        }
        int pitch = 0, seen = 0;
        for (const auto& entry : counts)
            if (entry.second > seen) pitch = entry.first, seen = entry.second;
        return pitch;
    }
};

}  // namespace hosttest
