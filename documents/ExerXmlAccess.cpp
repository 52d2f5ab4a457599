#include "documents/ExerXmlAccess.h"

#include <cstdlib>

#include "core/ECGXMLParser.h"
#include "core/Globals.h"

namespace exer {

namespace {

const wchar_t kIvrelMaster[] = L"Ivrel12.xml";
const wchar_t kJudgementCodes[] = L"/Ivrel/Judgement_code/Code";

// Splits "a/b/@name" into "a/b" and "name"; the attribute is empty otherwise.
void SplitAttribute(const CString& path, CString& element, CString& attrib)
{
    const int at = path.Find(L"/@");
    if (at < 0 || path.Find(L'/', at + 2) >= 0) {
        element = path;
        attrib.Empty();
        return;
    }
    element = path.Left(at);
    attrib = path.Mid(at + 2);
}

CString IvrelMasterPath()
{
    CString path;
    path.Format(L"%s\\%s", g_pWorkDir ? g_pWorkDir : L"", kIvrelMaster);
    return path;
}

}  // namespace

bool ReadXmlValue(CECGXMLParser& xml, const CString& path, CString& text)
{
    text.Empty();
    if (path.IsEmpty()) return false;
    CString element, attrib;
    SplitAttribute(path, element, attrib);
    if (xml.GetDataFromXMLDOM(text, element, attrib.IsEmpty() ? 4 : 2, attrib)) return true;
    text.Empty();
    return false;
}

bool WriteXmlValue(CECGXMLParser& xml, const CString& path, const CString& text)
{
    if (path.IsEmpty()) return false;
    CString element, attrib;
    SplitAttribute(path, element, attrib);
    return xml.SetDataToXMLDOM(text, element, attrib.IsEmpty() ? 4 : 2, attrib) != 0;
}

CString ReadXmlDate(CECGXMLParser& xml, const CString& path)
{
    _XML_ATTRIB_DATE date;
    if (!xml.GetDateAttrib(date, path, 1)) return CString();
    CString text;
    text.Format(L"%04d/%02d/%02d %02d:%02d:%02d", _wtoi(date.strYear), _wtoi(date.strMonth), _wtoi(date.strDay),
                _wtoi(date.strHour), _wtoi(date.strMinute), _wtoi(date.strSecond));
    return text;
}

void WriteXmlDate(CECGXMLParser& xml, const CString& path, const CString& text)
{
    COleDateTime parsed;
    _XML_ATTRIB_DATE date;
    if (!text.IsEmpty() && parsed.ParseDateTime(text) && parsed.GetStatus() == COleDateTime::valid)
        date.SetDate(parsed);
    // The readers take an element as a date only with its style.
    xml.SetDataToXMLDOM(L"Date", path, 2, L"style");
    xml.SetDateAttrib(date, path);
}

CString LookupIvrelText(const CString& code)
{
    if (code.IsEmpty()) return CString();
    CECGXMLParser master(IvrelMasterPath(), 0, CString());
    CString text;
    const CString path =
        CString(kJudgementCodes) + L"[@value=" + CECGXMLParser::XPathLiteral(code) + L"]/Japanese_text";
    if (!master.GetDataFromXMLDOM(text, path, 4, CString())) return CString();
    return text;
}

CString LookupIvrelCode(const CString& text)
{
    if (text.IsEmpty()) return CString();
    CECGXMLParser master(IvrelMasterPath(), 0, CString());
    const int count = master.GetObjectCount(kJudgementCodes);
    for (int n = 1; n <= count; ++n) {
        CString entry;
        entry.Format(L"%s[%d]", kJudgementCodes, n);
        CString candidate;
        if (!master.GetDataFromXMLDOM(candidate, entry + L"/Japanese_text", 4, CString()) || candidate != text) continue;
        CString code;
        return master.GetDataFromXMLDOM(code, entry, 2, L"value") ? code : CString();
    }
    return CString();
}

}  // namespace exer
