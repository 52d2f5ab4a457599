#include "platform/xml/XmlText.h"

#include "platform/base/CodePage.h"

namespace platform {
namespace xmltext {

bool IsXmlChar(wchar_t ch)
{
    const unsigned long c = static_cast<unsigned long>(ch);
    if (c == 0x9 || c == 0xA || c == 0xD) return true;
    if (c >= 0x20 && c <= 0xD7FF) return true;
    if (c >= 0xE000 && c <= 0xFFFD) return true;
    return c >= 0x10000 && c <= 0x10FFFF;
}

std::string ToXmlUtf8(const CString& text)
{
    std::wstring clean(text.str());
    for (wchar_t& ch : clean) {
        if (!IsXmlChar(ch)) ch = L'?';
    }
    return ToUtf8(clean);
}

CString FromXmlUtf8(const unsigned char* text)
{
    if (!text) return CString();
    return CString(FromUtf8(reinterpret_cast<const char*>(text)));
}

}  // namespace xmltext
}  // namespace platform
