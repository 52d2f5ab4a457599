// The XML document object and node classes the system works with (the
// stand-in of the closed XML library), on libxml2.
//
// One XML_PARSER holds one document in memory. XPaths are absolute location
// paths of child steps with optional prefixes ("xsl:", and the prefix set by
// SetNSDefaultPrefix for the document's default namespace), predicates on an
// attribute value ([@a='v']), 1-based positions ([n]) and a last attribute
// step (/@name). Values pass as wide text.
#pragma once

#include <functional>
#include <memory>

#include "platform/base/Collections.h"
#include "platform/base/Strings.h"

// Value kinds of GetDataFromXMLDOM / SetDataToXMLDOM.
#define XML_TYPE_ATTRIBUTE 2   // the attribute named by the last argument of the selected element
#define XML_TYPE_TEXT 4        // the text of the selected node (an attribute step selects the attribute)

class CXmlNode {
public:
    CXmlNode() = default;
    CXmlNode(const CXmlNode&) = default;
    CXmlNode& operator=(const CXmlNode&) = default;
    virtual ~CXmlNode() = default;

    void SetName(const CString& name) { m_strName = name; }
    void SetNamespace(const CString& ns) { m_strNamespace = ns; }
    void SetContent(const CString& content) { m_strContent = content; }
    const CString& GetName() const { return m_strName; }
    const CString& GetNamespace() const { return m_strNamespace; }
    const CString& GetContent() const { return m_strContent; }
    // Empties the node for reuse.
    virtual void Reset();

protected:
    CString m_strName;
    CString m_strNamespace;
    CString m_strContent;
};

class CXmlAttribNode : public CXmlNode {
public:
    CXmlAttribNode() = default;
    CXmlAttribNode(const CXmlAttribNode&) = default;
    CXmlAttribNode& operator=(const CXmlAttribNode&) = default;
    ~CXmlAttribNode() override = default;
};

class CXmlElmentNode : public CXmlNode {
public:
    CXmlElmentNode() = default;
    CXmlElmentNode(const CXmlElmentNode& other);
    CXmlElmentNode& operator=(const CXmlElmentNode& other);
    ~CXmlElmentNode() override = default;

    // Empties the name, namespace and text; the attribute array is the
    // caller's to empty, as the system does before reuse.
    void Reset() override;

    CArray<CXmlAttribNode, const CXmlAttribNode&> m_arrAttrib;   // appended by the caller, in order
};

class XML_PARSER {
public:
    XML_PARSER();
    virtual ~XML_PARSER();
    XML_PARSER(const XML_PARSER&) = delete;
    XML_PARSER& operator=(const XML_PARSER&) = delete;

    // The prefix that stands for the document's default namespace in XPaths;
    // set before InitXML.
    void SetNSDefaultPrefix(const wchar_t* prefix);
    // Loads the file; non-zero on success. A missing or malformed file leaves
    // an empty document whose reads fail.
    int InitXML(const CString& path, int flags);
    // Number of nodes the XPath selects; negative on error.
    long GetNodeCount(const CString& xpath, int unused1, int unused2);
    // Reads the text (type 4) or the named attribute (type 2) of the first
    // selected node; non-zero when it exists.
    int GetDataFromXMLDOM(CString& value, const CString& xpath, int type, const CString& attrib);
    // Stores the text or attribute of the first selected node; along a plain
    // child path, missing elements are created. Non-zero on success.
    int SetDataToXMLDOM(const CString& value, const CString& xpath, int type, const CString& attrib);
    int FindNode(const CString& xpath, int unused);
    // Removes the first selected node; non-zero when one was removed.
    int RemoveNode(const wchar_t* xpath, int unused);
    // Appends a copy of the node (name, attributes, text) as the last child
    // of the first element the parent XPath selects.
    int Add_LastChildNode(CXmlElmentNode& node, const wchar_t* parentXPath);
    // Writes the document, keeping the encoding it was loaded with, through a
    // temporary file and a rename. Non-zero on success; a document whose
    // file could not be read is never written over that file, nor is one
    // whose root read from the file is another element than a write of it
    // asked for (that write was refused: the save would keep nothing of
    // it). A document InitXML found no file for is written to that path as
    // a new file only (as SetNewFile with no route): a file another process
    // made there meanwhile is left as it is, and the save fails (EEXIST).
    int SaveToXMLFile(const CString& path);
    // The document is for a file not on disk yet: its next save creates the
    // file only where nothing is. A file this process made there meanwhile
    // is written over; where another is found, `whereElse` is asked where to
    // write: the same path to write over it, another path to create the file
    // there, or an empty one to write nothing (the save fails, EEXIST). A
    // save that wrote, or the next InitXML, ends it; null ends it now.
    using NewFileRoute = std::function<CString(const CString& taken)>;
    void SetNewFile(NewFileRoute whereElse);

    // What the last failed SaveToXMLFile of this thread was to write and why,
    // for the message that tells the user: the path as given, the system
    // error number (GetLastReplaceError; 0 when not known) and whether it was
    // refused because the file on disk could not be read. The path is empty
    // when no save failed since ForgetSaveFailure.
    struct SaveFailure {
        CString strPath;
        int nError = 0;
        bool bUnreadable = false;
    };
    static const SaveFailure& GetLastSaveFailure();
    static void ForgetSaveFailure();

    // Whether the last InitXML read a well-formed document.
    BOOL IsLoaded() const;
    // Whether the last InitXML found nothing under its path (no file there,
    // rather than an empty or unreadable one), until a save wrote the file.
    BOOL FoundNoFile() const;
    // Where the last InitXML failed: a libxml2 message with its line, empty when it did not.
    CString GetLoadError() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
