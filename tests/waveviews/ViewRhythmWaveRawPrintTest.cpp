// A resting record's multi-lead page printed through CECGPrinter to the raw
// printer languages (HP-GL/2 in PCL 5 and LIPS IV), read back from the spool
// and parsed into vectors: the traces of every row and the calibration
// pulses must be in the stream, and on LIPS the lead names as text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/base/Registry.h"
#include "platform/print/PrintSetup.h"
#include "platform/print/Spooler.h"
#include "printdevice/ECGDC.h"
#include "printdevice/ECGPrinter.h"
#include "tests/platform/print/PrintTestSupport.h"
#include "tests/waveviews/ViewRhythmWaveTestSupport.h"

namespace {

const wchar_t kRawPrinter[] = L"Raw Wave Printer";
const char kRS = '\x1e';

struct Segment {
    POINT a;
    POINT b;
};

// The vectors of an HP-GL/2 stream: every pen-down stroke from the pen position.
std::vector<Segment> HpglSegments(const std::string& stream)
{
    std::vector<Segment> segments;
    POINT pen = {0, 0};
    size_t pos = 0;
    while (pos < stream.size()) {
        const size_t end = std::min(stream.find(';', pos), stream.size());
        const std::string command = stream.substr(pos, end - pos);
        pos = end + 1;
        // The pen command closes the piece: whatever stands before it set up the page or the pen.
        const size_t up = command.rfind("PU");
        const size_t down = command.rfind("PD");
        if (up == std::string::npos && down == std::string::npos) continue;
        const bool isDown = down != std::string::npos && (up == std::string::npos || down > up);
        const size_t at = isDown ? down : up;
        std::vector<long> values;
        const char* p = command.c_str() + at + 2;
        char* next = nullptr;
        for (long v = std::strtol(p, &next, 10); next != p; v = std::strtol(p, &next, 10)) {
            values.push_back(v);
            p = *next == ',' ? next + 1 : next;
        }
        for (size_t i = 0; i + 1 < values.size(); i += 2) {
            const POINT to = {(LONG)values[i], (LONG)values[i + 1]};
            if (isDown) segments.push_back({pen, to});
            pen = to;
        }
    }
    return segments;
}

// LIPS numbers: high groups 0x40..0x7F, then the last character on the
// sign base ('0' for v >= 0, blank below) holding the low four bits.
bool ReadLipsNumber(const std::string& text, size_t& pos, long& value)
{
    long magnitude = 0;
    while (pos < text.size() && (unsigned char)text[pos] >= 0x40 && (unsigned char)text[pos] <= 0x7F)
        magnitude = magnitude * 64 + ((unsigned char)text[pos++] - 0x40);
    if (pos >= text.size()) return false;
    const unsigned char last = (unsigned char)text[pos++];
    if (last < 0x20 || last > 0x3F) return false;
    magnitude = magnitude * 16 + (last & 0x0F);
    value = last >= 0x30 ? magnitude : -magnitude;
    return true;
}

// The vectors of a LIPS stream: lines and polylines ("1", start, steps).
std::vector<Segment> LipsSegments(const std::string& stream)
{
    std::vector<Segment> segments;
    size_t pos = 0;
    while (pos < stream.size()) {
        const size_t end = std::min(stream.find(kRS, pos), stream.size());
        std::string command = stream.substr(pos, end - pos);
        pos = end + 1;
        // A text command leaves vector mode and comes back before the next one.
        const size_t back = command.rfind("\x1b[&}");
        if (back != std::string::npos) command = command.substr(back + 4);
        if (command.empty() || command[0] != '1') continue;
        size_t at = 1;
        long x = 0;
        long y = 0;
        if (!ReadLipsNumber(command, at, x) || !ReadLipsNumber(command, at, y)) continue;
        long dx = 0;
        long dy = 0;
        while (ReadLipsNumber(command, at, dx) && ReadLipsNumber(command, at, dy)) {
            segments.push_back({POINT{(LONG)x, (LONG)y}, POINT{(LONG)(x + dx), (LONG)(y + dy)}});
            x += dx;
            y += dy;
        }
    }
    return segments;
}

// Vertical strokes of the given length (± 3 dots): the calibration pulses' edges.
int VerticalStrokes(const std::vector<Segment>& segments, int length)
{
    int n = 0;
    for (const Segment& s : segments)
        if (s.a.x == s.b.x && std::abs(std::abs(s.b.y - s.a.y) - length) <= 3) ++n;
    return n;
}

// How much of [left, right) the strokes lying within `band` dots of y cover, 0..1.
double RowCoverage(const std::vector<Segment>& segments, int y, int band, int left, int right)
{
    std::vector<bool> covered((size_t)std::max(right - left, 1), false);
    for (const Segment& s : segments) {
        if (std::abs(s.a.y - y) > band || std::abs(s.b.y - y) > band) continue;
        const int from = std::max<int>(std::min(s.a.x, s.b.x), left);
        const int to = std::min<int>(std::max(s.a.x, s.b.x) + 1, right);
        for (int x = from; x < to; ++x) covered[(size_t)(x - left)] = true;
    }
    return (double)std::count(covered.begin(), covered.end(), true) / covered.size();
}

class RhythmViewRawPrintTest : public rhythmviewtest::RestPageFixture<> {
protected:
    void SetUp() override
    {
        rhythmviewtest::RestPageFixture<>::SetUp();
        const std::string registry = m_dir.Write("registry.reg", "Windows Registry Editor Version 5.00\n\n");
        m_registryEnv.reset(new printtest::ScopedEnv("MORVELANCE_REGISTRY", registry));
        m_spoolEnv.reset(new printtest::ScopedEnv("MORVELANCE_SPOOL", m_dir.File("spool")));
        platform::ReloadRegistry();
        platform::print::PrinterSetup setup;
        setup.name = kRawPrinter;
        ASSERT_TRUE(platform::print::ConfigurePrinter(setup));
    }
    void TearDown() override
    {
        m_spoolEnv.reset();
        m_registryEnv.reset();
        platform::ReloadRegistry();
        rhythmviewtest::RestPageFixture<>::TearDown();
    }

    // Prints the record's page of `style` as a report does, on a page of
    // 260 x 180 squares at the raw printers' 600 dpi; the spooled bytes.
    std::string PrintPage(_PRINT_TYPE type, int style)
    {
        m_view.SetWaveStyle(style, TRUE);
        m_view.OnUpdate(nullptr, 0, nullptr);
        CECGPrinter printer;
        printer.SetPrinterName(kRawPrinter);
        printer.SetPrintType(type);
        if (!printer.CreateECGPrintDC(&m_doc)) return std::string();
        CECGDC* dc = printer.GetPrintECGDC();
        const _PRINTER_SETTING& setting = *printer.GetPrintSetting();
        m_pxPerMm = setting.fPixelPerMM;
        m_area = CRect(setting.nPrintLeft, setting.nPrintTop, setting.nPrintLeft + (int)(260 * m_pxPerMm),
                       setting.nPrintTop + (int)(180 * m_pxPerMm));
        EXPECT_GT(dc->StartDoc(L"Rest page"), 0);
        dc->StartPage();
        EXPECT_EQ(1, m_view.Print(dc, m_area, 260, 180, m_pxPerMm, 1, 0, 1));
        dc->EndPage();
        dc->EndDoc();
        dc->CloseECGPrinter();
        const auto jobs = platform::print::ListSpooledJobs(platform::print::SpoolFolder(kRawPrinter));
        return jobs.empty() ? std::string() : testsupport::ReadFileBytes(jobs.back().dataPath);
    }

    // The distinct zero lines of the page's leads.
    std::set<int> Baselines() const
    {
        std::set<int> rows;
        for (int lead = 0; lead < 12; ++lead)
            if (m_view.GetPrintBaseline(lead) > 0) rows.insert(m_view.GetPrintBaseline(lead));
        return rows;
    }

    // Every lead row carries a trace across most of the page's trace area
    // (right of the ten-square calibration column).
    void ExpectTracesOnEveryRow(const std::vector<Segment>& segments)
    {
        const std::set<int> rows = Baselines();
        ASSERT_GE(rows.size(), 3u);
        const int left = m_area.left + (int)(10 * m_pxPerMm);
        for (int y : rows)
            EXPECT_GT(RowCoverage(segments, y, (int)(15 * m_pxPerMm), left, m_area.right), 0.6) << "row at " << y;
    }

    std::unique_ptr<printtest::ScopedEnv> m_registryEnv;
    std::unique_ptr<printtest::ScopedEnv> m_spoolEnv;
    double m_pxPerMm = 0.0;
    CRect m_area;
};

TEST_F(RhythmViewRawPrintTest, HpglPageCarriesEveryRowsTraceAndTenMillimetrePulses)
{
    OpenRecord();
    const std::string stream = PrintPage(3, 1);
    ASSERT_FALSE(stream.empty());
    const std::vector<Segment> segments = HpglSegments(stream);
    ExpectTracesOnEveryRow(segments);
    // 1 mV at 10 mm/mV and 600 dpi: both edges of each row's pulse are 236 dots.
    EXPECT_GE(VerticalStrokes(segments, 236), 2 * (int)Baselines().size());
}

TEST_F(RhythmViewRawPrintTest, LipsPageCarriesTracesPulsesAndTheLeadNames)
{
    OpenRecord();
    const std::string stream = PrintPage(5, 1);
    ASSERT_FALSE(stream.empty());
    const std::vector<Segment> segments = LipsSegments(stream);
    ExpectTracesOnEveryRow(segments);
    EXPECT_GE(VerticalStrokes(segments, 236), 2 * (int)Baselines().size());
    // Text goes out after the shift-in that selects the Japanese font.
    EXPECT_NE(std::string::npos, stream.find("\x0f" "aVR"));
    EXPECT_NE(std::string::npos, stream.find("\x0f" "V6"));
}

TEST_F(RhythmViewRawPrintTest, HpglPageCarriesNoText)
{
    OpenRecord();
    const std::string stream = PrintPage(3, 1);
    ASSERT_FALSE(stream.empty());
    EXPECT_EQ(std::string::npos, stream.find("aVR"));
    EXPECT_EQ(std::string::npos, stream.find("LB"));
}

}  // namespace
