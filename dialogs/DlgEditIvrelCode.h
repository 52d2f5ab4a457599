// Picks one IVREL code from the master Ivrel12.xml.
#pragma once

#include "dialogs/DlgCodePicker.h"

class CDlgEditIvrelCode : public CDlgCodePicker {
    DECLARE_DYNAMIC(CDlgEditIvrelCode)

public:
    enum { IDD = 122 };
    explicit CDlgEditIvrelCode(CWnd* pParent = nullptr);
    ~CDlgEditIvrelCode() override;
};
