// The record-XML side of the extra-lead document: reading a record's form
// values, lead names and acquisition settings into its item, the comment
// form's control-data store, the change tests, and writing the item back.
#include "core/ECGXMLParser.h"
#include "core/PositionCtrl.h"
#include "documents/ExtraViewDoc.h"

#include <cstdlib>

namespace {

// The comment form's layout table ("Interpre_extra") for GetDefXMLPath.
const int LAYOUT_EXTRA = 5;

const wchar_t kLeadNameElement[] = L"/Rawdata/Tavrion/Wave/Wave_add_section/Lead_name/Lead_name_element";
const wchar_t kLeadCount[] = L"/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info/Lead_count";
const wchar_t kLeadCodeFormat[] = L"/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info/Wave_data[@number='%d']/Lead_code";
const wchar_t kFreezeLeadName[] = L"/Rawdata/Tavrion/Wave/Extend_section/Freeze_info/Lead_info/Lead_name";
const wchar_t kBirthday[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Birthday";
const wchar_t kPatientEditTime[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Edit_time";
const wchar_t kConfirmEditor[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Editor_name";
const wchar_t kConfirmDate[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Edit_date";
const wchar_t kAnalysisEditor[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Editor_name";
const wchar_t kAnalysisEditorDate[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Edit_date";
const wchar_t kAnalysisEditDate[] = L"/Rawdata/Tavrion/Analysis/Analysis_edit/Edit_date";
const wchar_t kHeartRate[] = L"/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate";
const wchar_t kMasterStepInfo[] = L"/Rawdata/Tavrion/Record/Mstep_section/Master_step_info";

// Entries of the layout table that carry the form's values.
enum ExtraEntry {
    ENTRY_MEDICATION1 = 1,
    ENTRY_MEDICATION2 = 3,
    ENTRY_SYMPTOM = 5,
    ENTRY_DISEASE = 7,
    ENTRY_DEPARTMENT = 9,
    ENTRY_WARD = 11,
    ENTRY_ROOM = 13,
    ENTRY_REQ_SECTION = 15,
    ENTRY_REQ_DOCTOR = 17,
    ENTRY_TECHNICIAN = 19,
    ENTRY_INFO_EDITOR = 21,
    ENTRY_INFO_DATE = 22,
    ENTRY_COMMENT = 39,
    ENTRY_COMMENT_EDITOR = 41,
    ENTRY_COMMENT_DATE = 42,
};

// The caption controls with their layout entry and built-in caption.
struct Caption {
    UINT uID;
    int nEntry;
    const wchar_t* pszDefault;
};

const UINT kAdditionTitles[3] = {3999, 4000, 4001};
const UINT kAdditionContents[3] = {4008, 4009, 4010};

CString Indexed(const wchar_t* path, int n)
{
    CString out;
    out.Format(L"%s[%d]", path, n);
    return out;
}

CString ReadText(CECGXMLParser& xml, const CString& path, int type = 4, const CString& attrib = CString())
{
    CString text;
    if (path.IsEmpty() || !xml.GetDataFromXMLDOM(text, path, type, attrib)) return CString();
    return text;
}

// A date element as the form shows it; empty when missing (or, with
// bValidOnly, when it is no calendar date).
CString ReadDate(CECGXMLParser& xml, const CString& path, bool bValidOnly)
{
    _XML_ATTRIB_DATE date;
    if (path.IsEmpty() || !xml.GetDateAttrib(date, path, bValidOnly ? 1 : 0)) return CString();
    CString out;
    out.Format(L"%04d/%02d/%02d %02d:%02d:%02d", _wtoi(date.strYear), _wtoi(date.strMonth), _wtoi(date.strDay),
               _wtoi(date.strHour), _wtoi(date.strMinute), _wtoi(date.strSecond));
    return out;
}

// A text that does not parse is written as an empty date. Dates are read
// back only with their style, so an element the save creates gets it too.
void WriteDate(CECGXMLParser& xml, const CString& path, const CString& text)
{
    if (path.IsEmpty()) return;
    _XML_ATTRIB_DATE date;
    COleDateTime parsed;
    if (!text.IsEmpty() && parsed.ParseDateTime(text) && parsed.GetStatus() == COleDateTime::valid)
        date.SetDate(parsed);
    xml.SetDateAttrib(date, path);
    CString style;
    if (!xml.GetDataFromXMLDOM(style, path, 2, L"style") || style != L"Date")
        xml.SetDataToXMLDOM(L"Date", path, 2, L"style");
}

CString Number(int value)
{
    CString text;
    text.Format(L"%d", value);
    return text;
}

// A birthday attribute as a number in the given format; empty when missing.
CString BirthdayPart(CECGXMLParser& xml, const wchar_t* attrib, const wchar_t* format)
{
    const CString text = ReadText(xml, kBirthday, 2, attrib);
    if (text.IsEmpty()) return CString();
    CString out;
    out.Format(format, _wtoi(text));
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
    if (item->pAnnoHead) GetAnnoInfoFromXML(item->pAnnoHead, &xml);

    _LEAD_NAME_INFO& names = item->stLeadName;
    for (int n = 1; n <= LEAD_NAME_EDITABLE; ++n) {
        const CString flag = n <= 7 ? ReadText(xml, Indexed(kLeadNameElement, n), 2, L"flag") : CString();
        names.nFlag[n - 1] = flag.IsEmpty() ? -1 : _wtoi(flag);
    }
    names.bChanged = (names.nFlag[0] == 0 || names.nFlag[0] == 1) ? 1 : 0;
    const CString count = ReadText(xml, kLeadCount);
    if (!count.IsEmpty()) {
        // A count from the file indexes the fifteen codes: it never exceeds them.
        const int value = _wtoi(count);
        names.nCount = value < 0 ? 0 : (value > LEAD_NAME_CODES ? LEAD_NAME_CODES : value);
        names.nLeadCount = names.nCount;
    }
    if (item->IsFreeze()) {
        for (int n = 1; n <= LEAD_NAME_FREEZE; ++n)
            names.nFreezeCode[n - 1] = _wtoi(ReadText(xml, Indexed(kFreezeLeadName, n), 2, L"code"));
    } else {
        for (int n = 1; n <= LEAD_NAME_CODES; ++n) {
            CString path;
            path.Format(kLeadCodeFormat, n);
            names.nCode[n - 1] = _wtoi(ReadText(xml, path));
        }
    }
    GetLeadNameFromXML(code, names, &xml);

    _BIRTHDAY& birthday = item->stInterpre.stBirthday;
    birthday.strYear = BirthdayPart(xml, L"year", L"%04d");
    birthday.strMonth = BirthdayPart(xml, L"month", L"%02d");
    birthday.strDay = BirthdayPart(xml, L"day", L"%02d");
    birthday = CheckBirthday(birthday);

    ReadFormFields(item, xml);
    GetAdditionalInforFromXMLFile(&xml, item->stAddition, item->pECGData);

    item->strLeadNameEditor = ReadText(xml, kAnalysisEditor);
    item->strLeadNameEditDate = ReadDate(xml, kAnalysisEditorDate, true);
    if (item->strLeadNameEditDate.IsEmpty()) item->strLeadNameEditDate = ReadDate(xml, kAnalysisEditDate, true);

    item->strCommentEditor = ReadText(xml, GetDefXMLPath(LAYOUT_EXTRA, ENTRY_COMMENT_EDITOR, 0));
    item->strCommentEditDate = ReadDate(xml, GetDefXMLPath(LAYOUT_EXTRA, ENTRY_COMMENT_DATE, 0), false);
    CString comment = ReadText(xml, GetDefXMLPath(LAYOUT_EXTRA, ENTRY_COMMENT, 0));
    comment.Replace(L"\r\n", L"\n");
    comment.Replace(L"\n", L"\r\n");
    item->stInterpre.strComment = comment;

    item->strMasterStepInfo.Empty();
    if (IsMasterStepInforSystemCode(code)) item->strMasterStepInfo = ReadText(xml, kMasterStepInfo);
    item->stInterpre.strHeartRate = ReadText(xml, kHeartRate);
    item->nRecFilter = GetAcquisitionFilter(&xml, 0);
    item->fRecSense = GetAcquisitionSense(&xml, 0);
    return 0;
}

void CExtraViewDoc::ReadFormFields(_EXTRADATAITEM* item, CECGXMLParser& xml)
{
    _INTERPRE_INFO_GENERAL& info = item->stInterpre;
    auto text = [&](int entry, int alt) { return ReadText(xml, GetDefXMLPath(LAYOUT_EXTRA, entry, alt)); };
    auto code = [&](int entry) {
        const CString value = text(entry, 0);
        return value.IsEmpty() ? -1 : _wtoi(value);
    };
    info.strMedication1 = text(ENTRY_MEDICATION1, 1);
    info.nMedication1Sel = code(ENTRY_MEDICATION1);
    info.strMedication2 = text(ENTRY_MEDICATION2, 1);
    info.nMedication2Sel = code(ENTRY_MEDICATION2);
    info.strSympton = text(ENTRY_SYMPTOM, 0);
    info.strDisease = text(ENTRY_DISEASE, 0);
    info.strDepartment = text(ENTRY_DEPARTMENT, 0);
    info.strWard = text(ENTRY_WARD, 0);
    info.strRoomNumber = text(ENTRY_ROOM, 0);
    const CString section = GetDefXMLPath(LAYOUT_EXTRA, ENTRY_REQ_SECTION, 0);
    info.strReqSection = ReadText(xml, section);
    item->nReqSectionFound = (!section.IsEmpty() && xml.FindNode(section)) ? 1 : 0;
    info.strReqDoctor = text(ENTRY_REQ_DOCTOR, 0);
    info.strTechnician = text(ENTRY_TECHNICIAN, 0);

    item->stPatient.strReserved = ReadDate(xml, kPatientEditTime, false);
    item->strInfoEditor = text(ENTRY_INFO_EDITOR, 0);
    item->strInfoEditDate = ReadDate(xml, GetDefXMLPath(LAYOUT_EXTRA, ENTRY_INFO_DATE, 0), false);
}

// ---- the control-data store ---------------------------------------------------------------

CString CExtraViewDoc::MedicationText(int list, const CString& stored, int code)
{
    // The list's last entry is a choice like any other: the chosen entry is
    // shown for every code inside the list.
    return GetListedText(GetEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(list)), code, stored);
}

void CExtraViewDoc::SetCtrlContent(_PATIENT_INFO* /*pPatient*/)
{
    _EXTRADATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    CTavrionDoc::SetCtrlContent(&item->stPatient);
    FillFormStore(item);
}

void CExtraViewDoc::FillFormStore(_EXTRADATAITEM* item)
{
    static const Caption kCaptions[] = {
        {3636, 0, L"投薬情報1"},  {3638, 2, L"投薬情報2"}, {3640, 4, L"自覚症状"},   {3642, 6, L"既往症"},
        {3644, 8, L"所属科"},     {3646, 10, L"病棟"},     {3648, 12, L"部屋番号"},  {3650, 14, L"依頼科"},
        {3652, 16, L"依頼医師"},  {3654, 18, L"検査技師"}, {3656, 20, L"被検者情報編集"},
        {4014, 50, L"誘導名称編集"}, {3998, 23, L"付帯情報"}, {4011, 36, L"......"}, {3659, 37, L"コメント"},
        {3660, 38, L"定型文入力"}, {3662, 40, L"コメント編集"}, {3666, 44, L"判読日時"}, {3668, 46, L"判読医師"},
        {4012, 48, L"心拍数(bpm)"},
    };
    auto caption = [](const Caption& c) {
        const CString& text = g_stDefCtrlPos.stExtra[c.nEntry].strCaption;
        return text.IsEmpty() ? CString(c.pszDefault) : text;
    };
    auto put = [this](UINT id, const CString& text) { SetCtrlData(id, text, 1, -1); };
    for (const Caption& c : kCaptions) put(c.uID, caption(c));

    const _INTERPRE_INFO_GENERAL& info = item->stInterpre;
    put(3637, MedicationText(0, info.strMedication1, info.nMedication1Sel));
    put(3639, MedicationText(1, info.strMedication2, info.nMedication2Sel));
    put(3641, info.strSympton);
    put(3643, info.strDisease);
    put(3645, info.strDepartment);
    put(3647, info.strWard);
    put(3649, info.strRoomNumber);
    put(3651, info.strReqSection);
    put(3653, info.strReqDoctor);
    put(3655, info.strTechnician);
    put(3657, item->strInfoEditor);
    put(3658, item->strInfoEditDate.Left(16));
    put(4015, item->strLeadNameEditor);
    put(4016, item->strLeadNameEditDate.Left(16));
    for (int row = 0; row < 3; ++row) {
        put(kAdditionTitles[row], item->stAddition.strTitle[row]);
        put(kAdditionContents[row], item->stAddition.strContent[row]);
    }
    put(4017, info.strComment);
    put(3663, item->strCommentEditor);
    put(3664, item->strCommentEditDate.Left(16));
    put(3665, item->stPatient.strConfirmation);
    put(3667, item->stPatient.strConfirmDate.Left(16));
    put(3669, item->stPatient.strConfirmDoctor);
    put(4013, info.strHeartRate);
}

void CExtraViewDoc::UpdateCtrlStatus()
{
    _EXTRADATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    const bool bConfirmed = item->stPatient.bConfirmed != 0;
    CString date, doctor;
    GetCtrlData(3667, date);
    GetCtrlData(3669, doctor);
    const int bNeedOutput = (!date.IsEmpty() || !doctor.IsEmpty()) ? 1 : 0;
    for (INT_PTR i = 0; i < m_CheckArray.GetSize(); ++i) {
        CCheckValue entry = m_CheckArray.GetAt(i);
        const UINT id = entry.GetID();
        long status = GetCtrlStatusForType(id);
        if ((id == 3013 || id == 3014) && !m_bSubAge) status &= ~1L;
        if ((id == 3025 || id == 3665) && bConfirmed) status &= ~1L;
        if ((id >= 3026 && id <= 3029) || (id >= 3666 && id <= 3669)) {
            if (!bConfirmed)
                status &= ~1L;
            else
                entry.SetNeedOutput(bNeedOutput);
        }
        entry.SetStatusForType(status);
        m_CheckArray.SetAt(i, entry);
    }
}

// ---- change tests ----------------------------------------------------------------------------

int CExtraViewDoc::IsInfoEditChange(_EXTRADATAITEM* item)
{
    if (!item) return 0;
    if (CTavrionDoc::IsEidtChange(&item->stPatient)) return 1;
    const _INTERPRE_INFO_GENERAL& info = item->stInterpre;
    const struct {
        UINT uID;
        CString value;
    } compared[] = {
        {3637, MedicationText(0, info.strMedication1, info.nMedication1Sel)},
        {3639, MedicationText(1, info.strMedication2, info.nMedication2Sel)},
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

int CExtraViewDoc::IsCommentEditChange(_EXTRADATAITEM* item)
{
    if (!item) return 0;
    CString text;
    GetCtrlData(4017, text);
    return text.Compare(item->stInterpre.strComment) != 0 ? 1 : 0;
}

int CExtraViewDoc::IsAdditionEditChange(_EXTRADATAITEM* item)
{
    if (!item) return 0;
    CString text;
    for (int row = 0; row < 3; ++row) {
        GetCtrlData(kAdditionTitles[row], text);
        if (text.Compare(item->stAddition.strTitle[row]) != 0) return 1;
        GetCtrlData(kAdditionContents[row], text);
        if (text.Compare(item->stAddition.strContent[row]) != 0) return 1;
    }
    return 0;
}

int CExtraViewDoc::IsEidtChange()
{
    _EXTRADATAITEM* item = GetCurrentDataItem();
    m_bInformationChange = IsInfoEditChange(item);
    m_bAdditionChange = IsAdditionEditChange(item);
    m_bCommentChange = IsCommentEditChange(item);
    m_bAnalysisChange = 0;
    return (m_bInformationChange || m_bAdditionChange || m_bCommentChange) ? 1 : 0;
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
    if (!item) return;
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
    SavePatInfoToXML(item->stPatient, &xml);
    SaveWaveInfoToXML(static_cast<int>(item->uSystemCode), item->stLeadName, &xml);

    const _BIRTHDAY& birthday = item->stInterpre.stBirthday;
    const _BIRTHDAY checked = CheckBirthday(birthday);
    const bool bValid = !checked.strYear.IsEmpty() && !checked.strMonth.IsEmpty() && !checked.strDay.IsEmpty();
    xml.SetDataToXMLDOM(bValid ? birthday.strYear : CString(), kBirthday, 2, L"year");
    xml.SetDataToXMLDOM(bValid ? birthday.strMonth : CString(), kBirthday, 2, L"month");
    xml.SetDataToXMLDOM(bValid ? birthday.strDay : CString(), kBirthday, 2, L"day");

    SaveFormFields(item, xml);
    SaveAdditionToXML(&xml, item->stAddition);
    xml.SetDataToXMLDOM(item->strLeadNameEditor, kAnalysisEditor, 4, CString());
    WriteDate(xml, kAnalysisEditorDate, item->strLeadNameEditDate);
    WriteDate(xml, kAnalysisEditDate, item->strLeadNameEditDate);
    xml.SetDataToXMLDOM(item->strCommentEditor, GetDefXMLPath(LAYOUT_EXTRA, ENTRY_COMMENT_EDITOR, 0), 4, CString());
    WriteDate(xml, GetDefXMLPath(LAYOUT_EXTRA, ENTRY_COMMENT_DATE, 0), item->strCommentEditDate);
    xml.SetDataToXMLDOM(item->stInterpre.strComment, GetDefXMLPath(LAYOUT_EXTRA, ENTRY_COMMENT, 0), 4, CString());
    xml.SaveToXMLFile();
    return 0;
}

void CExtraViewDoc::SaveFormFields(_EXTRADATAITEM* item, CECGXMLParser& xml)
{
    const _INTERPRE_INFO_GENERAL& info = item->stInterpre;
    auto put = [&](int entry, int alt, const CString& value) {
        const CString path = GetDefXMLPath(LAYOUT_EXTRA, entry, alt);
        if (!path.IsEmpty()) xml.SetDataToXMLDOM(value, path, 4, CString());
    };
    put(ENTRY_MEDICATION1, 1, info.strMedication1);
    put(ENTRY_MEDICATION1, 0, Number(info.nMedication1Sel));
    put(ENTRY_MEDICATION2, 1, info.strMedication2);
    put(ENTRY_MEDICATION2, 0, Number(info.nMedication2Sel));
    put(ENTRY_SYMPTOM, 0, info.strSympton);
    put(ENTRY_DISEASE, 0, info.strDisease);
    put(ENTRY_DEPARTMENT, 0, info.strDepartment);
    put(ENTRY_WARD, 0, info.strWard);
    put(ENTRY_ROOM, 0, info.strRoomNumber);
    put(ENTRY_REQ_SECTION, 0, info.strReqSection);
    put(ENTRY_REQ_DOCTOR, 0, info.strReqDoctor);
    put(ENTRY_TECHNICIAN, 0, info.strTechnician);

    WriteDate(xml, kPatientEditTime, item->stPatient.strReserved);
    xml.SetDataToXMLDOM(item->stPatient.strConfirmDoctor, kConfirmEditor, 4, CString());
    WriteDate(xml, kConfirmDate, item->stPatient.strConfirmDate);
    put(ENTRY_INFO_EDITOR, 0, item->strInfoEditor);
    WriteDate(xml, GetDefXMLPath(LAYOUT_EXTRA, ENTRY_INFO_DATE, 0), item->strInfoEditDate);
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
        xml->SetDataToXMLDOM(Number(info.nFreezeCode[n - 1]), path, 2, L"code");
        xml->SetDataToXMLDOM(info.strFreezeName[n - 1], path, 4, CString());
    }
}

int CExtraViewDoc::SaveAnnotationToXML(int id)
{
    _EXTRADATAITEM* item = m_ExtraDataManager.GetItem(id);
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    CECGXMLParser xml(item->strXMLPath, 0, CString());
    SaveAnnoInfoToXML(item->pAnnoHead, &xml);
    xml.SaveToXMLFile();
    return 0;
}
