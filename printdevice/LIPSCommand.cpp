#include "printdevice/LIPSCommand.h"

#include <cstdlib>

namespace {

const wchar_t kEsc = 0x1B;
const wchar_t kRS = 0x1E;
const wchar_t kSI = 0x0F;

// The extent the raw printers report for one character (see CECGDC::GetTextExtent).
const int kCharWidth = 42;
const int kCharHeight = 84;

void AppendStep(CString& text, const POINT& from, const POINT& to)
{
    text += CLIPSCommand::Number((long long)to.x - from.x);
    text += CLIPSCommand::Number((long long)to.y - from.y);
}

CString Escape(LPCWSTR command)
{
    CString text(kEsc);
    text += command;
    return text;
}

}  // namespace

// Wide enough for the difference of any two coordinates: a step between points at the opposite
// ends of the int range must not wrap into a step the other way.
CString CLIPSCommand::Number(long long v)
{
    unsigned long long m = v < 0 ? 0ULL - (unsigned long long)v : (unsigned long long)v;
    const wchar_t last = (wchar_t)((v < 0 ? 0x20 : 0x30) + (m & 0x0F));
    m >>= 4;
    wchar_t groups[16];
    int count = 0;
    while (m != 0) {
        groups[count++] = (wchar_t)(0x40 + (m & 0x3F));
        m >>= 6;
    }
    CString text;
    while (count > 0) text += groups[--count];
    text += last;
    return text;
}

CString CLIPSCommand::PageStart(int nCopies)
{
    CString text;
    text += Escape(L"%@");
    text += Escape(L"P41;600;1J");
    text += Escape(L"\\");
    text += Escape(L"%0");
    text += Escape(L"[0\"p");
    text += Escape(L"<");
    text += Escape(L"[?7;600 I");
    text += Escape(L"[15p");
    text += kEsc;
    text.AppendFormat(L"[%dv", nCopies);
    text += kSI;
    text += Escape(L"PzGothic-Medium-H.ROMA");
    text += Escape(L"\\");
    text += Escape(L"[?1450 K");
    text += Escape(L"[84 C");
    text += Escape(L"n");
    text += Escape(L"PzGothic-Medium.J90");
    text += Escape(L"\\");
    text += Escape(L"[?700 K");
    text += Escape(L"[84 C");
    text += Escape(L"[0#x");
    text += Escape(L"[0;0#W");
    text += Escape(L"[&}");
    // Vector mode from here on.
    text += L" @" + Number(-1) + kRS;
    text += CString(L"#") + kRS;
    text += L"!0" + Number(-2) + Number(10) + kRS;
    text += CString(L"!13") + kRS;
    text += CString(L"$") + kRS;
    // The line patterns -12, -13 and -14 of the grid pens (see Pen).
    text += L"}d" + Number(-12) + L"101" + Number(4) + kRS;
    text += L"}d" + Number(-13) + L"101" + Number(9) + kRS;
    text += L"}d" + Number(-14) + L"101" + Number(49) + kRS;
    text += CString(L"%") + kRS;
    text += CString(L"#") + kRS;
    text += L"!0" + Number(600) + L"1" + kRS;
    text += CString(L"!13") + kRS;
    text += CString(L"$") + kRS;
    text += L"(0" + Number(4840) + Number(6894) + L"0" + kRS;
    return text;
}

CString CLIPSCommand::PageEnd()
{
    CString text = CString(L"*1") + kRS;
    text += (wchar_t)0x0C;
    text += CString(L"%") + kRS;
    text += CString(L"}p") + kRS;
    text += Escape(L"P0J");
    text += Escape(L"\\");
    return text;
}

CString CLIPSCommand::Line(int x0, int y0, int x1, int y1)
{
    return L"1" + Number(x0) + Number(y0) + Number((long long)x1 - x0) + Number((long long)y1 - y0) + kRS;
}

CString CLIPSCommand::Rectangle(int left, int top, int right, int bottom)
{
    return L"}:" + Number(left) + Number(right) + Number(top) + Number(bottom) + kRS;
}

CString CLIPSCommand::Ellipse(int left, int top, int right, int bottom)
{
    const long long rx = std::llabs((long long)right - left) / 2;
    const long long ry = std::llabs((long long)bottom - top) / 2;
    return L"}7" + Number(((long long)left + right) / 2) + Number(((long long)top + bottom) / 2) + Number(rx) +
           Number(ry) + L"0" + kRS;
}

CString CLIPSCommand::Polyline(const POINT* points, int nCount)
{
    CString text = L"1" + Number((int)points[0].x) + Number((int)points[0].y);
    for (int i = 1; i < nCount; ++i) AppendStep(text, points[i - 1], points[i]);
    text += kRS;
    return text;
}

CString CLIPSCommand::Polygon(const POINT* points, int nCount)
{
    CString text = L"2" + Number((int)points[0].x) + Number((int)points[0].y);
    for (int i = 1; i < nCount; ++i) AppendStep(text, points[i - 1], points[i]);
    text += kRS;
    return text;
}

CString CLIPSCommand::PolygonPiece(const POINT* points, int nCount, int nFirst, int nSteps)
{
    // Point n is the closing point, point 0 again.
    auto at = [&](int index) -> const POINT& { return points[index % nCount]; };
    CString text = L"2" + Number((int)at(nFirst).x) + Number((int)at(nFirst).y);
    for (int i = nFirst + 1; i <= nFirst + nSteps; ++i) AppendStep(text, at(i - 1), at(i));
    const int back = nCount - (nFirst + nSteps);
    AppendStep(text, at(nFirst + nSteps), at(back));
    for (int i = back + 1; i <= back + nSteps; ++i) AppendStep(text, at(i - 1), at(i));
    text += kRS;
    return text;
}

CString CLIPSCommand::Pixel(int x, int y)
{
    return L"1" + Number(x) + Number(y) + kRS;
}

CString CLIPSCommand::Pen(const _RAW_PEN& pen)
{
    CString text;
    const UINT style = pen.uStyle & 7;
    if (style <= PS_DASHDOTDOT) {
        text.Format(L"E1%u", style);
        text += kRS;
    } else if (pen.nStyleEntries >= 2) {
        // The grid's gapped pens use the patterns registered at the page start.
        if (pen.dwStyleGap == 11) text = L"E1" + Number(-12) + L"1" + kRS;
        else if (pen.dwStyleGap == 23) text = L"E1" + Number(-13) + L"1" + kRS;
        else if (pen.dwStyleGap == 118) text = L"E1" + Number(-14) + L"1" + kRS;
    }
    text += L"F1" + Number(pen.nWidth) + kRS;
    return text;
}

CString CLIPSCommand::Brush(const _RAW_BRUSH& brush)
{
    if (brush.bHatched) return L"I" + Number(-6) + L"1" + kRS;
    switch (GetRawGrey(brush.crColor) * 3 / 255) {
    case 0: return CString(L"I11") + kRS;
    case 1: return L"I" + Number(-8) + L"1" + kRS;
    case 2: return L"I" + Number(-1) + L"1" + kRS;
    default: return L"I" + Number(-9) + L"1" + kRS;
    }
}

CString CLIPSCommand::BkMode(int nMode)
{
    if (nMode == OPAQUE) return CString(L"}H0") + kRS;
    if (nMode == TRANSPARENT) return CString(L"}H1") + kRS;
    return CString();
}

CString CLIPSCommand::ClipWindow(const RECT* box)
{
    if (!box) return CString(L"*1") + kRS;
    return L")" + Number((int)box->left) + Number((int)box->right) + Number((int)box->top) +
           Number((int)box->bottom) + kRS + L"*0" + kRS;
}

CString CLIPSCommand::Text(int x, int y, UINT uAlign, const CString& text)
{
    const long long width = (long long)kCharWidth * text.GetLength();
    long long left = x;
    long long top = y;
    if ((uAlign & 6) == TA_RIGHT) left -= width;
    else if ((uAlign & 6) == TA_CENTER) left -= width / 2;
    if ((uAlign & 24) == TA_BOTTOM || (uAlign & 24) == TA_BASELINE) top -= kCharHeight;

    CString out = L"}p" + Number(left) + Number(top + kCharHeight) + kRS;
    out += Escape(L"[0t");
    out += kSI;
    BOOL latin1 = TRUE;
    for (int i = 0; i < text.GetLength(); ++i) latin1 = latin1 && text[i] < 0x100;
    if (latin1) {
        out += text;
    } else {
        const CStringA bytes(text);
        for (int i = 0; i < bytes.GetLength(); ++i) out += (wchar_t)(BYTE)bytes[i];
    }
    out += Escape(L"[&}");
    return out;
}

CString CLIPSCommand::ImageHeader(int x, int y, int nWidth, int nHeight, int nBytesPerRow)
{
    return L"}P" + Number(x) + Number(y) + Number(60000) + Number(60000) + Number(nHeight) + Number(nWidth) +
           L"100" + Number(50) + Number(50) + L"001" + kRS + L"}Q110" + Number(nBytesPerRow * nHeight) + kRS;
}
