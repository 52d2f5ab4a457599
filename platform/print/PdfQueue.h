// The PDF printer's side of a drawn job: where its port says the file goes,
// and handing the finished PDF over under its settings (PrintSetup.h).
#pragma once

#include <string>

#include "platform/print/PrinterConfig.h"

namespace platform {
namespace print {

extern const wchar_t kPrinterDriverDataKey[];   // subkey of the printer's key

// The folder the port names (native path, without a trailing '/'); empty
// when the port holds no separator.
std::string PdfPortFolder(const PrinterConfig& printer);
// "<document>.pdf" as a file name (UTF-8).
std::string PdfFileName(const std::wstring& document);

// The name of a drawn job's PDF in the port folder while the printer works
// on it (the process id, then the job's): ".~<pid>-<job>.distilling.pdf".
std::string PdfWorkingName(DWORD jobId);
// Removes what drawn jobs of processes no longer running left in a port
// folder: their working PDFs and a surface's partial files beside them.
void SweepDeadPdfJobs(const std::string& folder);

// Places the finished PDF `produced` (a file the print surface wrote) as the
// printer's output for `document`, asking and replacing as the printer's
// settings say. True when the file was placed or deliberately not written
// (prompt cancelled, replacement declined: `produced` is then removed);
// false, with the Win32 error, when it could not be moved.
bool DeliverPdf(const PrinterConfig& printer, const std::string& produced, const std::wstring& document,
                DWORD& error);

}  // namespace print
}  // namespace platform
