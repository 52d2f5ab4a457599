#include "waveviews/WavePopups.h"

CWavePopups& CWavePopups::Get()
{
    static CWavePopups popups;
    return popups;
}
