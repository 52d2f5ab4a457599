#include "platform/gdi/Driver.h"

namespace platform {
namespace gdi {

std::vector<RECT> ClipPieces(const DrawAttributes& attr, const RECT& area)
{
    std::vector<RECT> pieces;
    const RECT box = Intersect(area, attr.clip);
    if (IsEmpty(box)) return pieces;
    if (attr.clipRects.empty()) {
        pieces.push_back(box);
        return pieces;
    }
    for (const RECT& rc : attr.clipRects) {
        const RECT piece = Intersect(box, rc);
        if (!IsEmpty(piece)) pieces.push_back(piece);
    }
    return pieces;
}

}  // namespace gdi
}  // namespace platform
