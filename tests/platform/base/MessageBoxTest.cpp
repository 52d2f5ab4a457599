#include "platform/base/MessageBox.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Each test keeps its own log of the boxes shown and puts the default
// handler and an empty title back afterwards.
class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previousTitle = GetAfxAppTitle();
        m_previous = SetMessageBoxHandler([this](const MessageBoxRequest& request) {
            m_log.push_back(request);
            return m_answer;
        });
    }

    void TearDown() override
    {
        SetMessageBoxHandler(m_previous);
        SetAfxAppTitle(m_previousTitle);
    }

    std::vector<MessageBoxRequest> m_log;
    int m_answer = IDNO;
    MessageBoxHandler m_previous;
    CString m_previousTitle;
};

}  // namespace

TEST_F(MessageBoxTest, HandlerReceivesTheBox)
{
    HWND owner = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(MessageBoxW(owner, L"Delete the record?", L"心電図", MB_YESNO | MB_ICONQUESTION), IDNO);
    ASSERT_EQ(m_log.size(), 1u);
    EXPECT_EQ(m_log[0].owner, owner);
    EXPECT_EQ(m_log[0].text, L"Delete the record?");
    EXPECT_EQ(m_log[0].caption, L"心電図");
    EXPECT_EQ(m_log[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_FALSE(m_log[0].framework);

    MessageBoxW(nullptr, nullptr, nullptr, MB_OK);   // the system's own caption for none
    ASSERT_EQ(m_log.size(), 2u);
    EXPECT_EQ(m_log[1].caption, L"Error");
    EXPECT_EQ(m_log[1].text, L"");

    EXPECT_EQ(MessageBoxW(nullptr, L"bad type", L"x", 0x0000000F), 0);   // unknown buttons: nothing shown
    EXPECT_EQ(m_log.size(), 2u);
}

TEST_F(MessageBoxTest, FrameworkBoxesUseTheApplicationTitle)
{
    const CString saved = GetAfxAppTitle();
    SetAfxAppTitle(L"");
    EXPECT_EQ(AfxMessageBox(L"untitled"), IDNO);
    ASSERT_EQ(m_log.size(), 1u);
    EXPECT_EQ(m_log[0].caption, L"");   // no title set
    SetAfxAppTitle(L"Tavrion");
    m_answer = IDCANCEL;
    EXPECT_EQ(AfxMessageBox(L"Fail to open registry!", MB_OKCANCEL | MB_ICONSTOP), IDCANCEL);
    ASSERT_EQ(m_log.size(), 2u);
    EXPECT_EQ(m_log[1].caption, L"Tavrion");
    EXPECT_EQ(m_log[1].text, L"Fail to open registry!");
    EXPECT_EQ(m_log[1].type, MB_OKCANCEL | MB_ICONSTOP);
    EXPECT_TRUE(m_log[1].framework);
    EXPECT_EQ(m_log[1].owner, nullptr);
    SetAfxAppTitle(saved);
}

// A string id without a resource still shows its box, with no text.
TEST_F(MessageBoxTest, MissingStringResourceStillShows)
{
    SetAfxAppTitle(L"Tavrion");
    EXPECT_EQ(AfxMessageBox(0xFFF0u, MB_YESNO), IDNO);
    ASSERT_EQ(m_log.size(), 1u);
    EXPECT_EQ(m_log[0].text, L"");
    EXPECT_EQ(m_log[0].caption, L"Tavrion");
    EXPECT_TRUE(m_log[0].framework);
}

TEST_F(MessageBoxTest, InstallingReturnsThePreviousHandler)
{
    MessageBoxHandler mine = SetMessageBoxHandler([](const MessageBoxRequest&) { return IDRETRY; });
    ASSERT_TRUE(static_cast<bool>(mine));   // the fixture's recorder
    EXPECT_EQ(MessageBoxW(nullptr, L"t", L"c", MB_RETRYCANCEL), IDRETRY);
    EXPECT_TRUE(m_log.empty());
    SetMessageBoxHandler(mine);
    EXPECT_EQ(MessageBoxW(nullptr, L"t", L"c", MB_OK), IDNO);
    EXPECT_EQ(m_log.size(), 1u);
}

// Restoring the default: the box goes to standard error and the default button answers.
TEST_F(MessageBoxTest, DefaultHandlerWritesToStandardError)
{
    MessageBoxHandler mine = SetMessageBoxHandler(MessageBoxHandler());
    testing::internal::CaptureStderr();
    int answer = MessageBoxW(nullptr, L"記録を保存しますか", L"Tavrion", MB_YESNOCANCEL | MB_DEFBUTTON3);
    std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, IDCANCEL);
    EXPECT_EQ(written, "Tavrion: 記録を保存しますか\n");
    EXPECT_FALSE(static_cast<bool>(SetMessageBoxHandler(mine)));   // the default shows as an empty handler
    EXPECT_TRUE(m_log.empty());
}

// The default button of each button set.
TEST(DefaultMessageBoxAnswer, DefaultButtonAnswersAndAMissingOneFallsToTheFirst)
{
    struct Case {
        UINT type;
        int answer;
    };
    static const Case kCases[] = {
        // type                                        answer
        {MB_OK, IDOK},
        {MB_OK | MB_DEFBUTTON2, IDOK},   // a default button the box lacks is its first
        {MB_OKCANCEL, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_OKCANCEL | MB_DEFBUTTON3, IDOK},
        {MB_YESNO, IDYES},
        {MB_YESNO | MB_DEFBUTTON2, IDNO},
        {MB_YESNOCANCEL, IDYES},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_RETRYCANCEL, IDRETRY},
        {MB_RETRYCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_ABORTRETRYIGNORE, IDABORT},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
        {MB_YESNO | MB_ICONWARNING | MB_SYSTEMMODAL | MB_DEFBUTTON2, IDNO},
        {0x0000000F, 0},
    };
    for (const Case& c : kCases) EXPECT_EQ(DefaultMessageBoxAnswer(c.type), c.answer) << std::hex << c.type;
}
