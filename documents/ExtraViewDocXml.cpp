// The record-XML side of the extra-lead document: reading a record's form
// values, lead names and acquisition settings into its item, the comment
// form's control-data store, the change tests, and writing the item back.
#include "core/ECGXMLParser.h"
#include "core/PositionCtrl.h"
#include "documents/ExtraViewDoc.h"
#include "documents/FormStore.h"
#include "documents/RecordXmlText.h"
#include "documents/RecordPaths.h"
#include "documents/RhyRRRecordXml.h"

#include <cstdlib>

namespace {

using namespace recordpath;

const wchar_t kLeadCount[] = L"/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info/Lead_count";
const wchar_t kLeadCodeFormat[] = L"/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info/Wave_data[@number='%d']/Lead_code";
const wchar_t kFreezeLeadName[] = L"/Rawdata/Tavrion/Wave/Extend_section/Freeze_info/Lead_info/Lead_name";
const wchar_t kPostLoadTime[] = L"/Rawdata/Tavrion/Record/Mstep_section/Load_time";

const UINT kAdditionTitle = 3999;
const UINT kAdditionContent = 4008;

RhyRREditors Editors(_EXTRADATAITEM& item)
{
    return {item.strInfoEditor,    item.strInfoEditDate,    item.strLeadNameEditor,     item.strLeadNameEditDate,
            item.strCommentEditor, item.strCommentEditDate, item.stInterpre.strComment};
}

// The codes of the freeze leads proper (119 to 124), whose names the record
// XML keeps and the lead-name editor changes.
bool IsFreezeLeadCode(int code)
{
    return code >= 119 && code <= 124;
}

CString Indexed(const wchar_t* path, int n)
{
    CString out;
    out.Format(L"%s[%d]", path, n);
    return out;
}

}  // namespace

// ---- reading ----------------------------------------------------------------------------

int CExtraViewDoc::GetDataInfoFromXMLFile(_EXTRADATAITEM* item)
{
    if (!item) return 255;
    CECGXMLParser xml(item->strXMLPath, 0, CString());
    const int code = static_cast<int>(item->uSystemCode);
    GetPatInfoFromXML(code, item->stPatient, &xml);
    GetPatInfoFromRecordFile(item->strXMLPath, item->pECGData, item->stPatient, item->strFilePath);
    if (item->pAnnoHead) GetAnnoInfoFromXML(item->pAnnoHead, &xml);

    _LEAD_NAME_INFO& names = item->stLeadName;
    for (int n = 1; n <= LEAD_NAME_EDITABLE; ++n) {
        const CString flag = n <= 7 ? RecordXmlText(xml, Indexed(kLeadNameElement, n), L"flag") : CString();
        names.nFlag[n - 1] = flag.IsEmpty() ? -1 : _wtoi(flag);
    }
    names.bChanged = (names.nFlag[0] == 0 || names.nFlag[0] == 1) ? 1 : 0;
    const CString count = RecordXmlText(xml, kLeadCount);
    if (!count.IsEmpty()) {
        // A count from the file indexes the fifteen codes: it never exceeds them.
        const int value = _wtoi(count);
        names.nCount = value < 0 ? 0 : (value > LEAD_NAME_CODES ? LEAD_NAME_CODES : value);
        names.nLeadCount = names.nCount;
    }
    if (item->IsFreeze()) {
        for (int n = 1; n <= LEAD_NAME_FREEZE; ++n)
            names.nFreezeCode[n - 1] = _wtoi(RecordXmlText(xml, Indexed(kFreezeLeadName, n), L"code"));
    } else {
        for (int n = 1; n <= LEAD_NAME_CODES; ++n) {
            CString path;
            path.Format(kLeadCodeFormat, n);
            names.nCode[n - 1] = _wtoi(RecordXmlText(xml, path));
        }
    }
    GetLeadNameFromXML(code, names, &xml);

    item->stInterpre.stBirthday = CheckBirthday(ReadBirthdayAttributes(xml));

    ReadRhyRRInterpretation(*this, xml, kExtraLayout, item->stInterpre, item->nReqSectionFound);
    GetAdditionalInforFromXMLFile(&xml, item->stAddition, item->pECGData);
    // The lead-name editor keeps the analysis editor's block.
    ReadRhyRREditors(*this, xml, kExtraLayout, item->stPatient, Editors(*item));

    item->strMasterStepInfo.Empty();
    if (IsMasterStepInforSystemCode(code)) item->strMasterStepInfo = RecordXmlText(xml, kMasterStepInfo);
    item->strPostLoadTime = RecordXmlText(xml, kPostLoadTime);
    item->stInterpre.strHeartRate = RecordXmlText(xml, kHeartRate);
    item->nRecFilter = GetAcquisitionFilter(&xml, 0);
    item->fRecSense = GetAcquisitionSense(&xml, 0);
    return 0;
}

// ---- the control-data store ---------------------------------------------------------------

CString CExtraViewDoc::MedicationText(int list, const CString& stored, int code)
{
    // The list's last entry stands for free text: it is never shown by code.
    return GetListedText(GetEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(list)), code, stored);
}

void CExtraViewDoc::SetCtrlContent(_PATIENT_INFO* /*pPatient*/)
{
    _EXTRADATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    m_nCtrlContentItem = item->nID;
    CTavrionDoc::SetCtrlContent(&item->stPatient);
    FillFormStore(item);
}

void CExtraViewDoc::FillFormStore(_EXTRADATAITEM* item)
{
    static const CaptionBinding kCaptions[] = {
        {3636, 0, L"投薬情報1"},  {3638, 2, L"投薬情報2"}, {3640, 4, L"自覚症状"},   {3642, 6, L"既往症"},
        {3644, 8, L"所属科"},     {3646, 10, L"病棟"},     {3648, 12, L"部屋番号"},  {3650, 14, L"依頼科"},
        {3652, 16, L"依頼医師"},  {3654, 18, L"検査技師"}, {3656, 20, L"被検者情報編集"},
        {4014, 50, L"誘導名称編集"}, {3998, 23, L"付帯情報"}, {4011, 36, L"......"}, {3659, 37, L"コメント"},
        {3660, 38, L"定型文入力"}, {3662, 40, L"コメント編集"}, {3666, 44, L"判読日時"}, {3668, 46, L"判読医師"},
        {4012, 48, L"心拍数(bpm)"},
    };
    LoadFormCaptions(*this, g_stDefCtrlPos.stExtra, kCaptions);
    const _INTERPRE_INFO_GENERAL& info = item->stInterpre;
    LoadRhyRRInfo(*this, info, MedicationText(0, info.strMedication1, info.nMedication1Sel),
                  MedicationText(1, info.strMedication2, info.nMedication2Sel), FormBirthday::None);
    auto put = [this](UINT id, const CString& text) { SetCtrlData(id, text, 1, -1); };
    put(3657, item->strInfoEditor);
    put(3658, item->strInfoEditDate.Left(16));
    put(4015, item->strLeadNameEditor);
    put(4016, item->strLeadNameEditDate.Left(16));
    LoadFormAdditions(*this, item->stAddition, kAdditionTitle, kAdditionContent);
    LoadRhyRRComment(*this, info.strComment, item->strCommentEditor, item->strCommentEditDate, item->stPatient);
    put(4013, info.strHeartRate);
}

void CExtraViewDoc::UpdateCtrlStatus()
{
    const _EXTRADATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    UpdateFormCtrlStatus(item->stPatient.bConfirmed, {{3665, 3666}});
}

// ---- change tests ----------------------------------------------------------------------------

int CExtraViewDoc::IsInfoEditChange(_EXTRADATAITEM* item)
{
    if (!item) return 0;
    if (CTavrionDoc::IsEidtChange(&item->stPatient)) return 1;
    const _INTERPRE_INFO_GENERAL& info = item->stInterpre;
    return IsRhyRRInfoChanged(*this, info, MedicationText(0, info.strMedication1, info.nMedication1Sel),
                              MedicationText(1, info.strMedication2, info.nMedication2Sel), FormBirthday::None);
}

int CExtraViewDoc::IsCommentEditChange(_EXTRADATAITEM* item)
{
    return item && CtrlDiffers(*this, 4017, item->stInterpre.strComment) ? 1 : 0;
}

int CExtraViewDoc::IsAdditionEditChange(_EXTRADATAITEM* item)
{
    return item ? IsFormAdditionChanged(*this, item->stAddition, kAdditionTitle, kAdditionContent) : 0;
}

int CExtraViewDoc::IsEidtChange()
{
    _EXTRADATAITEM* item = GetCurrentDataItem();
    return SetEditChangeFlags(IsInfoEditChange(item), IsAdditionEditChange(item), IsCommentEditChange(item), 0);
}

int CExtraViewDoc::IsDoctorConfirm()
{
    _EXTRADATAITEM* item = GetCurrentDataItem();
    return item ? item->stPatient.bConfirmed : 0;
}

// ---- writing ----------------------------------------------------------------------------------

void CExtraViewDoc::UpDateCurItemContent()
{
    _EXTRADATAITEM* item = GetCurrentDataItem();
    if (!item || item->nID != m_nCtrlContentItem) return;
    const int code = static_cast<int>(item->uSystemCode);
    CTavrionDoc::UpDateCurItemContent(item->stPatient);
    UpdateRhyRRCurItem(code, item->stInterpre);
    UpdateCurItemAddition(code, item->stAddition);
}

int CExtraViewDoc::SaveDataToXML(int id)
{
    _EXTRADATAITEM* item = m_ExtraDataManager.GetItem(id);
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    UpDateCurItemContent();
    CECGXMLParser xml(item->strXMLPath, 0, CString());
    WritePatInfoToXML(item->stPatient, &xml);
    SaveWaveInfoToXML(static_cast<int>(item->uSystemCode), item->stLeadName, &xml);

    const _BIRTHDAY& birthday = item->stInterpre.stBirthday;
    const _BIRTHDAY checked = CheckBirthday(birthday);
    const bool bValid = !checked.strYear.IsEmpty() && !checked.strMonth.IsEmpty() && !checked.strDay.IsEmpty();
    WriteBirthdayAttributes(*this, xml, birthday, bValid);

    SaveRhyRRInterpretation(*this, xml, kExtraLayout, item->stInterpre);
    const RhyRREditors editors = Editors(*item);
    SaveRhyRRInfoEditors(*this, xml, kExtraLayout, item->stPatient, editors);
    SaveAdditionToXML(&xml, item->stAddition);
    SaveRhyRRAnalysisAndComment(*this, xml, kExtraLayout, editors);
    KeepShownConfirmation(item->stPatient, &xml);
    // A record XML that could not be read is left as it is: that is no save.
    return xml.m_pXMLParser && xml.m_pXMLParser->SaveToXMLFile(xml.m_strPath) ? 0 : 255;
}

void CExtraViewDoc::SaveWaveInfoToXML(int nSystemCode, _LEAD_NAME_INFO& info, CECGXMLParser* xml)
{
    if (!xml) return;
    if ((nSystemCode & 0xFF) != 28) {
        CTavrionDoc::SaveWaveInfoToXML(nSystemCode, info, xml);
        return;
    }
    for (int n = 1; n <= LEAD_NAME_FREEZE; ++n) {
        const CString path = Indexed(kFreezeLeadName, n);
        const int code = info.nFreezeCode[n - 1];
        // Written only when it is not the code the file gives the reader: a
        // lead without the attribute (read as 0) keeps going without it.
        if (_wtoi(RecordXmlText(*xml, path, L"code")) != code) xml->SetDataToXMLDOM(IntText(code), path, 2, L"code");
        // Only the freeze codes keep their names in the item (edited there);
        // any other lead is written as the view names it, and a lead the
        // lookup cannot name keeps the text the record holds.
        const CString name = IsFreezeLeadCode(code) ? info.strFreezeName[n - 1]
                                                    : FromIDtoName(code, nSystemCode, xml, n - 1);
        if (IsFreezeLeadCode(code) || !name.IsEmpty()) xml->SetDataToXMLDOM(name, path, 4, CString());
    }
}

int CExtraViewDoc::SaveAnnotationToXML(int id)
{
    _EXTRADATAITEM* item = m_ExtraDataManager.GetItem(id);
    return item ? SaveAnnotationsToFile(item->strXMLPath, item->pAnnoHead) : 255;
}
