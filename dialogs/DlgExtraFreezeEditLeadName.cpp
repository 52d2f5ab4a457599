#include "dialogs/DlgExtraFreezeEditLeadName.h"

#include "documents/ExtraViewDoc.h"

IMPLEMENT_DYNAMIC(CDlgExtraFreezeEditLeadName, CDlgEditLeadName)

namespace {
const CDlgEditLeadName::Design kDesign = {4080, 4086, 6, L"EXT%d", 13, true, CDlgEditLeadName::Written::FreezeAll};
}  // namespace

CDlgExtraFreezeEditLeadName::CDlgExtraFreezeEditLeadName(CWnd* pParent) : CDlgEditLeadName(155, pParent, kDesign, DOC_TYPE_EXTRA)
{
}

CDlgExtraFreezeEditLeadName::~CDlgExtraFreezeEditLeadName() = default;

bool CDlgExtraFreezeEditLeadName::FindTarget(Target& target)
{
    if (m_nDocType != DOC_TYPE_EXTRA) return false;
    auto* doc = dynamic_cast<CExtraViewDoc*>(m_pDoc);
    _EXTRADATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!item) return false;
    // The item holds six free leads; further leads are never written.
    target.nLeads = LEAD_NAME_FREEZE;
    target.TakeItem(*item);
    return true;
}
