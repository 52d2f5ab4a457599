// What the host's file list shows of a record file before it is opened:
// acquisition time, patient, kind and lead count, read no further than
// needed (device records through the reader library, MFER files through the
// MFER library), with the patient fields of a companion file when the host
// names one. It shows nothing: a record it could not read is returned as
// such, with the cause in the record, and the host says what failed.
#include "core/ECGXMLParser.h"
#include "core/FileItemInfo.h"
#include "core/MemoryHelpers.h"
#include "core/TavrionDoc.h"
#include "platform/base/File.h"
#include "platform/mfer/MFERParser.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const wchar_t* const kNoTime = L"****/**/** **:**:**";
const int kMaxListedChars = 99;

// Fills the time fields from six numbers; a year of 0 or no valid date
// gives the star pattern and 1 January 1900.
void SetAcqTime(_FILEITEM_INFO* info, int year, int month, int day, int hour, int minute, int second)
{
    COleDateTime date;
    const bool bValid = year != 0 && date.SetDateTime(year, month, day, hour, minute, second) == 0 &&
                        date.GetStatus() == COleDateTime::valid;
    if (!bValid) {
        info->strAcqTime = kNoTime;
        info->dtAcqDate = COleDateTime(1900, 1, 1, 0, 0, 0);
        return;
    }
    info->strAcqTime.Format(L"%04d/%02d/%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
    info->dtAcqDate = date;
}

bool FileExists(const wchar_t* path)
{
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary))
        return false;
    file.Close();
    return true;
}

int DigitsAt(const CString& text, int first, int count)
{
    int value = 0;
    for (int i = first; i < first + count; ++i) {
        const wchar_t ch = text.GetAt(i);
        if (ch < L'0' || ch > L'9')
            return -1;
        value = value * 10 + (ch - L'0');
    }
    return value;
}

CString TrimmedNarrow(const char* text, size_t capacity)
{
    const size_t length = strnlen(text, capacity);
    CString wide(std::string(text, length).c_str());
    wide.Trim();
    return wide;
}

// A text of the root, code page 932, bounded by its field's size.
CString RootText(CTavrionDoc& doc, const char* field, size_t capacity)
{
    std::string bytes(field, strnlen(field, capacity));
    std::vector<wchar_t> wide(bytes.size() + 1, L'\0');
    doc.MFERGetData(wide.data(), bytes.c_str());
    CString text(wide.data());
    text.Trim();
    return text;
}

// The file-list failure of an MFER file the reader could not open.
FileListFailure MferFailure(MferStatus status)
{
    switch (status) {
    case MferStatus::Ok:   // the file itself could not be opened
    case MferStatus::NoFile: return FileListFailure::CannotOpen;
    case MferStatus::NoMemory: return FileListFailure::NoMemory;
    case MferStatus::TooLarge: return FileListFailure::TooLarge;
    default: return FileListFailure::NotRecordFile;
    }
}

}  // namespace

int CTavrionDoc::MFERSystemCode(const CString& description, int leadCount)
{
    if (description.CompareNoCase(L"MFR Extra 3 leads ECG") == 0)
        return 0x7003;
    if (description.CompareNoCase(L"MFR Extra 4 leads ECG") == 0)
        return 0x7004;
    if (description.CompareNoCase(L"MFR Extra 6 leads ECG (6x1)") == 0 ||
        description.CompareNoCase(L"MFR Extra 6 leads ECG (3x2)") == 0)
        return 0x7006;
    if (description.CompareNoCase(L"MFR Extra 7 leads ECG") == 0)
        return 0x7007;
    if (description.CompareNoCase(L"MFR Extra Freeze ECG") == 0)
        return (leadCount >= 1 && leadCount <= 6) ? 0x7010 + leadCount : 1;
    switch (leadCount) {
    case 1: return 0x8001;
    case 3: return 0x8003;
    case 12: return 0x800C;
    case 15: return 0x800F;
    default: return 1;
    }
}

int CTavrionDoc::ReadFile(const wchar_t* pszPath, const wchar_t* pszXML, const wchar_t* pszHL7, _FILEITEM_INFO* info)
{
    if (!info)
        return 1;
    info->failure = FileListFailure::None;
    if (!pszPath) {
        info->failure = FileListFailure::CannotOpen;
        return 1;
    }
    const CString path = pszPath;
    // The extension is the file name's own: a dot in a folder's name is none.
    const int dot = path.ReverseFind(L'.');
    if (dot < 0 || dot < PathLastSeparator(path)) {
        info->failure = FileListFailure::NotRecordFile;
        return 1;
    }
    const CString hl7 = pszHL7 ? pszHL7 : L"";
    if (!hl7.IsEmpty() && !FileExists(hl7)) {
        info->failure = FileListFailure::NoHl7Header;
        return 1;
    }
    const CString ext = path.Mid(dot);
    const CString xml = pszXML ? pszXML : L"";
    if (ext.CompareNoCase(L".ecg") == 0 || ext.CompareNoCase(L".dat") == 0)
        return ReadDeviceFileInfo(path, xml, info);
    if (ext.CompareNoCase(L".mwf") == 0)
        return ReadMferFileInfo(path, xml, hl7, info);
    return info->nSystemCode;
}

int CTavrionDoc::ReadDeviceFileInfo(const CString& path, const CString& xml, _FILEITEM_INFO* info)
{
    _ECGDATA* image = nullptr;
    const ImageRead read = ReadImage(path, image, info);
    if (read != ImageRead::Ok) {
        // A record that did not fit in the memory is not one of no kind: the
        // caller is told which it was.
        info->failure = read == ImageRead::NoMemory   ? FileListFailure::NoMemory
                        : read == ImageRead::TooLarge ? FileListFailure::TooLarge
                        : read == ImageRead::CannotOpen ? FileListFailure::CannotOpen
                                                        : FileListFailure::NotRecordFile;
        return 1;
    }

    BYTE code[2] = {};
    const long size = ecgGetData(image, ECG_TAG_SYSTEM_CODE, 0, nullptr, 0, ECG_DATA_RAW);
    const bool bCode = size >= 2 && ecgGetData(image, ECG_TAG_SYSTEM_CODE, 0, code, 2, ECG_DATA_RAW) > 0;
    info->nSystemCode = bCode ? (code[0] | (code[1] << 8)) : 1;

    const unsigned low = static_cast<unsigned>(info->nSystemCode) & 0xFF;
    int leads = 0;
    if (low == 10 || low == 245 || low == 246 || low == 38 || low == 218 || low == 217) {
        leads = GetLTFileLeadCount(image, (low == 10 || low == 245 || low == 246) ? 3847 : 3858);
        if (leads != 1 && leads != 3 && leads != 12 && leads != 15) {
            info->nSystemCode = 1;
            info->failure = FileListFailure::NoSystemCode;
            FreeECGData(image);
            return 1;
        }
    } else if (low == 5) {
        leads = GetRRFileLeadCount(image);
    } else if (low == 26 || low == 229 || low == 230 || low == 28) {
        leads = GetExtraFileLeadCount(image, static_cast<UINT>(info->nSystemCode));
    } else {
        leads = GetLeadCountBySystemCode(static_cast<UINT>(info->nSystemCode));
    }
    info->nLeadCount = leads;

    if (!xml.IsEmpty())
        ReadBaseFileInfo(xml, info);
    else
        ReadRecordFileInfo(image, info);
    FreeECGData(image);
    if (info->nSystemCode == 1)
        info->failure = FileListFailure::NoSystemCode;
    return info->nSystemCode;
}

void CTavrionDoc::ReadRecordFileInfo(_ECGDATA* image, _FILEITEM_INFO* info)
{
    ReadRecordText(image, 3001, info->strPatientID);
    ReadRecordText(image, 4081, info->strFurtherText);
    ReadRecordText(image, 3002, info->strPatientName);
    BYTE time[7] = {};
    const long timeSize = ecgGetData(image, 3009, 0, nullptr, 0, ECG_DATA_RAW);
    if (timeSize >= 7 && ecgGetData(image, 3009, 0, time, 7, ECG_DATA_RAW) > 0) {
        const int year = time[0] | (time[1] << 8);
        SetAcqTime(info, year, static_cast<signed char>(time[2]), static_cast<signed char>(time[3]),
                   static_cast<signed char>(time[4]), static_cast<signed char>(time[5]),
                   static_cast<signed char>(time[6]));
    }
}

void CTavrionDoc::ReadRecordText(_ECGDATA* image, UINT tag, CString& field)
{
    const long size = ecgGetData(image, tag, 0, nullptr, 0, ECG_DATA_RAW);
    if (size < 1)
        return;
    std::vector<wchar_t> text(static_cast<size_t>(size) + 1, L'\0');
    if (ecgGetData(image, tag, 0, text.data(), size, ECG_DATA_EUC_TEXT) <= 0)
        return;
    CString value(text.data());
    value = value.Left(kMaxListedChars);
    value.Trim();
    field = value;
}

int CTavrionDoc::ReadMferFileInfo(const CString& path, const CString& xml, const CString& hl7,
                                  _FILEITEM_INFO* info)
{
    std::unique_ptr<CMFERParser> reader(new CMFERParser());
    if (!reader->OpenMFER(path)) {
        info->failure = MferFailure(reader->GetStatus());
        return 1;
    }
    MFER_ROOT* root = reader->GetMFERRoot();
    if (!root) {
        info->failure = FileListFailure::NoRoot;
        return 255;
    }

    const CString description = TrimmedNarrow(root->szDescription, sizeof root->szDescription);
    info->nSystemCode = MFERSystemCode(description, reader->GetLeadCount());
    info->nLeadCount = GetLeadCountBySystemCode(static_cast<UINT>(info->nSystemCode));

    if (!xml.IsEmpty() && hl7.IsEmpty()) {
        ReadBaseFileInfo(xml, info);
    } else if (!hl7.IsEmpty()) {
        ReadHl7FileInfo(hl7, info);
    } else {
        ReadMferRootInfo(root, info);
    }
    if (info->nSystemCode == 1 && info->failure == FileListFailure::None)
        info->failure = FileListFailure::NoSystemCode;
    return info->nSystemCode;
}

void CTavrionDoc::ReadMferRootInfo(const MFER_ROOT* root, _FILEITEM_INFO* info)
{
    const DWORD timePresent = root->dwTimePresent;
    const int year = root->nYear;
    if (timePresent && year != 0)
        SetAcqTime(info, year, root->byMonth, root->byDay, root->byHour, root->byMinute, root->bySecond);
    else
        SetAcqTime(info, 0, 0, 0, 0, 0, 0);
    const DWORD namePresent = root->dwPatientNamePresent;
    const DWORD idPresent = root->dwPatientIdPresent;
    info->strPatientName = namePresent ? RootText(*this, root->szPatientName, sizeof root->szPatientName) : CString();
    info->strPatientID = idPresent ? RootText(*this, root->szPatientId, sizeof root->szPatientId) : CString();
}

void CTavrionDoc::ReadHl7FileInfo(const CString& hl7, _FILEITEM_INFO* info)
{
    CECGXMLParser xml(hl7, info->bOldReader, L"hl7");
    CString value;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (xml.GetDataFromXMLDOM(value, L"/hl7:ECGObservation/hl7:performer/hl7:time/@value", 4, CString()) &&
        value.GetLength() >= 14) {
        year = DigitsAt(value, 0, 4);
        month = DigitsAt(value, 4, 2);
        day = DigitsAt(value, 6, 2);
        hour = DigitsAt(value, 8, 2);
        minute = DigitsAt(value, 10, 2);
        second = DigitsAt(value, 12, 2);
        if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0)
            year = 0;
    }
    SetAcqTime(info, year, month, day, hour, minute, second);

    const wchar_t* const patient = L"/hl7:ECGObservation/hl7:recordTarget/hl7:patientRole/hl7:patientPatient";
    CString xpath;
    xpath.Format(L"%s/hl7:id/@extension", patient);
    if (xml.GetDataFromXMLDOM(value, xpath, 4, CString())) {
        info->strPatientID = value;
    } else {
        info->nSystemCode = 1;
        info->failure = FileListFailure::NoPatientId;
    }
    xpath.Format(L"%s/hl7:name[@use='IDE']/hl7:family", patient);
    info->strPatientName = xml.GetDataFromXMLDOM(value, xpath, 4, CString()) ? value : CString();
}

void CTavrionDoc::ReadBaseFileInfo(const CString& strXMLPath, _FILEITEM_INFO* info)
{
    CECGXMLParser xml(strXMLPath, info->bOldReader, CString());
    _XML_ATTRIB_DATE date;
    if (xml.GetDateAttrib(date, L"/Rawdata/Tavrion/Inspection/Patient_section/Acquition_date", 1)) {
        SetAcqTime(info, _wtoi(date.strYear), _wtoi(date.strMonth), _wtoi(date.strDay), _wtoi(date.strHour),
                   _wtoi(date.strMinute), _wtoi(date.strSecond));
    } else {
        SetAcqTime(info, 0, 0, 0, 0, 0, 0);
    }
    CString value;
    info->strPatientID =
        xml.GetDataFromXMLDOM(value, L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id", 4, CString())
            ? value
            : CString();
    info->strPatientName =
        xml.GetDataFromXMLDOM(value, L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_name", 4, CString())
            ? value
            : CString();
    const int annotations = xml.GetObjectCount(L"/Rawdata/Annotation/Anno");
    if (annotations >= 1)
        info->nAnnoCount = annotations;
}

// ---- a record's first record XML -------------------------------------------------------

namespace {

void TakeListedPatient(const _FILEITEM_INFO& info, _PATIENT_INFO& patient)
{
    patient.strPatientID = info.strPatientID;
    patient.strName = info.strPatientName;
    patient.strAcqTime = info.strAcqTime.IsEmpty() ? CString(kNoTime) : info.strAcqTime;
}

}  // namespace

BOOL CTavrionDoc::IsRecordXMLToBeMade(const CString& strXMLPath)
{
    if (strXMLPath.IsEmpty())
        return FALSE;
    // A file under the name, even one that cannot be read, is what the
    // record stores. A folder in the way is no record XML: the record still
    // shows what its file carries, and its save says why it cannot write.
    // A name another record's file took meanwhile stands for the next one.
    const DWORD attributes = GetFileAttributes(CECGXMLParser::FileFor(strXMLPath));
    return attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ? TRUE : FALSE;
}

BOOL CTavrionDoc::GetPatInfoFromRecordFile(const CString& strXMLPath, _ECGDATA* image, _PATIENT_INFO& patient,
                                           const CString& strRecordPath)
{
    if (!image || !IsRecordXMLToBeMade(strXMLPath))
        return FALSE;
    _FILEITEM_INFO info;
    SetAcqTime(&info, 0, 0, 0, 0, 0, 0);
    ReadRecordFileInfo(image, &info);
    TakeListedPatient(info, patient);
    SeedRecordXML(strXMLPath, patient, strRecordPath);
    return TRUE;
}

BOOL CTavrionDoc::GetPatInfoFromMFERFile(const CString& strXMLPath, CMFERParser* reader, const CString& strHL7Path,
                                         _PATIENT_INFO& patient, const CString& strRecordPath)
{
    if (!reader || !IsRecordXMLToBeMade(strXMLPath))
        return FALSE;
    const MFER_ROOT* root = reader->GetMFERRoot();
    if (!root)
        return FALSE;
    _FILEITEM_INFO info;
    // A header that names no patient is no source of one: the file's own fields are.
    if (!strHL7Path.IsEmpty() && FileExists(strHL7Path)) {
        ReadHl7FileInfo(strHL7Path, &info);
        if (info.failure == FileListFailure::None) {
            TakeListedPatient(info, patient);
            SeedRecordXML(strXMLPath, patient, strRecordPath);
            return TRUE;
        }
        info = _FILEITEM_INFO();
    }
    ReadMferRootInfo(root, &info);
    TakeListedPatient(info, patient);
    SeedRecordXML(strXMLPath, patient, strRecordPath);
    return TRUE;
}
