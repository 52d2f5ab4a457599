// The comment page the two extra-lead comment panes share: the patient
// strip, the comment form, a caption strip, the Extra1/Extra2 strip of
// two-set records, the half-style multi-lead view and the one-lead strip.
// A page puts the form left of the waves, gives the waves the whole width,
// or gives the form the whole page. The twins differ only in CommentTwin.
#pragma once

#include "panes/WndExtraKit.h"

class CFrameWnd;

namespace panes {
namespace extra {

enum CommentLayout { kNoLayout = 0, kSizeWaveHalf = 1, kSizeComment = 2, kSizeCommentHalf = 3 };
// The wave style a page row sets besides a number: the layout code chooses
// between the one-set and the two-set style, or the style stays.
constexpr int kWaveByLayoutCode = -1;
constexpr int kWaveUnchanged = 0;

struct CommentRow {
    int firstStyle;
    int lastStyle;
    int waveStyle;   // a wave style, kWaveByLayoutCode or kWaveUnchanged
    CommentLayout layout;
};

struct CommentTwin {
    const CommentRow* rows;
    int rowCount;
    int oneSetCode;              // layout codes of the six-lead records (extra-lead numbering)
    int twoSetCode;
    int stripWaveStyle;
    BOOL stripShowsRecordLead;
    BOOL waveHalfNeedsFonts;     // the waves-only layout needs both display fonts
};

// The pane's own members, passed by reference so that the page can set them.
struct CommentPageParts {
    CWnd* pane;
    ExtraRecord record;
    BOOL showPatient;
    int& selectExtra1;
    int& setOffered;
    int& pageStyle;   // extra-lead numbering; 0 none
    CFrameWnd*& patientFrame;
    CFrameWnd*& commentFrame;
    CViewRhythmWave*& view;
    CDlgCtrl*& displayStrip;
    CDlgCtrl*& selectionStrip;
    CViewScroll1LeadWave*& strip;
};

void CreateCommentPage(const CommentPageParts& parts, const CommentTwin& twin);
// Texts and marks of the Extra1/Extra2 buttons; the chosen one takes the focus.
void UpdateSelButton(const CommentPageParts& parts);
// A page style of the call's kind (MFER numbers less 51): TRUE when the
// page was taken, its flags and wave style set; the pane then updates and
// lays out. Nothing without the call's document, its item, an unknown page,
// or a layout code that is neither of the row's.
BOOL ApplyCommentPage(const CommentPageParts& parts, const CommentTwin& twin, BOOL mferCall, int extraStyle);
// The patient strip placed; R (the rectangle the page hangs from) and the
// layout of the stored page, kNoLayout without a document.
CommentLayout PlaceCommentPatient(const CommentPageParts& parts, const CommentTwin& twin, CRect& r);
void SizeComment(const CommentPageParts& parts, const CommentTwin& twin, const CRect& r, int pageWidth,
                 int pageHeight);
void SizeWaveHalf(const CommentPageParts& parts, const CommentTwin& twin, const CRect& r, int pageWidth,
                  int pageHeight);
void SizeCommentHalf(const CommentPageParts& parts, const CRect& r, int pageWidth, int pageHeight);
void UpdateCommentPage(const CommentPageParts& parts, const CommentTwin& twin);
// The caption line; 1 when written.
LRESULT CommentCaptions(const CommentPageParts& parts);
// A click on Extra1 or Extra2 stores the choice in the item and redraws the
// waves with that set; FALSE for any other command.
BOOL SelectLeadSet(const CommentPageParts& parts, UINT id);
// The comment panes' own focus rule: the patient form hands on to the
// comment form and back; the host's jump is refused.
LRESULT JumpBetweenCommentForms(const CommentPageParts& parts, WPARAM wParam);

}  // namespace extra
}  // namespace panes
