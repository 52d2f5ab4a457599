#include "platform/ui/Document.h"

#include "platform/base/File.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

namespace {

platform::ui::ViewUpdateHandler g_viewUpdateHandler = nullptr;

}  // namespace

platform::ui::ViewUpdateHandler platform::ui::SetViewUpdateHandler(ViewUpdateHandler handler)
{
    ViewUpdateHandler previous = g_viewUpdateHandler;
    g_viewUpdateHandler = handler;
    return previous;
}

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
    m_viewList.AddTail(pView);
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    if (!pView) return;
    POSITION position = m_viewList.Find(pView);
    if (!position) return;
    m_viewList.RemoveAt(position);
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
    if (!g_viewUpdateHandler) return;
    POSITION position = GetFirstViewPosition();
    while (position) {
        CView* view = GetNextView(position);
        if (view != pSender) g_viewUpdateHandler(view, pSender, lHint, pHint);
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
    // The window system closes the views' frames here first, holding
    // m_bAutoDelete off meanwhile so that the last view going does not
    // delete the document under our feet.
    DeleteContents();
    if (m_bAutoDelete) delete this;
}

void CDocument::OnChangedViewList()
{
    if (m_bAutoDelete && m_viewList.IsEmpty()) OnCloseDocument();
}
