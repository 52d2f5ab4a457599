// The host's "dialog" command for the dialogs around an enlarged view, the
// caliper dialog and the magnifier window: each opened on the record's
// document as its opener opens it, optionally zoomed and measured with the
// ruler, then saved as PNG and cancelled.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/ViewCommand.h"

class CDialog;
class CTavrionDoc;

namespace host {

struct EnlargedDialogRequest {
    int lead = -1;                   // the clicked lead; -1: lead II, or the record's first when it has none
    std::vector<std::string> with;   // further records compared (the overlap dialog)
    int zoom = 0;                    // zoom steps pressed: in when positive, out when negative
    bool ruler = false;              // a ruler set from rulerFrom to rulerTo (view pixels, mid-height)
    int rulerFrom = 0;
    int rulerTo = 0;
};

// Runs `dialog` modally (for the person at the display, until closed, when
// the dialogs are shown to one); `prepare` (when given) acts on it once it shows,
// then it is saved into `png`, reported, and cancelled.
bool SavePreparedDialog(CDialog& dialog, const std::string& png, const std::function<void(CDialog&)>& prepare);

// Whether `name` is one of the dialogs below.
bool IsEnlargedDialog(const std::string& name);
// "X1,X2" into the ruler of the request; false with a message when it does not read so.
bool ParseRuler(const std::string& text, EnlargedDialogRequest& request);
// Renders the dialog on `doc` (the record `file`), the further records opened by `open`.
bool RenderEnlargedDialog(const std::string& name, CTavrionDoc& doc, const std::string& file,
                          const EnlargedDialogRequest& request, const RecordOpener& open, const std::string& png);

}  // namespace host
