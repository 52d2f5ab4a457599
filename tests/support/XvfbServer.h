// An X server of the test's own: Xvfb on a free display (it names the
// display through -displayfd), a connection to it for looking at the
// screen, and the pointer and keyboard worked through XTEST (xdotool).
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace displaytest {

// How long a state (a window mapped, a picture drawn, a program ended) may
// take at most: the tests wait for states, never for a time, so this only
// bounds a run that went wrong, and is long enough for a sanitizer build on a
// machine loaded with every other build and test.
constexpr double kPatience = 120;

// Waits up to `seconds` for `ready`, looking every 20 ms.
inline bool WaitFor(const std::function<bool()>& ready, double seconds = kPatience)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until) {
        if (ready()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return ready();
}

// A program started with the environment plus DISPLAY, its output in files.
class Process {
public:
    Process() = default;
    ~Process() { Kill(); }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Start(const std::vector<std::string>& args, const std::string& display, const std::string& out,
               const std::string& err)
    {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "DISPLAY=", 8) != 0) env.push_back(*e);
        env.push_back("DISPLAY=" + display);
        std::vector<char*> argv, envp;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int spawned = posix_spawn(&m_pid, argv[0], &files, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&files);
        if (spawned != 0) m_pid = -1;
        return m_pid > 0;
    }
    // The exit status once it ended within `seconds`; -1 when it did not end
    // or did not exit by itself.
    int Wait(double seconds)
    {
        if (m_pid <= 0) return m_status;
        int status = 0;
        const bool ended = WaitFor([&] { return waitpid(m_pid, &status, WNOHANG) == m_pid; }, seconds);
        if (!ended) return -1;
        m_pid = -1;
        m_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return m_status;
    }
    void Kill()
    {
        if (m_pid <= 0) return;
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
    pid_t Pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    int m_status = -1;
};

class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer() { Stop(); }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Starts Xvfb with one screen of the size; the reason in `why` when it cannot.
    bool Start(int width, int height, std::string& why)
    {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) {
            why = "no pipe";
            return false;
        }
        const std::string fd = std::to_string(pipeFds[1]);
        const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        std::vector<std::string> args = {"Xvfb", "-displayfd", fd, "-screen", "0", screen, "-nolisten", "tcp",
                                         "-noreset"};
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addclose(&files, pipeFds[0]);
        // Not the test's output either: a server that outlives a test killed
        // before it could stop it would hold ctest's pipe open, and the run
        // would wait for ever.
        posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
        const int spawned = posix_spawnp(&m_pid, "Xvfb", &files, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&files);
        close(pipeFds[1]);
        if (spawned != 0) {
            close(pipeFds[0]);
            m_pid = -1;
            why = "Xvfb cannot be run (is the xvfb package installed?)";
            return false;
        }
        std::string number;
        pollfd wait = {pipeFds[0], POLLIN, 0};
        char c = 0;
        while (poll(&wait, 1, static_cast<int>(kPatience * 1000)) > 0 && read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
        close(pipeFds[0]);
        if (number.empty()) {
            why = "Xvfb did not name its display";
            Stop();
            return false;
        }
        m_display = ":" + number;
        m_connection = xcb_connect(m_display.c_str(), nullptr);
        if (xcb_connection_has_error(m_connection)) {
            why = "Xvfb's display " + m_display + " refuses connections";
            Stop();
            return false;
        }
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        return true;
    }
    // Kills the server at once (as a crash or a lost connection would).
    void Stop()
    {
        if (m_connection) xcb_disconnect(m_connection);
        m_connection = nullptr;
        if (m_pid <= 0) return;
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

    const std::string& Display() const { return m_display; }

    // The screen's pixels in a rectangle, 0xRRGGBB row by row.
    std::vector<uint32_t> Grab(int x, int y, int width, int height)
    {
        std::vector<uint32_t> pixels;
        xcb_get_image_reply_t* image = xcb_get_image_reply(
            m_connection,
            xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root, static_cast<int16_t>(x),
                          static_cast<int16_t>(y), static_cast<uint16_t>(width), static_cast<uint16_t>(height), ~0u),
            nullptr);
        if (!image) return pixels;
        const auto* data = reinterpret_cast<const uint32_t*>(xcb_get_image_data(image));
        const int count = xcb_get_image_data_length(image) / 4;
        pixels.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) pixels.push_back(data[i] & 0xFFFFFF);
        std::free(image);
        return pixels;
    }

    // The mapped top-level windows on the screen, bottom first; with
    // `framed`, only those a window manager would frame (not the
    // override-redirect pop-ups of the clients).
    std::vector<xcb_window_t> MappedWindows(bool framed = false)
    {
        std::vector<xcb_window_t> mapped;
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr);
        if (!tree) return mapped;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
                m_connection, xcb_get_window_attributes(m_connection, children[i]), nullptr);
            if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
                (!framed || !attributes->override_redirect))
                mapped.push_back(children[i]);
            std::free(attributes);
        }
        std::free(tree);
        return mapped;
    }

    // A window's place on the screen (its top left) and its size; for a
    // window in a manager's frame, its place in the frame.
    bool Geometry(xcb_window_t window, int& x, int& y, int& width, int& height)
    {
        xcb_get_geometry_reply_t* geometry =
            xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr);
        if (!geometry) return false;
        x = geometry->x;
        y = geometry->y;
        width = geometry->width;
        height = geometry->height;
        std::free(geometry);
        return true;
    }
    bool Origin(xcb_window_t window, int& x, int& y)
    {
        int width = 0, height = 0;
        return Geometry(window, x, y, width, height);
    }
    // Where a window's top left is on the screen, wherever it is in the tree.
    void ScreenOrigin(xcb_window_t window, int& x, int& y)
    {
        xcb_translate_coordinates_reply_t* at = xcb_translate_coordinates_reply(
            m_connection, xcb_translate_coordinates(m_connection, window, m_root, 0, 0), nullptr);
        x = at ? at->dst_x : 0;
        y = at ? at->dst_y : 0;
        std::free(at);
    }
    // The child of the root that holds `window` (a manager's frame around it); 0 when none does.
    xcb_window_t TopOf(xcb_window_t window)
    {
        for (int depth = 0; window && depth < 16; ++depth) {
            xcb_query_tree_reply_t* tree =
                xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr);
            const xcb_window_t parent = tree ? tree->parent : 0;
            std::free(tree);
            if (parent == m_root) return window;
            window = parent;
        }
        return 0;
    }
    // The child of the root under a point of the screen, the pointer moved there.
    xcb_window_t TopAt(int x, int y)
    {
        if (!Input({"mousemove", std::to_string(x), std::to_string(y)})) return 0;
        xcb_query_pointer_reply_t* pointer =
            xcb_query_pointer_reply(m_connection, xcb_query_pointer(m_connection, m_root), nullptr);
        const xcb_window_t child = pointer ? pointer->child : 0;
        std::free(pointer);
        return child;
    }
    // Viewable windows whose class (WM_CLASS) starts with `windowClass`,
    // anywhere under `under` (the root for 0); a matching window's own
    // children are not looked into.
    std::vector<xcb_window_t> WindowsOfClass(const std::string& windowClass, xcb_window_t under = 0)
    {
        if (!under) under = m_root;
        std::vector<xcb_window_t> found;
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, under), nullptr);
        if (!tree) return found;
        const xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
                m_connection, xcb_get_window_attributes(m_connection, children[i]), nullptr);
            const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
            std::free(attributes);
            if (!viewable) continue;
            const uint32_t words = static_cast<uint32_t>((windowClass.size() + 3) / 4);
            xcb_get_property_reply_t* wmClass = xcb_get_property_reply(
                m_connection,
                xcb_get_property(m_connection, 0, children[i], XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, words), nullptr);
            const int length = wmClass ? xcb_get_property_value_length(wmClass) : 0;
            const bool matches = length >= static_cast<int>(windowClass.size()) &&
                                 std::string(static_cast<const char*>(xcb_get_property_value(wmClass)),
                                             windowClass.size()) == windowClass;
            std::free(wmClass);
            if (matches) {
                found.push_back(children[i]);
                continue;
            }
            const std::vector<xcb_window_t> deeper = WindowsOfClass(windowClass, children[i]);
            found.insert(found.end(), deeper.begin(), deeper.end());
        }
        std::free(tree);
        return found;
    }
    // The window a window names as its owner to the manager; 0 for none.
    xcb_window_t TransientFor(xcb_window_t window)
    {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 0, 1), nullptr);
        xcb_window_t owner = 0;
        if (reply && xcb_get_property_value_length(reply) == 4)
            owner = *static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
        std::free(reply);
        return owner;
    }
    // The window that has the keyboard's focus.
    xcb_window_t InputFocus()
    {
        xcb_get_input_focus_reply_t* reply =
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr);
        const xcb_window_t focus = reply ? reply->focus : 0;
        std::free(reply);
        return focus;
    }
    // How many desktops a manager keeps (_NET_NUMBER_OF_DESKTOPS); 0 before one says.
    int Desktops()
    {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, m_root, Atom("_NET_NUMBER_OF_DESKTOPS"), XCB_ATOM_CARDINAL, 0, 1),
            nullptr);
        int count = 0;
        if (reply && xcb_get_property_value_length(reply) == 4)
            count = static_cast<int>(*static_cast<const uint32_t*>(xcb_get_property_value(reply)));
        std::free(reply);
        return count;
    }
    // What a window manager with a panel announces: the part of the desktop left to windows.
    void AnnounceWorkArea(uint32_t x, uint32_t y, uint32_t width, uint32_t height)
    {
        const uint32_t area[4] = {x, y, width, height};
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_root, Atom("_NET_WORKAREA"), XCB_ATOM_CARDINAL, 32,
                            4, area);
        xcb_flush(m_connection);
    }

    // Whether the window has a cursor of its own (XTEST's comparison with
    // None), and whether the pointer shows it now (with the current cursor).
    bool HasOwnCursor(xcb_window_t window) { return !SameCursor(window, XCB_NONE); }
    bool ShowsItsCursor(xcb_window_t window) { return SameCursor(window, 1); }

    // What a window manager sends when its close button is pressed.
    void AskToClose(xcb_window_t window)
    {
        xcb_client_message_event_t message = {};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = Atom("WM_PROTOCOLS");
        message.data.data32[0] = Atom("WM_DELETE_WINDOW");
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
        xcb_flush(m_connection);
    }

    // Whether a client owns the selection `name` (an input method announces itself so).
    bool SelectionOwned(const char* name)
    {
        xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(
            m_connection, xcb_get_selection_owner(m_connection, Atom(name)), nullptr);
        const bool owned = reply && reply->owner != XCB_NONE;
        std::free(reply);
        return owned;
    }

    // XTEST input through xdotool ("mousemove 10 20", "click 1", "key Escape", "type abc").
    bool Input(const std::vector<std::string>& args)
    {
        Process xdotool;
        std::vector<std::string> command = {"/usr/bin/xdotool"};
        command.insert(command.end(), args.begin(), args.end());
        return xdotool.Start(command, m_display, "/dev/null", "/dev/null") && xdotool.Wait(kPatience) == 0;
    }

private:
    bool SameCursor(xcb_window_t window, xcb_cursor_t cursor)
    {
        xcb_test_compare_cursor_reply_t* reply =
            xcb_test_compare_cursor_reply(m_connection, xcb_test_compare_cursor(m_connection, window, cursor), nullptr);
        const bool same = reply && reply->same;
        std::free(reply);
        return same;
    }
    xcb_atom_t Atom(const char* name)
    {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : 0;
        std::free(reply);
        return atom;
    }

    pid_t m_pid = -1;
    std::string m_display;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
};

}  // namespace displaytest
