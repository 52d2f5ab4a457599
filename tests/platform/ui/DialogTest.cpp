// Modal dialogs: the run DoModal makes, with and without a driver, and what
// it leaves behind.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "platform/ui/framework/Dialog.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/framework/WinApp.h"
#include "tests/platform/ui/UiTestSupport.h"

using platform::ui::ModalDriverScope;

namespace {

const UINT IDD_PROBE = 3456;
const UINT IDD_NESTED = 3457;
const int ID_CUSTOM_RESULT = 42;

// A dialog that records what the modal run did to it.
class CProbeDialog : public CDialog {
public:
    explicit CProbeDialog(CWnd* parent = nullptr, UINT id = IDD_PROBE) : CDialog(id, parent) {}

    BOOL OnInitDialog() override
    {
        ++m_nInitCalls;
        m_hWndAtInit = m_hWnd;
        if (m_bEndInInit) EndDialog(ID_CUSTOM_RESULT);
        return CDialog::OnInitDialog();
    }

    int m_nInitCalls = 0;
    int m_nOkCalls = 0;
    HWND m_hWndAtInit = nullptr;
    BOOL m_bEndInInit = FALSE;
    CString m_strValue = L"untouched";   // a field the driver fills in
    CString m_strCommitted;              // what OnOK took from the field

protected:
    void OnOK() override
    {
        ++m_nOkCalls;
        m_strCommitted = m_strValue;
        CDialog::OnOK();
    }
};

class DialogTest : public uitest::WindowLeakCheck {
protected:
    // The main window, owner of the dialogs.
    void SetUp() override
    {
        WindowLeakCheck::SetUp();
        ASSERT_TRUE(m_owner.CreateEx(0, uitest::kLoggedClass, L"main", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                                     nullptr));
    }
    void TearDown() override
    {
        m_owner.DestroyWindow();
        WindowLeakCheck::TearDown();
    }

    CWnd m_owner;
};

}  // namespace

TEST_F(DialogTest, WithoutDriverEndsCancelledAfterInitialising)
{
    CProbeDialog dialog(&m_owner);
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(1, dialog.m_nInitCalls);
    EXPECT_NE(nullptr, dialog.m_hWndAtInit);
    EXPECT_EQ(0, dialog.m_nOkCalls);
    EXPECT_EQ(CString(L"untouched"), dialog.m_strValue);
    EXPECT_FALSE(IsWindow(dialog.m_hWndAtInit));
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    EXPECT_TRUE(m_owner.IsWindowEnabled());
}

TEST_F(DialogTest, DriverResultIsReturned)
{
    CProbeDialog dialog(&m_owner);
    ModalDriverScope driver([](CDialog& running) { running.EndDialog(ID_CUSTOM_RESULT); });
    EXPECT_EQ(ID_CUSTOM_RESULT, dialog.DoModal());
    EXPECT_EQ(1, dialog.m_nInitCalls);
}

TEST_F(DialogTest, DriverActsOnALiveDialogWhileTheOwnerIsDisabled)
{
    CProbeDialog dialog(&m_owner);
    bool checked = false;
    ModalDriverScope driver([&](CDialog& running) {
        checked = true;
        EXPECT_EQ(&dialog, &running);
        EXPECT_TRUE(IsWindow(running.m_hWnd));
        EXPECT_EQ(dialog.m_hWndAtInit, running.m_hWnd);
        EXPECT_EQ(IDD_PROBE, running.GetTemplateId());
        EXPECT_EQ(&m_owner, running.GetParent());
        EXPECT_FALSE(m_owner.IsWindowEnabled());
        EXPECT_TRUE(running.GetStyle() & WS_POPUP);
        // The person types a value and presses OK.
        static_cast<CProbeDialog&>(running).m_strValue = L"入力値";
        EXPECT_TRUE(running.OnCmdMsg(IDOK, CN_COMMAND, nullptr, nullptr));
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(checked);
    EXPECT_EQ(1, dialog.m_nOkCalls);
    EXPECT_EQ(CString(L"入力値"), dialog.m_strCommitted);
    EXPECT_TRUE(m_owner.IsWindowEnabled());
    EXPECT_FALSE(IsWindow(dialog.m_hWndAtInit));
}

TEST_F(DialogTest, CancelCommandEndsWithCancel)
{
    CProbeDialog dialog(&m_owner);
    ModalDriverScope driver([](CDialog& running) { running.OnCmdMsg(IDCANCEL, CN_COMMAND, nullptr, nullptr); });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(0, dialog.m_nOkCalls);
}

TEST_F(DialogTest, DriverThatLeavesTheDialogOpenGetsCancel)
{
    CProbeDialog dialog(&m_owner);
    ModalDriverScope driver([](CDialog&) {});
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
}

TEST_F(DialogTest, DialogEndedDuringInitialisationSkipsTheDriver)
{
    CProbeDialog dialog(&m_owner);
    dialog.m_bEndInInit = TRUE;
    bool driven = false;
    ModalDriverScope driver([&](CDialog&) { driven = true; });
    EXPECT_EQ(ID_CUSTOM_RESULT, dialog.DoModal());
    EXPECT_FALSE(driven);
}

TEST_F(DialogTest, DriverMayDestroyTheDialogItself)
{
    CProbeDialog dialog(&m_owner);
    ModalDriverScope driver([](CDialog& running) { running.DestroyWindow(); });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(m_owner.IsWindowEnabled());
}

TEST_F(DialogTest, NestedDialogsRunThroughTheSameDriver)
{
    CProbeDialog outer(&m_owner);
    std::vector<UINT> seen;
    ModalDriverScope driver([&](CDialog& running) {
        seen.push_back(running.GetTemplateId());
        if (running.GetTemplateId() == IDD_PROBE) {
            CProbeDialog inner(&running, IDD_NESTED);
            EXPECT_EQ(IDYES, inner.DoModal());
            EXPECT_TRUE(running.IsWindowEnabled());   // given back when the inner dialog ended
            EXPECT_FALSE(m_owner.IsWindowEnabled());  // still held by the outer run
            EXPECT_TRUE(IsWindow(running.m_hWnd));
            running.EndDialog(IDOK);
            return;
        }
        // The inner dialog is owned by the outer one, which it disables.
        EXPECT_EQ(IDD_PROBE, static_cast<CDialog*>(running.GetParent())->GetTemplateId());
        EXPECT_FALSE(running.GetParent()->IsWindowEnabled());
        running.EndDialog(IDYES);
    });
    EXPECT_EQ(IDOK, outer.DoModal());
    EXPECT_EQ((std::vector<UINT>{IDD_PROBE, IDD_NESTED}), seen);
}

TEST_F(DialogTest, ThrowingDriverLeavesNoWindowAndAnEnabledOwner)
{
    CProbeDialog dialog(&m_owner);
    ModalDriverScope driver([](CDialog&) { throw std::runtime_error("script failed"); });
    EXPECT_THROW(dialog.DoModal(), std::runtime_error);
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    EXPECT_TRUE(m_owner.IsWindowEnabled());
}

TEST_F(DialogTest, DisabledOwnerStaysDisabled)
{
    m_owner.EnableWindow(FALSE);
    CProbeDialog dialog(&m_owner);
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_FALSE(m_owner.IsWindowEnabled());
}

TEST_F(DialogTest, UnownedDialogRunsToo)
{
    platform::ui::IsolatedApplicationList noMainWindow;
    CProbeDialog dialog;
    ModalDriverScope driver([](CDialog& running) {
        EXPECT_EQ(nullptr, running.GetParent());
        running.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
}

TEST_F(DialogTest, DialogWithoutParentIsOwnedByTheMainWindow)
{
    platform::ui::IsolatedApplicationList isolated;
    CWinApp app(L"dialogs");
    app.m_pMainWnd = &m_owner;
    CProbeDialog dialog;
    ModalDriverScope driver([&](CDialog& running) {
        EXPECT_EQ(&m_owner, running.GetParent());
        EXPECT_FALSE(m_owner.IsWindowEnabled());
        running.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
}

TEST_F(DialogTest, ModalDriverScopesNest)
{
    int outerCalls = 0;
    int innerCalls = 0;
    ModalDriverScope outer([&](CDialog& running) { ++outerCalls; running.EndDialog(IDOK); });
    {
        ModalDriverScope inner([&](CDialog& running) { ++innerCalls; running.EndDialog(IDNO); });
        CProbeDialog dialog(&m_owner);
        EXPECT_EQ(IDNO, dialog.DoModal());
    }
    CProbeDialog dialog(&m_owner);
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(1, outerCalls);
    EXPECT_EQ(1, innerCalls);
}

TEST(DialogTemplate, DialogsKeepTheirNamedOrNumberedTemplate)
{
    CProbeDialog numbered(nullptr, 120);
    EXPECT_EQ(120u, numbered.GetTemplateId());
    EXPECT_EQ(120u, numbered.m_nIDHelp);

    wchar_t name[] = L"IDD_NAMED";
    CDialog named(name);
    name[0] = L'X';   // the dialog keeps its own copy of the name
    EXPECT_EQ(0u, named.GetTemplateId());
    EXPECT_STREQ(L"IDD_NAMED", named.GetTemplateName());

    EXPECT_EQ(0, EndDialog(nullptr, IDOK));   // no such dialog
}
