// Resource scripts and the binary resources they become: dialog and menu
// templates round-tripped through their bytes, readers that stop where the
// bytes go wrong, FindResource and LoadResource, and bitmaps from PNG and
// BMP bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Image.h"
#include "platform/ui/windowing/DialogTemplate.h"
#include "platform/ui/windowing/ResourceScript.h"
#include "platform/ui/windowing/Resources.h"
#include "tests/platform/ui/UiTestSupport.h"
#include "tests/support/TestSupport.h"

using platform::ui::CompileResourceScript;
using platform::ui::DialogTemplate;
using platform::ui::MenuTemplateItem;
using platform::ui::ReadDialogTemplate;
using platform::ui::ResourceTable;
using platform::ui::ScriptResult;

namespace {

DialogTemplate DialogOf(const ResourceTable& table, UINT id)
{
    DialogTemplate dialog;
    auto found = table.data.find({LOWORD(RT_DIALOG), id});
    EXPECT_NE(found, table.data.end());
    if (found != table.data.end()) {
        EXPECT_TRUE(ReadDialogTemplate(found->second.data(), found->second.size(), dialog).ok);
    }
    return dialog;
}

ScriptResult Compile(const std::string& script, ResourceTable& table)
{
    return CompileResourceScript(script, table);
}

// A packed DIB: a 3 x 2, 24-bit image with the file header.
std::vector<BYTE> Bmp24()
{
    std::vector<BYTE> bytes(14 + 40 + 2 * 12, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    bytes[10] = 54;   // pixels right after the headers
    BYTE* info = bytes.data() + 14;
    info[0] = 40;
    info[4] = 3;    // width
    info[8] = 2;    // height, bottom-up
    info[12] = 1;   // planes
    info[14] = 24;
    BYTE* pixels = bytes.data() + 54;
    // Bottom row: red, green, blue (blue-green-red bytes); top row white.
    const BYTE bottom[9] = {0, 0, 255, 0, 255, 0, 255, 0, 0};
    std::memcpy(pixels, bottom, 9);
    std::memset(pixels + 12, 255, 9);
    return bytes;
}

COLORREF BitmapPixel(HBITMAP bitmap, int x, int y)
{
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(hdc, bitmap);
    const COLORREF color = GetPixel(hdc, x, y);
    SelectObject(hdc, old);
    DeleteDC(hdc);
    return color;
}

}  // namespace

TEST(ResourceScript, DialogStatementsTakeTheResourceCompilersDefaults)
{
    ResourceTable table;
    const ScriptResult result = Compile(R"(
        #define IDD_X 100
        #define IDC_NAME 10
        IDD_X DIALOGEX 5, 6, 200, 100, 77
        STYLE DS_SETFONT | WS_POPUP
        EXSTYLE WS_EX_TOOLWINDOW
        CAPTION "見出し"
        FONT 9, "ＭＳ ゴシック", 700, 1, 128
        BEGIN
            LTEXT "&Label", IDC_STATIC, 1, 2, 30, 8
            EDITTEXT IDC_NAME, 1, 12, 80, 12, ES_NUMBER | NOT WS_BORDER
            DEFPUSHBUTTON "OK", IDOK, 10, 80, 50, 14
            PUSHBUTTON "Stop", 11, 70, 80, 50, 14, NOT WS_TABSTOP | WS_DISABLED
            CONTROL "Raw", 12, "SysTabControl32", 0x100, 0, 0, 10, 10, WS_EX_CLIENTEDGE
            ICON 128, 13, 100, 2
        END
    )", table);
    ASSERT_TRUE(result.ok) << result.line << ":" << result.column << " " << result.message;
    const DialogTemplate dialog = DialogOf(table, 100);
    EXPECT_EQ(static_cast<DWORD>(DS_SETFONT | WS_POPUP | WS_CAPTION), dialog.style);   // CAPTION adds WS_CAPTION
    EXPECT_EQ(static_cast<DWORD>(WS_EX_TOOLWINDOW), dialog.exStyle);
    EXPECT_EQ(77u, dialog.helpId);
    EXPECT_EQ(5, dialog.x);
    EXPECT_EQ(100, dialog.cy);
    EXPECT_EQ(CString(L"見出し"), dialog.caption);
    EXPECT_EQ(9, dialog.pointSize);
    EXPECT_EQ(700, dialog.weight);
    EXPECT_EQ(1, dialog.italic);
    EXPECT_EQ(128, dialog.charset);
    EXPECT_EQ(CString(L"ＭＳ ゴシック"), dialog.faceName);
    ASSERT_EQ(6u, dialog.items.size());

    EXPECT_EQ(CString(L"Static"), dialog.items[0].className);
    EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_VISIBLE | SS_LEFT | WS_GROUP), dialog.items[0].style);
    EXPECT_EQ(0xFFFFFFFFu, dialog.items[0].id);   // IDC_STATIC
    EXPECT_EQ(CString(L"Edit"), dialog.items[1].className);
    EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_VISIBLE | ES_NUMBER | WS_TABSTOP), dialog.items[1].style);   // NOT took the default border
    EXPECT_EQ(10u, dialog.items[1].id);
    EXPECT_EQ(static_cast<DWORD>(BS_DEFPUSHBUTTON), dialog.items[2].style & BS_TYPEMASK);
    EXPECT_EQ(0u, dialog.items[3].style & WS_TABSTOP);
    EXPECT_NE(0u, dialog.items[3].style & WS_DISABLED);
    EXPECT_EQ(CString(L"SysTabControl32"), dialog.items[4].className);
    EXPECT_EQ(static_cast<DWORD>(WS_EX_CLIENTEDGE), dialog.items[4].exStyle);
    EXPECT_EQ(128, dialog.items[5].textOrdinal);
    EXPECT_EQ(0, dialog.items[5].cx);   // an icon's size comes from the icon
}

// A statement's default value of a style group (a combo box's kind, a
// button's type, a text's alignment) yields to a value of that group that
// the script gives; its other default bits always apply unless NOT takes
// them away.
struct StatementStyleRow {
    const char* statement;   // the control line, id 20
    DWORD mask;              // the bits compared
    DWORD style;             // what they must be
};

static const StatementStyleRow kStatementStyles[] = {
    // statement                                                      mask                         style
    {"COMBOBOX 20, 0, 0, 50, 80",                                     0x3 | WS_TABSTOP,            CBS_SIMPLE | WS_TABSTOP},
    {"COMBOBOX 20, 0, 0, 50, 80, WS_VSCROLL",                         0x3 | WS_VSCROLL,            CBS_SIMPLE | WS_VSCROLL},
    {"COMBOBOX 20, 0, 0, 50, 80, CBS_DROPDOWN | WS_VSCROLL",          0x3 | WS_TABSTOP,            CBS_DROPDOWN | WS_TABSTOP},
    {"COMBOBOX 20, 0, 0, 50, 80, CBS_DROPDOWNLIST",                   0x3,                         CBS_DROPDOWNLIST},
    {"COMBOBOX 20, 0, 0, 50, 80, CBS_DROPDOWN | NOT WS_TABSTOP",      0x3 | WS_TABSTOP,            CBS_DROPDOWN},
    {"COMBOBOX 20, 0, 0, 50, 80, NOT CBS_SIMPLE | CBS_DROPDOWN",      0x3,                         CBS_DROPDOWN},
    {"RTEXT \"x\", 20, 0, 0, 50, 8",                                SS_TYPEMASK | WS_GROUP,      SS_RIGHT | WS_GROUP},
    {"RTEXT \"x\", 20, 0, 0, 50, 8, SS_CENTER",                     SS_TYPEMASK | WS_GROUP,      SS_CENTER | WS_GROUP},
    {"CTEXT \"x\", 20, 0, 0, 50, 8, SS_LEFT",                       SS_TYPEMASK,                 SS_LEFT},
    {"LTEXT \"x\", 20, 0, 0, 50, 8, SS_NOPREFIX | NOT WS_GROUP",    SS_TYPEMASK | WS_GROUP,      SS_LEFT},
    {"RADIOBUTTON \"x\", 20, 0, 0, 50, 8, BS_AUTORADIOBUTTON",      BS_TYPEMASK | WS_TABSTOP,    BS_AUTORADIOBUTTON | WS_TABSTOP},
    {"DEFPUSHBUTTON \"x\", 20, 0, 0, 50, 8, BS_PUSHBUTTON",         BS_TYPEMASK,                 BS_PUSHBUTTON},
    {"CHECKBOX \"x\", 20, 0, 0, 50, 8, BS_PUSHLIKE",                BS_TYPEMASK | BS_PUSHLIKE,   BS_CHECKBOX | BS_PUSHLIKE},
    {"GROUPBOX \"x\", 20, 0, 0, 50, 8, WS_TABSTOP",                 BS_TYPEMASK | WS_TABSTOP,    BS_GROUPBOX | WS_TABSTOP},
    {"EDITTEXT 20, 0, 0, 50, 12, ES_RIGHT",                           0x3 | WS_BORDER | WS_TABSTOP, ES_RIGHT | WS_BORDER | WS_TABSTOP},
    {"LISTBOX 20, 0, 0, 50, 40, LBS_SORT",                            LBS_SORT | LBS_NOTIFY | WS_BORDER, LBS_SORT | LBS_NOTIFY | WS_BORDER},
    {"LISTBOX 20, 0, 0, 50, 40, NOT WS_BORDER",                       LBS_NOTIFY | WS_BORDER,      LBS_NOTIFY},
    {"SCROLLBAR 20, 0, 0, 50, 8, SBS_VERT",                           SBS_VERT,                    SBS_VERT},
};

TEST(ResourceScript, StatementDefaultsOfAGroupYieldToTheGivenValue)
{
    for (const StatementStyleRow& row : kStatementStyles) {
        SCOPED_TRACE(row.statement);
        ResourceTable table;
        const std::string script = std::string("100 DIALOGEX 0, 0, 100, 100\nBEGIN\n    ") + row.statement + "\nEND\n";
        const ScriptResult result = Compile(script, table);
        ASSERT_TRUE(result.ok) << result.line << ":" << result.column << " " << result.message;
        const DialogTemplate dialog = DialogOf(table, 100);
        ASSERT_EQ(1u, dialog.items.size());
        EXPECT_EQ(row.style, dialog.items[0].style & row.mask);
        EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_VISIBLE), dialog.items[0].style & (WS_CHILD | WS_VISIBLE));
    }
}

TEST(ResourceScript, ErrorsSayWhereAndAddNothing)
{
    struct Case {
        const char* script;
        int line;
        int column;
    };
    const Case cases[] = {
        {"100 DIALOG 0, 0, 10\nBEGIN END", 2, 1},                          // missing height
        {"100 DIALOG 0,0,10,10\nBEGIN\n  LTEXT \"x\", NOPE, 1,1,1,1\nEND", 3, 14},   // undefined name
        {"100 DIALOG 0,0,10,10\nBEGIN\n  WIDGET 1,1,1,1\nEND", 3, 3},    // unknown statement
        {"100 DIALOG 0,0,10,10\nCAPTION \"open\nBEGIN END", 2, 9},        // string not closed
        {"\"NAMED\" DIALOG 0,0,10,10 BEGIN END", 1, 1},                    // named resources
        {"0 DIALOG 0,0,10,10 BEGIN END", 1, 1},                            // id 0
        {"100 DIALOG 0,0,99999,10 BEGIN END", 1, 16},                      // coordinate too large
        {"100 MENU BEGIN POPUP \"x\" BEGIN END END", 1, 16},               // empty popup
        {"/* never closed", 1, 1},
        {"STRINGTABLE BEGIN 1 \"a\"", 1, 24},                              // no END
        {"5 MENUEX BEGIN MENUITEM \"a\", 1, 0, 0 END", 1, 3},             // not read as a MENU
    };
    for (const Case& c : cases) {
        ResourceTable table;
        const ScriptResult result = Compile(c.script, table);
        EXPECT_FALSE(result.ok) << c.script;
        EXPECT_EQ(c.line, result.line) << c.script << " " << result.message;
        EXPECT_EQ(c.column, result.column) << c.script << " " << result.message;
        EXPECT_FALSE(result.message.empty());
        EXPECT_TRUE(table.data.empty());
        EXPECT_TRUE(table.strings.empty());
    }
}

TEST(ResourceScript, StringTablesAndMenusCompileIntoTheirResources)
{
    ResourceTable table;
    ASSERT_TRUE(Compile(R"(
        STRINGTABLE
        BEGIN
            1 "one"
            2, "a ""quoted"" word\twith a tab"
            3 L"心電図"
        END
        200 MENU
        BEGIN
            POPUP "&File"
            BEGIN
                MENUITEM "&Open", 10
                MENUITEM SEPARATOR
                POPUP "More"
                BEGIN
                    MENUITEM "Deep", 11, CHECKED, GRAYED
                END
            END
            MENUITEM "&Help", 12, HELP
        END
    )", table).ok);
    EXPECT_EQ(L"one", table.strings[1]);
    EXPECT_EQ(L"a \"quoted\" word\twith a tab", table.strings[2]);
    EXPECT_EQ(L"心電図", table.strings[3]);

    const std::vector<BYTE>& bytes = table.data[{LOWORD(RT_MENU), 200}];
    std::vector<MenuTemplateItem> menu;
    ASSERT_TRUE(platform::ui::ReadMenuTemplate(bytes.data(), bytes.size(), menu).ok);
    ASSERT_EQ(2u, menu.size());
    EXPECT_EQ(CString(L"&File"), menu[0].text);
    EXPECT_NE(0u, menu[0].flags & MF_POPUP);
    ASSERT_EQ(3u, menu[0].items.size());
    EXPECT_EQ(10u, menu[0].items[0].id);
    EXPECT_TRUE(menu[0].items[1].text.IsEmpty());   // the separator
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED | MF_GRAYED), menu[0].items[2].items[0].flags);
    EXPECT_EQ(12u, menu[1].id);
    EXPECT_EQ(static_cast<UINT>(MF_HELP), menu[1].flags);
    EXPECT_EQ(bytes, platform::ui::WriteMenuTemplate(menu));
}

TEST(DialogTemplateBytes, WrittenTemplateReadsBackWhole)
{
    DialogTemplate dialog;
    dialog.style = WS_POPUP | DS_SETFONT;
    dialog.cx = 100;
    dialog.cy = 50;
    dialog.caption = L"見出し \U0001F600";   // a character outside the basic plane
    dialog.pointSize = 9;
    dialog.faceName = L"ＭＳ ゴシック";
    platform::ui::DialogItemTemplate button;
    button.className = L"Button";
    button.text = L"OK";
    button.id = IDOK;
    button.style = WS_CHILD | BS_DEFPUSHBUTTON;
    button.creationData = {1, 2, 3};
    platform::ui::DialogItemTemplate custom;
    custom.className = L"MyControl";
    custom.textOrdinal = 42;
    dialog.items = {button, custom};
    const std::vector<BYTE> bytes = platform::ui::WriteDialogTemplate(dialog);
    DialogTemplate back;
    ASSERT_TRUE(ReadDialogTemplate(bytes.data(), bytes.size(), back).ok);
    EXPECT_EQ(dialog.caption, back.caption);
    EXPECT_EQ(dialog.faceName, back.faceName);
    ASSERT_EQ(2u, back.items.size());
    EXPECT_EQ(CString(L"Button"), back.items[0].className);   // written as the predefined atom
    EXPECT_EQ((std::vector<BYTE>{1, 2, 3}), back.items[0].creationData);
    EXPECT_EQ(CString(L"MyControl"), back.items[1].className);
    EXPECT_EQ(42, back.items[1].textOrdinal);
    EXPECT_EQ(bytes, platform::ui::WriteDialogTemplate(back));

    // Every shorter prefix is refused, never read past.
    for (size_t length = 0; length < bytes.size(); ++length) {
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        DialogTemplate partial;
        const platform::ui::TemplateReadResult result = ReadDialogTemplate(cut.data(), cut.size(), partial);
        EXPECT_FALSE(result.ok) << length;
        EXPECT_LE(result.offset, length);
    }
}

TEST(DialogTemplateBytes, OldTemplateLayoutReadsAndBrokenBytesAreRefused)
{
    // DLGTEMPLATE with one item: a "Static" by atom, text "Hi", id 5.
    std::vector<BYTE> old = {
        0x00, 0x00, 0xC0, 0x80,   // style WS_POPUP | WS_BORDER | WS_CAPTION... (0x80C00000)
        0, 0, 0, 0,               // extended style
        1, 0,                     // one item
        0, 0, 0, 0, 40, 0, 20, 0, // x y cx cy
        0, 0, 0, 0,               // no menu, no class
        'T', 0, 0, 0,             // caption "T"
        0, 0,                     // padding: items start on 4-byte boundaries (offset 28)
        0, 0, 0, 0x50,            // style WS_CHILD | WS_VISIBLE
        0, 0, 0, 0,
        1, 0, 2, 0, 30, 0, 8, 0,
        5, 0,                     // id
        0xFF, 0xFF, 0x82, 0x00,   // class atom: Static
        'H', 0, 'i', 0, 0, 0,     // text
        0, 0,                     // no creation data
    };
    DialogTemplate dialog;
    ASSERT_TRUE(ReadDialogTemplate(old.data(), old.size(), dialog).ok);
    EXPECT_EQ(CString(L"T"), dialog.caption);
    ASSERT_EQ(1u, dialog.items.size());
    EXPECT_EQ(CString(L"Static"), dialog.items[0].className);
    EXPECT_EQ(CString(L"Hi"), dialog.items[0].text);
    EXPECT_EQ(5u, dialog.items[0].id);

    std::vector<BYTE> unknownAtom = old;
    unknownAtom[48] = 0x99;
    EXPECT_FALSE(ReadDialogTemplate(unknownAtom.data(), unknownAtom.size(), dialog).ok);
    std::vector<BYTE> brokenPair = old;
    brokenPair[22] = 0x00;
    brokenPair[23] = 0xD8;   // a high surrogate followed by the terminator
    const platform::ui::TemplateReadResult result = ReadDialogTemplate(brokenPair.data(), brokenPair.size(), dialog);
    EXPECT_FALSE(result.ok);
    EXPECT_STREQ("a string holds a broken surrogate pair", result.problem);
    EXPECT_FALSE(ReadDialogTemplate(nullptr, 10, dialog).ok);
}

TEST(MenuTemplateBytes, NestingAndEndingAreChecked)
{
    std::vector<MenuTemplateItem> menu(1);
    menu[0].text = L"x";
    menu[0].items.resize(1);
    menu[0].items[0].text = L"y";
    menu[0].items[0].id = 3;
    std::vector<BYTE> bytes = platform::ui::WriteMenuTemplate(menu);
    std::vector<MenuTemplateItem> back;
    EXPECT_TRUE(platform::ui::ReadMenuTemplate(bytes.data(), bytes.size(), back).ok);
    bytes.resize(bytes.size() - 2);   // the last terminator gone
    EXPECT_FALSE(platform::ui::ReadMenuTemplate(bytes.data(), bytes.size(), back).ok);
    // Popups inside popups beyond any real menu.
    std::vector<BYTE> deep = {0, 0, 0, 0};
    for (int i = 0; i < 40; ++i) deep.insert(deep.end(), {MF_POPUP, 0, 'p', 0, 0, 0});
    EXPECT_FALSE(platform::ui::ReadMenuTemplate(deep.data(), deep.size(), back).ok);
    const BYTE empty[] = {0, 0, 0, 0};
    EXPECT_TRUE(platform::ui::ReadMenuTemplate(empty, sizeof(empty), back).ok);
    EXPECT_TRUE(back.empty());
}

TEST(ResourceFunctions, FoundResourcesLoadLockAndSizeToTheirBytes)
{
    platform::ui::IsolatedResourceList isolated;
    ResourceTable table;
    table.data[{LOWORD(RT_RCDATA), 5}] = {1, 2, 3, 4, 5};
    platform::ui::ResourceRegistrar module(uitest::FakeModule(7), table);
    HRSRC found = FindResourceW(module.Module(), MAKEINTRESOURCE(5), RT_RCDATA);
    ASSERT_NE(nullptr, found);
    EXPECT_EQ(found, FindResourceW(module.Module(), MAKEINTRESOURCE(5), RT_RCDATA));   // one handle per resource
    EXPECT_EQ(5u, SizeofResource(module.Module(), found));
    HGLOBAL loaded = LoadResource(module.Module(), found);
    const BYTE* bytes = static_cast<const BYTE*>(LockResource(loaded));
    ASSERT_NE(nullptr, bytes);
    EXPECT_EQ(3, bytes[2]);
    EXPECT_EQ(5u, platform::ui::ResourceSizeOf(bytes));
    EXPECT_FALSE(FreeResource(loaded));

    EXPECT_EQ(nullptr, FindResourceW(module.Module(), MAKEINTRESOURCE(6), RT_RCDATA));
    EXPECT_EQ(nullptr, FindResourceW(module.Module(), MAKEINTRESOURCE(5), RT_DIALOG));
    EXPECT_EQ(nullptr, FindResourceW(module.Module(), L"NAMED", RT_RCDATA));
    EXPECT_EQ(nullptr, LoadResource(module.Module(), reinterpret_cast<HRSRC>(&table)));
    EXPECT_EQ(0u, SizeofResource(module.Module(), nullptr));
    EXPECT_EQ(0u, platform::ui::ResourceSizeOf(&table));
}

TEST(ResourceFunctions, BitmapsAreMadeFromBmpAndPngBytes)
{
    const int before = platform::gdi::LiveObjectCount();
    const std::vector<BYTE> bmp = Bmp24();
    HBITMAP bitmap = platform::ui::CreateBitmapFromImageBytes(bmp.data(), bmp.size());
    ASSERT_NE(nullptr, bitmap);
    EXPECT_EQ(RGB(255, 0, 0), BitmapPixel(bitmap, 0, 1));   // bottom-up: the first row is the bottom one
    EXPECT_EQ(RGB(0, 255, 0), BitmapPixel(bitmap, 1, 1));
    EXPECT_EQ(RGB(0, 0, 255), BitmapPixel(bitmap, 2, 1));
    EXPECT_EQ(RGB(255, 255, 255), BitmapPixel(bitmap, 0, 0));
    DeleteObject(bitmap);

    // PNG bytes, written by the graphics layer.
    testsupport::TempDir folder;
    HDC image = platform::gdi::CreateImageDC(4, 4);
    SetPixel(image, 3, 3, RGB(10, 20, 30));
    const std::string path = folder.File("pixel.png");
    ASSERT_TRUE(platform::gdi::SaveImagePng(image, path.c_str()));
    DeleteDC(image);
    const std::string png = testsupport::ReadFileBytes(path);
    bitmap = platform::ui::CreateBitmapFromImageBytes(reinterpret_cast<const BYTE*>(png.data()), png.size());
    ASSERT_NE(nullptr, bitmap);
    EXPECT_EQ(RGB(10, 20, 30), BitmapPixel(bitmap, 3, 3));
    DeleteObject(bitmap);
    bitmap = static_cast<HBITMAP>(LoadImageW(nullptr, CString(path.c_str()), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(nullptr, bitmap);
    DeleteObject(bitmap);
    EXPECT_EQ(nullptr, LoadImageW(nullptr, L"/no/such/file.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    EXPECT_EQ(before, platform::gdi::LiveObjectCount());
}

TEST(ResourceFunctions, BrokenBmpBytesAreRefused)
{
    const std::vector<BYTE> good = Bmp24();
    for (size_t length = 0; length < good.size(); ++length)
        EXPECT_EQ(nullptr, platform::ui::CreateBitmapFromImageBytes(good.data(), length)) << length;
    auto broken = [&](size_t at, BYTE value) {
        std::vector<BYTE> bytes = good;
        bytes[at] = value;
        return platform::ui::CreateBitmapFromImageBytes(bytes.data(), bytes.size());
    };
    EXPECT_EQ(nullptr, broken(14 + 14, 7));    // 7 bits a pixel
    EXPECT_EQ(nullptr, broken(14 + 16, 1));    // run-length compressed
    EXPECT_EQ(nullptr, broken(14 + 4, 0));     // no width
    EXPECT_EQ(nullptr, broken(10, 200));       // pixels beyond the end
    EXPECT_EQ(nullptr, broken(14, 12));        // an old core header
}

TEST(ResourceFunctions, TestScriptIsRegisteredForTheProgram)
{
    uitest::TestResources();
    EXPECT_NE(nullptr, FindResourceW(nullptr, MAKEINTRESOURCE(uitest::IDD_TAB_ORDER), RT_DIALOG));
    EXPECT_NE(nullptr, FindResourceW(nullptr, MAKEINTRESOURCE(uitest::IDR_TEST_MENU), RT_MENU));
    CString text;
    EXPECT_TRUE(text.LoadString(9200));
    EXPECT_EQ(CString(L"心電図の表示"), text);
    EXPECT_TRUE(text.LoadString(9201));
    EXPECT_EQ(CString(L"Say \"hello\""), text);
}
