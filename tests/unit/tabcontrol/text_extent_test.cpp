// The tab control's text-width cache: what it finds, what it forgets, and the control
// measuring again when its font changes in place.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tab_test_util.h"
#include "tabcontrol/TextExtentCache.h"

using tabcontrol::TextExtentCache;
using tabtest::Strip;

namespace {

TEST(TextExtentCache, ManyNamesThroughEveryGrowth) {
    TextExtentCache cache(50000);
    constexpr int kNames = 20000;
    for (int i = 0; i < kNames; ++i) cache.Add(L"Tab " + std::to_wstring(i), CSize(i, i % 7));
    EXPECT_EQ(cache.GetCount(), size_t(kNames));
    for (int i = 0; i < kNames; ++i) {
        const CSize* size = cache.Find(L"Tab " + std::to_wstring(i));
        ASSERT_NE(size, nullptr) << i;
        ASSERT_EQ(size->cx, i);
        ASSERT_EQ(size->cy, i % 7);
    }
    EXPECT_EQ(cache.Find(L"Tab " + std::to_wstring(kNames)), nullptr);
}

TEST(TextExtentCache, AnotherFontStartsEmpty) {
    LOGFONT small{};
    small.lfHeight = -12;
    LOGFONT large = small;
    large.lfHeight = -20;
    TextExtentCache cache(10);
    cache.SetFont(true, small);
    cache.Add(L"Stocks", CSize(40, 14));
    EXPECT_TRUE(cache.IsForFont(true, small));
    EXPECT_FALSE(cache.IsForFont(true, large));
    EXPECT_FALSE(cache.IsForFont(false, small));
    cache.SetFont(true, large);
    EXPECT_EQ(cache.Find(L"Stocks"), nullptr);
}

}  // namespace
