// Makes every XML save fail at its write for the life of the object, the
// way a full disk would: the save reports the failure and the file on disk
// stays as it was.
#pragma once

#include "platform/xml/XmlSaveFile.h"

namespace testsupport {

class ScopedXmlSaveFault {
public:
    ScopedXmlSaveFault() { platform::SetXmlSaveFaultHook(&FailWrites); }
    ~ScopedXmlSaveFault() { platform::SetXmlSaveFaultHook(nullptr); }
    ScopedXmlSaveFault(const ScopedXmlSaveFault&) = delete;
    ScopedXmlSaveFault& operator=(const ScopedXmlSaveFault&) = delete;

private:
    static bool FailWrites(platform::XmlSaveStep step) { return step == platform::XmlSaveStep::Write; }
};

}  // namespace testsupport
