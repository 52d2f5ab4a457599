// The host's record opener: shared by every command that opens the files it
// is given, and by the tests that build what the host builds from records.
#include "host/RecordOpening.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <utility>

#include "core/ECGData.h"
#include "core/ECGXMLParser.h"
#include "core/FileItemInfo.h"
#include "core/MemoryHelpers.h"
#include "core/TavrionDoc.h"
#include "host/CommandFailure.h"
#include "host/DocumentCommand.h"
#include "platform/base/CodePage.h"
#include "platform/base/DateTime.h"
#include "platform/base/Kernel.h"
#include "platform/base/PathNames.h"
#include "platform/xml/XmlParser.h"

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

std::string Trimmed(const CString& text)
{
    CString trimmed = text;
    trimmed.Trim();
    return platform::ToUtf8(static_cast<LPCWSTR>(trimmed));
}

// An acquisition time as the file list shows it, "" for none or an invalid one.
std::string TimeText(int year, int month, int day, int hour, int minute, int second)
{
    COleDateTime date;
    if (year == 0 || date.SetDateTime(year, month, day, hour, minute, second) != 0 ||
        date.GetStatus() != COleDateTime::valid)
        return std::string();
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
    return text;
}

// What a record XML holds that tells whose it is.
struct XmlFacts {
    std::string named;          // the record file it names ("" for none)
    bool made = false;          // it keeps what that file gave when it was made
    std::string madeId;         // ... the patient id
    std::string madeAcquired;   // ... and the acquisition time ("" for none)
    std::string storedId;       // the patient id it stores now
    std::string storedAcquired; // the acquisition time it stores ("" for none)
};

// Read as it is on disk, whatever a document of this process waits to write.
XmlFacts ReadXmlFacts(const std::string& path)
{
    XmlFacts facts;
    XML_PARSER xml;
    if (!xml.InitXML(LibraryPath(path), 0)) return facts;   // one that cannot be read names nothing
    const CString record = CTavrionDoc::kRecordFileXPath;
    CString value;
    if (xml.GetDataFromXMLDOM(value, record, XML_TYPE_TEXT, CString())) facts.named = Trimmed(value);
    if (!facts.named.empty() &&
        xml.GetDataFromXMLDOM(value, record, XML_TYPE_ATTRIBUTE, CTavrionDoc::kRecordPatientIdAttribute)) {
        facts.made = true;
        facts.madeId = Trimmed(value);
        if (xml.GetDataFromXMLDOM(value, record, XML_TYPE_ATTRIBUTE, CTavrionDoc::kRecordAcquiredAttribute))
            facts.madeAcquired = Trimmed(value);
    }
    const CString section = L"/Rawdata/Tavrion/Inspection/Patient_section";
    if (xml.GetDataFromXMLDOM(value, section + L"/Patient_id", XML_TYPE_TEXT, CString()))
        facts.storedId = Trimmed(value);
    const CString date = section + L"/Acquition_date";
    if (xml.GetDataFromXMLDOM(value, date, XML_TYPE_ATTRIBUTE, L"style") && value == L"Date") {
        int parts[6] = {};
        const wchar_t* const names[] = {L"year", L"month", L"day", L"hour", L"minute", L"second"};
        for (int i = 0; i < 6; ++i)
            if (xml.GetDataFromXMLDOM(value, date, XML_TYPE_ATTRIBUTE, names[i])) parts[i] = _wtoi(value);
        facts.storedAcquired = TimeText(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]);
    }
    return facts;
}

// What a record file gives, as the file list reads it alone (an MFER file
// from its HL7 header when the header names a patient), as its first record
// XML was made with it.
struct RecordGives {
    bool read = false;
    std::string id;
    std::string acquired;   // "" for none
};

RecordGives ReadRecordGives(const std::string& record)
{
    RecordGives gives;
    CTavrionDoc probe;
    _FILEITEM_INFO info;
    const CString path = LibraryPath(record);
    const CString header = IsMferFile(record) ? Hl7HeaderBeside(record) : CString();
    int code = probe.ReadFile(path, L"", header, &info);
    if (!header.IsEmpty() && info.failure != FileListFailure::None) {
        info = _FILEITEM_INFO();
        code = probe.ReadFile(path, L"", L"", &info);
    }
    if (code == 1) return gives;
    gives.read = true;
    gives.id = Trimmed(info.strPatientID);
    gives.acquired = info.strAcqTime.Find(L'*') < 0 ? Trimmed(info.strAcqTime) : std::string();
    return gives;
}

// What was read of each file, while the file stays as it was (the same
// inode, size and modification time): a command that searches for many
// records of one stem reads each of the stem's files once.
template <class Facts> class FileFacts {
public:
    explicit FileFacts(Facts (*read)(const std::string&)) : m_read(read) {}

    const Facts& Of(const std::string& path)
    {
        struct stat st;
        Stamp stamp;
        if (stat(path.c_str(), &st) == 0)
            stamp = Stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec, true};
        auto found = m_facts.find(path);
        if (found != m_facts.end() && found->second.first == stamp) return found->second.second;
        auto& entry = m_facts[path];
        entry.first = stamp;
        entry.second = m_read(path);
        return entry.second;
    }

private:
    struct Stamp {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        time_t seconds = 0;
        long nanoseconds = 0;
        bool exists = false;
        bool operator==(const Stamp& other) const
        {
            return device == other.device && inode == other.inode && size == other.size &&
                   seconds == other.seconds && nanoseconds == other.nanoseconds && exists == other.exists;
        }
    };

    Facts (*m_read)(const std::string&);
    std::map<std::string, std::pair<Stamp, Facts>> m_facts;
};

FileFacts<XmlFacts>& XmlsRead()
{
    static FileFacts<XmlFacts> facts(&ReadXmlFacts);
    return facts;
}

FileFacts<RecordGives>& RecordsRead()
{
    static FileFacts<RecordGives> facts(&ReadRecordGives);
    return facts;
}

// Whether the record file gives what the record XML was made with: the
// patient id and acquisition time it kept of its file; the acquisition time
// it stores, which no save changes, for one that names its file without
// them.
bool Gives(const RecordGives& record, const XmlFacts& xml)
{
    if (!record.read) return false;
    if (xml.made) return record.id == xml.madeId && record.acquired == xml.madeAcquired;
    return record.acquired == xml.storedAcquired;
}

// Which of the record files of its stem an older record XML, one naming no
// record file, could be made for. The acquisition time it stores is its
// record's, as no save changes it: the record files that give it, and of
// several, the one that also gives the patient id it stores (an id a person
// corrected still leaves it its record's). One storing no acquisition time
// is the one record file's of its stem, or, of several, that of the ones
// giving its patient id. `gives` reads what a record file gives.
template <class Read>
std::vector<std::string> MadeFor(const std::vector<std::string>& records, const XmlFacts& xml, Read gives)
{
    std::vector<std::string> found;
    if (xml.storedAcquired.empty()) {
        if (records.size() == 1) return records;
        for (const std::string& record : records) {
            const RecordGives& given = gives(record);
            if (given.read && !xml.storedId.empty() && given.id == xml.storedId) found.push_back(record);
        }
        return found;
    }
    for (const std::string& record : records)
        if (Gives(gives(record), xml)) found.push_back(record);
    if (found.size() < 2) return found;
    std::vector<std::string> patient;
    for (const std::string& record : found)
        if (!xml.storedId.empty() && gives(record).id == xml.storedId) patient.push_back(record);
    return patient.size() == 1 ? patient : found;
}

bool Contains(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string JoinNames(const std::vector<std::string>& names)
{
    std::string files;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i) files += i + 1 == names.size() ? " and " : ", ";
        files += names[i];
    }
    return files;
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
    std::vector<std::string> names, records;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return search;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (IsRecordXmlOf(name, stem)) names.push_back(name);
        else if (name == file || RecordXmlStem(name) == stem) records.push_back(name);
    }
    closedir(dir);
    if (names.empty()) return search;
    if (!Contains(records, file)) records.push_back(file);
    std::sort(records.begin(), records.end());
    // Newest first: the 14 digits are the naming time.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return a > b; });

    auto given = [&](const std::string& name) -> const RecordGives& { return RecordsRead().Of(folder + "/" + name); };
    std::string ownUnnamed;
    for (const std::string& name : names) {
        const std::string path = folder + "/" + name;
        const XmlFacts& xml = XmlsRead().Of(path);
        UnownedRecordXml unowned;
        unowned.xml = path;
        unowned.named = xml.named;
        if (!xml.named.empty() && Contains(records, xml.named)) {
            // Its own record file is here: the record XML is its, unless
            // that file gives another patient (a record XML copied beside
            // another patient's record of the same name).
            if (Gives(given(xml.named), xml)) {
                if (xml.named != file) continue;
                search.xml = path;
                search.unowned.clear();
                return search;
            }
            unowned.why = UnownedRecordXml::Why::MadeForAnother;
            unowned.sharers = {xml.named};
        } else if (!xml.named.empty()) {
            // Moved out, or renamed or copied with it: the one record file
            // that gives what it was made with.
            std::vector<std::string> giving;
            for (const std::string& candidate : records)
                if (Gives(given(candidate), xml)) giving.push_back(candidate);
            if (giving.size() == 1) {
                if (giving.front() != file) continue;
                search.xml = path;
                search.unowned.clear();
                return search;
            }
            unowned.why =
                giving.size() > 1 ? UnownedRecordXml::Why::SeveralGiveIt : UnownedRecordXml::Why::MadeForAnother;
            unowned.sharers = giving.size() > 1 ? giving : records;
        } else {
            // Made before record XMLs named their record.
            const std::vector<std::string> madeFor = MadeFor(records, xml, given);
            if (madeFor.size() == 1) {
                if (madeFor.front() == file && ownUnnamed.empty()) ownUnnamed = path;
                continue;
            }
            unowned.why = madeFor.empty() && !xml.storedAcquired.empty() ? UnownedRecordXml::Why::MadeAtAnotherTime
                                                                         : UnownedRecordXml::Why::NamesNoRecord;
            unowned.sharers = madeFor.size() > 1 ? madeFor : records;
        }
        if (Contains(unowned.sharers, file)) search.unowned.push_back(unowned);
    }
    // One that names its record comes before one that names none.
    if (!ownUnnamed.empty()) {
        search.xml = ownUnnamed;
        search.unowned.clear();
    }
    return search;
}

std::string FindRecordXml(const std::string& record, const std::string& prefix)
{
    return SearchRecordXml(record, prefix).xml;
}

std::string SharedRecordXmlText(const RecordXmlSearch& search)
{
    if (search.unowned.empty()) return std::string();
    const UnownedRecordXml& first = search.unowned.front();
    const std::string files = JoinNames(first.sharers);
    const std::string whose = first.sharers.size() == 2 ? "neither's" : "no record's";
    std::string text;
    switch (first.why) {
    case UnownedRecordXml::Why::NamesNoRecord:
        text = first.xml + " names no record file, and " + files + " share its name";
        break;
    case UnownedRecordXml::Why::MadeForAnother:
        text = first.xml + " was made for " + first.named + ", and " + files +
               (first.sharers.size() == 1 ? " gives" : " give") + " another patient or acquisition time";
        break;
    case UnownedRecordXml::Why::SeveralGiveIt:
        text = first.xml + " was made for " + first.named + ", and " + files +
               " each give its patient and acquisition time";
        break;
    case UnownedRecordXml::Why::MadeAtAnotherTime:
        text = first.xml + " names no record file, and " + files + (first.sharers.size() == 1 ? " gives" : " give") +
               " another acquisition time";
        break;
    }
    const bool anyone =
        first.why == UnownedRecordXml::Why::MadeForAnother || first.why == UnownedRecordXml::Why::MadeAtAnotherTime;
    text += ": it is shown and saved as " + (anyone ? std::string("no record's") : whose);
    if (search.unowned.size() > 1)
        text += " (and " + std::to_string(search.unowned.size() - 1) + " more record XMLs of its name likewise)";
    return text;
}

void NoteSharedRecordXml(const std::string& record, const RecordXmlSearch& search)
{
    const std::string text = SharedRecordXmlText(search);
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
    const RecordXmlSearch search = SearchRecordXml(path);
    files.xml = search.xml;
    NoteSharedRecordXml(path, search);
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
    const RecordXmlSearch search = SearchRecordXml(path, "Raw_");
    files.xml = search.xml;
    NoteSharedRecordXml(path, search);
    return OpenMferRecord(files, &doc);
}

}  // namespace host
