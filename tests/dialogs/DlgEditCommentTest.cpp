#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "dialogs/DlgEditComment.h"
#include "dialogs/DlgEditCommentItem.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/support/FullDisk.h"
#include "tests/support/ModalScript.h"

namespace {

using platform::ui::Desktop;
using testsupport::ClickControl;
using testsupport::ControlText;

constexpr int kApply = 3761;
constexpr int kDelete = 3763;
constexpr int kAdd = 3764;
constexpr int kList = 3767;
constexpr int kBox = 3769;

std::vector<CString> Entries(CWnd& dialog)
{
    std::vector<CString> entries;
    const int count = static_cast<int>(dialog.SendDlgItemMessage(kList, LB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
        wchar_t buffer[512] = {};
        dialog.SendDlgItemMessage(kList, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer));
        entries.push_back(buffer);
    }
    return entries;
}

// Clicks entry `index` of the phrase list.
void ClickEntry(CWnd& dialog, int index)
{
    RECT rect{};
    dialog.SendDlgItemMessage(kList, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    Desktop::Click(dialog.GetDlgItem(kList)->m_hWnd, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    Desktop::PumpMessages();
}

// A work directory of its own holding the shipped Comment.xml, or `text` in its place.
class CommentEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        Desktop::Reset();
        m_master = m_dir.File("Comment.xml");
        m_previousBox = SetMessageBoxHandler([this](const MessageBoxRequest& box) {
            m_boxes.push_back(box.text);
            return IDOK;
        });
    }
    void TearDown() override { SetMessageBoxHandler(m_previousBox); }

    void UseShippedMaster()
    {
        std::ofstream(m_master, std::ios::binary) << testsupport::ReadFileBytes(testsupport::WorkDir() + "/Comment.xml");
    }
    void UseMaster(const std::string& text) { std::ofstream(m_master, std::ios::binary) << text; }

    INT_PTR Run(int docType, UINT dataKind, const CString& comment, const testsupport::ModalScript::Step& step,
                CString* result = nullptr)
    {
        testsupport::ModalScript script;
        script.On(CDlgEditComment::IDD, step);
        CDlgEditComment editor(0, nullptr);
        editor.SetDoc(docType, dataKind);
        editor.SetComment(comment);
        const INT_PTR answer = editor.DoModal();
        if (result) *result = editor.GetComment();
        return answer;
    }

    std::vector<CString> SectionOnDisk(const CString& section)
    {
        return testsupport::XmlValues(m_master, section + L"/Comment_text");
    }

    testsupport::TempDir m_dir;
    testsupport::ScopedWorkDir m_workDir{m_dir.Path()};
    std::string m_master;
    std::vector<CString> m_boxes;
    MessageBoxHandler m_previousBox;
};

}  // namespace

TEST_F(CommentEditor, EmptySectionsShowTheirKindsDefaults)
{
    UseMaster("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Comment><Restview/></Comment>\n");
    Run(5, 0, L"", [](CDialog& dialog) {
        EXPECT_EQ(Entries(dialog), (std::vector<CString>{L"  1 ***Nomal***", L"  2 ***Abnomal***", L"  3 ***Border***"}));
    });
    Run(0, 0, L"", [](CDialog& dialog) {
        EXPECT_EQ(Entries(dialog), std::vector<CString>{L"  1 Abnomal ECG"});
        // One phrase: it cannot be deleted.
        EXPECT_FALSE(dialog.GetDlgItem(kDelete)->IsWindowEnabled());
    });
}

TEST_F(CommentEditor, ApplyInsertsThePhraseAtTheCaretAndEnterTwiceAppliesOnce)
{
    UseShippedMaster();
    CString comment;
    const INT_PTR result = Run(0, 0, L"AB  ", [](CDialog& dialog) {
        EXPECT_EQ(ControlText(dialog, kBox), L"AB");   // trailing blanks removed
        EXPECT_EQ(Entries(dialog)[0], L"  1 正常心電図です。");
        dialog.GetDlgItem(kBox)->SetFocus();
        Desktop::KeyPress(VK_HOME);
        Desktop::KeyPress(VK_RIGHT);
        Desktop::PumpMessages();
        ClickEntry(dialog, 1);
        Desktop::KeyPress(VK_RETURN);   // the list has the focus and apply is armed
        Desktop::PumpMessages();
        EXPECT_EQ(ControlText(dialog, kBox), L"A正常範囲の心電図です。B");
        dialog.GetDlgItem(kList)->SetFocus();
        Desktop::KeyPress(VK_RETURN);   // disarmed: no second insertion
        Desktop::PumpMessages();
    }, &comment);
    EXPECT_EQ(comment, L"A正常範囲の心電図です。B");
    (void)result;
}

TEST_F(CommentEditor, ShortCommentKindsTrimThePhraseKeepTheCaretAtTheStartAndStopAt180)
{
    UseMaster("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Comment><Restview>"
              "<Comment_text>   lead</Comment_text></Restview></Comment>\n");
    const CString longComment(L'x', 176);   // 176 + "lead" = 180: still fits
    Run(0, 0xFFFC, longComment, [&](CDialog& dialog) {
        dialog.GetDlgItem(kBox)->SendMessage(EM_SETSEL, 0, 0);
        ClickEntry(dialog, 0);
        ClickControl(dialog, kApply);
        EXPECT_EQ(ControlText(dialog, kBox), L"lead" + longComment);
        DWORD start = 99;
        dialog.SendDlgItemMessage(kBox, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
        EXPECT_EQ(start, 0u);
        const int beeps = Desktop::BeepCount();
        ClickEntry(dialog, 0);
        ClickControl(dialog, kApply);   // 184 columns: refused
        EXPECT_EQ(Desktop::BeepCount(), beeps + 1);
        EXPECT_EQ(ControlText(dialog, kBox), L"lead" + longComment);
    });
}

// The exercise record's comment is kept as three lines of 60 columns: the
// editor's box takes no more, counting each character by its drawn width.
TEST_F(CommentEditor, AShortCommentBoxTakesWhatTheExerciseCommentKeeps)
{
    UseShippedMaster();
    for (const wchar_t wide : {L'这', L'한'}) {
        SCOPED_TRACE(static_cast<int>(wide));
        const CString full(wide, 90);
        Run(5, 0xFFFA, full, [&](CDialog& dialog) {
            dialog.GetDlgItem(kBox)->SetFocus();
            Desktop::KeyPress(VK_END);
            Desktop::PumpMessages();
            const wchar_t more[] = {wide, 0};
            Desktop::TypeText(more);
            EXPECT_EQ(ControlText(dialog, kBox), full);
            // A phrase after the third line is refused as one past the limit.
            const int beeps = Desktop::BeepCount();
            ClickEntry(dialog, 0);
            ClickControl(dialog, kApply);
            EXPECT_EQ(Desktop::BeepCount(), beeps + 1);
            EXPECT_EQ(ControlText(dialog, kBox), full);
        });
    }
}

// A comment the editor is given past the box's 255 columns (130 wide
// Hangul) is shown whole; a letter typed at its start is refused, one
// Backspace at its end takes one character, and OK gives back the rest.
TEST_F(CommentEditor, AGivenCommentPastTheLimitTakesNoLetterAndLosesOneCharacterToABackspace)
{
    UseShippedMaster();
    const CString stored(L'한', 130);
    CString result;
    ASSERT_EQ(IDOK, Run(0, 0, stored, [&](CDialog& dialog) {
                  dialog.GetDlgItem(kBox)->SetFocus();
                  Desktop::KeyPress(VK_HOME, platform::ui::kControl);
                  Desktop::TypeText(L"x");
                  EXPECT_EQ(ControlText(dialog, kBox), stored);
                  Desktop::KeyPress(VK_END, platform::ui::kControl);
                  Desktop::KeyPress(VK_BACK);
                  Desktop::PumpMessages();
                  EXPECT_EQ(ControlText(dialog, kBox), CString(L'한', 129));
                  dialog.SendDlgItemMessage(IDOK, BM_CLICK);
              }, &result));
    EXPECT_EQ(result, CString(L'한', 129));
}

TEST_F(CommentEditor, ACjkPhraseOverTheLimitBeepsAndLeavesTheComment)
{
    UseShippedMaster();
    const CString full(L'x', 250);   // the first phrase is 8 CJK characters, 16 columns
    Run(0, 0, full, [&](CDialog& dialog) {
        const int beeps = Desktop::BeepCount();
        ClickEntry(dialog, 0);
        ClickControl(dialog, kApply);
        EXPECT_EQ(Desktop::BeepCount(), beeps + 1);
        EXPECT_EQ(ControlText(dialog, kBox), full);
    });
}

TEST_F(CommentEditor, AddedPhraseGoesAfterTheSelectedOneAndOkRewritesTheSection)
{
    UseShippedMaster();
    const std::vector<CString> before = SectionOnDisk(L"/Comment/Restview");
    const std::vector<CString> others = SectionOnDisk(L"/Comment/Msfrview");
    testsupport::ModalScript script;
    script.On(CDlgEditComment::IDD, [](CDialog& dialog) {
        ClickEntry(dialog, 1);
        ClickControl(dialog, kAdd);   // the item prompt below answers
        EXPECT_EQ(Entries(dialog)[2], L"  3 新しい所見");
        EXPECT_EQ(Entries(dialog)[3].Left(4), L"  4 ");
        ClickControl(dialog, IDOK);
    });
    script.On(CDlgEditCommentItem::IDD, [](CDialog& item) {
        CString caption;
        item.GetWindowText(caption);
        EXPECT_EQ(caption, L"定型文の追加");
        testsupport::TypeInto(item, 3770, L"  新しい所見 ");
        ClickControl(item, IDOK);
    });
    CDlgEditComment editor(0, nullptr);
    editor.SetDoc(0, 0);
    EXPECT_EQ(editor.DoModal(), IDOK);
    std::vector<CString> expected = before;
    expected.insert(expected.begin() + 2, L"新しい所見");
    EXPECT_EQ(SectionOnDisk(L"/Comment/Restview"), expected);
    EXPECT_EQ(SectionOnDisk(L"/Comment/Msfrview"), others);
    EXPECT_EQ(script.Seen(), (std::vector<UINT>{CDlgEditComment::IDD, CDlgEditCommentItem::IDD}));
}

TEST_F(CommentEditor, CancelLeavesTheMasterByteIdentical)
{
    UseShippedMaster();
    const std::string before = testsupport::ReadFileBytes(m_master);
    EXPECT_EQ(Run(0, 0, L"", [](CDialog& dialog) {
        ClickEntry(dialog, 0);
        ClickControl(dialog, kDelete);
        ClickControl(dialog, IDCANCEL);
    }), IDCANCEL);
    EXPECT_EQ(testsupport::ReadFileBytes(m_master), before);
}

TEST_F(CommentEditor, AMissingMasterShowsTheDefaultAndOkWritesItUnderANewSection)
{
    EXPECT_EQ(Run(6, 0, L"", [](CDialog& dialog) {
        EXPECT_EQ(Entries(dialog), std::vector<CString>{L"  1 Abnomal ECG"});
        ClickControl(dialog, IDOK);
    }), IDOK);
    EXPECT_EQ(SectionOnDisk(L"/Comment/MFERview"), std::vector<CString>{L"Abnomal ECG"});
}

TEST_F(CommentEditor, OkOnAFullDiskShowsTheWriteErrorAndKeepsTheEditedPhrasesOpen)
{
    UseShippedMaster();
    const std::string before = testsupport::ReadFileBytes(m_master);
    const std::vector<CString> shipped = SectionOnDisk(L"/Comment/Restview");
    ASSERT_GT(shipped.size(), 1u);
    std::vector<CString> boxesOnFullDisk;
    CString result;
    EXPECT_EQ(Run(0, 0, L"", [&](CDialog& dialog) {
        ClickEntry(dialog, 0);
        ClickControl(dialog, kDelete);
        {
            testsupport::ScopedFullDisk full;
            ASSERT_TRUE(full.Limited());
            ClickControl(dialog, IDOK);
        }
        boxesOnFullDisk = m_boxes;
        // Still open, the deletion still in the list: OK again, on a working disk.
        EXPECT_TRUE(::IsWindow(dialog.m_hWnd));
        EXPECT_EQ(Entries(dialog).size(), shipped.size() - 1);
        EXPECT_EQ(testsupport::ReadFileBytes(m_master), before);
        ClickControl(dialog, IDOK);
    }, &result), IDOK);
    // The box names the master and why it could not be written (it used to
    // say only that a write failed); the master is named as the library holds it.
    ASSERT_EQ(boxesOnFullDisk.size(), 1u);
    EXPECT_EQ(0, boxesOnFullDisk[0].Find(L"ファイル書き込みエラーです。\r\n"));
    EXPECT_NE(-1, boxesOnFullDisk[0].Find(L"Comment.xml\r\nディスクの空き容量が足りません。"));
    EXPECT_EQ(SectionOnDisk(L"/Comment/Restview"), std::vector<CString>(shipped.begin() + 1, shipped.end()));
}

TEST_F(CommentEditor, DeletingTheLastPhraseIsRefusedWithTheRecordedMessage)
{
    UseMaster("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Comment><RRview><Comment_text>a</Comment_text>"
              "<Comment_text>b</Comment_text></RRview></Comment>\n");
    Run(3, 0, L"", [](CDialog& dialog) {
        ClickEntry(dialog, 1);
        ClickControl(dialog, kDelete);
        EXPECT_EQ(Entries(dialog), std::vector<CString>{L"  1 a"});
        dialog.SendDlgItemMessage(kDelete, WM_ENABLE, TRUE);   // even when the button is reached
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(kDelete, BN_CLICKED), 0);
        EXPECT_EQ(Entries(dialog), std::vector<CString>{L"  1 a"});
    });
    EXPECT_EQ(m_boxes, std::vector<CString>{L"全てのコメント定型文を削除することはできません"});
}

// The exercise comment is kept as three lines of 60 columns, the breaks
// between them taking no room: a phrase is fitted by those lines there, and
// by the box's own 255 columns for every other comment.
TEST_F(CommentEditor, APhraseIsFittedByTheExerciseCommentsLinesThereAndByItsOwnLimitElsewhere)
{
    UseMaster("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Comment>"
              "<Restview><Comment_text>0123456789</Comment_text></Restview>"
              "<Exerview><Comment_text>0123456789</Comment_text></Exerview></Comment>\n");
    const CString line(L'a', 60);
    auto applyAtTheEnd = [](CDialog& dialog) {
        const int end = dialog.GetDlgItem(kBox)->GetWindowTextLength();
        dialog.GetDlgItem(kBox)->SendMessage(EM_SETSEL, end, end);
        ClickEntry(dialog, 0);
        ClickControl(dialog, kApply);
    };
    // Two full lines and 50 letters: the ten letters fill the third line
    // (184 characters with the breaks); ten more would start a fourth.
    const CString twoAndAHalf = line + L"\r\n" + line + L"\r\n" + CString(L'a', 50);
    CString saved;
    Run(5, 0xFFFC, twoAndAHalf, [&](CDialog& dialog) {
        const int beeps = Desktop::BeepCount();
        applyAtTheEnd(dialog);
        EXPECT_EQ(Desktop::BeepCount(), beeps);
        EXPECT_EQ(ControlText(dialog, kBox), twoAndAHalf + L"0123456789");
        applyAtTheEnd(dialog);
        EXPECT_EQ(Desktop::BeepCount(), beeps + 1);
        EXPECT_EQ(ControlText(dialog, kBox), twoAndAHalf + L"0123456789");
        ClickControl(dialog, IDOK);
    }, &saved);
    EXPECT_EQ(saved, twoAndAHalf + L"0123456789");
    // Far under 180 columns, but the phrase would overflow the third line.
    const CString shortFirstLine = L"a\r\n" + line + L"\r\n" + CString(L'a', 55);
    Run(5, 0xFFFC, shortFirstLine, [&](CDialog& dialog) {
        const int beeps = Desktop::BeepCount();
        applyAtTheEnd(dialog);
        EXPECT_EQ(Desktop::BeepCount(), beeps + 1);
        EXPECT_EQ(ControlText(dialog, kBox), shortFirstLine);
    });
    // A resting comment of 240 columns takes the phrase (250), past the
    // exercise comment's lines but within its own limit.
    const CString rest(L'r', 240);
    Run(0, 0, rest, [&](CDialog& dialog) {
        const int beeps = Desktop::BeepCount();
        applyAtTheEnd(dialog);
        EXPECT_EQ(Desktop::BeepCount(), beeps);
        EXPECT_EQ(ControlText(dialog, kBox), rest + L"0123456789");
    });
}

TEST_F(CommentEditor, DeletingTheLastPhraseSelectsTheNewLastOne)
{
    UseMaster("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Comment><RRview><Comment_text>a</Comment_text>"
              "<Comment_text>b</Comment_text><Comment_text>c</Comment_text></RRview></Comment>\n");
    Run(3, 0, L"", [](CDialog& dialog) {
        ClickEntry(dialog, 2);
        ClickControl(dialog, kDelete);
        EXPECT_EQ(Entries(dialog), (std::vector<CString>{L"  1 a", L"  2 b"}));
        EXPECT_EQ(dialog.SendDlgItemMessage(kList, LB_GETCURSEL), 1);
    });
}

// The fixed-comment editor of the sheets' phrase button: a phrase added
// while the first phrase is selected goes after it, not in its place.
TEST_F(CommentEditor, APhraseAddedWhileTheFirstIsSelectedGoesAfterIt)
{
    UseMaster("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Comment><Exerview><Comment_text>正常</Comment_text>"
              "<Comment_text>異常</Comment_text></Exerview></Comment>\n");
    testsupport::ModalScript script;
    script.On(CDlgEditComment::IDD, [](CDialog& dialog) {
        ClickEntry(dialog, 0);
        ClickControl(dialog, kAdd);
        EXPECT_EQ(Entries(dialog), (std::vector<CString>{L"  1 正常", L"  2 境界", L"  3 異常"}));
        EXPECT_EQ(dialog.SendDlgItemMessage(kList, LB_GETCURSEL), 1);
        ClickControl(dialog, IDOK);
    });
    script.On(CDlgEditCommentItem::IDD, [](CDialog& item) {
        testsupport::TypeInto(item, 3770, L"境界");
        ClickControl(item, IDOK);
    });
    CDlgEditComment editor(0, nullptr);
    editor.SetDoc(5, 0xFFFC);
    ASSERT_EQ(editor.DoModal(), IDOK);
    EXPECT_EQ(SectionOnDisk(L"/Comment/Exerview"), (std::vector<CString>{L"正常", L"境界", L"異常"}));
}
