// Fonts and text with pango, in a font world of our own: the fontconfig file
// shipped with the project (resources/fonts/morvelance-fonts.conf, or the
// file named by the environment variable MORVELANCE_FONTCONFIG) is loaded
// into a private FcConfig behind a private PangoFontMap, so the process-wide
// fontconfig is untouched and every face name lands on IPA Gothic (with
// WenQuanYi Micro Hei behind it for Chinese).
//
// Rendering is deterministic: grey antialiasing (as GDI draws text on
// screens), no hinting, metrics hinted (integer advances, as GDI has), no
// kerning or ligatures (TextOut applies neither).
//
// Sizes follow LOGFONT: lfHeight < 0 is the em height in pixels, > 0 the cell
// height (ascent + descent, internal leading included), 0 a 12-pixel cell.
// The metrics are the Windows ones computed from the face's tables (OS/2
// usWinAscent/usWinDescent and xAvgCharWidth, hhea advanceWidthMax).
#pragma once

#include <pango/pango.h>

#include <cstddef>
#include <string>

#include "platform/base/WinTypes.h"
#include "platform/gdi/GdiTypes.h"

namespace platform {
namespace gdi {

struct RealizedFont {
    LOGFONTW log = {};
    PangoFontDescription* description = nullptr;   // absolute size = emPixels
    int emPixels = 0;             // the em height the face is rendered at, device pixels
    TEXTMETRICW metrics = {};
    std::string family;           // the family fontconfig resolved the face name to
};

class TextLayout {
public:
    static TextLayout& Instance();

    // The font for a LOGFONT, made once and kept for the life of the process.
    // Throws std::bad_alloc when the address space has no room left for
    // pango's work (see PrepareText), as CreateLayout does.
    const RealizedFont* Realize(const LOGFONTW& log);
    // A one-line layout of `text` (no line breaks: control characters are
    // drawn as GDI does, as glyphs). The caller unrefs it.
    PangoLayout* CreateLayout(const RealizedFont* font, const wchar_t* text, int count);
    // The advance width of the layout, device pixels.
    static int AdvanceWidth(PangoLayout* layout);

    PangoFontMap* FontMap() const { return m_fontMap; }
    PangoContext* Context() const { return m_context; }
    // The fontconfig file in use; empty when it could not be loaded and the
    // system configuration stands in.
    const std::string& ConfigFile() const { return m_configFile; }

private:
    TextLayout();

    PangoFontDescription* Describe(const LOGFONTW& log, int emPixels) const;
    void ComputeMetrics(RealizedFont& font, PangoFont* face) const;

    PangoFontMap* m_fontMap = nullptr;
    PangoContext* m_context = nullptr;
    std::string m_configFile;
};

// What became of the text set-up.
enum class TextSetup {
    Ready,
    NoFonts,    // no font map could be made
    NoMemory,   // no room for the faces, or no thread could be started
};

// Makes text ready before a program takes its memory for records:
// fontconfig's configuration loaded, the faces the system draws with
// realized and a line of each script laid out, so that pango's font-sorting
// threads have run. Loaded late, with the address space taken by a long
// record, fontconfig crashes and a thread pango cannot create ends the
// process. Threads started from then on reserve the stack a Windows thread
// reserves (1 MB) rather than the 8 MB default, and share the process heap
// rather than reserving an arena each.
//
// Nothing of fontconfig or pango is touched unless the address space has
// room for all the set-up takes (the faces' files, mapped by FreeType and
// HarfBuzz both, are most of it) and a thread can be started: otherwise the
// result is NoMemory, with the cause in TextSetupFailure(), and a program
// should end. From the set-up on, a thread GLib cannot start for pango, or
// memory it cannot allocate, ends the process with status 1 and a line
// naming memory on standard error, rather than by a trap signal, and never
// leaves a wait for the thread's work blocked; and text meets pango only
// with a few megabytes free for it (the reserve the set-up leaves, or room
// come free since), failing with std::bad_alloc otherwise, as an allocation
// does. The first call decides; the later ones return its result.
TextSetup PrepareText();
// Why the set-up failed, as a phrase for a message; empty when it did not.
const std::string& TextSetupFailure();

// Test and host hooks.
// The address space held back for later text (4 MB unless set), taken
// again at once at the new size when it is held. A size no address space
// has leaves text with no reserve: it meets pango only while the room is
// free, which lets a test refuse text its memory.
void SetLaterTextReserve(size_t bytes);
// The family the private font map resolves a face name to ("IPAGothic", ...).
std::string ResolveFontFamily(const wchar_t* faceName);
// Glyphs pango could not find in any font for `text` in font `log`.
int CountUnknownGlyphs(const LOGFONTW& log, const wchar_t* text, int count);
// The UTF-8 form of wide text; characters that are not Unicode scalar
// values become U+FFFD.
std::string WideToUtf8(const wchar_t* text, int count);

}  // namespace gdi
}  // namespace platform
