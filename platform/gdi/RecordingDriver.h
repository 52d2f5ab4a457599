// A driver that draws nothing and keeps every primitive it receives, in
// device coordinates and with the attributes resolved, so tests can check
// what a drawing routine asked for (which pen, which rectangle, which text
// at which baseline) without probing pixels.
#pragma once

#include <string>
#include <vector>

#include "platform/gdi/Driver.h"

namespace platform {
namespace gdi {

enum class DrawOp { PatBlt, Polyline, Rectangle, Polygon, Ellipse, RoundRect, SetPixel, BitBlt, StretchBlt, Text, Image };

struct DrawRecord {
    DrawOp op = DrawOp::PatBlt;
    RECT rect = {0, 0, 0, 0};     // PatBlt/Rectangle/Ellipse/RoundRect box, BitBlt/StretchBlt/Image destination, Text cell
    std::vector<POINT> points;    // Polyline/Polygon points, SetPixel point, Text baseline origin, BitBlt source origin
    RECT sourceRect = {0, 0, 0, 0};   // StretchBlt source, as given (may be mirrored)
    SIZE corner = {0, 0};         // RoundRect corner ellipse
    int fillMode = ALTERNATE;     // Polygon
    int stretchMode = 0;          // StretchBlt
    RECT clip = {0, 0, 0, 0};     // the DC clip in effect, device pixels
    DWORD rop = 0;                // PatBlt/BitBlt ternary raster operation
    int rop2 = R2_COPYPEN;
    int penStyle = PS_NULL;
    int penWidth = 0;             // device pixels
    COLORREF penColor = 0;
    UINT brushStyle = BS_NULL;
    COLORREF brushColor = 0;
    COLORREF color = 0;           // SetPixel colour, text colour
    COLORREF bkColor = 0;
    int bkMode = OPAQUE;
    std::wstring text;
    std::string fontFamily;

    // One line for failure messages: "Polyline (0,0)-(10,0) pen 0/1/#0000ff".
    std::string Describe() const;
};

class RecordingDriver : public Driver {
public:
    RecordingDriver(int width, int height);

    const std::vector<DrawRecord>& Records() const { return m_records; }
    void Clear() { m_records.clear(); }

    SIZE Size() const override { return m_size; }
    void PatBlt(const RECT& rect, const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr) override;
    void Polyline(const POINT* points, int count, const DevicePen& pen, const DrawAttributes& attr) override;
    void Rectangle(const RECT& rect, const DevicePen& pen, const DeviceBrush& brush, const DrawAttributes& attr) override;
    void Shape(const ShapeSpec& shape, const DevicePen& pen, const DeviceBrush& brush,
               const DrawAttributes& attr) override;
    COLORREF SetPixel(POINT point, COLORREF color, const DrawAttributes& attr) override;
    COLORREF GetPixel(POINT point) override;
    bool BitBlt(const RECT& dest, const PixelBuffer& source, POINT sourceOrigin, COLORREF sourceBk,
                const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr) override;
    bool StretchBlt(const RECT& dest, const PixelBuffer& source, const RECT& sourceRect, int stretchMode,
                    COLORREF sourceBk, const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr) override;
    void Text(const TextRun& run, const DrawAttributes& attr) override;
    void DrawImage(const RECT& dest, cairo_surface_t* image, const DrawAttributes& attr) override;

private:
    DrawRecord& Add(DrawOp op, const DrawAttributes& attr);
    static void SetPen(DrawRecord& record, const DevicePen& pen);
    static void SetBrush(DrawRecord& record, const DeviceBrush& brush);

    SIZE m_size;
    std::vector<DrawRecord> m_records;
};

}  // namespace gdi
}  // namespace platform
