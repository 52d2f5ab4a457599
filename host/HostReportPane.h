// The hidden pane a host report prints from: a window holding a frame with
// the multi-lead view made on the document, as the page panes make it.
#pragma once

#include "platform/ui/framework/FrameWnd.h"

class CTavrionDoc;
class CViewRhythmWave;

namespace host {

class CHostReportPane {
public:
    // Shows the document's current record at `style` (0: the kind's first), page 0.
    CHostReportPane(CTavrionDoc& doc, int style);
    ~CHostReportPane();
    CHostReportPane(const CHostReportPane&) = delete;
    CHostReportPane& operator=(const CHostReportPane&) = delete;

    CViewRhythmWave* View() const { return m_view; }

private:
    CWnd m_window;
    CFrameWnd* m_frame = nullptr;   // deletes itself and the view with its window
    CViewRhythmWave* m_view = nullptr;
};

}  // namespace host
