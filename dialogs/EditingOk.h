// The editing-OK protocol that every dialog storing an edit follows:
// permission, prompt, the dialog's own store step, stamp, change test,
// confirmation, commit (save, status, refill, notify). Each dialog calls
// it with its own store step and its own commit order; the orders differ
// between dialogs on purpose and are not unified here.
#pragma once

#include <functional>
#include <initializer_list>
#include <vector>

#include "platform/base/Strings.h"

class CTavrionDoc;
class CWnd;
struct _RESTDATAITEM;
struct _MFERDATAITEM;
struct _RHYTHMDATAITEM;
struct _RRDATAITEM;
struct _EXTRADATAITEM;
struct _FINALDATAITEM;
struct _EXERDATAITEM;

// The stamp and confirmation fields of a current item, which each
// examination kind keeps in its own place; a field a kind lacks stays null.
struct _EDIT_STAMP_FIELDS {
    CString* pRecordEditTime = nullptr;
    CString* pEditStamp = nullptr;
    CString* pEditor = nullptr;
    CString* pInfoStamp = nullptr;
    CString* pInfoEditor = nullptr;
    CString* pAdditionStamp = nullptr;
    CString* pAdditionEditor = nullptr;
    CString* pCommentStamp = nullptr;
    CString* pCommentEditor = nullptr;
    int* pConfirmed = nullptr;
    int* pEditedAfterConfirm = nullptr;
    CString* pConfirmText = nullptr;
    CString* pConfirmDate = nullptr;
    CString* pConfirmDoctor = nullptr;
    const int* pAdditionPresent = nullptr;   // the additions-present flag; null for kinds without additions
};

_EDIT_STAMP_FIELDS EditStampFieldsOf(_RESTDATAITEM& item);
_EDIT_STAMP_FIELDS EditStampFieldsOf(_MFERDATAITEM& item);
// Rhythm and RR items keep their analysis editor as the edit stamp; extra
// items have no analysis and keep their lead-name editor in its place.
_EDIT_STAMP_FIELDS EditStampFieldsOf(_RHYTHMDATAITEM& item);
_EDIT_STAMP_FIELDS EditStampFieldsOf(_RRDATAITEM& item);
_EDIT_STAMP_FIELDS EditStampFieldsOf(_EXTRADATAITEM& item);
// Master-step items keep their stamps among the interpretation's free texts.
_EDIT_STAMP_FIELDS EditStampFieldsOf(_FINALDATAITEM& item);
// Exercise items have no additional information: no addition stamp.
_EDIT_STAMP_FIELDS EditStampFieldsOf(_EXERDATAITEM& item);
// The fields of the current item of `doc`, read as a document of kind
// `type` (_DOC_TYPE); false when the document is not of that kind or has
// no current item.
bool CurrentEditStampFields(CTavrionDoc* doc, int type, _EDIT_STAMP_FIELDS& fields);

class CEditingOk {
public:
    enum class Prompt { Editor, Doctor };
    enum class RecordTime { Keep, Stamp };   // whether the record's edit time takes the stamp
    enum class CommitStep { Save, UpdateStatus, Refill, Notify };
    // SaveFailed: the item holds the edit but the record XML could not be
    // written; the user was told and the notification window was not.
    enum class Outcome { Stored, Unchanged, Abandoned, SaveFailed };

    // The commit order of the editing OK itself: save, status, refill, notify.
    static const std::vector<CommitStep>& StandardOrder();

    // Step 0: whether OK may be pressed. Read-only never; otherwise the save
    // flag that matches the record (doctor for model-8000 records, else editor);
    // `editorOnly` tests the editor flag whatever the record.
    static BOOL IsOkAllowed(CTavrionDoc* doc, bool editorOnly = false);
    // Enables or disables the OK button of `dialog` by IsOkAllowed.
    static void ApplyPermission(CWnd& dialog, CTavrionDoc* doc, bool editorOnly = false);

    // Step 2: shows the prompt (null parent) and gives the name chosen; false
    // when it was not confirmed.
    static bool Ask(Prompt prompt, CTavrionDoc* doc, CString& name);

    // Steps 4 to 6 with one stamp: stamps the item, stamps the changed parts
    // by `changeTest` (the examination document's IsEidtChange; null: no
    // change test), and moves the confirmation state on. Returns the stamp.
    static CString StampEdit(CTavrionDoc* doc, const _EDIT_STAMP_FIELDS& fields, const CString& name,
                             RecordTime recordTime, const std::function<int()>& changeTest);
    // One stamp pair: the section's date becomes `stamp`, its editor `name`
    // (Analysis is the item's edit stamp).
    enum class Section { Information, Addition, Analysis, Comment };
    static void StampSection(const _EDIT_STAMP_FIELDS& fields, Section section, const CString& stamp,
                             const CString& name);
    // Step 6 alone: an edit of a confirmed (or already edited) record keeps
    // the last confirmation readable; an unread record asks for the doctor.
    static void MarkEdited(const _EDIT_STAMP_FIELDS& fields);
    // "判読後に編集あり(最終判読:<date to the minute> <doctor>)".
    static CString EditedAfterConfirmText(const CString& confirmDate, const CString& doctor);
    // The doctor's confirmation in place of steps 4 to 6.
    static CString StampConfirmation(const _EDIT_STAMP_FIELDS& fields, const CString& doctor);
    // The doctor's confirmation as the property sheets record it at `stamp`:
    // also the record edit time, and the confirmation text that stays once
    // the record is edited again. RecordTime::Keep leaves the record edit
    // time alone (a model-8000 record saved as the doctor's confirmation).
    static void ConfirmWithText(const _EDIT_STAMP_FIELDS& fields, const CString& stamp, const CString& doctor,
                                RecordTime recordTime = RecordTime::Stamp);
    // Step 7 in the caller's order. Notify sends WM_USER+0x16 (0, 0) to the
    // document's notification window, synchronously, when it has one. A
    // save that fails ends the commit there: the user is told by an error
    // box and no later step runs. False after a failed save.
    static bool Commit(CTavrionDoc* doc, std::initializer_list<CommitStep> order);
    static bool Commit(CTavrionDoc* doc, const std::vector<CommitStep>& order);
    // The error box of a record XML that could not be written.
    static void ReportFailedSave();

    // The whole protocol from step 1: `unchanged` (null: always changed),
    // the prompt, `store` (the dialog's own data; false abandons), the stamps,
    // then the commit in `order`. The caller closes the dialog by the outcome;
    // after SaveFailed the item holds the edit and the user has been told.
    struct Run {
        Prompt prompt = Prompt::Editor;
        RecordTime recordTime = RecordTime::Keep;
        std::function<bool()> unchanged;
        std::function<bool(const CString& name)> store;
        std::function<int()> changeTest;
        std::vector<CommitStep> order = StandardOrder();
    };
    static Outcome Execute(CTavrionDoc* doc, const _EDIT_STAMP_FIELDS& fields, const Run& run);

private:
    // Confirmed at `stamp` by `doctor`, nothing edited since.
    static void SetConfirmed(const _EDIT_STAMP_FIELDS& fields, const CString& stamp, const CString& doctor);
};
