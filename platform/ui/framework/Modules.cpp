#include "platform/ui/framework/Modules.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/ui/framework/WinApp.h"

namespace platform::ui {

namespace {

enum class AppState { Registered, Running, Stopped, Failed };

struct AppEntry {
    CWinApp* app;
    AppState state;
    unsigned long serial;   // registration order; never reused
};

// Start and stop call into application code, which may register or load
// more modules: the list is only touched under the lock, never while an
// application's virtual function runs.
struct AppList {
    std::recursive_mutex lock;
    std::vector<AppEntry> entries;
    unsigned long nextSerial = 1;
};

AppList& Apps()
{
    // Never destroyed: applications in static storage unregister from
    // destructors that may run after this file's own would have.
    static AppList* list = new AppList;
    return *list;
}

AppEntry* FindEntry(AppList& list, const CWinApp* app)
{
    for (AppEntry& entry : list.entries)
        if (entry.app == app) return &entry;
    return nullptr;
}

struct SerialRange {
    unsigned long first;
    unsigned long last;   // exclusive
    bool Holds(unsigned long serial) const { return serial >= first && serial < last; }
};

const SerialRange kEveryApplication = {0, ~0ul};

// The next application in `from` state within `range`, in registration order
// (reverse order when `backwards`), switched to `to` before it is returned.
CWinApp* TakeNext(AppState from, AppState to, SerialRange range, bool backwards)
{
    AppList& list = Apps();
    std::lock_guard<std::recursive_mutex> guard(list.lock);
    auto take = [&](AppEntry& entry) -> CWinApp* {
        if (entry.state != from || !range.Holds(entry.serial)) return nullptr;
        entry.state = to;
        return entry.app;
    };
    if (backwards) {
        for (auto it = list.entries.rbegin(); it != list.entries.rend(); ++it)
            if (CWinApp* app = take(*it)) return app;
        return nullptr;
    }
    for (AppEntry& entry : list.entries)
        if (CWinApp* app = take(entry)) return app;
    return nullptr;
}

// Runs ExitInstance of the running applications in `range`, newest first;
// the result of `mainApp`'s, or 0.
int Stop(SerialRange range, const CWinApp* mainApp)
{
    int mainResult = 0;
    while (CWinApp* app = TakeNext(AppState::Running, AppState::Stopped, range, true)) {
        int result = app->ExitInstance();
        if (app == mainApp) mainResult = result;
    }
    return mainResult;
}

void SetState(CWinApp* app, AppState state)
{
    AppList& list = Apps();
    std::lock_guard<std::recursive_mutex> guard(list.lock);
    if (AppEntry* entry = FindEntry(list, app)) entry->state = state;
}

}  // namespace

BOOL StartModules()
{
    BOOL allStarted = TRUE;
    // Marked running before InitInstance runs, so that a nested call (an
    // InitInstance loading another library) does not start it twice.
    while (CWinApp* app = TakeNext(AppState::Registered, AppState::Running, kEveryApplication, false)) {
        if (app->StartInstance()) continue;
        SetState(app, AppState::Failed);
        allStarted = FALSE;
    }
    return allStarted;
}

int StopModules()
{
    return Stop(kEveryApplication, AfxGetApp());
}

int RegisteredApplicationCount()
{
    AppList& list = Apps();
    std::lock_guard<std::recursive_mutex> guard(list.lock);
    return static_cast<int>(list.entries.size());
}

CWinApp* RegisteredApplication(int index)
{
    AppList& list = Apps();
    std::lock_guard<std::recursive_mutex> guard(list.lock);
    if (index < 0 || index >= static_cast<int>(list.entries.size())) return nullptr;
    return list.entries[index].app;
}

BOOL IsApplicationRunning(const CWinApp* app)
{
    AppList& list = Apps();
    std::lock_guard<std::recursive_mutex> guard(list.lock);
    const AppEntry* entry = FindEntry(list, app);
    return entry && entry->state == AppState::Running;
}

struct IsolatedApplicationList::Saved {
    std::vector<AppEntry> entries;
};

IsolatedApplicationList::IsolatedApplicationList() : m_saved(std::make_unique<Saved>())
{
    AppList& list = Apps();
    std::lock_guard<std::recursive_mutex> guard(list.lock);
    m_saved->entries.swap(list.entries);
}

IsolatedApplicationList::~IsolatedApplicationList()
{
    AppList& list = Apps();
    std::lock_guard<std::recursive_mutex> guard(list.lock);
    m_saved->entries.insert(m_saved->entries.end(), list.entries.begin(), list.entries.end());
    m_saved->entries.swap(list.entries);
}

namespace detail {

void RegisterApplication(CWinApp* app)
{
    if (!app) return;
    AppList& list = Apps();
    std::lock_guard<std::recursive_mutex> guard(list.lock);
    if (FindEntry(list, app)) return;
    list.entries.push_back(AppEntry{app, AppState::Registered, list.nextSerial++});
}

void UnregisterApplication(CWinApp* app)
{
    AppList& list = Apps();
    std::lock_guard<std::recursive_mutex> guard(list.lock);
    list.entries.erase(std::remove_if(list.entries.begin(), list.entries.end(),
                                      [app](const AppEntry& entry) { return entry.app == app; }),
                       list.entries.end());
}

unsigned long RegistrationSerial()
{
    AppList& list = Apps();
    std::lock_guard<std::recursive_mutex> guard(list.lock);
    return list.nextSerial;
}

int FailedApplications(unsigned long first, unsigned long last)
{
    const SerialRange range = {first, last};
    AppList& list = Apps();
    std::lock_guard<std::recursive_mutex> guard(list.lock);
    return static_cast<int>(std::count_if(list.entries.begin(), list.entries.end(), [range](const AppEntry& entry) {
        return range.Holds(entry.serial) && entry.state == AppState::Failed;
    }));
}

void StopApplications(unsigned long first, unsigned long last)
{
    Stop(SerialRange{first, last}, nullptr);
}

}  // namespace detail

}  // namespace platform::ui
