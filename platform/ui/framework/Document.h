// CDocument: the framework's document, with its title, path, modified flag
// and the list of views showing it. A view joins the list when it is
// created for the document and leaves it when it is deleted.
#pragma once

#include "platform/base/Collections.h"
#include "platform/base/Strings.h"
#include "platform/ui/framework/CmdTarget.h"

class CView;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;

    // Title and file.
    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCTSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // Keeps the path as given and titles the document with its file name.
    virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);

    virtual BOOL IsModified();
    virtual void SetModifiedFlag(BOOL bModified = TRUE);

    // Views, in the order they were added. A view belongs to one document:
    // adding it here takes it from the one it showed before.
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;
    // Tells every view but `pSender` (which may be null) that the document changed.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = nullptr);

    // Overridables of the document's life.
    virtual void DeleteContents();
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
    virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
    // Destroys the windows of the views (each view's frame, or the view
    // itself when it has none), empties the document and, when it deletes
    // itself, deletes it: the caller must not touch it afterwards.
    virtual void OnCloseDocument();
    // A document that deletes itself closes when its last view goes.
    virtual void OnChangedViewList();

    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified;
    BOOL m_bAutoDelete;   // TRUE: the document deletes itself on OnCloseDocument

protected:
    CPtrList m_viewList;   // CView*, not owned
};
