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
// p.MWF) share: one that names its record file belongs to that file alone;
// one that names none (made before record XMLs named their record) belongs
// to the record when no other record file of the folder could own it.
struct RecordXmlSearch {
    std::string xml;                    // the record's own, the newest of several; empty when none
    std::string shared;                 // a record XML naming no record that several record files could own
    std::vector<std::string> sharers;   // those record files (the record among them), by name
};
// Whether the host takes `path` as an MFER file (by its extension, any case);
// its record XMLs are named with "Raw_" before the stem.
bool IsMferFile(const std::string& path);
RecordXmlSearch SearchRecordXml(const std::string& record, const std::string& prefix = std::string());
// The record's own record XML (SearchRecordXml); empty when it has none,
// also when the one of its name may be another record's.
std::string FindRecordXml(const std::string& record, const std::string& prefix = std::string());
// What the host says of a record XML that may be another record's: the
// file and the record files that share its name ("" when none does).
std::string SharedRecordXmlText(const RecordXmlSearch& search);
// Says it on stderr for the record, as a note (the record still opens, with
// what its own file carries).
void NoteSharedRecordXml(const std::string& record, const std::string& prefix);
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
