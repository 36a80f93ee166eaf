// Font resolution, TEXTMETRIC values, extents and the face/glyph caches.
#include <gtest/gtest.h>

#include "../../../runtime/src/text/text_private.h"
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
        {"default", 0, 14, 11, 2},                                                       // a 12-pixel em
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

TEST(FontMetrics, ExtentsWhateverTheQuality) {
    const struct {
        const wchar_t* text;
        int cx;
    } rows[] = {{L"Hello", 29}, {L"Hello, World!", 77}, {L"...", 12}, {L"", 0}};
    for (BYTE quality : {BYTE(DEFAULT_QUALITY), BYTE(NONANTIALIASED_QUALITY)}) {
        tt::FontSpec spec;
        spec.quality = quality;
        tt::TextSurface s(8, 8, tt::kWhite, spec);
        for (const auto& r : rows) {
            SCOPED_TRACE(testing::PrintToString(std::wstring(r.text)));
            SIZE size{-1, -1};
            ASSERT_TRUE(GetTextExtentPoint32W(s.dc(), r.text, int(wcslen(r.text)), &size));
            EXPECT_EQ(size.cx, r.cx);
            EXPECT_EQ(size.cy, 14);
        }
    }
}

TEST(FontMetrics, ExtentExReportsFitAndPartialExtents) {
    tt::TextSurface s(8, 8);
    // "Hello": H 9, e 7, l 3, l 3, o 7 -> 9, 16, 19, 22, 29.
    int fit = -1;
    int dx[5] = {};
    SIZE size{};
    ASSERT_TRUE(GetTextExtentExPointW(s.dc(), L"Hello", 5, 20, &fit, dx, &size));
    EXPECT_EQ(fit, 3);
    const int expected[5] = {9, 16, 19, 22, 29};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(dx[i], expected[i]) << i;
    EXPECT_EQ(size.cx, 29);
    ASSERT_TRUE(GetTextExtentExPointW(s.dc(), L"Hello", 5, 8, &fit, nullptr, nullptr));
    EXPECT_EQ(fit, 0);
}

TEST(FontResolution, FaceNames) {
    const struct {
        const char* name;
        const wchar_t* asked;
        BYTE pitch;
        const wchar_t* reported;
    } rows[] = {
        {"installed", L"DejaVu Sans", DEFAULT_PITCH, L"DejaVu Sans"},
        {"installed, other case", L"dejavu sans mono", DEFAULT_PITCH, L"dejavu sans mono"},
        {"dialog font", L"MS Shell Dlg", DEFAULT_PITCH, L"DejaVu Sans"},
        {"Tahoma", L"Tahoma", DEFAULT_PITCH, L"DejaVu Sans"},
        {"System", L"System", DEFAULT_PITCH, L"DejaVu Sans"},
        {"SimSun", L"\u5b8b\u4f53", DEFAULT_PITCH, L"DejaVu Sans"},
        {"no name", L"", DEFAULT_PITCH, L"DejaVu Sans"},
        {"Courier New", L"Courier New", DEFAULT_PITCH, L"DejaVu Sans Mono"},
        {"fixed pitch asked", L"Nonexistent Face", FIXED_PITCH, L"DejaVu Sans Mono"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        tt::FontSpec spec;
        spec.face = r.asked;
        spec.pitchAndFamily = r.pitch;
        tt::TextSurface s(8, 8, tt::kWhite, spec);
        wchar_t name[LF_FACESIZE] = {};
        const int n = GetTextFaceW(s.dc(), LF_FACESIZE, name);
        EXPECT_EQ(std::wstring(name), std::wstring(r.reported));
        EXPECT_EQ(n, int(wcslen(r.reported)) + 1);
    }
    tt::TextSurface s(8, 8);  // a short buffer gets the start and a terminator
    wchar_t name[5] = {L'x', L'x', L'x', L'x', L'x'};
    EXPECT_EQ(GetTextFaceW(s.dc(), 5, name), 5);
    EXPECT_EQ(std::wstring(name), L"Deja");
    EXPECT_EQ(GetTextFaceW(s.dc(), 0, nullptr), 12);  // "DejaVu Sans" and its terminator
}

TEST(FontResolution, WeightAndSlant) {
    // The bold file ships with the basic DejaVu set, so bold is never synthesised; the
    // oblique file may be missing, in which case the slant is synthesised.
    const struct {
        const char* name;
        int weight;
        bool italic;
        int tmWeight;
    } rows[] = {
        {"regular", FW_NORMAL, false, 400},
        {"bold file", FW_BOLD, false, 700},
        {"semibold rounds to bold", FW_SEMIBOLD, false, 700},
        {"italic", FW_NORMAL, true, 400},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        tt::FontSpec spec;
        spec.weight = r.weight;
        spec.italic = r.italic;
        tt::TextSurface s(8, 8, tt::kWhite, spec);
        const TEXTMETRICW tm = tt::Metrics(s.dc());
        EXPECT_EQ(tm.tmWeight, r.tmWeight);
        EXPECT_EQ(tm.tmItalic != 0, r.italic);
        EXPECT_EQ(tt::Width(s.dc(), L"Hello, World!") > 77, r.tmWeight == 700);  // bold is wider
        const text::FontRef ref = text::FontOf(gdi::Get<gdi::Font>(s.font.font()));
        ASSERT_NE(ref.face, nullptr);
        EXPECT_FALSE(ref.face->synthBold);
    }
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
