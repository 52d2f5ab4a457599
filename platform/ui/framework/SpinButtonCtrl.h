// CSpinButtonCtrl: the framework's up-down control, a "msctls_updown32" window.
#pragma once

#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/ControlRecords.h"

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    CSpinButtonCtrl() = default;
    ~CSpinButtonCtrl() override;

    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    using CWnd::Create;   // the child-window form of every window stays callable

    BOOL SetAccel(int nAccel, UDACCEL* pAccel);
    UINT GetAccel(int nAccel, UDACCEL* pAccel) const;
    // 10 or 16; the previous base, 0 for another value.
    int SetBase(int nBase);
    UINT GetBase() const;
    CWnd* SetBuddy(CWnd* pWndBuddy);
    CWnd* GetBuddy() const;
    // The previous position.
    int SetPos(int nPos);
    // The position in the low word; the high word is nonzero when the buddy holds no valid number.
    int GetPos() const;
    int SetPos32(int nPos);
    int GetPos32(BOOL* lpbError = nullptr) const;
    void SetRange(short nLower, short nUpper);
    void SetRange32(int nLower, int nUpper);
    // The upper end in the low word, the lower end in the high word.
    DWORD GetRange() const;
    void GetRange(int& lower, int& upper) const;
    void GetRange32(int& lower, int& upper) const;
};
