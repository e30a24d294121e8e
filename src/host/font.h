// The three host fonts of text output and their glyph cache. Faces are found through
// fontconfig: "ＭＳ 明朝" and "ＭＳ ゴシック", which resolve to IPA Mincho and IPA Gothic when
// the MS fonts are not installed. FreeType renders anti-aliased glyphs; each glyph is rendered
// once per font, size and character and then served from the cache.
//
// Sizes are cell heights in pixels: the em square of the face fills the cell, as it does with
// the MS fonts, and the baseline lies the face's ascender below the top of the cell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class HostFontKind : uint8_t {
    // Mincho, weight 700 (emboldened by one pixel, one pixel wider advance), natural width.
    kMincho = 0,
    // The same, horizontally narrowed to an average width of |1 - size / 2| pixels.
    kMinchoNarrow = 1,
    // Gothic, weight 400, narrowed like kMinchoNarrow.
    kGothicNarrow = 2,
};

// A rendered glyph: `coverage` has `width` x `height` bytes (0 = none, 255 = full); its top
// left corner lies (left, -top) from the pen position on the baseline.
struct HostGlyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int advance = 0;
    std::vector<uint8_t> coverage;
    // Per row, the first covered column and one past the last (equal when the row is empty).
    std::vector<uint16_t> row_first, row_end;
};

// The glyph of Unicode `code` in a font; a character the face lacks gives its missing-glyph
// shape. Never null; an empty glyph when no face could be found. Valid until the next call.
const HostGlyph& HostFontGlyph(HostFontKind kind, int size, bool italic, uint32_t code);
// Pixels from the top of the cell to the baseline for a font of `size`.
int HostFontAscent(HostFontKind kind, int size);
// False when fontconfig found no face for the kind (text in it is not drawn).
bool HostFontAvailable(HostFontKind kind);
// The player's families for Mincho and Gothic text (any fontconfig family; empty keeps the
// system's choice). Called before the first text: the faces are opened once. A family that is
// not installed falls back to the system's families, and those to the best installed font
// with kana and kanji; each fall-back is said once on stderr and in the log.
void HostChooseFontFamilies(const std::string& mincho, const std::string& gothic);
// Opens the faces again for the families chosen now (tests; no text may be drawn meanwhile).
void HostReopenFonts();
// The family name of the face text of `kind` is drawn with ("" when none).
std::string HostFontFamily(HostFontKind kind);
// Number of glyphs in the cache (the cache empties itself when it grows large).
size_t HostFontCachedGlyphs();
