// The exercise document's lead selections, sensitivity, page style and
// measure point, their display settings in the record XML, the annotation
// saving, and the target heart-rate tables.
#include <cmath>
#include <cstdlib>

#include "core/ECGXMLParser.h"
#include "core/ReferenceIds.h"
#include "documents/ExerViewDoc.h"
#include "documents/RecordXmlText.h"

namespace {

const UINT kCommonSense = 6;   // the sensitivity kind of the exercise screens
const int kExerLeads = 12;


// Target heart rates by share (rows 100 % down to 40 %) and age column.
const int kShares[10] = {100, 95, 90, 85, 80, 75, 70, 60, 50, 40};
const int kTableA[10][13] = {
    {197, 197, 195, 193, 191, 189, 187, 184, 182, 180, 178, 176, 174},
    {187, 187, 185, 183, 181, 179, 177, 174, 172, 171, 169, 167, 165},
    {177, 177, 175, 173, 172, 170, 168, 166, 164, 162, 160, 158, 157},
    {167, 167, 165, 164, 162, 160, 158, 156, 154, 153, 151, 149, 147},
    {157, 157, 156, 154, 152, 151, 149, 147, 145, 144, 142, 140, 139},
    {148, 148, 146, 144, 143, 142, 140, 138, 137, 135, 134, 132, 131},
    {138, 138, 137, 135, 134, 132, 131, 129, 127, 126, 125, 123, 122},
    {118, 118, 117, 115, 114, 113, 112, 110, 109, 108, 107, 106, 104},
    {99, 99, 98, 97, 96, 95, 94, 92, 91, 90, 89, 88, 87},
    {79, 79, 78, 77, 76, 76, 75, 74, 73, 72, 71, 70, 70},
};
const int kTableB[10][13] = {
    {190, 190, 188, 186, 184, 182, 180, 177, 175, 173, 171, 169, 167},
    {180, 180, 178, 176, 174, 172, 171, 168, 166, 164, 162, 160, 158},
    {171, 171, 169, 167, 166, 164, 162, 159, 158, 156, 154, 152, 150},
    {161, 161, 159, 158, 156, 154, 153, 150, 148, 147, 145, 143, 141},
    {152, 152, 150, 148, 147, 145, 144, 141, 140, 138, 136, 135, 133},
    {143, 143, 141, 140, 138, 137, 135, 133, 131, 130, 128, 127, 125},
    {133, 133, 132, 130, 129, 127, 126, 124, 123, 121, 120, 118, 117},
    {114, 114, 113, 112, 110, 109, 108, 106, 105, 104, 103, 101, 100},
    {95, 95, 94, 93, 92, 91, 90, 89, 88, 87, 86, 85, 84},
    {76, 76, 75, 74, 74, 73, 72, 71, 70, 69, 68, 68, 67},
};

}  // namespace

// ---- leads -------------------------------------------------------------------------

UINT CExerViewDoc::GetDataLeadIDInverse(UINT lead)
{
    static const UINT kDisplayPosition[12] = {0, 1, 6, 7, 8, 9, 10, 11, 2, 3, 4, 5};
    const _EXERDATAITEM* item = GetCurrentDataItem();
    if (!item) return lead;
    const unsigned low = item->uSystemCode & 0xFF;
    if (low != 252 && low != 253) return lead;
    return lead < 12 ? kDisplayPosition[lead] : 0;
}

namespace {

// The selection into the item, as the views read it.
void TakeLeadSelection(_EXERDATAITEM* item, int mask, _EXER_AVERAGE_DISPLAY_MODE mode)
{
    if (mode == 2) {
        // Six entries hold the selection: further bits are not taken.
        int entry = 0;
        for (int lead = 0; lead < kExerLeads && entry < EXER_SIX_LEADS; ++lead) {
            if (mask & (1 << lead)) item->nLead6[entry++] = lead;
        }
    } else if (mode == 3) {
        for (int lead = 0; lead < kExerLeads; ++lead) {
            if (mask & (1 << lead)) {
                item->nLead1 = lead;
                break;
            }
        }
    }
}

}  // namespace

void CExerViewDoc::SetExerLeadSelection(int mask, _EXER_AVERAGE_DISPLAY_MODE mode)
{
    _EXERDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    TakeLeadSelection(item, mask, mode);
    SetReferenceIntoXML(REFERENCE_LEAD_SELECTION, mode);
}

short CExerViewDoc::GetExerLeadSelection(_EXER_AVERAGE_DISPLAY_MODE mode)
{
    const _EXERDATAITEM* item = GetCurrentDataItem();
    if (!item) return -1;
    // Lead numbers come from the record XML: one outside 0 to 15 adds no bit.
    auto bit = [](int lead) { return (lead >= 0 && lead < 16) ? (1 << lead) : 0; };
    if (mode == 2) {
        int mask = 0;
        for (int lead : item->nLead6) mask |= bit(lead);
        return static_cast<short>(mask);
    }
    if (mode == 3) return static_cast<short>(bit(item->nLead1));
    return -1;
}

// ---- sensitivity ---------------------------------------------------------------------

float CExerViewDoc::GetCommonSense(int other)
{
    const _EXERDATAITEM* item = GetCurrentDataItem();
    if ((m_uSenseMode == 3 || m_uSenseMode == 4) && item) {
        m_fSense[0][kCommonSense] = item->fAcqSense;
        m_fSense[1][kCommonSense] = item->fAcqSense;
    }
    return other ? m_fSense[1][kCommonSense] : m_fSense[0][kCommonSense];
}

void CExerViewDoc::SetSense(UINT kind, float fSense, int bModeChange)
{
    if (kind != kCommonSense) return;
    if (bModeChange && (m_uSenseMode == 1 || m_uSenseMode == 3)) {
        m_uSenseMode = 1;
        m_stDefaultRef.RefInt(REF_EXER_SENSE_MODE) = 1;
        SetReferenceIntoXML(REFERENCE_SENSE_MODE, -1);
    }
    m_fSense[0][kCommonSense] = fSense;
    m_stDefaultRef.RefFloat(REF_EXER_COMMON_SENSE) = fSense;
}

UINT CExerViewDoc::GetSenseMode()
{
    return static_cast<UINT>(m_stDefaultRef.RefInt(REF_EXER_SENSE_MODE));
}

void CExerViewDoc::SetSenseMode(UINT mode)
{
    if (mode != 1 && mode != 3) return;
    m_uSenseMode = mode;
    m_stDefaultRef.RefInt(REF_EXER_SENSE_MODE) = static_cast<int>(mode);
}

void CExerViewDoc::InitialSense()
{
    m_fSense[0][kCommonSense] = m_stDefaultRef.RefFloat(REF_EXER_COMMON_SENSE);
    m_uSenseMode = static_cast<UINT>(m_stDefaultRef.RefInt(REF_EXER_SENSE_MODE));
}

// ---- page style and measure point ------------------------------------------------------

_EXER_PAGE_STYLE CExerViewDoc::GetPageStyle() const
{
    return m_stDefaultRef.RefInt(REF_EXER_PAGE_STYLE);
}

void CExerViewDoc::SetPageStyle(_EXER_PAGE_STYLE style)
{
    m_stDefaultRef.RefInt(REF_EXER_PAGE_STYLE) = style;
    m_nPageStyle = style;
}

void CExerViewDoc::SetMeasurePoint(int point)
{
    m_stDefaultRef.RefInt(REF_EXER_MEASURE_POINT) = point;
    m_nMeasurePoint = point;
}

// ---- display settings in the record XML ---------------------------------------------------

void CExerViewDoc::SetReferenceIntoXML(int id, int arg)
{
    CTavrionDoc::SetReferenceIntoXML(id, arg);
    const _EXERDATAITEM* item = GetCurrentDataItem();
    if (!item || item->strXMLPath.IsEmpty()) return;
    if (id != REFERENCE_PAGE_STYLE && id != REFERENCE_SENSITIVITY && id != REFERENCE_LEAD_SELECTION &&
        id != REFERENCE_SENSE_MODE && id != REFERENCE_MEASURE_POINT)
        return;

    CECGXMLParser xml(item->strXMLPath, 0, CString());
    switch (id) {
    case REFERENCE_PAGE_STYLE: WriteSetting(xml, L"Page_style", IntText(GetPageStyle())); break;
    case REFERENCE_SENSITIVITY: {
        CString text;
        text.Format(L"%.2f", GetCommonSense(0));
        WriteSetting(xml, L"Sensitivity", text);
        break;
    }
    case REFERENCE_LEAD_SELECTION: {
        const short mask = GetExerLeadSelection(arg);
        if (mask >= 0)
            WriteSetting(xml, arg == 2 ? L"Lead_selection/Lead_6ch" : L"Lead_selection/Lead_1ch", IntText(mask));
        break;
    }
    case REFERENCE_SENSE_MODE:
        WriteSetting(xml, L"Sensitivity", IntText(static_cast<int>(GetSenseMode())), L"mode");
        break;
    case REFERENCE_MEASURE_POINT: WriteSetting(xml, L"Measure_point", IntText(m_nMeasurePoint)); break;
    default: break;
    }
    SaveSettingXML(xml);
}

void CExerViewDoc::UpDateReferenceInfo(const CString& /*strXMLPath*/)
{
    _EXERDATAITEM* item = GetCurrentDataItem();
    if (!item || item->strXMLPath.IsEmpty()) return;
    const CString path = item->strXMLPath;
    CTavrionDoc::UpDateReferenceInfo(path);

    int selection6 = 63;
    int selection1 = 1;
    {
        CECGXMLParser xml(path, 0, CString());
        COLORREF rest = 0x80FF80;
        if (!xml.GetColorAttrib(rest, CString(REFERENCE_COLOR_SETTING_PATH L"/Wave_color/Rest_wave"))) rest = 0x80FF80;
        SetWaveColor(15, rest);

        int style = SettingNumberOr(xml, L"Page_style", 1);
        if (style < 1 || style > 6) style = 1;
        SetPageStyle(style);

        // The sensitivities the exercise screens offer, mm/mV.
        double stored = 0.0;
        const float sense = ReadSettingReal(xml, L"Sensitivity", stored) ? DisplaySense(stored, 10.0f) : 10.0f;
        m_fSense[0][kCommonSense] = sense;
        m_stDefaultRef.RefFloat(REF_EXER_COMMON_SENSE) = sense;

        const int mode = SettingNumberOr(xml, L"Sensitivity", 1, L"mode");
        m_uSenseMode = static_cast<UINT>(mode);
        m_stDefaultRef.RefInt(REF_EXER_SENSE_MODE) = mode;

        SetMeasurePoint(SettingNumberOr(xml, L"Measure_point", 1));
        selection6 = SettingNumberOr(xml, L"Lead_selection/Lead_6ch", 63);
        selection1 = SettingNumberOr(xml, L"Lead_selection/Lead_1ch", 1);
    }
    // Taken into the item only: what the record XML holds (or leaves out, read
    // as the default) is no choice of the person's to write back, and a
    // selection of more leads than the view shows would come back cut.
    // A record whose record XML is not made yet gets no file from showing it.
    TakeLeadSelection(item, selection6, 2);
    TakeLeadSelection(item, selection1, 3);
}

int CExerViewDoc::SaveAnnotationToXML(int nItemID)
{
    _EXERDATAITEM* item = m_ExerDataManager.GetItem(nItemID);
    return item ? SaveAnnotationsToFile(item->strXMLPath, item->pAnnoHead) : 255;
}

// ---- target heart rates -----------------------------------------------------------------

int CExerViewDoc::LookupHr(int percent, double age, int table)
{
    // The age comes from the record XML unchecked: keep it where the
    // conversion to whole years is defined (the columns end at 75 anyway).
    if (!(age > -1000.0)) age = -1000.0;
    if (age > 1000.0) age = 1000.0;
    const int rounded = static_cast<int>(age + 0.5);
    int column = (rounded - 20) / 5 + 1;
    if (column < 1) column = 0;
    if (column >= 12) column = 12;
    for (int row = 0; row < 10; ++row) {
        if (kShares[row] == percent) return table == 0 ? kTableA[row][column] : kTableB[row][column];
    }
    return 0;
}
