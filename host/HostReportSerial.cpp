#include "host/HostReportSerial.h"

#include <memory>
#include <type_traits>

#include "core/TavrionDoc.h"
#include "dialogs/DlgPrintStatus.h"
#include "host/SerialRecordSet.h"
#include "panes/WndRestSerialComAve.h"
#include "panes/WndRestSerialComRhy.h"
#include "printdevice/ECGDC.h"

namespace host {

namespace {

constexpr int kMferDoc = 6;
constexpr int kFrameWidth = 1920;
constexpr int kFrameHeight = 1080;

struct SerialReportName {
    const char* name;
    const wchar_t* title;
};
const SerialReportName kSerialReports[] = {
    {"serial-ave-mix", L"時系列比較(Ave.12ch-5)"},
    {"serial-ave-ex", L"時系列比較(Ave.6ch-10)"},
    {"serial-rhy", L"時系列比較(Rhy.)"},
};

// The comparison pane of a report, hidden in a window of the screen's size,
// shown from the set's first record on and held still while the report reads it.
template <class Pane> class HiddenPane {
public:
    HiddenPane(SerialRecordSet& records, int restStyle)
    {
        if (!m_window.CreateEx(0, nullptr, L"morvelance-report", WS_POPUP, CRect(0, 0, kFrameWidth, kFrameHeight),
                               nullptr, 0))
            return;
        m_pane = std::make_unique<Pane>();
        m_pane->SetBaseECGDoc(&records.base);
        m_pane->SetRestViewDoc(&records.rest);
        m_pane->SetMFERViewDoc(&records.mfer);
        m_pane->SetDocType(records.kind);
        if (!m_pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, kFrameWidth, kFrameHeight),
                            &m_window, 100)) {
            m_pane.reset();
            return;
        }
        Show(records.kind, restStyle);
        m_pane->RestoreSerialFile();
    }
    ~HiddenPane()
    {
        if (m_pane && m_pane->GetSafeHwnd()) m_pane->DestroyWindow();
        if (m_window.GetSafeHwnd()) m_window.DestroyWindow();
    }
    Pane* Get() const { return m_pane.get(); }

private:
    void Show(int kind, int restStyle)
    {
        if constexpr (std::is_same_v<Pane, CWndRestSerialComAve>) {
            if (kind == kMferDoc) m_pane->ShowMFERPageStyle(restStyle + 4);   // 41, 42 play the parts of 45, 46
            else m_pane->ShowRestPageStyle(restStyle);
            m_pane->SetPrintFlag(TRUE);
        } else {
            m_pane->ShowPageStyle(restStyle);
        }
    }

    CWnd m_window;
    std::unique_ptr<Pane> m_pane;
};

constexpr int kTenColumns = 41;
constexpr int kSplit = 42;

}  // namespace

bool IsSerialReport(const std::string& name) { return SerialReportTitle(name) != nullptr; }

const wchar_t* SerialReportTitle(const std::string& name)
{
    for (const SerialReportName& report : kSerialReports)
        if (name == report.name) return report.title;
    return nullptr;
}

CHostSerialReport::CHostSerialReport(const ReportSetup& setup, SerialRecordSet& records, const std::string& name)
    : CHostWaveReportOf(setup, SerialReportTitle(name)), m_records(records), m_name(name)
{
}

short CHostSerialReport::PrintReport()
{
    // The mixed page is one; the others print the limb leads, then the chest leads.
    m_nPageCount = m_name == "serial-ave-mix" ? 1 : 2;
    for (int page = 1; page <= m_nPageCount; ++page) {
        CString status;
        status.Format(L"%d/%d ページ", page, m_nPageCount);
        if (m_pDlgPrintStatus) m_pDlgPrintStatus->SetStatusText(status);
        if (m_pECGDC->StartPage() <= 0) return 1;
        int drawn = 0;
        if (m_name == "serial-rhy") {
            HiddenPane<CWndRestSerialComRhy> pane(m_records, 0);
            drawn = pane.Get() ? PrintAveRhy(pane.Get(), page, page == 2) : 0;
        } else {
            HiddenPane<CWndRestSerialComAve> pane(m_records, m_name == "serial-ave-mix" ? kSplit : kTenColumns);
            if (pane.Get())
                drawn = m_name == "serial-ave-mix" ? PrintAveMix(pane.Get(), page) : PrintAveEx(pane.Get(), page, page == 2);
        }
        if (m_pECGDC->EndPage() <= 0 || !drawn) return 1;
    }
    return 0;
}

CHostSerialAnnoReport::CHostSerialAnnoReport(const ReportSetup& setup, SerialRecordSet& records,
                                             const std::string& name)
    : CHostWaveReportOf(setup, SerialReportTitle(name)), m_records(records), m_name(name)
{
}

short CHostSerialAnnoReport::PrintAnnotation()
{
    if (m_pECGDC->StartPage() <= 0) return 1;
    int drawn = 0;
    if (m_name == "serial-rhy") {
        HiddenPane<CWndRestSerialComRhy> pane(m_records, 0);
        drawn = pane.Get() ? PrintAveRhyAnnotation(pane.Get()) : 0;
    } else if (m_name == "serial-ave-mix") {
        HiddenPane<CWndRestSerialComAve> pane(m_records, kSplit);
        drawn = pane.Get() ? PrintAveMixAnnotation(pane.Get()) : 0;
    } else {
        HiddenPane<CWndRestSerialComAve> pane(m_records, kTenColumns);
        drawn = pane.Get() ? PrintAveExAnnotation(pane.Get()) : 0;
    }
    return m_pECGDC->EndPage() > 0 && drawn ? 0 : 1;
}

}  // namespace host
