// The RR comment form's fields in the control-data store: filled from the
// current item, copied back before a save, compared with the item to tell
// what the user edited, and shown or hidden by the record's confirmation.
#include "core/Globals.h"
#include "documents/RRViewDoc.h"

namespace {

// A label of the form: its entry of the RR screen layout table and the text
// shown when the layout gives none.
struct RRLabel {
    UINT uID;
    int nEntry;
    const wchar_t* pszDefault;
};

const RRLabel kLabels[] = {
    {3630, 0, L"生年月日"},        {3632, 2, L"/"},              {3634, 4, L"/"},
    {3636, 6, L"投薬情報1"},       {3638, 8, L"投薬情報2"},      {3640, 10, L"自覚症状"},
    {3642, 12, L"既往症"},         {3644, 14, L"所属科"},        {3646, 16, L"病棟"},
    {3648, 18, L"部屋番号"},       {3650, 20, L"依頼科"},        {3652, 22, L"依頼医師"},
    {3654, 24, L"検査技師"},       {3656, 26, L"被検者情報編集"}, {3998, 29, L"付帯情報"},
    {4011, 42, L"......"},         {3659, 43, L"コメント"},      {3660, 44, L"定型文入力"},
    {3662, 46, L"コメント編集"},   {3666, 50, L"判読日時"},      {3668, 52, L"判読医師"},
};

// The medication pick lists of the editable parameters.
const int kMedicationList1 = 0;
const int kMedicationList2 = 1;

const int kAdditionRows = 3;
const UINT kAdditionTitleID = 3998;     // + row (1 to 3)
const UINT kAdditionContentID = 4007;   // + row (1 to 3)

}  // namespace

void CRRViewDoc::InitCheckArray()
{
    InitCheckArrayRhyRR();
}

// The chosen entry when the record names one by its place in the list; the
// list's last entry counts like any other, on the form and in the change
// check alike.
CString CRRViewDoc::GetMedicationText(int list, const CString& strText, int nSel)
{
    return GetListedText(GetEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(list)), nSel, strText);
}

void CRRViewDoc::SetCtrlContent(_PATIENT_INFO*)
{
    _RRDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    CTavrionDoc::SetCtrlContent(&item->stPatient);

    auto set = [this](UINT id, const CString& text) { SetCtrlData(id, text, 1, -1); };
    for (const RRLabel& label : kLabels) {
        const CString& caption = g_stDefCtrlPos.stRR[label.nEntry].strCaption;
        set(label.uID, caption.IsEmpty() ? CString(label.pszDefault) : caption);
    }
    const _INTERPRE_INFO_GENERAL& info = item->stGeneral;
    set(3631, info.stBirthday.strYear);
    set(3633, info.stBirthday.strMonth);
    set(3635, info.stBirthday.strDay);
    set(3637, GetMedicationText(kMedicationList1, info.strMedication1, info.nMedication1Sel));
    set(3639, GetMedicationText(kMedicationList2, info.strMedication2, info.nMedication2Sel));
    set(3641, info.strSympton);
    set(3643, info.strDisease);
    set(3645, info.strDepartment);
    set(3647, info.strWard);
    set(3649, info.strRoomNumber);
    set(3651, info.strReqSection);
    set(3653, info.strReqDoctor);
    set(3655, info.strTechnician);
    set(3657, item->strInfoEditor);
    set(3658, item->strInfoEditDate.Left(16));
    for (int row = 1; row <= kAdditionRows; ++row) {
        set(kAdditionTitleID + row, item->stAddition.strTitle[row - 1]);
        set(kAdditionContentID + row, item->stAddition.strContent[row - 1]);
    }
    set(4017, info.strComment);
    set(3663, item->strCommentEditor);
    set(3664, item->strCommentDate.Left(16));
    set(3665, item->stPatient.strConfirmation);
    set(3667, item->stPatient.strConfirmDate.Left(16));
    set(3669, item->stPatient.strConfirmDoctor);
}

void CRRViewDoc::UpDateCurItemContent()
{
    _RRDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    CTavrionDoc::UpDateCurItemContent(item->stPatient);
    UpdateRhyRRCurItem(static_cast<int>(item->uSystemCode), item->stGeneral);
    UpdateCurItemAddition(static_cast<int>(item->uSystemCode), item->stAddition);
}

// ---- edit checks ----------------------------------------------------------------------

int CRRViewDoc::IsInfoEditChange(_RRDATAITEM* pItem)
{
    if (!pItem) return 0;
    if (CTavrionDoc::IsEidtChange(&pItem->stPatient)) return 1;
    const _INTERPRE_INFO_GENERAL& info = pItem->stGeneral;
    const struct {
        UINT uID;
        CString strValue;
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
        if (text.Compare(c.strValue) != 0) return 1;
    }
    return 0;
}

int CRRViewDoc::IsCommentEditChange(_RRDATAITEM* pItem)
{
    if (!pItem) return 0;
    CString text;
    GetCtrlData(4017, text);
    return text.Compare(pItem->stGeneral.strComment) != 0 ? 1 : 0;
}

int CRRViewDoc::IsAdditionEditChange(_RRDATAITEM* pItem)
{
    if (!pItem) return 0;
    CString text;
    for (int row = 1; row <= kAdditionRows; ++row) {
        GetCtrlData(kAdditionTitleID + row, text);
        if (text.Compare(pItem->stAddition.strTitle[row - 1]) != 0) return 1;
        GetCtrlData(kAdditionContentID + row, text);
        if (text.Compare(pItem->stAddition.strContent[row - 1]) != 0) return 1;
    }
    return 0;
}

int CRRViewDoc::IsEidtChange()
{
    _RRDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    m_bInformationChange = IsInfoEditChange(item);
    m_bAdditionChange = IsAdditionEditChange(item);
    m_bCommentChange = IsCommentEditChange(item);
    m_bAnalysisChange = 0;
    return m_bInformationChange || m_bAdditionChange || m_bCommentChange ? 1 : 0;
}

// ---- show status -----------------------------------------------------------------------

void CRRViewDoc::UpdateCtrlStatus()
{
    _RRDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    const bool confirmed = item->bDoctorConfirm != 0;
    CString doctor, date;
    GetCtrlData(3669, doctor);
    GetCtrlData(3667, date);
    const int needOutput = doctor.IsEmpty() && date.IsEmpty() ? 0 : 1;

    for (INT_PTR i = 0; i < m_CheckArray.GetSize(); ++i) {
        CCheckValue& entry = m_CheckArray[i];
        const UINT id = entry.GetID();
        long status = GetCtrlStatusForType(id);
        if ((id == 3013 || id == 3014) && !GetSubAgeFlag()) status &= ~1L;
        if ((id == 3025 || id == 3665) && confirmed) status &= ~1L;
        const bool confirmField = (id >= 3026 && id <= 3029) || (id >= 3666 && id <= 3669);
        if (confirmField) {
            if (confirmed)
                entry.SetNeedOutput(needOutput);
            else
                status &= ~1L;
        }
        entry.SetStatusForType(status);
    }
}
