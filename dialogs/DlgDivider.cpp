#include "dialogs/DlgDivider.h"

#include <algorithm>

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "dialogs/EditingOk.h"
#include "dialogs/EnlargedWaveLayout.h"
#include "dialogs/XmlPathMaker.h"
#include "platform/base/DateTime.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/ui/framework/Button.h"
#include "platform/ui/framework/Edit.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/FrameWnd.h"
#include "waveviews/RhythmWaveStyle.h"
#include "waveviews/ViewDividerWave.h"
#include "waveviews/WaveItemRef.h"

IMPLEMENT_DYNAMIC(CDlgDivider, CDlgModal)

BEGIN_MESSAGE_MAP(CDlgDivider, CDlgModal)
    ON_MESSAGE(WM_DIVIDER_DROPPED, OnInterval)
    ON_BN_CLICKED(IDC_CHECK_2, OnCheck2)
    ON_BN_CLICKED(IDC_CHECK_3, OnCheck3)
    ON_WM_HSCROLL()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

namespace {
// The strip is drawn at 25 mm/s; ten millimetres of it carry no wave.
const int kStripSpeed = 25;
const int kUnusedMillimetres = 10;
const int kOneLeadRestStyle = 14;
const int kOneLeadStripStyle = 19;
}  // namespace

CDlgDivider::CDlgDivider(CWnd* pParent)
    : CDlgModal(IDD, pParent), m_frame({IDC_STRIP_BAR, 0, 0, 0, 0, 0, 0}), m_pFont(g_pDlgFontMiddle1)
{
}

CDlgDivider::~CDlgDivider() = default;

void CDlgDivider::SetWaveParam(int nWidth, int nHeight, int nLength, int nRate, int nStart)
{
    m_nStripWidth = nWidth;
    m_nStripHeight = nHeight;
    m_nLength = nLength;
    m_nRate = nRate;
    m_nStart = nStart;
}

CString CDlgDivider::FormatInterval(int caliper, int milliseconds)
{
    static const wchar_t* const kFormats[3] = {L"%s I %s%d%s %s %s", L"%s II %s%d%s %s %s", L"%s III %s%d%s %s %s"};
    CString rate = L"   ";
    if (milliseconds != 0) rate.Format(L"%d%s", 60000 / milliseconds, L"[bpm]");
    CString line;
    line.Format(kFormats[caliper >= 1 && caliper <= 2 ? caliper : 0], L"心拍测量", L"Dur.", milliseconds, L"[mS]",
                L"心拍数换算值", rate.GetString());
    return line;
}

void CDlgDivider::FitRange()
{
    m_nScreenSamples = std::max(0, std::min(m_nRate * (m_nStripWidth - kUnusedMillimetres) / kStripSpeed, m_nLength));
    m_nStart = std::max(0, std::min(m_nStart, m_nLength - m_nScreenSamples));
}

BOOL CDlgDivider::OnInitDialog()
{
    CDlgModal::OnInitDialog();
    ApplyFont();
    SetWindowText(L"心拍测量");
    SetDlgItemText(IDC_RATE_LABEL, L"心拍数");
    SetDlgItemText(IDC_RATE_UNIT, L"bpm");
    SetDlgItemText(IDOK, L"更新");
    SetDlgItemText(IDCANCEL, L"关闭");
    SetDlgItemText(IDC_READOUT_1, L"");
    FitRange();
    PlaceControls();
    if (CreateStripView()) SetUpScrollBar();
    ApplyUpdatePermission();
    ShowHeartRate();
    return TRUE;
}

BOOL CDlgDivider::CreateStripView()
{
    m_pView = DYNAMIC_DOWNCAST(CViewDividerWave,
                               CEnlargedViewFrame::CreateAt(*this, m_rcStrip, RUNTIME_CLASS(CViewDividerWave), m_pDoc));
    if (!m_pView) return FALSE;
    m_pView->SetDocType(m_nDocType);
    m_pView->SetWaveStyle(m_nDocType == DOC_TYPE_REST ? kOneLeadRestStyle : kOneLeadStripStyle, TRUE);
    m_pView->SetRhythm1LeadID(m_nLead);
    m_pView->SetWaveRange(m_nStart, m_nScreenSamples);
    m_pView->SendMessage(WM_INITIALUPDATE, 0, 0);
    return TRUE;
}

void CDlgDivider::SetUpScrollBar()
{
    auto* bar = static_cast<CScrollBar*>(GetDlgItem(IDC_STRIP_BAR));
    if (!bar) return;
    // A record of ten seconds or less fits the strip: nothing to scroll. A
    // sample more than ten seconds is a record longer than them.
    if (m_nRate <= 0 || static_cast<long long>(m_nLength) <= 10LL * m_nRate) {
        bar->ShowWindow(SW_HIDE);
        return;
    }
    bar->SetScrollRange(0, m_nLength - m_nScreenSamples);
    bar->SetScrollPos(m_nStart);
}

void CDlgDivider::ApplyUpdatePermission()
{
    auto* edit = static_cast<CEdit*>(GetDlgItem(IDC_RATE_EDIT));
    if (edit) edit->SetLimitText(3);
    if (m_pDoc && m_pDoc->IsReadOnly() == 1) {
        // A record opened for viewing shows its rate and offers no update.
        if (edit) {
            edit->SetReadOnly(TRUE);
            edit->EnableWindow(FALSE);
        }
        if (CWnd* update = GetDlgItem(IDOK)) update->ShowWindow(SW_HIDE);
        return;
    }
    CEditingOk::ApplyPermission(*this, m_pDoc);
}

void CDlgDivider::ShowHeartRate()
{
    const CWaveItemRef item = CWaveItemRef::Of(m_pDoc, m_nDocType);
    const _MFERDATAITEM* mfer = item.Mfer();
    const bool fullLead = mfer && (mfer->uSystemCode == MFER_KIND_12LEAD || mfer->uSystemCode == MFER_KIND_15LEAD);
    if (item.Rest() || fullLead) {
        CString rate = item.Rest() ? item.Rest()->strHeartRate : mfer->strHeartRate;
        if (rate.Find(L'*') >= 0) rate.Empty();
        SetDlgItemText(IDC_RATE_EDIT, rate);
        GetDlgItemText(IDC_RATE_EDIT, m_strShownRate);
        return;
    }
    // Without a heart rate of the record there is nothing to update: the
    // close button takes the update button's place.
    const int hidden[] = {IDC_RATE_LABEL, IDC_RATE_EDIT, IDC_RATE_UNIT, IDOK};
    for (int id : hidden)
        if (CWnd* control = GetDlgItem(id)) control->ShowWindow(SW_HIDE);
    CWnd* update = GetDlgItem(IDOK);
    CWnd* close = GetDlgItem(IDCANCEL);
    if (update && close) {
        CRect place;
        update->GetWindowRect(&place);
        ScreenToClient(&place);
        close->MoveWindow(&place);
    }
}

LRESULT CDlgDivider::OnInterval(WPARAM wParam, LPARAM lParam)
{
    const int caliper = static_cast<int>(lParam);
    const int id = caliper == 1 ? IDC_READOUT_2 : caliper == 2 ? IDC_READOUT_3 : IDC_READOUT_1;
    SetDlgItemText(id, FormatInterval(caliper, static_cast<int>(wParam)));
    return 0;
}

void CDlgDivider::OnCheck2()
{
    if (!m_pView) return;
    m_pView->SetDivider2Check(IsDlgButtonChecked(IDC_CHECK_2) == BST_CHECKED);
    m_pView->Invalidate(FALSE);
}

void CDlgDivider::OnCheck3()
{
    if (!m_pView) return;
    m_pView->SetDivider3Check(IsDlgButtonChecked(IDC_CHECK_3) == BST_CHECKED);
    m_pView->Invalidate(FALSE);
}

void CDlgDivider::OnHScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar)
{
    if (!m_pView || !pScrollBar || pScrollBar->GetDlgCtrlID() != IDC_STRIP_BAR) return;
    int lowest = 0;
    int highest = 0;
    pScrollBar->GetScrollRange(&lowest, &highest);
    // A fiftieth of the range, truncated: a range under fifty samples has no page to move by.
    const int page = (highest - lowest) / 50;
    const std::optional<int> position = m_frame.Scroll(*this, pScrollBar, nSBCode, page);
    if (!position) return;
    m_nStart = *position;
    m_pView->SetWaveRange(m_nStart, m_nScreenSamples);
    m_pView->UpdateDrawDC();
    m_pView->Invalidate(FALSE);
}

COLORREF CDlgDivider::ReadoutColour(int id)
{
    switch (id) {
    case IDC_READOUT_1: return RGB(0, 0, 255);
    case IDC_READOUT_2: return RGB(46, 139, 87);
    case IDC_READOUT_3: return RGB(255, 0, 0);
    default: return CLR_INVALID;
    }
}

HBRUSH CDlgDivider::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = CDlgModal::OnCtlColor(pDC, pWnd, nCtlColor);
    const COLORREF colour = pWnd ? ReadoutColour(pWnd->GetDlgCtrlID()) : CLR_INVALID;
    if (colour != CLR_INVALID) pDC->SetTextColor(colour);
    pDC->SetBkMode(TRANSPARENT);
    return brush;
}

CString CDlgDivider::TypedHeartRate()
{
    CString typed;
    GetDlgItemText(IDC_RATE_EDIT, typed);
    CString rate;
    rate.Format(L"%d", _wtoi(typed.GetString()));
    return rate;
}

bool CDlgDivider::IsRateTyped()
{
    CString text;
    GetDlgItemText(IDC_RATE_EDIT, text);
    return text != m_strShownRate;
}

bool CDlgDivider::WriteHeartRateXml(const CString& path, const CString& name, const CString* rate,
                                    const _PATIENT_INFO& patient)
{
    static const wchar_t kEditor[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Editor_name";
    static const wchar_t kEditorDate[] = L"/Rawdata/Tavrion/Inspection/Voktext_section/Analysis_editor/Edit_date";
    static const wchar_t kAnalysisDate[] = L"/Rawdata/Tavrion/Analysis/Analysis_edit/Edit_date";
    static const wchar_t kHeartRate[] = L"/Rawdata/Tavrion/Measurement/Measurement_section/Heart_rate";
    CECGXMLParser xml(path, 0, CString());
    _XML_ATTRIB_DATE date;
    date.SetDate(COleDateTime::GetCurrentTime());
    for (const wchar_t* element : {kEditor, kEditorDate, kAnalysisDate})
        if (!EnsureElementPath(xml, element)) return false;
    if (rate && !EnsureElementPath(xml, kHeartRate)) return false;
    xml.SetDataToXMLDOM(name, kEditor, 4, CString());
    xml.SetDateAttrib(date, kEditorDate);
    xml.SetDateAttrib(date, kAnalysisDate);
    if (rate) xml.SetDataToXMLDOM(*rate, kHeartRate, 4, CString());
    m_pDoc->KeepShownConfirmation(patient, &xml);
    xml.SaveToXMLFile();
    return xml.m_bLastSaveFailed == 0;
}

void CDlgDivider::OnOK()
{
    if (!m_pDoc || m_pDoc->IsReadOnly() == 1 || m_nDocType == DOC_TYPE_EXTRA || m_nDocType == DOC_TYPE_RHYTHM) {
        EndDialog(IDOK);
        return;
    }
    _EDIT_STAMP_FIELDS fields;
    if (m_nDocType != DOC_TYPE_REST && m_nDocType != DOC_TYPE_MFER) return;
    if (!CurrentEditStampFields(m_pDoc, m_nDocType, fields)) return;
    const CWaveItemRef item = CWaveItemRef::Of(m_pDoc, m_nDocType);
    _RESTDATAITEM* rest = item.Rest();
    _MFERDATAITEM* mfer = item.Mfer();
    if (!rest && !mfer) return;
    const CString rate = TypedHeartRate();
    // A rate the edit shows as the record gave it is no update of it: the
    // record keeps its text ("075", a missing rate shown empty, ...).
    const bool typed = IsRateTyped();
    CEditingOk::Run run;
    // A record read for confirmation is updated by its confirming doctor: the
    // doctor's confirmation stands in place of the editor's stamps, so the
    // record is left confirmed rather than marked edited after confirmation.
    run.prompt = rest && rest->bDoctorConfirm ? CEditingOk::Prompt::Doctor : CEditingOk::Prompt::Editor;
    // The host may redraw from the store while it is told; the store is
    // filled from the item once more afterwards, so the new rate is what stays.
    run.order = CEditingOk::StandardOrder();
    run.order.push_back(CEditingOk::CommitStep::Refill);
    run.store = [&](const CString& name) {
        const CString& path = rest ? rest->strXMLPath : mfer->strXMLPath;
        if (!WriteHeartRateXml(path, name, typed ? &rate : nullptr, rest ? rest->stPatient : mfer->stPatient)) {
            CEditingOk::ReportFailedSave();
            return false;
        }
        if (!typed) return true;
        // The item carries the new rate too: the document's own saves (the
        // record, the measurement table) write the item's values back.
        _MEASURE_INFO& measure = rest ? rest->stMeasure : mfer->stMeasure;
        (rest ? rest->strHeartRate : mfer->strHeartRate) = rate;
        measure.strGlobal[0] = rate;
        return true;
    };
    if (CEditingOk::Execute(m_pDoc, fields, run) == CEditingOk::Outcome::Stored) EndDialog(IDOK);
}
