// Scoped GDI state in the WTL manner: the destructor undoes what the constructor did, so
// that no early return leaves an object selected or a DC held.
#pragma once

#include "win32/windef.h"
#include "win32/wingdi.h"
#include "win32/winuser.h"

// The screen DC (GetDC(NULL)), released at the end of the scope. IsNull() when GetDC failed.
class CScreenDC {
public:
    CScreenDC() : m_hDC(::GetDC(nullptr)) {}
    ~CScreenDC() {
        if (m_hDC) ::ReleaseDC(nullptr, m_hDC);
    }
    CScreenDC(const CScreenDC&) = delete;
    CScreenDC& operator=(const CScreenDC&) = delete;

    bool IsNull() const { return m_hDC == nullptr; }
    operator HDC() const { return m_hDC; }  // NOLINT(google-explicit-constructor)

private:
    HDC m_hDC;
};

// Selects an object into a DC and puts back what it displaced at the end of the scope.
// Select() swaps in another object; the one put back is still the first one displaced.
// A null DC or object selects nothing.
class CSelectScope {
public:
    CSelectScope(HDC hDC, HGDIOBJ hObject) : m_hDC(hDC) { Select(hObject); }
    ~CSelectScope() {
        if (m_hOld) ::SelectObject(m_hDC, m_hOld);
    }
    CSelectScope(const CSelectScope&) = delete;
    CSelectScope& operator=(const CSelectScope&) = delete;

    void Select(HGDIOBJ hObject) {
        if (!m_hDC || !hObject) return;
        const HGDIOBJ hOld = ::SelectObject(m_hDC, hObject);
        if (!m_hOld) m_hOld = hOld;
    }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld = nullptr;
};
