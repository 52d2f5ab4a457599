// CWavePopups: the pop-up dialogs the multi-lead view opens on a
// double-click. The dialogs live in a layer above the views, so they give
// the view their openers here when the library loads; without an opener the
// double-click opens nothing.
#pragma once

#include <functional>
#include <memory>

#include "platform/ui/framework/Dialog.h"

class CTavrionDoc;
class CViewRhythmWave;
class CWnd;

// What the view hands a pop-up: the record, the clicked lead and sample, and
// the screen's pixels per millimetre.
struct CWavePopupRequest {
    CTavrionDoc* pDoc = nullptr;
    int nDocType = 0;
    int nLead = 0;
    int nSample = 0;          // the clicked (or the strip's first) sample
    int nPageStart = 0;       // 0 when the sample is absolute
    int nCount = 0;           // samples of the lead shown
    int nSenseID = 6;         // the document's sensitivity selector of the lead
    int nSampleRate = 500;
    int nStripWidth = 260;    // the divider strip's paper in small squares
    int nStripHeight = 30;
    double dDotsPerMMX = 0.0;
    double dDotsPerMMY = 0.0;
};

class CWavePopups {
public:
    // A stored pop-up set up and not yet running; the view owns it.
    using MakeStored = std::function<std::unique_ptr<CDialog>(const CWavePopupRequest&)>;
    // A pop-up run modally on the opener's stack; its result.
    using RunOnStack = std::function<INT_PTR(const CWavePopupRequest&)>;

    MakeStored makeEnlargedWave;   // the enlarged lead of a resting or MFER page
    MakeStored makeDivider;        // the divider strip of a one-lead page
    RunOnStack runEnlargedRhyRR;   // the enlarged lead of a rhythm, RR or extra page
    // The multi-lead view of the pane `parent` when that pane places its
    // dividers afresh after the divider dialog, else null. The panes stand
    // above the views, so they give it when the library loads.
    std::function<CViewRhythmWave*(CWnd* parent)> dividerPaneView;

    static CWavePopups& Get();
};
