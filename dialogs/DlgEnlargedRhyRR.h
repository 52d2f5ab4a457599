// CDlgEnlargedRhyRR: the modal dialog a double-click on a rhythm, RR,
// extra-lead or MFER page opens (template 132): the clicked lead enlarged
// with the ruler, pan and zoom of the enlarged wave dialog, without a
// measurement table. Nothing is stored; it only closes.
#pragma once

#include "dialogs/DlgEnlargedWave.h"

class CDlgEnlargedRhyRR : public CDlgEnlargedWave {
    DECLARE_DYNAMIC(CDlgEnlargedRhyRR)

public:
    enum { IDD = 132 };
    enum {
        IDC_HORIZONTAL_BAR = 3561,
        IDC_VERTICAL_BAR = 3562,
        IDC_RULER = 3563,
        IDC_DRAG = 3564,
        IDC_ZOOM_IN = 3565,
        IDC_ZOOM_OUT = 3566,
        IDC_READOUT = 3567,
    };

    explicit CDlgEnlargedRhyRR(CWnd* pParent = nullptr);
    ~CDlgEnlargedRhyRR() override;

    // The document's sensitivity group of the lead (0, 1, 4, 5 or 6).
    void SetSenseID(int nSenseID) { SetLimbLead(nSenseID); }
    // The clicked lead and sample, the page start (0 when the sample is
    // absolute; kept for the opener), the lead's length in samples, and
    // whether the wave is a whole beat (it then pans by pixels only).
    void SetClickInfo(int nLead, int nSample, int nPageStart, int nLength, int nWhole);

    int GetLead() const { return m_nLead; }
    int GetSample() const { return m_nCenter; }
    int GetSenseID() const { return m_nSenseID; }
    int GetLength() const { return m_nWaveLength; }
    float GetSense() const { return m_fSense; }

protected:
    BOOL OnInitDialog() override;
    // Rhythm, RR, extra and MFER records only; an RR record shows every
    // lead at the document's common sensitivity.
    bool ReadDisplaySettings() override;
    void RecordOf(_ECGDATA*& record, unsigned& code) const override;
    void PlaceControls(const CEnlargedWaveLayout& layout) override;
    int HorizontalPage() const override;
    DECLARE_MESSAGE_MAP()
};
