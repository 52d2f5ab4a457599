// The enlarged-beat dialog opened on a resting record as a double click
// opens it: the view created in its frame, the 33 cells of the measurement
// table made and loaded, the dialog painted, then closed (target < 20 ms).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "bench/BenchRecords.h"
#include "dialogs/DlgEnlargedWave.h"
#include "documents/RestViewDoc.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/windowing/Desktop.h"
#include "tools/RestRecord.h"

namespace {

void BM_EnlargedBeatDialogOpenAndPaint(benchmark::State& state)
{
    const std::string folder = "/tmp/morvelance-enlarged-bench-" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    const morvelance::RestRecordFiles files = morvelance::WriteRestRecord(folder, "rest.ecg", morvelance::RestRecordShape());
    CRestViewDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.InitGlobalData();
    if (!benchrecords::OpenRestRecord(doc, files)) {
        state.SkipWithError("the record could not be opened");
        return;
    }
    const int length = doc.GetRhythmWaveData(1, nullptr, -1);
    platform::ui::ModalDriverScope driver([](CDialog& dialog) {
        dialog.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        dialog.EndDialog(IDCANCEL);
    });
    for (auto _ : state) {
        CDlgEnlargedWave dialog(1, 0, nullptr);
        dialog.SetDoc(&doc, DOC_TYPE_REST);
        dialog.SetDotsPerMM(3.78, 3.78);
        dialog.SetClickInfo(1, length / 2, 0, length);
        benchmark::DoNotOptimize(dialog.DoModal());
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
BENCHMARK(BM_EnlargedBeatDialogOpenAndPaint)->Unit(benchmark::kMillisecond);

}  // namespace
