#include "platform/xml/XmlParser.h"

#include <fcntl.h>
#include <libxml/encoding.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>

#include "platform/base/File.h"
#include "platform/xml/XmlPath.h"
#include "platform/xml/XmlPathWalker.h"
#include "platform/xml/XmlSaveFile.h"
#include "platform/xml/XmlText.h"

namespace {

using platform::xmltext::FromXmlUtf8;
using platform::xmltext::ToXmlUtf8;

// Record files are a few hundred kilobytes; anything far larger is not one.
const off_t kMaxFileSize = 256L * 1024 * 1024;
// The most places a new file's first save tries when others took them.
const int kNewFileTries = 16;
// Paths whose selection a document remembers before it starts afresh: more
// than the layout stylesheet's controls, few enough to stay small.
const size_t kMaxRememberedPaths = 4096;

const xmlChar* X(const std::string& text)
{
    return reinterpret_cast<const xmlChar*>(text.c_str());
}

void IgnoreXPathError(void*, xmlErrorPtr) {}
void IgnoreGenericError(void*, const char*, ...) {}

// libxml2 reports encoding and I/O trouble through its per-thread handlers,
// which print to the console; the system reports nothing from this layer
// (the load error keeps what the caller may want). Restores the handlers
// found, so another user of libxml2 in the process keeps its own.
class CQuietLibxml {
public:
    CQuietLibxml()
        : m_generic(xmlGenericError), m_genericContext(xmlGenericErrorContext), m_structured(xmlStructuredError),
          m_structuredContext(xmlStructuredErrorContext)
    {
        xmlSetGenericErrorFunc(nullptr, IgnoreGenericError);
        xmlSetStructuredErrorFunc(nullptr, IgnoreXPathError);
    }
    ~CQuietLibxml()
    {
        xmlSetGenericErrorFunc(m_genericContext, m_generic);
        xmlSetStructuredErrorFunc(m_structuredContext, m_structured);
    }
    CQuietLibxml(const CQuietLibxml&) = delete;
    CQuietLibxml& operator=(const CQuietLibxml&) = delete;

private:
    xmlGenericErrorFunc m_generic;
    void* m_genericContext;
    xmlStructuredErrorFunc m_structured;
    void* m_structuredContext;
};

void InitLibxml()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        // Files that say Shift_JIS were written by Windows, whose Shift-JIS
        // is code page 932 (NEC and IBM extensions, the Windows mapping of
        // the wave dash); iconv's strict Shift_JIS would refuse their text.
        static const char* const kShiftJisNames[] = {"SHIFT_JIS", "SHIFT-JIS", "SJIS", "MS_KANJI", "CSSHIFTJIS",
                                                     "X-SJIS", "WINDOWS-31J", "MS932"};
        for (const char* alias : kShiftJisNames) xmlAddEncodingAlias("CP932", alias);
    });
}

struct XPathObjectDeleter {
    void operator()(xmlXPathObjectPtr object) const { xmlXPathFreeObject(object); }
};
typedef std::unique_ptr<xmlXPathObject, XPathObjectDeleter> XPathResult;

struct XmlStringDeleter {
    void operator()(xmlChar* text) const { xmlFree(text); }
};
typedef std::unique_ptr<xmlChar, XmlStringDeleter> XmlString;

bool IsTextChild(xmlNodePtr node)
{
    return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE || node->type == XML_ENTITY_REF_NODE;
}

bool HasElementChild(xmlNodePtr element)
{
    for (xmlNodePtr child = element->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE) return true;
    }
    return false;
}

// The element's own text. An element that also holds elements (a layout
// entry's caption beside its Xml_path children) loses the blanks that only
// lay out those children.
CString OwnText(xmlNodePtr element)
{
    std::string text;
    for (xmlNodePtr child = element->children; child; child = child->next) {
        if (!IsTextChild(child)) continue;
        XmlString part(xmlNodeGetContent(child));
        if (part) text += reinterpret_cast<const char*>(part.get());
    }
    if (HasElementChild(element)) {
        const char* blanks = " \t\r\n";
        size_t first = text.find_first_not_of(blanks);
        text = first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(blanks) - first + 1);
    }
    return FromXmlUtf8(X(text));
}

void SetOwnText(xmlNodePtr element, const CString& value)
{
    xmlNodePtr child = element->children;
    while (child) {
        xmlNodePtr next = child->next;
        if (IsTextChild(child)) {
            xmlUnlinkNode(child);
            xmlFreeNode(child);
        }
        child = next;
    }
    if (value.IsEmpty()) return;
    // xmlNewDocText stores the text as it is (no entity parsing); the saver escapes it.
    xmlNodePtr text = xmlNewDocText(element->doc, X(ToXmlUtf8(value)));
    if (!text) return;
    if (element->children) {
        xmlAddPrevSibling(element->children, text);   // the caption comes before child elements
    } else {
        xmlAddChild(element, text);
    }
}

bool IsNamespaceAttribute(const std::string& prefix, const std::string& name)
{
    // Declarations are the document's business, not a value to store.
    return prefix == "xmlns" || (prefix.empty() && name == "xmlns");
}

std::string ReadWholeFile(int fd, off_t size, bool& ok)
{
    std::string bytes(static_cast<size_t>(size), '\0');
    size_t done = 0;
    ok = true;
    while (done < bytes.size()) {
        ssize_t got = read(fd, &bytes[done], bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            ok = false;
            break;
        }
        if (got == 0) break;   // the file shrank while we read it
        done += static_cast<size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

}  // namespace

// ---- the document ------------------------------------------------------------

struct XML_PARSER::Impl {
    enum class State {
        Fresh,        // no file loaded yet
        Loaded,       // a well-formed document was read
        Absent,       // no file (or an empty one): a save creates it
        Unreadable    // the file exists but could not be read or parsed: never written over
    };

    ~Impl() { Clear(); }

    void Clear();
    void StartEmpty();
    bool Load(const std::string& nativePath);

    xmlNodePtr Root() const { return xmlDocGetRootElement(pDoc); }
    xmlNsPtr DefaultNamespace() const;
    bool Prepare(const CString& xpath, CXmlPath& path) const;
    xmlXPathContextPtr Context();
    void ForgetContext();
    // A change of the document may turn any node or miss found by a path
    // wrong.
    void ForgetFound() { mapFound.clear(); }
    // Where the walker last found an element among its siblings holds while
    // elements are only added, each as the last child of its parent: so do
    // the saves, which write thousands of annotations one under the other,
    // and reading their paths again from the first sibling each time would
    // cost the square of their number. A removal moves the siblings after
    // it and frees the node: then it is all forgotten.
    void ForgetPlaces()
    {
        ForgetFound();
        if (pWalker) pWalker->Forget();
    }
    XPathResult Evaluate(const XmlPathStep* steps, size_t count, xmlNodePtr from);
    // The first node the steps select from `from` (the document when null),
    // null when none; their count, negative on error.
    xmlNodePtr SelectFirst(const XmlPathStep* steps, size_t count, xmlNodePtr from = nullptr);
    long SelectCount(const XmlPathStep* steps, size_t count, xmlNodePtr from = nullptr);
    // What a path the system wrote selects first (null for nothing); false
    // when the path is refused. Remembered by its text until the document changes.
    bool Find(const CString& xpath, xmlNodePtr& found);

    bool ResolvePrefix(xmlNodePtr scope, const std::string& prefix, xmlNsPtr& ns) const;
    xmlNodePtr FindOrCreateElement(const CXmlPath& path);
    xmlNodePtr CreateStep(xmlNodePtr parent, const XmlPathStep& step);
    xmlNodePtr NewStepElement(xmlNodePtr scope, const XmlPathStep& step);
    // scope: where the prefix is looked up (the element, or the parent of one not linked yet).
    bool SetAttribute(xmlNodePtr element, xmlNodePtr scope, const std::string& prefix, const std::string& name,
                      const CString& value);
    xmlNodePtr BuildElement(xmlNodePtr scope, const CXmlElmentNode& node);

    xmlDocPtr pDoc = nullptr;
    xmlXPathContextPtr pContext = nullptr;   // namespaces bound for the current root; null: bind again
    std::unique_ptr<CXmlPathWalker> pWalker; // walks with pContext's bindings; null with it
    std::string strDefaultPrefix;            // stands for the root's default namespace; empty for none
    State state = State::Fresh;
    XML_PARSER::NewFileRoute newFile;        // set: the next save creates the file (SetNewFile)
    // The file the last load found nothing under ('/' path; empty when it
    // found something): the document's first save there only creates it.
    std::string strMissingPath;
    // A write was refused because the root read from the file is another
    // element than the path's first step: the document is not the one the
    // writer writes into, and a save would keep none of what it wrote.
    bool bForeignRoot = false;
    CString strLoadError;                    // "line L, column C: message"; empty after a good load
    // The node each path text selected first (null: none). Readers ask for
    // one element's attributes one by one and for the same visibility tags
    // again and again; any change of the document forgets them all.
    std::unordered_map<std::wstring, xmlNodePtr> mapFound;
};

void XML_PARSER::Impl::Clear()
{
    ForgetContext();
    if (pDoc) xmlFreeDoc(pDoc);
    pDoc = nullptr;
}

void XML_PARSER::Impl::StartEmpty()
{
    Clear();
    pDoc = xmlNewDoc(X("1.0"));
    strMissingPath.clear();
    bForeignRoot = false;
}

bool XML_PARSER::Impl::Load(const std::string& nativePath)
{
    CQuietLibxml quiet;
    StartEmpty();
    strLoadError.Empty();
    struct stat st;
    if (stat(nativePath.c_str(), &st) != 0) {
        state = (errno == ENOENT || errno == ENOTDIR) ? State::Absent : State::Unreadable;
        strLoadError = state == State::Absent ? L"the file does not exist" : L"the file cannot be examined";
        if (state == State::Absent) strMissingPath = nativePath;
        return false;
    }
    if (!S_ISREG(st.st_mode) || st.st_size > kMaxFileSize) {
        state = State::Unreadable;
        strLoadError = S_ISREG(st.st_mode) ? L"the file is too large" : L"not a file";
        return false;
    }
    int fd = open(nativePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        state = State::Unreadable;
        strLoadError = L"the file cannot be opened";
        return false;
    }
    bool readOk = false;
    std::string bytes = ReadWholeFile(fd, st.st_size, readOk);
    close(fd);
    if (!readOk) {
        state = State::Unreadable;
        strLoadError = L"the file cannot be read";
        return false;
    }
    if (bytes.empty()) {
        state = State::Absent;   // nothing in it to lose
        strLoadError = L"the file is empty";
        return false;
    }

    xmlParserCtxtPtr parser = xmlNewParserCtxt();
    if (!parser) {
        state = State::Unreadable;
        strLoadError = L"out of memory";
        return false;
    }
    // No network, no external entities (not asked for), no messages on the
    // console; formatting blanks between elements go, so a save can indent.
    const int options = XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_NOCDATA | XML_PARSE_NOERROR |
                        XML_PARSE_NOWARNING;
    xmlDocPtr doc = xmlCtxtReadMemory(parser, bytes.data(), static_cast<int>(bytes.size()), nativePath.c_str(),
                                      nullptr, options);
    if (!doc || !parser->wellFormed || !xmlDocGetRootElement(doc)) {
        xmlErrorPtr error = xmlCtxtGetLastError(parser);
        CString message = error && error->message ? FromXmlUtf8(X(error->message)) : CString(L"not a well-formed document");
        message.TrimRight();
        strLoadError.Format(L"line %d, column %d: %s", error ? error->line : 0, error ? error->int2 : 0,
                            static_cast<LPCWSTR>(message));
        if (doc) xmlFreeDoc(doc);
        xmlFreeParserCtxt(parser);
        state = State::Unreadable;
        return false;
    }
    xmlFreeParserCtxt(parser);
    Clear();
    pDoc = doc;
    state = State::Loaded;
    return true;
}

xmlNsPtr XML_PARSER::Impl::DefaultNamespace() const
{
    xmlNodePtr root = Root();
    if (!root) return nullptr;
    for (xmlNsPtr ns = root->nsDef; ns; ns = ns->next) {
        if (!ns->prefix && ns->href && ns->href[0]) return ns;
    }
    return nullptr;
}

bool XML_PARSER::Impl::Prepare(const CString& xpath, CXmlPath& path) const
{
    if (!pDoc || !path.Parse(xpath)) return false;
    // In a document without a default namespace the default prefix stands
    // for no namespace at all (unless the document binds it itself).
    if (strDefaultPrefix.empty() || DefaultNamespace()) return true;
    if (!Root() || !xmlSearchNs(pDoc, Root(), X(strDefaultPrefix))) path.DropPrefix(strDefaultPrefix);
    return true;
}

xmlXPathContextPtr XML_PARSER::Impl::Context()
{
    if (pContext) return pContext;
    pContext = xmlXPathNewContext(pDoc);
    if (!pContext) return nullptr;
    pContext->error = IgnoreXPathError;
    // Every prefix the root declares ("xsl" in the layout stylesheet), and
    // the caller's prefix for the default namespace (the HL7 headers).
    if (xmlNodePtr root = Root()) {
        for (xmlNsPtr ns = root->nsDef; ns; ns = ns->next) {
            if (ns->prefix && ns->href) xmlXPathRegisterNs(pContext, ns->prefix, ns->href);
        }
    }
    if (xmlNsPtr ns = DefaultNamespace(); ns && !strDefaultPrefix.empty()) {
        xmlXPathRegisterNs(pContext, X(strDefaultPrefix), ns->href);
    }
    pWalker.reset(new CXmlPathWalker(pContext));
    return pContext;
}

void XML_PARSER::Impl::ForgetContext()
{
    ForgetFound();
    pWalker.reset();
    if (pContext) xmlXPathFreeContext(pContext);
    pContext = nullptr;
}

// The engine decides what the walk declines (a prefix without a binding,
// which it reports as an error).
XPathResult XML_PARSER::Impl::Evaluate(const XmlPathStep* steps, size_t count, xmlNodePtr from)
{
    xmlXPathContextPtr context = Context();
    if (!context) return XPathResult();
    std::string expression;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) expression += '/';
        expression += CXmlPath::StepExpression(steps[i], true);
    }
    context->node = from ? from : reinterpret_cast<xmlNodePtr>(pDoc);   // from the document: an absolute path
    return XPathResult(xmlXPathEvalExpression(X(expression), context));
}

xmlNodePtr XML_PARSER::Impl::SelectFirst(const XmlPathStep* steps, size_t count, xmlNodePtr from)
{
    if (!pDoc || count == 0 || !Context()) return nullptr;
    xmlNodePtr start = from ? from : reinterpret_cast<xmlNodePtr>(pDoc);
    xmlNodePtr found = nullptr;
    if (pWalker->First(steps, count, start, found)) return found;
    XPathResult result = Evaluate(steps, count, from);
    if (!result || result->type != XPATH_NODESET || xmlXPathNodeSetIsEmpty(result->nodesetval)) return nullptr;
    return xmlXPathNodeSetItem(result->nodesetval, 0);
}

long XML_PARSER::Impl::SelectCount(const XmlPathStep* steps, size_t count, xmlNodePtr from)
{
    if (!pDoc || count == 0 || !Context()) return -1;
    xmlNodePtr start = from ? from : reinterpret_cast<xmlNodePtr>(pDoc);
    long selected = 0;
    if (pWalker->Count(steps, count, start, selected)) return selected;
    XPathResult result = Evaluate(steps, count, from);
    if (!result || result->type != XPATH_NODESET) return -1;
    return result->nodesetval ? result->nodesetval->nodeNr : 0;
}

bool XML_PARSER::Impl::Find(const CString& xpath, xmlNodePtr& found)
{
    found = nullptr;
    auto known = mapFound.find(xpath.str());
    if (known != mapFound.end()) {
        found = known->second;
        return true;
    }
    CXmlPath path;
    if (!Prepare(xpath, path)) return false;
    found = SelectFirst(path.Steps().data(), path.Steps().size());
    if (mapFound.size() >= kMaxRememberedPaths) mapFound.clear();
    mapFound.emplace(xpath.str(), found);
    return true;
}

bool XML_PARSER::Impl::ResolvePrefix(xmlNodePtr scope, const std::string& prefix, xmlNsPtr& ns) const
{
    ns = nullptr;
    if (prefix.empty()) return true;
    if (prefix == strDefaultPrefix) ns = DefaultNamespace();
    if (!ns && scope && scope->type == XML_ELEMENT_NODE) ns = xmlSearchNs(pDoc, scope, X(prefix));
    if (!ns && Root()) ns = xmlSearchNs(pDoc, Root(), X(prefix));
    return ns != nullptr;
}

bool XML_PARSER::Impl::SetAttribute(xmlNodePtr element, xmlNodePtr scope, const std::string& prefix,
                                    const std::string& name, const CString& value)
{
    if (IsNamespaceAttribute(prefix, name)) return false;
    xmlNsPtr ns = nullptr;
    if (!ResolvePrefix(scope, prefix, ns)) return false;
    ForgetFound();   // a remembered miss of this attribute would be stale
    // xmlSetNsProp keeps the value as text (no entity parsing); the saver escapes it.
    return xmlSetNsProp(element, ns, X(name), X(ToXmlUtf8(value))) != nullptr;
}

xmlNodePtr XML_PARSER::Impl::NewStepElement(xmlNodePtr scope, const XmlPathStep& step)
{
    xmlNsPtr ns = nullptr;
    if (!ResolvePrefix(scope, step.strPrefix, ns)) return nullptr;
    xmlNodePtr element = xmlNewDocNode(pDoc, ns, X(step.strName), nullptr);
    if (!element) return nullptr;
    for (const XmlPathPredicate& predicate : step.predicates) {
        if (predicate.bPosition) continue;
        CString value = FromXmlUtf8(X(predicate.strValue));
        if (!SetAttribute(element, scope, predicate.strPrefix, predicate.strName, value)) {
            xmlFreeNode(element);
            return nullptr;
        }
    }
    return element;
}

// Appends the elements a missing step needs under parent: one, or for a
// position predicate as many as bring the matching siblings up to it.
xmlNodePtr XML_PARSER::Impl::CreateStep(xmlNodePtr parent, const XmlPathStep& step)
{
    long wanted = 1;
    for (const XmlPathPredicate& predicate : step.predicates) {
        if (predicate.bPosition) wanted = predicate.nPosition;
    }
    XmlPathStep unpositioned = step;
    unpositioned.predicates.clear();
    for (const XmlPathPredicate& predicate : step.predicates) {
        if (!predicate.bPosition) unpositioned.predicates.push_back(predicate);
    }
    long have = SelectCount(&unpositioned, 1, parent);
    if (have < 0 || have >= wanted) return nullptr;   // a predicate the siblings cannot be made to meet

    const bool atTop = parent->type == XML_DOCUMENT_NODE;
    if (atTop && Root()) {
        // A document has one root. One read from a file that is another
        // element is not the document the writer writes into.
        if (state == State::Loaded) bForeignRoot = true;
        return nullptr;
    }
    if (atTop && wanted != 1) return nullptr;
    ForgetFound();
    xmlNodePtr created = nullptr;
    for (long i = have; i < wanted; ++i) {
        created = NewStepElement(atTop ? nullptr : parent, step);
        if (!created) return nullptr;
        if (atTop) {
            xmlDocSetRootElement(pDoc, created);
            ForgetContext();
        } else {
            xmlAddChild(parent, created);
        }
    }
    return created;
}

xmlNodePtr XML_PARSER::Impl::FindOrCreateElement(const CXmlPath& path)
{
    const size_t steps = path.ElementStepCount();
    if (steps == 0) return nullptr;
    if (xmlNodePtr found = SelectFirst(path.Steps().data(), steps)) return found;
    // Walk down from the top, each step under the first node found for the
    // one before, and create what is missing from there on.
    xmlNodePtr current = reinterpret_cast<xmlNodePtr>(pDoc);
    for (size_t i = 0; i < steps && current; ++i) {
        const XmlPathStep& step = path.Steps()[i];
        xmlNodePtr next = SelectFirst(&step, 1, current);
        current = next ? next : CreateStep(current, step);
    }
    return current;
}

xmlNodePtr XML_PARSER::Impl::BuildElement(xmlNodePtr scope, const CXmlElmentNode& node)
{
    std::string prefix, name;
    if (!CXmlPath::ParseQName(node.GetName(), prefix, name)) return nullptr;
    xmlNsPtr ns = nullptr;
    if (prefix.empty() && !node.GetNamespace().IsEmpty()) {
        // A namespace given apart from the name: a prefix in scope, else a URI in scope.
        std::string given = ToXmlUtf8(node.GetNamespace());
        if (!ResolvePrefix(scope, given, ns)) ns = xmlSearchNsByHref(pDoc, scope, X(given));
        if (!ns) return nullptr;
    } else if (!ResolvePrefix(scope, prefix, ns)) {
        return nullptr;
    }
    xmlNodePtr element = xmlNewDocNode(pDoc, ns, X(name), nullptr);
    if (!element) return nullptr;
    bool ok = true;
    for (INT_PTR i = 0; ok && i < node.m_arrAttrib.GetSize(); ++i) {
        const CXmlAttribNode& attrib = node.m_arrAttrib[i];
        std::string attribPrefix, attribName;
        ok = CXmlPath::ParseQName(attrib.GetName(), attribPrefix, attribName) &&
             SetAttribute(element, scope, attribPrefix, attribName, attrib.GetContent());
    }
    if (!ok) {
        xmlFreeNode(element);
        return nullptr;
    }
    SetOwnText(element, node.GetContent());
    return element;
}

// ---- XML_PARSER ----------------------------------------------------------------

XML_PARSER::XML_PARSER() : m_pImpl(new Impl)
{
    InitLibxml();
    m_pImpl->StartEmpty();
}

XML_PARSER::~XML_PARSER() = default;

void XML_PARSER::SetNSDefaultPrefix(const wchar_t* prefix)
{
    m_pImpl->strDefaultPrefix.clear();
    std::string dummy, name;
    if (prefix && *prefix && CXmlPath::ParseQName(prefix, dummy, name) && dummy.empty()) {
        m_pImpl->strDefaultPrefix = name;
    }
    m_pImpl->ForgetContext();
}

int XML_PARSER::InitXML(const CString& path, int /*flags*/)
{
    m_pImpl->newFile = nullptr;
    if (path.IsEmpty()) {
        m_pImpl->StartEmpty();
        m_pImpl->state = Impl::State::Absent;
        m_pImpl->strLoadError = L"no file name";
        return 0;
    }
    return m_pImpl->Load(platform::NativePath(path)) ? 1 : 0;
}

long XML_PARSER::GetNodeCount(const CString& xpath, int, int)
{
    CXmlPath path;
    if (!m_pImpl->Prepare(xpath, path)) return -1;
    return m_pImpl->SelectCount(path.Steps().data(), path.Steps().size());
}

int XML_PARSER::GetDataFromXMLDOM(CString& value, const CString& xpath, int type, const CString& attrib)
{
    value.Empty();
    if (type != XML_TYPE_ATTRIBUTE && type != XML_TYPE_TEXT) return 0;
    xmlNodePtr node = nullptr;
    if (!m_pImpl->Find(xpath, node) || !node) return 0;

    if (type == XML_TYPE_TEXT) {
        if (node->type == XML_ATTRIBUTE_NODE) {
            XmlString text(xmlNodeGetContent(node));
            value = FromXmlUtf8(text.get());
            return 1;
        }
        if (node->type != XML_ELEMENT_NODE) return 0;
        value = OwnText(node);
        return 1;
    }

    std::string prefix, name;
    if (node->type != XML_ELEMENT_NODE || !CXmlPath::ParseQName(attrib, prefix, name)) return 0;
    xmlNsPtr ns = nullptr;
    if (!m_pImpl->ResolvePrefix(node, prefix, ns)) return 0;
    XmlString text(ns ? xmlGetNsProp(node, X(name), ns->href) : xmlGetNoNsProp(node, X(name)));
    if (!text) return 0;
    value = FromXmlUtf8(text.get());
    return 1;
}

int XML_PARSER::SetDataToXMLDOM(const CString& value, const CString& xpath, int type, const CString& attrib)
{
    if (type != XML_TYPE_ATTRIBUTE && type != XML_TYPE_TEXT) return 0;
    m_pImpl->ForgetFound();   // whatever happens below may change the document
    CXmlPath path;
    if (!m_pImpl->Prepare(xpath, path)) return 0;
    std::string prefix, name;
    if (type == XML_TYPE_ATTRIBUTE) {
        if (path.EndsWithAttribute() || !CXmlPath::ParseQName(attrib, prefix, name)) return 0;
    } else if (path.EndsWithAttribute()) {
        prefix = path.Steps().back().strPrefix;
        name = path.Steps().back().strName;
    }
    // Check the attribute before anything is created for it.
    if (!name.empty() && IsNamespaceAttribute(prefix, name)) return 0;

    xmlNodePtr element = m_pImpl->FindOrCreateElement(path);
    if (!element) return 0;
    if (name.empty()) {
        SetOwnText(element, value);
        return 1;
    }
    return m_pImpl->SetAttribute(element, element, prefix, name, value) ? 1 : 0;
}

int XML_PARSER::FindNode(const CString& xpath, int)
{
    return GetNodeCount(xpath, 1, 0) > 0 ? 1 : 0;
}

int XML_PARSER::RemoveNode(const wchar_t* xpath, int)
{
    if (!xpath) return 0;
    xmlNodePtr node = nullptr;
    if (!m_pImpl->Find(xpath, node) || !node) return 0;
    m_pImpl->ForgetPlaces();
    if (node->type == XML_ATTRIBUTE_NODE) return xmlRemoveProp(reinterpret_cast<xmlAttrPtr>(node)) == 0 ? 1 : 0;
    if (node->type != XML_ELEMENT_NODE) return 0;
    if (node == m_pImpl->Root()) m_pImpl->ForgetContext();
    xmlUnlinkNode(node);
    xmlFreeNode(node);
    return 1;
}

int XML_PARSER::Add_LastChildNode(CXmlElmentNode& node, const wchar_t* parentXPath)
{
    if (!parentXPath) return 0;
    m_pImpl->ForgetFound();   // whatever happens below may change the document
    CXmlPath path;
    if (!m_pImpl->Prepare(parentXPath, path) || path.EndsWithAttribute()) return 0;
    // Check the node before a missing parent is created for it.
    std::string prefix, name;
    if (!CXmlPath::ParseQName(node.GetName(), prefix, name)) return 0;
    xmlNodePtr parent = m_pImpl->FindOrCreateElement(path);
    if (!parent) return 0;
    xmlNodePtr element = m_pImpl->BuildElement(parent, node);
    if (!element) return 0;
    xmlAddChild(parent, element);
    return 1;
}

namespace {

XML_PARSER::SaveFailure& LastSaveFailure()
{
    static thread_local XML_PARSER::SaveFailure failure;
    return failure;
}

int SaveFailed(const CString& path, int error, bool unreadable)
{
    XML_PARSER::SaveFailure& failure = LastSaveFailure();
    failure.strPath = path;
    failure.nError = error;
    failure.bUnreadable = unreadable;
    return 0;
}

}  // namespace

const XML_PARSER::SaveFailure& XML_PARSER::GetLastSaveFailure()
{
    return LastSaveFailure();
}

void XML_PARSER::ForgetSaveFailure()
{
    LastSaveFailure() = SaveFailure();
}

void XML_PARSER::SetNewFile(NewFileRoute whereElse)
{
    m_pImpl->newFile = std::move(whereElse);
}

int XML_PARSER::SaveToXMLFile(const CString& path)
{
    // The fault this guards against: a record that failed to load holds an
    // empty document, and writing it out would destroy the file on disk.
    if (m_pImpl->state == Impl::State::Unreadable) {
        // A folder under the name is no file that could not be read: the user
        // is told the folder is in the way.
        struct stat st;
        if (!path.IsEmpty() && stat(platform::NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return SaveFailed(path, EISDIR, false);
        return SaveFailed(path, 0, true);
    }
    // A file whose root is another element than the one written into was
    // not read as the document the writer knows: writing it back unchanged
    // would report a save that kept nothing.
    if (m_pImpl->bForeignRoot) return SaveFailed(path, 0, true);
    if (path.IsEmpty() || !m_pImpl->pDoc || !m_pImpl->Root()) return SaveFailed(path, 0, false);   // no root: not a document

    CQuietLibxml quiet;
    const char* encoding = m_pImpl->pDoc->encoding ? reinterpret_cast<const char*>(m_pImpl->pDoc->encoding) : "UTF-8";
    xmlChar* bytes = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(m_pImpl->pDoc, &bytes, &size, encoding, 1);
    if (!bytes) {
        // An encoding libxml2 can read but not write: UTF-8 keeps every character.
        xmlDocDumpFormatMemoryEnc(m_pImpl->pDoc, &bytes, &size, "UTF-8", 1);
    }
    if (!bytes) return SaveFailed(path, 0, false);
    std::string data(reinterpret_cast<const char*>(bytes), static_cast<size_t>(size));
    xmlFree(bytes);
    CString target = path;
    // A document read where nothing was is written there only while nothing
    // is: a file another process made meanwhile is never replaced by it,
    // whether or not the document was given a new-file route.
    const bool missing = !m_pImpl->strMissingPath.empty() && platform::NativePath(target) == m_pImpl->strMissingPath;
    if (m_pImpl->newFile || missing) {
        // A file this process made meanwhile (through another document on
        // the same name) is written over as before; of one another process
        // made, the route decides, and without one the save fails.
        for (int tries = 0;; ++tries) {
            const std::string native = platform::NativePath(target);
            if (platform::CreateFileContents(native, data)) {
                m_pImpl->newFile = nullptr;
                m_pImpl->strMissingPath.clear();
                return 1;
            }
            const int error = platform::GetLastReplaceError();
            if (error != EEXIST) return SaveFailed(target, error, false);
            if (platform::WasCreatedHere(native)) break;
            const CString next = m_pImpl->newFile && tries < kNewFileTries ? m_pImpl->newFile(target) : CString();
            if (next.IsEmpty()) return SaveFailed(target, EEXIST, false);
            if (next == target) break;
            target = next;
        }
        m_pImpl->newFile = nullptr;
        m_pImpl->strMissingPath.clear();
    }
    if (!platform::ReplaceFileContents(platform::NativePath(target), data))
        return SaveFailed(target, platform::GetLastReplaceError(), false);
    return 1;
}

BOOL XML_PARSER::IsLoaded() const
{
    return m_pImpl->state == Impl::State::Loaded;
}

BOOL XML_PARSER::FoundNoFile() const
{
    return m_pImpl->strMissingPath.empty() ? FALSE : TRUE;
}

CString XML_PARSER::GetLoadError() const
{
    return m_pImpl->strLoadError;
}
