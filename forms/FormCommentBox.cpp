#include "forms/FormCommentBox.h"

#include <algorithm>

#include "controls/MultiEdit.h"
#include "core/Globals.h"
#include "platform/ui/framework/ScrollView.h"

void CreateCommentBox(CWnd& form, CMultiEdit& comment, CWnd& templateEdit, UINT uID, int nHeight)
{
    if (comment.m_hWnd || !templateEdit.m_hWnd) return;
    CRect place;
    templateEdit.GetWindowRect(&place);
    form.ScreenToClient(&place);
    if (nHeight > 0) place.bottom = place.top + nHeight;
    comment.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP, place, &form, uID);
    comment.SetWindowPos(&templateEdit, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    templateEdit.ShowWindow(SW_HIDE);
}

void StretchCommentBox(CScrollView& form, CMultiEdit& comment)
{
    if (!comment.m_hWnd) return;
    CRect client, place;
    form.GetClientRect(&client);
    comment.GetWindowRect(&place);
    form.ScreenToClient(&place);
    int right = client.right - static_cast<int>(5 * g_dXUnit);
    if (form.GetTotalSize().cy == client.Height()) right -= ::GetSystemMetrics(SM_CYVSCROLL);
    comment.MoveWindow(place.left, place.top, std::max(0, right - place.left), place.Height(), TRUE);
}
