// CECGPrintAnno: reports with the screen's annotations. The host overrides
// PrintAnnotation and calls ECGAnnoDefaultPrint; its PDF is always delivered.
#pragma once

#include "reports/ECGPrintBase.h"

class CECGPrintAnno : public CECGPrintBase {
public:
    CECGPrintAnno();
    ~CECGPrintAnno() override;

    int ECGAnnoDefaultPrint(const CString& strXMLPath);

protected:
    // The host's job step: 0 when every page printed.
    virtual short PrintAnnotation();
};
