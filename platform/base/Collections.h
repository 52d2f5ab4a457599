// The framework's collections: CArray, CList and CMap with the typed
// relatives the system names (CStringArray, CPtrList, CMapStringToPtr...).
//
// Semantics kept from the framework:
// - CArray stores its elements contiguously (GetData), SetSize constructs new
//   elements with the default constructor (zero for numbers and pointers) and
//   destroys the ones it drops; InsertAt past the end grows the array.
// - CList and CMap hand out POSITIONs that are node addresses: a POSITION
//   stays valid while other elements are added or removed, and becomes
//   invalid only when its own element is removed (the framework's rule).
// - CMap compares keys with CompareElements and hashes them with HashKey<ARG_KEY>;
//   a key type can bring its own versions of both, as in the framework.
//
// Where the framework asserts on a bad index or an empty list, we never crash:
// a read out of range returns a default element, a write out of range is
// dropped (it lands in a scratch element that is reset before each use), and
// a removal out of range is clamped to the elements that exist. An index
// mistake is still the caller's bug; it just cannot corrupt memory here.
#pragma once

#include <algorithm>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/base/Object.h"
#include "platform/base/Strings.h"
#include "platform/base/WinTypes.h"

// An opaque iteration cookie: a node address in CList and CMap.
struct tagPOSITION;
typedef tagPOSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)(INT_PTR)-1)

// ---- element helpers (a type may bring its own, as in the framework) ---------

template <class TYPE, class ARG_TYPE> inline BOOL CompareElements(const TYPE* element1, const ARG_TYPE* element2)
{
    return *element1 == *element2;
}

template <class ARG_KEY> inline UINT HashKey(ARG_KEY key)
{
    typedef typename std::decay<ARG_KEY>::type KeyType;
    UINT_PTR bits;
    if constexpr (std::is_pointer<KeyType>::value) {
        bits = reinterpret_cast<UINT_PTR>(key) >> 4;   // heap blocks are aligned; the low bits carry nothing
    } else {
        bits = static_cast<UINT_PTR>(key);
    }
    if constexpr (sizeof(UINT_PTR) > sizeof(UINT)) bits ^= bits >> 32;
    return static_cast<UINT>(bits);
}

namespace platform {
inline UINT HashWideText(LPCWSTR text)
{
    UINT hash = 2166136261u;   // FNV-1a over the code points
    for (; text && *text; ++text) hash = (hash ^ static_cast<UINT>(*text)) * 16777619u;
    return hash;
}
inline UINT HashNarrowText(LPCSTR text)
{
    UINT hash = 2166136261u;
    for (; text && *text; ++text) hash = (hash ^ static_cast<unsigned char>(*text)) * 16777619u;
    return hash;
}

// The per-type scratch element of out-of-range accesses (see the top of this file).
template <class TYPE> TYPE& ScratchElement()
{
    static TYPE scratch{};
    scratch = TYPE();
    return scratch;
}
}  // namespace platform

template <> inline UINT HashKey<LPCWSTR>(LPCWSTR key) { return platform::HashWideText(key); }
template <> inline UINT HashKey<LPWSTR>(LPWSTR key) { return platform::HashWideText(key); }
template <> inline UINT HashKey<LPCSTR>(LPCSTR key) { return platform::HashNarrowText(key); }
template <> inline UINT HashKey<LPSTR>(LPSTR key) { return platform::HashNarrowText(key); }
template <> inline UINT HashKey<const CString&>(const CString& key) { return platform::HashWideText(key); }
template <> inline UINT HashKey<CString>(CString key) { return platform::HashWideText(key); }
template <> inline UINT HashKey<CString&>(CString& key) { return platform::HashWideText(key); }
template <> inline UINT HashKey<const CStringA&>(const CStringA& key) { return platform::HashNarrowText(key); }

// ---- CArray ------------------------------------------------------------------

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
    static_assert(!std::is_same<TYPE, bool>::value, "CArray<bool> cannot hand out element references; use BOOL");

public:
    CArray() = default;
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;
    ~CArray() override = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_data.empty(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1);
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll() { m_data.clear(); }

    const TYPE& GetAt(INT_PTR index) const { return InRange(index) ? m_data[index] : DefaultElement(); }
    TYPE& GetAt(INT_PTR index) { return ElementAt(index); }
    void SetAt(INT_PTR index, ARG_TYPE newElement);
    const TYPE& ElementAt(INT_PTR index) const { return GetAt(index); }
    TYPE& ElementAt(INT_PTR index) { return InRange(index) ? m_data[index] : platform::ScratchElement<TYPE>(); }
    const TYPE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }
    TYPE* GetData() { return m_data.empty() ? nullptr : m_data.data(); }
    const TYPE& operator[](INT_PTR index) const { return GetAt(index); }
    TYPE& operator[](INT_PTR index) { return ElementAt(index); }

    void SetAtGrow(INT_PTR index, ARG_TYPE newElement);
    INT_PTR Add(ARG_TYPE newElement);
    INT_PTR Append(const CArray& src);
    void Copy(const CArray& src);
    void InsertAt(INT_PTR index, ARG_TYPE newElement, INT_PTR count = 1);
    void InsertAt(INT_PTR startIndex, const CArray* newArray);
    void RemoveAt(INT_PTR index, INT_PTR count = 1);

private:
    bool InRange(INT_PTR index) const { return index >= 0 && index < GetSize(); }
    static const TYPE& DefaultElement()
    {
        static const TYPE element{};
        return element;
    }

    std::vector<TYPE> m_data;
    INT_PTR m_nGrowBy = -1;   // elements added per reallocation; -1 lets the array choose
};

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::SetSize(INT_PTR newSize, INT_PTR growBy)
{
    if (growBy >= 0) m_nGrowBy = growBy;
    if (newSize < 0) return;
    size_t wanted = static_cast<size_t>(newSize);
    if (wanted > m_data.capacity() && m_nGrowBy > 0) {
        m_data.reserve(std::max(wanted, m_data.size() + static_cast<size_t>(m_nGrowBy)));
    }
    m_data.resize(wanted);
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::SetAt(INT_PTR index, ARG_TYPE newElement)
{
    if (InRange(index)) m_data[index] = newElement;
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::SetAtGrow(INT_PTR index, ARG_TYPE newElement)
{
    if (index < 0) return;
    if (index < GetSize()) {
        m_data[index] = newElement;
        return;
    }
    TYPE value(newElement);   // newElement may live in this array: copy it before growing
    SetSize(index + 1);
    m_data[index] = std::move(value);
}

template <class TYPE, class ARG_TYPE> INT_PTR CArray<TYPE, ARG_TYPE>::Add(ARG_TYPE newElement)
{
    INT_PTR index = GetSize();
    SetAtGrow(index, newElement);
    return index;
}

template <class TYPE, class ARG_TYPE> INT_PTR CArray<TYPE, ARG_TYPE>::Append(const CArray& src)
{
    INT_PTR oldSize = GetSize();
    if (&src == this) {
        std::vector<TYPE> copy(m_data);
        m_data.insert(m_data.end(), copy.begin(), copy.end());
    } else {
        m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
    }
    return oldSize;
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src)
{
    if (&src != this) m_data = src.m_data;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR index, ARG_TYPE newElement, INT_PTR count)
{
    if (index < 0 || count <= 0) return;
    TYPE value(newElement);   // may refer into this array
    if (index >= GetSize()) {
        SetSize(index + count);   // the framework grows the array to reach a start past its end
        for (INT_PTR i = index; i < index + count; ++i) m_data[i] = value;
        return;
    }
    m_data.insert(m_data.begin() + index, static_cast<size_t>(count), value);
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR startIndex, const CArray* newArray)
{
    if (!newArray || startIndex < 0 || newArray->IsEmpty()) return;
    std::vector<TYPE> items(newArray->m_data);   // newArray may be this array
    if (startIndex > GetSize()) SetSize(startIndex);
    m_data.insert(m_data.begin() + startIndex, items.begin(), items.end());
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::RemoveAt(INT_PTR index, INT_PTR count)
{
    if (!InRange(index) || count <= 0) return;
    INT_PTR last = std::min(GetSize(), index + count);
    m_data.erase(m_data.begin() + index, m_data.begin() + last);
}

// ---- CList -------------------------------------------------------------------

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
    struct CNode {
        CNode(CNode* prev, CNode* next, const TYPE& value) : pNext(next), pPrev(prev), data(value) {}
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    explicit CList(INT_PTR blockSize = 10) { (void)blockSize; }
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    // An empty list reads as one default element (see the top of this file).
    TYPE& GetHead() { return m_pNodeHead ? m_pNodeHead->data : platform::ScratchElement<TYPE>(); }
    const TYPE& GetHead() const { return m_pNodeHead ? m_pNodeHead->data : DefaultElement(); }
    TYPE& GetTail() { return m_pNodeTail ? m_pNodeTail->data : platform::ScratchElement<TYPE>(); }
    const TYPE& GetTail() const { return m_pNodeTail ? m_pNodeTail->data : DefaultElement(); }
    TYPE RemoveHead();
    TYPE RemoveTail();
    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(ToPosition(m_pNodeHead), newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(ToPosition(m_pNodeTail), newElement); }
    void AddHead(const CList* newList);
    void AddTail(const CList* newList);
    void RemoveAll();

    POSITION GetHeadPosition() const { return ToPosition(m_pNodeHead); }
    POSITION GetTailPosition() const { return ToPosition(m_pNodeTail); }
    // Return the element at rPosition and move rPosition on (to NULL past the end).
    TYPE& GetNext(POSITION& rPosition);
    const TYPE& GetNext(POSITION& rPosition) const;
    TYPE& GetPrev(POSITION& rPosition);
    const TYPE& GetPrev(POSITION& rPosition) const;
    TYPE& GetAt(POSITION position);
    const TYPE& GetAt(POSITION position) const;
    void SetAt(POSITION position, ARG_TYPE newElement);
    void RemoveAt(POSITION position);
    // A NULL position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = NULL) const;
    POSITION FindIndex(INT_PTR index) const;

private:
    static CNode* ToNode(POSITION position) { return reinterpret_cast<CNode*>(position); }
    static POSITION ToPosition(CNode* node) { return reinterpret_cast<POSITION>(node); }
    static const TYPE& DefaultElement()
    {
        static const TYPE element{};
        return element;
    }
    CNode* Link(CNode* prev, CNode* next, const TYPE& value);
    void Unlink(CNode* node);

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    INT_PTR m_nCount = 0;
};

template <class TYPE, class ARG_TYPE> TYPE CList<TYPE, ARG_TYPE>::RemoveHead()
{
    if (!m_pNodeHead) return TYPE();
    TYPE value(std::move(m_pNodeHead->data));
    Unlink(m_pNodeHead);
    return value;
}

template <class TYPE, class ARG_TYPE> TYPE CList<TYPE, ARG_TYPE>::RemoveTail()
{
    if (!m_pNodeTail) return TYPE();
    TYPE value(std::move(m_pNodeTail->data));
    Unlink(m_pNodeTail);
    return value;
}

template <class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::AddHead(const CList* newList)
{
    if (!newList) return;
    // Walking backwards keeps the new elements in their order; a snapshot
    // makes adding a list to itself finite.
    std::vector<TYPE> items;
    for (CNode* node = newList->m_pNodeHead; node; node = node->pNext) items.push_back(node->data);
    for (auto it = items.rbegin(); it != items.rend(); ++it) Link(nullptr, m_pNodeHead, *it);
}

template <class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::AddTail(const CList* newList)
{
    if (!newList) return;
    std::vector<TYPE> items;
    for (CNode* node = newList->m_pNodeHead; node; node = node->pNext) items.push_back(node->data);
    for (const TYPE& item : items) Link(m_pNodeTail, nullptr, item);
}

template <class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::RemoveAll()
{
    CNode* node = m_pNodeHead;
    while (node) {
        CNode* next = node->pNext;
        delete node;
        node = next;
    }
    m_pNodeHead = m_pNodeTail = nullptr;
    m_nCount = 0;
}

template <class TYPE, class ARG_TYPE> TYPE& CList<TYPE, ARG_TYPE>::GetNext(POSITION& rPosition)
{
    CNode* node = ToNode(rPosition);
    if (!node) return platform::ScratchElement<TYPE>();
    rPosition = ToPosition(node->pNext);
    return node->data;
}

template <class TYPE, class ARG_TYPE> const TYPE& CList<TYPE, ARG_TYPE>::GetNext(POSITION& rPosition) const
{
    CNode* node = ToNode(rPosition);
    if (!node) return DefaultElement();
    rPosition = ToPosition(node->pNext);
    return node->data;
}

template <class TYPE, class ARG_TYPE> TYPE& CList<TYPE, ARG_TYPE>::GetPrev(POSITION& rPosition)
{
    CNode* node = ToNode(rPosition);
    if (!node) return platform::ScratchElement<TYPE>();
    rPosition = ToPosition(node->pPrev);
    return node->data;
}

template <class TYPE, class ARG_TYPE> const TYPE& CList<TYPE, ARG_TYPE>::GetPrev(POSITION& rPosition) const
{
    CNode* node = ToNode(rPosition);
    if (!node) return DefaultElement();
    rPosition = ToPosition(node->pPrev);
    return node->data;
}

template <class TYPE, class ARG_TYPE> TYPE& CList<TYPE, ARG_TYPE>::GetAt(POSITION position)
{
    CNode* node = ToNode(position);
    return node ? node->data : platform::ScratchElement<TYPE>();
}

template <class TYPE, class ARG_TYPE> const TYPE& CList<TYPE, ARG_TYPE>::GetAt(POSITION position) const
{
    CNode* node = ToNode(position);
    return node ? node->data : DefaultElement();
}

template <class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::SetAt(POSITION position, ARG_TYPE newElement)
{
    if (CNode* node = ToNode(position)) node->data = newElement;
}

template <class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position)
{
    if (CNode* node = ToNode(position)) Unlink(node);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement)
{
    CNode* next = ToNode(position) ? ToNode(position) : m_pNodeHead;
    return ToPosition(Link(next ? next->pPrev : nullptr, next, newElement));
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement)
{
    CNode* prev = ToNode(position) ? ToNode(position) : m_pNodeTail;
    return ToPosition(Link(prev, prev ? prev->pNext : nullptr, newElement));
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const
{
    CNode* node = ToNode(startAfter) ? ToNode(startAfter)->pNext : m_pNodeHead;
    for (; node; node = node->pNext) {
        if (CompareElements<TYPE, typename std::decay<ARG_TYPE>::type>(&node->data, &searchValue)) {
            return ToPosition(node);
        }
    }
    return NULL;
}

template <class TYPE, class ARG_TYPE> POSITION CList<TYPE, ARG_TYPE>::FindIndex(INT_PTR index) const
{
    if (index < 0 || index >= m_nCount) return NULL;
    CNode* node = m_pNodeHead;
    while (index-- > 0) node = node->pNext;
    return ToPosition(node);
}

template <class TYPE, class ARG_TYPE>
typename CList<TYPE, ARG_TYPE>::CNode* CList<TYPE, ARG_TYPE>::Link(CNode* prev, CNode* next, const TYPE& value)
{
    CNode* node = new CNode(prev, next, value);
    (prev ? prev->pNext : m_pNodeHead) = node;
    (next ? next->pPrev : m_pNodeTail) = node;
    ++m_nCount;
    return node;
}

template <class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::Unlink(CNode* node)
{
    (node->pPrev ? node->pPrev->pNext : m_pNodeHead) = node->pNext;
    (node->pNext ? node->pNext->pPrev : m_pNodeTail) = node->pPrev;
    delete node;
    --m_nCount;
}

// ---- CMap --------------------------------------------------------------------

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
public:
    // What PLookup and the PGet*Assoc walk hand out.
    class CPair {
    public:
        const KEY key;
        VALUE value;

    protected:
        explicit CPair(ARG_KEY keyValue) : key(keyValue), value() {}
    };

private:
    class CAssoc : public CPair {
    public:
        CAssoc(ARG_KEY keyValue, UINT hash) : CPair(keyValue), pNext(nullptr), nHashValue(hash) {}
        CAssoc* pNext;     // next in the same bucket
        UINT nHashValue;   // HashKey of the key, before the modulo
    };

public:
    explicit CMap(INT_PTR blockSize = 10) { (void)blockSize; }
    CMap(const CMap&) = delete;
    CMap& operator=(const CMap&) = delete;
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const;
    const CPair* PLookup(ARG_KEY key) const { return Find(key); }
    CPair* PLookup(ARG_KEY key) { return Find(key); }
    // Adds the key with a default value when it is missing.
    VALUE& operator[](ARG_KEY key);
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key);
    void RemoveAll();

    // Iteration visits every key once, in no particular order. Removing the
    // key just returned does not disturb the walk.
    POSITION GetStartPosition() const { return m_nCount == 0 ? NULL : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;
    const CPair* PGetFirstAssoc() const { return FirstAssoc(); }
    CPair* PGetFirstAssoc() { return FirstAssoc(); }
    const CPair* PGetNextAssoc(const CPair* pAssoc) const { return NextAssoc(static_cast<const CAssoc*>(pAssoc)); }
    CPair* PGetNextAssoc(const CPair* pAssoc) { return NextAssoc(static_cast<const CAssoc*>(pAssoc)); }

    UINT GetHashTableSize() const { return m_nHashTableSize; }
    void InitHashTable(UINT hashSize, BOOL allocNow = TRUE);

private:
    CAssoc* Find(ARG_KEY key) const;
    CAssoc* FirstAssoc() const;
    CAssoc* NextAssoc(const CAssoc* assoc) const;
    void Rehash(UINT newSize);

    std::vector<CAssoc*> m_buckets;   // empty until the first insertion
    UINT m_nHashTableSize = 17;       // bucket count; grows as the map fills
    INT_PTR m_nCount = 0;
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& rValue) const
{
    CAssoc* assoc = Find(key);
    if (!assoc) return FALSE;
    rValue = assoc->value;
    return TRUE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key)
{
    if (CAssoc* found = Find(key)) return found->value;
    if (m_buckets.empty()) {
        m_buckets.assign(m_nHashTableSize, nullptr);
    } else if (static_cast<UINT_PTR>(m_nCount) >= 2u * m_nHashTableSize) {
        Rehash(m_nHashTableSize * 2 + 1);
    }
    UINT hash = HashKey<ARG_KEY>(key);
    CAssoc* assoc = new CAssoc(key, hash);
    CAssoc*& bucket = m_buckets[hash % m_nHashTableSize];
    assoc->pNext = bucket;
    bucket = assoc;
    ++m_nCount;
    return assoc->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key)
{
    if (m_buckets.empty()) return FALSE;
    UINT hash = HashKey<ARG_KEY>(key);
    CAssoc** link = &m_buckets[hash % m_nHashTableSize];
    for (; *link; link = &(*link)->pNext) {
        CAssoc* assoc = *link;
        if (assoc->nHashValue != hash || !CompareElements<KEY, typename std::decay<ARG_KEY>::type>(&assoc->key, &key)) {
            continue;
        }
        *link = assoc->pNext;
        delete assoc;
        --m_nCount;
        return TRUE;
    }
    return FALSE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll()
{
    for (CAssoc*& bucket : m_buckets) {
        while (bucket) {
            CAssoc* next = bucket->pNext;
            delete bucket;
            bucket = next;
        }
    }
    m_buckets.clear();
    m_nCount = 0;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
{
    if (!rNextPosition) return;
    const CAssoc* assoc = rNextPosition == BEFORE_START_POSITION ? FirstAssoc()
                                                                 : reinterpret_cast<const CAssoc*>(rNextPosition);
    if (!assoc) {
        rNextPosition = NULL;
        return;
    }
    rKey = assoc->key;
    rValue = assoc->value;
    rNextPosition = reinterpret_cast<POSITION>(NextAssoc(assoc));
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT hashSize, BOOL allocNow)
{
    if (hashSize == 0) return;
    if (!m_buckets.empty()) {
        Rehash(hashSize);   // the framework only allows this on an empty map; rehashing is the safe reading
        return;
    }
    m_nHashTableSize = hashSize;
    if (allocNow) m_buckets.assign(m_nHashTableSize, nullptr);
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Find(ARG_KEY key) const
{
    if (m_buckets.empty()) return nullptr;
    UINT hash = HashKey<ARG_KEY>(key);
    for (CAssoc* assoc = m_buckets[hash % m_nHashTableSize]; assoc; assoc = assoc->pNext) {
        if (assoc->nHashValue == hash && CompareElements<KEY, typename std::decay<ARG_KEY>::type>(&assoc->key, &key)) {
            return assoc;
        }
    }
    return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::FirstAssoc() const
{
    for (CAssoc* bucket : m_buckets) {
        if (bucket) return bucket;
    }
    return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::NextAssoc(
    const CAssoc* assoc) const
{
    if (!assoc) return nullptr;
    if (assoc->pNext) return assoc->pNext;
    for (size_t i = assoc->nHashValue % m_nHashTableSize + 1; i < m_buckets.size(); ++i) {
        if (m_buckets[i]) return m_buckets[i];
    }
    return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Rehash(UINT newSize)
{
    // Nodes move between buckets but keep their addresses, so POSITIONs and
    // PLookup pointers stay valid.
    std::vector<CAssoc*> buckets(newSize, nullptr);
    for (CAssoc* head : m_buckets) {
        while (head) {
            CAssoc* next = head->pNext;
            CAssoc*& bucket = buckets[head->nHashValue % newSize];
            head->pNext = bucket;
            bucket = head;
            head = next;
        }
    }
    m_buckets.swap(buckets);
    m_nHashTableSize = newSize;
}

// ---- the typed collections -----------------------------------------------------

class CStringArray : public CArray<CString, const CString&> {
    DECLARE_DYNAMIC(CStringArray)
};
class CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
};
class CObArray : public CArray<CObject*, CObject*> {
    DECLARE_DYNAMIC(CObArray)
};
class CDWordArray : public CArray<DWORD, DWORD> {
    DECLARE_DYNAMIC(CDWordArray)
};
class CUIntArray : public CArray<UINT, UINT> {
    DECLARE_DYNAMIC(CUIntArray)
};
class CWordArray : public CArray<WORD, WORD> {
    DECLARE_DYNAMIC(CWordArray)
};
class CByteArray : public CArray<BYTE, BYTE> {
    DECLARE_DYNAMIC(CByteArray)
};

class CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(INT_PTR blockSize = 10) : CList(blockSize) {}
};
class CObList : public CList<CObject*, CObject*> {
    DECLARE_DYNAMIC(CObList)
public:
    explicit CObList(INT_PTR blockSize = 10) : CList(blockSize) {}
};
class CStringList : public CList<CString, const CString&> {
    DECLARE_DYNAMIC(CStringList)
public:
    explicit CStringList(INT_PTR blockSize = 10) : CList(blockSize) {}
};

class CMapStringToPtr : public CMap<CString, LPCWSTR, void*, void*> {
    DECLARE_DYNAMIC(CMapStringToPtr)
};
class CMapStringToOb : public CMap<CString, LPCWSTR, CObject*, CObject*> {
    DECLARE_DYNAMIC(CMapStringToOb)
};
class CMapStringToString : public CMap<CString, LPCWSTR, CString, LPCWSTR> {
    DECLARE_DYNAMIC(CMapStringToString)
};
class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
    DECLARE_DYNAMIC(CMapWordToPtr)
};
class CMapWordToOb : public CMap<WORD, WORD, CObject*, CObject*> {
    DECLARE_DYNAMIC(CMapWordToOb)
};
class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
    DECLARE_DYNAMIC(CMapPtrToPtr)
};
class CMapPtrToWord : public CMap<void*, void*, WORD, WORD> {
    DECLARE_DYNAMIC(CMapPtrToWord)
};
