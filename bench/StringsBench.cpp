// The Windows-convention formatter: a line of the HP-GL/2 stream (two
// numbers), a date stamp with widths, and a caption mixing a wide and a
// Shift-JIS argument; time per Format call.
#include <benchmark/benchmark.h>

#include "platform/base/Strings.h"

namespace {

void BM_FormatPlotterMove(benchmark::State& state)
{
    CString text;
    int x = 0;
    for (auto _ : state) {
        text.Format(L"PD%d,%d;", x, 4759 - x);
        benchmark::DoNotOptimize(text.GetString());
        x = (x + 7) % 6814;
    }
}
BENCHMARK(BM_FormatPlotterMove);

void BM_FormatDateStamp(benchmark::State& state)
{
    CString text;
    for (auto _ : state) {
        text.Format(L"%04d/%02d/%02d %02d:%02d:%02d", 2024, 3, 5, 14, 7, 9);
        benchmark::DoNotOptimize(text.GetString());
    }
}
BENCHMARK(BM_FormatDateStamp);

void BM_FormatMixedCaption(benchmark::State& state)
{
    CString text;
    for (auto _ : state) {
        text.Format(L"ECGファイル%sを開けません。(%S) %5.1f mm/s", L"C:\\rec\\a.ecg", "\x83\x65\x83\x58\x83\x67", 25.0);
        benchmark::DoNotOptimize(text.GetString());
    }
}
BENCHMARK(BM_FormatMixedCaption);

}  // namespace
