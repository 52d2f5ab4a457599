#include "platform/print/PrinterInfoPacker.h"

#include <cstddef>
#include <cstring>

#include "platform/print/DevMode.h"
#include "platform/print/Spooler.h"

namespace platform {
namespace print {

namespace {

size_t AlignUp(size_t offset, size_t alignment)
{
    return (offset + alignment - 1) / alignment * alignment;
}

// The variable part after the structures: device modes and strings, each
// placed at the next suitably aligned offset.
class Heap {
public:
    Heap(BYTE* buffer, size_t start) : m_buffer(buffer), m_offset(start) {}

    LPWSTR String(const std::wstring& text)
    {
        m_offset = AlignUp(m_offset, alignof(wchar_t));
        const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
        LPWSTR placed = nullptr;
        if (m_buffer) {
            placed = reinterpret_cast<LPWSTR>(m_buffer + m_offset);
            std::memcpy(placed, text.c_str(), bytes);
        }
        m_offset += bytes;
        return placed;
    }

    LPDEVMODEW DevMode(const DEVMODEW& mode)
    {
        m_offset = AlignUp(m_offset, alignof(DEVMODEW));
        LPDEVMODEW placed = nullptr;
        if (m_buffer) {
            placed = reinterpret_cast<LPDEVMODEW>(m_buffer + m_offset);
            StoreDevMode(mode, placed);
        }
        m_offset += kDevModeBytes;
        return placed;
    }

    size_t Used() const { return m_offset; }

private:
    BYTE* m_buffer;
    size_t m_offset;
};

template <class T> void Place(BYTE* buffer, size_t index, const T& entry)
{
    if (buffer) std::memcpy(buffer + index * sizeof(T), &entry, sizeof(T));
}

DWORD AttributesOf(const PrinterConfig& printer, const std::wstring& defaultName)
{
    DWORD attributes = PRINTER_ATTRIBUTE_LOCAL;
    if (EqualNoCase(printer.name, defaultName)) attributes |= PRINTER_ATTRIBUTE_DEFAULT;
    return attributes;
}

}  // namespace

bool PrinterInfoPacker::IsLevelSupported(DWORD level)
{
    return level == 1 || level == 2 || level == 4;
}

PrinterInfoPacker::PrinterInfoPacker(DWORD level, const std::vector<PrinterConfig>& printers,
                                     const std::wstring& defaultName)
    : m_level(level), m_printers(printers), m_defaultName(defaultName)
{
}

DWORD PrinterInfoPacker::Size() const
{
    return (DWORD)Pack(nullptr);
}

void PrinterInfoPacker::Write(BYTE* buffer) const
{
    Pack(buffer);
}

size_t PrinterInfoPacker::StructSize() const
{
    if (m_level == 1) return sizeof(PRINTER_INFO_1W);
    if (m_level == 2) return sizeof(PRINTER_INFO_2W);
    return sizeof(PRINTER_INFO_4W);
}

size_t PrinterInfoPacker::Pack(BYTE* buffer) const
{
    Heap heap(buffer, AlignUp(m_printers.size() * StructSize(), alignof(std::max_align_t)));
    for (size_t i = 0; i < m_printers.size(); ++i) {
        const PrinterConfig& printer = m_printers[i];
        if (m_level == 1) {
            PRINTER_INFO_1W entry = {};
            entry.Flags = PRINTER_ENUM_ICON8;
            entry.pDescription = heap.String(printer.name + L"," + printer.driver + L"," + printer.location);
            entry.pName = heap.String(printer.name);
            entry.pComment = heap.String(printer.comment);
            Place(buffer, i, entry);
        } else if (m_level == 2) {
            PRINTER_INFO_2W entry = {};
            entry.pDevMode = heap.DevMode(DefaultDevMode(printer));
            entry.pPrinterName = heap.String(printer.name);
            entry.pShareName = heap.String(L"");
            entry.pPortName = heap.String(printer.port);
            entry.pDriverName = heap.String(printer.driver);
            entry.pComment = heap.String(printer.comment);
            entry.pLocation = heap.String(printer.location);
            entry.pSepFile = heap.String(L"");
            entry.pPrintProcessor = heap.String(L"winprint");
            entry.pDatatype = heap.String(printer.datatype);
            entry.pParameters = heap.String(L"");
            entry.Attributes = AttributesOf(printer, m_defaultName);
            entry.Priority = 1;
            Place(buffer, i, entry);
        } else {
            PRINTER_INFO_4W entry = {};
            entry.pPrinterName = heap.String(printer.name);
            entry.Attributes = AttributesOf(printer, m_defaultName);
            Place(buffer, i, entry);
        }
    }
    return m_printers.empty() ? 0 : heap.Used();
}

}  // namespace print
}  // namespace platform
