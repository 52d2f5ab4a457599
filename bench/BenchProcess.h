// Runs a program of the build as a user runs it, its output thrown away, for
// the benchmarks that time the example host: whether it ended well, and the
// processor time and memory it took (its own, not the benchmark's).
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

struct ProgramRun {
    bool ok = false;      // it ran and exited with 0
    double cpu = 0;       // user and system seconds
    double peakMiB = 0;   // its largest resident size
};

// `folder`: where it runs ("" for here); `environment`: its whole
// environment (null for this process's).
inline ProgramRun RunQuietly(const std::string& program, const std::vector<std::string>& args,
                             const std::string& folder = std::string(),
                             const std::vector<std::string>* environment = nullptr)
{
    std::vector<std::string> words = {program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(&word[0]);
    argv.push_back(nullptr);
    std::vector<std::string> entries = environment ? *environment : std::vector<std::string>();
    std::vector<char*> envp;
    for (std::string& entry : entries) envp.push_back(&entry[0]);
    envp.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(126);
        if (environment) execve(program.c_str(), argv.data(), envp.data());
        else execv(program.c_str(), argv.data());
        _exit(127);
    }
    ProgramRun run;
    int status = 0;
    struct rusage used {};
    if (pid > 0 && wait4(pid, &status, 0, &used) == pid) {
        run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        run.cpu = used.ru_utime.tv_sec + used.ru_stime.tv_sec + (used.ru_utime.tv_usec + used.ru_stime.tv_usec) * 1e-6;
        run.peakMiB = used.ru_maxrss / 1024.0;
    }
    return run;
}
