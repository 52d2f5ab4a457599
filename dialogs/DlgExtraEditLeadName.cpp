#include "dialogs/DlgExtraEditLeadName.h"

#include "documents/ExtraViewDoc.h"

IMPLEMENT_DYNAMIC(CDlgExtraEditLeadName, CDlgEditLeadName)

namespace {
const CDlgEditLeadName::Design kDesign = {3826, 3835, 7, L"Lead C%d", 12, false, CDlgEditLeadName::Written::Changed};
}  // namespace

CDlgExtraEditLeadName::CDlgExtraEditLeadName(int nIDTemplate, CWnd* pParent)
    : CDlgEditLeadName(static_cast<UINT>(nIDTemplate), pParent, kDesign, DOC_TYPE_EXTRA)
{
}

CDlgExtraEditLeadName::~CDlgExtraEditLeadName() = default;

bool CDlgExtraEditLeadName::FindTarget(Target& target)
{
    if (m_nDocType != DOC_TYPE_EXTRA) return false;
    auto* doc = dynamic_cast<CExtraViewDoc*>(m_pDoc);
    _EXTRADATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!item) return false;
    const int count = item->stLeadName.nCount;
    target.nLeads = count < 0 ? 0 : (count > 7 ? 7 : count);
    target.TakeItem(*item);
    return true;
}
