// How the host opens a record file it is given: a device record through the
// examination document of its system code (the item marked a model-8000
// record when only the older device-file reader accepts the file), an MFER
// file through the MFER document, each with the record XML beside it.
#pragma once

#include <memory>
#include <string>

class CTavrionDoc;

namespace host {

// The record XML that lies beside a record: its stem (after `prefix`, "Raw_"
// for MFER files), the 14 digits of the naming time and ".xml"; the newest
// when there are several, empty when there is none.
std::string FindRecordXml(const std::string& record, const std::string& prefix = std::string());
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
