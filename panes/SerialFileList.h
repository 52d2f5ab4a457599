// What the two serial comparison pages share: the comparable records of the
// base document's list, the record a comparable index names with its rest or
// MFER record, the chooser lists with their position map, and the texts the
// columns show of a record.
#pragma once

#include "platform/base/Collections.h"
#include "platform/ui/framework/Wnd.h"

class CTavrionDoc;
class CRestViewDoc;
class CMFERViewDoc;
class CDlgSerialCom;
struct _DATAITEM;
struct _RESTDATAITEM;
struct _MFERDATAITEM;

namespace panes {

constexpr int kSerialChooserCombo = 3500;
constexpr int kSerialCaptionStatic = 3501;

// One record of the comparison: its entry of the base list and its record in
// the rest or the MFER document (at most one of them).
struct SerialRecord {
    _DATAITEM* listed = nullptr;
    _RESTDATAITEM* rest = nullptr;
    _MFERDATAITEM* mfer = nullptr;

    BOOL Found() const { return rest || mfer; }
    // The first 16 characters of the acquisition date-time, empty when the
    // recorder kept no time ("*").
    CString DateTime() const;
    CString PatientID() const;
    // The ventricular rate of the record's measurements.
    CString HeartRate() const;
    CString Comment() const;
    // The examination stage of a master-step or load record.
    CString StageText() const;
    // The record's system code, from its own record when found.
    unsigned Kind() const;
};

// A record of the base list that takes part in a comparison: a resting kind,
// or a 12- or 15-lead MFER record.
bool IsComparableCode(unsigned code);
// The record of comparable index `index` (null parts when there is none).
SerialRecord FindSerialRecord(CTavrionDoc* base, CRestViewDoc* rest, CMFERViewDoc* mfer, int index);

// The examination label of a chooser entry, by the record's kind.
CString SerialKindLabel(unsigned kind, BOOL mfer);
// The stage caption of a column: rest, after the master step, after the load.
CString SerialStageLabel(unsigned kind, BOOL mfer, const CString& stage);
// A chooser text as a column caption: a text of 18 or more characters shows
// the date without its century and the time.
CString SerialCaptionText(const CString& entry);

// The choosers' combo box.
CWnd* ChooserCombo(CDlgSerialCom* chooser);
// Empties the choosers and lists every comparable record found in its
// document in each of them; `map` gets one entry per list entry, the
// record's comparable index.
void FillSerialChoosers(CTavrionDoc* base, CRestViewDoc* rest, CMFERViewDoc* mfer, CDlgSerialCom* const* choosers,
                        int count, CArray<int, int>& map);
// The list entry standing for comparable index `index`, -1 for none.
int SerialEntryOf(const CArray<int, int>& map, int index);
// The comparable index a list entry stands for: the map's value inside it,
// else the entry itself (-1 stays -1).
int SerialIndexOf(const CArray<int, int>& map, int entry);
// Selects `entry` of the chooser's list (-1 clears it).
void SelectChooserEntry(CDlgSerialCom* chooser, int entry);
int ChooserSelection(CDlgSerialCom* chooser);
// The text of an entry of the chooser's list; empty for none.
CString ChooserEntryText(CDlgSerialCom* chooser, int entry);

}  // namespace panes
