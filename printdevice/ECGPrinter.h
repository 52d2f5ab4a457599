// CECGPrinter: the settings of one print job (printer, print type, copies,
// paper, orientation, margins, PDF destination) and the print device context
// it opens for a document. For the PDF printer it switches the printer's
// options to writing without asking before the job, switches them back
// after it, and moves the PDF the printer wrote into the chosen folder.
#pragma once

#include "platform/base/Strings.h"
#include "printdevice/PrinterSetting.h"

class CDC;
class CECGDC;
class CTavrionDoc;

class CECGPrinter {
public:
    CECGPrinter();
    // A copy takes the job settings; it has a device context of its own,
    // so that no context is deleted twice.
    CECGPrinter(const CECGPrinter& other);
    CECGPrinter& operator=(const CECGPrinter& other);
    // Deletes the device context objects it owns.
    ~CECGPrinter();

    // ---- job settings ---------------------------------------------------------------
    // 1 to 99; otherwise FALSE and the count stays.
    BOOL SetCopies(int nCopies);
    int GetCopies() const { return m_stSetting.nCopies; }
    void SetPrintType(_PRINT_TYPE type) { m_nPrintType = type; }
    _PRINT_TYPE GetPrintType() const { return m_nPrintType; }
    // "Acrobat Distiller" (any case) makes the job a PDF job.
    void SetPrinterName(const CString& strName);
    CString GetPrinterName() const { return m_strPrinterName; }
    // DMPAPER_* 1 to 41 and DMORIENT_* 1 or 2; otherwise FALSE and nothing changes.
    BOOL SetPageSize(int nPaper, int nOrientation);
    void GetPageSize(int& nPaper, int& nOrientation) const;
    // Millimetres; refused (all four become 0, FALSE) when they do not fit
    // on the paper or one is negative.
    BOOL SetPrintMargin(int nLeft, int nRight, int nTop, int nBottom);
    void GetPrintMargin(int& nLeft, int& nRight, int& nTop, int& nBottom) const;
    // The folder the PDF is moved to.
    void SetPDFSavePath(const CString& strPath) { m_strPDFSavePath = strPath; }
    CString GetPDFSavePath() const { return m_strPDFSavePath; }
    _PRINTER_SETTING* GetPrintSetting() { return &m_stSetting; }
    CECGDC* GetPrintECGDC() const { return m_pECGDC; }
    BOOL IsDistillerInfo() const { return m_bDistillerInfo; }

    // ---- the job ---------------------------------------------------------------------
    // The port of the printer, from the spooler's printer list; unchanged
    // when the printer is not listed. TRUE when it was found.
    BOOL GetPrintPort();
    // Binds the document (its print-cancel flag governs the job), picks the
    // default printer when none is named, prepares the PDF printer, opens
    // the printer and computes the printable rectangle. FALSE when there is
    // no printer or it does not open.
    BOOL CreateECGPrintDC(CTavrionDoc* pDoc);
    // Puts the PDF printer's own options back (asking for file names, viewing
    // the output, job options "eBook").
    BOOL RecoverDistillerInfo();
    // After a PDF job: moves the PDF from the printer's folder into the save
    // folder and makes the extra copies there. FALSE, with a message and the
    // PDF kept where it is, when that cannot be done.
    BOOL MovePDFFile();

    // How long MovePDFFile waits for the PDF and retries a move or copy,
    // in milliseconds (10000).
    static DWORD GetFileWaitTimeout();
    static void SetFileWaitTimeout(DWORD dwMilliseconds);

private:
    // Sets the PDF printer's options so that it writes without asking.
    BOOL SetDistillerInfo();
    BOOL IsDistillerPrinter() const;
    void CreateDeviceContext();
    void DeleteDeviceContext();
    void CopySettings(const CECGPrinter& other);
    // The printable rectangle and scale from the opened device context.
    BOOL ComputePrintArea();
    // Where the PDF printer put the file: the folder of its port, with the
    // all-users desktop of the Windows versions read as the user's own.
    CString GetPDFSourcePath(const CString& strName, const CString& strDrive) const;

    // ---- fields, in the order of the design ---------------------------------------
    _PRINTER_SETTING m_stSetting;
    CString m_strPDFSavePath;   // destination folder of the PDF
    CString m_strPrinterName;   // empty: the default printer
    CString m_strPortName;      // found by GetPrintPort
    CECGDC* m_pECGDC;           // owned
    CDC* m_pDC;                 // owned; the framework context of m_pECGDC
    _PRINT_TYPE m_nPrintType;
    BOOL m_bDistillerInfo;      // the PDF printer's options were changed for this job
};
