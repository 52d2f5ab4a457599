// Writing an MFER record's edits back into its record XML. The MFER file
// itself is never written.
#include "documents/MFERViewDoc.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/ECGXMLParser.h"
#include "documents/InterpreCodeRows.h"
#include "documents/RecordXmlText.h"
#include "documents/RestXmlText.h"
#include "documents/RecordPaths.h"

namespace {

using namespace recordpath;

const wchar_t* const kPatientSection = L"/Rawdata/Tavrion/Inspection/Patient_section";
const wchar_t* const kMinnesotaParent = L"/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas";
const wchar_t* const kIvrelParent = L"/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles";

CString Numbered(const wchar_t* format, int n)
{
    CString name;
    name.Format(format, n);
    return name;
}

bool IsCalendarDate(const _BIRTHDAY& birthday)
{
    const int year = _wtoi(birthday.strYear), month = _wtoi(birthday.strMonth), day = _wtoi(birthday.strDay);
    COleDateTime built;
    if (built.SetDateTime(year, month, day, 0, 0, 0) != 0 || built.GetStatus() != COleDateTime::valid) return false;
    return built.GetYear() == year && built.GetMonth() == month && built.GetDay() == day;
}

}  // namespace

int CMFERViewDoc::SaveDataToXML(int id)
{
    _MFERDATAITEM* item = m_MFERDataManager.GetItem(id);
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    // A record that never opened has no form: writing its empty fields
    // would wipe the record XML.
    const MferForm form = GetItemForm(item);
    if (form == MferForm::None) return 255;
    UpDateCurItemContent();

    CECGXMLParser xml(item->strXMLPath, 0, CString());
    const bool confirmationAsStored = IsConfirmationAsStored(item->stPatient, &xml);
    WritePatInfoToXML(item->stPatient, &xml);
    SaveBoundInterpretation(*item, xml, form);

    const _PATIENT_INFO& patient = item->stPatient;
    WriteRecordDate(xml, CString(kPatientSection) + L"/Edit_time", patient.strReserved);
    if (!confirmationAsStored) {
        WriteRecordXmlText(xml, CString(kPatientSection) + L"/Doctor", patient.strConfirmDoctor);
        WriteRecordXmlText(xml, kConfirmEditor, patient.strConfirmDoctor);
        WriteRecordDate(xml, kConfirmDate, patient.strConfirmDate);
    }

    const _INTERPRE_INFO_REST& info = item->stInterpre;
    WriteRecordXmlText(xml, FormPath(form, L"Interpre_info_editor_stc", 0), info.strInfoEditor);
    WriteRecordDate(xml, FormPath(form, L"Interpre_info_editor_date_stc", 0), info.strInfoEditDate);
    // Additions that were never read are left as the file has them.
    if (item->stAddition.bPresent) SaveAdditionToXML(&xml, item->stAddition);

    if (form == MferForm::Rest) {
        WriteRecordXmlText(xml, FormPath(form, L"Interpre_ana_editor_stc", 0), info.strAnaEditor);
        WriteAnalysisDates(xml, FormPath(form, L"Interpre_ana_date_stc", 0), FormPath(form, L"Interpre_ana_date_stc", 1),
                           info.strAnaEditDate, AnalysisDateRead::FirstThenSecond);
    } else {
        WriteRecordXmlText(xml, kAnalysisEditor, info.strAnaEditor);
        WriteAnalysisDates(xml, kAnalysisDate, kAnalysisEditDate, info.strAnaEditDate, AnalysisDateRead::FirstOnly);
    }
    SaveCodeRows(*item, xml);

    WriteRecordXmlText(xml, FormPath(form, L"Interpre_comment_editor_stc", 0), info.strCommentEditor);
    WriteRecordDate(xml, FormPath(form, L"Interpre_comment_date_stc", 0), info.strCommentEditDate);
    WriteRecordComment(xml, FormPath(form, L"Interpre_comment_edt", 0), info.strComment);
    SaveBirthday(*item, xml, form);
    if (form == MferForm::Rest) SaveMeasureTexts(*item, xml);
    KeepShownConfirmation(item->stPatient, &xml);
    // A failed write leaves the record XML as it was: that is no save.
    xml.SaveToXMLFile();
    return xml.m_bLastSaveFailed ? 255 : 0;
}

void CMFERViewDoc::SaveBoundInterpretation(_MFERDATAITEM& item, CECGXMLParser& xml, MferForm form)
{
    const _INTERPRE_INFO_REST& info = item.stInterpre;
    WriteRecordXmlText(xml, FormPath(form, L"Interpre_medication1_cmb", 1), info.strMedication1);
    WriteRecordXmlNumber(xml, FormPath(form, L"Interpre_medication1_cmb", 0), info.nMedication1Sel, ReadListIndexOf);
    WriteRecordXmlText(xml, FormPath(form, L"Interpre_medication2_cmb", 1), info.strMedication2);
    WriteRecordXmlNumber(xml, FormPath(form, L"Interpre_medication2_cmb", 0), info.nMedication2Sel, ReadListIndexOf);
    WriteRecordXmlText(xml, FormPath(form, L"Interpre_symptom_cmb", 0), info.strSympton);
    WriteRecordXmlText(xml, FormPath(form, L"Interpre_disease_cmb", 0), info.strDisease);
    WriteRecordXmlText(xml, FormPath(form, L"Interpre_department_cmb", 0), info.strDepartment);
    WriteRecordXmlText(xml, FormPath(form, L"Interpre_ward_cmb", 0), info.strWard);
    WriteRecordXmlText(xml, FormPath(form, L"Interpre_room_no_edt", 0), info.strRoomNumber);
    WriteRecordXmlText(xml, FormPath(form, L"Interpre_req_section_cmb", 0), info.strReqSection);
    WriteRecordXmlText(xml, FormPath(form, L"Interpre_req_doctor_cmb", 0), info.strReqDoctor);
    WriteRecordXmlText(xml, FormPath(form, L"Interpre_technician_cmb", 0), info.strTechnician);
}

void CMFERViewDoc::SaveCodeRows(_MFERDATAITEM& item, CECGXMLParser& xml)
{
    const _INTERPRE_INFO_REST& info = item.stInterpre;
    // The rows as the record XML reads now: rows the person did not change
    // stay as stored, those the reader refused among them. Changed ones are
    // written from the form, the stored rows it did not show after them.
    _INTERPRE_INFO_REST stored;
    std::vector<int> minnesotaShown, ivrelShown;
    ReadMinnesota(stored, xml, &minnesotaShown);
    ReadIvrel(stored, xml, &ivrelShown);
    auto path = [this](const wchar_t* control, int row) { return FormPath(MferForm::Rest, Numbered(control, row), 0); };

    // The counts never exceed the form's rows, so no row reaches the paths
    // of another control.
    if (!SameMinnesotaRows(info, stored)) {
        const int minneRows = std::clamp(info.nMinneCount, 0, INTERPRE_MINNESOTA_ROWS);
        RenewRecordRows(xml, kMinnesotaParent, L"Minnesota", minneRows, minnesotaShown);
        for (int r = 0; r < minneRows; ++r) {
            WriteRecordXmlText(xml, path(L"Interpre_minne_num_%d_edt", r + 1), info.strMinneCode[r]);
            WriteRecordXmlText(xml, path(L"Interpre_minne_mask_%d_stc", r + 1), info.strMinneMask[r]);
            WriteRecordXmlText(xml, path(L"Interpre_minne_content_%d_edt", r + 1), info.strMinneContent[r]);
        }
    }
    if (!SameIvrelJudgement(info, stored)) {
        WriteRecordXmlText(xml, FormPath(MferForm::Rest, L"Interpre_ivrel_judge_stc", 0), info.strIvrelJudgeCode);
        WriteRecordXmlText(xml, FormPath(MferForm::Rest, L"Interpre_ivrel_judge_cmb", 0), info.strIvrelJudge);
    }
    if (SameIvrelRows(info, stored)) return;
    const int ivrelRows = std::clamp(info.nIvrelCount, 0, INTERPRE_IVREL_ROWS);
    RenewRecordRows(xml, kIvrelParent, L"Ivrel", ivrelRows, ivrelShown);
    for (int r = 0; r < ivrelRows; ++r) {
        WriteRecordXmlText(xml, path(L"Interpre_ivrel_num_%d_edt", r + 1), info.strIvrelCode[r + 1]);
        WriteRecordXmlText(xml, path(L"Interpre_ivrel_mask_%d_stc", r + 1), info.strIvrelMask[r + 1]);
        WriteRecordXmlText(xml, path(L"Interpre_ivrel_content_%d_edt", r + 1), info.strIvrelContent[r + 1]);
    }
}

void CMFERViewDoc::SaveBirthday(_MFERDATAITEM& item, CECGXMLParser& xml, MferForm form)
{
    // One the check refuses (the year alone) is shown as none: it stays as
    // stored until the person types another.
    if (SameBirthday(ReadBirthday(item, xml), item.stInterpre.stBirthday)) return;
    _BIRTHDAY birthday = item.stInterpre.stBirthday;
    if (!IsCalendarDate(birthday)) {
        birthday.strYear.Empty();
        birthday.strMonth.Empty();
        birthday.strDay.Empty();
    }
    if (form == MferForm::Rhythm) {
        WriteRecordXmlText(xml, FormPath(form, L"Interpre_year_edt", 0), birthday.strYear);
        WriteRecordXmlText(xml, FormPath(form, L"Interpre_month_edt", 0), birthday.strMonth);
        WriteRecordXmlText(xml, FormPath(form, L"Interpre_day_edt", 0), birthday.strDay);
        return;
    }
    WriteBirthdayAttributes(*this, xml, birthday, true);
}

void CMFERViewDoc::SaveMeasureTexts(_MFERDATAITEM& item, CECGXMLParser& xml)
{
    for (int g = 0; g < MEASURE_GLOBALS; ++g) {
        // A value that still reads as the item holds it (a missing one as the
        // reader's stand-in) is no edit: it stays as the record XML has it.
        const RestGlobalBinding& binding = kRestGlobals[g];
        const CString path = FormPath(MferForm::Rest, binding.pszControl, binding.nAlt);
        const CString& text = item.stMeasure.strGlobal[g];
        if (ReadRestGlobal(xml, path, binding) != text) WriteRecordXmlText(xml, path, text);
    }
}

int CMFERViewDoc::SaveMsuDataToXML(_MFERDATAITEM* pItem)
{
    if (!pItem || pItem->strXMLPath.IsEmpty() || !IsFullLeadKind(pItem->uSystemCode)) return 255;
    CECGXMLParser xml(pItem->strXMLPath, 0, CString());
    const _INTERPRE_INFO_REST& info = pItem->stInterpre;
    WriteRecordXmlText(xml, FormPath(MferForm::Rest, L"Interpre_ana_editor_stc", 0), info.strAnaEditor);
    WriteAnalysisDates(xml, FormPath(MferForm::Rest, L"Interpre_ana_date_stc", 0),
                       FormPath(MferForm::Rest, L"Interpre_ana_date_stc", 1), info.strAnaEditDate,
                       AnalysisDateRead::FirstThenSecond);
    SaveMeasureTexts(*pItem, xml);
    // The analysis date just written may be the one the confirmation was read from.
    KeepShownConfirmation(pItem->stPatient, &xml);
    xml.SaveToXMLFile();
    return xml.m_bLastSaveFailed ? 255 : 0;
}

int CMFERViewDoc::SaveAnnotationToXML(int id)
{
    _MFERDATAITEM* item = m_MFERDataManager.GetItem(id);
    return item ? SaveAnnotationsToFile(item->strXMLPath, item->pAnnoHead) : 255;
}
