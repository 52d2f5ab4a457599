// The comment form of rhythm, RR, extra-lead and MFER records: birthday,
// request fields, the information editor, up to three additions, the
// comment with its editor and the confirmation; for extra-lead records the
// heart rate and the lead-name edit stamp in place of the birthday. It works
// as the master-step form does (sharing that form's code, not its class), on
// Interpre_rhythm, Interpre_rr or Interpre_extra as the record asks; the rows
// follow the record's mode at every placement.
#pragma once

#include <map>

#include "forms/AdditionFormCommon.h"

class CFormInterpreRhyRR : public CAdditionFormCommon {
    DECLARE_DYNCREATE(CFormInterpreRhyRR)

public:
    enum { IDD = 135 };

    CFormInterpreRhyRR();
    ~CFormInterpreRhyRR() override;

    void OnInitialUpdate() override;
    void InitCheckUIArray() override;
    void UpdateCtrlStatus() override;
    void LimitCtrl() override;
    void MoveCtrl(int bRetry) override;
    // The extra-lead mode of the current record: extra-lead documents and
    // the extra-lead MFER kinds.
    bool IsExtraMode() const;
    // The mode the control list was last built for.
    bool IsBuiltForExtraMode() const { return m_bBuiltExtra; }

protected:
    const Shape& GetShape() const override;
    const _POSITION_CTRL* Layout() const override;
    bool CurrentAdditionItem(AdditionItem& item) const override;
    bool AdditionsOn(const AdditionItem& item) const override;
    std::vector<std::pair<int, UINT>> RequestLists() const override;
    bool EditsAdditions() const override;
    void SetupCtrl() override;
    void AdjustOffset(int row, Walk& walk) override;
    bool PlaceOwnRow(int row, Walk& walk) override;
    int ClosingTop(int row, const Walk& walk) const override;
    std::vector<UINT> ScrollNarrowed() const override;
    std::vector<UINT> RepaintedWithForm() const override;

    DECLARE_MESSAGE_MAP()

private:
    // The table of the record and its two flags; null for a kind without one.
    const _POSITION_CTRL* GetCtrlPosition(int* pAdditions, int* pFreeze) const;
    unsigned int CurrentMferKind() const;
    bool IsFreeze() const;
    void ChooseRows(bool bExtra);
    void ShowModeRows(bool bExtra);

    std::map<UINT, CRect> m_designRects;   // each control's place as the template made it
    bool m_bBuiltExtra = false;
    bool m_bBuilt = false;
};
