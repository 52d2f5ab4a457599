// CWaveViewMagnifier: the cached magnified canvas of a host view.
#include "waveviews/WaveViewMagnifier.h"

#include <cmath>

#include "core/EnlargedPreviewWindow.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Font.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "waveviews/ViewEnlargedPreview.h"
#include "waveviews/WaveView.h"

CWaveViewMagnifier::CWaveViewMagnifier(CWaveView& host)
    : m_host(host), m_rcVisible(0, 0, 0, 0), m_rcDraw(0, 0, 0, 0)
{
}

CWaveViewMagnifier::~CWaveViewMagnifier() { DropCache(); }

void CWaveViewMagnifier::DropCache()
{
    m_pCanvasSelection.reset();
    m_pCleanSelection.reset();
    if (m_pCanvasDC) m_pCanvasDC->DeleteDC();
    if (m_pCleanDC) m_pCleanDC->DeleteDC();
    m_pCanvasDC.reset();
    m_pCanvasBitmap.reset();
    m_pCleanDC.reset();
    m_pCleanBitmap.reset();
}

CTavrionDoc* CWaveViewMagnifier::DrawDocument() const
{
    return m_drawing.drawDocument ? m_drawing.drawDocument() : m_host.GetTavrionDoc();
}

CEnlargedPreviewWindow* CWaveViewMagnifier::Window() const
{
    CTavrionDoc* doc = DrawDocument();
    return doc ? doc->GetEnlargedPreview() : nullptr;
}

CViewEnlargedPreview* CWaveViewMagnifier::Magnifier() const
{
    CEnlargedPreviewWindow* window = Window();
    return window ? window->GetEnlargedPreview() : nullptr;
}

BOOL CWaveViewMagnifier::Visible() const
{
    CTavrionDoc* doc = m_drawing.showDocument ? m_drawing.showDocument() : m_host.GetTavrionDoc();
    CEnlargedPreviewWindow* window = doc ? doc->GetEnlargedPreview() : nullptr;
    return window && window->IsEnlargedPreviewShown();
}

void CWaveViewMagnifier::Show(CPoint point)
{
    if (!Visible()) return;
    if (!m_bTracking) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = m_host.GetSafeHwnd();
        ::TrackMouseEvent(&track);
        m_bTracking = TRUE;
    }
    Move(point);
}

BOOL CWaveViewMagnifier::Move(CPoint point)
{
    CViewEnlargedPreview* magnifier = Magnifier();
    if (!magnifier || !magnifier->GetSafeHwnd()) return FALSE;
    const float r = magnifier->GetScaleRatio();
    CRect source;
    m_host.GetClientRect(&source);
    CRect window;
    magnifier->GetClientRect(&window);
    const int mw = window.Width();
    const int mh = window.Height();

    double left = point.x * static_cast<double>(r) - mw / 2;
    if (left > source.right * static_cast<double>(r) - mw) left = source.right * static_cast<double>(r) - mw;
    if (left <= 0.001) left = 0;
    double top = point.y * static_cast<double>(r) - mh / 2;
    if (top > source.bottom * static_cast<double>(r) - mh) top = source.bottom * static_cast<double>(r) - mh;
    if (top <= 0.001) top = 0;
    const int L = static_cast<int>(left);
    const int T = static_cast<int>(top);
    const int R = static_cast<int>(mw + left);
    const int B = static_cast<int>(mh + top);
    const CRect& v = m_rcVisible;
    const bool outside = (R - L < v.Width() && (L < v.left || R > v.right)) ||
                         (B - T < v.Height() && (T < v.top || B > v.bottom));

    CTavrionDoc* doc = m_host.GetTavrionDoc();
    const bool hostAllows = m_drawing.canReuse ? m_drawing.canReuse() : (doc && doc->GetMouseMode() == 1);
    const bool reuse = r == m_fRatio && m_pCanvasDC && m_pCanvasDC->GetSafeHdc() && !outside && hostAllows;
    if (!reuse) {
        if (r != m_fRatio || outside) {
            m_fRatio = r;
            DropCache();
            if (m_drawing.dropsAlso) m_drawing.dropsAlso();
        }
        if (!Redraw(r, point)) return FALSE;
    }

    CDC* display = magnifier->GetMemDC();
    if (!display) return FALSE;
    const int cw = v.Width();
    const int ch = v.Height();
    const int ww = R - L;
    const int wh = B - T;
    if (ww > cw && wh <= ch)
        display->BitBlt((ww - cw) / 2, 0, cw, ch, m_pCanvasDC.get(), 0, static_cast<int>(top - v.top), SRCCOPY);
    else if (wh > ch && ww <= cw)
        display->BitBlt(0, (wh - ch) / 2, cw, ch, m_pCanvasDC.get(), static_cast<int>(left - v.left), 0, SRCCOPY);
    else if (ww > cw && wh > ch)
        display->BitBlt((ww - cw) / 2, (wh - ch) / 2, cw, ch, m_pCanvasDC.get(), 0, 0, SRCCOPY);
    else
        display->BitBlt(0, 0, cw, ch, m_pCanvasDC.get(), static_cast<int>(left - v.left),
                        static_cast<int>(top - v.top), SRCCOPY);
    magnifier->Invalidate(FALSE);
    return TRUE;
}

BOOL CWaveViewMagnifier::Redraw(float ratio, CPoint point)
{
    CViewEnlargedPreview* magnifier = Magnifier();
    if (!magnifier) return FALSE;
    CDC* reference = magnifier->GetMemDC();
    if (!reference) return FALSE;
    CRect source;
    m_host.GetClientRect(&source);
    int columns = 0;
    int rows = 0;
    m_host.GetGridCount(columns, rows);
    magnifier->CalcEnlargedRect(source, point, columns, rows);
    CRect canvas;
    magnifier->GetCanvasRect(&canvas);
    const int kw = canvas.Width();
    const int kh = canvas.Height();
    // A host without grid counts lays out nothing: no picture.
    if (kw <= 0 || kh <= 0) return FALSE;

    const auto overlays = [&](CDC* dc) {
        if (m_drawing.drawOverlays)
            m_drawing.drawOverlays(dc, m_rcDraw, ratio);
        else
            m_host.DrawAnnotation(dc, m_rcDraw, TRUE, ratio);
    };

    if (m_pCanvasDC && m_pCanvasDC->GetSafeHdc()) {
        if (m_pCleanDC) m_pCanvasDC->BitBlt(0, 0, kw, kh, m_pCleanDC.get(), 0, 0, SRCCOPY);
        overlays(m_pCanvasDC.get());
        return TRUE;
    }

    magnifier->GetDrawRect(&m_rcDraw);
    auto bitmap = std::make_unique<CBitmap>();
    auto canvasDC = std::make_unique<CDC>();
    if (!bitmap->CreateCompatibleBitmap(reference, kw, kh) || !canvasDC->CreateCompatibleDC(reference)) return FALSE;
    auto canvasSelection = std::make_unique<CDCObjectSelector<CBitmap>>(*canvasDC, bitmap.get());

    const float sy = source.Height() * ratio / kh;
    const float sx = source.Width() * ratio / kw;
    m_host.DrawEnlargedBack(canvasDC.get(), canvas, sx, sy);

    BOOL drawn = TRUE;
    {
        // The font outlives the saver, so it is no longer selected when it goes.
        CFont scaled;
        CDCStateSaver saver(*canvasDC);
        CDCObjectSelector<CFont> fontSelection(*canvasDC);
        if (m_drawing.bTextSetup) {
            CTavrionDoc* doc = DrawDocument();
            CFont* font = m_drawing.pFont ? m_drawing.pFont
                          : m_drawing.font ? m_drawing.font()
                          : (doc ? doc->GetPageTextFont() : nullptr);
            canvasDC->SetBkMode(TRANSPARENT);
            canvasDC->SetTextAlign(TA_TOP | TA_LEFT);
            canvasDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
            if (font) {
                LOGFONT lf{};
                font->GetLogFont(&lf);
                lf.lfHeight = static_cast<LONG>(lf.lfHeight * ratio);
                lf.lfWidth = static_cast<LONG>(lf.lfWidth * ratio);
                if (scaled.CreateFontIndirect(&lf)) fontSelection.Select(&scaled);
            }
        }
        if (m_drawing.drawView) drawn = m_drawing.drawView(canvasDC.get(), m_rcDraw, ratio);
    }
    if (!drawn) return FALSE;

    m_rcVisible = magnifier->GetVisibleRect();
    auto cleanBitmap = std::make_unique<CBitmap>();
    auto cleanDC = std::make_unique<CDC>();
    if (cleanBitmap->CreateCompatibleBitmap(canvasDC.get(), kw, kh) && cleanDC->CreateCompatibleDC(canvasDC.get())) {
        auto cleanSelection = std::make_unique<CDCObjectSelector<CBitmap>>(*cleanDC, cleanBitmap.get());
        cleanDC->BitBlt(0, 0, kw, kh, canvasDC.get(), 0, 0, SRCCOPY);
        m_pCleanBitmap = std::move(cleanBitmap);
        m_pCleanDC = std::move(cleanDC);
        m_pCleanSelection = std::move(cleanSelection);
    }
    m_pCanvasBitmap = std::move(bitmap);
    m_pCanvasDC = std::move(canvasDC);
    m_pCanvasSelection = std::move(canvasSelection);
    overlays(m_pCanvasDC.get());
    return TRUE;
}

LRESULT CWaveViewMagnifier::Leave()
{
    m_bTracking = FALSE;
    DropCache();
    return 0;
}
