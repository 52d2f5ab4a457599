// The extra-lead document's display settings in the record XML: page style,
// filter, speed, sensitivities and their mode, and the colours of the leads
// not chosen.
#include "core/ECGXMLParser.h"
#include "core/ReferenceIds.h"
#include "documents/ExtraViewDoc.h"
#include "documents/RecordXmlText.h"

#include <cstdlib>

namespace {

// The element's text as a number; false when it is missing or is no number
// (an empty or garbled value must not read as 0, which means "the record's own").
bool ReadNumber(CECGXMLParser& xml, LPCWSTR element, float& value)
{
    CString text;
    if (!ReadSetting(xml, element, text)) return false;
    text.Trim();
    if (text.IsEmpty()) return false;
    wchar_t* end = nullptr;
    value = static_cast<float>(wcstod(static_cast<LPCWSTR>(text), &end));
    return end && *end == L'\0';
}

float ReadSense(CECGXMLParser& xml, LPCWSTR element)
{
    float value = 0.0f;
    return ReadNumber(xml, element, value) ? DisplaySense(value, 10.0f) : 10.0f;
}

}  // namespace

void CExtraViewDoc::SetReferenceIntoXML(int id, int arg)
{
    CTavrionDoc::SetReferenceIntoXML(id, arg);
    _EXTRADATAITEM* item = GetCurrentDataItem();
    if (!item || item->strXMLPath.IsEmpty()) return;
    CECGXMLParser xml(item->strXMLPath, 0, CString());
    switch (id) {
    case REFERENCE_PAGE_STYLE:
        WriteSetting(xml, L"Page_style", IntText(GetPageStyle()));
        break;
    case REFERENCE_FILTER:
        WriteSetting(xml, L"Filter", IntText(m_stDefaultRef.RefInt(REF_EXTRA_FILTER)));
        break;
    case REFERENCE_SPEED:
        WriteSetting(xml, L"Speed", RealText(L"%.1f", m_stDefaultRef.RefFloat(REF_EXTRA_SPEED)));
        break;
    case REFERENCE_SENSITIVITY:
        if (arg == SENSE_RHYTHM) {
            WriteSetting(xml, L"Sensitivity/Rhythm",
                         RealText(L"%.2f", m_stDefaultRef.RefFloat(REF_EXTRA_SENSE_RHYTHM)));
        } else if (arg == SENSE_EXTRA1 || arg == SENSE_EXTRA2) {
            WriteSetting(xml, arg == SENSE_EXTRA1 ? L"Sensitivity/Extra1" : L"Sensitivity/Extra2",
                         RealText(L"%.2f", GetSense(static_cast<unsigned int>(arg), false)));
        }
        break;
    case REFERENCE_SENSE_MODE:
        WriteSetting(xml, L"Sensitivity", IntText(static_cast<int>(GetSenseMode())), L"mode");
        break;
    default: return;   // closed unsaved
    }
    xml.SaveToXMLFile();
}

CString CExtraViewDoc::GetCurItemXMLPath()
{
    _EXTRADATAITEM* item = GetCurrentDataItem();
    return item ? item->strXMLPath : CString();
}

void CExtraViewDoc::UpDateReferenceInfo(const CString& /*strXMLPath*/)
{
    _EXTRADATAITEM* item = GetCurrentDataItem();
    if (!item || item->strXMLPath.IsEmpty()) return;
    CTavrionDoc::UpDateReferenceInfo(item->strXMLPath);
    CECGXMLParser xml(item->strXMLPath, 0, CString());
    _DEFAULT_REF& ref = m_stDefaultRef;
    const _EXTRAINFO& info = item->stExtraInfo;

    CString text;
    const int field = PageStyleField(item);
    int style = info.nPageStyle;
    if (field && ReadSetting(xml, L"Page_style", text) && IsPageStyleAccepted(item, _wtoi(text))) style = _wtoi(text);
    m_nPageStyle = style;
    if (field) ref.RefInt(field) = style;

    float value = 0.0f;
    int filter = 100;
    if (ReadNumber(xml, L"Filter", value) && IsDisplayFilter(value)) filter = static_cast<int>(value);
    ref.RefInt(REF_EXTRA_FILTER) = filter;

    float speed = 25.0f;
    if (ReadNumber(xml, L"Speed", value)) {
        for (float accepted : {5.0f, 10.0f, 12.5f, 25.0f, 50.0f, 0.0f}) {
            if (value == accepted) speed = value;
        }
    }
    ref.RefFloat(REF_EXTRA_SPEED) = speed;

    int mode = 1;
    if (ReadSetting(xml, L"Sensitivity", text, L"mode")) {
        const int value = _wtoi(text);
        if (value >= 1 && value <= 5) mode = value;
    }
    m_uSenseMode = static_cast<UINT>(mode);
    ref.RefInt(REF_EXTRA_SENSE_MODE) = mode;

    const bool bOneSet = info.nLeadCount == 3 && info.nExtraSet == 3;
    const bool bSixLeads = (item->nLeadType == 6 || item->nLeadType == 7) && !item->IsFreeze();
    const bool bStrip = (item->nLeadType == 4 || item->nLeadType == 7) && !item->IsFreeze();
    if (!bOneSet) {
        ref.RefFloat(REF_EXTRA_SENSE_1) = ReadSense(xml, L"Sensitivity/Extra1");
        m_fSense[0][SENSE_EXTRA1] = ref.RefFloat(REF_EXTRA_SENSE_1);
    }
    if (bSixLeads || bOneSet) {
        ref.RefFloat(REF_EXTRA_SENSE_2) = ReadSense(xml, L"Sensitivity/Extra2");
        m_fSense[0][SENSE_EXTRA2] = ref.RefFloat(REF_EXTRA_SENSE_2);
    }
    if (bStrip) ref.RefFloat(REF_EXTRA_SENSE_RHYTHM) = ReadSense(xml, L"Sensitivity/Rhythm");

    ReadNonChoiceColors(*this, xml);
}
