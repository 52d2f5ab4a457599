// The wave page of an extra-lead record (or an MFER record of the extra
// kind) that carries a rhythm lead besides its three or six extra leads:
// the patient strip, the caption line, the multi-lead view in the page's
// extra wave style and, below it, the overview strip of the rhythm lead
// (CWndExtraWavePane). Pages extra 3, 4, 11 to 16 (MFER those plus 51).
#pragma once

#include "panes/WndExtraWavePane.h"

class CWndExtraRhythmWave : public CWndExtraWavePane {
    DECLARE_DYNAMIC(CWndExtraRhythmWave)

public:
    CWndExtraRhythmWave();
};
