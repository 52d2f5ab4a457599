// The rhythm interpretation form's fields in the control-data store: filled
// from the current item, shown or hidden for the rhythm form, copied back
// into the item, and compared with it to tell which blocks were edited.
#include "documents/FormStore.h"
#include "documents/RhythmViewDoc.h"

namespace {

// The forms' pick lists of the two medications.
const _EDITABLE_PARAM_INDEX kMedicationList1 = static_cast<_EDITABLE_PARAM_INDEX>(0);
const _EDITABLE_PARAM_INDEX kMedicationList2 = static_cast<_EDITABLE_PARAM_INDEX>(1);

// The dates of the form show year to minute.
const int kShownDateLength = 16;

}  // namespace

void CRhythmViewDoc::InitCheckArray()
{
    InitCheckArrayRhyRR();
}

CString CRhythmViewDoc::GetMedicationText(_EDITABLE_PARAM_INDEX list, const CString& strText, int nSel)
{
    return GetListedText(GetEditableParam(list), nSel, strText);
}

void CRhythmViewDoc::SetCtrlContent(_PATIENT_INFO* /*pPatient*/)
{
    _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    m_nCtrlContentItem = item->nID;
    CTavrionDoc::SetCtrlContent(&item->stPatient);
    LoadFormCaptions(*this, GetDefCtrlPos()->stRhythm, kRhyRRCaptions);
    const _INTERPRE_INFO_GENERAL& info = item->stInterpre;
    LoadRhyRRInfo(*this, info, GetMedicationText(kMedicationList1, info.strMedication1, info.nMedication1Sel),
                  GetMedicationText(kMedicationList2, info.strMedication2, info.nMedication2Sel), FormBirthday::Shown);
    SetCtrlData(3657, item->strInfoEditor, 1, -1);
    SetCtrlData(3658, item->strInfoEditDate.Left(kShownDateLength), 1, -1);
    LoadFormAdditions(*this, item->stAddition, 3999, 4008);
    LoadRhyRRComment(*this, info.strComment, item->strCommentEditor, item->strCommentDate, item->stPatient);
}

void CRhythmViewDoc::UpdateCtrlStatus()
{
    const _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    UpdateFormCtrlStatus(item->bConfirmed, {{3665, 3666}});
}

void CRhythmViewDoc::UpDateCurItemContent()
{
    _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (!item || item->nID != m_nCtrlContentItem) return;
    CTavrionDoc::UpDateCurItemContent(item->stPatient);
    UpdateRhyRRCurItem(static_cast<int>(item->uSystemCode), item->stInterpre);
    UpdateCurItemAddition(static_cast<int>(item->uSystemCode), item->stAddition);
}

int CRhythmViewDoc::IsInfoEditChange(_RHYTHMDATAITEM* pItem)
{
    if (!pItem) return 0;
    if (CTavrionDoc::IsEidtChange(&pItem->stPatient)) return 1;
    const _INTERPRE_INFO_GENERAL& info = pItem->stInterpre;
    return IsRhyRRInfoChanged(*this, info, GetMedicationText(kMedicationList1, info.strMedication1, info.nMedication1Sel),
                              GetMedicationText(kMedicationList2, info.strMedication2, info.nMedication2Sel),
                              FormBirthday::Shown);
}

int CRhythmViewDoc::IsAdditionEditChange(_RHYTHMDATAITEM* pItem)
{
    return pItem ? IsFormAdditionChanged(*this, pItem->stAddition, 3999, 4008) : 0;
}

int CRhythmViewDoc::IsCommentEditChange(_RHYTHMDATAITEM* pItem)
{
    return pItem && CtrlDiffers(*this, 4017, pItem->stInterpre.strComment) ? 1 : 0;
}

int CRhythmViewDoc::IsEidtChange()
{
    _RHYTHMDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    return SetEditChangeFlags(IsInfoEditChange(item), IsAdditionEditChange(item), IsCommentEditChange(item), 0);
}
