// The patient information page at the edges of its shared fields, on a
// resting record the record maker wrote: a medication kept only as a list
// position, and each request field edited alone.
#include <gtest/gtest.h>

#include "dialogs/PagePatientInfo.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/dialogs/PageInSheet.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

namespace {

using morvelance::rec::RecordKind;

constexpr int kMedication1 = 3250;
constexpr auto kMedicationList = static_cast<_EDITABLE_PARAM_INDEX>(0);

class PatientFieldsEdge : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_item = AddRecord("fields", resttest::Shape(RecordKind::Rest12));
        ASSERT_EQ(Open(m_item), 0);
    }
    void TearDown() override
    {
        m_host.Close();
        resttest::RestDocFixture::TearDown();
    }
    CPagePatientInfo& ShowPage() { return m_host.Show(&m_doc, DOC_TYPE_REST, L"被検者情報"); }

    _RESTDATAITEM* m_item = nullptr;
    dialogtest::CPageInSheet<CPagePatientInfo> m_host;
};

}  // namespace

TEST_F(PatientFieldsEdge, AMedicationKeptAsAPositionReadsAsThatEntryUpToTheOneBeforeTheLast)
{
    m_doc.ClearEditableParam(kMedicationList);
    for (const wchar_t* name : {L"降圧剤", L"抗血小板薬", L"利尿薬", L"その他"}) m_doc.InsertEditableParam(kMedicationList, name);
    _INTERPRE_INFO_REST& stored = m_item->stInterpre;
    stored.strMedication1.Empty();
    CPagePatientInfo& page = ShowPage();
    // position → what the page must show for "no change"
    const struct {
        int position;
        const wchar_t* same;
        const wchar_t* other;
    } cases[] = {
        {0, L"降圧剤", L""},
        {2, L"利尿薬", L""},      // the last position taken as an entry
        {3, L"", L"その他"},      // the last entry stands for typed text: the empty stored text holds
        {4, L"", L"その他"},      // past the list
        {-1, L"", L"降圧剤"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        stored.nMedication1Sel = c.position;
        page.SetDlgItemText(kMedication1, c.same);
        EXPECT_EQ(page.IsDataChange(), 0);
        page.SetDlgItemText(kMedication1, c.other);
        EXPECT_EQ(page.IsDataChange(), 1);
    }
}

TEST_F(PatientFieldsEdge, EachRequestFieldEditedAloneIsAChangeAndIsSaved)
{
    CPagePatientInfo& page = ShowPage();
    ASSERT_EQ(page.IsDataChange(), 0);
    // symptom, history, ward, department, requesting department, requesting doctor, technician, room
    const int fields[] = {3252, 3253, 3254, 3255, 3256, 3257, 3258, 3210};
    for (int id : fields) {
        SCOPED_TRACE(id);
        const CString before = testsupport::ControlText(page, id);
        page.SetDlgItemText(id, L"依頼A");
        EXPECT_EQ(page.IsDataChange(), 1);
        page.SetDlgItemText(id, before);
        EXPECT_EQ(page.IsDataChange(), 0);
    }
    // The technician alone, saved and read back from the record.
    page.SetDlgItemText(3258, L"検査技師B");
    ASSERT_EQ(page.IsDataChange(), 1);
    page.SaveDataToItem();
    EXPECT_EQ(m_item->stInterpre.strTechnician, L"検査技師B");
    EXPECT_EQ(page.IsDataChange(), 0);
    ASSERT_EQ(m_doc.SaveDataToXML(m_item->nID), 0);
    CRestViewDoc fresh;
    _RESTDATAITEM* again = Reopen(fresh);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->stInterpre.strTechnician, L"検査技師B");
}
