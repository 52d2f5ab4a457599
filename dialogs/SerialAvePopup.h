// CSerialAvePopup: the dialogs a double-click on the average beat comparison
// opens, made from what the view hands over: the enlarged overlap of every
// compared record, or one record's enlarged beat. Install gives the view its
// runner (views cannot reach the dialogs themselves).
#pragma once

#include <memory>

#include "waveviews/ViewSerialComAve.h"

class CSerialAvePopup {
public:
    static int Run(CWnd* parent, const CSerialAvePopupRequest& request, std::unique_ptr<CDialog>& popup);
    static void Install() { CViewSerialComAve::SetPopupRunner(&Run); }
};
