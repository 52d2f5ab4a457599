#include "platform/gdi/TextLayout.h"

#include <fontconfig/fontconfig.h>
#include <hb.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <dlfcn.h>
#include <malloc.h>
#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
#include <memory>
#include <new>
#include <string>

#include "platform/gdi/HandleTable.h"

namespace platform {
namespace gdi {

namespace {

const int kDefaultCellHeight = 12;   // lfHeight 0
const int kMaxEmPixels = 4096;       // beyond this a request is a caller's mistake; clamp
const double kLoadSize = 64.0;       // em size the face is first loaded at to read its tables

// The library's font configuration: MORVELANCE_FONTCONFIG, else the file in
// the data folder found relative to this library's own file (the build tree
// keeps the same layout), so an installed tree names no build folder.
std::string ConfigFilePath()
{
    const char* env = std::getenv("MORVELANCE_FONTCONFIG");
    if (env && *env) return env;
#if defined(MORVELANCE_FONTCONFIG_NAME) && defined(MORVELANCE_LIB_TO_DATA)
    Dl_info info;
    if (dladdr(reinterpret_cast<const void*>(&ConfigFilePath), &info) == 0 || !info.dli_fname) return std::string();
    std::string folder = info.dli_fname;
    const size_t slash = folder.rfind('/');
    if (slash == std::string::npos) return std::string();
    folder.resize(slash);
    for (const char* toData : {MORVELANCE_LIB_TO_DATA, "../share/morvelance"}) {
        std::string path = folder + "/" + toData + "/" + MORVELANCE_FONTCONFIG_NAME;
        if (::access(path.c_str(), R_OK) == 0) return path;
    }
#endif
    return std::string();
}

FcConfig* LoadPrivateConfig(const std::string& path)
{
    if (path.empty()) return nullptr;
    FcConfig* config = FcConfigCreate();
    if (!config) return nullptr;
    if (!FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(path.c_str()), FcTrue) ||
        !FcConfigBuildFonts(config)) {
        FcConfigDestroy(config);
        return nullptr;
    }
    return config;
}

// Big-endian reads from a font table, zero past its end.
int ReadU16(const char* data, unsigned length, unsigned offset)
{
    if (!data || offset + 2 > length) return 0;
    return ((unsigned char)data[offset] << 8) | (unsigned char)data[offset + 1];
}

int ReadS16(const char* data, unsigned length, unsigned offset)
{
    const int v = ReadU16(data, length, offset);
    return v >= 0x8000 ? v - 0x10000 : v;
}

struct FaceTables {
    unsigned upem = 0;
    int winAscent = 0, winDescent = 0, avgCharWidth = 0;
    int hheaAscent = 0, hheaDescent = 0, lineGap = 0, maxAdvance = 0;
    bool valid = false;
};

FaceTables ReadFaceTables(PangoFont* font)
{
    FaceTables t;
    hb_font_t* hbFont = font ? pango_font_get_hb_font(font) : nullptr;
    if (!hbFont) return t;
    hb_face_t* face = hb_font_get_face(hbFont);
    t.upem = hb_face_get_upem(face);
    hb_blob_t* os2 = hb_face_reference_table(face, HB_TAG('O', 'S', '/', '2'));
    hb_blob_t* hhea = hb_face_reference_table(face, HB_TAG('h', 'h', 'e', 'a'));
    unsigned os2Length = 0, hheaLength = 0;
    const char* os2Data = hb_blob_get_data(os2, &os2Length);
    const char* hheaData = hb_blob_get_data(hhea, &hheaLength);
    t.avgCharWidth = ReadS16(os2Data, os2Length, 2);
    t.winAscent = ReadU16(os2Data, os2Length, 74);
    t.winDescent = ReadU16(os2Data, os2Length, 76);
    t.hheaAscent = ReadS16(hheaData, hheaLength, 4);
    t.hheaDescent = ReadS16(hheaData, hheaLength, 6);
    t.lineGap = ReadS16(hheaData, hheaLength, 8);
    t.maxAdvance = ReadU16(hheaData, hheaLength, 10);
    t.valid = t.upem > 0 && t.winAscent + t.winDescent > 0;
    hb_blob_destroy(os2);
    hb_blob_destroy(hhea);
    return t;
}

// The requested height in pixels, whichever sign; absurd heights are clamped.
int CellHeight(const LOGFONTW& log)
{
    if (log.lfHeight == 0) return kDefaultCellHeight;
    const long long height = std::llabs((long long)log.lfHeight);
    return (int)std::min<long long>(height, kMaxEmPixels);
}

int Round(double v)
{
    return (int)std::lround(v);
}

std::string FaceNameUtf8(const LOGFONTW& log)
{
    int length = 0;
    while (length < LF_FACESIZE && log.lfFaceName[length]) ++length;
    return WideToUtf8(log.lfFaceName, length);
}

// The cache key: the LOGFONT fields that change the realized font.
std::string FontKey(const LOGFONTW& log)
{
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "%d/%d/%d/%d/%d/%d/%d/%d|", (int)log.lfHeight, (int)log.lfWidth,
                  (int)log.lfWeight, log.lfItalic, log.lfUnderline, log.lfStrikeOut, log.lfCharSet,
                  log.lfPitchAndFamily);
    return numbers + FaceNameUtf8(log);
}

void AppendUtf8(std::string& out, uint32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
        out.push_back((char)c);
    } else if (c < 0x800) {
        out.push_back((char)(0xC0 | (c >> 6)));
        out.push_back((char)(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back((char)(0xE0 | (c >> 12)));
        out.push_back((char)(0x80 | ((c >> 6) & 0x3F)));
        out.push_back((char)(0x80 | (c & 0x3F)));
    } else {
        out.push_back((char)(0xF0 | (c >> 18)));
        out.push_back((char)(0x80 | ((c >> 12) & 0x3F)));
        out.push_back((char)(0x80 | ((c >> 6) & 0x3F)));
        out.push_back((char)(0x80 | (c & 0x3F)));
    }
}

// Whether the address space has `bytes` free now.
bool HasRoom(size_t bytes)
{
    void* block = mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (block == MAP_FAILED) return false;
    munmap(block, bytes);
    return true;
}

// The room pango's work takes: two thread stacks of 1 MB and what their
// sorting allocates.
const size_t kPangoRoom = 4u << 20;

// Address space held back for pango. A font description pango has not met
// makes it start threads to match and sort fonts, and a long record may have
// left no room for their stacks; pango ends the process when it cannot start
// one. The reserve is given back just before text meets pango and taken
// again after, so that those threads find the room.
class PangoReserve {
public:
    static PangoReserve& Instance()
    {
        static PangoReserve* reserve = new PangoReserve;   // lives as long as the process
        return *reserve;
    }
    // False when there is no room for it.
    bool Take()
    {
        if (m_block) return true;
        void* block = mmap(nullptr, m_bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        m_block = block == MAP_FAILED ? nullptr : block;
        return m_block != nullptr;
    }
    // False when it was not held.
    bool Release()
    {
        if (!m_block) return false;
        munmap(m_block, m_bytes);
        m_block = nullptr;
        return true;
    }
    // A reserve held is taken again at the new size.
    void SetBytes(size_t bytes)
    {
        if (bytes == 0) return;
        const bool held = Release();
        m_bytes = bytes;
        if (held) Take();
    }

private:
    void* m_block = nullptr;
    size_t m_bytes = kPangoRoom;
};

// While it lives the reserve is free for pango. When pango kept the room the
// last time and none has come free since, there is none to give: pango is
// not entered, short of memory (at the edge fontconfig crashes, and pango
// waits for ever for a sort that failed), and the text fails as any other
// allocation does.
class PangoRoom {
public:
    PangoRoom()
    {
        if (!PangoReserve::Instance().Release() && !HasRoom(kPangoRoom)) throw std::bad_alloc();
    }
    ~PangoRoom() { PangoReserve::Instance().Take(); }
    PangoRoom(const PangoRoom&) = delete;
    PangoRoom& operator=(const PangoRoom&) = delete;
};

std::map<std::string, std::unique_ptr<RealizedFont>>& FontCache()
{
    static auto* cache = new std::map<std::string, std::unique_ptr<RealizedFont>>;
    return *cache;
}

// The address space the text set-up takes, with a margin: the three faces
// (IPA Gothic, IPA P Gothic, WenQuanYi Micro Hei) are each mapped twice, by
// FreeType and by HarfBuzz (34 MB), then come fontconfig's configurations
// and caches, the stacks of pango's threads and the reserve kept for later
// text: 42 MB in all.
const size_t kSetupRoom = 48u << 20;

void* Idle(void*)
{
    return nullptr;
}

// Why no thread can be started now with the attributes pango's get; empty
// when one can.
std::string ThreadStartFailure()
{
    pthread_t thread;
    const int error = pthread_create(&thread, nullptr, &Idle, nullptr);
    if (error != 0) return std::strerror(error);
    pthread_join(thread, nullptr);
    return std::string();
}

// GLib ends the process by a trap signal when it cannot start a thread pango
// asks for, or allocate memory; pango would otherwise wait for that
// thread's work for ever. Short of memory the text cannot be drawn: the
// process ends here instead, with status 1 and the cause. Nothing is
// allocated on the way out, the heap may be what ran out.
void EndShortOfMemory(const gchar* domain, GLogLevelFlags level, const gchar* message, gpointer)
{
    const bool memory =
        message && (std::strstr(message, "creating thread") || std::strstr(message, "failed to allocate"));
    if (!memory) {
        g_log_default_handler(domain, level, message, nullptr);
        return;
    }
    char text[512];
    const int length = std::snprintf(text, sizeof text, "morvelance: not enough memory for text: %s\n", message);
    if (length > 0) {
        const ssize_t written = ::write(STDERR_FILENO, text, std::min<size_t>(length, sizeof text - 1));
        (void)written;
    }
    ::_exit(1);
}

// Whether pango could give the realized font a cairo font to draw with:
// short of memory it keeps going without one ("expect ugly output").
bool FaceDraws(const TextLayout& text, const RealizedFont* font)
{
    if (!font || !font->description) return false;
    PangoFont* face = pango_font_map_load_font(text.FontMap(), text.Context(), font->description);
    if (!face) return false;
    cairo_scaled_font_t* scaled = PANGO_IS_CAIRO_FONT(face) ? pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(face)) : nullptr;
    const bool draws = scaled && cairo_scaled_font_status(scaled) == CAIRO_STATUS_SUCCESS;
    g_object_unref(face);
    return draws;
}

std::string& SetupFailure()
{
    static auto* failure = new std::string;   // lives as long as the process
    return *failure;
}

TextSetup Failed(const char* cause, const std::string& detail = std::string())
{
    SetupFailure() = detail.empty() ? cause : std::string(cause) + " (" + detail + ")";
    return TextSetup::NoMemory;
}

}  // namespace

std::string WideToUtf8(const wchar_t* text, int count)
{
    std::string out;
    if (!text || count <= 0) return out;
    out.reserve((size_t)count);
    for (int i = 0; i < count; ++i) {
        // NUL is not valid inside a pango text; GDI draws it as the default glyph.
        const uint32_t c = (uint32_t)text[i];
        AppendUtf8(out, c == 0 ? 0xFFFD : c);
    }
    return out;
}

TextSetup PrepareText()
{
    static const TextSetup result = [] {
        // Every thread allocates from the one process heap, as on Windows:
        // glibc would give each of pango's threads an arena of its own,
        // reserving 64 MB of address space apiece.
        mallopt(M_ARENA_MAX, 1);
        pthread_attr_t attr;
        if (pthread_getattr_default_np(&attr) == 0) {
            size_t stack = 0;
            const size_t kThreadStack = 1u << 20;
            if (pthread_attr_getstacksize(&attr, &stack) == 0 && stack > kThreadStack &&
                pthread_attr_setstacksize(&attr, kThreadStack) == 0)
                pthread_setattr_default_np(&attr);
            pthread_attr_destroy(&attr);
        }
        // Without the room, fontconfig crashes, pango's threads cannot start
        // or their work fails and pango waits for it for ever: the set-up is
        // not begun.
        if (!HasRoom(kSetupRoom)) return Failed("the address space has no room for the fonts");
        const std::string thread = ThreadStartFailure();
        if (!thread.empty()) return Failed("no thread can be started", thread);
        g_log_set_handler("GLib", static_cast<GLogLevelFlags>(G_LOG_LEVEL_ERROR | G_LOG_FLAG_FATAL | G_LOG_FLAG_RECURSION),
                          &EndShortOfMemory, nullptr);
        TextLayout& text = TextLayout::Instance();
        if (!text.FontMap() || !text.Context()) return TextSetup::NoFonts;
        // The face names the system asks for, at a screen and a printer size;
        // Japanese, Latin and the simplified Chinese captions the fallback face draws.
        static const wchar_t* const kFaces[] = {L"ＭＳ ゴシック", L"MS Gothic", L"Gothic", L"simsun", L"ＭＳ Ｐゴシック"};
        static const wchar_t kSample[] = L"心電図 ECG 0123 连续 心拍测量";
        for (const wchar_t* face : kFaces) {
            for (LONG height : {-12, 60}) {
                LOGFONTW log = {};
                log.lfHeight = height;
                std::wcsncpy(log.lfFaceName, face, LF_FACESIZE - 1);
                const RealizedFont* font = text.Realize(log);
                PangoLayout* layout = text.CreateLayout(font, kSample, (int)(sizeof kSample / sizeof kSample[0]) - 1);
                if (layout) {
                    TextLayout::AdvanceWidth(layout);
                    g_object_unref(layout);
                }
                if (!FaceDraws(text, font)) return Failed("a face could not be loaded");
            }
        }
        if (!PangoReserve::Instance().Take()) return Failed("no room is left for later text");
        return TextSetup::Ready;
    }();
    return result;
}

const std::string& TextSetupFailure()
{
    return SetupFailure();
}

void SetLaterTextReserve(size_t bytes)
{
    PangoReserve::Instance().SetBytes(bytes);
}

TextLayout& TextLayout::Instance()
{
    // Lives as long as the process: realized fonts are handed out by pointer.
    static TextLayout* instance = new TextLayout;
    return *instance;
}

TextLayout::TextLayout()
{
    const std::string path = ConfigFilePath();
    FcConfig* config = LoadPrivateConfig(path);
    m_fontMap = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    if (!m_fontMap) m_fontMap = pango_cairo_font_map_new();
    if (config && PANGO_IS_FC_FONT_MAP(m_fontMap)) {
        pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(m_fontMap), config);
        m_configFile = path;
    } else {
        std::fprintf(stderr, "morvelance: fontconfig file '%s' not loaded; text uses the system fonts\n",
                     path.c_str());
    }
    if (config) FcConfigDestroy(config);   // the font map keeps its own reference

    m_context = pango_font_map_create_context(m_fontMap);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
    pango_cairo_context_set_font_options(m_context, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(m_context, 96.0);
    pango_context_set_round_glyph_positions(m_context, TRUE);
    pango_context_set_language(m_context, pango_language_from_string("ja"));
    pango_context_set_base_dir(m_context, PANGO_DIRECTION_LTR);
}

PangoFontDescription* TextLayout::Describe(const LOGFONTW& log, int emPixels) const
{
    PangoFontDescription* desc = pango_font_description_new();
    std::string family = FaceNameUtf8(log);
    if (family.empty()) family = (log.lfPitchAndFamily & 3) == VARIABLE_PITCH ? "MS PGothic" : "MS Gothic";
    pango_font_description_set_family(desc, family.c_str());
    const int weight = log.lfWeight <= 0 ? FW_NORMAL : std::min<int>(log.lfWeight, 1000);
    pango_font_description_set_weight(desc, (PangoWeight)std::max(100, weight));
    pango_font_description_set_style(desc, log.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_font_description_set_absolute_size(desc, (double)emPixels * PANGO_SCALE);
    return desc;
}

const RealizedFont* TextLayout::Realize(const LOGFONTW& log)
{
    GdiLock lock = HandleTable::Instance().Lock();
    const std::string key = FontKey(log);
    auto& cache = FontCache();
    auto found = cache.find(key);
    if (found != cache.end()) return found->second.get();

    auto font = std::make_unique<RealizedFont>();
    font->log = log;
    const PangoRoom room;
    PangoFontDescription* probe = Describe(log, (int)kLoadSize);
    PangoFont* face = pango_font_map_load_font(m_fontMap, m_context, probe);
    pango_font_description_free(probe);
    const FaceTables tables = ReadFaceTables(face);

    // The em height: as asked for a negative height; a positive one is the
    // cell, so the em is the part of it the face's em takes.
    const int cell = CellHeight(log);
    double em = cell;
    if (log.lfHeight >= 0 && tables.valid)
        em = (double)cell * tables.upem / (tables.winAscent + tables.winDescent);
    font->emPixels = std::min(kMaxEmPixels, std::max(1, Round(em)));
    font->description = Describe(log, font->emPixels);
    if (face) {
        PangoFontDescription* resolved = pango_font_describe(face);
        const char* family = pango_font_description_get_family(resolved);
        font->family = family ? family : "";
        pango_font_description_free(resolved);
    }
    ComputeMetrics(*font, face);
    if (face) g_object_unref(face);
    const RealizedFont* result = font.get();
    cache.emplace(key, std::move(font));
    return result;
}

void TextLayout::ComputeMetrics(RealizedFont& font, PangoFont* face) const
{
    TEXTMETRICW& tm = font.metrics;
    const LOGFONTW& log = font.log;
    const double em = font.emPixels;
    const FaceTables t = ReadFaceTables(face);
    if (t.valid) {
        const double scale = em / t.upem;
        tm.tmAscent = Round(t.winAscent * scale);
        tm.tmDescent = Round(t.winDescent * scale);
        // The external leading is what the line gap adds beyond the win metrics.
        const int extra = t.lineGap - ((t.winAscent + t.winDescent) - (t.hheaAscent - t.hheaDescent));
        tm.tmExternalLeading = std::max(0, Round(extra * scale));
        tm.tmAveCharWidth = std::max(1, Round(t.avgCharWidth * scale));
        tm.tmMaxCharWidth = std::max(1, Round(t.maxAdvance * scale));
    } else {
        PangoFontMetrics* m = face ? pango_font_get_metrics(face, nullptr) : nullptr;
        const double toEm = em / kLoadSize / PANGO_SCALE;
        tm.tmAscent = m ? Round(pango_font_metrics_get_ascent(m) * toEm) : Round(em * 0.88);
        tm.tmDescent = m ? Round(pango_font_metrics_get_descent(m) * toEm) : Round(em * 0.12);
        tm.tmExternalLeading = 0;
        tm.tmAveCharWidth = m ? std::max(1, Round(pango_font_metrics_get_approximate_char_width(m) * toEm)) : Round(em / 2);
        tm.tmMaxCharWidth = Round(em);
        if (m) pango_font_metrics_unref(m);
    }
    // A positive height is the cell height itself; the descent takes the rounding.
    if (log.lfHeight >= 0) tm.tmDescent = std::max(0, CellHeight(log) - (int)tm.tmAscent);
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max(0, (int)tm.tmHeight - font.emPixels);
    tm.tmWeight = log.lfWeight <= 0 ? FW_NORMAL : log.lfWeight;
    tm.tmOverhang = 0;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFFFC;
    tm.tmDefaultChar = 0x30FB;    // the middle dot a Japanese face substitutes
    tm.tmBreakChar = 0x20;
    tm.tmItalic = log.lfItalic ? 0xFF : 0;
    tm.tmUnderlined = log.lfUnderline ? 0xFF : 0;
    tm.tmStruckOut = log.lfStrikeOut ? 0xFF : 0;
    // TMPF_FIXED_PITCH set means variable pitch; IPAPGothic is the proportional face.
    const bool proportional = font.family.find("PGothic") != std::string::npos;
    tm.tmPitchAndFamily = (BYTE)((log.lfPitchAndFamily & 0xF0) | TMPF_TRUETYPE | TMPF_VECTOR |
                                 (proportional ? TMPF_FIXED_PITCH : 0));
    tm.tmCharSet = log.lfCharSet;
}

PangoLayout* TextLayout::CreateLayout(const RealizedFont* font, const wchar_t* text, int count)
{
    // Laid out here, where pango has room for the fonts it looks for; the
    // callers measure or draw it next, which lays it out anyway.
    const PangoRoom room;
    PangoLayout* layout = pango_layout_new(m_context);
    pango_layout_set_single_paragraph_mode(layout, TRUE);
    if (font) pango_layout_set_font_description(layout, font->description);
    PangoAttrList* attrs = pango_attr_list_new();
    pango_attr_list_insert(attrs, pango_attr_font_features_new("kern 0, liga 0, clig 0, calt 0"));
    if (font && font->log.lfUnderline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (font && font->log.lfStrikeOut) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);
    const std::string utf8 = WideToUtf8(text, count);
    pango_layout_set_text(layout, utf8.c_str(), (int)utf8.size());
    pango_layout_get_extents(layout, nullptr, nullptr);
    return layout;
}

int TextLayout::AdvanceWidth(PangoLayout* layout)
{
    if (!layout) return 0;
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    return logical.width;
}

std::string ResolveFontFamily(const wchar_t* faceName)
{
    LOGFONTW log = {};
    log.lfHeight = -12;
    for (int i = 0; faceName && faceName[i] && i < LF_FACESIZE - 1; ++i) log.lfFaceName[i] = faceName[i];
    return TextLayout::Instance().Realize(log)->family;
}

int CountUnknownGlyphs(const LOGFONTW& log, const wchar_t* text, int count)
{
    GdiLock lock = HandleTable::Instance().Lock();
    TextLayout& layouts = TextLayout::Instance();
    PangoLayout* layout = layouts.CreateLayout(layouts.Realize(log), text, count);
    const int unknown = pango_layout_get_unknown_glyphs_count(layout);
    g_object_unref(layout);
    return unknown;
}

}  // namespace gdi
}  // namespace platform
