// The reference-counted base of every element and canvas: a count changed only by
// interlocked operations (CUnknownTmp) and an object name (CUnknown).
//
// Kept inline: the host framework's CPropertyObject derives from CUnknown too, and the
// host library must not have to link the element library for it.
#pragma once

#include <cstring>
#include <new>

#include "platform.h"

template <class T>
class CUnknownTmp : public T {
public:
    CUnknownTmp() = default;
    // A copy is a new object: it starts unreferenced.
    CUnknownTmp(const CUnknownTmp&) : T() {}
    CUnknownTmp& operator=(const CUnknownTmp&) { return *this; }

protected:
    volatile LONG m_lRefCount = 0;
};

class CUnknown : public CUnknownTmp<IUnknown> {
public:
    CUnknown() = default;
    CUnknown(const CUnknown& other) : CUnknownTmp<IUnknown>(other) { SetName(other.m_pszName); }
    CUnknown& operator=(const CUnknown& other) {
        if (this != &other) SetName(other.m_pszName);
        return *this;
    }

    // slot 0
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!IsEqualIID(riid, IID_IUnknown)) return E_FAIL;  // out pointer left untouched
        if (!ppv) return E_POINTER;
        AddRef();
        *ppv = static_cast<IUnknown*>(this);
        return S_OK;
    }
    // slot 1
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&m_lRefCount)); }
    // slot 2
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = InterlockedDecrement(&m_lRefCount);
        if (n == 0) delete this;
        return ULONG(n);
    }
    // slot 3
    virtual ~CUnknown() { delete[] m_pszName; }
    // slot 4
    virtual HRESULT GetSelf(IUnknown** pp) {
        if (!pp) return E_POINTER;  // no reference handed out, so none taken
        AddRef();
        *pp = static_cast<IUnknown*>(this);
        return S_OK;
    }
    // slot 5
    virtual const wchar_t* GetName() { return m_pszName; }
    // slot 6: always TRUE; null or the current name keeps the name (no reallocation).
    virtual BOOL SetName(const wchar_t* name) {
        if (!name) return TRUE;
        if (m_pszName && std::wcscmp(m_pszName, name) == 0) return TRUE;
        delete[] m_pszName;
        const size_t len = std::wcslen(name);
        m_pszName = new (std::nothrow) wchar_t[len + 1];
        if (m_pszName) std::wmemcpy(m_pszName, name, len + 1);
        return TRUE;
    }

    LONG GetRefCount() const { return m_lRefCount; }  // for hosts and tests

private:
    wchar_t* m_pszName = nullptr;  // heap array owned by the object; null when unset
};
