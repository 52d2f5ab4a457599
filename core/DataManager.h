// A document's item list: a singly linked list of item records, one per
// opened record file. The list never creates items: whoever adds a file
// creates the item, gives it the next id and its keys and links it in.
//
// Every item type T has the members nID (dense from 0, in list order),
// uSystemCode, strFilePath (the record file), strXMLPath (the record XML),
// strThirdKey (a second source path, empty for device records) and pNext.
#pragma once

#include "platform/base/Strings.h"

template <class T> class CDataManager {
public:
    CDataManager() : m_pHeader(nullptr) {}
    // The owning document frees the items (FreeAll); copies share them.
    ~CDataManager() = default;

    // The first item with that id, or null.
    T* GetItem(int id) const
    {
        for (T* item = m_pHeader; item; item = item->pNext) {
            if (item->nID == id) return item;
        }
        return nullptr;
    }

    // The first item whose record XML path equals the given one, ignoring case.
    T* GetItem(const CString& xmlPath) const
    {
        for (T* item = m_pHeader; item; item = item->pNext) {
            if (item->strXMLPath.CompareNoCase(xmlPath) == 0) return item;
        }
        return nullptr;
    }

    // The first item whose file path matches; an empty XML path or third key
    // matches any. Every comparison ignores case.
    T* GetItem(const CString& xmlPath, const CString& filePath, const CString& thirdKey) const
    {
        for (T* item = m_pHeader; item; item = item->pNext) {
            if (item->strFilePath.CompareNoCase(filePath) != 0) continue;
            if (!xmlPath.IsEmpty() && item->strXMLPath.CompareNoCase(xmlPath) != 0) continue;
            if (!thirdKey.IsEmpty() && item->strThirdKey.CompareNoCase(thirdKey) != 0) continue;
            return item;
        }
        return nullptr;
    }

    // Deletes every item whose three keys all equal the given ones (ignoring
    // case; here an empty key matches only an empty key) and keeps the ids of
    // the others dense. 1 when anything was deleted.
    int DeleteItem(const CString& xmlPath, const CString& filePath, const CString& thirdKey)
    {
        int deleted = 0;
        T** link = &m_pHeader;
        while (T* item = *link) {
            if (item->strFilePath.CompareNoCase(filePath) == 0 && item->strXMLPath.CompareNoCase(xmlPath) == 0 &&
                item->strThirdKey.CompareNoCase(thirdKey) == 0) {
                *link = item->pNext;
                delete item;
                ++deleted;
                continue;
            }
            item->nID -= deleted;
            link = &item->pNext;
        }
        return deleted > 0 ? 1 : 0;
    }

    int FreeAll()
    {
        T* item = m_pHeader;
        while (item) {
            T* next = item->pNext;
            delete item;
            item = next;
        }
        m_pHeader = nullptr;
        return 1;
    }

    T* GetListHeader() const { return m_pHeader; }

    // Links an item in at the end with the next free id. The system itself
    // never adds items; the host does, through this.
    T* AppendItem(T* item)
    {
        if (!item) return nullptr;
        int id = 0;
        T** link = &m_pHeader;
        while (*link) {
            id = (*link)->nID + 1;
            link = &(*link)->pNext;
        }
        item->nID = id;
        item->pNext = nullptr;
        *link = item;
        return item;
    }

private:
    T* m_pHeader;   // the first item, null when the list is empty
};
