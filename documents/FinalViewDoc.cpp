// The master-step document: construction, opening a record and filling its
// item from the record XML.
#include "documents/FinalViewDoc.h"

#include <algorithm>
#include <climits>
#include <cwchar>

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "documents/FinalViewDocPaths.h"
#include "documents/RecordXmlText.h"

IMPLEMENT_DYNCREATE(CFinalViewDoc, CTavrionDoc)

BEGIN_MESSAGE_MAP(CFinalViewDoc, CTavrionDoc)
END_MESSAGE_MAP()

using namespace finalpaths;

namespace {

// Post-load comparisons a record may name. The array is allocated from a
// count in the record XML, which must not decide the allocation alone.
const int kMaxLoadCount = 1000;

// An integer of the record XML; the default when the value does not read.
int ReadInt(CECGXMLParser* xml, const CString& xpath, int nDefault, const wchar_t* attrib = nullptr)
{
    CString value;
    if (xpath.IsEmpty()) return nDefault;
    const int read = attrib ? xml->GetDataFromXMLDOM(value, xpath, 2, attrib) : xml->GetDataFromXMLDOM(value, xpath, 4, CString());
    return read ? _wtoi(value) : nDefault;
}

short ToShort(int value)
{
    return static_cast<short>(std::clamp(value, SHRT_MIN, SHRT_MAX));
}

BYTE ToByte(int value)
{
    return static_cast<BYTE>(std::clamp(value, 0, 255));
}

CString Indexed(const wchar_t* format, int index)
{
    CString path;
    path.Format(format, index);
    return path;
}

CString Indexed(const wchar_t* format, int first, int second)
{
    CString path;
    path.Format(format, first, second);
    return path;
}

}  // namespace

// ---- construction ------------------------------------------------------------------------

CFinalViewDoc::CFinalViewDoc() : m_nPageStyle(1)
{
    m_nPageStyle = GetPageStyle();
    // The base built the patient store only; this document's form binds more.
    m_CheckArray.RemoveAll();
    InitCheckArray();
}

CFinalViewDoc::~CFinalViewDoc()
{
    m_FinalDataManager.FreeAll();
}

_FINAL_PAGE_STYLE CFinalViewDoc::GetPageStyle() const
{
    const int style = m_stDefaultRef.RefInt(REF_FINAL_PAGE_STYLE);
    return (style >= 1 && style <= 4) ? style : 1;
}

void CFinalViewDoc::SetPageStyle(_FINAL_PAGE_STYLE style)
{
    if (style < 1 || style > 4) style = 1;
    m_stDefaultRef.RefInt(REF_FINAL_PAGE_STYLE) = style;
    m_nPageStyle = style;
}

CString CFinalViewDoc::MsfrPath(int nEntry, int nAlt)
{
    // The record paths come from the layout stylesheet; a document opened
    // before any form loaded the master-step table loads it here.
    if (!g_stDefCtrlPos.bFinalLoaded) GetCtrlPosFromXSL(LOAD_POS_FINAL);
    return GetDefXMLPath(kFinalLayoutKind, nEntry, nAlt);
}

// ---- opening -----------------------------------------------------------------------------

int CFinalViewDoc::OpenFile(CString& strXMLPath, CString& strFilePath)
{
    // A failed opening keeps the host's item. A record without the reader's
    // blob fails and leaves it without an image; memory short for the blob
    // fails too, rather than report an opening whose record XML was never
    // read. A blob there but unreadable is left out: the record opens with
    // its record XML and without waves.
    _FINALDATAITEM* item = nullptr;
    const int result = OpenRecordCommon(m_FinalDataManager, strXMLPath, strFilePath, item, TRUE);
    if (result != 0) return result;
    DeleteAnnotationChain(item->pAnnoHead);
    item->pAnnoHead = new _ANNOTATION_INFO;
    GetDataInfoFromXMLFile(item);
    item->strVersion = GetVersionText(item->strXMLPath);
    return 0;
}

int CFinalViewDoc::GetDataInfoFromXMLFile(_FINALDATAITEM* pItem)
{
    if (!pItem || !pItem->pECGData || pItem->strXMLPath.IsEmpty()) return 255;
    if (!g_stDefCtrlPos.bFinalLoaded || !g_stDefCtrlPos.bPatInfoLoaded) GetCtrlPosFromXSL(LOAD_POS_FINAL);
    CECGXMLParser xml(pItem->strXMLPath, 0, CString());
    const int code = static_cast<int>(pItem->uSystemCode);

    GetPatInfoFromXML(code, pItem->stPatient, &xml);
    GetPatInfoFromRecordFile(pItem->strXMLPath, pItem->pECGData, pItem->stPatient, pItem->strFilePath);
    ReadAnnotationsAgain(pItem->pAnnoHead, &xml);
    GetLeadNameFromXML(code, pItem->stLeadName, &xml);

    ReadInterpretation(pItem, &xml);
    GetAdditionalInforFromXMLFile(&xml, pItem->stAddition, pItem->pECGData);
    ReadIvrelJudgement(&xml, pItem->stInterpre.strFree[FINAL_FREE_IVREL_CODE],
                       pItem->stInterpre.strFree[FINAL_FREE_IVREL_TEXT]);
    ReadBirthday(pItem, &xml);
    ReadEditors(pItem, &xml);

    pItem->nDescentTable = ReadInt(&xml, kCmpLoad, -1, L"descent_table");
    pItem->nDescentLead = ReadInt(&xml, kCmpLoad, -1, L"descent_lead");
    const CString descent = Indexed(kCmpLoadElementFormat, pItem->nDescentTable) + L"/Pec_time";
    pItem->nDescentMinute = pItem->nDescentTable > 0 ? ReadInt(&xml, descent, 0, L"minute") : 0;
    pItem->nDescentSecond = pItem->nDescentTable > 0 ? ReadInt(&xml, descent, 0, L"second") : 0;

    ReadRestComparison(pItem, &xml);
    ReadLoadComparisons(pItem, &xml);
    const int current = pItem->nDescentTable - 1;
    pItem->nCurLoadIndex = current >= 0 && current < pItem->nLoadCount ? current : (pItem->nLoadCount > 0 ? 0 : -1);
    ReadSummaryTrend(pItem, &xml);
    ReadStepSection(pItem, &xml);
    return 0;
}

void CFinalViewDoc::ReadInterpretation(_FINALDATAITEM* pItem, CECGXMLParser* xml)
{
    _INTERPRE_INFO_GENERAL& info = pItem->stInterpre;
    info.strMedication1 = RecordXmlText(*xml, MsfrPath(MSFR_MEDICATION1_CMB, 1));
    // -1 (nothing chosen) where the index is missing or is no number: an
    // empty index must not choose the list's first entry.
    info.nMedication1Sel = ReadListIndex(*xml, MsfrPath(MSFR_MEDICATION1_CMB));
    info.strMedication2 = RecordXmlText(*xml, MsfrPath(MSFR_MEDICATION2_CMB, 1));
    info.nMedication2Sel = ReadListIndex(*xml, MsfrPath(MSFR_MEDICATION2_CMB));
    info.strSympton = RecordXmlText(*xml, MsfrPath(MSFR_SYMPTOM_CMB));
    info.strDisease = RecordXmlText(*xml, MsfrPath(MSFR_DISEASE_CMB));
    info.strDepartment = RecordXmlText(*xml, MsfrPath(MSFR_DEPARTMENT_CMB));
    info.strWard = RecordXmlText(*xml, MsfrPath(MSFR_WARD_CMB));
    info.strRoomNumber = RecordXmlText(*xml, recordpath::kRoomNumber);
    CString section;
    pItem->bRequestSection = xml->GetDataFromXMLDOM(section, kRequestSection, 4, CString()) ? 1 : 0;
    info.strReqSection = pItem->bRequestSection ? section : CString();
    info.strReqDoctor = RecordXmlText(*xml, MsfrPath(MSFR_REQ_DOCTOR_CMB));
    info.strTechnician = RecordXmlText(*xml, MsfrPath(MSFR_TECHNICIAN_CMB));

    // The edit time is a date element: its text is empty, so a record that
    // stores it as attributes keeps it through a save.
    CString editTime = RecordXmlText(*xml, kPatientEditTime);
    if (editTime.IsEmpty()) editTime = ReadRecordDate(*xml, kPatientEditTime, RecordDateCheck::Any);
    pItem->stPatient.strReserved = editTime;
    info.strFree[FINAL_FREE_PATIENT_EDITOR] = RecordXmlText(*xml, kPatientEditorName);
    info.strFree[FINAL_FREE_PATIENT_EDIT_DATE] = ReadRecordDate(*xml, kPatientEditDate, RecordDateCheck::Any);
}

void CFinalViewDoc::ReadIvrelJudgement(CECGXMLParser* xml, CString& code, CString& text)
{
    CString recordCode;
    if (!xml->GetDataFromXMLDOM(recordCode, MsfrPath(MSFR_IVREL_JUDGE_STC), 4, CString()) || recordCode.IsEmpty()) {
        code.Empty();
        text.Empty();
        return;
    }
    CECGXMLParser master(IvrelMasterPath(), 0, CString());
    const CString masterText = IvrelMasterText(master, kIvrelJudgementList, recordCode);
    if (masterText.IsEmpty()) {
        code.Empty();
        text.Empty();
        return;
    }
    code = recordCode;
    CString recordText;
    if (!xml->GetDataFromXMLDOM(recordText, MsfrPath(MSFR_IVREL_JUDGE_CMB), 4, CString())) {
        text.Empty();
    } else if (recordText.CompareNoCase(masterText) == 0) {
        text = recordText;
    } else {
        code.Empty();
        text.Empty();
    }
}

void CFinalViewDoc::ReadBirthday(_FINALDATAITEM* pItem, CECGXMLParser* xml)
{
    pItem->stInterpre.stBirthday = CheckBirthday(ReadBirthdayAttributes(*xml));
}

void CFinalViewDoc::ReadEditors(_FINALDATAITEM* pItem, CECGXMLParser* xml)
{
    _INTERPRE_INFO_GENERAL& info = pItem->stInterpre;
    info.strFree[FINAL_FREE_ANALYSIS_EDITOR] = RecordXmlText(*xml, kAnalysisEditor);
    info.strFree[FINAL_FREE_ANALYSIS_EDIT_DATE] =
        ReadAnalysisDate(*xml, kAnalysisDate, kAnalysisEditDate, AnalysisDateRead::FirstThenSecond);

    info.strFree[FINAL_FREE_COMMENT_EDITOR] = RecordXmlText(*xml, kCommentEditor);
    info.strFree[FINAL_FREE_COMMENT_EDIT_DATE] = ReadRecordDate(*xml, kCommentDate, RecordDateCheck::Any);
    info.strComment = ToCrLf(RecordXmlText(*xml, MsfrPath(MSFR_COMMENT_EDT)));
}

void CFinalViewDoc::ReadRestComparison(_FINALDATAITEM* pItem, CECGXMLParser* xml)
{
    MemoryFree(pItem->pRestAverageWave);
    pItem->pRestAverageWave = nullptr;
    const CString rest = kCmpRest;
    pItem->nRestStart = ReadInt(xml, rest + L"/Start", 0);
    pItem->nRestEnd = ReadInt(xml, rest + L"/End", 0);
    pItem->sRestQrsOnset = ToShort(ReadInt(xml, rest + L"/Qrs_onset", 0));
    for (int j = 1; j <= FINAL_ST_LEADS; ++j)
        pItem->sRestST[j - 1] = ToShort(ReadInt(xml, Indexed(kCmpRestStmFormat, j), 0, L"data"));
    pItem->sRestStatus = ToShort(ReadInt(xml, rest + L"/Status", 1));
    pItem->sRestHeartRate = ToShort(ReadInt(xml, rest + L"/Hr", 0));
}

void CFinalViewDoc::ReadLoadComparisons(_FINALDATAITEM* pItem, CECGXMLParser* xml)
{
    pItem->FreeLoadInfo();
    // The stored count names no more comparisons than the record holds.
    int count = ReadInt(xml, kCmpLoad, 0, L"count");
    count = std::min({count, xml->GetObjectCount(CString(kCmpLoad) + L"/Cmp_load_element"), kMaxLoadCount});
    if (count <= 0) return;
    pItem->pLoadInfo = static_cast<_FINAL_LOAD_INFO*>(MemoryAlloc(static_cast<UINT>(count * sizeof(_FINAL_LOAD_INFO))));
    if (!pItem->pLoadInfo) return;
    pItem->nLoadCount = count;
    for (int i = 1; i <= count; ++i) {
        _FINAL_LOAD_INFO& load = pItem->pLoadInfo[i - 1];
        const CString element = Indexed(kCmpLoadElementFormat, i);
        load.nStart = ReadInt(xml, element + L"/Start", 0);
        load.nEnd = ReadInt(xml, element + L"/End", 0);
        load.sQrsOnset = ToShort(ReadInt(xml, element + L"/Qrs_onset", 0));
        for (int j = 1; j <= FINAL_ST_LEADS; ++j)
            load.sST[j - 1] = ToShort(ReadInt(xml, Indexed(kCmpLoadStmFormat, i, j), 0, L"data"));
        const CString pec = element + L"/Pec_time";
        load.wYear = static_cast<unsigned short>(std::clamp(ReadInt(xml, pec, 0, L"year"), 0, 0xFFFF));
        load.byMonth = ToByte(ReadInt(xml, pec, 0, L"month"));
        load.byDay = ToByte(ReadInt(xml, pec, 0, L"day"));
        load.byHour = ToByte(ReadInt(xml, pec, 0, L"hour"));
        load.byMinute = ToByte(ReadInt(xml, pec, 0, L"minute"));
        load.bySecond = ToByte(ReadInt(xml, pec, 0, L"second"));
        load.sStatus = ToShort(ReadInt(xml, element + L"/Status", 0));
        load.sHeartRate = ToShort(ReadInt(xml, element + L"/Hr", 0));
    }
}

void CFinalViewDoc::ReadSummaryTrend(_FINALDATAITEM* pItem, CECGXMLParser* xml)
{
    _FINAL_WAVE_INFO& wave = pItem->stWaveInfo;
    wave.FreeTrend();
    // The table holds 31 points: a longer trend shows its first 31.
    const int count = std::clamp(ReadInt(xml, kSummaryTrend, 0, L"count"), 0, FINAL_TREND_POINTS);
    if (count == 0) return;
    const UINT bytes = static_cast<UINT>((count + 1) * sizeof(short));
    wave.pHeartRate = static_cast<short*>(MemoryAlloc(bytes));
    wave.pTrendTime = static_cast<short*>(MemoryAlloc(bytes));
    wave.pStatus = static_cast<short*>(MemoryAlloc(bytes));
    if (!wave.pHeartRate || !wave.pTrendTime || !wave.pStatus) {
        wave.FreeTrend();
        return;
    }
    // Point i of the record is entry i - 1 of each array, as of the table;
    // the arrays keep one spare entry past the last point.
    wave.sTrendCount = static_cast<short>(count);
    for (int i = 1; i <= count; ++i) {
        wave.pStatus[i - 1] = ToShort(ReadInt(xml, Indexed(kTrendStatusFormat, i), 0, L"data"));
        wave.pTrendTime[i - 1] = ToShort(ReadInt(xml, Indexed(kTrendTimeFormat, i), 0));
        wave.pHeartRate[i - 1] = ToShort(ReadInt(xml, Indexed(kTrendHrFormat, i), 0));
        for (int j = 1; j <= FINAL_ST_LEADS; ++j)
            wave.sTrend[i - 1][j - 1] = ToShort(ReadInt(xml, Indexed(kTrendValueFormat, i, j), 0, L"data"));
    }
}

void CFinalViewDoc::ReadStepSection(_FINALDATAITEM* pItem, CECGXMLParser* xml)
{
    _FINAL_WAVE_INFO& wave = pItem->stWaveInfo;
    wave.strLoadTime = RecordXmlText(*xml, kLoadTime);
    if (!IsTripInforSystemCode(static_cast<int>(pItem->uSystemCode))) {
        wave.strTripTotal.Empty();
        wave.strTripCount.Empty();
        wave.strMasterStepMode.Empty();
        return;
    }
    CString value;
    wave.strTripTotal = xml->GetDataFromXMLDOM(value, kTripInfo, 2, L"total") ? value : CString(L" ");
    wave.strTripCount = xml->GetDataFromXMLDOM(value, kTripInfo, 2, L"trip") ? value : CString(L" ");
    wave.strMasterStepMode = RecordXmlText(*xml, kMasterStepMode);
}
