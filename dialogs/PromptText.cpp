#include "dialogs/PromptText.h"

#include "core/Globals.h"
#include "platform/ui/framework/Modules.h"
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/framework/Wnd.h"

void SetPromptText(CWnd& dialog, int id, LPCWSTR text)
{
    if (g_pDlgFontNormal) dialog.SetFont(g_pDlgFontNormal);
    CWnd* control = dialog.GetDlgItem(id);
    if (!control) return;
    control->SetWindowText(text);
    if (g_pDlgFontNormal) control->SetFont(g_pDlgFontNormal);
}

void FillNameList(CWnd& dialog, int id, const CStringArray* names)
{
    CWnd* list = dialog.GetDlgItem(id);
    if (!list) return;
    if (g_pDlgFontNormal) list->SetFont(g_pDlgFontNormal);
    list->SendMessage(CB_RESETCONTENT);
    if (names) {
        for (INT_PTR i = 0; i < names->GetSize(); ++i)
            list->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(names->GetAt(i))));
        if (names->GetSize() == 1) list->EnableWindow(FALSE);
    }
    list->SendMessage(CB_SETCURSEL, 0);
}

void SetIconButtons(CWnd& dialog, int upId, int downId)
{
    const int icons[2][2] = {{upId, 139}, {downId, 140}};
    for (const auto& pair : icons) {
        LPCWSTR name = MAKEINTRESOURCE(pair[1]);
        const HINSTANCE module = AfxFindResourceHandle(name, RT_GROUP_ICON);
        auto icon = static_cast<HICON>(::LoadImageW(module, name, IMAGE_ICON, 0, 0, 0));
        if (icon) dialog.SendDlgItemMessage(pair[0], BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    }
}
