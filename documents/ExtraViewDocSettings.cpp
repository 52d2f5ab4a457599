// The extra-lead document's display settings in the record XML: page style,
// filter, speed, sensitivities and their mode, and the colours of the leads
// not chosen.
#include "core/ECGXMLParser.h"
#include "core/ReferenceIds.h"
#include "documents/ExtraViewDoc.h"
#include "documents/RecordXmlText.h"

#include <cstdlib>

namespace {

// An empty or garbled value must not read as 0, which means "the record's own".
float ReadSense(CECGXMLParser& xml, LPCWSTR element)
{
    double value = 0.0;
    return ReadSettingReal(xml, element, value) ? DisplaySense(value, 10.0f) : 10.0f;
}

}  // namespace

void CExtraViewDoc::SetReferenceIntoXML(int id, int arg)
{
    CTavrionDoc::SetReferenceIntoXML(id, arg);
    _EXTRADATAITEM* item = GetCurrentDataItem();
    if (!item || item->strXMLPath.IsEmpty()) return;
    CECGXMLParser xml(item->strXMLPath, 0, CString());
    switch (id) {
    case REFERENCE_PAGE_STYLE:
        WriteSetting(xml, L"Page_style", IntText(GetPageStyle()));
        break;
    case REFERENCE_FILTER:
        WriteSetting(xml, L"Filter", IntText(m_stDefaultRef.RefInt(REF_EXTRA_FILTER)));
        break;
    case REFERENCE_SPEED:
        WriteSetting(xml, L"Speed", RealText(L"%.1f", m_stDefaultRef.RefFloat(REF_EXTRA_SPEED)));
        break;
    case REFERENCE_SENSITIVITY:
        if (arg == SENSE_RHYTHM) {
            WriteSetting(xml, L"Sensitivity/Rhythm",
                         RealText(L"%.2f", m_stDefaultRef.RefFloat(REF_EXTRA_SENSE_RHYTHM)));
        } else if (arg == SENSE_EXTRA1 || arg == SENSE_EXTRA2) {
            WriteSetting(xml, arg == SENSE_EXTRA1 ? L"Sensitivity/Extra1" : L"Sensitivity/Extra2",
                         RealText(L"%.2f", GetSense(static_cast<UINT>(arg), 0)));
        }
        break;
    case REFERENCE_SENSE_MODE:
        WriteSetting(xml, L"Sensitivity", IntText(static_cast<int>(GetSenseMode())), L"mode");
        break;
    default: return;   // closed unsaved
    }
    SaveSettingXML(xml);
}

CString CExtraViewDoc::GetCurItemXMLPath()
{
    _EXTRADATAITEM* item = GetCurrentDataItem();
    return item ? item->strXMLPath : CString();
}

void CExtraViewDoc::UpDateReferenceInfo(const CString& /*strXMLPath*/)
{
    _EXTRADATAITEM* item = GetCurrentDataItem();
    if (!item || item->strXMLPath.IsEmpty()) return;
    CTavrionDoc::UpDateReferenceInfo(item->strXMLPath);
    CECGXMLParser xml(item->strXMLPath, 0, CString());
    _DEFAULT_REF& ref = m_stDefaultRef;
    const _EXTRAINFO& info = item->stExtraInfo;

    const int field = PageStyleField(item);
    int style = info.nPageStyle;
    int stored = 0;
    if (field && ReadSettingNumber(xml, L"Page_style", stored) && IsPageStyleAccepted(item, stored)) style = stored;
    m_nPageStyle = style;
    if (field) ref.RefInt(field) = style;

    double value = 0.0;
    int filter = 100;
    if (ReadSettingReal(xml, L"Filter", value) && IsDisplayFilter(value)) filter = static_cast<int>(value);
    ref.RefInt(REF_EXTRA_FILTER) = filter;

    float speed = 25.0f;
    if (ReadSettingReal(xml, L"Speed", value)) {
        for (float accepted : {5.0f, 10.0f, 12.5f, 25.0f, 50.0f, 0.0f}) {
            if (static_cast<float>(value) == accepted) speed = accepted;
        }
    }
    ref.RefFloat(REF_EXTRA_SPEED) = speed;

    int mode = 1;
    if (ReadSettingNumber(xml, L"Sensitivity", stored, L"mode") && stored >= 1 && stored <= 5)
        mode = stored;
    m_uSenseMode = static_cast<UINT>(mode);
    ref.RefInt(REF_EXTRA_SENSE_MODE) = mode;

    const bool bOneSet = info.nLeadCount == 3 && info.nExtraSet == 3;
    const bool bSixLeads = (item->nLeadType == 6 || item->nLeadType == 7) && !item->IsFreeze();
    const bool bStrip = (item->nLeadType == 4 || item->nLeadType == 7) && !item->IsFreeze();
    if (!bOneSet) {
        ref.RefFloat(REF_EXTRA_SENSE_1) = ReadSense(xml, L"Sensitivity/Extra1");
        m_fSense[0][SENSE_EXTRA1] = ref.RefFloat(REF_EXTRA_SENSE_1);
    }
    if (bSixLeads || bOneSet) {
        ref.RefFloat(REF_EXTRA_SENSE_2) = ReadSense(xml, L"Sensitivity/Extra2");
        m_fSense[0][SENSE_EXTRA2] = ref.RefFloat(REF_EXTRA_SENSE_2);
    }
    if (bStrip) ref.RefFloat(REF_EXTRA_SENSE_RHYTHM) = ReadSense(xml, L"Sensitivity/Rhythm");

    ReadNonChoiceColors(*this, xml);
}
