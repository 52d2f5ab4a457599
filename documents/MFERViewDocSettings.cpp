// How an MFER record is shown: page styles, the one-lead strip, speeds,
// sensitivities, pages of a strip, and the display settings kept in the
// record XML.
#include "documents/MFERViewDoc.h"
#include "documents/RecordXmlText.h"

#include <cmath>
#include <cstdlib>

#include "core/ECGXMLParser.h"
#include "core/ReferenceIds.h"

namespace {

// Positions of the stored settings among the examination fields of the
// display settings record.
enum SettingPos {
    POS_STYLE_REST = 13,
    POS_STYLE_3LEAD = 14,
    POS_STYLE_1LEAD = 15,
    POS_STYLE_EXTRA3 = 16,
    POS_STYLE_EXTRA4 = 17,
    POS_STYLE_EXTRA6 = 18,
    POS_STYLE_EXTRA7 = 19,
    POS_STYLE_FREEZE = 20,
    POS_SPEED = 33,
    POS_EXTRA_SPEED = 34,
    POS_1LEAD_12 = 53,   // one-lead strip of 12-lead records, lead 0 to 11
    POS_1LEAD_15 = 54,   // its extension for 15-lead records: lead - 11
    POS_1LEAD_3 = 55,
    POS_SENSE_LIMB = 63,
    POS_SENSE_CHEST = 64,
    POS_SENSE_ELSE = 65,
    POS_SENSE_RHYTHM = 66,
    POS_SENSE_SERIAL = 67,
    POS_SENSE_EXTRA1 = 68,
    POS_SENSE_EXTRA2 = 69,
    POS_SENSE_MODE = 70,
    POS_CHEST_HALF = 71,
    POS_EXTRA_GROUP1 = 81,
    POS_EXTRA_GROUP2 = 82,
};

// Stored sensitivity of each sense kind (0 Chest, 1 Limb, 2 Rhythm, 3 Serial,
// 4 Extra1, 5 Extra2, 6 Else).
const int kSensePos[7] = {POS_SENSE_CHEST, POS_SENSE_LIMB,   POS_SENSE_RHYTHM, POS_SENSE_SERIAL,
                          POS_SENSE_EXTRA1, POS_SENSE_EXTRA2, POS_SENSE_ELSE};
const int kSenseChest = 0, kSenseLimb = 1, kSenseRhythm = 2, kSenseSerial = 3, kSenseExtra1 = 4, kSenseExtra2 = 5,
          kSenseElse = 6;

struct StyleRange {
    int nFirst;
    int nLast;
};

struct StyleFamily {
    const StyleRange* pRanges;
    int nRanges;
    int nStoredPos;
};

const StyleRange kRestStyles[] = {{1, 51}};
const StyleRange k1LeadStyles[] = {{35, 37}, {49, 51}};
const StyleRange k3LeadStyles[] = {{38, 40}, {49, 51}};
const StyleRange kExtra3Styles[] = {{52, 53}, {68, 70}, {80, 80}};
const StyleRange kExtra4Styles[] = {{54, 55}, {71, 73}, {80, 80}};
const StyleRange kExtra6Styles[] = {{56, 61}, {74, 76}, {80, 80}};
const StyleRange kExtra7Styles[] = {{62, 67}, {77, 79}, {80, 80}};
const StyleRange kFreezeStyles[] = {{56, 57}, {74, 76}, {80, 80}};

template <size_t N> constexpr StyleFamily Family(const StyleRange (&ranges)[N], int pos)
{
    return {ranges, static_cast<int>(N), pos};
}

bool Accepts(const StyleFamily& family, int style)
{
    for (int i = 0; i < family.nRanges; ++i) {
        if (style >= family.pRanges[i].nFirst && style <= family.pRanges[i].nLast) return true;
    }
    return false;
}

bool Near(double a, double b)
{
    return std::fabs(a - b) < 1e-4;
}

// The speeds the screens offer (mm/s), else 25; a stored 8.3 is the slow one.
float ReadSpeed(CECGXMLParser& xml)
{
    double value = 0.0;
    if (!ReadSettingReal(xml, L"Speed", value)) return 25.0f;
    float speed = 25.0f;
    for (double step : {2.5, 5.0, 10.0, 12.5, 25.0, 50.0}) {
        if (Near(value, step)) speed = static_cast<float>(step);
    }
    if (std::fabs(value - 8.333333) < 0.1) speed = 8.333333f;
    return speed;
}


}  // namespace

// ---- page styles --------------------------------------------------------------------

int* CMFERViewDoc::StoredStyleOf(_MFERDATAITEM* pItem)
{
    const unsigned kind = pItem->uSystemCode;
    if (IsFreezeKind(kind)) return &RefPos(POS_STYLE_FREEZE);
    switch (kind) {
    case MFER_KIND_EXTRA3: return &RefPos(POS_STYLE_EXTRA3);
    case MFER_KIND_EXTRA4: return &RefPos(POS_STYLE_EXTRA4);
    case MFER_KIND_EXTRA6: return &RefPos(POS_STYLE_EXTRA6);
    case MFER_KIND_EXTRA7: return &RefPos(POS_STYLE_EXTRA7);
    case MFER_KIND_1LEAD: return &RefPos(POS_STYLE_1LEAD);
    case MFER_KIND_3LEAD: return &RefPos(POS_STYLE_3LEAD);
    default: return &RefPos(POS_STYLE_REST);
    }
}

_MFER_PAGE_STYLE CMFERViewDoc::GetPageStyle()
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item) return m_nRestPageStyle;
    const unsigned kind = item->uSystemCode;
    if (IsNamedExtraKind(kind)) {
        switch (item->nLeadLayout) {
        case 3: m_nExtraPageStyle = RefPos(POS_STYLE_EXTRA3); break;
        case 4: m_nExtraPageStyle = RefPos(POS_STYLE_EXTRA4); break;
        case 6: m_nExtraPageStyle = RefPos(POS_STYLE_EXTRA6); break;
        case 7: m_nExtraPageStyle = RefPos(POS_STYLE_EXTRA7); break;
        default: break;
        }
        return m_nExtraPageStyle;
    }
    if (IsFreezeKind(kind)) {
        m_nExtraPageStyle = RefPos(POS_STYLE_FREEZE);
        return m_nExtraPageStyle;
    }
    if (IsStripKind(kind)) {
        m_nRhythmPageStyle = *StoredStyleOf(item);
        return m_nRhythmPageStyle;
    }
    m_nRestPageStyle = RefPos(POS_STYLE_REST);
    return m_nRestPageStyle;
}

void CMFERViewDoc::SetPageStyle(_MFER_PAGE_STYLE style)
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    const unsigned kind = item->uSystemCode;
    if (IsExtraFamily(kind))
        m_nExtraPageStyle = style;
    else if (IsStripKind(kind))
        m_nRhythmPageStyle = style;
    else
        m_nRestPageStyle = style;
    *StoredStyleOf(item) = style;
}

// ---- the one-lead strip --------------------------------------------------------------------

int CMFERViewDoc::GetRhythm1LeadID()
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    const int twelve = RefPos(POS_1LEAD_12);
    const int three = RefPos(POS_1LEAD_3);
    const int extension = RefPos(POS_1LEAD_15) + 11;
    int lead = 0;
    if (IsExtraFamily(item->uSystemCode))
        lead = item->nLeadLayout == 4 ? 3 : item->nLeadLayout == 7 ? 6 : 0;
    else if (item->nLeadLayout == 15 && extension >= 12 && extension <= 14)
        lead = extension;
    else if (item->nLeadLayout == 12 || item->nLeadLayout == 15)
        lead = twelve >= 0 && twelve <= 11 ? twelve : 0;
    else if (item->nLeadLayout == 3)
        lead = three >= 0 && three <= 2 ? three : 0;
    // The views and host commands that hold the document as a CTavrionDoc
    // read the base's copy of the strip lead.
    m_nRhythm1LeadID = lead;
    return lead;
}

int CMFERViewDoc::SetRhythm1LeadID(int lead)
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item) {
        if (lead < 0 || lead > 14) return 0;
        RefPos(POS_1LEAD_12) = lead <= 11 ? lead : 0;
        RefPos(POS_1LEAD_3) = lead <= 2 ? lead : 0;
        RefPos(POS_1LEAD_15) = lead >= 12 ? lead - 11 : 0;
        m_nRhythm1LeadID = lead;
        return 1;
    }
    if (lead < 0 || lead >= item->nLeadLayout) return 0;
    switch (item->nLeadLayout) {
    case 15:
        if (lead < 12) {
            RefPos(POS_1LEAD_12) = lead;
            RefPos(POS_1LEAD_15) = 0;
        } else {
            RefPos(POS_1LEAD_15) = lead - 11;
        }
        break;
    case 12:
        RefPos(POS_1LEAD_12) = lead;
        RefPos(POS_1LEAD_15) = 0;
        break;
    case 3:
        RefPos(POS_1LEAD_3) = lead;
        RefPos(POS_1LEAD_15) = 0;
        break;
    default: break;
    }
    GetRhythm1LeadID();
    return 1;
}

// ---- pages and speed ------------------------------------------------------------------------

int CMFERViewDoc::GetRhythmWaveTotalPage(int width, int waveStyle)
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item || !item->pMFERParser) return 0;
    int rows = 0;
    switch (waveStyle) {
    case 6:
    case 25: rows = 1; break;
    case 7: rows = 3; break;
    case 23:
    case 24: {
        const int leads = item->pMFERParser->GetLeadCount();
        if (leads != 0 && leads != 1 && leads != 3) return 0;
        rows = leads;
        break;
    }
    default: break;
    }
    // A speed of 0 (stored by SetSpeed) shows no strip rather than dividing by it.
    const float speed = GetSpeed();
    if (rows == 0 || !(speed > 0.0f)) return 0;
    const long samplesPerRow = static_cast<long>(width * GetSampleRate() / speed);
    const long samplesPerPage = samplesPerRow * 6 / rows;
    if (samplesPerPage <= 0) return 0;
    const long samples = item->pMFERParser->GetWaveLength(0) / 2;
    long pages = samples / samplesPerPage;
    if (samples % samplesPerPage == 0 && pages > 0) --pages;
    return static_cast<int>(pages);
}

float CMFERViewDoc::GetSpeed()
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (item && IsExtraFamily(item->uSystemCode)) return RefPosF(POS_EXTRA_SPEED);
    return RefPosF(POS_SPEED);
}

void CMFERViewDoc::SetSpeed(float fSpeed)
{
    if (fSpeed == 2.5f || std::fabs(fSpeed - 8.333333f) < 0.1f) {
        RefPosF(POS_SPEED) = fSpeed;
        return;
    }
    if (fSpeed == 12.5f || fSpeed == 0.0f) {
        RefPosF(POS_EXTRA_SPEED) = fSpeed;
        return;
    }
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item || IsExtraFamily(item->uSystemCode)) RefPosF(POS_EXTRA_SPEED) = fSpeed;
    if (!item || !IsExtraFamily(item->uSystemCode)) RefPosF(POS_SPEED) = fSpeed;
}

// ---- sensitivity -----------------------------------------------------------------------------

float CMFERViewDoc::GetSense(UINT kind, int which)
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if ((m_uSenseMode == 3 || m_uSenseMode == 4) && item) {
        const float a = item->fAcqSense;
        for (int pos : {POS_SENSE_LIMB, POS_SENSE_CHEST, POS_SENSE_ELSE, POS_SENSE_EXTRA1, POS_SENSE_EXTRA2})
            RefPosF(pos) = a;
        for (auto& set : m_fSense) {
            set[kSenseLimb] = a;
            set[kSenseChest] = a;
            set[kSenseElse] = a;
        }
        m_fSense[0][kSenseExtra1] = a;
        m_fSense[0][kSenseExtra2] = a;
        if (GetRhythmSenseChangeState()) RefPosF(POS_SENSE_RHYTHM) = a;
    }
    if (kind <= 6) return m_fSense[which == 0 ? 0 : 1][kind];
    if (kind == 9) return RefPosF(POS_SENSE_RHYTHM);
    return 0.0f;
}

void CMFERViewDoc::SetSense(UINT kind, float fSense, int bModeChange)
{
    if (bModeChange && kind != 3 && (kind != 2 || GetRhythmSenseChangeState())) {
        const int old = RefPos(POS_SENSE_MODE);
        const int mode = (old == 1 || old == 3) ? 1 : 2;
        RefPos(POS_SENSE_MODE) = mode;
        m_uSenseMode = static_cast<UINT>(mode);
        SetReferenceIntoXML(REFERENCE_SENSE_MODE, -1);
        if ((mode == 1 && old == 3) || (mode == 2 && (old == 4 || old == 5))) {
            for (int arg : {1, 0, 6, 2, 4, 5}) SetReferenceIntoXML(REFERENCE_SENSITIVITY, arg);
        }
    }
    if (kind <= 6) {
        RefPosF(kSensePos[kind]) = fSense;
        m_fSense[0][kind] = fSense;
    }
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item || item->nLeadGroups != 3) return;
    // With three lead groups both extra sensitivities follow either setter.
    if (kind == kSenseExtra2) {
        RefPosF(POS_EXTRA_GROUP1) = fSense;
        m_fSense[0][kSenseExtra1] = fSense;
    } else if (kind == kSenseExtra1) {
        RefPosF(POS_EXTRA_GROUP2) = fSense;
        m_fSense[0][kSenseExtra2] = fSense;
    }
}

UINT CMFERViewDoc::GetSenseMode()
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item) return 1;
    const int mode = RefPos(POS_SENSE_MODE);
    if (IsStripKind(item->uSystemCode)) return (mode == 1 || mode == 3) ? static_cast<UINT>(mode) : 1;
    return (mode >= 1 && mode <= 5) ? static_cast<UINT>(mode) : 1;
}

void CMFERViewDoc::SetSenseMode(UINT mode)
{
    RefPos(POS_SENSE_MODE) = static_cast<int>(mode);
    m_uSenseMode = mode;
}

void CMFERViewDoc::SetChestHalf(int bHalf)
{
    m_bChestHalf = bHalf;
    RefPos(POS_CHEST_HALF) = bHalf != 0 ? 1 : 0;
}

void CMFERViewDoc::InitialSense()
{
    for (int kind : {kSenseLimb, kSenseChest, kSenseElse, kSenseSerial, kSenseExtra1, kSenseExtra2})
        m_fSense[0][kind] = RefPosF(kSensePos[kind]);
    m_uSenseMode = static_cast<UINT>(RefPos(POS_SENSE_MODE));
    m_bChestHalf = RefPos(POS_CHEST_HALF);
}

// ---- display settings in the record XML --------------------------------------------------------

CString CMFERViewDoc::GetCurItemXMLPath()
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    return item ? item->strXMLPath : CString();
}

void CMFERViewDoc::SetReferenceIntoXML(int id, int arg)
{
    CTavrionDoc::SetReferenceIntoXML(id, arg);
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item || item->strXMLPath.IsEmpty()) return;
    if (id < REFERENCE_PAGE_STYLE || id > REFERENCE_CHECK_ID || id == REFERENCE_STRANDEL ||
        id == REFERENCE_MEASURE_POINT)
        return;

    const unsigned kind = item->uSystemCode;
    CECGXMLParser xml(item->strXMLPath, 0, CString());
    switch (id) {
    case REFERENCE_PAGE_STYLE: WriteSetting(xml, L"Page_style", IntText(GetPageStyle())); break;
    case REFERENCE_RHYTHM_1LEAD: WriteSetting(xml, L"Rhythm_1lead", IntText(GetRhythm1LeadID())); break;
    case REFERENCE_FILTER: WriteSetting(xml, L"Filter", IntText(GetFilter())); break;
    case REFERENCE_SPEED: {
        CString text;
        text.Format(L"%.1f", GetSpeed());
        WriteSetting(xml, L"Speed", text);
        break;
    }
    case REFERENCE_SENSITIVITY: {
        const wchar_t* element = nullptr;
        if (IsExtraFamily(kind)) {
            element = arg == kSenseExtra1 ? L"Sensitivity/Extra1" : arg == kSenseExtra2 ? L"Sensitivity/Extra2" : nullptr;
        } else if (IsStripKind(kind)) {
            element = arg == kSenseRhythm ? L"Sensitivity/Rhythm" : arg == kSenseElse ? L"Sensitivity/Else" : nullptr;
        } else {
            switch (arg) {
            case kSenseChest: element = L"Sensitivity/Chest"; break;
            case kSenseLimb: element = L"Sensitivity/Limb"; break;
            case kSenseRhythm: element = L"Sensitivity/Rhythm"; break;
            case kSenseSerial: element = L"Sensitivity/Serial"; break;
            case kSenseElse: element = L"Sensitivity/Else"; break;
            default: break;
            }
        }
        if (!element) break;
        CString text;
        text.Format(L"%.2f", arg == kSenseRhythm ? RefPosF(POS_SENSE_RHYTHM) : GetSense(static_cast<UINT>(arg), 0));
        WriteSetting(xml, element, text);
        break;
    }
    case REFERENCE_SERIAL_OVERLAP: WriteSetting(xml, L"Serial_overlap", IntText(IsSerialOverlap())); break;
    case REFERENCE_CHEST_HALF:
        WriteSetting(xml, L"Sensitivity/Serial", IntText(IsChestHalf()), L"chest_half");
        break;
    case REFERENCE_LEAD_SELECTION: {
        const int style = GetRhythmWaveStyle();
        const wchar_t* element = style == 16                 ? L"Lead_selection/Lead_1ch"
                                 : style == 17               ? L"Lead_selection/Lead_3ch"
                                 : style >= 5 && style <= 10 ? L"Lead_selection/Lead_9ch"
                                 : style == 11               ? L"Lead_selection/Lead_12ch"
                                 : style == 12               ? L"Lead_selection/Lead_15ch"
                                                             : nullptr;
        if (element) WriteSetting(xml, element, IntText(GetLeadSelection(static_cast<int>(kind), style)));
        break;
    }
    case REFERENCE_SENSE_MODE:
        WriteSetting(xml, L"Sensitivity", IntText(static_cast<int>(GetSenseMode())), L"mode");
        break;
    case REFERENCE_SHOW_COMMENT: WriteSetting(xml, L"Show_comment", IntText(IsShowComment())); break;
    case REFERENCE_SHOW_ST: WriteSetting(xml, L"Show_ST", IntText(IsShowST())); break;
    case REFERENCE_CHECK_ID: WriteSetting(xml, L"Check_ID", IntText(IsCheckID())); break;
    default: break;
    }
    SaveSettingXML(xml);
}

void CMFERViewDoc::UpDateReferenceInfo(const CString& /*strXMLPath*/)
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item || item->strXMLPath.IsEmpty()) return;
    CTavrionDoc::UpDateReferenceInfo(item->strXMLPath);
    CECGXMLParser xml(item->strXMLPath, 0, CString());
    ReadSettingPageStyle(*item, xml);
    const int layout = item->nLeadLayout;
    if (layout == 3) {
        int extension = 0;
        ReadSettingRhythmLead(xml, layout, RefPos(POS_1LEAD_3), extension);
    } else if (layout == 12 || layout == 15) {
        ReadSettingRhythmLead(xml, layout, RefPos(POS_1LEAD_12), RefPos(POS_1LEAD_15));
    }
    GetRhythm1LeadID();   // the record's strip lead into the base's copy
    SetFilter(ReadSettingFilter(xml));
    RefPosF(IsExtraFamily(item->uSystemCode) ? POS_EXTRA_SPEED : POS_SPEED) = ReadSpeed(xml);
    ReadSettingSenses(*item, xml);
    SetSerialOverlap(SettingNumberOr(xml, L"Serial_overlap", 1));
    ReadSettingColors(*this, xml);
    if (!IsFullLeadKind(item->uSystemCode)) return;
    const int code = static_cast<int>(item->uSystemCode);
    SetLeadSelection(static_cast<short>(SettingNumberOr(xml, L"Lead_selection/Lead_3ch", 7)), code, 17);
    SetLeadSelection(static_cast<short>(SettingNumberOr(xml, L"Lead_selection/Lead_1ch", 1)), code, 16);
    ReadSettingLeadSelections(*this, xml, code, item->uSystemCode == MFER_KIND_15LEAD);
}

void CMFERViewDoc::ReadSettingPageStyle(_MFERDATAITEM& item, CECGXMLParser& xml)
{
    static const StyleFamily kRest = Family(kRestStyles, POS_STYLE_REST);
    static const StyleFamily k1Lead = Family(k1LeadStyles, POS_STYLE_1LEAD);
    static const StyleFamily k3Lead = Family(k3LeadStyles, POS_STYLE_3LEAD);
    static const StyleFamily kExtra3 = Family(kExtra3Styles, POS_STYLE_EXTRA3);
    static const StyleFamily kExtra4 = Family(kExtra4Styles, POS_STYLE_EXTRA4);
    static const StyleFamily kExtra6 = Family(kExtra6Styles, POS_STYLE_EXTRA6);
    static const StyleFamily kExtra7 = Family(kExtra7Styles, POS_STYLE_EXTRA7);
    static const StyleFamily kFreeze = Family(kFreezeStyles, POS_STYLE_FREEZE);
    const unsigned kind = item.uSystemCode;
    const StyleFamily* family = nullptr;
    int defaultStyle = item.nItemPageStyle;
    int* current = &m_nExtraPageStyle;
    if (IsNamedExtraKind(kind)) {
        switch (item.nLeadLayout) {
        case 3: family = &kExtra3; break;
        case 4: family = &kExtra4; break;
        case 6: family = &kExtra6; break;
        case 7: family = &kExtra7; break;
        default: return;
        }
    } else if (IsFreezeKind(kind)) {
        family = &kFreeze;
    } else if (IsStripKind(kind)) {
        family = kind == MFER_KIND_1LEAD ? &k1Lead : &k3Lead;
        defaultStyle = kind == MFER_KIND_1LEAD ? 35 : 38;
        current = &m_nRhythmPageStyle;
    } else {
        family = &kRest;
        defaultStyle = 1;
        current = &m_nRestPageStyle;
    }
    int stored = 0;
    const bool read = ReadSettingNumber(xml, L"Page_style", stored) && Accepts(*family, stored);
    *current = read ? stored : defaultStyle;
    RefPos(family->nStoredPos) = *current;
}

// The sensitivity mode (1 or 3 for 1- and 3-lead layouts, 1 to 5 otherwise)
// and the sensitivities of the record's family.
void CMFERViewDoc::ReadSettingSenses(_MFERDATAITEM& item, CECGXMLParser& xml)
{
    int mode = SettingNumberOr(xml, L"Sensitivity", 1, L"mode");
    const bool fewLeads = item.nLeadLayout == 1 || item.nLeadLayout == 3;
    if (fewLeads ? (mode != 1 && mode != 3) : (mode < 1 || mode > 5)) mode = 1;
    SetSenseMode(static_cast<UINT>(mode));

    auto readSense = [&](const wchar_t* element, int senseKind, bool storedOnly) {
        const float value = ReadSettingSense(xml, element);
        RefPosF(kSensePos[senseKind]) = value;
        if (!storedOnly) m_fSense[0][senseKind] = value;
    };
    if (IsStripKind(item.uSystemCode)) {
        readSense(L"Sensitivity/Else", kSenseElse, false);
        readSense(L"Sensitivity/Rhythm", kSenseRhythm, true);
        return;
    }
    if (IsExtraFamily(item.uSystemCode)) {
        readSense(L"Sensitivity/Extra1", kSenseExtra1, false);
        readSense(L"Sensitivity/Extra2", kSenseExtra2, false);
        return;
    }
    readSense(L"Sensitivity/Limb", kSenseLimb, false);
    readSense(L"Sensitivity/Chest", kSenseChest, false);
    readSense(L"Sensitivity/Else", kSenseElse, false);
    readSense(L"Sensitivity/Rhythm", kSenseRhythm, true);
    double serial = 10.0;
    if (!ReadSettingReal(xml, L"Sensitivity/Serial", serial)) serial = 10.0;
    RefPosF(POS_SENSE_SERIAL) = static_cast<float>(serial);
    m_fSense[0][kSenseSerial] = static_cast<float>(serial);
    SetChestHalf(SettingNumberOr(xml, L"Sensitivity/Serial", 1, L"chest_half"));
}
