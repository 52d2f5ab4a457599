#include "platform/print/PrinterDcTable.h"

#include <vector>

#include "platform/base/Kernel.h"
#include "platform/gdi/PrintSurface.h"

namespace platform {
namespace print {

PrinterDcTable& PrinterDcTable::Instance()
{
    static PrinterDcTable table;
    return table;
}

void PrinterDcTable::Insert(HDC hdc, std::shared_ptr<PrinterDc> dc)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_dcs[reinterpret_cast<uintptr_t>(hdc)] = std::move(dc);
}

std::shared_ptr<PrinterDc> PrinterDcTable::Find(HDC hdc)
{
    std::shared_ptr<PrinterDc> dc;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto found = m_dcs.find(reinterpret_cast<uintptr_t>(hdc));
        if (found != m_dcs.end()) dc = found->second;
    }
    // The GDI layer is asked without our lock held, so the two locks are never nested.
    if (dc && !gdi::IsPrintSurfaceDC(hdc)) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_dcs.erase(reinterpret_cast<uintptr_t>(hdc));
        dc.reset();
    }
    if (!dc) SetLastError(ERROR_INVALID_HANDLE);
    return dc;
}

void PrinterDcTable::Purge()
{
    std::vector<uintptr_t> handles;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const auto& entry : m_dcs) handles.push_back(entry.first);
    }
    std::vector<std::shared_ptr<PrinterDc>> dropped;   // released after the lock: their jobs clean up files
    for (uintptr_t handle : handles) {
        if (gdi::IsPrintSurfaceDC(reinterpret_cast<HDC>(handle))) continue;
        std::lock_guard<std::mutex> lock(m_mutex);
        auto found = m_dcs.find(handle);
        if (found == m_dcs.end()) continue;
        dropped.push_back(std::move(found->second));
        m_dcs.erase(found);
    }
}

}  // namespace print
}  // namespace platform
