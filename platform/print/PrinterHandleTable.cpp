#include "platform/print/PrinterHandleTable.h"

namespace platform {
namespace print {

namespace {

// Printer handles live in a range of their own, so one passed where a GDI
// or registry handle is expected (or the other way round) is not found.
const uintptr_t kHandleBase = 0x5F000000u;
const uintptr_t kHandleStep = 4;

}  // namespace

PrinterHandleTable& PrinterHandleTable::Instance()
{
    static PrinterHandleTable table;
    return table;
}

HANDLE PrinterHandleTable::Insert(std::shared_ptr<OpenedPrinter> printer)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const uintptr_t value = kHandleBase + m_next++ * kHandleStep;
    m_open[value] = std::move(printer);
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<OpenedPrinter> PrinterHandleTable::Find(HANDLE handle) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = m_open.find(reinterpret_cast<uintptr_t>(handle));
    return found == m_open.end() ? nullptr : found->second;
}

std::shared_ptr<OpenedPrinter> PrinterHandleTable::Remove(HANDLE handle)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = m_open.find(reinterpret_cast<uintptr_t>(handle));
    if (found == m_open.end()) return nullptr;
    std::shared_ptr<OpenedPrinter> printer = std::move(found->second);
    m_open.erase(found);
    return printer;
}

}  // namespace print
}  // namespace platform
