// Small value helpers of the resting document's record-XML reading and
// writing: texts and numbers that may be missing, dates as the item keeps
// them, and the comment's line ends.
#pragma once

#include "platform/base/Strings.h"

class CECGXMLParser;
struct _XML_ATTRIB_DATE;

// The element text (or the attribute when given); empty when it cannot be read.
CString RestXmlText(CECGXMLParser& xml, const CString& path, LPCWSTR attribute = nullptr);
// A whole decimal number; false for a missing or non-numeric value.
bool RestXmlNumber(CECGXMLParser& xml, const CString& path, long& value, LPCWSTR attribute = nullptr);
// A finite real number; false for a missing or non-numeric value.
bool RestXmlReal(CECGXMLParser& xml, const CString& path, double& value, LPCWSTR attribute = nullptr);

// "%04d/%02d/%02d %02d:%02d:%02d" of a date record.
CString FormatRestDate(const _XML_ATTRIB_DATE& date);
// Whether the six parts of a date record make a date and time that exists.
bool IsCalendarDate(const _XML_ATTRIB_DATE& date);
// A date text of the item as a date record; an empty record when it does not parse.
_XML_ATTRIB_DATE ParseRestDate(const CString& text);
// Writes a date record; a date element made here carries style="Date" so
// that the readers accept it again.
void WriteRestDate(CECGXMLParser& xml, const CString& path, const _XML_ATTRIB_DATE& date);

// Bare line feeds become CR LF; a CR LF already there stays as it is.
CString ToCrLf(const CString& text);

// The per-lead measurement element of a key and a lead (0 to 11).
CString MeasureElementPath(const CString& key, int lead);

bool IsRestFifteenLead(unsigned systemCode);

// A numbered control name of a code row ("Interpre_minne_num_%d_edt" and row).
CString RestRowControl(LPCWSTR format, int row);

// The ten record-wide measurements (heart rate, PR, QRS, QT, QTc, P, QRS and
// T axes, RV5, SV1): the control each is bound to and its text when missing.
struct RestGlobalBinding {
    const wchar_t* pszControl;
    int nAlt;
    const wchar_t* pszDefault;
};
extern const RestGlobalBinding kRestGlobals[10];

// The entry of a control in the resting screen form's layout table; -1 when
// the form has no control of that name.
int RestControlIndex(LPCWSTR control);
