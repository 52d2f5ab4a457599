#include "host/PrinterJobWatch.h"

#include <unistd.h>

#include <cstdio>

#include "host/CommandFailure.h"
#include "host/PdfJobFolder.h"
#include "platform/base/CodePage.h"
#include "platform/print/CupsQueue.h"
#include "platform/print/PrintSetup.h"

namespace host {

PrinterJobWatch::PrinterJobWatch(const std::wstring& queue) : m_queue(queue)
{
    // A print stopped by a signal leaves nothing half written in the spool.
    TidyPrintsOnStop();
    // The print that follows fails without a word of why: say it first.
    const std::wstring missing = platform::print::MissingPrinterCause(m_queue);
    if (!missing.empty())
        ReportFailure("the printer \"%s\" cannot be printed to: %s", platform::ToUtf8(m_queue).c_str(),
                      platform::ToUtf8(missing).c_str());
    const auto jobs = platform::print::ListSpooledJobs(platform::print::SpoolFolder(m_queue));
    m_lastJobBefore = jobs.empty() ? 0 : jobs.back().id;
    m_handoversBefore = platform::print::CupsHandovers().size();
}

bool PrinterJobWatch::Report() const
{
    // A CUPS queue's job has left the spool once CUPS took it: its id there
    // names it.
    const auto handovers = platform::print::CupsHandovers();
    if (handovers.size() > m_handoversBefore) {
        const platform::print::CupsHandover& last = handovers.back();
        if (last.taken) std::printf("%s-%d\n", last.destination.c_str(), last.cupsJob);
        // A paused queue holds the job: it is printed, later, so the print
        // succeeds, but whoever waits at the printer is told why nothing comes.
        if (last.taken && last.paused)
            ReportFailure("warning: the printer \"%s\" is paused, its job %s-%d waits there: %s",
                          platform::ToUtf8(last.printer).c_str(), last.destination.c_str(), last.cupsJob,
                          platform::ToUtf8(last.cause).c_str());
        // Sent whole, never confirmed: the service may still print it, so
        // the print is not called failed (printed again it could come out
        // twice). Its data stays in the spool, named, to be sent again only
        // if nothing comes.
        if (last.unconfirmed) {
            std::printf("%s\n", last.keptData.c_str());
            ReportFailure("warning: the print service did not confirm the job for the printer \"%s\"; it may "
                          "still print. Send %s again only if it does not",
                          platform::ToUtf8(last.printer).c_str(), last.keptData.c_str());
        }
        return last.taken || last.unconfirmed;
    }
    // Other hosts may print to the same queue at the same time: the newest
    // job this process finished is the one.
    const auto jobs = platform::print::ListSpooledJobs(platform::print::SpoolFolder(m_queue));
    const std::wstring self = std::to_wstring(static_cast<long>(getpid()));
    for (auto job = jobs.rbegin(); job != jobs.rend(); ++job) {
        if (job->id <= m_lastJobBefore || job->Detail("Process") != self) continue;
        std::printf("%s\n", job->dataPath.c_str());
        return true;
    }
    return false;
}

}  // namespace host
