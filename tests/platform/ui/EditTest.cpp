// The edit control: word wrap and line counts at a width and a font (and
// agreement with DrawText's layout of the same text), the notifications and
// their order, the text limit and the width limit, styles that filter or
// convert input, typed editing with the keyboard and the clipboard, the
// EM_ messages' edge cases, colours asked of the parent, and stale handles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/ui/framework/Edit.h"
#include "platform/ui/windowing/Clipboard.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/DialogBox.h"
#include "platform/ui/windowing/DialogTemplate.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "tests/platform/ui/UiTestSupport.h"
#include "tests/support/TestSupport.h"

using platform::ui::Desktop;
using uitest::ExpectedMsg;
using uitest::kLParam;
using uitest::kWParam;

namespace {

// A framework object attached to an existing control for the life of a test.
template <class T> struct Attached {
    explicit Attached(HWND hwnd) { object.Attach(hwnd); }
    ~Attached() { object.Detach(); }
    Attached(const Attached&) = delete;
    Attached& operator=(const Attached&) = delete;
    T object;
};

const UINT kEditId = 100;

class EditTest : public uitest::WindowLeakCheck {
protected:
    void SetUp() override
    {
        WindowLeakCheck::SetUp();
        platform::ui::ResetClipboard();
        m_font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, L"ＭＳ ゴシック");
        m_parent = uitest::CreateLogged(m_log, WS_POPUP | WS_VISIBLE, 50, 50, 400, 300);
        ASSERT_NE(nullptr, m_parent);
        m_log.Name(m_parent, "parent");
    }
    void TearDown() override
    {
        DestroyWindow(m_parent);
        DeleteObject(m_font);
        platform::ui::ResetClipboard();
        WindowLeakCheck::TearDown();
    }

    // An edit child of the logging parent, with the test font.
    HWND MakeEdit(DWORD style, int width = 200, int height = 24, LPCWSTR text = L"")
    {
        HWND edit = CreateWindowExW(0, WC_EDIT, text, WS_CHILD | WS_VISIBLE | style, 10, 10, width, height, m_parent,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kEditId)), nullptr, nullptr);
        if (edit) SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
        m_log.Name(edit, "edit");
        m_log.Clear();
        return edit;
    }

    int TextWidth(const std::wstring& text) const
    {
        HDC hdc = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(hdc, m_font);
        SIZE size = {0, 0};
        GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(hdc, previous);
        DeleteDC(hdc);
        return size.cx;
    }

    // An edit whose formatting rectangle is exactly `width` pixels wide.
    HWND MakeWrappingEdit(int width)
    {
        HWND edit = MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL, width + 2, 200);
        RECT format = {0, 0, 0, 0};
        SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        EXPECT_EQ(width, format.right - format.left);
        return edit;
    }

    // The notification codes the parent received from the edit, in order.
    std::vector<UINT> Notifications() const
    {
        std::vector<UINT> codes;
        for (const uitest::LoggedMsg& entry : m_log.Entries())
            if (entry.message == WM_COMMAND && LOWORD(entry.wParam) == kEditId) codes.push_back(HIWORD(entry.wParam));
        return codes;
    }

    static std::wstring Text(HWND hwnd)
    {
        wchar_t buffer[512] = {0};
        GetWindowTextW(hwnd, buffer, 512);
        return buffer;
    }

    static int LineCount(HWND edit) { return static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0)); }
    static int LineIndex(HWND edit, int line) { return static_cast<int>(SendMessageW(edit, EM_LINEINDEX, line, 0)); }

    static void Selection(HWND edit, DWORD& start, DWORD& end)
    {
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    }

    uitest::MessageLog m_log;
    HWND m_parent = nullptr;
    HFONT m_font = nullptr;
};

}  // namespace

// ---- word wrap ---------------------------------------------------------------------------

TEST_F(EditTest, TextThatFitsStaysOnOneLine)
{
    const std::wstring text = L"alpha beta";
    HWND edit = MakeWrappingEdit(TextWidth(text));
    SetWindowTextW(edit, text.c_str());
    EXPECT_EQ(1, LineCount(edit));
    EXPECT_EQ(-1, LineIndex(edit, 1));
}

TEST_F(EditTest, WrapsAtTheBlankBeforeTheWordThatDoesNotFit)
{
    // One pixel short of the whole text, wide enough for the first word.
    HWND edit = MakeWrappingEdit(TextWidth(L"alpha beta") - 1);
    SetWindowTextW(edit, L"alpha beta gamma");
    EXPECT_EQ(3, LineCount(edit));
    EXPECT_EQ(6, LineIndex(edit, 1));    // "beta" starts the second line
    EXPECT_EQ(11, LineIndex(edit, 2));
    EXPECT_EQ(1, SendMessageW(edit, EM_LINEFROMCHAR, 6, 0));
    EXPECT_EQ(0, SendMessageW(edit, EM_LINEFROMCHAR, 5, 0));   // the blank stays on the first line
}

TEST_F(EditTest, JapaneseWrapsBetweenCharactersButNeverBeforeAClosingMark)
{
    // Room for four of the five characters: the line would end before "。",
    // which may not start a line, so the character before it moves down too.
    HWND edit = MakeWrappingEdit(TextWidth(L"あいうえ") + 1);
    SetWindowTextW(edit, L"あいうえ。");
    EXPECT_EQ(2, LineCount(edit));
    EXPECT_EQ(3, LineIndex(edit, 1));
    // An opening bracket keeps the character after it on its line.
    SetWindowTextW(edit, L"あいう「え");
    EXPECT_EQ(2, LineCount(edit));
    EXPECT_EQ(3, LineIndex(edit, 1));
}

TEST_F(EditTest, WordWiderThanTheLineIsBrokenBetweenCharacters)
{
    const std::wstring word = L"abcdefghijklmnopqrstuvwxyz";
    const int width = TextWidth(L"abcdefg");
    HWND edit = MakeWrappingEdit(width);
    SetWindowTextW(edit, word.c_str());
    const int lines = LineCount(edit);
    ASSERT_GT(lines, 3);
    std::wstring joined;
    for (int line = 0; line < lines; ++line) {
        const int start = LineIndex(edit, line);
        const int length = static_cast<int>(SendMessageW(edit, EM_LINELENGTH, start, 0));
        const std::wstring piece = word.substr(static_cast<size_t>(start), static_cast<size_t>(length));
        EXPECT_LE(TextWidth(piece), width) << "line " << line;
        EXPECT_GE(length, 1);
        joined += piece;
    }
    EXPECT_EQ(word, joined);
}

TEST_F(EditTest, LineBreaksMakeLinesAndATrailingBreakAnEmptyLine)
{
    HWND edit = MakeWrappingEdit(300);
    SetWindowTextW(edit, L"one\r\ntwo\r\n");
    EXPECT_EQ(3, LineCount(edit));
    EXPECT_EQ(5, LineIndex(edit, 1));
    EXPECT_EQ(10, LineIndex(edit, 2));
    EXPECT_EQ(3, SendMessageW(edit, EM_LINELENGTH, 5, 0));
    EXPECT_EQ(0, SendMessageW(edit, EM_LINELENGTH, 10, 0));
    // Lone LF and CR break lines too, as DrawText takes them.
    SetWindowTextW(edit, L"a\nb\rc");
    EXPECT_EQ(3, LineCount(edit));
}

TEST_F(EditTest, LineCountAgreesWithDrawTextAtTheSameWidthAndFont)
{
    static const wchar_t* const kTexts[] = {
        L"The quick brown fox jumps over the lazy dog again and again",
        L"心電図の所見：洞調律、正常範囲内。前回と比較して変化なし。",
        L"ST低下（V4～V6）を認める。「要経過観察」とする。",
        L"Mixed 日本語 and English words, with punctuation.",
        L"averyveryverylongwordwithoutanyblanksatall and more",
        L"line one\r\nline two is longer than the first line\r\n\r\nlast",
    };
    const int width = 150;
    HWND edit = MakeWrappingEdit(width);
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(hdc, m_font);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(hdc, &metrics);
    for (const wchar_t* text : kTexts) {
        SetWindowTextW(edit, text);
        RECT rect = {0, 0, width, 0};
        const int height = DrawTextW(hdc, text, -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
        EXPECT_EQ(height / metrics.tmHeight, LineCount(edit)) << "text: " << testing::PrintToString(std::wstring(text));
    }
    SelectObject(hdc, previous);
    DeleteDC(hdc);
}

TEST_F(EditTest, NarrowingTheEditOrEnlargingTheFontWrapsAgain)
{
    HWND edit = MakeWrappingEdit(TextWidth(L"one two three four"));
    SetWindowTextW(edit, L"one two three four");
    EXPECT_EQ(1, LineCount(edit));
    MoveWindow(edit, 10, 10, TextWidth(L"one two three") + 2, 200, TRUE);
    EXPECT_EQ(2, LineCount(edit));
    EXPECT_EQ(14, LineIndex(edit, 1));
    MoveWindow(edit, 10, 10, TextWidth(L"one two three four") + 2, 200, TRUE);
    ASSERT_EQ(1, LineCount(edit));
    HFONT big = CreateFontW(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, L"ＭＳ ゴシック");
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
    EXPECT_GT(LineCount(edit), 1);
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), TRUE);
    DeleteObject(big);
}

TEST_F(EditTest, MultiLineEditWithHorizontalScrollingDoesNotWrap)
{
    HWND edit = MakeEdit(ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL, 60, 200);
    SetWindowTextW(edit, L"a long line that is much wider than the edit\r\nsecond");
    EXPECT_EQ(2, LineCount(edit));
}

TEST_F(EditTest, SingleLineEditIsOneLineWhateverItHolds)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL, 40);
    SetWindowTextW(edit, L"first\r\nsecond and more");
    EXPECT_EQ(1, LineCount(edit));
    EXPECT_EQ(0, LineIndex(edit, 0));
    EXPECT_EQ(-1, LineIndex(edit, 1));
    EXPECT_EQ(22, SendMessageW(edit, EM_LINELENGTH, 3, 0));
}

// ---- notifications -----------------------------------------------------------------------

TEST_F(EditTest, TypingNotifiesUpdateBeforeChange)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL);
    SetFocus(edit);
    m_log.Clear();
    Desktop::TypeText(L"ab");
    const std::vector<UINT> expected = {EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE};
    EXPECT_EQ(expected, Notifications());
    EXPECT_EQ(L"ab", Text(edit));
    EXPECT_TRUE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
}

// SetWindowText on a single-line edit.
static const ExpectedMsg kSetTextSingleLine[] = {
    {WM_COMMAND, kWParam, MAKEWPARAM(kEditId, EN_UPDATE)},
    {WM_COMMAND, kWParam, MAKEWPARAM(kEditId, EN_CHANGE)},
};

TEST_F(EditTest, SetTextNotifiesSingleLineEditsOnlyAndClearsTheModifiedFlag)
{
    HWND single = MakeEdit(ES_AUTOHSCROLL);
    SendMessageW(single, EM_SETMODIFY, TRUE, 0);
    m_log.Clear();
    for (UINT noise : {WM_CTLCOLOREDIT, WM_PARENTNOTIFY}) m_log.Ignore(noise);
    SetWindowTextW(single, L"text");
    EXPECT_SEQUENCE(m_log, kSetTextSingleLine);
    EXPECT_FALSE(SendMessageW(single, EM_GETMODIFY, 0, 0));
    DWORD start = 9, end = 9;
    Selection(single, start, end);
    EXPECT_EQ(0u, start);   // the caret goes to the start
    EXPECT_EQ(0u, end);

    HWND multi = MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL, 200, 100);
    SetWindowTextW(multi, L"text");
    EXPECT_TRUE(Notifications().empty());
    DestroyWindow(multi);
}

TEST_F(EditTest, FocusNotifiesTheParent)
{
    HWND first = MakeEdit(ES_AUTOHSCROLL);
    HWND second = CreateWindowExW(0, WC_EDIT, L"", WS_CHILD | WS_VISIBLE, 10, 50, 100, 20, m_parent,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kEditId + 1)), nullptr, nullptr);
    SetFocus(first);
    SetFocus(second);
    const std::vector<UINT> expected = {EN_SETFOCUS, EN_KILLFOCUS};
    EXPECT_EQ(expected, Notifications());
    DestroyWindow(second);
}

// ---- limits ------------------------------------------------------------------------------

TEST_F(EditTest, LimitTextStopsTypingAndReportsMaxText)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL);
    EXPECT_EQ(30000, SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
    Attached<CEdit> attached(edit);
    CEdit* wrapper = &attached.object;
    wrapper->LimitText(5);
    EXPECT_EQ(5u, wrapper->GetLimitText());
    SetFocus(edit);
    m_log.Clear();
    Desktop::TypeText(L"abcdefg");
    EXPECT_EQ(L"abcde", Text(edit));
    const std::vector<UINT> codes = Notifications();
    EXPECT_EQ(2, std::count(codes.begin(), codes.end(), static_cast<UINT>(EN_MAXTEXT)));
    EXPECT_EQ(5, std::count(codes.begin(), codes.end(), static_cast<UINT>(EN_CHANGE)));
    // WM_SETTEXT is not limited; the limit holds only for what the user and EM_REPLACESEL add.
    SetWindowTextW(edit, L"0123456789");
    EXPECT_EQ(L"0123456789", Text(edit));
    // A text set past the limit keeps its length: what replaces a selection
    // may take as many characters as it took (the selection once went with
    // nothing in its place, so that typing over a letter deleted it).
    SendMessageW(edit, EM_SETSEL, 2, 4);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"xyz"));
    EXPECT_EQ(L"01xy456789", Text(edit)) << "the replacement is cut to the length the text had";
    SendMessageW(edit, EM_SETSEL, 0, 0);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"w"));
    EXPECT_EQ(L"01xy456789", Text(edit)) << "nothing lengthens it";
    SetWindowTextW(edit, L"0123");
    SendMessageW(edit, EM_SETSEL, 1, 3);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"wxyz"));
    EXPECT_EQ(L"0wxy3", Text(edit)) << "the replacement is cut to the room the limit leaves";
    wrapper->LimitText(0);
    EXPECT_EQ(0x7FFFFFFE, SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
}

TEST_F(EditTest, LimitKeepsCarriageReturnAndLineFeedTogether)
{
    HWND edit = MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL, 200, 100);
    SendMessageW(edit, EM_LIMITTEXT, 4, 0);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"abc\r\ndef"));
    EXPECT_EQ(L"abc", Text(edit));
}

TEST_F(EditTest, SingleLineEditWithoutHorizontalScrollingTakesOnlyWhatFits)
{
    HWND edit = MakeEdit(0, TextWidth(L"abcd") + 2);
    SetFocus(edit);
    m_log.Clear();
    Desktop::TypeText(L"abcdef");
    EXPECT_EQ(L"abcd", Text(edit));
    const std::vector<UINT> codes = Notifications();
    EXPECT_EQ(2, std::count(codes.begin(), codes.end(), static_cast<UINT>(EN_MAXTEXT)));
    // A text set wider than the edit takes a change that leaves it no wider.
    SetWindowTextW(edit, L"abcdefgh");
    SendMessageW(edit, EM_SETSEL, 0, 2);
    Desktop::TypeText(L"x");
    EXPECT_EQ(L"xcdefgh", Text(edit));
    Desktop::TypeText(L"y");
    EXPECT_EQ(L"xcdefgh", Text(edit));
}

TEST_F(EditTest, MultiLineEditWithoutVerticalScrollingTakesOnlyTheLinesThatFit)
{
    HWND edit = MakeEdit(ES_MULTILINE | ES_WANTRETURN, 200, 0);
    TEXTMETRICW metrics = {};
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(hdc, m_font);
    GetTextMetricsW(hdc, &metrics);
    SelectObject(hdc, previous);
    DeleteDC(hdc);
    MoveWindow(edit, 10, 10, 200, metrics.tmHeight * 2, TRUE);
    SetFocus(edit);
    Desktop::TypeText(L"one\ntwo\nthree");
    EXPECT_EQ(2, LineCount(edit));
    EXPECT_EQ(L"one\r\ntwothree", Text(edit));
    // A text set on more lines than show takes a change that adds none.
    SetWindowTextW(edit, L"one\r\ntwo\r\nthree");
    SendMessageW(edit, EM_SETSEL, 5, 8);
    Desktop::TypeText(L"2");
    EXPECT_EQ(L"one\r\n2\r\nthree", Text(edit));
    Desktop::TypeText(L"\n");
    EXPECT_EQ(L"one\r\n2\r\nthree", Text(edit));
}

// ---- styles that filter and convert ----------------------------------------------------------

TEST_F(EditTest, NumberStyleRefusesTypedLettersButNotPastedOnes)
{
    HWND edit = MakeEdit(ES_NUMBER | ES_AUTOHSCROLL);
    SetFocus(edit);
    const int beeps = Desktop::BeepCount();
    Desktop::TypeText(L"1a2-3");
    EXPECT_EQ(L"123", Text(edit));
    EXPECT_EQ(beeps + 2, Desktop::BeepCount());
    platform::ui::SetClipboardText(nullptr, L"x9", 2);
    Desktop::KeyPress('V', platform::ui::kControl);
    EXPECT_EQ(L"123x9", Text(edit));
}

TEST_F(EditTest, CaseStylesConvertTypedAndSetText)
{
    HWND upper = MakeEdit(ES_UPPERCASE | ES_AUTOHSCROLL);
    SetFocus(upper);
    Desktop::TypeText(L"ab");
    EXPECT_EQ(L"AB", Text(upper));
    SetWindowTextW(upper, L"mixed Case");
    EXPECT_EQ(L"MIXED CASE", Text(upper));
    HWND lower = MakeEdit(ES_LOWERCASE | ES_AUTOHSCROLL);
    SetWindowTextW(lower, L"Mixed CASE");
    EXPECT_EQ(L"mixed case", Text(lower));
    DestroyWindow(lower);
}

TEST_F(EditTest, ReadOnlyEditIgnoresTypingButKeepsNavigationAndCopy)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL, 200, 24, L"fixed");
    Attached<CEdit> attached(edit);
    CEdit* wrapper = &attached.object;
    EXPECT_TRUE(wrapper->SetReadOnly(TRUE));
    EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
    SetFocus(edit);
    m_log.Clear();
    Desktop::TypeText(L"x");
    Desktop::KeyPress(VK_BACK);
    Desktop::KeyPress(VK_DELETE);
    EXPECT_EQ(L"fixed", Text(edit));
    EXPECT_TRUE(Notifications().empty());
    Desktop::KeyPress(VK_END, platform::ui::kShift);
    Desktop::KeyPress('C', platform::ui::kControl);
    std::wstring copied;
    EXPECT_TRUE(platform::ui::GetClipboardText(nullptr, copied));
    EXPECT_EQ(L"fixed", copied);
}

TEST_F(EditTest, PasswordEditShowsNoTextToTheClipboard)
{
    HWND edit = MakeEdit(ES_PASSWORD | ES_AUTOHSCROLL, 200, 24, L"secret");
    EXPECT_EQ(L'*', SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0));
    EXPECT_EQ(L"secret", Text(edit));
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_COPY, 0, 0);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
}

// ---- typed editing ---------------------------------------------------------------------------

TEST_F(EditTest, KeysMoveTheCaretSelectAndDelete)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL);
    SetFocus(edit);
    Desktop::TypeText(L"hello world");
    Desktop::KeyPress(VK_HOME);
    Desktop::KeyPress(VK_RIGHT, platform::ui::kShift);
    Desktop::KeyPress(VK_RIGHT, platform::ui::kShift);
    DWORD start = 0, end = 0;
    Selection(edit, start, end);
    EXPECT_EQ(0u, start);
    EXPECT_EQ(2u, end);
    Desktop::KeyPress(VK_DELETE);
    EXPECT_EQ(L"llo world", Text(edit));
    Desktop::KeyPress(VK_END);
    Desktop::KeyPress(VK_BACK);
    Desktop::KeyPress(VK_LEFT, platform::ui::kControl);
    Desktop::TypeText(L"big ");
    EXPECT_EQ(L"llo big worl", Text(edit));
    Desktop::KeyPress('A', platform::ui::kControl);
    Selection(edit, start, end);
    EXPECT_EQ(0u, start);
    EXPECT_EQ(12u, end);
}

TEST_F(EditTest, CutPasteAndUndoGoThroughTheClipboard)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL);
    SetFocus(edit);
    Desktop::TypeText(L"one two");
    SendMessageW(edit, EM_SETSEL, 0, 4);
    Desktop::KeyPress('X', platform::ui::kControl);
    EXPECT_EQ(L"two", Text(edit));
    Desktop::KeyPress(VK_END);
    Desktop::KeyPress('V', platform::ui::kControl);
    EXPECT_EQ(L"twoone ", Text(edit));
    EXPECT_TRUE(SendMessageW(edit, EM_CANUNDO, 0, 0));
    Desktop::KeyPress('Z', platform::ui::kControl);
    EXPECT_EQ(L"two", Text(edit));
    Desktop::KeyPress('Z', platform::ui::kControl);   // undoing again redoes
    EXPECT_EQ(L"twoone ", Text(edit));
}

TEST_F(EditTest, ReturnBreaksLinesOnlyInMultiLineEdits)
{
    HWND single = MakeEdit(ES_AUTOHSCROLL);
    SetFocus(single);
    Desktop::TypeText(L"a\nb");
    EXPECT_EQ(L"ab", Text(single));
    HWND multi = MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 200, 100);
    SetFocus(multi);
    Desktop::TypeText(L"a\nb");
    EXPECT_EQ(L"a\r\nb", Text(multi));
    Desktop::KeyPress(VK_BACK);
    Desktop::KeyPress(VK_BACK);   // the line break goes as one
    EXPECT_EQ(L"a", Text(multi));
    DestroyWindow(multi);
}

TEST_F(EditTest, UpAndDownKeepTheColumn)
{
    HWND edit = MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL, 300, 200);
    SetWindowTextW(edit, L"abcdef\r\nab\r\nabcdef");
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 5, 5);
    Desktop::KeyPress(VK_DOWN);
    DWORD start = 0, end = 0;
    Selection(edit, start, end);
    EXPECT_EQ(10u, start);   // the end of the short line
    Desktop::KeyPress(VK_DOWN);
    Selection(edit, start, end);
    EXPECT_EQ(17u, start);   // back in column 5
}

TEST_F(EditTest, ClickPlacesTheCaretAndDragSelects)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL, 300, 24, L"click here");
    const int x = 1 + TextWidth(L"click");
    Desktop::Click(edit, x, 5);
    EXPECT_EQ(edit, GetFocus());
    DWORD start = 0, end = 0;
    Selection(edit, start, end);
    EXPECT_EQ(5u, start);
    Desktop::Drag(edit, POINT{1, 5}, POINT{x, 5});
    Selection(edit, start, end);
    EXPECT_EQ(0u, start);
    EXPECT_EQ(5u, end);
}

// ---- EM_ messages ------------------------------------------------------------------------------

TEST_F(EditTest, SetSelTakesMinusOneAndReversedRanges)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL, 200, 24, L"0123456789");
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_SETSEL, 0, -1);
    Selection(edit, start, end);
    EXPECT_EQ(0u, start);
    EXPECT_EQ(10u, end);
    SendMessageW(edit, EM_SETSEL, 7, 3);   // the caret goes to the end given, the selection is ordered
    EXPECT_EQ(MAKELONG(3, 7), SendMessageW(edit, EM_GETSEL, 0, 0));
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
    EXPECT_EQ(L"012789", Text(edit));
    SendMessageW(edit, EM_SETSEL, 5, 5);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);   // removes the selection, the caret stays
    Selection(edit, start, end);
    EXPECT_EQ(5u, start);
    EXPECT_EQ(5u, end);
    SendMessageW(edit, EM_SETSEL, 100, 200);   // beyond the text: its end
    Selection(edit, start, end);
    EXPECT_EQ(6u, start);
    EXPECT_EQ(6u, end);
}

TEST_F(EditTest, GetLineCopiesAsManyCharactersAsTheFirstWordAllows)
{
    HWND edit = MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL, 300, 200);
    SetWindowTextW(edit, L"first\r\nsecond line");
    wchar_t buffer[32] = {0};
    const WORD size = 32;
    std::memcpy(buffer, &size, sizeof(size));
    EXPECT_EQ(11, SendMessageW(edit, EM_GETLINE, 1, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_EQ(L"second line", std::wstring(buffer));
    wchar_t small[4] = {0};
    const WORD smallSize = 3;
    std::memcpy(small, &smallSize, sizeof(smallSize));
    EXPECT_EQ(3, SendMessageW(edit, EM_GETLINE, 1, reinterpret_cast<LPARAM>(small)));
    EXPECT_EQ(L"sec", std::wstring(small, 3));
    EXPECT_EQ(0, SendMessageW(edit, EM_GETLINE, 5, reinterpret_cast<LPARAM>(buffer)));
    Attached<CEdit> attached(edit);
    CEdit* wrapper = &attached.object;
    wchar_t viaWrapper[8] = {0};
    EXPECT_EQ(5, wrapper->GetLine(0, viaWrapper, 8));
}

TEST_F(EditTest, ScrollCaretBringsTheCaretLineIntoView)
{
    HWND edit = MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL, 200, 40);
    std::wstring text;
    for (int i = 0; i < 20; ++i) text += L"line\r\n";
    SetWindowTextW(edit, text.c_str());
    EXPECT_EQ(0, SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    const int index = LineIndex(edit, 15);
    Attached<CEdit> attached(edit);
    CEdit* wrapper = &attached.object;
    wrapper->SetSel(index, index, TRUE);
    EXPECT_EQ(0, wrapper->GetFirstVisibleLine()) << "EM_SETSEL does not scroll";
    wrapper->SetSel(index, index);
    const int first = wrapper->GetFirstVisibleLine();
    EXPECT_LE(first, 15);
    EXPECT_GT(first, 15 - 3);
}

TEST_F(EditTest, SetRectChangesWhereTheTextWraps)
{
    HWND edit = MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL, 300, 200);
    SetWindowTextW(edit, L"one two three");
    EXPECT_EQ(1, LineCount(edit));
    RECT narrow = {0, 0, TextWidth(L"one two"), 200};
    SendMessageW(edit, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&narrow));
    RECT got = {0, 0, 0, 0};
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(narrow.right, got.right);
    EXPECT_EQ(2, LineCount(edit));
    SendMessageW(edit, EM_SETRECT, 0, 0);   // back to the client area
    EXPECT_EQ(1, LineCount(edit));
}

// ---- colours and painting ----------------------------------------------------------------------

namespace {

HBRUSH g_staticBrush = nullptr;

LRESULT ColouringParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CTLCOLORSTATIC) return reinterpret_cast<LRESULT>(g_staticBrush);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

TEST_F(EditTest, ReadOnlyAndDisabledEditsAskForStaticColours)
{
    WNDCLASSW wc = {0, &ColouringParent, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, L"EditColourParent"};
    RegisterClassW(&wc);
    g_staticBrush = CreateSolidBrush(RGB(255, 0, 0));
    HWND parent = CreateWindowExW(0, L"EditColourParent", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND edit = CreateWindowExW(0, WC_EDIT, L"", WS_CHILD | WS_VISIBLE | ES_READONLY, 10, 10, 100, 20, parent, nullptr,
                                nullptr, nullptr);
    const testsupport::TempDir folder;
    const std::string path = folder.File("edit-readonly.png");
    ASSERT_TRUE(Desktop::SaveWindowImage(parent, path.c_str()));
    {
        uitest::SavedImage image(path);
        EXPECT_EQ(RGB(255, 0, 0), image.At(60, 25));
    }
    SendMessageW(edit, EM_SETREADONLY, FALSE, 0);
    ASSERT_TRUE(Desktop::SaveWindowImage(parent, path.c_str()));
    {
        uitest::SavedImage image(path);
        EXPECT_EQ(GetSysColor(COLOR_WINDOW), image.At(60, 25));
    }
    EnableWindow(edit, FALSE);
    ASSERT_TRUE(Desktop::SaveWindowImage(parent, path.c_str()));
    {
        uitest::SavedImage image(path);
        EXPECT_EQ(RGB(255, 0, 0), image.At(60, 25));
    }
    DestroyWindow(parent);
    UnregisterClassW(L"EditColourParent", nullptr);
    DeleteObject(g_staticBrush);
}

TEST_F(EditTest, FocusedSelectionIsPaintedInTheHighlightColour)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL, 200, 24, L"WWWWWWWW");
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    const testsupport::TempDir folder;
    const std::string path = folder.File("edit-selection.png");
    ASSERT_TRUE(Desktop::SaveWindowImage(m_parent, path.c_str()));
    uitest::SavedImage image(path);
    // The edit is at (10, 10) in the parent; its first character cell is selected.
    // The edit's text starts a margin's pixel inside it, at (11, 10) of the parent.
    const int width = TextWidth(L"WWWWWWWW");
    int highlighted = 0;
    for (int y = 10; y < 22; ++y)
        for (int x = 11; x < 11 + width; ++x)
            if (image.At(x, y) == GetSysColor(COLOR_HIGHLIGHT)) ++highlighted;
    EXPECT_GE(highlighted, width * 2);   // the glyphs cover the rest
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), image.At(11, 10));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), image.At(10 + width, 10));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), image.At(11 + width + 20, 12));
}

// ---- handles -----------------------------------------------------------------------------------

TEST_F(EditTest, DestroyedEditAnswersNothing)
{
    HWND edit = MakeEdit(ES_AUTOHSCROLL, 200, 24, L"gone");
    DestroyWindow(edit);
    EXPECT_EQ(0, SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
    EXPECT_EQ(0, SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
    EXPECT_EQ(0, GetWindowTextLengthW(edit));
    // A new window in the reused slot is not reached through the old handle.
    HWND other = MakeEdit(ES_AUTOHSCROLL, 200, 24, L"new");
    EXPECT_NE(edit, other);
    EXPECT_EQ(0, SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ(3, SendMessageW(other, WM_GETTEXTLENGTH, 0, 0));
}

// ---- alignment and dialogs ---------------------------------------------------------------------

// Style, where the text starts: 0 at the left, 1 centred, 2 at the right.
struct AlignCase {
    DWORD style;
    int place;
};
static const AlignCase kAlignments[] = {
    {ES_LEFT, 0},
    {ES_CENTER, 1},
    {ES_RIGHT, 2},
    {ES_MULTILINE | ES_RIGHT, 2},
};

TEST_F(EditTest, AlignmentStylesPlaceTheTextInTheFormattingRectangle)
{
    for (const AlignCase& c : kAlignments) {
        HWND edit = MakeEdit(c.style, 200, 60, L"text");
        RECT format = {0, 0, 0, 0};
        SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        const int room = (format.right - format.left) - TextWidth(L"text");
        const LRESULT position = SendMessageW(edit, EM_POSFROMCHAR, 0, 0);
        const int expected = format.left + (c.place == 0 ? 0 : c.place == 1 ? room / 2 : room);
        EXPECT_EQ(expected, static_cast<SHORT>(LOWORD(position))) << "style " << c.style;
        EXPECT_EQ(-1, SendMessageW(edit, EM_POSFROMCHAR, 4, 0)) << "past the last character";
        DestroyWindow(edit);
    }
}

TEST_F(EditTest, TabbingIntoAnEditInADialogSelectsItsText)
{
    platform::ui::DialogTemplate dialog;
    dialog.style = WS_POPUP | WS_VISIBLE | DS_SETFONT;
    dialog.cx = 160;
    dialog.cy = 60;
    dialog.pointSize = 9;
    dialog.faceName = L"ＭＳ ゴシック";
    platform::ui::DialogItemTemplate button;
    button.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    button.x = 5; button.y = 5; button.cx = 40; button.cy = 14;
    button.id = 10;
    button.className = WC_BUTTON;
    button.text = L"Go";
    platform::ui::DialogItemTemplate edit;
    edit.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
    edit.x = 5; edit.y = 25; edit.cx = 100; edit.cy = 12;
    edit.id = 11;
    edit.className = WC_EDIT;
    edit.text = L"preset";
    dialog.items = {button, edit};
    HWND hDlg = platform::ui::CreateDialogFromTemplate(dialog, nullptr, nullptr, nullptr, 0);
    ASSERT_NE(nullptr, hDlg);
    HWND field = GetDlgItem(hDlg, 11);
    ASSERT_NE(nullptr, field);
    SetFocus(GetDlgItem(hDlg, 10));
    SendMessageW(hDlg, WM_NEXTDLGCTL, 0, 0);
    EXPECT_EQ(field, GetFocus());
    DWORD start = 9, end = 9;
    Selection(field, start, end);
    EXPECT_EQ(0u, start);
    EXPECT_EQ(6u, end);
    DestroyWindow(hDlg);
}
