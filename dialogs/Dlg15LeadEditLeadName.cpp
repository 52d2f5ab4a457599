#include "dialogs/Dlg15LeadEditLeadName.h"

#include "documents/RestViewDoc.h"

IMPLEMENT_DYNAMIC(CDlg15LeadEditLeadName, CDlgEditLeadName)

namespace {
const CDlgEditLeadName::Design kDesign = {3803, 3800, 3, L"EXT%d", 12, false, CDlgEditLeadName::Written::All};
}  // namespace

CDlg15LeadEditLeadName::CDlg15LeadEditLeadName(int nIDTemplate, CWnd* pParent)
    : CDlgEditLeadName(static_cast<UINT>(nIDTemplate), pParent, kDesign, DOC_TYPE_REST)
{
}

CDlg15LeadEditLeadName::~CDlg15LeadEditLeadName() = default;

bool CDlg15LeadEditLeadName::FindTarget(Target& target)
{
    if (m_nDocType != DOC_TYPE_REST) return false;
    auto* doc = dynamic_cast<CRestViewDoc*>(m_pDoc);
    _RESTDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!item) return false;
    const unsigned kind = item->uSystemCode & 0xFF;
    if (kind != 11 && kind != 226 && kind != 227) return false;
    target.nLeads = 3;
    target.nDispOffset = 12;
    target.TakeItem(*item);
    return true;
}
