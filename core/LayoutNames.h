// The names the layout loaders look the stylesheet's elements up by: for each
// of the sixteen tables its template and its control names in entry order.
// The names are fixed by the forms; the stylesheet must use them.
#pragma once

#include "core/PositionCtrl.h"

struct _LAYOUT_TABLE_NAMES {
    const wchar_t* pszTemplate;        // the "name" of the table's xsl:template
    const wchar_t* const* ppszNames;   // control names in entry order; the ward label's ends in a blank
    int nCount;                        // entries of the table
    int bPrint;                        // 1: a print form (its tags' print_visible rules)
};

// Null for LayoutTable::Count and anything outside the enumeration.
const _LAYOUT_TABLE_NAMES* GetLayoutTableNames(LayoutTable table);
