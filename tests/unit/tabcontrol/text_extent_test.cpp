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

TEST(TextExtentCache, FindsWhatWasAddedAndNothingElse) {
    struct Row {
        const char* name;
        std::vector<std::wstring> added;
        std::vector<std::wstring> absent;
    };
    const Row rows[] = {
        {"empty and one character", {L"", L"A"}, {L"B", L"AA"}},
        {"prefixes of each other", {L"Tab", L"Tab1", L"Tab10", L"Ta"}, {L"T", L"Tab100", L"Tab2"}},
        {"same length, other characters", {L"SH", L"SZ", L"HK"}, {L"ZS", L"SS"}},
        {"beyond Latin-1", {L"\u6caa\u6df1", L"\u6caa\u6df1A"}, {L"\u6caa", L"\u6df1\u6caa"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TextExtentCache cache(100);
        for (size_t i = 0; i < row.added.size(); ++i) cache.Add(row.added[i], CSize(int(i) + 1, 10));
        for (size_t i = 0; i < row.added.size(); ++i) {
            const CSize* size = cache.Find(row.added[i]);
            ASSERT_NE(size, nullptr) << i;
            EXPECT_EQ(size->cx, int(i) + 1) << i;
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

TEST(TextExtentCache, PastTheLimitEverythingIsForgotten) {
    TextExtentCache cache(4);
    for (const wchar_t* text : {L"a", L"b", L"c", L"d"}) cache.Add(text, CSize(1, 1));
    cache.Add(L"e", CSize(5, 5));
    EXPECT_EQ(cache.GetCount(), 1u);
    for (const wchar_t* text : {L"a", L"b", L"c", L"d"}) EXPECT_EQ(cache.Find(text), nullptr) << text;
    ASSERT_NE(cache.Find(L"e"), nullptr);
    EXPECT_EQ(cache.Find(L"e")->cx, 5);
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
