// The master-step document writes the form's edits, the annotations and its
// display settings back into each record's XML, and reads the settings again.
#include <cmath>
#include <cwchar>

#include "core/ECGXMLParser.h"
#include "documents/FinalViewDoc.h"
#include "documents/FinalViewDocPaths.h"

using namespace finalpaths;

namespace {

// A "yyyy/mm/dd hh:mm:ss" text as the date attributes of an element; empty
// attributes when the text is no date.
void WriteDate(CECGXMLParser& xml, const CString& text, const CString& xpath)
{
    _XML_ATTRIB_DATE date;
    COleDateTime parsed;
    if (!text.IsEmpty() && parsed.ParseDateTime(text) && parsed.GetStatus() == COleDateTime::valid) date.SetDate(parsed);
    xml.SetDataToXMLDOM(L"Date", xpath, 2, L"style");
    xml.SetDateAttrib(date, xpath);
}

void WriteText(CECGXMLParser& xml, const CString& value, const CString& xpath)
{
    if (xpath.IsEmpty()) return;
    xml.SetDataToXMLDOM(value, xpath, 4, CString());
}

CString IntText(int value)
{
    CString text;
    text.Format(L"%d", value);
    return text;
}

int IsAcceptedFilter(int filter)
{
    return filter == 25 || filter == 35 || filter == 75 || filter == 100 || filter == 150 || filter == 0;
}

int IsAcceptedSense(double sense)
{
    static const double kSenses[] = {1.25, 2.5, 5.0, 10.0, 20.0, 40.0};
    for (double s : kSenses) {
        if (std::fabs(sense - s) < 1e-6) return 1;
    }
    return 0;
}

}  // namespace

int CFinalViewDoc::SaveDataToXML(int nID)
{
    _FINALDATAITEM* item = m_FinalDataManager.GetItem(nID);
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    UpDateCurItemContent();

    CECGXMLParser xml(item->strXMLPath, 0, CString());
    SavePatInfoToXML(item->stPatient, &xml);

    const _INTERPRE_INFO_GENERAL& info = item->stInterpre;
    WriteText(xml, info.strMedication1, MsfrPath(MSFR_MEDICATION1_CMB, 1));
    WriteText(xml, IntText(info.nMedication1Sel), MsfrPath(MSFR_MEDICATION1_CMB, 0));
    WriteText(xml, info.strMedication2, MsfrPath(MSFR_MEDICATION2_CMB, 1));
    WriteText(xml, IntText(info.nMedication2Sel), MsfrPath(MSFR_MEDICATION2_CMB, 0));
    WriteText(xml, info.strSympton, MsfrPath(MSFR_SYMPTOM_CMB));
    WriteText(xml, info.strDisease, MsfrPath(MSFR_DISEASE_CMB));
    WriteText(xml, info.strDepartment, MsfrPath(MSFR_DEPARTMENT_CMB));
    WriteText(xml, info.strWard, MsfrPath(MSFR_WARD_CMB));
    WriteText(xml, info.strRoomNumber, kRoomNo);
    // A record without a request section does not gain an empty one, which
    // would read back as a section that was filled in.
    if (item->bRequestSection || !info.strReqSection.IsEmpty()) WriteText(xml, info.strReqSection, kRequestSection);
    WriteText(xml, info.strReqDoctor, MsfrPath(MSFR_REQ_DOCTOR_CMB));
    WriteText(xml, info.strTechnician, MsfrPath(MSFR_TECHNICIAN_CMB));

    WriteDate(xml, item->stPatient.strReserved, kPatientEditTime);
    WriteText(xml, item->stPatient.strConfirmDoctor, kConfirmEditorName);
    WriteDate(xml, item->stPatient.strConfirmDate, kConfirmEditDate);
    WriteText(xml, info.strFree[FINAL_FREE_PATIENT_EDITOR], kPatientEditorName);
    WriteDate(xml, info.strFree[FINAL_FREE_PATIENT_EDIT_DATE], kPatientEditDate);

    SaveAdditionToXML(&xml, item->stAddition);

    WriteText(xml, info.strFree[FINAL_FREE_IVREL_CODE], MsfrPath(MSFR_IVREL_JUDGE_STC));
    WriteText(xml, info.strFree[FINAL_FREE_IVREL_TEXT], MsfrPath(MSFR_IVREL_JUDGE_CMB));

    const _BIRTHDAY checked = CheckBirthday(info.stBirthday);
    const bool valid = !checked.strYear.IsEmpty() && !checked.strMonth.IsEmpty() && !checked.strDay.IsEmpty();
    xml.SetDataToXMLDOM(valid ? info.stBirthday.strYear : CString(), kBirthday, 2, L"year");
    xml.SetDataToXMLDOM(valid ? info.stBirthday.strMonth : CString(), kBirthday, 2, L"month");
    xml.SetDataToXMLDOM(valid ? info.stBirthday.strDay : CString(), kBirthday, 2, L"day");

    WriteText(xml, info.strFree[FINAL_FREE_ANALYSIS_EDITOR], kAnalysisEditorName);
    WriteDate(xml, info.strFree[FINAL_FREE_ANALYSIS_EDIT_DATE], kAnalysisEditDate);
    WriteDate(xml, info.strFree[FINAL_FREE_ANALYSIS_EDIT_DATE], kAnalysisEditFallback);

    WriteText(xml, info.strFree[FINAL_FREE_COMMENT_EDITOR], kCommentEditorName);
    WriteDate(xml, info.strFree[FINAL_FREE_COMMENT_EDIT_DATE], kCommentEditDate);
    WriteText(xml, info.strComment, MsfrPath(MSFR_COMMENT_EDT));

    xml.SetDataToXMLDOM(item->stWaveInfo.strTripTotal, kTripInfo, 2, L"total");
    xml.SetDataToXMLDOM(item->stWaveInfo.strTripCount, kTripInfo, 2, L"trip");
    xml.SaveToXMLFile();
    return 0;
}

int CFinalViewDoc::SaveAnnotationToXML(int nID)
{
    _FINALDATAITEM* item = m_FinalDataManager.GetItem(nID);
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    CECGXMLParser xml(item->strXMLPath, 0, CString());
    SaveAnnoInfoToXML(item->pAnnoHead, &xml);
    xml.SaveToXMLFile();
    return 0;
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
    xml.SaveToXMLFile();
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
