#include "printdevice/RawObjects.h"

#include <cstddef>
#include <cstring>
#include <vector>

BOOL GetRawPen(HPEN hPen, _RAW_PEN& pen)
{
    if (!hPen) return FALSE;
    const DWORD type = GetObjectType(hPen);
    if (type == OBJ_PEN) {
        LOGPEN log = {};
        if (GetObject(hPen, (int)sizeof log, &log) != (int)sizeof log) return FALSE;
        pen = _RAW_PEN();
        pen.uStyle = log.lopnStyle;
        pen.nWidth = log.lopnWidth.x;
        return TRUE;
    }
    if (type != OBJ_EXTPEN) return FALSE;
    // An extended pen's record grows with its style entries; ask for its size first.
    const int size = GetObject(hPen, 0, nullptr);
    if (size < (int)offsetof(EXTLOGPEN, elpStyleEntry)) return FALSE;
    std::vector<DWORD> block(((size_t)size + sizeof(DWORD) - 1) / sizeof(DWORD) + 1);
    if (GetObject(hPen, size, block.data()) != size) return FALSE;
    const EXTLOGPEN* ext = reinterpret_cast<const EXTLOGPEN*>(block.data());
    pen = _RAW_PEN();
    pen.uStyle = ext->elpPenStyle;
    pen.nWidth = (int)ext->elpWidth;
    const size_t room = ((size_t)size - offsetof(EXTLOGPEN, elpStyleEntry)) / sizeof(DWORD);
    pen.nStyleEntries = (int)(ext->elpNumEntries < room ? ext->elpNumEntries : room);
    if (pen.nStyleEntries >= 2) {
        // The entries run past the record's one-entry array; read them from the block.
        std::memcpy(&pen.dwStyleGap,
                    reinterpret_cast<const BYTE*>(block.data()) + offsetof(EXTLOGPEN, elpStyleEntry) + sizeof(DWORD),
                    sizeof(DWORD));
    }
    return TRUE;
}

BOOL GetRawBrush(HBRUSH hBrush, _RAW_BRUSH& brush)
{
    if (!hBrush || GetObjectType(hBrush) != OBJ_BRUSH) return FALSE;
    LOGBRUSH log = {};
    if (GetObject(hBrush, (int)sizeof log, &log) != (int)sizeof log) return FALSE;
    brush.bHatched = log.lbStyle == BS_HATCHED;
    brush.crColor = log.lbColor;
    return TRUE;
}

int GetRawGrey(COLORREF color)
{
    const int r = GetRValue(color);
    const int g = GetGValue(color);
    const int b = GetBValue(color);
    return (30 * r + 59 * g + 11 * b) / 100;
}
