// What the four extra-lead panes share: the record they serve (an extra-lead
// record or an MFER record of the extra kind, with the lead-set codes its
// item keeps), the texts of their caption lines, and the placing of the
// multi-lead view over the one-lead strip below it.
#pragma once

#include "panes/PaneKit.h"
#include "platform/base/Strings.h"

class CExtraViewDoc;
class CMFERViewDoc;
class CViewRhythmWave;
class CViewScroll1LeadWave;
class CDlgCtrl;

namespace panes {
namespace extra {

constexpr int kCaptionTemplate = 102;
constexpr int kCaptionGeneral = 3478;
constexpr int kCaptionLeft = 3479;
constexpr int kCaptionRight = 3480;
constexpr int kCaptionST = 3499;
constexpr int kSelectionTemplate = 117;
constexpr int kExtra1Button = 3481;
constexpr int kExtra2Button = 3482;
constexpr int kRhythmViewId = 201;
constexpr int kRhythmStripId = 202;
// An MFER page is the extra-lead page of the same number plus this.
constexpr int kMFERStyleOffset = 51;
constexpr UINT kDisplaySizeByGrid = 5;
constexpr UINT kDisplaySizeByWidth = 6;

// The record a pane serves: the extra-lead document when set, else the MFER one.
struct ExtraRecord {
    CExtraViewDoc* extra = nullptr;
    CMFERViewDoc* mfer = nullptr;

    CTavrionDoc* Doc() const;
    // 4 for an extra-lead record, 6 for an MFER record.
    int DocType() const;
    BOOL HasItem() const;
    // Sensitivity of the Extra1 (4) or Extra2 (5) set, of the current settings.
    float Sense(UINT kind) const;
    float Speed() const;
    // 2 selects the Extra1 set on the pages of one set.
    int ExtraSetCode() const;
    // The record's own page-style value: whether its six leads are one set or two.
    int LayoutCode() const;
    // The set the user chose on two-set pages: 1 Extra1, 0 Extra2; 1 without an item.
    int SetChoice() const;
    void SetSetChoice(int choice) const;
    // The extra-lead item's post-load time text; empty for other records.
    CString PostLoadTime() const;
    // The text an MFER caption ends with; empty without an MFER item.
    CString MFERCaptionText() const;
    // The lead of the one-lead strip.
    int Rhythm1Lead() const;
};

// "負荷後 " and the time, or empty for an empty time.
CString PostLoadCaption(const CString& time);
// The name of wave styles 22, 24, 26 and 28; empty for others.
CString WaveStyleName(int waveStyle);
// A caption of an extra-lead record (filter in Hz) and of an MFER record
// (filter as its own text), fields two blanks apart.
CString ExtraCaption(float sense, float speed, int filter, const CString& a, const CString& b);
CString MFERCaption(float sense, float speed, const CString& a, const CString& b, const CString& c);

// The screen factors of the document's display size mode: grid mode sizes
// views from the pixels per grid square with side margins.
struct DisplayGrid {
    UINT mode = 1;
    double px = 1.0;
    double py = 1.0;
    int margin = 0;   // integer part of 10 × the screen's width factor
    BOOL ByGrid() const { return mode == kDisplaySizeByGrid; }
};
DisplayGrid GridOf(CTavrionDoc* doc);

// The multi-lead view with the one-lead strip centred in the room under it.
// Outside grid mode each has its x and width in pixels; in grid mode both
// widths come from the grid and both stand at gridLeft, or end at gridRight.
struct WaveColumn {
    int viewX = 0, viewWidth = 0;
    int stripX = 0, stripWidth = 0;
    int gridLeft = 0;
    BOOL gridAlignRight = FALSE;
    int gridRight = 0;
    int top = 0;        // the view's top
    int gaps = 0;       // pixels kept free above and below the strip
    float annoUnit = 0.0f;   // annotation scale per pixel of view width
    BOOL doubleAnno = FALSE;
};
// Sizes the strip from its grid, fits whole blocks of rows of the view into
// the room the strip leaves (never fewer than none), and moves both; an
// empty width gives an empty view. Returns the view's width in pixels.
int PlaceWaveColumn(CViewRhythmWave* view, CViewScroll1LeadWave* strip, const WaveColumn& column,
                    const DisplayGrid& grid, int clientHeight);

// The size of the one-lead strip `width` pixels wide (grid mode: from the
// pixels per square); empty without a strip or a grid.
CSize GridStripSize(CViewScroll1LeadWave* strip, int width, const DisplayGrid& grid);

// The strip's control `id` moved to a rectangle in pixels inside the strip.
void PlaceStripItem(CDlgCtrl* strip, int id, const CRect& rect);
// A window moved to the empty rectangle.
void Hide(CWnd* wnd);

}  // namespace extra
}  // namespace panes
