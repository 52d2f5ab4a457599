// The rhythm record XML: what the device file does not hold (patient data,
// interpretation fields, editors and dates, additions, comment, annotations,
// lead names and codes, acquisition filter and sensitivity), read into the
// item at opening and written back on saving. Most fields live where the
// rhythm screen table of the layout stylesheet binds them.
#include "core/ECGXMLParser.h"
#include "documents/RecordXmlText.h"
#include "documents/RhyRRRecordXml.h"
#include "documents/RhythmViewDoc.h"

#include <cstdlib>
#include "documents/RecordPaths.h"

namespace {

using namespace recordpath;

const wchar_t kWaveInfoStandard[] = L"/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info";
const wchar_t kWaveInfoExtended[] = L"/Rawdata/Tavrion/Wave/Rhythm_ex_section/Wave_info";

RhyRREditors Editors(_RHYTHMDATAITEM& item)
{
    return {item.strInfoEditor,    item.strInfoEditDate, item.strAnalysisEditor, item.strAnalysisEditDate,
            item.strCommentEditor, item.strCommentDate,  item.stInterpre.strComment};
}

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

// Typed elements are only read back with their style: an age element the
// saving creates gets it too.
void MarkStyle(CECGXMLParser& xml, const CString& path, const wchar_t* style)
{
    CString present;
    if (xml.GetDataFromXMLDOM(present, path, 2, L"style") && present == style) return;
    xml.SetDataToXMLDOM(style, path, 2, L"style");
}

}  // namespace

int CRhythmViewDoc::GetDataInfoFromXMLFile(_RHYTHMDATAITEM* pItem)
{
    if (!pItem) return 255;
    CECGXMLParser xml(pItem->strXMLPath, 0, CString());
    const int code = static_cast<int>(pItem->uSystemCode);
    GetPatInfoFromXML(code, pItem->stPatient, &xml);
    GetPatInfoFromRecordFile(pItem->strXMLPath, pItem->pECGData, pItem->stPatient, pItem->strFilePath);
    ReadAnnotationsAgain(pItem->pAnnoHead, &xml);
    ReadWaveInfo(pItem, xml);
    GetLeadNameFromXML(code, pItem->stLeadName, &xml);
    ReadInterpretation(pItem, xml);
    GetAdditionalInforFromXMLFile(&xml, pItem->stAddition, pItem->pECGData);
    ReadEditors(pItem, xml);
    pItem->strMasterStepInfo.Empty();
    if (IsMasterStepInforSystemCode(code)) pItem->strMasterStepInfo = RecordXmlText(xml, kMasterStepInfo);
    pItem->nRecordFilter = GetAcquisitionFilter(&xml, 0);
    pItem->fRecordSense = GetAcquisitionSense(&xml, 0);
    // The dividers place themselves from the measured heart rate.
    pItem->stInterpre.strHeartRate = RecordXmlText(xml, kHeartRate);
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
    ReadRhyRRInterpretation(*this, xml, kRhythmLayout, pItem->stInterpre, pItem->bReqSection);
}

void CRhythmViewDoc::ReadEditors(_RHYTHMDATAITEM* pItem, CECGXMLParser& xml)
{
    ReadRhyRREditors(*this, xml, kRhythmLayout, pItem->stPatient, Editors(*pItem));
}

// ---- saving ----------------------------------------------------------------------------

int CRhythmViewDoc::SaveDataToXML(int id)
{
    _RHYTHMDATAITEM* item = m_RhythmDataManager.GetItem(id);
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    UpDateCurItemContent();

    CECGXMLParser xml(item->strXMLPath, 0, CString());
    if (!xml.m_pXMLParser) return 255;
    WritePatInfoToXML(item->stPatient, &xml);
    MarkStyle(xml, kPatientAge, L"Age");
    SaveWaveInfoToXML(static_cast<int>(item->uSystemCode), item->stLeadName, &xml);
    SaveInterpretation(item, xml);
    SaveEditors(item, xml);
    KeepShownConfirmation(item->stPatient, &xml);
    // A record XML that could not be read is left as it is: that is no save.
    return xml.m_pXMLParser->SaveToXMLFile(xml.m_strPath) ? 0 : 255;
}

void CRhythmViewDoc::SaveInterpretation(_RHYTHMDATAITEM* pItem, CECGXMLParser& xml)
{
    SaveRhyRRInterpretation(*this, xml, kRhythmLayout, pItem->stInterpre);
}

void CRhythmViewDoc::SaveEditors(_RHYTHMDATAITEM* pItem, CECGXMLParser& xml)
{
    const RhyRREditors editors = Editors(*pItem);
    SaveRhyRRInfoEditors(*this, xml, kRhythmLayout, pItem->stPatient, editors);
    SaveAdditionToXML(&xml, pItem->stAddition);
    SaveRhyRRAnalysisAndComment(*this, xml, kRhythmLayout, editors);
}

int CRhythmViewDoc::SaveAnnotationToXML(int id)
{
    _RHYTHMDATAITEM* item = m_RhythmDataManager.GetItem(id);
    return item ? SaveAnnotationsToFile(item->strXMLPath, item->pAnnoHead) : 255;
}
