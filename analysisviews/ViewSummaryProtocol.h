// CViewSummaryProtocol: the protocol line of a master-step record in the
// summary pane (for a step-and-trip record the step count, the load time and
// the trip count; for every record the maximum ST depression with its time
// after the load and its lead), and the protocol block of the printed report.
#pragma once

#include "platform/ui/framework/View.h"

class CECGDC;
class CFinalViewDoc;

class CViewSummaryProtocol : public CView {
    DECLARE_DYNCREATE(CViewSummaryProtocol)

public:
    CViewSummaryProtocol() = default;

    void OnDraw(CDC* pDC) override;
    // The next paint reads the current record: nothing to keep.
    void OnUpdate(CView*, LPARAM, CObject*) override {}
    // The protocol block of a step-and-trip record at the rectangle's
    // top-left corner; 0 without a device, else 1.
    int Print(CECGDC* pDC, CRect* pRect);
    // Writes label at (x, y) and value one average character width after it;
    // the item's width.
    int OutProtocolItem(CDC* pDC, int x, int y, CString label, CString value);
    // The text of a standard acquisition time (-2 to 2); "*" for any other.
    static CString GetAcquisitionTime(short code);

    // The two labels of the step-and-trip items, each ending in one blank.
    static const wchar_t* const kStepLabel;
    static const wchar_t* const kTripLabel;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    CFinalViewDoc* FinalDoc() const;
    // A printed item: the label cleaned of ":" and end blanks, then " : "
    // and the value one "a" after it.
    void PrintItem(CDC* pDC, int x, int y, CString label, const CString& value);
};
