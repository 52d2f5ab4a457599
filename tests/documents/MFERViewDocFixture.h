// What the MFER document tests share: MFER files and their record XMLs made
// with the record maker in a temporary folder, and items added to a document
// the way the host adds them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "documents/MFERViewDoc.h"
#include "tests/support/DocumentTestSupport.h"
#include "tools/MferWriter.h"
#include "tools/MferRecordXml.h"
#include "tools/RecordXml.h"

namespace mfertest {

using testsupport::Utf8;
using testsupport::Wide;

// A control's text edited as the form edits it.
inline void Edit(CMFERViewDoc& doc, UINT id, const wchar_t* text)
{
    doc.SetCtrlData(id, text, 0, -1);
}

class MferDocTest : public testsupport::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        m_doc.reset(new CMFERViewDoc);
    }
    void TearDown() override
    {
        m_doc.reset();
        DocumentTest::TearDown();
    }

    // An MFER file of a kind from the synthetic model.
    std::string WriteMfer(const std::string& name, morvelance::MferKind kind, int leads, double seconds = 2.0,
                          double rate = 500.0, const std::string& description = std::string())
    {
        morvelance::EcgRecord record = morvelance::MferKindRecord(kind, leads, seconds, rate);
        morvelance::MferOptions options;
        options.description = description.empty() ? morvelance::MferDescription(kind) : description;
        return WriteMferRecord(name, record, options);
    }
    std::string WriteMferRecord(const std::string& name, const morvelance::EcgRecord& record,
                                const morvelance::MferOptions& options)
    {
        const std::string path = m_dir.File(name);
        std::string error;
        EXPECT_TRUE(morvelance::WriteMferFile(path, record, options, &error)) << error;
        return path;
    }

    // The record XML of an MFER record of the kind code.
    std::string WriteXml(const std::string& name, unsigned mferKind,
                         const morvelance::RecordXmlOptions& options = morvelance::RecordXmlOptions())
    {
        const int leads = CMFERViewDoc::GetLeadLayoutBySystemCode(int(mferKind));
        const bool extra = CMFERViewDoc::IsExtraFamily(mferKind);
        morvelance::RecordXmlSource source =
            morvelance::MferRecordXmlSource(extra ? morvelance::MferKind::Freeze : morvelance::MferKind::Plain, leads);
        source.patient.comment = "一行目";
        source.seconds = 2.0;
        const std::string path = m_dir.File(name);
        morvelance::WriteRecordXml(path, source, options);
        return path;
    }

    // Adds an item with its keys as the host does and makes it current.
    _MFERDATAITEM* AddItem(const std::string& mfer, const std::string& xml, int layout)
    {
        _MFERDATAITEM* item = testsupport::NewRecordItem<_MFERDATAITEM>(mfer, xml);
        item->nLeadLayout = layout;
        m_doc->GetMFERDataManager()->AppendItem(item);
        m_doc->SetCurDataIndex(item->nID);
        return item;
    }
    int Open(_MFERDATAITEM* item)
    {
        CString mfer = item->strFilePath, xml = item->strXMLPath, third;
        return m_doc->OpenMFERFile(mfer, xml, third);
    }
    // An MFER file and its record XML, opened; null when opening failed.
    _MFERDATAITEM* OpenKind(morvelance::MferKind kind, int leads, unsigned mferKind, int layout,
                            const morvelance::RecordXmlOptions& options = morvelance::RecordXmlOptions())
    {
        const std::string stem = "r" + std::to_string(m_files++);
        _MFERDATAITEM* item = AddItem(WriteMfer(stem + ".mwf", kind, leads), WriteXml(stem + ".xml", mferKind, options), layout);
        return Open(item) == 0 ? item : nullptr;
    }
    std::string Text(const std::string& path) { return testsupport::ReadFileBytes(path); }

    std::unique_ptr<CMFERViewDoc> m_doc;
    int m_files = 0;
};

}  // namespace mfertest
