// The one-lead scroll strip under a rhythm page: paging one-lead rhythm
// records of 5, 30 and 120 minutes through the strip (the release moves the
// page start, the strip re-clamps it and tells the pane, the page of style 16
// and the strip are drawn again; the cost must not grow with the length),
// and the strip's own repaint at each move of a drag (target: under 2 ms).
// Both views draw into 1920-wide image DCs, the page 920 high, the strip 160
// through its screen path (the rows it keeps between paints); and the first
// paint, which draws those rows.
// Run: <build>/bin/morvelance_bench --benchmark_filter=ScrollStrip
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "documents/RhythmViewDoc.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "tools/RecordXml.h"
#include "tools/RhythmRecord.h"
#include "waveviews/ViewScroll1LeadWave.h"

using namespace morvelance;

namespace {

const int kWidth = 1920;
const int kPageHeight = 920;
const int kStripHeight = 160;

struct BenchFolder {
    BenchFolder() : path("/tmp/morvelance-strip-bench-" + std::to_string(getpid()))
    {
        std::filesystem::create_directories(path);
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

// A one-lead rhythm record of `minutes` open in the rhythm document, a page
// of style 16 and the strip (style 18) on it.
struct PagedRecord {
    explicit PagedRecord(int minutes)
    {
        static const BenchFolder folder;
        RhythmRecordShape shape;
        shape.seconds = minutes * 60.0;
        RecordXmlSource source;
        RecordBuilder builder = MakeRhythmRecord(shape, &source);
        const std::string record = folder.path + "/rhythm" + std::to_string(minutes) + ".ecg";
        const std::string xml = folder.path + "/rhythm" + std::to_string(minutes) + ".xml";
        builder.WriteFile(record, zarn::Flavour::Newer90);
        WriteRecordXml(xml, source, RecordXmlOptions());
        doc.m_bAutoDelete = FALSE;
        auto* item = new _RHYTHMDATAITEM;
        item->strFilePath = CString(record.c_str());
        item->strXMLPath = CString(xml.c_str());
        item->nLeadCount = 1;
        doc.GetRhythmDataManager()->AppendItem(item);
        CString xmlPath(xml.c_str()), file(record.c_str());
        ok = doc.OpenFile(xmlPath, file) == 0;
        doc.SetCurDataIndex(0);
        doc.SetSpeed(25.0f);
        doc.SetRhythmWaveStyle(16);
        for (CViewRhythmWave* view : {static_cast<CViewRhythmWave*>(&page), static_cast<CViewRhythmWave*>(&strip)}) {
            doc.AddView(view);
            view->SetDocType(DOC_TYPE_RHYTHM);
        }
        page.SetWaveStyle(16, TRUE);
        strip.SetRhythm1LeadID(0);
        strip.SetWaveStyle(18, TRUE);
        page.OnUpdate(nullptr, 0, nullptr);
        strip.OnUpdate(nullptr, 0, nullptr);
        ok = ok && strip.GetRecordLength() > 0;
        pageDC.Attach(platform::gdi::CreateImageDC(kWidth, kPageHeight));
        stripDC.Attach(platform::gdi::CreateImageDC(kWidth, kStripHeight));
    }
    ~PagedRecord()
    {
        doc.RemoveView(&page);
        doc.RemoveView(&strip);
    }
    void DrawPage()
    {
        int gridX = 0, gridY = 0;
        page.GetGridCount(gridX, gridY);
        page.DrawBackGrid(&pageDC, CRect(0, 0, kWidth, kPageHeight), gridX, gridY, RGB(255, 255, 255), RGB(255, 0, 0));
        page.DrawView(&pageDC, CRect(0, 0, kWidth, kPageHeight), gridX, gridY, 0);
    }
    void DrawStrip()
    {
        int gridX = 0, gridY = 0;
        strip.GetGridCount(gridX, gridY);
        strip.DrawBackGrid(&stripDC, CRect(0, 0, kWidth, kStripHeight), gridX, gridY, RGB(255, 255, 255),
                           RGB(255, 0, 0));
        strip.DrawScreenStrip(&stripDC, CRect(0, 0, kWidth, kStripHeight),
                              CRect(kWidth * 10 / gridX + 1, 0, kWidth, kStripHeight));
    }

    CRhythmViewDoc doc;
    CViewRhythmWave page;
    CViewScroll1LeadWave strip;
    CDC pageDC;
    CDC stripDC;
    bool ok = false;
};

void BM_ScrollStripPaging(benchmark::State& state)
{
    PagedRecord paged(static_cast<int>(state.range(0)));
    if (!paged.ok) {
        state.SkipWithError("the record did not open");
        return;
    }
    const int step = paged.strip.GetWindowLength();
    int start = 0;
    paged.DrawStrip();   // the rows the strip keeps are drawn once, before the pages
    for (auto _ : state) {
        start += step;
        if (start + step > paged.strip.GetRecordLength()) start = 0;
        // The release: the strip clamps the start, the pane moves the page.
        paged.strip.SetStartTime(start);
        paged.strip.SetScrollWidth(0, TRUE);
        paged.page.SetStartTime(paged.strip.GetStartTime());
        paged.page.UpdateDrawDC();
        paged.DrawPage();
        paged.DrawStrip();
    }
}
BENCHMARK(BM_ScrollStripPaging)->ArgName("minutes")->Arg(5)->Arg(30)->Arg(120)->Unit(benchmark::kMillisecond);

// One move of a drag: the strip drawn again with its window moved.
void BM_ScrollStripDragMove(benchmark::State& state)
{
    PagedRecord paged(static_cast<int>(state.range(0)));
    if (!paged.ok) {
        state.SkipWithError("the record did not open");
        return;
    }
    int start = 0;
    paged.DrawStrip();
    for (auto _ : state) {
        start = (start + 500) % (paged.strip.GetRecordLength() - paged.strip.GetWindowLength());
        paged.strip.SetStartTime(start);
        paged.DrawStrip();
    }
}
BENCHMARK(BM_ScrollStripDragMove)->ArgName("minutes")->Arg(5)->Arg(30)->Unit(benchmark::kMillisecond);

// The strip's first paint after an update (untimed): the rows it keeps drawn
// afresh, then put together with the window at the record's start.
void BM_ScrollStripFirstPaint(benchmark::State& state)
{
    PagedRecord paged(static_cast<int>(state.range(0)));
    if (!paged.ok) {
        state.SkipWithError("the record did not open");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        paged.strip.OnUpdate(nullptr, 0, nullptr);
        state.ResumeTiming();
        paged.DrawStrip();
    }
}
BENCHMARK(BM_ScrollStripFirstPaint)->ArgName("minutes")->Arg(5)->Arg(30)->Arg(120)->Unit(benchmark::kMillisecond);

}  // namespace
