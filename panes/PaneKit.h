// What every page pane does the same way: forms in frames of their own,
// views and button strips as direct children on the pane's document, the
// virtual page that scales to the pane's client area, the rows of a wave
// view in whole five-square blocks, the focus jump between the forms of a
// page, and the relays of strip drags and annotation activation.
#pragma once

#include <functional>

#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/framework/View.h"

class CTavrionDoc;
class CDlgCtrl;
class CFormEx;
class CWaveView;
class CViewRhythmWave;

namespace panes {

// The page is 1020 units wide, 664 high with the patient strip and 614 without.
constexpr int kPageWidth = 1020;
constexpr int kPageHeightWithPatient = 664;
constexpr int kPatientStripHeight = 50;

// A form of `formClass` on the document, in a frame of its own that is a
// child of the pane; the frame stays empty when the form cannot be made.
// The frame and the form delete themselves with their windows.
CFrameWnd* CreateFormFrame(CWnd* pane, CTavrionDoc* doc, CRuntimeClass* formClass, int docType);
// A frame holding a view of `viewClass` as its active view, without a client
// edge; `prepare` runs on the view before its initial update. The frame
// stays empty when the view cannot be made.
CFrameWnd* CreateViewFrame(CWnd* pane, CTavrionDoc* doc, CRuntimeClass* viewClass,
                           const std::function<void(CView*)>& prepare);
// The form a frame holds, or null.
CFormEx* FrameForm(CFrameWnd* frame);
// A view of `viewClass` as the pane's child `id`, joined to the document's
// view list; null when it cannot be made.
CView* CreateChildView(CWnd* pane, CTavrionDoc* doc, CRuntimeClass* viewClass, UINT id);
// A button strip on its template, painted in the document's colours. The
// pane owns it; null when the template cannot be made.
template <class Strip, class... Args> Strip* CreateStrip(CWnd* pane, CTavrionDoc* doc, int templateId, Args... args);
// The strip's control `id`, or null (no strip, or no such control).
CWnd* StripItem(CDlgCtrl* strip, int id);
// The control's text when both exist.
void SetStripText(CDlgCtrl* strip, int id, LPCWSTR text);
void EnableStripItem(CDlgCtrl* strip, int id, BOOL enable);
void ShowStripItem(CDlgCtrl* strip, int id, BOOL show);
// WM_SETFONT with redraw on each control of `ids` that exists; a missing
// font is passed as none.
void SetStripFont(CDlgCtrl* strip, const int* ids, int count, CFont* font);

// A rectangle (left, top, width, height) in page units.
struct PageRect {
    int x, y, w, h;
};

// The virtual page laid over a client area of W × H pixels.
class VirtualPage {
public:
    VirtualPage(int clientWidth, int clientHeight, int pageHeight);
    // 664 units high with the patient strip, 614 without.
    static int PageHeight(BOOL showPatient);
    // The page over the window's client area.
    static VirtualPage OfClient(CWnd* wnd, BOOL showPatient);

    int X(int units) const;
    int Y(int units) const;
    CRect Rect(const PageRect& r) const;
    // Moves the window (when it exists) to the scaled rectangle.
    void Place(CWnd* wnd, const PageRect& r) const;
    // The same below a content top: the top is Y(base) + Y(r.y), each
    // scaled on its own, as the panes' tables add them.
    CRect RectBelow(int base, const PageRect& r) const;
    void PlaceBelow(CWnd* wnd, int base, const PageRect& r) const;
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    int m_width;
    int m_height;
    int m_pageHeight;
};

// Windows stacked down the page: each top is the previous top plus the
// previous height in pixels, so rounding leaves no gap and no overlap.
class PixelStack {
public:
    explicit PixelStack(int top) : m_top(top) {}
    // The rectangle of the next window `height` pixels high, at x, width w pixels.
    CRect Next(int x, int width, int height);
    int Top() const { return m_top; }

private:
    int m_top;
};

// Rows of a wave grid whose rows are `rowHeight` pixels high that fit
// `room` pixels, rounded down to whole blocks of five; never below 0, and
// 0 for a row height that is not positive.
int RowsInRoom(double room, double rowHeight);
// The height in pixels of `rows` rows of `rowHeight`: the integer part plus one line.
int GridHeight(int rows, double rowHeight);

// Paints a view again once what it shows changed (a style, a lead, a page),
// on its ground erased first. The analysis views paint their ground only when
// it is erased (WM_ERASEBKGND): painted again without that, the new picture
// lands on the old one, two pages' titles and axes at once, and each repaint
// of the same picture darkens its texts. Nothing for a view not made.
void RepaintView(CWnd* view);

// Moves the patient frame to its rectangle and shows it, sizes its form
// and lets the form write its texts; or hides it.
void PlacePatientFrame(CFrameWnd* frame, const VirtualPage& page, const PageRect& r, BOOL show);
// Moves a form frame and lets its form lay out (WM_SIZE 0, 0) and write its texts.
void PlaceFormFrame(CFrameWnd* frame, const VirtualPage& page, const PageRect& r, BOOL size = TRUE);

// ---- focus jump (WM_USER+5) ----------------------------------------------------------
enum FocusSource { kFromHost = 0, kFromPatientForm = 1, kFromInterpretation = 2, kFromUSInterpretation = 3 };
enum FocusDirection { kBackward = 1, kForward = 2 };

struct FocusJump {
    int source;
    int direction;
    int entry;
};
// The three integers WPARAM points at; zeros for a null pointer.
FocusJump ReadFocusJump(WPARAM wParam);

// Which child windows count as places for the focus.
struct FocusRule {
    BOOL skipReadOnlyEdits = TRUE;   // a read-only CCheckEdit is passed over
    BOOL setJumpStatus = TRUE;       // the target form is told the focus came by a jump
    int entry1Control = 3096;        // the control a forward jump of entry 1 goes to
    BOOL backwardViaPane = TRUE;     // a backward jump passes through the pane (and the jump status) first
    BOOL paneTakesFocus = TRUE;      // the pane takes the focus before the control does
};

// Moves the focus into `target` (a form frame) as the jump asks; 1 when the
// focus moved. `pane` takes the focus first on a first or last control.
LRESULT JumpFocusInto(CWnd* pane, CFrameWnd* target, const FocusJump& jump, const FocusRule& rule);
// The rule of a page with the patient form and one interpretation form.
LRESULT JumpBetweenForms(CWnd* pane, CFrameWnd* patient, CFrameWnd* interpretation, WPARAM wParam);
// The rule of a page whose only form is the patient form: only the host's jump moves.
LRESULT JumpIntoOnlyForm(CWnd* pane, CFrameWnd* patient, WPARAM wParam);

// ---- relays ------------------------------------------------------------------------------
// A one-lead strip moved the page to `sample`: the host hears of it when the
// page really moved, then the multi-lead view shows from there.
LRESULT RelayStripDrag(CTavrionDoc* doc, CViewRhythmWave* view, int sample);
// The view in `active` becomes the annotation view among `views` (nulls skipped).
LRESULT RelayAnnotationActive(CWnd* active, CWaveView* const* views, int count);

// ---- display size mode 5 ---------------------------------------------------------------
// The mode in which views take their size from the document's pixels per grid square.
constexpr UINT kDisplaySizeByGrid = 5;
// The side margin of that mode: the integer part of 10 × g_dXUnit pixels.
int GridModeMargin();

}  // namespace panes

#include "panes/PaneKitStrip.inl"
