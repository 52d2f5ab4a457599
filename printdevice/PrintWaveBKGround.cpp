#include "printdevice/PrintWaveBKGround.h"

#include <optional>

#include "platform/gdi/DCStateSaver.h"
#include "printdevice/ECGDC.h"
#include "printdevice/PrintGrid.h"


CPrintWaveBKGround::CPrintWaveBKGround()
    : m_pMemDC(nullptr), m_uShadeLevel(1), m_uGridType(0), m_pBitmap(nullptr), m_pOldBitmap(nullptr)
{
}

CPrintWaveBKGround::~CPrintWaveBKGround()
{
    FreeBKGround();
}

void CPrintWaveBKGround::FreeBKGround()
{
    if (m_pMemDC && m_pOldBitmap) m_pMemDC->SelectObject(m_pOldBitmap);
    m_pOldBitmap = nullptr;
    delete m_pBitmap;
    m_pBitmap = nullptr;
    delete m_pMemDC;
    m_pMemDC = nullptr;
}

BOOL CPrintWaveBKGround::CreatePrintBKGround(int widthMm, int heightMm, double pxPerMm)
{
    if (m_uShadeLevel == 0) return TRUE;
    if (m_uShadeLevel > kMaxGridShadeLevel) return FALSE;
    _PRINT_GRID_AREA area;
    if (!GetPrintGridArea(widthMm, heightMm, pxPerMm, area)) return FALSE;

    // A second call starts from a fresh picture.
    FreeBKGround();
    m_pMemDC = new CDC;
    if (!m_pMemDC->CreateCompatibleDC(nullptr)) {
        FreeBKGround();
        return FALSE;
    }
    m_pBitmap = new CBitmap;
    if (!m_pBitmap->CreateCompatibleBitmap(m_pMemDC, area.nWidth + 1, area.nHeight + 1)) {
        FreeBKGround();
        return FALSE;
    }
    m_pOldBitmap = m_pMemDC->SelectObject(m_pBitmap);
    m_pMemDC->PatBlt(0, 0, area.nWidth, area.nHeight, PATCOPY);

    if (m_uGridType == 1) {
        DrawLineGrid(widthMm, heightMm, pxPerMm, m_pMemDC);
    } else {
        ForEachGridDot(area, 0, 0, [this](int x, int y) { DrawGridPoint(x, y, RGB(0, 0, 0)); });
    }
    return TRUE;
}

BOOL CPrintWaveBKGround::PrintBKGround(int widthMm, int heightMm, double pxPerMm, CECGDC* pDC, CPoint origin)
{
    if (m_uShadeLevel == 0) return TRUE;
    if (m_uShadeLevel > kMaxGridShadeLevel || !pDC) return FALSE;
    _PRINT_GRID_AREA area;
    if (!GetPrintGridArea(widthMm, heightMm, pxPerMm, area)) return FALSE;

    // A monochrome bitmap copied onto a colour page takes the page's colours:
    // its white the background colour, its black the text colour.
    COLORREF paper = RGB(0xFF, 0xFF, 0xFF);
    COLORREF ink = RGB(0, 0, 0);
    // Only the area is copied from the bitmap: the ends of its lines and its
    // dots on the last row and column stay outside.
    std::optional<CDCStateSaver> saved;
    if (CDC* pFrame = pDC->GetDC()) {
        paper = pFrame->GetBkColor();
        ink = pFrame->GetTextColor();
        saved.emplace(*pFrame);
        pFrame->IntersectClipRect(origin.x, origin.y, origin.x + area.nWidth, origin.y + area.nHeight);
    }
    CBrush brushPaper(paper);
    const CRect whole(origin.x, origin.y, origin.x + area.nWidth, origin.y + area.nHeight);
    pDC->FillRect(&whole, &brushPaper);
    if (m_uGridType != 1) {
        ForEachGridDot(area, origin.x, origin.y, [&](int x, int y) { FillGridDot(pDC, x, y, m_uShadeLevel, ink); });
        return TRUE;
    }
    // The thin pen's light grey is white in the monochrome bitmap.
    const int weight = GetGridPenWeight(m_uShadeLevel);
    CPen penThin;
    CPen penBold;
    penThin.CreatePen(PS_SOLID, weight / 2, paper);
    penBold.CreatePen(PS_SOLID, weight, ink);
    CDCObjectSelector<CPen, CECGDC> pens(*pDC);
    // The bitmap's order: the columns, then the rows over them.
    DrawGridColumns(pDC, pens, area, origin.x, origin.y, &penBold, &penThin, nullptr);
    DrawGridRows(pDC, pens, area, origin.x, origin.y, &penBold, &penThin);
    return TRUE;
}

void CPrintWaveBKGround::DrawGridPoint(int x, int y, COLORREF color)
{
    // A dot is a level x level square whose bottom-right pixel is the grid point.
    const int size = (int)m_uShadeLevel;
    for (int i = 0; i < size; ++i) {
        for (int j = 0; j < size; ++j) m_pMemDC->SetPixelV(x - i, y - j, color);
    }
}

void CPrintWaveBKGround::DrawLineGrid(int widthMm, int heightMm, double pxPerMm, CDC* pDC)
{
    _PRINT_GRID_AREA area;
    if (!pDC || !GetPrintGridArea(widthMm, heightMm, pxPerMm, area)) return;
    CPen penThin;
    CPen penBold;
    CreateGridPens(m_uShadeLevel, penThin, penBold);
    CDCObjectSelector<CPen, CDC> pens(*pDC);
    DrawGridColumns(pDC, pens, area, 0, 0, &penBold, &penThin, nullptr);
    DrawGridRows(pDC, pens, area, 0, 0, &penBold, &penThin);
}
