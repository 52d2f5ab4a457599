// The annotation reading and saving that every examination document's SaveAnnotationToXML
// makes for its own item.
#include "core/ECGXMLParser.h"
#include "core/TavrionDoc.h"

int CTavrionDoc::SaveAnnotationsToFile(const CString& strXMLPath, _ANNOTATION_INFO* head, int b8000File)
{
    if (strXMLPath.IsEmpty()) return 255;
    CECGXMLParser xml(strXMLPath, b8000File, CString());
    SaveAnnoInfoToXML(head, &xml);   // writes the file itself
    return xml.m_bLastSaveFailed ? 255 : 0;
}

void CTavrionDoc::ReadAnnotationsAgain(_ANNOTATION_INFO*& head, CECGXMLParser* xml)
{
    DeleteAnnotationChain(head);
    head = new _ANNOTATION_INFO;
    GetAnnoInfoFromXML(head, xml);
}
