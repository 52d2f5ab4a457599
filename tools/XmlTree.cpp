#include "tools/XmlTree.h"

#include <iconv.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace morvelance {

namespace {

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.' || c == ':';
}

// Decodes one UTF-8 character at s[i]; returns its length, 0 when invalid.
size_t DecodeUtf8(const std::string& s, size_t i, uint32_t* cp) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t len = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || i + len > s.size()) return 0;
    uint32_t v = len == 1 ? c : len == 2 ? (c & 0x1Fu) : len == 3 ? (c & 0x0Fu) : (c & 0x07u);
    for (size_t k = 1; k < len; ++k) {
        const unsigned char t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80) return 0;
        v = (v << 6) | (t & 0x3Fu);
    }
    static const uint32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (v < kMin[len] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return 0;
    *cp = v;
    return len;
}

bool AllowedInXml(uint32_t cp) {
    return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp != 0xFFFE && cp != 0xFFFF);
}

std::string CharRef(uint32_t cp) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "&#x%X;", static_cast<unsigned>(cp));
    return buf;
}

// Escapes UTF-8 text for element content (attribute = false) or a
// double-quoted attribute value.
std::string Escape(const std::string& utf8, bool attribute) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        uint32_t cp = 0;
        const size_t len = DecodeUtf8(utf8, i, &cp);
        if (len == 0) throw std::runtime_error("text is not valid UTF-8: \"" + utf8 + "\"");
        if (!AllowedInXml(cp)) {
            i += len;
            continue;
        }
        switch (cp) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += attribute ? "&quot;" : "\""; break;
            case '\r': out += "&#13;"; break;
            case '\n': out += attribute ? "&#10;" : "\n"; break;
            case '\t': out += attribute ? "&#9;" : "\t"; break;
            default: out.append(utf8, i, len);
        }
        i += len;
    }
    return out;
}

void WriteElement(const XmlElement& e, int depth, bool indent, std::string* out) {
    const std::string pad = indent ? std::string(static_cast<size_t>(depth) * 2, ' ') : std::string();
    *out += pad + "<" + e.Name();
    for (const auto& a : e.Attributes()) *out += " " + a.first + "=\"" + Escape(a.second, true) + "\"";
    if (e.Children().empty() && e.Text().empty()) {
        *out += indent ? "/>\n" : "/>";
        return;
    }
    *out += ">";
    *out += Escape(e.Text(), false);
    if (!e.Children().empty()) {
        // Indentation inside an element that has its own text would become part
        // of that text, so mixed content is written on one line.
        const bool childIndent = indent && e.Text().empty();
        if (childIndent) *out += "\n";
        for (const auto& c : e.Children()) WriteElement(*c, depth + 1, childIndent, out);
        if (childIndent) *out += pad;
    }
    *out += "</" + e.Name() + ">";
    if (indent) *out += "\n";
}

// UTF-8 -> code page 932, one character at a time where the whole text does
// not convert, so that only the characters the code page lacks become
// character references (markup is ASCII and always converts).
class Cp932Encoder {
public:
    Cp932Encoder() : m_cd(iconv_open("CP932", "UTF-8")) {
        if (m_cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv cannot convert UTF-8 to CP932");
    }
    ~Cp932Encoder() { iconv_close(m_cd); }
    Cp932Encoder(const Cp932Encoder&) = delete;
    Cp932Encoder& operator=(const Cp932Encoder&) = delete;

    std::string Encode(const std::string& utf8) {
        std::string out;
        if (Convert(utf8, &out)) return out;
        out.clear();
        for (size_t i = 0; i < utf8.size();) {
            uint32_t cp = 0;
            const size_t len = DecodeUtf8(utf8, i, &cp);
            std::string one;
            if (len == 0) throw std::runtime_error("text is not valid UTF-8");
            out += Convert(utf8.substr(i, len), &one) ? one : CharRef(cp);
            i += len;
        }
        return out;
    }

private:
    bool Convert(const std::string& in, std::string* out) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::vector<char> src(in.begin(), in.end());
        char* s = src.data();
        size_t left = src.size();
        while (left > 0) {
            char buf[512];
            char* d = buf;
            size_t room = sizeof buf;
            const size_t r = iconv(m_cd, &s, &left, &d, &room);
            out->append(buf, static_cast<size_t>(d - buf));
            if (r == static_cast<size_t>(-1) && errno != E2BIG) return false;
        }
        return true;
    }

    iconv_t m_cd;
};

}  // namespace

XmlElement::XmlElement(std::string name) : m_name(std::move(name)) {}

XmlElement& XmlElement::SetText(const std::string& utf8) {
    m_text = utf8;
    return *this;
}

XmlElement& XmlElement::SetAttribute(const std::string& name, const std::string& utf8) {
    for (auto& a : m_attributes) {
        if (a.first == name) {
            a.second = utf8;
            return *this;
        }
    }
    m_attributes.emplace_back(name, utf8);
    return *this;
}

const std::string* XmlElement::Attribute(const std::string& name) const {
    for (const auto& a : m_attributes)
        if (a.first == name) return &a.second;
    return nullptr;
}

XmlElement& XmlElement::Append(const std::string& name) {
    m_children.push_back(std::make_unique<XmlElement>(name));
    return *m_children.back();
}

size_t XmlElement::Count(const std::string& name) const {
    size_t n = 0;
    for (const auto& c : m_children) n += c->m_name == name;
    return n;
}

std::vector<XmlElement::Step> XmlElement::ParsePath(const std::string& path, bool* absolute) {
    std::vector<Step> steps;
    *absolute = !path.empty() && path[0] == '/';
    size_t i = *absolute ? 1 : 0;
    auto fail = [&]() { throw std::invalid_argument("not a plain child path: \"" + path + "\""); };
    while (i < path.size()) {
        Step step;
        while (i < path.size() && IsNameChar(path[i])) step.name += path[i++];
        if (step.name.empty()) fail();
        if (i < path.size() && path[i] == '[') {
            const size_t close = path.find(']', i);
            if (close == std::string::npos) fail();
            const std::string pred = path.substr(i + 1, close - i - 1);
            if (!pred.empty() && pred[0] == '@') {
                const size_t eq = pred.find('=');
                if (eq == std::string::npos || eq + 2 > pred.size() - 1 || pred[eq + 1] != '\'' || pred.back() != '\'')
                    fail();
                step.attribute = pred.substr(1, eq - 1);
                step.value = pred.substr(eq + 2, pred.size() - eq - 3);
                if (step.attribute.empty()) fail();
            } else {
                for (char c : pred)
                    if (c < '0' || c > '9') fail();
                if (pred.empty() || pred.size() > 6) fail();
                step.position = static_cast<size_t>(std::stoul(pred));
                if (step.position == 0) fail();
            }
            i = close + 1;
        }
        steps.push_back(step);
        if (i < path.size()) {
            if (path[i] != '/') fail();
            ++i;
            if (i == path.size()) fail();
        }
    }
    if (steps.empty()) fail();
    return steps;
}

XmlElement* XmlElement::Match(const Step& step) const {
    size_t seen = 0;
    for (const auto& c : m_children) {
        if (c->m_name != step.name) continue;
        if (!step.attribute.empty()) {
            const std::string* v = c->Attribute(step.attribute);
            if (v && *v == step.value) return c.get();
            continue;
        }
        if (++seen == (step.position ? step.position : 1)) return c.get();
    }
    return nullptr;
}

XmlElement& XmlElement::At(const std::string& path) {
    bool absolute = false;
    std::vector<Step> steps = ParsePath(path, &absolute);
    size_t first = 0;
    if (absolute) {
        if (steps.empty() || steps[0].name != m_name || steps[0].position > 1 || !steps[0].attribute.empty())
            throw std::invalid_argument("path \"" + path + "\" does not start at <" + m_name + ">");
        first = 1;
    }
    XmlElement* e = this;
    for (size_t k = first; k < steps.size(); ++k) {
        const Step& step = steps[k];
        XmlElement* next = e->Match(step);
        if (!next) {
            if (!step.attribute.empty()) {
                next = &e->Append(step.name);
                next->SetAttribute(step.attribute, step.value);
            } else {
                const size_t want = step.position ? step.position : 1;
                for (size_t have = e->Count(step.name); have < want; ++have) next = &e->Append(step.name);
            }
        }
        e = next;
    }
    return *e;
}

const XmlElement* XmlElement::Find(const std::string& path) const {
    bool absolute = false;
    std::vector<Step> steps;
    try {
        steps = ParsePath(path, &absolute);
    } catch (const std::invalid_argument&) {
        return nullptr;
    }
    size_t first = 0;
    if (absolute) {
        if (steps.empty() || steps[0].name != m_name) return nullptr;
        first = 1;
    }
    const XmlElement* e = this;
    for (size_t k = first; k < steps.size() && e; ++k) e = e->Match(steps[k]);
    return e;
}

bool XmlElement::RemoveChild(const XmlElement* child) {
    for (auto it = m_children.begin(); it != m_children.end(); ++it) {
        if (it->get() != child) continue;
        m_children.erase(it);
        return true;
    }
    return false;
}

std::string SerializeXml(const XmlElement& root, XmlEncoding encoding) {
    std::string body;
    WriteElement(root, 0, true, &body);
    if (encoding == XmlEncoding::Utf8) return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + body;
    Cp932Encoder cp932;
    return "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n" + cp932.Encode(body);
}

void WriteXmlFile(const std::string& path, const XmlElement& root, XmlEncoding encoding) {
    const std::string bytes = SerializeXml(root, encoding);
    const std::string temp = path + ".tmp" + std::to_string(::getpid());
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + temp + ": " + std::strerror(errno));
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed || std::rename(temp.c_str(), path.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        std::remove(temp.c_str());
        throw std::runtime_error("cannot write " + path + ": " + why);
    }
}

}  // namespace morvelance
