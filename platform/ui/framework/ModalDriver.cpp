#include "platform/ui/framework/ModalDriver.h"

#include "platform/ui/framework/Dialog.h"
#include "platform/ui/framework/PropertySheet.h"

namespace platform::ui {

namespace {

ModalDriver& InstalledDriver()
{
    static ModalDriver driver;
    return driver;
}

}  // namespace

namespace detail {

CDialog* AsDialog(CWnd& wnd)
{
    return DYNAMIC_DOWNCAST(CDialog, &wnd);
}

CPropertySheet* AsPropertySheet(CWnd& wnd)
{
    return DYNAMIC_DOWNCAST(CPropertySheet, &wnd);
}

}  // namespace detail

ModalDriver SetModalDriver(ModalDriver driver)
{
    ModalDriver previous = std::move(InstalledDriver());
    InstalledDriver() = std::move(driver);
    return previous;
}

BOOL RunModalDriver(CWnd& running)
{
    // A copy: the driver may install another one (for a nested dialog) while it runs.
    ModalDriver driver = InstalledDriver();
    if (!driver) return FALSE;
    driver(running);
    return TRUE;
}

ModalDriverScope::ModalDriverScope(ModalDriver driver) : m_previous(SetModalDriver(std::move(driver)))
{
}

ModalDriverScope::~ModalDriverScope()
{
    SetModalDriver(std::move(m_previous));
}

}  // namespace platform::ui
