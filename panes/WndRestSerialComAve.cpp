#include "panes/WndRestSerialComAve.h"

#include <algorithm>
#include <vector>

#include "core/DataItem.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "core/UserMessages.h"
#include "dialogs/DlgCommentCtrl.h"
#include "dialogs/DlgCtrl.h"
#include "dialogs/DlgLimbChest.h"
#include "dialogs/DlgSerialCom.h"
#include "dialogs/DlgSerialText.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "panes/PaneKit.h"
#include "panes/SerialFileList.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/ui/framework/ClientDC.h"
#include "printdevice/ECGDC.h"
#include "waveviews/ViewSerialComAve.h"

IMPLEMENT_DYNAMIC(CWndRestSerialComAve, CWnd)

BEGIN_MESSAGE_MAP(CWndRestSerialComAve, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_SERIAL_CHOOSER_SHOWN, OnUserActiveFileList)
    ON_MESSAGE(WM_SERIAL_RECORD_CHOSEN, OnUserChangeSerialFileInfo)
    ON_MESSAGE(WM_ANNOTATION_ACTIVE, OnUserAnnotationActive)
    ON_MESSAGE(WM_SERIAL_CHOICE_VALIDATE, OnUserCheckSerialFileInfo)
END_MESSAGE_MAP()

namespace {

constexpr int kRestDoc = 0;
constexpr int kMferDoc = 6;
constexpr int kCaptionTemplate = 102;
constexpr int kCaptionStatic = 3478;
constexpr int kCaptionLimb = 3479;
constexpr int kCaptionChest = 3480;
constexpr int kCaptionST = 3499;
constexpr int kChooserTemplate = 124;
constexpr int kRecordCaptionTemplate = 125;
constexpr int kLegendTemplate = 126;
constexpr int kLegendStatic = 3502;
constexpr int kCommentTemplate = 176;
constexpr int kLimbChestTemplate = 117;
constexpr int kLimbButton = 3481;
constexpr int kChestButton = 3482;
constexpr int kFirstViewId = 201;
constexpr int kPageHeight = 664;
constexpr int kStripBand = 50;
constexpr int kMargin = 5;
constexpr UINT kSizeByGrid = 5;
constexpr UINT kSizeByWidth = 6;
constexpr double kAnnoUnitWidth = 989.0;
constexpr DWORD kButtonTypeMask = 0x0F;
const wchar_t kOverlapLabel[] = L"重ね合わせ波形";

// `font` scaled by room / width into `fitted`, for a label `width` wide that
// must fit `room`; false when it cannot be made.
bool ScaleFontToFit(CFont* font, int room, int width, CFont& fitted)
{
    LOGFONT lf{};
    if (!font || room <= 0 || width <= 0 || !font->GetLogFont(&lf)) return false;
    lf.lfHeight = static_cast<LONG>(static_cast<long long>(lf.lfHeight) * room / width);
    lf.lfWidth = static_cast<LONG>(static_cast<long long>(lf.lfWidth) * room / width);
    return lf.lfHeight != 0 && fitted.CreateFontIndirect(&lf);
}

// A label in its column's cell on paper. One wider than the cell (less a
// blank to the next column) is drawn in the print font scaled down to fit,
// so that it neither runs into the next column's label nor is cut.
void DrawCellLabel(CECGDC* pDC, const CString& text, CRect cell)
{
    const int room = cell.Width() - pDC->GetTextExtent(CString(L" ")).cx;
    const int width = pDC->GetTextExtent(text).cx;
    CFont fitted;
    if (width <= room || !ScaleFontToFit(pDC->GetCurrentFont(), room, width, fitted)) {
        pDC->DrawText(text, &cell, DT_NOCLIP);
        return;
    }
    CDCObjectSelector<CFont, CECGDC> font(*pDC, &fitted);
    pDC->DrawText(text, &cell, DT_NOCLIP);
}

void Hide(CWnd* wnd)
{
    if (wnd && wnd->GetSafeHwnd()) wnd->ShowWindow(SW_HIDE);
}

void Show(CWnd* wnd, BOOL show)
{
    if (wnd && wnd->GetSafeHwnd()) wnd->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void MoveTo(CWnd* wnd, const CRect& rect)
{
    if (wnd && wnd->GetSafeHwnd()) wnd->MoveWindow(rect, TRUE);
}

void Empty(CWnd* wnd) { MoveTo(wnd, CRect(0, 0, 0, 0)); }

// The check mark of a strip button, repainted.
void SetButtonCheck(CDlgCtrl* strip, int id, int check)
{
    if (CWnd* button = panes::StripItem(strip, id)) {
        button->SendMessage(BM_SETCHECK, static_cast<WPARAM>(check), 0);
        button->InvalidateRect(nullptr, TRUE);
    }
}

void InvalidateInParent(CWnd* pane, CWnd* child)
{
    if (!child || !child->GetSafeHwnd() || !pane->GetParent()) return;
    CRect rect;
    child->GetWindowRect(&rect);
    pane->GetParent()->ScreenToClient(&rect);
    pane->GetParent()->InvalidateRect(&rect, TRUE);
}

}  // namespace

// The page of the serial panes: always 1020 x 664 units. In display size
// mode 6 the sizes and offsets below the top margin follow the width (twice
// that in the five-column layout) so that the strips keep their shape.
struct CWndRestSerialComAve::Page {
    int W;
    int H;
    bool byWidth;
    int factor;
    // Display size mode 5: the columns and views follow the document's
    // pixels per grid square, from a side margin.
    bool byGrid = false;
    double px = 0.0;
    double py = 0.0;
    int margin = 0;

    int X(int units) const { return MulDiv(W, units, panes::kPageWidth); }
    int Top(int units) const
    {
        if (!byWidth) return MulDiv(H, units, kPageHeight);
        return MulDiv(H, kMargin, kPageHeight) + factor * MulDiv(W, units - kMargin, panes::kPageWidth);
    }
    int Size(int units) const
    {
        return byWidth ? factor * MulDiv(W, units, panes::kPageWidth) : MulDiv(H, units, kPageHeight);
    }
    CRect Rect(int x, int y, int w, int h) const
    {
        const int left = X(x), top = Top(y);
        return CRect(left, top, left + X(w), top + Size(h));
    }
    // A control inside a strip, its offsets scaled as sizes.
    CRect Inner(int x, int y, int w, int h) const
    {
        const int left = X(x), top = Size(y);
        return CRect(left, top, left + X(w), top + Size(h));
    }
    // The same with the left edge and width already in pixels.
    CRect RectAt(int left, int width, int y, int h) const { return CRect(left, Top(y), left + width, Top(y) + Size(h)); }
    int Band() const { return Size(kStripBand); }
    // Mode 5: where the columns of strips start, and their pitch and width.
    int GridColumnsStart() const
    {
        return margin + static_cast<int>(10 * px) + MulDiv(W, 2, panes::kPageWidth);
    }
    int GridPitch() const { return static_cast<int>(25 * px); }
    int BottomMargin() const { return MulDiv(H, kMargin, kPageHeight); }
};

CWndRestSerialComAve::CWndRestSerialComAve()
    : m_pBaseDoc(nullptr), m_pRestViewDoc(nullptr), m_pMFERViewDoc(nullptr), m_bShowLimb(TRUE), m_bPrintFlag(FALSE),
      m_bShowComment(FALSE), m_nFileCount(kColumns), m_nDocType(kRestDoc), m_pFirstView(nullptr),
      m_pSecondView(nullptr), m_pLimbChest(nullptr), m_pLegendMiddle(nullptr), m_pLegendRight(nullptr),
      m_pCaptionA{}, m_pCaptionB{}, m_pComment{}, m_pRecordCaption{}, m_pChooser{}
{
}

CWndRestSerialComAve::~CWndRestSerialComAve()
{
    for (int k = 0; k < kColumns; ++k) {
        delete m_pCaptionA[k];
        delete m_pCaptionB[k];
        delete m_pComment[k];
        delete m_pRecordCaption[k];
        delete m_pChooser[k];
        m_pCaptionA[k] = m_pCaptionB[k] = nullptr;
        m_pComment[k] = nullptr;
        m_pRecordCaption[k] = nullptr;
        m_pChooser[k] = nullptr;
    }
    delete m_pLimbChest;
    delete m_pLegendMiddle;
    delete m_pLegendRight;
    m_pLimbChest = nullptr;
    m_pLegendMiddle = m_pLegendRight = nullptr;
}

CTavrionDoc* CWndRestSerialComAve::ServingDoc() const
{
    if (m_nDocType == kRestDoc) return m_pRestViewDoc;
    if (m_nDocType == kMferDoc) return m_pMFERViewDoc;
    return nullptr;
}

// ---- building ------------------------------------------------------------------------------

int CWndRestSerialComAve::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    for (int k = 0; k < kColumns; ++k) {
        m_pRecordCaption[k] = panes::CreateStrip<CDlgSerialText>(this, m_pBaseDoc, kRecordCaptionTemplate, this);
        if (m_pRecordCaption[k]) {
            m_pRecordCaption[k]->SetIndex(k);
            m_pRecordCaption[k]->CreateBrush(RGB(255, 255, 255));
        }
    }
    for (int k = 0; k < kColumns; ++k) {
        m_pChooser[k] = panes::CreateStrip<CDlgSerialCom>(this, m_pBaseDoc, kChooserTemplate, this);
        if (m_pChooser[k]) m_pChooser[k]->SetIndex(k);
        m_pCaptionA[k] = panes::CreateStrip<CDlgCtrl>(this, m_pBaseDoc, kCaptionTemplate, kCaptionTemplate, this);
        if (m_pCaptionA[k]) {
            m_pCaptionA[k]->ShowWindow(SW_SHOW);
            if (CWnd* text = panes::StripItem(m_pCaptionA[k], kCaptionStatic))
                text->ModifyStyle(SS_LEFT | SS_CENTER, SS_RIGHT);
            panes::ShowStripItem(m_pCaptionA[k], kCaptionStatic, TRUE);
            panes::ShowStripItem(m_pCaptionA[k], kCaptionLimb, FALSE);
            panes::ShowStripItem(m_pCaptionA[k], kCaptionChest, FALSE);
            panes::ShowStripItem(m_pCaptionA[k], kCaptionST, FALSE);
        }
        m_pCaptionB[k] = panes::CreateStrip<CDlgCtrl>(this, m_pBaseDoc, kCaptionTemplate, kCaptionTemplate, this);
        if (m_pCaptionB[k]) {
            m_pCaptionB[k]->ShowWindow(SW_SHOW);
            panes::ShowStripItem(m_pCaptionB[k], kCaptionStatic, TRUE);
            panes::ShowStripItem(m_pCaptionB[k], kCaptionLimb, FALSE);
            panes::ShowStripItem(m_pCaptionB[k], kCaptionChest, FALSE);
            panes::ShowStripItem(m_pCaptionB[k], kCaptionST, FALSE);
        }
        m_pComment[k] = panes::CreateStrip<CDlgCommentCtrl>(this, m_pBaseDoc, kCommentTemplate, this);
    }
    m_pLegendMiddle = panes::CreateStrip<CDlgCtrl>(this, m_pBaseDoc, kLegendTemplate, kLegendTemplate, this);
    m_pLegendRight = panes::CreateStrip<CDlgCtrl>(this, m_pBaseDoc, kLegendTemplate, kLegendTemplate, this);

    CTavrionDoc* serving = m_nDocType != kRestDoc ? static_cast<CTavrionDoc*>(m_pMFERViewDoc) : m_pRestViewDoc;
    for (int i = 0; i < 2; ++i) {
        CViewSerialComAve* view = static_cast<CViewSerialComAve*>(
            panes::CreateChildView(this, serving, RUNTIME_CLASS(CViewSerialComAve), kFirstViewId + i));
        if (!view) continue;
        view->SetDocType(m_nDocType);
        view->SetBaseECGDoc(m_pBaseDoc);
        view->SetRestViewDoc(m_pRestViewDoc);
        view->SetMFERViewDoc(m_pMFERViewDoc);
        view->SetViewIndex(i);
        (i == 0 ? m_pFirstView : m_pSecondView) = view;
    }
    if (m_pSecondView) m_pSecondView->SetShowChestLead(TRUE);

    m_pLimbChest = panes::CreateStrip<CDlgLimbChest>(this, m_pBaseDoc, kLimbChestTemplate, this);
    if (m_pLimbChest) {
        m_pLimbChest->ShowWindow(SW_SHOW);
        const int buttons[2] = {kLimbButton, kChestButton};
        const wchar_t* texts[2] = {L"四肢", L"胸部"};
        for (int i = 0; i < 2; ++i) {
            CWnd* button = panes::StripItem(m_pLimbChest, buttons[i]);
            if (!button) continue;
            button->ModifyStyle(kButtonTypeMask, BS_PUSHLIKE | BS_CHECKBOX);
            button->SetWindowText(texts[i]);
        }
        SetButtonCheck(m_pLimbChest, kLimbButton, m_bShowLimb ? BST_CHECKED : BST_UNCHECKED);
        SetButtonCheck(m_pLimbChest, kChestButton, m_bShowLimb ? BST_UNCHECKED : BST_CHECKED);
    }
    return 0;
}

// ---- page styles and updates ---------------------------------------------------------------

void CWndRestSerialComAve::ShowPageStyle(int style, int tenStyle, int splitStyle, int fiveStyle)
{
    if (style == tenStyle) m_nFileCount = kColumns;
    else if (style == splitStyle || style == fiveStyle) m_nFileCount = kColumns / 2;
    else return;
    if (m_pFirstView) m_pFirstView->SetShowChestLead(style == splitStyle ? FALSE : !m_bShowLimb);
    for (CViewSerialComAve* view : {m_pFirstView, m_pSecondView})
        if (view) view->SetPageStyle(style);
    OnUpdate(FALSE);
}

void CWndRestSerialComAve::ShowRestPageStyle(int style) { ShowPageStyle(style, 41, 42, 43); }

void CWndRestSerialComAve::ShowMFERPageStyle(int style) { ShowPageStyle(style, 45, 46, 48); }

void CWndRestSerialComAve::OnUpdate(BOOL full)
{
    CTavrionDoc* serving = ServingDoc();
    const BOOL overlap = serving ? serving->IsSerialOverlap() : TRUE;
    m_bShowComment = serving ? serving->IsShowComment() : FALSE;
    for (CViewSerialComAve* view : {m_pFirstView, m_pSecondView})
        if (view) view->SetShowOverlappedWave(overlap);
    if (full) {
        for (CViewSerialComAve* view : {m_pFirstView, m_pSecondView}) {
            if (!view) continue;
            view->OnUpdate(nullptr, 0, nullptr);
            view->InvalidateRect(nullptr, FALSE);
        }
        if (m_pLimbChest) m_pLimbChest->OnInitDialog();
    }
    UpdateSerialCount();
    UpdateSerialFileList();
}

void CWndRestSerialComAve::UpdateSerialCount()
{
    const BOOL overlap = m_pFirstView && m_pFirstView->IsShowOverlappedWave();
    if (overlap && (m_nFileCount == kColumns || m_nFileCount == kColumns / 2)) --m_nFileCount;
    if (!overlap && (m_nFileCount == kColumns - 1 || m_nFileCount == kColumns / 2 - 1)) ++m_nFileCount;
    if (!m_bPrintFlag && GetSafeHwnd()) SendMessage(WM_SIZE, 0, 0);
}

void CWndRestSerialComAve::UpdateSerialFileList()
{
    panes::FillSerialChoosers(m_pBaseDoc, m_pRestViewDoc, m_pMFERViewDoc, m_pChooser, kColumns, m_arrPosition);
    // Each chooser stands on the entry of the record its column shows.
    for (int k = 0; k < kColumns; ++k) {
        const int index = m_pFirstView ? m_pFirstView->GetSerialIndex(k) : -1;
        panes::SelectChooserEntry(m_pChooser[k], panes::SerialEntryOf(m_arrPosition, index));
    }
}

void CWndRestSerialComAve::RestoreSerialFile()
{
    // The comparable records before the current one give its index; a current
    // record that does not compare starts the columns at the next one that does.
    _DATAITEM* item = m_pBaseDoc ? m_pBaseDoc->GetCurDataItem() : nullptr;
    int index = 0;
    for (_DATAITEM* walk = m_pBaseDoc && item ? m_pBaseDoc->GetListHeader() : nullptr; walk && walk != item;
         walk = walk->pNext)
        if (panes::IsComparableCode(walk->uSystemCode)) ++index;
    for (int k = 0; k < m_nFileCount && k < kColumns; ++k) {
        while (item && !panes::IsComparableCode(item->uSystemCode)) item = item->pNext;
        if (!item) {
            panes::SelectChooserEntry(m_pChooser[k], -1);
            continue;
        }
        panes::SelectChooserEntry(m_pChooser[k], panes::SerialEntryOf(m_arrPosition, index));
        ++index;
        item = item->pNext;
    }
    for (int k = 0; k < kColumns; ++k) {
        SendMessage(WM_SERIAL_CHOOSER_SHOWN, static_cast<WPARAM>(k), 0);
        SendMessage(WM_SERIAL_RECORD_CHOSEN, static_cast<WPARAM>(k),
                    static_cast<LPARAM>(panes::ChooserSelection(m_pChooser[k])));
    }
    if (m_pLimbChest) m_pLimbChest->OnInitDialog();
}

void CWndRestSerialComAve::HideAllPopupDlg(BOOL show)
{
    for (CViewSerialComAve* view : {m_pFirstView, m_pSecondView})
        if (view) view->HideAllPopupDlg(show);
}

void CWndRestSerialComAve::CloseAllPopupDlg()
{
    for (CViewSerialComAve* view : {m_pFirstView, m_pSecondView})
        if (view) view->CloseAllPopupDlg();
}

// ---- layout --------------------------------------------------------------------------------

CWndRestSerialComAve::Layout CWndRestSerialComAve::CurrentLayout() const
{
    const int style = m_pFirstView ? m_pFirstView->GetPageStyle() : 41;
    if ((style == 42 && m_nDocType == kRestDoc) || (style == 46 && m_nDocType == kMferDoc)) return kSplit;
    if ((style == 43 && m_nDocType == kRestDoc) || (style == 48 && m_nDocType == kMferDoc)) return kFiveColumns;
    return kTenColumns;
}

void CWndRestSerialComAve::ApplyFonts()
{
    CFont* font = m_pBaseDoc ? m_pBaseDoc->GetDocFont(3) : nullptr;
    const int buttons[2] = {kLimbButton, kChestButton};
    panes::SetStripFont(m_pLimbChest, buttons, 2, font);
    const int combo[1] = {panes::kSerialChooserCombo};
    const int caption[1] = {panes::kSerialCaptionStatic};
    const int strip[1] = {kCaptionStatic};
    for (int k = 0; k < kColumns; ++k) {
        panes::SetStripFont(m_pChooser[k], combo, 1, font);
        panes::SetStripFont(m_pRecordCaption[k], caption, 1, font);
        panes::SetStripFont(m_pCaptionA[k], strip, 1, font);
        panes::SetStripFont(m_pCaptionB[k], strip, 1, font);
    }
}

void CWndRestSerialComAve::FitStageLabel(int k)
{
    CWnd* text = InColumns(k) ? panes::StripItem(m_pCaptionB[k], kCaptionStatic) : nullptr;
    CFont* font = m_pBaseDoc ? m_pBaseDoc->GetDocFont(3) : nullptr;
    if (!text || !text->GetSafeHwnd() || !font) return;
    // The static lets go of the fitted font before it is made again.
    text->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font->GetSafeHandle()), FALSE);
    m_fittedStage[k].DeleteObject();
    CString label;
    text->GetWindowText(label);
    CRect box;
    text->GetClientRect(&box);
    int width = 0;
    {
        CClientDC dc(text);
        CDCObjectSelector<CFont> selected(dc, font);
        width = dc.GetTextExtent(label).cx;
    }
    CFont* shown = font;
    if (width > box.Width() && ScaleFontToFit(font, box.Width(), width, m_fittedStage[k])) shown = &m_fittedStage[k];
    text->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(shown->GetSafeHandle()), TRUE);
}

void CWndRestSerialComAve::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!m_pBaseDoc) return;
    CRect client;
    GetClientRect(&client);
    CTavrionDoc* sizing = m_pRestViewDoc ? static_cast<CTavrionDoc*>(m_pRestViewDoc) : m_pMFERViewDoc;
    const Layout layout = CurrentLayout();
    const bool byWidth = sizing && sizing->GetDisplaySizeMode() == kSizeByWidth;
    Page page{client.Width(), client.Height(), byWidth, byWidth && layout == kFiveColumns ? 2 : 1};
    if (sizing && sizing->GetDisplaySizeMode() == kSizeByGrid) {
        page.byGrid = true;
        page.px = sizing->GetPixelPerMMX();
        page.py = sizing->GetPixelPerMMY();
        page.margin = static_cast<int>(10 * g_dXUnit);
    }

    const BOOL visible = IsWindowVisible();
    if (visible) ShowWindow(SW_HIDE);
    ApplyFonts();
    PlaceStrips(page, layout);
    switch (layout) {
    case kTenColumns:
    case kFiveColumns:
        PlaceView(m_pFirstView, page, 16, 989);
        Empty(m_pSecondView);
        break;
    case kSplit: {
        const int firstRight = PlaceView(m_pFirstView, page, 13, 514);
        PlaceView(m_pSecondView, page, 531, 476, firstRight);
        break;
    }
    }
    if (CWnd* parent = GetParent()) {
        CRect rect;
        GetWindowRect(&rect);
        parent->ScreenToClient(&rect);
        parent->InvalidateRect(&rect, TRUE);
    }
    if (visible) ShowWindow(SW_SHOW);
}

void CWndRestSerialComAve::PlaceStrips(const Page& page, Layout layout)
{
    const bool five = layout == kFiveColumns;
    const int N = std::clamp(m_nFileCount, 0, kColumns);
    // Limb/chest panel and its buttons.
    if (layout == kSplit) {
        Empty(m_pLimbChest);
    } else if (page.byGrid) {
        MoveTo(m_pLimbChest, page.RectAt(page.margin, static_cast<int>(10 * page.px), 5, 40));
    } else {
        MoveTo(m_pLimbChest, page.Rect(10, 5, five ? 80 : 40, 40));
    }
    const int buttonWidth = five ? 70 : 35;
    MoveTo(panes::StripItem(m_pLimbChest, kLimbButton), page.Inner(0, 0, buttonWidth, 17));
    MoveTo(panes::StripItem(m_pLimbChest, kChestButton), page.Inner(0, 23, buttonWidth, 17));

    const int start = five ? 90 : 50;
    const int pitch = five ? 185 : 96;
    const int captionPitch = five ? 185 : 95;
    const int chooserWidth = five ? 440 : 250;
    const int captionWidth = five ? 183 : 94;
    // A strip of column k at `y`, `h` high: in page units from `first` by
    // `step` and `width` units wide, or on the grid's columns in mode 5.
    auto column = [&](int k, int first, int step, int width, int y, int h) {
        if (page.byGrid)
            return page.RectAt(page.GridColumnsStart() + page.GridPitch() * k, page.GridPitch(), y, h);
        return page.Rect(first + step * k, y, width, h);
    };
    for (int k = 0; k < kColumns; ++k) {
        if (k >= N) {
            Empty(m_pChooser[k]);
            Empty(m_pRecordCaption[k]);
            Empty(m_pCaptionA[k]);
            Empty(m_pCaptionB[k]);
            Empty(m_pComment[k]);
            continue;
        }
        // A chooser that would reach past the last column in use ends at its right edge.
        if (page.byGrid) {
            const int left = page.GridColumnsStart();
            const int x = std::min(left + page.GridPitch() * k, left + page.GridPitch() * N - page.X(chooserWidth));
            MoveTo(m_pChooser[k], page.RectAt(x, page.X(chooserWidth), 5, 20));
        } else {
            const int chooserX = std::min(start + pitch * k, start + pitch * N - chooserWidth);
            MoveTo(m_pChooser[k], page.Rect(chooserX, 5, chooserWidth, 20));
        }
        MoveTo(panes::ChooserCombo(m_pChooser[k]), page.Inner(0, 0, chooserWidth, 450));
        Hide(m_pChooser[k]);
        MoveTo(m_pRecordCaption[k], column(k, start, pitch, captionWidth, 5, 15));
        MoveTo(panes::StripItem(m_pRecordCaption[k], panes::kSerialCaptionStatic),
               page.Inner(2, 2, captionWidth, 15));
        Show(m_pRecordCaption[k], TRUE);
        MoveTo(m_pCaptionA[k], column(k, start, captionPitch, five ? 180 : 94, 23, 15));
        if (m_pCaptionA[k]) {
            CRect inside;
            m_pCaptionA[k]->GetClientRect(&inside);
            MoveTo(panes::StripItem(m_pCaptionA[k], kCaptionStatic), inside);
        }
        if (m_bShowComment) {
            Empty(m_pCaptionB[k]);
            MoveTo(m_pComment[k], column(k, start, pitch, captionWidth, 38, 15));
            Show(m_pComment[k], TRUE);
        } else {
            Empty(m_pComment[k]);
            // A label reaches past its column only where no column follows.
            const int stageWidth = k + 1 < N ? captionPitch - 1 : (five ? 320 : 180);
            MoveTo(m_pCaptionB[k], column(k, start, captionPitch, stageWidth, 38, 15));
            if (m_pCaptionB[k]) {
                CRect inside;
                m_pCaptionB[k]->GetClientRect(&inside);
                MoveTo(panes::StripItem(m_pCaptionB[k], kCaptionStatic), inside);
                FitStageLabel(k);
            }
        }
        if (m_pComment[k]) {
            m_pComment[k]->SetRightAlign(k == N - 1);
            m_pComment[k]->SetCommentFont(m_pBaseDoc ? m_pBaseDoc->GetDocFont(0) : nullptr);
        }
    }

    const BOOL overlap = m_pFirstView && m_pFirstView->IsShowOverlappedWave();
    MoveTo(m_pLegendMiddle, page.Rect(497, 5, 30, 30));
    Show(m_pLegendMiddle, layout == kSplit && overlap);
    MoveTo(m_pLegendRight, five ? page.Rect(946, 5, 60, 30) : page.Rect(977, 5, 30, 30));
    Show(m_pLegendRight, overlap);
    for (CDlgCtrl* legend : {m_pLegendMiddle, m_pLegendRight}) {
        if (!legend || !legend->GetSafeHwnd()) continue;
        CRect inside;
        legend->GetClientRect(&inside);
        MoveTo(panes::StripItem(legend, kLegendStatic), inside);
    }
}

int CWndRestSerialComAve::PlaceView(CViewSerialComAve* view, const Page& page, int x, int width, int gridLeft)
{
    if (!view || !view->GetSafeHwnd()) return gridLeft;
    int columns = 0, rows = 0;
    view->GetGridCount(columns, rows);
    const int band = page.Band();
    const int room = page.H - band - page.BottomMargin();
    int left = page.X(x), w = page.X(width), r = 0, h = 0;
    if (page.byGrid) {
        // Squares of the document's own size from the margin (or from the view before).
        left = gridLeft >= 0 ? gridLeft : page.margin;
        w = static_cast<int>(columns * page.px) + 1;
        r = panes::RowsInRoom(room, page.py);
        h = panes::GridHeight(r, page.py);
    } else {
        const double square = columns > 0 ? static_cast<double>(w) / columns : 0.0;
        r = panes::RowsInRoom(room, square);
        h = panes::GridHeight(r, square);
    }
    const int top = band + (page.H - h - band) / 2;
    view->InitBackground(columns, r);
    view->SetAnnoSizeRatio(static_cast<float>(w / kAnnoUnitWidth));
    view->MoveWindow(left, top, w, h, TRUE);
    return left + w;
}

// ---- the choosers --------------------------------------------------------------------------

LRESULT CWndRestSerialComAve::OnUserActiveFileList(WPARAM wParam, LPARAM lParam)
{
    const int k = static_cast<int>(wParam);
    if (!InColumns(k)) return 0;
    const int N = std::min(m_nFileCount, kColumns);
    for (int c = 0; c < N; ++c) {
        Show(m_pRecordCaption[c], TRUE);
        Show(panes::ChooserCombo(m_pChooser[c]), FALSE);
        Show(m_pChooser[c], FALSE);
    }
    if (lParam == 0) {
        const CString text = panes::ChooserEntryText(m_pChooser[k], panes::ChooserSelection(m_pChooser[k]));
        panes::SetStripText(m_pRecordCaption[k], panes::kSerialCaptionStatic, panes::SerialCaptionText(text));
    } else {
        Show(m_pRecordCaption[k], FALSE);
        Show(m_pChooser[k], TRUE);
        CWnd* combo = panes::ChooserCombo(m_pChooser[k]);
        Show(combo, TRUE);
        if (combo) {
            combo->SetFocus();
            combo->SendMessage(CB_SHOWDROPDOWN, TRUE, 0);
        }
    }
    InvalidateInParent(this, m_pChooser[k]);
    return 0;
}

BOOL CWndRestSerialComAve::IsRepeateIndex(int k, int entry)
{
    if (entry < 0) return FALSE;
    const int N = std::min(m_nFileCount, kColumns);
    for (int c = 0; c < N; ++c) {
        if (c == k || panes::ChooserSelection(m_pChooser[c]) != entry) continue;
        if (m_pBaseDoc) m_pBaseDoc->SendToNotifyWnd(WM_SERIAL_CHOICE_REFUSED, 1, 0);
        const int previous = panes::SerialEntryOf(m_arrPosition, m_pFirstView ? m_pFirstView->GetSerialIndex(k) : -1);
        panes::SelectChooserEntry(m_pChooser[k], previous);
        ShowColumnCaption(k, previous);
        return TRUE;
    }
    return FALSE;
}

void CWndRestSerialComAve::ShowColumnCaption(int k, int entry)
{
    const CString text = panes::ChooserEntryText(m_pChooser[k], entry);
    panes::SetStripText(m_pRecordCaption[k], panes::kSerialCaptionStatic, panes::SerialCaptionText(text));
}

CString CWndRestSerialComAve::GetMasterStepInformation(unsigned kind, BOOL mfer, const CString& stage) const
{
    return panes::SerialStageLabel(kind, mfer, stage);
}

LRESULT CWndRestSerialComAve::OnUserChangeSerialFileInfo(WPARAM wParam, LPARAM lParam)
{
    const int k = static_cast<int>(wParam);
    // Every column array holds ten; a column from elsewhere is not one of them.
    if (!InColumns(k)) return 0;
    const int entry = static_cast<int>(lParam);
    const int index = panes::SerialIndexOf(m_arrPosition, entry);
    const panes::SerialRecord record = panes::FindSerialRecord(m_pBaseDoc, m_pRestViewDoc, m_pMFERViewDoc, index);
    if (record.listed && !record.Found()) return 0;
    if (record.listed && !record.listed->bLoaded && m_pBaseDoc)
        m_pBaseDoc->SendToNotifyWnd(WM_SERIAL_RECORD_TO_LOAD, static_cast<WPARAM>(record.listed->nID), 0);
    if (IsRepeateIndex(k, entry)) return 0;

    CString rate;
    CString stage;
    CString comment;
    if (record.Found() && entry >= 0) {
        const CString heartRate = record.HeartRate();
        rate.Format(L"%sbpm", heartRate.IsEmpty() ? L"***" : heartRate.GetString());
        stage = GetMasterStepInformation(record.Kind(), record.mfer != nullptr, record.StageText());
        comment = record.Comment();
    }
    panes::SetStripText(m_pCaptionA[k], kCaptionStatic, rate);
    panes::SetStripText(m_pCaptionB[k], kCaptionStatic, stage);
    FitStageLabel(k);
    if (m_pComment[k]) m_pComment[k]->SetComment(comment);
    for (int c = 0; c < kColumns; ++c) {
        for (CDlgCtrl* strip : {m_pCaptionA[c], m_pCaptionB[c]})
            if (CWnd* text = panes::StripItem(strip, kCaptionStatic)) text->InvalidateRect(nullptr, FALSE);
        if (m_pComment[c] && m_pComment[c]->GetSafeHwnd()) m_pComment[c]->InvalidateRect(nullptr, TRUE);
    }
    for (CViewSerialComAve* view : {m_pFirstView, m_pSecondView}) {
        if (!view) continue;
        view->SetSerialIndex(k, record.listed ? index : -1);
        if (k > m_nFileCount) continue;
        view->OnUpdate(nullptr, k + 1, nullptr);
        if (!m_bPrintFlag && view->GetSafeHwnd()) view->InvalidateRect(nullptr, FALSE);
    }
    return 0;
}

LRESULT CWndRestSerialComAve::OnUserCheckSerialFileInfo(WPARAM, LPARAM)
{
    CTavrionDoc* serving = ServingDoc();
    if (!serving || !serving->IsCheckID()) return 1;
    const int N = std::min(m_nFileCount, kColumns);
    CString ids[kColumns];
    for (int c = 0; c < N; ++c) {
        const int index = m_pFirstView ? m_pFirstView->GetSerialIndex(c) : -1;
        ids[c] = panes::FindSerialRecord(m_pBaseDoc, m_pRestViewDoc, m_pMFERViewDoc, index).PatientID();
    }
    for (int a = 0; a < N; ++a) {
        if (panes::ChooserSelection(m_pChooser[a]) < 0) continue;
        for (int b = a + 1; b < N; ++b) {
            if (panes::ChooserSelection(m_pChooser[b]) < 0 || ids[a] == ids[b]) continue;
            if (m_pBaseDoc) m_pBaseDoc->SendToNotifyWnd(WM_SERIAL_CHOICE_REFUSED, 2, 0);
            return 0;
        }
    }
    return 1;
}

LRESULT CWndRestSerialComAve::OnUserAnnotationActive(WPARAM wParam, LPARAM)
{
    CWaveView* views[2] = {m_pFirstView, m_pSecondView};
    return panes::RelayAnnotationActive(reinterpret_cast<CWnd*>(wParam), views, 2);
}

// ---- commands ------------------------------------------------------------------------------

BOOL CWndRestSerialComAve::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    const BOOL limb = nID == static_cast<UINT>(kLimbButton) && !m_bShowLimb;
    const BOOL chest = nID == static_cast<UINT>(kChestButton) && m_bShowLimb;
    if ((limb || chest) && !pHandlerInfo) {
        m_bShowLimb = limb;
        if (m_pFirstView) {
            CTavrionDoc* serving = ServingDoc();
            m_pFirstView->SaveAnnoToData(0, nullptr, serving ? serving->GetAnnotationFlag() : 0);
            m_pFirstView->SetShowChestLead(!m_bShowLimb);
            m_pFirstView->InvalidateRect(nullptr, FALSE);
        }
        SetButtonCheck(m_pLimbChest, kLimbButton, m_bShowLimb ? BST_CHECKED : BST_UNCHECKED);
        SetButtonCheck(m_pLimbChest, kChestButton, m_bShowLimb ? BST_UNCHECKED : BST_CHECKED);
    }
    if (!pHandlerInfo && GetSafeHwnd()) SendMessage(WM_ANNOTATION_ACTIVE, 0, 0);
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- printing ------------------------------------------------------------------------------

int CWndRestSerialComAve::PrintAveWaveInfo(CECGDC* pDC, CRect rect, double scale, BOOL force)
{
    if (!pDC || !m_pFirstView) return 0;
    const int u = static_cast<int>(12.5 * scale);
    const int h = MulDiv(rect.Height(), 1, 3);
    const int inset = static_cast<int>(10 * scale);
    const BOOL overlap = m_pFirstView->IsShowOverlappedWave();
    const bool split = CurrentLayout() == kSplit;
    const int perBlock = split ? (overlap ? 4 : 5) : (overlap ? 9 : 10);
    const int blocks = split ? 2 : 1;
    CTavrionDoc* serving = ServingDoc();
    const BOOL showComment = serving && serving->IsShowComment();
    _DATAITEM* current = m_pBaseDoc ? m_pBaseDoc->GetCurDataItem() : nullptr;

    // The records the block prints, in column order, another patient's left
    // out unless forced: the next record takes the place of one left out.
    std::vector<panes::SerialRecord> records;
    for (int j = 0; j < perBlock; ++j) {
        const panes::SerialRecord record =
            panes::FindSerialRecord(m_pBaseDoc, m_pRestViewDoc, m_pMFERViewDoc, m_pFirstView->GetSerialIndex(j));
        if (!record.listed) continue;
        if (!force && !m_pFirstView->CheckSerialFileID(record.listed, current)) continue;
        records.push_back(record);
    }

    const int previousMode = pDC->SetBkMode(TRANSPARENT);
    for (int block = 0; block < blocks; ++block) {
        const int start = rect.left + (block == 0 ? inset : 10 * u + static_cast<int>(15 * scale));
        int x = start;
        for (const panes::SerialRecord& record : records) {
            pDC->TextOut(x, rect.top, record.DateTime().Left(10));
            x += 2 * u;
        }
        x = start;
        for (const panes::SerialRecord& record : records) {
            const CString heartRate = record.HeartRate();
            CString line;
            line.Format(L"%s %sbpm", record.DateTime().Mid(11, 5).GetString(),
                        heartRate.IsEmpty() ? L"***" : heartRate.GetString());
            pDC->TextOut(x, rect.top + h, line);
            x += 2 * u;
        }
        x = start;
        for (const panes::SerialRecord& record : records) {
            CString text;
            if (showComment) {
                CString comment = record.Comment();
                comment.TrimLeft();
                text = CDlgCommentCtrl::GetShortComment(comment);
            } else {
                text = GetMasterStepInformation(record.Kind(), record.mfer != nullptr, record.StageText());
            }
            DrawCellLabel(pDC, text, CRect(x, rect.top + 2 * h, x + 2 * u, rect.top + 3 * h));
            x += 2 * u;
        }
        if (overlap) {
            const int labelX = split ? start + 8 * u : rect.left + inset + 18 * u;
            CRect cell(labelX, rect.top + 2 * h, labelX + 2 * u, rect.top + 3 * h);
            pDC->DrawText(CString(kOverlapLabel), &cell, DT_NOCLIP);
        }
    }
    pDC->SetBkMode(previousMode);
    return 0;
}
