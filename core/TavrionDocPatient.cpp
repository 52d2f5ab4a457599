// The patient record: read from the record XML through the patient strip's
// layout table, written back to the fixed record paths, and copied from the
// control-data store after the user edited it.
#include "core/ECGXMLParser.h"
#include "core/TavrionDoc.h"
#include "platform/base/File.h"

#include <cstdlib>
#include <cwchar>

namespace {

// Entries of the screen patient-strip layout table that carry record paths.
enum PatInfoEntry {
    PAT_ID = 1,
    PAT_NAME = 3,
    PAT_SUB_ID = 5,
    PAT_KANA_NAME = 7,
    PAT_SEX = 9,
    PAT_AGE = 11,
    PAT_HEIGHT_UNIT = 15,
    PAT_HEIGHT = 16,
    PAT_WEIGHT_UNIT = 17,
    PAT_WEIGHT = 18,
    PAT_BP_HIGH = 20,
    PAT_BP_UNIT = 21,
    PAT_BP_LOW = 22,
    PAT_ACQ_TIME = 24,
    PAT_CONFIRM_DATE = 27,
    PAT_CONFIRM_DOCTOR = 29,
};

const wchar_t* const kYears = L"歳";
const wchar_t* const kMonths = L"ヶ月";
const wchar_t* const kWeeks = L"週";
const wchar_t* const kDays = L"日";
const wchar_t* const kHours = L"時間";
const wchar_t* const kDoctorCaption = L"判読医師  : ";

const wchar_t* const kPatientSection = L"/Rawdata/Tavrion/Inspection/Patient_section";

CString ReadText(CECGXMLParser* xml, const CString& xpath)
{
    CString text;
    if (xpath.IsEmpty() || !xml->GetDataFromXMLDOM(text, xpath, 4, CString()))
        return CString();
    return text;
}

CString IntText(const CString& text)
{
    if (text.IsEmpty())
        return CString();
    CString out;
    out.Format(L"%d", _wtoi(text));
    return out;
}

CString FormatDate(const _XML_ATTRIB_DATE& date)
{
    CString out;
    out.Format(L"%04d/%02d/%02d %02d:%02d:%02d", _wtoi(date.strYear), _wtoi(date.strMonth), _wtoi(date.strDay),
               _wtoi(date.strHour), _wtoi(date.strMinute), _wtoi(date.strSecond));
    return out;
}

bool IsValidDate(const _XML_ATTRIB_DATE& date)
{
    COleDateTime built;
    if (built.SetDateTime(_wtoi(date.strYear), _wtoi(date.strMonth), _wtoi(date.strDay), _wtoi(date.strHour),
                          _wtoi(date.strMinute), _wtoi(date.strSecond)) != 0)
        return false;
    return built.GetStatus() == COleDateTime::valid && built.GetDay() == _wtoi(date.strDay) &&
           built.GetMonth() == _wtoi(date.strMonth);
}

// Height and weight travel as an integer part and a one-digit fraction.
CString JoinMeasure(const CString& whole, const CString& fraction)
{
    if (whole.IsEmpty() && fraction.IsEmpty())
        return CString();
    const int nWhole = _wtoi(whole);
    const int nFraction = _wtoi(fraction);
    if (nWhole == 0 && nFraction == 0)
        return L"0";
    CString out;
    if (nFraction != 0) {
        CString digits = IntText(fraction);
        out.Format(L"%d.%c", nWhole, digits.GetAt(0));
    } else {
        out.Format(L"%d", nWhole);
    }
    if (wcstod(static_cast<LPCWSTR>(out), nullptr) == 0.0)
        out.Empty();
    return out;
}

void SplitMeasure(const CString& value, CString& whole, CString& fraction)
{
    CString text = value;
    text.Trim();
    whole.Empty();
    fraction.Empty();
    if (text.IsEmpty())
        return;
    const double number = wcstod(static_cast<LPCWSTR>(text), nullptr);
    CString printed;
    printed.Format(L"%f", number);
    const int point = printed.ReverseFind(L'.');
    if (point <= 0) {
        whole.Format(L"%d", static_cast<int>(number));
        return;
    }
    printed.Format(L"%.1f", number);
    const int rounded = printed.ReverseFind(L'.');
    whole.Format(L"%d", _wtoi(printed.Left(rounded)));
    fraction = printed.Mid(rounded + 1, 1);
}

// The acquisition time is the recorder's, never edited: a record XML that
// holds one keeps it as it is. One made for a record that had none yet
// (started from its file) takes the time the file carries, so that the list
// and the patient strip still show it after the first save. A time the file
// did not carry ("****/**/** **:**:**") writes nothing.
void WriteAcqTimeIfNone(const CString& acquired, CECGXMLParser& xml)
{
    const CString path = CString(kPatientSection) + L"/Acquition_date";
    if (xml.FindNode(path))
        return;
    int parts[6] = {};
    if (swscanf(acquired.GetString(), L"%d/%d/%d %d:%d:%d", &parts[0], &parts[1], &parts[2], &parts[3], &parts[4],
                &parts[5]) != 6)
        return;
    COleDateTime date;
    if (parts[0] == 0 || date.SetDateTime(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]) != 0 ||
        date.GetStatus() != COleDateTime::valid)
        return;
    _XML_ATTRIB_DATE acq;
    acq.SetDate(date);
    xml.SetDateAttrib(acq, path);
}

// Writes a patient field; an empty one the record XML does not hold stays
// out of it: a save makes no element that was not there, and one whose
// presence tells something (a request section) would read as filled in.
void WritePatientText(CECGXMLParser& xml, const CString& text, const CString& path, LPCWSTR attribute = nullptr)
{
    const int type = attribute ? 2 : 4;
    const CString name = attribute ? CString(attribute) : CString();
    CString stored;
    if (text.IsEmpty() && !xml.GetDataFromXMLDOM(stored, path, type, name)) return;
    xml.SetDataToXMLDOM(text, path, type, name);
}

}  // namespace

void CTavrionDoc::GetPatInfoFromXML(int nSystemCode, _PATIENT_INFO& patient, CECGXMLParser* xml)
{
    if (!xml)
        return;
    auto path = [this](int entry, int alt = 0) { return GetDefXMLPath(0, entry, alt); };

    patient.strPatientID = ReadText(xml, path(PAT_ID));
    patient.strName = ReadText(xml, path(PAT_NAME));
    patient.strSubID = ReadText(xml, path(PAT_SUB_ID));
    patient.strKanaName = ReadText(xml, path(PAT_KANA_NAME));
    patient.strSex = ReadText(xml, path(PAT_SEX));

    ReadAge(patient, xml, path(PAT_AGE));

    patient.strHeightUnit = ReadText(xml, path(PAT_HEIGHT_UNIT)) == L"1" ? L"in" : L"cm";
    patient.strWeightUnit = ReadText(xml, path(PAT_WEIGHT_UNIT)) == L"1" ? L"lb" : L"kg";
    patient.strHeight = ReadMeasure(xml, path(PAT_HEIGHT, 0), path(PAT_HEIGHT, 1));
    patient.strWeight = ReadMeasure(xml, path(PAT_WEIGHT, 0), path(PAT_WEIGHT, 1));

    patient.nPressureUnit = 0;
    const unsigned code = static_cast<unsigned>(nSystemCode) & 0xFFFF;
    if (code != 0xFFFA && code != 0xFFFC && code != 0xFFFD) {
        const CString unit = ReadText(xml, path(PAT_BP_UNIT));
        patient.nPressureUnit = unit == L"1" ? 1 : 0;
    }
    patient.strBpHigh = ReadPressure(ReadText(xml, path(PAT_BP_HIGH)), patient.nPressureUnit);
    patient.strBpLow = ReadPressure(ReadText(xml, path(PAT_BP_LOW)), patient.nPressureUnit);

    // Checked as the file list checks the same element, so that a record
    // shows one acquisition time in the list and on its patient strip.
    _XML_ATTRIB_DATE acq;
    if (xml->GetDateAttrib(acq, path(PAT_ACQ_TIME), 1))
        patient.strAcqTime = FormatDate(acq);
    else
        patient.strAcqTime = L"****/**/** **:**:**";

    ReadConfirmation(patient, xml);
}

CString CTavrionDoc::ReadMeasure(CECGXMLParser* xml, const CString& wholePath, const CString& fractionPath)
{
    const CString measure = JoinMeasure(ReadText(xml, wholePath), ReadText(xml, fractionPath));
    return CheckDataRange(measure, 999.9f, 0.0f, 1, 1) ? measure : CString();
}

void CTavrionDoc::ReadAge(_PATIENT_INFO& patient, CECGXMLParser* xml, const CString& xpath)
{
    // An age element that is missing (or no age element) leaves the record
    // at its defaults: unit 0, years, with no number.
    _XML_ATTRIB_AGE age;
    xml->GetAgeAttrib(age, xpath);
    m_bSubAge = 1;
    const bool bSubAgeAllowed = xml->m_b8000File == 0;
    patient.strAge.Empty();
    patient.strAgeUnit.Empty();
    patient.strSubAge.Empty();
    patient.strSubAgeUnit.Empty();

    const CString* const main[] = {&age.strYear, &age.strMonth, &age.strWeek, &age.strDay};
    const CString* const sub[] = {&age.strMonth, &age.strWeek, &age.strDay, &age.strHour};
    const wchar_t* const mainUnit[] = {kYears, kMonths, kWeeks, kDays};
    const wchar_t* const subUnit[] = {kMonths, kWeeks, kDays, kHours};
    if (age.nUnit >= 0 && age.nUnit <= 3) {
        patient.strAge = IntText(*main[age.nUnit]);
        patient.strAgeUnit = mainUnit[age.nUnit];
    } else if (age.nUnit == 4) {
        patient.strAge = age.strHour;
        patient.strAgeUnit = kHours;
        m_bSubAge = 0;
    } else if (age.nUnit == 5) {
        patient.strAgeUnit = kYears;
    } else if (age.nUnit >= 16 && age.nUnit <= 19) {
        const int n = age.nUnit - 16;
        patient.strAge = *main[n];
        patient.strAgeUnit = mainUnit[n];
        if (bSubAgeAllowed) {
            patient.strSubAge = *sub[n];
            patient.strSubAgeUnit = subUnit[n];
        }
    }

    if (bSubAgeAllowed) {
        if (!CheckDataRange(patient.strAge, 1000.0f, 0.0f, 1, 0))
            patient.strAge.Empty();
        if (!CheckDataRange(patient.strSubAge, 100.0f, 0.0f, 1, 0))
            patient.strSubAge.Empty();
    } else if (!CheckDataRange(patient.strAge, 100.0f, 0.0f, 1, 0)) {
        patient.strAge.Empty();
    }
    if (!patient.strAge.IsEmpty() && _wtoi(patient.strAge) < 0)
        patient.strAge.Empty();
    if (!patient.strSubAge.IsEmpty() && _wtoi(patient.strSubAge) < 1)
        patient.strSubAge.Empty();
}

// A pressure that is no number is dropped rather than shown as 0: a 0 would
// read as a measured value on the strip and in the reports.
CString CTavrionDoc::ReadPressure(const CString& text, int nPressureUnit)
{
    if (text.IsEmpty())
        return CString();
    const float fMax = nPressureUnit ? 100.0f : 1000.0f;
    CString trimmed = text;
    trimmed.Trim();
    if (trimmed.IsEmpty() || !CheckDataRange(trimmed, fMax, 0.0f, 1, 0))
        return CString();
    return IntText(trimmed);
}

void CTavrionDoc::ReadConfirmation(_PATIENT_INFO& patient, CECGXMLParser* xml)
{
    patient.strConfirmCaption = kDoctorCaption;
    patient.strConfirmDate.Empty();
    patient.bConfirmed = 0;
    patient.bEditedAfterConfirm = 0;

    int nameAlt = 0;
    CString name = ReadText(xml, GetDefXMLPath(0, PAT_CONFIRM_DOCTOR, 0));
    name.TrimRight();
    if (name.IsEmpty()) {
        nameAlt = 1;
        name = ReadText(xml, GetDefXMLPath(0, PAT_CONFIRM_DOCTOR, 1));
    }
    patient.strConfirmDoctor = name;

    _XML_ATTRIB_DATE confirm;
    int dateAlt = -1;
    if (!name.IsEmpty()) {
        const int candidates[2] = {nameAlt == 0 ? 2 : 4, nameAlt == 0 ? -1 : 1};
        for (int alt : candidates) {
            if (alt < 0)
                continue;
            _XML_ATTRIB_DATE date;
            if (xml->GetDateAttrib(date, GetDefXMLPath(0, PAT_CONFIRM_DATE, alt), 0) && IsValidDate(date)) {
                confirm = date;
                dateAlt = alt;
                break;
            }
        }
    }
    if (dateAlt < 0) {
        patient.strConfirmation = L"医師による確認が必要です";
        return;
    }
    patient.strConfirmDate = FormatDate(confirm);

    COleDateTime confirmed(_wtoi(confirm.strYear), _wtoi(confirm.strMonth), _wtoi(confirm.strDay),
                           _wtoi(confirm.strHour), _wtoi(confirm.strMinute), _wtoi(confirm.strSecond));
    // A confirmation dated only by the fallback alternative 1 is not weighed
    // against the edit dates: it counts as confirmed with nothing later.
    bool bLater = false;
    for (int alt = 0; alt <= 5 && !bLater && dateAlt != 1; ++alt) {
        // The date the confirmation itself came from is never later than itself.
        if (alt == dateAlt)
            continue;
        _XML_ATTRIB_DATE date;
        if (xml->GetDateAttrib(date, GetDefXMLPath(0, PAT_CONFIRM_DATE, alt), 0))
            bLater = CompareDate(confirmed, date) != 0;
    }
    const CString shortDate = patient.strConfirmDate.Left(16);
    if (!bLater) {
        patient.strConfirmation = L"判読日時  : " + shortDate + L" " + kDoctorCaption + name;
        patient.bConfirmed = 1;
        return;
    }
    patient.strConfirmation.Format(L"%s(%s%s %s)", L"判読後に編集あり", L"最終判読:",
                                   static_cast<LPCWSTR>(shortDate), static_cast<LPCWSTR>(name));
    patient.bEditedAfterConfirm = 1;
}

bool CTavrionDoc::IsConfirmationAsStored(const _PATIENT_INFO& patient, CECGXMLParser* xml)
{
    if (!xml)
        return false;
    // Nothing was shown as confirmed: there is no confirmation to write back,
    // and a stored one is left for the reader as it is.
    if (patient.strConfirmDate.IsEmpty())
        return true;
    // The reader may have taken the doctor from the patient section and the
    // date from the analysis editor; written back, they would replace a
    // confirmation the record holds elsewhere.
    _PATIENT_INFO stored;
    ReadConfirmation(stored, xml);
    return stored.strConfirmDoctor == patient.strConfirmDoctor && stored.strConfirmDate == patient.strConfirmDate;
}

void CTavrionDoc::KeepShownConfirmation(const _PATIENT_INFO& patient, CECGXMLParser* xml)
{
    if (!xml || patient.strConfirmDoctor.IsEmpty())
        return;
    _PATIENT_INFO stored;
    ReadConfirmation(stored, xml);
    if (stored.strConfirmDoctor == patient.strConfirmDoctor && stored.strConfirmDate == patient.strConfirmDate)
        return;
    const CString namePath = GetDefXMLPath(0, PAT_CONFIRM_DOCTOR, 0);
    const CString datePath = GetDefXMLPath(0, PAT_CONFIRM_DATE, 2);
    if (patient.strConfirmDate.IsEmpty()) {
        // Shown as awaiting the doctor, the record would read as confirmed
        // by the patient's doctor at the date this save stamps. Named in the
        // confirming editor's own place, the doctor is weighed against that
        // editor's own date alone, and it has none: a date it held under no
        // name was never shown, and would now confirm the record.
        _XML_ATTRIB_DATE own;
        if (xml->GetDateAttrib(own, datePath, 0) && IsValidDate(own))
            xml->RemoveNode(datePath);
        xml->SetDataToXMLDOM(patient.strConfirmDoctor, namePath, 4, CString());
        return;
    }
    COleDateTime shown;
    if (!shown.ParseDateTime(patient.strConfirmDate) || shown.GetStatus() != COleDateTime::valid)
        return;
    _XML_ATTRIB_DATE date;
    date.SetDate(shown);
    // The confirming editor's own name and date come first for the reader,
    // so the confirmation stays put whatever later stamps the record gets.
    xml->SetDataToXMLDOM(patient.strConfirmDoctor, namePath, 4, CString());
    xml->SetDateAttrib(date, datePath);
    CString style;
    if (!xml->GetDataFromXMLDOM(style, datePath, 2, L"style") || style != L"Date")
        xml->SetDataToXMLDOM(L"Date", datePath, 2, L"style");
}

int CTavrionDoc::CompareDate(COleDateTime date, _XML_ATTRIB_DATE record)
{
    COleDateTime built;
    if (built.SetDateTime(_wtoi(record.strYear), _wtoi(record.strMonth), _wtoi(record.strDay),
                          _wtoi(record.strHour), _wtoi(record.strMinute), _wtoi(record.strSecond)) != 0)
        return 0;
    if (built.GetStatus() != COleDateTime::valid || date.GetStatus() != COleDateTime::valid)
        return 0;
    return built > date ? 1 : 0;
}

void CTavrionDoc::SavePatInfoToXML(_PATIENT_INFO& patient, CECGXMLParser* xml)
{
    if (!xml)
        return;
    WritePatInfoToXML(patient, xml);
    xml->SaveToXMLFile();
    m_bSettingSaveFailed = xml->m_bLastSaveFailed;
}

void CTavrionDoc::WritePatInfoToXML(_PATIENT_INFO& patient, CECGXMLParser* xml)
{
    if (!xml)
        return;
    const CString section = kPatientSection;
    WritePatientText(*xml, patient.strPatientID, section + L"/Patient_id");
    WritePatientText(*xml, patient.strName, section + L"/Patient_name");
    WritePatientText(*xml, patient.strSubID, L"/Rawdata/Tavrion/Inspection/Patient_section2/Sub_id");
    WritePatientText(*xml, patient.strKanaName, section + L"/Patient_kana_name");
    WritePatientText(*xml, patient.strSex, section + L"/Sex", L"value");
    // A pressure, height or weight the reader refused (past its limit, no
    // number) is shown as none: a value that still reads as the patient's
    // stays as stored until the person types another.
    const struct {
        const CString* pPressure;
        const wchar_t* pszElement;
    } pressures[] = {{&patient.strBpHigh, L"/Bp/Bp_sys"}, {&patient.strBpLow, L"/Bp/Bp_dia"}};
    for (const auto& p : pressures) {
        const CString path = section + p.pszElement;
        if (ReadPressure(ReadText(xml, path), patient.nPressureUnit) != *p.pPressure)
            WritePatientText(*xml, *p.pPressure, path);
    }
    const struct {
        const CString* pMeasure;
        const wchar_t* pszWhole;
        const wchar_t* pszFraction;
    } measures[] = {
        {&patient.strHeight, L"/Height_weight/Height", L"/Height_weight/Sub_height"},
        {&patient.strWeight, L"/Height_weight/Weight", L"/Height_weight/Sub_weight"},
    };
    for (const auto& m : measures) {
        const CString& measure = *m.pMeasure;
        const CString whole = section + m.pszWhole;
        const CString fraction = section + m.pszFraction;
        if (ReadMeasure(xml, whole, fraction) == measure)
            continue;
        CString wholeText, fractionText;
        SplitMeasure(measure, wholeText, fractionText);
        WritePatientText(*xml, wholeText, whole);
        WritePatientText(*xml, fractionText, fraction);
    }
    WriteFirstAcqTime(patient, xml);

    // An age that reads back as the patient's stays as stored: the record may
    // hold it in a form the patient record does not tell apart (a years-only
    // age with or without an empty month, an age left out), and rewriting it
    // would change a field nobody edited.
    const CString agePath = section + L"/Age";
    if (xml->FindNode(agePath)) {
        _PATIENT_INFO stored;
        const int subAge = m_bSubAge;
        ReadAge(stored, xml, agePath);
        m_bSubAge = subAge;
        const bool sameSubAge = stored.strSubAge == patient.strSubAge &&
                                (patient.strSubAge.IsEmpty() || stored.strSubAgeUnit == patient.strSubAgeUnit);
        if (stored.strAge == patient.strAge && stored.strAgeUnit == patient.strAgeUnit && sameSubAge)
            return;
    }
    xml->SetAgeAttrib(MakeAgeAttrib(patient), agePath);
}

void CTavrionDoc::WriteFirstAcqTime(const _PATIENT_INFO& patient, CECGXMLParser* xml)
{
    WriteAcqTimeIfNone(patient.strAcqTime, *xml);
}

void CTavrionDoc::SeedRecordXML(const CString& strXMLPath, const _PATIENT_INFO& patient, const CString& strRecordPath)
{
    if (strXMLPath.IsEmpty()) return;
    // The paths the file list and the patient strip read them from. A field
    // the file does not carry is left out, as the file list shows it empty.
    const CString id = patient.strPatientID, name = patient.strName, acquired = patient.strAcqTime;
    // The record file's name alone: the record and its record XML move
    // together from folder to folder.
    const int separator = PathLastSeparator(strRecordPath);
    const CString record = separator < 0 ? strRecordPath : strRecordPath.Mid(separator + 1);
    auto seed = [id, name, acquired, record](CECGXMLParser& xml) {
        const CString section = kPatientSection;
        if (!id.IsEmpty()) xml.SetDataToXMLDOM(id, section + L"/Patient_id", 4, CString());
        if (!name.IsEmpty()) xml.SetDataToXMLDOM(name, section + L"/Patient_name", 4, CString());
        WriteAcqTimeIfNone(acquired, xml);
        if (record.IsEmpty()) return;
        // Beside the name, what the file gave when the record XML was made,
        // where no person edits it: a record renamed or copied with its
        // record XML is told by it, and another patient's record of the
        // same name is told from it.
        xml.SetDataToXMLDOM(record, kRecordFileXPath, 4, CString());
        xml.SetDataToXMLDOM(id, kRecordFileXPath, 2, kRecordPatientIdAttribute);
        xml.SetDataToXMLDOM(acquired.Find(L'*') < 0 ? acquired : CString(), kRecordFileXPath, 2,
                            kRecordAcquiredAttribute);
    };
    // Named for the record before the seed is asked for, as a name the
    // record was given when it opened.
    if (!record.IsEmpty()) NameRecordXML(strXMLPath, record);
    m_mapRecordXMLSeeds[std::wstring(static_cast<LPCWSTR>(strXMLPath))] = CECGXMLParser::SeedNewFile(strXMLPath, seed);
}

_XML_ATTRIB_AGE CTavrionDoc::MakeAgeAttrib(const _PATIENT_INFO& patient)
{
    _XML_ATTRIB_AGE age;
    const CString& unit = patient.strAgeUnit;
    const CString& subUnit = patient.strSubAgeUnit;
    if (unit == kYears) {
        age.nUnit = subUnit == kMonths ? 16 : 0;
        age.strYear = patient.strAge;
        age.strMonth = patient.strSubAge;
    } else if (unit == kMonths) {
        age.nUnit = subUnit == kWeeks ? 17 : 1;
        age.strMonth = patient.strAge;
        age.strWeek = patient.strSubAge;
    } else if (unit == kWeeks) {
        age.nUnit = subUnit == kDays ? 18 : 2;
        age.strWeek = patient.strAge;
        age.strDay = patient.strSubAge;
    } else if (unit == kDays) {
        age.nUnit = subUnit == kHours ? 19 : 3;
        age.strDay = patient.strAge;
        age.strHour = patient.strSubAge;
    } else if (unit == kHours) {
        age.nUnit = 4;
        age.strHour = patient.strAge;
    }
    return age;
}

void CTavrionDoc::UpDateCurItemContent(_PATIENT_INFO& patient)
{
    const struct {
        UINT uID;
        CString* pValue;
    } copied[] = {
        {3001, &patient.strPatientID}, {3003, &patient.strName},    {3005, &patient.strSubID},
        {3007, &patient.strKanaName},  {3009, &patient.strSex},     {3019, &patient.strBpHigh},
        {3021, &patient.strBpLow},     {3015, &patient.strHeight},  {3017, &patient.strWeight},
        {3011, &patient.strAge},       {3013, &patient.strSubAge},  {3012, &patient.strAgeUnit},
        {3014, &patient.strSubAgeUnit},
    };
    for (const auto& c : copied)
        GetCtrlData(c.uID, *c.pValue);
}

void CTavrionDoc::UpdateRhyRRCurItem(int nSystemCode, _INTERPRE_INFO_GENERAL& info)
{
    const int lowByte = nSystemCode & 0xFF;
    const bool bExtraLead = lowByte == 26 || lowByte == 229 || lowByte == 230 || lowByte == 28;
    if (!bExtraLead) {
        GetCtrlData(3631, info.stBirthday.strYear);
        GetCtrlData(3633, info.stBirthday.strMonth);
        GetCtrlData(3635, info.stBirthday.strDay);
    }
    GetCtrlData(3637, info.strMedication1);
    GetCtrlData(3639, info.strMedication2);
    GetCtrlData(3637, info.nMedication1Sel);
    GetCtrlData(3639, info.nMedication2Sel);
    const struct {
        UINT uID;
        CString* pValue;
    } copied[] = {
        {3641, &info.strSympton},    {3643, &info.strDisease},    {3645, &info.strDepartment},
        {3647, &info.strWard},       {3649, &info.strRoomNumber}, {3651, &info.strReqSection},
        {3653, &info.strReqDoctor},  {3655, &info.strTechnician}, {4017, &info.strComment},
        {4013, &info.strHeartRate},
    };
    for (const auto& c : copied)
        GetCtrlData(c.uID, *c.pValue);
}

_BIRTHDAY CTavrionDoc::CheckBirthday(_BIRTHDAY birthday)
{
    if (!CheckDataRange(birthday.strYear, 2050.0f, 1900.0f, 1, 0))
        birthday.strYear.Empty();
    if (!CheckDataRange(birthday.strMonth, 12.1f, 1.0f, 1, 0))
        birthday.strMonth.Empty();
    if (!CheckDataRange(birthday.strDay, 31.1f, 1.0f, 1, 0))
        birthday.strDay.Empty();

    const int year = _wtoi(birthday.strYear);
    const int month = _wtoi(birthday.strMonth);
    const int day = _wtoi(birthday.strDay);
    COleDateTime built;
    const bool bBuilt = built.SetDateTime(year, month, day, 0, 0, 0) == 0 && built.GetStatus() == COleDateTime::valid;
    if (!bBuilt || built.GetYear() != year || built.GetMonth() != month || built.GetDay() != day) {
        birthday.strYear.Empty();
        birthday.strMonth.Empty();
        birthday.strDay.Empty();
    }
    return birthday;
}
