// Makes every XML save fail at its write for the life of the object, the
// way a full disk would: the save reports the failure and the file on disk
// stays as it was.
#pragma once

#include <string>

#include "core/ReferenceIds.h"
#include "tests/support/FullDisk.h"
#include "platform/xml/XmlSaveFile.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/support/TestSupport.h"

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

// Fails only the n-th XML save from now, at its write: the base document's
// setting writer saves the record XML before an examination document saves
// its own settings into it, and the second save may fail alone.
class ScopedNthXmlSaveFault {
public:
    explicit ScopedNthXmlSaveFault(int n)
    {
        Left() = n;
        platform::SetXmlSaveFaultHook(&FailNth);
    }
    ~ScopedNthXmlSaveFault() { platform::SetXmlSaveFaultHook(nullptr); }
    ScopedNthXmlSaveFault(const ScopedNthXmlSaveFault&) = delete;
    ScopedNthXmlSaveFault& operator=(const ScopedNthXmlSaveFault&) = delete;

private:
    static int& Left()
    {
        static int left = 0;
        return left;
    }
    static bool FailNth(platform::XmlSaveStep step) { return step == platform::XmlSaveStep::Write && --Left() == 0; }
};

// A document's filter setting, written on a full disk, leaves its record XML
// byte for byte as it was and the document reports the failed save; written
// again once saves work, it lands at filterPath and nothing failed.
template <class Doc>
void ExpectFilterSettingWrittenOnlyByAWorkingSave(Doc& doc, const std::string& xml, const CString& filterPath)
{
    doc.SetFilter(35);
    const std::string before = ReadFileBytes(xml);
    const CString filterBefore = ReadXmlValue(xml, filterPath, CString(), L"<none>");
    {
        ScopedFullDisk full;
        ASSERT_TRUE(full.Limited());
        doc.SetReferenceIntoXML(REFERENCE_FILTER, 0);
        EXPECT_NE(0, doc.IsSettingSaveFailed());
    }
    EXPECT_EQ(before, ReadFileBytes(xml));
    // The document's own save failing after the base writer's went through.
    {
        ScopedNthXmlSaveFault second(2);
        doc.SetReferenceIntoXML(REFERENCE_FILTER, 0);
        EXPECT_NE(0, doc.IsSettingSaveFailed());
    }
    EXPECT_EQ(filterBefore, ReadXmlValue(xml, filterPath, CString(), L"<none>"));
    doc.SetReferenceIntoXML(REFERENCE_FILTER, 0);
    EXPECT_EQ(0, doc.IsSettingSaveFailed());
    EXPECT_EQ(CString(L"35"), ReadXmlValue(xml, filterPath));
}

}  // namespace testsupport
