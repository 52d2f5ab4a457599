#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/TavrionDoc.h"
#include "dialogs/DlgEditIvrelCode.h"
#include "dialogs/DlgEditMinneCode.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/windowing/ControlRecords.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/support/ModalScript.h"

namespace {

// The root items of a tree control, in order.
std::vector<HTREEITEM> RootItems(CWnd& dialog, int tree)
{
    std::vector<HTREEITEM> items;
    auto item = reinterpret_cast<HTREEITEM>(dialog.SendDlgItemMessage(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    while (item) {
        items.push_back(item);
        item = reinterpret_cast<HTREEITEM>(
            dialog.SendDlgItemMessage(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
    return items;
}

CString ItemText(CWnd& dialog, int tree, HTREEITEM item)
{
    wchar_t buffer[256] = {};
    TVITEMW record{};
    record.mask = TVIF_TEXT;
    record.hItem = item;
    record.pszText = buffer;
    record.cchTextMax = 256;
    dialog.SendDlgItemMessage(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&record));
    return buffer;
}

std::vector<CString> Texts(CWnd& dialog, int tree)
{
    std::vector<CString> texts;
    for (HTREEITEM item : RootItems(dialog, tree)) texts.push_back(ItemText(dialog, tree, item));
    return texts;
}

// Clicks (or double-clicks) the item whose text begins with `prefix`.
void ClickItem(CWnd& dialog, int tree, const CString& prefix, bool twice = false)
{
    for (HTREEITEM item : RootItems(dialog, tree)) {
        if (ItemText(dialog, tree, item).Left(prefix.GetLength()) != prefix) continue;
        RECT rect{};
        std::memcpy(&rect, &item, sizeof item);   // the item travels in the rectangle
        dialog.SendDlgItemMessage(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
        HWND hwnd = dialog.GetDlgItem(tree)->m_hWnd;
        const int x = (rect.left + rect.right) / 2;
        const int y = (rect.top + rect.bottom) / 2;
        if (twice)
            platform::ui::Desktop::DoubleClick(hwnd, x, y);
        else
            platform::ui::Desktop::Click(hwnd, x, y);
        platform::ui::Desktop::PumpMessages();
        return;
    }
    ADD_FAILURE() << "no item " << testsupport::Utf8(prefix);
}

class CodePicker : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::ui::Desktop::Reset();
        m_previousBox = SetMessageBoxHandler([this](const MessageBoxRequest& box) {
            m_boxes.push_back(box.text);
            return IDOK;
        });
    }
    void TearDown() override { SetMessageBoxHandler(m_previousBox); }

    testsupport::ScopedWorkDir m_workDir;   // the shipped masters
    CTavrionDoc m_doc;
    std::vector<CString> m_boxes;
    MessageBoxHandler m_previousBox;
};

}  // namespace

TEST(CodePickerGroups, MinnesotaTakesThePartBeforeTheFirstDashIvrelThePrefix)
{
    struct Row {
        const wchar_t* code;
        const wchar_t* group;
        bool byPrefix;
        bool member;
    };
    static const Row kRows[] = {
        // code      group  prefix  member
        {L"1-1", L"1", false, true},
        {L"1-2-3", L"1", false, true},
        {L"11-1", L"1", false, false},
        {L"1", L"1", false, true},
        {L"A1", L"A", true, true},
        {L"AV1", L"A", true, true},
        {L"AV1", L"AV", true, true},
        {L"E1", L"A", true, false},
        {L"A", L"AV", true, false},
    };
    for (const Row& row : kRows)
        EXPECT_EQ(CDlgCodePicker::BelongsToGroup(row.code, row.group, row.byPrefix), row.member)
            << testsupport::Utf8(row.code) << " in " << testsupport::Utf8(row.group);
}

TEST_F(CodePicker, MinnesotaGroupShowsItsCodesLeftAlignedAndOkReturnsTheChosenOne)
{
    testsupport::ModalScript script;
    script.On(CDlgEditMinneCode::IDD, [](CDialog& dialog) {
        const std::vector<CString> groups = Texts(dialog, 4221);
        ASSERT_EQ(groups.size(), 9u);
        EXPECT_EQ(groups[0], L"1- Q・QS波");
        EXPECT_FALSE(dialog.GetDlgItem(4225)->IsWindowVisible());
        EXPECT_FALSE(dialog.GetDlgItem(4225)->IsWindowEnabled());
        ClickItem(dialog, 4221, L"1-");
        const std::vector<CString> codes = Texts(dialog, 4222);
        ASSERT_EQ(codes.size(), 21u);
        EXPECT_EQ(codes[0], L"1-1-1 大きなQ波(Q/R比1/3以上)");
        for (const CString& code : codes) EXPECT_EQ(code.Left(2), L"1-");
        ClickItem(dialog, 4222, L"1-1-2");
        testsupport::ClickControl(dialog, IDOK);
    });
    CDlgEditMinneCode picker(nullptr);
    picker.SetDoc(&m_doc, 0);
    EXPECT_EQ(picker.DoModal(), IDOK);
    EXPECT_EQ(picker.GetCode(), L"1-1-2");
}

TEST_F(CodePicker, IvrelTwoLetterGroupIsIndentedAndFiltersByBothLetters)
{
    testsupport::ModalScript script;
    script.On(CDlgEditIvrelCode::IDD, [](CDialog& dialog) {
        const std::vector<CString> groups = Texts(dialog, 3490);
        ASSERT_GE(groups.size(), 3u);
        EXPECT_EQ(groups[0], L"R- 調律");
        EXPECT_EQ(groups[2], L"  AV- 房室伝導");
        EXPECT_TRUE(dialog.GetDlgItem(3492)->IsWindowVisible());
        EXPECT_FALSE(dialog.GetDlgItem(3492)->IsWindowEnabled());
        ClickItem(dialog, 3490, L"  AV-");
        const std::vector<CString> codes = Texts(dialog, 3491);
        ASSERT_EQ(codes.size(), 6u);
        EXPECT_EQ(codes[0].Left(6), L"  AV1 ");
        // A double-click on a code returns it at once.
        ClickItem(dialog, 3491, L"  AV2", true);
    });
    CDlgEditIvrelCode picker(nullptr);
    picker.SetDoc(&m_doc, 0);
    EXPECT_EQ(picker.DoModal(), IDOK);
    EXPECT_EQ(picker.GetCode(), L"AV2");
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(CodePicker, OkWithoutACodeShowsTheMessageAndStaysOpen)
{
    testsupport::ModalScript script;
    script.On(CDlgEditMinneCode::IDD, [](CDialog& dialog) {
        testsupport::ClickControl(dialog, IDOK);
        EXPECT_TRUE(::IsWindowVisible(dialog.m_hWnd));
        testsupport::ClickControl(dialog, IDCANCEL);
    });
    CDlgEditMinneCode picker(nullptr);
    picker.SetDoc(&m_doc, 0);
    EXPECT_EQ(picker.DoModal(), IDCANCEL);
    EXPECT_TRUE(picker.GetCode().IsEmpty());
    EXPECT_EQ(m_boxes, std::vector<CString>{L"ﾐﾈｿﾀｺｰﾄﾞを選択してください"});
}

TEST_F(CodePicker, AMissingMasterLeavesTheTreesEmpty)
{
    testsupport::TempDir empty;
    testsupport::ScopedWorkDir nowhere(empty.Path());
    testsupport::ModalScript script;
    script.On(CDlgEditIvrelCode::IDD, [](CDialog& dialog) {
        EXPECT_TRUE(Texts(dialog, 3490).empty());
        testsupport::ClickControl(dialog, IDOK);
        testsupport::ClickControl(dialog, IDCANCEL);
    });
    CDlgEditIvrelCode picker(nullptr);
    picker.SetDoc(&m_doc, 0);
    EXPECT_EQ(picker.DoModal(), IDCANCEL);
    EXPECT_EQ(m_boxes, std::vector<CString>{L"IVRELｺｰﾄﾞを選択してください"});
}
