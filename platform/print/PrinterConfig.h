// A configured printer as the registry describes it (the layout is in
// Spooler.h), read afresh on every open so that a test or host that writes
// the registry sees its printers at once.
#pragma once

#include <string>
#include <vector>

#include "platform/base/WinTypes.h"

namespace platform {
namespace print {

// Where the printers live under HKEY_LOCAL_MACHINE.
extern const wchar_t kPrintersKey[];

enum class QueueKind {
    Spool,         // jobs land in the spool folder
    Pdf,           // the PDF printer: drawn pages become a PDF in its port folder
    Unsupported,   // a kind this platform cannot drive (a CUPS queue, a typo)
};

struct PrinterConfig {
    std::wstring name;           // the key's own spelling
    std::wstring port;
    std::wstring driver;
    std::wstring datatype;       // "RAW" when the registry names none
    std::wstring comment;
    std::wstring location;
    std::wstring spoolDirectory; // as written in the registry; empty for the default spool
    std::string cupsDestination; // UTF-8; non-empty: a CUPS queue, jobs handed to this destination (CupsQueue.h)
    QueueKind kind = QueueKind::Spool;
    int paperSize = 9;           // DMPAPER_* of the default device mode (A4)
    int orientation = 1;         // DMORIENT_* of the default device mode
    int copies = 1;
};

// The printer whose key name equals `name` ignoring case, else the CUPS
// destination of that name; false when neither is there.
bool FindPrinter(const wchar_t* name, PrinterConfig& printer);
// Every configured printer, in the registry's (alphabetical) order, then the
// CUPS destinations no registry printer is named after, in CUPS's order.
std::vector<PrinterConfig> ListPrinters();

// The spool folder of a printer (native path, not created): its
// SpoolDirectory, else $MORVELANCE_SPOOL, else <temp>/morvelance-spool.
std::string SpoolFolderOf(const PrinterConfig& printer);
std::string DefaultSpoolFolder();

// The win.ini default printer entry, split at its commas ("" when absent).
struct DefaultPrinterEntry {
    std::wstring name;
    std::wstring driver;
    std::wstring port;
};
DefaultPrinterEntry ReadDefaultPrinterEntry();

// Case-insensitive comparison, as the spooler compares printer names and datatypes.
bool EqualNoCase(const std::wstring& a, const std::wstring& b);

// Registry value helpers shared by the print layer.
std::wstring ReadRegString(HKEY key, const wchar_t* valueName, const std::wstring& fallback);
bool ReadRegDword(HKEY key, const wchar_t* valueName, DWORD& value);

}  // namespace print
}  // namespace platform
