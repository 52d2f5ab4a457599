// The exercise document's control-data store: the form's entries, loading
// them from the current item, the change tests, which entries may be edited,
// copying the edits back and writing the item into the record XML.
#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "documents/ExerViewDoc.h"
#include "documents/FormStore.h"
#include "documents/ExerXmlAccess.h"
#include "documents/RecordXmlText.h"
#include "documents/RecordPaths.h"

using namespace exer;
using namespace recordpath;

namespace {

struct StoreGroup {
    const wchar_t* pszKey;
    UINT uIDs[5];   // 0 ends the list
};

const StoreGroup kExerGroups[] = {
    {L"Medication", {4018, 4019, 4020, 4021}},
    {L"Sympton", {4022, 4023}},
    {L"Disease", {4024, 4025}},
    {L"DepartmentName", {4026, 4027}},
    {L"WardName", {4028, 4029}},
    {L"ReqDoctor", {4030, 4031}},
    {L"Technician", {4032, 4033}},
    {L"Protocol", {4037, 4038}},
    {L"LoadTime", {4039, 4040}},
    {L"EndCondition", {4041, 4042}},
    {L"MaxHR", {4043, 4044, 4045, 4046}},
    {L"AimHR", {4047, 4048, 4049, 4050}},
    {L"STMeasure", {4051, 4052, 4053, 4054, 4055}},
    {L"Ivrel", {4034, 4035, 4036}},
    {L"Comment", {4056, 4057, 4017}},
    {L"Confirmation", {4059, 4060, 4061, 4062, 4063}},
};

// Entries of the exercise screen table.
const CaptionBinding kCaptions[] = {
    {4018, 0, L"投薬情報1"},  {4020, 2, L"投薬情報2"}, {4022, 4, L"自覚症状"},   {4024, 6, L"既往症"},
    {4026, 8, L"所属科"},     {4028, 10, L"病棟"},     {4030, 12, L"依頼医師"},  {4032, 14, L"検査技師"},
    {4037, 16, L"ﾌﾟﾛﾄｺﾙ"},    {4039, 18, L"負荷時間"}, {4041, 20, L"終了条件"},  {4043, 22, L"最大心拍数"},
    {4047, 26, L"目標心拍数"}, {4051, 30, L"ST 計測点"}, {4034, 35, L"IVRELｺｰﾄﾞ"}, {4056, 38, L"コメント"},
    {4060, 42, L"判読日時"},  {4062, 44, L"判読医師"},
};

// Texts the form shows whatever the layout says: the units and labels of
// the values beside them, and the phrase button.
const struct {
    UINT uID;
    const wchar_t* pszText;
} kFixedTexts[] = {
    {4045, L"bpm"}, {4049, L"bpm"}, {4052, L"ST Level"}, {4054, L"ST Slope"}, {4057, L"定型文入力"},
};

const UINT kMedication1 = 4019;
const UINT kMedication2 = 4021;
const UINT kStopCondition = 4042;
const UINT kComment = 4017;
const UINT kIvrelText = 4035;
const UINT kIvrelValue = 4036;

const _EDITABLE_PARAM_INDEX kMedication1List = static_cast<_EDITABLE_PARAM_INDEX>(0);
const _EDITABLE_PARAM_INDEX kMedication2List = static_cast<_EDITABLE_PARAM_INDEX>(1);
const _EDITABLE_PARAM_INDEX kStopConditionList = static_cast<_EDITABLE_PARAM_INDEX>(11);


// An exercise pick list shows the entry at the stored position whenever the
// position lies in the list: the stop condition is stored as its position
// alone, so its last entry too must show as chosen.
CString ExerListText(const CStringArray* list, int position, const CString& stored)
{
    if (stored.IsEmpty() && list && position >= 0 && position < list->GetSize()) return list->GetAt(position);
    return stored;
}

}  // namespace

void CExerViewDoc::InitCheckArray()
{
    CTavrionDoc::InitCheckArray();
    for (const StoreGroup& group : kExerGroups) {
        for (UINT id : group.uIDs) {
            if (id != 0) AddCheckEntry(id, group.pszKey);
        }
    }
}

void CExerViewDoc::SetCtrlContent(_PATIENT_INFO* /*pPatient*/)
{
    _EXERDATAITEM* item = GetCurrentDataItem();
    // The patient strip shows the record's own patient, whatever a caller passes.
    CTavrionDoc::SetCtrlContent(item ? &item->stPatient : nullptr);
    LoadFormCaptions(*this, GetDefCtrlPos()->stExer, kCaptions);
    for (const auto& fixed : kFixedTexts) SetCtrlData(fixed.uID, fixed.pszText, 1, -1);
    if (!item) return;
    m_nCtrlContentItem = item->nID;
    const _INTERPRE_INFO_EXER& info = item->stInterpre;
    // The pick lists load with the item's codes selected, so that saving an
    // untouched form keeps them.
    SetCtrlData(kMedication1, ExerListText(GetEditableParam(kMedication1List), info.nMedication1Code, info.strMedication1),
                1, info.nMedication1Code);
    SetCtrlData(kMedication2, ExerListText(GetEditableParam(kMedication2List), info.nMedication2Code, info.strMedication2),
                1, info.nMedication2Code);
    SetCtrlData(kStopCondition, ExerListText(GetEditableParam(kStopConditionList), info.nStopCondition, CString()), 1,
                info.nStopCondition);
    const struct {
        UINT uID;
        const CString* pValue;
    } values[] = {
        {4023, &info.strSympton},      {4025, &info.strDisease},       {4027, &info.strDepartment},
        {4029, &info.strWard},         {4031, &info.strReqDoctor},     {4033, &info.strTechnician},
        {4038, &info.strLoad},         {4040, &info.strLoadTime},      {4044, &info.strMaxHr},
        {4046, &info.strMaxPercent},   {4048, &info.strTargetHr},      {4050, &info.strTargetPercent},
        {4053, &info.strStLevelPoint}, {4055, &info.strStSlopePoint},  {kIvrelText, &info.strIvrelText},
        {kIvrelValue, &info.strIvrelValue}, {kComment, &info.strComment},
        {4063, &item->stPatient.strConfirmDoctor}, {4059, &item->stPatient.strConfirmation},
    };
    for (const auto& v : values) SetCtrlData(v.uID, *v.pValue, 1, -1);
    SetCtrlData(4061, item->stPatient.strConfirmDate.Left(16), 1, -1);
}

void CExerViewDoc::UpdateCtrlStatus()
{
    const _EXERDATAITEM* item = GetCurrentDataItem();
    UpdateFormCtrlStatus(item ? item->stPatient.bConfirmed : 0, {{4059, 4060}});
}

void CExerViewDoc::UpDateCurItemContent()
{
    _EXERDATAITEM* item = GetCurrentDataItem();
    if (!item || item->nID != m_nCtrlContentItem) return;
    CTavrionDoc::UpDateCurItemContent(item->stPatient);
    _INTERPRE_INFO_EXER& info = item->stInterpre;
    GetCtrlData(kMedication1, info.strMedication1);
    GetCtrlData(kMedication1, info.nMedication1Code);
    GetCtrlData(kMedication2, info.strMedication2);
    GetCtrlData(kMedication2, info.nMedication2Code);
    const struct {
        UINT uID;
        CString* pValue;
    } copied[] = {
        {4023, &info.strSympton}, {4025, &info.strDisease},    {4027, &info.strDepartment}, {4029, &info.strWard},
        {4031, &info.strReqDoctor}, {4033, &info.strTechnician}, {4038, &info.strLoad},   {4044, &info.strMaxHr},
        {4048, &info.strTargetHr}, {kIvrelText, &info.strIvrelText}, {kIvrelValue, &info.strIvrelValue},
    };
    for (const auto& c : copied) GetCtrlData(c.uID, *c.pValue);
    GetCtrlData(kStopCondition, info.nStopCondition);
    CopySummaryTexts(item);
    CString comment;
    GetCtrlData(kComment, comment);
    info.strComment = WrapComment(comment);
}

int CExerViewDoc::IsDoctorConfirm()
{
    const _EXERDATAITEM* item = GetCurrentDataItem();
    return item ? item->stPatient.bConfirmed : 0;
}

// ---- change tests ---------------------------------------------------------------------

int CExerViewDoc::IsInfoEditChange(_EXERDATAITEM* pItem)
{
    if (!pItem) return 0;
    if (CTavrionDoc::IsEidtChange(&pItem->stPatient)) return 1;
    const _INTERPRE_INFO_EXER& info = pItem->stInterpre;
    const struct {
        UINT uID;
        CString value;
    } compared[] = {
        {kMedication1, ExerListText(GetEditableParam(kMedication1List), info.nMedication1Code, info.strMedication1)},
        {kMedication2, ExerListText(GetEditableParam(kMedication2List), info.nMedication2Code, info.strMedication2)},
        {4023, info.strSympton},
        {4025, info.strDisease},
        {4027, info.strDepartment},
        {4029, info.strWard},
        {4031, info.strReqDoctor},
        {4033, info.strTechnician},
        {4038, info.strLoad},
        {kStopCondition, ExerListText(GetEditableParam(kStopConditionList), info.nStopCondition, CString())},
        {4044, info.strMaxHr},
        {4048, info.strTargetHr},
    };
    CString text;
    for (const auto& c : compared) {
        GetCtrlData(c.uID, text);
        if (text.Compare(c.value) != 0) return 1;
    }
    return 0;
}

int CExerViewDoc::IsCommentEditChange(_EXERDATAITEM* pItem)
{
    if (!pItem) return 0;
    CString text;
    GetCtrlData(kComment, text);
    // The field shows the stored lines without their trailing breaks: only
    // a text saved other than the stored lines read is an edit.
    return WrapComment(text).Compare(WrapComment(pItem->stInterpre.strComment)) != 0 ? 1 : 0;
}

int CExerViewDoc::IsAnalysisEditChange(_EXERDATAITEM* pItem)
{
    if (!pItem) return 0;
    CString text;
    GetCtrlData(kIvrelText, text);
    if (text.Compare(pItem->stInterpre.strIvrelText) != 0) return 1;
    GetCtrlData(kIvrelValue, text);
    return text.Compare(pItem->stInterpre.strIvrelValue) != 0 ? 1 : 0;
}

int CExerViewDoc::IsEidtChange()
{
    _EXERDATAITEM* item = GetCurrentDataItem();
    return SetEditChangeFlags(IsInfoEditChange(item), 0, IsCommentEditChange(item), IsAnalysisEditChange(item));
}

// ---- saving ----------------------------------------------------------------------------

void CExerViewDoc::WriteIvrel(_EXERDATAITEM* pItem, CECGXMLParser& xml)
{
    // The element keeps the judgement's code, the form its text: the code is
    // found again in the master, and an unknown text leaves the code alone.
    // An empty text over a code the master knows is a judgement taken away
    // (reading gives such a code its text): its code goes too, or it would
    // come back the next time the record is opened. A code the master does
    // not know read as no text, and stays.
    const CString path = GetDefXMLPath(LAYOUT_KIND_EXER, EXER_ENTRY_IVREL_CODE, 0);
    const CString code = LookupIvrelCode(pItem->stInterpre.strIvrelText);
    if (!code.IsEmpty()) {
        WriteXmlValue(xml, path, code);
    } else if (pItem->stInterpre.strIvrelText.IsEmpty()) {
        CString stored;
        if (ReadXmlValue(xml, path, stored) && !LookupIvrelText(stored).IsEmpty()) WriteXmlValue(xml, path, CString());
    }
    WriteXmlValue(xml, GetDefXMLPath(LAYOUT_KIND_EXER, EXER_ENTRY_IVREL_VALUE, 0), pItem->stInterpre.strIvrelValue);
}

int CExerViewDoc::SaveDataToXML(int nItemID)
{
    _EXERDATAITEM* item = m_ExerDataManager.GetItem(nItemID);
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    if (!item->stInterpre.bCopied) UpDateCurItemContent();
    item->stInterpre.bCopied = 0;
    item->stInterpre.bSaved = 1;
    GetCtrlPosFromXSL(LOAD_POS_EXER);

    const _INTERPRE_INFO_EXER& info = item->stInterpre;
    CECGXMLParser xml(item->strXMLPath, 0, CString());
    auto entry = [&](int index, int alt, const CString& text) {
        WriteXmlValue(xml, GetDefXMLPath(LAYOUT_KIND_EXER, index, alt), text);
    };
    const bool confirmationAsStored = IsConfirmationAsStored(item->stPatient, &xml);
    WritePatInfoToXML(item->stPatient, &xml);

    // The item holds only a checked birthday (or none).
    WriteBirthdayAttributes(*this, xml, info.stBirthday, true);

    // Values the reader stood in for (-1 for a list index or stop condition
    // missing or empty, a heart rate not measured, "***", shown as 0) stay
    // as stored until the person gives another.
    auto number = [&](int index, int value) {
        if (ReadXmlIndex(xml, GetDefXMLPath(LAYOUT_KIND_EXER, index, 0)) != value) entry(index, 0, IntText(value));
    };
    // A medication is written where the reader took it; one the record does
    // not hold, left empty, does not gain an empty element there.
    auto medication = [&](int index, const CString& text) {
        CString stored;
        ReadXmlValue(xml, GetDefXMLPath(LAYOUT_KIND_EXER, index, 1), stored);
        if (stored != text) entry(index, 1, text);
    };
    medication(EXER_ENTRY_MEDICATION1, info.strMedication1);
    number(EXER_ENTRY_MEDICATION1, info.nMedication1Code);
    medication(EXER_ENTRY_MEDICATION2, info.strMedication2);
    number(EXER_ENTRY_MEDICATION2, info.nMedication2Code);
    entry(EXER_ENTRY_SYMPTON, 0, info.strSympton);
    entry(EXER_ENTRY_DISEASE, 0, info.strDisease);
    entry(EXER_ENTRY_DEPARTMENT, 0, info.strDepartment);
    entry(EXER_ENTRY_WARD, 0, info.strWard);
    // The exercise patient page edits the room number and the request section:
    // they are written back like the other documents do, or the edits are lost
    // (the request section only where the record has one or one was typed).
    WriteXmlValue(xml, kRoomNumber, info.strRoomNumber);
    if (info.bReqSection || !info.strReqSection.IsEmpty()) WriteXmlValue(xml, kRequestSection, info.strReqSection);
    entry(EXER_ENTRY_REQ_DOCTOR, 0, info.strReqDoctor);
    entry(EXER_ENTRY_TECHNICIAN, 0, info.strTechnician);
    entry(EXER_ENTRY_LOAD, 0, info.strLoad);
    number(EXER_ENTRY_STOP_CONDITION, info.nStopCondition);
    auto heartRate = [&](int index, const CString& rate) {
        CString stored;
        const bool read = ReadXmlValue(xml, GetDefXMLPath(LAYOUT_KIND_EXER, index, 0), stored);
        if ((read ? SummaryHeartRateText(stored) : CString()) != rate) entry(index, 0, rate);
    };
    heartRate(EXER_ENTRY_MAX_HR, info.strMaxHr);
    heartRate(EXER_ENTRY_TARGET_HR, info.strTargetHr);

    WriteRecordDate(xml, kPatientEditTime, item->strPatientEditTime);
    if (!confirmationAsStored) {
        xml.SetDataToXMLDOM(item->stPatient.strConfirmDoctor, kConfirmEditor, 4, CString());
        WriteRecordDate(xml, kConfirmDate, item->stPatient.strConfirmDate);
    }
    xml.SetDataToXMLDOM(info.strPatientEditor, kPatientEditorName, 4, CString());
    WriteRecordDate(xml, kPatientEditDate, info.strPatientEditDate);
    xml.SetDataToXMLDOM(info.strAnalysisEditor, kAnalysisEditor, 4, CString());
    WriteAnalysisDates(xml, kAnalysisDate, kAnalysisEditDate, info.strAnalysisEditDate,
                       AnalysisDateRead::FirstThenSecond);

    WriteIvrel(item, xml);

    xml.SetDataToXMLDOM(info.strCommentEditor, kCommentEditor, 4, CString());
    WriteRecordDate(xml, kCommentDate, info.strCommentEditDate);
    // A comment that still reads as stored keeps the record's own line
    // breaks: the reader pads it to three lines, which are no edit. A record
    // without a comment reads as an empty one, and gets none written until
    // one is typed.
    const CString commentPath = GetDefXMLPath(LAYOUT_KIND_EXER, EXER_ENTRY_COMMENT, 0);
    CString storedComment;
    if (!ReadXmlValue(xml, commentPath, storedComment)) storedComment.Empty();
    if (WrapComment(storedComment) != WrapComment(info.strComment)) entry(EXER_ENTRY_COMMENT, 0, info.strComment);
    KeepShownConfirmation(item->stPatient, &xml);
    // A failed write leaves the record XML as it was: that is no save.
    xml.SaveToXMLFile();
    return xml.m_bLastSaveFailed ? 255 : 0;
}
