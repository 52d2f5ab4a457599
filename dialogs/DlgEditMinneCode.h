// Picks one Minnesota code from the master Minesota_mst.xml.
#pragma once

#include "dialogs/DlgCodePicker.h"

class CDlgEditMinneCode : public CDlgCodePicker {
    DECLARE_DYNAMIC(CDlgEditMinneCode)

public:
    enum { IDD = 175 };
    explicit CDlgEditMinneCode(CWnd* pParent = nullptr);
    ~CDlgEditMinneCode() override;
};
