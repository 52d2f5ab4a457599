// Every reading of the waveform views that turns a distance on the page into
// a time or a voltage, walked on records of every kind opened as the host
// opens them, at paper speeds and gains other than the records' own. Each
// reading is checked against the picture it is read on: two beats found in
// the drawn trace read as the record's own beat interval, and the drawn
// height of a trace as its samples' span, whatever speed and gain the
// document holds and whatever speed and gain the trace is drawn at.
#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/TavrionDoc.h"
#include "documents/ExtraViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "host/RecordOpening.h"
#include "host/SerialRecordSet.h"
#include "platform/base/Kernel.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/Desktop.h"
#include "printdevice/ECGDC.h"
#include "tests/host/HostSamples.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/support/ViewInFrame.h"
#include "tests/waveviews/EnlargedViewTestSupport.h"
#include "tools/ExtraRecord.h"
#include "tools/RecordXml.h"
#include "tools/XmlTree.h"
#include "waveviews/RhythmWaveStyle.h"
#include "waveviews/ViewEnlargedOverlap.h"
#include "waveviews/ViewEnlargedWave.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewSerialComRhy.h"

using platform::ui::Desktop;

namespace {

const COLORREF kPaper = RGB(255, 255, 255);
const COLORREF kTrace = RGB(0, 0, 0);
const COLORREF kText = RGB(0, 0, 200);
const int kWidth = 800;
const int kHeight = 540;

// The records, written once: synthetic ones at 120 beats a minute (a column
// of the narrowest page holds two beats even at 50 mm/s), and the freeze
// record whose leads carry every kind of electrode code.
class Records {
public:
    static const Records& Get()
    {
        static const Records records;
        return records;
    }
    std::string Path(const std::string& name) const { return m_dir.File(name); }

private:
    Records()
    {
        for (const char* kind : {"rest12", "rhythm", "rr", "extra"})
            hosttest::MakeRecords({"synth", "--kind", kind, "--hr", "120", "--seconds",
                                   std::string(kind) == "rest12" ? "10" : "30", "--xml", "--out",
                                   m_dir.File(std::string(kind) + ".ecg")});
        // The freeze record as the record maker's examinations write it.
        const morvelance::ExtraRecordOptions options = morvelance::MixedFreezeRecordOptions();
        const morvelance::ExtraLeadRecord freeze =
            morvelance::MakeExtraLeadRecord(morvelance::SynthesizeExtraSignals(options.rhythmSeconds), options);
        const std::string path = m_dir.File("freeze.ecg");
        freeze.items.WriteFile(path, zarn::Flavour::Newer90);
        morvelance::WriteXmlFile(morvelance::RecordXmlPathFor(path, freeze.source.time),
                                 *morvelance::MakeExtraRecordXml(freeze, options), morvelance::XmlEncoding::Utf8);
    }
    testsupport::TempDir m_dir;
};

// Where the complexes of `profile` are: the middles of its runs above half
// way from its median to its top, runs nearer each other than a third of the
// widest gap between runs taken as one (the strokes of one complex), and the
// runs cut by either end left out.
std::vector<double> Complexes(const std::vector<int>& profile)
{
    const int n = static_cast<int>(profile.size());
    if (n == 0) return {};
    std::vector<int> sorted(profile);
    std::nth_element(sorted.begin(), sorted.begin() + n / 2, sorted.end());
    const int median = sorted[static_cast<size_t>(n / 2)];
    const int threshold = median + (*std::max_element(profile.begin(), profile.end()) - median) / 2;
    std::vector<std::pair<int, int>> runs;
    for (int i = 0; i < n; ++i) {
        if (profile[static_cast<size_t>(i)] <= threshold) continue;
        if (!runs.empty() && runs.back().second == i - 1)
            runs.back().second = i;
        else
            runs.emplace_back(i, i);
    }
    int widest = 0;
    for (size_t i = 1; i < runs.size(); ++i) widest = std::max(widest, runs[i].first - runs[i - 1].second);
    std::vector<std::pair<int, int>> complexes;
    for (const auto& run : runs) {
        if (!complexes.empty() && run.first - complexes.back().second < widest / 3)
            complexes.back().second = run.second;
        else
            complexes.push_back(run);
    }
    std::vector<double> middles;
    for (const auto& complex : complexes)
        if (complex.first > 0 && complex.second < n - 1) middles.push_back((complex.first + complex.second) / 2.0);
    return middles;
}

// The record's beat interval in milliseconds, from the slopes of its samples.
double RecordInterval(const short* samples, int count, int rate)
{
    std::vector<int> slope(static_cast<size_t>(std::max(count, 2)), 0);
    for (int i = 1; i + 1 < count; ++i) slope[static_cast<size_t>(i)] = std::abs(samples[i + 1] - samples[i - 1]);
    const std::vector<double> beats = Complexes(slope);
    std::vector<double> intervals;
    for (size_t i = 1; i < beats.size(); ++i) intervals.push_back(beats[i] - beats[i - 1]);
    if (intervals.empty()) return 0.0;
    std::nth_element(intervals.begin(), intervals.begin() + intervals.size() / 2, intervals.end());
    return intervals[intervals.size() / 2] * 1000.0 / rate;
}

// A picture's pixels, read from its image: a window's on its top-level
// window's, or an image DC's own.
class Picture {
public:
    // The client area where it stands on its top-level window's image.
    explicit Picture(CWnd& window)
    {
        CClientDC dc(&window);
        Read(dc);
        CPoint origin(0, 0);
        window.ClientToScreen(&origin);
        CPoint top(0, 0);
        window.GetTopLevelParent()->ClientToScreen(&top);
        m_origin = CPoint(origin.x - top.x, origin.y - top.y);
    }
    explicit Picture(CDC& image) { Read(image); }
    COLORREF At(int x, int y) const
    {
        x += m_origin.x;
        y += m_origin.y;
        if (!m_data || x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
        const uint32_t pixel = *reinterpret_cast<const uint32_t*>(m_data + y * m_stride + 4 * x);
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }

private:
    void Read(CDC& dc)
    {
        cairo_surface_t* surface = platform::gdi::GetImageSurface(dc.GetSafeHdc());
        ASSERT_NE(nullptr, surface);
        cairo_surface_flush(surface);
        m_data = cairo_image_surface_get_data(surface);
        m_stride = cairo_image_surface_get_stride(surface);
        m_width = cairo_image_surface_get_width(surface);
        m_height = cairo_image_surface_get_height(surface);
    }
    CPoint m_origin{0, 0};
    const unsigned char* m_data = nullptr;
    int m_stride = 0;
    int m_width = 0;
    int m_height = 0;
};

// Where the trace's ink down each column of the box peaks: its beats, in x.
std::vector<double> DrawnBeats(const Picture& picture, const CRect& box)
{
    std::vector<int> ink;
    for (int x = box.left; x < box.right; ++x) {
        int n = 0;
        for (int y = box.top; y < box.bottom; ++y) n += picture.At(x, y) == kTrace;
        ink.push_back(n);
    }
    std::vector<double> beats = Complexes(ink);
    for (double& x : beats) x += box.left;
    return beats;
}

// The highest and lowest trace pixel in the box.
std::pair<int, int> DrawnExtent(const Picture& picture, const CRect& box)
{
    int top = box.bottom;
    int bottom = box.top - 1;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            if (picture.At(x, y) == kTrace) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return {top, bottom};
}

void Paint(CWnd& view)
{
    view.Invalidate(FALSE);
    view.UpdateWindow();
}

void ClickAt(CWnd& view, int x, int y)
{
    Desktop::MoveMouse(view.GetSafeHwnd(), x, y);
    Desktop::PumpMessages();
    Desktop::Click(view.GetSafeHwnd(), x, y);
    Desktop::PumpMessages();
    Desktop::AdvanceClock(1000);   // the next press makes no double-click
}

// A view of class View on a document, in a frame under a window that stands
// in for the pane or the dialog, as they hold their views.
template <class View, class Parent = CWnd> struct Shown {
    Shown(CDocument& doc, int width = kWidth, int height = kHeight)
    {
        const CRect size(0, 0, width, height);
        EXPECT_TRUE(parent.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, size, nullptr, 0));
        frame = new CFrameWnd;
        view = DYNAMIC_DOWNCAST(View, testsupport::CreateViewInFrame(*frame, parent, RUNTIME_CLASS(View), doc, width,
                                                                    height));
    }
    ~Shown()
    {
        if (frame) frame->DestroyWindow();
        parent.DestroyWindow();
    }
    Parent parent;
    CFrameWnd* frame = nullptr;   // deletes itself and the view with its window
    View* view = nullptr;
};

class HostReadingWalk : public testsupport::DocumentTest {
protected:
    void TearDown() override
    {
        Desktop::Reset();
        testsupport::DocumentTest::TearDown();
    }
    // The record opened as the host opens it, drawn in the walk's colours,
    // measured with the tools of the measure mode, its traces where their
    // rows put them.
    std::unique_ptr<CTavrionDoc> Open(const std::string& path)
    {
        std::unique_ptr<CTavrionDoc> doc;
        EXPECT_TRUE(host::OpenForViews(path, doc)) << path;
        if (!doc) return doc;
        Prepare(*doc);
        // Page styles that carry the measuring tools.
        if (auto* rest = dynamic_cast<CRestViewDoc*>(doc.get())) rest->SetPageStyle(1);
        if (auto* rhythm = dynamic_cast<CRhythmViewDoc*>(doc.get())) rhythm->SetPageStyle(1);
        if (auto* rr = dynamic_cast<CRRViewDoc*>(doc.get())) rr->SetPageStyle(3);
        if (auto* extra = dynamic_cast<CExtraViewDoc*>(doc.get())) extra->SetPageStyle(1);
        return doc;
    }
    static void Prepare(CTavrionDoc& doc)
    {
        doc.m_bAutoDelete = FALSE;
        doc.SetWaveColor(0, kTrace);
        doc.SetWaveColor(1, RGB(255, 210, 210));
        doc.SetWaveColor(2, kPaper);
        doc.SetWaveColor(3, kText);
        doc.SetWaveColor(4, RGB(0, 160, 0));
        for (int slot = 5; slot <= 14; ++slot) doc.SetWaveColor(slot, kTrace);
        doc.SetSmoothFilterMode(0);
        doc.SetBaseLineWidth(1);
        doc.SetMouseMode(1);
        doc.SetScaleShow(1);
        doc.SetSenseMode(1);
    }
    static CTavrionDoc& DocOf(CView& view) { return *static_cast<CTavrionDoc*>(view.GetDocument()); }

    // The multi-lead view of the style on the document, painted.
    static void ShowStyle(CViewRhythmWave& view, int style)
    {
        view.SetDocType(DocOf(view).GetDocType());
        view.SetWaveStyle(style, TRUE);
        view.OnUpdate(nullptr, 0, nullptr);
        Paint(view);
    }
    // Where the first time span of the page is drawn: the first column,
    // and of rhythm and RR rows the first group of rows down to just under
    // its last zero line.
    static CRect FirstSpan(CViewRhythmWave& view)
    {
        CRect client;
        view.GetClientRect(&client);
        int gridX = 0;
        int gridY = 0;
        view.GetGridCount(gridX, gridY);
        const int style = view.GetWaveStyle();
        const int calW = MulDiv(client.Width(), 10, gridX);
        const int columns = IsOneLeadStyle(style) ? 1 : std::max(1, view.GetColumns());
        CRect box(calW + 4, 0, calW + (client.Width() - calW) / columns - 4, client.Height());
        if (IsRowsPopupStyle(style)) {
            const int rows = view.GetRows();
            const int square = client.Height() / gridY;
            const int lastZero = client.Height() / (2 * rows) + 5 * square +
                                 (view.GetLeadGroups() - 1) * client.Height() / rows;
            box.bottom = lastZero + 2 * square;
        }
        return box;
    }
    // The interval of the record the view shows, from its first loaded lead.
    static double IntervalOf(CViewRhythmWave& view)
    {
        for (int lead = 0; lead < RHYTHM_VIEW_LEADS; ++lead)
            if (view.GetLeadSampleCount(lead) > 0)
                return RecordInterval(view.GetLeadSamples(lead), view.GetLeadSampleCount(lead), view.GetSampleRate());
        return 0.0;
    }
    static double IntervalOf(CTavrionDoc& doc, int lead)
    {
        const std::vector<short> samples = testsupport::RhythmWave(doc, lead);
        return RecordInterval(samples.data(), static_cast<int>(samples.size()), 500);
    }

    // The serial comparison of the record, as the host holds its series.
    static bool Compare(host::SerialRecordSet& set, const std::string& record)
    {
        if (!set.OpenAll({record}, host::OpenForViews, false)) return false;
        set.ForEachDocument([](CTavrionDoc& doc) { Prepare(doc); });
        return true;
    }
    static void ShowCompared(CViewSerialComRhy& view, host::SerialRecordSet& set, int style)
    {
        view.SetRestViewDoc(&set.rest);
        view.SetMFERViewDoc(&set.mfer);
        view.SetBaseECGDoc(&set.base);
        view.SetDocType(set.kind);
        view.SetSerialIndex(0);
        view.SetWaveStyle(style, TRUE);
        view.OnUpdate(nullptr, 0, nullptr);
        Paint(view);
    }
    // The serial view's wave area, right of its pulse.
    static CRect WaveArea(CWnd& view, int gridX)
    {
        CRect client;
        view.GetClientRect(&client);
        return CRect(MulDiv(client.Width(), 10, gridX) + 4, 0, client.Width() - 4, client.Height());
    }
    // The enlarged strip of `lead` of the current record, as its dialog shows
    // it: at the document's speed, the sensitivity given, 100 Hz hi-cut.
    static void ShowEnlarged(CViewEnlargedWave& view, CTavrionDoc& doc, _ECGDATA* record, int lead, float sense)
    {
        view.SetDocType(doc.GetDocType());
        view.SetBackGridSize(4.0, 4.0, 1.0);
        const int total = doc.GetRhythmWaveData(lead, nullptr, -1) / 2;
        view.SetWaveInfo(record, 0, doc.GetSpeed(), sense, 100, total);
        view.SetCenterPos(total / 2, lead, FALSE);
        view.SendMessage(WM_INITIALUPDATE, 0, 0);
        Paint(view);
    }
    // The ruler's two marks set by the mouse; the last reading its dialog heard.
    static std::pair<int, int> Ruler(CWnd& view, enlargedtest::CReportRecorder& dialog, CPoint a, CPoint b)
    {
        dialog.m_readings.clear();
        ClickAt(view, a.x, a.y);
        ClickAt(view, b.x, b.y);
        return dialog.m_readings.empty() ? std::pair<int, int>(-1, -1) : dialog.m_readings.back();
    }
};

// (record, the wave styles the walk shows it in)
struct RecordStyles {
    const char* record;
    std::vector<int> styles;
};

TEST_F(HostReadingWalk, InEveryStyleAtEverySpeedTheDividersAndTheScaleReadADrawnBeatAsTheRecordsOwn)
{
    const RecordStyles walk[] = {
        {"rest12.ecg", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {"rhythm.ecg", {16, 17, 18, 19}},
        {"rr.ecg", {20, 21}},
        {"extra.ecg", {13, 15, 22, 23, 24, 25, 26, 27, 28}},
    };
    for (const RecordStyles& record : walk) {
        std::unique_ptr<CTavrionDoc> doc = Open(Records::Get().Path(record.record));
        ASSERT_NE(nullptr, doc);
        for (const float speed : {12.5f, 50.0f}) {
            doc->SetSpeed(speed);
            for (const int style : record.styles) {
                SCOPED_TRACE(std::string(record.record) + " style " + std::to_string(style) + " at " +
                             std::to_string(speed) + " mm/s");
                Shown<CViewRhythmWave> shown(*doc);
                CViewRhythmWave& view = *shown.view;
                ShowStyle(view, style);
                const CRect span = FirstSpan(view);
                const std::vector<double> beats = DrawnBeats(Picture(view), span);
                ASSERT_GE(beats.size(), 2u);
                const double interval = IntervalOf(view);
                ASSERT_GT(interval, 0.0);
                // What one pixel across is worth on the drawn trace.
                const double msPerPixel = interval / (beats[1] - beats[0]);
                const double tolerance = 3 * msPerPixel + 5;

                view.ShowDivider(TRUE);
                view.SetDividerCheck(TRUE, 1);
                Paint(view);
                const CRect first = view.GetDividerHandle(0, 0);
                const CRect second = view.GetDividerHandle(0, 1);
                ASSERT_FALSE(second.IsRectNull());
                EXPECT_NEAR((second.left - first.left) * msPerPixel, view.GetDividerInterval(0), tolerance)
                    << "divider I spans " << second.left - first.left << " px";

                if (IsHalfWidthStyle(style) || IsScaleLessStyle(style)) continue;
                view.ShowScale(TRUE);
                const int y = (span.top + span.bottom) / 2;
                ClickAt(view, static_cast<int>(beats[0] + 0.5), y);
                ClickAt(view, static_cast<int>(beats[1] + 0.5), y);
                Paint(view);
                ASSERT_EQ(RULER_STATUS_BOTH, view.GetScaleStatus());
                EXPECT_NEAR(interval, view.GetScaleMilliseconds(), tolerance);
            }
        }
    }

    // The serial comparison's calipers and scale, on its strip and its six leads.
    host::SerialRecordSet set;
    ASSERT_TRUE(Compare(set, Records::Get().Path("rest12.ecg")));
    const double interval = IntervalOf(set.rest, 1);
    for (const float speed : {12.5f, 50.0f}) {
        set.rest.SetSpeed(speed);
        for (const int style : {13, 29}) {
            SCOPED_TRACE("the serial comparison's style " + std::to_string(style) + " at " + std::to_string(speed) +
                         " mm/s");
            Shown<CViewSerialComRhy> shown(set.base);
            CViewSerialComRhy& view = *shown.view;
            ShowCompared(view, set, style);
            int gridX = 0;
            int gridY = 0;
            view.GetGridCount(gridX, gridY);
            const CRect area = WaveArea(view, gridX);
            const std::vector<double> beats = DrawnBeats(Picture(view), area);
            ASSERT_GE(beats.size(), 2u);
            const double msPerPixel = interval / (beats[1] - beats[0]);
            const double tolerance = 3 * msPerPixel + 5;
            view.ShowDivider(TRUE);
            view.SetDividerCheck(TRUE, 1);
            Paint(view);
            const int span = view.GetDividerGrip(0, 1).CenterPoint().x - view.GetDividerGrip(0, 0).CenterPoint().x;
            ASSERT_GT(span, 0);
            EXPECT_NEAR(span * msPerPixel, view.GetDividerInterval(0), tolerance)
                << "caliper I spans " << span << " px";
            view.ShowScale(TRUE);
            ClickAt(view, static_cast<int>(beats[0] + 0.5), area.Height() / 2);
            ClickAt(view, static_cast<int>(beats[1] + 0.5), area.Height() / 2);
            Paint(view);
            EXPECT_NEAR(interval, view.GetScaleTime(), tolerance);
        }
    }

    // The enlarged strip of the rhythm record's pop-up, at the document's speed.
    std::unique_ptr<CTavrionDoc> rhythm = Open(Records::Get().Path("rhythm.ecg"));
    ASSERT_NE(nullptr, rhythm);
    _RHYTHMDATAITEM* item = static_cast<CRhythmViewDoc*>(rhythm.get())->GetCurrentDataItem();
    ASSERT_NE(nullptr, item);
    for (const float speed : {12.5f, 50.0f}) {
        SCOPED_TRACE("the enlarged strip at " + std::to_string(speed) + " mm/s");
        rhythm->SetSpeed(speed);
        Shown<CViewEnlargedWave, enlargedtest::CReportRecorder> shown(*rhythm, 800, 400);
        ShowEnlarged(*shown.view, *rhythm, item->pECGData, 0, 10.0f);
        const std::vector<double> beats = DrawnBeats(Picture(*shown.view), CRect(4, 0, 796, 400));
        ASSERT_GE(beats.size(), 2u);
        const double ruled = IntervalOf(*rhythm, 0);
        const double msPerPixel = ruled / (beats[1] - beats[0]);
        shown.view->SetRulerStatus(RULER_STATUS_ARMED);
        const CPoint first(static_cast<int>(beats[0] + 0.5), 200);
        const CPoint second(static_cast<int>(beats[1] + 0.5), 200);
        const std::pair<int, int> reading = Ruler(*shown.view, shown.parent, first, second);
        EXPECT_NEAR(ruled, reading.first, 3 * msPerPixel + 5);
    }
}

TEST_F(HostReadingWalk, EveryAmplitudeIsReadAtTheGainItsTraceIsDrawnAt)
{
    // Each holder is read twice, the gain of its trace and the document's
    // other gains set one way (5 and 10 mm/mV) and then the other: the
    // drawn height of the trace reads as the voltage that height is at the
    // gain the trace is drawn with.
    struct Reading {
        int microvolts = -1;
        int pixels = 0;          // the drawn height
        double drawn = 0.0;      // what the height is at the gain drawn with
    };
    auto compare = [](const std::string& holder, const std::function<Reading(float drawn, float other)>& read,
                      float low = 5.0f, float high = 10.0f) {
        SCOPED_TRACE(holder);
        for (const Reading& reading : {read(low, high), read(high, low)}) {
            ASSERT_GT(reading.pixels, 10);
            EXPECT_NEAR(reading.drawn, reading.microvolts, reading.drawn / reading.pixels + 2)
                << "drawn " << reading.pixels << " px high";
        }
    };
    // The trace's height in `box` at `gain` and the ends of a line down it.
    auto extentIn = [](CWaveView& view, const CRect& box, double gain, Reading& reading) {
        const std::pair<int, int> extent = DrawnExtent(Picture(view), box);
        EXPECT_GT(extent.first, box.top) << "the trace leaves the box";
        EXPECT_LT(extent.second, box.bottom - 1) << "the trace leaves the box";
        reading.pixels = extent.second - extent.first;
        CRect client;
        view.GetClientRect(&client);
        int gridX = 0;
        int gridY = 0;
        view.GetGridCount(gridX, gridY);
        reading.drawn = reading.pixels * gridY * 1000.0 / client.Height() / gain;
        const int x = (box.left + box.right) / 2;
        return std::make_pair(CPoint(x, extent.first), CPoint(x, extent.second));
    };
    // The scale of the multi-lead view over the trace's height in `box`,
    // its first point at the top.
    auto scale = [&](CViewRhythmWave& view, const CRect& box, double gain) {
        Reading reading;
        const auto ends = extentIn(view, box, gain, reading);
        view.ShowDivider(TRUE);
        view.ShowScale(TRUE);
        ClickAt(view, ends.first.x, ends.first.y);
        ClickAt(view, ends.second.x, ends.second.y);
        Paint(view);
        reading.microvolts = view.GetScaleStatus() == RULER_STATUS_BOTH ? view.GetScaleMicrovolts() : -1;
        return reading;
    };
    // An enlarged view's ruler down the trace's height.
    auto ruler = [&](auto& shown, double gain) {
        Reading reading;
        CRect client;
        shown.view->GetClientRect(&client);
        client.DeflateRect(2, 2);
        const auto ends = extentIn(*shown.view, client, gain, reading);
        shown.view->SetRulerStatus(RULER_STATUS_ARMED);
        reading.microvolts = Ruler(*shown.view, shown.parent, ends.first, ends.second).second;
        return reading;
    };

    std::unique_ptr<CTavrionDoc> rest = Open(Records::Get().Path("rest12.ecg"));
    std::unique_ptr<CTavrionDoc> rhythm = Open(Records::Get().Path("rhythm.ecg"));
    std::unique_ptr<CTavrionDoc> freeze = Open(Records::Get().Path("freeze.ecg"));
    ASSERT_TRUE(rest && rhythm && freeze);
    // Style 15's strip is five squares high.
    for (const int style : {13, 15}) {
        compare("the resting strip of style " + std::to_string(style), [&](float drawn, float other) {
            for (const UINT group : {0u, 1u, 6u}) rest->SetSense(group, other, 0);
            rest->SetSense(2, drawn, 0);
            Shown<CViewRhythmWave> shown(*rest);
            ShowStyle(*shown.view, style);
            return scale(*shown.view, FirstSpan(*shown.view), drawn);
        }, style == 15 ? 0.25f : 5.0f, style == 15 ? 0.5f : 10.0f);
    }
    compare("the rhythm strip of style 18", [&](float drawn, float other) {
        rhythm->SetSense(2, other, 0);
        rhythm->SetSense(6, drawn, 0);
        Shown<CViewRhythmWave> shown(*rhythm);
        ShowStyle(*shown.view, 18);
        return scale(*shown.view, FirstSpan(*shown.view), drawn);
    });
    // The freeze record's first lead is a free lead (electrode code 119),
    // drawn at a fixed 10 mm/mV beside leads at the page's gain.
    compare("the free lead of the freeze page", [&](float, float other) {
        freeze->SetSense(4, other, 0);
        Shown<CViewRhythmWave> shown(*freeze, kWidth, 900);
        ShowStyle(*shown.view, 24);
        CRect box = FirstSpan(*shown.view);
        box.bottom = (shown.view->GetScreenBaseline(0) + shown.view->GetScreenBaseline(1)) / 2;
        return scale(*shown.view, box, 10.0);
    });
    _EXTRADATAITEM* freezeItem = static_cast<CExtraViewDoc*>(freeze.get())->GetCurrentDataItem();
    ASSERT_NE(nullptr, freezeItem);
    compare("the free lead enlarged", [&](float, float other) {
        Shown<CViewEnlargedWave, enlargedtest::CReportRecorder> shown(*freeze, 800, 400);
        ShowEnlarged(*shown.view, *freeze, freezeItem->pECGData, 0, other);
        return ruler(shown, 10.0);
    });

    // The serial comparison's strip, drawn at the gain of a record of its
    // length, 10 mm/mV for ten seconds.
    host::SerialRecordSet set;
    ASSERT_TRUE(Compare(set, Records::Get().Path("rest12.ecg")));
    compare("the serial comparison's strip", [&](float, float other) {
        set.rest.SetSense(3, other, 0);
        Shown<CViewSerialComRhy> shown(set.base);
        ShowCompared(*shown.view, set, 13);
        int gridX = 0;
        int gridY = 0;
        shown.view->GetGridCount(gridX, gridY);
        Reading reading;
        const auto ends = extentIn(*shown.view, WaveArea(*shown.view, gridX), 10.0, reading);
        shown.view->ShowDivider(TRUE);
        shown.view->ShowScale(TRUE);
        ClickAt(*shown.view, ends.first.x, ends.first.y);
        ClickAt(*shown.view, ends.second.x, ends.second.y);
        Paint(*shown.view);
        reading.microvolts = shown.view->GetScaleVoltage();
        return reading;
    });
    // The serial average comparison's overlapped beats, drawn at the gain
    // the comparison gives them.
    compare("the overlapped beats", [&](float drawn, float other) {
        set.base.SetSense(6, other, 0);
        Shown<CViewEnlargedOverlap, enlargedtest::CReportRecorder> shown(set.rest, 800, 400);
        CViewEnlargedOverlap& view = *shown.view;
        view.SetBaseECGDoc(&set.base, DOC_TYPE_REST);
        view.SetRestDoc(&set.rest);
        view.SetBackGridSize(4.0, 4.0, 1.0);
        view.SetSense(drawn);
        view.SetLeadID(1);
        view.SetSerialCount(1);
        view.SetDataIndex(0, 0);
        view.SendMessage(WM_INITIALUPDATE, 0, 0);
        Paint(view);
        return ruler(shown, drawn);
    });
}

// The marks that stand for times on a page: the events of a rhythm record
// under its strip on screen, and the ticks of tenths of a second under a
// printed strip. Each stands where its time is drawn on the trace above it.
TEST_F(HostReadingWalk, MarksOfTimesStandWhereTheirTimesAreDrawn)
{
    std::unique_ptr<CTavrionDoc> rhythm = Open(Records::Get().Path("rhythm.ecg"));
    ASSERT_NE(nullptr, rhythm);
    rhythm->SetSpeed(50.0f);
    rhythm->SetSense(2, 2.5f, 0);   // the trace keeps clear of the marks
    const CArray<int, int>& events = static_cast<CRhythmViewDoc*>(rhythm.get())->GetCurrentDataItem()->arrEvent;
    ASSERT_GT(events.GetSize(), 1);
    {
        SCOPED_TRACE("the events under the rhythm strip of style 19");
        Shown<CViewRhythmWave> shown(*rhythm);
        CViewRhythmWave& view = *shown.view;
        ShowStyle(view, 19);
        const CRect span = FirstSpan(view);
        int gridX = 0;
        int gridY = 0;
        view.GetGridCount(gridX, gridY);
        const int markY = span.bottom - MulDiv(span.Height(), 2, gridY);
        const Picture picture(view);
        const std::vector<double> beats = DrawnBeats(picture, span);
        ASSERT_GE(beats.size(), 10u);
        // Taken over every beat drawn: the marks stand far along the strip.
        const double msPerPixel = IntervalOf(view) * (beats.size() - 1) / (beats.back() - beats.front());
        // A mark's tick stands a pixel above its wedges.
        std::vector<double> marks;
        for (int x = span.left; x < span.right; ++x)
            if (picture.At(x, markY - 1) == kText) marks.push_back(x);
        const double origin = span.left - 4;   // the trace's first sample
        for (INT_PTR i = 0; i < events.GetSize(); ++i) {
            const double x = origin + events[i] * 1000.0 / view.GetSampleRate() / msPerPixel;
            if (x >= span.right - 4) continue;
            const bool marked =
                std::any_of(marks.begin(), marks.end(), [&](double m) { return std::fabs(m - x) <= 3; });
            EXPECT_TRUE(marked) << "event at sample " << events[i] << " belongs at x " << x;
        }
    }

    std::unique_ptr<CTavrionDoc> rest = Open(Records::Get().Path("rest12.ecg"));
    ASSERT_NE(nullptr, rest);
    rest->SetSpeed(50.0f);
    for (const int style : {13, 14, 15}) {
        SCOPED_TRACE("the ticks under the printed strip of style " + std::to_string(style));
        Shown<CViewRhythmWave> shown(*rest);
        CViewRhythmWave& view = *shown.view;
        ShowStyle(view, style);
        view.SetShowMarkFlag(1);
        const double pxPerMm = 8.0;
        const int width = static_cast<int>(260 * pxPerMm);
        const int height = static_cast<int>(30 * pxPerMm);
        CDC page;
        ASSERT_TRUE(page.Attach(platform::gdi::CreateImageDC(width, height + 40)));
        page.FillSolidRect(0, 0, width, height + 40, kPaper);
        CECGDC printer(&page, 2);
        ASSERT_EQ(1, view.Print(&printer, CRect(0, 0, width, height), 260, 30, pxPerMm, 0, 0, 1));
        // Past the texts and the name at the strip's left.
        const CRect strip(static_cast<int>(25 * pxPerMm), static_cast<int>(6 * pxPerMm), width - 4, height);
        const std::vector<double> beats = DrawnBeats(Picture(page), strip);
        ASSERT_GE(beats.size(), 2u);
        const double msPerPixel = IntervalOf(view) / (beats[1] - beats[0]);
        // The ticks reach under the strip's bottom edge.
        const Picture printed(page);
        std::vector<double> ticks;
        for (int x = 0, first = -1; x <= width; ++x) {
            const bool ink = x < width && printed.At(x, height + 2) == kTrace;
            if (ink && first < 0) first = x;
            if (!ink && first >= 0) {
                ticks.push_back((first + x - 1) / 2.0);
                first = -1;
            }
        }
        ASSERT_GE(ticks.size(), 3u);
        EXPECT_NEAR(100.0 / msPerPixel, ticks[2] - ticks[1], 1.5) << "a tenth of a second apart";
    }
}

}  // namespace
