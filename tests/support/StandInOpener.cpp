#include "tests/support/StandInOpener.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace testsupport {

namespace {

// Each argument on a line of its own; the folder it ran in beside them.
std::string OpenerScript(int status)
{
    std::ostringstream script;
    script << "#!/bin/sh\n"
           << "record=$(dirname \"$0\")/..\n"
           << ": > \"$record/arguments\"\n"
           << "for argument in \"$@\"; do printf '%s\\n' \"$argument\" >> \"$record/arguments\"; done\n"
           << "pwd > \"$record/folder\"\n"
           << "exit " << status << "\n";
    return script.str();
}

std::vector<std::string> Lines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

StandInOpener::StandInOpener(OpenerBehaviour behaviour)
{
    std::filesystem::create_directory(m_dir.File("bin"));
    std::filesystem::create_directory(m_dir.File("scratch"));
    if (behaviour != OpenerBehaviour::Absent) {
        const std::string opener = m_dir.File("bin/xdg-open");
        std::ofstream(opener) << OpenerScript(behaviour == OpenerBehaviour::Opens ? 0 : 4);
        chmod(opener.c_str(), 0755);
    }
    const char* path = std::getenv("PATH");
    m_hadPath = path != nullptr;
    if (path) m_oldPath = path;
    // Absent: the folder alone, so no opener of the machine is found either.
    const std::string searched =
        behaviour == OpenerBehaviour::Absent || !m_hadPath ? m_dir.File("bin") : m_dir.File("bin") + ":" + m_oldPath;
    setenv("PATH", searched.c_str(), 1);
}

StandInOpener::~StandInOpener()
{
    if (m_hadPath)
        setenv("PATH", m_oldPath.c_str(), 1);
    else
        unsetenv("PATH");
}

bool StandInOpener::Ran() const
{
    return std::filesystem::exists(m_dir.File("arguments"));
}

std::vector<std::string> StandInOpener::Arguments() const
{
    return Lines(m_dir.File("arguments"));
}

std::string StandInOpener::Folder() const
{
    const std::vector<std::string> lines = Lines(m_dir.File("folder"));
    return lines.empty() ? std::string() : lines.front();
}

void StandInOpener::Forget() const
{
    std::error_code ec;
    std::filesystem::remove(m_dir.File("arguments"), ec);
    std::filesystem::remove(m_dir.File("folder"), ec);
}

std::string StandInOpener::Scratch() const
{
    return m_dir.File("scratch");
}

}  // namespace testsupport
