// The user window messages that cross from one part of the library to another
// (views, forms, controls and dialogs to their panes, the host and back), named
// once here, on the lowest floor that sends them. The arguments each one carries
// are described where it is sent.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/UiTypes.h"

// A multi-line comment edit lost the focus: the form recomputes the comment's height.
constexpr UINT WM_COMMENT_EDIT_LEFT = WM_USER + 1;
// The host tells a form that the record was modified.
constexpr UINT WM_RECORD_MODIFIED = WM_USER + 2;
// A bound combo box changed its selection: wParam the control id, lParam the selection.
constexpr UINT WM_BOUND_COMBO_CHANGED = WM_USER + 3;
// A bound control reloads its text from the document.
constexpr UINT WM_BOUND_CONTROL_RELOAD = WM_USER + 4;
// A form reached the end of its tab chain: the pane moves the focus to the next form.
constexpr UINT WM_FORM_TAB_END = WM_USER + 5;
// A one-lead scroll strip was dragged: the pane moves the page.
constexpr UINT WM_STRIP_DRAGGED = WM_USER + 6;
// A measuring divider was dropped: wParam the interval in milliseconds, lParam the divider (0 to 2).
constexpr UINT WM_DIVIDER_DROPPED = WM_USER + 7;
// An enlarged view's ruler reading to its dialog: wParam milliseconds, lParam
// microvolts, both whole and never negative (the master-step enlarged beat packs
// microvolts in the high 16 bits and milliseconds in the low 16 of wParam, lParam
// TRUE for the rest view).
constexpr UINT WM_ENLARGED_RULER_READING = WM_USER + 0xA;
// An enlarged view's pan to its dialog: lParam minus the vertical drag offset;
// wParam minus the horizontal one, or for a strip at least a page long the new start sample.
constexpr UINT WM_ENLARGED_PAN = WM_USER + 0xB;
// A view reports a confirmed pop-up, a saved value or a picked time to its pane's parent.
constexpr UINT WM_VIEW_RESULT = WM_USER + 0xC;
// The serial-comparison record chooser was opened (lParam 1) or closed (lParam 0): wParam the slot.
constexpr UINT WM_SERIAL_CHOOSER_SHOWN = WM_USER + 0xD;
// A record was chosen in the serial-comparison chooser: wParam the slot, lParam the choice.
constexpr UINT WM_SERIAL_RECORD_CHOSEN = WM_USER + 0xE;
// A calibration pulse was clicked.
constexpr UINT WM_CAL_PULSE_CLICKED = WM_USER + 0xF;
// The master-step enlarged view that pans, sent just before WM_ENLARGED_PAN:
// wParam TRUE for the rest view.
constexpr UINT WM_ENLARGED_PAN_SOURCE = WM_USER + 0x10;
// A view, form or control became active for annotation: wParam the window.
constexpr UINT WM_ANNOTATION_ACTIVE = WM_USER + 0x11;
// The host asks the patient-information form to open the patient editor.
constexpr UINT WM_OPEN_PATIENT_EDITOR = WM_USER + 0x12;
// A print job ended or failed to start; sent to the document's window.
constexpr UINT WM_PRINT_JOB_ENDED = WM_USER + 0x13;
// A serial-comparison pane asks the host to load a chosen record not loaded
// yet; sent to the document's notification window, wParam the record's id.
constexpr UINT WM_SERIAL_RECORD_TO_LOAD = WM_USER + 0x14;
// The display information (style, gain, speed, filter) changed: wParam the wave style shown.
constexpr UINT WM_DISPLAY_INFO_CHANGED = WM_USER + 0x15;
// An edit was stored; sent to the document's notification window.
constexpr UINT WM_EDIT_STORED = WM_USER + 0x16;
// An exercise trend view was double-clicked in the trend pane (wParam the
// trend style, lParam the lead), in the average or memory pane (the same),
// or a view of the summary pane was (wParam 6 trend, 5 memory, 4 average).
constexpr UINT WM_EXER_TREND_OPEN = WM_USER + 0x18;
constexpr UINT WM_EXER_TREND_OPEN_BESIDE = WM_USER + 0x19;
constexpr UINT WM_EXER_SUMMARY_OPEN = WM_USER + 0x1A;
// A time was picked on an exercise trend and stored as the item's current time.
constexpr UINT WM_EXER_TIME_PICKED = WM_USER + 0x1F;
// A wave pane wrote the measuring-divider bits back to the document; sent to
// the document's notification window, lParam 2 rhythm, 3 RR, 7 MFER record.
constexpr UINT WM_DIVIDER_BITS_WRITTEN = WM_USER + 0x1D;
// The additions link of an interpretation form was clicked (wParam 0, lParam 0).
constexpr UINT WM_LINK_OPEN_ADDITIONS = WM_USER + 0x1C;
// The serial-comparison choice is to be validated.
constexpr UINT WM_SERIAL_CHOICE_VALIDATE = WM_USER + 0x20;
// A serial-comparison pane refused a choice: wParam 1 the record is already
// chosen in another column, 2 the chosen records belong to different patients.
// Sent to the document's notification window.
constexpr UINT WM_SERIAL_CHOICE_REFUSED = WM_USER + 0x21;
