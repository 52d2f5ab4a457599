// The host's "dialog" command: opens one of the library's dialogs on a
// record's document as its opener would, saves the painted dialog as PNG
// and cancels it (a modeless one is created, painted and destroyed).
#pragma once

#include <memory>
#include <string>

#include "host/ViewCommand.h"

namespace host {

// The edits a dialog stores into the document while the count lives: the
// host stands as the document's notification window, which hears of each.
// A sheet closed with its update button and nothing stored changed nothing.
class StoredEditCount {
public:
    explicit StoredEditCount(CTavrionDoc& doc);
    ~StoredEditCount();
    StoredEditCount(const StoredEditCount&) = delete;
    StoredEditCount& operator=(const StoredEditCount&) = delete;

    int Count() const;

private:
    class Window;
    CTavrionDoc& m_doc;
    std::unique_ptr<Window> m_window;
};

// argv holds the arguments after "dialog": FILE --dialog CLASS --png OUT.png
// [--group G] [--template 172|173|174], or FILE --dialog all --out DIR.
// The record is opened by `open`, as for the views. Returns the exit status
// (0 when every requested dialog was saved).
int RunDialogCommand(int argc, char** argv, const RecordOpener& open);

// Whether the command opens dialog class `name` ("panels" included).
bool IsDialogClass(const std::string& name);
// Opens dialog `name` on the record `file` (opened by `open`) as the command
// does, but on the attached display, run by the person in front of it until
// closed. False when it does not open on the record or the display was lost.
bool ShowDialogOnRecord(const std::string& name, const std::string& file, const RecordOpener& open,
                        const std::string& user);
// The host acting for the user named: the one editor and the one doctor the
// prompts list, who may save. Without a name the prompts list nobody, and
// what is saved through them is stamped with no name.
void ActForUser(CTavrionDoc& doc, const std::string& user);
// Whether patient sheet `name` cannot edit the record of `doc`; when so, it
// says why on stderr (an empty sheet would look like a record without
// patient data).
bool SheetRefusesRecord(const std::string& name, CTavrionDoc& doc);

}  // namespace host
