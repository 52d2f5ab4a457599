// The message box recorder: what it keeps, how it answers, and that it
// hands the handler back.
#include <gtest/gtest.h>

#include "platform/base/MessageBox.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"

using platform::ui::MessageBoxRecorder;

TEST(MessageBoxRecorder, KeepsEveryBoxInOrder)
{
    MessageBoxRecorder recorder;
    EXPECT_EQ(0, recorder.Count());
    EXPECT_EQ(0u, recorder.Last().type);   // no box yet: an empty request
    MessageBoxW(nullptr, L"記録ファイルが見つかりません", L"エラー", MB_OK | MB_ICONERROR);
    AfxMessageBox(L"second", MB_OKCANCEL);

    ASSERT_EQ(2, recorder.Count());
    EXPECT_EQ(CString(L"記録ファイルが見つかりません"), recorder.At(0).text);
    EXPECT_EQ(CString(L"エラー"), recorder.At(0).caption);
    EXPECT_EQ(MB_OK | MB_ICONERROR, recorder.At(0).type);
    EXPECT_FALSE(recorder.At(0).framework);
    EXPECT_EQ(CString(L"second"), recorder.Last().text);
    EXPECT_TRUE(recorder.Last().framework);
    EXPECT_TRUE(recorder.At(2).text.IsEmpty());
    EXPECT_TRUE(recorder.At(-1).text.IsEmpty());
}

TEST(MessageBoxRecorder, AnswersAsScriptedThenWithTheDefaultButton)
{
    MessageBoxRecorder recorder;
    recorder.Answer(IDNO);
    recorder.Answer(IDCANCEL);
    EXPECT_EQ(IDNO, MessageBoxW(nullptr, L"1", L"c", MB_YESNOCANCEL));
    EXPECT_EQ(IDCANCEL, MessageBoxW(nullptr, L"2", L"c", MB_YESNOCANCEL));
    // Script used up: each box takes its default button.
    EXPECT_EQ(IDYES, MessageBoxW(nullptr, L"3", L"c", MB_YESNOCANCEL));
    EXPECT_EQ(IDNO, MessageBoxW(nullptr, L"4", L"c", MB_YESNO | MB_DEFBUTTON2));
    EXPECT_EQ(IDOK, AfxMessageBox(L"5"));
    EXPECT_EQ(5, recorder.Count());
}

TEST(MessageBoxRecorder, ClearForgetsBoxesAndUnusedAnswers)
{
    MessageBoxRecorder recorder;
    recorder.Answer(IDNO);
    MessageBoxW(nullptr, L"seen", L"c", MB_OK);
    recorder.Clear();
    EXPECT_EQ(0, recorder.Count());
    EXPECT_EQ(IDYES, MessageBoxW(nullptr, L"after", L"c", MB_YESNO));
    EXPECT_EQ(1, recorder.Count());
}

TEST(MessageBoxRecorder, NestedRecordersHandTheHandlerBack)
{
    MessageBoxRecorder outer;
    {
        MessageBoxRecorder inner;
        inner.Answer(IDRETRY);
        EXPECT_EQ(IDRETRY, MessageBoxW(nullptr, L"inner", L"c", MB_RETRYCANCEL));
        EXPECT_EQ(1, inner.Count());
        EXPECT_EQ(0, outer.Count());
    }
    MessageBoxW(nullptr, L"outer", L"c", MB_OK);
    ASSERT_EQ(1, outer.Count());
    EXPECT_EQ(CString(L"outer"), outer.Last().text);
}

TEST(MessageBoxRecorder, RestoresTheHandlerItReplaced)
{
    int sentinelCalls = 0;
    MessageBoxHandler saved = SetMessageBoxHandler([&](const MessageBoxRequest&) {
        ++sentinelCalls;
        return IDABORT;
    });
    {
        MessageBoxRecorder recorder;
        MessageBoxW(nullptr, L"recorded", L"c", MB_OK);
        EXPECT_EQ(1, recorder.Count());
    }
    EXPECT_EQ(0, sentinelCalls);
    EXPECT_EQ(IDABORT, MessageBoxW(nullptr, L"after", L"c", MB_ABORTRETRYIGNORE));
    EXPECT_EQ(1, sentinelCalls);
    SetMessageBoxHandler(saved);
}
