// Text encodings of record items, through glibc's iconv.
#pragma once

#include <string>

namespace morvelance {

enum class TextEncoding {
    EucJp,  // "EUC-JP": the encoding of the record's text items
    Cp932,  // "CP932" (Windows Shift_JIS)
    Utf8,   // stored as is
};

const char* IconvName(TextEncoding encoding);

// Converts UTF-8 text. Returns false (with a message) when the text is not
// valid UTF-8 or has a character the encoding cannot represent.
bool EncodeText(const std::string& utf8, TextEncoding encoding, std::string* out, std::string* error);
// Converts encoded bytes back to UTF-8 (stops at the first NUL).
bool DecodeText(const std::string& bytes, TextEncoding encoding, std::string* utf8, std::string* error);

// Encodes whole characters while they fit in maxBytes (so a multi-byte
// character is never cut). Returns false on an unencodable character.
bool EncodeTextLimited(const std::string& utf8, TextEncoding encoding, size_t maxBytes, std::string* out,
                       std::string* error);

}  // namespace morvelance
