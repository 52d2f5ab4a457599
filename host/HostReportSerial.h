// The host's serial comparison reports: the comparison pane made hidden on
// every record of the set, as the host holds it while a report reads it, and
// each page printed from it by the library's layout blocks.
#pragma once

#include <string>

#include "host/HostReportWave.h"

namespace host {

struct SerialRecordSet;

// The serial reports: "serial-ave-mix" (both average views side by side),
// "serial-ave-ex" (the limb and the chest page across the page), "serial-rhy"
// (the rhythm comparison, limb and chest pages).
bool IsSerialReport(const std::string& name);
const wchar_t* SerialReportTitle(const std::string& name);

class CHostSerialReport : public CHostWaveReportOf<CECGPrintReport> {
public:
    CHostSerialReport(const ReportSetup& setup, SerialRecordSet& records, const std::string& name);

    BOOL Print(const CString& xmlPath) { return ECGDefaultPrint(xmlPath, 0, 0); }

protected:
    short PrintReport() override;

private:
    SerialRecordSet& m_records;
    std::string m_name;
};

class CHostSerialAnnoReport : public CHostWaveReportOf<CECGPrintAnno> {
public:
    CHostSerialAnnoReport(const ReportSetup& setup, SerialRecordSet& records, const std::string& name);

    BOOL Print(const CString& xmlPath) { return ECGAnnoDefaultPrint(xmlPath); }

protected:
    short PrintAnnotation() override;

private:
    SerialRecordSet& m_records;
    std::string m_name;
};

}  // namespace host
