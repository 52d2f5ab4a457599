#include "forms/LayoutPlacement.h"

#include "core/PositionCtrl.h"
#include "platform/ui/framework/Wnd.h"

int ScaleDesignValue(int value, double factor)
{
    return static_cast<int>(value * factor);   // the conversion truncates toward zero
}

RECT PlaceFromLayoutRow(const _POSITION_CTRL& row, const RECT& design, double xFactor, double yFactor, int xOffset,
                        int yOffset)
{
    const int left = (row.nLeft == -1 ? design.left : row.nLeft) + xOffset;
    const int top = (row.nTop == -1 ? design.top : row.nTop) + yOffset;
    const int width = row.nWidth == -1 ? design.right - design.left : row.nWidth;
    const int height = row.nHeight == -1 ? design.bottom - design.top : row.nHeight;
    RECT rect;
    rect.left = ScaleDesignValue(left, xFactor);
    rect.top = ScaleDesignValue(top, yFactor);
    rect.right = rect.left + ScaleDesignValue(width, xFactor);
    rect.bottom = rect.top + ScaleDesignValue(height, yFactor);
    return rect;
}

void MoveToLayoutRow(CWnd& control, const _POSITION_CTRL& row, const RECT& design, double xFactor, double yFactor,
                     int xOffset, int yOffset)
{
    const RECT rect = PlaceFromLayoutRow(row, design, xFactor, yFactor, xOffset, yOffset);
    control.MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    if (!row.bVisible) control.ShowWindow(SW_HIDE);
}
