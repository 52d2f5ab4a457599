// CViewRRIntervalList: every RR interval of the current record by its running
// number and its length in ms, 240 a screen page (6 columns of 40) and 400 a
// printed page (10 columns of 40). The view keeps its own 16-bit copy of the
// lengths, taken when the document is updated; the marks are read from the
// record's list when printing.
#pragma once

#include <map>

#include "platform/ui/framework/View.h"

class CECGDC;

#define RR_LIST_ROWS 40
#define RR_LIST_SCREEN_COLUMNS 6
#define RR_LIST_PRINT_COLUMNS 10
#define RR_LIST_SCREEN_PAGE (RR_LIST_ROWS * RR_LIST_SCREEN_COLUMNS)
#define RR_LIST_PRINT_PAGE (RR_LIST_ROWS * RR_LIST_PRINT_COLUMNS)
#define RR_LIST_MAX_COUNT 32767   // the most intervals the 16-bit count holds

class CViewRRIntervalList : public CView {
    DECLARE_DYNCREATE(CViewRRIntervalList)

public:
    CViewRRIntervalList();
    ~CViewRRIntervalList() override;

    // Pages of columns × rows intervals the copied list needs; 0 for an
    // empty list or an empty page.
    int GetTotalPage(int columns, int rows);
    // Moves the screen page by `step` (past the last page: back to the
    // first) and repaints. 3 the list fits one page, 1 the first page, 2 the
    // last, 0 otherwise.
    int ChangePage(int step);
    int GetCurrentPage() const { return m_nCurPage; }
    short GetIntervalCount() const { return m_nRRCount; }

    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    // Printed page `page` (from 1) of 400 intervals, or with 0 the page on
    // screen. FALSE without a device or a current record.
    BOOL Print(CECGDC* pDC, CRect rect, int page);

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    // Replaces the copy with the item's lengths.
    void CopyIntervals();
    void DrawScreenColumn(CDC* pDC, int column, int lineStep, int charWidth, int top);
    // Interval i's length as it is shown: always the record's value, also
    // where it is negative (the record gives none) or past 65,535 ms.
    int ShownLength(int i) const;

    int m_nCurPage;              // 0-based screen page
    short m_nRRCount;            // intervals copied, 0 to RR_LIST_MAX_COUNT
    unsigned short* m_pRRBuffer; // the copied lengths in ms (low 16 bits), owned
    std::map<int, int> m_unheld;    // index → the record's length where the 16 bits cannot hold it
};
