#include "platform/base/Geometry.h"

#include <algorithm>

BOOL SetRect(LPRECT rc, int left, int top, int right, int bottom)
{
    if (!rc) return FALSE;
    rc->left = left;
    rc->top = top;
    rc->right = right;
    rc->bottom = bottom;
    return TRUE;
}

BOOL SetRectEmpty(LPRECT rc)
{
    return SetRect(rc, 0, 0, 0, 0);
}

BOOL CopyRect(LPRECT dst, const RECT* src)
{
    if (!dst || !src) return FALSE;
    *dst = *src;
    return TRUE;
}

BOOL IsRectEmpty(const RECT* rc)
{
    return !rc || rc->left >= rc->right || rc->top >= rc->bottom;
}

BOOL PtInRect(const RECT* rc, POINT pt)
{
    if (!rc) return FALSE;
    return pt.x >= rc->left && pt.x < rc->right && pt.y >= rc->top && pt.y < rc->bottom;
}

BOOL OffsetRect(LPRECT rc, int dx, int dy)
{
    if (!rc) return FALSE;
    rc->left += dx;
    rc->right += dx;
    rc->top += dy;
    rc->bottom += dy;
    return TRUE;
}

BOOL InflateRect(LPRECT rc, int dx, int dy)
{
    if (!rc) return FALSE;
    rc->left -= dx;
    rc->right += dx;
    rc->top -= dy;
    rc->bottom += dy;
    return TRUE;
}

BOOL IntersectRect(LPRECT dst, const RECT* a, const RECT* b)
{
    if (!dst || !a || !b) return FALSE;
    RECT r;
    r.left = std::max(a->left, b->left);
    r.top = std::max(a->top, b->top);
    r.right = std::min(a->right, b->right);
    r.bottom = std::min(a->bottom, b->bottom);
    // An empty intersection is reported as the null rectangle, as USER does.
    if (IsRectEmpty(a) || IsRectEmpty(b) || r.left >= r.right || r.top >= r.bottom) {
        SetRectEmpty(dst);
        return FALSE;
    }
    *dst = r;
    return TRUE;
}

BOOL UnionRect(LPRECT dst, const RECT* a, const RECT* b)
{
    if (!dst || !a || !b) return FALSE;
    const bool emptyA = IsRectEmpty(a), emptyB = IsRectEmpty(b);
    if (emptyA && emptyB) {
        SetRectEmpty(dst);
        return FALSE;
    }
    if (emptyA) {
        *dst = *b;
        return TRUE;
    }
    if (emptyB) {
        *dst = *a;
        return TRUE;
    }
    RECT r;
    r.left = std::min(a->left, b->left);
    r.top = std::min(a->top, b->top);
    r.right = std::max(a->right, b->right);
    r.bottom = std::max(a->bottom, b->bottom);
    *dst = r;
    return TRUE;
}

BOOL EqualRect(const RECT* a, const RECT* b)
{
    if (!a || !b) return FALSE;
    return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

void CRect::NormalizeRect()
{
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
}
