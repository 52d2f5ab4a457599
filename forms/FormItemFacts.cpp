#include "forms/FormItemFacts.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/ECGXMLParser.h"
#include "core/TavrionDoc.h"
#include "documents/MFERViewDoc.h"
#include "platform/base/PathNames.h"

namespace {

const wchar_t kSecondPatientSection[] = L"/Rawdata/Tavrion/Inspection/Patient_section2";
const wchar_t kPressureUnit[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_unit";
constexpr int kElementText = 4;

bool IsKpaUnit(const CString& unit)
{
    CString trimmed = unit;
    trimmed.Trim();
    return trimmed == L"1" || trimmed.Find(L"kPa") >= 0;
}

void ParseRecordFlags(const CString& xmlPath, FormItemFacts& facts)
{
    CECGXMLParser xml(xmlPath, facts.b8000, CString());
    facts.bSubID = xml.GetObjectCount(kSecondPatientSection) > 0 ? 1 : 0;
    CString unit;
    xml.GetDataFromXMLDOM(unit, kPressureUnit, kElementText, CString());
    facts.bNarrowBp = IsKpaUnit(unit) ? 1 : 0;
}

// The whole file; false when it cannot be read or is too large to keep.
bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    constexpr long long kMaxKept = 4 << 20;
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxKept) return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    bytes.clear();
    char buffer[16384];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, n);
        if (static_cast<long long>(bytes.size()) > kMaxKept) break;
    }
    const bool ok = !std::ferror(file) && static_cast<long long>(bytes.size()) <= kMaxKept;
    std::fclose(file);
    return ok;
}

// The flags of the last records read, kept with the bytes they were read
// from: the forms ask at every layout, and parsing the record XML each time
// cost more than the layout itself. Reading the file again is cheap and
// catches every change to it (a saved edit, another record at the path).
struct KeptFlags {
    std::string path;
    int b8000 = 0;
    std::string bytes;
    int bSubID = 0;
    int bNarrowBp = 0;
};

void ReadRecordFlags(const CString& xmlPath, FormItemFacts& facts)
{
    static std::vector<KeptFlags> kept;   // most recent first
    constexpr size_t kKept = 4;
    KeptFlags now;
    now.path = platform::NativePath(xmlPath.GetString());
    now.b8000 = facts.b8000;
    if (!ReadWholeFile(now.path, now.bytes)) {
        ParseRecordFlags(xmlPath, facts);
        return;
    }
    for (size_t i = 0; i < kept.size(); ++i) {
        const KeptFlags& entry = kept[i];
        if (entry.b8000 != now.b8000 || entry.path != now.path || entry.bytes != now.bytes) continue;
        facts.bSubID = entry.bSubID;
        facts.bNarrowBp = entry.bNarrowBp;
        if (i > 0) std::rotate(kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(i), kept.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        return;
    }
    ParseRecordFlags(xmlPath, facts);
    now.bSubID = facts.bSubID;
    now.bNarrowBp = facts.bNarrowBp;
    kept.insert(kept.begin(), std::move(now));
    if (kept.size() > kKept) kept.pop_back();
}

}  // namespace

FormItemFacts ReadFormItemFacts(CTavrionDoc& doc)
{
    FormItemFacts facts;
    const CString xmlPath = doc.GetCurItemXMLPath();
    facts.bHasItem = !xmlPath.IsEmpty();
    if (!facts.bHasItem) return facts;
    facts.b8000 = doc.Is8000File();
    facts.bConfirmed = doc.IsDoctorConfirm();
    if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, &doc)) {
        if (_MFERDATAITEM* item = mfer->GetCurrentDataItem()) facts.uSystemCode = item->uSystemCode;
    }
    ReadRecordFlags(xmlPath, facts);
    return facts;
}

bool IsRestingMferCode(unsigned int uSystemCode)
{
    return uSystemCode == 0x800C || uSystemCode == 0x800F;
}
