#include "platform/xml/XmlPath.h"

#include <libxml/tree.h>

#include <cwchar>

#include "platform/base/CodePage.h"
#include "platform/xml/XmlText.h"

namespace {

bool IsBlank(wchar_t ch)
{
    return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n';
}

// Characters that end a name: the path's own punctuation and everything an
// XPath expression could use to become more than a location path.
bool EndsName(wchar_t ch)
{
    return IsBlank(ch) || std::wcschr(L"/[]@=:'\"(),|*$<>!+", ch) != nullptr;
}

bool IsValidNCName(const std::string& name)
{
    if (name.empty() || name.find('\0') != std::string::npos) return false;
    return xmlValidateNCName(reinterpret_cast<const xmlChar*>(name.c_str()), 0) == 0;
}

// Reads one path left to right; every Read* leaves the position after what
// it read and returns false on anything outside the accepted forms.
class CPathReader {
public:
    explicit CPathReader(const std::wstring& text) : m_text(text) {}

    bool AtEnd() const { return m_pos >= m_text.size(); }
    wchar_t Peek() const { return AtEnd() ? L'\0' : m_text[m_pos]; }
    void SkipBlanks()
    {
        while (!AtEnd() && IsBlank(m_text[m_pos])) ++m_pos;
    }
    bool Take(wchar_t ch)
    {
        if (Peek() != ch || AtEnd()) return false;
        ++m_pos;
        return true;
    }

    bool ReadStep(XmlPathStep& step)
    {
        SkipBlanks();
        step.bAttribute = Take(L'@');
        if (!ReadQName(step.strPrefix, step.strName)) return false;
        SkipBlanks();
        while (!step.bAttribute && Peek() == L'[') {
            XmlPathPredicate predicate;
            if (!ReadPredicate(predicate)) return false;
            step.predicates.push_back(predicate);
            SkipBlanks();
        }
        return true;
    }

private:
    bool ReadQName(std::string& prefix, std::string& name)
    {
        std::string first = ReadNCName();
        if (!IsValidNCName(first)) return false;
        if (Peek() != L':' || AtEnd()) {
            prefix.clear();
            name = first;
            return true;
        }
        ++m_pos;
        std::string second = ReadNCName();
        if (!IsValidNCName(second)) return false;
        prefix = first;
        name = second;
        return true;
    }

    std::string ReadNCName()
    {
        size_t start = m_pos;
        while (!AtEnd() && !EndsName(m_text[m_pos])) ++m_pos;
        return platform::ToUtf8(m_text.substr(start, m_pos - start));
    }

    bool ReadPredicate(XmlPathPredicate& predicate)
    {
        if (!Take(L'[')) return false;
        SkipBlanks();
        bool ok = Peek() == L'@' ? ReadAttributeTest(predicate) : ReadPosition(predicate);
        if (!ok) return false;
        SkipBlanks();
        return Take(L']');
    }

    bool ReadPosition(XmlPathPredicate& predicate)
    {
        long value = 0;
        size_t start = m_pos;
        while (!AtEnd() && m_text[m_pos] >= L'0' && m_text[m_pos] <= L'9') {
            value = value * 10 + (m_text[m_pos] - L'0');
            if (value > CXmlPath::kMaxPosition) return false;
            ++m_pos;
        }
        if (m_pos == start || value < 1) return false;
        predicate.bPosition = true;
        predicate.nPosition = value;
        return true;
    }

    bool ReadAttributeTest(XmlPathPredicate& predicate)
    {
        if (!Take(L'@')) return false;
        if (!ReadQName(predicate.strPrefix, predicate.strName)) return false;
        SkipBlanks();
        if (!Take(L'=')) return false;
        SkipBlanks();
        std::wstring value;
        if (!ReadValue(value)) return false;
        predicate.bPosition = false;
        predicate.strValue = platform::ToUtf8(value);
        return true;
    }

    // A literal, or concat() of literals (what a quoting builder writes for
    // a value that holds both quote kinds).
    bool ReadValue(std::wstring& value)
    {
        if (Peek() == L'\'' || Peek() == L'"') return ReadLiteral(value);
        if (m_text.compare(m_pos, 6, L"concat") != 0) return false;
        m_pos += 6;
        SkipBlanks();
        if (!Take(L'(')) return false;
        int parts = 0;
        do {
            SkipBlanks();
            std::wstring part;
            if (!ReadLiteral(part)) return false;
            value += part;
            ++parts;
            SkipBlanks();
        } while (Take(L','));
        return parts >= 2 && Take(L')');
    }

    bool ReadLiteral(std::wstring& value)
    {
        wchar_t quote = Peek();
        if (quote != L'\'' && quote != L'"') return false;
        size_t close = m_text.find(quote, m_pos + 1);
        if (close == std::wstring::npos) return false;
        value = m_text.substr(m_pos + 1, close - m_pos - 1);
        for (wchar_t ch : value) {
            if (!platform::xmltext::IsXmlChar(ch)) return false;   // could never match a document's value
        }
        m_pos = close + 1;
        return true;
    }

    const std::wstring& m_text;
    size_t m_pos = 0;
};

}  // namespace

bool CXmlPath::Parse(const CString& xpath)
{
    m_steps.clear();
    CPathReader reader(xpath.str());
    reader.SkipBlanks();
    if (!reader.Take(L'/')) return false;
    std::vector<XmlPathStep> steps;
    for (;;) {
        XmlPathStep step;
        if (!reader.ReadStep(step)) return false;
        steps.push_back(step);
        if (reader.AtEnd()) break;
        if (step.bAttribute || !reader.Take(L'/')) return false;   // an attribute step ends the path
    }
    m_steps.swap(steps);
    return true;
}

void CXmlPath::DropPrefix(const std::string& prefix)
{
    if (prefix.empty()) return;
    for (XmlPathStep& step : m_steps) {
        if (step.strPrefix == prefix) step.strPrefix.clear();
        for (XmlPathPredicate& predicate : step.predicates) {
            if (predicate.strPrefix == prefix) predicate.strPrefix.clear();
        }
    }
}

std::string CXmlPath::Expression(size_t count) const
{
    std::string text;
    for (size_t i = 0; i < count && i < m_steps.size(); ++i) {
        text += '/';
        text += StepExpression(m_steps[i], true);
    }
    return text;
}

std::string CXmlPath::StepExpression(const XmlPathStep& step, bool bWithPosition)
{
    std::string text = step.bAttribute ? "@" : "";
    if (!step.strPrefix.empty()) text += step.strPrefix + ":";
    text += step.strName;
    for (const XmlPathPredicate& predicate : step.predicates) {
        if (predicate.bPosition) {
            if (bWithPosition) text += "[" + std::to_string(predicate.nPosition) + "]";
            continue;
        }
        text += "[@";
        if (!predicate.strPrefix.empty()) text += predicate.strPrefix + ":";
        text += predicate.strName + "=" + Literal(predicate.strValue) + "]";
    }
    return text;
}

bool CXmlPath::ParseQName(const CString& text, std::string& prefix, std::string& name)
{
    CString trimmed(text);
    trimmed.Trim(L" \t\r\n");
    int colon = trimmed.Find(L':');
    prefix = colon < 0 ? std::string() : platform::ToUtf8(trimmed.Left(colon).str());
    name = platform::ToUtf8(trimmed.Mid(colon + 1).str());
    if (colon >= 0 && !IsValidNCName(prefix)) return false;
    return IsValidNCName(name);
}

std::string CXmlPath::Literal(const std::string& value)
{
    // XPath 1.0 literals have no escapes: a value with one quote kind goes in
    // the other, one with both is glued from pieces.
    if (value.find('\'') == std::string::npos) return "'" + value + "'";
    if (value.find('"') == std::string::npos) return "\"" + value + "\"";
    std::string pieces;
    size_t start = 0;
    for (;;) {
        size_t quote = value.find('\'', start);
        std::string part = value.substr(start, quote == std::string::npos ? std::string::npos : quote - start);
        if (!part.empty()) pieces += (pieces.empty() ? "'" : ",'") + part + "'";
        if (quote == std::string::npos) break;
        pieces += pieces.empty() ? "\"'\"" : ",\"'\"";
        start = quote + 1;
    }
    return "concat(" + pieces + ")";
}
