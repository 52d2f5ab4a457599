#include "printdevice/ECGDC.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <new>
#include <utility>
#include <vector>

#include "core/TavrionDoc.h"
#include "core/TavrionMessage.h"
#include "platform/base/DateTime.h"
#include "platform/base/File.h"
#include "platform/base/Kernel.h"
#include "platform/base/Temporaries.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Gdi.h"
#include "platform/print/Spooler.h"
#include "platform/ui/windowing/Message.h"
#include "printdevice/HPGLCommand.h"
#include "printdevice/LIPSCommand.h"

namespace {

// What the raw printers report: an A4 landscape page at 600 dots per inch.
const int kRawHorzRes = 6774;
const int kRawVertRes = 4712;
const int kRawHorzSize = 287;   // millimetres
// The extent the raw printers give one character, device pixels.
const int kRawCharWidth = 42;
const int kRawCharHeight = 84;

const wchar_t kEsc = 0x1B;

const int kMaxPumpedMessages = 1000;

// Text the text library could not lay out for lack of memory fails as an
// allocation does; here it fails as text does, with `failed`, and the
// device remembers why.
template <class Result, class Text> Result TextOrFailure(BOOL& shortOfMemory, Result failed, Text text)
{
    try {
        return text();
    } catch (const std::bad_alloc&) {
        shortOfMemory = TRUE;
        return failed;
    }
}

CString EscPageStart()
{
    CString text(kEsc);
    text += L'@';
    text += kEsc;
    text += L'N';
    return text;
}

CString EscPageEnd()
{
    CString text((wchar_t)0x0C);
    text += kEsc;
    text += L'@';
    return text;
}

void OrderCorners(int& left, int& top, int& right, int& bottom)
{
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
}

// Job names come from the clock, and every program on this computer that
// prints a PDF report names its jobs the same way; two of them naming a job
// in the same millisecond would share one PDF file, so that one report went
// missing and the other program could move away a file it did not print.
// A name is taken by putting a folder of that name under the temporary
// folder, which only one process can do; an empty file in it named after the
// process says whose it is. The folder is made with its file under a name of
// the process's own ("Making_<pid>") and moved into place, and moved back
// there to be removed, so that a reservation never stands without its owner,
// whenever the process is killed. A reservation goes with its job; those of
// processes that are gone (killed mid-job), and their folders in the making,
// are swept by the next job, as are ownerless ones older than a minute (left
// by an older build): no clock reading gives those names again.
const wchar_t kJobReservations[] = L"TavrionJobs";
const wchar_t kMakingPrefix[] = L"Making_";
const long kReservationSeconds = 60;

CString JobReservationFolder()
{
    wchar_t szTemp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, szTemp);
    if (length == 0 || length > MAX_PATH) return CString();
    return CString(szTemp) + kJobReservations;
}

CString OwnerFileName(pid_t pid)
{
    CString strName;
    strName.Format(L"%ld", static_cast<long>(pid));
    return strName;
}

// The process a reservation names; 0 when it names none (yet).
pid_t ReservationOwner(const CString& strReservation)
{
    pid_t owner = 0;
    WIN32_FIND_DATAW found = {};
    HANDLE hFind = ::FindFirstFileW(strReservation + L"\\*", &found);
    if (hFind == INVALID_HANDLE_VALUE) return 0;
    do {
        const CString strName(found.cFileName);
        if (!strName.IsEmpty() && strName.SpanIncluding(L"0123456789") == strName)
            owner = static_cast<pid_t>(std::wcstol(found.cFileName, nullptr, 10));
    } while (!owner && ::FindNextFileW(hFind, &found));
    ::FindClose(hFind);
    return owner;
}

CString MakingFolder(const CString& strFolder, pid_t pid)
{
    CString strName;
    strName.Format(L"%s%ld", kMakingPrefix, static_cast<long>(pid));
    return strFolder + L"\\" + strName;
}

void RemoveOwnedFolder(const CString& strPath, pid_t owner)
{
    if (owner) ::DeleteFileW(strPath + L"\\" + OwnerFileName(owner));
    ::RemoveDirectoryW(strPath);
}

// Our own reservation goes back to the folder in the making before it is
// emptied, so that a kill in between leaves nothing ownerless.
void ReleaseOwnReservation(const CString& strReservation)
{
    const int separator = strReservation.ReverseFind(L'\\');
    const CString strMaking = MakingFolder(strReservation.Left(separator > 0 ? separator : 0), ::getpid());
    RemoveOwnedFolder(::MoveFileW(strReservation, strMaking) ? strMaking : strReservation, ::getpid());
}

void SweepAbandonedReservations(const CString& strFolder)
{
    std::vector<std::pair<CString, pid_t>> abandoned;
    WIN32_FIND_DATAW found = {};
    HANDLE hFind = ::FindFirstFileW(strFolder + L"\\" + kMakingPrefix + L"*", &found);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            const CString strDigits = CString(found.cFileName).Mid(static_cast<int>(std::wcslen(kMakingPrefix)));
            const pid_t maker = static_cast<pid_t>(std::wcstol(strDigits, nullptr, 10));
            if (maker > 0 && maker != ::getpid() && !platform::ProcessIsAlive(maker))
                abandoned.emplace_back(strFolder + L"\\" + found.cFileName, maker);
        } while (::FindNextFileW(hFind, &found));
        ::FindClose(hFind);
    }
    hFind = ::FindFirstFileW(strFolder + L"\\Tavrion_*", &found);
    if (hFind == INVALID_HANDLE_VALUE) {
        for (const auto& folder : abandoned) RemoveOwnedFolder(folder.first, folder.second);
        return;
    }
    do {
        const CString strReservation = strFolder + L"\\" + found.cFileName;
        const pid_t owner = ReservationOwner(strReservation);
        const long long modified =
            static_cast<long long>(((static_cast<ULONGLONG>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                                    found.ftLastWriteTime.dwLowDateTime) / 10000000ull) - 11644473600ll;
        const bool gone = owner ? owner != ::getpid() && !platform::ProcessIsAlive(owner)
                                : platform::OlderThan(modified, kReservationSeconds);
        if (gone) abandoned.emplace_back(strReservation, owner);
    } while (::FindNextFileW(hFind, &found));
    ::FindClose(hFind);
    for (const auto& reservation : abandoned) RemoveOwnedFolder(reservation.first, reservation.second);
}

// FALSE only when another process holds the name; `reservation` is the
// folder made, empty when none could be (no temporary folder to reserve in:
// the name is then taken on the in-process check alone). The folder of
// reservations is made again when the last job of another process removed
// it in between.
BOOL ReserveJobName(const CString& strFolder, const CString& strName, CString& reservation)
{
    reservation.Empty();
    if (strFolder.IsEmpty()) return TRUE;
    const CString strPath = strFolder + L"\\" + strName;
    const CString strMaking = MakingFolder(strFolder, ::getpid());
    for (int attempt = 0; attempt < 3; ++attempt) {
        // The folder in the making may be left from the last name tried.
        if (::CreateDirectoryW(strMaking, nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS) {
            CFile owner;
            if (!owner.Open(strMaking + L"\\" + OwnerFileName(::getpid()), CFile::modeCreate | CFile::modeWrite))
                break;
            owner.Close();
            if (::MoveFileW(strMaking, strPath)) {
                reservation = strPath;
                return TRUE;
            }
            if (::GetLastError() == ERROR_ALREADY_EXISTS) return FALSE;
            break;
        }
        if (::GetLastError() != ERROR_PATH_NOT_FOUND || !::CreateDirectoryW(strFolder, nullptr)) break;
    }
    RemoveOwnedFolder(strMaking, ::getpid());
    return TRUE;
}

}  // namespace

// ---- construction ------------------------------------------------------------------------

CECGDC::CECGDC(_PRINT_TYPE type)
    : m_pDC(nullptr),
      m_hPrinter(nullptr),
      m_hPrinterDC(nullptr),
      m_hPen(nullptr),
      m_hBrush(nullptr),
      m_hFont(nullptr),
      m_uTextAlign(0),
      m_nPrintType(type),
      m_nCurX(0),
      m_nCurY(0),
      m_pDoc(nullptr),
      m_hRecordDC(nullptr),
      m_bReplaying(FALSE),
      m_bReplayPen(FALSE),
      m_bReplayBrush(FALSE),
      m_bTextShortOfMemory(FALSE)
{
    CreateDefaultObjects();
}

CECGDC::CECGDC(CDC* pDC, _PRINT_TYPE type) : CECGDC(type)
{
    m_pDC = pDC;
}

CECGDC::CECGDC(const CECGDC& other) : CECGDC(other.m_nPrintType)
{
    CopyFields(other);
}

CECGDC& CECGDC::operator=(const CECGDC& other)
{
    if (this != &other) CopyFields(other);
    return *this;
}

CECGDC::~CECGDC()
{
    DeleteDefaultObjects();
    ReleaseJobName();
}

void CECGDC::CreateDefaultObjects()
{
    m_penDefault.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    m_brushDefault.CreateSolidBrush(RGB(255, 255, 255));
    m_hPen = (HPEN)m_penDefault;
    m_hBrush = (HBRUSH)m_brushDefault;
}

void CECGDC::DeleteDefaultObjects()
{
    m_penDefault.DeleteObject();
    m_brushDefault.DeleteObject();
}

void CECGDC::CopyFields(const CECGDC& other)
{
    m_pDC = other.m_pDC;
    m_hPrinter = other.m_hPrinter;
    m_hPrinterDC = other.m_hPrinterDC;
    // The other's defaults stay the other's: a copy that had them recorded
    // records its own instead.
    m_hPen = other.m_hPen == (HPEN)other.m_penDefault ? (HPEN)m_penDefault : other.m_hPen;
    m_hBrush = other.m_hBrush == (HBRUSH)other.m_brushDefault ? (HBRUSH)m_brushDefault : other.m_hBrush;
    m_hFont = other.m_hFont;
    m_strJobName = other.m_strJobName;
    m_stSetting = other.m_stSetting;
    m_uTextAlign = other.m_uTextAlign;
    m_nPrintType = other.m_nPrintType;
    m_strCommand = other.m_strCommand;
    m_nCurX = other.m_nCurX;
    m_nCurY = other.m_nCurY;
    m_pDoc = other.m_pDoc;
    m_hRecordDC = other.m_hRecordDC;
}

// ---- printer and job ------------------------------------------------------------------------

BOOL CECGDC::OpenECGPrinter(LPCWSTR lpszPrinter, LPCWSTR lpszDriver, LPCWSTR lpszPort)
{
    // A page left from an earlier raw job that was never closed goes first.
    DetachRecordingPage();
    if (IsRawJob()) {
        const BOOL bOpened = ::OpenPrinterW(lpszPrinter, &m_hPrinter, nullptr);
        if (!bOpened) m_hPrinter = nullptr;
        m_hPrinterDC = ::CreateDCW(lpszDriver, lpszPrinter, lpszPort, nullptr);
        if (bOpened && IsRawDrawing()) AttachRecordingPage();
        return bOpened;
    }
    if (m_nPrintType != 1 && m_nPrintType != 2) return FALSE;
    if (!m_pDC) return FALSE;
    if (m_pDC->GetSafeHdc()) {
        if (m_hPrinterDC == m_pDC->GetSafeHdc()) m_hPrinterDC = nullptr;
        m_pDC->DeleteDC();
    }

    HANDLE hPrinter = nullptr;
    if (!::OpenPrinterW(lpszPrinter, &hPrinter, nullptr)) return FALSE;
    const LONG size = ::DocumentPropertiesW(nullptr, hPrinter, lpszPrinter, nullptr, nullptr, 0);
    if (size < 0) {
        ::ClosePrinter(hPrinter);
        CTavrionMessage(L"Can not get the correct print properties! \r\n Or Error Print Type", 1);
        return FALSE;
    }
    // The printer's private bytes follow the public part; never make less room than the public part.
    std::vector<BYTE> block(std::max<size_t>((size_t)size, sizeof(DEVMODEW)));
    DEVMODEW* pMode = reinterpret_cast<DEVMODEW*>(block.data());
    BOOL bResult = FALSE;
    if (::DocumentPropertiesW(nullptr, hPrinter, lpszPrinter, pMode, nullptr, DM_OUT_BUFFER) == IDOK) {
        pMode->dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;
        pMode->dmOrientation = (short)m_stSetting.nOrientation;
        pMode->dmPaperSize = (short)m_stSetting.nPaper;
        pMode->dmCopies = (short)m_stSetting.nCopies;
        if (::DocumentPropertiesW(nullptr, hPrinter, lpszPrinter, pMode, pMode, DM_IN_BUFFER | DM_OUT_BUFFER) ==
            IDOK) {
            HDC hDC = ::CreateDCW(lpszDriver, lpszPrinter, lpszPort, pMode);
            if (hDC && m_pDC->Attach(hDC)) {
                m_hPrinterDC = hDC;
                m_pDC->m_bPrinting = TRUE;
                bResult = TRUE;
            } else if (hDC) {
                ::DeleteDC(hDC);
            }
        }
    }
    // The handle served only to read and set the properties; the job runs on the device context.
    ::ClosePrinter(hPrinter);
    return bResult;
}

BOOL CECGDC::CloseECGPrinter()
{
    if (!IsRawJob()) return TRUE;
    DetachRecordingPage();
    if (m_hPrinterDC) {
        ::DeleteDC(m_hPrinterDC);
        m_hPrinterDC = nullptr;
    }
    // AbortPrinter has closed the printer already.
    if (!m_hPrinter) return TRUE;
    const BOOL bClosed = ::ClosePrinter(m_hPrinter);
    m_hPrinter = nullptr;
    return bClosed;
}

int CECGDC::StartDoc(LPCWSTR lpszDocName)
{
    m_bTextShortOfMemory = FALSE;
    m_strJobName = L"Tavrion";
    if (m_nPrintType == 2) {
        m_strJobName = UniqueJobName();
        DOCINFOW info = {};
        info.cbSize = (int)sizeof info;
        info.lpszDocName = m_strJobName;
        return ::StartDocW(GetSafeHdc(), &info);
    }
    if (IsRawJob()) {
        CString strName = lpszDocName ? lpszDocName : L"";
        wchar_t szRaw[] = L"RAW";
        DOC_INFO_1W info = {};
        info.pDocName = strName.GetBuffer();
        info.pOutputFile = nullptr;
        info.pDatatype = szRaw;
        const DWORD dwJob = ::StartDocPrinterW(m_hPrinter, 1, reinterpret_cast<LPBYTE>(&info));
        strName.ReleaseBuffer();
        return dwJob ? (int)dwJob : -1;
    }
    DOCINFOW info = {};
    info.cbSize = (int)sizeof info;
    info.lpszDocName = lpszDocName;
    return ::StartDocW(GetSafeHdc(), &info);
}

int CECGDC::StartDoc(LPDOCINFOW lpDocInfo)
{
    return StartDoc(lpDocInfo ? lpDocInfo->lpszDocName : nullptr);
}

CString CECGDC::UniqueJobName()
{
    ReleaseJobName();
    wchar_t szComputer[33] = {};
    DWORD dwSize = 33;
    if (!::GetComputerNameW(szComputer, &dwSize)) szComputer[0] = 0;

    // The PDF printer names its file after the job, so two jobs must never
    // share a name: one started in the same millisecond as the last waits
    // for the next.
    // Other processes are kept off the name by its reservation (above).
    static CString s_strLastName;
    const CString strFolder = JobReservationFolder();
    if (!strFolder.IsEmpty()) {
        ::CreateDirectoryW(strFolder, nullptr);
        SweepAbandonedReservations(strFolder);
    }
    CString strName;
    for (;;) {
        SYSTEMTIME now = {};
        ::GetLocalTime(&now);
        strName.Format(L"Tavrion_%s_%d%02d%02d%02d%02d%02d%03d", szComputer, (int)now.wYear, (int)now.wMonth,
                       (int)now.wDay, (int)now.wHour, (int)now.wMinute, (int)now.wSecond, (int)now.wMilliseconds);
        if (strName != s_strLastName && ReserveJobName(strFolder, strName, m_strJobReservation)) break;
        ::Sleep(1);
    }
    s_strLastName = strName;
    return strName;
}

// Once the job is over its name can come from no clock reading again; the
// folder of reservations goes with the last one (another process's
// reservation keeps it).
void CECGDC::ReleaseJobName()
{
    if (m_strJobReservation.IsEmpty()) return;
    ReleaseOwnReservation(m_strJobReservation);
    const int separator = m_strJobReservation.ReverseFind(L'\\');
    if (separator > 0) ::RemoveDirectoryW(m_strJobReservation.Left(separator));
    m_strJobReservation.Empty();
}

int CECGDC::StartPage()
{
    switch (m_nPrintType) {
    case 3: return ReplaceAndSend(CHPGLCommand::PageStart());
    case 4: return ReplaceAndSend(EscPageStart());
    case 5: return ReplaceAndSend(CLIPSCommand::PageStart(m_stSetting.nCopies));
    default: return ::StartPage(GetSafeHdc());
    }
}

int CECGDC::EndPage()
{
    switch (m_nPrintType) {
    case 3: return AppendAndSend(CHPGLCommand::PageEnd(m_stSetting.nCopies));
    case 4: return ReplaceAndSend(EscPageEnd());
    case 5: return ReplaceAndSend(CLIPSCommand::PageEnd());
    default: return ::EndPage(GetSafeHdc());
    }
}

int CECGDC::EndDoc()
{
    if (!IsRawJob()) return ::EndDoc(GetSafeHdc());
    if (m_pDoc && m_pDoc->IsPrintCancel()) return AbortPrinter();
    return ::EndDocPrinter(m_hPrinter);
}

BOOL CECGDC::AbandonDoc()
{
    if (IsRawJob()) return AbortPrinter();
    return ::AbortDoc(GetSafeHdc()) > 0;
}

BOOL CECGDC::AbortPrinter()
{
    if (!IsRawJob()) return FALSE;
    DetachRecordingPage();
    if (!m_hPrinter) return FALSE;
    const BOOL bAborted = ::AbortPrinter(m_hPrinter);
    const BOOL bClosed = ::ClosePrinter(m_hPrinter);
    // Closed for good: CloseECGPrinter must not close the handle a second time.
    m_hPrinter = nullptr;
    return bAborted && bClosed;
}

// ---- sending ---------------------------------------------------------------------------------

BOOL CECGDC::PumpPrintMessage()
{
    // Nobody can cancel a job that has no document: it simply runs.
    if (!m_pDoc) return TRUE;
    // A bound on the messages run between two writes, so that a window that
    // keeps asking to be painted cannot hold the job up for ever.
    for (int n = 0; n < kMaxPumpedMessages && !m_pDoc->IsPrintCancel(); ++n) {
        MSG msg = {};
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) break;
        // One turn of the thread's message pump; WM_QUIT means the
        // application is going away, and the job with it.
        if (::GetMessageW(&msg, nullptr, 0, 0) == FALSE) return FALSE;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return m_pDoc->IsPrintCancel() ? FALSE : TRUE;
}

BOOL CECGDC::SendCommand()
{
    std::vector<BYTE> bytes((size_t)m_strCommand.GetLength());
    for (int i = 0; i < m_strCommand.GetLength(); ++i) bytes[(size_t)i] = (BYTE)m_strCommand[i];
    m_strCommand.Empty();
    return SendData(bytes.data(), (int)bytes.size());
}

BOOL CECGDC::SendData(const BYTE* lpData, int nLength)
{
    // What the framework context drew before this write goes out first.
    if (!m_bReplaying) ReplayRecordingPage();
    if (!PumpPrintMessage()) return FALSE;
    DWORD dwWritten = 0;
    return ::WritePrinter(m_hPrinter, lpData, (DWORD)nLength, &dwWritten);
}

BOOL CECGDC::AppendAndSend(const CString& text)
{
    m_strCommand += text;
    return SendCommand();
}

BOOL CECGDC::ReplaceAndSend(const CString& text)
{
    m_strCommand = text;
    return SendCommand();
}

// ---- drawing -------------------------------------------------------------------------------------

CPoint CECGDC::MoveTo(int x, int y)
{
    if (IsRawDrawing()) {
        // HP-GL/2 keeps the position too, to put the pen back after a replay.
        m_nCurX = x;
        m_nCurY = y;
        if (IsPCL()) AppendAndSend(CHPGLCommand::Move(x, y));
        return CPoint(x, y);
    }
    return m_pDC ? m_pDC->MoveTo(x, y) : CPoint(0, 0);
}

BOOL CECGDC::LineTo(int x, int y)
{
    if (IsPCL()) {
        const BOOL bSent = AppendAndSend(CHPGLCommand::LineTo(x, y));
        m_nCurX = x;
        m_nCurY = y;
        return bSent;
    }
    if (m_nPrintType == 5) {
        const BOOL bSent = ReplaceAndSend(CLIPSCommand::Line(m_nCurX, m_nCurY, x, y));
        m_nCurX = x;
        m_nCurY = y;
        return bSent;
    }
    return m_pDC ? m_pDC->LineTo(x, y) : FALSE;
}

BOOL CECGDC::Rectangle(int x1, int y1, int x2, int y2)
{
    if (IsRawDrawing()) return RawRectangle(x1, y1, x2, y2);
    return m_pDC ? m_pDC->Rectangle(x1, y1, x2, y2) : FALSE;
}

BOOL CECGDC::Rectangle(LPCRECT lpRect)
{
    if (!lpRect) return FALSE;
    return Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

BOOL CECGDC::RawRectangle(int left, int top, int right, int bottom)
{
    OrderCorners(left, top, right, bottom);
    if (!IsPCL()) return ReplaceAndSend(CLIPSCommand::Rectangle(left, top, right, bottom));
    const BOOL bMoved = AppendAndSend(CHPGLCommand::Move(left, top));
    const BOOL bDrawn = AppendAndSend(CHPGLCommand::FillEdgeRect(right, bottom));
    return bMoved && bDrawn;
}

BOOL CECGDC::Ellipse(int x1, int y1, int x2, int y2)
{
    if (IsPCL()) {
        // Midpoint and radius in 64 bits: far-apart corners must not wrap to the other side.
        const BOOL bMoved = AppendAndSend(CHPGLCommand::Move((int)(((long long)x1 + x2) / 2),
                                                             (int)(((long long)y1 + y2) / 2)));
        const BOOL bDrawn = AppendAndSend(CHPGLCommand::Circle((int)(std::llabs((long long)x2 - x1) / 2)));
        return bMoved && bDrawn;
    }
    if (m_nPrintType == 5) return ReplaceAndSend(CLIPSCommand::Ellipse(x1, y1, x2, y2));
    return m_pDC ? m_pDC->Ellipse(x1, y1, x2, y2) : FALSE;
}

BOOL CECGDC::Ellipse(LPCRECT lpRect)
{
    if (!lpRect) return FALSE;
    return Ellipse(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

BOOL CECGDC::Polygon(const POINT* lpPoints, int nCount)
{
    if (!lpPoints || nCount < 2) return FALSE;
    if (IsPCL()) {
        const BOOL bMoved = AppendAndSend(CHPGLCommand::Move(lpPoints[0].x, lpPoints[0].y));
        const BOOL bDrawn = AppendAndSend(CHPGLCommand::Polygon(lpPoints, nCount));
        return bMoved && bDrawn;
    }
    if (m_nPrintType == 5) {
        if (nCount >= 10) return LIPSLargePolygon(lpPoints, nCount);
        const BOOL bSent = ReplaceAndSend(CLIPSCommand::Polygon(lpPoints, nCount));
        m_nCurX = lpPoints[nCount - 1].x;
        m_nCurY = lpPoints[nCount - 1].y;
        return bSent;
    }
    return m_pDC ? m_pDC->Polygon(lpPoints, nCount) : FALSE;
}

BOOL CECGDC::LIPSLargePolygon(const POINT* lpPoints, int nCount)
{
    // Large outlines (a filled wave band: out along the first half, back along
    // the second) go as strips of at most 100 steps each way.
    const int nHalf = nCount / 2;
    BOOL bAll = TRUE;
    for (int first = 0, remaining = nHalf; first < nHalf - 1; first += 100, remaining -= 100) {
        const int steps = std::min(remaining, 100);
        if (!ReplaceAndSend(CLIPSCommand::PolygonPiece(lpPoints, nCount, first, steps))) bAll = FALSE;
    }
    return bAll;
}

BOOL CECGDC::Polyline(const POINT* lpPoints, int nCount)
{
    if (!lpPoints || nCount < 2) return FALSE;
    if (IsPCL()) {
        const BOOL bMoved = AppendAndSend(CHPGLCommand::Move(lpPoints[0].x, lpPoints[0].y));
        const BOOL bDrawn = AppendAndSend(CHPGLCommand::Polyline(lpPoints, nCount));
        m_nCurX = lpPoints[nCount - 1].x;
        m_nCurY = lpPoints[nCount - 1].y;
        return bMoved && bDrawn;
    }
    if (m_nPrintType == 5) {
        const BOOL bSent = ReplaceAndSend(CLIPSCommand::Polyline(lpPoints, nCount));
        m_nCurX = lpPoints[nCount - 1].x;
        m_nCurY = lpPoints[nCount - 1].y;
        return bSent;
    }
    return m_pDC ? m_pDC->Polyline(lpPoints, nCount) : FALSE;
}

BOOL CECGDC::RawSelectBrush(CBrush* pBrush, HBRUSH& hPrevious)
{
    hPrevious = m_hBrush;
    return SelectObject(pBrush) != nullptr;
}

void CECGDC::RawRestoreBrush(HBRUSH hPrevious)
{
    // Selected again through the printer, so the previous fill goes out too.
    if (hPrevious == m_hBrush) return;
    CBrush* pPrevious = CBrush::FromHandle(hPrevious);
    if (!pPrevious || !SelectObject(pPrevious)) m_hBrush = hPrevious;
}

void CECGDC::FillRect(LPCRECT lpRect, CBrush* pBrush)
{
    if (!lpRect) return;
    if (!IsRawDrawing()) {
        if (m_pDC) m_pDC->FillRect(lpRect, pBrush);
        return;
    }
    HBRUSH hPrevious = nullptr;
    RawSelectBrush(pBrush, hPrevious);
    if (IsPCL()) {
        AppendAndSend(CHPGLCommand::Move(lpRect->left, lpRect->top));
        AppendAndSend(CHPGLCommand::FillRect(lpRect->right, lpRect->bottom));
    } else {
        RawRectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    RawRestoreBrush(hPrevious);
}

BOOL CECGDC::FillRgn(CRgn* pRgn, CBrush* pBrush)
{
    if (!IsRawDrawing()) return m_pDC ? m_pDC->FillRgn(pRgn, pBrush) : FALSE;
    if (!pRgn) return FALSE;
    CRect box;
    if (pRgn->GetRgnBox(&box) == ERROR) return FALSE;
    HBRUSH hPrevious = nullptr;
    RawSelectBrush(pBrush, hPrevious);
    const BOOL bDrawn = RawRectangle(box.left, box.top, box.right, box.bottom);
    RawRestoreBrush(hPrevious);
    return bDrawn;
}

COLORREF CECGDC::SetPixel(int x, int y, COLORREF crColor)
{
    if (IsPCL()) {
        AppendAndSend(CHPGLCommand::Move(x, y));
        AppendAndSend(CHPGLCommand::LineTo(x, y));
        return 0;
    }
    if (m_nPrintType == 5) {
        ReplaceAndSend(CLIPSCommand::Pixel(x, y));
        return 0;
    }
    return m_pDC ? m_pDC->SetPixel(x, y, crColor) : CLR_INVALID;
}

BOOL CECGDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    if (IsRawDrawing()) return RawBitBlt(x, y, nWidth, nHeight, pSrcDC);
    return m_pDC ? m_pDC->BitBlt(x, y, nWidth, nHeight, pSrcDC, xSrc, ySrc, dwRop) : FALSE;
}

BOOL CECGDC::RawBitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC)
{
    if (!pSrcDC || !pSrcDC->GetSafeHdc()) return FALSE;
    if (IsPCL() && !AppendAndSend(CHPGLCommand::Move(x, y))) return FALSE;

    // The source's bitmap is read while a stand-in of the requested size is
    // selected in its place, as a bitmap's bits are read outside any DC.
    CBitmap bmTemporary;
    if (!bmTemporary.CreateCompatibleBitmap(pSrcDC, std::max(nWidth, 1), std::max(nHeight, 1))) return FALSE;
    BITMAP info = {};
    std::vector<BYTE> bits;
    BOOL bRead = FALSE;
    {
        CDCObjectSelector standIn(*pSrcDC, &bmTemporary);
        CBitmap* pSource = standIn.GetOriginal();
        bRead = pSource && pSource->GetBitmap(&info) != 0 && info.bmWidthBytes >= 0 && info.bmHeight >= 0;
        if (bRead) {
            bits.resize((size_t)info.bmWidthBytes * (size_t)info.bmHeight);
            bRead = bits.empty() ||
                    ::GetBitmapBits((HBITMAP)*pSource, (LONG)bits.size(), bits.data()) == (LONG)bits.size();
        }
    }
    bmTemporary.DeleteObject();
    if (!bRead) return FALSE;

    // White bitmap bits print as no ink.
    for (BYTE& b : bits) b = (BYTE)~b;
    const int nBytes = info.bmWidthBytes;
    const int nRows = info.bmHeight;

    if (!IsPCL()) {
        const BOOL bHeader = ReplaceAndSend(CLIPSCommand::ImageHeader(x, y, info.bmWidth, nRows, nBytes));
        const BOOL bData = SendData(bits.data(), (int)bits.size());
        return bHeader && bData;
    }
    BOOL bAll = TRUE;
    m_strCommand = CHPGLCommand::RasterStart(info.bmWidth, nRows);
    for (int row = 0; row < nRows; ++row) {
        m_strCommand += CHPGLCommand::RasterRow(nBytes);
        const BYTE* pRow = bits.data() + (size_t)row * (size_t)nBytes;
        for (int i = 0; i < nBytes; ++i) m_strCommand += (wchar_t)pRow[i];
        if (!SendCommand()) bAll = FALSE;
    }
    if (!AppendAndSend(CHPGLCommand::RasterEnd())) bAll = FALSE;
    return bAll;
}

BOOL CECGDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop)
{
    if (IsRawDrawing()) return TRUE;
    return m_pDC ? m_pDC->PatBlt(x, y, nWidth, nHeight, dwRop) : FALSE;
}

int CECGDC::SetROP2(int nDrawMode)
{
    if (IsRawDrawing()) return 1;
    return m_pDC ? m_pDC->SetROP2(nDrawMode) : 0;
}

// ---- objects ----------------------------------------------------------------------------------

CPen* CECGDC::SelectObject(CPen* pPen)
{
    if (!pPen) return nullptr;
    if (!IsRawDrawing()) return m_pDC ? m_pDC->SelectObject(pPen) : nullptr;
    _RAW_PEN pen;
    if (!GetRawPen((HPEN)*pPen, pen)) return nullptr;
    const HPEN hPrevious = m_hPen;
    m_hPen = (HPEN)*pPen;
    const CString text = IsPCL() ? CHPGLCommand::Pen(pen) : CLIPSCommand::Pen(pen);
    if (!AppendAndSend(text)) return nullptr;
    return CPen::FromHandle(hPrevious);
}

CBrush* CECGDC::SelectObject(CBrush* pBrush)
{
    if (!pBrush) return nullptr;
    if (!IsRawDrawing()) return m_pDC ? m_pDC->SelectObject(pBrush) : nullptr;
    _RAW_BRUSH brush;
    if (!GetRawBrush((HBRUSH)*pBrush, brush)) return nullptr;
    const HBRUSH hPrevious = m_hBrush;
    m_hBrush = (HBRUSH)*pBrush;
    const CString text = IsPCL() ? CHPGLCommand::Brush(brush) : CLIPSCommand::Brush(brush);
    if (!AppendAndSend(text)) return nullptr;
    return CBrush::FromHandle(hPrevious);
}

CFont* CECGDC::SelectObject(CFont* pFont)
{
    if (!pFont || !m_pDC) return nullptr;
    return m_pDC->SelectObject(pFont);
}

CPen* CECGDC::GetCurrentPen() const
{
    if (IsRawDrawing()) return CPen::FromHandle(m_hPen);
    return m_pDC ? m_pDC->GetCurrentPen() : nullptr;
}

CBrush* CECGDC::GetCurrentBrush() const
{
    if (IsRawDrawing()) return CBrush::FromHandle(m_hBrush);
    return m_pDC ? m_pDC->GetCurrentBrush() : nullptr;
}

CFont* CECGDC::GetCurrentFont() const
{
    if (IsRawDrawing()) return m_hFont ? CFont::FromHandle(m_hFont) : nullptr;
    return m_pDC ? m_pDC->GetCurrentFont() : nullptr;
}

// ---- text and attributes ----------------------------------------------------------------------

COLORREF CECGDC::SetTextColor(COLORREF crColor)
{
    if (IsRawDrawing()) return 0;
    return m_pDC ? m_pDC->SetTextColor(crColor) : CLR_INVALID;
}

UINT CECGDC::SetTextAlign(UINT nFlags)
{
    if (IsRawDrawing()) return std::exchange(m_uTextAlign, nFlags);
    return m_pDC ? m_pDC->SetTextAlign(nFlags) : GDI_ERROR;
}

UINT CECGDC::GetTextAlign() const
{
    if (IsRawJob()) return m_uTextAlign;
    return m_pDC ? m_pDC->GetTextAlign() : GDI_ERROR;
}

int CECGDC::SetBkMode(int nBkMode)
{
    if (!IsRawDrawing()) return m_pDC ? m_pDC->SetBkMode(nBkMode) : 0;
    if (nBkMode != OPAQUE && nBkMode != TRANSPARENT) return -1;
    AppendAndSend(IsPCL() ? CHPGLCommand::BkMode(nBkMode) : CLIPSCommand::BkMode(nBkMode));
    return 1;
}

BOOL CECGDC::TextOut(int x, int y, const CString& str)
{
    // HP-GL/2 output carries no text.
    if (IsPCL()) return FALSE;
    if (m_nPrintType == 5) return ReplaceAndSend(CLIPSCommand::Text(x, y, m_uTextAlign, str));
    if (!m_pDC) return FALSE;
    return TextOrFailure(m_bTextShortOfMemory, FALSE, [&] { return m_pDC->TextOut(x, y, str); });
}

int CECGDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat)
{
    if (!lpRect) return 0;
    if (IsRawDrawing()) return TextOut(lpRect->left, lpRect->top, str);
    if (!m_pDC) return 0;
    return TextOrFailure(m_bTextShortOfMemory, 0, [&] { return m_pDC->DrawText(str, lpRect, nFormat); });
}

int CECGDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat)
{
    if (!m_pDC) return 0;
    return TextOrFailure(m_bTextShortOfMemory, 0,
                         [&] { return m_pDC->DrawText(lpszString, nCount, lpRect, nFormat); });
}

int CECGDC::SelectClipRgn(CRgn* pRgn)
{
    if (!IsRawDrawing()) return m_pDC ? m_pDC->SelectClipRgn(pRgn) : ERROR;
    if (!pRgn) {
        const CString text = IsPCL() ? CHPGLCommand::ClipWindow(nullptr) : CLIPSCommand::ClipWindow(nullptr);
        return (IsPCL() ? AppendAndSend(text) : ReplaceAndSend(text)) ? NULLREGION : ERROR;
    }
    CRect box;
    const int nType = pRgn->GetRgnBox(&box);
    if (nType == ERROR) return ERROR;
    if (IsPCL()) return AppendAndSend(CHPGLCommand::ClipWindow(&box)) ? nType : ERROR;
    // LIPS clips to rectangles only.
    if (nType != SIMPLEREGION) return ERROR;
    return ReplaceAndSend(CLIPSCommand::ClipWindow(&box)) ? nType : ERROR;
}

CPoint CECGDC::SetViewportOrg(int x, int y)
{
    if (IsRawDrawing()) return CPoint(0, 0);
    return m_pDC ? m_pDC->SetViewportOrg(x, y) : CPoint(0, 0);
}

// ---- queries -------------------------------------------------------------------------------------

int CECGDC::GetDeviceCaps(int nIndex) const
{
    if (IsRawJob()) {
        switch (nIndex) {
        case VERTRES: return kRawVertRes;
        case HORZSIZE: return kRawHorzSize;
        default: return kRawHorzRes;   // HORZRES, and whatever else is asked
        }
    }
    return m_pDC ? m_pDC->GetDeviceCaps(nIndex) : 0;
}

CSize CECGDC::GetTextExtent(LPCTSTR lpszString, int nCount) const
{
    if (IsRawDrawing()) return CSize(kRawCharWidth * std::max(nCount, 0), kRawCharHeight);
    if (!m_pDC) return CSize(0, 0);
    return TextOrFailure(m_bTextShortOfMemory, CSize(0, 0), [&] {
        if (m_nPrintType != 4) return m_pDC->GetTextExtent(lpszString, nCount);
        SIZE size = {};
        if (!lpszString || !::GetTextExtentPoint32W(m_pDC->m_hAttribDC, lpszString, nCount, &size))
            return CSize(0, 0);
        return CSize(size);
    });
}

CSize CECGDC::GetTextExtent(const CString& str) const
{
    return GetTextExtent(str, str.GetLength());
}

BOOL CECGDC::GetTextMetrics(LPTEXTMETRIC lpMetrics) const
{
    if (IsRawDrawing()) return TRUE;
    if (!m_pDC) return FALSE;
    return TextOrFailure(m_bTextShortOfMemory, FALSE, [&] { return m_pDC->GetTextMetrics(lpMetrics); });
}
