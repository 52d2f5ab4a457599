// The MFER record's interpretation forms (resting, rhythm and extra-lead)
// bound to the control-data store: building and loading the store, the
// entries' show states, copying edits back into the item and the change
// tests.
#include "documents/MFERViewDoc.h"
#include "documents/FormStore.h"
#include "documents/RestXmlText.h"

#include <algorithm>
#include <cstdlib>

namespace {

struct StoreEntry {
    UINT uID;
    const wchar_t* pszKey;
};

// The resting form's entries, after the patient strip and the rhythm/RR panel.
const StoreEntry kRestHead[] = {
    {3030, L"Medication"},     {3031, L"Medication"},     {3032, L"Medication"},     {3033, L"Medication"},
    {3034, L"Sympton"},        {3035, L"Sympton"},        {3036, L"Disease"},        {3037, L"Disease"},
    {3038, L"DepartmentName"}, {3039, L"DepartmentName"}, {3040, L"WardName"},       {3041, L"WardName"},
    {3042, L"RoomNumber"},     {3043, L"RoomNumber"},     {3044, L"ReqSection"},     {3045, L"ReqSection"},
    {3046, L"ReqDoctor"},      {3047, L"ReqDoctor"},      {3048, L"Technician"},     {3049, L"Technician"},
    {3050, L"InfoEditorDate"}, {3051, L"InfoEditorDate"}, {3052, L"InfoEditorDate"},
    {3970, L"Addition"},       {3971, L"Addition"},       {3974, L"Addition"},       {3977, L"Addition"},
    {3980, L"Addition"},       {3972, L"Addition"},       {3975, L"Addition"},       {3978, L"Addition"},
    {3981, L"Addition"},       {3973, L"Addition"},       {3976, L"Addition"},       {3979, L"Addition"},
    {3982, L"Addition"},
};

const StoreEntry kRestTail[] = {
    {3152, L"Recommend"},          {3153, L"Recommend"},          {3154, L"AnalysisEditorDate"},
    {3155, L"AnalysisEditorDate"}, {3156, L"AnalysisEditorDate"}, {3157, L"Comment"},
    {3158, L"Comment"},            {4017, L"Comment"},            {3160, L"CommentEditorDate"},
    {3161, L"CommentEditorDate"},  {3162, L"CommentEditorDate"},  {3163, L"Confirmation"},
    {3164, L"Confirmation"},       {3165, L"Confirmation"},       {3166, L"Confirmation"},
    {3167, L"Confirmation"},       {3168, L"HeartRate"},          {3169, L"HeartRate"},
    {3170, L"PR Int"},             {3171, L"PR Int"},             {3172, L"QRS Int"},
    {3173, L"QRS Int"},            {3174, L"QT/QTc Int"},         {3175, L"QT/QTc Int"},
    {3176, L"P/QRS/T Axis"},       {3177, L"P/QRS/T Axis"},       {3178, L"RV5/SVI Value"},
    {3179, L"RV5/SVI Value"},      {3180, L"RV5+SVI Value"},      {3181, L"RV5+SVI Value"},
};

// First ids of the per-row blocks of the resting form.
const UINT kMinneMask = 3054, kMinneCode = 3062, kMinneContent = 3086;
const UINT kIvrelCode = 3097, kIvrelMask = 3108, kIvrelContent = 3141;
const UINT kRestAddTitle = 3971, kRestAddContent = 3980;
const UINT kPanelAddTitle = 3999, kPanelAddContent = 4008;

struct Caption {
    UINT uID;
    const wchar_t* pszControl;
    const wchar_t* pszDefault;
};

// The patient-information fields of both forms: caption ids (the value is
// the next id) and the layout element that may give the caption.
struct InfoField {
    const wchar_t* pszCaptionControl;
    const wchar_t* pszDefault;
    UINT uRestCaption;
    UINT uPanelCaption;
    CString _INTERPRE_INFO_REST::*pField;
};
const InfoField kInfoFields[] = {
    {L"Interpre_symptom_stc", L"自覚症状", 3034, 3640, &_INTERPRE_INFO_REST::strSympton},
    {L"Interpre_disease_stc", L"既往症", 3036, 3642, &_INTERPRE_INFO_REST::strDisease},
    {L"Interpre_department_stc", L"所属科", 3038, 3644, &_INTERPRE_INFO_REST::strDepartment},
    {L"Interpre_ward_stc ", L"病棟", 3040, 3646, &_INTERPRE_INFO_REST::strWard},
    {L"Interpre_room_no_stc", L"部屋番号", 3042, 3648, &_INTERPRE_INFO_REST::strRoomNumber},
    {L"Interpre_req_section_stc", L"依頼科", 3044, 3650, &_INTERPRE_INFO_REST::strReqSection},
    {L"Interpre_req_doctor_stc", L"依頼医師", 3046, 3652, &_INTERPRE_INFO_REST::strReqDoctor},
    {L"Interpre_technician_stc", L"検査技師", 3048, 3654, &_INTERPRE_INFO_REST::strTechnician},
};

bool HasStar(const CString& text)
{
    return text.Find(L'*') >= 0;
}

}  // namespace

CMFERViewDoc::MferForm CMFERViewDoc::GetItemForm(const _MFERDATAITEM* pItem) const
{
    if (!pItem) return MferForm::None;
    const unsigned kind = pItem->uSystemCode;
    if (IsFullLeadKind(kind))
        return (m_nRestPageStyle >= 49 && m_nRestPageStyle <= 51) ? MferForm::Rhythm : MferForm::Rest;
    if (IsStripKind(kind)) return MferForm::Rhythm;
    if (IsExtraFamily(kind)) return MferForm::Extra;
    return MferForm::None;
}

CString CMFERViewDoc::MedicationText(int list, const CString& strText, int nSel)
{
    return GetListedText(GetEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(list)), nSel, strText);
}

// ---- building and loading the store --------------------------------------------------------

void CMFERViewDoc::InitCheckArray()
{
    InitCheckArrayRhyRR();
    for (const StoreEntry& e : kRestHead) AddCheckEntry(e.uID, e.pszKey);
    AddCheckEntry(3053, L"MinnesotaCode");
    for (UINT r = 0; r < INTERPRE_MINNESOTA_ROWS; ++r) {
        for (UINT first : {kMinneMask, kMinneCode, 3070u, 3078u, kMinneContent})
            AddCheckEntry(first + r, L"MinnesotaCode");
    }
    for (UINT id : {3094u, 3095u, 3096u}) AddCheckEntry(id, L"Ivrel");
    for (UINT r = 0; r < INTERPRE_IVREL_ROWS; ++r) {
        for (UINT first : {kIvrelCode, kIvrelMask, 3119u, 3130u, kIvrelContent}) AddCheckEntry(first + r, L"Ivrel");
    }
    for (const StoreEntry& e : kRestTail) AddCheckEntry(e.uID, e.pszKey);
}

void CMFERViewDoc::SetCtrlContent(_PATIENT_INFO* /*pPatient*/)
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    m_nCtrlContentItem = item->nID;
    CTavrionDoc::SetCtrlContent(&item->stPatient);
    const unsigned kind = item->uSystemCode;
    // The resting entries hold every kind's values, not only those of the
    // 12- and 15-lead records the resting form shows: the resting sheet
    // takes every MFER record and shows and stores those entries, which
    // would otherwise give it another record's texts or none.
    if (IsFullLeadKind(kind) || IsStripKind(kind) || IsExtraFamily(kind)) SetRestCtrlContent();
    if (IsFullLeadKind(kind) || IsStripKind(kind)) {
        SetRhythmCtrlContent();
    } else if (IsExtraFamily(kind)) {
        SetExtraCtrlContent();
    }
}

// The medications, the information texts and their editor: the same block
// in the resting form and in the panel of the rhythm and extra-lead forms,
// only at other control ids.
void CMFERViewDoc::LoadInfoBlock(MferForm form, const _INTERPRE_INFO_REST& info, bool panel)
{
    const UINT medication = panel ? 3636 : 3030;
    const UINT editor = panel ? 3656 : 3050;
    auto load = [this](UINT id, const CString& text) { SetCtrlData(id, text, 1, -1); };
    load(medication, FormCaption(form, L"Interpre_medication1_stc", L"投薬情報1"));
    // With their list positions: copying back takes them from the store, and
    // a store without them would lose them on the next save.
    SetCtrlData(medication + 1, MedicationText(0, info.strMedication1, info.nMedication1Sel), 1, info.nMedication1Sel);
    load(medication + 2, FormCaption(form, L"Interpre_medication2_stc", L"投薬情報2"));
    SetCtrlData(medication + 3, MedicationText(1, info.strMedication2, info.nMedication2Sel), 1, info.nMedication2Sel);
    for (const InfoField& f : kInfoFields) {
        const UINT caption = panel ? f.uPanelCaption : f.uRestCaption;
        load(caption, FormCaption(form, f.pszCaptionControl, f.pszDefault));
        load(caption + 1, info.*f.pField);
    }
    load(editor, FormCaption(form, L"Interpre_info_editor_title_stc", L"被検者情報編集"));
    load(editor + 1, info.strInfoEditor);
    load(editor + 2, info.strInfoEditDate.Left(16));
}

void CMFERViewDoc::SetRestCtrlContent()
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    const _INTERPRE_INFO_REST& info = item->stInterpre;
    const MferForm form = MferForm::Rest;
    auto load = [this](UINT id, const CString& text) { SetCtrlData(id, text, 1, -1); };

    LoadInfoBlock(form, info, false);
    load(3970, FormCaption(form, L"Interpre_addition_stc", L"付帯情報"));
    LoadFormAdditions(*this, item->stAddition, kRestAddTitle, kRestAddContent);
    load(3053, FormCaption(form, L"Interpre_minne_title_stc", L"ﾐﾈｿﾀｺｰﾄﾞ"));
    for (UINT r = 0; r < INTERPRE_MINNESOTA_ROWS; ++r) {
        load(kMinneMask + r, info.strMinneMask[r]);
        load(kMinneCode + r, info.strMinneCode[r]);
        load(kMinneContent + r, info.strMinneContent[r]);
    }
    load(3094, FormCaption(form, L"Interpre_ivrel_stc", L"IVRELｺｰﾄﾞ"));
    load(3095, info.strIvrelJudgeCode);
    load(3096, info.strIvrelJudge);
    for (UINT r = 0; r < INTERPRE_IVREL_ROWS; ++r) {
        load(kIvrelCode + r, info.strIvrelCode[r + 1]);
        load(kIvrelMask + r, info.strIvrelMask[r + 1]);
        load(kIvrelContent + r, info.strIvrelContent[r + 1]);
    }
    load(3152, FormCaption(form, L"Interpre_recommend_title_stc", L"ﾘｺﾒﾝﾃﾞｰｼｮﾝ"));
    load(3153, info.strRecommend);
    load(3157, FormCaption(form, L"Interpre_comment_stc", L"コメント"));
    load(3158, FormCaption(form, L"Interpre_comment_btn", L"定型文入力"));
    load(4017, info.strComment);
    load(3160, FormCaption(form, L"Interpre_comment_title_stc", L"コメント編集"));
    load(3161, info.strCommentEditor);
    load(3162, info.strCommentEditDate.Left(16));
    load(3164, FormCaption(form, L"Interpre_confirm_date_title_stc", L"判読日時"));
    load(3166, FormCaption(form, L"Interpre_confirm_doctor_title_stc", L"判読医師"));
    load(3163, item->stPatient.strConfirmation);
    load(3165, item->stPatient.strConfirmDate.Left(16));
    load(3167, item->stPatient.strConfirmDoctor);
    SetAnyCtrlContent(1);
}

// The rhythm form is the extra-lead form's panel with the birthday in front.
void CMFERViewDoc::SetRhythmCtrlContent()
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    const _BIRTHDAY& birthday = item->stInterpre.stBirthday;
    const MferForm form = MferForm::Rhythm;
    SetCtrlData(3630, FormCaption(form, L"Interpre_birthday_stc", L"生年月日"), 1, -1);
    SetCtrlData(3631, birthday.strYear, 1, -1);
    SetCtrlData(3632, FormCaption(form, L"Interpre_line_1_stc", L"/"), 1, -1);
    SetCtrlData(3633, birthday.strMonth, 1, -1);
    SetCtrlData(3634, FormCaption(form, L"Interpre_line_2_stc", L"/"), 1, -1);
    SetCtrlData(3635, birthday.strDay, 1, -1);
    SetExtraCtrlContent();
}

void CMFERViewDoc::SetExtraCtrlContent()
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    const _INTERPRE_INFO_REST& info = item->stInterpre;
    const bool extra = IsExtraFamily(item->uSystemCode);
    const MferForm form = extra ? MferForm::Extra : MferForm::Rhythm;
    auto load = [this](UINT id, const CString& text) { SetCtrlData(id, text, 1, -1); };

    LoadInfoBlock(form, info, true);
    if (extra) {
        load(4014, FormCaption(form, L"Interpre_edit_lead_name_title_stc", L"誘導名称編集"));
        load(4015, info.strAnaEditor);
        load(4016, info.strAnaEditDate.Left(16));
    }
    load(3998, FormCaption(form, L"Interpre_addition_stc", L"付帯情報"));
    LoadFormAdditions(*this, item->stAddition, kPanelAddTitle, kPanelAddContent);
    load(4011, FormCaption(form, L"Interpre_addition_other", L"......"));
    load(3659, FormCaption(form, L"Interpre_comment_stc", L"コメント"));
    load(3660, FormCaption(form, L"Interpre_comment_btn", L"定型文入力"));
    load(4017, info.strComment);
    load(3662, FormCaption(form, L"Interpre_comment_title_stc", L"コメント編集"));
    load(3663, info.strCommentEditor);
    load(3664, info.strCommentEditDate.Left(16));
    load(3666, FormCaption(form, L"Interpre_confirm_date_title_stc", L"判読日時"));
    load(3668, FormCaption(form, L"Interpre_confirm_doctor_title_stc", L"判読医師"));
    load(3665, item->stPatient.strConfirmation);
    load(3667, item->stPatient.strConfirmDate.Left(16));
    load(3669, item->stPatient.strConfirmDoctor);
    if (!extra) return;
    load(4012, FormCaption(form, L"Interpre_hr_title_stc", L"心拍数(bpm)"));
    load(4013, item->stMeasure.strGlobal[0]);
}

void CMFERViewDoc::SetAnyCtrlContent(int bInit)
{
    auto load = [this, bInit](UINT id, const CString& text) { SetCtrlData(id, text, bInit, -1); };
    for (const RestNamedCaption& c : kRestMeasureCaptions)
        load(c.uID, FormCaption(MferForm::Rest, c.pszControl, c.pszDefault));
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    load(3154, FormCaption(MferForm::Rest, L"Interpre_ana_title_stc", L"解析情報編集"));
    load(3155, item->stInterpre.strAnaEditor);
    load(3156, item->stInterpre.strAnaEditDate.Left(16));

    const CString* g = item->stMeasure.strGlobal;
    auto starred = [](const CString& text) { return HasStar(text) ? CString(L"*") : text; };
    auto axis = [](const CString& text) { return HasStar(text) || _wtoi(text) == 999 ? CString(L"*") : text; };
    CString text;
    load(3169, starred(g[0]));
    load(3171, g[1]);
    load(3173, g[2]);
    text.Format(L"%s/ %s", starred(g[3]).GetString(), starred(g[4]).GetString());
    load(3175, text);
    text.Format(L"%s/ %s/ %s", axis(g[5]).GetString(), axis(g[6]).GetString(), axis(g[7]).GetString());
    load(3177, text);
    const CString rv5 = HasStar(g[8]) ? CString(L"*.*") : g[8];
    const CString sv1 = HasStar(g[9]) ? CString(L"*.*") : g[9];
    text.Format(L"%s/%s", rv5.GetString(), sv1.GetString());
    load(3179, text);
    if (HasStar(rv5) || HasStar(sv1))
        text = L"*.*";
    else
        text.Format(L"%.03f", _wtof(rv5) + _wtof(sv1));
    load(3181, text);
}

void CMFERViewDoc::SetRelevantCtrlContent(int bToRest)
{
    static const UINT kPairs[][2] = {
        {3637, 3031}, {3639, 3033}, {3641, 3035}, {3643, 3037}, {3645, 3039}, {3647, 3041}, {3649, 3043},
        {3651, 3045}, {3653, 3047}, {3655, 3049}, {3657, 3051}, {3658, 3052}, {3999, 3971}, {4000, 3972},
        {4001, 3973}, {4008, 3980}, {4009, 3981}, {4010, 3982}, {3663, 3161}, {3664, 3162},
    };
    for (const auto& pair : kPairs) {
        CString value;
        GetCtrlData(pair[bToRest ? 0 : 1], value);
        SetCtrlData(pair[bToRest ? 1 : 0], value, 1, -1);
    }
}

// ---- show states -------------------------------------------------------------------------------

void CMFERViewDoc::UpdateCtrlStatus()
{
    const _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item) return;
    // The rows held and one empty row to type the next code into.
    const int minneRows = item->stInterpre.nMinneCount + 1;
    const int ivrelRows = item->stInterpre.nIvrelCount + 1;
    // The record shows on the resting form or on a panel: both blocks count.
    UpdateFormCtrlStatus(item->stPatient.bConfirmed, {{3665, 3666}, {3163, 3164}}, [=](UINT id) {
        if (id >= kMinneMask && id < kMinneMask + 5 * INTERPRE_MINNESOTA_ROWS)
            return static_cast<int>((id - kMinneMask) % INTERPRE_MINNESOTA_ROWS) >= minneRows;
        if (id >= kIvrelCode && id < kIvrelCode + 5 * INTERPRE_IVREL_ROWS)
            return static_cast<int>((id - kIvrelCode) % INTERPRE_IVREL_ROWS) >= ivrelRows;
        return false;
    });
    if (!item->stPatient.bConfirmed) return;
    // Whether the confirmation prints is told by the panel's date and doctor
    // (3667, 3669), which every MFER form loads.
    CString date, doctor;
    GetCtrlData(3667, date);
    GetCtrlData(3669, doctor);
    const int bNeedOutput = !date.IsEmpty() || !doctor.IsEmpty() ? 1 : 0;
    for (INT_PTR i = 0; i < m_CheckArray.GetSize(); ++i) {
        CCheckValue& entry = m_CheckArray.ElementAt(i);
        const UINT id = entry.GetID();
        if ((id >= 3026 && id <= 3029) || (id >= 3164 && id <= 3167) || (id >= 3666 && id <= 3669))
            entry.SetNeedOutput(bNeedOutput);
    }
}

// ---- copying edits into the item ----------------------------------------------------------------

void CMFERViewDoc::UpDateCurItemContent()
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item || item->nID != m_nCtrlContentItem) return;
    CTavrionDoc::UpDateCurItemContent(item->stPatient);
    const MferForm form = EditedForm(*item);
    if (form == MferForm::Rest)
        CopyStoreToRest(*item);
    else if (form != MferForm::None)
        CopyStoreToPanel(*item, form);
    // An edit taken from the form the page style does not show reaches that
    // form's entries too, so that both tell the item alike again.
    const MferForm shown = GetItemForm(item);
    if (form == shown) return;
    if (shown == MferForm::Rest)
        SetRestCtrlContent();
    else if (shown == MferForm::Rhythm)
        SetRhythmCtrlContent();
}

void CMFERViewDoc::CopyStoreToRest(_MFERDATAITEM& item)
{
    _INTERPRE_INFO_REST& info = item.stInterpre;
    GetCtrlData(3631, info.stBirthday.strYear);
    GetCtrlData(3633, info.stBirthday.strMonth);
    GetCtrlData(3635, info.stBirthday.strDay);
    GetCtrlData(3031, info.strMedication1);
    GetCtrlData(3031, info.nMedication1Sel);
    GetCtrlData(3033, info.strMedication2);
    GetCtrlData(3033, info.nMedication2Sel);
    for (const InfoField& f : kInfoFields) GetCtrlData(f.uRestCaption + 1, info.*f.pField);
    UpdateCurItemAddition(static_cast<int>(item.uSystemCode), item.stAddition);

    // Rows the user emptied close up; the count is the rows held, so that
    // saving writes no empty row element (the form shows one more to type into).
    int kept = 0;
    for (UINT r = 0; r < INTERPRE_MINNESOTA_ROWS; ++r) {
        CString code;
        GetCtrlData(kMinneCode + r, code);
        if (code.IsEmpty()) continue;
        info.strMinneCode[kept] = code;
        GetCtrlData(kMinneMask + r, info.strMinneMask[kept]);
        GetCtrlData(kMinneContent + r, info.strMinneContent[kept]);
        ++kept;
    }
    info.nMinneCount = kept;
    for (int k = kept; k < INTERPRE_MINNESOTA_ROWS; ++k) {
        info.strMinneCode[k].Empty();
        info.strMinneMask[k].Empty();
        info.strMinneContent[k].Empty();
    }

    GetCtrlData(3095, info.strIvrelJudgeCode);
    GetCtrlData(3096, info.strIvrelJudge);
    kept = 0;
    for (UINT r = 0; r < INTERPRE_IVREL_ROWS; ++r) {
        CString code;
        GetCtrlData(kIvrelCode + r, code);
        if (code.IsEmpty()) continue;
        info.strIvrelCode[kept + 1] = code;
        GetCtrlData(kIvrelMask + r, info.strIvrelMask[kept + 1]);
        GetCtrlData(kIvrelContent + r, info.strIvrelContent[kept + 1]);
        ++kept;
    }
    info.nIvrelCount = kept;
    for (int k = kept + 1; k <= INTERPRE_IVREL_ROWS; ++k) {
        info.strIvrelCode[k].Empty();
        info.strIvrelMask[k].Empty();
        info.strIvrelContent[k].Empty();
    }
    GetCtrlData(4017, info.strComment);
}

void CMFERViewDoc::CopyStoreToPanel(_MFERDATAITEM& item, MferForm form)
{
    _INTERPRE_INFO_REST& info = item.stInterpre;
    if (form == MferForm::Rhythm) {
        GetCtrlData(3631, info.stBirthday.strYear);
        GetCtrlData(3633, info.stBirthday.strMonth);
        GetCtrlData(3635, info.stBirthday.strDay);
    }
    GetCtrlData(3637, info.strMedication1);
    GetCtrlData(3637, info.nMedication1Sel);
    GetCtrlData(3639, info.strMedication2);
    GetCtrlData(3639, info.nMedication2Sel);
    for (const InfoField& f : kInfoFields) GetCtrlData(f.uPanelCaption + 1, info.*f.pField);
    // The additions are taken from the rows the form shows, the panel's,
    // which the additions code knows as those of a 1-lead record: a 12- or
    // 15-lead record on a rhythm page and the extra-lead kinds (which it does
    // not know at all) would otherwise lose their edits or every addition.
    UpdateCurItemAddition(MFER_KIND_1LEAD, item.stAddition);
    GetCtrlData(4017, info.strComment);
}

// ---- change tests ----------------------------------------------------------------------------------

int CMFERViewDoc::IsPanelInfoChange(_MFERDATAITEM& item, int bBirthday)
{
    const _INTERPRE_INFO_REST& info = item.stInterpre;
    if (bBirthday && (CtrlDiffers(*this, 3631, info.stBirthday.strYear) || CtrlDiffers(*this, 3633, info.stBirthday.strMonth) ||
                      CtrlDiffers(*this, 3635, info.stBirthday.strDay)))
        return 1;
    if (CtrlDiffers(*this, 3637, MedicationText(0, info.strMedication1, info.nMedication1Sel))) return 1;
    if (CtrlDiffers(*this, 3639, MedicationText(1, info.strMedication2, info.nMedication2Sel))) return 1;
    for (const InfoField& f : kInfoFields) {
        if (CtrlDiffers(*this, f.uPanelCaption + 1, info.*f.pField)) return 1;
    }
    return 0;
}

int CMFERViewDoc::IsRestInfoChange(_MFERDATAITEM& item)
{
    const _INTERPRE_INFO_REST& info = item.stInterpre;
    if (CtrlDiffers(*this, 3031, MedicationText(0, info.strMedication1, info.nMedication1Sel))) return 1;
    if (CtrlDiffers(*this, 3033, MedicationText(1, info.strMedication2, info.nMedication2Sel))) return 1;
    for (const InfoField& f : kInfoFields) {
        if (CtrlDiffers(*this, f.uRestCaption + 1, info.*f.pField)) return 1;
    }
    return (CtrlDiffers(*this, 3631, info.stBirthday.strYear) || CtrlDiffers(*this, 3633, info.stBirthday.strMonth) ||
            CtrlDiffers(*this, 3635, info.stBirthday.strDay))
               ? 1
               : 0;
}

CMFERViewDoc::MferForm CMFERViewDoc::EditedForm(_MFERDATAITEM& item)
{
    const MferForm form = GetItemForm(&item);
    if (!IsFullLeadKind(item.uSystemCode)) return form;
    // A 12- or 15-lead record holds both forms' entries, and a host may show
    // either whatever the page style: an edit made on the other form alone
    // is taken from it, not lost to the unchanged entries of this one.
    const _ADDITIONAL_INFO& additions = item.stAddition;
    const bool rest = IsRestInfoChange(item) || IsFormAdditionChanged(*this, additions, kRestAddTitle, kRestAddContent);
    const bool rhythm =
        IsPanelInfoChange(item, 1) || IsFormAdditionChanged(*this, additions, kPanelAddTitle, kPanelAddContent);
    if (form == MferForm::Rest && !rest && rhythm) return MferForm::Rhythm;
    if (form == MferForm::Rhythm && !rhythm && rest) return MferForm::Rest;
    return form;
}

int CMFERViewDoc::IsInfoEidtChange(_MFERDATAITEM* pItem)
{
    if (!pItem) return 0;
    if (CTavrionDoc::IsEidtChange(&pItem->stPatient)) return 1;
    switch (GetItemForm(pItem)) {
    case MferForm::Rest: return IsRestInfoChange(*pItem);
    case MferForm::Rhythm: return IsPanelInfoChange(*pItem, 1);
    case MferForm::Extra: return IsPanelInfoChange(*pItem, 0);
    default: return 0;
    }
}

int CMFERViewDoc::IsAnayEidtChange(_MFERDATAITEM* pItem)
{
    if (!pItem || !IsFullLeadKind(pItem->uSystemCode)) return 0;
    const _INTERPRE_INFO_REST& info = pItem->stInterpre;
    for (UINT r = 0; r < INTERPRE_MINNESOTA_ROWS; ++r) {
        if (CtrlDiffers(*this, kMinneCode + r, info.strMinneCode[r]) || CtrlDiffers(*this, kMinneMask + r, info.strMinneMask[r]) ||
            CtrlDiffers(*this, kMinneContent + r, info.strMinneContent[r]))
            return 1;
    }
    if (CtrlDiffers(*this, 3095, info.strIvrelJudgeCode) || CtrlDiffers(*this, 3096, info.strIvrelJudge)) return 1;
    for (UINT r = 0; r < INTERPRE_IVREL_ROWS; ++r) {
        if (CtrlDiffers(*this, kIvrelCode + r, info.strIvrelCode[r + 1]) ||
            CtrlDiffers(*this, kIvrelMask + r, info.strIvrelMask[r + 1]) ||
            CtrlDiffers(*this, kIvrelContent + r, info.strIvrelContent[r + 1]))
            return 1;
    }
    return 0;
}

int CMFERViewDoc::IsCommentEditChange(_MFERDATAITEM* pItem)
{
    if (!pItem) return 0;
    return CtrlDiffers(*this, 4017, pItem->stInterpre.strComment);
}

int CMFERViewDoc::IsAdditionEditChange(_MFERDATAITEM* pItem)
{
    if (!pItem) return 0;
    // The rows of the form the record is shown on: the extra-lead form keeps
    // its additions in the panel's rows whatever its lead layout.
    const MferForm form = GetItemForm(pItem);
    if (form == MferForm::None) return 0;
    const bool panel = form != MferForm::Rest;
    const UINT title = panel ? kPanelAddTitle : kRestAddTitle;
    const UINT content = panel ? kPanelAddContent : kRestAddContent;
    return IsFormAdditionChanged(*this, pItem->stAddition, title, content);
}

int CMFERViewDoc::IsEidtChange()
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    if (!item) return 0;
    // A store never filled for this item (a dialog opened with no form
    // behind it) holds no edit of its patient, addition or comment.
    if (item->nID != m_nCtrlContentItem) return SetEditChangeFlags(0, 0, 0, 0);
    return SetEditChangeFlags(IsInfoEidtChange(item), IsAdditionEditChange(item),
                              IsCommentEditChange(item), IsAnayEidtChange(item));
}

int CMFERViewDoc::IsDoctorConfirm()
{
    _MFERDATAITEM* item = GetCurrentDataItem();
    return item ? item->stPatient.bConfirmed : 0;
}

int CMFERViewDoc::GetRhythmSenseChangeState()
{
    const int bytes = GetRhythmWaveData(GetRhythm1LeadID(), nullptr, -1);
    return bytes < 100001 ? 1 : 0;
}
