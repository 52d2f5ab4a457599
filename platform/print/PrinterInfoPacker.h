// Lays printer information out as the spooler returns it: the entries'
// structures first, then the device modes and strings they point at, all in
// the caller's one buffer.
#pragma once

#include <string>
#include <vector>

#include "platform/print/PrinterConfig.h"

namespace platform {
namespace print {

class PrinterInfoPacker {
public:
    // Levels 1, 2 and 4.
    static bool IsLevelSupported(DWORD level);

    PrinterInfoPacker(DWORD level, const std::vector<PrinterConfig>& printers, const std::wstring& defaultName);

    // The bytes the entries need.
    DWORD Size() const;
    // Writes the entries into `buffer`, which holds at least Size() bytes.
    void Write(BYTE* buffer) const;

private:
    // Measures (buffer null) or writes; returns the bytes used.
    size_t Pack(BYTE* buffer) const;
    size_t StructSize() const;

    DWORD m_level;
    const std::vector<PrinterConfig>& m_printers;
    std::wstring m_defaultName;
};

}  // namespace print
}  // namespace platform
