// CCmdTarget and CWnd: command routing, the handle maps, creation and destruction, and
// the thin wrappers over the USER functions. Message dispatch is in wnd_dispatch.cpp.
//
// Index
//   1. CCmdTarget
//   2. Handle maps
//   3. Window classes
//   4. Creation and destruction
//   5. Wrappers
#include <cwchar>

#include "afx/afxgdi.h"
#include "afx/wnd_private.h"
#include "user/user_private.h"

namespace afxwnd {

ThreadState& State() {
    thread_local ThreadState state;
    return state;
}

ThreadState::~ThreadState() {
    for (auto& entry : temporary) {
        entry.second->m_hWnd = nullptr;  // a temporary never owns its window
        delete entry.second;
    }
}

}  // namespace afxwnd

// ---- 1. CCmdTarget -----------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP* map, UINT nMsg, UINT nCode, UINT nID) {
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (e->nMessage != nMsg) continue;
            if (nMsg == WM_COMMAND && (e->nCode != nCode || nID < e->nID || nID > e->nLastID)) continue;
            return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void*, AFX_CMDHANDLERINFO* pHandlerInfo) {
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(GetMessageMap(), WM_COMMAND, UINT(nCode), nID);
    if (!e) return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pmf = e->pfn;
        return TRUE;
    }
    switch (e->nSig) {
        case AfxSig_vv:
            (this->*e->pfn)();
            return TRUE;
        case AfxSig_vw:
            (this->*AfxLoadPmf<void (CCmdTarget::*)(UINT)>(e->pfn))(nID);
            return TRUE;
        default:
            return FALSE;
    }
}

// ---- 2. Handle maps --------------------------------------------------------------------------------
IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    auto& map = afxwnd::State().permanent;
    const auto it = map.find(hWnd);
    return it == map.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd) return nullptr;
    if (CWnd* permanent = FromHandlePermanent(hWnd)) return permanent;
    auto& temporary = afxwnd::State().temporary;
    const auto it = temporary.find(hWnd);
    if (it != temporary.end()) return it->second;
    CWnd* wrapper = new CWnd;
    wrapper->m_hWnd = hWnd;
    temporary[hWnd] = wrapper;
    return wrapper;
}

void CWnd::DeleteTempMap() {
    auto& temporary = afxwnd::State().temporary;
    auto doomed = std::move(temporary);
    temporary.clear();
    for (auto& entry : doomed) {
        entry.second->m_hWnd = nullptr;  // the window is not the temporary's to destroy
        delete entry.second;
    }
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (!hWndNew || m_hWnd || !::IsWindow(hWndNew) || FromHandlePermanent(hWndNew)) return FALSE;
    afxwnd::State().permanent[hWndNew] = this;
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach() {
    const HWND hWnd = m_hWnd;
    if (hWnd) {
        auto& map = afxwnd::State().permanent;
        const auto it = map.find(hWnd);
        if (it != map.end() && it->second == this) map.erase(it);
    }
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd)) return FALSE;
    const auto old = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
    if (old != AfxWndProc) {
        m_pfnSuper = old;
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc));
    }
    return TRUE;
}

HWND CWnd::UnsubclassWindow() {
    if (m_pfnSuper && m_hWnd) ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

CWnd::~CWnd() {
    auto& temporary = afxwnd::State().temporary;
    const auto temp = temporary.find(m_hWnd);
    if (temp != temporary.end() && temp->second == this) {  // a temporary deleted by hand
        temporary.erase(temp);
        return;
    }
    if (!m_hWnd) return;
    const bool permanent = FromHandlePermanent(m_hWnd) == this;
    // The derived parts are gone: let the window's last messages go to the default procedure.
    if (m_pfnSuper) ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    const HWND hWnd = Detach();
    if (permanent) ::DestroyWindow(hWnd);
}

// ---- 3. Window classes ------------------------------------------------------------------------------
namespace afxwnd {
namespace {

constexpr LPCWSTR kDefaultClass = L"AfxWnd";

LPCWSTR DefaultClass() {
    WNDCLASSW wc{};
    if (!::GetClassInfoW(AfxGetInstanceHandle(), kDefaultClass, &wc)) {
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = AfxWndProc;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kDefaultClass;
        ::RegisterClassW(&wc);
    }
    return kDefaultClass;
}

// Attaches the CWnd being created to its new window before the window's first message.
void AttachWhileCreating(HWND hwnd, const CREATESTRUCTW*) {
    ThreadState& st = State();
    CWnd* pWnd = st.wndInit;
    if (!pWnd) return;  // a window created by other means inside a handler
    st.wndInit = nullptr;
    pWnd->SubclassWindow(hwnd);
}

}  // namespace
}  // namespace afxwnd

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    thread_local wchar_t name[128];
    std::swprintf(name, sizeof name / sizeof name[0], L"Afx:%p:%x:%p:%p:%p", static_cast<void*>(AfxGetInstanceHandle()),
                  nClassStyle, static_cast<void*>(hCursor), static_cast<void*>(hbrBackground),
                  static_cast<void*>(hIcon));
    WNDCLASSW wc{};
    if (!::GetClassInfoW(AfxGetInstanceHandle(), name, &wc)) {
        wc.style = nClassStyle;
        wc.lpfnWndProc = ::DefWindowProcW;  // CWnd::CreateEx subclasses it with AfxWndProc
        wc.hInstance = AfxGetInstanceHandle();
        wc.hIcon = hIcon;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.lpszClassName = name;
        if (!::RegisterClassW(&wc)) return nullptr;
    }
    return name;
}

// ---- 4. Creation and destruction -----------------------------------------------------------------
BOOL CWnd::PreCreateWindow(CREATESTRUCT&) {
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    if (m_hWnd) return FALSE;
    CREATESTRUCT cs{lpParam,
                    AfxGetInstanceHandle(),
                    nIDorHMenu,
                    hWndParent,
                    nHeight,
                    nWidth,
                    y,
                    x,
                    LONG(dwStyle),
                    lpszWindowName,
                    lpszClassName ? lpszClassName : afxwnd::DefaultClass(),
                    dwExStyle};
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    afxwnd::ThreadState& st = afxwnd::State();
    CWnd* const outerInit = st.wndInit;
    st.wndInit = this;
    const user::CreationHook outerHook = user::SetCreationHook(afxwnd::AttachWhileCreating);
    // After a failed creation `this` may have deleted itself in PostNcDestroy: not touched below.
    const HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, DWORD(cs.style), cs.x, cs.y, cs.cx,
                                        cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    user::SetCreationHook(outerHook);
    st.wndInit = outerInit;
    return hWnd ? TRUE : FALSE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext) {
    // Create makes child windows only.
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    const HWND hWnd = m_hWnd;
    CWnd* const self = this;
    const bool permanent = FromHandlePermanent(hWnd) == self;
    const BOOL result = ::DestroyWindow(hWnd);
    if (::IsWindow(hWnd)) return result;
    // A permanent object that went through WM_NCDESTROY has let go of the window (and may
    // have deleted itself); one still in the map was attached without subclassing.
    if (permanent) {
        if (FromHandlePermanent(hWnd) == self) self->Detach();
    } else {
        m_hWnd = nullptr;
    }
    return result;
}

// ---- 5. Wrappers ---------------------------------------------------------------------------------------
DWORD CWnd::GetStyle() const {
    return DWORD(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
}
DWORD CWnd::GetExStyle() const {
    return DWORD(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    const DWORD style = GetStyle();
    const DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, LONG_PTR(LONG(newStyle)));
    if (nFlags) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | nFlags);
    return TRUE;
}

BOOL CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd);
}
BOOL CWnd::ShowWindow(int nCmdShow) {
    return ::ShowWindow(m_hWnd, nCmdShow);
}
BOOL CWnd::IsWindowEnabled() const {
    return ::IsWindowEnabled(m_hWnd);
}
CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}

int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}
int CWnd::SetDlgCtrlID(int nID) {
    return int(::SetWindowLongPtrW(m_hWnd, GWLP_ID, nID));
}
void CWnd::GetWindowRect(LPRECT lpRect) const {
    ::GetWindowRect(m_hWnd, lpRect);
}
void CWnd::GetClientRect(LPRECT lpRect) const {
    ::GetClientRect(m_hWnd, lpRect);
}
void CWnd::ClientToScreen(LPPOINT lpPoint) const {
    ::ClientToScreen(m_hWnd, lpPoint);
}
void CWnd::ScreenToClient(LPPOINT lpPoint) const {
    ::ScreenToClient(m_hWnd, lpPoint);
}

void CWnd::ClientToScreen(LPRECT lpRect) const {
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->left));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->right));
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->left));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->right));
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
}

CWnd* CWnd::WindowFromPoint(POINT point) {
    return FromHandle(::WindowFromPoint(point));
}
void CWnd::Invalidate(BOOL bErase) {
    ::InvalidateRect(m_hWnd, nullptr, bErase);
}
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
    ::InvalidateRect(m_hWnd, lpRect, bErase);
}
void CWnd::ValidateRect(LPCRECT lpRect) {
    ::ValidateRect(m_hWnd, lpRect);
}
void CWnd::UpdateWindow() {
    ::UpdateWindow(m_hWnd);
}
BOOL CWnd::GetUpdateRect(LPRECT lpRect, BOOL bErase) {
    return ::GetUpdateRect(m_hWnd, lpRect, bErase);
}

CDC* CWnd::GetDC() {
    const HDC hdc = ::GetDC(m_hWnd);
    return hdc ? CDC::FromHandle(hdc) : nullptr;
}

CDC* CWnd::GetWindowDC() {
    const HDC hdc = ::GetWindowDC(m_hWnd);
    return hdc ? CDC::FromHandle(hdc) : nullptr;
}

int CWnd::ReleaseDC(CDC* pDC) {
    return pDC ? ::ReleaseDC(m_hWnd, pDC->GetSafeHdc()) : 0;
}
CWnd* CWnd::SetFocus() {
    return FromHandle(::SetFocus(m_hWnd));
}
CWnd* CWnd::GetFocus() {
    return FromHandle(::GetFocus());
}
CWnd* CWnd::SetCapture() {
    return FromHandle(::SetCapture(m_hWnd));
}
CWnd* CWnd::GetCapture() {
    return FromHandle(::GetCapture());
}
CWnd* CWnd::SetActiveWindow() {
    return FromHandle(::SetActiveWindow(m_hWnd));
}
CWnd* CWnd::GetActiveWindow() {
    return FromHandle(::GetActiveWindow());
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    return ::KillTimer(m_hWnd, nIDEvent);
}
LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}
