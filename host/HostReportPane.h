// The hidden pane a host report prints from: a window holding a frame with
// the multi-lead view, the one-lead strip and the average beats made on the
// document, as the page panes make them.
#pragma once

#include "platform/ui/framework/FrameWnd.h"

class CTavrionDoc;
class CViewAverageWave;
class CViewRhythmWave;
class CViewScroll1LeadWave;

namespace host {

// The one-lead strip as the page panes open it: the rest wave and rest
// interpretation panes in style 13 (30 squares high), the US-style wave
// pane in style 15 (5 squares), the interpretation page of a rhythm record
// in style 18.
enum class StripKind { Wave, UsStyle, Interpretation };

class CHostReportPane {
public:
    // Shows the document's current record at `style` (0: the kind's first), page 0.
    CHostReportPane(CTavrionDoc& doc, int style, StripKind strip = StripKind::Wave);
    ~CHostReportPane();
    CHostReportPane(const CHostReportPane&) = delete;
    CHostReportPane& operator=(const CHostReportPane&) = delete;

    CViewRhythmWave* View() const { return m_view; }
    CViewScroll1LeadWave* Strip() const { return m_strip; }
    // Null for a record without average beats.
    CViewAverageWave* Average() const { return m_average; }

private:
    void MakeStripAndAverage(CTavrionDoc& doc, StripKind strip);

    CWnd m_window;
    CFrameWnd* m_frame = nullptr;   // deletes itself and the view with its window
    CViewRhythmWave* m_view = nullptr;
    CViewScroll1LeadWave* m_strip = nullptr;
    CViewAverageWave* m_average = nullptr;
};

}  // namespace host
