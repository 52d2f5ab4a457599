#include "host/AnalysisViewCommand.h"

#include <algorithm>

#include "analysisviews/ViewRRHistogram.h"
#include "analysisviews/ViewRRIntervalList.h"
#include "analysisviews/ViewRRResult.h"
#include "analysisviews/ViewRRTrend.h"
#include "printdevice/ECGDC.h"

namespace host {

const std::vector<std::string>& AnalysisViewNames()
{
    // The result page's table, histogram and trend, then the comment page's list.
    static const std::vector<std::string> names = {"CViewRRResult", "CViewRRHistogram", "CViewRRTrend",
                                                   "CViewRRIntervalList"};
    return names;
}

bool IsAnalysisView(CView* view)
{
    return view && IsAnalysisClass(view->GetRuntimeClass());
}

bool IsAnalysisClass(CRuntimeClass* viewClass)
{
    return viewClass && (viewClass->IsDerivedFrom(RUNTIME_CLASS(CViewRRHistogram)) ||
                         viewClass->IsDerivedFrom(RUNTIME_CLASS(CViewRRTrend)) ||
                         viewClass->IsDerivedFrom(RUNTIME_CLASS(CViewRRIntervalList)) ||
                         viewClass->IsDerivedFrom(RUNTIME_CLASS(CViewRRResult)));
}

void SetUpAnalysisView(CView* view, int page)
{
    // The list opens on its first page; the pane's button moves it a page at a time.
    auto* list = DYNAMIC_DOWNCAST(CViewRRIntervalList, view);
    if (list && page > 1) list->ChangePage(page - 1);
}

int AnalysisPageCount(CView* view, bool printed)
{
    auto* list = DYNAMIC_DOWNCAST(CViewRRIntervalList, view);
    if (!list) return 1;
    return std::max(1, list->GetTotalPage(printed ? RR_LIST_PRINT_COLUMNS : RR_LIST_SCREEN_COLUMNS, RR_LIST_ROWS));
}

int GetAnalysisPrintPages(CView* view, int page)
{
    auto* list = DYNAMIC_DOWNCAST(CViewRRIntervalList, view);
    if (!list || page > 0) return 1;
    return std::max(1, list->GetTotalPage(RR_LIST_PRINT_COLUMNS, RR_LIST_ROWS));
}

bool PrintAnalysisPage(CView* view, CECGDC* dc, const CRect& area, int index, int page)
{
    CRect rect = area;
    if (auto* list = DYNAMIC_DOWNCAST(CViewRRIntervalList, view))
        return list->Print(dc, rect, page > 0 ? page : index + 1) != FALSE;
    if (auto* histogram = DYNAMIC_DOWNCAST(CViewRRHistogram, view))
        histogram->Print(dc, &rect);
    else if (auto* trend = DYNAMIC_DOWNCAST(CViewRRTrend, view))
        trend->Print(dc, &rect);
    else if (auto* result = DYNAMIC_DOWNCAST(CViewRRResult, view))
        result->Print(dc, &rect);
    return dc && dc->GetDC();
}

}  // namespace host
