// CPlex and CFixedAlloc: freed blocks come back in address order; chunk sizes that
// overflow raise a memory exception.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "platform.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPooled = false;  // the sanitizer build takes every block from the heap
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif
#else
constexpr bool kPooled = true;
#endif

// Once every block is free again, whatever the order they were freed in, new blocks
// come out side by side as from fresh chunks.
TEST(CFixedAlloc, AllFreedBlocksComeBackInAddressOrder) {
    if (!kPooled) GTEST_SKIP() << "blocks come from the heap in the sanitizer build";
    CFixedAllocNoSync alloc(48, 8);
    const UINT stride = alloc.GetAllocSize();
    std::vector<BYTE*> blocks;
    for (int i = 0; i < 24; ++i) blocks.push_back(static_cast<BYTE*>(alloc.Alloc()));  // three chunks
    const std::set<BYTE*> before(blocks.begin(), blocks.end());
    for (size_t i = 0; i < blocks.size(); ++i) alloc.Free(blocks[(i * 7) % blocks.size()]);  // scrambled
    std::vector<BYTE*> again;
    for (int i = 0; i < 24; ++i) again.push_back(static_cast<BYTE*>(alloc.Alloc()));
    EXPECT_EQ(std::set<BYTE*>(again.begin(), again.end()), before) << "the same blocks, no new chunk";
    for (size_t i = 1; i < again.size(); ++i) {
        if (i % 8 == 0) continue;  // the next chunk
        EXPECT_EQ(again[i] - again[i - 1], ptrdiff_t(stride)) << i;
    }
    for (BYTE* p : again) alloc.Free(p);
}

TEST(CPlex, ChunkSizesThatOverflowRaiseAMemoryException) {
    const struct {
        const char* name;
        UINT_PTR nMax, cbElement;
    } rows[] = {
        {"count times size overflows", UINT_PTR(1) << 40, UINT_PTR(1) << 40},
        {"header plus data overflows", 1, ~UINT_PTR(0) - 4},
        {"no element", 0, 16},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CPlex* head = nullptr;
        bool raised = false;
        try {
            CPlex::Create(head, row.nMax, row.cbElement);
        } catch (CMemoryException* e) {
            raised = true;
            e->Delete();
        }
        EXPECT_TRUE(raised);
        EXPECT_EQ(head, nullptr);
    }
    CPlex* head = nullptr;
    CPlex* first = CPlex::Create(head, 4, 8);
    CPlex* second = CPlex::Create(head, 4, 8);
    EXPECT_EQ(head, second);
    EXPECT_EQ(second->pNext, first);
    std::memset(second->data(), 1, 32);
    head->FreeDataChain();
}

// A class with fixed allocation, and a larger class derived from it that must not be
// squeezed into the base's blocks.
struct CRecord {
    DECLARE_FIXED_ALLOC(CRecord);

public:
    char bytes[48];
};
IMPLEMENT_FIXED_ALLOC(CRecord, 8);

}  // namespace
