// One 12-lead, 10-second page drawn through the waveform view base as the
// views draw it: the 1 mm / 5 mm grid as lines (DrawBackGrid), then every
// lead with its calibration pulse (DrawCAL, DrawWave) at 25 mm/s and
// 10 mm/mV, into a 1920 x 1080 image DC. Mode 0 (target: under 20 ms), the
// smoothing modes 1 to 3, and the print path (3 px black) on the same
// surface.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/TavrionDoc.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "tools/EcgModel.h"
#include "waveviews/WaveView.h"

namespace {

int MulDivPx(int a, int b, int c)
{
    return static_cast<int>(static_cast<long long>(a) * b / c);
}

const int kWidth = 1920;
const int kHeight = 1080;
const int kColumns = 262;   // 2 mm margin, 10 mm pulse column, 250 mm of trace

const std::vector<std::vector<short>>& Leads()
{
    // 1.25 µV a unit, as the device records keep their rhythm samples.
    static const std::vector<std::vector<short>> leads = [] {
        morvelance::SynthOptions options;
        options.seconds = 10.0;
        options.sampleRate = 500.0;
        options.noise = true;
        std::vector<std::vector<short>> out;
        for (const auto& lead : morvelance::Synthesize(options).leads) {
            std::vector<short> samples;
            for (float uv : lead.microvolts) samples.push_back(static_cast<short>(uv / 1.25f));
            out.push_back(std::move(samples));
            if (out.size() == 12) break;
        }
        return out;
    }();
    return leads;
}

void DrawPage(benchmark::State& state, int mode, bool print)
{
    CTavrionDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.SetGridType(1);
    doc.SetSmoothFilterMode(mode);
    doc.SetBaseLineWidth(1);
    CWaveView view;
    doc.AddView(&view);
    CDC dc;
    dc.Attach(platform::gdi::CreateImageDC(kWidth, kHeight));
    const int rows = kColumns * kHeight / kWidth;
    const auto& leads = Leads();
    const int n = static_cast<int>(leads.size());
    const int gain = MulDivPx(kHeight, 10, rows);
    for (auto _ : state) {
        view.DrawBackGrid(&dc, CRect(0, 0, kWidth, kHeight), kColumns, rows, RGB(255, 255, 255), RGB(255, 90, 90));
        for (int lead = 0; lead < n; ++lead) {
            const int baseline = kHeight * lead / n + kHeight / n * 2 / 3;
            int heights[1] = {gain};
            view.DrawCAL(&dc, kWidth * 4 / kColumns, baseline, kWidth * 5 / kColumns, heights, FALSE, print);
            std::vector<short> samples = leads[lead];
            const CRect trace(kWidth * 12 / kColumns, baseline, kWidth - kWidth * 2 / kColumns, baseline + gain);
            view.DrawWave(&dc, trace, 0.00125, samples.data(), static_cast<int>(samples.size()), print, -1);
        }
    }
    doc.RemoveView(&view);
}

}  // namespace


static void BM_WaveViewPageMode0(benchmark::State& state) { DrawPage(state, 0, false); }
static void BM_WaveViewPageMode1(benchmark::State& state) { DrawPage(state, 1, false); }
static void BM_WaveViewPageMode2(benchmark::State& state) { DrawPage(state, 2, false); }
static void BM_WaveViewPageMode3(benchmark::State& state) { DrawPage(state, 3, false); }
static void BM_WaveViewPagePrint(benchmark::State& state) { DrawPage(state, 0, true); }
BENCHMARK(BM_WaveViewPageMode0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WaveViewPageMode1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WaveViewPageMode2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WaveViewPageMode3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WaveViewPagePrint)->Unit(benchmark::kMillisecond);
