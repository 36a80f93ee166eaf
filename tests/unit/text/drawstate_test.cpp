// DrawStateW: the disabled look of text.
#include <gtest/gtest.h>

#include "text_test_util.h"

namespace {

constexpr COLORREF kFace = RGB(212, 208, 200), kHilight = RGB(255, 255, 255), kShadow = RGB(128, 128, 128);

TEST(StateDrawing, DisabledIsOnlyTheTwoSystemColours) {
    tt::TextSurface s(80, 30, kFace);  // an antialiased font
    DrawStateW(s.dc(), nullptr, nullptr, LPARAM(L"Hello"), 0, 10, 5, 0, 0, DST_TEXT | DSS_DISABLED);
    int hilight = 0, shadow = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x) {
            const COLORREF c = s.at(x, y);
            ASSERT_TRUE(c == kFace || c == kHilight || c == kShadow) << x << "," << y;
            hilight += c == kHilight;
            shadow += c == kShadow;
        }
    EXPECT_GT(hilight, 0);
    EXPECT_GT(shadow, hilight);  // the shadow pass lands on top
}

}  // namespace
