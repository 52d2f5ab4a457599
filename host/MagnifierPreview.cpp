#include "host/MagnifierPreview.h"

#include <cstdio>

#include "core/TavrionDoc.h"
#include "dialogs/DlgEnlargedPreview.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/windowing/Desktop.h"
#include "waveviews/ViewEnlargedPreview.h"
#include "waveviews/WaveView.h"

namespace host {
namespace {

using platform::ui::Desktop;

const int kMagnifierWidth = 320;
const int kMagnifierHeight = 200;

}  // namespace

bool SaveMagnifierPng(CTavrionDoc& doc, CView* view, int x, int y, float ratio, const std::string& png)
{
    return SaveMagnifierPng(std::vector<CTavrionDoc*>{&doc}, view, x, y, ratio, png);
}

bool SaveMagnifierPng(const std::vector<CTavrionDoc*>& docs, CView* view, int x, int y, float ratio,
                      const std::string& png)
{
    if (docs.empty() || !docs[0]) return false;
    // The commands refuse a magnifier over any other view before drawing it.
    auto* wave = DYNAMIC_DOWNCAST(CWaveView, view);
    if (!wave) {
        std::fprintf(stderr, "morvelance-host: --magnify needs a waveform view\n");
        return false;
    }
    CDlgEnlargedPreview dialog;
    dialog.SetEnlargedPreviewDoc(docs[0]);
    if (!dialog.Create(CDlgEnlargedPreview::IDD, nullptr)) {
        std::fprintf(stderr, "morvelance-host: the magnifier picture %s could not be made\n", png.c_str());
        return false;
    }
    // The magnifier stands in the screen's corner away from the mouse, so
    // that the mouse rests on the view and not on the magnifier.
    POINT screen{x, y};
    ::ClientToScreen(view->GetSafeHwnd(), &screen);
    const int left = screen.x < Desktop::ScreenWidth() / 2 ? Desktop::ScreenWidth() - kMagnifierWidth : 0;
    const int top = screen.y < Desktop::ScreenHeight() / 2 ? Desktop::ScreenHeight() - kMagnifierHeight : 0;
    dialog.SetWindowPos(nullptr, left, top, kMagnifierWidth, kMagnifierHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    dialog.SetScaleRatio(ratio);
    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    std::vector<CEnlargedPreviewWindow*> previous;
    for (CTavrionDoc* doc : docs) {
        previous.push_back(doc->GetEnlargedPreview());
        doc->SetEnlargedPreview(&dialog);
    }

    // The mouse comes onto the view as a user's would: the view feeds the
    // magnifier with its own magnified drawing.
    Desktop::MoveMouse(view->GetSafeHwnd(), x, y);
    Desktop::PumpMessages();
    bool ok = false;
    CViewEnlargedPreview* preview = dialog.GetEnlargedPreview();
    if (preview) {
        preview->UpdateWindow();
        CRect client;
        preview->GetClientRect(&client);
        CDC image;
        if (image.Attach(platform::gdi::CreateImageDC(client.Width(), client.Height()))) {
            CClientDC shown(preview);
            image.BitBlt(0, 0, client.Width(), client.Height(), &shown, 0, 0, SRCCOPY);
            ok = platform::gdi::SaveImagePng(image.GetSafeHdc(), png.c_str());
        }
    }
    // The mouse leaves the view before the magnifier goes.
    Desktop::MoveMouse(POINT{left + kMagnifierWidth / 2, top + kMagnifierHeight / 2});
    Desktop::PumpMessages();
    for (size_t i = 0; i < docs.size(); ++i) docs[i]->SetEnlargedPreview(previous[i]);
    dialog.DestroyWindow();
    if (!ok) {
        std::fprintf(stderr, "morvelance-host: the magnifier picture %s could not be made\n", png.c_str());
        return false;
    }
    std::printf("%s\n", png.c_str());
    return true;
}

}  // namespace host
