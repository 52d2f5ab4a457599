// The host's wave reports, derived from the library's report classes as a
// host application derives them: the pane's multi-lead view is made hidden
// on the document, given the style, and every page is bracketed here.
#pragma once

#include "platform/base/Strings.h"
#include "reports/ECGPrintAnno.h"
#include "reports/ECGPrintReport.h"

class CECGPrinter;
class CTavrionDoc;
class CViewRhythmWave;

namespace host {

class CHostReportPane;

// What every report of the host is told before its job.
struct ReportSetup {
    CTavrionDoc* doc = nullptr;
    int docType = 0;
    CECGPrinter* printer = nullptr;
    int style = 0;          // the multi-lead view's wave style; 0 the kind's first
    bool usStyle = false;   // the US-style pages: the interpretation block over the waves
    bool strip = false;     // the one-lead strip under the waves
    bool interpre = false;  // the interpretation page: average beats and strip
    // 1 when the record's additions print with its interpretation, as its
    // pages show them: the current item holds additions. 0 leaves them out.
    int visibleMask = 0;
};

// The pages a report prints of a multi-lead view at its style, from the
// record's start, on a printed grid `gridMm` squares across.
int CountViewPages(const CViewRhythmWave& view, int gridMm);
// The host's settings line of a page outside the resting kinds: gain, speed
// and filter of the document the view shows.
CString HostSettingsLine(CViewRhythmWave& view);

// What the host's two wave reports share over the library's report class
// `Base`: the job's document, kind and printer, the view's style, the page
// layout and title, and the settings line the rhythm and RR pages state.
template <class Base> class CHostWaveReportOf : public Base {
public:
    CHostWaveReportOf(const ReportSetup& setup, const CString& title)
        : m_style(setup.style), m_bUsStyle(setup.usStyle), m_bStrip(setup.strip), m_bInterpre(setup.interpre),
          m_title(title)
    {
        this->m_pDoc = setup.doc;
        this->m_DocType = setup.docType;
        this->m_pPrinter = setup.printer;
        this->m_nVisibleMask = setup.visibleMask;
    }

protected:
    // The rhythm and RR pages state their settings as the host words them.
    void UpdateDisplayInfo(CViewRhythmWave* pView) override
    {
        this->m_strDisplayInfo1 = pView ? HostSettingsLine(*pView) : CString();
        this->m_strDisplayInfo2.Empty();
    }

    int m_style;
    bool m_bUsStyle;
    bool m_bStrip;
    bool m_bInterpre;
    CString m_title;
};

// rest-wave, rest-ame and rhythm-wave: one page per stretch of the record (a resting
// record is one page), the patient block on the first.
class CHostWaveReport : public CHostWaveReportOf<CECGPrintReport> {
public:
    using CHostWaveReportOf::CHostWaveReportOf;

    BOOL Print(const CString& xmlPath) { return ECGDefaultPrint(xmlPath, 0, 0); }

protected:
    short PrintReport() override;

private:
    int PrintWavePart(CHostReportPane& pane, int nPart);
};

// The annotated twin: the page the view shows, with its annotations.
class CHostWaveAnnoReport : public CHostWaveReportOf<CECGPrintAnno> {
public:
    using CHostWaveReportOf::CHostWaveReportOf;

    BOOL Print(const CString& xmlPath) { return ECGAnnoDefaultPrint(xmlPath); }

protected:
    short PrintAnnotation() override;

private:
    int PrintPage(CHostReportPane& pane);
};

}  // namespace host
