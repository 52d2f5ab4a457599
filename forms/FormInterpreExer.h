// The interpretation form of exercise (stress) tests: request fields, the
// load data (protocol, load time, stop condition, maximum and target heart
// rates, ST level and slope), the judgement, the comment and the
// confirmation, in three columns placed from Interpre_exer, each closing up
// its own hidden rows. The values live in the exercise document's store.
#pragma once

#include "forms/FormControls.h"
#include "forms/FormInterpreBase.h"

class CMultiEdit;
struct _POSITION_CTRL;

class CFormInterpreExer : public CFormInterpreBase {
    DECLARE_DYNCREATE(CFormInterpreExer)

public:
    enum { IDD = 157 };
    static constexpr int kRowCount = 46;

    CFormInterpreExer();
    ~CFormInterpreExer() override;

    int InsertEditableParam();
    void InitCheckUIArray() override;
    void LimitCtrl() override;
    void MoveCtrl(int bRecheck) override;
    void OnInitialUpdate() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    CWnd* GetRowControl(int row) const { return m_controls.Row(row); }
    CMultiEdit* GetCommentEdit() const;
    int GetLayoutPasses() const { return m_nLayoutPasses; }

protected:
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg LRESULT OnCmbSelChange(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    struct Columns;

    const _POSITION_CTRL* Layout() const;
    void InitEditableParam();
    void Refresh();
    void PlaceExerRow(int row, Columns& columns, int bConfirmed);
    void EditComment();
    BOOL OnTabKey();
    bool FocusFirstUsable(const UINT* ids, size_t count);

    CFormControls m_controls;
    CWnd m_commentTemplate;   // the template's edit 4058, kept hidden
    int m_bInitialized = 0;
    int m_nLayoutPasses = 0;
};
