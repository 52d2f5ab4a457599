#include "panes/WndExerAverage.h"

#include <cmath>
#include <cwchar>

#include "analysisviews/ViewExerAverage.h"
#include "analysisviews/ViewExerAverage3D.h"
#include "analysisviews/ViewExerTrend.h"
#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/UserMessages.h"
#include "dialogs/Dlg3DControl.h"
#include "dialogs/DlgCtrl.h"
#include "dialogs/DlgExerTimer.h"
#include "dialogs/DlgExerLeadSel.h"
#include "dialogs/DlgExerLeadSelection.h"
#include "dialogs/DlgPreNext.h"
#include "documents/ExerTags.h"
#include "documents/ExerViewDoc.h"
#include "panes/PageButtons.h"
#include "panes/PaneKit.h"
#include "panes/WndExerAverageStrips.h"

IMPLEMENT_DYNAMIC(CWndExerAverage, CWnd)

BEGIN_MESSAGE_MAP(CWndExerAverage, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_ANNOTATION_ACTIVE, OnUserAnnotationActive)
END_MESSAGE_MAP()

namespace {

constexpr UINT k3DViewId = 200;
constexpr UINT kTrendViewId = 201;
constexpr UINT kAverageViewId = 202;
constexpr int kTrendParentAverage = 2;
constexpr int kHeartRateTrend = 1;

// The 3D control strip.
constexpr int k3DTemplate = 168;
constexpr int kTiltUp = 4182;
constexpr int kTiltDown = 4183;
constexpr int kRotateLeft = 4184;
constexpr int kResetAngle = 4185;
constexpr int kRotateRight = 4186;
constexpr int kRelativeST = 4187;
constexpr int kAbsoluteST = 4188;
constexpr int kSwing = 4189;

// The lead strip.
constexpr int kLeadTemplate = 171;
constexpr int kLeadMode = 4190;
constexpr int kLeadDialog = 4191;
constexpr int kOneLeadGain = 4192;
constexpr LPCWSTR kTwelveLeads = L"12 誘導";
constexpr LPCWSTR kSixLeads = L"ｴｸｽﾄ?6誘導";
constexpr LPCWSTR kOneLead = L"1Ch ﾜｲﾄﾞ";
constexpr LPCWSTR kGains[] = {L"X 4", L"X 2", L"X 1", L"X 1/2", L"X 1/4"};
constexpr double kGainValues[] = {4.0, 2.0, 1.0, 0.5, 0.25};
constexpr int kGainCount = 5;

constexpr int kTwelveLeadMode = 1;
constexpr int kSixLeadMode = 2;
constexpr int kOneLeadMode = 3;

constexpr UINT kDisplaySizeByGrid = 5;
constexpr double kAnnoScale = 0.0017857143;

const CString kSixLeadSetting = L"/Rawdata/Assist_info/Reference/Setting/Lead_selection/Lead_6ch";
const CString kOneLeadSetting = L"/Rawdata/Assist_info/Reference/Setting/Lead_selection/Lead_1ch";

// The side margin of display size mode 5, in pixels.
int GridModeMargin() { return static_cast<int>(10 * g_dXUnit); }

// A whole number stored at the path of the record XML; `missing` when the
// node is absent or holds no number.
int ReadSetting(CECGXMLParser& xml, const CString& path, int missing)
{
    CString text;
    if (!xml.GetDataFromXMLDOM(text, path, 4, CString())) return missing;
    text.Trim();
    if (text.IsEmpty()) return missing;
    wchar_t* end = nullptr;
    const long value = std::wcstol(text.GetString(), &end, 10);
    if (!end || *end != L'\0') return missing;
    return static_cast<int>(value);
}

// The average beats paint their own ground: a repaint draws them whole.
void Repaint(CWnd* view)
{
    if (view && view->GetSafeHwnd()) view->InvalidateRect(nullptr, FALSE);
}

}  // namespace

CWndExerAverage::CWndExerAverage()
    : m_pPreNext(nullptr), m_pTimeStep(nullptr), m_pInfo(nullptr), m_p3DControl(nullptr), m_pLeadSel(nullptr),
      m_p3DView(nullptr), m_pTrendView(nullptr), m_pAverageView(nullptr), m_nTimerID(0), m_pExerViewDoc(nullptr)
{
}

CWndExerAverage::~CWndExerAverage()
{
    delete m_pPreNext;
    m_pPreNext = nullptr;
    delete m_pTimeStep;
    m_pTimeStep = nullptr;
    delete m_pInfo;
    m_pInfo = nullptr;
    delete m_p3DControl;
    m_p3DControl = nullptr;
    delete m_pLeadSel;
    m_pLeadSel = nullptr;
}

BOOL CWndExerAverage::Is250Record() const
{
    const _EXERDATAITEM* item = m_pExerViewDoc ? m_pExerViewDoc->GetCurrentDataItem() : nullptr;
    return item && (item->uSystemCode & 0xFF) == 250;
}

BOOL CWndExerAverage::HasView(CWnd* view) const { return view && view->GetSafeHwnd(); }

// ---- creation --------------------------------------------------------------------------------

int CWndExerAverage::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    CExerViewDoc* doc = m_pExerViewDoc;
    const _EXERDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    CFont* font = doc ? doc->GetDocFont(0) : nullptr;

    m_p3DView = static_cast<CViewExerAverage3D*>(
        panes::CreateChildView(this, doc, RUNTIME_CLASS(CViewExerAverage3D), k3DViewId));
    if (m_p3DView) {
        m_p3DView->ShowWindow(SW_SHOW);
        m_p3DView->OnInitialUpdate();
        panes::RepaintView(m_p3DView);
    }
    m_pTrendView =
        static_cast<CViewExerTrend*>(panes::CreateChildView(this, doc, RUNTIME_CLASS(CViewExerTrend), kTrendViewId));
    if (m_pTrendView) {
        m_pTrendView->SetParentWndType(kTrendParentAverage);
        m_pTrendView->UpdateInformation();
        m_pTrendView->SetTrendStyle(kHeartRateTrend);
    }

    m_pInfo = panes::CreateStrip<CDlgCtrl>(this, doc, panes::kInfoTemplate, panes::kInfoTemplate, this);
    if (m_pInfo) m_pInfo->ShowWindow(SW_SHOW);
    m_pPreNext = panes::CreatePreNextStrip(this, doc, L"戻る", L"次へ");
    m_pTimeStep = panes::CreateStrip<CDlgExerTimer>(this, doc, panes::kTimeStepTemplate, this);
    if (m_pTimeStep) m_pTimeStep->ShowWindow(SW_SHOW);

    m_p3DControl = panes::CreateStrip<CDlg3DControl>(this, doc, k3DTemplate, this);
    const int stButtons[] = {kAbsoluteST, kRelativeST};
    panes::SetStripFont(m_p3DControl, stButtons, 2, font);
    panes::SetStripText(m_p3DControl, kAbsoluteST, L"STﾚﾍﾞﾙ絶対値");
    panes::SetStripText(m_p3DControl, kRelativeST, L"STﾚﾍﾞﾙ相対値");
    const BOOL relative = item && item->bRelativeST;
    panes::CheckStripButton(m_p3DControl, kRelativeST, relative);
    panes::CheckStripButton(m_p3DControl, kAbsoluteST, !relative);
    if (m_p3DView) m_p3DView->SetSTLevelMode(relative ? 1 : 0);
    if (m_p3DControl) m_p3DControl->ShowWindow(SW_SHOW);

    m_pLeadSel = panes::CreateStrip<CDlgExerLeadSel>(this, doc, kLeadTemplate, this);
    if (m_pLeadSel) m_pLeadSel->ShowWindow(SW_SHOW);
    panes::SetStripText(m_pLeadSel, kLeadDialog, L"誘導...");
    const BOOL is250 = Is250Record();
    if (is250) {
        const LPCWSTR modes[] = {kTwelveLeads, kOneLead};
        panes::ComboFill(m_pLeadSel, kLeadMode, modes, 2);
        panes::ComboSelect(m_pLeadSel, kLeadMode, 0);
        panes::EnableStripItem(m_pLeadSel, kLeadDialog, FALSE);
    } else {
        const LPCWSTR modes[] = {kTwelveLeads, kSixLeads, kOneLead};
        panes::ComboFill(m_pLeadSel, kLeadMode, modes, 3);
        panes::ComboSelect(m_pLeadSel, kLeadMode, 1);
    }
    panes::ComboFill(m_pLeadSel, kOneLeadGain, kGains, kGainCount);
    panes::ComboSelect(m_pLeadSel, kOneLeadGain, 2);
    panes::ShowStripItem(m_pLeadSel, kOneLeadGain, FALSE);

    m_pAverageView = static_cast<CViewExerAverage*>(
        panes::CreateChildView(this, doc, RUNTIME_CLASS(CViewExerAverage), kAverageViewId));
    if (m_pAverageView) {
        m_pAverageView->ShowWindow(SW_SHOW);
        m_pAverageView->SetAverageDisplayMode(is250 ? kTwelveLeadMode : kSixLeadMode);
        m_pAverageView->OnInitialUpdate();
        Repaint(m_pAverageView);
    }
    return 0;
}

// ---- layout ----------------------------------------------------------------------------------

void CWndExerAverage::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!m_pExerViewDoc) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, TRUE);
    const BOOL gridMode = m_pExerViewDoc->GetDisplaySizeMode() == kDisplaySizeByGrid;
    const int margin = GridModeMargin();

    const int averageLeft = gridMode ? margin : page.X(10);
    int averageWidth = page.X(560);
    PlaceAverageView(averageLeft, averageWidth);

    int rightLeft = page.X(580), rightWidth = page.X(430);
    if (gridMode) {
        rightLeft = averageLeft + averageWidth + page.X(5);
        rightWidth = page.Width() - rightLeft - margin;
    }
    if (HasView(m_p3DView)) m_p3DView->MoveWindow(rightLeft, page.Y(10), rightWidth, page.Y(310), TRUE);
    if (HasView(m_pTrendView)) m_pTrendView->MoveWindow(rightLeft, page.Y(415), rightWidth, page.Y(200), TRUE);

    if (m_pLeadSel && m_pLeadSel->GetSafeHwnd()) {
        m_pLeadSel->MoveWindow(page.X(10), page.Y(40), averageWidth, page.Y(30), TRUE);
        page.Place(panes::StripItem(m_pLeadSel, kLeadMode), {0, 0, 160, 200});
        page.Place(panes::StripItem(m_pLeadSel, kLeadDialog), {180, 0, 120, 18});
        page.Place(panes::StripItem(m_pLeadSel, kOneLeadGain), {320, 0, 120, 150});
    }
    PlaceStrips(margin, gridMode);
    StripFonts();
}

void CWndExerAverage::PlaceAverageView(int left, int& width)
{
    if (!HasView(m_pAverageView)) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, TRUE);
    int across = 0, down = 0;
    m_pAverageView->GetGridCount(across, down);
    const double room = page.Y(550);
    int rows = 0, height = 1;
    if (m_pExerViewDoc->GetDisplaySizeMode() == kDisplaySizeByGrid) {
        const double px = m_pExerViewDoc->GetPixelPerMMX(), py = m_pExerViewDoc->GetPixelPerMMY();
        width = px > 0.0 && across > 0 ? static_cast<int>(across * px) + 1 : 0;
        rows = panes::RowsInRoom(room, py);
        height = panes::GridHeight(rows, py);
    } else {
        const double square = across > 0 ? static_cast<double>(width) / across : 0.0;
        rows = panes::RowsInRoom(room, square);
        height = panes::GridHeight(rows, square);
    }
    // A pane sized to nothing shows an empty view.
    if (width <= 0) height = 0;
    m_pAverageView->SetAnnoSizeRatio(static_cast<float>(width * kAnnoScale));
    m_pAverageView->MoveWindow(left, page.Y(70), width, height, TRUE);
    m_pAverageView->InitBackground(across, rows);
}

void CWndExerAverage::PlaceStrips(int gridMargin, BOOL gridMode)
{
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, TRUE);
    if (m_pInfo && m_pInfo->GetSafeHwnd()) {
        page.Place(panes::StripItem(m_pInfo, panes::kInfoText), {0, 0, 500, 30});
        m_pInfo->MoveWindow(gridMode ? gridMargin : page.X(7), page.Y(5), page.X(500), page.Y(30), TRUE);
    }
    const panes::PageButtonsLayout buttons{{30, 625, 250, 30}, {0, 0, 120, 30}, {130, 0, 120, 30}};
    panes::PlacePreNextStrip(m_pPreNext, page, 0, &buttons, m_pExerViewDoc->GetDocFont(0));

    if (m_pTimeStep && m_pTimeStep->GetSafeHwnd()) {
        if (CWnd* time = panes::StripItem(m_pTimeStep, panes::kPlayTime))
            time->MoveWindow(0, page.Y(30) / 4, page.X(130), page.Y(30), TRUE);
        page.Place(panes::StripItem(m_pTimeStep, panes::kPlayBackward), {155, 0, 30, 30});
        page.Place(panes::StripItem(m_pTimeStep, panes::kPlayStop), {185, 0, 30, 30});
        page.Place(panes::StripItem(m_pTimeStep, panes::kPlayForward), {215, 0, 30, 30});
        page.Place(m_pTimeStep, {700, 625, 300, 30});
    }
    if (m_p3DControl && m_p3DControl->GetSafeHwnd()) {
        const struct {
            int id;
            panes::PageRect r;
        } buttons3D[] = {{kRotateLeft, {0, 25, 25, 25}},  {kResetAngle, {25, 25, 25, 25}},
                         {kRotateRight, {50, 25, 25, 25}}, {kTiltUp, {25, 0, 25, 25}},
                         {kTiltDown, {25, 50, 25, 25}},    {kSwing, {90, 25, 50, 25}},
                         {kAbsoluteST, {230, 10, 150, 25}}, {kRelativeST, {230, 40, 150, 25}}};
        for (const auto& b : buttons3D) page.Place(panes::StripItem(m_p3DControl, b.id), b.r);
        page.Place(m_p3DControl, {630, 330, 430, 75});
    }
}

void CWndExerAverage::StripFonts()
{
    CFont* font = m_pExerViewDoc->GetDocFont(0);
    const int info[] = {panes::kInfoText};
    panes::SetStripFont(m_pInfo, info, 1, font);
    const int preNext[] = {panes::kBackButton, panes::kNextButton};
    panes::SetStripFont(m_pPreNext, preNext, 2, font);
    const int time[] = {panes::kPlayTime};
    panes::SetStripFont(m_pTimeStep, time, 1, font);
    const int st[] = {kRelativeST, kAbsoluteST};
    panes::SetStripFont(m_p3DControl, st, 2, font);
    const int lead[] = {kLeadMode, kLeadDialog, kOneLeadGain};
    panes::SetStripFont(m_pLeadSel, lead, 3, font);
}

// ---- update ----------------------------------------------------------------------------------

void CWndExerAverage::OnUpdate()
{
    if (HasView(m_p3DView)) {
        m_p3DView->OnInitialUpdate();
        panes::RepaintView(m_p3DView);
    }
    _EXERDATAITEM* item = m_pExerViewDoc ? m_pExerViewDoc->GetCurrentDataItem() : nullptr;
    if (!item) return;
    if (HasView(m_pTrendView)) {
        m_pTrendView->SetLeadID(item->nTrendLead);
        m_pTrendView->SetTrendStyle(item->nTrendStyle);
        m_pTrendView->UpdateInformation();
        panes::RepaintView(m_pTrendView);
    }
    UpdateLeadStrip();
    if (HasView(m_pAverageView)) {
        m_pAverageView->OnUpdate(nullptr, 0, nullptr);
        Repaint(m_pAverageView);
    }
    // The strips take the document's colours (and icons) again.
    CDlgCtrl* strips[] = {m_pPreNext, m_pTimeStep, m_p3DControl, m_pLeadSel};
    for (CDlgCtrl* strip : strips)
        if (strip && strip->GetSafeHwnd()) strip->OnInitDialog();
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_DISPLAY_INFO_CHANGED, static_cast<WPARAM>(m_pExerViewDoc->GetPageStyle()), 0);
}

void CWndExerAverage::UpdateLeadStrip()
{
    if (!HasView(m_pAverageView)) return;
    const int mode = m_pAverageView->GetAverageDisplayMode();
    const int sixLeads = panes::ComboFind(m_pLeadSel, kLeadMode, kSixLeads);
    if (!Is250Record()) {
        if (sixLeads == CB_ERR) {
            if (CWnd* combo = panes::StripItem(m_pLeadSel, kLeadMode))
                combo->SendMessage(CB_INSERTSTRING, 1, reinterpret_cast<LPARAM>(kSixLeads));
        }
        if (mode == kTwelveLeadMode || mode == kSixLeadMode || mode == kOneLeadMode) {
            panes::ComboSelect(m_pLeadSel, kLeadMode, mode - 1);
            panes::EnableStripItem(m_pLeadSel, kLeadDialog, mode != kTwelveLeadMode);
            panes::ShowStripItem(m_pLeadSel, kOneLeadGain, mode == kOneLeadMode);
        }
    } else {
        if (sixLeads != CB_ERR) {
            if (CWnd* combo = panes::StripItem(m_pLeadSel, kLeadMode))
                combo->SendMessage(CB_DELETESTRING, static_cast<WPARAM>(sixLeads), 0);
        }
        if (mode == kTwelveLeadMode) {
            panes::ComboSelect(m_pLeadSel, kLeadMode, 0);
            panes::EnableStripItem(m_pLeadSel, kLeadDialog, FALSE);
            panes::ShowStripItem(m_pLeadSel, kOneLeadGain, FALSE);
        } else if (mode == kSixLeadMode) {
            // These recorders keep no six-lead page.
            m_pAverageView->SetAverageDisplayMode(kTwelveLeadMode);
            panes::ComboSelect(m_pLeadSel, kLeadMode, 0);
            panes::EnableStripItem(m_pLeadSel, kLeadDialog, FALSE);
        } else if (mode == kOneLeadMode) {
            panes::ComboSelect(m_pLeadSel, kLeadMode, 1);
            panes::EnableStripItem(m_pLeadSel, kLeadDialog, TRUE);
            panes::ShowStripItem(m_pLeadSel, kOneLeadGain, TRUE);
        }
    }
    if (mode != kOneLeadMode) return;
    const double sense = m_pAverageView->GetDisplay1LeadSense();
    for (int i = 0; i < kGainCount; ++i)
        if (std::fabs(sense - kGainValues[i]) < 1e-6) panes::ComboSelect(m_pLeadSel, kOneLeadGain, i);
}

// ---- playback --------------------------------------------------------------------------------

void CWndExerAverage::EndTimer()
{
    m_nTimerID = panes::EndTimer(this, m_nTimerID, m_pExerViewDoc, m_pAverageView);
}

void CWndExerAverage::StopPlayback()
{
    m_nTimerID = panes::StopPlayback(this, m_pTimeStep, m_nTimerID, m_pExerViewDoc, m_pAverageView);
}

void CWndExerAverage::StartPlayback(int button, UINT_PTR id)
{
    m_nTimerID = panes::StartPlayback(this, m_pTimeStep, m_nTimerID, button, id, panes::kAveragePlaybackMs,
                                      m_pExerViewDoc, m_pAverageView);
}

void CWndExerAverage::SaveAnnotations()
{
    panes::SaveViewAnnotations(m_pAverageView, m_pExerViewDoc);
}

void CWndExerAverage::OnDestroy()
{
    m_nTimerID = panes::EndPlaybackOnDestroy(this, m_nTimerID, m_pExerViewDoc);
    CWnd::OnDestroy();
}

void CWndExerAverage::OnTimer(UINT_PTR nIDEvent)
{
    _EXERDATAITEM* item = m_pExerViewDoc ? m_pExerViewDoc->GetCurrentDataItem() : nullptr;
    if (!item) return;
    if (nIDEvent == panes::kSwingTimer) {
        if (HasView(m_p3DView)) m_p3DView->SwingRotation();
        return;
    }
    StepBlock(panes::TimerStep(nIDEvent));
    CWnd::OnTimer(nIDEvent);
}

void CWndExerAverage::StepBlock(int step)
{
    _EXERDATAITEM* item = m_pExerViewDoc->GetCurrentDataItem();
    const int block = m_pExerViewDoc->GetCurAveBlockNo();
    const int exercise = item->nExerAveCount, recovery = item->nPostAveCount;
    const BOOL inRecovery = block >= exercise;
    const UINT tag = exer::TAG_AVE_TIME + (inRecovery ? 1 : 0);
    const int seconds =
        panes::ReadBlockSeconds(m_pExerViewDoc, item->pECGData, tag, inRecovery ? block - exercise : block);
    // A time shown before the block (picked on a trend, or the start of the
    // test before the first stored strip) is no block of its own: a step
    // forward reaches the block, a step back the block before it. Waiting
    // for the time to catch up would never end, as nothing moves it.
    // Recovery blocks count their time from the end of the load.
    const BOOL ahead = seconds + (inRecovery ? item->nExerTime : 0) > item->nCurTime;
    const int next = ahead && step > 0 ? block + step - 1 : block + step;
    if (next < 0 || next >= exercise + recovery) {
        StopPlayback();
        return;
    }
    m_pExerViewDoc->SetCurAveBlockNo(next, 0);
    SaveAnnotations();
    OnUpdate();
}

// ---- commands --------------------------------------------------------------------------------

void CWndExerAverage::ChangeDisplayMode(int selection)
{
    if (!HasView(m_pAverageView)) return;
    if (selection < 0 || selection > 2) return;
    int mode = kTwelveLeadMode;
    if (selection == 1) mode = Is250Record() ? kOneLeadMode : kSixLeadMode;
    if (selection == 2) mode = kOneLeadMode;
    m_pAverageView->SetAverageDisplayMode(mode);
    panes::EnableStripItem(m_pLeadSel, kLeadDialog, mode != kTwelveLeadMode);
    panes::ShowStripItem(m_pLeadSel, kOneLeadGain, mode == kOneLeadMode);
}

void CWndExerAverage::ChooseLeads()
{
    _EXERDATAITEM* item = m_pExerViewDoc ? m_pExerViewDoc->GetCurrentDataItem() : nullptr;
    if (!item || !HasView(m_pAverageView)) return;
    UINT form = 0;
    switch (m_pAverageView->GetAverageDisplayMode()) {
    case kSixLeadMode: form = 172; break;
    case kOneLeadMode: form = Is250Record() ? 174 : 173; break;
    default: return;
    }
    CDlgExerLeadSelection dialog(form, item, this);
    if (dialog.DoModal() != IDOK || item->strXMLPath.IsEmpty()) return;
    {
        CECGXMLParser xml(item->strXMLPath, 0, CString());
        m_pExerViewDoc->SetExerLeadSelection(ReadSetting(xml, kSixLeadSetting, 63), kSixLeadMode);
        m_pExerViewDoc->SetExerLeadSelection(ReadSetting(xml, kOneLeadSetting, 1), kOneLeadMode);
    }
    m_pAverageView->OnUpdate(nullptr, 0, nullptr);
    Repaint(m_pAverageView);
}

BOOL CWndExerAverage::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // A probe asks who would handle the command; it is not a command.
    if (pHandlerInfo) return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    const int id = static_cast<int>(nID);
    if (nCode == CN_COMMAND) {
        switch (id) {
        case panes::kBackButton:
            StopPlayback();
            SendMessage(WM_TIMER, panes::kBackwardTimer, 0);
            SaveAnnotations();
            break;
        case panes::kNextButton:
            StopPlayback();
            SendMessage(WM_TIMER, panes::kForwardTimer, 0);
            SaveAnnotations();
            break;
        case panes::kPlayBackward:
            StartPlayback(panes::kPlayBackward, panes::kBackwardTimer);
            SaveAnnotations();
            break;
        case panes::kPlayForward:
            StartPlayback(panes::kPlayForward, panes::kForwardTimer);
            SaveAnnotations();
            break;
        case panes::kPlayStop:
            StopPlayback();
            SaveAnnotations();
            break;
        case kTiltUp:
            if (HasView(m_p3DView)) m_p3DView->TiltUp();
            break;
        case kTiltDown:
            if (HasView(m_p3DView)) m_p3DView->TiltDown();
            break;
        case kRotateLeft:
            if (HasView(m_p3DView)) m_p3DView->RotateLeft();
            break;
        case kRotateRight:
            if (HasView(m_p3DView)) m_p3DView->RotateRight();
            break;
        case kResetAngle:
            if (m_nTimerID)
                EndTimer();
            else if (HasView(m_p3DView))
                m_p3DView->ResetAngle();
            break;
        case kSwing:
            m_nTimerID = panes::RestartTimer(this, m_nTimerID, panes::kSwingTimer, panes::kAveragePlaybackMs);
            if (m_pExerViewDoc) {
                if (m_pExerViewDoc->IsPlayback())
                    SendMessage(WM_ANNOTATION_ACTIVE, reinterpret_cast<WPARAM>(m_pAverageView), 0);
                m_pExerViewDoc->SetPlayback(0);
            }
            break;
        case kRelativeST:
            if (HasView(m_p3DView)) m_p3DView->SetSTLevelMode(1);
            break;
        case kAbsoluteST:
            if (HasView(m_p3DView)) m_p3DView->SetSTLevelMode(0);
            break;
        case kLeadDialog:
            ChooseLeads();
            SaveAnnotations();
            break;
        default:
            break;
        }
    } else if (nCode == CBN_SELCHANGE) {
        if (id == kLeadMode) {
            ChangeDisplayMode(panes::ComboSelection(m_pLeadSel, kLeadMode));
            SaveAnnotations();
        } else if (id == kOneLeadGain) {
            const int selection = panes::ComboSelection(m_pLeadSel, kOneLeadGain);
            const double sense = selection >= 0 && selection < kGainCount ? kGainValues[selection] : 0.0;
            if (HasView(m_pAverageView)) m_pAverageView->SetDisplay1LeadSense(sense);
            SaveAnnotations();
        }
    }
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CWndExerAverage::OnUserAnnotationActive(WPARAM wParam, LPARAM)
{
    if (!HasView(m_pAverageView)) return 0;
    CWaveView* views[] = {m_pAverageView};
    return panes::RelayAnnotationActive(reinterpret_cast<CWnd*>(wParam), views, 1);
}
