// CDCStateSaver: saves a device context's state (objects, colours, modes,
// origins, clip) when it is made and restores exactly that state when it
// goes, whatever the drawing in between selected or set, and whichever way
// the scope is left.
#pragma once

#include "platform/gdi/Dc.h"

class CDCStateSaver {
public:
    explicit CDCStateSaver(CDC& dc) : m_dc(dc), m_nSaved(dc.SaveDC()) {}
    ~CDCStateSaver()
    {
        // A level of 0 means the save failed: there is nothing to go back to.
        if (m_nSaved != 0) m_dc.RestoreDC(m_nSaved);
    }
    CDCStateSaver(const CDCStateSaver&) = delete;
    CDCStateSaver& operator=(const CDCStateSaver&) = delete;

private:
    CDC& m_dc;
    int m_nSaved;   // the level SaveDC returned; 0 when it failed
};
