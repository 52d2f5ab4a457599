#include "documents/ExerXmlAccess.h"
#include "documents/RecordXmlText.h"

#include <cstdlib>

#include "core/ECGXMLParser.h"
#include "core/Globals.h"

namespace exer {

namespace {

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

int ReadXmlIndex(CECGXMLParser& xml, const CString& path)
{
    CString text;
    return ReadXmlValue(xml, path, text) && !text.IsEmpty() ? _wtoi(text) : -1;
}

CString SummaryHeartRateText(const CString& stored)
{
    CString text;
    if (!stored.IsEmpty() && _wtoi(stored) >= 0) text.Format(L"%d", _wtoi(stored));
    return text;
}

CString LookupIvrelText(const CString& code)
{
    if (code.IsEmpty()) return CString();
    CECGXMLParser master(IvrelMasterPath(), 0, CString());
    return IvrelMasterText(master, kIvrelJudgementList, code);
}

CString LookupIvrelCode(const CString& text)
{
    if (text.IsEmpty()) return CString();
    CECGXMLParser master(IvrelMasterPath(), 0, CString());
    const int count = master.GetObjectCount(kIvrelJudgementList);
    for (int n = 1; n <= count; ++n) {
        CString entry;
        entry.Format(L"%s[%d]", kIvrelJudgementList, n);
        CString candidate;
        if (!master.GetDataFromXMLDOM(candidate, entry + L"/Japanese_text", 4, CString()) || candidate != text) continue;
        CString code;
        return master.GetDataFromXMLDOM(code, entry, 2, L"value") ? code : CString();
    }
    return CString();
}

}  // namespace exer
