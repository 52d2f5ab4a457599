// The print service's queues (CUPS) behind the spooler: the destinations it
// offers as printers, and a job handed to one of them.
//
// A printer is a CUPS queue when its port is "cups:<destination>" (a
// registry printer naming one, see Spooler.h), or when it is a CUPS
// destination no registry printer is named after: every destination the
// scheduler has is then a printer of that name and port. The scheduler is the
// one libcups finds (CUPS_SERVER, client.conf, else the local one); when it
// cannot be reached or does not answer there are no such printers, and a
// registry printer naming one still opens and spools, its jobs failing when
// they are handed over.
//
// A job's bytes go to the spool folder as for every printer; when its
// document ends, the finished file goes to CUPS in one request that makes
// the job with its one document (raw jobs as application/vnd.cups-raw, drawn
// ones as their PDF), and leaves the folder once CUPS has taken it. CUPS
// holds nothing of a job before then: a document dropped (AbortPrinter, a
// cancelled report), a program killed while it prints, or a scheduler gone
// in the middle of the handover leaves no job behind there. A job CUPS did
// not take stays in the folder, with a message box naming the printer and
// the cause; it is not sent again by itself (a report printed again after
// the failure comes out once). A job sent whole that CUPS never answered
// for stays there too, but is not called failed: CUPS may still print it. A stopped (paused) destination takes jobs and
// holds them until it is started again, as it does for the scheduler's own
// clients: the handover says so.
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
// cannot be reached or does not answer.
std::vector<PrinterConfig> ListCupsPrinters();
// The destination `name` (case does not matter) as a printer.
bool FindCupsPrinter(const std::wstring& name, PrinterConfig& printer);
// The scheduler's default destination; empty when it has none, cannot be
// reached or does not answer.
std::wstring CupsDefaultPrinterName();

// A CUPS job's title: the document's name, else "morvelance-<spool job id>".
std::wstring CupsJobTitle(const std::wstring& document, DWORD spoolJob);

// Why no printer of this name can be opened, as a phrase that follows its
// name in a message: the print service cannot be reached, did not answer,
// or answered that it has no such printer (and the registry has none
// either). Empty when the printer is there.
std::wstring MissingPrinterCause(const std::wstring& name);

// While one lives, the print service is left alone: it lists no
// destinations, finds none by name and names no default printer, without
// being asked. For work that prints to a queue of the registry only (a PDF
// job), which a scheduler that does not answer must not hold up.
class PrintServiceAside {
public:
    PrintServiceAside();
    ~PrintServiceAside();
    PrintServiceAside(const PrintServiceAside&) = delete;
    PrintServiceAside& operator=(const PrintServiceAside&) = delete;
};

// The print service is waited for a bounded time, never for ever: each
// lookup, and each handover with all its requests, waits for an answer 20
// seconds at most in all (the whole time a request waits for its answer,
// however the service spreads it, and the time a document being sent goes
// unread), and is then failed as unanswered ("... が応答しませんでした"). While one
// PrintServiceWait lives (they nest), every request shares one such wait,
// and once the service has left one unanswered the rest fail at once: a
// print holds one from its first lookup to its handover, so that a service
// that stops answering holds the print up once, not once a request.
class PrintServiceWait {
public:
    PrintServiceWait();
    ~PrintServiceWait();
    PrintServiceWait(const PrintServiceWait&) = delete;
    PrintServiceWait& operator=(const PrintServiceWait&) = delete;
};

// One job of a CUPS queue, from its document's start to its handover. It
// exists in CUPS only once handed over.
class CupsJob {
public:
    // The job's title and the device mode's copies, paper and orientation.
    CupsJob(const PrinterConfig& printer, const std::wstring& title, const DEVMODEW& mode);
    ~CupsJob();
    CupsJob(const CupsJob&) = delete;
    CupsJob& operator=(const CupsJob&) = delete;

    // Makes the job in CUPS with the file as its document of MIME type
    // `format`, in one request. False with the cause (a sentence naming it)
    // and the Win32 error; CUPS then holds nothing of it, unless the job
    // went out whole and no answer came (Unconfirmed). A service that does
    // not answer fails it with ERROR_NOT_READY, as one not running.
    bool Send(const std::string& path, const char* format, std::wstring& cause, DWORD& error);

    // After a failed Send: the whole request and its document went out, and
    // the service left them without an answer. It may have made the job,
    // and may print it once it goes on: sending it again may print it twice.
    bool Unconfirmed() const { return m_unconfirmed; }

    int Id() const { return m_id; }
    // After Send: the destination was stopped, and holds the job until it
    // is started again; why, as a sentence.
    bool Paused() const { return !m_paused.empty(); }
    const std::wstring& PausedCause() const { return m_paused; }

private:
    struct Options;
    bool CheckDestination(void* connection, std::wstring& cause, DWORD& error);

    std::string m_destination;
    std::string m_title;
    std::unique_ptr<Options> m_options;
    int m_id = 0;          // the CUPS job id; 0 until taken
    std::wstring m_paused;
    bool m_unconfirmed = false;
};

// What became of a job handed to a CUPS queue, for a host to report.
struct CupsHandover {
    std::wstring printer;
    std::string destination;
    int cupsJob = 0;           // the job id CUPS gave; 0 when it took nothing
    bool taken = false;
    bool paused = false;       // taken by a stopped destination, which holds it until started
    bool unconfirmed = false;  // sent whole, but CUPS never said it took it: it may still print
    std::wstring cause;        // why not, when not taken; why it waits, when paused
    std::string keptData;      // the job's data file left in the spool folder, when not taken
};

// Hands a committed spool job to its queue: on success the job's files
// leave the spool folder; otherwise they stay, the message box says why,
// and the result is false with the Win32 error. A job sent whole that the
// service left without an answer is not called failed (it may still
// print, and printed again would come out twice): it stays in the folder,
// a warning box says it was not confirmed and names the kept file, to be
// sent again only if it does not print, and the result is true. Recorded
// for CupsHandovers.
bool HandOverToCups(const PrinterConfig& printer, CupsJob& cups, SpoolJob& job, const char* format, DWORD& error);

// The handovers this process made, oldest first.
std::vector<CupsHandover> CupsHandovers();

}  // namespace print
}  // namespace platform
