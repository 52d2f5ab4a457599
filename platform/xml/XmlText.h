// Text passing between the system's wide strings and libxml2's UTF-8.
#pragma once

#include <string>

#include "platform/base/Strings.h"

namespace platform {
namespace xmltext {

// Whether XML 1.0 allows the character in a document at all.
bool IsXmlChar(wchar_t ch);
// UTF-8 of the text; characters XML cannot hold become '?', as the code page
// layer's default character would, so a saved file always reads back.
std::string ToXmlUtf8(const CString& text);
// Wide text of libxml2's UTF-8 (null gives "").
CString FromXmlUtf8(const unsigned char* text);

}  // namespace xmltext
}  // namespace platform
