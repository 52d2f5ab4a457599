#include "platform/base/CodePage.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

// iconv's names for the code pages the system uses. CP_ACP is the ANSI code
// page of a Japanese Windows installation.
const char* IconvName(UINT codePage)
{
    switch (codePage) {
    case CP_ACP:
    case 932: return "CP932";
    case 936: return "CP936";
    case 65001: return "UTF-8";
    case 1252: return "CP1252";
    case 20127: return "ASCII";
    case 20932:
    case 51932: return "EUC-JP";
    default: return nullptr;
    }
}

// wchar_t is UTF-32 in host byte order here.
const char* kWideName = "WCHAR_T";

class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (Ok()) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return m_cd; }

private:
    iconv_t m_cd;
};

// Decodes multibyte text; an undecodable byte becomes U+30FB ("・"), the
// way the platform substitutes a character it cannot map, and the walk
// goes on with the next byte.
std::wstring Decode(const char* charset, const char* bytes, size_t length)
{
    std::wstring out;
    if (!bytes || length == 0) return out;
    Converter conv(kWideName, charset);
    if (!conv.Ok()) return out;
    out.reserve(length);
    char* in = const_cast<char*>(bytes);
    size_t inLeft = length;
    std::vector<wchar_t> chunk(256);
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(chunk.data());
        size_t outLeft = chunk.size() * sizeof(wchar_t);
        size_t rc = iconv(conv.Get(), &in, &inLeft, &outPtr, &outLeft);
        size_t produced = (chunk.size() * sizeof(wchar_t) - outLeft) / sizeof(wchar_t);
        out.append(chunk.data(), produced);
        if (rc != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL (a truncated sequence at the end): skip one byte.
        out.push_back(L'\x30FB');
        ++in;
        --inLeft;
        iconv(conv.Get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

// Encodes wide text; a character the code page cannot hold becomes '?'.
std::string Encode(const char* charset, const wchar_t* text, size_t length, bool* usedDefault)
{
    std::string out;
    if (usedDefault) *usedDefault = false;
    if (!text || length == 0) return out;
    Converter conv(charset, kWideName);
    if (!conv.Ok()) return out;
    out.reserve(length * 2);
    char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(text));
    size_t inLeft = length * sizeof(wchar_t);
    char chunk[512];
    while (inLeft > 0) {
        char* outPtr = chunk;
        size_t outLeft = sizeof(chunk);
        size_t rc = iconv(conv.Get(), &in, &inLeft, &outPtr, &outLeft);
        out.append(chunk, sizeof(chunk) - outLeft);
        if (rc != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        out.push_back('?');
        if (usedDefault) *usedDefault = true;
        in += sizeof(wchar_t);
        inLeft -= inLeft >= sizeof(wchar_t) ? sizeof(wchar_t) : inLeft;
        iconv(conv.Get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

size_t BoundedLength(const char* s, int count)
{
    return count < 0 ? std::strlen(s) + 1 : static_cast<size_t>(count);
}

size_t BoundedLength(const wchar_t* s, int count)
{
    return count < 0 ? std::wcslen(s) + 1 : static_cast<size_t>(count);
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD /*flags*/, LPCSTR multiByte, int cbMultiByte, LPWSTR wideChar,
                        int cchWideChar)
{
    const char* name = IconvName(codePage);
    if (!name || !multiByte || cchWideChar < 0 || cbMultiByte == 0) return 0;
    std::wstring wide = Decode(name, multiByte, BoundedLength(multiByte, cbMultiByte));
    if (cchWideChar == 0) return static_cast<int>(wide.size());
    if (!wideChar || wide.size() > static_cast<size_t>(cchWideChar)) return 0;
    std::memcpy(wideChar, wide.data(), wide.size() * sizeof(wchar_t));
    return static_cast<int>(wide.size());
}

int WideCharToMultiByte(UINT codePage, DWORD /*flags*/, LPCWSTR wideChar, int cchWideChar, LPSTR multiByte,
                        int cbMultiByte, LPCSTR /*defaultChar*/, BOOL* usedDefaultChar)
{
    const char* name = IconvName(codePage);
    if (!name || !wideChar || cbMultiByte < 0 || cchWideChar == 0) return 0;
    bool used = false;
    std::string bytes = Encode(name, wideChar, BoundedLength(wideChar, cchWideChar), &used);
    if (usedDefaultChar) *usedDefaultChar = used ? TRUE : FALSE;
    if (cbMultiByte == 0) return static_cast<int>(bytes.size());
    if (!multiByte || bytes.size() > static_cast<size_t>(cbMultiByte)) return 0;
    std::memcpy(multiByte, bytes.data(), bytes.size());
    return static_cast<int>(bytes.size());
}

namespace platform {

std::wstring DecodeCodePage(UINT codePage, const char* bytes, size_t length)
{
    const char* name = IconvName(codePage);
    return name ? Decode(name, bytes, length) : std::wstring();
}

std::string EncodeCodePage(UINT codePage, const wchar_t* text, size_t length)
{
    const char* name = IconvName(codePage);
    return name ? Encode(name, text, length, nullptr) : std::string();
}

std::string ToUtf8(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        uint32_t c = static_cast<uint32_t>(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::wstring FromUtf8(const std::string& text)
{
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        uint32_t c;
        int extra;
        if (b < 0x80) {
            c = b;
            extra = 0;
        } else if ((b & 0xE0) == 0xC0) {
            c = b & 0x1F;
            extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            c = b & 0x0F;
            extra = 2;
        } else if ((b & 0xF8) == 0xF0) {
            c = b & 0x07;
            extra = 3;
        } else {
            out.push_back(L'\xFFFD');
            ++i;
            continue;
        }
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= n || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        if (!ok) {
            out.push_back(L'\xFFFD');
            ++i;
            continue;
        }
        static const uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        out.push_back(static_cast<wchar_t>(c));
        i += extra + 1;
    }
    return out;
}

}  // namespace platform
