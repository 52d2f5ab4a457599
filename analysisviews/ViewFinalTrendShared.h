// What the master-step trend views share: the background brush, the plotted
// series with its markers, and the trend's last time.
#pragma once

#include <functional>

#include "platform/gdi/Dc.h"
#include "platform/ui/framework/View.h"

struct _FINALDATAITEM;
class CTavrionDoc;

// Fills the client area with colour slot 20 (the chart background).
BOOL EraseFinalTrendBackground(CView& view, CDC* pDC, const CTavrionDoc* doc);
// The last trend time in seconds; -1 without samples.
int FinalTrendLastTime(const _FINALDATAITEM& item);
// Joins the plotted samples of the item's trend (those whose flag is set
// and whose value is not -32768) by lines in the DC's pen and marks each
// with a filled circle of `radius` in the DC's brush. value(i) gives the
// sample's value, point(i, value) its position.
void PlotFinalTrend(CDC* pDC, const _FINALDATAITEM& item, int count, int radius, const std::function<short(int)>& value,
                    const std::function<CPoint(int, short)>& point);
