// How the host opens a record file it is given: a device record through the
// examination document of its system code (the item marked a model-8000
// record when only the older device-file reader accepts the file), an MFER
// file through the MFER document, each with the record XML beside it.
#pragma once

#include <memory>
#include <string>
#include <vector>

class CTavrionDoc;

namespace host {

// Where a record's record XML is. Its name is the record's stem (after
// `prefix`, "Raw_" for MFER files), the 14 digits of the naming time and
// ".xml", which two record files of one stem (s.ecg and s.dat, p.mwf and
// p.MWF) share. Whose each one is, is told by what no person edits: the
// record file it names and the patient id and acquisition time that file
// gave when it was made. One naming a record file of its stem here is that
// file's when the file gives them; one naming a file that is not (moved
// out, or renamed or copied with it) is the one record file of its stem
// here that gives them. One naming none (made before record XMLs named
// their record) keeps the acquisition time of its record, which no save
// changes: it is the one record file's of its stem that gives that time,
// or, of several, the one that gives the patient id it stores too. One
// naming none and storing no acquisition time is the one record file's of
// its stem, or, of several, the one whose file gives the patient id it
// stores. The rest are no record's.
struct UnownedRecordXml {
    enum class Why {
        NamesNoRecord,       // it names no record file, and its time and patient tell none of the sharers
        MadeForAnother,      // it names a record file, and the sharers give another patient or time
        SeveralGiveIt,       // it names a record file, and each of the sharers gives its patient and time
        MadeAtAnotherTime,   // it names no record file, and none of the sharers gives the time it stores
    };
    std::string xml;                    // the file
    std::string named;                  // the record file it names; empty for none
    Why why = Why::NamesNoRecord;
    std::vector<std::string> sharers;   // the record files of its name it could be taken for, by name
};
struct RecordXmlSearch {
    std::string xml;   // the record's own, the newest of several; empty when none
    // When it has none, the record XMLs of its name that may be another
    // record's, newest first; none of them is shown or saved for it.
    std::vector<UnownedRecordXml> unowned;
};
// Whether the host takes `path` as an MFER file (by its extension, any case);
// its record XMLs are named with "Raw_" before the stem.
bool IsMferFile(const std::string& path);
// Reads each record XML and record file once a command, however many
// records of the stem it searches for (a file changed since is read again).
RecordXmlSearch SearchRecordXml(const std::string& record, const std::string& prefix = std::string());
// The record's own record XML (SearchRecordXml); empty when it has none,
// also when the one of its name may be another record's.
std::string FindRecordXml(const std::string& record, const std::string& prefix = std::string());
// What the host says of the record XMLs of the record's name that are no
// record's, naming the files ("" when there are none).
std::string SharedRecordXmlText(const RecordXmlSearch& search);
// Says it on stderr for the record, as a note (the record still opens, with
// what its own file carries).
void NoteSharedRecordXml(const std::string& record, const RecordXmlSearch& search);
// Says on stderr that the device readers refused `path`, with the library's
// own cause when it gave one.
void ReportRefusal(const std::string& path);
// A device record opened through its examination document; false (with a
// message) when it cannot be. With `keep` quietly, the document kept there.
bool OpenRecord(const std::string& path, std::unique_ptr<CTavrionDoc>* keep = nullptr);
// Any record, device record or MFER file, opened quietly into the document
// the views and dialogs are given.
bool OpenForViews(const std::string& path, std::unique_ptr<CTavrionDoc>& doc);

}  // namespace host
