// CECGDC: the one drawing surface of every print operation. Each call looks
// at the job's print type: the Windows printer and the PDF printer (types 1
// and 2) draw through the framework device context; HP-GL/2 in PCL 5 (3)
// and LIPS IV (5) turn the call into printer-language text that goes to the
// spooler at once as raw data; the escape-sequence page printer (4) sends
// only its page start and end.
//
// Views and forms print on the framework context (GetDC) as much as on this
// one. For HP-GL/2 and LIPS that context draws on a page that keeps the
// primitives it is given; they are turned into printer text before the next
// write of this context and before the page ends, so that both reach the
// printer in the order they were drawn.
#pragma once

#include "platform/base/Geometry.h"
#include "platform/base/Strings.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Gdi.h"
#include "printdevice/PrinterSetting.h"
#include "printdevice/RawObjects.h"

class CTavrionDoc;

namespace platform {
namespace gdi {
struct DrawRecord;
}
}  // namespace platform

class CECGDC {
public:
    explicit CECGDC(_PRINT_TYPE type);
    CECGDC(CDC* pDC, _PRINT_TYPE type);
    // Copies share the framework context, the printer and the document, but
    // each has a default pen and brush of its own, so that no pen or brush is
    // deleted twice.
    CECGDC(const CECGDC& other);
    CECGDC& operator=(const CECGDC& other);
    // Deletes the default pen and brush; does not close the printer.
    virtual ~CECGDC();

    // ---- set-up ----------------------------------------------------------------------
    void SetDC(CDC* pDC) { m_pDC = pDC; }
    CDC* GetDC() const { return m_pDC; }
    void SetECGDoc(CTavrionDoc* pDoc) { m_pDoc = pDoc; }
    void SetPrintType(_PRINT_TYPE type) { m_nPrintType = type; }
    _PRINT_TYPE GetPrintType() const { return m_nPrintType; }
    void SetPrinterSetting(_PRINTER_SETTING setting) { m_stSetting = setting; }
    const _PRINTER_SETTING& GetPrinterSetting() const { return m_stSetting; }
    HDC GetPrinterHandle() const { return m_hPrinterDC; }
    CString GetPDFFileName() const { return m_strJobName; }
    HDC GetSafeHdc() const { return m_pDC ? m_pDC->GetSafeHdc() : nullptr; }

    // ---- printer and job ----------------------------------------------------------
    // Types 1 and 2 open the printer with the job's orientation, paper and
    // copies and attach its device context to the framework context; the raw
    // types open the printer for raw output. For HP-GL/2 and LIPS a framework
    // context that has no device context of its own gets the recording page,
    // whose drawing goes into the stream. FALSE on failure.
    BOOL OpenECGPrinter(LPCWSTR lpszPrinter, LPCWSTR lpszDriver, LPCWSTR lpszPort);
    // Also takes the recording page off the framework context.
    BOOL CloseECGPrinter();
    // The PDF job is named "Tavrion_<computer>_<local time to the millisecond>"
    // whatever name the caller gives; a raw job returns its id, -1 on failure.
    int StartDoc(LPCWSTR lpszDocName);
    int StartDoc(LPDOCINFOW lpDocInfo);
    int StartPage();
    int EndPage();
    // A raw job whose document was cancelled is aborted instead of ended.
    int EndDoc();
    // Raw types: drops the job and closes the printer; TRUE when both worked.
    BOOL AbortPrinter();
    // Drops the document of any type, so that nothing of it reaches a
    // printer or a PDF; TRUE when it was dropped.
    BOOL AbandonDoc();

    // ---- drawing -------------------------------------------------------------------------
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT lpRect);
    BOOL Ellipse(int x1, int y1, int x2, int y2);
    BOOL Ellipse(LPCRECT lpRect);
    BOOL Polygon(const POINT* lpPoints, int nCount);
    BOOL Polyline(const POINT* lpPoints, int nCount);
    void FillRect(LPCRECT lpRect, CBrush* pBrush);
    BOOL FillRgn(CRgn* pRgn, CBrush* pBrush);
    COLORREF SetPixel(int x, int y, COLORREF crColor);
    COLORREF SetPixel(POINT point, COLORREF crColor) { return SetPixel(point.x, point.y, crColor); }
    // The raw types print the bitmap selected in pSrcDC at (x, y); the source
    // offsets and the raster operation only matter to GDI.
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop);
    int SetROP2(int nDrawMode);

    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;

    COLORREF SetTextColor(COLORREF crColor);
    UINT SetTextAlign(UINT nFlags);
    UINT GetTextAlign() const;
    int SetBkMode(int nBkMode);
    BOOL TextOut(int x, int y, const CString& str);
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat);
    int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat);
    int SelectClipRgn(CRgn* pRgn);
    CPoint SetViewportOrg(int x, int y);

    // ---- queries -------------------------------------------------------------------------
    // Text that could not be laid out for lack of memory fails as any other
    // text does (0, or an empty extent); this tells the job why. Cleared
    // when a job starts.
    BOOL IsTextShortOfMemory() const { return m_bTextShortOfMemory; }
    // The raw types report an A4 landscape page at 600 dots per inch.
    int GetDeviceCaps(int nIndex) const;
    CSize GetTextExtent(LPCTSTR lpszString, int nCount) const;
    CSize GetTextExtent(const CString& str) const;
    BOOL GetTextMetrics(LPTEXTMETRIC lpMetrics) const;

private:
    BOOL IsRawJob() const { return m_nPrintType >= 3 && m_nPrintType <= 5; }
    // HP-GL/2 and LIPS: the types whose drawing calls become printer text.
    BOOL IsRawDrawing() const { return m_nPrintType == 3 || m_nPrintType == 5; }
    BOOL IsPCL() const { return m_nPrintType == 3; }

    void CreateDefaultObjects();
    void DeleteDefaultObjects();
    void CopyFields(const CECGDC& other);

    // Lets pending window messages run (the print status dialog's Cancel
    // among them); FALSE once the document's print-cancel flag is set.
    BOOL PumpPrintMessage();
    // Writes the command buffer to the printer and empties it whatever happens.
    BOOL SendCommand();
    BOOL SendData(const BYTE* lpData, int nLength);
    BOOL AppendAndSend(const CString& text);
    BOOL ReplaceAndSend(const CString& text);

    BOOL RawRectangle(int left, int top, int right, int bottom);
    BOOL LIPSLargePolygon(const POINT* lpPoints, int nCount);
    BOOL RawBitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC);
    // Selects the brush for one figure; FALSE when nothing was selected.
    BOOL RawSelectBrush(CBrush* pBrush, HBRUSH& hPrevious);
    void RawRestoreBrush(HBRUSH hPrevious);
    // A job name no other job of this computer has, reserved against other
    // processes until this context goes (m_strJobReservation).
    CString UniqueJobName();
    void ReleaseJobName();

    // ---- the framework context's page (ECGDCReplay.cpp) -----------------------------
    // The framework context still holds the page this context attached.
    BOOL HasRecordingPage() const;
    void AttachRecordingPage();
    void DetachRecordingPage();
    // Turns what was drawn on the framework context since the last write into
    // printer text, then puts the caller's pen, brush and position back.
    void ReplayRecordingPage();
    void ReplayRecord(const platform::gdi::DrawRecord& record);
    void ReplayPen(const platform::gdi::DrawRecord& record);
    void ReplayBrush(const platform::gdi::DrawRecord& record);
    void ReplayFill(const RECT& box);
    void ReplayFigure(const platform::gdi::DrawRecord& record);
    void ReplayText(const platform::gdi::DrawRecord& record);
    void RestoreCallerState(HPEN hPen, HBRUSH hBrush, int nCurX, int nCurY);

    // ---- fields, in the order of the design ------------------------------------------
    CDC* m_pDC;                 // the framework context the GDI path draws on; not owned
    HANDLE m_hPrinter;          // from OpenPrinterW: raw output (types 3 to 5)
    HDC m_hPrinterDC;           // from CreateDCW; the report code gives it to SetAbortProc
    HPEN m_hPen;                // the default pen, or the pen a raw selection recorded
    HBRUSH m_hBrush;            // the default brush, or the brush a raw selection recorded
    HFONT m_hFont;              // never recorded: null
    CString m_strJobName;       // the PDF file name (without ".pdf") of a type 2 job
    _PRINTER_SETTING m_stSetting;
    UINT m_uTextAlign;          // TA_* bits of the raw types
    _PRINT_TYPE m_nPrintType;
    CString m_strCommand;       // printer text of the raw types, one byte per character
    int m_nCurX;                // current position of the HP-GL/2 and LIPS paths, device pixels
    int m_nCurY;
    CTavrionDoc* m_pDoc;        // whose print-cancel flag stops raw writes; null: nobody can cancel
    CString m_strJobReservation;   // the folder holding this context's job name; never copied

    // The framework context's page of HP-GL/2 and LIPS jobs and what the
    // replay last sent of it: the printer's pen and fill until the caller's
    // are put back.
    HDC m_hRecordDC;            // attached to m_pDC between OpenECGPrinter and CloseECGPrinter
    BOOL m_bReplaying;
    BOOL m_bReplayPen;          // a pen of the replay is the printer's
    _RAW_PEN m_stReplayPen;
    BOOL m_bReplayBrush;        // a fill of the replay is the printer's
    _RAW_BRUSH m_stReplayBrush;

    mutable BOOL m_bTextShortOfMemory;   // text of this job failed for lack of memory

    // The defaults belong to the context; a raw selection records other
    // handles above without giving these up.
    CPen m_penDefault;          // 1 pixel solid black
    CBrush m_brushDefault;      // solid white
};
