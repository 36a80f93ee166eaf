// Private interface of the text part: resolved font faces with their glyph cache, and
// the routine that puts one run of glyphs on a surface. The public entry points
// (fonts, extents, ExtTextOut, DrawText, DrawState) are all built on these.
//
// Index
//   1. Faces          a resolved font file at one pixel size, with its metrics
//   2. Glyph cache    advances and coverage masks, rasterised once per face
//   3. Font lookup    the face behind an HFONT or a DC's selected font
//   4. Runs           measuring and drawing one line of glyphs
//   5. Statistics     counters the tests read to prove the caches work
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "../gdi/gdi_private.h"
#include "fill_rects.h"

struct FT_FaceRec_;  // FreeType's face record; only the .cpp files see its definition

namespace gdi {

// ---- 1. Faces ------------------------------------------------------------------------------
// One font file opened at one pixel size with one rendering mode. Shared by every Font
// whose LOGFONT resolves to the same file, size and synthesis flags, and kept in a
// process-wide cache so that fonts made and deleted every paint reuse it.
struct FontFace {
    struct Glyph {
        int advance = 0;  // whole pixels
        int left = 0;     // bitmap origin relative to the pen position; top is above the baseline
        int top = 0;
        int width = 0;
        int height = 0;
        std::vector<uint8_t> coverage;  // width * height, 0..255 (mono faces hold only 0 and 255)
    };

    FontFace() = default;
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    FT_FaceRec_* ft = nullptr;
    std::wstring family;     // the family actually used, as the font names it
    bool mono = false;       // NONANTIALIASED_QUALITY: 1-bit rendering
    bool synthBold = false;  // emboldened outlines (no bold file was found)
    bool synthItalic = false;
    bool fixedPitch = false;
    int ppem = 0;  // em height in pixels

    // TEXTMETRIC values in pixels.
    int ascent = 0;
    int descent = 0;
    int height = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int weight = 400;
    bool italic = false;
    WCHAR firstChar = 0x20, lastChar = 0xFFFC, defaultChar = 0x20, breakChar = 0x20;
    // Decoration lines, in pixels below the baseline (negative: above) and thickness.
    int underlineOffset = 1;
    int underlineThickness = 1;
    int strikeOffset = -3;
    int strikeThickness = 1;

    // ---- 2. Glyph cache ----
    // Latin-1 characters index a flat table; the rest go through a hash map.
    // The coverage box is trimmed to its inked pixels when the glyph is cached: rows and
    // columns of zero coverage draw nothing, so left/top/width/height describe only ink.
    const Glyph& GlyphFor(uint32_t ch) {
        if (ch < latin_.size() && latin_[ch]) return *latin_[ch];
        return GlyphSlow(ch);
    }
    int Advance(uint32_t ch) { return GlyphFor(ch).advance; }

private:
    const Glyph& GlyphSlow(uint32_t ch);
    const Glyph& Load(uint32_t ch);
    std::array<const Glyph*, 256> latin_{};  // null = not loaded yet
    std::unordered_map<uint32_t, int32_t> others_;
    std::vector<std::unique_ptr<Glyph>> glyphs_;  // stable addresses across growth
};

}  // namespace gdi

namespace text {

// ---- 3. Font lookup ------------------------------------------------------------------------
// The font a DC draws with: its selected font, or the default font when none is set.
struct FontRef {
    gdi::FontFace* face = nullptr;
    const LOGFONTW* lf = nullptr;
};
FontRef FontOf(gdi::Font* font);  // resolves and remembers font->face on first use
FontRef FontOf(gdi::DC* dc);
void FillTextMetrics(const FontRef& font, TEXTMETRICW* tm);

// ---- 4. Runs -----------------------------------------------------------------------------
// Sum of whole-pixel advances of text[0..count).
int64_t MeasureRun(gdi::FontFace& face, const wchar_t* text, int count);

struct RunParams {
    int x = 0;  // logical top-left of the text cell (the text alignment is always TA_LEFT | TA_TOP)
    int y = 0;
    UINT options = 0;            // ETO_OPAQUE, ETO_CLIPPED
    const RECT* rect = nullptr;  // logical ETO_ rectangle
    const wchar_t* text = nullptr;
    int count = 0;
    const INT* dx = nullptr;  // per-character advances replacing the font's
    int64_t width = -1;       // the sum of dx when the caller has it; -1: DrawRun adds them up
    COLORREF textColor = 0;
    COLORREF bkColor = 0;
    bool opaqueCell = false;  // fill the text cell with bkColor first (OPAQUE mode)
    int underlineChar = -1;   // index of a character to underline (DrawText prefix)
};
// Draws one run on the DC's surface, clipped to the DC's clip (and the ETO_CLIPPED
// rectangle). Never writes outside the surface.
void DrawRun(gdi::DC* dc, const FontRef& font, const RunParams& p);

// Blends a box of coverage values 0..255 with a text colour (0x00RRGGBB) onto a surface.
// BlendPixel is the rule for one pixel, which BlendCoverage follows bit for bit whatever
// the platform's vector width.
uint32_t BlendPixel(uint32_t dst, uint32_t src, uint32_t coverage);
struct CoverageBox {
    uint32_t* surfaceRow;     // the box's top-left pixel
    ptrdiff_t surfaceStride;  // bytes
    const uint8_t* coverage;
    size_t coverageStride;
    int count;  // pixels per row
    int rows;
};
void BlendCoverage(const CoverageBox& box, uint32_t src);

// Fills a logical rectangle with a colour, clipped to the DC's clip and an optional
// extra logical clip rectangle. Monochrome surfaces get black or white.
void FillLogical(gdi::DC* dc, const RECT& logical_rect, const RECT* logical_clip, COLORREF color);

// Uses the top-left cx x cy pixels of src at a logical point as a mask: every pixel that
// is not white is painted in color (DrawState's disabled look).
struct ImageParams {
    int x = 0;  // logical
    int y = 0;
    int cx = 0;
    int cy = 0;
    COLORREF color = 0;
};
void PaintImage(gdi::DC* dc, const gdi::Bitmap& src, const ImageParams& p);

// ---- 5. Statistics ----------------------------------------------------------------------
struct Stats {
    uint64_t rasterised = 0;   // glyphs rendered by FreeType
    uint64_t facesOpened = 0;  // FT_Face objects created
    uint64_t resolutions = 0;  // LOGFONTs matched through fontconfig
};
Stats& GetStats();

}  // namespace text
