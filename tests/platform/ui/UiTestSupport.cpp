// The message log, the logged window class, image probes and the leak check.
#include "tests/platform/ui/UiTestSupport.h"

#include <cairo.h>

#include <cstring>

#include <algorithm>
#include <map>
#include <sstream>

#include "platform/ui/framework/Modules.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/ResourceScript.h"
#include "tests/support/TestSupport.h"
#include "platform/ui/windowing/WindowClass.h"

namespace uitest {

namespace {

const std::map<UINT, const char*>& Names()
{
    static const std::map<UINT, const char*> names = {
#define NAME(m) {m, #m}
        NAME(WM_CREATE), NAME(WM_DESTROY), NAME(WM_MOVE), NAME(WM_SIZE), NAME(WM_ACTIVATE), NAME(WM_SETFOCUS),
        NAME(WM_KILLFOCUS), NAME(WM_ENABLE), NAME(WM_SETREDRAW), NAME(WM_SETTEXT), NAME(WM_GETTEXT),
        NAME(WM_GETTEXTLENGTH), NAME(WM_PAINT), NAME(WM_CLOSE), NAME(WM_QUIT), NAME(WM_ERASEBKGND),
        NAME(WM_SHOWWINDOW), NAME(WM_CANCELMODE), NAME(WM_SETCURSOR), NAME(WM_MOUSEACTIVATE),
        NAME(WM_GETMINMAXINFO), NAME(WM_NEXTDLGCTL), NAME(WM_DRAWITEM), NAME(WM_SETFONT), NAME(WM_GETFONT),
        NAME(WM_WINDOWPOSCHANGING), NAME(WM_WINDOWPOSCHANGED), NAME(WM_NOTIFY), NAME(WM_STYLECHANGING),
        NAME(WM_STYLECHANGED), NAME(WM_NCCREATE), NAME(WM_NCDESTROY), NAME(WM_NCCALCSIZE), NAME(WM_NCHITTEST),
        NAME(WM_NCPAINT), NAME(WM_NCACTIVATE), NAME(WM_GETDLGCODE), NAME(WM_KEYDOWN), NAME(WM_KEYUP),
        NAME(WM_CHAR), NAME(WM_SYSCHAR), NAME(WM_SYSKEYDOWN), NAME(WM_SYSKEYUP), NAME(WM_INITDIALOG), NAME(WM_COMMAND),
        NAME(WM_SYSCOMMAND), NAME(WM_TIMER), NAME(WM_HSCROLL), NAME(WM_VSCROLL), NAME(WM_CTLCOLORBTN),
        NAME(WM_CTLCOLORDLG), NAME(WM_CTLCOLORSTATIC), NAME(WM_MOUSEMOVE), NAME(WM_LBUTTONDOWN),
        NAME(WM_LBUTTONUP), NAME(WM_LBUTTONDBLCLK), NAME(WM_RBUTTONDOWN), NAME(WM_RBUTTONUP),
        NAME(WM_MOUSEWHEEL), NAME(WM_PARENTNOTIFY), NAME(WM_CAPTURECHANGED), NAME(WM_MOUSEHOVER),
        NAME(WM_MOUSELEAVE), NAME(WM_NCMOUSEMOVE), NAME(WM_NCLBUTTONDOWN), NAME(WM_USER), NAME(BM_SETSTYLE),
        NAME(BM_CLICK), NAME(BM_SETCHECK), NAME(BM_SETSTATE), NAME(WM_CTLCOLOREDIT),
#undef NAME
    };
    return names;
}

LRESULT LoggingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* log = reinterpret_cast<MessageLog*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE && lParam) {
        log = static_cast<MessageLog*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(log));
    }
    if (log) log->Add(hwnd, message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

struct LoggedClassRegistrar {
    LoggedClassRegistrar()
    {
        WNDCLASSW wc = {CS_DBLCLKS, &LoggingProc, 0, 0, nullptr, nullptr, nullptr,
                        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)), nullptr, kLoggedClass};
        RegisterClassW(&wc);
        wc.style = 0;
        wc.lpszClassName = kLoggedClassNoDoubleClicks;
        RegisterClassW(&wc);
    }
};

std::string Describe(const LoggedMsg& entry, const MessageLog& log)
{
    std::ostringstream out;
    out << MessageName(entry.message) << " (" << log.WindowName(entry.hwnd) << ") w=" << entry.wParam
        << " l=" << entry.lParam;
    return out.str();
}

std::string Describe(const ExpectedMsg& entry)
{
    std::ostringstream out;
    out << MessageName(entry.message);
    if (entry.flags & kWindow) out << " (" << (entry.window ? entry.window : "?") << ")";
    if (entry.flags & kWParam) out << " w=" << entry.wParam;
    if (entry.flags & kLParam) out << " l=" << entry.lParam;
    if (entry.flags & kOptional) out << " [optional]";
    return out.str();
}

bool Matches(const ExpectedMsg& expected, const LoggedMsg& actual, const MessageLog& log)
{
    if (expected.message != actual.message) return false;
    if ((expected.flags & kWParam) && expected.wParam != actual.wParam) return false;
    if ((expected.flags & kLParam) && expected.lParam != actual.lParam) return false;
    if ((expected.flags & kWindow) && log.WindowName(actual.hwnd) != (expected.window ? expected.window : "")) return false;
    return true;
}

}  // namespace

const wchar_t kLoggedClass[] = L"MorvelanceLoggedWindow";
const wchar_t kLoggedClassNoDoubleClicks[] = L"MorvelanceLoggedWindowNoDoubleClicks";

static LoggedClassRegistrar s_registrar;

std::string MessageName(UINT message)
{
    auto found = Names().find(message);
    if (found != Names().end()) return found->second;
    std::ostringstream out;
    out << "0x" << std::hex << message;
    return out.str();
}

void MessageLog::Add(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (std::find(m_ignored.begin(), m_ignored.end(), message) != m_ignored.end()) return;
    m_entries.push_back(LoggedMsg{hwnd, message, wParam, lParam});
}

void MessageLog::Name(HWND hwnd, const std::string& name)
{
    m_names.emplace_back(hwnd, name);
}

std::vector<UINT> MessageLog::Messages() const
{
    std::vector<UINT> messages;
    for (const LoggedMsg& entry : m_entries) messages.push_back(entry.message);
    return messages;
}

int MessageLog::Count(UINT message, HWND hwnd) const
{
    return static_cast<int>(std::count_if(m_entries.begin(), m_entries.end(), [&](const LoggedMsg& entry) {
        return entry.message == message && (!hwnd || entry.hwnd == hwnd);
    }));
}

std::string MessageLog::WindowName(HWND hwnd) const
{
    for (const auto& name : m_names)
        if (name.first == hwnd) return name.second;
    std::ostringstream out;
    out << static_cast<void*>(hwnd);
    return out.str();
}

HWND MessageLog::WindowNamed(const std::string& name) const
{
    for (const auto& entry : m_names)
        if (entry.second == name) return entry.first;
    return nullptr;
}

::testing::AssertionResult CheckSequence(const MessageLog& log, const ExpectedMsg* expected, size_t count)
{
    const std::vector<LoggedMsg>& actual = log.Entries();
    size_t a = 0;
    size_t e = 0;
    bool ok = true;
    while (e < count) {
        if (a < actual.size() && Matches(expected[e], actual[a], log)) {
            ++a;
            ++e;
        } else if (expected[e].flags & kOptional) {
            ++e;
        } else {
            ok = false;
            break;
        }
    }
    if (ok && a == actual.size()) return ::testing::AssertionSuccess();
    std::ostringstream out;
    out << "message sequence differs at expected #" << e << ", actual #" << a << "\n";
    const size_t rows = std::max(count, actual.size());
    for (size_t i = 0; i < rows; ++i) {
        std::string left = i < count ? Describe(expected[i]) : "";
        left.resize(std::max<size_t>(left.size(), 44), ' ');
        out << "  " << left << " | " << (i < actual.size() ? Describe(actual[i], log) : "") << "\n";
    }
    return ::testing::AssertionFailure() << out.str();
}

HWND CreateLogged(MessageLog& log, DWORD style, int x, int y, int width, int height, HWND parent, UINT id,
                  DWORD exStyle, LPCWSTR text, LPCWSTR className)
{
    return CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, &log);
}

SavedImage::SavedImage(const std::string& path)
{
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return;
    }
    m_surface = reinterpret_cast<struct _cairo_surface*>(surface);
}

SavedImage::~SavedImage()
{
    if (m_surface) cairo_surface_destroy(reinterpret_cast<cairo_surface_t*>(m_surface));
}

int SavedImage::Width() const
{
    return m_surface ? cairo_image_surface_get_width(reinterpret_cast<cairo_surface_t*>(m_surface)) : 0;
}

int SavedImage::Height() const
{
    return m_surface ? cairo_image_surface_get_height(reinterpret_cast<cairo_surface_t*>(m_surface)) : 0;
}

COLORREF SavedImage::At(int x, int y) const
{
    if (!m_surface || x < 0 || y < 0 || x >= Width() || y >= Height()) return CLR_INVALID;
    cairo_surface_t* surface = reinterpret_cast<cairo_surface_t*>(m_surface);
    cairo_surface_flush(surface);
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + static_cast<size_t>(y) * cairo_image_surface_get_stride(surface);
    uint32_t pixel;
    std::memcpy(&pixel, row + static_cast<size_t>(x) * 4, 4);
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

const platform::ui::ResourceTable& TestResources()
{
    static platform::ui::ResourceTable* table = [] {
        auto* compiled = new platform::ui::ResourceTable;
        const std::string path = testsupport::SourceDir() + "/resources/dialogs/PlatformTests.rc";
        const platform::ui::ScriptResult result = platform::ui::CompileResourceScriptFile(path.c_str(), *compiled);
        EXPECT_TRUE(result.ok) << path << ":" << result.line << ":" << result.column << ": " << result.message;
        platform::ui::RegisterResources(platform::ui::ExecutableModule(), *compiled);
        return compiled;
    }();
    return *table;
}

void WindowLeakCheck::SetUp()
{
    platform::ui::Desktop::Reset();
    TestResources();
    // Stock cursors load on first use and stay: load them before counting.
    for (LPCWSTR cursor : {IDC_ARROW, IDC_IBEAM, IDC_SIZEWE, IDC_SIZENS, IDC_SIZENWSE, IDC_SIZENESW, IDC_HAND})
        LoadCursorW(nullptr, cursor);
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    m_nWindowsBefore = platform::ui::WindowManager::Instance().WindowCount();
    m_nGdiBefore = platform::gdi::LiveObjectCount();
}

void WindowLeakCheck::TearDown()
{
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    EXPECT_EQ(m_nWindowsBefore, platform::ui::WindowManager::Instance().WindowCount()) << "windows left behind";
    EXPECT_EQ(m_nGdiBefore, platform::gdi::LiveObjectCount()) << "GDI objects left behind";
    platform::ui::Desktop::Reset();
}

}  // namespace uitest
