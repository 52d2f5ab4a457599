// The landscape, US-style interpretation form of resting records: the
// request column, the measurements with the trip count, the interpretation
// column (additions, Minnesota and IVREL codes, recommendation,
// confirmation) and the comment, placed from Interpre_usa_rest. Empty
// columns let the ones on their right move left; the comment rows show only
// while the request column is empty. Code rows, buttons and keys are those
// of the rest form (shared with it, not inherited: this form is no kind of
// the portrait one); the landscape report prints this form's fields itself.
#pragma once

#include "forms/RestFormCommon.h"

class CFormInterpreAme : public CRestFormCommon {
    DECLARE_DYNCREATE(CFormInterpreAme)

public:
    enum { IDD = 121 };
    static constexpr int kAmeRowCount = 157;

    CFormInterpreAme();
    ~CFormInterpreAme() override;

    // Draws nothing: the landscape report prints the fields through its own layouts.
    virtual int Print(CDC* pDC, CRect* pRect, UINT nFlags);

    void MoveCtrl(int bRecheck) override;
    void LimitCtrl() override;

protected:
    const _POSITION_CTRL* Layout() const override;
    void TakeRowHeights(const _POSITION_CTRL* table) override;
    int CommentRow() const override { return 156; }
    int CommentBaseLines() const override { return 5; }
    int ChainSource() const override { return 3; }
    UINT WrapFirstId() const override { return 3031; }
    UINT WrapLastId() const override { return 3032; }
    bool EditsAdditions() const override;
    DialogFollowUp FollowUp() const override { return DialogFollowUp::UsStyle; }
    void StretchComment() override;
    void UpdateAdditionLineCount(const ItemView& item) override;
    std::vector<std::pair<int, UINT>> RequestLists() const override;

    DECLARE_MESSAGE_MAP()

private:
    struct Columns;

    bool IsTripRecord(const ItemView& item) const;
    void HideSections(const Columns& columns);
    void StartColumn(int row, Columns& columns);
    bool SkipRow(int row, Columns& columns);
    void PlaceAmeRow(int row, Columns& columns, const ItemView& item);
    bool IsAmeRowVisible(int row, const ItemView& item) const;
    void FinishAmeScroll(Columns& columns);
};
