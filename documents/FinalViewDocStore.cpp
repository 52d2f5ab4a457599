// The master-step document's control-data store: the entries of the
// interpretation form, loading them from the current item, their shown and
// output states, copying them back and telling what was edited.
#include "core/PositionCtrl.h"
#include "documents/FinalViewDoc.h"
#include "documents/FormStore.h"
#include "documents/FinalViewDocPaths.h"

namespace {

struct FinalStoreGroup {
    const wchar_t* pszKey;
    UINT uIDs[14];
    int nCount;
};

const FinalStoreGroup kFinalStore[] = {
    {L"Medication", {3600, 3601, 3602, 3603}, 4},
    {L"Sympton", {3604, 3605}, 2},
    {L"Disease", {3606, 3607}, 2},
    {L"DepartmentName", {3608, 3609}, 2},
    {L"WardName", {3610, 3611}, 2},
    {L"ReqDoctor", {3612, 3613}, 2},
    {L"Technician", {3614, 3615}, 2},
    {L"Addition", {3984, 3985, 3988, 3991, 3994, 3986, 3989, 3992, 3995, 3987, 3990, 3993, 3996, 3997}, 14},
    {L"Ivrel", {3616, 3617, 3618}, 3},
    {L"Comment", {3619, 3620, 4017}, 3},
    {L"Confirmation", {3622, 3623, 3624, 3625, 3626}, 5},
};

// Entries of the master-step screen layout.
const CaptionBinding kFinalCaptions[] = {
    {3600, MSFR_MEDICATION1_STC, L"投薬情報1"},
    {3602, MSFR_MEDICATION2_STC, L"投薬情報2"},
    {3604, MSFR_SYMPTOM_STC, L"自覚症状"},
    {3606, MSFR_DISEASE_STC, L"既往症"},
    {3608, MSFR_DEPARTMENT_STC, L"所属科"},
    {3610, MSFR_WARD_STC, L"病棟"},
    {3612, MSFR_REQ_DOCTOR_STC, L"依頼医師"},
    {3614, MSFR_TECHNICIAN_STC, L"検査技師"},
    {3984, MSFR_ADDITION_STC, L"付帯情報"},
    {3997, MSFR_ADDITION_OTHER, L"......"},
    {3616, MSFR_IVREL_STC, L"IVRELｺｰﾄﾞ"},
    {3619, MSFR_COMMENT_STC, L"コメント"},
    {3620, MSFR_COMMENT_BTN, L"定型文入力"},
    {3623, MSFR_CONFIRM_DATE_TITLE_STC, L"判読日時"},
    {3625, MSFR_CONFIRM_DOCTOR_TITLE_STC, L"判読医師"},
};

const UINT kAdditionTitle = 3985;     // + row, rows 0 to 2
const UINT kAdditionContent = 3994;   // + row

// The plain text entries and the general-interpretation field each edits.
struct FinalTextField {
    UINT uID;
    CString _INTERPRE_INFO_GENERAL::*pField;
};

const FinalTextField kFinalTextFields[] = {
    {3605, &_INTERPRE_INFO_GENERAL::strSympton},    {3607, &_INTERPRE_INFO_GENERAL::strDisease},
    {3609, &_INTERPRE_INFO_GENERAL::strDepartment}, {3611, &_INTERPRE_INFO_GENERAL::strWard},
    {3613, &_INTERPRE_INFO_GENERAL::strReqDoctor},  {3615, &_INTERPRE_INFO_GENERAL::strTechnician},
};

}  // namespace

void CFinalViewDoc::InitCheckArray()
{
    CTavrionDoc::InitCheckArray();
    for (const FinalStoreGroup& group : kFinalStore) {
        for (int i = 0; i < group.nCount; ++i) AddCheckEntry(group.uIDs[i], group.pszKey);
    }
}

CString CFinalViewDoc::MedicationText(int nList, const CString& strText, int nSel)
{
    return GetListedText(GetEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(nList)), nSel, strText);
}

void CFinalViewDoc::SetCtrlContent(_PATIENT_INFO*)
{
    _FINALDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    m_nCtrlContentItem = item->nID;
    CTavrionDoc::SetCtrlContent(&item->stPatient);

    if (!g_stDefCtrlPos.bFinalLoaded) GetCtrlPosFromXSL(LOAD_POS_FINAL);
    LoadFormCaptions(*this, g_stDefCtrlPos.stFinal, kFinalCaptions);

    const _INTERPRE_INFO_GENERAL& info = item->stInterpre;
    // With their list positions: copying back takes them from the store.
    SetCtrlData(3601, MedicationText(0, info.strMedication1, info.nMedication1Sel), 1, info.nMedication1Sel);
    SetCtrlData(3603, MedicationText(1, info.strMedication2, info.nMedication2Sel), 1, info.nMedication2Sel);
    for (const FinalTextField& f : kFinalTextFields) SetCtrlData(f.uID, info.*f.pField, 1, -1);
    LoadFormAdditions(*this, item->stAddition, kAdditionTitle, kAdditionContent);
    SetCtrlData(3617, info.strFree[FINAL_FREE_IVREL_CODE], 1, -1);
    SetCtrlData(3618, info.strFree[FINAL_FREE_IVREL_TEXT], 1, -1);
    SetCtrlData(4017, info.strComment, 1, -1);
    SetCtrlData(3622, item->stPatient.strConfirmation, 1, -1);
    SetCtrlData(3624, item->stPatient.strConfirmDate.Left(16), 1, -1);
    SetCtrlData(3626, item->stPatient.strConfirmDoctor, 1, -1);
}

void CFinalViewDoc::UpdateCtrlStatus()
{
    if (!GetCurrentDataItem()) return;
    UpdateFormCtrlStatus(IsDoctorConfirm(), {{3622, 3623}});
}

void CFinalViewDoc::UpDateCurItemContent()
{
    _FINALDATAITEM* item = GetCurrentDataItem();
    if (!item || item->nID != m_nCtrlContentItem) return;
    CTavrionDoc::UpDateCurItemContent(item->stPatient);
    _INTERPRE_INFO_GENERAL& info = item->stInterpre;
    GetCtrlData(3601, info.strMedication1);
    GetCtrlData(3601, info.nMedication1Sel);
    GetCtrlData(3603, info.strMedication2);
    GetCtrlData(3603, info.nMedication2Sel);
    for (const FinalTextField& f : kFinalTextFields) GetCtrlData(f.uID, info.*f.pField);
    UpdateCurItemAddition(static_cast<int>(item->uSystemCode), item->stAddition);
    GetCtrlData(3617, info.strFree[FINAL_FREE_IVREL_CODE]);
    GetCtrlData(3618, info.strFree[FINAL_FREE_IVREL_TEXT]);
    GetCtrlData(4017, info.strComment);
}

// ---- change tests --------------------------------------------------------------------------

int CFinalViewDoc::IsInfoEditChange(_FINALDATAITEM* pItem)
{
    if (!pItem) return 0;
    if (CTavrionDoc::IsEidtChange(&pItem->stPatient)) return 1;
    const _INTERPRE_INFO_GENERAL& info = pItem->stInterpre;
    if (CtrlDiffers(*this, 3601, MedicationText(0, info.strMedication1, info.nMedication1Sel))) return 1;
    if (CtrlDiffers(*this, 3603, MedicationText(1, info.strMedication2, info.nMedication2Sel))) return 1;
    for (const FinalTextField& f : kFinalTextFields) {
        if (CtrlDiffers(*this, f.uID, info.*f.pField)) return 1;
    }
    return 0;
}

int CFinalViewDoc::IsCommentEditChange(_FINALDATAITEM* pItem)
{
    if (!pItem) return 0;
    return CtrlDiffers(*this, 4017, pItem->stInterpre.strComment) ? 1 : 0;
}

int CFinalViewDoc::IsAdditionEditChange(_FINALDATAITEM* pItem)
{
    return pItem ? IsFormAdditionChanged(*this, pItem->stAddition, kAdditionTitle, kAdditionContent) : 0;
}

int CFinalViewDoc::IsAnalysisEditChange(_FINALDATAITEM* pItem)
{
    if (!pItem) return 0;
    if (CtrlDiffers(*this, 3617, pItem->stInterpre.strFree[FINAL_FREE_IVREL_CODE])) return 1;
    return CtrlDiffers(*this, 3618, pItem->stInterpre.strFree[FINAL_FREE_IVREL_TEXT]) ? 1 : 0;
}

int CFinalViewDoc::IsEidtChange()
{
    _FINALDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    return SetEditChangeFlags(IsInfoEditChange(item), IsAdditionEditChange(item),
                              IsCommentEditChange(item), IsAnalysisEditChange(item));
}
