#include "platform/ui/framework/Document.h"

#include <vector>

#include "platform/base/File.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/framework/View.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

CDocument::CDocument() : m_bModified(FALSE), m_bAutoDelete(TRUE)
{
}

CDocument::~CDocument() = default;

void CDocument::SetTitle(LPCTSTR lpszTitle)
{
    m_strTitle = lpszTitle ? lpszTitle : L"";
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU)
{
    (void)bAddToMRU;   // there is no recent-file list
    m_strPathName = lpszPathName ? lpszPathName : L"";
    SetTitle(m_strPathName.Mid(PathLastSeparator(m_strPathName) + 1));
}

BOOL CDocument::IsModified()
{
    return m_bModified;
}

void CDocument::SetModifiedFlag(BOOL bModified)
{
    m_bModified = bModified;
}

void CDocument::AddView(CView* pView)
{
    if (!pView || m_viewList.Find(pView)) return;
    if (pView->m_pDocument && pView->m_pDocument != this) pView->m_pDocument->RemoveView(pView);
    m_viewList.AddTail(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    if (!pView) return;
    POSITION position = m_viewList.Find(pView);
    if (!position) return;
    m_viewList.RemoveAt(position);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

POSITION CDocument::GetFirstViewPosition() const
{
    return m_viewList.GetHeadPosition();
}

CView* CDocument::GetNextView(POSITION& rPosition) const
{
    if (!rPosition) return nullptr;
    return static_cast<CView*>(m_viewList.GetNext(rPosition));
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    // A snapshot: a view's OnUpdate may close views.
    std::vector<CView*> views;
    for (POSITION position = GetFirstViewPosition(); position;) views.push_back(GetNextView(position));
    for (CView* view : views) {
        if (view == pSender || !m_viewList.Find(view)) continue;
        view->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::DeleteContents()
{
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName)
{
    (void)lpszPathName;   // the system's documents read their records in their own overrides
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName)
{
    (void)lpszPathName;   // as for opening: the overrides write the files
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    // The last view going must not delete the document under our feet.
    const BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.IsEmpty()) {
        CView* view = static_cast<CView*>(m_viewList.GetHead());
        CFrameWnd* frame = view->GetParentFrame();
        if (frame)
            frame->DestroyWindow();
        else if (view->m_hWnd)
            view->DestroyWindow();
        // A view that outlives its window (it does not delete itself) still
        // leaves the list, so that closing always ends.
        if (!m_viewList.IsEmpty() && m_viewList.GetHead() == view) RemoveView(view);
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete) delete this;
}

void CDocument::OnChangedViewList()
{
    if (m_bAutoDelete && m_viewList.IsEmpty()) OnCloseDocument();
}
