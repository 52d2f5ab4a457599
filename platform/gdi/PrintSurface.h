// Printer DCs over PDF documents: the surfaces the printing layer builds its
// printer DCs, StartDoc and the page calls on. A print surface DC is a
// printer DC (OBJ_DC, TECHNOLOGY DT_RASPRINTER, IsPrinting) whose device
// units are dots of the given resolution, with device (0, 0) at the top-left
// of the printable area, as on a printer. Pages are vector PDF: lines stay
// lines and text stays text.
//
// A document starts with the first PrintSurfaceStartPage and is written to a
// temporary file beside its destination; PrintSurfaceFinish renames it into
// place, so an existing file is replaced only by a complete document and an
// aborted job leaves nothing behind. Drawing outside StartPage/EndPage goes
// nowhere, as on a printer between pages. DeleteDC on a DC with an unfinished
// document aborts it.
//
// Raster operations: the mix modes and ternary raster operations that read
// the page cannot read a PDF page back; they are drawn with PDF's blend
// modes instead (XOR as Difference, AND as Multiply, OR as Lighten, NOT as
// Difference with white). For pens, brushes and images whose colour channels
// are 0 or 255 (black, white, the primaries: what XOR drawing uses) this is
// exactly what the pixels would give, and drawing the same XOR figure twice
// removes it; other colours come out close. Operations that would need the
// page both as it is and inverted at once are drawn as they would come out
// on blank paper.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

namespace platform {
namespace gdi {

struct PrintSurfaceSpec {
    std::string pdfPath;       // where the vector PDF is written (UTF-8 path, either separator); may be set later
    int paperWidthTenthMm = 0;   // paper in portrait, tenths of a millimetre (DEVMODE units); 0 is refused
    int paperHeightTenthMm = 0;
    bool landscape = false;
    int dpi = 600;             // device units per inch
    // Unprintable edges of the sheet as printed (in landscape, of the
    // landscape sheet), device units.
    int marginLeft = 0, marginTop = 0, marginRight = 0, marginBottom = 0;
};

// A printer DC for `spec`; NULL for a paper size or resolution outside what
// a printer could have (sides of 1 to 10000 mm, 72 to 4800 dpi) or margins
// that leave no printable area. Delete it with DeleteDC.
HDC CreatePrintSurfaceDC(const PrintSurfaceSpec& spec);

// The destination of the next document (the current one when none has
// started yet); FALSE for a stale DC, an empty path or while a document is
// being written.
BOOL PrintSurfaceSetOutput(HDC dc, const std::string& pdfPath);

// Starts a page (and the document, with its first page); FALSE for a stale
// DC, a page already started, no destination, or a file that cannot be made.
BOOL PrintSurfaceStartPage(HDC dc);
// FALSE when no page is started.
BOOL PrintSurfaceEndPage(HDC dc);
// Ends a started page, closes the PDF and moves it to its destination; the
// file is complete after this. A document without pages writes no file.
// FALSE for a stale DC or when the file cannot be written or moved (the
// partial output is removed).
BOOL PrintSurfaceFinish(HDC dc);
// Drops the document being written, leaving any earlier file at the
// destination as it was. TRUE for any live print surface DC.
BOOL PrintSurfaceAbort(HDC dc);
// Pages ended in the current document (the last finished one after
// PrintSurfaceFinish); -1 for a stale or non-print DC.
int PrintSurfacePageCount(HDC dc);
// Whether `dc` is a print surface DC.
BOOL IsPrintSurfaceDC(HDC dc);

}  // namespace gdi
}  // namespace platform
