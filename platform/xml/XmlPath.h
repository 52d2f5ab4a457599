// The XPaths the system writes, parsed and checked before libxml2 sees them.
//
// Only the forms the system uses are accepted: an absolute path of child
// steps ("/Rawdata/Tavrion"), each an optionally prefixed name ("xsl:Layout")
// with predicates on an attribute value ("[@name='Patient_info']", either
// quote kind, or concat(...) of literals) and 1-based positions ("[2]"), and
// an optional last attribute step ("/@title"). Anything else fails to parse,
// so a malformed or hostile path can never reach the XPath engine as
// something wider than the caller wrote. Blanks around a step name are
// dropped: layout tables carry control names with a trailing blank.
#pragma once

#include <string>
#include <vector>

#include "platform/base/Strings.h"

struct XmlPathPredicate {
    bool bPosition = false;   // true: [n]; false: [@name='value']
    std::string strPrefix;    // attribute prefix (UTF-8), empty for none
    std::string strName;      // attribute local name (UTF-8)
    std::string strValue;     // the compared value, quotes removed (UTF-8)
    long nPosition = 0;       // 1-based, only for a position predicate
};

struct XmlPathStep {
    bool bAttribute = false;  // the last "/@name" step
    std::string strPrefix;    // UTF-8, empty for none
    std::string strName;      // local name, UTF-8
    std::vector<XmlPathPredicate> predicates;
};

class CXmlPath {
public:
    // Positions above this are refused: a write creates missing siblings up
    // to the position, and a stray number must not build a huge document.
    static const long kMaxPosition = 65535;

    // Replaces the steps by those of xpath; false (and no steps) when the
    // path is not one of the accepted forms.
    bool Parse(const CString& xpath);

    const std::vector<XmlPathStep>& Steps() const { return m_steps; }
    bool EndsWithAttribute() const { return !m_steps.empty() && m_steps.back().bAttribute; }
    // The element steps (all but a last attribute step).
    size_t ElementStepCount() const { return EndsWithAttribute() ? m_steps.size() - 1 : m_steps.size(); }
    // Clears a prefix from every step and predicate: the document has no
    // default namespace for the default prefix to stand for.
    void DropPrefix(const std::string& prefix);

    // The absolute XPath of the first `count` steps, literals quoted safely.
    std::string Expression(size_t count) const;
    // One step as a relative XPath; positions left out when asked.
    static std::string StepExpression(const XmlPathStep& step, bool bWithPosition);
    // A string literal of XPath 1.0 that evaluates to value (UTF-8).
    static std::string Literal(const std::string& value);
    // An attribute or element name, "name" or "prefix:name", blanks around
    // it dropped; false when it is not a valid qualified name.
    static bool ParseQName(const CString& text, std::string& prefix, std::string& name);

private:
    std::vector<XmlPathStep> m_steps;
};
