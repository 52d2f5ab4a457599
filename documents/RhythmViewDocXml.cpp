// The rhythm record XML: what the device file does not hold (patient data,
// interpretation fields, editors and dates, additions, comment, annotations,
// lead names and codes, acquisition filter and sensitivity), read into the
// item at opening and written back on saving. Most fields live where the
// rhythm screen table of the layout stylesheet binds them.
#include "core/ECGXMLParser.h"
#include "documents/RhythmViewDoc.h"

#include <cstdlib>

namespace {

// Entries of the rhythm screen table ("Interpre_rhythm") bound to item fields.
enum RhythmEntry {
    ENTRY_YEAR = 1,
    ENTRY_MONTH = 3,
    ENTRY_DAY = 5,
    ENTRY_MEDICATION1 = 7,   // alternative 0 the list index, 1 the text
    ENTRY_MEDICATION2 = 9,
    ENTRY_SYMPTOM = 11,
    ENTRY_DISEASE = 13,
    ENTRY_DEPARTMENT = 15,
    ENTRY_WARD = 17,
    ENTRY_ROOM = 19,
    ENTRY_REQ_SECTION = 21,
    ENTRY_REQ_DOCTOR = 23,
    ENTRY_TECHNICIAN = 25,
    ENTRY_INFO_EDITOR = 27,
    ENTRY_INFO_DATE = 28,
    ENTRY_COMMENT = 45,
    ENTRY_COMMENT_EDITOR = 47,
    ENTRY_COMMENT_DATE = 48,
};

const wchar_t kLeadNameElement[] = L"/Rawdata/Tavrion/Wave/Wave_add_section/Lead_name/Lead_name_element";
const wchar_t kPatientEditTime[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Edit_time";
const wchar_t kPatientAge[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Age";
const wchar_t kAnalysisEditor[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Editor_name";
const wchar_t kAnalysisDate[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Edit_date";
const wchar_t kAnalysisEditDate[] = L"/Rawdata/Tavrion/Analysis/Analysis_edit/Edit_date";
const wchar_t kConfirmEditor[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Editor_name";
const wchar_t kConfirmDate[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Edit_date";
const wchar_t kMasterStepInfo[] = L"/Rawdata/Tavrion/Record/Mstep_section/Master_step_info";
const wchar_t kWaveInfoStandard[] = L"/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info";
const wchar_t kWaveInfoExtended[] = L"/Rawdata/Tavrion/Wave/Rhythm_ex_section/Wave_info";

// A value, or an empty text when the path is empty or the value is missing.
bool ReadValue(CECGXMLParser& xml, const CString& path, CString& value, int type = 4,
               const CString& attrib = CString())
{
    value.Empty();
    if (path.IsEmpty()) return false;
    if (xml.GetDataFromXMLDOM(value, path, type, attrib)) return true;
    value.Empty();
    return false;
}

CString ReadText(CECGXMLParser& xml, const CString& path)
{
    CString value;
    ReadValue(xml, path, value);
    return value;
}

CString DateText(const _XML_ATTRIB_DATE& date)
{
    CString text;
    text.Format(L"%04d/%02d/%02d %02d:%02d:%02d", _wtoi(date.strYear), _wtoi(date.strMonth), _wtoi(date.strDay),
                _wtoi(date.strHour), _wtoi(date.strMinute), _wtoi(date.strSecond));
    return text;
}

// The date at path as item text; bCheck also requires a real calendar date.
bool ReadDate(CECGXMLParser& xml, const CString& path, int bCheck, CString& text)
{
    text.Empty();
    _XML_ATTRIB_DATE date;
    if (path.IsEmpty() || !xml.GetDateAttrib(date, path, bCheck)) return false;
    text = DateText(date);
    return true;
}

// Typed elements are only read back with their style: an element the saving
// creates gets it too.
void MarkStyle(CECGXMLParser& xml, const CString& path, const wchar_t* style)
{
    CString present;
    if (xml.GetDataFromXMLDOM(present, path, 2, L"style") && present == style) return;
    xml.SetDataToXMLDOM(style, path, 2, L"style");
}

// An item date text as date attributes; a text that does not parse writes
// every field empty.
void WriteDate(CECGXMLParser& xml, const CString& path, const CString& text)
{
    if (path.IsEmpty()) return;
    _XML_ATTRIB_DATE date;
    COleDateTime parsed;
    if (!text.IsEmpty() && parsed.ParseDateTime(text) && parsed.GetStatus() == COleDateTime::valid)
        date.SetDate(parsed);
    xml.SetDateAttrib(date, path);
    MarkStyle(xml, path, L"Date");
}

void WriteText(CECGXMLParser& xml, const CString& path, const CString& value)
{
    if (!path.IsEmpty()) xml.SetDataToXMLDOM(value, path, 4, CString());
}

// Devices end comment lines with a bare LF; the forms need CR LF. Pairs
// already complete stay as they are.
CString WithCrLf(const CString& text)
{
    CString out;
    for (int i = 0; i < text.GetLength(); ++i) {
        const wchar_t ch = text[i];
        if (ch == L'\n' && (i == 0 || text[i - 1] != L'\r')) out += L'\r';
        out += ch;
    }
    return out;
}

CString BirthdayPart(const CString& value, const wchar_t* format)
{
    CString trimmed = value;
    trimmed.Trim();
    if (trimmed.IsEmpty()) return CString();
    CString out;
    out.Format(format, _wtoi(trimmed));
    return out;
}

}  // namespace

int CRhythmViewDoc::GetDataInfoFromXMLFile(_RHYTHMDATAITEM* pItem)
{
    if (!pItem) return 255;
    CECGXMLParser xml(pItem->strXMLPath, 0, CString());
    const int code = static_cast<int>(pItem->uSystemCode);
    GetPatInfoFromXML(code, pItem->stPatient, &xml);
    // Read once into a fresh chain: a second read must not repeat them.
    DeleteAnnotationChain(pItem->pAnnoHead);
    pItem->pAnnoHead = new _ANNOTATION_INFO;
    GetAnnoInfoFromXML(pItem->pAnnoHead, &xml);
    ReadWaveInfo(pItem, xml);
    GetLeadNameFromXML(code, pItem->stLeadName, &xml);
    ReadInterpretation(pItem, xml);
    GetAdditionalInforFromXMLFile(&xml, pItem->stAddition, pItem->pECGData);
    ReadEditors(pItem, xml);
    pItem->strMasterStepInfo.Empty();
    if (IsMasterStepInforSystemCode(code)) pItem->strMasterStepInfo = ReadText(xml, kMasterStepInfo);
    pItem->nRecordFilter = GetAcquisitionFilter(&xml, 0);
    pItem->fRecordSense = GetAcquisitionSense(&xml, 0);
    return 0;
}

void CRhythmViewDoc::ReadWaveInfo(_RHYTHMDATAITEM* pItem, CECGXMLParser& xml)
{
    _LEAD_NAME_INFO& info = pItem->stLeadName;
    for (int i = 1; i <= LEAD_NAME_EDITABLE; ++i) {
        CString path, flag;
        path.Format(L"%s[%d]", kLeadNameElement, i);
        info.nFlag[i - 1] = ReadValue(xml, path, flag, 2, L"flag") ? _wtoi(flag) : -1;
    }
    info.bChanged = (info.nFlag[0] == 0 || info.nFlag[0] == 1) ? 1 : 0;

    const RhythmFamily family = FamilyOf(pItem->uSystemCode);
    const wchar_t* section = family == RhythmFamily::Standard   ? kWaveInfoStandard
                             : family == RhythmFamily::Extended ? kWaveInfoExtended
                                                                : nullptr;
    CString count;
    if (section && ReadValue(xml, CString(section) + L"/Lead_count", count)) info.nLeadCount = _wtoi(count);
    const int leads = info.nLeadCount;
    int stored = (leads == 12 || leads == 15) ? leads - 6 : leads;
    // The codes fill a fixed array: a stated count past it is cut there.
    stored = stored < 0 ? 0 : (stored > LEAD_NAME_CODES ? LEAD_NAME_CODES : stored);
    info.nCount = stored;
    for (int j = 0; j < LEAD_NAME_CODES; ++j) {
        info.nCode[j] = 0;
        if (j >= stored || !section) continue;
        CString path, value;
        path.Format(L"%s/Wave_data[@number='%d']/Lead_code", section, j + 1);
        if (ReadValue(xml, path, value)) info.nCode[j] = _wtoi(value);
    }
}

void CRhythmViewDoc::ReadInterpretation(_RHYTHMDATAITEM* pItem, CECGXMLParser& xml)
{
    _INTERPRE_INFO_GENERAL& info = pItem->stInterpre;
    _BIRTHDAY birthday;
    birthday.strYear = BirthdayPart(ReadText(xml, RhythmPath(ENTRY_YEAR)), L"%04d");
    birthday.strMonth = BirthdayPart(ReadText(xml, RhythmPath(ENTRY_MONTH)), L"%02d");
    birthday.strDay = BirthdayPart(ReadText(xml, RhythmPath(ENTRY_DAY)), L"%02d");
    info.stBirthday = CheckBirthday(birthday);

    CString index;
    info.strMedication1 = ReadText(xml, RhythmPath(ENTRY_MEDICATION1, 1));
    info.nMedication1Sel = ReadValue(xml, RhythmPath(ENTRY_MEDICATION1), index) ? _wtoi(index) : -1;
    info.strMedication2 = ReadText(xml, RhythmPath(ENTRY_MEDICATION2, 1));
    info.nMedication2Sel = ReadValue(xml, RhythmPath(ENTRY_MEDICATION2), index) ? _wtoi(index) : -1;

    info.strSympton = ReadText(xml, RhythmPath(ENTRY_SYMPTOM));
    info.strDisease = ReadText(xml, RhythmPath(ENTRY_DISEASE));
    info.strDepartment = ReadText(xml, RhythmPath(ENTRY_DEPARTMENT));
    info.strWard = ReadText(xml, RhythmPath(ENTRY_WARD));
    info.strRoomNumber = ReadText(xml, RhythmPath(ENTRY_ROOM));
    pItem->bReqSection = ReadValue(xml, RhythmPath(ENTRY_REQ_SECTION), info.strReqSection) ? 1 : 0;
    info.strReqDoctor = ReadText(xml, RhythmPath(ENTRY_REQ_DOCTOR));
    info.strTechnician = ReadText(xml, RhythmPath(ENTRY_TECHNICIAN));
    info.strComment = WithCrLf(ReadText(xml, RhythmPath(ENTRY_COMMENT)));
}

void CRhythmViewDoc::ReadEditors(_RHYTHMDATAITEM* pItem, CECGXMLParser& xml)
{
    // Saved as a date: read as one too, or every save would empty it.
    if (!ReadDate(xml, kPatientEditTime, 0, pItem->stPatient.strReserved))
        pItem->stPatient.strReserved = ReadText(xml, kPatientEditTime);
    pItem->strInfoEditor = ReadText(xml, RhythmPath(ENTRY_INFO_EDITOR));
    ReadDate(xml, RhythmPath(ENTRY_INFO_DATE), 0, pItem->strInfoEditDate);
    pItem->strAnalysisEditor = ReadText(xml, kAnalysisEditor);
    // The newer place wins when it holds a real date; the older one is the fallback.
    if (!ReadDate(xml, kAnalysisDate, 1, pItem->strAnalysisEditDate))
        ReadDate(xml, kAnalysisEditDate, 1, pItem->strAnalysisEditDate);
    pItem->strCommentEditor = ReadText(xml, RhythmPath(ENTRY_COMMENT_EDITOR));
    ReadDate(xml, RhythmPath(ENTRY_COMMENT_DATE), 0, pItem->strCommentDate);
}

// ---- saving ----------------------------------------------------------------------------

int CRhythmViewDoc::SaveDataToXML(int id)
{
    _RHYTHMDATAITEM* item = m_RhythmDataManager.GetItem(id);
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    UpDateCurItemContent();

    CECGXMLParser xml(item->strXMLPath, 0, CString());
    SavePatInfoToXML(item->stPatient, &xml);
    MarkStyle(xml, kPatientAge, L"Age");
    SaveWaveInfoToXML(static_cast<int>(item->uSystemCode), item->stLeadName, &xml);
    SaveInterpretation(item, xml);
    SaveEditors(item, xml);
    xml.SaveToXMLFile();
    return 0;
}

void CRhythmViewDoc::SaveInterpretation(_RHYTHMDATAITEM* pItem, CECGXMLParser& xml)
{
    _INTERPRE_INFO_GENERAL& info = pItem->stInterpre;
    const _BIRTHDAY& birthday = info.stBirthday;
    COleDateTime date;
    const bool valid = date.SetDateTime(_wtoi(birthday.strYear), _wtoi(birthday.strMonth), _wtoi(birthday.strDay), 0,
                                        0, 0) == 0 &&
                       date.GetStatus() == COleDateTime::valid;
    WriteText(xml, RhythmPath(ENTRY_YEAR), valid ? birthday.strYear : CString());
    WriteText(xml, RhythmPath(ENTRY_MONTH), valid ? birthday.strMonth : CString());
    WriteText(xml, RhythmPath(ENTRY_DAY), valid ? birthday.strDay : CString());

    CString index;
    WriteText(xml, RhythmPath(ENTRY_MEDICATION1, 1), info.strMedication1);
    index.Format(L"%d", info.nMedication1Sel);
    WriteText(xml, RhythmPath(ENTRY_MEDICATION1), index);
    WriteText(xml, RhythmPath(ENTRY_MEDICATION2, 1), info.strMedication2);
    index.Format(L"%d", info.nMedication2Sel);
    WriteText(xml, RhythmPath(ENTRY_MEDICATION2), index);

    const struct {
        int nEntry;
        const CString* pValue;
    } texts[] = {
        {ENTRY_SYMPTOM, &info.strSympton},       {ENTRY_DISEASE, &info.strDisease},
        {ENTRY_DEPARTMENT, &info.strDepartment}, {ENTRY_WARD, &info.strWard},
        {ENTRY_ROOM, &info.strRoomNumber},       {ENTRY_REQ_SECTION, &info.strReqSection},
        {ENTRY_REQ_DOCTOR, &info.strReqDoctor},  {ENTRY_TECHNICIAN, &info.strTechnician},
    };
    for (const auto& t : texts) WriteText(xml, RhythmPath(t.nEntry), *t.pValue);
}

void CRhythmViewDoc::SaveEditors(_RHYTHMDATAITEM* pItem, CECGXMLParser& xml)
{
    WriteDate(xml, kPatientEditTime, pItem->stPatient.strReserved);
    WriteText(xml, kConfirmEditor, pItem->stPatient.strConfirmDoctor);
    WriteDate(xml, kConfirmDate, pItem->stPatient.strConfirmDate);
    WriteText(xml, RhythmPath(ENTRY_INFO_EDITOR), pItem->strInfoEditor);
    WriteDate(xml, RhythmPath(ENTRY_INFO_DATE), pItem->strInfoEditDate);
    SaveAdditionToXML(&xml, pItem->stAddition);
    WriteText(xml, kAnalysisEditor, pItem->strAnalysisEditor);
    WriteDate(xml, kAnalysisDate, pItem->strAnalysisEditDate);
    WriteDate(xml, kAnalysisEditDate, pItem->strAnalysisEditDate);
    WriteText(xml, RhythmPath(ENTRY_COMMENT_EDITOR), pItem->strCommentEditor);
    WriteDate(xml, RhythmPath(ENTRY_COMMENT_DATE), pItem->strCommentDate);
    WriteText(xml, RhythmPath(ENTRY_COMMENT), pItem->stInterpre.strComment);
}

void CRhythmViewDoc::SaveWaveInfoToXML(int nSystemCode, _LEAD_NAME_INFO& info, CECGXMLParser* xml)
{
    if (xml && FamilyOf(static_cast<unsigned>(nSystemCode)) == RhythmFamily::Extended) {
        const int count = info.nCount < 0 ? 0 : (info.nCount > LEAD_NAME_CODES ? LEAD_NAME_CODES : info.nCount);
        for (int i = 1; i <= count; ++i) {
            CString path, code;
            path.Format(L"%s/Wave_data[@number='%d']/Lead_code", kWaveInfoExtended, i);
            code.Format(L"%d", info.nCode[i - 1]);
            xml->SetDataToXMLDOM(code, path, 4, CString());
        }
    }
    CTavrionDoc::SaveWaveInfoToXML(nSystemCode, info, xml);
}

int CRhythmViewDoc::SaveAnnotationToXML(int id)
{
    _RHYTHMDATAITEM* item = m_RhythmDataManager.GetItem(id);
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    CECGXMLParser xml(item->strXMLPath, 0, CString());
    SaveAnnoInfoToXML(item->pAnnoHead, &xml);
    xml.SaveToXMLFile();
    return 0;
}
