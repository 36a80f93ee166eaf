// COM basics: GUIDs, IUnknown and the interlocked counters used for reference counts.
#pragma once

#ifdef _WIN32
#include "system.h"
#else

#include <atomic>
#include <cstring>

#include "windef.h"

typedef struct _GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
} GUID;
typedef GUID IID;
typedef GUID CLSID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

inline bool IsEqualGUID(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool operator==(const GUID& a, const GUID& b) { return IsEqualGUID(a, b); }
inline bool operator!=(const GUID& a, const GUID& b) { return !IsEqualGUID(a, b); }
#define IsEqualIID IsEqualGUID

// 00000000-0000-0000-C000-000000000046
inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

#define STDMETHODCALLTYPE
#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE
#define PURE = 0

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
    // No virtual destructor here, as in COM: implementations delete themselves.
};

// Interlocked operations on a LONG, returning the new value.
inline LONG InterlockedIncrement(volatile LONG* p) {
    return __atomic_add_fetch(const_cast<LONG*>(p), 1, __ATOMIC_SEQ_CST);
}
inline LONG InterlockedDecrement(volatile LONG* p) {
    return __atomic_sub_fetch(const_cast<LONG*>(p), 1, __ATOMIC_SEQ_CST);
}
inline LONG InterlockedExchange(volatile LONG* p, LONG v) {
    return __atomic_exchange_n(const_cast<LONG*>(p), v, __ATOMIC_SEQ_CST);
}
inline LONG InterlockedCompareExchange(volatile LONG* p, LONG exchange, LONG comparand) {
    __atomic_compare_exchange_n(const_cast<LONG*>(p), &comparand, exchange, false, __ATOMIC_SEQ_CST,
                                __ATOMIC_SEQ_CST);
    return comparand;
}

#endif  // _WIN32
