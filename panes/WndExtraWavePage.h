// The wave page the two extra-lead wave panes share: the patient strip, a
// caption strip, the multi-lead view in one of the extra wave styles (22
// three leads, 24 six leads, 26 and 28 two sets of three side by side) and
// the one-lead strip below it. The twins differ only in what WaveTwin holds.
#pragma once

#include "panes/WndExtraKit.h"

class CFrameWnd;

namespace panes {
namespace extra {

// A page style the pane shows and the wave style it draws in.
struct PageWave {
    int firstStyle;
    int lastStyle;
    int waveStyle;
};

struct WaveTwin {
    const PageWave* pages;       // four rows of extra-lead page styles
    int stripWaveStyle;          // the one-lead strip's style
    BOOL stripShowsRecordLead;   // the strip shows the record's rhythm lead
    BOOL layoutNeedsFont;        // without the first display font nothing is laid out
    BOOL prefixPostLoad;         // the post-load time is captioned "負荷後 "
};

// The pane's own members, passed by reference so that creation fills them.
struct WavePageParts {
    CWnd* pane;
    ExtraRecord record;
    BOOL showPatient;
    CFrameWnd*& patientFrame;
    CDlgCtrl*& displayStrip;
    CViewRhythmWave*& view;
    CViewScroll1LeadWave*& strip;
};

// The wave style of an extra-lead page style, 0 for a page the twin does not show.
int WaveStyleOfPage(const WaveTwin& twin, int extraStyle);
void CreateWavePage(const WavePageParts& parts, const WaveTwin& twin);
// The document of the call's own kind (may be null) keeps the wave style;
// the view takes it. FALSE for a page the twin does not show.
BOOL ApplyWavePage(const WavePageParts& parts, const WaveTwin& twin, CTavrionDoc* callDoc, int extraStyle);
void LayoutWavePage(const WavePageParts& parts, const WaveTwin& twin);
// Every child from the document: the lead set of the item's extra-set code,
// the document's divider bits, the captions.
void UpdateWavePage(const WavePageParts& parts, const WaveTwin& twin);
// The caption strip for a wave style; 1 when it was one of the extra styles.
LRESULT WaveCaptions(const WavePageParts& parts, const WaveTwin& twin, int waveStyle);
// Divider bits to the view: negative hides the calipers, bits 0 to 2 check
// pairs I to III and show them; higher bits are not looked at.
void GiveDividers(CViewRhythmWave* view, int bits);

}  // namespace extra
}  // namespace panes
