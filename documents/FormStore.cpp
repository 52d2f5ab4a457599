#include "documents/FormStore.h"

#include "core/TavrionDoc.h"

namespace {

// The dates of the forms show year to minute.
const int kShownDateLength = 16;

const int kAdditionRows = 3;

struct BoundText {
    UINT uID;
    const CString* pValue;
};

void LoadTexts(CTavrionDoc& doc, const BoundText* texts, size_t count)
{
    for (size_t i = 0; i < count; ++i) doc.SetCtrlData(texts[i].uID, *texts[i].pValue, 1, -1);
}

int AnyDiffers(CTavrionDoc& doc, const BoundText* texts, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (CtrlDiffers(doc, texts[i].uID, *texts[i].pValue)) return 1;
    }
    return 0;
}

// The interpretation block in the store's order; the birthday's three
// come first and are left out when the form has none.
const size_t kBirthdayTexts = 3;
const size_t kInfoTexts = 13;
void InfoTexts(const _INTERPRE_INFO_GENERAL& info, const CString& med1, const CString& med2,
               BoundText (&texts)[kInfoTexts])
{
    const BoundText all[kInfoTexts] = {
        {3631, &info.stBirthday.strYear}, {3633, &info.stBirthday.strMonth}, {3635, &info.stBirthday.strDay},
        {3637, &med1},                    {3639, &med2},                     {3641, &info.strSympton},
        {3643, &info.strDisease},         {3645, &info.strDepartment},       {3647, &info.strWard},
        {3649, &info.strRoomNumber},      {3651, &info.strReqSection},       {3653, &info.strReqDoctor},
        {3655, &info.strTechnician},
    };
    for (size_t i = 0; i < kInfoTexts; ++i) texts[i] = all[i];
}

size_t FirstInfoText(FormBirthday birthday)
{
    return birthday == FormBirthday::Shown ? 0 : kBirthdayTexts;
}

}  // namespace

const CaptionBinding kRhyRRCaptions[21] = {
    {3630, 0, L"生年月日"},        {3632, 2, L"/"},             {3634, 4, L"/"},
    {3636, 6, L"投薬情報1"},       {3638, 8, L"投薬情報2"},     {3640, 10, L"自覚症状"},
    {3642, 12, L"既往症"},         {3644, 14, L"所属科"},       {3646, 16, L"病棟"},
    {3648, 18, L"部屋番号"},       {3650, 20, L"依頼科"},       {3652, 22, L"依頼医師"},
    {3654, 24, L"検査技師"},       {3656, 26, L"被検者情報編集"}, {3998, 29, L"付帯情報"},
    {4011, 42, L"......"},         {3659, 43, L"コメント"},     {3660, 44, L"定型文入力"},
    {3662, 46, L"コメント編集"},   {3666, 50, L"判読日時"},     {3668, 52, L"判読医師"},
};

void LoadFormCaptions(CTavrionDoc& doc, const _POSITION_CTRL* table, const CaptionBinding* captions, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const CaptionBinding& c = captions[i];
        const CString& caption = table ? table[c.nEntry].strCaption : CString();
        doc.SetCtrlData(c.uID, caption.IsEmpty() ? CString(c.pszDefault) : caption, 1, -1);
    }
}

bool CtrlDiffers(CTavrionDoc& doc, UINT uID, const CString& value)
{
    CString current;
    doc.GetCtrlData(uID, current);
    return current.Compare(value) != 0;
}

void LoadFormAdditions(CTavrionDoc& doc, const _ADDITIONAL_INFO& addition, UINT uTitle, UINT uContent)
{
    for (int row = 0; row < kAdditionRows; ++row) {
        doc.SetCtrlData(uTitle + row, addition.strTitle[row], 1, -1);
        doc.SetCtrlData(uContent + row, addition.strContent[row], 1, -1);
    }
}

int IsFormAdditionChanged(CTavrionDoc& doc, const _ADDITIONAL_INFO& addition, UINT uTitle, UINT uContent)
{
    for (int row = 0; row < kAdditionRows; ++row) {
        if (CtrlDiffers(doc, uTitle + row, addition.strTitle[row])) return 1;
        if (CtrlDiffers(doc, uContent + row, addition.strContent[row])) return 1;
    }
    return 0;
}

void LoadRhyRRInfo(CTavrionDoc& doc, const _INTERPRE_INFO_GENERAL& info, const CString& strMedication1,
                   const CString& strMedication2, FormBirthday birthday)
{
    BoundText texts[kInfoTexts];
    InfoTexts(info, strMedication1, strMedication2, texts);
    const size_t first = FirstInfoText(birthday);
    LoadTexts(doc, texts + first, kInfoTexts - first);
    // The medications carry their list positions too: copying back takes
    // them from the store, and a store without them would lose them.
    doc.SetCtrlData(3637, strMedication1, 1, info.nMedication1Sel);
    doc.SetCtrlData(3639, strMedication2, 1, info.nMedication2Sel);
}

int IsRhyRRInfoChanged(CTavrionDoc& doc, const _INTERPRE_INFO_GENERAL& info, const CString& strMedication1,
                       const CString& strMedication2, FormBirthday birthday)
{
    BoundText texts[kInfoTexts];
    InfoTexts(info, strMedication1, strMedication2, texts);
    const size_t first = FirstInfoText(birthday);
    return AnyDiffers(doc, texts + first, kInfoTexts - first);
}

void LoadRhyRRComment(CTavrionDoc& doc, const CString& strComment, const CString& strEditor, const CString& strDate,
                      const _PATIENT_INFO& patient)
{
    const CString date = strDate.Left(kShownDateLength);
    const CString confirmDate = patient.strConfirmDate.Left(kShownDateLength);
    const BoundText texts[] = {
        {4017, &strComment}, {3663, &strEditor}, {3664, &date}, {3665, &patient.strConfirmation},
        {3667, &confirmDate}, {3669, &patient.strConfirmDoctor},
    };
    LoadTexts(doc, texts, sizeof texts / sizeof texts[0]);
}
