#include "core/AnnoEditStamp.h"

#include "core/AnnotationInfo.h"
#include "dialogs/DlgEditor.h"
#include "platform/base/DateTime.h"

CString FormatEditStamp(const COleDateTime& time)
{
    CString stamp;
    stamp.Format(L"%04d/%02d/%02d %02d:%02d:%02d", time.GetYear(), time.GetMonth(), time.GetDay(), time.GetHour(),
                 time.GetMinute(), time.GetSecond());
    return stamp;
}

CString MakeEditStamp()
{
    return FormatEditStamp(COleDateTime::GetCurrentTime());
}

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
    info->strEditTime = MakeEditStamp();
    info->strEditorName = dialog.GetEditorName();
    return 1;
}
