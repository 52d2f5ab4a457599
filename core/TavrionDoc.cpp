#include "core/TavrionDoc.h"

#include <cstring>

#include "core/Globals.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Font.h"

IMPLEMENT_DYNCREATE(CTavrionDoc, CDocument)

namespace {

const int kLeadSelectionDefaults[TAVRION_LEAD_SELECTION] = {0, 0, 1, 2, 6, 7, 8,  9,  10, 11, 12, 13, 14, 0,
                                                            1, 2, 3, 4, 5, 6, 7,  8,  9,  10, 11, 12, 13, 14};

struct DocFontSpec {
    int heightUnits;   // height in units of the y scale
    int weight;
    bool withRatio;    // the last font ignores the display ratio
};
const DocFontSpec kDocFonts[TAVRION_DOC_FONTS] = {
    {12, 400, true}, {13, 600, true}, {13, 400, true}, {11, 400, true}, {12, 400, false}};

// Field numbers of the record's first sensitivity of kinds 0 to 5.
const int kFirstSenseField[6] = {REF_FIRST_SENSE_0, REF_FIRST_SENSE_1, REF_FIRST_SENSE_2,
                                 REF_FIRST_SENSE_3, REF_FIRST_SENSE_4, REF_FIRST_SENSE_5};

}  // namespace

CTavrionDoc::CTavrionDoc()
    : m_nUnused1{},
      m_pDocFont{},
      m_nUnused2{},
      m_stDefaultRef(),
      m_stSketchInfo(),
      m_dXScale(1.0),
      m_dYScale(1.0),
      m_dDisplayRatio(1.0),
      m_dPixelPerMM{1.0, 1.0},
      m_uDisplaySizeMode(1),
      m_nUnused3(0),
      m_nDividerState(1),
      m_nUnused4(0),
      m_bTurnedScreen(0),
      m_nBaseScreenWidth(1024),
      m_nBaseScreenHeight(768),
      m_nBaseScreenWidth2(1024),
      m_nUnused5(0),
      m_nCurDataIndex(-1),
      m_nRhythm1LeadID(0),
      m_nDividerCheck(0),
      m_bScaleShow(0),
      m_bEditChanged(0),
      m_bEditComment(0),
      m_bEditPatient(0),
      m_bSubAge(0),
      m_bShadeGrid(1),
      m_nFilter(100),
      m_fSpeed(25.0f),
      m_nRhythmWaveStyle(1),
      m_uSenseMode(1),
      m_fSense{},
      m_bChestHalf(0),
      m_nLeadSelection{},
      m_bInformationChange(0),
      m_bAdditionChange(0),
      m_bCommentChange(0),
      m_bAnalysisChange(0),
      m_bSaveDoctor(1),
      m_bSaveEditor(1),
      m_nUnused6(0),
      m_bSuffixRead(0)
{
    InitDefaultRef(m_stDefaultRef);
    for (auto& set : m_fSense) {
        for (float& sense : set) sense = 10.0f;
    }
    std::memcpy(m_nLeadSelection, kLeadSelectionDefaults, sizeof(m_nLeadSelection));
    InitGlobalData();
}

CTavrionDoc::~CTavrionDoc()
{
    m_DataManager.FreeAll();
    DeleteDocFonts();
}

// ---- the base behaviour of the examination interface ---------------------------

int CTavrionDoc::Is8000File()
{
    return 0;
}

long CTavrionDoc::GetCtrlStatusForType(UINT)
{
    return 3;
}

int CTavrionDoc::GetRhythmWaveData(int, short*, int)
{
    return 0;
}

SharedSamples CTavrionDoc::ShareRhythmWaveData(int)
{
    return SharedSamples();
}

SharedSamples CTavrionDoc::GetWholeRhythmWave(int lead)
{
    const int bytes = GetRhythmWaveData(lead, nullptr, -1);
    const int count = bytes / 2;
    if (count <= 0) return SharedSamples();
    if (SharedSamples shared = ShareRhythmWaveData(lead)) return shared;
    // Not cleared first: the read below writes every sample.
    std::shared_ptr<SampleVector> samples;
    try {
        samples = std::make_shared<SampleVector>(static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
        return SharedSamples();
    }
    // The second read must fill what the first one sized: a lead shorter
    // than its header claims would otherwise show zeros as signal.
    if (GetRhythmWaveData(lead, samples->data(), -1) != bytes) return SharedSamples();
    const short* first = samples->data();
    return SharedSamples::Of(std::move(samples), first, static_cast<size_t>(count));
}

int CTavrionDoc::GetAverageWaveData(int, short*, int)
{
    return 0;
}

int CTavrionDoc::GetRhythmWaveTotalPage(int, int)
{
    return 0;
}

void CTavrionDoc::UpdateCtrlStatus() {}

int CTavrionDoc::SaveDataToXML(int)
{
    return 0;
}

int CTavrionDoc::IsDoctorConfirm()
{
    return 0;
}

int CTavrionDoc::GetRhythmSenseChangeState()
{
    return 0;
}

int CTavrionDoc::IsChestHalf()
{
    return m_bChestHalf;
}

// The first value set after opening is kept, so that the examination
// documents can tell whether the user changed the setting since.
void CTavrionDoc::SetChestHalf(int bHalf)
{
    m_bChestHalf = bHalf;
    int& first = m_stDefaultRef.RefInt(REF_FIRST_CHEST_HALF);
    if (first == -1) first = bHalf ? 1 : 0;
}

float CTavrionDoc::GetSpeed()
{
    return m_fSpeed;
}

void CTavrionDoc::SetSpeed(float fSpeed)
{
    float& first = m_stDefaultRef.RefFloat(REF_FIRST_SPEED);
    if (first == -1.0f) first = fSpeed;
    m_fSpeed = fSpeed;
}

int CTavrionDoc::GetFilter()
{
    return m_nFilter;
}

void CTavrionDoc::SetFilter(int nFilter)
{
    m_nFilter = nFilter;
}

float CTavrionDoc::GetCommonSense(int set)
{
    return m_fSense[set == 0 ? 0 : 1][6];
}

float CTavrionDoc::GetSense(UINT kind, int set)
{
    if (kind >= TAVRION_SENSE_KINDS) return 0.0f;
    return m_fSense[set == 0 ? 0 : 1][kind];
}

UINT CTavrionDoc::GetSenseMode()
{
    return m_uSenseMode;
}

void CTavrionDoc::SetSenseMode(UINT mode)
{
    m_uSenseMode = mode;
}

void CTavrionDoc::SetSense(UINT kind, float fSense, int bModeChange)
{
    if (bModeChange && kind != 3) m_uSenseMode = (m_uSenseMode == 1 || m_uSenseMode == 3) ? 1 : 2;
    if (kind <= 5) {
        float& first = m_stDefaultRef.RefFloat(kFirstSenseField[kind]);
        if (first == -1.0f) first = fSense;
        m_fSense[0][kind] = fSense;
    } else if (kind == 6) {
        m_fSense[0][kind] = fSense;
    }
}

// ---- settings -------------------------------------------------------------------

void CTavrionDoc::InitialSetting(const _DEFAULT_REF* pRef)
{
    if (pRef) std::memcpy(&m_stDefaultRef, pRef, sizeof(m_stDefaultRef));
}

COLORREF CTavrionDoc::GetWaveColor(int slot, int) const
{
    if (slot < 0 || slot >= DEFAULT_REF_COLOR_SLOTS) return 0;
    return m_stDefaultRef.stColor[slot].crColor;
}

void CTavrionDoc::SetWaveColor(int slot, unsigned long color)
{
    if (slot < 0 || slot >= DEFAULT_REF_COLOR_SLOTS) return;
    m_stDefaultRef.stColor[slot].crColor = static_cast<COLORREF>(color);
    m_stDefaultRef.stColor[slot].dwCompanion = 0;
}

int CTavrionDoc::GetDensity(int mode) const
{
    return mode == 2 ? m_stDefaultRef.nDensity2 : m_stDefaultRef.nDensity1;
}

void CTavrionDoc::SetDensity(int mode, int value)
{
    (mode == 2 ? m_stDefaultRef.nDensity2 : m_stDefaultRef.nDensity1) = value;
}

void CTavrionDoc::GetStrandelValue(float& xWidth, float& yWidth, int& power, float& gamma) const
{
    xWidth = m_stDefaultRef.fLineXWidth;
    yWidth = m_stDefaultRef.fLineYWidth;
    power = m_stDefaultRef.nLinePower;
    gamma = m_stDefaultRef.fLineGamma;
}

void CTavrionDoc::SetStrandelValue(float xWidth, float yWidth, int power, float gamma)
{
    m_stDefaultRef.fLineXWidth = xWidth;
    m_stDefaultRef.fLineYWidth = yWidth;
    m_stDefaultRef.nLinePower = power;
    m_stDefaultRef.fLineGamma = gamma;
}

int CTavrionDoc::GetFilterStatus(short kind) const
{
    int offset;
    switch (kind) {
    case 1: offset = 0; break;
    case 2: offset = 1; break;
    case 3: offset = 2; break;
    case 6: offset = 3; break;
    case 4: offset = 4; break;
    default: return 0;
    }
    return m_stDefaultRef.RefInt(REF_FILTER_1 + offset) == 0 ? 1 : 0;
}

int CTavrionDoc::GetSpeedStatus(short kind) const
{
    if (kind != 4) return 0;
    return m_stDefaultRef.RefFloat(REF_SPEED_STATUS) == 0.0f ? 1 : 0;
}

CFont* CTavrionDoc::GetDocFont(int index) const
{
    if (index < 0 || index >= TAVRION_DOC_FONTS) return nullptr;
    return m_pDocFont[index];
}

UINT CTavrionDoc::GetDataLeadID(UINT index, int systemCode)
{
    static const UINT kLeadNumber[15] = {0, 1, 8, 9, 10, 11, 2, 3, 4, 5, 6, 7, 0, 1, 2};
    const unsigned code = static_cast<unsigned>(systemCode) & 0xFFFF;
    const unsigned low = code & 0xFF;
    const bool mapped = low == 0 || low == 11 || low == 226 || low == 227 || low == 243 || low == 244 ||
                        low == 254 || low == 255 || code == 0xFFFC || code == 0xFFFD;
    if (!mapped) return index;
    return index < 15 ? kLeadNumber[index] : 1;
}

int CTavrionDoc::Is8000File(const CString& strXMLPath)
{
    _DATAITEM* item = m_DataManager.GetItem(strXMLPath);
    return item ? item->b8000File : 0;
}

CString CTavrionDoc::GetLocalPath() const
{
    return CString(g_pWorkDir ? g_pWorkDir : L"");
}

double CTavrionDoc::GetXUnit() const
{
    return g_dXUnit;
}

double CTavrionDoc::GetYUnit() const
{
    return g_dYUnit;
}

int CTavrionDoc::IsSizing() const
{
    return g_bSizing;
}

void CTavrionDoc::SetDisplaySizing(int sizing)
{
    g_bSizing = sizing;
}

void CTavrionDoc::InitGlobalData()
{
    m_nBaseScreenWidth = m_bTurnedScreen ? 768 : 1024;
    m_nBaseScreenHeight = m_bTurnedScreen ? 1024 : 768;
    m_nBaseScreenWidth2 = m_nBaseScreenWidth;
    m_dXScale = g_dXUnit * m_dDisplayRatio;
    m_dYScale = g_dYUnit * m_dDisplayRatio;

    DeleteDocFonts();
    for (int i = 0; i < TAVRION_DOC_FONTS; ++i) {
        const DocFontSpec& spec = kDocFonts[i];
        const double scale = spec.withRatio ? m_dYScale : g_dYUnit;
        const int height = static_cast<int>(scale * spec.heightUnits);
        m_pDocFont[i] = new CFont;
        m_pDocFont[i]->CreateFont(height, 0, 0, 0, spec.weight, FALSE, FALSE, FALSE, 134, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, PROOF_QUALITY, 18, L"simsun");
    }
}

void CTavrionDoc::ResetGlobalData()
{
    DeleteDocFonts();
    InitGlobalData();
}

void CTavrionDoc::DeleteDocFonts()
{
    for (CFont*& font : m_pDocFont) {
        delete font;
        font = nullptr;
    }
}

// ---- helpers that use no document state ---------------------------------------

int CTavrionDoc::GetWaveMaxMin(const short* samples, int count, short* pMax, short* pMin)
{
    if (!samples || !pMax || !pMin) return 0;
    if (count < 1) {
        *pMax = *pMin = 0;
        return 0;
    }
    short hi = samples[0], lo = samples[0];
    for (int i = 1; i < count; ++i) {
        if (samples[i] > hi) hi = samples[i];
        if (samples[i] < lo) lo = samples[i];
    }
    *pMax = hi;
    *pMin = lo;
    return 1;
}

BOOL CTavrionDoc::DrawTextEndEllipsis(CDC* pDC, const CString& text, int left, int /*top*/, int right, int bottom)
{
    if (!pDC) return FALSE;
    const int width = right - left;
    if (pDC->GetTextExtent(text).cx <= width) return pDC->TextOut(left, bottom, text);
    // The longest head of the text that fits with the ellipsis, down to the
    // ellipsis alone.
    for (int n = text.GetLength(); n > 0; --n) {
        const CString cut = text.Left(n) + L"...";
        if (pDC->GetTextExtent(cut).cx < width) return pDC->TextOut(left, bottom, cut);
    }
    return pDC->TextOut(left, bottom, CString(L"..."));
}
