// CPlex and CFixedAlloc: chunks of fixed-size blocks, and a free list over them.
#include <limits>
#include <new>

#include "afx/afx.h"
#include "afx/afxplex.h"
#include "recycle.h"

// ---- CPlex -----------------------------------------------------------------------------------
CPlex* CPlex::Create(CPlex*& head, UINT_PTR nMax, UINT_PTR cbElement) {
    constexpr UINT_PTR kLimit = std::numeric_limits<UINT_PTR>::max() - sizeof(CPlex);
    if (nMax == 0 || cbElement == 0 || cbElement > kLimit / nMax) AfxThrowMemoryException();
    void* p = ::operator new(sizeof(CPlex) + nMax * cbElement, std::align_val_t(alignof(CPlex)), std::nothrow);
    if (!p) AfxThrowMemoryException();
    CPlex* pPlex = static_cast<CPlex*>(p);
    pPlex->pNext = head;
    head = pPlex;
    return pPlex;
}

void CPlex::FreeDataChain() {
    CPlex* p = this;
    while (p) {
        CPlex* pNext = p->pNext;
        ::operator delete(p, std::align_val_t(alignof(CPlex)));
        p = pNext;
    }
}

// ---- CFixedAllocNoSync -------------------------------------------------------------------------
namespace {
constexpr UINT kAlign = alignof(std::max_align_t);  // what the heap would give the class
UINT RoundedBlock(UINT nAllocSize) {
    const UINT n = nAllocSize < sizeof(void*) ? UINT(sizeof(void*)) : nAllocSize;
    return (n + kAlign - 1) / kAlign * kAlign;
}
}  // namespace

CFixedAllocNoSync::CFixedAllocNoSync(UINT nAllocSize, UINT nBlockSize)
    : m_nAllocSize(RoundedBlock(nAllocSize)), m_nBlockSize(nBlockSize == 0 ? 1 : nBlockSize) {}

CFixedAllocNoSync::~CFixedAllocNoSync() {
    FreeAll();  // a block still in use (a leaked record) keeps every chunk: nothing dangles
}

void* CFixedAllocNoSync::Alloc() {
    if (!rtmem::kRecycle) {
        void* p = ::operator new(m_nAllocSize, std::nothrow);
        if (!p) AfxThrowMemoryException();
        ++m_nInUse;
        return p;
    }
    if (!m_pNodeFree) {
        // A new chunk, its blocks listed in address order: records allocated one after
        // another end up one after another.
        ListChunk(CPlex::Create(m_pBlocks, m_nBlockSize, m_nAllocSize));
    }
    CNode* pNode = m_pNodeFree;
    m_pNodeFree = pNode->pNext;
    ++m_nInUse;
    return pNode;
}

void CFixedAllocNoSync::Free(void* p) {
    if (!p) return;
    --m_nInUse;
    if (!rtmem::kRecycle) {
        ::operator delete(p);
        return;
    }
    auto* pNode = static_cast<CNode*>(p);
    pNode->pNext = m_pNodeFree;
    m_pNodeFree = pNode;
    if (m_nInUse == 0) ListInAddressOrder();
}

// With every block free, the list is rebuilt chunk by chunk in address order: records
// freed in any order (a strip torn down) are handed out side by side again, instead of
// in the reverse of the order they were freed.
void CFixedAllocNoSync::ListInAddressOrder() {
    m_pNodeFree = nullptr;
    for (CPlex* pPlex = m_pBlocks; pPlex; pPlex = pPlex->pNext) ListChunk(pPlex);
}

// Puts a chunk's blocks in front of the free list, its first block first.
void CFixedAllocNoSync::ListChunk(CPlex* pPlex) {
    auto* pData = static_cast<BYTE*>(pPlex->data());
    for (UINT i = m_nBlockSize; i-- > 0;) {
        auto* pNode = reinterpret_cast<CNode*>(pData + size_t(i) * m_nAllocSize);
        pNode->pNext = m_pNodeFree;
        m_pNodeFree = pNode;
    }
}

void CFixedAllocNoSync::FreeAll() {
    if (m_nInUse != 0) return;  // MFC frees regardless; a live block would then dangle
    if (m_pBlocks) m_pBlocks->FreeDataChain();
    m_pBlocks = nullptr;
    m_pNodeFree = nullptr;
}
