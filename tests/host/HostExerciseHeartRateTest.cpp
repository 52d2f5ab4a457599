// The exercise test's maximum and target heart rates as the exercise form
// shows them, on a record opened by the host's own opener: a stored rate of
// 0 is a rate (a test stopped before the heart rate rose shows 0), a
// negative one none; a save of another field through the form keeps both as
// stored.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "core/TavrionDoc.h"
#include "host/RecordOpening.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/forms/FormTestSupport.h"
#include "tests/host/HostSamples.h"
#include "tests/support/DocumentTestSupport.h"

using platform::ui::Desktop;

namespace {

const UINT kMaxHr = 4044;
const UINT kTargetHr = 4048;
const UINT kSymptom = 4023;
const CString kHr = L"/Rawdata/Tavrion/Report/Exercise_section/Hr/";

class HostExerciseHeartRate : public testsupport::DocumentTest {};

}  // namespace

TEST_F(HostExerciseHeartRate, AStoredRateOfZeroShowsAsZeroAndANegativeOneAsNoneAndASaveKeepsBoth)
{
    hosttest::MakeRecords({"examinations", m_dir.Path()});
    const std::string record = m_dir.File("exercise_90.ecg");
    const std::string xml = m_dir.File("exercise_9020240401093000.xml");
    const struct {
        const char* max;
        const char* target;
    } cases[] = {{"0", "-5"}, {"-1", "0"}};
    Desktop::Reset();
    formtest::ScopedScreen screen;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("stored ") + c.max + " and " + c.target);
        testsupport::WriteXmlValue(xml, kHr + L"Max_hr", testsupport::Wide(c.max));
        testsupport::WriteXmlValue(xml, kHr + L"Target_hr", testsupport::Wide(c.target));
        auto shown = [](const char* stored) { return testsupport::Wide(std::atoi(stored) < 0 ? "" : stored); };
        std::unique_ptr<CTavrionDoc> doc;
        ASSERT_TRUE(host::OpenForViews(record, doc));
        doc->m_bAutoDelete = FALSE;
        screen.Use(*doc, 1920, 1080);
        formtest::FormHost<CFormEx> host;
        CFormEx* form =
            host.Show(*doc, doc->GetDocType(), CRuntimeClass::FromName("CFormInterpreExer"), 1920, 1080);
        ASSERT_NE(form, nullptr);
        CString max, target;
        form->GetDlgItemText(kMaxHr, max);
        form->GetDlgItemText(kTargetHr, target);
        EXPECT_EQ(shown(c.max), max);
        EXPECT_EQ(shown(c.target), target);

        CWnd* symptom = form->GetDlgItem(kSymptom);
        ASSERT_NE(symptom, nullptr);
        symptom->SetFocus();
        ::SendMessage(::GetFocus(), EM_SETSEL, 0, -1);
        Desktop::TypeText(L"頭痛");
        Desktop::KeyPress(VK_TAB);
        Desktop::PumpMessages();
        ASSERT_EQ(0, doc->SaveDataToXML(doc->GetCurDataIndex()));
        ASSERT_EQ(CString(L"頭痛"), testsupport::ReadXmlValue(xml, L"/Rawdata/Tavrion/Inspection/Patient_section/Symptom"));
        EXPECT_EQ(testsupport::Wide(c.max), testsupport::ReadXmlValue(xml, kHr + L"Max_hr"));
        EXPECT_EQ(testsupport::Wide(c.target), testsupport::ReadXmlValue(xml, kHr + L"Target_hr"));
    }
}
