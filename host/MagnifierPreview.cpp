#include "host/MagnifierPreview.h"

#include <cstdio>

#include "core/TavrionDoc.h"
#include "dialogs/DlgEnlargedPreview.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/ClientDC.h"
#include "waveviews/ViewEnlargedPreview.h"
#include "waveviews/WaveViewMagnifier.h"

namespace host {

bool SaveMagnifierPng(CTavrionDoc& doc, CView* view, int x, int y, float ratio, const std::string& png)
{
    auto* wave = DYNAMIC_DOWNCAST(CWaveView, view);
    if (!wave) {
        std::fprintf(stderr, "morvelance-host: --magnify needs a waveform view\n");
        return false;
    }
    CDlgEnlargedPreview dialog;
    dialog.SetEnlargedPreviewDoc(&doc);
    if (!dialog.Create(CDlgEnlargedPreview::IDD, nullptr)) return false;
    dialog.SetWindowPos(nullptr, 0, 0, 320, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    dialog.SetScaleRatio(ratio);
    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    CEnlargedPreviewWindow* previous = doc.GetEnlargedPreview();
    doc.SetEnlargedPreview(&dialog);

    bool ok = false;
    {
        // The view's own painting, stretched: the host knows no view's
        // magnified drawing beyond what is on its screen.
        CWaveViewMagnifier magnifier(*wave);
        CWaveViewMagnifier::Drawing drawing;
        drawing.drawView = [view](CDC* dc, const CRect& draw, float) {
            CRect client;
            view->GetClientRect(&client);
            CClientDC screen(view);
            return dc->StretchBlt(draw.left, draw.top, draw.Width(), draw.Height(), &screen, 0, 0, client.Width(),
                                  client.Height(), SRCCOPY);
        };
        magnifier.SetDrawing(drawing);
        if (magnifier.Move(CPoint(x, y))) {
            CViewEnlargedPreview* preview = dialog.GetEnlargedPreview();
            preview->UpdateWindow();
            CRect client;
            preview->GetClientRect(&client);
            CDC image;
            if (image.Attach(platform::gdi::CreateImageDC(client.Width(), client.Height()))) {
                CClientDC screen(preview);
                image.BitBlt(0, 0, client.Width(), client.Height(), &screen, 0, 0, SRCCOPY);
                ok = platform::gdi::SaveImagePng(image.GetSafeHdc(), png.c_str());
            }
        }
    }
    doc.SetEnlargedPreview(previous);
    dialog.DestroyWindow();
    if (!ok) {
        std::fprintf(stderr, "morvelance-host: the magnifier picture %s could not be made\n", png.c_str());
        return false;
    }
    std::printf("%s\n", png.c_str());
    return true;
}

}  // namespace host
