// A freeze lead's code edited on a freeze record (system code 28) reaches
// the record XML with its save: the lead's code attribute on disk is the
// new one, and the record opened again reads it.
#include <gtest/gtest.h>

#include "tests/documents/ExtraViewDocFixture.h"

using namespace extratest;

namespace {

const wchar_t kLead1[] = L"/Rawdata/Tavrion/Wave/Extend_section/Freeze_info/Lead_info/Lead_name[1]";

class ExtraViewDocFreezeCodeSaveTest : public ExtraDocTest {};

TEST_F(ExtraViewDocFreezeCodeSaveTest, AnEditedFreezeLeadCodeIsSavedToTheRecordXml)
{
    const RecordFiles files = Write("freeze", morvelance::MixedFreezeRecordOptions());
    _EXTRADATAITEM* item = Load(m_doc, files, 6);
    ASSERT_NE(item, nullptr);
    ASSERT_EQ(28u, item->uSystemCode & 0xFF);
    ASSERT_EQ(119, item->stLeadName.nFreezeCode[0]);
    ASSERT_EQ(ReadXmlValue(files.xml, kLead1, L"code"), L"119");
    // As the freeze lead-name editor leaves the item: another free lead.
    item->stLeadName.nFreezeCode[0] = 121;
    item->stLeadName.strFreezeName[0] = L"背部3";
    item->stLeadName.strDispName[0] = L"背部3";
    m_doc.SetCtrlContent(nullptr);
    ASSERT_EQ(0, m_doc.SaveDataToXML(item->nID));
    EXPECT_EQ(ReadXmlValue(files.xml, kLead1, L"code"), L"121");
    EXPECT_EQ(ReadXmlValue(files.xml, kLead1), L"背部3");
    CExtraViewDoc reopened;
    reopened.GetCtrlPosFromXSL(LOAD_POS_EXTRA);
    const _EXTRADATAITEM* again = Load(reopened, files, 6);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(121, again->stLeadName.nFreezeCode[0]);
}

}  // namespace
