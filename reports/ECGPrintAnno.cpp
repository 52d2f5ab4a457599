#include "reports/ECGPrintAnno.h"

CECGPrintAnno::CECGPrintAnno() = default;

CECGPrintAnno::~CECGPrintAnno() = default;

int CECGPrintAnno::ECGAnnoDefaultPrint(const CString& strXMLPath)
{
    const int outcome = PrintJob(strXMLPath, FALSE, [this] { return PrintAnnotation(); }, [] { return 1; });
    ThrowIfShortOfMemory();
    return outcome > 0 ? TRUE : FALSE;
}

short CECGPrintAnno::PrintAnnotation()
{
    return 0;
}
