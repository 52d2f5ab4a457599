// The hover magnifier and the annotation layer under the mouse, as a user
// sees them on a 1920 x 1080 screen: a host view of 1920 x 1080 with the
// 1 mm / 5 mm grid, a magnifier window of 320 x 200 at ratio 4.
// - a move served from the cached canvas in measure mode (target: under 2 ms);
// - a full redraw of the canvas (the magnification changes every time);
// - an annotation mouse move in draw mode over 50 shapes: the manager's move
//   and DrawAll on the screen (target: under 2 ms).
#include <benchmark/benchmark.h>

#include "core/TavrionDoc.h"
#include "dialogs/DlgEnlargedPreview.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/windowing/Desktop.h"
#include "waveviews/ViewEnlargedPreview.h"
#include "waveviews/WaveViewMagnifier.h"

namespace {

struct MagnifierScene {
    MagnifierScene()
    {
        platform::ui::Desktop::SetScreenSize(1920, 1080);
        doc.m_bAutoDelete = FALSE;
        dialog.SetEnlargedPreviewDoc(&doc);
        dialog.Create(CDlgEnlargedPreview::IDD, nullptr);
        dialog.SetWindowPos(nullptr, 0, 0, 320, 200, SWP_NOZORDER | SWP_NOACTIVATE);
        dialog.ShowWindow(SW_SHOWNOACTIVATE);
        doc.SetEnlargedPreview(&dialog);
        pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1920, 1080), nullptr, 0);
        view = new CWaveView;
        CCreateContext context;
        context.m_pCurrentDoc = &doc;
        view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1920, 1080), &pane, 1, &context);
        view->InitBackground(384, 216);
        magnifier = std::make_unique<CWaveViewMagnifier>(*view);
        CWaveViewMagnifier::Drawing drawing;
        drawing.drawView = [](CDC*, const CRect&, float) { return TRUE; };
        magnifier->SetDrawing(drawing);
    }
    ~MagnifierScene()
    {
        magnifier.reset();
        doc.SetEnlargedPreview(nullptr);
        pane.DestroyWindow();
        dialog.DestroyWindow();
        platform::ui::Desktop::Reset();
    }
    CTavrionDoc doc;
    CDlgEnlargedPreview dialog;
    CWnd pane;
    CWaveView* view = nullptr;
    std::unique_ptr<CWaveViewMagnifier> magnifier;
};

void BM_MagnifierMoveFromCache(benchmark::State& state)
{
    MagnifierScene scene;
    scene.magnifier->Move(CPoint(960, 540));
    int step = 0;
    for (auto _ : state) {
        scene.magnifier->Move(CPoint(950 + step % 20, 530 + step % 20));
        ++step;
    }
}

void BM_MagnifierFullRedraw(benchmark::State& state)
{
    MagnifierScene scene;
    int step = 0;
    for (auto _ : state) {
        scene.dialog.SetScaleRatio(step % 2 ? 4.0f : 3.0f);
        scene.magnifier->Move(CPoint(960, 540));
        ++step;
    }
}

void BM_AnnotationMoveOverFiftyShapes(benchmark::State& state)
{
    CTavrionDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.SetMouseMode(2);
    CWnd pane;
    pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1920, 1080), nullptr, 0);
    auto* view = new CWaveView;
    CCreateContext context;
    context.m_pCurrentDoc = &doc;
    view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1920, 1080), &pane, 1, &context);
    CNotationManager& manager = view->GetNotationManager();
    LOGFONT font{};
    font.lfHeight = 14;
    for (int i = 0; i < 50; ++i) {
        const float x = 30.0f * (i % 10) + 20.0f;
        const float y = 150.0f * (i / 10) + 20.0f;
        const CExactPoint points[] = {{x, y}, {x + 200.0f, y + 100.0f}};
        manager.LoadSketchFromXML(2 + i % 8, RGB(0, 0, 255), RGB(0, 0, 255), 1, 0, 2, font, 2, points, view, L"",
                                  TRUE, nullptr, 0, CString(), CString(), TRUE);
    }
    manager.AddRecord();
    CDC dc;
    dc.Attach(platform::gdi::CreateImageDC(1920, 1080));
    manager.LButtonDown(0, CPoint(500, 500), view, nullptr);
    int step = 0;
    for (auto _ : state) {
        manager.MouseMove(MK_LBUTTON, CPoint(600 + step % 300, 600 + step % 200));
        manager.DrawAll(&dc, 0);
        ++step;
    }
    manager.CancelSketch();
    pane.DestroyWindow();
}

}  // namespace

BENCHMARK(BM_MagnifierMoveFromCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MagnifierFullRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnnotationMoveOverFiftyShapes)->Unit(benchmark::kMillisecond);
