// A small XML element tree with a deterministic text form, for the files the
// record maker writes (record XML, the work directory's master files). The
// tools do not link the library's XML layer: these files are written the way
// a device or an installer would write them, and then read by the real one.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace morvelance {

enum class XmlEncoding {
    Utf8,      // declared "UTF-8"
    ShiftJis,  // declared "Shift_JIS", bytes of code page 932
};

class XmlElement {
public:
    explicit XmlElement(std::string name);
    XmlElement(const XmlElement&) = delete;
    XmlElement& operator=(const XmlElement&) = delete;

    const std::string& Name() const { return m_name; }
    const std::string& Text() const { return m_text; }
    // Attributes keep the order in which they were first set.
    const std::vector<std::pair<std::string, std::string>>& Attributes() const { return m_attributes; }
    const std::vector<std::unique_ptr<XmlElement>>& Children() const { return m_children; }

    XmlElement& SetText(const std::string& utf8);
    XmlElement& SetAttribute(const std::string& name, const std::string& utf8);
    // Null when the attribute is absent.
    const std::string* Attribute(const std::string& name) const;

    // A new last child.
    XmlElement& Append(const std::string& name);

    // The element at a child path, creating every step that is missing, as the
    // record writers of the system expect of a save: "A/B[@number='2']/C[3]".
    // A step "N[k]" is the k-th child named N (1-based; missing ones up to k are
    // appended), "N[@a='v']" the first child N whose attribute a is v (appended
    // with that attribute when there is none). A path starting with '/' names
    // this element as its first step. Throws std::invalid_argument on a path
    // that is not of this form (the writers' own paths, never user input).
    XmlElement& At(const std::string& path);
    // The same without creating anything; null when a step is missing.
    const XmlElement* Find(const std::string& path) const;
    // Number of children named `name`.
    size_t Count(const std::string& name) const;
    // Takes `child` out of this element's children; false when it is none of them.
    bool RemoveChild(const XmlElement* child);

private:
    struct Step {
        std::string name;
        std::string attribute;  // predicate [@attribute='value'] when not empty
        std::string value;
        size_t position = 0;    // predicate [position] when not 0
    };
    static std::vector<Step> ParsePath(const std::string& path, bool* absolute);
    XmlElement* Match(const Step& step) const;

    std::string m_name;
    std::string m_text;
    std::vector<std::pair<std::string, std::string>> m_attributes;
    std::vector<std::unique_ptr<XmlElement>> m_children;
};

// The whole file: declaration, then the tree indented by two blanks per level.
// Text that cannot be written in the encoding goes out as character
// references; carriage returns in text and attributes go out as "&#13;" so
// that a reader sees the CR LF the writer stored (parsers fold a raw CR LF).
// Control characters that XML 1.0 forbids are dropped. Throws
// std::runtime_error when a text is not valid UTF-8.
std::string SerializeXml(const XmlElement& root, XmlEncoding encoding);

// Writes the file whole through a temporary file and a rename. Throws
// std::runtime_error when it cannot.
void WriteXmlFile(const std::string& path, const XmlElement& root, XmlEncoding encoding);

}  // namespace morvelance
