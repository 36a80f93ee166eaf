// The tab control's text-width cache: what it finds, what it forgets, and the control
// measuring again when its font changes in place.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tab_test_util.h"
#include "tabcontrol/TextExtentCache.h"

using tabcontrol::TextExtentCache;
using tabtest::Strip;

namespace {

TEST(TextExtentCache, FindsWhatWasAddedAndNothingElse) {
    struct Row {
        const char* name;
        size_t limit;
        std::vector<std::wstring> added;  // the i-th added is (i + 1) wide
        std::vector<std::wstring> found;  // empty: everything added
        std::vector<std::wstring> absent;
    };
    const Row rows[] = {
        {"empty and one character", 100, {L"", L"A"}, {}, {L"B", L"AA"}},
        {"prefixes of each other", 100, {L"Tab", L"Tab1", L"Tab10", L"Ta"}, {}, {L"T", L"Tab100", L"Tab2"}},
        {"same length, other characters", 100, {L"SH", L"SZ", L"HK"}, {}, {L"ZS", L"SS"}},
        {"past the limit everything is forgotten", 4, {L"a", L"b", L"c", L"d", L"e"}, {L"e"}, {L"a", L"b", L"c", L"d"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TextExtentCache cache(row.limit);
        for (size_t i = 0; i < row.added.size(); ++i) cache.Add(row.added[i], CSize(int(i) + 1, 10));
        for (const std::wstring& text : row.found.empty() ? row.added : row.found) {
            const CSize* size = cache.Find(text);
            ASSERT_NE(size, nullptr);
            EXPECT_EQ(size->cx, 1 + int(std::find(row.added.begin(), row.added.end(), text) - row.added.begin()));
        }
        for (const std::wstring& text : row.absent) EXPECT_EQ(cache.Find(text), nullptr);
    }
}

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

// A reskin changes the palette font's contents under the same CFont: widths measured in
// the old font must not be used for the new one.
TEST(TabTextWidths, MeasuredAgainWhenTheFontChangesInPlace) {
    Strip strip;
    ASSERT_NE(strip.tabs->m_pFont, nullptr);
    LOGFONT lf{};
    ASSERT_TRUE(strip.tabs->m_pFont->GetLogFont(&lf));
    const CSize before = TabControlTestAccess::GetCurTextExtent(*strip.tabs, L"Futures");
    EXPECT_EQ(before.cx, tabtest::TextWidth(L"Futures"));

    lf.lfHeight = lf.lfHeight < 0 ? lf.lfHeight * 2 : -24;
    strip.tabs->m_pFont->DeleteObject();
    ASSERT_TRUE(strip.tabs->m_pFont->CreateFontIndirect(&lf));
    const CSize after = TabControlTestAccess::GetCurTextExtent(*strip.tabs, L"Futures");
    EXPECT_GT(after.cx, before.cx);
    EXPECT_GT(after.cy, before.cy);

    EXPECT_EQ(TabControlTestAccess::GetCurTextExtent(*strip.tabs, nullptr), CSize(0, 0));
}

}  // namespace
