#include "platform/xml/XmlPathWalker.h"

#include <libxml/xpathInternals.h>

namespace {

const xmlChar* X(const std::string& text)
{
    return reinterpret_cast<const xmlChar*>(text.c_str());
}

}  // namespace

CXmlPathWalker::CXmlPathWalker(xmlXPathContextPtr context) : m_pContext(context) {}

bool CXmlPathWalker::First(const XmlPathStep* steps, size_t count, xmlNodePtr from, xmlNodePtr& found)
{
    found = nullptr;
    if (!Resolve(steps, count)) return false;
    Walk(from, Stop::AtFirst, found);
    if (m_bDeclined) found = nullptr;
    return !m_bDeclined;
}

bool CXmlPathWalker::Count(const XmlPathStep* steps, size_t count, xmlNodePtr from, long& selected)
{
    selected = 0;
    if (!Resolve(steps, count)) return false;
    xmlNodePtr first = nullptr;
    selected = Walk(from, Stop::Never, first);
    if (m_bDeclined) selected = 0;
    return !m_bDeclined;
}

const xmlChar* CXmlPathWalker::Lookup(const std::string& prefix, bool& bound) const
{
    if (prefix.empty()) return nullptr;   // no prefix: no namespace, as XPath 1.0 has it
    const xmlChar* uri = m_pContext ? xmlXPathNsLookup(m_pContext, X(prefix)) : nullptr;
    if (!uri) bound = false;
    return uri;
}

bool CXmlPathWalker::Resolve(const XmlPathStep* steps, size_t count)
{
    m_pAttribute = nullptr;
    m_pAttributeUri = nullptr;
    m_bDeclined = false;
    size_t elements = count;
    if (count > 0 && steps[count - 1].bAttribute) elements = count - 1;
    bool bound = true;
    m_levels.resize(elements);
    for (size_t i = 0; i < elements; ++i) {
        Level& level = m_levels[i];
        level.pStep = &steps[i];
        level.pUri = Lookup(steps[i].strPrefix, bound);
        level.tests.clear();
        for (const XmlPathPredicate& predicate : steps[i].predicates) {
            const xmlChar* uri = predicate.bPosition ? nullptr : Lookup(predicate.strPrefix, bound);
            level.tests.push_back(Test{&predicate, uri});
        }
        level.passed.assign(level.tests.size(), 0);
    }
    if (elements < count) {
        m_pAttribute = &steps[count - 1];
        m_pAttributeUri = Lookup(m_pAttribute->strPrefix, bound);
    }
    return bound;
}

// Depth first over the element steps, each level holding its place among
// its parent's children: the nodes come out in document order, and the depth
// the walk can reach is that of the path, never more.
long CXmlPathWalker::Walk(xmlNodePtr from, Stop stop, xmlNodePtr& first)
{
    first = nullptr;
    if (!from) return 0;
    long visited = 0;
    auto visit = [&](xmlNodePtr node) {
        if (visited++ == 0) first = node;
        return stop == Stop::Never;
    };

    if (m_levels.empty()) {
        // Only an attribute step (or nothing): it applies to `from` itself.
        if (!m_pAttribute) return 0;
        if (xmlAttrPtr attribute = FindAttribute(from, m_pAttribute->strName, m_pAttributeUri))
            visit(reinterpret_cast<xmlNodePtr>(attribute));
        return visited;
    }

    size_t depth = 0;
    Enter(m_levels[0], from);
    while (!m_bDeclined) {
        xmlNodePtr node = NextMatch(m_levels[depth]);
        if (!node) {
            if (depth == 0) break;
            --depth;
            continue;
        }
        if (depth + 1 < m_levels.size()) {
            ++depth;
            Enter(m_levels[depth], node);
            continue;
        }
        if (!m_pAttribute) {
            if (!visit(node)) break;
            continue;
        }
        xmlAttrPtr attribute = FindAttribute(node, m_pAttribute->strName, m_pAttributeUri);
        if (attribute && !visit(reinterpret_cast<xmlNodePtr>(attribute))) break;
    }
    return visited;
}

void CXmlPathWalker::Enter(Level& level, xmlNodePtr parent)
{
    // The child axis of a document or an element; other nodes have no
    // element children (an attribute's children are its text).
    const bool hasChildren = parent->type == XML_ELEMENT_NODE || parent->type == XML_DOCUMENT_NODE ||
                             parent->type == XML_HTML_DOCUMENT_NODE;
    level.pParent = parent;
    level.pNext = hasChildren ? parent->children : nullptr;
    level.passed.assign(level.tests.size(), 0);
    if (!level.pNext || !IsPositionOnly(level)) return;
    const long wanted = level.tests[0].pPredicate->nPosition;
    for (auto place = m_places.rbegin(); place != m_places.rend(); ++place) {
        if (place->pParent != parent || place->pUri != level.pUri || place->nPosition > wanted ||
            place->strName != level.pStep->strName)
            continue;
        // Resume at the remembered element, which counts again as the one before it left off.
        level.pNext = place->pNode;
        level.passed[0] = place->nPosition - 1;
        return;
    }
}

bool CXmlPathWalker::IsPositionOnly(const Level& level)
{
    return level.tests.size() == 1 && level.tests[0].pPredicate->bPosition;
}

void CXmlPathWalker::Remember(const Level& level, xmlNodePtr node)
{
    const size_t kPlaces = 8;
    for (auto place = m_places.begin(); place != m_places.end(); ++place) {
        if (place->pParent == level.pParent && place->pUri == level.pUri && place->strName == level.pStep->strName) {
            m_places.erase(place);
            break;
        }
    }
    if (m_places.size() == kPlaces) m_places.erase(m_places.begin());
    m_places.push_back(Place{level.pParent, level.pStep->strName, level.pUri, level.passed[0], node});
}

xmlNodePtr CXmlPathWalker::NextMatch(Level& level)
{
    while (xmlNodePtr node = level.pNext) {
        level.pNext = node->next;
        if (node->type != XML_ELEMENT_NODE) continue;
        if (!NameMatches(node->name, node->ns, level.pStep->strName, level.pUri)) continue;
        bool exhausted = false;
        const bool passes = PassesTests(level, node, exhausted);
        if (exhausted) level.pNext = nullptr;
        if (passes) {
            if (IsPositionOnly(level)) Remember(level, node);
            return node;
        }
    }
    return nullptr;
}

// Predicates apply in turn, a position counting only the candidates that
// passed the predicates before it ("Tag[@id='2'][1]"), as XPath has it.
bool CXmlPathWalker::PassesTests(Level& level, xmlNodePtr node, bool& exhausted)
{
    for (size_t i = 0; i < level.tests.size(); ++i) {
        const XmlPathPredicate& predicate = *level.tests[i].pPredicate;
        if (predicate.bPosition) {
            const long position = ++level.passed[i];
            if (position >= predicate.nPosition) exhausted = true;   // no later sibling can be this one
            if (position != predicate.nPosition) return false;
            continue;
        }
        xmlAttrPtr attribute = FindAttribute(node, predicate.strName, level.tests[i].pUri);
        if (!attribute || !AttributeEquals(attribute, predicate.strValue)) return false;
        if (m_bDeclined) return false;
    }
    return true;
}

bool CXmlPathWalker::NameMatches(const xmlChar* nodeName, const xmlNs* nodeNs, const std::string& name,
                                 const xmlChar* uri)
{
    if (!xmlStrEqual(nodeName, X(name))) return false;
    if (!uri) return nodeNs == nullptr;
    return nodeNs && xmlStrEqual(nodeNs->href, uri);
}

xmlAttrPtr CXmlPathWalker::FindAttribute(xmlNodePtr element, const std::string& name, const xmlChar* uri)
{
    if (element->type != XML_ELEMENT_NODE) return nullptr;
    for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next) {
        if (NameMatches(attribute->name, attribute->ns, name, uri)) return attribute;
    }
    return nullptr;
}

// The attribute's string value against the literal, byte for byte, as the
// engine compares them. A value holding an entity reference (a document
// with its own entities) is another matter: the engine first compares a
// hash of the text around the reference, not of the value, and so may miss
// an equal value. Such a path is left to the engine.
bool CXmlPathWalker::AttributeEquals(xmlAttrPtr attribute, const std::string& value)
{
    xmlNodePtr child = attribute->children;
    if (!child) return value.empty();
    if (child->type != XML_TEXT_NODE || child->next) {
        m_bDeclined = true;
        return false;
    }
    const xmlChar* text = child->content ? child->content : reinterpret_cast<const xmlChar*>("");
    return xmlStrEqual(text, X(value));
}
