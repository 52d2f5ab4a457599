// The measurement form's confirmation and commit, installed when the library
// loads: the prompts and the stamps of the editing-OK protocol serve the
// form, which sits on a lower floor than the dialogs.
#include "analysisviews/ViewDetailedMeas.h"
#include "core/TavrionDoc.h"
#include "dialogs/EditingOk.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"

namespace {

// The document's own test of edited blocks (patient, addition, comment).
int EditedBlocks(CTavrionDoc* doc)
{
    if (auto* rest = dynamic_cast<CRestViewDoc*>(doc)) return rest->IsEidtChange();
    if (auto* mfer = dynamic_cast<CMFERViewDoc*>(doc)) return mfer->IsEidtChange();
    return 0;
}

// The doctor confirms model-8000 records; everyone else edits as an editor.
bool ConfirmMeasurements(CTavrionDoc* doc, int docType)
{
    _EDIT_STAMP_FIELDS fields;
    if (!CurrentEditStampFields(doc, docType, fields)) return false;
    const bool doctor = doc->Is8000File() != 0;
    CString name;
    if (!CEditingOk::Ask(doctor ? CEditingOk::Prompt::Doctor : CEditingOk::Prompt::Editor, doc, name)) return false;
    if (doctor)
        CEditingOk::StampConfirmation(fields, name);
    else
        CEditingOk::StampEdit(doc, fields, name, CEditingOk::RecordTime::Keep, [doc] { return EditedBlocks(doc); });
    return true;
}

bool CommitMeasurements(CTavrionDoc* doc)
{
    using Step = CEditingOk::CommitStep;
    return CEditingOk::Commit(doc, {Step::Save, Step::Notify, Step::UpdateStatus, Step::Refill});
}

const bool g_bInstalled =
    (CViewDetailedMeas::SetEditProtocol({&ConfirmMeasurements, &CommitMeasurements, &CEditingOk::ReportFailedSave}),
     true);

}  // namespace
