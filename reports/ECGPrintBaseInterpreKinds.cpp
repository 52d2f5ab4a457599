// The RR, rhythm and extra-lead interpretation print blocks of CECGPrintBase.
#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "printdevice/ECGDC.h"
#include "reports/ECGPrintBase.h"
#include "reports/ReportTextScope.h"

namespace {
constexpr int kRRTable = 10;
constexpr int kRhythmTable = 11;
constexpr int kExtraTable = 13;
const wchar_t kNeedsDoctor[] = L"医師による確認が必要です";

CString WithoutLeadingBlanks(CString text)
{
    text.TrimLeft();
    return text;
}

bool IsFreezeMferCode(unsigned int code)
{
    return code >= 0x7011 && code <= 0x7016;
}
}  // namespace

// ---- RR ----------------------------------------------------------------------------------------

int CECGPrintBase::PrintRRInterpreInfo(CRect rcBlock)
{
    if (!PrintTable(kRRTable)) return 1;
    CReportTextScope scope(*m_pECGDC, m_pPrintFont, TA_LEFT | TA_TOP);
    CString confirmation = GetRRConfirmInfo(DATA_TIME_CONFIRM);
    auto* doc = m_DocType == 3 ? dynamic_cast<CRRViewDoc*>(m_pDoc) : nullptr;
    _RRDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    // The doctor's flag locks the fields; the patient record's flag says the
    // confirmation was stored with nothing edited after it.
    const bool stored = item && (item->bDoctorConfirm == 0 || item->stPatient.bConfirmed != 0);
    if (stored) confirmation = item->stPatient.strConfirmation;
    const int shift = PrintGatedAdditions(kRRTable, 15, m_nVisibleMask, rcBlock);
    bool suppressed[64] = {};
    SuppressEmptyPairs(kRRTable, {1, 3, 7}, suppressed);
    for (int row = 0; row <= 51; ++row) {
        if ((row >= 15 && row <= 21) || row >= 49 || suppressed[row] || !IsRowVisible(kRRTable, row)) continue;
        if (stored && (row == 33 || row == 35 || row == 36)) continue;
        const int rowShift = row >= 22 && row <= 36 ? shift : 0;
        CString text = RowText(kRRTable, row);
        if (row == 14) text = WithoutLeadingBlanks(GetRRConfirmInfo(DATA_TIME_1));
        if (row == 32) text = WithoutLeadingBlanks(GetRRConfirmInfo(DATA_TIME_3));
        if (row == 36) text = item ? item->stPatient.strConfirmDoctor : CString();
        if (row == 38 || row == 40 || row == 42 || row == 44 || row == 46 || row == 48) text = L"= " + text;
        if (row == 29) {
            CommentRow(kRRTable, row, rcBlock, rowShift, text, 7);
            continue;
        }
        if (row == 34) {
            // A stored confirmation stands where its caption would.
            CRect rect = RowRect(rcBlock, PrintTable(kRRTable)[34], rowShift);
            if (stored) rect.OffsetRect(RowRect(rcBlock, PrintTable(kRRTable)[33], rowShift).left - rect.left, 0);
            m_pECGDC->DrawText(confirmation, &rect, DT_NOCLIP);
            continue;
        }
        DrawRow(kRRTable, row, rcBlock, rowShift, text);
    }
    return 1;
}

// ---- rhythm ------------------------------------------------------------------------------------

int CECGPrintBase::PrintRhyInterpreInfo(CRect rcBlock, int bLowerConfirm)
{
    if (!PrintTable(kRhythmTable)) return 1;
    CReportTextScope scope(*m_pECGDC, m_pPrintFont, TA_LEFT | TA_TOP);
    auto* doc = m_DocType == 2 ? dynamic_cast<CRhythmViewDoc*>(m_pDoc) : nullptr;
    _RHYTHMDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    const int shift = PrintGatedAdditions(kRhythmTable, 27, m_nVisibleMask, rcBlock);
    bool suppressed[64] = {};
    SuppressEmptyPairs(kRhythmTable, {1, 3, 19}, suppressed);
    for (int row = 0; row <= 39; ++row) {
        if ((row >= 27 && row <= 33) || suppressed[row] || !IsRowVisible(kRhythmTable, row)) continue;
        const int rowShift = row >= 34 && row <= 38 ? shift : 0;
        CString text;
        if (row == 5 || row == 7) {
            if (item)
                text = row == 5 ? MedicationText(item->stInterpre.strMedication1, item->stInterpre.nMedication1Sel, 0)
                                : MedicationText(item->stInterpre.strMedication2, item->stInterpre.nMedication2Sel, 1);
        } else if (row == 26 || row == 38) {
            if (item) text = WithoutLeadingBlanks(GetRhythmConfirmInfo(row == 26 ? DATA_TIME_1 : DATA_TIME_3));
            if (text.Find(kNeedsDoctor) >= 0) text.Empty();
        } else if (row == 35) {
            CommentRow(kRhythmTable, row, rcBlock, rowShift, RowText(kRhythmTable, row), 7);
            continue;
        } else if (row == 39) {
            int confirmShift = 0;
            if (item) {
                text = GetRhythmConfirmInfo(DATA_TIME_CONFIRM);
                if (item->nLeadCount == 12 || item->nLeadCount == 15)
                    confirmShift = -80;
                else if (bLowerConfirm)
                    confirmShift = 50;
            }
            DrawRow(kRhythmTable, row, rcBlock, confirmShift, text);
            continue;
        } else {
            text = RowText(kRhythmTable, row);
        }
        DrawRow(kRhythmTable, row, rcBlock, rowShift, text);
    }
    return 1;
}

// ---- extra leads -------------------------------------------------------------------------------

int CECGPrintBase::PrintExtraInterpreInfo(CRect rcBlock)
{
    if (m_DocType != 4 && m_DocType != 6) return 0;
    if (!PrintTable(kExtraTable)) return 1;
    CReportTextScope scope(*m_pECGDC, m_pPrintFont, TA_LEFT | TA_TOP);
    int flags = 0;
    bool freeze = false;
    if (auto* extra = m_DocType == 4 ? dynamic_cast<CExtraViewDoc*>(m_pDoc) : nullptr) {
        if (_EXTRADATAITEM* item = extra->GetCurrentDataItem()) {
            flags = item->stAddition.bPresent;
            freeze = item->IsFreeze();
        }
    } else if (auto* mfer = dynamic_cast<CMFERViewDoc*>(m_pDoc)) {
        if (_MFERDATAITEM* item = mfer->GetCurrentDataItem()) {
            flags = item->stAddition.bPresent;
            freeze = IsFreezeMferCode(item->uSystemCode);
        }
    }
    const int shift = PrintGatedAdditions(kExtraTable, 47, flags, rcBlock);
    bool suppressed[64] = {};
    SuppressEmptyPairs(kExtraTable, {17, 19, 34}, suppressed);
    const CString bpUnit = FormatUnit(m_pDoc->GetDefXMLPath(kExtraTable, 15, 0), DATA_UNIT_BP);
    for (int row = 0; row <= 59; ++row) {
        if ((row >= 47 && row <= 53) || suppressed[row] || !IsRowVisible(kExtraTable, row)) continue;
        if (row >= 42 && row <= 44 && !freeze) continue;
        const int rowShift = row >= 54 ? shift : 0;
        auto path = [&](int alternative) { return m_pDoc->GetDefXMLPath(kExtraTable, row, alternative); };
        CString text;
        switch (row) {
        case 7: text = FormatPrintAge(path(0)) + FormatPrintBirthday(path(1)); break;
        case 8:
        case 10: text = FormatWeightHeight(path(0), path(1)); break;
        case 9: text = FormatUnit(path(0), DATA_UNIT_HEIGHT); break;
        case 11: text = FormatUnit(path(0), DATA_UNIT_WEIGHT); break;
        case 15: text = FormatUnit(path(0), DATA_UNIT_BP); break;
        case 12:
        case 14: text = FormatBPValue(bpUnit, path(0)); break;
        case 41: text = WithoutLeadingBlanks(GetExtraConfirmInfo(DATA_TIME_1)); break;
        case 44: text = WithoutLeadingBlanks(GetExtraConfirmInfo(DATA_TIME_2)); break;
        case 58: text = WithoutLeadingBlanks(GetExtraConfirmInfo(DATA_TIME_3)); break;
        case 59: text = WithoutLeadingBlanks(GetExtraConfirmInfo(DATA_TIME_CONFIRM)); break;
        case 55: CommentRow(kExtraTable, row, rcBlock, rowShift, RowText(kExtraTable, row), 7); continue;
        default: text = RowText(kExtraTable, row); break;
        }
        if ((row == 5 || row == 9 || row == 11 || row == 21) && !text.IsEmpty()) text += L" ,";
        if (row == 3) text += m_pDoc->GetSuffix();
        DrawRow(kExtraTable, row, rcBlock, rowShift, text);
    }
    return 1;
}
