#include "panes/WndExtraCommentRhythmWave.h"

#include "panes/WndExtraCommentPage.h"

IMPLEMENT_DYNAMIC(CWndExtraCommentRhythmWave, CWndExtraCommentPane)

namespace {

using namespace panes::extra;

const CommentRow kRows[] = {
    {20, 20, 23, kSizeWaveHalf},
    {21, 22, 23, kSizeComment},
    {26, 26, kWaveByLayoutCode, kSizeWaveHalf},
    {27, 28, kWaveByLayoutCode, kSizeComment},
};
// Six leads and a rhythm lead as one set (layout 11) or two (13); the
// overview strip shows the rhythm lead; missing fonts are passed as none.
const CommentTwin kTwin = {kRows, 4, 11, 13, 13, TRUE, FALSE};

}  // namespace

CWndExtraCommentRhythmWave::CWndExtraCommentRhythmWave() : CWndExtraCommentPane(kTwin, 0) {}
