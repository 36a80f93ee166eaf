// Fixed-size block allocation, as MFC gives it to classes of many small records: CPlex
// (a chain of chunks, each holding nMax elements) and CFixedAlloc (blocks of one size
// carved from such chunks, freed blocks kept on a list). A class takes it with
// DECLARE_FIXED_ALLOC in its declaration and IMPLEMENT_FIXED_ALLOC in one source file.
//
// What it is for here: records created one after another sit next to each other in
// memory, whatever else is allocated in between (the records' own strings), so that a
// walk over thousands of them reads memory in order. Under AddressSanitizer every block
// comes from the heap, so that a use after free is still reported.
#pragma once

#include <cstddef>

#include "win32/windef.h"

// ---- CPlex -----------------------------------------------------------------------------------
// A chunk's data starts on a cache line (the header is one line long), so blocks whose
// size is a multiple of a line each start on a line of their own.
struct alignas(64) CPlex {
    CPlex* pNext;  // the chunk made before this one; the data follows the header
    void* data() { return this + 1; }

    // A new chunk of nMax elements of cbElement bytes each, linked in front of head.
    // Throws CMemoryException when the size overflows or the heap is exhausted.
    static CPlex* Create(CPlex*& head, UINT_PTR nMax, UINT_PTR cbElement);
    void FreeDataChain();  // frees this chunk and every one after it
};

// ---- CFixedAllocNoSync, CFixedAlloc ------------------------------------------------------------
class CFixedAllocNoSync {
public:
    explicit CFixedAllocNoSync(UINT nAllocSize, UINT nBlockSize = 64);
    ~CFixedAllocNoSync();
    CFixedAllocNoSync(const CFixedAllocNoSync&) = delete;
    CFixedAllocNoSync& operator=(const CFixedAllocNoSync&) = delete;

    UINT GetAllocSize() const { return m_nAllocSize; }
    void* Alloc();       // throws CMemoryException when the heap is exhausted
    void Free(void* p);  // null is ignored
    void FreeAll();      // every chunk back to the heap: only when no block is in use

protected:
    struct CNode {
        CNode* pNext;
    };
    void ListInAddressOrder();
    void ListChunk(CPlex* pPlex);
    UINT m_nAllocSize;  // block size, rounded up so that every block is pointer-aligned
    UINT m_nBlockSize;  // blocks per chunk
    CPlex* m_pBlocks = nullptr;
    CNode* m_pNodeFree = nullptr;
    UINT_PTR m_nInUse = 0;  // blocks handed out and not freed: FreeAll waits for 0
};

// MFC's synchronised variant. Everything here runs on the user-interface thread and the
// runtime takes no locks (docs/runtime.md), so it is the same allocator under MFC's name.
class CFixedAlloc : public CFixedAllocNoSync {
public:
    using CFixedAllocNoSync::CFixedAllocNoSync;
};

// Class-level operator new/delete from one CFixedAlloc per class. A derived class of
// another size goes to the heap (its blocks would not fit).
#define DECLARE_FIXED_ALLOC(class_name)                                             \
public:                                                                             \
    static void* operator new(size_t size) {                                        \
        return size == sizeof(class_name) ? s_alloc.Alloc() : ::operator new(size); \
    }                                                                               \
    static void* operator new(size_t, void* p) noexcept {                           \
        return p;                                                                   \
    }                                                                               \
    static void operator delete(void* p, size_t size) noexcept {                    \
        if (size == sizeof(class_name))                                             \
            s_alloc.Free(p);                                                        \
        else                                                                        \
            ::operator delete(p);                                                   \
    }                                                                               \
    static void operator delete(void*, void*) noexcept {}                           \
                                                                                    \
protected:                                                                          \
    static CFixedAlloc s_alloc

#define IMPLEMENT_FIXED_ALLOC(class_name, block_size) CFixedAlloc class_name::s_alloc(sizeof(class_name), block_size)
