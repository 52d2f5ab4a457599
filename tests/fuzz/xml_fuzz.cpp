// libFuzzer target for the XML layer: the input bytes are written to a file
// and opened the way the system opens a record XML, the layout stylesheet
// and an HL7 aECG header; then the system's reads, counts, typed reads,
// writes, removals, an append and a save run on it. A leading line is also
// tried as an XPath of its own, for the path checker.
//
// Checked beyond "no crash": a file that did not load is never changed by a
// save, and a file that loaded and was saved always loads again.
//
// Seed corpus: tests/fuzz/xml_seeds/.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "core/ECGXMLParser.h"
#include "platform/base/CodePage.h"
#include "platform/xml/XmlParser.h"

namespace {

void Check(bool condition)
{
    if (!condition) __builtin_trap();
}

std::string g_strFolder;

const wchar_t* const kReadPaths[] = {
    L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id",
    L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_name",
    L"/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[2]",
    L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']",
    L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']/@title",
    L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_content",
    L"/Rawdata/Annotation/Anno[2]",
    L"/Rawdata/Annotation/Anno[@id='1']",
    L"/xsl:stylesheet/xsl:Layout/xsl:template[@name='Patient_info']/Patient_id_edt/@left",
    L"/xsl:stylesheet/xsl:Layout/xsl:template[@name='Patient_info']/Patient_id_edt",
    L"/xsl:stylesheet/xsl:Layout/xsl:template[@name='Interpre_rest']/Interpre_ward_stc ",
    L"/xsl:stylesheet/xsl:Layout/xsl:template[@name='Patient_info']/Patient_id_edt/Xml_path[1]",
    L"/xsl:stylesheet/xsl:Visible_info/Tag[@id='2']",
    L"/Master/Code[@value=concat('it',\"'\",'s')]",
};

const wchar_t* const kHl7Paths[] = {
    L"/hl7:ECGObservation/hl7:performer/hl7:time/@value",
    L"/hl7:ECGObservation/hl7:recordTarget/hl7:patientRole/hl7:patientPatient/hl7:id/@extension",
    L"/hl7:ECGObservation/hl7:recordTarget/hl7:patientRole/hl7:patientPatient/hl7:name[@use='IDE']/hl7:family",
    L"/hl7:AnnotatedECG/hl7:id/@root",
};

const wchar_t* const kAttributes[] = {L"style", L"left", L"trip", L"total", L"suffix", L"xsi:type", L"visible"};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void Reads(CECGXMLParser& xml, const wchar_t* const* paths, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        CString value;
        xml.GetDataFromXMLDOM(value, paths[i], 4, L"");
        for (const wchar_t* attrib : kAttributes) xml.GetDataFromXMLDOM(value, paths[i], 2, attrib);
        Check(xml.GetObjectCount(paths[i]) >= 0);
        xml.FindNode(paths[i]);
    }
}

void TypedReads(CECGXMLParser& xml)
{
    _XML_ATTRIB_DATE date;
    xml.GetDateAttrib(date, L"/Rawdata/Tavrion/Inspection/Patient_section/Birthday", 1);
    xml.GetDateAttrib(date, L"/Rawdata/Tavrion/Inspection/Patient_section/Exam_date", 0);
    _XML_ATTRIB_AGE age;
    xml.GetAgeAttrib(age, L"/Rawdata/Tavrion/Inspection/Patient_section/Age");
    COLORREF color = 0;
    xml.GetColorAttrib(color, L"/Rawdata/Assist_info/Reference/Setting/Wave_color");
}

void Writes(CECGXMLParser& xml)
{
    xml.SetDataToXMLDOM(L"ID-<&>'\"", L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id", 4, L"");
    xml.SetDataToXMLDOM(L"山田", L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']/@title", 4, L"");
    xml.SetDataToXMLDOM(L"130", L"/xsl:stylesheet/xsl:Layout/xsl:template[@name='Patient_info']/Patient_id_edt", 2, L"left");
    xml.SetDataToXMLDOM(L"x", L"/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[3]", 4, L"");
    _XML_ATTRIB_DATE date;
    date.SetDate(COleDateTime(2004, 2, 29, 23, 59, 59));
    xml.SetDateAttrib(date, L"/Rawdata/Tavrion/Inspection/Patient_section/Exam_date");
    xml.SetColorAttrib(RGB(1, 2, 3), L"/Rawdata/Assist_info/Reference/Setting/Wave_color");

    const CString anno = L"/Rawdata/Annotation/Anno";
    for (int count = xml.GetObjectCount(anno); count > 0; --count) Check(xml.RemoveNode(anno) != 0);
    CXmlElmentNode node;
    CXmlAttribNode attrib;
    node.SetName(L"Anno");
    node.SetNamespace(L"");
    node.SetContent(L"text");
    attrib.SetName(L"id");
    attrib.SetContent(L"1");
    node.m_arrAttrib.Add(attrib);
    CString parent = L"/Rawdata/Annotation";
    xml.Add_LastChildNode(node, parent);
    node.Reset();
    xml.RemoveNode(L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']/@title");
}

// The first line of the input as an XPath of its own.
void PathOfTheInput(CECGXMLParser& xml, const uint8_t* data, size_t size)
{
    size_t length = 0;
    while (length < size && length < 256 && data[length] != '\n') ++length;
    CString xpath(platform::FromUtf8(std::string(reinterpret_cast<const char*>(data), length)));
    CString value;
    xml.GetDataFromXMLDOM(value, xpath, 4, L"");
    xml.GetObjectCount(xpath);
    xml.SetDataToXMLDOM(L"v", xpath, 4, L"");
    xml.SetDataToXMLDOM(L"v", xpath, 2, L"a");
    xml.RemoveNode(xpath);
}

void RemoveFolder()
{
    unlink((g_strFolder + "/record.xml").c_str());
    rmdir(g_strFolder.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char pattern[] = "/tmp/xml_fuzz.XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    g_strFolder = pattern;
    std::atexit(RemoveFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = g_strFolder + "/record.xml";
    WriteFile(path, data, size);
    const CString widePath(platform::FromUtf8(path));
    bool loaded = false;
    {
        CECGXMLParser xml(widePath, static_cast<int>(size & 1), L"");
        loaded = xml.m_pXMLParser->IsLoaded() != FALSE;
        Reads(xml, kReadPaths, sizeof kReadPaths / sizeof kReadPaths[0]);
        TypedReads(xml);
        Writes(xml);
        PathOfTheInput(xml, data, size);
        xml.SaveToXMLFile();
    }
    if (!loaded && size > 0) {
        // An unreadable file is never replaced.
        Check(ReadFile(path) == std::string(reinterpret_cast<const char*>(data), size));
    } else if (loaded) {
        // Saved or refused, what is on disk still loads.
        XML_PARSER again;
        Check(again.InitXML(widePath, 0) != 0);
    }
    {
        CECGXMLParser hl7(widePath, 0, L"hl7");
        Reads(hl7, kHl7Paths, sizeof kHl7Paths / sizeof kHl7Paths[0]);
    }
    unlink(path.c_str());
    return 0;
}
