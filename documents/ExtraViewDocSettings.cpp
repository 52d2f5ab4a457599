// The extra-lead document's display settings in the record XML: page style,
// filter, speed, sensitivities and their mode, and the colours of the leads
// not chosen.
#include "core/ECGXMLParser.h"
#include "core/ReferenceIds.h"
#include "documents/ExtraViewDoc.h"

#include <cstdlib>

namespace {

const wchar_t kSettingPath[] = REFERENCE_SETTING_PATH L"/";

CString SettingPath(LPCWSTR element)
{
    return CString(kSettingPath) + element;
}

CString Formatted(LPCWSTR format, double value)
{
    CString text;
    text.Format(format, value);
    return text;
}

CString Number(int value)
{
    CString text;
    text.Format(L"%d", value);
    return text;
}

// The element's text; false when it is missing.
bool ReadSetting(CECGXMLParser& xml, LPCWSTR element, CString& text)
{
    return xml.GetDataFromXMLDOM(text, SettingPath(element), 4, CString()) != 0;
}

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
    if (!ReadNumber(xml, element, value)) return 10.0f;
    for (float accepted : {1.25f, 2.5f, 5.0f, 10.0f, 20.0f, 40.0f}) {
        if (value == accepted) return value;
    }
    return 10.0f;
}

// The colour slots of the leads not chosen, with what each takes when the
// record XML lacks it.
struct NonChoiceColor {
    int nSlot;
    LPCWSTR pszElement;
    COLORREF crDefault;
};
const NonChoiceColor kNonChoiceColors[] = {
    {18, L"Bkg_non_choice", RGB(0, 0, 0)},
    {17, L"Grid_non_choice", RGB(0, 128, 128)},
    {16, L"Wave_non_choice", RGB(255, 255, 255)},
    {19, L"Wave_info_non_choice", RGB(255, 255, 255)},
};

}  // namespace

void CExtraViewDoc::SetReferenceIntoXML(int id, int arg)
{
    CTavrionDoc::SetReferenceIntoXML(id, arg);
    _EXTRADATAITEM* item = GetCurrentDataItem();
    if (!item || item->strXMLPath.IsEmpty()) return;
    CECGXMLParser xml(item->strXMLPath, 0, CString());
    switch (id) {
    case REFERENCE_PAGE_STYLE:
        xml.SetDataToXMLDOM(Number(GetPageStyle()), SettingPath(L"Page_style"), 4, CString());
        break;
    case REFERENCE_FILTER:
        xml.SetDataToXMLDOM(Number(m_stDefaultRef.RefInt(REF_EXTRA_FILTER)), SettingPath(L"Filter"), 4, CString());
        break;
    case REFERENCE_SPEED:
        xml.SetDataToXMLDOM(Formatted(L"%.1f", m_stDefaultRef.RefFloat(REF_EXTRA_SPEED)), SettingPath(L"Speed"), 4,
                            CString());
        break;
    case REFERENCE_SENSITIVITY:
        if (arg == SENSE_RHYTHM) {
            xml.SetDataToXMLDOM(Formatted(L"%.2f", m_stDefaultRef.RefFloat(REF_EXTRA_SENSE_RHYTHM)),
                                SettingPath(L"Sensitivity/Rhythm"), 4, CString());
        } else if (arg == SENSE_EXTRA1 || arg == SENSE_EXTRA2) {
            xml.SetDataToXMLDOM(Formatted(L"%.2f", GetSense(static_cast<unsigned int>(arg), false)),
                                SettingPath(arg == SENSE_EXTRA1 ? L"Sensitivity/Extra1" : L"Sensitivity/Extra2"), 4,
                                CString());
        }
        break;
    case REFERENCE_SENSE_MODE:
        xml.SetDataToXMLDOM(Number(static_cast<int>(GetSenseMode())), SettingPath(L"Sensitivity"), 2, L"mode");
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
    if (ReadNumber(xml, L"Filter", value)) {
        for (float accepted : {25.0f, 35.0f, 75.0f, 100.0f, 150.0f, 0.0f}) {
            if (value == accepted) filter = static_cast<int>(value);
        }
    }
    ref.RefInt(REF_EXTRA_FILTER) = filter;

    float speed = 25.0f;
    if (ReadNumber(xml, L"Speed", value)) {
        for (float accepted : {5.0f, 10.0f, 12.5f, 25.0f, 50.0f, 0.0f}) {
            if (value == accepted) speed = value;
        }
    }
    ref.RefFloat(REF_EXTRA_SPEED) = speed;

    int mode = 1;
    if (xml.GetDataFromXMLDOM(text, SettingPath(L"Sensitivity"), 2, L"mode")) {
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

    for (const NonChoiceColor& color : kNonChoiceColors) {
        COLORREF value = color.crDefault;
        const CString path = CString(REFERENCE_COLOR_SETTING_PATH L"/Wave_color/") + color.pszElement;
        if (!xml.GetColorAttrib(value, path)) value = color.crDefault;
        SetWaveColor(color.nSlot, value);
    }
}
