// CWaveView: paper, calibration pulse, small marks and the printed grid.
#include "waveviews/WaveView.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "core/Helpers.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/RegisterWndClass.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Resources.h"
#include "printdevice/ECGDC.h"
#include "printdevice/PrintWaveBK.h"
#include "printdevice/PrintWaveBKGround.h"
#include "printdevice/PrintWaveBKGroundNew.h"
#include "waveviews/WaveItemRef.h"

IMPLEMENT_DYNCREATE(CWaveView, CView)

BEGIN_MESSAGE_MAP(CWaveView, CView)
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CWaveView::CWaveView()
    : m_hCurrentCursor(::LoadCursor(nullptr, IDC_ARROW))
{
}

CWaveView::~CWaveView()
{
    m_annoManager.Dump();
}

BOOL CWaveView::PreCreateWindow(CREATESTRUCT& cs)
{
    // No class cursor: the view sets its own on every WM_SETCURSOR. No brush:
    // the paper covers the whole client area.
    cs.lpszClass = AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, nullptr, nullptr, nullptr);
    return CView::PreCreateWindow(cs);
}

void CWaveView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
}

void CWaveView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CView::OnUpdate(pSender, lHint, pHint);
    TakeAnnotationSettings();
}

BOOL CWaveView::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(m_hCurrentCursor);
    return TRUE;
}

CTavrionDoc* CWaveView::GetTavrionDoc() const
{
    return DYNAMIC_DOWNCAST(CTavrionDoc, m_pDocument);
}

void CWaveView::InitBackground(int columns, int rows)
{
    m_nGridColumns = columns;
    m_nGridRows = rows;
}

void CWaveView::GetGridCount(int& columns, int& rows) const
{
    columns = m_nGridColumns;
    rows = m_nGridRows;
}

void CWaveView::TakeDocumentColours()
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return;
    m_tracePen.DeleteObject();
    m_tracePen.CreatePen(PS_SOLID, 1, doc->GetWaveColor(0, 0));
    m_crBackground = doc->GetWaveColor(2, 0);
    m_crGrid = doc->GetWaveColor(1, 0);
}

void CWaveView::OnDraw(CDC* pDC)
{
    TakeDocumentColours();
    m_printPen.DeleteObject();
    m_printPen.CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
    CRect client;
    GetClientRect(&client);
    DrawBackGrid(pDC, client, m_nGridColumns, m_nGridRows, m_crBackground, m_crGrid);
}

namespace {

// The dotted grid's dots (every one in the grid colour on the paper) in
// rows: the rows of one kind carry the same columns, so each kind is set once
// in a one-pixel strip that is then copied to its rows, one copy a row.
void DrawDotRows(CDC& target, int left, int top, int w, const std::map<int, std::vector<int>>& rows,
                 COLORREF paper, COLORREF grid)
{
    std::map<std::vector<int>, std::vector<int>> kinds;
    for (const auto& row : rows) {
        std::vector<int> xs = row.second;
        std::sort(xs.begin(), xs.end());
        xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
        kinds[std::move(xs)].push_back(row.first);
    }
    if (kinds.empty()) return;
    CDC stripDC;
    if (!stripDC.CreateCompatibleDC(&target)) return;
    CBitmap strip;
    if (!strip.CreateCompatibleBitmap(&target, w + 1, 1)) return;
    CDCObjectSelector<CBitmap> stripSel(stripDC, &strip);
    for (const auto& kind : kinds) {
        stripDC.FillSolidRect(0, 0, w + 1, 1, paper);
        for (int x : kind.first) stripDC.SetPixelV(x, 0, grid);
        for (int y : kind.second) target.BitBlt(left, top + y, w + 1, 1, &stripDC, 0, 0, SRCCOPY);
    }
}

}  // namespace

CDC* CWaveView::PaintImage(int width, int height)
{
    if (m_pPaintImage && m_szPaintImage == CSize(width, height)) return m_pPaintImage.get();
    m_pPaintImage.reset();
    HDC surface = platform::gdi::CreateImageDC(width, height);
    if (!surface) return nullptr;
    m_pPaintImage = std::make_unique<CDC>();
    m_pPaintImage->Attach(surface);
    m_szPaintImage = CSize(width, height);
    return m_pPaintImage.get();
}

int CWaveView::DrawBackGrid(CDC* pDC, CRect rect, int columns, int rows, COLORREF paper, COLORREF grid)
{
    if (!pDC) return -1;
    const int w = rect.Width();
    const int h = rect.Height();
    if (w < 0 || h < 0) return -1;

    // The paper is drawn straight onto an image without scaling (the views'
    // pages and windows): no image of the page's size to make and copy on
    // every paint. Any other DC gets the paper as one picture, as ever.
    const bool direct = platform::gdi::GetImageSurface(pDC->GetSafeHdc()) != nullptr && pDC->GetMapMode() == MM_TEXT;
    std::unique_ptr<CDCStateSaver> directSaver;
    CDC memDC;
    CBitmap bitmap;
    std::unique_ptr<CDCObjectSelector<CBitmap>> bitmapSel;
    CDC* target = pDC;
    int left = 0;
    int top = 0;
    if (direct) {
        directSaver = std::make_unique<CDCStateSaver>(*pDC);
        left = rect.left;
        top = rect.top;
        pDC->IntersectClipRect(left, top, left + w + 1, top + h + 1);
        pDC->SetROP2(R2_COPYPEN);
    } else {
        if (!memDC.CreateCompatibleDC(pDC)) return -1;
        if (!bitmap.CreateCompatibleBitmap(pDC, w + 1, h + 1)) return -1;
        bitmapSel = std::make_unique<CDCObjectSelector<CBitmap>>(memDC, &bitmap);
        target = &memDC;
    }
    CDC& dc = *target;
    dc.FillSolidRect(left, top, w + 1, h + 1, paper);

    int result = 0;
    if (columns <= 0 || rows <= 0) {
        result = -1;
    } else {
        const double cw = static_cast<double>(w) / columns;
        const double rh = static_cast<double>(h) / rows;
        const int right = static_cast<int>(columns * cw);
        const int bottom = static_cast<int>(rows * rh);
        CTavrionDoc* doc = GetTavrionDoc();
        const int gridType = doc ? doc->GetGridType() : 1;
        if (gridType != 0) {
            double hue, sat, val;
            RGBToHSV(GetRValue(grid), GetGValue(grid), GetBValue(grid), hue, sat, val);
            BYTE r, g, b;
            HSVToRGB(hue, sat, val * 0.5, r, g, b);
            CPen minor(PS_SOLID, 1, RGB(r, g, b));
            CPen major(PS_SOLID, 1, grid);
            CDCObjectSelector<CPen> pen(dc, &minor);
            auto line = [&](int x0, int y0, int x1, int y1) {
                dc.MoveTo(left + x0, top + y0);
                dc.LineTo(left + x1, top + y1);
            };
            for (int i = 1; i <= columns; ++i) {
                const int x = static_cast<int>(i * cw);
                line(x, 0, x, bottom);
            }
            for (int j = 1; j <= rows; ++j) {
                const int y = static_cast<int>(j * rh);
                line(0, y, right, y);
            }
            pen.Select(&major);
            for (int j = 0; j <= rows; j += 5) {
                const int y = static_cast<int>(j * rh);
                line(0, y, right, y);
            }
            for (int i = 0; i <= columns; i += 5) {
                const int x = static_cast<int>(i * cw);
                line(x, 0, x, bottom);
            }
            line(0, h - 1, w - 1, h - 1);
            line(w - 1, 0, w - 1, h - 1);
        } else {
            // Dots beyond the paper's (w + 1) x (h + 1) pixels are not drawn.
            std::map<int, std::vector<int>> dots;
            auto dot = [&](int x, int y) {
                if (x >= 0 && y >= 0 && x <= w && y <= h) dots[y].push_back(x);
            };
            for (int j = 1; j <= rows; ++j) {
                const int y = static_cast<int>(j * rh);
                for (int i = 1; i <= columns; ++i) dot(static_cast<int>(i * cw), y);
            }
            for (int k = 1; k <= rows / 5; ++k) {
                const int y = static_cast<int>(5 * k * rh);
                for (int m = 1; m < 2 * columns; m += 2) dot(static_cast<int>(m * cw * 0.5), y);
            }
            for (int k = 1; k <= columns / 5; ++k) {
                const int x = static_cast<int>(5 * k * cw);
                for (int m = 1; m < 2 * rows; m += 2) dot(x, static_cast<int>(m * rh * 0.5));
            }
            for (int m = 0; m < 2 * columns; ++m) dot(static_cast<int>(m * cw * 0.5), h - 1);
            for (int m = 0; m < 2 * rows; ++m) dot(w - 1, static_cast<int>(m * rh * 0.5));
            DrawDotRows(dc, left, top, w, dots, paper, grid);
        }
    }
    if (!direct) pDC->BitBlt(rect.left, rect.top, w + 1, h + 1, &memDC, 0, 0, SRCCOPY);
    return result;
}

void CWaveView::DrawEnlargedBack(CDC* pDC, CRect rect, float sx, float sy)
{
    TakeDocumentColours();
    const int columns = sx > 0 ? static_cast<int>(m_nGridColumns / sx + 0.5) : 0;
    const int rows = sy > 0 ? static_cast<int>(m_nGridRows / sy + 0.5) : 0;
    DrawBackGrid(pDC, rect, columns, rows, m_crBackground, m_crGrid);
}

BOOL CWaveView::DrawCAL(CDC* pDC, int x, int y, int width, int* heights, BOOL dual, BOOL printPen)
{
    if (!pDC || !heights) return TRUE;
    CDCObjectSelector<CPen> pen(*pDC, printPen ? &m_printPen : &m_tracePen);
    const int h0 = heights[0];
    if (!dual) {
        const POINT points[] = {{x, y},
                                {x + width / 4, y},
                                {x + width / 4, y - h0},
                                {x + (3 * width) / 4, y - h0},
                                {x + (3 * width) / 4, y},
                                {x + width, y}};
        pDC->Polyline(points, 6);
    } else {
        const int h1 = heights[1];
        const POINT points[] = {{x, y},
                                {x + width / 8, y},
                                {x + width / 8, y - h0},
                                {x + (3 * width) / 8, y - h0},
                                {x + (3 * width) / 8, y},
                                {x + (5 * width) / 8, y},
                                {x + (5 * width) / 8, y - h1},
                                {x + (7 * width) / 8, y - h1},
                                {x + (7 * width) / 8, y},
                                {x + width, y}};
        pDC->Polyline(points, 10);
    }
    return TRUE;
}

BOOL CWaveView::PrintWaveGrid(CECGDC* pDC, CRect rect, int widthMm, int heightMm, double pxPerMm, BOOL grid,
                              BOOL frame, BOOL direct)
{
    if (!pDC) return FALSE;
    pDC->SetBkMode(TRANSPARENT);
    const int w = static_cast<int>(widthMm * pxPerMm);
    const int h = static_cast<int>(heightMm * pxPerMm);
    if (grid) {
        CTavrionDoc* doc = GetTavrionDoc();
        const UINT gridType = doc ? static_cast<UINT>(doc->GetGridType()) : 1;
        const UINT shade = doc ? static_cast<UINT>(doc->GetShadeGrid()) : 1;
        const _PRINT_TYPE type = pDC->GetPrintType();
        if (type == 1 && direct) {
            CPrintWaveBKGroundNew painter;
            painter.SetGridType(gridType);
            painter.SetShadeGrid(shade);
            painter.SetOrigin(CPoint(rect.left, rect.top));
            painter.CreatePrintBKGround(widthMm, heightMm, pxPerMm, pDC);
        } else if (type == 2 || type == 3 || type == 5) {
            CPrintWaveBK painter;
            painter.SetGridType(gridType);
            painter.SetShadeGrid(shade);
            painter.SetOrigin(CPoint(rect.left, rect.top));
            if (type == 2)
                painter.CreatePrintBKGround(widthMm, heightMm, pxPerMm, pDC);
            else
                painter.CreatePCLBKGround(widthMm, heightMm, pxPerMm, pDC);
        } else {
            // The bitmap grid's picture, drawn on the page rather than copied
            // there as an image of the whole area.
            CPrintWaveBKGround painter;
            painter.SetGridType(gridType);
            painter.SetShadeGrid(shade);
            painter.PrintBKGround(widthMm, heightMm, pxPerMm, pDC, CPoint(rect.left, rect.top));
        }
    }
    if (frame) {
        CDCObjectSelector<CPen, CECGDC> pen(*pDC, &m_printPen);
        pDC->MoveTo(rect.left, rect.top);
        pDC->LineTo(rect.left, rect.top + h);
        pDC->LineTo(rect.left + w, rect.top + h);
        pDC->LineTo(rect.left + w, rect.top);
        pDC->LineTo(rect.left, rect.top);
        m_nCurPrintBottom = rect.top + h;
    }
    return TRUE;
}

BOOL CWaveView::DrawMarkLine(CDC* pDC, double interval, CRect rect, double size)
{
    if (!pDC) return FALSE;
    // A step that does not move right would never pass the right edge.
    const double step = interval * size * 0.1;
    if (!(step > 0.0)) return TRUE;
    CPen pen(PS_SOLID, 2, RGB(0, 0, 0));
    CDCObjectSelector<CPen> selector(*pDC, &pen);
    for (long k = 0;; ++k) {
        // The tick's own pixel column decides: one that lands on the right
        // edge is still drawn.
        const double offset = k * step;
        if (offset >= static_cast<double>(rect.right) - rect.left + 1.0) break;
        const int x = rect.left + static_cast<int>(offset);
        const int length = static_cast<int>(k % 10 == 0 ? size * 3.0 : size * 1.5);
        pDC->MoveTo(x, rect.bottom + length / 3);
        pDC->LineTo(x, rect.bottom - (2 * length) / 3);
    }
    return TRUE;
}

BOOL CWaveView::DrawDurationMark(CDC* pDC, CPoint point)
{
    if (!pDC) return FALSE;
    TEXTMETRIC metrics{};
    pDC->GetTextMetrics(&metrics);
    const int a = metrics.tmAveCharWidth;
    CBrush brush(RGB(0, 0, 0));
    CDCObjectSelector<CBrush> selector(*pDC, &brush);
    const POINT triangle[] = {{point.x, point.y - a}, {point.x - a / 2, point.y}, {point.x + a / 2, point.y}};
    pDC->Polygon(triangle, 3);
    return TRUE;
}

BOOL CWaveView::DrawMeasLine(CDC* pDC, CRect rect, double scale, const short* samples, int count, int index,
                             BOOL upward, BOOL grey, int colourSlot)
{
    if (!pDC || !samples || index < 1 || count < 10 || index >= count) return TRUE;
    COLORREF color = RGB(0x7F, 0x7F, 0x7F);
    if (!grey) {
        CTavrionDoc* doc = GetTavrionDoc();
        color = doc ? doc->GetWaveColor(colourSlot == 15 ? 15 : 0, 0) : RGB(0, 0, 0);
    }
    CPen pen(PS_SOLID, 1, color);
    CDCObjectSelector<CPen> selector(*pDC, &pen);
    const int x = rect.left + (rect.Width() * index) / count;
    const int y = TraceY(rect, scale, samples[index]);
    const int length = rect.Height() / 4;
    pDC->MoveTo(x, y);
    pDC->LineTo(x, upward ? y - length : y + length);
    return TRUE;
}

void CWaveView::DrawEvent(CDC* pDC, int x, int y, int height, int offset)
{
    if (!pDC) return;
    const int x0 = x + offset;
    const CPoint saved = pDC->GetCurrentPosition();
    pDC->MoveTo(x0, y - 1);
    pDC->LineTo(x0, y + 2);
    // Rising staircase, flat top, falling staircase: one pixel a step.
    int px = x0 - height - 1;
    int py = y + height;
    pDC->MoveTo(px, py);
    for (int k = 0; k < height; ++k) {
        pDC->LineTo(px + 1, py);
        ++px;
        pDC->LineTo(px, py - 1);
        --py;
    }
    pDC->LineTo(x0 + 2, y);
    px = x0 + 1;
    py = y;
    pDC->MoveTo(px, py);
    for (int k = 0; k < height; ++k) {
        pDC->LineTo(px, py + 1);
        ++py;
        pDC->LineTo(px + 1, py);
        ++px;
    }
    pDC->MoveTo(saved);
}

CString CWaveView::GetVersionText()
{
    return CWaveItemRef::Of(m_pDocument, m_nDocType).GetVersionText();
}

int CWaveView::CompareGetmin(int a, int b, int c)
{
    return std::min(a, std::min(b, c));
}

int CWaveView::CompareGetmax(int a, int b, int c)
{
    return std::max(a, std::max(b, c));
}

int CWaveView::TraceY(const CRect& rect, double scale, short sample) const
{
    return rect.top - static_cast<int>(sample * static_cast<double>(rect.bottom - rect.top) * scale);
}
