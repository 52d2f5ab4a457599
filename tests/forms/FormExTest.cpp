#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "controls/CheckEdit.h"
#include "controls/CheckStatic.h"
#include "core/Globals.h"
#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "forms/FormEx.h"
#include "forms/LayoutPlacement.h"
#include "platform/ui/framework/Button.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/DataExchange.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/ModuleHandles.h"
#include "platform/ui/windowing/ResourceScript.h"

namespace {

constexpr UINT kFormTemplate = 9250;
constexpr int kEdit = 9251;
constexpr int kBoundStatic = 9252;
constexpr int kButton = 9253;
constexpr int kDisabled = 9254;
constexpr int kHidden = 9255;
constexpr int kLast = 9256;

const char kFormScript[] = R"rc(
9250 DIALOGEX 0, 0, 200, 120
STYLE DS_SETFONT | WS_CHILD
FONT 9, "ＭＳ ゴシック"
BEGIN
    EDITTEXT        9251,10,10,60,12
    LTEXT           "",9252,10,30,60,10
    PUSHBUTTON      "Go",9253,10,50,40,14
    EDITTEXT        9254,10,70,60,12,WS_DISABLED
    EDITTEXT        9255,10,90,60,12,NOT WS_VISIBLE
    EDITTEXT        9256,100,10,60,12
END
)rc";

void RegisterFormTemplate()
{
    static const bool once = [] {
        platform::ui::ResourceTable table;
        const auto result = platform::ui::CompileResourceScript(kFormScript, table);
        EXPECT_TRUE(result.ok) << result.line << ":" << result.column << " " << result.message;
        platform::ui::RegisterResources(platform::ui::ExecutableModule(), table);
        return true;
    }();
    (void)once;
}

// A document whose control-data store holds entries for the form's controls.
class CFormTestDoc : public CTavrionDoc {
public:
    CFormTestDoc() { m_bAutoDelete = FALSE; }   // it lives on the test's stack
    using CTavrionDoc::AddCheckEntry;
};

class CTestForm : public CFormEx {
    DECLARE_DYNCREATE(CTestForm)
public:
    CTestForm() : CFormEx(kFormTemplate) {}
    using CFormEx::LeftAlign;
    using CFormEx::RightAlign;

    CCheckEdit m_edit;
    CCheckStatic m_static;
    CButton m_button;

    void InitCheckUIArray() override
    {
        m_arrCheckUI.clear();
        for (CWnd* control : {static_cast<CWnd*>(&m_edit), static_cast<CWnd*>(&m_static),
                              static_cast<CWnd*>(&m_button)})
            m_arrCheckUI.emplace_back(control, nullptr);
    }
    const std::vector<CCheckUI>& Entries() const { return m_arrCheckUI; }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CFormEx::DoDataExchange(pDX);
        DDX_Control(pDX, kEdit, m_edit);
        DDX_Control(pDX, kBoundStatic, m_static);
        DDX_Control(pDX, kButton, m_button);
    }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestForm, CFormEx)
BEGIN_MESSAGE_MAP(CTestForm, CFormEx)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

// The page pane: logs what its forms send it.
class CLoggingPane : public CWnd {
public:
    std::vector<std::pair<UINT, WPARAM>> log;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER && message < WM_USER + 0x100) log.emplace_back(message, wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class FormEx : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::ui::Desktop::Reset();
        RegisterFormTemplate();
        m_xUnit = g_dXUnit;
        m_yUnit = g_dYUnit;
        ASSERT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
        m_doc.SetWaveColor(20, RGB(200, 220, 90));
        m_frame = new CFrameWnd;
        ASSERT_TRUE(m_frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 700, 500), &m_pane));
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CTestForm);
        context.m_pCurrentDoc = &m_doc;
        m_form = DYNAMIC_DOWNCAST(CTestForm, m_frame->CreateView(&context, AFX_IDW_PANE_FIRST));
        ASSERT_NE(m_form, nullptr);
        m_frame->RecalcLayout();
        m_form->SetDocType(&m_doc, 0);
        m_form->OnInitialUpdate();
        m_form->InitCheckUIArray();
        // The bound controls paint from the document, as every real form gives it them.
        m_form->m_edit.SetDoc(&m_doc);
        m_form->m_static.SetDoc(&m_doc);
    }
    void TearDown() override
    {
        if (m_frame && m_frame->m_hWnd) m_frame->DestroyWindow();
        m_pane.DestroyWindow();
        g_dXUnit = m_xUnit;
        g_dYUnit = m_yUnit;
    }

    void UseScreen(int width, int height)
    {
        g_dXUnit = width / 1024.0;
        g_dYUnit = height / 768.0;
        m_doc.InitGlobalData();
    }

    CRect PlacedRect(int id)
    {
        CRect rect;
        m_form->GetDlgItem(id)->GetWindowRect(&rect);
        m_form->ScreenToClient(&rect);
        return rect;
    }

    CLoggingPane m_pane;
    CFormTestDoc m_doc;
    CFrameWnd* m_frame = nullptr;
    CTestForm* m_form = nullptr;
    double m_xUnit = 1.0;
    double m_yUnit = 1.0;
};

}  // namespace

TEST(LayoutPlacement, MinusOneCellsKeepTheDesignValueAndScalingTruncates)
{
    const RECT design = {3, 5, 13, 12};
    _POSITION_CTRL row;   // every cell -1
    const RECT at1024 = PlaceFromLayoutRow(row, design, 1.0, 1.0);
    EXPECT_EQ(CRect(at1024), CRect(3, 5, 13, 12));
    // 1600 × 1200: both factors 1.5625; 3 → 4.6875 → 4, width 10 → 15.625 → 15.
    const RECT at1600 = PlaceFromLayoutRow(row, design, 1600 / 1024.0, 1200 / 768.0);
    EXPECT_EQ(CRect(at1600), CRect(4, 7, 4 + 15, 7 + 10));

    row.nLeft = 101;
    row.nHeight = 20;
    const RECT mixed = PlaceFromLayoutRow(row, design, 1.5625, 1.5625, 0, 4);
    EXPECT_EQ(mixed.left, 157);            // 157.8125
    EXPECT_EQ(mixed.top, 14);              // (5 + 4) × 1.5625 = 14.0625
    EXPECT_EQ(mixed.bottom - mixed.top, 31);   // 31.25
    EXPECT_EQ(ScaleDesignValue(-3, 1.5), -4);  // toward zero, not down
}

TEST_F(FormEx, BasePlacementScalesEveryDesignRectangleAndTruncates)
{
    const CRect design = m_form->Entries()[0].GetRect();
    UseScreen(1024, 768);
    m_form->MoveCtrl(0);
    EXPECT_EQ(PlacedRect(kEdit), design);
    UseScreen(1600, 1200);
    m_form->MoveCtrl(0);
    const double f = 1.5625;
    EXPECT_EQ(PlacedRect(kEdit), CRect(static_cast<int>(design.left * f), static_cast<int>(design.top * f),
                                       static_cast<int>(design.left * f) + static_cast<int>(design.Width() * f),
                                       static_cast<int>(design.top * f) + static_cast<int>(design.Height() * f)));
}

// IsTabJumpEnd over the template: 9251 edit, 9252 bound static, 9253 button,
// 9254 disabled, 9255 hidden, 9256 edit, in that sibling order.
TEST_F(FormEx, TabChainEndsWhereNoUsableSiblingFollows)
{
    struct Row {
        int direction;
        int from;   // 0: a null control
        int end;
    };
    static const Row kRows[] = {
        // direction from         end
        {2, kEdit, 0},        // the bound static is skipped, the button counts
        {2, kButton, 0},      // disabled and hidden skipped, 9256 counts
        {2, kLast, 1},        // nothing after the last
        {1, kEdit, 1},        // nothing before the first
        {1, kLast, 0},        // the button before the hidden and disabled ones
        {3, kEdit, 0},        // no such direction
        {2, 0, 0},            // no control
    };
    for (const Row& row : kRows) {
        CWnd* control = row.from ? m_form->GetDlgItem(row.from) : nullptr;
        EXPECT_EQ(m_form->IsTabJumpEnd(row.direction, control), row.end) << row.direction << " " << row.from;
    }
    m_form->GetDlgItem(kLast)->ShowWindow(SW_HIDE);
    EXPECT_EQ(m_form->IsTabJumpEnd(2, m_form->GetDlgItem(kButton)), 1);
}

// A bound static shows a value and takes no keyboard: with only it (and
// hidden or disabled controls) left in a direction, Tab leaves the form.
TEST_F(FormEx, OnlyABoundStaticAfterTheFocusedControlEndsTheTabChain)
{
    CWnd* boundStatic = m_form->GetDlgItem(kBoundStatic);
    ASSERT_TRUE(boundStatic->IsWindowVisible());
    ASSERT_TRUE(boundStatic->IsWindowEnabled());
    // Backward from the button: the bound static, then the edit.
    EXPECT_EQ(m_form->IsTabJumpEnd(1, m_form->GetDlgItem(kButton)), 0);
    m_form->GetDlgItem(kEdit)->ShowWindow(SW_HIDE);
    EXPECT_EQ(m_form->IsTabJumpEnd(1, m_form->GetDlgItem(kButton)), 1);
    // Forward from the edit: the bound static, a disabled button and the rest hidden or disabled.
    m_form->GetDlgItem(kEdit)->ShowWindow(SW_SHOW);
    m_form->GetDlgItem(kButton)->EnableWindow(FALSE);
    m_form->GetDlgItem(kLast)->ShowWindow(SW_HIDE);
    EXPECT_EQ(m_form->IsTabJumpEnd(2, m_form->GetDlgItem(kEdit)), 1);
}

TEST_F(FormEx, ABackgroundClickMakesTheFormActiveInItsPane)
{
    m_pane.log.clear();
    platform::ui::Desktop::PumpMessages();
    platform::ui::Desktop::Click(m_form->m_hWnd, 300, 300);
    platform::ui::Desktop::PumpMessages();
    const std::pair<UINT, WPARAM> active(WM_USER + 0x11, reinterpret_cast<WPARAM>(m_form));
    EXPECT_EQ(std::count(m_pane.log.begin(), m_pane.log.end(), active), 1);
    EXPECT_EQ(::GetFocus(), m_form->GetDlgItem(kEdit)->m_hWnd);
}

// A label passes a press on to the form behind it; the field being typed
// in keeps the focus and takes what is typed after the press.
TEST_F(FormEx, APressOnALabelLeavesTheFocusInTheFieldBeingTypedIn)
{
    CWnd* field = m_form->GetDlgItem(kLast);
    CWnd* label = m_form->GetDlgItem(kBoundStatic);
    platform::ui::Desktop::PumpMessages();
    CRect place;
    label->GetWindowRect(&place);
    field->SetFocus();
    platform::ui::Desktop::TypeText(L"30");
    platform::ui::Desktop::PumpMessages();
    m_pane.log.clear();
    platform::ui::Desktop::Click(place.CenterPoint());
    platform::ui::Desktop::PumpMessages();
    platform::ui::Desktop::TypeText(L"8");
    platform::ui::Desktop::PumpMessages();
    CString typed;
    field->GetWindowText(typed);
    EXPECT_EQ(typed, CString(L"308"));
    EXPECT_EQ(::GetFocus(), field->m_hWnd);
    // The press still reached the form: the pane makes it the active one.
    const std::pair<UINT, WPARAM> active(WM_USER + 0x11, reinterpret_cast<WPARAM>(m_form));
    EXPECT_EQ(std::count(m_pane.log.begin(), m_pane.log.end(), active), 1);

    // The bare background beside it still brings the focus to the first control.
    platform::ui::Desktop::Click(CPoint(place.right + 40, place.CenterPoint().y));
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(::GetFocus(), m_form->GetDlgItem(kEdit)->m_hWnd);

    // So does the inside of a group box, which is background framed.
    CRect below;
    field->GetWindowRect(&below);
    m_form->ScreenToClient(&below);
    below.OffsetRect(0, below.Height() + 10);
    below.bottom += 40;
    CButton group;
    ASSERT_TRUE(group.Create(L"", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, below, m_form, 9260));
    field->SetFocus();
    platform::ui::Desktop::PumpMessages();
    m_form->ClientToScreen(&below);
    platform::ui::Desktop::Click(below.CenterPoint());
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(::GetFocus(), m_form->GetDlgItem(kEdit)->m_hWnd);
}

TEST(FormExAlone, ABackgroundClickWithoutAGrandparentSendsNothing)
{
    RegisterFormTemplate();
    CLoggingPane top;
    ASSERT_TRUE(top.CreateEx(0, nullptr, L"top", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0));
    auto* form = new CTestForm;
    ASSERT_TRUE(form->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &top, 1));
    // The form's parent is the top window, which has no parent: no pane to tell.
    platform::ui::Desktop::Click(form->m_hWnd, 300, 250);
    platform::ui::Desktop::PumpMessages();
    EXPECT_TRUE(top.log.empty());
    EXPECT_EQ(::GetFocus(), form->GetDlgItem(kEdit)->m_hWnd);
    top.DestroyWindow();
}

TEST_F(FormEx, BackgroundTakesTheDocumentsFormColour)
{
    m_form->Invalidate();
    m_form->UpdateWindow();
    HDC dc = ::GetDC(m_form->m_hWnd);
    EXPECT_EQ(::GetPixel(dc, 400, 300), RGB(200, 220, 90));
    ::ReleaseDC(m_form->m_hWnd, dc);
}

TEST_F(FormEx, ReadOnlyHidesPushButtonsAndDisablesEdits)
{
    for (int id : {kEdit, kBoundStatic, kButton}) m_doc.AddCheckEntry(id, L"key");
    m_doc.SetCtrlData(kEdit, L"値", 1, -1);
    m_form->ShowText();
    EXPECT_EQ(m_form->GetDlgItem(kEdit)->GetWindowTextLength(), 1);
    m_form->UpdateCtrlStatus();
    EXPECT_TRUE(m_form->GetDlgItem(kButton)->IsWindowVisible());
    m_doc.SetReadOnly(1);
    m_form->UpdateCtrlStatus();
    EXPECT_FALSE(m_form->GetDlgItem(kButton)->IsWindowVisible());
    EXPECT_TRUE(m_form->GetDlgItem(kEdit)->IsWindowVisible());
    EXPECT_FALSE(m_form->GetDlgItem(kEdit)->IsWindowEnabled());
}

TEST(FormExText, AlignTrimsBlanksAndLineBreaksAtOneEnd)
{
    wchar_t right[] = L"ab  \r\n";
    CTestForm::RightAlign(right);
    EXPECT_STREQ(right, L"ab");
    wchar_t empty[] = L"";
    CTestForm::RightAlign(empty);
    EXPECT_STREQ(empty, L"");
    wchar_t left[] = L" \r\n x y ";
    CTestForm::LeftAlign(left);
    EXPECT_STREQ(left, L"x y ");
    wchar_t blank[] = L"  \n ";
    CTestForm::LeftAlign(blank);
    EXPECT_STREQ(blank, L"");
}
