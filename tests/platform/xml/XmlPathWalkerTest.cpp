// The tree walk against libxml2's XPath engine: over crafted and shipped
// documents and thousands of paths in every accepted form, both select the
// same first node and the same number of nodes, and the walk declines
// exactly the paths the engine refuses.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/xml/XmlPath.h"
#include "platform/xml/XmlPathWalker.h"
#include "tests/support/TestSupport.h"

using testsupport::Wide;

namespace {

const xmlChar* X(const char* text)
{
    return reinterpret_cast<const xmlChar*>(text);
}

std::string S(const xmlChar* text)
{
    return text ? reinterpret_cast<const char*>(text) : "";
}

// Namespaces in every corner the walk must get right: a default namespace,
// a prefix for it and others, the same local name in several namespaces, a
// subtree back in no namespace, a prefix bound again below the root, one
// bound only below it, namespaced attributes, an attribute with an entity
// reference, elements inside an entity reference, empty values, quotes of
// both kinds, and a first parent that lacks the child its later sibling has.
const char kCrafted[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE r [<!ENTITY ent \"en\"><!ENTITY block \"<y n='a'/>\">]>\n"
    "<r xmlns=\"urn:default\" xmlns:p=\"urn:p\" xmlns:q=\"urn:q\" p:a=\"1\">\n"
    "  <x id=\"1\" p:id=\"9\">t<!-- c --><y n=\"a\"/><y n=\"b\"/><y n=\"a\"/><?pi x?></x>\n"
    "  <x id=\"2\"><z/><z n=\"\"/></x>\n"
    "  <x id=\"3\">&block;<y n=\"c\"/></x>\n"
    "  <x id=\"1\"><y n=\"a\" m=\"&ent;x\"/><p:y n=\"a\"/><z n=\"&ent;\"/></x>\n"
    "  <p:x id=\"1\"><p:y n=\"\"/><y/><q:y p:n=\"a\" n=\"b\"/></p:x>\n"
    "  <w xmlns=\"\">\n"
    "    <v k=\"O'Neil\" j='say \"hi\"'/>\n"
    "    <v k=\"it's &quot;both&quot;\"/>\n"
    "    <q:v xmlns:q=\"urn:other\" k=\"1\"/><q:v k=\"2\"/>\n"
    "    <u xmlns:local=\"urn:local\"><local:t/><t/></u>\n"
    "    <v k=\"日本\"><v k=\"日本\"/></v>\n"
    "  </w>\n"
    "</r>\n";

// A document with the bindings XML_PARSER gives its XPaths: every prefix
// the root declares, and a caller's prefix for the default namespace.
class CBoundDoc {
public:
    CBoundDoc(const std::string& bytes, const char* defaultPrefix)
    {
        const int options = XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_NOCDATA | XML_PARSE_NOERROR |
                            XML_PARSE_NOWARNING;
        m_doc = xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "doc.xml", nullptr, options);
        if (!m_doc) return;
        m_context = xmlXPathNewContext(m_doc);
        m_context->error = [](void*, xmlErrorPtr) {};   // refused paths are expected; keep the log clean
        xmlNodePtr root = xmlDocGetRootElement(m_doc);
        for (xmlNsPtr ns = root->nsDef; ns; ns = ns->next) {
            if (ns->prefix && ns->href) Bind(S(ns->prefix), S(ns->href));
        }
        for (xmlNsPtr ns = root->nsDef; ns; ns = ns->next) {
            if (!ns->prefix && ns->href && ns->href[0] && defaultPrefix) Bind(defaultPrefix, S(ns->href));
        }
    }
    ~CBoundDoc()
    {
        if (m_context) xmlXPathFreeContext(m_context);
        if (m_doc) xmlFreeDoc(m_doc);
    }
    CBoundDoc(const CBoundDoc&) = delete;
    CBoundDoc& operator=(const CBoundDoc&) = delete;

    xmlDocPtr Doc() const { return m_doc; }
    xmlXPathContextPtr Context() const { return m_context; }
    // The prefix a path would use for a namespace; "" when none is bound to it.
    std::string PrefixOf(const xmlNs* ns) const
    {
        if (!ns) return "";
        auto found = m_prefixes.find(S(ns->href));
        return found == m_prefixes.end() ? "" : found->second;
    }

private:
    void Bind(const std::string& prefix, const std::string& uri)
    {
        xmlXPathRegisterNs(m_context, X(prefix.c_str()), X(uri.c_str()));
        m_prefixes[uri] = prefix;
    }

    xmlDocPtr m_doc = nullptr;
    xmlXPathContextPtr m_context = nullptr;
    std::map<std::string, std::string> m_prefixes;   // namespace URI -> a prefix bound to it
};

std::string QName(const std::string& prefix, const xmlChar* name)
{
    return prefix.empty() ? S(name) : prefix + ":" + S(name);
}

std::string Predicate(const std::string& attribute, const std::string& value)
{
    return "[@" + attribute + "=" + CXmlPath::Literal(value) + "]";
}

// The step that leads to an element from its parent, in one of the forms
// the system writes, correct or deliberately off by a little.
class CStepMaker {
public:
    CStepMaker(const CBoundDoc& doc, std::mt19937& random) : m_doc(doc), m_random(random) {}

    std::string Step(xmlNodePtr element)
    {
        const std::string name = QName(m_doc.PrefixOf(element->ns), element->name);
        const std::string attribute = SomeAttribute(element);
        const long position = Position(element);
        switch (Pick(12)) {
        case 0: return name + "[" + std::to_string(position) + "]";
        case 1: return name + "[" + std::to_string(position + 1) + "]";
        case 2: return attribute.empty() ? name : name + attribute;
        case 3: return attribute.empty() ? name : name + attribute + "[1]";
        case 4: return attribute.empty() ? name : name + attribute + "[2]";
        case 5: return attribute.empty() ? name : name + "[" + std::to_string(position) + "]" + attribute;
        case 6: return name + Predicate("id", "1");
        case 7: return name + Predicate("n", "no such value");
        case 8: return S(element->name);                 // the namespace left out
        case 9: return name + " ";                        // a layout control's trailing blank
        case 10: return Pick(4) == 0 ? "zz:" + S(element->name) : name;   // now and then an unbound prefix
        default: return name;
        }
    }

    std::string LastAttributeStep(xmlNodePtr element)
    {
        std::vector<xmlAttrPtr> attributes;
        for (xmlAttrPtr a = element->properties; a; a = a->next) attributes.push_back(a);
        switch (Pick(4)) {
        case 0: return "@missing";
        case 1: return "@p:n";
        default:
            if (attributes.empty()) return "@id";
            xmlAttrPtr a = attributes[Pick(static_cast<int>(attributes.size()))];
            return "@" + QName(m_doc.PrefixOf(a->ns), a->name);
        }
    }

private:
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }

    // An attribute-value predicate that holds for the element; empty when it has none.
    std::string SomeAttribute(xmlNodePtr element)
    {
        std::vector<xmlAttrPtr> attributes;
        for (xmlAttrPtr a = element->properties; a; a = a->next) attributes.push_back(a);
        if (attributes.empty()) return "";
        xmlAttrPtr a = attributes[Pick(static_cast<int>(attributes.size()))];
        xmlChar* value = xmlNodeGetContent(reinterpret_cast<xmlNodePtr>(a));
        std::string text = Predicate(QName(m_doc.PrefixOf(a->ns), a->name), S(value));
        xmlFree(value);
        return text;
    }

    // The element's position among its siblings of the same name and namespace.
    static long Position(xmlNodePtr element)
    {
        long position = 1;
        for (xmlNodePtr s = element->prev; s; s = s->prev) {
            if (s->type == XML_ELEMENT_NODE && xmlStrEqual(s->name, element->name) && s->ns == element->ns) ++position;
        }
        return position;
    }

    const CBoundDoc& m_doc;
    std::mt19937& m_random;
};

struct Tally {
    int nPaths = 0;
    int nSelecting = 0;   // paths that selected something
    int nRefused = 0;     // paths the engine refused (unbound prefixes)
    int nLeftToEngine = 0;   // paths the walk declined though the engine answered
};

// Evaluates the path both ways from `from` and compares the outcomes.
void Compare(const CBoundDoc& doc, const std::string& text, xmlNodePtr from, bool absolute, Tally& tally)
{
    SCOPED_TRACE("path: " + text);
    CXmlPath path;
    ASSERT_TRUE(path.Parse(Wide(absolute ? text : "/" + text)));
    const std::vector<XmlPathStep>& steps = path.Steps();

    xmlXPathContextPtr context = doc.Context();
    context->node = from;
    const std::string expression = absolute ? path.Expression(steps.size()) : text;
    xmlXPathObjectPtr result = xmlXPathEvalExpression(X(expression.c_str()), context);

    CXmlPathWalker walker(context);
    xmlNodePtr first = reinterpret_cast<xmlNodePtr>(1);
    long count = -7;
    const bool walked = walker.First(steps.data(), steps.size(), from, first);
    EXPECT_EQ(walked, walker.Count(steps.data(), steps.size(), from, count));
    ++tally.nPaths;
    if (!result) {
        ++tally.nRefused;
        EXPECT_FALSE(walked) << "the engine refused the path";
        return;
    }
    ASSERT_EQ(XPATH_NODESET, result->type);
    if (!walked) {
        ++tally.nLeftToEngine;
        xmlXPathFreeObject(result);
        return;
    }
    const long engineCount = result->nodesetval ? result->nodesetval->nodeNr : 0;
    xmlNodePtr engineFirst = engineCount > 0 ? result->nodesetval->nodeTab[0] : nullptr;
    EXPECT_EQ(engineCount, count);
    EXPECT_EQ(engineFirst, first);
    if (engineCount > 0) ++tally.nSelecting;
    xmlXPathFreeObject(result);
}

void CollectElements(xmlNodePtr node, std::vector<xmlNodePtr>& elements)
{
    for (xmlNodePtr child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE) continue;
        elements.push_back(child);
        CollectElements(child, elements);
    }
}

// For every element, some absolute paths to it (each step in a random form,
// now and then ending in an attribute step), and some relative single steps
// from its parent.
Tally CompareOverDocument(const CBoundDoc& doc, int pathsPerElement)
{
    std::mt19937 random(20240611);
    CStepMaker maker(doc, random);
    std::vector<xmlNodePtr> elements;
    CollectElements(reinterpret_cast<xmlNodePtr>(doc.Doc()), elements);
    Tally tally;
    for (xmlNodePtr element : elements) {
        for (int n = 0; n < pathsPerElement; ++n) {
            std::vector<xmlNodePtr> chain;
            for (xmlNodePtr e = element; e && e->type == XML_ELEMENT_NODE; e = e->parent) chain.insert(chain.begin(), e);
            std::string text;
            for (xmlNodePtr e : chain) text += "/" + maker.Step(e);
            if (n % 3 == 2) text += "/" + maker.LastAttributeStep(element);
            Compare(doc, text, reinterpret_cast<xmlNodePtr>(doc.Doc()), true, tally);
            if (testing::Test::HasFatalFailure()) return tally;
        }
        xmlNodePtr parent = element->parent;
        Compare(doc, maker.Step(element), parent, false, tally);
        Compare(doc, maker.LastAttributeStep(element), element, false, tally);
    }
    return tally;
}

TEST(XmlPathWalkerTest, AgreesWithTheEngineOnACraftedNamespacedDocument)
{
    for (const char* defaultPrefix : {"d", static_cast<const char*>(nullptr)}) {
        SCOPED_TRACE(defaultPrefix ? "with a default prefix" : "without a default prefix");
        CBoundDoc doc(kCrafted, defaultPrefix);
        ASSERT_NE(nullptr, doc.Doc());
        Tally tally = CompareOverDocument(doc, 60);
        EXPECT_GT(tally.nPaths, 1500);
        // Without the prefix the root's namespace cannot be named: little selects anything.
        if (defaultPrefix) {
            EXPECT_GT(tally.nSelecting, tally.nPaths / 10);
        }
        EXPECT_GT(tally.nRefused, 0);
        // The values with entity references; no more than a few percent of the paths.
        EXPECT_LT(tally.nLeftToEngine, tally.nPaths / 20);
    }
}

TEST(XmlPathWalkerTest, AgreesWithTheEngineOnTheShippedLayoutStylesheet)
{
    const std::string bytes = testsupport::ReadFileBytes(testsupport::WorkDir() + "/Tavrion.xsl");
    ASSERT_FALSE(bytes.empty());
    CBoundDoc doc(bytes, nullptr);
    ASSERT_NE(nullptr, doc.Doc());
    Tally tally = CompareOverDocument(doc, 3);
    EXPECT_GT(tally.nPaths, 5000);
    EXPECT_GT(tally.nSelecting, tally.nPaths / 4);
    EXPECT_EQ(0, tally.nLeftToEngine);
}

TEST(XmlPathWalkerTest, AgreesWithTheEngineOnARealAnnotatedEcg)
{
    REQUIRE_SHARED_DATA(file, "aecg/minimum_aecg.xml");
    CBoundDoc doc(testsupport::ReadFileBytes(file), "hl7");
    ASSERT_NE(nullptr, doc.Doc());
    Tally tally = CompareOverDocument(doc, 20);
    EXPECT_GT(tally.nSelecting, tally.nPaths / 10);
    EXPECT_EQ(0, tally.nLeftToEngine);
}

// The layout loader's own access: each control's element, its Xml_path
// children counted and read by position, and the visibility tags.
TEST(XmlPathWalkerTest, AgreesWithTheEngineOnTheLayoutLoadersPaths)
{
    const std::string bytes = testsupport::ReadFileBytes(testsupport::WorkDir() + "/Tavrion.xsl");
    CBoundDoc doc(bytes, nullptr);
    ASSERT_NE(nullptr, doc.Doc());
    xmlNodePtr top = reinterpret_cast<xmlNodePtr>(doc.Doc());
    Tally tally;
    std::vector<xmlNodePtr> elements;
    CollectElements(top, elements);
    for (xmlNodePtr control : elements) {
        if (!control->parent || !xmlStrEqual(control->parent->name, X("template"))) continue;
        xmlChar* table = xmlGetProp(control->parent, X("name"));
        const std::string path = "/xsl:stylesheet/xsl:Layout/xsl:template" + Predicate("name", S(table)) + "/" +
                                 S(control->name);
        xmlFree(table);
        Compare(doc, path, top, true, tally);
        for (int n = 0; n <= 3; ++n)
            Compare(doc, path + "/Xml_path" + (n ? "[" + std::to_string(n) + "]" : ""), top, true, tally);
        Compare(doc, path + "/@left", top, true, tally);
    }
    for (int tag = 0; tag <= 12; ++tag)
        Compare(doc, "/xsl:stylesheet/xsl:Visible_info/Tag" + Predicate("id", std::to_string(tag)), top, true, tally);
    EXPECT_GT(tally.nPaths, 5000);
    EXPECT_GT(tally.nSelecting, 2000);
    EXPECT_EQ(0, tally.nLeftToEngine);
}

TEST(XmlPathWalkerTest, DeclinesUnboundPrefixesAndSelectsNothingFromNothing)
{
    CBoundDoc doc(kCrafted, "d");
    ASSERT_NE(nullptr, doc.Doc());
    CXmlPathWalker walker(doc.Context());
    CXmlPath path;
    xmlNodePtr found = nullptr;
    long count = 0;
    // A prefix bound below the root only, and one in a predicate.
    for (const char* text : {"/d:r/w/u/local:t", "/d:r/d:x[@zz:id='1']", "/d:r/@zz:a"}) {
        ASSERT_TRUE(path.Parse(Wide(text))) << text;
        EXPECT_FALSE(walker.First(path.Steps().data(), path.Steps().size(), reinterpret_cast<xmlNodePtr>(doc.Doc()), found));
        EXPECT_EQ(nullptr, found);
        EXPECT_FALSE(walker.Count(path.Steps().data(), path.Steps().size(), reinterpret_cast<xmlNodePtr>(doc.Doc()), count));
    }
    // The xml prefix is always bound, as in the engine.
    ASSERT_TRUE(path.Parse(L"/d:r/@xml:lang"));
    EXPECT_TRUE(walker.Count(path.Steps().data(), path.Steps().size(), reinterpret_cast<xmlNodePtr>(doc.Doc()), count));
    EXPECT_EQ(0, count);
    // No start node: nothing, and no crash.
    ASSERT_TRUE(path.Parse(L"/d:r"));
    EXPECT_TRUE(walker.First(path.Steps().data(), path.Steps().size(), nullptr, found));
    EXPECT_EQ(nullptr, found);
}

}  // namespace
