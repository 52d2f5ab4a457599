#include "reports/ECGPrintBase.h"

#include <cwchar>
#include <new>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "core/TavrionMessage.h"
#include "core/UserMessages.h"
#include "dialogs/DlgPrintStatus.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Pen.h"
#include "platform/ui/framework/WinApp.h"
#include "platform/ui/windowing/Message.h"
#include "printdevice/ECGDC.h"
#include "printdevice/ECGPrinter.h"

namespace {
// The height of one print line, in thousandths of the printable height.
constexpr int kPrintLinePerMille = 18;
constexpr int kPenWidth = 2;

BOOL IsAbortProcFailure(int result)
{
    return result == SP_ERROR || result == SP_USERABORT || result == SP_OUTOFDISK || result == SP_OUTOFMEMORY;
}
}  // namespace

BOOL PrintAbortProc(HDC, int)
{
    MSG msg;
    while (!g_bPrintAbort) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) break;
        if (!AfxPumpMessage()) return FALSE;
    }
    return g_bPrintAbort ? FALSE : TRUE;
}

CECGPrintBase::CECGPrintBase()
    : m_pDlgPrintStatus(new CDlgPrintStatus(nullptr)),
      m_nVisibleMask(0),
      m_pPen(new CPen(PS_SOLID, kPenWidth, RGB(0, 0, 0))),
      m_pPrintFont(nullptr),
      m_pXMLParser(nullptr),
      m_pECGDC(nullptr),
      m_nPrintWidth(0),
      m_nPrintHeight(0),
      m_rcPrint(0, 0, 0, 0),
      m_fPixelPerMM(0.0f),
      m_pDoc(nullptr),
      m_DocType(0),
      m_bDistiller(0),
      m_PrintType(1),
      m_pPrinter(nullptr),
      m_pDlgParent(nullptr),
      m_bShortOfMemory(FALSE)
{
}

CECGPrintBase::~CECGPrintBase()
{
    if (m_pDlgPrintStatus && m_pDlgPrintStatus->GetSafeHwnd()) m_pDlgPrintStatus->DestroyWindow();
    delete m_pDlgPrintStatus;
    delete m_pPen;
    delete m_pXMLParser;
    delete m_pPrintFont;
}

void CECGPrintBase::UpdateDisplayInfo(CViewRhythmWave*)
{
}

void CECGPrintBase::GetPrinterParameter()
{
    m_pECGDC = m_pPrinter->GetPrintECGDC();
    const _PRINTER_SETTING* setting = m_pPrinter->GetPrintSetting();
    m_rcPrint = CRect(setting->nPrintLeft, setting->nPrintTop, setting->nPrintRight, setting->nPrintBottom);
    m_fPixelPerMM = setting->fPixelPerMM;
    m_nPrintWidth = m_rcPrint.Width();
    m_nPrintHeight = m_rcPrint.Height();
    m_bDistiller = m_pPrinter->IsDistillerInfo();
    m_PrintType = m_pPrinter->GetPrintType();
}

BOOL CECGPrintBase::CreatePrintFont()
{
    delete m_pPrintFont;
    m_pPrintFont = new CFont;
    LOGFONTW logFont{};
    logFont.lfHeight = m_nPrintHeight * kPrintLinePerMille / 1000;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = SHIFTJIS_CHARSET;
    logFont.lfQuality = PROOF_QUALITY;
    logFont.lfPitchAndFamily = FF_MODERN | DEFAULT_PITCH;
    std::wcsncpy(logFont.lfFaceName, L"ＭＳ ゴシック", LF_FACESIZE - 1);
    if (m_pPrintFont->CreateFontIndirect(&logFont)) return TRUE;
    delete m_pPrintFont;
    m_pPrintFont = nullptr;
    return FALSE;
}

int CECGPrintBase::PrintBegin(const CString& strXMLPath, BOOL bHideStatus)
{
    m_bShortOfMemory = FALSE;
    if (!m_pPrinter || !m_pPrinter->CreateECGPrintDC(m_pDoc)) return FALSE;
    GetPrinterParameter();
    if (strXMLPath.IsEmpty()) return AbandonBegin(), FALSE;
    delete m_pXMLParser;
    m_pXMLParser = new CECGXMLParser(strXMLPath, m_pDoc ? m_pDoc->Is8000File() : 0, CString());
    if (!CreatePrintFont()) return AbandonBegin(), FALSE;
    DOCINFOW docInfo{};
    docInfo.cbSize = sizeof(DOCINFOW);
    docInfo.lpszDocName = L"";
    if (!SetAbortProcedure()) return AbandonBegin(), FALSE;
    OpenStatusDialog(bHideStatus);
    if (m_pECGDC->StartDoc(&docInfo) == -1) {
        CTavrionMessage(L"印刷が開始できません", 1);
        NotifyJobEnded();
        CloseStatusDialog();
        return AbandonBegin(), FALSE;
    }
    return TRUE;
}

// The device the printer opened is closed again: a failed start must not
// hold the printer (or, for the PDF printer, its changed settings).
void CECGPrintBase::AbandonBegin()
{
    if (m_pECGDC) m_pECGDC->CloseECGPrinter();
    RecoverPdfPrinter();
}

BOOL CECGPrintBase::SetAbortProcedure()
{
    const int result = ::SetAbortProc(m_pECGDC->GetPrinterHandle(), PrintAbortProc);
    if (!IsAbortProcFailure(result)) return TRUE;
    CTavrionMessage(L"Abort Set Error!", 1);
    return FALSE;
}

BOOL CECGPrintBase::OpenStatusDialog(BOOL bHideStatus)
{
    if (!m_pDlgPrintStatus->Create(CDlgPrintStatus::IDD, m_pDlgParent)) return FALSE;
    m_pDlgPrintStatus->SetECGDoc(m_pDoc);
    m_pDlgPrintStatus->ShowWindow(bHideStatus ? SW_HIDE : SW_SHOW);
    m_pDlgPrintStatus->UpdateWindow();
    return TRUE;
}

void CECGPrintBase::CloseStatusDialog()
{
    if (m_pDlgPrintStatus->GetSafeHwnd()) m_pDlgPrintStatus->DestroyWindow();
}

void CECGPrintBase::NotifyJobEnded()
{
    if (m_pDoc) m_pDoc->SendToNotifyWnd(WM_PRINT_JOB_ENDED, 0, 0);
}

BOOL CECGPrintBase::IsCancelled() const
{
    return (m_pDoc && m_pDoc->IsPrintCancel()) || g_bPrintAbort;
}

BOOL CECGPrintBase::RecoverPdfPrinter()
{
    if (m_PrintType != 2 || !m_bDistiller || !m_pPrinter) return FALSE;
    m_pPrinter->RecoverDistillerInfo();
    m_bDistiller = 0;
    return TRUE;
}

int CECGPrintBase::PrintJob(const CString& strXMLPath, BOOL bHideStatus, const std::function<short()>& step,
                            const std::function<int()>& movePdf)
{
    try {
        if (!PrintBegin(strXMLPath, bHideStatus)) return FALSE;
    } catch (const std::bad_alloc&) {
        // No job was started: the box and the device go again.
        m_bShortOfMemory = TRUE;
        CloseStatusDialog();
        AbandonBegin();
        return FALSE;
    }
    short result = 1;
    try {
        result = step();
    } catch (const std::bad_alloc&) {
        // Left in the middle of a page; the job still ends, as a failed one.
        m_bShortOfMemory = TRUE;
    }
    return PrintEnd(result, movePdf());
}

void CECGPrintBase::ThrowIfShortOfMemory() const
{
    if (m_bShortOfMemory) throw std::bad_alloc();
}

int CECGPrintBase::PrintEnd(short nResult, int nMovePdf)
{
    const BOOL cancelled = IsCancelled();
    // A page whose text could not be laid out is not the report, whatever
    // the step made of the failure.
    if (m_pECGDC->IsTextShortOfMemory()) m_bShortOfMemory = TRUE;
    const BOOL shortOfMemory = m_bShortOfMemory;
    // A job the spooler could not finish (its file not written, the queue
    // refusing it) has not printed, however well the pages were drawn. A
    // page whose text was refused memory misses part of the report (a name,
    // a measurement): it is dropped, never sent to a printer or kept as a PDF.
    const BOOL delivered = shortOfMemory ? (m_pECGDC->AbandonDoc(), FALSE) : m_pECGDC->EndDoc() > 0;
    // The raw printer languages hold the printer open until it is closed:
    // the job is over, so is the device.
    m_pECGDC->CloseECGPrinter();
    NotifyJobEnded();
    CloseStatusDialog();
    if (nResult == 0 && !shortOfMemory && !cancelled && delivered) {
        if (RecoverPdfPrinter() && nMovePdf >= 1) m_pPrinter->MovePDFFile();
        return TRUE;
    }
    // A cancelled job is not a report: the PDF printer gets its settings
    // back, but what it wrote of the pages is not delivered.
    if (cancelled) {
        RecoverPdfPrinter();
        return FALSE;
    }
    // Short of memory the caller names the cause; a bare print error would
    // send the user looking for another.
    if (!shortOfMemory) CTavrionMessage(L"印刷エラー", 1);
    return FALSE;
}

BOOL CECGPrintBase::IsTextFailure(BOOL bDrawn) const
{
    // HP-GL/2 draws no text at all: a text it did not draw is no failure.
    return !bDrawn && m_PrintType != 3;
}

BOOL CECGPrintBase::OutText(int x, int y, const CString& text)
{
    return !IsTextFailure(m_pECGDC->TextOut(x, y, text));
}

CString CECGPrintBase::ReadXml(const CString& strXPath)
{
    CString value;
    if (!m_pXMLParser || strXPath.IsEmpty()) return value;
    // The layout binds attributes as ".../@name".
    const int at = strXPath.Find(L"/@");
    if (at > 0 && strXPath.Find(L'/', at + 2) < 0)
        m_pXMLParser->GetDataFromXMLDOM(value, strXPath.Left(at), 2, strXPath.Mid(at + 2));
    else
        m_pXMLParser->GetDataFromXMLDOM(value, strXPath, 4, CString());
    return value;
}
