#include "host/LeadNameSource.h"

#include "core/TavrionDoc.h"

CLeadNameSource::CLeadNameSource(CTavrionDoc* pDoc)
{
    // Joined to the document without being in its view list: nothing the
    // document does reaches this view, and its end changes nothing there.
    m_pDocument = pDoc;
    if (pDoc) SetDocType(pDoc->GetDocType());
}

CLeadNameSource::~CLeadNameSource()
{
    m_pDocument = nullptr;
}

CString CLeadNameSource::GetName(int lead, const CString& fallback) const
{
    const CString name = LeadName(lead);
    return name.IsEmpty() ? fallback : name;
}
