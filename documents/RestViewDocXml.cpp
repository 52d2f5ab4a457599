// Reading a resting record's XML into its item: patient data, lead names,
// the resting form's fields, the Minnesota and IVREL code rows checked
// against their rules and master, the comment, the birthday, the
// measurements, the trip information and the acquisition settings.
#include <cmath>

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "documents/RestViewDoc.h"
#include "documents/RestXmlText.h"
#include "documents/RecordPaths.h"

namespace {

using namespace recordpath;

const wchar_t kExtraLeadCode[] = L"/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info/Wave_data[@number='%d']/Lead_code";
const wchar_t kMinnesotaNodes[] = L"/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas/Minnesota";
const wchar_t kIvrelNodes[] = L"/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles/Ivrel";

}  // namespace

CString CRestViewDoc::RestPath(LPCWSTR control, int alt)
{
    if (!g_stDefCtrlPos.bRestLoaded) GetCtrlPosFromXSL(LOAD_POS_REST);
    const int index = RestControlIndex(control);
    return index < 0 ? CString() : GetDefXMLPath(1, index, alt);
}

int CRestViewDoc::GetDataInfoFromXMLFile(_RESTDATAITEM* item)
{
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    CECGXMLParser xml(item->strXMLPath, item->b8000File, CString());
    const int code = static_cast<int>(item->uSystemCode);

    GetPatInfoFromXML(code, item->stPatient, &xml);
    GetPatInfoFromRecordFile(item->strXMLPath, item->pECGData, item->stPatient, item->strFilePath);
    if (!item->pAnnoHead) item->pAnnoHead = new _ANNOTATION_INFO;
    GetAnnoInfoFromXML(item->pAnnoHead, &xml);
    ReadLeadNames(item, xml);
    ReadInterpretation(item, xml);
    GetAdditionalInforFromXMLFile(&xml, item->stAddition, item->pECGData);
    ReadMinnesota(item->stInterpre, xml);
    ReadIvrel(item->stInterpre, xml, item->b8000File);
    item->stInterpre.strRecommend = RecordXmlText(xml, RestPath(L"Interpre_recommend_stc"));
    ReadBirthday(item, xml);
    ReadEditorsAndComment(item, xml);
    ReadMeasurements(item, xml);
    ReadTripInfo(item, xml);

    item->nAcqFilter = GetAcquisitionFilter(&xml, item->b8000File);
    item->fAcqSense = GetAcquisitionSense(&xml, item->b8000File);
    // The views divide by it: a record claiming no sensitivity is shown at 10 mm/mV.
    if (!(item->fAcqSense > 0.0f) || !std::isfinite(item->fAcqSense)) item->fAcqSense = 10.0f;
    return 0;
}

void CRestViewDoc::ReadLeadNames(_RESTDATAITEM* item, CECGXMLParser& xml)
{
    _LEAD_NAME_INFO& names = item->stLeadName;
    for (int n = 1; n <= LEAD_NAME_EDITABLE; ++n) {
        CString path;
        path.Format(L"%s[%d]", kLeadNameElement, n);
        long flag = -1;
        names.nFlag[n - 1] = RecordXmlNumber(xml, path, flag, L"flag") ? static_cast<int>(flag) : -1;
    }
    names.bChanged = (names.nFlag[0] == 0 || names.nFlag[0] == 1) ? 1 : 0;

    const bool fifteen = IsRestFifteenLead(item->uSystemCode);
    names.nLeadCount = fifteen ? 15 : 12;
    if (fifteen) names.nCount = 3;
    for (int i = 0; i < LEAD_NAME_CODES; ++i) {
        long value = 0;
        CString path;
        path.Format(kExtraLeadCode, i + 1);
        names.nCode[i] = i < names.nCount && RecordXmlNumber(xml, path, value) ? static_cast<int>(value) : 0;
    }
    GetLeadNameFromXML(static_cast<int>(item->uSystemCode), names, &xml);
}

void CRestViewDoc::ReadInterpretation(_RESTDATAITEM* item, CECGXMLParser& xml)
{
    _INTERPRE_INFO_REST& info = item->stInterpre;
    info.strMedication1 = RecordXmlText(xml, RestPath(L"Interpre_medication1_cmb", 1));
    info.nMedication1Sel = ReadListIndex(xml, RestPath(L"Interpre_medication1_cmb", 0));
    info.strMedication2 = RecordXmlText(xml, RestPath(L"Interpre_medication2_cmb", 1));
    info.nMedication2Sel = ReadListIndex(xml, RestPath(L"Interpre_medication2_cmb", 0));
    info.strSympton = RecordXmlText(xml, RestPath(L"Interpre_symptom_cmb"));
    info.strDisease = RecordXmlText(xml, RestPath(L"Interpre_disease_cmb"));
    info.strDepartment = RecordXmlText(xml, RestPath(L"Interpre_department_cmb"));
    info.strWard = RecordXmlText(xml, RestPath(L"Interpre_ward_cmb"));
    info.strRoomNumber = RecordXmlText(xml, RestPath(L"Interpre_room_no_edt"));
    const CString section = RestPath(L"Interpre_req_section_cmb");
    info.bReqSection = !section.IsEmpty() && xml.GetDataFromXMLDOM(info.strReqSection, section, 4, CString()) ? 1 : 0;
    if (!info.bReqSection) info.strReqSection.Empty();
    info.strReqDoctor = RecordXmlText(xml, RestPath(L"Interpre_req_doctor_cmb"));
    info.strTechnician = RecordXmlText(xml, RestPath(L"Interpre_technician_cmb"));
    // The edit time is saved as a date element: read as text alone, every
    // save would empty it. A plain text of older records still reads.
    item->stPatient.strReserved = ReadRecordDate(xml, kPatientEditTime, RecordDateCheck::Any);
    if (item->stPatient.strReserved.IsEmpty()) item->stPatient.strReserved = RecordXmlText(xml, kPatientEditTime);
    info.strInfoEditor = RecordXmlText(xml, RestPath(L"Interpre_info_editor_stc"));
    info.strInfoEditDate = ReadRecordDate(xml, RestPath(L"Interpre_info_editor_date_stc"), RecordDateCheck::Any);
}

void CRestViewDoc::ReadMinnesota(_INTERPRE_INFO_REST& info, CECGXMLParser& xml, std::vector<int>* shown)
{
    const int nodes = xml.GetObjectCount(kMinnesotaNodes);
    const int rows = nodes + 1 < INTERPRE_MINNESOTA_ROWS ? nodes + 1 : INTERPRE_MINNESOTA_ROWS;
    int kept = 0;
    for (int k = 1; k <= rows; ++k) {
        const CString code = RecordXmlText(xml, RestPath(RestRowControl(L"Interpre_minne_num_%d_edt", k)));
        const CString mask = RecordXmlText(xml, RestPath(RestRowControl(L"Interpre_minne_mask_%d_stc", k)));
        if (!IsMinnesotaNotMatchingValid(code, mask)) continue;   // dropped: the later rows move up
        info.strMinneCode[kept] = code;
        info.strMinneMask[kept] = mask;
        info.strMinneContent[kept] = RecordXmlText(xml, RestPath(RestRowControl(L"Interpre_minne_content_%d_edt", k)));
        ++kept;
        if (shown) shown->push_back(k);
    }
    for (int k = kept; k < INTERPRE_MINNESOTA_ROWS; ++k) {
        info.strMinneCode[k].Empty();
        info.strMinneMask[k].Empty();
        info.strMinneContent[k].Empty();
    }
    info.strMinneContent[INTERPRE_MINNESOTA_ROWS].Empty();
    info.nMinneCount = kept;
}

void CRestViewDoc::ReadIvrel(_INTERPRE_INFO_REST& info, CECGXMLParser& xml, int b8000File, std::vector<int>* shown)
{
    CECGXMLParser master(IvrelMasterPath(), b8000File, CString());

    // The judgement: its code must be in the master and its text, when
    // stored, must be the master's.
    info.strIvrelJudgeCode.Empty();
    info.strIvrelJudge.Empty();
    CString judge;
    const CString judgePath = RestPath(L"Interpre_ivrel_judge_stc");
    if (!judgePath.IsEmpty() && xml.GetDataFromXMLDOM(judge, judgePath, 4, CString())) {
        const CString judgeText = IvrelMasterText(master, kIvrelJudgementList, judge);
        CString text;
        const CString textPath = RestPath(L"Interpre_ivrel_judge_cmb");
        const bool textRead = !textPath.IsEmpty() && xml.GetDataFromXMLDOM(text, textPath, 4, CString()) != 0;
        if (!judgeText.IsEmpty() && (!textRead || text == judgeText)) {
            info.strIvrelJudgeCode = judge;
            if (textRead) info.strIvrelJudge = text;
        }
    }

    const int nodes = xml.GetObjectCount(kIvrelNodes);
    const int rows = nodes + 1 < INTERPRE_IVREL_ROWS ? nodes + 1 : INTERPRE_IVREL_ROWS;
    int kept = 0;
    for (int n = 1; n <= rows; ++n) {
        const CString code = RecordXmlText(xml, RestPath(RestRowControl(L"Interpre_ivrel_num_%d_edt", n)));
        CString name = code.IsEmpty() ? CString() : IvrelMasterText(master, kIvrelCodeList, code);
        if (name.IsEmpty() && !code.IsEmpty()) name = IvrelMasterText(master, kIvrelJudgementList, code);
        if (name.IsEmpty()) break;   // a code the master does not know ends the rows
        const CString content = RecordXmlText(xml, RestPath(RestRowControl(L"Interpre_ivrel_content_%d_edt", n)));
        if (content != name) continue;   // a row whose text is not the master's is dropped
        ++kept;
        info.strIvrelCode[kept] = code;
        info.strIvrelMask[kept] = RecordXmlText(xml, RestPath(RestRowControl(L"Interpre_ivrel_mask_%d_stc", n)));
        info.strIvrelContent[kept] = content;
        if (shown) shown->push_back(n);
    }
    for (int n = 0; n <= INTERPRE_IVREL_ROWS; ++n) {
        if (n >= 1 && n <= kept) continue;
        info.strIvrelCode[n].Empty();
        info.strIvrelMask[n].Empty();
        info.strIvrelContent[n].Empty();
    }
    info.nIvrelCount = kept;
}

void CRestViewDoc::ReadBirthday(_RESTDATAITEM* item, CECGXMLParser& xml)
{
    _BIRTHDAY& birthday = item->stInterpre.stBirthday;
    birthday = _BIRTHDAY();
    if (!item->b8000File) {
        birthday = CheckBirthday(ReadBirthdayAttributes(xml));
    }
    item->stGeneral.stBirthday = birthday;
}

void CRestViewDoc::ReadEditorsAndComment(_RESTDATAITEM* item, CECGXMLParser& xml)
{
    _INTERPRE_INFO_REST& info = item->stInterpre;
    info.strAnaEditor = RecordXmlText(xml, RestPath(L"Interpre_ana_editor_stc"));
    info.strAnaEditDate = ReadRecordDate(xml, RestPath(L"Interpre_ana_date_stc"), RecordDateCheck::Calendar);
    info.strCommentEditor = RecordXmlText(xml, RestPath(L"Interpre_comment_editor_stc"));
    info.strCommentEditDate = ReadRecordDate(xml, RestPath(L"Interpre_comment_date_stc"), RecordDateCheck::Any);
    CString comment;
    const CString path = RestPath(L"Interpre_comment_edt");
    if (!path.IsEmpty() && xml.GetDataFromXMLDOM(comment, path, 4, CString())) info.strComment = ToCrLf(comment);
}

void CRestViewDoc::ReadMeasurements(_RESTDATAITEM* item, CECGXMLParser& xml)
{
    _MEASURE_INFO& measure = item->stMeasure;
    for (int key = 0; key < REST_MEASURE_KEYS; ++key)
        for (int lead = 0; lead < MEASURE_LEADS; ++lead)
            measure.At(key, lead) = ReadMeasureElement(xml, m_strMeasureKey[key], lead);
    for (int i = 0; i < MEASURE_GLOBALS; ++i) {
        const RestGlobalBinding& binding = kRestGlobals[i];
        measure.strGlobal[i] = ReadRestGlobal(xml, RestPath(binding.pszControl, binding.nAlt), binding);
    }
    // The dividers place themselves from the measured heart rate.
    item->strHeartRate = measure.strGlobal[0];
}

void CRestViewDoc::ReadTripInfo(_RESTDATAITEM* item, CECGXMLParser& xml)
{
    const int code = static_cast<int>(item->uSystemCode);
    item->strMasterStep = IsMasterStepInforSystemCode(code) ? RecordXmlText(xml, kMasterStepInfo) : CString();
    const bool trip = IsTripInforSystemCode(code) != 0;
    item->bTrip = trip ? 1 : 0;
    item->strTrip = trip ? RecordXmlText(xml, kTripInfo, L"trip") : CString();
    item->strTotalTrip = trip ? RecordXmlText(xml, kTripInfo, L"total") : CString();
}
