// Where a print to a named printer went, as the host tells it: the spool
// file of this process's job, or, for a CUPS queue, the job CUPS took.
#pragma once

#include <cstddef>
#include <string>

#include "platform/base/WinTypes.h"
#include "platform/print/CupsQueue.h"

namespace host {

class PrinterJobWatch {
public:
    // Notes what the queue holds before the print. A queue that cannot be
    // printed to (not in the registry nor the print service, or a service
    // that cannot be reached) is named with the cause on standard error.
    explicit PrinterJobWatch(const std::wstring& queue);

    // Prints the spool file's path, or DEST-ID for the job CUPS took, on
    // standard output; false when the print left no job (CUPS did not take
    // it: the platform has said why). A job a paused queue holds is
    // reported with a warning on standard error; so is a job CUPS was sent
    // whole but never confirmed, which may still print: its spool file's
    // path is printed, and the print is not a failure.
    bool Report() const;

private:
    // From the printer's lookup to the job's handover, a print service that
    // does not answer holds the print up once.
    platform::print::PrintServiceWait m_serviceWait;
    std::wstring m_queue;
    DWORD m_lastJobBefore = 0;       // the newest finished job of the queue before the print
    size_t m_handoversBefore = 0;    // this process's CUPS handovers before the print
};

}  // namespace host
