#include "host/HostReportRhythmRR.h"

#include <sys/stat.h>

#include <memory>
#include <string>

#include "analysisviews/ViewRRIntervalList.h"
#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "dialogs/DlgPrintStatus.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "host/FormViewCommand.h"
#include "panes/WndRRComment.h"
#include "panes/WndRRResult.h"
#include "panes/WndRhythmComment.h"
#include "platform/base/CodePage.h"
#include "printdevice/ECGDC.h"
#include "waveviews/ViewRhythmWave.h"

namespace host {

namespace {

constexpr int kCommentStyle = 26;          // the comment form beside the waves
constexpr int kMferCommentStyle = 49;
constexpr int kListAloneStyle = 9;         // the interval list across the page
constexpr int kListColumns = 10;           // the printed list: ten columns of forty
constexpr int kListRows = 40;

// A page pane the user does not see, on a window of the full page's size,
// driven in the host's order up to its page style.
template <class Pane> class CHiddenPane {
public:
    template <class Prepare> explicit CHiddenPane(Prepare prepare)
    {
        const CRect size(0, 0, 1020, 664);
        if (!m_window.CreateEx(0, nullptr, L"morvelance-report", WS_POPUP, size, nullptr, 0)) return;
        m_pane.reset(new Pane);
        prepare(*m_pane);
        if (!m_pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, size, &m_window, 100)) m_pane.reset();
    }
    ~CHiddenPane()
    {
        // The pane's window goes before the pane, and both before the window that holds it.
        if (m_pane && m_pane->GetSafeHwnd()) m_pane->DestroyWindow();
        m_pane.reset();
        if (m_window.GetSafeHwnd()) m_window.DestroyWindow();
    }
    CHiddenPane(const CHiddenPane&) = delete;
    CHiddenPane& operator=(const CHiddenPane&) = delete;
    Pane* Get() const { return m_pane.get(); }

private:
    CWnd m_window;
    std::unique_ptr<Pane> m_pane;   // a pane does not delete itself with its window
};

// The forms of a pane take their layout tables and the document's fonts,
// as at the host's start.
void PrepareForPanes(CTavrionDoc& doc)
{
    LoadFormLayouts();
    if (!doc.GetDocFont(0)) doc.InitGlobalData();
}

void SetStatus(CDlgPrintStatus* status, int page, int pages)
{
    if (!status) return;
    CString text;
    text.Format(L"%d/%d ページ", page, pages);
    status->SetStatusText(text);
}

// Why an RR record has no interval list to print: the record file holds
// the strip only; the device's intervals come with the record XML.
const char* NoIntervalsToList(const _RRDATAITEM& item)
{
    static std::string message;
    const std::string xml = platform::ToUtf8(item.strXMLPath.GetString());
    struct stat status {};
    const bool present = !xml.empty() && ::stat(xml.c_str(), &status) == 0 && S_ISREG(status.st_mode);
    message = "the RR interval list has no intervals to print: the record's RR intervals are kept in its record XML, ";
    message += present ? "and " + xml + " lists none" : "and the record has none (" + xml + " is not there)";
    return message.c_str();
}

}  // namespace

bool IsRhythmRRReport(const std::string& name)
{
    return name == "rhythm-comment" || name == "rr-result" || name == "rr-list";
}

const char* RhythmRRReportRefusal(const std::string& name, CTavrionDoc& doc)
{
    // The kinds each prints are the host's one rule's, asked after this.
    auto* rr = dynamic_cast<CRRViewDoc*>(&doc);
    if (name != "rhythm-comment" && rr && !rr->GetCurrentDataItem()) return "the RR record has no current record";
    if (name == "rr-list" && rr && rr->GetCurrentDataItem()->nRRListCount <= 0)
        return NoIntervalsToList(*rr->GetCurrentDataItem());
    return nullptr;
}

BOOL PrintRhythmRRReport(const std::string& name, const ReportSetup& setup, const CString& xmlPath)
{
    if (name == "rhythm-comment") {
        CHostRhythmCommentReport report(setup, CString());
        return report.Print(xmlPath);
    }
    if (name == "rr-result") {
        CHostRRResultReport report(setup, CString());
        return report.Print(xmlPath);
    }
    CHostRRListReport report(setup, CString());
    return report.Print(xmlPath);
}

short CHostRhythmCommentReport::PrintReport()
{
    PrepareForPanes(*m_pDoc);
    // An MFER record's comment page prints the rhythm template too.
    m_pDoc->GetCtrlPosFromXSL(LOAD_POS_RHYTHM_PRINT);
    auto* rhythm = dynamic_cast<CRhythmViewDoc*>(m_pDoc);
    auto* mfer = dynamic_cast<CMFERViewDoc*>(m_pDoc);
    CHiddenPane<CWndRhythmComment> hidden([&](CWndRhythmComment& pane) {
        if (rhythm) pane.SetRhythmViewDoc(rhythm);
        else pane.SetMFERViewDoc(mfer);
    });
    CWndRhythmComment* pane = hidden.Get();
    if (!pane || !pane->GetRhythmView()) return 1;
    // --style picks the comment page's style; its own kind's first by default.
    const int style = m_style > 0 ? m_style : rhythm ? kCommentStyle : kMferCommentStyle;
    if (rhythm) pane->ShowRhythmPageStyle(style);
    else pane->ShowMFERPageStyle(style);
    CViewRhythmWave* view = pane->GetRhythmView();
    m_nPageCount = CountViewPages(*view, kCommentGridMm);
    for (int part = 0; part < m_nPageCount; ++part) {
        SetStatus(m_pDlgPrintStatus, part + 1, m_nPageCount);
        if (m_pECGDC->StartPage() <= 0) return 1;
        const int drawn = PrintRhythmComment(view, part + 1, part, m_nPageCount > 1);
        if (m_pECGDC->EndPage() <= 0 || !drawn) return 1;
    }
    return 0;
}

short CHostRRResultReport::PrintReport()
{
    PrepareForPanes(*m_pDoc);
    CHiddenPane<CWndRRResult> hidden(
        [&](CWndRRResult& pane) { pane.SetRRViewDoc(static_cast<CRRViewDoc*>(m_pDoc)); });
    CWndRRResult* pane = hidden.Get();
    if (!pane) return 1;
    pane->SendMessage(WM_SIZE, 0, 0);
    pane->OnUpdate();
    m_nPageCount = 1;
    SetStatus(m_pDlgPrintStatus, 1, 1);
    if (m_pECGDC->StartPage() <= 0) return 1;
    const int drawn = PrintRRResult(pane, 1);
    return m_pECGDC->EndPage() > 0 && drawn ? 0 : 1;
}

short CHostRRListReport::PrintReport()
{
    PrepareForPanes(*m_pDoc);
    CHiddenPane<CWndRRComment> hidden(
        [&](CWndRRComment& pane) { pane.SetRRViewDoc(static_cast<CRRViewDoc*>(m_pDoc)); });
    CWndRRComment* pane = hidden.Get();
    if (!pane || !pane->GetIntervalList()) return 1;
    pane->ShowPageStyle(kListAloneStyle);
    pane->OnUpdate();
    // A record without intervals has no list to print.
    m_nPageCount = pane->GetIntervalList()->GetTotalPage(kListColumns, kListRows);
    if (m_nPageCount <= 0) return 1;
    for (int page = 1; page <= m_nPageCount; ++page) {
        SetStatus(m_pDlgPrintStatus, page, m_nPageCount);
        if (m_pECGDC->StartPage() <= 0) return 1;
        const int drawn = PrintRRIntervalList(pane, page, page);
        if (m_pECGDC->EndPage() <= 0 || !drawn) return 1;
    }
    return 0;
}

}  // namespace host
