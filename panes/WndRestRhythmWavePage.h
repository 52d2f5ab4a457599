// What the resting wave page and its US-style twin share: the document they
// serve (resting, MFER or rhythm), the lead layout each page style asks for,
// the caption texts of a layout, and the placing of the caption and
// limb/chest strips and of the two wave views below them.
#pragma once

#include "panes/PaneKit.h"
#include "platform/base/Strings.h"

class CDlgCtrl;
class CMFERViewDoc;
class CRestViewDoc;
class CRhythmViewDoc;
class CTavrionDoc;
class CViewRhythmWave;
class CViewScroll1LeadWave;

namespace panes {
namespace restwave {

constexpr int kCaptionTemplate = 102;
constexpr int kCaptionGeneral = 3478;
constexpr int kCaptionLimb = 3479;
constexpr int kCaptionChest = 3480;
constexpr int kCaptionST = 3499;
constexpr int kLimbChestTemplate = 117;
constexpr int kLimbButton = 3481;
constexpr int kChestButton = 3482;
constexpr int kRhythmViewId = 201;
constexpr int kOneLeadViewId = 202;
constexpr int kOneLeadStyle = 13;          // the strip under the resting page
constexpr int kOneLeadFiveRowStyle = 15;   // the same strip in a five-row grid

// The one document a page serves: the resting one when set, else MFER, else rhythm.
struct Docs {
    CRestViewDoc* rest = nullptr;
    CMFERViewDoc* mfer = nullptr;
    CRhythmViewDoc* rhythm = nullptr;

    CTavrionDoc* Doc() const;
    // 0 resting, 6 MFER, 2 rhythm (0 without a document).
    int DocType() const;
    BOOL HasCurrentItem() const;
    // A record of fifteen leads: by the resting system code's low byte, the
    // MFER kind, or the rhythm lead count.
    BOOL IsFifteenLead() const;
    // The lead of the one-lead strip; none (255) shows lead 0.
    int OneLeadId() const;
};

// A page style's lead layout: the multi-lead view's wave style and whether
// the page is half width.
struct WaveChoice {
    int waveStyle = 0;
    BOOL half = FALSE;
};

// Resting and MFER page styles 1 to 34; FALSE for a style without a layout.
BOOL RestPageLayout(int pageStyle, BOOL fifteenLead, WaveChoice& choice);
// Rhythm page styles 1 to 19.
BOOL RhythmPageLayout(int pageStyle, BOOL fifteenLead, WaveChoice& choice);
// The US-style page's resting and MFER styles 3 to 32; `interpretation` is
// 1 (shown), 0 (hidden) or -1 (left as it is, for an MFER half page).
BOOL AmeRestPageLayout(int pageStyle, BOOL fifteenLead, BOOL mfer, WaveChoice& choice, int& interpretation);

// The name of a wave style as the caption shows it; empty for other styles.
CString WaveStyleName(int waveStyle, BOOL fifteenLead);
// Wave styles whose page shows one lead group at a time with the limb/chest switch.
BOOL HasLimbChestSwitch(int waveStyle);

// The caption texts of a wave style: which of the two are written.
struct Captions {
    BOOL writeLimb = FALSE;
    BOOL writeChest = FALSE;
    CString limb;
    CString chest;
};
// The captions for the document's settings; `usStyle` is the US-style
// page's variant. Nothing written for a wave style outside 1 to 12.
Captions BuildCaptions(const Docs& docs, int waveStyle, BOOL usStyle);
// Shows both captions, writes the texts, and in the one-group layouts
// hides the group not chosen. Nothing without a current record.
void ShowCaptions(CDlgCtrl* strip, const Docs& docs, int waveStyle, BOOL limbLeads, BOOL usStyle);

// The strip row below the forms, in pixels.
struct StripRow {
    int top = 0;
    int height = 0;
    int innerTop = 0;      // the statics and buttons inside the strips
    int innerHeight = 0;
};
// The row at `top` pixels, `units` high, following display size mode 6 and the half style.
StripRow MakeStripRow(const VirtualPage& page, CTavrionDoc* doc, int top, int units, BOOL half);
// Side margin of display size mode 5, in pixels.
int GridModeMargin();
// Height of the patient strip in pixels (mode 6 follows the width).
int PatientHeight(const VirtualPage& page, CTavrionDoc* doc, BOOL shown);
// Moves a form frame across the page (units x and w; display size mode 5:
// the screen's margins) at `top`, `height` pixels high, shows it and lets
// its form lay out and write its texts.
void PlaceFormStrip(CFrameWnd* frame, const VirtualPage& page, CTavrionDoc* doc, int x, int w, int top, int height);

// Fonts of the strips' controls, and the general caption parked.
void StripFonts(CDlgCtrl* caption, CDlgCtrl* limbChest, CTavrionDoc* doc);
// The caption and limb/chest strips of the wave style in the row; a wave
// style outside 1 to 12 leaves them where they are.
void PlaceCaptionStrips(CDlgCtrl* caption, CDlgCtrl* limbChest, const VirtualPage& page, CTavrionDoc* doc,
                        const StripRow& row, int waveStyle, BOOL fifteenLead);
// The multi-lead view from the row's bottom down, its grid rounded to whole
// blocks of five, and the one-lead strip centred in the room below it.
void PlaceWaveViews(CViewRhythmWave* view, CViewScroll1LeadWave* strip, const VirtualPage& page, CTavrionDoc* doc,
                    int top);

// The divider checks of the document on the view: negative hides them.
void ApplyDividerCheck(CViewRhythmWave* view, int mask);
// The lead group the strips' limb or chest button chose, on both views.
void ShowLeadGroup(CViewRhythmWave* view, CViewScroll1LeadWave* strip, CDlgCtrl* caption, CTavrionDoc* doc,
                   BOOL limb);

// The children both wave pages make alike, once the forms are made: the
// caption strip (its ST static hidden: it belongs to the interpretation page
// and would cover the limb caption), the limb/chest strip checked for
// `limb`, the multi-lead view and the one-lead strip in `oneLeadStyle`.
struct WaveChildren {
    CDlgCtrl*& caption;
    CDlgCtrl*& limbChest;
    CViewRhythmWave*& view;
    CViewScroll1LeadWave*& strip;
};
void CreateWaveChildren(CWnd* pane, CTavrionDoc* doc, int docType, BOOL limb, int oneLeadStyle,
                        const WaveChildren& children);
// The pop-ups of both views hidden or shown, or closed.
void HideWavePopups(CViewRhythmWave* view, CViewScroll1LeadWave* strip, BOOL show);
void CloseWavePopups(CViewRhythmWave* view, CViewScroll1LeadWave* strip);

}  // namespace restwave
}  // namespace panes
