#include "reports/ECGPrintAnno.h"

CECGPrintAnno::CECGPrintAnno() = default;

CECGPrintAnno::~CECGPrintAnno() = default;

int CECGPrintAnno::ECGAnnoDefaultPrint(const CString& strXMLPath)
{
    if (!PrintBegin(strXMLPath, FALSE)) return FALSE;
    return PrintEnd(PrintAnnotation(), 1) > 0 ? TRUE : FALSE;
}

short CECGPrintAnno::PrintAnnotation()
{
    return 0;
}
