// A medication typed into the patient information page rather than picked
// from its list: it is saved as the text typed, without a list position,
// and reads back as that text from the record on disk.
#include <gtest/gtest.h>

#include "dialogs/PagePatientInfo.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/dialogs/PageInSheet.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

namespace {

using morvelance::rec::RecordKind;
using platform::ui::Desktop;

constexpr int kMedication[2] = {3250, 3251};
constexpr auto kMedicationList = static_cast<_EDITABLE_PARAM_INDEX>(0);
constexpr auto kMedicationList2 = static_cast<_EDITABLE_PARAM_INDEX>(1);

class TypedMedication : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_item = AddRecord("typed", resttest::Shape(RecordKind::Rest12));
        ASSERT_EQ(Open(m_item), 0);
        for (auto list : {kMedicationList, kMedicationList2}) {
            m_doc.ClearEditableParam(list);
            for (const wchar_t* name : {L"降圧剤", L"抗血小板薬", L"利尿薬", L"その他"}) m_doc.InsertEditableParam(list, name);
        }
        // Stored as picked: the first entry of each list.
        m_item->stInterpre.strMedication1 = L"降圧剤";
        m_item->stInterpre.nMedication1Sel = 0;
        m_item->stInterpre.strMedication2 = L"利尿薬";
        m_item->stInterpre.nMedication2Sel = 2;
    }
    void TearDown() override
    {
        m_host.Close();
        resttest::RestDocFixture::TearDown();
    }
    // The person clears the field and types `text` in.
    static void TypeOver(CWnd& page, int id, LPCWSTR text)
    {
        page.GetDlgItem(id)->SetFocus();
        Desktop::PumpMessages();
        Desktop::KeyPress(VK_HOME);
        Desktop::KeyPress(VK_END, platform::ui::kShift);
        Desktop::KeyPress(VK_DELETE);
        Desktop::TypeText(text);
        Desktop::PumpMessages();
    }

    _RESTDATAITEM* m_item = nullptr;
    dialogtest::CPageInSheet<CPagePatientInfo> m_host;
};

}  // namespace

TEST_F(TypedMedication, AMedicationTypedRatherThanPickedIsSavedAsItsTextAndReadsBack)
{
    CPagePatientInfo& page = m_host.Show(&m_doc, DOC_TYPE_REST, L"被検者情報");
    ASSERT_EQ(testsupport::ControlText(page, kMedication[0]), L"降圧剤");
    ASSERT_EQ(page.IsDataChange(), 0);
    TypeOver(page, kMedication[0], L"漢方薬");
    EXPECT_EQ(testsupport::ControlText(page, kMedication[0]), L"漢方薬");
    EXPECT_EQ(page.IsDataChange(), 1);
    page.SaveDataToItem();
    EXPECT_EQ(m_item->stInterpre.strMedication1, L"漢方薬");
    EXPECT_EQ(m_item->stInterpre.nMedication1Sel, -1);   // no list entry stands for it
    // The other medication was not touched: its text and position stay.
    EXPECT_EQ(m_item->stInterpre.strMedication2, L"利尿薬");
    EXPECT_EQ(m_item->stInterpre.nMedication2Sel, 2);
    EXPECT_EQ(page.IsDataChange(), 0);
    m_host.Close();

    ASSERT_EQ(m_doc.SaveDataToXML(m_item->nID), 0);
    CRestViewDoc fresh;
    _RESTDATAITEM* again = Reopen(fresh);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->stInterpre.strMedication1, L"漢方薬");
    EXPECT_EQ(again->stInterpre.nMedication1Sel, -1);
    EXPECT_EQ(again->stInterpre.strMedication2, L"利尿薬");

    // Shown again, the page reads the typed text and sees no edit.
    dialogtest::CPageInSheet<CPagePatientInfo> shownAgain;
    fresh.ClearEditableParam(kMedicationList);
    for (const wchar_t* name : {L"降圧剤", L"抗血小板薬", L"利尿薬", L"その他"}) fresh.InsertEditableParam(kMedicationList, name);
    CPagePatientInfo& reread = shownAgain.Show(&fresh, DOC_TYPE_REST, L"被検者情報");
    EXPECT_EQ(testsupport::ControlText(reread, kMedication[0]), L"漢方薬");
    EXPECT_EQ(reread.IsDataChange(), 0);
    shownAgain.Close();
}

TEST_F(TypedMedication, TheSecondMedicationTypedIsSavedAsItsTextToo)
{
    CPagePatientInfo& page = m_host.Show(&m_doc, DOC_TYPE_REST, L"被検者情報");
    TypeOver(page, kMedication[1], L"抗不整脈薬X");
    EXPECT_EQ(page.IsDataChange(), 1);
    page.SaveDataToItem();
    EXPECT_EQ(m_item->stInterpre.strMedication2, L"抗不整脈薬X");
    EXPECT_EQ(m_item->stInterpre.nMedication2Sel, -1);
    EXPECT_EQ(m_item->stInterpre.strMedication1, L"降圧剤");
    EXPECT_EQ(m_item->stInterpre.nMedication1Sel, 0);
    m_host.Close();
    ASSERT_EQ(m_doc.SaveDataToXML(m_item->nID), 0);
    CRestViewDoc fresh;
    _RESTDATAITEM* again = Reopen(fresh);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->stInterpre.strMedication2, L"抗不整脈薬X");
}
