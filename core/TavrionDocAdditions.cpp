// Additions of a record, the forms' pick lists, and the checks of typed
// Minnesota and IVREL codes against the master files of the installation.
#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "platform/base/CodePage.h"
#include "platform/base/Profile.h"
#include "platform/base/VersionInfo.h"

#include <cstdlib>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

namespace {

const wchar_t* const kAddition = L"/Rawdata/Tavrion/Addition";
const wchar_t* const kAddSection = L"/Rawdata/Tavrion/Addition/Patient_add_section";
const wchar_t* const kAddEditor = L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_editor/Editor_name";
const wchar_t* const kAddEditDate = L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_editor/Edit_date";
const wchar_t* const kAddContent = L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content";
const wchar_t* const kLoginEditor = L"/Rawdata/Tavrion/Addition/Voktext_section/Login_editor/Editor_name";
const wchar_t* const kLoginEditDate = L"/Rawdata/Tavrion/Addition/Voktext_section/Login_editor/Edit_date";

// One addition element as stored: its number and title attributes (either
// may be missing) and its text.
struct StoredAddition {
    bool bNumber = false;
    CString strNumber;
    bool bTitle = false;
    CString strTitle;
    CString strContent;
};

CString ElementPath(int position)
{
    CString path;
    path.Format(L"%s[%d]", kAddContent, position);
    return path;
}

StoredAddition ReadStoredAddition(CECGXMLParser* xml, int position)
{
    StoredAddition stored;
    const CString path = ElementPath(position);
    stored.bNumber = xml->GetDataFromXMLDOM(stored.strNumber, path, 2, L"number") != 0;
    stored.bTitle = xml->GetDataFromXMLDOM(stored.strTitle, path, 2, L"title") != 0;
    xml->GetDataFromXMLDOM(stored.strContent, path, 4, CString());
    return stored;
}

// Makes the element at the position hold `wanted`, changing only what differs.
void WriteStoredAddition(CECGXMLParser* xml, int position, const StoredAddition& now, const StoredAddition& wanted)
{
    const CString path = ElementPath(position);
    auto attribute = [&](const wchar_t* name, bool had, const CString& was, bool has, const CString& value) {
        if (has && (!had || was != value))
            xml->SetDataToXMLDOM(value, path, 2, name);
        else if (!has && had)
            xml->RemoveNode(path + L"/@" + name);
    };
    attribute(L"number", now.bNumber, now.strNumber, wanted.bNumber, wanted.strNumber);
    attribute(L"title", now.bTitle, now.strTitle, wanted.bTitle, wanted.strTitle);
    if (now.strContent != wanted.strContent)
        xml->SetDataToXMLDOM(wanted.strContent, path, 4, CString());
}

// Appends an element holding `wanted`, the one at the position.
void AppendStoredAddition(CECGXMLParser* xml, int position, const StoredAddition& wanted)
{
    CXmlElmentNode node;
    node.SetName(L"Addition_content");
    CString parent = kAddSection;
    if (!xml->Add_LastChildNode(node, parent))
        return;
    WriteStoredAddition(xml, position, StoredAddition{}, wanted);
}

// Where the reader found each addition: the element of each number it
// reads (-1: none has it), and the number each element was found by.
struct ReaderPlaces {
    std::vector<int> slotElement;
    std::vector<int> elementSlot;
};

ReaderPlaces FindReaderPlaces(const std::vector<StoredAddition>& elements)
{
    const int stored = static_cast<int>(elements.size());
    const int readable = stored < ADDITION_MAX ? stored : ADDITION_MAX;
    ReaderPlaces places;
    places.slotElement.assign(static_cast<size_t>(readable), -1);
    places.elementSlot.assign(elements.size(), -1);
    std::map<std::wstring, int> first;
    for (int p = stored - 1; p >= 0; --p) {
        if (elements[static_cast<size_t>(p)].bNumber)
            first[std::wstring(static_cast<LPCWSTR>(elements[static_cast<size_t>(p)].strNumber))] = p;
    }
    for (int n = 0; n < readable; ++n) {
        const auto found = first.find(std::to_wstring(n + 1));
        if (found == first.end())
            continue;
        places.slotElement[static_cast<size_t>(n)] = found->second;
        places.elementSlot[static_cast<size_t>(found->second)] = n;
    }
    return places;
}

// The elements as they are to stand: those the reader took (`taken`), in
// their order, hold what is written, more go after the last of them, and
// those left over go; the others stay as stored where they stand. One of
// those that would stand before a written addition of its number would be
// found instead of it: it goes to the end.
std::vector<StoredAddition> PlaceAdditions(const std::vector<StoredAddition>& elements,
                                           const std::vector<bool>& taken,
                                           const std::vector<StoredAddition>& written)
{
    std::vector<StoredAddition> wanted;
    std::vector<bool> kept;
    auto put = [&](const StoredAddition& addition, bool stored) {
        wanted.push_back(addition);
        kept.push_back(stored);
    };
    size_t last = elements.size();
    for (size_t p = 0; p < elements.size(); ++p)
        last = taken[p] ? p : last;
    if (last == elements.size())
        last = elements.empty() ? 0 : elements.size() - 1;
    size_t next = 0;
    for (size_t p = 0; p <= last && !elements.empty(); ++p) {
        if (!taken[p])
            put(elements[p], true);
        else if (next < written.size())
            put(written[next++], false);
    }
    for (; next < written.size(); ++next)
        put(written[next], false);
    for (size_t p = last + 1; p < elements.size(); ++p)
        put(elements[p], true);
    for (size_t i = 0; i < wanted.size(); ++i) {
        if (!kept[i] || !wanted[i].bNumber)
            continue;
        for (size_t j = i + 1; j < wanted.size(); ++j) {
            if (!kept[j] && wanted[j].strNumber == wanted[i].strNumber) {
                const StoredAddition moved = wanted[i];
                put(moved, true);
                wanted.erase(wanted.begin() + static_cast<std::ptrdiff_t>(i));
                kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(i));
                --i;
                break;
            }
        }
    }
    return wanted;
}

CString ReadText(CECGXMLParser* xml, const CString& xpath, int type = 4, const CString& attrib = CString())
{
    CString text;
    if (!xml->GetDataFromXMLDOM(text, xpath, type, attrib))
        return CString();
    return text;
}

CString OneLine(CString text)
{
    text.Replace(L"\r\n", L"");
    text.Replace(L"\n", L"");
    return text;
}

CString WorkFile(const wchar_t* name)
{
    CString path;
    path.Format(L"%s\\%s", g_pWorkDir ? g_pWorkDir : L"", name);
    return path;
}

// The Japanese text of a code in a master file; the code is quoted so that
// a typed quote cannot change the query.
CString MasterText(CECGXMLParser& xml, const wchar_t* codePath, const CString& code)
{
    CString xpath;
    xpath.Format(L"%s[@value=%s]/%s", codePath, static_cast<LPCWSTR>(CECGXMLParser::XPathLiteral(code)),
                 L"Japanese_text");
    return ReadText(&xml, xpath);
}

// Checked as a date: an edit date saved without one (its parts empty) or
// that is no calendar date reads as none.
CString ReadAdditionEditDate(CECGXMLParser* xml)
{
    _XML_ATTRIB_DATE date;
    if (!xml->GetDateAttrib(date, kAddEditDate, 1))
        return L"****/**/** **:**:**";
    CString text;
    text.Format(L"%04d/%02d/%02d %02d:%02d:%02d", _wtoi(date.strYear), _wtoi(date.strMonth), _wtoi(date.strDay),
                _wtoi(date.strHour), _wtoi(date.strMinute), _wtoi(date.strSecond));
    return text;
}

int MatchesMaster(const CString& master, const CString& text)
{
    if (master.IsEmpty())
        return 0;
    return (text.IsEmpty() || text.CompareNoCase(master) == 0) ? 1 : 0;
}

// The additions rows of the form for a system code: title ids, then content
// ids; null when the form shows none.
const UINT* AdditionRowIds(int nSystemCode)
{
    static const UINT kRest[6] = {3971, 3972, 3973, 3980, 3981, 3982};
    static const UINT kUsaRest[6] = {3985, 3986, 3987, 3994, 3995, 3996};
    static const UINT kPanel[6] = {3999, 4000, 4001, 4008, 4009, 4010};
    const unsigned c = static_cast<unsigned>(nSystemCode) & 0xFFFF;
    const unsigned b = c & 0xFF;
    if (b == 0 || b == 254 || b == 255 || b == 11 || b == 226 || b == 227)
        return kRest;
    if (b == 243 || b == 244)
        return kUsaRest;
    if (b == 10 || b == 245 || b == 246 || b == 38 || b == 218 || b == 217 || b == 5 || b == 26 || b == 229 ||
        b == 230 || b == 28)
        return kPanel;
    if (c == 0x800C || c == 0x800F)
        return kRest;
    if (c == 0x8001 || c == 0x8003)
        return kPanel;
    return nullptr;
}

}  // namespace

void CTavrionDoc::GetAdditionalInforFromXMLFile(CECGXMLParser* xml, _ADDITIONAL_INFO& info, _ECGDATA* image)
{
    if (!image)
        return;
    if (!image->pfnGetData || image->pfnGetData(image, 4108, 0, nullptr, 0) <= 0) {
        info.bPresent = 0;
        return;
    }
    ReadAdditionsFromXML(xml, info);
}

void CTavrionDoc::ReadAdditionsFromXML(CECGXMLParser* xml, _ADDITIONAL_INFO& info)
{
    if (!xml || !xml->FindNode(kAddition)) {
        info.bPresent = 0;
        return;
    }
    info.bPresent = 1;
    info.strEditDate = ReadAdditionEditDate(xml);
    info.strEditor = ReadText(xml, kAddEditor);

    // The arrays hold 256: a record with more keeps its first 256, and the
    // count never promises more than the arrays have. Each addition is the
    // element first found by its number; a number no element has reads as
    // an empty addition.
    const int found = xml->GetObjectCount(kAddContent);
    std::vector<StoredAddition> elements;
    for (int p = 1; p <= found; ++p)
        elements.push_back(ReadStoredAddition(xml, p));
    const ReaderPlaces places = FindReaderPlaces(elements);
    info.nCount = static_cast<int>(places.slotElement.size());
    for (int i = 0; i < ADDITION_MAX; ++i) {
        const int p = i < info.nCount ? places.slotElement[static_cast<size_t>(i)] : -1;
        if (p >= 0) {
            info.strTitle[i] = OneLine(elements[static_cast<size_t>(p)].strTitle);
            info.strContent[i] = OneLine(elements[static_cast<size_t>(p)].strContent);
        } else {
            info.strTitle[i].Empty();
            info.strContent[i].Empty();
        }
    }

    _XML_ATTRIB_DATE login;
    info.strLoginEditDate.Empty();
    if (xml->GetDateAttrib(login, kLoginEditDate, 0)) {
        info.strLoginEditDate.Format(L"%s/%s/%s %s:%s", static_cast<LPCWSTR>(login.strYear),
                                     static_cast<LPCWSTR>(login.strMonth), static_cast<LPCWSTR>(login.strDay),
                                     static_cast<LPCWSTR>(login.strHour), static_cast<LPCWSTR>(login.strMinute));
    }
    info.strLoginEditor = ReadText(xml, kLoginEditor);
}

void CTavrionDoc::SaveAdditionToXML(CECGXMLParser* xml, _ADDITIONAL_INFO& info)
{
    // Additions that were never read (the device record does not flag them,
    // or the record XML has none) are not the item's to write: writing its
    // empty record would erase whatever the record XML holds.
    if (!xml || !info.bPresent)
        return;
    xml->SetDataToXMLDOM(info.strEditor, kAddEditor, 4, CString());

    // An edit date that still reads as the stored one is no edit: one the
    // reader refused (no day that exists) stays as stored.
    if (info.strEditDate != ReadAdditionEditDate(xml)) {
        _XML_ATTRIB_DATE date;
        COleDateTime parsed;
        if (parsed.ParseDateTime(info.strEditDate) && parsed.GetStatus() == COleDateTime::valid)
            date.SetDate(parsed);
        xml->SetDateAttrib(date, kAddEditDate);
    }

    // The reader found addition n by its number: the first element whose
    // number reads "n", for n up to the count of elements. Elements it did
    // not find so (a number written "02", " 2" or "２", none, one past a gap,
    // a second of one number) are shown by no form, and stay as stored where
    // they stand. The elements it found take the item's additions in order,
    // numbered from 1, and those past the ones the arrays hold follow them
    // under the numbers after the item's; an element that reads as the one
    // the item holds in its place is left as it is, its line breaks and
    // blanks included. When every addition reads as the one stored in its
    // place, the record XML keeps them all as they are.
    const int count = info.nCount < 0 ? 0 : (info.nCount > ADDITION_MAX ? ADDITION_MAX : info.nCount);
    const int stored = xml->GetObjectCount(kAddContent);
    std::vector<StoredAddition> elements;
    for (int p = 1; p <= stored; ++p) elements.push_back(ReadStoredAddition(xml, p));
    const ReaderPlaces reader = FindReaderPlaces(elements);
    const int readable = static_cast<int>(reader.slotElement.size());
    auto readsAs = [&](int slot, int n) {
        const int p = reader.slotElement[static_cast<size_t>(slot)];
        const CString title = p < 0 ? CString() : OneLine(elements[static_cast<size_t>(p)].strTitle);
        const CString content = p < 0 ? CString() : OneLine(elements[static_cast<size_t>(p)].strContent);
        return title == info.strTitle[n] && content == info.strContent[n];
    };
    // The place each addition was read from, its own first.
    std::vector<int> source(static_cast<size_t>(count), -1);
    bool asStored = count == readable;
    for (int n = 0, next = 0; n < count; ++n) {
        int found = n >= next && n < readable && readsAs(n, n) ? n : -1;
        for (int s = next; found < 0 && s < readable; ++s)
            found = readsAs(s, n) ? s : -1;
        if (found >= 0)
            next = found + 1;
        source[static_cast<size_t>(n)] = found;
        asStored = asStored && found == n;
    }
    if (asStored)
        return;

    // The additions written: one read from a number no element has is an
    // empty place the reader shows, and stays one (an element the reader
    // does not find keeps the count that shows it).
    std::vector<StoredAddition> written;
    for (int n = 0; n < count; ++n) {
        const int slot = source[static_cast<size_t>(n)];
        const int from = slot < 0 ? -1 : reader.slotElement[static_cast<size_t>(slot)];
        if (slot >= 0 && from < 0)
            continue;
        StoredAddition entry;
        if (from >= 0) {
            entry = elements[static_cast<size_t>(from)];
        } else {
            entry.bTitle = true;
            entry.strTitle = info.strTitle[n];
            entry.strContent = info.strContent[n];
            // What of an edited addition still reads as stored in its place
            // (the title, when only the text was edited) is written as stored.
            const int own = n < readable ? reader.slotElement[static_cast<size_t>(n)] : -1;
            if (own >= 0 && OneLine(elements[static_cast<size_t>(own)].strTitle) == entry.strTitle) {
                entry.bTitle = elements[static_cast<size_t>(own)].bTitle;
                entry.strTitle = elements[static_cast<size_t>(own)].strTitle;
            }
            if (own >= 0 && OneLine(elements[static_cast<size_t>(own)].strContent) == entry.strContent)
                entry.strContent = elements[static_cast<size_t>(own)].strContent;
        }
        entry.bNumber = true;
        entry.strNumber.Format(L"%d", n + 1);
        written.push_back(entry);
    }
    // Those past the ones the arrays hold, which no form shows, follow the
    // item's additions under the numbers after them.
    int following = count;
    std::vector<bool> taken(elements.size(), false);
    for (size_t p = 0; p < elements.size(); ++p) {
        taken[p] = reader.elementSlot[p] >= 0 || p >= static_cast<size_t>(ADDITION_MAX);
        if (taken[p] && reader.elementSlot[p] < 0) {
            StoredAddition extra = elements[p];
            extra.bNumber = true;
            extra.strNumber.Format(L"%d", ++following);
            written.push_back(extra);
        }
    }

    const std::vector<StoredAddition> wanted = PlaceAdditions(elements, taken, written);
    const size_t common = wanted.size() < elements.size() ? wanted.size() : elements.size();
    for (size_t p = 0; p < common; ++p)
        WriteStoredAddition(xml, static_cast<int>(p) + 1, elements[p], wanted[p]);
    for (size_t p = common; p < wanted.size(); ++p)
        AppendStoredAddition(xml, static_cast<int>(p) + 1, wanted[p]);
    // Bounded by the elements present, so a node that will not go cannot
    // keep the loop running.
    for (size_t p = elements.size(); p > common; --p) {
        if (!xml->RemoveNode(ElementPath(static_cast<int>(p))))
            break;
    }
}

void CTavrionDoc::UpdateCurItemAddition(int nSystemCode, _ADDITIONAL_INFO& info)
{
    if (!info.bPresent)
        return;
    if (info.nCount > ADDITION_MAX)
        info.nCount = ADDITION_MAX;
    if (info.nCount < 0)
        info.nCount = 0;
    const UINT* ids = AdditionRowIds(nSystemCode);
    int kept = 0;
    for (int row = 0; row < 3 && ids; ++row) {
        CString title, content;
        GetCtrlData(ids[row], title);
        GetCtrlData(ids[3 + row], content);
        // A row of the record that the form still shows as loaded is no
        // edit: it stays as read, blanks and an empty row included.
        const bool untouched =
            row < info.nCount && title == info.strTitle[row] && content == info.strContent[row];
        if (!untouched) {
            title.Trim();
            content.Trim();
            if (title.IsEmpty() && content.IsEmpty())
                continue;
        }
        info.strTitle[kept] = title;
        info.strContent[kept] = content;
        ++kept;
    }
    const int dropped = 3 - kept;
    if (dropped > 0 && info.nCount > 3) {
        const int oldCount = info.nCount;
        info.nCount -= dropped;
        for (int i = kept; i < info.nCount; ++i) {
            info.strTitle[i] = info.strTitle[i + dropped];
            info.strContent[i] = info.strContent[i + dropped];
        }
        for (int i = info.nCount; i < oldCount; ++i) {
            info.strTitle[i].Empty();
            info.strContent[i].Empty();
        }
    } else if (dropped > 0) {
        for (int i = kept; i < info.nCount; ++i) {
            info.strTitle[i].Empty();
            info.strContent[i].Empty();
        }
        info.nCount = kept;
    } else if (info.nCount < 4) {
        info.nCount = 3;
    }
}

int CTavrionDoc::InsertEditableParam(_EDITABLE_PARAM_INDEX index, const CString& text)
{
    CStringArray* list = GetEditableParam(index);
    if (!list)
        return 0;
    list->Add(text);
    return 1;
}

CStringArray* CTavrionDoc::GetEditableParam(_EDITABLE_PARAM_INDEX index)
{
    const int i = static_cast<int>(index);
    if (i < 0 || i >= EDITABLE_PARAM_COUNT)
        return nullptr;
    return &m_arrEditableParam[i];
}

int CTavrionDoc::ClearEditableParam(_EDITABLE_PARAM_INDEX index)
{
    CStringArray* list = GetEditableParam(index);
    if (!list)
        return 0;
    list->RemoveAll();
    return 1;
}

CString CTavrionDoc::GetListedText(const CStringArray* list, int nSel, const CString& strStored)
{
    // The last entry of a pick list stands for the free text, so it is never
    // taken by index: the stored text shows instead.
    if (strStored.IsEmpty() && list && nSel >= 0 && nSel < list->GetSize() - 1)
        return list->GetAt(nSel);
    return strStored;
}

void CTavrionDoc::SetSubstituteParam(_SUBSTITUTE_SELECT_OR_EDITMODE mode, int value)
{
    if (mode == SUBSTITUTE_SELECT)
        g_bSubstitute = value;
    else
        g_bEditSubstituteMode = value;
}

int CTavrionDoc::GetSubstituteParam(_SUBSTITUTE_SELECT_OR_EDITMODE mode)
{
    return mode == SUBSTITUTE_SELECT ? g_bSubstitute : g_bEditSubstituteMode;
}

int CTavrionDoc::IsMinnesotaValid(CString strCode, CString strText)
{
    if (strCode.IsEmpty())
        return 0;
    CECGXMLParser xml(WorkFile(L"Minesota_mst.xml"), 0, CString());
    return MatchesMaster(MasterText(xml, L"/Minesota/Minesota_Code/Code", strCode), strText);
}

int CTavrionDoc::IsIvrelValid(CString strCode, CString strText)
{
    if (strCode.IsEmpty())
        return 0;
    CECGXMLParser xml(WorkFile(L"Ivrel12.xml"), 0, CString());
    CString master = MasterText(xml, L"/Ivrel/Ivrel_code/Code", strCode);
    if (master.IsEmpty())
        master = MasterText(xml, L"/Ivrel/Judgement_code/Code", strCode);
    return MatchesMaster(master, strText);
}

int CTavrionDoc::IsMinnesotaNotMatchingValid(CString strCode, CString strMarker)
{
    if (strCode.IsEmpty())
        return 0;
    std::string bytes = platform::EncodeCodePage(936, std::wstring(static_cast<LPCWSTR>(strCode)));
    if (bytes.size() > 6)
        return 0;

    int digits[3][2] = {{15, 15}, {15, 15}, {15, 15}};   // 15: no digit
    int groupLength[3] = {0, 0, 0};
    int group = 0;
    int digitCount = 0;
    bool bValid = true;
    for (char ch : bytes) {
        if (ch == ' ')
            continue;
        if (ch == '-') {
            if (++group > 2) {
                bValid = false;
                break;
            }
            continue;
        }
        if (ch < '0' || ch > '9') {
            bValid = false;
            break;
        }
        const int limit = group == 0 ? 2 : 1;
        if (groupLength[group] >= limit) {
            bValid = false;
            break;
        }
        digits[group][groupLength[group]++] = ch - '0';
        ++digitCount;
    }
    bValid = bValid && digitCount > 0;

    // The packed form: the first group in the first byte (a single digit in
    // the low half), the second and third groups in the halves of the second.
    CString packed;
    if (bValid) {
        const int high = groupLength[0] == 2 ? digits[0][0] : 15;
        const int low = groupLength[0] == 2 ? digits[0][1] : digits[0][0];
        const int halves[4] = {high, low, digits[1][0], digits[2][0]};
        for (int h = 0; h < 2; ++h) {
            if (halves[h] != 15)
                packed.AppendFormat(L"%d", halves[h]);
        }
        for (int h = 2; h < 4; ++h) {
            if (halves[h] != 15)
                packed.AppendFormat(L"-%d", halves[h]);
        }
    }
    (void)strMarker;   // the marker only flags the packed code; it never decides validity
    return packed.IsEmpty() ? 0 : 1;
}

CString CTavrionDoc::GetVersionText(const wchar_t* pszXMLPath)
{
    CString text;
    const CString ocx = WorkFile(L"Tavrion.ocx");
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(ocx, &handle);
    if (size > 0) {
        std::vector<BYTE> block(size);
        LPVOID value = nullptr;
        UINT length = 0;
        if (GetFileVersionInfoW(ocx, handle, size, block.data()) &&
            VerQueryValueW(block.data(), L"\\StringFileInfo\\041103a4\\FileVersion", &value, &length) && value) {
            text = static_cast<const wchar_t*>(value);
            text = text.Right(5);
        }
    }
    if (!pszXMLPath)
        return text;
    const CString path = pszXMLPath;
    CECGXMLParser xml(path, Is8000File(path), CString());
    CString part = ReadText(&xml, L"/Rawdata/Tavrion/System/System_info/System_section/System_type");
    part.TrimRight();
    const CString parts[4] = {
        part,
        ReadText(&xml, L"/Rawdata/Tavrion/System/System_info/System_section/Version"),
        ReadText(&xml, L"/Rawdata/Tavrion/Record/Unit_version"),
        ReadText(&xml, L"/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles", 2, L"version"),
    };
    for (const CString& p : parts) {
        if (!p.IsEmpty())
            text += L" " + p;
    }
    return text;
}

int GetIvrelIndex()
{
    CString path;
    path.Format(L"%s\\quarnel.ini", g_pWorkDir ? g_pWorkDir : L"");
    wchar_t value[81] = {};
    const DWORD read = GetPrivateProfileStringW(L"LANGUAGE", L"LANGUAGE", L"", value, 81, path);
    if (read == 0)
        return -1;
    return wcscmp(value, L"ENGLISH") == 0 ? 5 : 3;
}
