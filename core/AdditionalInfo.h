// The numbered additions of a record, the forms' pick lists (editable
// parameters) and the substitute flags.
#pragma once

#include "platform/base/Strings.h"

#define ADDITION_MAX 256

struct _ADDITIONAL_INFO {
    int bPresent = 0;          // the record has additions
    int nCount = 0;            // additions held, never above ADDITION_MAX
    CString strEditDate;       // "yyyy/mm/dd hh:mm:ss", stars when the record has none
    CString strEditor;
    CString strTitle[ADDITION_MAX];
    CString strContent[ADDITION_MAX];
    CString strLoginEditDate;  // "yyyy/mm/dd hh:mm" as the record writes its parts
    CString strLoginEditor;
};

// The twelve pick lists of the forms' combo boxes; values outside 0 to 11
// select nothing.
enum _EDITABLE_PARAM_INDEX {
    EDITABLE_PARAM_FIRST = 0,
    EDITABLE_PARAM_LAST = 11,
};
#define EDITABLE_PARAM_COUNT 12

// 0 selects g_bSubstitute, any other value g_bEditSubstituteMode.
enum _SUBSTITUTE_SELECT_OR_EDITMODE {
    SUBSTITUTE_SELECT = 0,
    SUBSTITUTE_EDITMODE = 1,
};

// The host's display-language index from quarnel.ini: -1 when not set, 5
// for "ENGLISH", 3 for any other language.
int GetIvrelIndex();
