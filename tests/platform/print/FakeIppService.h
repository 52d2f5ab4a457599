// A print service of the test's own on 127.0.0.1: it speaks just enough
// HTTP and IPP for the print layer's requests, has one destination, and
// misbehaves as a test asks. It answers every question with that
// destination (idle, taking jobs); a print job it reads whole and then
// answers, or never answers; its answers can come in pieces with pauses
// between them, as a slow or overloaded service sends them, and it can read
// a print job's document with pauses.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ipptest {

// What the service does once it has read a print job whole.
enum class JobAnswer {
    Given,   // job-id 7
    Never,   // nothing, for as long as the service lives
};

// A socket listening on 127.0.0.1 at a port the system chose (`port`); -1
// when none could be had.
inline int ListenOnLoopback(int& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || ::listen(fd, 16) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (fd >= 0) ::close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

class FakeIppService {
public:
    explicit FakeIppService(const std::string& destination, JobAnswer job = JobAnswer::Given)
        : m_destination(destination), m_job(job)
    {
        m_listen = ListenOnLoopback(m_port);
        if (m_listen < 0) return;
        m_accepting = std::thread([this] { Accept(); });
    }
    ~FakeIppService()
    {
        m_stop = true;
        if (m_accepting.joinable()) m_accepting.join();
        std::vector<std::thread> clients;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            clients.swap(m_clients);
        }
        for (std::thread& client : clients) client.join();
        if (m_listen >= 0) ::close(m_listen);
    }
    FakeIppService(const FakeIppService&) = delete;
    FakeIppService& operator=(const FakeIppService&) = delete;

    int Port() const { return m_port; }
    std::string Server() const { return "127.0.0.1:" + std::to_string(m_port); }

    // Every answer from now on comes in `pieces` parts, each after `pause`.
    void AnswerInPieces(int pieces, std::chrono::milliseconds pause)
    {
        m_pieces = std::max(1, pieces);
        m_pauseMs = static_cast<int>(pause.count());
    }

    // Every print job from now on is read in `pieces` parts, the service
    // taking none of it for `pause` before each part after the first, as a
    // busy service reads a long document: the sender's writes wait on it.
    // Its receive buffer is kept small, so that the wait falls while the
    // document is being sent, not after it.
    void ReadJobsInPieces(int pieces, std::chrono::milliseconds pause)
    {
        m_readPieces = std::max(1, pieces);
        m_readPauseMs = static_cast<int>(pause.count());
    }

    // The print job requests read whole so far, attributes and document.
    std::vector<std::string> Jobs() const
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_jobs;
    }

    // The connections the service has taken so far. A client that asks
    // nothing takes none; one that waits for an answer is taken while it
    // waits.
    int Connections() const { return m_connections; }

    // When the last print job request was read whole, as the service's
    // thread saw it: after the printing program's wait for the answer began,
    // by as long as the machine's load kept the thread from running. A wait
    // measured from it is at most the program's; its least is measured from
    // a moment before the program was asked to print.
    std::chrono::steady_clock::time_point LastJobAt() const
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_lastJobAt;
    }

private:
    void Accept()
    {
        while (!m_stop) {
            pollfd wait = {m_listen, POLLIN, 0};
            if (::poll(&wait, 1, 50) <= 0) continue;
            const int fd = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) continue;
            ++m_connections;
            if (m_readPieces > 1) {
                const int small = 16384;
                ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
            }
            std::lock_guard<std::mutex> guard(m_lock);
            m_clients.emplace_back([this, fd] {
                Serve(fd);
                ::close(fd);
            });
        }
    }

    // Bytes from the client, waiting while the service lives; false once it
    // has closed or the service ends.
    bool Read(int fd, std::string& into, size_t atLeast)
    {
        char buffer[65536];
        while (into.size() < atLeast) {
            pollfd wait = {fd, POLLIN, 0};
            if (m_stop) return false;
            if (::poll(&wait, 1, 50) <= 0) continue;
            const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
            if (got <= 0) return false;
            into.append(buffer, static_cast<size_t>(got));
        }
        return true;
    }

    void Send(int fd, const std::string& bytes)
    {
        for (size_t sent = 0; sent < bytes.size();) {
            const ssize_t put = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (put <= 0) return;
            sent += static_cast<size_t>(put);
        }
    }

    // Holds the connection without a word until the service ends.
    void Hold()
    {
        while (!m_stop) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }

    void Serve(int fd)
    {
        std::string pending;
        for (;;) {
            size_t end = std::string::npos;
            while ((end = pending.find("\r\n\r\n")) == std::string::npos)
                if (!Read(fd, pending, pending.size() + 1)) return;
            std::string head = pending.substr(0, end + 2);
            pending.erase(0, end + 4);
            for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            const size_t lengthAt = head.find("\r\ncontent-length:");
            const size_t length = lengthAt == std::string::npos ? 0 : std::strtoul(head.c_str() + lengthAt + 17, nullptr, 10);
            if (head.find("\r\nexpect: 100-continue") != std::string::npos) Send(fd, "HTTP/1.1 100 Continue\r\n\r\n");
            // A long document (a print job's) is read in its parts, pausing between them.
            const int parts = length > 65536 ? m_readPieces.load() : 1;
            for (int part = 1; part < parts; ++part) {
                if (!Read(fd, pending, length / parts * part)) return;
                std::this_thread::sleep_for(std::chrono::milliseconds(m_readPauseMs));
            }
            if (!Read(fd, pending, length)) return;
            const std::string body = pending.substr(0, length);
            pending.erase(0, length);
            if (body.size() < 8) return;
            const int operation = (static_cast<unsigned char>(body[2]) << 8) | static_cast<unsigned char>(body[3]);
            const std::string requestId = body.substr(4, 4);
            std::string answer;
            if (operation == 0x0002) {   // Print-Job
                {
                    std::lock_guard<std::mutex> guard(m_lock);
                    m_jobs.push_back(body);
                    m_lastJobAt = std::chrono::steady_clock::now();
                }
                if (m_job == JobAnswer::Never) return Hold();
                answer = JobAnswerFor(requestId);
            } else {
                answer = DestinationAnswerFor(requestId);
            }
            SendInPieces(fd, "HTTP/1.1 200 OK\r\nContent-Type: application/ipp\r\nContent-Length: " +
                                 std::to_string(answer.size()) + "\r\n\r\n" + answer);
        }
    }

    void SendInPieces(int fd, const std::string& bytes)
    {
        const int pieces = m_pieces;
        const size_t size = (bytes.size() + pieces - 1) / pieces;
        for (size_t at = 0; at < bytes.size(); at += size) {
            std::this_thread::sleep_for(std::chrono::milliseconds(m_pauseMs));
            if (m_stop) return;
            Send(fd, bytes.substr(at, size));
        }
    }

    static std::string Attribute(char tag, const std::string& name, const std::string& value)
    {
        std::string out(1, tag);
        out += static_cast<char>(name.size() >> 8);
        out += static_cast<char>(name.size() & 0xff);
        out += name;
        out += static_cast<char>(value.size() >> 8);
        out += static_cast<char>(value.size() & 0xff);
        return out + value;
    }

    static std::string Header(const std::string& requestId)
    {
        std::string out("\x02\x00\x00\x00", 4);   // IPP 2.0, successful-ok
        out += requestId;
        out += '\x01';
        out += Attribute('\x47', "attributes-charset", "utf-8");
        out += Attribute('\x48', "attributes-natural-language", "en");
        return out;
    }

    std::string DestinationAnswerFor(const std::string& requestId) const
    {
        std::string out = Header(requestId);
        out += '\x04';
        out += Attribute('\x42', "printer-name", m_destination);
        out += Attribute('\x23', "printer-state", std::string("\x00\x00\x00\x03", 4));   // idle
        out += Attribute('\x22', "printer-is-accepting-jobs", std::string("\x01", 1));
        out += '\x03';
        return out;
    }

    static std::string JobAnswerFor(const std::string& requestId)
    {
        std::string out = Header(requestId);
        out += '\x02';
        out += Attribute('\x21', "job-id", std::string("\x00\x00\x00\x07", 4));
        out += '\x03';
        return out;
    }

    const std::string m_destination;
    const JobAnswer m_job;
    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_connections{0};
    std::atomic<int> m_pieces{1};
    std::atomic<int> m_pauseMs{0};
    std::atomic<int> m_readPieces{1};
    std::atomic<int> m_readPauseMs{0};
    mutable std::mutex m_lock;
    std::vector<std::thread> m_clients;
    std::vector<std::string> m_jobs;
    std::chrono::steady_clock::time_point m_lastJobAt;
    std::thread m_accepting;
};

}  // namespace ipptest
