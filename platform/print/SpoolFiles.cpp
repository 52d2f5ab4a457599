#include "platform/print/SpoolFiles.h"

#include <dirent.h>

#include <algorithm>
#include <cstdlib>

#include "platform/base/CodePage.h"
#include "platform/base/Profile.h"

namespace platform {
namespace print {

namespace {

// Characters, not bytes: a Japanese name stays well inside NAME_MAX (255 bytes).
const size_t kMaxNameCharacters = 64;

std::string Escape(const std::wstring& value)
{
    std::string out;
    for (char c : ToUtf8(value)) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out.push_back(c);
    }
    return out;
}

std::wstring Unescape(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out.push_back(text[i]);
            continue;
        }
        const char next = text[++i];
        out.push_back(next == 'n' ? '\n' : next == 'r' ? '\r' : next);
    }
    return FromUtf8(out);
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::string SpoolFileNamePart(const std::wstring& document)
{
    std::wstring name;
    for (wchar_t c : document) {
        if (name.size() == kMaxNameCharacters) break;
        const bool forbidden = c < 0x20 || c == 0x7F || std::wstring(L"\\/:*?\"<>|").find(c) != std::wstring::npos;
        name.push_back(forbidden ? L'_' : c);
    }
    // A name of dots alone would name a folder.
    if (name.find_first_not_of(L'.') == std::wstring::npos) std::replace(name.begin(), name.end(), L'.', L'_');
    return ToUtf8(name);
}

std::string FormatSidecar(const SpooledJob& job)
{
    std::string text;
    text += "Job=" + std::to_string(job.id) + "\n";
    text += "Printer=" + Escape(job.printer) + "\n";
    text += "Document=" + Escape(job.document) + "\n";
    text += "Datatype=" + Escape(job.datatype) + "\n";
    text += "Pages=" + std::to_string(job.pages) + "\n";
    text += "Data=" + Escape(FromUtf8(job.dataFile)) + "\n";
    for (const auto& detail : job.details) text += detail.first + "=" + Escape(detail.second) + "\n";
    return text;
}

bool ParseSidecar(const std::string& text, SpooledJob& job)
{
    job = SpooledJob();
    bool hasId = false;
    bool hasData = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        const std::string raw = line.substr(equals + 1);
        if (key == "Job") {
            job.id = (DWORD)std::strtoul(raw.c_str(), nullptr, 10);
            hasId = job.id != 0;
        } else if (key == "Printer") {
            job.printer = Unescape(raw);
        } else if (key == "Document") {
            job.document = Unescape(raw);
        } else if (key == "Datatype") {
            job.datatype = Unescape(raw);
        } else if (key == "Pages") {
            job.pages = std::atoi(raw.c_str());
        } else if (key == "Data") {
            job.dataFile = ToUtf8(Unescape(raw));
            hasData = !job.dataFile.empty() && job.dataFile.find('/') == std::string::npos;
        } else {
            job.details.emplace_back(key, Unescape(raw));
        }
    }
    return hasId && hasData;
}

std::wstring SpooledJob::Detail(const std::string& key) const
{
    for (const auto& detail : details) {
        if (detail.first == key) return detail.second;
    }
    return std::wstring();
}

std::vector<SpooledJob> ListSpooledJobs(const std::string& folder)
{
    std::vector<SpooledJob> jobs;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return jobs;
    std::vector<std::string> sidecars;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (EndsWith(name, ".job")) sidecars.push_back(name);
    }
    closedir(dir);
    for (const std::string& name : sidecars) {
        std::string text;
        SpooledJob job;
        if (!textfile::Read(folder + "/" + name, text) || !ParseSidecar(text, job)) continue;
        job.dataPath = folder + "/" + job.dataFile;
        jobs.push_back(job);
    }
    std::sort(jobs.begin(), jobs.end(), [](const SpooledJob& a, const SpooledJob& b) { return a.id < b.id; });
    return jobs;
}

}  // namespace print
}  // namespace platform
