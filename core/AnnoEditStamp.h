// Stamping an annotation with its editor and the time of the edit: the data
// side of CTavrionView::SaveAnnoEditTimeAndName, which the view calls with
// itself as the dialog's parent and its document.
#pragma once

#include "platform/base/Strings.h"

struct _ANNOTATION_INFO;
class CWnd;
class CTavrionDoc;

// With a name given, only the editor name changes. Without one, the
// editor-name dialog asks for it; when the user confirms, the annotation
// takes the entered name and the current local time. 1 when the annotation
// changed; 0 without an annotation or when the dialog was not confirmed.
int SaveAnnoEditTimeAndName(_ANNOTATION_INFO* info, const CString& editorName, CWnd* parent, CTavrionDoc* doc);
