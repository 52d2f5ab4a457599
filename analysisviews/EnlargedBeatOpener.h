// CEnlargedBeatOpener: how an average-beat view opens the enlarged-beat
// dialog on a double click. The dialog belongs to a layer above the views, so
// the views hand it what they know through this request and the dialog layer
// installs the routine that builds and runs it. Without one nothing opens.
#pragma once

#include "platform/base/WinTypes.h"

class CTavrionDoc;
class CWnd;

struct _ENLARGED_BEAT_REQUEST {
    CTavrionDoc* pDoc = nullptr;
    int nDocType = 0;        // _DOC_TYPE of the view
    double dDotsPerMMX = 0.0;
    double dDotsPerMMY = 0.0;
    int nLead = 0;           // display lead 0..11
    int nSample = 0;         // the beat sample under the cursor
    int nWindowStart = 0;    // first sample of the beat window
    int nSampleCount = 0;    // samples of lead 0's beat
    BOOL bLimbLead = FALSE;  // leads 0..5
    CWnd* pParent = nullptr;
};

class CEnlargedBeatOpener {
public:
    // Builds the dialog from the request and runs it modally; its result.
    using OpenRoutine = INT_PTR (*)(const _ENLARGED_BEAT_REQUEST& request);

    // The routine the dialog layer provides; null removes it. Returns the one it replaced.
    static OpenRoutine SetRoutine(OpenRoutine routine);
    // Runs the dialog; IDCANCEL when no routine is installed.
    static INT_PTR Open(const _ENLARGED_BEAT_REQUEST& request);
};
