// Painting: update areas, WM_PAINT generation, BeginPaint/EndPaint and window DCs.
//
// A window's update area is the set of rectangles invalidated since it was last validated,
// less what was validated; a paint gets, and clips to, their bounding rectangle. Windows paint straight onto the virtual screen: a window DC is a display
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
namespace {

constexpr size_t kMaxUpdateParts = 16;

}  // namespace

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
        w->update_parts.clear();
        w->updatePending = true;
    }
    // Bounded: past a few parts the area is its bounding rectangle, which only paints more.
    if (w->update_parts.size() >= kMaxUpdateParts) w->update_parts.assign(1, w->update_client_rect);
    w->update_parts.push_back(dirty_rect);
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
    w->update_parts.clear();
}

// Takes a rectangle out of the update area: each part keeps up to four pieces.
void ValidatePart(Window* w, const RECT& valid_rect) {
    std::vector<RECT> kept;
    for (const RECT& part : w->update_parts) {
        RECT cut;
        if (!IntersectRect(&cut, &part, &valid_rect)) {
            kept.push_back(part);
            continue;
        }
        const RECT pieces[] = {{part.left, part.top, part.right, cut.top},
                               {part.left, cut.bottom, part.right, part.bottom},
                               {part.left, cut.top, cut.left, cut.bottom},
                               {cut.right, cut.top, part.right, cut.bottom}};
        for (const RECT& piece : pieces) {
            if (!IsRectEmpty(&piece)) kept.push_back(piece);
        }
    }
    if (kept.empty()) {
        Validate(w);
        return;
    }
    w->update_parts = kept;
    w->update_client_rect = kept.front();
    for (const RECT& part : kept) UnionRect(&w->update_client_rect, &w->update_client_rect, &part);
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
    user::ValidatePart(w, *lpRect);
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

// The screen's DC is the desktop window's.
HDC GetDC(HWND hWnd) {
    const Window* w = hWnd ? Find(hWnd) : user::Desktop();
    if (!w) return nullptr;
    if (w == user::Desktop()) return gdi::CreateDisplayDC(w->handle, POINT{0, 0}, nullptr);
    return user::ClientDC(w, nullptr);
}

HDC GetWindowDC(HWND hWnd) {
    return GetDC(hWnd);
}  // the window is all client area
