#include "documents/RestXmlText.h"

#include <cmath>
#include <cwchar>

#include "core/ECGXMLParser.h"
#include "core/LayoutNames.h"
#include "platform/base/DateTime.h"

namespace {

bool ReadTrimmed(CECGXMLParser& xml, const CString& path, LPCWSTR attribute, CString& text)
{
    if (path.IsEmpty()) return false;
    if (!xml.GetDataFromXMLDOM(text, path, attribute ? 2 : 4, attribute ? CString(attribute) : CString())) return false;
    text.Trim();
    return !text.IsEmpty();
}

}  // namespace

const RestGlobalBinding kRestGlobals[10] = {
    {L"Interpre_hr_stc", 0, L"***"},       {L"Interpre_pr_int_stc", 0, L"****"}, {L"Interpre_qrs_int_stc", 0, L"****"},
    {L"Interpre_qt_stc", 0, L"****"},      {L"Interpre_qt_stc", 1, L"****"},     {L"Interpre_pqrst_stc", 0, L"***"},
    {L"Interpre_pqrst_stc", 1, L"***"},    {L"Interpre_pqrst_stc", 2, L"***"},   {L"Interpre_rv5_sv1_stc", 0, L"*.***"},
    {L"Interpre_rv5_sv1_stc", 1, L"*.***"},
};

CString RestRowControl(LPCWSTR format, int row)
{
    CString name;
    name.Format(format, row);
    return name;
}

CString RestXmlText(CECGXMLParser& xml, const CString& path, LPCWSTR attribute)
{
    CString text;
    if (path.IsEmpty()) return text;
    if (!xml.GetDataFromXMLDOM(text, path, attribute ? 2 : 4, attribute ? CString(attribute) : CString())) return CString();
    return text;
}

bool RestXmlNumber(CECGXMLParser& xml, const CString& path, long& value, LPCWSTR attribute)
{
    CString text;
    if (!ReadTrimmed(xml, path, attribute, text)) return false;
    wchar_t* end = nullptr;
    const long parsed = std::wcstol(text.GetString(), &end, 10);
    if (!end || *end != L'\0') return false;
    value = parsed;
    return true;
}

bool RestXmlReal(CECGXMLParser& xml, const CString& path, double& value, LPCWSTR attribute)
{
    CString text;
    if (!ReadTrimmed(xml, path, attribute, text)) return false;
    wchar_t* end = nullptr;
    const double parsed = std::wcstod(text.GetString(), &end);
    if (!end || *end != L'\0' || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

CString FormatRestDate(const _XML_ATTRIB_DATE& date)
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

_XML_ATTRIB_DATE ParseRestDate(const CString& text)
{
    _XML_ATTRIB_DATE date;
    COleDateTime parsed;
    if (!text.IsEmpty() && parsed.ParseDateTime(text) && parsed.GetStatus() == COleDateTime::valid) date.SetDate(parsed);
    return date;
}

void WriteRestDate(CECGXMLParser& xml, const CString& path, const _XML_ATTRIB_DATE& date)
{
    if (path.IsEmpty()) return;
    const bool existed = xml.FindNode(path) != 0;
    xml.SetDateAttrib(date, path);
    if (!existed) xml.SetDataToXMLDOM(L"Date", path, 2, L"style");
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

CString MeasureElementPath(const CString& key, int lead)
{
    CString node, element, path;
    node.Format(L"/Rawdata/Tavrion/Measurement/Measurement_section/Mm/%s", key.GetString());
    element.Format(L"%s_element", key.GetString());
    path.Format(L"%s/%s[%d]", node.GetString(), element.GetString(), lead + 1);
    return path;
}

bool IsRestFifteenLead(unsigned systemCode)
{
    const unsigned low = systemCode & 0xFF;
    return low == 11 || low == 226 || low == 227;
}

int RestControlIndex(LPCWSTR control)
{
    const _LAYOUT_TABLE_NAMES* names = GetLayoutTableNames(LayoutTable::Rest);
    if (!names || !control) return -1;
    for (int i = 0; i < names->nCount; ++i) {
        if (std::wcscmp(names->ppszNames[i], control) == 0) return i;
    }
    return -1;
}
