#include "host/HostReportWave.h"

#include "core/TavrionDoc.h"
#include "dialogs/DlgPrintStatus.h"
#include "host/HostReportPane.h"
#include "printdevice/ECGDC.h"
#include "waveviews/ViewRhythmWave.h"

namespace host {

int CountViewPages(CViewRhythmWave& view)
{
    const int start = view.GetStartTime();
    view.SetStartTime(0);
    int pages = 1;
    for (;;) {
        const int moved = view.ChangePageSample(1);
        if (moved != 0 && moved != 2) break;
        ++pages;
        if (moved == 2) break;
    }
    view.SetStartTime(start);
    return pages;
}

CString HostSettingsLine(CViewRhythmWave& view)
{
    auto* doc = dynamic_cast<CTavrionDoc*>(view.GetDocument());
    CString line;
    if (doc)
        line.Format(L"%.2f mm/mV  %.1f mm/s  %d Hz  %s", doc->GetSense(6, 0), doc->GetSpeed(), doc->GetFilter(),
                    view.IsHalfStyle() ? L"(1/2)" : L"");
    return line;
}

short CHostWaveReport::PrintReport()
{
    CHostReportPane pane(*m_pDoc, m_style);
    CViewRhythmWave* view = pane.View();
    if (!view) return 1;
    m_nPageCount = CountViewPages(*view);
    for (int part = 0; part < m_nPageCount; ++part) {
        CString status;
        status.Format(L"%d/%d ページ", part + 1, m_nPageCount);
        if (m_pDlgPrintStatus) m_pDlgPrintStatus->SetStatusText(status);
        if (m_pECGDC->StartPage() <= 0) return 1;
        const BOOL numbered = m_nPageCount > 1;
        const int drawn = m_bUsStyle ? PrintRhythmWaveAme(view, nullptr, part + 1, part, numbered, 0, -1)
                                     : PrintRhythmWave(view, nullptr, part + 1, part, numbered, m_title, 0, -1);
        if (m_pECGDC->EndPage() <= 0 || !drawn) return 1;
    }
    return 0;
}

short CHostWaveAnnoReport::PrintAnnotation()
{
    CHostReportPane pane(*m_pDoc, m_style);
    CViewRhythmWave* view = pane.View();
    if (!view || m_pECGDC->StartPage() <= 0) return 1;
    const int drawn = m_bUsStyle ? PrintRhythmWaveAmeAnnotation(view, nullptr)
                                 : PrintRhythmWaveAnnotation(view, nullptr, m_title);
    return m_pECGDC->EndPage() > 0 && drawn ? 0 : 1;
}

}  // namespace host
