// The records of a serial comparison as the host holds them: every resting
// record open in one rest document, every MFER file in one MFER document, and
// the base list naming them in the order given, each marked loaded once its
// examination document has it open. The first record is the current one.
#pragma once

#include <string>
#include <vector>

#include "core/TavrionDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "host/ViewCommand.h"

namespace host {

struct SerialRecordSet {
    CTavrionDoc base;
    CRestViewDoc rest;
    CMFERViewDoc mfer;
    int kind = -1;   // the first record's document kind: 0 rest, 6 MFER
    int count = 0;
    int compared = 0;   // the records listed that the comparison takes
    std::string leftOut;   // why it leaves the record added last out; empty when it takes it
    // A file that did not open, or a resting or MFER record that its shared
    // document could not open again (short of memory, say): a failure, said
    // on stderr, not a set of another kind.
    bool failed = false;

    SerialRecordSet();
    SerialRecordSet(const SerialRecordSet&) = delete;
    SerialRecordSet& operator=(const SerialRecordSet&) = delete;

    // The opened record again in the shared document of its kind, then
    // listed; false (nothing listed) for a record of another kind or one
    // that does not open. A record listed that the comparison does not take
    // (see SerialLeftOutReason) is listed all the same, with `leftOut` saying why.
    bool Add(CTavrionDoc* opened);
    // Every file opened and added in turn; false at the first that does not
    // open or is not a resting or MFER record, and when the comparison takes
    // none of them: each said on stderr with `report`, as is every record
    // the comparison leaves out, by name and reason.
    bool OpenAll(const std::vector<std::string>& files, const RecordOpener& open, bool report);
    // The base list's document and the two shared ones, each in turn (made
    // ready for a screen, say).
    template <class Use> void ForEachDocument(const Use& use)
    {
        use(static_cast<CTavrionDoc&>(base));
        use(static_cast<CTavrionDoc&>(rest));
        use(static_cast<CTavrionDoc&>(mfer));
    }

private:
    void ReportReopenFailure(int result);
};

// Why the serial comparison leaves the opened record out, empty when it takes
// it: the comparison takes resting records of the kinds it compares and
// twelve- and fifteen-lead MFER files, nothing else.
std::string SerialLeftOutReason(CTavrionDoc& opened);

}  // namespace host
