// The two drawing stand-ins under the waveform views: the anti-aliased line
// renderer on a 12-lead, 10-second page (each lead's 5,000 samples over
// 1,800 px into a 1920 x 1080 memory bitmap, default pen 1.5 x 1.5, power 3),
// and the annotation library on a mouse move in draw mode over 50 shapes:
// the manager's move call and DrawAll of the whole page (target: under 2 ms).
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "platform/penwick/NotationManager.h"
#include "platform/strandel/Strandel.h"
#include "tools/EcgModel.h"

namespace {

const int kWidth = 1920;
const int kHeight = 1080;

// A memory DC over a colour bitmap, as a view paints off screen.
class Page {
public:
    Page()
    {
        m_screen.Attach(platform::gdi::CreateImageDC(1, 1));
        m_dc.CreateCompatibleDC(&m_screen);
        m_bitmap.CreateCompatibleBitmap(&m_screen, kWidth, kHeight);
        m_old = m_dc.SelectObject(&m_bitmap);
        m_dc.FillSolidRect(0, 0, kWidth, kHeight, RGB(255, 255, 255));
    }
    ~Page() { m_dc.SelectObject(m_old); }
    CDC* dc() { return &m_dc; }

private:
    CDC m_screen;
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_old = nullptr;
};

void BM_StrandelTwelveLeadPage(benchmark::State& state)
{
    morvelance::SynthOptions options;
    options.seconds = 10.0;
    options.sampleRate = 500.0;
    options.noise = true;
    const std::vector<morvelance::EcgLead> leads = morvelance::Synthesize(options).leads;
    std::vector<std::vector<short>> samples;
    for (const auto& lead : leads) {
        samples.emplace_back();
        for (float uv : lead.microvolts) samples.back().push_back(static_cast<short>(uv / 2.5f));
    }
    Page page;
    const int row = kHeight / static_cast<int>(samples.size());
    for (auto _ : state) {
        for (size_t i = 0; i < samples.size(); ++i) {
            CStrandel line;
            line.SetPixelPerSample(40.0 * 0.0025);   // 40 px/mV, 2.5 uV a unit
            line.SetOutPixels(1800);
            line.SetDC(page.dc());
            line.SetColor(3, RGB(0, 0, 0), RGB(255, 255, 255), 1.0f);
            line.SetLineWidth(1.5f, 1.5f);
            line.SmoothLine(60, row / 2 + row * static_cast<int>(i), samples[i].data(),
                            static_cast<int>(samples[i].size()));
        }
    }
}
BENCHMARK(BM_StrandelTwelveLeadPage)->Unit(benchmark::kMillisecond);

void BM_SketchMouseMoveOverFiftyShapes(benchmark::State& state)
{
    CNotationManager manager;
    static const int kKinds[] = {SKETCH_LINE, SKETCH_RECTANGLE, SKETCH_ELLIPSE, SKETCH_ARROW, SKETCH_TEXT};
    for (int i = 0; i < 50; ++i) {
        const int x = 40 + (i % 10) * 180, y = 60 + (i / 10) * 200;
        manager.SetDrawType(kKinds[i % 5]);
        manager.LButtonDown(0, CPoint(x, y), nullptr, nullptr);
        manager.MouseMove(0, CPoint(x + 120, y + 90));
        manager.LButtonUp(0, CPoint(x + 120, y + 90));
    }
    manager.SetDrawType(SKETCH_LINE);
    manager.LButtonDown(0, CPoint(100, 1000), nullptr, nullptr);
    Page page;
    int step = 0;
    for (auto _ : state) {
        manager.MouseMove(0, CPoint(200 + (step++ % 500), 1020));
        manager.DrawAll(page.dc(), 0);
    }
    manager.CancelSketch();
}
BENCHMARK(BM_SketchMouseMoveOverFiftyShapes)->Unit(benchmark::kMicrosecond);

}  // namespace
