// The framework context of an HP-GL/2 or LIPS job. Views, forms and report
// parts draw their traces, pulses and texts on CECGDC::GetDC() as they do on
// a printer's device context; for these printer languages that context draws
// on a page that only keeps the primitives it is given (in device pixels,
// with the pen and brush resolved). Before every write of the job, and so
// before the page ends, those primitives go into the stream through the same
// commands as the context's own drawing.
#include <cmath>
#include <vector>

#include "platform/gdi/Image.h"
#include "printdevice/ECGDC.h"
#include "printdevice/HPGLCommand.h"
#include "printdevice/LIPSCommand.h"

using platform::gdi::DrawOp;
using platform::gdi::DrawRecord;

namespace {

// Steps of an outlined ellipse: fine enough that a calibration dot or a
// marker circle keeps its shape at 600 dots per inch.
const int kEllipseSteps = 48;

const double kPi = 3.14159265358979323846;

// A box as a closed outline through its edge pixels (right and bottom exclusive).
std::vector<POINT> BoxOutline(const RECT& box)
{
    const LONG right = box.right > box.left ? box.right - 1 : box.left;
    const LONG bottom = box.bottom > box.top ? box.bottom - 1 : box.top;
    return {{box.left, box.top}, {right, box.top}, {right, bottom}, {box.left, bottom}, {box.left, box.top}};
}

std::vector<POINT> EllipseOutline(const RECT& box)
{
    const double cx = (box.left + box.right - 1) / 2.0;
    const double cy = (box.top + box.bottom - 1) / 2.0;
    const double rx = (box.right - box.left - 1) / 2.0;
    const double ry = (box.bottom - box.top - 1) / 2.0;
    std::vector<POINT> points;
    for (int i = 0; i <= kEllipseSteps; ++i) {
        const double angle = 2.0 * kPi * i / kEllipseSteps;
        points.push_back({(LONG)std::lround(cx + rx * std::cos(angle)), (LONG)std::lround(cy + ry * std::sin(angle))});
    }
    return points;
}

// The outline a hollow figure is drawn as, closed.
std::vector<POINT> FigureOutline(const DrawRecord& record)
{
    if (record.op == DrawOp::Ellipse) return EllipseOutline(record.rect);
    if (record.op != DrawOp::Polygon) return BoxOutline(record.rect);
    std::vector<POINT> outline = record.points;
    if (!outline.empty()) outline.push_back(outline.front());
    return outline;
}

bool HasPen(const DrawRecord& record)
{
    return record.penStyle != PS_NULL;
}

bool HasBrush(const DrawRecord& record)
{
    return record.brushStyle != BS_NULL;
}

// White on paper is no ink: a white fill would only hide what lies under it.
bool InkedFill(const DrawRecord& record)
{
    return HasBrush(record) && (record.brushStyle == BS_HATCHED || GetRawGrey(record.brushColor) < 255);
}

}  // namespace

void CECGDC::AttachRecordingPage()
{
    if (!m_pDC || m_pDC->GetSafeHdc() || m_hRecordDC) return;
    HDC hPage = platform::gdi::CreateRecordingDC(GetDeviceCaps(HORZRES), GetDeviceCaps(VERTRES));
    if (!hPage) return;
    if (!m_pDC->Attach(hPage)) {
        ::DeleteDC(hPage);
        return;
    }
    m_hRecordDC = hPage;
}

BOOL CECGDC::HasRecordingPage() const
{
    return m_hRecordDC && m_pDC && m_pDC->GetSafeHdc() == m_hRecordDC;
}

void CECGDC::DetachRecordingPage()
{
    // A framework context that let the page go (deleted, or another given
    // in its place) deleted it or will: only the held page is ours to delete.
    if (HasRecordingPage()) ::DeleteDC(m_pDC->Detach());
    m_hRecordDC = nullptr;
}

void CECGDC::ReplayRecordingPage()
{
    if (!HasRecordingPage()) return;
    const std::vector<DrawRecord> records = platform::gdi::GetRecording(m_hRecordDC);
    if (records.empty()) return;
    platform::gdi::ClearRecording(m_hRecordDC);
    const int nCurX = m_nCurX;
    const int nCurY = m_nCurY;
    const UINT uAlign = m_uTextAlign;
    m_bReplaying = TRUE;
    m_bReplayPen = FALSE;
    m_bReplayBrush = FALSE;
    for (const DrawRecord& record : records) ReplayRecord(record);
    m_uTextAlign = uAlign;
    RestoreCallerState(m_hPen, m_hBrush, nCurX, nCurY);
    m_bReplaying = FALSE;
}

void CECGDC::ReplayRecord(const DrawRecord& record)
{
    switch (record.op) {
    case DrawOp::Polyline:
        if (!HasPen(record) || record.points.size() < 2) return;
        ReplayPen(record);
        Polyline(record.points.data(), (int)record.points.size());
        return;
    case DrawOp::SetPixel:
        if (!record.points.empty()) SetPixel(record.points[0].x, record.points[0].y, record.color);
        return;
    case DrawOp::Rectangle:
    case DrawOp::RoundRect:
    case DrawOp::Ellipse:
    case DrawOp::Polygon:
        return ReplayFigure(record);
    case DrawOp::PatBlt:
        if (record.rop != PATCOPY || !InkedFill(record)) return;
        ReplayBrush(record);
        return ReplayFill(record.rect);
    case DrawOp::Text:
        return ReplayText(record);
    default:
        // Images: the recording keeps where they went but not their pixels.
        return;
    }
}

void CECGDC::ReplayFigure(const DrawRecord& record)
{
    // A hollow figure is its outline: the printer commands always fill.
    if (!HasBrush(record)) {
        if (!HasPen(record)) return;
        ReplayPen(record);
        const std::vector<POINT> outline = FigureOutline(record);
        if (outline.size() >= 2) Polyline(outline.data(), (int)outline.size());
        return;
    }
    ReplayBrush(record);
    const RECT& box = record.rect;
    const bool bBox = record.op == DrawOp::Rectangle || record.op == DrawOp::RoundRect;
    if (bBox && !HasPen(record)) return ReplayFill(box);
    if (HasPen(record)) ReplayPen(record);
    if (record.op == DrawOp::Ellipse)
        Ellipse(box.left, box.top, box.right - 1, box.bottom - 1);
    else if (record.op == DrawOp::Polygon)
        Polygon(record.points.data(), (int)record.points.size());
    else
        RawRectangle(box.left, box.top, box.right - 1, box.bottom - 1);
}

void CECGDC::ReplayPen(const DrawRecord& record)
{
    _RAW_PEN pen;
    pen.uStyle = (UINT)record.penStyle;
    pen.nWidth = record.penWidth > 0 ? record.penWidth : 1;
    if (m_bReplayPen && pen.uStyle == m_stReplayPen.uStyle && pen.nWidth == m_stReplayPen.nWidth) return;
    const CString text = IsPCL() ? CHPGLCommand::Pen(pen) : CLIPSCommand::Pen(pen);
    if (text.IsEmpty()) return;
    AppendAndSend(text);
    m_bReplayPen = TRUE;
    m_stReplayPen = pen;
}

void CECGDC::ReplayBrush(const DrawRecord& record)
{
    _RAW_BRUSH brush;
    brush.bHatched = record.brushStyle == BS_HATCHED;
    brush.crColor = record.brushColor;
    if (m_bReplayBrush && brush.bHatched == m_stReplayBrush.bHatched && brush.crColor == m_stReplayBrush.crColor)
        return;
    AppendAndSend(IsPCL() ? CHPGLCommand::Brush(brush) : CLIPSCommand::Brush(brush));
    m_bReplayBrush = TRUE;
    m_stReplayBrush = brush;
}

void CECGDC::ReplayFill(const RECT& box)
{
    if (box.right <= box.left || box.bottom <= box.top) return;
    if (!IsPCL()) {
        RawRectangle(box.left, box.top, box.right - 1, box.bottom - 1);
        return;
    }
    AppendAndSend(CHPGLCommand::Move(box.left, box.top));
    AppendAndSend(CHPGLCommand::FillRect(box.right - 1, box.bottom - 1));
}

void CECGDC::ReplayText(const DrawRecord& record)
{
    // HP-GL/2 output carries no text; LIPS places it by its character cell.
    if (IsPCL() || record.text.empty()) return;
    m_uTextAlign = TA_LEFT | TA_TOP;
    TextOut(record.rect.left, record.rect.top, CString(record.text.c_str()));
}

void CECGDC::RestoreCallerState(HPEN hPen, HBRUSH hBrush, int nCurX, int nCurY)
{
    _RAW_PEN pen;
    if (m_bReplayPen && GetRawPen(hPen, pen)) {
        const CString text = IsPCL() ? CHPGLCommand::Pen(pen) : CLIPSCommand::Pen(pen);
        if (!text.IsEmpty()) AppendAndSend(text);
    }
    _RAW_BRUSH brush;
    if (m_bReplayBrush && GetRawBrush(hBrush, brush))
        AppendAndSend(IsPCL() ? CHPGLCommand::Brush(brush) : CLIPSCommand::Brush(brush));
    // The plotter's pen stands where the replay left it; the caller's next
    // line starts where the caller left it.
    if (IsPCL()) AppendAndSend(CHPGLCommand::Move(nCurX, nCurY));
    m_nCurX = nCurX;
    m_nCurY = nCurY;
}
