// The folder and registry of one PDF print job of the host: a folder of the
// job's own under the temporary folder, a copy of the user's registry that
// the job reads and writes while it runs, and the PDF printer the job prints
// through, installed (or its port turned to the job's folder) in that copy.
// Hosts printing at the same time never share a printer, a port folder or a
// registry write, and a killed job's folder is swept by the next job.
#pragma once

#include <memory>
#include <string>

#include "platform/print/CupsQueue.h"

namespace host {

// Removes a folder and everything under it.
void RemoveTree(const std::string& path);

// A new folder of this job's own ("morvelance-print-<pid>-XXXXXX" under
// $TMPDIR or /tmp), after removing the folders of jobs whose process is
// gone; "" when none could be made. Until RemoveJobFolder removes it, a
// SIGTERM, SIGINT or SIGHUP that stops the host removes it first.
std::string MakeTempFolder();
// Removes a folder MakeTempFolder made, and everything under it.
void RemoveJobFolder(const std::string& path);

// From now on a SIGTERM, SIGINT or SIGHUP that stops the host first removes
// what its prints under way have put in the temporary folder and in the
// spool folders (a job already whole in a spool folder stays). MakeTempFolder
// sees to it as well; a print that makes no job folder calls this.
void TidyPrintsOnStop();

// The job's own registry: a copy of the user's that this process reads and
// writes while the job runs (MORVELANCE_REGISTRY names it), with the win.ini
// that lives beside it. The printer the job installs, its port and the
// options the printer is given while it prints stay in the copy and go with
// the job's folder: nothing of the job reaches the user's registry, so it
// steers no other job, and a killed job leaves nothing there. The copy's
// changes are kept in memory and written once, when the job leaves it.
// While the job is in it, the print service is left alone: the job prints
// to the PDF printer of this registry, and a scheduler that does not answer
// must not hold it up.
class JobRegistry {
public:
    JobRegistry() = default;
    JobRegistry(const JobRegistry&) = delete;
    JobRegistry& operator=(const JobRegistry&) = delete;
    ~JobRegistry() { Leave(); }

    bool Enter(const std::string& copy);
    void Leave();

private:
    bool m_entered = false;
    bool m_hadName = false;
    std::string m_oldName;
    std::unique_ptr<platform::print::PrintServiceAside> m_aside;
};

// The folder goes last, the job's registry with it; the printer and its
// DC go before the registry is left, whatever they still write.
struct JobFolder {
    std::string path;
    ~JobFolder()
    {
        if (!path.empty()) RemoveJobFolder(path);
    }
};

// A PDF printer the user installed is used with its settings, its port
// turned to `work`/printer; without one the job installs its own (with its
// install folder under `work`). Both happen in the registry in use, which
// is the job's own once a JobRegistry has entered it.
bool InstallPdfPrinter(const std::string& work);

}  // namespace host
