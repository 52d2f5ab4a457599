// Device modes of the configured printers: the paper table, the defaults a
// printer starts with, and the merge DocumentPropertiesW and CreateDCW do
// with a caller's device mode.
#pragma once

#include "platform/print/PrinterConfig.h"
#include "platform/print/Spooler.h"

namespace platform {
namespace print {

// Driver data after the public part: a signature, so a device mode that went
// through a buffer sized without it shows up under the sanitizers.
const WORD kDevModeDriverExtra = 8;
const DWORD kDevModeBytes = sizeof(DEVMODEW) + kDevModeDriverExtra;
// The resolution every printer here reports: device units per inch.
const int kPrinterDpi = 600;

// Portrait paper size of a DMPAPER_* code, tenths of a millimetre; false for
// codes outside the table.
bool StandardPaperSize(int paper, int& widthTenthMm, int& heightTenthMm);

// The printer's default device mode (its registry defaults, corrected to
// A4, portrait, one copy where they are out of range).
DEVMODEW DefaultDevMode(const PrinterConfig& printer);

// Applies the fields `input` marks in dmFields (and its dmSize covers) to
// `mode`. False, with `mode` unchanged, when a field is out of range or the
// input is too short to be a device mode.
bool MergeDevMode(DEVMODEW& mode, const DEVMODEW& input);

// The paper a device mode describes, portrait, tenths of a millimetre.
void PaperOf(const DEVMODEW& mode, int& widthTenthMm, int& heightTenthMm);

// Writes the public part and the driver data (kDevModeBytes in all).
void StoreDevMode(const DEVMODEW& mode, void* out);

}  // namespace print
}  // namespace platform
