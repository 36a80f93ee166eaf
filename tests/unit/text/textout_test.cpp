// ExtTextOutW / TextOutW: underline and strike-out, and bad arguments.
#include <gtest/gtest.h>

#include "text_test_util.h"

using tt::kBlack;
using tt::kWhite;

namespace {

// The underline and the strike-out are solid rows spanning exactly the extent, the
// underline in the descent and the strike-out in the ascent. Which row the font's
// metrics round to is not measured.
TEST(TextOutput, UnderlineAndStrikeOutSpanTheExtent) {
    tt::FontSpec spec;
    spec.underline = spec.strikeOut = true;
    tt::TextSurface s(60, 30, kWhite, spec);
    SetBkMode(s.dc(), TRANSPARENT);
    TextOutW(s.dc(), 3, 2, L"..", 2);  // 8 pixels wide; ascent rows 2..12, descent rows 13..15
    std::vector<int> lines;  // rows black exactly over x 3..10
    for (int y = 0; y < 30; ++y) {
        bool line = true;
        for (int x = 0; x < 60; ++x) line = line && (s.at(x, y) == kBlack) == (x >= 3 && x < 11);
        if (line) lines.push_back(y);
    }
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_GT(lines[0], 2);   // strike-out: inside the ascent, below its top row
    EXPECT_LT(lines[0], 13);
    EXPECT_GE(lines[1], 13);  // underline: inside the descent
    EXPECT_LT(lines[1], 16);
}

TEST(TextOutput, RejectsBadArguments) {
    kt::Surface s(10, 10);
    EXPECT_FALSE(TextOutW(nullptr, 0, 0, L"a", 1));
    EXPECT_FALSE(TextOutW(s.dc(), 0, 0, L"a", -1));
    EXPECT_TRUE(TextOutW(s.dc(), 0, 0, L"a", 0));
}

}  // namespace
