// Texts looked for on the screen: a text drawn on one line in a font, on
// the background of the dialogs, is searched for in the screen's pixels,
// ink for ink and blank for blank, so that a text found stands there whole,
// neither cut at an edge nor wrapped onto a second line.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Image.h"
#include "platform/ui/windowing/DialogBox.h"
#include "platform/ui/windowing/DialogTemplate.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "tests/support/PngImage.h"
#include "tests/support/XvfbTest.h"

namespace showtest {

// Pixels, 0xRRGGBB row by row.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The window's pixels as the server shows them.
inline Picture GrabWindow(displaytest::XvfbServer& server, xcb_window_t window)
{
    Picture picture;
    int x = 0, y = 0;
    if (!server.Geometry(window, x, y, picture.width, picture.height)) return picture;
    picture.pixels = server.Grab(x, y, picture.width, picture.height);
    return picture;
}

// The font of the boxes' templates, in which a message box draws its text.
inline void MessageBoxFont(CFont& font)
{
    platform::ui::DialogTemplate box;
    box.style = DS_SETFONT;
    box.pointSize = 9;
    box.faceName = L"ＭＳ ゴシック";
    font.Attach(platform::ui::CreateTemplateFont(box));
}

// The text drawn on one line in the font, black on the dialogs' face colour:
// as wide as its extent and as high as the font's line.
inline Picture DrawnText(const CString& text, CFont& font)
{
    CDC dc;
    dc.Attach(platform::gdi::CreateImageDC(8, 8));
    CSize extent;
    TEXTMETRICW metrics = {};
    {
        CDCObjectSelector<CFont> selected(dc, &font);
        extent = dc.GetTextExtent(text);
        dc.GetTextMetrics(&metrics);
    }
    Picture picture;
    picture.width = extent.cx;
    picture.height = metrics.tmHeight;
    CDC image;
    image.Attach(platform::gdi::CreateImageDC(picture.width, picture.height));
    image.FillSolidRect(0, 0, picture.width, picture.height, ::GetSysColor(COLOR_BTNFACE));
    CDCObjectSelector<CFont> selected(image, &font);
    image.SetBkMode(TRANSPARENT);
    image.SetTextColor(RGB(0, 0, 0));
    image.TextOut(0, 0, text);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const COLORREF c = image.GetPixel(x, y);
            picture.pixels.push_back(static_cast<uint32_t>(GetRValue(c)) << 16 |
                                     static_cast<uint32_t>(GetGValue(c)) << 8 | GetBValue(c));
        }
    return picture;
}

// Two colours that differ by a shade at most in each channel.
inline bool Near(uint32_t a, uint32_t b)
{
    for (int shift = 0; shift <= 16; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (d < -24 || d > 24) return false;
    }
    return true;
}

// Where the text stands in the screen's picture on the dialogs' face (not
// in a white field): its top left, or {-1, -1}. Every pixel the text inks
// is ink there, and every pixel of its box it leaves blank is the face's
// colour there, so a text cut or wrapped is not found.
inline POINT FindText(const Picture& screen, const Picture& text)
{
    using testsupport::PngImage;
    std::vector<POINT> inked;
    std::vector<POINT> blank;
    for (int y = 0; y < text.height; ++y)
        for (int x = 0; x < text.width; ++x) {
            const uint32_t rgb = text.At(x, y);
            // Only clearly inked and clearly blank pixels count: the shades
            // of a glyph's edge depend on what is under it.
            if (PngImage::IsDark(rgb) && ((rgb >> 8) & 0xFF) < 60)
                inked.push_back(POINT{x, y});
            else if (((rgb >> 8) & 0xFF) > 160)
                blank.push_back(POINT{x, y});
        }
    if (inked.empty()) return POINT{-1, -1};
    for (int top = 0; top + text.height <= screen.height; ++top)
        for (int left = 0; left + text.width <= screen.width; ++left) {
            bool found = true;
            for (const POINT& p : inked)
                if (!PngImage::IsDark(screen.At(left + p.x, top + p.y))) {
                    found = false;
                    break;
                }
            for (size_t i = 0; found && i < blank.size(); ++i)
                if (!Near(screen.At(left + blank[i].x, top + blank[i].y), text.At(blank[i].x, blank[i].y)))
                    found = false;
            if (found) return POINT{left, top};
        }
    return POINT{-1, -1};
}

// Whether any pixel of columns [left, right) and rows [top, bottom) is ink.
inline bool InkIn(const Picture& screen, int left, int top, int right, int bottom)
{
    for (int y = std::max(0, top); y < std::min(bottom, screen.height); ++y)
        for (int x = std::max(0, left); x < std::min(right, screen.width); ++x)
            if (testsupport::PngImage::IsDark(screen.At(x, y))) return true;
    return false;
}

}  // namespace showtest
