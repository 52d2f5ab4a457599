#include "platform/ui/ModalDriver.h"

namespace platform::ui {

namespace {

ModalDriver& InstalledDriver()
{
    static ModalDriver driver;
    return driver;
}

}  // namespace

ModalDriver SetModalDriver(ModalDriver driver)
{
    ModalDriver previous = std::move(InstalledDriver());
    InstalledDriver() = std::move(driver);
    return previous;
}

BOOL RunModalDriver(CDialog& dialog)
{
    // A copy: the driver may install another one (for a nested dialog) while it runs.
    ModalDriver driver = InstalledDriver();
    if (!driver) return FALSE;
    driver(dialog);
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
