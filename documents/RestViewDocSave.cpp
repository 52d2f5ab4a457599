// Writing a resting item back into its record XML: everything the forms and
// dialogs edit, and the narrower savers of the edit time, the annotations
// and the measurements.
#include "core/ECGXMLParser.h"
#include "documents/RestViewDoc.h"
#include "documents/RestXmlText.h"

namespace {

const wchar_t kEditTime[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Edit_time";
const wchar_t kAge[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Age";
const wchar_t kDoctor[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Doctor";
const wchar_t kConfirmEditor[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Editor_name";
const wchar_t kConfirmDate[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Confirm_editor/Edit_date";
const wchar_t kBirthday[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Birthday";
const wchar_t kTripInfo[] = L"/Rawdata/Tavrion/Record/Mstep_section/Trip_info";
const wchar_t kMinnesotas[] = L"/Rawdata/Tavrion/Analysis/Analysis_section/Minnesotas";
const wchar_t kIvreles[] = L"/Rawdata/Tavrion/Analysis/Analysis_section/Ivreles";
const wchar_t kMeasureNode[] = L"/Rawdata/Tavrion/Measurement/Measurement_section/Mm/%s";

void WriteText(CECGXMLParser& xml, const CString& path, const CString& value)
{
    if (!path.IsEmpty()) xml.SetDataToXMLDOM(value, path, 4, CString());
}

// Creates an element along a plain child path when it is missing.
void EnsureElement(CECGXMLParser& xml, const CString& path)
{
    if (!xml.FindNode(path)) xml.SetDataToXMLDOM(CString(), path, 4, CString());
}

// Replaces every row element under the parent by `count` fresh ones numbered 1 to count.
void RenumberRows(CECGXMLParser& xml, const CString& parent, LPCWSTR element, int count)
{
    const CString rows = parent + L"/" + element;
    for (int guard = xml.GetObjectCount(rows); guard >= 0 && xml.RemoveNode(rows); --guard) {
    }
    if (count <= 0) return;
    EnsureElement(xml, parent);
    CString parentPath = parent;
    const wchar_t* const names[] = {L"number", L"mask", L"title"};
    for (int i = 1; i <= count; ++i) {
        CXmlElmentNode node;
        node.SetName(element);
        for (const wchar_t* name : names) {
            CXmlAttribNode attribute;
            attribute.SetName(name);
            if (name == names[0]) attribute.SetContent(RestRowControl(L"%d", i));
            node.m_arrAttrib.Add(attribute);
        }
        xml.Add_LastChildNode(node, parentPath);
    }
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

}  // namespace

int CRestViewDoc::SaveDataToXML(int itemId)
{
    _RESTDATAITEM* item = GetItemByID(itemId);
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    if (!item->bSkipRefresh) UpDateCurItemContent();
    item->bSkipRefresh = 0;

    CECGXMLParser xml(item->strXMLPath, item->b8000File, CString());
    const bool ageExisted = xml.FindNode(kAge) != 0;
    SavePatInfoToXML(item->stPatient, &xml);
    // The readers take an age only with its style.
    if (!ageExisted && xml.FindNode(kAge)) xml.SetDataToXMLDOM(L"Age", kAge, 2, L"style");
    SaveWaveInfoToXML(static_cast<int>(item->uSystemCode), item->stLeadName, &xml);

    SaveInterpretation(item, xml);
    WriteRestDate(xml, kEditTime, ParseRestDate(item->stPatient.strReserved));
    WriteText(xml, kDoctor, item->stPatient.strConfirmDoctor);
    WriteText(xml, kConfirmEditor, item->stPatient.strConfirmDoctor);
    WriteRestDate(xml, kConfirmDate, ParseRestDate(item->stPatient.strConfirmDate));
    WriteText(xml, RestPath(L"Interpre_info_editor_stc"), item->stInterpre.strInfoEditor);
    WriteRestDate(xml, RestPath(L"Interpre_info_editor_date_stc"), ParseRestDate(item->stInterpre.strInfoEditDate));
    SaveAnalysisEditor(item, xml, item->b8000File);
    SaveCodeRows(item, xml);
    SaveAdditionToXML(&xml, item->stAddition);
    SaveEditorsAndComment(item, xml);

    if (IsTripInforSystemCode(static_cast<int>(item->uSystemCode))) {
        xml.SetDataToXMLDOM(item->strTrip, kTripInfo, 2, L"trip");
        xml.SetDataToXMLDOM(item->strTotalTrip, kTripInfo, 2, L"total");
    }
    xml.SaveToXMLFile();
    return 0;
}

void CRestViewDoc::SaveInterpretation(_RESTDATAITEM* item, CECGXMLParser& xml)
{
    const _INTERPRE_INFO_REST& info = item->stInterpre;
    CString number;
    WriteText(xml, RestPath(L"Interpre_medication1_cmb", 1), info.strMedication1);
    number.Format(L"%d", info.nMedication1Sel);
    WriteText(xml, RestPath(L"Interpre_medication1_cmb", 0), number);
    WriteText(xml, RestPath(L"Interpre_medication2_cmb", 1), info.strMedication2);
    number.Format(L"%d", info.nMedication2Sel);
    WriteText(xml, RestPath(L"Interpre_medication2_cmb", 0), number);
    WriteText(xml, RestPath(L"Interpre_symptom_cmb"), info.strSympton);
    WriteText(xml, RestPath(L"Interpre_disease_cmb"), info.strDisease);
    WriteText(xml, RestPath(L"Interpre_department_cmb"), info.strDepartment);
    WriteText(xml, RestPath(L"Interpre_ward_cmb"), info.strWard);
    WriteText(xml, RestPath(L"Interpre_room_no_edt"), info.strRoomNumber);
    WriteText(xml, RestPath(L"Interpre_req_section_cmb"), info.strReqSection);
    WriteText(xml, RestPath(L"Interpre_req_doctor_cmb"), info.strReqDoctor);
    WriteText(xml, RestPath(L"Interpre_technician_cmb"), info.strTechnician);
}

void CRestViewDoc::SaveAnalysisEditor(_RESTDATAITEM* item, CECGXMLParser& xml, int bEmptyFirstDate)
{
    const _XML_ATTRIB_DATE date = ParseRestDate(item->stInterpre.strAnaEditDate);
    WriteText(xml, RestPath(L"Interpre_ana_editor_stc"), item->stInterpre.strAnaEditor);
    WriteRestDate(xml, RestPath(L"Interpre_ana_date_stc", 1), date);
    WriteRestDate(xml, RestPath(L"Interpre_ana_date_stc", 0), bEmptyFirstDate ? _XML_ATTRIB_DATE() : date);
}

void CRestViewDoc::SaveCodeRows(_RESTDATAITEM* item, CECGXMLParser& xml)
{
    const _INTERPRE_INFO_REST& info = item->stInterpre;
    const int minnesota = info.nMinneCount < INTERPRE_MINNESOTA_ROWS ? info.nMinneCount : INTERPRE_MINNESOTA_ROWS;
    RenumberRows(xml, kMinnesotas, L"Minnesota", minnesota);
    for (int i = 1; i <= minnesota; ++i) {
        WriteText(xml, RestPath(RestRowControl(L"Interpre_minne_num_%d_edt", i)), info.strMinneCode[i - 1]);
        WriteText(xml, RestPath(RestRowControl(L"Interpre_minne_mask_%d_stc", i)), info.strMinneMask[i - 1]);
        WriteText(xml, RestPath(RestRowControl(L"Interpre_minne_content_%d_edt", i)), info.strMinneContent[i - 1]);
    }

    WriteText(xml, RestPath(L"Interpre_ivrel_judge_stc"), info.strIvrelJudgeCode);
    WriteText(xml, RestPath(L"Interpre_ivrel_judge_cmb"), info.strIvrelJudge);
    const int ivrel = info.nIvrelCount < INTERPRE_IVREL_ROWS ? info.nIvrelCount : INTERPRE_IVREL_ROWS;
    RenumberRows(xml, kIvreles, L"Ivrel", ivrel);
    for (int i = 1; i <= ivrel; ++i) {
        // The code attribute takes the statement code, never its text, which
        // no reader could look up again.
        WriteText(xml, RestPath(RestRowControl(L"Interpre_ivrel_num_%d_edt", i)), info.strIvrelCode[i]);
        WriteText(xml, RestPath(RestRowControl(L"Interpre_ivrel_mask_%d_stc", i)), info.strIvrelMask[i]);
        WriteText(xml, RestPath(RestRowControl(L"Interpre_ivrel_content_%d_edt", i)), info.strIvrelContent[i]);
    }
}

void CRestViewDoc::SaveEditorsAndComment(_RESTDATAITEM* item, CECGXMLParser& xml)
{
    const _INTERPRE_INFO_REST& info = item->stInterpre;
    WriteText(xml, RestPath(L"Interpre_comment_editor_stc"), info.strCommentEditor);
    WriteRestDate(xml, RestPath(L"Interpre_comment_date_stc"), ParseRestDate(info.strCommentEditDate));
    WriteText(xml, RestPath(L"Interpre_comment_edt"), info.strComment);

    _XML_ATTRIB_DATE birthday;
    birthday.strYear = info.stBirthday.strYear;
    birthday.strMonth = info.stBirthday.strMonth;
    birthday.strDay = info.stBirthday.strDay;
    const bool valid = IsCalendarDate(birthday);
    xml.SetDataToXMLDOM(valid ? info.stBirthday.strYear : CString(), kBirthday, 2, L"year");
    xml.SetDataToXMLDOM(valid ? info.stBirthday.strMonth : CString(), kBirthday, 2, L"month");
    xml.SetDataToXMLDOM(valid ? info.stBirthday.strDay : CString(), kBirthday, 2, L"day");
}

int CRestViewDoc::SaveInfoToXML(int itemId)
{
    _RESTDATAITEM* item = GetItemByID(itemId);
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    CECGXMLParser xml(item->strXMLPath, item->b8000File, CString());
    WriteRestDate(xml, kEditTime, ParseRestDate(item->stPatient.strReserved));
    xml.SaveToXMLFile();
    return 0;
}

int CRestViewDoc::SaveAnnotationToXML(int itemId)
{
    _RESTDATAITEM* item = GetItemByID(itemId);
    if (!item || item->strXMLPath.IsEmpty()) return 255;
    CECGXMLParser xml(item->strXMLPath, item->b8000File, CString());
    SaveAnnoInfoToXML(item->pAnnoHead, &xml);
    xml.SaveToXMLFile();
    return 0;
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
                EnsureMeasureElement(xml, m_strMeasureKey[key], n);
                xml.SetDataToXMLDOM(item->stMeasure.At(key, n), MeasureElementPath(m_strMeasureKey[key], n), 2, L"data");
            }
        }
    }
    xml.SaveToXMLFile();
    return 0;
}

void CRestViewDoc::SaveGlobalMeasures(_RESTDATAITEM* item, CECGXMLParser& xml)
{
    for (int i = 0; i < MEASURE_GLOBALS; ++i)
        WriteText(xml, RestPath(kRestGlobals[i].pszControl, kRestGlobals[i].nAlt), item->stMeasure.strGlobal[i]);
}
