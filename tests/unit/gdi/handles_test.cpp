#include <gtest/gtest.h>

#include <memory>

#include "../../../runtime/src/handle_table.h"
#include "win32/runtime_ext.h"

namespace {

// Three slots, generations 1 to 3: the limits are reached in a few steps.
struct TinyLayout {
    static constexpr int kSlotBits = 4;
    static constexpr int kGenerationShift = 4;
    static constexpr uint32_t kMaxGeneration = 3;
    static constexpr uint32_t kMaxSlots = 3;
};

struct Counted {
    explicit Counted(int* alive) : alive_(alive) { ++*alive_; }
    ~Counted() { --*alive_; }
    int* alive_;
};

using Table = rt::HandleTable<Counted, TinyLayout>;
constexpr uint64_t kTag = 0x100;

}  // namespace

TEST(HandleTable, LookupAcceptsOnlyTheLiveValue) {
    int alive = 0;
    Table t;
    const uint64_t first = t.Insert(std::make_unique<Counted>(&alive), kTag);
    ASSERT_EQ(kTag | 1 << 4 | 1, first);
    t.Remove(first);
    const uint64_t reused = t.Insert(std::make_unique<Counted>(&alive), kTag);  // same slot, generation 2
    ASSERT_EQ(kTag | 2 << 4 | 1, reused);
    const struct {
        const char* name;
        uint64_t value;
        bool found;
    } rows[] = {
        {"live value", reused, true},
        {"stale value of the reused slot", first, false},
        {"live value without its tag", reused & ~kTag, false},
        {"live value with another tag", reused ^ 0x200, false},
        {"null", 0, false},
        {"slot never used", kTag | 1 << 4 | 2, false},
        {"slot beyond the bits", kTag | 1 << 4 | 0xF, false},
    };
    for (const auto& row : rows) EXPECT_EQ(row.found, t.Lookup(row.value) != nullptr) << row.name;
    EXPECT_EQ(nullptr, t.Remove(first)) << "a stale value removes nothing";
    t.Remove(reused);
    uint64_t values[3];  // generations 3, then 1 again after the last
    for (uint64_t& v : values) t.Remove(v = t.Insert(std::make_unique<Counted>(&alive)));
    EXPECT_EQ(3u << 4 | 1, values[0]);
    EXPECT_EQ(1u << 4 | 1, values[1]);
    for (int i = 0; i < 3; ++i) ASSERT_NE(0u, t.Insert(std::make_unique<Counted>(&alive)));
    EXPECT_EQ(0u, t.Insert(std::make_unique<Counted>(&alive))) << "a full table refuses, destroying the object";
    EXPECT_EQ(3, alive);
    EXPECT_EQ(3, t.Count());
    t.Clear();  // the table has no destructor: its slots go with Clear
    EXPECT_EQ(0, alive);
    EXPECT_EQ(0, t.Count());
}
