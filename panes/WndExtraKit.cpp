#include "panes/WndExtraKit.h"

#include "core/Globals.h"
#include "dialogs/DlgCtrl.h"
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace panes {
namespace extra {

// ---- the record ------------------------------------------------------------------------------

CTavrionDoc* ExtraRecord::Doc() const
{
    if (extra) return extra;
    return mfer;
}

int ExtraRecord::DocType() const { return extra ? DOC_TYPE_EXTRA : DOC_TYPE_MFER; }

BOOL ExtraRecord::HasItem() const
{
    if (extra) return extra->GetCurrentDataItem() != nullptr;
    return mfer && mfer->GetCurrentDataItem();
}

float ExtraRecord::Sense(UINT kind) const
{
    CTavrionDoc* doc = Doc();
    return doc ? doc->GetSense(kind, 0) : 0.0f;
}

float ExtraRecord::Speed() const
{
    CTavrionDoc* doc = Doc();
    return doc ? doc->GetSpeed() : 0.0f;
}

int ExtraRecord::ExtraSetCode() const
{
    if (extra && extra->GetCurrentDataItem()) return extra->GetCurrentDataItem()->stExtraInfo.nExtraSet;
    if (!extra && mfer && mfer->GetCurrentDataItem()) return mfer->GetCurrentDataItem()->nPaneRead;
    return 0;
}

int ExtraRecord::LayoutCode() const
{
    if (extra && extra->GetCurrentDataItem()) return extra->GetCurrentDataItem()->stExtraInfo.nPageStyle;
    if (!extra && mfer && mfer->GetCurrentDataItem()) return mfer->GetCurrentDataItem()->nItemPageStyle;
    return 0;
}

int ExtraRecord::SetChoice() const
{
    if (extra && extra->GetCurrentDataItem()) return extra->GetCurrentDataItem()->bSelectExtra1;
    if (!extra && mfer && mfer->GetCurrentDataItem()) return mfer->GetCurrentDataItem()->nPaneWritten;
    return 1;
}

void ExtraRecord::SetSetChoice(int choice) const
{
    if (extra && extra->GetCurrentDataItem()) extra->GetCurrentDataItem()->bSelectExtra1 = choice;
    if (!extra && mfer && mfer->GetCurrentDataItem()) mfer->GetCurrentDataItem()->nPaneWritten = choice;
}

CString ExtraRecord::PostLoadTime() const
{
    if (extra && extra->GetCurrentDataItem()) return extra->GetCurrentDataItem()->strPostLoadTime;
    return CString();
}

CString ExtraRecord::MFERCaptionText() const
{
    if (!extra && mfer && mfer->GetCurrentDataItem()) return mfer->GetCurrentDataItem()->strMasterStep;
    return CString();
}

int ExtraRecord::Rhythm1Lead() const
{
    if (extra) return extra->GetRhythm1LeadID();
    return mfer ? mfer->GetRhythm1LeadID() : 0;
}

// ---- captions --------------------------------------------------------------------------------

CString PostLoadCaption(const CString& time)
{
    if (time.IsEmpty()) return CString();
    CString text;
    text.Format(L"負荷後 %s", time.GetString());
    return text;
}

CString WaveStyleName(int waveStyle)
{
    switch (waveStyle) {
    case 22: return L"波形連続型(3chx1)";
    case 24: return L"波形連続型(6chx1)";
    case 26: return L"波形連続型(3chx2)";
    case 28: return L"波形同期型(3chx2)";
    default: return CString();
    }
}

CString ExtraCaption(float sense, float speed, int filter, const CString& a, const CString& b)
{
    CString text;
    text.Format(L"%.2f mm/mV  %.1f mm/s  %d Hz  %s  %s", sense, speed, filter, a.GetString(), b.GetString());
    return text;
}

CString MFERCaption(float sense, float speed, const CString& a, const CString& b, const CString& c)
{
    CString text;
    text.Format(L"%.2f mm/mV  %.1f mm/s  %s  %s  %s", sense, speed, a.GetString(), b.GetString(), c.GetString());
    return text;
}

// ---- layout ----------------------------------------------------------------------------------

DisplayGrid GridOf(CTavrionDoc* doc)
{
    DisplayGrid grid;
    grid.margin = static_cast<int>(10 * g_dXUnit);
    if (!doc) return grid;
    grid.mode = doc->GetDisplaySizeMode();
    grid.px = doc->GetPixelPerMMX();
    grid.py = doc->GetPixelPerMMY();
    return grid;
}

namespace {

// Width and height of a grid of columns × rows that is `width` pixels wide
// (grid mode: from the pixels per square); nothing for a grid without columns.
CSize StripSize(int columns, int rows, int width, const DisplayGrid& grid)
{
    if (columns <= 0 || rows <= 0) return CSize(0, 0);
    if (grid.ByGrid()) {
        if (!(grid.px > 0.0) || !(grid.py > 0.0)) return CSize(0, 0);
        return CSize(static_cast<int>(columns * grid.px) + 1, static_cast<int>(rows * grid.py) + 1);
    }
    if (width <= 0) return CSize(0, 0);
    return CSize(width, static_cast<int>(static_cast<double>(width) / columns * rows) + 1);
}

}  // namespace

CSize GridStripSize(CViewScroll1LeadWave* strip, int width, const DisplayGrid& grid)
{
    if (!strip || !strip->GetSafeHwnd()) return CSize(0, 0);
    int c = 0, r = 0;
    strip->GetGridCount(c, r);
    return StripSize(c, r, width, grid);
}

int PlaceWaveColumn(CViewRhythmWave* view, CViewScroll1LeadWave* strip, const WaveColumn& column,
                    const DisplayGrid& grid, int clientHeight)
{
    CSize stripSize(0, 0);
    int stripX = column.stripX;
    if (strip && strip->GetSafeHwnd()) {
        stripSize = GridStripSize(strip, column.stripWidth, grid);
        if (grid.ByGrid()) stripX = column.gridAlignRight ? column.gridRight - stripSize.cx : column.gridLeft;
    }
    int viewX = column.viewX, viewWidth = 0, viewHeight = 0;
    if (view && view->GetSafeHwnd()) {
        int c = 0, r = 0;
        view->GetGridCount(c, r);
        const double room = clientHeight - stripSize.cy - column.gaps - column.top;
        int rows = 0;
        if (grid.ByGrid()) {
            viewWidth = c > 0 && grid.px > 0.0 ? static_cast<int>(c * grid.px) + 1 : 0;
            viewX = column.gridAlignRight ? column.gridRight - viewWidth : column.gridLeft;
            rows = RowsInRoom(room, grid.py);
            viewHeight = GridHeight(rows, grid.py);
        } else {
            viewWidth = column.viewWidth;
            const double rowHeight = c > 0 ? static_cast<double>(viewWidth) / c : 0.0;
            rows = RowsInRoom(room, rowHeight);
            viewHeight = GridHeight(rows, rowHeight);
        }
        // A pane sized to nothing shows an empty view rather than a grid of
        // a negative or infinite height.
        if (viewWidth <= 0) {
            viewWidth = 0;
            viewHeight = 0;
            rows = 0;
        }
        view->InitBackground(c, rows);
        float scale = static_cast<float>(viewWidth * static_cast<double>(column.annoUnit));
        if (column.doubleAnno) scale *= 2;
        view->SetAnnoSizeRatio(scale);
        if (strip && strip->GetSafeHwnd()) strip->SetAnnoSizeRatio(scale);
        view->MoveWindow(viewX, column.top, viewWidth, viewHeight, TRUE);
    }
    if (strip && strip->GetSafeHwnd()) {
        const int top = column.top + viewHeight + (clientHeight - stripSize.cy - column.top - viewHeight) / 2;
        strip->MoveWindow(stripX, top, stripSize.cx, stripSize.cy, TRUE);
    }
    return viewWidth;
}

void PlaceStripItem(CDlgCtrl* strip, int id, const CRect& rect)
{
    if (CWnd* item = StripItem(strip, id)) item->MoveWindow(rect, TRUE);
}

void Hide(CWnd* wnd)
{
    if (wnd && wnd->GetSafeHwnd()) wnd->MoveWindow(CRect(0, 0, 0, 0), TRUE);
}

}  // namespace extra
}  // namespace panes
