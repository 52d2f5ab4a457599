// The print layer's state of each printer DC that CreateDCW made: which
// printer, the job's device mode, the abort procedure, and the document in
// progress. The drawing state lives in the GDI layer (a print surface); a DC
// deleted there is dropped here the next time the print layer looks at the
// table, which also removes the spool reservation of a document it left open.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/gdi/Gdi.h"
#include "platform/print/CupsQueue.h"
#include "platform/print/DevMode.h"
#include "platform/print/PrinterConfig.h"
#include "platform/print/SpoolJob.h"

namespace platform {
namespace print {

enum class DocumentTarget {
    Spool,        // a job of the spool folder
    PdfPrinter,   // the PDF printer's output
    File,         // DOCINFO's output file
};

struct PrinterDc {
    PrinterConfig printer;
    DEVMODEW devMode;
    std::mutex mutex;               // guards everything below
    ABORTPROC abortProc = nullptr;
    bool inDocument = false;
    bool inPage = false;
    DocumentTarget target = DocumentTarget::Spool;
    DWORD jobId = 0;
    std::wstring document;
    std::string output;             // where the print surface writes the document (native path)
    std::unique_ptr<SpoolJob> spoolJob;   // DocumentTarget::Spool only
    std::unique_ptr<CupsJob> cupsJob;     // a CUPS queue's spool job only
};

class PrinterDcTable {
public:
    static PrinterDcTable& Instance();

    void Insert(HDC hdc, std::shared_ptr<PrinterDc> dc);
    // Null (ERROR_INVALID_HANDLE) for a DC this layer did not make or the GDI
    // layer has deleted since.
    std::shared_ptr<PrinterDc> Find(HDC hdc);
    // Drops the entries of DCs the GDI layer no longer has.
    void Purge();

private:
    PrinterDcTable() = default;

    std::mutex m_mutex;
    std::map<uintptr_t, std::shared_ptr<PrinterDc>> m_dcs;
};

}  // namespace print
}  // namespace platform
