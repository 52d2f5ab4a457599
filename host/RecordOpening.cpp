// The host's record opener: shared by every command that opens the files it
// is given, and by the tests that build what the host builds from records.
#include "host/RecordOpening.h"

#include <dirent.h>
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/ECGData.h"
#include "core/ECGXMLParser.h"
#include "core/FileItemInfo.h"
#include "core/MemoryHelpers.h"
#include "core/TavrionDoc.h"
#include "host/CommandFailure.h"
#include "host/DocumentCommand.h"
#include "platform/base/CodePage.h"
#include "platform/base/PathNames.h"

namespace host {
namespace {

// A path as the host was given it (UTF-8 bytes) as the library takes it.
CString LibraryPath(const std::string& path)
{
    return CString(platform::HostPath(path).c_str());
}

}  // namespace

namespace {

bool EndsWithNoCase(const std::string& name, const char* end)
{
    const size_t length = std::strlen(end);
    return name.size() > length && strcasecmp(name.c_str() + name.size() - length, end) == 0;
}

// The stem a record file's record XMLs are named with ("" for a file that
// is no record file): "Raw_" and the name for MFER files, the name alone
// for device records, without the extension.
std::string RecordXmlStem(const std::string& name)
{
    const bool mfer = EndsWithNoCase(name, ".mwf");
    if (!mfer && !EndsWithNoCase(name, ".ecg") && !EndsWithNoCase(name, ".dat")) return std::string();
    return (mfer ? "Raw_" : "") + name.substr(0, name.size() - 4);
}

// Whether `name` is a record XML name of the stem: the stem, 14 digits, ".xml".
bool IsRecordXmlOf(const std::string& name, const std::string& stem)
{
    if (name.size() != stem.size() + 14 + 4 || name.compare(0, stem.size(), stem) != 0) return false;
    if (name.compare(name.size() - 4, 4, ".xml") != 0) return false;
    return name.find_first_not_of("0123456789", stem.size()) == name.size() - 4;
}

// The record file a record XML names, as the host spells file names.
std::string NamedRecordFile(const std::string& xml)
{
    return platform::ToUtf8(static_cast<LPCWSTR>(CTavrionDoc::GetRecordFileOfXML(LibraryPath(xml))));
}

// The patient id a record XML stores ("" when none).
std::string StoredPatientId(const std::string& xml)
{
    CECGXMLParser parser(LibraryPath(xml), 0, CString());
    CString id;
    if (!parser.GetDataFromXMLDOM(id, L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id", 4, CString()))
        return std::string();
    id.Trim();
    return platform::ToUtf8(static_cast<LPCWSTR>(id));
}

// The patient id the file list shows of a record file read alone (an MFER
// file with its HL7 header when it has one), as its first record XML was
// seeded with it.
std::string ListedPatientId(const std::string& record)
{
    CTavrionDoc probe;
    _FILEITEM_INFO info;
    const bool mfer = EndsWithNoCase(record, ".mwf");
    const CString header = mfer ? Hl7HeaderBeside(record) : CString();
    const CString path = LibraryPath(record);
    if (probe.ReadFile(path, L"", header, &info) == 1) return std::string();
    CString id = info.strPatientID;
    id.Trim();
    return platform::ToUtf8(static_cast<LPCWSTR>(id));
}

}  // namespace

bool IsMferFile(const std::string& path)
{
    return path.size() > 4 && strcasecmp(path.c_str() + path.size() - 4, ".mwf") == 0;
}

RecordXmlSearch SearchRecordXml(const std::string& record, const std::string& prefix)
{
    RecordXmlSearch search;
    const size_t slash = record.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : record.substr(0, slash);
    const std::string file = slash == std::string::npos ? record : record.substr(slash + 1);
    std::string stem = prefix + file;
    const size_t dot = stem.rfind('.');
    if (dot != std::string::npos) stem.resize(dot);
    std::vector<std::string> names, sharers, entries;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return search;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        entries.push_back(name);
        if (IsRecordXmlOf(name, stem)) names.push_back(name);
        else if (name == file || RecordXmlStem(name) == stem) sharers.push_back(name);
    }
    closedir(dir);
    if (std::find(sharers.begin(), sharers.end(), file) == sharers.end()) sharers.push_back(file);
    // Newest first: the 14 digits are the naming time.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return a > b; });
    std::vector<std::string> unnamed, owned;
    for (const std::string& name : names) {
        std::string owner = NamedRecordFile(folder + "/" + name);
        // A record renamed with its record XML still names its old name: a
        // named file that is not in the folder tells nothing.
        if (std::find(entries.begin(), entries.end(), owner) == entries.end()) owner.clear();
        if (owner.empty()) unnamed.push_back(name);
        else owned.push_back(owner);
        if (owner == file && search.xml.empty()) search.xml = folder + "/" + name;
    }
    if (!search.xml.empty() || unnamed.empty()) return search;
    // A record XML that names no record belongs to the one record file of
    // its stem that has none of its own.
    std::vector<std::string> owners;
    for (const std::string& sharer : sharers)
        if (sharer == file || std::find(owned.begin(), owned.end(), sharer) == owned.end()) owners.push_back(sharer);
    if (owners.size() == 1) {
        search.xml = folder + "/" + unnamed.front();
        return search;
    }
    // The patient id it stores tells its record when the files of only one
    // of them give that id.
    const std::string storedId = StoredPatientId(folder + "/" + unnamed.front());
    if (!storedId.empty()) {
        std::vector<std::string> giving;
        for (const std::string& owner : owners)
            if (ListedPatientId(folder + "/" + owner) == storedId) giving.push_back(owner);
        if (giving.size() == 1) {
            if (giving.front() == file) search.xml = folder + "/" + unnamed.front();
            return search;
        }
    }
    std::sort(owners.begin(), owners.end());
    search.shared = folder + "/" + unnamed.front();
    search.sharers = owners;
    return search;
}

std::string FindRecordXml(const std::string& record, const std::string& prefix)
{
    return SearchRecordXml(record, prefix).xml;
}

std::string SharedRecordXmlText(const RecordXmlSearch& search)
{
    if (search.shared.empty()) return std::string();
    std::string files;
    for (size_t i = 0; i < search.sharers.size(); ++i) {
        if (i) files += i + 1 == search.sharers.size() ? " and " : ", ";
        files += search.sharers[i];
    }
    return search.shared + " names no record file, and " + files +
           " share its name: it is shown and saved as neither's";
}

void NoteSharedRecordXml(const std::string& record, const std::string& prefix)
{
    const std::string text = SharedRecordXmlText(SearchRecordXml(record, prefix));
    if (!text.empty()) std::fprintf(stderr, "morvelance-host: %s: note: %s\n", record.c_str(), text.c_str());
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
    NoteSharedRecordXml(path, std::string());
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
    const bool mfer = IsMferFile(path);
    if (!mfer) return OpenRecord(path, &doc);
    RecordFiles files;
    files.record = path;
    files.xml = FindRecordXml(path, "Raw_");
    NoteSharedRecordXml(path, "Raw_");
    return OpenMferRecord(files, &doc);
}

}  // namespace host
