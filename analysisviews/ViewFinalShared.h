// What the master-step views share: the display font, the annotation-mode
// test, painting through an off-screen bitmap, ST texts, and the road to the
// two enlarge dialogs.
//
// The enlarge dialogs live two floors above the views; the dialogs layer
// installs the opener when the library loads, and the views ask for a
// dialog through it without knowing the dialog classes.
#pragma once

#include <functional>
#include <vector>

#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Dc.h"
#include "platform/ui/framework/View.h"

class CFinalViewDoc;
class CTavrionDoc;

// The post-load index that names the document's current comparison.
const int FINAL_CURRENT_LOAD = -2;
// The post-load index of a rest-beat request to the opener.
const int FINAL_REST_BEAT = -1;

// Opens the enlarge dialog of a lead's rest beat (loadIndex FINAL_REST_BEAT)
// or of a post-load beat (0-based, or FINAL_CURRENT_LOAD); the dialog's
// DoModal result.
using FinalEnlargeOpener = std::function<INT_PTR(CFinalViewDoc* doc, int lead, int loadIndex)>;
void SetFinalEnlargeOpener(FinalEnlargeOpener opener);
// IDCANCEL when no opener is installed or there is no document.
INT_PTR OpenFinalEnlarge(CFinalViewDoc* doc, int lead, int loadIndex);

// The font the master-step views write their screen texts in: the
// document's page-text font, else its first font (the display font of the
// forms), else the dialog font.
CFont* FinalDisplayFont(const CTavrionDoc* doc);
// TRUE when clicks belong to the annotation layer: the annotation lock is
// off and the mouse mode is draw (2) or select (3).
BOOL IsFinalAnnotationMode(const CTavrionDoc* doc);
// "%+.2f" of an ST level in 0.01 mm; empty for -32768 (no value).
CString FinalSTText(short level);
// Runs `draw` on a bitmap of the view's client size and copies it to pDC
// in one BitBlt.
void PaintFinalOffScreen(CView& view, CDC* pDC, const std::function<void(CDC* dc, const CRect& client)>& draw);
// A copy of `font` with height and width multiplied by ratio, into `scaled`;
// FALSE when it could not be made.
BOOL ScaleFinalFont(CFont* font, float ratio, CFont& scaled);

// How the comparison views set up their texts: on screen the display font
// (scaled into `scaled` for a magnified drawing) selected through `font`
// and the document's text colour; on paper the caller's font in black; a
// transparent background either way. The caller saves the DC around it.
void SetUpFinalText(CDC& dc, const CTavrionDoc* doc, BOOL print, float ratio, CDCObjectSelector<CFont>& font,
                    CFont& scaled);

// A whole average block of the document (index as GetAverageWaveData
// takes it), never shorter than 12 lead blocks of 600 samples, so that no
// lead block reaches past it; empty when nothing could be read.
std::vector<short> ReadFinalBlock(CFinalViewDoc* doc, int index);
