// The master-step form at two edges of its placement: the more-additions
// link of a record holding more additions than its three rows show, and
// the one extra placement pass a content row that wraps anew takes.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/PositionCtrl.h"
#include "forms/FormInterpreMsfr.h"
#include "tests/documents/FinalViewDocTestUtil.h"
#include "tests/forms/FormTestSupport.h"

namespace {

constexpr UINT kLink = 3997, kFirstTitle = 3985, kFirstContent = 3994;
constexpr int kLinkRow = 29;

class MasterStepFormEdge : public finaltest::FinalDocTest {
protected:
    void SetUp() override
    {
        finaltest::FinalDocTest::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        platform::ui::Desktop::Reset();
        m_screen.Use(m_doc, 1024, 768);
        m_doc.GetCtrlPosFromXSL(LOAD_POS_FINAL);
        m_record = Write(finaltest::SynthRecord(), &m_xml);
        ASSERT_EQ(Open(m_doc, m_record, m_xml), 0);
        Item()->stAddition.bPresent = 1;
    }
    void TearDown() override
    {
        m_host.Close();
        finaltest::FinalDocTest::TearDown();
    }
    _FINALDATAITEM* Item() { return m_doc.GetCurrentDataItem(); }
    CFormInterpreMsfr& Show()
    {
        auto* form = m_host.Show(m_doc, DOC_TYPE_FINAL, RUNTIME_CLASS(CFormInterpreMsfr), 540, 560);
        EXPECT_NE(form, nullptr);
        return *form;
    }
    CWnd* Ctrl(UINT id) { return m_host.form->GetDlgItem(id); }
    // The additions the item holds, each with a title and a content.
    void Hold(int count)
    {
        _ADDITIONAL_INFO& a = Item()->stAddition;
        a.nCount = count;
        for (int i = 0; i < count; ++i) {
            a.strTitle[i].Format(L"追加%d", i + 1);
            a.strContent[i].Format(L"内容%d", i + 1);
        }
    }

    CFinalViewDoc m_doc;
    std::string m_record, m_xml;
    formtest::ScopedScreen m_screen;
    formtest::FormHost<CFormInterpreMsfr> m_host;
};

}  // namespace

TEST_F(MasterStepFormEdge, TheLinkShowsForMoreThanThreeAdditionsWithEveryRowShown)
{
    _POSITION_CTRL* table = m_doc.GetDefCtrlPos()->stFinal;
    table[kLinkRow].bVisible = 1;
    for (int k = 0; k < 3; ++k) table[17 + 4 * k + 3].bVisible = 1;

    Hold(3);
    Show();
    EXPECT_FALSE(formtest::IsShown(Ctrl(kLink)));
    EXPECT_TRUE(formtest::IsShown(Ctrl(kFirstContent + 2)));
    m_host.Close();

    Hold(4);
    Show();
    EXPECT_TRUE(formtest::IsShown(Ctrl(kLink)));
    m_host.Close();

    // A layout that hides the link keeps it hidden whatever the record holds.
    table[kLinkRow].bVisible = 0;
    Show();
    EXPECT_FALSE(formtest::IsShown(Ctrl(kLink)));
    m_host.Close();

    // Three additions, the third row hidden by the layout but holding text:
    // the link offers it, unless the layout hides the link too.
    Hold(3);
    table[kLinkRow].bVisible = 1;
    table[17 + 4 * 2 + 3].bVisible = 0;
    CFormInterpreMsfr& form = Show();
    Ctrl(kFirstContent + 2)->SetWindowText(L"隠れた内容");
    form.MoveCtrl(1);
    EXPECT_TRUE(formtest::IsShown(Ctrl(kLink)));
    table[kLinkRow].bVisible = 0;
    form.MoveCtrl(1);
    EXPECT_FALSE(formtest::IsShown(Ctrl(kLink)));
}

TEST_F(MasterStepFormEdge, AContentThatWrapsAnewTakesExactlyOneMorePassAndEndsAsOnePassWould)
{
    Hold(3);
    CFormInterpreMsfr& form = Show();
    CWnd* content = Ctrl(kFirstContent);
    CWnd* nextTitle = Ctrl(kFirstTitle + 1);
    const CRect settled = formtest::PlacedRect(form, *content);
    const int nextTop = formtest::PlacedRect(form, *nextTitle).top;

    // Squeezed, the long text wraps to three lines; at its own width it takes one.
    content->SetWindowText(L"所見あり 所見あり 所見あり");
    content->MoveWindow(settled.left, settled.top, settled.Width() / 4, settled.Height(), TRUE);
    ASSERT_GT(static_cast<int>(content->SendMessage(EM_GETLINECOUNT)), 1);
    const int passes = form.GetLayoutPasses();
    form.MoveCtrl(1);
    EXPECT_EQ(form.GetLayoutPasses() - passes, 2);
    ASSERT_EQ(static_cast<int>(content->SendMessage(EM_GETLINECOUNT)), 1);
    EXPECT_EQ(formtest::PlacedRect(form, *content), settled);
    EXPECT_EQ(formtest::PlacedRect(form, *nextTitle).top, nextTop);

    // Placed again with nothing new to wrap: one pass.
    form.MoveCtrl(1);
    EXPECT_EQ(form.GetLayoutPasses() - passes, 3);
    EXPECT_EQ(formtest::PlacedRect(form, *content), settled);
}
