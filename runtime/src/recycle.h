// Memory the runtime keeps for reuse: object blocks, bitmap pixel storage, SaveDC stacks
// and handle-map nodes, so that what every paint makes and frees stops reaching the heap
// once warm. Under AddressSanitizer nothing is kept, so that a use after free still
// reaches freed memory and is reported.
#pragma once

#include <cstddef>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define KELRT_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KELRT_ADDRESS_SANITIZER 1
#endif
#endif

namespace rtmem {

#ifdef KELRT_ADDRESS_SANITIZER
constexpr bool kRecycle = false;
#else
constexpr bool kRecycle = true;
#endif

// Freed blocks kept by exact size: kClasses sizes (the first ones seen), at most
// kPerClass blocks of each. Plain data: zero before any static constructor runs. Not
// locked; a caller shared between threads locks around it.
template <int kClasses, int kPerClass>
struct SizeClassPool {
    struct Block {
        Block* next;
    };
    struct Class {
        size_t size;  // 0: unused
        Block* head;
        int count;
    };
    Class classes[kClasses];
    bool closed;  // after Release: nothing is kept any more

    // A kept block of exactly this size, or null.
    void* Take(size_t size) {
        for (Class& c : classes) {
            if (c.size == size && c.head) {
                Block* b = c.head;
                c.head = b->next;
                --c.count;
                return b;
            }
        }
        return nullptr;
    }
    // Keeps the block; false when it must go back to the heap instead.
    bool Keep(void* p, size_t size) {
        if (!kRecycle || closed || size < sizeof(Block)) return false;
        for (Class& c : classes) {
            if (c.size == 0) c.size = size;
            if (c.size != size) continue;
            if (c.count >= kPerClass) return false;
            c.head = new (p) Block{c.head};
            ++c.count;
            return true;
        }
        return false;
    }
    // Gives every kept block back to the heap and keeps nothing from now on (exit).
    void Release() {
        closed = true;
        for (Class& c : classes) {
            while (Block* b = c.head) {
                c.head = b->next;
                ::operator delete(b);
            }
            c.count = 0;
        }
    }
};

}  // namespace rtmem
