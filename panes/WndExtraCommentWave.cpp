#include "panes/WndExtraCommentWave.h"

#include "panes/WndExtraCommentPage.h"

IMPLEMENT_DYNAMIC(CWndExtraCommentWave, CWndExtraCommentPane)

namespace {

using namespace panes::extra;

const CommentRow kRows[] = {
    {17, 17, 23, kSizeWaveHalf},
    {18, 19, 23, kSizeComment},
    {23, 23, kWaveByLayoutCode, kSizeWaveHalf},
    {24, 25, kWaveByLayoutCode, kSizeComment},
    {29, 29, kWaveUnchanged, kSizeCommentHalf},
};
// Six leads as one set (layout 5) or two (7); the overview strip shows the
// first extra lead; the waves-only page waits for both display fonts.
const CommentTwin kTwin = {kRows, 5, 5, 7, 15, FALSE, TRUE};

}  // namespace

CWndExtraCommentWave::CWndExtraCommentWave() : CWndExtraCommentPane(kTwin, 24) {}

void CWndExtraCommentWave::SizeCommentHalf(CRect rect, int pageWidth, int pageHeight)
{
    panes::extra::SizeCommentHalf(Parts(), rect, pageWidth, pageHeight);
}
