// Reads XML files the tools wrote with libxml2 itself, independent of the
// system's XML layer: a parse failure or a missing node is the writer's fault.
#pragma once

#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <string>
#include <vector>

namespace xmltest {

class Doc {
public:
    // Parses a file; ok() is false when libxml2 refuses it. An encoding given
    // here overrides the file's declaration.
    explicit Doc(const std::string& path, const char* encoding = nullptr)
        : m_doc(xmlReadFile(path.c_str(), encoding, XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR)) {}
    static Doc FromMemory(const std::string& bytes, const char* encoding) {
        return Doc(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "memory.xml", encoding,
                                 XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR));
    }
    Doc(Doc&& other) noexcept : m_doc(other.m_doc) { other.m_doc = nullptr; }
    Doc(const Doc&) = delete;
    Doc& operator=(const Doc&) = delete;
    ~Doc() {
        if (m_doc) xmlFreeDoc(m_doc);
    }

    bool ok() const { return m_doc != nullptr; }
    xmlDocPtr get() const { return m_doc; }

    // Number of nodes the XPath selects; -1 when it does not evaluate.
    int Count(const std::string& xpath) const {
        xmlXPathObjectPtr r = Eval(xpath);
        if (!r) return -1;
        const int n = r->type == XPATH_NODESET && r->nodesetval ? r->nodesetval->nodeNr : -1;
        xmlXPathFreeObject(r);
        return n;
    }
    // The string value of the XPath (of its first node); "" when none.
    std::string Value(const std::string& xpath) const {
        xmlXPathObjectPtr r = Eval("string(" + xpath + ")");
        std::string s;
        if (r && r->stringval) s = reinterpret_cast<const char*>(r->stringval);
        if (r) xmlXPathFreeObject(r);
        return s;
    }
    // The string values of every node the XPath selects, in document order.
    std::vector<std::string> Values(const std::string& xpath) const {
        std::vector<std::string> out;
        xmlXPathObjectPtr r = Eval(xpath);
        if (r && r->type == XPATH_NODESET && r->nodesetval) {
            for (int i = 0; i < r->nodesetval->nodeNr; ++i) {
                xmlChar* v = xmlNodeGetContent(r->nodesetval->nodeTab[i]);
                out.push_back(v ? reinterpret_cast<const char*>(v) : "");
                xmlFree(v);
            }
        }
        if (r) xmlXPathFreeObject(r);
        return out;
    }
    // Every element and attribute with its text, one per line: two documents
    // with equal dumps hold the same content.
    std::string Dump() const {
        std::string out;
        if (m_doc) DumpNode(xmlDocGetRootElement(m_doc), "", &out);
        return out;
    }

private:
    explicit Doc(xmlDocPtr doc) : m_doc(doc) {}

    xmlXPathObjectPtr Eval(const std::string& xpath) const {
        if (!m_doc) return nullptr;
        xmlXPathContextPtr ctx = xmlXPathNewContext(m_doc);
        if (!ctx) return nullptr;
        xmlXPathRegisterNs(ctx, BAD_CAST "xsl", BAD_CAST "http://www.w3.org/1999/XSL/Transform");
        xmlXPathObjectPtr r = xmlXPathEvalExpression(BAD_CAST xpath.c_str(), ctx);
        xmlXPathFreeContext(ctx);
        return r;
    }
    static void DumpNode(xmlNodePtr n, const std::string& path, std::string* out) {
        for (; n; n = n->next) {
            if (n->type != XML_ELEMENT_NODE) continue;
            const std::string here = path + "/" + reinterpret_cast<const char*>(n->name);
            *out += here + "\n";
            for (xmlAttrPtr a = n->properties; a; a = a->next) {
                xmlChar* v = xmlNodeListGetString(n->doc, a->children, 1);
                *out += here + "/@" + reinterpret_cast<const char*>(a->name) + "=" +
                        (v ? reinterpret_cast<const char*>(v) : "") + "\n";
                xmlFree(v);
            }
            for (xmlNodePtr c = n->children; c; c = c->next)
                if (c->type == XML_TEXT_NODE && c->content) *out += here + "#" + reinterpret_cast<const char*>(c->content) + "\n";
            DumpNode(n->children, here, out);
        }
    }

    xmlDocPtr m_doc;
};

}  // namespace xmltest
