// The host's extra-lead reports: the wave pages and the comment pages of an
// extra-lead record or an MFER record of the extra kind, printed from the
// hidden pane's views at the page style the record's layout opens with.
#pragma once

#include <string>

#include "host/HostReportWave.h"

namespace host {

// extra-wave and extra-comment.
bool IsExtraReport(const std::string& name);

class CHostExtraReport : public CHostWaveReportOf<CECGPrintReport> {
public:
    CHostExtraReport(const ReportSetup& setup, const CString& title, bool comment)
        : CHostWaveReportOf(setup, title), m_bComment(comment)
    {
    }

    BOOL Print(const CString& xmlPath) { return ECGDefaultPrint(xmlPath, 0, 0); }

protected:
    short PrintReport() override;

private:
    bool m_bComment;   // the comment pages: interpretation beside half-width waves
};

}  // namespace host
