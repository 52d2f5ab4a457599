// CToolTipCtrl: the framework's tooltip, a "tooltips_class32" pop-up owned
// by the window that creates it. A tool named by a window alone (nIDTool 0)
// is that whole window; one with an id is a rectangle of the window.
#pragma once

#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/ControlRecords.h"

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl() override;

    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    using CWnd::Create;   // the child-window form of every window stays callable

    void Activate(BOOL bActivate);
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    int GetToolCount() const;
    void RelayEvent(LPMSG lpMsg);
    // The initial delay, milliseconds (and the others from it).
    void SetDelayTime(UINT nDelay);
    void SetDelayTime(DWORD dwDuration, int iTime);
    int GetDelayTime(DWORD dwDuration) const;
    int SetMaxTipWidth(int iWidth);
    int GetMaxTipWidth() const;
    void SetTipBkColor(COLORREF clr);
    void SetTipTextColor(COLORREF clr);
    void Pop();
    void Update();

protected:
    void FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const;
};
