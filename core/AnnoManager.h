// A handle over a chain of annotations. It does not own the chain: the head
// record belongs to whoever set it (a record's item keeps its head), and the
// handle frees only the records after the head that it is told to delete.
//
// A record XML may hold many thousands of annotations, read one after the
// other through one handle: the handle appends after the record (and the
// shape) it appended last instead of walking the chain from its head each
// time. A chain that someone else cut short meanwhile is given to the
// handle again (SetListHeader) before it appends to it.
#pragma once

#include "core/AnnotationInfo.h"

class CAnnoManager {
public:
    CAnnoManager();
    virtual ~CAnnoManager();
    CAnnoManager(const CAnnoManager&) = delete;
    CAnnoManager& operator=(const CAnnoManager&) = delete;

    _ANNOTATION_INFO* GetListHeader() const { return m_pHeader; }
    void SetListHeader(_ANNOTATION_INFO* pHeader);

    // Records in the chain, the head included.
    int GetItemCount() const;
    // Index 0 is the first record after the head; null past the end.
    _ANNOTATION_INFO* GetAt(int index) const;
    // Appends a new record (the head when the chain is empty); null when it
    // cannot be made.
    _ANNOTATION_INFO* AddItem();
    // Frees every record after the head whose page style matches; 0 when
    // the chain is empty, otherwise 1.
    int DeleteItem(int pageStyle);
    // Frees the record at index, the head counting as 0. The head itself is
    // never freed here, so index 0 gives 0 as a missing position does.
    int DelItem(int index);
    // Appends a new shape with the default pen and font to the area's chain;
    // null without an area or when it cannot be made.
    _SKETCH_INFO* AddSkecthItem(_ANNOTATION_SKETCH* area);

protected:
    _ANNOTATION_INFO* m_pHeader;   // the chain's head, owned by the caller; null when empty

private:
    // Where the next append starts looking for the end: what was appended
    // last (null: the head, or the area's first shape).
    _ANNOTATION_INFO* m_pLastItem = nullptr;
    _ANNOTATION_SKETCH* m_pLastArea = nullptr;
    _SKETCH_INFO* m_pLastShape = nullptr;
};
