#include "dialogs/EnlargedMeasureTable.h"

#include "core/Helpers.h"
#include "core/TavrionDoc.h"
#include "core/TavrionMessage.h"
#include "dialogs/EditingOk.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/framework/Dialog.h"
#include "platform/ui/windowing/Input.h"

namespace {

const int kRow = 22;          // design units from one row to the next
const int kCellWidth = 42;
const int kCellHeight = 18;
const int kCellGap = 4;       // between a cell and its unit label
// The x of the eight text columns: global labels and units, then labels and
// units of items 0-9, 10-19 and 20-22; landscape, then portrait.
const int kColumnX[2][8] = {
    {225, 375, 430, 555, 605, 730, 795, 905},
    {200, 310, 345, 455, 485, 593, 640, 732},
};
const int kLabelTop[2] = {432, 422};
const int kNoLead = MEASURE_LEADS;   // SaveMsuDataToXML then writes the globals only

const wchar_t* const kGlobalLabels[MEASURE_GLOBALS] = {
    L"Vent. rate", L"PR    int.", L"QRS   dur.", L"QT    int.", L"QTc   int.",
    L"P     axis", L"QRS   axis", L"T     axis", L"RV5   amp.", L"SV1   amp.",
};
const wchar_t* const kGlobalUnits[MEASURE_GLOBALS] = {L"bpm", L"ms", L"ms", L"ms", L"ms",
                                                      L"deg.", L"deg.", L"deg.", L"mV", L"mV"};
struct Limits {
    double min, max;
    WORD integers, decimals;
};
const Limits kGlobalLimits[MEASURE_GLOBALS] = {
    {0, 9999, 4, 0}, {0, 9999, 4, 0}, {0, 9999, 4, 0}, {0, 9999, 4, 0}, {0, 9999, 4, 0},
    {-360, 360, 3, 0}, {-360, 360, 3, 0}, {-360, 360, 3, 0}, {0, 10, 1, 3}, {0, 10, 1, 3},
};

const wchar_t* LeadUnit(int item)
{
    if (item > CMeasureTableCells::kLastNumericItem) return L"";
    if (item == 14) return L"(40ms*uV)";
    const bool duration = item == 2 || item == 3 || item == 5 || item == 7 || item == 9 || item == 11 || item == 13;
    return duration ? L"(ms)" : L"(uV)";
}

// Column (0-2) and row (1-based) of a lead item: items 0-9, 10-19, then 20
// with the two answers a row lower.
void LeadPlace(int item, int& column, int& row)
{
    column = item < 20 ? item / 10 : 2;
    row = item < 20 ? item % 10 + 1 : (item == 20 ? 1 : item - 18);
}

_RESTDATAITEM* RestItem(CTavrionDoc* doc, int docType)
{
    auto* rest = docType == DOC_TYPE_REST ? dynamic_cast<CRestViewDoc*>(doc) : nullptr;
    return rest ? rest->GetCurrentDataItem() : nullptr;
}

}  // namespace

bool CEnlargedMeasureTable::IsAnswerCell(UINT id)
{
    return id == kFirstCellId + 21 || id == kFirstCellId + 22;
}

bool CEnlargedMeasureTable::IsLeadNumericCell(UINT id)
{
    return id >= kFirstCellId && id <= kFirstCellId + CMeasureTableCells::kLastNumericItem;
}

int CEnlargedMeasureTable::ColumnX(int column) const
{
    return kColumnX[m_layout.IsPortrait() ? 1 : 0][column];
}

// A cell stands left of its unit label, its row's label above the middle.
CRect CEnlargedMeasureTable::CellRect(int cell) const
{
    const int labelTop = kLabelTop[m_layout.IsPortrait() ? 1 : 0];
    int unitColumn = 1;
    int row = cell - CMeasureTableCells::kFirstGlobal + 1;
    if (cell < CMeasureTableCells::kFirstGlobal) {
        int column = 0;
        LeadPlace(cell, column, row);
        unitColumn = 3 + 2 * column;
    }
    const int right = ColumnX(unitColumn) - kCellGap;
    // The answers' cells are narrower by two thirds of a cell height, same right edge.
    const int width = kCellWidth - (cell > CMeasureTableCells::kLastNumericItem && cell < CMeasureTableCells::kFirstGlobal
                                        ? kCellHeight * 2 / 3
                                        : 0);
    return m_layout.Rect(right - width, labelTop + kRow * row - 2, width, kCellHeight);
}

BOOL CEnlargedMeasureTable::Create(CDialog& dialog, const CEnlargedWaveLayout& layout)
{
    m_layout = layout;
    for (int cell = 0; cell < CMeasureTableCells::kCellCount; ++cell) {
        CDoubleEdit& edit = m_cells[cell];
        // A cell that only shows its value paints as a flat reading on the dialog's face.
        edit.SetDisplay(FALSE);
        edit.SetBkColor(::GetSysColor(COLOR_BTNFACE));
        const DWORD style = WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL | ES_RIGHT | (IsAnswerCell(kFirstCellId + cell) ? ES_UPPERCASE : 0);
        if (!edit.CreateEx(WS_EX_CLIENTEDGE, style, CellRect(cell), &dialog, kFirstCellId + cell)) return FALSE;
        edit.ShowWindow(SW_SHOW);
        edit.SetFont(dialog.GetFont(), FALSE);
        if (IsAnswerCell(kFirstCellId + cell)) {
            edit.SetYesNoMode(TRUE);
        } else if (cell >= CMeasureTableCells::kFirstGlobal) {
            const Limits& limits = kGlobalLimits[cell - CMeasureTableCells::kFirstGlobal];
            edit.SetMinValue(limits.min);
            edit.SetMaxValue(limits.max);
            edit.SetIntegerDigits(limits.integers);
            edit.SetDecimalDigits(limits.decimals);
        } else {
            edit.SetMinValue(cell == 0 ? 0 : -9999);
            edit.SetMaxValue(cell == 1 ? 0 : 9999);
            edit.SetIntegerDigits(4);
            edit.SetDecimalDigits(0);
        }
    }
    return TRUE;
}

void CEnlargedMeasureTable::Load(CTavrionDoc* doc, int docType, int position, bool readOnly)
{
    const _MEASURE_INFO* measure = nullptr;
    // A rhythm record keeps no measurement texts: its table shows empty cells
    // that cannot be typed into.
    static const _MEASURE_INFO kNoMeasurements;
    int kind = 0;
    if (_RESTDATAITEM* rest = RestItem(doc, docType)) {
        measure = &rest->stMeasure;
        kind = static_cast<int>(rest->uSystemCode & 0xFF);   // the record's kind code: 8 for Cabrera
    } else if (docType == DOC_TYPE_MFER) {
        if (auto* mfer = dynamic_cast<CMFERViewDoc*>(doc))
            if (_MFERDATAITEM* item = mfer->GetCurrentDataItem()) measure = &item->stMeasure;
    } else if (docType == DOC_TYPE_RHYTHM) {
        if (auto* rhythm = dynamic_cast<CRhythmViewDoc*>(doc))
            if (rhythm->GetCurrentDataItem()) measure = &kNoMeasurements;
    }
    if (!measure) return;
    m_texts.Load(*measure, position, kind);
    m_bEditable = !readOnly && RestItem(doc, docType) != nullptr;
    if (!m_bEditable) m_texts.MakeReadOnly();
    ShowTexts();
}

void CEnlargedMeasureTable::ShowTexts()
{
    for (int cell = 0; cell < CMeasureTableCells::kCellCount; ++cell) {
        CDoubleEdit& edit = m_cells[cell];
        CMeasureTableCells::Cell& texts = m_texts.At(cell);
        edit.SetWindowText(texts.strText);
        // What the window holds now is what the person sees as loaded (an
        // answer cell shows a stored "y" as "Y"): a cell still so is unedited.
        edit.GetWindowText(texts.strShown);
        texts.strText = texts.strShown;
        if (texts.bEditable)
            edit.EnableInput();
        else
            edit.DisableInput();
    }
}

void CEnlargedMeasureTable::TakeTexts()
{
    for (int cell = 0; cell < CMeasureTableCells::kCellCount; ++cell) {
        CString text;
        m_cells[cell].GetWindowText(text);
        m_texts.At(cell).strText = text;
    }
}

// The prompt and the stamps of the editing-OK protocol, on the current item:
// the doctor confirms model-8000 records, anyone else edits as an editor.
bool CEnlargedMeasureTable::StampEdit(CTavrionDoc* doc, int docType)
{
    _EDIT_STAMP_FIELDS fields;
    if (!CurrentEditStampFields(doc, docType, fields)) return false;
    const bool doctor = doc->Is8000File() != 0;
    CString name;
    if (!CEditingOk::Ask(doctor ? CEditingOk::Prompt::Doctor : CEditingOk::Prompt::Editor, doc, name)) return false;
    if (doctor) {
        CEditingOk::StampConfirmation(fields, name);
        return true;
    }
    auto* rest = dynamic_cast<CRestViewDoc*>(doc);
    CEditingOk::StampEdit(doc, fields, name, CEditingOk::RecordTime::Stamp,
                          [rest] { return rest ? rest->IsEidtChange() : 0; });
    return true;
}

CEnlargedMeasureTable::StoreResult CEnlargedMeasureTable::Store(CDialog& dialog, CTavrionDoc* doc, int docType,
                                                                bool readOnly)
{
    _RESTDATAITEM* item = RestItem(doc, docType);
    if (readOnly || !item) return StoreResult::Close;
    TakeTexts();
    // Every value is checked before anything is stamped or stored: a refused
    // value leaves the record as it was.
    const int bad = m_texts.FindOutOfRange();
    if (bad >= 0) {
        CTavrionMessage box(CMeasureTableCells::RangeMessage(bad), 0, dialog.GetSafeHwnd(), L"無効値です",
                            MB_ICONQUESTION);
        Focus(kFirstCellId + bad);
        return StoreResult::Stay;
    }
    if (!StampEdit(doc, docType)) return StoreResult::Stay;
    m_texts.Store(item->stMeasure);
    auto* rest = static_cast<CRestViewDoc*>(doc);
    // A record XML that cannot be written is reported, and the dialog stays:
    // closing would tell the opener the values were stored.
    if (rest->SaveMsuDataToXML(item, m_texts.StoresLeadValues() ? m_texts.StoredLeadIndex() : kNoLead, TRUE) != 0) {
        CEditingOk::ReportFailedSave();
        return StoreResult::Stay;
    }
    rest->SetAnyCtrlContent(TRUE);
    using Step = CEditingOk::CommitStep;
    const bool saved = CEditingOk::Commit(doc, {Step::Save, Step::UpdateStatus, Step::Refill, Step::Notify});
    return saved ? StoreResult::Close : StoreResult::Stay;
}

void CEnlargedMeasureTable::Focus(UINT id)
{
    CDoubleEdit& edit = Cell(id);
    edit.SetFocus();
    edit.SetSel(0, -1);
}

void CEnlargedMeasureTable::OnCellSetFocus(UINT id)
{
    CDoubleEdit& edit = Cell(id);
    CString text;
    edit.GetWindowText(text);
    if (text.FindOneOf(L"xX") >= 0) {
        edit.SetWindowText(L"");
        return;
    }
    edit.SetSel(0, -1);
}

void CEnlargedMeasureTable::OnCellKillFocus(CDialog& dialog, UINT id)
{
    CDoubleEdit& edit = Cell(id);
    CString text;
    edit.GetWindowText(text);
    // A cell left as loaded holds the record's value, not the person's
    // input: an empty or non-numeric stored text stays as it is, and one
    // holding "x" that the focus cleared comes back when nothing was typed.
    const CString& shown = m_texts.At(id - kFirstCellId).strShown;
    if (text == shown) return;
    if (text.IsEmpty() && shown.FindOneOf(L"xX") >= 0) {
        edit.SetWindowText(shown);
        return;
    }
    if (text.IsEmpty()) {
        edit.SetWindowText(IsAnswerCell(id) ? L"Y" : L"0");
        return;
    }
    if (IsLeadNumericCell(id) && GetNumberSign(text) == 0 && ::GetActiveWindow() == dialog.GetSafeHwnd()) {
        ::MessageBeep(MB_ICONQUESTION);
        edit.SetFocus();
    }
}

void CEnlargedMeasureTable::OnCellNext(UINT id)
{
    const bool back = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    UINT target = back ? id - 1 : id + 1;
    if (target < kFirstCellId) target = kLastCellId;
    if (target > kLastCellId) target = kFirstCellId;
    m_nPrevId = id;
    m_nFocusId = target;
    Focus(target);
}

void CEnlargedMeasureTable::PaintLabels(CDC& dc) const
{
    CDCStateSaver saver(dc);
    dc.SetBkMode(TRANSPARENT);
    const int labelTop = kLabelTop[m_layout.IsPortrait() ? 1 : 0];
    for (int i = 0; i < MEASURE_GLOBALS; ++i) {
        const int y = m_layout.Y(labelTop + kRow * (i + 1));
        dc.TextOut(m_layout.X(ColumnX(0)), y, CString(kGlobalLabels[i]));
        dc.TextOut(m_layout.X(ColumnX(1)), y, CString(kGlobalUnits[i]));
    }
    for (int item = 0; item < MEASURE_ITEMS; ++item) {
        int column = 0, row = 0;
        LeadPlace(item, column, row);
        const int y = m_layout.Y(labelTop + kRow * row);
        dc.TextOut(m_layout.X(ColumnX(2 + 2 * column)), y, CString(CMeasureTableCells::ItemLabel(item)));
        dc.TextOut(m_layout.X(ColumnX(3 + 2 * column)), y, CString(LeadUnit(item)));
    }
}
