#include "dialogs/XmlPathMaker.h"

#include "core/ECGXMLParser.h"
#include "platform/xml/XmlParser.h"

BOOL EnsureElementPath(CECGXMLParser& xml, const CString& path)
{
    if (path.IsEmpty() || path[0] != L'/') return FALSE;
    if (xml.GetObjectCount(path) > 0) return TRUE;
    CString parent;
    int start = 1;
    while (start <= path.GetLength()) {
        int slash = path.Find(L'/', start);
        if (slash < 0) slash = path.GetLength();
        const CString name = path.Mid(start, slash - start);
        const CString here = parent + L"/" + name;
        if (name.IsEmpty()) return FALSE;
        if (xml.GetObjectCount(here) == 0) {
            if (parent.IsEmpty()) return FALSE;   // a file without its root element is not ours to write
            CXmlElmentNode node;
            node.SetName(name);
            if (!xml.Add_LastChildNode(node, parent)) return FALSE;
        }
        parent = here;
        start = slash + 1;
    }
    return xml.GetObjectCount(path) > 0 ? TRUE : FALSE;
}
