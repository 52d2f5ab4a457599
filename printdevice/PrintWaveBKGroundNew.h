// CPrintWaveBKGroundNew: the printed ECG grid drawn straight onto the print
// device context of a Windows printer; the ruled grid's bold columns go with
// the thin ones.
#pragma once

#include "printdevice/PrintWaveBKBase.h"

class CPrintWaveBKGroundNew : public CPrintWaveBKBase {
public:
    CPrintWaveBKGroundNew() : CPrintWaveBKBase(BoldColumns::WithTheThin) {}
};
