// What the document tests share: the work directory a document reads its
// readers and layout stylesheet from, a temporary folder for the records the
// record maker writes, items listed the way the host lists them, and single
// values of a record XML on disk.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "tests/support/TestSupport.h"

namespace testsupport {

// Points the work directory at a folder (the build's by default) for the
// life of the object and gives back the one before.
class ScopedWorkDir {
public:
    explicit ScopedWorkDir(const std::string& dir = WorkDir()) : m_saved(g_pWorkDir)
    {
        const CString path = Wide(dir);
        m_text.assign(path.GetString(), path.GetString() + path.GetLength() + 1);
        g_pWorkDir = m_text.data();
    }
    ~ScopedWorkDir() { g_pWorkDir = m_saved; }
    ScopedWorkDir(const ScopedWorkDir&) = delete;
    ScopedWorkDir& operator=(const ScopedWorkDir&) = delete;

private:
    std::vector<wchar_t> m_text;   // the path with its terminating zero
    wchar_t* m_saved;
};

// A record and its record XML.
struct RecordPaths {
    std::string record;
    std::string xml;
};

// The layout tables are process-wide: every test starts and ends with none
// loaded, so one test's stylesheet never answers another's.
class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDefCtrlPos();
        m_workDir.emplace();
    }
    void TearDown() override
    {
        m_workDir.reset();
        ResetDefCtrlPos();
    }

    TempDir m_dir;
    std::optional<ScopedWorkDir> m_workDir;
};

// A new item for a record, as the host makes it before listing it.
template <class Item>
Item* NewRecordItem(const std::string& record, const std::string& xml)
{
    auto* item = new Item;
    item->strFilePath = Wide(record);
    item->strXMLPath = xml.empty() ? CString() : Wide(xml);
    return item;
}

// Opens a record through the document's OpenFile; its result.
template <class Doc>
int OpenRecord(Doc& doc, const RecordPaths& files)
{
    CString xml = Wide(files.xml);
    CString record = Wide(files.record);
    return doc.OpenFile(xml, record);
}

// One value of a record XML on disk: an element's text, or its attribute
// when one is named; `absent` when the value is not there.
inline CString ReadXmlValue(const std::string& file, const CString& xpath, const CString& attrib = CString(),
                            const CString& absent = CString())
{
    CECGXMLParser xml(Wide(file), 0, CString());
    CString value;
    if (!xml.GetDataFromXMLDOM(value, xpath, attrib.IsEmpty() ? 4 : 2, attrib)) return absent;
    return value;
}

// Sets one value of a record XML file as another program would.
inline void WriteXmlValue(const std::string& file, const CString& xpath, const CString& value,
                          const CString& attrib = CString())
{
    CECGXMLParser xml(Wide(file), 0, CString());
    EXPECT_TRUE(xml.SetDataToXMLDOM(value, xpath, attrib.IsEmpty() ? 4 : 2, attrib)) << Utf8(xpath);
    xml.SaveToXMLFile();
}

inline int XmlCount(const std::string& file, const CString& xpath)
{
    CECGXMLParser xml(Wide(file), 0, CString());
    return xml.GetObjectCount(xpath);
}

// The texts of every element the path names, in document order.
inline std::vector<CString> XmlValues(const std::string& file, const CString& xpath)
{
    std::vector<CString> values;
    const int count = XmlCount(file, xpath);
    for (int i = 1; i <= count; ++i) {
        CString path;
        path.Format(L"%s[%d]", static_cast<LPCWSTR>(xpath), i);
        values.push_back(ReadXmlValue(file, path));
    }
    return values;
}

// A lead's strip as the views read it: a first call without a buffer gives
// the size in bytes, the second fills exactly that.
inline std::vector<short> RhythmWave(CTavrionDoc& doc, int lead, int filter = -1)
{
    const int bytes = doc.GetRhythmWaveData(lead, nullptr, filter);
    std::vector<short> samples(bytes > 0 ? static_cast<size_t>(bytes) / 2 : 0);
    if (bytes > 0) {
        EXPECT_EQ(doc.GetRhythmWaveData(lead, samples.data(), filter), bytes);
    }
    return samples;
}

// The whole samples of one item of a record image, unfiltered.
inline std::vector<short> RecordSamples(CTavrionDoc& doc, _ECGDATA* image, UINT tag, UINT index)
{
    const long bytes = doc.GetSampleItem(image, tag, index, nullptr);
    std::vector<short> samples(bytes > 0 ? static_cast<size_t>(bytes) / 2 : 0);
    if (bytes > 0) {
        EXPECT_EQ(doc.GetSampleItem(image, tag, index, samples.data()), bytes);
    }
    return samples;
}

// The text the control-data store holds for a control.
inline CString StoredText(CTavrionDoc& doc, UINT id)
{
    CString text;
    doc.GetCtrlData(id, text);
    return text;
}

}  // namespace testsupport
