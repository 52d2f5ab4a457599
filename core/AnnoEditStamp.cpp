#include "core/AnnoEditStamp.h"

#include <utility>

#include "core/AnnotationInfo.h"
#include "platform/base/DateTime.h"

namespace {

// A function-local slot: the dialogs install their prompt while the library
// loads, perhaps before this file's own statics exist.
EditorNamePrompt& InstalledPrompt()
{
    static EditorNamePrompt prompt;
    return prompt;
}

}  // namespace

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
    const EditorNamePrompt& prompt = InstalledPrompt();
    CString name;
    if (!prompt || !prompt(parent, doc, name)) return 0;
    info->strEditTime = MakeEditStamp();
    info->strEditorName = name;
    return 1;
}

EditorNamePrompt SetEditorNamePrompt(EditorNamePrompt prompt)
{
    return std::exchange(InstalledPrompt(), std::move(prompt));
}
