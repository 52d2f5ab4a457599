#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/DlgRhythmEditLeadName.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/ModalScript.h"

namespace {

using testsupport::ClickControl;
using testsupport::ModalScript;

constexpr int kFirstBox = 3826;

class RhythmLeadNames : public rhythmtest::RhythmDocTest {
protected:
    // The name boxes' enabled states and texts as the dialog opens on a
    // record of `leads` leads, cancelled.
    void Look(int leads, uint16_t code, std::vector<BOOL>& enabled, std::vector<CString>& names)
    {
        platform::ui::Desktop::Reset();
        morvelance::RhythmRecordShape shape;
        shape.leads = leads;
        shape.seconds = 10.0;
        shape.systemCode = code;
        const rhythmtest::RhythmFiles files = rhythmtest::WriteRhythm(m_dir, "names", shape);
        ASSERT_EQ(Open(files, leads), 0);
        ModalScript script;
        script.On(148, [&](CDialog& dialog) {
            for (int i = 0; i < 9; ++i) {
                enabled.push_back(dialog.GetDlgItem(kFirstBox + i)->IsWindowEnabled());
                names.push_back(testsupport::ControlText(dialog, kFirstBox + i));
            }
            ClickControl(dialog, IDCANCEL);
        });
        CDlgRhythmEditLeadName dialog(148);
        dialog.SetDoc(m_doc.get(), DOC_TYPE_RHYTHM);
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    }
};

}  // namespace

TEST_F(RhythmLeadNames, ATwelveLeadRecordOffersItsSixChestLeads)
{
    std::vector<BOOL> enabled;
    std::vector<CString> names;
    Look(12, 38, enabled, names);
    EXPECT_EQ(enabled, (std::vector<BOOL>{TRUE, TRUE, TRUE, TRUE, TRUE, TRUE, FALSE, FALSE, FALSE}));
    ASSERT_EQ(names.size(), 9u);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(names[i], Item()->stLeadName.strDispName[6 + i]) << i;
}

TEST_F(RhythmLeadNames, AThreeLeadRecordOffersThreeBoxes)
{
    std::vector<BOOL> enabled;
    std::vector<CString> names;
    Look(3, 10, enabled, names);
    EXPECT_EQ(enabled, (std::vector<BOOL>{TRUE, TRUE, TRUE, FALSE, FALSE, FALSE, FALSE, FALSE, FALSE}));
}

TEST_F(RhythmLeadNames, AnotherExaminationKindLeavesEveryBoxAsTheTemplateHasIt)
{
    platform::ui::Desktop::Reset();
    ModalScript script;
    int entries = -1;
    script.On(148, [&](CDialog& dialog) {
        entries = static_cast<int>(dialog.SendDlgItemMessage(kFirstBox, CB_GETCOUNT));
        ClickControl(dialog, IDOK);
        ClickControl(dialog, IDCANCEL);
    });
    CDlgRhythmEditLeadName dialog(148);
    dialog.SetDoc(m_doc.get(), DOC_TYPE_EXTRA);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(entries, 11);
    EXPECT_EQ(script.Seen(), std::vector<UINT>{148});
}
