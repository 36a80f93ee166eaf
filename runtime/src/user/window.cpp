// The window table and the window tree: classes, creation and destruction, properties,
// geometry and hit testing. There is no non-client area: a window's client area is the
// whole window. Top-level windows are kept internally as children of the desktop window,
// so their rectangles are screen rectangles.
//
// Index
//   1. Handle table      (generation << 16 | slot + 1), so stale handles look up as null
//   2. Classes           RegisterClassW and friends
//   3. Tree helpers      ancestors, screen placement, hit testing
//   4. Creation          CreateWindowExW
//   5. Destruction       DestroyWindow
//   6. Properties        visibility, enabling, parents, ids, window longs, text
//   7. Geometry          rectangles, moves, coordinate conversion
#include <algorithm>
#include <cstring>
#include <cwctype>

#include "handle_table.h"
#include "user/user_private.h"

namespace user {
namespace {

// ---- 1. Handle table ---------------------------------------------------------------------
struct Table {
    rt::HandleTable<Window, rt::UserHandleLayout> windows;
    Window* desktop = nullptr;
    std::vector<std::shared_ptr<WindowClass>> classes;
    WORD nextAtom = 0xC000;  // registered class atoms live above the integer resources
    ~Table() { windows.Clear(); }
};

Table& table() {
    // The process-wide window table and class list, as on the platform.
    static Table t;
    if (!t.desktop) {
        auto desktop = std::make_unique<Window>();
        auto cls = std::make_shared<WindowClass>();
        cls->name = L"#32769";
        cls->system = true;
        cls->wc.lpfnWndProc = DefWindowProcW;
        cls->wc.lpszClassName = cls->name.c_str();
        desktop->cls = cls;
        desktop->proc = DefWindowProcW;
        desktop->style = WS_VISIBLE | WS_CLIPCHILDREN;
        t.desktop = desktop.get();
        t.desktop->handle = reinterpret_cast<HWND>(static_cast<uintptr_t>(t.windows.Insert(std::move(desktop))));
        t.classes.push_back(cls);
    }
    return t;
}

HWND Insert(std::unique_ptr<Window> w) {
    Window* inserted = w.get();
    const uint64_t v = table().windows.Insert(std::move(w));
    if (!v) return nullptr;
    inserted->handle = reinterpret_cast<HWND>(static_cast<uintptr_t>(v));
    return inserted->handle;
}

// Unlinks a window from the tree and frees its slot; the handle becomes stale.
void Free(Window* w) {
    Table& t = table();
    if (w->parent) {
        auto& siblings = w->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), w), siblings.end());
    }
    for (Window* child : w->children) {  // only children still being destroyed further up the stack
        child->parent = Desktop();
        Desktop()->children.push_back(child);
    }
    t.windows.ForEach([w](Window* other) {
        if (other->owner == w) other->owner = nullptr;
    });
    t.windows.Remove(reinterpret_cast<uintptr_t>(w->handle));
}

// ---- 2. Classes ------------------------------------------------------------------------------
bool SameName(const std::wstring& a, LPCWSTR b) {
    const size_t n = std::wcslen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i) {
        if (std::towlower(wint_t(a[i])) != std::towlower(wint_t(b[i]))) return false;
    }
    return true;
}

std::shared_ptr<WindowClass> FindClass(LPCWSTR name) {
    if (!name) return nullptr;
    for (auto& cls : table().classes) {
        if (IS_INTRESOURCE(name) ? cls->atom == WORD(reinterpret_cast<ULONG_PTR>(name)) : SameName(cls->name, name))
            return cls;
    }
    return nullptr;
}

// ---- 3. Tree helpers ------------------------------------------------------------------------------
Window* DeepestAt(Window* w, POINT parent_client_pt) {
    if (!(w->style & WS_VISIBLE) || !PtInRect(&w->rect, parent_client_pt)) return nullptr;
    const POINT client_pt{parent_client_pt.x - w->rect.left, parent_client_pt.y - w->rect.top};
    for (Window* child : w->children) {
        if (!(child->style & WS_VISIBLE) || !PtInRect(&child->rect, client_pt)) continue;
        if (child->style & WS_DISABLED) return w;  // a disabled control lets its parent take the point
        return DeepestAt(child, client_pt);
    }
    return w;
}

}  // namespace

Window* Find(HWND hwnd) {
    return table().windows.Lookup(reinterpret_cast<uintptr_t>(hwnd));
}

Window* Desktop() {
    return table().desktop;
}

bool IsAncestor(const Window* ancestor, const Window* w) {
    for (const Window* p = w ? w->parent : nullptr; p; p = p->parent) {
        if (p == ancestor) return true;
    }
    return false;
}

bool IsShownOnScreen(const Window* w) {
    for (; w && w != Desktop(); w = w->parent) {
        if (!(w->style & WS_VISIBLE)) return false;
    }
    return w != nullptr;
}

POINT ClientOriginOnScreen(const Window* w) {
    POINT screen_pt{0, 0};
    for (; w && w->parent; w = w->parent) {
        screen_pt.x += w->rect.left;
        screen_pt.y += w->rect.top;
    }
    return screen_pt;
}

RECT ClientRectOnScreen(const Window* w) {
    const POINT origin = ClientOriginOnScreen(w);
    return RECT{origin.x, origin.y, origin.x + w->Width(), origin.y + w->Height()};
}

RECT VisibleClientRectOnScreen(const Window* w) {
    RECT screen_rect = ClientRectOnScreen(w);
    for (const Window* p = w->parent; p && p->parent; p = p->parent) {
        const RECT parent_rect = ClientRectOnScreen(p);
        if (!IntersectRect(&screen_rect, &screen_rect, &parent_rect)) return RECT{0, 0, 0, 0};
    }
    const SIZE screen = rt::GetScreenSize();
    const RECT desktop_rect{0, 0, screen.cx, screen.cy};
    if (!IntersectRect(&screen_rect, &screen_rect, &desktop_rect)) return RECT{0, 0, 0, 0};
    return screen_rect;
}

Window* WindowAtScreenPoint(POINT screen_pt) {
    for (Window* top : Desktop()->children) {
        if ((top->style & WS_DISABLED) || !(top->style & WS_VISIBLE)) continue;
        if (Window* hit = DeepestAt(top, screen_pt)) return hit;
    }
    return nullptr;
}

}  // namespace user

using user::Find;
using user::Window;

// ---- 2. Classes (API) ------------------------------------------------------------------------
WORD RegisterClassW(const WNDCLASSW* lpWndClass) {
    if (!lpWndClass || !lpWndClass->lpfnWndProc || !lpWndClass->lpszClassName) return 0;
    if (IS_INTRESOURCE(lpWndClass->lpszClassName) || user::FindClass(lpWndClass->lpszClassName)) return 0;
    user::Table& t = user::table();
    auto cls = std::make_shared<user::WindowClass>();
    cls->name = lpWndClass->lpszClassName;
    cls->atom = t.nextAtom++;
    cls->wc = *lpWndClass;
    cls->wc.lpszClassName = cls->name.c_str();
    cls->wc.lpszMenuName = nullptr;
    t.classes.push_back(cls);
    return cls->atom;
}

BOOL UnregisterClassW(LPCWSTR lpClassName, HINSTANCE) {
    auto cls = user::FindClass(lpClassName);
    if (!cls || cls->system) return FALSE;
    user::Table& t = user::table();
    bool in_use = false;  // windows of the class still exist
    t.windows.ForEach([&](const Window* w) { in_use = in_use || w->cls == cls; });
    if (in_use) return FALSE;
    t.classes.erase(std::remove(t.classes.begin(), t.classes.end(), cls), t.classes.end());
    return TRUE;
}

BOOL GetClassInfoW(HINSTANCE, LPCWSTR lpClassName, WNDCLASSW* lpWndClass) {
    auto cls = user::FindClass(lpClassName);
    if (!cls || !lpWndClass) return FALSE;
    *lpWndClass = cls->wc;
    return TRUE;
}

// ---- 4. Creation ------------------------------------------------------------------------------------
namespace user {
namespace {

CreationHook& CurrentHook() {
    thread_local CreationHook hook = nullptr;
    return hook;
}

struct CreateGeometry {
    int x, y, cx, cy;
};

CreateGeometry ResolveGeometry(bool child, int x, int y, int cx, int cy) {
    if (x == CW_USEDEFAULT) x = y = 0;
    if (cx == CW_USEDEFAULT) {
        const SIZE screen = rt::GetScreenSize();
        cx = child ? 0 : screen.cx * 3 / 4;
        cy = child ? 0 : screen.cy * 3 / 4;
    }
    return CreateGeometry{x, y, std::max(cx, 0), std::max(cy, 0)};
}

}  // namespace

CreationHook SetCreationHook(CreationHook hook) {
    CreationHook previous = CurrentHook();
    CurrentHook() = hook;
    return previous;
}

}  // namespace user

HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam) {
    const bool child = (dwStyle & WS_CHILD) != 0;
    Window* parent = user::Desktop();
    Window* owner = nullptr;
    if (child) {
        parent = Find(hWndParent);
        if (!parent) return nullptr;  // a child needs a parent
    } else if (hWndParent) {
        owner = Find(hWndParent);
        if (!owner) return nullptr;
    }
    auto cls = user::FindClass(lpClassName);
    if (!cls) return nullptr;

    const user::CreateGeometry g = user::ResolveGeometry(child, X, Y, nWidth, nHeight);
    auto w = std::make_unique<Window>();
    w->cls = cls;
    w->proc = cls->wc.lpfnWndProc;
    w->style = dwStyle;
    w->exStyle = dwExStyle;
    w->text = lpWindowName ? lpWindowName : L"";
    w->rect = RECT{g.x, g.y, g.x + g.cx, g.y + g.cy};
    w->parent = parent;
    w->owner = owner;
    w->id = child ? reinterpret_cast<UINT_PTR>(hMenu) : 0;
    w->instance = hInstance;
    w->extra.assign(size_t(std::max(cls->wc.cbWndExtra, 0)), 0);
    w->thread = std::this_thread::get_id();
    Window* raw = w.get();
    HWND hwnd = user::Insert(std::move(w));
    if (!hwnd) return nullptr;
    // A new top-level window goes on top of the others, a new child below its siblings.
    auto& siblings = parent->children;
    siblings.insert(child ? siblings.end() : siblings.begin(), raw);

    CREATESTRUCTW cs{lpParam, hInstance, hMenu,         hWndParent,   g.cy,        g.cx,
                     g.y,     g.x,       LONG(dwStyle), lpWindowName, lpClassName, dwExStyle};
    if (user::CreationHook hook = user::CurrentHook()) hook(hwnd, &cs);
    if (!SendMessageW(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) || !Find(hwnd)) {
        user::FreeTree(hwnd);
        return nullptr;
    }
    // Shown only after the size messages, as ShowWindow would show it.
    raw->style &= ~DWORD(WS_VISIBLE);
    RECT nc_rect = raw->rect;  // the whole window is client area: the answer changes nothing
    SendMessageW(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&nc_rect));
    // A refused WM_CREATE ends the window without WM_DESTROY.
    if (!Find(hwnd) || SendMessageW(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        user::FreeTree(hwnd);
        return nullptr;
    }
    Window* created = Find(hwnd);
    if (!created) return nullptr;
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(created->Width(), created->Height()));
    if ((created = Find(hwnd))) SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(created->rect.left, created->rect.top));
    if (Find(hwnd) && (dwStyle & WS_VISIBLE)) ShowWindow(hwnd, SW_SHOW);
    return Find(hwnd) ? hwnd : nullptr;
}

// ---- 5. Destruction ------------------------------------------------------------------------------
namespace user {
namespace {

std::vector<HWND> ChildHandles(const Window* w) {
    std::vector<HWND> handles;
    for (const Window* child : w->children) handles.push_back(child->handle);
    return handles;
}

// WM_DESTROY reaches a window before its children, each subtree in z-order; a handler may
// destroy windows of the tree itself.
void SendDestroy(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return;
    w->destroying = true;
    ForgetWindowInput(hwnd);
    SendMessageW(hwnd, WM_DESTROY, 0, 0);
    if ((w = Find(hwnd)) == nullptr) return;
    for (HWND child : ChildHandles(w)) SendDestroy(child);
}

void DestroyOwnedWindows(Window* owner) {
    for (;;) {
        Window* owned = nullptr;
        for (Window* top : Desktop()->children) {
            if (top->owner == owner && !top->destroying) {
                owned = top;
                break;
            }
        }
        if (!owned) return;
        DestroyWindow(owned->handle);
    }
}

}  // namespace

// WM_NCDESTROY reaches a window after its children have been freed.
void FreeTree(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return;
    w->destroying = true;
    for (HWND child : ChildHandles(w)) FreeTree(child);
    ForgetWindowInput(hwnd);
    ForgetWindowTimers(hwnd);
    if (!Find(hwnd)) return;
    SendMessageW(hwnd, WM_NCDESTROY, 0, 0);
    if ((w = Find(hwnd)) != nullptr) {
        ThreadState& ts = Thread();
        auto addressed = [hwnd](const MSG& m) { return m.hwnd == hwnd; };
        ts.posted.erase(std::remove_if(ts.posted.begin(), ts.posted.end(), addressed), ts.posted.end());
        ts.input.erase(std::remove_if(ts.input.begin(), ts.input.end(), addressed), ts.input.end());
        Free(w);
    }
}

}  // namespace user

// The window is hidden first (a child through ShowWindow, with WM_SHOWWINDOW), then every
// window of the tree gets WM_DESTROY, then WM_NCDESTROY from the leaves up.
BOOL DestroyWindow(HWND hWnd) {
    Window* w = Find(hWnd);
    if (!w || w == user::Desktop() || w->destroying || w->thread != std::this_thread::get_id()) return FALSE;
    w->destroying = true;
    if (w->style & WS_VISIBLE) {
        if (w->IsChild()) {
            ShowWindow(hWnd, SW_HIDE);
        } else {
            SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if ((w = Find(hWnd)) == nullptr) return TRUE;
    user::DestroyOwnedWindows(w);
    user::SendDestroy(hWnd);
    user::FreeTree(hWnd);
    return TRUE;
}

// ---- 6. Properties --------------------------------------------------------------------------------
BOOL IsWindow(HWND hWnd) {
    return Find(hWnd) != nullptr;
}

BOOL IsWindowVisible(HWND hWnd) {
    return user::IsShownOnScreen(Find(hWnd));
}

BOOL IsWindowEnabled(HWND hWnd) {
    const Window* w = Find(hWnd);
    return w && !(w->style & WS_DISABLED);
}

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
    Window* w = Find(hWnd);
    if (!w) return FALSE;
    const bool was_visible = (w->style & WS_VISIBLE) != 0;
    const bool show = nCmdShow != SW_HIDE;
    if (show == was_visible) return was_visible;
    SendMessageW(hWnd, WM_SHOWWINDOW, show, 0);
    if (!Find(hWnd)) return was_visible;
    SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                 (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return was_visible;
}

HWND GetParent(HWND hWnd) {
    const Window* w = Find(hWnd);
    if (!w) return nullptr;
    if (w->IsChild()) return w->parent ? w->parent->handle : nullptr;
    if ((w->style & WS_POPUP) && w->owner) return w->owner->handle;
    return nullptr;
}

HWND GetDesktopWindow(void) {
    return user::Desktop()->handle;
}

BOOL IsChild(HWND hWndParent, HWND hWnd) {
    const Window* parent = Find(hWndParent);
    for (const Window* w = Find(hWnd); parent && w && w->IsChild(); w = w->parent) {
        if (w->parent == parent) return TRUE;
    }
    return FALSE;
}

HWND GetWindow(HWND hWnd, UINT uCmd) {
    const Window* w = Find(hWnd);
    if (!w) return nullptr;
    if (uCmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
    if (uCmd == GW_OWNER) return w->owner ? w->owner->handle : nullptr;
    if (!w->parent) return nullptr;
    const auto& siblings = w->parent->children;
    const auto it = std::find(siblings.begin(), siblings.end(), w);
    switch (uCmd) {
        case GW_HWNDFIRST:
            return siblings.front()->handle;
        case GW_HWNDLAST:
            return siblings.back()->handle;
        case GW_HWNDNEXT:
            return it + 1 == siblings.end() ? nullptr : (*(it + 1))->handle;
        case GW_HWNDPREV:
            return it == siblings.begin() ? nullptr : (*(it - 1))->handle;
        default:
            return nullptr;
    }
}

int GetDlgCtrlID(HWND hWnd) {
    const Window* w = Find(hWnd);
    return w && w->IsChild() ? int(w->id) : 0;
}

LONG_PTR GetWindowLongPtrW(HWND hWnd, int nIndex) {
    const Window* w = Find(hWnd);
    if (!w) return 0;
    switch (nIndex) {
        case GWL_STYLE:
            return LONG_PTR(LONG(w->style));
        case GWL_EXSTYLE:
            return LONG_PTR(LONG(w->exStyle));
        case GWLP_WNDPROC:
            return reinterpret_cast<LONG_PTR>(w->proc);
        case GWLP_USERDATA:
            return w->userData;
        case GWLP_ID:
            return LONG_PTR(w->id);
        case GWLP_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(w->instance);
        case GWLP_HWNDPARENT:
            return reinterpret_cast<LONG_PTR>(w->owner ? w->owner->handle : nullptr);
        default:
            break;
    }
    if (nIndex < 0 || size_t(nIndex) + sizeof(LONG_PTR) > w->extra.size()) return 0;
    LONG_PTR value;
    std::memcpy(&value, w->extra.data() + nIndex, sizeof value);
    return value;
}

LONG_PTR SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    Window* w = Find(hWnd);
    if (!w) return 0;
    const LONG_PTR previous = GetWindowLongPtrW(hWnd, nIndex);
    switch (nIndex) {
        case GWL_STYLE:
            w->style = DWORD(dwNewLong);
            return previous;
        case GWL_EXSTYLE:
            w->exStyle = DWORD(dwNewLong);
            return previous;
        case GWLP_WNDPROC:
            if (!dwNewLong) return 0;
            w->proc = reinterpret_cast<WNDPROC>(dwNewLong);
            return previous;
        case GWLP_USERDATA:
            w->userData = dwNewLong;
            return previous;
        case GWLP_ID:
            w->id = UINT_PTR(dwNewLong);
            return previous;
        case GWLP_HINSTANCE:
            w->instance = reinterpret_cast<HINSTANCE>(dwNewLong);
            return previous;
        case GWLP_HWNDPARENT:
            if (w->IsChild()) return 0;
            w->owner = Find(reinterpret_cast<HWND>(dwNewLong));
            return previous;
        default:
            break;
    }
    if (nIndex < 0 || size_t(nIndex) + sizeof(LONG_PTR) > w->extra.size()) return 0;
    std::memcpy(w->extra.data() + nIndex, &dwNewLong, sizeof dwNewLong);
    return previous;
}

// ---- 7. Geometry -------------------------------------------------------------------------------
BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
    const Window* w = Find(hWnd);
    if (!w || !lpRect) return FALSE;
    if (w == user::Desktop()) {
        const SIZE screen = rt::GetScreenSize();
        *lpRect = RECT{0, 0, screen.cx, screen.cy};
        return TRUE;
    }
    *lpRect = user::ClientRectOnScreen(w);  // no non-client area
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
    const Window* w = Find(hWnd);
    if (!w || !lpRect) return FALSE;
    RECT screen_rect;
    GetWindowRect(hWnd, &screen_rect);
    *lpRect = RECT{0, 0, screen_rect.right - screen_rect.left, screen_rect.bottom - screen_rect.top};
    return TRUE;
}

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
    return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight,
                        SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0u : UINT(SWP_NOREDRAW)));
}

namespace user {
namespace {

void Restack(Window* w, HWND hWndInsertAfter) {
    auto& siblings = w->parent->children;
    Window* after = hWndInsertAfter == HWND_BOTTOM ? nullptr : Find(hWndInsertAfter);
    if (hWndInsertAfter != HWND_TOP && hWndInsertAfter != HWND_BOTTOM && (!after || after->parent != w->parent)) return;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), w), siblings.end());
    if (hWndInsertAfter == HWND_TOP) {
        siblings.insert(siblings.begin(), w);
    } else if (hWndInsertAfter == HWND_BOTTOM) {
        siblings.push_back(w);
    } else {
        siblings.insert(std::find(siblings.begin(), siblings.end(), after) + 1, w);
    }
}

}  // namespace
}  // namespace user

// WM_WINDOWPOSCHANGING may change the place; WM_NCCALCSIZE comes when the size changes, and
// WM_WINDOWPOSCHANGED when anything changed at all. WM_MOVE and WM_SIZE come from the default
// handling of WM_WINDOWPOSCHANGED.
BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
    Window* w = Find(hWnd);
    if (!w || w == user::Desktop()) return FALSE;
    WINDOWPOS pos{hWnd, hWndInsertAfter, X, Y, cx, cy, uFlags};
    if (uFlags & SWP_NOMOVE) {
        pos.x = w->rect.left;
        pos.y = w->rect.top;
    }
    if (uFlags & SWP_NOSIZE) {
        pos.cx = w->Width();
        pos.cy = w->Height();
    }
    SendMessageW(hWnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if ((w = Find(hWnd)) == nullptr) return TRUE;
    const RECT old_rect = w->rect;
    const RECT new_rect{pos.x, pos.y, pos.x + std::max(pos.cx, 0), pos.y + std::max(pos.cy, 0)};
    const bool moved = new_rect.left != old_rect.left || new_rect.top != old_rect.top;
    const bool sized = new_rect.right - new_rect.left != w->Width() || new_rect.bottom - new_rect.top != w->Height();
    const bool visible = (w->style & WS_VISIBLE) != 0;
    const bool shown = (uFlags & SWP_SHOWWINDOW) && !visible;
    const bool hidden = (uFlags & SWP_HIDEWINDOW) && visible;
    const bool restacked = !(uFlags & SWP_NOZORDER);
    if (!moved && !sized && !shown && !hidden && !restacked) return TRUE;
    if (sized) {
        NCCALCSIZE_PARAMS params{{new_rect, old_rect, old_rect}, &pos};
        SendMessageW(hWnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
        if ((w = Find(hWnd)) == nullptr) return TRUE;
    }
    const bool was_shown = user::IsShownOnScreen(w);
    if (restacked) user::Restack(w, hWndInsertAfter);
    w->rect = new_rect;
    if (shown) {
        w->style |= WS_VISIBLE;
    } else if (hidden) {
        w->style &= ~DWORD(WS_VISIBLE);
    }
    const bool now_shown = user::IsShownOnScreen(w);
    // The parent shows through where the window was; the window repaints where it is now.
    if ((hidden || moved || sized) && was_shown && w->IsChild() && !(uFlags & SWP_NOREDRAW))
        user::InvalidateClient(w->parent, &old_rect, true);
    if ((shown || moved || sized) && now_shown && !(uFlags & SWP_NOREDRAW)) user::InvalidateClient(w, nullptr, true);
    pos.flags |= (moved ? 0u : user::kNoClientMove) | (sized ? 0u : user::kNoClientSize);
    SendMessageW(hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
    const Window* w = Find(hWnd);
    if (!w || !lpPoint) return FALSE;
    const POINT origin = user::ClientOriginOnScreen(w);
    lpPoint->x += origin.x;
    lpPoint->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
    const Window* w = Find(hWnd);
    if (!w || !lpPoint) return FALSE;
    const POINT origin = user::ClientOriginOnScreen(w);
    lpPoint->x -= origin.x;
    lpPoint->y -= origin.y;
    return TRUE;
}

// The desktop window covers the screen: it is what lies under a point outside every window.
HWND WindowFromPoint(POINT Point) {
    if (const Window* w = user::WindowAtScreenPoint(Point)) return w->handle;
    const SIZE screen = rt::GetScreenSize();
    const RECT screen_rect{0, 0, screen.cx, screen.cy};
    return PtInRect(&screen_rect, Point) ? user::Desktop()->handle : nullptr;
}
