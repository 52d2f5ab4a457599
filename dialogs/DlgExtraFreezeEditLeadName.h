// The lead-name editor for the free leads (codes 119 to 124) of an extra-freeze record, as free text; template 155.
#pragma once

#include "dialogs/DlgEditLeadName.h"

class CDlgExtraFreezeEditLeadName : public CDlgEditLeadName {
    DECLARE_DYNAMIC(CDlgExtraFreezeEditLeadName)

public:
    explicit CDlgExtraFreezeEditLeadName(CWnd* pParent = nullptr);
    ~CDlgExtraFreezeEditLeadName() override;

protected:
    bool FindTarget(Target& target) override;
};
