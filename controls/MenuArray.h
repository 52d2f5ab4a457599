// The list type of the owner-drawn menu: its item records, the pop-ups it
// created, and the process-wide registry of those pop-ups.
#pragma once

#include "platform/base/Collections.h"

class CMenuArray : public CPtrArray {
public:
    CMenuArray() = default;
    ~CMenuArray() override = default;

    // The index of `p`, searching from the end; -1 when absent.
    INT_PTR ReverseFind(const void* p) const
    {
        for (INT_PTR i = GetSize() - 1; i >= 0; --i)
            if (GetAt(i) == p) return i;
        return -1;
    }
};
