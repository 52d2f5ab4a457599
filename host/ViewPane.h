// A view as the panes make it, for the host's commands: a top-level window
// of the given size holding a frame with the view made from its runtime
// class on the document; and the view saved as a PNG as it shows.
#pragma once

#include <functional>
#include <string>

#include "platform/ui/framework/FrameWnd.h"

class CTavrionDoc;
class CView;
struct CRuntimeClass;

namespace host {

class Pane {
public:
    // The view gets its initial update, or, when `setUp` is given, is handed
    // to it in place of one (the dialogs that give their views settings
    // before loading them).
    Pane(CTavrionDoc& doc, CRuntimeClass* viewClass, int width, int height,
         const std::function<void(CView* view)>& setUp = nullptr);
    ~Pane();
    Pane(const Pane&) = delete;
    Pane& operator=(const Pane&) = delete;

    // Null when the window, the frame or the view could not be made.
    CView* View() const { return m_view; }

private:
    CWnd m_window;
    CFrameWnd* m_frame = nullptr;   // deletes itself and the view with its window
    CView* m_view = nullptr;
};

// The view painted as it shows, saved as a PNG and named on stdout; false
// (with a message) when it could not be written.
bool SaveViewPng(CView* view, const std::string& png);

}  // namespace host
