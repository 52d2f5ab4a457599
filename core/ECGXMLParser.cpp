#include "core/ECGXMLParser.h"

#include "core/MemoryHelpers.h"
#include "platform/base/File.h"
#include "platform/base/Kernel.h"
#include "platform/base/PathNames.h"
#include "platform/xml/XmlSaveFile.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

const wchar_t kAdditionPath[] = L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content";
const wchar_t kMedicationPath[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication";

// A node-text limit of the record format: the most Shift-JIS bytes an
// ordinary record and an 8000-series record hold (kNever: the field does
// not exist in that record).
const int kNever = -1;
struct _TEXT_LIMIT {
    const wchar_t* pszXPath;
    int nLimit;
    int nLimit8000;
};

const _TEXT_LIMIT kTextLimits[] = {
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id", 20, 12},
    {L"/Rawdata/Tavrion/Inspection/Patient_section2/Sub_id", 20, kNever},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_name", 20, 20},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_kana_name", 40, kNever},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Symptom", 22, kNever},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Disease", 22, kNever},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Ward", 22, kNever},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Department", 22, kNever},
    {L"/Rawdata/Tavrion/Inspection/Patient_section2/Request_section", 20, kNever},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Request_doctor", 20, kNever},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Technician", 20, kNever},
    {L"/Rawdata/Tavrion/Inspection/Patient_section/Room_no", 10, kNever},
    {L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_content", 255, 255},
};

int FitsLimit(const CString& value, int limit)
{
    if (limit == kNever) return 0;
    return GetCharLength(value) <= limit ? 1 : 0;
}

// The limit of an addition's title or text, when xpath names addition 1..count.
bool FindAdditionLimit(const CString& xpath, int count, int& limit)
{
    for (int number = 1; number <= count; ++number) {
        CString content;
        content.Format(L"%s[@number='%d']", kAdditionPath, number);
        if (xpath.CompareNoCase(content) == 0) {
            limit = 255;
            return true;
        }
        if (xpath.CompareNoCase(content + L"/@title") == 0) {
            limit = 32;
            return true;
        }
    }
    return false;
}

// The seeds of record XMLs not on disk yet, by the file each is to become.
// The registry holds them weakly: a seed ends with the holder its
// registration returned.
class NewFileSeeds {
public:
    using Seed = CECGXMLParser::NewFileSeed;

    std::shared_ptr<const Seed> Register(const std::string& file, Seed seed)
    {
        auto held = std::make_shared<const Seed>(std::move(seed));
        std::lock_guard<std::mutex> guard(m_lock);
        ForgetEnded();
        m_seeds[file].push_back(held);
        return held;
    }

    std::shared_ptr<const Seed> Find(const std::string& file)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        const auto found = m_seeds.find(file);
        if (found == m_seeds.end()) return nullptr;
        for (auto seed = found->second.rbegin(); seed != found->second.rend(); ++seed)
            if (auto living = seed->lock()) return living;
        return nullptr;
    }

private:
    void ForgetEnded()
    {
        for (auto entry = m_seeds.begin(); entry != m_seeds.end();) {
            auto& seeds = entry->second;
            seeds.erase(std::remove_if(seeds.begin(), seeds.end(), [](const auto& seed) { return seed.expired(); }),
                        seeds.end());
            entry = seeds.empty() ? m_seeds.erase(entry) : std::next(entry);
        }
    }

    std::mutex m_lock;
    std::map<std::string, std::vector<std::weak_ptr<const Seed>>> m_seeds;
};

NewFileSeeds& Seeds()
{
    static NewFileSeeds seeds;
    return seeds;
}

// A name given to a file not on disk yet, whose it is, and the name its
// file is written under now (the first, or one after it when another
// owner's file took that). The registry's lock guards the path.
struct NamedFile {
    CECGXMLParser::NewFileOwner owner;
    CString strPath;
};

// Every name given to a new file in this process, and every name one moved
// on to: a name stays its owner's for as long as the process runs.
class NewFileNames {
public:
    void Give(const CString& path, CECGXMLParser::NewFileOwner owner)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        auto& named = m_names[Native(path)];
        if (named && named->owner.strName == owner.strName && named->owner.strXPath == owner.strXPath) return;
        named = std::make_shared<NamedFile>();
        named->owner = std::move(owner);
        named->strPath = path;
    }

    std::shared_ptr<NamedFile> Find(const CString& path)
    {
        if (path.IsEmpty()) return nullptr;
        const std::string file = Native(path);
        std::lock_guard<std::mutex> guard(m_lock);
        const auto found = m_names.find(file);
        return found == m_names.end() ? nullptr : found->second;
    }

    CString PathOf(const NamedFile& named)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return named.strPath;
    }

    // The name after `taken`, which another owner's file took; the owner's
    // file is found under it from now on. Empty when no name is free.
    CString MoveOn(const std::shared_ptr<NamedFile>& named, const CString& taken)
    {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (named->strPath != taken) return named->strPath;   // moved on meanwhile
        }
        // Asked outside the lock: the namer asks which names are given.
        const CString next = named->owner.nextName ? named->owner.nextName(taken) : CString();
        std::lock_guard<std::mutex> guard(m_lock);
        if (named->strPath != taken) return named->strPath;
        if (next.IsEmpty()) return next;
        named->strPath = next;
        m_names[Native(next)] = named;
        return next;
    }

private:
    static std::string Native(const CString& path) { return platform::NativePath(static_cast<LPCWSTR>(path)); }

    std::mutex m_lock;
    std::map<std::string, std::shared_ptr<NamedFile>> m_names;
};

NewFileNames& Names()
{
    static NewFileNames names;
    return names;
}

// Whether a document read under a given name names the name's owner. A
// file this process did not make that names another owner, or none (made
// by something that does not name records, or not readable), is not the
// owner's: only another process can have put it under a name given here.
bool NamesTheOwner(XML_PARSER& document, const NamedFile& named)
{
    CString name;
    if (!document.GetDataFromXMLDOM(name, named.owner.strXPath, 4, CString())) return false;
    name.Trim();
    return name == named.owner.strName;
}

// Whether a document read from `path`, which lies under a name given here,
// is the owner's own.
bool IsTheOwnersDocument(const CString& path, XML_PARSER& document, const NamedFile& named)
{
    if (platform::WasCreatedHere(platform::NativePath(static_cast<LPCWSTR>(path)))) return true;
    return document.IsLoaded() && NamesTheOwner(document, named);
}

bool IsTheOwnersFile(const CString& path, const NamedFile& named)
{
    XML_PARSER found;
    found.InitXML(path, 0);
    return IsTheOwnersDocument(path, found, named);
}

// The most names a parser tries when other owners' files took them.
const int kNameTries = 16;

// Where the owner's file of a given name is now: the name it was last
// moved on to, moved on again while another's file is found there. A folder
// in the way is no one's file: the name stays, for the save to say why it
// cannot write. Empty when no free name is left.
CString SettledPath(const std::shared_ptr<NamedFile>& named)
{
    CString path = Names().PathOf(*named);
    for (int tries = 0; tries < kNameTries; ++tries) {
        const DWORD attributes = GetFileAttributes(path);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
            IsTheOwnersFile(path, *named))
            return path;
        path = Names().MoveOn(named, path);
        if (path.IsEmpty()) return path;
    }
    return CString();
}

}  // namespace

// ---- _XML_ATTRIB_DATE ------------------------------------------------------------

void _XML_ATTRIB_DATE::Empty()
{
    strYear.Empty();
    strMonth.Empty();
    strDay.Empty();
    strHour.Empty();
    strMinute.Empty();
    strSecond.Empty();
    strMilliseconds.Empty();
}

void _XML_ATTRIB_DATE::SetDate(const COleDateTime& date)
{
    int parts[6] = {-1, -1, -1, -1, -1, -1};
    SYSTEMTIME st;
    if (date.GetStatus() == COleDateTime::valid && date.GetAsSystemTime(st)) {
        parts[0] = st.wYear;
        parts[1] = st.wMonth;
        parts[2] = st.wDay;
        parts[3] = st.wHour;
        parts[4] = st.wMinute;
        parts[5] = st.wSecond;
    }
    strYear.Format(L"%04d", parts[0]);
    strMonth.Format(L"%02d", parts[1]);
    strDay.Format(L"%02d", parts[2]);
    strHour.Format(L"%02d", parts[3]);
    strMinute.Format(L"%02d", parts[4]);
    strSecond.Format(L"%02d", parts[5]);
}

// ---- CECGXMLParser ----------------------------------------------------------------

CECGXMLParser::CECGXMLParser(const CString& path, int b8000, CString prefix)
    : m_pXMLParser(nullptr), m_strPath(path), m_b8000File(b8000)
{
    m_pXMLParser = new XML_PARSER;
    if (!prefix.IsEmpty()) m_pXMLParser->SetNSDefaultPrefix(prefix);
    // Another owner's file made under a name given here since it was given:
    // the owner's own goes on under the next free one. One may appear
    // between finding the name free and reading it: read, it is seen to be
    // another's, and the name moves on from it.
    const std::shared_ptr<NamedFile> named = Names().Find(path);
    for (int tries = 0;; ++tries) {
        if (named) m_strPath = SettledPath(named);
        m_pXMLParser->InitXML(m_strPath, 0);   // a missing or broken file leaves a document whose reads fail
        if (!named || m_strPath.IsEmpty() || !m_pXMLParser->IsLoaded() ||
            IsTheOwnersDocument(m_strPath, *m_pXMLParser, *named))
            break;
        if (tries == kNameTries) {
            // No name of the owner's left: nothing is read, and a save fails.
            m_strPath.Empty();
            m_pXMLParser->InitXML(m_strPath, 0);
            return;
        }
    }
    // Only a path the load found nothing under is a new file: one that
    // appeared since is left to the save, which never replaces it.
    if (m_pXMLParser->IsLoaded() || m_strPath.IsEmpty() || !m_pXMLParser->FoundNoFile()) return;
    auto seed = Seeds().Find(platform::NativePath(static_cast<LPCWSTR>(path)));
    if (!seed && m_strPath != path) seed = Seeds().Find(platform::NativePath(static_cast<LPCWSTR>(m_strPath)));
    // The first save creates the file; where one was made meanwhile, it is
    // written over only when it is the owner's (or this process made it),
    // and a file of another owner moves the name on. Without an owner, the
    // file found is no one's to write over: the save fails.
    if (named) {
        m_pXMLParser->SetNewFile([this, named](const CString& taken) {
            if (IsTheOwnersFile(taken, *named)) return taken;
            const CString next = Names().MoveOn(named, taken);
            if (!next.IsEmpty()) m_strPath = next;
            return next;
        });
    }
    // Run outside the registry's lock: the seed writes through this parser.
    if (seed) (*seed)(*this);
}

bool CECGXMLParser::IsSeeded(const CString& path)
{
    return !path.IsEmpty() && Seeds().Find(platform::NativePath(static_cast<LPCWSTR>(path))) != nullptr;
}

void CECGXMLParser::NameNewFile(const CString& path, NewFileOwner owner)
{
    if (path.IsEmpty() || owner.strXPath.IsEmpty() || owner.strName.IsEmpty()) return;
    Names().Give(path, std::move(owner));
}

bool CECGXMLParser::IsNamedForAnother(const CString& path, const CString& name)
{
    const std::shared_ptr<NamedFile> named = Names().Find(path);
    return named && named->owner.strName != name;
}

CString CECGXMLParser::FileFor(const CString& path)
{
    const std::shared_ptr<NamedFile> named = Names().Find(path);
    return named ? SettledPath(named) : path;
}

std::shared_ptr<const void> CECGXMLParser::SeedNewFile(const CString& path, NewFileSeed seed)
{
    if (path.IsEmpty() || !seed) return nullptr;
    return Seeds().Register(platform::NativePath(static_cast<LPCWSTR>(path)), std::move(seed));
}

CECGXMLParser::~CECGXMLParser()
{
    delete m_pXMLParser;
    m_pXMLParser = nullptr;
}

int CECGXMLParser::GetDataFromXMLDOM(CString& value, const CString& xpath, int type, const CString& attrib)
{
    value.Empty();
    if (!m_pXMLParser || xpath.IsEmpty()) return 0;
    // What the file holds comes back whole: the field limits of ValidData
    // guard what a person types, not what was stored or taken over from the
    // record file (a hospital id longer than the field, a name the record
    // file gives in full). Turning such a value into "" here would show the
    // field empty and make the next save of any other field write it empty.
    return m_pXMLParser->GetDataFromXMLDOM(value, xpath, type, attrib) ? 1 : 0;
}

int CECGXMLParser::SetDataToXMLDOM(const CString& value, const CString& xpath, int type, const CString& attrib)
{
    if (!m_pXMLParser) return 0;
    return m_pXMLParser->SetDataToXMLDOM(value, xpath, type, attrib);
}

int CECGXMLParser::GetObjectCount(const CString& xpath)
{
    if (!m_pXMLParser || xpath.IsEmpty()) return 0;
    long count = m_pXMLParser->GetNodeCount(xpath, 1, 0);
    return count < 0 ? 0 : static_cast<int>(count);
}

int CECGXMLParser::FindNode(const CString& xpath)
{
    if (!m_pXMLParser) return 0;
    return m_pXMLParser->FindNode(xpath, 0);
}

int CECGXMLParser::RemoveNode(const CString& xpath)
{
    if (!m_pXMLParser) return 0;
    return m_pXMLParser->RemoveNode(xpath, 0);
}

int CECGXMLParser::Add_LastChildNode(CXmlElmentNode& node, CString& parentXPath)
{
    if (!m_pXMLParser) return 0;
    return m_pXMLParser->Add_LastChildNode(node, parentXPath);
}

void CECGXMLParser::SaveToXMLFile()
{
    m_bLastSaveFailed = 1;
    if (!m_pXMLParser || m_strPath.IsEmpty()) return;
    // Refused by the library when the file could not be read: an unreadable
    // record must stay on disk as it is rather than become an empty one.
    m_bLastSaveFailed = m_pXMLParser->SaveToXMLFile(m_strPath) ? 0 : 1;
}

namespace {

const wchar_t* SaveFailureCause(const XML_PARSER::SaveFailure& failure)
{
    if (failure.bUnreadable) return L"ファイルを読み込めなかったため、上書きしませんでした。";
    switch (failure.nError) {
    case EACCES:
    case EPERM:
    case EROFS: return L"書き込みが許可されていません。";
    case EISDIR: return L"同じ名前のフォルダーがあります。";
    case ENOENT:
    case ENOTDIR: return L"保存先のフォルダーがありません。";
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return L"ディスクの空き容量が足りません。";
    case EEXIST: return L"同じ名前のファイルを別の記録が先に作りました。";
    default: return L"書き込みに失敗しました。";
    }
}

}  // namespace

CString CECGXMLParser::GetSaveFailureText()
{
    const wchar_t* const failed = L"ファイル書き込みエラーです。";
    const XML_PARSER::SaveFailure& failure = XML_PARSER::GetLastSaveFailure();
    if (failure.strPath.IsEmpty()) return failed;
    CString text;
    text.Format(L"%s\r\n%s\r\n%s", failed, failure.strPath.GetString(), SaveFailureCause(failure));
    return text;
}

void CECGXMLParser::ForgetSaveFailure()
{
    XML_PARSER::ForgetSaveFailure();
}

int CECGXMLParser::GetDateAttrib(_XML_ATTRIB_DATE& date, const CString& xpath, int bCheck)
{
    if (!m_pXMLParser) return 0;
    CString text;
    if (!GetDataFromXMLDOM(text, xpath, 2, L"style") || text != L"Date") return 0;

    CString* const fields[] = {&date.strYear, &date.strMonth, &date.strDay, &date.strHour, &date.strMinute, &date.strSecond};
    const wchar_t* const names[] = {L"year", L"month", L"day", L"hour", L"minute", L"second"};
    static_assert(sizeof fields / sizeof fields[0] == sizeof names / sizeof names[0], "one name per field");
    for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i) {
        if (GetDataFromXMLDOM(text, xpath, 2, names[i])) *fields[i] = text;
    }
    if (GetDataFromXMLDOM(text, xpath, 2, L"milliseconds")) {
        date.strMilliseconds = text;
        date.bMilliseconds = 1;
    } else {
        date.bMilliseconds = 0;
    }
    if (!bCheck) return 1;

    const int year = _wtoi(date.strYear), month = _wtoi(date.strMonth), day = _wtoi(date.strDay);
    if (year == 0 || month == 0 || day == 0) return 0;
    SYSTEMTIME st;
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDayOfWeek = 0;
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(_wtoi(date.strHour));
    st.wMinute = static_cast<WORD>(_wtoi(date.strMinute));
    st.wSecond = static_cast<WORD>(_wtoi(date.strSecond));
    st.wMilliseconds = 0;
    DATE value = 0;
    return SystemTimeToVariantTime(&st, &value) ? 1 : 0;
}

// The readers accept a date or age element only by its style, so an element
// written here for the first time gets one; an existing style is kept.
void CECGXMLParser::MarkStyle(const CString& xpath, const wchar_t* style)
{
    CString current;
    if (GetDataFromXMLDOM(current, xpath, 2, L"style") && !current.IsEmpty()) return;
    SetDataToXMLDOM(CString(style), xpath, 2, L"style");
}

int CECGXMLParser::SetDateAttrib(const _XML_ATTRIB_DATE& date, const CString& xpath)
{
    if (!m_pXMLParser) return 0;
    MarkStyle(xpath, L"Date");
    SetDataToXMLDOM(date.strYear, xpath, 2, L"year");
    SetDataToXMLDOM(date.strMonth, xpath, 2, L"month");
    SetDataToXMLDOM(date.strDay, xpath, 2, L"day");
    SetDataToXMLDOM(date.strHour, xpath, 2, L"hour");
    SetDataToXMLDOM(date.strMinute, xpath, 2, L"minute");
    SetDataToXMLDOM(date.strSecond, xpath, 2, L"second");
    if (date.bMilliseconds == 1) SetDataToXMLDOM(date.strMilliseconds, xpath, 2, L"milliseconds");
    return 1;
}

int CECGXMLParser::GetAgeAttrib(_XML_ATTRIB_AGE& age, const CString& xpath)
{
    if (!m_pXMLParser) return 0;
    CString text;
    if (!GetDataFromXMLDOM(text, xpath, 2, L"style") || text != L"Age") return 0;

    CString* const fields[] = {&age.strYear, &age.strMonth, &age.strWeek, &age.strDay, &age.strHour, &age.strUserData};
    const wchar_t* const names[] = {L"year", L"month", L"week", L"day", L"hour", L"userdata"};
    for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i) {
        if (!GetDataFromXMLDOM(text, xpath, 2, names[i])) continue;
        text.Trim();
        *fields[i] = text;
    }
    if (GetDataFromXMLDOM(text, xpath, 2, L"unit")) age.nUnit = _wtoi(text);
    return 1;
}

int CECGXMLParser::SetAgeAttrib(const _XML_ATTRIB_AGE& age, const CString& xpath)
{
    if (!m_pXMLParser) return 0;
    MarkStyle(xpath, L"Age");
    SetDataToXMLDOM(age.strYear, xpath, 2, L"year");
    SetDataToXMLDOM(age.strMonth, xpath, 2, L"month");
    SetDataToXMLDOM(age.strDay, xpath, 2, L"day");
    SetDataToXMLDOM(age.strWeek, xpath, 2, L"week");
    SetDataToXMLDOM(age.strHour, xpath, 2, L"hour");
    SetDataToXMLDOM(age.strUserData, xpath, 2, L"userdata");
    CString unit;
    unit.Format(L"%d", age.nUnit);
    SetDataToXMLDOM(unit, xpath, 2, L"unit");
    return 1;
}

int CECGXMLParser::GetColorAttrib(COLORREF& color, const CString& xpath)
{
    if (!m_pXMLParser) return 0;
    const wchar_t* const names[] = {L"r", L"g", L"b"};
    int parts[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        CString text;
        if (!GetDataFromXMLDOM(text, xpath, 2, names[i])) return 0;
        parts[i] = _wtoi(text) & 0xFF;
    }
    color = RGB(parts[0], parts[1], parts[2]);
    return 1;
}

int CECGXMLParser::SetColorAttrib(COLORREF color, const CString& xpath)
{
    if (!m_pXMLParser) return 0;
    CString text;
    text.Format(L"%d", GetRValue(color));
    SetDataToXMLDOM(text, xpath, 2, L"r");
    text.Format(L"%d", GetGValue(color));
    SetDataToXMLDOM(text, xpath, 2, L"g");
    text.Format(L"%d", GetBValue(color));
    SetDataToXMLDOM(text, xpath, 2, L"b");
    return 1;
}

int CECGXMLParser::ValidData(const CString& value, const CString& xpath, const int& type, const CString& attrib)
{
    const bool b8000 = m_b8000File != 0;
    if (type == 2) {
        if (attrib.CompareNoCase(L"trip") == 0) return _wtoi(value) <= (b8000 ? 255 : 999) ? 1 : 0;
        if (attrib.CompareNoCase(L"total") == 0) return _wtoi(value) <= (b8000 ? 256 : 999) ? 1 : 0;
        return 1;
    }
    if (type != 4) return 1;

    for (const _TEXT_LIMIT& limit : kTextLimits) {
        if (xpath.CompareNoCase(limit.pszXPath) == 0) return FitsLimit(value, b8000 ? limit.nLimit8000 : limit.nLimit);
    }
    if (xpath.Find(kMedicationPath) >= 0) return FitsLimit(value, 22);
    // Only the additions that exist are limited; the count is asked only
    // for an addition's path, which gives the same answers with less work.
    const int prefixLength = static_cast<int>(sizeof kAdditionPath / sizeof kAdditionPath[0]) - 1;
    if (xpath.Left(prefixLength).CompareNoCase(kAdditionPath) != 0) return 1;
    int limit = 0;
    if (!FindAdditionLimit(xpath, GetObjectCount(kAdditionPath), limit)) return 1;
    return FitsLimit(value, b8000 ? kNever : limit);
}

CString CECGXMLParser::XPathLiteral(const CString& value)
{
    // XPath 1.0 has no escape inside a literal: a value with one quote kind
    // goes in the other; one with both is glued from pieces by concat().
    if (value.Find(L'\'') < 0) return L"'" + value + L"'";
    if (value.Find(L'"') < 0) return L"\"" + value + L"\"";
    CString pieces;
    int start = 0;
    for (;;) {
        int quote = value.Find(L'\'', start);
        CString part = quote < 0 ? value.Mid(start) : value.Mid(start, quote - start);
        if (!part.IsEmpty()) pieces += (pieces.IsEmpty() ? L"'" : L",'") + part + L"'";
        if (quote < 0) break;
        pieces += pieces.IsEmpty() ? L"\"'\"" : L",\"'\"";
        start = quote + 1;
    }
    return L"concat(" + pieces + L")";
}
