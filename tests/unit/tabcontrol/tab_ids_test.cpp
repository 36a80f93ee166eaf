// Tabs by ID over long and changing strips: Add's duplicate check and the by-ID look-ups
// give what a walk of the strip from its first tab gives, however the strip was changed,
// and adding stays linear in the number of tabs.
#include <algorithm>
#include <cstdint>

#include "tab_test_util.h"

namespace {

using tabtest::Strip;

// What the strip must hold: the IDs in display order.
struct Model {
    std::vector<int> ids;
    int First(int id) const {
        const auto it = std::find(ids.begin(), ids.end(), id);
        return it == ids.end() ? -1 : int(it - ids.begin());
    }
};

enum Op { kAdd, kInsert, kDelete, kSwap, kHostRemoves, kOpCount };

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
        Model model;
        uint32_t seed = 12345;
        auto next = [&seed](uint32_t n) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 8) % n;
        };
        for (int step = 0; step < 1500; ++step) {
            const Op op = row.ops[next(uint32_t(row.ops.size()))];
            const int id = int(next(uint32_t(row.ids)));
            const int count = int(model.ids.size());
            switch (op) {
                case kAdd: {
                    const int expected = model.First(id) >= 0 ? -1 : count;
                    ASSERT_EQ(expected, strip.AddTab(id, nullptr)) << "step " << step;
                    if (expected >= 0) model.ids.push_back(id);
                    break;
                }
                case kInsert: {
                    const int at = int(next(uint32_t(count + 1)));
                    _TAB_PARAM_INFO_ info;
                    info.nID = id;
                    t.InsertTabItem(at, &info);
                    model.ids.insert(model.ids.begin() + at, id);
                    break;
                }
                case kDelete: {
                    const int first = model.First(id);
                    ASSERT_EQ(first >= 0 ? 1 : 0, t.DelItem(id)) << "step " << step;
                    if (first >= 0) model.ids.erase(model.ids.begin() + first);
                    break;
                }
                case kSwap: {
                    if (count == 0) break;
                    const int i = int(next(uint32_t(count))), j = int(next(uint32_t(count)));
                    ASSERT_EQ(1, t.SwapWithIndex(i, j));
                    std::swap(model.ids[size_t(i)], model.ids[size_t(j)]);
                    break;
                }
                case kHostRemoves: {
                    if (count == 0) break;
                    const int at = int(next(uint32_t(count)));
                    delete t.m_arrItems[at];
                    t.m_arrItems.RemoveAt(at);
                    model.ids.erase(model.ids.begin() + at);
                    break;
                }
                default:
                    break;
            }
            ASSERT_EQ(INT_PTR(model.ids.size()), t.m_arrItems.GetSize());
            for (int probe = 0; probe < row.ids; ++probe) {
                int index = -1;
                const int found = t.FindTabID(probe, index);
                ASSERT_EQ(model.First(probe) >= 0 ? 1 : 0, found) << "step " << step << ", ID " << probe;
                if (found) {
                    ASSERT_EQ(model.First(probe), index) << "step " << step << ", ID " << probe;
                }
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
