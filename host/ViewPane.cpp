#include "host/ViewPane.h"

#include <cstdio>

#include "core/TavrionDoc.h"
#include "host/CommandFailure.h"
#include "core/TavrionView.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/CreateContext.h"

namespace host {

Pane::Pane(CTavrionDoc& doc, CRuntimeClass* viewClass, int width, int height,
           const std::function<void(CView* view)>& setUp)
{
    if (!viewClass) return;
    if (!m_window.CreateEx(0, nullptr, L"morvelance-host", WS_POPUP | WS_VISIBLE, CRect(0, 0, width, height), nullptr,
                           0))
        return;
    m_frame = new CFrameWnd;
    if (!m_frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), &m_window)) {
        m_frame = nullptr;
        return;
    }
    CCreateContext context;
    context.m_pNewViewClass = viewClass;
    context.m_pCurrentDoc = &doc;
    m_view = DYNAMIC_DOWNCAST(CView, m_frame->CreateView(&context, AFX_IDW_PANE_FIRST));
    if (!m_view) return;
    // The panes show their views without the sunken edge.
    m_view->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_NOACTIVATE | SWP_FRAMECHANGED);
    m_frame->RecalcLayout();
    if (setUp)
        setUp(m_view);
    else
        m_view->SendMessage(WM_INITIALUPDATE, 0, 0);
}

Pane::~Pane()
{
    if (m_frame) m_frame->DestroyWindow();
    m_window.DestroyWindow();
}

bool SaveViewPng(CView* view, const std::string& png)
{
    view->Invalidate(TRUE);
    view->UpdateWindow();
    CRect client;
    view->GetClientRect(&client);
    CDC image;
    if (!image.Attach(platform::gdi::CreateImageDC(client.Width(), client.Height()))) {
        ReportFailure("%s could not be made: no memory for a %dx%d picture", png.c_str(), client.Width(),
                      client.Height());
        return false;
    }
    CClientDC screen(view);
    image.BitBlt(0, 0, client.Width(), client.Height(), &screen, 0, 0, SRCCOPY);
    if (!platform::gdi::SaveImagePng(image.GetSafeHdc(), png.c_str())) {
        ReportFailure("%s could not be written", png.c_str());
        return false;
    }
    std::printf("%s\n", png.c_str());
    return true;
}

}  // namespace host
