#include "documents/RecordXmlText.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cwchar>
#include <utility>
#include <vector>

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/ReferenceIds.h"
#include "core/TavrionDoc.h"
#include "documents/RecordPaths.h"
#include "platform/base/DateTime.h"

namespace {

bool ReadTrimmed(CECGXMLParser& xml, const CString& path, LPCWSTR attribute, CString& text)
{
    text = RecordXmlText(xml, path, attribute);
    text.Trim();
    return !text.IsEmpty();
}

struct NonChoiceColor {
    int nSlot;
    const wchar_t* pszElement;
    COLORREF crDefault;
};
const NonChoiceColor kNonChoiceColors[] = {
    {18, L"Bkg_non_choice", RGB(0, 0, 0)},
    {17, L"Grid_non_choice", RGB(0, 128, 128)},
    {16, L"Wave_non_choice", RGB(255, 255, 255)},
    {19, L"Wave_info_non_choice", RGB(255, 255, 255)},
};

struct SettingColor {
    int nSlot;
    COLORREF crDefault;
};
const SettingColor kSettingColors[] = {
    {18, RGB(0, 0, 0)},     {17, RGB(0, 128, 128)}, {16, RGB(255, 255, 255)}, {19, RGB(255, 255, 255)},
    {5, RGB(67, 57, 244)},  {6, RGB(213, 81, 203)}, {7, RGB(61, 153, 45)},    {8, RGB(0, 0, 0)},
    {9, RGB(255, 0, 0)},    {10, RGB(0, 192, 168)}, {11, RGB(255, 0, 255)},   {12, RGB(32, 168, 224)},
    {13, RGB(128, 64, 32)}, {14, RGB(49, 63, 177)},
};

}  // namespace

CString RecordXmlText(CECGXMLParser& xml, const CString& path, LPCWSTR attribute)
{
    CString text;
    if (path.IsEmpty()) return text;
    const CString attrib = attribute ? CString(attribute) : CString();
    if (!xml.GetDataFromXMLDOM(text, path, attribute ? 2 : 4, attrib)) return CString();
    return text;
}

bool RecordXmlNumber(CECGXMLParser& xml, const CString& path, long& value, LPCWSTR attribute)
{
    CString text;
    if (!ReadTrimmed(xml, path, attribute, text)) return false;
    wchar_t* end = nullptr;
    const long parsed = std::wcstol(text.GetString(), &end, 10);
    if (!end || *end != L'\0') return false;
    value = parsed;
    return true;
}

bool RecordXmlReal(CECGXMLParser& xml, const CString& path, double& value, LPCWSTR attribute)
{
    CString text;
    if (!ReadTrimmed(xml, path, attribute, text)) return false;
    wchar_t* end = nullptr;
    const double parsed = std::wcstod(text.GetString(), &end);
    if (!end || *end != L'\0' || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

void WriteRecordXmlText(CECGXMLParser& xml, const CString& path, const CString& text)
{
    if (path.IsEmpty()) return;
    // An empty value the record XML has no element for stays out of it: the
    // element would read the same, or (a request section) as filled in.
    CString stored;
    if (text.IsEmpty() && !xml.GetDataFromXMLDOM(stored, path, 4, CString())) return;
    xml.SetDataToXMLDOM(text, path, 4, CString());
}

void WriteChangedRecordXmlAttribute(CECGXMLParser& xml, const CString& path, LPCWSTR attribute, const CString& text,
                                    const CString& missing)
{
    CString stored;
    const CString read = xml.GetDataFromXMLDOM(stored, path, 2, attribute) ? stored : missing;
    if (read != text) xml.SetDataToXMLDOM(text, path, 2, attribute);
}

void WriteRecordXmlNumber(CECGXMLParser& xml, const CString& path, int value,
                          int (*read)(CECGXMLParser& xml, const CString& path))
{
    if (path.IsEmpty() || read(xml, path) == value) return;
    WriteRecordXmlText(xml, path, IntText(value));
}

int ReadListIndex(CECGXMLParser& xml, const CString& path)
{
    long value = -1;
    if (!RecordXmlNumber(xml, path, value) || value < INT_MIN || value > INT_MAX) return -1;
    return static_cast<int>(value);
}

void RenewRecordRows(CECGXMLParser& xml, const CString& parent, LPCWSTR element, int count,
                     const std::vector<int>& shown)
{
    const CString rows = parent + L"/" + element;
    struct StoredRow {
        CString mask, title, text;
    };
    std::vector<StoredRow> kept;
    std::vector<int> replaced;
    const int stored = xml.GetObjectCount(rows);
    for (int position = 1; position <= stored; ++position) {
        const CString row = rows + L"[" + IntText(position) + L"]";
        // The reader took the first row of each number it asked for.
        long number = 0;
        if (RecordXmlNumber(xml, row, number, L"number") &&
            std::find(shown.begin(), shown.end(), number) != shown.end() &&
            std::find(replaced.begin(), replaced.end(), number) == replaced.end()) {
            replaced.push_back(static_cast<int>(number));
            continue;
        }
        kept.push_back({RecordXmlText(xml, row, L"mask"), RecordXmlText(xml, row, L"title"), RecordXmlText(xml, row)});
    }
    for (int guard = stored; guard >= 0 && xml.RemoveNode(rows); --guard) {
    }
    if (count <= 0 && kept.empty()) return;
    if (!xml.FindNode(parent)) xml.SetDataToXMLDOM(CString(), parent, 4, CString());
    CString parentPath = parent;
    auto append = [&](int number, const StoredRow& row) {
        CXmlElmentNode node;
        node.SetName(element);
        const std::pair<const wchar_t*, CString> attributes[] = {
            {L"number", IntText(number)}, {L"mask", row.mask}, {L"title", row.title}};
        for (const auto& [name, value] : attributes) {
            CXmlAttribNode attribute;
            attribute.SetName(name);
            attribute.SetContent(value);
            node.m_arrAttrib.Add(attribute);
        }
        node.SetContent(row.text);
        xml.Add_LastChildNode(node, parentPath);
    };
    for (int i = 1; i <= count; ++i) append(i, StoredRow());
    for (size_t i = 0; i < kept.size(); ++i) append(count + 1 + static_cast<int>(i), kept[i]);
}

CString IntText(int value)
{
    CString text;
    text.Format(L"%d", value);
    return text;
}

CString RealText(LPCWSTR format, double value)
{
    CString text;
    text.Format(format, value);
    return text;
}

CString SettingPath(LPCWSTR element)
{
    return CString(REFERENCE_SETTING_PATH L"/") + element;
}

bool ReadSetting(CECGXMLParser& xml, LPCWSTR element, CString& text, LPCWSTR attribute)
{
    const bool attrib = attribute && *attribute;
    const CString name = attrib ? CString(attribute) : CString();
    return xml.GetDataFromXMLDOM(text, SettingPath(element), attrib ? 2 : 4, name) != 0;
}

bool ReadSettingNumber(CECGXMLParser& xml, LPCWSTR element, int& value, LPCWSTR attribute)
{
    long number = 0;
    if (!RecordXmlNumber(xml, SettingPath(element), number, attribute && *attribute ? attribute : nullptr)) return false;
    // Rather than its low bits.
    if (number < INT_MIN || number > INT_MAX) return false;
    value = static_cast<int>(number);
    return true;
}

bool ReadSettingReal(CECGXMLParser& xml, LPCWSTR element, double& value, LPCWSTR attribute)
{
    return RecordXmlReal(xml, SettingPath(element), value, attribute && *attribute ? attribute : nullptr);
}

int SettingNumberOr(CECGXMLParser& xml, LPCWSTR element, int fallback, LPCWSTR attribute)
{
    int value = 0;
    return ReadSettingNumber(xml, element, value, attribute) ? value : fallback;
}

void WriteSetting(CECGXMLParser& xml, LPCWSTR element, const CString& text, LPCWSTR attribute)
{
    const bool attrib = attribute && *attribute;
    const CString name = attrib ? CString(attribute) : CString();
    xml.SetDataToXMLDOM(text, SettingPath(element), attrib ? 2 : 4, name);
}

CString FormatRecordDate(const _XML_ATTRIB_DATE& date)
{
    CString text;
    text.Format(L"%04d/%02d/%02d %02d:%02d:%02d", _wtoi(date.strYear), _wtoi(date.strMonth), _wtoi(date.strDay),
                _wtoi(date.strHour), _wtoi(date.strMinute), _wtoi(date.strSecond));
    return text;
}

bool IsCalendarDate(const _XML_ATTRIB_DATE& date)
{
    const int year = _wtoi(date.strYear), month = _wtoi(date.strMonth), day = _wtoi(date.strDay);
    COleDateTime built;
    if (built.SetDateTime(year, month, day, _wtoi(date.strHour), _wtoi(date.strMinute), _wtoi(date.strSecond)) != 0)
        return false;
    return built.GetStatus() == COleDateTime::valid && built.GetYear() == year && built.GetMonth() == month &&
           built.GetDay() == day;
}

_XML_ATTRIB_DATE ParseRecordDate(const CString& text)
{
    _XML_ATTRIB_DATE date;
    COleDateTime parsed;
    if (!text.IsEmpty() && parsed.ParseDateTime(text) && parsed.GetStatus() == COleDateTime::valid)
        date.SetDate(parsed);
    return date;
}

CString ReadRecordDate(CECGXMLParser& xml, const CString& path, RecordDateCheck check)
{
    _XML_ATTRIB_DATE date;
    if (path.IsEmpty() || !xml.GetDateAttrib(date, path, 0)) return CString();
    if (date.strYear.IsEmpty() && date.strMonth.IsEmpty() && date.strDay.IsEmpty()) return CString();
    if (check == RecordDateCheck::Calendar && !IsCalendarDate(date)) return CString();
    return FormatRecordDate(date);
}

void WriteRecordDate(CECGXMLParser& xml, const CString& path, const _XML_ATTRIB_DATE& date)
{
    if (path.IsEmpty()) return;
    xml.SetDateAttrib(date, path);
    CString style;
    if (!xml.GetDataFromXMLDOM(style, path, 2, L"style") || style != L"Date")
        xml.SetDataToXMLDOM(L"Date", path, 2, L"style");
}

void WriteRecordDate(CECGXMLParser& xml, const CString& path, const CString& text)
{
    if (path.IsEmpty() || ReadRecordDate(xml, path, RecordDateCheck::Any) == text) return;
    if (text.IsEmpty() && ReadRecordDate(xml, path, RecordDateCheck::Calendar).IsEmpty()) return;
    WriteRecordDate(xml, path, ParseRecordDate(text));
}

CString ReadAnalysisDate(CECGXMLParser& xml, const CString& first, const CString& second, AnalysisDateRead read)
{
    const CString date = ReadRecordDate(xml, first, RecordDateCheck::Calendar);
    if (!date.IsEmpty() || read == AnalysisDateRead::FirstOnly) return date;
    return ReadRecordDate(xml, second, RecordDateCheck::Calendar);
}

void WriteAnalysisDates(CECGXMLParser& xml, const CString& first, const CString& second, const CString& text,
                        AnalysisDateRead read, bool emptyFirst)
{
    // The reader took one of the two and shows it as the analysis date; the
    // other may hold another date, or none (a model-8000 record's first).
    if (text == ReadAnalysisDate(xml, first, second, read)) return;
    const _XML_ATTRIB_DATE date = ParseRecordDate(text);
    WriteRecordDate(xml, second, date);
    WriteRecordDate(xml, first, emptyFirst ? _XML_ATTRIB_DATE() : date);
}

CString PaddedNumber(CString text, LPCWSTR format)
{
    text.Trim();
    if (text.IsEmpty()) return CString();
    CString out;
    out.Format(format, _wtoi(text));
    return out;
}

CString ToCrLf(const CString& text)
{
    CString out;
    const int length = text.GetLength();
    for (int i = 0; i < length; ++i) {
        const wchar_t ch = text[i];
        if (ch == L'\n' && (i == 0 || text[i - 1] != L'\r')) out += L'\r';
        out += ch;
    }
    return out;
}

void WriteRecordComment(CECGXMLParser& xml, const CString& path, const CString& comment)
{
    if (path.IsEmpty()) return;
    const CString written = ToCrLf(comment);
    CString stored;
    if (xml.FindNode(path) && xml.GetDataFromXMLDOM(stored, path, 4, CString()) && ToCrLf(stored) == written) return;
    WriteRecordXmlText(xml, path, written);
}

void ReadNonChoiceColors(CTavrionDoc& doc, CECGXMLParser& xml)
{
    for (const NonChoiceColor& color : kNonChoiceColors) {
        COLORREF value = color.crDefault;
        const CString path = CString(REFERENCE_COLOR_SETTING_PATH L"/Wave_color/") + color.pszElement;
        if (!xml.GetColorAttrib(value, path)) value = color.crDefault;
        doc.SetWaveColor(color.nSlot, value);
    }
}

float ReadSettingSense(CECGXMLParser& xml, LPCWSTR element)
{
    double value = 0.0;
    return ReadSettingReal(xml, element, value) ? DisplaySense(value, 10.0f) : 10.0f;
}

int ReadSettingFilter(CECGXMLParser& xml)
{
    const int filter = SettingNumberOr(xml, L"Filter", 100);
    return IsDisplayFilter(filter) ? filter : 100;
}

void ReadSettingRhythmLead(CECGXMLParser& xml, int leads, int& standard, int& extension)
{
    int lead = 0;
    const bool found = ReadSettingNumber(xml, L"Rhythm_1lead", lead) && lead >= 0 && lead < leads;
    if (leads == 15 && found && lead >= 12) {
        extension = lead - 11;
        return;
    }
    standard = found ? lead : 0;
    if (leads == 15) extension = 0;
}

void ReadSettingColors(CTavrionDoc& doc, CECGXMLParser& xml)
{
    for (const SettingColor& color : kSettingColors) {
        COLORREF value = color.crDefault;
        const CString path = CString(REFERENCE_COLOR_SETTING_PATH L"/") + GetColorSlotElement(color.nSlot);
        if (!xml.GetColorAttrib(value, path)) value = color.crDefault;
        doc.SetWaveColor(color.nSlot, value);
    }
}

void ReadSettingLeadSelections(CTavrionDoc& doc, CECGXMLParser& xml, int systemCode, bool fifteenLeads)
{
    auto read = [&](LPCWSTR element, int fullMask, _RHYTHM_WAVE_STYLE style) {
        doc.SetLeadSelection(static_cast<short>(SettingNumberOr(xml, element, fullMask)), systemCode, style);
    };
    if (!fifteenLeads) {
        read(L"Lead_selection/Lead_12ch", 0xFFF, 11);
        return;
    }
    read(L"Lead_selection/Lead_15ch", 0x7FFF, 12);
    read(L"Lead_selection/Lead_9ch", 0x7FC0, 9);
}

bool IsDisplayFilter(double hz)
{
    for (double offered : {0.0, 25.0, 35.0, 75.0, 100.0, 150.0}) {
        if (hz == offered) return true;
    }
    return false;
}

float DisplaySense(double mmPerMv, float fallback)
{
    for (double step : {1.25, 2.5, 5.0, 10.0, 20.0, 40.0}) {
        if (std::fabs(mmPerMv - step) < 1e-6) return static_cast<float>(step);
    }
    return fallback;
}

const wchar_t kIvrelCodeList[] = L"/Ivrel/Ivrel_code/Code";
const wchar_t kIvrelJudgementList[] = L"/Ivrel/Judgement_code/Code";

CString IvrelMasterPath()
{
    CString path;
    path.Format(L"%s\\%s", g_pWorkDir ? g_pWorkDir : L"", L"Ivrel12.xml");
    return path;
}

CString IvrelMasterText(CECGXMLParser& master, LPCWSTR list, const CString& code)
{
    if (code.IsEmpty()) return CString();
    CString path;
    path.Format(L"%s[@value=%s]/Japanese_text", list, CECGXMLParser::XPathLiteral(code).GetString());
    return RecordXmlText(master, path);
}

_BIRTHDAY ReadBirthdayAttributes(CECGXMLParser& xml)
{
    _BIRTHDAY birthday;
    birthday.strYear = PaddedNumber(RecordXmlText(xml, recordpath::kBirthday, L"year"), L"%04d");
    birthday.strMonth = PaddedNumber(RecordXmlText(xml, recordpath::kBirthday, L"month"), L"%02d");
    birthday.strDay = PaddedNumber(RecordXmlText(xml, recordpath::kBirthday, L"day"), L"%02d");
    return birthday;
}

bool SameBirthday(const _BIRTHDAY& a, const _BIRTHDAY& b)
{
    return a.strYear == b.strYear && a.strMonth == b.strMonth && a.strDay == b.strDay;
}

void WriteBirthdayAttributes(CTavrionDoc& doc, CECGXMLParser& xml, const _BIRTHDAY& birthday, bool bValid)
{
    if (SameBirthday(doc.CheckBirthday(ReadBirthdayAttributes(xml)), birthday)) return;
    xml.SetDataToXMLDOM(bValid ? birthday.strYear : CString(), recordpath::kBirthday, 2, L"year");
    xml.SetDataToXMLDOM(bValid ? birthday.strMonth : CString(), recordpath::kBirthday, 2, L"month");
    xml.SetDataToXMLDOM(bValid ? birthday.strDay : CString(), recordpath::kBirthday, 2, L"day");
}
