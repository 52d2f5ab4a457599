// CDlgEnlargedWave: the modal dialog that shows a clicked lead enlarged
// (template 109). It holds the enlarged view in a child frame, shows the
// ruler readings the view sends, follows its pans with the scroll bars, and
// switches between ruler and drag mode and through the zoom steps. Under
// the view, the measurement table of the clicked lead (its own dialog only,
// not the dialogs that borrow its controls with another template).
#pragma once

#include "dialogs/DlgModal.h"
#include "dialogs/EnlargedMeasureTable.h"
#include "dialogs/EnlargedViewFrame.h"

#include <memory>

class CTavrionDoc;
class CViewEnlargedWave;
class CViewAveOverlappedWave;
struct _ECGDATA;
struct CSerialPopupRequest;

class CDlgEnlargedWave : public CDlgModal {
    DECLARE_DYNAMIC(CDlgEnlargedWave)

public:
    enum { IDD = 109 };
    enum {
        IDC_HORIZONTAL_BAR = 3471,
        IDC_VERTICAL_BAR = 3472,
        IDC_READOUT = 3473,
        IDC_RULER = 3474,
        IDC_DRAG = 3475,
        IDC_ZOOM_IN = 3476,
        IDC_ZOOM_OUT = 3477,
    };

    // nFlag: TRUE for a whole average beat, FALSE for a rhythm strip; nMode
    // 0 normal, 1 serial average, 2 serial rhythm comparison.
    explicit CDlgEnlargedWave(int nFlag = 0, int nMode = 0, CWnd* pParent = nullptr);
    ~CDlgEnlargedWave() override;

    // ---- set by the opener before DoModal ----------------------------------------
    void SetDoc(CTavrionDoc* pDoc, int nDocType)
    {
        m_pDoc = pDoc;
        m_nDocType = nDocType;
    }
    // The clicked lead, the sample to centre, a value kept for the opener, and
    // the shown wave's length in samples.
    void SetClickInfo(int nLead, int nCenter, int nValue, int nLength);
    // The document's sensitivity selector of the lead.
    void SetLimbLead(int nSenseID) { m_nSenseID = nSenseID; }
    void SetDotsPerMM(double x, double y)
    {
        m_dDotsPerMMX = x;
        m_dDotsPerMMY = y;
    }
    void SetEnlargeType(int nType, int) { m_nEnlargeType = nType; }
    // The serial average (mode 1) shows its beat at the comparison's own
    // speed, sensitivity and filter rather than the record document's.
    void SetSerialPos(float fSpeed, float fSense, int nFilter)
    {
        m_fSpeed = fSpeed;
        m_fSense = fSense;
        m_nFilter = nFilter;
    }
    // The serial rhythm comparison (mode 2) shows the record of one document
    // at the settings of the comparison's own document; null: the record's.
    void SetSerialDoc(CTavrionDoc* pDoc) { m_pSerialDoc = pDoc; }

    CViewEnlargedWave* GetWaveView() const { return m_pView; }
    // All leads' average beats overlapped, beside the table (its own template only).
    CViewAveOverlappedWave* GetOverlapView() const { return m_pOverlapView; }
    // What the opener gave, as the running dialog holds it.
    int GetClickLead() const { return m_nLead; }
    int GetCenter() const { return m_nCenter; }
    int GetClickValue() const { return m_nClickValue; }
    int GetWaveLength() const { return m_nWaveLength; }
    int GetLimbLead() const { return m_nSenseID; }

    // The serial rhythm comparison's record pop-up (mode 2) made into
    // `popup` and run modally for `parent`; the comparison view calls it.
    static int RunSerialPopup(CWnd* parent, const CSerialPopupRequest& request, std::unique_ptr<CDialog>& popup);

    CEnlargedMeasureTable& GetMeasureTable() { return m_table; }

protected:
    // A dialog of another template with its own controls around the view.
    CDlgEnlargedWave(UINT nIDTemplate, const CEnlargedViewFrame::Controls& ids, int nFlag, int nMode, CWnd* pParent);
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    afx_msg void OnPaint();
    afx_msg void OnCellSetFocus(UINT nID);
    afx_msg void OnCellKillFocus(UINT nID);
    afx_msg void OnCellNext(UINT nID);
    afx_msg LRESULT OnRulerReading(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnViewPanned(WPARAM wParam, LPARAM lParam);
    afx_msg void OnRulerMode();
    afx_msg void OnDragMode();
    afx_msg void OnZoomIn();
    afx_msg void OnZoomOut();
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

    // The view configured as its openers configure it; FALSE without one.
    BOOL CreateWaveView();
    // The overlapped beats of every lead in their frame at `area`.
    void CreateOverlapView(const CRect& area);
    // Speed, sensitivity and filter of the shown record; false when the
    // document kind has nothing this dialog shows or no current item.
    virtual bool ReadDisplaySettings();
    // The record image and kind code the view draws from (none for MFER
    // and rhythm items here: the view reads their waves through the document).
    virtual void RecordOf(_ECGDATA*& record, unsigned& code) const;
    // Sizes the dialog and places its controls.
    virtual void PlaceControls(const CEnlargedWaveLayout& layout);
    // The horizontal bar's page step.
    virtual int HorizontalPage() const;
    // A strip at least a page long scrolls by samples; anything else pans by pixels.
    bool ScrollsBySamples() const;
    void SetScrollRanges();
    // The horizontal bar's position applied to the view: a start sample or a pixel offset.
    void ApplyHorizontal(int position);
    void Zoom(int delta);
    // Serial modes and read-only documents show the table without editing it.
    bool IsTableReadOnly() const;
    void SetUpMeasureTable(const CEnlargedWaveLayout& layout);
    // The document's table font on the dialog, its groups, buttons and readout.
    void ApplyTableFont();
    CString LeadName() const;

    CEnlargedViewFrame m_frame;
    CEnlargedMeasureTable m_table;
    bool m_bHasTable = false;               // this dialog's own template
    CViewEnlargedWave* m_pView = nullptr;   // lives in the frame: goes with the window
    CViewAveOverlappedWave* m_pOverlapView = nullptr;   // likewise
    CTavrionDoc* m_pDoc = nullptr;          // not owned
    CTavrionDoc* m_pSerialDoc = nullptr;    // not owned; mode 2's settings
    int m_nDocType = 0;
    int m_nLead = 0;
    int m_nCenter = 0;                      // sample the strip is centred on
    int m_nClickValue = 0;                  // the opener's, unused here
    int m_nWaveLength = 0;                  // samples of the shown wave
    int m_nEnlargeType = -1;
    int m_nSenseID = 6;
    BOOL m_bWholeBeat = FALSE;
    int m_nMode = 0;
    double m_dDotsPerMMX = 0.0;
    double m_dDotsPerMMY = 0.0;
    float m_fSpeed = 25.0f;                 // mm/s
    int m_nFilter = 100;                    // Hz
    float m_fSense = 10.0f;                 // mm/mV
    CFont* m_pLabelFont = nullptr;          // not owned: the document's table font
    CFont* m_pCellFont = nullptr;           // likewise; the cells take it from the dialog
};
