#include <gtest/gtest.h>

#include <set>

#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/Dialog.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/DialogTemplate.h"
#include "platform/ui/windowing/Resources.h"
#include "resources/EmbeddedScripts.h"

namespace {

using platform::ui::DialogTemplate;

// The library's template `id`, found through the module search as the
// dialogs find it.
bool LoadLibraryTemplate(UINT id, DialogTemplate& out)
{
    for (int i = 0; i < platform::ui::ResourceModuleCount(); ++i) {
        HINSTANCE module = platform::ui::ResourceModule(i);
        HRSRC found = FindResource(module, MAKEINTRESOURCE(id), RT_DIALOG);
        if (!found) continue;
        const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
        return platform::ui::ReadDialogTemplate(bytes, SizeofResource(module, found), out).ok;
    }
    return false;
}

const platform::ui::DialogItemTemplate* Item(const DialogTemplate& dialog, DWORD id)
{
    for (const auto& item : dialog.items)
        if (item.id == id) return &item;
    return nullptr;
}

}  // namespace

// Which controls each template must carry, with the texts the dialogs show
// before their own initialisation runs.
struct TemplateRow {
    UINT id;
    const wchar_t* caption;
    std::vector<DWORD> controls;
};

TEST(LibraryTemplates, EveryDialogTemplateLoadsWithItsControls)
{
    const std::vector<TemplateRow> rows = {
        {100, L"", {}},
        {119, L"入力・編集", {3484, 3485, IDOK, IDCANCEL}},
        {120, L"更新(判読医師名入力)", {3486, 3487, 3488, 3489, IDOK, IDCANCEL}},
        {150, L"付帯情報の編集", {3914, 3915, 3916, 3917, 3918, 3919, 3920, 3921, 3922, 3923, 3924, 3925, 3926, 3927,
                                  3928, 3929, 3930, IDOK, IDCANCEL}},
        {151, L"定型文の編集", {4218, IDOK, IDCANCEL}},
        {152, L"定型文の編集", {4218, IDOK, IDCANCEL}},
        {138, L"ｺﾒﾝﾄの編集", {3761, 3762, 3763, 3764, 3765, 3766, 3767, 3768, 3769, IDOK, IDCANCEL}},
        {141, L"定型文の編集", {3770, IDOK, IDCANCEL}},
        {122, L"IVRELの編集", {3490, 3491, 3492, 3493, 3494, 3495, 3496, IDOK, IDCANCEL}},
        {175, L"ﾐﾈｿﾀの編集", {4220, 4221, 4222, 4223, 4224, 4225, 4226, IDOK, IDCANCEL}},
        {142, L"ﾚﾎﾟｰﾄ印刷", {3771, IDCANCEL}},
        {172, L"誘導の選択", {4193, 4194, 4195, 4196, 4197, 4198, 4199, 4200, 4201, 4202, 4203, 4204, IDOK, IDCANCEL}},
        {173, L"誘導の選択", {4206, 4207, 4208, 4209, 4210, 4211, 4212, 4213, 4214, 4215, 4216, 4217, IDOK, IDCANCEL}},
        {174, L"誘導の選択", {4212, 4214, 4217, IDOK, IDCANCEL}},
    };
    for (const TemplateRow& row : rows) {
        SCOPED_TRACE(row.id);
        DialogTemplate dialog;
        ASSERT_TRUE(LoadLibraryTemplate(row.id, dialog));
        EXPECT_EQ(dialog.caption, row.caption);
        for (DWORD control : row.controls) EXPECT_NE(Item(dialog, control), nullptr) << "control " << control;
        // No control is placed twice under one id (labels without one aside).
        std::set<DWORD> ids;
        for (const auto& item : dialog.items) {
            if (item.id == 0xFFFF || item.id == static_cast<DWORD>(-1)) continue;
            EXPECT_TRUE(ids.insert(item.id).second) << "control " << item.id;
        }
    }
}

TEST(LibraryTemplates, TextsStandAsTheDialogsSpellThem)
{
    DialogTemplate addition;
    ASSERT_TRUE(LoadLibraryTemplate(150, addition));
    EXPECT_EQ(Item(addition, 3928)->text, L"付帯情報ﾌﾟﾚﾋﾞｭ?");
    DialogTemplate six;
    ASSERT_TRUE(LoadLibraryTemplate(172, six));
    EXPECT_EQ(Item(six, 4193)->text, L"I");
    EXPECT_EQ(Item(six, 4204)->text, L"V6");
    EXPECT_EQ(Item(six, IDCANCEL)->text, L"ｷｬﾝｾﾙ");
    EXPECT_EQ(six.items.front().text, L"6誘導");
    DialogTemplate chest;
    ASSERT_TRUE(LoadLibraryTemplate(174, chest));
    EXPECT_EQ(Item(chest, 4214)->text, L"V3");
}

TEST(LibraryTemplates, PromptListsAreDropDownListsWithoutTyping)
{
    DialogTemplate editor;
    ASSERT_TRUE(LoadLibraryTemplate(119, editor));
    EXPECT_EQ(Item(editor, 3485)->style & 0x3u, static_cast<DWORD>(CBS_DROPDOWNLIST));
    DialogTemplate comment;
    ASSERT_TRUE(LoadLibraryTemplate(138, comment));
    const DWORD box = Item(comment, 3769)->style;
    EXPECT_TRUE(box & ES_MULTILINE);
    EXPECT_TRUE(box & ES_WANTRETURN);
    EXPECT_TRUE(box & WS_VSCROLL);
}

// Every combo box of the library's templates, by template: the ones the
// user types into (drop-downs) are listed, every other is a drop-down list.
struct ComboTemplateRow {
    UINT id;
    std::set<DWORD> typed;
};

TEST(LibraryTemplates, ComboBoxesAreDropDownsOrDropDownListsAsTheDialogsUseThem)
{
    auto range = [](DWORD first, DWORD last) {
        std::set<DWORD> ids;
        for (DWORD id = first; id <= last; ++id) ids.insert(id);
        return ids;
    };
    const std::vector<ComboTemplateRow> rows = {
        {106, range(3250, 3258)}, {107, {}}, {119, {}}, {120, {}}, {124, {}}, {136, range(3739, 3747)},
        {137, {4138, 4140, 4142, 4144, 4146, 4148, 4150, 4152, 4154}},
        // The forms: every bound combo box takes typed text as well as its list.
        {101, {3009, 3012}},
        {114, {3031, 3033, 3035, 3037, 3039, 3041, 3045, 3047, 3049, 3096}},
        {121, {3031, 3033, 3035, 3037, 3039, 3041, 3047, 3049, 3096}},
        {134, {3601, 3603, 3605, 3607, 3609, 3611, 3613, 3615, 3618}},
        {135, {3637, 3639, 3641, 3643, 3645, 3647, 3651, 3653, 3655}},
        {157, {4019, 4021, 4023, 4025, 4027, 4029, 4031, 4033, 4036, 4042}},
        {158, {}},   // the trend-kind strip of the exercise summary page
        {144, range(3803, 3805)}, {146, {}}, {147, range(3826, 3834)}, {148, {}}, {153, range(3826, 3832)},
        {154, {}}, {171, {}},
        {159, {}},   // the trend pages' strip
    };
    std::set<UINT> withCombos;
    int count = 0;
    const EmbeddedScript* scripts = EmbeddedScripts(count);
    for (int i = 0; i < count; ++i) {
        platform::ui::ResourceTable table;
        std::string error;
        ASSERT_TRUE(CompileEmbeddedScript(scripts[i], table, error)) << error;
        for (const auto& entry : table.data) {
            if (entry.first.first != LOWORD(RT_DIALOG)) continue;
            DialogTemplate dialog;
            ASSERT_TRUE(platform::ui::ReadDialogTemplate(entry.second.data(), entry.second.size(), dialog).ok);
            for (const auto& item : dialog.items)
                if (item.className.CompareNoCase(L"ComboBox") == 0) withCombos.insert(entry.first.second);
        }
    }
    std::set<UINT> listed;
    for (const ComboTemplateRow& row : rows) listed.insert(row.id);
    EXPECT_EQ(listed, withCombos);   // no template's combo boxes go unchecked
    for (const ComboTemplateRow& row : rows) {
        SCOPED_TRACE(row.id);
        DialogTemplate dialog;
        ASSERT_TRUE(LoadLibraryTemplate(row.id, dialog));
        for (const auto& item : dialog.items) {
            if (item.className.CompareNoCase(L"ComboBox") != 0) continue;
            const bool typed = row.typed.count(item.id) != 0;
            EXPECT_EQ(typed ? CBS_DROPDOWN : CBS_DROPDOWNLIST, item.style & 0x3u) << "control " << item.id;
            EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP),
                      item.style & (WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | WS_BORDER))
                << "control " << item.id;
        }
    }
}

TEST(LibraryTemplates, LibraryIdsStayOutOfTheTestRange)
{
    int count = 0;
    const EmbeddedScript* scripts = EmbeddedScripts(count);
    ASSERT_GE(count, 1);
    for (int i = 0; i < count; ++i) {
        platform::ui::ResourceTable table;
        std::string error;
        ASSERT_TRUE(CompileEmbeddedScript(scripts[i], table, error)) << error;
        for (const auto& entry : table.data) {
            EXPECT_FALSE(entry.first.second >= 9000 && entry.first.second <= 9299) << entry.first.second;
        }
    }
}

TEST(LibraryTemplates, AScriptErrorNamesTheScriptLineAndColumn)
{
    const EmbeddedScript broken = {"resources/dialogs/Broken.rc", "// one\n119 DIALOGEX 0, 0, 10, 10\nBEGIN\n    LTEXT \"x\" 1, 0, 0, 5, 5\nEND\n"};
    platform::ui::ResourceTable table;
    std::string error;
    EXPECT_FALSE(CompileEmbeddedScript(broken, table, error));
    EXPECT_EQ(error.rfind("resources/dialogs/Broken.rc:4:", 0), 0u) << error;
    EXPECT_TRUE(table.data.empty());
}

namespace {

bool IsInk(COLORREF colour)
{
    return GetRValue(colour) < 0x80 && GetGValue(colour) < 0x80 && GetBValue(colour) < 0x80;
}

// Text pixels (dark, whatever the smoothing) right of a check box's box.
int CaptionInkOf(CDialog& dialog, int id)
{
    CWnd* box = dialog.GetDlgItem(id);
    if (!box) return 0;
    CRect rect;
    box->GetWindowRect(&rect);
    dialog.ScreenToClient(&rect);
    const int captionLeft = rect.left + 16;   // past the 13-pixel box and its gap
    CClientDC dc(&dialog);
    int ink = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = captionLeft; x < rect.right; ++x)
            if (IsInk(dc.GetPixel(x, y))) ++ink;
    return ink;
}

}  // namespace

// The lead choices sit inside the group box that the template lists first.
TEST(LibraryTemplates, LeadChoicesShowTheirCaptionsInsideTheGroupBox)
{
    const struct {
        UINT id;
        DWORD first;   // the first of twelve choices
    } templates[] = {{172, 4193}, {173, 4206}};
    for (const auto& row : templates) {
        SCOPED_TRACE(row.id);
        CDialog dialog(row.id);
        ASSERT_TRUE(dialog.Create(row.id, nullptr));
        dialog.ShowWindow(SW_SHOW);
        platform::ui::Desktop::PumpMessages();
        for (DWORD id = row.first; id < row.first + 12; ++id) EXPECT_GT(CaptionInkOf(dialog, id), 0) << "control " << id;
        dialog.DestroyWindow();
    }
}
