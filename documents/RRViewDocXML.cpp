// The record XML of an RR record: the patient and interpretation fields the
// RR form edits, the editors and their dates, and the device's RR analysis,
// which is only ever read (the device made it; the system shows and prints it).
#include "core/ECGXMLParser.h"
#include "documents/RRViewDoc.h"
#include "documents/RecordXmlText.h"
#include "documents/RhyRRRecordXml.h"
#include "documents/RecordPaths.h"

namespace {

using namespace recordpath;

const wchar_t kThreeLeadCode[] = L"/Rawdata/Tavrion/Wave/Three_Lead_section/Lead_code[%d]";

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

RhyRREditors Editors(_RRDATAITEM& item)
{
    return {item.strInfoEditor,    item.strInfoEditDate, item.strAnalysisEditor, item.strAnalysisEditDate,
            item.strCommentEditor, item.strCommentDate,  item.stGeneral.strComment};
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
    GetPatInfoFromRecordFile(pItem->strXMLPath, pItem->pECGData, pItem->stPatient, pItem->strFilePath);
    ReadAnnotationsAgain(pItem->pAnnoHead, &xml);
    for (int i = 0; i < LEAD_NAME_RR; ++i) {
        CString path;
        path.Format(kThreeLeadCode, i + 1);
        pItem->stLeadName.nRRCode[i] = _wtoi(RecordXmlText(xml, path));
    }
    GetLeadNameFromXML(static_cast<int>(pItem->uSystemCode), pItem->stLeadName, &xml);

    ReadInterpretation(pItem, xml);
    GetAdditionalInforFromXMLFile(&xml, pItem->stAddition, pItem->pECGData);
    ReadEditors(pItem, xml);
    ReadRRReport(pItem, xml);
    ReadRRList(pItem, xml);

    pItem->nAcqFilter = GetAcquisitionFilter(&xml, 0);
    const float sense = GetAcquisitionSense(&xml, 0);
    // The views divide by it.
    pItem->fAcqSense = sense > 0.0f ? sense : 10.0f;
    // The dividers place themselves from the measured heart rate.
    pItem->stGeneral.strHeartRate = RecordXmlText(xml, kHeartRate);
    return 0;
}

void CRRViewDoc::ReadInterpretation(_RRDATAITEM* pItem, CECGXMLParser& xml)
{
    ReadRhyRRInterpretation(*this, xml, kRRLayout, pItem->stGeneral, pItem->bReqSection);
}

void CRRViewDoc::ReadEditors(_RRDATAITEM* pItem, CECGXMLParser& xml)
{
    ReadRhyRREditors(*this, xml, kRRLayout, pItem->stPatient, Editors(*pItem));
}

void CRRViewDoc::ReadRRReport(_RRDATAITEM* pItem, CECGXMLParser& xml)
{
    const CString count = RecordXmlText(xml, kRR50Info, L"count");
    pItem->nRR50Count = count.IsEmpty() ? 0 : ClampedCount(_wtoi(count), RR50_ROW_MAX);
    for (auto& column : pItem->strRR50) {
        for (CString& cell : column) cell.Empty();
    }
    for (int row = 0; row < pItem->nRR50Count; ++row) {
        for (const auto& column : kRR50Columns) {
            CString path;
            path.Format(L"%s/%s/%s_element[%d]", kRR50Info, column.pszName, column.pszName, row + 1);
            pItem->strRR50[column.nColumn][row] = RecordXmlText(xml, path, L"data");
        }
    }
    for (int i = 0; i < RR_TOTAL_COUNT; ++i) pItem->strRRTotal[i] = RecordXmlText(xml, CString(kRRTotal) + kRRTotals[i]);
}

void CRRViewDoc::ReadRRList(_RRDATAITEM* pItem, CECGXMLParser& xml)
{
    pItem->FreeRRList();
    const CString stored = RecordXmlText(xml, kRRList, L"count");
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
        entry.nFlag = RecordXmlText(xml, path, L"flag").CompareNoCase(L"true") == 0 ? 1 : 0;
        const CString value = RecordXmlText(xml, path, L"data");
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
    WritePatInfoToXML(item->stPatient, &xml);
    // The readers take an age only from a styled element; the patient
    // writer makes the element without one when the record had none.
    CString style;
    if (xml.FindNode(kPatientAge) && !xml.GetDataFromXMLDOM(style, kPatientAge, 2, L"style"))
        xml.SetDataToXMLDOM(L"Age", kPatientAge, 2, L"style");
    SaveInterpretation(item, xml);
    SaveEditors(item, xml);
    KeepShownConfirmation(item->stPatient, &xml);
    // A record XML that could not be read is left as it is: that is no save.
    return xml.m_pXMLParser->SaveToXMLFile(xml.m_strPath) ? 0 : 255;
}

void CRRViewDoc::SaveInterpretation(_RRDATAITEM* pItem, CECGXMLParser& xml)
{
    SaveRhyRRInterpretation(*this, xml, kRRLayout, pItem->stGeneral);
}

void CRRViewDoc::SaveEditors(_RRDATAITEM* pItem, CECGXMLParser& xml)
{
    const RhyRREditors editors = Editors(*pItem);
    SaveRhyRRInfoEditors(*this, xml, kRRLayout, pItem->stPatient, editors);
    SaveAdditionToXML(&xml, pItem->stAddition);
    SaveRhyRRAnalysisAndComment(*this, xml, kRRLayout, editors);
}

int CRRViewDoc::SaveAnnotationToXML(int id)
{
    _RRDATAITEM* item = FindItem(id);
    return item ? SaveAnnotationsToFile(item->strXMLPath, item->pAnnoHead) : 255;
}
