// Glyph coverage blending: the one-pixel rule against the plain channel formula, the
// row blender (four pixels at a time where the machine has vectors) against the one-pixel
// rule, and glyphs cut by clips at every offset against the same glyphs drawn whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "../../../runtime/src/text/text_private.h"
#include "text_test_util.h"

namespace {

uint32_t Grey(uint32_t v) {
    return v << 16 | v << 8 | v;
}

// The row blender on every source, destination and coverage value, against the same
// rounded mix (its division is done differently from BlendPixel's).
TEST(CoverageBlend, RowsGiveTheRoundedChannelMixForEveryValue) {
    std::vector<uint32_t> row(256);
    std::vector<uint8_t> cov(256);
    int wrong = 0;
    for (uint32_t a = 0; a < 256; ++a) {
        std::fill(cov.begin(), cov.end(), uint8_t(a));
        for (uint32_t s = 0; s < 256; ++s) {
            for (uint32_t d = 0; d < 256; ++d) row[d] = 0x5A000000u | Grey(d);
            const text::CoverageBox box{row.data(), ptrdiff_t(row.size() * 4), cov.data(), cov.size(), 256, 1};
            text::BlendCoverage(box, Grey(s));
            for (uint32_t d = 0; d < 256; ++d) {
                const uint32_t mix = (s * a + d * (255 - a) + 127) / 255;
                wrong += row[d] != (a == 0 ? 0x5A000000u | Grey(d) : Grey(mix));
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

// Rows of every length the quads and pairs split differently; the pixels around the box
// stay as they were.
TEST(CoverageBlend, RowsMatchTheOnePixelRule) {
    struct Colour {
        const char* name;
        uint32_t src;
    };
    const Colour colours[] = {
        {"black", 0x000000}, {"white", 0xFFFFFF}, {"text blue", 0xD8DEE9}, {"mixed", 0x12F07F}, {"red", 0xFF0000},
    };
    constexpr int kRows = 3;  // the last row is a guard, as are three pixels after each row
    for (const Colour& c : colours) {
        for (int count = 1; count <= 13; ++count) {
            SCOPED_TRACE(testing::Message() << c.name << ", " << count << " pixels");
            const int stride = count + 3;
            std::vector<uint8_t> cov(size_t(count) * kRows);
            for (size_t i = 0; i < cov.size(); ++i) {
                // 0 and 255 next to partial values, and runs of zeros for the skips.
                const size_t k = i * 37 + size_t(count);
                cov[i] = k % 5 == 0 ? 0 : k % 7 == 0 ? 255 : uint8_t(k * 53);
            }
            std::vector<uint32_t> surface(size_t(stride) * kRows);
            for (size_t i = 0; i < surface.size(); ++i) surface[i] = uint32_t(i * 0x9E3779B9u);  // top bytes set
            std::vector<uint32_t> expected = surface;
            for (int y = 0; y < kRows - 1; ++y)
                for (int x = 0; x < count; ++x) {
                    uint32_t& px = expected[size_t(y * stride + x)];
                    px = text::BlendPixel(px, c.src, cov[size_t(y * count + x)]);
                }
            const text::CoverageBox box{surface.data(), ptrdiff_t(stride) * 4, cov.data(), size_t(count), count,
                                        kRows - 1};
            text::BlendCoverage(box, c.src);
            EXPECT_EQ(surface, expected);
        }
    }
}

// A surface whose every pixel differs, so that each blended pixel shows its own result,
// with text drawn on it when text is given.
void Paint(kt::Surface& s, const wchar_t* text = nullptr, int x = 2, UINT options = 0, const RECT* clip = nullptr) {
    for (int y = 0; y < s.height(); ++y)
        for (int px = 0; px < s.width(); ++px) s.set(px, y, RGB(px * 7, y * 19, (px + y) * 5));
    if (!text) return;
    tt::ScopedFont font(s.dc());
    SetBkMode(s.dc(), TRANSPARENT);
    SetTextColor(s.dc(), RGB(20, 40, 200));
    ExtTextOutW(s.dc(), x, 2, options, clip, text, UINT(wcslen(text)), nullptr);
}

// Glyphs cut at every column and row by ETO_CLIPPED, and by the surface's own right
// edge, give exactly the uncut picture inside the cut and the background outside.
TEST(CoverageBlend, ClippedGlyphEdgesMatchTheUncutGlyphs) {
    const wchar_t text[] = L"Wilm&i.";
    constexpr int kW = 48, kH = 20;
    kt::Surface whole(kW, kH), bare(kW, kH);
    Paint(whole, text);
    Paint(bare);
    ASSERT_GT(tt::DiffCount(whole, bare), 0);
    for (bool vertical : {true, false}) {  // cut columns (left/right edges) or rows (top/bottom)
        for (int at = 1; at < (vertical ? kW : kH); ++at) {
            for (bool keepStart : {true, false}) {
                RECT clip{0, 0, kW, kH};
                (vertical ? (keepStart ? clip.right : clip.left) : (keepStart ? clip.bottom : clip.top)) = at;
                SCOPED_TRACE(testing::Message() << (vertical ? "columns" : "rows") << " cut at " << at
                                                << (keepStart ? " keeping start" : ""));
                kt::Surface s(kW, kH);
                Paint(s, text, 2, ETO_CLIPPED, &clip);
                int wrong = 0;
                for (int y = 0; y < kH; ++y)
                    for (int x = 0; x < kW; ++x) {
                        const bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
                        wrong += s.at(x, y) != (inside ? whole.at(x, y) : bare.at(x, y));
                    }
                EXPECT_EQ(wrong, 0);
            }
        }
    }
    for (int x = kW - 12; x < kW; ++x) {  // the surface's right edge: glyphs hanging off it at every offset
        SCOPED_TRACE(testing::Message() << "text at x " << x);
        kt::Surface s(kW, kH), wide(kW + 16, kH);
        Paint(s, L"Wim", x);
        Paint(wide, L"Wim", x);
        int wrong = 0;
        for (int y = 0; y < kH; ++y)
            for (int px = 0; px < kW; ++px) wrong += s.at(px, y) != wide.at(px, y);
        EXPECT_EQ(wrong, 0);
    }
}

}  // namespace
