#include "platform/print/DevMode.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace platform {
namespace print {

namespace {

struct Paper {
    short width;    // tenths of a millimetre, portrait
    short height;
};

// Indexed by DMPAPER_* code - 1; inch sizes are exact to the tenth of a millimetre.
const Paper kPapers[] = {
    {2159, 2794},    // 1 Letter 8 1/2 x 11 in
    {2159, 2794},    // 2 Letter Small
    {2794, 4318},    // 3 Tabloid 11 x 17 in
    {4318, 2794},    // 4 Ledger 17 x 11 in
    {2159, 3556},    // 5 Legal 8 1/2 x 14 in
    {1397, 2159},    // 6 Statement 5 1/2 x 8 1/2 in
    {1841, 2667},    // 7 Executive 7 1/4 x 10 1/2 in
    {2970, 4200},    // 8 A3
    {2100, 2970},    // 9 A4
    {2100, 2970},    // 10 A4 Small
    {1480, 2100},    // 11 A5
    {2500, 3540},    // 12 B4 (JIS)
    {1820, 2570},    // 13 B5 (JIS)
    {2159, 3302},    // 14 Folio 8 1/2 x 13 in
    {2150, 2750},    // 15 Quarto
    {2540, 3556},    // 16 10 x 14 in
    {2794, 4318},    // 17 11 x 17 in
    {2159, 2794},    // 18 Note
    {984, 2254},     // 19 Envelope #9 3 7/8 x 8 7/8 in
    {1047, 2413},    // 20 Envelope #10 4 1/8 x 9 1/2 in
    {1143, 2635},    // 21 Envelope #11 4 1/2 x 10 3/8 in
    {1206, 2794},    // 22 Envelope #12 4 3/4 x 11 in
    {1270, 2921},    // 23 Envelope #14 5 x 11 1/2 in
    {4318, 5588},    // 24 C size sheet
    {5588, 8636},    // 25 D size sheet
    {8636, 11176},   // 26 E size sheet
    {1100, 2200},    // 27 Envelope DL
    {1620, 2290},    // 28 Envelope C5
    {3240, 4580},    // 29 Envelope C3
    {2290, 3240},    // 30 Envelope C4
    {1140, 1620},    // 31 Envelope C6
    {1140, 2290},    // 32 Envelope C65
    {2500, 3530},    // 33 Envelope B4
    {1760, 2500},    // 34 Envelope B5
    {1760, 1250},    // 35 Envelope B6
    {1100, 2300},    // 36 Envelope Italy
    {984, 1905},     // 37 Envelope Monarch 3 7/8 x 7 1/2 in
    {921, 1651},     // 38 6 3/4 Envelope 3 5/8 x 6 1/2 in
    {3778, 2794},    // 39 US Std Fanfold 14 7/8 x 11 in
    {2159, 3048},    // 40 German Std Fanfold 8 1/2 x 12 in
    {2159, 3302},    // 41 German Legal Fanfold 8 1/2 x 13 in
};
const int kPaperCount = (int)(sizeof(kPapers) / sizeof(kPapers[0]));

const BYTE kDriverSignature[kDevModeDriverExtra] = {'M', 'O', 'R', 'V', 1, 0, 0, 0};
const int kMaxCopies = 9999;
// Custom paper up to a metre and a half either way (a short holds 3276.7 mm).
const int kMaxPaperTenthMm = 15000;

// Whether the input's public part reaches the end of `member`.
bool Covers(const DEVMODEW& input, size_t memberEnd)
{
    return input.dmSize >= memberEnd;
}

#define DEVMODE_END(member) (offsetof(DEVMODEW, member) + sizeof(DEVMODEW::member))

}  // namespace

bool StandardPaperSize(int paper, int& widthTenthMm, int& heightTenthMm)
{
    if (paper < 1 || paper > kPaperCount) return false;
    widthTenthMm = kPapers[paper - 1].width;
    heightTenthMm = kPapers[paper - 1].height;
    return true;
}

DEVMODEW DefaultDevMode(const PrinterConfig& printer)
{
    DEVMODEW mode;
    std::memset(&mode, 0, sizeof(mode));
    const size_t nameLength = std::min(printer.name.size(), (size_t)CCHDEVICENAME - 1);
    std::wmemcpy(mode.dmDeviceName, printer.name.data(), nameLength);
    mode.dmSpecVersion = DM_SPECVERSION;
    mode.dmDriverVersion = 0x0100;
    mode.dmSize = sizeof(DEVMODEW);
    mode.dmDriverExtra = kDevModeDriverExtra;
    // The length and width of a standard paper are filled in but not marked,
    // as drivers do: marked, they would override the paper code of a caller
    // that changes only dmPaperSize and hands the device mode back.
    mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_SCALE | DM_COPIES | DM_PRINTQUALITY | DM_COLOR |
                    DM_YRESOLUTION | DM_COLLATE;
    const bool orientationValid =
        printer.orientation == DMORIENT_PORTRAIT || printer.orientation == DMORIENT_LANDSCAPE;
    mode.dmOrientation = (short)(orientationValid ? printer.orientation : DMORIENT_PORTRAIT);
    int width = 0;
    int height = 0;
    const int paper = StandardPaperSize(printer.paperSize, width, height) ? printer.paperSize : DMPAPER_A4;
    StandardPaperSize(paper, width, height);
    mode.dmPaperSize = (short)paper;
    mode.dmPaperWidth = (short)width;
    mode.dmPaperLength = (short)height;
    mode.dmScale = 100;
    mode.dmCopies = (short)(printer.copies >= 1 && printer.copies <= kMaxCopies ? printer.copies : 1);
    mode.dmPrintQuality = kPrinterDpi;
    mode.dmYResolution = kPrinterDpi;
    mode.dmColor = DMCOLOR_COLOR;
    mode.dmDuplex = DMDUP_SIMPLEX;
    mode.dmCollate = DMCOLLATE_TRUE;
    return mode;
}

bool MergeDevMode(DEVMODEW& mode, const DEVMODEW& input)
{
    if (!Covers(input, DEVMODE_END(dmFields))) return false;
    DEVMODEW merged = mode;
    const DWORD fields = input.dmFields;
    if ((fields & DM_ORIENTATION) && Covers(input, DEVMODE_END(dmOrientation))) {
        if (input.dmOrientation != DMORIENT_PORTRAIT && input.dmOrientation != DMORIENT_LANDSCAPE) return false;
        merged.dmOrientation = input.dmOrientation;
    }
    if ((fields & DM_PAPERSIZE) && Covers(input, DEVMODE_END(dmPaperSize))) {
        int width = 0;
        int height = 0;
        if (StandardPaperSize(input.dmPaperSize, width, height)) {
            merged.dmPaperWidth = (short)width;
            merged.dmPaperLength = (short)height;
        } else if (input.dmPaperSize != DMPAPER_USER) {
            return false;
        }
        merged.dmPaperSize = input.dmPaperSize;
    }
    // An explicit length or width overrides the one the paper code gives.
    bool custom = false;
    if ((fields & DM_PAPERLENGTH) && Covers(input, DEVMODE_END(dmPaperLength))) {
        if (input.dmPaperLength <= 0 || input.dmPaperLength > kMaxPaperTenthMm) return false;
        custom = custom || input.dmPaperLength != merged.dmPaperLength;
        merged.dmPaperLength = input.dmPaperLength;
    }
    if ((fields & DM_PAPERWIDTH) && Covers(input, DEVMODE_END(dmPaperWidth))) {
        if (input.dmPaperWidth <= 0 || input.dmPaperWidth > kMaxPaperTenthMm) return false;
        custom = custom || input.dmPaperWidth != merged.dmPaperWidth;
        merged.dmPaperWidth = input.dmPaperWidth;
    }
    if (custom) merged.dmPaperSize = DMPAPER_USER;
    const DWORD sizeFields = DM_PAPERLENGTH | DM_PAPERWIDTH;
    merged.dmFields = merged.dmPaperSize == DMPAPER_USER ? (merged.dmFields | sizeFields) : (merged.dmFields & ~sizeFields);
    if (merged.dmPaperSize == DMPAPER_USER && (merged.dmPaperWidth <= 0 || merged.dmPaperLength <= 0)) return false;
    if ((fields & DM_COPIES) && Covers(input, DEVMODE_END(dmCopies))) {
        if (input.dmCopies < 1 || input.dmCopies > kMaxCopies) return false;
        merged.dmCopies = input.dmCopies;
    }
    if ((fields & DM_COLLATE) && Covers(input, DEVMODE_END(dmCollate))) {
        merged.dmCollate = input.dmCollate ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
    }
    if ((fields & DM_COLOR) && Covers(input, DEVMODE_END(dmColor))) {
        if (input.dmColor != DMCOLOR_MONOCHROME && input.dmColor != DMCOLOR_COLOR) return false;
        merged.dmColor = input.dmColor;
    }
    mode = merged;
    return true;
}

void PaperOf(const DEVMODEW& mode, int& widthTenthMm, int& heightTenthMm)
{
    widthTenthMm = mode.dmPaperWidth;
    heightTenthMm = mode.dmPaperLength;
    if (widthTenthMm > 0 && heightTenthMm > 0) return;
    if (!StandardPaperSize(mode.dmPaperSize, widthTenthMm, heightTenthMm))
        StandardPaperSize(DMPAPER_A4, widthTenthMm, heightTenthMm);
}

void StoreDevMode(const DEVMODEW& mode, void* out)
{
    DEVMODEW stored = mode;
    stored.dmSize = sizeof(DEVMODEW);
    stored.dmDriverExtra = kDevModeDriverExtra;
    std::memcpy(out, &stored, sizeof(DEVMODEW));
    std::memcpy(static_cast<BYTE*>(out) + sizeof(DEVMODEW), kDriverSignature, kDevModeDriverExtra);
}

}  // namespace print
}  // namespace platform
