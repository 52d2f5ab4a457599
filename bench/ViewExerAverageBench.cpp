// The exercise average-beat view over an exercise record the record maker
// writes: the whole view (paper grid and layout) drawn into a 1920 x 1080
// image DC in each layout (target: under 20 ms for the twelve leads), and
// the update that loads a block's beats and values, reported apart.
// Run: <build>/bin/morvelance_bench --benchmark_filter=ExerAverage
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "analysisviews/ViewExerAverage.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "tools/ExerRecord.h"

using namespace morvelance;

namespace {

const int kWidth = 1920;
const int kHeight = 1080;

struct ExerFolder {
    ExerFolder() : path("/tmp/morvelance-exeraverage-bench-" + std::to_string(getpid()))
    {
        std::filesystem::create_directories(path);
        record = path + "/exercise.ecg";
        xml = WriteExerciseRecordFiles(record, ExerciseRecordOptions());
    }
    ~ExerFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
    std::string record;
    std::string xml;
};

struct AveragePage {
    explicit AveragePage(int mode)
    {
        static const ExerFolder folder;
        doc.m_bAutoDelete = FALSE;
        doc.SetGridType(1);
        auto* item = new _EXERDATAITEM;
        item->strFilePath = CString(folder.record.c_str());
        item->strXMLPath = CString(folder.xml.c_str());
        doc.GetExerDataManager().AppendItem(item);
        doc.SetCurDataIndex(item->nID);
        CString xmlPath(folder.xml.c_str()), file(folder.record.c_str());
        ok = doc.OpenFile(xmlPath, file) == 0;
        doc.SetCurAveBlockNo(20);
        doc.AddView(&view);
        view.SetAverageDisplayMode(mode);
        dc.Attach(platform::gdi::CreateImageDC(kWidth, kHeight));
    }
    ~AveragePage() { doc.RemoveView(&view); }
    int Draw()
    {
        view.DrawBackGrid(&dc, CRect(0, 0, kWidth, kHeight), CViewExerAverage::GRID_ACROSS,
                          CViewExerAverage::GRID_DOWN, RGB(255, 255, 255), RGB(255, 128, 128));
        return view.DrawView(&dc, CRect(0, 0, kWidth, kHeight), CViewExerAverage::GRID_ACROSS,
                             CViewExerAverage::GRID_DOWN, 1, 0);
    }

    CExerViewDoc doc;
    CViewExerAverage view;
    CDC dc;
    bool ok = false;
};

void BM_ExerAverageDraw(benchmark::State& state)
{
    AveragePage page(static_cast<int>(state.range(0)));
    if (!page.ok || page.view.GetBeat(0).nLength == 0 || !page.Draw()) {
        state.SkipWithError("the exercise record did not open");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(page.Draw());
}
BENCHMARK(BM_ExerAverageDraw)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

void BM_ExerAverageUpdate(benchmark::State& state)
{
    AveragePage page(1);
    for (auto _ : state) page.view.OnUpdate(nullptr, 0, nullptr);
}
BENCHMARK(BM_ExerAverageUpdate)->Unit(benchmark::kMillisecond);

}  // namespace
