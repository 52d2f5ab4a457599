// The value formatting and confirmation lines of CECGPrintBase: the report
// never prints a raw record value.
#include <cwctype>

#include "core/PatientInfo.h"
#include "core/TavrionDoc.h"
#include "documents/ExerViewDoc.h"
#include "documents/ExtraViewDoc.h"
#include "documents/FinalViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "platform/base/DateTime.h"
#include "platform/base/Kernel.h"
#include "reports/ECGPrintBase.h"

namespace {
constexpr int kRestPrintTable = 8;

CString Number(const CString& text)
{
    CString out;
    if (!text.IsEmpty()) out.Format(L"%d", _wtoi(text));
    return out;
}

bool StartsWithNumber(const CString& text)
{
    CString trimmed = text;
    trimmed.TrimLeft();
    int i = 0;
    if (i < trimmed.GetLength() && (trimmed[i] == L'-' || trimmed[i] == L'+')) ++i;
    return i < trimmed.GetLength() && std::iswdigit(trimmed[i]);
}

CString First16(const CString& text)
{
    return text.Left(16);
}

// The age's two numbers and units by the age style.
struct AgeParts {
    const CString* n1;
    const wchar_t* u1;
    const CString* n2;
    const wchar_t* u2;
};

AgeParts AgePartsOf(const _XML_ATTRIB_AGE& age)
{
    switch (age.nUnit) {
    case 0:
    case 16: return {&age.strYear, L"歳", &age.strMonth, L"ヶ月"};
    case 1:
    case 17: return {&age.strMonth, L"ヶ月", &age.strWeek, L"週"};
    case 2:
    case 18: return {&age.strWeek, L"週", &age.strDay, L"日"};
    case 3:
    case 19: return {&age.strDay, L"日", &age.strHour, L"時間"};
    case 4: return {&age.strHour, L"時間", nullptr, L""};
    default: return {nullptr, L"", nullptr, L""};
    }
}

bool HasStar(const CString& value)
{
    return value.Find(L'*') >= 0;
}
}  // namespace

// ---- patient values ----------------------------------------------------------------------------

CString CECGPrintBase::FormatPrintAge(const CString& strXPath)
{
    _XML_ATTRIB_AGE age;
    if (!m_pXMLParser || !m_pXMLParser->GetAgeAttrib(age, strXPath)) return CString();
    const AgeParts parts = AgePartsOf(age);
    const BOOL model8000 = m_pDoc && m_pDoc->Is8000File();
    CString n1 = parts.n1 ? Number(*parts.n1) : CString();
    CString u1 = parts.u1;
    CString n2 = parts.n2 && !model8000 ? Number(*parts.n2) : CString();
    CString u2 = model8000 ? L"" : parts.u2;
    auto inRange = [&](const CString& n, float maximum) {
        return !m_pDoc || m_pDoc->CheckDataRange(n, maximum, 0.0f, 1, 0);
    };
    if (!inRange(n1, model8000 ? 100.0f : 1000.0f)) n1.Empty();
    if (!model8000 && !inRange(n2, 100.0f)) n2.Empty();
    CString text;
    const bool first = !n1.IsEmpty() && _wtoi(n1) > 0;
    const bool second = !n2.IsEmpty() && _wtoi(n2) > 0;
    if (first && second)
        text.Format(L"%s %s %s %s", n1.GetString(), u1.GetString(), n2.GetString(), u2.GetString());
    else if (first)
        text.Format(L"%s %s", n1.GetString(), u1.GetString());
    else if (second)
        text.Format(L"%s %s %s", u1.GetString(), n2.GetString(), u2.GetString());
    return text;
}

CString CECGPrintBase::FormatPrintBirthday(const CString& strXPath)
{
    if (!m_pXMLParser || !m_pDoc) return CString();
    auto part = [&](const wchar_t* name, const wchar_t* format) {
        CString value, text;
        if (m_pXMLParser->GetDataFromXMLDOM(value, strXPath, 2, CString(name)) && !value.IsEmpty())
            text.Format(format, _wtoi(value));
        return text;
    };
    _BIRTHDAY birthday;
    birthday.strYear = part(L"year", L"%04d");
    birthday.strMonth = part(L"month", L"%02d");
    birthday.strDay = part(L"day", L"%02d");
    birthday = m_pDoc->CheckBirthday(birthday);
    const int year = _wtoi(birthday.strYear), month = _wtoi(birthday.strMonth), day = _wtoi(birthday.strDay);
    const bool valid = COleDateTime(year, month, day, 0, 0, 0).GetStatus() == COleDateTime::valid;
    if (m_pDoc->Is8000File()) return CString();
    if (year <= 0 && month <= 0 && day <= 0) return CString(L"( / / )");
    if (!valid) return CString();
    CString text;
    text.Format(L"(%s-%s-%s)", birthday.strYear.GetString(), birthday.strMonth.GetString(),
                birthday.strDay.GetString());
    return text;
}

CString CECGPrintBase::FormatWeightHeight(const CString& strIntPath, const CString& strDecPath)
{
    const CString whole = ReadXml(strIntPath);
    const CString decimal = ReadXml(strDecPath);
    if (whole.IsEmpty() && decimal.IsEmpty()) return CString();
    const int n = _wtoi(whole), d = _wtoi(decimal);
    CString text;
    if (n == 0 && d == 0) {
        text = L"0";
    } else {
        if (d == 0)
            text.Format(L"%d", n);
        else
            text.Format(L"%d.%d", n, _wtoi(decimal.Left(1)));
        if (_wtof(text) == 0.0) text.Empty();
    }
    if (!text.IsEmpty() && m_pDoc && !m_pDoc->CheckDataRange(text, 999.9f, 0.0f, 1, 1)) text.Empty();
    return text;
}

CString CECGPrintBase::FormatBPValue(CString strUnit, const CString& strXPath)
{
    CString value = ReadXml(strXPath);
    // Text that is no number is no pressure: it prints nothing, not "0".
    if (!StartsWithNumber(value) || _wtoi(value) < 0) return CString();
    if (_wtoi(value) == 0) return CString(L"0");
    const float maximum = strUnit.CompareNoCase(L"kPa") == 0 ? 100.0f : 1000.0f;
    if (m_pDoc && !m_pDoc->CheckDataRange(value, maximum, 0.0f, 1, 0)) return CString();
    return Number(value);
}

CString CECGPrintBase::FormatUnit(const CString& strXPath, _DATA_UNIT_INFO kind)
{
    const bool alternative = _wtoi(ReadXml(strXPath)) == 1;
    switch (kind) {
    case DATA_UNIT_HEIGHT: return alternative ? L"in" : L"cm";
    case DATA_UNIT_WEIGHT: return alternative ? L"lb" : L"kg";
    case DATA_UNIT_BP: return alternative ? L"kPa" : L"mmHg";
    default: return CString();
    }
}

// ---- analysis values ---------------------------------------------------------------------------

CString CECGPrintBase::FormatAnalyseInfo(int nRow, int nAlternative)
{
    const int row = nAlternative ? nRow + 12 : nRow;
    const bool known = row >= 40 && row <= 52 && row % 2 == 0;
    if (!known || !m_pDoc) return CString();
    CString values[3];
    bool missing[3];
    for (int i = 0; i < 3; ++i) {
        missing[i] = !m_pXMLParser ||
                     !m_pXMLParser->GetDataFromXMLDOM(values[i], m_pDoc->GetDefXMLPath(kRestPrintTable, row, i), 4,
                                                      CString());
    }
    auto starred = [&](int i) { return missing[i] || HasStar(values[i]) ? CString(L"*") : values[i]; };
    auto decimal = [&](int i) {
        CString text = L"*.*";
        if (!missing[i] && !HasStar(values[i])) text.Format(L"%.03f", _wtof(values[i]));
        return text;
    };
    CString text;
    switch (row) {
    case 40: return starred(0);
    case 42:
    case 44: return missing[0] ? CString(L"****") : values[0];
    case 46: text.Format(L"%s/ %s", starred(0).GetString(), starred(1).GetString()); return text;
    case 48: {
        CString part[3];
        for (int i = 0; i < 3; ++i) part[i] = !missing[i] && _wtoi(values[i]) == 999 ? CString(L"*") : starred(i);
        text.Format(L"%s/ %s/ %s", part[0].GetString(), part[1].GetString(), part[2].GetString());
        return text;
    }
    case 50: text.Format(L"%s/%s", decimal(0).GetString(), decimal(1).GetString()); return text;
    default:
        if (missing[0] || missing[1] || HasStar(values[0]) || HasStar(values[1])) return CString(L"*.*");
        text.Format(L"%.03f", _wtof(values[0]) + _wtof(values[1]));
        return text;
    }
}

// ---- confirmation lines ------------------------------------------------------------------------

CString CECGPrintBase::ConfirmLine(const _PATIENT_INFO& patient, int bDoctorConfirmed) const
{
    if (!bDoctorConfirmed) return patient.strConfirmation;
    CString line;
    line.Format(L"%s%s %s%s", L"判読日時  : ", First16(patient.strConfirmDate).GetString(), L"判読医師  : ",
                patient.strConfirmDoctor.GetString());
    return line;
}

BOOL CECGPrintBase::IsDocKind(std::initializer_list<int> kinds) const
{
    for (int kind : kinds)
        if (m_DocType == kind) return TRUE;
    return FALSE;
}

namespace {
// The confirmation line for kind 0, the three date-time texts for 1 to 3.
CString PickDateTime(_DATA_TIME_INFO kind, const CString& line, const CString& d1, const CString& d2,
                     const CString& d3)
{
    switch (kind) {
    case DATA_TIME_CONFIRM: return line;
    case DATA_TIME_1: return First16(d1);
    case DATA_TIME_2: return First16(d2);
    case DATA_TIME_3: return First16(d3);
    default: return CString();
    }
}
}  // namespace

CString CECGPrintBase::GetRestConfirmInfo(_DATA_TIME_INFO)
{
    auto* doc = dynamic_cast<CRestViewDoc*>(m_pDoc);
    _RESTDATAITEM* item = doc && IsDocKind({0}) ? doc->GetCurrentDataItem() : nullptr;
    return item ? ConfirmLine(item->stPatient, item->bDoctorConfirm) : CString();
}

CString CECGPrintBase::GetFinalConfirmInfo(_DATA_TIME_INFO)
{
    auto* doc = dynamic_cast<CFinalViewDoc*>(m_pDoc);
    _FINALDATAITEM* item = doc && IsDocKind({1}) ? doc->GetCurrentDataItem() : nullptr;
    return item ? ConfirmLine(item->stPatient, item->stPatient.bConfirmed) : CString();
}

CString CECGPrintBase::GetRhythmConfirmInfo(_DATA_TIME_INFO kind)
{
    auto* doc = dynamic_cast<CRhythmViewDoc*>(m_pDoc);
    _RHYTHMDATAITEM* item = doc && IsDocKind({2}) ? doc->GetCurrentDataItem() : nullptr;
    if (!item) return CString();
    return PickDateTime(kind, ConfirmLine(item->stPatient, item->bConfirmed), item->strInfoEditDate,
                        item->strAnalysisEditDate, item->strCommentDate);
}

CString CECGPrintBase::GetRRConfirmInfo(_DATA_TIME_INFO kind)
{
    auto* doc = dynamic_cast<CRRViewDoc*>(m_pDoc);
    _RRDATAITEM* item = doc && IsDocKind({3}) ? doc->GetCurrentDataItem() : nullptr;
    if (!item) return CString();
    return PickDateTime(kind, First16(item->stPatient.strConfirmDate), item->strInfoEditDate,
                        item->strAnalysisEditDate, item->strCommentDate);
}

CString CECGPrintBase::GetExtraConfirmInfo(_DATA_TIME_INFO kind)
{
    if (IsDocKind({6})) return GetMFERConfirmInfo(kind);
    auto* doc = dynamic_cast<CExtraViewDoc*>(m_pDoc);
    _EXTRADATAITEM* item = doc && IsDocKind({4}) ? doc->GetCurrentDataItem() : nullptr;
    if (!item) return CString();
    return PickDateTime(kind, ConfirmLine(item->stPatient, item->stPatient.bConfirmed), item->strInfoEditDate,
                        item->strLeadNameEditDate, item->strCommentEditDate);
}

CString CECGPrintBase::GetMFERConfirmInfo(_DATA_TIME_INFO kind)
{
    auto* doc = dynamic_cast<CMFERViewDoc*>(m_pDoc);
    _MFERDATAITEM* item = doc && IsDocKind({6}) ? doc->GetCurrentDataItem() : nullptr;
    if (!item) return CString();
    return PickDateTime(kind, ConfirmLine(item->stPatient, m_pDoc->IsDoctorConfirm()), item->stInterpre.strInfoEditDate,
                        item->stInterpre.strAnaEditDate, item->stInterpre.strCommentEditDate);
}

CString CECGPrintBase::GetExerConfirmInfo(_DATA_TIME_INFO kind)
{
    auto* doc = dynamic_cast<CExerViewDoc*>(m_pDoc);
    _EXERDATAITEM* item = doc && IsDocKind({5}) ? doc->GetCurrentDataItem() : nullptr;
    if (!item) return CString();
    return PickDateTime(kind, First16(item->stPatient.strConfirmDate), item->stInterpre.strPatientEditDate,
                        item->stInterpre.strAnalysisEditDate, item->stInterpre.strCommentEditDate);
}
