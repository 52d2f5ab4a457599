// The host's record opener: shared by every command that opens the files it
// is given, and by the tests that build what the host builds from records.
#include "host/RecordOpening.h"

#include <dirent.h>
#include <strings.h>

#include <cstdio>

#include "core/ECGData.h"
#include "core/FileItemInfo.h"
#include "core/MemoryHelpers.h"
#include "core/TavrionDoc.h"
#include "host/CommandFailure.h"
#include "host/DocumentCommand.h"
#include "platform/base/PathNames.h"

namespace host {
namespace {

// A path as the host was given it (UTF-8 bytes) as the library takes it.
CString LibraryPath(const std::string& path)
{
    return CString(platform::HostPath(path).c_str());
}

}  // namespace

std::string FindRecordXml(const std::string& record, const std::string& prefix)
{
    const size_t slash = record.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : record.substr(0, slash);
    std::string stem = prefix + (slash == std::string::npos ? record : record.substr(slash + 1));
    const size_t dot = stem.rfind('.');
    if (dot != std::string::npos) stem.resize(dot);
    std::string found;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return found;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() != stem.size() + 14 + 4 || name.compare(0, stem.size(), stem) != 0) continue;
        if (name.compare(name.size() - 4, 4, ".xml") != 0) continue;
        if (name.find_first_not_of("0123456789", stem.size()) != name.size() - 4) continue;
        if (found.empty() || name > found.substr(found.rfind('/') + 1)) found = folder + "/" + name;
    }
    closedir(dir);
    return found;
}

// The cause may be a record there is not the memory for, or one the reader
// cannot open.
void ReportRefusal(const std::string& path)
{
    const std::string cause = TakeLibraryMessage();
    if (cause.empty())
        std::fprintf(stderr, "morvelance-host: %s: not a record this library can read\n", path.c_str());
    else
        std::fprintf(stderr, "morvelance-host: %s: not read: %s\n", path.c_str(), cause.c_str());
}

bool OpenRecord(const std::string& path, std::unique_ptr<CTavrionDoc>* keep)
{
    CTavrionDoc probe;
    CString filePath = LibraryPath(path);
    _ECGDATA* image = nullptr;
    int kind = 0;
    int oldReader = 0;
    const int opened = probe.MFERTransOpenFile(filePath, image, kind, oldReader);
    BYTE code[2] = {};
    const bool known = opened == 0 && image &&
                       probe.ecgGetData(image, ECG_TAG_SYSTEM_CODE, 0, code, sizeof(code), ECG_DATA_RAW) > 0;
    FreeECGData(image);
    if (!known) {
        ReportRefusal(path);
        return false;
    }
    RecordFiles files;
    files.record = path;
    files.xml = FindRecordXml(path);
    files.olderReader = oldReader != 0;
    _FILEITEM_INFO info;
    if (probe.ReadFile(filePath, LibraryPath(files.xml), CString(), &info) == 1) {
        // Read a second time, the record may find the memory gone: the list says why.
        ReportFileListFailure(path, info.failure);
        return false;
    }
    files.leadCount = info.nLeadCount;
    return OpenDeviceRecord(files, code[0] | (code[1] << 8), keep);
}

bool OpenForViews(const std::string& path, std::unique_ptr<CTavrionDoc>& doc)
{
    SetCurrentRecord(path);
    const bool mfer = path.size() > 4 && strcasecmp(path.c_str() + path.size() - 4, ".mwf") == 0;
    if (!mfer) return OpenRecord(path, &doc);
    RecordFiles files;
    files.record = path;
    files.xml = FindRecordXml(path, "Raw_");
    return OpenMferRecord(files, &doc);
}

}  // namespace host
