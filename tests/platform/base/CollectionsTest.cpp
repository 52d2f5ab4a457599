#include "platform/base/Collections.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/base/Geometry.h"

namespace {

// Counts live instances, so construction and destruction by the containers can be checked.
struct Tracked {
    static int s_live;
    int value;
    Tracked() : value(0) { ++s_live; }
    Tracked(int v) : value(v) { ++s_live; }
    Tracked(const Tracked& other) : value(other.value) { ++s_live; }
    Tracked& operator=(const Tracked& other) = default;
    ~Tracked() { --s_live; }
    bool operator==(const Tracked& other) const { return value == other.value; }
};
int Tracked::s_live = 0;

template <class ARRAY> std::vector<int> Values(const ARRAY& array)
{
    std::vector<int> values;
    for (INT_PTR i = 0; i < array.GetSize(); ++i) values.push_back(static_cast<int>(array[i]));
    return values;
}

template <class LIST> std::vector<std::wstring> Forward(const LIST& list)
{
    std::vector<std::wstring> items;
    for (POSITION pos = list.GetHeadPosition(); pos;) items.push_back(list.GetNext(pos).GetString());
    return items;
}

template <class LIST> std::vector<std::wstring> Backward(const LIST& list)
{
    std::vector<std::wstring> items;
    for (POSITION pos = list.GetTailPosition(); pos;) items.push_back(list.GetPrev(pos).GetString());
    return items;
}

}  // namespace

// ---- CArray ----------------------------------------------------------------------

TEST(CArrayTest, InsertAndRemoveShiftElements)
{
    CArray<int, int> array;
    for (int i = 0; i < 5; ++i) EXPECT_EQ(array.Add(i), i);
    array.InsertAt(2, 99, 2);
    EXPECT_EQ(Values(array), (std::vector<int>{0, 1, 99, 99, 2, 3, 4}));
    array.RemoveAt(1, 3);
    EXPECT_EQ(Values(array), (std::vector<int>{0, 2, 3, 4}));
    array.RemoveAt(2, 100);   // clamped to the end
    EXPECT_EQ(Values(array), (std::vector<int>{0, 2}));
    array.InsertAt(4, 7);     // past the end: the array grows, the gap holds zeros
    EXPECT_EQ(Values(array), (std::vector<int>{0, 2, 0, 0, 7}));
    array.InsertAt(0, -1);
    EXPECT_EQ(array.GetUpperBound(), 5);
    EXPECT_EQ(array[0], -1);

    CArray<int, int> other;
    other.Add(10);
    other.Add(11);
    array.InsertAt(1, &other);
    EXPECT_EQ(Values(array), (std::vector<int>{-1, 10, 11, 0, 2, 0, 0, 7}));
    EXPECT_EQ(other.Append(array), 2);
    EXPECT_EQ(other.GetSize(), 10);
    other.Copy(array);
    EXPECT_EQ(Values(other), Values(array));
    EXPECT_EQ(other.Append(other), 8);   // appending itself doubles it
    EXPECT_EQ(other.GetSize(), 16);
    EXPECT_EQ(other[15], 7);
    other.InsertAt(0, &other);
    EXPECT_EQ(other.GetSize(), 32);
}

TEST(CArrayTest, SetSizeConstructsAndDestroys)
{
    ASSERT_EQ(Tracked::s_live, 0);
    {
        CArray<Tracked> array;
        array.SetSize(5, 4);
        EXPECT_EQ(Tracked::s_live, 5);
        EXPECT_EQ(array[4].value, 0);
        array[4].value = 4;
        array.SetSize(2);
        EXPECT_EQ(Tracked::s_live, 2);
        array.SetSize(6);
        EXPECT_EQ(Tracked::s_live, 6);
        EXPECT_EQ(array[4].value, 0);   // a new element, not the old one back
        array.SetAtGrow(9, Tracked(9));
        EXPECT_EQ(Tracked::s_live, 10);
        array.RemoveAt(0, 3);
        EXPECT_EQ(Tracked::s_live, 7);
        array.RemoveAll();
        EXPECT_EQ(Tracked::s_live, 0);
        array.SetSize(3);
        array.SetSize(-1);   // ignored
        EXPECT_EQ(array.GetSize(), 3);
    }
    EXPECT_EQ(Tracked::s_live, 0);

    CDWordArray numbers;
    numbers.SetSize(3);
    EXPECT_EQ(Values(numbers), (std::vector<int>{0, 0, 0}));   // numbers start at zero
}

// Adding an element of the array to itself survives the reallocation.
TEST(CArrayTest, AddingItsOwnElementCopiesItBeforeGrowing)
{
    CStringArray strings;
    strings.Add(L"first");
    for (int i = 0; i < 100; ++i) strings.Add(strings[0]);
    strings.InsertAt(0, strings[50], 3);
    strings.SetAtGrow(200, strings[1]);
    EXPECT_EQ(strings.GetSize(), 201);
    EXPECT_EQ(strings[200], L"first");
    EXPECT_EQ(strings[150], L"");
}

// Out-of-range access never touches memory outside the array: reads give a
// default element, writes are dropped.
TEST(CArrayTest, OutOfRangeAccessIsHarmless)
{
    CArray<int, int> array;
    array.Add(1);
    const CArray<int, int>& view = array;
    EXPECT_EQ(view.GetAt(5), 0);
    EXPECT_EQ(view[-1], 0);
    array[7] = 42;
    array.ElementAt(-3) = 42;
    EXPECT_EQ(array[7], 0);
    array.SetAt(3, 9);
    array.SetAt(-1, 9);
    array.RemoveAt(-1);
    array.RemoveAt(1);
    array.InsertAt(-2, 5);
    array.SetAtGrow(-1, 5);
    EXPECT_EQ(Values(array), (std::vector<int>{1}));
    CArray<int, int> empty;
    EXPECT_EQ(empty.GetData(), nullptr);
    EXPECT_EQ(empty.GetUpperBound(), -1);
}

TEST(CArrayTest, TypedArraysKnowTheirClass)
{
    CStringArray strings;
    CPtrArray pointers;
    CUIntArray uints;
    CWordArray words;
    CByteArray bytes;
    CObArray objects;
    EXPECT_TRUE(strings.IsKindOf(RUNTIME_CLASS(CStringArray)));
    EXPECT_TRUE(strings.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(pointers.IsKindOf(RUNTIME_CLASS(CStringArray)));
    EXPECT_STREQ(uints.GetRuntimeClass()->m_lpszClassName, "CUIntArray");
    objects.Add(&strings);
    EXPECT_EQ(objects[0], &strings);
    words.Add(0xFFFF);
    bytes.Add(0xFF);
    EXPECT_EQ(words[0] + bytes[0], 0xFFFF + 0xFF);
    pointers.Add(nullptr);
    EXPECT_EQ(pointers.GetCount(), 1);
}

// ---- CList -------------------------------------------------------------------------

TEST(CListTest, PositionsSurviveInsertsAndRemovals)
{
    CStringList list;
    list.AddTail(L"b");
    POSITION c = list.AddTail(L"c");
    list.AddTail(L"d");
    POSITION a = list.AddHead(L"a");

    list.InsertBefore(c, L"c-");
    list.InsertAfter(c, L"c+");
    list.AddHead(L"head");
    list.AddTail(L"tail");
    EXPECT_EQ(list.GetAt(c), L"c");
    EXPECT_EQ(Forward(list), (std::vector<std::wstring>{L"head", L"a", L"b", L"c-", L"c", L"c+", L"d", L"tail"}));

    list.RemoveAt(a);
    list.RemoveAt(list.Find(L"c-"));
    EXPECT_EQ(list.RemoveHead(), L"head");
    EXPECT_EQ(list.RemoveTail(), L"tail");
    EXPECT_EQ(list.GetAt(c), L"c");
    list.SetAt(c, L"C");
    EXPECT_EQ(Forward(list), (std::vector<std::wstring>{L"b", L"C", L"c+", L"d"}));
    EXPECT_EQ(Backward(list), (std::vector<std::wstring>{L"d", L"c+", L"C", L"b"}));
    EXPECT_EQ(list.GetCount(), 4);

    POSITION walk = c;
    EXPECT_EQ(list.GetNext(walk), L"C");
    EXPECT_EQ(list.GetAt(walk), L"c+");
    walk = list.GetHeadPosition();
    list.GetPrev(walk);
    EXPECT_EQ(walk, nullptr);
}

TEST(CListTest, FindGoesOnAfterAPositionAndFindIndexStopsAtTheEnd)
{
    CStringList list;
    for (const wchar_t* item : {L"x", L"y", L"x", L"z"}) list.AddTail(item);
    POSITION first = list.Find(L"x");
    POSITION second = list.Find(L"x", first);
    EXPECT_NE(first, nullptr);
    EXPECT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(list.Find(L"x", second), nullptr);
    EXPECT_EQ(list.Find(L"absent"), nullptr);
    EXPECT_EQ(list.FindIndex(0), first);
    EXPECT_EQ(list.FindIndex(2), second);
    EXPECT_EQ(list.FindIndex(4), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);

    CPtrList pointers;
    int values[3] = {};
    for (int& v : values) pointers.AddTail(&v);
    EXPECT_EQ(pointers.GetAt(pointers.Find(&values[1])), &values[1]);
}

TEST(CListTest, EmptyListsAndNullPositionsAreHarmless)
{
    CStringList list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHead(), L"");
    EXPECT_EQ(list.RemoveHead(), L"");
    EXPECT_EQ(list.RemoveTail(), L"");
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    POSITION none = nullptr;
    EXPECT_EQ(list.GetNext(none), L"");
    list.RemoveAt(nullptr);
    list.InsertBefore(nullptr, L"first");   // a null position inserts at the head...
    list.InsertAfter(nullptr, L"last");     // ...or the tail
    list.InsertBefore(nullptr, L"zeroth");
    EXPECT_EQ(Forward(list), (std::vector<std::wstring>{L"zeroth", L"first", L"last"}));
}

TEST(CListTest, NodesAreDestroyed)
{
    ASSERT_EQ(Tracked::s_live, 0);
    {
        CList<Tracked> list;
        for (int i = 0; i < 10; ++i) list.AddTail(Tracked(i));
        EXPECT_EQ(Tracked::s_live, 10);
        list.RemoveAt(list.Find(Tracked(4)));
        EXPECT_EQ(Tracked::s_live, 9);
        list.AddTail(&list);   // appending itself doubles it
        EXPECT_EQ(list.GetCount(), 18);
        list.AddHead(&list);
        EXPECT_EQ(list.GetCount(), 36);
        EXPECT_EQ(list.GetHead().value, 0);
        EXPECT_EQ(list.GetTail().value, 9);
        list.RemoveAll();
        EXPECT_EQ(Tracked::s_live, 0);
        list.AddTail(Tracked(1));
    }
    EXPECT_EQ(Tracked::s_live, 0);
}

// The framework's other common argument forms: a non-const reference and a
// pointer argument for string elements.
TEST(CListTest, ContainersTakeReferenceAndPointerArgumentTypes)
{
    CList<CString, CString&> byReference;
    CString text(L"a");
    byReference.AddTail(text);
    byReference.AddHead(&byReference);
    EXPECT_EQ(byReference.GetCount(), 2);
    CArray<CPoint, CPoint&> points;
    CPoint point(3, 4);
    points.Add(point);
    points.InsertAt(0, point, 2);
    EXPECT_EQ(points.GetSize(), 3);
    EXPECT_EQ(points[2].y, 4);
    CList<CString, LPCWSTR> byPointer;
    byPointer.AddTail(L"x");
    EXPECT_NE(byPointer.Find(L"x"), nullptr);
}

// ---- CMap --------------------------------------------------------------------------

TEST(CMapTest, IterationVisitsEachKeyOnce)
{
    CMap<int, int, int, int> map;
    const int kCount = 1000;   // enough to make the table grow
    for (int i = 0; i < kCount; ++i) map[i * 3] = i;
    EXPECT_EQ(map.GetCount(), kCount);
    std::map<int, int> seen;
    POSITION pos = map.GetStartPosition();
    while (pos) {
        int key = -1;
        int value = -1;
        map.GetNextAssoc(pos, key, value);
        ++seen[key];
        EXPECT_EQ(value * 3, key);
    }
    EXPECT_EQ(static_cast<int>(seen.size()), kCount);
    for (const auto& entry : seen) EXPECT_EQ(entry.second, 1) << entry.first;

    int count = 0;
    for (const auto* pair = map.PGetFirstAssoc(); pair; pair = map.PGetNextAssoc(pair)) ++count;
    EXPECT_EQ(count, kCount);
}

// Removing the key just returned keeps the walk going.
TEST(CMapTest, RemovingTheCurrentKeyKeepsTheIterationGoing)
{
    CMapStringToString map;
    for (int i = 0; i < 50; ++i) {
        CString key;
        key.Format(L"key%d", i);
        map.SetAt(key, L"v");
    }
    std::set<std::wstring> seen;
    POSITION pos = map.GetStartPosition();
    while (pos) {
        CString key;
        CString value;
        map.GetNextAssoc(pos, key, value);
        seen.insert(key.GetString());
        EXPECT_TRUE(map.RemoveKey(key));
    }
    EXPECT_EQ(seen.size(), 50u);
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(map.GetStartPosition(), nullptr);
}

TEST(CMapTest, KeysAreCaseSensitiveAndSetAtReplaces)
{
    CMapStringToString map;
    CString value;
    EXPECT_FALSE(map.Lookup(L"missing", value));
    map.SetAt(L"Lead", L"II");
    map[L"lead"] = L"V5";   // keys are case-sensitive
    EXPECT_TRUE(map.Lookup(L"Lead", value));
    EXPECT_EQ(value, L"II");
    EXPECT_EQ(map[L"lead"], L"V5");
    EXPECT_EQ(map[L"new"], L"");   // operator[] adds a default value
    EXPECT_EQ(map.GetCount(), 3);
    map.SetAt(L"Lead", L"III");
    EXPECT_EQ(map.GetCount(), 3);
    EXPECT_TRUE(map.RemoveKey(L"Lead"));
    EXPECT_FALSE(map.RemoveKey(L"Lead"));
    EXPECT_EQ(map.PLookup(L"Lead"), nullptr);
    map.RemoveAll();
    EXPECT_EQ(map.GetCount(), 0);
    EXPECT_FALSE(map.Lookup(L"lead", value));
}

// PLookup pointers are node addresses: they stay valid while the table grows.
TEST(CMapTest, PairsKeepTheirAddress)
{
    CMapWordToPtr map;
    int target = 0;
    map.SetAt(7, &target);
    CMapWordToPtr::CPair* pair = map.PLookup(7);
    ASSERT_NE(pair, nullptr);
    UINT before = map.GetHashTableSize();
    for (WORD key = 100; key < 2100; ++key) map.SetAt(key, nullptr);
    EXPECT_GT(map.GetHashTableSize(), before);
    EXPECT_EQ(map.PLookup(7), pair);
    EXPECT_EQ(pair->key, 7);
    EXPECT_EQ(pair->value, &target);

    CMapPtrToPtr pointers;
    pointers.InitHashTable(101);
    EXPECT_EQ(pointers.GetHashTableSize(), 101u);
    pointers[&target] = &map;
    void* found = nullptr;
    EXPECT_TRUE(pointers.Lookup(&target, found));
    EXPECT_EQ(found, &map);

    CMapStringToPtr named;
    named.SetAt(L"心拍", &target);
    EXPECT_TRUE(named.Lookup(L"心拍", found));
    EXPECT_TRUE(named.IsKindOf(RUNTIME_CLASS(CMapStringToPtr)));

    CMap<CString, const CString&, int, int> byReference;
    byReference[CString(L"k")] = 1;
    int number = 0;
    EXPECT_TRUE(byReference.Lookup(CString(L"k"), number));
    EXPECT_EQ(number, 1);
}
