// The resting analysis views as the host shows and prints them.
#include "host/RestAnalysisViewCommand.h"

#include <algorithm>

#include "analysisviews/ViewAveOverlappedWave.h"
#include "analysisviews/ViewAverageWave.h"
#include "analysisviews/ViewCAL.h"
#include "core/TavrionDoc.h"
#include "printdevice/ECGDC.h"

namespace host {
namespace {

const int kCalibrationMm = 10;   // the calibration column's width

// The overlapped beats are shown in the enlarged-beat dialog at the limb
// sensitivity and the document's filter, as that dialog configures them.
void SetUpOverlapped(CTavrionDoc& doc, CViewAveOverlappedWave& view)
{
    view.SetDocType(doc.GetDocType());
    view.SetWaveInfo(doc.GetSense(1, 0), doc.GetFilter());
    view.SetSenseID(1);
    view.OnInitialUpdate();
}

// The column takes square millimetres over whatever height the host gives it.
void SetUpCalibration(CTavrionDoc& doc, CViewCAL& view, int calCount)
{
    view.SetDocType(doc.GetDocType() == DOC_TYPE_REST ? DOC_TYPE_REST : DOC_TYPE_FINAL);
    view.SetCALCount(calCount);
    CRect client;
    view.GetClientRect(&client);
    const int rows = client.Width() > 0 ? kCalibrationMm * client.Height() / client.Width() : 0;
    view.SetCALArea(kCalibrationMm, std::max(1, rows));
    view.OnUpdate(nullptr, 0, nullptr);
}

}  // namespace

const std::vector<std::string>& RestAnalysisViewNames()
{
    static const std::vector<std::string> names = {"CViewAverageWave", "CViewAveOverlappedWave", "CViewCAL"};
    return names;
}

bool IsRestAnalysisView(CView* view)
{
    return DYNAMIC_DOWNCAST(CViewAverageWave, view) || DYNAMIC_DOWNCAST(CViewAveOverlappedWave, view) ||
           DYNAMIC_DOWNCAST(CViewCAL, view);
}

void SetUpRestAnalysisView(CTavrionDoc& doc, CView* view, int calCount)
{
    if (auto* average = DYNAMIC_DOWNCAST(CViewAverageWave, view)) {
        average->SetDocType(doc.GetDocType());
        average->OnUpdate(nullptr, 0, nullptr);
    } else if (auto* overlapped = DYNAMIC_DOWNCAST(CViewAveOverlappedWave, view)) {
        SetUpOverlapped(doc, *overlapped);
    } else if (auto* calibration = DYNAMIC_DOWNCAST(CViewCAL, view)) {
        SetUpCalibration(doc, *calibration, calCount);
    }
}

bool PrintsOwnGrid(CView* view)
{
    return DYNAMIC_DOWNCAST(CViewCAL, view) != nullptr;
}

bool PrintRestAnalysisView(CView* view, CECGDC* dc, const CRect& area, double pxPerMm)
{
    if (!dc || !dc->GetDC()) return false;
    if (auto* average = DYNAMIC_DOWNCAST(CViewAverageWave, view)) {
        int columns = 0;
        int rows = 0;
        average->GetGridCount(columns, rows);
        return average->Print(dc, area, columns, rows, pxPerMm, 0, 0) != FALSE;
    }
    if (auto* overlapped = DYNAMIC_DOWNCAST(CViewAveOverlappedWave, view)) {
        int columns = 0;
        int rows = 0;
        overlapped->GetGridCount(columns, rows);
        const CRect paper(area.left, area.top, area.left + static_cast<int>(columns * pxPerMm),
                          area.top + static_cast<int>(rows * pxPerMm));
        return overlapped->DrawView(dc->GetDC(), paper, 1) != FALSE;
    }
    if (auto* calibration = DYNAMIC_DOWNCAST(CViewCAL, view)) {
        CRect column(area.left, area.top, area.left + static_cast<int>(kCalibrationMm * pxPerMm), area.bottom);
        return calibration->Print(dc, &column, pxPerMm, TRUE) != FALSE;
    }
    return false;
}

}  // namespace host
