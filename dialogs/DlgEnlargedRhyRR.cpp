#include "dialogs/DlgEnlargedRhyRR.h"

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "documents/ExtraDataItem.h"
#include "documents/RRDataItem.h"
#include "documents/RhythmDataItem.h"
#include "waveviews/WaveItemRef.h"

IMPLEMENT_DYNAMIC(CDlgEnlargedRhyRR, CDlgEnlargedWave)

BEGIN_MESSAGE_MAP(CDlgEnlargedRhyRR, CDlgEnlargedWave)
    ON_BN_CLICKED(IDC_RULER, OnRulerMode)
    ON_BN_CLICKED(IDC_DRAG, OnDragMode)
    ON_BN_CLICKED(IDC_ZOOM_IN, OnZoomIn)
    ON_BN_CLICKED(IDC_ZOOM_OUT, OnZoomOut)
END_MESSAGE_MAP()

namespace {
const int kBarWidth = 150;   // units
const int kPage = 20;
}  // namespace

CDlgEnlargedRhyRR::CDlgEnlargedRhyRR(CWnd* pParent)
    : CDlgEnlargedWave(IDD, {IDC_HORIZONTAL_BAR, IDC_VERTICAL_BAR, IDC_READOUT, IDC_RULER, IDC_DRAG, IDC_ZOOM_IN, IDC_ZOOM_OUT},
                       0, 0, pParent)
{
}

CDlgEnlargedRhyRR::~CDlgEnlargedRhyRR() = default;

void CDlgEnlargedRhyRR::SetClickInfo(int nLead, int nSample, int nPageStart, int nLength, int nWhole)
{
    CDlgEnlargedWave::SetClickInfo(nLead, nSample, nPageStart, nLength);
    m_bWholeBeat = nWhole;
}

BOOL CDlgEnlargedRhyRR::OnInitDialog()
{
    if (g_pDlgFontNormal) SetFont(g_pDlgFontNormal, FALSE);
    CDlgEnlargedWave::OnInitDialog();
    // Its one button only closes.
    SetDlgItemText(IDOK, L"关闭");
    return TRUE;
}

bool CDlgEnlargedRhyRR::ReadDisplaySettings()
{
    if (!m_pDoc || !CWaveItemRef::Of(m_pDoc, m_nDocType)) return false;
    const UINT sense = static_cast<UINT>(m_nSenseID);
    switch (m_nDocType) {
    case DOC_TYPE_RHYTHM:
    case DOC_TYPE_MFER:
    case DOC_TYPE_EXTRA: m_fSense = m_pDoc->GetSense(sense, 0); break;
    case DOC_TYPE_RR: m_fSense = m_pDoc->GetCommonSense(0); break;
    default: return false;   // resting and exercise records have dialogs of their own
    }
    m_fSpeed = m_pDoc->GetSpeed();
    m_nFilter = m_pDoc->GetFilter();
    return true;
}

void CDlgEnlargedRhyRR::RecordOf(_ECGDATA*& record, unsigned& code) const
{
    const CWaveItemRef item = CWaveItemRef::Of(m_pDoc, m_nDocType);
    record = nullptr;
    code = item.GetSystemCode();
    if (item.Rhythm()) record = item.Rhythm()->pECGData;
    if (item.RR()) record = item.RR()->pECGData;
    if (item.Extra()) record = item.Extra()->pECGData;
}

void CDlgEnlargedRhyRR::PlaceControls(const CEnlargedWaveLayout& layout)
{
    layout.ApplySingleView(*this, m_frame.Ids(), kBarWidth);
}

int CDlgEnlargedRhyRR::HorizontalPage() const
{
    return kPage;
}
