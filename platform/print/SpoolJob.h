// One job on its way into a spool folder: the job id is reserved by linking
// a locked temporary to <id>.SPL (which fails when the id is taken), the bytes go there while the job is written, and
// Commit renames it to <id>_<document>.<ext> and, once those bytes are on
// the disk, writes the sidecar
// <id>_<document>.job, so a reader never sees half a job. Abort (or
// destruction before Commit) removes everything the job made.
//
// A job holds an advisory lock on its reservation from before its name
// appears until it is committed or aborted. A process killed meanwhile
// leaves files nobody finishes: the first job a process begins in a folder
// sweeps them first, however young (reservations nobody holds and what
// belongs to them, a PDF surface's partial files, sidecar and reservation
// temporaries of dead processes, data files that never got their sidecar).
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/WinTypes.h"

namespace platform {
namespace print {

class SpoolJob {
public:
    // A job in the spool `folder` (created when missing). Null, with the
    // Win32 error in `error`, when the folder or the file cannot be made.
    static std::unique_ptr<SpoolJob> Begin(const std::string& folder, const std::wstring& printer,
                                           const std::wstring& document, const std::wstring& datatype,
                                           DWORD& error);
    // Printing to a file: the bytes go straight to `path` (replacing it), and
    // no sidecar is written.
    static std::unique_ptr<SpoolJob> BeginToFile(const std::string& path, const std::wstring& printer,
                                                 const std::wstring& document, const std::wstring& datatype,
                                                 DWORD& error);
    ~SpoolJob();
    SpoolJob(const SpoolJob&) = delete;
    SpoolJob& operator=(const SpoolJob&) = delete;

    DWORD Id() const { return m_id; }
    int Pages() const { return m_pages; }
    const std::wstring& Datatype() const { return m_datatype; }
    // Where the job's bytes are while it is written (native path).
    const std::string& DataPath() const { return m_dataPath; }

    // Appends bytes; false with the Win32 error on a failed write.
    bool Write(const void* bytes, size_t length, DWORD& error);
    void AddPage() { ++m_pages; }
    void SetPages(int pages) { m_pages = pages; }
    // An extra "key=value" line of the sidecar (copies, paper of a drawn job).
    void AddDetail(const std::string& key, const std::wstring& value);

    // Finishes the job under the extension `extension` ("prn", "pdf"). With
    // `producedFile`, that file (written by someone else, a PDF surface) becomes
    // the job's bytes. False with the Win32 error when the files cannot be
    // put in place; the job is then removed.
    bool Commit(const std::string& extension, const std::string* producedFile, DWORD& error);
    void Abort();
    // A committed job's files (its data, then its sidecar); empty before
    // Commit, when printing to a file, and after Withdraw.
    const std::string& FinalDataPath() const { return m_finalData; }
    const std::string& SidecarPath() const { return m_sidecar; }
    // Removes a committed job from the folder once another queue (CUPS) has
    // taken its bytes.
    void Withdraw();

    // Removes what jobs of processes no longer running left in the folder.
    static void SweepFolder(const std::string& folder);

    // For a program stopped by a signal, from its handler: removes what this
    // process's jobs still under way have put in their folders (each one's
    // reservation, a surface's output and partial files, data that has no
    // sidecar yet), so that the folder holds nothing half written. A job
    // already whole there (its sidecar written) stays. Only system calls,
    // on paths noted when the jobs began: safe in a signal handler.
    static void DropUnfinishedNow();

    // The file extension of a datatype's bytes.
    static std::string ExtensionOf(const std::wstring& datatype);

private:
    SpoolJob() = default;
    bool CloseData(DWORD& error);
    void ReleaseLock();
    void NoteUnfinished();
    void ForgetUnfinished();
    std::string FinalStem() const;

    std::string m_folder;        // empty when printing to a file
    std::string m_dataPath;
    std::string m_finalData;     // after Commit: the data file in the folder
    std::string m_sidecar;       // after Commit: its sidecar
    int m_fd = -1;
    int m_lockFd = -1;           // holds the reservation's lock until the job is finished
    DWORD m_id = 0;
    std::wstring m_printer;
    std::wstring m_document;
    std::wstring m_datatype;
    int m_pages = 0;
    std::vector<std::pair<std::string, std::wstring>> m_details;
    bool m_finished = false;     // committed or aborted
    int m_slot = -1;             // where DropUnfinishedNow finds it, while under way
};

}  // namespace print
}  // namespace platform
