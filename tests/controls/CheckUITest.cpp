// A form's control entries over real bound controls.
#include <gtest/gtest.h>

#include "controls/CheckComboBox.h"
#include "controls/CheckEdit.h"
#include "controls/CheckStatic.h"
#include "controls/CheckUI.h"
#include "controls/MultiEdit.h"
#include "core/TavrionDoc.h"
#include "platform/ui/framework/Button.h"
#include "platform/ui/framework/Wnd.h"

namespace {

// Lets the tests set a field's show and enable bits.
class StatusDoc : public CTavrionDoc {
public:
    StatusDoc() { InitCheckArray(); }
    void SetStatus(UINT uID, long lStatus)
    {
        for (INT_PTR i = 0; i < m_CheckArray.GetSize(); ++i) {
            if (m_CheckArray[i].GetID() == uID)
                m_CheckArray[i].SetStatusForType(lStatus);
        }
    }
};

class CheckUITest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"form", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(m_edit.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 30), &m_parent, 3001));
        m_edit.SetDoc(&m_doc);
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    StatusDoc m_doc;
    CWnd m_parent;
    CCheckEdit m_edit;
};

}  // namespace

TEST_F(CheckUITest, RectangleIsInParentCoordinates)
{
    CCheckUI entry(&m_edit, &m_doc);
    EXPECT_EQ(CRect(10, 10, 110, 30), entry.GetRect());
}

TEST_F(CheckUITest, InitialTextLoadsTheStoredText)
{
    m_doc.SetCtrlData(3001, L"00123", 1, -1);
    CCheckUI entry(&m_edit, &m_doc);
    entry.InitialText();
    CString strText;
    m_edit.GetWindowText(strText);
    EXPECT_EQ(CString(L"00123"), strText);
}

TEST_F(CheckUITest, StatusBitsShowAndEnableSeparately)
{
    CCheckUI entry(&m_edit, &m_doc);
    m_doc.SetStatus(3001, 1);
    entry.UpdateStatus();
    EXPECT_TRUE(m_edit.IsWindowVisible());
    EXPECT_FALSE(m_edit.IsWindowEnabled());
    m_doc.SetStatus(3001, 2);
    entry.UpdateStatus();
    EXPECT_FALSE(m_edit.IsWindowVisible());
    EXPECT_TRUE(m_edit.IsWindowEnabled());
}

TEST_F(CheckUITest, ButtonOfAnEditableDocumentIsShown)
{
    CButton button;
    ASSERT_TRUE(button.Create(L"", WS_CHILD | BS_PUSHBUTTON, CRect(10, 40, 60, 60), &m_parent, 3003));
    m_doc.SetStatus(3003, 3);
    m_doc.SetCtrlData(3003, L"氏名", 1, -1);
    CCheckUI entry(&button, &m_doc);
    entry.InitialText();
    entry.UpdateStatus();
    EXPECT_TRUE(button.IsWindowVisible());
    CString strCaption;
    button.GetWindowText(strCaption);
    EXPECT_EQ(CString(L"氏名"), strCaption);
    button.DestroyWindow();
}

TEST_F(CheckUITest, CheckStaticKeepsItsEnabledState)
{
    CCheckStatic label;
    ASSERT_TRUE(label.Create(L"", WS_CHILD | WS_VISIBLE, CRect(10, 70, 60, 90), &m_parent, 3005));
    label.SetDoc(&m_doc);
    m_doc.SetStatus(3005, 1);
    CCheckUI entry(&label, &m_doc);
    entry.UpdateStatus();
    EXPECT_TRUE(label.IsWindowEnabled());
    label.DestroyWindow();
}

TEST_F(CheckUITest, EntryWithoutControlDoesNothing)
{
    CCheckUI entry(nullptr, &m_doc);
    entry.InitialText();
    entry.UpdateValue();
    entry.UpdateStatus();
    EXPECT_TRUE(entry.GetRect().IsRectNull());
}

// A form drives all its bound controls through their entries alike; each
// kind must take the stored text when loaded and again when refreshed.
TEST_F(CheckUITest, EveryKindOfBoundControlLoadsAndReloadsTheStoredText)
{
    CCheckComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(10, 40, 150, 140), &m_parent, 3003));
    combo.AddString(L"男");
    combo.SetDoc(&m_doc);
    CCheckStatic label;
    ASSERT_TRUE(label.Create(L"", WS_CHILD | WS_VISIBLE, CRect(10, 150, 100, 170), &m_parent, 3005));
    label.SetDoc(&m_doc);
    CMultiEdit comment;
    comment.SetDoc(&m_doc);
    ASSERT_TRUE(comment.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(160, 40, 290, 100), &m_parent, 3007));
    const auto shown = [](CWnd& wnd) {
        CString strText;
        wnd.GetWindowText(strText);
        return strText;
    };

    m_doc.SetCtrlData(3003, L"男", 1, -1);
    m_doc.SetCtrlData(3005, L"45", 1, -1);
    m_doc.SetCtrlData(3007, L"所見  ", 1, -1);
    CCheckUI comboEntry(&combo, &m_doc);
    CCheckUI labelEntry(&label, &m_doc);
    CCheckUI commentEntry(&comment, &m_doc);
    comboEntry.InitialText();
    labelEntry.InitialText();
    commentEntry.InitialText();
    EXPECT_EQ(0, combo.GetCurSel());
    EXPECT_EQ(CString(L"45"), shown(label));
    EXPECT_EQ(CString(L"所見"), shown(comment.GetDisplayFace()));

    m_doc.SetCtrlData(3003, L"不明", 1, -1);
    m_doc.SetCtrlData(3005, L"46", 1, -1);
    m_doc.SetCtrlData(3007, L"洞調律", 1, -1);
    comboEntry.UpdateValue();
    labelEntry.UpdateValue();
    commentEntry.UpdateValue();
    EXPECT_EQ(CString(L"不明"), shown(combo));
    EXPECT_EQ(CString(L"46"), shown(label));
    EXPECT_EQ(CString(L"洞調律"), shown(comment.GetDisplayFace()));
    // The entry of a combo box covers its list too.
    EXPECT_EQ(CRect(10, 40, 150, 140), comboEntry.GetRect());
    comment.DestroyWindow();
    label.DestroyWindow();
    combo.DestroyWindow();
}
