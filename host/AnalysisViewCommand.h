// The RR analysis views in the host's "view" and "print" commands: the host
// plays the RR panes (paging the interval list) and the RR reports (a view
// printed into the printable area, the interval list page by page).
#pragma once

#include <string>
#include <vector>

class CECGDC;
class CRect;
class CTavrionDoc;
class CView;
struct CRuntimeClass;

namespace host {

// The RR result and comment pages' views, as "--view all" adds them for an RR record.
const std::vector<std::string>& AnalysisViewNames();

// True for the views of the RR result and comment pages.
bool IsAnalysisView(CView* view);
// The same asked of a class before any view of it is made.
bool IsAnalysisClass(CRuntimeClass* viewClass);
// Shows screen page `page` of the interval list, counted from 1 as --page
// counts (0: none asked, the first); other views need nothing.
void SetUpAnalysisView(CView* view, int page);
// The pages of the view on the screen or on paper: the interval list's
// pages of 240 or 400 intervals (at least one), one for the other views.
int AnalysisPageCount(CView* view, bool printed);
// Printed pages of the view: the interval list's page `page` (from 1) alone,
// or with 0 all of its pages of 400; one for the other views.
int GetAnalysisPrintPages(CView* view, int page);
// Printed page `index` (from 0) of those into the area; false when it failed.
bool PrintAnalysisPage(CView* view, CECGDC* dc, const CRect& area, int index, int page);

}  // namespace host
