#include <gtest/gtest.h>

#include <vector>

#include "core/DataItem.h"
#include "core/DataManager.h"
#include "core/TavrionDoc.h"
#include "documents/RhythmDataItem.h"

namespace {

// Counts item destructions so the tests can check that deleted items are
// really freed, once.
struct CountedItem {
    static int s_destroyed;
    ~CountedItem() { ++s_destroyed; }
    int nID = 0;
    unsigned int uSystemCode = 0;
    CString strFilePath, strXMLPath, strThirdKey;
    CountedItem* pNext = nullptr;
};
int CountedItem::s_destroyed = 0;

CountedItem* Add(CDataManager<CountedItem>& list, LPCWSTR file, LPCWSTR xml, LPCWSTR third = L"")
{
    CountedItem* item = new CountedItem;
    item->strFilePath = file;
    item->strXMLPath = xml;
    item->strThirdKey = third;
    return list.AppendItem(item);
}

std::vector<int> Ids(const CDataManager<CountedItem>& list)
{
    std::vector<int> ids;
    for (CountedItem* item = list.GetListHeader(); item; item = item->pNext) ids.push_back(item->nID);
    return ids;
}

std::vector<CString> Files(const CDataManager<CountedItem>& list)
{
    std::vector<CString> files;
    for (CountedItem* item = list.GetListHeader(); item; item = item->pNext) files.push_back(item->strFilePath);
    return files;
}

class DataManagerTest : public ::testing::Test {
protected:
    void SetUp() override { CountedItem::s_destroyed = 0; }
    void TearDown() override { list.FreeAll(); }
    CDataManager<CountedItem> list;
};

}  // namespace

TEST_F(DataManagerTest, FindsByIdAndByKeysIgnoringCase)
{
    Add(list, L"C:\\rec\\a.ecg", L"C:\\rec\\a1.xml");
    Add(list, L"C:\\rec\\b.ecg", L"C:\\rec\\b1.xml", L"C:\\src\\b.mwf");
    Add(list, L"C:\\rec\\a.ecg", L"C:\\rec\\a2.xml");

    EXPECT_EQ(list.GetItem(1)->strFilePath, L"C:\\rec\\b.ecg");
    EXPECT_EQ(list.GetItem(3), nullptr);
    EXPECT_EQ(list.GetItem(-1), nullptr);
    // Empty XML path and third key: the first item of the file, whatever its XML.
    EXPECT_EQ(list.GetItem(CString(), CString(L"c:\\REC\\A.ECG"), CString())->nID, 0);
    EXPECT_EQ(list.GetItem(CString(L"C:\\REC\\A2.XML"), CString(L"C:\\rec\\a.ecg"), CString())->nID, 2);
    EXPECT_EQ(list.GetItem(CString(L"C:\\rec\\a3.xml"), CString(L"C:\\rec\\a.ecg"), CString()), nullptr);
    EXPECT_EQ(list.GetItem(CString(), CString(L"C:\\rec\\b.ecg"), CString(L"c:\\src\\B.MWF"))->nID, 1);
    EXPECT_EQ(list.GetItem(CString(), CString(L"C:\\rec\\b.ecg"), CString(L"other")), nullptr);
    // By XML path alone.
    EXPECT_EQ(list.GetItem(CString(L"c:\\rec\\b1.xml"))->nID, 1);
}

TEST_F(DataManagerTest, DeletingKeepsIdsDenseAndInOrder)
{
    Add(list, L"a", L"x");
    Add(list, L"b", L"x");
    Add(list, L"c", L"x");
    EXPECT_EQ(list.DeleteItem(CString(L"x"), CString(L"B"), CString()), 1);
    EXPECT_EQ(Ids(list), (std::vector<int>{0, 1}));
    EXPECT_EQ(Files(list), (std::vector<CString>{CString(L"a"), CString(L"c")}));
    EXPECT_EQ(CountedItem::s_destroyed, 1);
}

TEST_F(DataManagerTest, AdjacentMatchesAreAllDeleted)
{
    Add(list, L"a", L"x");
    Add(list, L"m", L"x");
    Add(list, L"m", L"x");
    Add(list, L"d", L"x");
    Add(list, L"m", L"x");
    EXPECT_EQ(list.DeleteItem(CString(L"x"), CString(L"m"), CString()), 1);
    EXPECT_EQ(Files(list), (std::vector<CString>{CString(L"a"), CString(L"d")}));
    EXPECT_EQ(Ids(list), (std::vector<int>{0, 1}));
    EXPECT_EQ(CountedItem::s_destroyed, 3);
}

TEST_F(DataManagerTest, DeletingMatchesEmptyKeysOnlyWithEmptyKeys)
{
    Add(list, L"a", L"x", L"third");
    Add(list, L"a", L"", L"");
    // An empty third key does not match an item whose third key is set.
    EXPECT_EQ(list.DeleteItem(CString(L"x"), CString(L"a"), CString()), 0);
    EXPECT_EQ(list.DeleteItem(CString(L"X"), CString(L"A"), CString(L"THIRD")), 1);
    EXPECT_EQ(list.DeleteItem(CString(), CString(L"a"), CString()), 1);
    EXPECT_EQ(list.GetListHeader(), nullptr);
    EXPECT_EQ(list.DeleteItem(CString(), CString(L"a"), CString()), 0);
}

TEST_F(DataManagerTest, FreeAllEmptiesTheListAndFreesEveryItem)
{
    EXPECT_EQ(list.FreeAll(), 1);
    Add(list, L"a", L"x");
    Add(list, L"b", L"x");
    CDataManager<CountedItem> copy = list;   // shares the items
    EXPECT_EQ(copy.GetListHeader(), list.GetListHeader());
    EXPECT_EQ(list.FreeAll(), 1);
    EXPECT_EQ(list.GetListHeader(), nullptr);
    EXPECT_EQ(CountedItem::s_destroyed, 2);
    // Appending after deletions continues the dense ids.
    Add(list, L"c", L"x");
    EXPECT_EQ(Ids(list), (std::vector<int>{0}));
}

TEST(TavrionDocItems, CurrentItemFollowsTheCurrentIndex)
{
    CTavrionDoc doc;
    EXPECT_EQ(doc.GetCurDataItem(), nullptr);
    doc.SetCurDataIndex(0);
    EXPECT_EQ(doc.GetCurDataItem(), nullptr);

    _DATAITEM* first = doc.GetDataManager().AppendItem(new _DATAITEM);
    first->strXMLPath = L"C:\\r\\first.xml";
    first->b8000File = 1;
    _DATAITEM* second = doc.GetDataManager().AppendItem(new _DATAITEM);
    second->strXMLPath = L"C:\\r\\second.xml";
    EXPECT_EQ(doc.GetCurDataItem(), first);
    doc.SetCurDataIndex(1);
    EXPECT_EQ(doc.GetCurDataItem(), second);
    EXPECT_EQ(doc.GetListHeader(), first);
    EXPECT_EQ(doc.Is8000File(CString(L"c:\\R\\FIRST.XML")), 1);
    EXPECT_EQ(doc.Is8000File(CString(L"C:\\r\\second.xml")), 0);
    EXPECT_EQ(doc.Is8000File(CString(L"C:\\r\\none.xml")), 0);
    // Items with annotations are freed with the document (checked under ASan).
    first->pAnnoHead = new _ANNOTATION_INFO;
    first->pAnnoHead->pNext = new _ANNOTATION_INFO;
    first->pAnnoHead->pNext->pSketchHead = new _SKETCH_INFO;
}

TEST(TavrionDocItems, ExaminationItemListsUseTheSameList)
{
    CDataManager<_RHYTHMDATAITEM> rhythm;
    _RHYTHMDATAITEM* item = rhythm.AppendItem(new _RHYTHMDATAITEM);
    item->strFilePath = L"r.ecg";
    item->nLeadCount = 3;
    EXPECT_EQ(rhythm.GetItem(CString(), CString(L"R.ECG"), CString())->nLeadCount, 3);
    EXPECT_EQ(rhythm.FreeAll(), 1);
}
