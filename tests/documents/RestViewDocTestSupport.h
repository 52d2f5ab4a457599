// What the resting document's tests share: a document with real record files
// written by the record maker, added to its list the way the host adds them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Helpers.h"
#include "core/ReferenceIds.h"
#include "documents/RestViewDoc.h"
#include "tests/support/DocumentTestSupport.h"
#include "tools/RestRecord.h"

namespace resttest {

using testsupport::RhythmWave;
using testsupport::StoredText;
using testsupport::Wide;

class RestDocFixture : public testsupport::DocumentTest {
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
        auto* item = testsupport::NewRecordItem<_RESTDATAITEM>(files.record, files.xml);
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

    // Lists and opens the current files in another document, as the next session would.
    _RESTDATAITEM* Reopen(CRestViewDoc& doc) const
    {
        auto* item = doc.GetRestDataManager().AppendItem(
            testsupport::NewRecordItem<_RESTDATAITEM>(m_files.record, m_files.xml));
        if (testsupport::OpenRecord(doc, testsupport::RecordPaths{m_files.record, m_files.xml}) != 0) return nullptr;
        doc.SetCurDataIndex(item->nID);
        return item;
    }

    std::vector<short> Wave(int lead, int filter = -1)
    {
        return testsupport::RhythmWave(m_doc, lead, filter);
    }

    // The record's raw samples of a data item, low-passed as the document does.
    std::vector<short> Raw(UINT tag, UINT index, int cutoff)
    {
        std::vector<short> samples =
            testsupport::RecordSamples(m_doc, m_doc.GetCurrentDataItem()->pECGData, tag, index);
        if (cutoff > 0) HiCutFilter(static_cast<short>(cutoff), samples.data(), static_cast<int>(samples.size()));
        return samples;
    }

    CString XmlText(const CString& path, const CString& attribute = CString()) const
    {
        return testsupport::ReadXmlValue(m_files.xml, path, attribute, L"<none>");
    }
    void SetXmlText(const CString& path, const CString& value, const CString& attribute = CString()) const
    {
        testsupport::WriteXmlValue(m_files.xml, path, value, attribute);
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
        return testsupport::XmlCount(m_files.xml, path);
    }

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
