// Lead counts from system codes and device items, lead names, and the lead
// masks of the multi-lead wave styles.
#include "core/ConstTables.h"
#include "core/ECGXMLParser.h"
#include "core/TavrionDoc.h"

#include <cstdlib>
#include <cstring>

namespace {

const wchar_t* const kLeadNameElement = L"/Rawdata/Tavrion/Wave/Wave_add_section/Lead_name/Lead_name_element";
const wchar_t* const kFreezeLeadName = L"/Rawdata/Tavrion/Wave/Extend_section/Freeze_info/Lead_info/Lead_name";

// Slots of the document's lead selection.
const int SEL_SINGLE = 0;
const int SEL_THREE = 1;
const int SEL_NINE = 4;
const int SEL_FIFTEEN = 13;

unsigned Low(int code) { return static_cast<unsigned>(code) & 0xFF; }
unsigned Code16(int code) { return static_cast<unsigned>(code) & 0xFFFF; }

bool LowIn(int code, std::initializer_list<unsigned> bytes)
{
    for (unsigned b : bytes) {
        if (Low(code) == b)
            return true;
    }
    return false;
}

bool IsRhythmKind(int code) { return LowIn(code, {10, 245, 246, 38, 218, 217}); }
bool IsRRKind(int code) { return Low(code) == 5; }
bool IsExtraKind(int code) { return LowIn(code, {26, 229, 230, 28}); }

// The number a stored lead value reads as, `missing` where it is absent or
// empty. The resting readers take a whole number alone (anything else reads
// as `missing`); the others take the leading digits, as _wtoi does.
int StoredLeadNumber(CECGXMLParser& xml, const CString& path, int mode, const CString& attribute, int missing,
                     bool wholeOnly)
{
    CString text;
    if (!xml.GetDataFromXMLDOM(text, path, mode, attribute))
        return missing;
    text.Trim();
    if (text.IsEmpty())
        return missing;
    if (!wholeOnly)
        return _wtoi(text);
    wchar_t* end = nullptr;
    const long value = std::wcstol(text.GetString(), &end, 10);
    return end && *end == L'\0' ? static_cast<int>(value) : missing;
}

// The flag of the n-th edited name as the record kind's reader takes it:
// the resting 15-lead reader a whole number alone; the extra reader the
// leading digits of a flag with any text, for its first seven names only;
// the rhythm reader those of any flag present, so an empty one reads as 0.
int StoredLeadFlag(CECGXMLParser& xml, const CString& path, int code, int n)
{
    if (LowIn(code, {11, 226, 227}))
        return StoredLeadNumber(xml, path, 2, L"flag", -1, true);
    CString text;
    if (!xml.GetDataFromXMLDOM(text, path, 2, L"flag"))
        return -1;
    if (IsExtraKind(code))
        return n <= 7 && !text.IsEmpty() ? _wtoi(text) : -1;
    return _wtoi(text);
}

// Where a record of the kind stores the code of its n-th lead (from 1);
// empty where it stores none.
CString LeadCodePath(int code, int n)
{
    const wchar_t* section = nullptr;
    if (LowIn(code, {11, 226, 227, 26, 229, 230, 28, 10, 245, 246}))
        section = L"/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info";
    else if (LowIn(code, {38, 217, 218}))
        section = L"/Rawdata/Tavrion/Wave/Rhythm_ex_section/Wave_info";
    if (!section)
        return CString();
    CString path;
    path.Format(L"%s/Wave_data[@number='%d']/Lead_code", section, n);
    return path;
}

// Writes a lead's flag or code unless the stored value already reads as it:
// a code the person did not change ("A9", " 09", a missing attribute) stays
// as the record XML has it.
void WriteLeadNumber(CECGXMLParser& xml, const CString& path, int mode, const CString& attribute, int value,
                     int missing, bool wholeOnly)
{
    if (StoredLeadNumber(xml, path, mode, attribute, missing, wholeOnly) == value)
        return;
    CString text;
    text.Format(L"%d", value);
    xml.SetDataToXMLDOM(text, path, mode, attribute);
}

// The recorders whose codes the lead masks treat as 12-lead resting or
// short-strip devices.
bool IsDeviceFamilyCode(int code)
{
    const unsigned c = Code16(code);
    return c == 0x8001 || c == 0x8003 || c == 0x800C || c == 0x800F || c == 0x7003 || c == 0x7004 || c == 0x7006 ||
           c == 0x7007 || (c >= 0x7011 && c <= 0x7016);
}

int BitCount(unsigned mask)
{
    int n = 0;
    for (; mask; mask &= mask - 1)
        ++n;
    return n;
}

CString Indexed(const wchar_t* path, int n)
{
    CString out;
    out.Format(L"%s[%d]", path, n);
    return out;
}

// Reads a device item into a fixed buffer. The reader reports the item's
// size; an item larger than the buffer is read only as far as the buffer
// goes, so a damaged record cannot write past it.
bool ReadItem(_ECGDATA* image, UINT tag, void* buffer, long bufferSize)
{
    std::memset(buffer, 0, static_cast<size_t>(bufferSize));
    if (!image || !image->pfnGetData)
        return false;
    const long size = image->pfnGetData(image, tag, 0, nullptr, 0);
    if (size < 1)
        return false;
    const long length = size < bufferSize ? size : bufferSize;
    return image->pfnGetData(image, tag, 0, buffer, length) > 0;
}

int32_t FirstInt32(const BYTE* buffer)
{
    int32_t value = 0;
    std::memcpy(&value, buffer, sizeof value);
    return value;
}

}  // namespace

int CTavrionDoc::GetLeadCountBySystemCode(UINT uSystemCode)
{
    const unsigned c = uSystemCode & 0xFFFF;
    const int code = static_cast<int>(c);
    if (c == 0x8001)
        return 1;
    if (c == 0x8003)
        return 3;
    if (LowIn(code, {0, 254, 255, 243, 244}) || c == 0x800C)
        return 12;
    if (LowIn(code, {11, 226, 227}) || c == 0x800F)
        return 15;
    switch (c) {
    case 0xFFFA: return 3;
    case 0xFFFC:
    case 0xFFFD: return 12;
    case 0x7003:
    case 0x7013: return 3;
    case 0x7004:
    case 0x7014: return 4;
    case 0x7006:
    case 0x7016: return 6;
    case 0x7007: return 7;
    case 0x7011: return 1;
    case 0x7012: return 2;
    case 0x7015: return 5;
    default: return 0;
    }
}

int CTavrionDoc::GetCurItemLeadCount()
{
    return 255;
}

int CTavrionDoc::GetCurrentLeadCount(int nSystemCode)
{
    // Only a document of the record's own kind holds item records of that
    // kind; any other document answers from the code alone.
    const int type = GetDocType();
    if (IsRhythmKind(nSystemCode) && type == DOC_TYPE_RHYTHM)
        return GetCurItemLeadCount();
    if (IsRRKind(nSystemCode) && type == DOC_TYPE_RR)
        return GetCurItemLeadCount();
    if (IsExtraKind(nSystemCode) && type == DOC_TYPE_EXTRA)
        return GetCurItemLeadCount();
    return GetLeadCountBySystemCode(static_cast<UINT>(nSystemCode));
}

int CTavrionDoc::IsMasterStepInforSystemCode(int nSystemCode)
{
    const unsigned c = Code16(nSystemCode);
    if (LowIn(nSystemCode, {254, 255, 226, 227}))
        return 1;
    return (c == 0xFFF6 || c == 0xFFF5 || c == 0xFFDA || c == 0xFFD9 || c == 0xFFE5 || c == 0xFFE6) ? 1 : 0;
}

int CTavrionDoc::IsTripInforSystemCode(int nSystemCode)
{
    return LowIn(nSystemCode, {254, 226, 243}) ? 1 : 0;
}

int CTavrionDoc::GetLTFileLeadCount(_ECGDATA* image, UINT tag)
{
    BYTE buffer[100];
    if (!ReadItem(image, tag, buffer, sizeof buffer))
        return 0;
    return FirstInt32(buffer);
}

int CTavrionDoc::GetRRFileLeadCount(_ECGDATA* image)
{
    BYTE buffer[20];
    if (!ReadItem(image, 3815, buffer, sizeof buffer))
        return 0;
    int16_t value = 0;
    std::memcpy(&value, buffer, sizeof value);
    return value;
}

int CTavrionDoc::GetExtraFileLeadCount(_ECGDATA* image, UINT uSystemCode)
{
    if (!image)
        return 0;
    BYTE buffer[10];
    const int kind = ReadItem(image, 4093, buffer, sizeof buffer) ? FirstInt32(buffer) : 0;
    if ((uSystemCode & 0xFF) == 28)
        return kind;
    if (ReadItem(image, 4095, buffer, sizeof buffer) && FirstInt32(buffer) == 1) {
        switch (kind) {
        case 0:
        case 1: return 3;
        case 2: return 4;
        case 3:
        case 5: return 6;
        case 4: return 7;
        default: return 0;
        }
    }
    if (!ReadItem(image, 4094, buffer, sizeof buffer))
        return 3;
    switch (FirstInt32(buffer)) {
    case 3: return 3;
    case 6: return 6;
    case 259: return 4;
    default: return 0;
    }
}

CString CTavrionDoc::GetLeadNameString(int index)
{
    if (index < 0 || index >= 12)
        return CString();
    return g_strLeadName[index];
}

CString CTavrionDoc::FromIDtoName(int nCode, int nSystemCode, CECGXMLParser* xml, int index)
{
    if (!xml)
        return CString();
    if ((nCode >= 1 && nCode <= 30) || (nCode >= 61 && nCode <= 69))
        return GetMFERLeadCodeName(nCode);
    if (nCode >= 100 && nCode <= 118)
        return GetExtraLeadCodeName(nCode);
    CString text;
    if (nCode >= 119 && nCode <= 124) {
        if (Low(nSystemCode) != 28)
            return CString();
        if (xml->GetDataFromXMLDOM(text, Indexed(kFreezeLeadName, index + 1), 4, CString()))
            return text;
        text.Format(L"EXT%d", nCode - 118);
        return text;
    }
    if (nCode != 0)
        return CString();
    if (!LowIn(nSystemCode, {0, 254, 255, 11, 226, 227, 10, 245, 246, 38, 218, 217, 26, 229, 230, 28}))
        return CString();
    if (!xml->GetDataFromXMLDOM(text, Indexed(kLeadNameElement, index + 1), 4, CString()))
        return CString();
    return text;
}

void CTavrionDoc::GetLeadNameFromXML(int nSystemCode, _LEAD_NAME_INFO& info, CECGXMLParser* xml)
{
    if (!xml)
        return;
    const int count = info.nCount < 0 ? 0 : (info.nCount > LEAD_NAME_CODES ? LEAD_NAME_CODES : info.nCount);
    const bool bFullLead = info.nLeadCount == 12 || info.nLeadCount == 15;
    auto name = [&](int code, int index) { return FromIDtoName(code, nSystemCode, xml, index); };
    CString* disp = info.strDispName;
    for (int i = 0; i < LEAD_NAME_CODES; ++i)
        disp[i].Empty();

    if (LowIn(nSystemCode, {0, 254, 255, 11, 226, 227})) {
        for (int i = 0; i < 12; ++i)
            disp[i] = GetLeadNameString(i);
        if (LowIn(nSystemCode, {11, 226, 227})) {
            for (int i = 12; i < LEAD_NAME_CODES; ++i) {
                const int lead = static_cast<int>(GetDataLeadID(static_cast<UINT>(i), nSystemCode));
                disp[i] = name(info.nCode[lead], lead);
            }
        }
    } else if (LowIn(nSystemCode, {10, 245, 246}) && bFullLead) {
        for (int i = 0; i < info.nLeadCount; ++i)
            disp[i] = i < 6 ? name(info.nCode[i], i) : name(info.nCode[i - 6], i - 6);
    } else if (LowIn(nSystemCode, {38, 218, 217}) && bFullLead) {
        for (int i = 0; i < info.nLeadCount; ++i)
            disp[i] = i < 6 ? GetLeadNameString(i) : name(info.nCode[i - 6], i - 6);
    } else if (LowIn(nSystemCode, {10, 245, 246, 38, 218, 217, 26, 229, 230})) {
        for (int i = 0; i < count; ++i)
            disp[i] = name(info.nCode[i], i);
    } else if (Low(nSystemCode) == 28) {
        for (int i = 0; i < LEAD_NAME_FREEZE; ++i)
            disp[i] = name(info.nFreezeCode[i], i);
    } else if (Low(nSystemCode) == 5) {
        for (int i = 0; i < LEAD_NAME_RR; ++i)
            disp[i] = info.nRRCode[i] ? name(info.nRRCode[i], i) : CString();
        return;
    } else if (LowIn(nSystemCode, {243, 244})) {
        for (int i = 0; i < 12; ++i)
            disp[i] = GetLeadNameString(i);
    }

    if (Low(nSystemCode) == 28) {
        for (int i = 0; i < LEAD_NAME_FREEZE; ++i) {
            const int code = info.nFreezeCode[i];
            info.strFreezeName[i] = (code >= 119 && code <= 124) ? disp[i] : CString();
        }
        return;
    }
    if (!info.bChanged)
        return;
    int offset = -1;
    if (LowIn(nSystemCode, {11, 226, 227}))
        offset = 12;
    else if (IsRhythmKind(nSystemCode))
        offset = bFullLead ? 6 : 0;
    else if (LowIn(nSystemCode, {26, 229, 230}))
        offset = 0;
    if (offset < 0)
        return;
    for (int i = 0; i < LEAD_NAME_EDITABLE; ++i) {
        const bool bEdited = i < count && info.nFlag[i] == 1 && offset + i < LEAD_NAME_CODES;
        info.strEditName[i] = bEdited ? disp[offset + i] : CString();
    }
}

void CTavrionDoc::SaveWaveInfoToXML(int nSystemCode, _LEAD_NAME_INFO& info, CECGXMLParser* xml)
{
    if (!xml)
        return;
    const int count = info.nCount < 0 ? 0 : (info.nCount > LEAD_NAME_CODES ? LEAD_NAME_CODES : info.nCount);
    // The resting 15-lead reader takes a flag or code only as a whole number.
    const bool wholeOnly = LowIn(nSystemCode, {11, 226, 227});
    if (info.bChanged) {
        // A slot past the record's leads holds nothing the person could edit:
        // whatever the record XML stores there stays.
        for (int n = 1; n <= LEAD_NAME_EDITABLE && n - 1 < count; ++n) {
            const CString path = Indexed(kLeadNameElement, n);
            if (StoredLeadFlag(*xml, path, nSystemCode, n) != info.nFlag[n - 1]) {
                CString flag;
                flag.Format(L"%d", info.nFlag[n - 1]);
                xml->SetDataToXMLDOM(flag, path, 2, L"flag");
            }
            // The name's code is a copy of the lead's: it changes only with
            // a code the person changed, never to a reading of one that
            // is no number.
            const CString section = LeadCodePath(nSystemCode, n);
            if (section.IsEmpty() || StoredLeadNumber(*xml, section, 4, CString(), 0, wholeOnly) != info.nCode[n - 1])
                WriteLeadNumber(*xml, path, 2, L"code", info.nCode[n - 1], 0, wholeOnly);
            xml->SetDataToXMLDOM(info.strEditName[n - 1], path, 4, CString());
        }
    }
    for (int n = 1; n <= count; ++n) {
        const CString section = LeadCodePath(nSystemCode, n);
        if (!section.IsEmpty())
            WriteLeadNumber(*xml, section, 4, CString(), info.nCode[n - 1], 0, wholeOnly);
    }
}

short CTavrionDoc::GetLeadSelection(int nSystemCode, _RHYTHM_WAVE_STYLE style)
{
    const int n = GetCurrentLeadCount(nSystemCode);
    int* sel = m_nLeadSelection;
    unsigned mask = 0;
    auto bitsOf = [&](int first, int slots, int below) {
        unsigned bits = 0;
        for (int i = 0; i < slots; ++i) {
            const int lead = sel[first + i];
            if (lead >= 0 && lead < below)
                bits |= 1u << lead;
        }
        return bits;
    };

    if (style == 16 && (n == 1 || n == 12 || n == 15)) {
        if (n == 1)
            return 1;
        const int lead = sel[SEL_SINGLE];
        return static_cast<short>(lead >= 0 && lead < n ? 1u << lead : 1u);
    }
    if (style == 17 && (n == 3 || n == 12 || n == 15)) {
        if (n == 3)
            return 7;
        for (int i = 0; i < 3; ++i) {
            if (sel[SEL_THREE + i] < 0 || sel[SEL_THREE + i] >= n)
                return 7;
        }
        return static_cast<short>(bitsOf(SEL_THREE, 3, n));
    }
    if (style >= 5 && style <= 10 && n == 15)
        return static_cast<short>(bitsOf(SEL_NINE, 9, 15));
    if (style == 11 || style == 12) {
        const int full = style == 11 ? 12 : 15;
        if (n != full)
            return 0;
        mask = bitsOf(SEL_FIFTEEN, 15, full);
        if (mask)
            return static_cast<short>(mask);
        for (int i = 0; i < full; ++i)
            sel[SEL_FIFTEEN + i] = i;
        return static_cast<short>((1u << full) - 1);
    }
    const bool b12LeadFamily =
        LowIn(nSystemCode, {0, 254, 255, 38, 218, 217}) || IsDeviceFamilyCode(nSystemCode);
    if (n == 12 && b12LeadFamily)
        return static_cast<short>(0x0FC0);
    if (style == 29 && n == 15)
        return static_cast<short>(0x0FC0);
    return 0;
}

int CTavrionDoc::SetLeadSelection(short sMask, int nSystemCode, _RHYTHM_WAVE_STYLE style)
{
    if (style == 0)
        style = m_nRhythmWaveStyle;
    const unsigned mask = static_cast<unsigned short>(sMask);
    const int n = GetCurrentLeadCount(nSystemCode);
    if (mask & 0x8000)
        return 0;
    for (int bit = (n < 0 ? 0 : n); bit < 15; ++bit) {
        if (mask & (1u << bit))
            return 0;
    }
    const unsigned c = Code16(nSystemCode);
    const bool bFull = n == 12 || n == 15;
    const bool bStripCode = c == 0x800C || c == 0x800F || (LowIn(nSystemCode, {38, 218, 217}) && bFull);
    int* sel = m_nLeadSelection;

    if (style == 16) {
        if (!bStripCode || BitCount(mask) != 1)
            return 0;
        int lead = 0;
        while (!(mask & (1u << lead)))
            ++lead;
        if (lead >= n)
            return 0;
        sel[SEL_SINGLE] = lead;
        m_stDefaultRef.RefInt(IsDeviceFamilyCode(nSystemCode) ? REF_DEVICE_SINGLE_LEAD : REF_RHYTHM_SINGLE_LEAD) = lead;
        return 1;
    }
    if (style == 17) {
        if (!bStripCode || BitCount(mask) != 3)
            return 0;
        const int stored = IsDeviceFamilyCode(nSystemCode) ? REF_DEVICE_THREE_LEADS : REF_RHYTHM_THREE_LEADS;
        int slot = 0;
        for (int lead = 0; lead < 15; ++lead) {
            if (mask & (1u << lead)) {
                m_stDefaultRef.RefInt(stored + slot) = lead;
                sel[SEL_THREE + slot++] = lead;
            }
        }
        return 1;
    }
    const bool b15Lead = c == 0x800F || n == 15 || LowIn(nSystemCode, {11, 226, 227});
    const bool b12Lead = c == 0x800C || n == 12 || LowIn(nSystemCode, {0, 254, 255});
    if (style >= 5 && style <= 10 && b15Lead) {
        if ((mask & 0x3F) || mask == 0)
            return 0;
        for (int lead = 6; lead < 15; ++lead)
            sel[SEL_NINE + lead - 6] = ((mask & (1u << lead)) && lead < n) ? lead : -1;
        return 1;
    }
    if ((style == 11 && b12Lead) || (style == 12 && b15Lead)) {
        if (mask == 0)
            return 0;
        for (int lead = 0; lead < 15; ++lead)
            sel[SEL_FIFTEEN + lead] = ((mask & (1u << lead)) && lead < n) ? lead : -1;
        return 1;
    }
    return 0;
}

int CTavrionDoc::GetAcquisitionFilter(CECGXMLParser* xml, int bDefault)
{
    if (!xml || bDefault)
        return 100;
    CString text;
    if (!xml->GetDataFromXMLDOM(text, L"/Rawdata/Tavrion/Record/Extended_section/Acq_filter", 4, CString()))
        return 100;
    const int filter = _wtoi(text);
    switch (filter) {
    case 25:
    case 35:
    case 75:
    case 100:
    case 150: return filter;
    default: return 100;
    }
}

float CTavrionDoc::GetAcquisitionSense(CECGXMLParser* xml, int bDefault)
{
    if (!xml || bDefault)
        return 10.0f;
    CString text;
    if (!xml->GetDataFromXMLDOM(text, L"/Rawdata/Tavrion/Record/Extended_section/Acq_sense", 4, CString()))
        return 10.0f;
    return static_cast<float>(wcstod(static_cast<LPCWSTR>(text), nullptr));
}
