#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "dialogs/DlgEditAdditionItem.h"
#include "dialogs/DlgEditAdditionalInfor.h"
#include "dialogs/PhraseList.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/support/FullDisk.h"
#include "tests/support/ModalScript.h"

namespace {

using platform::ui::Desktop;
using testsupport::ClickControl;
using testsupport::ControlText;

constexpr int kTitleList = 3914;
constexpr int kContentList = 3915;
constexpr int kTitleApply = 3916;
constexpr int kTitleAdd = 3922;
constexpr int kContentEdit = 3919;
constexpr int kTitleDown = 3926;
constexpr int kTitleBox = 3929;
constexpr int kContentBox = 3930;

std::vector<CString> Entries(CWnd& dialog, int list)
{
    std::vector<CString> entries;
    const int count = static_cast<int>(dialog.SendDlgItemMessage(list, LB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
        wchar_t buffer[512] = {};
        dialog.SendDlgItemMessage(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer));
        entries.push_back(buffer);
    }
    return entries;
}

void ClickEntry(CWnd& dialog, int list, int index)
{
    RECT rect{};
    dialog.SendDlgItemMessage(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    Desktop::Click(dialog.GetDlgItem(list)->m_hWnd, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    Desktop::PumpMessages();
}

class AdditionEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        Desktop::Reset();
        m_master = m_dir.File("Addition.xml");
        m_previousBox = SetMessageBoxHandler([this](const MessageBoxRequest& box) {
            m_boxes.push_back(box.text);
            return IDOK;
        });
    }
    void TearDown() override { SetMessageBoxHandler(m_previousBox); }

    void UseMaster(const std::string& text) { std::ofstream(m_master, std::ios::binary) << text; }
    void UseShippedMaster()
    {
        UseMaster(testsupport::ReadFileBytes(testsupport::WorkDir() + "/Addition.xml"));
    }
    std::vector<CString> OnDisk(const CString& parent) { return testsupport::XmlValues(m_master, parent + L"/Text"); }

    testsupport::TempDir m_dir;
    testsupport::ScopedWorkDir m_workDir{m_dir.Path()};
    std::string m_master;
    std::vector<CString> m_boxes;
    MessageBoxHandler m_previousBox;
};

}  // namespace

TEST_F(AdditionEditor, ANewMasterShowsTheDefaultsAndOkWritesThemUnderNewParents)
{
    UseMaster("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Addition/>\n");
    testsupport::ModalScript script;
    script.On(CDlgEditAdditionalInfor::IDD, [](CDialog& dialog) {
        EXPECT_EQ(Entries(dialog, kTitleList), std::vector<CString>{L"  1 総合判定"});
        EXPECT_EQ(Entries(dialog, kContentList), std::vector<CString>{L"  1 問題なし"});
        EXPECT_FALSE(dialog.GetDlgItem(kTitleDown)->IsWindowEnabled());
        ClickControl(dialog, IDOK);
    });
    CDlgEditAdditionalInfor editor(0, nullptr);
    EXPECT_EQ(editor.DoModal(), IDOK);
    EXPECT_EQ(OnDisk(L"/Addition/Title"), std::vector<CString>{L"総合判定"});
    EXPECT_EQ(OnDisk(L"/Addition/Content"), std::vector<CString>{L"問題なし"});
}

TEST_F(AdditionEditor, ATitleOf33ColumnsOrMoreIsRefusedWithABeep)
{
    UseMaster("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Addition><Title><Text>判定</Text></Title>"
              "<Content><Text>c</Text></Content></Addition>\n");
    testsupport::ModalScript script;
    script.On(CDlgEditAdditionalInfor::IDD, [](CDialog& dialog) {
        // 29 columns + "判定" (4) = 33, one past the limit: refused.
        const int beeps = Desktop::BeepCount();
        dialog.SetDlgItemText(kTitleBox, CString(L'x', 29));
        ClickEntry(dialog, kTitleList, 0);
        ClickControl(dialog, kTitleApply);
        EXPECT_EQ(Desktop::BeepCount(), beeps + 1);
        EXPECT_EQ(ControlText(dialog, kTitleBox), CString(L'x', 29));
        // 28 + 4 = 32: accepted; once more would be 36.
        dialog.SetDlgItemText(kTitleBox, CString(L'x', 28));
        ClickEntry(dialog, kTitleList, 0);
        ClickControl(dialog, kTitleApply);
        EXPECT_EQ(ControlText(dialog, kTitleBox), CString(L'x', 28) + L"判定");
        ClickEntry(dialog, kTitleList, 0);
        ClickControl(dialog, kTitleApply);
        EXPECT_EQ(Desktop::BeepCount(), beeps + 2);
        EXPECT_EQ(ControlText(dialog, kTitleBox), CString(L'x', 28) + L"判定");
        ClickControl(dialog, IDOK);
    });
    CDlgEditAdditionalInfor editor(0, nullptr);
    ASSERT_EQ(editor.DoModal(), IDOK);
    EXPECT_EQ(editor.GetAdditionTitle(), CString(L'x', 28) + L"判定");
}

TEST_F(AdditionEditor, APhraseAddedWhileTheFirstIsSelectedGoesAfterIt)
{
    UseMaster("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Addition><Title><Text>総合判定</Text>"
              "<Text>既往歴</Text></Title><Content><Text>c</Text></Content></Addition>\n");
    testsupport::ModalScript script;
    script.On(CDlgEditAdditionalInfor::IDD, [](CDialog& dialog) {
        ClickEntry(dialog, kTitleList, 0);
        ClickControl(dialog, kTitleAdd);
        EXPECT_EQ(Entries(dialog, kTitleList),
                  (std::vector<CString>{L"  1 総合判定", L"  2 服薬状況", L"  3 既往歴"}));
        EXPECT_EQ(dialog.SendDlgItemMessage(kTitleList, LB_GETCURSEL), 1);
        ClickControl(dialog, IDOK);
    });
    script.On(CDlgEditAdditionItem::IDD_TITLE, [](CDialog& item) {
        testsupport::TypeInto(item, 4218, L"服薬状況");
        ClickControl(item, IDOK);
    });
    CDlgEditAdditionalInfor editor(0, nullptr);
    ASSERT_EQ(editor.DoModal(), IDOK);
    EXPECT_EQ(OnDisk(L"/Addition/Title"), (std::vector<CString>{L"総合判定", L"服薬状況", L"既往歴"}));
}

TEST_F(AdditionEditor, EnterTwiceOnAListEntryAppliesItOnce)
{
    UseShippedMaster();
    testsupport::ModalScript script;
    script.On(CDlgEditAdditionalInfor::IDD, [](CDialog& dialog) {
        ClickEntry(dialog, kContentList, 0);
        Desktop::KeyPress(VK_RETURN);
        Desktop::PumpMessages();
        dialog.GetDlgItem(kContentList)->SetFocus();
        Desktop::KeyPress(VK_RETURN);
        Desktop::PumpMessages();
        ClickControl(dialog, IDOK);
    });
    CDlgEditAdditionalInfor editor(0, nullptr);
    editor.SetAdditionText(L"題\r\n", L"既存\n");
    ASSERT_EQ(editor.DoModal(), IDOK);
    const CString first = testsupport::ReadXmlValue(m_master, L"/Addition/Content/Text[1]");
    EXPECT_EQ(editor.GetAdditionContent(), L"既存" + first);
    EXPECT_EQ(editor.GetAdditionTitle(), L"題");
}

TEST_F(AdditionEditor, EditingAPhraseThroughItsPromptRewritesTheMasterOnOk)
{
    UseShippedMaster();
    const std::vector<CString> titles = OnDisk(L"/Addition/Title");
    std::vector<CString> contents = OnDisk(L"/Addition/Content");
    ASSERT_GE(contents.size(), 2u);
    testsupport::ModalScript script;
    script.On(CDlgEditAdditionalInfor::IDD, [](CDialog& dialog) {
        ClickEntry(dialog, kContentList, 1);
        ClickControl(dialog, kContentEdit);
        EXPECT_EQ(Entries(dialog, kContentList)[1], L"  2 書き換え");
        ClickControl(dialog, IDOK);
    });
    script.On(CDlgEditAdditionItem::IDD_CONTENT, [&](CDialog& item) {
        CString caption;
        item.GetWindowText(caption);
        EXPECT_EQ(caption, L"定型文の編集");
        EXPECT_EQ(ControlText(item, 4218), contents[1]);
        item.SetDlgItemText(4218, L"");
        testsupport::TypeInto(item, 4218, L"書き換え");
        ClickControl(item, IDOK);
    });
    CDlgEditAdditionalInfor editor(0, nullptr);
    ASSERT_EQ(editor.DoModal(), IDOK);
    contents[1] = L"書き換え";
    EXPECT_EQ(OnDisk(L"/Addition/Content"), contents);
    EXPECT_EQ(OnDisk(L"/Addition/Title"), titles);
}

// The row's 32 and 255 columns guard what is typed here: a title the record
// holds past them opens whole, a key that would lengthen it is refused, and
// OK gives it back whole (it was once cut as the editor opened, and the row
// saved it cut).
TEST_F(AdditionEditor, ATitlePastItsLimitOpensWholeAndTypingCannotLengthenIt)
{
    UseShippedMaster();
    const CString title(L'这', 20);
    CString shown, typed;
    testsupport::ModalScript script;
    script.On(CDlgEditAdditionalInfor::IDD, [&](CDialog& dialog) {
        shown = ControlText(dialog, kTitleBox);
        dialog.GetDlgItem(kTitleBox)->SetFocus();
        dialog.SendDlgItemMessage(kTitleBox, EM_SETSEL, 20, 20);
        Desktop::TypeText(L"x");
        typed = ControlText(dialog, kTitleBox);
        ClickControl(dialog, IDOK);
    });
    CDlgEditAdditionalInfor editor(0, nullptr);
    editor.SetAdditionText(title, CString(L'c', 300));
    ASSERT_EQ(editor.DoModal(), IDOK);
    EXPECT_EQ(shown, title);
    EXPECT_EQ(typed, title);
    EXPECT_EQ(editor.GetAdditionTitle(), title);
    EXPECT_EQ(editor.GetAdditionContent(), CString(L'c', 300));
}

TEST_F(AdditionEditor, CancelLeavesTheMasterByteIdentical)
{
    UseShippedMaster();
    const std::string before = testsupport::ReadFileBytes(m_master);
    testsupport::ModalScript script;
    script.On(CDlgEditAdditionalInfor::IDD, [](CDialog& dialog) {
        ClickEntry(dialog, kTitleList, 0);
        ClickControl(dialog, kTitleDown);
        ClickControl(dialog, IDCANCEL);
    });
    CDlgEditAdditionalInfor editor(0, nullptr);
    EXPECT_EQ(editor.DoModal(), IDCANCEL);
    EXPECT_EQ(testsupport::ReadFileBytes(m_master), before);
}

TEST_F(AdditionEditor, OkOnAFullDiskShowsTheWriteErrorAndKeepsTheReorderedPhrasesOpen)
{
    UseShippedMaster();
    const std::string before = testsupport::ReadFileBytes(m_master);
    std::vector<CString> titles = OnDisk(L"/Addition/Title");
    ASSERT_GE(titles.size(), 2u);
    std::vector<CString> boxesOnFullDisk;
    testsupport::ModalScript script;
    script.On(CDlgEditAdditionalInfor::IDD, [&](CDialog& dialog) {
        ClickEntry(dialog, kTitleList, 0);
        ClickControl(dialog, kTitleDown);
        {
            testsupport::ScopedFullDisk full;
            ASSERT_TRUE(full.Limited());
            ClickControl(dialog, IDOK);
        }
        boxesOnFullDisk = m_boxes;
        // Still open with the new order: the master is untouched, and OK
        // on a working disk writes what the user arranged.
        EXPECT_TRUE(::IsWindow(dialog.m_hWnd));
        EXPECT_EQ(Entries(dialog, kTitleList)[0], PhraseEntry(1, titles[1]));
        EXPECT_EQ(testsupport::ReadFileBytes(m_master), before);
        ClickControl(dialog, IDOK);
    });
    CDlgEditAdditionalInfor editor(0, nullptr);
    EXPECT_EQ(editor.DoModal(), IDOK);
    // The box names the master and why it could not be written (it used to
    // say only that a write failed); the master is named as the library holds it.
    ASSERT_EQ(boxesOnFullDisk.size(), 1u);
    EXPECT_EQ(0, boxesOnFullDisk[0].Find(L"ファイル書き込みエラーです。\r\n"));
    EXPECT_NE(-1, boxesOnFullDisk[0].Find(L"Addition.xml\r\nディスクの空き容量が足りません。"));
    std::swap(titles[0], titles[1]);
    EXPECT_EQ(OnDisk(L"/Addition/Title"), titles);
}

TEST_F(AdditionEditor, DeletingTheLastPhraseSelectsTheNewLastOne)
{
    UseMaster("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Addition><Title><Text>t</Text></Title><Content>"
              "<Text>a</Text><Text>b</Text><Text>c</Text></Content></Addition>\n");
    constexpr int kContentDelete = 3921;
    constexpr int kContentDown = 3927;
    constexpr int kContentUp = 3925;
    testsupport::ModalScript script;
    script.On(CDlgEditAdditionalInfor::IDD, [](CDialog& dialog) {
        ClickEntry(dialog, kContentList, 2);
        ClickControl(dialog, kContentDelete);
        EXPECT_EQ(Entries(dialog, kContentList), (std::vector<CString>{L"  1 a", L"  2 b"}));
        EXPECT_EQ(dialog.SendDlgItemMessage(kContentList, LB_GETCURSEL), 1);
        // The new last one: it moves up, not down.
        EXPECT_TRUE(dialog.GetDlgItem(kContentUp)->IsWindowEnabled());
        EXPECT_FALSE(dialog.GetDlgItem(kContentDown)->IsWindowEnabled());
        ClickControl(dialog, IDOK);
    });
    CDlgEditAdditionalInfor editor(0, nullptr);
    ASSERT_EQ(editor.DoModal(), IDOK);
    EXPECT_EQ(OnDisk(L"/Addition/Content"), (std::vector<CString>{L"a", L"b"}));
}
