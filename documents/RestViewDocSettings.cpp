// The resting screens' display settings in the record XML: written one at a
// time when a pane changes one, read back whole when a record becomes current.
#include "core/ECGXMLParser.h"
#include "core/ReferenceIds.h"
#include "documents/RestViewDoc.h"
#include "documents/RestXmlText.h"

namespace {

const CString kSetting = REFERENCE_SETTING_PATH;

struct SenseElement {
    UINT uID;   // sense id
    const wchar_t* pszElement;
};
// In the order they are read back.
const SenseElement kReadSenses[] = {{1, L"Sensitivity/Limb"}, {0, L"Sensitivity/Chest"}, {6, L"Sensitivity/Else"},
                                    {2, L"Sensitivity/Rhythm"}};

// The serial strip divides by its sensitivity: only a positive one below this is kept.
const double kSerialSenseLimit = 1000.0;

void WriteText(CECGXMLParser& xml, LPCWSTR element, const CString& value, LPCWSTR attribute = nullptr)
{
    xml.SetDataToXMLDOM(value, kSetting + element, attribute ? 2 : 4, attribute ? CString(attribute) : CString());
}

void WriteNumber(CECGXMLParser& xml, LPCWSTR element, int value, LPCWSTR attribute = nullptr)
{
    CString text;
    text.Format(L"%d", value);
    WriteText(xml, element, text, attribute);
}

LPCWSTR SenseElementOf(int arg)
{
    switch (arg) {
    case 0: return L"/Sensitivity/Chest";
    case 1: return L"/Sensitivity/Limb";
    case 2: return L"/Sensitivity/Rhythm";
    case 3: return L"/Sensitivity/Serial";
    case 6: return L"/Sensitivity/Else";
    default: return nullptr;
    }
}

LPCWSTR LeadSelectionElementOf(_RHYTHM_WAVE_STYLE style)
{
    if (style >= 5 && style <= 10) return L"/Lead_selection/Lead_9ch";
    if (style == 11) return L"/Lead_selection/Lead_12ch";
    if (style == 12) return L"/Lead_selection/Lead_15ch";
    return nullptr;
}

}  // namespace

void CRestViewDoc::SetReferenceIntoXML(int id, int arg)
{
    CTavrionDoc::SetReferenceIntoXML(id, arg);
    if (id < REFERENCE_PAGE_STYLE || id > REFERENCE_CHECK_ID || id == REFERENCE_STRANDEL || id == REFERENCE_MEASURE_POINT)
        return;
    _RESTDATAITEM* item = GetCurrentDataItem();
    if (!item || item->strXMLPath.IsEmpty()) return;
    CECGXMLParser xml(item->strXMLPath, item->b8000File, CString());
    WriteSetting(item, xml, id, arg);
    SaveSettingXML(xml);
}

void CRestViewDoc::WriteSetting(_RESTDATAITEM* item, CECGXMLParser& xml, int id, int arg)
{
    CString text;
    switch (id) {
    case REFERENCE_PAGE_STYLE: WriteNumber(xml, L"/Page_style", m_RestPageStyle); break;
    case REFERENCE_RHYTHM_1LEAD: WriteNumber(xml, L"/Rhythm_1lead", GetRhythm1LeadID()); break;
    case REFERENCE_FILTER: WriteNumber(xml, L"/Filter", m_nFilter); break;
    case REFERENCE_SPEED:
        text.Format(L"%.1f", GetSpeed());
        WriteText(xml, L"/Speed", text);
        break;
    case REFERENCE_SENSITIVITY:
        if (LPCWSTR element = SenseElementOf(arg)) {
            text.Format(L"%.2f", arg == 2 ? m_fWorkSense[2] : GetSense(static_cast<UINT>(arg), 0));
            WriteText(xml, element, text);
        }
        break;
    case REFERENCE_SERIAL_OVERLAP: WriteNumber(xml, L"/Serial_overlap", IsSerialOverlap()); break;
    case REFERENCE_CHEST_HALF: WriteNumber(xml, L"/Sensitivity/Serial", IsChestHalf(), L"chest_half"); break;
    case REFERENCE_LEAD_SELECTION: {
        const _RHYTHM_WAVE_STYLE style = GetRhythmWaveStyle();
        if (LPCWSTR element = LeadSelectionElementOf(style))
            WriteNumber(xml, element, GetLeadSelection(static_cast<int>(item->uSystemCode), style));
        break;
    }
    case REFERENCE_SENSE_MODE: WriteNumber(xml, L"/Sensitivity", static_cast<int>(GetSenseMode()), L"mode"); break;
    case REFERENCE_SHOW_COMMENT: WriteNumber(xml, L"/Show_comment", IsShowComment()); break;
    case REFERENCE_SHOW_ST: WriteNumber(xml, L"/Show_ST", IsShowST()); break;
    case REFERENCE_CHECK_ID: WriteNumber(xml, L"/Check_ID", IsCheckID()); break;
    default: break;
    }
}

void CRestViewDoc::UpDateReferenceInfo(const CString&)
{
    _RESTDATAITEM* item = GetCurrentDataItem();
    if (!item || item->strXMLPath.IsEmpty()) return;
    CTavrionDoc::UpDateReferenceInfo(item->strXMLPath);
    CECGXMLParser xml(item->strXMLPath, item->b8000File, CString());

    const int style = SettingNumberOr(xml, L"Page_style", 1);
    m_RestPageStyle = style >= 1 && style <= 44 ? style : 1;
    const int leads = item->nLeadCount;
    if (leads == 12 || leads == 15) ReadSettingRhythmLead(xml, leads, m_nRhythm1Lead12, m_nRhythm1LeadEx);
    GetRhythm1LeadID();   // the record's strip lead into the base's copy
    m_nFilter = ReadSettingFilter(xml);
    double real = 0.0;
    const bool speed = ReadSettingReal(xml, L"Speed", real) && (real == 25.0 || real == 50.0);
    m_fSpeed = speed ? static_cast<float>(real) : 25.0f;

    ReadSettingSenses(xml);
    ReadSettingLeads(item, xml);
}

void CRestViewDoc::ReadSettingSenses(CECGXMLParser& xml)
{
    for (const SenseElement& sense : kReadSenses) {
        const float stored = ReadSettingSense(xml, sense.pszElement);
        m_fWorkSense[sense.uID] = stored;
        if (sense.uID != 2) m_fSense[0][sense.uID] = stored;
    }
    SetSenseMode(static_cast<UINT>(SettingNumberOr(xml, L"Sensitivity", 1, L"mode")));

    double real = 0.0;
    const bool serial = ReadSettingReal(xml, L"Sensitivity/Serial", real) && real > 0.0 && real <= kSerialSenseLimit;
    m_fWorkSense[3] = m_fSense[0][3] = serial ? static_cast<float>(real) : 10.0f;

    SetChestHalf(SettingNumberOr(xml, L"Sensitivity/Serial", 1, L"chest_half"));
    SetSerialOverlap(SettingNumberOr(xml, L"Serial_overlap", 1));
}

void CRestViewDoc::ReadSettingLeads(const _RESTDATAITEM* item, CECGXMLParser& xml)
{
    ReadSettingColors(*this, xml);
    ReadSettingLeadSelections(*this, xml, static_cast<int>(item->uSystemCode), IsRestFifteenLead(item->uSystemCode));
}
