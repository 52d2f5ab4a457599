#include "forms/FormItemFacts.h"

#include "core/ECGXMLParser.h"
#include "core/TavrionDoc.h"
#include "documents/MFERViewDoc.h"

namespace {

const wchar_t kSecondPatientSection[] = L"/Rawdata/Tavrion/Inspection/Patient_section2";
const wchar_t kPressureUnit[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Bp/Bp_unit";
constexpr int kElementText = 4;

bool IsKpaUnit(const CString& unit)
{
    CString trimmed = unit;
    trimmed.Trim();
    return trimmed == L"1" || trimmed.Find(L"kPa") >= 0;
}

void ReadRecordFlags(const CString& xmlPath, FormItemFacts& facts)
{
    CECGXMLParser xml(xmlPath, facts.b8000, CString());
    facts.bSubID = xml.GetObjectCount(kSecondPatientSection) > 0 ? 1 : 0;
    CString unit;
    xml.GetDataFromXMLDOM(unit, kPressureUnit, kElementText, CString());
    facts.bNarrowBp = IsKpaUnit(unit) ? 1 : 0;
}

}  // namespace

FormItemFacts ReadFormItemFacts(CTavrionDoc& doc)
{
    FormItemFacts facts;
    const CString xmlPath = doc.GetCurItemXMLPath();
    facts.bHasItem = !xmlPath.IsEmpty();
    if (!facts.bHasItem) return facts;
    facts.b8000 = doc.Is8000File();
    facts.bConfirmed = doc.IsDoctorConfirm();
    if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, &doc)) {
        if (_MFERDATAITEM* item = mfer->GetCurrentDataItem()) facts.uSystemCode = item->uSystemCode;
    }
    ReadRecordFlags(xmlPath, facts);
    return facts;
}

bool IsRestingMferCode(unsigned int uSystemCode)
{
    return uSystemCode == 0x800C || uSystemCode == 0x800F;
}
