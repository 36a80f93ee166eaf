// The glyph cache of a FontFace: each character is loaded, hinted and rasterised once
// per face; measuring and drawing afterwards only read the cached advance and mask.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>

#include "text_private.h"

namespace gdi {

FontFace::~FontFace() {
    if (ft) FT_Done_Face(ft);
}

// Latin-1 misses and everything beyond it; the inline GlyphFor handles cached Latin-1.
const FontFace::Glyph& FontFace::GlyphSlow(uint32_t ch) {
    if (ch >= latin_.size()) {
        auto it = others_.find(ch);
        if (it != others_.end()) return *glyphs_[size_t(it->second)];
    }
    return Load(ch);
}

namespace {

// Copies FreeType's bitmap (8-bit grey or 1-bit mono, either pitch sign) into 0..255 coverage.
void CopyCoverage(const FT_Bitmap& bm, FontFace::Glyph* g) {
    g->width = int(bm.width);
    g->height = int(bm.rows);
    g->coverage.assign(size_t(g->width) * size_t(g->height), 0);
    const int pitch = bm.pitch;
    for (int y = 0; y < g->height; ++y) {
        const unsigned char* row =
            pitch >= 0 ? bm.buffer + ptrdiff_t(y) * pitch : bm.buffer + ptrdiff_t(g->height - 1 - y) * -pitch;
        uint8_t* out = &g->coverage[size_t(y) * size_t(g->width)];
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (int x = 0; x < g->width; ++x) out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        } else {
            const unsigned grays = bm.num_grays > 1 ? bm.num_grays - 1 : 255;
            for (int x = 0; x < g->width; ++x) out[x] = uint8_t(grays == 255 ? row[x] : row[x] * 255u / grays);
        }
    }
}

// Cuts the rows and columns of zero coverage off the box, moving its origin with it:
// FreeType's boxes often carry an empty border that the blend would only skip over.
void TrimCoverage(FontFace::Glyph* g) {
    const int w = g->width, h = g->height;
    int x0 = w, x1 = 0, y0 = h, y1 = 0;
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = &g->coverage[size_t(y) * size_t(w)];
        for (int x = 0; x < w; ++x) {
            if (!row[x]) continue;
            x0 = std::min(x0, x);
            x1 = std::max(x1, x + 1);
            y0 = std::min(y0, y);
            y1 = std::max(y1, y + 1);
        }
    }
    if (x0 >= x1) {
        g->width = g->height = 0;
        g->coverage.clear();
        return;
    }
    if (x0 == 0 && y0 == 0 && x1 == w && y1 == h) return;
    std::vector<uint8_t> inked(size_t(x1 - x0) * size_t(y1 - y0));
    for (int y = y0; y < y1; ++y)
        std::copy_n(&g->coverage[size_t(y) * size_t(w) + size_t(x0)], x1 - x0,
                    &inked[size_t(y - y0) * size_t(x1 - x0)]);
    g->coverage = std::move(inked);
    g->left += x0;
    g->top -= y0;
    g->width = x1 - x0;
    g->height = y1 - y0;
}

}  // namespace

const FontFace::Glyph& FontFace::Load(uint32_t ch) {
    auto glyph = std::make_unique<Glyph>();
    const FT_UInt index = FT_Get_Char_Index(ft, FT_ULong(ch));
    // Advances come from the normal hinting in every mode, so that a line lays out the
    // same whether or not it is anti-aliased; mono faces then load again hinted for 1 bit.
    const FT_Error loaded = FT_Load_Glyph(ft, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL);
    glyph->advance = loaded == 0 ? int(std::lround(double(ft->glyph->advance.x) / 64.0)) : 0;
    if (loaded == 0 && (!mono || FT_Load_Glyph(ft, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO) == 0)) {
        FT_GlyphSlot slot = ft->glyph;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            if (synthBold) {
                // One extra pixel of stem, and one of advance, as the platform's fake bold.
                FT_Outline_EmboldenXY(&slot->outline, 64, 0);
                glyph->advance += 1;
            }
            if (synthItalic) {
                FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};  // x += 0.2126 y (12 degrees)
                FT_Outline_Transform(&slot->outline, &shear);
            }
        }
        if (FT_Render_Glyph(slot, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) == 0) {
            text::GetStats().rasterised++;
            glyph->left = slot->bitmap_left;
            glyph->top = slot->bitmap_top;
            CopyCoverage(slot->bitmap, glyph.get());
            TrimCoverage(glyph.get());
        }
    }
    const int32_t slotIndex = int32_t(glyphs_.size());
    glyphs_.push_back(std::move(glyph));
    if (ch < latin_.size())
        latin_[ch] = glyphs_.back().get();
    else
        others_.emplace(ch, slotIndex);
    return *glyphs_.back();
}

}  // namespace gdi
