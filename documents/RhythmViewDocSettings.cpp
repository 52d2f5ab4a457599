// The rhythm record's display settings in its record XML: page style, the
// one-lead strip lead, filter, speed, sensitivities and their mode, the lead
// selections of the wave styles and the colours of the strips outside the
// chosen record. Anything outside its accepted values opens as the default,
// so a damaged settings section shows the standard screen.
#include <cmath>
#include <cstdlib>
#include <initializer_list>

#include "core/ECGXMLParser.h"
#include "core/ReferenceIds.h"
#include "documents/RhythmViewDoc.h"
#include "documents/RecordXmlText.h"

namespace {

// The integer of a setting when it is one of the accepted values, else the default.
int ReadChoice(CECGXMLParser& xml, const wchar_t* element, std::initializer_list<int> accepted, int fallback)
{
    int value = 0;
    if (!ReadSettingNumber(xml, element, value)) return fallback;
    for (int a : accepted) {
        if (a == value) return a;
    }
    return fallback;
}

int ReadRange(CECGXMLParser& xml, const wchar_t* element, int low, int high, int fallback)
{
    int value = 0;
    if (!ReadSettingNumber(xml, element, value)) return fallback;
    return (value >= low && value <= high) ? value : fallback;
}

// Sensitivities in mm/mV; anything else would reach the views' divisions.
float ReadSense(CECGXMLParser& xml, const wchar_t* element)
{
    double value = 0.0;
    return ReadSettingReal(xml, element, value) ? DisplaySense(value, 10.0f) : 10.0f;
}

float ReadSpeed(CECGXMLParser& xml)
{
    double value = 0.0;
    if (!ReadSettingReal(xml, L"Speed", value)) return 25.0f;
    for (double accepted : {2.5, 5.0, 10.0, 25.0, 50.0}) {
        if (value == accepted) return static_cast<float>(value);
    }
    if (std::fabs(value - 8.333333) <= 0.1) return 8.333333f;
    return 25.0f;
}

short ReadMask(CECGXMLParser& xml, const wchar_t* element, int fallback)
{
    return static_cast<short>(SettingNumberOr(xml, element, fallback));
}

// The lead-selection element of a wave style; null for styles without one.
const wchar_t* LeadSelectionElement(_RHYTHM_WAVE_STYLE style)
{
    if (style == 16) return L"Lead_selection/Lead_1ch";
    if (style == 17) return L"Lead_selection/Lead_3ch";
    if (style >= 5 && style <= 10) return L"Lead_selection/Lead_9ch";
    if (style == 11) return L"Lead_selection/Lead_12ch";
    if (style == 12) return L"Lead_selection/Lead_15ch";
    return nullptr;
}

// The sensitivity element of a sense kind; null for kinds without one.
const wchar_t* SenseElement(int kind)
{
    switch (kind) {
    case 0: return L"Sensitivity/Chest";
    case 1: return L"Sensitivity/Limb";
    case 2: return L"Sensitivity/Rhythm";
    case 6: return L"Sensitivity/Else";
    default: return nullptr;
    }
}

}  // namespace

void CRhythmViewDoc::SetReferenceIntoXML(int id, int arg)
{
    CTavrionDoc::SetReferenceIntoXML(id, arg);
    const _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (!item || item->strXMLPath.IsEmpty()) return;
    if (id < REFERENCE_PAGE_STYLE || id > REFERENCE_SENSE_MODE || id == REFERENCE_SERIAL_OVERLAP ||
        id == REFERENCE_CHEST_HALF)
        return;

    CECGXMLParser xml(item->strXMLPath, 0, CString());
    switch (id) {
    case REFERENCE_PAGE_STYLE: WriteSetting(xml, L"Page_style", IntText(GetPageStyle())); break;
    case REFERENCE_RHYTHM_1LEAD: WriteSetting(xml, L"Rhythm_1lead", IntText(GetRhythm1LeadID())); break;
    case REFERENCE_FILTER: WriteSetting(xml, L"Filter", IntText(m_nRhythmFilter)); break;
    case REFERENCE_SPEED: WriteSetting(xml, L"Speed", RealText(L"%.1f", GetSpeed())); break;
    case REFERENCE_SENSITIVITY: {
        // One- and three-lead records have no chest and limb groups.
        const bool bFewLeads = item->nLeadCount == 1 || item->nLeadCount == 3;
        const wchar_t* element = SenseElement(arg);
        if (!element || (bFewLeads && (arg == 0 || arg == 1))) break;
        const float value = arg == 2 ? m_fRefSense[2] : GetSense(static_cast<UINT>(arg), 0);
        WriteSetting(xml, element, RealText(L"%.2f", value));
        break;
    }
    case REFERENCE_LEAD_SELECTION: {
        const _RHYTHM_WAVE_STYLE style = GetRhythmWaveStyle();
        if (const wchar_t* element = LeadSelectionElement(style))
            WriteSetting(xml, element, IntText(GetLeadSelection(static_cast<int>(item->uSystemCode), style)));
        break;
    }
    case REFERENCE_SENSE_MODE:
        WriteSetting(xml, L"Sensitivity", IntText(static_cast<int>(GetSenseMode())), L"mode");
        break;
    default: break;
    }
    SaveSettingXML(xml);
}

CString CRhythmViewDoc::GetCurItemXMLPath()
{
    const _RHYTHMDATAITEM* item = GetCurrentDataItem();
    return item ? item->strXMLPath : CString();
}

void CRhythmViewDoc::UpDateReferenceInfo(const CString& /*strXMLPath*/)
{
    const _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (!item || item->strXMLPath.IsEmpty()) return;
    CTavrionDoc::UpDateReferenceInfo(item->strXMLPath);
    CECGXMLParser xml(item->strXMLPath, 0, CString());

    int style;
    switch (item->nLeadCount) {
    case 1: style = ReadChoice(xml, L"Page_style", {20, 21, 22, 26, 27, 28}, 20); break;
    case 3: style = ReadRange(xml, L"Page_style", 23, 28, 23); break;
    default: style = ReadRange(xml, L"Page_style", 1, 30, 1); break;
    }
    m_nPageStyle = PageStyleSlot(item->nLeadCount) = style;
    m_fRhythmSpeed = ReadSpeed(xml);
    m_nRhythmFilter = ReadChoice(xml, L"Filter", {0, 25, 35, 75, 100, 150}, 100);
    ReadSenseSettings(item, xml);
    ReadLeadSettings(item, xml);

    ReadNonChoiceColors(*this, xml);
}

void CRhythmViewDoc::ReadSenseSettings(const _RHYTHMDATAITEM* pItem, CECGXMLParser& xml)
{
    m_fSense[0][6] = m_fRefSense[6] = ReadSense(xml, L"Sensitivity/Else");
    m_fRefSense[2] = ReadSense(xml, L"Sensitivity/Rhythm");
    const bool bFullLead = pItem->nLeadCount == 12 || pItem->nLeadCount == 15;
    if (bFullLead) {
        m_fSense[0][1] = m_fRefSense[1] = ReadSense(xml, L"Sensitivity/Limb");
        m_fSense[0][0] = m_fRefSense[0] = ReadSense(xml, L"Sensitivity/Chest");
    }

    UINT mode = 1;
    int value = 0;
    if (ReadSettingNumber(xml, L"Sensitivity", value, L"mode")) {
        const bool bFewLeads = pItem->nLeadCount == 1 || pItem->nLeadCount == 3;
        const bool accepted = bFewLeads ? (value == 1 || value == 3) : (value >= 1 && value <= 5);
        if (accepted) mode = static_cast<UINT>(value);
    }
    m_uSenseMode = m_uRefSenseMode = mode;
}

void CRhythmViewDoc::ReadLeadSettings(const _RHYTHMDATAITEM* pItem, CECGXMLParser& xml)
{
    const int leads = pItem->nLeadCount;
    int lead = -1;
    const bool found = ReadSettingNumber(xml, L"Rhythm_1lead", lead);
    if (!found || lead < 0 || lead >= leads) {
        // A lead the record does not have shows its first lead.
        if (leads == 3) m_n1Lead3 = 0;
        if (leads == 12 || leads == 15) m_n1Lead12 = 0;
        if (leads == 15) m_n1Lead15Offset = 0;
    } else if (leads == 3) {
        m_n1Lead3 = lead;
    } else if (leads == 12) {
        m_n1Lead12 = lead;
    } else if (leads == 15) {
        if (lead < 12) {
            m_n1Lead15Offset = 0;
            m_n1Lead12 = lead;
        } else {
            m_n1Lead15Offset = lead - 11;
        }
    }
    GetRhythm1LeadID();

    if (leads != 12 && leads != 15) return;
    const int code = static_cast<int>(pItem->uSystemCode);
    SetLeadSelection(ReadMask(xml, L"Lead_selection/Lead_3ch", 7), code, 17);
    SetLeadSelection(ReadMask(xml, L"Lead_selection/Lead_1ch", 1), code, 16);
    if (leads == 15) {
        SetLeadSelection(ReadMask(xml, L"Lead_selection/Lead_15ch", 0x7FFF), code, 12);
        SetLeadSelection(ReadMask(xml, L"Lead_selection/Lead_9ch", 0x7FC0), code, 9);
    } else {
        SetLeadSelection(ReadMask(xml, L"Lead_selection/Lead_12ch", 0xFFF), code, 11);
    }
}
