// The print service's queues (CUPS) behind the spooler: the destinations it
// offers as printers, and a job handed to one of them.
//
// A printer is a CUPS queue when its port is "cups:<destination>" (a
// registry printer naming one, see Spooler.h), or when it is a CUPS
// destination no registry printer is named after: every destination the
// scheduler has is then a printer of that name and port. The scheduler is the
// one libcups finds (CUPS_SERVER, client.conf, else the local one); when it
// cannot be reached there are no such printers, and a registry printer naming
// one still opens and spools, its jobs failing when they are handed over.
//
// A job's bytes go to the spool folder as for every printer; when its
// document ends, the finished file goes to CUPS as the job's one document
// (raw jobs as application/vnd.cups-raw, drawn ones as their PDF) and leaves
// the folder once CUPS has taken it. The CUPS job is made when the document
// starts, so that a document dropped (AbortPrinter, a cancelled report)
// cancels it there. A job CUPS did not take stays in the folder, with a
// message box naming the printer and the cause; it is not sent again by
// itself (a report printed again after the failure comes out once).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/print/PrinterConfig.h"
#include "platform/print/Spooler.h"

namespace platform {
namespace print {

class SpoolJob;

// The destination a port names ("cups:NAME"), UTF-8; empty for other ports.
std::string CupsDestinationOfPort(const std::wstring& port);

// The scheduler's destinations as printers, in its order; empty when it
// cannot be reached.
std::vector<PrinterConfig> ListCupsPrinters();
// The destination `name` (case does not matter) as a printer.
bool FindCupsPrinter(const std::wstring& name, PrinterConfig& printer);
// The scheduler's default destination; empty when it has none or cannot be reached.
std::wstring CupsDefaultPrinterName();

// A CUPS job's title: the document's name, else "morvelance-<spool job id>".
std::wstring CupsJobTitle(const std::wstring& document, DWORD spoolJob);

// One job of a CUPS queue, from its document's start to its handover.
class CupsJob {
public:
    // Makes the job in CUPS with the title and the device mode's copies,
    // paper and orientation; a scheduler that cannot take it now leaves the
    // making to Send.
    CupsJob(const PrinterConfig& printer, const std::wstring& title, const DEVMODEW& mode);
    // A job never handed over is cancelled.
    ~CupsJob();
    CupsJob(const CupsJob&) = delete;
    CupsJob& operator=(const CupsJob&) = delete;

    // Hands the file over as the job's document of MIME type `format`. False
    // with the cause (a sentence naming it) and the Win32 error; the CUPS job
    // is then cancelled, so nothing of it prints.
    bool Send(const std::string& path, const char* format, std::wstring& cause, DWORD& error);
    // Cancels the job in CUPS (nothing when it was never made or is sent).
    void Cancel();

    int Id() const { return m_id; }

private:
    struct Options;
    bool CheckDestination(void* http, std::wstring& cause, DWORD& error) const;
    bool Create(void* http, std::wstring& cause, DWORD& error);

    PrinterConfig m_printer;
    std::string m_destination;
    std::string m_title;
    std::unique_ptr<Options> m_options;
    int m_id = 0;          // the CUPS job id; 0 until made
    bool m_sent = false;
};

// What became of a job handed to a CUPS queue, for a host to report.
struct CupsHandover {
    std::wstring printer;
    std::string destination;
    int cupsJob = 0;           // the job id CUPS gave; 0 when it took nothing
    bool taken = false;
    std::wstring cause;        // why not, when not taken
    std::string keptData;      // the job's data file left in the spool folder, when not taken
};

// Hands a committed spool job to its queue: on success the job's files
// leave the spool folder; otherwise they stay, the message box says why,
// and the result is false with the Win32 error. Recorded for CupsHandovers.
bool HandOverToCups(const PrinterConfig& printer, CupsJob& cups, SpoolJob& job, const char* format, DWORD& error);

// The handovers this process made, oldest first.
std::vector<CupsHandover> CupsHandovers();

}  // namespace print
}  // namespace platform
