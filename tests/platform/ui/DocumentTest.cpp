// The framework's document: its life cycle overridables, title and path,
// the view list with real views, updates and closing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/framework/Document.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/framework/View.h"
#include "tests/platform/ui/UiTestSupport.h"

namespace {

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

// A view that records its updates; without a window unless created.
class CRecordingView : public CView {
public:
    explicit CRecordingView(std::vector<ViewUpdate>* updates = nullptr, int* deleted = nullptr)
        : m_pUpdates(updates), m_pDeleted(deleted)
    {
    }
    ~CRecordingView() override
    {
        if (m_pDeleted) ++*m_pDeleted;
    }
    void OnDraw(CDC*) override {}
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override
    {
        if (m_pUpdates) m_pUpdates->push_back({this, pSender, lHint, pHint});
    }
    // A view on the stack must not delete itself when its window goes.
    void PostNcDestroy() override {}

private:
    std::vector<ViewUpdate>* m_pUpdates;
    int* m_pDeleted;
};

class CHeapView : public CRecordingView {
    DECLARE_DYNCREATE(CHeapView)
public:
    CHeapView() : CRecordingView(nullptr, &s_deleted) {}
    void PostNcDestroy() override { delete this; }
    static int s_deleted;
};

int CHeapView::s_deleted = 0;
IMPLEMENT_DYNCREATE(CHeapView, CView)

class DocumentViewTest : public uitest::WindowLeakCheck {};

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

TEST(DocumentViews, ViewsAreListedOnceInTheOrderAddedAndKnowTheirDocument)
{
    CDocument document;
    document.m_bAutoDelete = FALSE;
    CRecordingView first, second, third;
    EXPECT_EQ(nullptr, document.GetFirstViewPosition());
    document.AddView(&first);
    document.AddView(&second);
    document.AddView(&second);   // a view is listed once
    document.AddView(nullptr);
    document.AddView(&third);
    document.RemoveView(&second);
    CRecordingView stranger;
    document.RemoveView(&stranger);   // not there: nothing happens

    std::vector<CView*> views;
    for (POSITION position = document.GetFirstViewPosition(); position;) views.push_back(document.GetNextView(position));
    EXPECT_EQ((std::vector<CView*>{&first, &third}), views);
    EXPECT_EQ(&document, first.GetDocument());
    EXPECT_EQ(nullptr, second.GetDocument());
    POSITION end = nullptr;
    EXPECT_EQ(nullptr, document.GetNextView(end));
    document.RemoveView(&first);
    document.RemoveView(&third);
}

TEST(DocumentViews, AViewMovesToTheDocumentItIsAddedTo)
{
    CDocument a;
    CDocument b;
    a.m_bAutoDelete = b.m_bAutoDelete = FALSE;
    CRecordingView view;
    a.AddView(&view);
    b.AddView(&view);
    EXPECT_EQ(&b, view.GetDocument());
    EXPECT_EQ(nullptr, a.GetFirstViewPosition());
    b.RemoveView(&view);
}

TEST(DocumentViews, DeletedViewLeavesTheList)
{
    CDocument document;
    document.m_bAutoDelete = FALSE;
    {
        CRecordingView view;
        document.AddView(&view);
    }
    EXPECT_EQ(nullptr, document.GetFirstViewPosition());
}

TEST(DocumentViews, UpdateReachesEveryViewButTheSender)
{
    std::vector<ViewUpdate> updates;
    CDocument document;
    document.m_bAutoDelete = FALSE;
    CRecordingView first(&updates), second(&updates), third(&updates);
    document.AddView(&first);
    document.AddView(&second);
    document.AddView(&third);
    CDocument hintObject;
    hintObject.m_bAutoDelete = FALSE;

    document.UpdateAllViews(&second, 7, &hintObject);
    ASSERT_EQ(2u, updates.size());
    EXPECT_EQ(&first, updates[0].view);
    EXPECT_EQ(&third, updates[1].view);
    EXPECT_EQ(&second, updates[1].sender);
    EXPECT_EQ(7, updates[1].hint);
    EXPECT_EQ(&hintObject, updates[1].hintObject);

    updates.clear();
    document.UpdateAllViews(nullptr);
    EXPECT_EQ(3u, updates.size());
    for (CView* view : {static_cast<CView*>(&first), static_cast<CView*>(&second), static_cast<CView*>(&third)})
        document.RemoveView(view);
}

TEST(DocumentClose, AutoDeletingDocumentGoesWithItsLastView)
{
    int destroyed = 0;
    auto* document = new CCountingDocument(&destroyed);
    CRecordingView first, second;
    document->AddView(&first);
    document->AddView(&second);
    document->RemoveView(&first);
    EXPECT_EQ(0, destroyed);
    document->RemoveView(&second);
    EXPECT_EQ(1, destroyed);
    EXPECT_EQ(nullptr, second.GetDocument());
}

TEST(DocumentClose, CloseLetsGoOfViewsWithoutWindows)
{
    int destroyed = 0;
    auto* document = new CCountingDocument(&destroyed);
    CRecordingView view;
    document->AddView(&view);
    document->OnCloseDocument();   // ends even though the view never goes away
    EXPECT_EQ(1, destroyed);
    EXPECT_EQ(nullptr, view.GetDocument());

    CCountingDocument kept(&destroyed);
    kept.m_bAutoDelete = FALSE;
    kept.OnCloseDocument();
    EXPECT_EQ(1, kept.m_nDeleteContents);
    EXPECT_EQ(1, destroyed);
}

TEST_F(DocumentViewTest, CloseDestroysTheFramesOfTheViewsAndThenTheDocument)
{
    int destroyed = 0;
    auto* document = new CCountingDocument(&destroyed);
    CWnd pane;
    ASSERT_TRUE(pane.CreateEx(0, uitest::kLoggedClass, L"pane", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    CHeapView::s_deleted = 0;
    for (int i = 0; i < 2; ++i) {
        auto* frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &pane));
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CHeapView);
        context.m_pCurrentDoc = document;
        ASSERT_NE(nullptr, frame->CreateView(&context));
    }
    EXPECT_EQ(2, pane.GetWindow(GW_CHILD) ? 2 : 0);
    document->OnCloseDocument();
    EXPECT_EQ(1, destroyed);
    EXPECT_EQ(2, CHeapView::s_deleted);
    EXPECT_EQ(nullptr, pane.GetWindow(GW_CHILD));   // both frames went
    pane.DestroyWindow();
}
