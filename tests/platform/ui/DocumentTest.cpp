// The framework's document: its life cycle overridables, title and path,
// the view list and self-deletion.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Document.h"

namespace {

// Views are opaque to the document; any distinct addresses do.
CView* FakeView(int n)
{
    static char storage[8];
    return reinterpret_cast<CView*>(&storage[n]);
}

class CCountingDocument : public CDocument {
public:
    explicit CCountingDocument(int* destroyed = nullptr) : m_pDestroyed(destroyed) {}
    ~CCountingDocument() override
    {
        if (m_pDestroyed) ++*m_pDestroyed;
    }
    void DeleteContents() override
    {
        ++m_nDeleteContents;
        m_bModifiedWhenEmptied = m_bModified;
    }

    int m_nDeleteContents = 0;
    BOOL m_bModifiedWhenEmptied = FALSE;

private:
    int* m_pDestroyed;
};

struct ViewUpdate {
    CView* view;
    CView* sender;
    LPARAM hint;
    CObject* hintObject;
};

std::vector<ViewUpdate> g_updates;

void RecordUpdate(CView* view, CView* sender, LPARAM hint, CObject* hintObject)
{
    g_updates.push_back({view, sender, hint, hintObject});
}

class ViewUpdateScope {
public:
    ViewUpdateScope() : m_previous(platform::ui::SetViewUpdateHandler(&RecordUpdate)) { g_updates.clear(); }
    ~ViewUpdateScope() { platform::ui::SetViewUpdateHandler(m_previous); }

private:
    platform::ui::ViewUpdateHandler m_previous;
};

}  // namespace

TEST(DocumentLifeCycle, NewDocumentEmptiesAndClearsTheModifiedFlag)
{
    CCountingDocument document;
    document.m_bAutoDelete = FALSE;
    EXPECT_FALSE(document.IsModified());
    document.SetModifiedFlag();
    EXPECT_TRUE(document.IsModified());
    document.SetPathName(L"C:\\ECG\\A001.ecg");

    EXPECT_TRUE(document.OnNewDocument());
    EXPECT_EQ(1, document.m_nDeleteContents);
    EXPECT_TRUE(document.m_bModifiedWhenEmptied);   // emptied first, flag cleared after
    EXPECT_FALSE(document.IsModified());
    EXPECT_TRUE(document.GetPathName().IsEmpty());
}

TEST(DocumentLifeCycle, OpenAndSaveLeaveTheDocumentUnmodified)
{
    CCountingDocument document;
    document.m_bAutoDelete = FALSE;
    document.SetModifiedFlag(TRUE);
    EXPECT_TRUE(document.OnOpenDocument(L"/records/A001.ecg"));
    EXPECT_EQ(1, document.m_nDeleteContents);
    EXPECT_FALSE(document.IsModified());
    document.SetModifiedFlag(TRUE);
    EXPECT_TRUE(document.OnSaveDocument(L"/records/A001.ecg"));
    EXPECT_EQ(1, document.m_nDeleteContents);   // saving keeps the contents
    EXPECT_FALSE(document.IsModified());
    document.SetModifiedFlag(FALSE);
    EXPECT_FALSE(document.IsModified());
}

TEST(DocumentTitle, PathNameTitlesTheDocumentWithItsFileName)
{
    CDocument document;
    document.m_bAutoDelete = FALSE;
    document.SetPathName(L"D:\\rec\\A001.ecg");
    EXPECT_EQ(CString(L"D:\\rec\\A001.ecg"), document.GetPathName());
    EXPECT_EQ(CString(L"A001.ecg"), document.GetTitle());
    document.SetPathName(L"/home/user/記録/B002.mwf");
    EXPECT_EQ(CString(L"B002.mwf"), document.GetTitle());
    document.SetPathName(L"plain.xml");
    EXPECT_EQ(CString(L"plain.xml"), document.GetTitle());
    document.SetTitle(L"心電図");
    EXPECT_EQ(CString(L"心電図"), document.GetTitle());
    EXPECT_EQ(CString(L"plain.xml"), document.GetPathName());
    document.SetTitle(nullptr);
    EXPECT_TRUE(document.GetTitle().IsEmpty());
}

TEST(DocumentViews, ViewsAreListedInTheOrderAdded)
{
    CDocument document;
    document.m_bAutoDelete = FALSE;
    EXPECT_EQ(nullptr, document.GetFirstViewPosition());
    document.AddView(FakeView(0));
    document.AddView(FakeView(1));
    document.AddView(FakeView(1));   // a view is listed once
    document.AddView(nullptr);
    document.AddView(FakeView(2));
    document.RemoveView(FakeView(1));
    document.RemoveView(FakeView(5));   // not there: nothing happens

    std::vector<CView*> views;
    for (POSITION position = document.GetFirstViewPosition(); position;) views.push_back(document.GetNextView(position));
    EXPECT_EQ((std::vector<CView*>{FakeView(0), FakeView(2)}), views);
    POSITION end = nullptr;
    EXPECT_EQ(nullptr, document.GetNextView(end));
}

TEST(DocumentViews, UpdateReachesEveryViewButTheSender)
{
    ViewUpdateScope scope;
    CDocument document;
    document.m_bAutoDelete = FALSE;
    document.AddView(FakeView(0));
    document.AddView(FakeView(1));
    document.AddView(FakeView(2));
    CDocument hintObject;
    hintObject.m_bAutoDelete = FALSE;

    document.UpdateAllViews(FakeView(1), 7, &hintObject);
    ASSERT_EQ(2u, g_updates.size());
    EXPECT_EQ(FakeView(0), g_updates[0].view);
    EXPECT_EQ(FakeView(2), g_updates[1].view);
    EXPECT_EQ(FakeView(1), g_updates[1].sender);
    EXPECT_EQ(7, g_updates[1].hint);
    EXPECT_EQ(&hintObject, g_updates[1].hintObject);

    g_updates.clear();
    document.UpdateAllViews(nullptr);
    EXPECT_EQ(3u, g_updates.size());
}

TEST(DocumentClose, AutoDeletingDocumentGoesWithItsLastView)
{
    int destroyed = 0;
    auto* document = new CCountingDocument(&destroyed);
    document->AddView(FakeView(0));
    document->AddView(FakeView(1));
    document->RemoveView(FakeView(0));
    EXPECT_EQ(0, destroyed);
    document->RemoveView(FakeView(1));
    EXPECT_EQ(1, destroyed);
}

TEST(DocumentClose, CloseEmptiesAndDeletesOnlyWhenAutoDeleting)
{
    int destroyed = 0;
    auto* document = new CCountingDocument(&destroyed);
    document->OnCloseDocument();
    EXPECT_EQ(1, destroyed);

    CCountingDocument kept(&destroyed);
    kept.m_bAutoDelete = FALSE;
    kept.AddView(FakeView(0));
    kept.RemoveView(FakeView(0));
    kept.OnCloseDocument();
    EXPECT_EQ(1, kept.m_nDeleteContents);
    EXPECT_EQ(1, destroyed);
}
