#include <gtest/gtest.h>

#include "controls/ButtonST.h"
#include "core/ECGXMLParser.h"
#include "core/TavrionDoc.h"
#include "forms/FormInterpreBase.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/DataExchange.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/ModuleHandles.h"
#include "platform/ui/windowing/ResourceScript.h"
#include "tests/support/DocumentTestSupport.h"

namespace {

constexpr UINT kTemplate = 9260;
constexpr int kCombo = 9261;
constexpr int kButton = 9262;

const char kScript[] = R"rc(
9260 DIALOGEX 0, 0, 200, 100
STYLE DS_SETFONT | WS_CHILD
FONT 9, "ＭＳ ゴシック"
BEGIN
    COMBOBOX        9261,10,10,80,60,CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP
    PUSHBUTTON      "Go",9262,10,40,60,20,BS_OWNERDRAW
END
)rc";

void RegisterTemplate()
{
    static const bool once = [] {
        platform::ui::ResourceTable table;
        EXPECT_TRUE(platform::ui::CompileResourceScript(kScript, table).ok);
        platform::ui::RegisterResources(platform::ui::ExecutableModule(), table);
        return true;
    }();
    (void)once;
}

class CTestDoc : public CTavrionDoc {
public:
    CTestDoc() { m_bAutoDelete = FALSE; }
};

class CTestInterpreForm : public CFormInterpreBase {
    DECLARE_DYNCREATE(CTestInterpreForm)
public:
    CTestInterpreForm() : CFormInterpreBase(kTemplate) {}
    using CFormInterpreBase::GetIvrelMaster;
    using CFormInterpreBase::GetMinnesotaMaster;
    using CFormInterpreBase::IsIVRELCodeValid;
    using CFormInterpreBase::UpdateButtonColor;
    CButtonST m_button;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, kButton, m_button); }
};
IMPLEMENT_DYNCREATE(CTestInterpreForm, CFormInterpreBase)

class InterpreFormBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::ui::Desktop::Reset();
        RegisterTemplate();
        ASSERT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 400), nullptr, 0));
        m_frame = new CFrameWnd;
        ASSERT_TRUE(m_frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 500, 300), &m_pane));
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CTestInterpreForm);
        context.m_pCurrentDoc = &m_doc;
        m_form = DYNAMIC_DOWNCAST(CTestInterpreForm, m_frame->CreateView(&context, AFX_IDW_PANE_FIRST));
        ASSERT_NE(m_form, nullptr);
        m_frame->RecalcLayout();
        m_form->SetDocType(&m_doc, 0);
    }
    void TearDown() override
    {
        if (m_frame && m_frame->m_hWnd) m_frame->DestroyWindow();
        m_pane.DestroyWindow();
    }

    testsupport::ScopedWorkDir m_workDir;
    CWnd m_pane;
    CTestDoc m_doc;
    CFrameWnd* m_frame = nullptr;
    CTestInterpreForm* m_form = nullptr;
};

}  // namespace

TEST(InterpreFormMask, AHighBitForbidsTheLowBitsUpToItsRank)
{
    struct Row {
        unsigned char mask;
        int valid;
    };
    static const Row kRows[] = {
        {0x11, 0}, {0x22, 0}, {0x64, 0}, {0x84, 0}, {0x88, 0},
        {0x10, 1}, {0x0F, 1}, {0x70, 1}, {0x40, 1}, {0x80, 1}, {0x00, 1}, {0x24, 1},
    };
    for (const Row& row : kRows) EXPECT_EQ(CTestInterpreForm::IsIVRELCodeValid(row.mask), row.valid) << int(row.mask);
}

TEST_F(InterpreFormBase, EveryInitialUpdateReopensOneParserPerMaster)
{
    m_form->OnInitialUpdate();
    CECGXMLParser* ivrel = m_form->GetIvrelMaster();
    ASSERT_NE(ivrel, nullptr);
    ASSERT_NE(m_form->GetMinnesotaMaster(), nullptr);
    EXPECT_GT(ivrel->GetObjectCount(L"/Ivrel/Judgement_code/Code"), 0);
    EXPECT_GT(m_form->GetMinnesotaMaster()->GetObjectCount(L"/Minesota/Minesota_Code/Code"), 0);
    m_form->OnInitialUpdate();
    EXPECT_GT(m_form->GetIvrelMaster()->GetObjectCount(L"/Ivrel/Ivrel_code/Code"), 0);
}

TEST_F(InterpreFormBase, RequestCombosAreFilledFromTheDocumentsLists)
{
    const auto doctors = static_cast<_EDITABLE_PARAM_INDEX>(7);
    m_doc.InsertEditableParam(doctors, L"内科 山田");
    m_doc.InsertEditableParam(doctors, L"外科 川口");
    m_form->InsertEditableParam(doctors, kCombo);
    EXPECT_EQ(m_form->SendDlgItemMessage(kCombo, CB_GETCOUNT), 2);
    m_form->InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(8), kCombo);   // an empty list
    EXPECT_EQ(m_form->SendDlgItemMessage(kCombo, CB_GETCOUNT), 0);
    m_form->InsertEditableParam(doctors, kCombo);
    m_form->InsertEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(12), kCombo);   // no such list
    EXPECT_EQ(m_form->SendDlgItemMessage(kCombo, CB_GETCOUNT), 0);
}

TEST_F(InterpreFormBase, ButtonsTakeTheFormBackgroundAndTheButtonTextColour)
{
    m_doc.SetWaveColor(20, RGB(30, 140, 200));
    m_doc.SetWaveColor(25, RGB(255, 255, 0));
    m_form->OnInitialUpdate();
    ASSERT_NE(m_form->m_button.m_hWnd, nullptr);
    m_form->UpdateButtonColor(nullptr);   // nothing to colour
    m_form->UpdateButtonColor(&m_form->m_button);
    m_form->m_button.UpdateWindow();
    HDC dc = ::GetDC(m_form->m_button.m_hWnd);
    EXPECT_EQ(::GetPixel(dc, 6, 6), RGB(30, 140, 200));
    ::ReleaseDC(m_form->m_button.m_hWnd, dc);
}
