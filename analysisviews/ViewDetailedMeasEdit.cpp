// The editing side of the measurement form: checking a typed value, holding
// the focus in a refused cell, moving on with Tab and Enter, telling whether
// anything was corrected, and storing the corrections.
#include "analysisviews/ViewDetailedMeas.h"

#include "core/UserMessages.h"
#include "core/TavrionDoc.h"
#include "core/TavrionMessage.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"

namespace {

const int kYesNoRow = 21;
const wchar_t kErrorCaption[] = L"無効値";

MeasEditProtocol& InstalledProtocol()
{
    static MeasEditProtocol protocol;
    return protocol;
}

bool IsDigit(wchar_t ch)
{
    return ch >= L'0' && ch <= L'9';
}

// Whether the first character may start a value of the row.
bool IsValidFirst(int row, wchar_t ch)
{
    if (row == 0) return IsDigit(ch) || ch == L'+';
    if (row == 1) return ch == L'-' || ch == L'0';
    return IsDigit(ch) || ch == L'+' || ch == L'-';
}

bool HasValidCharacters(int row, const CString& text)
{
    for (int i = 0; i < text.GetLength(); ++i) {
        const wchar_t ch = text[i];
        if (i == 0 ? !IsValidFirst(row, ch) : !(IsDigit(ch) || ch == L'.')) return false;
    }
    return true;
}

LPCWSTR RangeMessage(int row)
{
    if (row == 0) return L"入力可能範囲を超えています。0から9999までの値が入力可能です。";
    if (row == 1) return L"入力可能範囲を超えています。-9999から0までの値が入力可能です。";
    return L"入力可能範囲を超えています。-9999から9999までの値が入力可能です。";
}

bool InRange(int row, int value)
{
    const int low = row == 0 ? 0 : -9999;
    const int high = row == 1 ? 0 : 9999;
    return value >= low && value <= high;
}

bool ShiftDown()
{
    return (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
}

}  // namespace

MeasEditProtocol CViewDetailedMeas::SetEditProtocol(MeasEditProtocol protocol)
{
    MeasEditProtocol previous = InstalledProtocol();
    InstalledProtocol() = std::move(protocol);
    return previous;
}

// ---- checking ---------------------------------------------------------------------------

CString CViewDetailedMeas::CheckCellText(int row, const CString& rawText)
{
    CString text = rawText;
    text.Trim();
    if (text.Find(L'*') >= 0) return CString();
    if (row >= kYesNoRow) return text == L"Y" || text == L"N" ? CString() : CString(L"The value should be BOOL type !!!");
    // The integer reading: a point and what follows it do not count.
    if (HasValidCharacters(row, text) && InRange(row, _wtoi(text))) return CString();
    return CString(RangeMessage(row));
}

BOOL CViewDetailedMeas::CheckData(UINT id)
{
    if (id == 0) id = m_nFocusId;
    if (id < DETAILED_MEAS_FIRST_ID || id > DETAILED_MEAS_LAST_ID) return FALSE;
    SetCurrentFrom(id);
    CString text;
    m_pCells[m_nCurRow][m_nCurLead]->GetWindowText(text);
    // A cell left as loaded holds the record's value, which is no input to
    // refuse: the save keeps it as stored.
    const CString error =
        text == m_strShown[m_nCurRow][m_nCurLead] ? CString() : CheckCellText(m_nCurRow, text);
    m_bDataValid = error.IsEmpty();
    if (!m_bDataValid) m_strError = error;
    return m_bDataValid;
}

void CViewDetailedMeas::SetCurrentFrom(UINT id)
{
    const int index = static_cast<int>(id - DETAILED_MEAS_FIRST_ID);
    m_nCurRow = index / DETAILED_MEAS_LEADS;
    m_nCurLead = index % DETAILED_MEAS_LEADS;
}

void CViewDetailedMeas::WarnDataError()
{
    FocusCell(m_nFocusId);
    CTavrionMessage box(m_strError, 0, GetSafeHwnd(), kErrorCaption, MB_ICONQUESTION);
}

// ---- focus --------------------------------------------------------------------------------

void CViewDetailedMeas::ChangeFocus(UINT id)
{
    if (id == 0) {
        FocusCell(m_nPrevFocusId);
        return;
    }
    UINT next;
    if (ShiftDown())
        next = id == DETAILED_MEAS_FIRST_ID ? DETAILED_MEAS_LAST_ID : id - 1;
    else
        next = id == DETAILED_MEAS_LAST_ID ? DETAILED_MEAS_FIRST_ID : id + 1;
    m_nPrevFocusId = id;
    m_nFocusId = next;
    FocusCell(next);
    SetCurrentFrom(next);
}

BOOL CViewDetailedMeas::HoldInvalidCell(UINT id)
{
    if (CheckData(id)) return FALSE;
    m_nFocusId = id;
    m_nPrevFocusId = id;
    WarnDataError();
    return TRUE;
}

void CViewDetailedMeas::OnTabPressedEdb(UINT id)
{
    if (m_nCurRow < 0 || m_nCurLead < 0) {
        FocusCell(DETAILED_MEAS_FIRST_ID);
        return;
    }
    OnEnterPressedEdb(id);
}

void CViewDetailedMeas::OnEnterPressedEdb(UINT id)
{
    if (HoldInvalidCell(id)) return;
    ChangeFocus(id);
}

void CViewDetailedMeas::OnKillFocusEdb(UINT id)
{
    SetCurrentFrom(id);
    CDoubleEdit& cell = *m_pCells[m_nCurRow][m_nCurLead];
    CString text;
    cell.GetWindowText(text);
    if (!text.IsEmpty()) {
        if (!CheckData(id)) {
            m_nFocusId = id;
            m_nPrevFocusId = id;
        }
        return;
    }
    // A cell the record left empty stays so until the person types.
    if (m_strShown[m_nCurRow][m_nCurLead].IsEmpty()) return;
    if (cell.IsWindowVisible() && cell.IsInputEnabled())
        cell.SetWindowText(m_nCurRow >= kYesNoRow ? L"Y" : L"0");
}

void CViewDetailedMeas::OnSetFocusEdb(UINT id)
{
    if (!m_bDataValid && id != m_nPrevFocusId) {
        // The user cannot leave a refused value.
        WarnDataError();
        return;
    }
    SetCurrentFrom(id);
    m_nPrevFocusId = m_nFocusId;
    m_nFocusId = id;
    const int index = static_cast<int>(id - DETAILED_MEAS_FIRST_ID);
    m_pCells[index / DETAILED_MEAS_LEADS][index % DETAILED_MEAS_LEADS]->SetSel(0, -1);
}

BOOL CViewDetailedMeas::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_TAB || pMsg->wParam == VK_RETURN)) {
        if (pMsg->wParam == VK_TAB)
            OnTabPressedEdb(m_nFocusId);
        else
            OnEnterPressedEdb(m_nFocusId);
        return TRUE;
    }
    return CFormView::PreTranslateMessage(pMsg);
}

// ---- change and save -------------------------------------------------------------------------

BOOL CViewDetailedMeas::IsEditChange()
{
    _MEASURE_INFO* measures = RestMeasures();
    auto* doc = dynamic_cast<CTavrionDoc*>(GetDocument());
    if (!measures || !doc || (!doc->IsSaveEditor() && !doc->IsSaveDoctor())) return FALSE;
    // Each cell is compared with what it showed when loaded, not with the
    // stored text: a derived cell shows another, and a stored "y" shows as
    // "Y" without anyone editing it.
    for (int row = 0; row < DETAILED_MEAS_ROWS; ++row)
        for (int lead = 0; lead < DETAILED_MEAS_LEADS; ++lead) {
            const CString& shown = m_strShown[row][lead];
            if (shown == L"****" || shown == L"*") continue;
            CString text;
            m_pCells[row][lead]->GetWindowText(text);
            if (text != shown) return TRUE;
        }
    return FALSE;
}

BOOL CViewDetailedMeas::WriteMeasurements()
{
    CDocument* document = GetDocument();
    if (m_nDocType == DOC_TYPE_MFER) {
        auto* doc = dynamic_cast<CMFERViewDoc*>(document);
        return doc && doc->SaveMsuDataToXML(doc->GetCurrentDataItem()) == 0;
    }
    auto* doc = dynamic_cast<CRestViewDoc*>(document);
    return doc && doc->SaveMsuDataToXML(doc->GetCurrentDataItem(), -1, 0) == 0;
}

BOOL CViewDetailedMeas::SetData(BOOL ask)
{
    _MEASURE_INFO* measures = CurrentMeasures();
    auto* doc = dynamic_cast<CTavrionDoc*>(GetDocument());
    if (!measures || !doc) return FALSE;
    const MeasEditProtocol& protocol = InstalledProtocol();
    // A cancelled confirmation stores nothing and is not a failure.
    if (ask && !(protocol.confirm && protocol.confirm(doc, m_nDocType))) return TRUE;
    StoreCells(*measures);
    if (!WriteMeasurements()) {
        if (protocol.reportFailedSave) protocol.reportFailedSave();
        return FALSE;
    }
    // The stored texts are what the cells show now: an edit from here on is a new one.
    if (measures == m_pLoaded)
        for (int row = 0; row < DETAILED_MEAS_ROWS; ++row)
            for (int lead = 0; lead < DETAILED_MEAS_LEADS; ++lead)
                m_pCells[row][lead]->GetWindowText(m_strShown[row][lead]);
    if (!ask) return TRUE;
    if (protocol.commit && !protocol.commit(doc)) return FALSE;
    // The pane's owner refreshes everything that shows the measurements.
    CWnd* pane = GetParent();
    CWnd* frame = pane ? pane->GetParent() : nullptr;
    CWnd* owner = frame ? frame->GetParent() : nullptr;
    if (owner) owner->SendMessage(WM_VIEW_RESULT, 0, 0);
    return TRUE;
}

BOOL CViewDetailedMeas::RestoreData()
{
    m_bDataValid = TRUE;
    OnInitialUpdate();
    return TRUE;
}
