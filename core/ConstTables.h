// Constant tables built while the library loads; every subsystem reads the
// same values.
#pragma once

#include "platform/base/WinTypes.h"

// Standard lead names, index 0 to 11: I, II, III, aVR, aVL, aVF, V1 to V6.
extern const wchar_t* const g_strLeadName[12];
// Extra lead names for the lead codes 100 to 118.
extern const wchar_t* const g_strExtraLeadName[19];
// Rows of the RR list: name and unit.
extern const wchar_t* const g_strRRListName[9];
extern const wchar_t* const g_strRRListUnit[9];
// Examination-kind labels of the serial comparison, index 0 to 6.
extern const wchar_t* const g_strSerialKindLabel[7];

// The name of an MFER lead code (0 to 30 and 61 to 69); empty for code 0 and
// for codes outside the table.
const wchar_t* GetMFERLeadCodeName(int code);
// The name of an extra lead code (100 to 118), empty otherwise.
const wchar_t* GetExtraLeadCodeName(int code);
