// The extra-lead and MFER settings lines of CECGPrintReport.
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "reports/ECGPrintReport.h"
#include "waveviews/ViewRhythmWave.h"

namespace {
constexpr int kDocExtra = 4;
constexpr int kDocMFER = 6;
const wchar_t kLoadTimePath[] = L"/Rawdata/Tavrion/Record/Mstep_section/Load_time";

// What the lines are made of.
struct ExtraSettings {
    float senseA = 10.0f;   // the Extra1 set
    float senseB = 10.0f;   // the Extra2 set
    float speed = 25.0f;
    int filter = 100;
    CString mferFilter;
    CString recovery;
    bool firstSet = true;
    bool mfer = false;
};

// One line: MFER records state their filter as the text a; extra-lead
// records state it in Hz, and print only the texts b and c.
CString Line(const ExtraSettings& s, float sense, const CString& a, const CString& b, const CString& c)
{
    CString line;
    if (s.mfer)
        line.Format(L"%.2f mm/mV  %.1f mm/s  %s  %s  %s", sense, s.speed, a.GetString(), b.GetString(), c.GetString());
    else
        line.Format(L"%.2f mm/mV  %.1f mm/s  %d Hz  %s  %s", sense, s.speed, s.filter, b.GetString(), c.GetString());
    return line;
}
}  // namespace

void CECGPrintReport::UpdateExtraDisplayInfo(CViewRhythmWave* pView, int bCommentPage, int /*nReserved*/)
{
    m_strDisplayInfo1.Empty();
    m_strDisplayInfo2.Empty();
    if (!pView) return;
    const int style = pView->GetWaveStyle();
    ExtraSettings s;
    if (auto* extra = m_DocType == kDocExtra ? dynamic_cast<CExtraViewDoc*>(m_pDoc) : nullptr) {
        _EXTRADATAITEM* item = extra->GetCurrentDataItem();
        if (!item) return;
        s.senseA = extra->GetSense(4, 0), s.senseB = extra->GetSense(5, 0);
        s.speed = extra->GetSpeed(), s.filter = extra->GetFilter();
        const CString loadTime = ReadXml(kLoadTimePath);
        s.recovery = loadTime.IsEmpty() ? CString() : L"負荷後 " + loadTime;
        s.firstSet = bCommentPage == 1 && style == 27 ? item->bSelectExtra1 != 0 : item->stExtraInfo.nExtraSet == 2;
    } else if (auto* mfer = m_DocType == kDocMFER ? dynamic_cast<CMFERViewDoc*>(m_pDoc) : nullptr) {
        _MFERDATAITEM* item = mfer->GetCurrentDataItem();
        if (!item) return;
        s.senseA = mfer->GetSense(4, 0), s.senseB = mfer->GetSense(5, 0), s.speed = mfer->GetSpeed();
        s.mferFilter = mfer->GetMFERFilter();
        s.recovery = item->strMasterStep;
        s.firstSet = bCommentPage == 1 && style == 27 ? item->nPaneWritten != 0 : item->nPaneRead == 2;
        s.mfer = true;
    } else {
        return;
    }
    const CString none;
    if (bCommentPage == 1) {
        if (style < 22 || style > 28) return;
        const CString label = style == 24 || style == 25 ? L"6chx1" : L"3chx1";
        m_strDisplayInfo1 = Line(s, s.firstSet ? s.senseA : s.senseB, s.mferFilter, label, s.recovery);
        return;
    }
    if (bCommentPage != 0) return;
    switch (style) {
    case 22:
        m_strDisplayInfo1 = Line(s, pView->IsShowExtra1Lead() ? s.senseA : s.senseB, s.mferFilter,
                                 L"波形連続型(3chx1)", s.recovery);
        break;
    case 24:
        m_strDisplayInfo1 = Line(s, s.senseA, s.mferFilter, L"波形連続型(6chx1)", s.recovery);
        break;
    case 26:
    case 28: {
        const CString name = style == 26 ? L"波形連続型(3chx2)" : L"波形同期型(3chx2)";
        m_strDisplayInfo1 =
            s.mfer ? Line(s, s.senseA, name, s.recovery, none) : Line(s, s.senseA, none, name, s.recovery);
        m_strDisplayInfo2 = s.mfer ? Line(s, s.senseB, s.mferFilter, none, none) : Line(s, s.senseB, none, none, none);
        break;
    }
    default:
        break;
    }
}
