// The settings lines of CECGPrintBase: the sensitivity, speed, filter and
// layout with which the waves under them are drawn.
#include "analysisviews/ViewAverageWave.h"
#include "documents/RestViewDoc.h"
#include "reports/ECGPrintBase.h"
#include "waveviews/ViewRhythmWave.h"

namespace {
const wchar_t kSettingsFormat[] = L"%.2f mm/mV  %.1f mm/s  %d Hz  %s  %s  %s";
const wchar_t kTripLabel[] = L"ﾄﾘｯﾌﾟ";
const wchar_t kLoadTimePath[] = L"/Rawdata/Tavrion/Record/Mstep_section/Load_time";

CString SettingsLine(float sense, float speed, int filter, const CString& a, const CString& b, const CString& c)
{
    CString line;
    line.Format(kSettingsFormat, sense, speed, filter, a.GetString(), b.GetString(), c.GetString());
    return line;
}

// The trip figures of a resting record: the label alone while the figures
// are missing or unknown ("*").
CString RestTripText(const _RESTDATAITEM& item)
{
    if (!item.bTrip) return CString();
    CString text;
    if ((item.strTrip.IsEmpty() && item.strTotalTrip.IsEmpty()) || item.strTrip == L"*")
        text.Format(L" %s/", kTripLabel);
    else
        text.Format(L" %s%s/%s", kTripLabel, item.strTrip.GetString(), item.strTotalTrip.GetString());
    return text;
}

// The trip figures over the average beats: the label alone while the
// first figure is missing or unknown, the figures unspaced otherwise.
CString AverageTripText(const _RESTDATAITEM& item)
{
    if (!item.bTrip) return CString();
    CString text;
    if (item.strTrip.IsEmpty() || item.strTrip == L"*")
        text.Format(L" %s/", kTripLabel);
    else
        text.Format(L"%s%s/%s", kTripLabel, item.strTrip.GetString(), item.strTotalTrip.GetString());
    return text;
}

// The name of a resting layout; empty for the styles that print no line.
CString RestLayoutName(int style, bool fifteen)
{
    switch (style) {
    case 1: return fifteen ? L"波形连续型(3chx5)" : L"波形连续型(3chx4)";
    case 3: return fifteen ? L"波形同期型(3chx5)" : L"波形同期型(3chx4)";
    case 5: return L"波形连续型(6chx2)";
    case 7: return L"波形同期型(6chx2)";
    case 9: return L"波形连续型(6chx1)";
    case 11: return L"波形连续型(12chx1)";
    case 12: return L"波形连续型(15chx1)";
    default: return CString();
    }
}
}  // namespace

CString CECGPrintBase::RecoveryText()
{
    const CString loadTime = ReadXml(kLoadTimePath);
    return loadTime.IsEmpty() ? CString() : L"負荷後 " + loadTime;
}

void CECGPrintBase::UpdateInterpreDisplay(CViewAverageWave* pView)
{
    m_strDisplayInfo1.Empty();
    m_strDisplayInfo2.Empty();
    auto* doc = pView ? dynamic_cast<CRestViewDoc*>(pView->GetDocument()) : nullptr;
    _RESTDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!item) return;
    // The average beats are drawn at 25 mm/s whatever the record's speed.
    m_strDisplayInfo1.Format(L"%.2f mm/mV %.1f mm/s %d Hz %s", doc->GetSense(1, 0), 25.0, doc->GetFilter(),
                             RecoveryText().GetString());
    m_strDisplayInfo2.Format(L"%.2f mm/mV %s", doc->GetSense(0, 0), AverageTripText(*item).GetString());
}

void CECGPrintBase::UpdateRestDisplayInfo(CViewRhythmWave* pView)
{
    m_strDisplayInfo1.Empty();
    m_strDisplayInfo2.Empty();
    auto* doc = pView ? dynamic_cast<CRestViewDoc*>(pView->GetDocument()) : nullptr;
    _RESTDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!item) return;
    const CString recovery = RecoveryText();
    const CString trip = RestTripText(*item);
    const float g1 = doc->GetSense(1, 0), g0 = doc->GetSense(0, 0), g6 = doc->GetSense(6, 0);
    const float speed = doc->GetSpeed();
    const int filter = doc->GetFilter();
    const int style = pView->GetWaveStyle();
    const bool fifteen = IsRestFifteenCode(item->uSystemCode) != FALSE;
    const CString name = RestLayoutName(style, fifteen);
    const CString none;
    switch (style) {
    case 1:
    case 3:
        m_strDisplayInfo1 = SettingsLine(g1, speed, filter, name, fifteen ? none : recovery, none);
        m_strDisplayInfo2 = fifteen ? SettingsLine(g0, speed, filter, recovery, trip, none)
                                    : SettingsLine(g0, speed, filter, trip, none, none);
        break;
    case 5:
    case 7:
        m_strDisplayInfo1 = SettingsLine(g1, speed, filter, name, recovery, none);
        m_strDisplayInfo2 = SettingsLine(g0, speed, filter, trip, none, none);
        break;
    case 9:
        m_strDisplayInfo1 = SettingsLine(g1, speed, filter, name, recovery, trip);
        m_strDisplayInfo2 = SettingsLine(g0, speed, filter, name, recovery, trip);
        break;
    case 11:
    case 12:
        m_strDisplayInfo1 = SettingsLine(g6, speed, filter, name, recovery, trip);
        break;
    default:
        break;
    }
}
