// The runtime's font matching: which installed face answers a name, a pitch, a weight.
#include <gtest/gtest.h>

#include "../../../runtime/src/text/text_private.h"
#include "text_test_util.h"

namespace {

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

}  // namespace
