// CViewRRResult: the results of the RR analysis as the record stores them,
// nine totals and a table of one row per minute (up to ten), beside the
// histogram and trend on the RR result page. It computes nothing: every
// value is the record XML's text in the current item.
#pragma once

#include "platform/ui/framework/View.h"

class CECGDC;
struct _RRDATAITEM;

#define RR_RESULT_COLUMNS 9   // the minute column and the eight RR50 columns

class CViewRRResult : public CView {
    DECLARE_DYNCREATE(CViewRRResult)

public:
    CViewRRResult() = default;
    ~CViewRRResult() override;

    void OnDraw(CDC* pDC) override;
    // The per-minute table into rect on the report's device, in its current
    // font and pen; the totals are not printed.
    void Print(CECGDC* pDC, CRect* pRect);
    // The nine totals from (x, y) down.
    void DrawTotal(CDC* pDC, int x, int y);
    // The per-minute table in rect, banded white when printing.
    void DrawView(CDC* pDC, CRect rect, BOOL bPrint);

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    // The table's geometry: the rectangle, row height, column width, the
    // right edge of its lines and its bottom.
    struct Table {
        CRect r;
        int rh, cw, xr, yb, rows;
    };
    void DrawRules(CDC* pDC, const Table& t, BOOL bPrint);
    void DrawCells(CDC* pDC, const Table& t, const _RRDATAITEM* pItem);
    // The document's display scales; 1 without one.
    double XScale() const;
    double YScale() const;
};
