// The form saves MFER records too, but loads only resting ones: its empty
// cells must never be stored over an MFER record's measurements.
#include <gtest/gtest.h>

#include "analysisviews/ViewDetailedMeas.h"
#include "tests/documents/MFERViewDocFixture.h"

namespace {

class DetailedMeasMfer : public mfertest::MferDocTest {};

TEST_F(DetailedMeasMfer, AnUnloadedFormStoresNoBlanksOverAnMferRecord)
{
    _MFERDATAITEM* item = OpenKind(morvelance::MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, item);
    m_doc->SetCurDataIndex(item->nID);
    m_doc->m_bAutoDelete = FALSE;   // the fixture owns it, not its last view
    const CString before = item->stMeasure.At(6, 1);
    ASSERT_FALSE(before.IsEmpty());
    CViewDetailedMeas form;
    m_doc->AddView(&form);
    form.SetDocType(DOC_TYPE_MFER);
    form.OnUpdate(nullptr, 0, nullptr);
    EXPECT_TRUE(form.SetData(FALSE));
    EXPECT_EQ(item->stMeasure.At(6, 1), before);
    EXPECT_EQ(testsupport::ReadXmlValue(testsupport::Utf8(item->strXMLPath),
                                        L"/Rawdata/Tavrion/Measurement/Measurement_section/Mm/Ra/Ra_element[2]", L"data"),
              before);
    m_doc->RemoveView(&form);
}

}  // namespace
