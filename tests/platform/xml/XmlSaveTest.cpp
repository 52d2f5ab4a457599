// Loading and saving XML_PARSER documents: encodings kept, load errors with
// their line, unreadable files never written over, and saves that fail at
// any step leaving the old file whole.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/xml/XmlParser.h"
#include "platform/xml/XmlSaveFile.h"
#include "tests/support/TestSupport.h"

using testsupport::Wide;

namespace {

std::string ShiftJis(const std::wstring& text)
{
    return platform::EncodeCodePage(932, text);
}

CString ReadText(XML_PARSER& xml, const wchar_t* xpath)
{
    CString value;
    EXPECT_EQ(1, xml.GetDataFromXMLDOM(value, xpath, XML_TYPE_TEXT, L"")) << xpath;
    return value;
}

const wchar_t kName[] = L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_name";

// A Windows-written record: code page 932 text, including the wave dash and
// an NEC circled digit that strict Shift_JIS lacks.
std::string ShiftJisRecord(const char* declaredName)
{
    return std::string("<?xml version=\"1.0\" encoding=\"") + declaredName + "\"?>\r\n" +
           ShiftJis(L"<Rawdata><Tavrion><Inspection><Patient_section>"
                    L"<Patient_name>山田　太郎</Patient_name><Ward>第１病棟～①</Ward>"
                    L"</Patient_section></Inspection></Tavrion></Rawdata>\r\n");
}

TEST(XmlSaveTest, ShiftJisFileStaysShiftJisWithItsDeclaredName)
{
    testsupport::TempDir dir;
    for (const char* declared : {"Shift_JIS", "SHIFT-JIS", "CP932"}) {
        SCOPED_TRACE(declared);
        const std::string path = dir.Write("sjis.xml", ShiftJisRecord(declared));
        XML_PARSER xml;
        ASSERT_EQ(1, xml.InitXML(Wide(path), 0)) << xml.GetLoadError().GetString();
        EXPECT_EQ(CString(L"山田　太郎"), ReadText(xml, kName));
        EXPECT_EQ(CString(L"第１病棟～①"), ReadText(xml, L"/Rawdata/Tavrion/Inspection/Patient_section/Ward"));

        // One character code page 932 cannot hold goes out as a reference.
        ASSERT_EQ(1, xml.SetDataToXMLDOM(L"鈴木　花子 한", kName, XML_TYPE_TEXT, L""));
        ASSERT_EQ(1, xml.SaveToXMLFile(Wide(path)));

        const std::string bytes = testsupport::ReadFileBytes(path);
        EXPECT_EQ(0u, bytes.find(std::string("<?xml version=\"1.0\" encoding=\"") + declared + "\"?>")) << bytes;
        EXPECT_NE(std::string::npos, bytes.find(ShiftJis(L"鈴木　花子")));
        EXPECT_NE(std::string::npos, bytes.find(ShiftJis(L"第１病棟～①")));
        EXPECT_EQ(std::string::npos, bytes.find("\xE9\x88\xB4")) << "UTF-8 of 鈴 in a Shift-JIS file";

        XML_PARSER again;
        ASSERT_EQ(1, again.InitXML(Wide(path), 0)) << again.GetLoadError().GetString();
        EXPECT_EQ(CString(L"鈴木　花子 한"), ReadText(again, kName));
        EXPECT_EQ(CString(L"第１病棟～①"), ReadText(again, L"/Rawdata/Tavrion/Inspection/Patient_section/Ward"));
    }
}

TEST(XmlSaveTest, Utf8FileStaysUtf8AndANewFileIsUtf8WithDeclaration)
{
    testsupport::TempDir dir;
    const std::string path = dir.Write("utf8.xml",
                                       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                       "<Rawdata><Tavrion><Inspection><Patient_section>"
                                       "<Patient_name>山田 太郎</Patient_name>"
                                       "</Patient_section></Inspection></Tavrion></Rawdata>\n");
    XML_PARSER xml;
    ASSERT_EQ(1, xml.InitXML(Wide(path), 0));
    ASSERT_EQ(1, xml.SetDataToXMLDOM(L"心電図 😀", kName, XML_TYPE_TEXT, L""));
    ASSERT_EQ(1, xml.SaveToXMLFile(Wide(path)));
    std::string bytes = testsupport::ReadFileBytes(path);
    EXPECT_EQ(0u, bytes.find("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_NE(std::string::npos, bytes.find(platform::ToUtf8(L"心電図 😀")));
    XML_PARSER again;
    ASSERT_EQ(1, again.InitXML(Wide(path), 0));
    EXPECT_EQ(CString(L"心電図 😀"), ReadText(again, kName));

    // No declaration at all reads as UTF-8 and is saved with one.
    const std::string bare = dir.Write("bare.xml", "<Rawdata><A>é</A></Rawdata>");
    XML_PARSER plain;
    ASSERT_EQ(1, plain.InitXML(Wide(bare), 0));
    EXPECT_EQ(CString(L"é"), ReadText(plain, L"/Rawdata/A"));
    ASSERT_EQ(1, plain.SaveToXMLFile(Wide(bare)));
    EXPECT_EQ(0u, testsupport::ReadFileBytes(bare).find("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));

    // A path written the Windows way reaches the same file.
    std::string windowsPath = bare;
    for (char& ch : windowsPath) {
        if (ch == '/') ch = '\\';
    }
    XML_PARSER windows;
    ASSERT_EQ(1, windows.InitXML(Wide(windowsPath), 0));
    EXPECT_EQ(CString(L"é"), ReadText(windows, L"/Rawdata/A"));
}

TEST(XmlSaveTest, MalformedFileFailsReadsReportsItsLineAndIsNeverOverwritten)
{
    testsupport::TempDir dir;
    const std::string original =
        "<?xml version=\"1.0\"?>\n"
        "<Rawdata>\n"
        "  <Tavrion>\n"
        "    <Patient_id>123</Patient_id>\n"
        "  </Tavrion\n"   // line 5: the end tag is never closed
        "</Rawdata>\n";
    const std::string path = dir.Write("broken.xml", original);
    XML_PARSER xml;
    EXPECT_EQ(0, xml.InitXML(Wide(path), 0));
    EXPECT_FALSE(xml.IsLoaded());
    const CString error = xml.GetLoadError();
    EXPECT_EQ(0, error.Find(L"line 6")) << error.GetString();   // libxml2 notices at the next tag

    CString value;
    EXPECT_EQ(0, xml.GetDataFromXMLDOM(value, L"/Rawdata/Tavrion/Patient_id", XML_TYPE_TEXT, L""));
    EXPECT_EQ(0, xml.GetNodeCount(L"/Rawdata", 1, 0));
    // A write lands in the empty document in memory; the save is refused.
    EXPECT_EQ(1, xml.SetDataToXMLDOM(L"999", L"/Rawdata/Tavrion/Patient_id", XML_TYPE_TEXT, L""));
    EXPECT_EQ(0, xml.SaveToXMLFile(Wide(path)));
    EXPECT_EQ(original, testsupport::ReadFileBytes(path));

    // Bytes that are not XML at all, and a folder where a file should be.
    const std::string binary = dir.Write("binary.xml", std::string("\x00\x01\xff<", 4));
    XML_PARSER junk;
    EXPECT_EQ(0, junk.InitXML(Wide(binary), 0));
    EXPECT_FALSE(junk.GetLoadError().IsEmpty());
    junk.SetDataToXMLDOM(L"1", L"/Rawdata/A", XML_TYPE_TEXT, L"");
    EXPECT_EQ(0, junk.SaveToXMLFile(Wide(binary)));
    EXPECT_EQ(std::string("\x00\x01\xff<", 4), testsupport::ReadFileBytes(binary));

    XML_PARSER folder;
    EXPECT_EQ(0, folder.InitXML(Wide(dir.Path()), 0));
    folder.SetDataToXMLDOM(L"1", L"/Rawdata/A", XML_TYPE_TEXT, L"");
    EXPECT_EQ(0, folder.SaveToXMLFile(Wide(dir.Path())));
}

TEST(XmlSaveTest, MissingOrEmptyFileMayBeCreatedButAnEmptyDocumentIsNotWritten)
{
    testsupport::TempDir dir;
    const std::string path = dir.File("absent.xml");
    XML_PARSER xml;
    EXPECT_EQ(0, xml.InitXML(Wide(path), 0));
    EXPECT_EQ(0, xml.SaveToXMLFile(Wide(path)));   // no root: it would not read back
    EXPECT_TRUE(testsupport::FolderEntries(dir.Path()).empty());
    ASSERT_EQ(1, xml.SetDataToXMLDOM(L"1", L"/Rawdata/A", XML_TYPE_TEXT, L""));
    EXPECT_EQ(1, xml.SaveToXMLFile(Wide(path)));

    const std::string empty = dir.Write("empty.xml", "");
    XML_PARSER fresh;
    EXPECT_EQ(0, fresh.InitXML(Wide(empty), 0));
    ASSERT_EQ(1, fresh.SetDataToXMLDOM(L"2", L"/Rawdata/A", XML_TYPE_TEXT, L""));
    EXPECT_EQ(1, fresh.SaveToXMLFile(Wide(empty)));
    XML_PARSER again;
    ASSERT_EQ(1, again.InitXML(Wide(empty), 0));
    EXPECT_EQ(CString(L"2"), ReadText(again, L"/Rawdata/A"));
}

// A document read where no file was is written there as a new file only:
// a file another process made meanwhile is left whole and the save fails
// (EEXIST); one this process made through another document is written
// over, and so are the document's own later saves.
TEST(XmlSaveTest, ADocumentReadWhereNoFileWasNeverReplacesAFileThatAppearedMeanwhile)
{
    testsupport::TempDir dir;
    const std::string path = dir.File("new.xml");
    XML_PARSER xml;
    EXPECT_EQ(0, xml.InitXML(Wide(path), 0));
    EXPECT_TRUE(xml.FoundNoFile());
    ASSERT_EQ(1, xml.SetDataToXMLDOM(L"mine", L"/Rawdata/A", XML_TYPE_TEXT, L""));
    const std::string others = "<?xml version=\"1.0\"?>\n<Rawdata><A>other</A></Rawdata>\n";
    dir.Write("new.xml", others);
    EXPECT_EQ(0, xml.SaveToXMLFile(Wide(path)));
    EXPECT_EQ(EEXIST, XML_PARSER::GetLastSaveFailure().nError);
    EXPECT_EQ(others, testsupport::ReadFileBytes(path));

    const std::string made = dir.File("made.xml");
    XML_PARSER first, second;
    EXPECT_EQ(0, first.InitXML(Wide(made), 0));
    EXPECT_EQ(0, second.InitXML(Wide(made), 0));
    ASSERT_EQ(1, first.SetDataToXMLDOM(L"1", L"/Rawdata/A", XML_TYPE_TEXT, L""));
    ASSERT_EQ(1, first.SaveToXMLFile(Wide(made)));
    EXPECT_FALSE(first.FoundNoFile());
    ASSERT_EQ(1, second.SetDataToXMLDOM(L"2", L"/Rawdata/A", XML_TYPE_TEXT, L""));
    EXPECT_EQ(1, second.SaveToXMLFile(Wide(made)));
    ASSERT_EQ(1, first.SetDataToXMLDOM(L"3", L"/Rawdata/A", XML_TYPE_TEXT, L""));
    EXPECT_EQ(1, first.SaveToXMLFile(Wide(made)));
    XML_PARSER again;
    ASSERT_EQ(1, again.InitXML(Wide(made), 0));
    EXPECT_EQ(CString(L"3"), ReadText(again, L"/Rawdata/A"));
}

// A file whose root is another element than a write asks for keeps none of
// that write: its save is refused as an unreadable file's, and the file
// stays as it was. Writes it takes save as ever.
TEST(XmlSaveTest, AFileOfAnotherRootIsNotWrittenOverAfterAWriteItCouldNotTake)
{
    testsupport::TempDir dir;
    const std::string other = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Other><A>1</A></Other>\n";
    const std::string path = dir.Write("other.xml", other);
    XML_PARSER xml;
    ASSERT_EQ(1, xml.InitXML(Wide(path), 0));
    EXPECT_EQ(0, xml.SetDataToXMLDOM(L"2", L"/Rawdata/A", XML_TYPE_TEXT, L""));
    XML_PARSER::ForgetSaveFailure();
    EXPECT_EQ(0, xml.SaveToXMLFile(Wide(path)));
    EXPECT_TRUE(XML_PARSER::GetLastSaveFailure().bUnreadable);
    EXPECT_EQ(other, testsupport::ReadFileBytes(path));

    XML_PARSER own;
    ASSERT_EQ(1, own.InitXML(Wide(path), 0));
    ASSERT_EQ(1, own.SetDataToXMLDOM(L"3", L"/Other/A", XML_TYPE_TEXT, L""));
    EXPECT_EQ(1, own.SaveToXMLFile(Wide(path)));
    XML_PARSER again;
    ASSERT_EQ(1, again.InitXML(Wide(path), 0));
    EXPECT_EQ(CString(L"3"), ReadText(again, L"/Other/A"));
}

platform::XmlSaveStep g_failingStep;
bool FailAtStep(platform::XmlSaveStep step)
{
    return step == g_failingStep;
}

TEST(XmlSaveTest, SaveFailingAtAnyStepLeavesTheOldFileWholeAndNoTemporary)
{
    testsupport::TempDir dir;
    const std::string original = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Rawdata><A>old</A></Rawdata>\n";
    const std::string path = dir.Write("record.xml", original);
    for (platform::XmlSaveStep step : {platform::XmlSaveStep::CreateTemporary, platform::XmlSaveStep::Write,
                                       platform::XmlSaveStep::Flush, platform::XmlSaveStep::Rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        XML_PARSER xml;
        ASSERT_EQ(1, xml.InitXML(Wide(path), 0));
        ASSERT_EQ(1, xml.SetDataToXMLDOM(L"new", L"/Rawdata/A", XML_TYPE_TEXT, L""));
        g_failingStep = step;
        platform::SetXmlSaveFaultHook(FailAtStep);
        EXPECT_EQ(0, xml.SaveToXMLFile(Wide(path)));
        platform::SetXmlSaveFaultHook(nullptr);
        EXPECT_EQ(original, testsupport::ReadFileBytes(path));
        EXPECT_EQ(std::vector<std::string>{"record.xml"}, testsupport::FolderEntries(dir.Path()));
    }
    // And without a fault the same save goes through.
    XML_PARSER xml;
    ASSERT_EQ(1, xml.InitXML(Wide(path), 0));
    ASSERT_EQ(1, xml.SetDataToXMLDOM(L"new", L"/Rawdata/A", XML_TYPE_TEXT, L""));
    EXPECT_EQ(1, xml.SaveToXMLFile(Wide(path)));
    EXPECT_EQ(std::vector<std::string>{"record.xml"}, testsupport::FolderEntries(dir.Path()));
}

TEST(XmlSaveTest, SaveKeepsPermissionsAndRefusesReadOnlyFilesAndMissingFolders)
{
    testsupport::TempDir dir;
    const std::string path = dir.Write("record.xml", "<Rawdata><A>old</A></Rawdata>");
    ASSERT_EQ(0, chmod(path.c_str(), 0640));
    XML_PARSER xml;
    ASSERT_EQ(1, xml.InitXML(Wide(path), 0));
    ASSERT_EQ(1, xml.SetDataToXMLDOM(L"new", L"/Rawdata/A", XML_TYPE_TEXT, L""));
    ASSERT_EQ(1, xml.SaveToXMLFile(Wide(path)));
    struct stat st;
    ASSERT_EQ(0, stat(path.c_str(), &st));
    EXPECT_EQ(0640u, st.st_mode & 07777);

    // A read-only file is refused as Windows refuses it (the bit, not our rights).
    ASSERT_EQ(0, chmod(path.c_str(), 0440));
    const std::string before = testsupport::ReadFileBytes(path);
    ASSERT_EQ(1, xml.SetDataToXMLDOM(L"newer", L"/Rawdata/A", XML_TYPE_TEXT, L""));
    EXPECT_EQ(0, xml.SaveToXMLFile(Wide(path)));
    EXPECT_EQ(before, testsupport::ReadFileBytes(path));
    chmod(path.c_str(), 0640);

    EXPECT_EQ(0, xml.SaveToXMLFile(Wide(dir.File("no-such-folder/record.xml"))));
    EXPECT_EQ(0, xml.SaveToXMLFile(L""));
}

TEST(XmlSaveTest, AFailedReplaceNamesWhetherTheFileCouldNotBeOpenedOrNotWritten)
{
    testsupport::TempDir dir;
    const std::string path = dir.Write("record.dat", "old");
    const std::pair<platform::XmlSaveStep, platform::XmlSaveStep> cases[] = {
        {platform::XmlSaveStep::CreateTemporary, platform::XmlSaveStep::CreateTemporary},
        {platform::XmlSaveStep::Write, platform::XmlSaveStep::Write},
        {platform::XmlSaveStep::Flush, platform::XmlSaveStep::Write},
        {platform::XmlSaveStep::Rename, platform::XmlSaveStep::Rename}};
    for (const auto& [injected, reported] : cases) {
        SCOPED_TRACE(static_cast<int>(injected));
        g_failingStep = injected;
        platform::SetXmlSaveFaultHook(FailAtStep);
        platform::XmlSaveStep failed = platform::XmlSaveStep::Flush;
        EXPECT_FALSE(platform::ReplaceFileContents(path, "new", &failed));
        platform::SetXmlSaveFaultHook(nullptr);
        EXPECT_EQ(reported, failed);
    }
    // A read-only file and a missing path cannot be opened for writing at all.
    ASSERT_EQ(0, chmod(path.c_str(), 0440));
    platform::XmlSaveStep failed = platform::XmlSaveStep::Rename;
    EXPECT_FALSE(platform::ReplaceFileContents(path, "new", &failed));
    EXPECT_EQ(platform::XmlSaveStep::CreateTemporary, failed);
    chmod(path.c_str(), 0640);
    failed = platform::XmlSaveStep::Rename;
    EXPECT_FALSE(platform::ReplaceFileContents(std::string(), "new", &failed));
    EXPECT_EQ(platform::XmlSaveStep::CreateTemporary, failed);
    EXPECT_EQ("old", testsupport::ReadFileBytes(path));
}

TEST(XmlSaveTest, HostileDocumentsLoadWithinLimitsOrFailCleanly)
{
    testsupport::TempDir dir;
    // Entity expansion does not run away, and external entities are not fetched.
    std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\">";
    const char* names = "abcdefghij";
    for (int i = 1; i < 10; ++i) {
        laughs += std::string("<!ENTITY ") + names[i] + " \"";
        for (int k = 0; k < 10; ++k) laughs += std::string("&") + names[i - 1] + ";";
        laughs += "\">";
    }
    laughs += "]><r><v>&j;</v></r>";
    XML_PARSER bomb;
    bomb.InitXML(Wide(dir.Write("laughs.xml", laughs)), 0);
    CString value;
    bomb.GetDataFromXMLDOM(value, L"/r/v", XML_TYPE_TEXT, L"");
    EXPECT_LT(value.GetLength(), 20000000);

    const std::string secret = dir.Write("secret.txt", "SECRET");
    XML_PARSER external;
    external.InitXML(Wide(dir.Write("xxe.xml", "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY e SYSTEM \"file://" + secret +
                                                   "\">]><r><v>&e;</v></r>")),
                     0);
    external.GetDataFromXMLDOM(value, L"/r/v", XML_TYPE_TEXT, L"");
    EXPECT_EQ(-1, value.Find(L"SECRET"));
}

}  // namespace
