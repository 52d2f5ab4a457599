#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "core/ConstTables.h"
#include "core/EucSjis.h"
#include "core/Globals.h"
#include "core/MemoryHelpers.h"
#include "core/MorvelanceApp.h"
#include "core/TavrionDoc.h"
#include "core/TavrionMessage.h"
#include "platform/base/CodePage.h"
#include "platform/base/Kernel.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Image.h"
#include "platform/gdi/Pen.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "platform/ui/framework/Modules.h"
#include "tests/support/TestSupport.h"

namespace {

CMorvelanceApp* TheApp()
{
    for (int i = 0; i < platform::ui::RegisteredApplicationCount(); ++i) {
        if (auto* app = dynamic_cast<CMorvelanceApp*>(platform::ui::RegisteredApplication(i))) return app;
    }
    return nullptr;
}

int Height(CFont* font)
{
    LOGFONTW lf = {};
    return font && font->GetLogFont(&lf) ? lf.lfHeight : -1;
}

// Restarts the library's application object on another screen or registry,
// and puts everything back afterwards.
class MorvelanceAppTest : public ::testing::Test {
protected:
    void Restart()
    {
        CMorvelanceApp* app = TheApp();
        ASSERT_NE(app, nullptr);
        app->ExitInstance();
        ASSERT_TRUE(app->InitInstance());
    }
    void TearDown() override
    {
        platform::ui::Desktop::SetScreenSize(1024, 768);
        testsupport::UseRegistryWithWorkDir(testsupport::WorkDir());
        Restart();
    }
};

}  // namespace

TEST_F(MorvelanceAppTest, StartsWithUnitsFontsPensAndTheWorkDirectory)
{
    ASSERT_NE(TheApp(), nullptr);
    EXPECT_DOUBLE_EQ(g_dXUnit, 1.0);
    EXPECT_DOUBLE_EQ(g_dYUnit, 1.0);
    EXPECT_EQ(Height(g_pDlgFontNormal), 14);
    EXPECT_EQ(Height(g_pDlgFontMiddle1), 16);
    EXPECT_EQ(Height(g_pDlgFontMiddle2), 18);
    EXPECT_EQ(Height(g_pDlgFontBig), 20);
    for (CPen* pen : {g_pPenBlue, g_pPenSlRed, g_pPenGreen, g_pPenSlGreen, g_pPenDark, g_pPenDkDot, g_pPenDKGray,
                      g_pPenSemiBold, g_pPenBold}) {
        LOGPEN log = {};
        ASSERT_NE(pen, nullptr);
        EXPECT_TRUE(pen->GetLogPen(&log));
    }
    LOGBRUSH brush = {};
    ASSERT_NE(g_pBrushWhite, nullptr);
    EXPECT_TRUE(g_pBrushWhite->GetLogBrush(&brush));
    EXPECT_NE(g_hCursorHand, nullptr);
    EXPECT_NE(g_hCursorMag, nullptr);
    EXPECT_NE(g_hCursorDraw, nullptr);

    ASSERT_NE(g_pWorkDir, nullptr);
    EXPECT_EQ(CString(g_pWorkDir), testsupport::Wide(testsupport::WorkDir()));
    CTavrionDoc doc;
    EXPECT_EQ(doc.GetLocalPath(), CString(g_pWorkDir));
    EXPECT_EQ(GetMorvelanceModule(), platform::ui::ModuleFromAddress(reinterpret_cast<const void*>(&ecgError)));
}

TEST_F(MorvelanceAppTest, UnitsAndFontsFollowTheScreen)
{
    platform::ui::Desktop::SetScreenSize(1280, 1024);
    Restart();
    EXPECT_DOUBLE_EQ(g_dXUnit, 1.25);
    EXPECT_DOUBLE_EQ(g_dYUnit, 1.3333333333333333);
    EXPECT_EQ(Height(g_pDlgFontNormal), 14);   // still wider than high
    EXPECT_EQ(Height(g_pDlgFontBig), 20);

    platform::ui::Desktop::SetScreenSize(768, 1024);
    Restart();
    EXPECT_EQ(Height(g_pDlgFontNormal), 13);
    EXPECT_EQ(Height(g_pDlgFontMiddle1), 14);
    EXPECT_EQ(Height(g_pDlgFontMiddle2), 16);
    EXPECT_EQ(Height(g_pDlgFontBig), 18);
}

TEST_F(MorvelanceAppTest, WorkDirectoryIsTheRegisteredServersFolder)
{
    testsupport::UseRegistryServerPath("C:\\Prog\\Viewer\\x.ocx");
    Restart();
    EXPECT_STREQ(g_pWorkDir, L"C:\\Prog\\Viewer");
    testsupport::UseRegistryServerPath("");
    Restart();
    ASSERT_NE(g_pWorkDir, nullptr);
    EXPECT_STREQ(g_pWorkDir, L"");
}

TEST_F(MorvelanceAppTest, UnloadFreesTheSharedResources)
{
    CMorvelanceApp* app = TheApp();
    ASSERT_NE(app, nullptr);
    app->ExitInstance();
    EXPECT_EQ(g_pWorkDir, nullptr);
    EXPECT_EQ(g_pDlgFontNormal, nullptr);
    EXPECT_EQ(g_pPenBold, nullptr);
    EXPECT_EQ(g_pBrushDark, nullptr);
    EXPECT_NE(g_hCursorHand, nullptr);   // cursors belong to the module
    ASSERT_TRUE(app->InitInstance());
}

TEST(TavrionMessage, ShowsTheBoxAndKeepsTheCountAtZero)
{
    platform::ui::MessageBoxRecorder boxes;
    boxes.Answer(IDNO);
    ASSERT_EQ(g_uDlgCount, 0u);
    CTavrionMessage box(L"本当に保存しますか？", 0, nullptr, L"警告", MB_YESNO | MB_ICONWARNING);
    EXPECT_EQ(box.m_nResult, IDNO);
    EXPECT_EQ(g_uDlgCount, 0u);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Last().caption, L"警告");
    EXPECT_EQ(boxes.Last().type, MB_YESNO | MB_ICONWARNING);
    EXPECT_FALSE(boxes.Last().framework);

    // The framework's box: OK only, owner, caption and type are not used.
    CTavrionMessage afx(L"text", 1, nullptr, L"ignored", MB_YESNO);
    ASSERT_EQ(boxes.Count(), 2);
    EXPECT_TRUE(boxes.Last().framework);
    EXPECT_EQ(boxes.Last().type & MB_TYPEMASK, MB_OK);
    EXPECT_NE(boxes.Last().caption, L"ignored");

    // A missing string resource shows an empty text.
    ecgError(0xFEED);
    ASSERT_EQ(boxes.Count(), 3);
    EXPECT_EQ(boxes.Last().text, L"");
    EXPECT_EQ(g_uDlgCount, 0u);
}

TEST(RecordTexts, MembersConvertBetweenEucAndShiftJis)
{
    CTavrionDoc doc;
    char text[16] = "A\nB";
    EXPECT_EQ(doc.euc2sjis(1, text), -1);
    EXPECT_STREQ(text, "A\nB");
    EXPECT_EQ(doc.euc2sjis(0, text), 4);
    EXPECT_STREQ(text, "A\r\nB");
    // Half-width katakana are dropped on the way to EUC, and the text keeps its length.
    char kana[16] = "\xB1\xB2Z";
    EXPECT_EQ(doc.sjis2euc(1, kana), -1);
    EXPECT_EQ(doc.sjis2euc(0, kana), 3);
    EXPECT_STREQ(kana, "Z  ");
    // The IBM extension goes through its NEC-selected twin; Roman numeral one has none.
    char ibm[8] = "\xFA\x5C\xFA\x4A";
    doc.sjis2euc(0, ibm);
    char nec[4] = "\xED\x40";
    doc.sjis2euc(0, nec);
    EXPECT_EQ(std::string(ibm, 2), std::string(nec, 2));
    EXPECT_EQ(std::string(ibm + 2, 2), "\x80\x80");

    wchar_t out[16];
    CTavrionDoc::MFERGetData(out, "\x83\x65\x83\x58\x83\x67 1");
    EXPECT_STREQ(out, L"テスト 1");
    CTavrionDoc::MFERGetData(out, nullptr);
    EXPECT_STREQ(out, L"");
}

TEST(RecordTexts, ByteLengthsCountShiftJis)
{
    EXPECT_EQ(GetCharLength(L""), 0);
    EXPECT_EQ(GetCharLength(nullptr), 0);
    EXPECT_EQ(GetCharLength(L"AB"), 2);
    EXPECT_EQ(GetCharLength(L"山田ｱ"), 5);
    EXPECT_EQ(GetCharLength(L"\x00E9"), 1);   // not in the code page: one default byte
    BYTE dst[4] = {9, 9, 9, 9};
    const BYTE src[4] = {1, 2, 3, 4};
    EXPECT_EQ(CopyChars(dst, src, 0), 0);
    EXPECT_EQ(dst[0], 9);
    EXPECT_EQ(CopyChars(dst, src, 3), 3);
    EXPECT_EQ(dst[2], 3);
    EXPECT_EQ(dst[3], 9);
    void* block = MemoryAlloc(64);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(static_cast<BYTE*>(block)[63], 0);
    EXPECT_TRUE(MemoryFree(block));
    EXPECT_EQ(MemoryAlloc(0), nullptr);
    EXPECT_FALSE(MemoryFree(nullptr));
}

TEST(RecordTexts, BuildTextJoinsTheProductVersionAndTheSpecialBuild)
{
    wchar_t exe[4096] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, exe, 4096), 0u);
    const std::string sidecar = platform::ToUtf8(std::wstring(exe)) + ".exe.version";
    CString text(L"stale");
    std::remove(sidecar.c_str());
    GetVersionBuild(text);
    EXPECT_EQ(text, L"");   // no version resource
    {
        std::ofstream out(sidecar);
        out << "StringFileInfo\\040904e4\\ProductVersion = 1.2.3\n"
            << "StringFileInfo\\040904e4\\SpecialBuild = Build-45\n";
    }
    GetVersionBuild(text);
    EXPECT_EQ(text, L"1.2.3045");
    {
        std::ofstream out(sidecar);
        out << "StringFileInfo\\040904e4\\ProductVersion = Ver.2.0\n";
    }
    GetVersionBuild(text);
    EXPECT_EQ(text, L"2.00");
    std::remove(sidecar.c_str());
}

TEST(TavrionDocHelpers, TextIsCutWithAnEllipsis)
{
    CTavrionDoc doc;
    EXPECT_FALSE(doc.DrawTextEndEllipsis(nullptr, CString(L"x"), 0, 0, 10, 10));
    HDC hdc = platform::gdi::CreateImageDC(200, 40);
    ASSERT_NE(hdc, nullptr);
    CDC dc;
    dc.Attach(hdc);
    dc.SelectObject(g_pDlgFontNormal);
    dc.SetTextAlign(TA_LEFT | TA_BOTTOM);
    const CString text(L"ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const int full = dc.GetTextExtent(text).cx;
    ASSERT_GT(full, 40);
    // Fits: drawn whole, from the bottom left.
    EXPECT_TRUE(doc.DrawTextEndEllipsis(&dc, text, 2, 0, 2 + full, 30));
    // Too wide: the ink stops before the rectangle's right edge.
    const int right = 2 + full / 2;
    dc.FillSolidRect(0, 0, 200, 40, RGB(255, 255, 255));
    EXPECT_TRUE(doc.DrawTextEndEllipsis(&dc, text, 2, 0, right, 30));
    int lastInk = -1;
    for (int x = 0; x < 200; ++x)
        for (int y = 0; y < 40; ++y)
            if (dc.GetPixel(x, y) != RGB(255, 255, 255)) lastInk = std::max(lastInk, x);
    EXPECT_GT(lastInk, 2);
    EXPECT_LT(lastInk, right);
    dc.Detach();
    DeleteDC(hdc);
}
