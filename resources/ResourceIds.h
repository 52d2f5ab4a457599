// Resource ids of the library's own resources.
#pragma once

#define IDC_CURSOR_HAND 103
#define IDC_CURSOR_DIVIDER 104
#define IDC_CURSOR_MAG 118
#define IDC_CURSOR_DRAW 143
#define IDB_SERIAL_OVERLAP_LEGEND 127
