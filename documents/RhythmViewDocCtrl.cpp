// The rhythm interpretation form's fields in the control-data store: filled
// from the current item, shown or hidden for the rhythm form, copied back
// into the item, and compared with it to tell which blocks were edited.
#include "documents/RhythmViewDoc.h"

namespace {

// The forms' pick lists of the two medications.
const _EDITABLE_PARAM_INDEX kMedicationList1 = static_cast<_EDITABLE_PARAM_INDEX>(0);
const _EDITABLE_PARAM_INDEX kMedicationList2 = static_cast<_EDITABLE_PARAM_INDEX>(1);

// Labels of the form: control id, entry of the rhythm screen table whose
// caption replaces the built-in text.
struct RhythmLabel {
    UINT uID;
    int nEntry;
    const wchar_t* pszDefault;
};
const RhythmLabel kLabels[] = {
    {3630, 0, L"生年月日"},   {3632, 2, L"/"},          {3634, 4, L"/"},          {3636, 6, L"投薬情報1"},
    {3638, 8, L"投薬情報2"},  {3640, 10, L"自覚症状"},  {3642, 12, L"既往症"},    {3644, 14, L"所属科"},
    {3646, 16, L"病棟"},      {3648, 18, L"部屋番号"},  {3650, 20, L"依頼科"},    {3652, 22, L"依頼医師"},
    {3654, 24, L"検査技師"},  {3656, 26, L"被検者情報編集"}, {3998, 29, L"付帯情報"}, {4011, 42, L"......"},
    {3659, 43, L"コメント"},  {3660, 44, L"定型文入力"}, {3662, 46, L"コメント編集"}, {3666, 50, L"判読日時"},
    {3668, 52, L"判読医師"},
};

// The dates of the form show year to minute.
const int kShownDateLength = 16;

bool IsConfirmField(UINT uID)
{
    return (uID >= 3026 && uID <= 3029) || (uID >= 3666 && uID <= 3669);
}

}  // namespace

void CRhythmViewDoc::InitCheckArray()
{
    InitCheckArrayRhyRR();
}

CString CRhythmViewDoc::GetMedicationText(_EDITABLE_PARAM_INDEX list, const CString& strText, int nSel)
{
    // The last entry of a pick list is the free-text entry, never taken by index.
    const CStringArray* entries = GetEditableParam(list);
    if (strText.IsEmpty() && entries && nSel >= 0 && nSel <= entries->GetSize() - 2) return entries->GetAt(nSel);
    return strText;
}

void CRhythmViewDoc::SetCtrlContent(_PATIENT_INFO* /*pPatient*/)
{
    _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    CTavrionDoc::SetCtrlContent(&item->stPatient);

    const _POSITION_CTRL* table = GetDefCtrlPos()->stRhythm;
    for (const RhythmLabel& label : kLabels) {
        const CString& caption = table[label.nEntry].strCaption;
        SetCtrlData(label.uID, caption.IsEmpty() ? CString(label.pszDefault) : caption, 1, -1);
    }

    const _INTERPRE_INFO_GENERAL& info = item->stInterpre;
    const _ADDITIONAL_INFO& addition = item->stAddition;
    const _PATIENT_INFO& patient = item->stPatient;
    const struct {
        UINT uID;
        CString value;
    } values[] = {
        {3631, info.stBirthday.strYear},
        {3633, info.stBirthday.strMonth},
        {3635, info.stBirthday.strDay},
        {3637, GetMedicationText(kMedicationList1, info.strMedication1, info.nMedication1Sel)},
        {3639, GetMedicationText(kMedicationList2, info.strMedication2, info.nMedication2Sel)},
        {3641, info.strSympton},
        {3643, info.strDisease},
        {3645, info.strDepartment},
        {3647, info.strWard},
        {3649, info.strRoomNumber},
        {3651, info.strReqSection},
        {3653, info.strReqDoctor},
        {3655, info.strTechnician},
        {3657, item->strInfoEditor},
        {3658, item->strInfoEditDate.Left(kShownDateLength)},
        {3999, addition.strTitle[0]},
        {4000, addition.strTitle[1]},
        {4001, addition.strTitle[2]},
        {4008, addition.strContent[0]},
        {4009, addition.strContent[1]},
        {4010, addition.strContent[2]},
        {4017, info.strComment},
        {3663, item->strCommentEditor},
        {3664, item->strCommentDate.Left(kShownDateLength)},
        {3665, patient.strConfirmation},
        {3667, patient.strConfirmDate.Left(kShownDateLength)},
        {3669, patient.strConfirmDoctor},
    };
    for (const auto& v : values) SetCtrlData(v.uID, v.value, 1, -1);
}

void CRhythmViewDoc::UpdateCtrlStatus()
{
    const _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    CString confirmEditor, confirmDate;
    GetCtrlData(3669, confirmEditor);
    GetCtrlData(3667, confirmDate);
    const int needOutput = (confirmEditor.IsEmpty() && confirmDate.IsEmpty()) ? 0 : 1;

    for (INT_PTR i = 0; i < m_CheckArray.GetSize(); ++i) {
        CCheckValue& entry = m_CheckArray.ElementAt(i);
        const UINT id = entry.GetID();
        long status = GetCtrlStatusForType(id);
        if ((id == 3013 || id == 3014) && !GetSubAgeFlag()) status &= ~1L;
        if ((id == 3025 || id == 3665) && item->bConfirmed) status &= ~1L;
        if (IsConfirmField(id)) {
            if (!item->bConfirmed)
                status &= ~1L;
            else
                entry.SetNeedOutput(needOutput);
        }
        entry.SetStatusForType(status);
    }
}

void CRhythmViewDoc::UpDateCurItemContent()
{
    _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    CTavrionDoc::UpDateCurItemContent(item->stPatient);
    UpdateRhyRRCurItem(static_cast<int>(item->uSystemCode), item->stInterpre);
    UpdateCurItemAddition(static_cast<int>(item->uSystemCode), item->stAddition);
}

int CRhythmViewDoc::IsInfoEditChange(_RHYTHMDATAITEM* pItem)
{
    if (!pItem) return 0;
    if (CTavrionDoc::IsEidtChange(&pItem->stPatient)) return 1;
    const _INTERPRE_INFO_GENERAL& info = pItem->stInterpre;
    const struct {
        UINT uID;
        CString value;
    } compared[] = {
        {3631, info.stBirthday.strYear},
        {3633, info.stBirthday.strMonth},
        {3635, info.stBirthday.strDay},
        {3637, GetMedicationText(kMedicationList1, info.strMedication1, info.nMedication1Sel)},
        {3639, GetMedicationText(kMedicationList2, info.strMedication2, info.nMedication2Sel)},
        {3641, info.strSympton},
        {3643, info.strDisease},
        {3645, info.strDepartment},
        {3647, info.strWard},
        {3649, info.strRoomNumber},
        {3651, info.strReqSection},
        {3653, info.strReqDoctor},
        {3655, info.strTechnician},
    };
    CString text;
    for (const auto& c : compared) {
        GetCtrlData(c.uID, text);
        if (text.Compare(c.value) != 0) return 1;
    }
    return 0;
}

int CRhythmViewDoc::IsAdditionEditChange(_RHYTHMDATAITEM* pItem)
{
    if (!pItem) return 0;
    CString text;
    for (UINT i = 0; i < 3; ++i) {
        GetCtrlData(3999 + i, text);
        if (text.Compare(pItem->stAddition.strTitle[i]) != 0) return 1;
        GetCtrlData(4008 + i, text);
        if (text.Compare(pItem->stAddition.strContent[i]) != 0) return 1;
    }
    return 0;
}

int CRhythmViewDoc::IsCommentEditChange(_RHYTHMDATAITEM* pItem)
{
    if (!pItem) return 0;
    CString text;
    GetCtrlData(4017, text);
    return text.Compare(pItem->stInterpre.strComment) != 0 ? 1 : 0;
}

int CRhythmViewDoc::IsEidtChange()
{
    _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    m_bInformationChange = IsInfoEditChange(item);
    m_bAdditionChange = IsAdditionEditChange(item);
    m_bCommentChange = IsCommentEditChange(item);
    m_bAnalysisChange = 0;
    return (m_bInformationChange || m_bAdditionChange || m_bCommentChange) ? 1 : 0;
}
