#include "dialogs/CheckInputValue.h"

#include <cwchar>

#include "core/TavrionMessage.h"

const wchar_t* const kInvalidValueCaption = L"無効値です";

namespace {

int Refuse(const CString& message)
{
    CTavrionMessage box(message, 0, nullptr, kInvalidValueCaption, MB_OK);
    return 255;
}

CString Bound(float value, int decimal)
{
    CString text;
    if (decimal) {
        text.Format(L"%6.1f", static_cast<double>(value));
    } else {
        text.Format(L"%d", static_cast<int>(value));
    }
    return text;
}

}  // namespace

int CheckInputValue(CString text, CString name, float upper, float lower, int check, int decimal, int /*reserved*/)
{
    if (!check) return 0;
    text.Trim();
    if (text.IsEmpty()) return 0;

    // A second point would be read as a smaller number than the one typed and
    // then stored as typed, so it is refused like any other stray character.
    int points = 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        const wchar_t c = text[i];
        if (c >= L'0' && c <= L'9') continue;
        if (decimal && c == L'.' && ++points == 1) continue;
        return Refuse(name + (decimal ? L" should be unsigned float number!" : L" should be unsigned integer number!"));
    }

    const double value = std::wcstod(text.GetString(), nullptr);
    if (value >= lower && value <= upper) return 0;
    return Refuse(name + L" must be between " + Bound(lower, decimal) + L" and " + Bound(upper, decimal) + L" ! ");
}
