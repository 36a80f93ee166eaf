// Tabs by ID over long and changing strips: Add's duplicate check and the by-ID look-ups
// give what a walk of the strip from its first tab gives, however the strip was changed,
// and adding stays linear in the number of tabs.
#include <algorithm>
#include <cstdint>

#include "tab_test_util.h"

namespace {

using tabtest::Strip;

enum Op { kAdd, kInsert, kDelete, kSwap, kHostRemoves };

TEST(TabIds, ByIdAnswersMatchAWalkOfTheStrip) {
    struct Row {
        const char* name;
        std::vector<Op> ops;  // drawn from at random
        int ids;              // IDs 0 .. ids-1
    };
    const Row rows[] = {
        {"duplicates through InsertTabItem, swaps", {kAdd, kInsert, kDelete, kSwap, kSwap}, 20},
        {"the host removes tabs from m_arrItems itself", {kAdd, kInsert, kDelete, kHostRemoves}, 16},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Strip strip;
        CElementTabControl& t = *strip.tabs;
        std::vector<int> ids;  // what the strip must hold, in display order
        auto first = [&ids](int id) {
            const auto it = std::find(ids.begin(), ids.end(), id);
            return it == ids.end() ? -1 : int(it - ids.begin());
        };
        uint32_t seed = 12345;
        auto next = [&seed](int n) {
            seed = seed * 1103515245u + 12345u;
            return int((seed >> 8) % uint32_t(n));
        };
        for (int step = 0; step < 1500; ++step) {
            SCOPED_TRACE(step);
            const Op op = row.ops[size_t(next(int(row.ops.size())))];
            const int id = next(row.ids);
            const int count = int(ids.size());
            if (op == kAdd) {
                const int expected = first(id) >= 0 ? -1 : count;
                ASSERT_EQ(expected, strip.AddTab(id, nullptr));
                if (expected >= 0) ids.push_back(id);
            } else if (op == kInsert) {
                const int at = next(count + 1);
                _TAB_PARAM_INFO_ info;
                info.nID = id;
                t.InsertTabItem(at, &info);
                ids.insert(ids.begin() + at, id);
            } else if (op == kDelete) {
                const int at = first(id);
                ASSERT_EQ(at >= 0 ? 1 : 0, t.DelItem(id));
                if (at >= 0) ids.erase(ids.begin() + at);
            } else if (op == kSwap && count > 0) {
                const int i = next(count), j = next(count);
                ASSERT_EQ(1, t.SwapWithIndex(i, j));
                std::swap(ids[size_t(i)], ids[size_t(j)]);
            } else if (op == kHostRemoves && count > 0) {
                const int at = next(count);
                delete t.m_arrItems[at];
                t.m_arrItems.RemoveAt(at);
                ids.erase(ids.begin() + at);
            }
            ASSERT_EQ(INT_PTR(ids.size()), t.m_arrItems.GetSize());
            for (int probe = 0; probe < row.ids; ++probe) {
                int index = -1;
                const int at = first(probe);
                ASSERT_EQ(at >= 0 ? 1 : 0, t.FindTabID(probe, index)) << "ID " << probe;
                ASSERT_EQ(at, at >= 0 ? index : -1) << "ID " << probe;
            }
        }
    }
}

// Each Add used to walk every tab for a duplicate (and the array grew 1,024 slots at a
// time): quadratic, minutes for this many tabs where linear adding takes seconds. The
// area's time limit (extra.cmake) bounds it.
TEST(TabIds, TwoHundredThousandTabsAdd) {
    Strip strip;
    CElementTabControl& t = *strip.tabs;
    const int kTabs = 200000;
    for (int id = 0; id < kTabs; ++id) ASSERT_EQ(id, strip.AddTab(id * 7, nullptr));
    EXPECT_EQ(-1, strip.AddTab(7 * (kTabs - 1), nullptr));
    EXPECT_EQ(-1, strip.AddTab(0, nullptr));
    EXPECT_EQ(kTabs, strip.AddTab(1, nullptr));
    int index = -1;
    EXPECT_EQ(1, t.FindTabID(7 * (kTabs - 1), index));
    EXPECT_EQ(kTabs - 1, index);
    EXPECT_EQ(1, t.DelItem(0));
    EXPECT_EQ(kTabs, strip.AddTab(0, nullptr));
}

}  // namespace
