// Application objects and module start-up: registration order, start and
// stop order, idempotence, failure handling, naming and module handles.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/MessageBox.h"
#include "platform/ui/framework/WinApp.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "platform/ui/windowing/Resources.h"
#include "tests/platform/ui/UiTestSupport.h"

using platform::ui::IsolatedApplicationList;
using platform::ui::StartModules;
using platform::ui::StopModules;

namespace {

// An application that writes its start and stop into a shared log.
class CLoggingApp : public CWinApp {
public:
    CLoggingApp(LPCTSTR name, std::vector<std::string>& log, BOOL initResult = TRUE, int exitCode = 0)
        : CWinApp(name), m_log(log), m_bInitResult(initResult), m_nExitCode(exitCode), m_tag(Narrow(name))
    {
    }

    BOOL InitInstance() override
    {
        m_log.push_back("init " + m_tag);
        return m_bInitResult;
    }

    int ExitInstance() override
    {
        m_log.push_back("exit " + m_tag);
        return m_nExitCode;
    }

private:
    static std::string Narrow(LPCTSTR name) { return name ? std::string(CStringA(name)) : std::string("?"); }

    std::vector<std::string>& m_log;
    BOOL m_bInitResult;
    int m_nExitCode;
    std::string m_tag;
};

// An application whose start-up brings in another one, as an InitInstance
// that loads a library does.
class CLoadingApp : public CLoggingApp {
public:
    CLoadingApp(std::vector<std::string>& log) : CLoggingApp(L"loader", log), m_log(log) {}
    ~CLoadingApp() override { delete m_pLoaded; }

    BOOL InitInstance() override
    {
        CLoggingApp::InitInstance();
        m_pLoaded = new CLoggingApp(L"loaded", m_log);
        return StartModules();
    }

private:
    std::vector<std::string>& m_log;
    CLoggingApp* m_pLoaded = nullptr;
};

int g_staticInExecutable = 0;

// Keeps the process-wide application title of other tests intact.
class AppTitleScope {
public:
    AppTitleScope() : m_saved(GetAfxAppTitle()) {}
    ~AppTitleScope() { SetAfxAppTitle(m_saved); }

private:
    CString m_saved;
};

}  // namespace

TEST(ModuleStartup, StartsInRegistrationOrderAndStopsInReverse)
{
    IsolatedApplicationList isolated;
    std::vector<std::string> log;
    CLoggingApp first(L"first", log);
    CLoggingApp second(L"second", log);

    EXPECT_TRUE(StartModules());
    EXPECT_EQ((std::vector<std::string>{"init first", "init second"}), log);
    EXPECT_TRUE(platform::ui::IsApplicationRunning(&first));
    EXPECT_TRUE(StartModules());   // nothing new to start
    EXPECT_EQ(2u, log.size());

    StopModules();
    EXPECT_EQ((std::vector<std::string>{"init first", "init second", "exit second", "exit first"}), log);
    EXPECT_FALSE(platform::ui::IsApplicationRunning(&first));
    StopModules();   // nothing left to stop
    StartModules();  // a stopped application does not start again
    EXPECT_EQ(4u, log.size());
}

TEST(ModuleStartup, LateRegistrationStartsOnTheNextCall)
{
    IsolatedApplicationList isolated;
    std::vector<std::string> log;
    CLoggingApp first(L"first", log);
    StartModules();
    {
        CLoggingApp late(L"late", log);
        StartModules();
        EXPECT_EQ((std::vector<std::string>{"init first", "init late"}), log);
        StopModules();
    }
    EXPECT_EQ((std::vector<std::string>{"init first", "init late", "exit late", "exit first"}), log);
    EXPECT_EQ(1, platform::ui::RegisteredApplicationCount());   // the destroyed one left the list
}

TEST(ModuleStartup, ApplicationRegisteredDuringStartUpIsStartedOnce)
{
    IsolatedApplicationList isolated;
    std::vector<std::string> log;
    CLoadingApp loader(log);
    EXPECT_TRUE(StartModules());
    EXPECT_EQ((std::vector<std::string>{"init loader", "init loaded"}), log);
    StopModules();
    EXPECT_EQ((std::vector<std::string>{"init loader", "init loaded", "exit loaded", "exit loader"}), log);
}

TEST(ModuleStartup, RefusedStartUpExitsAtOnceAndNeverAgain)
{
    IsolatedApplicationList isolated;
    std::vector<std::string> log;
    CLoggingApp good(L"good", log);
    CLoggingApp refusing(L"refusing", log, FALSE);
    CLoggingApp after(L"after", log);

    EXPECT_FALSE(StartModules());
    EXPECT_EQ((std::vector<std::string>{"init good", "init refusing", "exit refusing", "init after"}), log);
    EXPECT_FALSE(platform::ui::IsApplicationRunning(&refusing));
    EXPECT_TRUE(StartModules());   // the failure is not retried
    StopModules();
    EXPECT_EQ((std::vector<std::string>{"init good", "init refusing", "exit refusing", "init after", "exit after",
                                        "exit good"}),
              log);
}

TEST(ModuleStartup, StopReturnsTheMainApplicationsExitCode)
{
    IsolatedApplicationList isolated;
    std::vector<std::string> log;
    CLoggingApp mainApp(L"main", log, TRUE, 7);
    CLoggingApp other(L"other", log, TRUE, 3);
    EXPECT_EQ(&mainApp, AfxGetApp());
    StartModules();
    EXPECT_EQ(7, StopModules());
    EXPECT_EQ(0, StopModules());
}

TEST(ModuleStartup, MainApplicationIsTheFirstOneOfTheExecutable)
{
    IsolatedApplicationList isolated;
    EXPECT_EQ(nullptr, AfxGetApp());
    EXPECT_EQ(platform::ui::ExecutableModule(), AfxGetInstanceHandle());
    std::vector<std::string> log;
    CLoggingApp first(L"first", log);
    CLoggingApp second(L"second", log);
    EXPECT_EQ(&first, AfxGetApp());
    EXPECT_EQ(first.m_hInstance, AfxGetInstanceHandle());
    EXPECT_STREQ(L"first", AfxGetAppName());

    // An application of another module is the main one only when the
    // executable has none.
    IsolatedApplicationList inner;
    CLoggingApp library(L"library", log);
    library.m_hInstance = uitest::FakeModule(1);
    EXPECT_EQ(&library, AfxGetApp());
    CLoggingApp host(L"host", log);
    EXPECT_EQ(&host, AfxGetApp());
}

TEST(ModuleHandles, AddressesMapToTheImageThatHoldsThem)
{
    const HINSTANCE executable = platform::ui::ExecutableModule();
    ASSERT_NE(nullptr, executable);
    EXPECT_EQ(executable, platform::ui::ModuleFromAddress(&g_staticInExecutable));
    EXPECT_EQ(executable, platform::ui::ModuleFromAddress(executable));   // a base maps to itself

    const HINSTANCE platformLibrary = platform::ui::ModuleFromAddress(reinterpret_cast<const void*>(&AfxGetApp));
    ASSERT_NE(nullptr, platformLibrary);
    EXPECT_NE(executable, platformLibrary);
    EXPECT_EQ(platformLibrary, platform::ui::ModuleFromAddress(reinterpret_cast<const void*>(&StartModules)));

    int onTheStack = 0;
    EXPECT_EQ(nullptr, platform::ui::ModuleFromAddress(&onTheStack));
    EXPECT_EQ(nullptr, platform::ui::ModuleFromAddress(nullptr));
}

TEST(ModuleHandles, ApplicationOutsideAnyImageBelongsToTheExecutable)
{
    IsolatedApplicationList isolated;
    auto heapApp = std::make_unique<CWinApp>(L"heap");
    EXPECT_EQ(platform::ui::ExecutableModule(), heapApp->m_hInstance);
}

TEST(ApplicationName, UnnamedApplicationTakesTheExecutablesStem)
{
    IsolatedApplicationList isolated;
    AppTitleScope title;
    CWinApp app;
    EXPECT_EQ(nullptr, app.m_pszAppName);
    StartModules();
    const std::wstring stem = std::filesystem::read_symlink("/proc/self/exe").stem().wstring();
    ASSERT_NE(nullptr, app.m_pszAppName);
    EXPECT_EQ(stem, std::wstring(app.m_pszAppName));
    EXPECT_EQ(stem, std::wstring(app.m_pszExeName));
    EXPECT_EQ(CString(stem), GetAfxAppTitle());
    StopModules();
}

TEST(ApplicationName, UnnamedApplicationPrefersItsTitleResource)
{
    IsolatedApplicationList isolated;
    platform::ui::IsolatedResourceList resources;
    AppTitleScope title;
    platform::ui::ResourceTable table;
    table.strings[AFX_IDS_APP_TITLE] = L"心電図レビュー";
    platform::ui::ResourceRegistrar registrar(platform::ui::ExecutableModule(), table);
    CWinApp app;
    StartModules();
    EXPECT_STREQ(L"心電図レビュー", app.m_pszAppName);
    StopModules();
}

TEST(ApplicationName, FrameworkMessageBoxIsCaptionedWithTheMainApplicationsTitle)
{
    IsolatedApplicationList isolated;
    AppTitleScope title;
    CWinApp mainApp(L"ECG Review");
    CWinApp secondApp(L"Second");
    StartModules();

    platform::ui::MessageBoxRecorder recorder;
    EXPECT_EQ(IDYES, AfxMessageBox(L"保存しますか?", MB_YESNO | MB_ICONQUESTION));
    ASSERT_EQ(1, recorder.Count());
    EXPECT_EQ(CString(L"ECG Review"), recorder.Last().caption);
    EXPECT_EQ(CString(L"保存しますか?"), recorder.Last().text);
    EXPECT_EQ(MB_YESNO | MB_ICONQUESTION, recorder.Last().type);
    EXPECT_TRUE(recorder.Last().framework);
    StopModules();
}

TEST(LibraryLoading, MissingLibraryLoadsNothing)
{
    EXPECT_EQ(nullptr, AfxLoadLibrary(L"NO_SUCH_LIBRARY_FOR_TESTS.DLL"));
    EXPECT_FALSE(AfxFreeLibrary(nullptr));
}
