#include "host/HostReportPane.h"

#include "core/TavrionDoc.h"
#include "host/RecordKinds.h"
#include "host/ViewCommand.h"
#include "platform/ui/framework/View.h"
#include "analysisviews/ViewAverageWave.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace host {

namespace {
// The strip's style in the pane that shows the page. The US-style pane's
// strip is one grid row high: an annotated page draws no trace in it.
int StripStyle(CTavrionDoc& doc, StripKind strip)
{
    if (strip == StripKind::UsStyle) return 15;
    if (strip == StripKind::Interpretation && doc.GetDocType() == DOC_TYPE_RHYTHM) return 18;
    return 13;
}

template <class View> View* MakeView(CFrameWnd& frame, CTavrionDoc& doc, UINT id)
{
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(View);
    context.m_pCurrentDoc = &doc;
    View* view = DYNAMIC_DOWNCAST(View, frame.CreateView(&context, id));
    if (view) view->SendMessage(WM_INITIALUPDATE, 0, 0);
    return view;
}
}  // namespace

CHostReportPane::CHostReportPane(CTavrionDoc& doc, int style, StripKind strip)
{
    // Reports print from a pane the user does not see.
    const CRect size(0, 0, 1020, 664);
    if (!m_window.CreateEx(0, nullptr, L"morvelance-report", WS_POPUP, size, nullptr, 0)) return;
    m_frame = new CFrameWnd;
    if (!m_frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, size, &m_window)) {
        m_frame = nullptr;
        return;
    }
    m_view = MakeView<CViewRhythmWave>(*m_frame, doc, AFX_IDW_PANE_FIRST);
    if (!m_view) return;
    m_frame->RecalcLayout();
    m_view->SetDocType(doc.GetDocType());
    m_view->SetWaveStyle(style > 0 ? style : FirstRhythmStyle(doc), TRUE);
    m_view->OnUpdate(nullptr, 0, nullptr);
    m_view->SetStartTime(0);
    LoadPageAnnotations(doc, *m_view);
    MakeStripAndAverage(doc, strip);
}

void CHostReportPane::MakeStripAndAverage(CTavrionDoc& doc, StripKind strip)
{
    m_strip = MakeView<CViewScroll1LeadWave>(*m_frame, doc, AFX_IDW_PANE_FIRST + 1);
    if (m_strip) {
        m_strip->SetDocType(doc.GetDocType());
        // The lead the page's strip shows: the record's choice.
        m_strip->SetRhythm1LeadID(RecordStripLead(doc));
        m_strip->SetWaveStyle(StripStyle(doc, strip), TRUE);
        m_strip->OnUpdate(nullptr, 0, nullptr);
    }
    // A record without average beats (a rhythm record's interpretation page)
    // gets no average view: its page leaves the column out.
    if (!Takes("CViewAverageWave", doc)) return;
    m_average = MakeView<CViewAverageWave>(*m_frame, doc, AFX_IDW_PANE_FIRST + 2);
    if (!m_average) return;
    // The view finds the beats of the record of its kind: a rhythm record's
    // are not a resting record's.
    m_average->SetDocType(doc.GetDocType());
    m_average->OnUpdate(nullptr, 0, nullptr);
}

CHostReportPane::~CHostReportPane()
{
    if (m_frame) m_frame->DestroyWindow();
    if (m_window.GetSafeHwnd()) m_window.DestroyWindow();
}

}  // namespace host
