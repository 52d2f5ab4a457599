// The master-step document writes the form's edits, the annotations and its
// display settings back into each record's XML, and reads the settings again.
#include <cmath>
#include <cwchar>

#include "core/ECGXMLParser.h"
#include "documents/FinalViewDoc.h"
#include "documents/FinalViewDocPaths.h"
#include "documents/RecordXmlText.h"

using namespace finalpaths;

namespace {

int IsAcceptedFilter(int filter)
{
    return IsDisplayFilter(filter) ? 1 : 0;
}

int IsAcceptedSense(double sense)
{
    return DisplaySense(sense, 0.0f) > 0.0f ? 1 : 0;
}

}  // namespace

int CFinalViewDoc::SaveDataToXML(int nID)
{
    _FINALDATAITEM* item = m_FinalDataManager.GetItem(nID);
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    UpDateCurItemContent();

    CECGXMLParser xml(item->strXMLPath, 0, CString());
    const bool confirmationAsStored = IsConfirmationAsStored(item->stPatient, &xml);
    WritePatInfoToXML(item->stPatient, &xml);

    const _INTERPRE_INFO_GENERAL& info = item->stInterpre;
    WriteRecordXmlText(xml, MsfrPath(MSFR_MEDICATION1_CMB, 1), info.strMedication1);
    WriteRecordXmlNumber(xml, MsfrPath(MSFR_MEDICATION1_CMB, 0), info.nMedication1Sel, ReadListIndex);
    WriteRecordXmlText(xml, MsfrPath(MSFR_MEDICATION2_CMB, 1), info.strMedication2);
    WriteRecordXmlNumber(xml, MsfrPath(MSFR_MEDICATION2_CMB, 0), info.nMedication2Sel, ReadListIndex);
    WriteRecordXmlText(xml, MsfrPath(MSFR_SYMPTOM_CMB), info.strSympton);
    WriteRecordXmlText(xml, MsfrPath(MSFR_DISEASE_CMB), info.strDisease);
    WriteRecordXmlText(xml, MsfrPath(MSFR_DEPARTMENT_CMB), info.strDepartment);
    WriteRecordXmlText(xml, MsfrPath(MSFR_WARD_CMB), info.strWard);
    WriteRecordXmlText(xml, recordpath::kRoomNumber, info.strRoomNumber);
    // A record without a request section does not gain an empty one, which
    // would read back as a section that was filled in.
    if (item->bRequestSection || !info.strReqSection.IsEmpty())
        WriteRecordXmlText(xml, kRequestSection, info.strReqSection);
    WriteRecordXmlText(xml, MsfrPath(MSFR_REQ_DOCTOR_CMB), info.strReqDoctor);
    WriteRecordXmlText(xml, MsfrPath(MSFR_TECHNICIAN_CMB), info.strTechnician);

    WriteRecordDate(xml, kPatientEditTime, item->stPatient.strReserved);
    if (!confirmationAsStored) {
        WriteRecordXmlText(xml, kConfirmEditor, item->stPatient.strConfirmDoctor);
        WriteRecordDate(xml, kConfirmDate, item->stPatient.strConfirmDate);
    }
    WriteRecordXmlText(xml, kPatientEditorName, info.strFree[FINAL_FREE_PATIENT_EDITOR]);
    WriteRecordDate(xml, kPatientEditDate, info.strFree[FINAL_FREE_PATIENT_EDIT_DATE]);

    SaveAdditionToXML(&xml, item->stAddition);

    // A judgement the reader refused (a code the master does not know, an
    // older wording of its text) reads as none: it stays as stored until
    // the person gives one.
    CString storedCode, storedText;
    ReadIvrelJudgement(&xml, storedCode, storedText);
    if (storedCode != info.strFree[FINAL_FREE_IVREL_CODE] || storedText != info.strFree[FINAL_FREE_IVREL_TEXT]) {
        WriteRecordXmlText(xml, MsfrPath(MSFR_IVREL_JUDGE_STC), info.strFree[FINAL_FREE_IVREL_CODE]);
        WriteRecordXmlText(xml, MsfrPath(MSFR_IVREL_JUDGE_CMB), info.strFree[FINAL_FREE_IVREL_TEXT]);
    }

    const _BIRTHDAY checked = CheckBirthday(info.stBirthday);
    const bool valid = !checked.strYear.IsEmpty() && !checked.strMonth.IsEmpty() && !checked.strDay.IsEmpty();
    WriteBirthdayAttributes(*this, xml, info.stBirthday, valid);

    WriteRecordXmlText(xml, kAnalysisEditor, info.strFree[FINAL_FREE_ANALYSIS_EDITOR]);
    WriteAnalysisDates(xml, kAnalysisDate, kAnalysisEditDate, info.strFree[FINAL_FREE_ANALYSIS_EDIT_DATE],
                       AnalysisDateRead::FirstThenSecond);

    WriteRecordXmlText(xml, kCommentEditor, info.strFree[FINAL_FREE_COMMENT_EDITOR]);
    WriteRecordDate(xml, kCommentDate, info.strFree[FINAL_FREE_COMMENT_EDIT_DATE]);
    WriteRecordComment(xml, MsfrPath(MSFR_COMMENT_EDT), info.strComment);

    // Only the trip kinds read the trip count (" " standing for a missing
    // one); any other kind leaves what its record XML holds there.
    if (IsTripInforSystemCode(static_cast<int>(item->uSystemCode))) {
        WriteChangedRecordXmlAttribute(xml, kTripInfo, L"total", item->stWaveInfo.strTripTotal, L" ");
        WriteChangedRecordXmlAttribute(xml, kTripInfo, L"trip", item->stWaveInfo.strTripCount, L" ");
    }
    KeepShownConfirmation(item->stPatient, &xml);
    // A record XML that could not be read is left as it is: that is no save.
    return xml.m_pXMLParser && xml.m_pXMLParser->SaveToXMLFile(xml.m_strPath) ? 0 : 255;
}

int CFinalViewDoc::SaveAnnotationToXML(int nID)
{
    _FINALDATAITEM* item = m_FinalDataManager.GetItem(nID);
    return item ? SaveAnnotationsToFile(item->strXMLPath, item->pAnnoHead) : 255;
}

// ---- display settings ------------------------------------------------------------------------

void CFinalViewDoc::SetReferenceIntoXML(int id, int arg)
{
    CTavrionDoc::SetReferenceIntoXML(id, arg);
    _FINALDATAITEM* item = GetCurrentDataItem();
    if (!item || item->strXMLPath.IsEmpty()) return;
    CECGXMLParser xml(item->strXMLPath, 0, CString());
    CString text;
    switch (id) {
    case REFERENCE_PAGE_STYLE:
        xml.SetDataToXMLDOM(IntText(m_stDefaultRef.RefInt(REF_FINAL_PAGE_STYLE)), kSettingPageStyle, 4, CString());
        break;
    case REFERENCE_FILTER:
        xml.SetDataToXMLDOM(IntText(m_stDefaultRef.RefInt(REF_FINAL_FILTER)), kSettingFilter, 4, CString());
        break;
    case REFERENCE_SENSITIVITY:
        text.Format(L"%.2f", GetCommonSense(0));
        xml.SetDataToXMLDOM(text, kSettingSensitivity, 4, CString());
        break;
    case REFERENCE_SENSE_MODE:
        xml.SetDataToXMLDOM(IntText(static_cast<int>(GetSenseMode())), kSettingSensitivity, 2, L"mode");
        break;
    default: return;   // the other numbers are not this document's
    }
    SaveSettingXML(xml);
}

CString CFinalViewDoc::GetCurItemXMLPath()
{
    const _FINALDATAITEM* item = GetCurrentDataItem();
    return item ? item->strXMLPath : CString();
}

void CFinalViewDoc::UpDateReferenceInfo(const CString&)
{
    _FINALDATAITEM* item = GetCurrentDataItem();
    if (!item || item->strXMLPath.IsEmpty()) return;
    CTavrionDoc::UpDateReferenceInfo(item->strXMLPath);
    CECGXMLParser xml(item->strXMLPath, 0, CString());
    CString text;

    int style = xml.GetDataFromXMLDOM(text, kSettingPageStyle, 4, CString()) ? _wtoi(text) : 1;
    SetPageStyle(style >= 1 && style <= 4 ? style : 1);

    int filter = xml.GetDataFromXMLDOM(text, kSettingFilter, 4, CString()) ? _wtoi(text) : 100;
    m_stDefaultRef.RefInt(REF_FINAL_FILTER) = IsAcceptedFilter(filter) ? filter : 100;

    double sense = xml.GetDataFromXMLDOM(text, kSettingSensitivity, 4, CString()) ? _wtof(text) : 10.0;
    if (!IsAcceptedSense(sense)) sense = 10.0;
    m_fSense[0][6] = static_cast<float>(sense);
    m_stDefaultRef.RefFloat(REF_FINAL_SENSE) = static_cast<float>(sense);

    const int mode = xml.GetDataFromXMLDOM(text, kSettingSensitivity, 2, L"mode") ? _wtoi(text) : 1;
    m_uSenseMode = static_cast<UINT>(mode);
    m_stDefaultRef.RefInt(REF_FINAL_SENSE_MODE) = mode;
}
