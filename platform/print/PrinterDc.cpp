// Printer DCs and their documents: CreateDCW for a configured printer, and
// the job calls StartDoc .. EndDoc / AbortDoc with the abort procedure.
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <string>

#include "platform/base/CodePage.h"
#include "platform/base/File.h"
#include "platform/base/Kernel.h"
#include "platform/base/MessageBox.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/PrintSurface.h"
#include "platform/print/DevMode.h"
#include "platform/print/PdfQueue.h"
#include "platform/print/PrinterDcTable.h"
#include "platform/print/PrintSetup.h"
#include "platform/print/Spooler.h"

using platform::print::DocumentTarget;
using platform::print::PrinterConfig;
using platform::print::PrinterDc;
using platform::print::PrinterDcTable;
using platform::print::QueueKind;
using platform::print::SpoolJob;

namespace {

typedef std::unique_lock<std::mutex> DcLock;

int Fail(DWORD error)
{
    SetLastError(error);
    return SP_ERROR;
}

// Ids of documents that do not go through the spool folder (the PDF printer,
// printing to a file); spool jobs take the id their folder gives them.
DWORD NextPrivateJobId()
{
    static std::atomic<DWORD> next(1);
    return next++;
}

bool IsFolder(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::wstring Decimal(int value)
{
    return std::to_wstring(value);
}

// Drops the document of `dc` (the caller holds its lock): the surface's
// partial file and the spool reservation go.
void DropDocument(HDC hdc, PrinterDc& dc)
{
    platform::gdi::PrintSurfaceAbort(hdc);
    if (dc.spoolJob) dc.spoolJob->Abort();
    dc.spoolJob.reset();
    dc.cupsJob.reset();   // CUPS has nothing of it yet
    dc.inDocument = false;
    dc.inPage = false;
}

// Runs the abort procedure without holding the DC's lock (it pumps messages,
// and a handler may call back into printing). False when it asked to stop:
// the document is then dropped.
bool ContinueJob(HDC hdc, PrinterDc& dc)
{
    ABORTPROC proc = nullptr;
    {
        DcLock lock(dc.mutex);
        proc = dc.abortProc;
    }
    if (!proc || proc(hdc, 0)) return true;
    DcLock lock(dc.mutex);
    if (dc.inDocument) DropDocument(hdc, dc);
    SetLastError(ERROR_PRINT_CANCELLED);
    return false;
}

// A PDF printer whose port names a folder that is not there (removed since
// the printer was set up) fails every job; the person is told which printer
// and which folder, so that the printer's port can be put right. Empty when
// the printer is not such a one.
std::wstring MissingPortFolderMessage(const PrinterConfig& printer)
{
    if (printer.kind != QueueKind::Pdf) return std::wstring();
    const std::string folder = platform::print::PdfPortFolder(printer);
    if (!folder.empty() && IsFolder(folder)) return std::wstring();
    const std::wstring named = folder.empty() ? printer.port : platform::FromUtf8(folder);
    return L"プリンター「" + printer.name + L"」で印刷できません。ポートのフォルダー " + named + L" がありません。";
}

void ShowMissingPortFolder(const PrinterConfig& printer, const std::wstring& message)
{
    const DWORD error = GetLastError();
    MessageBoxW(nullptr, message.c_str(), printer.name.c_str(), MB_OK | MB_ICONERROR);
    SetLastError(error);
}

// Chooses where the document goes and reserves it; false with the last error set.
bool OpenTarget(PrinterDc& dc, const DOCINFOW& info)
{
    if (info.lpszOutput && *info.lpszOutput) {
        dc.target = DocumentTarget::File;
        dc.output = platform::NativePath(info.lpszOutput);
        dc.jobId = NextPrivateJobId();
        return true;
    }
    if (dc.printer.kind == QueueKind::Pdf) {
        const std::string folder = platform::print::PdfPortFolder(dc.printer);
        if (folder.empty() || !IsFolder(folder)) {
            SetLastError(ERROR_PATH_NOT_FOUND);
            return false;
        }
        // What killed jobs left there goes before this one starts.
        platform::print::SweepDeadPdfJobs(folder);
        dc.target = DocumentTarget::PdfPrinter;
        dc.jobId = NextPrivateJobId();
        // A name the system's wait for "<job>.pdf" cannot match while the
        // printer is still working on it.
        dc.output = folder + "/" + platform::print::PdfWorkingName(dc.jobId);
        return true;
    }
    DWORD error = ERROR_SUCCESS;
    dc.spoolJob = SpoolJob::Begin(platform::print::SpoolFolderOf(dc.printer), dc.printer.name, dc.document, L"PDF",
                                  error);
    if (!dc.spoolJob) {
        SetLastError(error);
        return false;
    }
    dc.target = DocumentTarget::Spool;
    dc.jobId = dc.spoolJob->Id();
    dc.output = dc.spoolJob->DataPath() + ".pdf";
    dc.spoolJob->AddDetail("Copies", Decimal(dc.devMode.dmCopies));
    dc.spoolJob->AddDetail("Orientation", Decimal(dc.devMode.dmOrientation));
    dc.spoolJob->AddDetail("PaperSize", Decimal(dc.devMode.dmPaperSize));
    int width = 0;
    int height = 0;
    platform::print::PaperOf(dc.devMode, width, height);
    dc.spoolJob->AddDetail("PaperWidth", Decimal(width));
    dc.spoolJob->AddDetail("PaperLength", Decimal(height));
    if (!dc.printer.cupsDestination.empty())
        dc.cupsJob.reset(new platform::print::CupsJob(
            dc.printer, platform::print::CupsJobTitle(dc.document, dc.jobId), dc.devMode));
    return true;
}

// What a finished document needs for its delivery, taken out of the DC so
// that delivery (which may ask a person through a message box or a prompt)
// runs without the DC's lock.
struct FinishedDocument {
    PrinterConfig printer;
    DocumentTarget target = DocumentTarget::Spool;
    std::wstring document;
    std::string output;
    std::unique_ptr<SpoolJob> spoolJob;
    std::unique_ptr<platform::print::CupsJob> cupsJob;
    int pages = 0;
};

bool Deliver(FinishedDocument& finished, DWORD& error)
{
    switch (finished.target) {
    case DocumentTarget::File:
        return true;
    case DocumentTarget::PdfPrinter:
        return finished.pages == 0 ||
               platform::print::DeliverPdf(finished.printer, finished.output, finished.document, error);
    case DocumentTarget::Spool:
        break;
    }
    if (finished.pages == 0) {   // nothing was drawn, so nothing is printed
        finished.spoolJob->Abort();
        return true;
    }
    finished.spoolJob->SetPages(finished.pages);
    if (!finished.spoolJob->Commit("pdf", &finished.output, error)) return false;
    return !finished.cupsJob ||
           platform::print::HandOverToCups(finished.printer, *finished.cupsJob, *finished.spoolJob, "application/pdf",
                                           error);
}

}  // namespace

HDC CreateDCW(LPCWSTR driver, LPCWSTR device, LPCWSTR port, const DEVMODEW* devMode)
{
    (void)port;   // the printer's own port decides where its output goes
    PrinterDcTable::Instance().Purge();
    // Display DCs come from the windowing layer; this one makes printer DCs only.
    if (driver && platform::print::EqualNoCase(driver, L"DISPLAY")) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    auto dc = std::make_shared<PrinterDc>();
    if (!platform::print::FindPrinter(device, dc->printer)) {
        SetLastError(ERROR_INVALID_PRINTER_NAME);
        return nullptr;
    }
    if (dc->printer.kind == QueueKind::Unsupported) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    dc->devMode = platform::print::DefaultDevMode(dc->printer);
    if (devMode && !platform::print::MergeDevMode(dc->devMode, *devMode)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    platform::gdi::PrintSurfaceSpec surface;
    platform::print::PaperOf(dc->devMode, surface.paperWidthTenthMm, surface.paperHeightTenthMm);
    surface.landscape = dc->devMode.dmOrientation == DMORIENT_LANDSCAPE;
    surface.dpi = platform::print::kPrinterDpi;
    const HDC hdc = platform::gdi::CreatePrintSurfaceDC(surface);
    if (!hdc) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    PrinterDcTable::Instance().Insert(hdc, dc);
    return hdc;
}

int StartDocW(HDC hdc, const DOCINFOW* docInfo)
{
    std::shared_ptr<PrinterDc> dc = PrinterDcTable::Instance().Find(hdc);
    if (!dc) return SP_ERROR;
    if (!docInfo) return Fail(ERROR_INVALID_PARAMETER);
    DcLock lock(dc->mutex);
    if (dc->inDocument) return Fail(ERROR_INVALID_PRINTER_STATE);
    PrinterConfig current;   // the printer's settings as they are now
    if (platform::print::FindPrinter(dc->printer.name.c_str(), current) && current.kind != QueueKind::Unsupported)
        dc->printer = current;
    dc->document = docInfo->lpszDocName && *docInfo->lpszDocName ? std::wstring(docInfo->lpszDocName)
                                                                 : platform::print::UnnamedDocumentName();
    if (!OpenTarget(*dc, *docInfo)) {
        const PrinterConfig printer = dc->printer;
        lock.unlock();   // the message box runs without the DC's lock
        const std::wstring message = MissingPortFolderMessage(printer);
        if (!message.empty()) ShowMissingPortFolder(printer, message);
        return SP_ERROR;
    }
    if (!platform::gdi::PrintSurfaceSetOutput(hdc, dc->output)) {
        DropDocument(hdc, *dc);
        return Fail(ERROR_INVALID_PARAMETER);
    }
    dc->inDocument = true;
    dc->inPage = false;
    return (int)dc->jobId;
}

int StartPage(HDC hdc)
{
    std::shared_ptr<PrinterDc> dc = PrinterDcTable::Instance().Find(hdc);
    if (!dc) return SP_ERROR;
    {
        DcLock lock(dc->mutex);
        if (!dc->inDocument) return Fail(ERROR_SPL_NO_STARTDOC);
    }
    if (!ContinueJob(hdc, *dc)) return SP_APPABORT;
    DcLock lock(dc->mutex);
    if (!dc->inDocument) return Fail(ERROR_SPL_NO_STARTDOC);   // ended while the abort procedure pumped
    if (dc->inPage) return Fail(ERROR_INVALID_PRINTER_STATE);
    if (!platform::gdi::PrintSurfaceStartPage(hdc)) return Fail(ERROR_WRITE_FAULT);
    dc->inPage = true;
    return 1;
}

int EndPage(HDC hdc)
{
    std::shared_ptr<PrinterDc> dc = PrinterDcTable::Instance().Find(hdc);
    if (!dc) return SP_ERROR;
    {
        DcLock lock(dc->mutex);
        if (!dc->inDocument) return Fail(ERROR_SPL_NO_STARTDOC);
        if (!dc->inPage) return Fail(ERROR_INVALID_PRINTER_STATE);
        if (!platform::gdi::PrintSurfaceEndPage(hdc)) return Fail(ERROR_WRITE_FAULT);
        dc->inPage = false;
    }
    if (!ContinueJob(hdc, *dc)) return SP_APPABORT;
    return 1;
}

int EndDoc(HDC hdc)
{
    std::shared_ptr<PrinterDc> dc = PrinterDcTable::Instance().Find(hdc);
    if (!dc) return SP_ERROR;
    FinishedDocument finished;
    {
        DcLock lock(dc->mutex);
        if (!dc->inDocument) return Fail(ERROR_SPL_NO_STARTDOC);
        SetLastError(ERROR_SUCCESS);
        if (!platform::gdi::PrintSurfaceFinish(hdc)) {
            const DWORD error = GetLastError();
            DropDocument(hdc, *dc);
            return Fail(error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT);
        }
        dc->inDocument = false;
        dc->inPage = false;
        const int pages = platform::gdi::PrintSurfacePageCount(hdc);
        finished.printer = dc->printer;
        finished.target = dc->target;
        finished.document = dc->document;
        finished.output = dc->output;
        finished.spoolJob = std::move(dc->spoolJob);
        finished.cupsJob = std::move(dc->cupsJob);
        finished.pages = pages < 0 ? 0 : pages;
    }
    DWORD error = ERROR_SUCCESS;
    if (!Deliver(finished, error)) return Fail(error);
    return 1;
}

int AbortDoc(HDC hdc)
{
    std::shared_ptr<PrinterDc> dc = PrinterDcTable::Instance().Find(hdc);
    if (!dc) return SP_ERROR;
    DcLock lock(dc->mutex);
    if (!dc->inDocument) return Fail(ERROR_SPL_NO_STARTDOC);
    DropDocument(hdc, *dc);
    return 1;
}

int SetAbortProc(HDC hdc, ABORTPROC proc)
{
    std::shared_ptr<PrinterDc> dc = PrinterDcTable::Instance().Find(hdc);
    if (!dc) return SP_ERROR;
    DcLock lock(dc->mutex);
    dc->abortProc = proc;
    return 1;
}
