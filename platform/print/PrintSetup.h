// What hosts and tests use around the spooler: adding printers to the
// registry, the PDF printer with its settings, and reading the spool back.
//
// The PDF printer. A printer of kind "pdf" (the system's is named "Acrobat
// Distiller") takes drawn pages only: a job drawn on its printer DC becomes a
// vector PDF named after the job's document ("<document>.pdf"; characters a
// file name cannot hold become '_', and a name already ending in ".pdf" gets
// no second one) in the folder its port names: the port's text up to its last
// separator, "C:\\PDF\\*.pdf" or "/srv/pdf/*.pdf" alike. A port without a
// folder, or a folder that does not exist, fails StartDoc with a message box
// (caption the printer's name) naming the printer and the folder. While a job
// is drawn its PDF is ".~<pid>-<job>.distilling.pdf" in that folder; the next
// job removes those of processes no longer running. The printer's
// settings are the values of its key's PrinterDriverData subkey, one-byte
// REG_BINARY (a DWORD is read too), absent meaning 0:
//   PromptForFileName  non-zero: the file name is asked for. The prompt
//                      installed with SetPdfFileNamePrompt gets the path the
//                      printer would choose and may change it or cancel (then
//                      no PDF is written, and the job still ends well, as when a
//                      person cancels the printer's save dialog). Without a
//                      prompt the proposed path is taken, as if Save was pressed.
//   AskToReplacePDF    non-zero: an existing file is replaced only when the
//                      message box (MessageBoxW, MB_YESNO, caption the printer's
//                      name) answers IDYES; otherwise the new PDF is dropped.
//                      Zero: an existing file is replaced without a word.
//   ViewPrintOutput    non-zero: the viewer installed with SetPdfViewer is given
//                      the finished file (there is no viewer otherwise).
//   DeleteLogFiles     kept for the system to write; this printer writes no logs.
// The printer's job options are the registry value
//   HKEY_LOCAL_MACHINE\SOFTWARE\Adobe\Acrobat Distiller\5.0  "JobOptions"  ("eBook", "Vok", ...)
// naming <settings folder>\<JobOptions>.joboptions, where the settings folder
// is the default value of HKEY_LOCAL_MACHINE\SOFTWARE\Adobe\Adobe Acrobat\5.0\InstallPath
// up to and including its last separator, followed by "Distillr\Settings".
// Pages come out the same whatever the options say: a PDF surface has no
// image resolution or compression settings to apply them to.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/WinTypes.h"

namespace platform {
namespace print {

// ---- printers -------------------------------------------------------------------------

struct PrinterSetup {
    std::wstring name;
    std::wstring port = L"LPT1:";
    std::wstring driver = L"Generic / Text Only";
    std::wstring datatype = L"RAW";
    std::wstring kind = L"spool";         // "spool" or "pdf"
    std::wstring spoolDirectory;          // empty: the default spool folder
    int paperSize = 9;                    // DMPAPER_A4
    int orientation = 1;                  // DMORIENT_PORTRAIT
    int copies = 1;
};

// Writes (or rewrites) the printer's registry key; false when the registry
// cannot be written or the name is empty or holds a '\'.
bool ConfigurePrinter(const PrinterSetup& setup);
// Deletes the printer's key with everything below it.
bool RemovePrinter(const std::wstring& name);

// ---- the PDF printer ------------------------------------------------------------------

extern const wchar_t kPdfPrinterName[];     // "Acrobat Distiller"

struct PdfPrinterSetup {
    std::wstring name = kPdfPrinterName;
    std::wstring outputFolder;            // the port becomes <outputFolder>/*.pdf
    // A folder standing for the Acrobat installation; empty: no InstallPath
    // key is written. Its Distillr/Settings folder is created with
    // eBook.joboptions, and Vok.joboptions when withVokJobOptions.
    std::wstring installFolder;
    bool withVokJobOptions = false;
};

// The printer key (kind "pdf", driver "AdobePS Acrobat Distiller"), its
// PrinterDriverData as the printer is installed (DeleteLogFiles 0,
// PromptForFileName 1, AskToReplacePDF 1, ViewPrintOutput 1), JobOptions
// "eBook", and the installation folder as described above.
bool ConfigurePdfPrinter(const PdfPrinterSetup& setup);

// Asked when PromptForFileName is set: gets the proposed path (a native
// path, '/' separators) and returns false to cancel, or true with the path
// to write (either separator).
typedef std::function<bool(std::wstring& path)> PdfFileNamePrompt;
// Installs a prompt (an empty one restores the default) and returns the old one.
PdfFileNamePrompt SetPdfFileNamePrompt(PdfFileNamePrompt prompt);

typedef std::function<void(const std::wstring& path)> PdfViewer;
PdfViewer SetPdfViewer(PdfViewer viewer);

// The name documents started without one take (in the spool folder's file
// names and as the print service's job title): a program printing through
// code that names none (the reports) says what it prints, e.g. the record
// and the report. Empty (the default): such documents stay unnamed.
void SetUnnamedDocumentName(const std::wstring& name);
std::wstring UnnamedDocumentName();

// ---- the spool --------------------------------------------------------------------------

// The spool folder of a configured printer; the default spool folder for an
// unknown or empty name.
std::string SpoolFolder(const std::wstring& printer = std::wstring());

// One finished job as its sidecar describes it.
struct SpooledJob {
    DWORD id = 0;
    std::wstring printer;
    std::wstring document;
    std::wstring datatype;        // "RAW", "TEXT", or "PDF" for drawn jobs
    int pages = 0;                // StartPagePrinter calls, or pages drawn
    std::string dataFile;         // the file name of the bytes, in the same folder
    std::string dataPath;         // its full path
    std::vector<std::pair<std::string, std::wstring>> details;   // the other lines (Copies, PaperSize, ...)

    // The value of a detail line; empty when absent.
    std::wstring Detail(const std::string& key) const;
};

// The finished jobs of a spool folder in id order (jobs being written, and
// files that are not sidecars, are left out).
std::vector<SpooledJob> ListSpooledJobs(const std::string& folder);

}  // namespace print
}  // namespace platform
