// The annotation section of a record XML: one "Anno" element per annotation,
// its wave information and its areas of drawn shapes.
#include "core/AnnoManager.h"
#include "core/AnnotationInfo.h"
#include "core/ECGXMLParser.h"
#include "platform/base/DateTime.h"
#include "platform/base/Kernel.h"

namespace {

const wchar_t kWaveInfo[] = L"Wave_info";
const wchar_t kSensitivity[] = L"Sensitivity";
const wchar_t kArea[] = L"Area";
const wchar_t kLabel[] = L"Label";
const wchar_t kPoint[] = L"Point";
const wchar_t kPageStyle[] = L"Page_style";
const wchar_t kEditTimeFormat[] = L"%04d/%02d/%02d %02d:%02d:%02d";

// Text shapes carry a text and a text size.
bool IsTextShape(int type)
{
    return type == 10 || type == 11;
}

CString IntText(int value)
{
    CString text;
    text.Format(L"%d", value);
    return text;
}

CString RealText(float value)
{
    CString text;
    text.Format(L"%.2f", value);
    return text;
}

CString ChildPath(const CString& parent, LPCWSTR child)
{
    CString path;
    path.Format(L"%s/%s", static_cast<LPCWSTR>(parent), child);
    return path;
}

CString NthPath(const CString& path, int n)
{
    CString nth;
    nth.Format(L"%s[%d]", static_cast<LPCWSTR>(path), n);
    return nth;
}

void AddAttrib(CXmlElmentNode& node, LPCWSTR name, const CString& content)
{
    CXmlAttribNode attrib;
    attrib.SetName(name);
    attrib.SetContent(content);
    node.m_arrAttrib.Add(attrib);
}

// One element appended as the last child of parent, built the way the
// library wants its nodes: a name, no namespace, a text and attributes.
class CElementWriter {
public:
    explicit CElementWriter(CECGXMLParser& xml) : m_xml(xml) {}

    int Append(const CString& parent, LPCWSTR name, const CString& text = CString())
    {
        m_node.SetName(name);
        m_node.SetNamespace(CString());
        m_node.SetContent(text);
        CString parentPath = parent;
        int result = m_xml.Add_LastChildNode(m_node, parentPath);
        m_node.Reset();
        m_node.m_arrAttrib.RemoveAll();
        return result;
    }

    // Attributes of the next appended element, in writing order.
    void Attrib(LPCWSTR name, const CString& content) { AddAttrib(m_node, name, content); }

private:
    CECGXMLParser& m_xml;
    CXmlElmentNode m_node;
};

// The edit time as the six date attributes; all empty when it is not a date.
void WriteEditTime(CElementWriter& writer, const CString& wavePath, const CString& editTime)
{
    COleDateTime date;
    const bool read = !editTime.IsEmpty() && date.ParseDateTime(editTime) && date.GetStatus() == COleDateTime::valid;
    _XML_ATTRIB_DATE attrib;
    if (read) attrib.SetDate(date);
    writer.Attrib(L"style", L"Date");
    writer.Attrib(L"year", attrib.strYear);
    writer.Attrib(L"month", attrib.strMonth);
    writer.Attrib(L"day", attrib.strDay);
    writer.Attrib(L"hour", attrib.strHour);
    writer.Attrib(L"minute", attrib.strMinute);
    writer.Attrib(L"second", attrib.strSecond);
    writer.Append(wavePath, L"Edit_time");
}

void WriteSensitivity(CElementWriter& writer, const CString& wavePath, const _ANNOTATION_INFO& info)
{
    const float senses[] = {info.fLimbSense, info.fChestSense, info.fElseSense, info.fRhythmSense};
    const LPCWSTR names[] = {L"Limb", L"Chest", L"Else", L"Rhythm"};
    const bool serial = info.fSerialSense > -1.0f || info.nChestHalf >= 0;
    bool anySense = serial;
    for (float sense : senses) anySense = anySense || sense > -1.0f;
    // The sensitivities hang below "Sensitivity": it is written also without
    // a mode, or they would have no parent and be lost.
    if (info.nSenseMode < 0 && !anySense) return;
    if (info.nSenseMode >= 0) writer.Attrib(L"mode", IntText(info.nSenseMode));
    writer.Append(wavePath, kSensitivity);

    const CString sensePath = ChildPath(wavePath, kSensitivity);
    for (int i = 0; i < 4; ++i) {
        if (senses[i] > -1.0f) writer.Append(sensePath, names[i], RealText(senses[i]));
    }
    if (!serial) return;
    if (info.nChestHalf >= 0) writer.Attrib(L"chest_half", IntText(info.nChestHalf));
    writer.Append(sensePath, L"Serial", info.fSerialSense > -1.0f ? RealText(info.fSerialSense) : CString());
}

void WriteWaveInfo(CElementWriter& writer, const CString& path, const _ANNOTATION_INFO& info)
{
    writer.Append(path, kWaveInfo);
    const CString wavePath = ChildPath(path, kWaveInfo);
    if (info.nStartTime >= 0) writer.Append(wavePath, L"Start_time", IntText(info.nStartTime));
    if (info.sLeadSelection >= 0) writer.Append(wavePath, L"Lead_selection", IntText(info.sLeadSelection));
    if (info.sLead1ch >= 0) writer.Append(wavePath, L"Lead_1ch", IntText(info.sLead1ch));
    if (info.nFilter >= 0) writer.Append(wavePath, L"Filter", IntText(info.nFilter));
    if (info.fSpeed > -1.0f) writer.Append(wavePath, L"Speed", RealText(info.fSpeed));
    if (info.nDisplayMode >= 0) writer.Append(wavePath, L"Display_mode", IntText(info.nDisplayMode));
    WriteSensitivity(writer, wavePath, info);
    if (info.nSerialOverlap >= 0) writer.Append(wavePath, L"Serial_overlap", IntText(info.nSerialOverlap));
    WriteEditTime(writer, wavePath, info.strEditTime);
    writer.Append(wavePath, L"Editor_name", info.strEditorName);
}

void WriteShape(CElementWriter& writer, const CString& labelPath, const _SKETCH_INFO& shape)
{
    writer.Append(labelPath, L"Type", IntText(shape.nType));
    if (IsTextShape(shape.nType)) {
        writer.Append(labelPath, L"Text_size", IntText(shape.lfFont.lfHeight));
        writer.Append(labelPath, L"Text", shape.strText);
    }
    writer.Append(labelPath, L"Line_width", IntText(shape.nLineWidth));
    writer.Attrib(L"style", L"color");
    writer.Attrib(L"r", IntText(GetRValue(shape.crColor)));
    writer.Attrib(L"g", IntText(GetGValue(shape.crColor)));
    writer.Attrib(L"b", IntText(GetBValue(shape.crColor)));
    writer.Append(labelPath, L"Color");
    writer.Append(labelPath, kPoint);

    CString elementName;
    elementName.Format(L"%s_element", kPoint);
    const CString pointPath = ChildPath(labelPath, kPoint);
    const INT_PTR points = shape.arrX.GetSize() < shape.arrY.GetSize() ? shape.arrX.GetSize() : shape.arrY.GetSize();
    for (INT_PTR j = 0; j < points; ++j) {
        writer.Attrib(L"x", RealText(shape.arrX[j]));
        writer.Attrib(L"y", RealText(shape.arrY[j]));
        writer.Append(pointPath, elementName);
    }
}

void WriteArea(CElementWriter& writer, const CString& path, int number, const _ANNOTATION_SKETCH& area)
{
    writer.Attrib(kPageStyle, IntText(area.nPageStyle));
    writer.Append(path, kArea);
    const CString areaPath = NthPath(ChildPath(path, kArea), number);
    int k = 1;
    for (const _SKETCH_INFO* shape = area.pSketchHead; shape; shape = shape->pNext, ++k) {
        writer.Append(areaPath, kLabel);
        WriteShape(writer, NthPath(ChildPath(areaPath, kLabel), k), *shape);
    }
}

// Reads of one "Anno" element; a value that is not there reads as not set.
class CAnnoReader {
public:
    explicit CAnnoReader(CECGXMLParser& xml) : m_xml(xml) {}

    bool Text(const CString& path, CString& value) { return m_xml.GetDataFromXMLDOM(value, path, 4, CString()) != 0; }
    bool Attrib(const CString& path, LPCWSTR name, CString& value)
    {
        return m_xml.GetDataFromXMLDOM(value, path, 2, name) != 0;
    }
    // An element written empty carries no number (the serial sensitivity is
    // written so when only its chest-half flag is set): it reads as not set,
    // not as 0, so that the next save writes it empty again.
    int Int(const CString& path)
    {
        CString value;
        return Text(path, value) && HasNumber(value) ? _wtoi(value) : -1;
    }
    float Real(const CString& path)
    {
        CString value;
        return Text(path, value) && HasNumber(value) ? static_cast<float>(_wtof(value)) : -1.0f;
    }
    int IntAttrib(const CString& path, LPCWSTR name)
    {
        CString value;
        return Attrib(path, name, value) && HasNumber(value) ? _wtoi(value) : -1;
    }
    CString String(const CString& path)
    {
        CString value;
        if (!Text(path, value)) value.Empty();
        return value;
    }

    void WaveInfo(const CString& path, _ANNOTATION_INFO& info);
    void Area(const CString& path, _ANNOTATION_SKETCH& area);

private:
    static bool HasNumber(CString text)
    {
        text.Trim();
        return !text.IsEmpty();
    }
    CString EditTime(const CString& path);
    void Shape(const CString& labelPath, _SKETCH_INFO& shape);

    CECGXMLParser& m_xml;
};

void CAnnoReader::WaveInfo(const CString& path, _ANNOTATION_INFO& info)
{
    const CString wavePath = ChildPath(path, kWaveInfo);
    const CString sensePath = ChildPath(wavePath, kSensitivity);
    info.nStartTime = Int(ChildPath(wavePath, L"Start_time"));
    info.sLeadSelection = static_cast<short>(Int(ChildPath(wavePath, L"Lead_selection")));
    info.sLead1ch = static_cast<short>(Int(ChildPath(wavePath, L"Lead_1ch")));
    info.nFilter = Int(ChildPath(wavePath, L"Filter"));
    info.fSpeed = Real(ChildPath(wavePath, L"Speed"));
    info.nDisplayMode = Int(ChildPath(wavePath, L"Display_mode"));
    info.nSenseMode = IntAttrib(sensePath, L"mode");
    info.fLimbSense = Real(ChildPath(sensePath, L"Limb"));
    info.fChestSense = Real(ChildPath(sensePath, L"Chest"));
    info.fElseSense = Real(ChildPath(sensePath, L"Else"));
    info.fRhythmSense = Real(ChildPath(sensePath, L"Rhythm"));
    info.fSerialSense = Real(ChildPath(sensePath, L"Serial"));
    info.nChestHalf = IntAttrib(ChildPath(sensePath, L"Serial"), L"chest_half");
    info.nSerialOverlap = Int(ChildPath(wavePath, L"Serial_overlap"));
    info.strEditTime = EditTime(ChildPath(wavePath, L"Edit_time"));
    info.strEditorName = String(ChildPath(wavePath, L"Editor_name"));
}

CString CAnnoReader::EditTime(const CString& path)
{
    _XML_ATTRIB_DATE date;
    CString text;
    if (!m_xml.GetDateAttrib(date, path, 1)) return text;
    text.Format(kEditTimeFormat, _wtoi(date.strYear), _wtoi(date.strMonth), _wtoi(date.strDay), _wtoi(date.strHour),
                _wtoi(date.strMinute), _wtoi(date.strSecond));
    return text;
}

void CAnnoReader::Area(const CString& areaPath, _ANNOTATION_SKETCH& area)
{
    area.nPageStyle = IntAttrib(areaPath, kPageStyle);
    const CString labels = ChildPath(areaPath, kLabel);
    const int count = m_xml.GetObjectCount(labels);
    CAnnoManager manager;
    for (int k = 1; k <= count; ++k) {
        _SKETCH_INFO* shape = manager.AddSkecthItem(&area);
        if (!shape) return;
        Shape(NthPath(labels, k), *shape);
    }
}

void CAnnoReader::Shape(const CString& labelPath, _SKETCH_INFO& shape)
{
    CString value;
    m_xml.GetColorAttrib(shape.crColor, ChildPath(labelPath, L"Color"));
    if (Text(ChildPath(labelPath, L"Type"), value)) shape.nType = _wtoi(value);
    if (IsTextShape(shape.nType)) {
        if (Text(ChildPath(labelPath, L"Text"), value)) shape.strText = value;
        if (Text(ChildPath(labelPath, L"Text_size"), value)) shape.lfFont.lfHeight = _wtoi(value);
    }
    if (Text(ChildPath(labelPath, L"Line_width"), value)) shape.nLineWidth = _wtoi(value);

    CString elementName;
    elementName.Format(L"%s_element", kPoint);
    const CString points = ChildPath(ChildPath(labelPath, kPoint), elementName);
    const int count = m_xml.GetObjectCount(points);
    for (int j = 1; j <= count; ++j) {
        const CString pointPath = NthPath(points, j);
        CString x;
        CString y;
        // A point that lacks a coordinate is dropped whole, so that the two
        // arrays stay equally long for whoever walks them together.
        if (!Attrib(pointPath, L"x", x) || !Attrib(pointPath, L"y", y)) continue;
        shape.arrX.Add(static_cast<float>(_wtof(x)));
        shape.arrY.Add(static_cast<float>(_wtof(y)));
    }
}

}  // namespace

int CECGXMLParser::GetAnnotation(_ANNOTATION_INFO* info, const CString& path)
{
    if (!info || !m_pXMLParser) return 0;
    CAnnoReader reader(*this);
    info->nPageStyle = reader.IntAttrib(path, kPageStyle);
    reader.WaveInfo(path, *info);

    const CString areas = ChildPath(path, kArea);
    const int count = GetObjectCount(areas);
    for (int n = 1; n <= count; ++n) {
        _ANNOTATION_SKETCH* area = info->AddArea();
        if (!area) break;
        reader.Area(NthPath(areas, n), *area);
    }
    return 1;
}

// The wave information, editor and edit time describe the shapes under which
// they were drawn: an annotation without areas has none, and its element
// keeps only its page style.
int CECGXMLParser::SaveAnnotation(_ANNOTATION_INFO* info, const CString& path)
{
    if (!info || !m_pXMLParser || info->GetAreaCount() <= 0) return 0;
    CElementWriter writer(*this);
    WriteWaveInfo(writer, path, *info);
    for (int i = 0; i < info->GetAreaCount(); ++i) WriteArea(writer, path, i + 1, *info->GetArea(i));
    return 1;
}
