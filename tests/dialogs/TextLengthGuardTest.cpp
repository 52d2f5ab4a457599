#include <gtest/gtest.h>

#include "dialogs/TextLengthGuard.h"
#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/Desktop.h"
#include "controls/TypedTextLimit.h"
#include "documents/ExerViewDoc.h"

using platform::ui::Desktop;

namespace {

class TextLengthGuardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Desktop::Reset();
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"p", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
        ASSERT_TRUE(m_edit.CreateEx(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(0, 0, 150, 20),
                                    &m_parent, 7));
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    CString Text()
    {
        CString text;
        m_edit.GetWindowText(text);
        return text;
    }
    // Types `keys` at the caret, the guard run after each as EN_UPDATE runs it.
    void Type(LPCWSTR keys, int limit)
    {
        for (const wchar_t* key = keys; *key; ++key) {
            const wchar_t one[2] = {*key, 0};
            m_edit.SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(one));
            GuardTextLength(m_edit, limit);
        }
    }
    CWnd m_parent;
    CWnd m_edit;
};

}  // namespace

// Limits count the columns a text is drawn in: a CJK character takes two
// and is never split (the count itself is tested with the columns).
TEST_F(TextLengthGuardTest, TypedTextPastTheLimitIsCutAndTheCaretStaysAfterIt)
{
    m_edit.SetWindowText(L"");
    GuardTextLength(m_edit, 5);
    Type(L"所見ABC", 5);
    EXPECT_EQ(Text(), L"所見A");
    DWORD start = 0, end = 0;
    m_edit.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 3u);
    EXPECT_EQ(end, 3u);
    // A paste is cut to what still fits, where it went.
    m_edit.SendMessage(EM_SETSEL, 0, 0);
    m_edit.SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"xyz"));
    EXPECT_FALSE(GuardTextLength(m_edit, 8));
    EXPECT_EQ(Text(), L"xyz所見A");
    m_edit.SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"12345"));
    EXPECT_TRUE(GuardTextLength(m_edit, 10));
    EXPECT_EQ(Text(), L"xyz12所見A");
}

// A text the dialog loaded stays whole however long (it once was cut to the
// limit as it was shown, and saved cut); typing may shorten it, never
// lengthen it.
TEST_F(TextLengthGuardTest, ALoadedTextPastTheLimitIsKeptAndOnlyDeletingChangesIt)
{
    m_edit.SetWindowText(L"Müller-Lüdenscheidt这这");
    EXPECT_FALSE(GuardTextLength(m_edit, 20));
    EXPECT_EQ(Text(), L"Müller-Lüdenscheidt这这");
    m_edit.SendMessage(EM_SETSEL, 6, 6);
    Type(L"ab", 20);
    EXPECT_EQ(Text(), L"Müller-Lüdenscheidt这这");
    m_edit.SendMessage(EM_SETSEL, 20, 21);
    m_edit.SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
    EXPECT_FALSE(GuardTextLength(m_edit, 20));
    EXPECT_EQ(Text(), L"Müller-Lüdenscheidt这");
    // A selection replaced by as much as it took is no lengthening.
    m_edit.SendMessage(EM_SETSEL, 0, 1);
    m_edit.SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"N"));
    EXPECT_FALSE(GuardTextLength(m_edit, 20));
    EXPECT_EQ(Text(), L"Nüller-Lüdenscheidt这");
}

// A field filled without the guard seeing it (a text set before the guard
// ran once) is judged by what one key leaves: the character before the caret
// is the one just typed, so the text as it was is kept whole.
TEST_F(TextLengthGuardTest, AFieldTheGuardNeverSawRefusesTheFirstLetterPastItsLimitAndKeepsItsText)
{
    m_edit.SetWindowText(L"abcde");
    m_edit.SendMessage(EM_SETSEL, 2, 2);
    m_edit.SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"X"));
    EXPECT_TRUE(GuardTextLength(m_edit, 5));
    EXPECT_EQ(Text(), L"abcde");

    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(0, 30, 150, 50),
                               &m_parent, 8));
    other.SetWindowText(L"vwxyz");
    other.SendMessage(EM_SETSEL, 5, 5);
    other.SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"Q"));
    EXPECT_TRUE(GuardTextLength(other, 5));
    CString text;
    other.GetWindowText(text);
    EXPECT_EQ(text, L"vwxyz");

    // At the very start the character before the caret is the first.
    CWnd first;
    ASSERT_TRUE(first.CreateEx(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(0, 60, 150, 80),
                               &m_parent, 9));
    first.SetWindowText(L"这这a");
    first.SendMessage(EM_SETSEL, 0, 0);
    first.SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"Q"));
    EXPECT_TRUE(GuardTextLength(first, 5));
    first.GetWindowText(text);
    EXPECT_EQ(text, L"这这a");
    DWORD start = 0, end = 0;
    first.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end, 0u);
}

// The edit's undo brings back the text before the last change and undoing
// again redoes it: the guard takes either text as it was, a loaded one past
// the limit included (it once took the undo as a typed change and cut it to
// the limit), and counts the next key against it.
TEST_F(TextLengthGuardTest, AnUndoAndItsRedoBringBackTheTextAsItWasPastTheLimit)
{
    const CString stored = L"HOSP-2024-000123456789";
    m_edit.SendMessage(EM_LIMITTEXT, 20);
    m_edit.SetWindowText(stored);
    EXPECT_FALSE(GuardTextLength(m_edit, 20));
    // Four letters typed over with one: no longer than it was, taken whole.
    m_edit.SendMessage(EM_SETSEL, 0, 4);
    Type(L"Q", 20);
    EXPECT_EQ(Text(), L"Q-2024-000123456789");
    m_edit.SendMessage(EM_UNDO);
    EXPECT_FALSE(GuardTextLength(m_edit, 20));
    EXPECT_EQ(Text(), stored);
    m_edit.SendMessage(EM_UNDO);
    EXPECT_FALSE(GuardTextLength(m_edit, 20));
    EXPECT_EQ(Text(), L"Q-2024-000123456789");
    m_edit.SendMessage(EM_UNDO);
    EXPECT_FALSE(GuardTextLength(m_edit, 20));
    m_edit.SendMessage(EM_SETSEL, 22, 22);
    Type(L"x", 20);
    EXPECT_EQ(Text(), stored);
}

TEST(TypedTextLimit, AChangeIsFittedBetweenThePartsTheTextsShare)
{
    int caret = -1;
    EXPECT_EQ(FitTypedChange(L"abcd", L"abXYZcd", 5, caret), L"abXcd");
    EXPECT_EQ(caret, 3);
    // Past the limit before: the field keeps as many columns as it had.
    EXPECT_EQ(FitTypedChange(L"这这这", L"这这x这", 4, caret), L"这这这");
    EXPECT_EQ(caret, 2);
    EXPECT_EQ(FitTypedChange(L"这这这", L"这这", 4, caret), L"这这");
    EXPECT_EQ(FitTypedChange(L"这这这", L"a这这", 4, caret), L"a这这");
    EXPECT_EQ(FitTypedChange(L"aa", L"aaa", 2, caret), L"aa");
    EXPECT_EQ(caret, 2);
}

// The exercise comment keeps three lines of 60 columns: a change that would
// push any of its text past the third line is refused, whatever the widths
// on its lines (it once was taken, the lines rewrapped and the last one
// dropped), a paste is cut to what the lines still take, and deleting is
// taken.
TEST(TypedTextLimit, AChangeThatWouldPushTheExerciseCommentPastItsThirdLineIsRefused)
{
    const TextFit fit = &CExerViewDoc::FitComment;
    int caret = -1;
    const CString shortLast = CString(L'A', 60) + L"\r\n" + CString(L'B', 60) + L"\r\nCCCCC";
    EXPECT_EQ(FitTypedChange(shortLast, L"Z" + shortLast, fit, caret), shortLast);
    EXPECT_EQ(caret, 0);
    EXPECT_EQ(FitTypedChange(shortLast, shortLast + L"D", fit, caret), shortLast + L"D");
    EXPECT_EQ(FitTypedChange(shortLast, shortLast + CString(L'D', 80), fit, caret), shortLast + CString(L'D', 55));
    EXPECT_EQ(caret, shortLast.GetLength() + 55);
    for (const wchar_t wide : {L'漢', L'这', L'한', L'😀'}) {
        SCOPED_TRACE(static_cast<int>(wide));
        const CString line(wide, 30);
        const CString full = line + L"\r\n" + line + L"\r\n" + line;
        EXPECT_EQ(FitTypedChange(full, L"x" + full, fit, caret), full);
        EXPECT_EQ(FitTypedChange(full, line.Left(15) + L"x" + full.Mid(15), fit, caret), full);
        // A Return opens a fourth line.
        EXPECT_EQ(FitTypedChange(full, line + L"\r\n\r\n" + line + L"\r\n" + line, fit, caret), full);
        EXPECT_EQ(FitTypedChange(full, full.Mid(1), fit, caret), full.Mid(1));
    }
}

// A comment stored past the three lines keeps what they drop: typing over a
// selection with less drops no more of it and is taken whole (the letter was
// once cut and only the selection went); a letter that lengthens it is
// refused, also where its line has room, and a paste over a selection is cut
// to what drops no more.
TEST(TypedTextLimit, AChangeToAnExerciseCommentStoredPastItsThirdLineIsTakenWhereItDropsNoMoreOfIt)
{
    const TextFit fit = &CExerViewDoc::FitComment;
    int caret = -1;
    const CString line(L'漢', 30);
    const CString stored = line + L"\r\n" + line + L"\r\n" + line + L"\r\nDDDD";
    ASSERT_NE(fit(stored), stored);
    const CString typedOver = L"Q" + stored.Mid(6);
    EXPECT_EQ(FitTypedChange(stored, typedOver, fit, caret), typedOver);
    EXPECT_EQ(caret, typedOver.GetLength());
    EXPECT_EQ(FitTypedChange(stored, L"Q" + stored, fit, caret), stored);
    EXPECT_EQ(FitTypedChange(stored, stored + L"E", fit, caret), stored);
    const CString shortFirst = L"AB" + stored.Mid(line.GetLength());
    EXPECT_EQ(FitTypedChange(shortFirst, L"x" + shortFirst, fit, caret), shortFirst);
    // Over six of the first line's thirty, three letters of the twelve
    // columns still fit before the line's end pushes a character on.
    EXPECT_EQ(FitTypedChange(stored, CString(L'x', 15) + stored.Mid(6), fit, caret), CString(L'x', 12) + stored.Mid(6));
    EXPECT_EQ(caret, 12);
}
