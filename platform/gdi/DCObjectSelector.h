// CDCObjectSelector: selects pens, brushes, fonts or bitmaps into a device
// context for the length of a scope and selects the context's own object
// back when it goes. DC is CDC or any context with the same SelectObject
// (the print device context's selections are printer commands, so a
// selection is made only when the object changes).
//
//     CDCObjectSelector pen(dc, &penGrid);      // the pen until the scope ends
//     CDCObjectSelector<CFont> font(dc);        // nothing selected yet
//     font.Select(pFontOrNull);                 // a null object selects nothing
#pragma once

#include "platform/gdi/Dc.h"

template <class Object, class DC = CDC> class CDCObjectSelector {
public:
    explicit CDCObjectSelector(DC& dc) : m_dc(dc) {}
    CDCObjectSelector(DC& dc, Object* pObject) : m_dc(dc) { Select(pObject); }
    ~CDCObjectSelector() { Restore(); }
    CDCObjectSelector(const CDCObjectSelector&) = delete;
    CDCObjectSelector& operator=(const CDCObjectSelector&) = delete;

    // Selects pObject unless it is null or already the one this selector
    // selected; the object put back at the end is the one the context had
    // before the first selection. The object must outlive the selection.
    void Select(Object* pObject)
    {
        if (!pObject || pObject == m_pCurrent) return;
        Object* pPrevious = m_dc.SelectObject(pObject);
        if (!m_bSelected) m_pOriginal = pPrevious;
        m_bSelected = true;
        m_pCurrent = pObject;
    }

    // The context's own object, from before the first selection; null until
    // something was selected.
    Object* GetOriginal() const { return m_pOriginal; }

    // Selects the context's own object back now rather than at the end.
    void Restore()
    {
        if (m_bSelected && m_pOriginal) m_dc.SelectObject(m_pOriginal);
        m_bSelected = false;
        m_pOriginal = nullptr;
        m_pCurrent = nullptr;
    }

private:
    DC& m_dc;
    Object* m_pCurrent = nullptr;    // what this selector selected last
    Object* m_pOriginal = nullptr;   // the context's object before the first selection
    bool m_bSelected = false;
};
