// CPlex and CFixedAlloc: blocks never shared by two live objects, kept for reuse, laid
// out in allocation order, and a class's operator new/delete from DECLARE_FIXED_ALLOC.
#include <gtest/gtest.h>

#include <algorithm>
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

// Every live block filled with its own byte; a block handed out twice shows up here.
struct LiveBlocks {
    size_t size;
    std::vector<std::pair<BYTE*, BYTE>> blocks;
    void Add(void* p, BYTE mark) {
        std::memset(p, mark, size);
        blocks.emplace_back(static_cast<BYTE*>(p), mark);
    }
    bool Intact() const {
        for (const auto& [p, mark] : blocks)
            if (std::count(p, p + size, mark) != ptrdiff_t(size)) return false;
        return true;
    }
};

TEST(CFixedAlloc, BlocksStayApartThroughFreeAndReuse) {
    const struct {
        const char* name;
        UINT allocSize, blockSize;
    } rows[] = {{"tiny blocks, rounded up to a pointer", 1, 4}, {"odd size, one block a chunk", 37, 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CFixedAllocNoSync alloc(row.allocSize, row.blockSize);
        LiveBlocks live{row.allocSize, {}};  // a block handed out twice loses its first mark
        for (int i = 0; i < 100; ++i) {
            void* p = alloc.Alloc();
            EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % alignof(std::max_align_t), 0u);
            live.Add(p, BYTE(i));
        }
        EXPECT_TRUE(live.Intact());
        // Free every other block, then take as many again: the freed ones come back,
        // and the blocks still held keep their contents.
        std::vector<std::pair<BYTE*, BYTE>> kept;
        std::set<void*> freed;
        for (size_t i = 0; i < live.blocks.size(); ++i) {
            if (i % 2) {
                alloc.Free(live.blocks[i].first);
                freed.insert(live.blocks[i].first);
            } else {
                kept.push_back(live.blocks[i]);
            }
        }
        live.blocks = kept;
        for (int i = 0; i < 50; ++i) {
            void* p = alloc.Alloc();
            EXPECT_TRUE(!kPooled || freed.count(p)) << "block " << i << " is not one of those freed";
            live.Add(p, BYTE(200 + i % 50));
        }
        EXPECT_TRUE(live.Intact());
        for (const auto& b : live.blocks) alloc.Free(b.first);
        alloc.Free(nullptr);  // ignored
    }
}

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

TEST(CFixedAlloc, FreeAllKeepsChunksWhileABlockIsInUse) {
    CFixedAllocNoSync alloc(32, 4);
    void* held = alloc.Alloc();
    void* other = alloc.Alloc();
    alloc.Free(other);
    alloc.FreeAll();              // a block is still held: nothing may go
    std::memset(held, 0x5A, 32);  // a freed chunk here would be a use after free
    EXPECT_EQ(static_cast<BYTE*>(held)[31], 0x5A);
    void* reused = alloc.Alloc();
    EXPECT_TRUE(!kPooled || reused == other) << "the free list was dropped with a block in use";
    alloc.Free(reused);
    alloc.Free(held);
    alloc.FreeAll();
    void* again = alloc.Alloc();  // a fresh chunk after everything went
    EXPECT_NE(again, nullptr);
    alloc.Free(again);
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

struct CLargerRecord : CRecord {
    char more[200];
};

TEST(DeclareFixedAlloc, ClassesOfAnotherSizeGoToTheHeap) {
    std::vector<CRecord*> records;
    std::vector<CLargerRecord*> larger;
    for (int i = 0; i < 6; ++i) {
        records.push_back(new CRecord);
        std::memset(records.back()->bytes, 'a' + i, sizeof records.back()->bytes);
        larger.push_back(new CLargerRecord);
        std::memset(larger.back(), 'z', sizeof(CLargerRecord));  // would overrun a 48-byte block
    }
    for (int i = 0; i < 6; ++i)
        for (char c : records[size_t(i)]->bytes) ASSERT_EQ(c, 'a' + i) << "record " << i << " was overwritten";
    for (CRecord* p : records) delete p;
    for (CLargerRecord* p : larger) delete p;
}

}  // namespace
