// The layout tables through real stylesheets in a temporary work directory:
// what a load reads, what it leaves at its defaults, the once-per-process
// rule, the visibility refresh, the addition rule and the layout suffix.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/LayoutNames.h"
#include "core/TavrionDoc.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/support/TestSupport.h"

using testsupport::TempDir;
using testsupport::Wide;

namespace {

// The loaders are the document's protected members; a test reaches them here.
class CLayoutDoc : public CTavrionDoc {
public:
    using CTavrionDoc::LoadPatInfoPos;
    using CTavrionDoc::LoadRestInterprePos;
};

std::string Stylesheet(const std::string& layout, const std::string& tags = std::string())
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">\n"
           "<xsl:Layout>" +
           layout + "</xsl:Layout>\n<xsl:Visible_info>" + tags + "</xsl:Visible_info>\n</xsl:stylesheet>\n";
}

std::string Template(const std::string& name, const std::string& body)
{
    return "<xsl:template name=\"" + name + "\">" + body + "</xsl:template>";
}

int IndexOf(LayoutTable table, const wchar_t* name)
{
    const _LAYOUT_TABLE_NAMES* names = GetLayoutTableNames(table);
    for (int i = 0; i < names->nCount; ++i) {
        if (std::wcscmp(names->ppszNames[i], name) == 0) return i;
    }
    ADD_FAILURE() << "no control named " << CStringA(name).GetString();
    return 0;
}

_POSITION_CTRL& Entry(LayoutTable table, const wchar_t* name)
{
    return GetLayoutEntries(g_stDefCtrlPos, table)[IndexOf(table, name)];
}

int Loaded(LayoutTable table) { return *GetLayoutLoadedFlag(g_stDefCtrlPos, table); }

class LayoutTables : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDefCtrlPos();
        m_savedWorkDir = g_pWorkDir;
        const CString path = Wide(m_dir.Path());
        m_workDir.assign(path.GetString(), path.GetString() + path.GetLength() + 1);
        g_pWorkDir = m_workDir.data();
    }
    void TearDown() override
    {
        g_pWorkDir = m_savedWorkDir;
        ResetDefCtrlPos();
        platform::ui::Desktop::SetScreenSize(1024, 768);
    }

    void Write(const std::string& text) { m_dir.Write("Tavrion.xsl", text); }
    // A document reads the suffix once: each call gets a new one.
    void Load(_LOAD_POSITION_TYPE type)
    {
        CTavrionDoc doc;
        doc.GetCtrlPosFromXSL(type);
    }

    TempDir m_dir;
    std::vector<wchar_t> m_workDir;
    wchar_t* m_savedWorkDir = nullptr;
};

const char kIdEdt[] = "<Patient_id_edt left=\"10\" top=\"20\" width=\"30\" height=\"40\" textheight=\"12\">"
                      "<Xml_path>/Rawdata/Tavrion/Inspection/Patient_section/Patient_id</Xml_path></Patient_id_edt>";

}  // namespace

TEST_F(LayoutTables, FirstRestLoadReadsPatientRestAndUsaRestTablesOnly)
{
    Write(Stylesheet(Template("Patient_info", kIdEdt) +
                     Template("Interpre_rest", "<Interpre_comment_stc left=\"5\">コメント</Interpre_comment_stc>") +
                     Template("Interpre_usa_rest", "<Interpre_comment_stc left=\"6\"/>") +
                     Template("Interpre_rhythm", "<Interpre_comment_stc left=\"7\"/>")));
    Load(LOAD_POS_REST);

    for (int t = 0; t < static_cast<int>(LayoutTable::Count); ++t) {
        const LayoutTable table = static_cast<LayoutTable>(t);
        const bool expected =
            table == LayoutTable::PatInfo || table == LayoutTable::Rest || table == LayoutTable::UsaRest;
        EXPECT_EQ(Loaded(table), expected ? 1 : 0) << GetLayoutTableNames(table)->pszTemplate;
    }
    const _POSITION_CTRL& id = Entry(LayoutTable::PatInfo, L"Patient_id_edt");
    EXPECT_EQ(id.nLeft, 10);
    EXPECT_EQ(id.nTop, 20);
    EXPECT_EQ(id.nWidth, 30);
    EXPECT_EQ(id.nHeight, 40);
    EXPECT_EQ(id.nTextHeight, 12);
    EXPECT_TRUE(id.strCaption.IsEmpty());
    EXPECT_EQ(Entry(LayoutTable::Rest, L"Interpre_comment_stc").nLeft, 5);
    EXPECT_EQ(Entry(LayoutTable::Rest, L"Interpre_comment_stc").strCaption, CString(L"コメント"));
    EXPECT_EQ(Entry(LayoutTable::UsaRest, L"Interpre_comment_stc").nLeft, 6);
    EXPECT_EQ(Entry(LayoutTable::Rhythm, L"Interpre_comment_stc").nLeft, -1);
    // An element the template lacks keeps every default.
    const _POSITION_CTRL& name = Entry(LayoutTable::PatInfo, L"Patient_name_edt");
    EXPECT_EQ(name.nLeft, -1);
    EXPECT_EQ(name.nTextHeight, -1);
    EXPECT_EQ(name.bEnable, 1);
    EXPECT_EQ(name.bVisible, 1);
    EXPECT_EQ(name.arrXmlPath.GetSize(), 0);
}

TEST_F(LayoutTables, SecondLoadOfALoadedTableReadsNothingAgain)
{
    Write(Stylesheet(Template("Patient_info", kIdEdt)));
    Load(LOAD_POS_REST);
    // A changed stylesheet is not seen, and the bound paths are not doubled.
    Write(Stylesheet(Template("Patient_info", "<Patient_id_edt left=\"99\"><Xml_path>/x</Xml_path></Patient_id_edt>")));
    Load(LOAD_POS_REST);
    Load(LOAD_POS_RHYTHM);   // the patient table again, with another type
    const _POSITION_CTRL& id = Entry(LayoutTable::PatInfo, L"Patient_id_edt");
    EXPECT_EQ(id.nLeft, 10);
    ASSERT_EQ(id.arrXmlPath.GetSize(), 1);
    EXPECT_EQ(id.arrXmlPath[0], CString(L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id"));
    EXPECT_EQ(Loaded(LayoutTable::Rhythm), 1);
    EXPECT_EQ(Loaded(LayoutTable::PatInfoPrint), 0);
}

TEST_F(LayoutTables, PrintTypesLoadThePrintPatientTable)
{
    Write(Stylesheet(Template("Patient_info_print", "<Patient_id_edt left=\"100\"/>")));
    Load(LOAD_POS_RR_PRINT);
    EXPECT_EQ(Loaded(LayoutTable::PatInfoPrint), 1);
    EXPECT_EQ(Loaded(LayoutTable::RRPrint), 1);
    EXPECT_EQ(Loaded(LayoutTable::RhythmPrint), 0);
    EXPECT_EQ(Loaded(LayoutTable::PatInfo), 0);
    EXPECT_EQ(Entry(LayoutTable::PatInfoPrint, L"Patient_id_edt").nLeft, 100);

    Load(LOAD_POS_REST_PRINT);
    EXPECT_EQ(Loaded(LayoutTable::RestPrint), 1);
    EXPECT_EQ(Loaded(LayoutTable::UsaRestPrint), 1);
}

TEST_F(LayoutTables, AnUnknownTypeLoadsNoTable)
{
    Write(Stylesheet(Template("Patient_info", kIdEdt)));
    Load(static_cast<_LOAD_POSITION_TYPE>(13));
    Load(static_cast<_LOAD_POSITION_TYPE>(-1));
    for (int t = 0; t < static_cast<int>(LayoutTable::Count); ++t)
        EXPECT_EQ(Loaded(static_cast<LayoutTable>(t)), 0);
}

// enable="false" in any case disables; any other word enables.
TEST_F(LayoutTables, EnableFalseInAnyCaseDisables)
{
    Write(Stylesheet(Template("Patient_info", "<Patient_id_edt enable=\"FALSE\"/><Patient_name_edt enable=\"no\"/>"
                                              "<Patient_sex_cmb enable=\"false\"/><Patient_age_edt enable=\"\"/>")));
    Load(LOAD_POS_EXER);
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_id_edt").bEnable, 0);
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_name_edt").bEnable, 1);
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_sex_cmb").bEnable, 0);
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_age_edt").bEnable, 1);
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_kana_name_edt").bEnable, 1);
}

// A tag hides on screen through display_visible and in print through
// print_visible; a missing attribute, another word or a missing tag shows.
TEST_F(LayoutTables, VisibilityTagsRuleScreenAndPrintApart)
{
    const std::string body = "<Patient_id_edt visible=\"3\"/><Patient_name_edt visible=\"4\"/>"
                             "<Patient_sex_cmb visible=\"9\"/><Patient_height_edt visible=\"\"/>"
                             "<Patient_weight_edt visible=\" 3\"/>";
    Write(Stylesheet(Template("Patient_info", body) + Template("Patient_info_print", body),
                     "<Tag id=\"3\" display_visible=\"false\"/>"
                     "<Tag id=\"4\" display_visible=\"no\" print_visible=\"False\"/>"));
    Load(LOAD_POS_REST);
    Load(LOAD_POS_REST_PRINT);
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_id_edt").bVisible, 0);
    EXPECT_EQ(Entry(LayoutTable::PatInfoPrint, L"Patient_id_edt").bVisible, 1);
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_name_edt").bVisible, 1);
    EXPECT_EQ(Entry(LayoutTable::PatInfoPrint, L"Patient_name_edt").bVisible, 0);
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_sex_cmb").bVisible, 1);   // no tag 9
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_height_edt").bVisible, 1);
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_weight_edt").bVisible, 0);   // " 3" names tag 3
}

// On a portrait screen left and width shrink to 95 %, truncated; top,
// height and text height stay. Print tables follow the same rule.
TEST_F(LayoutTables, PortraitScreenNarrowsLeftAndWidth)
{
    const std::string body = "<Patient_id_edt left=\"101\" top=\"101\" width=\"200\" height=\"33\" textheight=\"15\"/>"
                             "<Patient_name_edt left=\"-1\" width=\"19\"/>";
    Write(Stylesheet(Template("Patient_info", body) + Template("Patient_info_print", body)));
    ASSERT_TRUE(platform::ui::Desktop::SetScreenSize(768, 1024));
    Load(LOAD_POS_REST);
    Load(LOAD_POS_REST_PRINT);
    for (LayoutTable table : {LayoutTable::PatInfo, LayoutTable::PatInfoPrint}) {
        const _POSITION_CTRL& id = Entry(table, L"Patient_id_edt");
        EXPECT_EQ(id.nLeft, 95);
        EXPECT_EQ(id.nWidth, 190);
        EXPECT_EQ(id.nTop, 101);
        EXPECT_EQ(id.nHeight, 33);
        EXPECT_EQ(id.nTextHeight, 15);
        const _POSITION_CTRL& name = Entry(table, L"Patient_name_edt");
        EXPECT_EQ(name.nLeft, -1);   // "no value" stays "no value"
        EXPECT_EQ(name.nWidth, 18);
        EXPECT_EQ(name.nTop, -1);
    }
}

TEST_F(LayoutTables, SquareAndLandscapeScreensKeepTheValues)
{
    Write(Stylesheet(Template("Patient_info", "<Patient_id_edt left=\"101\" width=\"200\"/>")));
    ASSERT_TRUE(platform::ui::Desktop::SetScreenSize(900, 900));
    Load(LOAD_POS_REST);
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_id_edt").nLeft, 101);
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_id_edt").nWidth, 200);
}

TEST_F(LayoutTables, NumbersAreLeadingDecimalIntegers)
{
    Write(Stylesheet(Template("Patient_info", "<Patient_id_edt left=\" 12px\" top=\"abc\" width=\"+7\" "
                                              "height=\"99999999999\" textheight=\"-3\"/>")));
    ASSERT_TRUE(platform::ui::Desktop::SetScreenSize(600, 800));   // portrait: the huge value is scaled too
    Load(LOAD_POS_REST);
    const _POSITION_CTRL& id = Entry(LayoutTable::PatInfo, L"Patient_id_edt");
    EXPECT_EQ(id.nLeft, 11);   // 12 narrowed
    EXPECT_EQ(id.nTop, 0);
    EXPECT_EQ(id.nWidth, 6);
    EXPECT_EQ(id.nHeight, 2147483647);   // saturated, never wrapped
    EXPECT_EQ(id.nTextHeight, -3);
}

TEST_F(LayoutTables, BoundPathsComeInDocumentOrderAndBoundTheAlternatives)
{
    Write(Stylesheet(Template("Patient_info",
                              "<Patient_height_edt left=\"1\">身長<Xml_path>/a/Height</Xml_path>\n"
                              "  <Xml_path>/a/Sub_height</Xml_path>\n  <Xml_path>/a/Third</Xml_path></Patient_height_edt>")));
    CTavrionDoc doc;
    doc.GetCtrlPosFromXSL(LOAD_POS_REST);
    const int index = IndexOf(LayoutTable::PatInfo, L"Patient_height_edt");
    EXPECT_EQ(doc.GetDefXMLPath(0, index, 0), CString(L"/a/Height"));
    EXPECT_EQ(doc.GetDefXMLPath(0, index, 1), CString(L"/a/Sub_height"));
    EXPECT_EQ(doc.GetDefXMLPath(0, index, 2), CString(L"/a/Third"));
    EXPECT_EQ(doc.GetDefXMLPath(0, index, 3), CString());
    EXPECT_EQ(doc.GetDefXMLPath(0, index, -1), CString());
    EXPECT_EQ(doc.GetDefXMLPath(0, -1, 0), CString());
    EXPECT_EQ(doc.GetDefXMLPath(0, POS_PATINFO_COUNT, 0), CString());
    EXPECT_EQ(doc.GetDefXMLPath(-1, index, 0), CString());
    EXPECT_EQ(doc.GetDefXMLPath(15, index, 0), CString());
    // The caption beside the paths is the element's own text.
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_height_edt").strCaption, CString(L"身長"));
}

// Every kind reaches its own table, the USA rest screen table none.
TEST_F(LayoutTables, EachKindReadsItsOwnTable)
{
    std::string layout;
    for (int t = 0; t < static_cast<int>(LayoutTable::Count); ++t) {
        const _LAYOUT_TABLE_NAMES* names = GetLayoutTableNames(static_cast<LayoutTable>(t));
        const std::string first = CStringA(names->ppszNames[0]).GetString();
        layout += Template(CStringA(names->pszTemplate).GetString(),
                           "<" + first + "><Xml_path>/" + CStringA(names->pszTemplate).GetString() +
                               "</Xml_path></" + first + ">");
    }
    Write(Stylesheet(layout));
    CTavrionDoc doc;
    for (int type = LOAD_POS_REST; type <= LOAD_POS_EXER_PRINT; ++type)
        doc.GetCtrlPosFromXSL(static_cast<_LOAD_POSITION_TYPE>(type));
    const wchar_t* kByKind[] = {L"/Patient_info",         L"/Interpre_rest",       L"/Interpre_msfr",
                                L"/Interpre_rr",          L"/Interpre_rhythm",     L"/Interpre_extra",
                                L"/Interpre_exer",        L"/Patient_info_print",  L"/Interpre_rest_print",
                                L"/Interpre_usa_rest_print", L"/Interpre_rr_print", L"/Interpre_rhy_print",
                                L"/Interpre_final_print", L"/Interpre_extra_print", L"/Interpre_exer_print"};
    for (int kind = 0; kind < 15; ++kind) EXPECT_EQ(doc.GetDefXMLPath(kind, 0, 0), CString(kByKind[kind])) << kind;
    EXPECT_EQ(GetLayoutEntries(g_stDefCtrlPos, LayoutTable::UsaRest)[0].arrXmlPath[0],
              CString(L"/Interpre_usa_rest"));
}

// The ward label is looked up with a trailing blank; the element is named
// without it, as XML names hold no blanks.
TEST_F(LayoutTables, WardLabelWithTrailingBlankFindsItsElement)
{
    Write(Stylesheet(Template("Interpre_rest", "<Interpre_ward_stc left=\"44\" visible=\"5\">病棟"
                                               "<Xml_path>/x/Ward</Xml_path></Interpre_ward_stc>"),
                     "<Tag id=\"5\" display_visible=\"false\"/>"));
    Load(LOAD_POS_REST);
    const _POSITION_CTRL& ward = Entry(LayoutTable::Rest, L"Interpre_ward_stc ");
    EXPECT_EQ(ward.nLeft, 44);
    EXPECT_EQ(ward.strCaption, CString(L"病棟"));
    ASSERT_EQ(ward.arrXmlPath.GetSize(), 1);
    EXPECT_EQ(ward.arrXmlPath[0], CString(L"/x/Ward"));
    EXPECT_EQ(ward.bVisible, 0);
}

namespace {

std::string AdditionRows(const char* labelVisible, const char* contentTags[3])
{
    std::string body = std::string("<Interpre_addition_stc visible=\"") + labelVisible +
                       "\"/><Interpre_addition_other visible=\"" + labelVisible + "\"/>";
    for (int n = 1; n <= 3; ++n) {
        body += "<Interpre_addition_content_" + std::to_string(n) + "_edt visible=\"" + contentTags[n - 1] + "\"/>";
    }
    return body;
}

const char kTags[] = "<Tag id=\"1\" display_visible=\"true\" print_visible=\"true\"/>"
                     "<Tag id=\"2\" display_visible=\"false\" print_visible=\"false\"/>";

}  // namespace

// The additions label, and on screen the link beside it, show exactly when
// one of the three additions does, whatever the stylesheet says of them.
TEST_F(LayoutTables, AdditionLabelFollowsTheAdditions)
{
    const char* oneShown[3] = {"2", "1", "2"};
    const char* noneShown[3] = {"2", "2", "2"};
    Write(Stylesheet(Template("Interpre_rest", AdditionRows("2", oneShown)) +
                         Template("Interpre_rhythm", AdditionRows("1", noneShown)) +
                         Template("Interpre_rest_print", AdditionRows("2", oneShown)),
                     kTags));
    Load(LOAD_POS_REST);
    Load(LOAD_POS_RHYTHM);
    Load(LOAD_POS_REST_PRINT);
    EXPECT_EQ(Entry(LayoutTable::Rest, L"Interpre_addition_stc").bVisible, 1);
    EXPECT_EQ(Entry(LayoutTable::Rest, L"Interpre_addition_other").bVisible, 1);
    EXPECT_EQ(Entry(LayoutTable::Rest, L"Interpre_addition_content_1_edt").bVisible, 0);
    EXPECT_EQ(Entry(LayoutTable::Rhythm, L"Interpre_addition_stc").bVisible, 0);
    EXPECT_EQ(Entry(LayoutTable::Rhythm, L"Interpre_addition_other").bVisible, 0);
    EXPECT_EQ(Entry(LayoutTable::RestPrint, L"Interpre_addition_stc").bVisible, 1);
    // Tables without additions have no such rule (and no such entry).
    EXPECT_EQ(Loaded(LayoutTable::PatInfo), 1);
}

TEST_F(LayoutTables, RefreshBeforeAnyLoadChangesNothing)
{
    Write(Stylesheet(Template("Patient_info", kIdEdt)));
    Load(LOAD_POS_REFRESH_VISIBLE);
    for (int t = 0; t < static_cast<int>(LayoutTable::Count); ++t)
        EXPECT_EQ(Loaded(static_cast<LayoutTable>(t)), 0);
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_id_edt").nLeft, -1);
}

// A refresh reads the tags again for every loaded table, applies the
// addition rule again and leaves everything else as the first load read it.
TEST_F(LayoutTables, RefreshRereadsOnlyVisibility)
{
    const char* contents[3] = {"2", "2", "2"};
    const std::string rest = AdditionRows("1", contents) + "<Interpre_comment_stc left=\"3\" visible=\"1\">A"
                                                           "<Xml_path>/p</Xml_path></Interpre_comment_stc>";
    Write(Stylesheet(Template("Interpre_rest", rest) + Template("Interpre_rhythm", rest),
                     "<Tag id=\"1\" display_visible=\"true\"/><Tag id=\"2\" display_visible=\"true\"/>"));
    Load(LOAD_POS_REST);
    EXPECT_EQ(Entry(LayoutTable::Rest, L"Interpre_addition_stc").bVisible, 1);

    Write(Stylesheet(Template("Interpre_rest", "<Interpre_comment_stc left=\"8\" visible=\"1\">B"
                                               "<Xml_path>/q</Xml_path></Interpre_comment_stc>" +
                                               AdditionRows("1", contents)),
                     "<Tag id=\"1\" display_visible=\"FALSE\"/><Tag id=\"2\" display_visible=\"false\"/>"));
    Load(LOAD_POS_REFRESH_VISIBLE);
    const _POSITION_CTRL& comment = Entry(LayoutTable::Rest, L"Interpre_comment_stc");
    EXPECT_EQ(comment.bVisible, 0);
    EXPECT_EQ(comment.nLeft, 3);
    EXPECT_EQ(comment.strCaption, CString(L"A"));
    ASSERT_EQ(comment.arrXmlPath.GetSize(), 1);
    EXPECT_EQ(comment.arrXmlPath[0], CString(L"/p"));
    EXPECT_EQ(Entry(LayoutTable::Rest, L"Interpre_addition_stc").bVisible, 0);
    EXPECT_EQ(Entry(LayoutTable::Rest, L"Interpre_addition_other").bVisible, 0);
    // The rhythm table was not loaded and stays so.
    EXPECT_EQ(Loaded(LayoutTable::Rhythm), 0);
    EXPECT_EQ(Entry(LayoutTable::Rhythm, L"Interpre_comment_stc").nLeft, -1);
}

// Without a stylesheet the tables count as loaded with every entry at its
// defaults: the forms then use their built-in layout.
TEST_F(LayoutTables, MissingStylesheetLeavesDefaultsMarkedLoaded)
{
    CTavrionDoc doc;
    doc.GetCtrlPosFromXSL(LOAD_POS_FINAL);
    EXPECT_EQ(Loaded(LayoutTable::PatInfo), 1);
    EXPECT_EQ(Loaded(LayoutTable::Final), 1);
    for (int i = 0; i < POS_FINAL_COUNT; ++i) {
        const _POSITION_CTRL& entry = g_stDefCtrlPos.stFinal[i];
        EXPECT_EQ(entry.nLeft, -1);
        EXPECT_EQ(entry.bEnable, 1);
        EXPECT_EQ(entry.bVisible, 1);
        EXPECT_TRUE(entry.strCaption.IsEmpty());
        EXPECT_EQ(doc.GetDefXMLPath(2, i, 0), CString());
    }
    EXPECT_TRUE(doc.GetSuffix().IsEmpty());
}

TEST_F(LayoutTables, MalformedStylesheetReadsAsMissing)
{
    Write(Stylesheet(Template("Patient_info", kIdEdt)).substr(0, 250));
    Load(LOAD_POS_REST);
    EXPECT_EQ(Loaded(LayoutTable::PatInfo), 1);
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_id_edt").nLeft, -1);
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_id_edt").arrXmlPath.GetSize(), 0);
}

TEST_F(LayoutTables, NoWorkDirectoryReadsAsMissing)
{
    Write(Stylesheet(Template("Patient_info", kIdEdt)));
    g_pWorkDir = nullptr;
    Load(LOAD_POS_REST);
    EXPECT_EQ(Loaded(LayoutTable::Rest), 1);
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_id_edt").nLeft, -1);
}

TEST_F(LayoutTables, LoaderWithoutStylesheetRefusesAndLeavesTableUnloaded)
{
    CLayoutDoc doc;
    EXPECT_EQ(doc.LoadPatInfoPos(nullptr, 0), 255);
    EXPECT_EQ(doc.LoadRestInterprePos(nullptr, 1), 255);
    EXPECT_EQ(Loaded(LayoutTable::PatInfo), 0);
    EXPECT_EQ(Loaded(LayoutTable::Rest), 0);

    Write(Stylesheet(Template("Patient_info", kIdEdt)));
    CECGXMLParser xsl(Wide(m_dir.File("Tavrion.xsl")), 0, CString());
    EXPECT_EQ(doc.LoadPatInfoPos(&xsl, 0), 0);
    EXPECT_EQ(Loaded(LayoutTable::PatInfo), 1);
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_id_edt").nLeft, 10);
}

TEST_F(LayoutTables, GetDataPositionWithoutDocumentLeavesTheEntry)
{
    Write(Stylesheet(Template("Patient_info", kIdEdt)));
    CECGXMLParser xsl(Wide(m_dir.File("Tavrion.xsl")), 0, CString());
    XML_PARSER* document = xsl.m_pXMLParser;
    xsl.m_pXMLParser = nullptr;
    _POSITION_CTRL entry;
    entry.nLeft = 7;
    EXPECT_EQ(xsl.GetDataPosition(entry, L"/xsl:stylesheet/xsl:Layout/xsl:template[@name='Patient_info']/"
                                         L"Patient_id_edt",
                                  0, 0),
              0);
    EXPECT_EQ(entry.nLeft, 7);
    xsl.m_pXMLParser = document;
    EXPECT_EQ(xsl.GetDataPosition(entry, L"/xsl:stylesheet/xsl:Layout/xsl:template[@name='Patient_info']/"
                                         L"Patient_id_edt",
                                  0, 0),
              1);
    EXPECT_EQ(entry.nLeft, 10);
    // Only the visibility: the rest of the entry stays.
    entry.nLeft = 5;
    EXPECT_EQ(xsl.GetDataPosition(entry, L"/xsl:stylesheet/xsl:Layout/xsl:template[@name='Patient_info']/Nothing",
                                  0, 1),
              1);
    EXPECT_EQ(entry.nLeft, 5);
    EXPECT_EQ(entry.arrXmlPath.GetSize(), 1);
}

// ---- the layout suffix --------------------------------------------------------

namespace {

std::string SuffixTags(const std::string& suffix)
{
    return "<Tag id=\"1\" suffix=\"first\"/><Tag id=\"2\" display_visible=\"true\" suffix=\"" + suffix + "\"/>";
}

}  // namespace

// Four columns on paper: a character counts the columns it is drawn in.
TEST_F(LayoutTables, SuffixIsCutToFourColumns)
{
    struct Case {
        const char* stored;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"abcdef", L"abcd"},      // six one-byte characters keep four
        {"様様様", L"様様"},      // three two-byte characters keep two (4 bytes)
        {"a様様", L"a様"},        // never half a character
        {"  様 ", L"様"},         // blanks go before measuring
        {"ｱｲｳｴｵ", L"ｱｲｳｴ"},       // half-width kana are one byte each
        {"这这这这", L"这这"},    // no Shift-JIS code, but two columns as code page 936 holds it
        {"한한한한", L"한한"},    // in neither code page, drawn full width
        {"", L""},
    };
    for (const Case& c : cases) {
        Write(Stylesheet(std::string(), SuffixTags(c.stored)));
        CTavrionDoc doc;
        doc.GetCtrlPosFromXSL(LOAD_POS_REST);
        EXPECT_EQ(doc.GetSuffix(), CString(c.expected)) << c.stored;
        EXPECT_EQ(g_strSuffix, CString(c.expected)) << c.stored;
    }
}

TEST_F(LayoutTables, MissingSuffixEmptiesTheGlobal)
{
    g_strSuffix = L"old";
    Write(Stylesheet(std::string(), "<Tag id=\"2\" display_visible=\"true\"/>"));
    Load(LOAD_POS_RR);
    EXPECT_TRUE(g_strSuffix.IsEmpty());
}

// The suffix is read once per document, whatever the type; a new document
// reads it again into the one global.
TEST_F(LayoutTables, SuffixIsReadOncePerDocument)
{
    Write(Stylesheet(std::string(), SuffixTags("殿")));
    CTavrionDoc first;
    first.GetCtrlPosFromXSL(LOAD_POS_REFRESH_VISIBLE);
    EXPECT_EQ(g_strSuffix, CString(L"殿"));
    Write(Stylesheet(std::string(), SuffixTags("様")));
    first.GetCtrlPosFromXSL(LOAD_POS_REST);
    EXPECT_EQ(g_strSuffix, CString(L"殿"));
    CTavrionDoc second;
    second.GetCtrlPosFromXSL(LOAD_POS_REST);
    EXPECT_EQ(g_strSuffix, CString(L"様"));
    EXPECT_EQ(first.GetSuffix(), CString(L"様"));
}

TEST_F(LayoutTables, ResetPutsTheTablesBackAsBuilt)
{
    Write(Stylesheet(Template("Patient_info", kIdEdt), SuffixTags("x")));
    Load(LOAD_POS_REST);
    ASSERT_EQ(Loaded(LayoutTable::PatInfo), 1);
    ResetDefCtrlPos();
    EXPECT_EQ(Loaded(LayoutTable::PatInfo), 0);
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_id_edt").nLeft, -1);
    EXPECT_EQ(Entry(LayoutTable::PatInfo, L"Patient_id_edt").arrXmlPath.GetSize(), 0);
    EXPECT_TRUE(g_strSuffix.IsEmpty());
}
