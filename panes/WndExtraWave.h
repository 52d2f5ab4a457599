// The wave page of an extra-lead record (or an MFER record of the extra
// kind) of three or six extra leads: the patient strip, the caption line,
// the multi-lead view in the page's extra wave style and the one-lead
// overview strip below it (CWndExtraWavePane). Pages extra 1, 2, 5 to 10
// (MFER those plus 51).
#pragma once

#include "panes/WndExtraWavePane.h"

class CWndExtraWave : public CWndExtraWavePane {
    DECLARE_DYNAMIC(CWndExtraWave)

public:
    CWndExtraWave();
};
