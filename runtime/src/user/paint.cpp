// Painting: update areas, WM_PAINT generation, BeginPaint/EndPaint and window DCs.
//
// A window's update area is the bounding rectangle of everything invalidated since it was
// last validated. Windows paint straight onto the virtual screen: a window DC is a display
// DC whose origin is the client origin on the screen and whose visible rectangle is the
// client area clipped by the ancestors (not by siblings or children). Invalidating a window
// also invalidates the children under the area unless it has WS_CLIPCHILDREN, so a parent
// that paints over its children is followed by the children repainting.
//
// Index
//   1. Update areas      InvalidateClient, InvalidateRect, ValidateRect, GetUpdateRect
//   2. WM_PAINT          FindWindowToPaint, UpdateWindow
//   3. Paint DCs         BeginPaint, EndPaint, GetDC, GetWindowDC
#include "gdi/gdi_private.h"
#include "user/user_private.h"

namespace user {

// ---- 1. Update areas ---------------------------------------------------------------------------
void InvalidateClient(Window* w, const RECT* client_rect, bool erase) {
    if (!w || w == Desktop() || !IsShownOnScreen(w)) return;  // hidden windows have nothing to repaint
    const RECT whole_rect{0, 0, w->Width(), w->Height()};
    RECT dirty_rect = whole_rect;
    if (client_rect && !IntersectRect(&dirty_rect, client_rect, &whole_rect)) return;
    if (IsRectEmpty(&dirty_rect)) return;
    if (w->updatePending) {
        UnionRect(&w->update_client_rect, &w->update_client_rect, &dirty_rect);
    } else {
        w->update_client_rect = dirty_rect;
        w->updatePending = true;
    }
    w->eraseNeeded = w->eraseNeeded || erase;
    if (w->style & WS_CLIPCHILDREN) return;
    for (Window* child : w->children) {
        RECT child_rect;
        if (!IntersectRect(&child_rect, &dirty_rect, &child->rect)) continue;
        OffsetRect(&child_rect, -child->rect.left, -child->rect.top);
        InvalidateClient(child, &child_rect, erase);
    }
}

namespace {

void Validate(Window* w) {
    w->updatePending = false;
    w->eraseNeeded = false;
    SetRectEmpty(&w->update_client_rect);
}

// ---- 2. WM_PAINT ---------------------------------------------------------------------------------
// Parents come before their children, so that children paint over them.
Window* FirstToPaint(Window* w, const Window* filter) {
    if (!(w->style & WS_VISIBLE)) return nullptr;
    if (w->updatePending && w->thread == std::this_thread::get_id() &&
        (!filter || filter == w || IsAncestor(filter, w)))
        return w;
    for (Window* child : w->children) {
        if (Window* found = FirstToPaint(child, filter)) return found;
    }
    return nullptr;
}

}  // namespace

Window* FindWindowToPaint(HWND filter) {
    const Window* filter_window = nullptr;
    if (filter == reinterpret_cast<HWND>(-1)) return nullptr;  // thread messages only
    if (filter && (filter_window = Find(filter)) == nullptr) return nullptr;
    for (Window* top : Desktop()->children) {
        if (Window* found = FirstToPaint(top, filter_window)) return found;
    }
    return nullptr;
}

}  // namespace user

using user::Find;
using user::Window;

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
    if (!hWnd) {  // every window
        for (Window* top : user::Desktop()->children) user::InvalidateClient(top, nullptr, bErase != FALSE);
        return TRUE;
    }
    Window* w = Find(hWnd);
    if (!w) return FALSE;
    user::InvalidateClient(w, lpRect, bErase != FALSE);
    return TRUE;
}

BOOL ValidateRect(HWND hWnd, const RECT* lpRect) {
    Window* w = Find(hWnd);
    if (!w) return FALSE;
    if (!w->updatePending) return TRUE;
    if (!lpRect) {
        user::Validate(w);
        return TRUE;
    }
    // The update area stays a rectangle: only a cut that leaves a rectangle shrinks it.
    RECT rest;
    if (!SubtractRect(&rest, &w->update_client_rect, lpRect)) {
        user::Validate(w);
    } else {
        w->update_client_rect = rest;
    }
    return TRUE;
}

BOOL GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase) {
    Window* w = Find(hWnd);
    if (!w) return FALSE;
    if (lpRect) {
        if (w->updatePending) {
            *lpRect = w->update_client_rect;
        } else {
            SetRectEmpty(lpRect);
        }
    }
    if (!w->updatePending) return FALSE;
    if (bErase && w->eraseNeeded) {
        w->eraseNeeded = false;
        HDC dc = GetDC(hWnd);
        SendMessageW(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        ReleaseDC(hWnd, dc);
    }
    return TRUE;
}

BOOL UpdateWindow(HWND hWnd) {
    Window* w = Find(hWnd);
    if (!w) return FALSE;
    if (w->updatePending && user::IsShownOnScreen(w)) SendMessageW(hWnd, WM_PAINT, 0, 0);
    if ((w = Find(hWnd)) == nullptr) return TRUE;
    std::vector<HWND> children;
    for (const Window* child : w->children) children.push_back(child->handle);
    for (HWND child : children) UpdateWindow(child);
    return TRUE;
}

// ---- 3. Paint DCs ------------------------------------------------------------------------------------
namespace user {
namespace {

HDC ClientDC(const Window* w, const RECT* limit_client_rect) {
    const POINT origin = ClientOriginOnScreen(w);
    RECT vis_rect = VisibleClientRectOnScreen(w);
    if (limit_client_rect) {
        RECT limit_rect = *limit_client_rect;
        OffsetRect(&limit_rect, origin.x, origin.y);
        if (!IntersectRect(&vis_rect, &vis_rect, &limit_rect)) SetRectEmpty(&vis_rect);
    }
    return gdi::CreateDisplayDC(w->handle, origin, &vis_rect);
}

}  // namespace
}  // namespace user

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    Window* w = Find(hWnd);
    if (!w || !lpPaint) return nullptr;
    *lpPaint = PAINTSTRUCT{};
    const bool erase = w->eraseNeeded;
    if (w->updatePending && user::IsShownOnScreen(w)) lpPaint->rcPaint = w->update_client_rect;
    user::Validate(w);
    HDC dc = user::ClientDC(w, &lpPaint->rcPaint);
    lpPaint->hdc = dc;
    if (erase && dc) {
        // fErase tells the painter that the background still needs erasing.
        lpPaint->fErase = SendMessageW(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    }
    return dc;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
    if (!lpPaint) return FALSE;
    if (lpPaint->hdc) ReleaseDC(hWnd, lpPaint->hdc);
    return TRUE;
}

HDC GetDC(HWND hWnd) {
    if (!hWnd) return gdi::CreateScreenDC();
    const Window* w = Find(hWnd);
    if (!w) return nullptr;
    if (w == user::Desktop()) return gdi::CreateScreenDC();
    return user::ClientDC(w, nullptr);
}

HDC GetWindowDC(HWND hWnd) {
    return GetDC(hWnd);
}  // the window is all client area
