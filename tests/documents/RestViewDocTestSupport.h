// What the resting document's tests share: a document with real record files
// written by the record maker, added to its list the way the host adds them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ECGXMLParser.h"
#include "core/Helpers.h"
#include "core/ReferenceIds.h"
#include "documents/RestViewDoc.h"
#include "tests/support/TestSupport.h"
#include "tools/RestRecord.h"

// Failures show the texts, not their addresses.
inline void PrintTo(const CString& text, std::ostream* os)
{
    *os << '"' << platform::ToUtf8(std::wstring(text.GetString())) << '"';
}

namespace resttest {

using testsupport::TempDir;
using testsupport::Wide;

class RestDocFixture : public ::testing::Test {
protected:
    // The expected waves are computed without the bit-noise step unless a test asks for it.
    RestDocFixture() { m_doc.SetDelBitNoise(0); }

    // Writes a record with its XML and adds an item for it (not opened).
    _RESTDATAITEM* AddRecord(const std::string& name, const morvelance::RestRecordShape& shape)
    {
        m_files = morvelance::WriteRestRecord(m_dir.Path(), name, shape);
        return AddItem(m_files, shape.olderReader);
    }

    _RESTDATAITEM* AddItem(const morvelance::RestRecordFiles& files, bool b8000)
    {
        auto* item = new _RESTDATAITEM;
        item->strFilePath = Wide(files.record);
        item->strXMLPath = Wide(files.xml);
        item->b8000File = b8000 ? 1 : 0;
        return m_doc.GetRestDataManager().AppendItem(item);
    }

    // Opens the item's record and makes it current; the OpenFile result.
    int Open(_RESTDATAITEM* item)
    {
        CString xml = item->strXMLPath;
        CString file = item->strFilePath;
        const int result = m_doc.OpenFile(xml, file);
        m_doc.SetCurDataIndex(item->nID);
        return result;
    }

    std::vector<short> Wave(int lead, int filter = -1)
    {
        const int bytes = m_doc.GetRhythmWaveData(lead, nullptr, filter);
        std::vector<short> samples(bytes > 0 ? static_cast<size_t>(bytes) / 2 : 0);
        if (bytes > 0) {
            EXPECT_EQ(bytes, m_doc.GetRhythmWaveData(lead, samples.data(), filter));
        }
        return samples;
    }

    // The record's raw samples of a data item, low-passed as the document does.
    std::vector<short> Raw(UINT tag, UINT index, int cutoff)
    {
        _RESTDATAITEM* item = m_doc.GetCurrentDataItem();
        const long bytes = m_doc.ecgGetData(item->pECGData, tag, index, nullptr, 0, ECG_DATA_RAW);
        std::vector<short> samples(bytes > 0 ? static_cast<size_t>(bytes) / 2 : 0);
        if (bytes > 0) m_doc.ecgGetData(item->pECGData, tag, index, samples.data(), bytes, ECG_DATA_RAW);
        if (cutoff > 0) HiCutFilter(static_cast<short>(cutoff), samples.data(), static_cast<int>(samples.size()));
        return samples;
    }

    CString XmlText(const CString& path, LPCWSTR attribute = nullptr) const
    {
        CECGXMLParser xml(Wide(m_files.xml), 0, CString());
        CString value;
        if (!xml.GetDataFromXMLDOM(value, path, attribute ? 2 : 4, attribute ? CString(attribute) : CString()))
            return L"<none>";
        return value;
    }

    void SetXmlText(const CString& path, const CString& value, LPCWSTR attribute = nullptr) const
    {
        CECGXMLParser xml(Wide(m_files.xml), 0, CString());
        xml.SetDataToXMLDOM(value, path, attribute ? 2 : 4, attribute ? CString(attribute) : CString());
        xml.SaveToXMLFile();
    }

    void RemoveXmlNode(const CString& path) const
    {
        CECGXMLParser xml(Wide(m_files.xml), 0, CString());
        while (xml.RemoveNode(path)) {
        }
        xml.SaveToXMLFile();
    }

    int XmlCount(const CString& path) const
    {
        CECGXMLParser xml(Wide(m_files.xml), 0, CString());
        return xml.GetObjectCount(path);
    }

    TempDir m_dir;
    CRestViewDoc m_doc;
    morvelance::RestRecordFiles m_files;
};

inline morvelance::RestRecordShape Shape(morvelance::rec::RecordKind kind, bool b8000 = false, int code = -1)
{
    morvelance::RestRecordShape shape;
    shape.kind = kind;
    shape.olderReader = b8000;
    shape.systemCode = code;
    return shape;
}

}  // namespace resttest
