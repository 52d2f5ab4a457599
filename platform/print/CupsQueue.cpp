#include "platform/print/CupsQueue.h"

#include <cups/cups.h>
#include <cups/pwg.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <mutex>

#include "platform/base/CodePage.h"
#include "platform/base/Kernel.h"
#include "platform/base/MessageBox.h"
#include "platform/print/DevMode.h"
#include "platform/print/SpoolJob.h"

namespace platform {
namespace print {

namespace {

const char kPortPrefix[] = "cups:";
// A scheduler that does not answer within this is taken for one not running.
const int kConnectTimeoutMs = 5000;

// A connection to the scheduler, closed when the scope ends.
class Connection {
public:
    Connection()
    {
        // The environment as it is now (CUPS_SERVER), not as libcups first saw it.
        cupsSetServer(nullptr);
        m_http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, kConnectTimeoutMs,
                              nullptr);
    }
    ~Connection()
    {
        if (m_http) httpClose(m_http);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    http_t* Get() const { return m_http; }
    explicit operator bool() const { return m_http != nullptr; }

private:
    http_t* m_http = nullptr;
};

// An IPP response freed when the scope ends.
class Response {
public:
    explicit Response(ipp_t* response) : m_response(response) {}
    ~Response() { ippDelete(m_response); }
    void Reset(ipp_t* response)
    {
        ippDelete(m_response);
        m_response = response;
    }
    Response(const Response&) = delete;
    Response& operator=(const Response&) = delete;
    ipp_t* Get() const { return m_response; }

private:
    ipp_t* m_response;
};

std::wstring Wide(const char* text)
{
    return text ? FromUtf8(text) : std::wstring();
}

std::wstring ServerName()
{
    return Wide(cupsServer());
}

std::wstring NotRunning()
{
    return L"印刷サービス (CUPS, " + ServerName() + L") に接続できません";
}

// Names the scheduler would refuse never go into a request.
bool IsDestinationName(const std::string& name)
{
    if (name.empty() || name.size() > 127) return false;
    for (unsigned char c : name) {
        if (c <= ' ' || c == 127 || c == '/' || c == '\\' || c == '?' || c == '\'' || c == '"' || c == '#') return false;
    }
    return true;
}

std::string PrinterUri(const std::string& destination)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof(uri), "ipp", nullptr, "localhost", 0, "/printers/%s",
                     destination.c_str());
    return uri;
}

// The attributes of one printer group of a response, by name.
typedef std::map<std::string, ipp_attribute_t*> Attributes;

const char* Text(const Attributes& attributes, const char* name)
{
    const auto found = attributes.find(name);
    return found == attributes.end() ? nullptr : ippGetString(found->second, 0, nullptr);
}

int Integer(const Attributes& attributes, const char* name, int fallback)
{
    const auto found = attributes.find(name);
    return found == attributes.end() ? fallback : ippGetInteger(found->second, 0);
}

// Every printer group of a response, in order.
std::vector<Attributes> PrinterGroups(ipp_t* response)
{
    std::vector<Attributes> groups;
    bool open = false;
    for (ipp_attribute_t* attribute = ippFirstAttribute(response); attribute;
         attribute = ippNextAttribute(response)) {
        if (ippGetGroupTag(attribute) != IPP_TAG_PRINTER || !ippGetName(attribute)) {
            open = false;   // a separator, or another group
            continue;
        }
        if (!open) groups.emplace_back();
        open = true;
        groups.back()[ippGetName(attribute)] = attribute;
    }
    return groups;
}

const char* const kDescription[] = {"printer-name",    "printer-info",         "printer-location",
                                    "printer-make-and-model", "media-default", "orientation-requested-default",
                                    "copies-default",  "printer-state",        "printer-state-message",
                                    "printer-is-accepting-jobs"};

void RequestDescription(ipp_t* request)
{
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(sizeof(kDescription) / sizeof(kDescription[0])), nullptr, kDescription);
}

// The DMPAPER code of a PWG media name; 0 for a size outside the paper table.
int PaperOfMedia(const char* media)
{
    const pwg_media_t* size = media ? pwgMediaForPWG(media) : nullptr;
    if (!size) return 0;
    for (int paper = DMPAPER_FIRST; paper <= DMPAPER_LAST; ++paper) {
        int width = 0, height = 0;   // tenths of a millimetre
        if (StandardPaperSize(paper, width, height) && std::abs(width * 10 - size->width) <= 100 &&
            std::abs(height * 10 - size->length) <= 100)
            return paper;
    }
    return 0;
}

PrinterConfig PrinterOf(const Attributes& attributes)
{
    PrinterConfig printer;
    const char* name = Text(attributes, "printer-name");
    printer.name = Wide(name);
    printer.cupsDestination = name ? name : "";
    printer.port = Wide(kPortPrefix) + printer.name;
    printer.datatype = L"RAW";
    printer.driver = Wide(Text(attributes, "printer-make-and-model"));
    printer.comment = Wide(Text(attributes, "printer-info"));
    printer.location = Wide(Text(attributes, "printer-location"));
    if (const int paper = PaperOfMedia(Text(attributes, "media-default"))) printer.paperSize = paper;
    const int orientation = Integer(attributes, "orientation-requested-default", IPP_ORIENT_PORTRAIT);
    printer.orientation = orientation == IPP_ORIENT_LANDSCAPE ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    printer.copies = std::max(1, Integer(attributes, "copies-default", 1));
    return printer;
}

// The scheduler's description of one destination (its printer group, kept
// in `response`); false when it has none of that name.
bool Describe(http_t* http, const std::string& destination, Response& response, Attributes& printer)
{
    if (!IsDestinationName(destination)) return false;
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, PrinterUri(destination).c_str());
    RequestDescription(request);
    response.Reset(cupsDoRequest(http, request, "/"));
    if (!response.Get() || cupsLastError() > IPP_STATUS_OK_CONFLICTING) return false;
    const std::vector<Attributes> groups = PrinterGroups(response.Get());
    if (groups.empty() || !Text(groups.front(), "printer-name")) return false;
    printer = groups.front();
    return true;
}

// How many PrintServiceAside live now.
std::atomic<int> g_aside{0};

bool ServiceAside()
{
    return g_aside.load() > 0;
}

std::mutex g_handoverLock;
std::vector<CupsHandover> g_handovers;

void Record(const CupsHandover& handover)
{
    std::lock_guard<std::mutex> guard(g_handoverLock);
    g_handovers.push_back(handover);
}

void ShowFailure(const PrinterConfig& printer, const std::wstring& cause, const std::string& kept)
{
    const DWORD error = GetLastError();
    std::wstring text = L"プリンター「" + printer.name + L"」で印刷できません。" + cause + L"。";
    if (!kept.empty()) text += L"印刷データはスプールフォルダーに残っています: " + FromUtf8(kept);
    MessageBoxW(nullptr, text.c_str(), printer.name.c_str(), MB_OK | MB_ICONERROR);
    SetLastError(error);
}

}  // namespace

// ---- destinations ------------------------------------------------------------------------

std::string CupsDestinationOfPort(const std::wstring& port)
{
    const std::string text = ToUtf8(port);
    const size_t prefix = sizeof(kPortPrefix) - 1;
    if (text.size() <= prefix || text.compare(0, prefix, kPortPrefix) != 0) return std::string();
    return text.substr(prefix);
}

std::vector<PrinterConfig> ListCupsPrinters()
{
    std::vector<PrinterConfig> printers;
    if (ServiceAside()) return printers;
    Connection http;
    if (!http) return printers;
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    RequestDescription(request);
    Response response(cupsDoRequest(http.Get(), request, "/"));
    if (!response.Get()) return printers;
    for (const Attributes& attributes : PrinterGroups(response.Get())) {
        if (Text(attributes, "printer-name")) printers.push_back(PrinterOf(attributes));
    }
    return printers;
}

bool FindCupsPrinter(const std::wstring& name, PrinterConfig& printer)
{
    const std::string destination = ToUtf8(name);
    if (!IsDestinationName(destination) || ServiceAside()) return false;
    Connection http;
    Response response(nullptr);
    Attributes attributes;
    if (!http || !Describe(http.Get(), destination, response, attributes)) return false;
    printer = PrinterOf(attributes);
    return true;
}

std::wstring CupsDefaultPrinterName()
{
    if (ServiceAside()) return std::wstring();
    Connection http;
    if (!http) return std::wstring();
    return Wide(cupsGetDefault2(http.Get()));
}

std::wstring CupsJobTitle(const std::wstring& document, DWORD spoolJob)
{
    return document.empty() ? L"morvelance-" + std::to_wstring(spoolJob) : document;
}

std::wstring MissingPrinterCause(const std::wstring& name)
{
    PrinterConfig printer;
    if (FindPrinter(name.c_str(), printer))
        return printer.kind == QueueKind::Unsupported ? L"このシステムでは使えない種類のキューです" : std::wstring();
    if (ServiceAside()) return L"登録されたプリンターにありません";
    Connection http;
    if (!http) return L"登録されたプリンターになく、印刷サービス (CUPS, " + ServerName() + L") に接続できません";
    return L"登録されたプリンターにも印刷サービス (CUPS, " + ServerName() + L") にもありません";
}

PrintServiceAside::PrintServiceAside()
{
    ++g_aside;
}

PrintServiceAside::~PrintServiceAside()
{
    --g_aside;
}

// ---- a job --------------------------------------------------------------------------------

struct CupsJob::Options {
    int count = 0;
    cups_option_t* options = nullptr;
    ~Options() { cupsFreeOptions(count, options); }
    void Add(const char* name, const std::string& value) { count = cupsAddOption(name, value.c_str(), count, &options); }
};

CupsJob::CupsJob(const PrinterConfig& printer, const std::wstring& title, const DEVMODEW& mode)
    : m_destination(printer.cupsDestination), m_title(ToUtf8(title)), m_options(new Options)
{
    m_options->Add("copies", std::to_string(std::max<int>(1, mode.dmCopies)));
    int width = 0, height = 0;   // tenths of a millimetre
    PaperOf(mode, width, height);
    if (const pwg_media_t* media = pwgMediaForSize(width * 10, height * 10)) m_options->Add("media", media->pwg);
    m_options->Add("orientation-requested",
                   std::to_string(mode.dmOrientation == DMORIENT_LANDSCAPE ? IPP_ORIENT_LANDSCAPE : IPP_ORIENT_PORTRAIT));
}

CupsJob::~CupsJob() = default;

// Whether the destination is there and takes jobs now. A stopped one takes
// them and holds them: it is noted as paused, not refused.
bool CupsJob::CheckDestination(void* connection, std::wstring& cause, DWORD& error)
{
    const std::wstring destination = FromUtf8(m_destination);
    Response response(nullptr);
    Attributes printer;
    if (!Describe(static_cast<http_t*>(connection), m_destination, response, printer)) {
        cause = L"CUPS にプリンター " + destination + L" がありません";
        error = ERROR_INVALID_PRINTER_NAME;
        return false;
    }
    const char* message = Text(printer, "printer-state-message");
    const std::wstring why = message && *message ? L" (" + Wide(message) + L")" : std::wstring();
    const auto accepting = printer.find("printer-is-accepting-jobs");
    if (accepting != printer.end() && !ippGetBoolean(accepting->second, 0)) {
        cause = L"CUPS のプリンター " + destination + L" はジョブを受け付けていません" + why;
        error = ERROR_INVALID_PRINTER_STATE;
        return false;
    }
    m_paused.clear();
    if (Integer(printer, "printer-state", IPP_PSTATE_IDLE) == IPP_PSTATE_STOPPED)
        m_paused = L"CUPS のプリンター " + destination + L" は一時停止しています" + why +
                   L"。ジョブは再開されてから印刷されます";
    return true;
}

bool CupsJob::Send(const std::string& path, const char* format, std::wstring& cause, DWORD& error)
{
    Connection http;
    if (!http) {
        cause = NotRunning();
        error = ERROR_NOT_READY;
        return false;
    }
    // The destination as it is now: removed, paused or closed since the job began.
    if (!CheckDestination(http.Get(), cause, error)) return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        cause = L"印刷データを読めません (" + FromUtf8(path) + L")";
        error = ErrorFromErrno(errno);
        return false;
    }
    ::close(fd);
    // One Print-Job request: the scheduler makes the job only once the whole
    // document has arrived, so a handover cut short leaves nothing there.
    ipp_t* request = ippNewRequest(IPP_OP_PRINT_JOB);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, PrinterUri(m_destination).c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, m_title.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr, format);
    cupsEncodeOptions2(request, m_options->count, m_options->options, IPP_TAG_OPERATION);
    cupsEncodeOptions2(request, m_options->count, m_options->options, IPP_TAG_JOB);
    const std::string resource = "/printers/" + m_destination;
    Response response(cupsDoFileRequest(http.Get(), request, resource.c_str(), path.c_str()));
    ipp_attribute_t* id = response.Get() ? ippFindAttribute(response.Get(), "job-id", IPP_TAG_INTEGER) : nullptr;
    if (!response.Get() || cupsLastError() > IPP_STATUS_OK_CONFLICTING || !id || ippGetInteger(id, 0) <= 0) {
        cause = L"CUPS がジョブを受け付けませんでした: " + Wide(cupsLastErrorString());
        error = ERROR_INVALID_PRINTER_STATE;
        return false;
    }
    m_id = ippGetInteger(id, 0);
    return true;
}

// ---- handing over -----------------------------------------------------------------------

bool HandOverToCups(const PrinterConfig& printer, CupsJob& cups, SpoolJob& job, const char* format, DWORD& error)
{
    CupsHandover handover;
    handover.printer = printer.name;
    handover.destination = printer.cupsDestination;
    std::wstring cause;
    if (cups.Send(job.FinalDataPath(), format, cause, error)) {
        handover.taken = true;
        handover.cupsJob = cups.Id();
        handover.paused = cups.Paused();
        handover.cause = cups.PausedCause();
        job.Withdraw();
        Record(handover);
        return true;
    }
    handover.cause = cause;
    handover.keptData = job.FinalDataPath();
    Record(handover);
    SetLastError(error);
    ShowFailure(printer, cause, handover.keptData);
    return false;
}

std::vector<CupsHandover> CupsHandovers()
{
    std::lock_guard<std::mutex> guard(g_handoverLock);
    return g_handovers;
}

}  // namespace print
}  // namespace platform
