// Control-data store helpers of the examination comment forms: captions from
// the layout tables, the interpretation, addition and comment blocks that
// the rhythm, RR and extra-lead forms bind alike, and the change tests.
#pragma once

#include <cstddef>

#include "platform/base/Strings.h"

class CTavrionDoc;
struct _ADDITIONAL_INFO;
struct _INTERPRE_INFO_GENERAL;
struct _PATIENT_INFO;
struct _POSITION_CTRL;

// A caption control of a form: its entry of the form's screen layout table
// and the text shown when the layout gives none.
struct CaptionBinding {
    UINT uID;
    int nEntry;
    const wchar_t* pszDefault;
};

// The captions of the rhythm and RR comment forms, whose layouts are alike.
extern const CaptionBinding kRhyRRCaptions[21];

// Loads each caption from the layout table; its built-in text when the
// layout names none.
void LoadFormCaptions(CTavrionDoc& doc, const _POSITION_CTRL* table, const CaptionBinding* captions, size_t count);
template <size_t N>
void LoadFormCaptions(CTavrionDoc& doc, const _POSITION_CTRL* table, const CaptionBinding (&captions)[N])
{
    LoadFormCaptions(doc, table, captions, N);
}

// Whether the store's text of a control differs from the value.
bool CtrlDiffers(CTavrionDoc& doc, UINT uID, const CString& value);

// The three addition rows: titles from uTitle, contents from uContent.
void LoadFormAdditions(CTavrionDoc& doc, const _ADDITIONAL_INFO& addition, UINT uTitle, UINT uContent);
int IsFormAdditionChanged(CTavrionDoc& doc, const _ADDITIONAL_INFO& addition, UINT uTitle, UINT uContent);

// Whether the rhythm, RR and extra-lead forms show the birthday.
enum class FormBirthday { Shown, None };
// The interpretation block of those forms: the birthday (3631, 3633,
// 3635), the medications as the form shows them (3637, 3639), then symptom
// to technician (3641 to 3655).
void LoadRhyRRInfo(CTavrionDoc& doc, const _INTERPRE_INFO_GENERAL& info, const CString& strMedication1,
                   const CString& strMedication2, FormBirthday birthday);
int IsRhyRRInfoChanged(CTavrionDoc& doc, const _INTERPRE_INFO_GENERAL& info, const CString& strMedication1,
                       const CString& strMedication2, FormBirthday birthday);
// The comment block of those forms: the comment (4017), its editor and
// date (3663, 3664) and the confirmation (3665, 3667, 3669). Dates show
// year to minute.
void LoadRhyRRComment(CTavrionDoc& doc, const CString& strComment, const CString& strEditor, const CString& strDate,
                      const _PATIENT_INFO& patient);
