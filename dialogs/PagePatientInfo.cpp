#include "dialogs/PagePatientInfo.h"

#include <initializer_list>

#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "dialogs/PatientPageFields.h"
#include "dialogs/TextLengthGuard.h"
#include "documents/MFERDataItem.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestDataItem.h"
#include "documents/RestViewDoc.h"
#include "documents/TripCounts.h"
#include "platform/base/Kernel.h"
#include "platform/ui/framework/PaintDC.h"

namespace {

// The label ids with their texts; the trip label is set apart.
const struct {
    int id;
    const wchar_t* text;
} kLabels[] = {
    {3202, L"ID"},       {3203, L"サブＩＤ"}, {3204, L"氏名"},     {3205, L"カナ氏名"},  {3211, L"性別"},
    {3213, L"年齢"},     {3218, L"生年月日"}, {3220, L"/"},        {3222, L"/"},         {3224, L"身長"},
    {3227, L"体重"},     {3230, L"血圧"},     {3232, L"/"},        {3237, L"/"},         {3239, L"投薬情報1"},
    {3241, L"投薬情報2"}, {3243, L"自覚症状"}, {3244, L"既往症"},   {3245, L"病棟"},      {3246, L"所属科"},
    {3247, L"依頼科"},   {3248, L"依頼医師"}, {3249, L"検査技師"}, {3259, L"部屋番号"},
};

// The request combos 3252-3258 in id order, with their list and control data.
const struct {
    int id;
    int list;
    UINT ctrlData;
    int limit;
} kRequestCombos[] = {
    {3252, 2, 3035, 22}, {3253, 3, 3037, 22}, {3254, 5, 3041, 22}, {3255, 4, 3039, 22},
    {3256, 6, 3045, 20}, {3257, 7, 3047, 20}, {3258, 8, 3049, 20},
};

// Labels and values of each display-only row as they are painted.
const _PAINTED_ROW kPaintedRows[21] = {
    {{3202}, {3206}},
    {{3203}, {3207}},
    {{3204}, {3208}},
    {{3205}, {3209}},
    {{3211}, {3212}},
    {{3213, 3217}, {3214, 3215, 3216}},
    {{3218, 3220, 3222}, {3219, 3221, 3223}},
    {{3224, 3226}, {3225}},
    {{3227, 3229}, {3228}},
    {{3230, 3232, 3234}, {3231, 3233}},
    {{3235, 3237}, {3236, 3238}},
    {{3239}, {3250}},
    {{3241}, {3251}},
    {{3243}, {3252}},
    {{3244}, {3253}},
    {{3245}, {3254}},
    {{3246}, {3255}},
    {{3247}, {3256}},
    {{3248}, {3257}},
    {{3249}, {3258}},
    {{3259}, {3210}},
};

// The shared fields; the medications of a model-8000 resting record are
// the fixed lists 3240 and 3242.
_PATIENT_PAGE_IDS FieldIds(bool fixedMedications)
{
    _PATIENT_PAGE_IDS ids = {3206, 3207, 3208, 3209, 3212, 3214, 3215, 3216, 3217, 3219, 3221, 3223, 3225, 3228,
                             3231, 3233, {3250, 3251}, {3252, 3253, 3254, 3255, 3256, 3257, 3258}, 3210};
    if (fixedMedications) {
        ids.nMedication[0] = 3240;
        ids.nMedication[1] = 3242;
    }
    return ids;
}

}  // namespace

IMPLEMENT_DYNAMIC(CPagePatientInfo, CPagePatientBase)

BEGIN_MESSAGE_MAP(CPagePatientInfo, CPagePatientBase)
    ON_CBN_SELCHANGE(3215, OnSelchangeAgeUnit)
    ON_CONTROL_RANGE(CBN_EDITUPDATE, 3250, 3258, OnEditupdateCombo)
    ON_CONTROL_RANGE(EN_UPDATE, 3206, 3210, OnUpdateEdit)
    // Height and weight count their limit in columns too: a stored value of
    // wide characters takes no letter past it.
    ON_CONTROL_RANGE(EN_UPDATE, 3225, 3225, OnUpdateEdit)
    ON_CONTROL_RANGE(EN_UPDATE, 3228, 3228, OnUpdateEdit)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CPagePatientInfo::CPagePatientInfo()
    : CPagePatientBase(IDD, DOC_TYPE_REST), m_rows(PATIENT_PAGE_ROWS)
{
}

CPagePatientInfo::~CPagePatientInfo() = default;

const wchar_t* CPagePatientInfo::TripLabel()
{
    return L"トリップ数";
}

CPagePatientInfo::ItemView CPagePatientInfo::CurrentItem() const
{
    ItemView view;
    if (m_nType == DOC_TYPE_REST) {
        auto* doc = dynamic_cast<CRestViewDoc*>(m_pDoc);
        _RESTDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
        if (!item) return view;
        view.pPatient = &item->stPatient;
        view.pInterpre = &item->stInterpre;
        view.pEdited = &item->bSkipRefresh;
        view.pTrip1 = &item->strTrip;
        view.pTrip2 = &item->strTotalTrip;
        view.uSystemCode = item->uSystemCode;
        view.bRest = true;
        view.b8000 = item->b8000File != 0;
    } else if (m_nType == DOC_TYPE_MFER) {
        auto* doc = dynamic_cast<CMFERViewDoc*>(m_pDoc);
        _MFERDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
        if (!item) return view;
        view.pPatient = &item->stPatient;
        view.pInterpre = &item->stInterpre;
        view.uSystemCode = item->uSystemCode;
    }
    return view;
}

bool CPagePatientInfo::HasTripRows() const
{
    const ItemView item = CurrentItem();
    const unsigned int low = item.uSystemCode & 0xFF;
    return item.bRest && (low == 254 || low == 226);
}

bool CPagePatientInfo::Is8000() const
{
    return m_pDoc && m_pDoc->Is8000File();
}

BOOL CPagePatientInfo::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    InitCtrlLayout();
    InitComboItems();
    LoadPatientData();
    OnSelchangeAgeUnit();
    return TRUE;
}

_PATIENT_PAGE_TARGET CPagePatientInfo::SharedTarget(const ItemView& item)
{
    _PATIENT_PAGE_TARGET target;
    if (!item.pPatient) return target;
    _INTERPRE_INFO_REST& r = *item.pInterpre;
    target.pPatient = item.pPatient;
    target.pBirthday = &r.stBirthday;
    target.pMedication[0] = &r.strMedication1;
    target.pMedication[1] = &r.strMedication2;
    target.pMedicationSel[0] = &r.nMedication1Sel;
    target.pMedicationSel[1] = &r.nMedication2Sel;
    CString* requests[PATIENT_PAGE_REQUESTS] = {&r.strSympton,    &r.strDisease,   &r.strWard,      &r.strDepartment,
                                                &r.strReqSection, &r.strReqDoctor, &r.strTechnician};
    for (int i = 0; i < PATIENT_PAGE_REQUESTS; ++i) target.pRequest[i] = requests[i];
    target.pRoom = &r.strRoomNumber;
    return target;
}

void CPagePatientInfo::FillFixedMedication(int comboId, int list, UINT ctrlData)
{
    CWnd* combo = GetDlgItem(comboId);
    if (!combo) return;
    combo->SendMessage(CB_RESETCONTENT);
    AddListEntries(*combo, list);
    const CString stored = CtrlData(ctrlData);
    // A stored medication the list does not hold is shown all the same:
    // a list without it would show nothing, and OK would count that as an edit.
    if (!stored.IsEmpty() &&
        combo->SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(stored.GetString())) == CB_ERR)
        combo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(stored.GetString()));
    combo->SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(stored.GetString()));
    SetControlFont(comboId);
}

void CPagePatientInfo::InitCtrlLayout()
{
    const int left[2] = {ClientRectOf(3202).left, ClientRectOf(3206).right};
    const int right[2] = {ClientRectOf(3239).left, ClientRectOf(3250).right};
    auto hideRow = [&](int row, std::initializer_list<int> ids) {
        const int* extent = row <= 10 ? left : right;
        for (int id : ids) m_rows.Hide(*this, id, row, extent[0], extent[1]);
    };

    if (m_pDoc && m_pDoc->IsReadOnly() == 1) {
        if (Is8000()) {
            FillFixedMedication(3240, 0, 3031);
            FillFixedMedication(3242, 1, 3033);
        }
        ShowControl(3240, false);
        ShowControl(3242, false);
        for (int row = 0; row <= 20; ++row) {
            const int* extent = row <= 10 ? left : right;
            m_rows.HideRow(*this, row, kPaintedRows[row], extent[0], extent[1]);
        }
        return;
    }

    _POSITION_CTRL* table = GetLayoutEntries(g_stDefCtrlPos, LayoutTable::PatInfo);
    if (table && table[1].bEnable == 0) hideRow(0, {3206});   // Patient_id_edt
    if (table && table[3].bEnable == 0) hideRow(2, {3208});   // Patient_name_edt

    const ItemView item = CurrentItem();
    if (!item.pPatient) return;
    const bool requestSection = item.pInterpre->bReqSection && !(item.bRest && item.b8000);
    if (!requestSection) {
        hideRow(1, {3207});
        hideRow(17, {3256});
    }
    if (!Is8000()) {
        ShowControl(3240, false);
        ShowControl(3242, false);
        return;
    }
    hideRow(6, {3219, 3221, 3223});
    hideRow(3, {3209});
    hideRow(13, {3252});
    hideRow(14, {3253});
    hideRow(15, {3254});
    hideRow(16, {3255});
    hideRow(18, {3257});
    hideRow(19, {3258});
    hideRow(20, {3210});
    FillFixedMedication(3240, 0, 3031);
    FillFixedMedication(3242, 1, 3033);
    ShowControl(3250, false);
    ShowControl(3251, false);
    ShowControl(3216, false);
}

void CPagePatientInfo::InitComboItems()
{
    FillSexAndAgeUnits(*this, 3212, 3215);
}

void CPagePatientInfo::LoadPatientData()
{
    const bool b8000 = Is8000();
    for (const auto& label : kLabels) LoadLabel(label.id, label.text);

    auto edit = [&](int id, UINT ctrlData, int limit) { LoadEdit(id, CtrlData(ctrlData), limit); };
    auto label = [&](int id, UINT ctrlData) { LoadLabel(id, CtrlData(ctrlData)); };
    auto list = [&](int id, UINT ctrlData) { LoadListChoice(id, CtrlData(ctrlData), ListMatch::Exact); };
    auto request = [&](int id, int listIndex, UINT ctrlData, int limit) {
        CWnd* combo = GetDlgItem(id);
        if (!combo) return;
        AddListEntries(*combo, listIndex);
        combo->SendMessage(CB_LIMITTEXT, limit);
        combo->SetWindowText(CtrlData(ctrlData));
        NoteLoadedText(combo);
        SetControlFont(id);
    };

    edit(3206, 3001, b8000 ? 12 : 20);
    edit(3207, 3005, 20);
    edit(3208, 3003, 20);
    edit(3209, 3007, 40);
    list(3212, 3009);
    edit(3214, 3011, b8000 ? 2 : 3);
    list(3215, 3012);
    edit(3216, 3013, 2);
    label(3217, 3014);
    edit(3225, 3015, 5);
    label(3226, 3016);
    edit(3228, 3017, 5);
    label(3229, 3018);
    const CString pressureUnit = CtrlData(3022);
    const int pressureLimit = pressureUnit.CompareNoCase(L"kPa") == 0 ? 2 : 3;
    edit(3231, 3019, pressureLimit);
    edit(3233, 3021, pressureLimit);
    label(3234, 3022);
    edit(3210, 3043, 10);
    if (!b8000) {
        request(3250, 0, 3031, 22);
        request(3251, 1, 3033, 22);
    } else {
        SendDlgItemMessage(3250, CB_LIMITTEXT, 22);
        SendDlgItemMessage(3251, CB_LIMITTEXT, 22);
    }
    for (const auto& combo : kRequestCombos) request(combo.id, combo.list, combo.ctrlData, combo.limit);

    // The birthday: MFER 12- and 15-lead records keep it in the store.
    const ItemView item = CurrentItem();
    _BIRTHDAY birthday;
    if (!item.bRest && (item.uSystemCode == MFER_KIND_12LEAD || item.uSystemCode == MFER_KIND_15LEAD)) {
        birthday.strYear = CtrlData(3631);
        birthday.strMonth = CtrlData(3633);
        birthday.strDay = CtrlData(3635);
    } else if (item.pInterpre) {
        birthday = item.pInterpre->stBirthday;
    }
    const struct {
        int id;
        const CString& text;
        int limit;
    } dates[] = {{3219, birthday.strYear, 4}, {3221, birthday.strMonth, 2}, {3223, birthday.strDay, 2}};
    for (const auto& date : dates) LoadEdit(date.id, date.text, date.limit);

    SendDlgItemMessage(3236, EM_LIMITTEXT, 3);
    SendDlgItemMessage(3238, EM_LIMITTEXT, 3);
    if (HasTripRows()) {
        SetText(3235, TripLabel());
        SetText(3236, TripCountShown(*item.pTrip1));
        SetText(3238, TripCountShown(*item.pTrip2));
        for (int id = 3235; id <= 3238; ++id) {
            ShowControl(id, !(id == 3236 || id == 3238) || !m_rows.IsDisplayOnly(10));
            SetControlFont(id);
        }
    } else {
        for (int id = 3235; id <= 3238; ++id) ShowControl(id, false);
    }

    for (int id = 3250; id <= 3258; ++id) SendDlgItemMessage(id, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void CPagePatientInfo::OnSelchangeAgeUnit()
{
    if (Is8000()) return;
    ShowSubAge(Selection(3215), 3216, 3217, m_rows.IsDisplayOnly(5));
    SendDlgItemMessage(3215, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void CPagePatientInfo::OnPaint()
{
    CPaintDC dc(this);
    if (!m_pDoc) return;
    const bool b8000 = Is8000();
    const bool tripRows = HasTripRows();
    _PAINTED_ROW painted = {};
    m_rows.Paint(dc, *this, *m_pDoc, m_pFont, [&](int row) -> const _PAINTED_ROW* {
        if (row > 20 || (row == 10 && !tripRows)) return nullptr;
        painted = kPaintedRows[row];
        // A model-8000 record shows its medications in the fixed lists.
        if (b8000 && row == 11) painted.values[0] = 3240;
        if (b8000 && row == 12) painted.values[0] = 3242;
        return &painted;
    });
}


int CPagePatientInfo::IsDataChange()
{
    const ItemView item = CurrentItem();
    if (!item.pPatient) return 0;
    if (SharedFieldsDiffer(*this, FieldIds(item.bRest && item.b8000), SharedTarget(item), m_pDoc)) return 1;

    if (item.bRest) {
        auto tripChanged = [this](int id, const CString& stored) {
            CWnd* control = GetDlgItem(id);
            if (!control || !(control->GetStyle() & WS_VISIBLE)) return false;
            return Text(id) != TripCountShown(stored);
        };
        if (tripChanged(3236, *item.pTrip1) || tripChanged(3238, *item.pTrip2)) return 1;
    }
    return 0;
}

int CPagePatientInfo::CheckPatientData()
{
    if (!m_pDoc) return 255;
    const bool b8000 = Is8000();
    if (CheckAges(Text(3214), Text(3216), b8000)) return 255;
    if (!b8000 && CheckBirthDate(Text(3219), Text(3221), Text(3223))) return 255;
    // Only a typed count is checked: one the record holds past the range
    // (a model-8000 count of 300) is kept as stored, not refused.
    const ItemView item = CurrentItem();
    auto typedTrip = [this](int id, const CString* stored) {
        const CString text = Text(id);
        return stored && text == TripCountShown(*stored) ? CString() : text;
    };
    if (CheckTripCounts(typedTrip(3236, item.pTrip1), typedTrip(3238, item.pTrip2), TripLabel(), b8000)) return 255;
    return CheckBodySize(Text(3225), Text(3228));
}

void CPagePatientInfo::SaveDataToItem()
{
    const ItemView item = CurrentItem();
    if (!item.pPatient) return;
    const bool fixed = item.bRest && item.b8000;
    // A model-8000 recorder takes two digits of age, which the box holds to
    // for typing; a stored age it shows whole (the reader takes up to 100)
    // stays as stored unless the person typed another.
    const bool ageTyped = Text(3214) != item.pPatient->strAge;
    WritePatientFields(*this, FieldIds(fixed), SharedTarget(item), m_pDoc);
    if (fixed && ageTyped) item.pPatient->strAge = item.pPatient->strAge.Left(2);
    if (!item.bRest) return;
    *item.pEdited = 1;
    auto storeTrip = [this, &item](int id, CString& stored, int limit) {
        CWnd* control = GetDlgItem(id);
        if (!control || !(control->GetStyle() & WS_VISIBLE)) return;
        stored = TripCountFromBox(Text(id), stored, item.b8000, limit);
    };
    storeTrip(3236, *item.pTrip1, kTripCountLimit8000);
    storeTrip(3238, *item.pTrip2, kTripTotalLimit8000);
}
