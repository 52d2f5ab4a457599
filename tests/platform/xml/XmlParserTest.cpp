// XML_PARSER on real files: the XPath forms the system writes, writes that
// build the missing elements, counts, removals and appended nodes.
#include <gtest/gtest.h>

#include <string>

#include "platform/xml/XmlParser.h"
#include "tests/support/TestSupport.h"

using testsupport::Wide;

namespace {

const char kRecord[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Rawdata>\n"
    "  <Tavrion>\n"
    "    <Inspection>\n"
    "      <Patient_section>\n"
    "        <Patient_id>ID-0042</Patient_id>\n"
    "        <Patient_name>山田 太郎</Patient_name>\n"
    "        <Birthday style=\"Date\" year=\"1960\" month=\"04\" day=\"01\"/>\n"
    "        <Medications><Medication>A</Medication><Medication>B</Medication></Medications>\n"
    "      </Patient_section>\n"
    "    </Inspection>\n"
    "    <Addition>\n"
    "      <Patient_add_section>\n"
    "        <Addition_content number=\"1\" title=\"First\">one</Addition_content>\n"
    "        <Addition_content number=\"2\" title=\"Second\">two</Addition_content>\n"
    "      </Patient_add_section>\n"
    "    </Addition>\n"
    "  </Tavrion>\n"
    "  <Annotation>\n"
    "    <Anno id=\"1\">a</Anno><Anno id=\"2\">b</Anno><Anno id=\"3\">c</Anno>\n"
    "  </Annotation>\n"
    "</Rawdata>\n";

const char kStylesheet[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">\n"
    "  <xsl:Layout>\n"
    "    <xsl:template name=\"Patient_info\">\n"
    "      <Patient_id_edt left=\"120\" top=\"8\" visible=\"2\">\n"
    "        患者ID\n"
    "        <Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_id</Xml_path>\n"
    "      </Patient_id_edt>\n"
    "      <Interpre_ward_stc left=\"4\">病棟</Interpre_ward_stc>\n"
    "    </xsl:template>\n"
    "  </xsl:Layout>\n"
    "  <xsl:Visible_info><Tag id=\"2\" suffix=\" A1 \" display_visible=\"true\"/></xsl:Visible_info>\n"
    "</xsl:stylesheet>\n";

class XmlParserTest : public testing::Test {
protected:
    // Loads bytes written to a file of the test folder.
    void Load(const std::string& bytes, const char* name = "record.xml")
    {
        m_path = m_dir.Write(name, bytes);
        ASSERT_EQ(1, m_xml.InitXML(Wide(m_path), 0)) << m_xml.GetLoadError().GetString();
    }
    CString Text(const wchar_t* xpath)
    {
        CString value;
        EXPECT_NE(0, m_xml.GetDataFromXMLDOM(value, xpath, XML_TYPE_TEXT, L"")) << xpath;
        return value;
    }
    CString Attrib(const wchar_t* xpath, const wchar_t* name)
    {
        CString value;
        EXPECT_NE(0, m_xml.GetDataFromXMLDOM(value, xpath, XML_TYPE_ATTRIBUTE, name)) << xpath << " @" << name;
        return value;
    }
    // Saves, then loads the file into a fresh document.
    void SaveAndReload(XML_PARSER& again)
    {
        ASSERT_EQ(1, m_xml.SaveToXMLFile(Wide(m_path)));
        ASSERT_EQ(1, again.InitXML(Wide(m_path), 0)) << again.GetLoadError().GetString();
    }

    testsupport::TempDir m_dir;
    std::string m_path;
    XML_PARSER m_xml;
};

TEST_F(XmlParserTest, ReadsChildPathsPredicatesPositionsAndAttributeSteps)
{
    Load(kRecord);
    EXPECT_EQ(CString(L"ID-0042"), Text(L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id"));
    EXPECT_EQ(CString(L"山田 太郎"), Text(L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_name"));
    EXPECT_EQ(CString(L"1960"), Attrib(L"/Rawdata/Tavrion/Inspection/Patient_section/Birthday", L"year"));
    EXPECT_EQ(CString(L"Second"),
              Text(L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']/@title"));
    EXPECT_EQ(CString(L"two"), Text(L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number=\"2\"]"));
    EXPECT_EQ(CString(L"B"), Text(L"/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[2]"));
    EXPECT_EQ(CString(L"c"), Text(L"/Rawdata/Annotation/Anno[@id='3'][1]"));
    EXPECT_EQ(CString(L"b"), Text(L"/Rawdata/Annotation/Anno[2]"));

    EXPECT_EQ(3, m_xml.GetNodeCount(L"/Rawdata/Annotation/Anno", 1, 0));
    EXPECT_EQ(2, m_xml.GetNodeCount(L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content/@title", 1, 0));
    EXPECT_EQ(0, m_xml.GetNodeCount(L"/Rawdata/Annotation/Anno[4]", 1, 0));
    EXPECT_EQ(1, m_xml.FindNode(L"/Rawdata/Annotation/Anno[@id='2']", 0));
    EXPECT_EQ(0, m_xml.FindNode(L"/Rawdata/Annotation/Anno[@id='9']", 0));

    // What is not there fails and leaves the value empty.
    CString value = L"stale";
    EXPECT_EQ(0, m_xml.GetDataFromXMLDOM(value, L"/Rawdata/Tavrion/Comment", XML_TYPE_TEXT, L""));
    EXPECT_TRUE(value.IsEmpty());
    EXPECT_EQ(0, m_xml.GetDataFromXMLDOM(value, L"/Rawdata/Tavrion/Inspection/Patient_section/Birthday",
                                         XML_TYPE_ATTRIBUTE, L"hour"));
    EXPECT_EQ(0, m_xml.GetDataFromXMLDOM(value, L"/Rawdata/Annotation/Anno", 3, L""));   // no such type
    // An empty element reads as an empty text, and is there.
    Load("<Rawdata><Empty/></Rawdata>");
    EXPECT_EQ(CString(), Text(L"/Rawdata/Empty"));
}

TEST_F(XmlParserTest, StylesheetPrefixesCaptionsAndControlNamesWithTrailingBlanks)
{
    Load(kStylesheet, "Tavrion.xsl");
    const wchar_t* entry = L"/xsl:stylesheet/xsl:Layout/xsl:template[@name='Patient_info']/Patient_id_edt";
    EXPECT_EQ(CString(L"120"), Text(L"/xsl:stylesheet/xsl:Layout/xsl:template[@name='Patient_info']/Patient_id_edt/@left"));
    EXPECT_EQ(CString(L"8"), Attrib(entry, L"top"));
    // The caption is the entry's own text, without its Xml_path children
    // and without the blanks that only lay them out.
    EXPECT_EQ(CString(L"患者ID"), Text(entry));
    EXPECT_EQ(CString(L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id"),
              Text(L"/xsl:stylesheet/xsl:Layout/xsl:template[@name='Patient_info']/Patient_id_edt/Xml_path[1]"));
    EXPECT_EQ(CString(L"4"),
              Attrib(L"/xsl:stylesheet/xsl:Layout/xsl:template[@name='Patient_info']/Interpre_ward_stc ", L"left"));
    EXPECT_EQ(CString(L" A1 "), Attrib(L"/xsl:stylesheet/xsl:Visible_info/Tag[@id='2']", L"suffix"));
    // Without the prefix the names are in no namespace and select nothing.
    EXPECT_EQ(0, m_xml.GetNodeCount(L"/stylesheet/Layout", 1, 0));
}

TEST_F(XmlParserTest, DefaultNamespacePrefixOnARealAnnotatedEcg)
{
    REQUIRE_SHARED_DATA(file, "aecg/minimum_aecg.xml");
    XML_PARSER hl7;
    hl7.SetNSDefaultPrefix(L"hl7");
    ASSERT_EQ(1, hl7.InitXML(Wide(file), 0));
    CString value;
    ASSERT_EQ(1, hl7.GetDataFromXMLDOM(value, L"/hl7:AnnotatedECG/hl7:id/@root", XML_TYPE_TEXT, L""));
    EXPECT_EQ(CString(L"61d1a24f-b47e-41aa-ae95-f8ac302f4eeb"), value);
    ASSERT_EQ(1, hl7.GetDataFromXMLDOM(value,
                                       L"/hl7:AnnotatedECG/hl7:componentOf/hl7:timepointEvent/hl7:componentOf/"
                                       L"hl7:subjectAssignment/hl7:subject/hl7:trialSubject/hl7:id",
                                       XML_TYPE_ATTRIBUTE, L"extension"));
    EXPECT_EQ(CString(L"SBJ-123"), value);
    ASSERT_EQ(1, hl7.GetDataFromXMLDOM(value, L"/hl7:AnnotatedECG/hl7:code[@codeSystemName='CPT-4']",
                                       XML_TYPE_ATTRIBUTE, L"code"));
    EXPECT_EQ(CString(L"93000"), value);
    EXPECT_EQ(2, hl7.GetNodeCount(L"/hl7:AnnotatedECG/hl7:component/hl7:series/hl7:component/hl7:sequenceSet/hl7:component",
                                  1, 0));
    // The header layout of the file list is not in this file: a clean miss.
    EXPECT_EQ(0, hl7.GetDataFromXMLDOM(value, L"/hl7:ECGObservation/hl7:recordTarget/hl7:patientRole/hl7:patientPatient/"
                                              L"hl7:name[@use='IDE']/hl7:family", XML_TYPE_TEXT, L""));

    // Without the prefix the default namespace is unreachable, as in XPath.
    XML_PARSER plain;
    ASSERT_EQ(1, plain.InitXML(Wide(file), 0));
    EXPECT_EQ(0, plain.GetNodeCount(L"/AnnotatedECG", 1, 0));
    EXPECT_EQ(-1, plain.GetNodeCount(L"/hl7:AnnotatedECG", 1, 0));   // an unbound prefix is an error
}

TEST_F(XmlParserTest, DefaultPrefixOnAHeaderWithoutNamespaceStandsForNoNamespace)
{
    m_path = m_dir.Write("old.xml",
                         "<ECGObservation><recordTarget><patientRole><patientPatient>"
                         "<id extension=\"P-77\"/><name use=\"IDE\"><family>佐藤</family></name>"
                         "</patientPatient></patientRole></recordTarget></ECGObservation>");
    XML_PARSER hl7;
    hl7.SetNSDefaultPrefix(L"hl7");
    ASSERT_EQ(1, hl7.InitXML(Wide(m_path), 0));
    CString value;
    ASSERT_EQ(1, hl7.GetDataFromXMLDOM(value, L"/hl7:ECGObservation/hl7:recordTarget/hl7:patientRole/"
                                              L"hl7:patientPatient/hl7:id/@extension", XML_TYPE_TEXT, L""));
    EXPECT_EQ(CString(L"P-77"), value);
    ASSERT_EQ(1, hl7.GetDataFromXMLDOM(value, L"/hl7:ECGObservation/hl7:recordTarget/hl7:patientRole/"
                                              L"hl7:patientPatient/hl7:name[@use='IDE']/hl7:family", XML_TYPE_TEXT, L""));
    EXPECT_EQ(CString(L"佐藤"), value);

    // A document that binds the prefix itself keeps that binding.
    m_path = m_dir.Write("bound.xml", "<hl7:ECGObservation xmlns:hl7=\"urn:hl7-org:v3\"><hl7:id extension=\"B-1\"/>"
                                      "<id extension=\"plain\"/></hl7:ECGObservation>");
    XML_PARSER bound;
    bound.SetNSDefaultPrefix(L"hl7");
    ASSERT_EQ(1, bound.InitXML(Wide(m_path), 0));
    ASSERT_EQ(1, bound.GetDataFromXMLDOM(value, L"/hl7:ECGObservation/hl7:id/@extension", XML_TYPE_TEXT, L""));
    EXPECT_EQ(CString(L"B-1"), value);
}

// Paths outside the accepted forms, each of which must fail without
// touching the document, whatever the operation.
TEST_F(XmlParserTest, MalformedOrForeignPathsFailCleanly)
{
    static const wchar_t* const kBadPaths[] = {
        L"",                                          // empty
        L"Rawdata/Tavrion",                           // relative
        L"//Anno",                                    // descendant axis
        L"/Rawdata//Anno",                            // empty step
        L"/Rawdata/",                                 // trailing separator
        L"/Rawdata/Annotation/Anno[",                 // open predicate
        L"/Rawdata/Annotation/Anno[@id='1]",          // open literal
        L"/Rawdata/Annotation/Anno[@id=1]",           // number, not a literal
        L"/Rawdata/Annotation/Anno[0]",               // positions start at 1
        L"/Rawdata/Annotation/Anno[99999999999]",     // absurd position
        L"/Rawdata/Annotation/Anno[@id='1' or 1=1]",  // widening expression
        L"/Rawdata/Annotation/Anno[position()=1]",    // function
        L"/Rawdata/Annotation/*",                     // wildcard
        L"/Rawdata/Annotation/Anno | /Rawdata",       // union
        L"/Rawdata/Annotation/text()",                // node test
        L"/Rawdata/@a/b",                             // step after an attribute
        L"/Rawdata/Annotation/Anno[@id=concat('1')]", // concat of one piece
        L"/Rawdata/1Anno",                            // not a name
        L"/Rawdata/a:b:c",                            // two prefixes
        L"/Rawdata/undeclared:Anno",                  // unbound prefix
    };
    Load(kRecord);
    const std::string before = testsupport::ReadFileBytes(m_path);
    for (const wchar_t* bad : kBadPaths) {
        SCOPED_TRACE(testing::Message() << "path: " << CStringA(bad).GetString());
        CString value = L"stale";
        EXPECT_GT(0, m_xml.GetNodeCount(bad, 1, 0));
        EXPECT_EQ(0, m_xml.FindNode(bad, 0));
        EXPECT_EQ(0, m_xml.GetDataFromXMLDOM(value, bad, XML_TYPE_TEXT, L""));
        EXPECT_TRUE(value.IsEmpty());
        EXPECT_EQ(0, m_xml.SetDataToXMLDOM(L"x", bad, XML_TYPE_TEXT, L""));
        EXPECT_EQ(0, m_xml.SetDataToXMLDOM(L"x", bad, XML_TYPE_ATTRIBUTE, L"a"));
        EXPECT_EQ(0, m_xml.RemoveNode(bad, 0));
        CXmlElmentNode node;
        node.SetName(L"Anno");
        EXPECT_EQ(0, m_xml.Add_LastChildNode(node, bad));
    }
    EXPECT_EQ(0, m_xml.RemoveNode(nullptr, 0));
    // Nothing changed: the document saves back to the same elements.
    EXPECT_EQ(3, m_xml.GetNodeCount(L"/Rawdata/Annotation/Anno", 1, 0));
    EXPECT_EQ(1, m_xml.GetNodeCount(L"/Rawdata", 1, 0));
    EXPECT_EQ(before, testsupport::ReadFileBytes(m_path));
}

TEST_F(XmlParserTest, PredicateValuesWithQuotesMatchExactly)
{
    Load("<Master>"
         "<Code value=\"O'Neil\">1</Code>"
         "<Code value='say \"hi\"'>2</Code>"
         "<Code value=\"it's &quot;both&quot;\">3</Code>"
         "<Code value=\"x\">4</Code>"
         "</Master>");
    EXPECT_EQ(CString(L"1"), Text(L"/Master/Code[@value=\"O'Neil\"]"));
    EXPECT_EQ(CString(L"2"), Text(L"/Master/Code[@value='say \"hi\"']"));
    EXPECT_EQ(CString(L"3"), Text(L"/Master/Code[@value=concat('it',\"'\",'s \"both\"')]"));
    EXPECT_EQ(CString(L"3"), Text(L"/Master/Code[ @value = concat( 'it', \"'\", 's \"both\"' ) ]"));
    // A value spliced in unquoted cannot widen the query: it does not parse.
    EXPECT_GT(0, m_xml.GetNodeCount(L"/Master/Code[@value='x' or '1'='1']", 1, 0));
    EXPECT_GT(0, m_xml.GetNodeCount(L"/Master/Code[@value='O'Neil']", 1, 0));
}

TEST_F(XmlParserTest, WritesCreateTheMissingElementsOfAPlainPath)
{
    m_path = m_dir.File("new.xml");
    EXPECT_EQ(0, m_xml.InitXML(Wide(m_path), 0));   // no file yet
    EXPECT_FALSE(m_xml.IsLoaded());
    ASSERT_EQ(1, m_xml.SetDataToXMLDOM(L"12345", L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id",
                                       XML_TYPE_TEXT, L""));
    ASSERT_EQ(1, m_xml.SetDataToXMLDOM(L"Date", L"/Rawdata/Tavrion/Inspection/Patient_section/Birthday",
                                       XML_TYPE_ATTRIBUTE, L"style"));
    // A predicate step is created with its attribute, a position with the
    // siblings that lead up to it.
    ASSERT_EQ(1, m_xml.SetDataToXMLDOM(L"Title 2",
                                       L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']/@title",
                                       XML_TYPE_TEXT, L""));
    ASSERT_EQ(1, m_xml.SetDataToXMLDOM(L"third", L"/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[3]",
                                       XML_TYPE_TEXT, L""));
    ASSERT_EQ(1, m_xml.SetDataToXMLDOM(L"5", L"/Rawdata/Annotation/Anno[@id='5'][2]", XML_TYPE_ATTRIBUTE, L"trip"));
    // A second root cannot be made.
    EXPECT_EQ(0, m_xml.SetDataToXMLDOM(L"x", L"/Other/Field", XML_TYPE_TEXT, L""));

    XML_PARSER again;
    SaveAndReload(again);
    CString value;
    ASSERT_EQ(1, again.GetDataFromXMLDOM(value, L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id", XML_TYPE_TEXT, L""));
    EXPECT_EQ(CString(L"12345"), value);
    ASSERT_EQ(1, again.GetDataFromXMLDOM(value, L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='2']",
                                         XML_TYPE_ATTRIBUTE, L"title"));
    EXPECT_EQ(CString(L"Title 2"), value);
    EXPECT_EQ(1, again.GetNodeCount(L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content", 1, 0));
    EXPECT_EQ(3, again.GetNodeCount(L"/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication", 1, 0));
    ASSERT_EQ(1, again.GetDataFromXMLDOM(value, L"/Rawdata/Tavrion/Inspection/Patient_section/Medications/Medication[3]",
                                         XML_TYPE_TEXT, L""));
    EXPECT_EQ(CString(L"third"), value);
    EXPECT_EQ(2, again.GetNodeCount(L"/Rawdata/Annotation/Anno[@id='5']", 1, 0));
    EXPECT_EQ(1, again.GetNodeCount(L"/Rawdata/Annotation/Anno[@id='5'][2]/@trip", 1, 0));
    EXPECT_EQ(0, again.GetNodeCount(L"/Other", 1, 0));
    EXPECT_EQ(0u, testsupport::ReadFileBytes(m_path).find("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
}

TEST_F(XmlParserTest, AttributeAndTextWritesReplaceOnlyWhatTheyName)
{
    Load(kStylesheet, "Tavrion.xsl");
    const wchar_t* entry = L"/xsl:stylesheet/xsl:Layout/xsl:template[@name='Patient_info']/Patient_id_edt";
    ASSERT_EQ(1, m_xml.SetDataToXMLDOM(L"Patient ID", entry, XML_TYPE_TEXT, L""));   // the caption only
    ASSERT_EQ(1, m_xml.SetDataToXMLDOM(L"130", entry, XML_TYPE_ATTRIBUTE, L"left"));  // overwrite
    ASSERT_EQ(1, m_xml.SetDataToXMLDOM(L"false", CString(entry) + L"/@enable", XML_TYPE_TEXT, L""));   // create
    // A new element under a prefixed parent takes the declared prefix.
    ASSERT_EQ(1, m_xml.SetDataToXMLDOM(L"x", L"/xsl:stylesheet/xsl:Layout/xsl:template[@name='Interpre_rest']/Age_edt",
                                       XML_TYPE_ATTRIBUTE, L"left"));
    // Declarations are not values.
    EXPECT_EQ(0, m_xml.SetDataToXMLDOM(L"urn:x", entry, XML_TYPE_ATTRIBUTE, L"xmlns"));
    EXPECT_EQ(0, m_xml.SetDataToXMLDOM(L"urn:x", entry, XML_TYPE_ATTRIBUTE, L"xmlns:q"));
    EXPECT_EQ(0, m_xml.SetDataToXMLDOM(L"v", entry, XML_TYPE_ATTRIBUTE, L"bad name"));
    EXPECT_EQ(0, m_xml.SetDataToXMLDOM(L"v", CString(entry) + L"/@left", XML_TYPE_ATTRIBUTE, L"left"));

    XML_PARSER again;
    SaveAndReload(again);
    CString value;
    ASSERT_EQ(1, again.GetDataFromXMLDOM(value, entry, XML_TYPE_TEXT, L""));
    EXPECT_EQ(CString(L"Patient ID"), value);
    EXPECT_EQ(1, again.GetNodeCount(CString(entry) + L"/Xml_path", 1, 0));
    ASSERT_EQ(1, again.GetDataFromXMLDOM(value, entry, XML_TYPE_ATTRIBUTE, L"left"));
    EXPECT_EQ(CString(L"130"), value);
    ASSERT_EQ(1, again.GetDataFromXMLDOM(value, entry, XML_TYPE_ATTRIBUTE, L"enable"));
    EXPECT_EQ(CString(L"false"), value);
    EXPECT_EQ(1, again.GetNodeCount(L"/xsl:stylesheet/xsl:Layout/xsl:template[@name='Interpre_rest']/Age_edt/@left", 1, 0));
    EXPECT_EQ(2, again.GetNodeCount(L"/xsl:stylesheet/xsl:Layout/xsl:template", 1, 0));
}

TEST_F(XmlParserTest, MarkupAndControlCharactersInValuesSurviveASave)
{
    Load(kRecord);
    const CString tricky = L"<a href=\"x\">&amp; 'q' </a>";
    CString withControl = L"bell";
    withControl.SetAt(1, L'\x07');   // XML 1.0 cannot hold it: it becomes '?'
    ASSERT_EQ(1, m_xml.SetDataToXMLDOM(tricky, L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_content", XML_TYPE_TEXT, L""));
    ASSERT_EQ(1, m_xml.SetDataToXMLDOM(tricky, L"/Rawdata/Tavrion/Comment", XML_TYPE_ATTRIBUTE, L"note"));
    ASSERT_EQ(1, m_xml.SetDataToXMLDOM(withControl, L"/Rawdata/Tavrion/Comment", XML_TYPE_ATTRIBUTE, L"bell"));
    ASSERT_EQ(1, m_xml.SetDataToXMLDOM(L"  ", L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id", XML_TYPE_TEXT, L""));

    XML_PARSER again;
    SaveAndReload(again);
    CString value;
    ASSERT_EQ(1, again.GetDataFromXMLDOM(value, L"/Rawdata/Tavrion/Comment/Voktext_section/Comment_content", XML_TYPE_TEXT, L""));
    EXPECT_EQ(tricky, value);
    ASSERT_EQ(1, again.GetDataFromXMLDOM(value, L"/Rawdata/Tavrion/Comment", XML_TYPE_ATTRIBUTE, L"note"));
    EXPECT_EQ(tricky, value);
    ASSERT_EQ(1, again.GetDataFromXMLDOM(value, L"/Rawdata/Tavrion/Comment", XML_TYPE_ATTRIBUTE, L"bell"));
    EXPECT_EQ(CString(L"b?ll"), value);
    ASSERT_EQ(1, again.GetDataFromXMLDOM(value, L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id", XML_TYPE_TEXT, L""));
    EXPECT_EQ(CString(L"  "), value);   // a blank leaf text is a value, not layout
}

TEST_F(XmlParserTest, EachRemoveNodeRemovesTheFirstSelectedNode)
{
    Load(kRecord);
    const wchar_t* anno = L"/Rawdata/Annotation/Anno";
    EXPECT_EQ(3, m_xml.GetNodeCount(anno, 1, 0));
    EXPECT_EQ(CString(L"a"), Text(anno));
    EXPECT_EQ(1, m_xml.RemoveNode(anno, 0));
    EXPECT_EQ(CString(L"b"), Text(anno));
    EXPECT_EQ(1, m_xml.RemoveNode(anno, 0));
    EXPECT_EQ(1, m_xml.RemoveNode(anno, 0));
    EXPECT_EQ(0, m_xml.GetNodeCount(anno, 1, 0));
    EXPECT_EQ(0, m_xml.RemoveNode(anno, 0));
    EXPECT_EQ(1, m_xml.FindNode(L"/Rawdata/Annotation", 0));

    // An attribute step removes the attribute only.
    const wchar_t* title = L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']/@title";
    EXPECT_EQ(1, m_xml.RemoveNode(title, 0));
    EXPECT_EQ(0, m_xml.FindNode(title, 0));
    EXPECT_EQ(1, m_xml.FindNode(L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='1']", 0));

    // Removing the root leaves a document that a write can start again.
    EXPECT_EQ(1, m_xml.RemoveNode(L"/Rawdata", 0));
    EXPECT_EQ(0, m_xml.GetNodeCount(L"/Rawdata", 1, 0));
    EXPECT_EQ(0, m_xml.SaveToXMLFile(Wide(m_path)));   // nothing to write: no root
    EXPECT_EQ(1, m_xml.SetDataToXMLDOM(L"1", L"/Rawdata/Annotation", XML_TYPE_ATTRIBUTE, L"count"));
    EXPECT_EQ(1, m_xml.GetNodeCount(L"/Rawdata/Annotation/@count", 1, 0));
}

TEST_F(XmlParserTest, AppendedNodesCarryTheirAttributesAndTheNodeIsReusableAfterReset)
{
    Load("<Rawdata><Tavrion/></Rawdata>");
    CXmlElmentNode node;
    CXmlAttribNode attrib;
    node.SetName(L"Anno");
    node.SetNamespace(L"");
    node.SetContent(L"最初");
    attrib.SetName(L"id");
    attrib.SetContent(L"1");
    node.m_arrAttrib.Add(attrib);
    attrib.SetName(L"kind");
    attrib.SetContent(L"a&b");
    node.m_arrAttrib.Add(attrib);
    CString parent = L"/Rawdata/Annotation";   // missing: created for the append
    ASSERT_EQ(1, m_xml.Add_LastChildNode(node, parent));

    node.Reset();
    EXPECT_TRUE(node.GetName().IsEmpty());
    EXPECT_EQ(2, node.m_arrAttrib.GetSize());   // the caller empties the array
    node.m_arrAttrib.RemoveAll();
    node.SetName(L"Anno");
    attrib.SetName(L"id");
    attrib.SetContent(L"2");
    node.m_arrAttrib.Add(attrib);
    attrib.SetContent(L"3");   // the same name twice: the last one wins
    node.m_arrAttrib.Add(attrib);
    ASSERT_EQ(1, m_xml.Add_LastChildNode(node, parent));

    // A node that cannot be written is refused whole.
    node.Reset();
    node.m_arrAttrib.RemoveAll();
    node.SetName(L"Anno");
    attrib.SetName(L"bad name");
    node.m_arrAttrib.Add(attrib);
    EXPECT_EQ(0, m_xml.Add_LastChildNode(node, parent));
    node.m_arrAttrib.RemoveAll();
    node.SetName(L"");
    EXPECT_EQ(0, m_xml.Add_LastChildNode(node, parent));
    node.SetName(L"Anno");
    node.SetNamespace(L"nowhere");
    EXPECT_EQ(0, m_xml.Add_LastChildNode(node, parent));
    EXPECT_EQ(0, m_xml.Add_LastChildNode(node, nullptr));

    XML_PARSER again;
    SaveAndReload(again);
    EXPECT_EQ(2, again.GetNodeCount(L"/Rawdata/Annotation/Anno", 1, 0));
    CString value;
    ASSERT_EQ(1, again.GetDataFromXMLDOM(value, L"/Rawdata/Annotation/Anno[1]", XML_TYPE_TEXT, L""));
    EXPECT_EQ(CString(L"最初"), value);
    ASSERT_EQ(1, again.GetDataFromXMLDOM(value, L"/Rawdata/Annotation/Anno[1]", XML_TYPE_ATTRIBUTE, L"kind"));
    EXPECT_EQ(CString(L"a&b"), value);
    ASSERT_EQ(1, again.GetDataFromXMLDOM(value, L"/Rawdata/Annotation/Anno[2]", XML_TYPE_ATTRIBUTE, L"id"));
    EXPECT_EQ(CString(L"3"), value);
    ASSERT_EQ(1, again.GetDataFromXMLDOM(value, L"/Rawdata/Annotation/Anno[2]", XML_TYPE_TEXT, L""));
    EXPECT_TRUE(value.IsEmpty());
}

// The document remembers what each path text selected; every kind of
// change must make it look again. Each read repeats a path read before the
// change, and a stale node would also be a freed one (the sanitizer build).
TEST_F(XmlParserTest, RepeatedReadsFollowEveryChangeOfTheDocument)
{
    Load(kRecord);
    const wchar_t* fourth = L"/Rawdata/Annotation/Anno[4]";
    CString value;
    EXPECT_EQ(0, m_xml.GetDataFromXMLDOM(value, fourth, XML_TYPE_TEXT, L""));
    CXmlElmentNode node;
    node.SetName(L"Anno");
    node.SetContent(L"d");
    CString annotation = L"/Rawdata/Annotation";
    ASSERT_EQ(1, m_xml.Add_LastChildNode(node, annotation));
    EXPECT_EQ(CString(L"d"), Text(fourth));

    // Removal: the same text now selects the next sibling.
    const wchar_t* first = L"/Rawdata/Annotation/Anno[1]";
    EXPECT_EQ(CString(L"a"), Text(first));
    ASSERT_EQ(1, m_xml.RemoveNode(first, 0));
    EXPECT_EQ(CString(L"b"), Text(first));

    // An attribute write: a remembered miss of the attribute step, and a
    // predicate that no longer holds.
    const wchar_t* hour = L"/Rawdata/Tavrion/Inspection/Patient_section/Birthday/@hour";
    EXPECT_EQ(0, m_xml.GetDataFromXMLDOM(value, hour, XML_TYPE_TEXT, L""));
    const wchar_t* second = L"/Rawdata/Annotation/Anno[@id='2']";
    EXPECT_EQ(CString(L"b"), Text(second));
    ASSERT_EQ(1, m_xml.SetDataToXMLDOM(L"7", first, XML_TYPE_ATTRIBUTE, L"id"));
    ASSERT_EQ(1, m_xml.SetDataToXMLDOM(L"09", L"/Rawdata/Tavrion/Inspection/Patient_section/Birthday",
                                       XML_TYPE_ATTRIBUTE, L"hour"));
    EXPECT_EQ(CString(L"09"), Text(hour));
    EXPECT_EQ(0, m_xml.GetDataFromXMLDOM(value, second, XML_TYPE_TEXT, L""));
    EXPECT_EQ(CString(L"b"), Text(L"/Rawdata/Annotation/Anno[@id='7']"));

    // A text write that creates its element.
    const wchar_t* third = L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[@number='3']";
    EXPECT_EQ(0, m_xml.GetDataFromXMLDOM(value, third, XML_TYPE_TEXT, L""));
    ASSERT_EQ(1, m_xml.SetDataToXMLDOM(L"three", third, XML_TYPE_TEXT, L""));
    EXPECT_EQ(CString(L"three"), Text(third));

    // A write that fails may still have built part of its path: what a read
    // finds must be what the document holds.
    const wchar_t* partial = L"/Rawdata/Partial/Leaf";
    EXPECT_EQ(0, m_xml.GetDataFromXMLDOM(value, partial, XML_TYPE_TEXT, L""));
    EXPECT_EQ(0, m_xml.SetDataToXMLDOM(L"v", partial, XML_TYPE_ATTRIBUTE, L"unbound:a"));
    EXPECT_EQ(m_xml.GetNodeCount(partial, 1, 0) > 0 ? 1 : 0,
              m_xml.GetDataFromXMLDOM(value, partial, XML_TYPE_TEXT, L""));

    // The root removed, then another file loaded into the same document.
    EXPECT_EQ(CString(L"b"), Text(first));
    ASSERT_EQ(1, m_xml.RemoveNode(L"/Rawdata", 0));
    EXPECT_EQ(0, m_xml.GetDataFromXMLDOM(value, first, XML_TYPE_TEXT, L""));
    Load("<Rawdata><Annotation><Anno>other</Anno></Annotation></Rawdata>", "other.xml");
    EXPECT_EQ(CString(L"other"), Text(first));
}

TEST_F(XmlParserTest, RepeatedReadsFollowAChangeOfTheDefaultPrefix)
{
    Load("<a xmlns=\"urn:a\"><b>1</b></a>");
    m_xml.SetNSDefaultPrefix(L"d");
    EXPECT_EQ(CString(L"1"), Text(L"/d:a/d:b"));
    m_xml.SetNSDefaultPrefix(L"e");
    EXPECT_EQ(-1, m_xml.GetNodeCount(L"/d:a/d:b", 1, 0));   // no longer bound
    CString value;
    EXPECT_EQ(0, m_xml.GetDataFromXMLDOM(value, L"/d:a/d:b", XML_TYPE_TEXT, L""));
    EXPECT_EQ(CString(L"1"), Text(L"/e:a/e:b"));
}

TEST_F(XmlParserTest, ElementNodeCopiesItsAttributes)
{
    CXmlElmentNode node;
    CXmlAttribNode attrib;
    attrib.SetName(L"id");
    attrib.SetContent(L"7");
    node.SetName(L"Anno");
    node.m_arrAttrib.Add(attrib);
    CXmlElmentNode copy(node);
    node.m_arrAttrib.RemoveAll();
    ASSERT_EQ(1, copy.m_arrAttrib.GetSize());
    EXPECT_EQ(CString(L"7"), copy.m_arrAttrib[0].GetContent());
    node = copy;
    EXPECT_EQ(CString(L"Anno"), node.GetName());
    EXPECT_EQ(1, node.m_arrAttrib.GetSize());
}

}  // namespace

// Lists are read item by item; the walk resumes where the previous item was
// found, so every order of reading, and every change between reads, must
// still give what a fresh walk gives.
TEST_F(XmlParserTest, PositionalReadsFindTheirElementInAnyOrderAndAcrossChanges)
{
    std::string bytes = "<R><L>";
    for (int i = 1; i <= 300; ++i) {
        bytes += "<T v=\"" + std::to_string(i) + "\"/>";
        if (i % 7 == 0) bytes += "<Other/>";
    }
    bytes += "</L><M><T v=\"m1\"/><T v=\"m2\"/></M></R>";
    Load(bytes);
    auto value = [&](int position, const wchar_t* list = L"/R/L") {
        CString path;
        path.Format(L"%s/T[%d]", list, position);
        CString text;
        m_xml.GetDataFromXMLDOM(text, path, XML_TYPE_ATTRIBUTE, L"v");
        return text;
    };
    for (int i = 1; i <= 300; ++i) {
        ASSERT_EQ(value(i), CString(std::to_wstring(i).c_str())) << i;
        ASSERT_EQ(value(i % 2 + 1, L"/R/M"), i % 2 ? CString(L"m2") : CString(L"m1"));
    }
    EXPECT_EQ(CString(L"250"), value(250));
    EXPECT_EQ(CString(L"3"), value(3));   // backwards
    EXPECT_EQ(CString(), value(301));
    EXPECT_EQ(300, m_xml.GetNodeCount(L"/R/L/T", 1, 0));

    EXPECT_EQ(CString(L"100"), value(100));
    ASSERT_EQ(1, m_xml.RemoveNode(L"/R/L/T[100]", 0));
    EXPECT_EQ(CString(L"101"), value(100));
    EXPECT_EQ(CString(L"102"), value(101));
    CXmlElmentNode node;
    node.SetName(L"T");
    CXmlAttribNode attribute;
    attribute.SetName(L"v");
    attribute.SetContent(L"last");
    node.m_arrAttrib.Add(attribute);
    CString parent = L"/R/L";
    ASSERT_EQ(1, m_xml.Add_LastChildNode(node, parent));
    EXPECT_EQ(CString(L"last"), value(300));
}
