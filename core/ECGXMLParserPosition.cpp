// One control's entry of a layout table, read from the layout stylesheet.
// These reads go straight to the XML document: the limits of the record
// format have nothing to say about a stylesheet.
#include "core/ECGXMLParser.h"
#include "core/PositionCtrl.h"
#include "platform/base/Kernel.h"
#include "platform/ui/windowing/Desktop.h"

namespace {

const int kAttribute = 2;
const int kText = 4;

// The attribute as a leading decimal integer; -1 when the element lacks it.
int ReadNumber(XML_PARSER& xml, const CString& xpath, const wchar_t* name)
{
    CString value;
    if (!xml.GetDataFromXMLDOM(value, xpath, kAttribute, name)) return -1;
    return _wtoi(value);
}

// A portrait screen narrows the forms: x values shrink to 95 %. A negative
// value stands for "no value" and stays as it is, or -1 would become 0 and
// move the control to the form's edge.
int Narrow(int value)
{
    if (value < 0) return value;
    return static_cast<int>(static_cast<long long>(value) * 95 / 100);
}

bool IsPortraitScreen()
{
    return GetSystemMetrics(SM_CYSCREEN) > GetSystemMetrics(SM_CXSCREEN);
}

void ReadGeometry(XML_PARSER& xml, _POSITION_CTRL& entry, const CString& xpath)
{
    entry.nLeft = ReadNumber(xml, xpath, L"left");
    entry.nTop = ReadNumber(xml, xpath, L"top");
    entry.nWidth = ReadNumber(xml, xpath, L"width");
    entry.nHeight = ReadNumber(xml, xpath, L"height");
    entry.nTextHeight = ReadNumber(xml, xpath, L"textheight");
    if (IsPortraitScreen()) {
        entry.nLeft = Narrow(entry.nLeft);
        entry.nWidth = Narrow(entry.nWidth);
    }
}

// Appends the texts of the control's Xml_path children in document order;
// the entry keeps what it held, as a full load happens once per table.
void ReadBoundPaths(XML_PARSER& xml, _POSITION_CTRL& entry, const CString& xpath)
{
    const CString children = xpath + L"/Xml_path";
    const long count = xml.GetNodeCount(children, 1, 0);
    for (long n = 1; n <= count; ++n) {
        CString child;
        child.Format(L"%s[%ld]", static_cast<LPCWSTR>(children), n);
        CString path;
        if (xml.GetDataFromXMLDOM(path, child, kText, CString())) entry.arrXmlPath.Add(path);
    }
}

int ReadEnable(XML_PARSER& xml, const CString& xpath)
{
    CString value;
    if (!xml.GetDataFromXMLDOM(value, xpath, kAttribute, L"enable")) return 1;
    return value.CompareNoCase(L"false") == 0 ? 0 : 1;
}

// A control names a visibility tag; the tag's print_visible or
// display_visible says "false" to hide every control that names it.
int ReadVisible(XML_PARSER& xml, const CString& xpath, int bPrint)
{
    CString tag;
    if (!xml.GetDataFromXMLDOM(tag, xpath, kAttribute, L"visible") || tag.IsEmpty()) return 1;
    CString tagPath;
    tagPath.Format(L"/xsl:stylesheet/xsl:Visible_info/Tag[@id='%d']", _wtoi(tag));
    CString value;
    if (!xml.GetDataFromXMLDOM(value, tagPath, kAttribute, bPrint ? L"print_visible" : L"display_visible")) return 1;
    return value.CompareNoCase(L"false") == 0 ? 0 : 1;
}

}  // namespace

int CECGXMLParser::GetDataPosition(_POSITION_CTRL& entry, const CString& xpath, int bPrint, int bVisibleOnly)
{
    if (!m_pXMLParser) return 0;
    XML_PARSER& xml = *m_pXMLParser;
    // Everything of the control's own element first: the document finds an
    // element once for consecutive reads of the same path.
    if (!bVisibleOnly) {
        ReadGeometry(xml, entry, xpath);
        if (!xml.GetDataFromXMLDOM(entry.strCaption, xpath, kText, CString())) entry.strCaption.Empty();
        entry.bEnable = ReadEnable(xml, xpath);
    }
    entry.bVisible = ReadVisible(xml, xpath, bPrint);
    if (!bVisibleOnly) ReadBoundPaths(xml, entry, xpath);
    return 1;
}
