// CEnlargedPreviewWindow: the hover magnifier's window as the document and
// the waveform views know it. The window itself is a dialog, two floors above
// the views that draw into it; it implements this, the document keeps a
// pointer to it, and the views reach the magnifier view through it without
// knowing the dialog.
#pragma once

#include "platform/base/WinTypes.h"

class CViewEnlargedPreview;

class CEnlargedPreviewWindow {
public:
    // The magnifier view the waveform views draw into; null before the
    // window was created.
    virtual CViewEnlargedPreview* GetEnlargedPreview() const = 0;
    // The views draw into the magnifier only while its window is shown.
    virtual BOOL IsEnlargedPreviewShown() const = 0;

protected:
    // The document never owns the window: nobody deletes through this.
    ~CEnlargedPreviewWindow() = default;
};
