// MFER files whose averaged beats come at the file's own rate, for the
// average-beat views: the record maker's model at any rate (its beats are
// 1.2 s long, the R peak 0.5 s in), and PTB s0010_re from the shared data
// as the record maker writes it (15 leads at 1000 Hz).
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/DataItem.h"
#include "platform/gdi/Dc.h"
#include "documents/MFERViewDoc.h"
#include "tests/support/TestSupport.h"
#include "tools/MferWriter.h"
#include "tools/Mkrecord.h"

namespace beatrate {

// The model's standard twelve-lead file at `rate`, ten seconds, into `dir`.
inline std::string ModelFile(const testsupport::TempDir& dir, int rate)
{
    const std::string path = dir.File("model" + std::to_string(rate) + ".mwf");
    morvelance::MferOptions options;
    options.description = morvelance::MferDescription(morvelance::MferKind::Plain);
    std::string error;
    EXPECT_TRUE(morvelance::WriteMferFile(
        path, morvelance::MferKindRecord(morvelance::MferKind::Plain, 12, 10.0, static_cast<double>(rate)), options,
        &error))
        << error;
    return path;
}

// PTB s0010_re's first ten seconds as an MFER file; "" when the shared data is absent.
inline std::string PtbFile(const testsupport::TempDir& dir)
{
    const std::string hea = testsupport::SharedData("physionet/ptb/s0010_re.hea");
    if (hea.empty()) return "";
    const std::string out = dir.File("ptb-s0010_re.mwf");
    std::ostringstream said, complaint;
    EXPECT_EQ(0, morvelance::RunMkrecord({"wfdb", "--mfer", "--record", hea.substr(0, hea.size() - 4), "--seconds",
                                          "10", "--out", out},
                                         said, complaint))
        << complaint.str();
    return out;
}

// The file opened in the MFER document and made its current record; null when it did not open.
inline _MFERDATAITEM* OpenMfer(CMFERViewDoc& doc, const std::string& path)
{
    auto* item = new _MFERDATAITEM;
    item->strFilePath = testsupport::Wide(path);
    doc.GetMFERDataManager()->AppendItem(item);
    CString file = item->strFilePath, xml, third;
    if (doc.OpenMFERFile(file, xml, third) != 0) return nullptr;
    doc.SetCurDataIndex(item->nID);
    return item;
}

// The model at `rate`, or the PTB record for a rate of 0, opened and made
// current; null when the shared data is absent (or, a failure, when it did
// not open).
inline _MFERDATAITEM* OpenAt(CMFERViewDoc& doc, const testsupport::TempDir& dir, int rate)
{
    const std::string path = rate > 0 ? ModelFile(dir, rate) : PtbFile(dir);
    if (path.empty()) return nullptr;
    _MFERDATAITEM* item = OpenMfer(doc, path);
    EXPECT_NE(nullptr, item) << path;
    return item;
}

// The opened file listed in the comparing document's record list, as the
// serial comparisons find their records.
inline _DATAITEM* ListIn(CTavrionDoc& base, const _MFERDATAITEM& item)
{
    auto* listed = new _DATAITEM;
    listed->uSystemCode = item.uSystemCode;
    listed->strXMLPath = item.strXMLPath;
    listed->strFilePath = item.strFilePath;
    listed->strThirdKey = item.strThirdKey;
    return base.GetDataManager().AppendItem(listed);
}

// The rates every average-beat view is tried at.
inline const std::vector<int>& Rates()
{
    static const std::vector<int> rates{250, 500, 1000};
    return rates;
}

}  // namespace beatrate

namespace beatrate {

// The highest ink of a colour in a box: its row, and the middle of the
// columns that reach it (the R peak of the tallest lead there); -1 for none.
struct Peak {
    int x = -1;
    int y = -1;
};

inline Peak HighestInk(CDC& dc, const CRect& box, COLORREF colour)
{
    Peak peak;
    for (int y = box.top; y < box.bottom && peak.y < 0; ++y) {
        int left = -1, right = -1;
        for (int x = box.left; x < box.right; ++x) {
            if (dc.GetPixel(x, y) != colour) continue;
            if (left < 0) left = x;
            right = x;
        }
        if (left >= 0) peak = Peak{(left + right) / 2, y};
    }
    return peak;
}

// The first row of a colour down column x in [top, bottom); -1 for none.
inline int TopInk(CDC& dc, int x, int top, int bottom, COLORREF colour)
{
    for (int y = top; y < bottom; ++y)
        if (dc.GetPixel(x, y) == colour) return y;
    return -1;
}

// TopInk every `step` columns from `left` to `right`: a trace's outline.
inline std::vector<int> Outline(CDC& dc, int left, int right, int step, int top, int bottom, COLORREF colour)
{
    std::vector<int> tops;
    for (int x = left; x < right; x += step) tops.push_back(TopInk(dc, x, top, bottom, colour));
    return tops;
}

}  // namespace beatrate
