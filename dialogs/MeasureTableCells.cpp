#include "dialogs/MeasureTableCells.h"

#include <cstdlib>

namespace {

const int kAVR = 3;
const int kDerivedAVRPosition = 2;
const int kCabreraLimbs[6] = {4, 0, 3, 1, 5, 2};   // aVL, I, aVR (shown negated), II, aVF, III

const wchar_t* const kItemLabels[MEASURE_ITEMS] = {
    L"P amp.", L"P'amp.", L"Q dur.(equ)", L"Q dur.", L"Q amp.", L"R dur.", L"R amp.", L"S dur.",
    L"S amp.", L"R'dur.", L"R'amp.", L"S'dur.", L"S'amp.", L"V.A.T.", L"QRS area", L"ST J",
    L"ST MID", L"ST END", L"T amp.(mod)", L"T amp.", L"T'amp.", L"TUP", L"delta wave",
};

bool HasNoValue(const CString& text)
{
    return text.Find(L'*') >= 0;
}

int LowOf(int item)
{
    return item == 0 ? 0 : -9999;
}

int HighOf(int item)
{
    return item == 1 ? 0 : 9999;
}

int ValueOf(const CString& text)
{
    return HasNoValue(text) ? CMeasureTableCells::kNoValue : static_cast<int>(std::wcstol(text, nullptr, 10));
}

int Negated(int value)
{
    return value == CMeasureTableCells::kNoValue ? value : -value;
}

CString ValueText(int value)
{
    if (value == CMeasureTableCells::kNoValue) return CString(L"****");
    CString text;
    text.Format(L"%d", value);
    return text;
}

bool OutOfRange(int item, const CString& text)
{
    if (HasNoValue(text)) return false;
    const int value = ValueOf(text);
    return value < LowOf(item) || value > HighOf(item);
}

}  // namespace

int CMeasureTableCells::StoredLead(int position, int nKindCode)
{
    if (nKindCode == kCabreraKind && position >= 0 && position < 6) return kCabreraLimbs[position];
    return position;
}

bool CMeasureTableCells::IsDerivedAVR(int position, int nKindCode)
{
    return nKindCode == kCabreraKind && position == kDerivedAVRPosition;
}

const wchar_t* CMeasureTableCells::ItemLabel(int item)
{
    return item >= 0 && item < MEASURE_ITEMS ? kItemLabels[item] : L"";
}

void CMeasureTableCells::Load(const _MEASURE_INFO& measure, int position, int nKindCode)
{
    LoadGlobals(measure);
    const int lead = StoredLead(position, nKindCode);
    m_nStoredLead = -1;
    if (lead < 0 || lead >= MEASURE_LEADS) {
        LoadMissingLead();
        return;
    }
    if (IsDerivedAVR(position, nKindCode)) {
        LoadDerivedAVR(measure);
        return;
    }
    LoadLead(measure, lead);
    m_nStoredLead = lead;
}

void CMeasureTableCells::LoadGlobals(const _MEASURE_INFO& measure)
{
    for (int i = 0; i < MEASURE_GLOBALS; ++i) {
        Cell& cell = m_cells[kFirstGlobal + i];
        cell.strText = cell.strShown = measure.strGlobal[i];
        cell.bEditable = !HasNoValue(cell.strText);
    }
    m_cells[kFirstGlobal].bEditable = FALSE;   // the heart rate comes from the analysis only
}

void CMeasureTableCells::LoadLead(const _MEASURE_INFO& measure, int lead)
{
    for (int item = 0; item < MEASURE_ITEMS; ++item) {
        m_cells[item].strText = m_cells[item].strShown = measure.At(item, lead);
        m_cells[item].bEditable = !HasNoValue(m_cells[item].strText);
    }
}

// The extra leads of a 15-lead record have no per-lead texts.
void CMeasureTableCells::LoadMissingLead()
{
    for (int item = 0; item < MEASURE_ITEMS; ++item) {
        m_cells[item].strText = m_cells[item].strShown = item <= kLastNumericItem ? L"****" : L"*";
        m_cells[item].bEditable = FALSE;
    }
}

// -aVR from aVR: amplitudes negated, so aVR's P and P' swap, and the waves
// move one place (aVR's R is -aVR's Q when aVR has no Q, and so on). There is
// no way back from the shown values to aVR's, so every lead cell is shown only.
void CMeasureTableCells::LoadDerivedAVR(const _MEASURE_INFO& measure)
{
    int a[kLastNumericItem + 1];
    for (int i = 0; i <= kLastNumericItem; ++i) a[i] = ValueOf(measure.At(i, kAVR));
    int b[kLastNumericItem + 1] = {};
    b[0] = Negated(a[1]);
    b[1] = Negated(a[0]);
    b[2] = 0;
    const int offset = a[4] != 0 ? -2 : 2;   // with a Q wave, Q moves to R; without, R moves to Q
    for (int i = 3; i <= 12; ++i) {
        const int source = i + offset;
        b[i] = source >= 3 && source <= 12 ? a[source] : 0;
    }
    for (int i = 13; i <= kLastNumericItem; ++i) b[i] = Negated(a[i]);
    for (int i = 0; i <= kLastNumericItem; ++i) m_cells[i] = Cell{ValueText(b[i]), FALSE, ValueText(b[i])};
    for (int i = kLastNumericItem + 1; i < MEASURE_ITEMS; ++i)
        m_cells[i] = Cell{measure.At(i, kAVR), FALSE, measure.At(i, kAVR)};
}

void CMeasureTableCells::MakeReadOnly()
{
    for (Cell& cell : m_cells) cell.bEditable = FALSE;
}

int CMeasureTableCells::FindOutOfRange() const
{
    if (!StoresLeadValues()) return -1;
    for (int item = 0; item <= kLastNumericItem; ++item)
        if (m_cells[item].IsEdited() && OutOfRange(item, m_cells[item].strText)) return item;
    return -1;
}

CString CMeasureTableCells::RangeMessage(int item)
{
    CString message;
    message.Format(L"The value of %s should be between %d and %d !!!", ItemLabel(item), LowOf(item), HighOf(item));
    return message;
}

BOOL CMeasureTableCells::Store(_MEASURE_INFO& measure) const
{
    if (FindOutOfRange() >= 0) return FALSE;
    for (int i = 0; i < MEASURE_GLOBALS; ++i)
        if (m_cells[kFirstGlobal + i].IsEdited()) measure.strGlobal[i] = m_cells[kFirstGlobal + i].strText;
    if (!StoresLeadValues()) return TRUE;
    for (int item = 0; item < MEASURE_ITEMS; ++item) {
        const Cell& cell = m_cells[item];
        if (!cell.IsEdited()) continue;
        const bool copied = item > kLastNumericItem || HasNoValue(cell.strText);
        measure.At(item, m_nStoredLead) = copied ? cell.strText : ValueText(ValueOf(cell.strText));
    }
    return TRUE;
}
