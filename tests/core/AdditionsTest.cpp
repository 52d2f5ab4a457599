// Additions, pick lists and the code checks against the shipped master files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/ECGData.h"
#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "tests/support/TestSupport.h"

using testsupport::TempDir;
using testsupport::Utf8;
using testsupport::Wide;

namespace {

class AdditionDoc : public CTavrionDoc {
public:
    using CTavrionDoc::GetAdditionalInforFromXMLFile;
    using CTavrionDoc::SaveAdditionToXML;
    using CTavrionDoc::UpdateCurItemAddition;
    void BuildPanel() { InitCheckArrayRhyRR(); }
};

bool g_hasAdditionTag = true;

long FakeGetData(_ECGDATA*, UINT tag, UINT_PTR, void*, long)
{
    return (tag == 4108 && g_hasAdditionTag) ? 4 : 0;
}

class FakeImage {
public:
    explicit FakeImage(bool hasTag) : m_bytes(sizeof(_ECGDATA) + 16, 0)
    {
        g_hasAdditionTag = hasTag;
        EF_GETDATA fn = &FakeGetData;
        std::memcpy(m_bytes.data() + offsetof(_ECGDATA, pfnGetData), &fn, sizeof fn);
    }
    _ECGDATA* Get() { return reinterpret_cast<_ECGDATA*>(m_bytes.data()); }

private:
    std::vector<BYTE> m_bytes;
};

std::string AdditionsXml(int count)
{
    std::string body;
    for (int n = 1; n <= count; ++n) {
        body += "<Addition_content number=\"" + std::to_string(n) + "\" title=\"T" + std::to_string(n) +
                "\">C\r\n" + std::to_string(n) + "</Addition_content>";
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Rawdata><Tavrion><Addition><Patient_add_section>"
           "<Addition_editor><Editor_name>編集者</Editor_name><Edit_date style=\"Date\" year=\"2021\" month=\"4\" "
           "day=\"5\" hour=\"6\" minute=\"7\" second=\"8\"/></Addition_editor>" +
           body +
           "</Patient_add_section><Voktext_section><Login_editor><Editor_name>ログイン</Editor_name>"
           "<Edit_date style=\"Date\" year=\"2021\" month=\"04\" day=\"05\" hour=\"06\" minute=\"07\" "
           "second=\"0\"/></Login_editor></Voktext_section></Addition></Tavrion></Rawdata>";
}

class WorkDirTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_saved = g_pWorkDir;
        UseWorkDir(testsupport::WorkDir());
    }
    void TearDown() override { g_pWorkDir = m_saved; }
    void UseWorkDir(const std::string& dir)
    {
        const CString path = Wide(dir);
        m_workDir.assign(path.GetString(), path.GetString() + path.GetLength() + 1);
        g_pWorkDir = m_workDir.data();
    }

    std::vector<wchar_t> m_workDir;
    wchar_t* m_saved = nullptr;
};

}  // namespace

TEST(Additions, ReadFromTheRecord)
{
    TempDir dir;
    CECGXMLParser xml(Wide(dir.Write("a.xml", AdditionsXml(3))), 0, CString());
    AdditionDoc doc;
    FakeImage image(true);
    _ADDITIONAL_INFO info;
    doc.GetAdditionalInforFromXMLFile(&xml, info, image.Get());
    EXPECT_EQ(1, info.bPresent);
    EXPECT_EQ(3, info.nCount);
    EXPECT_EQ(CString(L"2021/04/05 06:07:08"), info.strEditDate);
    EXPECT_EQ(CString(L"編集者"), info.strEditor);
    EXPECT_EQ(CString(L"T2"), info.strTitle[1]);
    EXPECT_EQ(CString(L"C2"), info.strContent[1]);
    EXPECT_EQ(CString(L"2021/04/05 06:07"), info.strLoginEditDate);
    EXPECT_EQ(CString(L"ログイン"), info.strLoginEditor);
}

// The edit date reads as a checked date: year 0 or a day past the month's
// end shows as none, and so does the date saved for an edit time that was
// none, rather than as zeros.
TEST(Additions, EditDateThatIsNoDateReadsAsNone)
{
    TempDir dir;
    AdditionDoc doc;
    FakeImage image(true);
    const auto read = [&](const std::string& name, const std::string& ymd) {
        std::string text = AdditionsXml(1);
        const std::string stored = "year=\"2021\" month=\"4\" day=\"5\"";
        text.replace(text.find(stored), stored.size(), ymd);
        CECGXMLParser xml(Wide(dir.Write(name, text)), 0, CString());
        _ADDITIONAL_INFO info;
        doc.GetAdditionalInforFromXMLFile(&xml, info, image.Get());
        return info.strEditDate;
    };
    EXPECT_EQ(CString(L"****/**/** **:**:**"), read("zero.xml", "year=\"0\" month=\"4\" day=\"5\""));
    EXPECT_EQ(CString(L"****/**/** **:**:**"), read("feb30.xml", "year=\"2001\" month=\"2\" day=\"30\""));
    EXPECT_EQ(CString(L"2001/02/28 06:07:08"), read("feb28.xml", "year=\"2001\" month=\"2\" day=\"28\""));

    const CString path = Wide(dir.Write("none.xml", AdditionsXml(1)));
    _ADDITIONAL_INFO info;
    {
        CECGXMLParser xml(path, 0, CString());
        doc.GetAdditionalInforFromXMLFile(&xml, info, image.Get());
        info.strEditDate = L"****/**/** **:**:**";
        doc.SaveAdditionToXML(&xml, info);
        xml.SaveToXMLFile();
        ASSERT_EQ(0, xml.m_bLastSaveFailed);
    }
    CECGXMLParser back(path, 0, CString());
    _ADDITIONAL_INFO again;
    doc.GetAdditionalInforFromXMLFile(&back, again, image.Get());
    EXPECT_EQ(CString(L"****/**/** **:**:**"), again.strEditDate);
}

TEST(Additions, RecordWithoutTheTagHasNone)
{
    TempDir dir;
    CECGXMLParser xml(Wide(dir.Write("a.xml", AdditionsXml(3))), 0, CString());
    AdditionDoc doc;
    FakeImage image(false);
    _ADDITIONAL_INFO info;
    info.bPresent = 1;
    doc.GetAdditionalInforFromXMLFile(&xml, info, image.Get());
    EXPECT_EQ(0, info.bPresent);
    info.bPresent = 7;
    doc.GetAdditionalInforFromXMLFile(&xml, info, nullptr);
    EXPECT_EQ(7, info.bPresent);
}

// The arrays hold 256: a record with more shows its first 256. The others,
// which no form shows, were dropped by every save (this test asserted the
// cut); they now stay as stored after the item's, a save that changed an
// addition included.
TEST(Additions, MoreThanTheArraysHoldShowsItsFirstAndKeepsTheRestAsStored)
{
    TempDir dir;
    const std::string path = dir.Write("a.xml", AdditionsXml(ADDITION_MAX + 4));
    AdditionDoc doc;
    FakeImage image(true);
    _ADDITIONAL_INFO info;
    {
        CECGXMLParser xml(Wide(path), 0, CString());
        doc.GetAdditionalInforFromXMLFile(&xml, info, image.Get());
        EXPECT_EQ(ADDITION_MAX, info.nCount);
        EXPECT_EQ(CString(L"T256"), info.strTitle[ADDITION_MAX - 1]);
        info.nCount = ADDITION_MAX + 50;   // a caller's mistake must not read past the arrays
        info.strTitle[1] = L"T2 edited";
        doc.SaveAdditionToXML(&xml, info);
        EXPECT_EQ(ADDITION_MAX + 4,
                  xml.GetObjectCount(L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content"));
        xml.SaveToXMLFile();
    }
    CECGXMLParser back(Wide(path), 0, CString());
    for (int n : {257, 260}) {
        CString element, title, content;
        element.Format(L"/Rawdata/Tavrion/Addition/Patient_add_section/Addition_content[%d]", n);
        ASSERT_TRUE(back.GetDataFromXMLDOM(title, element, 2, L"title"));
        ASSERT_TRUE(back.GetDataFromXMLDOM(content, element, 4, CString()));
        EXPECT_EQ(CString(L"T") + Wide(std::to_string(n)), title);
        EXPECT_EQ(CString(L"C\n") + Wide(std::to_string(n)), content);   // the raw CR LF read as XML reads it
    }
    _ADDITIONAL_INFO again;
    doc.GetAdditionalInforFromXMLFile(&back, again, image.Get());
    EXPECT_EQ(ADDITION_MAX, again.nCount);
    EXPECT_EQ(CString(L"T2 edited"), again.strTitle[1]);
    EXPECT_EQ(CString(L"C100"), again.strContent[99]);
    EXPECT_EQ(CString(L"2021/04/05 06:07:08"), again.strEditDate);
}

// Additions a person adds past those the reader found (numbers 3 and 4 of
// a record numbered 1, 2, 4) are written after the last element it found,
// so that the next reading finds each by its number, and before the stored
// element numbered 4 it did not find; one such element standing before
// them goes after them. That element stays whole, and nothing is dropped;
// in a record of which the reader found none, each stays where it stood.
TEST(Additions, AdditionsAddedPastAGapAreFoundByTheirNumbersBeforeTheStoredOneOfTheirNumber)
{
    TempDir dir;
    AdditionDoc doc;
    FakeImage image(true);
    for (const std::vector<std::string>& numbers :
         {std::vector<std::string>{"1", "2", "4"}, std::vector<std::string>{"1", "4", "2"}}) {
        std::string elements;
        for (size_t i = 0; i < numbers.size(); ++i)
            elements += "<Addition_content number=\"" + numbers[i] + "\" title=\"S" + std::to_string(i + 1) +
                        "\">s" + std::to_string(i + 1) + "</Addition_content>";
        std::string text = AdditionsXml(0);
        text.insert(text.find("</Patient_add_section>"), elements);
        const std::string path = dir.Write("gap" + numbers[1] + ".xml", text);
        {
            CECGXMLParser xml(Wide(path), 0, CString());
            _ADDITIONAL_INFO info;
            doc.GetAdditionalInforFromXMLFile(&xml, info, image.Get());
            ASSERT_EQ(3, info.nCount);
            EXPECT_TRUE(info.strTitle[2].IsEmpty());   // no element is numbered 3
            info.nCount = 4;
            info.strTitle[2] = L"N3";
            info.strContent[2] = L"n3";
            info.strTitle[3] = L"N4";
            info.strContent[3] = L"n4";
            doc.SaveAdditionToXML(&xml, info);
            xml.SaveToXMLFile();
            ASSERT_FALSE(xml.m_bLastSaveFailed);
        }
        CECGXMLParser back(Wide(path), 0, CString());
        _ADDITIONAL_INFO again;
        doc.GetAdditionalInforFromXMLFile(&back, again, image.Get());
        const std::string second = numbers[1] == "2" ? "S2" : "S3";
        std::vector<std::string> read;
        for (int i = 0; i < again.nCount; ++i) read.push_back(Utf8(again.strTitle[i]) + "/" + Utf8(again.strContent[i]));
        EXPECT_EQ((std::vector<std::string>{"S1/s1", second + "/" + Utf8(CString(second == "S2" ? L"s2" : L"s3")),
                                            "N3/n3", "N4/n4", "/"}),
                  read);
        const std::string stored = testsupport::ReadFileBytes(path);
        const std::string kept = numbers[1] == "2" ? "S3\">s3" : "S2\">s2";
        EXPECT_NE(stored.find("<Addition_content number=\"4\" title=\"" + kept + "</Addition_content>"),
                  std::string::npos)
            << stored;
        EXPECT_LT(stored.find("N4"), stored.find(kept)) << stored;
    }
    // None of whose numbers the reader finds: a first addition typed goes
    // after them all, and each stays.
    const std::string none = dir.Write("none.xml", [] {
        std::string text = AdditionsXml(0);
        text.insert(text.find("</Patient_add_section>"), "<Addition_content number=\"01\" title=\"S1\">s1"
                                                          "</Addition_content><Addition_content title=\"S2\">s2"
                                                          "</Addition_content>");
        return text;
    }());
    {
        CECGXMLParser xml(Wide(none), 0, CString());
        _ADDITIONAL_INFO info;
        doc.GetAdditionalInforFromXMLFile(&xml, info, image.Get());
        ASSERT_EQ(2, info.nCount);
        info.strTitle[0] = L"N1";
        doc.SaveAdditionToXML(&xml, info);
        xml.SaveToXMLFile();
        ASSERT_FALSE(xml.m_bLastSaveFailed);
    }
    const std::string stored = testsupport::ReadFileBytes(none);
    const size_t first = stored.find("<Addition_content number=\"01\" title=\"S1\">s1</Addition_content>");
    const size_t second = stored.find("<Addition_content title=\"S2\">s2</Addition_content>");
    EXPECT_NE(first, std::string::npos) << stored;
    EXPECT_LT(first, second) << stored;
    EXPECT_LT(second, stored.find("<Addition_content number=\"1\" title=\"N1\"")) << stored;
}

TEST(Additions, EmptiedSecondRowMovesTheLaterAdditionsUp)
{
    AdditionDoc doc;
    doc.BuildPanel();
    _ADDITIONAL_INFO info;
    info.bPresent = 1;
    info.nCount = 5;
    for (int i = 0; i < 5; ++i) {
        info.strTitle[i].Format(L"T%d", i + 1);
        info.strContent[i].Format(L"C%d", i + 1);
    }
    doc.SetCtrlData(3999, L" T1 ", 1, -1);
    doc.SetCtrlData(4008, L"C1", 1, -1);
    doc.SetCtrlData(4000, L"  ", 1, -1);
    doc.SetCtrlData(4001, L"T3", 1, -1);
    doc.SetCtrlData(4010, L"C3", 1, -1);
    doc.UpdateCurItemAddition(0x000A, info);
    EXPECT_EQ(4, info.nCount);
    EXPECT_EQ(CString(L"T1"), info.strTitle[0]);
    EXPECT_EQ(CString(L"T3"), info.strTitle[1]);
    EXPECT_EQ(CString(L"T4"), info.strTitle[2]);
    EXPECT_EQ(CString(L"C5"), info.strContent[3]);
    EXPECT_TRUE(info.strTitle[4].IsEmpty());
}

TEST(Additions, FormWithoutRowsEmptiesAFewAdditions)
{
    AdditionDoc doc;
    doc.BuildPanel();
    _ADDITIONAL_INFO info;
    info.bPresent = 1;
    info.nCount = 2;
    info.strTitle[1] = L"x";
    doc.UpdateCurItemAddition(0x7003, info);
    EXPECT_EQ(0, info.nCount);
    EXPECT_TRUE(info.strTitle[1].IsEmpty());
}

TEST(EditableParams, TheLastListEntryIsNeverTakenByIndex)
{
    CTavrionDoc doc;
    EXPECT_EQ(0, doc.InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(12), L"x"));
    EXPECT_EQ(nullptr, doc.GetEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(-1)));
    const auto index = static_cast<_EDITABLE_PARAM_INDEX>(3);
    EXPECT_EQ(1, doc.InsertEditableParam(index, L"薬A"));
    EXPECT_EQ(1, doc.InsertEditableParam(index, L"薬B"));
    const CStringArray* list = doc.GetEditableParam(index);
    EXPECT_EQ(CString(L"薬A"), CTavrionDoc::GetListedText(list, 0, CString()));
    EXPECT_EQ(CString(L"typed"), CTavrionDoc::GetListedText(list, 0, L"typed"));
    // The last entry stands for free text: never taken by index.
    EXPECT_TRUE(CTavrionDoc::GetListedText(list, 1, CString()).IsEmpty());
    EXPECT_TRUE(CTavrionDoc::GetListedText(list, 2, CString()).IsEmpty());
    EXPECT_EQ(1, doc.ClearEditableParam(index));
    EXPECT_EQ(0, doc.GetEditableParam(index)->GetSize());

    const int saved = g_bEditSubstituteMode;
    doc.SetSubstituteParam(static_cast<_SUBSTITUTE_SELECT_OR_EDITMODE>(2), 9);
    EXPECT_EQ(9, doc.GetSubstituteParam(SUBSTITUTE_EDITMODE));
    g_bEditSubstituteMode = saved;
}

TEST_F(WorkDirTest, CodesAreValidOnlyAsTheMastersListThem)
{
    CTavrionDoc doc;
    EXPECT_EQ(1, doc.IsMinnesotaValid(L"1-1-1", CString()));
    EXPECT_EQ(1, doc.IsMinnesotaValid(L"1-1-1", L"大きなQ波(q/r比1/3以上)"));
    EXPECT_EQ(0, doc.IsMinnesotaValid(L"1-1-1", L"other"));
    EXPECT_EQ(0, doc.IsMinnesotaValid(CString(), CString()));
    EXPECT_EQ(0, doc.IsMinnesotaValid(L"1'] | //Code[@value='1-1-1", CString()));
    EXPECT_EQ(0, doc.IsMinnesotaValid(L"9-9-9\"", CString()));
    EXPECT_EQ(1, doc.IsIvrelValid(L"J1", CString()));
    EXPECT_EQ(1, doc.IsIvrelValid(L"R01", L"洞調律"));
    EXPECT_EQ(0, doc.IsIvrelValid(L"R", CString()));
}

TEST(MinnesotaTyped, TypedCodesMustHaveTheShapeOfAMinnesotaCode)
{
    CTavrionDoc doc;
    EXPECT_EQ(1, doc.IsMinnesotaNotMatchingValid(L"1-2-3", L"+"));
    EXPECT_EQ(1, doc.IsMinnesotaNotMatchingValid(L"12-3", CString()));
    EXPECT_EQ(1, doc.IsMinnesotaNotMatchingValid(L" 1 - 2", L"#"));
    EXPECT_EQ(0, doc.IsMinnesotaNotMatchingValid(L"123", CString()));
    EXPECT_EQ(0, doc.IsMinnesotaNotMatchingValid(L"1-23", CString()));
    EXPECT_EQ(0, doc.IsMinnesotaNotMatchingValid(L"1-2-3-4", CString()));
    EXPECT_EQ(0, doc.IsMinnesotaNotMatchingValid(L"1A", CString()));
    EXPECT_EQ(0, doc.IsMinnesotaNotMatchingValid(L"1-2-3  ", CString()));
    EXPECT_EQ(0, doc.IsMinnesotaNotMatchingValid(L"--", CString()));
    EXPECT_EQ(0, doc.IsMinnesotaNotMatchingValid(CString(), CString()));
}

TEST_F(WorkDirTest, LanguageIndexComesFromTheHostIni)
{
    EXPECT_EQ(3, GetIvrelIndex());
    TempDir dir;
    UseWorkDir(dir.Path());
    EXPECT_EQ(-1, GetIvrelIndex());
    dir.Write("quarnel.ini", "[LANGUAGE]\nLANGUAGE=english\n");
    EXPECT_EQ(3, GetIvrelIndex());
    dir.Write("quarnel.ini", "[LANGUAGE]\nLANGUAGE=ENGLISH\n");
    EXPECT_EQ(5, GetIvrelIndex());
}

TEST_F(WorkDirTest, VersionTextJoinsTheProgramTheSystemAndTheAnalysis)
{
    TempDir dir;
    const std::string path = dir.Write(
        "v.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Rawdata><Tavrion><System><System_info><System_section>"
                 "<System_type>FCP-8800  </System_type></System_section></System_info></System>"
                 "<Analysis><Analysis_section><Ivreles version=\"3.2\"/></Analysis_section></Analysis>"
                 "</Tavrion></Rawdata>");
    CTavrionDoc doc;
    const CString text = doc.GetVersionText(Wide(path));
    EXPECT_EQ(CString(L"01.20 FCP-8800 3.2"), text);
}
