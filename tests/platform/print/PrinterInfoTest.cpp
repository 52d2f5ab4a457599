// Printer enumeration, the default printer and device modes, as the print
// device code asks for them.
#include "tests/platform/print/PrintTestSupport.h"

#include <cstring>
#include <vector>

#include "platform/base/Kernel.h"
#include "platform/base/Profile.h"

namespace printtest {
namespace {

class PrinterInfoTest : public PrintTest {
protected:
    // One enumeration through the two-call protocol.
    static std::vector<BYTE> Enumerate(DWORD flags, DWORD level, DWORD& count)
    {
        DWORD needed = 0;
        count = 99;
        EXPECT_FALSE(EnumPrintersW(flags, nullptr, level, nullptr, 0, &needed, &count));
        EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
        EXPECT_EQ(0u, count);
        std::vector<BYTE> buffer(needed);
        EXPECT_TRUE(EnumPrintersW(flags, nullptr, level, buffer.data(), needed, &needed, &count));
        EXPECT_EQ(buffer.size(), needed);
        return buffer;
    }

    static bool Inside(const std::vector<BYTE>& buffer, const void* pointer)
    {
        const BYTE* p = static_cast<const BYTE*>(pointer);
        return p >= buffer.data() && p < buffer.data() + buffer.size();
    }
};

TEST_F(PrinterInfoTest, EnumerationFollowsTheTwoCallProtocol)
{
    AddPrinter(L"Zeta");
    platform::print::PdfPrinterSetup pdf;
    pdf.outputFolder = W(m_dir.Path());
    ASSERT_TRUE(platform::print::ConfigurePdfPrinter(pdf));
    ASSERT_TRUE(SetDefaultPrinterW(L"zeta"));

    DWORD count = 0;
    std::vector<BYTE> buffer = Enumerate(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, 2, count);
    ASSERT_EQ(2u, count);
    // A buffer one byte short fails and says what it needs.
    DWORD needed = 0;
    DWORD returned = 5;
    std::vector<BYTE> shortBuffer(buffer.size() - 1);
    EXPECT_FALSE(EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, shortBuffer.data(), (DWORD)shortBuffer.size(), &needed,
                               &returned));
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
    EXPECT_EQ(buffer.size(), needed);
    EXPECT_EQ(0u, returned);

    PRINTER_INFO_2W entries[2];
    std::memcpy(entries, buffer.data(), sizeof(entries));
    EXPECT_STREQ(L"Acrobat Distiller", entries[0].pPrinterName);   // name order
    EXPECT_STREQ(L"AdobePS Acrobat Distiller", entries[0].pDriverName);
    EXPECT_EQ(W(m_dir.Path()) + L"/*.pdf", std::wstring(entries[0].pPortName));
    EXPECT_STREQ(L"Zeta", entries[1].pPrinterName);
    EXPECT_STREQ(L"LPT1:", entries[1].pPortName);
    EXPECT_STREQ(L"RAW", entries[1].pDatatype);
    EXPECT_EQ(nullptr, entries[1].pServerName);
    EXPECT_EQ((DWORD)PRINTER_ATTRIBUTE_LOCAL, entries[0].Attributes);
    EXPECT_EQ((DWORD)(PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_DEFAULT), entries[1].Attributes);
    for (const PRINTER_INFO_2W& entry : entries) {
        EXPECT_TRUE(Inside(buffer, entry.pPrinterName));
        EXPECT_TRUE(Inside(buffer, entry.pDatatype));
        ASSERT_TRUE(Inside(buffer, entry.pDevMode));
        DEVMODEW mode;
        std::memcpy(&mode, entry.pDevMode, sizeof(mode));
        EXPECT_EQ(std::wstring(entry.pPrinterName), std::wstring(mode.dmDeviceName));
        EXPECT_EQ(DMPAPER_A4, mode.dmPaperSize);
        // The device mode's driver data lies inside the buffer too.
        EXPECT_LE((const BYTE*)entry.pDevMode + mode.dmSize + mode.dmDriverExtra, buffer.data() + buffer.size());
    }
}

TEST_F(PrinterInfoTest, LevelsOneAndFourListThePrintersAndBadCallsFail)
{
    AddPrinter(L"Alpha");
    AddPrinter(L"Beta");
    DWORD count = 0;
    std::vector<BYTE> buffer = Enumerate(PRINTER_ENUM_LOCAL, 4, count);
    ASSERT_EQ(2u, count);
    PRINTER_INFO_4W fourth[2];
    std::memcpy(fourth, buffer.data(), sizeof(fourth));
    EXPECT_STREQ(L"Beta", fourth[1].pPrinterName);
    buffer = Enumerate(PRINTER_ENUM_LOCAL, 1, count);
    PRINTER_INFO_1W first[2];
    std::memcpy(first, buffer.data(), sizeof(first));
    EXPECT_STREQ(L"Alpha,Generic / Text Only,", first[0].pDescription);

    DWORD needed = 0;
    DWORD returned = 0;
    EXPECT_FALSE(EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 3, nullptr, 0, &needed, &returned));
    EXPECT_EQ(ERROR_INVALID_LEVEL, GetLastError());
    EXPECT_FALSE(EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, nullptr, &returned));
    EXPECT_FALSE(EnumPrintersW(PRINTER_ENUM_NAME, L"\\\\server", 2, nullptr, 0, &needed, &returned));
    // No default printer: the default enumeration is empty, and succeeds.
    EXPECT_TRUE(EnumPrintersW(PRINTER_ENUM_DEFAULT, nullptr, 2, nullptr, 0, &needed, &returned));
    EXPECT_EQ(0u, needed);
    EXPECT_EQ(0u, returned);
    ASSERT_TRUE(SetDefaultPrinterW(L"Beta"));
    buffer = Enumerate(PRINTER_ENUM_DEFAULT, 4, count);
    ASSERT_EQ(1u, count);
    std::memcpy(fourth, buffer.data(), sizeof(fourth[0]));
    EXPECT_STREQ(L"Beta", fourth[0].pPrinterName);

    // GetPrinterW gives one printer the same way.
    ScopedPrinter printer(L"Alpha");
    EXPECT_FALSE(GetPrinterW(printer, 2, nullptr, 0, &needed));
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
    std::vector<BYTE> one(needed);
    ASSERT_TRUE(GetPrinterW(printer, 2, one.data(), needed, &needed));
    PRINTER_INFO_2W info;
    std::memcpy(&info, one.data(), sizeof(info));
    EXPECT_STREQ(L"Alpha", info.pPrinterName);
    EXPECT_FALSE(GetPrinterW(nullptr, 2, one.data(), needed, &needed));
    EXPECT_EQ(ERROR_INVALID_HANDLE, GetLastError());
}

TEST_F(PrinterInfoTest, NoPrintersEnumerateAsNothing)
{
    DWORD needed = 1;
    DWORD returned = 1;
    EXPECT_TRUE(EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 2, nullptr, 0, &needed,
                              &returned));
    EXPECT_EQ(0u, needed);
    EXPECT_EQ(0u, returned);
}

TEST_F(PrinterInfoTest, TheDefaultPrinterIsTheWinIniDeviceEntry)
{
    AddPrinter(L"LBP-2910");
    wchar_t name[64];
    DWORD size = 64;
    EXPECT_FALSE(GetDefaultPrinterW(name, &size));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetLastError());

    // What the print device reads: "name,driver,port".
    ASSERT_TRUE(SetDefaultPrinterW(L"lbp-2910"));
    wchar_t entry[80] = {};
    GetProfileStringW(L"windows", L"device", L"", entry, 80);
    EXPECT_STREQ(L"LBP-2910,Generic / Text Only,LPT1:", entry);
    size = 64;
    ASSERT_TRUE(GetDefaultPrinterW(name, &size));
    EXPECT_STREQ(L"LBP-2910", name);
    EXPECT_EQ(9u, size);   // with the terminator

    // A buffer one character short gets the size it needs.
    size = 8;
    EXPECT_FALSE(GetDefaultPrinterW(name, &size));
    EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
    EXPECT_EQ(9u, size);
    size = 0;
    EXPECT_FALSE(GetDefaultPrinterW(nullptr, &size));
    EXPECT_EQ(9u, size);

    // A device entry written by someone else counts as it stands.
    ASSERT_TRUE(WriteProfileStringW(L"windows", L"device", L"Acrobat Distiller,winspool,C:\\PDF\\*.pdf"));
    size = 64;
    ASSERT_TRUE(GetDefaultPrinterW(name, &size));
    EXPECT_STREQ(L"Acrobat Distiller", name);

    EXPECT_FALSE(SetDefaultPrinterW(L"Unknown"));
    EXPECT_EQ(ERROR_INVALID_PRINTER_NAME, GetLastError());
    // With no usable default, an empty name picks the first printer.
    ASSERT_TRUE(SetDefaultPrinterW(nullptr));
    size = 64;
    ASSERT_TRUE(GetDefaultPrinterW(name, &size));
    EXPECT_STREQ(L"LBP-2910", name);
}

class DevModeTest : public PrintTest {
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        AddPrinter(L"Laser", DMPAPER_A3, DMORIENT_PORTRAIT);
    }

    // A device mode buffer of the size the printer asks for.
    static std::vector<BYTE> Fetch(HANDLE printer)
    {
        const LONG size = DocumentPropertiesW(nullptr, printer, L"Laser", nullptr, nullptr, 0);
        EXPECT_GE(size, (LONG)sizeof(DEVMODEW));
        std::vector<BYTE> buffer(size > 0 ? (size_t)size : 0);
        EXPECT_EQ(IDOK, DocumentPropertiesW(nullptr, printer, L"Laser", reinterpret_cast<PDEVMODEW>(buffer.data()),
                                            nullptr, DM_OUT_BUFFER));
        return buffer;
    }
    static DEVMODEW& Mode(std::vector<BYTE>& buffer) { return *reinterpret_cast<PDEVMODEW>(buffer.data()); }
};

TEST_F(DevModeTest, ThePrintDevicesRoundTripOfOrientationPaperAndCopies)
{
    ScopedPrinter printer(L"Laser");
    std::vector<BYTE> buffer = Fetch(printer);
    DEVMODEW& mode = Mode(buffer);
    EXPECT_EQ(DMPAPER_A3, mode.dmPaperSize);   // the registry's default
    EXPECT_EQ(DMORIENT_PORTRAIT, mode.dmOrientation);
    EXPECT_EQ(2970, mode.dmPaperWidth);
    EXPECT_EQ(4200, mode.dmPaperLength);
    EXPECT_EQ(600, mode.dmPrintQuality);
    EXPECT_STREQ(L"Laser", mode.dmDeviceName);
    EXPECT_EQ(sizeof(DEVMODEW), mode.dmSize);

    // As the print device does it: exactly these three fields, in and out.
    mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;
    mode.dmOrientation = DMORIENT_LANDSCAPE;
    mode.dmPaperSize = DMPAPER_B5;
    mode.dmCopies = 3;
    PDEVMODEW inOut = &mode;
    ASSERT_EQ(IDOK, DocumentPropertiesW(nullptr, printer, L"Laser", inOut, inOut, DM_IN_BUFFER | DM_OUT_BUFFER));
    EXPECT_EQ(DMORIENT_LANDSCAPE, mode.dmOrientation);
    EXPECT_EQ(DMPAPER_B5, mode.dmPaperSize);
    EXPECT_EQ(3, mode.dmCopies);
    EXPECT_EQ(1820, mode.dmPaperWidth);   // the paper's own size, portrait
    EXPECT_EQ(2570, mode.dmPaperLength);
    EXPECT_EQ(0u, mode.dmFields & (DM_PAPERWIDTH | DM_PAPERLENGTH));

    // The printer's own defaults did not change.
    std::vector<BYTE> again = Fetch(printer);
    EXPECT_EQ(DMPAPER_A3, Mode(again).dmPaperSize);
    EXPECT_EQ(1, Mode(again).dmCopies);
}

TEST_F(DevModeTest, ChangingOnlyThePaperCodeOfAFetchedModeTakesThatPaper)
{
    ScopedPrinter printer(L"Laser");
    std::vector<BYTE> buffer = Fetch(printer);
    Mode(buffer).dmPaperSize = DMPAPER_LETTER;   // dmFields left as fetched
    std::vector<BYTE> out(buffer.size());
    ASSERT_EQ(IDOK, DocumentPropertiesW(nullptr, printer, nullptr, reinterpret_cast<PDEVMODEW>(out.data()),
                                        &Mode(buffer), DM_IN_BUFFER | DM_OUT_BUFFER));
    EXPECT_EQ(DMPAPER_LETTER, Mode(out).dmPaperSize);
    EXPECT_EQ(2159, Mode(out).dmPaperWidth);
    EXPECT_EQ(2794, Mode(out).dmPaperLength);
}

TEST_F(DevModeTest, CustomSizesMakeAUserPaperAndBadFieldsFail)
{
    ScopedPrinter printer(L"Laser");
    std::vector<BYTE> buffer = Fetch(printer);
    DEVMODEW input = Mode(buffer);
    input.dmFields = DM_PAPERWIDTH | DM_PAPERLENGTH;
    input.dmPaperWidth = 1000;
    input.dmPaperLength = 1500;
    std::vector<BYTE> out(buffer.size());
    PDEVMODEW output = reinterpret_cast<PDEVMODEW>(out.data());
    ASSERT_EQ(IDOK, DocumentPropertiesW(nullptr, printer, nullptr, output, &input, DM_IN_BUFFER | DM_OUT_BUFFER));
    EXPECT_EQ(DMPAPER_USER, output->dmPaperSize);
    EXPECT_EQ((DWORD)(DM_PAPERWIDTH | DM_PAPERLENGTH), output->dmFields & (DM_PAPERWIDTH | DM_PAPERLENGTH));

    // Each bad field fails the call and leaves the output alone.
    struct Bad {
        DWORD field;
        short orientation, paper, copies, width;
    };
    static const Bad kBad[] = {
        // field            orientation paper copies width
        {DM_ORIENTATION,    3,          9,    1,     2100},
        {DM_ORIENTATION,    0,          9,    1,     2100},
        {DM_PAPERSIZE,      1,          42,   1,     2100},
        {DM_PAPERSIZE,      1,          0,    1,     2100},
        {DM_COPIES,         1,          9,    0,     2100},
        {DM_PAPERWIDTH,     1,          9,    1,     -5},
    };
    for (const Bad& bad : kBad) {
        DEVMODEW wrong = Mode(buffer);
        wrong.dmFields = bad.field;
        wrong.dmOrientation = bad.orientation;
        wrong.dmPaperSize = bad.paper;
        wrong.dmCopies = bad.copies;
        wrong.dmPaperWidth = bad.width;
        std::memset(out.data(), 0xAB, out.size());
        EXPECT_EQ(-1, DocumentPropertiesW(nullptr, printer, nullptr, output, &wrong, DM_IN_BUFFER | DM_OUT_BUFFER))
            << "field " << bad.field;
        EXPECT_EQ(0xAB, out[0]);
    }
    // A device mode too short to hold its own field mask is not read.
    DEVMODEW tiny = Mode(buffer);
    tiny.dmSize = 8;
    EXPECT_EQ(-1, DocumentPropertiesW(nullptr, printer, nullptr, output, &tiny, DM_IN_BUFFER | DM_OUT_BUFFER));
    // A field past a short dmSize is ignored rather than read.
    DEVMODEW older = Mode(buffer);
    older.dmSize = (WORD)offsetof(DEVMODEW, dmCopies);
    older.dmFields = DM_COPIES;
    older.dmCopies = 0;
    EXPECT_EQ(IDOK, DocumentPropertiesW(nullptr, printer, nullptr, output, &older, DM_IN_BUFFER | DM_OUT_BUFFER));
    EXPECT_EQ(1, output->dmCopies);
    // Asking for output without a buffer fails.
    EXPECT_EQ(-1, DocumentPropertiesW(nullptr, printer, nullptr, nullptr, nullptr, DM_OUT_BUFFER));
}

TEST_F(DevModeTest, TheOpenersDeviceModeBelongsToTheHandle)
{
    // Without a handle the name decides.
    EXPECT_GT(DocumentPropertiesW(nullptr, nullptr, L"laser", nullptr, nullptr, 0), 0);
    EXPECT_EQ(-1, DocumentPropertiesW(nullptr, nullptr, L"Nobody", nullptr, nullptr, 0));
    EXPECT_EQ(ERROR_INVALID_PRINTER_NAME, GetLastError());
    HANDLE closed = nullptr;
    ASSERT_TRUE(OpenPrinterW(L"Laser", &closed, nullptr));
    ClosePrinter(closed);
    EXPECT_EQ(-1, DocumentPropertiesW(nullptr, closed, L"Laser", nullptr, nullptr, 0));
    EXPECT_EQ(ERROR_INVALID_HANDLE, GetLastError());

    // The device mode given to OpenPrinterW is the handle's from then on.
    std::vector<BYTE> buffer;
    {
        ScopedPrinter plain(L"Laser");
        buffer = Fetch(plain);
    }
    Mode(buffer).dmFields = DM_ORIENTATION;
    Mode(buffer).dmOrientation = DMORIENT_LANDSCAPE;
    PRINTER_DEFAULTSW defaults = {nullptr, &Mode(buffer), PRINTER_ACCESS_USE};
    ScopedPrinter printer(L"Laser", &defaults);
    std::vector<BYTE> handles = Fetch(printer);
    EXPECT_EQ(DMORIENT_LANDSCAPE, Mode(handles).dmOrientation);
    // No dialog is shown: a prompt answers OK with nothing changed.
    EXPECT_EQ(IDOK, DocumentPropertiesW(nullptr, printer, nullptr, &Mode(handles), nullptr,
                                        DM_IN_PROMPT | DM_OUT_BUFFER));
    EXPECT_EQ(DMORIENT_LANDSCAPE, Mode(handles).dmOrientation);
}

}  // namespace
}  // namespace printtest
