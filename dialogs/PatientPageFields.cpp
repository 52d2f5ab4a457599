#include "dialogs/PatientPageFields.h"

#include "core/ECGXMLParser.h"
#include "core/PatientInfo.h"
#include "core/TavrionDoc.h"
#include "core/TavrionMessage.h"
#include "dialogs/CheckInputValue.h"
#include "platform/base/DateTime.h"
#include "platform/ui/framework/Wnd.h"

namespace {

const wchar_t* const kSexItems[] = {L"不明", L"男", L"女"};
const wchar_t* const kAgeUnits[] = {L"歳", L"ヶ月", L"週", L"日", L"時間"};
const wchar_t kJudgementList[] = L"/Ivrel/Judgement_code/Code";

CString Text(const CWnd& page, int id)
{
    CString text;
    if (CWnd* control = page.GetDlgItem(id)) control->GetWindowText(text);
    return text;
}

// The patient record and birthday fields with the page's ids, in the order
// the pages compare them.
template <class Patient, class Birthday, class Visit>
void EachPatientField(const _PATIENT_PAGE_IDS& ids, Patient& p, Birthday& b, Visit visit)
{
    visit(ids.nPatientID, p.strPatientID);
    visit(ids.nSubID, p.strSubID);
    visit(ids.nName, p.strName);
    visit(ids.nKanaName, p.strKanaName);
    visit(ids.nSex, p.strSex);
    visit(ids.nAge, p.strAge);
    visit(ids.nAgeUnit, p.strAgeUnit);
    visit(ids.nSubAge, p.strSubAge);
    visit(ids.nBirthYear, b.strYear);
    visit(ids.nBirthMonth, b.strMonth);
    visit(ids.nBirthDay, b.strDay);
    visit(ids.nHeight, p.strHeight);
    visit(ids.nWeight, p.strWeight);
    visit(ids.nBpHigh, p.strBpHigh);
    visit(ids.nBpLow, p.strBpLow);
}

CString Stored(const CString* field)
{
    return field ? *field : CString();
}

// A field as the page shows a stored value: the sex list shows none of a
// sex it does not hold (an "M" another system wrote).
CString AsShown(const _PATIENT_PAGE_IDS& ids, int id, const CString& stored)
{
    if (id != ids.nSex) return stored;
    for (const wchar_t* item : kSexItems)
        if (stored == item) return stored;
    return CString();
}

// A medication kept only as a list position shows as that entry of the
// list (the list's last entry is never taken that way).
CString MedicationAsShown(const CString& stored, int selection, CTavrionDoc* doc, int list)
{
    CStringArray* strings = doc ? doc->GetEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(list)) : nullptr;
    const int size = strings ? static_cast<int>(strings->GetSize()) : 0;
    if (stored.IsEmpty() && selection >= 0 && selection < size - 1) return strings->GetAt(selection);
    return stored;
}

CString PartName(const wchar_t* part)
{
    CString name;
    name.Format(L"%s %s", L"生年月日", part);
    return name;
}

bool IsRealDate(int y, int m, int d)
{
    COleDateTime date;
    return date.SetDate(y, m, d) == 0 && date.GetStatus() == COleDateTime::valid && date.GetYear() == y &&
           date.GetMonth() == m && date.GetDay() == d;
}

}  // namespace

bool SharedFieldsDiffer(const CWnd& page, const _PATIENT_PAGE_IDS& ids, const _PATIENT_PAGE_TARGET& target,
                        CTavrionDoc* doc)
{
    const _PATIENT_INFO patient = target.pPatient ? *target.pPatient : _PATIENT_INFO();
    const _BIRTHDAY birthday = target.pBirthday ? *target.pBirthday : _BIRTHDAY();
    bool differs = false;
    EachPatientField(ids, patient, birthday, [&](int id, const CString& stored) {
        if (!differs && Text(page, id) != AsShown(ids, id, stored)) differs = true;
    });
    if (differs) return true;
    for (int m = 0; m < 2; ++m) {
        const int selection = target.pMedicationSel[m] ? *target.pMedicationSel[m] : -1;
        if (Text(page, ids.nMedication[m]) != MedicationAsShown(Stored(target.pMedication[m]), selection, doc, m))
            return true;
    }
    for (int i = 0; i < PATIENT_PAGE_REQUESTS; ++i) {
        if (Text(page, ids.nRequest[i]) != Stored(target.pRequest[i])) return true;
    }
    return Text(page, ids.nRoom) != Stored(target.pRoom);
}

void WritePatientFields(CWnd& page, const _PATIENT_PAGE_IDS& ids, const _PATIENT_PAGE_TARGET& target, CTavrionDoc* doc)
{
    if (!target.pPatient || !target.pBirthday) return;
    // The sub-age unit label follows the age-unit list, not the record: it is
    // taken only when the age unit or the sub-age was edited, so that an
    // untouched age keeps the unit it was stored with.
    const bool ageEdited = Text(page, ids.nAgeUnit) != target.pPatient->strAgeUnit ||
                           Text(page, ids.nSubAge) != target.pPatient->strSubAge;
    // A value the page could not show and the person did not change stays
    // as stored.
    EachPatientField(ids, *target.pPatient, *target.pBirthday, [&](int id, CString& stored) {
        const CString shown = Text(page, id);
        if (shown != AsShown(ids, id, stored)) stored = shown;
    });
    if (ageEdited) target.pPatient->strSubAgeUnit = Text(page, ids.nSubAgeUnit);
    for (int m = 0; m < 2; ++m) {
        // A medication that still reads as stored keeps its text and its list
        // position: the combo shows a stored position as text without
        // selecting it, and its -1 would lose the position.
        const int selection = target.pMedicationSel[m] ? *target.pMedicationSel[m] : -1;
        const CString shown = Text(page, ids.nMedication[m]);
        if (shown == MedicationAsShown(Stored(target.pMedication[m]), selection, doc, m)) continue;
        if (target.pMedication[m]) *target.pMedication[m] = shown;
        if (target.pMedicationSel[m])
            *target.pMedicationSel[m] = static_cast<int>(page.SendDlgItemMessage(ids.nMedication[m], CB_GETCURSEL));
    }
    for (int i = 0; i < PATIENT_PAGE_REQUESTS; ++i) {
        if (target.pRequest[i]) *target.pRequest[i] = Text(page, ids.nRequest[i]);
    }
    if (target.pRoom) *target.pRoom = Text(page, ids.nRoom);
}

int CheckAges(const CString& age, const CString& subAge, bool b8000)
{
    if (CheckInputValue(age, L"被検者情報の年齢", 1000, 0, 1, 0, 0)) return 255;
    if (!b8000 && CheckInputValue(subAge, L"被検者情報の下位年齢", 100, 0, 1, 0, 0)) return 255;
    return 0;
}

int CheckBirthDate(const CString& year, const CString& month, const CString& day)
{
    if (year.Find(L'*') >= 0 || month.Find(L'*') >= 0 || day.Find(L'*') >= 0) return 0;
    const int y = _wtoi(year), m = _wtoi(month), d = _wtoi(day);
    if (y == 0 && m == 0 && d == 0) return 0;
    if (CheckInputValue(year, PartName(L"年"), 2050, 1900, 1, 0, 0)) return 255;
    if (CheckInputValue(month, PartName(L"月"), 12.1f, 1, 1, 0, 0)) return 255;
    if (CheckInputValue(day, PartName(L"日"), 31.1f, 1, 1, 0, 0)) return 255;
    if (IsRealDate(y, m, d)) return 0;
    CString message;
    message.Format(L"%s %s", L"生年月日", L"無効値です");
    CTavrionMessage box(message, 0, nullptr, kInvalidValueCaption, MB_OK | MB_ICONEXCLAMATION);
    return 255;
}

int CheckTripCounts(const CString& trip, const CString& total, const wchar_t* label, bool b8000)
{
    if (trip.Find(L'*') >= 0 || total.Find(L'*') >= 0) return 0;
    if (CheckInputValue(trip, label, b8000 ? 255.1f : 999.1f, 0, 1, 0, 0)) return 255;
    if (CheckInputValue(total, label, b8000 ? 256.1f : 999.1f, 0, 1, 0, 0)) return 255;
    return 0;
}

int CheckBodySize(const CString& height, const CString& weight)
{
    if (CheckInputValue(height, L"被検者情報の身長", 999.9f, 0, 1, 1, 0)) return 255;
    if (CheckInputValue(weight, L"被検者情報の体重", 999.9f, 0, 1, 1, 0)) return 255;
    return 0;
}

void FillSexAndAgeUnits(CWnd& page, int sex, int ageUnit)
{
    for (const wchar_t* item : kSexItems) page.SendDlgItemMessage(sex, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    for (const wchar_t* unit : kAgeUnits)
        page.SendDlgItemMessage(ageUnit, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(unit));
}

CString SubAgeUnitAfter(int selection)
{
    const int count = static_cast<int>(sizeof kAgeUnits / sizeof kAgeUnits[0]);
    if (selection < 0) return kAgeUnits[0];
    return selection + 1 < count ? CString(kAgeUnits[selection + 1]) : CString();
}

void FillJudgementList(CWnd& page, int combo, CECGXMLParser& ivrel)
{
    page.SendDlgItemMessage(combo, CB_RESETCONTENT);
    const int count = ivrel.GetObjectCount(kJudgementList);
    for (int i = 1; i <= count; ++i) {
        CString path, text;
        path.Format(L"%s[%d]/%s", kJudgementList, i, L"Japanese_text");
        ivrel.GetDataFromXMLDOM(text, path, 4, CString());
        page.SendDlgItemMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.GetString()));
    }
}

void JudgementAt(CECGXMLParser& ivrel, int selection, CString& text, CString& code)
{
    text.Empty();
    code.Empty();
    if (selection < 0) return;
    CString path;
    path.Format(L"%s[%d]/%s", kJudgementList, selection + 1, L"Japanese_text");
    ivrel.GetDataFromXMLDOM(text, path, 4, CString());
    path.Format(L"%s[%d]", kJudgementList, selection + 1);
    ivrel.GetDataFromXMLDOM(code, path, 2, L"value");
}
