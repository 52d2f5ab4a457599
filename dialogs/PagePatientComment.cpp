#include "dialogs/PagePatientComment.h"

#include <algorithm>

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "dialogs/DlgEditComment.h"
#include "dialogs/DlgEditIvrelCode.h"
#include "dialogs/DlgEditMinneCode.h"
#include "dialogs/DisplayOnlyRows.h"
#include "dialogs/PatientPageFields.h"
#include "dialogs/TextLengthGuard.h"
#include "documents/MFERDataItem.h"
#include "documents/MFERViewDoc.h"
#include "documents/RecordXmlText.h"
#include "documents/RestDataItem.h"
#include "documents/RestViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Pen.h"
#include "platform/ui/framework/Modules.h"
#include "platform/ui/framework/PaintDC.h"
#include "platform/ui/framework/ScrollBar.h"
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/windowing/SystemSettings.h"

namespace {

// Control ids: Minnesota slot i and IVREL row i add i to their first id.
const int kMinneCode = 3300, kMinneMark = 3316, kMinneDelete = 3324, kMinneSelect = 3332;
const int kIvrelCode = 3349, kIvrelText = 3360, kIvrelMark = 3371, kIvrelDelete = 3382, kIvrelSelect = 3393;
const int kIvrelScroll = 3406;
const int kJudgement = 3418, kComment = 3421;
// The control data each row loads from.
const UINT kMinneCodeData = 3062, kMinneMarkData = 3054;
const UINT kIvrelCodeData = 3097, kIvrelMarkData = 3108, kIvrelTextData = 3141;
const UINT kJudgementData = 3096, kCommentData = 4017;

const wchar_t kMinnesotaList[] = L"/Minesota/Minesota_Code/Code";
const wchar_t kRowEdited[] = L"#";
const int kScrollEnd = 50;
const int kStatementCopy = 999;   // the scrolled statement is cut to this many characters

const struct {
    int id;
    const wchar_t* text;
} kLabels[] = {
    {3483, L"ﾐﾈｿﾀｺｰﾄﾞ"}, {3404, L"IVRELｺｰﾄﾞ"}, {3417, L"全所見削除"},
    {3405, L"総合判定"}, {3419, L"コメント"},   {3420, L"定型文入力"},
};

CString MasterPath(const wchar_t* file)
{
    CString path;
    path.Format(L"%s\\%s", g_pWorkDir ? g_pWorkDir : L"", file);
    return path;
}

HICON ButtonIcon(int id)
{
    LPCWSTR name = MAKEINTRESOURCE(id);
    return static_cast<HICON>(::LoadImageW(AfxFindResourceHandle(name, RT_GROUP_ICON), name, IMAGE_ICON, 0, 0, 0));
}

bool IsLettersOnly(const CString& text)
{
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] < L'A' || text[i] > L'Z') return false;
    }
    return true;
}

}  // namespace

IMPLEMENT_DYNAMIC(CPagePatientComment, CPagePatientBase)

BEGIN_MESSAGE_MAP(CPagePatientComment, CPagePatientBase)
    ON_BN_CLICKED(3417, OnClearAll)
    ON_CONTROL_RANGE(BN_CLICKED, 3382, 3392, OnDeleteIvrelCode)
    ON_CONTROL_RANGE(BN_CLICKED, 3393, 3403, OnSelectIvrelCode)
    ON_CONTROL_RANGE(BN_CLICKED, 3324, 3331, OnDeleteMinnesotaCode)
    ON_CONTROL_RANGE(BN_CLICKED, 3332, 3339, OnSelectMinnesotaCode)
    ON_CONTROL_RANGE(EN_KILLFOCUS, 3349, 3359, OnKillFocusIvrelCode)
    ON_CONTROL_RANGE(EN_KILLFOCUS, 3300, 3307, OnKillFocusMinnesotaCode)
    ON_BN_CLICKED(3420, OnEditComment)
    ON_CONTROL(EN_UPDATE, 3421, OnUpdateComment)
    ON_CONTROL_RANGE(EN_UPDATE, 3300, 3307, OnUpdateCode)
    ON_CONTROL_RANGE(EN_UPDATE, 3349, 3359, OnUpdateCode)
    ON_WM_HSCROLL()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CPagePatientComment::CPagePatientComment()
    : CPagePatientBase(IDD, DOC_TYPE_REST), m_bCommentChange(0), m_bCodeChange(0), m_bPainted(0),
      m_nLoadedJudgement(CB_ERR)
{
}

CPagePatientComment::~CPagePatientComment() = default;

_INTERPRE_INFO_REST* CPagePatientComment::CurrentRecord(unsigned int* systemCode) const
{
    if (m_nType == DOC_TYPE_REST) {
        auto* doc = dynamic_cast<CRestViewDoc*>(m_pDoc);
        _RESTDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
        if (!item) return nullptr;
        if (systemCode) *systemCode = item->uSystemCode;
        return &item->stInterpre;
    }
    if (m_nType == DOC_TYPE_MFER) {
        auto* doc = dynamic_cast<CMFERViewDoc*>(m_pDoc);
        _MFERDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
        if (!item) return nullptr;
        if (systemCode) *systemCode = item->uSystemCode;
        return &item->stInterpre;
    }
    return nullptr;
}

bool CPagePatientComment::IsReadOnly() const
{
    return m_pDoc && m_pDoc->IsReadOnly();
}

CString CPagePatientComment::IvrelStatement(const CString& code) const
{
    if (!m_pIvrel) return CString();
    CString statement = IvrelMasterText(*m_pIvrel, kIvrelCodeList, code);
    if (statement.IsEmpty()) statement = IvrelMasterText(*m_pIvrel, kIvrelJudgementList, code);
    return statement;
}

CString CPagePatientComment::MinnesotaText(const CString& code) const
{
    return m_pMinnesota ? IvrelMasterText(*m_pMinnesota, kMinnesotaList, code) : CString();
}

// ---- building the page ------------------------------------------------------------------------

BOOL CPagePatientComment::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    InitReadOnlyLayout();
    const int flag = m_pDoc ? m_pDoc->Is8000File() : 0;
    m_pIvrel = std::make_unique<CECGXMLParser>(MasterPath(L"Ivrel12.xml"), flag, CString());
    m_pMinnesota = std::make_unique<CECGXMLParser>(MasterPath(L"Minesota_mst.xml"), flag, CString());
    InitControls();
    LoadRows();
    return TRUE;
}

void CPagePatientComment::InitReadOnlyLayout()
{
    if (!IsReadOnly()) return;
    auto hide = [this](int id) {
        if (CWnd* control = GetDlgItem(id)) control->ShowWindow(SW_HIDE);
    };
    for (int id : {3417, 3420, 3405, kJudgement}) hide(id);
    for (int i = 0; i < COMMENT_PAGE_MINNESOTA; ++i) {
        for (int first : {kMinneCode, kMinneMark, kMinneDelete, kMinneSelect}) hide(first + i);
    }
    for (int i = 0; i < COMMENT_PAGE_IVREL; ++i) {
        for (int first : {kIvrelCode, kIvrelMark, kIvrelText, kIvrelDelete, kIvrelSelect}) hide(first + i);
    }
    if (CWnd* comment = GetDlgItem(kComment)) {
        comment->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
        comment->SendMessage(EM_SETREADONLY, TRUE);
    }
}

void CPagePatientComment::InitControls()
{
    auto font = [this](int id) {
        CWnd* control = GetDlgItem(id);
        if (control && m_pFont) control->SetFont(m_pFont, TRUE);
    };
    for (const auto& label : kLabels) {
        SetText(label.id, label.text);
        font(label.id);
    }
    for (int i = 0; i < COMMENT_PAGE_MINNESOTA; ++i) {
        SendDlgItemMessage(kMinneCode + i, EM_LIMITTEXT, 6);
        font(kMinneCode + i);
        font(kMinneMark + i);
    }
    for (int i = 0; i < COMMENT_PAGE_IVREL; ++i) {
        SendDlgItemMessage(kIvrelCode + i, EM_LIMITTEXT, 7);
        for (int first : {kIvrelCode, kIvrelMark, kIvrelText}) font(first + i);
    }
    SendDlgItemMessage(kComment, EM_LIMITTEXT, 255);
    font(kComment);
    font(kJudgement);
    if (m_pIvrel) FillJudgementList(*this, kJudgement, *m_pIvrel);
}

void CPagePatientComment::LoadRows()
{
    auto data = [this](UINT id) {
        CString text;
        if (m_pDoc) m_pDoc->GetCtrlData(id, text);
        return text;
    };
    const HICON remove = ButtonIcon(115);
    const HICON pick = ButtonIcon(116);
    for (int i = 0; i < COMMENT_PAGE_IVREL; ++i) {
        SetText(kIvrelText + i, data(kIvrelTextData + i));
        SetText(kIvrelCode + i, data(kIvrelCodeData + i));
        SetText(kIvrelMark + i, data(kIvrelMarkData + i));
        if (remove) SendDlgItemMessage(kIvrelDelete + i, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(remove));
        if (pick) SendDlgItemMessage(kIvrelSelect + i, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(pick));
        SendDlgItemMessage(kIvrelScroll + i, SBM_SETRANGE, 0, kScrollEnd);
    }
    for (int i = 0; i < COMMENT_PAGE_MINNESOTA; ++i) {
        SetText(kMinneCode + i, data(kMinneCodeData + i));
        if (remove) SendDlgItemMessage(kMinneDelete + i, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(remove));
        if (pick) SendDlgItemMessage(kMinneSelect + i, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(pick));
        SetText(kMinneMark + i, data(kMinneMarkData + i));
    }
    SetText(kComment, data(kCommentData));
    SelectJudgement(data(kJudgementData));
}

void CPagePatientComment::SelectJudgement(const CString& stored)
{
    // A stored text that begins a list entry selects that entry.
    const LRESULT found = stored.IsEmpty() ? CB_ERR
                                           : SendDlgItemMessage(kJudgement, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                                                reinterpret_cast<LPARAM>(stored.GetString()));
    if (found != CB_ERR) {
        SendDlgItemMessage(kJudgement, CB_SETCURSEL, static_cast<WPARAM>(found));
    } else {
        SetText(kJudgement, stored);
    }
    m_nLoadedJudgement = static_cast<int>(SendDlgItemMessage(kJudgement, CB_GETCURSEL));
}

// ---- editing the rows ---------------------------------------------------------------------------

void CPagePatientComment::ClearIvrelRow(int row)
{
    SetText(kIvrelText + row, CString());
    SetText(kIvrelCode + row, CString());
    SetText(kIvrelMark + row, kRowEdited);
}

void CPagePatientComment::OnDeleteIvrelCode(UINT id)
{
    const int row = static_cast<int>(id) - kIvrelDelete;
    if (!Text(kIvrelCode + row).IsEmpty()) ClearIvrelRow(row);
}

void CPagePatientComment::OnSelectIvrelCode(UINT id)
{
    const int row = static_cast<int>(id) - kIvrelSelect;
    CDlgEditIvrelCode picker(nullptr);
    picker.SetDoc(m_pDoc, m_nType);
    if (picker.DoModal() != IDOK) return;
    const CString code = picker.GetCode();
    SetText(kIvrelText + row, m_pIvrel ? IvrelMasterText(*m_pIvrel, kIvrelCodeList, code) : CString());
    SetText(kIvrelCode + row, code);
    SetText(kIvrelMark + row, kRowEdited);
}

void CPagePatientComment::OnDeleteMinnesotaCode(UINT id)
{
    const int slot = static_cast<int>(id) - kMinneDelete;
    if (Text(kMinneCode + slot).IsEmpty()) return;
    SetText(kMinneCode + slot, CString());
    SetText(kMinneMark + slot, kRowEdited);
}

void CPagePatientComment::OnSelectMinnesotaCode(UINT id)
{
    const int slot = static_cast<int>(id) - kMinneSelect;
    CDlgEditMinneCode picker(nullptr);
    picker.SetDoc(m_pDoc, m_nType);
    if (picker.DoModal() != IDOK) return;
    SetText(kMinneCode + slot, picker.GetCode());
    SetText(kMinneMark + slot, kRowEdited);
}

void CPagePatientComment::OnClearAll()
{
    for (int row = 0; row < COMMENT_PAGE_IVREL; ++row) OnDeleteIvrelCode(static_cast<UINT>(kIvrelDelete + row));
    SendDlgItemMessage(kJudgement, CB_SETCURSEL, static_cast<WPARAM>(-1));
}

void CPagePatientComment::OnKillFocusIvrelCode(UINT id)
{
    const int row = static_cast<int>(id) - kIvrelCode;
    const CString typed = Text(kIvrelCode + row).Left(50);
    if (typed.IsEmpty()) {
        if (!Text(kIvrelText + row).IsEmpty()) ClearIvrelRow(row);
        return;
    }
    CString copy = typed;
    copy.Trim();
    copy.MakeUpper();
    // Letters alone name a group of codes, not a code: the row is emptied.
    const CString code = IsLettersOnly(copy) ? CString() : typed;
    const CString statement = IvrelStatement(code);
    SetText(kIvrelText + row, statement);
    SetText(kIvrelMark + row, kRowEdited);
    if (statement.IsEmpty()) SetText(kIvrelCode + row, CString());
}

void CPagePatientComment::OnKillFocusMinnesotaCode(UINT id)
{
    // While the page is being built its edits lose the focus without a user.
    if (!m_bPainted || !m_pDoc || !CurrentRecord()) return;
    const int slot = static_cast<int>(id) - kMinneCode;
    const CString code = Text(kMinneCode + slot).Left(50);
    if (m_pDoc->IsMinnesotaNotMatchingValid(code, CString())) {
        SetText(kMinneMark + slot, kRowEdited);
        return;
    }
    SetText(kMinneCode + slot, CString());
    CString stored;
    m_pDoc->GetCtrlData(kMinneCodeData + static_cast<UINT>(slot), stored);
    if (code != stored) SetText(kMinneMark + slot, kRowEdited);
}

void CPagePatientComment::OnUpdateComment()
{
    GuardEditToItsLimit(GetDlgItem(kComment));
}

void CPagePatientComment::OnUpdateCode(UINT id)
{
    GuardEditToItsLimit(GetDlgItem(static_cast<int>(id)));
}

void CPagePatientComment::OnEditComment()
{
    unsigned int systemCode = 0;
    CurrentRecord(&systemCode);
    EditComment(kComment, systemCode);
}

void CPagePatientComment::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    const int row = pScrollBar ? pScrollBar->GetDlgCtrlID() - kIvrelScroll : -1;
    if ((nSBCode != SB_LINELEFT && nSBCode != SB_LINERIGHT) || row < 0 || row >= COMMENT_PAGE_IVREL) {
        CPropertyPage::OnHScroll(nSBCode, nPos, pScrollBar);
        return;
    }
    CString code = Text(kIvrelCode + row);
    code.Trim();
    const CString statement =
        (m_pIvrel ? IvrelMasterText(*m_pIvrel, kIvrelCodeList, code) : CString()).Left(kStatementCopy);
    int position = pScrollBar->GetScrollPos();
    if (nSBCode == SB_LINELEFT && position >= 1) --position;
    if (nSBCode == SB_LINERIGHT && position < statement.GetLength()) ++position;
    SetText(kIvrelText + row, statement.Mid(std::min(position, statement.GetLength())));
    pScrollBar->SetScrollPos(position, TRUE);
    if (CWnd* shown = GetDlgItem(kIvrelText + row)) shown->Invalidate();
}

// ---- read-only painting -------------------------------------------------------------------------

void CPagePatientComment::OnPaint()
{
    CPaintDC dc(this);
    if (IsReadOnly()) PaintReadOnly(dc);
    m_bPainted = 1;
}

void CPagePatientComment::PaintReadOnly(CDC& dc)
{
    CDCStateSaver state(dc);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CDCObjectSelector<CPen> penSelector(dc, &pen);
    CDCObjectSelector<CFont> fontSelector(dc, m_pFont);
    dc.SetTextAlign(TA_BOTTOM);
    dc.SetBkMode(TRANSPARENT);
    dc.SetBkColor(GetSysColor(COLOR_BTNFACE));
    auto rectOf = [this](int id) {
        CRect rect(0, 0, 0, 0);
        if (CWnd* control = GetDlgItem(id)) {
            control->GetWindowRect(&rect);
            ScreenToClient(&rect);
        }
        return rect;
    };
    auto draw = [&](int id, CRect rect) { m_pDoc->DrawTextEndEllipsis(&dc, Text(id), rect); };
    auto underline = [&](int left, int right, int y) {
        dc.MoveTo(left, y);
        dc.LineTo(right, y);
    };
    for (int i = 0; i < COMMENT_PAGE_MINNESOTA; ++i) {
        draw(kMinneMark + i, rectOf(kMinneMark + i));
        draw(kMinneCode + i, rectOf(kMinneCode + i));
        underline(rectOf(kMinneMark + i).left, rectOf(kMinneCode + i).right, rectOf(kMinneCode + i).bottom);
    }
    for (int i = 0; i < COMMENT_PAGE_IVREL; ++i) {
        for (int first : {kIvrelMark, kIvrelCode, kIvrelText}) draw(first + i, rectOf(first + i));
        underline(rectOf(kIvrelCode + i).left, rectOf(kIvrelText + i).right, rectOf(kIvrelText + i).bottom);
    }
    // The judgement and its label stand 20 pixels above where their controls were.
    CRect label = rectOf(3405), combo = rectOf(kJudgement);
    label.OffsetRect(0, -20);
    combo.OffsetRect(0, -20);
    combo.bottom = combo.top + label.Height();
    draw(3405, label);
    draw(kJudgement, combo);
    underline(label.left, combo.right, combo.bottom);
    FrameReadOnlyEdit(dc, *this, kComment);
}

// ---- change test and write-back ---------------------------------------------------------------

int CPagePatientComment::IsDataChange()
{
    const _INTERPRE_INFO_REST* current = CurrentRecord();
    if (!current) return 0;
    const _INTERPRE_INFO_REST record = *current;
    if (Text(kComment) != record.strComment) m_bCommentChange = 1;
    if (CodesDiffer(record)) {
        m_bCodeChange = 1;
        return 1;
    }
    return m_bCommentChange;
}

bool CPagePatientComment::CodesDiffer(const _INTERPRE_INFO_REST& record) const
{
    for (int i = 0; i < COMMENT_PAGE_MINNESOTA; ++i)
        if (Text(kMinneCode + i) != record.strMinneCode[i]) return true;
    for (int i = 0; i < COMMENT_PAGE_IVREL; ++i)
        if (Text(kIvrelText + i) != record.strIvrelContent[i + 1]) return true;
    // A stored judgement the list shows otherwise (a prefix, or none of its
    // entries) is no edit: only a new choice is.
    return Selection(kJudgement) != m_nLoadedJudgement;
}

void CPagePatientComment::SaveDataToItem()
{
    _INTERPRE_INFO_REST* current = CurrentRecord();
    if (!current) return;
    _INTERPRE_INFO_REST r = *current;
    r.strComment = Text(kComment);
    // Leaving a code box marks its row even when the code stays; codes that
    // read as stored are no edit and keep their marks and texts.
    if (!CodesDiffer(r)) {
        *current = r;
        return;
    }

    // The counts are the rows held: the forms add the empty row to type into.
    int n = 0;
    for (int i = 0; i < COMMENT_PAGE_MINNESOTA; ++i) {
        const CString code = Text(kMinneCode + i);
        if (code.IsEmpty()) continue;
        r.strMinneCode[n] = code;
        r.strMinneContent[n] = MinnesotaText(code);
        r.strMinneMask[n] = Text(kMinneMark + i);
        ++n;
    }
    for (int k = n; k < COMMENT_PAGE_MINNESOTA; ++k) {
        r.strMinneCode[k].Empty();
        r.strMinneContent[k].Empty();
        r.strMinneMask[k].Empty();
    }
    r.nMinneCount = n;

    n = 0;
    for (int i = 0; i < COMMENT_PAGE_IVREL; ++i) {
        const CString code = Text(kIvrelCode + i);
        if (code.IsEmpty()) continue;
        ++n;
        r.strIvrelCode[n] = code;
        r.strIvrelContent[n] = IvrelStatement(code);   // the master's text, never the scrolled one
        r.strIvrelMask[n] = Text(kIvrelMark + i);
    }
    for (int k = n + 1; k <= COMMENT_PAGE_IVREL; ++k) {
        r.strIvrelCode[k].Empty();
        r.strIvrelContent[k].Empty();
        r.strIvrelMask[k].Empty();
    }
    r.nIvrelCount = n;

    const int selection = static_cast<int>(SendDlgItemMessage(kJudgement, CB_GETCURSEL));
    if (selection != m_nLoadedJudgement) {
        CString text, code;
        if (selection != CB_ERR && m_pIvrel) JudgementAt(*m_pIvrel, selection, text, code);
        r.strIvrelJudge.Format(L"%s", text.GetString());
        r.strIvrelJudgeCode.Format(L"%s", code.GetString());
    }
    r.strComment = Text(kComment);
    *current = r;
}
