// The lead-name editor for up to seven leads of an extra-lead record; templates 153 (typing) and 154 (list only).
#pragma once

#include "dialogs/DlgEditLeadName.h"

class CDlgExtraEditLeadName : public CDlgEditLeadName {
    DECLARE_DYNAMIC(CDlgExtraEditLeadName)

public:
    CDlgExtraEditLeadName(int nIDTemplate, CWnd* pParent = nullptr);
    ~CDlgExtraEditLeadName() override;

protected:
    bool FindTarget(Target& target) override;
};
