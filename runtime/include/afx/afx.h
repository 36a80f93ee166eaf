// The MFC core: CObject with run-time class information, the exception classes
// (thrown by pointer, as MFC throws them), diagnostics macros and POSITION.
//
// Index
//   1. Declaration decorations and diagnostics macros
//   2. CRuntimeClass, CObject and the DECLARE_/IMPLEMENT_ macros
//   3. Exceptions
//   4. POSITION
#pragma once

#include <cassert>
#include <cstddef>
#include <new>

#include "afx/afxstr.h"
#include "afx/afxtypes.h"
#include "win32/windef.h"
#include "win32/wingdi.h"
#include "win32/winuser.h"

// ---- 1. Declaration decorations and diagnostics macros ---------------------------------
#define afx_msg
#define AFX_EXT_CLASS
#define AFX_CLASS_EXPORT
#define AFX_CLASS_IMPORT
#define AFX_API_EXPORT
#define AFX_EXT_API
#define AFXAPI
#ifndef PASCAL  // the system headers give it a calling convention
#define PASCAL
#endif
#define AFX_INLINE inline

// ASSERT checks only in debug builds (no NDEBUG); VERIFY always evaluates its argument.
#ifndef NDEBUG
#define ASSERT(f) assert(f)
#define VERIFY(f) assert(f)
#define ASSERT_VALID(pOb) AfxAssertValidObject(pOb)
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define ASSERT_VALID(pOb) ((void)0)
#endif
#define ASSERT_KINDOF(class_name, object) ASSERT((object)->IsKindOf(RUNTIME_CLASS(class_name)))
#define ASSERT_POINTER(p, type) ASSERT((p) != nullptr)
// Trace output has nowhere to go on this platform; the arguments are not evaluated.
#define TRACE(...) ((void)0)
#define TRACE0(sz) ((void)0)
#define TRACE1(sz, p1) ((void)0)
#define TRACE2(sz, p1, p2) ((void)0)
#define TRACE3(sz, p1, p2, p3) ((void)0)
#define DEBUG_NEW new

// Windows can probe a range of memory; here only a null pointer is known to be bad.
inline BOOL AfxIsValidAddress(const void* p, UINT_PTR nBytes, BOOL bReadWrite = TRUE) {
    (void)nBytes;
    (void)bReadWrite;
    return p != nullptr;
}
inline BOOL AfxIsValidString(LPCWSTR psz, int nLength = -1) {
    (void)nLength;
    return psz != nullptr;
}

// ---- 2. CRuntimeClass, CObject and the DECLARE_/IMPLEMENT_ macros ---------------------------
class CObject;

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                   // 0xFFFF: not serializable
    CObject* (*m_pfnCreateObject)();  // null unless DECLARE_DYNCREATE
    CRuntimeClass* m_pBaseClass;      // null for CObject

    CObject* CreateObject() const;                              // null when the class is not dynamically creatable
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;  // TRUE for the class itself
};

#define RUNTIME_CLASS(class_name) (const_cast<CRuntimeClass*>(&class_name::class##class_name))

#define DECLARE_DYNAMIC(class_name)               \
public:                                           \
    static const CRuntimeClass class##class_name; \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, pfnNew)                                              \
    const CRuntimeClass class_name::class##class_name = {#class_name, int(sizeof(class class_name)), 0xFFFF, pfnNew, \
                                                         RUNTIME_CLASS(base_class_name)};                            \
    CRuntimeClass* class_name::GetRuntimeClass() const {                                                             \
        return RUNTIME_CLASS(class_name);                                                                            \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
    CObject* class_name::CreateObject() {                \
        return new class_name;                           \
    }                                                    \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, class_name::CreateObject)

class CObject {
public:
    static const CRuntimeClass classCObject;
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;

    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }
    virtual void AssertValid() const {}

    // MFC objects have their own allocation: freed blocks are kept by size for the next
    // object, so wrappers made and deleted on every paint (a memory DC, a font copy)
    // stop reaching the heap once warm. Arrays use the global operators.
    static void* operator new(size_t nSize);
    static void* operator new(size_t nSize, const std::nothrow_t&) noexcept;
    static void* operator new(size_t, void* pWhere) noexcept { return pWhere; }
    static void operator delete(void* p, size_t nSize) noexcept;
    static void operator delete(void* p, const std::nothrow_t&) noexcept;  // a constructor threw after nothrow new
    static void operator delete(void*, void*) noexcept {}

protected:
    CObject() = default;

public:
    // MFC objects are not copyable unless a class says how.
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

inline void AfxAssertValidObject(const CObject* pOb) {
    assert(pOb != nullptr);
    if (pOb) pOb->AssertValid();
}

// ---- 3. Exceptions ---------------------------------------------------------------------------
// Thrown by pointer: catch (CInvalidArgException* e) { ...; e->Delete(); }.
class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
    // Frees a heap exception; does nothing for a preallocated one.
    void Delete();
    virtual BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const;

protected:
    virtual LPCWSTR Message() const { return L"An unknown error has occurred."; }
    BOOL m_bAutoDelete;
};

class CSimpleException : public CException {
    DECLARE_DYNAMIC(CSimpleException)
public:
    explicit CSimpleException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
};

class CInvalidArgException : public CSimpleException {
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    explicit CInvalidArgException(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete) {}

protected:
    LPCWSTR Message() const override { return L"Invalid argument."; }
};

class CMemoryException : public CSimpleException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    explicit CMemoryException(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete) {}

protected:
    LPCWSTR Message() const override { return L"Out of memory."; }
};

class CNotSupportedException : public CSimpleException {
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    explicit CNotSupportedException(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete) {}

protected:
    LPCWSTR Message() const override { return L"An unsupported operation was attempted."; }
};

class CResourceException : public CSimpleException {
    DECLARE_DYNAMIC(CResourceException)
public:
    explicit CResourceException(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete) {}

protected:
    LPCWSTR Message() const override { return L"A required resource was unavailable."; }
};

// Each throws a new heap exception (Delete frees it), except the memory exception,
// which is a preallocated object of the thread since memory has just run out.
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowResourceException();

// ---- 4. POSITION -------------------------------------------------------------------------------
// An opaque iteration cursor of the MFC collections.
struct AfxPositionTag;
typedef AfxPositionTag* POSITION;
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(static_cast<INT_PTR>(-1)))
