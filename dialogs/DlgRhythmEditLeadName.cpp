#include "dialogs/DlgRhythmEditLeadName.h"

#include "documents/RhythmViewDoc.h"

IMPLEMENT_DYNAMIC(CDlgRhythmEditLeadName, CDlgEditLeadName)

namespace {
const CDlgEditLeadName::Design kDesign = {3826, 3835, 9, L"Lead C%d", 12, false, CDlgEditLeadName::Written::Changed};
}  // namespace

CDlgRhythmEditLeadName::CDlgRhythmEditLeadName(int nIDTemplate, CWnd* pParent)
    : CDlgEditLeadName(static_cast<UINT>(nIDTemplate), pParent, kDesign, DOC_TYPE_RHYTHM)
{
}

CDlgRhythmEditLeadName::~CDlgRhythmEditLeadName() = default;

bool CDlgRhythmEditLeadName::FindTarget(Target& target)
{
    if (m_nDocType != DOC_TYPE_RHYTHM) return false;
    auto* doc = dynamic_cast<CRhythmViewDoc*>(m_pDoc);
    _RHYTHMDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!item) return false;
    const int count = item->nLeadCount > 0 ? item->nLeadCount : item->stLeadName.nCount;
    // A full-lead record's first six leads are the limb leads: only its
    // chest leads carry names of their own.
    const bool fullLead = count == 12 || count == 15;
    target.nLeads = fullLead ? count - 6 : (count < 0 ? 0 : (count > 9 ? 9 : count));
    target.nDispOffset = fullLead ? 6 : 0;
    target.TakeItem(*item);
    return true;
}
