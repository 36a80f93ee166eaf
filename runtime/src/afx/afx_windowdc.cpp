// DCs tied to a window: CPaintDC (BeginPaint/EndPaint), CClientDC and CWindowDC
// (GetDC/GetWindowDC and ReleaseDC). Each detaches its handle before CDC's destructor
// runs, since such DCs are released, never deleted.
#include "afx/afxwnd.h"
#include "afx_maps.h"

IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

namespace {
HWND SafeHwnd(const CWnd* pWnd) {
    return pWnd ? pWnd->GetSafeHwnd() : nullptr;
}
}  // namespace

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(SafeHwnd(pWnd)) {
    if (!Attach(::BeginPaint(m_hWnd, &m_ps))) AfxThrowResourceException();
}

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(SafeHwnd(pWnd)) {
    if (!Attach(::GetDC(m_hWnd))) AfxThrowResourceException();
}

CClientDC::~CClientDC() {
    if (m_hDC) ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(SafeHwnd(pWnd)) {
    if (!Attach(::GetWindowDC(m_hWnd))) AfxThrowResourceException();
}

CWindowDC::~CWindowDC() {
    if (m_hDC) ::ReleaseDC(m_hWnd, Detach());
}
