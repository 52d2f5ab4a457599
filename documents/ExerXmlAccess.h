// Record-XML access that the exercise document's readers and its saver
// share: layout entries of the exercise form, values addressed by paths that
// may end in an attribute, and the IVREL judgement master.
#pragma once

#include "platform/base/Strings.h"

class CECGXMLParser;
struct _XML_ATTRIB_DATE;

namespace exer {

// The exercise screen layout table in GetDefXMLPath.
const int LAYOUT_KIND_EXER = 6;

// Entries of the "Interpre_exer" layout table that carry record paths.
enum ExerLayoutEntry {
    EXER_ENTRY_MEDICATION1 = 1,   // alternative 0 the list index, 1 the text
    EXER_ENTRY_MEDICATION2 = 3,
    EXER_ENTRY_SYMPTON = 5,
    EXER_ENTRY_DISEASE = 7,
    EXER_ENTRY_DEPARTMENT = 9,
    EXER_ENTRY_WARD = 11,
    EXER_ENTRY_REQ_DOCTOR = 13,
    EXER_ENTRY_TECHNICIAN = 15,
    EXER_ENTRY_LOAD = 17,
    EXER_ENTRY_LOAD_TIME = 19,    // alternative 0 the duration (minute, second), 1 the METs in tenths
    EXER_ENTRY_STOP_CONDITION = 21,
    EXER_ENTRY_MAX_HR = 23,
    EXER_ENTRY_TARGET_HR = 27,
    EXER_ENTRY_ST_LEVEL = 32,
    EXER_ENTRY_ST_SLOPE = 34,
    EXER_ENTRY_IVREL_CODE = 36,
    EXER_ENTRY_IVREL_VALUE = 37,
    EXER_ENTRY_COMMENT = 40,
};

// The text of the element, or of the attribute when the path ends in "/@name".
// False, with the text emptied, when it is missing or fails its range check.
bool ReadXmlValue(CECGXMLParser& xml, const CString& path, CString& text);
// Writes the same; false when the path is empty or the write fails.
bool WriteXmlValue(CECGXMLParser& xml, const CString& path, const CString& text);
// A list index or stop condition as the reader takes it: the number, or -1
// where the value is missing or empty.
int ReadXmlIndex(CECGXMLParser& xml, const CString& path);
// A heart rate of the summary as the form shows one stored so: its whole
// number, or empty where the text is empty or the number below 0.
CString SummaryHeartRateText(const CString& stored);
// The Japanese text of a judgement code in the IVREL master of the work
// directory, and back; empty when the master or the entry is missing.
CString LookupIvrelText(const CString& code);
CString LookupIvrelCode(const CString& text);

}  // namespace exer
