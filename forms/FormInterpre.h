// The interpretation form of resting records (12 and 15 leads, and MFER
// records of those kinds): request data, measurements, editor stamps, up to
// three additions, eight Minnesota and eleven IVREL code rows with the
// judgement, the recommendation, the comment and the confirmation, in one
// scrolling column placed from the layout table Interpre_rest. Sections
// switched off, hidden rows and unused code rows close up; rows whose texts
// wrap grow. Codes typed are looked up in the masters; the row buttons open
// the pickers and phrase editors; Tab chains to the next form through the
// pane; Print draws the form's texts into a report rectangle.
#pragma once

#include "forms/RestFormCommon.h"

class CFormInterpre : public CRestFormCommon {
    DECLARE_DYNCREATE(CFormInterpre)

public:
    enum { IDD = 114 };
    static constexpr int kRowCount = 166;

    CFormInterpre();
    ~CFormInterpre() override;

    // 37 (rest item) and 43 (MFER item) show the version line.
    void SetPageStyle(int nStyle) { m_nPageStyle = nStyle; }
    virtual int Print(CECGDC* pDC, CRect rc);

protected:
    const _POSITION_CTRL* Layout() const override;
    void TakeRowHeights(const _POSITION_CTRL* table) override;
    int CommentRow() const override { return 157; }
    int CommentBaseLines() const override { return 4; }
    int ChainSource() const override { return 2; }
    UINT WrapFirstId() const override { return 3030; }
    UINT WrapLastId() const override { return 3031; }
    bool EditsAdditions() const override { return true; }
    std::vector<std::pair<int, UINT>> RequestLists() const override;

    DECLARE_MESSAGE_MAP()
};
