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
const SenseElement kReadSenses[] = {{1, L"/Sensitivity/Limb"}, {0, L"/Sensitivity/Chest"}, {6, L"/Sensitivity/Else"},
                                    {2, L"/Sensitivity/Rhythm"}};

struct SettingColor {
    int nSlot;
    COLORREF crDefault;
};
const SettingColor kColors[] = {
    {18, RGB(0, 0, 0)},     {17, RGB(0, 128, 128)}, {16, RGB(255, 255, 255)}, {19, RGB(255, 255, 255)},
    {5, RGB(67, 57, 244)},  {6, RGB(213, 81, 203)}, {7, RGB(61, 153, 45)},    {8, RGB(0, 0, 0)},
    {9, RGB(255, 0, 0)},    {10, RGB(0, 192, 168)}, {11, RGB(255, 0, 255)},   {12, RGB(32, 168, 224)},
    {13, RGB(128, 64, 32)}, {14, RGB(49, 63, 177)},
};

// The serial strip divides by its sensitivity: only a positive one below this is kept.
const double kSerialSenseLimit = 1000.0;

bool IsAllowedSense(double value)
{
    return DisplaySense(value, 0.0f) > 0.0f;
}

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
    xml.SaveToXMLFile();
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

    long value = 0;
    m_RestPageStyle = RecordXmlNumber(xml, kSetting + L"/Page_style", value) && value >= 1 && value <= 44 ? value : 1;

    const int leads = item->nLeadCount;
    const bool read = RecordXmlNumber(xml, kSetting + L"/Rhythm_1lead", value) && value >= 0 && value < leads;
    if (leads == 12) {
        m_nRhythm1LeadID = read ? value : 0;
    } else if (leads == 15 && !read) {
        m_nRhythm1LeadID = 0;
        m_nRhythm1LeadEx = 0;
    } else if (leads == 15 && value < 12) {
        m_nRhythm1LeadID = value;
        m_nRhythm1LeadEx = 0;
    } else if (leads == 15) {
        // The standard lead stays for when the strip goes back to one of them.
        m_nRhythm1LeadEx = value - 11;
    }

    m_nFilter = 100;
    if (RecordXmlNumber(xml, kSetting + L"/Filter", value)) {
        if (IsDisplayFilter(value)) m_nFilter = static_cast<int>(value);
    }
    double real = 0.0;
    const bool speed = RecordXmlReal(xml, kSetting + L"/Speed", real) && (real == 25.0 || real == 50.0);
    m_fSpeed = speed ? static_cast<float>(real) : 25.0f;

    ReadSettingSenses(xml);
    ReadSettingLeads(item, xml);
}

void CRestViewDoc::ReadSettingSenses(CECGXMLParser& xml)
{
    double real = 0.0;
    for (const SenseElement& sense : kReadSenses) {
        const bool allowed = RecordXmlReal(xml, kSetting + sense.pszElement, real) && IsAllowedSense(real);
        const float stored = allowed ? static_cast<float>(real) : 10.0f;
        m_fWorkSense[sense.uID] = stored;
        if (sense.uID != 2) m_fSense[0][sense.uID] = stored;
    }

    long value = 0;
    SetSenseMode(RecordXmlNumber(xml, kSetting + L"/Sensitivity", value, L"mode") ? static_cast<UINT>(value) : 1u);

    const bool serial = RecordXmlReal(xml, kSetting + L"/Sensitivity/Serial", real) && real > 0.0 && real <= kSerialSenseLimit;
    m_fWorkSense[3] = m_fSense[0][3] = serial ? static_cast<float>(real) : 10.0f;

    SetChestHalf(RecordXmlNumber(xml, kSetting + L"/Sensitivity/Serial", value, L"chest_half") ? value : 1);
    SetSerialOverlap(RecordXmlNumber(xml, kSetting + L"/Serial_overlap", value) ? value : 1);
}

void CRestViewDoc::ReadSettingLeads(const _RESTDATAITEM* item, CECGXMLParser& xml)
{
    for (const SettingColor& color : kColors) {
        COLORREF value = color.crDefault;
        const CString path = CString(REFERENCE_COLOR_SETTING_PATH L"/") + GetColorSlotElement(color.nSlot);
        if (!xml.GetColorAttrib(value, path)) value = color.crDefault;
        SetWaveColor(color.nSlot, value);
    }

    const int code = static_cast<int>(item->uSystemCode);
    long value = 0;
    if (!IsRestFifteenLead(item->uSystemCode)) {
        const long mask = RecordXmlNumber(xml, kSetting + L"/Lead_selection/Lead_12ch", value) ? value : 0xFFF;
        SetLeadSelection(static_cast<short>(mask), code, 11);
        return;
    }
    const long mask15 = RecordXmlNumber(xml, kSetting + L"/Lead_selection/Lead_15ch", value) ? value : 0x7FFF;
    SetLeadSelection(static_cast<short>(mask15), code, 12);
    const long mask9 = RecordXmlNumber(xml, kSetting + L"/Lead_selection/Lead_9ch", value) ? value : 0x7FC0;
    SetLeadSelection(static_cast<short>(mask9), code, 9);
}
