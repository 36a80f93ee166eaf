// GDI primitives against pixman and cairo doing the same operation at the same size:
// copies, nearest-neighbour stretches both ways, colour-keyed copies, solid fills and a
// 10-character line of text.
//
// Index
//   1. Surfaces: one pixel buffer seen by each library
//   2. Blits and fills
//   3. Text
//   4. Registration
#include <benchmark/benchmark.h>
#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include <pixman.h>
#include FT_FREETYPE_H

#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "AllocCounter.h"
#include "BenchCommon.h"
#include "Scenes.h"
#include "win32/runtime_ext.h"

namespace bench {
namespace {

// ---- 1. Surfaces ------------------------------------------------------------------------------------
// A 32-bit top-down DIB section selected into a memory DC, with pixman and cairo views
// of other buffers of the same size and content.
struct Surface {
    int width = 0, height = 0;
    HDC dc = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* bits = nullptr;  // 0x00RRGGBB, stride = width
    std::vector<uint32_t> pixmanBits, cairoBits;
    pixman_image_t* pixman = nullptr;
    cairo_surface_t* cairo = nullptr;

    Surface(int w, int h, bool argb_views = false) : width(w), height(h) {
        BITMAPINFO bi = rt::TopDown32(w, h);
        void* p = nullptr;
        bmp = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<uint32_t*>(p);
        dc = ::CreateCompatibleDC(nullptr);
        old = ::SelectObject(dc, bmp);
        pixmanBits.assign(size_t(w) * size_t(h), 0);
        cairoBits.assign(size_t(w) * size_t(h), 0);
        pixman =
            pixman_image_create_bits(argb_views ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8, w, h, pixmanBits.data(), w * 4);
        cairo = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(cairoBits.data()),
                                                    argb_views ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, w, h, w * 4);
    }
    ~Surface() {
        cairo_surface_destroy(cairo);
        pixman_image_unref(pixman);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        ::DeleteObject(bmp);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // A pattern with a colour key in about a third of the pixels; the views get alpha 0
    // where the key is (premultiplied: all zero), opaque elsewhere.
    void FillPattern(uint32_t key) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const size_t i = size_t(y) * size_t(width) + size_t(x);
                const uint32_t v =
                    (x + y) % 3 == 0 ? key : (uint32_t(x * 7) << 16 | uint32_t(y * 5) << 8 | 0x40u) & 0xFFFFFF;
                bits[i] = v;
                pixmanBits[i] = cairoBits[i] = v == key ? 0u : (v | 0xFF000000u);
            }
        cairo_surface_mark_dirty(cairo);
    }
};

constexpr uint32_t kKey = 0xFF00FF;  // magenta, as 0x00RRGGBB
constexpr COLORREF kKeyColorRef = RGB(255, 0, 255);

struct Size {
    int w, h;
};

struct BlitCase {
    const char* name;
    Size src, dst;
};

// Destination sizes 12x3 and 512x512; the source is the same size, a third, or three/two
// times larger.
const BlitCase kCopies[] = {{"12x3", {12, 3}, {12, 3}}, {"512x512", {512, 512}, {512, 512}}};
const BlitCase kEnlarge[] = {{"12x3", {4, 1}, {12, 3}}, {"512x512", {256, 256}, {512, 512}}};
const BlitCase kShrink[] = {{"12x3", {36, 9}, {12, 3}}, {"512x512", {1024, 1024}, {512, 512}}};

// PixmanBlt: pixman's own copy (pixman_blt), the call a program that only copies would
// make instead of the general compositor.
enum class Lib { Ours, Pixman, PixmanBlt, Cairo };
const char* LibName(Lib lib) {
    switch (lib) {
        case Lib::Ours:
            return "ours";
        case Lib::Pixman:
            return "pixman";
        case Lib::PixmanBlt:
            return "pixman_blt";
        case Lib::Cairo:
            return "cairo";
    }
    return "?";
}

void Loop(benchmark::State& state, const std::function<void()>& body) {
    body();
    AllocationWindow allocations;
    for (auto _ : state) body();
    state.counters["allocs"] = double(allocations.Count()) / double(std::max<int64_t>(1, state.iterations()));
}

// ---- 2. Blits and fills ---------------------------------------------------------------------------
enum class BlitKind { Copy, Stretch, Transparent };

void BM_Blit(benchmark::State& state, BlitKind kind, BlitCase c, Lib lib) {
    const bool keyed = kind == BlitKind::Transparent;
    Surface src(c.src.w, c.src.h, keyed), dst(c.dst.w, c.dst.h);
    src.FillPattern(kKey);
    ::SetStretchBltMode(dst.dc, COLORONCOLOR);  // nearest neighbour, as pixman and cairo are asked for
    const Size s = c.src, d = c.dst;
    switch (lib) {
        case Lib::Ours:
            if (kind == BlitKind::Copy)
                Loop(state, [&] { ::BitBlt(dst.dc, 0, 0, d.w, d.h, src.dc, 0, 0, SRCCOPY); });
            else if (kind == BlitKind::Stretch)
                Loop(state, [&] { ::StretchBlt(dst.dc, 0, 0, d.w, d.h, src.dc, 0, 0, s.w, s.h, SRCCOPY); });
            else
                Loop(state, [&] { ::TransparentBlt(dst.dc, 0, 0, d.w, d.h, src.dc, 0, 0, s.w, s.h, kKeyColorRef); });
            break;
        case Lib::Pixman: {
            pixman_transform_t t;
            pixman_transform_init_scale(&t, pixman_double_to_fixed(double(s.w) / d.w),
                                        pixman_double_to_fixed(double(s.h) / d.h));
            if (s.w != d.w || s.h != d.h) {
                pixman_image_set_transform(src.pixman, &t);
                pixman_image_set_filter(src.pixman, PIXMAN_FILTER_NEAREST, nullptr, 0);
            }
            const pixman_op_t op = keyed ? PIXMAN_OP_OVER : PIXMAN_OP_SRC;
            Loop(state,
                 [&] { pixman_image_composite32(op, src.pixman, nullptr, dst.pixman, 0, 0, 0, 0, 0, 0, d.w, d.h); });
            break;
        }
        case Lib::PixmanBlt: {
            if (kind != BlitKind::Copy || s.w != d.w || s.h != d.h) {
                state.SkipWithError("pixman_blt only copies");
                return;
            }
            uint32_t* from = src.pixmanBits.data();
            uint32_t* to = dst.pixmanBits.data();
            if (!pixman_blt(from, to, s.w, d.w, 32, 32, 0, 0, 0, 0, d.w, d.h)) {
                state.SkipWithError("pixman_blt refused the copy");
                return;
            }
            Loop(state, [&] { pixman_blt(from, to, s.w, d.w, 32, 32, 0, 0, 0, 0, d.w, d.h); });
            break;
        }
        case Lib::Cairo: {
            cairo_t* cr = cairo_create(dst.cairo);
            cairo_pattern_t* pattern = cairo_pattern_create_for_surface(src.cairo);
            cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
            cairo_matrix_t m;
            cairo_matrix_init_scale(&m, double(s.w) / d.w, double(s.h) / d.h);
            cairo_pattern_set_matrix(pattern, &m);
            cairo_set_operator(cr, keyed ? CAIRO_OPERATOR_OVER : CAIRO_OPERATOR_SOURCE);
            Loop(state, [&] {
                cairo_set_source(cr, pattern);
                cairo_rectangle(cr, 0, 0, d.w, d.h);
                cairo_fill(cr);
            });
            cairo_pattern_destroy(pattern);
            cairo_destroy(cr);
            break;
        }
    }
    state.counters["pixels"] = double(d.w) * d.h;
}

void BM_Fill(benchmark::State& state, Size d, Lib lib) {
    Surface dst(d.w, d.h);
    const COLORREF color = RGB(0x1E, 0x22, 0x2A);
    switch (lib) {
        case Lib::Ours: {
            CDC* pDC = CDC::FromHandle(dst.dc);
            Loop(state, [&] { pDC->FillSolidRect(0, 0, d.w, d.h, color); });
            break;
        }
        case Lib::Pixman:
            Loop(state, [&] { pixman_fill(dst.pixmanBits.data(), d.w, 32, 0, 0, d.w, d.h, 0x1E222A); });
            break;
        case Lib::PixmanBlt:
            state.SkipWithError("not a fill");
            return;
        case Lib::Cairo: {
            cairo_t* cr = cairo_create(dst.cairo);
            cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
            Loop(state, [&] {
                cairo_set_source_rgb(cr, 0x1E / 255.0, 0x22 / 255.0, 0x2A / 255.0);
                cairo_rectangle(cr, 0, 0, d.w, d.h);
                cairo_fill(cr);
            });
            cairo_destroy(cr);
            break;
        }
    }
    state.counters["pixels"] = double(d.w) * d.h;
}

// ---- 3. Text ------------------------------------------------------------------------------------------
const wchar_t kName[] = L"Instrument";  // 10 characters
const char kNameUtf8[] = "Instrument";
constexpr int kTextW = 120, kTextH = 24;

// pixman's glyph path: glyphs rendered once by FreeType into a pixman glyph cache,
// each call lays the line out from cached advances and composites the glyphs.
struct PixmanGlyphs {
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    pixman_glyph_cache_t* cache = nullptr;
    std::array<int, 128> advance{};
    std::array<const void*, 128> glyph{};

    PixmanGlyphs() {
        FT_Init_FreeType(&lib);
        FT_New_Face(lib, FontFileFor(kFontFamily).c_str(), 0, &face);
        FT_Set_Pixel_Sizes(face, 0, kFontPixels);
        cache = pixman_glyph_cache_create();
        pixman_glyph_cache_freeze(cache);
        for (const char* p = kNameUtf8; *p; ++p) {
            const int ch = *p;
            if (glyph[size_t(ch)]) continue;
            FT_Load_Char(face, FT_ULong(ch), FT_LOAD_RENDER);
            const FT_GlyphSlot g = face->glyph;
            const int w = int(g->bitmap.width), h = int(g->bitmap.rows);
            pixman_image_t* image = pixman_image_create_bits(PIXMAN_a8, std::max(w, 1), std::max(h, 1), nullptr, 0);
            auto* out = reinterpret_cast<uint8_t*>(pixman_image_get_data(image));
            const int stride = pixman_image_get_stride(image);
            for (int y = 0; y < h; ++y)
                std::memcpy(out + y * stride, g->bitmap.buffer + y * g->bitmap.pitch, size_t(w));
            glyph[size_t(ch)] = pixman_glyph_cache_insert(cache, nullptr, reinterpret_cast<void*>(intptr_t(ch)),
                                                          -g->bitmap_left, g->bitmap_top, image);
            pixman_image_unref(image);
            advance[size_t(ch)] = int(g->advance.x >> 6);
        }
        pixman_glyph_cache_thaw(cache);
    }
    ~PixmanGlyphs() {
        pixman_glyph_cache_destroy(cache);
        FT_Done_Face(face);
        FT_Done_FreeType(lib);
    }
    int Ascent() const { return int(face->size->metrics.ascender >> 6); }
    int Height() const { return int((face->size->metrics.ascender - face->size->metrics.descender) >> 6); }
};

void BM_Text(benchmark::State& state, Lib lib) {
    Surface dst(kTextW, kTextH);
    switch (lib) {
        case Lib::Ours: {
            LOGFONTW lf{};
            lf.lfHeight = -kFontPixels;
            lf.lfWeight = FW_NORMAL;
            std::wcscpy(lf.lfFaceName, L"DejaVu Sans");
            HFONT font = ::CreateFontIndirectW(&lf);
            HGDIOBJ oldFont = ::SelectObject(dst.dc, font);
            ::SetBkMode(dst.dc, TRANSPARENT);
            ::SetTextColor(dst.dc, RGB(0xD8, 0xDE, 0xE9));
            RECT rc{0, 0, kTextW, kTextH};
            Loop(state, [&] { ::DrawTextW(dst.dc, kName, 10, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE); });
            ::SelectObject(dst.dc, oldFont);
            ::DeleteObject(font);
            break;
        }
        case Lib::Pixman: {
            PixmanGlyphs glyphs;
            pixman_color_t ink{0xD8D8, 0xDEDE, 0xE9E9, 0xFFFF};
            pixman_image_t* solid = pixman_image_create_solid_fill(&ink);
            std::array<pixman_glyph_t, 10> run{};
            Loop(state, [&] {
                int width = 0;
                for (const char* p = kNameUtf8; *p; ++p) width += glyphs.advance[size_t(*p)];
                int x = (kTextW - width) / 2;
                const int baseline = kTextH / 2 - glyphs.Height() / 2 + glyphs.Ascent();
                size_t n = 0;
                for (const char* p = kNameUtf8; *p; ++p, ++n) {
                    run[n] = pixman_glyph_t{x, baseline, glyphs.glyph[size_t(*p)]};
                    x += glyphs.advance[size_t(*p)];
                }
                pixman_composite_glyphs(PIXMAN_OP_OVER, solid, dst.pixman, PIXMAN_a8, 0, 0, 0, 0, 0, 0, kTextW, kTextH,
                                        glyphs.cache, int(n), run.data());
            });
            pixman_image_unref(solid);
            break;
        }
        case Lib::Cairo: {
            // The same op the scene pictures use: extents for centring, then the text.
            CairoPicture picture(SIZE{kTextW, kTextH});
            CairoOp op = CairoOp::Of(CairoOp::Text, RECT{0, 0, kTextW, kTextH}, 0xD8DEE9);
            op.text = kNameUtf8;
            picture.ops.push_back(op);
            Loop(state, [&] { picture.Paint(); });
            break;
        }
        case Lib::PixmanBlt:
            state.SkipWithError("not text");
            return;
    }
}

}  // namespace

// ---- 4. Registration ----------------------------------------------------------------------------------
void RegisterPrimitiveBenchmarks() {
    const Lib libs[] = {Lib::Ours, Lib::Pixman, Lib::Cairo};
    struct Family {
        const char* name;
        BlitKind kind;
        const BlitCase* cases;
    };
    const Family families[] = {{"bitblt", BlitKind::Copy, kCopies},
                               {"stretch_enlarge", BlitKind::Stretch, kEnlarge},
                               {"stretch_shrink", BlitKind::Stretch, kShrink},
                               {"transparentblt", BlitKind::Transparent, kCopies}};
    for (const Family& f : families)
        for (int i = 0; i < 2; ++i)
            for (Lib lib : libs)
                benchmark::RegisterBenchmark(
                    (std::string("prim/") + f.name + "/" + f.cases[i].name + "/" + LibName(lib)).c_str(), BM_Blit,
                    f.kind, f.cases[i], lib);
    for (const BlitCase& c : kCopies)
        benchmark::RegisterBenchmark((std::string("prim/bitblt/") + c.name + "/pixman_blt").c_str(), BM_Blit,
                                     BlitKind::Copy, c, Lib::PixmanBlt);
    for (Size d : {Size{12, 3}, Size{512, 512}})
        for (Lib lib : libs)
            benchmark::RegisterBenchmark(
                ("prim/fill/" + std::to_string(d.w) + "x" + std::to_string(d.h) + "/" + LibName(lib)).c_str(), BM_Fill,
                d, lib);
    for (Lib lib : libs)
        benchmark::RegisterBenchmark((std::string("prim/drawtext/10chars/") + LibName(lib)).c_str(), BM_Text, lib);
}

}  // namespace bench
