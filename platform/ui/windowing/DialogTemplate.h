// Dialog templates: the in-memory form, and the resource bytes in the
// layout the resource compiler writes (DLGTEMPLATE and DLGTEMPLATEEX with
// their items, strings in UTF-16, items on 4-byte boundaries). Templates
// are read from bytes that may come from anywhere, so the reader checks
// every length and reports the offset where the bytes went wrong.
#pragma once

#include <vector>

#include "platform/base/Strings.h"
#include "platform/base/WinTypes.h"

namespace platform::ui {

struct DialogItemTemplate {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0;              // dialog units
    short y = 0;
    short cx = 0;
    short cy = 0;
    DWORD id = 0;
    CString className;        // "Button", "Edit"… (the predefined atoms are turned into their names)
    CString text;
    WORD textOrdinal = 0;     // nonzero: the text is this resource id (an icon or bitmap of a static)
    std::vector<BYTE> creationData;
};

struct DialogTemplate {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;          // DS_SETFONT says whether the font fields mean anything
    short x = 0;              // dialog units
    short y = 0;
    short cx = 0;
    short cy = 0;
    CString menu;
    WORD menuOrdinal = 0;
    CString className;        // empty for the dialog class
    CString caption;
    WORD pointSize = 0;       // the font, when DS_SETFONT
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    CString faceName;
    std::vector<DialogItemTemplate> items;
};

struct TemplateReadResult {
    bool ok = false;
    size_t offset = 0;        // where reading stopped
    const char* problem = ""; // what was wrong there
};

// Reads DLGTEMPLATE or DLGTEMPLATEEX bytes.
TemplateReadResult ReadDialogTemplate(const BYTE* data, size_t size, DialogTemplate& out);

// The DLGTEMPLATEEX bytes of a template.
std::vector<BYTE> WriteDialogTemplate(const DialogTemplate& dialog);

// A menu template: items in order, popups with their own items.
struct MenuTemplateItem {
    UINT flags = 0;           // MF_GRAYED, MF_CHECKED, MF_POPUP, MF_MENUBARBREAK… (MF_END is not kept)
    UINT id = 0;              // 0 for popups and separators
    CString text;             // empty for a separator
    std::vector<MenuTemplateItem> items;   // a popup's items
};

// Reads MENUITEMTEMPLATE bytes (the standard menu resource).
TemplateReadResult ReadMenuTemplate(const BYTE* data, size_t size, std::vector<MenuTemplateItem>& out);
std::vector<BYTE> WriteMenuTemplate(const std::vector<MenuTemplateItem>& items);

}  // namespace platform::ui
