#include "host/HostReportExtra.h"

#include "core/TavrionDoc.h"
#include "dialogs/DlgPrintStatus.h"
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "host/HostReportPane.h"
#include "panes/WndExtraKit.h"
#include "printdevice/ECGDC.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace host {

namespace {

// The record the report prints, as the extra-lead panes read it.
panes::extra::ExtraRecord RecordOf(CTavrionDoc* doc)
{
    panes::extra::ExtraRecord record;
    record.extra = dynamic_cast<CExtraViewDoc*>(doc);
    if (!record.extra) record.mfer = dynamic_cast<CMFERViewDoc*>(doc);
    return record;
}

// Whether the record's six leads form two sets of three; three leads only: 3.
int SetsOf(const panes::extra::ExtraRecord& record)
{
    if (record.extra) {
        const _EXTRADATAITEM* item = record.extra->GetCurrentDataItem();
        if (!item) return 1;
        if (item->stExtraInfo.nLeadCount == 3) return 3;
        const int code = item->stExtraInfo.nPageStyle;
        return code == 7 || code == 13 ? 2 : 1;
    }
    const _MFERDATAITEM* item = record.mfer ? record.mfer->GetCurrentDataItem() : nullptr;
    if (!item) return 1;
    if (item->nLeadGroups == 3) return 3;
    return item->nItemPageStyle == 58 || item->nItemPageStyle == 64 ? 2 : 1;
}

// The wave style the record's pages open with: three leads, six in one
// set, or two sets side by side (the comment pages at half width).
int OpeningStyle(const panes::extra::ExtraRecord& record, bool comment)
{
    switch (SetsOf(record)) {
    case 3: return comment ? 23 : 22;
    case 2: return comment ? 27 : 26;
    default: return comment ? 25 : 24;
    }
}

}  // namespace

bool IsExtraReport(const std::string& name) { return name == "extra-wave" || name == "extra-comment"; }

short CHostExtraReport::PrintReport()
{
    const panes::extra::ExtraRecord record = RecordOf(m_pDoc);
    if (!record.HasItem()) return 1;
    const int style = m_style > 0 ? m_style : OpeningStyle(record, m_bComment);
    CHostReportPane pane(*m_pDoc, style);
    CViewRhythmWave* view = pane.View();
    if (!view) return 1;
    if (m_bComment) {
        view->SetHalfStyle(TRUE);
        view->SetWaveStyle(style, TRUE);
    }
    // The set shown: the user's choice on two-set pages, else the record's own.
    const BOOL twoSets = style == 26 || style == 27 || style == 28;
    view->SetShowExtra1Lead(twoSets ? record.SetChoice() != 0 : record.ExtraSetCode() == 2);
    view->OnUpdate(nullptr, 0, nullptr);
    if (CViewScroll1LeadWave* strip = pane.Strip()) {
        strip->SetRhythm1LeadID(record.Rhythm1Lead());
        strip->OnUpdate(nullptr, 0, nullptr);
    }
    m_nPageCount = CountViewPages(*view, m_bComment ? kCommentGridMm : kWaveGridMm);
    const BOOL numbered = m_nPageCount > 1;
    const int withStrip = m_bStrip ? 1 : 0;
    for (int part = 0; part < m_nPageCount; ++part) {
        CString status;
        status.Format(L"%d/%d ページ", part + 1, m_nPageCount);
        if (m_pDlgPrintStatus) m_pDlgPrintStatus->SetStatusText(status);
        if (m_pECGDC->StartPage() <= 0) return 1;
        const int drawn =
            m_bComment ? PrintExtraComment(view, pane.Strip(), part + 1, part, numbered, withStrip)
                       : PrintExtraWave(view, pane.Strip(), part + 1, part, numbered, m_title, withStrip);
        if (m_pECGDC->EndPage() <= 0 || !drawn) return 1;
    }
    return 0;
}

}  // namespace host
