#include <gtest/gtest.h>

#include <memory>

#include "dialogs/PageAdditionalInfor.h"
#include "platform/ui/framework/PropertySheet.h"
#include "platform/ui/windowing/ControlRecords.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/dialogs/SheetTestSupport.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/ModalScript.h"

namespace {

using morvelance::rec::RecordKind;
using testsupport::ControlText;

const int kTitle = 3876;
const int kContent = 3892;
const int kDelete = 3860;

// The page in a modeless sheet over a resting record with the record
// maker's three additions.
class AdditionsPage : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        const morvelance::RestRecordShape shape = resttest::Shape(RecordKind::Rest12);
        morvelance::RecordBuilder items = morvelance::MakeRestRecord(shape);
        items.SetInt16(4108, 0, 1);   // the record carries additions
        m_files = morvelance::WriteRestRecord(m_dir.Path(), "additions", shape, items);
        m_item = AddItem(m_files, false);
        ASSERT_EQ(Open(m_item), 0);
        ASSERT_EQ(m_item->stAddition.nCount, 3);
    }
    void TearDown() override
    {
        if (m_sheet && m_sheet->GetSafeHwnd()) m_sheet->DestroyWindow();
        m_sheet.reset();
        m_page.reset();
        resttest::RestDocFixture::TearDown();
    }

    CPageAdditionalInfor& ShowPage()
    {
        m_doc.SetCtrlContent(nullptr);
        platform::ui::Desktop::Reset();
        m_page = std::make_unique<CPageAdditionalInfor>();
        m_page->SetDoc(&m_doc, DOC_TYPE_REST);
        m_sheet = std::make_unique<CPropertySheet>(L"付帯情報");
        m_sheet->AddPage(m_page.get());
        EXPECT_TRUE(m_sheet->Create());
        platform::ui::Desktop::PumpMessages();
        return *m_page;
    }

    void Retype(int id, LPCWSTR text) { sheettest::Retype(*m_page, id, text); }

    // One press of the spin's arrow: up shows the previous 16 entries.
    void Spin(bool up)
    {
        NMUPDOWN change{};
        change.hdr.hwndFrom = m_page->GetDlgItem(3908)->GetSafeHwnd();
        change.hdr.idFrom = 3908;
        change.hdr.code = UDN_DELTAPOS;
        change.iDelta = up ? 1 : -1;
        m_page->SendMessage(WM_NOTIFY, 3908, reinterpret_cast<LPARAM>(&change));
    }

    _RESTDATAITEM* m_item = nullptr;
    std::unique_ptr<CPageAdditionalInfor> m_page;
    std::unique_ptr<CPropertySheet> m_sheet;
};

}  // namespace

TEST_F(AdditionsPage, ShowsTheRecordsEntriesNumberedAndReportsNoChangeUntilOneIsEdited)
{
    CPageAdditionalInfor& page = ShowPage();
    EXPECT_EQ(ControlText(page, kTitle), m_item->stAddition.strTitle[0]);
    EXPECT_EQ(ControlText(page, kContent + 2), m_item->stAddition.strContent[2]);
    EXPECT_EQ(ControlText(page, 3844 + 15), L" 16");
    EXPECT_EQ(page.IsDataChange(), 0);
    Retype(kTitle + 5, L"所見");
    EXPECT_NE(page.IsDataChange(), 0);
}

TEST_F(AdditionsPage, RowsTypedJustBeforeSavingAreKeptEvenWithoutAChangeTest)
{
    CPageAdditionalInfor& page = ShowPage();
    Retype(kTitle + 3, L"追加");
    Retype(kContent + 3, L"内容");
    page.SaveDataToItem();
    ASSERT_EQ(m_item->stAddition.nCount, 4);
    EXPECT_EQ(m_item->stAddition.strTitle[3], L"追加");
    EXPECT_EQ(m_item->stAddition.strContent[3], L"内容");
}

TEST_F(AdditionsPage, ADeletedEntryIsCompactedAwayAndTheNextOpeningNumbersTheRestInOrder)
{
    const CString third = m_item->stAddition.strTitle[2];
    CPageAdditionalInfor& page = ShowPage();
    page.GetDlgItem(kDelete + 1)->SendMessage(BM_CLICK);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(ControlText(page, kTitle + 1), L"");
    Retype(kTitle + 4, L"   ");   // blanks only: dropped
    EXPECT_NE(page.IsDataChange(), 0);
    page.SaveDataToItem();
    ASSERT_EQ(m_item->stAddition.nCount, 2);
    EXPECT_EQ(m_item->stAddition.strTitle[1], third);
    m_item->bSkipRefresh = 1;   // the store still holds the old rows; the item is what is saved
    ASSERT_EQ(m_doc.SaveDataToXML(m_item->nID), 0);

    CRestViewDoc fresh;
    _RESTDATAITEM* again = Reopen(fresh);
    ASSERT_NE(again, nullptr);
    ASSERT_EQ(again->stAddition.nCount, 2);
    EXPECT_EQ(again->stAddition.strTitle[1], third);
}

TEST_F(AdditionsPage, TheSpinMovesSixteenEntriesAndStopsAtTheFirstAndLastPage)
{
    CPageAdditionalInfor& page = ShowPage();
    Spin(true);
    EXPECT_EQ(page.GetPageIndex(), 0);
    Retype(kTitle, L"先頭");   // entry 1, kept in the working copy across pages
    Spin(false);
    EXPECT_EQ(page.GetPageIndex(), 1);
    EXPECT_EQ(ControlText(page, 3844), L" 17");
    EXPECT_EQ(ControlText(page, kTitle), L"");
    for (int i = 0; i < 20; ++i) Spin(false);
    EXPECT_EQ(page.GetPageIndex(), 15);
    EXPECT_EQ(ControlText(page, 3844 + 15), L"256");
    for (int i = 0; i < 15; ++i) Spin(true);
    EXPECT_EQ(ControlText(page, kTitle), L"先頭");
}

TEST_F(AdditionsPage, ATitleTypedPastThirtyTwoBytesIsCutToWhatFits)
{
    CPageAdditionalInfor& page = ShowPage();
    Retype(kTitle + 6, L"心電図心電図心電図心電図心電図心電図");   // 36 bytes
    EXPECT_EQ(ControlText(page, kTitle + 6), L"心電図心電図心電図心電図心電図心");
}

namespace {

class RhythmAdditionsPage : public rhythmtest::RhythmDocTest {
protected:
    void TearDown() override
    {
        if (m_sheet && m_sheet->GetSafeHwnd()) m_sheet->DestroyWindow();
        m_sheet.reset();
        m_page.reset();
        RhythmDocTest::TearDown();
    }

    std::unique_ptr<CPageAdditionalInfor> m_page;
    std::unique_ptr<CPropertySheet> m_sheet;
};

}  // namespace

TEST_F(RhythmAdditionsPage, TheItemsEntriesReplaceTheFormsOnesPositionByPosition)
{
    const rhythmtest::RhythmFiles files = rhythmtest::WriteRhythm(
        m_dir, "additions", morvelance::RhythmRecordShape(),
        [](morvelance::RecordBuilder& items) { items.SetInt16(4108, 0, 1); });
    ASSERT_EQ(Open(files, 1), 0);
    _RHYTHMDATAITEM* item = Item();
    ASSERT_EQ(item->stAddition.nCount, 3);
    m_doc->SetCtrlContent(nullptr);
    CString formThird;
    m_doc->GetCtrlData(4001, formThird);
    ASSERT_FALSE(formThird.IsEmpty());
    item->stAddition.nCount = 2;
    item->stAddition.strTitle[0] = L"項目甲";

    platform::ui::Desktop::Reset();
    m_page = std::make_unique<CPageAdditionalInfor>();
    m_page->SetDoc(m_doc.get(), DOC_TYPE_RHYTHM);
    m_sheet = std::make_unique<CPropertySheet>(L"付帯情報");
    m_sheet->AddPage(m_page.get());
    ASSERT_TRUE(m_sheet->Create());
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(ControlText(*m_page, kTitle), L"項目甲");
    EXPECT_EQ(ControlText(*m_page, kTitle + 2), formThird);
}
