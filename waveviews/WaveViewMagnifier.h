// CWaveViewMagnifier: the host side of the hover magnifier, one per waveform
// view that offers it. The view draws its whole client area once, magnified,
// into a canvas of about screen size, keeps a clean copy without overlays, and
// on later moves only copies the part around the cursor into the magnifier.
// The canvas is drawn afresh when the magnification changes or the cursor's
// part leaves it; overlays are refreshed from the clean copy at every move
// unless the host says the picture can be reused as it is.
//
// The host forwards its four operations (ShowEnlargedPreview,
// MoveEnlargedPreview, RedrawEnlargedPreview, OnMouseLeave) to Show, Move,
// Redraw and Leave, and gives its drawing here.
#pragma once

#include <functional>
#include <memory>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Dc.h"

class CEnlargedPreviewWindow;
class CTavrionDoc;
class CWaveView;
class CViewEnlargedPreview;

class CWaveViewMagnifier {
public:
    // The host's picture at the draw rectangle of the canvas, with the grid
    // counts; FALSE when it could not be drawn.
    using DrawView = std::function<BOOL(CDC* pDC, const CRect& draw, float ratio)>;
    // What is drawn over the picture and refreshed at every redraw.
    using DrawOverlays = std::function<void(CDC* pDC, const CRect& draw, float ratio)>;
    // Whether, besides the same ratio and a cursor inside the cache, the
    // cached picture may be shown as it is.
    using CanReuse = std::function<bool()>;
    // A document the host names for the magnifier window.
    using FindDocument = std::function<CTavrionDoc*()>;

    struct Drawing {
        DrawView drawView;
        DrawOverlays drawOverlays;   // none: the host's annotations
        CanReuse canReuse;           // none: the document's mouse mode is 1
        BOOL bTextSetup = TRUE;      // select the font, scaled, before the host draws
        CFont* pFont = nullptr;      // none: `font`, else the document's page-text font
        // The host's text font, asked at each full drawing, for hosts whose
        // font comes with a document they are given after construction.
        std::function<CFont*()> font;
        // Whose magnifier window must be visible for a move to show (none:
        // the host's document), and whose window the picture is moved and
        // drawn in (none: the host's document).
        FindDocument showDocument;
        FindDocument drawDocument;
        // Called when the cached pictures are dropped for a new magnification
        // or a part outside them: the host drops its own cached pictures too.
        std::function<void()> dropsAlso;
    };

    explicit CWaveViewMagnifier(CWaveView& host);
    ~CWaveViewMagnifier();
    CWaveViewMagnifier(const CWaveViewMagnifier&) = delete;
    CWaveViewMagnifier& operator=(const CWaveViewMagnifier&) = delete;

    void SetDrawing(Drawing drawing) { m_drawing = std::move(drawing); }

    void Show(CPoint point);
    BOOL Move(CPoint point);
    BOOL Redraw(float ratio, CPoint point);
    // The mouse left the host: the caches go, the magnifier keeps its picture.
    LRESULT Leave();
    // Drops the cached pictures (the host's own drawing changed).
    void DropCache();

    BOOL HasCache() const { return m_pCanvasDC != nullptr; }
    BOOL IsTrackingLeave() const { return m_bTracking; }
    CRect GetCachedRect() const { return m_rcVisible; }

private:
    // The drawing document's magnifier window; null without a document or a window.
    CEnlargedPreviewWindow* Window() const;
    CViewEnlargedPreview* Magnifier() const;
    // The showing document's magnifier window is there and visible.
    BOOL Visible() const;
    CTavrionDoc* DrawDocument() const;

    CWaveView& m_host;
    Drawing m_drawing;
    // A picture's bitmap comes before its DC and the selection after both,
    // so that the bitmap is selected out before the DC and the bitmap go.
    std::unique_ptr<CBitmap> m_pCanvasBitmap;
    std::unique_ptr<CDC> m_pCanvasDC;
    std::unique_ptr<CDCObjectSelector<CBitmap>> m_pCanvasSelection;
    std::unique_ptr<CBitmap> m_pCleanBitmap;
    std::unique_ptr<CDC> m_pCleanDC;
    std::unique_ptr<CDCObjectSelector<CBitmap>> m_pCleanSelection;
    CRect m_rcVisible;
    CRect m_rcDraw;
    BOOL m_bTracking = FALSE;
    float m_fRatio = 4.0f;
};
