#include "dialogs/PagePatientCommentGeneral.h"

#include <initializer_list>

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "dialogs/PatientPageFields.h"
#include "dialogs/TextLengthGuard.h"
#include "documents/ExtraDataItem.h"
#include "documents/ExtraViewDoc.h"
#include "documents/FinalDataItem.h"
#include "documents/FinalViewDoc.h"
#include "documents/MFERDataItem.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRDataItem.h"
#include "documents/RRViewDoc.h"
#include "documents/RhythmDataItem.h"
#include "documents/RhythmViewDoc.h"
#include "documents/TripCounts.h"
#include "platform/base/Kernel.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Pen.h"
#include "platform/ui/framework/PaintDC.h"

struct CPagePatientCommentGeneral::ItemFields {
    _PATIENT_PAGE_TARGET shared;     // the fields the patient information page shows too
    CString* pComment = nullptr;
    CString* pJudgeText = nullptr;   // master step only
    CString* pJudgeCode = nullptr;
    CString* pTrip[2] = {};          // master step only
    unsigned int uSystemCode = 0;
    bool bRequestSection = false;
    const _BIRTHDAY* pShownBirthday = nullptr;   // where the load takes the birthday; null: the store
};

namespace {


const struct {
    int id;
    const wchar_t* text;
} kLabels[] = {
    {3700, L"ID"},       {3707, L"サブＩＤ"}, {3708, L"氏名"},     {3709, L"カナ氏名"}, {3710, L"性別"},
    {3712, L"年齢"},     {3717, L"生年月日"}, {3723, L"身長"},     {3726, L"体重"},     {3729, L"血圧"},
    {3738, L"投薬情報1"}, {3748, L"投薬情報2"}, {3749, L"自覚症状"}, {3750, L"既往症"},   {3751, L"病棟"},
    {3752, L"所属科"},   {3753, L"依頼科"},   {3754, L"依頼医師"}, {3755, L"検査技師"}, {3756, L"部屋番号"},
    {3757, L"総合判定"}, {3759, L"コメント"}, {3760, L"定型文入力"},
};

// The right-column combos 3739-3747: list, store ids for master step and
// for the other kinds (0: the master-step item's own text), limit.
const struct {
    int id;
    int list;
    UINT masterData;
    UINT otherData;
    int limit;
} kCombos[] = {
    {3739, 0, 3601, 3637, 22}, {3740, 1, 3603, 3639, 22}, {3741, 2, 3605, 3641, 22},
    {3742, 3, 3607, 3643, 22}, {3743, 5, 3611, 3647, 22}, {3744, 4, 3609, 3645, 22},
    {3745, 6, 0, 3651, 20},    {3746, 7, 3613, 3653, 20}, {3747, 8, 3615, 3655, 20},
};

// The shared fields: the right-column combos 3739-3747 hold the
// medications and the request texts.
const _PATIENT_PAGE_IDS kFieldIds = {3701, 3702, 3703, 3704, 3711, 3713, 3714, 3715, 3716, 3718, 3720, 3722, 3724,
                                     3727, 3730, 3732, {3739, 3740}, {3741, 3742, 3743, 3744, 3745, 3746, 3747}, 3705};

// Labels and values of each display-only row as they are painted.
const _PAINTED_ROW kPaintedRows[22] = {
    {{3700}, {3701}},
    {{3707}, {3702}},
    {{3708}, {3703}},
    {{3709}, {3704}},
    {{3710}, {3711}},
    {{3712, 3716}, {3713, 3714, 3715}},
    {{3717, 3719, 3721}, {3718, 3720, 3722}},
    {{3723, 3725}, {3724}},
    {{3726, 3728}, {3727}},
    {{3729, 3731, 3733}, {3730, 3732}},
    {{3734, 3736}, {3735, 3737}},
    {{3738}, {3739}},
    {{3748}, {3740}},
    {{3749}, {3741}},
    {{3750}, {3742}},
    {{3751}, {3743}},
    {{3752}, {3744}},
    {{3753}, {3745}},
    {{3754}, {3746}},
    {{3755}, {3747}},
    {{3756}, {3705}},
    {{3757}, {3758}},
};

CString IvrelPath()
{
    CString path;
    path.Format(L"%s\\%s", g_pWorkDir ? g_pWorkDir : L"", L"Ivrel12.xml");
    return path;
}

// The shared fields of an interpretation record, general or resting: both
// name them alike.
template <class Interpre> void SharedFields(_PATIENT_INFO& patient, Interpre& r, _PATIENT_PAGE_TARGET& t)
{
    t.pPatient = &patient;
    t.pBirthday = &r.stBirthday;
    t.pMedication[0] = &r.strMedication1;
    t.pMedication[1] = &r.strMedication2;
    t.pMedicationSel[0] = &r.nMedication1Sel;
    t.pMedicationSel[1] = &r.nMedication2Sel;
    CString* texts[PATIENT_PAGE_REQUESTS] = {&r.strSympton,    &r.strDisease,   &r.strWard,     &r.strDepartment,
                                             &r.strReqSection, &r.strReqDoctor, &r.strTechnician};
    for (int i = 0; i < PATIENT_PAGE_REQUESTS; ++i) t.pRequest[i] = texts[i];
    t.pRoom = &r.strRoomNumber;
}

template <class Item, class Interpre>
void GeneralFields(Item& item, Interpre& r, CPagePatientCommentGeneral::ItemFields& f)
{
    SharedFields(item.stPatient, r, f.shared);
    f.pComment = &r.strComment;
    f.uSystemCode = item.uSystemCode;
}

}  // namespace

IMPLEMENT_DYNAMIC(CPagePatientCommentGeneral, CPagePatientBase)

BEGIN_MESSAGE_MAP(CPagePatientCommentGeneral, CPagePatientBase)
    ON_CBN_SELCHANGE(3714, OnSelchangeAgeUnit)
    ON_BN_CLICKED(3760, OnEditComment)
    ON_CONTROL_RANGE(CBN_EDITUPDATE, 3739, 3747, OnEditupdateCombo)
    ON_CONTROL_RANGE(EN_UPDATE, 3701, 3706, OnUpdateEdit)
    // Height and weight count their limit in columns too: a stored value of
    // wide characters takes no letter past it.
    ON_CONTROL_RANGE(EN_UPDATE, 3724, 3724, OnUpdateEdit)
    ON_CONTROL_RANGE(EN_UPDATE, 3727, 3727, OnUpdateEdit)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CPagePatientCommentGeneral::CPagePatientCommentGeneral()
    : CPagePatientBase(IDD, 1), m_bInformationChange(0), m_bCommentChange(0), m_bJudgementChange(0),
      m_rows(GENERAL_PAGE_ROWS), m_nLoadedJudgement(CB_ERR)
{
}

CPagePatientCommentGeneral::~CPagePatientCommentGeneral() = default;

const wchar_t* CPagePatientCommentGeneral::TripLabel()
{
    return L"トリップ数";
}

bool CPagePatientCommentGeneral::CurrentItem(ItemFields& f) const
{
    switch (m_nType) {
    case DOC_TYPE_FINAL: {
        auto* doc = dynamic_cast<CFinalViewDoc*>(m_pDoc);
        _FINALDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
        if (!item) return false;
        GeneralFields(*item, item->stInterpre, f);
        f.pJudgeText = &item->stInterpre.strFree[FINAL_FREE_IVREL_TEXT];
        f.pJudgeCode = &item->stInterpre.strFree[FINAL_FREE_IVREL_CODE];
        f.pTrip[0] = &item->stWaveInfo.strTripCount;
        f.pTrip[1] = &item->stWaveInfo.strTripTotal;
        f.bRequestSection = item->bRequestSection != 0;
        f.pShownBirthday = f.shared.pBirthday;
        return true;
    }
    case DOC_TYPE_RHYTHM: {
        auto* doc = dynamic_cast<CRhythmViewDoc*>(m_pDoc);
        _RHYTHMDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
        if (!item) return false;
        GeneralFields(*item, item->stInterpre, f);
        f.bRequestSection = item->bReqSection != 0;
        return true;
    }
    case DOC_TYPE_RR: {
        auto* doc = dynamic_cast<CRRViewDoc*>(m_pDoc);
        _RRDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
        if (!item) return false;
        GeneralFields(*item, item->stGeneral, f);
        f.bRequestSection = item->bReqSection != 0;
        return true;
    }
    case DOC_TYPE_EXTRA: {
        auto* doc = dynamic_cast<CExtraViewDoc*>(m_pDoc);
        _EXTRADATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
        if (!item) return false;
        GeneralFields(*item, item->stInterpre, f);
        f.bRequestSection = item->nReqSectionFound != 0;
        f.pShownBirthday = f.shared.pBirthday;
        return true;
    }
    case DOC_TYPE_MFER: {
        auto* doc = dynamic_cast<CMFERViewDoc*>(m_pDoc);
        _MFERDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
        if (!item) return false;
        _INTERPRE_INFO_REST& r = item->stInterpre;
        GeneralFields(*item, r, f);
        f.bRequestSection = r.bReqSection != 0;
        const unsigned code = item->uSystemCode;
        if (code == 0x7003 || code == 0x7004 || code == 0x7006 || code == 0x7007 || (code >= 0x7011 && code <= 0x7016))
            f.pShownBirthday = f.shared.pBirthday;
        return true;
    }
    default: return false;
    }
}

bool CPagePatientCommentGeneral::TripRowsShown() const
{
    ItemFields f;
    return IsMasterStep() && CurrentItem(f) && (f.uSystemCode & 0xFF) != 244;
}

BOOL CPagePatientCommentGeneral::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    InitCtrlLayout();
    InitComboItems();
    InitCtrlText();
    LoadPatientData();
    OnSelchangeAgeUnit();
    return TRUE;
}

void CPagePatientCommentGeneral::InitCtrlLayout()
{
    const int left[2] = {ClientRectOf(3700).left, ClientRectOf(3701).right};
    const int right[2] = {ClientRectOf(3738).left, ClientRectOf(3739).right};
    const int judgeLeft = ClientRectOf(3757).left;

    if (m_pDoc && m_pDoc->IsReadOnly()) {
        ShowControl(3760, false);
        for (int row = 0; row <= 21; ++row) {
            const int from = row <= 10 ? left[0] : row <= 20 ? right[0] : judgeLeft;
            const int to = row <= 10 ? left[1] : right[1];
            m_rows.HideRow(*this, row, kPaintedRows[row], from, to);
        }
        if (CWnd* comment = GetDlgItem(3706)) {
            comment->ModifyStyleEx(WS_EX_CLIENTEDGE, 0);
            comment->SendMessage(EM_SETREADONLY, TRUE);
        }
        return;
    }
    _POSITION_CTRL* table = GetLayoutEntries(g_stDefCtrlPos, LayoutTable::PatInfo);
    if (table && table[1].bEnable == 0) m_rows.Hide(*this, 3701, 0, left[0], left[1]);   // Patient_id_edt
    if (table && table[3].bEnable == 0) m_rows.Hide(*this, 3703, 2, left[0], left[1]);   // Patient_name_edt
    ItemFields f;
    const bool known = m_nType >= DOC_TYPE_FINAL && m_nType <= DOC_TYPE_EXTRA && m_nType != DOC_TYPE_EXER;
    if ((known || m_nType == DOC_TYPE_MFER) && !CurrentItem(f)) return;
    if (!f.bRequestSection) {
        m_rows.Hide(*this, 3702, 1, left[0], left[1]);
        m_rows.Hide(*this, 3745, 17, right[0], right[1]);
    }
}

void CPagePatientCommentGeneral::InitComboItems()
{
    FillSexAndAgeUnits(*this, 3711, 3714);
}

void CPagePatientCommentGeneral::InitCtrlText()
{
    for (const auto& label : kLabels) LoadLabel(label.id, label.text);
    for (int id : {3719, 3721, 3731}) SetControlFont(id);
}

void CPagePatientCommentGeneral::LoadJudgements()
{
    CECGXMLParser ivrel(IvrelPath(), m_pDoc ? m_pDoc->Is8000File() : 0, CString());
    FillJudgementList(*this, 3758, ivrel);
}

void CPagePatientCommentGeneral::LoadPatientData()
{
    const bool master = IsMasterStep();
    const bool other = m_nType == DOC_TYPE_RHYTHM || m_nType == DOC_TYPE_RR || m_nType == DOC_TYPE_EXTRA ||
                       m_nType == DOC_TYPE_MFER;
    ItemFields f;
    const bool hasItem = CurrentItem(f);


    LoadEdit(3701, CtrlData(3001), m_pDoc && m_pDoc->Is8000File() ? 12 : 20);
    LoadEdit(3702, CtrlData(3005), 20);
    LoadEdit(3703, CtrlData(3003), 20);
    LoadEdit(3704, CtrlData(3007), 40);
    LoadListChoice(3711, CtrlData(3009), ListMatch::Prefix);
    LoadEdit(3713, CtrlData(3011), 3);
    LoadListChoice(3714, CtrlData(3012), ListMatch::Prefix);
    LoadEdit(3715, CtrlData(3013), 2);
    LoadLabel(3716, CtrlData(3014));

    _BIRTHDAY birthday;
    if (hasItem && f.pShownBirthday) {
        birthday = *f.pShownBirthday;
    } else if (m_nType == DOC_TYPE_RHYTHM || m_nType == DOC_TYPE_RR ||
               (m_nType == DOC_TYPE_MFER && hasItem &&
                (f.uSystemCode == 0x8001 || f.uSystemCode == 0x8003 || f.uSystemCode == 0x800C ||
                 f.uSystemCode == 0x800F))) {
        birthday.strYear = CtrlData(3631);
        birthday.strMonth = CtrlData(3633);
        birthday.strDay = CtrlData(3635);
    }
    LoadEdit(3718, birthday.strYear, 4);
    LoadEdit(3720, birthday.strMonth, 2);
    LoadEdit(3722, birthday.strDay, 2);

    LoadEdit(3724, CtrlData(3015), 5);
    LoadLabel(3725, CtrlData(3016));
    LoadEdit(3727, CtrlData(3017), 5);
    LoadLabel(3728, CtrlData(3018));
    const CString unit = CtrlData(3022);
    const int pressureLimit = unit.CompareNoCase(L"kPa") == 0 ? 2 : 3;
    LoadEdit(3730, CtrlData(3019), pressureLimit);
    LoadEdit(3732, CtrlData(3021), pressureLimit);
    LoadLabel(3733, unit);

    for (int id = 3734; id <= 3737; ++id) ShowControl(id, false);
    SendDlgItemMessage(3735, EM_LIMITTEXT, 3);
    SendDlgItemMessage(3737, EM_LIMITTEXT, 3);
    if (TripRowsShown()) {
        LoadLabel(3734, TripLabel());
        SetText(3735, TripCountShown(*f.pTrip[0]));
        SetText(3737, TripCountShown(*f.pTrip[1]));
        for (int id = 3734; id <= 3737; ++id) {
            ShowControl(id, !((id == 3735 || id == 3737) && m_rows.IsDisplayOnly(10)));
            SetControlFont(id);
        }
    }

    for (const auto& combo : kCombos) {
        CWnd* control = GetDlgItem(combo.id);
        if (!control) continue;
        AddListEntries(*control, combo.list);
        control->SendMessage(CB_LIMITTEXT, combo.limit);
        CString stored;
        if (master) {
            stored = combo.masterData ? CtrlData(combo.masterData) : (hasItem ? *f.shared.pRequest[4] : CString());
        } else if (other) {
            stored = CtrlData(combo.otherData);
        }
        control->SetWindowText(stored);
        NoteLoadedText(control);
        control->SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(-1, 0));
        SetControlFont(combo.id);
    }
    LoadEdit(3705, master ? (hasItem ? *f.shared.pRoom : CString()) : other ? CtrlData(3649) : CString(), 10);

    LoadJudgements();
    if (master) {
        LoadListChoice(3758, CtrlData(3618), ListMatch::Prefix);
        m_nLoadedJudgement = static_cast<int>(SendDlgItemMessage(3758, CB_GETCURSEL));
    } else {
        ShowControl(3757, false);
        ShowControl(3758, false);
    }
    SetControlFont(3758);
    LoadEdit(3706, CtrlData(4017), 255);
}

void CPagePatientCommentGeneral::OnSelchangeAgeUnit()
{
    ShowSubAge(Selection(3714), 3715, 3716, m_rows.IsDisplayOnly(5));
    SendDlgItemMessage(3714, CB_SETEDITSEL, 0, MAKELPARAM(-1, 0));
}

void CPagePatientCommentGeneral::OnEditComment()
{
    ItemFields f;
    EditComment(3706, CurrentItem(f) ? f.uSystemCode : 0);
}

void CPagePatientCommentGeneral::OnPaint()
{
    CPaintDC dc(this);
    if (!m_pDoc) return;
    const bool trips = TripRowsShown();
    m_rows.Paint(dc, *this, *m_pDoc, m_pFont, [&](int row) -> const _PAINTED_ROW* {
        if (row > 21 || (row == 10 && !trips) || (row == 21 && !IsMasterStep())) return nullptr;
        return &kPaintedRows[row];
    });
    if (m_pDoc->IsReadOnly()) FrameReadOnlyEdit(dc, *this, 3706);
}

int CPagePatientCommentGeneral::IsDataChange()
{
    ItemFields f;
    const bool hasItem = CurrentItem(f);
    const CString empty;
    auto stored = [&](const CString* field) -> const CString& { return hasItem && field ? *field : empty; };

    m_bCommentChange = Text(3706) != stored(f.pComment) ? 1 : 0;
    // A stored judgement the list shows otherwise (a prefix, or none of its
    // entries) is no edit: only a new choice is.
    m_bJudgementChange = IsMasterStep() && SendDlgItemMessage(3758, CB_GETCURSEL) != m_nLoadedJudgement ? 1 : 0;
    m_bInformationChange = 1;
    if (SharedFieldsDiffer(*this, kFieldIds, f.shared, m_pDoc)) return 1;
    if (IsMasterStep() && hasItem) {
        for (int t = 0; t < 2; ++t) {
            if (Text(t == 0 ? 3735 : 3737) != TripCountShown(*f.pTrip[t])) return 1;
        }
    }
    m_bInformationChange = 0;
    return m_bCommentChange || m_bJudgementChange ? 1 : 0;
}

int CPagePatientCommentGeneral::CheckPatientData()
{
    if (!m_pDoc) return 255;
    const bool b8000 = m_pDoc->Is8000File() != 0;
    if (CheckAges(Text(3713), Text(3715), b8000)) return 255;
    if (CheckBirthDate(Text(3718), Text(3720), Text(3722))) return 255;
    ItemFields f;
    const bool countedTrips = IsMasterStep() && CurrentItem(f) && (f.uSystemCode & 0xFF) == 243;
    // Only a typed count is checked; one stored past the range stays as stored.
    auto typedTrip = [&](int id, int t) {
        const CString text = Text(id);
        return text == TripCountShown(*f.pTrip[t]) ? CString() : text;
    };
    if (countedTrips && CheckTripCounts(typedTrip(3735, 0), typedTrip(3737, 1), TripLabel(), b8000)) return 255;
    return CheckBodySize(Text(3724), Text(3727));
}

void CPagePatientCommentGeneral::SaveDataToItem()
{
    ItemFields f;
    if (!CurrentItem(f)) return;
    WritePatientFields(*this, kFieldIds, f.shared, m_pDoc);
    *f.pComment = Text(3706);
    if (!IsMasterStep()) return;

    const bool b8000 = m_pDoc && m_pDoc->Is8000File();
    for (int t = 0; t < 2; ++t)
        *f.pTrip[t] = TripCountFromBox(Text(t == 0 ? 3735 : 3737), *f.pTrip[t], b8000,
                                       t == 0 ? kTripCountLimit8000 : kTripTotalLimit8000);
    const LRESULT selection = SendDlgItemMessage(3758, CB_GETCURSEL);
    if (selection == m_nLoadedJudgement) return;
    CString text, code;
    if (selection != CB_ERR) {
        CECGXMLParser ivrel(IvrelPath(), m_pDoc ? m_pDoc->Is8000File() : 0, CString());
        JudgementAt(ivrel, static_cast<int>(selection), text, code);
    }
    f.pJudgeText->Format(L"%s", text.GetString());
    f.pJudgeCode->Format(L"%s", code.GetString());
}
