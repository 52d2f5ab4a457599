// CPoint, CSize and CRect: the framework's thin wrappers over POINT, SIZE and
// RECT. Rectangles are right- and bottom-exclusive, as everywhere in GDI.
#pragma once

#include "platform/base/WinTypes.h"

class CSize : public tagSIZE {
public:
    CSize() { cx = cy = 0; }
    CSize(int x, int y) { cx = x; cy = y; }
    CSize(const SIZE& s) { cx = s.cx; cy = s.cy; }

    bool operator==(const SIZE& s) const { return cx == s.cx && cy == s.cy; }
    bool operator!=(const SIZE& s) const { return !(*this == s); }
    CSize operator+(const SIZE& s) const { return CSize(cx + s.cx, cy + s.cy); }
    CSize operator-(const SIZE& s) const { return CSize(cx - s.cx, cy - s.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
    void operator+=(const SIZE& s) { cx += s.cx; cy += s.cy; }
    void operator-=(const SIZE& s) { cx -= s.cx; cy -= s.cy; }
};

class CPoint : public tagPOINT {
public:
    CPoint() { x = y = 0; }
    CPoint(int px, int py) { x = px; y = py; }
    CPoint(const POINT& p) { x = p.x; y = p.y; }
    explicit CPoint(LPARAM lParam) { x = (short)LOWORD(lParam); y = (short)HIWORD(lParam); }

    void Offset(int dx, int dy) { x += dx; y += dy; }
    void Offset(const POINT& p) { x += p.x; y += p.y; }
    void SetPoint(int px, int py) { x = px; y = py; }

    bool operator==(const POINT& p) const { return x == p.x && y == p.y; }
    bool operator!=(const POINT& p) const { return !(*this == p); }
    CPoint operator+(const SIZE& s) const { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(const SIZE& s) const { return CPoint(x - s.cx, y - s.cy); }
    CSize operator-(const POINT& p) const { return CSize(x - p.x, y - p.y); }
    CPoint operator+(const POINT& p) const { return CPoint(x + p.x, y + p.y); }
    CPoint operator-() const { return CPoint(-x, -y); }
    void operator+=(const SIZE& s) { x += s.cx; y += s.cy; }
    void operator-=(const SIZE& s) { x -= s.cx; y -= s.cy; }
    void operator+=(const POINT& p) { x += p.x; y += p.y; }
    void operator-=(const POINT& p) { x -= p.x; y -= p.y; }
};

BOOL SetRect(LPRECT rc, int left, int top, int right, int bottom);
BOOL SetRectEmpty(LPRECT rc);
BOOL CopyRect(LPRECT dst, const RECT* src);
BOOL IsRectEmpty(const RECT* rc);
BOOL PtInRect(const RECT* rc, POINT pt);
BOOL OffsetRect(LPRECT rc, int dx, int dy);
BOOL InflateRect(LPRECT rc, int dx, int dy);
BOOL IntersectRect(LPRECT dst, const RECT* a, const RECT* b);
BOOL UnionRect(LPRECT dst, const RECT* a, const RECT* b);
BOOL EqualRect(const RECT* a, const RECT* b);

class CRect : public tagRECT {
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& rc) { left = rc.left; top = rc.top; right = rc.right; bottom = rc.bottom; }
    CRect(const RECT* rc) { left = rc->left; top = rc->top; right = rc->right; bottom = rc->bottom; }
    CRect(POINT pt, SIZE sz) { left = pt.x; top = pt.y; right = pt.x + sz.cx; bottom = pt.y + sz.cy; }
    CRect(POINT topLeft, POINT bottomRight)
    {
        left = topLeft.x;
        top = topLeft.y;
        right = bottomRight.x;
        bottom = bottomRight.y;
    }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(POINT pt) const { return ::PtInRect(this, pt); }
    void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
    void SetRectEmpty() { ::SetRectEmpty(this); }
    void CopyRect(LPCRECT src) { ::CopyRect(this, src); }
    BOOL EqualRect(LPCRECT rc) const { return ::EqualRect(this, rc); }
    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
    void OffsetRect(POINT pt) { ::OffsetRect(this, pt.x, pt.y); }
    void OffsetRect(SIZE sz) { ::OffsetRect(this, sz.cx, sz.cy); }
    void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
    void InflateRect(SIZE sz) { ::InflateRect(this, sz.cx, sz.cy); }
    void InflateRect(int l, int t, int r, int b)
    {
        left -= l;
        top -= t;
        right += r;
        bottom += b;
    }
    void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
    void DeflateRect(SIZE sz) { ::InflateRect(this, -sz.cx, -sz.cy); }
    void DeflateRect(int l, int t, int r, int b)
    {
        left += l;
        top += t;
        right -= r;
        bottom -= b;
    }
    void NormalizeRect();
    void MoveToX(int x) { right = Width() + x; left = x; }
    void MoveToY(int y) { bottom = Height() + y; top = y; }
    void MoveToXY(int x, int y) { MoveToX(x); MoveToY(y); }
    BOOL IntersectRect(LPCRECT a, LPCRECT b) { return ::IntersectRect(this, a, b); }
    BOOL UnionRect(LPCRECT a, LPCRECT b) { return ::UnionRect(this, a, b); }

    void operator=(const RECT& rc) { left = rc.left; top = rc.top; right = rc.right; bottom = rc.bottom; }
    bool operator==(const RECT& rc) const { return ::EqualRect(this, &rc) != FALSE; }
    bool operator!=(const RECT& rc) const { return !(*this == rc); }
    void operator+=(POINT pt) { OffsetRect(pt.x, pt.y); }
    void operator-=(POINT pt) { OffsetRect(-pt.x, -pt.y); }
    void operator&=(const RECT& rc) { ::IntersectRect(this, this, &rc); }
    void operator|=(const RECT& rc) { ::UnionRect(this, this, &rc); }
    CRect operator+(POINT pt) const { CRect r(*this); r.OffsetRect(pt.x, pt.y); return r; }
    CRect operator-(POINT pt) const { CRect r(*this); r.OffsetRect(-pt.x, -pt.y); return r; }
    CRect operator&(const RECT& rc) const { CRect r; ::IntersectRect(&r, this, &rc); return r; }
    CRect operator|(const RECT& rc) const { CRect r; ::UnionRect(&r, this, &rc); return r; }
};
