// Message dispatch for CWnd: AfxWndProc, WindowProc, the message-map dispatcher and the
// default handlers.
//
// Index
//   1. AfxWndProc
//   2. WindowProc, DefWindowProc, Default
//   3. OnWndMsg and the dispatcher
//   4. Default handlers
#include "afx/afxgdi.h"
#include "afx/wnd_private.h"

// ---- 1. AfxWndProc -----------------------------------------------------------------------------
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd) return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);  // its CWnd has let go
    afxwnd::ThreadState& st = afxwnd::State();
    const MSG outer = st.current;
    st.current = MSG{hWnd, nMsg, wParam, lParam, DWORD(::GetMessageTime()), POINT{0, 0}};
    const LRESULT result = pWnd->WindowProc(nMsg, wParam, lParam);
    if (nMsg == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) {
        pWnd->m_pfnSuper = nullptr;
        pWnd->Detach();
        pWnd->PostNcDestroy();  // may delete the object
    }
    st.current = outer;
    return result;
}

// ---- 2. WindowProc, DefWindowProc, Default -------------------------------------------------------
LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG& msg = afxwnd::State().current;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* CWnd::GetCurrentMessage() {
    return &afxwnd::State().current;
}

void CWnd::PostNcDestroy() {}

// ---- 3. OnWndMsg and the dispatcher --------------------------------------------------------------
// Owner-drawn menu items reach their CMenu (menu/afx_menu.cpp).
BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_MEASUREITEM()
ON_WM_DRAWITEM()
END_MESSAGE_MAP()

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT nID = LOWORD(wParam);
    // Menus and accelerators (no control window) are plain commands.
    const int nCode = lParam ? int(HIWORD(wParam)) : CN_COMMAND;
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT ignored = 0;
    if (!pResult) pResult = &ignored;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        *pResult = 1;
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(GetMessageMap(), message, 0, 0);
    return entry ? DispatchEntry(*entry, wParam, lParam, pResult) : FALSE;
}

namespace {

template <class Pmf>
Pmf As(AFX_PMSG pfn) {
    return AfxLoadPmf<Pmf>(pfn);  // back to the type the entry macro stored
}

CPoint PointFrom(LPARAM lParam) {
    return CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

}  // namespace

BOOL CWnd::DispatchEntry(const AFX_MSGMAP_ENTRY& entry, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const AFX_PMSG pfn = entry.pfn;
    LRESULT result = 0;
    switch (entry.nSig) {
        case AfxSig_vv:
            (this->*pfn)();
            break;
        case AfxSig_vv_wnd:
            (this->*As<void (CWnd::*)()>(pfn))();
            break;
        case AfxSig_lwl:
            result = (this->*As<LRESULT (CWnd::*)(WPARAM, LPARAM)>(pfn))(wParam, lParam);
            break;
        case AfxSig_is:
            result = (this->*As<int (CWnd::*)(LPCREATESTRUCT)>(pfn))(reinterpret_cast<LPCREATESTRUCT>(lParam));
            break;
        case AfxSig_bD:
            result = (this->*As<BOOL (CWnd::*)(CDC*)>(pfn))(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
            break;
        case AfxSig_vwii:
            (this->*As<void (CWnd::*)(UINT, int, int)>(pfn))(UINT(wParam), LOWORD(lParam), HIWORD(lParam));
            break;
        case AfxSig_vw_ptr:
            (this->*As<void (CWnd::*)(UINT_PTR)>(pfn))(UINT_PTR(wParam));
            break;
        case AfxSig_vwp:
            (this->*As<void (CWnd::*)(UINT, CPoint)>(pfn))(UINT(wParam), PointFrom(lParam));
            break;
        case AfxSig_bwsp:  // the point is in screen coordinates
            result = (this->*As<BOOL (CWnd::*)(UINT, short, CPoint)>(pfn))(
                LOWORD(wParam), static_cast<short>(HIWORD(wParam)), PointFrom(lParam));
            break;
        case AfxSig_bWww:
            result = (this->*As<BOOL (CWnd::*)(CWnd*, UINT, UINT)>(pfn))(FromHandle(reinterpret_cast<HWND>(wParam)),
                                                                         LOWORD(lParam), HIWORD(lParam));
            break;
        case AfxSig_vMeasure:
            (this->*As<void (CWnd::*)(int, LPMEASUREITEMSTRUCT)>(pfn))(int(wParam),
                                                                       reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
            result = TRUE;
            break;
        case AfxSig_vDraw:
            (this->*As<void (CWnd::*)(int, LPDRAWITEMSTRUCT)>(pfn))(int(wParam),
                                                                    reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
            result = TRUE;
            break;
        case AfxSig_vwww:
            (this->*As<void (CWnd::*)(UINT, UINT, UINT)>(pfn))(UINT(wParam), LOWORD(lParam), HIWORD(lParam));
            break;
        case AfxSig_vW:
            (this->*As<void (CWnd::*)(CWnd*)>(pfn))(FromHandle(reinterpret_cast<HWND>(wParam)));
            break;
        default:
            return FALSE;
    }
    *pResult = result;
    return TRUE;
}

// ---- 4. Default handlers ---------------------------------------------------------------------------
int CWnd::OnCreate(LPCREATESTRUCT) {
    return int(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnMouseLeave() {
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*) {
    return BOOL(Default());
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint) {
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) {
    return BOOL(Default());
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return BOOL(Default());
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnSetFocus(CWnd*) {
    Default();
}
void CWnd::OnKillFocus(CWnd*) {
    Default();
}
