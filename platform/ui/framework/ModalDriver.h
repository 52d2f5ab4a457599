// The modal driver: what stands in for the person in front of a modal
// dialog. DoModal (of CDialog and CPropertySheet, and DialogBox) creates
// the dialog, runs its initialisation, shows it and hands it to the
// installed driver, a test or host script that types, clicks and ends the
// dialog (EndDialog, a command such as IDOK, or Desktop input). The
// messages the driver leaves queued are dispatched before the dialog is
// looked at again; a dialog still open then ends with IDCANCEL. Without a
// driver nothing in the dialog changes and nothing waits for input, unless
// a display is attached: then the person in front of it runs the dialog.
#pragma once

#include <functional>
#include <type_traits>
#include <utility>

#include "platform/base/WinTypes.h"

class CWnd;
class CDialog;
class CPropertySheet;

namespace platform::ui {

namespace detail {
// The running window as the class a driver asks for; null when it is not one.
CDialog* AsDialog(CWnd& wnd);
CPropertySheet* AsPropertySheet(CWnd& wnd);
}  // namespace detail

// A driver takes the running window as CWnd&, or as CDialog& or
// CPropertySheet& to act only on windows of that class.
class ModalDriver {
public:
    ModalDriver() = default;
    ModalDriver(std::nullptr_t) {}
    template <class F, std::enable_if_t<std::is_invocable_v<F&, CWnd&>, int> = 0>
    ModalDriver(F function) : m_function(std::move(function))
    {
    }
    template <class F, std::enable_if_t<!std::is_invocable_v<F&, CWnd&> && std::is_invocable_v<F&, CDialog&>, int> = 0>
    ModalDriver(F function)
        : m_function([function](CWnd& wnd) mutable {
              if (CDialog* dialog = detail::AsDialog(wnd)) function(*dialog);
          })
    {
    }
    template <class F, std::enable_if_t<!std::is_invocable_v<F&, CWnd&> && !std::is_invocable_v<F&, CDialog&> &&
                                            std::is_invocable_v<F&, CPropertySheet&>,
                                        int> = 0>
    ModalDriver(F function)
        : m_function([function](CWnd& wnd) mutable {
              if (CPropertySheet* sheet = detail::AsPropertySheet(wnd)) function(*sheet);
          })
    {
    }

    explicit operator bool() const { return static_cast<bool>(m_function); }
    void operator()(CWnd& wnd) const { m_function(wnd); }

private:
    std::function<void(CWnd&)> m_function;
};

// Installs a driver and returns the previous one; an empty driver removes it.
ModalDriver SetModalDriver(ModalDriver driver);

// Hands the running window to the installed driver; FALSE when there is none.
BOOL RunModalDriver(CWnd& running);

// Installs a driver for the life of a scope and restores the previous one.
class ModalDriverScope {
public:
    explicit ModalDriverScope(ModalDriver driver);
    ~ModalDriverScope();
    ModalDriverScope(const ModalDriverScope&) = delete;
    ModalDriverScope& operator=(const ModalDriverScope&) = delete;

private:
    ModalDriver m_previous;
};

}  // namespace platform::ui
