// Helpers of the resting document alone: measurement paths, the 15-lead
// system codes, the code rows' control names and the record-wide
// measurements' bindings. The value helpers all documents share come along.
#pragma once

#include "documents/RecordXmlText.h"

// The per-lead measurement element of a key and a lead (0 to 11).
CString MeasureElementPath(const CString& key, int lead);
// A per-lead measurement as the reader takes it: the element's "data", or
// "****" (no value) where the record XML has none. A save compares with
// this reading: a value that still reads as the item holds it was not
// changed, and stays as stored, absent included.
CString ReadMeasureElement(CECGXMLParser& xml, const CString& key, int lead);

bool IsRestFifteenLead(unsigned systemCode);

// A numbered control name of a code row ("Interpre_minne_num_%d_edt" and row).
CString RestRowControl(LPCWSTR format, int row);

// The ten record-wide measurements (heart rate, PR, QRS, QT, QTc, P, QRS and
// T axes, RV5, SV1): the control each is bound to and its text when missing.
struct RestGlobalBinding {
    const wchar_t* pszControl;
    int nAlt;
    const wchar_t* pszDefault;
};
extern const RestGlobalBinding kRestGlobals[10];
// A record-wide measurement as the reader takes it from `path`, the place
// its binding has in the layout: the element's text, or the binding's text
// where the record XML has none.
CString ReadRestGlobal(CECGXMLParser& xml, const CString& path, const RestGlobalBinding& binding);

// The entry of a control in the resting screen form's layout table; -1 when
// the form has no control of that name.
int RestControlIndex(LPCWSTR control);

// The captions of the seven record-wide measurement rows of the resting form
// (heart rate to RV5+SV1): control, its name in the resting layout table and
// the built-in text.
struct RestNamedCaption {
    UINT uID;
    const wchar_t* pszControl;
    const wchar_t* pszDefault;
};
extern const RestNamedCaption kRestMeasureCaptions[7];
