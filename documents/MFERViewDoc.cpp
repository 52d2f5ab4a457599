// Opening an MFER file into its item, reading the companion record XML, and
// the waveform and lead-name access of the views.
#include "documents/MFERViewDoc.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/Helpers.h"
#include "core/LayoutNames.h"
#include "documents/AverageSTTexts.h"
#include "documents/RecordXmlText.h"
#include "documents/RestXmlText.h"
#include "platform/base/CodePage.h"
#include "documents/RecordPaths.h"

IMPLEMENT_DYNCREATE(CMFERViewDoc, CTavrionDoc)

namespace {

using namespace recordpath;

const wchar_t* const kMeasureKeys[MFER_MEASURE_KEYS] = {
    L"Pa",  L"Ppa", L"Eqd", L"Qd",  L"Qa",  L"Rd",  L"Ra",  L"Sd",  L"Sa",  L"Rpd", L"Rpa",        L"Spd",
    L"Spa", L"Vat", L"Qrsa", L"Stj", L"Stm", L"Ste", L"Mta", L"Ta",  L"Tpa", L"Tup", L"Delta_wave",
};

const wchar_t* const kMinnesotaRows = L"/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota";
const wchar_t* const kIvrelRows = L"/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel";

// What the preamble of a named extra-lead file decides besides its kind.
struct ExtraLayout {
    const wchar_t* pszDescription;
    int nLeadGroups;
    int bOddLead;
    int nPageStyle;
};
const ExtraLayout kExtraLayouts[] = {
    {L"MFR Extra 3 leads ECG", 3, 0, 52},       {L"MFR Extra 4 leads ECG", 3, 1, 54},
    {L"MFR Extra 6 leads ECG (6x1)", 6, 0, 56}, {L"MFR Extra 6 leads ECG (3x2)", 6, 0, 58},
    {L"MFR Extra 7 leads ECG", 6, 1, 64},
};
const wchar_t* const kFreezeDescription = L"MFR Extra Freeze ECG";

// Reads one value; a failed read leaves the text empty.
bool ReadValue(CECGXMLParser& xml, const CString& path, CString& value, int type = 4,
               const CString& attrib = CString())
{
    if (xml.GetDataFromXMLDOM(value, path, type, attrib)) return true;
    value.Empty();
    return false;
}

CString Numbered(const wchar_t* format, int n)
{
    CString name;
    name.Format(format, n);
    return name;
}

LayoutTable TableOf(CMFERViewDoc::MferForm form)
{
    switch (form) {
    case CMFERViewDoc::MferForm::Rest: return LayoutTable::Rest;
    case CMFERViewDoc::MferForm::Rhythm: return LayoutTable::Rhythm;
    case CMFERViewDoc::MferForm::Extra: return LayoutTable::Extra;
    default: return LayoutTable::Count;
    }
}

// The GetDefXMLPath kind of a form's screen table.
int PathKindOf(CMFERViewDoc::MferForm form)
{
    switch (form) {
    case CMFERViewDoc::MferForm::Rest: return 1;
    case CMFERViewDoc::MferForm::Rhythm: return 4;
    case CMFERViewDoc::MferForm::Extra: return 5;
    default: return -1;
    }
}

int ControlIndex(CMFERViewDoc::MferForm form, const wchar_t* pszControl)
{
    const _LAYOUT_TABLE_NAMES* names = GetLayoutTableNames(TableOf(form));
    if (!names || !pszControl) return -1;
    for (int i = 0; i < names->nCount; ++i) {
        if (std::wcscmp(names->ppszNames[i], pszControl) == 0) return i;
    }
    return -1;
}

// The form that reading uses: chosen by the kind alone.
CMFERViewDoc::MferForm ReadFormOf(unsigned kind)
{
    if (CMFERViewDoc::IsFullLeadKind(kind)) return CMFERViewDoc::MferForm::Rest;
    if (CMFERViewDoc::IsStripKind(kind)) return CMFERViewDoc::MferForm::Rhythm;
    if (CMFERViewDoc::IsExtraFamily(kind)) return CMFERViewDoc::MferForm::Extra;
    return CMFERViewDoc::MferForm::None;
}

}  // namespace

CMFERViewDoc::CMFERViewDoc() : m_nRestPageStyle(1), m_nRhythmPageStyle(35), m_nExtraPageStyle(52)
{
    InitCheckArray();
    for (int i = 0; i < MFER_MEASURE_KEYS; ++i) m_strMeasureKey[i] = kMeasureKeys[i];
}

CMFERViewDoc::~CMFERViewDoc()
{
    m_MFERDataManager.FreeAll();
}

// ---- the item list -------------------------------------------------------------------

_MFERDATAITEM* CMFERViewDoc::GetCurrentDataItem()
{
    return m_MFERDataManager.GetItem(m_nCurDataIndex);
}

_MFERDATAITEM* CMFERViewDoc::GetMFERListHeader()
{
    return m_MFERDataManager.GetListHeader();
}

CDataManager<_MFERDATAITEM>* CMFERViewDoc::GetMFERDataManager()
{
    return &m_MFERDataManager;
}

int CMFERViewDoc::GetCurItemLeadCount()
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item || !item->pMFERParser) return 255;
    return item->pMFERParser->GetLeadCount();
}

int CMFERViewDoc::GetLeadLayoutBySystemCode(int nKind)
{
    const unsigned kind = static_cast<unsigned>(nKind);
    if (IsFreezeKind(kind)) return static_cast<int>(kind - 0x7010);
    switch (kind) {
    case MFER_KIND_EXTRA3: return 3;
    case MFER_KIND_EXTRA4: return 4;
    case MFER_KIND_EXTRA6: return 6;
    case MFER_KIND_EXTRA7: return 7;
    case MFER_KIND_1LEAD: return 1;
    case MFER_KIND_3LEAD: return 3;
    case MFER_KIND_12LEAD: return 12;
    case MFER_KIND_15LEAD: return 15;
    default: return 0;
    }
}

double CMFERViewDoc::GetSampleRate()
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    const double rate = item && item->pMFERParser ? item->pMFERParser->GetSamplingFrequency() : 0.0;
    return rate > 0.0 ? rate : 500.0;
}

// ---- layout helpers ------------------------------------------------------------------

CString CMFERViewDoc::FormPath(MferForm form, const wchar_t* pszControl, int alt)
{
    const int index = ControlIndex(form, pszControl);
    if (index < 0) return CString();
    return GetDefXMLPath(PathKindOf(form), index, alt);
}

CString CMFERViewDoc::FormCaption(MferForm form, const wchar_t* pszControl, const wchar_t* pszDefault)
{
    const int index = ControlIndex(form, pszControl);
    const _POSITION_CTRL* entries = GetLayoutEntries(g_stDefCtrlPos, TableOf(form));
    CString caption;
    if (index >= 0 && entries) caption = entries[index].strCaption;
    if (caption.IsEmpty()) caption.Format(L"%s", pszDefault);
    return caption;
}

// ---- opening ---------------------------------------------------------------------------

int CMFERViewDoc::OpenMFERFile(CString& strMFERPath, CString& strXMLPath, CString& strThirdKey)
{
    _MFERDATAITEM* item = m_MFERDataManager.GetItem(strXMLPath, strMFERPath, strThirdKey);
    if (!item) return 1;
    if (!item->pMFERParser) item->pMFERParser = new CMFERParser;
    CMFERParser* reader = item->pMFERParser;
    m_filteredLeads.Clear();   // a reader opened again reads another file
    if (!reader->OpenMFER(strMFERPath)) return 255;
    MFER_ROOT* root = reader->GetMFERRoot();
    if (!root) return 255;

    const size_t length = strnlen(root->szDescription, sizeof(root->szDescription));
    CString description(platform::DecodeCodePage(932, root->szDescription, length).c_str());
    description.Trim();
    const int leadCount = reader->GetLeadCount();
    const unsigned kind = static_cast<unsigned>(MFERSystemCode(description, leadCount));
    if (kind == MFER_KIND_UNKNOWN) {
        item->uSystemCode = MFER_KIND_UNKNOWN;
        if (description.CompareNoCase(kFreezeDescription) != 0) {
            m_nRestPageStyle = 0;
            m_nRhythmPageStyle = 0;
        }
        return 255;
    }

    item->uSystemCode = kind;
    item->bNamedExtra = IsNamedExtraKind(kind) ? 1 : 0;
    item->bExtraOddLead = 0;
    item->bRhythmRecording = 0;
    if (IsNamedExtraKind(kind)) {
        for (const ExtraLayout& layout : kExtraLayouts) {
            if (description.CompareNoCase(layout.pszDescription) != 0) continue;
            item->nLeadGroups = layout.nLeadGroups;
            item->bExtraOddLead = layout.bOddLead;
            item->nItemPageStyle = layout.nPageStyle;
        }
        m_nExtraPageStyle = item->nItemPageStyle;
    } else if (IsFreezeKind(kind)) {
        item->nLeadGroups = 6;
        item->nItemPageStyle = 56;
        m_nExtraPageStyle = item->nItemPageStyle;
    } else if (IsStripKind(kind)) {
        m_nRhythmPageStyle = kind == MFER_KIND_1LEAD ? 35 : 38;
    } else {
        m_nRestPageStyle = 1;
        const wchar_t* rhythm = kind == MFER_KIND_12LEAD ? L"MFR Rhythm 12 leads ECG" : L"MFR Rhythm 15 leads ECG";
        item->bRhythmRecording = description.CompareNoCase(rhythm) == 0 ? 1 : 0;
    }

    // The length at the file's own rate: recorders write 100 to 1000 samples a second.
    const DWORD samples = root->dwSampleCount;
    const double rate = reader->GetSamplingFrequency() > 0.0 ? reader->GetSamplingFrequency() : 500.0;
    // A file may state any rate: the length shown is held to what the item keeps (255 minutes).
    const long seconds = static_cast<long>(std::min(samples / rate, 255.0 * 60.0 + 59.0));
    item->byMinutes = static_cast<BYTE>(std::min<long>(seconds / 60, 255));
    item->bySeconds = static_cast<BYTE>(seconds % 60);

    if (item->nLeadGroups == 3) {
        RefPosF(82) = RefPosF(81);
        m_fSense[0][5] = RefPosF(81);
    }

    DeleteAnnotationChain(item->pAnnoHead);
    item->pAnnoHead = new _ANNOTATION_INFO;

    GetCtrlPosFromXSL(LOAD_POS_REST);
    GetCtrlPosFromXSL(LOAD_POS_RHYTHM);
    GetCtrlPosFromXSL(LOAD_POS_EXTRA);
    GetDataInfoFromXMLFile(item);
    FillItemBeatTexts(*item);
    item->strVersion = GetVersionText(item->strXMLPath.IsEmpty() ? nullptr : item->strXMLPath.GetString());
    return 0;
}

void CMFERViewDoc::GetLeadName(int nKind, _LEAD_NAME_INFO& names, CMFERParser* pReader)
{
    const unsigned kind = static_cast<unsigned>(nKind);
    if (!IsExtraFamily(kind) && !IsStripKind(kind) && !IsFullLeadKind(kind)) return;
    const int count = GetLeadCountBySystemCode(kind);
    for (int i = 0; i < LEAD_NAME_CODES; ++i) {
        if (i < count && pReader)
            names.strDispName[i] = pReader->GetLeadName(i);
        else
            names.strDispName[i].Empty();
    }
}

// ---- reading the record XML -----------------------------------------------------------------

int CMFERViewDoc::GetDataInfoFromXMLFile(_MFERDATAITEM* pItem)
{
    if (!pItem || pItem->strXMLPath.IsEmpty()) return 255;
    _MFERDATAITEM& item = *pItem;
    const unsigned kind = item.uSystemCode;
    const MferForm form = ReadFormOf(kind);
    CECGXMLParser xml(item.strXMLPath, 0, CString());

    GetPatInfoFromXML(static_cast<int>(kind), item.stPatient, &xml);
    GetPatInfoFromMFERFile(item.strXMLPath, item.pMFERParser, item.strThirdKey, item.stPatient, item.strFilePath);
    ReadAnnotationsAgain(item.pAnnoHead, &xml);
    GetLeadName(static_cast<int>(kind), item.stLeadName, item.pMFERParser);

    ReadInterpretation(item, xml, form);
    // Saving writes the edit time back as a date element: read it as one, so
    // that a save keeps it rather than emptying its parts.
    item.stPatient.strReserved = ReadRecordDate(xml, kPatientEditTime, RecordDateCheck::Any);
    if (item.stPatient.strReserved.IsEmpty()) ReadValue(xml, kPatientEditTime, item.stPatient.strReserved);
    _INTERPRE_INFO_REST& info = item.stInterpre;
    ReadValue(xml, FormPath(form, L"Interpre_info_editor_stc", 0), info.strInfoEditor);
    info.strInfoEditDate = ReadRecordDate(xml, FormPath(form, L"Interpre_info_editor_date_stc", 0), RecordDateCheck::Any);
    // The record has no image to say whether it carries additions: the
    // record XML alone decides, so that they load and are saved back.
    ReadAdditionsFromXML(&xml, item.stAddition);
    ReadMinnesota(info, xml);
    ReadIvrel(info, xml);
    ReadValue(xml, FormPath(MferForm::Rest, L"Interpre_recommend_stc", 0), info.strRecommend);
    info.stBirthday = ReadBirthday(item, xml);
    ReadAnalysisEditor(item, xml);

    ReadValue(xml, FormPath(form, L"Interpre_comment_editor_stc", 0), info.strCommentEditor);
    info.strCommentEditDate = ReadRecordDate(xml, FormPath(form, L"Interpre_comment_date_stc", 0), RecordDateCheck::Any);
    ReadValue(xml, FormPath(form, L"Interpre_comment_edt", 0), info.strComment);
    info.strComment = ToCrLf(info.strComment);

    ReadMeasurements(item, xml);
    // The dividers place themselves from the measured heart rate.
    item.strHeartRate = item.stMeasure.strGlobal[0];
    ReadValue(xml, kMasterStepInfo, item.strMasterStep);
    item.nAcqFilter = GetAcquisitionFilter(&xml, 0);
    item.fAcqSense = GetAcquisitionSense(&xml, 0);
    return 0;
}

void CMFERViewDoc::ReadInterpretation(_MFERDATAITEM& item, CECGXMLParser& xml, MferForm form)
{
    _INTERPRE_INFO_REST& info = item.stInterpre;
    CString index;
    ReadValue(xml, FormPath(form, L"Interpre_medication1_cmb", 1), info.strMedication1);
    info.nMedication1Sel = ReadListIndexOf(xml, FormPath(form, L"Interpre_medication1_cmb", 0));
    ReadValue(xml, FormPath(form, L"Interpre_medication2_cmb", 1), info.strMedication2);
    info.nMedication2Sel = ReadListIndexOf(xml, FormPath(form, L"Interpre_medication2_cmb", 0));

    ReadValue(xml, FormPath(form, L"Interpre_symptom_cmb", 0), info.strSympton);
    ReadValue(xml, FormPath(form, L"Interpre_disease_cmb", 0), info.strDisease);
    ReadValue(xml, FormPath(form, L"Interpre_department_cmb", 0), info.strDepartment);
    ReadValue(xml, FormPath(form, L"Interpre_ward_cmb", 0), info.strWard);
    ReadValue(xml, FormPath(form, L"Interpre_room_no_edt", 0), info.strRoomNumber);
    info.bReqSection = ReadValue(xml, FormPath(form, L"Interpre_req_section_cmb", 0), info.strReqSection) ? 1 : 0;
    ReadValue(xml, FormPath(form, L"Interpre_req_doctor_cmb", 0), info.strReqDoctor);
    ReadValue(xml, FormPath(form, L"Interpre_technician_cmb", 0), info.strTechnician);
}

int CMFERViewDoc::ReadListIndexOf(CECGXMLParser& xml, const CString& path)
{
    CString index;
    return ReadValue(xml, path, index) ? _wtoi(index) : -1;
}

void CMFERViewDoc::ReadMinnesota(_INTERPRE_INFO_REST& info, CECGXMLParser& xml, std::vector<int>* shown)
{
    // A record may list more rows than the form has; only the form's rows
    // are kept, and the count never promises more than the arrays hold.
    const int rows = xml.GetObjectCount(kMinnesotaRows);
    info.nMinneCount = std::min(rows, INTERPRE_MINNESOTA_ROWS);
    for (int i = 1; i <= INTERPRE_MINNESOTA_ROWS; ++i) {
        CString& code = info.strMinneCode[i - 1];
        CString& mask = info.strMinneMask[i - 1];
        CString& content = info.strMinneContent[i - 1];
        code.Empty();
        mask.Empty();
        content.Empty();
        if (i > rows) continue;
        ReadValue(xml, FormPath(MferForm::Rest, Numbered(L"Interpre_minne_num_%d_edt", i), 0), code);
        ReadValue(xml, FormPath(MferForm::Rest, Numbered(L"Interpre_minne_mask_%d_stc", i), 0), mask);
        if (!IsMinnesotaNotMatchingValid(code, mask)) {
            code.Empty();
            mask.Empty();
            continue;
        }
        ReadValue(xml, FormPath(MferForm::Rest, Numbered(L"Interpre_minne_content_%d_edt", i), 0), content);
        if (shown) shown->push_back(i);
    }
    info.strMinneContent[INTERPRE_MINNESOTA_ROWS].Empty();
}

void CMFERViewDoc::ReadIvrel(_INTERPRE_INFO_REST& info, CECGXMLParser& xml, std::vector<int>* shown)
{
    CECGXMLParser master(IvrelMasterPath(), 0, CString());
    CString code;
    const bool codeRead = ReadValue(xml, FormPath(MferForm::Rest, L"Interpre_ivrel_judge_stc", 0), code);
    const CString judgeMaster = IvrelMasterText(master, kIvrelJudgementList, code);
    info.strIvrelJudgeCode.Empty();
    info.strIvrelJudge.Empty();
    if (codeRead && !judgeMaster.IsEmpty()) {
        CString text;
        if (!ReadValue(xml, FormPath(MferForm::Rest, L"Interpre_ivrel_judge_cmb", 0), text)) {
            info.strIvrelJudgeCode = code;
        } else if (text.CompareNoCase(judgeMaster) == 0) {
            info.strIvrelJudgeCode = code;
            info.strIvrelJudge = text;
        }
    }

    const int rows = xml.GetObjectCount(kIvrelRows);
    info.nIvrelCount = std::min(rows, INTERPRE_IVREL_ROWS);
    for (int i = 0; i <= INTERPRE_IVREL_ROWS; ++i) {
        info.strIvrelCode[i].Empty();
        info.strIvrelMask[i].Empty();
        info.strIvrelContent[i].Empty();
    }
    for (int i = 1; i <= std::min(rows, INTERPRE_IVREL_ROWS); ++i) {
        ReadValue(xml, FormPath(MferForm::Rest, Numbered(L"Interpre_ivrel_num_%d_edt", i), 0), code);
        CString text = IvrelMasterText(master, kIvrelCodeList, code);
        if (text.IsEmpty()) text = IvrelMasterText(master, kIvrelJudgementList, code);
        // A row whose code is missing or unknown has nothing to check its
        // content against: it is dropped whole.
        if (text.IsEmpty()) continue;
        info.strIvrelCode[i] = code;
        ReadValue(xml, FormPath(MferForm::Rest, Numbered(L"Interpre_ivrel_mask_%d_stc", i), 0), info.strIvrelMask[i]);
        CString content;
        if (!ReadValue(xml, FormPath(MferForm::Rest, Numbered(L"Interpre_ivrel_content_%d_edt", i), 0), content)) {
            if (shown) shown->push_back(i);
            continue;
        }
        // A code saved without its text is kept, as the code check of the
        // forms accepts it; only a text that is not the code's drops the row.
        if (!content.IsEmpty() && content.CompareNoCase(text) != 0) {
            info.strIvrelCode[i].Empty();
            info.strIvrelMask[i].Empty();
            continue;
        }
        info.strIvrelContent[i] = content;
        if (shown) shown->push_back(i);
    }
}

_BIRTHDAY CMFERViewDoc::ReadBirthday(const _MFERDATAITEM& item, CECGXMLParser& xml)
{
    _BIRTHDAY birthday;
    CString* const parts[3] = {&birthday.strYear, &birthday.strMonth, &birthday.strDay};
    const wchar_t* const controls[3] = {L"Interpre_year_edt", L"Interpre_month_edt", L"Interpre_day_edt"};
    const wchar_t* const attribs[3] = {L"year", L"month", L"day"};
    const bool strip = IsStripKind(item.uSystemCode);
    for (int i = 0; i < 3; ++i) {
        CString value;
        const bool read = strip ? ReadValue(xml, FormPath(MferForm::Rhythm, controls[i], 0), value)
                                : ReadValue(xml, kBirthday, value, 2, attribs[i]);
        value.Trim();
        if (!read || value.IsEmpty()) {
            parts[i]->Empty();
            continue;
        }
        parts[i]->Format(i == 0 ? L"%04d" : L"%02d", _wtoi(value));
    }
    return CheckBirthday(birthday);
}

void CMFERViewDoc::ReadAnalysisEditor(_MFERDATAITEM& item, CECGXMLParser& xml)
{
    _INTERPRE_INFO_REST& info = item.stInterpre;
    if (IsFullLeadKind(item.uSystemCode)) {
        ReadValue(xml, FormPath(MferForm::Rest, L"Interpre_ana_editor_stc", 0), info.strAnaEditor);
        info.strAnaEditDate = ReadAnalysisDate(xml, FormPath(MferForm::Rest, L"Interpre_ana_date_stc", 0),
                                               FormPath(MferForm::Rest, L"Interpre_ana_date_stc", 1),
                                               AnalysisDateRead::FirstThenSecond);
        return;
    }
    ReadValue(xml, kAnalysisEditor, info.strAnaEditor);
    info.strAnaEditDate = ReadAnalysisDate(xml, kAnalysisDate, kAnalysisEditDate, AnalysisDateRead::FirstOnly);
}

void CMFERViewDoc::ReadMeasurements(_MFERDATAITEM& item, CECGXMLParser& xml)
{
    _MEASURE_INFO& measure = item.stMeasure;
    if (IsExtraFamily(item.uSystemCode)) {
        ReadValue(xml, kHeartRate, measure.strGlobal[0]);
        return;
    }
    if (!IsFullLeadKind(item.uSystemCode)) return;

    for (int k = 0; k < MFER_MEASURE_KEYS; ++k) {
        const CString& key = m_strMeasureKey[k];
        const wchar_t* missing = (key == L"Tup" || key == L"Delta_wave") ? L"*" : L"****";
        CString base, element;
        base.Format(L"/Rawdata/Tavrion/Measurement/Measurement_section/Mm/%s", key.GetString());
        element.Format(L"%s_element", key.GetString());
        for (int l = 1; l <= MEASURE_LEADS; ++l) {
            CString path;
            path.Format(L"%s/%s[%d]", base.GetString(), element.GetString(), l);
            CString value;
            measure.At(k, l - 1) = ReadValue(xml, path, value, 2, L"data") ? value : CString(missing);
        }
    }

    // The resting document's bindings and stand-ins: the MFER rest form binds the same.
    for (int g = 0; g < MEASURE_GLOBALS; ++g) {
        const RestGlobalBinding& binding = kRestGlobals[g];
        const CString path = FormPath(MferForm::Rest, binding.pszControl, binding.nAlt);
        measure.strGlobal[g] = ReadRestGlobal(xml, path, binding);
    }
}

// ---- waveforms -------------------------------------------------------------------------

int CMFERViewDoc::GetRhythmWaveData(int lead, short* buffer, int size)
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item || !item->pMFERParser) return 0;
    return GetRhythmWaveData(lead, buffer, size, item->pMFERParser->GetWaveLength(0));
}

// The samples go out as the file holds them: the recorder filtered them
// already, and the views name the file's own filter text beside them.
int CMFERViewDoc::GetRhythmWaveData(int lead, short* buffer, int /*size*/, int nBufferBytes)
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item || !item->pMFERParser) return 0;
    CMFERParser* reader = item->pMFERParser;
    const int bytes = reader->GetWaveLength(0);
    // A lead the file does not hold has no size either: the copy would give nothing.
    if (lead < 0 || lead >= reader->GetLeadCount()) return 0;
    if (!buffer) return bytes;
    if (bytes <= 0 || nBufferBytes < 2) return 0;
    const int count = bytes / 2;
    const int filter = IsDelBitNoise() ? 1 : 0;
    if (nBufferBytes >= bytes && !m_filteredLeads.Find(reader, lead, filter)) {
        // A caller holding the whole lead has it read straight into its
        // buffer: short of memory, the read needs no more than that.
        if (!reader->GetWaveData(0, lead, buffer)) return 0;
        if (filter) DeleteBitNoise(buffer, static_cast<unsigned>(count));
        if (m_filteredLeads.HasRoomFor(static_cast<size_t>(count))) {
            try {
                m_filteredLeads.Keep(reader, lead, filter, std::make_shared<std::vector<short>>(buffer, buffer + count));
            } catch (const std::bad_alloc&) {
                // not kept: the next load converts the lead again
            }
        }
        return bytes;
    }
    const SharedSamples samples = ShareRhythmWaveData(lead);
    if (!samples) return 0;
    const int copied = static_cast<int>(std::min<size_t>(static_cast<size_t>(nBufferBytes / 2), samples.count));
    std::memcpy(buffer, samples.samples.get(), static_cast<size_t>(copied) * sizeof(short));
    return copied * 2;
}

SharedSamples CMFERViewDoc::ShareRhythmWaveData(int lead)
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item || !item->pMFERParser) return SharedSamples();
    CMFERParser* reader = item->pMFERParser;
    const int bytes = reader->GetWaveLength(0);
    if (lead < 0 || lead >= reader->GetLeadCount() || bytes < 2) return SharedSamples();
    const int filter = IsDelBitNoise() ? 1 : 0;
    CFilteredLeads::Samples kept = m_filteredLeads.Find(reader, lead, filter);
    if (!kept) {
        // Sized by the record, so a machine short of memory fails the read
        // rather than the program.
        // Room for every byte the reader gives, an odd last one included.
        const size_t slots = static_cast<size_t>(bytes / 2 + bytes % 2);
        std::shared_ptr<std::vector<short>> samples;
        try {
            samples = std::make_shared<std::vector<short>>(slots);
        } catch (const std::bad_alloc&) {
            // Leads kept for later must not cost this one: they go first.
            if (!m_filteredLeads.Release()) return SharedSamples();
            try {
                samples = std::make_shared<std::vector<short>>(slots);
            } catch (const std::bad_alloc&) {
                return SharedSamples();
            }
        }
        if (!reader->GetWaveData(0, lead, samples->data())) return SharedSamples();
        samples->resize(static_cast<size_t>(bytes / 2));
        if (filter) DeleteBitNoise(samples->data(), static_cast<unsigned>(samples->size()));
        m_filteredLeads.Keep(reader, lead, filter, samples);
        kept = std::move(samples);
    }
    const short* first = kept->data();
    const size_t count = kept->size();
    return SharedSamples::Of(std::move(kept), first, count);
}

CString CMFERViewDoc::GetMFERFilter()
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item || !item->pMFERParser) return CString();
    return item->pMFERParser->GetFilter();
}
