// Byte-level EUC-JP <-> Shift-JIS conversion of the texts the document stores.
// Records written by the UNIX-side stations carry EUC text; the workstation
// works in Shift-JIS. Both conversions work in place on NUL-terminated texts.
#pragma once

#include "platform/base/WinTypes.h"

#include <cstddef>

// Number of entries of g_wIbmExtToNec: one per code from 0xFA40 to 0xFC4B.
constexpr int kIbmExtCount = 0xFC4B - 0xFA40 + 1;

// IBM extension code (0xFA40 + index) -> the NEC-selected IBM extension code of
// the same character (0xED40..0xEEFC), 0 when there is none.
extern const WORD g_wIbmExtToNec[kIbmExtCount];

// Converts the EUC text in place into Shift-JIS, LF becoming CR LF. capacity is
// the buffer size in bytes: the output and its terminator never go past it and
// stop at the last whole character or line break that fits. A lead byte left
// without its trail byte at the end is dropped. Returns the new byte length
// (0 for a null text or a capacity of 0).
int EucToSjis(char* text, size_t capacity);

// Converts the Shift-JIS text in place into EUC. Half-width kana are dropped and
// the freed bytes at the end are filled with blanks, so the text keeps its byte
// length. A lead byte left without its trail byte at the end is dropped.
// Returns the length of the converted text before the blank padding.
int SjisToEuc(char* text);
