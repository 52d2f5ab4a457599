// Saving a freeze record leaves what nobody edited as the record XML held
// it: every save path of the extra-lead document, on a record whose freeze
// leads are all free leads and on one that mixes free leads, leads named by
// their own electrode code, a code past the free leads and a lead without a
// code. Each save is compared element by element with the file before it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/ReferenceIds.h"
#include "tests/documents/ExtraViewDocFixture.h"
#include "tests/dialogs/RecordXmlChanges.h"

using namespace extratest;

namespace {

const wchar_t kLeads[] = L"/Rawdata/Tavrion/Wave/Extend_section/Freeze_info/Lead_info/Lead_name";
const std::string kFreezeName =
    "/Rawdata[1]/Tavrion[1]/Wave[1]/Extend_section[1]/Freeze_info[1]/Lead_info[1]/Lead_name";

struct SheetSave {
    const char* name;
    // What the save is allowed to change: the edited fields and their editors' stamps.
    std::vector<std::string> edited;
    bool bEdits;   // the save has an edit to write
    std::function<void(CExtraViewDoc&, _EXTRADATAITEM&)> save;
};

void Type(CExtraViewDoc& doc, _EXTRADATAITEM& item, UINT id, const wchar_t* text)
{
    doc.SetCtrlContent(nullptr);
    doc.SetCtrlData(id, text, 0, -1);
    EXPECT_EQ(doc.SaveDataToXML(item.nID), 0);
}

const std::string kPatient = "/Rawdata/Tavrion/Inspection/Patient_section";

std::vector<SheetSave> SheetSaves()
{
    return {
        {"patient id", {kPatient + "/Patient_id"}, true,
         [](CExtraViewDoc& doc, _EXTRADATAITEM& item) { Type(doc, item, 3001, L"EX-0007X"); }},
        {"general sheet", {kPatient + "/Sex", kPatient + "/Room_no", kPatient + "/Medications"}, true,
         [](CExtraViewDoc& doc, _EXTRADATAITEM& item) {
             doc.SetCtrlContent(nullptr);
             doc.SetCtrlData(3009, L"F", 0, -1);
             doc.SetCtrlData(3649, L"312", 0, -1);
             doc.SetCtrlData(3637, L"硝酸薬", 0, -1);
             EXPECT_EQ(doc.SaveDataToXML(item.nID), 0);
         }},
        {"a free lead's name", {kFreezeName + "[1]"}, true,
         [](CExtraViewDoc& doc, _EXTRADATAITEM& item) {
             // As the freeze lead-name editor leaves the item before its save.
             item.stLeadName.strFreezeName[0] = L"背部1";
             item.stLeadName.strDispName[0] = L"背部1";
             doc.SetCtrlContent(nullptr);
             EXPECT_EQ(doc.SaveDataToXML(item.nID), 0);
         }},
        {"symptom", {kPatient + "/Symptom"}, true,
         [](CExtraViewDoc& doc, _EXTRADATAITEM& item) { Type(doc, item, 3641, L"胸部不快感"); }},
        {"comment", {"/Rawdata/Tavrion/Comment/Voktext_section/Comment_content"}, true,
         [](CExtraViewDoc& doc, _EXTRADATAITEM& item) { Type(doc, item, 4017, L"所見なし\r\n経過観察"); }},
        {"addition", {"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content"}, true,
         [](CExtraViewDoc& doc, _EXTRADATAITEM& item) { Type(doc, item, 4008, L"喫煙なし"); }},
        {"nothing edited", {}, false,
         [](CExtraViewDoc& doc, _EXTRADATAITEM& item) {
             doc.SetCtrlContent(nullptr);
             EXPECT_EQ(doc.SaveDataToXML(item.nID), 0);
         }},
        {"annotations", {"/Rawdata/Annotation"}, false,
         [](CExtraViewDoc& doc, _EXTRADATAITEM& item) { EXPECT_EQ(doc.SaveAnnotationToXML(item.nID), 0); }},
        {"page style", {"/Rawdata/Assist_info/Reference/Setting/Page_style"}, false,
         [](CExtraViewDoc& doc, _EXTRADATAITEM&) { doc.SetReferenceIntoXML(REFERENCE_PAGE_STYLE, 0); }},
    };
}

class FreezeSave : public ExtraDocTest {
protected:
    // The mixed record, its XML changed by `tweakXml`, open in the test's document.
    _EXTRADATAITEM* OpenMixed(const std::string& stem, const std::function<void(CECGXMLParser&)>& tweakXml = nullptr)
    {
        m_files = Write(stem, morvelance::MixedFreezeRecordOptions(), {}, nullptr, tweakXml);
        return Load(m_doc, m_files, 6);
    }
    // Saves the item as the sheets do, the store filled from it first.
    bool Save(const _EXTRADATAITEM& item)
    {
        m_doc.SetCtrlContent(nullptr);
        return m_doc.SaveDataToXML(item.nID) == 0;
    }
    CString SavedName(int lead, const CString& attribute = CString()) const
    {
        CString path;
        path.Format(L"%s[%d]", kLeads, lead);
        return ReadXmlValue(m_files.xml, path, attribute);
    }

    RecordFiles m_files;

    // Every save of the list on a fresh copy of the record: the changes
    // outside the save's own fields.
    void ExpectOnlyTheEditedFieldsChange(const std::string& stem, const ExtraRecordOptions& options,
                                         const std::function<void(CECGXMLParser&)>& tweakXml = nullptr)
    {
        const std::vector<SheetSave> saves = SheetSaves();
        for (size_t i = 0; i < saves.size(); ++i) {
            const SheetSave& sheet = saves[i];
            SCOPED_TRACE(sheet.name);
            const RecordFiles files = Write(stem + std::to_string(i), options, {}, nullptr, tweakXml);
            const std::string before = testsupport::ReadFileBytes(files.xml);
            CExtraViewDoc doc;
            _EXTRADATAITEM* item = Load(doc, files, 6);
            ASSERT_NE(item, nullptr);
            sheet.save(doc, *item);
            // An edit reaches the file, and nothing else changes.
            const std::vector<std::string> expected = sheet.bEdits ? sheet.edited : std::vector<std::string>();
            EXPECT_TRUE(xmlchanges::OnlyChanged(before, testsupport::ReadFileBytes(files.xml), sheet.edited, expected));
        }
    }
};

}  // namespace

TEST_F(FreezeSave, EverySaveOfAMixedFreezeRecordChangesOnlyTheEditedFields)
{
    ExpectOnlyTheEditedFieldsChange("mixed", morvelance::MixedFreezeRecordOptions());
}

TEST_F(FreezeSave, EverySaveOfAFreeLeadRecordChangesOnlyTheEditedFields)
{
    ExtraRecordOptions options;
    options.layout = ExtraLayout::Freeze;
    ExpectOnlyTheEditedFieldsChange("free", options);
}

TEST_F(FreezeSave, ALeadWithoutACodeOrANameKeepsItsElementAsItWas)
{
    const CString leads = kLeads;
    ExpectOnlyTheEditedFieldsChange("bare", morvelance::MixedFreezeRecordOptions(), [&](CECGXMLParser& xml) {
        EXPECT_TRUE(xml.RemoveNode(leads + L"[4]/@code"));
        EXPECT_TRUE(xml.SetDataToXMLDOM(L"", leads + L"[5]", 4, CString()));
    });
}

TEST_F(FreezeSave, ALeadNamedByItsElectrodeCodeIsWrittenAsTheViewNamesIt)
{
    const CString leads = kLeads;
    _EXTRADATAITEM* item = OpenMixed("byname", [&](CECGXMLParser& xml) {
        EXPECT_TRUE(xml.SetDataToXMLDOM(L"", leads + L"[2]", 4, CString()));
        EXPECT_TRUE(xml.SetDataToXMLDOM(L"右9", leads + L"[6]", 4, CString()));
    });
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->stLeadName.strDispName[1], L"V4R");
    EXPECT_EQ(item->stLeadName.strDispName[5], L"V9");
    ASSERT_TRUE(Save(*item));
    EXPECT_EQ(SavedName(2), L"V4R");
    EXPECT_EQ(SavedName(6), L"V9");
    EXPECT_EQ(SavedName(2, L"code"), L"12");
    EXPECT_EQ(SavedName(6, L"code"), L"67");
}

TEST_F(FreezeSave, EveryFreeLeadKeepsTheNameItWasGiven)
{
    // Free leads at the first and the last free code (119, 124).
    _EXTRADATAITEM* item = OpenMixed("edited");
    ASSERT_NE(item, nullptr);
    ASSERT_EQ(item->stLeadName.nFreezeCode[2], 124);
    for (int lead : {0, 2}) {
        item->stLeadName.strFreezeName[lead] = lead == 0 ? L"背部1" : L"背部2";
        item->stLeadName.strDispName[lead] = item->stLeadName.strFreezeName[lead];
    }
    ASSERT_TRUE(Save(*item));
    EXPECT_EQ(SavedName(1), L"背部1");
    EXPECT_EQ(SavedName(3), L"背部2");
}

// A lead without an electrode code is named, on screen, by the record's
// edited lead name at its place; the save writes that name for it.
TEST_F(FreezeSave, ALeadWithoutACodeIsWrittenWithTheNameTheViewGivesIt)
{
    const CString added = L"/Rawdata/Tavrion/Wave/Wave_add_section/Lead_name/Lead_name_element";
    _EXTRADATAITEM* item = OpenMixed("added", [&](CECGXMLParser& xml) {
        EXPECT_TRUE(xml.SetDataToXMLDOM(L"背部左", added + L"[4]", 4, CString()));
        EXPECT_TRUE(xml.SetDataToXMLDOM(L"背部右", added + L"[6]", 4, CString()));
    });
    ASSERT_NE(item, nullptr);
    ASSERT_EQ(item->stLeadName.nFreezeCode[3], 0);
    EXPECT_EQ(item->stLeadName.strDispName[3], L"背部左");
    ASSERT_TRUE(Save(*item));
    EXPECT_EQ(SavedName(4), L"背部左");
}
