// The resting form's fields in the control-data store: which entries exist,
// filling them from the current item, copying them back, their show status
// and the checks whether the user changed anything.
#include <cwchar>
#include <vector>

#include "core/PositionCtrl.h"
#include "documents/RestViewDoc.h"
#include "documents/FormStore.h"
#include "documents/RestXmlText.h"
#include "documents/TripCounts.h"

namespace {

// A resting 12-lead code: the additions code takes its rows, 3971 to 3973
// and 3980 to 3982, which the store is loaded with.
const int kRestingRowsCode = 0;

// One group of the store: its key and its ids in order.
struct CtrlGroup {
    const wchar_t* pszKey;
    std::vector<UINT> ids;
};

std::vector<UINT> Range(UINT first, UINT count)
{
    std::vector<UINT> ids;
    for (UINT i = 0; i < count; ++i) ids.push_back(first + i);
    return ids;
}

std::vector<CtrlGroup> MakeGroups()
{
    std::vector<CtrlGroup> groups = {
        {L"Medication", Range(3030, 4)},     {L"Sympton", Range(3034, 2)},   {L"Disease", Range(3036, 2)},
        {L"DepartmentName", Range(3038, 2)}, {L"WardName", Range(3040, 2)},  {L"RoomNumber", Range(3042, 2)},
        {L"ReqSection", Range(3044, 2)},     {L"ReqDoctor", Range(3046, 2)}, {L"Technician", Range(3048, 2)},
        {L"InfoEditorDate", Range(3050, 3)},
    };
    CtrlGroup addition{L"Addition", {3970}};
    for (UINT r = 0; r < 3; ++r) addition.ids.insert(addition.ids.end(), {3971 + r, 3974 + r, 3977 + r, 3980 + r});
    addition.ids.push_back(3983);
    groups.push_back(addition);
    CtrlGroup minnesota{L"MinnesotaCode", {3053}};
    for (UINT r = 0; r < INTERPRE_MINNESOTA_ROWS; ++r)
        minnesota.ids.insert(minnesota.ids.end(), {3054 + r, 3062 + r, 3070 + r, 3078 + r, 3086 + r});
    groups.push_back(minnesota);
    CtrlGroup ivrel{L"Ivrel", {3094, 3095, 3096}};
    for (UINT r = 0; r < INTERPRE_IVREL_ROWS; ++r)
        ivrel.ids.insert(ivrel.ids.end(), {3097 + r, 3108 + r, 3119 + r, 3130 + r, 3141 + r});
    groups.push_back(ivrel);
    const std::vector<CtrlGroup> tail = {
        {L"Recommend", {3152, 3153}},     {L"AnalysisEditorDate", {3154, 3155, 3156}},
        {L"Comment", {3157, 3158, 4017}}, {L"CommentEditorDate", {3160, 3161, 3162}},
        {L"Confirmation", Range(3163, 5)}, {L"HeartRate", {3168, 3169}},
        {L"PR Int", {3170, 3171}},        {L"QRS Int", {3172, 3173}},
        {L"QT/QTc Int", {3174, 3175}},    {L"P/QRS/T Axis", {3176, 3177}},
        {L"RV5/SVI Value", {3178, 3179}}, {L"RV5+SVI Value", {3180, 3181}},
        {L"TripInfo", Range(3182, 4)},
    };
    groups.insert(groups.end(), tail.begin(), tail.end());
    return groups;
}

struct Label {
    UINT uID;
    const wchar_t* pszControl;   // the control's name in the resting layout table
    const wchar_t* pszDefault;
};
const Label kFormLabels[] = {
    {3030, L"Interpre_medication1_stc", L"投薬情報1"},
    {3032, L"Interpre_medication2_stc", L"投薬情報2"},
    {3034, L"Interpre_symptom_stc", L"自覚症状"},
    {3036, L"Interpre_disease_stc", L"既往症"},
    {3038, L"Interpre_department_stc", L"所属科"},
    {3040, L"Interpre_ward_stc ", L"病棟"},
    {3042, L"Interpre_room_no_stc", L"部屋番号"},
    {3044, L"Interpre_req_section_stc", L"依頼科"},
    {3046, L"Interpre_req_doctor_stc", L"依頼医師"},
    {3048, L"Interpre_technician_stc", L"検査技師"},
    {3050, L"Interpre_info_editor_title_stc", L"被検者情報編集"},
    {3970, L"Interpre_addition_stc", L"付帯情報"},
    {3053, L"Interpre_minne_title_stc", L"ﾐﾈｿﾀｺｰﾄﾞ"},
    {3094, L"Interpre_ivrel_stc", L"IVRELｺｰﾄﾞ"},
    {3152, L"Interpre_recommend_title_stc", L"ﾘｺﾒﾝﾃﾞｰｼｮﾝ"},
    {3157, L"Interpre_comment_stc", L"コメント"},
    {3158, L"Interpre_comment_btn", L"定型文入力"},
    {3160, L"Interpre_comment_title_stc", L"コメント編集"},
};

// The text fields after the medications, at the ids 3035, 3037 ... 3049.
CString _INTERPRE_INFO_REST::*const kInfoTexts[] = {
    &_INTERPRE_INFO_REST::strSympton,   &_INTERPRE_INFO_REST::strDisease,    &_INTERPRE_INFO_REST::strDepartment,
    &_INTERPRE_INFO_REST::strWard,      &_INTERPRE_INFO_REST::strRoomNumber, &_INTERPRE_INFO_REST::strReqSection,
    &_INTERPRE_INFO_REST::strReqDoctor, &_INTERPRE_INFO_REST::strTechnician,
};
const int kInfoTextCount = sizeof(kInfoTexts) / sizeof(kInfoTexts[0]);

UINT InfoTextID(int index)
{
    return 3035 + 2 * static_cast<UINT>(index);
}

bool HasStar(const CString& text)
{
    return text.Find(L'*') >= 0;
}

CString StarOr(const CString& text)
{
    return HasStar(text) ? CString(L"*") : text;
}

CString AxisText(const CString& text)
{
    return HasStar(text) || _wtoi(text) == 999 ? CString(L"*") : text;
}

bool IsTripKind(unsigned systemCode)
{
    const unsigned low = systemCode & 0xFF;
    return low == 254 || low == 226;
}

}  // namespace

void CRestViewDoc::InitCheckArray()
{
    CTavrionDoc::InitCheckArray();
    for (const CtrlGroup& group : MakeGroups()) {
        for (UINT id : group.ids) AddCheckEntry(id, group.pszKey);
    }
}

CString CRestViewDoc::LabelText(LPCWSTR control, LPCWSTR defaultText) const
{
    const int index = RestControlIndex(control);
    if (index >= 0 && !g_stDefCtrlPos.stRest[index].strCaption.IsEmpty()) return g_stDefCtrlPos.stRest[index].strCaption;
    return defaultText;
}

CString CRestViewDoc::MedicationText(const _RESTDATAITEM* item, int which) const
{
    const _INTERPRE_INFO_REST& info = item->stInterpre;
    // The display and the change check share one rule, so that showing a
    // listed medication never counts as an edit.
    const CStringArray* list = &m_arrEditableParam[which == 0 ? 0 : 1];
    return which == 0 ? GetListedText(list, info.nMedication1Sel, info.strMedication1)
                      : GetListedText(list, info.nMedication2Sel, info.strMedication2);
}

void CRestViewDoc::SetCtrlContent(_PATIENT_INFO* pPatient)
{
    // Without a patient record the form shows the current record's own; an
    // empty patient block would be copied back over it on saving.
    _RESTDATAITEM* item = GetCurrentDataItem();
    CTavrionDoc::SetCtrlContent(pPatient ? pPatient : (item ? &item->stPatient : nullptr));
    for (const Label& label : kFormLabels) SetCtrlData(label.uID, LabelText(label.pszControl, label.pszDefault), 1, -1);
    SetCtrlData(3983, L"......", 1, -1);
    m_nCtrlContentItem = item ? item->nID : -1;
    if (item) {
        const _INTERPRE_INFO_REST& info = item->stInterpre;
        SetCtrlData(3031, MedicationText(item, 0), 1, info.nMedication1Sel);
        SetCtrlData(3033, MedicationText(item, 1), 1, info.nMedication2Sel);
        for (int i = 0; i < kInfoTextCount; ++i) SetCtrlData(InfoTextID(i), info.*kInfoTexts[i], 1, -1);
        SetCtrlData(3051, info.strInfoEditor, 1, -1);
        SetCtrlData(3052, info.strInfoEditDate.Left(16), 1, -1);
        LoadFormAdditions(*this, item->stAddition, 3971, 3980);
        for (UINT r = 0; r < INTERPRE_MINNESOTA_ROWS; ++r) {
            SetCtrlData(3062 + r, info.strMinneCode[r], 1, -1);
            SetCtrlData(3054 + r, info.strMinneMask[r], 1, -1);
            SetCtrlData(3086 + r, info.strMinneContent[r], 1, -1);
        }
        SetCtrlData(3095, info.strIvrelJudgeCode, 1, -1);
        SetCtrlData(3096, info.strIvrelJudge, 1, -1);
        for (UINT r = 0; r < INTERPRE_IVREL_ROWS; ++r) {
            SetCtrlData(3097 + r, info.strIvrelCode[r + 1], 1, -1);
            SetCtrlData(3108 + r, info.strIvrelMask[r + 1], 1, -1);
            SetCtrlData(3141 + r, info.strIvrelContent[r + 1], 1, -1);
        }
        SetCtrlData(3153, info.strRecommend, 1, -1);
        SetCtrlData(4017, info.strComment, 1, -1);
        SetCtrlData(3161, info.strCommentEditor, 1, -1);
        SetCtrlData(3162, info.strCommentEditDate.Left(16), 1, -1);
        const bool trip = IsTripKind(item->uSystemCode);
        SetCtrlData(3182, trip ? LabelText(L"Interpre_trip_count_stc", L"トリップ数") : CString(), 1, -1);
        SetCtrlData(3184, trip ? CString(L"/") : CString(), 1, -1);
        SetCtrlData(3183, trip ? TripCountShown(item->strTrip) : CString(), 1, -1);
        if (trip) SetCtrlData(3185, TripCountShown(item->strTotalTrip), 1, -1);
    }
    SetConfirmContent();
    SetAnyCtrlContent(1);
}

void CRestViewDoc::SetConfirmContent()
{
    SetCtrlData(3026, L"判読日時", 1, -1);
    SetCtrlData(3028, L"判読医師", 1, -1);
    SetCtrlData(3164, LabelText(L"Interpre_confirm_date_title_stc", L"判読日時"), 1, -1);
    SetCtrlData(3166, LabelText(L"Interpre_confirm_doctor_title_stc", L"判読医師"), 1, -1);
    _RESTDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    const _PATIENT_INFO& patient = item->stPatient;
    for (UINT base : {3025u, 3163u}) {
        SetCtrlData(base, patient.strConfirmation, 1, -1);
        SetCtrlData(base + 2, patient.strConfirmDate.Left(16), 1, -1);
        SetCtrlData(base + 4, patient.strConfirmDoctor, 1, -1);
    }
}

void CRestViewDoc::SetAnyCtrlContent(int flag)
{
    SetCtrlData(3154, LabelText(L"Interpre_ana_title_stc", L"解析情報編集"), flag, -1);
    for (const RestNamedCaption& c : kRestMeasureCaptions)
        SetCtrlData(c.uID, LabelText(c.pszControl, c.pszDefault), flag, -1);
    _RESTDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    const CString* g = item->stMeasure.strGlobal;
    CString text;
    SetCtrlData(3169, StarOr(g[0]), flag, -1);
    SetCtrlData(3171, g[1], flag, -1);
    SetCtrlData(3173, g[2], flag, -1);
    text.Format(L"%s/ %s", StarOr(g[3]).GetString(), StarOr(g[4]).GetString());
    SetCtrlData(3175, text, flag, -1);
    text.Format(L"%s/ %s/ %s", AxisText(g[5]).GetString(), AxisText(g[6]).GetString(), AxisText(g[7]).GetString());
    SetCtrlData(3177, text, flag, -1);
    const CString rv5 = HasStar(g[8]) ? CString(L"*.*") : g[8];
    const CString sv1 = HasStar(g[9]) ? CString(L"*.*") : g[9];
    text.Format(L"%s/%s", rv5.GetString(), sv1.GetString());
    SetCtrlData(3179, text, flag, -1);
    if (HasStar(g[8]) || HasStar(g[9]))
        text = L"*.*";
    else
        text.Format(L"%.03f", std::wcstod(g[8].GetString(), nullptr) + std::wcstod(g[9].GetString(), nullptr));
    SetCtrlData(3181, text, flag, -1);
    SetCtrlData(3155, item->stInterpre.strAnaEditor, flag, -1);
    SetCtrlData(3156, item->stInterpre.strAnaEditDate.Left(16), flag, -1);
}

void CRestViewDoc::UpDateCurItemContent()
{
    _RESTDATAITEM* item = GetCurrentDataItem();
    // A store that was never filled for this item holds nothing of it: copying
    // it back would empty the record.
    if (!item || item->nID != m_nCtrlContentItem) return;
    _INTERPRE_INFO_REST& info = item->stInterpre;
    CTavrionDoc::UpDateCurItemContent(item->stPatient);
    GetCtrlData(3031, info.strMedication1);
    GetCtrlData(3031, info.nMedication1Sel);
    GetCtrlData(3033, info.strMedication2);
    GetCtrlData(3033, info.nMedication2Sel);
    for (int i = 0; i < kInfoTextCount; ++i) GetCtrlData(InfoTextID(i), info.*kInfoTexts[i]);
    CopyBackTrip(item);
    CopyBackCodeRows(item);
    // The store holds the resting rows whatever the record's code: a code the
    // additions code knows no rows for (a record of another kind opened as a
    // resting one) would count them empty and drop every addition.
    UpdateCurItemAddition(kRestingRowsCode, item->stAddition);
    GetCtrlData(4017, info.strComment);
}

void CRestViewDoc::CopyBackTrip(_RESTDATAITEM* item)
{
    // Only the trip kinds show the counts; the emptied controls of any other
    // record (a trip code such as 243 among them) would erase its counts.
    if (!IsTripKind(item->uSystemCode)) return;
    // The boxes show an uncounted trip empty, and a model-8000 record's
    // counts as stored even past what its recorder takes: only a typed count
    // is put back (and checked against that recorder's range).
    CString trip, total;
    GetCtrlData(3183, trip);
    GetCtrlData(3185, total);
    const bool b8000 = item->b8000File != 0;
    item->strTrip = TripCountFromBox(trip, item->strTrip, b8000, kTripCountLimit8000);
    item->strTotalTrip = TripCountFromBox(total, item->strTotalTrip, b8000, kTripTotalLimit8000);
}

void CRestViewDoc::CopyBackCodeRows(_RESTDATAITEM* item)
{
    _INTERPRE_INFO_REST& info = item->stInterpre;
    // Filled rows move up over empty ones; the count is the rows held, so
    // that saving writes no empty row element.
    int stored = 0;
    for (UINT r = 0; r < INTERPRE_MINNESOTA_ROWS; ++r) {
        CString code;
        GetCtrlData(3062 + r, code);
        if (code.IsEmpty()) continue;
        info.strMinneCode[stored] = code;
        GetCtrlData(3054 + r, info.strMinneMask[stored]);
        GetCtrlData(3086 + r, info.strMinneContent[stored]);
        ++stored;
    }
    for (int k = stored; k < INTERPRE_MINNESOTA_ROWS; ++k) {
        info.strMinneCode[k].Empty();
        info.strMinneMask[k].Empty();
        info.strMinneContent[k].Empty();
    }
    info.nMinneCount = stored;

    GetCtrlData(3095, info.strIvrelJudgeCode);
    GetCtrlData(3096, info.strIvrelJudge);
    stored = 0;
    for (UINT r = 0; r < INTERPRE_IVREL_ROWS; ++r) {
        CString code;
        GetCtrlData(3097 + r, code);
        if (code.IsEmpty()) continue;
        ++stored;
        info.strIvrelCode[stored] = code;
        GetCtrlData(3108 + r, info.strIvrelMask[stored]);
        GetCtrlData(3141 + r, info.strIvrelContent[stored]);
    }
    for (int n = stored + 1; n <= INTERPRE_IVREL_ROWS; ++n) {
        info.strIvrelCode[n].Empty();
        info.strIvrelMask[n].Empty();
        info.strIvrelContent[n].Empty();
    }
    info.nIvrelCount = stored;
}

void CRestViewDoc::UpdateCtrlStatus()
{
    const _RESTDATAITEM* item = GetCurrentDataItem();
    const bool is8000 = item && item->b8000File;
    // The rows held and one empty row to type the next code into.
    const int minnesotaShown = item ? item->stInterpre.nMinneCount + 1 : 1;
    const int ivrelShown = item ? item->stInterpre.nIvrelCount + 1 : 1;
    UpdateFormCtrlStatus(IsDoctorConfirm(), {{3163, 3164}}, [=](UINT id) {
        if (id == 3013 || id == 3014) return is8000;
        if (id >= 3054 && id <= 3093) return static_cast<int>((id - 3054) % INTERPRE_MINNESOTA_ROWS) >= minnesotaShown;
        if (id >= 3097 && id <= 3151) return static_cast<int>((id - 3097) % INTERPRE_IVREL_ROWS) >= ivrelShown;
        return false;
    });
}

int CRestViewDoc::IsInfoEidtChange(_RESTDATAITEM* item)
{
    if (!item) return 0;
    if (CTavrionDoc::IsEidtChange(&item->stPatient)) return 1;
    const _INTERPRE_INFO_REST& info = item->stInterpre;
    if (CtrlDiffers(*this, 3031, MedicationText(item, 0)) || CtrlDiffers(*this, 3033, MedicationText(item, 1))) return 1;
    for (int i = 0; i < kInfoTextCount; ++i) {
        if (CtrlDiffers(*this, InfoTextID(i), info.*kInfoTexts[i])) return 1;
    }
    if (!IsTripKind(item->uSystemCode)) return 0;
    return CtrlDiffers(*this, 3183, TripCountShown(item->strTrip)) || CtrlDiffers(*this, 3185, TripCountShown(item->strTotalTrip)) ? 1 : 0;
}

int CRestViewDoc::IsAnayEidtChange(_RESTDATAITEM* item)
{
    if (!item) return 0;
    const _INTERPRE_INFO_REST& info = item->stInterpre;
    for (UINT r = 0; r < INTERPRE_MINNESOTA_ROWS; ++r) {
        if (CtrlDiffers(*this, 3062 + r, info.strMinneCode[r]) || CtrlDiffers(*this, 3054 + r, info.strMinneMask[r]) ||
            CtrlDiffers(*this, 3086 + r, info.strMinneContent[r]))
            return 1;
    }
    if (CtrlDiffers(*this, 3095, info.strIvrelJudgeCode) || CtrlDiffers(*this, 3096, info.strIvrelJudge)) return 1;
    for (UINT r = 0; r < INTERPRE_IVREL_ROWS; ++r) {
        if (CtrlDiffers(*this, 3097 + r, info.strIvrelCode[r + 1]) || CtrlDiffers(*this, 3108 + r, info.strIvrelMask[r + 1]) ||
            CtrlDiffers(*this, 3141 + r, info.strIvrelContent[r + 1]))
            return 1;
    }
    return 0;
}

int CRestViewDoc::IsCommentEditChange(_RESTDATAITEM* item)
{
    if (!item) return 0;
    return CtrlDiffers(*this, 4017, item->stInterpre.strComment) ? 1 : 0;
}

int CRestViewDoc::IsAdditionEditChange(_RESTDATAITEM* item)
{
    return item ? IsFormAdditionChanged(*this, item->stAddition, 3971, 3980) : 0;
}

int CRestViewDoc::IsEidtChange()
{
    _RESTDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    // A store never filled for this item (a dialog opened with no form
    // behind it) holds no edit of its patient, addition or comment.
    if (item->nID != m_nCtrlContentItem) return SetEditChangeFlags(0, 0, 0, 0);
    return SetEditChangeFlags(IsInfoEidtChange(item), IsAdditionEditChange(item),
                              IsCommentEditChange(item), IsAnayEidtChange(item));
}
