#include "core/AnnoEditStamp.h"

#include "core/AnnotationInfo.h"
#include "dialogs/DlgEditor.h"
#include "platform/base/DateTime.h"

int SaveAnnoEditTimeAndName(_ANNOTATION_INFO* info, const CString& editorName, CWnd* parent, CTavrionDoc* doc)
{
    if (!info) return 0;
    if (!editorName.IsEmpty()) {
        info->strEditorName = editorName;
        return 1;
    }
    CDlgEditor dialog(parent);
    dialog.SetDoc(doc);
    if (dialog.DoModal() != IDOK) return 0;
    const COleDateTime now = COleDateTime::GetCurrentTime();
    info->strEditTime.Format(L"%04d/%02d/%02d %02d:%02d:%02d", now.GetYear(), now.GetMonth(), now.GetDay(),
                             now.GetHour(), now.GetMinute(), now.GetSecond());
    info->strEditorName = dialog.GetEditorName();
    return 1;
}
