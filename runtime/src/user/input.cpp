// Input state: focus, activation, capture, the virtual pointer, mouse-leave tracking,
// system cursors, and the injection of mouse and keyboard input by the embedder.
//
// Index
//   1. Focus and activation
//   2. Capture
//   3. Pointer and cursors
//   4. Mouse-leave tracking
//   5. Injection (rt::InjectMouse, rt::InjectKey)
//   6. Windows going away

#include "user/user_private.h"

using user::Find;
using user::Window;

namespace user {
namespace {

Window* OwnWindow(HWND hwnd) {
    Window* w = Find(hwnd);
    return w && w->thread == std::this_thread::get_id() ? w : nullptr;
}

HWND Valid(HWND hwnd) {
    return Find(hwnd) ? hwnd : nullptr;
}

Window* TopLevelOf(Window* w) {
    while (w && w->parent && w->parent != Desktop()) w = w->parent;
    return w;
}

bool IsSelfOrBelow(const Window* top, HWND hwnd) {
    const Window* w = Find(hwnd);
    return w && (w == top || IsAncestor(top, w));
}

}  // namespace
}  // namespace user

// ---- 1. Focus and activation -------------------------------------------------------------------
HWND SetActiveWindow(HWND hWnd) {
    user::ThreadState& ts = user::Thread();
    Window* w = nullptr;
    if (hWnd && ((w = user::OwnWindow(hWnd)) == nullptr || w->IsChild())) return nullptr;
    const HWND old = user::Valid(ts.active);
    if (old == hWnd) return old;
    ts.active = hWnd;
    if (old) SendMessageW(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(hWnd));
    if (hWnd && ts.active == hWnd) SendMessageW(hWnd, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
    return old;
}

HWND GetActiveWindow(void) {
    return user::Valid(user::Thread().active);
}

HWND SetFocus(HWND hWnd) {
    user::ThreadState& ts = user::Thread();
    Window* w = nullptr;
    if (hWnd && (w = user::OwnWindow(hWnd)) == nullptr) return nullptr;
    const HWND old = user::Valid(ts.focus);
    if (old == hWnd) return old;
    if (w) {
        Window* top = user::TopLevelOf(w);
        if (top && top != user::Desktop() && ts.active != top->handle) SetActiveWindow(top->handle);
    }
    ts.focus = hWnd;
    if (old) SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (hWnd && ts.focus == hWnd) SendMessageW(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND GetFocus(void) {
    return user::Valid(user::Thread().focus);
}

// ---- 2. Capture ---------------------------------------------------------------------------------
HWND SetCapture(HWND hWnd) {
    user::ThreadState& ts = user::Thread();
    if (!user::OwnWindow(hWnd)) return nullptr;
    const HWND old = user::Valid(ts.capture);
    ts.capture = hWnd;
    if (old && old != hWnd) SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    return old;
}

BOOL ReleaseCapture(void) {
    user::ThreadState& ts = user::Thread();
    const HWND old = user::Valid(ts.capture);
    ts.capture = nullptr;
    if (old) SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture(void) {
    return user::Valid(user::Thread().capture);
}

// ---- 3. Pointer and cursors -----------------------------------------------------------------------
namespace user {
namespace {

struct Pointer {
    POINT screen_pt{0, 0};
};

Pointer& pointer() {
    static Pointer p;  // there is one pointer on the system
    return p;
}

struct SystemCursor {
    int id;
};
// Their addresses are the cursor handles: distinct and stable for the life of the process.
const SystemCursor kSystemCursors[] = {{32512}, {32513}, {32514}, {32515}, {32516}, {32642}, {32643},
                                       {32644}, {32645}, {32646}, {32648}, {32649}, {32650}, {32651}};

}  // namespace
}  // namespace user

BOOL GetCursorPos(LPPOINT lpPoint) {
    if (!lpPoint) return FALSE;
    user::Pointer& p = user::pointer();
    *lpPoint = p.screen_pt;
    return TRUE;
}

// Only moves the virtual pointer; input reaches windows through rt::InjectMouse.
BOOL SetCursorPos(int X, int Y) {
    user::Pointer& p = user::pointer();
    p.screen_pt = POINT{X, Y};
    return TRUE;
}

HCURSOR LoadCursorW(HINSTANCE hInstance, LPCWSTR lpCursorName) {
    if (hInstance || !IS_INTRESOURCE(lpCursorName)) return nullptr;  // there are no cursor resources
    const int id = int(reinterpret_cast<ULONG_PTR>(lpCursorName));
    for (const user::SystemCursor& c : user::kSystemCursors) {
        if (c.id == id) return reinterpret_cast<HCURSOR>(const_cast<user::SystemCursor*>(&c));
    }
    return nullptr;
}

HCURSOR SetCursor(HCURSOR hCursor) {
    user::ThreadState& ts = user::Thread();
    const HCURSOR old = ts.cursor;
    ts.cursor = hCursor;
    return old;
}

HCURSOR GetCursor(void) {
    return user::Thread().cursor;
}

BOOL DestroyCursor(HCURSOR hCursor) {
    return rt::CursorId(hCursor) != 0;
}  // shared cursors stay

namespace rt {

int CursorId(HCURSOR cursor) {
    for (const user::SystemCursor& c : user::kSystemCursors) {
        if (reinterpret_cast<const void*>(cursor) == &c) return c.id;
    }
    return 0;
}

}  // namespace rt

// ---- 4. Mouse-leave tracking --------------------------------------------------------------------
BOOL TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack) {
    if (!lpEventTrack || lpEventTrack->cbSize != sizeof(TRACKMOUSEEVENT)) return FALSE;
    user::ThreadState& ts = user::Thread();
    if (lpEventTrack->dwFlags & TME_QUERY) {
        const HWND tracked = user::Valid(ts.leaveTracked);
        lpEventTrack->dwFlags = tracked ? TME_LEAVE : 0;
        lpEventTrack->hwndTrack = tracked;
        lpEventTrack->dwHoverTime = 0;
        return TRUE;
    }
    const HWND hwnd = lpEventTrack->hwndTrack;
    Window* w = user::OwnWindow(hwnd);
    if (!w) return FALSE;
    if (!(lpEventTrack->dwFlags & TME_LEAVE)) return TRUE;  // hover tracking is not offered
    if (lpEventTrack->dwFlags & TME_CANCEL) {
        if (ts.leaveTracked == hwnd) ts.leaveTracked = nullptr;
        return TRUE;
    }
    POINT screen_pt;
    GetCursorPos(&screen_pt);
    if (user::WindowAtScreenPoint(screen_pt) != w) {
        PostMessageW(hwnd, WM_MOUSELEAVE, 0, 0);  // the pointer is already elsewhere
        return TRUE;
    }
    ts.leaveTracked = hwnd;
    return TRUE;
}

// ---- 5. Injection ---------------------------------------------------------------------------------
namespace user {
namespace {

bool TakesSetCursor(UINT msg) {
    return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL;
}

void CheckMouseLeave(ThreadState& ts, const Window* under) {
    if (!ts.leaveTracked) return;
    const Window* tracked = Find(ts.leaveTracked);
    if (tracked && tracked == under) return;
    const HWND hwnd = ts.leaveTracked;
    ts.leaveTracked = nullptr;
    if (tracked) PostMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
}

}  // namespace
}  // namespace user

namespace rt {

bool InjectMouse(UINT msg, POINT screen_pt, WPARAM keys) {
    SetCursorPos(screen_pt.x, screen_pt.y);
    user::ThreadState& ts = user::Thread();
    user::CheckMouseLeave(ts, user::WindowAtScreenPoint(screen_pt));
    const HWND capture = GetCapture();
    Window* target = capture ? Find(capture) : user::WindowAtScreenPoint(screen_pt);
    if (!target || target->thread != std::this_thread::get_id() || (target->style & WS_DISABLED)) return false;
    const HWND hwnd = target->handle;
    if (!capture && user::TakesSetCursor(msg)) {
        SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELONG(HTCLIENT, msg));
        if (!Find(hwnd)) return false;
    }
    LPARAM lParam = MAKELPARAM(screen_pt.x, screen_pt.y);
    if (msg != WM_MOUSEWHEEL) {
        POINT client_pt = screen_pt;
        ScreenToClient(hwnd, &client_pt);
        lParam = MAKELPARAM(client_pt.x, client_pt.y);
    }
    ts.input.push_back(user::MakeMsg(hwnd, msg, keys, lParam));
    return true;
}

bool InjectKey(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND target = GetFocus();
    if (!target) target = GetActiveWindow();
    if (!target) return false;
    user::Thread().input.push_back(user::MakeMsg(target, msg, wParam, lParam));
    return true;
}

}  // namespace rt

// ---- 6. Windows going away ---------------------------------------------------------------------
namespace user {

void ForgetWindowInput(HWND hwnd) {
    ThreadState& ts = Thread();
    const Window* w = Find(hwnd);
    if (!w) return;
    if (IsSelfOrBelow(w, ts.capture)) ts.capture = nullptr;  // without WM_CAPTURECHANGED
    if (IsSelfOrBelow(w, ts.focus)) {
        const bool toParent = w->IsChild() && w->parent != Desktop() && !w->parent->destroying;
        SetFocus(toParent ? w->parent->handle : nullptr);
        if ((w = Find(hwnd)) == nullptr) return;
    }
    if (ts.active == hwnd) ts.active = nullptr;
    if (IsSelfOrBelow(w, ts.leaveTracked)) ts.leaveTracked = nullptr;
}

}  // namespace user
