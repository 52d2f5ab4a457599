// The record XML of an RR record: the patient and interpretation fields the
// RR form edits, the editors and their dates, and the device's RR analysis,
// which is only ever read (the device made it; the system shows and prints it).
#include "core/ECGXMLParser.h"
#include "documents/RRViewDoc.h"
#include "documents/RestXmlText.h"

namespace {

// Entries of the RR screen layout table that carry record paths.
enum RREntry {
    RR_YEAR = 1,
    RR_MONTH = 3,
    RR_DAY = 5,
    RR_MEDICATION1 = 7,
    RR_MEDICATION2 = 9,
    RR_SYMPTOM = 11,
    RR_DISEASE = 13,
    RR_DEPARTMENT = 15,
    RR_WARD = 17,
    RR_ROOM_NO = 19,
    RR_REQ_SECTION = 21,
    RR_REQ_DOCTOR = 23,
    RR_TECHNICIAN = 25,
    RR_INFO_EDITOR = 27,
    RR_INFO_EDIT_DATE = 28,
    RR_COMMENT = 45,
    RR_COMMENT_EDITOR = 47,
    RR_COMMENT_DATE = 48,
};
// The medication entries bind the list index first, then the text.
const int kCodeAlt = 0;
const int kTextAlt = 1;

const wchar_t kThreeLeadCode[] = L"/Rawdata/Tavrion/Wave/Three_Lead_section/Lead_code[%d]";
const wchar_t kPatientEditTime[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Edit_time";
const wchar_t kPatientAge[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Age";
const wchar_t kAnalysisEditor[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Editor_name";
const wchar_t kAnalysisDate[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Edit_date";
const wchar_t kAnalysisEditDate[] = L"/Rawdata/Tavrion/Analysis/Analysis_edit/Edit_date";
const wchar_t kConfirmEditor[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Editor_name";
const wchar_t kConfirmDate[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Edit_date";

const wchar_t kRR50Info[] = L"/Rawdata/Tavrion/Report/Rr50_info";
const wchar_t kRRTotal[] = L"/Rawdata/Tavrion/Report/Rr_total/";
const wchar_t kRRList[] = L"/Rawdata/Tavrion/Report/Rr_list";
const wchar_t kRRListTime[] = L"/Rawdata/Tavrion/Report/Rr_list/List_time";

// The RR50 columns as the file orders them, with the item column each fills.
const struct {
    const wchar_t* pszName;
    int nColumn;
} kRR50Columns[RR50_COLUMN_COUNT] = {
    {L"Rr50_max", RR50_MAX}, {L"Rr50_min", RR50_MIN},     {L"Rr50_avg", RR50_AVG},      {L"Rr50_hr", RR50_HR},
    {L"Rr50_sd", RR50_SD},   {L"Rr50_rr_hr", RR50_RR_HR}, {L"Rr50_radio", RR50_RADIO}, {L"Rr50_cv", RR50_CV},
};

const wchar_t* const kRRTotals[RR_TOTAL_COUNT] = {
    L"Measure_time", L"Total_beat", L"Heart_rate", L"Mean_duration", L"Max_duration",
    L"Min_duration", L"Max_min_duration", L"Sd", L"Cv",
};

// A date element as item text; a missing element, or one a save left empty,
// is no date at all rather than the year 0.
CString ReadDate(CECGXMLParser& xml, const CString& path)
{
    _XML_ATTRIB_DATE date;
    if (path.IsEmpty() || !xml.GetDateAttrib(date, path, 0)) return CString();
    if (date.strYear.IsEmpty() && date.strMonth.IsEmpty() && date.strDay.IsEmpty()) return CString();
    return FormatRestDate(date);
}

// A valid calendar date and time as item text; empty otherwise.
CString ReadValidDate(CECGXMLParser& xml, const CString& path)
{
    _XML_ATTRIB_DATE date;
    if (!xml.GetDateAttrib(date, path, 0) || !IsCalendarDate(date)) return CString();
    return FormatRestDate(date);
}

void WriteText(CECGXMLParser& xml, const CString& path, const CString& value)
{
    if (path.IsEmpty()) return;
    xml.SetDataToXMLDOM(value, path, 4, CString());
}

// An item date text as a date element; empty parts when it is no date.
void WriteDate(CECGXMLParser& xml, const CString& path, const CString& text)
{
    WriteRestDate(xml, path, ParseRestDate(text));
}

// A birthday part: the trimmed text's number, padded; empty stays empty.
CString BirthdayPart(CECGXMLParser& xml, const CString& path, LPCWSTR format)
{
    CString text = RestXmlText(xml, path);
    text.Trim();
    if (text.IsEmpty()) return CString();
    CString part;
    part.Format(format, _wtoi(text));
    return part;
}

int ClampedCount(int count, int most)
{
    if (count < 0) return 0;
    return count > most ? most : count;
}

}  // namespace

// ---- loading ----------------------------------------------------------------------

int CRRViewDoc::GetDataInfoFromXMLFile(_RRDATAITEM* pItem)
{
    if (!pItem || !pItem->pECGData || pItem->strXMLPath.IsEmpty()) return 255;
    CECGXMLParser xml(pItem->strXMLPath, 0, CString());

    GetPatInfoFromXML(static_cast<int>(pItem->uSystemCode), pItem->stPatient, &xml);
    // A second reading must not add the annotations once more.
    DeleteAnnotationChain(pItem->pAnnoHead);
    pItem->pAnnoHead = new _ANNOTATION_INFO;
    GetAnnoInfoFromXML(pItem->pAnnoHead, &xml);
    for (int i = 0; i < LEAD_NAME_RR; ++i) {
        CString path;
        path.Format(kThreeLeadCode, i + 1);
        pItem->stLeadName.nRRCode[i] = _wtoi(RestXmlText(xml, path));
    }
    GetLeadNameFromXML(static_cast<int>(pItem->uSystemCode), pItem->stLeadName, &xml);

    ReadInterpretation(pItem, xml);
    pItem->stPatient.strReserved = ReadDate(xml, kPatientEditTime);
    GetAdditionalInforFromXMLFile(&xml, pItem->stAddition, pItem->pECGData);
    ReadEditors(pItem, xml);
    ReadRRReport(pItem, xml);
    ReadRRList(pItem, xml);

    pItem->nAcqFilter = GetAcquisitionFilter(&xml, 0);
    const float sense = GetAcquisitionSense(&xml, 0);
    // The views divide by it.
    pItem->fAcqSense = sense > 0.0f ? sense : 10.0f;
    return 0;
}

void CRRViewDoc::ReadInterpretation(_RRDATAITEM* pItem, CECGXMLParser& xml)
{
    _INTERPRE_INFO_GENERAL& info = pItem->stGeneral;
    _BIRTHDAY birthday;
    birthday.strYear = BirthdayPart(xml, RRPath(RR_YEAR), L"%04d");
    birthday.strMonth = BirthdayPart(xml, RRPath(RR_MONTH), L"%02d");
    birthday.strDay = BirthdayPart(xml, RRPath(RR_DAY), L"%02d");
    info.stBirthday = CheckBirthday(birthday);

    info.strMedication1 = RestXmlText(xml, RRPath(RR_MEDICATION1, kTextAlt));
    CString code = RestXmlText(xml, RRPath(RR_MEDICATION1, kCodeAlt));
    info.nMedication1Sel = code.IsEmpty() ? -1 : _wtoi(code);
    info.strMedication2 = RestXmlText(xml, RRPath(RR_MEDICATION2, kTextAlt));
    code = RestXmlText(xml, RRPath(RR_MEDICATION2, kCodeAlt));
    info.nMedication2Sel = code.IsEmpty() ? -1 : _wtoi(code);

    info.strSympton = RestXmlText(xml, RRPath(RR_SYMPTOM));
    info.strDisease = RestXmlText(xml, RRPath(RR_DISEASE));
    info.strDepartment = RestXmlText(xml, RRPath(RR_DEPARTMENT));
    info.strWard = RestXmlText(xml, RRPath(RR_WARD));
    info.strRoomNumber = RestXmlText(xml, RRPath(RR_ROOM_NO));
    const CString section = RRPath(RR_REQ_SECTION);
    CString text;
    pItem->bReqSection = !section.IsEmpty() && xml.GetDataFromXMLDOM(text, section, 4, CString()) ? 1 : 0;
    info.strReqSection = pItem->bReqSection ? text : CString();
    info.strReqDoctor = RestXmlText(xml, RRPath(RR_REQ_DOCTOR));
    info.strTechnician = RestXmlText(xml, RRPath(RR_TECHNICIAN));
}

void CRRViewDoc::ReadEditors(_RRDATAITEM* pItem, CECGXMLParser& xml)
{
    pItem->strInfoEditor = RestXmlText(xml, RRPath(RR_INFO_EDITOR));
    pItem->strInfoEditDate = ReadDate(xml, RRPath(RR_INFO_EDIT_DATE));

    pItem->strAnalysisEditor = RestXmlText(xml, kAnalysisEditor);
    pItem->strAnalysisEditDate = ReadValidDate(xml, kAnalysisDate);
    if (pItem->strAnalysisEditDate.IsEmpty()) pItem->strAnalysisEditDate = ReadValidDate(xml, kAnalysisEditDate);

    pItem->strCommentEditor = RestXmlText(xml, RRPath(RR_COMMENT_EDITOR));
    pItem->strCommentDate = ReadDate(xml, RRPath(RR_COMMENT_DATE));
    pItem->stGeneral.strComment = ToCrLf(RestXmlText(xml, RRPath(RR_COMMENT)));
}

void CRRViewDoc::ReadRRReport(_RRDATAITEM* pItem, CECGXMLParser& xml)
{
    const CString count = RestXmlText(xml, kRR50Info, L"count");
    pItem->nRR50Count = count.IsEmpty() ? 0 : ClampedCount(_wtoi(count), RR50_ROW_MAX);
    for (auto& column : pItem->strRR50) {
        for (CString& cell : column) cell.Empty();
    }
    for (int row = 0; row < pItem->nRR50Count; ++row) {
        for (const auto& column : kRR50Columns) {
            CString path;
            path.Format(L"%s/%s/%s_element[%d]", kRR50Info, column.pszName, column.pszName, row + 1);
            pItem->strRR50[column.nColumn][row] = RestXmlText(xml, path, L"data");
        }
    }
    for (int i = 0; i < RR_TOTAL_COUNT; ++i) pItem->strRRTotal[i] = RestXmlText(xml, CString(kRRTotal) + kRRTotals[i]);
}

void CRRViewDoc::ReadRRList(_RRDATAITEM* pItem, CECGXMLParser& xml)
{
    pItem->FreeRRList();
    const CString stored = RestXmlText(xml, kRRList, L"count");
    // The stored count is only a claim: never more entries than the file has.
    int count = stored.IsEmpty() ? 0 : _wtoi(stored);
    const int present = xml.GetObjectCount(kRRListTime);
    if (count > present) count = present;
    if (count <= 0) return;

    pItem->pRRList = static_cast<_RR_LIST_ENTRY*>(MemoryAlloc(static_cast<UINT>(count) * sizeof(_RR_LIST_ENTRY)));
    if (!pItem->pRRList) return;
    pItem->nRRListCount = count;
    for (int i = 0; i < count; ++i) {
        CString path;
        path.Format(L"%s[%d]", kRRListTime, i + 1);
        _RR_LIST_ENTRY& entry = pItem->pRRList[i];
        entry.nFlag = RestXmlText(xml, path, L"flag").CompareNoCase(L"true") == 0 ? 1 : 0;
        const CString value = RestXmlText(xml, path, L"data");
        entry.nValue = value.IsEmpty() ? -1 : _wtoi(value);
    }
}

// ---- saving -------------------------------------------------------------------------

int CRRViewDoc::SaveDataToXML(int id)
{
    _RRDATAITEM* item = FindItem(id);
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    UpDateCurItemContent();

    CECGXMLParser xml(item->strXMLPath, 0, CString());
    if (!xml.m_pXMLParser) return 255;
    SavePatInfoToXML(item->stPatient, &xml);
    // The readers take an age only from a styled element; the patient
    // writer makes the element without one when the record had none.
    CString style;
    if (xml.FindNode(kPatientAge) && !xml.GetDataFromXMLDOM(style, kPatientAge, 2, L"style"))
        xml.SetDataToXMLDOM(L"Age", kPatientAge, 2, L"style");
    SaveInterpretation(item, xml);
    SaveAdditionToXML(&xml, item->stAddition);
    SaveEditors(item, xml);
    // A record XML that could not be read is left as it is: that is no save.
    return xml.m_pXMLParser->SaveToXMLFile(xml.m_strPath) ? 0 : 255;
}

void CRRViewDoc::SaveInterpretation(_RRDATAITEM* pItem, CECGXMLParser& xml)
{
    const _INTERPRE_INFO_GENERAL& info = pItem->stGeneral;
    const _BIRTHDAY& birthday = info.stBirthday;
    _XML_ATTRIB_DATE day;
    day.strYear = birthday.strYear;
    day.strMonth = birthday.strMonth;
    day.strDay = birthday.strDay;
    const bool valid = IsCalendarDate(day);
    WriteText(xml, RRPath(RR_YEAR), valid ? birthday.strYear : CString());
    WriteText(xml, RRPath(RR_MONTH), valid ? birthday.strMonth : CString());
    WriteText(xml, RRPath(RR_DAY), valid ? birthday.strDay : CString());

    CString code;
    WriteText(xml, RRPath(RR_MEDICATION1, kTextAlt), info.strMedication1);
    code.Format(L"%d", info.nMedication1Sel);
    WriteText(xml, RRPath(RR_MEDICATION1, kCodeAlt), code);
    WriteText(xml, RRPath(RR_MEDICATION2, kTextAlt), info.strMedication2);
    code.Format(L"%d", info.nMedication2Sel);
    WriteText(xml, RRPath(RR_MEDICATION2, kCodeAlt), code);

    WriteText(xml, RRPath(RR_SYMPTOM), info.strSympton);
    WriteText(xml, RRPath(RR_DISEASE), info.strDisease);
    WriteText(xml, RRPath(RR_DEPARTMENT), info.strDepartment);
    WriteText(xml, RRPath(RR_WARD), info.strWard);
    WriteText(xml, RRPath(RR_ROOM_NO), info.strRoomNumber);
    WriteText(xml, RRPath(RR_REQ_SECTION), info.strReqSection);
    WriteText(xml, RRPath(RR_REQ_DOCTOR), info.strReqDoctor);
    WriteText(xml, RRPath(RR_TECHNICIAN), info.strTechnician);
}

void CRRViewDoc::SaveEditors(_RRDATAITEM* pItem, CECGXMLParser& xml)
{
    const _PATIENT_INFO& patient = pItem->stPatient;
    WriteDate(xml, kPatientEditTime, patient.strReserved);
    WriteText(xml, kConfirmEditor, patient.strConfirmDoctor);
    WriteDate(xml, kConfirmDate, patient.strConfirmDate);

    WriteText(xml, RRPath(RR_INFO_EDITOR), pItem->strInfoEditor);
    WriteDate(xml, RRPath(RR_INFO_EDIT_DATE), pItem->strInfoEditDate);

    WriteText(xml, kAnalysisEditor, pItem->strAnalysisEditor);
    WriteDate(xml, kAnalysisDate, pItem->strAnalysisEditDate);
    WriteDate(xml, kAnalysisEditDate, pItem->strAnalysisEditDate);

    WriteText(xml, RRPath(RR_COMMENT_EDITOR), pItem->strCommentEditor);
    WriteDate(xml, RRPath(RR_COMMENT_DATE), pItem->strCommentDate);
    // Back to the device's bare LFs, so that a comment at its length limit
    // still fits it when it is read again.
    CString comment = pItem->stGeneral.strComment;
    comment.Replace(L"\r\n", L"\n");
    WriteText(xml, RRPath(RR_COMMENT), comment);
}

int CRRViewDoc::SaveAnnotationToXML(int id)
{
    _RRDATAITEM* item = FindItem(id);
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    CECGXMLParser xml(item->strXMLPath, 0, CString());
    SaveAnnoInfoToXML(item->pAnnoHead, &xml);
    return 0;
}
