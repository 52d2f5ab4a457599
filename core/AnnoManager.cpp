#include "core/AnnoManager.h"

#include <new>

CAnnoManager::CAnnoManager() : m_pHeader(nullptr)
{
}

CAnnoManager::~CAnnoManager() = default;

void CAnnoManager::SetListHeader(_ANNOTATION_INFO* pHeader)
{
    m_pHeader = pHeader;
    m_pLastItem = nullptr;
}

int CAnnoManager::GetItemCount() const
{
    int count = 0;
    for (const _ANNOTATION_INFO* info = m_pHeader; info; info = info->pNext) ++count;
    return count;
}

_ANNOTATION_INFO* CAnnoManager::GetAt(int index) const
{
    if (!m_pHeader || index < 0) return nullptr;
    _ANNOTATION_INFO* info = m_pHeader->pNext;
    for (int i = 0; info && i < index; ++i) info = info->pNext;
    return info;
}

_ANNOTATION_INFO* CAnnoManager::AddItem()
{
    _ANNOTATION_INFO* info = new (std::nothrow) _ANNOTATION_INFO;
    if (!info) return nullptr;
    // Records appended behind the handle's back are walked past, once.
    _ANNOTATION_INFO** link = m_pLastItem ? &m_pLastItem->pNext : &m_pHeader;
    while (*link) link = &(*link)->pNext;
    *link = info;
    m_pLastItem = info;
    return info;
}

// The head stays even when its page style matches: its owner still holds
// it, and freeing it here would leave that owner with a dangling record.
int CAnnoManager::DeleteItem(int pageStyle)
{
    if (!m_pHeader) return 0;
    m_pLastItem = nullptr;   // it may be among those freed
    _ANNOTATION_INFO** link = &m_pHeader->pNext;
    while (_ANNOTATION_INFO* info = *link) {
        if (info->nPageStyle != pageStyle) {
            link = &info->pNext;
            continue;
        }
        *link = info->pNext;
        delete info;
    }
    return 1;
}

int CAnnoManager::DelItem(int index)
{
    if (!m_pHeader || index <= 0) return 0;
    m_pLastItem = nullptr;   // it may be the one freed
    _ANNOTATION_INFO* previous = m_pHeader;
    for (int i = 1; i < index && previous->pNext; ++i) previous = previous->pNext;
    _ANNOTATION_INFO* info = previous->pNext;
    if (!info) return 0;
    previous->pNext = info->pNext;
    delete info;
    return 1;
}

_SKETCH_INFO* CAnnoManager::AddSkecthItem(_ANNOTATION_SKETCH* area)
{
    if (!area) return nullptr;
    _SKETCH_INFO* shape = new (std::nothrow) _SKETCH_INFO;
    if (!shape) return nullptr;
    _SKETCH_INFO** link = area == m_pLastArea && m_pLastShape ? &m_pLastShape->pNext : &area->pSketchHead;
    while (*link) link = &(*link)->pNext;
    *link = shape;
    m_pLastArea = area;
    m_pLastShape = shape;
    return shape;
}
