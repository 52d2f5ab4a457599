// Resource modules: the framework's search order, string loading with the
// Win32 contract, cursors and icons cached as shared handles.
#include <gtest/gtest.h>

#include <cwchar>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Icon.h"
#include "platform/ui/framework/WinApp.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Resources.h"
#include "tests/platform/ui/UiTestSupport.h"

using platform::ui::IsolatedResourceList;
using platform::ui::ResourceImage;
using platform::ui::ResourceRegistrar;
using platform::ui::ResourceTable;

namespace {

ResourceImage SolidImage(int width, int height, int hotX, int hotY)
{
    ResourceImage image;
    image.width = width;
    image.height = height;
    image.hotX = hotX;
    image.hotY = hotY;
    image.argb.assign(static_cast<size_t>(width) * height, 0xFF336699u);
    return image;
}

ResourceTable Strings(std::initializer_list<std::pair<const UINT, std::wstring>> strings)
{
    ResourceTable table;
    table.strings = strings;
    return table;
}

// The executable (the resource handle) and two extension modules, each with
// strings that overlap the others'.
class ResourceSearch : public ::testing::Test {
protected:
    ResourceSearch()
        : m_exe(uitest::FakeModule(10), Strings({{100, L"exe 100"}, {400, L""}})),
          m_first(uitest::FakeModule(11), Strings({{100, L"first 100"}, {200, L"first 200"}, {400, L""}})),
          m_second(uitest::FakeModule(12), Strings({{200, L"second 200"}, {300, L"second 300"}, {400, L"second 400"}}))
    {
        AfxSetResourceHandle(m_exe.Module());
    }
    ~ResourceSearch() override { AfxSetResourceHandle(nullptr); }   // back to following the main application

    IsolatedResourceList m_isolated;
    ResourceRegistrar m_exe;
    ResourceRegistrar m_first;
    ResourceRegistrar m_second;
};

CString Loaded(UINT id)
{
    CString text(L"stale");
    text.LoadString(id);
    return text;
}

}  // namespace

TEST_F(ResourceSearch, ResourceHandleComesBeforeExtensionModules)
{
    // Registered after both extension modules would not matter either: the
    // resource handle is always searched first.
    EXPECT_EQ(CString(L"exe 100"), Loaded(100));
    EXPECT_EQ(m_exe.Module(), AfxFindResourceHandle(MAKEINTRESOURCE(100), RT_STRING));
}

TEST_F(ResourceSearch, ExtensionModulesAreSearchedInRegistrationOrder)
{
    EXPECT_EQ(CString(L"first 200"), Loaded(200));
    EXPECT_EQ(CString(L"second 300"), Loaded(300));
    EXPECT_EQ(m_first.Module(), AfxFindStringResourceHandle(200));
    EXPECT_EQ(m_second.Module(), AfxFindResourceHandle(MAKEINTRESOURCE(300), RT_STRING));
}

TEST_F(ResourceSearch, EmptyStringCountsAsMissing)
{
    EXPECT_EQ(CString(L"second 400"), Loaded(400));
}

TEST_F(ResourceSearch, MissingStringIsEmptyAndFalse)
{
    CString text(L"stale");
    EXPECT_FALSE(text.LoadString(999));
    EXPECT_TRUE(text.IsEmpty());
    // The search then names the resource handle, so the load there fails as well.
    EXPECT_EQ(m_exe.Module(), AfxFindResourceHandle(MAKEINTRESOURCE(999), RT_STRING));
    EXPECT_EQ(m_exe.Module(), AfxFindResourceHandle(L"NAMED", RT_STRING));
}

TEST_F(ResourceSearch, UnregisteredModuleDropsOutOfTheSearch)
{
    platform::ui::UnregisterResources(m_first.Module());
    EXPECT_EQ(CString(L"second 200"), Loaded(200));
    EXPECT_EQ(2, platform::ui::ResourceModuleCount());
}

TEST_F(ResourceSearch, SecondRegistrationAddsToTheModuleAndKeepsItsPlace)
{
    platform::ui::RegisterResources(m_second.Module(), Strings({{100, L"second 100"}, {500, L"second 500"}}));
    platform::ui::RegisterResources(m_first.Module(), Strings({{200, L"first 200 again"}}));
    EXPECT_EQ(CString(L"exe 100"), Loaded(100));
    EXPECT_EQ(CString(L"first 200 again"), Loaded(200));
    EXPECT_EQ(CString(L"second 500"), Loaded(500));
    EXPECT_EQ(3, platform::ui::ResourceModuleCount());
    EXPECT_EQ(m_first.Module(), platform::ui::ResourceModule(1));
}

TEST(LoadStringW, CopiesWithTheWin32Contract)
{
    IsolatedResourceList isolated;
    ResourceRegistrar module(uitest::FakeModule(20), Strings({{7, L"心電図"}}));
    wchar_t buffer[8];

    EXPECT_EQ(3, LoadStringW(module.Module(), 7, buffer, 8));
    EXPECT_STREQ(L"心電図", buffer);
    // A short buffer takes max - 1 characters and the terminator.
    EXPECT_EQ(2, LoadStringW(module.Module(), 7, buffer, 3));
    EXPECT_STREQ(L"心電", buffer);
    EXPECT_EQ(0, LoadStringW(module.Module(), 7, buffer, 1));
    EXPECT_STREQ(L"", buffer);

    // Failures return 0 and leave an empty string where there is room for one.
    wcscpy(buffer, L"old");
    EXPECT_EQ(0, LoadStringW(module.Module(), 8, buffer, 8));
    EXPECT_STREQ(L"", buffer);
    wcscpy(buffer, L"old");
    EXPECT_EQ(0, LoadStringW(uitest::FakeModule(21), 7, buffer, 8));
    EXPECT_STREQ(L"", buffer);
    EXPECT_EQ(0, LoadStringW(nullptr, 7, buffer, 8));
    wcscpy(buffer, L"old");
    EXPECT_EQ(0, LoadStringW(module.Module(), 7, buffer, 0));
    EXPECT_STREQ(L"old", buffer);   // no room: untouched
    EXPECT_EQ(0, LoadStringW(module.Module(), 7, nullptr, 8));
}

TEST(DataResources, BytesStayWithTheCallerAfterTheModuleGoes)
{
    IsolatedResourceList isolated;
    std::shared_ptr<const std::vector<BYTE>> bytes;
    {
        ResourceTable table;
        table.data[{LOWORD(RT_DIALOG), 3000}] = {1, 2, 3};
        ResourceRegistrar module(uitest::FakeModule(30), table);
        EXPECT_TRUE(platform::ui::HasResource(module.Module(), MAKEINTRESOURCE(3000), RT_DIALOG));
        EXPECT_FALSE(platform::ui::HasResource(module.Module(), MAKEINTRESOURCE(3000), RT_MENU));
        EXPECT_EQ(nullptr, platform::ui::FindResourceData(module.Module(), MAKEINTRESOURCE(3000), RT_MENU));
        EXPECT_EQ(module.Module(), AfxFindResourceHandle(MAKEINTRESOURCE(3000), RT_DIALOG));
        bytes = platform::ui::FindResourceData(module.Module(), MAKEINTRESOURCE(3000), RT_DIALOG);
    }
    ASSERT_NE(nullptr, bytes);
    EXPECT_EQ((std::vector<BYTE>{1, 2, 3}), *bytes);
    EXPECT_EQ(nullptr, platform::ui::FindResourceData(uitest::FakeModule(30), MAKEINTRESOURCE(3000), RT_DIALOG));
}

TEST(CursorResources, LoadingTwiceGivesTheSameImage)
{
    IsolatedResourceList isolated;
    ResourceTable table;
    table.cursors[103] = SolidImage(16, 16, 3, 4);
    table.icons[128] = SolidImage(32, 32, 16, 16);
    ResourceRegistrar module(uitest::FakeModule(40), table);

    HCURSOR cursor = LoadCursorW(module.Module(), MAKEINTRESOURCE(103));
    ASSERT_NE(nullptr, cursor);
    EXPECT_EQ(cursor, LoadCursorW(module.Module(), MAKEINTRESOURCE(103)));
    SIZE size{};
    POINT hotspot{};
    ASSERT_TRUE(platform::gdi::GetIconMetrics(cursor, &size, &hotspot));
    EXPECT_EQ(16, size.cx);
    EXPECT_EQ(3, hotspot.x);
    EXPECT_EQ(4, hotspot.y);

    HICON icon = LoadIconW(module.Module(), MAKEINTRESOURCE(128));
    ASSERT_NE(nullptr, icon);
    EXPECT_NE(cursor, icon);
    EXPECT_EQ(icon, LoadIconW(module.Module(), MAKEINTRESOURCE(128)));
}

// Windows ignores DestroyIcon on a shared (loaded) icon or cursor, and the
// system relies on that when it hands loaded icons to buttons that destroy
// theirs: the handle survives and the next load gives it back.
TEST(CursorResources, DestroyIconLeavesSharedCursorsAlive)
{
    IsolatedResourceList isolated;
    ResourceTable table;
    table.cursors[103] = SolidImage(16, 16, 3, 4);
    ResourceRegistrar module(uitest::FakeModule(42), table);
    HCURSOR cursor = LoadCursorW(module.Module(), MAKEINTRESOURCE(103));
    ASSERT_NE(nullptr, cursor);
    EXPECT_TRUE(DestroyIcon(cursor));
    EXPECT_TRUE(platform::gdi::GetIconMetrics(cursor, nullptr, nullptr));
    EXPECT_EQ(cursor, LoadCursorW(module.Module(), MAKEINTRESOURCE(103)));
}

TEST(CursorResources, ApplicationFindsCursorsThroughTheSearchOrder)
{
    IsolatedResourceList isolated;
    platform::ui::IsolatedApplicationList apps;
    CWinApp app(L"cursors");
    ResourceTable table;
    table.cursors[143] = SolidImage(32, 32, 0, 31);
    ResourceRegistrar library(uitest::FakeModule(41), table);

    HCURSOR draw = app.LoadCursor(143);
    ASSERT_NE(nullptr, draw);
    EXPECT_EQ(draw, LoadCursorW(library.Module(), MAKEINTRESOURCE(143)));
    EXPECT_EQ(nullptr, app.LoadCursor(144));
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), app.LoadStandardCursor(IDC_ARROW));
}

TEST(CursorResources, StockCursorsAndIconsNeedNoModule)
{
    LPCWSTR cursors[] = {IDC_ARROW, IDC_IBEAM, IDC_WAIT, IDC_CROSS, IDC_HAND, IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL};
    for (LPCWSTR name : cursors) {
        HCURSOR cursor = LoadCursorW(nullptr, name);
        ASSERT_NE(nullptr, cursor) << LOWORD(name);
        EXPECT_EQ(cursor, LoadCursorW(nullptr, name)) << LOWORD(name);
        EXPECT_NE(LoadCursorW(nullptr, IDC_ARROW) == cursor, name != IDC_ARROW) << LOWORD(name);
    }
    SIZE size{};
    POINT hotspot{};
    ASSERT_TRUE(platform::gdi::GetIconMetrics(LoadCursorW(nullptr, IDC_ARROW), &size, &hotspot));
    EXPECT_EQ(GetSystemMetrics(SM_CXCURSOR), size.cx);
    EXPECT_EQ(0, hotspot.x);   // the arrow points with its tip
    EXPECT_EQ(0, hotspot.y);

    LPCWSTR icons[] = {IDI_APPLICATION, IDI_ERROR, IDI_QUESTION, IDI_WARNING, IDI_INFORMATION};
    for (LPCWSTR name : icons) {
        HICON icon = LoadIconW(nullptr, name);
        ASSERT_NE(nullptr, icon) << LOWORD(name);
        ASSERT_TRUE(platform::gdi::GetIconMetrics(icon, &size, &hotspot));
        // An icon's hot spot is its centre: twice it is the icon's size.
        EXPECT_EQ(GetSystemMetrics(SM_CXICON), 2 * hotspot.x) << LOWORD(name);
        EXPECT_EQ(GetSystemMetrics(SM_CYICON), 2 * hotspot.y) << LOWORD(name);
    }
}

TEST(CursorResources, MissingOrBrokenImagesLoadAsNull)
{
    IsolatedResourceList isolated;
    ResourceTable table;
    ResourceImage shortImage = SolidImage(16, 16, 0, 0);
    shortImage.argb.resize(10);   // fewer pixels than the size says
    table.cursors[1] = shortImage;
    table.cursors[2] = SolidImage(16, 16, 16, 0);   // hot spot outside
    table.cursors[3] = SolidImage(0, 16, 0, 0);
    ResourceRegistrar module(uitest::FakeModule(50), table);

    EXPECT_EQ(nullptr, LoadCursorW(module.Module(), MAKEINTRESOURCE(1)));
    EXPECT_EQ(nullptr, LoadCursorW(module.Module(), MAKEINTRESOURCE(2)));
    EXPECT_EQ(nullptr, LoadCursorW(module.Module(), MAKEINTRESOURCE(3)));
    EXPECT_EQ(nullptr, LoadCursorW(module.Module(), MAKEINTRESOURCE(4)));
    EXPECT_EQ(nullptr, LoadCursorW(module.Module(), L"HAND"));   // named resources are not supported
    EXPECT_EQ(nullptr, LoadCursorW(module.Module(), IDC_ARROW));   // stock cursors only without a module
    EXPECT_EQ(nullptr, LoadCursorW(uitest::FakeModule(51), MAKEINTRESOURCE(1)));
    EXPECT_EQ(nullptr, LoadCursorW(nullptr, MAKEINTRESOURCE(1)));
    EXPECT_EQ(nullptr, LoadIconW(module.Module(), MAKEINTRESOURCE(1)));   // cursors are not icons
}
