// CDlgDivider: the heart-rate caliper dialog (template 108) a double-click on
// a one-lead strip opens. It shows the lead as a strip at 25 mm/s in its
// divider view, in a frame, with a scroll bar over the record; the view's
// calipers report their intervals (WM_USER+7), shown here with the heart
// rate they stand for. Calipers II and III are switched by check boxes.
#pragma once

#include "dialogs/DlgModal.h"
#include "dialogs/EnlargedViewFrame.h"

class CTavrionDoc;
class CViewDividerWave;
struct _PATIENT_INFO;

class CDlgDivider : public CDlgModal {
    DECLARE_DYNAMIC(CDlgDivider)

public:
    enum { IDD = 108 };
    enum {
        IDC_READOUT_1 = 3460,
        IDC_READOUT_2 = 3461,
        IDC_READOUT_3 = 3462,
        IDC_CHECK_2 = 3463,
        IDC_CHECK_3 = 3464,
        IDC_RATE_LABEL = 3465,
        IDC_RATE_EDIT = 3466,
        IDC_RATE_UNIT = 3467,
        IDC_STRIP_BAR = 3468,
    };

    explicit CDlgDivider(CWnd* pParent = nullptr);
    ~CDlgDivider() override;

    // ---- set by the opener before DoModal ----------------------------------------
    void SetDoc(CTavrionDoc* pDoc, int nDocType)
    {
        m_pDoc = pDoc;
        m_nDocType = nDocType;
    }
    void SetLeadID(int nLead) { m_nLead = nLead; }
    // The strip's paper in millimetres, the record's length in samples, its
    // rate and the first sample shown.
    void SetWaveParam(int nWidth, int nHeight, int nLength, int nRate, int nStart);

    CViewDividerWave* GetWaveView() const { return m_pView; }
    CFont* GetDialogFont() const { return m_pFont; }
    int GetLead() const { return m_nLead; }
    int GetStripWidth() const { return m_nStripWidth; }
    int GetStripHeight() const { return m_nStripHeight; }
    int GetLength() const { return m_nLength; }
    int GetRate() const { return m_nRate; }
    int GetStart() const { return m_nStart; }
    int GetScreenSamples() const { return m_nScreenSamples; }

    // "%s I %s%d%s %s %s" and its siblings for caliper 0, 1 or 2.
    static CString FormatInterval(int caliper, int milliseconds);
    // The text colour of readout `id`: blue, sea green and red for calipers
    // I, II and III; CLR_INVALID for any other control.
    static COLORREF ReadoutColour(int id);

protected:
    BOOL OnInitDialog() override;
    afx_msg LRESULT OnInterval(WPARAM wParam, LPARAM lParam);
    afx_msg void OnCheck2();
    afx_msg void OnCheck3();
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    // Update: the typed heart rate goes into the current item and its record
    // XML with the prompt's name and stamps; the dialog closes once stored.
    void OnOK() override;
    DECLARE_MESSAGE_MAP()

    // The strip range: the samples of one screen, the start kept within the record.
    void FitRange();
    // The dialog as wide as its monitor, standing on the bottom of the
    // screen; the strip's place and the rows of readouts under it.
    void PlaceControls();
    // The document's display font on the dialog and its texts.
    void ApplyFont();
    BOOL CreateStripView();
    void SetUpScrollBar();
    // The record's heart rate in the edit, or the row hidden for records without one.
    void ShowHeartRate();
    // The rate edit's limit; read-only records get no update, others the
    // update their saving permission allows.
    void ApplyUpdatePermission();
    // The typed heart rate as "%d" (an empty edit gives 0).
    CString TypedHeartRate();
    // Whether the rate edit holds another text than the record's it showed.
    bool IsRateTyped();
    // The record XML of the update: editor, stamps and, when given, the
    // heart rate; false when the file could not be written.
    bool WriteHeartRateXml(const CString& path, const CString& name, const CString* rate,
                           const _PATIENT_INFO& patient);

    CEnlargedViewFrame m_frame;
    CViewDividerWave* m_pView = nullptr;   // lives in the frame: goes with the window
    CRect m_rcStrip;                        // the strip view's place in the client area
    CFont* m_pFont = nullptr;               // not owned: the document's or the library's
    CTavrionDoc* m_pDoc = nullptr;          // not owned
    int m_nDocType = 0;
    int m_nStripWidth = 260;
    int m_nStripHeight = 30;
    int m_nLength = 5000;
    int m_nRate = 500;
    int m_nScreenSamples = 0;
    int m_nStart = 0;
    int m_nLead = 0;
    CString m_strShownRate;   // the record's heart rate as the edit showed it
};
