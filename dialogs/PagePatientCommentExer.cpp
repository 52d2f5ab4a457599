#include "dialogs/PagePatientCommentExer.h"

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "dialogs/PatientPageFields.h"
#include "dialogs/TextLengthGuard.h"
#include "documents/ExerDataItem.h"
#include "documents/ExerViewDoc.h"
#include "documents/RecordXmlText.h"
#include "platform/ui/framework/PaintDC.h"

namespace {

const int kJudgement = 4158, kProtocol = 4160, kStop = 4162, kMaxHr = 4164, kTargetHr = 4168, kComment = 4173;
const int kStopList = 11;   // the end conditions among the editable lists

const struct {
    int id;
    const wchar_t* text;
} kLabels[] = {
    {4105, L"ID"},        {4107, L"サブＩＤ"},  {4109, L"氏名"},       {4111, L"カナ氏名"}, {4113, L"性別"},
    {4115, L"年齢"},      {4120, L"生年月日"},  {4122, L"/"},          {4124, L"/"},        {4126, L"身長"},
    {4129, L"体重"},      {4132, L"血圧"},      {4134, L"/"},          {4137, L"投薬情報1"}, {4139, L"投薬情報2"},
    {4141, L"自覚症状"},  {4143, L"既往症"},    {4145, L"病棟"},       {4147, L"所属科"},   {4149, L"依頼科"},
    {4151, L"依頼医師"},  {4153, L"検査技師"},  {4155, L"部屋番号"},   {4157, L"総合判定"}, {4159, L"ﾌﾟﾛﾄｺﾙ"},
    {4161, L"終了条件"},  {4163, L"最大心拍数"}, {4165, L"bpm"},       {4167, L"目標心拍数"}, {4169, L"bpm"},
    {4172, L"コメント"},  {4171, L"定型文入力"},
};

// The shared fields: the right column's combos hold the medications and
// the request texts.
const _PATIENT_PAGE_IDS kFieldIds = {4106, 4108, 4110, 4112, 4114, 4116, 4117, 4118, 4119, 4121, 4123, 4125, 4127,
                                     4130, 4133, 4135, {4138, 4140}, {4142, 4144, 4146, 4148, 4150, 4152, 4154}, 4156};

// Labels and values of each display-only row as they are painted; row 10 is none.
const _PAINTED_ROW kPaintedRows[EXER_PAGE_ROWS] = {
    {{4105}, {4106}},
    {{4107}, {4108}},
    {{4109}, {4110}},
    {{4111}, {4112}},
    {{4113}, {4114}},
    {{4115, 4119}, {4116, 4117, 4118}},
    {{4120, 4122, 4124}, {4121, 4123, 4125}},
    {{4126, 4128}, {4127}},
    {{4129, 4131}, {4130}},
    {{4132, 4134, 4136}, {4133, 4135}},
    {{0}, {0}},
    {{4137}, {4138}},
    {{4139}, {4140}},
    {{4141}, {4142}},
    {{4143}, {4144}},
    {{4145}, {4146}},
    {{4147}, {4148}},
    {{4149}, {4150}},
    {{4151}, {4152}},
    {{4153}, {4154}},
    {{4155}, {4156}},
    {{4157}, {4158}},
    {{4159}, {4160}},
    {{4161}, {4162}},
    {{4163, 4165, 4166}, {4164}},
    {{4167, 4169, 4170}, {4168}},
};

_PATIENT_PAGE_TARGET TargetOf(_EXERDATAITEM& item)
{
    _INTERPRE_INFO_EXER& r = item.stInterpre;
    _PATIENT_PAGE_TARGET t;
    t.pPatient = &item.stPatient;
    t.pBirthday = &r.stBirthday;
    t.pMedication[0] = &r.strMedication1;
    t.pMedication[1] = &r.strMedication2;
    t.pMedicationSel[0] = &r.nMedication1Code;
    t.pMedicationSel[1] = &r.nMedication2Code;
    CString* texts[PATIENT_PAGE_REQUESTS] = {&r.strSympton,    &r.strDisease,   &r.strWard,     &r.strDepartment,
                                             &r.strReqSection, &r.strReqDoctor, &r.strTechnician};
    for (int i = 0; i < PATIENT_PAGE_REQUESTS; ++i) t.pRequest[i] = texts[i];
    t.pRoom = &r.strRoomNumber;
    return t;
}

// The typed heart rate's share of the maximum heart rate (mode 0) or of the
// heart-rate reserve above the resting rate (mode 1): a half added, then
// truncated toward zero (a rate below the resting one is not pulled down
// a further step), kept as the item keeps it, in 16 bits.
// A negative rate, a negative resting rate in mode 1, an unknown mode or a
// zero divisor give 0; the typed text itself is kept as it is.
short ShareOf(int hr, int mode, int restHr, int maxHr)
{
    if (hr < 0) return 0;
    double share = 0.0;
    if (mode == 0) {
        if (maxHr == 0) return 0;
        share = hr * 100.0 / maxHr + 0.5;
    } else if (mode == 1) {
        if (restHr < 0 || maxHr == restHr) return 0;
        share = (hr - restHr) * 100.0 / (maxHr - restHr) + 0.5;
    } else {
        return 0;
    }
    return static_cast<short>(static_cast<int>(share));
}

CString ShareText(const CString& hrText, int mode, int restHr, int maxHr)
{
    CString text;
    text.Format(L"%3d %% of MHR (%3d bpm)", static_cast<int>(ShareOf(_wtoi(hrText), mode, restHr, maxHr)), maxHr);
    return text;
}

}  // namespace

IMPLEMENT_DYNAMIC(CPagePatientCommentExer, CPagePatientBase)

BEGIN_MESSAGE_MAP(CPagePatientCommentExer, CPagePatientBase)
    ON_CBN_SELCHANGE(4117, OnSelchangeAgeUnit)
    ON_BN_CLICKED(4171, OnEditComment)
    ON_CONTROL_RANGE(CBN_EDITUPDATE, 4138, 4162, OnEditupdateCombo)
    ON_CONTROL_RANGE(EN_UPDATE, 4106, 4172, OnUpdateEdit)
    ON_EN_UPDATE(4173, OnUpdateComment)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CPagePatientCommentExer::CPagePatientCommentExer()
    : CPagePatientBase(IDD, DOC_TYPE_EXER), m_bInformationChange(0), m_bCommentChange(0), m_rows(EXER_PAGE_ROWS),
      m_nLoadedJudgement(CB_ERR), m_nLoadedStop(CB_ERR)
{
}

CPagePatientCommentExer::~CPagePatientCommentExer() = default;

_EXERDATAITEM* CPagePatientCommentExer::CurrentItem() const
{
    auto* doc = dynamic_cast<CExerViewDoc*>(m_pDoc);
    return doc ? doc->GetCurrentDataItem() : nullptr;
}

BOOL CPagePatientCommentExer::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_pIvrel = std::make_unique<CECGXMLParser>(IvrelMasterPath(), 0, CString());
    InitCtrlLayout();
    InitComboItems();
    InitCtrlText();
    OnSelchangeAgeUnit();
    return TRUE;
}

void CPagePatientCommentExer::InitCtrlLayout()
{
    const int left[2] = {ClientRectOf(4105).left, ClientRectOf(4106).right};
    const int right[2] = {ClientRectOf(4137).left, ClientRectOf(4138).right};
    const int bottomLeft = ClientRectOf(4159).left;
    auto extentOf = [&](int row, int& from, int& to) {
        from = row <= 9 ? left[0] : row <= 20 ? right[0] : bottomLeft;
        to = row <= 9 ? left[1] : right[1];
    };
    auto hide = [&](int id, int row) {
        int from = 0, to = 0;
        extentOf(row, from, to);
        m_rows.Hide(*this, id, row, from, to);
    };

    if (m_pDoc && m_pDoc->IsReadOnly()) {
        ShowControl(4171, false);
        for (int row = 0; row < EXER_PAGE_ROWS; ++row) {
            if (row == 10) continue;
            int from = 0, to = 0;
            extentOf(row, from, to);
            m_rows.HideRow(*this, row, kPaintedRows[row], from, to);
        }
        if (CWnd* comment = GetDlgItem(kComment)) {
            comment->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
            comment->SendMessage(EM_SETREADONLY, TRUE);
        }
        return;
    }
    _POSITION_CTRL* table = GetLayoutEntries(g_stDefCtrlPos, LayoutTable::PatInfo);
    if (table && table[1].bEnable == 0) hide(4106, 0);   // Patient_id_edt
    if (table && table[3].bEnable == 0) hide(4110, 2);   // Patient_name_edt
    const _EXERDATAITEM* item = CurrentItem();
    if (item && !item->stInterpre.bReqSection) {
        hide(4108, 1);
        hide(4150, 17);
    }
}

void CPagePatientCommentExer::InitComboItems()
{
    FillSexAndAgeUnits(*this, 4114, 4117);
    if (m_pIvrel) FillJudgementList(*this, kJudgement, *m_pIvrel);
}

void CPagePatientCommentExer::InitCtrlText()
{
    for (const auto& label : kLabels) LoadLabel(label.id, label.text);
    LoadPatientData();
}

void CPagePatientCommentExer::LoadRequestCombo(int id, int list, const CString& stored, int limit)
{
    CWnd* combo = GetDlgItem(id);
    if (!combo) return;
    AddListEntries(*combo, list);
    combo->SetWindowText(stored);
    NoteLoadedText(combo);
    combo->SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    combo->SendMessage(CB_LIMITTEXT, limit);
    SetControlFont(id);
}

void CPagePatientCommentExer::LoadPatientData()
{
    const _EXERDATAITEM* item = CurrentItem();
    const _INTERPRE_INFO_EXER info = item ? item->stInterpre : _INTERPRE_INFO_EXER();

    LoadEdit(4106, CtrlData(3001), 20);
    LoadEdit(4108, CtrlData(3005), 20);
    LoadEdit(4110, CtrlData(3003), 20);
    LoadEdit(4112, CtrlData(3007), 40);
    LoadListChoice(4114, CtrlData(3009), ListMatch::Exact);
    LoadEdit(4116, CtrlData(3011), 3);
    LoadListChoice(4117, CtrlData(3012), ListMatch::Exact);
    LoadEdit(4118, CtrlData(3013), 2);
    LoadLabel(4119, CtrlData(3014));
    LoadEdit(4121, info.stBirthday.strYear, 4);
    LoadEdit(4123, info.stBirthday.strMonth, 2);
    LoadEdit(4125, info.stBirthday.strDay, 2);
    LoadEdit(4127, CtrlData(3015), 5);
    LoadLabel(4128, CtrlData(3016));
    LoadEdit(4130, CtrlData(3017), 5);
    LoadLabel(4131, CtrlData(3018));
    LoadEdit(4133, CtrlData(3019), 3);
    LoadEdit(4135, CtrlData(3021), 3);
    LoadLabel(4136, CtrlData(3022));

    const struct {
        int id;
        int list;
        CString stored;
        int limit;
    } requests[] = {
        {4138, 0, CtrlData(4019), 22}, {4140, 1, CtrlData(4021), 22}, {4142, 2, CtrlData(4023), 22},
        {4144, 3, CtrlData(4025), 22}, {4146, 5, CtrlData(4029), 22}, {4148, 4, CtrlData(4027), 22},
        {4150, 6, info.strReqSection, 20}, {4152, 7, CtrlData(4031), 20}, {4154, 8, CtrlData(4033), 20},
    };
    for (const auto& r : requests) LoadRequestCombo(r.id, r.list, r.stored, r.limit);
    LoadEdit(4156, info.strRoomNumber, 10);

    LoadListChoice(kJudgement, CtrlData(4036), ListMatch::Exact);
    m_nLoadedJudgement = Selection(kJudgement);
    LoadEdit(kProtocol, CtrlData(4038), 20);
    if (CWnd* stops = GetDlgItem(kStop)) AddListEntries(*stops, kStopList);
    int stop = -1;
    if (m_pDoc) m_pDoc->GetCtrlData(4042, stop);
    SendDlgItemMessage(kStop, CB_SETCURSEL, static_cast<WPARAM>(stop));
    SetControlFont(kStop);
    m_nLoadedStop = Selection(kStop);
    LoadEdit(kMaxHr, CtrlData(4044), 3);
    LoadLabel(4166, CtrlData(4046));
    LoadEdit(kTargetHr, CtrlData(4048), 3);
    LoadLabel(4170, CtrlData(4050));
    // The comment's limit is its three lines of 60 columns (the guard below);
    // the edit lets the breaks between them be typed too.
    LoadEdit(kComment, CtrlData(4017), CExerViewDoc::kCommentTypedChars);
}

void CPagePatientCommentExer::OnSelchangeAgeUnit()
{
    const int selection = Selection(4117);
    ShowSubAge(selection, 4118, 4119, m_rows.IsDisplayOnly(5));
    // The sub-age unit follows the age unit also on a display-only row,
    // whose painting shows it (the controls themselves stay hidden there).
    if (selection < 4) SetText(4119, SubAgeUnitAfter(selection));
    SendDlgItemMessage(4117, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void CPagePatientCommentExer::OnEditComment()
{
    const _EXERDATAITEM* item = CurrentItem();
    // What the editor gives is the person's, as a paste is: cut to what the
    // three lines take, so that what the edit shows is what is saved.
    if (EditComment(kComment, item ? item->uSystemCode : 0))
        SetText(kComment, CExerViewDoc::FitComment(Text(kComment)));
}

void CPagePatientCommentExer::OnUpdateComment()
{
    // A change the person makes is fitted to what the save's three lines
    // take, so that what the edit shows is what is saved; a comment loaded
    // longer stays whole.
    CWnd* edit = GetDlgItem(kComment);
    if (edit && GuardTextLength(*edit, &CExerViewDoc::FitComment)) edit->SendMessage(EM_SCROLLCARET);
}

void CPagePatientCommentExer::OnPaint()
{
    CPaintDC dc(this);
    if (!m_pDoc) return;
    m_rows.Paint(dc, *this, *m_pDoc, m_pFont,
                 [](int row) -> const _PAINTED_ROW* { return row == 10 ? nullptr : &kPaintedRows[row]; });
    if (m_pDoc->IsReadOnly()) FrameReadOnlyEdit(dc, *this, kComment);
}

int CPagePatientCommentExer::CheckPatientData()
{
    if (!m_pDoc) return 255;
    if (CheckAges(Text(4116), Text(4118), false)) return 255;
    if (CheckBirthDate(Text(4121), Text(4123), Text(4125))) return 255;
    return CheckBodySize(Text(4127), Text(4130));
}

int CPagePatientCommentExer::IsDataChange()
{
    _EXERDATAITEM* item = CurrentItem();
    if (!item) return 0;
    const _INTERPRE_INFO_EXER& info = item->stInterpre;
    m_bCommentChange = CommentEdited(info.strComment) ? 1 : 0;
    m_bInformationChange = 1;
    if (SharedFieldsDiffer(*this, kFieldIds, TargetOf(*item), m_pDoc)) return 1;
    if (Text(kProtocol) != info.strLoad || Text(kMaxHr) != info.strMaxHr || Text(kTargetHr) != info.strTargetHr)
        return 1;
    // Lists that cannot show their stored value (an index past the list, a
    // text none of its entries reads) are no edit: only a new choice is.
    if (Selection(kStop) != m_nLoadedStop || Selection(kJudgement) != m_nLoadedJudgement) return 1;
    m_bInformationChange = 0;
    return m_bCommentChange;
}

void CPagePatientCommentExer::SaveDataToItem()
{
    _EXERDATAITEM* item = CurrentItem();
    if (!item) return;
    // The document's save then takes the item as it is, not the form's store.
    item->stInterpre.bCopied = 1;
    WritePatientFields(*this, kFieldIds, TargetOf(*item), m_pDoc);
    _INTERPRE_INFO_EXER& info = item->stInterpre;
    info.strLoad = Text(kProtocol);
    if (Selection(kStop) != m_nLoadedStop) info.nStopCondition = Selection(kStop);
    info.strMaxHr = Text(kMaxHr);
    info.strTargetHr = Text(kTargetHr);

    const int judgement = Selection(kJudgement);
    if (judgement != m_nLoadedJudgement) {
        CString text, code;
        if (m_pIvrel) JudgementAt(*m_pIvrel, judgement, text, code);
        // The document keeps the judgement as its text; it finds the code
        // again in the master when it saves.
        info.strIvrelText.Format(L"%s", text.GetString());
        info.strIvrelValue.Format(L"%s", text.GetString());
    }
    info.strMaxPercent = ShareText(info.strMaxHr, info.nHrCalculate, item->sRestHr, info.sHr100Percent);
    info.strTargetPercent = ShareText(info.strTargetHr, info.nHrCalculate, item->sRestHr, info.sHr100Percent);
    info.strComment = CExerViewDoc::WrapComment(CExerViewDoc::FitComment(Text(kComment)));
}

bool CPagePatientCommentExer::CommentEdited(const CString& stored) const
{
    // The edit shows the stored three lines as they are; only a text that
    // would be saved other than they read is an edit.
    return CExerViewDoc::WrapComment(CExerViewDoc::FitComment(Text(kComment))) != CExerViewDoc::WrapComment(stored);
}
