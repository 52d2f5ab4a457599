// _IMAGEMAPINFO_ST_: how the notation manager maps its unscaled page onto a
// device: pixel = origin + unscaled point x ratio.
#pragma once

struct _IMAGEMAPINFO_ST_ {
    int nOriginX = 0;        // device position of the page's (0, 0)
    int nOriginY = 0;
    float fRatio = 1.0f;     // device pixels per unscaled unit; not above 0 counts as 1
    int nPhotoWidth = 0;     // the page in unscaled units (SetPhotoSize); 0 when unknown
    int nPhotoHeight = 0;
    int bEnlarged = 0;       // non-zero while drawn into a magnifier
};
