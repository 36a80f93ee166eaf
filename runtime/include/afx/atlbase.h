// ATL's smart interface pointer. CComPtr<T> holds one reference on a COM object: it
// AddRefs what it copies or is assigned from a raw pointer, and Releases when it lets go.
#pragma once

#include <cstddef>

#include "win32/objbase.h"

template <class T>
class CComPtr {
public:
    T* p = nullptr;

    CComPtr() = default;
    CComPtr(std::nullptr_t) {}                  // NOLINT(google-explicit-constructor)
    CComPtr(T* lp) : p(lp) { AddRefIfAny(p); }  // NOLINT(google-explicit-constructor)
    CComPtr(const CComPtr& other) : p(other.p) { AddRefIfAny(p); }
    CComPtr(CComPtr&& other) noexcept : p(other.p) { other.p = nullptr; }
    ~CComPtr() { Release(); }

    T* operator=(T* lp) {
        if (lp != p) {
            AddRefIfAny(lp);
            T* old = p;
            p = lp;
            if (old) old->Release();
        }
        return p;
    }
    T* operator=(const CComPtr& other) { return *this = other.p; }
    T* operator=(CComPtr&& other) noexcept {
        if (this != &other) {
            T* old = p;
            p = other.p;
            other.p = nullptr;
            if (old) old->Release();
        }
        return p;
    }
    T* operator=(std::nullptr_t) {
        Release();
        return nullptr;
    }

    operator T*() const { return p; }  // NOLINT(google-explicit-constructor)
    T& operator*() const { return *p; }
    T* operator->() const { return p; }
    // For out-parameters: the pointer should be empty, or its reference is lost.
    T** operator&() { return &p; }
    bool operator!() const { return p == nullptr; }
    bool operator==(std::nullptr_t) const { return p == nullptr; }
    bool operator!=(std::nullptr_t) const { return p != nullptr; }
    bool operator==(T* other) const { return p == other; }
    bool operator!=(T* other) const { return p != other; }
    bool operator<(T* other) const { return p < other; }

    // Drops the reference (the object may go away) and empties the pointer.
    void Release() {
        T* old = p;
        if (old) {
            p = nullptr;
            old->Release();
        }
    }
    // Takes over a reference the caller already holds, releasing the current one.
    void Attach(T* other) {
        T* old = p;
        p = other;
        if (old && old != other) old->Release();
    }
    // Hands the reference to the caller without releasing it.
    T* Detach() {
        T* old = p;
        p = nullptr;
        return old;
    }

private:
    static void AddRefIfAny(T* lp) {
        if (lp) lp->AddRef();
    }
};
