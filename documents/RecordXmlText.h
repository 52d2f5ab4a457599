// Value helpers that every examination document's record-XML reading and
// writing shares: texts and numbers that may be missing, dates as the items
// keep them ("%04d/%02d/%02d %02d:%02d:%02d"), and the comment's line ends.
#pragma once

#include <vector>

#include "platform/base/Strings.h"

class CECGXMLParser;
class CTavrionDoc;
struct _BIRTHDAY;
struct _XML_ATTRIB_DATE;

// The element text (or the attribute when given); empty when it cannot be read.
CString RecordXmlText(CECGXMLParser& xml, const CString& path, LPCWSTR attribute = nullptr);
// A whole decimal number; false for a missing or non-numeric value.
bool RecordXmlNumber(CECGXMLParser& xml, const CString& path, long& value, LPCWSTR attribute = nullptr);
// A finite real number; false for a missing or non-numeric value.
bool RecordXmlReal(CECGXMLParser& xml, const CString& path, double& value, LPCWSTR attribute = nullptr);
// Writes the element text; nothing for an empty path (a layout entry the
// stylesheet does not bind), nor an empty text where the element is missing.
void WriteRecordXmlText(CECGXMLParser& xml, const CString& path, const CString& text);
// Writes an attribute unless it still reads as `text`, a missing one reading
// as `missing` (the reader's stand-in for it): a value the save was not given
// to change stays as the record XML has it, absent included.
void WriteChangedRecordXmlAttribute(CECGXMLParser& xml, const CString& path, LPCWSTR attribute, const CString& text,
                                    const CString& missing = CString());

// Writes a number unless the stored text already reads as it through `read`,
// the reader's own reading of it: a number the reader stood in for (a list
// index missing, empty or no number, read as none) is no edit, and the
// stored text, or its absence, stays.
void WriteRecordXmlNumber(CECGXMLParser& xml, const CString& path, int value,
                          int (*read)(CECGXMLParser& xml, const CString& path));
// A list index: the whole number, or -1 where there is none.
int ReadListIndex(CECGXMLParser& xml, const CString& path);

// Replaces the row elements under the parent that the form showed (those
// whose number is in `shown`) by `count` fresh ones with their number (1 to
// count) and empty mask and title; the parent is made when the record has
// none. Every other stored row, which no form shows or edits (one the reader
// refused, one past the form's), follows them as stored, numbered on.
void RenewRecordRows(CECGXMLParser& xml, const CString& parent, LPCWSTR element, int count,
                     const std::vector<int>& shown);

// "%d" of a number, as the record XML stores counts, codes and list indexes.
CString IntText(int value);
// A real number in a format such as "%.1f".
CString RealText(LPCWSTR format, double value);

// The display settings of a record XML live below the settings element; an
// element is a child path there ("Filter", "Sensitivity/Rhythm"). The
// attribute, when given and not empty, is read or written instead of the
// element text.
CString SettingPath(LPCWSTR element);
// False when it is missing.
bool ReadSetting(CECGXMLParser& xml, LPCWSTR element, CString& text, LPCWSTR attribute = nullptr);
// Numeric settings go through the strict readers above: a value that is not
// wholly a number ("12abc", "") is no value, so the setting's fallback applies.
// A whole number an int cannot hold is none either.
bool ReadSettingNumber(CECGXMLParser& xml, LPCWSTR element, int& value, LPCWSTR attribute = nullptr);
bool ReadSettingReal(CECGXMLParser& xml, LPCWSTR element, double& value, LPCWSTR attribute = nullptr);
// The whole number, or the fallback when ReadSettingNumber finds none.
int SettingNumberOr(CECGXMLParser& xml, LPCWSTR element, int fallback, LPCWSTR attribute = nullptr);
void WriteSetting(CECGXMLParser& xml, LPCWSTR element, const CString& text, LPCWSTR attribute = nullptr);

// "%04d/%02d/%02d %02d:%02d:%02d" of a date record.
CString FormatRecordDate(const _XML_ATTRIB_DATE& date);
// Whether the six parts of a date record make a date and time that exists.
bool IsCalendarDate(const _XML_ATTRIB_DATE& date);
// A date text of an item as a date record; an empty record when it does not parse.
_XML_ATTRIB_DATE ParseRecordDate(const CString& text);

// How strictly a stored date element is taken.
enum class RecordDateCheck {
    Any,        // any date element
    Calendar,   // only a date and time that exists (the parts taken whole, never wrapped)
};
// A date element as item text. Empty when the element is missing, fails
// the check, or holds no date at all (a save left its parts empty): such an
// element reads back as no date rather than as the year 0.
CString ReadRecordDate(CECGXMLParser& xml, const CString& path, RecordDateCheck check);
// Writes a date record. The readers take an element as a date only by its
// style, so the element leaves here styled "Date" whatever it carried.
void WriteRecordDate(CECGXMLParser& xml, const CString& path, const _XML_ATTRIB_DATE& date);
// The same for an item's date text; a text that does not parse writes an
// empty date. A text the element reads as is no edit, and neither is an
// empty one over an element the readers refuse (no day that exists, no date
// at all): the element stays as stored.
void WriteRecordDate(CECGXMLParser& xml, const CString& path, const CString& text);

// Where the analysis date is read from: the first place alone, or the
// second where the first holds no date that exists.
enum class AnalysisDateRead {
    FirstOnly,
    FirstThenSecond,
};
// The analysis date as the readers take it from its two places.
CString ReadAnalysisDate(CECGXMLParser& xml, const CString& first, const CString& second, AnalysisDateRead read);
// Writes the analysis date into both places (an empty date into the first
// where `emptyFirst`, as a model-8000 resting record keeps it) unless it is
// the date the readers take from them: a save that did not change the
// analysis leaves both as stored.
void WriteAnalysisDates(CECGXMLParser& xml, const CString& first, const CString& second, const CString& text,
                        AnalysisDateRead read, bool emptyFirst = false);

// A number text (trimmed) in the given format ("%04d", "%02d"); empty stays empty.
CString PaddedNumber(CString text, LPCWSTR format);

// Devices end comment lines with a bare LF, the forms need CR LF: bare line
// feeds become CR LF; a CR LF already there stays as it is.
CString ToCrLf(const CString& text);
// Writes a comment that the reader took through ToCrLf, with CR LF line
// ends. One that still reads as stored is left as the record XML has it,
// line breaks included: a save that did not edit the comment does not
// rewrite it. An edited comment is written whole: the comment box limits
// what the person types, and what it kept of a comment stored longer than
// the record format's field is the person's to keep (the reader gives it
// back whole).
void WriteRecordComment(CECGXMLParser& xml, const CString& path, const CString& comment);

// The wave colours of the leads not chosen (slots 16 to 19) from the record's
// colour settings; each its own default when the record lacks it.
void ReadNonChoiceColors(CTavrionDoc& doc, CECGXMLParser& xml);

// The display settings the screens offer: a hi-cut filter (Hz; 0 for none)
// and a sensitivity step (mm/mV). Anything else in a record XML falls back,
// never reaching the views' divisions.
bool IsDisplayFilter(double hz);
// The step a stored sensitivity stands for; the fallback when it is none.
float DisplaySense(double mmPerMv, float fallback);

// The settings the resting and MFER documents read alike for a full-lead
// record; each falls back to its default when the record lacks it or holds
// something the screens do not offer.
// A sensitivity step (Sensitivity/...), else 10 mm/mV.
float ReadSettingSense(CECGXMLParser& xml, LPCWSTR element);
// The hi-cut filter, else 100 Hz.
int ReadSettingFilter(CECGXMLParser& xml);
// The one-lead strip's lead of a record of `leads` leads: `standard` is the
// lead among the first twelve (or of a 3-lead record), 0 when the setting is
// missing or names no lead of the record; on 15 leads an extension lead
// (12 to 14) sets `extension` to 1 to 3 and leaves `standard` for when the
// strip goes back to a standard lead, while any other choice sets it to 0.
void ReadSettingRhythmLead(CECGXMLParser& xml, int leads, int& standard, int& extension);
// The wave colours of slots 5 to 14 and 16 to 19, each its default when missing.
void ReadSettingColors(CTavrionDoc& doc, CECGXMLParser& xml);
// The lead selections of the 12-lead wave style (11), or of the 15- and 9-lead
// styles (12, 9) of a 15-lead record, each its full mask when missing.
void ReadSettingLeadSelections(CTavrionDoc& doc, CECGXMLParser& xml, int systemCode, bool fifteenLeads);

// The IVREL master of the work directory and its two code lists.
extern const wchar_t kIvrelCodeList[];        // "/Ivrel/Ivrel_code/Code"
extern const wchar_t kIvrelJudgementList[];   // "/Ivrel/Judgement_code/Code"
CString IvrelMasterPath();
// The Japanese text of a code in one list of the master; empty for an
// empty code or one the list does not hold.
CString IvrelMasterText(CECGXMLParser& master, LPCWSTR list, const CString& code);

// The patient's birthday attributes ("%04d", "%02d", "%02d"; a missing part
// stays empty), for the document to check.
_BIRTHDAY ReadBirthdayAttributes(CECGXMLParser& xml);
// Whether two birthdays are the same three texts.
bool SameBirthday(const _BIRTHDAY& a, const _BIRTHDAY& b);
// Writes them, all three empty unless `bValid`, unless the stored ones read,
// checked by the document, as `birthday`: one the check refuses (the year
// alone) is shown as none and stays as stored until another is given, and
// a record without one gains none.
void WriteBirthdayAttributes(CTavrionDoc& doc, CECGXMLParser& xml, const _BIRTHDAY& birthday, bool bValid);
