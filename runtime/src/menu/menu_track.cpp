// Tracking popup menus: TrackPopupMenu, the popup windows, the scripted and the
// interactive answers, and the report lines.
//
// Messages to the owner, in order: WM_ENTERMENULOOP, WM_INITMENU, then for each popup that
// opens WM_INITMENUPOPUP and one WM_MEASUREITEM per owner-drawn item, WM_DRAWITEM
// (ODA_DRAWENTIRE) as it is painted and (ODA_SELECT) when the highlight moves, with
// WM_MENUSELECT for each newly highlighted item; at the end WM_UNINITMENUPOPUP for each
// popup (the deepest first), WM_MENUSELECT(0, 0xFFFF, 0) and WM_EXITMENULOOP. TPM_NONOTIFY
// keeps WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP and WM_UNINITMENUPOPUP back; the
// selection, owner-draw and exit messages and the WM_COMMAND of a choice still come.
//
// Each popup is a top-level window of the class "#32768" over its rectangle of the virtual
// screen; the tracked one holds the capture, so that every pointer message reaches the menu
// loop. What a popup covered is put back when it closes, and the windows under it are
// invalidated so that they repaint whatever changed meanwhile.
//
// Index
//   1. Thread state and popups
//   2. Opening, highlighting and closing popups
//   3. Views and report lines
//   4. The scripted answer
//   5. The interactive answer
//   6. TrackPopupMenu, EndMenu, GetMenuItemRect
//   7. Embedder controls (rt::)
#include <algorithm>
#include <sstream>

#include "afx/atlgdi.h"
#include "menu/menu_private.h"
#include "user/user_private.h"
#include "utf8.h"

namespace menu {
namespace {

// ---- 1. Thread state and popups -----------------------------------------------------------------
struct Popup {
    HMENU hmenu = nullptr;
    HWND hwnd = nullptr;
    RECT screen_rect{};
    PopupLayout layout;
    int highlight = -1;
    HBITMAP under = nullptr;  // what the popup covers
    HBITMAP face = nullptr;   // the popup as last drawn, to paint it again without WM_DRAWITEM
    int parentItem = -1;      // the item of the parent popup that opened it
};

struct Tracking {
    HWND owner = nullptr;
    UINT flags = 0;
    std::vector<Popup> popups;
    bool done = false;
    bool chosen = false;
    UINT chosenId = 0;
    std::string endNote;  // why the menu was dismissed
    bool endRequested = false;
    bool sawButtonDown = false;
    bool moved = false;
    POINT start_screen_pt{};

    bool Notify() const { return !(flags & TPM_NONOTIFY); }
};

struct ThreadMenus {
    Tracking* active = nullptr;
    rt::MenuAnswerer answerer;
    rt::MenuReportHook report;
};

ThreadMenus& Thread() {
    thread_local ThreadMenus state;  // tracking is per thread, as the platform's menu loop
    return state;
}

void Report(const std::string& line) {
    if (Thread().report) Thread().report(line);
}

// Puts a bitmap of the rectangle's size back on the screen at the rectangle.
void CopyToScreen(HBITMAP bitmap, const RECT& screen_rect) {
    CScreenDC screen_dc;
    HDC bitmap_dc = CreateCompatibleDC(screen_dc);
    {
        CSelectScope select(bitmap_dc, bitmap);
        BitBlt(screen_dc, screen_rect.left, screen_rect.top, screen_rect.right - screen_rect.left,
               screen_rect.bottom - screen_rect.top, bitmap_dc, 0, 0, SRCCOPY);
    }
    DeleteDC(bitmap_dc);
}

// Repaints a popup from its face (on WM_PAINT and after other windows painted).
void PaintFace(const Popup& p) {
    if (!p.face || !IsWindow(p.hwnd)) return;
    CopyToScreen(p.face, p.screen_rect);
}

void PaintAllFaces() {
    if (Tracking* t = Thread().active)
        for (const Popup& p : t->popups) PaintFace(p);
}

LRESULT CALLBACK PopupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            if (Tracking* t = Thread().active)
                for (const Popup& p : t->popups)
                    if (p.hwnd == hwnd) PaintFace(p);
            return 0;
        }
        case WM_MOUSEACTIVATE:
            return 3;  // MA_NOACTIVATE: a menu never takes the activation
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

const wchar_t kPopupClass[] = L"#32768";

bool EnsurePopupClass() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = PopupProc;
        wc.lpszClassName = kPopupClass;
        return RegisterClassW(&wc) != 0;
    }();
    return registered;
}

// ---- 2. Opening, highlighting and closing popups ------------------------------------------------
// The owner is asked with the dialog base height (the system font's) as the item's height.
std::vector<SIZE> MeasureOwnerItems(const Tracking& t, const Menu& m) {
    std::vector<SIZE> sizes(m.items.size(), SIZE{0, 0});
    for (size_t i = 0; i < m.items.size(); ++i) {
        const Item& item = m.items[i];
        if (!item.IsOwnerDraw() || item.IsSeparator()) continue;
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, item.id, 0, UINT(HIWORD(GetDialogBaseUnits())), item.data};
        SendMessageW(t.owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
        sizes[i] = SIZE{LONG(mis.itemWidth), LONG(mis.itemHeight)};
    }
    return sizes;
}

void CaptureFace(Popup& p) {
    if (p.face) DeleteObject(p.face);
    p.face = rt::CopyScreenRect(p.screen_rect);
}

// Paints items of a popup on the screen; -1 paints the frame and every item.
void PaintItems(Tracking& t, Popup& p, const std::vector<int>& indexes, UINT action) {
    const Menu* m = Find(p.hmenu);
    if (!m) return;
    PaintFace(p);  // whatever painted over the popup meanwhile goes first
    HDC dc = GetDC(p.hwnd);
    const DrawContext ctx{t.owner, action};
    if (indexes.empty()) {
        DrawPopupFrame(dc, p.layout);
        for (size_t i = 0; i < m->items.size(); ++i) DrawItem(dc, *m, p.layout, int(i), int(i) == p.highlight, ctx);
    } else {
        for (int i : indexes) DrawItem(dc, *m, p.layout, i, i == p.highlight, ctx);
    }
    ReleaseDC(p.hwnd, dc);
    CaptureFace(p);
}

// Opens `hmenu` as popup number t.popups.size(); false when it cannot be shown.
bool OpenPopup(Tracking& t, HMENU hmenu, int parent_item, POINT anchor) {
    const size_t level = t.popups.size();
    if (t.Notify()) {
        const WORD pos = WORD(parent_item < 0 ? 0 : parent_item);
        SendMessageW(t.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hmenu), MAKELPARAM(pos, FALSE));
    }
    const Menu* m = Find(hmenu);  // the owner may have changed or destroyed it
    if (!m || m->items.empty()) return false;
    Popup p;
    {
        CScreenDC screen_dc;
        const std::vector<SIZE> owner_sizes = MeasureOwnerItems(t, *m);
        if (!(m = Find(hmenu))) return false;
        p.hmenu = hmenu;
        p.parentItem = parent_item;
        p.layout = LayOut(*m, owner_sizes, screen_dc);
    }

    POINT origin;
    if (level == 0) {
        origin = PlacePopup(anchor, p.layout.size, t.flags);
    } else {
        const Popup& parent = t.popups[level - 1];
        RECT item_screen_rect = parent.layout.items[size_t(parent_item)].popup_rect;
        OffsetRect(&item_screen_rect, parent.screen_rect.left, parent.screen_rect.top);
        origin = PlaceSubPopup(item_screen_rect, p.layout.size);
    }
    p.screen_rect = RECT{origin.x, origin.y, origin.x + p.layout.size.cx, origin.y + p.layout.size.cy};
    if (!EnsurePopupClass()) return false;
    p.under = rt::CopyScreenRect(p.screen_rect);
    p.hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kPopupClass, L"", WS_POPUP | WS_VISIBLE, origin.x,
                             origin.y, p.layout.size.cx, p.layout.size.cy, nullptr, nullptr, nullptr, nullptr);
    if (!p.hwnd) {
        if (p.under) DeleteObject(p.under);
        return false;
    }
    t.popups.push_back(p);
    if (level == 0) SetCapture(p.hwnd);
    PaintItems(t, t.popups.back(), {}, ODA_DRAWENTIRE);
    return true;
}

void SetHighlight(Tracking& t, size_t level, int index) {
    Popup& p = t.popups[level];
    if (p.highlight == index) return;
    const int old = p.highlight;
    p.highlight = index;
    std::vector<int> changed;
    if (old >= 0) changed.push_back(old);
    if (index >= 0) changed.push_back(index);
    PaintItems(t, p, changed, ODA_SELECT);
    const Menu* m = Find(p.hmenu);
    if (index < 0 || !m) return;  // sent under TPM_NONOTIFY too
    const Item& item = m->items[size_t(index)];
    const UINT flags = item.type | item.state | MF_HILITE | (item.sub ? MF_POPUP : 0) | MF_MOUSESELECT;
    const UINT id_or_pos = item.sub ? UINT(index) : item.id;
    SendMessageW(t.owner, WM_MENUSELECT, MAKEWPARAM(id_or_pos, flags), reinterpret_cast<LPARAM>(p.hmenu));
}

// Windows under a closed popup repaint what changed while it covered them.
void InvalidateUnder(const RECT& screen_rect) {
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (!IsWindowVisible(w)) continue;
        RECT client_rect;
        GetClientRect(w, &client_rect);
        POINT origin{0, 0};
        ClientToScreen(w, &origin);
        OffsetRect(&client_rect, origin.x, origin.y);
        RECT dirty_rect;
        if (!IntersectRect(&dirty_rect, &client_rect, &screen_rect)) continue;
        OffsetRect(&dirty_rect, -origin.x, -origin.y);
        InvalidateRect(w, &dirty_rect, TRUE);
    }
}

void ClosePopupsFrom(Tracking& t, size_t level) {
    while (t.popups.size() > level) {
        Popup p = t.popups.back();
        t.popups.pop_back();
        if (t.Notify()) SendMessageW(t.owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(p.hmenu), 0);
        if (GetCapture() == p.hwnd) ReleaseCapture();
        DestroyWindow(p.hwnd);
        if (p.under) {
            CopyToScreen(p.under, p.screen_rect);
            DeleteObject(p.under);
        }
        if (p.face) DeleteObject(p.face);
        InvalidateUnder(p.screen_rect);
        PaintAllFaces();  // a sub-menu may have overlapped its parent
    }
}

// Opens the sub-menu of an item of popup `level`, closing deeper popups first; true when it
// is open, *opened telling whether it opened just now.
bool OpenSubOf(Tracking& t, size_t level, int index, bool* opened = nullptr) {
    if (opened) *opened = false;
    const Menu* m = Find(t.popups[level].hmenu);
    if (!m || index < 0 || size_t(index) >= m->items.size()) return false;
    const Item& item = m->items[size_t(index)];
    if (!item.sub || (item.state & MF_GRAYED) || (item.state & MF_DISABLED)) return false;
    if (t.popups.size() > level + 1 && t.popups[level + 1].hmenu == item.sub) return true;  // open already
    const HMENU sub = item.sub;
    ClosePopupsFrom(t, level + 1);
    if (!OpenPopup(t, sub, index, POINT{0, 0})) return false;
    if (opened) *opened = true;
    return true;
}

// ---- 3. Views and report lines --------------------------------------------------------------------
rt::MenuPopupView ViewOf(const Tracking& t, size_t level) {
    const Popup& p = t.popups[level];
    rt::MenuPopupView view;
    view.menu = p.hmenu;
    view.owner = t.owner;
    view.level = int(level);
    view.screen_rect = p.screen_rect;
    if (const Menu* m = Find(p.hmenu)) {
        for (size_t i = 0; i < m->items.size() && i < p.layout.items.size(); ++i) {
            const Item& item = m->items[i];
            rt::MenuItemView v;
            v.text = item.IsOwnerDraw() ? std::wstring() : item.text;
            v.id = item.id;
            v.type = item.type;
            v.state = item.state;
            v.subMenu = item.sub;
            v.data = item.data;
            v.screen_rect = p.layout.items[i].popup_rect;
            OffsetRect(&v.screen_rect, p.screen_rect.left, p.screen_rect.top);
            view.items.push_back(v);
        }
    }
    return view;
}

void ReportPopup(const Tracking& t, size_t level) {
    Report(rt::DescribeMenuPopup(ViewOf(t, level)));
}

void ReportDismissed(const std::string& why) {
    Report("menu dismissed (" + why + ")");
}

// ---- 4. The scripted answer -------------------------------------------------------------------------
void AnswerScripted(Tracking& t, const rt::MenuAnswer& answer) {
    if (answer.dismiss) {
        if (answer.onShown) answer.onShown();
        Report("menu cancel");
        return;
    }
    AnswerPath path(answer.path);
    for (size_t level = 0;; ++level) {
        const AnswerStep step = path.Next(ViewOf(t, level));
        if (!step.dismissed.empty()) {
            ReportDismissed(step.dismissed);
            return;
        }
        const Item& item = Find(t.popups[level].hmenu)->items[size_t(step.index)];
        SetHighlight(t, level, step.index);
        if (step.last) {
            if (answer.onShown) answer.onShown();
            if (t.endRequested) {
                ReportDismissed("EndMenu");
                return;
            }
            t.chosen = true;
            t.chosenId = item.id;
            Report(path.ChooseLine(item.id));
            return;
        }
        if (!OpenSubOf(t, level, step.index)) {
            ReportDismissed(Quoted(answer.path) + ": the sub-menu cannot open");
            return;
        }
        ReportPopup(t, level + 1);
    }
}

// ---- 5. The interactive answer ------------------------------------------------------------------------
struct Hit {
    int level = -1;  // -1: outside every popup
    int index = -1;  // -1: on the frame or a margin
};

Hit HitTest(const Tracking& t, POINT screen_pt) {
    for (size_t level = t.popups.size(); level-- > 0;) {
        const Popup& p = t.popups[level];
        if (!PtInRect(&p.screen_rect, screen_pt)) continue;
        const POINT popup_pt{screen_pt.x - p.screen_rect.left, screen_pt.y - p.screen_rect.top};
        for (size_t i = 0; i < p.layout.items.size(); ++i)
            if (PtInRect(&p.layout.items[i].popup_rect, popup_pt)) return Hit{int(level), int(i)};
        return Hit{int(level), -1};
    }
    return Hit{};
}

std::wstring PathTo(const Tracking& t, size_t level, int index) {
    std::wstring path;
    for (size_t l = 0; l <= level; ++l) {
        const Menu* m = Find(t.popups[l].hmenu);
        const int i = l == level ? index : t.popups[l + 1].parentItem;
        if (!m || i < 0 || size_t(i) >= m->items.size()) continue;
        const Item& item = m->items[size_t(i)];
        const std::wstring part = item.IsOwnerDraw() ? L"#" + std::to_wstring(item.id) : ShownText(item.text);
        path += (l ? L"/" : L"") + part;
    }
    return path;
}

void Choose(Tracking& t, size_t level, int index) {
    const Menu* m = Find(t.popups[level].hmenu);
    if (!m) return;
    const Item& item = m->items[size_t(index)];
    t.chosen = true;
    t.chosenId = item.id;
    t.done = true;
    Report("menu choose " + Quoted(PathTo(t, level, index)) + " = " + std::to_string(item.id));
}

void Dismiss(Tracking& t, const std::string& why) {
    t.done = true;
    ReportDismissed(why);
}

// Highlights what the pointer is over and opens or closes sub-menus to match.
void Hover(Tracking& t, const Hit& hit) {
    if (hit.level < 0) {
        Popup& deepest = t.popups.back();
        if (t.popups.size() == 1 || deepest.highlight >= 0) SetHighlight(t, t.popups.size() - 1, -1);
        return;
    }
    const size_t level = size_t(hit.level);
    const Menu* m = Find(t.popups[level].hmenu);
    if (!m || hit.index < 0 || m->items[size_t(hit.index)].IsSeparator()) return;
    SetHighlight(t, level, hit.index);
    if (m->items[size_t(hit.index)].sub) {
        bool opened = false;
        if (OpenSubOf(t, level, hit.index, &opened) && opened) ReportPopup(t, level + 1);
    } else {
        ClosePopupsFrom(t, level + 1);
    }
}

bool ChoosesOnRelease(const Tracking& t, UINT msg) {
    if (msg == WM_LBUTTONUP) return true;
    return msg == WM_RBUTTONUP && (t.flags & TPM_RIGHTBUTTON);
}

void OnMouse(Tracking& t, const MSG& msg) {
    const POINT screen_pt = msg.pt;
    if (screen_pt.x != t.start_screen_pt.x || screen_pt.y != t.start_screen_pt.y) t.moved = true;
    const Hit hit = HitTest(t, screen_pt);
    switch (msg.message) {
        case WM_MOUSEMOVE:
            Hover(t, hit);
            return;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            t.sawButtonDown = true;
            if (hit.level < 0) {
                Dismiss(t, "click outside");
                return;
            }
            Hover(t, hit);
            return;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: {
            if (!ChoosesOnRelease(t, msg.message) || hit.level < 0 || hit.index < 0) return;
            // The release of the click that opened the menu chooses nothing unless the pointer moved.
            if (!t.sawButtonDown && !t.moved) return;
            const Menu* m = Find(t.popups[size_t(hit.level)].hmenu);
            if (m && m->items[size_t(hit.index)].Selectable() && !m->items[size_t(hit.index)].sub)
                Choose(t, size_t(hit.level), hit.index);
            return;
        }
        default:
            return;
    }
}

// The next or previous selectable item of a popup, wrapping around; -1 when none.
int StepHighlight(const Menu& m, int from, int step) {
    const int n = int(m.items.size());
    for (int k = 1; k <= n; ++k) {
        const int i = ((from < 0 && step < 0 ? 0 : from) + step * k + 2 * n) % n;
        if (!m.items[size_t(i)].IsSeparator()) return i;
    }
    return -1;
}

void OnKey(Tracking& t, const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return;
    const size_t level = t.popups.size() - 1;
    Popup& p = t.popups[level];
    const Menu* m = Find(p.hmenu);
    if (!m) return;
    switch (msg.wParam) {
        case VK_ESCAPE:
            if (level == 0) {
                Dismiss(t, "escape");
            } else {
                ClosePopupsFrom(t, level);
            }
            return;
        case VK_DOWN:
        case VK_UP:
            SetHighlight(t, level, StepHighlight(*m, p.highlight, msg.wParam == VK_DOWN ? 1 : -1));
            return;
        case VK_LEFT:
            if (level > 0) ClosePopupsFrom(t, level);
            return;
        case VK_RIGHT:
        case VK_RETURN: {
            if (p.highlight < 0) return;
            const Item& item = m->items[size_t(p.highlight)];
            if (item.sub) {
                const HMENU sub_menu = item.sub;
                bool opened = false;
                if (OpenSubOf(t, level, p.highlight, &opened)) {
                    if (opened) ReportPopup(t, level + 1);
                    const Menu* sub = Find(sub_menu);
                    if (sub) SetHighlight(t, level + 1, StepHighlight(*sub, -1, 1));
                }
            } else if (msg.wParam == VK_RETURN && item.Selectable()) {
                Choose(t, level, p.highlight);
            }
            return;
        }
        default:
            return;
    }
}

bool IsMouseMessage(UINT msg) {
    return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST;
}

bool IsKeyMessage(UINT msg) {
    return msg >= WM_KEYFIRST && msg <= WM_KEYLAST;
}

// Input can arrive while waiting only from the real clock's world or the embedder's hook.
bool CanWaitForInput() {
    return rt::IsRealClock() || static_cast<bool>(user::Thread().waitHook);
}

void RunInteractive(Tracking& t) {
    GetCursorPos(&t.start_screen_pt);
    while (!t.done) {
        if (t.endRequested) {
            Dismiss(t, "EndMenu");
            break;
        }
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!CanWaitForInput()) {
                Dismiss(t, "no input");
                break;
            }
            const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == -1) {
                Dismiss(t, "no input");
                break;
            }
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));  // the program's own loop still has to see it
            Dismiss(t, "WM_QUIT");
            break;
        }
        if (IsMouseMessage(msg.message)) {
            OnMouse(t, msg);
        } else if (IsKeyMessage(msg.message)) {
            OnKey(t, msg);
        } else {
            DispatchMessageW(&msg);
            if (msg.message == WM_PAINT || msg.message == WM_TIMER) PaintAllFaces();
        }
    }
}

// ---- 6. TrackPopupMenu -----------------------------------------------------------------------------
struct TrackResult {
    bool tracked = false;  // false: bad arguments or an empty menu
    bool chosen = false;
    UINT id = 0;
};

TrackResult Track(HMENU hmenu, UINT flags, POINT anchor, HWND owner) {
    ThreadMenus& tm = Thread();
    if (!Find(hmenu) || !IsWindow(owner)) return TrackResult{};
    // A menu tracked while another is open runs a loop of its own inside the outer one.
    Tracking* const outer = tm.active;
    Tracking t;
    t.owner = owner;
    t.flags = flags;
    tm.active = &t;
    if (t.Notify()) {
        SendMessageW(owner, WM_ENTERMENULOOP, TRUE, 0);
        SendMessageW(owner, WM_INITMENU, reinterpret_cast<WPARAM>(hmenu), 0);
    }
    const bool shown = OpenPopup(t, hmenu, -1, anchor);
    if (!shown) Report("menu not shown (no items)");  // as on the platform, an empty menu fails
    if (shown) {
        ReportPopup(t, 0);
        const rt::MenuPopupView view = ViewOf(t, 0);
        if (tm.answerer) {
            rt::MenuAnswer answer;
            if (tm.answerer(view, &answer)) {
                AnswerScripted(t, answer);
            } else {
                ReportDismissed("no answer");
            }
        } else {
            RunInteractive(t);
        }
    }
    ClosePopupsFrom(t, 0);
    SendMessageW(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    SendMessageW(owner, WM_EXITMENULOOP, TRUE, 0);
    tm.active = outer;
    if (outer && !outer->popups.empty()) SetCapture(outer->popups[0].hwnd);
    if (t.chosen && !(flags & TPM_RETURNCMD)) PostMessageW(owner, WM_COMMAND, MAKEWPARAM(t.chosenId, 0), 0);
    return TrackResult{shown, t.chosen, t.chosenId};
}

}  // namespace
}  // namespace menu

BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int, HWND hWnd, const RECT*) {
    // The rectangle argument is ignored, as on the platform.
    const menu::TrackResult r = menu::Track(hMenu, uFlags, POINT{x, y}, hWnd);
    if (uFlags & TPM_RETURNCMD) return r.chosen ? BOOL(r.id) : 0;
    return r.tracked ? TRUE : FALSE;
}

BOOL EndMenu(void) {
    menu::Tracking* t = menu::Thread().active;
    if (!t) return FALSE;
    t->endRequested = true;
    return TRUE;
}

BOOL GetMenuItemRect(HWND, HMENU hMenu, UINT uItem, LPRECT lprcItem) {
    const menu::Tracking* t = menu::Thread().active;
    if (!t || !lprcItem) return FALSE;
    for (const menu::Popup& p : t->popups) {
        if (p.hmenu != hMenu || uItem >= p.layout.items.size()) continue;
        *lprcItem = p.layout.items[uItem].popup_rect;
        OffsetRect(lprcItem, p.screen_rect.left, p.screen_rect.top);
        return TRUE;
    }
    return FALSE;
}

// ---- 7. Embedder controls -------------------------------------------------------------------------------
namespace rt {

void SetMenuAnswerer(MenuAnswerer answerer) {
    menu::Thread().answerer = std::move(answerer);
}

void SetMenuReportHook(MenuReportHook hook) {
    menu::Thread().report = std::move(hook);
}

std::vector<MenuPopupView> OpenMenus() {
    std::vector<MenuPopupView> views;
    if (const menu::Tracking* t = menu::Thread().active)
        for (size_t level = 0; level < t->popups.size(); ++level) views.push_back(menu::ViewOf(*t, level));
    return views;
}

void RedrawOpenMenus() {
    menu::PaintAllFaces();
}

}  // namespace rt
