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
    platform::ui::ModalDriverScope d1([](CWnd& running) { static int n = 0; Desktop::SaveWindowImage(running.m_hWnd, n++ ? "/tmp/w_sheet.png" : "/tmp/w_dialog.png"); if (n == 2) { Desktop::Click(::GetDlgItem(running.m_hWnd, 0x3020), 60, 10); for (HWND c = ::GetWindow(running.m_hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) { RECT r; ::GetWindowRect(c, &r); printf("child id=%d vis=%d rect=%d,%d,%d,%d\n", ::GetDlgCtrlID(c), ::IsWindowVisible(c), (int)r.left, (int)r.top, (int)r.right, (int)r.bottom); } { RECT u; BOOL any = ::GetUpdateRect(running.m_hWnd, &u, FALSE); printf("sheet update %d: %d,%d,%d,%d\n", any, (int)u.left,(int)u.top,(int)u.right,(int)u.bottom); } Desktop::SaveWindowImage(running.m_hWnd, "/tmp/w_sheet2.png"); { HWND ok = ::GetDlgItem(running.m_hWnd, 1); ::InvalidateRect(ok, nullptr, TRUE); RECT u; ::GetUpdateRect(ok, &u, FALSE); printf("ok update %d,%d,%d,%d\n", (int)u.left,(int)u.top,(int)u.right,(int)u.bottom); } Desktop::SaveWindowImage(running.m_hWnd, "/tmp/w_sheet3.png"); } ::EndDialog(running.m_hWnd, 1); });
    dialog.DoModal();
    CPropertyPage p1(uitest::IDD_PAGE_GENERAL), p2(uitest::IDD_PAGE_DETAIL);
    CPropertySheet sheet(L"シート", &owner);
    sheet.AddPage(&p1); sheet.AddPage(&p2);
    sheet.DoModal();
    owner.DestroyWindow();
}
