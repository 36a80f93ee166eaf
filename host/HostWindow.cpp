// Index
//   1. Creation and the element list
//   2. Services behind CElementContainer
//   3. Message routing: paint, mouse, cursor
//   4. Element timers
#include "HostWindow.h"

#include <algorithm>
#include <cstdint>

#include "frame/HostServices.h"
#include "win32/runtime_ext.h"

namespace {
// Skin pictures load when first asked for, often in a paint: they are the factory's,
// not objects the paint left behind. -1 where the system cannot count its objects.
int GdiObjectsOutsideSkin() {
    const int total = rt::GdiObjectTotal();
    if (total < 0) return -1;
    CComPtr<IBitmapFactory> factory = GetEnvBitmapFactory();
    return total - (factory ? factory->GetLoadedCount() : 0);
}

std::vector<CHostWindow*>& HostList() {
    static std::vector<CHostWindow*> hosts;  // every live host window, for CViewManager
    return hosts;
}

// The one window timer of a host on the real clock: it fires the element timers due.
constexpr UINT_PTR kTableTimer = 1;

std::wstring NameOf(CElementContainer* pElement) {
    const wchar_t* name = pElement->GetName();
    return name ? name : L"";
}
}  // namespace

// ---- 1. Creation and the element list --------------------------------------------------------
CHostWindow::CHostWindow() { HostList().push_back(this); }

CHostWindow::~CHostWindow() {
    auto& hosts = HostList();
    hosts.erase(std::remove(hosts.begin(), hosts.end(), this), hosts.end());
    while (!m_elements.empty()) RemoveElement(m_elements.back());
    if (m_hWnd) DestroyWindow();
}

const std::vector<CHostWindow*>& CHostWindow::AllHosts() { return HostList(); }

BOOL CHostWindow::CreateHost(const wchar_t* title, const RECT& screen_rect) {
    // The class cursor is what the default handling of WM_SETCURSOR restores (the arrow).
    const LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
    return CreateEx(0, cls, title, WS_POPUP | WS_VISIBLE, screen_rect.left, screen_rect.top,
                    screen_rect.right - screen_rect.left, screen_rect.bottom - screen_rect.top, nullptr, nullptr);
}

int CHostWindow::AddElement(CElementContainer* pElement, const wchar_t* name, DWORD id,
                            const RECT& container_rect) {
    if (!pElement) return 0;
    _CONTAINER_INFO info;
    info.pHost = this;
    info.dwID = id;
    info.rcContainer = container_rect;
    return pElement->InitObject(name, &info);
}

void CHostWindow::AttachElement(CElementContainer* pElement, DWORD id, const RECT& container_rect) {
    ElementHostState* state = pElement->HostState();
    if (state->pHost && state->pHost != this) state->pHost->RemoveElement(pElement);
    state->dwID = id;
    state->rcContainer = container_rect;
    if (state->pHost == this) return;
    state->pHost = this;
    pElement->AddRef();
    m_elements.push_back(pElement);
    InvalidateElement(pElement, 1, nullptr);
}

void CHostWindow::ForgetElement(CElementContainer* pElement) {
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(),
                                  [pElement](const ElementTimer& t) { return t.element == pElement; }),
                   m_timers.end());
    ArmWindowTimer();
    m_elements.erase(std::remove(m_elements.begin(), m_elements.end(), pElement), m_elements.end());
    if (m_pCapture == pElement) ReleaseElementCapture(pElement);
    if (m_pHover == pElement) m_pHover = nullptr;
    if (m_pFocus == pElement) m_pFocus = nullptr;
    if (m_pLastSkipper == pElement) m_pLastSkipper = nullptr;
    pElement->HostState()->pHost = nullptr;
}

BOOL CHostWindow::RemoveElement(CElementContainer* pElement) {
    if (!pElement || pElement->HostState()->pHost != this) return FALSE;
    const RECT rc = pElement->HostState()->rcContainer;
    ForgetElement(pElement);
    if (m_hWnd) ::InvalidateRect(m_hWnd, &rc, TRUE);
    pElement->Release();
    return TRUE;
}

BOOL CHostWindow::PlaceElement(CElementContainer* pElement, const RECT& container_rect) {
    if (!pElement || pElement->HostState()->pHost != this) return FALSE;
    ElementHostState* state = pElement->HostState();
    const RECT old = state->rcContainer;
    if (m_hWnd) ::InvalidateRect(m_hWnd, &old, TRUE);
    state->rcContainer = container_rect;
    if (m_hWnd) ::InvalidateRect(m_hWnd, &container_rect, TRUE);
    const int cx = container_rect.right - container_rect.left, cy = container_rect.bottom - container_rect.top;
    if ((cx != old.right - old.left || cy != old.bottom - old.top) && Routes(pElement, WM_SIZE))
        pElement->OnSize(0, cx, cy);
    return TRUE;
}

void CHostWindow::SetElementActive(CElementContainer* pElement, BOOL bActive) {
    if (pElement) pElement->HostState()->bActive = bActive;
}

CElementContainer* CHostWindow::FindElement(DWORD id) const {
    for (CElementContainer* pElement : m_elements)
        if (pElement->HostState()->dwID == id) return pElement;
    return nullptr;
}

CElementContainer* CHostWindow::FindElementByName(const std::wstring& name) const {
    for (CElementContainer* pElement : m_elements)
        if (NameOf(pElement) == name) return pElement;
    return nullptr;
}

CElementContainer* CHostWindow::ElementAt(POINT window_pt) const {
    for (auto it = m_elements.rbegin(); it != m_elements.rend(); ++it) {
        const ElementHostState* state = (*it)->HostState();
        if (state->bVisible && ::PtInRect(&state->rcContainer, window_pt)) return *it;
    }
    return nullptr;
}

// ---- 2. Services behind CElementContainer ----------------------------------------------------
BOOL CHostWindow::InvalidateElement(CElementContainer* pElement, int nFlag, const RECT* element_rect) {
    if (!m_hWnd) return FALSE;
    const RECT& container = pElement->HostState()->rcContainer;
    RECT window_rect = container;
    if (element_rect) {
        window_rect = *element_rect;
        ::OffsetRect(&window_rect, container.left, container.top);
        if (!::IntersectRect(&window_rect, &window_rect, &container)) return TRUE;
    }
    return ::InvalidateRect(m_hWnd, &window_rect, nFlag != 0);
}

BOOL CHostWindow::CaptureElement(CElementContainer* pElement) {
    m_pCapture = pElement;
    if (m_hWnd) ::SetCapture(m_hWnd);
    return TRUE;
}

BOOL CHostWindow::ReleaseElementCapture(CElementContainer* pElement) {
    if (m_pCapture != pElement) return FALSE;
    m_pCapture = nullptr;
    if (m_hWnd && ::GetCapture() == m_hWnd) ::ReleaseCapture();
    return TRUE;
}

BOOL CHostWindow::StartElementTimer(CElementContainer* pElement, DWORD id, DWORD ms) {
    if (!m_hWnd) return FALSE;
    // The platform's limits (USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM); starting a running
    // timer again restarts it.
    const DWORD interval = std::min<DWORD>(std::max<DWORD>(ms, USER_TIMER_MINIMUM), USER_TIMER_MAXIMUM);
    const ElementTimer timer{pElement, id, interval, rt::ClockNow() + interval, m_nNextTimerSerial++};
    auto it = std::find_if(m_timers.begin(), m_timers.end(),
                           [&](const ElementTimer& t) { return t.element == pElement && t.id == id; });
    if (it != m_timers.end()) *it = timer;
    else m_timers.push_back(timer);
    ArmWindowTimer();
    return TRUE;
}

BOOL CHostWindow::StopElementTimer(CElementContainer* pElement, DWORD id) {
    auto it = std::find_if(m_timers.begin(), m_timers.end(),
                           [&](const ElementTimer& t) { return t.element == pElement && t.id == id; });
    if (it == m_timers.end()) return FALSE;
    m_timers.erase(it);
    ArmWindowTimer();
    return TRUE;
}

BOOL CHostWindow::PostElementMessage(CElementContainer* pElement, UINT msg, WPARAM wParam, LPARAM lParam) {
    ControlMessage cm;
    cm.time = rt::ClockNow();
    cm.senderName = NameOf(pElement);
    cm.msg = msg;
    cm.wParam = wParam;
    cm.lParam = lParam;
    m_controlMessages.push_back(cm);
    if (onControlMessage) onControlMessage(cm);
    return TRUE;
}

BOOL CHostWindow::SkipCurrentMessage(CElementContainer* pElement) {
    m_pLastSkipper = pElement;
    return TRUE;
}

BOOL CHostWindow::FocusElement(CElementContainer* pElement) {
    if (m_pFocus != pElement) {
        CElementContainer* old = m_pFocus;
        m_pFocus = pElement;
        if (old) old->OnSetFocus(FALSE);
        pElement->OnSetFocus(TRUE);
    }
    if (m_hWnd) ::SetFocus(m_hWnd);
    return TRUE;
}

// ---- 3. Message routing ------------------------------------------------------------------------
bool CHostWindow::Routes(const CElementContainer* pElement, UINT msg) {
    return pElement && pElement->HostState()->IsRegistered(msg);
}

POINT CHostWindow::ToElement(const CElementContainer* pElement, POINT window_pt) {
    const RECT& rc = pElement->HostState()->rcContainer;
    return POINT{window_pt.x - rc.left, window_pt.y - rc.top};
}

LRESULT CHostWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT:
            OnHostPaint();
            return 0;
        case WM_PRINTCLIENT: {
            // WM_PRINT's client part: the whole client area into the given DC, which is how
            // a window's pixels are read where the screen cannot be. Elements paint into a
            // CPaintDC; this one lends the printer's DC to an empty paint.
            CPaintDC dc(this);
            const HDC own = dc.Detach();
            dc.Attach(reinterpret_cast<HDC>(wParam));
            RECT rc;
            ::GetClientRect(m_hWnd, &rc);
            if (lParam & PRF_ERASEBKGND) dc.FillSolidRect(&rc, m_clrBackground);
            PaintElements(dc, rc);
            dc.Detach();
            dc.Attach(own);
            return 0;
        }
        case WM_ERASEBKGND: {
            RECT rc;
            ::GetClientRect(m_hWnd, &rc);
            CDC* pDC = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
            pDC->FillSolidRect(&rc, m_clrBackground);
            return 1;
        }
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            OnHostMouse(msg, wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_MOUSELEAVE:
            if (m_pHover && m_pHover != m_pCapture) {
                CElementContainer* old = m_pHover;
                m_pHover = nullptr;
                old->OnMouseLeave();
            }
            return 0;
        case WM_SETCURSOR:
            return OnHostSetCursor(wParam, lParam);
        case WM_TIMER:
            if (wParam != kTableTimer) return CWnd::WindowProc(msg, wParam, lParam);
            while (ElementTimer* due = EarliestTimer(rt::ClockNow())) FireTimer(due);
            ArmWindowTimer();
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != m_hWnd) m_pCapture = nullptr;
            return 0;
        default:
            return CWnd::WindowProc(msg, wParam, lParam);
    }
}

void CHostWindow::OnHostPaint() {
    CPaintDC dc(this);
    PaintElements(dc, dc.m_ps.rcPaint);
}

void CHostWindow::PaintElements(CPaintDC& dc, const RECT& rcPaint) {
    // Copy: a paint handler must not be able to invalidate the iteration.
    const std::vector<CElementContainer*> elements = m_elements;
    for (CElementContainer* pElement : elements) {
        const ElementHostState* state = pElement->HostState();
        RECT touched;
        if (!state->bVisible || !::IntersectRect(&touched, &state->rcContainer, &rcPaint)) continue;
        const RECT rc = state->rcContainer;
        pElement->AddRef();
        const int saved = dc.SaveDC();
        dc.IntersectClipRect(&rc);
        dc.SetViewportOrg(rc.left, rc.top);
        const int before = GdiObjectsOutsideSkin();
        m_hPaintingDC = dc.GetSafeHdc();
        m_rcPainting = rc;
        if (Routes(pElement, WM_ERASEBKGND)) pElement->OnEraseBackground(&dc);
        if (Routes(pElement, WM_PAINT)) pElement->OnPaint(&dc);
        m_hPaintingDC = nullptr;
        dc.RestoreDC(saved);
        const int after = GdiObjectsOutsideSkin();
        const int leaked = after - before;
        if (before >= 0 && after >= 0 && leaked != 0) {
            ++m_nPaintLeaks;
            m_problems.push_back(L"paint of '" + NameOf(pElement) + L"' changed the GDI object count by " +
                                 std::to_wstring(leaked));
        }
        pElement->Release();
    }
}

void CHostWindow::UpdateHover(POINT window_pt) {
    CElementContainer* under = ElementAt(window_pt);
    if (under == m_pHover) return;
    if (m_pHover && m_pHover == m_pCapture) return;  // its leave waits for the release
    CElementContainer* old = m_pHover;
    m_pHover = under;
    if (old) old->OnMouseLeave();
}

void CHostWindow::OnHostMouse(UINT msg, WPARAM wParam, POINT window_pt) {
    if (msg == WM_MOUSEMOVE) UpdateHover(window_pt);
    CElementContainer* target = m_pCapture ? m_pCapture : ElementAt(window_pt);
    if (target && Routes(target, msg)) {
        const POINT pt = ToElement(target, window_pt);
        m_pLastSkipper = nullptr;
        target->AddRef();
        switch (msg) {
            case WM_MOUSEMOVE: target->OnMouseMove(pt.x, pt.y, DWORD(wParam)); break;
            case WM_LBUTTONDOWN: target->OnLButtonDown(pt); break;
            case WM_LBUTTONUP: target->OnLButtonUp(pt); break;
            case WM_LBUTTONDBLCLK: target->OnDBClick(0, pt); break;
            case WM_RBUTTONDOWN: target->OnRButtonDown(pt); break;
            case WM_RBUTTONUP: target->OnRButtonUp(pt); break;
            default: break;
        }
        target->Release();
    }
    if (!m_pCapture) UpdateHover(window_pt);  // a release may end a deferred leave
}

BOOL CHostWindow::OnHostSetCursor(WPARAM wParam, LPARAM lParam) {
    POINT window_pt;
    ::GetCursorPos(&window_pt);
    ::ScreenToClient(m_hWnd, &window_pt);
    CElementContainer* target = m_pCapture ? m_pCapture : ElementAt(window_pt);
    if (Routes(target, WM_SETCURSOR)) {
        target->AddRef();
        const int handled = target->OnSetCursor(LOWORD(lParam), lParam);
        target->Release();
        if (handled) return TRUE;
    }
    // As a window does: what nobody chose, the default handling sets from the class cursor,
    // so a cursor an element set earlier does not stay over one that sets none.
    return BOOL(DefWindowProc(WM_SETCURSOR, wParam, lParam));
}

// ---- 4. Element timers ---------------------------------------------------------------------------
namespace {
// Clock times wrap: they compare by their 32-bit signed distance.
int32_t Later(DWORD a, DWORD b) { return int32_t(a - b); }
}  // namespace

CHostWindow::ElementTimer* CHostWindow::EarliestTimer(DWORD limit) {
    const DWORD now = rt::ClockNow();
    ElementTimer* best = nullptr;
    for (ElementTimer& t : m_timers) {
        if (Later(t.due, now) > Later(limit, now)) continue;
        if (!best || Later(t.due, best->due) < 0 || (t.due == best->due && t.serial < best->serial)) best = &t;
    }
    return best;
}

void CHostWindow::FireTimer(ElementTimer* timer) {
    // Rescheduled before the handler, which may stop or restart it; missed periods
    // coalesce into one firing.
    const DWORD now = rt::ClockNow();
    timer->due += timer->interval;
    if (Later(timer->due, now) <= 0) timer->due = now + timer->interval;
    CElementContainer* pElement = timer->element;
    const DWORD id = timer->id;
    pElement->AddRef();
    pElement->OnTimer(id);
    pElement->Release();
}

bool CHostWindow::FireNextTimer(DWORD limit) {
    ElementTimer* timer = EarliestTimer(limit);
    if (!timer) return false;
    const DWORD now = rt::ClockNow();
    if (Later(timer->due, now) > 0) rt::AdvanceClock(timer->due - now);
    FireTimer(timer);
    return true;
}

void CHostWindow::ArmWindowTimer() {
    if (!m_hWnd || !rt::IsRealClock()) return;
    const ElementTimer* next = EarliestTimer(rt::ClockNow() + USER_TIMER_MAXIMUM);
    if (!next) {
        ::KillTimer(m_hWnd, kTableTimer);
        return;
    }
    const int32_t wait = Later(next->due, rt::ClockNow());
    ::SetTimer(m_hWnd, kTableTimer, wait > 0 ? UINT(wait) : 0, nullptr);
}
