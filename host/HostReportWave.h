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

// What every report of the host is told before its job.
struct ReportSetup {
    CTavrionDoc* doc = nullptr;
    int docType = 0;
    CECGPrinter* printer = nullptr;
    int style = 0;          // the multi-lead view's wave style; 0 the kind's first
    bool usStyle = false;   // the US-style pages: the interpretation block over the waves
};

// The pages of a multi-lead view at its style, from the record's start.
int CountViewPages(CViewRhythmWave& view);
// The host's settings line of a page outside the resting kinds: gain, speed
// and filter of the document the view shows.
CString HostSettingsLine(CViewRhythmWave& view);

// rest-wave, rest-ame and rhythm-wave: one page per stretch of the record (a resting
// record is one page), the patient block on the first.
class CHostWaveReport : public CECGPrintReport {
public:
    CHostWaveReport(const ReportSetup& setup, const CString& title);

    BOOL Print(const CString& xmlPath) { return ECGDefaultPrint(xmlPath, 0, 0); }

protected:
    short PrintReport() override;
    // The rhythm and RR pages state their settings as the host words them.
    void UpdateDisplayInfo(CViewRhythmWave* pView) override;

private:
    int m_style;
    bool m_bUsStyle;
    CString m_title;
};

// The annotated twin: the page the view shows, with its annotations.
class CHostWaveAnnoReport : public CECGPrintAnno {
public:
    CHostWaveAnnoReport(const ReportSetup& setup, const CString& title);

    BOOL Print(const CString& xmlPath) { return ECGAnnoDefaultPrint(xmlPath); }

protected:
    short PrintAnnotation() override;
    void UpdateDisplayInfo(CViewRhythmWave* pView) override;

private:
    int m_style;
    bool m_bUsStyle;
    CString m_title;
};

}  // namespace host
