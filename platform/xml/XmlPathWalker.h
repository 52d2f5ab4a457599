// Selection of the XPaths CXmlPath accepts by walking libxml2's tree.
//
// Those paths are child steps with name tests, attribute-value and position
// predicates, and a last attribute step: their result is fixed by the tree
// alone, so a walk gives exactly what libxml2's XPath engine gives, without
// compiling an expression and building node sets for every read. The layout
// stylesheet is read through some four thousand such paths, each different.
//
// Prefixes are looked up in the engine's own context, so both agree on what
// a prefix means. A prefix the context does not bind is an error of the
// engine's: the walk declines such a path and the caller asks the engine;
// so it does for an attribute value holding an entity reference.
#pragma once

#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <cstddef>
#include <vector>

#include "platform/xml/XmlPath.h"

class CXmlPathWalker {
public:
    // context: the prefix bindings; it must outlive the walker's calls.
    explicit CXmlPathWalker(xmlXPathContextPtr context);

    // The first node in document order that `count` steps select from `from`
    // (the document node for an absolute path); null when none. False, with
    // nothing found, when a prefix is unbound.
    bool First(const XmlPathStep* steps, size_t count, xmlNodePtr from, xmlNodePtr& found);
    // How many nodes the steps select from `from`. False when a prefix is unbound.
    bool Count(const XmlPathStep* steps, size_t count, xmlNodePtr from, long& selected);
    // Drops what the walker remembers of the tree; the owner calls it before
    // any change to the document other than an element added as the last
    // child of its parent (which leaves every remembered place as it was).
    void Forget() { m_places.clear(); }

private:
    enum class Stop { AtFirst, Never };

    // A predicate with its prefix looked up.
    struct Test {
        const XmlPathPredicate* pPredicate;
        const xmlChar* pUri;   // the attribute's namespace; null for none
    };
    // A step with its prefixes looked up, and the walk's place in it.
    struct Level {
        const XmlPathStep* pStep;
        const xmlChar* pUri;              // the name's namespace; null for none
        std::vector<Test> tests;
        std::vector<long> passed;         // per predicate: candidates that reached it so far
        xmlNodePtr pNext = nullptr;       // the next child to try; null: the level is done
        xmlNodePtr pParent = nullptr;     // whose children the level walks
    };
    // Where a step with a single position predicate ("List_time[n]") last
    // found its element: callers read lists item by item, and the next read
    // goes on from here instead of counting the siblings from the first.
    struct Place {
        xmlNodePtr pParent;
        std::string strName;
        const xmlChar* pUri;
        long nPosition;                   // the element's position among the matching siblings
        xmlNodePtr pNode;
    };

    bool Resolve(const XmlPathStep* steps, size_t count);
    const xmlChar* Lookup(const std::string& prefix, bool& bound) const;
    // Visits the selected nodes in document order; returns how many it visited.
    long Walk(xmlNodePtr from, Stop stop, xmlNodePtr& first);
    void Enter(Level& level, xmlNodePtr parent);
    // The next child of the level that passes its name test and predicates.
    xmlNodePtr NextMatch(Level& level);
    // Whether the node passes the predicates; exhausted: no later sibling can.
    bool PassesTests(Level& level, xmlNodePtr node, bool& exhausted);
    static bool NameMatches(const xmlChar* nodeName, const xmlNs* nodeNs, const std::string& name, const xmlChar* uri);
    static xmlAttrPtr FindAttribute(xmlNodePtr element, const std::string& name, const xmlChar* uri);
    bool AttributeEquals(xmlAttrPtr attribute, const std::string& value);
    static bool IsPositionOnly(const Level& level);
    void Remember(const Level& level, xmlNodePtr node);

    xmlXPathContextPtr m_pContext;
    std::vector<Level> m_levels;           // the element steps of the path being walked
    const XmlPathStep* m_pAttribute = nullptr;   // the last attribute step; null when the path ends in an element
    const xmlChar* m_pAttributeUri = nullptr;
    bool m_bDeclined = false;              // the walk met what only the engine decides; its result is void
    std::vector<Place> m_places;           // a few recent places, most recent last
};
