#include "reports/ECGPrintReport.h"

namespace {
constexpr unsigned long kPrintShownBit = 1UL << 31;
constexpr unsigned long kHideStatusBit = 1UL << 30;
}  // namespace

CECGPrintReport::CECGPrintReport()
{
    ResetPrintStyle();
}

CECGPrintReport::~CECGPrintReport() = default;

int CECGPrintReport::ECGDefaultPrint(const CString& strXMLPath, long lStyle, long lOption)
{
    SetPrintStyle(lStyle, lOption);
    // The step sets the page count that decides the delivery: it is read after.
    const int outcome = PrintJob(
        strXMLPath, m_bHideStatus, [this] { return PrintReport(); }, [this] { return m_nPageCount; });
    ResetPrintStyle();
    ThrowIfShortOfMemory();
    return outcome ? TRUE : FALSE;
}

short CECGPrintReport::PrintReport()
{
    return 0;
}

void CECGPrintReport::SetPrintStyle(long lStyle, long lOption)
{
    m_lPrintStyle = lStyle;
    m_lPrintOption = lOption;
    // The style word is 32 bits wide in the design; long is wider here.
    const unsigned long bits = static_cast<unsigned long>(lStyle) & 0xFFFFFFFFUL;
    m_bPrintShown = (bits & kPrintShownBit) ? 1 : 0;
    m_bHideStatus = (bits & kHideStatusBit) ? 1 : 0;
}

void CECGPrintReport::ResetPrintStyle()
{
    m_lPrintStyle = -1;
    m_lPrintOption = 0;
    m_nPageCount = 0;
    m_nCurrentPage = 1;
    m_bPrintShown = 0;
    m_bHideStatus = 0;
}
