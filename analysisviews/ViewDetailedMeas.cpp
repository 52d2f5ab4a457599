#include "analysisviews/ViewDetailedMeas.h"
#include "analysisviews/TableText.h"

#include <algorithm>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"

IMPLEMENT_DYNCREATE(CViewDetailedMeas, CFormView)

BEGIN_MESSAGE_MAP(CViewDetailedMeas, CFormView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_WM_CHAR()
    ON_CONTROL_RANGE(DEN_TAB, DETAILED_MEAS_FIRST_ID, DETAILED_MEAS_LAST_ID, OnTabPressedEdb)
    ON_CONTROL_RANGE(DEN_ENTER, DETAILED_MEAS_FIRST_ID, DETAILED_MEAS_LAST_ID, OnEnterPressedEdb)
    ON_CONTROL_RANGE(EN_KILLFOCUS, DETAILED_MEAS_FIRST_ID, DETAILED_MEAS_LAST_ID, OnKillFocusEdb)
    ON_CONTROL_RANGE(EN_SETFOCUS, DETAILED_MEAS_FIRST_ID, DETAILED_MEAS_LAST_ID, OnSetFocusEdb)
END_MESSAGE_MAP()

namespace {

const int kDerivedLead = 2;        // lead III
const int kDerivedRows = 21;       // the numeric rows
const int kTableBackSlot = 20;
const int kFormTemplate = 100;

using tabletext::IsMissing;

}  // namespace

const CViewDetailedMeas::RowSpec CViewDetailedMeas::kRows[DETAILED_MEAS_ROWS] = {
    {L"Pa", L"P amp.", L"(uV)"},          {L"Ppa", L"P'amp.", L"(uV)"},
    {L"Eqd", L"Q dur.(equ)", L"(ms)"},    {L"Qd", L"Q dur.", L"(ms)"},
    {L"Qa", L"Q amp.", L"(uV)"},          {L"Rd", L"R dur.", L"(ms)"},
    {L"Ra", L"R amp.", L"(uV)"},          {L"Sd", L"S dur.", L"(ms)"},
    {L"Sa", L"S amp.", L"(uV)"},          {L"Rpd", L"R'dur.", L"(ms)"},
    {L"Rpa", L"R'amp.", L"(uV)"},         {L"Spd", L"S'dur.", L"(ms)"},
    {L"Spa", L"S'amp.", L"(uV)"},         {L"Vat", L"V.A.T.", L"(ms)"},
    {L"Qrsa", L"QRS area", L"(40ms*uV)"}, {L"Stj", L"ST J", L"(uV)"},
    {L"Stm", L"ST MID", L"(uV)"},         {L"Ste", L"ST END", L"(uV)"},
    {L"Mta", L"T amp.(mod)", L"(uV)"},    {L"Ta", L"T amp.", L"(uV)"},
    {L"Tpa", L"T'amp.", L"(uV)"},         {L"Tup", L"TUP", L""},
    {L"Delta_wave", L"delta wave", L""},
};

const CViewDetailedMeas::GlobalSpec CViewDetailedMeas::kGlobals[DETAILED_MEAS_GLOBALS] = {
    {L"Vent.   rate", L"bpm", L"/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate"},
    {L"PR      int.", L"ms", L"/Rawdata/Tavrion/Measurement/Measurement_section/Pr_int"},
    {L"QRS     dur.", L"ms", L"/Rawdata/Tavrion/Measurement/Measurement_section/Qrs_dur"},
    {L"QT      int.", L"ms", L"/Rawdata/Tavrion/Measurement/Measurement_section/Qt_int"},
    {L"QTc     int.", L"ms", L"/Rawdata/Tavrion/Measurement/Measurement_section/Qtc_int"},
    {L"P       axis", L"deg.", L"/Rawdata/Tavrion/Measurement/Measurement_section/P_axis"},
    {L"QRS     axis", L"deg.", L"/Rawdata/Tavrion/Measurement/Measurement_section/Qrs_axis"},
    {L"T       axis", L"deg.", L"/Rawdata/Tavrion/Measurement/Measurement_section/T_axis"},
    {L"RV5     amp.", L"mV", L"/Rawdata/Tavrion/Measurement/Measurement_section/Rv5"},
    {L"SV1     amp.", L"mV", L"/Rawdata/Tavrion/Measurement/Measurement_section/Sv1"},
    {L"RV5+SV1 amp.", L"mV", L""},
};

CViewDetailedMeas::CViewDetailedMeas() : CFormView(kFormTemplate)
{
    for (auto& row : m_pCells)
        for (CDoubleEdit*& cell : row) cell = new CDoubleEdit;
    for (auto& row : m_rcCells)
        for (RECT& rc : row) rc = RECT{0, 0, 0, 0};
}

CViewDetailedMeas::~CViewDetailedMeas()
{
    for (auto& row : m_pCells)
        for (CDoubleEdit*& cell : row) {
            if (::IsWindow(cell->GetSafeHwnd())) cell->DestroyWindow();
            delete cell;
            cell = nullptr;
        }
}

// ---- the record --------------------------------------------------------------------

_MEASURE_INFO* CViewDetailedMeas::RestMeasures() const
{
    if (m_nDocType != DOC_TYPE_REST) return nullptr;
    auto* doc = dynamic_cast<CRestViewDoc*>(GetDocument());
    _RESTDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    return item ? &item->stMeasure : nullptr;
}

const CString* CViewDetailedMeas::RestLeadNames() const
{
    auto* doc = dynamic_cast<CRestViewDoc*>(GetDocument());
    _RESTDATAITEM* item = doc && m_nDocType == DOC_TYPE_REST ? doc->GetCurrentDataItem() : nullptr;
    return item ? item->stLeadName.strDispName : nullptr;
}

_MEASURE_INFO* CViewDetailedMeas::CurrentMeasures() const
{
    if (m_nDocType == DOC_TYPE_MFER) {
        auto* doc = dynamic_cast<CMFERViewDoc*>(GetDocument());
        _MFERDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
        return item ? &item->stMeasure : nullptr;
    }
    return RestMeasures();
}

BOOL CViewDetailedMeas::IsDerivedLayout() const
{
    auto* doc = dynamic_cast<CRestViewDoc*>(GetDocument());
    _RESTDATAITEM* item = doc && m_nDocType == DOC_TYPE_REST ? doc->GetCurrentDataItem() : nullptr;
    return item && (item->uSystemCode & 0xFF) == 8;
}

// ---- geometry ------------------------------------------------------------------------

CViewDetailedMeas::Layout CViewDetailedMeas::GetLayout() const
{
    Layout l;
    auto* doc = dynamic_cast<CTavrionDoc*>(GetDocument());
    if (doc) {
        l.ux = doc->GetXScale();
        l.uy = doc->GetYScale();
    }
    CRect client(0, 0, 0, 0);
    if (::IsWindow(m_hWnd)) GetClientRect(&client);
    l.width = client.Width() - static_cast<int>(2 * l.ux);
    l.height = client.Height() - static_cast<int>(2 * l.uy);
    l.colW = MulDiv(l.width, 23, 40) / DETAILED_MEAS_LEADS;
    l.rowH = static_cast<int>(15 * l.uy);
    l.cellLeft = MulDiv(l.width, 17, 40) - static_cast<int>(5 * l.ux);
    l.cellWidth = static_cast<int>(36 * l.ux);
    l.cellHeight = static_cast<int>(13 * l.uy);
    l.firstRowTop = MulDiv(l.height, 7, 80);
    l.headingTop = MulDiv(l.height, 1, 80);
    return l;
}

CRect CViewDetailedMeas::CellRect(const Layout& l, int row, int lead) const
{
    const int left = l.cellLeft + lead * l.colW;
    const int top = l.firstRowTop + row * l.rowH;
    return CRect(left, top, left + l.cellWidth, top + l.cellHeight);
}

// ---- creation and layout ---------------------------------------------------------------

int CViewDetailedMeas::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFormView::OnCreate(lpCreateStruct) == -1) return -1;
    CreateCells();
    return 0;
}

BOOL CViewDetailedMeas::CreateCells()
{
    // Before the first layout the cells sit on the base page in screen units.
    auto* doc = dynamic_cast<CTavrionDoc*>(GetDocument());
    const CSize base = doc ? doc->GetBaseScreenSize() : CSize(1024, 768);
    const int baseWidth = static_cast<int>(base.cx * g_dXUnit);
    const int colW = MulDiv(baseWidth, 22, 40) / DETAILED_MEAS_LEADS;
    const int rowH = static_cast<int>(15 * g_dYUnit);
    const int left = MulDiv(baseWidth, 17, 40);
    const int top = MulDiv(static_cast<int>(base.cy * g_dYUnit), 5, 80);
    const int width = static_cast<int>(0.85 * colW);
    const int height = static_cast<int>(0.85 * rowH);
    BOOL created = TRUE;
    for (int row = 0; row < DETAILED_MEAS_ROWS; ++row) {
        for (int lead = 0; lead < DETAILED_MEAS_LEADS; ++lead) {
            CDoubleEdit& cell = *m_pCells[row][lead];
            const CRect rc(left + lead * colW, top + row * rowH, left + lead * colW + width, top + row * rowH + height);
            if (row < kDerivedRows) {
                created &= cell.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_RIGHT, rc, this,
                                       CellId(row, lead));
                cell.SetMaxValue(row == 1 ? 0 : 9999);
                cell.SetMinValue(row == 0 ? 0 : -9999);
                cell.SetIntegerDigits(4);
                cell.SetDecimalDigits(0);
            } else {
                created &= cell.Create(WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL | ES_UPPERCASE | ES_CENTER, rc, this,
                                       CellId(row, lead));
                cell.ShowWindow(SW_SHOW);
                cell.SetYesNoMode(TRUE);
            }
            m_rcCells[row][lead] = rc;
        }
    }
    return created;
}

void CViewDetailedMeas::OnSize(UINT nType, int cx, int cy)
{
    CFormView::OnSize(nType, cx, cy);
    PlaceCells();
    if (IsDerivedLayout()) EnableValueCells();
}

// With lead III derived, a new layout also offers for editing every cell
// outside that column that holds a value, unless the record is read-only:
// a record opened read-only becomes editable at the next layout once the
// document allows editing.
void CViewDetailedMeas::EnableValueCells()
{
    auto* doc = dynamic_cast<CTavrionDoc*>(GetDocument());
    if (!RestMeasures() || !doc || doc->IsReadOnly()) return;
    for (int row = 0; row < DETAILED_MEAS_ROWS; ++row)
        for (int lead = 0; lead < DETAILED_MEAS_LEADS; ++lead) {
            if (lead == kDerivedLead) continue;
            CDoubleEdit& cell = *m_pCells[row][lead];
            if (!::IsWindow(cell.GetSafeHwnd())) continue;
            CString text;
            cell.GetWindowText(text);
            if (!IsMissing(text)) cell.EnableInput();
        }
}

void CViewDetailedMeas::PlaceCells()
{
    if (!RestMeasures()) return;
    const Layout layout = GetLayout();
    CFont* font = tabletext::TableFont(GetDocument());
    for (int row = 0; row < DETAILED_MEAS_ROWS; ++row)
        for (int lead = 0; lead < DETAILED_MEAS_LEADS; ++lead) {
            CDoubleEdit& cell = *m_pCells[row][lead];
            if (!::IsWindow(cell.GetSafeHwnd())) continue;
            const CRect rc = CellRect(layout, row, lead);
            m_rcCells[row][lead] = rc;
            cell.SetFont(font, TRUE);
            cell.MoveWindow(&rc, TRUE);
        }
}

// ---- loading ----------------------------------------------------------------------------

void CViewDetailedMeas::OnUpdate(CView* /*pSender*/, LPARAM /*lHint*/, CObject* /*pHint*/)
{
    LoadCells();
}

void CViewDetailedMeas::LoadCells()
{
    _MEASURE_INFO* measures = RestMeasures();
    if (!measures) return;
    PlaceCells();
    auto* doc = dynamic_cast<CTavrionDoc*>(GetDocument());
    const BOOL readOnly = doc && doc->IsReadOnly();
    m_bNeedSave = FALSE;
    m_bDerivedLoaded = IsDerivedLayout();
    for (int row = 0; row < DETAILED_MEAS_ROWS; ++row)
        for (int lead = 0; lead < DETAILED_MEAS_LEADS; ++lead) {
            if (IsDerivedCell(row, lead)) continue;
            const CString& text = measures->At(row, lead);
            LoadCell(row, lead, text, !readOnly && !IsMissing(text));
        }
    UpdateRowMissing(*measures);
    if (m_bDerivedLoaded) LoadDerivedColumn(*measures);
    m_pLoaded = measures;
    FocusCell(m_nFocusId);
}

BOOL CViewDetailedMeas::IsDerivedCell(int row, int lead) const
{
    return m_bDerivedLoaded && lead == kDerivedLead && row < kDerivedRows;
}

void CViewDetailedMeas::LoadCell(int row, int lead, const CString& text, BOOL editable)
{
    CDoubleEdit& cell = *m_pCells[row][lead];
    cell.DisableInput();
    cell.SetWindowText(text);
    // What the cell holds now (an answer cell shows a stored "y" as "Y") is
    // what the person sees as loaded: a cell still so was not edited.
    cell.GetWindowText(m_strShown[row][lead]);
    if (IsMissing(text)) {
        // A missing value is never offered for editing: the drawn
        // placeholder under the hidden cell shows it.
        cell.ShowWindow(SW_HIDE);
        return;
    }
    if (editable) cell.EnableInput();
    cell.ShowWindow(SW_SHOW);
    m_bNeedSave = TRUE;
}

void CViewDetailedMeas::UpdateRowMissing(const _MEASURE_INFO& measures)
{
    for (int row = 0; row < DETAILED_MEAS_ROWS; ++row) {
        m_bRowMissing[row] = FALSE;
        for (int lead = 0; lead < DETAILED_MEAS_LEADS; ++lead)
            if (IsMissing(measures.At(row, lead))) m_bRowMissing[row] = TRUE;
    }
}

void CViewDetailedMeas::FocusCell(UINT id)
{
    if (id < DETAILED_MEAS_FIRST_ID || id > DETAILED_MEAS_LAST_ID) return;
    const int index = static_cast<int>(id - DETAILED_MEAS_FIRST_ID);
    CDoubleEdit& cell = *m_pCells[index / DETAILED_MEAS_LEADS][index % DETAILED_MEAS_LEADS];
    if (::IsWindow(cell.GetSafeHwnd()) && CWnd::GetFocus() != &cell) cell.SetFocus();
}

// ---- colours ------------------------------------------------------------------------------

BOOL CViewDetailedMeas::OnEraseBkgnd(CDC* pDC)
{
    tabletext::FillBackground(*pDC, GetDocument());
    return TRUE;
}

HBRUSH CViewDetailedMeas::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    auto* doc = dynamic_cast<CTavrionDoc*>(GetDocument());
    if (!doc || (nCtlColor != CTLCOLOR_EDIT && nCtlColor != CTLCOLOR_LISTBOX))
        return CFormView::OnCtlColor(pDC, pWnd, nCtlColor);
    const COLORREF back = doc->GetWaveColor(kTableBackSlot, 0);
    pDC->SetBkColor(back);
    m_pCellBrush = std::make_unique<CBrush>(back);
    return static_cast<HBRUSH>(*m_pCellBrush);
}

void CViewDetailedMeas::OnChar(UINT /*nChar*/, UINT /*nRepCnt*/, UINT /*nFlags*/)
{
    Default();
}
