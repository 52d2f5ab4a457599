// The host's "open" command: a record shown through its examination document.
#pragma once

#include <string>

namespace host {

struct RecordFiles {
    std::string record;      // the record file
    std::string xml;         // its record XML; empty when there is none yet
    bool olderReader = false;  // only the older device-file reader accepts it
    int leadCount = 0;         // what the file list shows; the host gives it to rhythm and RR items
};

// Opens a device record with the document of its system code and prints what
// the views would get; false (with a message) when it cannot be opened.
bool OpenDeviceRecord(const RecordFiles& files, unsigned systemCode);
// The same for an MFER file (its record XML is named when it is opened).
bool OpenMferRecord(const RecordFiles& files);

}  // namespace host
