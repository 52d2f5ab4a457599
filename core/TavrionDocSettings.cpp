// The base document's display settings in the record XML: the drawing
// settings (setting numbers 0 to 6 and 16) and the colours it restores.
#include "core/ECGXMLParser.h"
#include "core/ReferenceIds.h"
#include "core/TavrionDoc.h"
#include "platform/base/Kernel.h"

namespace {

const wchar_t kDensityPathFormat[] = REFERENCE_DRAW_SETTING_PATH L"/Brightness_density/Density_value[@mode='%d']";

// The colours the base restores, in reading order, with what a slot takes
// when its element or one of its attributes is missing.
struct BaseColor {
    int nSlot;
    COLORREF crDefault;
};
const BaseColor kBaseColors[] = {
    {2, RGB(255, 255, 255)},  {1, RGB(255, 90, 90)},   {0, RGB(0, 0, 0)},       {3, RGB(0, 0, 255)},
    {20, RGB(255, 255, 255)}, {21, RGB(220, 220, 220)}, {22, RGB(255, 255, 255)}, {23, RGB(0, 0, 250)},
    {24, RGB(200, 0, 0)},     {25, RGB(0, 0, 0)},       {26, RGB(220, 220, 220)}, {27, RGB(0, 0, 0)},
    {28, RGB(128, 128, 128)},
};

CString DrawPath(LPCWSTR element)
{
    return CString(REFERENCE_DRAW_SETTING_PATH L"/") + element;
}

CString DensityPath(int mode)
{
    CString path;
    path.Format(kDensityPathFormat, mode);
    return path;
}

CString ColorPath(int slot)
{
    return CString(REFERENCE_COLOR_SETTING_PATH L"/") + GetColorSlotElement(slot);
}

void WriteInt(CECGXMLParser& xml, LPCWSTR element, int value)
{
    CString text;
    text.Format(L"%d", value);
    xml.SetDataToXMLDOM(text, DrawPath(element), 4, CString());
}

void WriteReal(CECGXMLParser& xml, LPCWSTR element, float value)
{
    CString text;
    text.Format(L"%.2f", value);
    xml.SetDataToXMLDOM(text, DrawPath(element), 4, CString());
}

void WriteDensity(CECGXMLParser& xml, int mode, int value)
{
    CString text;
    text.Format(L"%d", value);
    // A record XML without the mode's element gets one carrying the mode.
    xml.SetDataToXMLDOM(text, DensityPath(mode), 4, CString());
}

int ReadInt(CECGXMLParser& xml, const CString& path, int defaultValue)
{
    CString text;
    return xml.GetDataFromXMLDOM(text, path, 4, CString()) ? _wtoi(text) : defaultValue;
}

float ReadReal(CECGXMLParser& xml, const CString& path, float defaultValue)
{
    CString text;
    return xml.GetDataFromXMLDOM(text, path, 4, CString()) ? static_cast<float>(_wtof(text)) : defaultValue;
}

}  // namespace

void CTavrionDoc::SetReferenceIntoXML(int id, int arg)
{
    m_bSettingSaveFailed = 0;
    const CString path = GetCurItemXMLPath();
    if (path.IsEmpty()) return;
    CECGXMLParser xml(path, Is8000File(path), CString());
    switch (static_cast<unsigned>(id)) {
    case REFERENCE_SMOOTH_FILTER_MODE: WriteInt(xml, L"Smooth_filter_mode", m_stDefaultRef.nSmoothFilterMode); break;
    case REFERENCE_SMOOTH_FILTER_TYPE: WriteInt(xml, L"Smooth_filter_type", m_stDefaultRef.nSmoothFilterType); break;
    case REFERENCE_DEL_BIT_NOISE: WriteInt(xml, L"Del_bit_noise", m_stDefaultRef.nDelBitNoise); break;
    case REFERENCE_BASE_LINE_WIDTH: WriteInt(xml, L"Base_line_width", m_stDefaultRef.nBaseLineWidth); break;
    case REFERENCE_GRID_TYPE: WriteInt(xml, L"Grid_type", m_stDefaultRef.nGridType); break;
    case REFERENCE_DENSITY:
        if (arg == 1 || arg == 2) WriteDensity(xml, arg, GetDensity(arg));
        break;
    case REFERENCE_COLOR:
        if (GetColorSlotElement(arg)) xml.SetColorAttrib(GetWaveColor(arg), ColorPath(arg));
        break;
    case REFERENCE_STRANDEL: {
        float xWidth;
        float yWidth;
        int power;
        float gamma;
        GetStrandelValue(xWidth, yWidth, power, gamma);
        WriteReal(xml, L"Xwidth_value", xWidth);
        WriteReal(xml, L"Ywidth_value", yWidth);
        WriteInt(xml, L"Power_value", power);
        WriteReal(xml, L"Gamma_value", gamma);
        break;
    }
    default: break;   // the examination documents' numbers
    }
    xml.SaveToXMLFile();
    m_bSettingSaveFailed = xml.m_bLastSaveFailed;
}

void CTavrionDoc::SaveSettingXML(CECGXMLParser& xml)
{
    xml.SaveToXMLFile();
    if (xml.m_bLastSaveFailed) m_bSettingSaveFailed = 1;
}

CString CTavrionDoc::GetCurItemXMLPath()
{
    _DATAITEM* item = GetCurDataItem();
    return item ? item->strXMLPath : CString();
}

void CTavrionDoc::UpDateReferenceInfo(const CString& strXMLPath)
{
    if (strXMLPath.IsEmpty()) return;
    CECGXMLParser xml(strXMLPath, Is8000File(strXMLPath), CString());
    _DEFAULT_REF& ref = m_stDefaultRef;
    ref.nSmoothFilterMode = ReadInt(xml, DrawPath(L"Smooth_filter_mode"), 1);
    ref.nSmoothFilterType = ReadInt(xml, DrawPath(L"Smooth_filter_type"), 1);
    ref.nDelBitNoise = ReadInt(xml, DrawPath(L"Del_bit_noise"), 1);
    ref.nBaseLineWidth = ReadInt(xml, DrawPath(L"Base_line_width"), 1);
    ref.nDensity1 = ReadInt(xml, DensityPath(1), 4);
    ref.nDensity2 = ReadInt(xml, DensityPath(2), 32);
    ref.fLineXWidth = ReadReal(xml, DrawPath(L"Xwidth_value"), 1.5f);
    ref.fLineYWidth = ReadReal(xml, DrawPath(L"Ywidth_value"), 1.5f);
    ref.nLinePower = ReadInt(xml, DrawPath(L"Power_value"), 3);
    ref.fLineGamma = ReadReal(xml, DrawPath(L"Gamma_value"), 1.0f);
    ref.nGridType = ReadInt(xml, DrawPath(L"Grid_type"), 0);

    for (const BaseColor& color : kBaseColors) {
        COLORREF value = color.crDefault;
        if (!xml.GetColorAttrib(value, ColorPath(color.nSlot))) value = color.crDefault;
        SetWaveColor(color.nSlot, value);
    }
}
