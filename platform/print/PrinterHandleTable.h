// The printer handles OpenPrinterW gives out. Handles are never reused in a
// process, so a closed handle stays invalid (a second ClosePrinter fails
// instead of closing someone else's printer). Lookups hand out shared
// ownership: a call in progress keeps its printer alive even when a message
// pumped meanwhile closes the handle.
#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "platform/print/CupsQueue.h"
#include "platform/print/DevMode.h"
#include "platform/print/PrinterConfig.h"
#include "platform/print/SpoolJob.h"

namespace platform {
namespace print {

struct OpenedPrinter {
    PrinterConfig printer;
    DEVMODEW devMode;              // the handle's device mode (the printer's, or the opener's)
    std::wstring datatype;         // the handle's datatype for documents that name none
    std::mutex mutex;              // guards the job below
    std::unique_ptr<SpoolJob> job; // the open document; null between documents
    std::unique_ptr<CupsJob> cupsJob; // its job in CUPS, for a CUPS queue's document
    bool inPage = false;
};

class PrinterHandleTable {
public:
    static PrinterHandleTable& Instance();

    HANDLE Insert(std::shared_ptr<OpenedPrinter> printer);
    // Null for a handle that is not (or no longer) open.
    std::shared_ptr<OpenedPrinter> Find(HANDLE handle) const;
    std::shared_ptr<OpenedPrinter> Remove(HANDLE handle);

private:
    PrinterHandleTable() = default;

    mutable std::mutex m_mutex;
    std::map<uintptr_t, std::shared_ptr<OpenedPrinter>> m_open;
    uintptr_t m_next = 1;          // sequence number of the next handle
};

}  // namespace print
}  // namespace platform
