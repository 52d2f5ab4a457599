// Resource scripts: the text form in which dialog templates, menus and
// string tables are written, the resource compiler's language (a subset:
// DIALOG/DIALOGEX with their options and control statements, MENU with
// POPUP/MENUITEM, STRINGTABLE, #define of ids). A script is compiled into a
// ResourceTable: dialogs and menus become their binary resources (RT_DIALOG
// in the DLGTEMPLATEEX layout, RT_MENU), strings go to the string table.
//
// Ids and styles are numbers or names: the window, dialog and control
// style names (WS_*, DS_*, BS_*, SS_*, ES_*, CBS_*, LBS_*, SBS_*, TCS_*),
// IDOK and the other button ids, IDC_STATIC, and names the script
// #defines. Resources are named by number only. See resources/README.md.
#pragma once

#include <string>

#include "platform/ui/windowing/Resources.h"

namespace platform::ui {

struct ScriptResult {
    bool ok = false;
    int line = 0;          // 1-based, where the first problem is; 0 when ok
    int column = 0;        // 1-based
    std::string message;   // what is wrong there
};

// Adds the resources of a UTF-8 script to `table`. Nothing is added when
// the script has an error.
ScriptResult CompileResourceScript(const std::string& utf8, ResourceTable& table);

// The same for a script file (UTF-8, up to 16 MB); line 0 with a message
// when the file cannot be read.
ScriptResult CompileResourceScriptFile(const char* path, ResourceTable& table);

}  // namespace platform::ui
