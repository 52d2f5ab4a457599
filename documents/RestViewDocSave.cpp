// Writing a resting item back into its record XML: everything the forms and
// dialogs edit, and the narrower savers of the edit time, the annotations
// and the measurements.
#include <algorithm>
#include <vector>

#include "core/ECGXMLParser.h"
#include "documents/InterpreCodeRows.h"
#include "documents/RestViewDoc.h"
#include "documents/RestXmlText.h"
#include "documents/RecordPaths.h"

namespace {

using namespace recordpath;

const wchar_t kDoctor[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Doctor";
const wchar_t kMinnesotas[] = L"/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas";
const wchar_t kIvreles[] = L"/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles";
const wchar_t kMeasureNode[] = L"/Rawdata/Tavrion/Measurement/Measurement_section/Mm/%s";

// Creates an element along a plain child path when it is missing.
void EnsureElement(CECGXMLParser& xml, const CString& path)
{
    if (!xml.FindNode(path)) xml.SetDataToXMLDOM(CString(), path, 4, CString());
}

// Makes sure that the element of a measurement key exists for lead `lead` (0 to 11).
void EnsureMeasureElement(CECGXMLParser& xml, const CString& key, int lead)
{
    CString node;
    node.Format(kMeasureNode, key.GetString());
    EnsureElement(xml, node);
    const CString element = key + L"_element";
    for (int count = xml.GetObjectCount(node + L"/" + element); count <= lead; ++count) {
        CXmlElmentNode child;
        child.SetName(element);
        xml.Add_LastChildNode(child, node);
    }
}

// Writes the record XML back; 255 when nothing was written: a record XML that
// could not be read is left on disk as it is, and that is no save.
int SaveRecordXml(CECGXMLParser& xml)
{
    return xml.m_pXMLParser && xml.m_pXMLParser->SaveToXMLFile(xml.m_strPath) ? 0 : 255;
}

}  // namespace

int CRestViewDoc::SaveDataToXML(int itemId)
{
    _RESTDATAITEM* item = GetItemByID(itemId);
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    if (!item->bSkipRefresh) UpDateCurItemContent();
    item->bSkipRefresh = 0;

    CECGXMLParser xml(item->strXMLPath, item->b8000File, CString());
    const bool confirmationAsStored = IsConfirmationAsStored(item->stPatient, &xml);
    const bool ageExisted = xml.FindNode(kPatientAge) != 0;
    WritePatInfoToXML(item->stPatient, &xml);
    // The readers take an age only with its style.
    if (!ageExisted && xml.FindNode(kPatientAge)) xml.SetDataToXMLDOM(L"Age", kPatientAge, 2, L"style");
    SaveWaveInfoToXML(static_cast<int>(item->uSystemCode), item->stLeadName, &xml);

    SaveInterpretation(item, xml);
    WriteRecordDate(xml, kPatientEditTime, item->stPatient.strReserved);
    if (!confirmationAsStored) {
        WriteRecordXmlText(xml, kDoctor, item->stPatient.strConfirmDoctor);
        WriteRecordXmlText(xml, kConfirmEditor, item->stPatient.strConfirmDoctor);
        WriteRecordDate(xml, kConfirmDate, item->stPatient.strConfirmDate);
    }
    WriteRecordXmlText(xml, RestPath(L"Interpre_info_editor_stc"), item->stInterpre.strInfoEditor);
    WriteRecordDate(xml, RestPath(L"Interpre_info_editor_date_stc"), item->stInterpre.strInfoEditDate);
    SaveAnalysisEditor(item, xml, item->b8000File);
    SaveCodeRows(item, xml);
    SaveAdditionToXML(&xml, item->stAddition);
    SaveEditorsAndComment(item, xml);

    if (IsTripInforSystemCode(static_cast<int>(item->uSystemCode))) {
        WriteChangedRecordXmlAttribute(xml, kTripInfo, L"trip", item->strTrip);
        WriteChangedRecordXmlAttribute(xml, kTripInfo, L"total", item->strTotalTrip);
    }
    KeepShownConfirmation(item->stPatient, &xml);
    return SaveRecordXml(xml);
}

void CRestViewDoc::SaveInterpretation(_RESTDATAITEM* item, CECGXMLParser& xml)
{
    const _INTERPRE_INFO_REST& info = item->stInterpre;
    WriteRecordXmlText(xml, RestPath(L"Interpre_medication1_cmb", 1), info.strMedication1);
    WriteRecordXmlNumber(xml, RestPath(L"Interpre_medication1_cmb", 0), info.nMedication1Sel, ReadListIndex);
    WriteRecordXmlText(xml, RestPath(L"Interpre_medication2_cmb", 1), info.strMedication2);
    WriteRecordXmlNumber(xml, RestPath(L"Interpre_medication2_cmb", 0), info.nMedication2Sel, ReadListIndex);
    WriteRecordXmlText(xml, RestPath(L"Interpre_symptom_cmb"), info.strSympton);
    WriteRecordXmlText(xml, RestPath(L"Interpre_disease_cmb"), info.strDisease);
    WriteRecordXmlText(xml, RestPath(L"Interpre_department_cmb"), info.strDepartment);
    WriteRecordXmlText(xml, RestPath(L"Interpre_ward_cmb"), info.strWard);
    WriteRecordXmlText(xml, RestPath(L"Interpre_room_no_edt"), info.strRoomNumber);
    WriteRecordXmlText(xml, RestPath(L"Interpre_req_section_cmb"), info.strReqSection);
    WriteRecordXmlText(xml, RestPath(L"Interpre_req_doctor_cmb"), info.strReqDoctor);
    WriteRecordXmlText(xml, RestPath(L"Interpre_technician_cmb"), info.strTechnician);
}

void CRestViewDoc::SaveAnalysisEditor(_RESTDATAITEM* item, CECGXMLParser& xml, int bEmptyFirstDate)
{
    WriteRecordXmlText(xml, RestPath(L"Interpre_ana_editor_stc"), item->stInterpre.strAnaEditor);
    // The form reads the date at the first binding alone; a model-8000
    // record gets none there. A date that is still the one read leaves both
    // as stored, the second beside an empty first among them.
    WriteAnalysisDates(xml, RestPath(L"Interpre_ana_date_stc", 0), RestPath(L"Interpre_ana_date_stc", 1),
                       item->stInterpre.strAnaEditDate, AnalysisDateRead::FirstOnly, bEmptyFirstDate != 0);
}

void CRestViewDoc::SaveCodeRows(_RESTDATAITEM* item, CECGXMLParser& xml)
{
    const _INTERPRE_INFO_REST& info = item->stInterpre;
    // The rows as the record XML reads now: rows the person did not change
    // stay as stored, those the reader refused among them. Changed ones are
    // written from the form, the stored rows it did not show after them.
    _INTERPRE_INFO_REST stored;
    std::vector<int> minnesotaShown, ivrelShown;
    ReadMinnesota(stored, xml, &minnesotaShown);
    ReadIvrel(stored, xml, item->b8000File, &ivrelShown);

    if (!SameMinnesotaRows(info, stored)) {
        const int minnesota = std::clamp(info.nMinneCount, 0, INTERPRE_MINNESOTA_ROWS);
        RenewRecordRows(xml, kMinnesotas, L"Minnesota", minnesota, minnesotaShown);
        for (int i = 1; i <= minnesota; ++i) {
            WriteRecordXmlText(xml, RestPath(RestRowControl(L"Interpre_minne_num_%d_edt", i)), info.strMinneCode[i - 1]);
            WriteRecordXmlText(xml, RestPath(RestRowControl(L"Interpre_minne_mask_%d_stc", i)), info.strMinneMask[i - 1]);
            WriteRecordXmlText(xml, RestPath(RestRowControl(L"Interpre_minne_content_%d_edt", i)),
                               info.strMinneContent[i - 1]);
        }
    }

    if (!SameIvrelJudgement(info, stored)) {
        WriteRecordXmlText(xml, RestPath(L"Interpre_ivrel_judge_stc"), info.strIvrelJudgeCode);
        WriteRecordXmlText(xml, RestPath(L"Interpre_ivrel_judge_cmb"), info.strIvrelJudge);
    }
    if (SameIvrelRows(info, stored)) return;
    const int ivrel = std::clamp(info.nIvrelCount, 0, INTERPRE_IVREL_ROWS);
    RenewRecordRows(xml, kIvreles, L"Ivrel", ivrel, ivrelShown);
    for (int i = 1; i <= ivrel; ++i) {
        // The code attribute takes the statement code, never its text, which
        // no reader could look up again.
        WriteRecordXmlText(xml, RestPath(RestRowControl(L"Interpre_ivrel_num_%d_edt", i)), info.strIvrelCode[i]);
        WriteRecordXmlText(xml, RestPath(RestRowControl(L"Interpre_ivrel_mask_%d_stc", i)), info.strIvrelMask[i]);
        WriteRecordXmlText(xml, RestPath(RestRowControl(L"Interpre_ivrel_content_%d_edt", i)), info.strIvrelContent[i]);
    }
}

void CRestViewDoc::SaveEditorsAndComment(_RESTDATAITEM* item, CECGXMLParser& xml)
{
    const _INTERPRE_INFO_REST& info = item->stInterpre;
    WriteRecordXmlText(xml, RestPath(L"Interpre_comment_editor_stc"), info.strCommentEditor);
    WriteRecordDate(xml, RestPath(L"Interpre_comment_date_stc"), info.strCommentEditDate);
    WriteRecordComment(xml, RestPath(L"Interpre_comment_edt"), info.strComment);

    // A model-8000 record's birthday is neither read nor shown, so a save
    // leaves what the record XML holds there as it was.
    if (item->b8000File) return;
    _XML_ATTRIB_DATE birthday;
    birthday.strYear = info.stBirthday.strYear;
    birthday.strMonth = info.stBirthday.strMonth;
    birthday.strDay = info.stBirthday.strDay;
    WriteBirthdayAttributes(*this, xml, info.stBirthday, IsCalendarDate(birthday));
}

int CRestViewDoc::SaveInfoToXML(int itemId)
{
    _RESTDATAITEM* item = GetItemByID(itemId);
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    CECGXMLParser xml(item->strXMLPath, item->b8000File, CString());
    WriteRecordDate(xml, kPatientEditTime, item->stPatient.strReserved);
    KeepShownConfirmation(item->stPatient, &xml);
    return SaveRecordXml(xml);
}

int CRestViewDoc::SaveAnnotationToXML(int itemId)
{
    _RESTDATAITEM* item = GetItemByID(itemId);
    return item ? SaveAnnotationsToFile(item->strXMLPath, item->pAnnoHead, item->b8000File) : 255;
}

int CRestViewDoc::SaveMsuDataToXML(_RESTDATAITEM* item, int lead, int withGlobals)
{
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    CECGXMLParser xml(item->strXMLPath, item->b8000File, CString());
    SaveAnalysisEditor(item, xml, 0);
    if (withGlobals) SaveGlobalMeasures(item, xml);

    const int first = lead == -1 ? 0 : lead;
    const int last = lead == -1 ? MEASURE_LEADS - 1 : lead;
    if (first >= 0 && last < MEASURE_LEADS) {
        for (int key = 0; key < REST_MEASURE_KEYS; ++key) {
            for (int n = first; n <= last; ++n) {
                // A value that still reads as the item holds it (a missing
                // one as "****") is no edit: it stays as the record XML has it.
                const CString& text = item->stMeasure.At(key, n);
                if (ReadMeasureElement(xml, m_strMeasureKey[key], n) == text) continue;
                EnsureMeasureElement(xml, m_strMeasureKey[key], n);
                xml.SetDataToXMLDOM(text, MeasureElementPath(m_strMeasureKey[key], n), 2, L"data");
            }
        }
    }
    // The analysis date just written may be the one the confirmation was read from.
    KeepShownConfirmation(item->stPatient, &xml);
    return SaveRecordXml(xml);
}

void CRestViewDoc::SaveGlobalMeasures(_RESTDATAITEM* item, CECGXMLParser& xml)
{
    for (int i = 0; i < MEASURE_GLOBALS; ++i) {
        const CString path = RestPath(kRestGlobals[i].pszControl, kRestGlobals[i].nAlt);
        const CString& text = item->stMeasure.strGlobal[i];
        if (ReadRestGlobal(xml, path, kRestGlobals[i]) != text) WriteRecordXmlText(xml, path, text);
    }
}
