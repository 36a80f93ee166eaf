// CObject run-time class information and the exception classes.
#include <algorithm>
#include <atomic>
#include <cwchar>

#include "../recycle.h"
#include "afx/afx.h"

// ---- run-time classes ---------------------------------------------------------------------
const CRuntimeClass CObject::classCObject = {"CObject", int(sizeof(CObject)), 0xFFFF, nullptr, nullptr};

CRuntimeClass* CObject::GetRuntimeClass() const {
    return RUNTIME_CLASS(CObject);
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    if (!pBaseClass) return FALSE;
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass) {
        if (c == pBaseClass) return TRUE;
    }
    return FALSE;
}

// ---- object memory ---------------------------------------------------------------------------
// A few size classes of freed blocks, kept for the next object of that size. Plain data,
// usable before any static constructor; a flag keeps it safe from any thread. At exit the
// blocks go back to the heap and later deletions skip the pool.
namespace {

struct FreeBlock {
    FreeBlock* next;
};
struct SizeClass {
    size_t size;  // 0: unused
    FreeBlock* head;
    int count;
};
constexpr int kSizeClasses = 8;
constexpr int kBlocksPerClass = 32;  // what one paint frees of a kind, with room
constexpr size_t kLargestPooled = 1024;

struct ObjectPool {
    SizeClass classes[kSizeClasses]{};
    std::atomic_flag busy = ATOMIC_FLAG_INIT;
    bool closed = false;

    void Lock() {
        while (busy.test_and_set(std::memory_order_acquire)) {
        }
    }
    void Unlock() { busy.clear(std::memory_order_release); }
    void* Take(size_t size) {
        void* p = nullptr;
        Lock();
        for (SizeClass& c : classes) {
            if (c.size == size && c.head) {
                p = c.head;
                c.head = c.head->next;
                --c.count;
                break;
            }
        }
        Unlock();
        return p;
    }
    bool Keep(void* p, size_t size) {
        bool kept = false;
        Lock();
        if (!closed) {
            for (SizeClass& c : classes) {
                if (c.size == 0) c.size = size;
                if (c.size != size) continue;
                if (c.count < kBlocksPerClass) {
                    c.head = new (p) FreeBlock{c.head};
                    ++c.count;
                    kept = true;
                }
                break;
            }
        }
        Unlock();
        return kept;
    }
} g_objectPool;  // constant-initialised: usable before any constructor runs

struct ObjectPoolTeardown {
    ~ObjectPoolTeardown() {
        g_objectPool.Lock();
        g_objectPool.closed = true;
        for (SizeClass& c : g_objectPool.classes) {
            while (FreeBlock* b = c.head) {
                c.head = b->next;
                ::operator delete(b);
            }
            c.count = 0;
        }
        g_objectPool.Unlock();
    }
} g_objectPoolTeardown;

}  // namespace

void* CObject::operator new(size_t nSize) {
    if (nSize <= kLargestPooled)
        if (void* p = g_objectPool.Take(nSize)) return p;
    return ::operator new(nSize);
}

void* CObject::operator new(size_t nSize, const std::nothrow_t&) noexcept {
    if (nSize <= kLargestPooled)
        if (void* p = g_objectPool.Take(nSize)) return p;
    return ::operator new(nSize, std::nothrow);
}

void CObject::operator delete(void* p, size_t nSize) noexcept {
    if (!p) return;
    if (rtmem::kRecycle && nSize <= kLargestPooled && g_objectPool.Keep(p, nSize)) return;
    ::operator delete(p);
}

void CObject::operator delete(void* p, const std::nothrow_t&) noexcept {
    ::operator delete(p);  // never pooled: its size is not known here
}

// ---- exceptions ------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)

void CException::Delete() {
    if (m_bAutoDelete) delete this;
}

BOOL CException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
    if (pnHelpContext) *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0) return FALSE;
    const LPCWSTR msg = Message();
    const size_t n = std::min(wcslen(msg), size_t(nMaxError) - 1);  // truncates like MFC
    wmemcpy(lpszError, msg, n);
    lpszError[n] = L'\0';
    return TRUE;
}

void AfxThrowInvalidArgException() {
    throw new CInvalidArgException();
}

void AfxThrowMemoryException() {
    // Allocating the exception could fail too: use the thread's preallocated one.
    static thread_local CMemoryException out_of_memory(FALSE);
    throw &out_of_memory;
}

void AfxThrowNotSupportedException() {
    throw new CNotSupportedException();
}

void AfxThrowResourceException() {
    throw new CResourceException();
}
