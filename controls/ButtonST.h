// CButtonST: the push button of the panels, forms and page panes. It
// takes over a dialog's button control (through DDX_Control), turns it
// owner-drawn and paints it itself: a face in configurable colours, a raised
// or sunken frame, an icon beside a word-wrapped centred caption, a focus
// rectangle, and in flat mode a frame only while the mouse is over it. A
// check-style button keeps a two-state check that its owner sets. A
// drop-down menu (CButtonMenu) may be attached, opened below the button on
// a click; without one, a link given to the button is opened with the shell.
// Every click also reaches the parent as BN_CLICKED.
#pragma once

#include "controls/ButtonMenu.h"
#include "platform/ui/framework/Button.h"
#include "platform/ui/framework/ToolTipCtrl.h"

// SetIcon's out icon that asks for a grey copy of the in icon.
#define BTNST_AUTO_GRAY (reinterpret_cast<HICON>(static_cast<INT_PTR>(-2)))

class CButtonST : public CButton {
public:
    // Colour slots of SetColor.
    enum {
        BTNST_COLOR_BK_IN = 0,     // face while hovered or pressed
        BTNST_COLOR_FG_IN = 1,     // caption while hovered or pressed
        BTNST_COLOR_BK_OUT = 2,    // face at rest
        BTNST_COLOR_FG_OUT = 3,    // caption at rest and while focused
        BTNST_COLOR_BK_FOCUS = 4,  // face while focused
        BTNST_COLOR_FG_FOCUS = 5,  // kept; a focused caption uses slot 3
        BTNST_COLOR_MARK = 6,      // the drop-down mark
        BTNST_MAX_COLORS = 7
    };

    CButtonST();
    ~CButtonST() override;

    // ---- setters: 0 on success ---------------------------------------------------------------
    // The icons become the button's (it destroys them when they are replaced
    // and with itself; shared icons survive that). hIconOut may be null (one
    // icon for every state) or BTNST_AUTO_GRAY. 1 when an icon cannot be read.
    DWORD SetIcon(HICON hIconIn, HICON hIconOut);
    // Icon resources; an out id of 0 gives no out icon, -2 a grey copy.
    DWORD SetIcon(int nIconIn, int nIconOut);
    DWORD SetFlat(BOOL bFlat, BOOL bRepaint = TRUE);
    // Only a check-style button takes the check.
    DWORD SetCheck(int nCheck, BOOL bRepaint = TRUE);
    // 3 for an index of 7 or more.
    DWORD SetColor(BYTE byColorIndex, COLORREF crColor, BOOL bRepaint = TRUE);
    // Attaches pop-up nSubMenu of a menu resource as the drop-down menu, whose
    // commands are posted to hTargetWnd; 0 for none unloads it. FALSE when it cannot be loaded.
    BOOL SetMenu(UINT nMenu, HWND hTargetWnd, int nSubMenu = 0, BOOL bRepaint = TRUE);
    DWORD SetDropDownMark(BOOL bMark, BOOL bRepaint = TRUE);
    // The link a click opens with the shell when no menu is attached (a path
    // or an address); null or empty for none. A longer text is cut to 259
    // characters.
    DWORD SetURL(LPCWSTR lpszURL = nullptr);

    // A grey copy of an icon (black pixels stay black); null on failure.
    static HICON MakeGreyIcon(HICON hIcon);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

protected:
    void PreSubclassWindow() override;
    virtual DWORD PaintFace(CDC* pDC, CRect* pRect);
    virtual DWORD PaintBorder(CDC* pDC, CRect* pRect);

    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnSysColorChange();
    afx_msg BOOL OnClickedReflect();
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnCancelMode();
    afx_msg UINT OnGetDlgCode();
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    afx_msg LRESULT OnSetStyleMsg(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMouseLeave();
    afx_msg LRESULT OnSetCheckMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetCheckMsg(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    struct STRUCT_ICONS {
        HICON hIcon = nullptr;
        DWORD dwWidth = 0;    // pixels
        DWORD dwHeight = 0;
    };

    void PaintItem(CDC* pDC, LPDRAWITEMSTRUCT lpDIS);
    void CancelHover();
    void OpenURL();
    void Repaint(BOOL bRepaint);
    void FreeIcons();
    void DrawEdgeRaised(CDC* pDC, const CRect& rc);
    void DrawDropDownMark(CDC* pDC, const CRect& rc);
    void DrawIconImage(CDC* pDC, const CRect& rcItem, BOOL bHasTitle, CRect& rcCaption);
    void DrawCaption(CDC* pDC, const CString& strTitle, CRect rcCaption);

    BOOL m_bIsFlat = TRUE;          // no frame unless hovered; gates hover tracking
    BOOL m_bMouseOnButton = FALSE;  // hovered (flat mode only)
    BOOL m_bIsPressed = FALSE;      // set by each paint
    BOOL m_bIsFocused = FALSE;      // set by each paint
    BOOL m_bIsDisabled = FALSE;     // set by each paint
    BOOL m_bIsDefault = FALSE;      // the dialog's default push button
    BOOL m_bIsCheckBox = FALSE;     // two-state check button
    COLORREF m_crColors[BTNST_MAX_COLORS];
    HWND m_hMenuTarget = nullptr;   // receives the command chosen in the drop-down menu
    BOOL m_bMenuDisplayed = FALSE;  // the drop-down menu is open
    BOOL m_bDrawDropDownMark = FALSE;
    int m_nMenuPos = 0;             // which pop-up of the menu resource drops down
    CButtonMenu m_menuPopup;
    CToolTipCtrl m_ToolTip;         // created on first use
    BOOL m_nCheck = FALSE;          // check state in check-box mode
    WCHAR m_szURL[MAX_PATH] = {};   // the link; empty for none
    STRUCT_ICONS m_csIcons[2];      // 0 the in icon, 1 the out icon
};
