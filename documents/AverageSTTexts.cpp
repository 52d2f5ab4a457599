#include "documents/AverageSTTexts.h"

#include <cwchar>

namespace {

// The integer a measured text holds, when the whole text (blanks aside) is one.
bool ParseWholeNumber(const CString& text, long& value)
{
    CString trimmed = text;
    trimmed.Trim();
    if (trimmed.IsEmpty()) return false;
    wchar_t* end = nullptr;
    value = std::wcstol(trimmed.GetString(), &end, 10);
    return end && *end == L'\0' && end != trimmed.GetString();
}

}  // namespace

void FillAverageSTTexts(const _MEASURE_INFO& measure, CString (&st)[MEASURE_LEADS])
{
    for (int lead = 0; lead < MEASURE_LEADS; ++lead) {
        long microvolts = 0;
        if (ParseWholeNumber(measure.At(AVERAGE_ST_ROW, lead), microvolts))
            st[lead].Format(L"%ld", microvolts);
        else
            st[lead] = L"****";
    }
}

CString HeartRateText(const _MEASURE_INFO& measure)
{
    long rate = 0;
    CString text;
    if (ParseWholeNumber(measure.strGlobal[0], rate) && rate > 0) text.Format(L"%ld", rate);
    return text;
}
