// A Japanese X input method on a test's own X server: fcitx5's XIM front end
// with Anthy, without a session bus, its settings in a folder of its own
// (Anthy beside the plain keyboard, Ctrl+Space between them). Windows use it
// while XMODIFIERS names it (`Named`). A test makes it as slow as it wants by
// holding it still (`Hold`): what it is sent meanwhile waits unanswered,
// exactly until it is let go of (`LetGo`).
#pragma once

#include <gtest/gtest.h>

#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/TestSupport.h"
#include "tests/support/XvfbServer.h"

namespace displaytest {

class InputMethodServer {
public:
    // Starts it on the server and waits until it has loaded Anthy.
    bool Start(XvfbServer& server)
    {
        std::filesystem::create_directories(m_home.File("config/fcitx5"));
        // Its run-time folder too, which it would otherwise make in the
        // shared temporary folder and leave there.
        std::filesystem::create_directories(m_home.File("runtime"));
        std::filesystem::permissions(m_home.File("runtime"), std::filesystem::perms::owner_all);
        m_home.Write("config/fcitx5/profile", "[Groups/0]\nName=Default\nDefault Layout=us\nDefaultIM=anthy\n\n"
                                              "[Groups/0/Items/0]\nName=keyboard-us\nLayout=\n\n"
                                              "[Groups/0/Items/1]\nName=anthy\nLayout=\n\n[GroupOrder]\n0=Default\n");
        const std::string log = m_home.File("fcitx5.log");
        return m_process.Start({"/usr/bin/env", "HOME=" + m_home.Path(), "XDG_CONFIG_HOME=" + m_home.File("config"),
                                "XDG_DATA_HOME=" + m_home.File("data"), "XDG_CACHE_HOME=" + m_home.File("cache"),
                                "XDG_RUNTIME_DIR=" + m_home.File("runtime"), "TMPDIR=" + m_home.Path(),
                                "/usr/bin/fcitx5",
                                "--disable=dbus,wayland,waylandim,notificationitem,dbusfrontend,ibusfrontend,"
                                "fcitx4frontend"},
                               server.Display(), "/dev/null", log) &&
               WaitFor([&] {
                   return server.SelectionOwned("@server=fcitx") &&
                          testsupport::ReadFileBytes(log).find("Loaded addon anthy") != std::string::npos;
               });
    }

    // Stops the method where it is (SIGSTOP) and lets it go on (SIGCONT).
    bool Hold() { return m_process.Pid() > 0 && kill(m_process.Pid(), SIGSTOP) == 0; }
    bool LetGo() { return m_process.Pid() > 0 && kill(m_process.Pid(), SIGCONT) == 0; }

    // XMODIFIERS names the method while this lives.
    struct Named {
        Named() { setenv("XMODIFIERS", "@im=fcitx", 1); }
        ~Named() { unsetenv("XMODIFIERS"); }
    };

private:
    testsupport::TempDir m_home;
    Process m_process;
};

}  // namespace displaytest

// Starts the input method inside a GoogleTest test: where it cannot start the
// test fails when CI is set and is skipped with a message elsewhere.
#define START_INPUT_METHOD(method, server)                                                             \
    do {                                                                                               \
        if (!(method).Start(server)) {                                                                 \
            if (std::getenv("CI")) FAIL() << "no X input method (fcitx5, fcitx5-anthy) for the test";  \
            GTEST_SKIP() << "no X input method (fcitx5, fcitx5-anthy) for the test";                   \
        }                                                                                              \
    } while (0)
