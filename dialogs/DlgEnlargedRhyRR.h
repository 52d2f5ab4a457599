// CDlgEnlargedRhyRR: the modal dialog a double-click on a rhythm, RR or
// extra-lead page opens (template 132): the clicked lead enlarged with the
// ruler, pan and zoom of the enlarged wave dialog, without a measurement
// table. Nothing is stored; it only closes.
#pragma once

#include "dialogs/DlgEnlargedWave.h"

class CDlgEnlargedRhyRR : public CDlgEnlargedWave {
    DECLARE_DYNAMIC(CDlgEnlargedRhyRR)

public:
    enum { IDD = 132 };

    explicit CDlgEnlargedRhyRR(CWnd* pParent = nullptr);
    ~CDlgEnlargedRhyRR() override;

    // The document's sensitivity group of the lead (0, 1, 4, 5 or 6).
    void SetSenseID(int nSenseID) { SetLimbLead(nSenseID); }
    // The clicked lead and sample, the page start (0 when the sample is
    // absolute), the lead's length in samples; the last is kept for callers.
    void SetClickInfo(int nLead, int nSample, int nPageStart, int nLength, int nWhole);

    int GetLead() const { return m_nLead; }
    int GetSample() const { return m_nCenter; }
    int GetSenseID() const { return m_nSenseID; }
    int GetLength() const { return m_nWaveLength; }

protected:
    BOOL OnInitDialog() override;
};
