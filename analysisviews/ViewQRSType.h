// CViewQRSType: for each of the six QRS types of a resting record, its
// average RR, P duration, PR interval, QRS duration and QT interval, read
// from the record XML of the current item at each drawing.
#pragma once

#include "platform/gdi/Gdi.h"
#include "platform/ui/framework/View.h"

class CECGDC;
class CECGXMLParser;

#define QRS_TYPE_COUNT 6
#define QRS_TYPE_ROWS 5

class CViewQRSType : public CView {
    DECLARE_DYNCREATE(CViewQRSType)
public:
    CViewQRSType();

    void SetDocType(int type) { m_nDocType = type; }
    void OnDraw(CDC* pDC) override;
    // FALSE for another kind, without a current item or without a record XML.
    BOOL Print(CECGDC* pDC, CRect rect);

    // Interval `row` of QRS type `type`; "****" when unreadable.
    static CString ReadValue(CECGXMLParser& xml, int row, int type);

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    // The current rest item's record XML opened; null without a current rest
    // item, and, when `needPath` is set, for an item without a record XML.
    CECGXMLParser* OpenRecordXml(bool needPath) const;

    int m_nDocType = 0;
    CString m_strLabels[QRS_TYPE_ROWS];
    CString m_strKeys[QRS_TYPE_ROWS];
};
