// The control-data store: one value entry per bound form control, keyed by
// the control's dialog-control id.
#include "core/TavrionDoc.h"

#include <cstdlib>

namespace {

struct StoreEntry {
    UINT uID;
    const wchar_t* pszKey;
};

// The patient strip in the order the forms expect it (3020 before 3019).
const StoreEntry s_PatientStrip[] = {
    {3000, L"PatientID"},     {3001, L"PatientID"},     {3002, L"PatientName"},   {3003, L"PatientName"},
    {3004, L"SubID"},         {3005, L"SubID"},         {3006, L"KanaName"},      {3007, L"KanaName"},
    {3008, L"PatientSex"},    {3009, L"PatientSex"},    {3010, L"PatientAge"},    {3011, L"PatientAge"},
    {3012, L"PatientAge"},    {3013, L"PatientAge"},    {3014, L"PatientAge"},    {3015, L"PatientAge"},
    {3016, L"PatientAge"},    {3017, L"PatientWeight"}, {3018, L"PatientWeight"}, {3020, L"PatientWeight"},
    {3019, L"PatientWeight"}, {3021, L"PatientWeight"}, {3022, L"PatientWeight"}, {3023, L"AcqTime"},
    {3024, L"AcqTime"},       {3025, L"Confirmation"},  {3026, L"Confirmation"},  {3027, L"Confirmation"},
    {3028, L"Confirmation"},  {3029, L"Confirmation"},
};

const StoreEntry s_RhyRRPanel[] = {
    {3630, L"Birthday"}, {3631, L"Birthday"}, {3632, L"Birthday"}, {3633, L"Birthday"}, {3634, L"Birthday"},
    {3635, L"Birthday"}, {3636, L"Medication"}, {3637, L"Medication"}, {3638, L"Medication"},
    {3639, L"Medication"}, {3640, L"Sympton"}, {3641, L"Sympton"}, {3642, L"Disease"}, {3643, L"Disease"},
    {3644, L"DepartmentName"}, {3645, L"DepartmentName"}, {3646, L"WardName"}, {3647, L"WardName"},
    {3648, L"RoomNumber"}, {3649, L"RoomNumber"}, {3650, L"ReqSection"}, {3651, L"ReqSection"},
    {3652, L"ReqDoctor"}, {3653, L"ReqDoctor"}, {3654, L"Technician"}, {3655, L"Technician"},
    {3656, L"InfoEditorDate"}, {3657, L"InfoEditorDate"}, {3658, L"InfoEditorDate"},
    {4014, L"誘導名称編集"}, {4015, L"誘導名称編集"}, {4016, L"誘導名称編集"},
    {3998, L"Addition"}, {3999, L"Addition"}, {4002, L"Addition"}, {4005, L"Addition"}, {4008, L"Addition"},
    {4000, L"Addition"}, {4003, L"Addition"}, {4006, L"Addition"}, {4009, L"Addition"}, {4001, L"Addition"},
    {4004, L"Addition"}, {4007, L"Addition"}, {4010, L"Addition"}, {4011, L"Addition"},
    {3659, L"Comment"}, {3660, L"Comment"}, {4017, L"Comment"},
    {3662, L"CommentEditorDate"}, {3663, L"CommentEditorDate"}, {3664, L"CommentEditorDate"},
    {3665, L"Confirmation"}, {3666, L"Confirmation"}, {3667, L"Confirmation"}, {3668, L"Confirmation"},
    {3669, L"Confirmation"},
    {4012, L"HeartRate"}, {4013, L"HeartRate"},
};

struct StripCaption {
    UINT uID;
    int nLayoutIndex;   // the control's entry in the screen patient-strip table
    const wchar_t* pszDefault;
};

const StripCaption s_StripCaptions[] = {
    {3000, 0, L"ID"},       {3002, 2, L"氏名"},     {3004, 4, L"サブＩＤ"}, {3006, 6, L"カナ氏名"},
    {3008, 8, L"性別"},     {3010, 10, L"年齢"},    {3020, 19, L"/"},       {3023, 23, L"検査日時"},
    {3026, 26, L"判読日時"}, {3028, 28, L"判読医師"},
};

const UINT PATIENT_FIELD_FIRST = 3000;
const UINT PATIENT_FIELD_LAST = 3029;

}  // namespace

INT_PTR CTavrionDoc::FindCheckEntry(UINT uID) const
{
    for (INT_PTR i = 0; i < m_CheckArray.GetSize(); ++i) {
        if (m_CheckArray.GetAt(i).GetID() == uID)
            return i;
    }
    return -1;
}

void CTavrionDoc::AddCheckEntry(UINT uID, const CString& strKey)
{
    CCheckValue entry(uID, strKey);
    m_CheckArray.Add(entry);
}

void CTavrionDoc::InitCheckArray()
{
    m_CheckArray.RemoveAll();
    for (const StoreEntry& e : s_PatientStrip)
        AddCheckEntry(e.uID, e.pszKey);
}

void CTavrionDoc::InitCheckArrayRhyRR()
{
    CTavrionDoc::InitCheckArray();
    for (const StoreEntry& e : s_RhyRRPanel)
        AddCheckEntry(e.uID, e.pszKey);
}

void CTavrionDoc::SetCtrlContent(_PATIENT_INFO* pPatient)
{
    for (const StripCaption& c : s_StripCaptions) {
        CString strCaption = g_stDefCtrlPos.stPatInfo[c.nLayoutIndex].strCaption;
        if (strCaption.IsEmpty())
            strCaption = c.pszDefault;
        SetCtrlData(c.uID, strCaption, 1, -1);
    }
    if (!pPatient)
        return;
    SetCtrlData(3022, pPatient->nPressureUnit ? L"kPa" : L"mmHg", 1, -1);

    const _PATIENT_INFO& p = *pPatient;
    const struct {
        UINT uID;
        const CString* pValue;
    } values[] = {
        {3001, &p.strPatientID}, {3003, &p.strName},     {3005, &p.strSubID},       {3007, &p.strKanaName},
        {3009, &p.strSex},       {3011, &p.strAge},      {3012, &p.strAgeUnit},     {3013, &p.strSubAge},
        {3014, &p.strSubAgeUnit}, {3015, &p.strHeight},  {3016, &p.strHeightUnit},  {3017, &p.strWeight},
        {3018, &p.strWeightUnit}, {3019, &p.strBpHigh},  {3021, &p.strBpLow},       {3025, &p.strConfirmation},
        {3029, &p.strConfirmDoctor},
    };
    for (const auto& v : values)
        SetCtrlData(v.uID, *v.pValue, 1, -1);
    // The star pattern stands for a record without a time: show nothing.
    SetCtrlData(3024, p.strAcqTime.Find(L'*') >= 0 ? CString() : p.strAcqTime.Left(16), 1, -1);
    SetCtrlData(3027, p.strConfirmDate.Left(16), 1, -1);
}

void CTavrionDoc::SetCtrlData(UINT uID, const CString& strText, int bInit, int nSel)
{
    const INT_PTR index = FindCheckEntry(uID);
    if (index < 0)
        return;
    CCheckValue& entry = m_CheckScratch[0];
    entry = m_CheckArray.GetAt(index);
    entry.SetCurSel(nSel);
    if (bInit) {
        entry.InitValue(strText);
    } else {
        entry.ModifyValue(strText);
        if (entry.GetModifyFlag())
            m_bEditChanged = 1;
    }
    m_CheckArray.SetAt(index, entry);
}

void CTavrionDoc::GetCtrlData(UINT uID, CString& strText)
{
    const INT_PTR index = FindCheckEntry(uID);
    if (index < 0) {
        strText.Empty();
        return;
    }
    m_CheckScratch[1] = m_CheckArray.GetAt(index);
    strText = m_CheckScratch[1].GetValue();
}

void CTavrionDoc::GetCtrlData(UINT uID, int& nSel)
{
    const INT_PTR index = FindCheckEntry(uID);
    if (index < 0) {
        nSel = -1;
        return;
    }
    m_CheckScratch[2] = m_CheckArray.GetAt(index);
    nSel = m_CheckScratch[2].GetCurSel();
}

int CTavrionDoc::GetCtrlModifyFlag(UINT uID)
{
    const INT_PTR index = FindCheckEntry(uID);
    if (index < 0)
        return 0;
    m_CheckScratch[3] = m_CheckArray.GetAt(index);
    return m_CheckScratch[3].GetModifyFlag();
}

long CTavrionDoc::CheckCtrlStatus(UINT uID, int nReserved)
{
    if (nReserved != 0)
        return 0;
    const INT_PTR index = FindCheckEntry(uID);
    if (index < 0)
        return 0;
    m_CheckScratch[4] = m_CheckArray.GetAt(index);
    long status = 0;
    if (m_CheckScratch[4].IsShow())
        status |= 1;
    if (m_CheckScratch[4].IsEnable())
        status |= 2;
    return status;
}

int CTavrionDoc::IsEidtChange(_PATIENT_INFO* pPatient)
{
    if (!pPatient)
        return 0;
    const _PATIENT_INFO& p = *pPatient;
    const struct {
        UINT uID;
        const CString* pValue;
    } compared[] = {
        {3001, &p.strPatientID}, {3003, &p.strName},    {3005, &p.strSubID},      {3007, &p.strKanaName},
        {3009, &p.strSex},       {3011, &p.strAge},     {3012, &p.strAgeUnit},    {3013, &p.strSubAge},
        {3015, &p.strHeight},    {3016, &p.strHeightUnit}, {3017, &p.strWeight},  {3018, &p.strWeightUnit},
        {3019, &p.strBpHigh},    {3021, &p.strBpLow},
    };
    CString strValue;
    for (const auto& c : compared) {
        GetCtrlData(c.uID, strValue);
        if (strValue.Compare(*c.pValue) != 0)
            return 1;
    }
    return 0;
}

int CTavrionDoc::CheckDataRange(CString strText, float fMax, float fMin, int bCheck, int bPoint)
{
    if (!bCheck)
        return 1;
    strText.Trim();
    if (strText.IsEmpty())
        return 1;
    for (int i = 0; i < strText.GetLength(); ++i) {
        const wchar_t ch = strText[i];
        const bool digit = ch >= L'0' && ch <= L'9';
        if (!digit && !(bPoint && ch == L'.'))
            return 0;
    }
    const double value = wcstod(static_cast<LPCWSTR>(strText), nullptr);
    return (value >= fMin && value <= fMax) ? 1 : 0;
}

int CTavrionDoc::IsPatientFieldID(UINT uID)
{
    return (uID >= PATIENT_FIELD_FIRST && uID <= PATIENT_FIELD_LAST) ? 1 : 0;
}

int CTavrionDoc::PushCtrlEdit(UINT uID, const CString& strText, int nSel)
{
    if (uID == 0)
        return 0;
    SetCtrlData(uID, strText, 0, nSel);
    const int bModified = GetCtrlModifyFlag(uID);
    if (bModified && IsPatientFieldID(uID))
        SetEditPatientFlag(1);
    return bModified;
}

int CTavrionDoc::GetDocType() const
{
    return -1;
}
