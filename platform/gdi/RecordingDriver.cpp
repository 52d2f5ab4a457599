#include "platform/gdi/RecordingDriver.h"

#include <cstdio>

#include "platform/gdi/TextLayout.h"

namespace platform {
namespace gdi {

namespace {

const char* OpName(DrawOp op)
{
    switch (op) {
    case DrawOp::PatBlt: return "PatBlt";
    case DrawOp::Polyline: return "Polyline";
    case DrawOp::Rectangle: return "Rectangle";
    case DrawOp::Polygon: return "Polygon";
    case DrawOp::Ellipse: return "Ellipse";
    case DrawOp::RoundRect: return "RoundRect";
    case DrawOp::StretchBlt: return "StretchBlt";
    case DrawOp::SetPixel: return "SetPixel";
    case DrawOp::BitBlt: return "BitBlt";
    case DrawOp::Text: return "Text";
    case DrawOp::Image: return "Image";
    }
    return "?";
}

std::string RectText(const RECT& rc)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "(%d,%d,%d,%d)", (int)rc.left, (int)rc.top, (int)rc.right, (int)rc.bottom);
    return buffer;
}

}  // namespace

std::string DrawRecord::Describe() const
{
    std::string out = OpName(op);
    char buffer[96];
    switch (op) {
    case DrawOp::Polyline:
    case DrawOp::Polygon:
        for (size_t i = 0; i < points.size(); ++i) {
            std::snprintf(buffer, sizeof buffer, "%s(%d,%d)", i ? "-" : " ", (int)points[i].x, (int)points[i].y);
            out += buffer;
        }
        break;
    case DrawOp::SetPixel:
    case DrawOp::Text:
        if (!points.empty()) {
            std::snprintf(buffer, sizeof buffer, " (%d,%d)", (int)points[0].x, (int)points[0].y);
            out += buffer;
        }
        if (op == DrawOp::Text) out += " \"" + WideToUtf8(text.c_str(), (int)text.size()) + "\" " + fontFamily;
        break;
    case DrawOp::StretchBlt: out += " " + RectText(rect) + " from " + RectText(sourceRect); break;
    default: out += " " + RectText(rect); break;
    }
    std::snprintf(buffer, sizeof buffer, " pen %d/%d/#%06x brush %u/#%06x rop %08x/%d", penStyle, penWidth,
                  (unsigned)penColor, brushStyle, (unsigned)brushColor, (unsigned)rop, rop2);
    return out + buffer + " clip " + RectText(clip);
}

RecordingDriver::RecordingDriver(int width, int height) : m_size{width, height}
{
}

DrawRecord& RecordingDriver::Add(DrawOp op, const DrawAttributes& attr)
{
    m_records.emplace_back();
    DrawRecord& record = m_records.back();
    record.op = op;
    record.clip = attr.clip;
    record.rop2 = attr.rop2;
    record.bkColor = attr.bkColor;
    record.bkMode = attr.bkMode;
    record.color = attr.textColor;
    return record;
}

void RecordingDriver::SetPen(DrawRecord& record, const DevicePen& pen)
{
    record.penStyle = pen.style;
    record.penWidth = pen.width;
    record.penColor = pen.color;
}

void RecordingDriver::SetBrush(DrawRecord& record, const DeviceBrush& brush)
{
    record.brushStyle = brush.style;
    record.brushColor = brush.color;
}

void RecordingDriver::PatBlt(const RECT& rect, const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr)
{
    DrawRecord& record = Add(DrawOp::PatBlt, attr);
    record.rect = rect;
    record.rop = rop;
    record.brushStyle = brush.style;
    record.brushColor = brush.color;
}

void RecordingDriver::Polyline(const POINT* points, int count, const DevicePen& pen, const DrawAttributes& attr)
{
    if (!points || count < 2 || pen.IsNull()) return;
    DrawRecord& record = Add(DrawOp::Polyline, attr);
    record.points.assign(points, points + count);
    SetPen(record, pen);
}

void RecordingDriver::Rectangle(const RECT& rect, const DevicePen& pen, const DeviceBrush& brush,
                                const DrawAttributes& attr)
{
    DrawRecord& record = Add(DrawOp::Rectangle, attr);
    record.rect = rect;
    SetPen(record, pen);
    SetBrush(record, brush);
}

void RecordingDriver::Shape(const ShapeSpec& shape, const DevicePen& pen, const DeviceBrush& brush,
                            const DrawAttributes& attr)
{
    DrawOp op = DrawOp::Polygon;
    if (shape.kind == ShapeSpec::Kind::Ellipse) op = DrawOp::Ellipse;
    if (shape.kind == ShapeSpec::Kind::RoundRect) op = DrawOp::RoundRect;
    DrawRecord& record = Add(op, attr);
    record.rect = shape.box;
    record.points = shape.points;
    record.corner = shape.corner;
    record.fillMode = shape.fillMode;
    SetPen(record, pen);
    SetBrush(record, brush);
}

bool RecordingDriver::StretchBlt(const RECT& dest, const PixelBuffer&, const RECT& sourceRect, int stretchMode,
                                 COLORREF, const DeviceBrush& brush, DWORD rop, const DrawAttributes& attr)
{
    DrawRecord& record = Add(DrawOp::StretchBlt, attr);
    record.rect = dest;
    record.sourceRect = sourceRect;
    record.stretchMode = stretchMode;
    record.rop = rop;
    SetBrush(record, brush);
    return true;
}

COLORREF RecordingDriver::SetPixel(POINT point, COLORREF color, const DrawAttributes& attr)
{
    if (point.x < attr.clip.left || point.x >= attr.clip.right || point.y < attr.clip.top ||
        point.y >= attr.clip.bottom)
        return CLR_INVALID;
    DrawRecord& record = Add(DrawOp::SetPixel, attr);
    record.points.push_back(point);
    record.color = color & 0xFFFFFF;
    return record.color;
}

COLORREF RecordingDriver::GetPixel(POINT)
{
    return CLR_INVALID;   // nothing is drawn, so there is nothing to read
}

bool RecordingDriver::BitBlt(const RECT& dest, const PixelBuffer&, POINT sourceOrigin, COLORREF, const DeviceBrush& brush,
                             DWORD rop, const DrawAttributes& attr)
{
    DrawRecord& record = Add(DrawOp::BitBlt, attr);
    record.rect = dest;
    record.points.push_back(sourceOrigin);
    record.rop = rop;
    record.brushStyle = brush.style;
    record.brushColor = brush.color;
    return true;
}

void RecordingDriver::Text(const TextRun& run, const DrawAttributes& attr)
{
    DrawRecord& record = Add(DrawOp::Text, attr);
    record.rect = run.cell;
    record.points.push_back(run.baseline);
    record.text = run.text;
    record.color = run.color;
    if (run.font) record.fontFamily = run.font->family;
}

void RecordingDriver::DrawImage(const RECT& dest, cairo_surface_t*, const DrawAttributes& attr)
{
    Add(DrawOp::Image, attr).rect = dest;
}

}  // namespace gdi
}  // namespace platform
