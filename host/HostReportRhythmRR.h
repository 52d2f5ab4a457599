// The host's rhythm comment and RR reports: each makes the page pane of
// its report hidden on the document, as a host prints from the pane it
// shows, gives it the page style, counts the pages and brackets them.
#pragma once

#include <string>

#include "host/HostReportWave.h"

class CWndRRComment;
class CWndRRResult;

namespace host {

// rhythm-comment, rr-result and rr-list.
bool IsRhythmRRReport(const std::string& name);
// Why the record cannot have the report (a message for the user), or null.
const char* RhythmRRReportRefusal(const std::string& name, CTavrionDoc& doc);
// Prints the report; TRUE when the job ended well.
BOOL PrintRhythmRRReport(const std::string& name, const ReportSetup& setup, const CString& xmlPath);

// rhythm-comment: the comment form's fields beside the waves, one page per
// stretch of the record; the patient block on the first.
class CHostRhythmCommentReport : public CHostWaveReportOf<CECGPrintReport> {
public:
    using CHostWaveReportOf::CHostWaveReportOf;
    BOOL Print(const CString& xmlPath) { return ECGDefaultPrint(xmlPath, 0, 0); }

protected:
    short PrintReport() override;
};

// rr-result: one page of the RR statistics.
class CHostRRResultReport : public CHostWaveReportOf<CECGPrintReport> {
public:
    using CHostWaveReportOf::CHostWaveReportOf;
    BOOL Print(const CString& xmlPath) { return ECGDefaultPrint(xmlPath, 0, 0); }

protected:
    short PrintReport() override;
};

// rr-list: the interval list, 400 intervals a page.
class CHostRRListReport : public CHostWaveReportOf<CECGPrintReport> {
public:
    using CHostWaveReportOf::CHostWaveReportOf;
    BOOL Print(const CString& xmlPath) { return ECGDefaultPrint(xmlPath, 0, 0); }

protected:
    short PrintReport() override;
};

}  // namespace host
