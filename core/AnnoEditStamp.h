// The edit stamp, the time every stored edit is marked with, and stamping an
// annotation with its editor and that time: the data side of
// CTavrionView::SaveAnnoEditTimeAndName, which the view calls with itself as
// the dialog's parent and its document.
#pragma once

#include <functional>

#include "platform/base/Strings.h"

struct _ANNOTATION_INFO;
class CWnd;
class CTavrionDoc;
class COleDateTime;

// "yyyy/mm/dd hh:mm:ss" of a time, e.g. 2024/03/05 09:07:02.
CString FormatEditStamp(const COleDateTime& time);
// The edit stamp of the current local time. Every caller that stores an edit
// builds it once and writes the same text to each field it stamps.
CString MakeEditStamp();

// Asks the user who edits, with `parent` as the prompt's parent and the
// names of `doc`; true with the chosen name when the user confirmed. The
// prompt is a dialog of a higher layer, which installs it here when the
// library loads.
using EditorNamePrompt = std::function<bool(CWnd* parent, CTavrionDoc* doc, CString& name)>;
// Installs `prompt` and returns the one it replaces. Without a prompt every
// stamp that must ask counts as not confirmed.
EditorNamePrompt SetEditorNamePrompt(EditorNamePrompt prompt);

// With a name given, only the editor name changes. Without one, the
// editor-name dialog asks for it; when the user confirms, the annotation
// takes the entered name and the current local time. 1 when the annotation
// changed; 0 without an annotation or when the dialog was not confirmed.
int SaveAnnoEditTimeAndName(_ANNOTATION_INFO* info, const CString& editorName, CWnd* parent, CTavrionDoc* doc);
