#include "platform/print/CupsQueue.h"

#include <cups/cups.h>
#include <cups/pwg.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

#include "platform/base/CodePage.h"
#include "platform/base/Kernel.h"
#include "platform/base/MessageBox.h"
#include "platform/print/DevMode.h"
#include "platform/print/SpoolJob.h"

namespace platform {
namespace print {

namespace {

const char kPortPrefix[] = "cups:";
// A scheduler that does not take the connection within this is taken for one
// that does not answer.
const int kConnectTimeoutMs = 5000;
// How long a print may be kept waiting, in all, by a print service that does
// not answer: its lookups and its handover together, however many requests
// they take.
const double kServiceWaitSeconds = 20.0;
// How often libcups reports a wait that has had no answer yet, seconds.
const double kSilenceStep = 0.25;

typedef std::chrono::steady_clock Clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The bound on the wait, seconds. MORVELANCE_PRINT_SERVICE_WAIT_MS may
// shorten it (the tests do, to keep a mute service short), never lengthen it.
double ServiceWaitBound()
{
    const char* env = std::getenv("MORVELANCE_PRINT_SERVICE_WAIT_MS");
    if (!env || !*env) return kServiceWaitSeconds;
    char* end = nullptr;
    const double ms = std::strtod(env, &end);
    if (end == env || *end || !(ms >= 0)) return kServiceWaitSeconds;
    return std::min(kServiceWaitSeconds, ms / 1000.0);
}

// The wait the PrintServiceWait scopes share.
struct SharedWait {
    int scopes = 0;           // PrintServiceWait alive
    double silence = 0;       // seconds the service has kept the scope's requests waiting
    bool unanswered = false;  // it left one unanswered: the rest fail at once
    // The destinations the service described in this wait, by the name they
    // were asked for: once it stops answering (the wait is spent), a printer
    // it has described is still that printer, and the print goes on to its
    // handover, which fails as unanswered, the job kept.
    std::map<std::string, PrinterConfig> described;
};

std::mutex g_waitLock;
SharedWait g_wait;

// Ends a wait for the service's answer once its time is spent, however the
// service spreads its bytes over it. libcups asks whether to go on only
// after a quiet step while it reads a line, and inside an answer's body it
// does not ask at all: a service that answers in pieces with pauses would
// be waited for a step, or a whole bound, a piece. At the deadline the
// connection is shut, and what libcups waits for fails at once.
class Deadline {
public:
    Deadline() = default;
    ~Deadline()
    {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_quit = true;
        }
        m_changed.notify_all();
        if (m_thread.joinable()) m_thread.join();
    }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

    void Arm(int fd, Clock::time_point at)
    {
        struct stat socket;
        if (fd < 0 || ::fstat(fd, &socket) != 0) return;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_fd = fd;
            m_device = socket.st_dev;
            m_inode = socket.st_ino;
            m_at = at;
            m_armed = true;
            m_fired = false;
            if (!m_thread.joinable()) m_thread = std::thread([this] { Run(); });
        }
        m_changed.notify_all();
    }

    // True when the deadline came first.
    bool Disarm()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_armed = false;
        return m_fired;
    }

private:
    void Run()
    {
        std::unique_lock<std::mutex> lock(m_lock);
        while (!m_quit) {
            if (!m_armed) {
                m_changed.wait(lock);
                continue;
            }
            if (Clock::now() < m_at) {
                m_changed.wait_until(lock, m_at);
                continue;
            }
            // Only the socket it was armed for: libcups may have connected
            // again meanwhile, and the number be another file's now.
            struct stat socket;
            if (::fstat(m_fd, &socket) == 0 && socket.st_dev == m_device && socket.st_ino == m_inode)
                ::shutdown(m_fd, SHUT_RDWR);
            m_fired = true;
            m_armed = false;
        }
    }

    std::mutex m_lock;
    std::condition_variable m_changed;
    std::thread m_thread;
    bool m_armed = false;
    bool m_fired = false;
    bool m_quit = false;
    int m_fd = -1;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    Clock::time_point m_at;
};

// A connection to the scheduler, closed when the scope ends. Its requests
// wait for an answer only as long as the wait it belongs to has left: its
// own bound, or what the live PrintServiceWait scope has not used yet.
class Connection {
public:
    Connection()
    {
        double budget = ServiceWaitBound();
        {
            std::lock_guard<std::mutex> guard(g_waitLock);
            if (g_wait.scopes > 0) {
                m_shared = true;
                m_unanswered = g_wait.unanswered;
                budget -= g_wait.silence;
            }
        }
        if (m_unanswered || budget <= 0) {
            m_unanswered = true;
            return;
        }
        m_budget = budget;
        // The environment as it is now (CUPS_SERVER), not as libcups first saw it.
        cupsSetServer(nullptr);
        const int connectMs = std::max(1, static_cast<int>(std::min<double>(kConnectTimeoutMs, budget * 1000)));
        const Clock::time_point start = Clock::now();
        m_http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, connectMs, nullptr);
        m_silence = SecondsSince(start);
        // Refused at once: nothing listens there. Still nothing when the time
        // ran out: something there did not take the connection.
        if (!m_http && m_silence * 1000 >= connectMs - 50) m_unanswered = true;
        if (m_http) httpSetTimeout(m_http, kSilenceStep, &Connection::StillWaiting, this);
    }
    ~Connection()
    {
        if (m_http) httpClose(m_http);
        if (!m_shared) return;
        std::lock_guard<std::mutex> guard(g_waitLock);
        if (g_wait.scopes == 0) return;
        g_wait.silence += m_silence;
        if (m_unanswered) g_wait.unanswered = true;
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    http_t* Get() const { return m_http; }
    explicit operator bool() const { return m_http != nullptr; }

    // The service did not answer: it did not take the connection, or left a
    // request without any answer (none within the wait, or the connection
    // closed first), or it had already left one unanswered in this wait.
    bool Unanswered() const { return m_unanswered; }

    // A request on the connection came back with no response: true when the
    // service sent no answer at all (rather than refusing the request).
    bool NoAnswerTo(const ipp_t* response)
    {
        if (!response && m_http && httpGetStatus(m_http) == HTTP_STATUS_ERROR) m_unanswered = true;
        return !response && m_unanswered;
    }

    // The bound is used up: the service kept the connection waiting all of
    // it. Nothing more is asked on it.
    bool Spent()
    {
        if (m_http && m_silence < m_budget) return false;
        m_unanswered = true;
        return true;
    }

    // While one lives, the connection waits for the service's answer to a
    // request: all of that time counts toward the bound, however the
    // service spreads its bytes over it (a service that answers in pieces
    // with pauses between them is waited for its budget in all, not a
    // budget a piece).
    class AnswerWait {
    public:
        explicit AnswerWait(Connection& connection) : m_connection(connection)
        {
            Connection& c = m_connection;
            c.m_answerSince = Clock::now();
            c.m_answering = true;
            if (!c.m_http) return;
            const double left = std::max(0.0, c.m_budget - c.m_silence);
            c.m_deadline.Arm(httpGetFd(c.m_http),
                             c.m_answerSince + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(left)));
            // libcups gives up by itself on a pause inside an answer longer
            // than its step: the deadline is what ends this wait.
            httpSetTimeout(c.m_http, std::max(left, kSilenceStep), &Connection::StillWaiting, &c);
        }
        ~AnswerWait()
        {
            Connection& c = m_connection;
            c.m_silence += SecondsSince(c.m_answerSince);
            c.m_answering = false;
            if (!c.m_http) return;
            if (c.m_deadline.Disarm()) c.m_unanswered = true;
            httpSetTimeout(c.m_http, kSilenceStep, &Connection::StillWaiting, &c);
        }
        AnswerWait(const AnswerWait&) = delete;
        AnswerWait& operator=(const AnswerWait&) = delete;

    private:
        Connection& m_connection;
    };

private:
    // libcups asks, every kSilenceStep of a request's wait without a byte
    // from the service, whether to go on waiting.
    static int StillWaiting(http_t*, void* self)
    {
        Connection& connection = *static_cast<Connection*>(self);
        const Clock::time_point now = Clock::now();
        double used = connection.m_silence;
        if (connection.m_answering) {
            used += std::chrono::duration<double>(now - connection.m_answerSince).count();
        } else {
            // Sending a document: only the time the service takes none of it
            // counts. Asked again a step later: the same silence goes on.
            // Otherwise a new one began, at least a step ago.
            const double since = std::chrono::duration<double>(now - connection.m_lastAsked).count();
            connection.m_silence += since <= 2 * kSilenceStep ? since : kSilenceStep;
            connection.m_lastAsked = now;
            used = connection.m_silence;
        }
        if (used < connection.m_budget) return 1;
        connection.m_unanswered = true;
        return 0;
    }

    http_t* m_http = nullptr;
    bool m_shared = false;          // part of a PrintServiceWait scope's wait
    bool m_unanswered = false;
    double m_budget = 0;            // seconds of silence this connection may wait
    double m_silence = 0;           // seconds it has waited without an answer, up to the current wait
    bool m_answering = false;       // an AnswerWait lives
    Clock::time_point m_answerSince;   // when it began
    Clock::time_point m_lastAsked;  // when libcups last asked StillWaiting while a document went out
    Deadline m_deadline;            // ends an AnswerWait at the bound
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

// A request without a document, its whole time a wait for the answer.
ipp_t* Ask(Connection& http, ipp_t* request, const char* resource)
{
    if (http.Spent()) {
        ippDelete(request);
        return nullptr;
    }
    const Connection::AnswerWait wait(http);
    return cupsDoRequest(http.Get(), request, resource);
}

// A request with a document after it, and the service's answer.
struct Posted {
    ipp_t* response = nullptr;
    bool whole = false;   // the request and all of its document went out
    int readError = 0;    // the document could not be read to its end: errno
};

// Sends the request and the open file after it and waits for the answer,
// as cupsDoFileRequest does, but telling a request the service did not
// receive whole from one it received and left without an answer.
Posted PostWithFile(Connection& http, ipp_t* request, const char* resource, int fd, off_t size)
{
    Posted posted;
    // Local credentials from an earlier request are stale by now.
    const char* credentials = httpGetAuthString(http.Get());
    if (credentials && std::strncmp(credentials, "Local ", 6) == 0) httpSetAuthString(http.Get(), nullptr, nullptr);
    const size_t length = ippLength(request) + static_cast<size_t>(size);
    // Asked for credentials or encryption after the document, the request
    // goes again, as libcups sends its own.
    for (int attempt = 0; attempt < 3 && !posted.response && !http.Spent(); ++attempt) {
        posted.whole = false;
        http_status_t status;
        {
            const Connection::AnswerWait wait(http);   // the request, and the service's go-ahead
            status = cupsSendRequest(http.Get(), request, resource, length);
        }
        if (status == HTTP_STATUS_CONTINUE && ippGetState(request) == IPP_STATE_DATA) {
            char buffer[32768];
            bool ended = false;   // the whole file was read
            if (::lseek(fd, 0, SEEK_SET) != 0) posted.readError = errno;
            while (!posted.readError && !ended && status == HTTP_STATUS_CONTINUE) {
                const ssize_t got = ::read(fd, buffer, sizeof buffer);
                if (got < 0 && errno != EINTR) posted.readError = errno;
                else if (got == 0) ended = true;
                else if (got > 0) status = cupsWriteRequestData(http.Get(), buffer, static_cast<size_t>(got));
            }
            posted.whole = ended && status == HTTP_STATUS_CONTINUE && httpFlushWrite(http.Get()) >= 0;
            if (!posted.whole && status == HTTP_STATUS_CONTINUE) break;
        }
        if (status != HTTP_STATUS_CONTINUE && status != HTTP_STATUS_OK) break;
        {
            const Connection::AnswerWait wait(http);
            posted.response = cupsGetResponse(http.Get(), resource);
        }
        const http_status_t answer = httpGetStatus(http.Get());
        if (answer != HTTP_STATUS_UNAUTHORIZED && answer != HTTP_STATUS_UPGRADE_REQUIRED) break;
    }
    return posted;
}

std::wstring Wide(const char* text)
{
    return text ? FromUtf8(text) : std::wstring();
}

// The scheduler as the user would name it: its socket, or its host with the
// port when that is not IPP's own.
std::wstring ServerName()
{
    const std::string server = cupsServer();
    if (server.empty() || server[0] == '/' || ippPort() == IPP_PORT) return Wide(server.c_str());
    return Wide((server + ":" + std::to_string(ippPort())).c_str());
}

std::wstring NotRunning()
{
    return L"印刷サービス (CUPS, " + ServerName() + L") に接続できません";
}

std::wstring NotAnswering()
{
    return L"印刷サービス (CUPS, " + ServerName() + L") が応答しませんでした";
}

std::wstring NotConfirming()
{
    return L"印刷サービス (CUPS, " + ServerName() + L") がジョブの受け付けを確認しませんでした";
}

// Why the service could not be asked: it did not answer, or cannot be reached.
std::wstring Unreachable(const Connection& http)
{
    return http.Unanswered() ? NotAnswering() : NotRunning();
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

// What the scheduler said of one destination.
enum class Description {
    Given,      // its printer group
    NotThere,   // it has no destination of that name
    Refused,    // it answered the request with an error of another kind
    NoAnswer,   // it did not answer
};

// The scheduler's description of one destination (its printer group, kept
// in `response`).
Description Describe(Connection& http, const std::string& destination, Response& response, Attributes& printer)
{
    if (!IsDestinationName(destination)) return Description::NotThere;
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, PrinterUri(destination).c_str());
    RequestDescription(request);
    response.Reset(Ask(http, request, "/"));
    if (http.NoAnswerTo(response.Get())) return Description::NoAnswer;
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) return Description::NotThere;
    if (!response.Get() || cupsLastError() > IPP_STATUS_OK_CONFLICTING) return Description::Refused;
    const std::vector<Attributes> groups = PrinterGroups(response.Get());
    if (groups.empty() || !Text(groups.front(), "printer-name")) return Description::NotThere;
    printer = groups.front();
    return Description::Given;
}

// What a lookup of a destination by name found.
enum class Lookup {
    Found,
    Missing,       // the scheduler has no such destination
    Refused,       // the scheduler answered the question with an error
    Unreachable,   // nothing takes connections where the scheduler should be
    Unanswered,    // the scheduler did not answer
};

Lookup AskForDestination(const std::string& destination, PrinterConfig& printer)
{
    Connection http;
    if (!http) return http.Unanswered() ? Lookup::Unanswered : Lookup::Unreachable;
    Response response(nullptr);
    Attributes attributes;
    switch (Describe(http, destination, response, attributes)) {
    case Description::Given:
        printer = PrinterOf(attributes);
        return Lookup::Found;
    case Description::NotThere:
        return Lookup::Missing;
    case Description::Refused:
        return Lookup::Refused;
    case Description::NoAnswer:
        break;
    }
    return Lookup::Unanswered;
}

// A service slow to answer spends the wait on the many lookups of one
// print's setup; the printer it described in this wait is not lost for it,
// or the print would end before its job exists, without a word of the
// service. The handover then finds the wait spent and keeps the job.
Lookup LookUpDestination(const std::string& destination, PrinterConfig& printer)
{
    if (!IsDestinationName(destination)) return Lookup::Missing;
    const Lookup result = AskForDestination(destination, printer);
    std::lock_guard<std::mutex> guard(g_waitLock);
    if (g_wait.scopes == 0) return result;
    if (result == Lookup::Found) {
        g_wait.described[destination] = printer;
    } else if (result == Lookup::Unanswered) {
        const auto known = g_wait.described.find(destination);
        if (known == g_wait.described.end()) return result;
        printer = known->second;
        return Lookup::Found;
    }
    return result;
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

// The job went out whole and no answer came: the user is not told that it
// failed, or a print made again would come out twice.
void ShowUnconfirmed(const PrinterConfig& printer, const std::wstring& cause, const std::string& kept)
{
    const DWORD error = GetLastError();
    const std::wstring text = L"プリンター「" + printer.name + L"」のジョブは送り終えましたが、" + cause +
                              L"。ジョブはこのあと印刷されることがあります。印刷されなかったときだけ、"
                              L"スプールフォルダーに残した印刷データを送り直してください: " + FromUtf8(kept);
    MessageBoxW(nullptr, text.c_str(), printer.name.c_str(), MB_OK | MB_ICONWARNING);
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
    Response response(Ask(http, request, "/"));
    if (http.NoAnswerTo(response.Get()) || !response.Get()) return printers;
    for (const Attributes& attributes : PrinterGroups(response.Get())) {
        if (Text(attributes, "printer-name")) printers.push_back(PrinterOf(attributes));
    }
    return printers;
}

bool FindCupsPrinter(const std::wstring& name, PrinterConfig& printer)
{
    if (ServiceAside()) return false;
    return LookUpDestination(ToUtf8(name), printer) == Lookup::Found;
}

std::wstring CupsDefaultPrinterName()
{
    if (ServiceAside()) return std::wstring();
    Connection http;
    if (!http) return std::wstring();
    const char* name = nullptr;
    if (!http.Spent()) {
        const Connection::AnswerWait wait(http);
        name = cupsGetDefault2(http.Get());
    }
    if (!name) http.NoAnswerTo(nullptr);
    return Wide(name);
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
    // Asked again for the cause: a service that did not answer FindPrinter is
    // not waited for twice.
    const PrintServiceWait wait;
    const std::wstring service = L"印刷サービス (CUPS, " + ServerName() + L")";
    switch (LookUpDestination(ToUtf8(name), printer)) {
    case Lookup::Found:
        return std::wstring();
    case Lookup::Missing:
        break;
    case Lookup::Refused:
        return L"登録されたプリンターになく、" + service + L" が問い合わせに答えられませんでした: " +
               Wide(cupsLastErrorString());
    case Lookup::Unreachable:
        return L"登録されたプリンターになく、" + service + L" に接続できません";
    case Lookup::Unanswered:
        return L"登録されたプリンターになく、" + service + L" が応答しませんでした";
    }
    // Only the service's own answer says it has no such printer.
    return L"登録されたプリンターにも" + service + L" にもありません";
}

PrintServiceAside::PrintServiceAside()
{
    ++g_aside;
}

PrintServiceAside::~PrintServiceAside()
{
    --g_aside;
}

PrintServiceWait::PrintServiceWait()
{
    std::lock_guard<std::mutex> guard(g_waitLock);
    if (g_wait.scopes++ == 0) {
        g_wait = SharedWait{};
        g_wait.scopes = 1;
    }
}

PrintServiceWait::~PrintServiceWait()
{
    std::lock_guard<std::mutex> guard(g_waitLock);
    if (--g_wait.scopes == 0) g_wait = SharedWait{};
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
    switch (Describe(*static_cast<Connection*>(connection), m_destination, response, printer)) {
    case Description::Given:
        break;
    case Description::NotThere:
        cause = L"CUPS にプリンター " + destination + L" がありません";
        error = ERROR_INVALID_PRINTER_NAME;
        return false;
    case Description::Refused:
        cause = L"CUPS がプリンター " + destination + L" の問い合わせに答えられませんでした: " + Wide(cupsLastErrorString());
        error = ERROR_INVALID_PRINTER_STATE;
        return false;
    case Description::NoAnswer:
        cause = NotAnswering();
        error = ERROR_NOT_READY;
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
    m_unconfirmed = false;
    Connection http;
    if (!http) {
        cause = Unreachable(http);
        error = ERROR_NOT_READY;
        return false;
    }
    // The destination as it is now: removed, paused or closed since the job began.
    if (!CheckDestination(&http, cause, error)) return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat file;
    if (fd < 0 || ::fstat(fd, &file) != 0) {
        cause = L"印刷データを読めません (" + FromUtf8(path) + L")";
        error = ErrorFromErrno(errno);
        if (fd >= 0) ::close(fd);
        return false;
    }
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
    const Posted posted = PostWithFile(http, request, resource.c_str(), fd, file.st_size);
    ::close(fd);
    ippDelete(request);
    Response response(posted.response);
    if (posted.readError) {
        cause = L"印刷データを読めません (" + FromUtf8(path) + L")";
        error = ErrorFromErrno(posted.readError);
        return false;
    }
    if (http.NoAnswerTo(response.Get())) {
        // Sent whole and left without an answer: the service may have made
        // the job, and may print it once it goes on. Only a job it did not
        // receive whole is sure not to print.
        m_unconfirmed = posted.whole;
        cause = posted.whole ? NotConfirming() : NotAnswering();
        error = ERROR_NOT_READY;
        return false;
    }
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
    handover.unconfirmed = cups.Unconfirmed();
    Record(handover);
    if (handover.unconfirmed) {
        ShowUnconfirmed(printer, cause, handover.keptData);
        return true;
    }
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
