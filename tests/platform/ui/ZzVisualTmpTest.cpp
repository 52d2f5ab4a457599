#include <gtest/gtest.h>
#include "platform/ui/Desktop.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ModalDriver.h"
#include "platform/ui/PropertySheet.h"
#include "tests/platform/ui/UiTestSupport.h"
using platform::ui::Desktop;
TEST(ZzVisual, Save)
{
    uitest::TestResources();
    CWnd owner;
    owner.CreateEx(0, uitest::kLoggedClass, L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr);
    CDialog dialog(uitest::IDD_TAB_ORDER, &owner);
    platform::ui::ModalDriverScope d1([](CWnd& running) { Desktop::SaveWindowImage(running.m_hWnd, "/tmp/w_dialog.png"); ::EndDialog(running.m_hWnd, 1); });
    dialog.DoModal();
    CPropertyPage p1(uitest::IDD_PAGE_GENERAL), p2(uitest::IDD_PAGE_DETAIL);
    CPropertySheet sheet(L"シート", &owner);
    sheet.AddPage(&p1); sheet.AddPage(&p2);
    sheet.DoModal();
    owner.DestroyWindow();
}
