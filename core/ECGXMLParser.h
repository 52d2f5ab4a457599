// The system's one door to XML files: one object stands for one XML file
// opened in memory for one access (a section of a record XML, a master file,
// the layout stylesheet, an HL7 aECG header). Every value passes as text;
// dates, ages and colours have typed access, and ValidData tells whether a
// value a person gives fits the record format's field.
#pragma once

#include "platform/base/DateTime.h"
#include "platform/base/Strings.h"
#include "platform/base/WinTypes.h"
#include "platform/xml/XmlParser.h"

#include <functional>
#include <memory>

struct _POSITION_CTRL;
struct _ANNOTATION_INFO;

// A record-XML date as seven texts and a milliseconds-present flag, written
// as the attributes "year" to "second" (and "milliseconds") of its element.
struct _XML_ATTRIB_DATE {
    CString strYear;
    CString strMonth;
    CString strDay;
    CString strHour;
    CString strMinute;
    CString strSecond;
    CString strMilliseconds;
    int bMilliseconds = 0;   // 1: the milliseconds attribute was read and is written

    // Empties the seven texts; the flag stays.
    void Empty();
    // The date as "%04d" and "%02d" texts; -1 for every number of an invalid date.
    void SetDate(const COleDateTime& date);
};

// A record-XML age: six texts and a unit (0 years, 1 months, 2 weeks, 3 days,
// 4 hours, 5 not given, 16 years and months, 17 months and weeks, 18 weeks
// and days, 19 days and hours).
struct _XML_ATTRIB_AGE {
    CString strYear;
    CString strMonth;
    CString strDay;
    CString strHour;
    CString strWeek;
    CString strUserData;
    int nUnit = 0;
};

class CECGXMLParser {
public:
    // Opens the file at path. b8000 is the record's 8000-device flag (it only
    // changes the limits of ValidData); prefix stands for the default
    // namespace in XPaths ("hl7" for HL7 aECG headers), empty for none.
    CECGXMLParser(const CString& path, int b8000, CString prefix);
    ~CECGXMLParser();
    CECGXMLParser(const CECGXMLParser&) = delete;
    CECGXMLParser& operator=(const CECGXMLParser&) = delete;

    // type 2: attribute `attrib` of the selected element; type 4: the text of
    // the selected node. Non-zero when read; the text comes back as stored,
    // also when it is longer than ValidData lets a person type.
    int GetDataFromXMLDOM(CString& value, const CString& xpath, int type, const CString& attrib);
    int SetDataToXMLDOM(const CString& value, const CString& xpath, int type, const CString& attrib);
    int GetObjectCount(const CString& xpath);
    int FindNode(const CString& xpath);
    // Removes the first node the XPath selects.
    int RemoveNode(const CString& xpath);
    int Add_LastChildNode(CXmlElmentNode& node, CString& parentXPath);
    void SaveToXMLFile();
    // What the user is told of an XML file that could not be saved: the
    // failure, then the file that the last failed save was to write and why
    // (a folder that may not be written, a folder under the file's name, ...);
    // the failure alone when no save failed since ForgetSaveFailure.
    static CString GetSaveFailureText();
    static void ForgetSaveFailure();

    int GetDateAttrib(_XML_ATTRIB_DATE& date, const CString& xpath, int bCheck);
    int SetDateAttrib(const _XML_ATTRIB_DATE& date, const CString& xpath);
    int GetAgeAttrib(_XML_ATTRIB_AGE& age, const CString& xpath);
    int SetAgeAttrib(const _XML_ATTRIB_AGE& age, const CString& xpath);
    // Gives the element at xpath the style when it has none.
    void MarkStyle(const CString& xpath, const wchar_t* style);
    int GetColorAttrib(COLORREF& color, const CString& xpath);
    int SetColorAttrib(COLORREF color, const CString& xpath);
    // Whether a value a person gives fits the field at xpath in this kind of
    // record (the record format's limits); readers do not apply it.
    int ValidData(const CString& value, const CString& xpath, const int& type, const CString& attrib);

    // One control's entry of a layout table (the layout stylesheet).
    int GetDataPosition(_POSITION_CTRL& entry, const CString& xpath, int bPrint, int bVisibleOnly);
    // One annotation from, and to, the "Anno" element at path.
    int GetAnnotation(_ANNOTATION_INFO* info, const CString& path);
    int SaveAnnotation(_ANNOTATION_INFO* info, const CString& path);

    // Quotes a value for use inside an XPath predicate ([@a=...]): a value
    // with a quote character cannot end the literal early.
    static CString XPathLiteral(const CString& value);

    // What a record XML that is not on disk yet starts with, whatever writes
    // it first (a save of the sheet, a display setting, an annotation, a
    // dialog): a parser made on that path while nothing is there runs the
    // seed on its empty document, so that every save writes what the seed
    // wrote (the patient the record's own file carries) beside what the
    // writer adds, and every reader sees it. The seed counts while the
    // returned holder lives (the document that opened the record keeps it);
    // of several for one path, the one registered last that still lives. A
    // path with anything on disk when the parser reads it, even a file that
    // cannot be read, is never seeded: that file is the record's. The first
    // save of a file a parser found missing only creates it: a file another
    // process made there meanwhile is never replaced; without a name given
    // for it (NameNewFile), that save fails.
    using NewFileSeed = std::function<void(CECGXMLParser&)>;
    static std::shared_ptr<const void> SeedNewFile(const CString& path, NewFileSeed seed);
    // Whether a living seed waits for the file at path.
    static bool IsSeeded(const CString& path);

    // A name given to a file not on disk yet (a record XML to be made) and
    // whose it is. Another process may make a file of another owner under
    // the same name meanwhile: every parser made on the name, for as long
    // as this process runs, reads and writes the owner's own file instead.
    // A file found there when a parser reads the name, or when the first
    // save of a seeded or named file finds the name taken (a first save
    // only ever creates the file), is the owner's when it names this owner
    // at strXPath, or none; it is another's when it names another owner or
    // cannot be read, and is then left as it is: the name moves on to the
    // one nextName gives, and the save writes there. A save that finds no
    // free name writes nothing and fails.
    struct NewFileOwner {
        CString strXPath;                                        // where a file names its owner
        CString strName;                                         // this owner's name there
        std::function<CString(const CString& taken)> nextName;   // a free name after `taken`; empty when none
    };
    static void NameNewFile(const CString& path, NewFileOwner owner);
    // Whether path was given to a file of an owner other than `name`.
    static bool IsNamedForAnother(const CString& path, const CString& name);
    // The file a parser made on path reads and writes: path itself, or the
    // name a named file moved on to.
    static CString FileFor(const CString& path);

    XML_PARSER* m_pXMLParser;   // the document (owned); null when it could not be created
    CString m_strPath;          // the file that SaveToXMLFile writes
    // Non-zero when the last SaveToXMLFile wrote nothing (an unreadable
    // file, a failed write); 0 before any save and after a written one.
    int m_bLastSaveFailed = 0;
    int m_b8000File;            // the record's 8000-device flag
};
