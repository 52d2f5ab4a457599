// CViewResultTable: the result table of an exercise test, eight rows
// (percentage, heart rate, METs, VO2, kcal per ten minutes, the two speeds,
// the load) against ten columns of the shares of the predicted maximum heart
// rate, as the document prepared the texts. On paper it adds a heading, the
// METs regression line and the reviewing doctor's signature line.
#pragma once

#include "documents/ExerViewDoc.h"
#include "platform/ui/framework/View.h"

class CECGDC;
class CECGXMLParser;

class CViewResultTable : public CView {
    DECLARE_DYNCREATE(CViewResultTable)

public:
    static constexpr int ROWS = 8;
    static constexpr int COLUMNS = 10;

    CViewResultTable();
    ~CViewResultTable() override;

    // Re-reads the texts and draws at once, only after the document saved
    // the record (its reload flag set); otherwise nothing.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    // The paper table; FALSE, drawing nothing, without a device, parser,
    // document or current item.
    BOOL Print(CECGDC* pDC, CECGXMLParser* pParser, CRect rect);
    // "METs = 0.042 x HR +   3.3", the minus form for a negative intercept,
    // "*.*" for both values when both truncate to 0.
    static CString RegressionText(double slope, double intercept);

protected:
    DECLARE_MESSAGE_MAP()

private:
    CExerViewDoc* GetExerDoc() const;
    _EXERDATAITEM* CurrentItem() const;
    void PrintSignature(CDC* pDC, const CRect& rect, int y, const CString& doctor) const;

    CPen* m_pGridPen;
};
