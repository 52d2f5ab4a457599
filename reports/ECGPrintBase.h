// CECGPrintBase: the print job and the page frame of every report. The
// library never makes a report: the host derives its own class from
// CECGPrintReport or CECGPrintAnno, names the record, the document and the
// printer in the protected members, and overrides the job step, which
// brackets each page with CECGDC::StartPage/EndPage and calls the page
// frame and the layout blocks below.
#pragma once

#include <functional>
#include <initializer_list>

#include "core/ECGXMLParser.h"
#include "platform/base/Geometry.h"
#include "platform/base/Strings.h"
#include "platform/gdi/Gdi.h"
#include "printdevice/PrinterSetting.h"

struct _POSITION_CTRL;
class CDlgPrintStatus;
class CECGDC;
class CECGPrinter;
class CFont;
class CPen;
class CTavrionDoc;
class CViewAverageWave;
class CViewRhythmWave;
class CViewScroll1LeadWave;
class CWnd;

// The examination kind of the document a report prints.
typedef int _DOC_TYPE;

// What a formatting helper formats.
enum _DATA_UNIT_INFO { DATA_UNIT_HEIGHT = 0, DATA_UNIT_WEIGHT = 1, DATA_UNIT_BP = 2 };
// What a confirmation helper answers: the confirmation line, or one of the
// record's three date-time texts.
enum _DATA_TIME_INFO { DATA_TIME_CONFIRM = 0, DATA_TIME_1 = 1, DATA_TIME_2 = 2, DATA_TIME_3 = 3 };

// The abort procedure of every report job: lets the status box's Cancel run
// while the printer works; FALSE once the job was cancelled.
BOOL PrintAbortProc(HDC hdc, int error);

class CECGPrintBase {
public:
    CECGPrintBase();
    virtual ~CECGPrintBase();
    CECGPrintBase(const CECGPrintBase&) = delete;
    CECGPrintBase& operator=(const CECGPrintBase&) = delete;

    void SetDlgPrintWnd(CWnd* pParent) { m_pDlgParent = pParent; }

protected:
    // Fills the two settings lines for a view the blocks print outside the
    // resting kinds; the library leaves them as they are.
    virtual void UpdateDisplayInfo(CViewRhythmWave* pView);

    // ---- the job -------------------------------------------------------------------------
    // Opens the printer, the record XML, the font, the abort procedure, the
    // status box and the document; FALSE (with the device closed again) on
    // any failure.
    int PrintBegin(const CString& strXMLPath, BOOL bHideStatus);
    // Closes the job; a cancelled job delivers nothing. TRUE when it ended well.
    int PrintEnd(short nResult, int nMovePdf);
    // One job, PrintBegin to PrintEnd, with `step` the host's job step and
    // `movePdf` (read after it) PrintEnd's argument. Memory that runs out on
    // the way, as text the device cannot lay out or as an allocation that
    // fails, ends the job all the same: the step has failed, PrintEnd runs
    // (or what PrintBegin opened is closed again) and no "印刷エラー" is
    // shown, the cause being another; ThrowIfShortOfMemory then tells the
    // caller.
    int PrintJob(const CString& strXMLPath, BOOL bHideStatus, const std::function<short()>& step,
                 const std::function<int()>& movePdf);
    // After the job has ended and the report is idle again: the memory that
    // ran out in it reaches the caller as std::bad_alloc, as an allocation's
    // failure would, so that a host names the cause.
    void ThrowIfShortOfMemory() const;
    void GetPrinterParameter();
    // The report font: one print line, 18/1000 of the printable height.
    BOOL CreatePrintFont();

    // ---- the page frame ------------------------------------------------------------------
    int PrintTitle(CString strTitle, UINT nPage, UINT nPageCount, int bNoDate, int bPatientTitle);
    int PrintPatientInfo(CRect rcBase);
    int PrintComment(const CString& strText, CRect rcText, int nMaxLines);
    int PrintVersion();

    // ---- value formatting ----------------------------------------------------------------
    CString FormatPrintAge(const CString& strXPath);
    CString FormatPrintBirthday(const CString& strXPath);
    CString FormatWeightHeight(const CString& strIntPath, const CString& strDecPath);
    CString FormatBPValue(CString strUnit, const CString& strXPath);
    CString FormatUnit(const CString& strXPath, _DATA_UNIT_INFO kind);
    CString FormatAnalyseInfo(int nRow, int nAlternative);
    CString GetRestConfirmInfo(_DATA_TIME_INFO kind);
    CString GetFinalConfirmInfo(_DATA_TIME_INFO kind);
    CString GetRhythmConfirmInfo(_DATA_TIME_INFO kind);
    CString GetRRConfirmInfo(_DATA_TIME_INFO kind);
    CString GetExtraConfirmInfo(_DATA_TIME_INFO kind);
    CString GetMFERConfirmInfo(_DATA_TIME_INFO kind);
    CString GetExerConfirmInfo(_DATA_TIME_INFO kind);

    // ---- interpretation blocks -----------------------------------------------------------
    int PrintRestInterpreInfo(CRect rcBlock);
    int PrintAmeInterpreInfo(CRect rcBlock);
    int PrintRRInterpreInfo(CRect rcBlock);
    int PrintRhyInterpreInfo(CRect rcBlock, int bLowerConfirm);
    int PrintExtraInterpreInfo(CRect rcBlock);
    int PrintMiniAndIvrel(CRect rcBlock);
    int PrintAmeMiniAndIvrel(CRect rcBlock);

    // ---- settings lines ------------------------------------------------------------------
    void UpdateRestDisplayInfo(CViewRhythmWave* pView);
    // The settings of the average beats: always at 25 mm/s.
    void UpdateInterpreDisplay(CViewAverageWave* pView);
    // "負荷後" and the record's recovery time, empty without one.
    CString RecoveryText();

    // ---- helpers of the blocks -----------------------------------------------------------
    // Text the device type never draws (HP-GL/2) is not a failure.
    BOOL IsTextFailure(BOOL bDrawn) const;
    BOOL OutText(int x, int y, const CString& text);
    // The element text at the path, empty when missing.
    CString ReadXml(const CString& strXPath);
    // Millimetres to device pixels, truncated.
    int MMToPixel(double dMM) const { return static_cast<int>(dMM * m_fPixelPerMM); }
    // n thousandths of the printable height or width, rounded as MulDiv does.
    int PerMilleH(int n) const;
    int PerMilleW(int n) const;
    // The whole 5-mm steps of a pixel length, in millimetres.
    int FiveMMHeight(int nPixels) const;
    // The record holds fifteen leads; the document kind has a current record.
    BOOL IsFifteenLeadRecord() const;
    // A resting system code whose low byte marks fifteen leads.
    static BOOL IsRestFifteenCode(unsigned int uSystemCode);
    BOOL HasCurrentRecord() const;
    // The settings lines for a wave view: the resting lines for a resting
    // record, else the host's.
    void UpdateWaveDisplayInfo(CViewRhythmWave* pView);
    // The settings lines over the waves, bottom edge at y: one line when a
    // second series exists (the chest line for chest leads), else both. The
    // US-style pages place the second line by the resting and MFER records only.
    void PrintWaveCaptions(CViewRhythmWave* pView, int y, BOOL bOneCaption, BOOL bUsStyle);
    // The patient block (or the US-style interpretation block) of a page
    // that begins a series; where the wave area of the page begins.
    int PrintWaveHead(bool bBlock, BOOL bUsStyle);
    // The 5-mm grid of the wave area that begins at y0, nWidth pixels wide.
    CRect WaveGridRect(int y0, int nWidth) const;
    // The strip's duration marks for the waves' style; a missing strip takes none.
    // The US-style pages count fifteen leads of resting and MFER records only.
    void SetStripMarks(CViewScroll1LeadWave* pStrip, int nStyle, int nPart, int nFlag, BOOL bAnnotated,
                       BOOL bUsStyle);
    // Fifteen leads as the US-style pages see them: a rhythm record is not asked.
    BOOL IsUsStyleFifteenLead() const;
    BOOL IsRhythmDocument() const;
    // The interpretation page's left column: the resting interpretation, or
    // for a rhythm record the patient block and the rhythm interpretation.
    int PrintInterpreColumn();
    // The average beats' grid on the right half of the interpretation page.
    CRect AverageColumnRect(int nWidthMm, int nHeightMm) const;
    // The two settings lines over the average beats.
    void PrintAverageCaptions(int x2);
    // The title of the US-style wave pages.
    CString UsStyleWaveTitle() const;

    // ---- members, in the order of the design ---------------------------------------------
    CDlgPrintStatus* m_pDlgPrintStatus;   // owned; its window lives from PrintBegin to PrintEnd
    int m_nVisibleMask;                   // host; ANDed with the additions row's visible value
    CString m_strDisplayInfo1;            // first settings line under the waves
    CString m_strDisplayInfo2;            // second settings line
    CPen* m_pPen;                         // owned; solid black, 2 device pixels
    CFont* m_pPrintFont;                  // owned; the font of the current job
    CECGXMLParser* m_pXMLParser;          // owned; the record XML of the current job
    CECGDC* m_pECGDC;                     // the printer's
    int m_nPrintWidth;                    // device pixels
    int m_nPrintHeight;                   // device pixels
    CRect m_rcPrint;                      // printable rectangle, device pixels
    float m_fPixelPerMM;
    CTavrionDoc* m_pDoc;                  // host
    _DOC_TYPE m_DocType;                  // host: 0 rest, 1 final, 2 rhythm, 3 RR, 4 extra, 5 exercise, 6 MFER
    int m_bDistiller;                     // the PDF printer's settings were changed for this job
    _PRINT_TYPE m_PrintType;
    CECGPrinter* m_pPrinter;              // host
    CWnd* m_pDlgParent;                   // parent of the status box

private:
    BOOL m_bShortOfMemory;                // memory ran out in the current (or last) job

    struct InterpreRows;
    struct MinnesotaRows;
    class CMinnesotaBlock;
    friend class CMinnesotaBlock;

    // ---- rows of the print layout tables ---------------------------------------------------
    const _POSITION_CTRL* PrintTable(int nKind) const;
    CRect RowRect(const CRect& rcBlock, const _POSITION_CTRL& row, int nShift) const;
    CString RowValue(int nKind, int nRow, int nAlternative = 0);
    CString RowText(int nKind, int nRow);
    BOOL IsRowVisible(int nKind, int nRow) const;
    void DrawRow(int nKind, int nRow, const CRect& rcBlock, int nShift, const CString& text);
    // The lines a wrapped row used of its limit.
    int CommentRow(int nKind, int nRow, const CRect& rcBlock, int nShift, const CString& text, int nMaxLines);
    // The additions caption, titles and contents from row nFirst, an
    // invisible content closing up the rows under it; the lines they used.
    int PrintAdditions(int nKind, int nFirst, const CRect& rcBlock, int nShift);
    CString MedicationText(const CString& text, int nIndex, int nList);
    // The sub ID, kana name and request section pairs whose value is empty.
    void SuppressEmptyPairs(int nKind, std::initializer_list<int> valueRows, bool* suppressed);
    // The additions from row nFirst when the flags let them print; the shift
    // they give the rows under them.
    int PrintGatedAdditions(int nKind, int nFirst, int nFlags, const CRect& rcBlock);
    int PrintRestLikeInfo(CRect rcBlock, const InterpreRows& rows);
    int PrintMinnesotaBlock(CRect rcBlock, const MinnesotaRows& rows);

    // What PrintBegin opened up to a failure, undone.
    void AbandonBegin();
    BOOL SetAbortProcedure();
    BOOL OpenStatusDialog(BOOL bHideStatus);
    void CloseStatusDialog();
    void NotifyJobEnded();
    BOOL IsCancelled() const;
    // The PDF printer's settings are put back after a PDF job.
    BOOL RecoverPdfPrinter();

    // The frame's pieces.
    CString TitleHead(const CString& strTitle, int bPatientTitle);
    CString MasterStepHead();
    CString PatientHead();
    CString PageLabel(UINT nPage, UINT nPageCount, int bNoDate);
    CString PatientEntryText(int nEntry);
    CString VersionText();
    CString VersionLabels();
    void GetCommentMetrics(int& nLineHeight, int& nCharWidth) const;
    CString ConfirmLine(const struct _PATIENT_INFO& patient, int bDoctorConfirmed) const;
    BOOL IsDocKind(std::initializer_list<int> kinds) const;
};
