#include "printdevice/HPGLCommand.h"

namespace {

const wchar_t kEsc = 0x1B;

// Every numeric parameter goes out as "%d" prints it.
void AppendPoints(CString& text, const POINT* points, int first, int count)
{
    for (int i = first; i < count; ++i) {
        if (i > first) text += L',';
        text.AppendFormat(L"%d,%d", (int)points[i].x, (int)points[i].y);
    }
}

}  // namespace

CString CHPGLCommand::PageStart()
{
    CString text;
    text += kEsc;
    text += L"%-12345X@PJL SET ECONOMODE=OFF\r\n@PJL ENTER LANGUAGE=PCL\r\n";
    static const wchar_t* const kSetUp[] = {L"E",      L"&l4A",  L"&l1O", L"&l0L",           L"&l40U",
                                            L"&l0E",   L"&a0L",  L"&a0M", L"*c8180x5700y0T", L"%1BINSP1SC0,6814,4759,0TR0"};
    for (const wchar_t* command : kSetUp) {
        text += kEsc;
        text += command;
    }
    return text;
}

CString CHPGLCommand::PageEnd(int nCopies)
{
    CString text;
    text += kEsc;
    text += L"%0A";
    text += kEsc;
    text.AppendFormat(L"&l%dX", nCopies);
    text += (wchar_t)0x0C;
    text += kEsc;
    text += L"%-12345X";
    return text;
}

CString CHPGLCommand::Move(int x, int y)
{
    CString text;
    text.Format(L"PU%d,%d;", x, y);
    return text;
}

CString CHPGLCommand::LineTo(int x, int y)
{
    CString text;
    text.Format(L"PD%d,%d;", x, y);
    return text;
}

CString CHPGLCommand::FillEdgeRect(int right, int bottom)
{
    CString text;
    text.Format(L"RA%d,%d;EA%d,%d;", right, bottom, right, bottom);
    return text;
}

CString CHPGLCommand::FillRect(int right, int bottom)
{
    CString text;
    text.Format(L"RA%d,%d;", right, bottom);
    return text;
}

CString CHPGLCommand::Circle(int radius)
{
    CString text;
    text.Format(L"PM;CI%d,0.5;PM2;FP;EP;", radius);
    return text;
}

CString CHPGLCommand::Polygon(const POINT* points, int nCount)
{
    CString text = L"PM;PD";
    AppendPoints(text, points, 1, nCount);
    text += L";PM2;FP;EP;";
    return text;
}

CString CHPGLCommand::Polyline(const POINT* points, int nCount)
{
    CString text = L"PD";
    AppendPoints(text, points, 1, nCount);
    text += L';';
    return text;
}

CString CHPGLCommand::Pen(const _RAW_PEN& pen)
{
    CString text;
    switch (pen.uStyle & 7) {
    case PS_SOLID: text = L"LT"; break;
    case PS_DASH: text = L"LT-3,2,1"; break;
    case PS_DOT: text = L"LT-1,0.3,1"; break;
    case PS_DASHDOT: text = L"LT-4,5,1"; break;
    case PS_DASHDOTDOT: text = L"LT-7,5,1"; break;
    default:
        // The grid's gapped pens: the gap (pixels at the raw printers' 6774 / 287
        // pixels per millimetre) tells which grid line the pen draws.
        if (pen.nStyleEntries < 2) break;
        if (pen.dwStyleGap == 11) text = L"LT-1,0.5,1";
        else if (pen.dwStyleGap == 23) text = L"LT-1,1,1";
        else if (pen.dwStyleGap == 118) text = L"LT-1,5,1";
        break;
    }
    text.AppendFormat(L"PW%f;", pen.nWidth * 0.0423);
    return text;
}

CString CHPGLCommand::Brush(const _RAW_BRUSH& brush)
{
    if (brush.bHatched) return L"FT4,20,45;";
    static const wchar_t* const kShading[] = {L"FT1.2;",   L"FT10,80;", L"FT10,60;",
                                              L"FT10,40;", L"FT10,20;", L"FT10,0;"};
    return kShading[GetRawGrey(brush.crColor) * 5 / 255];
}

CString CHPGLCommand::BkMode(int nMode)
{
    if (nMode == OPAQUE) return L"TR0";
    if (nMode == TRANSPARENT) return L"TR1";
    return CString();
}

CString CHPGLCommand::ClipWindow(const RECT* box)
{
    if (!box) return L"IW;";
    CString text;
    text.Format(L"IW%d,%d,%d,%d;", (int)box->left, (int)box->top, (int)box->right, (int)box->bottom);
    return text;
}

CString CHPGLCommand::RasterStart(int nWidth, int nHeight)
{
    CString text;
    text += kEsc;
    text += L"%1A";
    text += kEsc;
    text += L"*t600R";
    text += kEsc;
    text.AppendFormat(L"*r0f%dt%ds1A", nHeight, nWidth);
    return text;
}

CString CHPGLCommand::RasterRow(int nBytes)
{
    CString text;
    text += kEsc;
    text.AppendFormat(L"*b%dW", nBytes);
    return text;
}

CString CHPGLCommand::RasterEnd()
{
    CString text;
    text += kEsc;
    text += L"*rB";
    text += kEsc;
    text += L"%1B";
    return text;
}
