#include "printdevice/ECGPrinter.h"

#include "core/Globals.h"
#include "core/Helpers.h"
#include "core/TavrionMessage.h"
#include "platform/base/DateTime.h"
#include "platform/base/File.h"
#include "platform/base/Kernel.h"
#include "platform/base/Profile.h"
#include "platform/base/Registry.h"
#include "platform/gdi/Dc.h"
#include "platform/print/Spooler.h"
#include "printdevice/ECGDC.h"

namespace {

const wchar_t kDistillerName[] = L"Acrobat Distiller";
const wchar_t kDriverDataKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Acrobat Distiller\\PrinterDriverData";
const wchar_t kInstallPathKey[] = L"SOFTWARE\\Adobe\\Adobe Acrobat\\5.0\\InstallPath";
const wchar_t kDistillerKey[] = L"SOFTWARE\\Adobe\\Acrobat Distiller\\5.0";

DWORD g_dwFileWaitTimeout = 10000;   // milliseconds
const DWORD kFileRetryPause = 20;    // milliseconds between two looks at a file

void ShowMessage(LPCWSTR text)
{
    CTavrionMessage box(text, 1);
}

// The four options of the PDF printer's driver data, one byte each: silent
// (delete logs, no file-name prompt, no replace question, no viewer) or the
// printer's own. TRUE when all four were written.
BOOL WriteDistillerOptions(HKEY hKey, BOOL bSilent)
{
    static const wchar_t* const kNames[] = {L"DeleteLogFiles", L"PromptForFileName", L"AskToReplacePDF",
                                            L"ViewPrintOutput"};
    BOOL bAll = TRUE;
    for (int i = 0; i < 4; ++i) {
        // Silent: DeleteLogFiles on, the three questions off; the printer's own the other way round.
        const BYTE value = (BYTE)((i == 0) == (bSilent != FALSE) ? 1 : 0);
        if (RegSetValueExW(hKey, kNames[i], 0, REG_BINARY, &value, 1) != ERROR_SUCCESS) bAll = FALSE;
    }
    return bAll;
}

BOOL WriteJobOptions(LPCWSTR lpszOptions)
{
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kDistillerKey, 0, KEY_READ | KEY_WRITE, &hKey) != ERROR_SUCCESS) return FALSE;
    const CString value(lpszOptions);
    const LONG result = RegSetValueExW(hKey, L"JobOptions", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.GetString()),
                                       (DWORD)((value.GetLength() + 1) * sizeof(wchar_t)));
    RegCloseKey(hKey);
    return result == ERROR_SUCCESS;
}

// Repeats `attempt` until it succeeds or the wait time has passed.
template <class Attempt> BOOL RetryUntilTimeout(Attempt attempt)
{
    const DWORD dwStart = GetTickCount();
    for (;;) {
        if (attempt()) return TRUE;
        if (GetTickCount() - dwStart > g_dwFileWaitTimeout) return FALSE;
        Sleep(kFileRetryPause);
    }
}

BOOL FileExists(const CString& strPath)
{
    const DWORD attributes = GetFileAttributesW(strPath);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL FolderExists(const CString& strPath)
{
    const DWORD attributes = GetFileAttributesW(strPath);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates the folder and every missing folder above it; TRUE when it exists afterwards.
BOOL CreateFolderPath(const CString& strFolder)
{
    CString folder = strFolder;
    while (folder.GetLength() > 1 && PathLastSeparator(folder) == folder.GetLength() - 1) {
        folder.Truncate(folder.GetLength() - 1);
    }
    if (folder.IsEmpty() || FolderExists(folder)) return TRUE;
    const int separator = PathLastSeparator(folder);
    if (separator > 0 && !CreateFolderPath(folder.Left(separator))) return FALSE;
    return CreateDirectoryW(folder, nullptr) || FolderExists(folder);
}

}  // namespace

// ---- construction ------------------------------------------------------------------------

CECGPrinter::CECGPrinter()
    : m_pECGDC(nullptr), m_pDC(nullptr), m_nPrintType(1), m_bDistillerInfo(FALSE)
{
    CreateDeviceContext();
}

CECGPrinter::CECGPrinter(const CECGPrinter& other) : CECGPrinter()
{
    CopySettings(other);
}

CECGPrinter& CECGPrinter::operator=(const CECGPrinter& other)
{
    if (this != &other) CopySettings(other);
    return *this;
}

CECGPrinter::~CECGPrinter()
{
    DeleteDeviceContext();
}

void CECGPrinter::CreateDeviceContext()
{
    m_pECGDC = new CECGDC(1);
    m_pDC = new CDC;
    m_pECGDC->SetDC(m_pDC);
}

void CECGPrinter::DeleteDeviceContext()
{
    delete m_pECGDC;
    m_pECGDC = nullptr;
    delete m_pDC;
    m_pDC = nullptr;
}

void CECGPrinter::CopySettings(const CECGPrinter& other)
{
    m_stSetting = other.m_stSetting;
    m_strPDFSavePath = other.m_strPDFSavePath;
    m_strPrinterName = other.m_strPrinterName;
    m_strPortName = other.m_strPortName;
    m_nPrintType = other.m_nPrintType;
    m_bDistillerInfo = other.m_bDistillerInfo;
}

// ---- job settings ----------------------------------------------------------------------------

DWORD CECGPrinter::GetFileWaitTimeout()
{
    return g_dwFileWaitTimeout;
}

void CECGPrinter::SetFileWaitTimeout(DWORD dwMilliseconds)
{
    g_dwFileWaitTimeout = dwMilliseconds;
}

BOOL CECGPrinter::SetCopies(int nCopies)
{
    if (nCopies < 1 || nCopies > 99) return FALSE;
    m_stSetting.nCopies = nCopies;
    return TRUE;
}

void CECGPrinter::SetPrinterName(const CString& strName)
{
    m_strPrinterName = strName;
    if (IsDistillerPrinter()) m_nPrintType = 2;
}

BOOL CECGPrinter::IsDistillerPrinter() const
{
    return m_strPrinterName.CompareNoCase(kDistillerName) == 0;
}

BOOL CECGPrinter::SetPageSize(int nPaper, int nOrientation)
{
    if (nPaper < DMPAPER_FIRST || nPaper > DMPAPER_LAST) return FALSE;
    if (nOrientation != DMORIENT_PORTRAIT && nOrientation != DMORIENT_LANDSCAPE) return FALSE;
    m_stSetting.nPaper = nPaper;
    m_stSetting.nOrientation = nOrientation;
    return TRUE;
}

void CECGPrinter::GetPageSize(int& nPaper, int& nOrientation) const
{
    nPaper = m_stSetting.nPaper;
    nOrientation = m_stSetting.nOrientation;
}

BOOL CECGPrinter::SetPrintMargin(int nLeft, int nRight, int nTop, int nBottom)
{
    const CSize paper = GetPrinterSize((UINT)m_stSetting.nPaper, m_stSetting.nOrientation);
    const BOOL bFits = nLeft >= 0 && nRight >= 0 && nTop >= 0 && nBottom >= 0 &&
                       (long long)nLeft + nRight <= paper.cx && (long long)nTop + nBottom <= paper.cy;
    m_stSetting.nLeftMargin = bFits ? nLeft : 0;
    m_stSetting.nRightMargin = bFits ? nRight : 0;
    m_stSetting.nTopMargin = bFits ? nTop : 0;
    m_stSetting.nBottomMargin = bFits ? nBottom : 0;
    return bFits;
}

void CECGPrinter::GetPrintMargin(int& nLeft, int& nRight, int& nTop, int& nBottom) const
{
    nLeft = m_stSetting.nLeftMargin;
    nRight = m_stSetting.nRightMargin;
    nTop = m_stSetting.nTopMargin;
    nBottom = m_stSetting.nBottomMargin;
}

// ---- the job -------------------------------------------------------------------------------------

BOOL CECGPrinter::GetPrintPort()
{
    const DWORD dwFlags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD dwNeeded = 0;
    DWORD dwCount = 0;
    EnumPrintersW(dwFlags, nullptr, 2, nullptr, 0, &dwNeeded, &dwCount);
    if (dwNeeded == 0) return FALSE;
    LPBYTE pBuffer = (LPBYTE)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, dwNeeded);
    if (!pBuffer) return FALSE;
    BOOL bFound = FALSE;
    if (EnumPrintersW(dwFlags, nullptr, 2, pBuffer, dwNeeded, &dwNeeded, &dwCount)) {
        const PRINTER_INFO_2W* pInfo = reinterpret_cast<const PRINTER_INFO_2W*>(pBuffer);
        for (DWORD i = 0; i < dwCount && !bFound; ++i) {
            if (!pInfo[i].pPrinterName || m_strPrinterName.CompareNoCase(pInfo[i].pPrinterName) != 0) continue;
            m_strPortName = pInfo[i].pPortName ? pInfo[i].pPortName : L"";
            bFound = TRUE;
        }
    }
    HeapFree(GetProcessHeap(), 0, pBuffer);
    return bFound;
}

BOOL CECGPrinter::CreateECGPrintDC(CTavrionDoc* pDoc)
{
    m_pECGDC->SetECGDoc(pDoc);

    wchar_t szDevice[81] = {};
    GetProfileStringW(L"windows", L"device", L"", szDevice, 81);
    if (m_strPrinterName.IsEmpty()) {
        // "name,driver,port": the default printer is the entry up to its first comma.
        const CString strEntry(szDevice);
        const int comma = strEntry.Find(L',');
        if (strEntry.IsEmpty() || comma < 0) return FALSE;
        m_strPrinterName = strEntry.Left(comma);
        if (IsDistillerPrinter()) m_nPrintType = 2;
    }

    if (m_nPrintType == 2 && SetDistillerInfo()) m_bDistillerInfo = TRUE;
    m_pECGDC->SetPrinterSetting(m_stSetting);
    m_pECGDC->SetPrintType(m_nPrintType);

    GetPrintPort();
    BOOL bReady = m_pECGDC->OpenECGPrinter(m_strPrinterName, nullptr, m_strPortName);
    if (bReady) bReady = ComputePrintArea();
    if (!bReady) {
        if (m_pECGDC->GetPrintType() >= 3) m_pECGDC->CloseECGPrinter();
        // No job will run, so nobody else puts the PDF printer's options back.
        if (m_bDistillerInfo) RecoverDistillerInfo();
        return FALSE;
    }
    // The context draws with the rectangle just computed.
    m_pECGDC->SetPrinterSetting(m_stSetting);
    return TRUE;
}

BOOL CECGPrinter::ComputePrintArea()
{
    const CSize paper = GetPrinterSize((UINT)m_stSetting.nPaper, m_stSetting.nOrientation);
    const int nHorzRes = m_pECGDC->GetDeviceCaps(HORZRES);
    const int nVertRes = m_pECGDC->GetDeviceCaps(VERTRES);
    const int nHorzSize = m_pECGDC->GetDeviceCaps(HORZSIZE);
    if (paper.cx <= 0 || paper.cy <= 0 || nHorzSize <= 0) return FALSE;
    m_stSetting.fPixelPerMM = (float)nHorzRes / (float)nHorzSize;
    m_stSetting.nPrintLeft = MulDiv(m_stSetting.nLeftMargin, nHorzRes, paper.cx);
    m_stSetting.nPrintTop = MulDiv(m_stSetting.nTopMargin, nVertRes, paper.cy);
    m_stSetting.nPrintRight = MulDiv(paper.cx - m_stSetting.nRightMargin, nHorzRes, paper.cx);
    m_stSetting.nPrintBottom = MulDiv(paper.cy - m_stSetting.nBottomMargin, nVertRes, paper.cy);
    return TRUE;
}

BOOL CECGPrinter::SetDistillerInfo()
{
    if (!IsDistillerPrinter()) return FALSE;
    HKEY hDriverData = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kDriverDataKey, 0, KEY_READ | KEY_WRITE, &hDriverData) != ERROR_SUCCESS) {
        ShowMessage(L"Fail to open registry!");
        return FALSE;
    }
    const BOOL bOptions = WriteDistillerOptions(hDriverData, TRUE);

    // Every failure from here on puts the printer's own options back, so that
    // a later job does not silently overwrite files.
    auto fail = [&](LPCWSTR lpszMessage) {
        ShowMessage(lpszMessage);
        WriteDistillerOptions(hDriverData, FALSE);
        RegCloseKey(hDriverData);
        return FALSE;
    };

    HKEY hInstall = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kInstallPathKey, 0, KEY_READ, &hInstall) != ERROR_SUCCESS) {
        return fail(L"Fail to open registry!");
    }
    wchar_t szInstall[MAX_PATH + 1] = {};
    DWORD dwType = 0;
    DWORD cbInstall = MAX_PATH * sizeof(wchar_t);
    const LONG nRead = RegQueryValueExW(hInstall, nullptr, nullptr, &dwType, reinterpret_cast<LPBYTE>(szInstall), &cbInstall);
    RegCloseKey(hInstall);
    if (nRead != ERROR_SUCCESS) return fail(L"Fail to load Vok.joboptions!");

    const CString strInstall(szInstall);
    const CString strSettings = strInstall.Left(PathLastSeparator(strInstall) + 1) + L"Distillr\\Settings";
    if (FileExists(strSettings + L"\\Vok.joboptions") && !WriteJobOptions(L"Vok")) {
        return fail(L"Fail to load Vok.joboptions!");
    }
    if (!bOptions) return fail(L"Fail to write registry!");
    RegCloseKey(hDriverData);
    return TRUE;
}

BOOL CECGPrinter::RecoverDistillerInfo()
{
    HKEY hDriverData = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kDriverDataKey, 0, KEY_READ | KEY_WRITE, &hDriverData) != ERROR_SUCCESS) {
        return FALSE;
    }
    const BOOL bOptions = WriteDistillerOptions(hDriverData, FALSE);
    const BOOL bJobOptions = WriteJobOptions(L"eBook");
    RegCloseKey(hDriverData);
    if (!bOptions || !bJobOptions) return FALSE;
    m_bDistillerInfo = FALSE;
    return TRUE;
}

CString CECGPrinter::GetPDFSourcePath(const CString& strName, const CString& strDrive) const
{
    wchar_t szUser[UNLEN + 1] = {};
    DWORD dwUser = UNLEN + 1;
    if (!GetUserNameW(szUser, &dwUser)) szUser[0] = 0;
    const CString strUser(szUser);

    // The printer writes to the desktop of "All Users"; the file really lands
    // on the desktop of the user who prints.
    CString strPort = m_strPortName;
    if (g_OSVersion == 1) {
        if (strPort == strDrive + L"\\WINNT\\Profiles\\All Users\\ﾃﾞｽｸﾄｯﾌﾟ\\*.pdf") {
            strPort = strDrive + L"\\WINNT\\Profiles\\" + strUser + L"\\ﾃﾞｽｸﾄｯﾌﾟ\\*.pdf";
        }
    } else if (g_OSVersion == 2) {
        if (strPort == strDrive + L"\\Documents and Settings\\All Users\\デスクトップ\\*.pdf" ||
            strPort == strDrive + L"\\Documents and Settings\\All Users.WINNT\\デスクトップ\\*.pdf") {
            strPort = strDrive + L"\\Documents and Settings\\" + strUser + L"\\デスクトップ\\*.pdf";
        }
    }
    return strPort.Left(PathLastSeparator(strPort) + 1) + strName;
}

BOOL CECGPrinter::MovePDFFile()
{
    const CString strName = m_pECGDC->GetPDFFileName() + L".pdf";
    wchar_t szWindows[MAX_PATH + 1] = {};
    if (GetWindowsDirectoryW(szWindows, MAX_PATH + 1) == 0) {
        ShowMessage(L"Fail to get the windows directory!");
        return FALSE;
    }
    const CString strWindows(szWindows);
    const int backslash = strWindows.Find(L'\\');
    const CString strSource = GetPDFSourcePath(strName, backslash >= 0 ? strWindows.Left(backslash) : CString());
    CString strFolder = m_strPDFSavePath;
    if (!strFolder.IsEmpty() && PathLastSeparator(strFolder) != strFolder.GetLength() - 1) strFolder += L'\\';
    const CString strDestination = strFolder + strName;

    // The PDF stays where the printer put it whenever it cannot reach its
    // destination: the report is not lost, only not moved.
    if (!CreateFolderPath(strFolder)) {
        ShowMessage(L"No authority to create directory!");
        return FALSE;
    }
    if (!RetryUntilTimeout([&] { return FileExists(strSource); })) {
        ShowMessage(L"PDF Print Timeout!");
        return FALSE;
    }
    const DWORD dwMove = MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH;
    if (!RetryUntilTimeout([&] { return MoveFileExW(strSource, strDestination, dwMove); })) {
        ShowMessage(L"Move Error!\r\nPlease check your destination disk space!");
        return FALSE;
    }
    for (int copy = 2; copy <= m_stSetting.nCopies; ++copy) {
        CString strCopy = strDestination;
        CString strNumber;
        strNumber.Format(L"~%d", copy);
        strCopy.Insert(strCopy.GetLength() - 4, strNumber);
        if (!RetryUntilTimeout([&] { return CopyFileW(strDestination, strCopy, FALSE); })) {
            ShowMessage(L"Copy Error!\r\nPlease check your destination disk space!");
            return FALSE;
        }
    }
    return TRUE;
}
