// The words of a PDF the host printed with their whole boxes (pdftotext
// -bbox), and the words of a page that lie over one another.
#pragma once

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "tests/host/HostPdf.h"

namespace hosttest {

struct WordBox {
    int page;   // from 1
    std::string text;
    double left, top, right, bottom;   // points
};

inline std::vector<WordBox> WordBoxes(const std::string& pdf)
{
    const std::string html = CommandOutput("pdftotext -bbox " + Quoted(pdf) + " - 2>/dev/null");
    std::vector<WordBox> words;
    const std::regex item(
        "<page |<word xMin=\"([-0-9.]+)\" yMin=\"([-0-9.]+)\" xMax=\"([-0-9.]+)\" yMax=\"([-0-9.]+)\">([^<]*)</word>");
    int page = 0;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), item); it != std::sregex_iterator(); ++it) {
        if (!(*it)[1].matched) {
            ++page;
            continue;
        }
        words.push_back({page, (*it)[5].str(), std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]),
                         std::stod((*it)[4])});
    }
    return words;
}

// Pairs of words of one page whose boxes overlap by more than a tenth of a
// millimetre each way, as "A | B".
inline std::vector<std::string> OverlappingWords(const std::vector<WordBox>& words)
{
    const double slack = 0.1 * kPointsPerMm;
    std::vector<std::string> pairs;
    for (size_t i = 0; i < words.size(); ++i)
        for (size_t j = i + 1; j < words.size(); ++j) {
            const WordBox& a = words[i];
            const WordBox& b = words[j];
            if (a.page != b.page) continue;
            const double across = std::min(a.right, b.right) - std::max(a.left, b.left);
            const double down = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
            if (across > slack && down > slack) pairs.push_back(a.text + " | " + b.text);
        }
    return pairs;
}

}  // namespace hosttest
