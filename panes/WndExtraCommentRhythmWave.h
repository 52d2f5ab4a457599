// The comment page of an extra-lead record (or an MFER record of the extra
// kind) that carries a rhythm lead besides its extra leads
// (CWndExtraCommentPane), its overview strip showing the rhythm lead. Pages
// extra 20 to 22 and 26 to 28 (MFER those plus 51); no page is laid out
// until one is shown.
#pragma once

#include "panes/WndExtraCommentPane.h"

class CWndExtraCommentRhythmWave : public CWndExtraCommentPane {
    DECLARE_DYNAMIC(CWndExtraCommentRhythmWave)

public:
    CWndExtraCommentRhythmWave();
};
