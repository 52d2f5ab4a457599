#include "documents/RestXmlText.h"

#include <cwchar>

#include "core/ECGXMLParser.h"
#include "core/LayoutNames.h"

const RestGlobalBinding kRestGlobals[10] = {
    {L"Interpre_hr_stc", 0, L"***"},       {L"Interpre_pr_int_stc", 0, L"****"}, {L"Interpre_qrs_int_stc", 0, L"****"},
    {L"Interpre_qt_stc", 0, L"****"},      {L"Interpre_qt_stc", 1, L"****"},     {L"Interpre_pqrst_stc", 0, L"***"},
    {L"Interpre_pqrst_stc", 1, L"***"},    {L"Interpre_pqrst_stc", 2, L"***"},   {L"Interpre_rv5_sv1_stc", 0, L"*.***"},
    {L"Interpre_rv5_sv1_stc", 1, L"*.***"},
};

const RestNamedCaption kRestMeasureCaptions[7] = {
    {3168, L"Interpre_hr_title_stc", L"心拍数(bpm)"},
    {3170, L"Interpre_pr_int_title_stc", L"PR Int(ms)"},
    {3172, L"Interpre_qrs_int_title_stc", L"QRS Int(ms)"},
    {3174, L"Interpre_qt_title_stc", L"QT/QTc Int(ms)"},
    {3176, L"Interpre_pqrst_title_stc", L"P/QRS/T Axis(deg.)"},
    {3178, L"Interpre_rv5_sv1_title_stc", L"RV5/SV1 Value(mV)"},
    {3180, L"Interpre_rv5_sv1_plus_title_stc", L"RV5+SV1 Value(mV)"},
};

CString RestRowControl(LPCWSTR format, int row)
{
    CString name;
    name.Format(format, row);
    return name;
}

CString MeasureElementPath(const CString& key, int lead)
{
    CString node, element, path;
    node.Format(L"/Rawdata/Tavrion/Measurement/Measurement_section/Mm/%s", key.GetString());
    element.Format(L"%s_element", key.GetString());
    path.Format(L"%s/%s[%d]", node.GetString(), element.GetString(), lead + 1);
    return path;
}

CString ReadMeasureElement(CECGXMLParser& xml, const CString& key, int lead)
{
    CString value;
    return xml.GetDataFromXMLDOM(value, MeasureElementPath(key, lead), 2, L"data") ? value : CString(L"****");
}

CString ReadRestGlobal(CECGXMLParser& xml, const CString& path, const RestGlobalBinding& binding)
{
    CString value;
    return !path.IsEmpty() && xml.GetDataFromXMLDOM(value, path, 4, CString()) ? value : CString(binding.pszDefault);
}

bool IsRestFifteenLead(unsigned systemCode)
{
    const unsigned low = systemCode & 0xFF;
    return low == 11 || low == 226 || low == 227;
}

int RestControlIndex(LPCWSTR control)
{
    const _LAYOUT_TABLE_NAMES* names = GetLayoutTableNames(LayoutTable::Rest);
    if (!names || !control) return -1;
    for (int i = 0; i < names->nCount; ++i) {
        if (std::wcscmp(names->ppszNames[i], control) == 0) return i;
    }
    return -1;
}
