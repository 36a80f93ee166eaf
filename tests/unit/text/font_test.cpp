// TEXTMETRIC heights of the test face, and CreateFontIndirect.
#include <gtest/gtest.h>

#include "text_test_util.h"

namespace {

TEST(FontMetrics, HeightRequestsFollowTheWindowsFormulas) {
    // DejaVu Sans: usWinAscent 1901 + usWinDescent 483 over a 2048-unit em.
    const struct {
        const char* name;
        int lfHeight;
        int tmHeight, ascent, internalLeading;
    } rows[] = {
        {"em 12", -12, 14, 11, 2}, {"cell 14", 14, 14, 11, 2}, {"em 24", -24, 28, 22, 4},  // 22.28 + 5.66 -> 22 + 6
        {"default is a 16-pixel cell", 0, 16, 13, 2},
        {"cell 28", 28, 28, 22, 4},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        tt::FontSpec spec;
        spec.height = r.lfHeight;
        tt::TextSurface s(8, 8, tt::kWhite, spec);
        const TEXTMETRICW tm = tt::Metrics(s.dc());
        EXPECT_EQ(tm.tmHeight, r.tmHeight);
        EXPECT_EQ(tm.tmAscent, r.ascent);
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
        EXPECT_EQ(tm.tmInternalLeading, r.internalLeading);
        EXPECT_EQ(tm.tmExternalLeading, 0);
    }
    tt::TextSurface s(8, 8);
    const TEXTMETRICW tm = tt::Metrics(s.dc());
    EXPECT_EQ(tm.tmAveCharWidth, 6);
    EXPECT_EQ(tm.tmWeight, FW_NORMAL);
    EXPECT_EQ(tm.tmItalic, 0);
}

TEST(FontCreation, RejectsNullAndCopiesTheLogFont) {
    EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
    LOGFONTW lf{};
    lf.lfHeight = -13;
    lf.lfWeight = FW_BOLD;
    lf.lfUnderline = 1;
    const HFONT f = CreateFontIndirectW(&lf);
    ASSERT_NE(f, nullptr);
    lf.lfHeight = -40;  // the font keeps its own copy
    kt::Surface s(8, 8);
    HGDIOBJ old = SelectObject(s.dc(), f);
    const TEXTMETRICW tm = tt::Metrics(s.dc());
    EXPECT_EQ(tm.tmHeight, 15);  // 13-pixel em: 12.07 + 3.07
    EXPECT_NE(tm.tmUnderlined, 0);
    SelectObject(s.dc(), old);
    DeleteObject(f);
}

}  // namespace
