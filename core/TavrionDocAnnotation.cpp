// The annotation section of the record XML, read into and written from a
// record's chain of annotations.
#include "core/AnnoManager.h"
#include "core/ECGXMLParser.h"
#include "core/TavrionDoc.h"

namespace {

const wchar_t kAnnotationPath[] = L"/Rawdata/Annotation";
const wchar_t kAnnoPath[] = L"/Rawdata/Annotation/Anno";

CString AnnoPath(int n)
{
    CString path;
    path.Format(L"%s[%d]", kAnnoPath, n);
    return path;
}

// Appends an "Anno" element with its page style (and the annotation section
// when the record has none yet); non-zero when it is there.
int AppendAnno(CECGXMLParser& xml, int pageStyle)
{
    CXmlElmentNode node;
    node.SetName(L"Anno");
    node.SetNamespace(CString());
    node.SetContent(CString());
    CXmlAttribNode attrib;
    attrib.SetName(L"Page_style");
    CString value;
    value.Format(L"%d", pageStyle);
    attrib.SetContent(value);
    node.m_arrAttrib.Add(attrib);
    CString parent = kAnnotationPath;
    return xml.Add_LastChildNode(node, parent);
}

}  // namespace

void CTavrionDoc::GetAnnoInfoFromXML(_ANNOTATION_INFO* head, CECGXMLParser* xml)
{
    if (!head || !xml) return;
    const int count = xml->GetObjectCount(kAnnoPath);
    CAnnoManager manager;
    manager.SetListHeader(head);
    for (int n = 1; n <= count; ++n) {
        _ANNOTATION_INFO* info = manager.AddItem();
        if (!info) return;
        xml->GetAnnotation(info, AnnoPath(n));
    }
}

void CTavrionDoc::SaveAnnoInfoToXML(_ANNOTATION_INFO* head, CECGXMLParser* xml)
{
    if (!xml) return;
    const int count = xml->GetObjectCount(kAnnoPath);
    for (int i = 0; i < count; ++i) xml->RemoveNode(kAnnoPath);

    int n = 1;
    for (_ANNOTATION_INFO* info = head; info; info = info->pNext) {
        if (info->nPageStyle == -1) continue;
        // Without its element the record's path would name the next record's.
        if (!AppendAnno(*xml, info->nPageStyle)) continue;
        xml->SaveAnnotation(info, AnnoPath(n));
        ++n;
    }
    xml->SaveToXMLFile();
    m_bSettingSaveFailed = xml->m_bLastSaveFailed;
}
