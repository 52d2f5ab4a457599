// A print scheduler of the test's own: the cups package's cupsd with its
// configuration, spool and logs in a temporary folder, listening on a socket
// there only, so nothing of the machine's printing is touched. Its
// destinations print through a small back end that writes each job it
// receives into a folder: job-<id>.data (the bytes) and job-<id>.attrs (the
// user, title, copies and options the scheduler gave it).
#pragma once

#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace cupstest {

// How long the scheduler may take to start, or its back end to write the
// jobs it was given, at most: the waits are for those states, never for a
// time, so this only bounds a run that went wrong, on a machine loaded with
// every other build and test.
constexpr std::chrono::seconds kPatience(120);

// One job as the back end received it.
struct Delivered {
    int id = 0;
    std::string data;
    std::string attrs;
};

inline std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline std::string Shell(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

class CupsScheduler {
public:
    CupsScheduler()
    {
        char folder[] = "/tmp/mvcups-XXXXXX";   // short: a socket path holds 107 bytes at most
        if (::mkdtemp(folder)) m_dir = folder;
    }
    ~CupsScheduler()
    {
        Stop();
        if (!m_dir.empty()) std::system(("rm -rf " + Shell(m_dir)).c_str());
    }
    CupsScheduler(const CupsScheduler&) = delete;
    CupsScheduler& operator=(const CupsScheduler&) = delete;

    const std::string& Socket() const { return m_socket; }
    const std::string& Received() const { return m_out; }
    // Why the scheduler did not start; empty once it runs.
    const std::string& Failure() const { return m_failure; }

    // Writes the configuration (the first time) and starts cupsd; false with Failure() set.
    bool Start()
    {
        if (m_dir.empty()) return Failed("no temporary folder for the scheduler");
        if (m_pid > 0) return true;
        if (m_socket.empty() && !Configure()) return false;
        if (::access("/usr/sbin/cupsd", X_OK) != 0) return Failed("/usr/sbin/cupsd is not installed (package cups-daemon)");
        m_pid = ::fork();
        if (m_pid == 0) {
            const std::string log = m_dir + "/log/cupsd.out";
            std::freopen(log.c_str(), "a", stdout);
            std::freopen(log.c_str(), "a", stderr);
            ::execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", (m_dir + "/etc/cupsd.conf").c_str(), "-s",
                    (m_dir + "/etc/cups-files.conf").c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        const auto until = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < until) {
            if (Answers()) {
                m_failure.clear();
                return true;
            }
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return Failed("cupsd ended at once: " + ReadAll(m_dir + "/log/cupsd.out") +
                              ReadAll(m_dir + "/log/error_log"));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        Stop();
        return Failed("cupsd did not answer on " + m_socket);
    }

    void Stop()
    {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
    }

    // lpadmin and the other client programs, against this scheduler.
    bool Admin(const std::string& arguments) const
    {
        const std::string command = "CUPS_SERVER=" + Shell(m_socket) + " " + arguments + " >>" +
                                    Shell(m_dir + "/log/admin.out") + " 2>&1";
        return std::system(command.c_str()) == 0;
    }
    std::string AdminOutput(const std::string& arguments) const
    {
        std::string text;
        const std::string command = "CUPS_SERVER=" + Shell(m_socket) + " " + arguments + " 2>&1";
        if (FILE* pipe = ::popen(command.c_str(), "r")) {
            char buffer[4096];
            size_t n;
            while ((n = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) text.append(buffer, n);
            ::pclose(pipe);
        }
        return text;
    }

    // A raw destination (no filters: what it is given, its back end gets).
    bool AddDestination(const std::string& name) const
    {
        return Admin("lpadmin -p " + Shell(name) + " -E -v " + Shell("testsink:" + m_out));
    }

    // The jobs the back end has written, by CUPS job id.
    std::map<int, Delivered> Jobs() const
    {
        std::map<int, Delivered> jobs;
        DIR* dir = ::opendir(m_out.c_str());
        if (!dir) return jobs;
        while (const dirent* entry = ::readdir(dir)) {
            int id = 0;
            char tail[16] = {};
            if (std::sscanf(entry->d_name, "job-%d.%15s", &id, tail) != 2 || std::strcmp(tail, "data") != 0) continue;
            Delivered job;
            job.id = id;
            job.data = ReadAll(m_out + "/" + entry->d_name);
            job.attrs = ReadAll(m_out + "/job-" + std::to_string(id) + ".attrs");
            jobs[id] = job;
        }
        ::closedir(dir);
        return jobs;
    }

    // The jobs after the first `before`, in id order, waiting for `count` of them.
    std::vector<Delivered> JobsAfter(size_t before, size_t count) const
    {
        std::vector<Delivered> jobs;
        size_t index = 0;
        for (const auto& job : WaitForJobs(before + count)) {
            if (index++ >= before) jobs.push_back(job.second);
        }
        return jobs;
    }

    // Waits until the back end has written `count` jobs (a run gone wrong
    // ends after kPatience).
    std::map<int, Delivered> WaitForJobs(size_t count) const
    {
        std::map<int, Delivered> jobs;
        const auto until = std::chrono::steady_clock::now() + kPatience;
        for (;;) {
            jobs = Jobs();
            if (jobs.size() >= count || std::chrono::steady_clock::now() > until) break;
            if (jobs.size() >= count) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return jobs;
    }

private:
    bool Failed(const std::string& why)
    {
        m_failure = why;
        return false;
    }

    bool Answers() const
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (fd < 0) return false;
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, m_socket.c_str(), sizeof(address.sun_path) - 1);
        const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
        ::close(fd);
        return connected;
    }

    static bool WriteFile(const std::string& path, const std::string& text, mode_t mode = 0644)
    {
        std::ofstream out(path, std::ios::binary);
        out << text;
        out.close();
        return out.good() && ::chmod(path.c_str(), mode) == 0;
    }

    bool Configure()
    {
        m_socket = m_dir + "/cups.sock";
        m_out = m_dir + "/received";
        for (const char* sub : {"/etc", "/spool", "/spool/tmp", "/cache", "/state", "/log", "/bin", "/bin/backend",
                                "/received"}) {
            if (::mkdir((m_dir + sub).c_str(), 0755) != 0) return Failed("cannot make " + m_dir + sub);
        }
        ::chmod(m_out.c_str(), 0777);
        // The scheduler starts filters and back ends through its own helper.
        if (::symlink("/usr/lib/cups/daemon", (m_dir + "/bin/daemon").c_str()) != 0)
            return Failed("cannot link the scheduler's helpers");
        const std::string conf = "Listen " + m_socket +
                                 "\nLogLevel warn\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
                                 "DirtyCleanInterval 0\nMaxJobTime 60\n"
                                 "<Location />\nOrder allow,deny\nAllow all\n</Location>\n"
                                 "<Policy default>\nJobPrivateAccess all\nJobPrivateValues none\n"
                                 "SubscriptionPrivateAccess all\nSubscriptionPrivateValues none\n"
                                 "<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n";
        const std::string files = "ServerRoot " + m_dir + "/etc\nRequestRoot " + m_dir + "/spool\nTempDir " + m_dir +
                                  "/spool/tmp\nCacheDir " + m_dir + "/cache\nStateDir " + m_dir + "/state\nServerBin " +
                                  m_dir + "/bin\nAccessLog " + m_dir + "/log/access_log\nErrorLog " + m_dir +
                                  "/log/error_log\nPageLog " + m_dir + "/log/page_log\nSystemGroup root\n";
        // Runs as root (mode 0700), so it may write wherever the test says.
        const std::string backend =
            "#!/bin/sh\n"
            "[ $# -eq 0 ] && { echo 'direct testsink \"Unknown\" \"Test sink\"'; exit 0; }\n"
            "out=\"${DEVICE_URI#testsink:}\"\n"
            "if [ $# -ge 6 ]; then cat \"$6\" > \"$out/.part-$1\"; else cat > \"$out/.part-$1\"; fi\n"
            "printf '%s\\n' \"user=$2\" \"title=$3\" \"copies=$4\" \"options=$5\" > \"$out/job-$1.attrs\"\n"
            "mv \"$out/.part-$1\" \"$out/job-$1.data\"\n";
        if (!WriteFile(m_dir + "/etc/cupsd.conf", conf) || !WriteFile(m_dir + "/etc/cups-files.conf", files) ||
            !WriteFile(m_dir + "/bin/backend/testsink", backend, 0700))
            return Failed("cannot write the scheduler's configuration");
        return true;
    }

    std::string m_dir;
    std::string m_socket;
    std::string m_out;
    std::string m_failure;
    pid_t m_pid = -1;
};

// A fixture whose tests share one scheduler: made for the suite's first
// test, stopped and removed after its last.
template <class Base> class WithScheduler : public Base {
protected:
    static void SetUpTestSuite() { s_scheduler = new CupsScheduler(); }
    static void TearDownTestSuite()
    {
        delete s_scheduler;
        s_scheduler = nullptr;
    }

    static CupsScheduler* s_scheduler;
};

template <class Base> CupsScheduler* WithScheduler<Base>::s_scheduler = nullptr;

}  // namespace cupstest

// A test that needs the scheduler fails without it in CI, and is skipped
// with the reason elsewhere.
#define CUPS_SCHEDULER_OR_SKIP(scheduler)                                                               \
    do {                                                                                                \
        if (!(scheduler).Start()) {                                                                     \
            if (std::getenv("CI")) FAIL() << "the test's print scheduler: " << (scheduler).Failure();   \
            GTEST_SKIP() << "no print scheduler for the test: " << (scheduler).Failure();               \
        }                                                                                               \
    } while (0)
