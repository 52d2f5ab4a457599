// The base of every modal dialog of the library. Its objects are counted in
// g_uDlgCount together with the open message boxes, from construction to
// destruction, so a dialog on the stack counts for its whole scope.
#pragma once

#include "platform/ui/framework/Dialog.h"

class CDlgModal : public CDialog {
    DECLARE_DYNAMIC(CDlgModal)

public:
    CDlgModal(UINT nIDTemplate, CWnd* pParent = nullptr);
    ~CDlgModal() override;
};
