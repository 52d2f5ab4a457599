#include "waveviews/WaveItemRef.h"

#include "core/TavrionDoc.h"
#include "documents/ExtraViewDoc.h"
#include "documents/FinalViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"

namespace {

// The current item of a document of class Doc, null for another class.
template <class Doc> auto CurrentOf(CDocument* doc) -> decltype(static_cast<Doc*>(nullptr)->GetCurrentDataItem())
{
    auto* typed = DYNAMIC_DOWNCAST(Doc, doc);
    return typed ? typed->GetCurrentDataItem() : nullptr;
}

// The lead name of any item that keeps the shared lead-name record.
template <class Item> CString DisplayName(const Item* item, int lead)
{
    return item && lead >= 0 && lead < LEAD_NAME_CODES ? item->stLeadName.strDispName[lead] : CString();
}

}  // namespace

CWaveItemRef CWaveItemRef::Of(CDocument* doc, int docType)
{
    CWaveItemRef ref;
    ref.m_nDocType = docType;
    if (!doc) return ref;
    switch (docType) {
    case DOC_TYPE_REST: ref.m_pAny = ref.m_pRest = CurrentOf<CRestViewDoc>(doc); break;
    case DOC_TYPE_FINAL: ref.m_pAny = ref.m_pFinal = CurrentOf<CFinalViewDoc>(doc); break;
    case DOC_TYPE_RHYTHM: ref.m_pAny = ref.m_pRhythm = CurrentOf<CRhythmViewDoc>(doc); break;
    case DOC_TYPE_RR: ref.m_pAny = ref.m_pRR = CurrentOf<CRRViewDoc>(doc); break;
    case DOC_TYPE_EXTRA: ref.m_pAny = ref.m_pExtra = CurrentOf<CExtraViewDoc>(doc); break;
    case DOC_TYPE_MFER: ref.m_pAny = ref.m_pMfer = CurrentOf<CMFERViewDoc>(doc); break;
    default: break;
    }
    return ref;
}

unsigned CWaveItemRef::GetSystemCode() const
{
    if (m_pRest) return m_pRest->uSystemCode;
    if (m_pFinal) return m_pFinal->uSystemCode;
    if (m_pRhythm) return m_pRhythm->uSystemCode;
    if (m_pRR) return m_pRR->uSystemCode;
    if (m_pExtra) return m_pExtra->uSystemCode;
    if (m_pMfer) return m_pMfer->uSystemCode;
    return 0;
}

CString CWaveItemRef::GetVersionText() const
{
    if (m_pRest) return m_pRest->strVersion;
    if (m_pFinal) return m_pFinal->strVersion;
    if (m_pRhythm) return m_pRhythm->strVersionText;
    if (m_pRR) return m_pRR->strVersion;
    if (m_pExtra) return m_pExtra->strVersion;
    if (m_pMfer) return m_pMfer->strVersion;
    return CString();
}

CString CWaveItemRef::GetLeadName(int lead) const
{
    if (m_pRest) return DisplayName(m_pRest, lead);
    if (m_pFinal) return DisplayName(m_pFinal, lead);
    if (m_pRhythm) return DisplayName(m_pRhythm, lead);
    if (m_pRR) return DisplayName(m_pRR, lead);
    if (m_pExtra) return DisplayName(m_pExtra, lead);
    if (m_pMfer) return DisplayName(m_pMfer, lead);
    return CString();
}

_ANNOTATION_INFO* CWaveItemRef::GetAnnoHead() const
{
    if (m_pRest) return m_pRest->pAnnoHead;
    if (m_pFinal) return m_pFinal->pAnnoHead;
    if (m_pRhythm) return m_pRhythm->pAnnoHead;
    if (m_pRR) return m_pRR->pAnnoHead;
    if (m_pExtra) return m_pExtra->pAnnoHead;
    if (m_pMfer) return m_pMfer->pAnnoHead;
    return nullptr;
}

CMFERParser* CWaveItemRef::GetReader() const
{
    return m_pMfer ? m_pMfer->pMFERParser : nullptr;
}

bool CWaveItemRef::IsStartTimeShown() const
{
    if (!m_pMfer) return true;
    const bool fullLead = m_pMfer->uSystemCode == MFER_KIND_12LEAD || m_pMfer->uSystemCode == MFER_KIND_15LEAD;
    return !fullLead || m_pMfer->bRhythmRecording != 0;
}

int CWaveItemRef::GetStartSeconds() const
{
    if (m_pRhythm) return m_pRhythm->byStartMinute * 60 + m_pRhythm->byStartSecond;
    if (m_pRR) return m_pRR->byStartTime[0] * 60 + m_pRR->byStartTime[1];
    if (m_pExtra) return m_pExtra->byStartMinute * 60 + m_pExtra->byStartSecond;
    if (m_pMfer) return m_pMfer->byStartMinute * 60 + m_pMfer->byStartSecond;
    return 0;
}

float CWaveItemRef::GetStoredAutoSense() const
{
    if (m_pRest) return m_pRest->fAcqSense;
    if (m_pMfer) return m_pMfer->fAcqSense;
    if (m_pExtra) return m_pExtra->fRecSense;
    if (m_pRhythm) return m_pRhythm->fRecordSense;
    return 10.0f;
}

bool CWaveItemRef::IsFifteenLead() const
{
    if (m_pRest) {
        const unsigned low = m_pRest->uSystemCode & 0xFF;
        return low == 11 || low == 226 || low == 227;
    }
    if (m_pMfer) return m_pMfer->uSystemCode == MFER_KIND_15LEAD;
    if (m_pRhythm) return m_pRhythm->nLeadCount == 15;
    return false;
}

bool CWaveItemRef::IsExtendedLead() const
{
    if (m_pRest) {
        const unsigned low = m_pRest->uSystemCode & 0xFF;
        return low != 0 && low != 254 && low != 255;
    }
    if (m_pRhythm) return m_pRhythm->nLeadCount != 12;
    if (m_pMfer) return m_pMfer->uSystemCode != MFER_KIND_12LEAD;
    return false;
}

int CWaveItemRef::GetHeartRate() const
{
    CString text;
    if (m_pRest) text = m_pRest->strHeartRate;
    if (m_pRhythm) text = m_pRhythm->stInterpre.strHeartRate;
    if (m_pRR) text = m_pRR->stGeneral.strHeartRate;
    if (m_pExtra) text = m_pExtra->stInterpre.strHeartRate;
    if (m_pMfer) text = m_pMfer->strHeartRate;
    return _wtoi(text);
}

bool CWaveItemRef::HasRecordXml() const
{
    if (m_pRest) return !m_pRest->strXMLPath.IsEmpty();
    if (m_pRhythm) return !m_pRhythm->strXMLPath.IsEmpty();
    if (m_pRR) return !m_pRR->strXMLPath.IsEmpty();
    if (m_pExtra) return !m_pExtra->strXMLPath.IsEmpty();
    if (m_pMfer) return !m_pMfer->strXMLPath.IsEmpty();
    return false;
}

int CWaveItemRef::GetExtraGridRows() const
{
    const int flag = m_pExtra ? m_pExtra->nGridFlag : (m_pMfer ? m_pMfer->nGridFlag : 0);
    return flag == 1 ? 120 : 150;
}
