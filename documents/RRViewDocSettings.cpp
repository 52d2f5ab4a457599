// The display settings of the RR screens in the record XML: page style,
// filter, speed, the one sensitivity and its mode, beside the base
// document's drawing settings.
#include <cmath>

#include "core/ECGXMLParser.h"
#include "core/ReferenceIds.h"
#include "documents/RRViewDoc.h"

namespace {

const wchar_t kPageStylePath[] = REFERENCE_SETTING_PATH L"/Page_style";
const wchar_t kFilterPath[] = REFERENCE_SETTING_PATH L"/Filter";
const wchar_t kSpeedPath[] = REFERENCE_SETTING_PATH L"/Speed";
const wchar_t kSensitivityPath[] = REFERENCE_SETTING_PATH L"/Sensitivity";

const float kSlowSpeed = 25.0f / 3.0f;   // mm/s; stored as "8.3"
const int kSenseKindElse = 6;

bool ReadSetting(CECGXMLParser& xml, LPCWSTR path, CString& text)
{
    return xml.GetDataFromXMLDOM(text, path, 4, CString()) != 0;
}

int ReadPageStyle(CECGXMLParser& xml)
{
    CString text;
    if (!ReadSetting(xml, kPageStylePath, text)) return 1;
    const int style = _wtoi(text);
    return style >= 1 && style <= 9 ? style : 1;
}

float ReadSpeed(CECGXMLParser& xml)
{
    CString text;
    if (!ReadSetting(xml, kSpeedPath, text)) return 25.0f;
    const double speed = _wtof(text);
    if (std::fabs(speed - 25.0 / 3.0) <= 0.1) return kSlowSpeed;
    return speed == 10.0 || speed == 25.0 || speed == 50.0 ? static_cast<float>(speed) : 25.0f;
}

int ReadFilter(CECGXMLParser& xml)
{
    CString text;
    if (!ReadSetting(xml, kFilterPath, text)) return 100;
    const int filter = _wtoi(text);
    switch (filter) {
    case 0:
    case 25:
    case 35:
    case 75:
    case 100:
    case 150: return filter;
    default: return 100;
    }
}

// Only the sensitivities the screens offer; anything else (0 and below
// among them, which the views would divide by) is the default.
float ReadSensitivity(CECGXMLParser& xml)
{
    CString text;
    if (!ReadSetting(xml, kSensitivityPath, text)) return 10.0f;
    const double sense = _wtof(text);
    for (double offered : {1.25, 2.5, 5.0, 10.0, 20.0, 40.0}) {
        if (sense == offered) return static_cast<float>(sense);
    }
    return 10.0f;
}

UINT ReadSenseMode(CECGXMLParser& xml)
{
    CString text;
    if (!xml.GetDataFromXMLDOM(text, kSensitivityPath, 2, L"mode")) return 1;
    return static_cast<UINT>(_wtoi(text));
}

void WriteSetting(CECGXMLParser& xml, LPCWSTR path, LPCWSTR format, double value)
{
    CString text;
    text.Format(format, value);
    xml.SetDataToXMLDOM(text, path, 4, CString());
}

void WriteSetting(CECGXMLParser& xml, LPCWSTR path, int value)
{
    CString text;
    text.Format(L"%d", value);
    xml.SetDataToXMLDOM(text, path, 4, CString());
}

}  // namespace

void CRRViewDoc::SetReferenceIntoXML(int id, int arg)
{
    CTavrionDoc::SetReferenceIntoXML(id, arg);
    _RRDATAITEM* item = GetCurrentDataItem();
    if (!item || item->strXMLPath.IsEmpty()) return;

    CECGXMLParser xml(item->strXMLPath, 0, CString());
    switch (id) {
    case REFERENCE_PAGE_STYLE: WriteSetting(xml, kPageStylePath, GetPageStyle()); break;
    case REFERENCE_FILTER: WriteSetting(xml, kFilterPath, m_nFilter); break;
    case REFERENCE_SPEED: WriteSetting(xml, kSpeedPath, L"%.1f", GetSpeed()); break;
    case REFERENCE_SENSITIVITY: WriteSetting(xml, kSensitivityPath, L"%.2f", GetCommonSense(0)); break;
    case REFERENCE_SENSE_MODE: {
        CString text;
        text.Format(L"%d", GetSenseMode());
        xml.SetDataToXMLDOM(text, kSensitivityPath, 2, L"mode");
        break;
    }
    default: return;   // the base's, or none of the RR screens
    }
    xml.SaveToXMLFile();
}

// The base document writes its drawing settings into this record XML.
CString CRRViewDoc::GetCurItemXMLPath()
{
    _RRDATAITEM* item = GetCurrentDataItem();
    return item ? item->strXMLPath : CString();
}

void CRRViewDoc::UpDateReferenceInfo(const CString&)
{
    _RRDATAITEM* item = GetCurrentDataItem();
    if (!item || item->strXMLPath.IsEmpty()) return;
    CTavrionDoc::UpDateReferenceInfo(item->strXMLPath);

    CECGXMLParser xml(item->strXMLPath, 0, CString());
    m_nPageStyle = ReadPageStyle(xml);
    m_fSpeed = ReadSpeed(xml);
    m_nFilter = ReadFilter(xml);
    m_fSense[0][kSenseKindElse] = ReadSensitivity(xml);
    m_fRefElseSense = m_fSense[0][kSenseKindElse];
    m_uSenseMode = ReadSenseMode(xml);
    m_uRefSenseMode = m_uSenseMode;
}
