#include "tools/TextCodec.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace morvelance {

namespace {

bool Convert(const std::string& in, const char* from, const char* to, std::string* out, std::string* error) {
    out->clear();
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        if (error) *error = std::string("iconv cannot convert from ") + from + " to " + to;
        return false;
    }
    std::vector<char> inBuf(in.begin(), in.end());
    char* src = inBuf.data();
    size_t srcLeft = inBuf.size();
    bool ok = true;
    while (srcLeft > 0) {
        char buf[256];
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out->append(buf, static_cast<size_t>(dst - buf));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            if (error)
                *error = std::string(errno == EILSEQ ? "a character cannot be converted" : "incomplete character") +
                         " from " + from + " to " + to + " at byte " + std::to_string(inBuf.size() - srcLeft);
            ok = false;
            break;
        }
    }
    if (ok) {  // flush any shift state
        char buf[64];
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        iconv(cd, nullptr, nullptr, &dst, &dstLeft);
        out->append(buf, static_cast<size_t>(dst - buf));
    }
    iconv_close(cd);
    return ok;
}

// Length of the UTF-8 sequence starting with byte c (1 for invalid lead bytes,
// which iconv then rejects).
size_t Utf8Length(unsigned char c) {
    if (c < 0x80) return 1;
    if ((c & 0xE0) == 0xC0) return 2;
    if ((c & 0xF0) == 0xE0) return 3;
    if ((c & 0xF8) == 0xF0) return 4;
    return 1;
}

}  // namespace

const char* IconvName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::EucJp: return "EUC-JP";
        case TextEncoding::Cp932: return "CP932";
        case TextEncoding::Utf8: return "UTF-8";
    }
    return "UTF-8";
}

bool EncodeText(const std::string& utf8, TextEncoding encoding, std::string* out, std::string* error) {
    if (encoding == TextEncoding::Utf8) {
        // Validate by a round trip through iconv.
        return Convert(utf8, "UTF-8", "UTF-8", out, error);
    }
    return Convert(utf8, "UTF-8", IconvName(encoding), out, error);
}

bool DecodeText(const std::string& bytes, TextEncoding encoding, std::string* utf8, std::string* error) {
    std::string in = bytes.substr(0, bytes.find('\0'));
    return Convert(in, IconvName(encoding), "UTF-8", utf8, error);
}

bool EncodeTextLimited(const std::string& utf8, TextEncoding encoding, size_t maxBytes, std::string* out,
                       std::string* error) {
    out->clear();
    size_t i = 0;
    while (i < utf8.size()) {
        size_t len = Utf8Length(static_cast<unsigned char>(utf8[i]));
        std::string one;
        if (!EncodeText(utf8.substr(i, len), encoding, &one, error)) return false;
        if (out->size() + one.size() > maxBytes) break;
        *out += one;
        i += len;
    }
    return true;
}

}  // namespace morvelance
