#include "documents/TripCounts.h"

#include <cwchar>

namespace {

bool IsPlainNumber(const CString& text)
{
    if (text.IsEmpty() || text.GetLength() > 9) return false;
    for (int i = 0; i < text.GetLength(); ++i)
        if (text[i] < L'0' || text[i] > L'9') return false;
    return true;
}

}  // namespace

CString TripCountShown(const CString& stored)
{
    return stored == L"*" ? CString() : stored;
}

CString TripCountFromBox(const CString& text, const CString& stored, bool b8000, int limit)
{
    if (text == TripCountShown(stored)) return stored;
    if (text.IsEmpty()) return text;
    if (!IsPlainNumber(text)) return b8000 ? CString() : text;
    const long value = std::wcstol(text.GetString(), nullptr, 10);
    if (b8000 && value > limit) return CString();
    CString count;
    count.Format(L"%ld", value);
    return count;
}
