#include "documents/RhyRRRecordXml.h"

#include "core/ECGXMLParser.h"
#include "core/TavrionDoc.h"
#include "documents/RecordXmlText.h"
#include "documents/RecordPaths.h"

namespace {

using namespace recordpath;

const int kCodeAlt = 0;
const int kTextAlt = 1;

// The form's text fields from symptom to technician, in the table's order.
struct TextEntry {
    int nEntry;
    CString _INTERPRE_INFO_GENERAL::*pField;
};
const TextEntry kTextEntries[] = {
    {RHYRR_SYMPTOM, &_INTERPRE_INFO_GENERAL::strSympton},
    {RHYRR_DISEASE, &_INTERPRE_INFO_GENERAL::strDisease},
    {RHYRR_DEPARTMENT, &_INTERPRE_INFO_GENERAL::strDepartment},
    {RHYRR_WARD, &_INTERPRE_INFO_GENERAL::strWard},
    {RHYRR_ROOM, &_INTERPRE_INFO_GENERAL::strRoomNumber},
    {RHYRR_REQ_SECTION, &_INTERPRE_INFO_GENERAL::strReqSection},
    {RHYRR_REQ_DOCTOR, &_INTERPRE_INFO_GENERAL::strReqDoctor},
    {RHYRR_TECHNICIAN, &_INTERPRE_INFO_GENERAL::strTechnician},
};

// The record path of an entry of the form's table.
CString EntryPath(CTavrionDoc& doc, const RhyRRLayout& layout, int entry, int alt)
{
    // A record opened before any form asked for the table (a report printed
    // straight from the file list) is read through the same paths as on
    // screen: without the table every field would read, and save, empty.
    if (!*GetLayoutLoadedFlag(g_stDefCtrlPos, layout.table)) doc.GetCtrlPosFromXSL(layout.load);
    // The tables without the birthday lack entries 0 to 5.
    const int shift = layout.birthday == FormBirthday::Shown ? 0 : RHYRR_MEDICATION1 - 1;
    return doc.GetDefXMLPath(layout.nKind, entry - shift, alt);
}

int ListIndex(const CString& text)
{
    return text.IsEmpty() ? -1 : _wtoi(text);
}

int ReadListIndexText(CECGXMLParser& xml, const CString& path)
{
    return ListIndex(RecordXmlText(xml, path));
}

// The birthday where the table binds it, checked by the document.
_BIRTHDAY ReadFormBirthday(CTavrionDoc& doc, CECGXMLParser& xml, const RhyRRLayout& layout)
{
    _BIRTHDAY birthday;
    birthday.strYear = PaddedNumber(RecordXmlText(xml, EntryPath(doc, layout, RHYRR_YEAR, 0)), L"%04d");
    birthday.strMonth = PaddedNumber(RecordXmlText(xml, EntryPath(doc, layout, RHYRR_MONTH, 0)), L"%02d");
    birthday.strDay = PaddedNumber(RecordXmlText(xml, EntryPath(doc, layout, RHYRR_DAY, 0)), L"%02d");
    return doc.CheckBirthday(birthday);
}

}  // namespace

void ReadRhyRRInterpretation(CTavrionDoc& doc, CECGXMLParser& xml, const RhyRRLayout& layout,
                             _INTERPRE_INFO_GENERAL& info, int& bReqSection)
{
    auto path = [&](int entry, int alt = 0) { return EntryPath(doc, layout, entry, alt); };
    if (layout.birthday == FormBirthday::Shown) info.stBirthday = ReadFormBirthday(doc, xml, layout);

    info.strMedication1 = RecordXmlText(xml, path(RHYRR_MEDICATION1, kTextAlt));
    info.nMedication1Sel = ReadListIndexText(xml, path(RHYRR_MEDICATION1, kCodeAlt));
    info.strMedication2 = RecordXmlText(xml, path(RHYRR_MEDICATION2, kTextAlt));
    info.nMedication2Sel = ReadListIndexText(xml, path(RHYRR_MEDICATION2, kCodeAlt));

    for (const TextEntry& t : kTextEntries) info.*t.pField = RecordXmlText(xml, path(t.nEntry));
    // Present even when its text does not read.
    const CString section = path(RHYRR_REQ_SECTION);
    bReqSection = !section.IsEmpty() && xml.FindNode(section) ? 1 : 0;
}

void SaveRhyRRInterpretation(CTavrionDoc& doc, CECGXMLParser& xml, const RhyRRLayout& layout,
                             const _INTERPRE_INFO_GENERAL& info)
{
    auto path = [&](int entry, int alt = 0) { return EntryPath(doc, layout, entry, alt); };
    const _BIRTHDAY& birthday = info.stBirthday;
    // One the check refuses (the year alone) is shown as none: it stays as
    // stored until the person types another.
    if (layout.birthday == FormBirthday::Shown && !SameBirthday(ReadFormBirthday(doc, xml, layout), birthday)) {
        _XML_ATTRIB_DATE day;
        day.strYear = birthday.strYear;
        day.strMonth = birthday.strMonth;
        day.strDay = birthday.strDay;
        const bool valid = IsCalendarDate(day);
        WriteRecordXmlText(xml, path(RHYRR_YEAR), valid ? birthday.strYear : CString());
        WriteRecordXmlText(xml, path(RHYRR_MONTH), valid ? birthday.strMonth : CString());
        WriteRecordXmlText(xml, path(RHYRR_DAY), valid ? birthday.strDay : CString());
    }

    WriteRecordXmlText(xml, path(RHYRR_MEDICATION1, kTextAlt), info.strMedication1);
    WriteRecordXmlNumber(xml, path(RHYRR_MEDICATION1, kCodeAlt), info.nMedication1Sel, ReadListIndexText);
    WriteRecordXmlText(xml, path(RHYRR_MEDICATION2, kTextAlt), info.strMedication2);
    WriteRecordXmlNumber(xml, path(RHYRR_MEDICATION2, kCodeAlt), info.nMedication2Sel, ReadListIndexText);
    for (const TextEntry& t : kTextEntries) WriteRecordXmlText(xml, path(t.nEntry), info.*t.pField);
}

void ReadRhyRREditors(CTavrionDoc& doc, CECGXMLParser& xml, const RhyRRLayout& layout, _PATIENT_INFO& patient,
                      const RhyRREditors& editors)
{
    auto path = [&](int entry) { return EntryPath(doc, layout, entry, 0); };
    // Saved as a date: read as one too, or every save would empty it; a
    // record that holds it as text keeps that.
    patient.strReserved = ReadRecordDate(xml, kPatientEditTime, RecordDateCheck::Any);
    if (patient.strReserved.IsEmpty()) patient.strReserved = RecordXmlText(xml, kPatientEditTime);

    editors.strInfoEditor = RecordXmlText(xml, path(RHYRR_INFO_EDITOR));
    editors.strInfoEditDate = ReadRecordDate(xml, path(RHYRR_INFO_DATE), RecordDateCheck::Any);
    editors.strAnalysisEditor = RecordXmlText(xml, kAnalysisEditor);
    // The newer place wins when it holds a real date; the older one is the fallback.
    editors.strAnalysisEditDate =
        ReadAnalysisDate(xml, kAnalysisDate, kAnalysisEditDate, AnalysisDateRead::FirstThenSecond);
    editors.strCommentEditor = RecordXmlText(xml, path(RHYRR_COMMENT_EDITOR));
    editors.strCommentDate = ReadRecordDate(xml, path(RHYRR_COMMENT_DATE), RecordDateCheck::Any);
    editors.strComment = ToCrLf(RecordXmlText(xml, path(RHYRR_COMMENT)));
}

void SaveRhyRREditors(CTavrionDoc& doc, CECGXMLParser& xml, const RhyRRLayout& layout, const _PATIENT_INFO& patient,
                      const RhyRREditors& editors)
{
    SaveRhyRRInfoEditors(doc, xml, layout, patient, editors);
    SaveRhyRRAnalysisAndComment(doc, xml, layout, editors);
}

void SaveRhyRRInfoEditors(CTavrionDoc& doc, CECGXMLParser& xml, const RhyRRLayout& layout,
                          const _PATIENT_INFO& patient, const RhyRREditors& editors)
{
    const bool confirmationAsStored = doc.IsConfirmationAsStored(patient, &xml);
    WriteRecordDate(xml, kPatientEditTime, patient.strReserved);
    if (!confirmationAsStored) {
        WriteRecordXmlText(xml, kConfirmEditor, patient.strConfirmDoctor);
        WriteRecordDate(xml, kConfirmDate, patient.strConfirmDate);
    }
    WriteRecordXmlText(xml, EntryPath(doc, layout, RHYRR_INFO_EDITOR, 0), editors.strInfoEditor);
    WriteRecordDate(xml, EntryPath(doc, layout, RHYRR_INFO_DATE, 0), editors.strInfoEditDate);
}

void SaveRhyRRAnalysisAndComment(CTavrionDoc& doc, CECGXMLParser& xml, const RhyRRLayout& layout,
                                 const RhyRREditors& editors)
{
    auto path = [&](int entry) { return EntryPath(doc, layout, entry, 0); };
    WriteRecordXmlText(xml, kAnalysisEditor, editors.strAnalysisEditor);
    WriteAnalysisDates(xml, kAnalysisDate, kAnalysisEditDate, editors.strAnalysisEditDate,
                       AnalysisDateRead::FirstThenSecond);

    WriteRecordXmlText(xml, path(RHYRR_COMMENT_EDITOR), editors.strCommentEditor);
    WriteRecordDate(xml, path(RHYRR_COMMENT_DATE), editors.strCommentDate);
    WriteRecordComment(xml, path(RHYRR_COMMENT), editors.strComment);
}
