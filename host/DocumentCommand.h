// The host's "open" command: a record shown through its examination document.
#pragma once

#include <memory>
#include <string>

#include "platform/base/Strings.h"

class CTavrionDoc;

namespace host {

struct RecordFiles {
    std::string record;      // the record file
    std::string xml;         // its record XML; empty when there is none yet
    bool olderReader = false;  // only the older device-file reader accepts it
    int leadCount = 0;         // what the file list shows; the host gives it to rhythm, RR and extra-lead items
};

// The examination document class of a device record's system code.
const char* DocumentClassFor(unsigned systemCode);
// Opens a device record with the document of its system code and prints what
// the views would get; false (with a message) when it cannot be opened. With
// `keep` the opening is quiet and the opened document goes there.
bool OpenDeviceRecord(const RecordFiles& files, unsigned systemCode, std::unique_ptr<CTavrionDoc>* keep = nullptr);
// The same for an MFER file (its record XML is named when it is opened).
bool OpenMferRecord(const RecordFiles& files, std::unique_ptr<CTavrionDoc>* keep = nullptr);
// The HL7 aECG header beside an MFER file (NAME.hl7.xml), empty when none.
CString Hl7HeaderBeside(const std::string& record);

}  // namespace host
