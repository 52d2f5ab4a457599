// The record-XML fields that the rhythm, RR and extra-lead forms bind
// alike. Their screen layout tables hold the same entries (the extra-lead
// one without the birthday's six), so one reader and one writer serve all
// three; each document names its own table.
#pragma once

#include "core/PositionCtrl.h"
#include "documents/FormStore.h"
#include "platform/base/Strings.h"

class CECGXMLParser;
class CTavrionDoc;
struct _INTERPRE_INFO_GENERAL;
struct _PATIENT_INFO;

// Entries of the rhythm and RR screen layout tables bound to item fields.
enum RhyRREntry {
    RHYRR_YEAR = 1,
    RHYRR_MONTH = 3,
    RHYRR_DAY = 5,
    RHYRR_MEDICATION1 = 7,   // alternative 0 the list index, 1 the text
    RHYRR_MEDICATION2 = 9,
    RHYRR_SYMPTOM = 11,
    RHYRR_DISEASE = 13,
    RHYRR_DEPARTMENT = 15,
    RHYRR_WARD = 17,
    RHYRR_ROOM = 19,
    RHYRR_REQ_SECTION = 21,
    RHYRR_REQ_DOCTOR = 23,
    RHYRR_TECHNICIAN = 25,
    RHYRR_INFO_EDITOR = 27,
    RHYRR_INFO_DATE = 28,
    RHYRR_COMMENT = 45,
    RHYRR_COMMENT_EDITOR = 47,
    RHYRR_COMMENT_DATE = 48,
};

// A form's screen layout table as these fields use it.
struct RhyRRLayout {
    int nKind;               // the table's kind in GetDefXMLPath
    FormBirthday birthday;   // None: the table lacks the six birthday entries
    _LOAD_POSITION_TYPE load;   // what loads the table
    LayoutTable table;          // its loaded flag
};
const RhyRRLayout kRRLayout = {3, FormBirthday::Shown, LOAD_POS_RR, LayoutTable::RR};
const RhyRRLayout kRhythmLayout = {4, FormBirthday::Shown, LOAD_POS_RHYTHM, LayoutTable::Rhythm};
const RhyRRLayout kExtraLayout = {5, FormBirthday::None, LOAD_POS_EXTRA, LayoutTable::Extra};

// The item fields of the editor blocks and the comment.
struct RhyRREditors {
    CString& strInfoEditor;
    CString& strInfoEditDate;
    CString& strAnalysisEditor;
    CString& strAnalysisEditDate;
    CString& strCommentEditor;
    CString& strCommentDate;
    CString& strComment;   // CR LF line ends in the item
};

// The birthday when the table binds it (checked by the document), the
// medications with their list indexes (-1 when none is stored) and symptom
// to technician. bReqSection tells whether the record holds the requesting
// section at all.
void ReadRhyRRInterpretation(CTavrionDoc& doc, CECGXMLParser& xml, const RhyRRLayout& layout,
                             _INTERPRE_INFO_GENERAL& info, int& bReqSection);
// A birthday that is no calendar date is written empty.
void SaveRhyRRInterpretation(CTavrionDoc& doc, CECGXMLParser& xml, const RhyRRLayout& layout,
                             const _INTERPRE_INFO_GENERAL& info);
// The patient edit time, the editors and their dates, and the comment.
void ReadRhyRREditors(CTavrionDoc& doc, CECGXMLParser& xml, const RhyRRLayout& layout, _PATIENT_INFO& patient,
                      const RhyRREditors& editors);
void SaveRhyRREditors(CTavrionDoc& doc, CECGXMLParser& xml, const RhyRRLayout& layout, const _PATIENT_INFO& patient,
                      const RhyRREditors& editors);
// The same in two halves, for the documents that write the additions
// between them: the patient edit time, the confirmation and the
// information editor; then the analysis editor and the comment block.
void SaveRhyRRInfoEditors(CTavrionDoc& doc, CECGXMLParser& xml, const RhyRRLayout& layout,
                          const _PATIENT_INFO& patient, const RhyRREditors& editors);
void SaveRhyRRAnalysisAndComment(CTavrionDoc& doc, CECGXMLParser& xml, const RhyRRLayout& layout,
                                 const RhyRREditors& editors);
