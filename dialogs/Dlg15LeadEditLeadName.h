// The lead-name editor for the three extra leads of a 15-lead resting record (device kinds 11, 226, 227); templates 144 (typing) and 146 (list only).
#pragma once

#include "dialogs/DlgEditLeadName.h"

class CDlg15LeadEditLeadName : public CDlgEditLeadName {
    DECLARE_DYNAMIC(CDlg15LeadEditLeadName)

public:
    CDlg15LeadEditLeadName(int nIDTemplate, CWnd* pParent = nullptr);
    ~CDlg15LeadEditLeadName() override;

protected:
    bool FindTarget(Target& target) override;
};
