#include "platform/ui/windowing/Message.h"

#include <algorithm>
#include <deque>
#include <map>
#include <vector>

#include "platform/base/Kernel.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowGeometry.h"
#include "platform/ui/windowing/WindowManager.h"

namespace platform::ui {

namespace {

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT elapse;        // milliseconds
    TIMERPROC proc;
    uint64_t nextDue;   // desktop clock, milliseconds
};

struct Queue {
    std::deque<MSG> posted;
    std::deque<MSG> input;
    bool quitPosted = false;
    int quitCode = 0;
    bool quitReceived = false;   // WM_QUIT was taken
    int quitReceivedCode = 0;
    std::vector<Timer> timers;
    UINT_PTR nextThreadTimerId = 0x7FFF0000;   // ids of timers without a window
    DWORD lastTime = 0;
    POINT lastPos = {0, 0};
    int sendDepth = 0;
};

Queue& TheQueue()
{
    static Queue* queue = new Queue;
    return *queue;
}

bool InRange(UINT message, UINT first, UINT last)
{
    if (first == 0 && last == 0) return true;
    return message >= first && message <= last;
}

// The window filter of PeekMessage: null takes every message, (HWND)-1
// only those without a window, any other only that window's.
bool MatchesWindow(HWND messageWindow, HWND filter)
{
    if (!filter) return true;
    if (filter == reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1))) return messageWindow == nullptr;
    return messageWindow == filter;
}

MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg = {hwnd, message, wParam, lParam, platform::ui::ClockNow(), {0, 0}};
    GetCursorPos(&msg.pt);
    return msg;
}

// Takes the first matching message of a queue; messages for windows that
// have gone since are dropped on the way, as nothing could dispatch them.
bool TakeFrom(std::deque<MSG>& queue, LPMSG out, HWND filter, UINT first, UINT last, bool remove, bool input)
{
    WindowManager& manager = WindowManager::Instance();
    for (size_t i = 0; i < queue.size();) {
        const MSG msg = queue[i];
        if (msg.hwnd && !manager.Find(msg.hwnd)) {
            queue.erase(queue.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        if (!MatchesWindow(msg.hwnd, filter) || !InRange(msg.message, first, last)) {
            ++i;
            continue;
        }
        if (!remove) {
            *out = msg;
            return true;
        }
        queue.erase(queue.begin() + static_cast<std::ptrdiff_t>(i));
        MSG taken = msg;
        // Input is routed when it is taken, as Windows does: the key state,
        // the cursor and WM_SETCURSOR follow the message being read.
        if (input && !detail::TakeInput(taken)) continue;
        *out = taken;
        return true;
    }
    return false;
}

bool TakeTimer(LPMSG out, HWND filter, UINT first, UINT last, bool remove)
{
    if (!InRange(WM_TIMER, first, last)) return false;
    Queue& queue = TheQueue();
    const uint64_t now = platform::ui::ClockTicks();
    Timer* due = nullptr;
    for (Timer& timer : queue.timers) {
        if (timer.nextDue > now || !MatchesWindow(timer.hwnd, filter)) continue;
        if (!due || timer.nextDue < due->nextDue) due = &timer;
    }
    if (!due) return false;
    *out = MakeMessage(due->hwnd, WM_TIMER, due->id, reinterpret_cast<LPARAM>(due->proc));
    // A timer that was late fires once, and its period starts again now.
    if (remove) due->nextDue = now + due->elapse;
    return true;
}

bool TakeQuit(LPMSG out, HWND filter, UINT first, UINT last, bool remove)
{
    Queue& queue = TheQueue();
    if (!queue.quitPosted || !InRange(WM_QUIT, first, last)) return false;
    if (filter && filter != reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1))) return false;
    *out = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0);
    if (remove) {
        queue.quitPosted = false;
        queue.quitReceived = true;
        queue.quitReceivedCode = queue.quitCode;
    }
    return true;
}

bool TakePaint(LPMSG out, HWND filter, UINT first, UINT last)
{
    if (!InRange(WM_PAINT, first, last)) return false;
    if (filter == reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1))) return false;
    HWND hwnd = detail::NextWindowToPaint(filter);
    if (!hwnd) return false;
    *out = MakeMessage(hwnd, WM_PAINT, 0, 0);
    return true;
}

const Timer* FindTimer(HWND hwnd, UINT_PTR id)
{
    for (const Timer& timer : TheQueue().timers)
        if (timer.hwnd == hwnd && timer.id == id) return &timer;
    return nullptr;
}

}  // namespace

bool QuitReceived()
{
    return TheQueue().quitReceived;
}

int QuitExitCode()
{
    return TheQueue().quitReceivedCode;
}

void ResetMessageQueue()
{
    Queue& queue = TheQueue();
    queue.posted.clear();
    queue.input.clear();
    queue.quitPosted = false;
    queue.quitReceived = false;
    queue.quitCode = queue.quitReceivedCode = 0;
    queue.timers.clear();
}

int QueuedMessageCount()
{
    Queue& queue = TheQueue();
    return static_cast<int>(queue.posted.size() + queue.input.size());
}

namespace detail {

void PostInput(const MSG& msg)
{
    TheQueue().input.push_back(msg);
}

void ForgetWindowMessages(HWND hwnd)
{
    auto& timers = TheQueue().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(), [hwnd](const Timer& timer) { return timer.hwnd == hwnd; }),
                 timers.end());
}

bool EarliestTimerDue(uint64_t& due)
{
    const auto& timers = TheQueue().timers;
    if (timers.empty()) return false;
    due = std::min_element(timers.begin(), timers.end(),
                           [](const Timer& a, const Timer& b) { return a.nextDue < b.nextDue; })
              ->nextDue;
    return true;
}

}  // namespace detail

}  // namespace platform::ui

using platform::ui::TheQueue;
using platform::ui::WindowManager;

LRESULT CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (!lpPrevWndFunc) return 0;
    platform::ui::Queue& queue = TheQueue();
    if (queue.sendDepth >= platform::ui::kMaxSendDepth) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    ++queue.sendDepth;
    struct DepthGuard {
        ~DepthGuard() { --TheQueue().sendDepth; }
    } guard;
    return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}

LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    platform::ui::WindowState* window = platform::ui::LookupWindow(hWnd);
    if (!window) return 0;
    return CallWindowProcW(window->wndProc, hWnd, Msg, wParam, lParam);
}

BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (hWnd && !platform::ui::LookupWindow(hWnd)) return FALSE;
    TheQueue().posted.push_back(platform::ui::MakeMessage(hWnd, Msg, wParam, lParam));
    return TRUE;
}

void PostQuitMessage(int nExitCode)
{
    platform::ui::Queue& queue = TheQueue();
    queue.quitPosted = true;
    queue.quitCode = nExitCode;
}

BOOL PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg)
{
    if (!lpMsg) return FALSE;
    if (hWnd && hWnd != reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1)) && !platform::ui::LookupWindow(hWnd))
        return FALSE;
    platform::ui::Queue& queue = TheQueue();
    const bool remove = (wRemoveMsg & PM_REMOVE) != 0;
    MSG msg = {};
    const bool found =
        platform::ui::TakeFrom(queue.posted, &msg, hWnd, wMsgFilterMin, wMsgFilterMax, remove, false) ||
        platform::ui::TakeFrom(queue.input, &msg, hWnd, wMsgFilterMin, wMsgFilterMax, remove, true) ||
        platform::ui::TakeQuit(&msg, hWnd, wMsgFilterMin, wMsgFilterMax, remove) ||
        platform::ui::TakePaint(&msg, hWnd, wMsgFilterMin, wMsgFilterMax) ||
        platform::ui::TakeTimer(&msg, hWnd, wMsgFilterMin, wMsgFilterMax, remove);
    if (!found) return FALSE;
    *lpMsg = msg;
    if (remove) {
        queue.lastTime = msg.time;
        queue.lastPos = msg.pt;
    }
    return TRUE;
}

BOOL GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax)
{
    if (!lpMsg) return -1;
    if (!PeekMessageW(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, PM_REMOVE)) {
        *lpMsg = MSG{};
        return -1;
    }
    return lpMsg->message == WM_QUIT ? FALSE : TRUE;
}


BOOL TranslateMessage(const MSG* lpMsg)
{
    if (!lpMsg) return FALSE;
    if (lpMsg->message != WM_KEYDOWN && lpMsg->message != WM_SYSKEYDOWN) return FALSE;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    wchar_t ch = platform::ui::detail::CharacterOfKey(static_cast<UINT>(lpMsg->wParam), shift);
    // Control with a letter types the control character, as on Windows.
    if (control && lpMsg->wParam >= 'A' && lpMsg->wParam <= 'Z') ch = static_cast<wchar_t>(lpMsg->wParam - 'A' + 1);
    if (!ch) return FALSE;
    const UINT charMessage = lpMsg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    MSG charMsg = *lpMsg;
    charMsg.message = charMessage;
    charMsg.wParam = static_cast<WPARAM>(ch);
    // Posted, as Windows does: the character comes before any later input.
    TheQueue().posted.push_back(charMsg);
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* lpMsg)
{
    if (!lpMsg) return 0;
    if (lpMsg->message == WM_TIMER && lpMsg->lParam) {
        // Only a timer that exists calls its procedure: a forged WM_TIMER
        // must not make us jump to an arbitrary address.
        const platform::ui::Timer* timer = platform::ui::FindTimer(lpMsg->hwnd, lpMsg->wParam);
        if (!timer || reinterpret_cast<LPARAM>(timer->proc) != lpMsg->lParam) return 0;
        TIMERPROC proc = timer->proc;
        proc(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, lpMsg->time);
        return 0;
    }
    if (!lpMsg->hwnd) return 0;
    platform::ui::WindowState* window = platform::ui::LookupWindow(lpMsg->hwnd);
    if (!window) return 0;
    const LRESULT result = CallWindowProcW(window->wndProc, lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
    // A window that does not paint still gets its frame and background.
    if (lpMsg->message == WM_PAINT && IsWindow(lpMsg->hwnd))
        RedrawWindow(lpMsg->hwnd, nullptr, nullptr, RDW_NOINTERNALPAINT | RDW_ERASENOW | RDW_NOCHILDREN);
    return result;
}

BOOL InSendMessage()
{
    return FALSE;   // one thread: no message ever comes from another
}

DWORD GetMessageTime()
{
    return TheQueue().lastTime;
}

DWORD GetMessagePos()
{
    const POINT pos = TheQueue().lastPos;
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(pos.x), static_cast<WORD>(pos.y)));
}

UINT RegisterWindowMessageW(LPCWSTR lpString)
{
    if (!lpString || !*lpString) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    static auto* names = new std::map<CString, UINT>;
    CString key(lpString);
    key.MakeLower();
    auto found = names->find(key);
    if (found != names->end()) return found->second;
    const UINT message = 0xC000u + static_cast<UINT>(names->size());
    if (message > 0xFFFFu) return 0;
    (*names)[key] = message;
    return message;
}

UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    if (hWnd && !platform::ui::LookupWindow(hWnd)) return 0;
    platform::ui::Queue& queue = TheQueue();
    const UINT elapse = std::clamp<UINT>(uElapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    UINT_PTR id = nIDEvent;
    if (!hWnd && !platform::ui::FindTimer(nullptr, nIDEvent)) id = ++queue.nextThreadTimerId;
    const uint64_t due = platform::ui::ClockTicks() + elapse;
    for (platform::ui::Timer& timer : queue.timers) {
        if (timer.hwnd != hWnd || timer.id != id) continue;
        timer.elapse = elapse;
        timer.proc = lpTimerFunc;
        timer.nextDue = due;
        return hWnd && id == 0 ? 1 : id;
    }
    queue.timers.push_back(platform::ui::Timer{hWnd, id, elapse, lpTimerFunc, due});
    return hWnd && id == 0 ? 1 : id;
}

BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    auto& timers = TheQueue().timers;
    auto found = std::find_if(timers.begin(), timers.end(), [&](const platform::ui::Timer& timer) {
        return timer.hwnd == hWnd && timer.id == uIDEvent;
    });
    if (found == timers.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    timers.erase(found);
    return TRUE;
}
