// The comment page of an extra-lead record (or an MFER record of the extra
// kind) of three or six extra leads (CWndExtraCommentPane): the page puts
// the form beside the waves, gives the waves the whole width, or gives the
// form the whole page. Pages extra 17 to 19, 23 to 25 and 29 (MFER those
// plus 51); it starts on page 24.
#pragma once

#include "panes/WndExtraCommentPane.h"

class CWndExtraCommentWave : public CWndExtraCommentPane {
    DECLARE_DYNAMIC(CWndExtraCommentWave)

public:
    CWndExtraCommentWave();

protected:
    void SizeCommentHalf(CRect rect, int pageWidth, int pageHeight) override;
};
