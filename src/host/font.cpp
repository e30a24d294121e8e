#include "host/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <unordered_map>

#include "host/log_sink.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FONT_LEAK_CHECKED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define FONT_LEAK_CHECKED 1
#endif
#ifdef FONT_LEAK_CHECKED
// Blocks system libraries keep for good, not ours: fontconfig loses a few while it parses its
// configuration files, and SDL keeps two of its audio subsystem's initialisation after
// SDL_QuitSubSystem and SDL_Quit (SDL has no frame pointers, so its allocations cannot be told
// apart any deeper than the library). Every program that plays sound draws text, so this file
// is linked wherever it matters.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libSDL2-2.0.so\n";
}
#endif

namespace {

// Cached glyphs beyond this number are dropped all at once (a few thousand kanji in three
// fonts and two sizes stay well below it).
constexpr size_t kMaxCachedGlyphs = 20000;

struct Face {
    FT_Face face = nullptr;
    // The size and width the face is set to now (0 = not set).
    int set_height = 0;
    int set_width = 0;
};

struct Fonts {
    FT_Library library = nullptr;
    Face mincho;
    Face gothic;
    std::unordered_map<uint64_t, HostGlyph> cache;
    HostGlyph empty;
};

// Finds the file of the first available family of `families` through fontconfig.
std::string FindFontFile(const char* const* families) {
    FcPattern* pattern = FcPatternCreate();
    for (const char* const* f = families; *f; ++f)
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(*f));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string file;
    if (match) {
        FcChar8* family = nullptr;
        FcChar8* path = nullptr;
        bool wanted = false;
        // Accept only one of the families asked for, never fontconfig's last resort.
        for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i)
            for (const char* const* f = families; *f; ++f)
                if (std::string(reinterpret_cast<const char*>(family)) == *f) wanted = true;
        if (wanted && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
            file = reinterpret_cast<const char*>(path);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

// Without its fonts every text of the system stays blank: the player is told once, on stderr
// and in the log, what is missing and how to get it.
void report_missing_fonts(bool mincho, bool gothic) {
    if (mincho && gothic) return;
    char line[512];
    std::snprintf(line, sizeof line,
                  "noma: no font found for %s%s%s (fontconfig has neither the MS nor the IPA "
                  "family): %s text stays blank; install fonts-ipafont-mincho and "
                  "fonts-ipafont-gothic",
                  mincho ? "" : "Mincho", !mincho && !gothic ? " and " : "", gothic ? "" : "Gothic",
                  !mincho && !gothic ? "all" : "some");
    std::fprintf(stderr, "%s\n", line);
    HostLog(line);
}

// The player's families (empty: none chosen), set before the first text.
std::mutex choice_lock;
std::string chosen_mincho, chosen_gothic;

// The family fontconfig gives for `file`'s face, for the player's line.
std::string family_of(FT_Face face) {
    return face && face->family_name ? face->family_name : "?";
}

// The best installed font for Japanese text when neither the chosen nor the system's
// families are there: fontconfig's best match for the language, accepted only when it has
// kana and kanji.
std::string best_japanese_font() {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string file;
    FcCharSet* chars = nullptr;
    FcChar8* path = nullptr;
    if (match && FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) == FcResultMatch &&
        FcCharSetHasChar(chars, 0x3042) && FcCharSetHasChar(chars, 0x65E5) &&
        FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
        file = reinterpret_cast<const char*>(path);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return file;
}

void report(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    HostLog(line.c_str());
}

// Opens the face of one kind: the player's family, else the system's families, else the best
// Japanese font installed. Every step down is said once.
void open_face(Fonts& fonts, Face* face, const char* kind_name, const std::string& chosen,
               const char* const* families) {
    std::string file;
    bool chosen_missing = false;
    if (!chosen.empty()) {
        const char* wanted[] = {chosen.c_str(), nullptr};
        file = FindFontFile(wanted);
        chosen_missing = file.empty();
    }
    bool system_missing = false;
    if (file.empty()) {
        file = FindFontFile(families);
        system_missing = file.empty();
    }
    if (file.empty()) file = best_japanese_font();
    if (!file.empty() && FT_New_Face(fonts.library, file.c_str(), 0, &face->face) != 0)
        face->face = nullptr;
    if (!face->face || !(chosen_missing || system_missing)) return;
    std::string line = "noma: ";
    if (chosen_missing) line += "font family \"" + chosen + "\" not found";
    if (chosen_missing && system_missing) line += " and ";
    if (system_missing) line += std::string("no MS or IPA ") + kind_name + " font";
    line +=
        "; " + std::string(kind_name) + " text uses " + family_of(face->face) + " (" + file + ")";
    report(line);
}

const char* const kMincho[] = {"ＭＳ 明朝", "MS Mincho", "IPAMincho", "IPA明朝", nullptr};
const char* const kGothic[] = {"ＭＳ ゴシック", "MS Gothic", "IPAGothic", "IPAゴシック", nullptr};

void open_faces(Fonts& fonts) {
    std::string mincho, gothic;
    {
        std::lock_guard<std::mutex> hold(choice_lock);
        mincho = chosen_mincho;
        gothic = chosen_gothic;
    }
    open_face(fonts, &fonts.mincho, "Mincho", mincho, kMincho);
    open_face(fonts, &fonts.gothic, "Gothic", gothic, kGothic);
    report_missing_fonts(fonts.mincho.face != nullptr, fonts.gothic.face != nullptr);
}

Fonts the_fonts;
std::once_flag opening;
bool opened_now = false;  // the faces were opened by the last call of GetFonts

Fonts& GetFonts() {
    std::call_once(opening, [] {
        opened_now = true;
        if (FT_Init_FreeType(&the_fonts.library) != 0) return;
        FcInit();
        open_faces(the_fonts);
    });
    return the_fonts;
}

Face& FaceOf(Fonts& fonts, HostFontKind kind) {
    return kind == HostFontKind::kGothicNarrow ? fonts.gothic : fonts.mincho;
}

// The cell height a size asks for: 0 takes a default, a negative size is its magnitude.
int CellHeight(int size) {
    if (size == 0) return 12;
    return std::min(std::abs(size), 2048);
}

// Horizontal pixels per em: a narrowed font has an average (half-width) advance of
// |1 - size / 2| pixels, which is half its em.
int EmWidth(HostFontKind kind, int size) {
    const int height = CellHeight(size);
    if (kind == HostFontKind::kMincho) return height;
    const int average = std::abs(1 - height / 2);
    return average == 0 ? height : 2 * average;
}

bool SetSize(Face& f, int width, int height) {
    if (f.set_width == width && f.set_height == height) return true;
    if (FT_Set_Char_Size(f.face, FT_F26Dot6(width) * 64, FT_F26Dot6(height) * 64, 72, 72) != 0)
        return false;
    f.set_width = width;
    f.set_height = height;
    return true;
}

HostGlyph Render(Face& f, HostFontKind kind, int size, bool italic, uint32_t code) {
    HostGlyph g;
    if (!SetSize(f, EmWidth(kind, size), CellHeight(size))) return g;
    const FT_UInt index = FT_Get_Char_Index(f.face, code);
    if (FT_Load_Glyph(f.face, index, FT_LOAD_NO_BITMAP) != 0) return g;
    FT_GlyphSlot slot = f.face->glyph;
    const bool bold = kind != HostFontKind::kGothicNarrow;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (italic) FT_GlyphSlot_Oblique(slot);
        // Weight 700 from a regular face: one pixel wider strokes, as the platform fakes bold.
        if (bold) FT_Outline_EmboldenXY(&slot->outline, 64, 0);
    }
    g.advance = int((slot->advance.x + 32) >> 6) + (bold ? 1 : 0);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return g;
    const FT_Bitmap& bm = slot->bitmap;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = int(bm.width);
    g.height = int(bm.rows);
    g.coverage.resize(size_t(g.width) * g.height);
    g.row_first.assign(size_t(g.height), 0);
    g.row_end.assign(size_t(g.height), 0);
    for (int row = 0; row < g.height; ++row) {
        const unsigned char* src = bm.buffer + int64_t(row) * bm.pitch;
        int first = g.width, end = 0;
        for (int col = 0; col < g.width; ++col) {
            g.coverage[size_t(row) * g.width + col] = src[col];
            if (src[col]) {
                first = std::min(first, col);
                end = col + 1;
            }
        }
        if (end) {
            g.row_first[size_t(row)] = uint16_t(first);
            g.row_end[size_t(row)] = uint16_t(end);
        }
    }
    return g;
}

}  // namespace

const HostGlyph& HostFontGlyph(HostFontKind kind, int size, bool italic, uint32_t code) {
    Fonts& fonts = GetFonts();
    Face& f = FaceOf(fonts, kind);
    if (!f.face) return fonts.empty;
    const uint64_t key = uint64_t(kind) << 62 | uint64_t(italic) << 61 |
                         uint64_t(uint16_t(CellHeight(size))) << 32 | (code & 0x1FFFFF);
    auto it = fonts.cache.find(key);
    if (it != fonts.cache.end()) return it->second;
    if (fonts.cache.size() >= kMaxCachedGlyphs) fonts.cache.clear();
    return fonts.cache.emplace(key, Render(f, kind, size, italic, code)).first->second;
}

int HostFontAscent(HostFontKind kind, int size) {
    Fonts& fonts = GetFonts();
    const Face& f = FaceOf(fonts, kind);
    const int height = CellHeight(size);
    if (!f.face || f.face->units_per_EM == 0) return height * 7 / 8;
    const int64_t em = f.face->units_per_EM;
    return int((int64_t(height) * f.face->ascender + em / 2) / em);
}

bool HostFontAvailable(HostFontKind kind) {
    return FaceOf(GetFonts(), kind).face != nullptr;
}

void HostChooseFontFamilies(const std::string& mincho, const std::string& gothic) {
    std::lock_guard<std::mutex> hold(choice_lock);
    chosen_mincho = mincho;
    chosen_gothic = gothic;
}

void HostReopenFonts() {
    opened_now = false;
    Fonts& fonts = GetFonts();
    if (!fonts.library || opened_now) return;
    for (Face* f : {&fonts.mincho, &fonts.gothic}) {
        if (f->face) FT_Done_Face(f->face);
        *f = Face{};
    }
    fonts.cache.clear();
    open_faces(fonts);
}

std::string HostFontFamily(HostFontKind kind) {
    const Face& f = FaceOf(GetFonts(), kind);
    return f.face ? family_of(f.face) : "";
}

size_t HostFontCachedGlyphs() {
    return GetFonts().cache.size();
}
