// The Win32 spooler functions over the configured printers.
#include "platform/print/Spooler.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/base/File.h"
#include "platform/base/Kernel.h"
#include "platform/base/Profile.h"
#include "platform/print/CupsQueue.h"
#include "platform/print/DevMode.h"
#include "platform/print/PrinterConfig.h"
#include "platform/print/PrinterHandleTable.h"
#include "platform/print/PrinterInfoPacker.h"
#include "platform/print/PrintSetup.h"
#include "platform/print/SpoolJob.h"

using platform::print::DefaultDevMode;
using platform::print::EqualNoCase;
using platform::print::FindPrinter;
using platform::print::ListPrinters;
using platform::print::MergeDevMode;
using platform::print::OpenedPrinter;
using platform::print::PrinterConfig;
using platform::print::PrinterHandleTable;
using platform::print::PrinterInfoPacker;
using platform::print::QueueKind;
using platform::print::SpoolJob;

namespace {

BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

std::shared_ptr<OpenedPrinter> Lookup(HANDLE handle)
{
    std::shared_ptr<OpenedPrinter> printer = PrinterHandleTable::Instance().Find(handle);
    if (!printer) SetLastError(ERROR_INVALID_HANDLE);
    return printer;
}

// The spooler accepts the raw datatypes ("RAW", "RAW [FF appended]", ...)
// and "TEXT"; the bytes go to the spool unchanged either way.
bool IsAcceptedDatatype(const std::wstring& datatype)
{
    const bool raw = datatype.size() >= 3 && EqualNoCase(datatype.substr(0, 3), L"RAW") &&
                     (datatype.size() == 3 || datatype[3] == L' ');
    return raw || EqualNoCase(datatype, L"TEXT");
}

std::wstring DefaultPrinterName()
{
    const std::wstring configured = platform::print::ReadDefaultPrinterEntry().name;
    return configured.empty() ? platform::print::CupsDefaultPrinterName() : configured;
}

// win.ini's default printer entry, read by the library's own print paths,
// follows the print service's default where the file names none, as the
// spooler calls do.
std::wstring CupsDefaultDevice()
{
    const std::wstring name = platform::print::CupsDefaultPrinterName();
    return name.empty() ? name : name + L",winspool,cups:" + name;
}

const bool kDefaultDeviceFromCups = (platform::SetDefaultDeviceSource(&CupsDefaultDevice), true);

// The printers the enumeration flags select.
bool SelectPrinters(DWORD flags, LPCWSTR name, std::vector<PrinterConfig>& selected)
{
    const bool named = (flags & PRINTER_ENUM_NAME) != 0;
    if (named && name && *name) return Fail(ERROR_INVALID_NAME);   // no print servers here
    if (flags & (PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS) || named) {
        selected = ListPrinters();
        return TRUE;
    }
    if (flags & PRINTER_ENUM_DEFAULT) {
        PrinterConfig printer;
        if (FindPrinter(DefaultPrinterName().c_str(), printer)) selected.push_back(printer);
    }
    return TRUE;
}

BOOL ReturnPacked(DWORD level, const std::vector<PrinterConfig>& printers, LPBYTE buffer, DWORD cbBuf,
                  LPDWORD pcbNeeded)
{
    const PrinterInfoPacker packer(level, printers, DefaultPrinterName());
    *pcbNeeded = packer.Size();
    if (cbBuf < *pcbNeeded) return Fail(ERROR_INSUFFICIENT_BUFFER);
    if (*pcbNeeded > 0 && !buffer) return Fail(ERROR_INVALID_PARAMETER);
    if (*pcbNeeded > 0) packer.Write(buffer);
    return TRUE;
}

// Stops the open document of a printer handle; the caller holds its mutex.
void DropJob(OpenedPrinter& opened)
{
    if (opened.job) opened.job->Abort();
    opened.job.reset();
    opened.cupsJob.reset();   // CUPS has nothing of it yet
    opened.inPage = false;
}

}  // namespace

BOOL OpenPrinterW(LPCWSTR pPrinterName, LPHANDLE phPrinter, const PRINTER_DEFAULTSW* pDefault)
{
    if (!phPrinter) return Fail(ERROR_INVALID_PARAMETER);
    *phPrinter = nullptr;
    auto opened = std::make_shared<OpenedPrinter>();
    if (!FindPrinter(pPrinterName, opened->printer)) return Fail(ERROR_INVALID_PRINTER_NAME);
    if (opened->printer.kind == QueueKind::Unsupported) return Fail(ERROR_NOT_SUPPORTED);
    opened->devMode = DefaultDevMode(opened->printer);
    opened->datatype = opened->printer.datatype;
    if (pDefault && pDefault->pDevMode && !MergeDevMode(opened->devMode, *pDefault->pDevMode))
        return Fail(ERROR_INVALID_PARAMETER);
    if (pDefault && pDefault->pDatatype) {
        if (!IsAcceptedDatatype(pDefault->pDatatype)) return Fail(ERROR_INVALID_DATATYPE);
        opened->datatype = pDefault->pDatatype;
    }
    *phPrinter = PrinterHandleTable::Instance().Insert(opened);
    return TRUE;
}

BOOL ClosePrinter(HANDLE hPrinter)
{
    std::shared_ptr<OpenedPrinter> opened = PrinterHandleTable::Instance().Remove(hPrinter);
    if (!opened) return Fail(ERROR_INVALID_HANDLE);
    std::lock_guard<std::mutex> lock(opened->mutex);
    DropJob(*opened);   // a document never ended is not printed
    return TRUE;
}

LONG DocumentPropertiesW(HWND hWnd, HANDLE hPrinter, LPCWSTR pDeviceName, PDEVMODEW pDevModeOutput,
                         const DEVMODEW* pDevModeInput, DWORD fMode)
{
    (void)hWnd;
    DEVMODEW mode;
    if (hPrinter) {
        std::shared_ptr<OpenedPrinter> opened = Lookup(hPrinter);
        if (!opened) return -1;
        mode = opened->devMode;
    } else {
        PrinterConfig printer;
        if (!FindPrinter(pDeviceName, printer)) {
            SetLastError(ERROR_INVALID_PRINTER_NAME);
            return -1;
        }
        mode = DefaultDevMode(printer);
    }
    if (fMode == 0) return (LONG)platform::print::kDevModeBytes;
    if ((fMode & DM_IN_BUFFER) && pDevModeInput && !MergeDevMode(mode, *pDevModeInput)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (fMode & DM_OUT_BUFFER) {
        if (!pDevModeOutput) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return -1;
        }
        platform::print::StoreDevMode(mode, pDevModeOutput);
    }
    return IDOK;
}

BOOL EnumPrintersW(DWORD Flags, LPCWSTR Name, DWORD Level, LPBYTE pPrinterEnum, DWORD cbBuf, LPDWORD pcbNeeded,
                   LPDWORD pcReturned)
{
    if (!pcbNeeded || !pcReturned) return Fail(ERROR_INVALID_PARAMETER);
    *pcbNeeded = 0;
    *pcReturned = 0;
    if (!PrinterInfoPacker::IsLevelSupported(Level)) return Fail(ERROR_INVALID_LEVEL);
    std::vector<PrinterConfig> printers;
    if (!SelectPrinters(Flags, Name, printers)) return FALSE;
    if (!ReturnPacked(Level, printers, pPrinterEnum, cbBuf, pcbNeeded)) return FALSE;
    *pcReturned = (DWORD)printers.size();
    return TRUE;
}

BOOL GetPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD cbBuf, LPDWORD pcbNeeded)
{
    if (!pcbNeeded) return Fail(ERROR_INVALID_PARAMETER);
    *pcbNeeded = 0;
    std::shared_ptr<OpenedPrinter> opened = Lookup(hPrinter);
    if (!opened) return FALSE;
    if (!PrinterInfoPacker::IsLevelSupported(Level)) return Fail(ERROR_INVALID_LEVEL);
    PrinterConfig current;   // the registry may have changed since the open
    if (!FindPrinter(opened->printer.name.c_str(), current)) current = opened->printer;
    return ReturnPacked(Level, std::vector<PrinterConfig>{current}, pPrinter, cbBuf, pcbNeeded);
}

BOOL GetDefaultPrinterW(LPWSTR pszBuffer, LPDWORD pcchBuffer)
{
    if (!pcchBuffer) return Fail(ERROR_INVALID_PARAMETER);
    const std::wstring name = DefaultPrinterName();
    if (name.empty()) return Fail(ERROR_FILE_NOT_FOUND);
    const DWORD needed = (DWORD)name.size() + 1;
    if (!pszBuffer || *pcchBuffer < needed) {
        *pcchBuffer = needed;
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::wmemcpy(pszBuffer, name.c_str(), needed);
    *pcchBuffer = needed;
    return TRUE;
}

BOOL SetDefaultPrinterW(LPCWSTR pszPrinter)
{
    PrinterConfig printer;
    if (!pszPrinter || !*pszPrinter) {
        PrinterConfig current;
        if (FindPrinter(DefaultPrinterName().c_str(), current)) return TRUE;
        const std::vector<PrinterConfig> printers = ListPrinters();
        if (printers.empty()) return Fail(ERROR_INVALID_PRINTER_NAME);
        printer = printers.front();
    } else if (!FindPrinter(pszPrinter, printer)) {
        return Fail(ERROR_INVALID_PRINTER_NAME);
    }
    const std::wstring entry = printer.name + L"," + printer.driver + L"," + printer.port;
    if (!WriteProfileStringW(L"windows", L"device", entry.c_str())) return Fail(ERROR_WRITE_FAULT);
    return TRUE;
}

DWORD StartDocPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pDocInfo)
{
    std::shared_ptr<OpenedPrinter> opened = Lookup(hPrinter);
    if (!opened) return 0;
    if (Level != 1) return Fail(ERROR_INVALID_LEVEL);
    if (!pDocInfo) return Fail(ERROR_INVALID_PARAMETER);
    DOC_INFO_1W info;
    std::memcpy(&info, pDocInfo, sizeof(info));
    const std::wstring datatype = info.pDatatype ? info.pDatatype : opened->datatype;
    // The PDF printer makes documents out of drawn pages; it has nothing to
    // make of a printer language.
    if (opened->printer.kind == QueueKind::Pdf || !IsAcceptedDatatype(datatype)) return Fail(ERROR_INVALID_DATATYPE);
    const std::wstring document =
        info.pDocName && *info.pDocName ? std::wstring(info.pDocName) : platform::print::UnnamedDocumentName();
    std::lock_guard<std::mutex> lock(opened->mutex);
    if (opened->job) return Fail(ERROR_INVALID_PRINTER_STATE);
    DWORD error = ERROR_SUCCESS;
    if (info.pOutputFile && *info.pOutputFile) {
        opened->job = SpoolJob::BeginToFile(platform::NativePath(info.pOutputFile), opened->printer.name, document,
                                            datatype, error);
    } else {
        opened->job = SpoolJob::Begin(platform::print::SpoolFolderOf(opened->printer), opened->printer.name, document,
                                      datatype, error);
    }
    if (!opened->job) return Fail(error);
    opened->inPage = false;
    if (!opened->printer.cupsDestination.empty() && !(info.pOutputFile && *info.pOutputFile))
        opened->cupsJob.reset(new platform::print::CupsJob(opened->printer, platform::print::CupsJobTitle(document, opened->job->Id()),
                                                           opened->devMode));
    return opened->job->Id();
}

BOOL StartPagePrinter(HANDLE hPrinter)
{
    std::shared_ptr<OpenedPrinter> opened = Lookup(hPrinter);
    if (!opened) return FALSE;
    std::lock_guard<std::mutex> lock(opened->mutex);
    if (!opened->job) return Fail(ERROR_SPL_NO_STARTDOC);
    if (opened->inPage) return Fail(ERROR_INVALID_PRINTER_STATE);
    opened->inPage = true;
    opened->job->AddPage();
    return TRUE;
}

BOOL EndPagePrinter(HANDLE hPrinter)
{
    std::shared_ptr<OpenedPrinter> opened = Lookup(hPrinter);
    if (!opened) return FALSE;
    std::lock_guard<std::mutex> lock(opened->mutex);
    if (!opened->job) return Fail(ERROR_SPL_NO_STARTDOC);
    if (!opened->inPage) return Fail(ERROR_INVALID_PRINTER_STATE);
    opened->inPage = false;
    return TRUE;
}

BOOL WritePrinter(HANDLE hPrinter, LPCVOID pBuf, DWORD cbBuf, LPDWORD pcWritten)
{
    if (pcWritten) *pcWritten = 0;
    std::shared_ptr<OpenedPrinter> opened = Lookup(hPrinter);
    if (!opened) return FALSE;
    if (!pcWritten || (!pBuf && cbBuf > 0)) return Fail(ERROR_INVALID_PARAMETER);
    std::lock_guard<std::mutex> lock(opened->mutex);
    if (!opened->job) return Fail(ERROR_SPL_NO_STARTDOC);
    DWORD error = ERROR_SUCCESS;
    if (cbBuf > 0 && !opened->job->Write(pBuf, cbBuf, error)) return Fail(error);
    *pcWritten = cbBuf;
    return TRUE;
}

BOOL EndDocPrinter(HANDLE hPrinter)
{
    std::shared_ptr<OpenedPrinter> opened = Lookup(hPrinter);
    if (!opened) return FALSE;
    std::unique_lock<std::mutex> lock(opened->mutex);
    if (!opened->job) return Fail(ERROR_SPL_NO_STARTDOC);
    std::unique_ptr<SpoolJob> job = std::move(opened->job);
    std::unique_ptr<platform::print::CupsJob> cupsJob = std::move(opened->cupsJob);
    const PrinterConfig printer = opened->printer;
    opened->inPage = false;
    lock.unlock();   // a failed handover shows a message box
    DWORD error = ERROR_SUCCESS;
    if (!job->Commit(SpoolJob::ExtensionOf(job->Datatype()), nullptr, error)) return Fail(error);
    // The printer language goes to CUPS as it is, for the printer to read.
    if (cupsJob && !platform::print::HandOverToCups(printer, *cupsJob, *job, "application/vnd.cups-raw", error))
        return Fail(error);
    return TRUE;
}

BOOL AbortPrinter(HANDLE hPrinter)
{
    std::shared_ptr<OpenedPrinter> opened = Lookup(hPrinter);
    if (!opened) return FALSE;
    std::lock_guard<std::mutex> lock(opened->mutex);
    if (!opened->job) return Fail(ERROR_SPL_NO_STARTDOC);
    DropJob(*opened);
    return TRUE;
}
