// The lead-name editor for up to nine leads of a rhythm record, the chest leads of a 12- or 15-lead one; templates 147 (typing) and 148 (list only).
#pragma once

#include "dialogs/DlgEditLeadName.h"

class CDlgRhythmEditLeadName : public CDlgEditLeadName {
    DECLARE_DYNAMIC(CDlgRhythmEditLeadName)

public:
    CDlgRhythmEditLeadName(int nIDTemplate, CWnd* pParent = nullptr);
    ~CDlgRhythmEditLeadName() override;

protected:
    bool FindTarget(Target& target) override;
};
