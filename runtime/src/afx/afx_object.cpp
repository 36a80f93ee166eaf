// CObject run-time class information and the exception classes.
#include <algorithm>
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
// A few size classes of freed blocks, kept for the next object of that size (objects live
// on the user-interface thread, docs/runtime.md). At exit the blocks go back to the heap and later
// deletions skip the pool.
namespace {

constexpr size_t kLargestPooled = 1024;

struct ObjectPool {
    rtmem::SizeClassPool<8, 32> blocks{};  // 32: what one paint frees of a kind, with room
    void* Take(size_t size) {
        if (size > kLargestPooled) return nullptr;
        return blocks.Take(size);
    }
    bool Keep(void* p, size_t size) {
        if (size > kLargestPooled) return false;
        return blocks.Keep(p, size);
    }
} g_objectPool;  // constant-initialised: usable before any constructor runs

struct ObjectPoolTeardown {
    ~ObjectPoolTeardown() {
        g_objectPool.blocks.Release();
    }
} g_objectPoolTeardown;

}  // namespace

void* CObject::operator new(size_t nSize) {
    if (void* p = g_objectPool.Take(nSize)) return p;
    return ::operator new(nSize);
}

void* CObject::operator new(size_t nSize, const std::nothrow_t&) noexcept {
    if (void* p = g_objectPool.Take(nSize)) return p;
    return ::operator new(nSize, std::nothrow);
}

void CObject::operator delete(void* p, size_t nSize) noexcept {
    if (p && !g_objectPool.Keep(p, nSize)) ::operator delete(p);
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
