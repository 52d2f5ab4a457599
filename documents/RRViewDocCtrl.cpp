// The RR comment form's fields in the control-data store: filled from the
// current item, copied back before a save, compared with the item to tell
// what the user edited, and shown or hidden by the record's confirmation.
#include "core/Globals.h"
#include "documents/FormStore.h"
#include "documents/RRViewDoc.h"

namespace {

// The medication pick lists of the editable parameters.
const int kMedicationList1 = 0;
const int kMedicationList2 = 1;

const UINT kAdditionTitleID = 3999;
const UINT kAdditionContentID = 4008;

}  // namespace

void CRRViewDoc::InitCheckArray()
{
    InitCheckArrayRhyRR();
}

// The chosen entry when the record names one by its place in the list; the
// list's last entry stands for the free text and is never taken by index,
// on the form and in the change check alike.
CString CRRViewDoc::GetMedicationText(int list, const CString& strText, int nSel)
{
    return GetListedText(GetEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(list)), nSel, strText);
}

void CRRViewDoc::SetCtrlContent(_PATIENT_INFO*)
{
    _RRDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    m_nCtrlContentItem = item->nID;
    CTavrionDoc::SetCtrlContent(&item->stPatient);
    LoadFormCaptions(*this, g_stDefCtrlPos.stRR, kRhyRRCaptions);
    const _INTERPRE_INFO_GENERAL& info = item->stGeneral;
    LoadRhyRRInfo(*this, info, GetMedicationText(kMedicationList1, info.strMedication1, info.nMedication1Sel),
                  GetMedicationText(kMedicationList2, info.strMedication2, info.nMedication2Sel), FormBirthday::Shown);
    SetCtrlData(3657, item->strInfoEditor, 1, -1);
    SetCtrlData(3658, item->strInfoEditDate.Left(16), 1, -1);
    LoadFormAdditions(*this, item->stAddition, kAdditionTitleID, kAdditionContentID);
    LoadRhyRRComment(*this, info.strComment, item->strCommentEditor, item->strCommentDate, item->stPatient);
}

void CRRViewDoc::UpDateCurItemContent()
{
    _RRDATAITEM* item = GetCurrentDataItem();
    if (!item || item->nID != m_nCtrlContentItem) return;
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
    return IsRhyRRInfoChanged(*this, info, GetMedicationText(kMedicationList1, info.strMedication1, info.nMedication1Sel),
                              GetMedicationText(kMedicationList2, info.strMedication2, info.nMedication2Sel),
                              FormBirthday::Shown);
}

int CRRViewDoc::IsCommentEditChange(_RRDATAITEM* pItem)
{
    return pItem && CtrlDiffers(*this, 4017, pItem->stGeneral.strComment) ? 1 : 0;
}

int CRRViewDoc::IsAdditionEditChange(_RRDATAITEM* pItem)
{
    return pItem ? IsFormAdditionChanged(*this, pItem->stAddition, kAdditionTitleID, kAdditionContentID) : 0;
}

int CRRViewDoc::IsEidtChange()
{
    _RRDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    return SetEditChangeFlags(IsInfoEditChange(item), IsAdditionEditChange(item), IsCommentEditChange(item), 0);
}

// ---- show status -----------------------------------------------------------------------

void CRRViewDoc::UpdateCtrlStatus()
{
    const _RRDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    UpdateFormCtrlStatus(item->bDoctorConfirm, {{3665, 3666}});
}
