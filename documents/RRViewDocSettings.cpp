// The display settings of the RR screens in the record XML: page style,
// filter, speed, the one sensitivity and its mode, beside the base
// document's drawing settings.
#include <cmath>

#include "core/ECGXMLParser.h"
#include "core/ReferenceIds.h"
#include "documents/RRViewDoc.h"
#include "documents/RecordXmlText.h"

namespace {

const wchar_t kPageStyle[] = L"Page_style";
const wchar_t kFilter[] = L"Filter";
const wchar_t kSpeed[] = L"Speed";
const wchar_t kSensitivity[] = L"Sensitivity";

const float kSlowSpeed = 25.0f / 3.0f;   // mm/s; stored as "8.3"
const int kSenseKindElse = 6;

int ReadPageStyle(CECGXMLParser& xml)
{
    const int style = SettingNumberOr(xml, kPageStyle, 1);
    return style >= 1 && style <= 9 ? style : 1;
}

float ReadSpeed(CECGXMLParser& xml)
{
    double speed = 0.0;
    if (!ReadSettingReal(xml, kSpeed, speed)) return 25.0f;
    if (std::fabs(speed - 25.0 / 3.0) <= 0.1) return kSlowSpeed;
    return speed == 10.0 || speed == 25.0 || speed == 50.0 ? static_cast<float>(speed) : 25.0f;
}

int ReadFilter(CECGXMLParser& xml)
{
    const int filter = SettingNumberOr(xml, kFilter, 100);
    return IsDisplayFilter(filter) ? filter : 100;
}

// Only the sensitivities the screens offer; anything else (0 and below
// among them, which the views would divide by) is the default.
float ReadSensitivity(CECGXMLParser& xml)
{
    double sense = 0.0;
    return ReadSettingReal(xml, kSensitivity, sense) ? DisplaySense(sense, 10.0f) : 10.0f;
}

UINT ReadSenseMode(CECGXMLParser& xml)
{
    return static_cast<UINT>(SettingNumberOr(xml, kSensitivity, 1, L"mode"));
}

}  // namespace

void CRRViewDoc::SetReferenceIntoXML(int id, int arg)
{
    CTavrionDoc::SetReferenceIntoXML(id, arg);
    _RRDATAITEM* item = GetCurrentDataItem();
    if (!item || item->strXMLPath.IsEmpty()) return;

    CECGXMLParser xml(item->strXMLPath, 0, CString());
    switch (id) {
    case REFERENCE_PAGE_STYLE: WriteSetting(xml, kPageStyle, IntText(GetPageStyle())); break;
    case REFERENCE_FILTER: WriteSetting(xml, kFilter, IntText(m_nFilter)); break;
    case REFERENCE_SPEED: WriteSetting(xml, kSpeed, RealText(L"%.1f", GetSpeed())); break;
    case REFERENCE_SENSITIVITY: WriteSetting(xml, kSensitivity, RealText(L"%.2f", GetCommonSense(0))); break;
    case REFERENCE_SENSE_MODE: {
        WriteSetting(xml, kSensitivity, IntText(static_cast<int>(GetSenseMode())), L"mode");
        break;
    }
    default: return;   // the base's, or none of the RR screens
    }
    SaveSettingXML(xml);
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
