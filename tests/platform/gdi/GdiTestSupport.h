// Shared pieces of the GDI tests: a fixture that fails a test which leaves
// GDI objects behind, a DC that deletes itself, and pixel probes.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/base/Geometry.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Image.h"

// Everything lives in a namespace of its own: the tests of the whole
// platform link into one executable.
namespace gditest {

class LeakCheckedTest : public ::testing::Test {
protected:
    void SetUp() override { m_liveAtStart = platform::gdi::LiveObjectCount(); }
    void TearDown() override
    {
        EXPECT_EQ(m_liveAtStart, platform::gdi::LiveObjectCount()) << "GDI objects leaked by this test";
    }

private:
    int m_liveAtStart = 0;
};

// An image DC for the length of a scope.
class ScopedImageDC {
public:
    ScopedImageDC(int width, int height) : m_hdc(platform::gdi::CreateImageDC(width, height)) {}
    ~ScopedImageDC()
    {
        if (m_hdc) DeleteDC(m_hdc);
    }
    ScopedImageDC(const ScopedImageDC&) = delete;
    ScopedImageDC& operator=(const ScopedImageDC&) = delete;
    operator HDC() const { return m_hdc; }

private:
    HDC m_hdc;
};

// Any GDI object for the length of a scope.
template <class H> class ScopedObject {
public:
    explicit ScopedObject(H handle) : m_handle(handle) {}
    ~ScopedObject()
    {
        if (m_handle) DeleteObject(m_handle);
    }
    ScopedObject(const ScopedObject&) = delete;
    ScopedObject& operator=(const ScopedObject&) = delete;
    operator H() const { return m_handle; }
    H get() const { return m_handle; }

private:
    H m_handle;
};

// Typed handles as the HGDIOBJ that SelectObject and GetCurrentObject return.
template <class H> HGDIOBJ Obj(H handle)
{
    return reinterpret_cast<HGDIOBJ>(handle);
}

// "#rrggbb" for readable failures.
inline std::string ColorText(COLORREF color)
{
    char buffer[16];
    if (color == CLR_INVALID) return "CLR_INVALID";
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", GetRValue(color), GetGValue(color), GetBValue(color));
    return buffer;
}

#define EXPECT_PIXEL(hdc, x, y, expected)                                                     \
    EXPECT_EQ(gditest::ColorText(expected), gditest::ColorText(GetPixel((hdc), (x), (y)))) \
        << "at (" << (x) << ", " << (y) << ")"

inline std::string RectText(const RECT& rc)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "(%d, %d, %d, %d)", (int)rc.left, (int)rc.top, (int)rc.right,
                  (int)rc.bottom);
    return buffer;
}

inline RECT MakeRect(int left, int top, int right, int bottom)
{
    return RECT{left, top, right, bottom};
}

#define EXPECT_RECT(actual, left, top, right, bottom) \
    EXPECT_EQ(gditest::RectText(gditest::MakeRect(left, top, right, bottom)), gditest::RectText(actual))

// Dark enough to be ink of black text on white.
inline bool IsInk(COLORREF color)
{
    return color != CLR_INVALID && GetRValue(color) < 160 && GetGValue(color) < 160 && GetBValue(color) < 160;
}

// The bounding box of the ink in a DC area; empty when there is none.
inline RECT InkBox(HDC hdc, int width, int height)
{
    RECT box = {width, height, 0, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (!IsInk(GetPixel(hdc, x, y))) continue;
            if (x < box.left) box.left = x;
            if (y < box.top) box.top = y;
            if (x + 1 > box.right) box.right = x + 1;
            if (y + 1 > box.bottom) box.bottom = y + 1;
        }
    if (box.left >= box.right) box = RECT{0, 0, 0, 0};
    return box;
}

// Paints the whole of a w x h DC.
inline void FillWith(HDC hdc, int width, int height, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    RECT all = {0, 0, width, height};
    FillRect(hdc, &all, brush);
    DeleteObject(brush);
}

// Every pixel of a w x h DC, row by row.
inline std::vector<COLORREF> Snapshot(HDC hdc, int width, int height)
{
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(hdc, x, y));
    return pixels;
}

// A stripy background that every mix mode changes visibly.
inline void PaintStripes(HDC hdc, int width, int height)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) SetPixel(hdc, x, y, RGB((x * 37) & 0xFF, (y * 53) & 0xFF, ((x + y) * 11) & 0xFF));
}

// System colours of the test's own, for the calls that draw in them;
// the previous source comes back at the end of the scope.
class ScopedSysColors {
public:
    explicit ScopedSysColors(platform::gdi::SysColorSource source)
        : m_previous(platform::gdi::SetSysColorSource(source))
    {
    }
    ~ScopedSysColors() { platform::gdi::SetSysColorSource(m_previous); }
    ScopedSysColors(const ScopedSysColors&) = delete;
    ScopedSysColors& operator=(const ScopedSysColors&) = delete;

private:
    platform::gdi::SysColorSource m_previous;
};

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);

}  // namespace gditest
