// Running the example host and the record maker as a user does, and reading
// what the host prints about each record.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace hosttest {

struct HostRun {
    int status = -1;   // the exit status; -1 when the program did not exit by itself
    std::string out;
    std::string err;
};

inline std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs a program of the build (bin/NAME) with the arguments, in `folder`
// when one is given.
inline HostRun RunProgram(const std::string& name, const std::vector<std::string>& args, const std::string& folder = "")
{
    testsupport::TempDir scratch;
    const std::string errFile = scratch.File("stderr");
    std::string command = folder.empty() ? std::string() : "cd " + Quoted(folder) + " && ";
    command += Quoted(testsupport::BinaryDir() + "/bin/" + name);
    for (const std::string& arg : args) command += " " + Quoted(arg);
    command += " 2>" + Quoted(errFile);
    HostRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = testsupport::ReadFileBytes(errFile);
    return run;
}

inline HostRun Host(const std::vector<std::string>& args, const std::string& folder = "")
{
    return RunProgram("morvelance-host", args, folder);
}

// Runs the host with `args` printing to the PDF `pdf` (its "--pdf"); a run
// that fails fails the test. The PDF's path.
inline std::string HostPdf(const std::vector<std::string>& args, const std::string& pdf)
{
    std::vector<std::string> all = args;
    all.push_back("--pdf");
    all.push_back(pdf);
    const HostRun run = Host(all);
    EXPECT_EQ(0, run.status) << run.err;
    return pdf;
}

// The host's lines about each record, by the record's path as given: from
// the line that names it to the next unindented line.
inline std::map<std::string, std::string> Sections(const std::string& out)
{
    std::map<std::string, std::string> sections;
    std::istringstream lines(out);
    std::string line, current;
    while (std::getline(lines, line)) {
        if (!line.empty() && line[0] != ' ') {
            current = line;
            sections[current];
            continue;
        }
        if (!current.empty()) sections[current] += line + "\n";
    }
    return sections;
}

inline int Number(const std::string& text, const std::regex& pattern)
{
    std::smatch match;
    return std::regex_search(text, match, pattern) ? std::stoi(match[1]) : -1;
}

// The line of info that says what the host's file list shows of the record.
inline std::string FileListLine(const std::string& out)
{
    std::smatch match;
    return std::regex_search(out, match, std::regex("  file list +([^\\n]*)")) ? match[1].str() : std::string();
}

// The id and name of a file-list line ('..., id "X", name "Y", ...').
inline std::string ListedField(const std::string& line, const char* field)
{
    std::smatch match;
    return std::regex_search(line, match, std::regex(std::string(field) + " \"([^\"]*)\"")) ? match[1].str()
                                                                                           : std::string();
}

// The lead count of the file-list line ("..., 12 leads").
inline int FileListLeads(const std::string& section)
{
    return Number(section, std::regex("file list .*, (\\d+) leads"));
}

// info's lead count: its "lead count" line, or for MFER files the leads it lists.
inline int InfoLeads(const std::string& section)
{
    const int counted = Number(section, std::regex("lead count +(\\d+)"));
    if (counted >= 0) return counted;
    std::smatch match;
    if (!std::regex_search(section, match, std::regex("  leads +([^\\n]*)"))) return -1;
    std::istringstream names(match[1].str());
    int leads = 0;
    for (std::string name; names >> name;) ++leads;
    return leads;
}

// The leads open shows: samples per lead, in the order shown.
inline std::vector<int> OpenedLeads(const std::string& section)
{
    std::vector<int> samples;
    const std::regex lead("#\\d+:(\\d+) \\[");
    for (auto it = std::sregex_iterator(section.begin(), section.end(), lead); it != std::sregex_iterator(); ++it)
        samples.push_back(std::stoi((*it)[1]));
    return samples;
}

}  // namespace hosttest
