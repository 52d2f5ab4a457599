#include "panes/WndRestInterpretation.h"

#include "analysisviews/ViewAverageWave.h"
#include "core/Globals.h"
#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "forms/FormEx.h"
#include "forms/FormInterpre.h"
#include "forms/FormInterpreRhyRR.h"
#include "forms/FormPatientInfo.h"
#include "panes/PaneKit.h"
#include "waveviews/ViewScroll1LeadWave.h"

IMPLEMENT_DYNAMIC(CWndRestInterpretation, CWnd)

BEGIN_MESSAGE_MAP(CWndRestInterpretation, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_ANNOTATION_ACTIVE, OnUserAnnotationActive)
    ON_MESSAGE(WM_FORM_TAB_END, OnFocusJump)
END_MESSAGE_MAP()

namespace {

constexpr int kCaptionTemplate = 102;
constexpr int kCaptionGeneral = 3478;
constexpr int kCaptionLimb = 3479;
constexpr int kCaptionChest = 3480;
constexpr int kCaptionST = 3499;
constexpr UINT kDisplaySizeByGrid = 5;
constexpr UINT kDisplaySizeByWidth = 6;
constexpr int kRestStripWaveStyle = 13;
constexpr int kRhythmStripWaveStyle = 18;
constexpr int kStripSenseID = 2;
constexpr int kNoLead = 255;
// The caption shows the speed of the average beats' paper, whatever the document's.
constexpr double kCaptionSpeed = 25.0;
const wchar_t kTripLabel[] = L"ﾄﾘｯﾌﾟ";

// The layouts the page styles choose.
enum Layout { kNoLayout, kInterpretation, kInterpretationHalf, kAverageHalf };

// Moves a caption static in the strip's own coordinates after giving it the font.
void PlaceStatic(CDlgCtrl* strip, int id, CFont* font, int x, int y, int w, int h)
{
    const int ids[] = {id};
    panes::SetStripFont(strip, ids, 1, font);
    if (CWnd* item = panes::StripItem(strip, id)) item->MoveWindow(x, y, w, h, TRUE);
}

void MoveOrPark(CWnd* wnd, int x, int y, int w, int h)
{
    if (wnd && wnd->GetSafeHwnd()) wnd->MoveWindow(x, y, w, h, TRUE);
}

// After its frame moved the form writes its texts, then lays itself out.
void RefreshForm(CFrameWnd* frame)
{
    if (CFormEx* form = panes::FrameForm(frame)) {
        form->ShowText();
        form->SendMessage(WM_SIZE, 0, 0);
    }
}

// The trip figures of a resting record: the label alone while they are
// missing or unknown ("*").
CString TripText(const _RESTDATAITEM& item)
{
    CString text;
    if (!item.bTrip) return text;
    if ((item.strTrip.IsEmpty() && item.strTotalTrip.IsEmpty()) || item.strTrip == L"*")
        text.Format(L" %s/", kTripLabel);
    else
        text.Format(L" %s%s/%s", kTripLabel, item.strTrip.GetString(), item.strTotalTrip.GetString());
    return text;
}

CString PostLoadText(const CString& masterStep)
{
    CString text;
    if (!masterStep.IsEmpty()) text.Format(L"負荷後 %s", masterStep.GetString());
    return text;
}

}  // namespace

// What every layout reads before it places anything.
struct CWndRestInterpretation::LayoutBasis {
    panes::VirtualPage page{0, 0, panes::kPageHeightWithPatient};
    CFont* font = nullptr;
    UINT mode = 0;
    double px = 0.0, py = 0.0;
    int cx = 0, cy = 0;
    CRect patient;
    int averageColumns = 0;
    int T = 0;   // the average view's grid less its pulse column, in pixels of display size mode 5

    bool GridMode() const { return mode == kDisplaySizeByGrid; }
    bool WidthMode() const { return mode == kDisplaySizeByWidth; }
};

CWndRestInterpretation::CWndRestInterpretation()
    : m_pRestViewDoc(nullptr), m_pMFERViewDoc(nullptr), m_pRhythmViewDoc(nullptr), m_bShowPatientInfo(1),
      m_nPageStyle(35), m_pPatientFrame(nullptr), m_pCaptionStrip(nullptr), m_pRestFrame(nullptr),
      m_pRhythmFrame(nullptr), m_pRhythmStrip(nullptr), m_pAverageView(nullptr)
{
}

CWndRestInterpretation::~CWndRestInterpretation()
{
    delete m_pCaptionStrip;
    m_pCaptionStrip = nullptr;
}

void CWndRestInterpretation::SetRestViewDoc(CRestViewDoc* pDoc)
{
    m_pRestViewDoc = pDoc;
    m_pMFERViewDoc = nullptr;
    m_pRhythmViewDoc = nullptr;
}

void CWndRestInterpretation::SetMFERViewDoc(CMFERViewDoc* pDoc)
{
    m_pRestViewDoc = nullptr;
    m_pMFERViewDoc = pDoc;
    m_pRhythmViewDoc = nullptr;
}

void CWndRestInterpretation::SetRhythmViewDoc(CRhythmViewDoc* pDoc)
{
    m_pRestViewDoc = nullptr;
    m_pMFERViewDoc = nullptr;
    m_pRhythmViewDoc = pDoc;
}

CTavrionDoc* CWndRestInterpretation::Document() const
{
    if (m_pRestViewDoc) return m_pRestViewDoc;
    if (m_pMFERViewDoc) return m_pMFERViewDoc;
    return m_pRhythmViewDoc;
}

int CWndRestInterpretation::DocType() const
{
    if (m_pRestViewDoc) return DOC_TYPE_REST;
    if (m_pMFERViewDoc) return DOC_TYPE_MFER;
    return DOC_TYPE_RHYTHM;
}

CTavrionDoc* CWndRestInterpretation::LayoutDocument() const
{
    if (m_pRestViewDoc) return m_pRestViewDoc;
    if (m_pRhythmViewDoc) return m_pRhythmViewDoc;
    return m_pMFERViewDoc;
}

// ---- creation --------------------------------------------------------------------------------

int CWndRestInterpretation::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    CTavrionDoc* doc = Document();
    const int type = DocType();
    m_pPatientFrame = panes::CreateFormFrame(this, doc, RUNTIME_CLASS(CFormPatientInfo), type);
    m_pCaptionStrip = panes::CreateStrip<CDlgCtrl>(this, doc, kCaptionTemplate, kCaptionTemplate, this);
    if (m_pCaptionStrip) m_pCaptionStrip->ShowWindow(SW_SHOW);
    if (m_pRestViewDoc || m_pMFERViewDoc)
        m_pRestFrame = panes::CreateFormFrame(this, doc, RUNTIME_CLASS(CFormInterpre), type);
    else if (m_pRhythmViewDoc)
        m_pRhythmFrame = panes::CreateFormFrame(this, doc, RUNTIME_CLASS(CFormInterpreRhyRR), type);
    m_pAverageView = static_cast<CViewAverageWave*>(
        panes::CreateChildView(this, doc, RUNTIME_CLASS(CViewAverageWave), 202));
    if (m_pAverageView) m_pAverageView->SetDocType(type);
    if (!doc) return 0;
    // A rhythm record's strip shares the average view's id: the pane reaches
    // both through its pointers, never by id.
    const bool rhythm = m_pRhythmViewDoc != nullptr;
    m_pRhythmStrip = static_cast<CViewScroll1LeadWave*>(
        panes::CreateChildView(this, doc, RUNTIME_CLASS(CViewScroll1LeadWave), rhythm ? 202 : 201));
    if (m_pRhythmStrip) {
        if (!rhythm) m_pRhythmStrip->SetSenseID(kStripSenseID);
        m_pRhythmStrip->SetDocType(type);
        m_pRhythmStrip->SetScroll(FALSE);
        m_pRhythmStrip->SetWaveStyle(rhythm ? kRhythmStripWaveStyle : kRestStripWaveStyle, TRUE);
    }
    return 0;
}

// ---- page styles -----------------------------------------------------------------------------

void CWndRestInterpretation::ApplyStyle(int style, int waveStyle, int half, bool tellForm)
{
    if (tellForm)
        if (auto* form = DYNAMIC_DOWNCAST(CFormInterpre, panes::FrameForm(m_pRestFrame))) form->SetPageStyle(style);
    if (m_pRhythmStrip && m_pRhythmStrip->GetSafeHwnd()) m_pRhythmStrip->SetHalfStyle(half);
    m_nPageStyle = style;
    if (m_pRhythmStrip && m_pRhythmStrip->GetSafeHwnd()) m_pRhythmStrip->SetWaveStyle(waveStyle, TRUE);
    OnUpdate();
    if (GetSafeHwnd()) SendMessage(WM_SIZE, 0, 0);
}

void CWndRestInterpretation::ShowRestPageStyle(int style)
{
    if (!m_pRestViewDoc || style < 35 || style > 38) return;
    ApplyStyle(style, kRestStripWaveStyle, style == 38, style != 38);
}

void CWndRestInterpretation::ShowMFERPageStyle(int style)
{
    if (!m_pMFERViewDoc || style < 41 || style > 44) return;
    ApplyStyle(style, kRestStripWaveStyle, style == 44, false);
}

void CWndRestInterpretation::ShowRhythmPageStyle(int style)
{
    if (!m_pRhythmViewDoc || (style != 29 && style != 30)) return;
    ApplyStyle(style, kRhythmStripWaveStyle, FALSE, false);
}

// ---- layout ----------------------------------------------------------------------------------

void CWndRestInterpretation::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!Document()) return;
    CTavrionDoc* modeDoc = m_pRhythmViewDoc ? static_cast<CTavrionDoc*>(m_pRhythmViewDoc)
                           : m_pMFERViewDoc ? static_cast<CTavrionDoc*>(m_pMFERViewDoc)
                                            : static_cast<CTavrionDoc*>(m_pRestViewDoc);
    CRect client;
    GetClientRect(&client);
    const int pageHeight = panes::VirtualPage::PageHeight(m_bShowPatientInfo);
    const panes::VirtualPage page(client.Width(), client.Height(), pageHeight);
    int left = page.X(15), width = page.X(990);
    if (modeDoc->GetDisplaySizeMode() == kDisplaySizeByGrid) {
        left = static_cast<int>(10 * g_dXUnit);
        width = client.Width() - 2 * left;
    }
    CRect patient;
    if (m_bShowPatientInfo) {
        patient = CRect(left, page.Y(5), left + width, page.Y(5) + page.Y(50));
        if (m_pPatientFrame && m_pPatientFrame->GetSafeHwnd()) {
            m_pPatientFrame->MoveWindow(patient, TRUE);
            m_pPatientFrame->ShowWindow(SW_SHOW);
            if (CFormEx* form = panes::FrameForm(m_pPatientFrame)) {
                form->SendMessage(WM_SIZE, 0, 0);
                form->ShowText();
            }
        }
    } else {
        if (m_pPatientFrame && m_pPatientFrame->GetSafeHwnd()) m_pPatientFrame->ShowWindow(SW_HIDE);
        patient = CRect(left, 0, left + width, page.Y(5));
    }

    // Resting styles 35 to 38 and MFER styles 41 to 44 share the layouts in
    // the same order; rhythm records have the full page alone.
    Layout layout = kNoLayout;
    const int first = m_pRestViewDoc ? 35 : m_pMFERViewDoc ? 41 : 29;
    const int step = m_nPageStyle - first;
    if (m_pRhythmViewDoc)
        layout = step == 0 || step == 1 ? kInterpretation : kNoLayout;
    else
        layout = step == 0 || step == 1 ? kInterpretation
                 : step == 2            ? kInterpretationHalf
                 : step == 3            ? kAverageHalf
                                        : kNoLayout;
    switch (layout) {
    case kInterpretation:
        SizeInterpretation(patient, panes::kPageWidth, pageHeight);
        break;
    case kInterpretationHalf:
        SizeInterpretationHalf(patient, panes::kPageWidth, pageHeight);
        break;
    case kAverageHalf:
        SizeAverageHalf(patient, panes::kPageWidth, pageHeight);
        break;
    default:
        break;
    }
}

bool CWndRestInterpretation::ReadBasis(const CRect& patient, int pageHeight, LayoutBasis& b) const
{
    CTavrionDoc* doc = LayoutDocument();
    if (!doc || !doc->GetDocFont(0)) return false;
    CRect client;
    GetClientRect(&client);
    b.page = panes::VirtualPage(client.Width(), client.Height(), pageHeight);
    b.font = doc->GetDocFont(0);
    b.mode = doc->GetDisplaySizeMode();
    b.px = doc->GetPixelPerMMX();
    b.py = doc->GetPixelPerMMY();
    b.cx = client.Width();
    b.cy = client.Height();
    b.patient = patient;
    int rows = 0;
    if (m_pAverageView && m_pAverageView->GetSafeHwnd()) m_pAverageView->GetGridCount(b.averageColumns, rows);
    b.T = static_cast<int>((b.averageColumns - 10) * b.px);
    return true;
}

void CWndRestInterpretation::StripSize(const LayoutBasis& b, int& width, int& height) const
{
    width = height = 0;
    if (!m_pRhythmStrip || !m_pRhythmStrip->GetSafeHwnd()) return;
    int columns = 0, rows = 0;
    m_pRhythmStrip->GetGridCount(columns, rows);
    if (b.GridMode()) {
        width = static_cast<int>(columns * b.px) + 1;
        height = static_cast<int>(rows * b.py) + 1;
        return;
    }
    width = b.page.X(990);
    // A strip without squares, or a page sized to nothing, stays empty.
    if (columns > 0 && width > 0) height = static_cast<int>(static_cast<double>(width) / columns * rows) + 1;
}

int CWndRestInterpretation::AverageWidth(const LayoutBasis& b, int units) const
{
    if (b.GridMode()) return static_cast<int>(b.averageColumns * b.px) + 1;
    return b.page.X(units);
}

int CWndRestInterpretation::PlaceAverage(const LayoutBasis& b, int x, int top, int width, double room, float annoScale)
{
    const int columns = b.averageColumns;
    const double rowHeight = b.GridMode() ? b.py : (columns > 0 ? static_cast<double>(width) / columns : 0.0);
    const int rows = panes::RowsInRoom(room, rowHeight);
    // A page sized to nothing, or a grid without squares, leaves the view empty.
    const int height = width > 0 && columns > 0 ? panes::GridHeight(rows, rowHeight) : 0;
    if (!m_pAverageView || !m_pAverageView->GetSafeHwnd()) return height;
    m_pAverageView->InitBackground(columns, rows);
    m_pAverageView->SetAnnoSizeRatio(annoScale);
    m_pAverageView->MoveWindow(x, top, width, height, TRUE);
    return height;
}

void CWndRestInterpretation::PlaceStrip(const LayoutBasis& b, int top, int averageHeight, int width, int height,
                                        float annoScale)
{
    if (!m_pRhythmStrip || !m_pRhythmStrip->GetSafeHwnd()) return;
    m_pRhythmStrip->SetAnnoSizeRatio(annoScale);
    const int x = b.GridMode() ? b.patient.left : b.page.X(15);
    const int y = top + averageHeight + (b.cy - height - top - averageHeight) / 2;
    m_pRhythmStrip->MoveWindow(x, y, width, height, TRUE);
}

void CWndRestInterpretation::FinishCaption()
{
    if (m_pCaptionStrip && m_pCaptionStrip->GetSafeHwnd()) m_pCaptionStrip->InvalidateRect(nullptr, FALSE);
}

void CWndRestInterpretation::SizeInterpretation(CRect patient, int, int pageHeight)
{
    LayoutBasis b;
    if (!ReadBasis(patient, pageHeight, b)) return;
    const panes::VirtualPage& page = b.page;
    const int B = patient.bottom;
    const int stripWidth = patient.Width();
    const int captionHeight = page.Y(20);
    MoveOrPark(m_pCaptionStrip, patient.left, B, stripWidth, captionHeight);
    const int textTop = page.Y(3), textHeight = page.Y(15);
    PlaceStatic(m_pCaptionStrip, kCaptionGeneral, b.font, page.X(2), textTop, page.X(470), textHeight);
    if (b.GridMode()) {
        PlaceStatic(m_pCaptionStrip, kCaptionLimb, b.font, stripWidth - b.T, textTop, b.T / 2, textHeight);
        PlaceStatic(m_pCaptionStrip, kCaptionChest, b.font, stripWidth - b.T / 2, textTop, b.T / 2, textHeight);
        PlaceStatic(m_pCaptionStrip, kCaptionST, b.font, stripWidth - b.T / 4, textTop, b.T / 4, textHeight);
    } else {
        PlaceStatic(m_pCaptionStrip, kCaptionLimb, b.font, page.X(533), textTop, page.X(225), textHeight);
        PlaceStatic(m_pCaptionStrip, kCaptionChest, b.font, page.X(763), textTop, page.X(145), textHeight);
        PlaceStatic(m_pCaptionStrip, kCaptionST, b.font, page.X(880), textTop, page.X(120), textHeight);
    }
    FinishCaption();
    const int top = B + captionHeight;

    int stripW = 0, stripH = 0;
    StripSize(b, stripW, stripH);
    const double room = b.cy - stripH - page.Y(5) - top - page.Y(5);
    const int averageW = AverageWidth(b, 495);
    const int averageX = b.GridMode() ? patient.right - averageW : page.X(509);
    const int averageH =
        PlaceAverage(b, averageX, top, averageW, room, static_cast<float>(averageW * 0.0019646366));

    CFrameWnd* form = m_pRhythmViewDoc ? m_pRhythmFrame : m_pRestFrame;
    const int formX = b.GridMode() ? patient.left : page.X(15);
    const int formW = b.GridMode() ? averageX - patient.left - page.X(10) : page.X(489);
    MoveOrPark(form, formX, top, formW, averageH);
    RefreshForm(form);

    PlaceStrip(b, top, averageH, stripW, stripH, static_cast<float>(stripW * 0.001010101));
}

void CWndRestInterpretation::SizeInterpretationHalf(CRect patient, int, int pageHeight)
{
    LayoutBasis b;
    if (!ReadBasis(patient, pageHeight, b)) return;
    const panes::VirtualPage& page = b.page;
    const int B = patient.bottom;
    const int captionHeight = b.WidthMode() ? 2 * MulDiv(b.cx, 20, panes::kPageWidth) : page.Y(20);
    const int textHeight = b.WidthMode() ? 2 * MulDiv(b.cx, 15, panes::kPageWidth) : page.Y(15);
    MoveOrPark(m_pCaptionStrip, patient.left, B, patient.Width(), captionHeight);
    PlaceStatic(m_pCaptionStrip, kCaptionGeneral, b.font, page.X(2), page.Y(3), page.X(989), textHeight);
    PlaceStatic(m_pCaptionStrip, kCaptionLimb, b.font, 0, 0, 0, 0);
    PlaceStatic(m_pCaptionStrip, kCaptionChest, b.font, 0, 0, 0, 0);
    const int st[] = {kCaptionST};
    panes::SetStripFont(m_pCaptionStrip, st, 1, b.font);   // it keeps its place
    FinishCaption();
    const int top = B + captionHeight;
    const int formH = b.WidthMode() ? b.cy - top - page.Y(20) : page.Y(580);
    MoveOrPark(m_pRestFrame, page.X(16), top, page.X(989), formH);
    RefreshForm(m_pRestFrame);
    MoveOrPark(m_pAverageView, 0, 0, 0, 0);
    MoveOrPark(m_pRhythmStrip, 0, 0, 0, 0);
}

void CWndRestInterpretation::SizeAverageHalf(CRect patient, int, int pageHeight)
{
    LayoutBasis b;
    if (!ReadBasis(patient, pageHeight, b)) return;
    const panes::VirtualPage& page = b.page;
    const int B = patient.bottom;
    const int captionHeight = b.WidthMode() ? 2 * MulDiv(b.cx, 15, panes::kPageWidth) : page.Y(15);
    const int textHeight = captionHeight;
    MoveOrPark(m_pCaptionStrip, patient.left, B, patient.Width(), captionHeight);
    PlaceStatic(m_pCaptionStrip, kCaptionGeneral, b.font, 0, 0, 0, 0);
    if (b.GridMode()) {
        const int pulse = static_cast<int>(12.5 * b.px);
        const int threeQuarters = b.T * 3 / 4;
        PlaceStatic(m_pCaptionStrip, kCaptionLimb, b.font, pulse, 0, b.T / 2, textHeight);
        PlaceStatic(m_pCaptionStrip, kCaptionChest, b.font, b.T / 2 + pulse, 0, b.T / 2, textHeight);
        PlaceStatic(m_pCaptionStrip, kCaptionST, b.font, threeQuarters + pulse, 0, threeQuarters, textHeight);
    } else {
        PlaceStatic(m_pCaptionStrip, kCaptionLimb, b.font, page.X(80), 0, page.X(450), textHeight);
        PlaceStatic(m_pCaptionStrip, kCaptionChest, b.font, page.X(530), 0, page.X(250), textHeight);
        PlaceStatic(m_pCaptionStrip, kCaptionST, b.font, page.X(800), 0, page.X(200), textHeight);
    }
    FinishCaption();
    MoveOrPark(m_pRestFrame, 0, 0, 0, 0);
    const int top = B + captionHeight;

    int stripW = 0, stripH = 0;
    StripSize(b, stripW, stripH);
    const double room = b.cy - stripH - page.Y(5) - top - page.Y(5);
    const int averageW = AverageWidth(b, 994);
    const int averageX = b.GridMode() ? patient.left + static_cast<int>(2.5 * b.px) : page.X(15);
    // The strip takes the average view's scale on this page.
    const float annoScale = static_cast<float>(averageW * 0.0020120724);
    const int averageH = PlaceAverage(b, averageX, top, averageW, room, annoScale);
    PlaceStrip(b, top, averageH, stripW, stripH, annoScale);
}

// ---- update ----------------------------------------------------------------------------------

void CWndRestInterpretation::OnUpdate()
{
    // Without a document no interpretation form was made and nothing can be read.
    CTavrionDoc* doc = Document();
    if (!doc) return;
    if (CFormEx* form = panes::FrameForm(m_pPatientFrame)) form->OnUpdate(nullptr, 0, nullptr);
    if (CFormEx* form = panes::FrameForm(m_pRhythmViewDoc ? m_pRhythmFrame : m_pRestFrame))
        form->OnUpdate(nullptr, 0, nullptr);
    if (m_pAverageView && m_pAverageView->GetSafeHwnd()) {
        m_pAverageView->OnUpdate(nullptr, 0, nullptr);
        m_pAverageView->InvalidateRect(nullptr, FALSE);
    }
    if (m_pRhythmStrip && m_pRhythmStrip->GetSafeHwnd()) {
        int lead = m_pRestViewDoc    ? m_pRestViewDoc->GetRhythm1LeadID()
                   : m_pMFERViewDoc ? m_pMFERViewDoc->GetRhythm1LeadID()
                                    : m_pRhythmViewDoc->GetRhythm1LeadID();
        if (lead == kNoLead) lead = 0;
        m_pRhythmStrip->SetRhythm1LeadID(lead);
        m_pRhythmStrip->OnUpdate(nullptr, 0, nullptr);
        m_pRhythmStrip->InvalidateRect(nullptr, FALSE);
    }
    UpdateDisplayInfo();
}

void CWndRestInterpretation::UpdateDisplayInfo()
{
    CTavrionDoc* doc = Document();
    if (!doc) return;
    CString general;
    if (m_pMFERViewDoc) {
        _MFERDATAITEM* item = m_pMFERViewDoc->GetCurrentDataItem();
        if (!item) return;
        general.Format(L"%.1f mm/s  %s  %s  %s", kCaptionSpeed, m_pMFERViewDoc->GetMFERFilter().GetString(),
                       L"解析結果", item->strMasterStep.GetString());
    } else {
        CString postLoad, trip;
        if (m_pRestViewDoc) {
            _RESTDATAITEM* item = m_pRestViewDoc->GetCurrentDataItem();
            if (!item) return;
            postLoad = PostLoadText(item->strMasterStep);
            trip = TripText(*item);
        } else {
            _RHYTHMDATAITEM* item = m_pRhythmViewDoc->GetCurrentDataItem();
            if (!item) return;
            postLoad = PostLoadText(item->strMasterStepInfo);
        }
        general.Format(L"%.1f mm/s  %d Hz  %s  %s  %s", kCaptionSpeed, doc->GetFilter(), L"解析結果",
                       postLoad.GetString(), trip.GetString());
    }
    CString limb, chest;
    limb.Format(L"%.2f mm/mV", doc->GetSense(1, 0));
    chest.Format(L"%.2f mm/mV", doc->GetSense(0, 0));
    panes::SetStripText(m_pCaptionStrip, kCaptionGeneral, general);
    panes::SetStripText(m_pCaptionStrip, kCaptionLimb, limb);
    panes::SetStripText(m_pCaptionStrip, kCaptionChest, chest);
    panes::SetStripText(m_pCaptionStrip, kCaptionST, L"Average ST[mm]");
    panes::ShowStripItem(m_pCaptionStrip, kCaptionST, doc->IsShowST());
}

// ---- messages --------------------------------------------------------------------------------

LRESULT CWndRestInterpretation::OnUserAnnotationActive(WPARAM wParam, LPARAM)
{
    CWaveView* views[] = {m_pAverageView, m_pRhythmStrip};
    return panes::RelayAnnotationActive(reinterpret_cast<CWnd*>(wParam), views, 2);
}

LRESULT CWndRestInterpretation::OnFocusJump(WPARAM wParam, LPARAM)
{
    // Only the two forms of this page take part: the patient form and the
    // interpretation form of the record's kind.
    const panes::FocusJump jump = panes::ReadFocusJump(wParam);
    if (jump.source != panes::kFromPatientForm && jump.source != panes::kFromInterpretation) return 0;
    return panes::JumpBetweenForms(this, m_pPatientFrame, InterpretationFrame(), wParam);
}
