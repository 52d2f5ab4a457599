// What the raw printer languages need to know of the pens and brushes a
// caller selects: the raw types never draw through GDI, so the objects are
// read once when selected and turned into printer commands.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/gdi/Gdi.h"

struct _RAW_PEN {
    UINT uStyle = PS_SOLID;   // the PS_* style bits of the pen
    int nWidth = 1;           // device pixels
    int nStyleEntries = 0;    // user style entries (PS_USERSTYLE pens)
    DWORD dwStyleGap = 0;     // the second user style entry (the gap, device pixels); 0 with fewer than two
};

struct _RAW_BRUSH {
    BOOL bHatched = FALSE;
    COLORREF crColor = 0;
};

// FALSE for a null or stale handle or one that is not a pen (brush).
BOOL GetRawPen(HPEN hPen, _RAW_PEN& pen);
BOOL GetRawBrush(HBRUSH hBrush, _RAW_BRUSH& brush);

// The grey a colour prints as: 0.3 R + 0.59 G + 0.11 B, truncated (0..255).
// Computed in whole numbers so that white is exactly 255.
int GetRawGrey(COLORREF color);
