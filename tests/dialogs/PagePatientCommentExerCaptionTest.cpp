// The exercise patient page's captions in the fonts the page gives them: on
// a large screen and a small one every label and button text fits its
// control, so that none is cut at an edge.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/PagePatientCommentExer.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Image.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/dialogs/PageInSheet.h"
#include "tests/documents/ExerViewDocFixture.h"

namespace {

class ExerPageCaptions : public exertest::ExerDocument {
protected:
    void SetUp() override
    {
        ExerDocument::SetUp();
        ASSERT_EQ(Open(m_doc, Write(exertest::DefaultOptions())), 0);
    }
    void TearDown() override
    {
        m_host.Close();
        platform::ui::Desktop::Reset();
        ExerDocument::TearDown();
    }
    // The page on a screen of the width: the page picks its font by it.
    CPagePatientCommentExer& Show(int width, int height)
    {
        return m_host.Show(&m_doc, DOC_TYPE_EXER, L"情報編集", width, height);
    }
    // The captions whose text, in the control's font, is wider than the
    // room the control gives it, as "ID text (text width > room)".
    static std::vector<std::string> CutCaptions(CWnd& page, const std::vector<int>& ids, int margin)
    {
        CDC dc;
        dc.Attach(platform::gdi::CreateImageDC(8, 8));
        std::vector<std::string> cut;
        for (int id : ids) {
            CWnd* control = page.GetDlgItem(id);
            if (!control || !(control->GetStyle() & WS_VISIBLE)) continue;
            CString text;
            control->GetWindowText(text);
            if (text.IsEmpty()) continue;
            CRect client;
            control->GetClientRect(&client);
            CDCObjectSelector<CFont> font(dc, control->GetFont());
            const int width = dc.GetTextExtent(text).cx;
            if (width + margin > client.Width())
                cut.push_back(std::to_string(id) + " " + testsupport::Utf8(text) + " (" + std::to_string(width) +
                              " > " + std::to_string(client.Width() - margin) + ")");
        }
        return cut;
    }

    CExerViewDoc m_doc;
    dialogtest::CPageInSheet<CPagePatientCommentExer> m_host;
};

// The page's labels and its one button.
const std::vector<int> kLabels = {4105, 4107, 4109, 4111, 4113, 4115, 4120, 4126, 4128, 4129, 4131, 4132,
                                  4136, 4137, 4139, 4141, 4143, 4145, 4147, 4149, 4151, 4153, 4155, 4157,
                                  4159, 4161, 4163, 4165, 4167, 4169, 4172};
const int kFixedComment = 4171;

}  // namespace

TEST_F(ExerPageCaptions, EveryLabelFitsItsControlOnALargeAndASmallScreen)
{
    for (const auto& size : {std::make_pair(1920, 1080), std::make_pair(1024, 768)}) {
        SCOPED_TRACE(size.first);
        CPagePatientCommentExer& page = Show(size.first, size.second);
        EXPECT_EQ(std::vector<std::string>(), CutCaptions(page, kLabels, 0));
    }
}

TEST_F(ExerPageCaptions, TheFixedCommentButtonKeepsItsTextInsideItsBorder)
{
    for (const auto& size : {std::make_pair(1920, 1080), std::make_pair(1024, 768)}) {
        SCOPED_TRACE(size.first);
        CPagePatientCommentExer& page = Show(size.first, size.second);
        // A button's border and a blank of room either side.
        const int margin = 2 * ::GetSystemMetrics(SM_CXEDGE) + 4;
        EXPECT_EQ(std::vector<std::string>(), CutCaptions(page, {kFixedComment}, margin));
    }
}
