// Documents started without a name, as the reports start theirs, take the
// name the program gives them: raw and drawn jobs carry it in the spool, and
// a named document keeps its own.
#include "tests/platform/print/PrintTestSupport.h"

#include "platform/print/PrintSetup.h"

namespace printtest {
namespace {

class UnnamedDocumentTest : public PrintTest {
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        AddPrinter(L"Ward");
    }
    void TearDown() override
    {
        platform::print::SetUnnamedDocumentName(std::wstring());
        PrintTest::TearDown();
    }

    static DWORD PrintRaw(const wchar_t* document)
    {
        ScopedPrinter printer(L"Ward");
        DOC_INFO_1W info = {const_cast<LPWSTR>(document), nullptr, nullptr};
        if (StartDocPrinterW(printer, 1, reinterpret_cast<LPBYTE>(&info)) == 0) return GetLastError();
        DWORD written = 0;
        if (!WritePrinter(printer, "\x1b" "E", 2, &written)) return GetLastError();
        return EndDocPrinter(printer) ? 0 : GetLastError();
    }
};

TEST_F(UnnamedDocumentTest, UnnamedDocumentsTakeTheProgramsNameAndNamedOnesKeepTheirs)
{
    platform::print::SetUnnamedDocumentName(L"rest12_90.ecg rest-wave");
    ASSERT_EQ(0u, PrintRaw(L""));
    ASSERT_EQ(0u, PrintRaw(nullptr));
    ASSERT_EQ(0u, PrintRaw(L"Tavrion"));
    {
        ScopedPrinterDC dc(L"Ward");
        ASSERT_TRUE(dc != nullptr);
        const DOCINFOW info = DocInfo(L"");
        ASSERT_GT(StartDocW(dc, &info), 0);
        ASSERT_GT(StartPage(dc), 0);
        ASSERT_GT(EndPage(dc), 0);
        ASSERT_GT(EndDoc(dc), 0);
    }
    platform::print::SetUnnamedDocumentName(std::wstring());
    ASSERT_EQ(0u, PrintRaw(L""));

    const auto jobs = Jobs();
    ASSERT_EQ(5u, jobs.size());
    EXPECT_EQ(L"rest12_90.ecg rest-wave", jobs[0].document);
    EXPECT_EQ(L"rest12_90.ecg rest-wave", jobs[1].document);
    EXPECT_EQ(L"Tavrion", jobs[2].document);
    EXPECT_EQ(L"rest12_90.ecg rest-wave", jobs[3].document);
    EXPECT_EQ("00004_rest12_90.ecg rest-wave.pdf", jobs[3].dataFile);
    EXPECT_EQ(L"", jobs[4].document);
    EXPECT_EQ("00005.prn", jobs[4].dataFile);
}

}  // namespace
}  // namespace printtest
