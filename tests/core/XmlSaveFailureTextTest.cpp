// What the user is told of a record XML that could not be saved: the file
// and why, for each cause a save meets on disk.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <string>

#include "core/ECGXMLParser.h"
#include "tests/support/FullDisk.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::Wide;

const char kRecord[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Rawdata><Tavrion/></Rawdata>\n";

// Writes one value into the file at path and saves it; the text the user is
// told. `meanwhile` runs between the file's reading and its save.
CString SaveAndTell(const std::string& path, const std::function<void()>& meanwhile = nullptr)
{
    CECGXMLParser::ForgetSaveFailure();
    CECGXMLParser xml(Wide(path), 0, CString());
    xml.SetDataToXMLDOM(L"x", L"/Rawdata/Tavrion/Comment", 4, CString());
    if (meanwhile) meanwhile();
    xml.SaveToXMLFile();
    EXPECT_NE(0, xml.m_bLastSaveFailed) << path;
    return CECGXMLParser::GetSaveFailureText();
}

CString Told(const std::string& path, const wchar_t* cause)
{
    return L"ファイル書き込みエラーです。\r\n" + Wide(path) + L"\r\n" + cause;
}

}  // namespace

TEST(XmlSaveFailureText, NamesTheFileThatCouldNotBeWrittenAndWhy)
{
    testsupport::TempDir dir;

    // A record XML the user may not write.
    const std::string readOnly = dir.Write("readonly.xml", kRecord);
    ASSERT_EQ(0, chmod(readOnly.c_str(), 0444));
    EXPECT_EQ(Told(readOnly, L"書き込みが許可されていません。"), SaveAndTell(readOnly));
    chmod(readOnly.c_str(), 0644);

    // A folder under the record XML's name.
    const std::string folder = dir.File("folder.xml");
    ASSERT_EQ(0, mkdir(folder.c_str(), 0755));
    EXPECT_EQ(Told(folder, L"同じ名前のフォルダーがあります。"), SaveAndTell(folder));

    // A record XML in a folder that is not there.
    const std::string missing = dir.File("gone/record.xml");
    EXPECT_EQ(Told(missing, L"保存先のフォルダーがありません。"), SaveAndTell(missing));

    // A record XML that could not be read is not written over.
    const std::string broken = dir.Write("broken.xml", "<Rawdata><Tavrion>");
    EXPECT_EQ(Told(broken, L"ファイルを読み込めなかったため、上書きしませんでした。"), SaveAndTell(broken));

    // A record XML whose root is another element: the comment would go nowhere.
    const std::string otherRoot = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Other><Tavrion/></Other>\n";
    const std::string other = dir.Write("other.xml", otherRoot);
    EXPECT_EQ(Told(other, L"ファイルを読み込めなかったため、上書きしませんでした。"), SaveAndTell(other));
    EXPECT_EQ(otherRoot, testsupport::ReadFileBytes(other));

    // A record XML another record made where none was when this one was read.
    const std::string taken = dir.File("taken.xml");
    EXPECT_EQ(Told(taken, L"同じ名前のファイルを別の記録が先に作りました。"),
              SaveAndTell(taken, [&] { dir.Write("taken.xml", kRecord); }));
    EXPECT_EQ(kRecord, testsupport::ReadFileBytes(taken));

    // A disk with no room left.
    const std::string full = dir.Write("full.xml", kRecord);
    {
        testsupport::ScopedFullDisk disk;
        ASSERT_TRUE(disk.Limited());
        EXPECT_EQ(Told(full, L"ディスクの空き容量が足りません。"), SaveAndTell(full));
    }
}
